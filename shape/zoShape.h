/// \file
/// Scene objects and the polygonal shape.
///
/// A zoShape keeps its vertices in three spaces: local (vertexList), real, that
/// is world coordinates after the framework's transform stack (absVertexList,
/// what OpenGL receives and normals are computed from), and screen, window
/// pixels from the viewport's lower-left corner plus depth (screenVertexList,
/// what hit tests use). Drawing refreshes the last two, so the hit tests answer
/// for the picture as last drawn.
///
/// A new shape draws as a white GL_LINE_STRIP with the identity transform. Its
/// drawStyle is an OpenGL primitive mode, read with OpenGL's rules by drawing,
/// hit testing and normal calculation alike; -1 in the index list ends one
/// primitive and starts the next.
///
/// The shape layer reports on standard output: one line per problem, beginning
/// with the operation's name ("setVertex: index is out of bounds"). After an
/// error the operation returns with the shape as it was; after a warning it
/// carries on. Nothing throws.
#pragma once

#include <cstddef>
#include <cstdio>

#include "math/zoMatrix4f.h"
#include "math/zoVec3f.h"
#include "math/zoVec4f.h"

/// Order in which a shape's translation (T), rotation (R) and scale (S) are
/// composed: the letters name the calls in the order they are made. Each call
/// post-multiplies, so the last one acts first on a vertex: zo_T_R_S scales,
/// then rotates, then translates. A value outside 0..5 (possible only from a
/// file) composes no transform.
enum xformOrder : unsigned char {
    zo_T_S_R = 0,  ///< Translate, scale, rotate.
    zo_T_R_S,      ///< Translate, rotate, scale: a new shape's order.
    zo_R_S_T,      ///< Rotate, scale, translate.
    zo_R_T_S,      ///< Rotate, translate, scale.
    zo_S_R_T,      ///< Scale, rotate, translate.
    zo_S_T_R       ///< Scale, translate, rotate.
};

/// The root of the scene-object tree: virtual hooks to draw an object, give
/// it idle time, test it against the pointer or an area, pass it input, save
/// and load it, and name its kind. Every default does nothing or answers
/// false. The framework delivers no events to scene objects: an application
/// forwards what it wants to.
class zoObject {
public:
    /// Draws the object; does nothing here.
    virtual void draw() {}
    /// Idle time; does nothing here.
    virtual void idle() {}
    /// Whether the window point (x, y) hits the object; false here.
    virtual bool pointInside(float x, float y) { (void)x; (void)y; return false; }
    /// Whether the object lies in the window rectangle; false here.
    virtual bool shapeInRect(float left, float bottom, float right, float top, bool any) {
        (void)left; (void)bottom; (void)right; (void)top; (void)any;
        return false;
    }
    /// Whether the object lies in the window circle; false here.
    virtual bool shapeInCircle(float cx, float cy, float radius, bool any) {
        (void)cx; (void)cy; (void)radius; (void)any;
        return false;
    }
    /// A button press for the object to handle; does nothing here.
    virtual void mouseDown(float x, float y, int button) { (void)x; (void)y; (void)button; }
    /// A button release; does nothing here.
    virtual void mouseUp(float x, float y, int button) { (void)x; (void)y; (void)button; }
    /// Motion with no button held; does nothing here.
    virtual void mouseMove(float x, float y) { (void)x; (void)y; }
    /// Motion with a button held; does nothing here.
    virtual void mouseDrag(float x, float y) { (void)x; (void)y; }
    /// A character key; does nothing here.
    virtual void keyDown(char key) { (void)key; }
    /// A non-character key (GLUT's code); does nothing here.
    virtual void specialKeyDown(int key) { (void)key; }
    /// Writes the object's record to the stream; writes nothing here.
    virtual void writeToFile(FILE* stream) { (void)stream; }
    /// Reads the object's record from the stream; reads nothing here.
    virtual void readFromFile(FILE* stream) { (void)stream; }
    /// The object's kind as four characters, the first in the most significant
    /// byte: 0x6E6F6E65, "none", here.
    virtual unsigned int getTypeID() { return 0x6E6F6E65; }  // "none"
    /// After the fourteen operations above, so their order is unchanged.
    virtual ~zoObject() {}
};

