// Fingerprint of the cloth's state, shared by drape_run and the tests: FNV-1a
// (64 bit) over every knob in index order, the bytes of pos.x, pos.y, pos.z,
// vel.x, vel.y, vel.z as stored (little-endian IEEE floats) and one byte 0 or 1
// for on_surf. The struct's padding is left out, so equal states hash equal.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "app/drapeApp.h"

inline uint64_t drapeStateHash(const drapeApp& app) {
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

// The program never destroys its cloth; tools and tests that make several do,
// and release the mesh shape with it (the application itself never frees it).
struct drapeDiscard {
    void operator()(drapeApp* app) const {
        if (app == nullptr) return;
        delete app->blanky;
        std::default_delete<drapeApp>()(app);
    }
};
using drapeHandle = std::unique_ptr<drapeApp, drapeDiscard>;
