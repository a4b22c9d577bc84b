// The stable cloth: drapeApp's frame in substeps.
//
// Why drapeApp's step flies apart. rungef depends on positions only, so the
// four stages of a frame are equal and a frame is, for each free knob,
//     v <- d (v + h F + e),   x <- x + h v        (h = 0.2, d = 0.9, e = enviro)
// with F the spring force. Near rest, a mode of the cloth whose grid-Laplacian
// eigenvalue is lambda feels F = -30 lambda x, and the map of (x, v) is
//     [ 1 - 30 lambda h^2 d    h d ]
//     [   - 30 lambda h d       d  ]
// with determinant d and trace 1 + d - 30 lambda h^2 d. Both eigenvalues lie
// inside the unit circle exactly while |trace| < 1 + determinant, that is for
//     lambda < lambda_max = 2 (1 + d) / (30 h^2 d).
// For h = 0.2 and d = 0.9 that is 3.8 / 1.08 = 3.52, but a chain of springs
// reaches lambda = 4 and the grid 8: the zigzag modes grow by about 1.96 a
// frame once frozen knobs disturb the flat fall.
//
// The fix: s substeps of h_s = 0.2 / s per displayed frame, with
//     d_s = 0.9^(1/s)                   damping per substep, and
//     c   = 0.9 (1 - d_s) / (0.1 d_s)   scale of a frame's stage value and
//                                       enviro per substep,
// so that for slow motion (forces constant over a frame) a frame of substeps
// maps v to 0.9 v + 0.9 (k + e) exactly as a frame of drapeApp does: the same
// terminal falling speed 0.9, the same force balance at rest. (c = 1 for s = 1.)
// Per substep the spring impulse is c h F and the move h_s v, so
//     lambda_max = 2 (1 + d_s) / (30 (0.2 / s) (0.2 c) d_s).
// s = 2: d_s = 0.948683, c = 0.486833, lambda_max = 14.06 > 8, the grid's
// largest eigenvalue, with room to spare for springs stiffer than at rest, and
// a frame's determinant is still 0.9, so every oscillating mode loses the same
// share per frame as in drapeApp. Two substeps cost twice the simulation of
// one frame; three (lambda_max = 31) would buy nothing visible.
#include "app/stableDrapeApp.h"

#include <cmath>
#include <new>

#include "framework/zou.h"

extern "C" {
__attribute__((visibility("default"))) zoApp* makeStableApp() {
    return new (std::nothrow) stableDrapeApp();
}
}

stableDrapeApp::stableDrapeApp() {
    setSubsteps(2);
}

void stableDrapeApp::setSubsteps(int count) {
    if (count < 1) {
        zouDebug(2, "setSubsteps: the count of substeps must be at least 1");
        return;
    }
    substeps = count;
    const double d = std::pow(0.9, 1.0 / count);
    const double c = 0.9 * (1.0 - d) / (0.1 * d);
    subStep = float(0.2 / count);
    subDamping = float(d);
    subScale = float(c);  // exactly 1 for one substep
    subEnviro = enviro * subScale;
}

void stableDrapeApp::subUpdatePass() {
    for (i = 0; i < DRAPE_KNOBS; i++) {
        clothknob& k = thread[i];
        if (k.on_surf) continue;
        zoVec3f a = (((k1[i] / 6.0f + k2[i] / 3.0f) + k3[i] / 3.0f) + k4[i] / 6.0f) * subScale + subEnviro;
        k.vel += a;
        k.vel *= subDamping;
        k.pos += k.vel * subStep;
    }
}

void stableDrapeApp::stableStep() {
    // The contact pass runs before every substep, so a knob that a substep
    // carries below the ground is set onto it and frozen at the next one.
    for (int s = 0; s < substeps; s++) {
        contactPass();
        stagePass();
        subUpdatePass();
    }
}

void stableDrapeApp::draw() {
    placeCloth();
    stableStep();
    drawCloth();
    m += 1;
}
