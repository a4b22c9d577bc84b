// The cloth demo: set-up, spring forces, the height field and the frame step.
//
// Every rounding here is deliberate: single precision throughout, double only
// where noted (the lengths' sums and roots, the stage scale DRAPE_STEP, the height
// field), and no fused multiply-add (-ffp-contract=off). Two builds and two
// runs therefore produce bit-identical knob states, frame after frame.
#include "app/drapeApp.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <new>

#include "math/zoTransforms.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

extern "C" {
// Names the kind of module for a loader that finds it by its exports.
__attribute__((visibility("default"), used)) char my_type[4] = "App";

__attribute__((visibility("default"))) zoApp* makeApp() {
    return new (std::nothrow) drapeApp();
}
}

drapeApp::drapeApp() {
    // Flat and at rest at height 30, knobs exactly the rest length apart.
    for (i = 0; i < DRAPE_KNOBS; i++) {
        thread[i].on_surf = false;
        thread[i].pos = zoVec3f(float(i % DRAPE_SIDE - 29) * DRAPE_REST_LENGTH,
                                float(i / DRAPE_SIDE - 29) * DRAPE_REST_LENGTH, 30.0f);
        thread[i].vel = zoVec3f(0, 0, 0);
    }
    enviro = zoVec3f(0, 0, DRAPE_GRAVITY);
    zero *= 0.0f;
    blanky = new (std::nothrow) zoMeshShape(DRAPE_SIDE, DRAPE_SIDE);
    zoTransformsInit();

    // Nothing reads these before writing them; they start defined all the same.
    dist1 = dist2 = dist3 = dist4 = 1.0f;
    fx = fy = j = 0.0f;
    h = 0;
    m = 0;
    n = 0;
    keepsOwnParts<drapeApp>();
}