/// A polygonal shape: vertices with optional per-vertex normals, colours and
/// texture coordinates, an optional index list, an OpenGL primitive mode and
/// a model transform. The fields are public; the arrays hold #listLength
/// entries (#indexListLength for the index list) and belong to the shape.
class zoShape : public zoObject {
public:
    /// OpenGL primitive mode handed to glBegin, 0 GL_POINTS .. 9 GL_POLYGON;
    /// GL_LINE_STRIP (3) in a new shape. Quads and quad strips are drawn but
    /// never hit and get no face normals.
    unsigned int drawStyle;
    /// Order of the model transform's three calls; zo_T_R_S in a new shape.
    xformOrder transformOrder;
    /// Normal sent once before the vertices of every draw, so it lights every
    /// vertex when per-vertex normals are off; (0, 0, 1) in a new shape.
    zoVec3f Normal;
    /// Colour (red, green, blue, alpha, 0 to 1) sent once before the vertices
    /// of every draw, for every vertex when per-vertex colours are off; white
    /// (1, 1, 1, 1) in a new shape. Under the frame's colour material it is
    /// also the lit material's ambient and diffuse colour.
    zoVec4f Color;
    /// Translation of the model transform, in the units of the stack's current
    /// matrix (pixels under the outermost camera with nothing else composed);
    /// (0, 0, 0) in a new shape.
    zoVec3f Translation;
    /// Scale factors of the model transform; (1, 1, 1) in a new shape.
    zoVec3f Scale;
    /// Rotation of the model transform: x is the angle in degrees, (y, z, w)
    /// the axis; (0, 0, 1, 0) in a new shape, angle 0 about the y axis.
    zoVec4f Rotation;
    /// Whether draw() also computes every vertex's screen position, which the
    /// hit tests use; true in a new shape.
    bool enablePicking;
    /// The stack's current matrix as the last draw() left it, after the
    /// shape's own transform; the identity until then. No shape operation reads it.
    zoMatrix4f space;
    /// Number of vertices; 0 in a new shape. Grows only, except by readFromFile().
    int listLength;
    /// Local (model-space) positions.
    zoVec3f* vertexList;
    /// Real (world) positions as of the last draw(); (0, 0, 0) for a vertex
    /// not drawn yet.
    zoVec3f* absVertexList;
    /// Screen positions as of the last draw() with picking on: window pixels
    /// from the viewport's lower-left corner, y up, and the depth of
    /// zoTransformRealToScreen; (0, 0, 0) for a vertex not drawn yet.
    zoVec3f* screenVertexList;
    /// Per-vertex normals in real coordinates while #enableVertexNormals,
    /// recomputed by every draw(); (0, 0, 1) for a new vertex.
    zoVec3f* normalList;
    /// Per-vertex texture coordinates while #enableVertexTextureCoords (x and y
    /// are drawn, z only stored); (0, 0, 0) for a new vertex, and no setter:
    /// they come from a file or are written here directly.
    zoVec3f* textureCoordList;
    /// Per-vertex colours while #enableVertexColors; white for a new vertex.
    zoVec4f* colorList;
    /// Whether drawing, hit tests and normals walk #indexList instead of the
    /// vertices in order; the constructor's third argument.
    bool enableIndex;
    /// Number of entries of #indexList; 0 in a new shape.
    int indexListLength;
    /// Vertex numbers; -1 ends one primitive and starts the next. An entry
    /// outside -1 .. listLength - 1 is passed over by drawing, hit tests and
    /// normals.
    int* indexList;
    /// Per vertex, how many faces the last calculateNormals() averaged.
    int* normalCountList;
    /// Whether per-vertex normals are stored, recomputed at every draw() and
    /// drawn; the constructor's second argument.
    bool enableVertexNormals;
    /// Whether per-vertex colours are stored and drawn; the constructor's first argument.
    bool enableVertexColors;
    /// Whether per-vertex texture coordinates are stored and drawn (only
    /// together with per-vertex normals); false in a new shape.
    bool enableVertexTextureCoords;

