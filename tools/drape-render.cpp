// drape-render: runs the cloth of drape (or drape-stable) for a number of frames
// without an X server or a window, and writes chosen frames as PNG pictures, a
// range of frames as an animated GIF, and the knobs of a frame as text.
//
// It draws through the framework exactly as the windowed program does: the
// outermost view frame, the application's draw(), the close of the frame. The
// GL context comes from Mesa's EGL surfaceless platform and draws into a
// framebuffer object; the outermost frame presents by finishing the frame's
// drawing instead of swapping the buffers of a window (zouPresent).
//
// Frame N is the picture of the program's Nth display, which shows the cloth
// after N steps (drape_run's frame N); frame 1 is the first picture drawn.
#include <gif_lib.h>
#include <png.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/drapeApp.h"
#include "app/stableDrapeApp.h"
#include "framework/zou.h"
#include "tools/offscreenGL.h"

namespace {

const long maxFrames = 1000000;
const int maxSide = 8192;

using Clock = std::chrono::steady_clock;
double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void usage(FILE* to) {
    std::fprintf(to,
                 "usage: drape-render [options]\n"
                 "  --stable               the cloth of drape-stable (default: drape's)\n"
                 "  --frames N             run N frames (default: the last frame asked for, or 100)\n"
                 "  --png F[,F...]         write frame F as <out>/frame-FFFF.png\n"
                 "  --gif FIRST:LAST[:STEP] write frames FIRST to LAST, every STEP-th, as an animated\n"
                 "                         GIF <out>/drape.gif (or drape-stable.gif)\n"
                 "  --delay CS             GIF frame delay in hundredths of a second (default 4)\n"
                 "  --state F              write the knobs after frame F as <out>/state-FFFF.txt\n"
                 "                         (0: as laid out), in drape_run dump's format\n"
                 "  --out DIR              where to write (default: .); made if missing\n"
                 "  --size WxH             size of the pictures (default 1024x768)\n"
                 "  --view WxH             the screen the program is shown on (default 1024x768);\n"
                 "                         a different --size scales that picture\n"
                 "Frame F is the program's F-th displayed picture, from 1 to %ld.\n",
                 maxFrames);
}

// ---- Arguments ---------------------------------------------------------------

struct Options {
    bool stable = false;
    long frames = 0;  // 0: not given
    std::vector<long> png;
    bool gif = false;
    long gifFirst = 0, gifLast = 0, gifStep = 1;
    long delay = 4;
    long state = -1;
    std::string out = ".";
    int width = 1024, height = 768;
    int viewWidth = 1024, viewHeight = 768;
};

bool parseLong(const char* text, long lo, long hi, long* out) {
    if (text[0] < '0' || text[0] > '9') return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    *out = v;
    return true;
}

// Splits text at sep into whole parts; false if any part is empty or not a number.
bool parseList(const std::string& text, char sep, long lo, long hi, std::vector<long>* out) {
    size_t start = 0;
    for (;;) {
        size_t end = text.find(sep, start);
        std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        long v;
        if (!parseLong(part.c_str(), lo, hi, &v)) return false;
        out->push_back(v);
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

bool parseSize(const std::string& text, int* w, int* h) {
    std::vector<long> v;
    if (!parseList(text, 'x', 1, maxSide, &v) || v.size() != 2) return false;
    *w = int(v[0]);
    *h = int(v[1]);
    return true;
}

// Returns 0 when the options are good, else prints why and returns 2.
int parseArgs(int argc, char** argv, Options* o) {
    for (int a = 1; a < argc; a++) {
        std::string arg = argv[a], value;
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            std::exit(0);
        }
        if (arg == "--stable") {
            o->stable = true;
            continue;
        }
        size_t eq = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        }
        static const char* const valued[] = {"--frames", "--png", "--gif", "--delay", "--state",
                                             "--out",    "--size", "--view"};
        if (std::find_if(std::begin(valued), std::end(valued), [&](const char* v) { return arg == v; }) ==
            std::end(valued)) {
            std::fprintf(stderr, "drape-render: unknown option %s (see drape-render --help)\n", arg.c_str());
            return 2;
        }
        if (eq == std::string::npos) {
            if (a + 1 >= argc) {
                std::fprintf(stderr, "drape-render: %s needs a value\n", arg.c_str());
                return 2;
            }
            value = argv[++a];
        }
        auto bad = [&](const char* what) {
            std::fprintf(stderr, "drape-render: %s needs %s, not '%s'\n", arg.c_str(), what, value.c_str());
            return 2;
        };
        if (arg == "--frames") {
            if (!parseLong(value.c_str(), 1, maxFrames, &o->frames)) return bad("a frame count from 1 to 1000000");
        } else if (arg == "--png") {
            if (!parseList(value, ',', 1, maxFrames, &o->png)) return bad("frame numbers from 1, separated by commas");
        } else if (arg == "--gif") {
            std::vector<long> v;
            if (!parseList(value, ':', 1, maxFrames, &v) || v.size() < 2 || v.size() > 3 || v[0] > v[1])
                return bad("FIRST:LAST or FIRST:LAST:STEP with 1 <= FIRST <= LAST and STEP >= 1");
            o->gif = true;
            o->gifFirst = v[0];
            o->gifLast = v[1];
            o->gifStep = v.size() == 3 ? v[2] : 1;
        } else if (arg == "--delay") {
            if (!parseLong(value.c_str(), 0, 65535, &o->delay)) return bad("hundredths of a second from 0 to 65535");
        } else if (arg == "--state") {
            if (!parseLong(value.c_str(), 0, maxFrames, &o->state)) return bad("a frame number from 0");
        } else if (arg == "--out") {
            if (value.empty()) return bad("a directory");
            o->out = value;
        } else if (arg == "--size") {
            if (!parseSize(value, &o->width, &o->height)) return bad("WIDTHxHEIGHT, each from 1 to 8192");
        } else if (arg == "--view") {
            if (!parseSize(value, &o->viewWidth, &o->viewHeight)) return bad("WIDTHxHEIGHT, each from 1 to 8192");
        }
    }

    long last = 0;
    for (long f : o->png) last = std::max(last, f);
    if (o->gif) last = std::max(last, o->gifLast);
    if (o->state > last) last = o->state;
    if (o->frames == 0) o->frames = last > 0 ? last : 100;
    if (last > o->frames) {
        std::fprintf(stderr, "drape-render: frame %ld is asked for but only %ld frames are run (--frames)\n", last,
                     o->frames);
        return 2;
    }
    return 0;
}

// The outermost frame's close: the frame is complete once GL has finished it.
double presentSeconds = 0;
void presentOffscreen() {
    Clock::time_point t = Clock::now();
    glFinish();
    presentSeconds += seconds(Clock::now() - t);
}

// The framework's start-up without GLUT: its settings and GL state, then the
// size of the screen the program is shown on, as the window's first reshape
// gives it.
void openFramework(const Options& o) {
    zouInitState();
    zouWindowWidth = o.viewWidth;
    zouWindowHeight = o.viewHeight;
    zouPresent = presentOffscreen;
}

// ---- Pictures ------------------------------------------------------------------

// RGB rows as GL gives them: bottom row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* row(int fromTop) const { return &rgb[size_t(height - 1 - fromTop) * width * 3]; }
};

