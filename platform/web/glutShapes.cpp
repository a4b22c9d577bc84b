// GLUT's solid and wire shapes, drawn with the layer's glBegin/glEnd: the
// vertices, normals, winding and primitive kinds GLUT draws, so that lighting,
// culling and flat shading give the desktop's picture. Solids wind
// counter-clockwise seen from outside, the teapot clockwise as GLUT's does;
// normals are of unit length but where GLUT's are not (the icosahedron's and
// some of the rhombic dodecahedron's), which shows without GL_NORMALIZE.
#include <GL/freeglut.h>

#include <cmath>
#include <vector>

namespace {

const double pi = 3.14159265358979323846;

// ---- Round shapes -----------------------------------------------------------------
// Bands of triangle strips, two vertices a step, and lines, in GLUT's order:
// the same vertices in the same sequence, so that each quad is split along the
// same diagonal and flat shading takes the same vertex's colour.

// cos and sin of `n` equal steps around the circle from angle 0, clockwise
// seen from +z when `clockwise`; the last entry repeats the first so that
// rings close exactly.
void circle(int n, bool clockwise, std::vector<double>& c, std::vector<double>& s) {
    c.resize(n + 1), s.resize(n + 1);
    for (int i = 0; i < n; ++i) {
        const double a = (clockwise ? -2 : 2) * pi * i / n;
        c[i] = std::cos(a), s[i] = std::sin(a);
    }
    c[n] = c[0], s[n] = s[0];
}

void vertex(double nx, double ny, double nz, double x, double y, double z) {
    glNormal3d(nx, ny, nz);
    glVertex3d(x, y, z);
}

// The sphere about the z axis: stacks from the north pole (+z) down, slices
// clockwise seen from +z.
void sphere(double r, int slices, int stacks, bool wire) {
    if (slices < 1 || stacks < 1) return;
    std::vector<double> ct, st, cp, sp;
    circle(slices, true, ct, st);
    cp.resize(stacks + 1), sp.resize(stacks + 1);
    for (int i = 0; i <= stacks; ++i) {
        const double a = pi * i / stacks;
        cp[i] = std::cos(a), sp[i] = std::sin(a);
    }
    cp[stacks] = -1, sp[stacks] = 0;
    auto at = [&](int i, int j) {
        vertex(ct[j] * sp[i], st[j] * sp[i], cp[i], r * ct[j] * sp[i], r * st[j] * sp[i], r * cp[i]);
    };
    if (wire) {
        for (int j = 0; j < slices; ++j) {  // the meridians, pole to pole
            glBegin(GL_LINE_STRIP);
            for (int i = 0; i <= stacks; ++i) at(i, j);
            glEnd();
        }
        for (int i = 1; i < stacks; ++i) {  // the circles of latitude
            glBegin(GL_LINE_LOOP);
            for (int j = 0; j < slices; ++j) at(i, j);
            glEnd();
        }
        return;
    }
    for (int i = 0; i < stacks; ++i) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int j = 0; j <= slices; ++j) {
            at(i + 1, j);
            at(i, j);
        }
        glEnd();
    }
}

// A disc of radius r in z = height facing `nz` (+1 or -1): a strip between
// its rim and its centre, the centre first when it faces down.
void disc(double r, double height, double nz, const std::vector<double>& c, const std::vector<double>& s) {
    glBegin(GL_TRIANGLE_STRIP);
    for (size_t j = 0; j < c.size(); ++j) {
        if (nz < 0) vertex(0, 0, nz, 0, 0, height);
        vertex(0, 0, nz, c[j] * r, s[j] * r, height);
        if (nz > 0) vertex(0, 0, nz, 0, 0, height);
    }
    glEnd();
}

