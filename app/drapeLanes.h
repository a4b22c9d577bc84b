// The cloth's wide arithmetic: one knob's four springs side by side in four
// float lanes, or four knobs side by side, and a free knob's move three
// components at a time. Each lane runs the same IEEE single or double
// operations, in the same order, as the one-spring-at-a-time formulation
// (s = d - d / L per component, L the double-summed length rounded to float),
// so every choice gives the same bits; the unit tests hold them to each other.
//
// Internal to the cloth's sources, and compiled by each for its own
// instruction set: everything here has internal linkage. Where the including
// source is compiled for AVX and says so with DRAPE_LANES_FOR_AVX
// (app/drapeStageAVX.cpp), the double parts (the lengths' roots, the step's
// scaling) take one pass of four double lanes; otherwise two passes of two.
#pragma once

#include <cstddef>
#include <cstring>

#include "app/drapeApp.h"
#include "app/drapeStage.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

#if defined(__SSE2__)

// A vector's three components in lanes 0 to 2, lane 3 zero; and back.
__attribute__((always_inline)) inline __m128 load3(const zoVec3f& v) {
    return _mm_setr_ps(v.x, v.y, v.z, 0.0f);
}
// A vector's components in lanes 0 to 2 and whatever float follows it in lane 3:
// one load instead of three. Every vector read this way (a knob's pos, enviro,
// the stage values) has another float of the same object after it, and lane 3
// never reaches a result. Not for data stored just before: a wide load that
// straddles a recent narrow store waits for it.
__attribute__((always_inline)) inline __m128 load3x(const zoVec3f& v) {
    return _mm_loadu_ps(&v.x);
}
__attribute__((always_inline)) inline void store3(zoVec3f& v, __m128 m) {
    _mm_storel_pi(reinterpret_cast<__m64*>(&v.x), m);
    _mm_store_ss(&v.z, _mm_movehl_ps(m, m));
}

// The lengths of four vectors, one per lane (x, y and z one component each),
// as length() computes them: (y*y + x*x) + z*z summed in double, the root
// rounded to float.
__attribute__((always_inline)) inline __m128 lengths(__m128 x, __m128 y, __m128 z) {
#if defined(DRAPE_LANES_FOR_AVX)
    const __m256d X = _mm256_cvtps_pd(x), Y = _mm256_cvtps_pd(y), Z = _mm256_cvtps_pd(z);
    const __m256d q = _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(Y, Y), _mm256_mul_pd(X, X)), _mm256_mul_pd(Z, Z));
    return _mm256_cvtpd_ps(_mm256_sqrt_pd(q));
#else
    const __m128d xl = _mm_cvtps_pd(x), xh = _mm_cvtps_pd(_mm_movehl_ps(x, x));
    const __m128d yl = _mm_cvtps_pd(y), yh = _mm_cvtps_pd(_mm_movehl_ps(y, y));
    const __m128d zl = _mm_cvtps_pd(z), zh = _mm_cvtps_pd(_mm_movehl_ps(z, z));
    const __m128d ql = _mm_add_pd(_mm_add_pd(_mm_mul_pd(yl, yl), _mm_mul_pd(xl, xl)), _mm_mul_pd(zl, zl));
    const __m128d qh = _mm_add_pd(_mm_add_pd(_mm_mul_pd(yh, yh), _mm_mul_pd(xh, xh)), _mm_mul_pd(zh, zh));
    return _mm_movelh_ps(_mm_cvtpd_ps(_mm_sqrt_pd(ql)), _mm_cvtpd_ps(_mm_sqrt_pd(qh)));
#endif
}

// A stage value from a force: each component times the double step, rounded
// to float once.
__attribute__((always_inline)) inline __m128 timesStep(__m128 f) {
#if defined(DRAPE_LANES_FOR_AVX)
    return _mm256_cvtpd_ps(_mm256_mul_pd(_mm256_cvtps_pd(f), _mm256_set1_pd(DRAPE_STEP)));
#else
    const __m128d step = _mm_set1_pd(DRAPE_STEP);
    return _mm_movelh_ps(_mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(f), step)),
                         _mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(f, f)), step)));
#endif
}

// Four springs' directions (knob -> neighbour), one spring per lane, x, y and
// z one component each; present is all ones in the lanes of existing
// neighbours.
struct Springs {
    __m128 x, y, z;
    __m128 present;
};

