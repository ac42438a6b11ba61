// 16-bit PCM WAV files in the one layout the game's sound loader reads: a 12-byte RIFF header,
// a "fmt " chunk of exactly 16 bytes, and the "data" chunk right behind it (no "LIST", no "fact").
// Depends on nothing. Owns no state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr int kWavHeaderBytes = 44;

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, int sampleRate, int channels = 1);
bool WriteWav(const std::string& path, const std::vector<int16_t>& samples, int sampleRate,
              std::string& error);
