// The gfx steps of runtime initialisation.
#include "gfx/gfx_steps.h"

#include "gfx/fonts.h"
#include "gfx/frame.h"
#include "gfx/sprites.h"

void ShowLoadingScreen() {
    LoadFont("smalfont.bmp", 0);
    FontCellSize cell = GetFontSize();
    PrintText("Loading...", (kLogicalWidth - 10 * cell.width) * 0.5, (kLogicalHeight - cell.height) * 0.5);
    PresentFrame();
}

void FillGfxDeviceSteps(DeviceSteps& steps) {
    steps.clearScreen = ClearScreen;
    steps.resetFrameClock = ResetFrameClock;
    steps.setup2D = Setup2D;
    steps.showLoading = ShowLoadingScreen;
}
