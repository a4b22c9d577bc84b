// drape-stable's testbed (see drapeTestbed.h).
//
// How fast a grabbed knob may be pulled. The analysis at the top of
// stableDrapeApp.cpp bounds the substeps by the springs' stiffness: a substep is
// stable up to lambda = 14.06 and the grid reaches 8. Pulling a knob does not
// change that bound: a spring stretched to length L has stiffness 30 along its
// direction and 30 (1 - 1/L) across it, never more than 30, so however far the
// cloth is stretched every mode stays inside the limit. What the substeps cannot
// absorb is a knob carried farther in one substep than the springs can pass the
// pull on. A stage reads the neighbours' positions of the substep's start, so a
// pull travels at most one knob a substep, and the springs' own wave speed is
// sqrt(30 * 2c) = 5.4 units per time unit (the substep's impulse c * 0.2 * F
// over its 0.1 time units is an acceleration of 2c F = 0.974 F), 0.54 units a
// substep. testbedGrabSpeed, 5 units per time unit (0.5 a substep, one rest
// length a frame), stays below both: the cloth behind the knob keeps up, the
// knob's springs stretch by a bounded amount, and no pointer motion, however
// wild, puts more into the cloth than a steady pull at that speed.
#include "app/drapeTestbed.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstring>
#include <new>

#include "framework/zou.h"
#include "math/zoTransforms.h"

const float testbedPickRadius = 10.0f;
const float testbedGrabSpeed = 5.0f;
const float testbedPeelForce = 3.0f;

extern "C" {
__attribute__((visibility("default"))) zoApp* makeTestbedApp() {
    return new (std::nothrow) drapeTestbed();
}
}

namespace {

void say(const char* text) {
    std::printf("drape-stable: %s\n", text);
    std::fflush(stdout);
}

float clampTo(float v, float lo, float hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

// Camera times cloth: from the cloth's coordinates to clip coordinates.
void clipMatrix(const zoMatrix4f& cloth, float out[4][4]) {
    zoMatrix4f::multiply(cameraMatrix.m, cloth.m, out);
}

}  // namespace

drapeTestbed::drapeTestbed()
    : paused(false),
      stepRequested(false),
      showStatus(true),
      grabbed(-1),
      grabDepth(1.0f),
      haveView(false),
      fps(0.0f),
      fpsFrames(0),
      fpsSince(-1) {
    keepsOwnParts<drapeTestbed>();  // the passes compute rungef and surface directly
    look.ground = true;
    clothMatrix.setIdentity();
    std::memcpy(static_cast<void*>(start), static_cast<const void*>(thread), sizeof start);
}

void drapeTestbed::draw() {
    placeCloth();
    // The cloth's transform as GL holds it, for picking and pulling between frames.
    double mv[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, mv);
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) clothMatrix.m[r][c] = float(mv[c * 4 + r]);
    haveView = true;

    if (!paused || stepRequested) {
        step();
        m += 1;
        stepRequested = false;
        if (!paused) countFrame();  // single steps are no frame rate
    }
    look.draw(*this);
    if (showStatus) drawStatus();
}

// ---- Keys --------------------------------------------------------------------

void drapeTestbed::printHelp(FILE* to) {
    std::fprintf(to,
                 "drape-stable keys:\n"
                 "  space        pause / resume\n"
                 "  n            one frame while paused\n"
                 "  r            the cloth back to its start (frame 0)\n"
                 "  w            wire grid, shaded cloth, shaded with the wire\n"
                 "  g            ground on / off\n"
                 "  s            status line on / off\n"
                 "  h            these keys\n"
                 "  left button  grab the knob under the pointer and pull it\n"
                 "  F1           full screen / window\n"
                 "  Escape       quit\n");
    std::fflush(to);
}

void drapeTestbed::keyDown(char key) {
    const char k = (key >= 'A' && key <= 'Z') ? char(key - 'A' + 'a') : key;
    char text[96];
    switch (k) {
    case ' ':
        paused = !paused;
        stepRequested = false;
        if (!paused) {
            // The pause is not counted in the frame rate.
            fpsFrames = 0;
            fpsSince = glutGet(GLUT_ELAPSED_TIME);
        }
        std::snprintf(text, sizeof text, paused ? "paused at frame %d" : "running from frame %d", m);
        say(text);
        return;
    case 'n':
        if (!paused) {
            say("n steps one frame while paused (space pauses)");
            return;
        }
        stepRequested = true;
        return;
    case 'r':
        reset();
        say("the cloth is back at frame 0");
        return;
    case 'w':
        if (!look.shaded) {
            look.shaded = true;
            look.wireOnShaded = false;
            say("cloth: shaded");
        } else if (!look.wireOnShaded) {
            look.wireOnShaded = true;
            say("cloth: shaded with the wire grid");
        } else {
            look.shaded = false;
            say("cloth: wire grid");
        }
        return;
    case 'g':
        look.ground = !look.ground;
        say(look.ground ? "ground on" : "ground off");
        return;
    case 's':
        showStatus = !showStatus;
        return;
    case 'h':
        printHelp(stdout);
        return;
    default:
        if (k > ' ' && k < 127)
            std::snprintf(text, sizeof text, "the key '%c' does nothing (h lists the keys)", k);
        else
            std::snprintf(text, sizeof text, "the key with code %d does nothing (h lists the keys)",
                          int(static_cast<unsigned char>(k)));
        if (k != 27) say(text);
        zoApp::keyDown(key);  // Escape ends the program there
    }
}

