// The shape record: exact bytes, round trips, several records in one stream,
// flags cleared by a record, and truncated, hostile and unreadable input that
// must leave the shape exactly as it was.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "shape/zoNiceShapes.h"
#include "shape/zoShape.h"
#include "shape_support.h"

using shapetest::AllocLimit;
using shapetest::FailingAlloc;
using shapetest::Snapshot;
using shapetest::stdoutOf;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes recordOf(zoShape& s) {
    char* buf = nullptr;
    size_t len = 0;
    FILE* f = open_memstream(&buf, &len);
    std::string out = stdoutOf([&] { s.writeToFile(f); });
    EXPECT_EQ(out, "");
    std::fclose(f);
    Bytes b(buf, buf + len);
    std::free(buf);
    return b;
}

// A seekable stream holding the bytes, positioned at the start.
FILE* seekable(const Bytes& b) {
    FILE* f = std::tmpfile();
    if (!b.empty()) std::fwrite(b.data(), 1, b.size(), f);
    std::rewind(f);
    return f;
}

// A stream that cannot be measured: the read end of a pipe holding the bytes.
FILE* pipeOf(const Bytes& b) {
    int fd[2];
    if (pipe(fd) != 0) return nullptr;
    EXPECT_LT(b.size(), 60000u);  // must fit the pipe's buffer
    if (!b.empty()) {
        EXPECT_EQ(write(fd[1], b.data(), b.size()), ssize_t(b.size()));
    }
    close(fd[1]);
    return fdopen(fd[0], "rb");
}

std::string readInto(zoShape& s, FILE* f) {
    std::string out = stdoutOf([&] { s.readFromFile(f); });
    return out;
}

void putU32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (unsigned char)(v >> (8 * i));
}

Bytes fromHex(const char* hex) {
    Bytes b;
    for (const char* p = hex; *p; ++p) {
        if (*p == ' ') continue;
        unsigned v;
        std::sscanf(p, "%2x", &v);
        b.push_back((unsigned char)v);
        ++p;
    }
    return b;
}

// A shape with every attribute, an index list and non-default settings.
void fillRich(zoShape& s) {
    s.enablePerVertexTextureCoords();
    s.drawStyle = 6;
    s.transformOrder = zo_S_T_R;
    s.Normal.set(0, 1, 0);
    s.Color.set(0.5f, 0.25f, 0.125f, 0.75f);
    s.Translation.set(-1, 2.5f, 1e-30f);
    s.Scale.set(3, 4, -0.0f);
    s.Rotation.set(45, 1, 0, 0);
    s.enablePicking = false;
    for (int i = 0; i < 4; ++i) {
        s.addPoint(float(i), float(i) * 0.1f, -float(i));
        s.setVertexColor(i, 0.1f * i, 0.2f, 0.3f, 1);
        s.normalList[i].set(0, 0, float(i));
        s.textureCoordList[i].set(float(i), 1, 2);
    }
    for (int e : {0, 1, 2, -1, 3, 0, 1}) s.addIndex(e);
}

