// Bitmap fonts: font slots in the sprite table, the built-in font and printing rows of cells.
#include "gfx/fonts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "gfx/sprite_slots.h"

namespace {

constexpr int kCellsPerRow = 16;
constexpr int kBuiltInCell = 8;
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 6;
// The text vertex buffer grows by this many quads at a time.
constexpr size_t kQuadGrowthStep = 64;

// Codes 32..127: bit gy * 5 + gx is glyph pixel (gx, gy), counted from the top-left.
const uint32_t kGlyphs[96] = {
    0x00000000, 0x08021080, 0x00002940, 0x15F57D40, 0x08E619C4, 0x14222140, 0x0ED114E0, 0x00001080,
    0x08210880, 0x04421040, 0x09575480, 0x08471080, 0x04400000, 0x00070000, 0x08000000, 0x04222100,
    0x00E5294E, 0x004210C4, 0x00E1390E, 0x00E4390E, 0x0084394A, 0x00E4384E, 0x00E5384E, 0x0042210E,
    0x00E5394E, 0x00E4394E, 0x00020080, 0x00220080, 0x00820888, 0x000701C0, 0x00222082, 0x0040310E,
    0x00E0B526, 0x00A5394E, 0x00E5194E, 0x00E5094E, 0x00E52946, 0x00E1384E, 0x0021384E, 0x00E5284E,
    0x00A5394A, 0x00E2108E, 0x00E5210C, 0x00A5194A, 0x00E10842, 0x015AD6BF, 0x00A5294E, 0x00E5294E,
    0x0021394E, 0x00F294A7, 0x00A5194E, 0x00E4384E, 0x0042108E, 0x00E5294A, 0x0045294A, 0x01FAD6B5,
    0x00A5114A, 0x0042394A, 0x00E1110E, 0x00610846, 0x01041041, 0x00621086, 0x00000144, 0x00E00000,
    0x00000082, 0x00E53000, 0x00E53842, 0x00E13800, 0x00E53908, 0x08273800, 0x00423888, 0x08873800,
    0x00A51842, 0x00421004, 0x04421004, 0x00A32842, 0x00421084, 0x015ABC00, 0x00A51800, 0x00E53800,
    0x04E51800, 0x10E53000, 0x00253800, 0x00E409C0, 0x00C23884, 0x00C52800, 0x00452800, 0x00EAD400,
    0x00A22800, 0x1C872800, 0x00E121C0, 0x00821888, 0x00421084, 0x00223082, 0x0002A800, 0x3F18C63F,
};

struct FontState {
    int currentSlot = 0;
    std::vector<QuadCorner> textCorners;  // reused by every print, never shrunk
};

FontState& Fonts() {
    static FontState state;
    return state;
}

int ClampFontSlot(double slot) { return std::clamp(TruncateToInt32(slot), 0, kFontSlotCount - 1); }

bool GlyphPixelSet(uint32_t glyph, int gx, int gy) {
    if (gx < 0 || gx >= kGlyphWidth || gy < 0 || gy >= kGlyphHeight) return false;
    return (glyph >> (gy * kGlyphWidth + gx) & 1) != 0;
}

// Cell pixel (x, y) of a glyph drawn at (1, 1) of its cell.
void PaintCellPixel(uint32_t glyph, int x, int y, uint8_t* rgba) {
    int gx = x - 1, gy = y - 1;
    if (GlyphPixelSet(glyph, gx, gy)) {
        std::memset(rgba, 255, 4);
        return;
    }
    if (x > 6) return;
    bool outline = GlyphPixelSet(glyph, gx - 1, gy) || GlyphPixelSet(glyph, gx + 1, gy) ||
                   GlyphPixelSet(glyph, gx, gy - 1) || GlyphPixelSet(glyph, gx, gy + 1);
    if (outline) rgba[0] = rgba[1] = rgba[2] = 8, rgba[3] = 255;
}

// The cell grid of a loaded font picture.
struct FontGrid {
    int cellWidth, cellHeight, rows;
    float uStep, vStep;
};

FontGrid GridOf(const SpriteSlot& slot) {
    int rows = slot.width < slot.height ? 16 : 8;
    FontGrid grid;
    grid.rows = rows;
    grid.cellWidth = slot.width / kCellsPerRow;
    grid.cellHeight = slot.height / rows;
    grid.uStep = static_cast<float>(slot.width) / slot.texWidth / kCellsPerRow;
    grid.vStep = static_cast<float>(slot.height) / slot.texHeight / rows;
    return grid;
}

const SpriteSlot& CurrentFontSprite() { return *FindSpriteSlot(kFirstFontSpriteId + Fonts().currentSlot); }

void AddCellQuad(const FontGrid& grid, unsigned char byte, float left, float top, QuadCorner* out) {
    int code = grid.rows == 8 ? byte % 128 : byte;
    int column = code % kCellsPerRow;
    int flippedRow = grid.rows - 1 - code / kCellsPerRow;
    float uLeft = column * grid.uStep, uRight = uLeft + grid.uStep;
    float vBottom = flippedRow * grid.vStep, vTop = vBottom + grid.vStep;
    float right = left + grid.cellWidth, bottom = top + grid.cellHeight;
    out[0] = {left, bottom, uLeft, vBottom};
    out[1] = {right, bottom, uRight, vBottom};
    out[2] = {right, top, uRight, vTop};
    out[3] = {left, top, uLeft, vTop};
}

QuadCorner* TextCorners(size_t quadCount) {
    std::vector<QuadCorner>& corners = Fonts().textCorners;
    if (corners.size() < quadCount * 4) {
        size_t steps = (quadCount + kQuadGrowthStep - 1) / kQuadGrowthStep;
        corners.resize(steps * kQuadGrowthStep * 4);
    }
    return corners.data();
}

}  // namespace

