/// \file
/// The framework's procedural interface: start-up and wind-down, the parameter
/// store, the diagnostic channel, the nested view frames, and the settings that
/// applications read and write directly.
///
/// A program calls zouOpen() once, creates its zoApp and calls its
/// zoApp::selfStart(), which enters GLUT's main loop for good. From then on the
/// framework draws one frame per display event and calls the application's idle
/// once per idle tick: a frame is a frame, there is no clock. An application
/// that wants real time reads GLUT's elapsed time itself,
/// `glutGet(GLUT_ELAPSED_TIME)`, in milliseconds since GLUT started.
///
/// The framework reports on standard error through zouDebug(); its own errors
/// and warnings are at level 2, and level 1 ends the process. (The shape layer
/// reports on standard output instead.)
///
/// Settings are plain globals. zouInitState() (called by zouOpen()) gives them
/// their start values, so an application changes them after zouOpen(); the one
/// exception is #zouDisplayMode, read by zouOpen() itself. Each setting's comment
/// says whether the framework reads it, and when, or only stores it for
/// applications. Its value at load, its value after start-up and its parameter
/// code are its row of #ZOU_SETTINGS (framework/zouSettings.h), the one table
/// that defines them.
#pragma once

/// \name Parameter codes of zouGetIntegerv() and zouSetIntegerv()
/// Each code stands for one setting or a fixed group of them, passed as
/// consecutive ints in the order given. The store checks no value against a
/// range. Every other code, and a set of a read-only code, is refused with a
/// level-2 message and changes nothing.
/// \{
#define ZOU_DEBUG_LEVEL 10           ///< #zouDebugLevel.
#define ZOU_WINDOW_WIDTH 22          ///< #zouWindowWidth; read only (set the size with #ZOU_WINDOW_SIZE).
#define ZOU_WINDOW_HEIGHT 23         ///< #zouWindowHeight; read only.
/// #zouWindowWidth, #zouWindowHeight. A set stores both as given, asks GLUT
/// to resize the window (to at least 1 × 1: X refuses a zero size and misreads
/// a negative one) and releases the screen-grab buffers; the reshape event that
/// follows stores the size the window really got.
#define ZOU_WINDOW_SIZE 24
#define ZOU_SCREEN_GRAB_QUALITY 29   ///< #zouScreenGrabQuality.
#define ZOU_SCREEN_GRAB_FORMAT 31    ///< #zouScreenGrabFormat.
#define ZOU_SCREEN_GRAB_X 32         ///< #zouScreenGrabX.
#define ZOU_SCREEN_GRAB_Y 33         ///< #zouScreenGrabY.
#define ZOU_SCREEN_GRAB_WIDTH 34     ///< #zouScreenGrabWidth.
#define ZOU_SCREEN_GRAB_HEIGHT 35    ///< #zouScreenGrabHeight.
#define ZOU_SCREEN_GRAB_RECT 36      ///< The four screen-grab values x, y, width, height.
#define ZOU_TIME_STEP 42             ///< #zouTimeStep.
#define ZOU_VIDEO_WIDTH 200          ///< #zouVideoWidth; read only.
#define ZOU_VIDEO_HEIGHT 201         ///< #zouVideoHeight; read only.
#define ZOU_VIDEO_SIZE 202           ///< #zouVideoWidth, #zouVideoHeight; read only.
#define ZOU_VIDEO_ARRAY_WIDTH 203    ///< #zouVideoArrayWidth.
#define ZOU_VIDEO_ARRAY_HEIGHT 204   ///< #zouVideoArrayHeight.
#define ZOU_VIDEO_ARRAY_SIZE 205     ///< #zouVideoArrayWidth, #zouVideoArrayHeight.
#define ZOU_VIDEO_FPS 207            ///< #zouVideoFPS.
#define ZOU_VIDEO_PROXY_COUNT 208    ///< #zouVideoProxyCount.
#define ZOU_VIDEO_PROXY_RAW_WIDTH 210   ///< #zouVideoProxyRawWidth.
#define ZOU_VIDEO_PROXY_RAW_HEIGHT 211  ///< #zouVideoProxyRawHeight.
/// \}

class zoFont;

/// \name Settings the framework reads
/// \{