// Every stored field and array, bit for bit.
void expectSameStoredContent(const zoShape& a, const zoShape& b) {
    EXPECT_EQ(a.drawStyle, b.drawStyle);
    EXPECT_EQ(a.transformOrder, b.transformOrder);
    EXPECT_EQ(std::memcmp(&a.Normal, &b.Normal, 12), 0);
    EXPECT_EQ(std::memcmp(&a.Color, &b.Color, 16), 0);
    EXPECT_EQ(std::memcmp(&a.Translation, &b.Translation, 12), 0);
    EXPECT_EQ(std::memcmp(&a.Scale, &b.Scale, 12), 0);
    EXPECT_EQ(std::memcmp(&a.Rotation, &b.Rotation, 16), 0);
    EXPECT_EQ(a.enablePicking, b.enablePicking);
    ASSERT_EQ(a.listLength, b.listLength);
    EXPECT_EQ(a.enableIndex, b.enableIndex);
    ASSERT_EQ(a.indexListLength, b.indexListLength);
    ASSERT_EQ(a.enableVertexNormals, b.enableVertexNormals);
    ASSERT_EQ(a.enableVertexColors, b.enableVertexColors);
    ASSERT_EQ(a.enableVertexTextureCoords, b.enableVertexTextureCoords);
    size_t n = size_t(a.listLength);
    EXPECT_EQ(std::memcmp(a.vertexList, b.vertexList, 12 * n), 0);
    if (a.enableVertexNormals) {
        EXPECT_EQ(std::memcmp(a.normalList, b.normalList, 12 * n), 0);
    }
    if (a.enableVertexColors) {
        EXPECT_EQ(std::memcmp(a.colorList, b.colorList, 16 * n), 0);
    }
    if (a.enableVertexTextureCoords) {
        EXPECT_EQ(std::memcmp(a.textureCoordList, b.textureCoordList, 12 * n), 0);
    }
    if (a.enableIndex) {
        EXPECT_EQ(std::memcmp(a.indexList, b.indexList, 4 * size_t(a.indexListLength)), 0);
    }
}

TEST(ShapeFile, EmptyShapeIsTheExactHead) {
    zoShape s(false, false, false);
    Bytes want = fromHex(
        "03000000 01"
        "00000000 00000000 0000803f"
        "0000803f 0000803f 0000803f 0000803f"
        "00000000 00000000 00000000"
        "0000803f 0000803f 0000803f"
        "00000000 00000000 0000803f 00000000"
        "01 00000000 00 00000000 00 00 00");
    ASSERT_EQ(want.size(), 86u);
    EXPECT_EQ(recordOf(s), want);
}

TEST(ShapeFile, MeshRecordSizeAndLayout) {
    zoMeshShape mesh(60, 60);
    Bytes b = recordOf(mesh);
    ASSERT_EQ(b.size(), 172642u);
    EXPECT_EQ(b[0], 5);                                        // triangle strip
    EXPECT_EQ(std::memcmp(&b[74], "\x10\x0e\x00\x00", 4), 0);  // n = 3600
    EXPECT_EQ(std::memcmp(&b[79], "\xe3\x1b\x00\x00", 4), 0);  // m = 7139
    EXPECT_EQ(b[78], 1);
    EXPECT_EQ(b[83], 1);
    EXPECT_EQ(b[84], 1);
    EXPECT_EQ(b[85], 0);
    // The second vertex (0, 1, 0) right after the head; the first index
    // entries after the three arrays; the last entry is the separator.
    EXPECT_EQ(Bytes(b.begin() + 86 + 12, b.begin() + 86 + 24), fromHex("00000000 0000803f 00000000"));
    size_t index = 86 + 43200 + 43200 + 57600;
    EXPECT_EQ(Bytes(b.begin() + index, b.begin() + index + 8), fromHex("00000000 3c000000"));
    EXPECT_EQ(Bytes(b.end() - 4, b.end()), fromHex("ffffffff"));
}

TEST(ShapeFile, RoundTripIntoFreshShape) {
    zoShape s(true, true, true);
    fillRich(s);
    Bytes b = recordOf(s);
    EXPECT_EQ(b.size(), 86u + 4 * (12 + 12 + 16 + 12) + 7 * 4);
    zoShape fresh(false, false, false);
    FILE* f = seekable(b);
    EXPECT_EQ(readInto(fresh, f), "");
    EXPECT_EQ(std::ftell(f), long(b.size()));
    std::fclose(f);
    expectSameStoredContent(s, fresh);
    EXPECT_EQ(recordOf(fresh), b);
    // Real and screen positions exist for every vertex (the next draw sets them).
    EXPECT_VEC3(fresh.absVertexList[3], 0, 0, 0);
    EXPECT_VEC3(fresh.screenVertexList[3], 0, 0, 0);
    EXPECT_EQ(fresh.normalCountList[3], 0);
}

