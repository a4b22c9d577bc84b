// zoShape: its fields and how they grow. Every array is sized to exactly its
// entry count and grows by one entry per added point or index.
//
// Messages go to standard output with printf, one line each, beginning with the
// operation's name. After an error the operation returns with the shape as it
// was; after a warning it carries on.
#include "shape/zoShape.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

void* (*zoShapeRealloc)(void* block, size_t bytes) = std::realloc;

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

