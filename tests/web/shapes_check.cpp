// The web layer's GLUT shapes (platform/web/glutShapes.cpp, compiled here under
// other names, zwSolidSphere..., by tests/CMakeLists.txt) against freeglut's
// own: each shape is drawn by both in GL's feedback mode, which hands back
// every primitive as Mesa rasterises it, its vertices in order with their
// window position, lit colour and texture coordinate. The two lists must agree:
// the same primitives in the same order (so winding and flat shading's
// provoking vertices agree), the same places, the same normals (three coloured
// lights from the axes, without GL_NORMALIZE, so their lengths count too) and
// texture coordinates.
//
// Prints "ok: ..." or "FAIL: ..." per case; exit status 0 when all pass.
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <functional>
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

int passed = 0, failed = 0;
void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    (ok ? passed : failed)++;
}

double sponge[3] = {0.1, 0, 0};

// Values agree within `within`: a thousandth of a pixel, of a colour step, of
// a texel's coordinate; the teapot's within a twentieth (GLUT's lid comes out
// up to a thirtieth of a pixel elsewhere, its colours two thousandths apart).
struct Case {
    const char* name;
    void (*glut)();
    void (*ours)();
    float within = 1e-3f;
};
#define BOTH(label, call, ...) {label, [] { glut##call; }, [] { zw##call; }, ##__VA_ARGS__}
const Case cases[] = {
    BOTH("solid sphere", SolidSphere(1.2, 16, 12)),
    BOTH("wire sphere", WireSphere(1.2, 10, 7)),
    BOTH("solid cone", SolidCone(1, 1.6, 14, 5)),
    BOTH("wire cone", WireCone(1, 1.6, 9, 4)),
    BOTH("solid cylinder", SolidCylinder(0.8, 1.5, 13, 3)),
    BOTH("wire cylinder", WireCylinder(0.8, 1.5, 9, 3)),
    BOTH("solid torus", SolidTorus(0.35, 1.1, 12, 20)),
    BOTH("wire torus", WireTorus(0.35, 1.1, 8, 12)),
    BOTH("solid cube", SolidCube(1.6)),
    BOTH("wire cube", WireCube(1.6)),
    BOTH("solid octahedron", SolidOctahedron()),
    BOTH("wire octahedron", WireOctahedron()),
    BOTH("solid tetrahedron", SolidTetrahedron()),
    BOTH("wire tetrahedron", WireTetrahedron()),
    BOTH("solid icosahedron", SolidIcosahedron()),
    BOTH("wire icosahedron", WireIcosahedron()),
    BOTH("solid dodecahedron", SolidDodecahedron()),
    BOTH("wire dodecahedron", WireDodecahedron()),
    BOTH("solid rhombic dodecahedron", SolidRhombicDodecahedron()),
    BOTH("wire rhombic dodecahedron", WireRhombicDodecahedron()),
    BOTH("solid Sierpinski sponge", SolidSierpinskiSponge(2, sponge, 1.5)),
    BOTH("wire Sierpinski sponge", WireSierpinskiSponge(2, sponge, 1.5)),
    BOTH("solid teapot", SolidTeapot(1.1), 0.05f),
    BOTH("wire teapot", WireTeapot(1.1), 0.05f),
};
#undef BOTH

// The feedback of a drawing, seen from a corner of a 200 x 200 window.
std::vector<float> feedback(void (*draw)(), float turn) {
    static std::vector<GLfloat> buffer(1 << 19);
    glViewport(0, 0, 200, 200);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40, 1, 1, 20);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat dirs[3][4] = {{1, 0, 0.3f, 0}, {0, 1, 0.3f, 0}, {0, 0, 1, 0}};
    const GLfloat colours[3][4] = {{1, 0.2f, 0.2f, 1}, {0.2f, 1, 0.2f, 1}, {0.2f, 0.2f, 1, 1}};
    for (int i = 0; i < 3; ++i) {
        glLightfv(GL_LIGHT0 + i, GL_POSITION, dirs[i]);
        glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, colours[i]);
        glEnable(GL_LIGHT0 + i);
    }
    glEnable(GL_LIGHTING);
    gluLookAt(3, 2.2, 4.5, 0, 0, 0, 0, 1, 0);
    glRotatef(turn, 1, 1, 0);
    glTexCoord4f(0, 0, 0, 1);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int n = glRenderMode(GL_RENDER);
    return std::vector<float>(buffer.begin(), buffer.begin() + (n < 0 ? 0 : n));
}

bool same(const std::vector<float>& a, const std::vector<float>& b, float within) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::fabs(a[i] - b[i]) > within) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitWindowSize(200, 200);
    glutCreateWindow("shapes check");
    for (const Case& c : cases) {
        const std::vector<float> theirs = feedback(c.glut, 0);
        check(!theirs.empty() && same(theirs, feedback(c.ours, 0), c.within),
              std::string(c.name) + ": GLUT's primitives, vertices, normals and texture coordinates (" +
                  std::to_string(theirs.size()) + " values)");
        check(!same(theirs, feedback(c.ours, 0.5f), c.within),
              std::string(c.name) + ": turned by half a degree, told apart");
    }
    std::printf("shapes check: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
