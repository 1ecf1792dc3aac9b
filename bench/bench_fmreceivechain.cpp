#include "signal/receiver/fmreceivechain.h"
#include "support/fmrecording.h"

#include <benchmark/benchmark.h>

#include <complex>
#include <vector>

namespace {

const double sampleRate = 1024000;
const double stationOffsetHz = 256000;
// The receive thread's read: a fiftieth of a second.
const int block = 20480;

// One second of a synthesised recording at 40 dB SNR, as the recording
// device delivers it.
std::vector<std::complex<float>> RecordedSecond()
{
    const QByteArray bytes
        = fmrecording::Synthesise(sampleRate, 1, {{stationOffsetHz, 40}}, 15);
    const auto* iq = reinterpret_cast<const unsigned char*>(bytes.constData());
    std::vector<std::complex<float>> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::complex<float>((iq[2 * i] - 127.5f) / 127.5f,
                                         (iq[2 * i + 1] - 127.5f) / 127.5f);
    return samples;
}

}

// A second of input through the whole chain: mixing, strength measurement,
// resampling, channel filter, demodulation, audio filter and de-emphasis.
// core_share is the CPU time per second of input: the share of one core the
// receiver takes in real time.
static void BM_ReceiveChain(benchmark::State& state)
{
    const std::vector<std::complex<float>> samples = RecordedSecond();
    FmReceiveChain chain(sampleRate);
    chain.SetStationOffset(stationOffsetHz);
    std::vector<float> audio;
    for (auto _ : state) {
        for (size_t first = 0; first < samples.size(); first += block) {
            audio.clear();
            chain.Process(samples.data() + first, block, audio);
            benchmark::DoNotOptimize(audio.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(samples.size()));
    state.counters["core_share"] = benchmark::Counter(
        static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReceiveChain)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
