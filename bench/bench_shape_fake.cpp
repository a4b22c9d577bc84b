// Shape costs on the processor, with the GL stand-in reduced to no-ops: the
// draw of the cloth-sized 60 x 60 mesh (every vertex transformed and
// projected, normals recomputed), normal calculation alone, and reading the
// mesh's record from memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "platform/fake/fakegl.h"
#include "math/zoTransforms.h"
#include "shape/zoNiceShapes.h"

namespace {

void quietScene() {
    fakegl::reset();
    fakegl::recording = false;
    zoTransformsInit();
    cameraMatrix.setIdentity();
    view[0] = view[1] = 0;
    view[2] = 1024;
    view[3] = 768;
}

void BM_DrawMesh60(benchmark::State& state) {
    quietScene();
    zoMeshShape mesh(60, 60);
    mesh.Rotation.set(30, 1, 0, 0);
    mesh.Scale.set(0.02f, 0.02f, 0.02f);
    for (auto _ : state) {
        mesh.draw();
        benchmark::DoNotOptimize(mesh.normalList[1234]);
    }
}
BENCHMARK(BM_DrawMesh60)->Unit(benchmark::kMicrosecond);

void BM_CalculateNormalsMesh60(benchmark::State& state) {
    quietScene();
    zoMeshShape mesh(60, 60);
    mesh.draw();
    for (auto _ : state) {
        mesh.calculateNormals();
        benchmark::DoNotOptimize(mesh.normalList[1234]);
    }
}
BENCHMARK(BM_CalculateNormalsMesh60)->Unit(benchmark::kMicrosecond);

void BM_ReadMeshRecord(benchmark::State& state) {
    quietScene();
    zoMeshShape mesh(60, 60);
    char* buf = nullptr;
    size_t len = 0;
    FILE* w = open_memstream(&buf, &len);
    mesh.writeToFile(w);
    std::fclose(w);
    zoShape target(false, false, false);
    for (auto _ : state) {
        FILE* r = fmemopen(buf, len, "rb");
        target.readFromFile(r);
        std::fclose(r);
        benchmark::DoNotOptimize(target.indexList[7138]);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(len));
    std::free(buf);
}
BENCHMARK(BM_ReadMeshRecord)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
