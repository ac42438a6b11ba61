#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

Slide ParseSlide(const ScriptLine& line, size_t index) {
    const std::string& text = line.word(index);
    size_t dots = text.find("..");
    if (dots == std::string::npos) {
        double value = ParseNumber(line, text);
        return {value, value};
    }
    return {ParseNumber(line, text.substr(0, dots)), ParseNumber(line, text.substr(dots + 2))};
}

Wave ParseWave(const ScriptLine& line, const std::string& name) {
    if (name == "sine") return Wave::Sine;
    if (name == "square") return Wave::Square;
    if (name == "triangle") return Wave::Triangle;
    if (name == "saw") return Wave::Saw;
    if (name == "noise") return Wave::Noise;
    line.fail("unknown waveform '" + name + "' (sine, square, triangle, saw, noise)");
}

void ParseEnvelope(const ScriptLine& line, Envelope& envelope) {
    for (size_t i = 1; i < line.words.size(); i += 2) {
        const std::string& key = line.word(i);
        double value = line.number_at(i + 1);
        if (value < 0) line.fail("envelope times and levels are not negative");
        if (key == "attack") envelope.attack = value;
        else if (key == "hold") envelope.hold = value;
        else if (key == "decay") envelope.decay = value;
        else if (key == "sustain") envelope.sustain = value;
        else if (key == "release") envelope.release = value;
        else line.fail("unknown envelope stage '" + key + "' (attack, hold, decay, sustain, release)");
    }
}

void ParseFilter(const ScriptLine& line, Voice& voice) {
    const std::string& kind = line.word(1);
    if (kind == "lowpass") voice.filter = FilterKind::LowPass;
    else if (kind == "highpass") voice.filter = FilterKind::HighPass;
    else if (kind == "bandpass") voice.filter = FilterKind::BandPass;
    else line.fail("unknown filter '" + kind + "' (lowpass, highpass, bandpass)");
    voice.cutoff = ParseSlide(line, 2);
    if (line.words.size() > 3) {
        if (line.word(3) != "q") line.fail("a filter takes 'q' after its cutoff");
        voice.resonance = std::max(0.3, line.number_at(4));
    }
}

void ParseNotes(const ScriptLine& line, Voice& voice) {
    size_t i = 1;
    for (; i < line.words.size() && line.words[i] != "every"; ++i) voice.notes.push_back(line.number_at(i));
    if (voice.notes.empty() || i + 1 >= line.words.size()) line.fail("use: notes SEMITONES... every SECONDS");
    voice.noteSeconds = line.number_at(i + 1);
    if (voice.noteSeconds <= 0) line.fail("notes need a positive 'every'");
}

void ParseVoiceLine(const ScriptLine& line, Voice& voice) {
    const std::string& key = line.words[0];
    if (key == "pitch") voice.pitch = ParseSlide(line, 1);
    else if (key == "start") voice.start = line.number_at(1);
    else if (key == "length") voice.length = line.number_at(1);
    else if (key == "duty") voice.duty = std::clamp(line.number_at(1), 0.05, 0.95);
    else if (key == "envelope") ParseEnvelope(line, voice.envelope);
    else if (key == "filter") ParseFilter(line, voice);
    else if (key == "vibrato") {
        voice.vibratoRate = line.number_at(1);
        voice.vibratoSemitones = line.number_at(2);
    }
    else if (key == "notes") ParseNotes(line, voice);
    else if (key == "fm") {
        voice.fmRatio = line.number_at(1);
        voice.fmIndex = line.number_at(2);
    }
    else if (key == "grit") voice.noiseHoldHz = line.number_at(1);
    else if (key == "retrigger") voice.retrigger = line.number_at(1);
    else if (key == "gain") voice.gain = line.number_at(1);
    else line.fail("unknown voice setting '" + key + "'");
    if (voice.pitch.from <= 0 || voice.pitch.to <= 0) line.fail("pitches are above 0 Hz");
    if (voice.cutoff.from <= 0 || voice.cutoff.to <= 0) line.fail("cutoffs are above 0 Hz");
}