#if defined(__SSE2__)
namespace {

// A vector's three components in lanes 0 to 2, lane 3 zero; and back.
__attribute__((always_inline)) inline __m128 load3(const zoVec3f& v) { return _mm_setr_ps(v.x, v.y, v.z, 0.0f); }
// A vector's components in lanes 0 to 2 and whatever float follows it in lane 3:
// one load instead of three. Every vector read this way (a knob's pos, enviro,
// the stage values) has another float of the same object after it, and lane 3
// never reaches a result. Not for data stored just before: a wide load that
// straddles a recent narrow store waits for it.
__attribute__((always_inline)) inline __m128 load3x(const zoVec3f& v) { return _mm_loadu_ps(&v.x); }
__attribute__((always_inline)) inline void store3(zoVec3f& v, __m128 m) {
    _mm_storel_pi(reinterpret_cast<__m64*>(&v.x), m);
    _mm_store_ss(&v.z, _mm_movehl_ps(m, m));
}

// The vectors from knob i to its four neighbours, written to del1 .. del4 and
// returned one component per vector, one direction per lane. A missing
// neighbour's vector is its old scratch times 0.
struct Directions {
    __m128 x, y, z;
    __m128 present;  // all ones in the lanes of existing neighbours
};

__attribute__((always_inline)) inline Directions directions(drapeApp& a, const clothknob* P, int i) {
    const int col = i % DRAPE_SIDE;
    const bool has1 = col != 0;                      // previous column
    const bool has2 = col != DRAPE_SIDE - 1;         // next column
    const bool has3 = i > DRAPE_SIDE - 1;            // previous row
    const bool has4 = i < DRAPE_KNOBS - DRAPE_SIDE;  // next row
    const __m128 c = load3x(P[i].pos);
    const __m128 zero = _mm_setzero_ps();
    __m128 d1 = has1 ? _mm_sub_ps(load3x(P[i - 1].pos), c) : _mm_mul_ps(load3(a.del1), zero);
    __m128 d2 = has2 ? _mm_sub_ps(load3x(P[i + 1].pos), c) : _mm_mul_ps(load3(a.del2), zero);
    __m128 d3 = has3 ? _mm_sub_ps(load3x(P[i - DRAPE_SIDE].pos), c) : _mm_mul_ps(load3(a.del3), zero);
    __m128 d4 = has4 ? _mm_sub_ps(load3x(P[i + DRAPE_SIDE].pos), c) : _mm_mul_ps(load3(a.del4), zero);
    store3(a.del1, d1);
    store3(a.del2, d2);
    store3(a.del3, d3);
    store3(a.del4, d4);
    _MM_TRANSPOSE4_PS(d1, d2, d3, d4);
    alignas(16) static const int masks[16][4] = {
        {0, 0, 0, 0},   {-1, 0, 0, 0},   {0, -1, 0, 0},   {-1, -1, 0, 0},   {0, 0, -1, 0},   {-1, 0, -1, 0},
        {0, -1, -1, 0}, {-1, -1, -1, 0}, {0, 0, 0, -1},   {-1, 0, 0, -1},   {0, -1, 0, -1},  {-1, -1, 0, -1},
        {0, 0, -1, -1}, {-1, 0, -1, -1}, {0, -1, -1, -1}, {-1, -1, -1, -1}};
    const int which = int(has1) | int(has2) << 1 | int(has3) << 2 | int(has4) << 3;
    return {d1, d2, d3, _mm_load_ps(reinterpret_cast<const float*>(masks[which]))};
}

// The lengths of the four direction vectors, one per lane, as length() computes
// them: (y*y + x*x) + z*z summed in double, the root rounded to float.
__attribute__((always_inline)) inline __m128 lengthsSSE2(const Directions& d) {
    const __m128d xl = _mm_cvtps_pd(d.x), xh = _mm_cvtps_pd(_mm_movehl_ps(d.x, d.x));
    const __m128d yl = _mm_cvtps_pd(d.y), yh = _mm_cvtps_pd(_mm_movehl_ps(d.y, d.y));
    const __m128d zl = _mm_cvtps_pd(d.z), zh = _mm_cvtps_pd(_mm_movehl_ps(d.z, d.z));
    const __m128d ql = _mm_add_pd(_mm_add_pd(_mm_mul_pd(yl, yl), _mm_mul_pd(xl, xl)), _mm_mul_pd(zl, zl));
    const __m128d qh = _mm_add_pd(_mm_add_pd(_mm_mul_pd(yh, yh), _mm_mul_pd(xh, xh)), _mm_mul_pd(zh, zh));
    return _mm_movelh_ps(_mm_cvtpd_ps(_mm_sqrt_pd(ql)), _mm_cvtpd_ps(_mm_sqrt_pd(qh)));
}

// The same in one pass of four double lanes where the processor has AVX.
__attribute__((target("avx"), always_inline)) inline __m128 lengthsAVX(const Directions& d) {
    const __m256d x = _mm256_cvtps_pd(d.x), y = _mm256_cvtps_pd(d.y), z = _mm256_cvtps_pd(d.z);
    const __m256d q = _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(y, y), _mm256_mul_pd(x, x)), _mm256_mul_pd(z, z));
    return _mm256_cvtpd_ps(_mm256_sqrt_pd(q));
}

// From the directions and their lengths to the spring force: writes dist1 ..
// dist4 and force, and returns the force as (x, y, z, 0).
__attribute__((always_inline)) inline __m128 springForce(drapeApp& a, const Directions& d, __m128 len) {
    const __m128 zero = _mm_setzero_ps();
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 rest = _mm_set1_ps(DRAPE_REST_LENGTH);
    // A missing neighbour counts as a spring at rest.
    const __m128 L = _mm_or_ps(_mm_and_ps(d.present, len), _mm_andnot_ps(d.present, rest));
    a.dist1 = _mm_cvtss_f32(L);
    a.dist2 = _mm_cvtss_f32(_mm_shuffle_ps(L, L, 1));
    a.dist3 = _mm_cvtss_f32(_mm_shuffle_ps(L, L, 2));
    a.dist4 = _mm_cvtss_f32(_mm_shuffle_ps(L, L, 3));

    // Two neighbours at the same place (length 0) would make d / L = 0 / 0 and
    // the NaN would spread through the cloth: that spring counts as absent for
    // this call. Dividing its zero vector by 1 instead gives exactly +0.
    const __m128 coincident = _mm_cmpeq_ps(L, zero);
    const __m128 Lq = _mm_or_ps(_mm_andnot_ps(coincident, L), _mm_and_ps(coincident, one));

    // s = d - (d / L) x rest length, lane by lane (for the rest length 1 the
    // product is exact and the compiler drops it).
    __m128 s1 = _mm_sub_ps(d.x, _mm_mul_ps(_mm_div_ps(d.x, Lq), rest));
    __m128 s2 = _mm_sub_ps(d.y, _mm_mul_ps(_mm_div_ps(d.y, Lq), rest));
    __m128 s3 = _mm_sub_ps(d.z, _mm_mul_ps(_mm_div_ps(d.z, Lq), rest));
    __m128 s4 = zero;
    // From one vector per component to one per direction, s1 .. s4 as (x, y, z, 0),
    // so that the sum runs in the fixed order ((s1 + s2) + s3) + s4.
    _MM_TRANSPOSE4_PS(s1, s2, s3, s4);
    const __m128 f = _mm_mul_ps(_mm_add_ps(_mm_add_ps(_mm_add_ps(s1, s2), s3), s4), _mm_set1_ps(DRAPE_STIFFNESS));
    store3(a.force, f);
    return f;
}

