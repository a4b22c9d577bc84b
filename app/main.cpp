// The process entry: open the framework, create the cloth application and hand
// it the main loop, which never returns.
#include <cstdio>
#include <cstdlib>

#include "app/drapeApp.h"
#include "framework/zou.h"

int main() {
    zouOpen();
    zoApp* app = makeApp();
    if (app == nullptr) {
        std::fprintf(stderr, "drape: not enough memory for the cloth\n");
        return EXIT_FAILURE;
    }
    app->selfStart();
    return 0;
}
