#include "tools/archive/PlaceholderSounds.h"

#include <cmath>

#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/MbdWriter.h"

namespace mareldon {

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

void PushSample(std::vector<uint8_t>& pcm, double value) {
    const auto sample = int16_t(std::lround(std::fmax(-1.0, std::fmin(1.0, value)) * 32767.0));
    pcm.push_back(uint8_t(sample));
    pcm.push_back(uint8_t(uint16_t(sample) >> 8));
}

// A fade at both ends keeps the output from clicking.
double Envelope(int i, int count) {
    const int edge = kRate / 200;
    const double in = i < edge ? double(i) / edge : 1.0;
    const double out = count - i < edge ? double(count - i) / edge : 1.0;
    return in * out;
}

// Effect n: a falling tone, or every third one a noise burst, each at a pitch
// and length of its own so that effects can be told apart by ear.
std::vector<uint8_t> Effect(int n) {
    const int count = kRate * (60 + (n % 5) * 30) / 1000;
    const double start = 220.0 * std::pow(2.0, double(n % 24) / 6.0);
    std::vector<uint8_t> pcm;
    uint32_t noise = 0x12345u + uint32_t(n) * 7919u;
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / count;
        double value;
        if (n % 3 == 2) {
            noise = noise * 1103515245u + 12345u;
            value = (double((noise >> 16) & 0x7FFF) / 16383.5 - 1.0) * (1.0 - t);
        } else {
            phase += 2.0 * kPi * start * (1.0 - 0.5 * t) / kRate;
            value = std::sin(phase) * (1.0 - 0.7 * t);
        }
        PushSample(pcm, 0.3 * value * Envelope(i, count));
    }
    return pcm;
}

// Tune n: eight notes of a major scale in an order of its own, a quarter second each.
std::vector<uint8_t> Melody(int n) {
    static const int kScale[8] = {0, 2, 4, 5, 7, 9, 11, 12};
    const int noteLength = kRate / 4;
    const double root = 196.0 * std::pow(2.0, double(n % 7) / 12.0);
    std::vector<uint8_t> pcm;
    for (int note = 0; note < 8; ++note) {
        const int step = kScale[(note * (n + 3) + n) % 8];
        const double frequency = root * std::pow(2.0, step / 12.0);
        for (int i = 0; i < noteLength; ++i) {
            const double decay = 1.0 - 0.6 * double(i) / noteLength;
            PushSample(pcm,
                       0.2 * std::sin(2.0 * kPi * frequency * i / kRate) * decay * Envelope(i, noteLength));
        }
    }
    return pcm;
}

}  // namespace

const std::vector<const char*>& PlaceholderEffectNames() {
    static const std::vector<const char*> names = {
        "SE0030",     "SE0044",     "SE0045",      "SE0058",     "vosk1_se42",  "SE0077_2",   "vosk1_se37",
        "SE0071",     "vosk1_se36", "05D_GIMIC17", "SE0021",     "061_FSHOT18", "atc",        "SE005D",
        "09_",        "SE0020",     "SE005F",      "SE008B",     "SE0023",      "SE003D",     "SE0083",
        "vosk1_se02", "gameover",   "SE0082",      "vosk1_se01", "vosk1_se10",  "vosk1_se83", "SE008F",
        "vosk1_se57", "vosk1_se85", "vosk1_se66",  "SE00B2",     "SE0088",      "SE00B3",     "SE0091",
        "SE008C",     "SE0099",     "SE00AE",      "SE0070",     "SE0074",      "SE007C",     "vosk1_se31",
        "vosk1_se49", "vosk1_se23", "vosk1_se50"};
    return names;
}

const std::vector<const char*>& PlaceholderTuneNames() {
    static const std::vector<const char*> names = {
        "title",     "demo03",   "moviest",  "end",      "select",   "select01",
        "tutorial2", "vosk_st1", "vosk_st2", "vosk_st3", "vosk_st4", "vosk_st5",
        "vosk_st6",  "BOSS",     "BOSS2",    "crear",    "name",     "conti"};
    return names;
}

PlaceholderSoundSlots AddPlaceholderSounds(MbdWriter& writer) {
    PlaceholderSoundSlots slots;
    // Tunes take the first slots: the sound test lists as tunes the slots below
    // the effect count that no effect takes.
    int n = 0;
    for (const char* name : PlaceholderTuneNames()) {
        const int32_t slot = writer.AddSound(EncodeSoundRecord(Melody(n++), 16, kRate, 1));
        writer.AddSoundName(name, slot);
        slots.tunes.push_back(slot);
    }
    n = 0;
    for (const char* name : PlaceholderEffectNames()) {
        const int32_t slot = writer.AddSound(EncodeSoundRecord(Effect(n++), 16, kRate, 1));
        writer.AddSoundName(name, slot);
        slots.effects.push_back(slot);
    }
    return slots;
}

}  // namespace mareldon
