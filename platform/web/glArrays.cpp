// OpenGL 1.1's client vertex arrays: the pointer calls, glInterleavedArrays,
// glArrayElement and glDrawArrays/glDrawElements. glArrayElement goes
// through the attribute calls and glVertex as a program's own calls would;
// glDrawArrays and glDrawElements make the block's vertices straight from the
// arrays and hand them to the WebGL side at once. Their enables, sizes,
// types, strides and pointers are rows of the state table (glGet, the client
// attribute stack).
#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/web/glState.h"

namespace zw {
namespace {

// Reads n components of one array element as floats.
typedef void (*Read)(const unsigned char* p, int n, float* out);

// Coordinates (vertices, texture coordinates, indices) convert as they are.
template <typename T>
void readAsIs(const unsigned char* p, int n, float* out) {
    for (int i = 0; i < n; ++i) {
        T v;
        std::memcpy(&v, p + i * sizeof(T), sizeof v);
        out[i] = float(v);
    }
}

// Colours and normals as GL maps integers.
template <typename T>
void readNormalised(const unsigned char* p, int n, float* out) {
    for (int i = 0; i < n; ++i) {
        T v;
        std::memcpy(&v, p + i * sizeof(T), sizeof v);
        out[i] = normalised(v);
    }
}

// The bytes of a component of `type`, 0 for a type arrays do not take.
int typeSize(GLenum type) {
    switch (type) {
    case GL_BYTE: case GL_UNSIGNED_BYTE: return 1;
    case GL_SHORT: case GL_UNSIGNED_SHORT: return 2;
    case GL_INT: case GL_UNSIGNED_INT: case GL_FLOAT: return 4;
    case GL_DOUBLE: return 8;
    default: return 0;
    }
}

Read reader(GLenum type, bool normalise) {
    switch (type) {
    case GL_BYTE: return normalise ? readNormalised<GLbyte> : readAsIs<GLbyte>;
    case GL_UNSIGNED_BYTE: return normalise ? readNormalised<GLubyte> : readAsIs<GLubyte>;
    case GL_SHORT: return normalise ? readNormalised<GLshort> : readAsIs<GLshort>;
    case GL_UNSIGNED_SHORT: return normalise ? readNormalised<GLushort> : readAsIs<GLushort>;
    case GL_INT: return normalise ? readNormalised<GLint> : readAsIs<GLint>;
    case GL_UNSIGNED_INT: return normalise ? readNormalised<GLuint> : readAsIs<GLuint>;
    case GL_DOUBLE: return readAsIs<GLdouble>;
    default: return readAsIs<GLfloat>;
    }
}

// The types each array takes, by ARRAY_*.
bool typeAllowed(int array, GLenum type) {
    const bool common = type == GL_SHORT || type == GL_INT || type == GL_FLOAT || type == GL_DOUBLE;
    switch (array) {
    case ARRAY_NORMAL: return common || type == GL_BYTE;
    case ARRAY_COLOR: return typeSize(type) != 0;
    case ARRAY_INDEX: return common || type == GL_UNSIGNED_BYTE;
    default: return common;  // vertices, texture coordinates
    }
}

void pointer(int array, GLint size, bool sizeOk, GLenum type, GLsizei stride, const GLvoid* p) {
    if (!sizeOk || stride < 0) return setError(GL_INVALID_VALUE);
    if (array != ARRAY_EDGE_FLAG && !typeAllowed(array, type)) return setError(GL_INVALID_ENUM);
    State& s = state();
    s.arraySize[array] = size;
    s.arrayType[array] = type;
    s.arrayStride[array] = stride;
    s.arrayPointer[array] = p;
}

// One enabled array as the calls that draw read it.
struct Source {
    const unsigned char* base = nullptr;  // null: the array is off
    size_t stride = 0;
    int size = 0;
    Read read = nullptr;
};

// The arrays as they are set now; an array enabled without a pointer is
// taken as off (it has nothing to read).
struct Sources {
    Source a[6];
    Sources() {
        const State& s = state();
        for (int i = 0; i < 6; ++i) {
            if (!s.clientArray[i] || s.arrayPointer[i] == nullptr) continue;
            const bool edge = i == ARRAY_EDGE_FLAG;
            const int bytes = edge ? int(sizeof(GLboolean)) : typeSize(s.arrayType[i]) * s.arraySize[i];
            a[i].base = static_cast<const unsigned char*>(s.arrayPointer[i]);
            a[i].stride = size_t(s.arrayStride[i] != 0 ? s.arrayStride[i] : bytes);
            a[i].size = s.arraySize[i];
            a[i].read = reader(s.arrayType[i], i == ARRAY_NORMAL || i == ARRAY_COLOR);
        }
    }
    const unsigned char* at(int array, GLuint i) const { return a[array].base + a[array].stride * i; }
};

// Element i: the values of the enabled arrays over the current ones in `v`
// (position with w in `pos`), and the colour index in `index`.
void element(const Sources& src, GLuint i, Vertex& v, float pos[4], float& index) {
    float t[4];
    if (src.a[ARRAY_TEXCOORD].base) {
        const Source& a = src.a[ARRAY_TEXCOORD];
        t[1] = t[2] = 0, t[3] = 1;
        a.read(src.at(ARRAY_TEXCOORD, i), a.size, t);
        std::memcpy(v.tex, t, sizeof v.tex);
    }
    if (src.a[ARRAY_COLOR].base) {
        const Source& a = src.a[ARRAY_COLOR];
        v.color[3] = 1;
        a.read(src.at(ARRAY_COLOR, i), a.size, v.color);
    }
    if (src.a[ARRAY_NORMAL].base) src.a[ARRAY_NORMAL].read(src.at(ARRAY_NORMAL, i), 3, v.normal);
    if (src.a[ARRAY_INDEX].base) src.a[ARRAY_INDEX].read(src.at(ARRAY_INDEX, i), 1, &index);
    if (src.a[ARRAY_EDGE_FLAG].base) v.edgeFlag = *src.at(ARRAY_EDGE_FLAG, i) != 0 ? 1.0f : 0.0f;
    if (src.a[ARRAY_VERTEX].base) {
        const Source& a = src.a[ARRAY_VERTEX];
        pos[2] = 0, pos[3] = 1;
        a.read(src.at(ARRAY_VERTEX, i), a.size, pos);
    }
}

// The current values an array draw leaves: its last element's, for the
// arrays that were on.
struct Last {
    bool on[6];
    Vertex v;
    float index;
};

void setCurrent(const Last& last, bool execute) {
    State& s = state();
    if (last.on[ARRAY_COLOR]) std::memcpy(s.color, last.v.color, sizeof s.color);
    if (last.on[ARRAY_NORMAL]) std::memcpy(s.normal, last.v.normal, sizeof s.normal);
    if (last.on[ARRAY_TEXCOORD]) std::memcpy(s.tex, last.v.tex, sizeof s.tex);
    if (last.on[ARRAY_EDGE_FLAG]) s.edgeFlag = last.v.edgeFlag != 0;
    if (last.on[ARRAY_INDEX]) s.index = last.index;
    if (execute) trackColorMaterial();
}

// The reusable space a draw builds its vertices in (and its distinct
// elements, when they repeat).
std::vector<Vertex> vertices, shared;

// glDrawArrays and glDrawElements: the block of `count` elements, element k
// being index(k), as glBegin(mode), glArrayElement of each, glEnd would draw
// it; kept as a block when a list is being compiled (the arrays are read now).
template <class Index>
void drawElements(GLenum mode, GLsizei count, Index index) {
    if (count == 0) return;
    const State& s = state();
    const Sources src;
    Last last;
    for (int i = 0; i < 6; ++i) last.on[i] = src.a[i].base != nullptr;
    Vertex base;
    std::memset(&base, 0, sizeof base);
    std::memcpy(base.color, s.color, sizeof base.color);
    std::memcpy(base.normal, s.normal, sizeof base.normal);
    std::memcpy(base.tex, s.tex, sizeof base.tex);
    base.edgeFlag = s.edgeFlag ? 1.0f : 0.0f;
    last.index = s.index;
    const bool vertexOn = last.on[ARRAY_VERTEX];
    vertices.resize(vertexOn ? size_t(count) : 0);
    float pos[4], index0;
    auto convert = [&](GLuint i, Vertex& v) {
        v = base;
        element(src, i, v, pos, index0);
        vertexPosition(pos[0], pos[1], pos[2], pos[3], v.pos);
    };
    if (vertexOn) {
        // Elements that glDrawElements repeats (shared vertices) are
        // converted once: those from the least index to the greatest, which
        // the arrays hold since they hold both ends.
        GLuint lo = ~0u, hi = 0;
        for (GLsizei k = 0; k < count; ++k) lo = std::min(lo, index(k)), hi = std::max(hi, index(k));
        if (hi - lo < GLuint(count - 1)) {
            shared.resize(hi - lo + 1);
            for (GLuint i = lo; i <= hi; ++i) convert(i, shared[i - lo]);
            for (GLsizei k = 0; k < count; ++k) vertices[size_t(k)] = shared[index(k) - lo];
        } else {
            for (GLsizei k = 0; k < count; ++k) convert(index(k), vertices[size_t(k)]);
        }
    }
    // The current values after: the last element's.
    last.v = base;
    element(src, index(count - 1), last.v, pos, last.index);
    const int n = int(vertices.size());
    if (!compilingList()) {
        setCurrent(last, true);
        if (n > 0) drawBlock(mode, vertices.data(), n);
        return;
    }
    // As a glBegin/glEnd block in a list: the vertices kept, then the current
    // values set at every call; while compiling they take effect as the
    // attribute calls' do (glImmediate.cpp).
    const unsigned buffer = n > 0 ? keepBlock(mode, vertices.data(), n) : 0;
    const bool execute = listMode() == GL_COMPILE_AND_EXECUTE;
    record([=] {
        if (n > 0) drawKept(buffer, mode, n);
        setCurrent(last, true);
    });
    setCurrent(last, execute);
    if (execute && n > 0) drawKept(buffer, mode, n);
}

// The checks of glDrawArrays and glDrawElements; in a list being compiled a
// failing call is kept as its error.
bool drawable(GLenum mode, bool typeOk, bool valuesOk) {
    GLenum e = GL_NO_ERROR;
    if (mode > GL_POLYGON || !typeOk) e = GL_INVALID_ENUM;
    else if (!valuesOk) e = GL_INVALID_VALUE;
    else if (state().inBlock) e = GL_INVALID_OPERATION;
    if (e == GL_NO_ERROR) return true;
    if (record([=] { setError(e); })) setError(e);
    return false;
}

// glInterleavedArrays' formats, GL_V2F onwards: which arrays each holds,
// their sizes, the colour's type and the offsets in the element (in floats,
// a colour of four unsigned bytes taking one), and the element's size.
struct Interleaved {
    int tex, color, normal, vertex;  // sizes, 0 for none
    GLenum colorType;
    int colorAt, normalAt, vertexAt, floats;
};
const Interleaved interleaved[] = {
    {0, 0, 0, 2, 0, 0, 0, 0, 2},                          // GL_V2F
    {0, 0, 0, 3, 0, 0, 0, 0, 3},                          // GL_V3F
    {0, 4, 0, 2, GL_UNSIGNED_BYTE, 0, 0, 1, 3},           // GL_C4UB_V2F
    {0, 4, 0, 3, GL_UNSIGNED_BYTE, 0, 0, 1, 4},           // GL_C4UB_V3F
    {0, 3, 0, 3, GL_FLOAT, 0, 0, 3, 6},                   // GL_C3F_V3F
    {0, 0, 3, 3, 0, 0, 0, 3, 6},                          // GL_N3F_V3F
    {0, 4, 3, 3, GL_FLOAT, 0, 4, 7, 10},                  // GL_C4F_N3F_V3F
    {2, 0, 0, 3, 0, 0, 0, 2, 5},                          // GL_T2F_V3F
    {4, 0, 0, 4, 0, 0, 0, 4, 8},                          // GL_T4F_V4F
    {2, 4, 0, 3, GL_UNSIGNED_BYTE, 2, 0, 3, 6},           // GL_T2F_C4UB_V3F
    {2, 3, 0, 3, GL_FLOAT, 2, 0, 5, 8},                   // GL_T2F_C3F_V3F
    {2, 0, 3, 3, 0, 0, 2, 5, 8},                          // GL_T2F_N3F_V3F
    {2, 4, 3, 3, GL_FLOAT, 2, 6, 9, 12},                  // GL_T2F_C4F_N3F_V3F
    {4, 4, 3, 4, GL_FLOAT, 4, 8, 11, 15},                 // GL_T4F_C4F_N3F_V4F
};

void enableArray(GLenum array, bool on) { (on ? glEnableClientState : glDisableClientState)(array); }

}  // namespace
}  // namespace zw

