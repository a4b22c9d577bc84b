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

/// The primitive rules as a state machine over the entries, one at a time:
/// what zoWalkPrimitives() runs. Each call stores the primitives that the
/// entry (or the end of the sequence) completes and returns their number.
class zoPrimitiveDecoder {
public:
    /// A decoder for one entry sequence in the given drawStyle.
    explicit zoPrimitiveDecoder(unsigned drawStyle) : mode(drawStyle) {}

    /// Takes the next entry (a vertex number or -1); stores 0 to 2 primitives
    /// in out and returns how many. Always inlined: it runs for every entry of
    /// every mesh on every draw, and its switch folds away in the walk's loop.
    [[gnu::always_inline]] int push(int e, zoPrimitive out[2]) {
        switch (mode) {
            case GL_POINTS:
                if (e == -1) return 0;
                set(out[0], 1, e, -1, -1, 0);
                return 1;

            case GL_LINES:
            case GL_LINE_LOOP:
            case GL_LINE_STRIP:
                if (e == -1) {
                    const int n = finish(out);
                    have = run = 0;
                    return n;
                }
                if (run++ == 0) first = e;
                w[have++] = e;
                if (have < 2) return 0;
                set(out[0], 2, w[0], w[1], -1, 0);
                if (mode == GL_LINES) {
                    have = 0;
                } else {
                    // A strip in progress keeps one corner, its last vertex.
                    w[0] = w[1];
                    have = 1;
                }
                return 1;

            case GL_TRIANGLES:
            case GL_TRIANGLE_STRIP:
                if (e == -1) {
                    have = k = 0;
                    return 0;
                }
                w[have++] = e;
                if (have < 3) return 0;
                set(out[0], 3, w[0], w[1], w[2], k++);
                if (mode == GL_TRIANGLES) {
                    have = 0;
                } else {
                    w[0] = w[1];
                    w[1] = w[2];
                    have = 2;
                }
                return 1;

            case GL_TRIANGLE_FAN:
                // w[0] is the centre and w[1] the entry before this one; the
                // first two entries are taken as they are, separators included.
                if (have < 2) {
                    w[have++] = e;
                    return 0;
                }
                if (w[0] != -1 && w[1] != -1 && e != -1) {
                    set(out[0], 3, w[0], w[1], e, k++);
                    w[1] = e;
                    return 1;
                }
                if (w[1] == -1) {
                    w[0] = e;
                    k = 0;
                }
                w[1] = e;
                return 0;

            case GL_POLYGON:
                // w[0] is the polygon's first vertex, w[1] the one before this.
                if (e == -1) {
                    have = k = 0;
                    return 0;
                }
                if (have < 2) {
                    w[have++] = e;
                    return 0;
                }
                set(out[0], 3, w[0], w[1], e, k++);
                w[1] = e;
                return 1;

            case GL_QUADS:
            case GL_QUAD_STRIP:
                if (e == -1) {
                    have = k = 0;
                    return 0;
                }
                w[have++] = e;
                if (have < 4) return 0;
                if (mode == GL_QUADS) {
                    set(out[0], 3, w[0], w[1], w[2], k++);
                    set(out[1], 3, w[0], w[2], w[3], k++);
                    have = 0;
                } else {
                    // The quad's corners in order round it are w0, w1, w3, w2.
                    set(out[0], 3, w[0], w[1], w[3], k++);
                    set(out[1], 3, w[0], w[3], w[2], k++);
                    w[0] = w[2];
                    w[1] = w[3];
                    have = 2;
                }
                return 2;

            default:
                return 0;
        }
    }

    /// The end of the sequence: stores what it completes (a line loop's
    /// closing segment) in out and returns how many.
    int finish(zoPrimitive out[2]) {
        if (mode != GL_LINE_LOOP || run < 2) return 0;
        set(out[0], 2, w[0], first, -1, 0);
        return 1;
    }

private:
    static void set(zoPrimitive& p, int corners, int a, int b, int c, int k) {
        p.corners = corners;
        p.v[0] = a;
        p.v[1] = b;
        p.v[2] = c;
        p.k = k;
    }

    unsigned mode;
    int w[4] = {-1, -1, -1, -1};  // corners of the primitive in progress
    int have = 0;                 // how many of w are taken
    int k = 0;                    // triangles since the start or the last separator
    int run = 0;                  // line loop: vertices since then
    int first = -1;               // line loop: the first of them
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
/// The visit is called from one place, so that it compiles into the loop
/// over the entries (normal calculation visits every triangle of a mesh on
/// every draw).
template <class Visit>
bool zoWalkPrimitives(unsigned drawStyle, zoEntryWalk entries, Visit visit) {
    zoPrimitiveDecoder decoder(drawStyle);
    zoPrimitive made[2];
    for (;;) {
        int e;
        const bool more = entries.next(e);
        const int n = more ? decoder.push(e, made) : decoder.finish(made);
        for (int i = 0; i < n; ++i)
            if (visit(static_cast<const zoPrimitive&>(made[i]))) return true;
        if (!more) return false;
    }
}
