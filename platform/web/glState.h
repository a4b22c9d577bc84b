// The web platform layer's fixed-function state: what OpenGL 1.x keeps between
// calls and WebGL does not (matrix stacks, current vertex attributes, every
// piece of server state, texture objects, the open glBegin block, display
// lists), shared by the files that implement the GL entry points and the
// WebGL side. Not a public header.
//
// Units are GL's: eye-space values (light positions, spot directions, clip and
// eye planes) are stored already transformed by the model-view matrix current
// when they were set; window values (viewport, scissor, raster position) are
// in CSS pixels, as the program gives them.
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
// m * (x, y, z, w)
void transform(const Mat& m, const float in[4], float out[4]);
// The inverse of m (false, and out untouched, when m is singular).
bool invert(const Mat& m, Mat& out);

// One vertex as it goes to WebGL: position (object space), colour, normal,
// texture coordinates (s, t, r, q) and the edge flag.
struct Vertex {
    float pos[3];
    float color[4];
    float normal[3];
    float tex[4];
    float edgeFlag;  // 1 or 0: whether an edge starts here (polygon modes line and point)
};

#define ZW_LIGHTS 8
#define ZW_CLIP_PLANES 6
#define ZW_STACK_DEPTH 32          // model-view and projection stacks
#define ZW_TEXTURE_STACK_DEPTH 10  // texture matrix stack
#define ZW_ATTRIB_STACK_DEPTH 16   // server and client attribute stacks
#define ZW_LIST_NESTING 64         // glCallList within glCallList
#define ZW_TEXTURE_LEVELS 13       // mipmap levels: up to 4096 (+ border)
#define ZW_NAME_STACK_DEPTH 64     // selection's name stack
#define ZW_MAX_EVAL_ORDER 30       // control points per direction of an evaluator map

// The client arrays, in the order of State's array fields.
enum { ARRAY_VERTEX, ARRAY_NORMAL, ARRAY_COLOR, ARRAY_INDEX, ARRAY_TEXCOORD, ARRAY_EDGE_FLAG };

struct Light {
    float ambient[4], diffuse[4], specular[4];
    float position[4];       // eye coordinates
    float spotDirection[3];  // eye coordinates
    float spotExponent, spotCutoff;
    float attenuation[3];  // constant, linear, quadratic
};

struct Material {
    float ambient[4], diffuse[4], specular[4], emission[4];
    float shininess;
    float colorIndexes[3];  // recorded for color index mode: ambient, diffuse, specular
};

// glPixelStore's settings for one direction.
struct PixelStore {
    GLint alignment, rowLength, skipRows, skipPixels;
    bool lsbFirst, swapBytes;
};

// One texture object. Images are kept converted to RGBA8 (rows bottom-up,
// without the border), beside the base format GL's texture environment
// follows. A 1D texture has height 1.
struct TextureLevel {
    int width = 0, height = 0, border = 0;
    GLint internalFormat = 1;  // as the program gave it
    std::vector<unsigned char> rgba;
    bool defined() const { return width > 0; }
};

struct Texture {
    GLuint name = 0;
    unsigned webgl = 0;  // WebGL's texture, 0 until the WebGL side makes one
    GLenum target = 0;   // GL_TEXTURE_1D or GL_TEXTURE_2D; 0 before the first bind
    GLenum baseFormat = GL_RGBA;  // of level 0: GL_ALPHA, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_INTENSITY, GL_RGB, GL_RGBA
    int width = 0, height = 0;    // level 0, without border
    unsigned levelsDefined = 0;   // bit i: level i has an image
    TextureLevel level[ZW_TEXTURE_LEVELS];
    GLenum wrapS = GL_REPEAT, wrapT = GL_REPEAT;
    GLenum minFilter = GL_NEAREST_MIPMAP_LINEAR, magFilter = GL_LINEAR;
    float priority = 1;
    float borderColor[4] = {0, 0, 0, 0};
    unsigned serial = 1;  // bumped by every change of image or parameter
};

