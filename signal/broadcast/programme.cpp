#include "signal/broadcast/programme.h"

#include "signal/samplesource.h"
#include "signal/scramble.h"

#include <algorithm>
#include <cmath>

namespace {

const float rate = float(SampleSource::sampleRate);
const int stepsPerBar = 16;
const int scaleLength = 7;
// Rendered in slices no longer than this, so that a step always starts on time.
const int sliceFrames = 256;
// The leveller's memory, and how far it may lift or lower the sound.
const float levelSeconds = 1.5f;
// Before the programme is heard: how long it plays, and how quickly its
// level settles meanwhile.
const int prerollFrames = SampleSource::sampleRate;
const float prerollLevelSeconds = 0.2f;
// What the leveller counts: sound no more than 20 LU under the target, over
// the last tenth of a second.
const float gateShare = 0.01f;
const float recentFollow = 1.0f / (0.1f * rate);
const float quietestGain = 0.25f;
const float loudestGain = 6.0f;
const float limiterRelease = 1.0f - std::exp(-1.0f / (0.05f * rate));

const int scales[4][scaleLength] = {
    {0, 2, 4, 5, 7, 9, 11},  // major
    {0, 2, 3, 5, 7, 8, 10},  // natural minor
    {0, 2, 3, 5, 7, 9, 10},  // dorian
    {0, 2, 4, 5, 7, 9, 10},  // mixolydian
};

// Chord roots as scale degrees: four bars of a progression.
const int progressions[6][4] = {
    {0, 4, 5, 3}, {0, 5, 3, 4}, {0, 3, 4, 3}, {5, 3, 0, 4}, {0, 3, 5, 4}, {0, 2, 3, 4},
};

// The tempo range of each kind of programme, beats per minute. The talk
// station's "beat" paces its syllables.
const float slowestTempo[Programme::kindCount] = {94.0f, 58.0f, 108.0f, 210.0f, 66.0f};
const float fastestTempo[Programme::kindCount] = {128.0f, 80.0f, 148.0f, 260.0f, 100.0f};

float Fraction(std::uint64_t bits)
{
    return float(bits >> 40) / float(1ULL << 24);
}

float NoteHz(int midiNote)
{
    return 440.0f * std::exp2(float(midiNote - 69) / 12.0f);
}

}

Programme::Programme(int hz, std::int64_t fromFrame) : seed(Scramble(std::uint64_t(std::uint32_t(hz)) * 0x5851f42d4c957f2dULL)), drums(std::uint32_t(seed)), talker(std::uint32_t(seed >> 32)), limiter(ceiling, limiterRelease)
{
    // Neighbouring frequencies get unrelated draws. The kind's salt is one
    // that gives each station of the show's channel table another kind than
    // the station before it, so that every step of the show is heard.
    kind = Kind(Scramble(seed ^ 106) % kindCount);
    const float tempoShare = Fraction(Scramble(seed ^ 2));
    const float beatsPerMinute = std::round(slowestTempo[int(kind)]
                                + (fastestTempo[int(kind)] - slowestTempo[int(kind)]) * tempoShare);
    framesPerStep = double(rate) * 60.0 / (double(beatsPerMinute) * 4.0);
    rootNote = 45 + int(Scramble(seed ^ 3) % 12);  // A2 to G#3
    scale = scales[Scramble(seed ^ 4) % 4];
    const int* chosen = progressions[Scramble(seed ^ 5) % 6];
    std::copy(chosen, chosen + 4, progression.begin());
    const Wavetables::Timbre leads[3] = {Wavetables::Soft, Wavetables::Hollow, Wavetables::Bright};
    leadTimbre = leads[Scramble(seed ^ 6) % 3];
    bassTimbre = Scramble(seed ^ 7) % 2 ? Wavetables::Soft : Wavetables::Hollow;
    rhythm = std::uint32_t(Scramble(seed ^ 8));
    talkerHz = 95.0f + 120.0f * Fraction(Scramble(seed ^ 9));
    power = float(KWeighting::Power(loudnessLufs));

    // The station's own clock runs prerollFrames ahead of the show's; it
    // starts on the first step of the second before fromFrame.
    const std::int64_t heardFrom = std::max<std::int64_t>(fromFrame, 0) + prerollFrames;
    nextStep = std::int64_t(std::ceil(double(heardFrom - prerollFrames) / framesPerStep));
    framesRendered = std::llround(double(nextStep) * framesPerStep);
    firstStep = nextStep;
    levelFollow = 1.0f / (prerollLevelSeconds * rate);
    float scratch[2 * sliceFrames];
    while (framesRendered < heardFrom)
        Render(scratch, int(std::min<std::int64_t>(sliceFrames, heardFrom - framesRendered)));
    levelFollow = 1.0f / (levelSeconds * rate);
}

