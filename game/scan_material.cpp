// Falling and rolling: stones, gems and saphirs under gravity. ScanMaterial decides falls and
// landings (rows bottom-up, so a freed cell is seen by the piece above in the same step),
// ScanRolling decides rolls off round cells; MatAnimation carries the pictures and ends the moves.
#include "audio/sound.h"
#include "game/scans.h"
#include "game/state.h"

namespace {

struct Material {
    double moverKind;
    double restingCode;
    double fallingCode;
    double landingSound;
};

constexpr Material kStone{1, CellStone, CellStoneFalling, SoundFels};
constexpr Material kGem{2, CellGem, CellGemFalling, SoundGems};
constexpr Material kSaphir{3, CellSaphir, CellSaphirFalling, SoundQuik};

constexpr double MoverAtRest = 0;
constexpr double MoverFalling = 1;
constexpr double MoverRollingRight = 2;
constexpr double MoverRollingLeft = 3;
constexpr double MoverSaphirCrushed = 4;

void PlayEffect(double sound) { PlaySound(sound, 0, 1); }

// The mover record of the scanned cell, its picture on the cell's own corner.
void SetMover(double kind, double dir) {
    MoverKind[ScanIndex] = kind;
    MoverDir[ScanIndex] = dir;
    MoverPixelX[ScanIndex] = ScanX * TileSize;
    MoverPixelY[ScanIndex] = ScanY * TileSize;
}

// The cell below is reserved for the 16 frames the picture needs to get there.
void StartFall(const Material& m) {
    Cave[ScanIndex + 20] = CellTransit;
    Cave[ScanIndex] = CellEmpty;
    SetMover(m.moverKind, MoverFalling);
}

// The lava below stays; the piece hisses now and again when its picture reaches the lava.
void Sink(const Material& m) {
    Cave[ScanIndex] = CellEmpty;
    SetMover(m.moverKind, MoverFalling);
    PlayEffect(SoundFire);
}

void Rest(const Material& m) { SetMover(m.moverKind, MoverAtRest); }

void Land(const Material& m) {
    Cave[ScanIndex] = m.restingCode;
    Rest(m);
    PlayEffect(m.landingSound);
}

void Crush() {
    Cave[ScanIndex] = CellEmpty;
    SetMover(MoverSaphirCrushed, MoverAtRest);
    PlayEffect(SoundQuik);
}

// A piece at rest falls only into empty space: a stone on the player's head stays there.
void RestingPieceStep(const Material& m) {
    double below = Cave[ScanIndex + 20];
    if (below == CellEmpty)
        StartFall(m);
    else if (below == CellLava)
        Sink(m);
    else
        Rest(m);
}

// A piece already falling also falls into the player.
void FallingPieceStep(const Material& m) {
    double below = Cave[ScanIndex + 20];
    if (below == CellEmpty || below == CellPlayer)
        StartFall(m);
    else if (below == CellLava)
        Sink(m);
    else
        Land(m);
}

void MaterialStep(double code) {
    if (code == CellStone) RestingPieceStep(kStone);
    else if (code == CellStoneFalling) FallingPieceStep(kStone);
    else if (code == CellGem) RestingPieceStep(kGem);
    else if (code == CellGemFalling) FallingPieceStep(kGem);
    else if (code == CellSaphir && Cave[ScanIndex - 20] == CellStoneFalling) Crush();
    else if (code == CellSaphir) RestingPieceStep(kSaphir);
    else if (code == CellSaphirFalling) FallingPieceStep(kSaphir);
}

bool FreeToRollRight() { return Cave[ScanIndex + 1] == CellEmpty && Cave[ScanIndex + 21] == CellEmpty; }
bool FreeToRollLeft() { return Cave[ScanIndex - 1] == CellEmpty && Cave[ScanIndex + 19] == CellEmpty; }

// Right is tried first; left only when the right side or the cell below it is taken.
void RollStep(double kind) {
    if (!IsRound(Cave[ScanIndex + 20])) return;
    if (FreeToRollRight())
        StartRoll(kind, MoverRollingRight);
    else if (FreeToRollLeft())
        StartRoll(kind, MoverRollingLeft);
}

}  // namespace

void ScanMaterial() {
    if (FrameTick > 0) return;
    for (ScanY = 14; ScanY >= 1; ScanY--) {
        for (ScanX = 1; ScanX <= 19; ScanX++) {
            ScanIndex = ScanY * CaveWidth + ScanX;
            MaterialStep(Cave[ScanIndex]);
        }
    }
}

void ScanRolling() {
    if (FrameTick > 0) return;
    for (ScanY = 1; ScanY <= 14; ScanY++) {
        for (ScanX = 1; ScanX <= 19; ScanX++) {
            ScanIndex = ScanY * CaveWidth + ScanX;
            double code = Cave[ScanIndex];
            if (code == CellStone) RollStep(kStone.moverKind);
            else if (code == CellGem) RollStep(kGem.moverKind);
            else if (code == CellSaphir) RollStep(kSaphir.moverKind);
        }
    }
}

// Both the side cell and the cell below it are reserved; MatAnimation frees the lower one.
void StartRoll(double kind, double dir) {
    if (dir == MoverRollingRight) {
        Cave[ScanIndex + 21] = CellTransit;
        Cave[ScanIndex + 1] = CellTransit;
    } else {
        Cave[ScanIndex + 19] = CellTransit;
        Cave[ScanIndex - 1] = CellTransit;
    }
    Cave[ScanIndex] = CellEmpty;
    SetMover(kind, dir);
}
