#include "audio/radio.h"

#include <QRadioTuner>

#include <iostream>

const int channel_freqs[20] = {
    911, 1028, 933, 1062, 962, 1055, 981, 925, 890, 1046,
    1023, 886, 1000, 949, 879, 989, 1037, 940, 1011, 919,
};

const float channel_metas[20] = {
    1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
    1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
};

const int channel_fixes[20] = {
    0, 90, 0, 90, 90, 90, 90, 90, 90, 90,
    0, 90, 90, 90, 90, 90, 90, 90, 90, 90,
};

namespace {
const int channelCount = 20;
const int hzPerTableUnit = 100000;
const int startVolume = 70;
}

Radio::Radio() : on(false), frequency(95000000), noise(0), channel(0), tuner(nullptr) {}

Radio::~Radio()
{
    delete tuner;
}

void Radio::Switch(bool enable)
{
    if (enable == on)
        return;
    on = enable;
    if (!enable) {
        std::cout << "stopping radio\n" << std::flush;
        ForceOff();
        return;
    }
    if (!tuner)
        Activate();
}

void Radio::Activate()
{
    std::cout << "activating radio\n" << std::flush;
    tuner = new QRadioTuner(this);
    tuner->setBand(QRadioTuner::FM);
    tuner->setVolume(startVolume);
    connect(tuner, SIGNAL(signalStrengthChanged(int)), this, SLOT(SetNoise(int)));
    tuner->start();
    Shuffle();
}

void Radio::Shuffle()
{
    channel = (channel + 1) % channelCount;
    frequency = channel_freqs[channel] * hzPerTableUnit;
    if (tuner)
        tuner->setFrequency(frequency);
}

int Radio::GetNoise() const
{
    // The tuner's report comes from outside and may lie anywhere in int's
    // range: the sum is taken in 64 bits so that it cannot overflow, and half
    // of it always fits back into an int.
    return static_cast<int>((static_cast<qint64>(noise) + channel_fixes[channel]) / 2);
}

int Radio::GetSuperNoise() const
{
    return static_cast<int>(channel_metas[channel]);
}

void Radio::ForceOff()
{
    if (!tuner)
        return;
    tuner->stop();
    delete tuner;
    tuner = nullptr;
}

void Radio::ForceOn() {}

void Radio::SetVolume(int volume)
{
    if (tuner)
        tuner->setVolume(volume);
}

void Radio::Tune(int hz)
{
    frequency = hz;
    if (tuner)
        tuner->setFrequency(frequency);
}

void Radio::SetNoise(int strength)
{
    noise = strength;
}