void drapeTestbed::specialKeyDown(int key) {
    if (key != GLUT_KEY_F1) {
        char text[96];
        std::snprintf(text, sizeof text, "the special key %d does nothing (h lists the keys)", key);
        say(text);
    }
    zoApp::specialKeyDown(key);  // F1: full screen or a window
}

// ---- Grabbing ------------------------------------------------------------------

int drapeTestbed::pickKnob(float x, float y) const {
    if (!haveView) return -1;
    int best = -1;
    float bestSquare = testbedPickRadius * testbedPickRadius;
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        zoVec3f real, screen;
        clothMatrix.transform3(&thread[k].pos, &real);
        zoTransformRealToScreen(real, screen);
        const float dx = screen.x - x, dy = screen.y - y;
        const float square = dx * dx + dy * dy;
        // A knob behind the camera or a NaN never compares smaller.
        if (screen.z >= 0 && square < bestSquare) {
            bestSquare = square;
            best = k;
        }
    }
    return best;
}

bool drapeTestbed::unproject(float x, float y, float w, zoVec3f* out) const {
    float M[4][4];
    clipMatrix(clothMatrix, M);
    // The inverse of zoTransformRealToScreen's x and y, at clip w = w: rows 0,
    // 1 and 3 of M give three equations in the point's three coordinates.
    const double nx = (double(x) - view[0]) / (view[2] * 0.5) - 1.0;
    const double ny = (double(y) - view[1]) / (view[3] * 0.5) - 1.0;
    const double a[3][3] = {{M[0][0], M[0][1], M[0][2]}, {M[1][0], M[1][1], M[1][2]}, {M[3][0], M[3][1], M[3][2]}};
    const double b[3] = {nx * w - M[0][3], ny * w - M[1][3], w - M[3][3]};
    auto det3 = [](const double m[3][3]) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    const double d = det3(a);
    if (!(std::fabs(d) > 1e-12)) return false;
    double p[3];
    for (int c = 0; c < 3; c++) {
        double t[3][3];
        std::memcpy(t, a, sizeof t);
        for (int r = 0; r < 3; r++) t[r][c] = b[r];
        p[c] = det3(t) / d;
        if (!std::isfinite(p[c])) return false;
    }
    out->set(float(p[0]), float(p[1]), float(p[2]));
    return true;
}

void drapeTestbed::grab(int knob) {
    if (knob < 0 || knob >= DRAPE_KNOBS) return;
    clothknob& k = thread[knob];
    grabbed = knob;
    grabPos = k.pos;
    grabTarget = k.pos;
    k.on_surf = false;  // off the ground, into the hand
    // The plane the pointer moves it in: the knob's depth from the camera.
    float M[4][4];
    clipMatrix(clothMatrix, M);
    const float p[4] = {k.pos.x, k.pos.y, k.pos.z, 1.0f};
    grabDepth = float(((double(M[3][1]) * p[1] + double(M[3][0]) * p[0]) + double(M[3][2]) * p[2]) + M[3][3]);
    char text[64];
    std::snprintf(text, sizeof text, "holding knob %d", knob);
    say(text);
}

void drapeTestbed::pullTo(float x, float y) {
    if (grabbed < 0) return;
    zoVec3f p;
    if (!unproject(x, y, grabDepth, &p)) return;
    // Kept over the ground that is shown, below a ceiling, and not under the
    // surface: the cloth stays in a bounded box whatever the pointer does.
    p.x = clampTo(p.x, CLOTH_GROUND_X0, CLOTH_GROUND_X1);
    p.y = clampTo(p.y, CLOTH_GROUND_Y0, CLOTH_GROUND_Y1);
    const float floor = surface(p.x, p.y);
    p.z = clampTo(p.z, std::isfinite(floor) && floor < TESTBED_GRAB_TOP ? floor : TESTBED_GRAB_TOP, TESTBED_GRAB_TOP);
    grabTarget = p;
}

void drapeTestbed::release() {
    if (grabbed < 0) return;
    char text[64];
    std::snprintf(text, sizeof text, "let go of knob %d", grabbed);
    grabbed = -1;
    say(text);
}

