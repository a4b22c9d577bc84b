// What the WebGL side offers the layer's own passes that draw outside the
// fixed-function batches (bitmaps, pixel rectangles, the accumulation
// buffer): a program of their own, and the window set up for drawing in
// device pixels under the state's fragment operations. Not a public header.
#pragma once

#include <GL/gl.h>

#include <string>

namespace zw {

// WebGL draw calls so far (the benchmark page and the checks count them).
extern unsigned drawCalls;

// A WebGL program from GLSL ES 3.00 bodies (the version and precision lines
// are added, then `defines`); 0 with a console line if it does not compile.
GLuint linkProgram(const std::string& defines, const char* vertex, const char* fragment);

// A CSS-pixel rectangle (x, y, width, height) in device pixels: its edges
// scaled and rounded, so that adjoining rectangles stay adjoining.
void scaled(const GLint in[4], GLint out[4]);

// Which of the state's fragment operations a pass keeps.
enum class PassOps {
    All,     // blend, depth, stencil, scissor, colour mask, dither: fragments as any other
    Return,  // scissor, colour mask and dither alone: what the accumulation buffer returns under
    None,    // none: the layer's own targets, written whole
};

// Draws what is batched, then readies WebGL for a pass over the window:
// the state's fragment operations and masks as `ops` says, the viewport the
// whole drawing buffer (width x height device pixels, set on return), depth
// range [0, 1], no culling, no polygon offset, and `program` in use. The
// batches' own state is restored by the next batch, which knows WebGL's
// settings changed.
void windowPass(GLuint program, int& width, int& height, PassOps ops = PassOps::All);

// The state's alpha test to a pass's program (its fragment shader calls
// alphaPasses, which every fragment shader has).
void sendAlphaTest(GLuint program);

// Draws a pass's quad: the NDC rectangle (x0, y0)-(x1, y1) at NDC depth z,
// for a program on bitmapVertexSource (shaderSource.h). Counts the draw call.
void drawWindowQuad(GLuint program, float x0, float y0, float x1, float y1, float z);

// After a pass that set WebGL's fragment operations, masks or viewport itself
// (the pixel rectangles' stencil writes and reads): the next batch or pass
// sends them all again.
void forgetFragmentOps();

}  // namespace zw
