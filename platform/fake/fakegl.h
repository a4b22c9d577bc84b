// A small recording stand-in for OpenGL, GLU and GLUT: a platform like the
// desktop's libraries and the web layer, chosen at link time.
//
// Unit tests and the GL-free benchmarks link this instead of the real
// libraries. Every call is logged with its arguments; the matrix stacks, the
// viewport and the window state that the framework reads back are kept;
// registered callbacks are held so that tests can fire them; glutMainLoop
// returns at once.
#pragma once

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <string>
#include <vector>

namespace fakegl {

struct Call {
    std::string name;
    std::vector<double> args;  // every argument as a double (pointers as 0 or 1)
    std::string text;          // a string argument (window title, argv[0])
    std::string str() const;   // "glVertex3f(1, 2, 3)", numbers in %.9g
};

// The call log. Set `recording` to false to turn every call into a no-op
// apart from the state it keeps (benchmarks do this).
extern std::vector<Call> calls;
extern bool recording;

// Clears the log and puts every piece of state back to its start value.
void reset();

// Names of the logged calls, in order; and the calls formatted with str().
std::vector<std::string> names();
std::vector<std::string> trace();
// Number of logged calls with this name.
int count(const std::string& name);
// The calls with this name, in order.
std::vector<Call> only(const std::string& name);

// --- GL state ---------------------------------------------------------------
// Matrices in OpenGL's column-major order; each stack's back() is current.
extern std::vector<std::vector<double>> modelviewStack;
extern std::vector<std::vector<double>> projectionStack;
extern GLenum matrixMode;
extern GLint viewport[4];

// --- GLUT state -------------------------------------------------------------
extern int currentWindow;      // glutGetWindow(); glutCreateWindow returns it
extern int windowX, windowY;   // glutGet(GLUT_WINDOW_X / _Y)
extern int windowW, windowH;   // glutGet(GLUT_WINDOW_WIDTH / _HEIGHT)
extern int screenW, screenH;   // glutGet(GLUT_SCREEN_WIDTH / _HEIGHT)

extern int elapsedMs;          // glutGet(GLUT_ELAPSED_TIME)
// The name glGenLists hands out next (then counts up); 0 makes it fail, as GL
// does without room for a list. Calls made while a list is compiled are
// logged as any others.
extern unsigned nextList;

extern void (*displayFunc)(void);
extern void (*reshapeFunc)(int, int);
extern void (*mouseFunc)(int, int, int, int);
extern void (*motionFunc)(int, int);
extern void (*passiveMotionFunc)(int, int);
extern void (*idleFunc)(void);
extern void (*keyboardFunc)(unsigned char, int, int);
extern void (*specialFunc)(int, int, int);

}  // namespace fakegl
