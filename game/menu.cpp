// The main menu, name entry and the high-score screen. The menu reads held keys, not presses:
// Return still held when a level, the name entry or the score screen ends acts again at once.
#include "audio/sound.h"
#include "game/menu.h"
#include "game/session.h"
#include "game/state.h"
#include "gfx/fonts.h"
#include "gfx/frame.h"
#include "gfx/sprites.h"
#include "input/keyboard.h"

namespace {

constexpr double kTopItemY = 64;      // "LEVELS "
constexpr double kPlayerItemY = 80;   // "PLAYER "
constexpr double kScoreItemY = 96;    // "HSCORE "
constexpr double kHomeItemY = 112;    // "GOHOME "
constexpr double kHighestLevel = 50;

void PrintLabelled(const char* label, const RtString& value, double x, double y) {
    RtString line;
    StrConcat(line, label, value);
    PrintText(line, x, y);
    StrRelease(line);
}

void PrintLabelledNumber(const char* label, double value, double x, double y) {
    RtString line;
    StrConcat(line, label, value);
    PrintText(line, x, y);
    StrRelease(line);
}

bool Held(double scanCode) { return KeyState(scanCode) != 0; }

// Right climbs only while the level below has a score: the tables are the record of progress.
void ChangeLevel(double step) {
    MenuKeyRepeat = MenuKeyRepeat + 1;
    if (MenuKeyRepeat < 4) return;
    MenuKeyRepeat = 0;
    if (step > 0 && HsScores[(CurrentLevel - 1) * 8] > 0) CurrentLevel = CurrentLevel + 1;
    if (step < 0) CurrentLevel = CurrentLevel - 1;
}

void PlayChosenLevel() {
    NoteLevelStarted();
    StartLevel();
    NoteLevelLeft();
    LoadPicture("Media/Menu.png");
}

// Verification runs (headless, replays) leave the player's files as they were.
void GoHome() {
    if (!SaveResultsAtExit) return;
    SavePlayer();
    SaveMapCount();
}

// The first rule that applies acts; true when the menu is to be left.
bool MenuKeys() {
    if (Held(ScanDown) && MenuCursorY < kHomeItemY && MenuCursorMotion == 0) {
        MenuCursorMotion = 1;
        MenuAnimFrame = 0;
    } else if (Held(ScanUp) && MenuCursorY > kTopItemY && MenuCursorMotion == 0) {
        MenuCursorMotion = 2;
        MenuAnimFrame = 0;
    } else if (Held(ScanRight) && MenuCursorY == kTopItemY && CurrentLevel < kHighestLevel) {
        ChangeLevel(+1);
    } else if (Held(ScanLeft) && MenuCursorY == kTopItemY && CurrentLevel > 1) {
        ChangeLevel(-1);
    } else if (Held(ScanReturn) && MenuCursorY == kPlayerItemY) {
        PlaySound(24, 0, 1);
        TypeName();
    } else if (Held(ScanReturn) && MenuCursorY == kTopItemY) {
        PlayChosenLevel();
    } else if (Held(ScanReturn) && MenuCursorY == kScoreItemY) {
        PlaySound(22, 0, 1);
        ShowHighScore();
    } else if (Held(ScanReturn) && MenuCursorY == kHomeItemY) {
        GoHome();
        return true;
    }
    return false;
}

bool IsSmallLetter(const RtStr& text) {
    return StrCompare(CmpOp::Ge, text.raw(), "a") != 0 && StrCompare(CmpOp::Le, text.raw(), "z") != 0;
}

}  // namespace

void DrawMenuTexts() {
    PrintText("TUMBREL 2009", 64, 16);
    PrintText(MenuLine.raw(), 32, 32);
    PrintLabelledNumber("LEVELS ", CurrentLevel, 64, 64);
    PrintLabelled("PLAYER ", PlayerName.raw(), 64, 80);
    PrintText("HSCORE ", 64, 96);
    PrintText("GOHOME ", 64, 112);
    PrintText("PILCROW GAME", 64, 224);
}

void ElectronAnimation() {
    if (MenuCursorMotion == 1) MenuCursorY = MenuCursorY + 2;
    if (MenuCursorMotion == 2) MenuCursorY = MenuCursorY - 2;
    DrawAnimFrame(StripElec, MenuAnimFrame, MenuCursorX, MenuCursorY);
    MenuAnimFrame = MenuAnimFrame + 1;
    if (MenuAnimFrame == 8) {
        MenuAnimFrame = 0;
        MenuCursorMotion = 0;
    }
}

void MainMenu() {
    LoadPicture("Media/Menu.png");
    for (;;) {
        DrawMenuTexts();
        ElectronAnimation();
        if (MenuKeys()) return;
        PresentFrame();
        SleepMs(35);
    }
}

void TypeName() {
    PlayerName = "";
    for (;;) {
        if (Held(ScanSpace)) return;
        DrawMenuTexts();
        ElectronAnimation();
        TypedText = ReadTypedChar();
        if (IsSmallLetter(TypedText) && StrLen(PlayerName.raw()) < 8) {
            StrAppend(PlayerName.raw(), TypedText.raw());
            PlaySound(SoundKlic, 0, 1);
        } else if (Held(ScanBackspace) || Held(ScanTab)) {
            PlayerName = "";
            TypedText = "";
            PlaySound(SoundStop, 0, 1);
        }
        PresentFrame();
        SleepMs(50);
    }
}

void ShowHighScore() {
    for (;;) {
        double base = (CurrentLevel - 1) * 8;
        PrintText("HIGHSCORE", 88, 0);
        for (double n = 1; n <= 8; n++) {
            RtString place;
            StrConcat(place, n, ".");
            PrintText(place, 48, 32 + (n - 1) * 16);
            StrRelease(place);
        }
        for (double r = 0; r <= 7; r++) {
            StrAssign(ShowRowNames[r], HsNames[base + r]);
            PrintText(ShowRowNames[r], 80, 32 + r * 16);
        }
        for (double r = 0; r <= 7; r++) PrintNumber(HsScores[base + r], 224, 32 + r * 16);
        PrintText("PRESS SPACE BAR", 40, 222);
        PresentFrame();
        if (KeyState(ScanSpace) == 1) return;
        SleepMs(50);
    }
}
