// zoShape: the binary record, a packed little-endian head of 86 bytes followed
// by the arrays its flags name. A record is read whole into temporaries and
// checked before the shape takes it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shape/zoShape.h"

static_assert(sizeof(zoVec3f) == 12 && sizeof(zoVec4f) == 16,
              "vertex arrays are read and written as packed runs of floats");

namespace {

// A fresh array of count elements, or null (also for count 0).
template <class T>
T* newArray(size_t count) {
    return count ? static_cast<T*>(zoShapeRealloc(nullptr, count * sizeof(T))) : nullptr;
}

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

// What the last writeToFile or readFromFile of any shape made of its record.
static bool lastRecordAccepted = false;

bool zoShapeRecordAccepted() { return lastRecordAccepted; }

void zoShape::writeToFile(FILE* stream) {
    lastRecordAccepted = false;
    if (!stream) {
        printf("writeToFile: stream is null\n");
        return;
    }
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
    // A buffered stream takes the bytes whether or not the device has room
    // for them (a full disk, /dev/full): only the flush tells.
    ok = ok && std::fflush(stream) == 0;
    if (!ok) {
        printf("writeToFile: write failed\n");
        return;
    }
    lastRecordAccepted = true;
}

void zoShape::readFromFile(FILE* stream) {
    lastRecordAccepted = false;
    // fopen's answer for a missing file.
    if (!stream) {
        printf("readFromFile: stream is null\n");
        return;
    }
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
    lastRecordAccepted = true;
}
