#include "platform/tuner/sdr/sdrtunercontrol.h"

#include "platform/tuner/sdr/deemphasischoice.h"

#include <QtGlobal>

namespace {

// At least a fifth of a second of audio (the ring rounds it up to 16384
// frames, about a third): enough to bridge the receive thread's reads and
// the sound output's pulls, little enough to keep the radio prompt.
const int ringFrames = 9600;

}

SdrTunerControl::SdrTunerControl(SdrReceiver::DeviceOpener openDevice, QObject* parent)
    : FmTunerControl(parent)
    , openDevice(std::move(openDevice))
    , deemphasisSeconds(deemphasischoice::Choose())
    , stereo(false)
    , ring(ringFrames)
    , sound(ring)
{
    sound.SetVolume(volume());
}

SdrTunerControl::~SdrTunerControl()
{
    stop();
}

void SdrTunerControl::setFrequency(int hz)
{
    const int bounded = qBound(int(bandStartHz), hz, int(bandEndHz));
    if (bounded != frequency()) {
        SetTunedFrequency(bounded);
        emit frequencyChanged(bounded);
    }
    if (receiver)
        receiver->Tune(bounded);
}

void SdrTunerControl::start()
{
    if (state() == QRadioTuner::ActiveState)
        return;
    // Neither the receive thread nor the sound output runs yet: the ring can
    // drop what an earlier run left in it.
    ring.Clear();
    receiver.reset(new SdrReceiver(openDevice, ring, frequency(), deemphasisSeconds));
    sound.Start();
    SetState(QRadioTuner::ActiveState);
    Report();
    reportTimer.start();
}

void SdrTunerControl::stop()
{
    if (state() == QRadioTuner::StoppedState)
        return;
    reportTimer.stop();
    sound.Stop();
    receiver.reset();
    SetState(QRadioTuner::StoppedState);
    if (stereo) {
        stereo = false;
        emit stereoStatusChanged(false);
    }
}

bool SdrTunerControl::isStereo() const
{
    return stereo;
}

QString SdrTunerControl::errorString() const
{
    return error() == QRadioTuner::OutOfRangeError
        ? QStringLiteral("the SDR tuner receives the FM band only")
        : QString();
}

// The stereo indication rides on the strength's report.
int SdrTunerControl::MeasureStrength()
{
    const bool nowStereo = receiver && receiver->IsStereo();
    if (nowStereo != stereo) {
        stereo = nowStereo;
        emit stereoStatusChanged(stereo);
    }
    return receiver ? receiver->Strength() : 0;
}

void SdrTunerControl::ApplyVolume(int volume)
{
    sound.SetVolume(volume);
}

void SdrTunerControl::ApplyMuted(bool mute)
{
    sound.SetMuted(mute);
}