// The texture that applies to what is drawn: the 2D one if GL_TEXTURE_2D is on,
// else the 1D one if GL_TEXTURE_1D is on, else null.
Texture* boundTexture();
// The texture bound to a target (GL_TEXTURE_1D/2D), never null (name 0 is the default).
Texture& boundTo(GLenum target);
// Whether a texture can be sampled as GL says: level 0 defined and, for a
// mipmapping minification filter, every level down to 1x1 with the sizes halving.
bool textureComplete(const Texture& t);

// A texture object's parameters, which GL_TEXTURE_BIT saves for the bound
// textures (glTexture.cpp).
struct TextureParams {
    GLuint name;
    GLenum wrapS, wrapT, minFilter, magFilter;
    float priority, borderColor[4];
};
void saveTextureParams(TextureParams out[2]);  // 1D, 2D
void restoreTextureParams(const TextureParams in[2]);

struct State {
    std::vector<Mat> modelview, projection, texture;
    GLenum matrixMode;

    // Current attributes: what the next glVertex takes.
    float color[4], normal[3], tex[4];
    bool edgeFlag;
    float index;  // colour index, recorded only

    // The current raster position: window x, y (CSS pixels), z in [0, 1], clip w.
    float rasterPos[4], rasterColor[4], rasterTex[4], rasterDistance;
    bool rasterValid;
    float rasterIndex;

    // Capabilities.
    bool lighting, lightOn[ZW_LIGHTS], colorMaterial, normalize, rescaleNormal;
    bool texture1D, texture2D, texGenOn[4];  // s, t, r, q
    bool fog, alphaTest, blend, depthTest, stencilTest, scissorTest, cullFace;
    bool lineSmooth, pointSmooth, polygonSmooth, lineStipple, polygonStipple;
    bool offsetFill, offsetLine, offsetPoint, clipOn[ZW_CLIP_PLANES];
    bool autoNormal, dither, colorLogicOp, indexLogicOp;
    bool map1On[9], map2On[9];  // evaluator maps: GL_MAP1_COLOR_4 .. GL_MAP1_VERTEX_4 (glEval.cpp)

    Light light[ZW_LIGHTS];
    Material material[2];  // front, back
    float modelAmbient[4];
    bool localViewer, twoSide;
    GLenum colorMaterialFace, colorMaterialMode;
    GLenum shadeModel, frontFace, cullFaceMode, polygonMode[2];  // polygonMode: front, back

    GLenum depthFunc;
    bool depthMask;
    float depthRange[2], clearDepth;
    GLenum blendSrc, blendDst, alphaFunc;
    float alphaRef;
    GLenum logicOp;
    bool colorMask[4];
    float clearColor[4];
    float clearIndex, clearAccum[4];
    GLuint indexMask;
    GLenum stencilFunc;
    GLint stencilRef;
    GLuint stencilValueMask;
    GLenum stencilFail, stencilZFail, stencilZPass;
    GLuint stencilWriteMask;
    GLint clearStencil;

    GLint viewport[4], scissor[4];  // CSS pixels
    float lineWidth, pointSize;
    GLint lineStippleFactor;
    GLuint lineStipplePattern;  // the low 16 bits
    GLuint polygonStippleRows[32];  // row 0 = bottom; bit 31 = the leftmost pixel
    float offsetFactor, offsetUnits;

    // glMapGrid's grids: u1, u2 (v1, v2) and the partitions.
    float grid1Domain[2], grid2Domain[4];
    GLint grid1Segments, grid2Segments[2];

    GLenum fogMode;
    float fogDensity, fogStart, fogEnd, fogColor[4], fogIndex;

    float clipPlane[ZW_CLIP_PLANES][4];  // eye coordinates

    GLenum texEnvMode;
    float texEnvColor[4];
    GLenum texGenMode[4];
    float objectPlane[4][4], eyePlane[4][4];  // eye planes in eye coordinates
    GLuint bound1D, bound2D;

    // Hints (recorded; they change nothing drawn).
    GLenum hintPerspective, hintPoint, hintLine, hintPolygon, hintFog;

