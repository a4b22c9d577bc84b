// zoGeo: the root of the application class tree.
#pragma once

class zoGeo {
public:
    virtual void idle() {}
    virtual void draw() {}
    virtual void message(const char* text) { (void)text; }
};
