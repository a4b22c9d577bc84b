// drape-stable's testbed and the cloth's view, through the recording stand-in:
// the ground built from surface(), the shaded cloth, picking and pulling a knob,
// pause, single step, reset, keys and the status line.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "app/clothView.h"
#include "app/drapeHarness.h"
#include "app/drapeTestbed.h"
#include "framework_state.h"
#include "math/zoTransforms.h"

namespace {

// Tests release what the program keeps to the end, the mesh with it.
struct Discard {
    template <class App>
    void operator()(App* app) const {
        delete app->blanky;
        std::default_delete<App>()(app);  // exactly what was made
    }
};
template <class App>
using Owned = std::unique_ptr<App, Discard>;

// A ground flat at height 10 everywhere, reached only through the virtual call.
class flatGroundApp : public drapeApp {
public:
    float surface(float, float) override { return 10.0f; }
};

// One displayed frame through the framework's outermost frame, 1024 x 768.
void frame(zoApp& app) {
    zouWindowWidth = 1024;
    zouWindowHeight = 768;
    zouOpenToviFrame();
    app.draw();
    zouCloseToviFrame();
}

Owned<drapeTestbed> newTestbed() {
    fwtest::freshOpen();
    Owned<drapeTestbed> t(static_cast<drapeTestbed*>(makeTestbedApp()));
    EXPECT_NE(t, nullptr);
    t->resize(0, 0, 1024, 768);
    fakegl::recording = false;
    return t;
}

// Where GL itself puts a point of the cloth, from the stand-in's matrices and
// viewport as the last frame left them: projection x model-view, the division
// by w and the viewport, in double (an independent road to the framework's).
zoVec3f glWindow(const zoVec3f& p) {
    const std::vector<double>& P = fakegl::projectionStack.back();
    const std::vector<double>& V = fakegl::modelviewStack.back();
    double eye[4], clip[4];
    const double v[4] = {p.x, p.y, p.z, 1};
    for (int r = 0; r < 4; r++) eye[r] = V[r] * v[0] + V[4 + r] * v[1] + V[8 + r] * v[2] + V[12 + r] * v[3];
    for (int r = 0; r < 4; r++)
        clip[r] = P[r] * eye[0] + P[4 + r] * eye[1] + P[8 + r] * eye[2] + P[12 + r] * eye[3];
    const GLint* vp = fakegl::viewport;
    return zoVec3f(float(vp[0] + (clip[0] / clip[3] + 1) * 0.5 * vp[2]),
                   float(vp[1] + (clip[1] / clip[3] + 1) * 0.5 * vp[3]), float(clip[3]));
}

double distance(const zoVec3f& a, const zoVec3f& b) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

uint64_t stableHashAfter(long frames) {
    drapeCloth cloth(DRAPE_STABLE);
    cloth.step(frames);
    return drapeStateHash(*cloth);
}

}  // namespace

// ---- The ground --------------------------------------------------------------

TEST(ClothGround, BuiltFromTheVirtualSurfaceOnceAndCalledAfter) {
    fwtest::freshOpen();
    Owned<flatGroundApp> flat(new flatGroundApp());
    clothView view;
    view.ground = true;
    view.drawGround(*flat);
    // Flat everywhere: the coarse grid, and all of it one quad at height 10.
    EXPECT_EQ(view.groundMesh.xs.size(), size_t(CLOTH_GROUND_X1 - CLOTH_GROUND_X0) + 1);
    ASSERT_EQ(view.groundMesh.quads.size(), 1u);
    EXPECT_EQ(view.groundMesh.quads[0].x0, CLOTH_GROUND_X0);
    EXPECT_EQ(view.groundMesh.quads[0].y1, CLOTH_GROUND_Y1);
    int vertices = 0;
    for (const fakegl::Call& c : fakegl::only("glVertex3f")) {
        ASSERT_EQ(c.args[2], 10.0);
        vertices++;
    }
    EXPECT_EQ(vertices, int(4 * view.groundMesh.quads.size()));
    EXPECT_EQ(fakegl::count("glNewList"), 1);
    EXPECT_EQ(fakegl::count("glCallList"), 1);
    // Later frames only call the list.
    fakegl::calls.clear();
    view.drawGround(*flat);
    EXPECT_EQ(fakegl::count("glVertex3f"), 0);
    EXPECT_EQ(fakegl::count("glCallList"), 1);
    EXPECT_EQ(fakegl::count("glNewList"), 0);

    // Without room for a list, the quads go out every time instead.
    fakegl::reset();
    fakegl::nextList = 0;
    clothView immediate;
    immediate.drawGround(*flat);
    immediate.drawGround(*flat);
    EXPECT_EQ(fakegl::count("glCallList"), 0);
    EXPECT_EQ(fakegl::count("glVertex3f"), 2 * vertices);
}