    /// A shape with no vertices and the defaults given with each field; the
    /// arguments switch on per-vertex colours, per-vertex normals and the index
    /// list. Nothing is allocated.
    zoShape(bool vertexColors, bool vertexNormals, bool index);
    /// The program keeps its shapes to the end; a shape that is destroyed
    /// releases its arrays. A copy would share them, so there is none.
    ~zoShape() override;
    /// Not copyable: the arrays would be shared.
    zoShape(const zoShape&) = delete;
    /// Not assignable: the arrays would be shared.
    zoShape& operator=(const zoShape&) = delete;

    /// Draws with OpenGL immediate mode: composes the model transform on the
    /// framework's stack (which it leaves as it found it), transforms every
    /// vertex to real and, with picking on, screen coordinates, recomputes the
    /// normals when they are on, and sends the real positions with their
    /// attributes. OpenGL's matrices and state are not touched. Needs a current
    /// GL context, outside glBegin/glEnd, and the camera captured
    /// (zoTransformsCaptureCamera) for screen positions: the first draw with
    /// picking on while the camera is still all zero prints a warning, once per
    /// process. An enabled but empty index list prints "zoShape::draw: no shape
    /// is drawing because index list is empty" on every draw.
    void draw() override;
    /// Does nothing.
    void idle() override {}
    /// Whether the window point (x, y), in pixels from the bottom-left, hits the
    /// shape as last drawn: points and lines within 5 pixels (strictly), the
    /// triangles of triangles, strips, fans and polygons (a polygon as a fan
    /// around its first vertex) inside or on an edge, the closing segment of a
    /// line loop included. Quads, quad strips, triangles of no area on screen
    /// and triangles with a corner of negative depth are never hit, nor is a
    /// primitive with a vertex whose screen position is not finite (the camera
    /// was not captured); with #enablePicking off nothing is.
    bool pointInside(float x, float y) override;
    /// With any: whether some vertex lies strictly inside the window rectangle.
    /// Without: whether every vertex lies inside or on its border (true for a
    /// shape with no vertices). A vertex whose screen position is not finite
    /// is never inside. Reads the screen positions of the last draw; ignores
    /// #enablePicking and #drawStyle.
    bool shapeInRect(float left, float bottom, float right, float top, bool any) override;
    /// As shapeInRect(), for the circle of the given centre and radius in pixels.
    bool shapeInCircle(float cx, float cy, float radius, bool any) override;
    /// Writes the shape as one binary record at the stream's position (opened
    /// in binary mode by the caller; flushed, not closed): an 86-byte
    /// little-endian head with the settings, counts and flags, then the
    /// vertices and whichever of normals, colours, texture coordinates and
    /// indices are on. No padding, no signature: records follow each other in
    /// one stream. Prints "writeToFile: write failed" when the stream takes
    /// less than the whole record or cannot flush it, and "writeToFile: stream
    /// is null" for a null stream. zoShapeRecordAccepted() tells the outcome.
    void writeToFile(FILE* stream) override;
    /// Reads one record written by writeToFile() into this shape, replacing
    /// its settings, counts, flags and arrays. The whole record is read and
    /// checked first: one cut short, with a flag byte other than 0 or 1, with a
    /// negative count or counts larger than the rest of the stream, or that
    /// finds no memory, leaves the shape as it was and prints one line
    /// beginning with "readFromFile:". An attribute the record switches off
    /// keeps its old array, unused. Real and screen positions are kept for the
    /// vertices that existed and are (0, 0, 0) for new ones until the next draw.
    /// A null stream (fopen's answer for a missing file) prints "readFromFile:
    /// stream is null". zoShapeRecordAccepted() tells the outcome.
    void readFromFile(FILE* stream) override;
    /// 0x73686170, "shap" (also for zoMeshShape).
    unsigned int getTypeID() override { return 0x73686170; }  // "shap"

