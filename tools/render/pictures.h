// drape-render's picture writing: frames read back from GL, written as PNG
// (libpng) or as an animated GIF (giflib), and the progress of a long run.
// Messages name the program "drape-render".
#pragma once

#include <gif_lib.h>
#include <png.h>
#include <fcntl.h>
#include <unistd.h>
#include <GL/gl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// RGB rows as GL gives them: bottom row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* row(int fromTop) const { return &rgb[size_t(height - 1 - fromTop) * width * 3]; }
};

inline void readPicture(Picture* p) {
    p->rgb.resize(size_t(p->width) * p->height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, p->width, p->height, GL_RGB, GL_UNSIGNED_BYTE, p->rgb.data());
}

inline bool writePng(const Picture& p, const std::string& path) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = p.width;
    image.height = p.height;
    image.format = PNG_FORMAT_RGB;
    // A negative stride writes GL's bottom-up rows top row first.
    const png_int_32 stride = -png_int_32(p.width * 3);
    if (!png_image_write_to_file(&image, path.c_str(), 0, p.rgb.data(), stride, nullptr)) {
        std::fprintf(stderr, "drape-render: cannot write %s: %s\n", path.c_str(), image.message);
        return false;
    }
    return true;
}

// A fixed palette: the 6 x 6 x 6 colour cube and 40 more greys, so that the
// grey lines of the cloth keep their shade closely and colours still map.
struct Palette {
    GifColorType colours[256];
    unsigned char greyIndex[256];  // nearest grey entry for each level

    Palette() {
        int n = 0;
        for (int r = 0; r < 6; r++)
            for (int g = 0; g < 6; g++)
                for (int b = 0; b < 6; b++) colours[n++] = {GifByteType(r * 51), GifByteType(g * 51), GifByteType(b * 51)};
        for (int k = 0; n < 256; k++, n++) {
            // 40 levels between the cube's greys (which are multiples of 51).
            int level = (k / 8) * 51 + (k % 8 + 1) * 51 / 9;
            colours[n] = {GifByteType(level), GifByteType(level), GifByteType(level)};
        }
        for (int v = 0; v < 256; v++) {
            int best = 0, bestDist = 1 << 30;
            for (int c = 0; c < 256; c++) {
                if (colours[c].Red != colours[c].Green || colours[c].Green != colours[c].Blue) continue;
                int dist = std::abs(colours[c].Red - v);
                if (dist < bestDist) bestDist = dist, best = c;
            }
            greyIndex[v] = (unsigned char)best;
        }
    }
    // The entry for the pixel at column x, row y. Colours are dithered onto
    // the cube with a fixed 4 x 4 pattern, so that smooth shading (the ground,
    // a lit cloth) shows as a fine texture rather than bands; the pattern
    // belongs to the pixel's place, so what does not move stays the same from
    // frame to frame. Greys, and the cube's own colours, map exactly.
    unsigned char index(const unsigned char* px, int x, int y) const {
        if (px[0] == px[1] && px[1] == px[2]) return greyIndex[px[0]];
        static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
        const int t = bayer[y & 3][x & 3];
        auto q = [t](int v) {
            const int low = v / 51, rest = v - low * 51;  // between cube levels low and low + 1
            return rest * 16 > t * 51 + 25 ? low + 1 : low;
        };
        return (unsigned char)(q(px[0]) * 36 + q(px[1]) * 6 + q(px[2]));
    }
};

// An animated GIF written frame by frame. After the first frame only the
// rectangle that changed is stored, over the previous frame, which keeps the
// resting cloth's frames almost free.
class GifWriter {
public:
    bool open(const std::string& path, int width, int height, int delay) {
        path_ = path;
        width_ = width;
        height_ = height;
        delay_ = delay;
        // Opened here rather than by giflib, which would make the file private
        // (mode 0600); this way it gets the usual permissions under the umask.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0) {
            std::fprintf(stderr, "drape-render: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
            return false;
        }
        int err = 0;
        gif_ = EGifOpenFileHandle(fd, &err);
        if (!gif_) {
            ::close(fd);
            return report(err);
        }
        EGifSetGifVersion(gif_, true);
        ColorMapObject* map = GifMakeMapObject(256, palette_.colours);
        if (!map) return report(E_GIF_ERR_NOT_ENOUGH_MEM);
        const int ok = EGifPutScreenDesc(gif_, width, height, 8, 0, map);
        GifFreeMapObject(map);
        if (ok == GIF_ERROR) return report(gif_->Error);
        // Loop for ever.
        static const unsigned char app[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
        static const unsigned char loop[] = {1, 0, 0};
        if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
            EGifPutExtensionBlock(gif_, sizeof app, app) == GIF_ERROR ||
            EGifPutExtensionBlock(gif_, sizeof loop, loop) == GIF_ERROR || EGifPutExtensionTrailer(gif_) == GIF_ERROR)
            return report(gif_->Error);
        previous_.clear();
        return true;
    }

