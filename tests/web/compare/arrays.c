/* Client vertex arrays, a grid of 64-pixel cells from the bottom left: the
   fourteen interleaved formats (a quad each, every other one with a padded
   stride; lit where the format has normals, textured where it has texture
   coordinates, w = 2 for four-coordinate vertices), then glDrawElements of
   each index type over integer and double arrays, glArrayElement in a block,
   a display list compiled with glDrawArrays whose array changes after it,
   glDrawArrays from a first element, edge flags in line mode, byte normals,
   texture coordinates of one short and of two doubles, and glPopClientAttrib
   restoring a pointer and an enable.
   --control: the list is compiled after the array changes. */
#include "compare.h"

static const char* formats[14] = {"V2F", "V3F", "C4UB_V2F", "C4UB_V3F", "C3F_V3F", "N3F_V3F", "C4F_N3F_V3F",
                                  "T2F_V3F", "T4F_V4F", "T2F_C4UB_V3F", "T2F_C3F_V3F", "T2F_N3F_V3F",
                                  "T2F_C4F_N3F_V3F", "T4F_C4F_N3F_V4F"};
static const float corner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
/* Corner colours linear over the square (so either diagonal of a quad
   shades the same), turned a corner for some arrays. */
static const float rgba[4][4] = {{1, 0.2f, 0.1f, 1}, {0.2f, 0.8f, 0.1f, 1}, {0, 0.8f, 0.9f, 1}, {0.8f, 0.2f, 0.9f, 1}};
static float cellX, cellY;

static void cell(int i) {
    cellX = (float)(i % 5) * 64 + 8, cellY = (float)(i / 5) * 64 + 8;
}

/* One corner's fields in the order the format's name gives them. */
static unsigned char* put(const char* f, unsigned char* p, int k) {
    int n, c;
    float w;
    for (; *f; f += (f[0] == 'C' && f[2] == 'U') ? 4 : 3, f += *f == '_') {
        n = f[1] - '0', w = n == 4 ? 2.0f : 1.0f;
        float v[4] = {0, 0, 0, w};
        if (f[0] == 'C' && f[2] == 'U') {
            for (c = 0; c < 4; c++) *p++ = (unsigned char)(rgba[k][c] * 255);
            continue;
        }
        if (f[0] == 'V') v[0] = (cellX + 48 * corner[k][0]) * w, v[1] = (cellY + 48 * corner[k][1]) * w;
        if (f[0] == 'T') v[0] = 2 * corner[k][0] * w, v[1] = 2 * corner[k][1] * w;
        if (f[0] == 'N') v[0] = 0.3f, v[1] = -0.4f, v[2] = 0.85f;
        if (f[0] == 'C') for (c = 0; c < n; c++) v[c] = rgba[k][c];
        memcpy(p, v, (size_t)n * sizeof(float));
        p += n * sizeof(float);
    }
    return p;
}

static void interleaved(int i) {
    float buffer[4 * 20];
    unsigned char *p = (unsigned char*)buffer, *next;
    int k, stride = 0;
    cell(i);
    for (k = 0; k < 4; k++) {
        next = put(formats[i], p, k) + (i % 2) * 8;
        if (i % 2) stride = (int)(next - p);
        p = next;
    }
    glColor3f(0.9f, 0.6f, 0.3f);
    if (strchr(formats[i], 'N')) glEnable(GL_LIGHTING), glEnable(GL_COLOR_MATERIAL);
    if (formats[i][0] == 'T') glEnable(GL_TEXTURE_2D);
    glInterleavedArrays(GL_V2F + (GLenum)i, stride, buffer);
    glDrawArrays(GL_QUADS, 0, 4);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_TEXTURE_2D);
}