// The stage value: each force component times the double step, rounded once.
__attribute__((always_inline)) inline __m128 scaleSSE2(__m128 f) {
    const __m128d step = _mm_set1_pd(DRAPE_STEP);
    return _mm_movelh_ps(_mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(f), step)),
                         _mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(f, f)), step)));
}

__attribute__((target("avx"), always_inline)) inline __m128 scaleAVX(__m128 f) {
    return _mm256_cvtpd_ps(_mm256_mul_pd(_mm256_cvtps_pd(f), _mm256_set1_pd(DRAPE_STEP)));
}

void stageSSE2(drapeApp& a, const clothknob* P, zoVec3f& vstore, int i) {
    const Directions d = directions(a, P, i);
    store3(vstore, scaleSSE2(springForce(a, d, lengthsSSE2(d))));
}

// The same steps compiled for AVX: the double square roots of the four lengths
// in one instruction, and shorter code, which lets more of the consecutive
// independent stage calls overlap.
__attribute__((target("avx"))) void stageAVX(drapeApp& a, const clothknob* P, zoVec3f& vstore, int i) {
    const Directions d = directions(a, P, i);
    store3(vstore, scaleAVX(springForce(a, d, lengthsAVX(d))));
}

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
void stagePlain(drapeApp& a, const clothknob* P, zoVec3f& vstore, int i) {
    const zoVec3f c = P[i].pos;
    const int col = i % DRAPE_SIDE;
    const bool has1 = col != 0, has2 = col != DRAPE_SIDE - 1;
    const bool has3 = i > DRAPE_SIDE - 1, has4 = i < DRAPE_KNOBS - DRAPE_SIDE;
    if (has1) a.del1 = P[i - 1].pos - c; else a.del1 *= 0.0f;
    if (has2) a.del2 = P[i + 1].pos - c; else a.del2 *= 0.0f;
    if (has3) a.del3 = P[i - DRAPE_SIDE].pos - c; else a.del3 *= 0.0f;
    if (has4) a.del4 = P[i + DRAPE_SIDE].pos - c; else a.del4 *= 0.0f;
    a.dist1 = has1 ? a.del1.length() : DRAPE_REST_LENGTH;
    a.dist2 = has2 ? a.del2.length() : DRAPE_REST_LENGTH;
    a.dist3 = has3 ? a.del3.length() : DRAPE_REST_LENGTH;
    a.dist4 = has4 ? a.del4.length() : DRAPE_REST_LENGTH;
    // A coincident neighbour (length 0) counts as absent, as in the lanes.
    const zoVec3f s4 = a.dist4 == 0.0f ? zoVec3f() : a.del4 - (a.del4 / a.dist4) * DRAPE_REST_LENGTH;
    const zoVec3f s3 = a.dist3 == 0.0f ? zoVec3f() : a.del3 - (a.del3 / a.dist3) * DRAPE_REST_LENGTH;
    const zoVec3f s2 = a.dist2 == 0.0f ? zoVec3f() : a.del2 - (a.del2 / a.dist2) * DRAPE_REST_LENGTH;
    const zoVec3f s1 = a.dist1 == 0.0f ? zoVec3f() : a.del1 - (a.del1 / a.dist1) * DRAPE_REST_LENGTH;
    a.force = (((s1 + s2) + s3) + s4) * DRAPE_STIFFNESS;
    // The step is a double constant: each product is rounded to float once.
    const double h = DRAPE_STEP;
    vstore.set(float(double(a.force.x) * h), float(double(a.force.y) * h), float(double(a.force.z) * h));
}