    bool add(const Picture& p) {
        std::vector<unsigned char> indexed(size_t(width_) * height_);
        for (int y = 0; y < height_; y++) {
            const unsigned char* src = p.row(y);
            for (int x = 0; x < width_; x++) indexed[size_t(y) * width_ + x] = palette_.index(src + 3 * x, x, y);
        }
        int x0 = 0, y0 = 0, x1 = width_ - 1, y1 = height_ - 1;
        if (!previous_.empty()) {
            x0 = width_, y0 = height_, x1 = -1, y1 = -1;
            for (int y = 0; y < height_; y++)
                for (int x = 0; x < width_; x++)
                    if (indexed[size_t(y) * width_ + x] != previous_[size_t(y) * width_ + x]) {
                        x0 = std::min(x0, x), x1 = std::max(x1, x);
                        y0 = std::min(y0, y), y1 = std::max(y1, y);
                    }
            if (x1 < 0) x0 = y0 = x1 = y1 = 0;  // unchanged: one pixel, the same as before
        }
        GraphicsControlBlock gcb;
        gcb.DisposalMode = DISPOSE_DO_NOT;
        gcb.UserInputFlag = false;
        gcb.DelayTime = delay_;
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, sizeof ext, ext) == GIF_ERROR ||
            EGifPutImageDesc(gif_, x0, y0, x1 - x0 + 1, y1 - y0 + 1, false, nullptr) == GIF_ERROR)
            return report(gif_->Error);
        for (int y = y0; y <= y1; y++)
            if (EGifPutLine(gif_, &indexed[size_t(y) * width_ + x0], x1 - x0 + 1) == GIF_ERROR)
                return report(gif_->Error);
        previous_.swap(indexed);
        frames_++;
        return true;
    }

    bool close() {
        if (!gif_) return true;
        int err = 0;
        const int ok = EGifCloseFile(gif_, &err);
        gif_ = nullptr;
        return ok == GIF_ERROR ? report(err) : true;
    }

    ~GifWriter() {
        if (gif_) EGifCloseFile(gif_, nullptr);
    }

    int frames() const { return frames_; }

private:
    bool report(int err) {
        const char* why = GifErrorString(err);
        std::fprintf(stderr, "drape-render: cannot write %s: %s\n", path_.c_str(), why ? why : "GIF error");
        return false;
    }

    std::string path_;
    GifFileType* gif_ = nullptr;
    int width_ = 0, height_ = 0, delay_ = 0, frames_ = 0;
    Palette palette_;
    std::vector<unsigned char> previous_;
};


// A progress bar on a terminal, plain lines every tenth of the run in a log.
class Progress {
public:
    explicit Progress(long total) : total_(total), tty_(isatty(STDERR_FILENO)) {}

    void update(long done) {
        if (tty_) {
            const int width = 30;
            const int percent = int(done * 100 / total_);
            if (percent == shown_ && done != total_) return;
            shown_ = percent;
            const int filled = int(done * width / total_);
            std::fprintf(stderr, "\rdrape-render [%.*s%*s] %3d%% %ld/%ld frames", filled,
                         "##############################", width - filled, "", percent, done, total_);
            if (done == total_) std::fputc('\n', stderr);
            std::fflush(stderr);
        } else if (total_ >= 100) {
            // Plain lines for a log: every tenth of the run.
            const int tenth = int(done * 10 / total_);
            if (tenth == shown_) return;
            shown_ = tenth;
            if (tenth > 0) std::fprintf(stderr, "drape-render: frame %ld of %ld\n", done, total_);
        }
    }

    // Ends a bar line before other output is printed.
    void interrupt() {
        if (tty_ && shown_ >= 0) {
            std::fputc('\n', stderr);
            shown_ = -1;
        }
    }

private:
    long total_;
    bool tty_;
    int shown_ = -1;
};

