// The real program from its command line: headless level runs, the frame limit, screenshots,
// the dump and the result line, replays, start-up with missing files or only the shipped media.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "audio/sound.h"
#include "core/media_archive.h"
#include "game/menu.h"
#include "game/state.h"
#include "gfx/fonts.h"
#include "gfx/picture.h"
#include "gfx/sprites.h"
#include "tests/support/recording_renderer.h"
#include "tests/support/recording_sound_device.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_files.h"

namespace {

std::string Program() { return BuildDirectory() + "/tumbrel"; }

ProgramRun RunTumbrel(const std::vector<std::string>& arguments, const std::string& program = Program(),
                      const std::string& workingDirectory = "") {
    return RunProgram(program, arguments, workingDirectory, 120, {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"});
}

// A private copy of the program with the data files given, so a test can take some away.
class ProgramCopy {
public:
    explicit ProgramCopy(const std::vector<std::string>& mapFiles) {
        WriteFileBytes(dir_.File("tumbrel"), ReadFileBytes(Program()));
        chmod(dir_.File("tumbrel").c_str(), 0755);
        mkdir(dir_.File("Maps").c_str(), 0755);
        for (const std::string& name : mapFiles)
            WriteFileBytes(dir_.File("Maps/" + name), ReadFileBytes(BuildDirectory() + "/Maps/" + name));
    }
    std::string program() const { return dir_.File("tumbrel"); }
    std::string File(const std::string& name) const { return dir_.File(name); }

private:
    ScopedTempDir dir_;
};

const std::vector<std::string> kAllData = {"LevC.bin", "Player.bin", "Name.bin", "Data.bin", "Map1-1.bin"};

std::string JsonValue(const std::string& json, const std::string& name) {
    size_t at = json.find("\"" + name + "\": ");
    if (at == std::string::npos) return "(missing)";
    at += name.size() + 4;
    return json.substr(at, json.find_first_of(",\n", at) - at);
}

TEST(Program, FramesCountFromTheFirstFrameOfTheLevel) {
    ScopedTempDir dir;
    // Files named on the command line are the caller's, though the program works in its own folder.
    ProgramRun run = RunTumbrel({"--headless", "--level", "1", "--frames", "49", "--dump", "d.json", "--screenshot", "1:s.png"},
                                Program(), dir.path());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("result: running level=1 frame=49 score=0 gems=34 time=299\n"), std::string::npos)
        << run.out;
    std::string dump = ReadFileText(dir.File("d.json"));
    EXPECT_EQ(JsonValue(dump, "TimeLeft"), "299");
    EXPECT_EQ(JsonValue(dump, "outcome"), "\"running\"");
    EXPECT_NE(dump.find("[16, 16, 16"), std::string::npos) << "the cave rows";
    Picture picture;
    ASSERT_TRUE(DecodePngFile(dir.File("s.png"), 0xFFFFFFFF, picture));
    EXPECT_EQ(picture.width, 320);
    EXPECT_EQ(picture.height, 240);

    run = RunTumbrel({"--headless", "--level", "1", "--frames", "48", "--dump", dir.File("d.json")});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(JsonValue(ReadFileText(dir.File("d.json")), "TimeLeft"), "300");
}

// A headless run draws only the frames it saves; every other frame still runs its drawing
// commands. Its screenshots match those of a run that draws every frame (one saved each frame).
TEST(Program, ScreenshotsOfAnUndrawnRunMatchThoseOfARunThatDrawsEveryFrame) {
    ScopedTempDir dir;
    const struct {
        const char* name;
        const char* keys;  // the cursor on its way down the menu; the player digging its way right
        int frame;
    } cases[] = {{"menu", "start menu\nframe 2 keys 208\nframe 3 keys\n", 6},
                 {"cave", "start level 1\nframe 0 keys 205\n", 24}};
    for (const auto& c : cases) {
        const std::string replay = dir.File(std::string(c.name) + ".txt");
        WriteFileText(replay, std::string("tumbrel-replay 1\nseed 3\n") + c.keys + "end 30\n");
        const std::string alone = dir.File(std::string(c.name) + "-alone.png");
        std::vector<std::string> everyFrame = {"--headless", "--replay", replay};
        for (int frame = 0; frame <= c.frame; ++frame)
            everyFrame.insert(everyFrame.end(), {"--screenshot", std::to_string(frame) + ":" + dir.File(std::to_string(frame) + ".png")});
        ASSERT_EQ(RunTumbrel({"--headless", "--replay", replay, "--screenshot", std::to_string(c.frame) + ":" + alone}).exitStatus, 0);
        ASSERT_EQ(RunTumbrel(everyFrame).exitStatus, 0);
        Picture undrawn, drawn;
        ASSERT_TRUE(DecodePngFile(alone, 0xFFFFFFFF, undrawn)) << c.name;
        ASSERT_TRUE(DecodePngFile(dir.File(std::to_string(c.frame) + ".png"), 0xFFFFFFFF, drawn)) << c.name;
        EXPECT_TRUE(undrawn.rgba == drawn.rgba) << c.name;
        EXPECT_GT(std::count_if(drawn.rgba.begin(), drawn.rgba.end(), [](uint8_t v) { return v > 64; }), 20000) << c.name;
    }
}

std::string ResultOf(const ProgramRun& run) {
    size_t at = run.out.find("result: ");
    return at == std::string::npos ? "(no result line)" : run.out.substr(at);
}

// Live keys cannot reach a headless run, so the keys of a replay are recorded again. A run that
// ends inside a frame (Escape; Alt+F4 read before the frame is shown) ends on that frame's keys.
TEST(Program, ARecordingReplaysToTheSameResultAndState) {
    ScopedTempDir dir;
    WriteFileText(dir.File("esc.txt"), "tumbrel-replay 1\nseed 7\nstart level 1\nframe 0 keys 205\nframe 20 keys 1\nend 90\n");
    WriteFileText(dir.File("alt.txt"), "tumbrel-replay 1\nseed 7\nstart level 1\nframe 10 keys 56 62\nend 90\n");
    const struct {
        std::vector<std::string> arguments;
        const char* result;
    } cases[] = {
        {{"--level", "1", "--seed", "5", "--frames", "30"}, "result: running level=1 frame=30 "},
        {{"--replay", dir.File("esc.txt")}, "result: escape level=1 frame=20 "},
        {{"--replay", dir.File("alt.txt")}, "result: running level=1 frame=9 "},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"--headless", "--record", dir.File("r.txt"), "--dump", dir.File("a.json")};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        ProgramRun recorded = RunTumbrel(arguments);
        ASSERT_EQ(recorded.exitStatus, 0) << recorded.err;
        EXPECT_EQ(ResultOf(recorded).rfind(c.result, 0), 0u) << recorded.out;
        EXPECT_NE(ReadFileText(dir.File("r.txt")).find("start level 1\nlevel-crc32 "), std::string::npos);
        ProgramRun replayed = RunTumbrel({"--headless", "--replay", dir.File("r.txt"), "--dump", dir.File("b.json")});
        ASSERT_EQ(replayed.exitStatus, 0) << replayed.err;
        EXPECT_EQ(ResultOf(replayed), ResultOf(recorded));
        EXPECT_EQ(ReadFileText(dir.File("a.json")), ReadFileText(dir.File("b.json")));
    }
}

// Bad input is refused at the start (status 2); what a run cannot deliver fails it at the end
// (status 1), with its other outputs and the result line still written.
TEST(Program, BadRunsAreRefusedOrFailWithTheReason) {
    ScopedTempDir dir;
    WriteFileText(dir.File("bad.txt"), "tumbrel-replay 1\nframe 3 keys 999\n");
    WriteFileText(dir.File("crc.txt"), "tumbrel-replay 1\nstart level 1\nlevel-crc32 00000000\nend 5\n");
    WriteFileText(dir.File("esc.txt"), "tumbrel-replay 1\nstart level 1\nframe 3 keys 1\nend 50\n");
    const std::string level = "--level=1", frames = "--frames=5", unwritable = "2:" + dir.File("no/s.png");
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string message;
    } cases[] = {
        {{"--replay", dir.File("bad.txt")}, 2, "bad.txt: line 2: scan codes"},
        {{"--replay", dir.File("crc.txt")}, 2, "another version of"},
        {{"--replay", dir.File("missing.txt")}, 2, "cannot read the replay"},
        {{"--replay", dir.File("crc.txt"), "--record", dir.File("crc.txt")}, 2, "would overwrite the replay"},
        {{level, frames, "--screenshot", unwritable}, 1, "cannot save the screenshot " + dir.File("no/s.png") + ": "},
        {{"--replay", dir.File("esc.txt"), "--screenshot", "3:" + dir.File("s.png")}, 1,
         "the screenshot " + dir.File("s.png") + " was not taken: the run ended after 3 frames, before frame 3\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"--headless", "--dump", dir.File("d.json")};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        std::remove(dir.File("d.json").c_str());
        ProgramRun run = RunTumbrel(arguments);
        EXPECT_EQ(run.exitStatus, c.status) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out.find("result: ") != std::string::npos, c.status == 1) << run.out;
        EXPECT_EQ(FileExists(dir.File("d.json")), c.status == 1) << c.message;
    }
}

