// Sound effects: each is a few oscillator and filtered-noise layers mixed into one
// buffer, then faded at both ends, peak-normalised and written as 16-bit mono PCM WAVE.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "assetgen.h"

namespace assetgen {
namespace {

constexpr int kRate = 22050;
constexpr double kPi = std::numbers::pi;
constexpr double kPeak = 0.708;  // -3 dBFS

// Linear attack, then exponential decay (0 holds), then a short release at the end of
// the layer so that no layer stops with a click.
struct Envelope {
    double attack = 0.002;
    double decay = 0;

    double Gain(double t, double length) const {
        constexpr double kRelease = 0.006;
        double g = attack > 0 ? std::min(1.0, t / attack) : 1.0;
        if (decay > 0) g *= std::exp(-t / decay);
        return g * std::clamp((length - t) / kRelease, 0.0, 1.0);
    }
};

enum class Wave { Sine, Triangle, Square, Saw };

struct Tone {
    double start = 0;
    double length = 0.1;
    double from = 440;  // Hz; the pitch glides exponentially from `from` to `to`
    double to = 440;
    Wave wave = Wave::Sine;
    double gain = 1;
    Envelope env;
    int harmonics = 64;  // fewer harmonics give a rounder, softer tone
    double vibratoHz = 0;
    double vibratoDepth = 0;  // fraction of the frequency
};

enum class Filter { Low, Band, High };

struct Noise {
    double start = 0;
    double length = 0.1;
    Filter filter = Filter::Low;
    double from = 2000;  // cutoff glide, Hz
    double to = 2000;
    double q = 0.7;
    double gain = 1;
    Envelope env;
    double crackle = 0;  // 0..1: chops the noise into random pops, for sizzles and blasts
};

double MidiHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// Band-limited waveform by summing harmonics below the Nyquist frequency.
double Oscillator(Wave wave, double phase, double freq, int maxHarmonics) {
    if (wave == Wave::Sine) return std::sin(phase);
    const int count = std::clamp(int(0.45 * kRate / freq), 1, maxHarmonics);
    double sum = 0;
    for (int k = 1; k <= count; ++k) {
        const double h = std::sin(k * phase);
        switch (wave) {
        case Wave::Square:
            if (k % 2) sum += h / k * (4 / kPi);
            break;
        case Wave::Saw: sum += (k % 2 ? h : -h) / k * (2 / kPi); break;
        case Wave::Triangle:
            if (k % 2) sum += ((k / 2) % 2 ? -h : h) / (double(k) * k) * (8 / (kPi * kPi));
            break;
        case Wave::Sine: break;
        }
    }
    return sum;
}

class Sound {
public:
    explicit Sound(double seconds) : samples_(size_t(seconds * kRate), 0.0) {}

    void Add(const Tone& t) {
        double phase = 0;
        Layer(t.start, t.length, [&](double time, double) {
            double f = t.from * std::pow(t.to / t.from, time / t.length);
            if (t.vibratoHz > 0) f *= 1 + t.vibratoDepth * std::sin(2 * kPi * t.vibratoHz * time);
            const double v = Oscillator(t.wave, phase, f, t.harmonics);
            phase = std::fmod(phase + 2 * kPi * f / kRate, 2 * kPi);
            return t.gain * t.env.Gain(time, t.length) * v;
        });
    }

    // White noise through a state-variable filter (stable at any cutoff below Nyquist).
    void Add(const Noise& n) {
        double ic1 = 0, ic2 = 0, pop = 1;
        int popLeft = 0;
        Layer(n.start, n.length, [&](double time, double white) {
            const double fc = std::min(n.from * std::pow(n.to / n.from, time / n.length), 0.45 * kRate);
            const double g = std::tan(kPi * fc / kRate), k = 1 / n.q;
            const double a1 = 1 / (1 + g * (g + k)), a2 = g * a1, a3 = g * a2;
            const double v3 = white - ic2;
            const double v1 = a1 * ic1 + a2 * v3, v2 = ic2 + a2 * ic1 + a3 * v3;
            ic1 = 2 * v1 - ic1;
            ic2 = 2 * v2 - ic2;
            double v = n.filter == Filter::Low ? v2 : n.filter == Filter::Band ? v1 : white - k * v1 - v2;
            if (n.crackle > 0) {
                if (--popLeft <= 0) {  // a new pop every 2..8 ms, mostly quiet, now and then loud
                    const double u = Random01();
                    pop = u * u * u * u * 4;
                    popLeft = int(kRate * (0.002 + 0.006 * Random01()));
                }
                v *= 1 - n.crackle + n.crackle * pop;
            }
            return n.gain * n.env.Gain(time, n.length) * v;
        });
    }

