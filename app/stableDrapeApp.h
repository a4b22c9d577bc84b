// The cloth demo with a stable integrator: the same cloth, springs, ground,
// camera and picture as drapeApp, but each displayed frame advances the cloth
// by its DRAPE_STEP time units in substeps short enough for the springs.
// drapeApp's own step stays as it is, with its instability (see the .cpp).
#pragma once

#include "app/drapeApp.h"

class stableDrapeApp : public drapeApp {
public:
    int substeps;        // substeps per displayed frame
    float subStep;       // time per substep, h / substeps (h = DRAPE_STEP): the move is vel x subStep
    float subScale;      // c (see the .cpp): rungef's stage values, force x h, enter each
                         // substep's velocity as c x force x h; c = 1 for one substep
    float subDamping;    // velocity factor per substep: DRAPE_DAMPING^(1 / substeps)
    zoVec3f subEnviro;   // environment term per substep: enviro x subScale

    stableDrapeApp();  // two substeps

    // Sets the number of substeps per frame and the per-substep constants that
    // go with it. One substep is drapeApp's own step, bit for bit. A count below
    // 1 is refused with a message and changes nothing.
    void setSubsteps(int count);

    // The simulation of one frame, without any GL call: `substeps` times
    // drapeApp's contact pass, its four-stage pass, and subUpdatePass().
    // drapeApp's draw() runs it between the same transforms and wire grid.
    void step() override;
    // The update of one substep: the weighted stages scaled to the substep,
    // subEnviro, subDamping and a move by subStep.
    void subUpdatePass();
    // Called by step() at the end of every substep; does nothing here. A
    // subclass that moves knobs itself (the testbed's grabbed knob) does it
    // here, so that every substep sees the move.
    virtual void afterSubstep() {}
};

extern "C" {
// The factory of the stable variant (makeApp stays drapeApp's).
zoApp* makeStableApp();
}