using zw::state;

extern "C" {

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    zw::pointer(zw::ARRAY_VERTEX, size, size >= 2 && size <= 4, type, stride, p);
}
void glNormalPointer(GLenum type, GLsizei stride, const GLvoid* p) {
    zw::pointer(zw::ARRAY_NORMAL, 3, true, type, stride, p);
}
void glColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    zw::pointer(zw::ARRAY_COLOR, size, size == 3 || size == 4, type, stride, p);
}
void glIndexPointer(GLenum type, GLsizei stride, const GLvoid* p) {
    zw::pointer(zw::ARRAY_INDEX, 1, true, type, stride, p);
}
void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    zw::pointer(zw::ARRAY_TEXCOORD, size, size >= 1 && size <= 4, type, stride, p);
}
void glEdgeFlagPointer(GLsizei stride, const GLvoid* p) {
    zw::pointer(zw::ARRAY_EDGE_FLAG, 1, true, GL_UNSIGNED_BYTE, stride, p);  // GLboolean
}

void glInterleavedArrays(GLenum format, GLsizei stride, const GLvoid* p) {
    if (format < GL_V2F || format > GL_T4F_C4F_N3F_V4F) return zw::setError(GL_INVALID_ENUM);
    if (stride < 0) return zw::setError(GL_INVALID_VALUE);
    const zw::Interleaved& f = zw::interleaved[format - GL_V2F];
    const GLsizei step = stride != 0 ? stride : GLsizei(f.floats * sizeof(GLfloat));
    const unsigned char* b = static_cast<const unsigned char*>(p);
    glDisableClientState(GL_EDGE_FLAG_ARRAY);
    glDisableClientState(GL_INDEX_ARRAY);
    zw::enableArray(GL_TEXTURE_COORD_ARRAY, f.tex != 0);
    if (f.tex) glTexCoordPointer(f.tex, GL_FLOAT, step, b);
    zw::enableArray(GL_COLOR_ARRAY, f.color != 0);
    if (f.color) glColorPointer(f.color, f.colorType, step, b + f.colorAt * sizeof(GLfloat));
    zw::enableArray(GL_NORMAL_ARRAY, f.normal != 0);
    if (f.normal) glNormalPointer(GL_FLOAT, step, b + f.normalAt * sizeof(GLfloat));
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(f.vertex, GL_FLOAT, step, b + f.vertexAt * sizeof(GLfloat));
}