double Interpolate(const Slide& slide, double u) {  // exponential: even steps in pitch
    return slide.from * std::pow(slide.to / slide.from, u);
}

double EnvelopeLevel(const Envelope& e, double t) {
    if (t < e.attack) return t / e.attack;
    t -= e.attack;
    if (t < e.hold || e.decay <= 0) return 1;
    return e.sustain + (1 - e.sustain) * std::exp(-5 * (t - e.hold) / e.decay);
}

double PolyBlep(double phase, double step) {  // softens the steps of square and saw: less harsh
    if (phase < step) {
        phase /= step;
        return phase + phase - phase * phase - 1;
    }
    if (phase > 1 - step) {
        phase = (phase - 1) / step;
        return phase * phase + phase + phase + 1;
    }
    return 0;
}

struct Oscillator {
    double phase = 0, modPhase = 0, held = 0, holdPhase = 1;
    uint32_t noiseState;

    explicit Oscillator(uint32_t seed) : noiseState(seed * 2654435761u + 12345u) {}

    double noise() {
        noiseState ^= noiseState << 13;
        noiseState ^= noiseState >> 17;
        noiseState ^= noiseState << 5;
        return double(noiseState) / 2147483648.0 - 1.0;
    }

    double next(const Voice& v, double frequency, double sampleRate) {
        double step = frequency / sampleRate;
        if (v.wave == Wave::Noise) {
            holdPhase += v.noiseHoldHz > 0 ? v.noiseHoldHz / sampleRate : 1;
            if (holdPhase >= 1) holdPhase -= std::floor(holdPhase), held = noise();
            return held;
        }
        double p = phase;
        if (v.fmRatio > 0) {
            modPhase = std::fmod(modPhase + step * v.fmRatio, 1.0);
            p = std::fmod(p + v.fmIndex * std::sin(2 * kPi * modPhase) / (2 * kPi) + 1.0, 1.0);
        }
        phase = std::fmod(phase + step, 1.0);
        switch (v.wave) {
            case Wave::Sine: return std::sin(2 * kPi * p);
            case Wave::Triangle: return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
            case Wave::Saw: return 2 * p - 1 - PolyBlep(p, step);
            case Wave::Square:
                return (p < v.duty ? 1.0 : -1.0) + PolyBlep(p, step) - PolyBlep(std::fmod(p + 1 - v.duty, 1.0), step);
            default: return 0;
        }
    }
};

// State-variable filter in its trapezoidal form: stable at every cutoff.
struct Filter {
    double ic1 = 0, ic2 = 0;
    double next(FilterKind kind, double input, double cutoff, double resonance, double sampleRate) {
        double g = std::tan(kPi * std::min(cutoff, 0.45 * sampleRate) / sampleRate);
        double k = 1 / resonance;
        double a1 = 1 / (1 + g * (g + k)), a2 = g * a1, a3 = g * a2;
        double v3 = input - ic2;
        double v1 = a1 * ic1 + a2 * v3;
        double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        if (kind == FilterKind::LowPass) return v2;
        if (kind == FilterKind::BandPass) return v1;
        return input - k * v1 - v2;
    }
};

double VoiceFrequency(const Voice& v, double t, double u) {
    double frequency = Interpolate(v.pitch, u);
    if (!v.notes.empty()) {
        size_t note = std::min(v.notes.size() - 1, size_t(t / v.noteSeconds));
        frequency *= std::pow(2.0, v.notes[note] / 12);
    }
    if (v.vibratoRate > 0) frequency *= std::pow(2.0, v.vibratoSemitones / 12 * std::sin(2 * kPi * v.vibratoRate * t));
    return frequency;
}

