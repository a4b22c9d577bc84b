// The web layer's GLUT shapes (platform/web/glutShapes.cpp, compiled here under
// other names by glut_renamed.h) against freeglut's own, both drawn by Mesa
// in one window: the same picture for every shape, solid and wire, lit by three
// coloured lights from the axes (so normals show), with back faces culled (so
// winding shows) and the teapot textured (so texture coordinates show).
// Then the shapes' geometry alone: normals of unit length pointing outwards.
//
// Prints "ok: ..." or "FAIL: ..." per case; exit status 0 when all pass.
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" {
#define SHAPE(name, ...) void zwSolid##name(__VA_ARGS__); void zwWire##name(__VA_ARGS__);
SHAPE(Sphere, double, GLint, GLint)
SHAPE(Cone, double, double, GLint, GLint)
SHAPE(Cylinder, double, double, GLint, GLint)
SHAPE(Torus, double, double, GLint, GLint)
SHAPE(Cube, double)
SHAPE(Octahedron, void)
SHAPE(Tetrahedron, void)
SHAPE(Icosahedron, void)
SHAPE(Dodecahedron, void)
SHAPE(RhombicDodecahedron, void)
SHAPE(SierpinskiSponge, int, double*, double)
SHAPE(Teapot, double)
#undef SHAPE
}

namespace {

const int side = 200;
int passed = 0, failed = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    (ok ? passed : failed)++;
}

double sponge[3] = {0, 0, 0};

// One row per shape call: freeglut's and ours, drawn alike. Wire polyhedra
// are compared unlit: an edge of two faces takes the colour of the face drawn
// first, and GLUT's order of faces is its own business. The teapot is compared
// with its texture; culled, a few texels at its rim fall differently.
struct Case {
    const char* name;
    void (*glut)();
    void (*ours)();
    bool wire, lit;
    double allowed;  // percent of the shape's pixels
};

#define BOTH(label, wire, lit, allowed, call) {label, [] { glut##call; }, [] { zw##call; }, wire, lit, allowed}
const Case cases[] = {
    BOTH("solid sphere", false, true, 1, SolidSphere(1.2, 16, 12)),
    BOTH("wire sphere", true, true, 1, WireSphere(1.2, 10, 7)),
    BOTH("solid cone", false, true, 1, SolidCone(1, 1.6, 14, 5)),
    BOTH("wire cone", true, true, 1, WireCone(1, 1.6, 9, 4)),
    BOTH("solid cylinder", false, true, 1, SolidCylinder(0.8, 1.5, 13, 3)),
    BOTH("wire cylinder", true, true, 1, WireCylinder(0.8, 1.5, 9, 3)),
    BOTH("solid torus", false, true, 1, SolidTorus(0.35, 1.1, 12, 20)),
    BOTH("wire torus", true, true, 1, WireTorus(0.35, 1.1, 8, 12)),
    BOTH("solid cube", false, true, 1, SolidCube(1.6)),
    BOTH("wire cube", true, false, 1, WireCube(1.6)),
    BOTH("solid octahedron", false, true, 1, SolidOctahedron()),
    BOTH("wire octahedron", true, false, 1, WireOctahedron()),
    BOTH("solid tetrahedron", false, true, 1, SolidTetrahedron()),
    BOTH("wire tetrahedron", true, false, 1, WireTetrahedron()),
    BOTH("solid icosahedron", false, true, 1, SolidIcosahedron()),
    BOTH("wire icosahedron", true, false, 1, WireIcosahedron()),
    BOTH("solid dodecahedron", false, true, 1, SolidDodecahedron()),
    BOTH("wire dodecahedron", true, false, 1, WireDodecahedron()),
    BOTH("solid rhombic dodecahedron", false, true, 1, SolidRhombicDodecahedron()),
    BOTH("wire rhombic dodecahedron", true, false, 1, WireRhombicDodecahedron()),
    BOTH("solid sierpinski sponge", false, true, 1, SolidSierpinskiSponge(2, sponge, 1.5)),
    BOTH("wire sierpinski sponge", true, false, 1, WireSierpinskiSponge(2, sponge, 1.5)),
    BOTH("solid teapot", false, true, 2, SolidTeapot(1.1)),
    BOTH("wire teapot", true, true, 1, WireTeapot(1.1)),
};
#undef BOTH

struct Picture {
    std::vector<unsigned char> rgb;
};