// The sides of a cone or cylinder: `stacks` bands from z = 0 to height, the
// radius going from `bottom` to `top`, with the normal (nr c, nr s, nz).
void sides(double bottom, double top, double height, int stacks, double nr, double nz, bool wire,
           const std::vector<double>& c, const std::vector<double>& s) {
    const int slices = int(c.size()) - 1;
    auto ring = [&](int k, int j) {
        const double r = bottom + (top - bottom) * k / stacks;
        vertex(c[j] * nr, s[j] * nr, nz, c[j] * r, s[j] * r, height * k / stacks);
    };
    if (wire) {
        glBegin(GL_LINES);  // bottom to top, then the circles from the bottom up
        for (int j = 0; j < slices; ++j) {
            ring(0, j);
            ring(stacks, j);
        }
        glEnd();
        for (int k = 0; k < (top > 0 ? stacks + 1 : stacks); ++k) {
            glBegin(GL_LINE_LOOP);
            for (int j = 0; j < slices; ++j) ring(k, j);
            glEnd();
        }
        return;
    }
    for (int k = 0; k < stacks; ++k) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int j = 0; j <= slices; ++j) {
            ring(k, j);
            ring(k + 1, j);
        }
        glEnd();
    }
}

// The cone: its base a disc in z = 0 facing -z, its tip at z = height.
void cone(double base, double height, int slices, int stacks, bool wire) {
    if (slices < 1 || stacks < 1) return;
    std::vector<double> c, s;
    circle(slices, true, c, s);
    const double side = std::sqrt(height * height + base * base);
    const double nr = side > 0 ? height / side : 0, nz = side > 0 ? base / side : 1;
    if (!wire) disc(base, 0, -1, c, s);
    sides(base, 0, height, stacks, nr, nz, wire, c, s);
}

// The cylinder: around the z axis from z = 0 to height, closed by two discs.
void cylinder(double radius, double height, int slices, int stacks, bool wire) {
    if (slices < 1 || stacks < 1) return;
    std::vector<double> c, s;
    circle(slices, true, c, s);
    if (!wire) disc(radius, 0, -1, c, s);
    sides(radius, radius, height, stacks, 1, 0, wire, c, s);
    if (!wire) disc(radius, height, 1, c, s);
}

// The torus about the z axis: `rings` around the axis (counter-clockwise seen
// from +z), `sides` around the tube (from its outside down, under, in, over).
void torus(double inner, double outer, int sides, int rings, bool wire) {
    if (sides < 1 || rings < 1) return;
    std::vector<double> cr, sr, cs, ss;
    circle(rings, false, cr, sr);
    circle(sides, true, cs, ss);
    auto at = [&](int i, int j) {
        const double d = outer + inner * cs[j];
        vertex(cr[i] * cs[j], sr[i] * cs[j], ss[j], cr[i] * d, sr[i] * d, inner * ss[j]);
    };
    if (wire) {
        for (int i = 0; i < rings; ++i) {
            glBegin(GL_LINE_LOOP);
            for (int j = 0; j < sides; ++j) at(i, j);
            glEnd();
        }
        for (int j = 0; j < sides; ++j) {
            glBegin(GL_LINE_LOOP);
            for (int i = 0; i < rings; ++i) at(i, j);
            glEnd();
        }
        return;
    }
    for (int j = 0; j < sides; ++j) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int i = 0; i <= rings; ++i) {
            at(i, j);
            at(i, j + 1);
        }
        glEnd();
    }
}

// ---- Polyhedra --------------------------------------------------------------------
// Faces as vertex indices, counter-clockwise seen from outside, in GLUT's
// order from GLUT's first corner: solid faces as GLUT's triangles, wire ones
// as loops; each face flat with its own normal.

// `lengths`, when given, are the faces' normal lengths: GLUT's are not all 1,
// which shows under lighting without GL_NORMALIZE.
void polyhedron(const double (*v)[3], const int* faces, int faceCount, int corners, bool wire, double scale = 1,
                const double* offset = nullptr, const double* lengths = nullptr) {
    const double o[3] = {offset ? offset[0] : 0, offset ? offset[1] : 0, offset ? offset[2] : 0};
    for (int f = 0; f < faceCount; ++f) {
        const int* face = faces + f * corners;
        const double* a = v[face[0]];
        const double* b = v[face[1]];
        const double* c = v[face[2]];
        const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        double n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
        const double l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]) / (lengths ? lengths[f] : 1);
        for (double& x : n) x /= l;
        auto put = [&](int k) {
            const double* p = v[face[k]];
            glVertex3d(o[0] + scale * p[0], o[1] + scale * p[1], o[2] + scale * p[2]);
        };
        glBegin(wire ? GL_LINE_LOOP : GL_TRIANGLES);
        glNormal3dv(n);
        if (wire) {
            for (int k = 0; k < corners; ++k) put(k);
        } else {
            // GLUT's triangles of a triangle, a quad and a pentagon.
            static const int split[3][9] = {{0, 1, 2}, {0, 1, 2, 0, 2, 3}, {0, 1, 2, 0, 2, 4, 4, 2, 3}};
            for (int k = 0; k < 3 * (corners - 2); ++k) put(split[corners - 3][k]);
        }
        glEnd();
    }
}

