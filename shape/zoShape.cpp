// zoShape: building, drawing, normals, hit testing and the binary record.
//
// Messages go to standard output with printf, one line each, beginning with the
// operation's name. After an error the operation returns with the shape as it
// was; after a warning it carries on.
#include "shape/zoShape.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "math/zoTransforms.h"

static_assert(sizeof(zoVec3f) == 12 && sizeof(zoVec4f) == 16,
              "vertex arrays are read and written as packed runs of floats");

void* (*zoShapeRealloc)(void* block, size_t bytes) = std::realloc;

float zoShape::pickTolerance = 5.0f;

// ---------------------------------------------------------------------------
// Memory

namespace {

// One array being grown together with others, as an untyped block.
struct Slot {
    void* block;
    size_t elem;
};

// Grows every block to count elements. When one block cannot be had, the
// blocks already grown are put back: released if they were null, cut back to
// oldCount elements if they held that many (oldCount 0: an array left over
// from an earlier state, of unknown size, which keeps its grown block and its
// entries). The caller stores the blocks back either way, since a grown block
// may have moved: no pointer dangles and no entry is lost.
bool growSlots(Slot* s, int k, size_t oldCount, size_t count) {
    void* before[8];
    for (int i = 0; i < k; ++i) before[i] = s[i].block;
    for (int i = 0; i < k; ++i) {
        void* p = zoShapeRealloc(s[i].block, count * s[i].elem);
        if (!p) {
            for (int j = 0; j < i; ++j) {
                if (!before[j]) {
                    std::free(s[j].block);
                    s[j].block = nullptr;
                } else if (oldCount > 0) {
                    if (void* q = zoShapeRealloc(s[j].block, oldCount * s[j].elem)) s[j].block = q;
                }
            }
            return false;
        }
        s[i].block = p;
    }
    return true;
}

// Resizes one array to count elements; a count of 0 releases it. False, with
// the array untouched, when memory cannot be had.
template <class T>
bool resizeArray(T*& array, size_t count) {
    if (count == 0) {
        std::free(array);
        array = nullptr;
        return true;
    }
    void* p = zoShapeRealloc(array, count * sizeof(T));
    if (!p) return false;
    array = static_cast<T*>(p);
    return true;
}

// A fresh array of count elements, or null (also for count 0).
template <class T>
T* newArray(size_t count) {
    return count ? static_cast<T*>(zoShapeRealloc(nullptr, count * sizeof(T))) : nullptr;
}

// Walks a shape's entry sequence: the index list when it is on, else the
// vertex numbers in order. An index entry outside -1 .. listLength - 1 (addIndex
// stores one with a warning) is passed over as if it were not in the list, so
// every pass reads only existing vertices and sees the primitives OpenGL is
// given by draw, which skips such entries too.
struct EntryWalk {
    const int* list;
    int count;
    int listLength;
    int k;

    explicit EntryWalk(const zoShape& s)
        : list(s.enableIndex ? s.indexList : nullptr),
          count(s.enableIndex ? s.indexListLength : s.listLength),
          listLength(s.listLength),
          k(0) {}

    // Next entry: a vertex number or -1; false at the end.
    bool next(int& e) {
        while (k < count) {
            int v = list ? list[k] : k;
            ++k;
            if (v == -1 || (v >= 0 && v < listLength)) {
                e = v;
                return true;
            }
        }
        return false;
    }

    int size() const {
        EntryWalk w(*this);
        w.k = 0;
        int n = 0, e;
        while (w.next(e)) ++n;
        return n;
    }
};

bool outOfRange(int index, int length) { return index < 0 || index >= length; }

}  // namespace

// ---------------------------------------------------------------------------
// Building

