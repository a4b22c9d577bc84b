// GLU 1.3 on the layer's GL entry points: the camera and projection helpers,
// GLU 1.3 on the layer's GL entry points: the camera and projection helpers,
// error strings, image scaling and mipmaps are computed here (quadrics are
// gluQuadric.cpp, the tessellator gluTess.cpp, NURBS gluNurbs.cpp).
// Everything goes through the layer's GL calls, so display lists and errors
// behave as with any other GL call.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/web/matrixInverse.h"

namespace zw {
// Says once on the console that `name` draws nothing in a web page (glState.cpp).
void notDrawn(const char* name);
}  // namespace zw

// ---- Matrices ---------------------------------------------------------------------

namespace {

// out = m * in, m column-major.
void transform(const double m[16], const double in[4], double out[4]) {
    for (int r = 0; r < 4; ++r) out[r] = m[r] * in[0] + m[4 + r] * in[1] + m[8 + r] * in[2] + m[12 + r] * in[3];
}

// r = a * b, column-major.
void multiply(const double a[16], const double b[16], double r[16]) {
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            r[col * 4 + row] = a[row] * b[col * 4] + a[4 + row] * b[col * 4 + 1] + a[8 + row] * b[col * 4 + 2] +
                               a[12 + row] * b[col * 4 + 3];
}

// Window coordinates (x, y, z in the depth range 0..1) back to object
// coordinates through (proj * model)^-1; in[3] is the clip w to assume.
bool unproject(const double win[4], const GLdouble* model, const GLdouble* proj, const GLint* view, double out[4]) {
    double pm[16], inv[16];
    multiply(proj, model, pm);
    if (!zw::invertMatrix(pm, inv) || view[2] == 0 || view[3] == 0) return false;
    const double ndc[4] = {(win[0] - view[0]) / view[2] * 2 - 1, (win[1] - view[1]) / view[3] * 2 - 1, win[2] * 2 - 1,
                           win[3]};
    transform(inv, ndc, out);
    return true;
}

}  // namespace

extern "C" {

void gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top) {
    glOrtho(left, right, bottom, top, -1, 1);
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    const double radians = fovy / 2 * M_PI / 180;
    const double deltaZ = zFar - zNear, sine = std::sin(radians);
    // A degenerate camera leaves the matrix alone, as GLU does.
    if (deltaZ == 0 || sine == 0 || aspect == 0) return;
    const double cotangent = std::cos(radians) / sine;
    const GLdouble m[16] = {cotangent / aspect, 0, 0, 0, 0, cotangent, 0, 0,
                            0, 0, -(zFar + zNear) / deltaZ, -1, 0, 0, -2 * zNear * zFar / deltaZ, 0};
    glMultMatrixd(m);
}

void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz, GLdouble ux,
               GLdouble uy, GLdouble uz) {
    // forward, side = forward x up, up' = side x forward; in single precision,
    // as GLU computes it (the pages' pictures depend on these bits).
    float f[3] = {float(cx - ex), float(cy - ey), float(cz - ez)};
    const float up[3] = {float(ux), float(uy), float(uz)};
    auto normalise = [](float* v) {
        const float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (l == 0) return;
        for (int i = 0; i < 3; ++i) v[i] /= l;
    };
    normalise(f);
    float s[3] = {f[1] * up[2] - f[2] * up[1], f[2] * up[0] - f[0] * up[2], f[0] * up[1] - f[1] * up[0]};
    normalise(s);
    const float u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]};
    const GLfloat m[16] = {s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0, s[2], u[2], -f[2], 0, 0, 0, 0, 1};
    glMultMatrixf(m);
    glTranslated(-ex, -ey, -ez);
}

GLint gluProject(GLdouble objX, GLdouble objY, GLdouble objZ, const GLdouble* model, const GLdouble* proj,
                 const GLint* view, GLdouble* winX, GLdouble* winY, GLdouble* winZ) {
    const double in[4] = {objX, objY, objZ, 1};
    double eye[4], clip[4];
    transform(model, in, eye);
    transform(proj, eye, clip);
    if (clip[3] == 0) return GL_FALSE;
    const double x = clip[0] / clip[3], y = clip[1] / clip[3], z = clip[2] / clip[3];
    *winX = view[0] + view[2] * (x * 0.5 + 0.5);
    *winY = view[1] + view[3] * (y * 0.5 + 0.5);
    *winZ = z * 0.5 + 0.5;
    return GL_TRUE;
}

