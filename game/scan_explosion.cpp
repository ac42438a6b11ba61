// Explosions over 3 x 3 blocks: bugs burst into gems and saphirs (ScanExplosion), yam-yams hold
// their block for a pack (YamExplosion), dynamite clears its block (DynaExplosion), and the
// player's death leaves saphirs (BoyExplosion). Cells 12..19 resist every one of them.
#include "audio/sound.h"
#include "game/scans.h"
#include "game/state.h"
#include "gfx/sprites.h"

namespace {

constexpr double MoverExplosion = 5;
constexpr double BlastFrames = 16;

bool IsBug(double code) { return code >= CellBugRight && code <= CellBugDown; }
bool IsYamYam(double code) { return code >= CellYamRight && code <= CellYamDown; }
bool IsGrowingWallPicture(double code) { return code == CellWaxStill || code == CellWaxWall; }

void DrawBlastFrame(double frame, double x, double y) { DrawAnimFrame(StripExplos, frame, x, y); }

void ClearMoversAndAnimal(double cell) {
    MoverKind[cell] = 0;
    MoverStep[cell] = 0;
    AnimalState[cell] = 0;
    AnimalStep[cell] = 0;
}

// A falling stone lands on a bug; a growing wall beside it sets it off too.
bool BugIsHit(double i) {
    if (Cave[i - 20] == CellStoneFalling) return true;
    return IsGrowingWallPicture(Cave[i + 1]) || IsGrowingWallPicture(Cave[i - 1]) ||
           IsGrowingWallPicture(Cave[i - 20]) || IsGrowingWallPicture(Cave[i + 20]);
}

void ExplodeYamYam(double i, double px, double py) {
    Cave[i] = CellEmpty;
    Cave[i - 20] = CellEmpty;  // the stone is used up
    YamBlastStart(py, px);
    YamBlastY[i] = py;
    YamBlastX[i] = px;
    PlaySound(SoundBumm, 0, 1);
}

void ExplodeBug(double i, double px, double py) {
    Cave[i] = CellEmpty;
    MoverKind[i] = MoverExplosion;
    MoverPixelX[i] = px;
    MoverPixelY[i] = py;
    BlastRing(py, px);
    PlaySound(SoundBumm, 0, 1);
}

void ExplosionStep(double i, double px, double py) {
    double code = Cave[i];
    if (IsYamYam(code) && Cave[i - 20] == CellStoneFalling) {
        ExplodeYamYam(i, px, py);
        return;
    }
    if ((IsBug(code) && BugIsHit(i)) || code == CellBlastCentre) ExplodeBug(i, px, py);
}

// Bugs hit in this step explode in the next one: a chain advances one link per step.
void ArmHitBugs() {
    for (double i = 1; i <= 299; i++)
        if (Cave[i] == CellBlast) Cave[i] = CellBlastCentre;
}

void SweepTransitCells() {
    for (double i = 1; i <= 299; i++)
        if (Cave[i] == CellTransit) Cave[i] = CellEmpty;
}

}  // namespace

void ScanExplosion() {
    if (FrameTick > 0) return;
    for (ScanY = 1; ScanY <= 14; ScanY++) {
        for (ScanX = 1; ScanX <= 19; ScanX++) {
            ScanIndex = ScanY * CaveWidth + ScanX;
            ExplosionStep(ScanIndex, ScanX * TileSize, ScanY * TileSize);
        }
    }
    ArmHitBugs();
}

// Three saphirs on the diagonal from top left to bottom right, six gems around them.
void BlastRing(double y, double x) {
    BlastCell(y, x, CellBlastToSaphir);
    BlastCell(y, x + 16, CellBlastToGem);
    BlastCell(y, x - 16, CellBlastToGem);
    BlastCell(y - 16, x, CellBlastToGem);
    BlastCell(y - 16, x - 16, CellBlastToSaphir);
    BlastCell(y - 16, x + 16, CellBlastToGem);
    BlastCell(y + 16, x, CellBlastToGem);
    BlastCell(y + 16, x - 16, CellBlastToGem);
    BlastCell(y + 16, x + 16, CellBlastToSaphir);
}

void BlastCell(double y, double x, double code) {
    double i = CellAt(x, y);
    double current = Cave[i];
    if (IsBlastProof(current)) return;
    if (IsBug(current))
        Cave[i] = CellBlast;
    else if (current != CellBlastCentre)
        Cave[i] = code;
    MoverKind[i] = MoverExplosion;
    MoverDir[i] = 0;
    MoverPixelX[i] = x;
    MoverPixelY[i] = y;
}

// ---- Yam-yam explosion ------------------------------------------------------------------------

