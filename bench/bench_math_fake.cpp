// The per-vertex math that shape drawing and the cloth step run millions of
// times a second: local -> real, real -> screen, length and the vector operators,
// each over a cloth-sized array of vertices.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/fake/fakegl.h"
#include "math/zoTransforms.h"
#include "math/zoVec3f.h"

namespace {

const int kVertices = 3600;  // the 60 x 60 cloth

std::vector<zoVec3f> grid() {
    std::vector<zoVec3f> v(kVertices);
    for (int i = 0; i < kVertices; ++i) v[i].set(float(i % 60) * 1.5f - 45, 30, float(i / 60) * 1.5f - 45);
    return v;
}

// A model-view like the cloth's and a camera like the outermost frame's.
void setUpTransforms() {
    fakegl::reset();
    fakegl::recording = false;
    zoMatrixHeight = 0;
    zoTransformsInit();
    zoPushMatrix();
    zoTranslatef(500, 350, 0);
    zoRotatef(-35, 1, 0, 0);
    zoScalef(5, 5, 5);

    glViewport(0, 0, 1024, 768);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 1024.0 / 768.0, 1, 5000);
    gluLookAt(512, 384, 927, 512, 384, 0, 0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    zoTransformsCaptureCamera();
}

void BM_TransformToReal(benchmark::State& state) {
    setUpTransforms();
    std::vector<zoVec3f> local = grid(), real(kVertices);
    for (auto _ : state) {
        for (int i = 0; i < kVertices; ++i) zoTransformToReal(local[i], real[i]);
        benchmark::DoNotOptimize(real.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_TransformToReal);

void BM_RealToScreen(benchmark::State& state) {
    setUpTransforms();
    std::vector<zoVec3f> local = grid(), real(kVertices), screen(kVertices);
    for (int i = 0; i < kVertices; ++i) zoTransformToReal(local[i], real[i]);
    for (auto _ : state) {
        for (int i = 0; i < kVertices; ++i) zoTransformRealToScreen(real[i], screen[i]);
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_RealToScreen);

void BM_Length(benchmark::State& state) {
    std::vector<zoVec3f> v = grid();
    for (auto _ : state) {
        float sum = 0;
        for (int i = 0; i < kVertices; ++i) sum += v[i].length();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_Length);

// A spring between grid neighbours, written with the vector operators the way
// the cloth's force code uses them.
void BM_VectorOperators(benchmark::State& state) {
    std::vector<zoVec3f> pos = grid(), force(kVertices);
    for (auto _ : state) {
        for (int i = 1; i < kVertices; ++i) {
            zoVec3f d = pos[i] - pos[i - 1];
            zoVec3f f = d * 0.25f + d / 3.0f;
            f *= 0.5f;
            force[i] += f;
            force[i - 1] += f * -1.0f;
        }
        benchmark::DoNotOptimize(force.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * (kVertices - 1));
}
BENCHMARK(BM_VectorOperators);

}  // namespace

BENCHMARK_MAIN();
