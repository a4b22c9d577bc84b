// Helpers for the framework's unit tests: the framework keeps its state in
// globals that outlive a test, so every test starts from a known state.
#pragma once

#include "platform/fake/fakegl.h"
#include "framework/zoApp.h"
#include "framework/zou.h"

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace fwtest {

// The GLUT, window-mode and dispatch state as a fresh process has it, then a
// fresh zouOpen (its scratch buffer is released first so that repeated opens
// leak nothing), then an empty call log.
inline void freshOpen() {
    fakegl::reset();
    for (zoApp*& a : apps) a = nullptr;
    lastMouseButton = 0;
    validWindowSize = false;
    fullScreen = 1;
    haveShrunk = 0;
    windowedX = windowedY = windowedW = windowedH = 0;
    std::free(zouScreenGrabBuffer);
    std::free(zouScreenGrabFlipper);
    zouScreenGrabBuffer = zouScreenGrabFlipper = nullptr;
    std::free(zouDebugStr);
    zouDebugStr = nullptr;
    zouOpen();
    fakegl::calls.clear();
}

// One logged call as the stand-in formats it, e.g. call("glEnable", {GL_BLEND}).
inline std::string call(const char* name, std::initializer_list<double> args = {}, const char* text = "") {
    return fakegl::Call{name, std::vector<double>(args), text}.str();
}

}  // namespace fwtest
