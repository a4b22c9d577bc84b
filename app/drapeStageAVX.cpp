// The lanes of app/drapeLanes.h compiled for AVX, for processors that have it:
// the double lengths and the step's scaling in one pass of four lanes, and
// shorter code, which lets more of the consecutive independent stage
// computations overlap. drapeStagePass.cpp chooses them at start-up.
#include "app/drapeStage.h"

#if defined(__SSE2__)
// Every header that drapeLanes.h includes comes before the switch, so that
// only the lanes are compiled for AVX (an inline function of a header
// compiled here could stand in for other sources' copies on a processor
// without it).
#include <immintrin.h>

#include <cstddef>
#include <cstring>

#pragma GCC target("avx")
#define DRAPE_LANES_FOR_AVX  // the pragma does not tell the preprocessor
#include "app/drapeLanes.h"

void drapeKnobStageAVX(drapeApp& a, const clothknob* P, zoVec3f& vstore, int i) {
    knobStage(a, P, vstore, i);
}

bool drapeBlockStagesAVX(drapeApp& a, drapeSpread& spread) {
    return blockStages(a, spread);
}
#endif
