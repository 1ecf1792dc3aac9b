#include "signal/broadcast/standinbroadcast.h"
#include "signal/broadcast/standinreceiver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// What the sound output asks for at a time: 10 ms.
const int blockFrames = 480;
const int reportBlocks = 25;
const int stationBlocks = 600;

const int showStationsHz[20] = {
    91100000, 102800000, 93300000, 106200000, 96200000, 105500000, 98100000,
    92500000, 89000000, 104600000, 102300000, 88600000, 100000000, 94900000,
    87900000, 98900000, 103700000, 94000000, 101100000, 91900000,
};

// Seconds of stereo sound made per second of CPU.
void ReportRealTime(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * blockFrames);
    state.counters["x_real_time"] = benchmark::Counter(double(state.iterations()) * blockFrames / SampleSource::sampleRate,
                                                       benchmark::Counter::kIsRate);
}

}

// The show's broadcast: each of its stations for six seconds at the
// strengths the stand-in reports, a burst of static at every retune.
static void BM_ShowBroadcast(benchmark::State& state)
{
    std::vector<float> block(blockFrames * 2);
    StandInBroadcast broadcast(showStationsHz[0]);
    int station = 0;
    int blocks = 0;
    for (auto _ : state) {
        if (blocks % stationBlocks == 0) {
            station = (station + 1) % 20;
            broadcast.Tune(showStationsHz[station]);
        }
        if (blocks % reportBlocks == 0)
            broadcast.SetStrength(StandInReceiver::StrengthAt(showStationsHz[station],
                                                              std::uint32_t(blocks % stationBlocks / reportBlocks)));
        broadcast.Render(block.data(), blockFrames);
        benchmark::DoNotOptimize(block.data());
        ++blocks;
    }
    ReportRealTime(state);
}
BENCHMARK(BM_ShowBroadcast);

// One station of each kind, steadily, at full strength.
static void BM_Station(benchmark::State& state)
{
    std::vector<float> block(blockFrames * 2);
    StandInBroadcast broadcast(int(state.range(0)));
    broadcast.SetStrength(100);
    for (auto _ : state) {
        broadcast.Render(block.data(), blockFrames);
        benchmark::DoNotOptimize(block.data());
    }
    ReportRealTime(state);
}
// A song, pads, arpeggios, a talk station and chimes.
BENCHMARK(BM_Station)->Arg(96200000)->Arg(102800000)->Arg(92500000)->Arg(91100000)->Arg(93300000);

// The floor: writing the same number of samples and nothing else.
static void BM_WriteFloor(benchmark::State& state)
{
    std::vector<float> block(blockFrames * 2);
    float value = 0.0f;
    for (auto _ : state) {
        std::fill(block.begin(), block.end(), value);
        benchmark::DoNotOptimize(block.data());
        value += 1.0f;
    }
    ReportRealTime(state);
}
BENCHMARK(BM_WriteFloor);

BENCHMARK_MAIN();