GLint gluUnProject(GLdouble winX, GLdouble winY, GLdouble winZ, const GLdouble* model, const GLdouble* proj,
                   const GLint* view, GLdouble* objX, GLdouble* objY, GLdouble* objZ) {
    // The outputs stay untouched when the point cannot be taken back.
    const double win[4] = {winX, winY, winZ, 1};
    double out[4];
    if (!unproject(win, model, proj, view, out) || out[3] == 0) return GL_FALSE;
    *objX = out[0] / out[3];
    *objY = out[1] / out[3];
    *objZ = out[2] / out[3];
    return GL_TRUE;
}

GLint gluUnProject4(GLdouble winX, GLdouble winY, GLdouble winZ, GLdouble clipW, const GLdouble* model,
                    const GLdouble* proj, const GLint* view, GLdouble nearVal, GLdouble farVal, GLdouble* objX,
                    GLdouble* objY, GLdouble* objZ, GLdouble* objW) {
    // winZ is in the depth range [nearVal, farVal]; the result is not divided by w.
    if (farVal == nearVal) return GL_FALSE;
    const double win[4] = {winX, winY, (winZ - nearVal) / (farVal - nearVal), clipW};
    double out[4];
    if (!unproject(win, model, proj, view, out)) return GL_FALSE;
    *objX = out[0];
    *objY = out[1];
    *objZ = out[2];
    *objW = out[3];
    return GL_TRUE;
}

void gluPickMatrix(GLdouble x, GLdouble y, GLdouble deltaX, GLdouble deltaY, GLint* view) {
    // Maps the pick box centred on (x, y) onto the whole viewport.
    // In single precision, as the desktop's GLU multiplies it.
    if (deltaX <= 0 || deltaY <= 0) return;
    glTranslatef(GLfloat((view[2] - 2 * (x - view[0])) / deltaX), GLfloat((view[3] - 2 * (y - view[1])) / deltaY), 0);
    glScalef(GLfloat(view[2] / deltaX), GLfloat(view[3] / deltaY), 1);
}

// ---- Strings ----------------------------------------------------------------------