void YamClearCell(double y, double x) {
    double i = CellAt(x, y);
    if (IsBlastProof(Cave[i])) return;
    Cave[i] = CellTransit;
    ClearMoversAndAnimal(i);
}

void YamBlastStart(double y, double x) {
    YamClearCell(y, x);
    YamClearCell(y, x + 16);
    YamClearCell(y, x - 16);
    YamClearCell(y - 16, x);
    YamClearCell(y - 16, x - 16);
    YamClearCell(y - 16, x + 16);
    YamClearCell(y + 16, x);
    YamClearCell(y + 16, x - 16);
    YamClearCell(y + 16, x + 16);
}

void YamBlastCell(double y, double x) {
    double i = CellAt(x, y);
    if (IsBlastProof(Cave[i])) return;
    DrawBlastFrame(YamBlastFrame[ScanX], x, y);
    Cave[i] = CellTransit;
    ClearMoversAndAnimal(i);
}

// Slots are cell indices; the slot in hand travels in ScanX, where YamPack expects it.
void YamExplosion() {
    for (ScanX = 1; ScanX <= 299; ScanX++) {
        if (!(YamBlastY[ScanX] > 0)) continue;
        double x = YamBlastX[ScanX], y = YamBlastY[ScanX];
        YamBlastCell(y, x);
        YamBlastCell(y, x + 16);
        YamBlastCell(y, x - 16);
        YamBlastCell(y + 16, x);
        YamBlastCell(y + 16, x + 16);
        YamBlastCell(y + 16, x - 16);
        YamBlastCell(y - 16, x);
        YamBlastCell(y - 16, x + 16);
        YamBlastCell(y - 16, x - 16);
        YamBlastFrame[ScanX] += 1;
        if (YamBlastFrame[ScanX] == BlastFrames) {
            YamPack();
            YamBlastFrame[ScanX] = 0;
            YamBlastY[ScanX] = 0;
        }
    }
}

// ---- Dynamite explosion -----------------------------------------------------------------------

void DynaBlastCell(double y, double x) {
    double i = CellAt(x, y);
    double code = Cave[i];
    if (IsBlastProof(code)) return;
    DrawBlastFrame(DynaBlastFrame, x, y);
    if (code >= CellBlast && code <= CellBlastToGem) return;
    ClearMoversAndAnimal(i);
    if (IsBug(code))
        Cave[i] = CellBlast;  // it explodes itself by the chain rule
    else
        Cave[i] = DynaBlastFrame < 15 ? CellTransit : CellEmpty;
}

void DynaExplosion() {
    if (!(DynaBlastY > 0)) return;
    double x = DynaBlastX, y = DynaBlastY;
    DynaBlastCell(y, x);
    DynaBlastCell(y, x - 16);
    DynaBlastCell(y, x + 16);
    DynaBlastCell(y - 16, x);
    DynaBlastCell(y - 16, x - 16);
    DynaBlastCell(y - 16, x + 16);
    DynaBlastCell(y + 16, x);
    DynaBlastCell(y + 16, x - 16);
    DynaBlastCell(y + 16, x + 16);
    DynaBlastFrame += 1;
    if (DynaBlastFrame == BlastFrames) {
        DynaBlastFrame = 0;
        DynaBlastY = 0;
    }
}

// ---- Player explosion -------------------------------------------------------------------------

void BoyBlastCell(double x, double y) {
    double i = CellAt(x, y);
    if (IsBlastProof(Cave[i])) return;
    DrawBlastFrame(BoyBlastFrame, x, y);
    Cave[i] = BoyBlastFrame < 15 ? CellTransit : CellSaphir;
    if (FrameTick == 0) ClearMoversAndAnimal(i);
}

// Each picture stays two frames; at the end every reservation in the whole cave is dropped.
void BoyExplosion() {
    if (!(BoyBlastY > 0)) return;
    double x = BoyBlastX, y = BoyBlastY;
    BoyBlastCell(x, y);
    BoyBlastCell(x + 16, y);
    BoyBlastCell(x - 16, y);
    BoyBlastCell(x, y - 16);
    BoyBlastCell(x + 16, y - 16);
    BoyBlastCell(x - 16, y - 16);
    BoyBlastCell(x, y + 16);
    BoyBlastCell(x + 16, y + 16);
    BoyBlastCell(x - 16, y + 16);
    BoyBlastTick += 1;
    if (BoyBlastTick == 2) {
        BoyBlastTick = 0;
        BoyBlastFrame += 1;
    }
    if (BoyBlastFrame == BlastFrames) {
        BoyBlastFrame = 0;
        BoyBlastY = 0;
        SweepTransitCells();
    }
}