zoShape::zoShape(bool vertexColors, bool vertexNormals, bool index)
    : drawStyle(GL_LINE_STRIP),
      transformOrder(zo_T_R_S),
      Normal(0, 0, 1),
      Translation(0, 0, 0),
      Scale(1, 1, 1),
      enablePicking(true),
      listLength(0),
      vertexList(nullptr),
      absVertexList(nullptr),
      screenVertexList(nullptr),
      normalList(nullptr),
      textureCoordList(nullptr),
      colorList(nullptr),
      enableIndex(index),
      indexListLength(0),
      indexList(nullptr),
      normalCountList(nullptr),
      enableVertexNormals(vertexNormals),
      enableVertexColors(vertexColors),
      enableVertexTextureCoords(false) {
    Color.set(1, 1, 1, 1);
    Rotation.set(0, 0, 1, 0);
    // Nothing reads space before the first draw; give it a defined value.
    space.setIdentity();
}

zoShape::~zoShape() {
    std::free(vertexList);
    std::free(absVertexList);
    std::free(screenVertexList);
    std::free(normalList);
    std::free(textureCoordList);
    std::free(colorList);
    std::free(indexList);
    std::free(normalCountList);
}

int zoShape::addPoint() {
    size_t oldCount = size_t(listLength), count = oldCount + 1;
    // Every array that holds one entry per vertex grows together or not at all.
    Slot s[8];
    int k = 0;
    s[k++] = {vertexList, sizeof(zoVec3f)};
    s[k++] = {absVertexList, sizeof(zoVec3f)};
    s[k++] = {screenVertexList, sizeof(zoVec3f)};
    int iNormal = -1, iColor = -1, iTex = -1;
    if (enableVertexNormals) {
        iNormal = k;
        s[k++] = {normalList, sizeof(zoVec3f)};
        s[k++] = {normalCountList, sizeof(int)};
    }
    if (enableVertexColors) {
        iColor = k;
        s[k++] = {colorList, sizeof(zoVec4f)};
    }
    if (enableVertexTextureCoords) {
        iTex = k;
        s[k++] = {textureCoordList, sizeof(zoVec3f)};
    }
    bool ok = growSlots(s, k, oldCount, count);
    vertexList = static_cast<zoVec3f*>(s[0].block);
    absVertexList = static_cast<zoVec3f*>(s[1].block);
    screenVertexList = static_cast<zoVec3f*>(s[2].block);
    if (iNormal >= 0) {
        normalList = static_cast<zoVec3f*>(s[iNormal].block);
        normalCountList = static_cast<int*>(s[iNormal + 1].block);
    }
    if (iColor >= 0) colorList = static_cast<zoVec4f*>(s[iColor].block);
    if (iTex >= 0) textureCoordList = static_cast<zoVec3f*>(s[iTex].block);
    if (!ok) {
        printf("addPoint: out of memory\n");
        return -1;
    }

    int i = listLength++;
    vertexList[i].set(0, 0, 0);
    absVertexList[i].set(0, 0, 0);
    screenVertexList[i].set(0, 0, 0);
    if (enableVertexNormals) {
        normalList[i].set(0, 0, 1);
        normalCountList[i] = 0;
    }
    if (enableVertexColors) colorList[i].set(1, 1, 1, 1);
    if (enableVertexTextureCoords) textureCoordList[i].set(0, 0, 0);
    return i;
}

int zoShape::addPoint(float x, float y, float z) {
    int i = addPoint();
    if (i >= 0) vertexList[i].set(x, y, z);
    return i;
}

void zoShape::addIndex(int index) {
    if (!enableIndex) {
        printf("addIndex: index list is not enable in shape\n");
        return;
    }
    if (index < -1 || index >= listLength) printf("addIndex warning: added index is outside of bounds\n");
    if (!resizeArray(indexList, size_t(indexListLength) + 1)) {
        printf("addIndex: out of memory\n");
        return;
    }
    indexList[indexListLength++] = index;
}

void zoShape::setVertex(int index, float x, float y, float z) {
    if (outOfRange(index, listLength)) {
        printf("setVertex: index is out of bounds\n");
        return;
    }
    vertexList[index].set(x, y, z);
}

void zoShape::setVertexColor(int index, float r, float g, float b, float a) {
    if (!enableVertexColors) {
        printf("setVertexColor: vertex color is not enabled in shape\n");
        return;
    }
    if (outOfRange(index, listLength)) {
        printf("setVertexColor: index is out of bounds\n");
        return;
    }
    colorList[index].set(r, g, b, a);
}

