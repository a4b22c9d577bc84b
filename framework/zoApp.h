// zoApp: the application object. GLUT events for a window reach the zoApp stored
// for it in `apps` as virtual calls, in window pixels with the origin at the
// bottom-left. Applications derive from it and override what they need.
#pragma once

#include "framework/zoGeo.h"

class zoApp : public zoGeo {
public:
    float X, Y, W, H;

    zoApp();

    void idle() override;
    void draw() override;
    virtual void selfStart();
    virtual void subStart();
    virtual void setFocus(bool focus);
    virtual void setParent(void* parent);
    virtual void resize(float x, float y, float w, float h);
    virtual bool pointInside(float x, float y);
    virtual void mouseMove(float x, float y);
    virtual void mouseDown(float x, float y, int button);
    virtual void mouseDrag(float x, float y);
    virtual void mouseDrag(float x, float y, int button);
    virtual void mouseUp(float x, float y, int button);
    virtual void keyDown(char key);
    virtual void specialKeyDown(int key);
};

#define ZOU_MAX_WINDOWS 10

extern zoApp* apps[ZOU_MAX_WINDOWS];
extern int lastMouseButton;
extern bool validWindowSize;
extern int fullScreen, haveShrunk;
extern int windowedX, windowedY, windowedW, windowedH;

// The GLUT callbacks that selfStart registers.
extern "C" {
void display_cb(void);
void mouse_cb(int button, int state, int x, int y);
void motion_cb(int x, int y);
void passive_motion_cb(int x, int y);
void idle_cb(void);
void keyboard_cb(unsigned char key, int x, int y);
void special_key_cb(int key, int x, int y);
void reshape_cb(int width, int height);
}