const GLubyte* gluErrorString(GLenum error) {
    struct Entry {
        GLenum code;
        const char* text;
    };
    static const Entry table[] = {
        {GL_NO_ERROR, "no error"},
        {GL_INVALID_ENUM, "invalid enumerant"},
        {GL_INVALID_VALUE, "invalid value"},
        {GL_INVALID_OPERATION, "invalid operation"},
        {GL_STACK_OVERFLOW, "stack overflow"},
        {GL_STACK_UNDERFLOW, "stack underflow"},
        {GL_OUT_OF_MEMORY, "out of memory"},
        {0x8031, "table too large"},                  // GL_TABLE_TOO_LARGE
        {0x0506, "invalid framebuffer operation"},    // GL_INVALID_FRAMEBUFFER_OPERATION
        {GLU_INVALID_ENUM, "invalid enumerant"},
        {GLU_INVALID_VALUE, "invalid value"},
        {GLU_OUT_OF_MEMORY, "out of memory"},
        {GLU_INCOMPATIBLE_GL_VERSION, "incompatible gl version"},
        {GLU_INVALID_OPERATION, "invalid operation"},
    };
    for (const Entry& e : table)
        if (e.code == error) return reinterpret_cast<const GLubyte*>(e.text);
    // The NURBS and tessellator errors their callbacks receive, in code order.
    static const char* const nurbs[] = {
        "spline order un-supported",
        "too few knots",
        "valid knot range is empty",
        "decreasing knot sequence knot",
        "knot multiplicity greater than order of spline",
        "gluEndCurve() must follow gluBeginCurve()",
        "gluBeginCurve() must precede gluEndCurve()",
        "missing or extra geometric data",
        "can't draw piecewise linear trimming curves",
        "missing or extra domain data",
        "missing or extra domain data",
        "gluEndTrim() must precede gluEndSurface()",
        "gluBeginSurface() must precede gluEndSurface()",
        "curve of improper type passed as trim curve",
        "gluBeginSurface() must precede gluBeginTrim()",
        "gluEndTrim() must follow gluBeginTrim()",
        "gluBeginTrim() must precede gluEndTrim()",
        "invalid or missing trim curve",
        "gluBeginTrim() must precede gluPwlCurve()",
        "piecewise linear trimming curve referenced twice",
        "piecewise linear trimming curve and nurbs curve mixed",
        "improper usage of trim data type",
        "nurbs curve referenced twice",
        "nurbs curve and piecewise linear trimming curve mixed",
        "nurbs surface referenced twice",
        "invalid property",
        "gluEndSurface() must follow gluBeginSurface()",
        "intersecting or misoriented trim curves",
        "intersecting trim curves",
        "UNUSED",
        "unconnected trim curves",
        "unknown knot error",
        "negative vertex count encountered",
        "negative byte-stride encounteed",
        "unknown type descriptor",
        "null control point reference",
        "duplicate point on piecewise linear trimming curve",
    };
    static const char* const tess[] = {
        "gluTessBeginPolygon() must precede a gluTessEndPolygon()",
        "gluTessBeginContour() must precede a gluTessEndContour()",
        "gluTessEndPolygon() must follow a gluTessBeginPolygon()",
        "gluTessEndContour() must follow a gluTessBeginContour()",
        "a coordinate is too large",
        "need combine callback",
    };
    const size_t nurbsCount = sizeof nurbs / sizeof *nurbs, tessCount = sizeof tess / sizeof *tess;
    if (error >= GLU_NURBS_ERROR1 && error < GLU_NURBS_ERROR1 + nurbsCount)
        return reinterpret_cast<const GLubyte*>(nurbs[error - GLU_NURBS_ERROR1]);
    if (error >= GLU_TESS_ERROR1 && error < GLU_TESS_ERROR1 + tessCount)
        return reinterpret_cast<const GLubyte*>(tess[error - GLU_TESS_ERROR1]);
    return nullptr;
}

const GLubyte* gluGetString(GLenum name) {
    // No GLU extension is offered (GLU 1.3 has the NURBS tessellator itself).
    if (name == GLU_VERSION) return reinterpret_cast<const GLubyte*>("1.3");
    if (name == GLU_EXTENSIONS) return reinterpret_cast<const GLubyte*>("");
    return nullptr;
}

GLboolean gluCheckExtension(const GLubyte* extName, const GLubyte* extString) {
    // A whole word of the space-separated list.
    if (!extName || !extString) return GL_FALSE;
    const char* name = reinterpret_cast<const char*>(extName);
    const size_t n = std::strlen(name);
    if (n == 0 || std::strchr(name, ' ')) return GL_FALSE;
    const char* p = reinterpret_cast<const char*>(extString);
    while (*p) {
        while (*p == ' ') ++p;
        const char* end = p;
        while (*end && *end != ' ') ++end;
        if (size_t(end - p) == n && std::strncmp(p, name, n) == 0) return GL_TRUE;
        p = end;
    }
    return GL_FALSE;
}

}  // extern "C"

// ---- Images -----------------------------------------------------------------------
// An image is read into one double per component, in the type's own integer
// scale (0..255 for bytes, the field's range for packed types, 0/1 for bitmaps),
// filtered, and written back rounded to the nearest value of the same type.

