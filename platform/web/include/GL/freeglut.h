// The GLUT header programs include, for the web build: GLUT 3.7 as the
// compiler ships it plus freeglut's common additions, with the values the
// desktop's <GL/freeglut.h> has (platform/web/glut.js implements them).
#pragma once

#include <GL/freeglut_std.h>
#include <GL/freeglut_ext.h>
