/// \file
/// How a shape's entries and its drawStyle become points, segments and
/// triangles: the one place where OpenGL's primitive rules are decoded for the
/// shape layer. Normal calculation and the hit tests take their primitives from
/// here; drawing reads the entries, since it hands the rules to OpenGL itself.
///
/// Internal to the shape layer: this header is not installed, and applications
/// keep to shape/zoShape.h.
#pragma once

#include <GL/gl.h>

#include "shape/zoShape.h"

/// A shape's entry sequence, the vertex numbers in the order they are drawn,
/// -1 ending one primitive and starting the next. An entry outside
/// -1 .. vertexCount - 1 (addIndex stores one with a warning) is passed over as
/// if it were not in the list, so no walk reads past the vertex arrays and
/// every walk sees what OpenGL is given.
class zoEntryWalk {
public:
    /// list: the entries, count of them; a null list stands for the vertex
    /// numbers 0 .. count - 1. A negative count is an empty sequence.
    zoEntryWalk(const int* list, int count, int vertexCount)
        : list(list), count(count), vertexCount(vertexCount), at(0) {}
    /// The entries a shape draws: its index list when enableIndex is set, else
    /// every vertex in order.
    explicit zoEntryWalk(const zoShape& s)
        : zoEntryWalk(s.enableIndex ? s.indexList : nullptr, s.enableIndex ? s.indexListLength : s.listLength,
                      s.listLength) {}

    /// Stores the next entry (a vertex number or -1) in e; false at the end.
    bool next(int& e) {
        while (at < count) {
            int v = list ? list[at] : at;
            ++at;
            if (v == -1 || (v >= 0 && v < vertexCount)) {
                e = v;
                return true;
            }
        }
        return false;
    }

    /// Number of entries from the start, separators included, stored ones
    /// outside the vertex range not.
    int size() const;

private:
    const int* list;
    int count;
    int vertexCount;
    int at;
};

/// One decoded primitive: a point, a segment or a triangle.
struct zoPrimitive {
    int corners;  ///< 1 point, 2 segment, 3 triangle.
    int v[3];     ///< Vertex numbers, in entry order; v[corners..2] are unused.
    /// Triangles: how many triangles its primitive gave before it (0 for the
    /// first after the start or a separator). A strip's odd triangles are
    /// wound the other way by OpenGL; their corners here stay in entry order.
    int k;
};