namespace {

struct PixelStore {
    GLint alignment = 4, rowLength = 0, skipRows = 0, skipPixels = 0, swapBytes = 0, lsbFirst = 0;
};

PixelStore readStore(bool pack) {
    PixelStore s;
    glGetIntegerv(pack ? GL_PACK_ALIGNMENT : GL_UNPACK_ALIGNMENT, &s.alignment);
    glGetIntegerv(pack ? GL_PACK_ROW_LENGTH : GL_UNPACK_ROW_LENGTH, &s.rowLength);
    glGetIntegerv(pack ? GL_PACK_SKIP_ROWS : GL_UNPACK_SKIP_ROWS, &s.skipRows);
    glGetIntegerv(pack ? GL_PACK_SKIP_PIXELS : GL_UNPACK_SKIP_PIXELS, &s.skipPixels);
    glGetIntegerv(pack ? GL_PACK_SWAP_BYTES : GL_UNPACK_SWAP_BYTES, &s.swapBytes);
    glGetIntegerv(pack ? GL_PACK_LSB_FIRST : GL_UNPACK_LSB_FIRST, &s.lsbFirst);
    return s;
}

void writeUnpackStore(const PixelStore& s) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, s.alignment);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, s.rowLength);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, s.skipRows);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, s.skipPixels);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, s.swapBytes);
    glPixelStorei(GL_UNPACK_LSB_FIRST, s.lsbFirst);
}

// What one pixel of a format and type is made of.
struct Layout {
    int components = 0;   // per pixel
    int elementBytes = 0;  // per element (a packed type: one element per pixel)
    bool bitmap = false, isFloat = false, isSigned = false;
    int bits[4] = {0, 0, 0, 0};  // packed: each component's field width, in the format's order
    bool reversed = false;       // packed: the first component in the lowest bits
    bool packed() const { return bits[0] != 0; }
};

int formatComponents(GLenum format) {
    switch (format) {
        case GL_COLOR_INDEX:
        case GL_STENCIL_INDEX:
        case GL_DEPTH_COMPONENT:
        case GL_RED:
        case GL_GREEN:
        case GL_BLUE:
        case GL_ALPHA:
        case GL_LUMINANCE: return 1;
        case GL_LUMINANCE_ALPHA: return 2;
        case GL_RGB:
        case GL_BGR: return 3;
        case GL_RGBA:
        case GL_BGRA: return 4;
        default: return 0;
    }
}

// GLU's checks of a format and type: 0 when they go together, else the error.
GLint describe(GLenum format, GLenum type, Layout& l) {
    l = Layout();
    l.components = formatComponents(format);
    if (l.components == 0) return GLU_INVALID_ENUM;
    struct Packed {
        GLenum type;
        int bytes, a, b, c, d;
        bool reversed;
    };
    static const Packed packedTypes[] = {
        {GL_UNSIGNED_BYTE_3_3_2, 1, 3, 3, 2, 0, false},        {GL_UNSIGNED_BYTE_2_3_3_REV, 1, 3, 3, 2, 0, true},
        {GL_UNSIGNED_SHORT_5_6_5, 2, 5, 6, 5, 0, false},       {GL_UNSIGNED_SHORT_5_6_5_REV, 2, 5, 6, 5, 0, true},
        {GL_UNSIGNED_SHORT_4_4_4_4, 2, 4, 4, 4, 4, false},     {GL_UNSIGNED_SHORT_4_4_4_4_REV, 2, 4, 4, 4, 4, true},
        {GL_UNSIGNED_SHORT_5_5_5_1, 2, 5, 5, 5, 1, false},     {GL_UNSIGNED_SHORT_1_5_5_5_REV, 2, 5, 5, 5, 1, true},
        {GL_UNSIGNED_INT_8_8_8_8, 4, 8, 8, 8, 8, false},       {GL_UNSIGNED_INT_8_8_8_8_REV, 4, 8, 8, 8, 8, true},
        {GL_UNSIGNED_INT_10_10_10_2, 4, 10, 10, 10, 2, false}, {GL_UNSIGNED_INT_2_10_10_10_REV, 4, 10, 10, 10, 2, true},
    };
    for (const Packed& p : packedTypes) {
        if (p.type != type) continue;
        const int fields = p.d ? 4 : 3;
        // Three fields take GL_RGB; four take GL_RGBA or GL_BGRA.
        if (fields == 3 ? format != GL_RGB : format != GL_RGBA && format != GL_BGRA) return GLU_INVALID_OPERATION;
        l.elementBytes = p.bytes;
        l.bits[0] = p.a, l.bits[1] = p.b, l.bits[2] = p.c, l.bits[3] = p.d;
        l.reversed = p.reversed;
        return 0;
    }
    switch (type) {
        case GL_BITMAP:  // one bit per component, of any format (as the desktop's GLU takes them)
            l.bitmap = true;
            l.elementBytes = 1;
            return 0;
        case GL_UNSIGNED_BYTE: l.elementBytes = 1; return 0;
        case GL_BYTE: l.elementBytes = 1, l.isSigned = true; return 0;
        case GL_UNSIGNED_SHORT: l.elementBytes = 2; return 0;
        case GL_SHORT: l.elementBytes = 2, l.isSigned = true; return 0;
        case GL_UNSIGNED_INT: l.elementBytes = 4; return 0;
        case GL_INT: l.elementBytes = 4, l.isSigned = true; return 0;
        case GL_FLOAT: l.elementBytes = 4, l.isFloat = true; return 0;
        default: return GLU_INVALID_ENUM;
    }
}

