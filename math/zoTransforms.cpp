#include "math/zoTransforms.h"

#include <GL/gl.h>
#include <GL/glu.h>

zoMatrix4f zoMatrixStack[ZO_MATRIX_STACK_SIZE];
int zoMatrixHeight = 0;
int zoMatrixIgnoredPushes = 0;
zoMatrix4f cameraMatrix;
int view[4];
zoVec3f cameraPos;

// The top entry as it was when the first push beyond the full height came in.
// The levels above the limit have no entries of their own, so their transforms
// pile up in the top entry; when the last of them is popped the top entry gets
// its own value back, and the caller at the full height finds its matrix as it
// left it.
static zoMatrix4f overflowBase;

static const int zoMatrixTop = ZO_MATRIX_STACK_SIZE - 1;

void zoTransformsInit() {
    for (int i = 0; i < ZO_MATRIX_STACK_SIZE; ++i) zoMatrixStack[i].setIdentity();
    overflowBase.setIdentity();
    // The ignored pushes are left counted: like the height, they belong to
    // callers that are still between their push and their pop, and each of
    // those pops must still find its push.
}

void zoPushMatrix() {
    if (zoMatrixHeight >= zoMatrixTop) {
        if (zoMatrixIgnoredPushes == 0) overflowBase.set(&zoMatrixStack[zoMatrixHeight]);
        ++zoMatrixIgnoredPushes;
        return;
    }
    ++zoMatrixHeight;
    zoMatrixStack[zoMatrixHeight].set(&zoMatrixStack[zoMatrixHeight - 1]);
}

void zoPopMatrix() {
    if (zoMatrixIgnoredPushes > 0) {
        --zoMatrixIgnoredPushes;
        if (zoMatrixIgnoredPushes == 0) zoMatrixStack[zoMatrixHeight].set(&overflowBase);
        return;
    }
    if (zoMatrixHeight > 0) --zoMatrixHeight;
}

void zoTranslatef(float x, float y, float z) { zoMatrixStack[zoMatrixHeight].translate(x, y, z); }

void zoScalef(float x, float y, float z) { zoMatrixStack[zoMatrixHeight].scale(x, y, z); }

void zoRotatef(float angle, float x, float y, float z) {
    float radians = float(double(angle) * 3.141592653589793 * 0.005555555555555556);
    zoMatrixStack[zoMatrixHeight].rotgen(x, y, z, radians);
}

zoMatrix4f* getCurrentMatrix() { return &zoMatrixStack[zoMatrixHeight]; }

void zoTransformsCaptureCamera() {
    double P[16], V[16];
    glGetDoublev(GL_PROJECTION_MATRIX, P);
    glGetIntegerv(GL_VIEWPORT, view);
    glGetDoublev(GL_MODELVIEW_MATRIX, V);

    // OpenGL stores column after column; cameraMatrix is row after row.
    for (int r = 0; r < 4; ++r)
        for (int col = 0; col < 4; ++col) cameraMatrix.m[r][col] = float(P[col * 4 + r]);

    // The framework's viewports start at (0, 0), so this is their centre.
    float winX = float((view[2] - view[0]) * 0.5);
    float winY = float((view[3] - view[1]) * 0.5);

    // GLU leaves the outputs untouched when it cannot invert the matrices;
    // starting from the last position keeps that one in place.
    double ox = cameraPos.x, oy = cameraPos.y, oz = cameraPos.z;
    gluUnProject(winX, winY, 0.0, V, P, view, &ox, &oy, &oz);
    cameraPos.set(float(ox), float(oy), float(oz));
}