std::uint64_t Programme::Draw(std::int64_t step, int what) const
{
    return Scramble(seed ^ Scramble(std::uint64_t(step) * 16 + std::uint64_t(what)));
}

int Programme::ScaleNote(int degree, int octaveOffset) const
{
    const int octave = degree >= 0 ? degree / scaleLength : -((scaleLength - 1 - degree) / scaleLength);
    const int index = degree - octave * scaleLength;
    return rootNote + 12 * (octave + octaveOffset) + scale[index];
}

// Tone 0, 1, 2 is the chord's root, third and fifth; higher tones go on up
// through the next octaves.
int Programme::ChordNote(std::int64_t step, int stepsPerChord, int tone, int octaveOffset) const
{
    const int root = progression[size_t((step / stepsPerChord) % 4)];
    return ScaleNote(root + 2 * (tone % 3) + scaleLength * (tone / 3), octaveOffset);
}

void Programme::PlayStep(std::int64_t step)
{
    switch (kind) {
    case Kind::Song:
        PlaySong(step);
        break;
    case Kind::Pads:
        PlayPads(step);
        break;
    case Kind::Arpeggios:
        PlayArpeggios(step);
        break;
    case Kind::Talk:
        PlayTalk(step);
        break;
    case Kind::Chimes:
        PlayChimes(step);
        break;
    }
}

void Programme::PlaySong(std::int64_t step)
{
    const int position = int(step % stepsPerBar);
    // Each station plays one of several patterns, a bit to a step.
    static const std::uint16_t kicks[4] = {0x0509, 0x1111, 0x4141, 0x0909};
    static const std::uint16_t snares[3] = {0x1010, 0x0100, 0x9010};
    static const std::uint16_t hats[3] = {0x5555, 0xffff, 0x4444};
    const std::uint64_t style = Scramble(seed ^ 11);
    if ((kicks[style % 4] >> position) & 1)
        drums.Kick(0.55f);
    if ((snares[(style >> 8) % 3] >> position) & 1)
        drums.Snare(position == 15 ? 0.1f : 0.22f);
    if ((hats[(style >> 16) % 3] >> position) & 1)
        drums.Hat(position % 4 == 2 ? 0.22f : 0.12f, 0.4f);

    // The bass hits on a per-station pattern drawn from six places in the bar.
    static const int bassPlaces[6] = {0, 3, 6, 8, 11, 14};
    for (int place = 0; place < 6; ++place) {
        if (position == bassPlaces[place] && (place == 0 || (rhythm >> (4 + place)) & 1)) {
            SynthVoices::Note bass;
            bass.hz = NoteHz(ChordNote(step, stepsPerBar, 0, -1));
            bass.timbre = bassTimbre;
            bass.level = 0.32f;
            bass.decaySeconds = 0.25f;
            bass.sustain = 0.4f;
            bass.holdSeconds = float(framesPerStep * 2.0 / rate);
            bass.releaseSeconds = 0.05f;
            voices.Play(bass);
        }
    }

    // The tune: a per-station rhythm, notes near the chord.
    if ((rhythm >> (12 + position)) & 1) {
        const std::uint64_t draw = Draw(step, 0);
        SynthVoices::Note lead;
        const int tone = int(draw % 5);
        lead.hz = NoteHz(ChordNote(step, stepsPerBar, tone, 1));
        lead.timbre = leadTimbre;
        lead.level = 0.16f;
        lead.attackSeconds = 0.01f;
        lead.decaySeconds = 0.3f;
        lead.sustain = 0.35f;
        lead.holdSeconds = float(framesPerStep * 1.5 / rate);
        lead.releaseSeconds = 0.12f;
        lead.pan = -0.3f;
        voices.Play(lead);
    }
}

