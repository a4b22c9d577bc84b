// The web platform layer's fixed-function state: what OpenGL 1.x keeps between
// calls and WebGL does not (matrix stacks, current vertex attributes, light and
// material parameters, the open glBegin block, display lists), shared by the
// files that implement the GL entry points. Not a public header.
#pragma once

#include <GL/gl.h>

#include <functional>
#include <vector>

namespace zw {

// A 4x4 matrix in OpenGL's column-major order, single precision as GL keeps it.
struct Mat {
    float m[16];
};
Mat identity();
Mat multiply(const Mat& a, const Mat& b);  // a * b

// One vertex as it goes to WebGL: position, colour, normal, texture coordinate.
struct Vertex {
    float pos[3];
    float color[4];
    float normal[3];
    float tex[2];
};

#define ZW_LIGHTS 8
#define ZW_STACK_DEPTH 32

struct Light {
    float ambient[4], diffuse[4], specular[4];
    float position[4];  // in eye coordinates, as transformed when it was set
    float attenuation[3];  // constant, linear, quadratic
};

struct Material {
    float ambient[4], diffuse[4], specular[4], emission[4];
    float shininess;
};

struct State {
    std::vector<Mat> modelview, projection;
    GLenum matrixMode;

    // Capabilities that WebGL applies itself are passed on; these are the
    // ones the layer emulates or only records.
    bool lighting, lightOn[ZW_LIGHTS], colorMaterial, normalize, rescaleNormal, texture2D, autoNormal;
    bool blend, depthTest, cullFace, lineSmooth, pointSmooth, polygonOffsetFill;

    Light light[ZW_LIGHTS];
    Material material[2];  // front, back
    float modelAmbient[4];
    bool twoSide;
    GLenum colorMaterialFace, colorMaterialMode;
    GLenum shadeModel;
    GLenum frontFace, depthFunc, blendSrc, blendDst;
    float clearColor[4];
    GLint viewport[4];
    float lineWidth, pointSize;
    float offsetFactor, offsetUnits;

    // Current attributes: what the next glVertex takes.
    float color[4], normal[3], tex[2];

    // The open glBegin block, if any.
    bool inBlock;
    GLenum blockMode;
    std::vector<Vertex> block;

    GLenum error;  // the first error since the last glGetError

    // Counts changes, so the uniforms are sent again only when needed.
    unsigned matrixSerial, lightSerial;
};

State& state();
// Records an error unless an earlier one is still unread.
void setError(GLenum e);
Mat& currentMatrix();
void touchMatrix();

// A colour material follows the current colour: after glColor and at glEnd
// the material the colour tracks takes the current colour's value.
void trackColorMaterial();

// ---- Display lists -----------------------------------------------------------
// While a list is being compiled, each GL call that a list can hold is handed
// to record(); it returns true when the call must also run now (compile and
// execute, or no list open).
bool record(std::function<void()> call);
// A glBegin/glEnd block inside a list: kept as a ready vertex buffer.
bool recordingBlock();
void recordBlock(GLenum mode, const std::vector<Vertex>& vertices);

// ---- The WebGL side (webgl.cpp) ----------------------------------------------
// Draws vertices with the current state in one upload and one draw call.
// Modes are GL's; quads, quad strips and polygons arrive already as triangles.
void drawBlock(GLenum mode, const Vertex* vertices, int count);
// A vertex buffer kept on the WebGL side for a display list (line blocks keep
// their vertices on this side too, to be drawn wide when the width asks).
unsigned keepBlock(GLenum mode, const Vertex* vertices, int count);
void drawKept(unsigned buffer, GLenum mode, int count);
// Whether blocks reach WebGL at all: a measurement of the layer's own cost
// turns this off and keeps everything else.
extern bool submit;

// Quads, quad strips and polygons as triangles with the same provoking
// (flat-shading) vertex and winding, written to `out`, and `mode` set to
// GL_TRIANGLES; other modes are drawn as they are. Returns what to draw:
// `out`, or `in` itself.
const std::vector<Vertex>& triangulate(GLenum& mode, const std::vector<Vertex>& in, std::vector<Vertex>& out);

}  // namespace zw
