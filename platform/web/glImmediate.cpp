// OpenGL 1.1 immediate mode and display lists. A glBegin/glEnd block collects
// its vertices with the current colour, normal, texture coordinates and edge
// flag and goes to the WebGL side at glEnd (which batches blocks drawn under
// the same state); a block compiled into a display list is handed over once
// and drawn from what the WebGL side kept at every glCallList. Every argument
// variant of the vertex attribute calls, glRect, glCallLists.
#include <GL/gl.h>

#include <cstring>
#include <map>

#include "platform/web/glState.h"

namespace zw {

// ---- Display lists -----------------------------------------------------------------

namespace {

struct List {
    std::vector<std::function<void()>> calls;
};

std::map<GLuint, List> lists;
GLuint nextName = 1;
GLuint compiling = 0;  // the list being compiled, 0 for none
GLenum compileMode = GL_COMPILE;
List pending;          // what the open glNewList has collected
int replaying = 0;     // glCallList depth: calls made by a list are not recorded again

// A block opened while compiling: its vertices are collected as usual and
// kept with the colours, normals and texture coordinates current then. So that
// these are the ones the list itself sets, the attribute calls of a list
// compiled with GL_COMPILE take effect while it is compiled too; glEndList puts
// back the attributes of before glNewList. (A block that relies on the colour
// current at glCallList instead gets the one current at glNewList.)
bool blockForList = false;
float savedColor[4], savedNormal[3], savedTex[4];

}  // namespace

bool record(std::function<void()> call) {
    if (compiling == 0 || replaying > 0) return true;
    pending.calls.push_back(std::move(call));
    return compileMode == GL_COMPILE_AND_EXECUTE;
}

bool recordingBlock() { return blockForList; }

bool compilingList() { return compiling != 0 && replaying == 0; }

GLuint listIndex() { return compiling; }

void recordWhole(std::function<void()> call) {
    if (!record(call)) return;
    if (!compilingList()) return call();
    ++replaying;
    call();
    --replaying;
}

GLenum listMode() { return compiling ? compileMode : 0; }

// Whether calls take effect on the GL state now rather than only in a list.
static bool executing() { return compiling == 0 || replaying > 0 || compileMode == GL_COMPILE_AND_EXECUTE; }

}  // namespace zw

using zw::state;

extern "C" {

// ---- Current attributes -------------------------------------------------------------

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    zw::State& s = state();
    // Inside a block the colour becomes part of the block's vertices; a list
    // being compiled follows it (see blockForList).
    if (!s.inBlock) zw::record([=] { glColor4f(r, g, b, a); });
    s.color[0] = r, s.color[1] = g, s.color[2] = b, s.color[3] = a;
    if (!s.inBlock && zw::executing()) zw::trackColorMaterial();
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    zw::State& s = state();
    if (!s.inBlock) zw::record([=] { glNormal3f(x, y, z); });
    s.normal[0] = x, s.normal[1] = y, s.normal[2] = z;
}

void glTexCoord4f(GLfloat s_, GLfloat t, GLfloat r, GLfloat q) {
    zw::State& s = state();
    if (!s.inBlock) zw::record([=] { glTexCoord4f(s_, t, r, q); });
    s.tex[0] = s_, s.tex[1] = t, s.tex[2] = r, s.tex[3] = q;
}

void glEdgeFlag(GLboolean flag) {
    zw::State& s = state();
    if (!s.inBlock) zw::record([=] { glEdgeFlag(flag); });
    s.edgeFlag = flag != 0;
}
void glEdgeFlagv(const GLboolean* flag) { glEdgeFlag(*flag); }

// Colour index mode has no canvas: the index is kept for glGet.
void glIndexf(GLfloat c) {
    zw::State& s = state();
    if (!s.inBlock) zw::record([=] { glIndexf(c); });
    s.index = c;
}

// ---- Every argument variant ----------------------------------------------------------
// Colours and normals convert as zw::normalised says; coordinates convert as
// they are.

using zw::normalised;
static inline float asIs(double c) { return float(c); }

#define ZW_COLOR3(sfx, T, cv)                                                                        \
    void glColor3##sfx(T r, T g, T b) { glColor4f(cv(r), cv(g), cv(b), 1); }                         \
    void glColor3##sfx##v(const T* v) { glColor4f(cv(v[0]), cv(v[1]), cv(v[2]), 1); }                \
    void glColor4##sfx##v(const T* v) { glColor4f(cv(v[0]), cv(v[1]), cv(v[2]), cv(v[3])); }
