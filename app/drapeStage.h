// The stage computation behind drapeApp: rungef's one knob and the stage pass
// of a cloth with drapeApp's own rungef (app/drapeStagePass.cpp), in the lanes
// of drapeSpringLanes. Internal to the cloth's sources.
#pragma once

#include "app/drapeApp.h"

// Knob i's stage value (its net spring force times DRAPE_STEP) into vstore,
// leaving the scratch (del1 .. del4, dist1 .. dist4, force) as rungef does.
void drapeKnobStage(drapeApp& a, const clothknob* P, zoVec3f& vstore, int i);

// The stage pass with drapeApp's own rungef: every free knob's stage value
// computed once into k1 .. k4, and the scratch as the pass's last calls leave
// it; the same bits as four rungef calls per free knob.
void drapeDirectStagePass(drapeApp& a);

// The knobs' positions one component per array, for the four-knob blocks,
// with a margin at both ends that the lanes of missing neighbours read (and
// mask off); and the free knobs of each block, with a row of blocks of none
// at both ends.
struct drapeSpread {
    static constexpr int margin = DRAPE_SIDE + 4;
    alignas(16) float x[margin + DRAPE_KNOBS + margin];
    alignas(16) float y[margin + DRAPE_KNOBS + margin];
    alignas(16) float z[margin + DRAPE_KNOBS + margin];
    static constexpr int blocksPerRow = DRAPE_SIDE / 4;
    int free[blocksPerRow + DRAPE_KNOBS / 4 + blocksPerRow];
};

#if defined(__SSE2__)
// The lanes compiled for AVX (app/drapeStageAVX.cpp), for processors that
// have it: drapeKnobStage's knob, and the free knobs' stage values four knobs
// at a time (false if a free knob's spring length was not finite; then the
// pass is done knob by knob).
void drapeKnobStageAVX(drapeApp& a, const clothknob* P, zoVec3f& vstore, int i);
bool drapeBlockStagesAVX(drapeApp& a, drapeSpread& spread);
#endif
