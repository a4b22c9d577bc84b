// libFuzzer target for zoShape::readFromFile.
//
// Every input is read twice into a shape that already has content: once from
// a stream that can be measured and once from one that cannot (as a pipe).
// Checked for each read:
//   - rejected (a message was printed): exactly one line "readFromFile: ...",
//     and the shape is exactly as it was, pointers included;
//   - accepted (no message): the shape is self-consistent, writing it again
//     gives back exactly the bytes that were consumed, and drawing, normal
//     calculation and the hit tests run over it (the sanitizers watch every
//     array access);
//   - zoShapeRecordAccepted() says accepted exactly when nothing was printed;
//   - both streams agree on whether the record is accepted.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <unistd.h>

#include "platform/fake/fakegl.h"
#include "math/zoTransforms.h"
#include "shape/zoShape.h"

namespace {

struct Source {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

ssize_t sourceRead(void* cookie, char* buf, size_t n) {
    Source* s = static_cast<Source*>(cookie);
    size_t left = s->size - s->pos;
    if (n > left) n = left;
    std::memcpy(buf, s->data + s->pos, n);
    s->pos += n;
    return ssize_t(n);
}

int sourceSeek(void* cookie, off64_t* offset, int whence) {
    Source* s = static_cast<Source*>(cookie);
    off64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? off64_t(s->pos) : off64_t(s->size);
    off64_t to = base + *offset;
    if (to < 0 || to > off64_t(s->size)) return -1;
    s->pos = size_t(to);
    *offset = to;
    return 0;
}

FILE* openSource(Source* s, bool seekable) {
    cookie_io_functions_t io = {sourceRead, nullptr, seekable ? sourceSeek : nullptr, nullptr};
    return fopencookie(s, "rb", io);
}

void fill(zoShape& s) {
    s.enablePerVertexTextureCoords();
    s.drawStyle = 4;
    for (int i = 0; i < 5; ++i) {
        s.addPoint(float(i), float(i * i), 1);
        s.absVertexList[i].set(float(i), 2, 3);
    }
    for (int e : {0, 1, 2, -1, 3, 4, 0}) s.addIndex(e);
}

struct State {
    unsigned char fields[128];
    size_t fieldBytes;
    const void* pointers[8];
    unsigned char* arrays;
    size_t arrayBytes;
};

void append(unsigned char*& out, size_t& len, const void* p, size_t bytes) {
    if (!bytes) return;
    out = static_cast<unsigned char*>(std::realloc(out, len + bytes));
    std::memcpy(out + len, p, bytes);
    len += bytes;
}

State capture(const zoShape& s) {
    State st{};
    unsigned char* f = nullptr;
    size_t fl = 0;
    append(f, fl, &s.drawStyle, 4);
    append(f, fl, &s.transformOrder, 1);
    append(f, fl, &s.Normal, 12);
    append(f, fl, &s.Color, 16);
    append(f, fl, &s.Translation, 12);
    append(f, fl, &s.Scale, 12);
    append(f, fl, &s.Rotation, 16);
    bool flags[5] = {s.enablePicking, s.enableIndex, s.enableVertexNormals, s.enableVertexColors,
                     s.enableVertexTextureCoords};
    append(f, fl, flags, sizeof flags);
    append(f, fl, &s.listLength, 4);
    append(f, fl, &s.indexListLength, 4);
    if (fl > sizeof st.fields) abort();
    std::memcpy(st.fields, f, fl);
    st.fieldBytes = fl;
    std::free(f);
    const void* p[8] = {s.vertexList, s.absVertexList, s.screenVertexList, s.normalList,
                        s.textureCoordList, s.colorList, s.indexList, s.normalCountList};
    std::memcpy(st.pointers, p, sizeof p);
    size_t n = size_t(s.listLength);
    append(st.arrays, st.arrayBytes, s.vertexList, 12 * n);
    append(st.arrays, st.arrayBytes, s.absVertexList, 12 * n);
    append(st.arrays, st.arrayBytes, s.screenVertexList, 12 * n);
    if (s.enableVertexNormals) {
        append(st.arrays, st.arrayBytes, s.normalList, 12 * n);
        append(st.arrays, st.arrayBytes, s.normalCountList, 4 * n);
    }
    if (s.enableVertexColors) append(st.arrays, st.arrayBytes, s.colorList, 16 * n);
    if (s.enableVertexTextureCoords) append(st.arrays, st.arrayBytes, s.textureCoordList, 12 * n);
    if (s.enableIndex) append(st.arrays, st.arrayBytes, s.indexList, 4 * size_t(s.indexListLength));
    return st;
}

bool sameState(const State& a, const State& b) {
    return a.fieldBytes == b.fieldBytes && std::memcmp(a.fields, b.fields, a.fieldBytes) == 0 &&
           std::memcmp(a.pointers, b.pointers, sizeof a.pointers) == 0 && a.arrayBytes == b.arrayBytes &&
           (a.arrayBytes == 0 || std::memcmp(a.arrays, b.arrays, a.arrayBytes) == 0);
}

// Standard output goes to a scratch file (see LLVMFuzzerInitialize) so that
// each read's messages can be looked at.
void clearMessages() {
    std::fflush(stdout);
    if (ftruncate(fileno(stdout), 0) != 0) abort();
    std::rewind(stdout);
}

// What the read printed: its length, and its start in buf.
size_t messages(char* buf, size_t cap) {
    std::fflush(stdout);
    long len = std::ftell(stdout);
    if (len <= 0) return 0;
    FILE* r = std::fopen("/proc/self/fd/1", "rb");
    if (!r) abort();
    size_t got = std::fread(buf, 1, cap - 1, r);
    std::fclose(r);
    buf[got] = 0;
    return size_t(len);
}

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        abort();
    }
}

