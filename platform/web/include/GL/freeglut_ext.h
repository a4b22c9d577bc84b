// freeglut's common additions to GLUT, for the web build: the names and values
// a desktop program finds in <GL/freeglut_ext.h>, so that one source builds
// natively and as a page. Every function declared here links to the page's
// GLUT (platform/web/glut.js); what a page cannot do reports on the console.
#ifndef __FREEGLUT_EXT_H__
#define __FREEGLUT_EXT_H__

#include <GL/freeglut_std.h>

#ifdef __cplusplus
extern "C" {
#endif

// Keys beyond GLUT 3.7's special keys.
#define GLUT_KEY_NUM_LOCK 0x006D
#define GLUT_KEY_BEGIN 0x006E
#define GLUT_KEY_DELETE 0x006F
#define GLUT_KEY_SHIFT_L 0x0070
#define GLUT_KEY_SHIFT_R 0x0071
#define GLUT_KEY_CTRL_L 0x0072
#define GLUT_KEY_CTRL_R 0x0073
#define GLUT_KEY_ALT_L 0x0074
#define GLUT_KEY_ALT_R 0x0075
#define GLUT_KEY_SUPER_L 0x0076
#define GLUT_KEY_SUPER_R 0x0077

#define GLUT_ACTIVE_SUPER 0x0008

// What closing the window (or leaving the main loop) does.
#define GLUT_ACTION_EXIT 0
#define GLUT_ACTION_GLUTMAINLOOP_RETURNS 1
#define GLUT_ACTION_CONTINUE_EXECUTION 2

#define GLUT_CREATE_NEW_CONTEXT 0
#define GLUT_USE_CURRENT_CONTEXT 1

#define GLUT_FORCE_INDIRECT_CONTEXT 0
#define GLUT_ALLOW_DIRECT_CONTEXT 1
#define GLUT_TRY_DIRECT_CONTEXT 2
#define GLUT_FORCE_DIRECT_CONTEXT 3

// glutGet / glutSetOption queries.
#define GLUT_INIT_STATE 0x007C
#define GLUT_ACTION_ON_WINDOW_CLOSE 0x01F9
#define GLUT_WINDOW_BORDER_WIDTH 0x01FA
#define GLUT_WINDOW_BORDER_HEIGHT 0x01FB
#define GLUT_WINDOW_HEADER_HEIGHT 0x01FB
#define GLUT_VERSION 0x01FC
#define GLUT_RENDERING_CONTEXT 0x01FD
#define GLUT_DIRECT_RENDERING 0x01FE
#define GLUT_FULL_SCREEN 0x01FF
#define GLUT_SKIP_STALE_MOTION_EVENTS 0x0204
#define GLUT_GEOMETRY_VISUALIZE_NORMALS 0x0205
#define GLUT_STROKE_FONT_DRAW_JOIN_DOTS 0x0206
#define GLUT_ALLOW_NEGATIVE_WINDOW_POSITION 0x0207
#define GLUT_WINDOW_SRGB 0x007D

// Display mode bits.
#define GLUT_AUX 0x1000
#define GLUT_AUX1 0x1000
#define GLUT_AUX2 0x2000
#define GLUT_AUX3 0x4000
#define GLUT_AUX4 0x8000
#define GLUT_CAPTIONLESS 0x0400
#define GLUT_BORDERLESS 0x0800
#define GLUT_SRGB 0x1000

// Context version queries and flags.
#define GLUT_INIT_MAJOR_VERSION 0x0200
#define GLUT_INIT_MINOR_VERSION 0x0201
#define GLUT_INIT_FLAGS 0x0202
#define GLUT_INIT_PROFILE 0x0203
#define GLUT_DEBUG 0x0001
#define GLUT_FORWARD_COMPATIBLE 0x0002
#define GLUT_CORE_PROFILE 0x0001
#define GLUT_COMPATIBILITY_PROFILE 0x0002

#define GLUT_SPACEBALL_BUTTON_A 0x0001
#define GLUT_SPACEBALL_BUTTON_B 0x0002
#define GLUT_SPACEBALL_BUTTON_C 0x0004
#define GLUT_SPACEBALL_BUTTON_D 0x0008
#define GLUT_SPACEBALL_BUTTON_E 0x0010

// The main loop.
void glutMainLoopEvent(void);
void glutLeaveMainLoop(void);
void glutExit(void);

// The window.
void glutFullScreenToggle(void);
void glutLeaveFullScreen(void);
void glutSetMenuFont(int menuID, void* font);

// Callbacks.
void glutMouseWheelFunc(void (*callback)(int wheel, int direction, int x, int y));
void glutPositionFunc(void (*callback)(int x, int y));
void glutCloseFunc(void (*callback)(void));
void glutWMCloseFunc(void (*callback)(void));
void glutMenuDestroyFunc(void (*callback)(void));

// State.
void glutSetOption(GLenum option, int value);
int* glutGetModeValues(GLenum mode, int* size);
void* glutGetWindowData(void);
void glutSetWindowData(void* data);
void* glutGetMenuData(void);
void glutSetMenuData(void* data);

// Fonts.
int glutBitmapHeight(void* font);
GLfloat glutStrokeHeight(void* font);
void glutBitmapString(void* font, const unsigned char* string);
void glutStrokeString(void* font, const unsigned char* string);

// Shapes.
void glutWireRhombicDodecahedron(void);
void glutSolidRhombicDodecahedron(void);
void glutWireSierpinskiSponge(int levels, double offset[3], double scale);
void glutSolidSierpinskiSponge(int levels, double offset[3], double scale);
void glutWireCylinder(double radius, double height, GLint slices, GLint stacks);
void glutSolidCylinder(double radius, double height, GLint slices, GLint stacks);

// Extension functions.
typedef void (*GLUTproc)(void);
GLUTproc glutGetProcAddress(const char* procName);

// Context creation (a page always has its one WebGL 2 context).
void glutInitContextVersion(int majorVersion, int minorVersion);
void glutInitContextFlags(int flags);
void glutInitContextProfile(int profile);

#ifdef __cplusplus
}
#endif

#endif