TEST(ClothGround, DrapesGroundWithItsStepsAsSteepFaces) {
    fwtest::freshOpen();
    fakegl::recording = false;
    drapeCloth cloth(DRAPE_FAITHFUL);
    clothGroundMesh mesh;
    mesh.build(*cloth);
    // Every corner is the surface itself at that point.
    float highest = 0;
    double area = 0;
    int steep = 0;
    for (const clothGroundMesh::Quad& q : mesh.quads) {
        ASSERT_EQ(q.h00, cloth->surface(q.x0, q.y0));
        ASSERT_EQ(q.h11, cloth->surface(q.x1, q.y1));
        ASSERT_LT(q.x0, q.x1);
        ASSERT_LT(q.y0, q.y1);
        highest = std::max(highest, q.h11);
        area += double(q.x1 - q.x0) * (q.y1 - q.y0);
        // A jump of more than 10 over at most 1/32: the wall, the blocks, the ledge.
        if (std::fabs(q.h01 - q.h00) > 10 && q.y1 - q.y0 <= 1.0f / 32) steep++;
        if (std::fabs(q.h10 - q.h00) > 10 && q.x1 - q.x0 <= 1.0f / 32) steep++;
    }
    EXPECT_DOUBLE_EQ(area, double(CLOTH_GROUND_X1 - CLOTH_GROUND_X0) * (CLOTH_GROUND_Y1 - CLOTH_GROUND_Y0));
    EXPECT_GT(steep, 100);
    EXPECT_GE(highest, 25.0f);
    // The wall's two faces (y = 40 and 41) are among the lines, to 1/32.
    for (float edge : {40.0f, 41.0f}) {
        float nearest = 1;
        for (float y : mesh.ys) nearest = std::min(nearest, std::fabs(y - edge));
        EXPECT_LE(nearest, 1.0f / 32) << edge;
    }
    // Flat parts are merged: far fewer quads than grid cells.
    EXPECT_LT(mesh.quads.size(), (mesh.xs.size() - 1) * (mesh.ys.size() - 1) / 20);
    std::printf("ground: %zu x %zu lines, %zu quads\n", mesh.xs.size(), mesh.ys.size(), mesh.quads.size());

    // The colours tell heights apart and take any value.
    float low[3], high[3], nan[3];
    clothGroundColour(4, low);
    clothGroundColour(25, high);
    clothGroundColour(std::nanf(""), nan);
    EXPECT_GT(std::fabs(low[0] - high[0]) + std::fabs(low[2] - high[2]), 0.3f);
    for (int c = 0; c < 3; c++) EXPECT_EQ(nan[c], low[c]);
}

// ---- The cloth -----------------------------------------------------------------

TEST(ClothView, OffIsTheWireGridAndShadedGoesThroughTheMesh) {
    fwtest::freshOpen();
    drapeCloth a(DRAPE_STABLE), b(DRAPE_STABLE);
    a.step(50);
    b.step(50);
    clothView view;
    fakegl::calls.clear();
    view.drawFrame(a);
    const std::vector<std::string> viewed = fakegl::trace();
    fakegl::calls.clear();
    b->draw();
    EXPECT_EQ(viewed, fakegl::trace());
    EXPECT_EQ(a.frame, 51);

    view.shaded = true;
    fakegl::calls.clear();
    view.draw(*a);
    zoMeshShape* mesh = a->blanky;
    for (int k : {0, 61, 1830, 3599}) {
        EXPECT_EQ(mesh->vertexList[k].z, a->thread[k].pos.z) << k;
        EXPECT_EQ(mesh->vertexList[k].x, a->thread[k].pos.x) << k;
    }
    // Normals recomputed from the knobs: the middle of the hanging cloth is
    // neither flat nor unset.
    const zoVec3f& n = mesh->normalList[1830];
    EXPECT_NEAR(n.length(), 1.0f, 1e-5);
    EXPECT_GT(fakegl::count("glNormal3f"), 7000);
    EXPECT_EQ(fakegl::count("glBegin"), 60);  // 59 strips and the empty one after the last separator
    // Two-sided while the mesh is drawn, back to one side and the upward
    // normal the wire grid is lit with afterwards.
    const auto models = fakegl::only("glLightModeli");
    ASSERT_EQ(models.size(), 2u);
    EXPECT_EQ(models[0].args[1], 1.0);
    EXPECT_EQ(models[1].args[1], 0.0);
    const auto normals = fakegl::only("glNormal3f");
    EXPECT_EQ(normals.back().args, (std::vector<double>{0, 0, 1}));
    EXPECT_EQ(fakegl::count("glVertex3f"), 59 * 120);

    view.wireOnShaded = true;
    fakegl::calls.clear();
    view.draw(*a);
    EXPECT_EQ(fakegl::count("glVertex3f"), 59 * 120 + 4 * 59 * 58);
}

