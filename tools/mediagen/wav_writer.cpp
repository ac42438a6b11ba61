#include "wav_writer.h"

#include <cstdio>

namespace {

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, int sampleRate, int channels) {
    const uint32_t blockAlign = uint32_t(channels) * 2;
    const uint32_t dataBytes = uint32_t(samples.size()) * 2;
    std::vector<uint8_t> out;
    out.reserve(kWavHeaderBytes + dataBytes);
    PutTag(out, "RIFF");
    PutLe(out, 36 + dataBytes, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, uint32_t(channels), 2);
    PutLe(out, uint32_t(sampleRate), 4);
    PutLe(out, uint32_t(sampleRate) * blockAlign, 4);
    PutLe(out, blockAlign, 2);
    PutLe(out, 16, 2);
    PutTag(out, "data");
    PutLe(out, dataBytes, 4);
    for (int16_t sample : samples) PutLe(out, uint16_t(sample), 2);
    return out;
}

bool WriteWav(const std::string& path, const std::vector<int16_t>& samples, int sampleRate,
              std::string& error) {
    std::vector<uint8_t> bytes = EncodeWav(samples, sampleRate);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot create " + path;
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fclose(file) == 0 && written;
    if (!written) error = "cannot write " + path + " (disk full?)";
    return written;
}
