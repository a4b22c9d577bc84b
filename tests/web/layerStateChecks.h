// The layer's state against OpenGL 1.1's rules, as a table: each row is a
// call sequence, the error glGetError must give after it, and what a query
// must answer then. Rows run inside glPushAttrib/glPushClientAttrib of
// everything, so each starts from the state before it (a row marked `bare`
// handles the stacks itself). Included by layer_checks.cpp.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// From OpenGL 1.4; glext.h declares it only with GL_GLEXT_PROTOTYPES.
extern "C" void glWindowPos2i(GLint x, GLint y);

namespace stateChecks {

typedef std::vector<double> Values;

struct Row {
    const char* what;
    void (*run)();
    GLenum error;        // what glGetError gives after run
    Values (*read)();    // null: only the error is checked
    Values want;         // compared exactly unless `near`
    bool near = false;   // within 1e-6, relative to values above 1
    bool bare = false;   // not wrapped in the attribute stacks
};

Values get(GLenum pname, int n) {
    GLdouble v[16];
    glGetDoublev(pname, v);
    return Values(v, v + n);
}
Values geti(GLenum pname, int n) {
    GLint v[16];
    glGetIntegerv(pname, v);
    return Values(v, v + n);
}

GLuint texture = 0, lists = 0;

// Lists base+0..3 set the line width to 1..4.
void makeLists() {
    lists = glGenLists(4);
    for (int k = 0; k < 4; ++k) {
        glNewList(lists + GLuint(k), GL_COMPILE);
        glLineWidth(GLfloat(k + 1));
        glEndList();
    }
}

const GLenum capabilities[] = {
    GL_ALPHA_TEST, GL_AUTO_NORMAL, GL_BLEND, GL_CLIP_PLANE0, GL_CLIP_PLANE5, GL_COLOR_LOGIC_OP, GL_COLOR_MATERIAL,
    GL_CULL_FACE, GL_DEPTH_TEST, GL_DITHER, GL_FOG, GL_INDEX_LOGIC_OP, GL_LIGHT0, GL_LIGHT7, GL_LIGHTING,
    GL_LINE_SMOOTH, GL_LINE_STIPPLE, GL_MAP1_COLOR_4, GL_MAP1_VERTEX_4, GL_MAP2_NORMAL, GL_MAP2_VERTEX_3,
    GL_NORMALIZE, GL_RESCALE_NORMAL, GL_POINT_SMOOTH, GL_POLYGON_OFFSET_FILL, GL_POLYGON_OFFSET_LINE,
    GL_POLYGON_OFFSET_POINT, GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE, GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_TEXTURE_1D,
    GL_TEXTURE_2D, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_Q};

// A sample of glGet's names, every kind and group.
const GLenum names[] = {
    GL_ACCUM_CLEAR_VALUE, GL_ALPHA_BITS, GL_ATTRIB_STACK_DEPTH, GL_AUX_BUFFERS, GL_CLIENT_ATTRIB_STACK_DEPTH,
    GL_COLOR_MATERIAL_FACE, GL_CURRENT_INDEX, GL_CURRENT_RASTER_DISTANCE, GL_CURRENT_RASTER_INDEX, GL_DEPTH_BITS,
    GL_DEPTH_RANGE, GL_DOUBLEBUFFER, GL_EDGE_FLAG, GL_FOG_INDEX, GL_FOG_START, GL_FOG_END, GL_INDEX_MODE,
    GL_INDEX_OFFSET, GL_LINE_WIDTH_RANGE, GL_LIST_BASE, GL_LIST_MODE, GL_LOGIC_OP_MODE, GL_MAP_COLOR,
    GL_MAP1_GRID_DOMAIN, GL_MAP2_GRID_SEGMENTS, GL_MAX_CLIP_PLANES, GL_MAX_EVAL_ORDER, GL_MAX_LIST_NESTING,
    GL_MAX_NAME_STACK_DEPTH, GL_MAX_PIXEL_MAP_TABLE, GL_MAX_TEXTURE_SIZE, GL_MAX_VIEWPORT_DIMS, GL_NAME_STACK_DEPTH,
    GL_PACK_SKIP_ROWS, GL_PERSPECTIVE_CORRECTION_HINT, GL_PIXEL_MAP_I_TO_R_SIZE, GL_POINT_SIZE_GRANULARITY,
    GL_READ_BUFFER, GL_RENDER_MODE, GL_RGBA_MODE, GL_STENCIL_CLEAR_VALUE, GL_STENCIL_VALUE_MASK, GL_STEREO,
    GL_SUBPIXEL_BITS, GL_TEXTURE_MATRIX, GL_TEXTURE_STACK_DEPTH, GL_UNPACK_LSB_FIRST, GL_ZOOM_Y};

const Row rows[] = {
    {"every capability: glEnable, glIsEnabled, glGetBooleanv, glDisable", [] {}, GL_NO_ERROR, [] {
         double wrong = 0;
         for (GLenum c : capabilities) {
             const GLboolean before = glIsEnabled(c);
             glEnable(c);
             GLboolean on = GL_FALSE;
             glGetBooleanv(c, &on);
             wrong += glIsEnabled(c) != GL_TRUE || on != GL_TRUE;
             glDisable(c);
             wrong += glIsEnabled(c) != GL_FALSE;
             if (before) glEnable(c);
         }
         return Values{wrong, double(glGetError())};
     }, {0, GL_NO_ERROR}},
    {"glGet answers every name of the sample", [] {}, GL_NO_ERROR, [] {
         double wrong = 0;
         for (GLenum n : names) {
             GLdouble v[16];
             glGetDoublev(n, v);
             wrong += glGetError() != GL_NO_ERROR;
         }
         return Values{wrong};
     }, {0}},
    // Bad values change nothing.
    {"glDepthFunc of a bad enum", [] { glDepthFunc(0x1234); }, GL_INVALID_ENUM,
     [] { return get(GL_DEPTH_FUNC, 1); }, {GL_LESS}},
    {"glBlendFunc: GL_SRC_COLOR is no source factor in GL 1.1",
     [] { glBlendFunc(GL_SRC_COLOR, GL_ZERO); }, GL_INVALID_ENUM,
     [] { return Values{get(GL_BLEND_SRC, 1)[0], get(GL_BLEND_DST, 1)[0]}; }, {GL_ONE, GL_ZERO}},
    {"glBlendFunc of valid factors", [] { glBlendFunc(GL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_DST_ALPHA); },
     GL_NO_ERROR, [] { return Values{get(GL_BLEND_SRC, 1)[0], get(GL_BLEND_DST, 1)[0]}; },
     {GL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_DST_ALPHA}},
    {"glLineWidth(0)", [] { glLineWidth(0); }, GL_INVALID_VALUE, [] { return get(GL_LINE_WIDTH, 1); }, {1}},
    {"glStencilOp checks all three before setting any",
     [] { glStencilOp(GL_ZERO, GL_INCR, 0x1); }, GL_INVALID_ENUM,
     [] { return Values{get(GL_STENCIL_FAIL, 1)[0], get(GL_STENCIL_PASS_DEPTH_FAIL, 1)[0]}; }, {GL_KEEP, GL_KEEP}},
    {"glAlphaFunc clamps its reference", [] { glAlphaFunc(GL_GREATER, 2); }, GL_NO_ERROR,
     [] { return Values{get(GL_ALPHA_TEST_FUNC, 1)[0], get(GL_ALPHA_TEST_REF, 1)[0]}; }, {GL_GREATER, 1}},
    {"glHint", [] { glHint(GL_FOG_HINT, GL_NICEST), glHint(GL_LINE_SMOOTH_HINT, 0x1234); }, GL_INVALID_ENUM,
     [] { return Values{get(GL_FOG_HINT, 1)[0], get(GL_LINE_SMOOTH_HINT, 1)[0]}; }, {GL_NICEST, GL_DONT_CARE}},
    {"glFog: a negative density", [] { glFogi(GL_FOG_MODE, GL_LINEAR), glFogf(GL_FOG_DENSITY, -1); },
     GL_INVALID_VALUE, [] { return Values{get(GL_FOG_MODE, 1)[0], get(GL_FOG_DENSITY, 1)[0]}; }, {GL_LINEAR, 1}},
    {"glFogfv clamps the colour", [] {
         const GLfloat c[4] = {2, -1, 0.5f, 1};
         glFogfv(GL_FOG_COLOR, c);
     }, GL_NO_ERROR, [] { return get(GL_FOG_COLOR, 4); }, {1, 0, 0.5, 1}},
    {"glFogf of the colour, a vector", [] { glFogf(GL_FOG_COLOR, 1); }, GL_INVALID_ENUM, nullptr, {}},
    {"a state call inside glBegin/glEnd", [] {
         glBegin(GL_POINTS);
         glDepthFunc(GL_GREATER);
         glEnd();
     }, GL_INVALID_OPERATION, [] { return get(GL_DEPTH_FUNC, 1); }, {GL_LESS}},
    {"glEnable of a client array", [] { glEnable(GL_VERTEX_ARRAY); }, GL_INVALID_ENUM, nullptr, {}},
    {"glEnableClientState", [] { glEnableClientState(GL_NORMAL_ARRAY); }, GL_NO_ERROR,
     [] { return Values{double(glIsEnabled(GL_NORMAL_ARRAY)), double(glIsEnabled(GL_VERTEX_ARRAY))}; }, {1, 0}},
    {"glPixelStorei: an alignment of 3", [] { glPixelStorei(GL_UNPACK_ALIGNMENT, 3); }, GL_INVALID_VALUE,
     [] { return get(GL_UNPACK_ALIGNMENT, 1); }, {4}},
    {"glPolygonMode by face", [] { glPolygonMode(GL_BACK, GL_LINE), glPolygonMode(GL_FRONT, 0x1234); },
     GL_INVALID_ENUM, [] { return get(GL_POLYGON_MODE, 2); }, {GL_FILL, GL_LINE}},
    {"glLineStipple clamps the repeat", [] { glLineStipple(300, 0xf0f0); }, GL_NO_ERROR,
     [] { return Values{get(GL_LINE_STIPPLE_REPEAT, 1)[0], get(GL_LINE_STIPPLE_PATTERN, 1)[0]}; }, {256, 0xf0f0}},
    {"glDrawBuffer of a right buffer the canvas does not have", [] { glDrawBuffer(GL_RIGHT); },
     GL_INVALID_OPERATION, [] { return get(GL_DRAW_BUFFER, 1); }, {GL_BACK}},
    // GL's conversions.
    {"glGetIntegerv maps colours over the integer range", [] { glClearColor(1, 0, 0, 1); }, GL_NO_ERROR,
     [] { return geti(GL_COLOR_CLEAR_VALUE, 4); }, {2147483647, 0, 0, 2147483647}},
    {"glGetIntegerv rounds other floats", [] { glLineWidth(2.5f), glPointSize(1.4f); }, GL_NO_ERROR,
     [] { return Values{geti(GL_LINE_WIDTH, 1)[0], geti(GL_POINT_SIZE, 1)[0]}; }, {3, 1}},
    {"glGetBooleanv", [] { glDepthMask(GL_FALSE); }, GL_NO_ERROR, [] {
         GLboolean b[4];
         glGetBooleanv(GL_DEPTH_WRITEMASK, b);
         glGetBooleanv(GL_COLOR_WRITEMASK, b + 1);
         return Values{double(b[0]), double(b[1])};
     }, {0, 1}},
    {"glColor3b converts as GL does", [] {
         glColor3b(127, -128, 0);
     }, GL_NO_ERROR, [] { return get(GL_CURRENT_COLOR, 4); }, {1, -1, 1 / 255.0, 1}, true},
    {"glNormal3s", [] { glNormal3s(32767, 0, -32768); }, GL_NO_ERROR, [] { return get(GL_CURRENT_NORMAL, 3); },
     {1, 1 / 65535.0, -1}, true},
    {"glTexCoord1i", [] { glTexCoord1i(3); }, GL_NO_ERROR, [] { return get(GL_CURRENT_TEXTURE_COORDS, 4); },
     {3, 0, 0, 1}},
    {"glLightModeliv maps integer colours", [] {
         const GLint c[4] = {2147483647, 0, 0, 2147483647};
         glLightModeliv(GL_LIGHT_MODEL_AMBIENT, c);
     }, GL_NO_ERROR, [] { return get(GL_LIGHT_MODEL_AMBIENT, 4); }, {1, 1 / 4294967295.0, 1 / 4294967295.0, 1}, true},
    // Lights, materials and planes.
    {"a spot direction is kept in eye coordinates", [] {
         glPushMatrix();
         glLoadIdentity();
         glRotatef(90, 0, 0, 1);
         const GLfloat d[3] = {1, 0, 0};
         glLightfv(GL_LIGHT1, GL_SPOT_DIRECTION, d);
         glPopMatrix();
     }, GL_NO_ERROR, [] {
         GLfloat d[3];
         glGetLightfv(GL_LIGHT1, GL_SPOT_DIRECTION, d);
         return Values(d, d + 3);
     }, {0, 1, 0}, true},
    {"a spot cut-off of 95", [] { glLightf(GL_LIGHT1, GL_SPOT_CUTOFF, 95); }, GL_INVALID_VALUE, [] {
         GLfloat c;
         glGetLightfv(GL_LIGHT1, GL_SPOT_CUTOFF, &c);
         return Values{c};
     }, {180}},
    {"a shininess of 129", [] { glMaterialf(GL_FRONT, GL_SHININESS, 129); }, GL_INVALID_VALUE, [] {
         GLfloat c;
         glGetMaterialfv(GL_FRONT, GL_SHININESS, &c);
         return Values{c};
     }, {0}},
    {"glGetMaterial of both faces", [] {
         GLfloat c[4];
         glGetMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, c);
     }, GL_INVALID_ENUM, nullptr, {}},
    {"a clip plane is kept in eye coordinates", [] {
         glPushMatrix();
         glLoadIdentity();
         glTranslatef(0, 0, -5);
         const GLdouble p[4] = {0, 0, 1, 0};
         glClipPlane(GL_CLIP_PLANE2, p);
         glPopMatrix();
     }, GL_NO_ERROR, [] {
         GLdouble p[4];
         glGetClipPlane(GL_CLIP_PLANE2, p);
         return Values(p, p + 4);
     }, {0, 0, 1, 5}},
    {"a sphere map for r", [] { glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP); }, GL_INVALID_ENUM, [] {
         GLint m;
         glGetTexGeniv(GL_R, GL_TEXTURE_GEN_MODE, &m);
         return Values{double(m)};
     }, {GL_EYE_LINEAR}},
    {"glTexEnv", [] { glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL); }, GL_NO_ERROR, [] {
         GLint m;
         glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &m);
         return Values{double(m)};
     }, {GL_DECAL}},
    {"glGetFloatv of a texture environment name", [] {
         GLfloat v[4];
         glGetFloatv(GL_TEXTURE_ENV_MODE, v);
     }, GL_INVALID_ENUM, nullptr, {}},
    {"glPolygonStipple unpacks with lsbFirst", [] {
         GLubyte m[128];
         for (int i = 0; i < 128; ++i) m[i] = GLubyte(i == 0 ? 0x01 : 0);
         glPixelStorei(GL_UNPACK_LSB_FIRST, GL_TRUE);
         glPolygonStipple(m);
     }, GL_NO_ERROR, [] {
         GLubyte m[128];
         glGetPolygonStipple(m);
         return Values{double(m[0]), double(m[1]), double(m[4])};
     }, {0x80, 0, 0}},
    // The attribute stacks by group.
    {"glPopAttrib restores only the groups pushed", [] {
         glPushAttrib(GL_FOG_BIT);
         glFogf(GL_FOG_DENSITY, 3);
         glDepthFunc(GL_GREATER);
         glPopAttrib();
     }, GL_NO_ERROR, [] { return Values{get(GL_FOG_DENSITY, 1)[0], get(GL_DEPTH_FUNC, 1)[0]}; }, {1, GL_GREATER}},
    {"GL_ACCUM_BUFFER_BIT holds the accumulation buffer's clear value", [] {
         glPushAttrib(GL_ACCUM_BUFFER_BIT);
         glClearAccum(0.5f, -0.25f, 1, 0.75f);
         glPopAttrib();
     }, GL_NO_ERROR, [] { return get(GL_ACCUM_CLEAR_VALUE, 4); }, {0, 0, 0, 0}},
    {"GL_ENABLE_BIT holds every capability", [] {
         glPushAttrib(GL_ENABLE_BIT);
         glEnable(GL_FOG), glEnable(GL_CLIP_PLANE3), glEnable(GL_TEXTURE_GEN_Q);
         glPopAttrib();
     }, GL_NO_ERROR, [] {
         return Values{double(glIsEnabled(GL_FOG)), double(glIsEnabled(GL_CLIP_PLANE3)),
                       double(glIsEnabled(GL_TEXTURE_GEN_Q))};
     }, {0, 0, 0}},
    {"GL_LINE_BIT holds the stipple and its enable", [] {
         glPushAttrib(GL_LINE_BIT);
         glLineStipple(3, 0xf0f0), glEnable(GL_LINE_STIPPLE);
         glPopAttrib();
     }, GL_NO_ERROR, [] {
         return Values{get(GL_LINE_STIPPLE_REPEAT, 1)[0], get(GL_LINE_STIPPLE_PATTERN, 1)[0],
                       double(glIsEnabled(GL_LINE_STIPPLE))};
     }, {1, 0xffff, 0}},
    {"GL_TEXTURE_BIT holds the binding and the environment", [] {
         glPushAttrib(GL_TEXTURE_BIT);
         glBindTexture(GL_TEXTURE_2D, 77);
         glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_BLEND);
         glPopAttrib();
     }, GL_NO_ERROR, [] {
         GLint m;
         glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &m);
         return Values{get(GL_TEXTURE_BINDING_2D, 1)[0], double(m)};
     }, {0, GL_MODULATE}},
    {"GL_TEXTURE_BIT holds the bound texture's parameters", [] {
         glBindTexture(GL_TEXTURE_2D, texture);
         glPushAttrib(GL_TEXTURE_BIT);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
         glPopAttrib();
     }, GL_NO_ERROR, [] {
         GLint f;
         glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &f);
         return Values{double(f)};
     }, {GL_LINEAR}},
    {"glPixelStorei inside glBegin/glEnd", [] {
         glBegin(GL_POINTS);
         glPixelStorei(GL_PACK_ALIGNMENT, 1);
         glEnd();
     }, GL_INVALID_OPERATION, [] { return get(GL_PACK_ALIGNMENT, 1); }, {4}},
    {"glPopClientAttrib restores the pixel store", [] {
         glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
         glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
         glPushAttrib(GL_ALL_ATTRIB_BITS);
         glPopAttrib();
         glPopClientAttrib();
     }, GL_NO_ERROR, [] { return get(GL_UNPACK_ALIGNMENT, 1); }, {4}},
    {"glPopAttrib of an empty stack", [] { glPopAttrib(); }, GL_STACK_UNDERFLOW,
     [] { return get(GL_ATTRIB_STACK_DEPTH, 1); }, {0}, false, true},
    {"a push past the attribute stack's depth", [] {
         GLint most = 0;
         glGetIntegerv(GL_MAX_ATTRIB_STACK_DEPTH, &most);
         for (int i = 0; i <= most; ++i) glPushAttrib(GL_CURRENT_BIT);
     }, GL_STACK_OVERFLOW, [] {
         const Values depth = get(GL_ATTRIB_STACK_DEPTH, 1);
         GLint d = 0;
         glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &d);
         for (int i = 0; i < d; ++i) glPopAttrib();
         return depth;
     }, {16}, false, true},
    {"the texture matrix stack", [] {
         glMatrixMode(GL_TEXTURE);
         for (int i = 0; i < 10; ++i) glPushMatrix();
     }, GL_STACK_OVERFLOW, [] {
         const Values depth = get(GL_TEXTURE_STACK_DEPTH, 1);
         for (int i = 0; i < 9; ++i) glPopMatrix();
         glMatrixMode(GL_MODELVIEW);
         return depth;
     }, {10}},
    // Display lists: recorded, replayed, errors when run.
    {"a compiled list changes nothing until it is called", [] {
         const GLuint l = glGenLists(1);
         glNewList(l, GL_COMPILE);
         glDepthFunc(GL_EQUAL), glLineWidth(4), glEnable(GL_FOG), glFogi(GL_FOG_MODE, GL_EXP2);
         glEndList();
     }, GL_NO_ERROR, [] {
         return Values{get(GL_DEPTH_FUNC, 1)[0], get(GL_LINE_WIDTH, 1)[0], double(glIsEnabled(GL_FOG)),
                       get(GL_FOG_MODE, 1)[0]};
     }, {GL_LESS, 1, 0, GL_EXP}},
    {"a called list sets what it recorded", [] {
         const GLuint l = glGenLists(1);
         glNewList(l, GL_COMPILE);
         glDepthFunc(GL_EQUAL), glLineWidth(4), glEnable(GL_FOG), glFogi(GL_FOG_MODE, GL_EXP2);
         glEndList();
         glCallList(l);
     }, GL_NO_ERROR, [] {
         return Values{get(GL_DEPTH_FUNC, 1)[0], get(GL_LINE_WIDTH, 1)[0], double(glIsEnabled(GL_FOG)),
                       get(GL_FOG_MODE, 1)[0]};
     }, {GL_EQUAL, 4, 1, GL_EXP2}},
    {"a list's bad call is an error when the list runs", [] {
         const GLuint l = glGenLists(1);
         glNewList(l, GL_COMPILE);
         glDepthFunc(0x1234);
         glEndList();
         if (glGetError() == GL_NO_ERROR) glCallList(l);
     }, GL_INVALID_ENUM, nullptr, {}},
    {"glGetIntegerv(GL_LIST_INDEX) while compiling", [] {
         const GLuint l = glGenLists(1);
         glNewList(l, GL_COMPILE_AND_EXECUTE);
         GLint i[2];
         glGetIntegerv(GL_LIST_INDEX, i);
         glGetIntegerv(GL_LIST_MODE, i + 1);
         glEndList();
         glLineWidth(i[0] == GLint(l) && i[1] == GL_COMPILE_AND_EXECUTE ? 7.0f : 1.0f);
     }, GL_NO_ERROR, [] { return get(GL_LINE_WIDTH, 1); }, {7}},
    {"glCallLists GL_UNSIGNED_BYTE from the list base", [] {
         const GLubyte n[1] = {2};
         glListBase(lists);
         glCallLists(1, GL_UNSIGNED_BYTE, n);
     }, GL_NO_ERROR, [] { return get(GL_LINE_WIDTH, 1); }, {3}},
    {"glCallLists GL_BYTE below the base", [] {
         const GLbyte n[1] = {-1};
         glListBase(lists + 2);
         glCallLists(1, GL_BYTE, n);
     }, GL_NO_ERROR, [] { return get(GL_LINE_WIDTH, 1); }, {2}},
    {"glCallLists GL_SHORT, GL_INT and GL_FLOAT in order", [] {
         const GLshort s[2] = {0, 3};
         const GLint i[1] = {1};
         const GLfloat f[1] = {2};
         glListBase(lists);
         glCallLists(2, GL_SHORT, s);
         const GLfloat afterShort = get(GL_LINE_WIDTH, 1)[0] == 4 ? 1 : 0;
         glCallLists(1, GL_INT, i);
         const GLfloat afterInt = get(GL_LINE_WIDTH, 1)[0] == 2 ? 1 : 0;
         glCallLists(1, GL_FLOAT, f);
         glPointSize(afterShort + afterInt + 1);
     }, GL_NO_ERROR, [] { return Values{get(GL_LINE_WIDTH, 1)[0], get(GL_POINT_SIZE, 1)[0]}; }, {3, 3}},
    {"glCallLists of byte groups, most significant first", [] {
         const GLubyte two[2] = {0, 1}, three[3] = {0, 0, 2}, four[4] = {0, 0, 0, 3};
         glListBase(lists);
         glCallLists(1, GL_2_BYTES, two);
         const GLfloat a = get(GL_LINE_WIDTH, 1)[0];
         glCallLists(1, GL_3_BYTES, three);
         const GLfloat b = get(GL_LINE_WIDTH, 1)[0];
         glCallLists(1, GL_4_BYTES, four);
         glPointSize(a * 10 + b);
     }, GL_NO_ERROR, [] { return Values{get(GL_POINT_SIZE, 1)[0], get(GL_LINE_WIDTH, 1)[0]}; }, {23, 4}},
    {"glCallLists of a bad type", [] {
         const GLubyte n[1] = {0};
         glCallLists(1, 0x1234, n);
     }, GL_INVALID_ENUM, nullptr, {}},
    {"glCallLists of a negative count", [] { glCallLists(-1, GL_UNSIGNED_BYTE, nullptr); }, GL_INVALID_VALUE,
     nullptr, {}},
    {"a list that calls lists through glCallLists, compiled", [] {
         const GLuint l = glGenLists(1);
         const GLubyte n[1] = {3};
         glListBase(lists);
         glNewList(l, GL_COMPILE);
         glCallLists(1, GL_UNSIGNED_BYTE, n);
         glEndList();
         glListBase(lists - 2);  // the base applies when the list runs
         glCallList(l);
     }, GL_NO_ERROR, [] { return get(GL_LINE_WIDTH, 1); }, {2}},
    {"a list keeps a texture image as it was at glNewList's time", [] {
         GLubyte px[4] = {10, 20, 30, 40};
         const GLuint l = glGenLists(1);
         glBindTexture(GL_TEXTURE_2D, texture);
         glNewList(l, GL_COMPILE);
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
         glEndList();
         px[0] = 99;
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
         glCallList(l);
     }, GL_NO_ERROR, [] {
         GLubyte out[4];
         glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out);
         return Values{double(out[0]), double(out[3])};
     }, {10, 40}},
    {"a list's glRasterPos takes the matrices current when it runs", [] {
         const GLuint l = glGenLists(1);
         glNewList(l, GL_COMPILE);
         glRasterPos2f(10, 10);
         glEndList();
         glPushMatrix();
         glTranslatef(5, 0, 0);
         glCallList(l);
         glPopMatrix();
     }, GL_NO_ERROR, [] { return get(GL_CURRENT_RASTER_POSITION, 2); }, {15, 10}, true},
    {"GL_CURRENT_BIT holds the raster position", [] {
         glRasterPos2f(10, 10);
         glPushAttrib(GL_CURRENT_BIT);
         glRasterPos2f(-10, 50);
         glPopAttrib();
     }, GL_NO_ERROR, [] {
         return Values{get(GL_CURRENT_RASTER_POSITION_VALID, 1)[0], get(GL_CURRENT_RASTER_POSITION, 1)[0]};
     }, {1, 10}, true},
    {"glPixelTransfer is kept", [] { glPixelTransferf(GL_RED_SCALE, 2), glPixelTransferi(GL_INDEX_SHIFT, -3); },
     GL_NO_ERROR, [] { return Values{get(GL_RED_SCALE, 1)[0], get(GL_INDEX_SHIFT, 1)[0]}; }, {2, -3}},
    {"glNewList inside a list", [] {
         const GLuint l = glGenLists(2);
         glNewList(l, GL_COMPILE);
         glNewList(l + 1, GL_COMPILE);
         glEndList();
     }, GL_INVALID_OPERATION, nullptr, {}},
    // Textures.
    {"glTexImage2D of a width that is no power of two", [] {
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 3, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
     }, GL_INVALID_VALUE, [] { return get(GL_TEXTURE_2D, 1); }, {0}},
    {"glTexImage2D with a border: 2^n + 2", [] {
         glBindTexture(GL_TEXTURE_2D, texture);
         glTexImage2D(GL_TEXTURE_2D, 0, 3, 10, 6, 1, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
     }, GL_NO_ERROR, [] {
         GLint w, h, b, f;
         glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
         glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
         glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_BORDER, &b);
         glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPONENTS, &f);
         return Values{double(w), double(h), double(b), double(f)};
     }, {10, 6, 1, 3}},
    {"glTexImage2D of internal format 5", [] {
         glTexImage2D(GL_TEXTURE_2D, 0, 5, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
     }, GL_INVALID_VALUE, nullptr, {}},
    {"glTexImage2D of a bad format", [] {
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, 0x1234, GL_UNSIGNED_BYTE, nullptr);
     }, GL_INVALID_ENUM, nullptr, {}},
    {"glTexImage2D of GL_BITMAP RGBA", [] {
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_BITMAP, nullptr);
     }, GL_INVALID_ENUM, nullptr, {}},
    {"glTexImage2D larger than WebGL allows", [] {
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1 << 20, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
     }, GL_INVALID_VALUE, nullptr, {}},
    {"the proxy answers a size too large with a width of 0", [] {
         glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA, 1 << 20, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
     }, GL_NO_ERROR, [] {
         GLint w = -1;
         glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
         return Values{double(w)};
     }, {0}},
    {"glTexImage2D unpacks row length, skips and alignment; glGetTexImage packs", [] {
         // A 3 x 3 RGB image; the texture is its top-right 2 x 2.
         GLubyte px[27];
         for (int i = 0; i < 27; ++i) px[i] = GLubyte(10 * i);
         glBindTexture(GL_TEXTURE_2D, texture);
         glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
         glPixelStorei(GL_UNPACK_ROW_LENGTH, 3);
         glPixelStorei(GL_UNPACK_SKIP_ROWS, 1);
         glPixelStorei(GL_UNPACK_SKIP_PIXELS, 1);
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, px);
     }, GL_NO_ERROR, [] {
         GLubyte out[16];
         glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out);
         return Values{double(out[0]), double(out[3]), double(out[4]), double(out[8]), double(out[15])};
     }, {120, 255, 150, 210, 255}},
    {"glTexImage2D of unsigned shorts with their bytes swapped", [] {
         const GLubyte px[8] = {0x00, 0xff, 0x00, 0xff, 0x00, 0xff, 0x00, 0xff};
         glBindTexture(GL_TEXTURE_2D, texture);
         glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_TRUE);
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_SHORT, px);
     }, GL_NO_ERROR, [] {
         GLubyte out[4];
         glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out);
         return Values{double(out[0]), double(out[3])};
     }, {1, 1}},
    {"glTexImage2D of luminance-alpha floats", [] {
         const GLfloat px[2] = {0.25f, 0.75f};
         glBindTexture(GL_TEXTURE_2D, texture);
         glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE8_ALPHA8, 1, 1, 0, GL_LUMINANCE_ALPHA, GL_FLOAT, px);
     }, GL_NO_ERROR, [] {
         GLubyte out[4] = {0, 0, 0, 0};
         glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, out);
         GLint l, a, r;
         glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_LUMINANCE_SIZE, &l);
         glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &a);
         glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_RED_SIZE, &r);
         return Values{double(out[0]), double(out[1]), double(l), double(a), double(r)};
     }, {64, 191, 8, 8, 0}},
    {"glTexSubImage2D of a level never defined", [] {
         glBindTexture(GL_TEXTURE_2D, texture);
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
         const GLubyte px[4] = {0, 0, 0, 0};
         glTexSubImage2D(GL_TEXTURE_2D, 1, 0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
     }, GL_INVALID_OPERATION, nullptr, {}},
    {"glTexSubImage2D outside its level", [] {
         glBindTexture(GL_TEXTURE_2D, texture);
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
         const GLubyte px[8] = {0};
         glTexSubImage2D(GL_TEXTURE_2D, 0, 3, 0, 2, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
     }, GL_INVALID_VALUE, nullptr, {}},
    {"glTexSubImage2D of a luminance texture", [] {
         glBindTexture(GL_TEXTURE_2D, texture);
         glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 2, 1, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, nullptr);
         const GLfloat px[3] = {0.2f, 0.4f, 0.6f};
         glTexSubImage2D(GL_TEXTURE_2D, 0, 1, 0, 1, 1, GL_RGB, GL_FLOAT, px);
     }, GL_NO_ERROR, [] {
         GLubyte out[2];
         glPixelStorei(GL_PACK_ALIGNMENT, 1);
         glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, out);
         return Values{double(out[1])};
     }, {51}},
    {"glTexImage1D with a border; glTexSubImage1D over its first texels", [] {
         GLubyte px[24];
         for (int i = 0; i < 24; ++i) px[i] = GLubyte(10 * i);
         glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 6, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
         const GLubyte two[8] = {1, 2, 3, 4, 5, 6, 7, 8};
         glTexSubImage1D(GL_TEXTURE_1D, 0, -1, 2, GL_RGBA, GL_UNSIGNED_BYTE, two);
     }, GL_NO_ERROR, [] {
         GLint w, h;
         glGetTexLevelParameteriv(GL_TEXTURE_1D, 0, GL_TEXTURE_WIDTH, &w);
         glGetTexLevelParameteriv(GL_TEXTURE_1D, 0, GL_TEXTURE_HEIGHT, &h);
         GLubyte out[16];
         glGetTexImage(GL_TEXTURE_1D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out);
         return Values{double(w), double(h), double(out[0]), double(out[4]), double(out[15])};
     }, {6, 1, 5, 80, 190}},
    {"glTexParameteri checks its values", [] {
         glBindTexture(GL_TEXTURE_2D, texture);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_REPEAT);
     }, GL_INVALID_ENUM, [] {
         GLint w, f;
         glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &w);
         glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &f);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
         return Values{double(w), double(f)};
     }, {GL_CLAMP, GL_NEAREST_MIPMAP_LINEAR}},
    {"a 2D texture bound as 1D", [] { glBindTexture(GL_TEXTURE_1D, texture); }, GL_INVALID_OPERATION,
     [] { return get(GL_TEXTURE_BINDING_1D, 1); }, {0}},
    {"glIsTexture: generated, bound, deleted", [] {}, GL_NO_ERROR, [] {
         GLuint t;
         glGenTextures(1, &t);
         const double generated = glIsTexture(t);
         glBindTexture(GL_TEXTURE_1D, t);
         const double bound = glIsTexture(t);
         glDeleteTextures(1, &t);
         return Values{generated, bound, double(glIsTexture(t)), get(GL_TEXTURE_BINDING_1D, 1)[0]};
     }, {0, 1, 0, 0}},
    {"every texture is resident; a priority is clamped", [] {
         const GLclampf p = 2;
         glPrioritizeTextures(1, &texture, &p);
     }, GL_NO_ERROR, [] {
         GLboolean r = 7;
         const double all = glAreTexturesResident(1, &texture, &r);
         GLfloat p;
         glBindTexture(GL_TEXTURE_2D, texture);
         glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_PRIORITY, &p);
         return Values{all, double(r), p};
     }, {1, 7, 1}},
    {"glAreTexturesResident of name 0", [] {
         const GLuint zero = 0;
         GLboolean r;
         glAreTexturesResident(1, &zero, &r);
     }, GL_INVALID_VALUE, nullptr, {}},
    // The raster position.
    {"glRasterPos: window position, colour and texture coordinates taken then", [] {
         glMatrixMode(GL_TEXTURE);
         glPushMatrix();
         glTranslatef(0.5f, 0, 0);
         glColor3f(1, 0, 0);
         glTexCoord2f(0.25f, 0.5f);
         glRasterPos2f(10.5f, 20.25f);
         glColor3f(0, 1, 0);
         glPopMatrix();
         glMatrixMode(GL_MODELVIEW);
     }, GL_NO_ERROR, [] {
         Values v = get(GL_CURRENT_RASTER_POSITION, 4);
         for (double c : get(GL_CURRENT_RASTER_COLOR, 4)) v.push_back(c);
         for (double c : get(GL_CURRENT_RASTER_TEXTURE_COORDS, 2)) v.push_back(c);
         v.push_back(get(GL_CURRENT_RASTER_POSITION_VALID, 1)[0]);
         return v;
     }, {10.5, 20.25, 0.5, 1, 1, 0, 0, 1, 0.75, 0.5, 1}, true},
    {"glRasterPos outside the view volume is invalid", [] { glRasterPos2f(-10, 20); }, GL_NO_ERROR,
     [] { return get(GL_CURRENT_RASTER_POSITION_VALID, 1); }, {0}},
    {"glRasterPos clipped by a clip plane", [] {
         const GLdouble p[4] = {-1, 0, 0, 50};  // keeps x <= 50
         glClipPlane(GL_CLIP_PLANE0, p);
         glEnable(GL_CLIP_PLANE0);
         glRasterPos2f(60, 20);
     }, GL_NO_ERROR, [] { return get(GL_CURRENT_RASTER_POSITION_VALID, 1); }, {0}},
    {"glRasterPos lit: emission plus the model's ambient", [] {
         glEnable(GL_LIGHTING);
         glRasterPos2f(10, 10);
     }, GL_NO_ERROR, [] { return get(GL_CURRENT_RASTER_COLOR, 4); }, {0.04, 0.04, 0.04, 1}, true},
    {"glWindowPos", [] {
         glColor3f(0, 0, 1);
         glDepthRange(0.5, 1);
         glWindowPos2i(-5, 6);
     }, GL_NO_ERROR, [] {
         Values v = get(GL_CURRENT_RASTER_POSITION, 4);
         v.push_back(get(GL_CURRENT_RASTER_POSITION_VALID, 1)[0]);
         v.push_back(get(GL_CURRENT_RASTER_COLOR, 4)[2]);
         return v;
     }, {-5, 6, 0.5, 1, 1, 1}},
    {"glRect inside glBegin/glEnd", [] {
         glBegin(GL_LINES);
         glRectf(0, 0, 1, 1);
         glEnd();
     }, GL_INVALID_OPERATION, nullptr, {}},
    // Pixels read back.
    {"glReadPixels: RGB floats, luminance bytes, the pack alignment", [] {
         glClearColor(1, 0.5f, 0, 1);
         glClear(GL_COLOR_BUFFER_BIT);
     }, GL_NO_ERROR, [] {
         GLfloat rgb[3];
         glReadPixels(5, 5, 1, 1, GL_RGB, GL_FLOAT, rgb);
         GLubyte l[8] = {9, 9, 9, 9, 9, 9, 9, 9};
         glPixelStorei(GL_PACK_ALIGNMENT, 4);
         glReadPixels(5, 5, 1, 2, GL_LUMINANCE, GL_UNSIGNED_BYTE, l);  // rows 4 bytes apart
         const bool half = std::fabs(rgb[1] * 255 - 127.5) <= 1;
         return Values{rgb[0], double(half), rgb[2], double(l[0]), double(l[1]), double(l[4])};
     }, {1, 1, 0, 255, 9, 255}},
    {"glReadPixels of a colour index", [] {
         GLubyte i[4];
         glReadPixels(0, 0, 1, 1, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, i);
     }, GL_INVALID_OPERATION, nullptr, {}},
    {"glReadPixels partly outside the window writes only the inside", [] {
         glClearColor(0, 1, 0, 1);
         glClear(GL_COLOR_BUFFER_BIT);
     }, GL_NO_ERROR, [] {
         GLubyte p[8] = {7, 7, 7, 7, 7, 7, 7, 7};
         glReadPixels(-1, 0, 2, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
         return Values{double(p[1]), double(p[5])};
     }, {7, 255}},
    {"glReadPixels through the colour maps", [] {
         const GLfloat r[3] = {0.2f, 0.4f, 0.6f}, g[3] = {0.1f, 0.3f, 0.7f};
         glPixelMapfv(GL_PIXEL_MAP_R_TO_R, 3, r);
         glPixelMapfv(GL_PIXEL_MAP_G_TO_G, 3, g);
         glPixelTransferi(GL_MAP_COLOR, GL_TRUE);
         glClearColor(1, 0.5f, 0, 1);
         glClear(GL_COLOR_BUFFER_BIT);
     }, GL_NO_ERROR, [] {
         GLfloat c[2];
         glReadPixels(5, 5, 1, 1, GL_RED, GL_FLOAT, c);
         glReadPixels(5, 5, 1, 1, GL_GREEN, GL_FLOAT, c + 1);
         GLint size = 0;
         glGetIntegerv(GL_PIXEL_MAP_G_TO_G_SIZE, &size);
         const GLfloat zero = 0;  // the maps back as GL starts them (no attribute group holds them)
         glPixelMapfv(GL_PIXEL_MAP_R_TO_R, 1, &zero);
         glPixelMapfv(GL_PIXEL_MAP_G_TO_G, 1, &zero);
         return Values{c[0], c[1], double(size)};
     }, {0.6, 0.3, 3}, true},
    {"glDrawPixels of depth, read back", [] {
         glEnable(GL_DEPTH_TEST);
         glDepthFunc(GL_ALWAYS);
         glWindowPos2i(20, 20);
         const GLfloat z[2] = {0.25f, 0.75f};
         glDrawPixels(2, 1, GL_DEPTH_COMPONENT, GL_FLOAT, z);
     }, GL_NO_ERROR, [] {
         GLuint z[2];
         glReadPixels(20, 20, 2, 1, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, z);
         return Values{z[0] / 256.0, z[1] / 256.0};  // within a few steps of the 24 bits
     }, {4194304, 12582912}, true},
    {"glDrawPixels of stencil through an index offset and the stencil map, read back", [] {
         const GLushort map[4] = {0, 7, 9, 5};
         glPixelMapusv(GL_PIXEL_MAP_S_TO_S, 4, map);
         glPixelTransferi(GL_MAP_STENCIL, GL_TRUE);
         glPixelTransferi(GL_INDEX_OFFSET, 1);
         glWindowPos2i(20, 20);
         const GLubyte v[2] = {0, 1};
         glDrawPixels(2, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, v);
     }, GL_NO_ERROR, [] {
         glPixelTransferi(GL_MAP_STENCIL, GL_FALSE);
         glPixelTransferi(GL_INDEX_OFFSET, 0);
         GLushort v[2];
         glReadPixels(20, 20, 2, 1, GL_STENCIL_INDEX, GL_UNSIGNED_SHORT, v);
         GLuint map[4];
         glGetPixelMapuiv(GL_PIXEL_MAP_S_TO_S, map);
         return Values{double(v[0]), double(v[1]), double(map[3])};
     }, {7, 9, 5}},
    {"glDrawPixels in a list keeps the pixels of its compilation", [] {
         GLubyte red[3] = {255, 0, 0};
         const GLuint l = glGenLists(1);
         glNewList(l, GL_COMPILE);
         glDrawPixels(1, 1, GL_RGB, GL_UNSIGNED_BYTE, red);
         glEndList();
         red[0] = 0;
         glClearColor(0, 0, 1, 1);
         glClear(GL_COLOR_BUFFER_BIT);
         glWindowPos2i(30, 30);
         glCallList(l);
         glDeleteLists(l, 1);
     }, GL_NO_ERROR, [] {
         GLubyte p[4];
         glReadPixels(30, 30, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
         return Values{double(p[0]), double(p[1]), double(p[2])};
     }, {255, 0, 0}},
    {"glDrawPixels of RGB as GL_BITMAP", [] { glDrawPixels(1, 1, GL_RGB, GL_BITMAP, nullptr); }, GL_INVALID_ENUM,
     nullptr, {}},
    {"glReadPixels of depth as GL_BITMAP", [] {
         GLubyte b[4];
         glReadPixels(0, 0, 1, 1, GL_DEPTH_COMPONENT, GL_BITMAP, b);
     }, GL_INVALID_ENUM, nullptr, {}},
    {"glCopyPixels of a bad type", [] { glCopyPixels(0, 0, 1, 1, GL_RGBA); }, GL_INVALID_ENUM, nullptr, {}},
    {"glPixelMapfv larger than GL_MAX_PIXEL_MAP_TABLE", [] {
         static GLfloat v[257];
         glPixelMapfv(GL_PIXEL_MAP_R_TO_R, 257, v);
     }, GL_INVALID_VALUE, nullptr, {}},
    {"glGetLightiv and glMaterialiv map colours over the integer range", [] {
         const GLint half[4] = {1073741823, 0, -2147483647 - 1, 2147483647};
         glMaterialiv(GL_BACK, GL_EMISSION, half);
     }, GL_NO_ERROR, [] {
         GLfloat e[4];
         glGetMaterialfv(GL_BACK, GL_EMISSION, e);
         GLint d[4];
         glGetLightiv(GL_LIGHT0, GL_DIFFUSE, d);
         return Values{e[0], e[1], e[2], e[3], double(d[0]), double(d[3])};
     }, {0.5, 0, -1, 1, 2147483647, 2147483647}, true},
    {"a colour material follows glColor", [] {
         glColorMaterial(GL_FRONT, GL_SPECULAR);
         glEnable(GL_COLOR_MATERIAL);
         glColor4f(0.25f, 0.5f, 0.75f, 1);
     }, GL_NO_ERROR, [] {
         GLfloat f[4], b[4];
         glGetMaterialfv(GL_FRONT, GL_SPECULAR, f);
         glGetMaterialfv(GL_BACK, GL_SPECULAR, b);
         return Values{f[0], f[1], f[2], b[0]};
     }, {0.25, 0.5, 0.75, 0}},
    {"an eye plane is kept in eye coordinates", [] {
         glPushMatrix();
         glLoadIdentity();
         glTranslatef(2, 0, 0);
         const GLfloat p[4] = {1, 0, 0, 0};
         glTexGenfv(GL_S, GL_EYE_PLANE, p);
         glPopMatrix();
     }, GL_NO_ERROR, [] {
         GLdouble p[4];
         glGetTexGendv(GL_S, GL_EYE_PLANE, p);
         return Values(p, p + 4);
     }, {1, 0, 0, -2}},
    {"glCopyTexImage2D takes the framebuffer", [] {
         glClearColor(0.2f, 0.4f, 0.6f, 1);
         glClear(GL_COLOR_BUFFER_BIT);
         glBindTexture(GL_TEXTURE_2D, texture);
         glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 8, 8, 4, 4, 0);
     }, GL_NO_ERROR, [] {
         GLubyte out[64];
         glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out);
         return Values{double(out[0]), double(out[1]), double(out[2]), double(out[63])};
     }, {51, 102, 153, 255}},
    // Evaluators: the maps are in no attribute group, so each row sets its own.
    {"glMap1f of an order above GL_MAX_EVAL_ORDER changes nothing", [] {
         static const GLfloat p[31 * 3] = {};
         glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 31, p);
     }, GL_INVALID_VALUE, [] {
         GLint order = 0;
         glGetMapiv(GL_MAP1_VERTEX_3, GL_ORDER, &order);
         return Values{get(GL_MAX_EVAL_ORDER, 1)[0], double(order)};
     }, {30, 1}},
    {"glMap2f with u1 == u2", [] {
         static const GLfloat p[4 * 3] = {};
         glMap2f(GL_MAP2_VERTEX_3, 1, 1, 3, 2, 0, 1, 6, 2, p);
     }, GL_INVALID_VALUE, nullptr, {}},
    {"glMap1f without points", [] { glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 2, nullptr); }, GL_INVALID_VALUE, nullptr, {}},
    {"glMap1f of a two-dimensional target", [] { glMap1f(GL_MAP2_VERTEX_3, 0, 1, 3, 1, nullptr); },
     GL_INVALID_ENUM, nullptr, {}},
    {"glGetMapdv: glMap2f's points as [u][v] (as a list kept them), orders, domain", [] {
         static GLfloat p[6] = {0, 10, 1, 11, 2, 12};  // 2 in u by 3 in v, (i, j) = 10 i + j, v first
         const GLuint list = glGenLists(1);
         glNewList(list, GL_COMPILE);
         glMap2f(GL_MAP2_TEXTURE_COORD_1, 0, 1, 1, 2, 2, 5, 2, 3, p);
         glEndList();
         p[0] = 9;
         glCallList(list);
         glDeleteLists(list, 1);
     }, GL_NO_ERROR, [] {
         GLdouble v[12];
         glGetMapdv(GL_MAP2_TEXTURE_COORD_1, GL_COEFF, v);
         glGetMapdv(GL_MAP2_TEXTURE_COORD_1, GL_ORDER, v + 6);
         glGetMapdv(GL_MAP2_TEXTURE_COORD_1, GL_DOMAIN, v + 8);
         return Values(v, v + 12);
     }, {0, 1, 2, 10, 11, 12, 2, 3, 0, 1, 2, 5}},
    {"glMapGrid1f: GL_EVAL_BIT saves the grid; no segments is an error", [] {
         glMapGrid1f(5, 1, 3);
         glPushAttrib(GL_EVAL_BIT);
         glMapGrid1f(7, 0, 1), glEnable(GL_AUTO_NORMAL);
         glPopAttrib();
         glMapGrid1f(0, 0, 1);
     }, GL_INVALID_VALUE, [] {
         const Values d = get(GL_MAP1_GRID_DOMAIN, 2);
         return Values{get(GL_MAP1_GRID_SEGMENTS, 1)[0], d[0], d[1], double(glIsEnabled(GL_AUTO_NORMAL))};
     }, {5, 1, 3, 0}},
    {"glEvalCoord leaves the current colour as it was", [] {
         static const GLfloat red[2][4] = {{1, 0, 0, 1}, {1, 0, 0, 1}}, ends[2][3] = {{0, 0, 0}, {1, 1, 0}};
         glMap1f(GL_MAP1_COLOR_4, 0, 1, 4, 2, &red[0][0]);
         glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 2, &ends[0][0]);
         glEnable(GL_MAP1_COLOR_4), glEnable(GL_MAP1_VERTEX_3);
         glColor4f(0, 0.5f, 1, 1);
         glBegin(GL_POINTS);
         glEvalCoord1f(0.5f);
         glEnd();
     }, GL_NO_ERROR, [] { return get(GL_CURRENT_COLOR, 4); }, {0, 0.5, 1, 1}},
    // Client arrays.
    {"glDrawArrays of a bad mode", [] { glDrawArrays(0x1234, 0, 3); }, GL_INVALID_ENUM, nullptr, {}},
    {"glDrawElements of a negative count", [] { glDrawElements(GL_LINES, -1, GL_UNSIGNED_BYTE, nullptr); },
     GL_INVALID_VALUE, nullptr, {}},
    {"glDrawElements of float indices", [] { glDrawElements(GL_LINES, 2, GL_FLOAT, nullptr); }, GL_INVALID_ENUM,
     nullptr, {}},
    {"glDrawArrays inside glBegin/glEnd", [] {
         glBegin(GL_POINTS);
         glDrawArrays(GL_POINTS, 0, 1);
         glEnd();
     }, GL_INVALID_OPERATION, nullptr, {}},
    {"bad pointers change nothing", [] {
         glVertexPointer(1, GL_FLOAT, 0, nullptr);
         glNormalPointer(GL_UNSIGNED_BYTE, 0, nullptr);
         glColorPointer(4, GL_FLOAT, -4, nullptr);
     }, GL_INVALID_VALUE, [] {
         return Values{get(GL_VERTEX_ARRAY_SIZE, 1)[0], get(GL_NORMAL_ARRAY_TYPE, 1)[0], get(GL_COLOR_ARRAY_STRIDE, 1)[0],
                       double(glGetError())};
     }, {4, GL_FLOAT, 0, GL_NO_ERROR}},
    {"glInterleavedArrays(GL_T2F_C4UB_V3F) and glPopClientAttrib", [] {
         static GLfloat data[6];
         glInterleavedArrays(GL_T2F_C4UB_V3F, 0, data);
         glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
         glInterleavedArrays(GL_V2F, 4, data);
         glPopClientAttrib();
     }, GL_NO_ERROR, [] {
         GLvoid *colour = nullptr, *vertex = nullptr;
         glGetPointerv(GL_COLOR_ARRAY_POINTER, &colour);
         glGetPointerv(GL_VERTEX_ARRAY_POINTER, &vertex);
         return Values{get(GL_COLOR_ARRAY_TYPE, 1)[0], get(GL_COLOR_ARRAY_STRIDE, 1)[0], get(GL_VERTEX_ARRAY_SIZE, 1)[0],
                       double(glIsEnabled(GL_TEXTURE_COORD_ARRAY)), double(glIsEnabled(GL_NORMAL_ARRAY)),
                       double(static_cast<char*>(colour) - static_cast<char*>(vertex))};
     }, {GL_UNSIGNED_BYTE, 24, 3, 1, 0, -4}},
    {"glDrawArrays leaves the last element's colour current", [] {
         static const GLshort xy[6] = {0, 0, 1, 0, 0, 1};
         static const GLubyte rgb[9] = {0, 0, 0, 0, 0, 0, 51, 102, 255};
         glVertexPointer(2, GL_SHORT, 0, xy);
         glColorPointer(3, GL_UNSIGNED_BYTE, 0, rgb);
         glEnableClientState(GL_VERTEX_ARRAY);
         glEnableClientState(GL_COLOR_ARRAY);
         glDrawArrays(GL_TRIANGLES, 0, 3);
     }, GL_NO_ERROR, [] { return get(GL_CURRENT_COLOR, 4); }, {0.2, 0.4, 1, 1}, true},
    {"glDrawArrays from a negative first element", [] { glDrawArrays(GL_POINTS, -1, 1); }, GL_INVALID_VALUE,
     nullptr, {}},
    {"an enabled colour array without a pointer is not read: the current colour stays", [] {
         static const GLshort xy[6] = {0, 0, 1, 0, 0, 1};
         glColor3f(0.2f, 0.4f, 1);
         glVertexPointer(2, GL_SHORT, 0, xy);
         glColorPointer(3, GL_UNSIGNED_BYTE, 0, nullptr);
         glEnableClientState(GL_VERTEX_ARRAY);
         glEnableClientState(GL_COLOR_ARRAY);
         glDrawArrays(GL_TRIANGLES, 0, 3);
     }, GL_NO_ERROR, [] { return get(GL_CURRENT_COLOR, 4); }, {0.2, 0.4, 1, 1}, true},
    // The checks' window has no accumulation buffer (no GLUT_ACCUM).
    {"glAccum without an accumulation buffer", [] { glAccum(GL_LOAD, 1); }, GL_INVALID_OPERATION, nullptr, {}},
    {"glAccum of a bad operation", [] { glAccum(GL_ACCUM_BUFFER_BIT, 1); }, GL_INVALID_ENUM, nullptr, {}},
    {"glAccum between glBegin and glEnd, whatever its operation", [] {
         glBegin(GL_POINTS);
         glAccum(GL_ACCUM_BUFFER_BIT, 1);
         glEnd();
     }, GL_INVALID_OPERATION, nullptr, {}},
    {"glClear of an absent accumulation buffer does nothing; it has no bits",
     [] { glClear(GL_ACCUM_BUFFER_BIT); }, GL_NO_ERROR, [] { return geti(GL_ACCUM_RED_BITS, 1); }, {0}},
    {"glClearAccum clamps to [-1, 1]", [] { glClearAccum(1.5f, -2, 0.25f, 0); }, GL_NO_ERROR,
     [] { return get(GL_ACCUM_CLEAR_VALUE, 4); }, {1, -1, 0.25, 0}},
    // Calls the layer does not draw still check their arguments.
    {"glPixelMapfv from indices of a size no power of two", [] {
         const GLfloat v[3] = {0, 0.5f, 1};
         glPixelMapfv(GL_PIXEL_MAP_I_TO_R, 3, v);
     }, GL_INVALID_VALUE, nullptr, {}},
    // Selection and feedback (before any row gives a feedback buffer).
    {"glRenderMode(GL_FEEDBACK) before glFeedbackBuffer", [] { glRenderMode(GL_FEEDBACK); }, GL_INVALID_OPERATION,
     [] { return get(GL_RENDER_MODE, 1); }, {GL_RENDER}},
    {"glSelectBuffer while selecting", [] {
         static GLuint buffer[8];
         glSelectBuffer(8, buffer);
         glRenderMode(GL_SELECT);
         glSelectBuffer(8, buffer);
     }, GL_INVALID_OPERATION, [] { return Values{get(GL_RENDER_MODE, 1)[0], double(glRenderMode(GL_RENDER))}; },
     {GL_SELECT, 0}},
    {"glPushName past GL_MAX_NAME_STACK_DEPTH", [] {
         glRenderMode(GL_SELECT);
         for (int i = 0; i <= 64; ++i) glPushName(GLuint(i));
     }, GL_STACK_OVERFLOW, [] { return Values{geti(GL_NAME_STACK_DEPTH, 1)[0], double(glRenderMode(GL_RENDER))}; },
     {64, 0}},
    {"glPopName of an empty name stack", [] {
         glRenderMode(GL_SELECT);
         glPopName();
     }, GL_STACK_UNDERFLOW, [] { return Values{double(glRenderMode(GL_RENDER))}; }, {0}},
    {"a hit: the names, depth scaled to 2^32 - 1", [] {
         static GLuint buffer[8];
         glSelectBuffer(8, buffer);
         glRenderMode(GL_SELECT);
         glPushName(5);
         glBegin(GL_POINTS);
         glVertex3f(10, 10, 0.5f);
         glEnd();
         glLoadName(6);  // writes the record
     }, GL_NO_ERROR, [] {
         GLuint* b;
         glGetPointerv(GL_SELECTION_BUFFER_POINTER, reinterpret_cast<GLvoid**>(&b));
         return Values{double(glRenderMode(GL_RENDER)), double(b[0]), double(b[1]), double(b[2]), double(b[3])};
     }, {1, 1, 1073741824, 1073741824, 5}},
    {"a full feedback buffer: -1, nothing past its end", [] {
         static GLfloat buffer[4] = {0, 0, 0, 9};
         glFeedbackBuffer(3, GL_2D, buffer);
         glRenderMode(GL_FEEDBACK);
         glBegin(GL_POINTS);
         glVertex2f(10, 20);
         glEnd();
         glPassThrough(1);
     }, GL_NO_ERROR, [] {
         GLfloat* b;
         glGetPointerv(GL_FEEDBACK_BUFFER_POINTER, reinterpret_cast<GLvoid**>(&b));
         return Values{double(glRenderMode(GL_RENDER)), b[0], b[1], b[2], b[3]};
     }, {-1, GL_POINT_TOKEN, 10, 20, 9}, true},
    {"feedback: an edge flag hides its edge, flat shading gives the provoking colour", [] {
         static GLfloat buffer[32];
         glFeedbackBuffer(32, GL_3D_COLOR, buffer);
         glRenderMode(GL_FEEDBACK);
         glShadeModel(GL_FLAT);
         glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
         glBegin(GL_TRIANGLES);
         glColor3f(1, 0, 0);
         glVertex2f(10, 10);
         glEdgeFlag(GL_FALSE);
         glVertex2f(50, 10);
         glEdgeFlag(GL_TRUE);
         glColor3f(0, 0, 1);
         glVertex2f(50, 50);
         glEnd();
     }, GL_NO_ERROR, [] {
         GLfloat* b;
         glGetPointerv(GL_FEEDBACK_BUFFER_POINTER, reinterpret_cast<GLvoid**>(&b));
         // Two edges (from the last vertex), both blue.
         return Values{double(glRenderMode(GL_RENDER)), b[0], b[6], b[15], b[19], b[20], b[21]};
     }, {30, GL_LINE_RESET_TOKEN, 1, GL_LINE_TOKEN, 0, 0, 1}},
    {"glGetString of a bad name", [] { glGetString(0x1234); }, GL_INVALID_ENUM, nullptr, {}},
    {"glGetString", [] {}, GL_NO_ERROR, [] {
         const char* v = reinterpret_cast<const char*>(glGetString(GL_VERSION));
         return Values{double(v && std::strncmp(v, "1.1", 3) == 0)};
     }, {1}},
};

