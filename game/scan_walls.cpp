// Growing walls spread at random into empty space and earth (ScanWaxing); Doors draws the doors,
// the lava and the exit over the cave every frame and runs the exit and lava animations.
#include "audio/sound.h"
#include "core/random.h"
#include "game/scans.h"
#include "game/state.h"
#include "gfx/sprites.h"

namespace {

constexpr double MoverGrowingWall = 6;
constexpr double WallAtRest = 0;
constexpr double WallGrowing = 1;

void SetWallMover(double cell, double dir) {
    MoverKind[cell] = MoverGrowingWall;
    MoverDir[cell] = dir;
    MoverPixelX[cell] = CellPixelX(cell);
    MoverPixelY[cell] = CellPixelY(cell);
}

// r = 1..4 picks right, left, up, down; every other draw leaves the wall as it is.
double GrowthTarget(double draw) {
    if (draw == 1) return ScanIndex + 1;
    if (draw == 2) return ScanIndex - 1;
    if (draw == 3) return ScanIndex - 20;
    if (draw == 4) return ScanIndex + 20;
    return -1;
}

void WaxStep(double draw) {
    double target = GrowthTarget(draw);
    if (target >= 0 && (Cave[target] == CellEmpty || Cave[target] == CellEarth)) {
        Cave[target] = CellTransit;
        SetWallMover(target, WallGrowing);
        SetWallMover(ScanIndex, WallAtRest);
        PlaySound(SoundGrow, 0, 1);
        return;
    }
    SetWallMover(ScanIndex, WallAtRest);
}

void DrawFixedTile(double code, double x, double y) {
    if (code == CellDoor3 || code == CellDoor2 || code == CellDoor1)
        DrawAnimFrame(StripTiles, code, x, y);
    else if (code == CellExit)
        DrawAnimFrame(StripExit, ExitFrame, x, y);
    else if (code == CellLava)
        DrawAnimFrame(StripLava, LavaFrame, x, y);
}

}  // namespace

// One draw per visited cell, whatever it holds: the random sequence depends on the cave's size,
// not on its contents.
void ScanWaxing() {
    if (FrameTick > 0) return;
    for (ScanY = 1; ScanY <= 14; ScanY++) {
        for (ScanX = 1; ScanX <= 19; ScanX++) {
            ScanIndex = ScanY * CaveWidth + ScanX;
            double draw = RandomInt(100);
            if (Cave[ScanIndex] == CellWaxWall) WaxStep(draw);
        }
    }
}

void Doors() {
    for (double y = 0; y <= 14; y++)
        for (double x = 0; x <= 19; x++) DrawFixedTile(Cave[y * CaveWidth + x], x * TileSize, y * TileSize);
    // The exit stays on its closed picture until the last gem is taken.
    if (GemsNeeded == 0) {
        ExitFrame += 1;
        if (ExitFrame == 16) ExitFrame = 0;
    }
    LavaFrame += 1;
    if (LavaFrame == 16) LavaFrame = 0;
}
