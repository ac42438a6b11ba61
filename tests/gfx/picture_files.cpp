#include "picture_files.h"

namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(value >> (8 * i) & 0xFF);
}

std::vector<uint8_t> PackRow(const BmpLayout& layout, int row) {
    size_t rowBytes = (static_cast<size_t>(layout.width) * layout.bitCount + 7) / 8;
    std::vector<uint8_t> out((rowBytes + 3) / 4 * 4, 0);
    for (int x = 0; x < layout.width; ++x) {
        uint32_t value = layout.pixels[static_cast<size_t>(row) * layout.width + x];
        switch (layout.bitCount) {
        case 1: out[x / 8] |= (value & 1) << (7 - x % 8); break;
        case 4: out[x / 2] |= (value & 0xF) << (x % 2 == 0 ? 4 : 0); break;
        case 8: out[x] = value & 0xFF; break;
        default: {
            size_t at = static_cast<size_t>(x) * (layout.bitCount / 8);
            for (int i = 0; i < 3; ++i) out[at + i] = value >> (8 * i) & 0xFF;
            if (layout.bitCount == 32) out[at + 3] = 0x5A;  // ignored by the decoder
        }
        }
    }
    return out;
}

}  // namespace

std::vector<uint8_t> BmpBytes(const BmpLayout& layout) {
    const int fieldBytes = layout.coreHeader ? 2 : 4, entryBytes = layout.coreHeader ? 3 : 4;
    const uint32_t headerSize = layout.coreHeader ? 12 : 40;
    std::vector<uint8_t> out = {'B', 'M'};
    Put(out, 0, 4);  // file size, unused
    Put(out, 0, 4);
    Put(out, 14 + headerSize + static_cast<uint32_t>(layout.palette.size()) * entryBytes, 4);
    Put(out, headerSize, 4);
    Put(out, layout.width, fieldBytes);
    Put(out, static_cast<uint32_t>(layout.height), fieldBytes);
    Put(out, 1, 2);
    Put(out, layout.bitCount, 2);
    if (!layout.coreHeader) out.resize(out.size() + 24, 0);
    for (uint32_t colour : layout.palette) Put(out, colour, entryBytes);  // blue first, then green, red
    const int rows = layout.height < 0 ? -layout.height : layout.height;
    for (int i = 0; i < rows; ++i) {
        std::vector<uint8_t> packed = PackRow(layout, layout.height < 0 ? i : rows - 1 - i);
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}

std::vector<uint8_t> SolidBmp(int width, int height, uint32_t colour) {
    return BmpBytes({width, height, 24, false, {}, std::vector<uint32_t>(static_cast<size_t>(width) * height, colour)});
}

uint32_t PixelAt(const std::vector<uint8_t>& rgba, int width, int x, int y) {
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return Rgba(p[0], p[1], p[2], p[3]);
}

std::vector<uint32_t> PixelsOf(const Picture& picture) {
    std::vector<uint32_t> out;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) out.push_back(PixelAt(picture.rgba, picture.width, x, y));
    return out;
}