void Programme::PlayPads(std::int64_t step)
{
    const int stepsPerChord = 2 * stepsPerBar;
    // Joined mid-chord, the chord sounds for what is left of it.
    const int stepsLeft = stepsPerChord - int(step % stepsPerChord);
    const float chordSeconds = float(framesPerStep * stepsLeft / rate);
    if (stepsLeft == stepsPerChord || step == firstStep) {
        for (int tone = 0; tone < 4; ++tone) {
            SynthVoices::Note pad;
            pad.timbre = tone == 0 ? Wavetables::Soft : leadTimbre == Wavetables::Bright ? Wavetables::Hollow
                                                                                       : Wavetables::Soft;
            pad.level = tone == 0 ? 0.20f : 0.10f;
            pad.attackSeconds = 0.9f;
            pad.sustain = 1.0f;
            pad.holdSeconds = chordSeconds;
            pad.releaseSeconds = 0.6f;
            const float hz = NoteHz(tone == 0 ? ChordNote(step, stepsPerChord, 0, -1)
                                              : ChordNote(step, stepsPerChord, tone - 1, 0));
            // Each upper tone twice, slightly apart in pitch and place: a chorus.
            const int copies = tone == 0 ? 1 : 2;
            for (int copy = 0; copy < copies; ++copy) {
                pad.hz = copies == 1 ? hz : hz * (copy ? 1.003f : 0.997f);
                pad.pan = copies == 1 ? 0.0f : (copy ? 0.6f : -0.6f);
                voices.Play(pad);
            }
        }
    }
    if (step % 8 == 4 && Draw(step, 1) % 3 != 0) {
        SynthVoices::Note bell;
        bell.hz = NoteHz(ChordNote(step, stepsPerChord, int(Draw(step, 2) % 4), 2));
        bell.timbre = Wavetables::Sine;
        bell.level = 0.12f;
        bell.decaySeconds = 0.9f;
        bell.holdSeconds = 0.9f;
        bell.releaseSeconds = 0.4f;
        bell.pan = Fraction(Draw(step, 3)) - 0.5f;
        voices.Play(bell);
    }
}

void Programme::PlayArpeggios(std::int64_t step)
{
    const int position = int(step % stepsPerBar);
    // Up, down, or up and down through two octaves of the chord; each
    // four-bar phrase takes its own shape and octave, so that the loop of
    // chords never repeats the same notes for long.
    static const int shapes[5][stepsPerBar] = {
        {0, 1, 2, 3, 4, 5, 6, 5, 0, 1, 2, 3, 4, 5, 6, 5},
        {6, 5, 4, 3, 2, 1, 0, 1, 6, 5, 4, 3, 2, 1, 0, 1},
        {0, 2, 4, 6, 5, 3, 1, 2, 0, 2, 4, 6, 5, 3, 1, 2},
        {0, 1, 2, 0, 1, 2, 3, 4, 5, 3, 4, 5, 6, 5, 4, 3},
        {2, 1, 0, 1, 2, 3, 4, 3, 5, 4, 3, 4, 5, 6, 5, 4},
    };
    const std::int64_t phrase = step / (4 * stepsPerBar);
    const int tone = shapes[Draw(phrase, 11) % 5][position];
    const int octave = Draw(phrase, 12) % 3 == 0 ? 1 : 0;
    SynthVoices::Note note;
    note.hz = NoteHz(ChordNote(step, stepsPerBar, tone, octave));
    note.timbre = leadTimbre == Wavetables::Soft ? Wavetables::Hollow : leadTimbre;
    note.level = 0.17f;
    note.attackSeconds = 0.003f;
    note.decaySeconds = 0.12f;
    note.holdSeconds = float(framesPerStep / rate);
    note.releaseSeconds = 0.05f;
    note.pan = position % 2 ? 0.35f : -0.35f;
    voices.Play(note);
    if (position == 0) {
        SynthVoices::Note bass;
        bass.hz = NoteHz(ChordNote(step, stepsPerBar, 0, -1));
        bass.timbre = bassTimbre;
        bass.level = 0.25f;
        bass.attackSeconds = 0.02f;
        bass.decaySeconds = 0.6f;
        bass.sustain = 0.5f;
        bass.holdSeconds = float(framesPerStep * stepsPerBar / rate);
        bass.releaseSeconds = 0.1f;
        voices.Play(bass);
    }
}

// Phrases of four to nine syllables, each two to four steps long, with
// the pitch falling through the phrase as in speech, and pauses between.
void Programme::PlayTalk(std::int64_t step)
{
    if (step < talkResumesAt)
        return;
    if (syllablesLeft == 0) {
        phraseLength = 4 + int(Draw(step, 4) % 6);
        syllablesLeft = phraseLength;
        talkResumesAt = step + 5 + std::int64_t(Draw(step, 5) % 6);
        return;
    }
    const int length = 2 + int(Draw(step, 6) % 3);
    const float progress = float(phraseLength - syllablesLeft) / float(phraseLength);
    const float startHz = talkerHz * (1.15f - 0.3f * progress);
    const float endHz = startHz * (syllablesLeft == 1 ? 0.85f : 0.97f);
    talker.Say(Talker::Consonant(Draw(step, 13) % Talker::consonantCount),
               Talker::Vowel(Draw(step, 7) % Talker::vowelCount), startHz, endHz,
               float(framesPerStep * length / rate), 0.5f);
    --syllablesLeft;
    talkResumesAt = step + length + std::int64_t(Draw(step, 8) % 2);
}

