/* Client vertex arrays, 64-pixel cells from the bottom left: the fourteen
   interleaved formats (quads; every other one with a padded stride, lit with
   normals, textured with texture coordinates, w = 2 with four coordinates);
   glDrawElements of each index type; glArrayElement in a block; a list whose
   array changes after glDrawArrays is compiled; a first element; edge flags;
   glPopClientAttrib; byte normals; texture coordinates of shorts and doubles.
   --control: the list is compiled after the array changes. */
#include "compare.h"

static const char* formats[14] = {"V2F", "V3F", "C4UB_V2F", "C4UB_V3F", "C3F_V3F", "N3F_V3F", "C4F_N3F_V3F",
                                  "T2F_V3F", "T4F_V4F", "T2F_C4UB_V3F", "T2F_C3F_V3F", "T2F_N3F_V3F",
                                  "T2F_C4F_N3F_V3F", "T4F_C4F_N3F_V4F"};
/* Corner colours linear over the square: either diagonal of a quad shades the same. */
static const float rgba[4][4] = {{1, 0.2f, 0.1f, 1}, {0.2f, 0.8f, 0.1f, 1}, {0, 0.8f, 0.9f, 1}, {0.8f, 0.2f, 0.9f, 1}};
static const GLshort square[8] = {0, 0, 48, 0, 48, 48, 0, 48};
static const GLint square3[12] = {0, 0, 0, 48, 0, 0, 48, 48, 0, 0, 48, 0};
static const GLdouble square4[16] = {0, 0, 0, 1, 48, 0, 0, 1, 48, 48, 0, 1, 0, 48, 0, 1};
static const float lines[8] = {0.5f, 0.5f, 48.5f, 0.5f, 48.5f, 48.5f, 0.5f, 48.5f};

/* A quad in interleaved format i: each corner's fields as the name gives them. */
static void interleaved(int i) {
    float buffer[80], v[4];
    unsigned char* p = (unsigned char*)buffer;
    const char* f;
    int k, n;
    for (k = 0; k < 4; k++, p += (i % 2) * 8)
        for (f = formats[i]; *f; f += (f[2] == 'U') ? 4 : 3, f += *f == '_') {
            n = f[1] - '0', v[2] = 0, v[3] = n == 4 ? 2.0f : 1.0f;
            if (f[2] == 'U') {
                for (n = 0; n < 4; n++) *p++ = (unsigned char)(rgba[k][n] * 255);
                continue;
            }
            if (f[0] == 'V' || f[0] == 'T')
                v[0] = square[2 * k] * v[3] / (f[0] == 'T' ? 24 : 1), v[1] = square[2 * k + 1] * v[3] / (f[0] == 'T' ? 24 : 1);
            if (f[0] == 'N') v[0] = 0.3f, v[1] = -0.4f, v[2] = 0.85f;
            if (f[0] == 'C') memcpy(v, rgba[k], sizeof v);
            memcpy(p, v, (size_t)n * sizeof(float)), p += n * sizeof(float);
        }
    if (strchr(formats[i], 'N')) glEnable(GL_LIGHTING), glEnable(GL_COLOR_MATERIAL);
    if (formats[i][0] == 'T') glEnable(GL_TEXTURE_2D);
    glInterleavedArrays(GL_V2F + (GLenum)i, i % 2 ? (GLsizei)(p - (unsigned char*)buffer) / 4 : 0, buffer);
    glDrawArrays(GL_QUADS, 0, 4);
    glDisable(GL_LIGHTING), glDisable(GL_COLOR_MATERIAL), glDisable(GL_TEXTURE_2D);
}