// Reads the input through one kind of stream; true when accepted.
bool readOnce(const uint8_t* data, size_t size, bool seekable) {
    zoShape s(true, true, true);
    fill(s);
    State before = capture(s);
    Source src{data, size, 0};
    FILE* f = openSource(&src, seekable);
    check(f != nullptr, "stream opens");
    clearMessages();
    s.readFromFile(f);
    char text[512];
    size_t printed = messages(text, sizeof text);
    size_t consumed = src.pos;  // everything the stream handed over
    long at = seekable ? std::ftell(f) : -1;
    std::fclose(f);

    State after = capture(s);
    bool accepted = printed == 0;
    check(zoShapeRecordAccepted() == accepted, "zoShapeRecordAccepted agrees with the messages");
    if (!accepted) {
        check(std::strncmp(text, "readFromFile: ", 14) == 0, "message names readFromFile");
        check(std::strchr(text, '\n') == text + printed - 1, "exactly one line");
        check(sameState(before, after), "a rejected record leaves the shape as it was");
    } else {
        // Self-consistent: counts are sane, arrays exist where the flags say.
        check(s.listLength >= 0 && s.indexListLength >= 0, "counts are not negative");
        if (s.listLength > 0) {
            check(s.vertexList && s.absVertexList && s.screenVertexList, "position arrays");
            check(!s.enableVertexNormals || (s.normalList && s.normalCountList), "normal arrays");
            check(!s.enableVertexColors || s.colorList, "colour array");
            check(!s.enableVertexTextureCoords || s.textureCoordList, "texture array");
        }
        check(!s.enableIndex || s.indexListLength == 0 || s.indexList, "index array");
        // Writing it again gives the bytes of the record.
        char* out = nullptr;
        size_t outLen = 0;
        FILE* w = open_memstream(&out, &outLen);
        s.writeToFile(w);
        std::fclose(w);
        if (seekable) check(at >= 0 && size_t(at) == outLen, "stream left right after the record");
        check(outLen <= consumed && std::memcmp(out, data, outLen) == 0, "the record writes back unchanged");
        std::free(out);
        // Every consumer of the arrays, with whatever index entries arrived.
        s.draw();
        s.calculateNormals();
        s.pointInside(1, 1);
        s.shapeInRect(-10, -10, 10, 10, true);
        s.shapeInCircle(0, 0, 100, false);
        for (unsigned style = 0; style < 10; ++style) {
            s.drawStyle = style;
            if (s.enableVertexNormals) s.calculateNormals();
            s.pointInside(float(style), 0.5f);
        }
    }
    std::free(before.arrays);
    std::free(after.arrays);
    return accepted;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char path[] = "/tmp/fuzz_read_shape_stdout_XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) abort();
    unlink(path);
    std::fflush(stdout);
    if (dup2(fd, 1) < 0) abort();
    close(fd);
    fakegl::recording = false;
    zoTransformsInit();
    cameraMatrix.setIdentity();
    view[2] = 640;
    view[3] = 480;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    bool a = readOnce(data, size, true);
    bool b = readOnce(data, size, false);
    check(a == b, "measured and unmeasured streams agree");
    return 0;
}
