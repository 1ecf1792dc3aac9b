#include "signal/receiver/fmreceivechain.h"
#include "support/fmrecording.h"

#include <benchmark/benchmark.h>

#include <complex>
#include <vector>

namespace {

// One second of a synthesised recording of a stereo station at 40 dB SNR, a
// quarter of the rate off centre as a stick is tuned, as the recording
// device delivers it.
std::vector<std::complex<float>> RecordedSecond(double sampleRate)
{
    const QByteArray bytes = fmrecording::Synthesise(
        sampleRate, 1, {{sampleRate / 4, 40, fmrecording::StereoTone(1, 0)}}, 15);
    const auto* iq = reinterpret_cast<const unsigned char*>(bytes.constData());
    std::vector<std::complex<float>> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::complex<float>((iq[2 * i] - 127.5f) / 127.5f,
                                         (iq[2 * i + 1] - 127.5f) / 127.5f);
    return samples;
}

}

// A second of input through the whole chain at the rate given: mixing,
// strength measurement, channel selection, demodulation, stereo decoding,
// audio filters, de-emphasis. core_share is the CPU time per second of
// input: the share of one core the receiver takes in real time.
static void BM_ReceiveChain(benchmark::State& state)
{
    const double sampleRate = static_cast<double>(state.range(0));
    const std::vector<std::complex<float>> samples = RecordedSecond(sampleRate);
    // The receive thread's read: a fiftieth of a second.
    const int block = static_cast<int>(sampleRate / 50);
    FmReceiveChain chain(sampleRate, FmReceiveChain::europeanDeemphasisSeconds);
    chain.SetStationOffset(sampleRate / 4);
    std::vector<float> audio;
    for (auto _ : state) {
        for (size_t first = 0; first + block <= samples.size(); first += block) {
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
BENCHMARK(BM_ReceiveChain)->Arg(1024000)->Arg(2400000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
