#include "audio/radio.h"

const int channel_freqs[20] = {};
const float channel_metas[20] = {};
const int channel_fixes[20] = {};

Radio::Radio() : on(false), frequency(95000000), noise(0), channel(0), tuner(nullptr) {}
Radio::~Radio() = default;
void Radio::Switch(bool) {}
void Radio::Activate() {}
void Radio::Shuffle() {}
int Radio::GetNoise() const { return 0; }
int Radio::GetSuperNoise() const { return 0; }
void Radio::ForceOff() {}
void Radio::ForceOn() {}
void Radio::SetVolume(int) {}
void Radio::Tune(int) {}
void Radio::SetNoise(int strength) { noise = strength; }
