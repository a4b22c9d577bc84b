/// \file
/// zoApp: the application object. An application derives from zoApp, overrides
/// the events it cares about and is started with selfStart(), which never
/// returns. GLUT events for a window reach the zoApp stored for it in #apps as
/// virtual calls.
///
/// Mouse positions are window pixels with the origin at the bottom-left pixel
/// (x to the right, y up): the coordinates in which the outermost view frame
/// shows the plane z = 0, and in which a drawn zoShape keeps its screen
/// positions, so they go straight into zoShape::pointInside.
///
/// Two keys are inherited: Escape (through keyDown()) ends the program and F1
/// (through specialKeyDown()) toggles full screen. An override of either
/// handler passes the keys it does not use on to the zoApp version.
#pragma once

#include "framework/zoGeo.h"

/// The application object: its area in the window and its event handlers.
class zoApp : public zoGeo {
public:
    /// Left edge of the application's area in window pixels; always 0: the
    /// framework gives the application the whole window.
    float X;
    /// Bottom edge of the application's area in window pixels; always 0.
    float Y;
    /// Width of the application's area in pixels: 100 when constructed, then
    /// the window's width as each resize() brings it (0 at selfStart(), before
    /// the first reshape event).
    float W;
    /// Height of the application's area in pixels, like #W.
    float H;

    /// X = Y = 0, W = H = 100; resets #validWindowSize, so nothing is drawn
    /// until a non-zero window width has been seen again.
    zoApp();

    /// Called once per idle tick, before the next frame is requested; the
    /// place to advance an animation by one step. Does nothing by default.
    void idle() override;
    /// Draws one frame, called inside the outermost view frame: the model-view
    /// matrix is the identity and the plane z = 0 shows the window one unit per
    /// pixel, origin at the bottom-left. The buffers are swapped after it
    /// returns. Does nothing by default.
    void draw() override;
    /// Binds this object to the current GLUT window in #apps, registers the
    /// eight callbacks (replacing the start-up reshape()), calls
    /// resize(0, 0, width, height) with the stored window size (0 × 0 in the
    /// normal start-up), then setFocus(true), and enters glutMainLoop: it never
    /// returns. A window identifier outside 0 … 9 is reported at level 2 and
    /// gets no events.
    virtual void selfStart();
    /// The registration half of selfStart(): binds and registers the
    /// callbacks, neither sizes the object nor enters the main loop.
    virtual void subStart();
    /// A hook; selfStart() calls it once with true. Does nothing by default.
    virtual void setFocus(bool focus);
    /// A hook; nothing in the framework calls it. Does nothing by default.
    virtual void setParent(void* parent);
    /// Stores the area: X = x, Y = y, W = w, H = h, in pixels. Called with
    /// (0, 0, width, height) by selfStart() and by every reshape event. An
    /// override calls zoApp::resize too: the F1 toggle reads W and H.
    virtual void resize(float x, float y, float w, float h);
    /// True when 0 ≤ x < W and 0 ≤ y < H (X and Y play no part); false for a
    /// NaN and for every point while W or H is 0.
    virtual bool pointInside(float x, float y);
    /// The pointer moved with no button held. Does nothing by default.
    virtual void mouseMove(float x, float y);
    /// A button was pressed at (x, y). Buttons are GLUT's numbers: 0 left,
    /// 1 middle, 2 right; freeglut reports the wheel as 3 (up) and 4 (down),
    /// a press and a release for each notch. Does nothing by default.
    virtual void mouseDown(float x, float y, int button);
    /// The pointer moved with a button held. Both mouseDrag handlers are
    /// called for every such motion, this one first; an application overrides
    /// the one it wants. Does nothing by default.
    virtual void mouseDrag(float x, float y);
    /// The pointer moved with a button held; called right after
    /// mouseDrag(float, float) for the same motion. button is #lastMouseButton:
    /// that of the latest press or release, 0 before any. Does nothing by default.
    virtual void mouseDrag(float x, float y, int button);
    /// A button was released at (x, y); button numbers as for mouseDown(). Does
    /// nothing by default.
    virtual void mouseUp(float x, float y, int button);
    /// A character key (GLUT's keyboard callback; the pointer position is
    /// dropped). Escape (27) calls zouClose(); every other key does nothing. An
    /// override that does not pass Escape on to zoApp::keyDown loses the exit.
    virtual void keyDown(char key);
    /// A non-character key, with GLUT's code (GLUT_KEY_F1 is 1, the arrows
    /// GLUT_KEY_LEFT … GLUT_KEY_DOWN). F1 toggles full screen: the first time
    /// the window becomes the screen less 70 × 90 pixels at (35, 55); later it
    /// comes back where it was when it last went full screen. Every other key
    /// does nothing; an override passes on what it does not use.
    virtual void specialKeyDown(int key);
};

/// Size of #apps: GLUT window identifiers from 1 to 9 can hold an application.
#define ZOU_MAX_WINDOWS 10

/// The application serving each window, indexed by GLUT window identifier;
/// written by zoApp::selfStart and zoApp::subStart, read by every callback. A
/// window without an entry gets no events.
extern zoApp* apps[ZOU_MAX_WINDOWS];
/// The GLUT button number of the latest press or release; 0 (left) before any.
extern int lastMouseButton;
/// True once the display callback has seen a non-zero window width; until then
/// nothing is drawn or swapped. Constructing a zoApp resets it.
extern bool validWindowSize;
/// Window mode of the F1 toggle: 1 full screen (as the window starts), 0 windowed.
extern int fullScreen;
/// 0 until the first F1 has worked out the windowed geometry, then 1.
extern int haveShrunk;
extern int windowedX;  ///< Left edge of the window in windowed mode, screen pixels from the left.
extern int windowedY;  ///< Top edge of the window in windowed mode, screen pixels from the top.
extern int windowedW;  ///< Width of the window in windowed mode, in pixels.
extern int windowedH;  ///< Height of the window in windowed mode, in pixels.

extern "C" {
/// \name The GLUT callbacks that zoApp::selfStart registers
/// Each sends its event to the application of the window GLUT made current,
/// and does nothing for a window without one. Positions are converted from
/// GLUT's (rows from the top) to x, #zouWindowHeight − 1 − y.
/// \{

/// Once the window has a non-zero width: zouOpenToviFrame(), the application's
/// draw, zouCloseToviFrame() (which presents the picture).
void display_cb(void);
/// A press (state GLUT_DOWN) calls mouseDown, a release mouseUp; any state
/// records the button in #lastMouseButton.
void mouse_cb(int button, int state, int x, int y);
/// Motion with a button held: mouseDrag(x, y), then mouseDrag(x, y, #lastMouseButton).
void motion_cb(int x, int y);
/// Motion with no button held: mouseMove.
void passive_motion_cb(int x, int y);
/// The application's idle, then glutPostRedisplay: frames follow each other
/// continuously, one per idle tick.
void idle_cb(void);
/// keyDown(key).
void keyboard_cb(unsigned char key, int x, int y);
/// specialKeyDown(key).
void special_key_cb(int key, int x, int y);
/// Stores the new size in #zouWindowWidth and #zouWindowHeight, then
/// resize(0, 0, width, height). The viewport follows at the next frame.
void reshape_cb(int width, int height);
/// \}
}
