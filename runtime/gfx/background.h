// Private to gfx: the background picture of slot 0, cut into square tiles and drawn after every
// buffer swap beneath everything the game draws.
#pragma once
#include <string>

#include "gfx/picture.h"

// Replaces the background with the picture; false (and no background) when it cannot be shown.
bool SetBackgroundPicture(const Picture& picture);
void DeleteBackground();
bool HasBackground();
void DrawBackground();