// One knob's stage value and scratch, as the chosen lanes compute them.
void stageOne(drapeApp& a, const clothknob* P, zoVec3f& vstore, int i) {
#if defined(__SSE2__)
    if (drapeSpringLanes == DRAPE_LANES_AVX)
        stageAVX(a, P, vstore, i);
    else if (drapeSpringLanes == DRAPE_LANES_SSE2)
        stageSSE2(a, P, vstore, i);
    else
#endif
        stagePlain(a, P, vstore, i);
}

}  // namespace

namespace {

// --- The stage pass with drapeApp's own rungef --------------------------------
//
// rungef depends on positions only, so a free knob's four calls give one value
// four times; the calls of one knob leave the scratch as its first call does
// (a missing neighbour's vector is the old one times 0, and x * 0 * 0 = x * 0).
// So one computation per knob, stored in k1 .. k4, is the four calls' outcome.

// Every free knob once, in index order, as the chosen lanes compute one knob:
// exact whatever the scratch holds.
void stageEachOnce(drapeApp& a) {
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        if (a.thread[k].on_surf) continue;
        stageOne(a, a.thread, a.k1[k], k);
        a.k2[k] = a.k1[k];
        a.k3[k] = a.k1[k];
        a.k4[k] = a.k1[k];
    }
}

#if defined(__SSE2__)

// Four consecutive knobs side by side, one per lane, from the knobs' positions
// laid out one component per array with a margin of padding at both ends (the
// lanes of missing neighbours read it and are masked off). One buffer serves
// every cloth: a pass fills it before it reads it, and passes run one at a time.
const int margin = DRAPE_SIDE + 4;
static_assert(DRAPE_SIDE % 4 == 0, "four knobs of a block lie in one row");
alignas(16) float laneX[margin + DRAPE_KNOBS + margin];
alignas(16) float laneY[margin + DRAPE_KNOBS + margin];
alignas(16) float laneZ[margin + DRAPE_KNOBS + margin];

void spreadPositions(const clothknob* P) {
    for (int k = 0; k < DRAPE_KNOBS; k += 4) {
        __m128 a = _mm_loadu_ps(&P[k].pos.x), b = _mm_loadu_ps(&P[k + 1].pos.x);
        __m128 c = _mm_loadu_ps(&P[k + 2].pos.x), d = _mm_loadu_ps(&P[k + 3].pos.x);
        _MM_TRANSPOSE4_PS(a, b, c, d);
        _mm_store_ps(laneX + margin + k, a);
        _mm_store_ps(laneY + margin + k, b);
        _mm_store_ps(laneZ + margin + k, c);
    }
}

// The four directions of the block's knobs, one knob per lane. A missing
// neighbour's direction is +0 and its length the rest length: its term is +0,
// as rungef's is while its old scratch (times 0) is finite; the pass checks
// that it is.
struct Block {
    __m128 x[4], y[4], z[4];
    __m128 present[4];
};

