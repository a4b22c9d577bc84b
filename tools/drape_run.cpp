// drape_run: runs the cloth without a window and prints its state, so that any
// frame (38, 82, 1000 ...) can be looked at deterministically.
//
// It advances the cloth with drapeApp::step(), the simulation passes that
// draw() runs between the camera capture and the wire grid. Those passes make no
// GL call, so no window, context or GLUT start-up is needed, and the state after
// N steps is bit for bit the state after N frames of the real program (draw()'s
// transforms, camera capture and line drawing only read the knobs).
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/drapeApp.h"
#include "tools/drapeState.h"

static const long maxFrames = 10000000;

static void usage() {
    std::fprintf(stderr,
                 "usage: drape_run hash FRAME...   print the state hash after each FRAME\n"
                 "       drape_run dump FRAME      print every knob after FRAME\n"
                 "       drape_run stats FRAME     print one line of figures per frame up to FRAME\n"
                 "FRAME counts steps from the start (0 is the cloth as laid out), 0 to %ld.\n",
                 maxFrames);
}

static bool parseFrame(const char* text, long* out) {
    if (text[0] < '0' || text[0] > '9') return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < 0 || v > maxFrames) return false;
    *out = v;
    return true;
}

static drapeHandle newCloth() {
    drapeHandle app(static_cast<drapeApp*>(makeApp()));
    if (!app) std::fprintf(stderr, "drape_run: not enough memory for the cloth\n");
    return app;
}

static int runHash(const std::vector<long>& frames) {
    drapeHandle app = newCloth();
    if (!app) return 1;
    long at = 0;
    for (long f : frames) {
        if (f < at) {  // an earlier frame than the last one asked for: start again
            app = newCloth();
            if (!app) return 1;
            at = 0;
        }
        for (; at < f; at++) app->step();
        std::printf("%ld %016llx\n", f, static_cast<unsigned long long>(drapeStateHash(*app)));
    }
    return 0;
}

static int runDump(long frame) {
    drapeHandle app = newCloth();
    if (!app) return 1;
    for (long at = 0; at < frame; at++) app->step();
    std::printf("# frame %ld: knob on_surf pos.x pos.y pos.z vel.x vel.y vel.z\n", frame);
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const clothknob& n = app->thread[k];
        std::printf("%d %d %.9g %.9g %.9g %.9g %.9g %.9g\n", k, n.on_surf ? 1 : 0, n.pos.x, n.pos.y, n.pos.z,
                    n.vel.x, n.vel.y, n.vel.z);
    }
    return 0;
}

// Per frame: knobs frozen so far and in this frame, the largest stage value of
// a free knob (the spring pull; it measures the disturbance), how far out the
// farthest knob lies in x or y, and knobs with a non-finite coordinate.
static int runStats(long frame) {
    drapeHandle app = newCloth();
    if (!app) return 1;
    std::printf("# frame frozen new_frozen max_stage max_reach nonfinite\n");
    int frozen = 0;
    for (long at = 1; at <= frame; at++) {
        app->step();
        int nowFrozen = 0, nonfinite = 0;
        double maxStage = 0, maxReach = 0;
        for (int k = 0; k < DRAPE_KNOBS; k++) {
            const clothknob& n = app->thread[k];
            if (n.on_surf) {
                nowFrozen++;
            } else {
                double s = std::sqrt(double(app->k1[k].x) * app->k1[k].x + double(app->k1[k].y) * app->k1[k].y +
                                     double(app->k1[k].z) * app->k1[k].z);
                if (s > maxStage) maxStage = s;
            }
            if (!std::isfinite(n.pos.x) || !std::isfinite(n.pos.y) || !std::isfinite(n.pos.z)) nonfinite++;
            double r = std::fmax(std::fabs(double(n.pos.x)), std::fabs(double(n.pos.y)));
            if (r > maxReach) maxReach = r;
        }
        std::printf("%ld %d %d %.6g %.6g %d\n", at, nowFrozen, nowFrozen - frozen, maxStage, maxReach, nonfinite);
        frozen = nowFrozen;
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        usage();
        return 2;
    }
    std::vector<long> frames;
    for (int a = 2; a < argc; a++) {
        long f;
        if (!parseFrame(argv[a], &f)) {
            std::fprintf(stderr, "drape_run: not a frame number: %s\n", argv[a]);
            usage();
            return 2;
        }
        frames.push_back(f);
    }
    if (std::strcmp(argv[1], "hash") == 0) return runHash(frames);
    if (frames.size() != 1) {
        std::fprintf(stderr, "drape_run: %s takes exactly one frame number\n", argv[1]);
        usage();
        return 2;
    }
    if (std::strcmp(argv[1], "dump") == 0) return runDump(frames[0]);
    if (std::strcmp(argv[1], "stats") == 0) return runStats(frames[0]);
    std::fprintf(stderr, "drape_run: unknown command: %s\n", argv[1]);
    usage();
    return 2;
}
