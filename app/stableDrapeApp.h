// The cloth demo with a stable integrator: the same cloth, springs, ground,
// camera and picture as drapeApp, but each displayed frame advances the cloth
// by its 0.2 time units in substeps short enough for the stiffness 30 springs.
// drapeApp's own step stays as it is, with its instability (see the .cpp).
#pragma once

#include "app/drapeApp.h"

class stableDrapeApp : public drapeApp {
public:
    int substeps;        // substeps per displayed frame
    float subStep;       // time per substep: 0.2 / substeps
    float subScale;      // rungef's stage values are force x 0.2; this makes them force x subStep
    float subDamping;    // velocity factor per substep: 0.9^(1 / substeps)
    zoVec3f subEnviro;   // environment term per substep (see the constructor)

    stableDrapeApp();  // two substeps

    // Sets the number of substeps per frame and the per-substep constants that
    // go with it. One substep is drapeApp's own step, bit for bit. A count below
    // 1 is refused with a message and changes nothing.
    void setSubsteps(int count);

    // One frame: drapeApp's transforms and camera capture, stableStep(), the
    // same white wire grid, and the frame counter.
    void draw() override;

    // The simulation of one frame without any GL call (for tools and tests):
    // `substeps` times drapeApp's contact pass, its four-stage pass, and
    // subUpdatePass().
    void stableStep();
    // The update of one substep: the weighted stages scaled to the substep,
    // subEnviro, subDamping and a move by subStep.
    void subUpdatePass();
};

extern "C" {
// The factory of the stable variant (makeApp stays drapeApp's).
zoApp* makeStableApp();
}
