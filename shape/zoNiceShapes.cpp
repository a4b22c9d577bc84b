// zoMeshShape: an N x M grid stitched into one triangle strip per row pair.
#include "shape/zoNiceShapes.h"

#include <GL/gl.h>

zoMeshShape::zoMeshShape(int N, int M) : zoShape(true, true, true), N(N), M(M) {
    for (int k = 0; k < N * M; ++k) addPoint(0, 0, 0);
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < M; ++j) {
            setMeshVertex(i, j, float(i), float(j), 0);
            setMeshVertexColor(i, j, 1, 1, 1, 1);
        }
    // Every strip, the last included, ends with a separator.
    for (int i = 0; i + 1 < N; ++i) {
        for (int j = 0; j < M; ++j) {
            addIndex(getVertexIndex(i, j));
            addIndex(getVertexIndex(i + 1, j));
        }
        addIndex(-1);
    }
    drawStyle = GL_TRIANGLE_STRIP;
}

int zoMeshShape::getVertexIndex(int i, int j) { return i * M + j; }

void zoMeshShape::setMeshVertex(int i, int j, float x, float y, float z) { setVertex(getVertexIndex(i, j), x, y, z); }

void zoMeshShape::setMeshVertexColor(int i, int j, float r, float g, float b, float a) {
    setVertexColor(getVertexIndex(i, j), r, g, b, a);
}