TEST(ShapeFile, RoundTripThroughStreamThatCannotSeek) {
    zoMeshShape mesh(5, 4);
    Bytes b = recordOf(mesh);
    zoShape fresh(false, false, false);
    FILE* f = pipeOf(b);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(readInto(fresh, f), "");
    std::fclose(f);
    expectSameStoredContent(mesh, fresh);
}

TEST(ShapeFile, TwoShapesInOneStream) {
    zoShape a(true, true, true);
    fillRich(a);
    zoMeshShape b(3, 2);
    char* buf = nullptr;
    size_t len = 0;
    FILE* w = open_memstream(&buf, &len);
    a.writeToFile(w);
    b.writeToFile(w);
    std::fclose(w);
    Bytes all(buf, buf + len);
    std::free(buf);
    FILE* r = seekable(all);
    zoShape ra(false, false, false), rb(false, false, false);
    EXPECT_EQ(readInto(ra, r), "");
    EXPECT_EQ(readInto(rb, r), "");
    // Nothing is left; a third read finds no record and changes nothing.
    Snapshot before(rb);
    EXPECT_EQ(readInto(rb, r), "readFromFile: record is truncated\n");
    EXPECT_TRUE(Snapshot(rb).same(before));
    std::fclose(r);
    expectSameStoredContent(a, ra);
    expectSameStoredContent(b, rb);
}

TEST(ShapeFile, ClearedFlagKeepsTheOldArray) {
    zoShape target(true, false, false);
    target.addPoint(1, 1, 1);
    target.addPoint(2, 2, 2);
    target.setVertexColor(1, 0.5f, 0.5f, 0.5f, 0.5f);
    zoVec4f* oldColours = target.colorList;

    zoShape plain(false, false, false);
    for (int i = 0; i < 5; ++i) plain.addPoint(float(i), 0, 0);
    FILE* f = seekable(recordOf(plain));
    EXPECT_EQ(readInto(target, f), "");
    std::fclose(f);
    EXPECT_FALSE(target.enableVertexColors);
    EXPECT_EQ(target.colorList, oldColours);
    EXPECT_EQ(target.colorList[1].x, 0.5f);
    EXPECT_EQ(target.listLength, 5);
    // Off from now on: new points do not grow it.
    target.addPoint();
    EXPECT_EQ(target.colorList, oldColours);
}

// An array kept from before a record switched its flag off survives a failed
// enable with its entries, and a successful one keeps them.
TEST(ShapeFile, KeptArraySurvivesFailedEnable) {
    zoShape target(false, true, false);
    target.addPoint();
    target.addPoint();
    target.normalList[1].set(5, 5, 5);
    zoShape plain(false, false, false);
    plain.addPoint();
    plain.addPoint();
    FILE* f = seekable(recordOf(plain));
    EXPECT_EQ(readInto(target, f), "");
    std::fclose(f);
    ASSERT_FALSE(target.enableVertexNormals);
    {
        AllocLimit limit(1);  // the normals grow, the counters are refused
        EXPECT_EQ(stdoutOf([&] { target.enablePerVertexNormals(); }), "enablePerVertexNormals: out of memory\n");
    }
    EXPECT_FALSE(target.enableVertexNormals);
    ASSERT_NE(target.normalList, nullptr);
    EXPECT_VEC3(target.normalList[1], 5, 5, 5);
    target.enablePerVertexNormals();
    EXPECT_TRUE(target.enableVertexNormals);
    EXPECT_VEC3(target.normalList[1], 5, 5, 5);
}

