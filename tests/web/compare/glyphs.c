/* GLUT's seven bitmap fonts and glBitmap, as a still picture to hold against
   the desktop's: every printable character of each font (ISO 8859-1) in rows,
   a string with a newline, a character list called at two raster positions,
   a raster position that is off the window (nothing drawn), one moved by an
   empty bitmap, one under a model-view translation, and a bitmap of our own
   read under unusual unpack settings (alignment, row length, skips, least
   significant bit first).

   Left out are the glyphs that the X fonts have redrawn since GLUT's tables
   were taken from them (the quotes, hyphen and a few letters and accents,
   listed below): everything else must match pixel for pixel.
   --control: the bitmap of our own is drawn three pixels further right. */
#include "compare.h"

#define WIDTH 640
#define HEIGHT 480

struct font {
    void* handle;
    const char* redrawn; /* characters left out */
    float color[3];
};

static const struct font fonts[] = {
    {GLUT_BITMAP_8_BY_13,
     "'*-BD`\xa8\xcf\xd6\xd9\xe0\xe1\xe2\xe3\xe4\xe8\xe9\xea\xeb\xec\xed\xee\xef\xf1\xf2\xf3\xf4\xf5\xf6\xf9\xfa\xfb"
     "\xfc\xfd\xff",
     {1.0f, 1.0f, 1.0f}},
    {GLUT_BITMAP_9_BY_15, "$'*7BDEF`\xd0", {1.0f, 0.8f, 0.4f}},
    {GLUT_BITMAP_TIMES_ROMAN_10, "'-`", {0.5f, 1.0f, 0.5f}},
    {GLUT_BITMAP_TIMES_ROMAN_24, "'-/`", {0.6f, 0.8f, 1.0f}},
    {GLUT_BITMAP_HELVETICA_10, "'-`", {1.0f, 0.6f, 0.6f}},
    {GLUT_BITMAP_HELVETICA_12, "'-`", {1.0f, 1.0f, 0.4f}},
    {GLUT_BITMAP_HELVETICA_18, "'-`", {0.8f, 0.6f, 1.0f}},
};

/* A 10 x 5 arrow, each row in two bytes, least significant bit leftmost,
   three pixels skipped at the left of each row and one row at the bottom;
   rows of 24 pixels (3 bytes, padded to 4 by the alignment). */
static const GLubyte arrow[] = {
    0xff, 0xff, 0xff, 0x00, /* skipped row */
    0x40, 0x00, 0x00, 0x00, /* ...#...... */
    0x60, 0x00, 0x00, 0x00, /* ..##...... */
    0xf8, 0x1f, 0x00, 0x00, /* ########## */
    0x60, 0x00, 0x00, 0x00, /* ..##...... */
    0x40, 0x00, 0x00, 0x00, /* ...#...... */
};

static GLuint list;

static void display(void) {
    glClear(GL_COLOR_BUFFER_BIT);
    int y = HEIGHT - 16;
    for (unsigned f = 0; f < sizeof fonts / sizeof fonts[0]; f++) {
        const struct font* font = &fonts[f];
        const int height = glutBitmapHeight(font->handle);
        int x = 4;
        glColor3fv(font->color);
        glRasterPos2i(x, y);
        glColor3f(1.0f, 0.0f, 0.0f); /* the raster colour was taken already */
        for (int c = 32; c < 256; c++) {
            if ((c > 126 && c < 160) || strchr(font->redrawn, c)) continue;
            const int w = glutBitmapWidth(font->handle, c);
            if (x + w > WIDTH - 4) {
                x = 4;
                y -= height;
                glColor3fv(font->color);
                glRasterPos2i(x, y);
            }
            glutBitmapCharacter(font->handle, c);
            x += w;
        }
        y -= height + 2;
    }

    glColor3f(0.4f, 1.0f, 1.0f);
    glRasterPos2f(4.25f, 60.75f);
    glutBitmapString(GLUT_BITMAP_HELVETICA_12, (const unsigned char*)"a string\nover two lines");
    glRasterPos2f(200.5f, 60.0f);
    glCallList(list);
    glColor3f(1.0f, 0.5f, 0.0f);
    glRasterPos2f(200.5f, 44.0f);
    glCallList(list);

    glRasterPos2f(-20.0f, 20.0f); /* off the window: nothing is drawn */
    glBitmap(0, 0, 0, 0, 40, 0, NULL);
    glutBitmapString(GLUT_BITMAP_9_BY_15, (const unsigned char*)"hidden");

    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2i(320, 20);
    glBitmap(0, 0, 0, 0, 17.5f, 3.25f, NULL);
    glutBitmapString(GLUT_BITMAP_TIMES_ROMAN_10, (const unsigned char*)"moved");

    glPushMatrix();
    glTranslatef(400.0f, 30.0f, 0.0f);
    glRasterPos2f(control ? 3.75f : 0.75f, 0.25f);
    glPopMatrix();
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_TRUE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 24);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 3);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 1);
    glBitmap(10, 5, 2.5f, 2.0f, 12.0f, 0.0f, arrow);
    glBitmap(10, 5, 2.5f, 2.0f, 12.0f, 0.0f, arrow);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, 'x');
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB, WIDTH, HEIGHT, "compare glyphs");
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, WIDTH, 0, HEIGHT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glutBitmapString(GLUT_BITMAP_8_BY_13, (const unsigned char*)"in a list");
    glEndList();
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