// Bytes from one row's start to the next's, as GL's pixel store lays them out.
size_t rowStride(const Layout& l, const PixelStore& s, int width) {
    const size_t pixels = s.rowLength > 0 ? size_t(s.rowLength) : size_t(width);
    const size_t a = size_t(s.alignment > 0 ? s.alignment : 1);
    if (l.bitmap) return (pixels * l.components + 8 * a - 1) / (8 * a) * a;
    const size_t perPixel = size_t(l.packed() ? 1 : l.components) * l.elementBytes;
    const size_t bytes = pixels * perPixel;
    if (size_t(l.elementBytes) >= a) return bytes;
    return (bytes + a - 1) / a * a;
}

size_t imageBytes(const Layout& l, const PixelStore& s, int width, int height) {
    return rowStride(l, s, width) * size_t(height);
}

uint32_t loadElement(const unsigned char* p, int bytes, bool swap) {
    unsigned char b[4] = {0, 0, 0, 0};
    for (int i = 0; i < bytes; ++i) b[i] = p[swap ? bytes - 1 - i : i];
    uint32_t v = 0;
    std::memcpy(&v, b, 4);  // little-endian: the first `bytes` bytes are the value
    return v;
}

void storeElement(unsigned char* p, int bytes, bool swap, uint32_t v) {
    unsigned char b[4];
    std::memcpy(b, &v, 4);
    for (int i = 0; i < bytes; ++i) p[swap ? bytes - 1 - i : i] = b[i];
}

// The field of component k of a packed pixel: its shift and mask.
void field(const Layout& l, int k, int& shift, uint32_t& mask) {
    const int count = l.bits[3] ? 4 : 3;
    int below = 0;  // bits below field k
    if (l.reversed) {
        for (int i = 0; i < k; ++i) below += l.bits[i];
    } else {
        for (int i = k + 1; i < count; ++i) below += l.bits[i];
    }
    shift = below;
    mask = (1u << l.bits[k]) - 1;
}

std::vector<double> readImage(const Layout& l, const PixelStore& s, int width, int height, const void* data) {
    std::vector<double> out(size_t(width) * height * l.components);
    const unsigned char* base = static_cast<const unsigned char*>(data);
    const size_t stride = rowStride(l, s, width);
    const bool swap = s.swapBytes && l.elementBytes > 1;
    size_t n = 0;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = base + size_t(y + s.skipRows) * stride;
        for (int x = 0; x < width; ++x) {
            if (l.bitmap) {
                for (int k = 0; k < l.components; ++k) {
                    const size_t bit = size_t(x + s.skipPixels) * l.components + k;
                    const int shift = s.lsbFirst ? int(bit % 8) : 7 - int(bit % 8);
                    out[n++] = (row[bit / 8] >> shift) & 1;
                }
            } else if (l.packed()) {
                const uint32_t v = loadElement(row + size_t(x + s.skipPixels) * l.elementBytes, l.elementBytes, swap);
                for (int k = 0; k < l.components; ++k) {
                    int shift;
                    uint32_t mask;
                    field(l, k, shift, mask);
                    out[n++] = double((v >> shift) & mask);
                }
            } else {
                const unsigned char* p = row + size_t(x + s.skipPixels) * l.components * l.elementBytes;
                for (int k = 0; k < l.components; ++k, p += l.elementBytes) {
                    const uint32_t v = loadElement(p, l.elementBytes, swap);
                    double d;
                    if (l.isFloat) {
                        float f;
                        std::memcpy(&f, &v, 4);
                        d = f;
                    } else if (l.isSigned) {
                        d = l.elementBytes == 1 ? double(int8_t(v)) : l.elementBytes == 2 ? double(int16_t(v))
                                                                                          : double(int32_t(v));
                    } else {
                        d = double(v);
                    }
                    out[n++] = d;
                }
            }
        }
    }
    return out;
}

