#include "platform/tuner/sdr/sdrtunercontrol.h"

#include <QtGlobal>

namespace {

// A fifth of a second of audio: enough to bridge the receive thread's reads
// and the sound output's pulls, little enough to keep the radio prompt.
const int ringSamples = 9600;

}

SdrTunerControl::SdrTunerControl(SdrReceiver::DeviceOpener openDevice, QObject* parent)
    : QRadioTunerControl(parent)
    , openDevice(std::move(openDevice))
    , runState(QRadioTuner::StoppedState)
    , tunedHz(bandStartHz)
    , requestedStereoMode(QRadioTuner::Auto)
    , lastStrength(0)
    , outputVolume(50)
    , muted(false)
    , lastError(QRadioTuner::NoError)
    , ring(ringSamples)
    , sound(ring)
{
    reportTimer.setInterval(reportIntervalMs);
    connect(&reportTimer, &QTimer::timeout, this, &SdrTunerControl::Report);
    sound.SetVolume(outputVolume);
}

SdrTunerControl::~SdrTunerControl()
{
    stop();
}

QRadioTuner::State SdrTunerControl::state() const
{
    return runState;
}

QRadioTuner::Band SdrTunerControl::band() const
{
    return QRadioTuner::FM;
}

void SdrTunerControl::setBand(QRadioTuner::Band band)
{
    if (isBandSupported(band))
        return;
    lastError = QRadioTuner::OutOfRangeError;
    emit QRadioTunerControl::error(lastError);
}

bool SdrTunerControl::isBandSupported(QRadioTuner::Band band) const
{
    return band == QRadioTuner::FM;
}

int SdrTunerControl::frequency() const
{
    return tunedHz;
}

int SdrTunerControl::frequencyStep(QRadioTuner::Band band) const
{
    return isBandSupported(band) ? stepHz : 0;
}

QPair<int, int> SdrTunerControl::frequencyRange(QRadioTuner::Band band) const
{
    return isBandSupported(band) ? qMakePair(int(bandStartHz), int(bandEndHz)) : qMakePair(0, 0);
}

void SdrTunerControl::setFrequency(int hz)
{
    const int bounded = qBound(int(bandStartHz), hz, int(bandEndHz));
    if (bounded != tunedHz) {
        tunedHz = bounded;
        emit frequencyChanged(tunedHz);
    }
    if (receiver)
        receiver->Tune(tunedHz);
}

// Mono reception: the stereo pilot is filtered out with the rest above 15 kHz.
bool SdrTunerControl::isStereo() const
{
    return false;
}

QRadioTuner::StereoMode SdrTunerControl::stereoMode() const
{
    return requestedStereoMode;
}

void SdrTunerControl::setStereoMode(QRadioTuner::StereoMode mode)
{
    requestedStereoMode = mode;
}

int SdrTunerControl::signalStrength() const
{
    return runState == QRadioTuner::ActiveState ? lastStrength : 0;
}

int SdrTunerControl::volume() const
{
    return outputVolume;
}

void SdrTunerControl::setVolume(int volume)
{
    const int bounded = qBound(0, volume, 100);
    if (bounded == outputVolume)
        return;
    outputVolume = bounded;
    sound.SetVolume(outputVolume);
    emit volumeChanged(outputVolume);
}

bool SdrTunerControl::isMuted() const
{
    return muted;
}

void SdrTunerControl::setMuted(bool mute)
{
    if (mute == muted)
        return;
    muted = mute;
    sound.SetMuted(muted);
    emit mutedChanged(muted);
}

// The show tunes its stations by frequency; the receiver offers no search.
bool SdrTunerControl::isSearching() const
{
    return false;
}

void SdrTunerControl::searchForward() {}

void SdrTunerControl::searchBackward() {}

void SdrTunerControl::searchAllStations(QRadioTuner::SearchMode) {}

void SdrTunerControl::cancelSearch() {}

void SdrTunerControl::start()
{
    if (runState == QRadioTuner::ActiveState)
        return;
    // Neither the receive thread nor the sound output runs yet: the ring can
    // drop what an earlier run left in it.
    ring.Clear();
    receiver.reset(new SdrReceiver(openDevice, ring, tunedHz));
    sound.Start();
    runState = QRadioTuner::ActiveState;
    emit stateChanged(runState);
    Report();
    reportTimer.start();
}

void SdrTunerControl::stop()
{
    if (runState == QRadioTuner::StoppedState)
        return;
    reportTimer.stop();
    sound.Stop();
    receiver.reset();
    runState = QRadioTuner::StoppedState;
    emit stateChanged(runState);
}

QRadioTuner::Error SdrTunerControl::error() const
{
    return lastError;
}

QString SdrTunerControl::errorString() const
{
    return lastError == QRadioTuner::OutOfRangeError
        ? QStringLiteral("the SDR tuner receives the FM band only")
        : QString();
}

void SdrTunerControl::Report()
{
    lastStrength = receiver ? receiver->Strength() : 0;
    emit signalStrengthChanged(lastStrength);
}