TEST(ShapeFile, IndexCountIsTakenEvenWhenTheListIsOff) {
    zoShape target(false, false, true);
    target.addPoint();
    target.addIndex(0);
    target.addIndex(-1);
    int* oldIndex = target.indexList;
    zoShape source(false, false, false);
    source.addPoint();
    Bytes b = recordOf(source);
    putU32(b, 79, 5);  // m = 5 with the index flag off: no entries follow
    FILE* f = seekable(b);
    EXPECT_EQ(readInto(target, f), "");
    std::fclose(f);
    EXPECT_FALSE(target.enableIndex);
    EXPECT_EQ(target.indexListLength, 5);
    EXPECT_EQ(target.indexList, oldIndex);
    EXPECT_EQ(target.indexList[1], -1);
    // Such a shape writes a record that reads back the same way.
    Bytes again = recordOf(target);
    EXPECT_EQ(again.size(), 86u + 12);
    zoShape fresh(false, false, false);
    f = seekable(again);
    EXPECT_EQ(readInto(fresh, f), "");
    std::fclose(f);
    EXPECT_EQ(fresh.indexListLength, 5);
    EXPECT_EQ(fresh.indexList, nullptr);
}

TEST(ShapeFile, UnknownModeAndOrderAreStoredAsRead) {
    zoShape s(false, false, false);
    s.addPoint(1, 2, 3);
    Bytes b = recordOf(s);
    b[4] = 6;
    putU32(b, 0, 0xDEADBEEF);
    zoShape fresh(false, false, false);
    FILE* f = seekable(b);
    EXPECT_EQ(readInto(fresh, f), "");
    std::fclose(f);
    EXPECT_EQ(fresh.transformOrder, xformOrder(6));
    EXPECT_EQ(fresh.drawStyle, 0xDEADBEEFu);
}

TEST(ShapeFile, RealAndScreenPositionsKeepExistingEntries) {
    zoShape target(false, false, false);
    for (int i = 0; i < 3; ++i) {
        target.addPoint();
        target.absVertexList[i].set(float(i), 7, 7);
        target.screenVertexList[i].set(float(i), 8, 8);
    }
    zoShape two(false, false, false), four(false, false, false);
    for (int i = 0; i < 2; ++i) two.addPoint();
    for (int i = 0; i < 4; ++i) four.addPoint();
    FILE* f = seekable(recordOf(two));
    readInto(target, f);
    std::fclose(f);
    EXPECT_VEC3(target.absVertexList[1], 1, 7, 7);
    EXPECT_VEC3(target.screenVertexList[1], 1, 8, 8);
    f = seekable(recordOf(four));
    readInto(target, f);
    std::fclose(f);
    EXPECT_VEC3(target.absVertexList[1], 1, 7, 7);
    EXPECT_VEC3(target.absVertexList[3], 0, 0, 0);
}

// A target with content of its own, so that any change would show.
void fillTarget(zoShape& t) {
    fillRich(t);
    t.absVertexList[2].set(9, 9, 9);
    t.normalCountList[1] = 3;
}

TEST(ShapeFile, TruncatedRecordsLeaveTheShapeUntouched) {
    zoShape s(true, true, true);
    fillRich(s);
    s.enablePicking = true;
    Bytes full = recordOf(s);
    zoShape t(true, true, true);
    fillTarget(t);
    Snapshot before(t);
    for (size_t cut = 0; cut < full.size(); ++cut) {
        Bytes part(full.begin(), full.begin() + cut);
        // Through a pipe the reader finds out only by running dry.
        FILE* p = pipeOf(part);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(readInto(t, p), "readFromFile: record is truncated\n") << cut;
        std::fclose(p);
        // A seekable stream is measured first when the head is complete.
        FILE* f = seekable(part);
        EXPECT_EQ(readInto(t, f), cut < 86 ? "readFromFile: record is truncated\n"
                                           : "readFromFile: counts are larger than the rest of the stream\n")
            << cut;
        std::fclose(f);
        ASSERT_TRUE(Snapshot(t).same(before)) << "cut at " << cut;
    }
}

