// Drawing the cave and completing the moves between cells: resting tiles, moving material,
// the player figure and the one-shot digging and taking pictures.
#include "audio/sound.h"
#include "game/state.h"
#include "gfx/sprites.h"

namespace {

constexpr double FramesPerStep = 16;

void PlayFireSound() { PlaySound(SoundFire, 0, 1); }

// Tiles that ShowMap draws straight from the tile strip.
bool IsPlainTile(double code)
{
    return code == CellEarth || (code >= CellDynamite && code <= CellKey3) ||
           (code >= CellWall16 && code <= CellWall18);
}

// ---- MatAnimation ----------------------------------------------------------------------------

void MovePicture(double i, double dir)
{
    if (dir == 1) MoverPixelY[i] = MoverPixelY[i] + 1;
    if (dir == 2 || dir == 10) MoverPixelX[i] = MoverPixelX[i] + 1;
    if (dir == 3 || dir == 11) MoverPixelX[i] = MoverPixelX[i] - 1;
}

void DrawMover(double i, double strip, double frame)
{
    DrawAnimFrame(strip, frame, MoverPixelX[i], MoverPixelY[i]);
}

// One more frame of the move; true when the sixteenth has just been drawn and the record ends.
bool MoveCompleted(double i)
{
    MoverStep[i] = MoverStep[i] + 1;
    if (MoverStep[i] < FramesPerStep) return false;
    MoverStep[i] = 0;
    MoverKind[i] = 0;
    return true;
}

// The cell under the picture once it has arrived.
double ArrivalCell(double i) { return CellAt(MoverPixelX[i], MoverPixelY[i]); }

void LandFall(double d, double fallingCode)
{
    if (Cave[d] == CellLava) {
        PlayFireSound();
        return;
    }
    Cave[d] = fallingCode;
}

void AnimateStone(double i, double dir)
{
    if (dir == 0) {
        DrawMover(i, StripTiles, CellStone);
        return;
    }
    const double step = MoverStep[i];
    MovePicture(i, dir);
    if (dir == 1) DrawMover(i, StripTiles, CellStone);
    else if (dir == 2 || dir == 10) DrawMover(i, StripStoneR, step);
    else if (dir == 3 || dir == 11) DrawMover(i, StripStoneL, step);
    else return;
    if (!MoveCompleted(i)) return;
    const double d = ArrivalCell(i);
    if (dir == 1) {
        LandFall(d, CellStoneFalling);
    } else if (dir == 2 || dir == 3) {
        // The roll reserved the cell below its side cell; it falls on from there.
        Cave[d + 20] = CellEmpty;
        Cave[d] = CellStoneFalling;
    } else {
        Cave[d] = CellStone;
    }
}

// Gems and saphirs keep their tile picture while they fall or roll.
void AnimateJewel(double i, double dir, double tile, double fallingCode)
{
    if (dir != 0 && dir != 1 && dir != 2 && dir != 3) return;
    MovePicture(i, dir);
    DrawMover(i, StripTiles, tile);
    if (dir == 0 || !MoveCompleted(i)) return;
    const double d = ArrivalCell(i);
    if (dir == 1) {
        LandFall(d, fallingCode);
    } else {
        Cave[d] = fallingCode;
        Cave[d + 20] = CellEmpty;
    }
}

// Crushed and eaten saphirs and explosions play a 16-frame strip on their own cell.
void AnimateInPlace(double i, double dir, double strip)
{
    if (dir != 0) return;
    DrawMover(i, strip, MoverStep[i]);
    if (!MoveCompleted(i) || strip != StripExplos) return;
    const double d = ArrivalCell(i);
    if (Cave[d] == CellBlastToGem) Cave[d] = CellGem;
    else if (Cave[d] == CellBlastToSaphir) Cave[d] = CellSaphir;
}

void AnimateWaxWall(double i, double dir)
{
    if (dir == 0) {
        DrawMover(i, StripTiles, CellWaxStill);
        return;
    }
    if (dir != 1) return;
    DrawMover(i, StripWax, MoverStep[i]);
    if (MoveCompleted(i)) Cave[ArrivalCell(i)] = CellWaxWall;
}

void AnimateMover(double i)
{
    const double kind = MoverKind[i];
    const double dir = MoverDir[i];
    if (kind == 1) AnimateStone(i, dir);
    else if (kind == 2) AnimateJewel(i, dir, CellGem, CellGemFalling);
    else if (kind == 3) AnimateJewel(i, dir, CellSaphir, CellSaphirFalling);
    else if (kind == 4) AnimateInPlace(i, dir, StripQuish);
    else if (kind == 5) AnimateInPlace(i, dir, StripExplos);
    else if (kind == 6) AnimateWaxWall(i, dir);
    else if (kind == 7) AnimateInPlace(i, dir, StripSaphirEaten);
}

// ---- TumbrelMan ------------------------------------------------------------------------------

struct PoseMotion {
    double dx, dy, strip;
};

// Poses 1..11; strip 0 marks a pose that is not animated.
bool MotionOfPose(double pose, PoseMotion& motion)
{
    static const PoseMotion kMotions[12] = {
        {0, 0, 0},           {1, 0, StripAstroR},  {-1, 0, StripAstroL}, {0, -1, StripAstroU},
        {0, 1, StripAstroD}, {0, 0, StripAstroR},  {0, 0, StripAstroL},  {0, 0, StripAstroU},
        {0, 0, StripAstroD}, {0, 0, 0},            {1, 0, StripPushR},   {-1, 0, StripPushL},
    };
    if (pose < 1 || pose > 11 || pose != static_cast<int>(pose)) return false;
    motion = kMotions[static_cast<int>(pose)];
    return motion.strip != 0;
}

// The digging and the taking picture: one routine on two sets of variables.
void RunOneShot(double strip, double& x, double& y, double& frame)
{
    if (!(y > 0)) return;
    DrawAnimFrame(strip, frame, x, y);
    frame = frame + 1;
    if (frame >= FramesPerStep) {
        frame = 0;
        y = 0;
    }
}

}  // namespace

