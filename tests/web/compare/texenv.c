/* Textures and their environments: one 8x8 checkerboard made here, loaded
   once per base format (rows, bottom up: alpha, luminance, luminance-alpha,
   intensity, RGB, RGBA) and drawn on a quad per environment mode (columns:
   modulate, decal, replace, blend), over a grey background with blending on
   so that the fragment's alpha shows. Decal is defined for RGB and RGBA only,
   so the other rows leave that cell empty. Nearest filtering, texels 4 pixels
   wide, so that no pixel centre lies on a texel's edge.
   --control: the blend column's texture environment colour changes. */
#include "compare.h"

static GLuint textures[6];
static const GLenum formats[6] = {GL_ALPHA, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_INTENSITY, GL_RGB, GL_RGBA};
static const GLenum modes[4] = {GL_MODULATE, GL_DECAL, GL_REPLACE, GL_BLEND};

/* The two texels of the board, RGBA. Luminance and intensity take red,
   alpha takes alpha. */
static const GLubyte light[4] = {255, 160, 40, 230};
static const GLubyte dark[4] = {30, 90, 220, 70};

static void makeTextures(void) {
    GLubyte data[8 * 8 * 4];
    int f, i, j, c;
    glGenTextures(6, textures);
    for (f = 0; f < 6; f++) {
        /* Components per texel in the format's own layout. */
        int n = 0;
        for (j = 0; j < 8; j++)
            for (i = 0; i < 8; i++) {
                const GLubyte* t = ((i + j) & 1) ? dark : light;
                switch (formats[f]) {
                case GL_ALPHA: data[n++] = t[3]; break;
                case GL_LUMINANCE:
                case GL_INTENSITY: data[n++] = t[0]; break;
                case GL_LUMINANCE_ALPHA: data[n++] = t[0]; data[n++] = t[3]; break;
                case GL_RGB: for (c = 0; c < 3; c++) data[n++] = t[c]; break;
                default: for (c = 0; c < 4; c++) data[n++] = t[c]; break;
                }
            }
        glBindTexture(GL_TEXTURE_2D, textures[f]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        /* Intensity data is given as luminance: GL_INTENSITY is an internal format only. */
        glTexImage2D(GL_TEXTURE_2D, 0, (GLint)formats[f], 8, 8, 0,
                     formats[f] == GL_INTENSITY ? GL_LUMINANCE : formats[f], GL_UNSIGNED_BYTE, data);
    }
}

static void display(void) {
    static const GLfloat envColor[4] = {0.2f, 0.5f, 0.9f, 0.6f};
    static const GLfloat otherColor[4] = {0.9f, 0.5f, 0.2f, 0.6f};
    int f, m;
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, control ? otherColor : envColor);
    for (f = 0; f < 6; f++) {
        glBindTexture(GL_TEXTURE_2D, textures[f]);
        for (m = 0; m < 4; m++) {
            float x = 64.0f * (float)m + 4.0f, y = 40.0f * (float)f + 4.0f;
            if (modes[m] == GL_DECAL && formats[f] != GL_RGB && formats[f] != GL_RGBA) continue;
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, (GLint)modes[m]);
            glColor4f(0.9f, 0.75f, 0.5f, 0.8f);
            /* 14 by 8 texels over 56 by 32 pixels. */
            glBegin(GL_QUADS);
            glTexCoord2f(0.0f, 0.0f);
            glVertex2f(x, y);
            glTexCoord2f(1.75f, 0.0f);
            glVertex2f(x + 56.0f, y);
            glTexCoord2f(1.75f, 1.0f);
            glVertex2f(x + 56.0f, y + 32.0f);
            glTexCoord2f(0.0f, 1.0f);
            glVertex2f(x, y + 32.0f);
            glEnd();
        }
    }
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB, 256, 240, "compare texenv");
    glClearColor(0.35f, 0.35f, 0.35f, 0.0f);
    pixelProjection(256, 240);
    makeTextures();
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
