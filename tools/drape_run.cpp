// drape_run: runs the cloth without a window and prints its state, so that any
// frame (38, 82, 1000 ...) can be looked at deterministically.
//
// It advances the cloth with the harness's step, the simulation passes that
// draw() runs between the camera capture and the wire grid. Those passes make no
// GL call, so no window, context or GLUT start-up is needed, and the state after
// N steps is bit for bit the state after N frames of the real program.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/drapeHarness.h"

static const long maxFrames = 10000000;

static void usage(FILE* to) {
    std::fprintf(to,
                 "usage: drape_run [--stable] hash FRAME...   print the state hash after each FRAME\n"
                 "       drape_run [--stable] dump FRAME      print every knob after FRAME\n"
                 "       drape_run [--stable] stats FRAME     print one line of figures per frame up to FRAME\n"
                 "       drape_run recorded                   print the recorded hashes every build reproduces\n"
                 "--stable runs drape-stable's cloth instead of drape's.\n"
                 "FRAME counts steps from the start (0 is the cloth as laid out), 0 to %ld.\n",
                 maxFrames);
}

static void printHash(long frame, uint64_t hash) {
    std::printf("%ld %016llx\n", frame, static_cast<unsigned long long>(hash));
}

static bool made(const drapeCloth& cloth) {
    if (cloth.app == nullptr) std::fprintf(stderr, "drape_run: not enough memory for the cloth\n");
    return cloth.app != nullptr;
}

static int runHash(drapeKind kind, const std::vector<long>& frames) {
    drapeCloth cloth(kind);
    if (!made(cloth)) return 1;
    for (long f : frames) {
        // An earlier frame than the last one asked for: start again.
        if (f < cloth.frame) {
            cloth.restart();
            if (!made(cloth)) return 1;
        }
        cloth.step(f - cloth.frame);
        printHash(f, drapeStateHash(*cloth.app));
    }
    return 0;
}

static int runDump(drapeKind kind, long frame) {
    drapeCloth cloth(kind);
    if (!made(cloth)) return 1;
    cloth.step(frame);
    return drapeWriteState(stdout, *cloth.app, frame) ? 0 : 1;
}

// Per frame: knobs frozen so far and in this frame, the largest stage value of
// a free knob (the spring pull; it measures the disturbance), how far out the
// farthest knob lies in x or y, and knobs with a non-finite coordinate.
static int runStats(drapeKind kind, long frame) {
    drapeCloth cloth(kind);
    if (!made(cloth)) return 1;
    const drapeApp& app = *cloth.app;
    std::printf("# frame frozen new_frozen max_stage max_reach nonfinite\n");
    int frozen = 0;
    for (long at = 1; at <= frame; at++) {
        cloth.step();
        int nowFrozen = 0, nonfinite = 0;
        double maxStage = 0, maxReach = 0;
        for (int k = 0; k < DRAPE_KNOBS; k++) {
            const clothknob& n = app.thread[k];
            if (n.on_surf) {
                nowFrozen++;
            } else {
                double s = std::sqrt(double(app.k1[k].x) * app.k1[k].x + double(app.k1[k].y) * app.k1[k].y +
                                     double(app.k1[k].z) * app.k1[k].z);
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

static int runRecorded() {
    for (drapeKind kind : {DRAPE_FAITHFUL, DRAPE_STABLE})
        for (const drapeRecord& rec : drapeRecordedRun(kind)) {
            std::printf("%s ", drapeKindName(rec.kind));
            printHash(rec.frame, rec.hash);
        }
    return 0;
}

static int refuse(const char* what, const char* arg) {
    std::fprintf(stderr, "drape_run: %s%s\n", what, arg);
    usage(stderr);
    return 2;
}

int main(int argc, char** argv) {
    int a = 1;
    if (a < argc && (std::strcmp(argv[a], "--help") == 0 || std::strcmp(argv[a], "-h") == 0)) {
        usage(stdout);
        return 0;
    }
    drapeKind kind = DRAPE_FAITHFUL;
    if (a < argc && std::strcmp(argv[a], "--stable") == 0) {
        kind = DRAPE_STABLE;
        a++;
    }
    if (a >= argc) {
        usage(stderr);
        return 2;
    }
    const char* command = argv[a++];
    if (std::strcmp(command, "recorded") == 0) {
        if (a < argc || kind == DRAPE_STABLE) return refuse("recorded takes no other argument", "");
        return runRecorded();
    }
    if (a >= argc) {
        usage(stderr);
        return 2;
    }
    std::vector<long> frames;
    for (; a < argc; a++) {
        long f;
        if (!drapeParseWhole(argv[a], 0, maxFrames, &f)) return refuse("not a frame number: ", argv[a]);
        frames.push_back(f);
    }
    if (std::strcmp(command, "hash") == 0) return runHash(kind, frames);
    if (std::strcmp(command, "dump") != 0 && std::strcmp(command, "stats") != 0)
        return refuse("unknown command: ", command);
    if (frames.size() != 1) {
        std::fprintf(stderr, "drape_run: %s takes exactly one frame number\n", command);
        usage(stderr);
        return 2;
    }
    return std::strcmp(command, "dump") == 0 ? runDump(kind, frames[0]) : runStats(kind, frames[0]);
}