    std::vector<uint8_t> WaveFile() const {
        const size_t n = samples_.size();
        const double fadeIn = kRate / 500.0, fadeOut = kRate / 100.0;
        std::vector<double> faded(n);
        double peak = 0;
        for (size_t i = 0; i < n; ++i) {
            faded[i] = samples_[i] * std::min({1.0, double(i) / fadeIn, double(n - 1 - i) / fadeOut});
            peak = std::max(peak, std::abs(faded[i]));
        }
        if (peak <= 0) throw std::runtime_error("silent sound");
        std::vector<uint8_t> out(44 + 2 * n);
        size_t at = 0;
        auto put = [&](uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i) out[at++] = uint8_t(v >> (8 * i));
        };
        auto tag = [&](const char* t) {
            for (int i = 0; i < 4; ++i) out[at++] = uint8_t(t[i]);
        };
        const auto dataSize = uint32_t(2 * n);
        tag("RIFF");
        put(36 + dataSize, 4);
        tag("WAVE");
        tag("fmt ");
        put(16, 4);
        put(1, 2);
        put(1, 2);
        put(kRate, 4);
        put(2 * kRate, 4);
        put(2, 2);
        put(16, 2);
        tag("data");
        put(dataSize, 4);
        for (double v : faded) put(uint16_t(int16_t(std::lround(v / peak * kPeak * 32767))), 2);
        return out;
    }

private:
    // Mixes sample(time, white noise) over [start, start + length), clipped to the buffer.
    template <typename F>
    void Layer(double start, double length, F&& sample) {
        const auto first = size_t(std::max(0.0, start) * kRate);
        const size_t last = std::min(samples_.size(), size_t((start + length) * kRate));
        for (size_t i = first; i < last; ++i) {
            const double white = Random01() * 2 - 1;
            samples_[i] += sample(double(i - first) / kRate, white);
        }
    }

    double Random01() {  // xorshift32: the same sounds on every build
        seed_ ^= seed_ << 13;
        seed_ ^= seed_ >> 17;
        seed_ ^= seed_ << 5;
        return (seed_ >> 8) * (1.0 / 16777216.0);
    }