// The enable operations give the entries of an array that did not exist yet
// the values addPoint gives a new vertex. An array left over from before a
// file read cleared its flag is resized as it is: its entries are kept, and
// the caller sets the attributes of existing vertices before drawing them.

void zoShape::enablePerVertexColors() {
    bool fresh = !enableVertexColors && !colorList;
    if (!resizeArray(colorList, size_t(listLength))) {
        printf("enablePerVertexColors: out of memory\n");
        return;
    }
    enableVertexColors = true;
    if (fresh)
        for (int i = 0; i < listLength; ++i) colorList[i].set(1, 1, 1, 1);
}

void zoShape::enablePerVertexNormals() {
    bool fresh = !enableVertexNormals && !normalList && !normalCountList;
    size_t oldCount = enableVertexNormals ? size_t(listLength) : 0;
    Slot s[2] = {{normalList, sizeof(zoVec3f)}, {normalCountList, sizeof(int)}};
    bool ok = listLength == 0 || growSlots(s, 2, oldCount, size_t(listLength));
    if (listLength == 0) {
        std::free(s[0].block);
        std::free(s[1].block);
        s[0].block = s[1].block = nullptr;
    }
    normalList = static_cast<zoVec3f*>(s[0].block);
    normalCountList = static_cast<int*>(s[1].block);
    if (!ok) {
        printf("enablePerVertexNormals: out of memory\n");
        return;
    }
    enableVertexNormals = true;
    if (fresh)
        for (int i = 0; i < listLength; ++i) {
            normalList[i].set(0, 0, 1);
            normalCountList[i] = 0;
        }
}

void zoShape::enablePerVertexTextureCoords() {
    bool fresh = !enableVertexTextureCoords && !textureCoordList;
    if (!resizeArray(textureCoordList, size_t(listLength))) {
        printf("enablePerVertexTextureCoords: out of memory\n");
        return;
    }
    enableVertexTextureCoords = true;
    if (fresh)
        for (int i = 0; i < listLength; ++i) textureCoordList[i].set(0, 0, 0);
}

// ---------------------------------------------------------------------------
// Normals

void zoShape::calculateNormals() {
    if (!enableVertexNormals) {
        printf("calculateNormals: vertex normals are not enabled\n");
        return;
    }
    for (int i = 0; i < listLength; ++i) {
        normalList[i].set(0, 0, 0);
        normalCountList[i] = 0;
    }
    const zoVec3f* v = absVertexList;
    auto addFace = [this](const zoVec3f& N, int a, int b, int c) {
        normalList[a] += N;
        normalList[b] += N;
        normalList[c] += N;
        ++normalCountList[a];
        ++normalCountList[b];
        ++normalCountList[c];
    };

    EntryWalk walk(*this);
    int n = walk.size();
    int e;
    switch (drawStyle) {
        case GL_POLYGON: {
            if (n < 3) return;
            // One face for the whole shape, from the first three vertices of
            // the first polygon that has three: the first polygon OpenGL can
            // fill. A polygon cut short by a separator draws nothing, so it
            // cannot give the normal; when no polygon has three vertices no
            // face is formed and every vertex keeps the normal of a vertex in
            // no face.
            int run[3], have = 0;
            while (walk.next(e)) {
                if (e == -1) {
                    have = 0;
                    continue;
                }
                run[have++] = e;
                if (have == 3) break;
            }
            if (have == 3) {
                zoVec3f N = (v[run[1]] - v[run[0]]).cross(v[run[2]] - v[run[0]]);
                N.normalize();
                for (int i = 0; i < listLength; ++i) {
                    normalList[i] += N;
                    ++normalCountList[i];
                }
            }
            break;
        }
        case GL_TRIANGLES:
        case GL_TRIANGLE_STRIP: {
            if (n < 3) return;
            bool strip = drawStyle == GL_TRIANGLE_STRIP;
            int w[3], have = 0, k = 0;
            while (walk.next(e)) {
                w[have++] = e;
                if (have < 3) continue;
                bool separated = w[0] == -1 || w[1] == -1 || w[2] == -1;
                if (separated) {
                    k = 0;
                } else {
                    zoVec3f N = (v[w[1]] - v[w[0]]).cross(v[w[2]] - v[w[0]]);
                    float len = N.length();
                    if (len != 0) N /= len;
                    if (strip && k % 2 == 0) N *= -1;
                    addFace(N, w[0], w[1], w[2]);
                    ++k;
                }
                if (separated || strip) {
                    w[0] = w[1];
                    w[1] = w[2];
                    have = 2;
                } else {
                    have = 0;
                }
            }
            break;
        }
        case GL_TRIANGLE_FAN: {
            if (n < 3) return;
            int centre = -1, prev = -1;
            walk.next(centre);
            walk.next(prev);
            while (walk.next(e)) {
                if (centre != -1 && prev != -1 && e != -1) {
                    zoVec3f N = (v[prev] - v[centre]).cross(v[e] - v[centre]);
                    N.normalize();
                    addFace(N, centre, prev, e);
                } else if (prev == -1) {
                    centre = e;
                }
                prev = e;
            }
            break;
        }
        default:
            break;
    }

    for (int i = 0; i < listLength; ++i) {
        if (normalCountList[i] > 0) {
            normalList[i] = normalList[i] / float(normalCountList[i]);
            normalList[i].normalize();
        } else {
            normalList[i].set(0, 0, 1);
        }
    }
}

