// drapehold: the cloth in a real window, as drape-stable (or, with --plain, as
// drape) shows it, that stops advancing after frame N so that the X11 tests can
// take a screenshot of a known frame.
//
//   drapehold [--plain] N
//
// Frames 1 to N are drawn exactly as the program draws them. When frame N has
// been drawn it prints "held at frame N in a WxH window after S s, F frames/s",
// stops asking for more frames, and from then on every display the window
// system asks for (a resize, an expose) draws frame N again without a step.
// drape's own draw always steps, so with --plain a later display advances the
// cloth: that mode is for timing only.
#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

#include "app/stableDrapeApp.h"
#include "framework/zou.h"

namespace {

using Clock = std::chrono::steady_clock;

template <class Cloth>
class holdApp : public Cloth {
public:
    int holdAt = 1;
    Clock::time_point first;

    void draw() override {
        if (this->m < holdAt) {
            Cloth::draw();
            if (this->m == 1) first = Clock::now();
            if (this->m == holdAt) held();
            return;
        }
        if constexpr (std::is_base_of_v<stableDrapeApp, Cloth>) {
            this->placeCloth();
            this->drawCloth();
        } else {
            Cloth::draw();
        }
    }

    void held() {
        const double s = std::chrono::duration<double>(Clock::now() - first).count();
        std::printf("held at frame %d in a %gx%g window after %.3f s, %.1f frames/s\n", holdAt, this->W, this->H,
                    s, holdAt > 1 && s > 0 ? (holdAt - 1) / s : 0.0);
        std::fflush(stdout);
        glutIdleFunc(nullptr);
    }
};

template <class Cloth>
int run(int frame) {
    zouOpen();
    holdApp<Cloth>* app = new (std::nothrow) holdApp<Cloth>();
    if (!app) {
        std::fprintf(stderr, "drapehold: not enough memory for the cloth\n");
        return EXIT_FAILURE;
    }
    app->holdAt = frame;
    app->selfStart();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool plain = argc == 3 && std::strcmp(argv[1], "--plain") == 0;
    const char* n = argc == 2 ? argv[1] : plain ? argv[2] : nullptr;
    char* end = nullptr;
    long frame = n ? std::strtol(n, &end, 10) : 0;
    if (!n || *end != '\0' || frame < 1 || frame > 1000000) {
        std::fprintf(stderr, "usage: drapehold [--plain] FRAME (FRAME from 1 to 1000000)\n");
        return 2;
    }
    return plain ? run<drapeApp>(int(frame)) : run<stableDrapeApp>(int(frame));
}