// The nearest value of the type, within its range.
uint32_t toElement(const Layout& l, double v) {
    double lo = 0, hi;
    if (l.isSigned) {
        hi = std::ldexp(1.0, l.elementBytes * 8 - 1) - 1;
        lo = -hi - 1;
    } else {
        hi = std::ldexp(1.0, l.elementBytes * 8) - 1;
    }
    double r = std::floor(v + 0.5);
    if (r < lo) r = lo;
    if (r > hi) r = hi;
    if (l.isSigned) return uint32_t(int32_t(r));
    return uint32_t(r);
}

void writeImage(const Layout& l, const PixelStore& s, int width, int height, const std::vector<double>& in,
                void* data) {
    unsigned char* base = static_cast<unsigned char*>(data);
    const size_t stride = rowStride(l, s, width);
    const bool swap = s.swapBytes && l.elementBytes > 1;
    size_t n = 0;
    for (int y = 0; y < height; ++y) {
        unsigned char* row = base + size_t(y + s.skipRows) * stride;
        for (int x = 0; x < width; ++x) {
            if (l.bitmap) {
                for (int k = 0; k < l.components; ++k) {
                    const size_t bit = size_t(x + s.skipPixels) * l.components + k;
                    const int shift = s.lsbFirst ? int(bit % 8) : 7 - int(bit % 8);
                    const unsigned char m = (unsigned char)(1u << shift);
                    if (in[n++] >= 0.5) row[bit / 8] |= m;
                    else row[bit / 8] &= (unsigned char)~m;
                }
            } else if (l.packed()) {
                uint32_t v = 0;
                for (int k = 0; k < l.components; ++k) {
                    int shift;
                    uint32_t mask;
                    field(l, k, shift, mask);
                    double r = std::floor(in[n++] + 0.5);
                    r = r < 0 ? 0 : r > mask ? mask : r;
                    v |= uint32_t(r) << shift;
                }
                storeElement(row + size_t(x + s.skipPixels) * l.elementBytes, l.elementBytes, swap, v);
            } else {
                unsigned char* p = row + size_t(x + s.skipPixels) * l.components * l.elementBytes;
                for (int k = 0; k < l.components; ++k, p += l.elementBytes) {
                    uint32_t v;
                    if (l.isFloat) {
                        const float f = float(in[n]);
                        std::memcpy(&v, &f, 4);
                    } else {
                        v = toElement(l, in[n]);
                    }
                    ++n;
                    storeElement(p, l.elementBytes, swap, v);
                }
            }
        }
    }
}

// The box filter: each output pixel averages the input area it covers, each
// input pixel weighted by the part of it inside the box. When enlarging, the
// box is one input pixel wide around the output pixel's centre, which is
// linear interpolation between the two nearest input pixels; past an edge it
// takes in the opposite edge, as the desktop GLU does.
std::vector<double> scale(const std::vector<double>& in, int components, int wIn, int hIn, int wOut, int hOut) {
    std::vector<double> out(size_t(wOut) * hOut * components);
    const double cx = double(wIn) / wOut, cy = double(hIn) / hOut;
    const double halfX = wIn > wOut ? cx / 2 : 0.5, halfY = hIn > hOut ? cy / 2 : 0.5;
    std::vector<double> sum(components);
    for (int i = 0; i < hOut; ++i) {
        const double centreY = cy * (i + 0.5), lowY = centreY - halfY, highY = centreY + halfY;
        for (int j = 0; j < wOut; ++j) {
            const double centreX = cx * (j + 0.5), lowX = centreX - halfX, highX = centreX + halfX;
            std::fill(sum.begin(), sum.end(), 0.0);
            double area = 0;
            for (double y = lowY, yi = std::floor(lowY); y < highY; y = ++yi) {
                const double partY = std::fmin(highY, yi + 1) - y;
                const int row = int(((long long)yi % hIn + hIn) % hIn);
                for (double x = lowX, xi = std::floor(lowX); x < highX; x = ++xi) {
                    const double part = (std::fmin(highX, xi + 1) - x) * partY;
                    const int col = int(((long long)xi % wIn + wIn) % wIn);
                    const double* p = &in[(size_t(row) * wIn + col) * components];
                    for (int k = 0; k < components; ++k) sum[k] += p[k] * part;
                    area += part;
                }
            }
            double* o = &out[(size_t(i) * wOut + j) * components];
            for (int k = 0; k < components; ++k) o[k] = sum[k] / area;
        }
    }
    return out;
}