    // Pixel transfer and zoom, recorded for the pixel calls: scale and bias
    // of red, green, blue, alpha and depth.
    float pixelScale[5], pixelBias[5];
    GLint indexShift, indexOffset;
    bool mapColor, mapStencil;
    float zoom[2];
    // The client arrays, by ARRAY_*: enabled, and as the pointer calls
    // set them (size and type are fixed for normals, indices, edge flags).
    bool clientArray[6];
    GLint arraySize[6];
    GLenum arrayType[6];
    GLint arrayStride[6];  // as given: 0 is tightly packed
    const GLvoid* arrayPointer[6];
    GLuint listBase;
    GLenum drawBuffer, readBuffer;
    PixelStore unpack, pack;

    // The open glBegin block, if any.
    bool inBlock;
    GLenum blockMode;
    std::vector<Vertex> block;

    GLenum error;  // the first error since the last glGetError

    // Bumped by every change that can affect drawing: anything set through
    // the state table, matrices, texture binds, images and parameters. The
    // WebGL side batches consecutive blocks while it stays the same.
    unsigned serial;
    // Finer counts the WebGL side keeps its uniforms by.
    unsigned matrixSerial, lightSerial;
};

State& state();
// Records an error unless an earlier one is still unread.
void setError(GLenum e);
// GL_INVALID_OPERATION between glBegin and glEnd: true when the call may go on.
bool outsideBlock();
Mat& currentMatrix();
// Before the current matrix changes: draws what is batched, bumps the serials.
void touchMatrix();
// Before a change that affects drawing: draws what is batched under the old
// state, and bumps the serial.
void changing();

// GL's conversions of integer colour and normal components: unsigned types
// map [0, max] to [0, 1], signed ones (2c + 1) / (2^bits - 1) to [-1, 1];
// floating-point values are taken as they are.
inline float normalised(GLbyte c) { return float((2.0 * c + 1) / 255.0); }
inline float normalised(GLubyte c) { return c / 255.0f; }
inline float normalised(GLshort c) { return float((2.0 * c + 1) / 65535.0); }
inline float normalised(GLushort c) { return float(c / 65535.0); }
inline float normalised(GLint c) { return float((2.0 * c + 1) / 4294967295.0); }
inline float normalised(GLuint c) { return float(c / 4294967295.0); }
inline float normalised(GLfloat c) { return c; }
inline float normalised(GLdouble c) { return float(c); }

// A vertex (x, y, z, w) as the layer keeps it, in three coordinates: the
// same point for any w but 0 once projected (w = 0 keeps x, y, z).
inline void vertexPosition(float x, float y, float z, float w, float out[3]) {
    if (w == 0 || w == 1)
        out[0] = x, out[1] = y, out[2] = z;
    else
        out[0] = x / w, out[1] = y / w, out[2] = z / w;
}

// A colour material follows the current colour: after glColor and at glEnd
// the material the colour tracks takes the current colour's value.
void trackColorMaterial();
// The material of a face (0 front, 1 back) as it is for a vertex of colour
// `color`: the tracked part replaced while colour material is on.
Material vertexMaterial(int face, const float color[4]);

// Says once per name on the console that a call's effect is not drawn:
// "glFoo: not drawn in a web page".
void notDrawn(const char* name);

// A parameter call's values as doubles: the first, and all four where `pname`
// is the call's one colour (`colour`); what the vector forms pass on.
template <typename T>
void paramValues(GLenum pname, GLenum colour, const T* params, double v[4]) {
    v[0] = params[0], v[1] = v[2] = v[3] = 0;
    if (pname == colour)
        for (int i = 1; i < 4; ++i) v[i] = params[i];
}

// The device pixel ratio: CSS pixels to drawing-buffer pixels (glut.js sets
// it through zwSetPixelRatio). Everything the program sees stays in CSS pixels.
extern float pixelRatio;

