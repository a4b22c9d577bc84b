/// \file
/// The framework's own transform stack: a software shadow of OpenGL's model-view
/// stack that shapes use to take their vertices to real (world) coordinates, and
/// the camera captured from OpenGL that takes real points to window pixels.
///
/// An application calls zoTransformsInit() once (before it, every entry is the
/// zero matrix and every vertex lands on the origin), and in every draw calls
/// zoTransformsCaptureCamera() before the first shape. Shapes push, compose
/// their own transform, map their vertices and pop. None of these functions
/// calls OpenGL except zoTransformsCaptureCamera(). All state is global, for
/// the one thread that runs GLUT's callbacks.
#pragma once

#include "math/zoMatrix4f.h"
#include "math/zoVec3f.h"

/// Number of entries of #zoMatrixStack; the height reaches 127 at most.
#define ZO_MATRIX_STACK_SIZE 128

/// The stack; entry 0 is the bottom. All zero until zoTransformsInit().
extern zoMatrix4f zoMatrixStack[ZO_MATRIX_STACK_SIZE];
/// Index of the top (current) entry, 0..127; 0 at start.
extern int zoMatrixHeight;
/// Pushes made at the full height that have not been popped yet. Pops use
/// these up before they lower the height, so push/pop pairs stay balanced.
extern int zoMatrixIgnoredPushes;
/// The captured projection, row-major: takes real points to clip coordinates.
/// All zero until the first zoTransformsCaptureCamera(), so screen positions
/// computed before it are not finite.
extern zoMatrix4f cameraMatrix;
/// The captured viewport: x, y, width, height in pixels; all zero until captured.
extern int view[4];
/// Centre of the near plane under the captured model-view, in the coordinates
/// the application's current model-view places objects in; (0, 0, 0) until
/// captured. Kept as it was when GLU cannot invert the matrices. The framework
/// itself does not read it.
extern zoVec3f cameraPos;

/// Sets all 128 entries to the identity; the height is left where it is.
/// May be called again at any time.
void zoTransformsInit();
/// Raises the height by one, the new top a copy of the one below. At the full
/// height (127) the push is counted instead: transforms made above the limit
/// pile up in the top entry until the last such push is popped, which gives
/// the top entry its value back.
void zoPushMatrix();
/// Lowers the height by one (first using up counted pushes); at height 0 it
/// does nothing.
void zoPopMatrix();
/// Top <- top * T(x, y, z), as glTranslatef.
void zoTranslatef(float x, float y, float z);
/// Top <- top * diag(x, y, z, 1), as glScalef.
void zoScalef(float x, float y, float z);
/// Top <- top * R, angle in degrees about the axis (x, y, z), as glRotatef;
/// a zero angle or axis changes nothing.
void zoRotatef(float angle, float x, float y, float z);
/// The top entry itself, not a copy; after a push or pop it is no longer the top.
zoMatrix4f* getCurrentMatrix();
/// Reads OpenGL's projection matrix into #cameraMatrix, the viewport into
/// #view and, through the model-view, #cameraPos. Needs a current GL context.
/// Call it in every draw before the first shape. Screen positions use the
/// projection alone (the outermost frame keeps its camera there): a transform
/// made in OpenGL's model-view matrix moves what is drawn but not what is
/// picked, so transform shapes through their own fields or this stack.
void zoTransformsCaptureCamera();

/// local -> real with the top of the stack; the two must be different objects.
inline void zoTransformToReal(zoVec3f& local, zoVec3f& real) {
    zoMatrixStack[zoMatrixHeight].transform3(&local, &real);
}

/// real -> window pixels (origin at the viewport's lower-left corner, y up) and
/// depth, with the captured camera. x and y are divided by the clip w, the depth
/// (1 + clip z) / 2 is not. A point with clip w 0 (on the camera plane, or any
/// point while the camera was never captured) gives infinite or NaN
/// coordinates. real may be screen.
inline void zoTransformRealToScreen(zoVec3f& real, zoVec3f& screen) {
    float v[4] = {real.x, real.y, real.z, 1.0f};
    float c[4];
    cameraMatrix.transform4(v, c);
    screen.x = float((double(c[0]) / c[3] + 1.0) * view[2] * 0.5 + view[0]);
    screen.y = float((double(c[1]) / c[3] + 1.0) * view[3] * 0.5 + view[1]);
    screen.z = float((1.0 + c[2]) * 0.5);
}