void ShowMap()
{
    for (double y = 0; y <= 14; y++) {
        for (double x = 0; x <= 19; x++) {
            const double code = Cave[y * 20 + x];
            if (IsPlainTile(code)) DrawAnimFrame(StripTiles, code, x * 16, y * 16);
            else if (code == CellBlink) DrawAnimFrame(StripBlink, BlinkFrame, x * 16, y * 16);
        }
    }
    BlinkFrame = BlinkFrame + 1;
    if (BlinkFrame == 32) BlinkFrame = 0;
}

void MatAnimation()
{
    for (double i = 1; i <= 299; i++) {
        if (MoverKind[i] != 0) AnimateMover(i);
    }
}

void TumbrelMan()
{
    if (PlayerPose == 0) {
        DrawAnimFrame(StripAstroD, 0, PlayerX, PlayerY);
        return;
    }
    PoseMotion motion;
    if (!MotionOfPose(PlayerPose, motion)) return;
    PlayerX = PlayerX + motion.dx;
    PlayerY = PlayerY + motion.dy;
    DrawAnimFrame(motion.strip, PlayerAnimFrame, PlayerX, PlayerY);
    PlayerBusy = PlayerBusy + 1;
    PlayerAnimFrame = PlayerAnimFrame + 1;
    if (PlayerAnimFrame == FramesPerStep) {
        PlayerAnimFrame = 0;
        PlayerBusy = 0;
    }
}

void ErdAnimation() { RunOneShot(StripErd, ErdAnimX, ErdAnimY, ErdAnimFrame); }

void CircleAnimation() { RunOneShot(StripCircle, CircleAnimX, CircleAnimY, CircleAnimFrame); }