// ---- Picking and pulling ---------------------------------------------------------

TEST(Testbed, PicksTheNearestKnobOnScreen) {
    auto t = newTestbed();
    EXPECT_EQ(t->pickKnob(512, 384), -1);  // nothing drawn yet: no camera
    frame(*t);
    for (int k : {0, 59, 1830, 2000, 3599}) {
        const zoVec3f s = glWindow(t->thread[k].pos);
        EXPECT_EQ(t->pickKnob(s.x, s.y), k);
        EXPECT_EQ(t->pickKnob(s.x + 1.5f, s.y - 1.0f), k);
    }
    // Knobs sit about 5 pixels apart: beside the cloth's corner by more than
    // the radius there is none.
    const zoVec3f corner = glWindow(t->thread[0].pos);
    EXPECT_EQ(t->pickKnob(corner.x - testbedPickRadius - 1, corner.y), -1);
    EXPECT_EQ(t->pickKnob(5, 5), -1);
    EXPECT_EQ(t->pickKnob(std::nanf(""), 300), -1);
}

TEST(Testbed, GrabbedKnobFollowsAtTheBoundedSpeedAndIsLetGo) {
    auto t = newTestbed();
    frame(*t);
    const int k = 1830;
    const zoVec3f s = glWindow(t->thread[k].pos);
    t->mouseDown(s.x, s.y, GLUT_LEFT_BUTTON);
    ASSERT_EQ(t->grabbed, k);
    t->mouseDrag(s.x + 150, s.y + 40);
    // The target is under the pointer, in the plane of the knob's depth.
    const zoVec3f target = t->grabTarget;
    const zoVec3f seen = glWindow(target);
    EXPECT_NEAR(seen.x, s.x + 150, 0.01);
    EXPECT_NEAR(seen.y, s.y + 40, 0.01);
    EXPECT_NEAR(seen.z, s.z, 1e-3 * s.z);

    const double perFrame = testbedGrabSpeed * DRAPE_STEP;  // one rest length
    zoVec3f before = t->thread[k].pos;
    const double far = distance(before, target);
    ASSERT_GT(far, 10 * perFrame);
    int frames = 0;
    while (distance(t->thread[k].pos, target) > 0 && frames < 100) {
        frame(*t);
        frames++;
        const double moved = distance(t->thread[k].pos, before);
        ASSERT_LE(moved, perFrame * (1 + 1e-5)) << "frame " << frames;
        if (distance(t->thread[k].pos, target) > 0) {
            ASSERT_NEAR(moved, perFrame, 1e-4) << "frame " << frames;
        }
        ASSERT_LE(t->thread[k].vel.length(), testbedGrabSpeed * (1 + 1e-5));
        before = t->thread[k].pos;
    }
    EXPECT_EQ(frames, int(std::ceil(far / perFrame)));
    EXPECT_EQ(t->thread[k].pos.x, target.x);
    EXPECT_EQ(t->thread[k].pos.z, target.z);
    // Held still at the target, whatever the springs pull.
    frame(*t);
    EXPECT_EQ(t->thread[k].pos.y, target.y);

    t->mouseUp(s.x, s.y, GLUT_LEFT_BUTTON);
    EXPECT_EQ(t->grabbed, -1);
    frame(*t);
    EXPECT_NE(distance(t->thread[k].pos, target), 0.0);  // the springs have it again
}