static void display(void) {
    static const GLubyte ub[6] = {0, 1, 2, 0, 2, 3};
    static const GLushort us[4] = {1, 2, 0, 3};
    static const GLuint ui[4] = {3, 2, 1, 0};
    static const GLbyte bytes[16] = {127, 0, 20, 127, 0, 100, 60, 127, 90, 90, 0, 127, 127, 127, 127, 127};
    static const GLboolean edges[4] = {1, 0, 1, 0};
    static const GLshort texs[4] = {0, 3, 3, 0};
    static const GLdouble st[8] = {0, 0, 1.5, 0, 1.5, 1.5, 0, 1.5};
    GLshort shorts[8], colours[16];
    GLint ints[12];
    GLdouble doubles[16];
    GLuint uints[16];
    float pos[8], other[16];
    int i, k, c;
    GLuint list;
    glClear(GL_COLOR_BUFFER_BIT);
    for (i = 0; i < 14; i++) interleaved(i);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    for (i = 14; i < 25; i++) {
        cell(i);
        for (k = 0; k < 4; k++) {
            pos[2 * k] = cellX + 48 * corner[k][0], pos[2 * k + 1] = cellY + 48 * corner[k][1];
            shorts[2 * k] = (GLshort)pos[2 * k], shorts[2 * k + 1] = (GLshort)pos[2 * k + 1];
            ints[3 * k] = shorts[2 * k], ints[3 * k + 1] = shorts[2 * k + 1], ints[3 * k + 2] = 0;
            for (c = 0; c < 4; c++) {
                doubles[4 * k + c] = c < 2 ? pos[2 * k + c] : c == 3;
                uints[4 * k + c] = (GLuint)(rgba[k][c] * 4294967295.0);
                colours[4 * k + c] = (GLshort)(rgba[(k + 1) % 4][c] * 32767);
                other[4 * k + c] = rgba[(k + 2) % 4][c];
            }
        }
        glVertexPointer(2, GL_SHORT, 0, shorts);
        glColorPointer(4, GL_FLOAT, 0, other);
        if (i == 14) glColorPointer(4, GL_BYTE, 0, bytes), glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, ub);
        if (i == 15) {
            glVertexPointer(3, GL_INT, 0, ints);
            glColorPointer(3, GL_UNSIGNED_SHORT, 4 * sizeof(GLshort), colours);
            glDrawElements(GL_TRIANGLE_STRIP, 4, GL_UNSIGNED_SHORT, us);
        }
        if (i == 16) {
            glVertexPointer(4, GL_DOUBLE, 0, doubles);
            glColorPointer(4, GL_UNSIGNED_INT, 0, uints);
            glDrawElements(GL_TRIANGLE_FAN, 4, GL_UNSIGNED_INT, ui);
        }
        if (i == 17) {
            glColorPointer(4, GL_SHORT, 0, colours);
            glBegin(GL_TRIANGLES);
            for (k = 0; k < 6; k++) glArrayElement(ub[k]);
            glEnd();
        }
        if (i == 18) {
            list = glGenLists(1);
            if (control) other[0] = 0, other[1] = 0, other[2] = 0;
            glNewList(list, GL_COMPILE);
            glDrawArrays(GL_QUADS, 0, 4);
            glEndList();
            other[0] = 0, other[1] = 0, other[2] = 0;
            glCallList(list);
            glDeleteLists(list, 1);
        }
        if (i == 19) glDrawArrays(GL_TRIANGLES, 1, 3);
        if (i == 20) {
            for (k = 0; k < 8; k++) pos[k] += 0.5f;
            glVertexPointer(2, GL_FLOAT, 0, pos);
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
            glEdgeFlagPointer(0, edges);
            glEnableClientState(GL_EDGE_FLAG_ARRAY);
            glDrawArrays(GL_POLYGON, 0, 4);
            glDisableClientState(GL_EDGE_FLAG_ARRAY);
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        }
        if (i == 21 || i == 22 || i == 24) {
            /* Current values after an array draw are GL's to choose: set here. */
            glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, rgba[3]);
            glColor3f(0.9f, 0.8f, 0.6f);
            glEnable(i == 21 ? GL_LIGHTING : GL_TEXTURE_2D);
            glDisableClientState(GL_COLOR_ARRAY);
            glNormalPointer(GL_BYTE, 4, bytes);
            glTexCoordPointer(i == 22 ? 1 : 2, i == 22 ? GL_SHORT : GL_DOUBLE, 0, i == 22 ? (void*)texs : (void*)st);
            glEnableClientState(i == 21 ? GL_NORMAL_ARRAY : GL_TEXTURE_COORD_ARRAY);
            glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
            glDisableClientState(i == 21 ? GL_NORMAL_ARRAY : GL_TEXTURE_COORD_ARRAY);
            glEnableClientState(GL_COLOR_ARRAY);
            glDisable(GL_LIGHTING), glDisable(GL_TEXTURE_2D);
        }
        if (i == 23) {
            glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
            glColorPointer(3, GL_DOUBLE, 0, doubles);
            glDisableClientState(GL_VERTEX_ARRAY);
            glPopClientAttrib();
            glDrawArrays(GL_QUADS, 0, 4);
        }
    }
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    static const GLubyte board[16] = {255, 60, 255, 60, 60, 255, 60, 255, 255, 60, 255, 60, 60, 255, 60, 255};
    static const float light[4] = {0.2f, 0.3f, 1, 0};
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB, 320, 320, "compare arrays");
    glClearColor(0.15f, 0.15f, 0.2f, 0);
    pixelProjection(320, 320);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 4, 4, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, board);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
