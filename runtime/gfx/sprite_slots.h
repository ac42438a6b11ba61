// Private to gfx: loading a picture into any slot (sprites and fonts share the path) and the
// number conversions of the command boundary.
#pragma once
#include <string>

#include "gfx/picture.h"
#include "gfx/sprites.h"

// Truncates toward zero into 32 bits; NaN and values beyond the range give INT32_MIN.
int TruncateToInt32(double value);
SpriteSlot* MutableSpriteSlot(int id);
// Frees the slot's textures and empties its picture; the strip's frame size is kept.
void EmptySpriteSlot(SpriteSlot& slot);
bool IsFontSpriteId(int id);
// Resolves the media name, decodes the picture and builds the slot's texture.
bool LoadPictureIntoSlot(int id, const std::string& fileName, uint32_t colourKey);
// Builds the texture of an already decoded picture (sprite or font rules by id).
void InstallPicture(int id, const Picture& picture);
