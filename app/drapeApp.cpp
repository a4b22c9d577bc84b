// The cloth demo: set-up, spring forces, the height field and the frame step.
//
// Every rounding here is deliberate: single precision throughout, double only
// where noted (the lengths' sums and roots, the stage scale 0.2, the height
// field), and no fused multiply-add (-ffp-contract=off). Two builds and two
// runs therefore produce bit-identical knob states, frame after frame.
#include "app/drapeApp.h"

#include <GL/gl.h>

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
    // Flat and at rest at height 30, knobs exactly the rest length 1.0 apart.
    for (i = 0; i < DRAPE_KNOBS; i++) {
        thread[i].on_surf = false;
        thread[i].pos = zoVec3f(float(i % DRAPE_SIDE - 29), float(i / DRAPE_SIDE - 29), 30.0f);
        thread[i].vel = zoVec3f(0, 0, 0);
    }
    enviro = zoVec3f(0, 0, -0.1f);
    zero *= 0.0f;
    blanky = new (std::nothrow) zoMeshShape(DRAPE_SIDE, DRAPE_SIDE);
    zoTransformsInit();

    // Nothing reads these before writing them; they start defined all the same.
    dist1 = dist2 = dist3 = dist4 = 1.0f;
    fx = fy = j = 0.0f;
    h = 0;
    m = 0;
    n = 0;
}

#if defined(__SSE2__)
namespace {

// The lengths of the four direction vectors, one per lane, as length() computes
// them: (y*y + x*x) + z*z summed in double, the root rounded to float.
inline __m128 lengthsSSE2(__m128 dx, __m128 dy, __m128 dz) {
    const __m128d xl = _mm_cvtps_pd(dx), xh = _mm_cvtps_pd(_mm_movehl_ps(dx, dx));
    const __m128d yl = _mm_cvtps_pd(dy), yh = _mm_cvtps_pd(_mm_movehl_ps(dy, dy));
    const __m128d zl = _mm_cvtps_pd(dz), zh = _mm_cvtps_pd(_mm_movehl_ps(dz, dz));
    const __m128d ql = _mm_add_pd(_mm_add_pd(_mm_mul_pd(yl, yl), _mm_mul_pd(xl, xl)), _mm_mul_pd(zl, zl));
    const __m128d qh = _mm_add_pd(_mm_add_pd(_mm_mul_pd(yh, yh), _mm_mul_pd(xh, xh)), _mm_mul_pd(zh, zh));
    return _mm_movelh_ps(_mm_cvtpd_ps(_mm_sqrt_pd(ql)), _mm_cvtpd_ps(_mm_sqrt_pd(qh)));
}

// The same in one pass of four double lanes where the processor has AVX: the
// double square root is the slowest step of a spring, and this halves it.
__attribute__((target("avx"), always_inline)) inline __m128 lengthsAVX(__m128 dx, __m128 dy, __m128 dz) {
    const __m256d x = _mm256_cvtps_pd(dx), y = _mm256_cvtps_pd(dy), z = _mm256_cvtps_pd(dz);
    const __m256d q = _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(y, y), _mm256_mul_pd(x, x)), _mm256_mul_pd(z, z));
    return _mm256_cvtpd_ps(_mm256_sqrt_pd(q));
}

// From the direction vectors (one component per vector, one direction per lane)
// and their lengths to the spring force and the scratch lengths.
__attribute__((always_inline)) inline void springTerms(__m128 dx, __m128 dy, __m128 dz, __m128 len,
                                                       __m128 present, float dist[4], float force[4]) {
    // A missing neighbour has length 1.
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 L = _mm_or_ps(_mm_and_ps(present, len), _mm_andnot_ps(present, one));
    _mm_storeu_ps(dist, L);

    // Two neighbours at the same place (length 0) would make d / L = 0 / 0 and
    // the NaN would spread through the cloth: that spring counts as absent for
    // this call. Dividing its zero vector by 1 instead gives exactly +0.
    const __m128 coincident = _mm_cmpeq_ps(L, _mm_setzero_ps());
    const __m128 Lq = _mm_or_ps(_mm_andnot_ps(coincident, L), _mm_and_ps(coincident, one));

    // s = d - d / L, lane by lane.
    __m128 s1 = _mm_sub_ps(dx, _mm_div_ps(dx, Lq));
    __m128 s2 = _mm_sub_ps(dy, _mm_div_ps(dy, Lq));
    __m128 s3 = _mm_sub_ps(dz, _mm_div_ps(dz, Lq));
    __m128 s4 = _mm_setzero_ps();
    // From one vector per component to one per direction, s1 .. s4 as (x, y, z, 0),
    // so that the sum runs in the fixed order ((s1 + s2) + s3) + s4.
    _MM_TRANSPOSE4_PS(s1, s2, s3, s4);
    _mm_storeu_ps(force, _mm_mul_ps(_mm_add_ps(_mm_add_ps(_mm_add_ps(s1, s2), s3), s4), _mm_set1_ps(30.0f)));
}

void springsSSE2(__m128 dx, __m128 dy, __m128 dz, __m128 present, float dist[4], float force[4]) {
    springTerms(dx, dy, dz, lengthsSSE2(dx, dy, dz), present, dist, force);
}

__attribute__((target("avx"))) void springsAVX(__m128 dx, __m128 dy, __m128 dz, __m128 present, float dist[4],
                                               float force[4]) {
    springTerms(dx, dy, dz, lengthsAVX(dx, dy, dz), present, dist, force);
}

