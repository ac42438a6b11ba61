// Builds WAV images for the sound tests: the common 44-byte layout, with optional extra format
// bytes and chunks before "data".
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct WavLayout {
    explicit WavLayout(int channelCount = 1, int bits = 16, int rate = 22050)
        : channels(channelCount), sampleRate(rate), bitsPerSample(bits) {}
    int channels, sampleRate, bitsPerSample;
    int blockAlign = -1;          // -1: channels * bits / 8
    uint32_t formatSize = 16;     // the format chunk's size field
    size_t extraFormatBytes = 0;  // bytes between the 16 format bytes and the next chunk
    std::vector<std::pair<std::string, std::vector<uint8_t>>> chunksBeforeData;
    uint32_t dataSizeField = 0xFFFFFFFF;  // 0xFFFFFFFF: the real size
};

inline void AppendLittleEndian(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void AppendTag(std::vector<uint8_t>& out, const std::string& tag) { out.insert(out.end(), tag.begin(), tag.end()); }

inline std::vector<uint8_t> WavImage(const WavLayout& layout, const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> out;
    const int blockAlign = layout.blockAlign >= 0 ? layout.blockAlign : layout.channels * layout.bitsPerSample / 8;
    AppendTag(out, "RIFF");
    AppendLittleEndian(out, 0, 4);  // not checked by the reader
    AppendTag(out, "WAVEfmt ");
    AppendLittleEndian(out, layout.formatSize, 4);
    AppendLittleEndian(out, 1, 2);
    AppendLittleEndian(out, layout.channels, 2);
    AppendLittleEndian(out, layout.sampleRate, 4);
    AppendLittleEndian(out, layout.sampleRate * blockAlign, 4);
    AppendLittleEndian(out, blockAlign, 2);
    AppendLittleEndian(out, layout.bitsPerSample, 2);
    out.insert(out.end(), layout.extraFormatBytes, 0);
    for (const auto& chunk : layout.chunksBeforeData) {
        AppendTag(out, chunk.first);
        AppendLittleEndian(out, static_cast<uint32_t>(chunk.second.size()), 4);
        out.insert(out.end(), chunk.second.begin(), chunk.second.end());
    }
    AppendTag(out, "data");
    AppendLittleEndian(out, layout.dataSizeField == 0xFFFFFFFF ? samples.size() : layout.dataSizeField, 4);
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

inline std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    for (int16_t s : samples) AppendLittleEndian(out, static_cast<uint16_t>(s), 2);
    return out;
}
