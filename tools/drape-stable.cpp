// drape-stable: the cloth with the stable substeps, as a testbed: the ground in
// view, a wire or shaded cloth, pause, single step, reset, and a knob pulled
// with the mouse. The same window as drape; F1 and Escape as there.
#include <cstdio>
#include <cstdlib>

#include "app/drapeTestbed.h"
#include "framework/zou.h"

int main() {
    zouOpen();
    zoApp* app = makeTestbedApp();
    if (app == nullptr) {
        std::fprintf(stderr, "drape-stable: not enough memory for the cloth\n");
        return EXIT_FAILURE;
    }
    drapeTestbed::printHelp(stdout);
    app->selfStart();
    return 0;
}