// The terms s = d - (d / L) x rest length of four springs (for the rest length
// 1 the product is exact and the compiler drops it), and the lengths L they
// used: a missing neighbour counts as a spring at rest. Two knobs at the same
// place (L = 0) would make d / L = 0 / 0, and the NaN would spread through the
// cloth: that spring counts as absent, its zero vector divided by 1 instead,
// which gives exactly +0.
struct Terms {
    __m128 x, y, z;
    __m128 L;
};

__attribute__((always_inline)) inline Terms springTerms(const Springs& d, __m128 len) {
    const __m128 rest = _mm_set1_ps(DRAPE_REST_LENGTH), one = _mm_set1_ps(1.0f);
    const __m128 L = _mm_or_ps(_mm_and_ps(d.present, len), _mm_andnot_ps(d.present, rest));
    const __m128 coincident = _mm_cmpeq_ps(L, _mm_setzero_ps());
    const __m128 Lq = _mm_or_ps(_mm_andnot_ps(coincident, L), _mm_and_ps(coincident, one));
    return {_mm_sub_ps(d.x, _mm_mul_ps(_mm_div_ps(d.x, Lq), rest)), _mm_sub_ps(d.y, _mm_mul_ps(_mm_div_ps(d.y, Lq), rest)),
            _mm_sub_ps(d.z, _mm_mul_ps(_mm_div_ps(d.z, Lq), rest)), L};
}

// --- One knob: its four springs side by side -------------------------------------

// The vectors from knob i to its four neighbours, written to del1 .. del4 and
// returned one spring per lane. A missing neighbour's vector is its old
// scratch times 0.
__attribute__((always_inline)) inline Springs knobSprings(drapeApp& a, const clothknob* P, int i) {
    const drapeNeighbours n = drapeNeighboursOf(i);
    const __m128 c = load3x(P[i].pos);
    const __m128 zero = _mm_setzero_ps();
    const int* off = drapeNeighbourOffset;
    __m128 d1 = n.has[0] ? _mm_sub_ps(load3x(P[i + off[0]].pos), c) : _mm_mul_ps(load3(a.del1), zero);
    __m128 d2 = n.has[1] ? _mm_sub_ps(load3x(P[i + off[1]].pos), c) : _mm_mul_ps(load3(a.del2), zero);
    __m128 d3 = n.has[2] ? _mm_sub_ps(load3x(P[i + off[2]].pos), c) : _mm_mul_ps(load3(a.del3), zero);
    __m128 d4 = n.has[3] ? _mm_sub_ps(load3x(P[i + off[3]].pos), c) : _mm_mul_ps(load3(a.del4), zero);
    store3(a.del1, d1);
    store3(a.del2, d2);
    store3(a.del3, d3);
    store3(a.del4, d4);
    _MM_TRANSPOSE4_PS(d1, d2, d3, d4);
    alignas(16) static const int masks[16][4] = {
        {0, 0, 0, 0},   {-1, 0, 0, 0},   {0, -1, 0, 0},   {-1, -1, 0, 0},   {0, 0, -1, 0},   {-1, 0, -1, 0},
        {0, -1, -1, 0}, {-1, -1, -1, 0}, {0, 0, 0, -1},   {-1, 0, 0, -1},   {0, -1, 0, -1},  {-1, -1, 0, -1},
        {0, 0, -1, -1}, {-1, 0, -1, -1}, {0, -1, -1, -1}, {-1, -1, -1, -1}};
    const int which = int(n.has[0]) | int(n.has[1]) << 1 | int(n.has[2]) << 2 | int(n.has[3]) << 3;
    return {d1, d2, d3, _mm_load_ps(reinterpret_cast<const float*>(masks[which]))};
}

