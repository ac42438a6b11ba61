#include "review_sheet.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kFrame = 16, kPerRow = 16, kGap = 4, kMargin = 8;
constexpr int kLabelScale = 2, kLabelHeight = 5 * kLabelScale + 6, kNumberHeight = 8;
const Rgba kSheetBack{24, 24, 30, 255}, kCheckA{52, 52, 60, 255}, kCheckB{40, 40, 48, 255};
const Rgba kLabelColour{240, 220, 120, 255}, kNumberColour{140, 140, 150, 255};

const char* GlyphRows(char c) {  // five rows of three pixels each
    switch (c) {
        case 'A': return "010101111101101"; case 'B': return "110101110101110"; case 'C': return "011100100100011";
        case 'D': return "110101101101110"; case 'E': return "111100110100111"; case 'F': return "111100110100100";
        case 'G': return "011100101101011"; case 'H': return "101101111101101"; case 'I': return "111010010010111";
        case 'J': return "001001001101010"; case 'K': return "101101110101101"; case 'L': return "100100100100111";
        case 'M': return "101111111101101"; case 'N': return "110101101101101"; case 'O': return "010101101101010";
        case 'P': return "110101110100100"; case 'Q': return "010101101110011"; case 'R': return "110101110101101";
        case 'S': return "011100010001110"; case 'T': return "111010010010010"; case 'U': return "101101101101111";
        case 'V': return "101101101101010"; case 'W': return "101101111111101"; case 'X': return "101101010101101";
        case 'Y': return "101101010010010"; case 'Z': return "111001010100111"; case '0': return "111101101101111";
        case '1': return "010110010010111"; case '2': return "110001010100111"; case '3': return "110001010001110";
        case '4': return "101101111001001"; case '5': return "111100110001110"; case '6': return "011100111101111";
        case '7': return "111001010010010"; case '8': return "111101111101111"; case '9': return "111101111001110";
        case '.': return "000000000000010"; case '-': return "000000111000000"; case '_': return "000000000000111";
        case ':': return "000010000010000"; case '/': return "001001010100100"; case '(': return "001010010010001";
        case ')': return "100010010010100";
        default: return "000000000000000";
    }
}

void DrawChecker(Image& sheet, int x, int y, int w, int h) {
    for (int ty = 0; ty < h; ++ty)
        for (int tx = 0; tx < w; ++tx)
            if (sheet.contains(x + tx, y + ty)) sheet.at(x + tx, y + ty) = ((tx / 4 + ty / 4) % 2) ? kCheckA : kCheckB;
}

bool IsStrip(const Image& picture) { return picture.height == kFrame && picture.width % kFrame == 0; }

int EntryHeight(const Image& picture, int zoomFactor) {
    if (!IsStrip(picture)) return kLabelHeight + picture.height * zoomFactor + kGap * 2;
    int rows = (picture.width / kFrame + kPerRow - 1) / kPerRow;
    return kLabelHeight + rows * (kFrame * zoomFactor + kNumberHeight) + kGap;
}

int EntryWidth(const Image& picture, int zoomFactor) {
    return IsStrip(picture) ? kPerRow * (kFrame * zoomFactor + kGap) : picture.width * zoomFactor;
}

Image FrameOf(const Image& strip, int index) {
    Image frame(kFrame, kFrame);
    for (int y = 0; y < kFrame; ++y)
        for (int x = 0; x < kFrame; ++x) frame.at(x, y) = strip.at(index * kFrame + x, y);
    return frame;
}

void DrawStrip(Image& sheet, const Image& strip, int left, int top, int zoomFactor) {
    for (int i = 0; i < strip.width / kFrame; ++i) {
        int x = left + (i % kPerRow) * (kFrame * zoomFactor + kGap), y = top + (i / kPerRow) * (kFrame * zoomFactor + kNumberHeight);
        DrawChecker(sheet, x, y, kFrame * zoomFactor, kFrame * zoomFactor);
        DrawImage(sheet, FrameOf(strip, i), x, y, zoomFactor);
        DrawLabel(sheet, std::to_string(i), x, y + kFrame * zoomFactor + 1, 1, kNumberColour);
    }
}

