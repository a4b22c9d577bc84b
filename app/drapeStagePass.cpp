// rungef's knob in the chosen lanes, and the stage pass of a cloth with
// drapeApp's own rungef.
//
// rungef depends on positions only, so a free knob's four calls give one value
// four times; the calls of one knob leave the scratch as its first call does
// (a missing neighbour's vector is the old one times 0, and x * 0 * 0 = x * 0).
// So one computation per knob, stored in k1 .. k4, is the four calls' outcome.
#include "app/drapeStage.h"

#include <algorithm>
#include <cmath>

#include "app/drapeLanes.h"

#if defined(__SSE2__)
namespace {
bool cpuHasAVX() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
}
}  // namespace

drapeLanes drapeSpringLanes = cpuHasAVX() ? DRAPE_LANES_AVX : DRAPE_LANES_SSE2;

bool drapeLanesAvailable(drapeLanes lanes) {
    return lanes != DRAPE_LANES_AVX || cpuHasAVX();
}
#else
drapeLanes drapeSpringLanes = DRAPE_LANES_PLAIN;

bool drapeLanesAvailable(drapeLanes lanes) {
    return lanes == DRAPE_LANES_PLAIN;
}
#endif

namespace {

// The one-spring-at-a-time formulation in plain scalar code: the stage value
// of knob i, and the scratch as rungef leaves it.
void plainKnobStage(drapeApp& a, const clothknob* P, zoVec3f& vstore, int i) {
    const zoVec3f c = P[i].pos;
    const drapeNeighbours n = drapeNeighboursOf(i);
    zoVec3f* const del[4] = {&a.del1, &a.del2, &a.del3, &a.del4};
    float* const dist[4] = {&a.dist1, &a.dist2, &a.dist3, &a.dist4};
    for (int d = 0; d < 4; d++) {
        if (n.has[d]) {
            *del[d] = P[i + drapeNeighbourOffset[d]].pos - c;
            *dist[d] = del[d]->length();
        } else {
            *del[d] *= 0.0f;
            *dist[d] = DRAPE_REST_LENGTH;
        }
    }
    // A coincident neighbour (length 0) counts as absent, as in the lanes.
    zoVec3f s[4];
    for (int d = 0; d < 4; d++)
        if (*dist[d] != 0.0f) s[d] = *del[d] - (*del[d] / *dist[d]) * DRAPE_REST_LENGTH;
    a.force = (((s[0] + s[1]) + s[2]) + s[3]) * DRAPE_STIFFNESS;
    // The step is a double constant: each product is rounded to float once.
    const double h = DRAPE_STEP;
    vstore.set(float(double(a.force.x) * h), float(double(a.force.y) * h), float(double(a.force.z) * h));
}

// Every free knob once, in index order, as the chosen lanes compute one knob:
// exact whatever the scratch holds.
void stageEachFreeKnob(drapeApp& a) {
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        if (a.thread[k].on_surf) continue;
        drapeKnobStage(a, a.thread, a.k1[k], k);
        a.k2[k] = a.k1[k];
        a.k3[k] = a.k1[k];
        a.k4[k] = a.k1[k];
    }
}

#if defined(__SSE2__)

// One buffer serves every cloth: a pass fills it before it reads it, and
// passes run one at a time.
drapeSpread spread;

bool finite(const zoVec3f& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The scratch as the pass's last calls leave it: the last free knob sets dist1
// .. dist4 and force; each del is set by the last free knob that has that
// neighbour, times 0 for every later call. Computing those knobs once more, in
// index order, therefore leaves exactly the scratch of the whole pass.
void replayScratch(drapeApp& a) {
    int last = DRAPE_KNOBS - 1;
    while (last >= 0 && a.thread[last].on_surf) last--;
    if (last < 0) return;  // no call at all: the scratch stays
    int latest[4] = {-1, -1, -1, -1};
    int missing = 4;
    for (int k = last; k >= 0 && missing > 0; k--) {
        if (a.thread[k].on_surf) continue;
        const drapeNeighbours n = drapeNeighboursOf(k);
        for (int d = 0; d < 4; d++)
            if (n.has[d] && latest[d] < 0) latest[d] = k, missing--;
    }
    int knobs[5] = {latest[0], latest[1], latest[2], latest[3], last};
    std::sort(knobs, knobs + 5);
    zoVec3f unused;
    for (int n = 0; n < 5; n++)
        if (knobs[n] >= 0 && (n == 0 || knobs[n] != knobs[n - 1])) drapeKnobStage(a, a.thread, unused, knobs[n]);
}

#endif  // __SSE2__

}  // namespace

void drapeKnobStage(drapeApp& a, const clothknob* P, zoVec3f& vstore, int i) {
#if defined(__SSE2__)
    if (drapeSpringLanes == DRAPE_LANES_AVX)
        drapeKnobStageAVX(a, P, vstore, i);
    else if (drapeSpringLanes == DRAPE_LANES_SSE2)
        knobStage(a, P, vstore, i);
    else
#endif
        plainKnobStage(a, P, vstore, i);
}

void drapeDirectStagePass(drapeApp& a) {
#if defined(__SSE2__)
    // Four knobs at a time while every missing neighbour's term is +0, that is
    // while the scratch the first calls multiply by 0 is finite.
    if (drapeSpringLanes != DRAPE_LANES_PLAIN && finite(a.del1) && finite(a.del2) && finite(a.del3) &&
        finite(a.del4)) {
        const bool exact = drapeSpringLanes == DRAPE_LANES_AVX ? drapeBlockStagesAVX(a, spread) : blockStages(a, spread);
        if (exact) {
            replayScratch(a);
            return;
        }
    }
#endif
    // Plain code, or a cloth with lengths beyond the floats: knob after knob.
    stageEachFreeKnob(a);
}
