// Ready-made shapes.
#pragma once

#include "shape/zoShape.h"

// An N x M grid of vertices (vertex (i, j) is number i * M + j), stitched into
// one triangle strip per pair of neighbouring rows, with per-vertex colours and
// normals on.
class zoMeshShape : public zoShape {
public:
    int N;
    int M;

    zoMeshShape(int N, int M);

    int getVertexIndex(int i, int j);
    void setMeshVertex(int i, int j, float x, float y, float z);
    void setMeshVertexColor(int i, int j, float r, float g, float b, float a);
};