// Runs the table; `check` reports each row.
void run(void (*check)(bool, const char*)) {
    // Before any glViewport: the viewport and scissor box are the window.
    const Values view = geti(GL_VIEWPORT, 4), box = geti(GL_SCISSOR_BOX, 4);
    check(view[2] > 0 && view[3] > 0 && view == box, "state: the viewport and scissor box start as the window");
    glViewport(0, 0, 100, 100);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 100, 0, 100, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glGenTextures(1, &texture);
    makeLists();
    for (const Row& r : rows) {
        while (glGetError() != GL_NO_ERROR) {
        }
        if (!r.bare) {
            glPushAttrib(GL_ALL_ATTRIB_BITS);
            glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
        }
        r.run();
        const GLenum e = glGetError();
        const Values got = r.read ? r.read() : Values();
        bool same = got.size() == r.want.size();
        for (size_t i = 0; same && i < got.size(); ++i)
            same = r.near ? std::fabs(got[i] - r.want[i]) <= 1e-6 * std::fmax(1.0, std::fabs(r.want[i]))
                          : got[i] == r.want[i];
        if (!r.bare) {
            glPopClientAttrib();
            glPopAttrib();
        }
        std::string text = std::string("state: ") + r.what + " (error " + std::to_string(e) + ", got";
        for (double v : got) text += " " + std::to_string(v);
        text += ")";
        check(e == r.error && same, text.c_str());
    }
    glDeleteTextures(1, &texture);
    glDeleteLists(lists, 4);
}

}  // namespace stateChecks