TEST(ShapeFile, HostileHeadsAreRejected) {
    zoShape s(true, true, true);
    fillRich(s);
    const Bytes good = recordOf(s);
    zoShape t(true, true, true);
    fillTarget(t);
    Snapshot before(t);
    auto reject = [&](Bytes b, const std::string& message, bool viaPipe) {
        FILE* f = viaPipe ? pipeOf(b) : seekable(b);
        EXPECT_EQ(readInto(t, f), message);
        std::fclose(f);
        EXPECT_TRUE(Snapshot(t).same(before));
    };
    for (size_t at : {73u, 78u, 83u, 84u, 85u})
        for (unsigned char v : {2, 0x80, 0xFF}) {
            Bytes b = good;
            b[at] = v;
            reject(b, "readFromFile: flag byte is neither 0 nor 1\n", false);
        }
    for (size_t at : {74u, 79u})
        for (uint32_t v : {0xFFFFFFFFu, 0x80000000u}) {
            Bytes b = good;
            putU32(b, at, v);
            reject(b, "readFromFile: negative vertex or index count\n", false);
        }
    // More vertices or entries than the stream holds.
    for (uint32_t n : {5u, 1000u, 0x7FFFFFFFu}) {
        Bytes b = good;
        putU32(b, 74, n);
        reject(b, "readFromFile: counts are larger than the rest of the stream\n", false);
    }
    Bytes manyEntries = good;
    putU32(manyEntries, 79, 8);
    reject(manyEntries, "readFromFile: counts are larger than the rest of the stream\n", false);
}

// On a stream that cannot be measured, a huge count costs only as much
// memory as the stream actually delivers before it runs dry.
TEST(ShapeFile, HugeCountOnPipeAllocatesOnlyWhatArrives) {
    zoShape s(false, false, false);
    s.addPoint();
    Bytes b = recordOf(s);
    putU32(b, 74, 0x7FFFFFFF);
    b[83] = b[84] = b[85] = 1;
    zoShape t(true, true, true);
    fillTarget(t);
    Snapshot before(t);
    FILE* f = pipeOf(b);
    {
        AllocLimit unlimited(1000);
        EXPECT_EQ(readInto(t, f), "readFromFile: record is truncated\n");
        ASSERT_FALSE(FailingAlloc::sizes.empty());
        for (size_t bytes : FailingAlloc::sizes) EXPECT_LE(bytes, size_t(1) << 16);
    }
    std::fclose(f);
    EXPECT_TRUE(Snapshot(t).same(before));
}

TEST(ShapeFile, OutOfMemoryLeavesTheShapeUntouched) {
    zoShape s(true, true, true);
    fillRich(s);
    const Bytes good = recordOf(s);
    zoShape t(true, true, true);
    fillTarget(t);
    Snapshot before(t);
    // Five arrays and three position and counter arrays: eight allocations.
    int allowed = 0;
    for (;; ++allowed) {
        FILE* f = seekable(good);
        std::string out;
        {
            AllocLimit limit(allowed);
            out = readInto(t, f);
        }
        std::fclose(f);
        if (out.empty()) break;
        EXPECT_EQ(out, "readFromFile: out of memory\n") << allowed;
        ASSERT_TRUE(Snapshot(t).same(before)) << allowed;
        ASSERT_LT(allowed, 20);
    }
    EXPECT_EQ(allowed, 8);
    expectSameStoredContent(s, t);
}

TEST(ShapeFile, FailedWriteIsReported) {
    zoShape s(true, true, true);
    fillRich(s);
    char buf[16] = {};
    FILE* readOnly = fmemopen(buf, sizeof buf, "r");
    ASSERT_NE(readOnly, nullptr);
    EXPECT_EQ(stdoutOf([&] { s.writeToFile(readOnly); }), "writeToFile: write failed\n");
    std::fclose(readOnly);

    FILE* full = std::fopen("/dev/full", "wb");
    if (full) {
        std::setvbuf(full, nullptr, _IONBF, 0);
        EXPECT_EQ(stdoutOf([&] { s.writeToFile(full); }), "writeToFile: write failed\n");
        std::fclose(full);
    }
}

}  // namespace