// The rules look one cell beyond what they move: a damaged cave still ends in error 9, but the
// message names the file and the damage, at load where the first step is sure to hit it. A
// missing data file is error 3 and named.
TEST(Program, ADamagedLevelOrAMissingFileEndsWithAnErrorNamingTheFile) {
    const struct {
        int column, row, code, status;
        const char* message;
    } cases[] = {
        {-1, -1, 1, 9, "runtime error 9: ./Maps/Map1-1.bin is damaged: no player (code 20) inside the outer wall\n"},
        {5, 14, 2, 9, "runtime error 9: ./Maps/Map1-1.bin is damaged: a stone, gem or saphir in the bottom row"},
        {5, 14, 21, 9, " out of range (./Maps/Map1-1.bin is damaged: the outer wall is open at column 5, row 14)\n"},
        {5, 14, 0, 3, "Data.bin"},
    };
    for (const auto& c : cases) {
        ProgramCopy copy(kAllData);
        std::vector<unsigned char> level = ReadFileBytes(copy.File("Maps/Map1-1.bin"));
        // Column -1: wherever the player starts.
        const auto player = std::find(level.begin(), level.begin() + 600, 20) - level.begin();
        level[c.column < 0 ? player : c.row * 40 + c.column] = static_cast<unsigned char>(c.code);
        if (c.status == 9) WriteFileBytes(copy.File("Maps/Map1-1.bin"), level);
        else std::remove(copy.File("Maps/Data.bin").c_str());
        ProgramRun run = RunTumbrel({"--headless", "--level", "1", "--frames", "5"}, copy.program());
        EXPECT_EQ(run.exitStatus, c.status) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        if (c.status == 9) {
            EXPECT_NE(run.out.find("result: running level=1 frame=0 "), run.out.npos) << run.out;
        }
    }
}

