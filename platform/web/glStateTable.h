// The one table of the layer's GL state: each row is one piece of state (a
// field of zw::State), with the name glGet answers it by, how a program sets
// it, its type, the attribute groups glPushAttrib saves it in and how a set
// value is checked. glEnable/glDisable/glIsEnabled, the glGet* queries with
// GL's conversions, glPushAttrib/glPopAttrib (and the client stack), the
// display-list recording of the setters and the serial the WebGL side
// batches by are all driven by it (glState.cpp): a new piece of state is one
// row.
//
// ZW_ROW(name, by, groups, kind, field, check)
//   name    the glGet/glEnable name (0: saved and restored only)
//   by      Enable  glEnable/glDisable (the row is in GL_ENABLE_BIT too)
//           Client  glEnableClientState/glDisableClientState
//           Call    its own GL call (glDepthFunc ...), through zw::set
//           LightModel, Fog, TexEnv, Hint, PixelStore, PixelTransfer:
//                   the pname of glLightModel*, glFog*, glTexEnv*, glHint,
//                   glPixelStore*, glPixelTransfer*
//           Get     set by dedicated code (current values, bindings), read here
//           Push    saved and restored only (bytes)
//   groups  glPushAttrib bits (CLIENT_PIXEL, CLIENT_ARRAY: glPushClientAttrib)
//   kind    B bool, E GLenum, I GLint, U GLuint, F float, C float that glGetIntegerv
//           maps linearly as a colour, normal or depth (and integer setters map in), R bytes
//   check   what a set value must be (see Check in glState.cpp)
#pragma once

