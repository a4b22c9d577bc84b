// zoShape: per-vertex normals, the average of the faces each vertex is in,
// taken in real coordinates.
#include <GL/gl.h>

#include <cstdio>

#include "shape/zoShape.h"
#include "shape/zoShapeWalk.h"

void zoShape::calculateNormals() {
    if (!enableVertexNormals) {
        printf("calculateNormals: vertex normals are not enabled\n");
        return;
    }
    for (int i = 0; i < listLength; ++i) {
        normalList[i].set(0, 0, 0);
        normalCountList[i] = 0;
    }
    const zoVec3f* v = absVertexList;
    const zoEntryWalk entries(*this);
    switch (drawStyle) {
        case GL_POLYGON: {
            // Fewer than three entries leave every normal at (0, 0, 0).
            if (entries.size() < 3) return;
            // One face for the whole shape, from the first three vertices of
            // the first polygon that has three: the first polygon OpenGL can
            // fill. A polygon cut short by a separator draws nothing, so it
            // cannot give the normal; when no polygon has three vertices no
            // face is formed and every vertex keeps the normal of a vertex in
            // no face.
            zoWalkPrimitives(GL_POLYGON, entries, [&](const zoPrimitive& p) {
                zoVec3f N = (v[p.v[1]] - v[p.v[0]]).cross(v[p.v[2]] - v[p.v[0]]);
                N.normalize();
                for (int i = 0; i < listLength; ++i) {
                    normalList[i] += N;
                    ++normalCountList[i];
                }
                return true;  // the first triangle only
            });
            break;
        }
        case GL_TRIANGLES:
        case GL_TRIANGLE_STRIP:
        case GL_TRIANGLE_FAN: {
            if (entries.size() < 3) return;
            const bool strip = drawStyle == GL_TRIANGLE_STRIP, fan = drawStyle == GL_TRIANGLE_FAN;
            zoWalkPrimitives(drawStyle, entries, [&](const zoPrimitive& p) {
                const int a = p.v[0], b = p.v[1], c = p.v[2];
                zoVec3f N = (v[b] - v[a]).cross(v[c] - v[a]);
                // The two scalings round differently; each kind keeps its own.
                if (fan) {
                    N.normalize();
                } else {
                    float len = N.length();
                    if (len != 0) N /= len;
                }
                // Every triangle of a strip gets the normal of its odd ones,
                // whose corners OpenGL takes in the other order.
                if (strip && p.k % 2 == 0) N *= -1;
                normalList[a] += N;
                normalList[b] += N;
                normalList[c] += N;
                ++normalCountList[a];
                ++normalCountList[b];
                ++normalCountList[c];
                return false;
            });
            break;
        }
        default:  // points and lines have no faces; quads are not given computed normals
            break;
    }

    for (int i = 0; i < listLength; ++i) {
        if (normalCountList[i] > 0) {
            normalList[i] = normalList[i] / float(normalCountList[i]);
            normalList[i].normalize();
        } else {
            normalList[i].set(0, 0, 1);
        }
    }
}
