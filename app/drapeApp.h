// The cloth demo: 3600 knobs on a 60 x 60 grid joined by springs, falling onto a
// height field, advanced one fixed step and drawn as a white wire grid per frame.
#pragma once

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
    int h;  // inner index of the drawing loop
    int m;  // frame counter
    int n;

    drapeApp();

    // One frame: the cloth's transforms, the camera capture, the simulation
    // passes below, the wire grid, and the frame counter.
    void draw() override;
    virtual void rungef(clothknob* P, zoVec3f& vstore, zoVec3f ref, int i);
    virtual float surface(float x, float y);

    // The simulation passes of one frame, in the order draw() runs them. They
    // make no GL call, so tools and benchmarks can advance the cloth without a
    // window; draw() is exactly these plus the GL calls.
    void step();          // contactPass(), stagePass(), updatePass()
    void contactPass();   // lift knobs below the surface onto it and freeze them
    void stagePass();     // four rungef stages per free knob
    void updatePass();    // weighted update, enviro, damping and motion

    // The GL parts of draw(), before and after the simulation.
    void placeCloth();    // translate, tilt and scale the cloth; capture the camera
    void drawCloth();     // the 6844 white segments in one GL_LINES block
};

// Whether rungef computes its four springs with AVX instructions rather than
// SSE2; set at start-up from the processor. Both give the same bits (tests run
// both); without AVX it must stay false.
extern bool drapeSpringsUseAVX;

extern "C" {
zoApp* makeApp();
extern char my_type[4];
}