#define ZW_COLOR(sfx, T, cv) \
    ZW_COLOR3(sfx, T, cv)    \
    void glColor4##sfx(T r, T g, T b, T a) { glColor4f(cv(r), cv(g), cv(b), cv(a)); }
ZW_COLOR(b, GLbyte, normalised)
ZW_COLOR(ub, GLubyte, normalised)
ZW_COLOR(s, GLshort, normalised)
ZW_COLOR(us, GLushort, normalised)
ZW_COLOR(i, GLint, normalised)
ZW_COLOR(ui, GLuint, normalised)
ZW_COLOR(d, GLdouble, asIs)
ZW_COLOR3(f, GLfloat, asIs)

#define ZW_NORMAL(sfx, T, cv)                                                    \
    void glNormal3##sfx##v(const T* v) { glNormal3f(cv(v[0]), cv(v[1]), cv(v[2])); }
#define ZW_NORMAL_ALL(sfx, T, cv) \
    ZW_NORMAL(sfx, T, cv)         \
    void glNormal3##sfx(T x, T y, T z) { glNormal3f(cv(x), cv(y), cv(z)); }
ZW_NORMAL_ALL(b, GLbyte, normalised)
ZW_NORMAL_ALL(s, GLshort, normalised)
ZW_NORMAL_ALL(i, GLint, normalised)
ZW_NORMAL_ALL(d, GLdouble, asIs)
ZW_NORMAL(f, GLfloat, asIs)

// Vertices, texture coordinates and raster positions: 2, 3 and 4 values (and
// 1 for texture coordinates) of every type, filled up as GL does (z = 0, w = 1).
#define ZW_COORDS(name, base, sfx, T)                                                                \
    void name##2##sfx(T x, T y) { base(GLfloat(x), GLfloat(y), 0, 1); }                             \
    void name##3##sfx(T x, T y, T z) { base(GLfloat(x), GLfloat(y), GLfloat(z), 1); }               \
    void name##2##sfx##v(const T* v) { base(GLfloat(v[0]), GLfloat(v[1]), 0, 1); }                  \
    void name##3##sfx##v(const T* v) { base(GLfloat(v[0]), GLfloat(v[1]), GLfloat(v[2]), 1); }      \
    void name##4##sfx##v(const T* v) { base(GLfloat(v[0]), GLfloat(v[1]), GLfloat(v[2]), GLfloat(v[3])); }
#define ZW_COORDS4(name, base, sfx, T) \
    ZW_COORDS(name, base, sfx, T)      \
    void name##4##sfx(T x, T y, T z, T w) { base(GLfloat(x), GLfloat(y), GLfloat(z), GLfloat(w)); }

ZW_COORDS4(glTexCoord, glTexCoord4f, s, GLshort)
ZW_COORDS4(glTexCoord, glTexCoord4f, i, GLint)
ZW_COORDS4(glTexCoord, glTexCoord4f, d, GLdouble)
ZW_COORDS(glTexCoord, glTexCoord4f, f, GLfloat)
#define ZW_TEX1(sfx, T)                                                   \
    void glTexCoord1##sfx(T s) { glTexCoord4f(GLfloat(s), 0, 0, 1); }    \
    void glTexCoord1##sfx##v(const T* v) { glTexCoord4f(GLfloat(v[0]), 0, 0, 1); }
ZW_TEX1(s, GLshort)
ZW_TEX1(i, GLint)
ZW_TEX1(f, GLfloat)
ZW_TEX1(d, GLdouble)

#define ZW_INDEX(sfx, T)                            \
    void glIndex##sfx(T c) { glIndexf(GLfloat(c)); } \
    void glIndex##sfx##v(const T* c) { glIndexf(GLfloat(*c)); }
ZW_INDEX(d, GLdouble)
ZW_INDEX(i, GLint)
ZW_INDEX(s, GLshort)
ZW_INDEX(ub, GLubyte)
void glIndexfv(const GLfloat* c) { glIndexf(*c); }

// ---- Blocks ---------------------------------------------------------------------------

void glBegin(GLenum mode) {
    zw::State& s = state();
    if (s.inBlock) {
        zw::setError(GL_INVALID_OPERATION);
        return;
    }
    if (mode > GL_POLYGON) {
        zw::setError(GL_INVALID_ENUM);
        return;
    }
    if (zw::compiling != 0 && zw::replaying == 0) zw::blockForList = true;
    s.inBlock = true;
    s.blockMode = mode;
    s.block.clear();
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    zw::State& s = state();
    // Outside a block a vertex has no effect.
    if (!s.inBlock) return;
    zw::Vertex v;
    v.pos[0] = x, v.pos[1] = y, v.pos[2] = z;
    std::memcpy(v.color, s.color, sizeof v.color);
    std::memcpy(v.normal, s.normal, sizeof v.normal);
    std::memcpy(v.tex, s.tex, sizeof v.tex);
    v.edgeFlag = s.edgeFlag ? 1.0f : 0.0f;
    s.block.push_back(v);
}