void cube(double size, bool wire) {
    const double h = size / 2;
    const double v[8][3] = {{-h, -h, -h}, {h, -h, -h}, {h, h, -h}, {-h, h, -h},
                            {-h, -h, h},  {h, -h, h},  {h, h, h},  {-h, h, h}};
    static const int faces[6 * 4] = {6, 7, 4, 5, 6, 5, 1, 2, 6, 2, 3, 7, 7, 3, 0, 4, 0, 1, 5, 4, 1, 0, 3, 2};
    polyhedron(v, faces, 6, 4, wire);
}

// Vertices on the axes, radius 1.
void octahedron(bool wire) {
    static const double v[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
    static const int faces[8 * 3] = {0, 1, 2, 0, 5, 1, 0, 2, 4, 0, 4, 5, 3, 2, 1, 3, 1, 5, 3, 4, 2, 3, 5, 4};
    polyhedron(v, faces, 8, 3, wire);
}

// Radius 1, one vertex on +x.
const double tetraVertices[4][3] = {{1, 0, 0},
                                    {-1.0 / 3, 0.9428090415820634, 0},
                                    {-1.0 / 3, -0.4714045207910317, 0.816496580927726},
                                    {-1.0 / 3, -0.4714045207910317, -0.816496580927726}};
const int tetraFaces[4 * 3] = {1, 3, 2, 0, 2, 3, 0, 3, 1, 0, 1, 2};

void tetrahedron(bool wire) { polyhedron(tetraVertices, tetraFaces, 4, 3, wire); }

// Radius 1, vertices on +x and -x and two pentagons between them.
void icosahedron(bool wire) {
    static double v[12][3];
    static bool made = false;
    if (!made) {
        const double x = 1 / std::sqrt(5.0), r = 2 / std::sqrt(5.0);
        v[0][0] = 1, v[11][0] = -1;
        for (int k = 0; k < 5; ++k) {
            v[1 + k][0] = x, v[1 + k][1] = r * std::cos(2 * pi * k / 5), v[1 + k][2] = r * std::sin(2 * pi * k / 5);
            v[6 + k][0] = -x, v[6 + k][1] = r * std::cos(2 * pi * (k + 0.5) / 5),
                     v[6 + k][2] = r * std::sin(2 * pi * (k + 0.5) / 5);
        }
        made = true;
    }
    // The fan round +x, the band, the fan round -x.
    static const int faces[20 * 3] = {0, 1, 2,  0, 2, 3,  0, 3, 4,   0, 4, 5,   0, 5, 1,   1, 6, 2,   2, 7, 3,
                                      3, 8, 4,  4, 9, 5,  5, 10, 1,  1, 10, 6,  2, 6, 7,   3, 7, 8,   4, 8, 9,
                                      5, 9, 10, 11, 10, 9, 11, 6, 10, 11, 7, 6, 11, 8, 7, 11, 9, 8};
    // GLUT's normals are the edges' cross products, unnormalised: the area of
    // the parallelogram of two edges, e^2 sin 60 for the edge
    // e = 4 / sqrt(10 + 2 sqrt 5).
    const double e2 = 16 / (10 + 2 * std::sqrt(5.0));
    double lengths[20];
    for (double& l : lengths) l = e2 * std::sqrt(3.0) / 2;
    polyhedron(v, faces, 20, 3, wire, 1, nullptr, lengths);
}

// Radius sqrt(3): the cube's corners and twelve more on the coordinate planes.
void dodecahedron(bool wire) {
    const double p = (1 + std::sqrt(5.0)) / 2, q = 1 / p;
    const double v[20][3] = {
        {0, q, p},   {0, q, -p},  {0, -q, p},  {0, -q, -p},                                    // 0-3
        {q, p, 0},   {q, -p, 0},  {-q, p, 0},  {-q, -p, 0},                                    // 4-7
        {p, 0, q},   {p, 0, -q},  {-p, 0, q},  {-p, 0, -q},                                    // 8-11
        {1, 1, 1},   {1, 1, -1},  {1, -1, 1},  {1, -1, -1}, {-1, 1, 1}, {-1, 1, -1}, {-1, -1, 1},  // 12-18
        {-1, -1, -1}};                                                                          // 19
    // GLUT's is this table's mirror image in the plane x = y.
    static const int faces[12 * 5] = {8,  14, 2,  0,  12, 9,  13, 1,  3,  15, 10, 16, 0,  2,  18,
                                      11, 19, 3,  1,  17, 0,  16, 6,  4,  12, 2,  14, 5,  7,  18,
                                      1,  13, 4,  6,  17, 3,  19, 7,  5,  15, 4,  13, 9,  8,  12,
                                      6,  16, 10, 11, 17, 5,  14, 8,  9,  15, 7,  19, 11, 10, 18};
    double w[20][3];
    for (int i = 0; i < 20; ++i) w[i][0] = v[i][1], w[i][1] = v[i][0], w[i][2] = v[i][2];
    polyhedron(w, faces, 12, 5, wire);
}

// Radius 1: six corners of four faces on the axes' diagonals and z, eight of
// three at distance sqrt(3)/2.
void rhombicDodecahedron(bool wire) {
    const double h = std::sqrt(0.5);
    const double v[14][3] = {{0, 0, 1},   {h, 0, 0.5},  {0, h, 0.5},  {-h, 0, 0.5}, {0, -h, 0.5},
                             {h, h, 0},   {-h, h, 0},   {-h, -h, 0},  {h, -h, 0},   {h, 0, -0.5},
                             {0, h, -0.5}, {-h, 0, -0.5}, {0, -h, -0.5}, {0, 0, -1}};
    static const int faces[12 * 4] = {0, 1, 5, 2,   0, 2, 6, 3,    0, 3, 7, 4,    0, 4, 8, 1,
                                      5, 10, 6, 2,  6, 11, 7, 3,   7, 12, 8, 4,   8, 9, 5, 1,
                                      5, 9, 13, 10, 6, 10, 13, 11, 7, 11, 13, 12, 8, 12, 13, 9};
    // GLUT's normals of the faces round the poles are sqrt(1/2) long.
    static const double lengths[12] = {h, h, h, h, 1, 1, 1, 1, h, h, h, h};
    polyhedron(v, faces, 12, 4, wire, 1, nullptr, lengths);
}

// Tetrahedra of half the size at the corners of the one before, `levels` deep.
void sponge(int levels, const double offset[3], double scale, bool wire) {
    if (levels <= 0) {
        polyhedron(tetraVertices, tetraFaces, 4, 3, wire, scale, offset);
        return;
    }
    scale /= 2;
    for (const auto& corner : tetraVertices) {
        const double o[3] = {offset[0] + scale * corner[0], offset[1] + scale * corner[1],
                             offset[2] + scale * corner[2]};
        sponge(levels - 1, o, scale, wire);
    }
}

// ---- The teapot -------------------------------------------------------------------
// The Utah teapot's Bezier patches (Newell's published data, z up, spout
// towards +x): one quarter of the rim, body, lid and bottom, mirrored into the
// other three, and one half of the handle and spout, mirrored into the other.

static const float teapotPoints[][3] = {
    {1.4f, 0, 2.4f}, {1.4f, -0.784f, 2.4f}, {0.784f, -1.4f, 2.4f}, {0, -1.4f, 2.4f}, {1.3375f, 0, 2.53125f},
    {1.3375f, -0.749f, 2.53125f}, {0.749f, -1.3375f, 2.53125f}, {0, -1.3375f, 2.53125f}, {1.4375f, 0, 2.53125f},
    {1.4375f, -0.805f, 2.53125f}, {0.805f, -1.4375f, 2.53125f}, {0, -1.4375f, 2.53125f}, {1.5f, 0, 2.4f},
    {1.5f, -0.84f, 2.4f}, {0.84f, -1.5f, 2.4f}, {0, -1.5f, 2.4f}, {1.75f, 0, 1.875f}, {1.75f, -0.98f, 1.875f},
    {0.98f, -1.75f, 1.875f}, {0, -1.75f, 1.875f}, {2, 0, 1.35f}, {2, -1.12f, 1.35f}, {1.12f, -2, 1.35f},
    {0, -2, 1.35f}, {2, 0, 0.9f}, {2, -1.12f, 0.9f}, {1.12f, -2, 0.9f}, {0, -2, 0.9f}, {2, 0, 0.45f},
    {2, -1.12f, 0.45f}, {1.12f, -2, 0.45f}, {0, -2, 0.45f}, {1.5f, 0, 0.225f}, {1.5f, -0.84f, 0.225f},
    {0.84f, -1.5f, 0.225f}, {0, -1.5f, 0.225f}, {1.5f, 0, 0.15f}, {1.5f, -0.84f, 0.15f}, {0.84f, -1.5f, 0.15f},
    {0, -1.5f, 0.15f}, {-1.6f, 0, 2.025f}, {-1.6f, -0.3f, 2.025f}, {-1.5f, -0.3f, 2.25f}, {-1.5f, 0, 2.25f},
    {-2.3f, 0, 2.025f}, {-2.3f, -0.3f, 2.025f}, {-2.5f, -0.3f, 2.25f}, {-2.5f, 0, 2.25f}, {-2.7f, 0, 2.025f},
    {-2.7f, -0.3f, 2.025f}, {-3, -0.3f, 2.25f}, {-3, 0, 2.25f}, {-2.7f, 0, 1.8f}, {-2.7f, -0.3f, 1.8f},
    {-3, -0.3f, 1.8f}, {-3, 0, 1.8f}, {-2.7f, 0, 1.575f}, {-2.7f, -0.3f, 1.575f}, {-3, -0.3f, 1.35f},
    {-3, 0, 1.35f}, {-2.5f, 0, 1.125f}, {-2.5f, -0.3f, 1.125f}, {-2.65f, -0.3f, 0.9375f}, {-2.65f, 0, 0.9375f},
    {-2, 0, 0.9f}, {-2, -0.3f, 0.9f}, {-1.9f, -0.3f, 0.6f}, {-1.9f, 0, 0.6f}, {1.7f, 0, 1.425f},
    {1.7f, -0.66f, 1.425f}, {1.7f, -0.66f, 0.6f}, {1.7f, 0, 0.6f}, {2.6f, 0, 1.425f}, {2.6f, -0.66f, 1.425f},
    {3.1f, -0.66f, 0.825f}, {3.1f, 0, 0.825f}, {2.3f, 0, 2.1f}, {2.3f, -0.25f, 2.1f}, {2.4f, -0.25f, 2.025f},
    {2.4f, 0, 2.025f}, {2.7f, 0, 2.4f}, {2.7f, -0.25f, 2.4f}, {3.3f, -0.25f, 2.4f}, {3.3f, 0, 2.4f},
    {2.8f, 0, 2.475f}, {2.8f, -0.25f, 2.475f}, {3.525f, -0.25f, 2.49375f}, {3.525f, 0, 2.49375f},
    {2.9f, 0, 2.475f}, {2.9f, -0.15f, 2.475f}, {3.45f, -0.15f, 2.5125f}, {3.45f, 0, 2.5125f}, {2.8f, 0, 2.4f},
    {2.8f, -0.15f, 2.4f}, {3.2f, -0.15f, 2.4f}, {3.2f, 0, 2.4f}, {0, 0, 3.15f}, {0.8f, 0, 3.15f},
    {0.8f, -0.45f, 3.15f}, {0.45f, -0.8f, 3.15f}, {0, -0.8f, 3.15f}, {0, 0, 2.85f}, {0.2f, 0, 2.7f},
    {0.2f, -0.112f, 2.7f}, {0.112f, -0.2f, 2.7f}, {0, -0.2f, 2.7f}, {0.4f, 0, 2.55f}, {0.4f, -0.224f, 2.55f},
    {0.224f, -0.4f, 2.55f}, {0, -0.4f, 2.55f}, {1.3f, 0, 2.55f}, {1.3f, -0.728f, 2.55f}, {0.728f, -1.3f, 2.55f},
    {0, -1.3f, 2.55f}, {1.3f, 0, 2.4f}, {1.3f, -0.728f, 2.4f}, {0.728f, -1.3f, 2.4f}, {0, -1.3f, 2.4f},
    {0, 0, 0}, {1.425f, 0, 0}, {1.425f, -0.798f, 0}, {0.798f, -1.425f, 0}, {0, -1.425f, 0}, {1.5f, 0, 0.075f},
    {1.5f, -0.84f, 0.075f}, {0.84f, -1.5f, 0.075f}, {0, -1.5f, 0.075f},
};
static const unsigned char teapotPatches[][16] = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
    {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27},
    {24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39},
    {40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55},
    {52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67},
    {68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83},
    {80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95},
    {96, 96, 96, 96, 97, 98, 99, 100, 101, 101, 101, 101, 102, 103, 104, 105},
    {102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117},
    {118, 118, 118, 118, 122, 121, 120, 119, 126, 125, 124, 123, 39, 38, 37, 36},
};

