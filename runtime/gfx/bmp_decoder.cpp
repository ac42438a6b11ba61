// The BMP decoder: uncompressed 1, 4, 8, 24 and 32-bit pictures with the 12 or 40-byte header.
// Every size and index from the file is checked before use: a damaged file is refused, never
// read past its end.
#include <cstdlib>

#include "gfx/picture.h"

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kCoreHeaderSize = 12;
constexpr int kInfoHeaderSize = 40;
constexpr uint32_t kNoPaletteOffset = kFileHeaderSize + kInfoHeaderSize;
// Slot fields hold picture sizes as signed 16-bit numbers.
constexpr int64_t kLargestSide = 32767;

// Little-endian reads that fail instead of running past the end.
class ByteReader {
public:
    explicit ByteReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    bool Has(uint64_t count) const { return count <= bytes_.size() - pos_; }
    bool U16(uint32_t& out) { return Read(2, out); }
    bool U32(uint32_t& out) { return Read(4, out); }
    bool Skip(uint64_t count) {
        if (!Has(count)) return false;
        pos_ += count;
        return true;
    }
    size_t pos() const { return pos_; }
    const uint8_t* at(size_t offset) const { return bytes_.data() + offset; }

private:
    bool Read(int count, uint32_t& out) {
        if (!Has(count)) return false;
        out = 0;
        for (int i = count - 1; i >= 0; --i) out = out << 8 | bytes_[pos_ + i];
        pos_ += count;
        return true;
    }
    const std::vector<uint8_t>& bytes_;
    size_t pos_ = 0;
};

struct BmpLayout {
    int64_t width = 0;
    int64_t height = 0;      // absolute
    bool topDown = false;    // a negative height in the 40-byte header
    uint32_t bitCount = 0;
    uint32_t headerSize = 0;
    uint32_t pixelOffset = 0;
    std::vector<uint8_t> paletteBgr;  // 3 bytes per entry
};

bool ReadHeaders(ByteReader& reader, BmpLayout& bmp) {
    uint32_t magic, fileSize, reserved, planes;
    if (!reader.U16(magic) || magic != ('B' | 'M' << 8)) return false;
    if (!reader.U32(fileSize) || !reader.U32(reserved) || !reader.U32(bmp.pixelOffset)) return false;
    if (!reader.U32(bmp.headerSize)) return false;
    if (bmp.headerSize == kCoreHeaderSize) {
        uint32_t width, height;
        if (!reader.U16(width) || !reader.U16(height)) return false;
        bmp.width = width;
        bmp.height = height;
        return reader.U16(planes) && reader.U16(bmp.bitCount);
    }
    if (bmp.headerSize != kInfoHeaderSize) return false;
    uint32_t width, height;
    if (!reader.U32(width) || !reader.U32(height)) return false;
    if (!reader.U16(planes) || !reader.U16(bmp.bitCount)) return false;
    bmp.width = static_cast<int32_t>(width);
    int64_t signedHeight = static_cast<int32_t>(height);
    bmp.topDown = signedHeight < 0;
    bmp.height = std::llabs(signedHeight);
    // Compression, image size, resolutions and colour counts are not used.
    return reader.Skip(24);
}

// Pixel data follows the palette directly, wherever the header says it starts.
bool ReadPalette(ByteReader& reader, BmpLayout& bmp) {
    if (bmp.pixelOffset <= kNoPaletteOffset) return true;
    bool coreHeader = bmp.headerSize == kCoreHeaderSize;
    uint64_t entrySize = coreHeader ? 3 : 4;
    uint64_t entries = coreHeader ? uint64_t{1} << bmp.bitCount : (bmp.pixelOffset - kNoPaletteOffset) / 4;
    if (!reader.Has(entries * entrySize)) return false;
    if (bmp.bitCount <= 8) {
        uint64_t kept = entries < 256 ? entries : 256;
        bmp.paletteBgr.resize(kept * 3);
        for (uint64_t i = 0; i < kept; ++i) {
            const uint8_t* entry = reader.at(reader.pos() + i * entrySize);
            for (int c = 0; c < 3; ++c) bmp.paletteBgr[i * 3 + c] = entry[c];
        }
    }
    return reader.Skip(entries * entrySize);
}

bool IsSupportedBitCount(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

// The palette index of pixel x in an indexed row; -1 for true-colour rows.
int PaletteIndex(const uint8_t* row, int64_t x, uint32_t bitCount) {
    switch (bitCount) {
    case 1: return row[x / 8] >> (7 - x % 8) & 1;
    case 4: return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    case 8: return row[x];
    default: return -1;
    }
}

bool DecodeRow(const BmpLayout& bmp, const uint8_t* row, uint32_t colourKey, uint8_t* out) {
    size_t paletteEntries = bmp.paletteBgr.size() / 3;
    for (int64_t x = 0; x < bmp.width; ++x, out += 4) {
        const uint8_t* bgr;
        int index = PaletteIndex(row, x, bmp.bitCount);
        if (index >= 0) {
            if (static_cast<size_t>(index) >= paletteEntries) return false;
            bgr = &bmp.paletteBgr[index * 3];
        } else {
            bgr = row + x * (bmp.bitCount / 8);
        }
        uint32_t colour = bgr[2] | bgr[1] << 8 | static_cast<uint32_t>(bgr[0]) << 16;
        bool keyed = colourKey != 0xFFFFFFFF && colour == colourKey;
        out[0] = keyed ? 0 : bgr[2];
        out[1] = keyed ? 0 : bgr[1];
        out[2] = keyed ? 0 : bgr[0];
        out[3] = keyed ? 0 : 255;
    }
    return true;
}

}  // namespace

bool DecodeBmp(const std::vector<uint8_t>& file, uint32_t colourKey, Picture& out) {
    ByteReader reader(file);
    BmpLayout bmp;
    if (!ReadHeaders(reader, bmp) || !IsSupportedBitCount(bmp.bitCount)) return false;
    if (bmp.width < 0 || bmp.width > kLargestSide || bmp.height > kLargestSide) return false;
    if (!ReadPalette(reader, bmp)) return false;
    if (bmp.bitCount <= 8 && bmp.paletteBgr.empty()) return false;
    uint64_t rowBytes = (static_cast<uint64_t>(bmp.width) * bmp.bitCount + 7) / 8;
    uint64_t stride = (rowBytes + 3) / 4 * 4;
    if (!reader.Has(stride * static_cast<uint64_t>(bmp.height))) return false;

    Picture picture;
    picture.width = static_cast<int>(bmp.width);
    picture.height = static_cast<int>(bmp.height);
    picture.rgba.resize(static_cast<size_t>(bmp.width * bmp.height * 4));
    for (int64_t y = 0; y < bmp.height; ++y) {
        int64_t fileRow = bmp.topDown ? y : bmp.height - 1 - y;
        const uint8_t* row = reader.at(reader.pos() + fileRow * stride);
        if (!DecodeRow(bmp, row, colourKey, &picture.rgba[y * bmp.width * 4])) return false;
    }
    out = std::move(picture);
    return true;
}