// A vertex with w, kept in three coordinates (zw::vertexPosition).
void glVertex4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
    float p[3];
    zw::vertexPosition(x, y, z, w, p);
    glVertex3f(p[0], p[1], p[2]);
}
static inline void vertex(GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
    if (w == 1)
        glVertex3f(x, y, z);
    else
        glVertex4f(x, y, z, w);
}
ZW_COORDS4(glVertex, vertex, s, GLshort)
ZW_COORDS4(glVertex, vertex, i, GLint)
ZW_COORDS4(glVertex, vertex, d, GLdouble)
void glVertex2f(GLfloat x, GLfloat y) { glVertex3f(x, y, 0); }
void glVertex2fv(const GLfloat* v) { glVertex3f(v[0], v[1], 0); }
void glVertex3fv(const GLfloat* v) { glVertex3f(v[0], v[1], v[2]); }
void glVertex4fv(const GLfloat* v) { glVertex4f(v[0], v[1], v[2], v[3]); }

// glRect: the polygon (x1, y1), (x2, y1), (x2, y2), (x1, y2) at z = 0.
void glRectf(GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2) {
    if (state().inBlock) {
        zw::setError(GL_INVALID_OPERATION);
        return;
    }
    glBegin(GL_POLYGON);
    glVertex2f(x1, y1);
    glVertex2f(x2, y1);
    glVertex2f(x2, y2);
    glVertex2f(x1, y2);
    glEnd();
}
#define ZW_RECT(sfx, T)                                                                                  \
    void glRect##sfx(T x1, T y1, T x2, T y2) { glRectf(GLfloat(x1), GLfloat(y1), GLfloat(x2), GLfloat(y2)); } \
    void glRect##sfx##v(const T* a, const T* b) { glRectf(GLfloat(a[0]), GLfloat(a[1]), GLfloat(b[0]), GLfloat(b[1])); }
ZW_RECT(d, GLdouble)
ZW_RECT(i, GLint)
ZW_RECT(s, GLshort)
void glRectfv(const GLfloat* a, const GLfloat* b) { glRectf(a[0], a[1], b[0], b[1]); }

void glEnd(void) {
    zw::State& s = state();
    if (!s.inBlock) {
        zw::setError(GL_INVALID_OPERATION);
        return;
    }
    s.inBlock = false;
    if (zw::executing()) zw::trackColorMaterial();
    // The WebGL side takes every mode as GL has it (polygon modes and edge
    // flags need the polygons whole).
    const GLenum mode = s.blockMode;
    const std::vector<zw::Vertex>& drawn = s.block;
    const int count = int(drawn.size());
    if (!zw::blockForList) {
        if (count > 0) zw::drawBlock(mode, drawn.data(), count);
        return;
    }
    zw::blockForList = false;
    const unsigned buffer = count > 0 ? zw::keepBlock(mode, drawn.data(), count) : 0;
    // After the list's block the current attributes are its last ones.
    float color[4], normal[3], tex[4];
    std::memcpy(color, s.color, sizeof color);
    std::memcpy(normal, s.normal, sizeof normal);
    std::memcpy(tex, s.tex, sizeof tex);
    zw::pending.calls.push_back([=] {
        if (count > 0) zw::drawKept(buffer, mode, count);
        glColor4fv(color);
        glNormal3fv(normal);
        glTexCoord4fv(tex);
    });
    if (zw::compileMode == GL_COMPILE_AND_EXECUTE && count > 0) zw::drawKept(buffer, mode, count);
}

// ---- Display lists ----------------------------------------------------------------------

GLuint glGenLists(GLsizei range) {
    if (!zw::outsideBlock()) return 0;
    if (range < 0) {
        zw::setError(GL_INVALID_VALUE);
        return 0;
    }
    if (range == 0) return 0;
    const GLuint first = zw::nextName;
    zw::nextName += GLuint(range);
    for (GLuint n = first; n < zw::nextName; ++n) zw::lists[n];
    return first;
}

GLboolean glIsList(GLuint list) {
    if (!zw::outsideBlock()) return GL_FALSE;
    return zw::lists.count(list) ? GL_TRUE : GL_FALSE;
}