// ---------------------------------------------------------------------------
// Drawing

void zoShape::draw() {
    zoPushMatrix();
    const float tx = Translation.x, ty = Translation.y, tz = Translation.z;
    const float sx = Scale.x, sy = Scale.y, sz = Scale.z;
    const float ra = Rotation.x, rx = Rotation.y, ry = Rotation.z, rz = Rotation.w;
    switch (transformOrder) {
        case zo_T_S_R:
            zoTranslatef(tx, ty, tz);
            zoScalef(sx, sy, sz);
            zoRotatef(ra, rx, ry, rz);
            break;
        case zo_T_R_S:
            zoTranslatef(tx, ty, tz);
            zoRotatef(ra, rx, ry, rz);
            zoScalef(sx, sy, sz);
            break;
        case zo_R_S_T:
            zoRotatef(ra, rx, ry, rz);
            zoScalef(sx, sy, sz);
            zoTranslatef(tx, ty, tz);
            break;
        case zo_R_T_S:
            zoRotatef(ra, rx, ry, rz);
            zoTranslatef(tx, ty, tz);
            zoScalef(sx, sy, sz);
            break;
        case zo_S_R_T:
            zoScalef(sx, sy, sz);
            zoRotatef(ra, rx, ry, rz);
            zoTranslatef(tx, ty, tz);
            break;
        case zo_S_T_R:
            zoScalef(sx, sy, sz);
            zoTranslatef(tx, ty, tz);
            zoRotatef(ra, rx, ry, rz);
            break;
        default:  // an order read from a file outside 0..5: no transform
            break;
    }
    space.set(getCurrentMatrix());

    for (int i = 0; i < listLength; ++i) {
        zoTransformToReal(vertexList[i], absVertexList[i]);
        if (enablePicking) zoTransformRealToScreen(absVertexList[i], screenVertexList[i]);
    }
    if (enableVertexNormals) calculateNormals();
    if (enableIndex && indexListLength == 0)
        printf("zoShape::draw: no shape is drawing because index list is empty\n");

    glBegin(drawStyle);
    glColor4f(Color.x, Color.y, Color.z, Color.w);
    glNormal3f(Normal.x, Normal.y, Normal.z);
    const int count = enableIndex ? indexListLength : listLength;
    for (int k = 0; k < count; ++k) {
        int v = enableIndex ? indexList[k] : k;
        if (v == -1) {
            glEnd();
            glBegin(drawStyle);
            continue;
        }
        if (outOfRange(v, listLength)) continue;  // stored with a warning; not a vertex
        if (enableVertexNormals) {
            if (enableVertexTextureCoords) glTexCoord2f(textureCoordList[v].x, textureCoordList[v].y);
            glNormal3f(normalList[v].x, normalList[v].y, normalList[v].z);
        }
        if (enableVertexColors) glColor4f(colorList[v].x, colorList[v].y, colorList[v].z, colorList[v].w);
        glVertex3f(absVertexList[v].x, absVertexList[v].y, absVertexList[v].z);
    }
    glEnd();
    zoPopMatrix();
}