#define ZW_STATE_ROWS(ZW_ROW)                                                                  \
    /* Capabilities */                                                                         \
    ZW_ROW(GL_ALPHA_TEST, Enable, COLOR, B, alphaTest, Any)                                    \
    ZW_ROW(GL_AUTO_NORMAL, Enable, EVAL, B, autoNormal, Any)                                   \
    ZW_ROW(GL_BLEND, Enable, COLOR, B, blend, Any)                                             \
    ZW_ROW(GL_CLIP_PLANE0, Enable, TRANSFORM, B, clipOn[0], Any)                               \
    ZW_ROW(GL_CLIP_PLANE1, Enable, TRANSFORM, B, clipOn[1], Any)                               \
    ZW_ROW(GL_CLIP_PLANE2, Enable, TRANSFORM, B, clipOn[2], Any)                               \
    ZW_ROW(GL_CLIP_PLANE3, Enable, TRANSFORM, B, clipOn[3], Any)                               \
    ZW_ROW(GL_CLIP_PLANE4, Enable, TRANSFORM, B, clipOn[4], Any)                               \
    ZW_ROW(GL_CLIP_PLANE5, Enable, TRANSFORM, B, clipOn[5], Any)                               \
    ZW_ROW(GL_COLOR_LOGIC_OP, Enable, COLOR, B, colorLogicOp, Any)                             \
    ZW_ROW(GL_INDEX_LOGIC_OP, Enable, COLOR, B, indexLogicOp, Any)                             \
    ZW_ROW(GL_COLOR_MATERIAL, Enable, LIGHTING, B, colorMaterial, Any)                         \
    ZW_ROW(GL_CULL_FACE, Enable, POLYGON, B, cullFace, Any)                                    \
    ZW_ROW(GL_DEPTH_TEST, Enable, DEPTH, B, depthTest, Any)                                    \
    ZW_ROW(GL_DITHER, Enable, COLOR, B, dither, Any)                                           \
    ZW_ROW(GL_FOG, Enable, FOG, B, fog, Any)                                                   \
    ZW_ROW(GL_LIGHT0, Enable, LIGHTING, B, lightOn[0], Any)                                    \
    ZW_ROW(GL_LIGHT1, Enable, LIGHTING, B, lightOn[1], Any)                                    \
    ZW_ROW(GL_LIGHT2, Enable, LIGHTING, B, lightOn[2], Any)                                    \
    ZW_ROW(GL_LIGHT3, Enable, LIGHTING, B, lightOn[3], Any)                                    \
    ZW_ROW(GL_LIGHT4, Enable, LIGHTING, B, lightOn[4], Any)                                    \
    ZW_ROW(GL_LIGHT5, Enable, LIGHTING, B, lightOn[5], Any)                                    \
    ZW_ROW(GL_LIGHT6, Enable, LIGHTING, B, lightOn[6], Any)                                    \
    ZW_ROW(GL_LIGHT7, Enable, LIGHTING, B, lightOn[7], Any)                                    \
    ZW_ROW(GL_LIGHTING, Enable, LIGHTING, B, lighting, Any)                                    \
    ZW_ROW(GL_LINE_SMOOTH, Enable, LINE, B, lineSmooth, Any)                                   \
    ZW_ROW(GL_LINE_STIPPLE, Enable, LINE, B, lineStipple, Any)                                 \
    ZW_ROW(GL_MAP1_COLOR_4, Enable, EVAL, B, map1On[0], Any)                                   \
    ZW_ROW(GL_MAP1_INDEX, Enable, EVAL, B, map1On[1], Any)                                     \
    ZW_ROW(GL_MAP1_NORMAL, Enable, EVAL, B, map1On[2], Any)                                    \
    ZW_ROW(GL_MAP1_TEXTURE_COORD_1, Enable, EVAL, B, map1On[3], Any)                           \
    ZW_ROW(GL_MAP1_TEXTURE_COORD_2, Enable, EVAL, B, map1On[4], Any)                           \
    ZW_ROW(GL_MAP1_TEXTURE_COORD_3, Enable, EVAL, B, map1On[5], Any)                           \
    ZW_ROW(GL_MAP1_TEXTURE_COORD_4, Enable, EVAL, B, map1On[6], Any)                           \
    ZW_ROW(GL_MAP1_VERTEX_3, Enable, EVAL, B, map1On[7], Any)                                  \
    ZW_ROW(GL_MAP1_VERTEX_4, Enable, EVAL, B, map1On[8], Any)                                  \
    ZW_ROW(GL_MAP2_COLOR_4, Enable, EVAL, B, map2On[0], Any)                                   \
    ZW_ROW(GL_MAP2_INDEX, Enable, EVAL, B, map2On[1], Any)                                     \
    ZW_ROW(GL_MAP2_NORMAL, Enable, EVAL, B, map2On[2], Any)                                    \
    ZW_ROW(GL_MAP2_TEXTURE_COORD_1, Enable, EVAL, B, map2On[3], Any)                           \
    ZW_ROW(GL_MAP2_TEXTURE_COORD_2, Enable, EVAL, B, map2On[4], Any)                           \
    ZW_ROW(GL_MAP2_TEXTURE_COORD_3, Enable, EVAL, B, map2On[5], Any)                           \
    ZW_ROW(GL_MAP2_TEXTURE_COORD_4, Enable, EVAL, B, map2On[6], Any)                           \
    ZW_ROW(GL_MAP2_VERTEX_3, Enable, EVAL, B, map2On[7], Any)                                  \
    ZW_ROW(GL_MAP2_VERTEX_4, Enable, EVAL, B, map2On[8], Any)                                  \
    ZW_ROW(GL_NORMALIZE, Enable, TRANSFORM, B, normalize, Any)                                 \
    ZW_ROW(GL_RESCALE_NORMAL, Enable, TRANSFORM, B, rescaleNormal, Any)                        \
    ZW_ROW(GL_POINT_SMOOTH, Enable, POINT, B, pointSmooth, Any)                                \
    ZW_ROW(GL_POLYGON_OFFSET_FILL, Enable, POLYGON, B, offsetFill, Any)                        \
    ZW_ROW(GL_POLYGON_OFFSET_LINE, Enable, POLYGON, B, offsetLine, Any)                        \
    ZW_ROW(GL_POLYGON_OFFSET_POINT, Enable, POLYGON, B, offsetPoint, Any)                      \
    ZW_ROW(GL_POLYGON_SMOOTH, Enable, POLYGON, B, polygonSmooth, Any)                          \
    ZW_ROW(GL_POLYGON_STIPPLE, Enable, POLYGON, B, polygonStipple, Any)                        \
    ZW_ROW(GL_SCISSOR_TEST, Enable, SCISSOR, B, scissorTest, Any)                              \
    ZW_ROW(GL_STENCIL_TEST, Enable, STENCIL, B, stencilTest, Any)                              \
    ZW_ROW(GL_TEXTURE_1D, Enable, TEXTURE, B, texture1D, Any)                                  \
    ZW_ROW(GL_TEXTURE_2D, Enable, TEXTURE, B, texture2D, Any)                                  \
    ZW_ROW(GL_TEXTURE_GEN_S, Enable, TEXTURE, B, texGenOn[0], Any)                             \
    ZW_ROW(GL_TEXTURE_GEN_T, Enable, TEXTURE, B, texGenOn[1], Any)                             \
    ZW_ROW(GL_TEXTURE_GEN_R, Enable, TEXTURE, B, texGenOn[2], Any)                             \
    ZW_ROW(GL_TEXTURE_GEN_Q, Enable, TEXTURE, B, texGenOn[3], Any)                             \
    /* Client arrays */                                                                        \
    ZW_ROW(GL_VERTEX_ARRAY, Client, CLIENT_ARRAY, B, clientArray[0], Any)                      \
    ZW_ROW(GL_NORMAL_ARRAY, Client, CLIENT_ARRAY, B, clientArray[1], Any)                      \
    ZW_ROW(GL_COLOR_ARRAY, Client, CLIENT_ARRAY, B, clientArray[2], Any)                       \
    ZW_ROW(GL_INDEX_ARRAY, Client, CLIENT_ARRAY, B, clientArray[3], Any)                       \
    ZW_ROW(GL_TEXTURE_COORD_ARRAY, Client, CLIENT_ARRAY, B, clientArray[4], Any)               \
    ZW_ROW(GL_EDGE_FLAG_ARRAY, Client, CLIENT_ARRAY, B, clientArray[5], Any)                   \
    ZW_ROW(GL_VERTEX_ARRAY_SIZE, Get, CLIENT_ARRAY, I, arraySize[0], Any)                      \
    ZW_ROW(GL_VERTEX_ARRAY_TYPE, Get, CLIENT_ARRAY, E, arrayType[0], Any)                      \
    ZW_ROW(GL_VERTEX_ARRAY_STRIDE, Get, CLIENT_ARRAY, I, arrayStride[0], Any)                  \
    ZW_ROW(GL_NORMAL_ARRAY_TYPE, Get, CLIENT_ARRAY, E, arrayType[1], Any)                      \
    ZW_ROW(GL_NORMAL_ARRAY_STRIDE, Get, CLIENT_ARRAY, I, arrayStride[1], Any)                  \
    ZW_ROW(GL_COLOR_ARRAY_SIZE, Get, CLIENT_ARRAY, I, arraySize[2], Any)                       \
    ZW_ROW(GL_COLOR_ARRAY_TYPE, Get, CLIENT_ARRAY, E, arrayType[2], Any)                       \
    ZW_ROW(GL_COLOR_ARRAY_STRIDE, Get, CLIENT_ARRAY, I, arrayStride[2], Any)                   \
    ZW_ROW(GL_INDEX_ARRAY_TYPE, Get, CLIENT_ARRAY, E, arrayType[3], Any)                       \
    ZW_ROW(GL_INDEX_ARRAY_STRIDE, Get, CLIENT_ARRAY, I, arrayStride[3], Any)                   \
    ZW_ROW(GL_TEXTURE_COORD_ARRAY_SIZE, Get, CLIENT_ARRAY, I, arraySize[4], Any)               \
    ZW_ROW(GL_TEXTURE_COORD_ARRAY_TYPE, Get, CLIENT_ARRAY, E, arrayType[4], Any)               \
    ZW_ROW(GL_TEXTURE_COORD_ARRAY_STRIDE, Get, CLIENT_ARRAY, I, arrayStride[4], Any)           \
    ZW_ROW(GL_EDGE_FLAG_ARRAY_STRIDE, Get, CLIENT_ARRAY, I, arrayStride[5], Any)               \
    ZW_ROW(0, Push, CLIENT_ARRAY, R, arrayPointer, Any)                                        \
    /* Current values */                                                                       \
    ZW_ROW(GL_CURRENT_COLOR, Get, CURRENT, C, color, Any)                                      \
    ZW_ROW(GL_CURRENT_INDEX, Get, CURRENT, F, index, Any)                                      \
    ZW_ROW(GL_CURRENT_NORMAL, Get, CURRENT, C, normal, Any)                                    \
    ZW_ROW(GL_CURRENT_TEXTURE_COORDS, Get, CURRENT, F, tex, Any)                               \
    ZW_ROW(GL_EDGE_FLAG, Get, CURRENT, B, edgeFlag, Any)                                       \
    ZW_ROW(GL_CURRENT_RASTER_POSITION, Get, CURRENT, F, rasterPos, Any)                        \
    ZW_ROW(GL_CURRENT_RASTER_COLOR, Get, CURRENT, C, rasterColor, Any)                         \
    ZW_ROW(GL_CURRENT_RASTER_INDEX, Get, CURRENT, F, rasterIndex, Any)                         \
    ZW_ROW(GL_CURRENT_RASTER_TEXTURE_COORDS, Get, CURRENT, F, rasterTex, Any)                  \
    ZW_ROW(GL_CURRENT_RASTER_DISTANCE, Get, CURRENT, F, rasterDistance, Any)                   \
    ZW_ROW(GL_CURRENT_RASTER_POSITION_VALID, Get, CURRENT, B, rasterValid, Any)                \
    /* Transformation and viewport */                                                          \
    ZW_ROW(GL_MATRIX_MODE, Get, TRANSFORM, E, matrixMode, Any)                                 \
    ZW_ROW(0, Push, TRANSFORM, R, clipPlane, Any)                                              \
    ZW_ROW(GL_VIEWPORT, Call, VIEWPORT, I, viewport, Box)                                      \
    ZW_ROW(GL_DEPTH_RANGE, Call, VIEWPORT, C, depthRange, Clamp01)                             \
    /* Lighting */                                                                             \
    ZW_ROW(GL_SHADE_MODEL, Call, LIGHTING, E, shadeModel, ShadeModel)                          \
    ZW_ROW(GL_LIGHT_MODEL_AMBIENT, LightModel, LIGHTING, C, modelAmbient, Any)                 \
    ZW_ROW(GL_LIGHT_MODEL_LOCAL_VIEWER, LightModel, LIGHTING, B, localViewer, Any)             \
    ZW_ROW(GL_LIGHT_MODEL_TWO_SIDE, LightModel, LIGHTING, B, twoSide, Any)                     \
    ZW_ROW(GL_COLOR_MATERIAL_FACE, Call, LIGHTING, E, colorMaterialFace, Face)                 \
    ZW_ROW(GL_COLOR_MATERIAL_PARAMETER, Call, LIGHTING, E, colorMaterialMode, MaterialMode)    \
    ZW_ROW(0, Push, LIGHTING, R, light, Any)                                                   \
    ZW_ROW(0, Push, LIGHTING, R, material, Any)                                                \
    /* Rasterisation */                                                                        \
    ZW_ROW(GL_POINT_SIZE, Call, POINT, F, pointSize, Positive)                                 \
    ZW_ROW(GL_LINE_WIDTH, Call, LINE, F, lineWidth, Positive)                                  \
    ZW_ROW(GL_LINE_STIPPLE_REPEAT, Call, LINE, I, lineStippleFactor, StippleRepeat)            \
    ZW_ROW(GL_LINE_STIPPLE_PATTERN, Call, LINE, U, lineStipplePattern, Pattern16)              \
    ZW_ROW(GL_CULL_FACE_MODE, Call, POLYGON, E, cullFaceMode, Face)                            \
    ZW_ROW(GL_FRONT_FACE, Call, POLYGON, E, frontFace, FrontFace)                              \
    ZW_ROW(GL_POLYGON_MODE, Call, POLYGON, E, polygonMode, PolygonMode)                        \
    ZW_ROW(GL_POLYGON_OFFSET_FACTOR, Call, POLYGON, F, offsetFactor, Any)                      \
    ZW_ROW(GL_POLYGON_OFFSET_UNITS, Call, POLYGON, F, offsetUnits, Any)                        \
    ZW_ROW(0, Push, POLYGON_STIPPLE, R, polygonStippleRows, Any)                               \
    /* Texturing */                                                                            \
    ZW_ROW(GL_TEXTURE_ENV_MODE, TexEnv, TEXTURE, E, texEnvMode, EnvMode)                       \
    ZW_ROW(GL_TEXTURE_ENV_COLOR, TexEnv, TEXTURE, C, texEnvColor, Clamp01)                     \
    ZW_ROW(GL_TEXTURE_BINDING_1D, Get, TEXTURE, U, bound1D, Any)                               \
    ZW_ROW(GL_TEXTURE_BINDING_2D, Get, TEXTURE, U, bound2D, Any)                               \
    ZW_ROW(0, Push, TEXTURE, R, texGenMode, Any)                                               \
    ZW_ROW(0, Push, TEXTURE, R, objectPlane, Any)                                              \
    ZW_ROW(0, Push, TEXTURE, R, eyePlane, Any)                                                 \
    /* Fog */                                                                                  \
    ZW_ROW(GL_FOG_MODE, Fog, FOG, E, fogMode, FogMode)                                         \
    ZW_ROW(GL_FOG_DENSITY, Fog, FOG, F, fogDensity, NonNegative)                               \
    ZW_ROW(GL_FOG_START, Fog, FOG, F, fogStart, Any)                                           \
    ZW_ROW(GL_FOG_END, Fog, FOG, F, fogEnd, Any)                                               \
    ZW_ROW(GL_FOG_COLOR, Fog, FOG, C, fogColor, Clamp01)                                       \
    ZW_ROW(GL_FOG_INDEX, Fog, FOG, F, fogIndex, Any)                                           \
    /* Framebuffer */                                                                          \
    ZW_ROW(GL_DEPTH_FUNC, Call, DEPTH, E, depthFunc, CompareFunc)                              \
    ZW_ROW(GL_DEPTH_WRITEMASK, Call, DEPTH, B, depthMask, Any)                                 \
    ZW_ROW(GL_DEPTH_CLEAR_VALUE, Call, DEPTH, C, clearDepth, Clamp01)                          \
    ZW_ROW(GL_ALPHA_TEST_FUNC, Call, COLOR, E, alphaFunc, CompareFunc)                         \
    ZW_ROW(GL_ALPHA_TEST_REF, Call, COLOR, C, alphaRef, Clamp01)                               \
    ZW_ROW(GL_BLEND_SRC, Call, COLOR, E, blendSrc, BlendSrc)                                   \
    ZW_ROW(GL_BLEND_DST, Call, COLOR, E, blendDst, BlendDst)                                   \
    ZW_ROW(GL_LOGIC_OP_MODE, Call, COLOR, E, logicOp, LogicOp)                                 \
    ZW_ROW(GL_COLOR_WRITEMASK, Call, COLOR, B, colorMask, Any)                                 \
    ZW_ROW(GL_INDEX_WRITEMASK, Call, COLOR, U, indexMask, Any)                                 \
    ZW_ROW(GL_COLOR_CLEAR_VALUE, Call, COLOR, C, clearColor, Clamp01)                          \
    ZW_ROW(GL_INDEX_CLEAR_VALUE, Call, COLOR, F, clearIndex, Any)                              \
    ZW_ROW(GL_DRAW_BUFFER, Call, COLOR, E, drawBuffer, DrawBuffer)                             \
    ZW_ROW(GL_STENCIL_FUNC, Call, STENCIL, E, stencilFunc, CompareFunc)                        \
    ZW_ROW(GL_STENCIL_REF, Call, STENCIL, I, stencilRef, Any)                                  \
    ZW_ROW(GL_STENCIL_VALUE_MASK, Call, STENCIL, U, stencilValueMask, Any)                     \
    ZW_ROW(GL_STENCIL_FAIL, Call, STENCIL, E, stencilFail, StencilOp)                          \
    ZW_ROW(GL_STENCIL_PASS_DEPTH_FAIL, Call, STENCIL, E, stencilZFail, StencilOp)              \
    ZW_ROW(GL_STENCIL_PASS_DEPTH_PASS, Call, STENCIL, E, stencilZPass, StencilOp)              \
    ZW_ROW(GL_STENCIL_WRITEMASK, Call, STENCIL, U, stencilWriteMask, Any)                      \
    ZW_ROW(GL_STENCIL_CLEAR_VALUE, Call, STENCIL, I, clearStencil, Any)                        \
    ZW_ROW(GL_ACCUM_CLEAR_VALUE, Call, ACCUM, C, clearAccum, ClampSigned)                      \
    ZW_ROW(GL_SCISSOR_BOX, Call, SCISSOR, I, scissor, Box)                                     \
    /* Hints */                                                                                \
    ZW_ROW(GL_PERSPECTIVE_CORRECTION_HINT, Hint, HINT, E, hintPerspective, HintMode)           \
    ZW_ROW(GL_POINT_SMOOTH_HINT, Hint, HINT, E, hintPoint, HintMode)                           \
    ZW_ROW(GL_LINE_SMOOTH_HINT, Hint, HINT, E, hintLine, HintMode)                             \
    ZW_ROW(GL_POLYGON_SMOOTH_HINT, Hint, HINT, E, hintPolygon, HintMode)                       \
    ZW_ROW(GL_FOG_HINT, Hint, HINT, E, hintFog, HintMode)                                      \
    /* Evaluators */                                                                           \
    ZW_ROW(GL_MAP1_GRID_DOMAIN, Call, EVAL, F, grid1Domain, Any)                               \
    ZW_ROW(GL_MAP1_GRID_SEGMENTS, Call, EVAL, I, grid1Segments, Positive)                      \
    ZW_ROW(GL_MAP2_GRID_DOMAIN, Call, EVAL, F, grid2Domain, Any)                               \
    ZW_ROW(GL_MAP2_GRID_SEGMENTS, Call, EVAL, I, grid2Segments, Positive)                      \
    /* Lists and pixels */                                                                     \
    ZW_ROW(GL_LIST_BASE, Call, LIST, U, listBase, Any)                                         \
    ZW_ROW(GL_MAP_COLOR, PixelTransfer, PIXEL_MODE, B, mapColor, Any)                          \
    ZW_ROW(GL_MAP_STENCIL, PixelTransfer, PIXEL_MODE, B, mapStencil, Any)                      \
    ZW_ROW(GL_INDEX_SHIFT, PixelTransfer, PIXEL_MODE, I, indexShift, Any)                      \
    ZW_ROW(GL_INDEX_OFFSET, PixelTransfer, PIXEL_MODE, I, indexOffset, Any)                    \
    ZW_ROW(GL_RED_SCALE, PixelTransfer, PIXEL_MODE, F, pixelScale[0], Any)                     \
    ZW_ROW(GL_GREEN_SCALE, PixelTransfer, PIXEL_MODE, F, pixelScale[1], Any)                   \
    ZW_ROW(GL_BLUE_SCALE, PixelTransfer, PIXEL_MODE, F, pixelScale[2], Any)                    \
    ZW_ROW(GL_ALPHA_SCALE, PixelTransfer, PIXEL_MODE, F, pixelScale[3], Any)                   \
    ZW_ROW(GL_DEPTH_SCALE, PixelTransfer, PIXEL_MODE, F, pixelScale[4], Any)                   \
    ZW_ROW(GL_RED_BIAS, PixelTransfer, PIXEL_MODE, F, pixelBias[0], Any)                       \
    ZW_ROW(GL_GREEN_BIAS, PixelTransfer, PIXEL_MODE, F, pixelBias[1], Any)                     \
    ZW_ROW(GL_BLUE_BIAS, PixelTransfer, PIXEL_MODE, F, pixelBias[2], Any)                      \
    ZW_ROW(GL_ALPHA_BIAS, PixelTransfer, PIXEL_MODE, F, pixelBias[3], Any)                     \
    ZW_ROW(GL_DEPTH_BIAS, PixelTransfer, PIXEL_MODE, F, pixelBias[4], Any)                     \
    ZW_ROW(GL_ZOOM_X, Call, PIXEL_MODE, F, zoom[0], Any)                                       \
    ZW_ROW(GL_ZOOM_Y, Call, PIXEL_MODE, F, zoom[1], Any)                                       \
    ZW_ROW(GL_READ_BUFFER, Call, PIXEL_MODE, E, readBuffer, ReadBuffer)                        \
    ZW_ROW(GL_UNPACK_SWAP_BYTES, PixelStore, CLIENT_PIXEL, B, unpack.swapBytes, Any)           \
    ZW_ROW(GL_UNPACK_LSB_FIRST, PixelStore, CLIENT_PIXEL, B, unpack.lsbFirst, Any)             \
    ZW_ROW(GL_UNPACK_ROW_LENGTH, PixelStore, CLIENT_PIXEL, I, unpack.rowLength, NonNegative)   \
    ZW_ROW(GL_UNPACK_SKIP_ROWS, PixelStore, CLIENT_PIXEL, I, unpack.skipRows, NonNegative)     \
    ZW_ROW(GL_UNPACK_SKIP_PIXELS, PixelStore, CLIENT_PIXEL, I, unpack.skipPixels, NonNegative) \
    ZW_ROW(GL_UNPACK_ALIGNMENT, PixelStore, CLIENT_PIXEL, I, unpack.alignment, Alignment)      \
    ZW_ROW(GL_PACK_SWAP_BYTES, PixelStore, CLIENT_PIXEL, B, pack.swapBytes, Any)               \
    ZW_ROW(GL_PACK_LSB_FIRST, PixelStore, CLIENT_PIXEL, B, pack.lsbFirst, Any)                 \
    ZW_ROW(GL_PACK_ROW_LENGTH, PixelStore, CLIENT_PIXEL, I, pack.rowLength, NonNegative)       \
    ZW_ROW(GL_PACK_SKIP_ROWS, PixelStore, CLIENT_PIXEL, I, pack.skipRows, NonNegative)         \
    ZW_ROW(GL_PACK_SKIP_PIXELS, PixelStore, CLIENT_PIXEL, I, pack.skipPixels, NonNegative)     \
    ZW_ROW(GL_PACK_ALIGNMENT, PixelStore, CLIENT_PIXEL, I, pack.alignment, Alignment)

#include <GL/gl.h>

#include <initializer_list>

namespace zw {

// How a row is set (see above).
enum class By { Enable, Client, Call, LightModel, Fog, TexEnv, Hint, PixelStore, PixelTransfer, Get, Push };

// Values for rows, by glGet name: `count` values from element `first`.
struct Assign {
    GLenum name;
    int first, count;
    double v[4];
};

// One GL call that sets rows: recorded in an open display list (unless the
// rows are client state); when it runs, every value is checked first (GL's
// error, and nothing changes, if one fails), then written, and the serial
// bumped. `fromInt`: the values came from an integer call, so colours map
// linearly from the integer range. Returns whether it ran and was written.
bool set(std::initializer_list<Assign> values, bool fromInt = false);
// The pname of a parameter call (glFog*, glLightModel*, glTexEnv*, glHint,
// glPixelStore*, glPixelTransfer*): GL_INVALID_ENUM unless a row of that call.
bool setParam(By by, GLenum pname, const double* v, bool fromInt);
// The values of a row (by name and call), converted to double; 0 when none.
int getParam(By by, GLenum pname, double* out);

}  // namespace zw
