// shapeview [--still] [FILE]: shows four shapes, picks and selects them with
// the mouse and saves them to FILE (shapeview.zos by default) and back.
// --still, or SHAPEVIEW_STILL=1 in the environment, starts with the rotation
// stopped, so that every shape stands where it was built.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shapeview.h"
#include "framework/zou.h"

int main(int argc, char** argv) {
    const char* env = std::getenv("SHAPEVIEW_STILL");
    bool still = env && *env && std::strcmp(env, "0") != 0;
    const char* fileName = "shapeview.zos";
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--still") == 0) {
            still = true;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "usage: shapeview [--still] [FILE]\n");
            return 2;
        } else {
            fileName = argv[i];
        }
    }
    // One line at a time, so that whoever reads the output sees each report
    // as it happens, also when it goes to a file or a pipe.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    zouOpen();
    shapeviewApp* app = new shapeviewApp(fileName, still);
    app->printHelp();
    app->selfStart();  // runs the main loop; Escape ends the process
    return 0;
}
