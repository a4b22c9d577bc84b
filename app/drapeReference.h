// The cloth's frame written the plain way, one spring at a time in scalar code
// with the vector operations straight from the rule: the yardstick that the
// unit tests hold every computing path against, bit for bit, and that the
// cloth benchmark times beside the real step. Not part of the programs.
#pragma once

#include "app/drapeApp.h"

namespace drapeReference {

// What rungef leaves behind besides its result.
struct Scratch {
    zoVec3f del[4];  // knob -> previous column, next column, previous row, next row
    float dist[4];
    zoVec3f force;
};

// Knob i's stage value; s holds the scratch before and after, as rungef's
// fields do (a missing neighbour's vector is the old one times 0).
inline zoVec3f stage(const clothknob* P, int i, Scratch& s) {
    const drapeNeighbours n = drapeNeighboursOf(i);
    for (int d = 0; d < 4; d++) {
        if (n.has[d]) {
            s.del[d] = P[i + drapeNeighbourOffset[d]].pos - P[i].pos;
            s.dist[d] = s.del[d].length();
        } else {
            s.del[d] *= 0.0f;
            s.dist[d] = DRAPE_REST_LENGTH;
        }
    }
    zoVec3f t[4];
    for (int d = 3; d >= 0; d--)
        t[d] = s.dist[d] == 0.0f ? zoVec3f() : s.del[d] - (s.del[d] / s.dist[d]) * DRAPE_REST_LENGTH;
    s.force = (((t[0] + t[1]) + t[2]) + t[3]) * DRAPE_STIFFNESS;
    const double h = DRAPE_STEP;
    return zoVec3f(float(double(s.force.x) * h), float(double(s.force.y) * h), float(double(s.force.z) * h));
}

// One frame of the faithful cloth: the contact pass over every knob with
// drapeApp's ground (called twice for a knob below it), four stages per free
// knob, and the update; the scratch goes to s.
inline void step(drapeApp& a, Scratch& s) {
    clothknob* P = a.thread;
    for (int i = 0; i < DRAPE_KNOBS; i++) {
        clothknob& k = P[i];
        if (a.drapeApp::surface(k.pos.x, k.pos.y) > k.pos.z) {
            k.pos.z = a.drapeApp::surface(k.pos.x, k.pos.y);
            k.on_surf = true;
            k.vel.z = 0;
        }
    }
    for (int i = 0; i < DRAPE_KNOBS; i++) {
        if (P[i].on_surf) continue;
        a.k1[i] = stage(P, i, s);
        a.k2[i] = stage(P, i, s);
        a.k3[i] = stage(P, i, s);
        a.k4[i] = stage(P, i, s);
    }
    for (int i = 0; i < DRAPE_KNOBS; i++) {
        clothknob& k = P[i];
        if (k.on_surf) continue;
        k.vel += (((a.k1[i] / 6.0f + a.k2[i] / 3.0f) + a.k3[i] / 3.0f) + a.k4[i] / 6.0f) + a.enviro;
        k.vel *= float(DRAPE_DAMPING);
        k.pos += k.vel * float(DRAPE_STEP);
    }
}

}  // namespace drapeReference
