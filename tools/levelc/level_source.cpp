#include "level_source.h"

#include <sstream>
#include <vector>

#include "game/cave_legend.h"

namespace {

constexpr int kCaveWidth = 20;
constexpr int kCaveHeight = 15;
constexpr int kFileColumns = 40;

std::string AtLine(int lineNumber, const std::string& what) {
    return "line " + std::to_string(lineNumber) + ": " + what;
}

struct SourceLine {
    int number;
    std::string text;
};

std::vector<SourceLine> SplitLines(const std::string& source) {
    std::vector<SourceLine> lines;
    std::istringstream in(source);
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back({number, text});
    }
    return lines;
}

// Between sections only: blank lines and "#" comments. Inside a cave "#" is a wall.
bool IsSkippable(const std::string& text) {
    return text.empty() || text[0] == '#';
}

bool ReadCaveRow(const SourceLine& line, int row, LevelImage& image, std::string& error) {
    if (line.text.size() != kCaveWidth) {
        error = AtLine(line.number, "a cave row must be exactly 20 characters, found " +
                                        std::to_string(line.text.size()));
        return false;
    }
    for (int column = 0; column < kCaveWidth; ++column) {
        int code = cave_legend::CodeOf(line.text[column]);
        if (code < 0) {
            error = AtLine(line.number, std::string("unknown cell character '") + line.text[column] + "'");
            return false;
        }
        image.bytes[row * kFileColumns + column] = static_cast<uint8_t>(code);
    }
    return true;
}

// Pack rows: up to ten 3-character groups separated by single blanks.
bool ReadPackRow(const SourceLine& line, int packRow, LevelImage& image, std::string& error) {
    const std::string& t = line.text;
    if (t.size() > kPackCount * 4 - 1 || (t.size() + 1) % 4 != 0) {
        error = AtLine(line.number, "a pack row is up to ten groups of 3 cells separated by one blank");
        return false;
    }
    for (size_t group = 0; group * 4 < t.size(); ++group) {
        if (group * 4 + 3 < t.size() && t[group * 4 + 3] != ' ') {
            error = AtLine(line.number, "pack groups must be separated by one blank");
            return false;
        }
        for (int cell = 0; cell < 3; ++cell) {
            int code = cave_legend::CodeOf(t[group * 4 + cell]);
            if (code < 0) {
                error = AtLine(line.number, std::string("unknown cell character '") + t[group * 4 + cell] + "'");
                return false;
            }
            image.bytes[kPackStart + group * 9 + packRow * 3 + cell] = static_cast<uint8_t>(code);
        }
    }
    return true;
}

}  // namespace

bool CompileLevelSource(const std::string& source, LevelImage& image, std::string& error) {
    image = LevelImage{};
    enum class Section { Header, Cave, Packs } section = Section::Header;
    int rowsRead = 0;
    int lastLine = 0;
    bool haveCave = false;
    for (const SourceLine& line : SplitLines(source)) {
        lastLine = line.number;
        if (section == Section::Header && IsSkippable(line.text)) continue;
        if (section == Section::Cave) {
            if (!ReadCaveRow(line, rowsRead, image, error)) return false;
            if (++rowsRead == kCaveHeight) section = Section::Header;
            continue;
        }
        if (section == Section::Packs) {
            if (!ReadPackRow(line, rowsRead, image, error)) return false;
            if (++rowsRead == 3) section = Section::Header;
            continue;
        }
        if (line.text.rfind("name ", 0) == 0) {
            image.name = line.text.substr(5);
        } else if (line.text == "cave" && !haveCave) {
            section = Section::Cave;
            haveCave = true;
            rowsRead = 0;
        } else if (line.text == "packs") {
            section = Section::Packs;
            rowsRead = 0;
        } else {
            error = AtLine(line.number, "expected \"name ...\", \"cave\" or \"packs\", found \"" + line.text + "\"");
            return false;
        }
    }
    if (section == Section::Cave || section == Section::Packs) {
        error = AtLine(lastLine, "the file ends inside a section");
        return false;
    }
    if (!haveCave) {
        error = "the source has no \"cave\" section";
        return false;
    }
    return true;
}

std::string DecompileLevel(const LevelImage& image) {
    std::string out;
    if (!image.name.empty()) out += "name " + image.name + "\n";
    out += "cave\n";
    for (int row = 0; row < kCaveHeight; ++row) {
        for (int column = 0; column < kCaveWidth; ++column)
            out += cave_legend::SymbolOf(image.bytes[row * kFileColumns + column]);
        out += "\n";
    }
    out += "packs\n";
    for (int packRow = 0; packRow < 3; ++packRow) {
        for (int group = 0; group < kPackCount; ++group) {
            if (group) out += ' ';
            for (int cell = 0; cell < 3; ++cell)
                out += cave_legend::SymbolOf(image.bytes[kPackStart + group * 9 + packRow * 3 + cell]);
        }
        out += "\n";
    }
    return out;
}

std::string CheckLevel(const LevelImage& image) {
    int players = 0;
    for (int row = 0; row < kCaveHeight; ++row) {
        for (int column = 0; column < kCaveWidth; ++column) {
            int code = image.bytes[row * kFileColumns + column];
            bool border = row == 0 || row == kCaveHeight - 1 || column == 0 || column == kCaveWidth - 1;
            if (border && (code < 15 || code > 18))
                return "the outer ring must be wall 15..18 (cell " + std::to_string(column) + "," +
                       std::to_string(row) + " holds code " + std::to_string(code) + ")";
            if (code == 20) ++players;
        }
    }
    if (players != 1) return "a level needs exactly one player, found " + std::to_string(players);
    return "";
}
