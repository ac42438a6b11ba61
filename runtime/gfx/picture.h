// Decoded pictures and the texture layout built from them: the BMP decoder, the PNG decoder
// (libpng), power-of-two padding with flipped rows, and the edge colour fill.
// Pure functions without global state; depends on nothing but libpng.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Rows top first, 4 bytes per pixel (R, G, B, A).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

// Texture pixels: rows bottom-up, the picture in the first width x height texels, the rest clear.
struct TextureImage {
    int texWidth = 0;
    int texHeight = 0;
    std::vector<uint8_t> rgba;
};

// colourKey: 0xBBGGRR value whose pixels become fully transparent, or 0xFFFFFFFF for none.
bool DecodeBmp(const std::vector<uint8_t>& file, uint32_t colourKey, Picture& out);
// Refusals are reported on stdout as two lines naming `fileName`.
bool DecodePngFile(const std::string& fileName, uint32_t colourKey, Picture& out);
// BMP first, then PNG.
bool DecodePictureFile(const std::string& path, uint32_t colourKey, Picture& out);

int PowerOfTwoFrom2(int size);
// maxSize clamps the picture (the driver's largest texture).
TextureImage BuildTextureImage(const Picture& picture, int maxSize);
void FillTransparentEdges(TextureImage& image);