// The element's values through the calls a program would make: inside a
// block they join its next vertex, outside it they are the current ones (and
// a list being compiled keeps them as those calls).
void glArrayElement(GLint i) {
    if (i < 0) return;
    const zw::Sources src;
    const zw::State& s = state();
    zw::Vertex v;
    std::memcpy(v.color, s.color, sizeof v.color);
    std::memcpy(v.normal, s.normal, sizeof v.normal);
    std::memcpy(v.tex, s.tex, sizeof v.tex);
    v.edgeFlag = s.edgeFlag ? 1.0f : 0.0f;
    float pos[4], index = s.index;
    zw::element(src, GLuint(i), v, pos, index);
    if (src.a[zw::ARRAY_EDGE_FLAG].base) glEdgeFlag(v.edgeFlag != 0 ? GL_TRUE : GL_FALSE);
    if (src.a[zw::ARRAY_TEXCOORD].base) glTexCoord4fv(v.tex);
    if (src.a[zw::ARRAY_COLOR].base) glColor4fv(v.color);
    if (src.a[zw::ARRAY_INDEX].base) glIndexf(index);
    if (src.a[zw::ARRAY_NORMAL].base) glNormal3fv(v.normal);
    if (src.a[zw::ARRAY_VERTEX].base) glVertex4fv(pos);
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    // A negative first would read before the array.
    if (!zw::drawable(mode, true, count >= 0 && first >= 0)) return;
    zw::drawElements(mode, count, [first](GLsizei k) { return GLuint(first) + GLuint(k); });
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
    const bool typeOk = type == GL_UNSIGNED_BYTE || type == GL_UNSIGNED_SHORT || type == GL_UNSIGNED_INT;
    if (!zw::drawable(mode, typeOk, count >= 0) || indices == nullptr) return;
    switch (type) {
    case GL_UNSIGNED_BYTE: {
        const GLubyte* at = static_cast<const GLubyte*>(indices);
        return zw::drawElements(mode, count, [at](GLsizei k) { return GLuint(at[k]); });
    }
    case GL_UNSIGNED_SHORT: {
        const GLushort* at = static_cast<const GLushort*>(indices);
        return zw::drawElements(mode, count, [at](GLsizei k) { return GLuint(at[k]); });
    }
    default: {
        const GLuint* at = static_cast<const GLuint*>(indices);
        return zw::drawElements(mode, count, [at](GLsizei k) { return at[k]; });
    }
    }
}

}  // extern "C"
