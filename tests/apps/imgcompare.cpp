// imgcompare: compares two PNG pictures pixel by pixel for the picture tests.
//
//   imgcompare [--max-share PERCENT] [--tolerate DELTA] [--near N] [--diff OUT.png] EXPECTED.png ACTUAL.png
//
// A pixel's delta is the largest difference of its red, green and blue values;
// with --tolerate, a pixel whose delta is at most DELTA (0 to 255, default 0)
// counts as equal, for pictures of lit surfaces that two rasterisers round a
// step or two apart. With --near N (0 to 4, default 0) a pixel also counts as
// equal when each picture's pixel is found, within DELTA, at most N pixels
// away in the other picture (for a picture drawn at a finer resolution and
// brought back, whose edges and thin lines land a pixel aside).
// It prints the size, the largest and the mean delta and the share of pixels
// that differ at all; the pictures match when that share is at most PERCENT
// (default 0). On a mismatch it also prints where the differences lie and how
// large they are, and --diff writes a picture of them (differing pixels red over
// a dimmed copy of the expected picture). Exit status: 0 match, 1 mismatch
// (including different sizes), 2 bad arguments or an unreadable file.
#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Image {
    unsigned width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

bool readPng(const char* path, Image* img) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) {
        std::fprintf(stderr, "imgcompare: cannot read %s: %s\n", path, image.message);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    img->width = image.width;
    img->height = image.height;
    img->rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, img->rgb.data(), 0, nullptr)) {
        std::fprintf(stderr, "imgcompare: cannot read %s: %s\n", path, image.message);
        png_image_free(&image);
        return false;
    }
    return true;
}

bool writePng(const char* path, const Image& img) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = img.width;
    image.height = img.height;
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path, 0, img.rgb.data(), 0, nullptr)) {
        std::fprintf(stderr, "imgcompare: cannot write %s: %s\n", path, image.message);
        return false;
    }
    return true;
}

int usage() {
    std::fprintf(stderr,
                 "usage: imgcompare [--max-share PERCENT] [--tolerate DELTA] [--near N] [--diff OUT.png] EXPECTED.png "
                 "ACTUAL.png\n");
    return 2;
}

unsigned delta(const unsigned char* a, const unsigned char* b) {
    unsigned d = 0;
    for (int c = 0; c < 3; c++) d = std::max(d, unsigned(std::abs(int(a[c]) - int(b[c]))));
    return d;
}