__attribute__((always_inline)) inline Block blockDirections(int i0) {
    alignas(16) static const int first[4] = {0, -1, -1, -1}, last[4] = {-1, -1, -1, 0};
    const __m128 all = _mm_castsi128_ps(_mm_set1_epi32(-1)), none = _mm_setzero_ps();
    const int col = i0 % DRAPE_SIDE;
    Block b;
    b.present[0] = col == 0 ? _mm_load_ps(reinterpret_cast<const float*>(first)) : all;
    b.present[1] = col == DRAPE_SIDE - 4 ? _mm_load_ps(reinterpret_cast<const float*>(last)) : all;
    b.present[2] = i0 >= DRAPE_SIDE ? all : none;
    b.present[3] = i0 < DRAPE_KNOBS - DRAPE_SIDE ? all : none;
    const int offset[4] = {-1, 1, -DRAPE_SIDE, DRAPE_SIDE};
    const float* X = laneX + margin + i0;
    const float* Y = laneY + margin + i0;
    const float* Z = laneZ + margin + i0;
    const __m128 cx = _mm_load_ps(X), cy = _mm_load_ps(Y), cz = _mm_load_ps(Z);
    for (int d = 0; d < 4; d++) {
        b.x[d] = _mm_and_ps(b.present[d], _mm_sub_ps(_mm_loadu_ps(X + offset[d]), cx));
        b.y[d] = _mm_and_ps(b.present[d], _mm_sub_ps(_mm_loadu_ps(Y + offset[d]), cy));
        b.z[d] = _mm_and_ps(b.present[d], _mm_sub_ps(_mm_loadu_ps(Z + offset[d]), cz));
    }
    return b;
}

// The length of each lane's direction d, as length() computes it.
__attribute__((always_inline)) inline __m128 blockLengthSSE2(const Block& b, int d) {
    const Directions v = {b.x[d], b.y[d], b.z[d], b.present[d]};
    return lengthsSSE2(v);
}
__attribute__((target("avx"), always_inline)) inline __m128 blockLengthAVX(const Block& b, int d) {
    const Directions v = {b.x[d], b.y[d], b.z[d], b.present[d]};
    return lengthsAVX(v);
}

// The terms s = d - (d / L) x rest length of direction d (a coincident
// neighbour's as +0), summed into f in the order ((s1 + s2) + s3) + s4. bad
// collects the free lanes whose length is not finite.
struct Sum {
    __m128 x, y, z;
    __m128 bad;
};

__attribute__((always_inline)) inline void addTerm(Sum& f, const Block& b, int d, __m128 len, __m128 free) {
    const __m128 rest = _mm_set1_ps(DRAPE_REST_LENGTH), one = _mm_set1_ps(1.0f);
    const __m128 L = _mm_or_ps(_mm_and_ps(b.present[d], len), _mm_andnot_ps(b.present[d], rest));
    f.bad = _mm_or_ps(f.bad, _mm_and_ps(free, _mm_cmpnle_ps(L, _mm_set1_ps(3.40282347e38f))));
    const __m128 coincident = _mm_cmpeq_ps(L, _mm_setzero_ps());
    const __m128 Lq = _mm_or_ps(_mm_andnot_ps(coincident, L), _mm_and_ps(coincident, one));
    const __m128 sx = _mm_sub_ps(b.x[d], _mm_mul_ps(_mm_div_ps(b.x[d], Lq), rest));
    const __m128 sy = _mm_sub_ps(b.y[d], _mm_mul_ps(_mm_div_ps(b.y[d], Lq), rest));
    const __m128 sz = _mm_sub_ps(b.z[d], _mm_mul_ps(_mm_div_ps(b.z[d], Lq), rest));
    if (d == 0) {
        f.x = sx, f.y = sy, f.z = sz;
    } else {
        f.x = _mm_add_ps(f.x, sx), f.y = _mm_add_ps(f.y, sy), f.z = _mm_add_ps(f.z, sz);
    }
}

// Lane mask of the free knobs among i0 .. i0 + 3, and the bits of i0 .. i0 + 4.
__attribute__((always_inline)) inline int freeBits(const clothknob* P, int i0) {
    const clothknob* p = P + i0;
    int bits = int(!p[0].on_surf) | int(!p[1].on_surf) << 1 | int(!p[2].on_surf) << 2 | int(!p[3].on_surf) << 3;
    if (i0 + 4 < DRAPE_KNOBS) bits |= int(!p[4].on_surf) << 4;
    return bits;
}
__attribute__((always_inline)) inline __m128 laneMask(int bits) {
    return _mm_castsi128_ps(_mm_setr_epi32(-(bits & 1), -(bits >> 1 & 1), -(bits >> 2 & 1), -(bits >> 3 & 1)));
}