/// Calls visit(const zoPrimitive&) for every primitive that OpenGL's rules
/// make of an entry sequence in a drawStyle, in drawing order, until visit
/// returns true; returns true when visit stopped the walk. By drawStyle (a
/// separator always ends the primitive in progress, as glEnd would, and drops
/// its unfinished corners):
/// \verbatim
///   0 GL_POINTS          every vertex entry
///   1 GL_LINES           segments of consecutive pairs
///   2 GL_LINE_LOOP       the strip's segments, then the one closing it, from
///                        its last vertex to its first (when it has two)
///   3 GL_LINE_STRIP      a segment between every two consecutive entries
///   4 GL_TRIANGLES       triangles of consecutive triples
///   5 GL_TRIANGLE_STRIP  a triangle for every three consecutive entries
///   6 GL_TRIANGLE_FAN    triangles (centre, previous, entry) around the first
///                        entry. After a separator the entry that follows is
///                        the new centre and also the previous entry, so the
///                        new fan opens with a triangle of no area (centre,
///                        centre, next); a sequence that starts with a
///                        separator has no centre until the next separator.
///                        Normal averaging counts these faces, so they stay.
///   7 GL_QUADS           each four (a, b, c, d) as (a, b, c) and (a, c, d)
///   8 GL_QUAD_STRIP      each quad (a, b, d, c) of the pairs (a, b), (c, d)
///                        as (a, b, d) and (a, d, c)
///   9 GL_POLYGON         the fan around the first vertex of each polygon
///   any other value      nothing
/// \endverbatim
/// A template, so that the visit of every triangle of a mesh, which normal
/// calculation makes on every draw, compiles into one loop.
template <class Visit>
bool zoWalkPrimitives(unsigned drawStyle, zoEntryWalk entries, Visit visit) {
    zoPrimitive p;
    auto emit = [&](int corners, int a, int b, int c, int k) {
        p.corners = corners;
        p.v[0] = a;
        p.v[1] = b;
        p.v[2] = c;
        p.k = k;
        return visit(static_cast<const zoPrimitive&>(p));
    };
    int e, w[4] = {-1, -1, -1, -1}, have = 0, k = 0;
    switch (drawStyle) {
        case GL_POINTS:
            while (entries.next(e))
                if (e != -1 && emit(1, e, -1, -1, 0)) return true;
            return false;

        case GL_LINES:
        case GL_LINE_LOOP:
        case GL_LINE_STRIP: {
            const bool lines = drawStyle == GL_LINES, loop = drawStyle == GL_LINE_LOOP;
            int run = 0, first = -1;  // a loop's vertices since the last separator, and the first of them
            for (;;) {
                const bool more = entries.next(e);
                if (!more || e == -1) {
                    // A strip in progress keeps one corner, its last vertex.
                    if (loop && run >= 2 && emit(2, w[0], first, -1, 0)) return true;
                    if (!more) return false;
                    have = run = 0;
                    continue;
                }
                if (run++ == 0) first = e;
                w[have++] = e;
                if (have < 2) continue;
                if (emit(2, w[0], w[1], -1, 0)) return true;
                if (lines) {
                    have = 0;
                } else {
                    w[0] = w[1];
                    have = 1;
                }
            }
        }

        case GL_TRIANGLES:
        case GL_TRIANGLE_STRIP: {
            const bool strip = drawStyle == GL_TRIANGLE_STRIP;
            while (entries.next(e)) {
                if (e == -1) {
                    have = k = 0;
                    continue;
                }
                w[have++] = e;
                if (have < 3) continue;
                if (emit(3, w[0], w[1], w[2], k++)) return true;
                if (strip) {
                    w[0] = w[1];
                    w[1] = w[2];
                    have = 2;
                } else {
                    have = 0;
                }
            }
            return false;
        }

        case GL_TRIANGLE_FAN: {
            int centre, prev;
            if (!entries.next(centre) || !entries.next(prev)) return false;
            while (entries.next(e)) {
                if (centre != -1 && prev != -1 && e != -1) {
                    if (emit(3, centre, prev, e, k++)) return true;
                } else if (prev == -1) {
                    centre = e;
                    k = 0;
                }
                prev = e;
            }
            return false;
        }

        case GL_POLYGON:
            // w[0] is the polygon's first vertex, w[1] the one before the current.
            while (entries.next(e)) {
                if (e == -1) {
                    have = k = 0;
                } else if (have < 2) {
                    w[have++] = e;
                } else {
                    if (emit(3, w[0], w[1], e, k++)) return true;
                    w[1] = e;
                }
            }
            return false;

        case GL_QUADS:
        case GL_QUAD_STRIP: {
            const bool strip = drawStyle == GL_QUAD_STRIP;
            while (entries.next(e)) {
                if (e == -1) {
                    have = k = 0;
                    continue;
                }
                w[have++] = e;
                if (have < 4) continue;
                if (strip) {
                    // The quad's corners in order round it are w0, w1, w3, w2.
                    if (emit(3, w[0], w[1], w[3], k++) || emit(3, w[0], w[3], w[2], k++)) return true;
                    w[0] = w[2];
                    w[1] = w[3];
                    have = 2;
                } else {
                    if (emit(3, w[0], w[1], w[2], k++) || emit(3, w[0], w[2], w[3], k++)) return true;
                    have = 0;
                }
            }
            return false;
        }

        default:
            return false;
    }
}