// ---------------------------------------------------------------------------
// Hit testing

bool pointInTriangle(float x, float y, zoVec3f& p, zoVec3f& q, zoVec3f& r) {
    if (p.z < 0 || q.z < 0 || r.z < 0) return false;
    float nz = (q - p).cross(r - p).z;
    bool counterClockwise = nz > 0;
    const zoVec3f* corner[4] = {&p, &q, &r, &p};
    for (int i = 0; i < 3; ++i) {
        const zoVec3f& e0 = *corner[i];
        zoVec3f k = *corner[i + 1] - e0;
        float d = zoVec3f(x - e0.x, y - e0.y, 0 - e0.z).dot(zoVec3f(k.y, -k.x, 0));
        if (counterClockwise ? d > 0 : d < 0) return false;
    }
    return true;
}

namespace {

// Distance test of the screen point P against the segment A..B (depth ignored).
bool hitSegment(const zoVec3f& P, const zoVec3f& A, const zoVec3f& B, float tolerance) {
    zoVec3f E = B - A;
    zoVec3f D = P - A;
    D.z = 0;
    if (D.dot(E) < 0) return false;
    zoVec3f F = P - B;
    F.z = 0;
    if (F.dot(A - B) < 0) return false;
    zoVec3f N(E.y, -E.x, 0);
    // A segment of no length on screen has no direction: it is the point A,
    // hit only from within the pick distance (not from anywhere on the screen).
    if (N.lengthSquared() == 0) return D.lengthSquared() < tolerance * tolerance;
    N.normalize();
    float dist = std::fabs(D.dot(N));
    return dist < tolerance;
}

// A triangle of no area on screen is not drawn by OpenGL, so it hits nothing.
bool hitTriangle(float x, float y, zoVec3f& p, zoVec3f& q, zoVec3f& r) {
    if ((q - p).cross(r - p).z == 0) return false;
    return pointInTriangle(x, y, p, q, r);
}

}  // namespace

bool zoShape::pointInside(float x, float y) {
    if (!enablePicking) return false;
    const zoVec3f P(x, y, 0);
    zoVec3f* s = screenVertexList;
    EntryWalk walk(*this);
    int e;
    switch (drawStyle) {
        case GL_LINES:
        case GL_LINE_LOOP:
        case GL_LINE_STRIP: {
            bool lines = drawStyle == GL_LINES, loop = drawStyle == GL_LINE_LOOP;
            int w[2], have = 0;
            // A loop's closing segment runs from the last vertex of each run
            // between separators back to its first; OpenGL draws it, so it hits.
            int first = -1, last = -1, run = 0;
            bool more = true;
            while (more) {
                more = walk.next(e);
                if (loop && (!more || e == -1)) {
                    if (run >= 2 && hitSegment(P, s[last], s[first], pickTolerance)) return true;
                    run = 0;
                }
                if (!more) break;
                if (loop && e != -1) {
                    if (run++ == 0) first = e;
                    last = e;
                }
                w[have++] = e;
                if (have < 2) continue;
                bool separated = w[0] == -1 || w[1] == -1;
                if (!separated && hitSegment(P, s[w[0]], s[w[1]], pickTolerance)) return true;
                if (separated || !lines) {
                    w[0] = w[1];
                    have = 1;
                } else {
                    have = 0;
                }
            }
            return false;
        }
        case GL_TRIANGLES:
        case GL_TRIANGLE_STRIP: {
            bool strip = drawStyle == GL_TRIANGLE_STRIP;
            int w[3], have = 0;
            while (walk.next(e)) {
                w[have++] = e;
                if (have < 3) continue;
                bool separated = w[0] == -1 || w[1] == -1 || w[2] == -1;
                if (!separated && hitTriangle(x, y, s[w[0]], s[w[1]], s[w[2]])) return true;
                if (separated || strip) {
                    w[0] = w[1];
                    w[1] = w[2];
                    have = 2;
                } else {
                    have = 0;
                }
            }
            return false;
        }
        case GL_TRIANGLE_FAN:
        case GL_POLYGON: {
            int centre = -1, prev = -1;
            if (!walk.next(centre) || !walk.next(prev)) return false;
            while (walk.next(e)) {
                if (centre != -1 && prev != -1 && e != -1) {
                    if (hitTriangle(x, y, s[centre], s[prev], s[e])) return true;
                } else if (prev == -1) {
                    centre = e;
                }
                prev = e;
            }
            return false;
        }
        case GL_POINTS: {
            const float limit = pickTolerance * pickTolerance;
            while (walk.next(e)) {
                if (e == -1) continue;
                zoVec3f V = s[e];
                V.z = 0;
                if ((V - P).lengthSquared() < limit) return true;
            }
            return false;
        }
        default:  // quads, quad strips and unknown modes are never hit
            return false;
    }
}