void drapeTestbed::afterSubstep() {
    if (grabbed < 0) return;
    // Towards the target, at most testbedGrabSpeed * subStep this substep; the
    // knob's velocity is the move's, so that it carries on that way when let go.
    const zoVec3f d = grabTarget - grabPos;
    const float most = testbedGrabSpeed * subStep;
    const float length = d.length();
    zoVec3f move = d;
    if (length > most) {
        move = d * (most / length);
        grabPos += move;
    } else {
        grabPos = grabTarget;
    }
    clothknob& k = thread[grabbed];
    k.pos = grabPos;
    k.vel = move / subStep;
    k.on_surf = false;  // held: the contact pass may not keep it
    peel();
}

void drapeTestbed::peel() {
    // A knob on the ground beside a free one comes free when its springs pull
    // it up harder than testbedPeelForce: the cloth lifts off behind the hand.
    // Only while a knob is held, so a cloth left alone rests as it always does.
    const float least = float(testbedPeelForce * DRAPE_STEP);  // rungef's stage is force x step
    for (int i = 0; i < DRAPE_KNOBS; i++) {
        clothknob& k = thread[i];
        if (!k.on_surf) continue;
        const drapeNeighbours n = drapeNeighboursOf(i);
        bool freeBeside = false;
        for (int d = 0; d < 4; d++) freeBeside |= n.has[d] && !thread[i + drapeNeighbourOffset[d]].on_surf;
        if (!freeBeside) continue;
        zoVec3f pull;
        rungef(thread, pull, zero, i);
        if (pull.z > least) {
            k.on_surf = false;
            k.vel = zoVec3f(0, 0, 0);  // it lay still
        }
    }
}

void drapeTestbed::mouseDown(float x, float y, int button) {
    if (button != GLUT_LEFT_BUTTON) {
        say("only the left button grabs the cloth");
        return;
    }
    release();
    const int knob = pickKnob(x, y);
    if (knob < 0) {
        char text[96];
        std::snprintf(text, sizeof text, "no knob within %.0f pixels of (%.0f, %.0f)", testbedPickRadius, x, y);
        say(text);
        return;
    }
    grab(knob);
}

void drapeTestbed::mouseDrag(float x, float y) {
    pullTo(x, y);
}

void drapeTestbed::mouseUp(float x, float y, int button) {
    (void)x, (void)y;
    if (button == GLUT_LEFT_BUTTON) release();
}

void drapeTestbed::reset() {
    std::memcpy(static_cast<void*>(thread), static_cast<const void*>(start), sizeof start);
    m = 0;
    grabbed = -1;
    stepRequested = false;
}

// ---- Status ----------------------------------------------------------------------

void drapeTestbed::countFrame() {
    const int now = glutGet(GLUT_ELAPSED_TIME);
    if (fpsSince < 0) {
        fpsSince = now;  // the first frame starts the clock
        return;
    }
    fpsFrames++;
    if (now - fpsSince >= 1000) {
        fps = float(fpsFrames * 1000.0 / (now - fpsSince));
        fpsFrames = 0;
        fpsSince = now;
    }
}

void drapeTestbed::statusLine(char* text, int size) const {
    int onGround = 0, free = 0;
    double speeds = 0;
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const clothknob& n = thread[k];
        if (n.on_surf) {
            onGround++;
        } else {
            free++;
            speeds += std::sqrt(double(n.vel.x) * n.vel.x + double(n.vel.y) * n.vel.y + double(n.vel.z) * n.vel.z);
        }
    }
    char speed[32], rate[32];
    if (free > 0)
        std::snprintf(speed, sizeof speed, "%.4f", speeds / free);
    else
        std::snprintf(speed, sizeof speed, "-");
    if (fps > 0)
        std::snprintf(rate, sizeof rate, "%.0f", double(fps));
    else
        std::snprintf(rate, sizeof rate, "--");
    std::snprintf(text, size_t(size), "frame %d   on the ground %d   mean speed %s   %s fps%s", m, onGround, speed,
                  rate, paused ? "   paused" : "");
}

void drapeTestbed::drawStatus() {
    char text[160];
    statusLine(text, sizeof text);
    // In the outermost frame's pixels: the plane z = 0 under an identity
    // model-view, origin at the bottom-left. Unlit and over everything; the
    // outermost frame has lighting and the depth test on, and so they are left.
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const float x = 10.0f, y = H - 22.0f;
    // A dark shadow one pixel down and right keeps it readable over the ground.
    const float colours[2][3] = {{0.0f, 0.0f, 0.0f}, {1.0f, 0.92f, 0.55f}};
    for (int pass = 0; pass < 2; pass++) {
        glColor3f(colours[pass][0], colours[pass][1], colours[pass][2]);
        glRasterPos2f(x + (pass == 0 ? 1.0f : 0.0f), y - (pass == 0 ? 1.0f : 0.0f));
        for (const char* c = text; *c; c++) glutBitmapCharacter(GLUT_BITMAP_8_BY_13, *c);
    }
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}
