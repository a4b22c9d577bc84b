// Pixel rectangles on the CPU side: client images laid out under
// glPixelStore (unpackImage and packImage, which the texture images share),
// the pixel transfer (scale and bias, index shift and offset, the ten pixel
// maps), glDrawPixels, glCopyPixels and glReadPixels of every format, and
// glPixelMap. The WebGL side (webglPixels.cpp) makes the fragments and reads
// depth and stencil back.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/web/glState.h"

namespace zw {

namespace {

// ---- Pixel maps --------------------------------------------------------------------

// The ten maps, GL_PIXEL_MAP_I_TO_I .. GL_PIXEL_MAP_A_TO_A, as GL starts
// them: one entry, 0. Not part of any attribute group.
const int mapCount = GL_PIXEL_MAP_A_TO_A - GL_PIXEL_MAP_I_TO_I + 1;
const int maxMap = 256;  // GL_MAX_PIXEL_MAP_TABLE
struct PixelMap {
    int size = 1;
    float values[maxMap] = {0};
};
PixelMap maps[mapCount];

bool isMap(GLenum map) { return map >= GL_PIXEL_MAP_I_TO_I && map <= GL_PIXEL_MAP_A_TO_A; }
// Maps indexed by colour indices and stencil values (sizes 2^n); their entries
// are indices too for I_TO_I and S_TO_S.
bool fromIndex(GLenum map) { return map <= GL_PIXEL_MAP_I_TO_A; }
bool toIndex(GLenum map) { return map <= GL_PIXEL_MAP_S_TO_S; }
PixelMap& mapOf(GLenum map) { return maps[map - GL_PIXEL_MAP_I_TO_I]; }

// An index's entry: rounded, then masked by the size (a power of two).
float lookupIndex(GLenum map, double index) {
    const PixelMap& m = mapOf(map);
    const double i = index < -1e15 ? -1e15 : index > 1e15 ? 1e15 : index;
    return m.values[std::llround(i) & (m.size - 1)];
}

float clamp01(double v) { return float(v < 0 ? 0 : v > 1 ? 1 : v); }

// A colour component's entry: the clamped component scaled to the last entry.
float lookupColor(GLenum map, float c) {
    const PixelMap& m = mapOf(map);
    return clamp01(m.values[std::lround(clamp01(c) * float(m.size - 1))]);
}

// ---- Client pixel layout ------------------------------------------------------------

// Components per group of a format, 0 for one GL does not have here.
int components(GLenum format) {
    switch (format) {
    case GL_RED: case GL_GREEN: case GL_BLUE: case GL_ALPHA: case GL_LUMINANCE: case GL_COLOR_INDEX:
    case GL_STENCIL_INDEX: case GL_DEPTH_COMPONENT: return 1;
    case GL_LUMINANCE_ALPHA: return 2;
    case GL_RGB: case GL_BGR: return 3;
    case GL_RGBA: case GL_BGRA: return 4;
    default: return 0;
    }
}

int typeSize(GLenum type) {
    switch (type) {
    case GL_UNSIGNED_BYTE: case GL_BYTE: return 1;
    case GL_UNSIGNED_SHORT: case GL_SHORT: return 2;
    case GL_UNSIGNED_INT: case GL_INT: case GL_FLOAT: return 4;
    default: return 0;
    }
}

bool indices(GLenum format) { return format == GL_COLOR_INDEX || format == GL_STENCIL_INDEX; }

// Where a client image's rows start: GL's row length, alignment and skips.
struct Layout {
    size_t start, stride, group;  // bytes
    int size;                     // bytes per component
};

Layout layout(const PixelStore& st, int w, int n, int size) {
    const int rowLength = st.rowLength > 0 ? st.rowLength : w;
    const size_t a = size_t(st.alignment);
    const size_t rowBytes = size_t(n) * size_t(size) * size_t(rowLength);
    const size_t stride = size_t(size) >= a ? rowBytes : (rowBytes + a - 1) / a * a;
    Layout l;
    l.group = size_t(n) * size_t(size);
    l.stride = stride;
    l.start = size_t(st.skipRows) * stride + size_t(st.skipPixels) * l.group;
    l.size = size;
    return l;
}

// A component as its type stores it: integers as they are, floats.
double raw(const unsigned char* p, GLenum type, bool swap) {
    unsigned char b[4];
    const int n = typeSize(type);
    for (int i = 0; i < n; ++i) b[i] = p[swap ? n - 1 - i : i];
    switch (type) {
    case GL_UNSIGNED_BYTE: return b[0];
    case GL_BYTE: return GLbyte(b[0]);
    case GL_UNSIGNED_SHORT: { GLushort v; std::memcpy(&v, b, 2); return v; }
    case GL_SHORT: { GLshort v; std::memcpy(&v, b, 2); return v; }
    case GL_UNSIGNED_INT: { GLuint v; std::memcpy(&v, b, 4); return v; }
    case GL_INT: { GLint v; std::memcpy(&v, b, 4); return v; }
    default: { GLfloat v; std::memcpy(&v, b, 4); return v; }
    }
}

// An integer component in [0, 1] (unsigned) or [-1, 1] (signed), as GL converts them.
double normalized(double v, GLenum type) {
    switch (type) {
    case GL_UNSIGNED_BYTE: return v / 255.0;
    case GL_BYTE: return (2 * v + 1) / 255.0;
    case GL_UNSIGNED_SHORT: return v / 65535.0;
    case GL_SHORT: return (2 * v + 1) / 65535.0;
    case GL_UNSIGNED_INT: return v / 4294967295.0;
    case GL_INT: return (2 * v + 1) / 4294967295.0;
    default: return v;
    }
}

void putBytes(unsigned char* p, const unsigned char* b, int n, bool swap) {
    for (int i = 0; i < n; ++i) p[i] = b[swap ? n - 1 - i : i];
}

void putComponent(unsigned char* p, GLenum type, bool swap, double c) {
    unsigned char b[4];
    auto clamp = [](double v, double lo) { return v < lo ? lo : v > 1 ? 1 : v; };
    switch (type) {
    case GL_UNSIGNED_BYTE: b[0] = GLubyte(std::lround(clamp(c, 0) * 255)); break;
    case GL_BYTE: b[0] = GLubyte(GLbyte(std::lround((clamp(c, -1) * 255 - 1) / 2))); break;
    case GL_UNSIGNED_SHORT: { GLushort v = GLushort(std::lround(clamp(c, 0) * 65535)); std::memcpy(b, &v, 2); break; }
    case GL_SHORT: { GLshort v = GLshort(std::lround((clamp(c, -1) * 65535 - 1) / 2)); std::memcpy(b, &v, 2); break; }
    case GL_UNSIGNED_INT: { GLuint v = GLuint(std::llround(clamp(c, 0) * 4294967295.0)); std::memcpy(b, &v, 4); break; }
    case GL_INT: { GLint v = GLint(std::llround((clamp(c, -1) * 4294967295.0 - 1) / 2)); std::memcpy(b, &v, 4); break; }
    default: { GLfloat v = GLfloat(c); std::memcpy(b, &v, 4); break; }
    }
    putBytes(p, b, typeSize(type), swap);
}

// An index as an integer type keeps it: its low bits (the type's bits, less
// the sign for signed types).
void putIndex(unsigned char* p, GLenum type, bool swap, double v) {
    if (type == GL_FLOAT) return putComponent(p, type, swap, v);
    const long long i = std::llround(v < -1e15 ? -1e15 : v > 1e15 ? 1e15 : v);
    unsigned char b[4];
    switch (type) {
    case GL_UNSIGNED_BYTE: b[0] = GLubyte(i & 0xff); break;
    case GL_BYTE: b[0] = GLubyte(i & 0x7f); break;
    case GL_UNSIGNED_SHORT: { GLushort s = GLushort(i & 0xffff); std::memcpy(b, &s, 2); break; }
    case GL_SHORT: { GLshort s = GLshort(i & 0x7fff); std::memcpy(b, &s, 2); break; }
    case GL_UNSIGNED_INT: { GLuint s = GLuint(i & 0xffffffffll); std::memcpy(b, &s, 4); break; }
    default: { GLint s = GLint(i & 0x7fffffffll); std::memcpy(b, &s, 4); break; }
    }
    putBytes(p, b, typeSize(type), swap);
}

// ---- The pixel transfer ------------------------------------------------------------

bool colorIdentity() {
    const State& s = state();
    for (int k = 0; k < 4; ++k)
        if (s.pixelScale[k] != 1 || s.pixelBias[k] != 0) return false;
    return !s.mapColor;
}

// An index shifted (left for a positive shift, right for a negative one, the
// fraction kept) and offset.
double shiftIndex(double i) {
    const State& s = state();
    const int shift = s.indexShift < -60 ? -60 : s.indexShift > 60 ? 60 : s.indexShift;
    return std::ldexp(i, shift) + s.indexOffset;
}

// A colour index to RGBA through the I_TO_R .. I_TO_A maps.
void indexToColor(double index, float* o) {
    const double i = shiftIndex(index);
    for (int k = 0; k < 4; ++k) o[k] = clamp01(lookupIndex(GLenum(GL_PIXEL_MAP_I_TO_R + k), i));
}

}  // namespace

void transferColor(float* rgba) {
    const State& s = state();
    for (int k = 0; k < 4; ++k) {
        float v = rgba[k];
        if (s.pixelScale[k] != 1 || s.pixelBias[k] != 0) v = clamp01(v * s.pixelScale[k] + s.pixelBias[k]);
        if (s.mapColor) v = lookupColor(GLenum(GL_PIXEL_MAP_R_TO_R + k), v);
        rgba[k] = v;
    }
}

float transferDepth(float z) { return clamp01(double(z) * state().pixelScale[4] + state().pixelBias[4]); }

float transferStencil(double v) {
    const double i = shiftIndex(v);
    return float(state().mapStencil ? lookupIndex(GL_PIXEL_MAP_S_TO_S, i) : i);
}

GLenum pixelArgs(GLenum format, GLenum type) {
    if (components(format) == 0 || (typeSize(type) == 0 && type != GL_BITMAP)) return GL_INVALID_ENUM;
    // Bitmaps are colour indices or stencil values only.
    if (type == GL_BITMAP && !indices(format)) return GL_INVALID_ENUM;
    return GL_NO_ERROR;
}

bool unpackImage(const PixelStore& st, int w, int h, GLenum format, GLenum type, const void* pixels,
                 std::vector<float>& out) {
    const GLenum e = pixelArgs(format, type);
    if (e != GL_NO_ERROR) {
        setError(e);
        return false;
    }
    const int n = components(format), size = typeSize(type);
    const bool one = format == GL_DEPTH_COMPONENT || format == GL_STENCIL_INDEX;
    out.assign(size_t(w) * size_t(h) * (one ? 1 : 4), 0.0f);
    if (!pixels) return true;  // an image whose texels GL leaves undefined
    const bool identity = colorIdentity();
    const Layout l = layout(st, w, n, size);
    const unsigned char* bytes = static_cast<const unsigned char*>(pixels);
    const bool swap = st.swapBytes && size > 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t at = size_t(y) * size_t(w) + size_t(x);
            double c[4];
            if (type == GL_BITMAP) {
                int bit;
                c[0] = (bytes[bitAt(st, w, x, y, &bit)] >> bit) & 1;
            } else {
                const unsigned char* p = bytes + l.start + size_t(y) * l.stride + size_t(x) * l.group;
                for (int k = 0; k < n; ++k) c[k] = raw(p + size_t(k * size), type, swap);
                if (!indices(format))
                    for (int k = 0; k < n; ++k) c[k] = normalized(c[k], type);
            }
            if (format == GL_DEPTH_COMPONENT) {
                out[at] = transferDepth(float(c[0]));
                continue;
            }
            if (format == GL_STENCIL_INDEX) {
                out[at] = transferStencil(c[0]);
                continue;
            }
            float* o = &out[at * 4];
            switch (format) {
            case GL_RED: o[0] = float(c[0]), o[3] = 1; break;
            case GL_GREEN: o[1] = float(c[0]), o[3] = 1; break;
            case GL_BLUE: o[2] = float(c[0]), o[3] = 1; break;
            case GL_ALPHA: o[3] = float(c[0]); break;
            case GL_LUMINANCE: o[0] = o[1] = o[2] = float(c[0]), o[3] = 1; break;
            case GL_LUMINANCE_ALPHA: o[0] = o[1] = o[2] = float(c[0]), o[3] = float(c[1]); break;
            case GL_RGB: o[0] = float(c[0]), o[1] = float(c[1]), o[2] = float(c[2]), o[3] = 1; break;
            case GL_BGR: o[0] = float(c[2]), o[1] = float(c[1]), o[2] = float(c[0]), o[3] = 1; break;
            case GL_BGRA: o[0] = float(c[2]), o[1] = float(c[1]), o[2] = float(c[0]), o[3] = float(c[3]); break;
            case GL_RGBA: for (int k = 0; k < 4; ++k) o[k] = float(c[k]); break;
            default: indexToColor(c[0], o); continue;  // colour indices: the maps give the colour
            }
            if (!identity) transferColor(o);
            // Signed and float components may lie outside [0, 1]; fragments' colours do not.
            for (int k = 0; k < 4; ++k) o[k] = clamp01(o[k]);
        }
    return true;
}