    std::vector<double> samples_;
    uint32_t seed_ = 0x2545F491u;
};

// A gunshot: a bright crack, a darker tail and a low thump.
void Shot(Sound& s, double at, double tail, double thumpHz) {
    s.Add(Noise{.start = at, .length = 0.1, .filter = Filter::High, .from = 3000, .to = 1500, .env = {0.0005, 0.012}});
    s.Add(Noise{.start = at, .length = tail * 4, .from = 2500, .to = 300, .gain = 0.7, .env = {0.001, tail}});
    s.Add(Tone{.start = at, .length = 0.2, .from = thumpHz, .to = thumpHz / 3, .gain = 0.8, .env = {0.001, 0.04}});
}

// A brassy note: a saw with few harmonics, a soft attack and a little vibrato.
Tone Brass(double start, double length, int note, double gain = 0.5) {
    return Tone{.start = start,
                .length = length,
                .from = MidiHz(note),
                .to = MidiHz(note),
                .wave = Wave::Saw,
                .gain = gain,
                .env = {0.02, length * 1.5},
                .harmonics = 10,
                .vibratoHz = 5.5,
                .vibratoDepth = 0.006};
}

// A bright chip-tune note: a square with a quick decay.
Tone Chip(double start, double length, int note, double decay, double gain = 0.5) {
    return Tone{.start = start,
                .length = length,
                .from = MidiHz(note),
                .to = MidiHz(note),
                .wave = Wave::Square,
                .gain = gain,
                .env = {0.003, decay},
                .harmonics = 9};
}

Sound RifleCrack() {
    Sound s(0.4);
    Shot(s, 0, 0.08, 160);
    return s;
}

Sound ClawSwing() {
    Sound s(0.35);
    s.Add(Noise{.length = 0.35, .filter = Filter::Band, .from = 500, .to = 3200, .q = 2, .env = {0.16, 0.09}});
    s.Add(Tone{.start = 0.07,
               .length = 0.2,
               .from = 2600,
               .to = 1900,
               .wave = Wave::Triangle,
               .gain = 0.12,
               .env = {0.01, 0.06}});
    return s;
}

Sound RocketLaunch() {
    Sound s(0.55);
    s.Add(Tone{.length = 0.25, .from = 120, .to = 45, .gain = 0.8, .env = {0.001, 0.08}});
    s.Add(Noise{.length = 0.55, .from = 4000, .to = 600, .q = 0.9, .env = {0.01, 0.22}});
    s.Add(Noise{
        .length = 0.55, .filter = Filter::Band, .from = 1200, .to = 500, .q = 3, .gain = 0.5, .env = {0.03, 0.2}});
    return s;
}

Sound MachineGun() {
    Sound s(0.45);
    for (int i = 0; i < 4; ++i) Shot(s, 0.08 * i, i == 3 ? 0.06 : 0.025, 200 - 12 * i);
    return s;
}

Sound MissileHiss() {
    Sound s(0.55);
    s.Add(Tone{.length = 0.1, .from = 150, .to = 60, .gain = 0.5, .env = {0.001, 0.03}});
    s.Add(Noise{.length = 0.55, .filter = Filter::High, .from = 2000, .to = 5000, .q = 0.8, .env = {0.04, 0.3}});
    s.Add(Noise{
        .length = 0.55, .filter = Filter::Band, .from = 3000, .to = 6000, .q = 4, .gain = 0.3, .env = {0.04, 0.3}});
    s.Add(Tone{.length = 0.55, .from = 700, .to = 1400, .gain = 0.1, .env = {0.05, 0.2}});
    return s;
}

// Hits from light to heavy: lower thumps, darker noise and longer tails as they grow.
Sound Hit(int weight) {
    const double length = 0.2 + 0.07 * weight;
    Sound s(length);
    s.Add(Noise{.length = 0.04, .filter = Filter::High, .from = 3500, .to = 2500, .gain = 0.5, .env = {0.0005, 0.008}});
    s.Add(Noise{.length = length,
                .from = 3000.0 / weight,
                .to = 900.0 / (weight * weight),
                .q = 0.9,
                .env = {0.001, 0.03 * weight},
                .crackle = weight == 4 ? 0.5 : 0});
    s.Add(Tone{
        .length = length, .from = 440.0 / weight, .to = 150.0 / weight, .gain = 0.9, .env = {0.001, 0.035 * weight}});
    if (weight == 2) {  // the metal ring of a mid-weight blow
        s.Add(Tone{.length = length, .from = 1230, .to = 1220, .gain = 0.15, .env = {0.001, 0.1}});
        s.Add(Tone{.length = length, .from = 1870, .to = 1860, .gain = 0.1, .env = {0.001, 0.07}});
    }
    return s;
}

Sound Beam() {
    Sound s(0.4);
    s.Add(Tone{.length = 0.4,
               .from = 1800,
               .to = 420,
               .wave = Wave::Saw,
               .gain = 0.6,
               .env = {0.004, 0.2},
               .harmonics = 8,
               .vibratoHz = 35,
               .vibratoDepth = 0.05});
    s.Add(Tone{.length = 0.4, .from = 3600, .to = 840, .gain = 0.25, .env = {0.004, 0.15}});
    s.Add(Noise{
        .length = 0.1, .filter = Filter::Band, .from = 4000, .to = 3000, .q = 2, .gain = 0.2, .env = {0.001, 0.03}});
    return s;
}

Sound Acid() {
    Sound s(0.55);
    s.Add(Noise{.length = 0.55, .filter = Filter::High, .from = 3500, .to = 2500, .env = {0.02, 0.3}, .crackle = 0.9});
    for (int i = 0; i < 4; ++i)  // bubbles
        s.Add(Tone{.start = 0.05 + 0.1 * i,
                   .length = 0.05,
                   .from = 300.0 + 70 * i,
                   .to = 700.0 + 90 * i,
                   .gain = 0.25,
                   .env = {0.005, 0.03}});
    return s;
}

Sound SelectBlip() {
    Sound s(0.1);
    s.Add(Chip(0, 0.045, 88, 0.05));
    s.Add(Chip(0.045, 0.055, 93, 0.03));
    return s;
}

// Title voice: a rising arpeggio over an upward sweep, landing on a shimmering chord.
Sound BeginJingle() {
    Sound s(1.05);
    s.Add(Tone{.length = 0.36, .from = 200, .to = 800, .wave = Wave::Triangle, .gain = 0.15, .env = {0.05, 0}});
    const int arpeggio[] = {72, 76, 79, 84};
    for (int i = 0; i < 4; ++i) s.Add(Chip(0.09 * i, 0.25, arpeggio[i], 0.12));
    for (int note : {84, 88, 91}) {
        Tone t = Chip(0.36, 0.69, note, 0.3, 0.35);
        t.vibratoHz = 6;
        t.vibratoDepth = 0.008;
        s.Add(t);
        s.Add(Tone{.start = 0.36,
                   .length = 0.69,
                   .from = MidiHz(note + 12),
                   .to = MidiHz(note + 12),
                   .gain = 0.12,
                   .env = {0.01, 0.25}});
    }
    return s;
}

// Knock-out: a heavy thump and a falling line that settles low.
Sound BeatJingle() {
    Sound s(0.95);
    s.Add(Tone{.length = 0.4, .from = 110, .to = 40, .gain = 0.9, .env = {0.001, 0.12}});
    s.Add(Noise{.length = 0.3, .from = 2000, .to = 200, .gain = 0.6, .env = {0.001, 0.08}});
    const int line[] = {79, 76, 72};
    for (int i = 0; i < 3; ++i) s.Add(Chip(0.12 + 0.12 * i, 0.2, line[i], 0.1));
    for (int note : {67, 72}) s.Add(Brass(0.48, 0.47, note));
    return s;
}

// Fight start: three short calls and a long chord, with a drum hit on the chord.
Sound StartFanfare() {
    Sound s(1.1);
    for (int i = 0; i < 3; ++i) s.Add(Brass(0.14 * i, 0.11, 67));
    for (int note : {72, 76, 79}) s.Add(Brass(0.42, 0.68, note));
    s.Add(Tone{.start = 0.42, .length = 0.3, .from = 120, .to = 50, .gain = 0.7, .env = {0.001, 0.08}});
    s.Add(Noise{.start = 0.42,
                .length = 0.6,
                .filter = Filter::High,
                .from = 5000,
                .to = 4000,
                .gain = 0.25,
                .env = {0.001, 0.2}});
    return s;
}

// Fight end: a two-note lead-in resolving to a full chord with a cymbal.
Sound FinishJingle() {
    Sound s(1.2);
    s.Add(Brass(0, 0.14, 76));
    s.Add(Brass(0.15, 0.14, 74));
    for (int note : {72, 76, 79, 84}) s.Add(Brass(0.3, 0.9, note, 0.4));
    s.Add(Noise{.start = 0.3,
                .length = 0.9,
                .filter = Filter::High,
                .from = 6000,
                .to = 4000,
                .gain = 0.3,
                .env = {0.001, 0.3}});
    return s;
}

}  // namespace

void MakeSounds(const fs::path& resourceDir) {
    const struct {
        const char* name;
        Sound (*make)();
    } effects[] = {
        {"ATTACK1", RifleCrack},
        {"ATTACK2", ClawSwing},
        {"ATTACK3", RocketLaunch},
        {"ATTACK4", MachineGun},
        {"ATTACK5", MissileHiss},
        {"HITTED1", [] { return Hit(1); }},
        {"HITTED2", [] { return Hit(2); }},
        {"HITTED3", [] { return Hit(3); }},
        {"HITTED4", [] { return Hit(4); }},
        {"BEAM", Beam},
        {"ACID", Acid},
        {"S_BEGIN", BeginJingle},
        {"S_SELECT", SelectBlip},
        {"S_BEAT", BeatJingle},
        {"S_START", StartFanfare},
        {"S_FINISH", FinishJingle},
    };
    for (const auto& e : effects) WriteFile(resourceDir / (std::string(e.name) + ".wav"), e.make().WaveFile());
}

}  // namespace assetgen
