#include "platform/tuner/standin/standintunercontrol.h"

#include "platform/sound/soundoutput.h"

#include <QtGlobal>

#include <algorithm>

namespace {

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
    , receiver(frequency())
{
    callerGain.SetVolume(volume());
}

StandInTunerControl::~StandInTunerControl() = default;

void StandInTunerControl::setFrequency(int hz)
{
    const int snapped = SnapToBand(hz);
    const bool retuned = snapped != frequency();
    SetTunedFrequency(snapped);
    receiver.Tune(snapped);
    if (retuned)
        emit frequencyChanged(snapped);
    if (state() == QRadioTuner::ActiveState)
        Report();
}

void StandInTunerControl::start()
{
    if (state() == QRadioTuner::ActiveState)
        return;
    SetState(QRadioTuner::ActiveState);
    receiver.SwitchOn();
    Report();
    if (pacing == Pacing::OwnTimer) {
        reportTimer.start();
        if (!sound) {
            sound.reset(new SoundOutput(receiver));
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
    receiver.SwitchOff();
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
    receiver.Render(interleaved, frames);
    callerGain.Apply(interleaved, frames);
}

int StandInTunerControl::MeasureStrength()
{
    return receiver.Report();
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