// Brightness of the earth cell right of the player's start in level 1, from a screenshot.
int EarthCellBrightness(const std::string& screenshot) {
    Picture picture;
    if (!DecodePngFile(screenshot, 0xFFFFFFFF, picture)) return -1;
    int sum = 0;
    for (int y = 16; y < 32; ++y)
        for (int x = 32; x < 48; ++x)
            for (int c = 0; c < 3; ++c) sum += picture.rgba[(y * picture.width + x) * 4 + c];
    return sum;
}

// Without media the game runs on, drawing nothing; with only the archive the cave is drawn.
TEST(Program, WithoutMediaNothingIsDrawnAndWithOnlyTheArchiveTheCaveIs) {
    ProgramCopy copy(kAllData);
    const std::vector<std::string> run = {"--headless", "--level", "1", "--frames", "8",
                                          "--dump", copy.File("d.json"), "--screenshot",
                                          "5:" + copy.File("s.png")};
    EXPECT_EQ(RunTumbrel(run, copy.program()).exitStatus, 0);
    EXPECT_EQ(JsonValue(ReadFileText(copy.File("d.json")), "level"), "1");
    EXPECT_EQ(EarthCellBrightness(copy.File("s.png")), 0) << "no tiles, nothing drawn";
    EXPECT_EQ(ReadFileBytes(copy.File("Maps/Data.bin")), ReadFileBytes(BuildDirectory() + "/Maps/Data.bin"));
    if (!FileExists(BuildDirectory() + "/Media.sbx")) GTEST_SKIP() << "the build made no Media.sbx";
    WriteFileBytes(copy.File("Media.sbx"), ReadFileBytes(BuildDirectory() + "/Media.sbx"));
    EXPECT_EQ(RunTumbrel(run, copy.program()).exitStatus, 0);
    EXPECT_GT(EarthCellBrightness(copy.File("s.png")), 16 * 16 * 30) << "the earth tile came from Media.sbx";
}

