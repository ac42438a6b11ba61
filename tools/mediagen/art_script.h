// The pixel-art compiler: reads an art source (tiles drawn as rows of palette letters, and frame
// sequences built from layers of those tiles with per-frame transformations) and renders its strip.
// Depends on pixel_grid and script_reader. Owns no state. The language is described in assets/README.md.
#pragma once
#include <string>

#include "image.h"
#include "pixel_grid.h"

// Renders every frame of the source left to right into one picture (frame width x frame count wide).
// Throws ScriptError with "file:line: what is wrong" on a faulty source.
Image CompileArt(const std::string& sourcePath, const Palette& palette);