namespace {

// fopen's answer for a missing file is refused with one line, and the shape
// keeps everything it had.
TEST(ShapeFile, NullStreamsAreRefused) {
    zoShape t(true, true, true);
    fillTarget(t);
    Snapshot before(t);
    EXPECT_EQ(stdoutOf([&] { t.readFromFile(nullptr); }), "readFromFile: stream is null\n");
    EXPECT_FALSE(zoShapeRecordAccepted());
    EXPECT_TRUE(Snapshot(t).same(before));
    EXPECT_EQ(stdoutOf([&] { t.writeToFile(nullptr); }), "writeToFile: stream is null\n");
    EXPECT_FALSE(zoShapeRecordAccepted());
    EXPECT_TRUE(Snapshot(t).same(before));
}

// The outcome of the last read or write, accepted or refused, with each
// refusal following an acceptance so that a value left standing would show.
TEST(ShapeFile, TheLastRecordsOutcomeCanBeAsked) {
    zoShape s(true, true, true);
    fillRich(s);
    const Bytes good = recordOf(s);
    EXPECT_TRUE(zoShapeRecordAccepted());

    zoShape t(false, false, false);
    auto readBytes = [&](const Bytes& b) {
        FILE* f = seekable(b);
        std::string said = readInto(t, f);
        std::fclose(f);
        return said;
    };
    EXPECT_EQ(readBytes(good), "");
    EXPECT_TRUE(zoShapeRecordAccepted());
    expectSameStoredContent(s, t);

    Bytes flag = good;
    flag[73] = 2;
    EXPECT_EQ(readBytes(flag), "readFromFile: flag byte is neither 0 nor 1\n");
    EXPECT_FALSE(zoShapeRecordAccepted());

    EXPECT_EQ(readBytes(good), "");
    ASSERT_TRUE(zoShapeRecordAccepted());
    EXPECT_EQ(readBytes(Bytes(good.begin(), good.end() - 1)),
              "readFromFile: counts are larger than the rest of the stream\n");
    EXPECT_FALSE(zoShapeRecordAccepted());

    // Two records in one stream, the second cut short: the first is taken.
    Bytes two = good;
    two.insert(two.end(), good.begin(), good.begin() + 100);
    FILE* f = pipeOf(two);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(readInto(t, f), "");
    EXPECT_TRUE(zoShapeRecordAccepted());
    EXPECT_EQ(readInto(t, f), "readFromFile: record is truncated\n");
    EXPECT_FALSE(zoShapeRecordAccepted());
    std::fclose(f);

    {
        AllocLimit none(0);
        FILE* g = seekable(good);
        EXPECT_EQ(readInto(t, g), "readFromFile: out of memory\n");
        std::fclose(g);
    }
    EXPECT_FALSE(zoShapeRecordAccepted());
}

// A buffered stream takes a record whether or not the device has room; the
// write must still find out and say so.
TEST(ShapeFile, AWriteToAFullDeviceIsRefused) {
    zoShape s(true, true, true);
    fillRich(s);
    FILE* full = std::fopen("/dev/full", "wb");
    if (!full) GTEST_SKIP() << "no /dev/full";
    recordOf(s);
    ASSERT_TRUE(zoShapeRecordAccepted());
    EXPECT_EQ(stdoutOf([&] { s.writeToFile(full); }), "writeToFile: write failed\n");
    EXPECT_FALSE(zoShapeRecordAccepted());
    std::fclose(full);

    // The same record to a stream with room is accepted, and is all there
    // once the write returns: the record is flushed, not left in the buffer.
    char path[] = "/tmp/test_shape_file_XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    FILE* out = fdopen(fd, "wb");
    EXPECT_EQ(stdoutOf([&] { s.writeToFile(out); }), "");
    EXPECT_TRUE(zoShapeRecordAccepted());
    FILE* in = std::fopen(path, "rb");
    ASSERT_NE(in, nullptr);
    zoShape t(false, false, false);
    EXPECT_EQ(readInto(t, in), "");
    EXPECT_TRUE(zoShapeRecordAccepted());
    expectSameStoredContent(s, t);
    std::fclose(in);
    std::fclose(out);
    std::remove(path);
}

}  // namespace
