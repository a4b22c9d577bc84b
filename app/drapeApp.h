// The cloth demo: 3600 knobs on a 60 x 60 grid joined by springs, falling onto a
// height field, advanced one fixed step and drawn as a white wire grid per frame.
#pragma once

#include <type_traits>
#include <typeinfo>

#include "framework/zoApp.h"
#include "math/zoVec3f.h"
#include "shape/zoNiceShapes.h"

struct clothknob {
    zoVec3f pos;   // z is up
    zoVec3f vel;
    bool on_surf;  // frozen for good once it has touched the surface

    clothknob() {}  // pos and vel start at (0, 0, 0); on_surf is set by drapeApp
};

// The cloth's constants, named once for the demo, its variants, the tools, the
// benchmarks and the tests. The grid: DRAPE_SIDE x DRAPE_SIDE knobs.
#define DRAPE_SIDE 60
#define DRAPE_KNOBS 3600  // DRAPE_SIDE * DRAPE_SIDE
// Time units per frame. A double: each stage value is force x DRAPE_STEP in
// double, rounded to float once; the move uses float(DRAPE_STEP), 0.2f.
#define DRAPE_STEP 0.2
// Velocity factor per frame. A double, for the stable variant's derivation;
// the frame's damping uses float(DRAPE_DAMPING), 0.9f.
#define DRAPE_DAMPING 0.9
#define DRAPE_STIFFNESS 30.0f    // a spring's force per unit of stretch
#define DRAPE_REST_LENGTH 1.0f   // the springs' rest length, the grid's spacing at the start
#define DRAPE_GRAVITY (-0.1f)    // enviro's z: added to every free knob's velocity each frame

// The grid's springs. Knob k sits in column k % DRAPE_SIDE and row
// k / DRAPE_SIDE; its neighbours, in the order their springs are summed, are
// the previous column, the next column, the previous row and the next row,
// each missing on its own border of the grid.
constexpr int drapeNeighbourOffset[4] = {-1, 1, -DRAPE_SIDE, DRAPE_SIDE};
struct drapeNeighbours {
    bool has[4];  // in the order of drapeNeighbourOffset
};
inline drapeNeighbours drapeNeighboursOf(int k) {
    const int col = k % DRAPE_SIDE;
    return {{col != 0, col != DRAPE_SIDE - 1, k >= DRAPE_SIDE, k < DRAPE_KNOBS - DRAPE_SIDE}};
}

class drapeApp : public zoApp {
public:
    zoMeshShape* blanky;
    clothknob thread[DRAPE_KNOBS];
    zoVec3f del1, del2, del3, del4;  // spring scratch: knob -> neighbour
    zoVec3f force;
    zoVec3f zero;
    zoVec3f enviro;
    zoVec3f k1[DRAPE_KNOBS], k2[DRAPE_KNOBS], k3[DRAPE_KNOBS], k4[DRAPE_KNOBS];
    float dist1, dist2, dist3, dist4;
    float fx, fy, j;
    int i;  // knob index of the loop at work
    int h;  // left as the drawing loop's inner index once ended (the loop counts in locals)
    int m;  // frame counter
    int n;
    // With drapeApp's own surface: each frozen knob's first 16 bytes (pos and
    // vel.x) as the contact pass last found it at or above the ground. A frozen
    // knob still there, bit for bit, would pass the test again and is not
    // tested; one that anybody moved (the knobs are public) is. At the start
    // pos (0, 0, +inf), above any ground.
    struct restingPlace {
        alignas(16) unsigned char bytes[16];
    };
    restingPlace restsAt[DRAPE_KNOBS];
    // The class that declared itself with keepsOwnParts (see there), and
    // whether that class has drapeApp's own rungef and surface.
    const std::type_info* declaredClass;
    bool declaredOwnRungef, declaredOwnSurface;

    drapeApp();

    // One frame: the cloth's transforms, the camera capture, step(), the wire
    // grid, and the frame counter.
    void draw() override;
    virtual void rungef(clothknob* P, zoVec3f& vstore, zoVec3f ref, int i);
    virtual float surface(float x, float y);

    // The simulation of one frame, in the order draw() runs it. It makes no GL
    // call, so tools and benchmarks can advance the cloth without a window;
    // draw() is exactly this plus the GL calls. A cloth of another integrator
    // (stableDrapeApp) overrides it.
    virtual void step();  // contactPass(), stagePass(), updatePass()
    void contactPass();   // lift knobs below the surface onto it and freeze them
    void stagePass();     // four rungef stages per free knob
    void updatePass();    // weighted update, enviro, damping and motion

    // Whether this cloth's rungef and surface are drapeApp's own. Then the
    // stage pass computes each free knob's stage value once, leaving k1 .. k4
    // and the scratch exactly as the four calls would, and the contact pass
    // asks the ground once per knob it tests and passes over frozen knobs still
    // where it found them (restsAt). Otherwise every call is made, in the same
    // order and with the same arguments. Decided per pass: true only for a
    // cloth whose class is the one that declared itself last.
    bool ownRungef() const { return declaredOwnRungef && typeid(*this) == *declaredClass; }
    bool ownSurface() const { return declaredOwnSurface && typeid(*this) == *declaredClass; }

    // The GL parts of draw(), before and after the simulation.
    void placeCloth();    // translate, tilt and scale the cloth; capture the camera
    void drawCloth();     // the 6844 white segments in one GL_LINES block

protected:
    // Called by the constructor of a subclass Self that wants the passes'
    // direct computation for its cloths: records Self and whether it keeps
    // drapeApp's rungef and surface (an override of its own, or of a class
    // between, shows in the type of &Self::rungef). A cloth of a class that has
    // not declared itself gets every call.
    template <class Self>
    void keepsOwnParts() {
        static_assert(std::is_base_of<drapeApp, Self>::value, "a class of the cloth");
        declaredClass = &typeid(Self);
        declaredOwnRungef = std::is_same<decltype(&Self::rungef), decltype(&drapeApp::rungef)>::value;
        declaredOwnSurface = std::is_same<decltype(&Self::surface), decltype(&drapeApp::surface)>::value;
    }
};

// How rungef and the stage pass compute the springs: one knob's four springs
// side by side in lanes, or (in the stage pass) four knobs side by side, with
// SSE2 or AVX instructions (app/drapeLanes.h); or plain scalar code, for
// processors without SSE2 and the web build. Chosen at start-up from the
// processor (AVX where it has it); every choice gives the same bits, and the
// tests run each the processor has.
enum drapeLanes { DRAPE_LANES_PLAIN, DRAPE_LANES_SSE2, DRAPE_LANES_AVX };
extern drapeLanes drapeSpringLanes;
// Whether this build and processor can run that choice.
bool drapeLanesAvailable(drapeLanes lanes);

extern "C" {
zoApp* makeApp();
extern char my_type[4];
}