bool zoShape::shapeInRect(float left, float bottom, float right, float top, bool any) {
    EntryWalk walk(*this);
    int e;
    while (walk.next(e)) {
        if (e == -1) continue;
        float x = screenVertexList[e].x, y = screenVertexList[e].y;
        if (any) {
            if (left < x && x < right && bottom < y && y < top) return true;
        } else if (x < left || x > right || y < bottom || y > top) {
            return false;
        }
    }
    return !any;
}

bool zoShape::shapeInCircle(float cx, float cy, float radius, bool any) {
    EntryWalk walk(*this);
    int e;
    const float r2 = radius * radius;
    while (walk.next(e)) {
        if (e == -1) continue;
        float dx = screenVertexList[e].x - cx;
        float dy = screenVertexList[e].y - cy;
        float d2 = dx * dx + dy * dy;
        if (any) {
            if (r2 > d2) return true;
        } else if (r2 < d2) {
            return false;
        }
    }
    return !any;
}

// ---------------------------------------------------------------------------
// The record: a packed little-endian head of 86 bytes, then the arrays.

namespace {

const size_t kHeadSize = 86;

void putU32(unsigned char* p, uint32_t v) {
    p[0] = (unsigned char)(v);
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
}

uint32_t getU32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void putFloats(unsigned char* p, const float* f, int count) {
    for (int i = 0; i < count; ++i) {
        uint32_t bits;
        std::memcpy(&bits, &f[i], 4);
        putU32(p + 4 * i, bits);
    }
}

void getFloats(const unsigned char* p, float* f, int count) {
    for (int i = 0; i < count; ++i) {
        uint32_t bits = getU32(p + 4 * i);
        std::memcpy(&f[i], &bits, 4);
    }
}

// Writes a run of 32-bit words (floats or ints) in little-endian order through
// a small buffer. False when the stream takes fewer bytes than given.
bool writeWords(FILE* stream, const void* data, size_t words) {
    unsigned char buf[4096];
    const unsigned char* src = static_cast<const unsigned char*>(data);
    while (words > 0) {
        size_t chunk = words < sizeof buf / 4 ? words : sizeof buf / 4;
        for (size_t i = 0; i < chunk; ++i) {
            uint32_t w;
            std::memcpy(&w, src + 4 * i, 4);
            putU32(buf + 4 * i, w);
        }
        if (std::fwrite(buf, 4, chunk, stream) != chunk) return false;
        src += 4 * chunk;
        words -= chunk;
    }
    return true;
}

enum ReadStatus { readOk, readShort, readNoMemory };

// Reads words 32-bit little-endian words into a fresh block of exactly that
// size, converting them to the host's order in place. The block grows with the
// data that actually arrives, so a hostile count on a stream that cannot be
// measured costs no more memory than the stream delivers.
ReadStatus readWords(FILE* stream, size_t words, void** out) {
    *out = nullptr;
    if (words == 0) return readOk;
    const size_t total = words * 4;
    unsigned char* block = nullptr;
    size_t have = 0;
    while (have < total) {
        size_t want = have < (size_t(1) << 16) ? (size_t(1) << 16) : have * 2;
        if (want > total) want = total;
        void* p = zoShapeRealloc(block, want);
        if (!p) {
            std::free(block);
            return readNoMemory;
        }
        block = static_cast<unsigned char*>(p);
        size_t got = std::fread(block + have, 1, want - have, stream);
        have += got;
        if (have < want) {
            std::free(block);
            return readShort;
        }
    }
    for (size_t i = 0; i < words; ++i) {
        uint32_t w = getU32(block + 4 * i);
        std::memcpy(block + 4 * i, &w, 4);
    }
    *out = block;
    return readOk;
}

// Bytes left in the stream after the current position, or -1 when the stream
// cannot be measured (a pipe, a terminal). The position is restored.
long long bytesLeft(FILE* stream) {
    long pos = std::ftell(stream);
    if (pos < 0) return -1;
    if (std::fseek(stream, 0, SEEK_END) != 0) return -1;
    long end = std::ftell(stream);
    if (std::fseek(stream, pos, SEEK_SET) != 0 || end < pos) return -1;
    return (long long)end - pos;
}

}  // namespace

