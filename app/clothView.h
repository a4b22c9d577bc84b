// The cloth's surroundings and a second way to draw it, for either kind of
// cloth (drapeApp or a subclass): the height field under it as lit, shaded
// polygons coloured by height, and the cloth as a lit, two-sided surface drawn
// through the application's mesh shape `blanky`, with the wire grid optionally
// on top. drapeApp's own picture, the white wire grid on black, is this view
// with everything off.
//
// All drawing happens in the cloth's own transform, that is after the
// application's placeCloth(), with plain GL 1.x: the ground is compiled once
// into a display list, the cloth goes out in immediate mode every frame.
#pragma once

#include <vector>

#include "app/drapeApp.h"
#include "app/drapeHarness.h"

// The part of the plane the ground is drawn over, in the cloth's coordinates.
// It holds every feature of drapeApp's height field (the slope, trough,
// ledge, plateau, hump, wall, ramp and both blocks), ends inside the floor
// behind the ramp (the plateau, trough and hump come back beyond y = 61, out
// of the cloth's reach), and is also the box a grabbed knob may be pulled
// about in, so the cloth never leaves the ground that is shown.
#define CLOTH_GROUND_X0 (-34.0f)
#define CLOTH_GROUND_X1 72.0f
#define CLOTH_GROUND_Y0 (-39.5f)
#define CLOTH_GROUND_Y1 60.5f

// The height field sampled on a grid of lines that is fine where the height
// bends or jumps and coarse where it is flat or straight, then cut into quads
// that each lie flat: every block of cells whose samples lie in one plane is
// one quad. Made on the processor from surface(), so it can be looked at
// without GL.
struct clothGroundMesh {
    std::vector<float> xs, ys;  // the grid lines, increasing
    // One quad: corners (x0, y0), (x1, y0), (x1, y1), (x0, y1), counter-clockwise
    // seen from above, with their heights.
    struct Quad {
        float x0, x1, y0, y1;
        float h00, h10, h11, h01;
    };
    std::vector<Quad> quads;

    // Samples app.surface (the virtual call, so a subclass's own ground is
    // what is sampled) over the ground area.
    void build(drapeApp& app);
};

// The colour of the ground at a height: slate blue for the floor at 4, through
// green and sand to a reddish brown from 25 up; dark enough under the white wire.
void clothGroundColour(float height, float rgb[3]);

class clothView {
public:
    bool ground;        // draw the height field under the cloth
    bool shaded;        // the cloth as a lit surface instead of the wire grid
    bool wireOnShaded;  // the white wire grid on top of the shaded cloth

    clothView();  // everything off: drapeApp's own picture

    // The ground and the cloth as chosen, in the cloth's transform (after
    // placeCloth and the step of the frame). With everything off this is
    // exactly app.drawCloth().
    void draw(drapeApp& app);

    // One displayed frame of a cloth of either kind with this view, as its
    // program makes it: placeCloth, the cloth's step, draw(), the frame count.
    // With everything off it is the application's own draw(), call for call.
    void drawFrame(drapeCloth& cloth);

    // The height field, compiled into a display list the first time (the GL
    // context must stay the same from then on); without a list, for instance
    // when GL has no room for one, it is sent in immediate mode every time.
    void drawGround(drapeApp& app);

    // The knobs into blanky's vertices, and blanky drawn lit from both sides
    // (its draw recomputes the normals with calculateNormals). Without a mesh
    // (no memory at start-up) the wire grid is drawn instead.
    void drawShaded(drapeApp& app);

    // The GL state the view changes, back as the outermost frame sets it (the
    // white wire grid relies on the current normal being (0, 0, 1)).
    static void restoreState();

    clothGroundMesh groundMesh;  // filled by the first drawGround
    bool groundBuilt;
    unsigned groundList;  // 0 until compiled

private:
    void sendGround();
    bool clothColoured;
};
