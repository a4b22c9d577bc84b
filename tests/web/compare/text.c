/* Text: a line in each of GLUT's seven bitmap fonts at raster positions
   given in the modelview (the colour is taken when glRasterPos is called, so
   the green set after it does not show), one right-aligned by its
   glutBitmapLength; then the two stroke fonts as lines in the modelview,
   scaled, one centred by its glutStrokeLength.
   --control: one word of the Times Roman 24 line changes. */
#include "compare.h"


static void bitmapLine(void* font, float x, float y, const char* text) {
    const char* c;
    glRasterPos2f(x, y);
    glColor3f(0.0f, 1.0f, 0.0f);
    for (c = text; *c; c++) glutBitmapCharacter(font, *c);
}

static void display(void) {
    static const char right[] = "Helvetica 12, right";
    const char* c;
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    glColor3f(1.0f, 1.0f, 1.0f);
    bitmapLine(GLUT_BITMAP_9_BY_15, 6.0f, 300.0f, "9x15: The quick brown fox");
    glColor3f(1.0f, 0.9f, 0.5f);
    bitmapLine(GLUT_BITMAP_8_BY_13, 6.0f, 282.0f, "8x13: jumps over 12 lazy dogs");
    glColor3f(0.6f, 0.8f, 1.0f);
    bitmapLine(GLUT_BITMAP_TIMES_ROMAN_10, 6.0f, 266.0f, "Times Roman 10: Sphinx of black quartz");
    glColor3f(1.0f, 1.0f, 1.0f);
    bitmapLine(GLUT_BITMAP_TIMES_ROMAN_24, 6.0f, 238.0f, control ? "Times 24: judge my vow" : "Times 24: judge our vow");
    glColor3f(1.0f, 0.6f, 0.6f);
    bitmapLine(GLUT_BITMAP_HELVETICA_10, 6.0f, 218.0f, "Helvetica 10: pack my box");
    glColor3f(0.7f, 1.0f, 0.7f);
    glRasterPos2f(314.0f - (float)glutBitmapLength(GLUT_BITMAP_HELVETICA_12, (const unsigned char*)right), 200.0f);
    for (c = right; *c; c++) glutBitmapCharacter(GLUT_BITMAP_HELVETICA_12, *c);
    glColor3f(1.0f, 1.0f, 0.6f);
    glTranslatef(0.0f, 4.0f, 0.0f);
    bitmapLine(GLUT_BITMAP_HELVETICA_18, 6.0f, 172.0f, "Helvetica 18: five dozen");

    /* Stroke fonts: about 100 units tall, scaled to about 20 pixels. */
    glColor3f(1.0f, 1.0f, 1.0f);
    glLoadIdentity();
    glTranslatef(8.0f, 120.0f, 0.0f);
    glScalef(0.2f, 0.2f, 0.2f);
    for (c = "Roman 42"; *c; c++) glutStrokeCharacter(GLUT_STROKE_ROMAN, *c);
    glLoadIdentity();
    glColor3f(0.6f, 0.9f, 1.0f);
    glTranslatef(160.0f - 0.15f * (float)glutStrokeLength(GLUT_STROKE_MONO_ROMAN, (const unsigned char*)"Mono ok"), 60.0f, 0.0f);
    glScalef(0.15f, 0.15f, 0.15f);
    for (c = "Mono ok"; *c; c++) glutStrokeCharacter(GLUT_STROKE_MONO_ROMAN, *c);

    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB, 320, 320, "compare text");
    glClearColor(0.1f, 0.1f, 0.2f, 0.0f);
    pixelProjection(320, 320);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
