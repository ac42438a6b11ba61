// Saves a picture as a PNG file through libpng (screenshots of the 320 x 240 frame).
// Depends on libpng only; knows nothing of the window or GL.
#pragma once
#include <string>

// rgba: width x height x 4 bytes, top row first. The alpha channel is dropped: a frame is opaque.
// On failure no partial file is left behind and `error` (when given) says why in one clause.
bool WritePngFile(const std::string& path, const unsigned char* rgba, int width, int height,
                  std::string* error = nullptr);