/// GLUT display mode for the window (GLUT_DOUBLE and the like). Read only by
/// zouOpen(), so set it before that call; zouInitState() leaves it alone.
extern int zouDisplayMode;
/// The window's width in pixels, none until the first reshape event. Written
/// by the reshape callbacks and by #ZOU_WINDOW_SIZE. Read by every outermost frame
/// (viewport and camera) and by the F1 toggle.
extern int zouWindowWidth;
/// The window's height in pixels, like #zouWindowWidth; also read by every
/// mouse event, to count rows from the bottom.
extern int zouWindowHeight;
/// Number of open view frames: none outside drawing, one during zoApp::draw.
extern int frameDepth;
/// Threshold of zouDebug(): a message is written when its level is at most
/// this; #ZOU_DEBUG_LEVEL. At 0 or below nothing is written, yet level 1 still
/// ends the process.
extern int zouDebugLevel;
/// Whether the outermost frame clears the colour and depth buffers; read at
/// every outermost zouOpenToviFrame().
extern bool zouWindowClear;
/// Clear colour red, green, blue (0 to 1; alpha is always 1); read at every
/// outermost zouOpenToviFrame() that clears.
extern float zouWindowBgColor[3];
/// Vertical field of view of the outermost frame, in degrees
/// (#ZOU_DEFAULT_FOV after start-up). gluPerspective reads it at every outermost
/// frame, but the camera's distance and clipping planes are recomputed from it
/// only when the window size changes. An application that changes it calls
/// updateToviViewConstants() too; otherwise the plane z = 0 no longer shows
/// one unit per pixel.
extern float zouScreenFov;
/// \}

/// \name Settings only stored for applications
/// The framework gives these their start values and, for the integer ones,
/// reaches them through the parameter store; nothing in it reads them.
/// \{

/// Directory prefix for resource files, ending in a slash.
extern char zouResourceLocation[256];
/// Scratch text buffer: a block from malloc after start-up, never released.
extern char* zouDebugStr;
/// Near distance (#ZOU_DEFAULT_NEAR after start-up). The outermost frame
/// derives its own clipping planes from the window size instead.
extern float zouScreenNear;
/// Far distance (#ZOU_DEFAULT_FAR after start-up). Not the frame's far plane either.
extern float zouScreenFar;
/// Application time step; #ZOU_TIME_STEP. The framework has no clock and does
/// not scale anything by it.
extern int zouTimeStep;
extern int zouScreenGrabQuality;  ///< Screen-grab quality.
extern int zouScreenGrabFormat;   ///< Screen-grab format.
extern int zouScreenGrabX;        ///< Screen-grab rectangle's left edge in pixels.
extern int zouScreenGrabY;        ///< Screen-grab rectangle's bottom edge in pixels.
extern int zouScreenGrabWidth;    ///< Screen-grab rectangle's width in pixels.
extern int zouScreenGrabHeight;   ///< Screen-grab rectangle's height in pixels.
/// Screen-grab buffers owned by the framework, released with free and reset to
/// null on every set of #ZOU_WINDOW_SIZE.
extern void* zouScreenGrabBuffer;
/// The second screen-grab buffer; handled like #zouScreenGrabBuffer.
extern void* zouScreenGrabFlipper;
/// Whether grabs are flipped.
extern bool zouScreenGrabFlip;
extern int zouVideoFPS;             ///< Video frames per second.
extern int zouVideoProxyCount;      ///< Video proxy count.
extern int zouVideoProxyRawWidth;   ///< Video proxy raw width.
extern int zouVideoProxyRawHeight;  ///< Video proxy raw height.
extern int zouVideoWidth;           ///< Video width, read only through the store.
extern int zouVideoHeight;          ///< Video height, read only through the store.
extern int zouVideoArrayWidth;      ///< Video array width.
extern int zouVideoArrayHeight;     ///< Video array height.
extern bool zouVideoOpened;         ///< Video state flag.
extern bool zouVideoMirrorImage;    ///< Video state flag.
extern bool zouVideoProxyRepeating; ///< Video state flag.
/// Polygon tessellator.
extern void* zouTesselator;
/// Set by zouTextInit().
extern bool zouTextInited;
/// The font slots, emptied by zouTextInit().
extern zoFont* zoutFontList[50];
/// The names of the fonts in the slots, emptied by zouTextInit().
extern char zoutFontNames[50][128];
/// Index of the current font slot; -1 means none.
extern int zoutCurrentFont;
/// Font normalisation setting.
extern int zouFontNormalize;
/// \}

/// \name The camera's start values
/// Set by zouInitState(): the field of view in degrees (#zouScreenFov), and the
/// near and far settings (#zouScreenNear, #zouScreenFar, stored for
/// applications; the outermost frame derives its own clipping planes from the
/// window's size).
/// \{
#define ZOU_DEFAULT_FOV 60.0f  ///< Start value of #zouScreenFov, degrees.
#define ZOU_DEFAULT_NEAR 1.5f  ///< Start value of #zouScreenNear.
#define ZOU_DEFAULT_FAR 20.0f  ///< Start value of #zouScreenFar.
/// \}