// Knob i's stage value into vstore and the scratch as rungef leaves it.
__attribute__((always_inline)) inline void knobStage(drapeApp& a, const clothknob* P, zoVec3f& vstore, int i) {
    const Springs d = knobSprings(a, P, i);
    const Terms t = springTerms(d, lengths(d.x, d.y, d.z));
    a.dist1 = _mm_cvtss_f32(t.L);
    a.dist2 = _mm_cvtss_f32(_mm_shuffle_ps(t.L, t.L, 1));
    a.dist3 = _mm_cvtss_f32(_mm_shuffle_ps(t.L, t.L, 2));
    a.dist4 = _mm_cvtss_f32(_mm_shuffle_ps(t.L, t.L, 3));
    // From one vector per component to one per spring, s1 .. s4 as (x, y, z, 0),
    // so that the sum runs in the fixed order ((s1 + s2) + s3) + s4.
    __m128 s1 = t.x, s2 = t.y, s3 = t.z, s4 = _mm_setzero_ps();
    _MM_TRANSPOSE4_PS(s1, s2, s3, s4);
    const __m128 f = _mm_mul_ps(_mm_add_ps(_mm_add_ps(_mm_add_ps(s1, s2), s3), s4), _mm_set1_ps(DRAPE_STIFFNESS));
    store3(a.force, f);
    store3(vstore, timesStep(f));
}

// --- Four knobs side by side -------------------------------------------------------

static_assert(DRAPE_SIDE % 4 == 0, "the four knobs of a block lie in one row");

// The positions of knobs k .. k + 3 into the spread.
__attribute__((always_inline)) inline void spreadBlock(const clothknob* P, drapeSpread& s, int k) {
    __m128 a = _mm_loadu_ps(&P[k].pos.x), b = _mm_loadu_ps(&P[k + 1].pos.x);
    __m128 c = _mm_loadu_ps(&P[k + 2].pos.x), d = _mm_loadu_ps(&P[k + 3].pos.x);
    _MM_TRANSPOSE4_PS(a, b, c, d);
    _mm_store_ps(s.x + s.margin + k, a);
    _mm_store_ps(s.y + s.margin + k, b);
    _mm_store_ps(s.z + s.margin + k, c);
}

// The springs of knobs i0 .. i0 + 3, one knob per lane, by neighbour. A
// missing neighbour's direction is +0 and its length the rest length: its term
// is +0, as rungef's is while its old scratch (times 0) is finite; the pass
// checks that it is.
struct Block {
    Springs spring[4];
};