// Whether `img`'s pixels within `near` of (x, y) hold one within `tolerate` of `rgb`.
bool foundNear(const Image& img, unsigned x, unsigned y, long near, const unsigned char* rgb, long tolerate) {
    for (long dy = -near; dy <= near; dy++)
        for (long dx = -near; dx <= near; dx++) {
            const long nx = long(x) + dx, ny = long(y) + dy;
            if (nx < 0 || ny < 0 || nx >= long(img.width) || ny >= long(img.height)) continue;
            if (delta(&img.rgb[3 * (size_t(ny) * img.width + size_t(nx))], rgb) <= unsigned(tolerate)) return true;
        }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    double maxShare = 0;
    long tolerate = 0;
    long near = 0;
    const char* diffPath = nullptr;
    std::vector<const char*> files;
    for (int a = 1; a < argc; a++) {
        std::string arg = argv[a];
        if (arg == "--max-share" && a + 1 < argc) {
            char* end = nullptr;
            errno = 0;
            maxShare = std::strtod(argv[++a], &end);
            if (errno != 0 || *end != '\0' || end == argv[a] || !(maxShare >= 0 && maxShare <= 100)) {
                std::fprintf(stderr, "imgcompare: --max-share needs a percentage from 0 to 100, not '%s'\n", argv[a]);
                return 2;
            }
        } else if (arg == "--tolerate" && a + 1 < argc) {
            char* end = nullptr;
            errno = 0;
            tolerate = std::strtol(argv[++a], &end, 10);
            if (errno != 0 || *end != '\0' || end == argv[a] || tolerate < 0 || tolerate > 255) {
                std::fprintf(stderr, "imgcompare: --tolerate needs a delta from 0 to 255, not '%s'\n", argv[a]);
                return 2;
            }
        } else if (arg == "--near" && a + 1 < argc) {
            char* end = nullptr;
            errno = 0;
            near = std::strtol(argv[++a], &end, 10);
            if (errno != 0 || *end != '\0' || end == argv[a] || near < 0 || near > 4) {
                std::fprintf(stderr, "imgcompare: --near needs a distance from 0 to 4 pixels, not '%s'\n", argv[a]);
                return 2;
            }
        } else if (arg == "--diff" && a + 1 < argc) {
            diffPath = argv[++a];
        } else if (arg.compare(0, 2, "--") == 0) {
            return usage();
        } else {
            files.push_back(argv[a]);
        }
    }
    if (files.size() != 2) return usage();

    Image expected, actual;
    if (!readPng(files[0], &expected) || !readPng(files[1], &actual)) return 2;
    if (expected.width != actual.width || expected.height != actual.height) {
        std::printf("imgcompare: FAIL: sizes differ: %s is %ux%u, %s is %ux%u\n", files[0], expected.width,
                    expected.height, files[1], actual.width, actual.height);
        return 1;
    }

    const unsigned w = expected.width, h = expected.height;
    const size_t pixels = size_t(w) * h;
    unsigned maxDelta = 0;
    double sumDelta = 0;
    size_t differing = 0;
    unsigned x0 = w, y0 = h, x1 = 0, y1 = 0;
    size_t buckets[4] = {0, 0, 0, 0};  // deltas 1-15, 16-63, 64-127, 128-255
    Image diff = expected;
    for (size_t p = 0; p < pixels; p++) {
        const unsigned char* e = &expected.rgb[3 * p];
        const unsigned char* g = &actual.rgb[3 * p];
        const unsigned d = delta(e, g);
        unsigned char* out = &diff.rgb[3 * p];
        for (int c = 0; c < 3; c++) out[c] = out[c] / 4;
        if (d <= unsigned(tolerate)) continue;
        const unsigned x = unsigned(p % w), y = unsigned(p / w);
        if (near > 0 && foundNear(actual, x, y, near, e, tolerate) && foundNear(expected, x, y, near, g, tolerate))
            continue;
        differing++;
        sumDelta += d;
        maxDelta = std::max(maxDelta, d);
        buckets[d < 16 ? 0 : d < 64 ? 1 : d < 128 ? 2 : 3]++;
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        out[0] = 255, out[1] = 0, out[2] = 0;
    }
    const double share = pixels ? 100.0 * differing / pixels : 0;
    std::string how = tolerate > 0 ? " by more than " + std::to_string(tolerate) : "";
    if (near > 0) how += " within " + std::to_string(near) + " pixel" + (near > 1 ? "s" : "");
    std::printf("imgcompare: %ux%u, max delta %u, mean delta %.4f, %zu of %zu pixels differ%s (%.4f%%, allowed %.4g%%)\n",
                w, h, maxDelta, pixels ? sumDelta / pixels : 0, differing, pixels, how.c_str(), share, maxShare);
    if (diffPath && !writePng(diffPath, diff)) return 2;
    if (share <= maxShare) {
        std::printf("imgcompare: match: %s and %s\n", files[0], files[1]);
        return 0;
    }
    std::printf("imgcompare: FAIL: %s differs from %s\n", files[1], files[0]);
    std::printf("imgcompare:   differences within x %u..%u, y %u..%u (from the top left)\n", x0, x1, y0, y1);
    std::printf("imgcompare:   pixels by delta: 1-15: %zu, 16-63: %zu, 64-127: %zu, 128-255: %zu\n", buckets[0],
                buckets[1], buckets[2], buckets[3]);
    if (diffPath) std::printf("imgcompare:   differing pixels in red: %s\n", diffPath);
    return 1;
}