// The power of two nearest n (upward when n lies halfway).
int nearestPowerOfTwo(int n) {
    int p = 1;
    while (p * 2 <= n) p *= 2;
    return (n - p) * 2 >= p ? p * 2 : p;
}

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

int levelsBelow(int w, int h) {  // the highest level of a full pyramid from w x h
    int levels = 0;
    while (w > 1 || h > 1) {
        w = w > 1 ? w / 2 : 1, h = h > 1 ? h / 2 : 1;
        ++levels;
    }
    return levels;
}

// Loads levels [base, max] of the pyramid whose level `level` is `image` (w x h,
// components doubles per pixel) with glTexImage1D/2D, each level the halving
// of the one above; the pixels go to GL tightly packed.
void loadLevels(GLenum target, GLint internalFormat, const Layout& l, GLenum format, GLenum type, int w, int h,
                int level, int base, int max, std::vector<double> image, bool oneD) {
    const PixelStore saved = readStore(false);
    writeUnpackStore(PixelStore{1, 0, 0, 0, 0, 0});
    PixelStore tight;
    tight.alignment = 1;
    std::vector<unsigned char> bytes;
    for (int at = level; at <= max; ++at) {
        if (at >= base) {
            bytes.assign(imageBytes(l, tight, w, h), 0);
            writeImage(l, tight, w, h, image, bytes.data());
            if (oneD) glTexImage1D(target, at, internalFormat, w, 0, format, type, bytes.data());
            else glTexImage2D(target, at, internalFormat, w, h, 0, format, type, bytes.data());
        }
        if (w == 1 && h == 1) break;
        const int w2 = w > 1 ? w / 2 : 1, h2 = h > 1 ? h / 2 : 1;
        image = scale(image, l.components, w, h, w2, h2);
        w = w2, h = h2;
    }
    writeUnpackStore(saved);
}

GLint maxTextureSize() {
    GLint most = 2048;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &most);
    return most > 0 ? most : 1;
}

// Shared by the 1D and 2D builders: the checks GLU makes, then the levels.
GLint build(GLenum target, GLint internalFormat, int width, int height, GLenum format, GLenum type, int level,
            int base, int max, bool fitToPowers, bool oneD, const void* data) {
    if (target != (oneD ? GL_TEXTURE_1D : GL_TEXTURE_2D)) return GLU_INVALID_ENUM;
    if (width < 1 || height < 1) return GLU_INVALID_VALUE;
    Layout l;
    if (const GLint error = describe(format, type, l)) return error;
    if (format == GL_STENCIL_INDEX) return GLU_INVALID_ENUM;  // not a texture's format
    if (type == GL_BITMAP && format != GL_COLOR_INDEX) return GLU_INVALID_ENUM;
    std::vector<double> image = readImage(l, readStore(false), width, height, data);
    if (fitToPowers) {
        // The nearest powers of two, then halved until GL takes the size.
        int w = nearestPowerOfTwo(width), h = oneD ? 1 : nearestPowerOfTwo(height);
        const int most = maxTextureSize();
        while (w > most) w /= 2;
        while (h > most) h /= 2;
        if (w != width || h != height) image = scale(image, l.components, width, height, w, h);
        loadLevels(target, internalFormat, l, format, type, w, h, 0, 0, levelsBelow(w, h), image, oneD);
        return 0;
    }
    if (!isPowerOfTwo(width) || !isPowerOfTwo(height)) return GLU_INVALID_VALUE;
    if (level < 0 || level > base || base < 0 || max < base || max > level + levelsBelow(width, height))
        return GLU_INVALID_VALUE;
    loadLevels(target, internalFormat, l, format, type, width, height, level, base, max, image, oneD);
    return 0;
}

}  // namespace

