// The GLUT header the framework includes, for the web build: the standard GLUT
// declarations that come with the compiler (the platform layer's glut.js
// replaces what of them does not fit a page).
#pragma once

#include <GL/freeglut_std.h>
