// Test helpers that write BMP files byte by byte, every depth and header size, so the decoder
// meets exactly the layout a case needs; and pixels of decoded pictures.
#pragma once
#include <cstdint>
#include <vector>

#include "gfx/picture.h"

struct BmpLayout {
    int width = 0;
    int height = 0;  // negative: rows stored top first
    int bitCount = 24;
    bool coreHeader = false;        // the 12-byte header
    std::vector<uint32_t> palette;  // 0xRRGGBB entries
    std::vector<uint32_t> pixels;   // top row first: palette indices, or 0xRRGGBB
};
std::vector<uint8_t> BmpBytes(const BmpLayout& layout);
// A 24-bit BMP of one colour.
std::vector<uint8_t> SolidBmp(int width, int height, uint32_t colour);

// RGBA of pixel (x, y) of a picture stored top row first.
uint32_t PixelAt(const std::vector<uint8_t>& rgba, int width, int x, int y);
// Every pixel of a picture, top row first, as 0xRRGGBBAA.
std::vector<uint32_t> PixelsOf(const Picture& picture);
inline uint32_t Rgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return uint32_t{r} << 24 | uint32_t{g} << 16 | uint32_t{b} << 8 | a;
}