// Patches 0-2 (rim, body) and 7-9 (lid, bottom) go round; 3-6 are handle and spout.
bool mirroredFourWays(int patch) { return patch < 3 || patch > 6; }

// Cubic Bernstein weights and their derivatives at t.
void bernstein(double t, double b[4], double d[4]) {
    const double s = 1 - t;
    b[0] = s * s * s, b[1] = 3 * t * s * s, b[2] = 3 * t * t * s, b[3] = t * t * t;
    d[0] = -3 * s * s, d[1] = 3 * s * s - 6 * t * s, d[2] = 6 * t * s - 3 * t * t, d[3] = 3 * t * t;
}

// The point and the outward normal of a patch at (u, v): u runs along a row
// of control points, v across the rows.
void evaluate(int patch, double u, double v, double p[3], double n[3]) {
    double bu[4], du[4], bv[4], dv[4];
    bernstein(u, bu, du);
    bernstein(v, bv, dv);
    double pu[3] = {0, 0, 0}, pv[3] = {0, 0, 0};
    p[0] = p[1] = p[2] = 0;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            const float* c = teapotPoints[teapotPatches[patch][i * 4 + j]];
            for (int k = 0; k < 3; ++k) {
                p[k] += bv[i] * bu[j] * c[k];
                pu[k] += bv[i] * du[j] * c[k];
                pv[k] += dv[i] * bu[j] * c[k];
            }
        }
    n[0] = pu[1] * pv[2] - pu[2] * pv[1];
    n[1] = pu[2] * pv[0] - pu[0] * pv[2];
    n[2] = pu[0] * pv[1] - pu[1] * pv[0];
    const double l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (l > 1e-9) {
        for (int k = 0; k < 3; ++k) n[k] /= l;
        return;
    }
    // A row of control points collapsed into one point (the lid's knob, the
    // bottom's centre): the normal is the limit from just inside the patch.
    double q[3];
    evaluate(patch, u, v < 0.5 ? v + 1e-4 : v - 1e-4, q, n);
}