Picture BuiltInFontPicture() {
    Picture picture;
    picture.width = kCellsPerRow * kBuiltInCell;
    picture.height = 8 * kBuiltInCell;
    picture.rgba.assign(static_cast<size_t>(picture.width) * picture.height * 4, 0);
    for (int code = 32; code < 128; ++code) {
        int cellLeft = code % kCellsPerRow * kBuiltInCell, cellTop = code / kCellsPerRow * kBuiltInCell;
        for (int y = 0; y < kBuiltInCell; ++y) {
            for (int x = 0; x < kBuiltInCell; ++x) {
                size_t offset = (static_cast<size_t>(cellTop + y) * picture.width + cellLeft + x) * 4;
                PaintCellPixel(kGlyphs[code - 32], x, y, &picture.rgba[offset]);
            }
        }
    }
    return picture;
}

void SetFont(double slot) { Fonts().currentSlot = ClampFontSlot(slot); }

int CurrentFontSlot() { return Fonts().currentSlot; }

double LoadFont(const char* fileName, double slot) {
    int fontSlot = ClampFontSlot(slot);
    Fonts().currentSlot = fontSlot;
    int spriteId = kFirstFontSpriteId + fontSlot;
    if (LoadPictureIntoSlot(spriteId, fileName, FontColourKey())) return 1.0;
    EmptySpriteSlot(*MutableSpriteSlot(spriteId));
    InstallPicture(spriteId, BuiltInFontPicture());
    return 0.0;
}

double LoadFont(const RtString& fileName, double slot) { return LoadFont(StrChars(fileName), slot); }

// Every byte draws a cell, control bytes and NUL bytes of a runtime string included.
static void PrintBytes(const char* text, size_t length, double x, double y) {
    const SpriteSlot& font = CurrentFontSprite();
    if (length == 0 || font.texture == 0) return;
    FontGrid grid = GridOf(font);
    float left = std::ceil(static_cast<float>(x)), top = std::ceil(static_cast<float>(y));
    QuadCorner* corners = TextCorners(length);
    for (size_t i = 0; i < length; ++i) {
        AddCellQuad(grid, static_cast<unsigned char>(text[i]), left + static_cast<float>(i) * grid.cellWidth, top,
                    &corners[i * 4]);
    }
    QuadBatch batch;
    batch.texture = font.texture;
    batch.filter = SmoothingEnabled() ? TextureFilter::Linear : TextureFilter::Nearest;
    batch.corners = corners;
    batch.quadCount = static_cast<int>(length);
    batch.tag = DrawTag{DrawKind::Text, kFirstFontSpriteId + Fonts().currentSlot, -1, left, top, text};
    CurrentRenderer().DrawQuads(batch);
}

void PrintText(const char* text, double x, double y) { PrintBytes(text, std::strlen(text), x, y); }

void PrintText(const RtString& text, double x, double y) { PrintBytes(StrChars(text), text.length, x, y); }

void PrintNumber(double value, double x, double y) {
    char text[64];
    NumberToText(value, text);
    PrintText(text, x, y);
}

FontCellSize GetFontSize() {
    const SpriteSlot& font = CurrentFontSprite();
    FontGrid grid = GridOf(font);
    return {static_cast<double>(grid.cellWidth), static_cast<double>(grid.cellHeight)};
}
