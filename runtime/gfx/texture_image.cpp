// From a decoded picture to texture pixels: file reading, power-of-two padding with the rows
// turned bottom-up, and the edge colour fill that keeps linear filtering free of dark fringes.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "gfx/picture.h"

namespace {

// No picture the runtime can show comes near this; larger files are not read into memory.
constexpr long kLargestPictureFile = 256L * 1024 * 1024;

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return false;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return false;
    long size = std::ftell(file.get());
    if (size < 0 || size > kLargestPictureFile || std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
    bytes.resize(static_cast<size_t>(size));
    return std::fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

}  // namespace

bool DecodePictureFile(const std::string& path, uint32_t colourKey, Picture& out) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    if (DecodeBmp(bytes, colourKey, out)) return true;
    return DecodePngFile(path, colourKey, out);
}

int PowerOfTwoFrom2(int size) {
    int power = 2;
    while (power < size) power *= 2;
    return power;
}

TextureImage BuildTextureImage(const Picture& picture, int maxSize) {
    int width = picture.width < maxSize ? picture.width : maxSize;
    int height = picture.height < maxSize ? picture.height : maxSize;
    TextureImage image;
    image.texWidth = PowerOfTwoFrom2(width);
    image.texHeight = PowerOfTwoFrom2(height);
    image.rgba.assign(static_cast<size_t>(image.texWidth) * image.texHeight * 4, 0);
    for (int row = 0; row < height; ++row) {
        const uint8_t* from = &picture.rgba[static_cast<size_t>(row) * picture.width * 4];
        uint8_t* to = &image.rgba[static_cast<size_t>(height - 1 - row) * image.texWidth * 4];
        std::copy(from, from + width * 4, to);
    }
    return image;
}

// Each clear texel takes the mean colour of its opaque neighbours that lie inside the border.
void FillTransparentEdges(TextureImage& image) {
    int w = image.texWidth, h = image.texHeight;
    auto texel = [&](int x, int y) { return &image.rgba[(static_cast<size_t>(y) * w + x) * 4]; };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* target = texel(x, y);
            if (target[3] != 0) continue;
            int sum[3] = {0, 0, 0}, found = 0;
            for (int ny = y - 1; ny <= y + 1; ++ny) {
                for (int nx = x - 1; nx <= x + 1; ++nx) {
                    if ((nx == x && ny == y) || nx < 1 || ny < 1 || nx > w - 2 || ny > h - 2) continue;
                    const uint8_t* neighbour = texel(nx, ny);
                    if (neighbour[3] == 0) continue;
                    for (int c = 0; c < 3; ++c) sum[c] += neighbour[c];
                    ++found;
                }
            }
            for (int c = 0; c < 3; ++c) target[c] = found ? static_cast<uint8_t>(sum[c] / found) : 0;
        }
    }
}
