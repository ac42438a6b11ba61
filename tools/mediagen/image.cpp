#include "image.h"

#include <png.h>

#include <cstdio>
#include <cstring>

void DrawImage(Image& target, const Image& source, int x, int y, int scale) {
    for (int sy = 0; sy < source.height; ++sy) {
        for (int sx = 0; sx < source.width; ++sx) {
            const Rgba& pixel = source.at(sx, sy);
            if (pixel.a == 0) continue;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx) {
                    int tx = x + sx * scale + dx, ty = y + sy * scale + dy;
                    if (target.contains(tx, ty)) target.at(tx, ty) = pixel;
                }
        }
    }
}

void FillRect(Image& target, int x, int y, int w, int h, Rgba colour) {
    for (int ty = y; ty < y + h; ++ty)
        for (int tx = x; tx < x + w; ++tx)
            if (target.contains(tx, ty)) target.at(tx, ty) = colour;
}

bool WritePng(const std::string& path, const Image& image, std::string& error) {
    if (image.width <= 0 || image.height <= 0) {
        error = "cannot write " + path + ": the picture is empty";
        return false;
    }
    png_image info;
    std::memset(&info, 0, sizeof info);
    info.version = PNG_IMAGE_VERSION;
    info.width = png_uint_32(image.width);
    info.height = png_uint_32(image.height);
    info.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&info, path.c_str(), 0, image.pixels.data(), 0, nullptr)) {
        error = "cannot write " + path + ": " + info.message;
        png_image_free(&info);
        return false;
    }
    return true;
}

bool ReadPng(const std::string& path, Image& image, std::string& error) {
    png_image info;
    std::memset(&info, 0, sizeof info);
    info.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&info, path.c_str())) {
        error = "cannot read " + path + ": " + info.message;
        return false;
    }
    info.format = PNG_FORMAT_RGBA;
    Image decoded(int(info.width), int(info.height));
    if (!png_image_finish_read(&info, nullptr, decoded.pixels.data(), 0, nullptr)) {
        error = "cannot decode " + path + ": " + info.message;
        png_image_free(&info);
        return false;
    }
    image = std::move(decoded);
    return true;
}

namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

}  // namespace

bool WriteBmp(const std::string& path, const Image& image, std::string& error) {
    const uint32_t stride = (uint32_t(image.width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = stride * uint32_t(image.height);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutLe(out, 54 + pixelBytes, 4);
    PutLe(out, 0, 4);   // two reserved words
    PutLe(out, 54, 4);  // pixel data right behind the headers: no palette
    PutLe(out, 40, 4);
    PutLe(out, uint32_t(image.width), 4);
    PutLe(out, uint32_t(image.height), 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);  // uncompressed
    PutLe(out, pixelBytes, 4);
    PutLe(out, 2835, 4);  // 72 dpi, both ways
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int y = image.height - 1; y >= 0; --y) {  // rows are stored bottom-up
        size_t rowStart = out.size();
        for (int x = 0; x < image.width; ++x) {
            Rgba p = image.at(x, y);
            if (p.a == 0) p = Rgba{0, 0, 0, 0};
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        out.resize(rowStart + stride, 0);
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot create " + path;
        return false;
    }
    bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    written = std::fclose(file) == 0 && written;
    if (!written) error = "cannot write " + path + " (disk full?)";
    return written;
}
