// GLU's quadrics: spheres, cylinders, disks and partial disks drawn through the
// layer's glBegin/glNormal/glTexCoord/glVertex, so display lists, feedback and
// selection take them like any other drawing. Angles run clockwise from +y
// (x = sin, y = cos); on spheres and cylinders s falls from 1 to 0 around and
// t rises along z, on disks s and t follow x and y.
// The blocks, their order and where the normals fall follow the desktop's GLU,
// so flat shading picks the same normal; values are computed in single
// precision, as it does.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

struct GLUquadric {
    GLenum drawStyle = GLU_FILL, orientation = GLU_OUTSIDE, normals = GLU_SMOOTH;
    GLboolean texture = GL_FALSE;
    void (*error)(GLenum) = nullptr;
};

namespace {

constexpr float pi = 3.14159265358979323846f;

void quadricError(GLUquadric* q, GLenum e) {
    if (q->error) q->error(e);
}

// What a quadric emits per vertex: the normal unless GLU_NONE (turned
// inward for GLU_INSIDE), the texture coordinates when asked for.
struct Emit {
    const GLUquadric* q;
    float sign() const { return q->orientation == GLU_INSIDE ? -1.0f : 1.0f; }
    void normal(float x, float y, float z) const {
        if (q->normals != GLU_NONE) glNormal3f(sign() * x, sign() * y, sign() * z);
    }
    // A normal only the one kind gives: GLU_SMOOTH's per vertex, GLU_FLAT's per face.
    void normalIf(GLenum kind, float x, float y, float z) const {
        if (q->normals == kind) normal(x, y, z);
    }
    void tex(float s, float t) const {
        if (q->texture) glTexCoord2f(s, t);
    }
};

// ---- Cylinder ---------------------------------------------------------------------

void cylinder(const GLUquadric* q, float base, float top, float height, int slices, int stacks) {
    const Emit e{q};
    // The side's normal is (height sin, height cos, base - top), made unit:
    // `scale` for x and y, `lean` its z. Turned inward, the desktop's GLU
    // turns only x and y, so lean is given turned already (Emit turns it back).
    const float length = std::sqrt(height * height + (base - top) * (base - top));
    const float scale = height / length, lean = e.sign() * (base - top) / length;
    const bool inside = q->orientation == GLU_INSIDE;
    auto angle = [&](float i) { return 2 * pi * i / float(slices); };
    auto radius = [&](int j) { return base + (top - base) * float(j) / float(stacks); };
    auto z = [&](int j) { return height * float(j) / float(stacks); };
    // The smooth normal at slice i, and the flat one of the face that ends there.
    auto smooth = [&](int i, float nz) {
        e.normal(std::sin(angle(float(i))) * scale, std::cos(angle(float(i))) * scale, nz);
    };
    auto face = [&](int i) {
        const float a = angle(float(i) - 0.5f);
        e.normal(std::sin(a) * scale, std::cos(a) * scale, lean);
    };
    auto normalAt = [&](int i) { q->normals == GLU_FLAT ? face(i) : smooth(i, lean); };
    auto vertex = [&](int i, int j) {
        e.tex(1 - float(i) / float(slices), float(j) / float(stacks));
        glVertex3f(radius(j) * std::sin(angle(float(i))), radius(j) * std::cos(angle(float(i))), z(j));
    };
    auto ring = [&](int j) {
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i <= slices; ++i) normalAt(i), vertex(i, j);
        glEnd();
    };
    switch (q->drawStyle) {
        case GLU_FILL:
            for (int j = 0; j < stacks; ++j) {
                glBegin(GL_QUAD_STRIP);
                for (int i = 0; i <= slices; ++i) {
                    normalAt(i);
                    vertex(i, inside ? j + 1 : j);
                    vertex(i, inside ? j : j + 1);
                }
                glEnd();
            }
            return;
        case GLU_POINT:
            glBegin(GL_POINTS);
            for (int i = 0; i < slices; ++i) {
                normalAt(i);
                for (int j = 0; j <= stacks; ++j) vertex(i, j);
            }
            glEnd();
            return;
        default:  // the inner rings only with GLU_LINE; the ends and the lines along z with both
            if (q->drawStyle == GLU_LINE)
                for (int j = 1; j < stacks; ++j) ring(j);
            ring(0);
            ring(stacks);
            for (int i = 0; i < slices; ++i) {
                smooth(i, 0);  // lines along z: the normal across the side, level
                glBegin(GL_LINE_STRIP);
                for (int j = 0; j <= stacks; ++j) vertex(i, j);
                glEnd();
            }
    }
}