    /// Appends a vertex at (0, 0, 0), with normal (0, 0, 1), white and
    /// texture coordinates (0, 0, 0) for the attributes that are on, and
    /// returns its number. When memory runs out it prints "addPoint: out of
    /// memory", returns -1 and leaves the shape as it was.
    int addPoint();
    /// addPoint() at the local position (x, y, z); the real and screen
    /// positions follow at the next draw().
    int addPoint(float x, float y, float z);
    /// Appends an entry to the index list; -1 separates primitives. With the
    /// index list off it prints "addIndex: index list is not enable in shape"
    /// and appends nothing. A vertex number outside -1 .. listLength - 1 prints
    /// a warning and is stored anyway (drawing passes over it).
    void addIndex(int index);
    /// Sets a vertex's local position; an index outside 0 .. listLength - 1
    /// prints "setVertex: index is out of bounds" and changes nothing.
    void setVertex(int index, float x, float y, float z);
    /// Sets a vertex's colour (0 to 1 each). With per-vertex colours off it
    /// prints "setVertexColor: vertex color is not enabled in shape" (checked
    /// first), with an index out of range "setVertexColor: index is out of
    /// bounds"; either changes nothing.
    void setVertexColor(int index, float r, float g, float b, float a);
    /// Switches per-vertex colours on (there is no switch off): existing
    /// vertices become white, unless an array left from before a file record
    /// switched colours off is still there, which keeps its entries. Prints a
    /// line and changes nothing when memory runs out.
    void enablePerVertexColors();
    /// Switches per-vertex normals on, as enablePerVertexColors(); new entries (0, 0, 1).
    void enablePerVertexNormals();
    /// Switches per-vertex texture coordinates on, as enablePerVertexColors();
    /// new entries (0, 0, 0).
    void enablePerVertexTextureCoords();
    /// Gives every vertex the normalised average of the normals of its faces,
    /// taken from the real positions of the last draw (draw() calls it first
    /// when normals are on). A face's normal is (Q − P) × (R − P), so faces of
    /// GL_TRIANGLES and fans face the side from which they run counter-clockwise.
    /// A triangle strip's normals all face the side from which its first
    /// triangle runs clockwise, the opposite of OpenGL's front face: a strip
    /// whose first three vertices go (0, 0), (1, 0), (0, 1), as a zoMeshShape's
    /// do, gets (0, 0, -1) and faces away from the camera and light 0, so it
    /// shows only ambient light (lighting is one-sided).
    /// GL_POLYGON gives every vertex the normal of its first three entries. A
    /// vertex in no face, and every vertex of points, lines and quads, gets
    /// (0, 0, 1); faceted styles with fewer than three entries leave (0, 0, 0).
    /// With normals off it prints "calculateNormals: vertex normals are not
    /// enabled" and changes nothing.
    void calculateNormals();

protected:
    /// Pick distance of points and lines, in pixels: 5.
    static float pickTolerance;
};

/// Every array of a shape is obtained, grown and cut through this function,
/// which behaves as realloc and is realloc (arrays are released with free).
/// Tests point it at an allocator that fails on demand, to check that a shape
/// survives exhausted memory unchanged.
extern void* (*zoShapeRealloc)(void* block, size_t bytes);

/// Whether the last zoShape::writeToFile() or zoShape::readFromFile() of any
/// shape in the process took its record: true when the whole record was
/// written and flushed, or read and taken by the shape; false when it was
/// refused (a line on standard output says why, and a refused read left the
/// shape as it was). False before the first of them.
bool zoShapeRecordAccepted();

/// True when (x, y) lies in the screen triangle p, q, r (either winding, edges
/// included); false when any corner's depth is below 0. A triangle of no area
/// accepts the points of the line through it (zoShape's tests skip such
/// triangles).
bool pointInTriangle(float x, float y, zoVec3f& p, zoVec3f& q, zoVec3f& r);
