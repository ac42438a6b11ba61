// Bugs and yam-yams. ScanAnimals decides, once per step, what every animal does next and reserves
// its cells; Animals carries each action out over the 16 frames of the step. Bugs keep a wall on
// their right-hand side and kill the player on contact; yam-yams walk straight, eat saphirs,
// wait and choose a new heading at random.
#include "audio/sound.h"
#include "core/random.h"
#include "game/scans.h"
#include "game/state.h"
#include "gfx/sprites.h"

namespace {

constexpr double StateBug = 1;
constexpr double StateYamYam = 3;
constexpr double MoveWait = 0;
constexpr double MoverSaphirEaten = 7;
constexpr double ActionFrames = 16;

// Indexed by heading 0..3 = right, left, up, down (code - 21 for bugs, code - 36 for yam-yams).
struct Heading {
    double ahead;          // cell offset of the cell in front
    double rightHandSide;  // cell offset of the bug's right-hand side
    double move;           // AnimalMove of a step ahead, 1..4
    double turnClockwise;  // AnimalMove of the bug's turn towards its right-hand side
    double turnAnticlockwise;
};

constexpr Heading kHeadings[4] = {
    {1, 20, 1, 5, -5},
    {-1, -20, 2, 7, -7},
    {-20, 1, 3, 8, -6},
    {20, -1, 4, 6, -8},
};

// What each bug turn leaves: the new heading code and the first frame of its picture run.
struct Turn {
    double newCode;
    double firstFrame;
};

const Turn& TurnFor(double move) {
    static const Turn kTurns[4] = {
        {CellBugDown, 0}, {CellBugLeft, 16}, {CellBugUp, 32}, {CellBugRight, 48}};
    static const Turn kAnticlockwiseTurns[4] = {
        {CellBugUp, 0}, {CellBugLeft, 16}, {CellBugDown, 32}, {CellBugRight, 48}};
    int n = static_cast<int>(move > 0 ? move : -move) - 5;
    return move > 0 ? kTurns[n] : kAnticlockwiseTurns[n];
}

bool IsBug(double code) { return code >= CellBugRight && code <= CellBugDown; }
bool IsYamYam(double code) { return code >= CellYamRight && code <= CellYamDown; }

void PlayEffect(double sound) { PlaySound(sound, 0, 1); }

void StartAction(double state, double move) {
    AnimalState[ScanIndex] = state;
    AnimalMove[ScanIndex] = move;
}

// ---- Bugs -------------------------------------------------------------------------------------

// Contact from any side, also from behind. Returns true when the player was there.
bool BugCatchesPlayer() {
    for (double offset : {1.0, -1.0, 20.0, -20.0}) {
        double target = ScanIndex + offset;
        if (Cave[target] != CellPlayer) continue;
        Cave[ScanIndex] = CellEmpty;
        Cave[target] = CellEmpty;
        PlayerPose = 15;
        ShowEscapeHint = 1;
        PlayerBusy = 1;
        LevelOver = 1;
        BoyBlastX = CellPixelX(target);
        BoyBlastY = CellPixelY(target);
        PlayEffect(SoundBumm);
        return true;
    }
    return false;
}

void BugStep(double code) {
    if (BugCatchesPlayer()) return;
    const Heading& h = kHeadings[static_cast<int>(code - CellBugRight)];
    double ahead = ScanIndex + h.ahead;
    if (AnimalTurned[ScanIndex] == 0 && Cave[ScanIndex + h.rightHandSide] == CellEmpty) {
        StartAction(StateBug, h.turnClockwise);
        AnimalTurned[ScanIndex] = 1;
    } else if (Cave[ahead] == CellEmpty) {
        Cave[ScanIndex] = CellAnimalTransit;
        Cave[ahead] = CellAnimalTransit;
        AnimalTurned[ScanIndex] = 0;
        StartAction(StateBug, h.move);
    } else if (code == CellBugDown && Cave[ahead] == CellLava) {
        Cave[ScanIndex] = CellAnimalTransit;
        AnimalTurned[ScanIndex] = 0;
        StartAction(StateBug, h.move);
        PlayEffect(SoundFire);
    } else {
        StartAction(StateBug, h.turnAnticlockwise);
        AnimalTurned[ScanIndex] = 1;
    }
}

// ---- Yam-yams ---------------------------------------------------------------------------------

// A yam-yam walks into the player too: the player dies finding 31 in its cell.
void YamYamStep(double code) {
    const Heading& h = kHeadings[static_cast<int>(code - CellYamRight)];
    double ahead = ScanIndex + h.ahead;
    double target = Cave[ahead];
    if (target == CellEmpty || target == CellPlayer) {
        Cave[ScanIndex] = CellAnimalTransit;
        Cave[ahead] = CellAnimalTransit;
        StartAction(StateYamYam, h.move);
    } else if (code == CellYamDown && target == CellLava) {
        Cave[ScanIndex] = CellAnimalTransit;
        StartAction(StateYamYam, h.move);
        PlayEffect(SoundFire);
    } else if (target == CellSaphir) {
        Cave[ahead] = CellEmpty;
        StartAction(StateYamYam, MoveWait);
        MoverKind[ahead] = MoverSaphirEaten;
        MoverDir[ahead] = 0;
        MoverPixelX[ahead] = CellPixelX(ahead);
        MoverPixelY[ahead] = CellPixelY(ahead);
        PlayEffect(SoundDisk);
    } else if (target > 0) {
        StartAction(StateYamYam, MoveWait);
    }
}

// ---- Carrying out the actions -------------------------------------------------------------------

struct MoveStep {
    double dx, dy;
    double strip;  // bug picture for this direction
};

constexpr MoveStep kMoveSteps[4] = {
    {1, 0, StripBugR}, {-1, 0, StripBugL}, {0, -1, StripBugU}, {0, 1, StripBugD}};

// Returns true on the frame the action completes.
bool AdvanceStep(double i) {
    AnimalStep[i] += 1;
    if (AnimalStep[i] < ActionFrames) return false;
    AnimalStep[i] = 0;
    AnimalState[i] = 0;
    return true;
}

void AdvanceMove(double i) {
    double move = AnimalMove[i];
    const MoveStep& step = kMoveSteps[static_cast<int>(move) - 1];
    bool bug = AnimalState[i] == StateBug;
    AnimalPixelX[i] += step.dx;
    AnimalPixelY[i] += step.dy;
    DrawAnimFrame(bug ? step.strip : double{StripYamYam}, AnimalStep[i], AnimalPixelX[i], AnimalPixelY[i]);
    if (!AdvanceStep(i)) return;
    double arrived = CellAt(AnimalPixelX[i], AnimalPixelY[i]);
    Cave[arrived - step.dx - step.dy * 20] = CellEmpty;
    // Downwards into lava the animal is gone; only the cell it left is freed.
    if (step.dy > 0 && Cave[arrived] == CellLava) return;
    Cave[arrived] = (bug ? CellBugRight : CellYamRight) + (move - 1);
}

void AdvanceTurn(double i) {
    const Turn& turn = TurnFor(AnimalMove[i]);
    double strip = AnimalMove[i] > 0 ? StripBugTurnR : StripBugTurnL;
    DrawAnimFrame(strip, turn.firstFrame + AnimalStep[i], AnimalPixelX[i], AnimalPixelY[i]);
    if (AdvanceStep(i)) Cave[i] = turn.newCode;
}

// After waiting the yam-yam picks any of the four headings, its old one included.
void AdvanceWait(double i) {
    DrawAnimFrame(StripYamYam, AnimalStep[i], AnimalPixelX[i], AnimalPixelY[i]);
    if (AdvanceStep(i)) Cave[i] = CellYamRight + RandomInt(3);
}

}  // namespace

void ScanAnimals() {
    if (FrameTick > 0) return;
    for (ScanY = 1; ScanY <= 14; ScanY++) {
        for (ScanX = 1; ScanX <= 19; ScanX++) {
            ScanIndex = ScanY * CaveWidth + ScanX;
            double code = Cave[ScanIndex];
            if (!IsBug(code) && !IsYamYam(code)) continue;
            if (IsBug(code))
                BugStep(code);
            else
                YamYamStep(code);
            AnimalPixelX[ScanIndex] = ScanX * TileSize;
            AnimalPixelY[ScanIndex] = ScanY * TileSize;
        }
    }
}

void Animals() {
    for (double i = 1; i <= 299; i++) {
        double state = AnimalState[i];
        if (state != StateBug && state != StateYamYam) continue;
        double move = AnimalMove[i];
        if (move >= 1 && move <= 4)
            AdvanceMove(i);
        else if (move == MoveWait)
            AdvanceWait(i);
        else
            AdvanceTurn(i);
    }
}