void Programme::PlayChimes(std::int64_t step)
{
    const int position = int(step % stepsPerBar);
    const int droneStepsLeft = 2 * stepsPerBar - int(step % (2 * stepsPerBar));
    if (droneStepsLeft == 2 * stepsPerBar || step == firstStep) {
        SynthVoices::Note drone;
        drone.hz = NoteHz(ChordNote(step, 2 * stepsPerBar, 0, -1));
        drone.timbre = Wavetables::Soft;
        drone.level = 0.15f;
        drone.attackSeconds = 0.5f;
        drone.sustain = 1.0f;
        drone.holdSeconds = float(framesPerStep * droneStepsLeft / rate);
        drone.releaseSeconds = 0.5f;
        voices.Play(drone);
    }
    // A jingle opens every fourth bar: the chord, quickly upwards.
    if (step % (4 * stepsPerBar) < 4) {
        SynthVoices::Note jingle;
        jingle.hz = NoteHz(ChordNote(step, stepsPerBar, position + 3, 1));
        jingle.timbre = Wavetables::Hollow;
        jingle.level = 0.14f;
        jingle.decaySeconds = 0.25f;
        jingle.holdSeconds = 0.25f;
        jingle.releaseSeconds = 0.1f;
        jingle.pan = float(position) * 0.2f - 0.3f;
        voices.Play(jingle);
        return;
    }
    // Bells on the beats, and on a per-station choice of the half-beats.
    if (position % 2 || (position % 4 && !((rhythm >> position) & 1)))
        return;
    // A bell: a struck tone with the inharmonic partials of a bar chime.
    static const float ratios[3] = {1.0f, 2.76f, 5.40f};
    static const float levels[3] = {0.16f, 0.07f, 0.035f};
    static const float decays[3] = {1.2f, 0.6f, 0.3f};
    const float hz = NoteHz(ScaleNote(int(Draw(step, 9) % 8), 2));
    const float pan = Fraction(Draw(step, 10)) - 0.5f;
    for (int partial = 0; partial < 3; ++partial) {
        SynthVoices::Note bell;
        bell.hz = hz * ratios[partial];
        bell.timbre = Wavetables::Sine;
        bell.level = levels[partial];
        bell.attackSeconds = 0.002f;
        bell.decaySeconds = decays[partial];
        bell.holdSeconds = 2.0f * decays[partial];
        bell.releaseSeconds = decays[partial];
        bell.pan = pan;
        voices.Play(bell);
    }
}

void Programme::Level(float* interleaved, int frames)
{
    const float target = float(KWeighting::Power(loudnessLufs));
    for (int frame = 0; frame < frames; ++frame) {
        float& left = interleaved[2 * frame];
        float& right = interleaved[2 * frame + 1];
        const float weightedLeft = weighting[0].Next(left);
        const float weightedRight = weighting[1].Next(right);
        const float now = weightedLeft * weightedLeft + weightedRight * weightedRight;
        // Pauses do not count, as loudness meters gate them out: a talk
        // station is not lifted between its phrases.
        recentPower += (now - recentPower) * recentFollow;
        if (recentPower > target * gateShare)
            power += (now - power) * levelFollow;
        if ((frame & 63) == 0) {
            const float wanted = std::clamp(std::sqrt(target / (power + 1.0e-9f)), quietestGain, loudestGain);
            levelGain += (wanted - levelGain) * 0.05f;
        }
        left *= levelGain;
        right *= levelGain;
        limiter.Apply(left, right);
    }
}

void Programme::Render(float* interleaved, int frames)
{
    std::fill(interleaved, interleaved + 2 * frames, 0.0f);
    for (int done = 0; done < frames;) {
        const std::int64_t stepAt = std::llround(double(nextStep) * framesPerStep);
        if (framesRendered >= stepAt) {
            PlayStep(nextStep++);
            continue;
        }
        const int count = int(std::min<std::int64_t>({sliceFrames, frames - done, stepAt - framesRendered}));
        float* slice = interleaved + 2 * done;
        voices.Render(slice, count);
        drums.Render(slice, count);
        talker.Render(slice, count);
        Level(slice, count);
        done += count;
        framesRendered += count;
    }
}