// ---- Display lists -----------------------------------------------------------
// While a list is being compiled, each GL call that a list can hold is handed
// to record(); it returns true when the call must also run now (compile and
// execute, or no list open).
bool record(std::function<void()> call);
// A glBegin/glEnd block inside a list: kept as a ready vertex buffer.
bool recordingBlock();
// Whether a list is being compiled (GL_COMPILE or GL_COMPILE_AND_EXECUTE).
bool compilingList();
// A call made of other calls (glEvalMesh: blocks of evaluated vertices): kept
// whole in an open list and evaluated when the list runs; run now (unless
// GL_COMPILE) as the list will run it, so its blocks are not kept twice.
void recordWhole(std::function<void()> call);

// The list being compiled (0 for none) and its mode, for glGet.
GLuint listIndex();
GLenum listMode();
// GL_MAX_TEXTURE_SIZE: WebGL's.
int maxTexture();

// ---- Pixels (glPixels.cpp) ---------------------------------------------------
// The error a format and type pair of a pixel rectangle gives, GL_NO_ERROR
// when they go together.
GLenum pixelArgs(GLenum format, GLenum type);
// Unpacks a client image under `store`, rows bottom-up, after the pixel
// transfer: colours and colour indices (through the index maps) into RGBA
// floats (w*h*4), depths and stencil values one float a pixel; false (error
// set) for a bad format or type.
bool unpackImage(const PixelStore& store, int w, int h, GLenum format, GLenum type, const void* pixels,
                 std::vector<float>& values);
// Packs values (RGBA floats, or one a pixel for depth and stencil) into a
// client image under `store` (glReadPixels, glGetTexImage).
bool packImage(const PixelStore& store, int w, int h, GLenum format, GLenum type, const float* values, void* pixels);
// The pixel transfer of values read from the framebuffer: a colour's scale,
// bias and maps, a depth's scale and bias, a stencil value's shift, offset and map.
void transferColor(float* rgba);
float transferDepth(float z);
float transferStencil(double value);
// The framebuffer's pixels as RGBA floats, after the batch is drawn.
std::vector<float> framebuffer(int x, int y, int w, int h);
// Pixel (x, y)'s byte and bit in a bitmap (GL_BITMAP) of width w under
// `store`: rows of whole alignment units, the first pixel in the most
// significant bit unless LSB first.
size_t bitAt(const PixelStore& store, int w, int x, int y, int* bit);
// A pixel map's size (GL_PIXEL_MAP_I_TO_I ...), 0 for another name.
int pixelMapSize(GLenum map);

// ---- The vertex pipeline on the CPU (glEntry.cpp) ----------------------------
// What glRasterPos does to its point, shared with selection and feedback.
// GL's lighting equation for one side of a vertex at eye position `eye`,
// with eye normal `n` (already turned to that side) and material `m`.
void light(const Material& m, const float eye[4], const float n[3], float out[4]);
// Texture coordinates `in` as GL generates and transforms them for a vertex.
void texCoord(const float in[4], const float obj[4], const float eye[4], const float n[3], float out[4]);
// Clip coordinates to window x, y (CSS pixels) and z through viewport and depth range.
void windowCoords(const float clip[4], float out[3]);
// Normals to eye coordinates: by the inverse transpose of the model-view,
// normalised as GL_NORMALIZE and GL_RESCALE_NORMAL say. eyeNormals gives the
// inverse (false when the model-view is singular: normals stay as they are).
bool eyeNormals(Mat& inverse);
void eyeNormal(const Mat& inverse, const float in[3], float out[3]);