TEST(Testbed, KnobOnTheGroundComesFreeAndFreezesAgainOnTouching) {
    auto t = newTestbed();
    for (int f = 0; f < 300; f++) t->step();
    frame(*t);
    int k = -1;  // the lowest knob on the ground
    for (int i = 0; i < DRAPE_KNOBS; i++)
        if (t->thread[i].on_surf && (k < 0 || t->thread[i].pos.z < t->thread[k].pos.z)) k = i;
    ASSERT_GE(k, 0);
    const zoVec3f s = glWindow(t->thread[k].pos);
    t->mouseDown(s.x, s.y, GLUT_LEFT_BUTTON);
    ASSERT_EQ(t->grabbed, k);
    EXPECT_FALSE(t->thread[k].on_surf);
    t->mouseDrag(s.x, s.y + 100);  // up the screen: away from the floor
    const float floor = t->surface(t->thread[k].pos.x, t->thread[k].pos.y);
    int onGround = 0;
    for (const clothknob& n : t->thread) onGround += n.on_surf;
    for (int f = 0; f < 10; f++) frame(*t);
    EXPECT_FALSE(t->thread[k].on_surf);
    EXPECT_GT(t->thread[k].pos.z, floor + 3);
    // The cloth peels off behind it: more knobs than the held one have left the ground.
    int lifted = onGround;
    for (const clothknob& n : t->thread) lifted -= n.on_surf;
    EXPECT_GE(lifted, 3);
    t->mouseUp(0, 0, GLUT_LEFT_BUTTON);
    int f = 0;
    while (!t->thread[k].on_surf && f < 400) frame(*t), f++;
    EXPECT_TRUE(t->thread[k].on_surf) << "still falling after 400 frames";
    EXPECT_EQ(t->thread[k].pos.z, t->surface(t->thread[k].pos.x, t->thread[k].pos.y));
}

// ---- Pause, step, reset ----------------------------------------------------------

TEST(Testbed, PauseStepAndReset) {
    auto t = newTestbed();
    for (int f = 0; f < 5; f++) frame(*t);
    EXPECT_EQ(drapeStateHash(*t), stableHashAfter(5));
    t->keyDown(' ');
    for (int f = 0; f < 3; f++) frame(*t);
    EXPECT_EQ(t->m, 5);
    EXPECT_EQ(drapeStateHash(*t), stableHashAfter(5));
    t->keyDown('n');
    for (int f = 0; f < 3; f++) frame(*t);
    EXPECT_EQ(t->m, 6);
    EXPECT_EQ(drapeStateHash(*t), stableHashAfter(6));
    // A drag while paused moves nothing until stepping resumes.
    const zoVec3f s = glWindow(t->thread[100].pos);
    t->mouseDown(s.x, s.y, GLUT_LEFT_BUTTON);
    t->mouseDrag(s.x + 50, s.y);
    frame(*t);
    EXPECT_EQ(drapeStateHash(*t), stableHashAfter(6));
    t->keyDown(' ');
    frame(*t);
    EXPECT_EQ(t->m, 7);
    EXPECT_NE(drapeStateHash(*t), stableHashAfter(7));

    // r during a drag: frame 0, nothing held, the same bits as a new cloth.
    for (int f = 0; f < 20; f++) frame(*t);
    t->keyDown('R');
    EXPECT_EQ(t->m, 0);
    EXPECT_EQ(t->grabbed, -1);
    EXPECT_EQ(drapeStateHash(*t), stableHashAfter(0));
    t->mouseDrag(900, 700);
    frame(*t);
    EXPECT_EQ(drapeStateHash(*t), stableHashAfter(1));
}

// ---- Keys, messages, the status line ----------------------------------------------

TEST(Testbed, KeysSayWhatTheyDoAndPassTheRestOn) {
    auto t = newTestbed();
    testing::internal::CaptureStdout();
    t->keyDown('w');
    t->keyDown('w');
    t->keyDown('w');
    t->keyDown('g');
    t->keyDown('n');  // running: refused
    t->keyDown('q');
    t->keyDown(char(200));
    t->specialKeyDown(GLUT_KEY_LEFT);
    t->mouseDown(5, 5, GLUT_LEFT_BUTTON);  // no frame yet: nothing to grab
    t->mouseDown(5, 5, GLUT_RIGHT_BUTTON);
    t->keyDown('h');
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("drape-stable: cloth: shaded\n"
                       "drape-stable: cloth: shaded with the wire grid\n"
                       "drape-stable: cloth: wire grid\n"
                       "drape-stable: ground off\n"
                       "drape-stable: n steps one frame while paused (space pauses)\n"
                       "drape-stable: the key 'q' does nothing (h lists the keys)\n"
                       "drape-stable: the key with code 200 does nothing (h lists the keys)\n"
                       "drape-stable: the special key 100 does nothing (h lists the keys)\n"
                       "drape-stable: no knob within 10 pixels of (5, 5)\n"
                       "drape-stable: only the left button grabs the cloth\n"),
              std::string::npos)
        << out;
    for (const char* key : {"space", "\n  n ", "\n  r ", "\n  w ", "\n  g ", "\n  s ", "\n  h ", "F1", "Escape"})
        EXPECT_NE(out.find(key), std::string::npos) << key;
    EXPECT_FALSE(t->look.shaded);
    EXPECT_FALSE(t->look.ground);
    EXPECT_EQ(t->m, 0);
    // F1 and Escape are zoApp's: a window of the screen less the margins, and
    // the wind-down taking over the idle callback.
    fakegl::recording = true;
    fakegl::calls.clear();
    t->specialKeyDown(GLUT_KEY_F1);
    EXPECT_EQ(fakegl::count("glutPositionWindow"), 1);
    t->keyDown(27);
    EXPECT_EQ(fakegl::idleFunc, winddown_cb);
}

