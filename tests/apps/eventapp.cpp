// A zoApp that prints each event it receives, one line per event, so that the
// X11 tests can drive it with xdotool and read what reached the application.
// Idle ticks are not printed (there are hundreds a second); a draw is printed
// only for the first frame at each window size, "draw <W> <H>".
#include "framework/zoApp.h"
#include "framework/zou.h"

#include <cstdio>

class eventApp : public zoApp {
public:
    float drawnW = -1, drawnH = -1;

    static void say(const char* fmt, double a = 0, double b = 0, double c = 0, double d = 0) {
        std::printf(fmt, a, b, c, d);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }

    void draw() override {
        if (W == drawnW && H == drawnH) return;
        drawnW = W;
        drawnH = H;
        say("draw %g %g", W, H);
    }
    void setFocus(bool focus) override { say("setFocus %g", focus); }
    void resize(float x, float y, float w, float h) override {
        zoApp::resize(x, y, w, h);
        say("resize %g %g %g %g", x, y, w, h);
    }
    void mouseMove(float x, float y) override { say("mouseMove %g %g", x, y); }
    void mouseDown(float x, float y, int button) override { say("mouseDown %g %g %g", x, y, button); }
    void mouseDrag(float x, float y) override { say("mouseDrag %g %g", x, y); }
    void mouseDrag(float x, float y, int button) override { say("mouseDrag %g %g %g", x, y, button); }
    void mouseUp(float x, float y, int button) override { say("mouseUp %g %g %g", x, y, button); }
    // Besides the inherited keys: 'z' sets a window size of 0 x 0 and 'n' one
    // of -5 x -5 through the parameter store, as an application may.
    void keyDown(char key) override {
        say("keyDown %g", key);
        if (key == 'z' || key == 'n') {
            const int size[2] = {key == 'z' ? 0 : -5, key == 'z' ? 0 : -5};
            zouSetIntegerv(ZOU_WINDOW_SIZE, size);
            int back[2];
            zouGetIntegerv(ZOU_WINDOW_SIZE, back);
            say("stored %g %g", back[0], back[1]);
        }
        zoApp::keyDown(key);
    }
    void specialKeyDown(int key) override {
        say("specialKeyDown %g", key);
        zoApp::specialKeyDown(key);
    }
};

int main() {
    zouOpen();
    eventApp* app = new eventApp;
    app->selfStart();
    return 0;
}
