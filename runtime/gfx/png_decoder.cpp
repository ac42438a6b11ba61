// The PNG decoder through libpng: 8-bit grey, RGB and RGBA after expanding palettes, small grey
// depths and transparency chunks and stripping 16-bit channels. Anything else is refused with
// two lines on standard output.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "gfx/picture.h"

namespace {

// The largest side the sprite slots can describe; libpng refuses bigger headers.
constexpr png_uint_32 kLargestSide = 16384;

struct PngReadGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReadGuard() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void ReadFromFile(png_structp png, png_bytep data, png_size_t length) {
    auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (std::fread(data, 1, length, file) != length) png_error(png, "file ends early");
}

// Damaged files fail quietly through the long jump; only the refusals below are reported.
void QuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void QuietWarning(png_structp, png_const_charp) {}

void RequestTransformations(png_structp png, png_infop info) {
    int colourType = png_get_color_type(png, info);
    int bitDepth = png_get_bit_depth(png, info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (bitDepth == 16) png_set_strip_16(png);
    if (bitDepth < 8) png_set_packing(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

bool IsAcceptedLayout(png_structp png, png_infop info, const std::string& fileName) {
    int bitDepth = png_get_bit_depth(png, info);
    if (bitDepth != 8) {
        std::printf("File %s has bit depth %d.\nOnly bit depth of 8 is supported.\n", fileName.c_str(), bitDepth);
        std::fflush(stdout);
        return false;
    }
    int colourType = png_get_color_type(png, info);
    if (colourType != PNG_COLOR_TYPE_GRAY && colourType != PNG_COLOR_TYPE_RGB &&
        colourType != PNG_COLOR_TYPE_RGB_ALPHA) {
        std::printf("File %s has unsupported color type.\nTypes GRAY, RGB and RGB_ALPHA are supported.\n",
                    fileName.c_str());
        std::fflush(stdout);
        return false;
    }
    return png_get_image_width(png, info) > 0;
}

void ConvertToRgba(const std::vector<uint8_t>& rows, int channels, uint32_t colourKey, Picture& out) {
    size_t pixels = static_cast<size_t>(out.width) * out.height;
    out.rgba.resize(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* in = &rows[i * channels];
        uint8_t* px = &out.rgba[i * 4];
        if (channels == 4) {
            px[0] = in[0], px[1] = in[1], px[2] = in[2], px[3] = in[3];
        } else if (channels == 3) {
            uint32_t colour = in[0] | in[1] << 8 | static_cast<uint32_t>(in[2]) << 16;
            bool keyed = colourKey != 0xFFFFFFFF && colour == colourKey;
            px[0] = keyed ? 0 : in[0], px[1] = keyed ? 0 : in[1], px[2] = keyed ? 0 : in[2];
            px[3] = keyed ? 0 : 255;
        } else {
            px[0] = px[1] = px[2] = in[0];
            px[3] = 255;
        }
    }
}

// No object with a destructor may be created here: the long jump would skip it.
bool ReadPng(PngReadGuard& guard, std::FILE* file, const std::string& fileName, uint32_t colourKey,
             std::vector<uint8_t>& rows, std::vector<png_bytep>& rowPointers, Picture& out) {
    png_structp png = guard.png;
    png_infop info = guard.info;
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, file, ReadFromFile);
    png_set_user_limits(png, kLargestSide, kLargestSide);
    png_read_info(png, info);
    RequestTransformations(png, info);
    if (!IsAcceptedLayout(png, info, fileName)) return false;
    out.width = static_cast<int>(png_get_image_width(png, info));
    out.height = static_cast<int>(png_get_image_height(png, info));
    int channels = png_get_channels(png, info);
    size_t rowBytes = png_get_rowbytes(png, info);
    rows.resize(rowBytes * out.height);
    rowPointers.resize(out.height);
    for (int y = 0; y < out.height; ++y) rowPointers[y] = &rows[y * rowBytes];
    png_read_image(png, rowPointers.data());
    ConvertToRgba(rows, channels, colourKey, out);
    return true;
}

}  // namespace

bool DecodePngFile(const std::string& fileName, uint32_t colourKey, Picture& out) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
    if (!file) return false;
    png_byte signature[8];
    if (std::fread(signature, 1, 8, file.get()) != 8 || png_sig_cmp(signature, 0, 8) != 0) return false;
    PngReadGuard guard;
    guard.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
    if (!guard.png) return false;
    guard.info = png_create_info_struct(guard.png);
    if (!guard.info) return false;
    png_set_sig_bytes(guard.png, 8);
    std::vector<uint8_t> rows;
    std::vector<png_bytep> rowPointers;
    Picture picture;
    if (!ReadPng(guard, file.get(), fileName, colourKey, rows, rowPointers, picture)) return false;
    out = std::move(picture);
    return true;
}