// The four knobs' stage values (x, y, z, one component per vector) into k1 ..
// k4 of the free ones. A knob followed by a free knob takes a four-float store:
// its fourth float lands on the next knob's x, which that knob's store then writes.
__attribute__((always_inline)) inline void storeStages(drapeApp& a, int i0, int bits, __m128 x, __m128 y, __m128 z) {
    __m128 w = _mm_setzero_ps();
    _MM_TRANSPOSE4_PS(x, y, z, w);
    const __m128 v[4] = {x, y, z, w};
    for (int l = 0; l < 4; l++) {
        if (!(bits >> l & 1)) continue;
        const int k = i0 + l;
        if (bits >> (l + 1) & 1) {
            _mm_storeu_ps(&a.k1[k].x, v[l]);
            _mm_storeu_ps(&a.k2[k].x, v[l]);
            _mm_storeu_ps(&a.k3[k].x, v[l]);
            _mm_storeu_ps(&a.k4[k].x, v[l]);
        } else {
            store3(a.k1[k], v[l]);
            store3(a.k2[k], v[l]);
            store3(a.k3[k], v[l]);
            store3(a.k4[k], v[l]);
        }
    }
}

bool finite(const zoVec3f& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The loop over the blocks, in the two instruction sets: only the double
// parts (lengths and the step's scaling) differ. False if a free knob's spring
// length was not finite, so that a missing neighbour's term might not be +0.
bool stageBlocksSSE2(drapeApp& a) {
    __m128 bad = _mm_setzero_ps();
    for (int i0 = 0; i0 < DRAPE_KNOBS; i0 += 4) {
        const int bits = freeBits(a.thread, i0);
        if (!(bits & 15)) continue;
        const Block b = blockDirections(i0);
        Sum f = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), bad};
        const __m128 free = laneMask(bits);
        for (int d = 0; d < 4; d++) addTerm(f, b, d, blockLengthSSE2(b, d), free);
        bad = f.bad;
        const __m128 K = _mm_set1_ps(DRAPE_STIFFNESS);
        storeStages(a, i0, bits, scaleSSE2(_mm_mul_ps(f.x, K)), scaleSSE2(_mm_mul_ps(f.y, K)),
                    scaleSSE2(_mm_mul_ps(f.z, K)));
    }
    return _mm_movemask_ps(bad) == 0;
}

__attribute__((target("avx"))) bool stageBlocksAVX(drapeApp& a) {
    __m128 bad = _mm_setzero_ps();
    for (int i0 = 0; i0 < DRAPE_KNOBS; i0 += 4) {
        const int bits = freeBits(a.thread, i0);
        if (!(bits & 15)) continue;
        const Block b = blockDirections(i0);
        Sum f = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), bad};
        const __m128 free = laneMask(bits);
        for (int d = 0; d < 4; d++) addTerm(f, b, d, blockLengthAVX(b, d), free);
        bad = f.bad;
        const __m128 K = _mm_set1_ps(DRAPE_STIFFNESS);
        storeStages(a, i0, bits, scaleAVX(_mm_mul_ps(f.x, K)), scaleAVX(_mm_mul_ps(f.y, K)),
                    scaleAVX(_mm_mul_ps(f.z, K)));
    }
    return _mm_movemask_ps(bad) == 0;
}

// The scratch as the last calls leave it: the last free knob sets dist1 ..
// dist4 and force; each del is set by the last free knob that has that
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
        const int col = k % DRAPE_SIDE;
        const bool has[4] = {col != 0, col != DRAPE_SIDE - 1, k >= DRAPE_SIDE, k < DRAPE_KNOBS - DRAPE_SIDE};
        for (int d = 0; d < 4; d++)
            if (has[d] && latest[d] < 0) latest[d] = k, missing--;
    }
    int knobs[5] = {latest[0], latest[1], latest[2], latest[3], last};
    std::sort(knobs, knobs + 5);
    zoVec3f unused;
    for (int n = 0; n < 5; n++)
        if (knobs[n] >= 0 && (n == 0 || knobs[n] != knobs[n - 1])) stageOne(a, a.thread, unused, knobs[n]);
}

#endif  // __SSE2__