// ---- Disks ------------------------------------------------------------------------

// A disk or a partial one: sweep in degrees from `start`, clockwise from +y;
// full when the sweep is a whole turn.
void disk(const GLUquadric* q, float inner, float outer, int slices, int loops, float start, float sweep) {
    const Emit e{q};
    const bool full = sweep >= 360;
    const bool inside = q->orientation == GLU_INSIDE;
    auto angle = [&](int i) { return (start + sweep * float(i) / float(slices)) * pi / 180; };
    auto radius = [&](int l) { return outer - (outer - inner) * float(l) / float(loops); };
    auto vertex = [&](int i, int l) {
        const float x = radius(l) * std::sin(angle(i)), y = radius(l) * std::cos(angle(i));
        e.tex(0.5f + x / (2 * outer), 0.5f + y / (2 * outer));
        glVertex3f(x, y, 0);
    };
    // Lines from the rim inward: every slice's of a partial disk, a whole one's but the repeated last.
    const int radials = full ? slices : slices + 1;
    auto radial = [&](int i) {
        glBegin(GL_LINE_STRIP);
        for (int l = 0; l <= loops; ++l) vertex(i, l);
        glEnd();
    };
    auto arc = [&](int l) {
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i <= slices; ++i) vertex(i, l);
        glEnd();
    };
    e.normal(0, 0, 1);
    switch (q->drawStyle) {
        case GLU_FILL: {
            int strips = loops;
            if (inner == 0) {  // the innermost loop is a fan about the centre, wound to face the normal
                --strips;
                glBegin(GL_TRIANGLE_FAN);
                e.tex(0.5f, 0.5f);
                glVertex3f(0, 0, 0);
                for (int k = 0; k <= slices; ++k) vertex(inside ? k : slices - k, loops - 1);
                glEnd();
            }
            for (int l = 0; l < strips; ++l) {
                glBegin(GL_QUAD_STRIP);
                for (int i = 0; i <= slices; ++i) {
                    vertex(i, inside ? l + 1 : l);
                    vertex(i, inside ? l : l + 1);
                }
                glEnd();
            }
            return;
        }
        case GLU_POINT:
            glBegin(GL_POINTS);
            for (int i = 0; i < radials; ++i)
                for (int l = 0; l <= loops; ++l) vertex(i, l);
            glEnd();
            return;
        case GLU_LINE:  // a ring of no width is drawn once
            if (inner == outer) return arc(0);
            for (int l = 0; l <= loops; ++l) arc(l);
            for (int i = 0; i < radials; ++i) radial(i);
            return;
        default:  // GLU_SILHOUETTE: a partial disk's two straight edges, then the rim and the inner edge
            if (!full) radial(0), radial(slices);
            arc(0);
            if (inner != outer) arc(loops);
    }
}

// ---- Sphere -----------------------------------------------------------------------

void sphere(const GLUquadric* q, float r, int slices, int stacks) {
    const Emit e{q};
    const bool inside = q->orientation == GLU_INSIDE;
    // Slice i at angle 2 pi i / slices around z, stack j at pi j / stacks down from +z.
    auto around = [&](float i) { return 2 * pi * i / float(slices); };
    auto down = [&](float j) { return pi * j / float(stacks); };
    auto unit = [&](float i, float j, float out[3]) {
        out[0] = std::sin(around(i)) * std::sin(down(j));
        out[1] = std::cos(around(i)) * std::sin(down(j));
        out[2] = std::cos(down(j));
    };
    auto vertex = [&](int i, int j, bool smoothNormal) {
        float n[3];
        unit(float(i), float(j), n);
        if (smoothNormal) e.normalIf(GLU_SMOOTH, n[0], n[1], n[2]);
        e.tex(1 - float(i) / float(slices), 1 - float(j) / float(stacks));
        glVertex3f(n[0] * r, n[1] * r, n[2] * r);
    };
    // The flat normal of the face between slices i - 1 and i (or i and i + 1,
    // `next`) in stack j.
    auto face = [&](int i, int j, bool next) {
        float n[3];
        unit(float(i) + (next ? 0.5f : -0.5f), float(j) + 0.5f, n);
        e.normalIf(GLU_FLAT, n[0], n[1], n[2]);
    };
    switch (q->drawStyle) {
        case GLU_FILL: {
            int first = 0, last = stacks;
            if (!q->texture) {  // the caps as fans about the poles, wound to face the normals
                first = 1, last = stacks - 1;
                auto fan = [&](int pole, int ring, bool descending) {
                    e.normalIf(GLU_SMOOTH, 0, 0, pole == 0 ? 1 : -1);
                    glBegin(GL_TRIANGLE_FAN);
                    vertex(0, pole, false);
                    for (int k = 0; k <= slices; ++k) {
                        const int i = descending ? slices - k : k;
                        if (k > 0 || !descending) face(i, pole == 0 ? 0 : stacks - 1, descending);
                        vertex(i, ring, true);
                    }
                    glEnd();
                };
                fan(0, 1, !inside);
                fan(stacks, stacks - 1, inside);
            }
            for (int j = first; j < last; ++j) {
                glBegin(GL_QUAD_STRIP);
                for (int i = 0; i <= slices; ++i) {
                    vertex(i, inside ? j : j + 1, true);
                    face(i, j, false);
                    vertex(i, inside ? j + 1 : j, true);
                }
                glEnd();
            }
            return;
        }
        case GLU_POINT:
            glBegin(GL_POINTS);
            for (int j = 0; j <= stacks; ++j)
                for (int i = 0; i < slices; ++i) vertex(i, j, true);
            glEnd();
            return;
        default:  // GLU_LINE and GLU_SILHOUETTE alike: the inner rings, then the meridians
            for (int j = 1; j < stacks; ++j) {
                glBegin(GL_LINE_STRIP);
                for (int i = 0; i <= slices; ++i) vertex(i, j, true);
                glEnd();
            }
            for (int i = 0; i < slices; ++i) {
                glBegin(GL_LINE_STRIP);
                for (int j = 0; j <= stacks; ++j) vertex(i, j, true);
                glEnd();
            }
    }
}

}  // namespace