__attribute__((always_inline)) inline Block blockSprings(const drapeSpread& s, int i0) {
    // The four knobs lie in one row: they share their row neighbours, and only
    // the first can miss the previous column and only the last the next.
    const drapeNeighbours first = drapeNeighboursOf(i0), last = drapeNeighboursOf(i0 + 3);
    alignas(16) static const int firstMissing[4] = {0, -1, -1, -1}, lastMissing[4] = {-1, -1, -1, 0};
    const __m128 all = _mm_castsi128_ps(_mm_set1_epi32(-1)), none = _mm_setzero_ps();
    const __m128 present[4] = {first.has[0] ? all : _mm_load_ps(reinterpret_cast<const float*>(firstMissing)),
                               last.has[1] ? all : _mm_load_ps(reinterpret_cast<const float*>(lastMissing)),
                               first.has[2] ? all : none, first.has[3] ? all : none};
    const float* X = s.x + s.margin + i0;
    const float* Y = s.y + s.margin + i0;
    const float* Z = s.z + s.margin + i0;
    const __m128 cx = _mm_load_ps(X), cy = _mm_load_ps(Y), cz = _mm_load_ps(Z);
    Block b;
    for (int d = 0; d < 4; d++) {
        const int off = drapeNeighbourOffset[d];
        b.spring[d] = {_mm_and_ps(present[d], _mm_sub_ps(_mm_loadu_ps(X + off), cx)),
                       _mm_and_ps(present[d], _mm_sub_ps(_mm_loadu_ps(Y + off), cy)),
                       _mm_and_ps(present[d], _mm_sub_ps(_mm_loadu_ps(Z + off), cz)), present[d]};
    }
    return b;
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

// Every free knob's stage value into k1 .. k4, four knobs at a time; the
// scratch is left alone. False if a free knob's spring length was not finite,
// so that a missing neighbour's term might not be +0.
inline bool blockStages(drapeApp& a, drapeSpread& s) {
    // Which knobs are free, block by block, and the positions spread that the
    // free knobs' springs reach: their own block's, the blocks' beside it and
    // those of the rows before and after. A cloth at rest is mostly frozen.
    const int row = drapeSpread::blocksPerRow;
    int* const free = s.free + row;
    for (int i0 = 0; i0 < DRAPE_KNOBS; i0 += 4) free[i0 / 4] = freeBits(a.thread, i0);
    for (int b = 0; b < DRAPE_KNOBS / 4; b++)
        if ((free[b] | free[b - 1] | free[b + 1] | free[b - row] | free[b + row]) & 15) spreadBlock(a.thread, s, 4 * b);

    __m128 bad = _mm_setzero_ps();
    const __m128 most = _mm_set1_ps(3.40282347e38f), K = _mm_set1_ps(DRAPE_STIFFNESS);
    for (int i0 = 0; i0 < DRAPE_KNOBS; i0 += 4) {
        const int bits = free[i0 / 4];
        if (!(bits & 15)) continue;
        const Block b = blockSprings(s, i0);
        const __m128 lanes = laneMask(bits);
        __m128 fx = _mm_setzero_ps(), fy = fx, fz = fx;
        // Summed in the order ((s1 + s2) + s3) + s4.
        for (int d = 0; d < 4; d++) {
            const Springs& sp = b.spring[d];
            const Terms t = springTerms(sp, lengths(sp.x, sp.y, sp.z));
            bad = _mm_or_ps(bad, _mm_and_ps(lanes, _mm_cmpnle_ps(t.L, most)));
            if (d == 0) {
                fx = t.x, fy = t.y, fz = t.z;
            } else {
                fx = _mm_add_ps(fx, t.x), fy = _mm_add_ps(fy, t.y), fz = _mm_add_ps(fz, t.z);
            }
        }
        storeStages(a, i0, bits, timesStep(_mm_mul_ps(fx, K)), timesStep(_mm_mul_ps(fy, K)),
                    timesStep(_mm_mul_ps(fz, K)));
    }
    return _mm_movemask_ps(bad) == 0;
}

#endif  // __SSE2__

// Whether the four knobs from p on each begin with the 16 bytes (pos and
// vel.x) their resting places hold.
__attribute__((always_inline)) inline bool fourInPlace(const clothknob* p, const drapeApp::restingPlace* rest) {
    static_assert(sizeof(clothknob) >= 16 && offsetof(clothknob, pos) == 0, "pos and vel.x open a knob");
#if defined(__SSE2__)
    __m128i same = _mm_set1_epi32(-1);
    for (int l = 0; l < 4; l++) {
        const __m128i knob = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + l));
        same = _mm_and_si128(same, _mm_cmpeq_epi32(knob, _mm_load_si128(reinterpret_cast<const __m128i*>(rest[l].bytes))));
    }
    return _mm_movemask_epi8(same) == 0xffff;
#else
    bool same = true;
    for (int l = 0; l < 4; l++) same &= std::memcmp(p + l, rest[l].bytes, 16) == 0;
    return same;
#endif
}

// A free knob's move: its velocity takes the weighted stage values and the
// environment term, is damped, and carries the knob one step. With SSE2 the
// same float operations three components per instruction.
__attribute__((always_inline)) inline void moveKnob(clothknob& k, const zoVec3f& s1, const zoVec3f& s2,
                                                    const zoVec3f& s3, const zoVec3f& s4, const zoVec3f& enviro) {
#if defined(__SSE2__)
    const __m128 six = _mm_set1_ps(6.0f), three = _mm_set1_ps(3.0f);
    const __m128 a = _mm_add_ps(_mm_add_ps(_mm_add_ps(_mm_add_ps(_mm_div_ps(load3x(s1), six), _mm_div_ps(load3x(s2), three)),
                                                      _mm_div_ps(load3x(s3), three)),
                                           _mm_div_ps(load3x(s4), six)),
                                load3x(enviro));
    const __m128 p = load3x(k.pos);  // before vel is stored: its x shares the load
    const __m128 v = _mm_mul_ps(_mm_add_ps(load3(k.vel), a), _mm_set1_ps(float(DRAPE_DAMPING)));
    store3(k.vel, v);
    store3(k.pos, _mm_add_ps(p, _mm_mul_ps(v, _mm_set1_ps(float(DRAPE_STEP)))));
#else
    k.vel += (((s1 / 6.0f + s2 / 3.0f) + s3 / 3.0f) + s4 / 6.0f) + enviro;
    k.vel *= float(DRAPE_DAMPING);
    k.pos += k.vel * float(DRAPE_STEP);
#endif
}

}  // namespace
