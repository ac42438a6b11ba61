// Pictures as the media tools build them: RGBA pixels, top row first, plus the files they become.
// Depends on libpng (PNG reading and writing) only. Owns no state.
// The writers produce exactly what the game's loaders read: 8-bit RGBA PNG, 24-bit BMP.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Rgba& o) const { return !(*this == o); }
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    Image() = default;
    Image(int w, int h, Rgba fill = Rgba{}) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgba& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgba& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// Copies the opaque pixels of `source` (alpha above 0) onto `target` at (x, y), scaled by a whole factor.
void DrawImage(Image& target, const Image& source, int x, int y, int scale = 1);
void FillRect(Image& target, int x, int y, int w, int h, Rgba colour);

// On failure these return false and put one line saying what went wrong into `error`.
bool WritePng(const std::string& path, const Image& image, std::string& error);
bool ReadPng(const std::string& path, Image& image, std::string& error);
// 24-bit uncompressed BMP with a 40-byte info header; transparent pixels become black,
// the colour the font loader keys out.
bool WriteBmp(const std::string& path, const Image& image, std::string& error);
