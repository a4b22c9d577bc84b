// One frame of drape as the web page and the native benchmark both measure it,
// so that their figures compare: the cloth at frame 10 (all 3600 knobs free,
// every frame of the fall costing the same), restored before each frame; the
// outermost view frame for a 1024 x 768 window, drapeApp::draw() (simulation
// and the wire grid's GL calls) and the frame's close, with no presentation.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

#include "app/drapeHarness.h"
#include "framework/zou.h"

struct drapeFrameBench {
    drapeCloth cloth{DRAPE_FAITHFUL};
    std::vector<clothknob> saved;

    drapeFrameBench() {
        cloth.step(10);
        if (cloth.app) saved.assign(cloth->thread, cloth->thread + DRAPE_KNOBS);
    }
    bool ok() const { return cloth.app != nullptr; }
    void restore() { std::copy(saved.begin(), saved.end(), cloth->thread); }

    void simulation() { cloth->step(); }
    void frame() {
        static void (*const keep)(void) = zouPresent;
        zouPresent = [] {};
        zouWindowWidth = 1024;
        zouWindowHeight = 768;
        zouOpenToviFrame();
        cloth->draw();
        zouCloseToviFrame();
        zouPresent = keep;
    }

    // The median time of `runs` runs of body, each from the saved state, in
    // microseconds; the restoring copy is not timed.
    template <class Body>
    double medianMicros(int runs, Body body) {
        std::vector<double> t;
        for (int r = 0; r < runs; r++) {
            restore();
            const auto t0 = std::chrono::steady_clock::now();
            body();
            const auto t1 = std::chrono::steady_clock::now();
            t.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        }
        std::sort(t.begin(), t.end());
        return t.empty() ? 0 : t[t.size() / 2];
    }
};