extern "C" {

GLint gluScaleImage(GLenum format, GLsizei wIn, GLsizei hIn, GLenum typeIn, const void* dataIn, GLsizei wOut,
                    GLsizei hOut, GLenum typeOut, GLvoid* dataOut) {
    if (wIn < 0 || hIn < 0 || wOut < 0 || hOut < 0) return GLU_INVALID_VALUE;
    Layout in, out;
    if (const GLint error = describe(format, typeIn, in)) return error;
    if (const GLint error = describe(format, typeOut, out)) return error;
    if (wIn == 0 || hIn == 0 || wOut == 0 || hOut == 0) return 0;
    // Values keep their meaning across types: a byte's 255 is a float's 1, a
    // 5-bit field's 31 a byte's 255 (GL's conversion of unsigned and signed
    // integers to [0, 1] and [-1, 1]).
    auto unit = [](const Layout& l, int k) {
        if (l.isFloat) return 1.0;
        if (l.bitmap) return 1.0;
        if (l.packed()) return std::ldexp(1.0, l.bits[k]) - 1;
        return l.isSigned ? std::ldexp(1.0, l.elementBytes * 8 - 1) - 1 : std::ldexp(1.0, l.elementBytes * 8) - 1;
    };
    std::vector<double> image = readImage(in, readStore(false), wIn, hIn, dataIn);
    // Colour indices and stencil values are not colours: they keep their value.
    const bool index = format == GL_COLOR_INDEX || format == GL_STENCIL_INDEX;
    if (typeIn != typeOut && !index)
        for (size_t n = 0; n < image.size(); ++n) {
            const int k = int(n % in.components);
            image[n] = image[n] / unit(in, k) * unit(out, k);
        }
    writeImage(out, readStore(true), wOut, hOut, scale(image, in.components, wIn, hIn, wOut, hOut), dataOut);
    return 0;
}

GLint gluBuild1DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLenum format, GLenum type,
                        const void* data) {
    return build(target, internalFormat, width, 1, format, type, 0, 0, 0, true, true, data);
}

GLint gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format,
                        GLenum type, const void* data) {
    return build(target, internalFormat, width, height, format, type, 0, 0, 0, true, false, data);
}

GLint gluBuild1DMipmapLevels(GLenum target, GLint internalFormat, GLsizei width, GLenum format, GLenum type,
                             GLint level, GLint base, GLint max, const void* data) {
    return build(target, internalFormat, width, 1, format, type, level, base, max, false, true, data);
}

GLint gluBuild2DMipmapLevels(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format,
                             GLenum type, GLint level, GLint base, GLint max, const void* data) {
    return build(target, internalFormat, width, height, format, type, level, base, max, false, false, data);
}

// GL 1.1 has no 3D textures: the arguments are checked, nothing is loaded.
static GLint build3D(const char* name, GLenum target, GLsizei width, GLsizei height, GLsizei depth, GLenum format,
                     GLenum type) {
    if (target != GL_TEXTURE_3D) return GLU_INVALID_ENUM;
    if (width < 1 || height < 1 || depth < 1) return GLU_INVALID_VALUE;
    Layout l;
    if (const GLint error = describe(format, type, l)) return error;
    zw::notDrawn(name);
    return 0;
}

GLint gluBuild3DMipmaps(GLenum target, GLint, GLsizei width, GLsizei height, GLsizei depth, GLenum format,
                        GLenum type, const void*) {
    return build3D("gluBuild3DMipmaps", target, width, height, depth, format, type);
}

GLint gluBuild3DMipmapLevels(GLenum target, GLint, GLsizei width, GLsizei height, GLsizei depth, GLenum format,
                             GLenum type, GLint, GLint, GLint, const void*) {
    return build3D("gluBuild3DMipmapLevels", target, width, height, depth, format, type);
}

}  // extern "C"