// The teapot as GLUT places it: y up, spout towards +x, its height centred on
// the origin, half the size high per data unit; `grid` steps per patch side,
// the triangles wound clockwise seen from outside, as GLUT's are.
void teapot(double size, int grid, bool wire) {
    const double s = 0.5 * size;
    std::vector<double> pos((grid + 1) * (grid + 1) * 3), nor(pos.size());
    // GLUT's order: the patches that go round (rim, body, lid, bottom), then
    // the handle and the spout; the wire teapot's lines across the rows of
    // every patch, then those along them.
    for (int pass = 0; pass < (wire ? 2 : 1); ++pass)
    for (int patch : {0, 1, 2, 7, 8, 9, 3, 4, 5, 6}) {
        for (int i = 0; i <= grid; ++i)
            for (int j = 0; j <= grid; ++j)
                evaluate(patch, double(j) / grid, double(i) / grid, &pos[(i * (grid + 1) + j) * 3],
                         &nor[(i * (grid + 1) + j) * 3]);
        // The quarters (or halves) as mirror images in x and y of the one
        // stored, in GLUT's order. A mirror image is walked with u (a quarter)
        // or v (a half: handle, spout) the other way, so that its triangles
        // wind as the rest; its texture coordinates follow that walk.
        static const int quarters[4][2] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
        static const int halves[2][2] = {{1, 1}, {1, -1}};
        const bool round = mirroredFourWays(patch);
        for (int m = 0; m < (round ? 4 : 2); ++m) {
            const double sx = round ? quarters[m][0] : halves[m][0], my = round ? quarters[m][1] : halves[m][1];
            const bool flip = sx * my < 0;
            // Data (x, y, z) to GLUT's frame: z up becomes y up, y becomes -z;
            // the pot is moved down by half its height (3.15) and halved.
            auto put = [&](int i, int j) {
                if (!wire) glTexCoord2d(double(i) / grid, double(j) / grid);  // the wire teapot leaves them alone
                if (flip && round) j = grid - j;
                if (flip && !round) i = grid - i;
                const double* p = &pos[(i * (grid + 1) + j) * 3];
                const double* n = &nor[(i * (grid + 1) + j) * 3];
                glNormal3d(sx * n[0], n[2], -my * n[1]);
                glVertex3d(s * sx * p[0], s * (p[2] - 1.575), -s * my * p[1]);
            };
            if (wire) {
                for (int k = 0; k <= grid; ++k) {
                    glBegin(GL_LINE_STRIP);
                    for (int l = 0; l <= grid; ++l) pass == 0 ? put(l, k) : put(k, l);
                    glEnd();
                }
                continue;
            }
            glBegin(GL_TRIANGLES);
            for (int i = 0; i < grid; ++i)
                for (int j = 0; j < grid; ++j) {
                    // Two triangles per cell, clockwise from outside.
                    const int a[4][2] = {{i, j}, {i, j + 1}, {i + 1, j + 1}, {i + 1, j}};
                    static const int order[6] = {0, 3, 2, 0, 2, 1};
                    for (int k : order) put(a[k][0], a[k][1]);
                }
            glEnd();
        }
    }
}

