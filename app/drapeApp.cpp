// The cloth demo: the layout, the spring forces, the height field, the frame
// step's three passes and the picture. The springs' arithmetic in lanes lives
// beside it (drapeLanes.h, drapeStagePass.cpp, drapeStageAVX.cpp).
//
// Every rounding here is deliberate: single precision throughout, double only
// where noted (the lengths' sums and roots, the stage scale DRAPE_STEP, the height
// field), and no fused multiply-add (-ffp-contract=off). Two builds and two
// runs therefore produce bit-identical knob states, frame after frame.
#include "app/drapeApp.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "app/drapeLanes.h"
#include "app/drapeStage.h"
#include "math/zoTransforms.h"

extern "C" {
// Names the kind of module for a loader that finds it by its exports.
__attribute__((visibility("default"), used)) char my_type[4] = "App";

__attribute__((visibility("default"))) zoApp* makeApp() {
    return new (std::nothrow) drapeApp();
}
}

drapeApp::drapeApp() {
    // Flat and at rest at height 30, knobs exactly the rest length apart.
    for (i = 0; i < DRAPE_KNOBS; i++) {
        thread[i].on_surf = false;
        thread[i].pos = zoVec3f(float(i % DRAPE_SIDE - 29) * DRAPE_REST_LENGTH,
                                float(i / DRAPE_SIDE - 29) * DRAPE_REST_LENGTH, 30.0f);
        thread[i].vel = zoVec3f(0, 0, 0);
    }
    enviro = zoVec3f(0, 0, DRAPE_GRAVITY);
    zero *= 0.0f;
    blanky = new (std::nothrow) zoMeshShape(DRAPE_SIDE, DRAPE_SIDE);
    zoTransformsInit();

    // Nothing reads these before writing them; they start defined all the same.
    dist1 = dist2 = dist3 = dist4 = 1.0f;
    fx = fy = j = 0.0f;
    h = 0;
    m = 0;
    n = 0;
    const float above[4] = {0, 0, std::numeric_limits<float>::infinity(), 0};
    for (restingPlace& at : restsAt) std::memcpy(at.bytes, above, sizeof at.bytes);
    keepsOwnParts<drapeApp>();
}

// The stage value of knob i: the net force of its up to four springs (rest
// length DRAPE_REST_LENGTH, stiffness DRAPE_STIFFNESS) times the step
// DRAPE_STEP. ref, the stage's offset, does not enter: the force depends on
// positions only.
//
// The four springs are computed side by side in lanes (SSE2 or AVX) or in
// plain code, as drapeSpringLanes says; every choice gives the bits of the
// one-spring-at-a-time formulation, and a unit test holds them to it.
void drapeApp::rungef(clothknob* P, zoVec3f& vstore, zoVec3f ref, int i) {
    (void)ref;
    drapeKnobStage(*this, P, vstore, i);
}

namespace {

static_assert(DRAPE_KNOBS % 4 == 0, "the passes look at the knobs four at a time");

// Whether the four knobs from p on are all frozen (one test for four).
inline bool allFrozen4(const clothknob* p) {
    return p[0].on_surf & p[1].on_surf & p[2].on_surf & p[3].on_surf;
}

// The ground: the first region whose (strict) condition holds gives the raw
// height, computed in double from X = x + 30 and Y = y + 30 and stored as a
// float; the floor at 4 is the lowest it gets. drapeApp::surface, and what the
// contact pass calls directly when surface is drapeApp's own.
inline float groundHeight(float x, float y) {
    const double X = double(x) + 30.0;
    const double Y = double(y) + 30.0;
    float raw;
    if (X < 10) {
        raw = float(20.0 - 2.0 * X);  // slope along the low-x edge
    } else if (60 < Y && Y < 70) {
        raw = float(2.0 * (Y - 70.0));  // below the floor: the floor
    } else if (70 < Y && Y < 71) {
        raw = 20.0f;  // wall
    } else if (71 < Y && Y < 91) {
        raw = float(2.0 * (81.0 - Y));  // ramp behind the wall
    } else if (45 < X && X < 65) {
        raw = float(0.25 * X + 10.0);  // tilted plateau
    } else if (19 < X && X < 39) {
        const float root = float(std::sqrt(100.0 - (30.0 - X) * (28.0 - X)));
        raw = float(15.0 - double(root));  // trough
    } else if (18 < X && X < 19) {
        raw = 15.0f;  // ledge
    } else if (70 < X && X < 90) {
        raw = float(std::sqrt(100.0 - (80.0 - X) * (80.0 - X)));  // hump
    } else if (20 < Y && Y < 40 && 30 < X && X < 70) {
        raw = 18.0f;  // block
    } else if (30 < Y && Y < 50 && X > 98) {
        raw = 20.0f;  // block
    } else {
        raw = 4.0f;
    }
    return raw < 4.0f ? 4.0f : raw;
}

}  // namespace