void readPicture(Picture* p) {
    p->rgb.resize(size_t(p->width) * p->height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, p->width, p->height, GL_RGB, GL_UNSIGNED_BYTE, p->rgb.data());
}

bool writePng(const Picture& p, const std::string& path) {
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
    unsigned char index(const unsigned char* px) const {
        if (px[0] == px[1] && px[1] == px[2]) return greyIndex[px[0]];
        auto q = [](int v) { return (v + 25) / 51; };
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
            for (int x = 0; x < width_; x++) indexed[size_t(y) * width_ + x] = palette_.index(src + 3 * x);
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

// The knobs in drape_run dump's format, so that the two can be compared.
bool writeState(const drapeApp& app, long frame, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) {
        std::fprintf(stderr, "drape-render: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    std::fprintf(f, "# frame %ld: knob on_surf pos.x pos.y pos.z vel.x vel.y vel.z\n", frame);
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const clothknob& n = app.thread[k];
        std::fprintf(f, "%d %d %.9g %.9g %.9g %.9g %.9g %.9g\n", k, n.on_surf ? 1 : 0, n.pos.x, n.pos.y, n.pos.z,
                     n.vel.x, n.vel.y, n.vel.z);
    }
    if (std::fclose(f) != 0) {
        std::fprintf(stderr, "drape-render: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

std::string numbered(const std::string& dir, const char* stem, long frame, const char* ext) {
    char name[64];
    std::snprintf(name, sizeof name, "%s-%04ld.%s", stem, frame, ext);
    return (std::filesystem::path(dir) / name).string();
}

// ---- Progress ----------------------------------------------------------------------

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

}  // namespace

int main(int argc, char** argv) {
    Options o;
    const int bad = parseArgs(argc, argv, &o);
    if (bad != 0) return bad;

    std::error_code ec;
    std::filesystem::create_directories(o.out, ec);
    if (ec || !std::filesystem::is_directory(o.out)) {
        std::fprintf(stderr, "drape-render: cannot make the directory %s%s%s\n", o.out.c_str(), ec ? ": " : "",
                     ec ? ec.message().c_str() : "");
        return 1;
    }

    Offscreen gl;
    gl.who = "drape-render";
    if (!openOffscreen(&gl, o.width, o.height)) {
        closeOffscreen(&gl);
        return 1;
    }
    openFramework(o);

    // Each is destroyed as what it is: the application classes have no virtual
    // destructor.
    std::unique_ptr<stableDrapeApp> stableApp;
    std::unique_ptr<drapeApp> plainApp;
    if (o.stable)
        stableApp.reset(static_cast<stableDrapeApp*>(makeStableApp()));
    else
        plainApp.reset(static_cast<drapeApp*>(makeApp()));
    drapeApp* app = o.stable ? static_cast<drapeApp*>(stableApp.get()) : plainApp.get();
    if (!app) {
        std::fprintf(stderr, "drape-render: not enough memory for the cloth\n");
        closeOffscreen(&gl);
        return 1;
    }
    // As the window's first reshape does.
    app->resize(0, 0, float(o.viewWidth), float(o.viewHeight));
    const char* program = o.stable ? "drape-stable" : "drape";

    std::vector<bool> wantPng(o.frames + 1, false);
    for (long f : o.png) wantPng[f] = true;
    GifWriter gif;
    const std::string gifPath = (std::filesystem::path(o.out) / (std::string(program) + ".gif")).string();
    if (o.gif && !gif.open(gifPath, o.width, o.height, int(o.delay))) {
        closeOffscreen(&gl);
        return 1;
    }

    int status = 0;
    Picture picture;
    picture.width = o.width;
    picture.height = o.height;
    const bool scaled = o.width != o.viewWidth || o.height != o.viewHeight;
    double drawSeconds = 0, readSeconds = 0, pngSeconds = 0, gifSeconds = 0;
    std::vector<std::string> wrote;
    auto note = [&](const std::string& text) { wrote.push_back(text); };

    if (o.state == 0) {
        const std::string path = numbered(o.out, "state", 0, "txt");
        if (!writeState(*app, 0, path)) {
            closeOffscreen(&gl);
            return 1;
        }
        note("wrote " + path + " (" + program + ", the knobs as laid out)");
    }

    Progress progress(o.frames);
    const Clock::time_point start = Clock::now();
    for (long frame = 1; frame <= o.frames && status == 0; frame++) {
        Clock::time_point t = Clock::now();
        zouOpenToviFrame();
        // The camera of the view, drawn into a picture of another size.
        if (scaled) glViewport(0, 0, o.width, o.height);
        app->draw();
        zouCloseToviFrame();
        drawSeconds += seconds(Clock::now() - t);

        const bool inGif = o.gif && frame >= o.gifFirst && frame <= o.gifLast && (frame - o.gifFirst) % o.gifStep == 0;
        if (wantPng[frame] || inGif) {
            t = Clock::now();
            readPicture(&picture);
            readSeconds += seconds(Clock::now() - t);
        }
        if (wantPng[frame]) {
            t = Clock::now();
            const std::string path = numbered(o.out, "frame", frame, "png");
            if (writePng(picture, path))
                note("wrote " + path + " (" + program + " frame " + std::to_string(frame) + ", " +
                     std::to_string(o.width) + "x" + std::to_string(o.height) + ")");
            else
                status = 1;
            pngSeconds += seconds(Clock::now() - t);
        }
        if (inGif) {
            t = Clock::now();
            if (!gif.add(picture)) status = 1;
            gifSeconds += seconds(Clock::now() - t);
        }
        if (frame == o.state) {
            const std::string path = numbered(o.out, "state", frame, "txt");
            if (writeState(*app, frame, path))
                note("wrote " + path + " (" + program + ", the knobs after frame " + std::to_string(frame) + ")");
            else
                status = 1;
        }
        progress.update(frame);
    }
    const double total = seconds(Clock::now() - start);
    progress.interrupt();

    if (o.gif && status == 0) {
        if (gif.close())
            note("wrote " + gifPath + " (" + program + " frames " + std::to_string(o.gifFirst) + " to " +
                 std::to_string(o.gifLast) + " every " + std::to_string(o.gifStep) + ", " +
                 std::to_string(gif.frames()) + " pictures, " + std::to_string(o.delay) + "/100 s each)");
        else
            status = 1;
    }
    for (const std::string& line : wrote) std::printf("drape-render: %s\n", line.c_str());
    if (status == 0) {
        std::printf(
            "drape-render: %ld frames of %s at %dx%d in %.3f s, %.1f frames/s (draw %.3f s, finishing the "
            "pictures %.3f s, reading back %.3f s, PNG %.3f s, GIF %.3f s)\n",
            o.frames, program, o.width, o.height, total, o.frames / total, drawSeconds - presentSeconds,
            presentSeconds, readSeconds, pngSeconds, gifSeconds);
    }
    closeOffscreen(&gl);
    return status;
}
