// The game's fonts from one glyph source (6 x 7 letter drawings, see assets/fonts/glyphs.txt):
// "zFont.png", 16 x 16 cells in a 256 x 128 picture, and "smalfont.bmp", 8 x 8 cells in 128 x 64.
// Depends on pixel_grid and script_reader. Owns no state. Codes 0..127, row c / 16, column c % 16.
#pragma once
#include <map>
#include <string>

#include "image.h"
#include "pixel_grid.h"

constexpr int kGlyphWidth = 6;
constexpr int kGlyphHeight = 7;  // rows 0..5 the letter, row 6 the descender

using GlyphSet = std::map<unsigned char, Grid>;  // 1 where the glyph is drawn, kClear elsewhere

GlyphSet LoadGlyphs(const std::string& path);  // throws ScriptError on a faulty source
// Letters twice the size, shaded from the top (palette letters `shades`, one per pixel row of
// the doubled glyph, 14 of them) with a one-pixel outline of `outline`; transparent elsewhere.
Image RenderLargeFont(const GlyphSet& glyphs, const Palette& palette, const std::string& shades, char outline);
// Letters at their own size in `ink` with a shadow to the lower right in `shadow`, on black.
Image RenderSmallFont(const GlyphSet& glyphs, const Palette& palette, char ink, char shadow);