extern "C" {
/// \name Start-up and wind-down
/// \{

/// Initialises GLUT (with the argument vector {"zou"}, never the process's
/// command line), creates the window titled "zou" in #zouDisplayMode, asks for
/// full screen, registers reshape() and calls zouInitState(). Call it once,
/// first. It does not enter the main loop (zoApp::selfStart does). Without a
/// display GLUT reports the failure and ends the process.
void zouOpen(void);
/// The part of the start-up that needs no window: every setting to its start
/// value (#ZOU_SETTINGS), the global GL state (GL_AUTO_NORMAL, GL_NORMALIZE, alpha blending;
/// needs a current GL context) and the text table. zouOpen() calls it once its
/// window exists; an offscreen or other-platform start calls it in place of
/// zouOpen() and then sets the window size it draws for.
void zouInitState(void);
/// Winds the program down: sets #ZOU_WINDOW_SIZE to 100 × 100, replaces the
/// idle callback (the application's idle is no longer called) and ends the
/// process with status 0 on the fifth idle tick after. A second call restarts
/// the count. The inherited zoApp::keyDown calls it for Escape.
void zouClose(void);
/// Empties the font table: every slot null with an empty name, no current font
/// (the text rows of #ZOU_SETTINGS).
void zouTextInit(void);
/// The start-up reshape callback: stores the size in #zouWindowWidth and
/// #zouWindowHeight. zoApp::selfStart replaces it with reshape_cb().
void reshape(int width, int height);
/// The idle callback of the wind-down that zouClose() registers.
void winddown_cb(void);
/// \}

/// \name Parameter store and diagnostics
/// \{

/// Writes the values of a parameter code to values[0], values[1], … (see the
/// codes above for how many). A code the store does not know writes nothing
/// and reports "Bad parameter passed to zouGetIntegerv" at level 2; a null
/// array writes nothing and says so at level 2.
void zouGetIntegerv(short code, int* values);
/// The first value of a parameter code, for the single-value codes; 0 (with the
/// level-2 message) for a code the store does not know.
int zouGetInteger(short code);
/// Stores values[0], values[1], … in the code's settings; see #ZOU_WINDOW_SIZE
/// for what that code also does. Unknown and read-only codes store nothing
/// and report "Bad parameter passed to zouSetIntegerv" at level 2; a null
/// array stores nothing and says so at level 2.
void zouSetIntegerv(short code, const int* values);
/// The framework's diagnostic channel: writes text and a newline to standard
/// error when level ≤ #zouDebugLevel (a null text as an empty line). Level 1 is
/// fatal: the process then ends with exit(-1), status 255, whether or not the
/// text was written. The framework's own errors and warnings use level 2.
void zouDebug(short level, const char* text);
/// \}

/// \name Nested view frames
/// \{

/// Opens a view frame; display_cb() opens the outermost one around
/// zoApp::draw. The outermost frame sets the viewport to the window, resets
/// both GL matrices, recomputes the view constants if the window size changed
/// since the last time, clears (if #zouWindowClear), places light 0 and puts a
/// perspective camera in the projection matrix under which the plane z = 0
/// shows the window one unit per pixel, origin at the bottom-left corner, the
/// coordinates of mouse events. Light 0 is directional and shines from the
/// direction (width / 2, height / 2, camera distance) in eye coordinates, from
/// in front of the screen. A nested frame pushes both matrices instead. Every
/// frame enables lighting (one-sided), light 0, depth testing (GL_LEQUAL),
/// smooth shading and colour material (glColor sets ambient and diffuse, both
/// faces), and disables 2D textures; it ends with the model-view matrix
/// current. An open while more than 10 frames are open warns at level 2 and
/// opens anyway.
void zouOpenToviFrame(void);
/// Closes the innermost frame: a nested one pops both matrices; the outermost
/// one presents the picture through #zouPresent and pops nothing. Each close
/// must match an open; an unbalanced close is not detected.
void zouCloseToviFrame(void);
/// The matrix and depth bookkeeping of zouOpenToviFrame().
void frameStepUp(void);
/// The matrix and depth bookkeeping of zouCloseToviFrame().
void frameStepDown(void);
/// Recomputes the outermost camera (centre, distance, near and far planes,
/// aspect) from the window size and #zouScreenFov; used from the next outermost
/// frame on. The frames call it only when the window size changes: call it after
/// changing #zouScreenFov. While the window has no height it keeps the last
/// camera (at load, that of a 640 × 480 window).
void updateToviViewConstants(void);

/// How the outermost frame presents its picture when it closes:
/// glutSwapBuffers in a window; an offscreen run (no window, no GLUT) points it
/// elsewhere.
extern void (*zouPresent)(void);
/// \}
}
