// The framework's own transform stack: a software shadow of OpenGL's model-view
// stack that shapes use to take their vertices to real (world) coordinates, and
// the camera captured from OpenGL that takes real points to window pixels.
#pragma once

#include "math/zoMatrix4f.h"
#include "math/zoVec3f.h"

#define ZO_MATRIX_STACK_SIZE 128

extern zoMatrix4f zoMatrixStack[ZO_MATRIX_STACK_SIZE];
extern int zoMatrixHeight;   // index of the top entry, 0..127
// Pushes made at the full height that have not been popped yet. Pops use
// these up before they lower the height, so push/pop pairs stay balanced.
extern int zoMatrixIgnoredPushes;
extern zoMatrix4f cameraMatrix;  // captured projection, row-major
extern int view[4];              // captured viewport: x, y, width, height
extern zoVec3f cameraPos;        // centre of the near plane under the model-view

void zoTransformsInit();
void zoPushMatrix();
void zoPopMatrix();
void zoTranslatef(float x, float y, float z);
void zoScalef(float x, float y, float z);
void zoRotatef(float angle, float x, float y, float z);
zoMatrix4f* getCurrentMatrix();
void zoTransformsCaptureCamera();

// local -> real with the top of the stack; the two must be different objects.
inline void zoTransformToReal(zoVec3f& local, zoVec3f& real) {
    zoMatrixStack[zoMatrixHeight].transform3(&local, &real);
}

// real -> window pixels (origin at the viewport's lower-left corner) and depth.
// x and y are divided by the clip w, the depth is not. real may be screen.
inline void zoTransformRealToScreen(zoVec3f& real, zoVec3f& screen) {
    float v[4] = {real.x, real.y, real.z, 1.0f};
    float c[4];
    cameraMatrix.transform4(v, c);
    screen.x = float((double(c[0]) / c[3] + 1.0) * view[2] * 0.5 + view[0]);
    screen.y = float((double(c[1]) / c[3] + 1.0) * view[3] * 0.5 + view[1]);
    screen.z = float((1.0 + c[2]) * 0.5);
}
