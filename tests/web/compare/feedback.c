/* Feedback: cases fed back and printed token by token (window coordinates
   of a 256 x 256 pixel projection, so that GL's float arithmetic is exact
   and both sides print the same numbers): points, lines, polygons clipped by
   the view volume and a clip plane, culling, polygon modes line and point,
   two-sided lighting with colour material, texture
   coordinates, every feedback type, bitmaps, pass-through, and a buffer too
   small (-1). The polygons are drawn too.
   --control: the clip plane is 8 pixels lower. */
#include "compare.h"

static GLfloat buffer[1024];
static GLenum type;
static int plainLines; /* print line resets as lines (see lines()) */

static void begin(GLenum t) {
    type = t;
    glFeedbackBuffer(1024, t, buffer);
    glRenderMode(GL_FEEDBACK);
}

static void values(const GLfloat* v, int n) {
    int i;
    for (i = 0; i < n; i++) printf(" %g", v[i]);
}

/* Prints what the feedback buffer holds, one token a line. */
static void end(const char* what) {
    const int per = type == GL_2D ? 2 : type == GL_3D ? 3 : type == GL_3D_COLOR ? 7 : type == GL_3D_COLOR_TEXTURE ? 11 : 12;
    int n = glRenderMode(GL_RENDER), at = 0;
    printf("%s: %d\n", what, n);
    while (at < n) {
        int token = (int)buffer[at++], count = 1;
        switch (token) {
        case GL_PASS_THROUGH_TOKEN: printf("  pass %g\n", buffer[at++]); continue;
        case GL_POINT_TOKEN: printf("  point"); break;
        case GL_LINE_TOKEN: printf("  line"); count = 2; break;
        case GL_LINE_RESET_TOKEN: printf(plainLines ? "  line" : "  reset"); count = 2; break;
        case GL_POLYGON_TOKEN: count = (int)buffer[at++]; printf("  polygon %d", count); break;
        case GL_BITMAP_TOKEN: printf("  bitmap"); break;
        case GL_DRAW_PIXEL_TOKEN: printf("  drawpixel"); break;
        case GL_COPY_PIXEL_TOKEN: printf("  copypixel"); break;
        default: printf("  token %d\n", token); return;
        }
        for (; count > 0; count--, at += per) {
            printf(" |");
            values(buffer + at, per);
        }
        printf("\n");
    }
}

static void triangle(float x0, float y0, float x1, float y1, float x2, float y2) {
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 0.0f, 0.0f); glVertex2f(x0, y0);
    glColor3f(0.0f, 1.0f, 0.0f); glVertex2f(x1, y1);
    glColor3f(0.0f, 0.0f, 1.0f); glVertex2f(x2, y2);
    glEnd();
}

static void quad(float x, float y, float w, float h) {
    glBegin(GL_QUADS);
    glColor3f(1.0f, 0.0f, 0.0f); glVertex2f(x, y);
    glColor3f(0.0f, 1.0f, 0.0f); glVertex2f(x + w, y);
    glColor3f(0.0f, 0.0f, 1.0f); glVertex2f(x + w, y + h);
    glColor3f(1.0f, 1.0f, 1.0f); glVertex2f(x, y + h);
    glEnd();
}

/* What is drawn too: a triangle the left edge cuts, a quad the clip plane cuts. */
static void clipped(void) {
    GLdouble plane[4] = {0.0, -1.0, 0.0, 224.0};
    if (control) plane[3] = 216.0;
    glClipPlane(GL_CLIP_PLANE0, plane);
    glEnable(GL_CLIP_PLANE0);
    triangle(-64.0f, 32.0f, 64.0f, 32.0f, 64.0f, 96.0f);
    quad(128.0f, 192.0f, 64.0f, 64.0f);
    glDisable(GL_CLIP_PLANE0);
}