Image Shrunk(const Image& picture, int factor) {
    Image small(picture.width / factor, picture.height / factor);
    for (int y = 0; y < small.height; ++y)
        for (int x = 0; x < small.width; ++x) {
            int sum[4] = {0, 0, 0, 0};
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx) {
                    const Rgba& p = picture.at(x * factor + dx, y * factor + dy);
                    sum[0] += p.r, sum[1] += p.g, sum[2] += p.b, sum[3] += p.a;
                }
            const int n = factor * factor;
            small.at(x, y) = Rgba{uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n), uint8_t(sum[3] / n)};
        }
    return small;
}

}  // namespace

void DrawLabel(Image& target, const std::string& text, int x, int y, int scale, Rgba colour) {
    for (char c : text) {
        const char* rows = GlyphRows(char(std::toupper((unsigned char)c)));
        for (int i = 0; i < 15; ++i)
            if (rows[i] == '1') FillRect(target, x + (i % 3) * scale, y + (i / 3) * scale, scale, scale, colour);
        x += 4 * scale;
    }
}

Image MakeReviewSheet(const std::vector<SheetEntry>& entries, int zoom) {
    const int zoomFactor = std::clamp(zoom, 1, 8);
    int width = 0, height = kMargin;
    for (const SheetEntry& entry : entries) {
        width = std::max(width, EntryWidth(entry.picture, zoomFactor));
        height += EntryHeight(entry.picture, zoomFactor);
    }
    Image sheet(width + 2 * kMargin, height + kMargin, kSheetBack);
    int top = kMargin;
    for (const SheetEntry& entry : entries) {
        const Image& picture = entry.picture;
        std::string label = entry.label + "  " + std::to_string(picture.width) + "X" + std::to_string(picture.height);
        if (IsStrip(picture)) label += "  " + std::to_string(picture.width / kFrame) + " FRAMES";
        DrawLabel(sheet, label, kMargin, top + 2, kLabelScale, kLabelColour);
        if (IsStrip(picture)) {
            DrawStrip(sheet, picture, kMargin, top + kLabelHeight, zoomFactor);
        } else {
            DrawChecker(sheet, kMargin, top + kLabelHeight, picture.width * zoomFactor, picture.height * zoomFactor);
            DrawImage(sheet, picture, kMargin, top + kLabelHeight, zoomFactor);
        }
        top += EntryHeight(picture, zoomFactor);
    }
    return sheet;
}

Image MakeContactSheet(const std::vector<SheetEntry>& entries, int columns, int shrink) {
    const int factor = std::clamp(shrink, 1, 8), perRow = std::max(1, columns);
    std::vector<Image> thumbs;
    int cellW = 0, cellH = 0;
    for (const SheetEntry& entry : entries) {
        thumbs.push_back(Shrunk(entry.picture, factor));
        cellW = std::max(cellW, thumbs.back().width);
        cellH = std::max(cellH, thumbs.back().height);
    }
    const int rows = (int(entries.size()) + perRow - 1) / perRow;
    const int pitchX = cellW + kMargin, pitchY = kLabelHeight + cellH + kMargin;
    Image sheet(kMargin + std::min(perRow, int(entries.size())) * pitchX, kMargin + rows * pitchY, kSheetBack);
    for (size_t i = 0; i < entries.size(); ++i) {
        const int x = kMargin + int(i) % perRow * pitchX, y = kMargin + int(i) / perRow * pitchY;
        DrawLabel(sheet, entries[i].label, x, y + 2, kLabelScale, kLabelColour);
        DrawChecker(sheet, x, y + kLabelHeight, thumbs[i].width, thumbs[i].height);
        DrawImage(sheet, thumbs[i], x, y + kLabelHeight);
    }
    return sheet;
}
