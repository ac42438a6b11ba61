// The player's logic: death and exit checks first, then the keys held become one action -
// light dynamite, act in place (Ctrl), walk and collect, pass a door, enter the exit, push a stone.
// Groups are tried in a fixed order and, inside a group, right, left, up, down.
#include <cmath>

#include "audio/sound.h"
#include "game/scans.h"
#include "game/state.h"
#include "input/keyboard.h"

namespace {

constexpr double KeyRight = 205, KeyLeft = 203, KeyUp = 200, KeyDown = 208;
constexpr double KeyCtrl = 29, KeySpace = 57;

constexpr double PoseIdle = 0;
constexpr double PosePushRight = 10, PosePushLeft = 11;
constexpr double PoseGone = 15;
constexpr double MoverPushedRight = 10, MoverPushedLeft = 11;

struct Direction {
    double scanCode;
    double offset;    // cell index step towards the neighbour
    double walkPose;  // 1..4
    double actPose;   // 5..8
};

constexpr Direction kDirections[4] = {
    {KeyRight, 1, 1, 5},
    {KeyLeft, -1, 2, 6},
    {KeyUp, -20, 3, 7},
    {KeyDown, 20, 4, 8},
};

bool Held(double scanCode) { return KeyState(scanCode) != 0; }
void PlayEffect(double sound) { PlaySound(sound, 0, 1); }

bool IsGemOrSaphir(double code) { return code == CellGem || code == CellSaphir; }
bool IsKey(double code) { return code == CellKey1 || code == CellKey2 || code == CellKey3; }
bool IsDynamiteStick(double code) { return code == CellDynamite; }
bool IsEarth(double code) { return code == CellEarth; }
bool IsDoor(double code) { return code >= CellDoor3 && code <= CellDoor1; }
bool IsOpenExit(double code) { return code == CellExit && GemsNeeded <= 0; }
bool IsWalkable(double code) { return code == CellEmpty || code == CellEarth; }

// The first held direction whose neighbour holds a code of the group, or none.
const Direction* FirstHeldTowards(double here, bool (*inGroup)(double)) {
    for (const Direction& dir : kDirections)
        if (Held(dir.scanCode) && inGroup(Cave[here + dir.offset])) return &dir;
    return nullptr;
}

// The walk group of empty space and earth also lets the player step down into lava.
const Direction* FirstHeldWalkable(double here) {
    for (const Direction& dir : kDirections) {
        if (!Held(dir.scanCode)) continue;
        double code = Cave[here + dir.offset];
        if (IsWalkable(code) || (dir.offset == 20 && code == CellLava)) return &dir;
    }
    return nullptr;
}

void FinishPlayer() {
    PlayerPose = PoseGone;
    ShowEscapeHint = 1;
    PlayerBusy = 1;
    LevelOver = 1;
}

void KillWithBlast() {
    FinishPlayer();
    BoyBlastX = PlayerX;
    BoyBlastY = PlayerY;
    PlaySound(SoundBumm, 0, 1);
}

void StartCircleAt(double cell) {
    CircleAnimX = CellPixelX(cell);
    CircleAnimY = CellPixelY(cell);
}

void StartDiggingAt(double cell) {
    ErdAnimX = CellPixelX(cell);
    ErdAnimY = CellPixelY(cell);
}

void TakeKey(double code) {
    if (code == CellKey1) KeyHeld1 = 1;
    if (code == CellKey2) KeyHeld2 = 1;
    if (code == CellKey3) KeyHeld3 = 1;
}

void TakeGemOrSaphir(double cell) {
    MoverKind[cell] = 0;
    MoverStep[cell] = 0;
    Score += 5;
    GemsNeeded -= 1;
    StartCircleAt(cell);
}

void MoveIn(double here, double target, const Direction& dir) {
    Cave[target] = CellPlayer;
    Cave[here] = CellEmpty;
    PlayerPose = dir.walkPose;
}

// Returns true when the player's own cell or a neighbour ended the player's turn.
bool CheckOwnCell(double here) {
    double code = Cave[here];
    if (code == CellBlastToSaphir || code == CellBlastToGem) {
        KillWithBlast();
        return true;
    }
    for (const Direction& dir : kDirections) {
        if (IsDeadlyNeighbour(Cave[here + dir.offset])) {
            KillWithBlast();
            Cave[here] = CellEmpty;
            return true;
        }
    }
    if (code == CellTransit || code == CellAnimalTransit) {
        KillWithBlast();
        Cave[here] = CellEmpty;
        return true;
    }
    if (code == CellLava) {
        FinishPlayer();
        return true;
    }
    if (IsDoor(code)) {
        // Halfway through a door: the unchanged pose carries the figure on.
        PlayEffect(SoundDoor);
        return true;
    }
    return false;
}

bool CheckExitReached(double here) {
    if (Cave[here] != CellExit) return false;
    SaveLevelResult();
    FinishPlayer();
    return true;
}

bool TryLightDynamite() {
    if (!Held(KeySpace) || PlayerPose != PoseIdle || FrameTick != 0 || DynaLit != 0 ||
        DynamiteCount <= 0)
        return false;
    DynaX = PlayerX;
    DynaY = PlayerY;
    DynaLit = 1;
    DynamiteCount -= 1;
    PlayEffect(SoundDyna);
    return true;
}

// ---- Ctrl held: act on a neighbour without moving ------------------------------------------

bool ActInPlace(double here) {
    if (const Direction* dir = FirstHeldTowards(here, IsDynamiteStick)) {
        double t = here + dir->offset;
        Cave[t] = CellEmpty;
        StartCircleAt(t);
        DynamiteCount += 1;
        Score += 2;
        PlayerPose = dir->actPose;
        PlayEffect(SoundKnip);
        return true;
    }
    if (const Direction* dir = FirstHeldTowards(here, IsKey)) {
        double t = here + dir->offset;
        TakeKey(Cave[t]);
        StartCircleAt(t);
        Score += 2;
        Cave[t] = CellEmpty;
        PlayerPose = dir->actPose;
        PlayEffect(SoundKnip);
        return true;
    }
    if (const Direction* dir = FirstHeldTowards(here, IsEarth)) {
        double t = here + dir->offset;
        Cave[t] = CellEmpty;
        StartDiggingAt(t);
        PlayerPose = dir->actPose;
        PlayEffect(SoundSuck);
        return true;
    }
    if (const Direction* dir = FirstHeldTowards(here, IsGemOrSaphir)) {
        double t = here + dir->offset;
        Cave[t] = CellEmpty;
        TakeGemOrSaphir(t);
        PlayerPose = dir->actPose;
        PlayEffect(SoundKnip);
        return true;
    }
    // Ctrl never walks; a player not yet marked in the cave (past a door) is not held back.
    if (Cave[here] == CellPlayer) {
        PlayerPose = PoseIdle;
        return true;
    }
    return false;
}

// ---- Walking, collecting on the way --------------------------------------------------------

bool WalkToGemOrSaphir(double here) {
    const Direction* dir = FirstHeldTowards(here, IsGemOrSaphir);
    if (!dir) return false;
    double t = here + dir->offset;
    MoveIn(here, t, *dir);
    TakeGemOrSaphir(t);
    PlayEffect(SoundSuck);
    return true;
}

bool WalkToKey(double here) {
    const Direction* dir = FirstHeldTowards(here, IsKey);
    if (!dir) return false;
    double t = here + dir->offset;
    TakeKey(Cave[t]);
    StartCircleAt(t);
    Score += 2;
    MoveIn(here, t, *dir);
    PlayEffect(SoundKnip);
    return true;
}

bool WalkToDynamite(double here) {
    const Direction* dir = FirstHeldTowards(here, IsDynamiteStick);
    if (!dir) return false;
    double t = here + dir->offset;
    MoveIn(here, t, *dir);
    StartCircleAt(t);
    DynamiteCount += 1;
    Score += 2;
    PlayEffect(SoundKnip);
    return true;
}

// The exit cell keeps its code; the next call finds the player standing in it.
bool WalkIntoExit(double here) {
    const Direction* dir = FirstHeldTowards(here, IsOpenExit);
    if (!dir) return false;
    Cave[here] = CellEmpty;
    PlayerPose = dir->walkPose;
    PlayEffect(SoundExit);
    return true;
}

bool DoorKeyHeld(double door) {
    if (door == CellDoor1) return KeyHeld1 == 1;
    if (door == CellDoor2) return KeyHeld2 == 1;
    return KeyHeld3 == 1;
}

// The walk crosses the door cell into the cell beyond; neither is marked with the player.
bool WalkThroughDoor(double here) {
    const Direction* dir = FirstHeldTowards(here, IsDoor);
    if (!dir) return false;
    double door = Cave[here + dir->offset];
    if (DoorKeyHeld(door) && Cave[here + 2 * dir->offset] == CellEmpty) {
        Cave[here] = CellEmpty;
        PlayerPose = dir->walkPose;
        PlayEffect(SoundDoor);
    } else {
        PlayerPose = PoseIdle;
    }
    return true;
}

bool WalkOrDig(double here) {
    const Direction* dir = FirstHeldWalkable(here);
    if (!dir) return false;
    double t = here + dir->offset;
    double code = Cave[t];
    if (code == CellEmpty) {
        MoveIn(here, t, *dir);
        PlayEffect(SoundMove);
    } else if (code == CellEarth) {
        MoveIn(here, t, *dir);
        StartDiggingAt(t);
        PlayEffect(SoundSuck);
    } else {
        // Lava below: the figure walks in and the next call ends the game.
        Cave[here] = CellEmpty;
        PlayerPose = dir->walkPose;
        PlayEffect(SoundFire);
    }
    return true;
}

// ---- Pushing a stone sideways ----------------------------------------------------------------

void PushStone(double here, double side, double moverDir, double pose) {
    double stone = here + side;
    MoverKind[stone] = 1;
    MoverDir[stone] = moverDir;
    MoverPixelX[stone] = PlayerX + side * TileSize;
    MoverPixelY[stone] = PlayerY;
    Cave[here] = CellEmpty;
    Cave[stone] = CellPlayer;
    PlayerPose = pose;
    PlayEffect(SoundPush);
}

// Only a stone that rests on something and has empty space beyond it moves.
bool TryPush(double here) {
    if (Cave[here + 1] == CellStone && Held(KeyRight) && FrameTick == 0) {
        if (Cave[here + 2] == CellEmpty && Cave[here + 21] > 0)
            PushStone(here, 1, MoverPushedRight, PosePushRight);
        else
            PlayerPose = PoseIdle;
        return true;
    }
    if (Cave[here - 1] == CellStone && Held(KeyLeft) && FrameTick == 0 &&
        Cave[here - 2] == CellEmpty && Cave[here + 19] > 0) {
        PushStone(here, -1, MoverPushedLeft, PosePushLeft);
        return true;
    }
    return false;
}

bool Walk(double here) {
    return WalkToGemOrSaphir(here) || WalkToKey(here) || WalkToDynamite(here) ||
           WalkIntoExit(here) || WalkThroughDoor(here) || WalkOrDig(here);
}

}  // namespace

void ScanTumbrelMan() {
    if (PlayerBusy > 0 || PlayerPose == PoseGone) return;
    double here = std::trunc(CellAt(PlayerX, PlayerY));
    if (CheckOwnCell(here) || CheckExitReached(here) || TryLightDynamite()) return;
    if (Held(KeyCtrl) && ActInPlace(here)) return;
    if (Walk(here) || TryPush(here)) return;
    PlayerPose = PoseIdle;
}