static void lit(void) {
    static const GLfloat ambient[4] = {0.25f, 0.25f, 0.25f, 1.0f}, grey[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, grey);
    glColorMaterial(GL_FRONT, GL_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glColor3f(0.5f, 0.25f, 0.75f);
    glBegin(GL_TRIANGLES);
    glVertex2f(16.0f, 128.0f); glVertex2f(64.0f, 128.0f); glVertex2f(16.0f, 176.0f); /* front */
    glVertex2f(80.0f, 128.0f); glVertex2f(80.0f, 176.0f); glVertex2f(128.0f, 128.0f); /* back */
    glEnd();
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
}

static void display(void) {
    static const GLubyte bits[8] = {0xff, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0xff};
    static const GLenum types[5] = {GL_2D, GL_3D, GL_3D_COLOR, GL_3D_COLOR_TEXTURE, GL_4D_COLOR_TEXTURE};
    int i;
    glClear(GL_COLOR_BUFFER_BIT);
    pixelProjection(256, 256);

    begin(GL_3D_COLOR);
    glBegin(GL_POINTS);
    glColor3f(1.0f, 0.5f, 0.25f); glVertex3f(8.0f, 16.0f, 0.5f);
    glVertex2f(-8.0f, 16.0f); glVertex2f(256.0f, 256.0f);
    glEnd();
    end("points");

    /* The native GL feeds back a line's first segment as a plain line. */
    plainLines = 1;
    begin(GL_2D);
    glBegin(GL_LINES); glVertex2f(8, 8); glVertex2f(40, 8); glVertex2f(-32, 40); glVertex2f(32, 40); glEnd();
    glBegin(GL_LINE_STRIP); glVertex2f(8, 64); glVertex2f(40, 64); glVertex2f(40, 96); glEnd();
    glBegin(GL_LINE_LOOP); glVertex2f(64, 64); glVertex2f(96, 64); glVertex2f(96, 96); glEnd();
    end("lines");
    plainLines = 0;

    begin(GL_3D_COLOR);
    clipped();
    end("clipped");

    begin(GL_2D);
    glEnable(GL_CULL_FACE);
    triangle(0, 0, 32, 0, 0, 32);   /* counter-clockwise: kept */
    triangle(0, 0, 0, 32, 32, 0);   /* clockwise: culled */
    glFrontFace(GL_CW);
    triangle(64, 0, 64, 32, 96, 0); /* now front */
    glFrontFace(GL_CCW);
    glDisable(GL_CULL_FACE);
    end("culled");

    begin(GL_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    quad(8, 8, 32, 32);
    glBegin(GL_POLYGON); glVertex2f(64, 8); glVertex2f(96, 8); glVertex2f(104, 24); glVertex2f(96, 40); glVertex2f(64, 40); glEnd();
    glPolygonMode(GL_FRONT, GL_POINT);
    triangle(8, 64, 40, 64, 8, 96);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    end("polygon modes");

    begin(GL_3D_COLOR);
    lit();
    end("lit");

    /* The native GL leaves the texture matrix out while no texture is on. */
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, bits);
    glEnable(GL_TEXTURE_2D);
    begin(GL_3D_COLOR_TEXTURE);
    glMatrixMode(GL_TEXTURE);
    glScalef(2.0f, 4.0f, 1.0f);
    glTexCoord2f(0.25f, 0.125f);
    glBegin(GL_POINTS); glVertex2f(32, 32); glEnd();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    end("texture");
    glDisable(GL_TEXTURE_2D);

    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    glTexCoord4f(0.5f, 0.25f, 0.125f, 1.0f);
    for (i = 0; i < 5; i++) {
        static const char* names[5] = {"2D", "3D", "3D_COLOR", "3D_COLOR_TEXTURE", "4D_COLOR_TEXTURE"};
        begin(types[i]);
        glBegin(GL_POINTS); glVertex3f(64, 32, -0.5f); glEnd();
        end(names[i]);
    }

    begin(GL_3D_COLOR);
    glPassThrough(42.5f);
    glRasterPos2f(16, 24);
    glBitmap(8, 8, 0, 0, 12, 2, bits);
    glBitmap(8, 8, 0, 0, 12, 2, bits);
    glRasterPos2f(-16, 24); /* invalid: no bitmap */
    glBitmap(8, 8, 0, 0, 12, 2, bits);
    glPassThrough(-1.0f);
    end("bitmaps");

    glFeedbackBuffer(7, GL_2D, buffer);
    glRenderMode(GL_FEEDBACK);
    glBegin(GL_POINTS); glVertex2f(8, 8); glVertex2f(40, 8); glVertex2f(8, 16); glEnd();
    printf("overflow: %d", glRenderMode(GL_RENDER));
    values(buffer, 7);
    printf("\n");

    clipped();
    lit();
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB, 256, 256, "compare feedback");
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