float drapeApp::surface(float x, float y) {
    return groundHeight(x, y);
}

void drapeApp::contactPass() {
    if (ownSurface()) {
        // The same outcome without the calls: the ground is a pure function, so
        // its one value serves for the test and the lift, and a frozen knob
        // still exactly where the test last passed would pass it again.
        for (int k = 0; k < DRAPE_KNOBS; k++) {
            // A cloth on the ground is mostly frozen knobs in place, four at a time.
            if (k % 4 == 0 && allFrozen4(thread + k) && fourInPlace(thread + k, restsAt + k)) {
                k += 3;
                continue;
            }
            clothknob& knob = thread[k];
            restingPlace& rest = restsAt[k];
            if (knob.on_surf && std::memcmp(&knob, rest.bytes, sizeof rest.bytes) == 0) continue;
            const float ground = groundHeight(knob.pos.x, knob.pos.y);
            if (ground > knob.pos.z) {
                knob.pos.z = ground;
                knob.on_surf = true;
                knob.vel.z = 0;
            }
            if (knob.on_surf) std::memcpy(rest.bytes, &knob, sizeof rest.bytes);
        }
        i = DRAPE_KNOBS;
        return;
    }
    // Every knob, frozen or not; a knob exactly at the surface stays as it is.
    for (i = 0; i < DRAPE_KNOBS; i++) {
        clothknob& k = thread[i];
        if (surface(k.pos.x, k.pos.y) > k.pos.z) {
            k.pos.z = surface(k.pos.x, k.pos.y);
            k.on_surf = true;
            k.vel.z = 0;
        }
    }
}

void drapeApp::stagePass() {
    if (ownRungef()) {
        drapeDirectStagePass(*this);
        i = DRAPE_KNOBS;
        return;
    }
    // No position moves in this pass, so all four stages see the same cloth.
    for (i = 0; i < DRAPE_KNOBS; i++) {
        if (thread[i].on_surf) continue;
        rungef(thread, k1[i], zero, i);
        rungef(thread, k2[i], k1[i] / 2.0f, i);
        rungef(thread, k3[i], k2[i] / 2.0f, i);
        rungef(thread, k4[i], k3[i], i);
    }
}

void drapeApp::updatePass() {
    // Nothing here is bounded or clamped: growing values are carried on.
    for (i = 0; i < DRAPE_KNOBS; i++) {
        // Four frozen knobs in a row are passed over with one test (a cloth
        // lying on the ground is mostly frozen).
        if (i % 4 == 0 && allFrozen4(thread + i)) {
            i += 3;
            continue;
        }
        if (thread[i].on_surf) continue;
        // vel += ((k1 / 6 + k2 / 3) + k3 / 3) + k4 / 6 + enviro, vel *= damping,
        // pos += vel x step.
        moveKnob(thread[i], k1[i], k2[i], k3[i], k4[i], enviro);
    }
}

void drapeApp::step() {
    contactPass();
    stagePass();
    updatePass();
}

void drapeApp::draw() {
    placeCloth();
    step();
    drawCloth();
    m += 1;
}

void drapeApp::placeCloth() {
    glTranslatef(500, 350, 0);
    glRotatef(-35, 1, 0, 0);
    glScalef(5, 5, 5);
    zoTransformsCaptureCamera();
}

void drapeApp::drawCloth() {
    // Two segments per inner step: along x in row `row`, along y in column
    // `row`. The border rows and columns appear only as ends of segments into
    // the interior. The indices live in locals, not in the fields i and h,
    // which the GL calls could change as far as the compiler knows: each would
    // be stored and reloaded around every call. The fields end as the loops
    // would leave them.
    glBegin(GL_LINES);
    const clothknob* P = thread;
    for (int col = 1; col < DRAPE_SIDE; col++) {
        for (int row = 1; row < DRAPE_SIDE - 1; row++) {
            glColor3f(1, 1, 1);
            const zoVec3f& a = P[DRAPE_SIDE * row + col - 1].pos;
            const zoVec3f& b = P[DRAPE_SIDE * row + col].pos;
            const zoVec3f& c = P[DRAPE_SIDE * (col - 1) + row].pos;
            const zoVec3f& d = P[DRAPE_SIDE * col + row].pos;
            glVertex3f(a.x, a.y, a.z);
            glVertex3f(b.x, b.y, b.z);
            glVertex3f(c.x, c.y, c.z);
            glVertex3f(d.x, d.y, d.z);
        }
    }
    i = DRAPE_SIDE;
    h = DRAPE_SIDE - 1;
    glEnd();
}
