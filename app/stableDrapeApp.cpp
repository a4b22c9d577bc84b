// The stable cloth: drapeApp's frame in substeps.
//
// Names below: h = DRAPE_STEP = 0.2 (time per frame), D = DRAPE_DAMPING = 0.9
// (velocity factor per frame; a frame's damping takes the share 1 - D = 0.1 of
// the velocity), K = DRAPE_STIFFNESS = 30, e = enviro.
//
// Why drapeApp's step flies apart. rungef depends on positions only, so the
// four stages of a frame are equal and a frame is, for each free knob,
//     v <- D (v + h F + e),   x <- x + h v
// with F the spring force. Near rest, a mode of the cloth whose grid-Laplacian
// eigenvalue is lambda feels F = -K lambda x, and the map of (x, v) is
//     [ 1 - K lambda h^2 D    h D ]
//     [   - K lambda h D       D  ]
// with determinant D and trace 1 + D - K lambda h^2 D. Both eigenvalues lie
// inside the unit circle exactly while |trace| < 1 + determinant, that is for
//     lambda < lambda_max = 2 (1 + D) / (K h^2 D).
// For h = 0.2 and D = 0.9 that is 3.8 / 1.08 = 3.52, but a chain of springs
// reaches lambda = 4 and the grid 8: the zigzag modes grow by about 1.96 a
// frame once frozen knobs disturb the flat fall.
//
// The fix: s substeps per displayed frame, each of time h_s = h / s, with
//     d_s = D^(1/s)                     damping per substep, and
//     c   = D (1 - d_s) / ((1 - D) d_s) scale of a frame's stage value and of
//                                       enviro in each substep,
// so that for slow motion (forces constant over a frame) a frame of substeps
// maps v to D v + D (k + e) exactly as a frame of drapeApp does: the same
// terminal falling speed 0.9, the same force balance at rest. (c = 1 for s = 1.)
// The stage value k is h F, so per substep the spring impulse is c h F (not
// h_s F) and the move h_s v, and
//     lambda_max = 2 (1 + d_s) / (K h_s (c h) d_s).
// s = 2: h_s = 0.1, d_s = 0.948683, c = 0.486833, lambda_max = 14.06 > 8, the
// grid's largest eigenvalue, with room to spare for springs stiffer than at
// rest, and a frame's determinant is still D, so every oscillating mode loses
// the same share per frame as in drapeApp. Two substeps cost twice the
// simulation of one frame; three (lambda_max = 31) would buy nothing visible.
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
    keepsOwnParts<stableDrapeApp>();  // the passes compute rungef and surface directly
    setSubsteps(2);
}

void stableDrapeApp::setSubsteps(int count) {
    if (count < 1) {
        zouDebug(2, "setSubsteps: the count of substeps must be at least 1");
        return;
    }
    substeps = count;
    const double frameDamping = DRAPE_DAMPING;           // D
    const double frameLoss = 1.0 - frameDamping;         // 1 - D: the share a frame's damping takes
    const double subFactor = std::pow(frameDamping, 1.0 / count);  // d_s
    const double scale = frameDamping * (1.0 - subFactor) / (frameLoss * subFactor);  // c
    subStep = float(DRAPE_STEP / count);
    subDamping = float(subFactor);
    subScale = float(scale);  // exactly 1 for one substep
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

void stableDrapeApp::step() {
    // The contact pass runs before every substep, so a knob that a substep
    // carries below the ground is set onto it and frozen at the next one.
    for (int s = 0; s < substeps; s++) {
        contactPass();
        stagePass();
        subUpdatePass();
        afterSubstep();
    }
}