void RenderVoice(const SoundScript& script, const Voice& v, uint32_t seed, std::vector<double>& mix) {
    const double rate = script.sampleRate;
    const double length = v.length > 0 ? v.length : script.length - v.start;
    const size_t first = size_t(v.start * rate);
    const size_t count = size_t(std::max(0.0, length) * rate);
    const double edge = 0.003;  // a short ramp at the end so no voice stops with a click
    Oscillator oscillator(seed);
    Filter filter;
    for (size_t n = 0; n < count && first + n < mix.size(); ++n) {
        double t = n / rate, u = t / length;
        double sample = oscillator.next(v, VoiceFrequency(v, t, u), rate);
        if (v.filter != FilterKind::None)
            sample = filter.next(v.filter, sample, Interpolate(v.cutoff, u), v.resonance, rate);
        double envelopeTime = v.retrigger > 0 ? std::fmod(t, v.retrigger) : t;
        double level = EnvelopeLevel(v.envelope, envelopeTime);
        double left = length - t;
        if (v.envelope.release > 0 && left < v.envelope.release) level *= left / v.envelope.release;
        if (left < edge) level *= left / edge;
        mix[first + n] += sample * level * v.gain;
    }
}

double LoudestWindowRms(const std::vector<double>& samples, int sampleRate) {
    const size_t window = std::max<size_t>(1, size_t(sampleRate * 0.03));
    double loudest = 0, sum = 0;
    for (size_t n = 0; n < samples.size(); ++n) {
        sum += samples[n] * samples[n];
        if (n >= window) sum -= samples[n - window] * samples[n - window];
        loudest = std::max(loudest, sum / double(window));  // a sound shorter than a window counts as padded with silence
    }
    return std::sqrt(std::max(loudest, 0.0));
}

double SoftLimit(double x) {  // transparent below -3 dB, never past -1 dB full scale
    const double knee = 0.7, room = 0.891 - knee;
    double magnitude = std::fabs(x);
    if (magnitude <= knee) return x;
    return std::copysign(knee + room * std::tanh((magnitude - knee) / room), x);
}

}  // namespace

SoundScript ParseSound(const std::vector<ScriptLine>& lines) {
    SoundScript script;
    for (const ScriptLine& line : lines) {
        const std::string& key = line.words[0];
        if (key == "voice") {
            script.voices.emplace_back();
            script.voices.back().wave = ParseWave(line, line.word(1));
        } else if (key == "length" && script.voices.empty()) {
            script.length = line.number_at(1);
            if (script.length <= 0 || script.length > 10) line.fail("a sound lasts between 0 and 10 seconds");
        } else if (key == "loudness" && script.voices.empty()) {
            script.loudnessDb = line.number_at(1);
        } else if (key == "rate" && script.voices.empty()) {
            script.sampleRate = line.integer_at(1);
            if (script.sampleRate < 8000 || script.sampleRate > 96000) line.fail("rates lie between 8000 and 96000");
        } else if (script.voices.empty()) {
            line.fail("'" + key + "' belongs to a voice: start one with 'voice WAVEFORM' first");
        } else {
            ParseVoiceLine(line, script.voices.back());
        }
    }
    if (script.voices.empty() && !lines.empty()) lines.front().fail("a sound needs at least one voice");
    return script;
}

std::vector<int16_t> RenderSound(const SoundScript& script) {
    std::vector<double> mix(size_t(script.length * script.sampleRate), 0.0);
    for (size_t i = 0; i < script.voices.size(); ++i) RenderVoice(script, script.voices[i], uint32_t(i + 1), mix);
    double rms = LoudestWindowRms(mix, script.sampleRate);
    double gain = rms > 0 ? std::pow(10.0, script.loudnessDb / 20) / rms : 0;
    std::vector<int16_t> out(mix.size());
    for (size_t n = 0; n < mix.size(); ++n) out[n] = int16_t(std::lround(SoftLimit(mix[n] * gain) * 32767));
    return out;
}

double LoudestWindowDb(const std::vector<int16_t>& samples, int sampleRate) {
    std::vector<double> scaled(samples.begin(), samples.end());
    for (double& s : scaled) s /= 32767;
    double rms = LoudestWindowRms(scaled, sampleRate);
    return rms > 0 ? 20 * std::log10(rms) : -200;
}
