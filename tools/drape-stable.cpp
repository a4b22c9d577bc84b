// drape-stable: the cloth demo with the stable substeps. The same window, keys
// and picture as drape; only the integration of a frame differs.
#include <cstdio>
#include <cstdlib>

#include "app/stableDrapeApp.h"
#include "framework/zou.h"

int main() {
    zouOpen();
    zoApp* app = makeStableApp();
    if (app == nullptr) {
        std::fprintf(stderr, "drape-stable: not enough memory for the cloth\n");
        return EXIT_FAILURE;
    }
    app->selfStart();
    return 0;
}