const int solidTeapotGrid = 7, wireTeapotGrid = 9;

}  // namespace

extern "C" {

void glutSolidSphere(double radius, GLint slices, GLint stacks) { sphere(radius, slices, stacks, false); }
void glutWireSphere(double radius, GLint slices, GLint stacks) { sphere(radius, slices, stacks, true); }
void glutSolidCone(double base, double height, GLint slices, GLint stacks) {
    cone(base, height, slices, stacks, false);
}
void glutWireCone(double base, double height, GLint slices, GLint stacks) { cone(base, height, slices, stacks, true); }
void glutSolidCylinder(double radius, double height, GLint slices, GLint stacks) {
    cylinder(radius, height, slices, stacks, false);
}
void glutWireCylinder(double radius, double height, GLint slices, GLint stacks) {
    cylinder(radius, height, slices, stacks, true);
}
void glutSolidTorus(double inner, double outer, GLint sides, GLint rings) { torus(inner, outer, sides, rings, false); }
void glutWireTorus(double inner, double outer, GLint sides, GLint rings) { torus(inner, outer, sides, rings, true); }
void glutSolidCube(double size) { cube(size, false); }
void glutWireCube(double size) { cube(size, true); }
void glutSolidOctahedron(void) { octahedron(false); }
void glutWireOctahedron(void) { octahedron(true); }
void glutSolidTetrahedron(void) { tetrahedron(false); }
void glutWireTetrahedron(void) { tetrahedron(true); }
void glutSolidIcosahedron(void) { icosahedron(false); }
void glutWireIcosahedron(void) { icosahedron(true); }
void glutSolidDodecahedron(void) { dodecahedron(false); }
void glutWireDodecahedron(void) { dodecahedron(true); }
void glutSolidRhombicDodecahedron(void) { rhombicDodecahedron(false); }
void glutWireRhombicDodecahedron(void) { rhombicDodecahedron(true); }
void glutSolidSierpinskiSponge(int levels, double offset[3], double scale) { sponge(levels, offset, scale, false); }
void glutWireSierpinskiSponge(int levels, double offset[3], double scale) { sponge(levels, offset, scale, true); }
void glutSolidTeapot(double size) { teapot(size, solidTeapotGrid, false); }
void glutWireTeapot(double size) { teapot(size, wireTeapotGrid, true); }

}  // extern "C"