bool packImage(const PixelStore& st, int w, int h, GLenum format, GLenum type, const float* values, void* pixels) {
    const GLenum e = pixelArgs(format, type);
    // The canvas holds colours, not indices.
    if (e != GL_NO_ERROR || format == GL_COLOR_INDEX) {
        setError(e != GL_NO_ERROR ? e : GL_INVALID_OPERATION);
        return false;
    }
    const int n = components(format), size = typeSize(type);
    const bool one = format == GL_DEPTH_COMPONENT || format == GL_STENCIL_INDEX;
    const Layout l = layout(st, w, n, size);
    unsigned char* bytes = static_cast<unsigned char*>(pixels);
    const bool swap = st.swapBytes && size > 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t at = size_t(y) * size_t(w) + size_t(x);
            if (type == GL_BITMAP) {
                int bit;
                unsigned char& b = bytes[bitAt(st, w, x, y, &bit)];
                b = (std::llround(values[at]) & 1) ? GLubyte(b | 1 << bit) : GLubyte(b & ~(1 << bit));
                continue;
            }
            unsigned char* p = bytes + l.start + size_t(y) * l.stride + size_t(x) * l.group;
            if (format == GL_STENCIL_INDEX) {
                putIndex(p, type, swap, values[at]);
                continue;
            }
            if (one) {
                putComponent(p, type, swap, values[at]);
                continue;
            }
            const float* c = &values[at * 4];
            double v[4];
            switch (format) {
            case GL_RED: v[0] = c[0]; break;
            case GL_GREEN: v[0] = c[1]; break;
            case GL_BLUE: v[0] = c[2]; break;
            case GL_ALPHA: v[0] = c[3]; break;
            // GL's luminance of a colour: the sum of its components, clamped.
            case GL_LUMINANCE: v[0] = std::fmin(1.0, double(c[0]) + c[1] + c[2]); break;
            case GL_LUMINANCE_ALPHA: v[0] = std::fmin(1.0, double(c[0]) + c[1] + c[2]), v[1] = c[3]; break;
            case GL_RGB: v[0] = c[0], v[1] = c[1], v[2] = c[2]; break;
            case GL_BGR: v[0] = c[2], v[1] = c[1], v[2] = c[0]; break;
            case GL_BGRA: v[0] = c[2], v[1] = c[1], v[2] = c[0], v[3] = c[3]; break;
            default: v[0] = c[0], v[1] = c[1], v[2] = c[2], v[3] = c[3]; break;
            }
            for (int k = 0; k < n; ++k) putComponent(p + size_t(k * size), type, swap, v[k]);
        }
    return true;
}

