#include "font_maker.h"

#include "script_reader.h"

GlyphSet LoadGlyphs(const std::string& path) {
    std::vector<ScriptLine> lines = ReadScript(path);
    GlyphSet glyphs;
    for (size_t i = 0; i < lines.size(); ++i) {
        const ScriptLine& head = lines[i];
        const std::string& name = head.word(head.words[0] == "glyph" ? 1 : 0);
        if (head.words[0] != "glyph" || name.size() != 1 || (unsigned char)name[0] > 127)
            head.fail("expected 'glyph C' with one character C of codes 33..127");
        Grid glyph(kGlyphWidth, kGlyphHeight);
        for (int row = 0; row < kGlyphHeight; ++row) {
            if (++i >= lines.size()) head.fail("glyph '" + name + "' has fewer than 7 rows");
            const ScriptLine& line = lines[i];
            if (line.words.size() != 1 || line.words[0].size() != size_t(kGlyphWidth)) line.fail("a glyph row is 6 characters of '.' and 'X'");
            for (int x = 0; x < kGlyphWidth; ++x) glyph.at(x, row) = line.words[0][size_t(x)] == 'X' ? 1 : kClear;
        }
        if (glyphs.count((unsigned char)name[0])) head.fail("glyph '" + name + "' is drawn twice");
        glyphs[(unsigned char)name[0]] = glyph;
    }
    return glyphs;
}

namespace {

int Colour(const Palette& palette, char letter) {
    int index = palette.index_of(letter);
    if (index < 0) throw ScriptError(std::string("the font colour '") + letter + "' is not in the palette");
    return index;
}

}  // namespace

Image RenderLargeFont(const GlyphSet& glyphs, const Palette& palette, const std::string& shades, char outline) {
    const int cell = 16;
    Grid picture(16 * cell, 8 * cell);
    for (const auto& [code, glyph] : glyphs) {
        Grid letter(cell, cell);
        for (int y = 0; y < 2 * kGlyphHeight; ++y)
            for (int x = 0; x < 2 * kGlyphWidth; ++x)
                if (glyph.at(x / 2, y / 2) != kClear)
                    letter.at(x + 2, y + 1) = Colour(palette, shades.at(size_t(y) % shades.size()));
        Grid ring = Outlined(letter, Colour(palette, outline));
        // Diagonal corners too, so the outline closes around every stroke.
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x)
                if (ring.at(x, y) == kClear && (letter.get(x - 1, y - 1) >= 0 || letter.get(x + 1, y - 1) >= 0 ||
                                                letter.get(x - 1, y + 1) >= 0 || letter.get(x + 1, y + 1) >= 0))
                    ring.at(x, y) = Colour(palette, outline);
        Composite(picture, ring, (code % 16) * cell, (code / 16) * cell);
    }
    return ToImage(picture, palette);
}

Image RenderSmallFont(const GlyphSet& glyphs, const Palette& palette, char ink, char shadow) {
    const int cell = 8;
    Grid picture(16 * cell, 8 * cell);
    for (const auto& [code, glyph] : glyphs) {
        int left = (code % 16) * cell + 1, top = (code / 16) * cell;
        Composite(picture, Swapped(glyph, {1}, {Colour(palette, shadow)}), left + 1, top + 1);
        Composite(picture, Swapped(glyph, {1}, {Colour(palette, ink)}), left, top);
    }
    return ToImage(picture, palette);
}