static void display(void) {
    static const GLubyte ub[6] = {0, 1, 2, 0, 2, 3};
    static const GLushort us[4] = {1, 2, 0, 3};
    static const GLuint ui[4] = {3, 2, 1, 0};
    static const GLbyte bytes[16] = {127, 0, 20, 127, 0, 100, 60, 127, 90, 90, 0, 127, 127, 127, 127, 127};
    static const GLboolean edges[4] = {1, 0, 1, 0};
    static const GLshort texs[4] = {0, 3, 3, 0};
    static const GLdouble st[8] = {0, 0, 1.5, 0, 1.5, 1.5, 0, 1.5};
    GLshort colours[16];
    GLuint uints[16], list;
    float other[16], changed[16];
    int i, k;
    glClear(GL_COLOR_BUFFER_BIT);
    for (i = 0; i < 16; i++) {
        uints[i] = (GLuint)(rgba[i / 4][i % 4] * 4294967295.0);
        colours[i] = (GLshort)(rgba[(i / 4 + 1) % 4][i % 4] * 32767);
        other[i] = changed[i] = rgba[(i / 4 + 2) % 4][i % 4];
    }
    for (i = 0; i < 25; i++) {
        glLoadIdentity();
        glTranslatef((float)(i % 5) * 64 + 8, (float)(i / 5) * 64 + 8, 0);
        /* Current values after an array draw are GL's to choose: set here. */
        glColor3f(0.9f, 0.6f, 0.3f);
        if (i < 14) {
            interleaved(i);
            continue;
        }
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, rgba[3]);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY), glDisableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(2, GL_SHORT, 0, square);
        glColorPointer(4, GL_FLOAT, 0, other);
        switch (i) {
        case 14: glColorPointer(4, GL_BYTE, 0, bytes), glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, ub); break;
        case 15:
            glVertexPointer(3, GL_INT, 0, square3), glColorPointer(3, GL_UNSIGNED_SHORT, 8, colours);
            glDrawElements(GL_TRIANGLE_STRIP, 4, GL_UNSIGNED_SHORT, us);
            break;
        case 16:
            glVertexPointer(4, GL_DOUBLE, 0, square4), glColorPointer(4, GL_UNSIGNED_INT, 0, uints);
            glDrawElements(GL_TRIANGLE_FAN, 4, GL_UNSIGNED_INT, ui);
            break;
        case 17:
            glColorPointer(4, GL_SHORT, 0, colours);
            glBegin(GL_TRIANGLES);
            for (k = 0; k < 6; k++) glArrayElement(ub[k]);
            glEnd();
            break;
        case 18:
            glColorPointer(4, GL_FLOAT, 0, changed);
            if (control) changed[0] = changed[1] = changed[2] = 0;
            glNewList(list = glGenLists(1), GL_COMPILE);
            glDrawArrays(GL_QUADS, 0, 4);
            glEndList();
            changed[0] = changed[1] = changed[2] = 0;
            glCallList(list), glDeleteLists(list, 1);
            break;
        case 19: glDrawArrays(GL_TRIANGLES, 1, 3); break;
        case 20: /* the edges from vertices 0 and 2 */
            glVertexPointer(2, GL_FLOAT, 0, lines), glEdgeFlagPointer(0, edges);
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE), glEnableClientState(GL_EDGE_FLAG_ARRAY);
            glDrawArrays(GL_POLYGON, 0, 4);
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL), glDisableClientState(GL_EDGE_FLAG_ARRAY);
            break;
        case 21:
            glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
            glColorPointer(3, GL_DOUBLE, 0, square4), glDisableClientState(GL_VERTEX_ARRAY);
            glPopClientAttrib();
            glDrawArrays(GL_QUADS, 0, 4);
            break;
        default: /* 22: byte normals, lit; 23, 24: texture coordinates */
            glEnable(i == 22 ? GL_LIGHTING : GL_TEXTURE_2D), glDisableClientState(GL_COLOR_ARRAY);
            glNormalPointer(GL_BYTE, 4, bytes);
            glTexCoordPointer(i == 23 ? 1 : 2, i == 23 ? GL_SHORT : GL_DOUBLE, 0, i == 23 ? (void*)texs : (void*)st);
            glEnableClientState(i == 22 ? GL_NORMAL_ARRAY : GL_TEXTURE_COORD_ARRAY);
            glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
            glEnableClientState(GL_COLOR_ARRAY), glDisable(GL_LIGHTING), glDisable(GL_TEXTURE_2D);
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