void stageOnce(drapeApp& a) {
#if defined(__SSE2__)
    if (drapeSpringLanes != DRAPE_LANES_PLAIN && finite(a.del1) && finite(a.del2) && finite(a.del3) &&
        finite(a.del4)) {
        spreadPositions(a.thread);
        const bool exact = drapeSpringLanes == DRAPE_LANES_AVX ? stageBlocksAVX(a) : stageBlocksSSE2(a);
        if (exact) {
            replayScratch(a);
            return;
        }
    }
#endif
    // Plain code, or a cloth with lengths beyond the floats: knob after knob.
    stageEachOnce(a);
}

}  // namespace

// The stage value of knob i: the net force of its up to four springs (rest
// length DRAPE_REST_LENGTH, stiffness DRAPE_STIFFNESS) times the step
// DRAPE_STEP. ref, the stage's offset, does not enter: the force depends on
// positions only.
//
// With SSE2 the four directions are computed side by side in lanes. Each lane
// runs the same IEEE single or double operations, in the same order, as the
// one-spring-at-a-time formulation (s = d - d / L per component, L the
// double-summed length rounded to float), so the bits are the same; a unit
// test holds the two against each other.
void drapeApp::rungef(clothknob* P, zoVec3f& vstore, zoVec3f ref, int i) {
    (void)ref;
    stageOne(*this, P, vstore, i);
}

namespace {

static_assert(DRAPE_KNOBS % 4 == 0, "the passes look at the knobs four at a time");

// Whether the four knobs from p on are all frozen (one test for four).
inline bool allFrozen4(const clothknob* p) {
    return p[0].on_surf & p[1].on_surf & p[2].on_surf & p[3].on_surf;
}

// The ground: the first region whose (strict) condition holds gives the raw
// height, computed in double from X = x + 30 and Y = y + 30 and stored as a
// float; the floor at 4 is the lowest it gets. drapeApp::surface, and what the
// contact pass calls directly when surface is drapeApp's own.
inline float groundHeight(float x, float y) {
    const double X = double(x) + 30.0;
    const double Y = double(y) + 30.0;
    float raw;
    if (X < 10) {
        raw = float(20.0 - 2.0 * X);  // slope along the low-x edge
    } else if (60 < Y && Y < 70) {
        raw = float(2.0 * (Y - 70.0));  // below the floor: the floor
    } else if (70 < Y && Y < 71) {
        raw = 20.0f;  // wall
    } else if (71 < Y && Y < 91) {
        raw = float(2.0 * (81.0 - Y));  // ramp behind the wall
    } else if (45 < X && X < 65) {
        raw = float(0.25 * X + 10.0);  // tilted plateau
    } else if (19 < X && X < 39) {
        const float root = float(std::sqrt(100.0 - (30.0 - X) * (28.0 - X)));
        raw = float(15.0 - double(root));  // trough
    } else if (18 < X && X < 19) {
        raw = 15.0f;  // ledge
    } else if (70 < X && X < 90) {
        raw = float(std::sqrt(100.0 - (80.0 - X) * (80.0 - X)));  // hump
    } else if (20 < Y && Y < 40 && 30 < X && X < 70) {
        raw = 18.0f;  // block
    } else if (30 < Y && Y < 50 && X > 98) {
        raw = 20.0f;  // block
    } else {
        raw = 4.0f;
    }
    return raw < 4.0f ? 4.0f : raw;
}

}  // namespace

float drapeApp::surface(float x, float y) {
    return groundHeight(x, y);
}

void drapeApp::contactPass() {
    if (ownSurface()) {
        // The same outcome without the calls: the ground is a pure function, so
        // its one value serves for the test and the lift, and a frozen knob,
        // which never moves, lies exactly on it and would fail the test.
        for (int k = 0; k < DRAPE_KNOBS; k++) {
            if (k % 4 == 0 && allFrozen4(thread + k)) {
                k += 3;
                continue;
            }
            clothknob& knob = thread[k];
            if (knob.on_surf) continue;
            const float ground = groundHeight(knob.pos.x, knob.pos.y);
            if (ground > knob.pos.z) {
                knob.pos.z = ground;
                knob.on_surf = true;
                knob.vel.z = 0;
            }
        }
        i = DRAPE_KNOBS;
        return;
    }
    // Every knob, frozen or not; a knob exactly at the surface stays as it is.
    for (i = 0; i < DRAPE_KNOBS; i++) {
        clothknob& k = thread[i];
        if (surface(k.pos.x, k.pos.y) > k.pos.z) {
            k.pos.z = surface(k.pos.x, k.pos.y);
            k.on_surf = true;
            k.vel.z = 0;
        }
    }
}

