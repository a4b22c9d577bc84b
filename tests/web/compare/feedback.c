/* Feedback printed token by token under a 256 x 256 pixel projection, where
   GL's float arithmetic is exact and both sides print the same numbers:
   points, lines, polygons clipped by the view volume and a clip plane,
   culling, polygon modes, two-sided lighting with colour material, texture
   coordinates, every feedback type, bitmaps, pass-through, a buffer too small
   (-1). The clipped and lit polygons are drawn too.
   --control: the clip plane is 8 pixels lower. */
#include "compare.h"

static GLfloat buffer[1024];
static int per, plainLines; /* values a vertex; resets printed as lines (see display) */

static void begin(GLenum type, int values) {
    per = values;
    glFeedbackBuffer(1024, type, buffer), glRenderMode(GL_FEEDBACK);
}

static void end(const char* what) {
    static const char* names[] = {"pass", "point", "line", "polygon", "bitmap", "drawpixel", "copypixel", "reset"};
    int n = glRenderMode(GL_RENDER), at = 0, i;
    printf("%s: %d\n", what, n);
    while (at < n) {
        int token = (int)buffer[at++] - GL_PASS_THROUGH_TOKEN, count = token == 2 || token == 7 ? 2 : 1;
        if (token < 0 || token > 7) return;
        printf("  %s", names[token == 7 && plainLines ? 2 : token]);
        if (token == 0) count = 0, printf(" %g", buffer[at++]);
        if (token == 3) count = (int)buffer[at++], printf(" %d", count);
        for (; count > 0; count--, printf(" |"))
            for (i = 0; i < per; i++) printf(" %g", buffer[at++]);
        printf("\n");
    }
}

static void triangle(float x0, float y0, float x1, float y1, float x2, float y2) {
    glBegin(GL_TRIANGLES);
    glColor3f(1, 0, 0), glVertex2f(x0, y0), glColor3f(0, 1, 0), glVertex2f(x1, y1);
    glColor3f(0, 0, 1), glVertex2f(x2, y2), glEnd();
}

static void quad(float x, float y, float w, float h) {
    glBegin(GL_QUADS);
    glColor3f(1, 0, 0), glVertex2f(x, y), glColor3f(0, 1, 0), glVertex2f(x + w, y);
    glColor3f(0, 0, 1), glVertex2f(x + w, y + h), glColor3f(1, 1, 1), glVertex2f(x, y + h), glEnd();
}

/* A triangle the left edge cuts, a square the clip plane y < 224 cuts; then
   two lit triangles, the second's back in view. */
static void scene(void) {
    static const GLfloat ambient[4] = {0.25f, 0.25f, 0.25f, 1}, grey[4] = {0.5f, 0.5f, 0.5f, 1};
    GLdouble plane[4] = {0, -1, 0, 224};
    if (control) plane[3] = 216;
    glClipPlane(GL_CLIP_PLANE0, plane), glEnable(GL_CLIP_PLANE0);
    triangle(-64, 32, 64, 32, 64, 96);
    quad(128, 192, 64, 64);
    glDisable(GL_CLIP_PLANE0);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, grey);
    glColorMaterial(GL_FRONT, GL_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL), glEnable(GL_LIGHTING), glEnable(GL_LIGHT0);
    glNormal3f(0, 0, 1), glColor3f(0.5f, 0.25f, 0.75f);
    glBegin(GL_TRIANGLES);
    glVertex2f(16, 128); glVertex2f(64, 128); glVertex2f(16, 176);
    glVertex2f(80, 128); glVertex2f(80, 176); glVertex2f(128, 128);
    glEnd();
    glDisable(GL_LIGHTING), glDisable(GL_COLOR_MATERIAL);
}

static void display(void) {
    static const GLubyte bits[8] = {0xff, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0xff};
    static const GLenum types[5] = {GL_2D, GL_3D, GL_3D_COLOR, GL_3D_COLOR_TEXTURE, GL_4D_COLOR_TEXTURE};
    static const int sizes[5] = {2, 3, 7, 11, 12};
    int i;
    glClear(GL_COLOR_BUFFER_BIT);
    pixelProjection(256, 256);
    begin(GL_3D_COLOR, 7);
    glBegin(GL_POINTS); glColor3f(1, 0.5f, 0.25f); glVertex3f(8, 16, 0.5f); glVertex2f(-8, 16); glVertex2f(256, 256); glEnd();
    scene();
    end("points, clipped, lit");
    /* The native GL feeds back a line's first segment as a plain line. */
    plainLines = 1;
    begin(GL_2D, 2);
    glBegin(GL_LINES); glVertex2f(8, 8); glVertex2f(40, 8); glVertex2f(-32, 40); glVertex2f(32, 40); glEnd();
    glBegin(GL_LINE_STRIP); glVertex2f(8, 64); glVertex2f(40, 64); glVertex2f(40, 96); glEnd();
    glBegin(GL_LINE_LOOP); glVertex2f(64, 64); glVertex2f(96, 64); glVertex2f(96, 96); glEnd();
    end("lines");
    plainLines = 0;
    begin(GL_2D, 2);
    glEnable(GL_CULL_FACE);
    triangle(0, 0, 32, 0, 0, 32); /* kept */
    triangle(0, 0, 0, 32, 32, 0); /* culled */
    glFrontFace(GL_CW), triangle(64, 0, 64, 32, 96, 0), glFrontFace(GL_CCW); /* kept */
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    quad(8, 8, 32, 32);
    glBegin(GL_POLYGON); glVertex2f(64, 8); glVertex2f(96, 8); glVertex2f(104, 24); glVertex2f(96, 40); glVertex2f(64, 40); glEnd();
    glPolygonMode(GL_FRONT, GL_POINT), triangle(8, 64, 40, 64, 8, 96);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    end("culled, polygon modes");
    /* The native GL leaves the texture matrix out while no texture is on. */
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, bits);
    glEnable(GL_TEXTURE_2D);
    glMatrixMode(GL_TEXTURE), glScalef(2, 4, 1), glMatrixMode(GL_MODELVIEW);
    glColor4f(0.25f, 0.5f, 0.75f, 1), glTexCoord4f(0.25f, 0.125f, 0.5f, 1);
    for (i = 0; i < 5; i++) {
        begin(types[i], sizes[i]);
        glBegin(GL_POINTS); glVertex3f(64, 32, -0.5f); glEnd();
        end("type");
    }
    glDisable(GL_TEXTURE_2D);
    begin(GL_3D_COLOR, 7);
    glPassThrough(42.5f);
    glRasterPos2f(16, 24);
    glBitmap(8, 8, 0, 0, 12, 2, bits), glBitmap(8, 8, 0, 0, 12, 2, bits);
    glRasterPos2f(-16, 24), glBitmap(8, 8, 0, 0, 12, 2, bits); /* invalid: no bitmap */
    glPassThrough(-1);
    end("bitmaps");
    glFeedbackBuffer(7, GL_2D, buffer), glRenderMode(GL_FEEDBACK);
    glBegin(GL_POINTS); glVertex2f(8, 8); glVertex2f(40, 8); glVertex2f(8, 16); glEnd();
    i = glRenderMode(GL_RENDER);
    printf("overflow: %d %g %g %g %g %g %g %g\n", i, buffer[0], buffer[1], buffer[2], buffer[3], buffer[4], buffer[5],
           buffer[6]);

    scene();
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB, 256, 256, "compare feedback");
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
