/// \file
/// Ready-made shapes: zoMeshShape, a grid of vertices addressed by row and
/// column and drawn as triangle strips with per-vertex colours and normals.
#pragma once

#include "shape/zoShape.h"

/// An N x M grid of vertices (vertex (i, j) is number i * M + j), stitched into
/// one triangle strip per pair of neighbouring rows, with per-vertex colours and
/// normals on. Drawing, hit tests and files are zoShape's.
///
/// As constructed, vertex (i, j) lies at local (i, j, 0): rows along +x,
/// columns along +y. Its strips' normals then come out as (0, 0, -1), facing
/// away from the camera, and the lit mesh looks dark. Lay the grid out with the
/// column along x and the row along y (setMeshVertex(i, j, j, i, z)) to have
/// the normals face the viewer.
class zoMeshShape : public zoShape {
public:
    int N;  ///< Number of rows (the first grid coordinate, i); never changed.
    int M;  ///< Number of columns (the second grid coordinate, j); never changed.

    /// The flat grid: N × M vertices, vertex (i, j) at (i, j, 0), white, with
    /// normal (0, 0, 1) until the first draw; an index list of one strip per
    /// row pair, (i, 0), (i + 1, 0), (i, 1), (i + 1, 1), …, each followed by
    /// -1; #drawStyle GL_TRIANGLE_STRIP. N and M are not checked: with either
    /// 0 there are no vertices; a single row has an empty index list, so each
    /// draw says so.
    zoMeshShape(int N, int M);

    /// i * M + j, unchecked.
    int getVertexIndex(int i, int j);
    /// setVertex(getVertexIndex(i, j), x, y, z): only the flattened number is
    /// checked, so a column of M or more silently addresses a later row.
    void setMeshVertex(int i, int j, float x, float y, float z);
    /// setVertexColor(getVertexIndex(i, j), r, g, b, a), checked likewise.
    void setMeshVertexColor(int i, int j, float r, float g, float b, float a);
};
