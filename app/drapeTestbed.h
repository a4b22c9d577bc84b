// drape-stable's testbed: the stable cloth with its ground in view, a wire or
// shaded cloth, pause, single step and reset, a knob pulled with the mouse, and
// a one-line status in the window's top-left corner.
//
// Keys (any other key goes on to zoApp::keyDown, so Escape ends the program
// and F1 switches full screen):
//   space  pause / resume          n  one frame while paused
//   r      the cloth back to frame 0
//   w      wire grid -> shaded -> shaded with wire -> wire grid
//   g      ground on / off         s  status line on / off
//   h      the keys on standard output
// The left button grabs the knob nearest the pointer on screen (within
// testbedPickRadius pixels) and pulls it, at most testbedGrabSpeed units per
// time unit, in the plane through the knob parallel to the screen. A knob on
// the ground comes free when grabbed, and while one is held the knobs beside
// free ones come free when their springs pull them up (testbedPeelForce), so
// the cloth can be lifted off the ground; any knob freezes again when it
// touches the surface.
#pragma once

#include <cstdio>

#include "app/clothView.h"
#include "app/stableDrapeApp.h"
#include "math/zoMatrix4f.h"

// How far from the pointer, in pixels, a knob may lie on screen to be grabbed.
extern const float testbedPickRadius;
// The fastest a grabbed knob moves towards the pointer, in units per time unit
// (0.5 a substep of 0.1, one rest length a frame): below the speed at which
// the springs carry a pull through the cloth (see drapeTestbed.cpp).
extern const float testbedGrabSpeed;
// The upward pull of its springs (force units: stiffness times stretch) that
// takes a knob off the ground while a knob is held: a tenth of a rest length
// of upward stretch in one spring.
extern const float testbedPeelForce;
// The highest a grabbed knob may be lifted.
#define TESTBED_GRAB_TOP 60.0f

class drapeTestbed : public stableDrapeApp {
public:
    clothView look;       // ground on, wire grid at start
    bool paused;          // no stepping; the window still redraws
    bool stepRequested;   // n: one frame at the next draw
    bool showStatus;      // the status line (on at start)
    int grabbed;          // the knob held by the mouse, or -1
    zoVec3f grabTarget;   // where the pointer wants it, in the cloth's coordinates
    zoVec3f grabPos;      // where it is being carried
    float grabDepth;      // clip w of the plane it is pulled in
    bool haveView;        // a frame has been drawn: clothMatrix and the camera are set
    zoMatrix4f clothMatrix;  // GL's model-view after placeCloth, row-major
    clothknob start[DRAPE_KNOBS];  // the cloth as laid out, for r

    // Frames per second of the simulation, measured over about a second of the
    // program's clock (glutGet(GLUT_ELAPSED_TIME), milliseconds) and kept as
    // it was while paused.
    float fps;
    int fpsFrames, fpsSince;

    drapeTestbed();

    // One frame: placeCloth, the step (unless paused), the ground and cloth
    // through `look`, the status line.
    void draw() override;
    void keyDown(char key) override;
    void specialKeyDown(int key) override;
    using zoApp::mouseDrag;
    void mouseDown(float x, float y, int button) override;
    void mouseDrag(float x, float y) override;
    void mouseUp(float x, float y, int button) override;

    // The grabbed knob moved one substep towards its target (see the .cpp).
    void afterSubstep() override;

    // The knob whose screen position (through the captured camera and
    // clothMatrix) is nearest to window pixel (x, y) and within
    // testbedPickRadius, or -1.
    int pickKnob(float x, float y) const;
    // Where window pixel (x, y) lies in the plane of clip depth w, in the
    // cloth's coordinates; false (and nothing written) where there is no such
    // point or it is not finite.
    bool unproject(float x, float y, float w, zoVec3f* out) const;
    void grab(int knob);      // takes hold of a knob (it leaves the ground)
    void pullTo(float x, float y);  // the pointer moved while holding
    void release();           // lets go; the knob keeps its last velocity
    void reset();             // frame 0: the knobs as laid out, nothing held

    // The status: frame, knobs on the ground, the free knobs' mean speed,
    // frames per second, "paused". Writes at most size bytes.
    void statusLine(char* text, int size) const;
    static void printHelp(FILE* to);

private:
    void peel();
    void drawStatus();
    void countFrame();
};

extern "C" {
// The factory of drape-stable's testbed.
zoApp* makeTestbedApp();
}
