// One harness for everything that runs the cloth outside its window: tools,
// benchmarks and tests make, step, fingerprint and print a cloth of either kind
// here, and read the hashes every build must reproduce from one table.
#pragma once

#include <cstdint>
#include <climits>
#include <cstdio>
#include <vector>

#include "app/drapeApp.h"

// The two cloths: drapeApp's faithful step, and stableDrapeApp's substeps.
enum drapeKind { DRAPE_FAITHFUL, DRAPE_STABLE };

// The program that shows each kind ("drape", "drape-stable").
const char* drapeKindName(drapeKind kind);

// One cloth, owned: made as its program's factory makes it and released with
// its mesh shape (the programs themselves never release theirs).
class drapeCloth {
public:
    drapeKind kind;
    drapeApp* app;  // null when there was no memory for it
    long frame;     // frames simulated since the layout

    explicit drapeCloth(drapeKind kind);
    ~drapeCloth();
    drapeCloth(const drapeCloth&) = delete;
    drapeCloth& operator=(const drapeCloth&) = delete;
    drapeApp* operator->() const { return app; }
    drapeApp& operator*() const { return *app; }

    // The simulation of `frames` displayed frames (the cloth's own step()),
    // without any GL call: the state after N steps is bit for bit the state
    // after the program's Nth picture (draw() only adds transforms, the camera
    // capture and drawing).
    void step(long frames = 1);
    // Back to frame 0, a new cloth as laid out; false if there was no memory.
    bool restart();

private:
    void release();
};

// Fingerprint of a cloth's state: FNV-1a (64 bit) over every knob in index
// order, the bytes of pos.x, pos.y, pos.z, vel.x, vel.y, vel.z as stored
// (little-endian IEEE floats) and one byte 0 or 1 for on_surf. The struct's
// padding is left out, so equal states hash equal.
uint64_t drapeStateHash(const drapeApp& app);

// The knobs as text: a comment line naming the frame and the columns, then one
// line per knob "k on_surf pos.x pos.y pos.z vel.x vel.y vel.z" (%.9g, so the
// floats read back exactly). False if the stream refused the text.
bool drapeWriteState(FILE* to, const drapeApp& app, long frame);

// A whole decimal number from lo to hi, digits only (no sign, no space).
bool drapeParseWhole(const char* text, long lo, long hi, long* out);

// The recorded runs: the hash of each kind's state after `frame` steps.
struct drapeRecord {
    drapeKind kind;
    long frame;
    uint64_t hash;
};
// The records of one kind up to frame `last`, in frame order.
std::vector<drapeRecord> drapeRecordedRun(drapeKind kind, long last = LONG_MAX);