std::vector<float> framebuffer(int x, int y, int w, int h) {
    flushBatch();
    std::vector<unsigned char> bytes(size_t(w) * size_t(h) * 4);
    if (w > 0 && h > 0) readPixels(x, y, w, h, bytes.data());
    std::vector<float> rgba(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) rgba[i] = bytes[i] / 255.0f;
    return rgba;
}

size_t bitAt(const PixelStore& st, int w, int x, int y, int* bit) {
    const size_t rowLength = size_t(st.rowLength > 0 ? st.rowLength : w), a = size_t(st.alignment);
    const size_t stride = (rowLength + 8 * a - 1) / (8 * a) * a;
    const size_t p = size_t(st.skipPixels) + size_t(x);
    *bit = st.lsbFirst ? int(p % 8) : 7 - int(p % 8);
    return (size_t(st.skipRows) + size_t(y)) * stride + p / 8;
}

int pixelMapSize(GLenum map) { return isMap(map) ? mapOf(map).size : 0; }

namespace {

// ---- Drawing and reading rectangles ------------------------------------------------------

// What a rectangle's values are: GL_COLOR (RGBA), GL_DEPTH or GL_STENCIL (one a pixel).
GLenum kindOf(GLenum format) {
    return format == GL_DEPTH_COMPONENT ? GL_DEPTH : format == GL_STENCIL_INDEX ? GL_STENCIL : GL_COLOR;
}

// A rectangle's fragments at the raster position, zoomed, its first pixel
// (dx, dy) pixels of the rectangle on from there; nothing when the position is
// invalid. The raster position stays.
void drawRectangle(GLenum kind, int w, int h, const std::vector<float>& values, int dx = 0, int dy = 0) {
    const State& s = state();
    if (!s.rasterValid || w <= 0 || h <= 0 || s.zoom[0] == 0 || s.zoom[1] == 0) return;
    const float x = s.rasterPos[0] + float(dx) * s.zoom[0], y = s.rasterPos[1] + float(dy) * s.zoom[1];
    float color[4];
    std::memcpy(color, s.rasterColor, sizeof color);
    if (kind == GL_DEPTH) rasterFog(color);
    // Fog is the same over the whole rectangle: the raster position's distance.
    std::vector<float> fogged;
    if (kind == GL_COLOR && s.fog) {
        fogged = values;
        for (size_t i = 0; i < fogged.size(); i += 4) rasterFog(&fogged[i]);
    }
    drawPixels(kind, x, y, s.zoom[0], s.zoom[1], w, h, fogged.empty() ? values.data() : fogged.data(), color,
               s.rasterPos[2]);
}

// The part of the rectangle (x, y, w, h) inside the window, (dx, dy) pixels
// into it: false when none.
bool inside(int& x, int& y, int& w, int& h, int& dx, int& dy) {
    int ww = 0, wh = 0;
    windowSize(ww, wh);
    const long long x0 = x < 0 ? 0 : x, y0 = y < 0 ? 0 : y;
    const long long x1 = std::min<long long>(ww, (long long)x + w), y1 = std::min<long long>(wh, (long long)y + h);
    if (x1 <= x0 || y1 <= y0) return false;
    dx = int(x0 - x), dy = int(y0 - y);
    x = int(x0), y = int(y0), w = int(x1 - x0), h = int(y1 - y0);
    return true;
}

// The framebuffer's values of a rectangle inside the window, after the pixel transfer.
std::vector<float> readRectangle(GLenum kind, int x, int y, int w, int h) {
    if (kind == GL_COLOR) {
        std::vector<float> rgba = framebuffer(x, y, w, h);
        if (!colorIdentity())
            for (size_t i = 0; i < rgba.size(); i += 4) transferColor(&rgba[i]);
        return rgba;
    }
    std::vector<float> v(size_t(w) * size_t(h));
    readDepthStencil(kind, x, y, w, h, v.data());
    for (float& f : v) f = kind == GL_DEPTH ? transferDepth(f) : transferStencil(f);
    return v;
}

// glCopyPixels once its arguments are checked: what lies outside the window
// is not copied (GL leaves it undefined); the rest is read before any is drawn.
void copyPixels(int x, int y, int w, int h, GLenum kind) {
    int dx = 0, dy = 0;
    if (!state().rasterValid || !inside(x, y, w, h, dx, dy)) return;
    drawRectangle(kind, w, h, readRectangle(kind, x, y, w, h), dx, dy);
}

// Images larger than this are not drawn: more than any window shows, and more
// memory (16 bytes a pixel) than a page has to spare.
const long long largest = 1ll << 24;

// GL's checks of a pixel map, GL_NO_ERROR when the map may be set.
GLenum mapArgs(GLenum map, GLsizei size) {
    if (!isMap(map)) return GL_INVALID_ENUM;
    if (size < 1 || size > maxMap) return GL_INVALID_VALUE;
    if (fromIndex(map) && (size & (size - 1)) != 0) return GL_INVALID_VALUE;
    return state().inBlock ? GLenum(GL_INVALID_OPERATION) : GLenum(GL_NO_ERROR);
}

// glPixelMap with its values as floats, recorded into an open list.
void pixelMap(GLenum map, GLsizei size, std::vector<float> values) {
    auto run = [=] {
        const GLenum e = mapArgs(map, size);
        if (e != GL_NO_ERROR) return setError(e);
        PixelMap& m = mapOf(map);
        m.size = size;
        std::memcpy(m.values, values.data(), sizeof(float) * size_t(size));
    };
    if (record(run)) run();
}

// Integer map values: indices as they are, colours over the type's range.
template <typename T>
void pixelMapInt(GLenum map, GLsizei size, const T* values, double top) {
    std::vector<float> v;
    if (isMap(map) && size >= 1 && size <= maxMap)
        for (GLsizei i = 0; i < size; ++i) v.push_back(float(toIndex(map) ? double(values[i]) : values[i] / top));
    pixelMap(map, size, std::move(v));
}

// A map's values as integers: indices as they are, colours over the type's range.
template <typename T>
void getPixelMapInt(GLenum map, T* out, double top) {
    if (!isMap(map)) return setError(GL_INVALID_ENUM);
    if (!outsideBlock()) return;
    const PixelMap& m = mapOf(map);
    for (int i = 0; i < m.size; ++i) {
        const double v = toIndex(map) ? std::fmin(std::fmax(double(m.values[i]), 0.0), top) : clamp01(m.values[i]) * top;
        out[i] = T(std::llround(v));
    }
}

}  // namespace
}  // namespace zw