TEST(Testbed, StatusLine) {
    auto t = newTestbed();
    char text[160];
    t->statusLine(text, sizeof text);
    EXPECT_STREQ(text, "frame 0   on the ground 0   mean speed 0.0000   -- fps");
    fakegl::elapsedMs = 1000;
    frame(*t);
    fakegl::elapsedMs = 1500;
    frame(*t);
    fakegl::elapsedMs = 2000;
    frame(*t);  // three frames, two in the second since the first
    t->keyDown(' ');
    t->statusLine(text, sizeof text);
    // Falling flat, every knob has the same speed.
    char want[160];
    std::snprintf(want, sizeof want, "frame 3   on the ground 0   mean speed %.4f   2 fps   paused",
                  double(std::fabs(t->thread[0].vel.z)));
    EXPECT_STREQ(text, want);
    // Drawn in the corner's pixels, unlit, over everything, twice (shadow and text).
    fakegl::recording = true;
    fakegl::calls.clear();
    frame(*t);
    EXPECT_EQ(fakegl::count("glutBitmapCharacter"), 2 * int(std::strlen(text)));
    const auto at = fakegl::only("glRasterPos2f");
    ASSERT_EQ(at.size(), 2u);
    EXPECT_EQ(at[1].args, (std::vector<double>{10, 768 - 22}));
    // Lighting and the depth test back on, as the outermost frame has them.
    const auto enables = fakegl::only("glEnable");
    EXPECT_EQ(enables.back().args, (std::vector<double>{GL_LIGHTING}));
    EXPECT_EQ(enables[enables.size() - 2].args, (std::vector<double>{GL_DEPTH_TEST}));
    t->keyDown('s');
    fakegl::calls.clear();
    frame(*t);
    EXPECT_EQ(fakegl::count("glutBitmapCharacter"), 0);
}

// ---- Anything at any time --------------------------------------------------------

TEST(Testbed, RandomDragsAndKeysLeaveTheClothFiniteAndBounded) {
    auto t = newTestbed();
    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> anywhere(-2000, 3000);
    std::uniform_int_distribution<int> percent(0, 99), key(1, 126);
    testing::internal::CaptureStdout();
    for (int event = 0; event < 3000; event++) {
        const int what = percent(rng);
        const float x = anywhere(rng), y = anywhere(rng);
        if (what < 30) {
            // Mostly near the cloth's middle, so that knobs do get grabbed.
            const zoVec3f s = glWindow(t->thread[1830 + percent(rng)].pos);
            t->mouseDown(what < 20 ? s.x : x, what < 20 ? s.y : y, what < 28 ? GLUT_LEFT_BUTTON : GLUT_RIGHT_BUTTON);
        } else if (what < 70) {
            t->mouseDrag(x, y);
        } else if (what < 75) {
            t->mouseUp(x, y, GLUT_LEFT_BUTTON);
        } else if (what < 78) {
            const char k = char(key(rng));
            if (k != 27) t->keyDown(k);
        } else {
            frame(*t);
        }
    }
    testing::internal::GetCapturedStdout();
    int moved = 0;
    for (int f = 0; f < 50; f++) frame(*t);
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const clothknob& n = t->thread[k];
        for (float v : {n.pos.x, n.pos.y, n.pos.z, n.vel.x, n.vel.y, n.vel.z}) ASSERT_TRUE(std::isfinite(v)) << k;
        ASSERT_GE(n.pos.x, CLOTH_GROUND_X0 - DRAPE_SIDE) << k;
        ASSERT_LE(n.pos.x, CLOTH_GROUND_X1 + DRAPE_SIDE) << k;
        ASSERT_GE(n.pos.y, CLOTH_GROUND_Y0 - DRAPE_SIDE) << k;
        ASSERT_LE(n.pos.y, CLOTH_GROUND_Y1 + DRAPE_SIDE) << k;
        ASSERT_GE(n.pos.z, 0.0f) << k;
        ASSERT_LE(n.pos.z, TESTBED_GRAB_TOP + DRAPE_SIDE) << k;
        moved += distance(n.pos, t->start[k].pos) > 0;
    }
    EXPECT_GT(moved, 0);
}
