// OpenGL 1.x immediate mode and display lists on WebGL. A glBegin/glEnd block
// collects its vertices with the current colour, normal and texture coordinate
// and becomes one buffer upload and one draw call at glEnd; a block compiled
// into a display list is uploaded once and drawn from its own buffer at every
// glCallList.
#include <GL/gl.h>

#include <cstring>
#include <map>

#include "platform/web/glState.h"

namespace zw {

const std::vector<Vertex>& triangulate(GLenum& mode, const std::vector<Vertex>& in, std::vector<Vertex>& out) {
    // GL takes a flat-shaded colour from a primitive's last vertex, except for
    // a polygon, which takes it from its first; WebGL from a triangle's last.
    // Each triangle below keeps the winding of its polygon and ends on the
    // vertex GL would take the colour from.
    const int n = int(in.size());
    out.clear();
    auto tri = [&](int a, int b, int c) {
        out.push_back(in[a]);
        out.push_back(in[b]);
        out.push_back(in[c]);
    };
    switch (mode) {
    case GL_QUADS:
        for (int q = 0; q + 3 < n; q += 4) {
            tri(q, q + 1, q + 3);
            tri(q + 1, q + 2, q + 3);
        }
        mode = GL_TRIANGLES;
        return out;
    case GL_QUAD_STRIP:
        // Quad j is the polygon 2j, 2j+1, 2j+3, 2j+2; its colour is 2j+3's.
        for (int j = 0; 2 * j + 3 < n; ++j) {
            tri(2 * j, 2 * j + 1, 2 * j + 3);
            tri(2 * j + 2, 2 * j, 2 * j + 3);
        }
        mode = GL_TRIANGLES;
        return out;
    case GL_POLYGON:
        for (int i = 1; i + 1 < n; ++i) tri(i, i + 1, 0);
        mode = GL_TRIANGLES;
        return out;
    default:
        // WebGL draws the other modes as they are: no copy.
        return in;
    }
}

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

void glColor3f(GLfloat r, GLfloat g, GLfloat b) { glColor4f(r, g, b, 1); }
void glColor3fv(const GLfloat* v) { glColor4f(v[0], v[1], v[2], 1); }
void glColor4fv(const GLfloat* v) { glColor4f(v[0], v[1], v[2], v[3]); }
void glColor3d(GLdouble r, GLdouble g, GLdouble b) { glColor4f(GLfloat(r), GLfloat(g), GLfloat(b), 1); }
void glColor3ub(GLubyte r, GLubyte g, GLubyte b) { glColor4f(r / 255.0f, g / 255.0f, b / 255.0f, 1); }
void glColor4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a) {
    glColor4f(r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f);
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    zw::State& s = state();
    if (!s.inBlock) zw::record([=] { glNormal3f(x, y, z); });
    s.normal[0] = x, s.normal[1] = y, s.normal[2] = z;
}

void glNormal3fv(const GLfloat* v) { glNormal3f(v[0], v[1], v[2]); }

void glTexCoord4f(GLfloat s_, GLfloat t, GLfloat r, GLfloat q) {
    zw::State& s = state();
    if (!s.inBlock) zw::record([=] { glTexCoord4f(s_, t, r, q); });
    s.tex[0] = s_, s.tex[1] = t, s.tex[2] = r, s.tex[3] = q;
}

void glTexCoord4fv(const GLfloat* v) { glTexCoord4f(v[0], v[1], v[2], v[3]); }
void glTexCoord2f(GLfloat u, GLfloat v) { glTexCoord4f(u, v, 0, 1); }

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

void glVertex2f(GLfloat x, GLfloat y) { glVertex3f(x, y, 0); }
void glVertex2i(GLint x, GLint y) { glVertex3f(GLfloat(x), GLfloat(y), 0); }
void glVertex3fv(const GLfloat* v) { glVertex3f(v[0], v[1], v[2]); }
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) { glVertex3f(GLfloat(x), GLfloat(y), GLfloat(z)); }

void glEnd(void) {
    zw::State& s = state();
    if (!s.inBlock) {
        zw::setError(GL_INVALID_OPERATION);
        return;
    }
    s.inBlock = false;
    if (zw::executing()) zw::trackColorMaterial();
    static std::vector<zw::Vertex> scratch;
    GLenum mode = s.blockMode;
    const std::vector<zw::Vertex>& drawn = zw::triangulate(mode, s.block, scratch);
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

GLboolean glIsList(GLuint list) { return zw::lists.count(list) ? GL_TRUE : GL_FALSE; }

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
    if (it == zw::lists.end() || zw::replaying >= 64) return;
    ++zw::replaying;
    // A copy: a call in the list may compile over it.
    const std::vector<std::function<void()>> calls = it->second.calls;
    for (const auto& call : calls) call();
    --zw::replaying;
}

void glDeleteLists(GLuint list, GLsizei range) {
    if (range < 0) {
        zw::setError(GL_INVALID_VALUE);
        return;
    }
    for (GLsizei i = 0; i < range; ++i) zw::lists.erase(list + GLuint(i));
}

}  // extern "C"
