// Builds WAV images for the sound tests: the common 44-byte layout, with optional extra format
// bytes and chunks before "data".
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct WavImageSpec {
    int channels = 1;
    int sampleRate = 22050;
    int bitsPerSample = 16;
    int blockAlign = -1;          // -1: channels * bits / 8
    uint32_t formatSize = 16;     // the format chunk's size field
    size_t extraFormatBytes = 0;  // bytes between the 16 format bytes and the next chunk
    std::vector<std::pair<std::string, std::vector<uint8_t>>> chunksBeforeData;
    uint32_t dataSizeField = 0xFFFFFFFF;  // 0xFFFFFFFF: the real size
};

inline void AppendU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void AppendU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void AppendTag(std::vector<uint8_t>& out, const std::string& tag) { out.insert(out.end(), tag.begin(), tag.end()); }

inline std::vector<uint8_t> WavImage(const WavImageSpec& spec, const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> out;
    AppendTag(out, "RIFF");
    AppendU32(out, 0);  // not checked by the reader
    AppendTag(out, "WAVE");
    AppendTag(out, "fmt ");
    AppendU32(out, spec.formatSize);
    AppendU16(out, 1);
    AppendU16(out, static_cast<uint16_t>(spec.channels));
    AppendU32(out, static_cast<uint32_t>(spec.sampleRate));
    const int blockAlign = spec.blockAlign >= 0 ? spec.blockAlign : spec.channels * spec.bitsPerSample / 8;
    AppendU32(out, static_cast<uint32_t>(spec.sampleRate * blockAlign));
    AppendU16(out, static_cast<uint16_t>(blockAlign));
    AppendU16(out, static_cast<uint16_t>(spec.bitsPerSample));
    out.insert(out.end(), spec.extraFormatBytes, 0);
    for (const auto& chunk : spec.chunksBeforeData) {
        AppendTag(out, chunk.first);
        AppendU32(out, static_cast<uint32_t>(chunk.second.size()));
        out.insert(out.end(), chunk.second.begin(), chunk.second.end());
    }
    AppendTag(out, "data");
    AppendU32(out, spec.dataSizeField == 0xFFFFFFFF ? static_cast<uint32_t>(samples.size()) : spec.dataSizeField);
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

inline std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    for (int16_t s : samples) AppendU16(out, static_cast<uint16_t>(s));
    return out;
}
