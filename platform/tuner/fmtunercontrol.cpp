#include "platform/tuner/fmtunercontrol.h"

#include <QtGlobal>

FmTunerControl::FmTunerControl(QObject* parent)
    : QRadioTunerControl(parent)
    , runState(QRadioTuner::StoppedState)
    , tunedHz(bandStartHz)
    , requestedStereoMode(QRadioTuner::Auto)
    , lastStrength(0)
    , outputVolume(50)
    , muted(false)
    , lastError(QRadioTuner::NoError)
{
    reportTimer.setInterval(reportIntervalMs);
    connect(&reportTimer, &QTimer::timeout, this, &FmTunerControl::Report);
}

QRadioTuner::State FmTunerControl::state() const
{
    return runState;
}

QRadioTuner::Band FmTunerControl::band() const
{
    return QRadioTuner::FM;
}

void FmTunerControl::setBand(QRadioTuner::Band band)
{
    if (isBandSupported(band))
        return;
    lastError = QRadioTuner::OutOfRangeError;
    emit QRadioTunerControl::error(lastError);
}

bool FmTunerControl::isBandSupported(QRadioTuner::Band band) const
{
    return band == QRadioTuner::FM;
}

int FmTunerControl::frequency() const
{
    return tunedHz;
}

int FmTunerControl::frequencyStep(QRadioTuner::Band band) const
{
    return isBandSupported(band) ? stepHz : 0;
}

QPair<int, int> FmTunerControl::frequencyRange(QRadioTuner::Band band) const
{
    return isBandSupported(band) ? qMakePair(int(bandStartHz), int(bandEndHz)) : qMakePair(0, 0);
}

// Mono reception; the requested stereo mode is kept for QRadioTuner only.
bool FmTunerControl::isStereo() const
{
    return false;
}

QRadioTuner::StereoMode FmTunerControl::stereoMode() const
{
    return requestedStereoMode;
}

void FmTunerControl::setStereoMode(QRadioTuner::StereoMode mode)
{
    requestedStereoMode = mode;
}

int FmTunerControl::signalStrength() const
{
    return runState == QRadioTuner::ActiveState ? lastStrength : 0;
}

int FmTunerControl::volume() const
{
    return outputVolume;
}

void FmTunerControl::setVolume(int volume)
{
    const int bounded = qBound(0, volume, 100);
    if (bounded == outputVolume)
        return;
    outputVolume = bounded;
    ApplyVolume(outputVolume);
    emit volumeChanged(outputVolume);
}

bool FmTunerControl::isMuted() const
{
    return muted;
}

void FmTunerControl::setMuted(bool mute)
{
    if (mute == muted)
        return;
    muted = mute;
    ApplyMuted(muted);
    emit mutedChanged(muted);
}

// The show tunes its stations by frequency, so there is nothing to search
// for: a search neither starts nor moves the tuning.
bool FmTunerControl::isSearching() const
{
    return false;
}

void FmTunerControl::searchForward() {}

void FmTunerControl::searchBackward() {}

void FmTunerControl::searchAllStations(QRadioTuner::SearchMode) {}

void FmTunerControl::cancelSearch() {}

QRadioTuner::Error FmTunerControl::error() const
{
    return lastError;
}

void FmTunerControl::SetTunedFrequency(int hz)
{
    tunedHz = hz;
}

void FmTunerControl::SetState(QRadioTuner::State state)
{
    runState = state;
    emit stateChanged(runState);
}

void FmTunerControl::Report()
{
    lastStrength = MeasureStrength();
    emit signalStrengthChanged(lastStrength);
}