void zoShape::writeToFile(FILE* stream) {
    unsigned char head[kHeadSize];
    putU32(head + 0, drawStyle);
    head[4] = (unsigned char)transformOrder;
    const float normal[3] = {Normal.x, Normal.y, Normal.z};
    const float color[4] = {Color.x, Color.y, Color.z, Color.w};
    const float translation[3] = {Translation.x, Translation.y, Translation.z};
    const float scale[3] = {Scale.x, Scale.y, Scale.z};
    const float rotation[4] = {Rotation.x, Rotation.y, Rotation.z, Rotation.w};
    putFloats(head + 5, normal, 3);
    putFloats(head + 17, color, 4);
    putFloats(head + 33, translation, 3);
    putFloats(head + 45, scale, 3);
    putFloats(head + 57, rotation, 4);
    head[73] = enablePicking ? 1 : 0;
    putU32(head + 74, uint32_t(listLength));
    head[78] = enableIndex ? 1 : 0;
    putU32(head + 79, uint32_t(indexListLength));
    head[83] = enableVertexNormals ? 1 : 0;
    head[84] = enableVertexColors ? 1 : 0;
    head[85] = enableVertexTextureCoords ? 1 : 0;

    const size_t n = listLength > 0 ? size_t(listLength) : 0;
    const size_t m = indexListLength > 0 ? size_t(indexListLength) : 0;
    bool ok = std::fwrite(head, 1, kHeadSize, stream) == kHeadSize && writeWords(stream, vertexList, 3 * n) &&
              (!enableVertexNormals || writeWords(stream, normalList, 3 * n)) &&
              (!enableVertexColors || writeWords(stream, colorList, 4 * n)) &&
              (!enableVertexTextureCoords || writeWords(stream, textureCoordList, 3 * n)) &&
              (!enableIndex || writeWords(stream, indexList, m));
    if (!ok) printf("writeToFile: write failed\n");
}

