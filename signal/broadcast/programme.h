#ifndef PROGRAMME_H
#define PROGRAMME_H

#include "signal/broadcast/drumkit.h"
#include "signal/broadcast/synthvoices.h"
#include "signal/broadcast/talker.h"
#include "signal/kweighting.h"
#include "signal/peaklimiter.h"

#include <array>
#include <cstdint>

// What one frequency of the stand-in's band broadcasts: a pure function of
// the frequency and of the time on the station's own clock, which runs from
// the start of the show whether or not anyone listens, so that a station
// heard again resumes rather than starts over. Each frequency has one of five kinds of programme and its
// own tempo, key, scale and timbres, all drawn from the frequency. Like a
// broadcaster, it levels its sound to a common loudness (measured as the
// ear hears it, K-weighted) and limits its peaks.
class Programme
{
public:
    enum class Kind { Song, Pads, Arpeggios, Talk, Chimes };
    static const int kindCount = 5;

    static constexpr float loudnessLufs = -14.0f;
    static constexpr float ceiling = 0.84f;  // -1.5 dBFS

    // The programme from fromFrame of the show's clock on. Every station
    // went on the air a second before the show: that second, or the second
    // before fromFrame, is played unheard, so that notes ring and the level
    // has settled when the programme is first heard.
    explicit Programme(int hz, std::int64_t fromFrame = 0);

    Kind StationKind() const { return kind; }

    // Writes (does not add) frames of interleaved stereo.
    void Render(float* interleaved, int frames);

private:
    std::uint64_t Draw(std::int64_t step, int what) const;
    int ScaleNote(int degree, int octaveOffset) const;
    int ChordNote(std::int64_t step, int stepsPerChord, int tone, int octaveOffset) const;
    void PlayStep(std::int64_t step);
    void PlaySong(std::int64_t step);
    void PlayPads(std::int64_t step);
    void PlayArpeggios(std::int64_t step);
    void PlayTalk(std::int64_t step);
    void PlayChimes(std::int64_t step);
    void Level(float* interleaved, int frames);

    std::uint64_t seed;
    Kind kind;
    double framesPerStep;
    int rootNote;
    const int* scale;
    std::array<int, 4> progression;
    Wavetables::Timbre leadTimbre;
    Wavetables::Timbre bassTimbre;
    std::uint32_t rhythm;
    float talkerHz;

    std::int64_t framesRendered = 0;
    std::int64_t nextStep = 0;
    // Where the programme was joined: what was already sounding then
    // starts there.
    std::int64_t firstStep = 0;
    std::int64_t talkResumesAt = 0;
    int syllablesLeft = 0;
    int phraseLength = 0;

    SynthVoices voices;
    DrumKit drums;
    Talker talker;

    KWeighting weighting[2];
    float power;
    float recentPower = 0.0f;
    float levelGain = 1.0f;
    float levelFollow;
    PeakLimiter limiter;
};

#endif
