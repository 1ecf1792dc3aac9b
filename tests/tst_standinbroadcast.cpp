#include "signal/broadcast/drumkit.h"
#include "signal/broadcast/programme.h"
#include "signal/broadcast/standinbroadcast.h"
#include "signal/broadcast/standinreceiver.h"
#include "signal/gainramp.h"
#include "signal/kweighting.h"
#include "signal/peaklimiter.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Sound = std::vector<float>;

const int rate = SampleSource::sampleRate;
// A tuner reports every 250 ms.
const int reportFrames = rate / 4;
const int stationFrames = 6 * rate;

// The show's channel table, in the order the show plays it.
const int showStationsHz[20] = {
    91100000, 102800000, 93300000, 106200000, 96200000, 105500000, 98100000,
    92500000, 89000000, 104600000, 102300000, 88600000, 100000000, 94900000,
    87900000, 98900000, 103700000, 94000000, 101100000, 91900000,
};

enum class Check { Kinds, KindLoudness, Revisit, KickRetrigger, Station, Reception, BandLimit, Volume, Mute, Stopped, Ramps, RetuneBurst, Determinism, Limiter };

// A broadcast's or a programme's next frames.
template <typename Source>
Sound Render(Source& source, int frames)
{
    Sound sound(size_t(frames) * 2);
    source.Render(sound.data(), frames);
    return sound;
}

// A stand-in tuner as the show drives it: switched on, then tuned.
struct Tuner
{
    explicit Tuner(int hz)
    {
        receiver.SwitchOn();
        receiver.Report();
        receiver.Tune(hz);
        receiver.Report();
    }
    // What it plays at the listener's volume and mute.
    void Play(float* interleaved, int frames)
    {
        receiver.Render(interleaved, frames);
        gain.Apply(interleaved, frames);
    }
    StandInReceiver receiver{87500000};
    GainRamp gain;
};

// What a tuner plays over frames, reporting every 250 ms as the show's clock
// would; each report may be given a new volume or mute.
Sound Listen(Tuner& tuner, int frames)
{
    Sound sound(size_t(frames) * 2);
    for (int done = 0; done < frames; done += reportFrames) {
        tuner.Play(sound.data() + 2 * done, std::min(reportFrames, frames - done));
        if (tuner.receiver.IsOn())
            tuner.receiver.Report();
    }
    return sound;
}

double Db(double power)
{
    return 10.0 * std::log10(std::max(power, 1.0e-30));
}

double PowerDb(const Sound& sound, int fromFrame = 0, int toFrame = -1)
{
    const size_t end = toFrame < 0 ? sound.size() : size_t(toFrame) * 2;
    double sum = 0.0;
    for (size_t i = size_t(fromFrame) * 2; i < end; ++i)
        sum += double(sound[i]) * sound[i];
    return Db(sum / double(end - size_t(fromFrame) * 2));
}

float Peak(const Sound& sound)
{
    float peak = 0.0f;
    for (float value : sound)
        peak = std::max(peak, std::fabs(value));
    return peak;
}

float LargestJump(const Sound& sound, int fromFrame, int toFrame)
{
    float jump = 0.0f;
    for (int frame = std::max(fromFrame, 1); frame < toFrame; ++frame)
        for (int channel = 0; channel < 2; ++channel)
            jump = std::max(jump, std::fabs(sound[size_t(2 * frame + channel)] - sound[size_t(2 * frame - 2 + channel)]));
    return jump;
}