// ---- Selection and feedback (glFeedback.cpp) ---------------------------------
// GL_RENDER, GL_SELECT or GL_FEEDBACK (glRenderMode).
GLenum renderMode();
// Outside GL_RENDER: a block's primitives transformed, clipped and fed back
// (or counted as a hit) on the CPU; nothing reaches WebGL.
void feedbackBlock(GLenum mode, const Vertex* vertices, int count);
// In GL_FEEDBACK: glBitmap, glDrawPixels or glCopyPixels at the current
// raster position (token GL_BITMAP_TOKEN, GL_DRAW_PIXEL_TOKEN or
// GL_COPY_PIXEL_TOKEN), fed back when the position is valid. (They make no
// hit in GL_SELECT; glRasterPos does.)
void feedbackRaster(GLenum token);
// In GL_SELECT: a valid raster position just set by glRasterPos is a hit.
void selectRaster();
// The name stack's depth, and the buffer of glSelectBuffer or glFeedbackBuffer
// (GL_SELECTION_BUFFER_POINTER, GL_FEEDBACK_BUFFER_POINTER), for the queries.
int nameStackDepth();
void* modeBuffer(GLenum pname);

// ---- The WebGL side (webgl.cpp) ----------------------------------------------
// Draws vertices with the current state, in any of GL's ten modes.
void drawBlock(GLenum mode, const Vertex* vertices, int count);
// A vertex buffer kept on the WebGL side for a display list.
unsigned keepBlock(GLenum mode, const Vertex* vertices, int count);
void drawKept(unsigned buffer, GLenum mode, int count);
// Whether blocks reach WebGL at all: a measurement of the layer's own cost
// turns this off and keeps everything else.
extern bool submit;
// Draws what is batched. Called before glClear, glReadPixels, glFlush,
// glFinish, glBitmap and every state change (changing()).
void flushBatch();
// A texture level's image (whole: a new image for the level, of w x h at 0,
// 0) or a part of it (x, y, w, h), RGBA8 rows bottom-up.
void uploadTexture(Texture& t, int level, int x, int y, int w, int h, const unsigned char* rgba, bool whole);
void freeTexture(Texture& t);
// A bitmap's fragments: coverage w*h bytes (row 0 = bottom), 1 where a
// fragment is made, lower-left at window (x, y) CSS pixels, depth z.
void drawBitmap(float x, float y, int w, int h, const unsigned char* coverage, const float color[4], float z);
// glClear: honours scissor and masks.
void clearBuffers(GLbitfield mask);
// RGBA bytes of the CSS pixels (x, y, w, h), rows bottom-up.
void readPixels(int x, int y, int w, int h, unsigned char* rgba);

// ---- The accumulation buffer (webglAccum.cpp) ---------------------------------
// Its bits per component; 0 when the window has none (no GLUT_ACCUM).
extern int accumBits;
// glAccum's operation, checked, on a window that has the buffer; within the
// scissor box when the scissor test is on.
void accumulate(GLenum op, float value);
// glClear's part: the buffer to the clear value, within the scissor box.
void clearAccum();

// ---- Pixel rectangles on WebGL (webglPixels.cpp) ------------------------------
// A rectangle's fragments (glDrawPixels, glCopyPixels): w x h values, rows
// bottom-up, RGBA for GL_COLOR, window depths for GL_DEPTH (coloured
// `color`), stencil values for GL_STENCIL. Pixel (i, j) makes the fragments
// whose centres lie in the window rectangle from (x + zx i, y + zy j) to
// (x + zx (i + 1), y + zy (j + 1)), CSS pixels, with its left and bottom edges;
// colour and stencil fragments at window depth z.
void drawPixels(GLenum kind, float x, float y, float zx, float zy, int w, int h, const float* values,
                const float color[4], float z);
// The depths (window z) or stencil values (GL_DEPTH, GL_STENCIL) of the CSS
// pixels (x, y, w, h) inside the window, rows bottom-up.
void readDepthStencil(GLenum kind, int x, int y, int w, int h, float* values);
// The window's size in CSS pixels.
void windowSize(int& width, int& height);
// A colour fogged as GL fogs bitmaps and pixel rectangles: by the raster
// position's distance; unchanged when fog is off.
void rasterFog(float color[4]);

}  // namespace zw

extern "C" {
// Set by glut.js when the page's device pixel ratio is known or changes.
void zwSetPixelRatio(double ratio);
// Sets the viewport and scissor box to a new window's size, as GL starts them.
void zwWindowCreated(int width, int height);
}