void zoShape::readFromFile(FILE* stream) {
    // The whole record is read and checked into temporaries first; the shape
    // changes only once all of it has arrived and every array has memory.
    unsigned char head[kHeadSize];
    if (std::fread(head, 1, kHeadSize, stream) != kHeadSize) {
        printf("readFromFile: record is truncated\n");
        return;
    }
    const unsigned char flagBytes[5] = {head[73], head[78], head[83], head[84], head[85]};
    for (unsigned char f : flagBytes)
        if (f > 1) {
            printf("readFromFile: flag byte is neither 0 nor 1\n");
            return;
        }
    const int n = int32_t(getU32(head + 74));
    const int m = int32_t(getU32(head + 79));
    if (n < 0 || m < 0) {
        printf("readFromFile: negative vertex or index count\n");
        return;
    }
    const bool picking = head[73], index = head[78], normals = head[83], colors = head[84], texture = head[85];

    const unsigned long long un = (unsigned long long)n;
    const unsigned long long need = 12 * un + (normals ? 12 * un : 0) + (colors ? 16 * un : 0) +
                                    (texture ? 12 * un : 0) + (index ? 4 * (unsigned long long)m : 0);
    const long long left = bytesLeft(stream);
    if (left >= 0 && need > (unsigned long long)left) {
        printf("readFromFile: counts are larger than the rest of the stream\n");
        return;
    }

    void* got[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};  // vertices, normals, colours, texture, index
    const size_t words[5] = {size_t(3 * un), normals ? size_t(3 * un) : 0, colors ? size_t(4 * un) : 0,
                             texture ? size_t(3 * un) : 0, index ? size_t(m) : 0};
    ReadStatus status = readOk;
    for (int i = 0; i < 5 && status == readOk; ++i) status = readWords(stream, words[i], &got[i]);

    // Real and screen positions keep the entries that exist; new ones start
    // at (0, 0, 0), as addPoint gives them, until the next draw.
    zoVec3f* abs = nullptr;
    zoVec3f* screen = nullptr;
    int* counts = nullptr;
    if (status == readOk && n > 0) {
        abs = newArray<zoVec3f>(size_t(n));
        screen = newArray<zoVec3f>(size_t(n));
        counts = normals ? newArray<int>(size_t(n)) : nullptr;
        if (!abs || !screen || (normals && !counts)) status = readNoMemory;
    }
    if (status != readOk) {
        for (void* p : got) std::free(p);
        std::free(abs);
        std::free(screen);
        std::free(counts);
        printf(status == readShort ? "readFromFile: record is truncated\n" : "readFromFile: out of memory\n");
        return;
    }
    const int keep = listLength < n ? listLength : n;
    for (int i = 0; i < n; ++i) {
        if (i < keep) {
            abs[i] = absVertexList[i];
            screen[i] = screenVertexList[i];
        } else {
            abs[i].set(0, 0, 0);
            screen[i].set(0, 0, 0);
        }
    }
    if (counts) {
        // The counters exist for the old vertices only while normals were on.
        const int keepCounts = enableVertexNormals ? keep : 0;
        for (int i = 0; i < n; ++i) counts[i] = i < keepCounts ? normalCountList[i] : 0;
    }

    // Commit.
    drawStyle = getU32(head + 0);
    transformOrder = xformOrder(head[4]);
    float f[17];  // Normal, Color, Translation, Scale, Rotation: offsets 5 .. 72
    getFloats(head + 5, f, 17);
    Normal.set(f[0], f[1], f[2]);
    Color.set(f[3], f[4], f[5], f[6]);
    Translation.set(f[7], f[8], f[9]);
    Scale.set(f[10], f[11], f[12]);
    Rotation.set(f[13], f[14], f[15], f[16]);
    enablePicking = picking;
    listLength = n;
    enableIndex = index;
    indexListLength = m;
    enableVertexNormals = normals;
    enableVertexColors = colors;
    enableVertexTextureCoords = texture;

    std::free(vertexList);
    vertexList = static_cast<zoVec3f*>(got[0]);
    std::free(absVertexList);
    absVertexList = abs;
    std::free(screenVertexList);
    screenVertexList = screen;
    // An attribute the record switches off keeps its old array untouched.
    if (normals) {
        std::free(normalList);
        normalList = static_cast<zoVec3f*>(got[1]);
        std::free(normalCountList);
        normalCountList = counts;
    }
    if (colors) {
        std::free(colorList);
        colorList = static_cast<zoVec4f*>(got[2]);
    }
    if (texture) {
        std::free(textureCoordList);
        textureCoordList = static_cast<zoVec3f*>(got[3]);
    }
    if (index) {
        std::free(indexList);
        indexList = static_cast<int*>(got[4]);
    }
}