// Energy of the left channel at the semitones from A1 up four octaves, as
// a unit vector: what keys, chords and timbres a stretch of music holds.
std::vector<double> PitchProfile(const Sound& sound)
{
    std::vector<double> profile;
    double norm = 0.0;
    for (int semitone = 0; semitone < 48; ++semitone) {
        const double coefficient = 2.0 * std::cos(2.0 * M_PI * 55.0 * std::exp2(semitone / 12.0) / rate);
        double s1 = 0.0, s2 = 0.0;
        for (size_t i = 0; i < sound.size(); i += 2) {
            const double s0 = sound[i] + coefficient * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        profile.push_back(std::sqrt(s1 * s1 + s2 * s2 - coefficient * s1 * s2));
        norm += profile.back() * profile.back();
    }
    for (double& value : profile)
        value /= std::sqrt(norm);
    return profile;
}

// How alike two stretches of music are in their notes and chords: 1 when
// their pitch profiles are the same.
double Similarity(const Sound& a, const Sound& b)
{
    const std::vector<double> x = PitchProfile(a);
    const std::vector<double> y = PitchProfile(b);
    double sum = 0.0;
    for (size_t i = 0; i < x.size(); ++i)
        sum += x[i] * y[i];
    return sum;
}

// Loudness, LUFS, of a stretch of stereo sound from fromFrame on, gated as
// ITU-R BS.1770 and ffmpeg's ebur128 gate it: 400 ms blocks every 100 ms,
// those 10 LU under the mean of the blocks over -70 LUFS left out (a talk
// station's pauses).
double Lufs(const Sound& sound, int fromFrame = 0)
{
    KWeighting left, right;
    std::vector<double> power;
    for (size_t i = 0; i < sound.size(); i += 2) {
        const double l = left.Next(sound[i]);
        const double r = right.Next(sound[i + 1]);
        power.push_back(l * l + r * r);
    }
    const int block = rate * 4 / 10;
    std::vector<double> blocks;
    for (int start = fromFrame; start + block <= int(power.size()); start += rate / 10) {
        double sum = 0.0;
        for (int frame = start; frame < start + block; ++frame)
            sum += power[size_t(frame)];
        blocks.push_back(sum / block);
    }
    double gate = KWeighting::Power(-70.0);
    for (int pass = 0; pass < 2; ++pass) {
        double sum = 0.0;
        int count = 0;
        for (double value : blocks)
            if (value > gate) {
                sum += value;
                ++count;
            }
        if (count == 0)
            return -200.0;
        gate = pass == 0 ? sum / count * KWeighting::Power(-10.0) / KWeighting::Power(0.0) : gate;
        if (pass == 1)
            return KWeighting::Lufs(sum / count);
    }
    return -200.0;
}

// Loudness of the programme and of the static, LUFS, in the broadcast of hz
// at a steady strength. Two broadcasts play the same programme over static
// of their own: half their difference is static alone, with half the
// static's power; half their sum is the programme with the other half.
void ProgrammeAndStatic(int hz, int strength, double* programmeLufs, double* staticLufs)
{
    StandInBroadcast first(87500000);
    StandInBroadcast second(87600000);
    Sound sounds[2];
    for (StandInBroadcast* broadcast : {&first, &second}) {
        broadcast->Tune(hz);
        broadcast->SetStrength(strength);
        sounds[broadcast == &second] = Render(*broadcast, 4 * rate);
    }
    Sound sum(sounds[0].size()), difference(sounds[0].size());
    for (size_t i = 0; i < sum.size(); ++i) {
        sum[i] = (sounds[0][i] + sounds[1][i]) / 2.0f;
        difference[i] = (sounds[0][i] - sounds[1][i]) / 2.0f;
    }
    const double staticPower = 2.0 * KWeighting::Power(Lufs(difference, rate));
    *staticLufs = KWeighting::Lufs(staticPower);
    *programmeLufs = KWeighting::Lufs(std::max(KWeighting::Power(Lufs(sum, rate)) - staticPower / 2.0, 1.0e-30));
}

// Energy above 16 kHz against that of the whole band, dB: a Hann-windowed
// DFT of the left channel, bin by bin.
double EnergyAbove16kDb(const Sound& sound)
{
    const int frames = 4800;
    double above = 0.0, all = 0.0;
    for (int bin = 1; bin < frames / 2; ++bin) {
        const double coefficient = 2.0 * std::cos(2.0 * M_PI * bin / frames);
        double s1 = 0.0, s2 = 0.0;
        for (int frame = 0; frame < frames; ++frame) {
            const double window = 0.5 - 0.5 * std::cos(2.0 * M_PI * frame / frames);
            const double s0 = window * sound[size_t(2 * frame)] + coefficient * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
        all += power;
        if (bin * rate / frames >= 16000)
            above += power;
    }
    return Db(above) - Db(all);
}

}

Q_DECLARE_METATYPE(Check)

class StandInBroadcastTest : public QObject
{
    Q_OBJECT
private slots:
    void sound_data();
    void sound();
};

void StandInBroadcastTest::sound_data()
{
    QTest::addColumn<Check>("check");
    QTest::addColumn<int>("hz");
    QTest::addColumn<int>("value");

    QTest::newRow("kinds of programme") << Check::Kinds << 0 << 0;
    QTest::newRow("a station heard again resumes") << Check::Revisit << 102800000 << 12;
    QTest::newRow("a kick struck while it rings") << Check::KickRetrigger << 0 << 0;
    for (int kind = 0; kind < Programme::kindCount; ++kind) {
        int station = 0;
        while (int(Programme(showStationsHz[station]).StationKind()) != kind)
            ++station;
        QTest::addRow("loudness of kind %d", kind) << Check::KindLoudness << showStationsHz[station] << 0;
    }
    for (int station = 0; station < 20; ++station)
        QTest::addRow("show station %d", station) << Check::Station << showStationsHz[station] << station;
    for (int strength : {0, 6, 8, 10, 12, 20, 35, 100})
        QTest::addRow("reception at strength %d", strength) << Check::Reception << 96200000 << strength;
    for (int strength : {0, 100})
        QTest::addRow("nothing above 16 kHz at strength %d", strength) << Check::BandLimit << 102800000 << strength;
    for (int volume : {100, 70, 30, 0})
        QTest::addRow("volume %d", volume) << Check::Volume << 102800000 << volume;
    QTest::newRow("mute") << Check::Mute << 102800000 << 70;
    QTest::newRow("stopped") << Check::Stopped << 102800000 << 70;
    QTest::newRow("ramps without clicks") << Check::Ramps << 102800000 << 100;
    QTest::newRow("retune: a burst, without clicks") << Check::RetuneBurst << 102800000 << 100;
    QTest::newRow("determinism") << Check::Determinism << 98100000 << 50;
    // value: how far past the limiter's ceiling the peaks go, as a multiple.
    for (int overshoot : {1, 3, 100})
        QTest::addRow("limiter at %dx its ceiling", overshoot) << Check::Limiter << 0 << overshoot;
}

void StandInBroadcastTest::sound()
{
    QFETCH(Check, check);
    QFETCH(int, hz);
    QFETCH(int, value);

    Tuner tuner(hz);

    switch (check) {
    case Check::Kinds: {
        // Every kind is common across the band; no show station has the
        // kind of the one before it.
        int counts[Programme::kindCount] = {};
        for (int band = 87500000; band <= 108000000; band += 100000)
            ++counts[int(Programme(band).StationKind())];
        for (int kind = 0; kind < Programme::kindCount; ++kind)
            QVERIFY2(counts[kind] >= 20, qPrintable(QStringLiteral("kind %1: %2 stations").arg(kind).arg(counts[kind])));
        for (int station = 0; station < 20; ++station)
            QVERIFY(Programme(showStationsHz[station]).StationKind()
                    != Programme(showStationsHz[(station + 19) % 20]).StationKind());
        break;
    }
    case Check::KindLoudness: {
        Programme programme(hz);
        const double loudness = Lufs(Render(programme, stationFrames), 2 * rate);
        QVERIFY2(std::fabs(loudness - Programme::loudnessLufs) <= 1.0,
                 qPrintable(QStringLiteral("%1 LUFS, kind %2").arg(loudness).arg(int(programme.StationKind()))));
        break;
    }
    case Check::Revisit: {
        // Heard again after value seconds, the station plays what it has
        // been playing all along, not its beginning again.
        Programme allAlong(hz);
        Render(allAlong, value * rate);
        const Sound continued = Render(allAlong, 4 * rate);
        Programme again(hz, std::int64_t(value) * rate);
        const Sound resumed = Render(again, 4 * rate);
        Programme anew(hz);
        const Sound replayed = Render(anew, 4 * rate);
        // The notes and chords heard: the same as all along, not those of
        // the start.
        const double same = Similarity(resumed, continued);
        const double start = Similarity(resumed, replayed);
        QVERIFY2(same > 0.95 && start < same - 0.2, qPrintable(QStringLiteral("%1 and %2").arg(same).arg(start)));
        break;
    }
    case Check::KickRetrigger: {
        // Struck again at every phase of its ring: the sound never jumps
        // more than the ringing kick's own steepest step.
        DrumKit kit(7);
        kit.Kick(0.55f);
        Sound ring = Render(kit, rate / 8);
        const float ownJump = LargestJump(ring, 0, rate / 8);
        for (int strike = 0; strike < 40; ++strike) {
            const Sound before = Render(kit, 37 + strike);
            kit.Kick(0.55f);
            Sound struck(before.end() - 2, before.end());
            const Sound after = Render(kit, rate / 100);
            struck.insert(struck.end(), after.begin(), after.end());
            QVERIFY2(LargestJump(struck, 0, rate / 100) <= 1.1f * ownJump,
                     qPrintable(QStringLiteral("%1 against %2").arg(LargestJump(struck, 0, rate / 100)).arg(ownJump)));
        }
        break;
    }
    case Check::Station: {
        // As in the show: six seconds at the reported strengths, at volume
        // 100. A weak station sits lower under its soft mute.
        const Sound sound = Listen(tuner, stationFrames);
        QVERIFY2(Peak(sound) <= std::pow(10.0f, -1.0f / 20.0f), qPrintable(QString::number(Peak(sound))));
        const double loudness = Lufs(sound, rate);
        double strength = 0.0;
        for (std::uint32_t report = 0; report < 24; ++report)
            strength += StandInReceiver::StrengthAt(hz, report) / 24.0;
        const float reception = StandInBroadcast::Reception(float(strength));
        // Clear stations within a window of 4 LU.
        const double lowest = reception == 1.0f ? -2.5 : reception >= 0.5f ? -4.0 : -12.0;
        QVERIFY2(loudness <= Programme::loudnessLufs + 1.5 && loudness >= Programme::loudnessLufs + lowest,
                 qPrintable(QStringLiteral("%1 LUFS at reception %2").arg(loudness).arg(reception)));
        // Each station's music differs from the one before it in the show.
        const int previous = showStationsHz[(value + 19) % 20];
        Programme here(hz);
        Programme before(previous);
        const double similarity = Similarity(Render(here, stationFrames), Render(before, stationFrames));
        QVERIFY2(similarity < 0.8, qPrintable(QStringLiteral("similarity %1").arg(similarity)));
        break;
    }
    case Check::Reception: {
        // The static is never louder than the programme, and the treble cut
        // only takes more of it; weaker signals are softer.
        double programme = 0.0, hiss = 0.0, clear = 0.0, clearHiss = 0.0;
        ProgrammeAndStatic(hz, value, &programme, &hiss);
        ProgrammeAndStatic(hz, 100, &clear, &clearHiss);
        const float reception = StandInBroadcast::Reception(float(value));
        const QString figures = QStringLiteral("programme %1 LUFS, static %2 LUFS").arg(programme).arg(hiss);
        QVERIFY2(programme - hiss >= StandInBroadcast::SignalToStaticDb(reception) - 1.0, qPrintable(figures));
        QVERIFY2(programme - hiss >= 0.0, qPrintable(figures));
        QVERIFY2(programme - clear <= StandInBroadcast::SoftMuteDb(reception) + 1.0, qPrintable(figures));
        break;
    }
    case Check::BandLimit: {
        // Through a retune's burst into the song with its hi-hat.
        StandInBroadcast broadcast(hz);
        broadcast.SetStrength(value);
        for (int slice = 0; slice < 10; ++slice) {
            const double above = EnergyAbove16kDb(Render(broadcast, 4800));
            QVERIFY2(above <= -60.0, qPrintable(QStringLiteral("%1 dB at %2 ms").arg(above).arg(slice * 100)));
        }
        break;
    }
    case Check::Volume: {
        Tuner full(hz);
        tuner.gain.SetVolume(value);
        const double reference = PowerDb(Listen(full, 2 * rate));
        const double heard = PowerDb(Listen(tuner, 2 * rate));
        if (value == 0)
            QVERIFY(heard < -200.0);
        else
            // Amplitude follows (volume/100)^2, near how loud a step sounds.
            QVERIFY2(std::fabs(heard - reference - 40.0 * std::log10(value / 100.0)) < 0.01,
                     qPrintable(QStringLiteral("%1 dB at volume %2").arg(heard - reference).arg(value)));
        break;
    }
    case Check::Mute: {
        tuner.gain.SetVolume(value);
        Listen(tuner, rate);
        tuner.gain.SetMuted(true);
        const Sound muted = Listen(tuner, rate);
        QVERIFY(PowerDb(muted, 0, GainRamp::rampFrames) > -60.0);
        QCOMPARE(Peak(Sound(muted.begin() + 2 * GainRamp::rampFrames, muted.end())), 0.0f);
        tuner.gain.SetMuted(false);
        QVERIFY(PowerDb(Listen(tuner, rate)) > -30.0);
        break;
    }
    case Check::Stopped: {
        QVERIFY(PowerDb(Listen(tuner, rate)) > -30.0);
        tuner.receiver.SwitchOff();
        QCOMPARE(Peak(Listen(tuner, rate)), 0.0f);
        break;
    }
    case Check::Ramps: {
        // A strong, steady programme; then the volume, the mute and the
        // strength change at once. No jump in the changes is larger than
        // the programme's own before them.
        const Sound steady = Listen(tuner, 2 * rate);
        const float ownJump = LargestJump(steady, rate, 2 * rate);
        Sound changes(size_t(rate) * 2);
        tuner.gain.SetVolume(20);
        tuner.Play(changes.data(), rate / 4);
        tuner.gain.SetMuted(true);
        tuner.Play(changes.data() + rate / 2, rate / 4);
        tuner.gain.SetMuted(false);
        tuner.gain.SetVolume(100);
        tuner.Play(changes.data() + rate, rate / 4);
        StandInBroadcast broadcast(hz);
        broadcast.SetStrength(100);
        Render(broadcast, rate);
        broadcast.SetStrength(40);
        const Sound weaker = Render(broadcast, rate / 4);
        QVERIFY2(LargestJump(changes, 0, 3 * rate / 4) <= ownJump * 1.25f,
                 qPrintable(QStringLiteral("%1 against %2").arg(LargestJump(changes, 0, 3 * rate / 4)).arg(ownJump)));
        QVERIFY(LargestJump(weaker, 0, rate / 4) <= ownJump * 1.1f);
        break;
    }
    case Check::RetuneBurst: {
        // Two receivers with the same static, one on hz and one on another
        // station of slow pads, retuned together: the difference of their
        // sounds is the difference of their programmes alone, which must
        // fade out on retuning, not jump.
        StandInBroadcast broadcast(hz);
        StandInBroadcast other(hz);
        other.Tune(89000000);
        broadcast.SetStrength(value);
        other.SetStrength(value);
        const Sound before = Render(broadcast, rate);
        const Sound otherBefore = Render(other, rate);
        broadcast.Tune(89000000);
        other.Tune(89000000);
        const Sound sound = Render(broadcast, rate);
        const Sound otherSound = Render(other, rate);
        Sound difference;
        for (size_t i = size_t(rate - rate / 10) * 2; i < before.size(); ++i)
            difference.push_back(before[i] - otherBefore[i]);
        for (size_t i = 0; i < size_t(rate / 50) * 2; ++i)
            difference.push_back(sound[i] - otherSound[i]);
        const float ownJump = LargestJump(difference, 0, rate / 10);
        const float retuneJump = LargestJump(difference, rate / 10, int(difference.size() / 2));
        QVERIFY2(retuneJump <= 1.5f * ownJump, qPrintable(QStringLiteral("%1 against %2").arg(retuneJump).arg(ownJump)));
        QCOMPARE(std::fabs(difference.back()), 0.0f);

        // Static is the sound's treble: its first differences. Every
        // millisecond of the burst has more than any of the new station of
        // soft pads from 50 ms after it.
        const int frames1ms = rate / 1000;
        double quietestBurst = 0.0, loudestAfter = -300.0;
        for (int slice = 10; slice < 400; ++slice) {
            double treble = 0.0;
            for (int frame = slice * frames1ms; frame < (slice + 1) * frames1ms; ++frame)
                treble += std::pow(sound[size_t(2 * frame)] - sound[size_t(2 * frame - 2)], 2.0f);
            if (slice < 140)
                quietestBurst = std::min(quietestBurst, Db(treble / frames1ms));
            else if (slice >= 200)
                loudestAfter = std::max(loudestAfter, Db(treble / frames1ms));
        }
        QVERIFY2(quietestBurst > -28.0 && loudestAfter < quietestBurst - 6.0,
                 qPrintable(QStringLiteral("burst %1 dB, after %2 dB").arg(quietestBurst).arg(loudestAfter)));
        break;
    }
    case Check::Determinism: {
        Tuner twin(hz);
        const Sound first = Listen(tuner, 3 * rate);
        QVERIFY(first == Listen(twin, 3 * rate));
        tuner.receiver.Tune(hz + 100000);
        twin.receiver.Tune(hz + 100000);
        QVERIFY(Listen(tuner, rate) == Listen(twin, rate));
        Tuner neighbour(hz + 100000);
        QVERIFY(Listen(neighbour, 3 * rate) != first);
        break;
    }
    case Check::Limiter: {
        // Loud peaks come out at the ceiling at most, in both channels; after
        // them quiet sound comes back to its own level.
        const float ceiling = 0.5f;
        PeakLimiter limiter(ceiling, 0.01f);
        for (int frame = 0; frame < 1000; ++frame) {
            float left = ceiling * float(value) * std::sin(0.05f * float(frame));
            float right = -left;
            limiter.Apply(left, right);
            QVERIFY2(std::fabs(left) <= ceiling * 1.0001f && std::fabs(right) <= ceiling * 1.0001f,
                     qPrintable(QStringLiteral("frame %1: %2").arg(frame).arg(left)));
        }
        float left = 0.1f, right = 0.1f;
        for (int frame = 0; frame < 1000; ++frame) {
            left = right = 0.1f;
            limiter.Apply(left, right);
        }
        QVERIFY2(std::fabs(left - 0.1f) < 0.001f, qPrintable(QString::number(left)));
        break;
    }
    }
}

QTEST_GUILESS_MAIN(StandInBroadcastTest)
#include "tst_standinbroadcast.moc"
