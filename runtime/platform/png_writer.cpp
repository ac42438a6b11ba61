// PNG writing with libpng; errors come back through longjmp into WriteRows.
#include "platform/png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct PngTarget {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string failure = "out of memory";
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* target = static_cast<PngTarget*>(png_get_error_ptr(png));
    target->failure = message ? message : "libpng error";
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

std::vector<unsigned char> OpaqueRows(const unsigned char* rgba, int width, int height) {
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t pixel = 0; pixel < static_cast<size_t>(width) * height; ++pixel)
        std::memcpy(&rgb[pixel * 3], &rgba[pixel * 4], 3);
    return rgb;
}

// Kept free of C++ objects with destructors: longjmp skips them.
bool WriteRows(PngTarget& target, FILE* file, unsigned char* rgb, int width, int height) {
    if (setjmp(png_jmpbuf(target.png))) return false;
    png_init_io(target.png, file);
    png_set_IHDR(target.png, target.info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(target.png, target.info);
    for (int row = 0; row < height; ++row) png_write_row(target.png, rgb + static_cast<size_t>(row) * width * 3);
    png_write_end(target.png, nullptr);
    return true;
}

bool Fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

}  // namespace

bool WritePngFile(const std::string& path, const unsigned char* rgba, int width, int height,
                  std::string* error) {
    if (!rgba || width <= 0 || height <= 0) return Fail(error, "no picture to save");
    std::vector<unsigned char> rgb = OpaqueRows(rgba, width, height);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return Fail(error, "cannot create " + path + " (" + std::strerror(errno) + ")");

    PngTarget target;
    target.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &target, OnPngError, OnPngWarning);
    if (target.png) target.info = png_create_info_struct(target.png);
    bool written = target.info && WriteRows(target, file, rgb.data(), width, height);
    png_destroy_write_struct(&target.png, &target.info);

    bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    std::remove(path.c_str());
    if (!written) return Fail(error, "cannot write " + path + " (" + target.failure + ")");
    return Fail(error, "cannot write " + path + " (" + std::strerror(errno) + ")");
}