ino_t InodeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(Program, AVerificationRunSavesOnGoHomeOnlyWhenAsked) {
    ProgramCopy copy(kAllData);
    WriteFileText(copy.File("home.txt"),
                  "tumbrel-replay 1\nseed 1\nstart menu\n"
                  "frame 0 keys 208\nframe 1 keys\nframe 10 keys 208\nframe 11 keys\n"
                  "frame 20 keys 208\nframe 21 keys\nframe 30 keys 28\nend 100\n");
    const ino_t before = InodeOf(copy.File("Maps/Player.bin"));
    const ino_t levelBefore = InodeOf(copy.File("Maps/LevC.bin"));
    ProgramRun run = RunTumbrel({"--headless", "--replay", copy.File("home.txt")}, copy.program());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("frame=30 "), std::string::npos) << "GOHOME ends the program: " << run.out;
    EXPECT_EQ(InodeOf(copy.File("Maps/Player.bin")), before) << "the player's file was left alone";

    run = RunTumbrel({"--headless", "--save", "--replay", copy.File("home.txt")}, copy.program());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(InodeOf(copy.File("Maps/Player.bin")), before) << "--save writes it anew";
    EXPECT_NE(InodeOf(copy.File("Maps/LevC.bin")), levelBefore) << "and the selected level";
    EXPECT_EQ(ReadFileBytes(copy.File("Maps/Player.bin")), std::vector<unsigned char>(8, 0));
}

TEST(Program, WithoutAWindowTheProgramStopsAndSaysSo) {
    ProgramRun run = RunProgram(Program(), {"--level", "1"}, "", 60, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("cannot run without a window"), std::string::npos) << run.err;
}

TEST(Program, HelpAndVersion) {
    ProgramRun run = RunTumbrel({"--help"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_NE(run.out.find("--replay FILE"), std::string::npos);
    run = RunTumbrel({"--version"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out.rfind("TUMBREL 2009 ", 0), 0u) << run.out;
}

// Start-up with the media the build made: every strip, sound and the font come out of Media.sbx
// into their slots; the slots the game leaves empty stay empty.
TEST(ShippedMedia, EveryStripSoundAndTheFontLoadFromTheArchive) {
    const std::string archive = BuildDirectory() + "/Media.sbx";
    if (!FileExists(archive)) GTEST_SKIP() << "the build made no Media.sbx";
    // Only the archive: nothing loose can stand in for an entry.
    ScopedTempDir dir;
    WriteFileBytes(dir.File("Media.sbx"), ReadFileBytes(archive));
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    RecordingRenderer renderer;
    RecordingSoundDevice sound;
    SetRenderBackend(&renderer);
    CreateSoundSlots();
    SetSoundDevice(&sound);
    CreateMediaArchiveSlots(dir.path());
    SetMediaArchive("Media.sbx", "");
    LoadGameMedia();

    for (int slot = 1; slot <= 29; ++slot) {
        const SpriteSlot* sprite = FindSpriteSlot(slot);
        ASSERT_NE(sprite, nullptr);
        if (slot == 24 || slot == 25)
            EXPECT_EQ(sprite->texture, 0u) << "slot " << slot << " stays empty";
        else
            EXPECT_TRUE(sprite->texture != 0 && sprite->frameWidth == 16 && sprite->height == 16) << "strip slot " << slot;
    }
    // Strips with other than 64 frames: a frame for every cell code, the blinking wall, the cursor.
    const int frames[][2] = {{StripTiles, 44}, {StripBlink, 32}, {StripBugTurnR, 64}, {StripElec, 8}};
    for (const auto& strip : frames) EXPECT_EQ(FindSpriteSlot(strip[0])->width, strip[1] * 16) << strip[0];
    const SpriteSlot* font = FindSpriteSlot(kFirstFontSpriteId + 1);
    ASSERT_NE(font, nullptr);
    EXPECT_GT(font->width, 128) << "zFont.png, not the built-in font";
    EXPECT_NE(font->texture, 0u);
    for (int id = 1; id <= 26; ++id)
        EXPECT_EQ(PlaySound(id, 0, 1) >= 0, id <= 16 || id == 25 || id == 26) << "sound slot " << id;

    ReleaseMediaArchiveSlots();
    DestroySoundSlots();
    ResetSpriteTable();
    SetRenderBackend(nullptr);
    EXPECT_EQ(chdir(here), 0);
}

}  // namespace