using zw::state;

extern "C" {

void glDrawPixels(GLsizei w, GLsizei h, GLenum format, GLenum type, const GLvoid* pixels) {
    GLenum e = w < 0 || h < 0 ? GLenum(GL_INVALID_VALUE) : zw::pixelArgs(format, type);
    // The client's pixels are read at the call, also into a list.
    std::vector<float> values;
    const bool large = (long long)w * h > zw::largest;
    if (e == GL_NO_ERROR && !large) zw::unpackImage(state().unpack, w, h, format, type, pixels, values);
    const GLenum kind = zw::kindOf(format);
    auto run = [=] {
        if (e != GL_NO_ERROR) return zw::setError(e);
        if (!zw::outsideBlock()) return;
        if (zw::renderMode() != GL_RENDER) return zw::feedbackRaster(GL_DRAW_PIXEL_TOKEN);
        if (large) return zw::notDrawn("glDrawPixels (larger than a page can hold)");
        if (pixels) zw::drawRectangle(kind, w, h, values);
    };
    if (zw::record(run)) run();
}

void glCopyPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum type) {
    auto run = [=] {
        if (w < 0 || h < 0) return zw::setError(GL_INVALID_VALUE);
        if (type != GL_COLOR && type != GL_DEPTH && type != GL_STENCIL) return zw::setError(GL_INVALID_ENUM);
        if (!zw::outsideBlock()) return;
        if (zw::renderMode() != GL_RENDER) return zw::feedbackRaster(GL_COPY_PIXEL_TOKEN);
        zw::copyPixels(x, y, w, h, type);
    };
    if (zw::record(run)) run();
}

void glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, GLvoid* pixels) {
    if (w < 0 || h < 0) return zw::setError(GL_INVALID_VALUE);
    const GLenum e = zw::pixelArgs(format, type);
    if (e != GL_NO_ERROR) return zw::setError(e);
    if (!zw::outsideBlock()) return;
    if (format == GL_COLOR_INDEX) return zw::setError(GL_INVALID_OPERATION);  // the canvas holds colours
    const int fullWidth = w, fullHeight = h;
    int dx = 0, dy = 0;
    if (!pixels || !zw::inside(x, y, w, h, dx, dy)) return;
    // Only the part inside the window is written: the store skips to it.
    zw::PixelStore st = state().pack;
    const bool clipped = w != fullWidth || h != fullHeight;
    if (clipped) {
        if (st.rowLength == 0) st.rowLength = fullWidth;
        st.skipPixels += dx, st.skipRows += dy;
    }
    if (format == GL_RGBA && type == GL_UNSIGNED_BYTE && !clipped && st.rowLength == 0 && st.skipRows == 0 &&
        st.skipPixels == 0 && st.alignment <= 4 && zw::colorIdentity()) {
        // The common case: WebGL's own layout (rows of 4-byte pixels, always aligned).
        zw::flushBatch();
        zw::readPixels(x, y, w, h, static_cast<unsigned char*>(pixels));
        return;
    }
    const std::vector<float> values = zw::readRectangle(zw::kindOf(format), x, y, w, h);
    zw::packImage(st, w, h, format, type, values.data(), pixels);
}

void glPixelMapfv(GLenum map, GLsizei size, const GLfloat* values) {
    std::vector<float> v;
    if (zw::isMap(map) && size >= 1 && size <= zw::maxMap) v.assign(values, values + size);
    zw::pixelMap(map, size, std::move(v));
}
void glPixelMapuiv(GLenum map, GLsizei size, const GLuint* values) { zw::pixelMapInt(map, size, values, 4294967295.0); }
void glPixelMapusv(GLenum map, GLsizei size, const GLushort* values) { zw::pixelMapInt(map, size, values, 65535.0); }

void glGetPixelMapfv(GLenum map, GLfloat* values) {
    if (!zw::isMap(map)) return zw::setError(GL_INVALID_ENUM);
    if (!zw::outsideBlock()) return;
    const zw::PixelMap& m = zw::mapOf(map);
    std::memcpy(values, m.values, sizeof(float) * size_t(m.size));
}
void glGetPixelMapuiv(GLenum map, GLuint* values) { zw::getPixelMapInt(map, values, 4294967295.0); }
void glGetPixelMapusv(GLenum map, GLushort* values) { zw::getPixelMapInt(map, values, 65535.0); }

}  // extern "C"
