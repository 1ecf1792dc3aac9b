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
    : QRadioTunerControl(parent)
    , pacing(pacing)
    , runState(QRadioTuner::StoppedState)
    , tunedHz(bandStartHz)
    , requestedStereoMode(QRadioTuner::Auto)
    , lastStrength(0)
    , outputVolume(50)
    , muted(false)
    , lastError(QRadioTuner::NoError)
    , reportsSinceTuning(0)
    , broadcast(tunedHz)
{
    reportTimer.setInterval(reportIntervalMs);
    connect(&reportTimer, &QTimer::timeout, this, &StandInTunerControl::Report);
    callerGain.SetVolume(outputVolume);
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

QRadioTuner::State StandInTunerControl::state() const
{
    return runState;
}

QRadioTuner::Band StandInTunerControl::band() const
{
    return QRadioTuner::FM;
}

void StandInTunerControl::setBand(QRadioTuner::Band band)
{
    if (isBandSupported(band))
        return;
    lastError = QRadioTuner::OutOfRangeError;
    emit QRadioTunerControl::error(lastError);
}

bool StandInTunerControl::isBandSupported(QRadioTuner::Band band) const
{
    return band == QRadioTuner::FM;
}

int StandInTunerControl::frequency() const
{
    return tunedHz;
}

int StandInTunerControl::frequencyStep(QRadioTuner::Band band) const
{
    return isBandSupported(band) ? stepHz : 0;
}

QPair<int, int> StandInTunerControl::frequencyRange(QRadioTuner::Band band) const
{
    return isBandSupported(band) ? qMakePair(int(bandStartHz), int(bandEndHz)) : qMakePair(0, 0);
}

void StandInTunerControl::setFrequency(int hz)
{
    const int snapped = SnapToBand(hz);
    if (snapped != tunedHz) {
        tunedHz = snapped;
        broadcast.Tune(tunedHz);
        emit frequencyChanged(tunedHz);
    }
    reportsSinceTuning = 0;
    if (runState == QRadioTuner::ActiveState)
        Report();
}

bool StandInTunerControl::isStereo() const
{
    return false;
}

QRadioTuner::StereoMode StandInTunerControl::stereoMode() const
{
    return requestedStereoMode;
}

void StandInTunerControl::setStereoMode(QRadioTuner::StereoMode mode)
{
    requestedStereoMode = mode;
}

int StandInTunerControl::signalStrength() const
{
    return runState == QRadioTuner::ActiveState ? lastStrength : 0;
}

int StandInTunerControl::volume() const
{
    return outputVolume;
}

void StandInTunerControl::setVolume(int volume)
{
    const int bounded = qBound(0, volume, 100);
    if (bounded == outputVolume)
        return;
    outputVolume = bounded;
    callerGain.SetVolume(outputVolume);
    if (sound)
        sound->SetVolume(outputVolume);
    emit volumeChanged(outputVolume);
}

bool StandInTunerControl::isMuted() const
{
    return muted;
}

void StandInTunerControl::setMuted(bool mute)
{
    if (mute == muted)
        return;
    muted = mute;
    callerGain.SetMuted(muted);
    if (sound)
        sound->SetMuted(muted);
    emit mutedChanged(muted);
}

// The stand-in knows no stations beyond the strengths it reports, so it has
// nothing to search for: a search neither starts nor moves the tuning.
bool StandInTunerControl::isSearching() const
{
    return false;
}

void StandInTunerControl::searchForward() {}

void StandInTunerControl::searchBackward() {}

void StandInTunerControl::searchAllStations(QRadioTuner::SearchMode) {}

void StandInTunerControl::cancelSearch() {}

void StandInTunerControl::start()
{
    if (runState == QRadioTuner::ActiveState)
        return;
    runState = QRadioTuner::ActiveState;
    emit stateChanged(runState);
    reportsSinceTuning = 0;
    // Switching on is heard as tuning in.
    broadcast.Tune(tunedHz);
    Report();
    if (pacing == Pacing::OwnTimer) {
        reportTimer.start();
        if (!sound) {
            sound.reset(new SoundOutput(broadcast));
            sound->SetVolume(outputVolume);
            sound->SetMuted(muted);
        }
        sound->Start();
    }
}

void StandInTunerControl::stop()
{
    if (runState == QRadioTuner::StoppedState)
        return;
    reportTimer.stop();
    if (sound)
        sound->Stop();
    runState = QRadioTuner::StoppedState;
    emit stateChanged(runState);
}

QRadioTuner::Error StandInTunerControl::error() const
{
    return lastError;
}

QString StandInTunerControl::errorString() const
{
    return lastError == QRadioTuner::OutOfRangeError
        ? QStringLiteral("the stand-in tuner receives the FM band only")
        : QString();
}

void StandInTunerControl::ReportNow()
{
    if (runState == QRadioTuner::ActiveState)
        Report();
}

void StandInTunerControl::RenderSound(float* interleaved, int frames)
{
    if (runState != QRadioTuner::ActiveState) {
        std::fill(interleaved, interleaved + frames * SampleSource::channels, 0.0f);
        return;
    }
    broadcast.Render(interleaved, frames);
    callerGain.Apply(interleaved, frames);
}

void StandInTunerControl::Report()
{
    lastStrength = StrengthAt(tunedHz, reportsSinceTuning++);
    broadcast.SetStrength(lastStrength);
    emit signalStrengthChanged(lastStrength);
}