void drapeApp::stagePass() {
    if (ownRungef()) {
        stageOnce(*this);
        i = DRAPE_KNOBS;
        return;
    }
    // No position moves in this pass, so all four stages see the same cloth.
    for (i = 0; i < DRAPE_KNOBS; i++) {
        if (thread[i].on_surf) continue;
        rungef(thread, k1[i], zero, i);
        rungef(thread, k2[i], k1[i] / 2.0f, i);
        rungef(thread, k3[i], k2[i] / 2.0f, i);
        rungef(thread, k4[i], k3[i], i);
    }
}

void drapeApp::updatePass() {
    // Nothing here is bounded or clamped: growing values are carried on.
    for (i = 0; i < DRAPE_KNOBS; i++) {
        // Four frozen knobs in a row are passed over with one test (a cloth
        // lying on the ground is mostly frozen).
        if (i % 4 == 0 && allFrozen4(thread + i)) {
            i += 3;
            continue;
        }
        clothknob& k = thread[i];
        if (k.on_surf) continue;
#if defined(__SSE2__)
        // The same float operations as below, three components per instruction.
        const __m128 six = _mm_set1_ps(6.0f), three = _mm_set1_ps(3.0f);
        const __m128 a = _mm_add_ps(
            _mm_add_ps(_mm_add_ps(_mm_add_ps(_mm_div_ps(load3x(k1[i]), six), _mm_div_ps(load3x(k2[i]), three)),
                                  _mm_div_ps(load3x(k3[i]), three)),
                       _mm_div_ps(load3x(k4[i]), six)),
            load3x(enviro));
        const __m128 p = load3x(k.pos);  // before vel is stored: its x shares the load
        const __m128 v = _mm_mul_ps(_mm_add_ps(load3(k.vel), a), _mm_set1_ps(float(DRAPE_DAMPING)));
        store3(k.vel, v);
        store3(k.pos, _mm_add_ps(p, _mm_mul_ps(v, _mm_set1_ps(float(DRAPE_STEP)))));
#else
        zoVec3f a = (((k1[i] / 6.0f + k2[i] / 3.0f) + k3[i] / 3.0f) + k4[i] / 6.0f) + enviro;
        k.vel += a;
        k.vel *= float(DRAPE_DAMPING);
        k.pos += k.vel * float(DRAPE_STEP);
#endif
    }
}

void drapeApp::step() {
    contactPass();
    stagePass();
    updatePass();
}

void drapeApp::draw() {
    placeCloth();
    step();
    drawCloth();
    m += 1;
}

void drapeApp::placeCloth() {
    glTranslatef(500, 350, 0);
    glRotatef(-35, 1, 0, 0);
    glScalef(5, 5, 5);
    zoTransformsCaptureCamera();
}

void drapeApp::drawCloth() {
    // Two segments per inner step: along x in row h, along y in column h. The
    // border rows and columns appear only as ends of segments into the interior.
    // The indices live in locals, not in the fields i and h, which the GL
    // calls could change as far as the compiler knows: each would be stored and
    // reloaded around every call. The fields end as the loops leave them.
    glBegin(GL_LINES);
    const clothknob* P = thread;
    for (int col = 1; col < DRAPE_SIDE; col++) {
        for (int row = 1; row < DRAPE_SIDE - 1; row++) {
            glColor3f(1, 1, 1);
            const zoVec3f& a = P[DRAPE_SIDE * row + col - 1].pos;
            const zoVec3f& b = P[DRAPE_SIDE * row + col].pos;
            const zoVec3f& c = P[DRAPE_SIDE * (col - 1) + row].pos;
            const zoVec3f& d = P[DRAPE_SIDE * col + row].pos;
            glVertex3f(a.x, a.y, a.z);
            glVertex3f(b.x, b.y, b.z);
            glVertex3f(c.x, c.y, c.z);
            glVertex3f(d.x, d.y, d.z);
        }
    }
    i = DRAPE_SIDE;
    h = DRAPE_SIDE - 1;
    glEnd();
}
