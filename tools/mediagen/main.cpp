// mediagen: turns the art, sound and font sources under assets/ into the game's media files.
//   mediagen art PALETTE SOURCE.art OUT.png
//   mediagen sound SOURCE.snd OUT.wav
//   mediagen font PALETTE GLYPHS.txt OUT.png OUT.bmp
//   mediagen sheet [--zoom N] OUT.png PICTURE.png...
//   mediagen icon PICTURE.png SIZE OUT.png
//   mediagen contact [--columns N] [--shrink K] OUT.png PICTURE.png...   (labelled by file name)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "art_script.h"
#include "font_maker.h"
#include "review_sheet.h"
#include "synth.h"
#include "wav_writer.h"

namespace {

[[noreturn]] void Fail(const std::string& message) { throw ScriptError(message); }

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of("/\\") + 1); }

std::string Stem(const std::string& path) {
    std::string name = BaseName(path);
    return name.substr(0, name.find_last_of('.'));
}

// Leading "--NAME N" options, each a whole number, taken off the arguments.
int TakeOption(std::vector<std::string>& args, const std::string& name, int fallback) {
    for (size_t i = 0; i + 2 < args.size() && args[i].rfind("--", 0) == 0; i += 2)
        if (args[i] == name) {
            int value = std::atoi(args[i + 1].c_str());
            args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
            return value;
        }
    return fallback;
}

std::vector<SheetEntry> ReadPictures(const std::vector<std::string>& paths, bool labelByStem) {
    std::vector<SheetEntry> entries;
    std::string error;
    for (const std::string& path : paths) {
        SheetEntry entry{labelByStem ? Stem(path) : BaseName(path), {}};
        if (!ReadPng(path, entry.picture, error)) Fail(error);
        entries.push_back(std::move(entry));
    }
    return entries;
}

void MakeArt(std::vector<std::string> args) {
    Palette palette = LoadPalette(args[0]);
    Image strip = CompileArt(args[1], palette);
    std::string error;
    if (!WritePng(args[2], strip, error)) Fail(error);
}

void MakeSound(std::vector<std::string> args) {
    SoundScript script = ParseSound(ReadScript(args[0]));
    std::string error;
    if (!WriteWav(args[1], RenderSound(script), script.sampleRate, error)) Fail(error);
}

void MakeFonts(std::vector<std::string> args) {
    Palette palette = LoadPalette(args[0]);
    GlyphSet glyphs = LoadGlyphs(args[1]);
    std::string error;
    if (!WritePng(args[2], RenderLargeFont(glyphs, palette, "YYYYyyyyOOOooo", 'K'), error)) Fail(error);
    if (!WriteBmp(args[3], RenderSmallFont(glyphs, palette, 'H', 'g'), error)) Fail(error);
}

void MakeSheet(std::vector<std::string> args) {
    const int zoom = TakeOption(args, "--zoom", 2);
    if (args.size() < 2) Fail("sheet needs OUT.png and at least one picture");
    std::vector<SheetEntry> entries = ReadPictures({args.begin() + 1, args.end()}, false);
    std::string error;
    if (!WritePng(args[0], MakeReviewSheet(entries, zoom), error)) Fail(error);
}

// A square picture scaled by a whole factor, so every pixel stays a sharp square.
void MakeIcon(std::vector<std::string> args) {
    Image picture;
    std::string error;
    if (!ReadPng(args[0], picture, error)) Fail(error);
    const int size = std::atoi(args[1].c_str());
    if (picture.width != picture.height || picture.width == 0 || size <= 0 || size % picture.width != 0)
        Fail(args[0] + ": an icon of " + args[1] + " pixels needs a square picture whose side divides it");
    Image icon(size, size);
    DrawImage(icon, picture, 0, 0, size / picture.width);
    if (!WritePng(args[2], icon, error)) Fail(error);
}

void MakeContact(std::vector<std::string> args) {
    const int shrink = TakeOption(args, "--shrink", 2), columns = TakeOption(args, "--columns", 5);
    if (args.size() < 2) Fail("contact needs OUT.png and at least one picture");
    std::vector<SheetEntry> entries = ReadPictures({args.begin() + 1, args.end()}, true);
    std::string error;
    if (!WritePng(args[0], MakeContactSheet(entries, columns, shrink), error)) Fail(error);
}

struct Command {
    const char* name;
    size_t minArgs, maxArgs;
    void (*run)(std::vector<std::string>);
    const char* usage;
};

const Command kCommands[] = {
    {"art", 3, 3, MakeArt, "art PALETTE SOURCE.art OUT.png"},
    {"sound", 2, 2, MakeSound, "sound SOURCE.snd OUT.wav"},
    {"font", 4, 4, MakeFonts, "font PALETTE GLYPHS.txt OUT.png OUT.bmp"},
    {"sheet", 2, 1000, MakeSheet, "sheet [--zoom N] OUT.png PICTURE.png..."},
    {"icon", 3, 3, MakeIcon, "icon PICTURE.png SIZE OUT.png"},
    {"contact", 2, 1000, MakeContact, "contact [--columns N] [--shrink K] OUT.png PICTURE.png..."},
};

int Usage() {
    std::fprintf(stderr, "usage:\n");
    for (const Command& command : kCommands) std::fprintf(stderr, "  mediagen %s\n", command.usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const Command& command : kCommands) {
        if (command.name != std::string(argv[1])) continue;
        if (args.size() < command.minArgs || args.size() > command.maxArgs) return Usage();
        try {
            command.run(args);
            return 0;
        } catch (const ScriptError& error) {
            std::fprintf(stderr, "mediagen: %s\n", error.what());
            return 1;
        }
    }
    return Usage();
}