void setup(bool cull, bool texture, bool lit) {
    glViewport(0, 0, side, side);
    glClearColor(0.1f, 0.1f, 0.1f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40, 1, 1, 20);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Red from +x, green from +y, blue from +z, in eye space.
    const GLfloat dirs[3][4] = {{1, 0, 0.3f, 0}, {0, 1, 0.3f, 0}, {0, 0, 1, 0}};
    const GLfloat colours[3][4] = {{1, 0.2f, 0.2f, 1}, {0.2f, 1, 0.2f, 1}, {0.2f, 0.2f, 1, 1}};
    for (int i = 0; i < 3; ++i) {
        glLightfv(GL_LIGHT0 + i, GL_POSITION, dirs[i]);
        glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, colours[i]);
        glEnable(GL_LIGHT0 + i);
    }
    if (lit) glEnable(GL_LIGHTING);
    else glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    glDisable(GL_NORMALIZE);  // so that the normals' lengths show too
    gluLookAt(3, 2.2f, 4.5f, 0, 0, 0, 0, 1, 0);
    if (cull) glEnable(GL_CULL_FACE);
    else glDisable(GL_CULL_FACE);
    glTexCoord2f(0, 0);
    if (texture) glEnable(GL_TEXTURE_2D);
    else glDisable(GL_TEXTURE_2D);
}

Picture draw(const Case& c, bool ours, bool cull, bool texture, float turn) {
    setup(cull, texture, c.lit);
    if (turn != 0) {
        glRotatef(turn, 1, 1, 0);
        glScalef(1.05f, 1.05f, 1.05f);
    }
    (ours ? c.ours : c.glut)();
    glFinish();
    Picture p;
    p.rgb.resize(side * side * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, side, side, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
    return p;
}

// The share of the shape's pixels (those not background in either picture)
// of `a` that no pixel of `b` within one pixel matches within `tolerance`, and
// the other way round: a shift of an edge by one pixel (two rasterisations of
// nearly the same vertices) is forgiven, a different shape or shading is not.
double mismatch(const Picture& a, const Picture& b, int tolerance) {
    auto near = [&](const unsigned char* p, const unsigned char* q) {
        return std::abs(p[0] - q[0]) <= tolerance && std::abs(p[1] - q[1]) <= tolerance &&
               std::abs(p[2] - q[2]) <= tolerance;
    };
    auto unmatched = [&](const Picture& x, const Picture& y) {
        int bad = 0;
        for (int r = 0; r < side; ++r)
            for (int c = 0; c < side; ++c) {
                const unsigned char* p = &x.rgb[(r * side + c) * 3];
                bool found = false;
                for (int dr = -1; dr <= 1 && !found; ++dr)
                    for (int dc = -1; dc <= 1 && !found; ++dc) {
                        const int rr = r + dr, cc = c + dc;
                        if (rr < 0 || cc < 0 || rr >= side || cc >= side) continue;
                        found = near(p, &y.rgb[(rr * side + cc) * 3]);
                    }
                bad += !found;
            }
        return bad;
    };
    const unsigned char background[3] = {26, 26, 26};  // the clear colour 0.1
    int shape = 0;
    for (int i = 0; i < side * side; ++i)
        shape += !near(&a.rgb[i * 3], background) || !near(&b.rgb[i * 3], background);
    return shape == 0 ? 0 : 100.0 * (unmatched(a, b) + unmatched(b, a)) / (2.0 * shape);
}

void checkerTexture() {
    unsigned char texels[8][8][3];
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool on = (x + y) % 2;
            texels[y][x][0] = on ? 255 : 40;
            texels[y][x][1] = on ? 255 : 40 + 20 * x;
            texels[y][x][2] = on ? 255 : 40 + 20 * y;
        }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 8, 8, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DEPTH | GLUT_SINGLE);
    glutInitWindowSize(side, side);
    glutCreateWindow("shapes check");
    checkerTexture();
    const int tolerance = 3;  // of 255 per channel: rounding of lit colours
    for (const Case& c : cases) {
        const bool teapot = std::strstr(c.name, "teapot") != nullptr;
        for (int pass = 0; pass < 2; ++pass) {
            const bool cull = pass == 1;
            if (cull && c.wire) continue;
            const Picture theirs = draw(c, false, cull, teapot, 0), ours = draw(c, true, cull, teapot, 0);
            const double share = mismatch(theirs, ours, tolerance);
            char what[200];
            std::snprintf(what, sizeof what, "%s%s matches freeglut's (%.2f%% of its pixels differ)", c.name,
                          cull ? ", back faces culled," : "", share);
            check(share <= c.allowed, what);
        }
        // The control: ours turned by 4 degrees and 5% larger must be told apart.
        const double turned = mismatch(draw(c, false, false, teapot, 0), draw(c, true, false, teapot, 4), tolerance);
        char what[200];
        std::snprintf(what, sizeof what, "%s turned by 4 degrees and 5%% larger is told apart (%.2f%%)", c.name, turned);
        check(turned > c.allowed, what);
    }
    std::printf("shapes check: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
