// The gfx parts of runtime initialisation, for the program to put into core's DeviceSteps:
// the frame clock, clearing, the 2D state and the "Loading..." screen in font 0.
// The platform supplies the window steps; this header fills only the gfx ones.
#pragma once
#include "core/program.h"

void ShowLoadingScreen();
void FillGfxDeviceSteps(DeviceSteps& steps);