const bool haveAVX = (__builtin_cpu_init(), __builtin_cpu_supports("avx"));

}  // namespace
#endif

// The stage value of knob i: the net force of its up to four springs (rest
// length 1, stiffness 30) times the step 0.2. ref, the stage's offset, does not
// enter: the force depends on positions only.
//
// The four directions are computed side by side in SSE lanes. Each lane runs the
// same IEEE single or double operations, in the same order, as the one-spring-
// at-a-time formulation (s = d - d / L per component, L the double-summed
// length rounded to float), so the bits are the same; a unit test holds the two
// against each other.
void drapeApp::rungef(clothknob* P, zoVec3f& vstore, zoVec3f ref, int i) {
    (void)ref;
    const zoVec3f c = P[i].pos;
    const int col = i % DRAPE_SIDE;
    const bool has1 = col != 0;                            // previous column
    const bool has2 = col != DRAPE_SIDE - 1;               // next column
    const bool has3 = i > DRAPE_SIDE - 1;                  // previous row
    const bool has4 = i < DRAPE_KNOBS - DRAPE_SIDE;        // next row

    // A missing neighbour leaves its scratch vector multiplied by 0 and its
    // length 1, which makes its term zero.
    if (has1) del1 = P[i - 1].pos - c; else del1 *= 0.0f;
    if (has2) del2 = P[i + 1].pos - c; else del2 *= 0.0f;
    if (has3) del3 = P[i - DRAPE_SIDE].pos - c; else del3 *= 0.0f;
    if (has4) del4 = P[i + DRAPE_SIDE].pos - c; else del4 *= 0.0f;

#if defined(__SSE2__)
    const __m128 dx = _mm_setr_ps(del1.x, del2.x, del3.x, del4.x);
    const __m128 dy = _mm_setr_ps(del1.y, del2.y, del3.y, del4.y);
    const __m128 dz = _mm_setr_ps(del1.z, del2.z, del3.z, del4.z);
    const __m128 present = _mm_castsi128_ps(_mm_setr_epi32(-int(has1), -int(has2), -int(has3), -int(has4)));
    float dist[4], f[4];
    if (haveAVX)
        springsAVX(dx, dy, dz, present, dist, f);
    else
        springsSSE2(dx, dy, dz, present, dist, f);
    dist1 = dist[0];
    dist2 = dist[1];
    dist3 = dist[2];
    dist4 = dist[3];
    force.set(f[0], f[1], f[2]);
#else
    dist1 = has1 ? del1.length() : 1.0f;
    dist2 = has2 ? del2.length() : 1.0f;
    dist3 = has3 ? del3.length() : 1.0f;
    dist4 = has4 ? del4.length() : 1.0f;
    // A coincident neighbour (length 0) counts as absent: see above.
    zoVec3f s4 = dist4 == 0.0f ? zoVec3f() : del4 - del4 / dist4;
    zoVec3f s3 = dist3 == 0.0f ? zoVec3f() : del3 - del3 / dist3;
    zoVec3f s2 = dist2 == 0.0f ? zoVec3f() : del2 - del2 / dist2;
    zoVec3f s1 = dist1 == 0.0f ? zoVec3f() : del1 - del1 / dist1;
    force = (((s1 + s2) + s3) + s4) * 30.0f;
#endif

    // The step 0.2 is a double constant: each product is rounded to float once.
    vstore.set(float(double(force.x) * 0.2), float(double(force.y) * 0.2), float(double(force.z) * 0.2));
}

// The ground: the first region whose (strict) condition holds gives the raw
// height, computed in double from X = x + 30 and Y = y + 30 and stored as a
// float; the floor at 4 is the lowest it gets.
float drapeApp::surface(float x, float y) {
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

void drapeApp::contactPass() {
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
        clothknob& k = thread[i];
        if (k.on_surf) continue;
        zoVec3f a = (((k1[i] / 6.0f + k2[i] / 3.0f) + k3[i] / 3.0f) + k4[i] / 6.0f) + enviro;
        k.vel += a;
        k.vel *= 0.9f;
        k.pos += k.vel * 0.2f;
    }
}

void drapeApp::step() {
    contactPass();
    stagePass();
    updatePass();
}

void drapeApp::draw() {
    glTranslatef(500, 350, 0);
    glRotatef(-35, 1, 0, 0);
    glScalef(5, 5, 5);
    zoTransformsCaptureCamera();

    step();

    // Two segments per inner step: along x in row h, along y in column h. The
    // border rows and columns appear only as ends of segments into the interior.
    glBegin(GL_LINES);
    for (i = 1; i < DRAPE_SIDE; i++) {
        for (h = 1; h < DRAPE_SIDE - 1; h++) {
            glColor3f(1, 1, 1);
            const zoVec3f& a = thread[DRAPE_SIDE * h + i - 1].pos;
            const zoVec3f& b = thread[DRAPE_SIDE * h + i].pos;
            const zoVec3f& c = thread[DRAPE_SIDE * (i - 1) + h].pos;
            const zoVec3f& d = thread[DRAPE_SIDE * i + h].pos;
            glVertex3f(a.x, a.y, a.z);
            glVertex3f(b.x, b.y, b.z);
            glVertex3f(c.x, c.y, c.z);
            glVertex3f(d.x, d.y, d.z);
        }
    }
    glEnd();

    m += 1;
}