extern "C" {

GLUquadric* gluNewQuadric(void) { return new GLUquadric(); }
void gluDeleteQuadric(GLUquadric* q) { delete q; }

void gluQuadricCallback(GLUquadric* q, GLenum which, _GLUfuncptr f) {
    if (!q) return;
    if (which != GLU_ERROR) return quadricError(q, GLU_INVALID_ENUM);
    q->error = reinterpret_cast<void (*)(GLenum)>(f);
}

void gluQuadricDrawStyle(GLUquadric* q, GLenum style) {
    if (!q) return;
    if (style != GLU_POINT && style != GLU_LINE && style != GLU_FILL && style != GLU_SILHOUETTE)
        return quadricError(q, GLU_INVALID_ENUM);
    q->drawStyle = style;
}

void gluQuadricOrientation(GLUquadric* q, GLenum orientation) {
    if (!q) return;
    if (orientation != GLU_OUTSIDE && orientation != GLU_INSIDE) return quadricError(q, GLU_INVALID_ENUM);
    q->orientation = orientation;
}

void gluQuadricNormals(GLUquadric* q, GLenum normals) {
    if (!q) return;
    if (normals != GLU_NONE && normals != GLU_FLAT && normals != GLU_SMOOTH) return quadricError(q, GLU_INVALID_ENUM);
    q->normals = normals;
}

void gluQuadricTexture(GLUquadric* q, GLboolean texture) {
    if (q) q->texture = texture;
}

void gluSphere(GLUquadric* q, GLdouble radius, GLint slices, GLint stacks) {
    if (!q) return;
    if (radius < 0 || slices < 2 || stacks < 1) return quadricError(q, GLU_INVALID_VALUE);
    sphere(q, float(radius), slices, stacks);
}

void gluCylinder(GLUquadric* q, GLdouble base, GLdouble top, GLdouble height, GLint slices, GLint stacks) {
    if (!q) return;
    // Without height or slope the side has no normal.
    if (base < 0 || top < 0 || height < 0 || slices < 2 || stacks < 1 || (height == 0 && base == top))
        return quadricError(q, GLU_INVALID_VALUE);
    cylinder(q, float(base), float(top), float(height), slices, stacks);
}

void gluDisk(GLUquadric* q, GLdouble inner, GLdouble outer, GLint slices, GLint loops) {
    gluPartialDisk(q, inner, outer, slices, loops, 0, 360);
}

void gluPartialDisk(GLUquadric* q, GLdouble inner, GLdouble outer, GLint slices, GLint loops, GLdouble start,
                    GLdouble sweep) {
    if (!q) return;
    if (inner < 0 || outer <= 0 || inner > outer || slices < 2 || loops < 1) return quadricError(q, GLU_INVALID_VALUE);
    // A sweep beyond a turn is a turn; a negative one runs from its far end.
    sweep = std::fmax(-360, std::fmin(360, sweep));
    if (sweep < 0) start += sweep, sweep = -sweep;
    disk(q, float(inner), float(outer), slices, loops, float(start), float(sweep));
}

}  // extern "C"
