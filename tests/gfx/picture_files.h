// Test helpers that write picture files byte by byte: BMPs of every depth and header size, and
// PNGs through libpng, so decoders meet exactly the layout a case needs.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct BmpSpec {
    int width = 0;
    int height = 0;  // negative: rows stored top first
    int bitCount = 24;
    bool coreHeader = false;       // the 12-byte header
    std::vector<uint32_t> palette;  // 0xRRGGBB entries
    std::vector<uint32_t> pixels;   // top row first: palette indices, or 0xRRGGBB
};

std::vector<uint8_t> BmpBytes(const BmpSpec& spec);

struct PngSpec {
    int width = 0;
    int height = 0;
    int colourType = 2;  // libpng's PNG_COLOR_TYPE_* value
    int bitDepth = 8;
    std::vector<uint8_t> rowBytes;         // packed rows, top first, as libpng takes them
    std::vector<uint32_t> palette;         // 0xRRGGBB, for palette pictures
    std::vector<uint8_t> transparency;     // tRNS: alphas of palette entries
    int transparentGrey = -1;              // tRNS of a grey picture
};

PngSpec SimplePng(int width, int height, int colourType, int bitDepth, std::vector<uint8_t> rowBytes);
void WritePng(const std::string& path, const PngSpec& spec);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// RGBA of pixel (x, y) of a picture stored top row first.
uint32_t PixelAt(const std::vector<uint8_t>& rgba, int width, int x, int y);
inline uint32_t Rgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return uint32_t{r} << 24 | uint32_t{g} << 16 | uint32_t{b} << 8 | a;
}
