#include "audio/wav_reader.h"

#include <cstring>

namespace {

constexpr size_t kWavStartBytes = 36;
constexpr size_t kChunkHeaderBytes = 8;
// A format chunk longer than 16 bytes is followed by a skip of 14 bytes, not of its real excess.
constexpr size_t kLongFormatSkip = 14;
// What a sound buffer accepts: its rate range and a minimum of 4 bytes.
constexpr int kMinSampleRate = 100;
constexpr int kMaxSampleRate = 200000;
constexpr size_t kMinSampleBytes = 4;

uint16_t U16At(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32At(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct ChunkHeader {
    char id[5] = {};
    uint32_t size = 0;
};

bool ReadChunkHeader(const uint8_t* image, size_t imageSize, size_t at, ChunkHeader& header) {
    if (at > imageSize || imageSize - at < kChunkHeaderBytes) return false;
    std::memcpy(header.id, image + at, 4);
    header.size = U32At(image + at + 4);
    return true;
}

bool CheckFormat(const PcmFormat& format, int fileBlockAlign, std::string& reason) {
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16) {
        reason = "only 8- and 16-bit PCM samples are supported";
        return false;
    }
    if (fileBlockAlign != format.bytesPerFrame()) {
        reason = "block align does not match channels and sample size";
        return false;
    }
    if (format.sampleRate < kMinSampleRate || format.sampleRate > kMaxSampleRate) {
        reason = "sample rate out of range";
        return false;
    }
    return true;
}

}  // namespace

bool ReadWav(const uint8_t* image, size_t imageSize, WavSamples& out, std::string& reason) {
    if (imageSize < kWavStartBytes) {
        reason = "shorter than a WAV header";
        return false;
    }
    const uint32_t formatSize = U32At(image + 16);
    const int fileChannels = U16At(image + 22);
    const uint32_t sampleRate = U32At(image + 24);
    const int blockAlign = U16At(image + 32);
    out.format.channels = fileChannels < 2 ? 1 : 2;
    out.format.sampleRate = sampleRate > static_cast<uint32_t>(kMaxSampleRate) ? 0 : static_cast<int>(sampleRate);
    out.format.bitsPerSample = U16At(image + 34);
    if (!CheckFormat(out.format, blockAlign, reason)) return false;

    size_t at = kWavStartBytes + (formatSize != 16 ? kLongFormatSkip : 0);
    ChunkHeader chunk;
    if (!ReadChunkHeader(image, imageSize, at, chunk)) {
        reason = "no chunk after the format";
        return false;
    }
    if (std::memcmp(chunk.id, "fact", 4) == 0) {
        at += kChunkHeaderBytes + chunk.size;
        if (!ReadChunkHeader(image, imageSize, at, chunk)) {
            reason = "no chunk after \"fact\"";
            return false;
        }
    }
    if (std::memcmp(chunk.id, "data", 4) != 0) {
        reason = std::string("expected a \"data\" chunk, found \"") + chunk.id + "\"";
        return false;
    }
    at += kChunkHeaderBytes;
    if (chunk.size > imageSize - at) {
        reason = "sample data shorter than its chunk says";
        return false;
    }
    const size_t frameBytes = static_cast<size_t>(out.format.bytesPerFrame());
    out.byteCount = chunk.size - chunk.size % frameBytes;
    if (out.byteCount < kMinSampleBytes || out.byteCount > kMaxWavBytes) {
        reason = "sample data size out of range";
        return false;
    }
    out.bytes = image + at;
    return true;
}
