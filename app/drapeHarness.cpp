// The cloth harness: ownership, stepping, the state hash, the text dump and the
// recorded hashes (see the header).
#include "app/drapeHarness.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <new>

#include "app/stableDrapeApp.h"

const char* drapeKindName(drapeKind kind) {
    return kind == DRAPE_STABLE ? "drape-stable" : "drape";
}

drapeCloth::drapeCloth(drapeKind k) : kind(k), app(nullptr), frame(0) {
    restart();
}

drapeCloth::~drapeCloth() {
    release();
}

void drapeCloth::release() {
    if (app == nullptr) return;
    delete app->blanky;
    delete app;  // as what it is: the application classes' destructor is virtual
    app = nullptr;
}

bool drapeCloth::restart() {
    release();
    app = static_cast<drapeApp*>(kind == DRAPE_STABLE ? makeStableApp() : makeApp());
    frame = 0;
    return app != nullptr;
}

void drapeCloth::step(long frames) {
    if (app == nullptr) return;
    for (long f = 0; f < frames; f++) app->step();
    frame += frames;
}

uint64_t drapeStateHash(const drapeApp& app) {
    uint64_t hash = 0xcbf29ce484222325ull;
    auto mix = [&hash](const void* data, size_t size) {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (size_t k = 0; k < size; k++) {
            hash ^= p[k];
            hash *= 0x100000001b3ull;
        }
    };
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const clothknob& knob = app.thread[k];
        const float v[6] = {knob.pos.x, knob.pos.y, knob.pos.z, knob.vel.x, knob.vel.y, knob.vel.z};
        mix(v, sizeof v);
        const unsigned char flag = knob.on_surf ? 1 : 0;
        mix(&flag, 1);
    }
    return hash;
}

bool drapeWriteState(FILE* to, const drapeApp& app, long frame) {
    if (std::fprintf(to, "# frame %ld: knob on_surf pos.x pos.y pos.z vel.x vel.y vel.z\n", frame) < 0) return false;
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const clothknob& n = app.thread[k];
        if (std::fprintf(to, "%d %d %.9g %.9g %.9g %.9g %.9g %.9g\n", k, n.on_surf ? 1 : 0, n.pos.x, n.pos.y,
                         n.pos.z, n.vel.x, n.vel.y, n.vel.z) < 0)
            return false;
    }
    return true;
}

bool drapeParseWhole(const char* text, long lo, long hi, long* out) {
    if (text == nullptr || text[0] < '0' || text[0] > '9') return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    *out = v;
    return true;
}

// Recorded from drape_run; every build, debug with sanitizers or optimised, on
// either instruction set, must reproduce them bit for bit.
static const drapeRecord recorded[] = {
    {DRAPE_FAITHFUL, 0, 0xe97a8c7330d47415ull},   {DRAPE_FAITHFUL, 1, 0xeed3ea965bd0a505ull},
    {DRAPE_FAITHFUL, 38, 0xe02b0f28bb3c74fdull},  {DRAPE_FAITHFUL, 82, 0xf8449ebfa98f9a62ull},
    {DRAPE_FAITHFUL, 90, 0x84aa5b7cedcadc4full},  {DRAPE_FAITHFUL, 200, 0xa65021c460ed25f0ull},
    {DRAPE_FAITHFUL, 1000, 0x203845a83de48f50ull},
    {DRAPE_STABLE, 0, 0xe97a8c7330d47415ull},     {DRAPE_STABLE, 1, 0x22ef4ecab1ec0fa5ull},
    {DRAPE_STABLE, 38, 0xf8d0e44ede34e6cdull},    {DRAPE_STABLE, 82, 0xa3eaea204615fa6cull},
    {DRAPE_STABLE, 200, 0xcfeb6a98140f94d6ull},   {DRAPE_STABLE, 400, 0xe84448b9fc87d4ebull},
    {DRAPE_STABLE, 1000, 0x503e88026f8537eaull},
};

std::vector<drapeRecord> drapeRecordedRun(drapeKind kind, long last) {
    std::vector<drapeRecord> run;
    for (const drapeRecord& r : recorded)
        if (r.kind == kind && r.frame <= last) run.push_back(r);
    std::sort(run.begin(), run.end(), [](const drapeRecord& a, const drapeRecord& b) { return a.frame < b.frame; });
    return run;
}
