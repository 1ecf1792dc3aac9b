#include "scenes/linescene.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

// The whole growth of one frame's tangle.
static void BM_GrowMesh(benchmark::State& state)
{
    LineScene scene;
    unsigned int seed = 1;
    for (auto _ : state) {
        float jitter = 0;
        QVector<QVector4D> mesh = scene.GrowMesh(0.6f, 0.4f, seed, &jitter);
        benchmark::DoNotOptimize(mesh.data());
        benchmark::DoNotOptimize(jitter);
        seed = seed % 24 + 1;
    }
}
BENCHMARK(BM_GrowMesh);

// The least work any growth must do: its 4592 draws, 930 double sine and cosine pairs
// for the segment ends and 900 single-precision sines for the branch headings.
static void BM_GrowMeshFloor(benchmark::State& state)
{
    unsigned int seed = 1;
    double heading = 0.1;
    float angle = 0.1f;
    for (auto _ : state) {
        srand(seed);
        int draws = 0;
        for (int i = 0; i < 4592; ++i)
            draws += rand();
        benchmark::DoNotOptimize(draws);
        for (int i = 0; i < 930; ++i) {
            double sine;
            double cosine;
            sincos(heading, &sine, &cosine);
            benchmark::DoNotOptimize(sine);
            benchmark::DoNotOptimize(cosine);
            heading += 0.0131;
        }
        for (int i = 0; i < 900; ++i) {
            float sine = sinf(angle);
            benchmark::DoNotOptimize(sine);
            angle += 0.0173f;
        }
        seed = seed % 24 + 1;
    }
}
BENCHMARK(BM_GrowMeshFloor);

BENCHMARK_MAIN();
