// Helpers for the shape layer's unit tests: capturing the messages on standard
// output, an allocator that fails on demand, and a deep snapshot of a shape to
// check that a failed operation left it exactly as it was.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/fake/fakegl.h"
#include "math/zoTransforms.h"
#include "shape/zoShape.h"

namespace shapetest {

// Everything the body prints on standard output.
inline std::string stdoutOf(const std::function<void()>& body) {
    testing::internal::CaptureStdout();
    body();
    return testing::internal::GetCapturedStdout();
}

// An allocator for zoShapeRealloc that passes the first `allowed` requests to
// realloc and refuses the rest. Sizes of every request are kept.
struct FailingAlloc {
    static int allowed;
    static std::vector<size_t> sizes;
    static void* hook(void* block, size_t bytes) {
        sizes.push_back(bytes);
        if (allowed <= 0) return nullptr;
        --allowed;
        return std::realloc(block, bytes);
    }
};
inline int FailingAlloc::allowed = 0;
inline std::vector<size_t> FailingAlloc::sizes;

// Installs FailingAlloc for the life of the object.
struct AllocLimit {
    explicit AllocLimit(int allowed) {
        FailingAlloc::allowed = allowed;
        FailingAlloc::sizes.clear();
        zoShapeRealloc = FailingAlloc::hook;
    }
    ~AllocLimit() { zoShapeRealloc = std::realloc; }
};

inline void put(std::vector<unsigned char>& out, const void* p, size_t bytes) {
    if (bytes == 0) return;
    const unsigned char* c = static_cast<const unsigned char*>(p);
    out.insert(out.end(), c, c + bytes);
}

// Every field and the contents of every array the flags say are live, plus
// the array pointers.
struct Snapshot {
    std::vector<unsigned char> bytes;
    std::vector<const void*> pointers;
    explicit Snapshot(const zoShape& s) {
        put(bytes, &s.drawStyle, sizeof s.drawStyle);
        put(bytes, &s.transformOrder, 1);
        put(bytes, &s.Normal, sizeof s.Normal);
        put(bytes, &s.Color, sizeof s.Color);
        put(bytes, &s.Translation, sizeof s.Translation);
        put(bytes, &s.Scale, sizeof s.Scale);
        put(bytes, &s.Rotation, sizeof s.Rotation);
        put(bytes, &s.enablePicking, 1);
        put(bytes, &s.listLength, 4);
        put(bytes, &s.enableIndex, 1);
        put(bytes, &s.indexListLength, 4);
        put(bytes, &s.enableVertexNormals, 1);
        put(bytes, &s.enableVertexColors, 1);
        put(bytes, &s.enableVertexTextureCoords, 1);
        size_t n = size_t(s.listLength);
        put(bytes, s.vertexList, 12 * n);
        put(bytes, s.absVertexList, 12 * n);
        put(bytes, s.screenVertexList, 12 * n);
        if (s.enableVertexNormals) {
            put(bytes, s.normalList, 12 * n);
            put(bytes, s.normalCountList, 4 * n);
        }
        if (s.enableVertexColors) put(bytes, s.colorList, 16 * n);
        if (s.enableVertexTextureCoords) put(bytes, s.textureCoordList, 12 * n);
        if (s.enableIndex) put(bytes, s.indexList, 4 * size_t(s.indexListLength));
        pointers = {s.vertexList, s.absVertexList, s.screenVertexList, s.normalList,
                    s.textureCoordList, s.colorList, s.indexList, s.normalCountList};
    }
    bool sameContents(const Snapshot& o) const { return bytes == o.bytes; }
    bool same(const Snapshot& o) const { return bytes == o.bytes && pointers == o.pointers; }
};

// An identity transform stack at height 0, an identity camera over a
// 640 x 480 viewport, and an empty call log.
inline void freshScene() {
    fakegl::reset();
    zoTransformsInit();
    while (zoMatrixHeight > 0) zoPopMatrix();
    cameraMatrix.setIdentity();
    view[0] = 0;
    view[1] = 0;
    view[2] = 640;
    view[3] = 480;
}

inline bool bitsEqual(float a, float b) { return std::memcmp(&a, &b, 4) == 0; }

}  // namespace shapetest

namespace shapetest {

// Exact comparison of a vector with three floats (0 and -0 compare equal).
inline testing::AssertionResult vec3Is(const zoVec3f& v, float x, float y, float z) {
    if (v.x == x && v.y == y && v.z == z) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "got (" << testing::PrintToString(v.x) << ", " << testing::PrintToString(v.y)
                                       << ", " << testing::PrintToString(v.z) << "), want (" << x << ", " << y << ", "
                                       << z << ")";
}

}  // namespace shapetest

#define EXPECT_VEC3(v, ex, ey, ez) EXPECT_TRUE(shapetest::vec3Is((v), float(ex), float(ey), float(ez)))
