// shapeview: four shapes side by side, each drawn by the shape layer under the
// framework's camera, with picking, rubber-band selection and saving to and
// loading from one shape file.
#pragma once

#include <cstddef>
#include <cstdio>

#include "framework/zoApp.h"
#include "shape/zoShape.h"

#define SV_SHAPES 4

// The shapes in the order they stand on screen (left to right) and in the file.
extern const char* const svNames[SV_SHAPES];  // "wave", "fan", "loop", "points"

// Builds the four shapes in their start state.
void svBuildShapes(zoShape* out[SV_SHAPES]);

// Reads SV_SHAPES records from `stream` into new shapes and hands them over in
// `out`, all or none: when the stream does not hold exactly SV_SHAPES records
// that the shape layer accepts and that this program can draw, the shapes read
// so far are deleted, `out` is all null, and `why` says which one failed.
bool svReadShapes(FILE* stream, zoShape* out[SV_SHAPES], char* why, size_t whySize);

class shapeviewApp final : public zoApp {
public:
    zoShape* shapes[SV_SHAPES];  // on screen; a load replaces all four or none
    bool selected[SV_SHAPES];
    bool drawn[SV_SHAPES];       // drawn since it was loaded: its screen positions are valid
    float spin[SV_SHAPES];       // degrees per frame
    bool still;                  // no rotation: tests click known positions
    const char* fileName;
    bool pressed;                // a button is down
    float downX, downY;          // where it went down
    float dragX, dragY;          // where the pointer is while it is down

    shapeviewApp(const char* fileName, bool still);
    // The program keeps its application to the end; tests make many.
    ~shapeviewApp();

    void idle() override;
    void draw() override;
    void mouseDown(float x, float y, int button) override;
    using zoApp::mouseDrag;
    void mouseDrag(float x, float y) override;
    void mouseUp(float x, float y, int button) override;
    void keyDown(char key) override;

    // Centre of shape i's place on screen, in window pixels.
    virtual float slotX(int i);
    virtual float slotY(int i);
    virtual void drawShape(int i);
    virtual void pick(float x, float y);
    virtual void select(float x0, float y0, float x1, float y1);
    virtual bool save();
    virtual bool load();
    virtual void perturb();
    virtual void printShapes();
    virtual void printHelp();
};
