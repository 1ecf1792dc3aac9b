#include "platform/tuner/standin/standintunercontrol.h"

#include "platform/sound/qtaudio/soundoutput.h"

#include <QtGlobal>

#include <algorithm>

namespace {

// SplitMix64's finaliser: cheap, and every input bit reaches every output bit,
// so neighbouring frequencies get unrelated levels.
quint64 Scramble(quint64 x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// Levels 8..92 for the station and a fluctuation of -4..+4 keep every report
// inside the 0..100 that QRadioTuner promises.
const int weakestStation = 8;
const int stationLevels = 85;
const int fluctuationSpan = 9;

int SnapToBand(int hz)
{
    const qint64 clamped = qBound<qint64>(StandInTunerControl::bandStartHz, hz,
                                          StandInTunerControl::bandEndHz);
    const qint64 steps = (clamped - StandInTunerControl::bandStartHz
                          + StandInTunerControl::stepHz / 2)
        / StandInTunerControl::stepHz;
    return static_cast<int>(StandInTunerControl::bandStartHz
                            + steps * StandInTunerControl::stepHz);
}

}

StandInTunerControl::StandInTunerControl(QObject* parent, Pacing pacing)
    : FmTunerControl(parent)
    , pacing(pacing)
    , reportsSinceTuning(0)
    , broadcast(frequency())
{
    callerGain.SetVolume(volume());
}

StandInTunerControl::~StandInTunerControl() = default;

int StandInTunerControl::StrengthAt(int hz, quint32 report)
{
    const quint64 station = static_cast<quint32>(hz);
    const int level = weakestStation + static_cast<int>(Scramble(station) % stationLevels);
    const int fluctuation
        = static_cast<int>(Scramble((station << 32) | report) % fluctuationSpan)
        - fluctuationSpan / 2;
    return level + fluctuation;
}

void StandInTunerControl::setFrequency(int hz)
{
    const int snapped = SnapToBand(hz);
    if (snapped != frequency()) {
        SetTunedFrequency(snapped);
        broadcast.Tune(snapped);
        emit frequencyChanged(snapped);
    }
    reportsSinceTuning = 0;
    if (state() == QRadioTuner::ActiveState)
        Report();
}

void StandInTunerControl::start()
{
    if (state() == QRadioTuner::ActiveState)
        return;
    SetState(QRadioTuner::ActiveState);
    reportsSinceTuning = 0;
    // Switching on is heard as tuning in.
    broadcast.Tune(frequency());
    Report();
    if (pacing == Pacing::OwnTimer) {
        reportTimer.start();
        if (!sound) {
            sound.reset(new SoundOutput(broadcast));
            sound->SetVolume(volume());
            sound->SetMuted(isMuted());
        }
        sound->Start();
    }
}

void StandInTunerControl::stop()
{
    if (state() == QRadioTuner::StoppedState)
        return;
    reportTimer.stop();
    if (sound)
        sound->Stop();
    SetState(QRadioTuner::StoppedState);
}

QString StandInTunerControl::errorString() const
{
    return error() == QRadioTuner::OutOfRangeError
        ? QStringLiteral("the stand-in tuner receives the FM band only")
        : QString();
}

void StandInTunerControl::ReportNow()
{
    if (state() == QRadioTuner::ActiveState)
        Report();
}

void StandInTunerControl::RenderSound(float* interleaved, int frames)
{
    if (state() != QRadioTuner::ActiveState) {
        std::fill(interleaved, interleaved + frames * SampleSource::channels, 0.0f);
        return;
    }
    broadcast.Render(interleaved, frames);
    callerGain.Apply(interleaved, frames);
}

int StandInTunerControl::MeasureStrength()
{
    const int strength = StrengthAt(frequency(), reportsSinceTuning++);
    broadcast.SetStrength(strength);
    return strength;
}

void StandInTunerControl::ApplyVolume(int volume)
{
    callerGain.SetVolume(volume);
    if (sound)
        sound->SetVolume(volume);
}

void StandInTunerControl::ApplyMuted(bool mute)
{
    callerGain.SetMuted(mute);
    if (sound)
        sound->SetMuted(mute);
}