void glNewList(GLuint list, GLenum mode) {
    if (list == 0 || (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE)) {
        zw::setError(list == 0 ? GL_INVALID_VALUE : GL_INVALID_ENUM);
        return;
    }
    if (zw::compiling != 0 || state().inBlock) {
        zw::setError(GL_INVALID_OPERATION);
        return;
    }
    zw::compiling = list;
    zw::compileMode = mode;
    zw::pending.calls.clear();
    const zw::State& s = state();
    std::memcpy(zw::savedColor, s.color, sizeof s.color);
    std::memcpy(zw::savedNormal, s.normal, sizeof s.normal);
    std::memcpy(zw::savedTex, s.tex, sizeof s.tex);
}

void glEndList(void) {
    if (zw::compiling == 0 || state().inBlock) {
        zw::setError(GL_INVALID_OPERATION);
        return;
    }
    // The buffers of a list compiled over an older one stay with the context.
    zw::lists[zw::compiling] = std::move(zw::pending);
    zw::pending = zw::List();
    if (zw::compiling >= zw::nextName) zw::nextName = zw::compiling + 1;
    if (zw::compileMode == GL_COMPILE) {
        zw::State& s = state();
        std::memcpy(s.color, zw::savedColor, sizeof s.color);
        std::memcpy(s.normal, zw::savedNormal, sizeof s.normal);
        std::memcpy(s.tex, zw::savedTex, sizeof s.tex);
    }
    zw::compiling = 0;
}

void glCallList(GLuint list) {
    if (!zw::record([=] { glCallList(list); })) return;
    auto it = zw::lists.find(list);
    // A list that was never compiled draws nothing; GL's nesting limit keeps
    // a list that calls itself from running away.
    if (it == zw::lists.end() || zw::replaying >= ZW_LIST_NESTING) return;
    ++zw::replaying;
    // A copy: a call in the list may compile over it.
    const std::vector<std::function<void()>> calls = it->second.calls;
    for (const auto& call : calls) call();
    --zw::replaying;
}

void glDeleteLists(GLuint list, GLsizei range) {
    if (!zw::outsideBlock()) return;
    if (range < 0) {
        zw::setError(GL_INVALID_VALUE);
        return;
    }
    for (GLsizei i = 0; i < range; ++i) zw::lists.erase(list + GLuint(i));
}

// The n names of glCallLists as the type gives them (before the list base),
// or false for a type GL does not have.
static bool listNames(GLsizei n, GLenum type, const GLvoid* lists, std::vector<GLuint>& out) {
    const unsigned char* b = static_cast<const unsigned char*>(lists);
    out.resize(size_t(n));
    for (GLsizei i = 0; i < n; ++i) {
        GLuint v;
        switch (type) {
        case GL_BYTE: v = GLuint(GLint(reinterpret_cast<const GLbyte*>(b)[i])); break;
        case GL_UNSIGNED_BYTE: v = b[i]; break;
        case GL_SHORT: v = GLuint(GLint(reinterpret_cast<const GLshort*>(b)[i])); break;
        case GL_UNSIGNED_SHORT: v = reinterpret_cast<const GLushort*>(b)[i]; break;
        case GL_INT: v = GLuint(reinterpret_cast<const GLint*>(b)[i]); break;
        case GL_UNSIGNED_INT: v = reinterpret_cast<const GLuint*>(b)[i]; break;
        case GL_FLOAT: v = GLuint(GLint(reinterpret_cast<const GLfloat*>(b)[i])); break;
        // Big-endian byte groups: the first byte is the most significant.
        case GL_2_BYTES: v = GLuint(b[2 * i]) << 8 | b[2 * i + 1]; break;
        case GL_3_BYTES: v = GLuint(b[3 * i]) << 16 | GLuint(b[3 * i + 1]) << 8 | b[3 * i + 2]; break;
        case GL_4_BYTES:
            v = GLuint(b[4 * i]) << 24 | GLuint(b[4 * i + 1]) << 16 | GLuint(b[4 * i + 2]) << 8 | b[4 * i + 3];
            break;
        default: return false;
        }
        out[size_t(i)] = v;
    }
    return true;
}

void glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    std::vector<GLuint> names;
    const bool typeOk = n < 0 || lists == nullptr || listNames(n, type, lists, names);
    // The names are taken now; the list base applies when the call runs.
    auto run = [=] {
        if (n < 0) return zw::setError(GL_INVALID_VALUE);
        if (!typeOk) return zw::setError(GL_INVALID_ENUM);
        const GLuint base = state().listBase;
        for (GLuint name : names) glCallList(base + name);
    };
    if (zw::record(run)) run();
}

}  // extern "C"
