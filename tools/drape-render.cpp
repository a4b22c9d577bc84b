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

#include "app/clothView.h"
#include "app/drapeHarness.h"
#include "framework/zou.h"
#include "platform/egl/offscreenGL.h"
#include "tools/render/pictures.h"

namespace {

const long maxFrames = 1000000;
const int maxSide = 8192;

using Clock = std::chrono::steady_clock;
double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void usage(FILE* to) {
    std::fprintf(to,
                 "usage: drape-render [options]\n"
                 "  --stable               the cloth of drape-stable (default: drape's)\n"
                 "  --ground               show the ground under the cloth (lit, coloured by height)\n"
                 "  --shaded               the cloth as a lit surface instead of the white wire grid\n"
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
    bool ground = false, shaded = false;
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

// Splits text at sep into whole parts; false if any part is empty or not a number.
bool parseList(const std::string& text, char sep, long lo, long hi, std::vector<long>* out) {
    size_t start = 0;
    for (;;) {
        size_t end = text.find(sep, start);
        std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        long v;
        if (!drapeParseWhole(part.c_str(), lo, hi, &v)) return false;
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
        if (arg == "--stable" || arg == "--ground" || arg == "--shaded") {
            (arg == "--stable" ? o->stable : arg == "--ground" ? o->ground : o->shaded) = true;
            continue;
        }
        size_t eq = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        }
        if (arg == "--stable" || arg == "--ground" || arg == "--shaded") {
            std::fprintf(stderr, "drape-render: %s takes no value\n", arg.c_str());
            return 2;
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
            if (!drapeParseWhole(value.c_str(), 1, maxFrames, &o->frames)) return bad("a frame count from 1 to 1000000");
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
            if (!drapeParseWhole(value.c_str(), 0, 65535, &o->delay)) return bad("hundredths of a second from 0 to 65535");
        } else if (arg == "--state") {
            if (!drapeParseWhole(value.c_str(), 0, maxFrames, &o->state)) return bad("a frame number from 0");
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

// The knobs in drape_run dump's format, so that the two can be compared.
bool writeState(const drapeApp& app, long frame, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "w");
    bool ok = f != nullptr && drapeWriteState(f, app, frame);
    if (f != nullptr && std::fclose(f) != 0) ok = false;
    if (!ok) std::fprintf(stderr, "drape-render: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    return ok;
}

std::string numbered(const std::string& dir, const char* stem, long frame, const char* ext) {
    char name[64];
    std::snprintf(name, sizeof name, "%s-%04ld.%s", stem, frame, ext);
    return (std::filesystem::path(dir) / name).string();
}

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

    const drapeKind kind = o.stable ? DRAPE_STABLE : DRAPE_FAITHFUL;
    drapeCloth cloth(kind);
    drapeApp* app = cloth.app;
    if (!app) {
        std::fprintf(stderr, "drape-render: not enough memory for the cloth\n");
        closeOffscreen(&gl);
        return 1;
    }
    // As the window's first reshape does.
    app->resize(0, 0, float(o.viewWidth), float(o.viewHeight));
    const char* program = drapeKindName(kind);
    // Without --ground and --shaded this draws exactly the program's picture.
    clothView view;
    view.ground = o.ground;
    view.shaded = o.shaded;

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
        view.drawFrame(cloth);
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
