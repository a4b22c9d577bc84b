// zoShape: drawing in immediate mode. The shape's transform is composed on the
// framework's own stack and its vertices go to OpenGL in real coordinates, so
// OpenGL's matrices are never touched; the draw also refreshes the real and
// screen positions that normals and hit tests read.
#include <GL/gl.h>

#include <cstdio>

#include "math/zoTransforms.h"
#include "shape/zoShape.h"
#include "shape/zoShapeWalk.h"

namespace {

// The captured camera starts as the all-zero matrix; while it is still that,
// every screen position is NaN and nothing can be picked. An application that
// sets cameraMatrix itself, rather than capturing it, has given it a value.
bool cameraIsUnset() {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (cameraMatrix.m[r][c] != 0) return false;
    return true;
}

bool cameraWarned = false;  // the warning is given once per process

}  // namespace

void zoShape::draw() {
    zoPushMatrix();
    const float tx = Translation.x, ty = Translation.y, tz = Translation.z;
    const float sx = Scale.x, sy = Scale.y, sz = Scale.z;
    const float ra = Rotation.x, rx = Rotation.y, ry = Rotation.z, rz = Rotation.w;
    switch (transformOrder) {
        case zo_T_S_R:
            zoTranslatef(tx, ty, tz);
            zoScalef(sx, sy, sz);
            zoRotatef(ra, rx, ry, rz);
            break;
        case zo_T_R_S:
            zoTranslatef(tx, ty, tz);
            zoRotatef(ra, rx, ry, rz);
            zoScalef(sx, sy, sz);
            break;
        case zo_R_S_T:
            zoRotatef(ra, rx, ry, rz);
            zoScalef(sx, sy, sz);
            zoTranslatef(tx, ty, tz);
            break;
        case zo_R_T_S:
            zoRotatef(ra, rx, ry, rz);
            zoTranslatef(tx, ty, tz);
            zoScalef(sx, sy, sz);
            break;
        case zo_S_R_T:
            zoScalef(sx, sy, sz);
            zoRotatef(ra, rx, ry, rz);
            zoTranslatef(tx, ty, tz);
            break;
        case zo_S_T_R:
            zoScalef(sx, sy, sz);
            zoTranslatef(tx, ty, tz);
            zoRotatef(ra, rx, ry, rz);
            break;
        default:  // an order read from a file outside 0..5: no transform
            break;
    }
    space.set(getCurrentMatrix());

    if (enablePicking && !cameraWarned && cameraIsUnset()) {
        cameraWarned = true;
        printf("zoShape::draw warning: the camera is not captured, so shapes cannot be picked; "
               "call zoTransformsCaptureCamera before drawing\n");
    }
    for (int i = 0; i < listLength; ++i) {
        zoTransformToReal(vertexList[i], absVertexList[i]);
        if (enablePicking) zoTransformRealToScreen(absVertexList[i], screenVertexList[i]);
    }
    if (enableVertexNormals) calculateNormals();
    if (enableIndex && indexListLength == 0)
        printf("zoShape::draw: no shape is drawing because index list is empty\n");

    glBegin(drawStyle);
    glColor4f(Color.x, Color.y, Color.z, Color.w);
    glNormal3f(Normal.x, Normal.y, Normal.z);
    // OpenGL applies the primitive rules itself: it is given the entries as
    // they are, a separator closing one primitive and opening the next.
    zoEntryWalk entries(*this);
    int v;
    while (entries.next(v)) {
        if (v == -1) {
            glEnd();
            glBegin(drawStyle);
            continue;
        }
        if (enableVertexNormals) {
            if (enableVertexTextureCoords) glTexCoord2f(textureCoordList[v].x, textureCoordList[v].y);
            glNormal3f(normalList[v].x, normalList[v].y, normalList[v].z);
        }
        if (enableVertexColors) glColor4f(colorList[v].x, colorList[v].y, colorList[v].z, colorList[v].w);
        glVertex3f(absVertexList[v].x, absVertexList[v].y, absVertexList[v].z);
    }
    glEnd();
    zoPopMatrix();
}
