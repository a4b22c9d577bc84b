// Scene objects and the polygonal shape.
//
// A zoShape keeps its vertices in three spaces: local (vertexList), real, that
// is world coordinates after the framework's transform stack (absVertexList,
// what OpenGL receives and normals are computed from), and screen, window
// pixels from the viewport's lower-left corner plus depth (screenVertexList,
// what hit tests use). Drawing refreshes the last two.
#pragma once

#include <cstddef>
#include <cstdio>

#include "math/zoMatrix4f.h"
#include "math/zoVec3f.h"
#include "math/zoVec4f.h"

// Order in which a shape's translation (T), rotation (R) and scale (S) are
// composed: the letters name the calls in the order they are made.
enum xformOrder : unsigned char { zo_T_S_R = 0, zo_T_R_S, zo_R_S_T, zo_R_T_S, zo_S_R_T, zo_S_T_R };

class zoObject {
public:
    virtual void draw() {}
    virtual void idle() {}
    virtual bool pointInside(float x, float y) { (void)x; (void)y; return false; }
    virtual bool shapeInRect(float left, float bottom, float right, float top, bool any) {
        (void)left; (void)bottom; (void)right; (void)top; (void)any;
        return false;
    }
    virtual bool shapeInCircle(float cx, float cy, float radius, bool any) {
        (void)cx; (void)cy; (void)radius; (void)any;
        return false;
    }
    virtual void mouseDown(float x, float y, int button) { (void)x; (void)y; (void)button; }
    virtual void mouseUp(float x, float y, int button) { (void)x; (void)y; (void)button; }
    virtual void mouseMove(float x, float y) { (void)x; (void)y; }
    virtual void mouseDrag(float x, float y) { (void)x; (void)y; }
    virtual void keyDown(char key) { (void)key; }
    virtual void specialKeyDown(int key) { (void)key; }
    virtual void writeToFile(FILE* stream) { (void)stream; }
    virtual void readFromFile(FILE* stream) { (void)stream; }
    virtual unsigned int getTypeID() { return 0x6E6F6E65; }  // "none"
    // After the fourteen operations above, so their order is unchanged.
    virtual ~zoObject() {}
};

class zoShape : public zoObject {
public:
    unsigned int drawStyle;  // OpenGL primitive mode, 0 GL_POINTS .. 9 GL_POLYGON
    xformOrder transformOrder;
    zoVec3f Normal;
    zoVec4f Color;
    zoVec3f Translation;
    zoVec3f Scale;
    zoVec4f Rotation;  // angle in degrees, then the axis
    bool enablePicking;
    zoMatrix4f space;
    int listLength;
    zoVec3f* vertexList;
    zoVec3f* absVertexList;
    zoVec3f* screenVertexList;
    zoVec3f* normalList;
    zoVec3f* textureCoordList;
    zoVec4f* colorList;
    bool enableIndex;
    int indexListLength;
    int* indexList;  // vertex numbers; -1 ends one primitive and starts the next
    int* normalCountList;
    bool enableVertexNormals;
    bool enableVertexColors;
    bool enableVertexTextureCoords;

    zoShape(bool vertexColors, bool vertexNormals, bool index);
    // The program keeps its shapes to the end; a shape that is destroyed
    // releases its arrays. A copy would share them, so there is none.
    ~zoShape() override;
    zoShape(const zoShape&) = delete;
    zoShape& operator=(const zoShape&) = delete;

    void draw() override;
    void idle() override {}
    bool pointInside(float x, float y) override;
    bool shapeInRect(float left, float bottom, float right, float top, bool any) override;
    bool shapeInCircle(float cx, float cy, float radius, bool any) override;
    void writeToFile(FILE* stream) override;
    void readFromFile(FILE* stream) override;
    unsigned int getTypeID() override { return 0x73686170; }  // "shap"

    int addPoint();
    int addPoint(float x, float y, float z);
    void addIndex(int index);
    void setVertex(int index, float x, float y, float z);
    void setVertexColor(int index, float r, float g, float b, float a);
    void enablePerVertexColors();
    void enablePerVertexNormals();
    void enablePerVertexTextureCoords();
    void calculateNormals();

protected:
    static float pickTolerance;  // pick distance in pixels
};

// Every array of a shape is obtained, grown and cut through this function,
// which behaves as realloc and is realloc (arrays are released with free).
// Tests point it at an allocator that fails on demand, to check that a shape
// survives exhausted memory unchanged.
extern void* (*zoShapeRealloc)(void* block, size_t bytes);

// True when (x, y) lies in the screen triangle p, q, r (either winding, edges
// included); false when any corner's depth is below 0.
bool pointInTriangle(float x, float y, zoVec3f& p, zoVec3f& q, zoVec3f& r);
