#include "picture_files.h"

#include <png.h>

#include <cstdio>
#include <stdexcept>

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(value & 0xFF);
    out.push_back(value >> 8 & 0xFF);
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

std::vector<uint8_t> PackRow(const BmpSpec& spec, int row) {
    size_t rowBytes = (static_cast<size_t>(spec.width) * spec.bitCount + 7) / 8;
    std::vector<uint8_t> out((rowBytes + 3) / 4 * 4, 0);
    for (int x = 0; x < spec.width; ++x) {
        uint32_t value = spec.pixels[static_cast<size_t>(row) * spec.width + x];
        switch (spec.bitCount) {
        case 1: out[x / 8] |= (value & 1) << (7 - x % 8); break;
        case 4: out[x / 2] |= (value & 0xF) << (x % 2 == 0 ? 4 : 0); break;
        case 8: out[x] = value & 0xFF; break;
        default: {
            size_t at = static_cast<size_t>(x) * (spec.bitCount / 8);
            out[at] = value & 0xFF;
            out[at + 1] = value >> 8 & 0xFF;
            out[at + 2] = value >> 16 & 0xFF;
            if (spec.bitCount == 32) out[at + 3] = 0x5A;  // ignored by the decoder
        }
        }
    }
    return out;
}

}  // namespace

std::vector<uint8_t> BmpBytes(const BmpSpec& spec) {
    std::vector<uint8_t> header;
    uint32_t headerSize = spec.coreHeader ? 12 : 40;
    uint32_t entrySize = spec.coreHeader ? 3 : 4;
    uint32_t pixelOffset = 14 + headerSize + static_cast<uint32_t>(spec.palette.size()) * entrySize;
    int rows = spec.height < 0 ? -spec.height : spec.height;
    header.push_back('B');
    header.push_back('M');
    PutU32(header, 0);  // file size, unused
    PutU32(header, 0);
    PutU32(header, pixelOffset);
    PutU32(header, headerSize);
    if (spec.coreHeader) {
        PutU16(header, spec.width);
        PutU16(header, spec.height);
        PutU16(header, 1);
        PutU16(header, spec.bitCount);
    } else {
        PutU32(header, spec.width);
        PutU32(header, static_cast<uint32_t>(spec.height));
        PutU16(header, 1);
        PutU16(header, spec.bitCount);
        for (int i = 0; i < 6; ++i) PutU32(header, 0);
    }
    for (uint32_t colour : spec.palette) {
        header.push_back(colour & 0xFF);
        header.push_back(colour >> 8 & 0xFF);
        header.push_back(colour >> 16 & 0xFF);
        if (!spec.coreHeader) header.push_back(0);
    }
    for (int i = 0; i < rows; ++i) {
        int pictureRow = spec.height < 0 ? i : rows - 1 - i;
        std::vector<uint8_t> packed = PackRow(spec, pictureRow);
        header.insert(header.end(), packed.begin(), packed.end());
    }
    return header;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

PngSpec SimplePng(int width, int height, int colourType, int bitDepth, std::vector<uint8_t> rowBytes) {
    PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.colourType = colourType;
    spec.bitDepth = bitDepth;
    spec.rowBytes = std::move(rowBytes);
    return spec;
}

void WritePng(const std::string& path, const PngSpec& spec) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (uint32_t colour : spec.palette) {
        palette.push_back(png_color{static_cast<png_byte>(colour >> 16), static_cast<png_byte>(colour >> 8),
                                    static_cast<png_byte>(colour)});
    }
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!spec.transparency.empty()) {
        png_set_tRNS(png, info, spec.transparency.data(), static_cast<int>(spec.transparency.size()), nullptr);
    }
    if (spec.transparentGrey >= 0) {
        png_color_16 grey{};
        grey.gray = static_cast<png_uint_16>(spec.transparentGrey);
        png_set_tRNS(png, info, nullptr, 0, &grey);
    }
    png_write_info(png, info);
    size_t rowBytes = spec.rowBytes.size() / spec.height;
    for (int y = 0; y < spec.height; ++y) {
        png_write_row(png, const_cast<png_bytep>(&spec.rowBytes[y * rowBytes]));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

uint32_t PixelAt(const std::vector<uint8_t>& rgba, int width, int x, int y) {
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return Rgba(p[0], p[1], p[2], p[3]);
}
