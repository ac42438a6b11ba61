// The game's main routine: everything the game sets up once, then the menu.
#include "audio/sound.h"
#include "core/errors.h"
#include "core/media_archive.h"
#include "game/data_files.h"
#include "game/menu.h"
#include "game/session.h"
#include "game/state.h"
#include "gfx/fonts.h"
#include "gfx/frame.h"
#include "gfx/sprites.h"
#include "input/keyboard.h"

int StartLevelAtOnce = 0;

namespace {

struct StripFile {
    double slot;
    const char* file;
};

// Slots 24 and 25 stay empty.
const StripFile kStrips[] = {
    {1, "Media/Sprites.png"},    {2, "Media/AstroR.png"},    {3, "Media/AstroL.png"},
    {4, "Media/AstroU.png"},     {5, "Media/AstroD.png"},    {6, "Media/ErdStrip.png"},
    {7, "Media/Circle.png"},     {8, "Media/Dynamite.png"},  {9, "Media/PushR.png"},
    {10, "Media/PushL.png"},     {11, "Media/Exit.png"},     {12, "Media/Lava.png"},
    {13, "Media/StoneR.png"},    {14, "Media/StoneL.png"},   {15, "Media/Blink.png"},
    {16, "Media/Quish.png"},     {17, "Media/Explos.png"},   {18, "Media/BugR.png"},
    {19, "Media/BugL.png"},      {20, "Media/BugU.png"},     {21, "Media/BugD.png"},
    {22, "Media/BugStripR.png"}, {23, "Media/BugStripL.png"}, {26, "Media/WaxStrip.png"},
    {27, "Media/YamYam.png"},    {28, "Media/Saphir.png"},   {29, "Media/Elec.png"},
};

struct SoundFile {
    double slot;
    const char* file;
    double voices;
};

const SoundFile kSounds[] = {
    {1, "Media/Move.wav", 2},  {2, "Media/Suck.wav", 2},  {3, "Media/Dyna.wav", 2},
    {4, "Media/Bumm.wav", 2},  {5, "Media/Knip.wav", 2},  {6, "Media/Push.wav", 2},
    {7, "Media/Exit.wav", 2},  {8, "Media/Door.wav", 2},  {9, "Media/Fels.wav", 2},
    {10, "Media/Fire.wav", 2}, {11, "Media/Gems.wav", 2}, {12, "Media/Quik.wav", 2},
    {13, "Media/Open.wav", 2}, {14, "Media/Bell.wav", 2}, {15, "Media/Grow.wav", 2},
    {16, "Media/Disk.wav", 2}, {25, "Media/Stop.wav", 1}, {26, "Media/Klic.wav", 1},
};

// The line under the title, kept as character codes lowered by an offset.
constexpr double kMenuLineOffset = 32;
const char kMenuLineText[] = "  DIG DEEP, RUN ";

}  // namespace

void LoadGameMedia() {
    for (const StripFile& strip : kStrips) LoadAnimStrip(strip.file, strip.slot, 16, 16);
    for (const SoundFile& sound : kSounds) LoadSound(sound.file, sound.slot, sound.voices);
    LoadFont("Media/zFont.png", 1);
}

void Formation() {
    for (double i = 0; i <= 15; i++) {
        RtString piece;
        CharFromCode(piece, MenuLineSource[i] + kMenuLineOffset);
        StrAppend(MenuLine.raw(), piece);
        StrRelease(piece);
    }
}

void ReadGameData() {
    LoadMapCount();
    Formation();
    LoadPlayer();
    LoadNsData();
    LoadHsData();
    MakeString();
    MakeGems();
    PlayerNameFromBytes();
}

// A save folder that cannot be made ends the game before anything is played that could not be kept.
static void FindSaveFiles() {
    std::string error;
    if (SetUpSaveFiles(SaveResultsAtExit, error)) return;
    RecordErrorDetail(ErrFileTransfer, error);
    RuntimeErrorExit();
}

// MenuLineSource is game data: the line's codes lowered by the offset.
static void FillMenuLineSource() {
    for (int i = 0; i < 16; ++i) MenuLineSource[i] = static_cast<unsigned char>(kMenuLineText[i]) - kMenuLineOffset;
}

void TumbrelMain() {
    SetEscapeQuits(0);
    SetMediaArchive("Media.sbx", "");
    CreateGameTables();
    FillMenuLineSource();
    RegisterGameRoutines();
    LoadGameMedia();
    ShowMousePointer(0);
    SetFrameLimit(60);
    SetFont(1);
    FindSaveFiles();
    ReadGameData();
    StartCountingFrames();
    if (StartLevelAtOnce > 0) {
        CurrentLevel = StartLevelAtOnce;
        NoteLevelStarted();
        StartLevel();
        NoteLevelLeft();
        EndProgram();
    }
    MainMenu();
    EndProgram();
}
