// Verification runs without a window: the command line, replay files (their format, refusals,
// replaying and recording keys) and the headless runner's outcomes.
#include <gtest/gtest.h>

#include "game/options.h"
#include "game/replay.h"
#include "game/runner.h"
#include "game/state.h"
#include "input/keyboard.h"
#include "tests/game/game_files.h"
#include "tests/support/scripted_input.h"

namespace {

TEST(Options, AVerificationRunTakesEveryValueInBothSpellingsAndKeepsThePlayersFiles)
{
    Options shipped, options;
    std::string error;
    ASSERT_TRUE(ParseOptions({}, shipped, error));
    EXPECT_TRUE(MayWriteSaveFiles(shipped)) << "the game as shipped saves";
    ASSERT_TRUE(ParseOptions({"--headless", "--level", "3", "--seed=7", "--frames", "49",
                              "--screenshot", "10:a.png", "--screenshot=20:dir/b:c.png", "--dump",
                              "out.json", "--replay", "r.txt", "--scale", "2", "--volume=0", "--mute"},
                             options, error))
        << error;
    EXPECT_TRUE(options.headless && options.hasSeed && options.mute);
    EXPECT_EQ(options.seed, 7ul);
    EXPECT_EQ(std::vector<long>({options.level, options.frames, options.scale, options.volume}),
              std::vector<long>({3, 49, 2, 0}));
    ASSERT_EQ(options.screenshots.size(), 2u);
    EXPECT_EQ(options.screenshots[1].frame, 20);
    EXPECT_EQ(options.screenshots[1].path, "dir/b:c.png");
    EXPECT_EQ(options.dumpPath + " " + options.replayPath, "out.json r.txt");
    EXPECT_FALSE(MayWriteSaveFiles(options)) << "verification runs keep the player's files";
    options.save = true;
    EXPECT_TRUE(MayWriteSaveFiles(options));
}

TEST(Options, BadValuesAreRefusedWithTheOptionsName)
{
    const struct {
        std::vector<std::string> arguments;
        const char* expected;
    } cases[] = {
        {{"--level", "51"}, "--level needs"},
        {{"--level", "0"}, "--level needs"},
        {{"--scale", "x"}, "--scale needs"},
        {{"--scale", "0"}, "--scale needs"},
        {{"--frames", "0"}, "--frames needs"},
        {{"--volume", "101"}, "--volume needs"},
        {{"--seed", "-1"}, "--seed needs"},
        {{"--screenshot", "a:b.png"}, "--screenshot needs"},
        {{"--dump"}, "--dump needs a value"},
        {{"--fly"}, "unknown option \"--fly\""},
        {{"--headless=1"}, "unknown option"},
        {{"--frames", "5", "--screenshot", "5:s.png"}, "frame 5 is never shown with --frames 5"},
    };
    for (const auto& c : cases) {
        Options options;
        std::string error;
        EXPECT_FALSE(ParseOptions(c.arguments, options, error)) << c.arguments[0];
        EXPECT_NE(error.find(c.expected), std::string::npos) << "got: " << error;
    }
}

const char* kExample =
    "tumbrel-replay 1\n"
    "seed 12345\n"
    "start level 3\n"
    "level-crc32 5f0a9c1e\n"
    "\n"
    "# the player walks right, then digs\n"
    "frame 0 keys 205\n"
    "frame 16 keys 205 29\n"
    "frame 40 keys\n"
    "end 500\n";

bool Held(InputSource& source, int scanCode) {
    uint8_t keys[kKeyStateSize];
    source.Poll(keys);
    return (keys[scanCode] & kKeyDownBit) != 0;
}

TEST(Replay, TheDocumentedExampleParsesFormatsBackAndHoldsKeysUntilTheNextLine) {
    Replay replay;
    std::string error;
    ASSERT_TRUE(ParseReplay(kExample, replay, error)) << error;
    EXPECT_EQ(replay.seed, 12345u);
    EXPECT_TRUE(replay.startsInLevel && replay.hasLevelCrc);
    EXPECT_EQ(replay.level, 3);
    EXPECT_EQ(replay.levelCrc, 0x5f0a9c1eu);
    // Replays carry the checksum from other builds and tools: the standard check value.
    EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>("123456789"), 9), 0xCBF43926u);
    ASSERT_EQ(replay.keys.size(), 3u);
    EXPECT_EQ(replay.keys[1].scanCodes, (std::vector<int>{205, 29}));
    EXPECT_EQ(replay.endFrame, 500);
    Replay again;
    ASSERT_TRUE(ParseReplay(FormatReplay(replay), again, error)) << error;
    EXPECT_EQ(FormatReplay(again), FormatReplay(replay));

    ReplayInput input(replay);
    EXPECT_TRUE(Held(input, 205));
    for (int frame = 1; frame <= 15; ++frame) input.NextFrame();
    EXPECT_FALSE(Held(input, 29)) << "frame 15 still has only Right";
    input.NextFrame();
    EXPECT_TRUE(Held(input, 29));
    EXPECT_TRUE(Held(input, 205)) << "every poll of a frame sees the same keys";
    while (input.Frame() < 40) input.NextFrame();
    EXPECT_FALSE(Held(input, 205));
    EXPECT_FALSE(input.Finished());
    while (input.Frame() < 500) input.NextFrame();
    EXPECT_TRUE(input.Finished());
}

TEST(Replay, MalformedFilesAreRefusedWithTheLineAndTheReason) {
    using namespace std::string_literals;
    const std::string head = "tumbrel-replay 1\n";
    struct Case {
        std::string text;
        std::string expected;
    } cases[] = {
        {"", "line 1: a replay starts with"},
        {"tumbrel-replay 2\n", "line 1: a replay starts with"},
        {head + "seed -4\n", "line 2: expected \"seed N\""},
        {head + "seed 1\nstart level 51\n", "line 3: expected \"start menu\" or \"start level N\" (N from 1 to 50)"},
        {head + "frame 5 keys 205\nframe 5 keys\n", "line 3: frame 5 does not come after frame 5"},
        {head + "frame 1 keys 2x\n", "line 2: scan codes"},
        {head + "frame 1 keys 20\0005\nend 9\n"s, "line 2: scan codes"},
        {head + "frame 1 keys 129\nend 9\n", "line 2: scan codes"},  // no key has code 129
        {head + "frame x keys\n", "line 2: expected \"frame F keys"},
        {head + "level-crc32 xyz\n", "line 2: expected \"level-crc32\""},
        {head + "end 5 6\n", "line 2: unexpected text"},
        {head + "jump 3\n", "line 2: unknown line \"jump\""},
        {head + "seed 1\nstart menu\n\n", "line 4: the replay has no \"end N\" line"},
        {head + "end 1099511627776\n", "line 2: expected \"end N\" (N from 0 to 1000000)"},
        {head + "seed 1\nstart menu\nseed 2\n", "line 4: a second \"seed\" line"},
        {head + "start menu\nstart level 2\n", "line 3: a second \"start\" line"},
        {head + "end 5\nend 5\n", "line 3: a second \"end\" line"},
        {head + "end 5\nframe 6 keys\n", "line 3: \"frame\" after the \"end\" line"},
        {head + "frame 9 keys 205\nend 5\n", "line 3: the replay ends at frame 5, before its keys of frame 9"},
        // Control bytes never reach the terminal and long quotes are cut.
        {head + "\x1b]0;owned\x07" + std::string(4000, 'x') + "\n",
         "line 2: unknown line \"?]0;owned?xxxxxxxxxxxxxxxxxxxxxx...\""},
    };
    for (const Case& c : cases) {
        Replay replay;
        std::string error;
        EXPECT_FALSE(ParseReplay(c.text, replay, error)) << c.text;
        EXPECT_EQ(error.substr(0, c.expected.size()), c.expected);
        EXPECT_LT(error.size(), 120u);
    }
}

TEST(Replay, RecordingNotesChangesAndFreezesEachFrame) {
    ScriptedInput live;
    live.HoldKey(205, 2, 4);
    live.HoldKey(29, 4, 4);
    RecordingInput recorder(live);
    for (int frame = 0; frame < 7; ++frame) {
        uint8_t keys[kKeyStateSize];
        recorder.Poll(keys);
        if (frame == 3) live.SetKeyDown(57, true);  // pressed mid-frame: seen from the next frame on
        recorder.Poll(keys);
        EXPECT_EQ((keys[57] & kKeyDownBit) != 0, frame >= 4) << "frame " << frame;
        recorder.NextFrame();
    }
    Replay replay;
    recorder.FillReplay(replay);
    EXPECT_EQ(replay.endFrame, 7);
    std::vector<std::pair<long, std::vector<int>>> lines;
    for (const ReplayKeys& line : replay.keys) lines.push_back({line.frame, line.scanCodes});
    EXPECT_EQ(lines, (decltype(lines){{2, {205}}, {4, {29, 57, 205}}, {5, {57}}}));
}

// Level 51 demands no gems, so its exit is open from the start.
TEST(Runner, TheOpenExitEndsWithTheTimeBonusAndTheNextFileStartsAfresh)
{
    MapsDirectory maps;
    maps.Write("Map51-1.bin", LevelFileBytes({"#####", "#@E #"}));
    RunSettings settings;
    settings.level = 51;
    settings.keys = {{ScanRight, 1, 40}};
    const RunReport report = RunLevel(settings);
    EXPECT_STREQ(OutcomeName(report.outcome), "exit");
    EXPECT_GT(report.endFrame, 16);
    EXPECT_EQ(report.framesPlayed, report.endFrame);
    EXPECT_EQ(report.score, 300) << "nothing collected, no clock unit gone yet";
    EXPECT_FALSE(FileExists(maps.File("Data.bin"))) << "headless runs rewrite no score file";
    maps.Write("idle.bin", LevelFileBytes({"#####", "#@  #"}));
    settings.levelFile = "./Maps/idle.bin";
    settings.maxFrames = 100;
    EXPECT_EQ(RunLevel(settings).outcome, RunOutcome::Running);
}

// Death beside a bug on the first frame (played on to let the blast leave its saphirs), the clock
// running out, the frame limit (the stone has fallen), and Escape read on frame 30.
TEST(Runner, HowARunEnds)
{
    const struct {
        std::vector<std::string> cave;
        long maxFrames, framesAfterEnd, escapeFrame;
        RunOutcome outcome;
        long endFrame, framesPlayed;
        const char* row2;
    } cases[] = {
        {{"#####", "#   #", "# @>#", "#   #"}, 19200, 40, 0, RunOutcome::Dead, 1, 41, "#$$$#"},
        {{"#####", "#@  #"}, 20000, 0, 0, RunOutcome::TimeOut, 19185, 19185, "#####"},
        {{"#####", "#@ o#", "#   #"}, 100, 0, 0, RunOutcome::Running, 0, 100, "#  o#"},
        {{"#####", "#@  #"}, 19200, 0, 30, RunOutcome::Escaped, 0, 29, "#####"},
    };
    for (const auto& c : cases) {
        MapsDirectory maps;
        maps.Write("Map1-1.bin", LevelFileBytes(c.cave));
        RunSettings settings;
        settings.maxFrames = c.maxFrames;
        settings.framesAfterEnd = c.framesAfterEnd;
        if (c.escapeFrame) settings.keys = {{ScanEscape, c.escapeFrame, c.escapeFrame}};
        const RunReport report = RunLevel(settings);
        EXPECT_STREQ(OutcomeName(report.outcome), OutcomeName(c.outcome));
        EXPECT_EQ(report.endFrame, c.endFrame) << c.row2;
        EXPECT_EQ(report.framesPlayed, c.framesPlayed) << c.row2;
        EXPECT_EQ(report.cave.substr(42, 5), c.row2);
    }
}

TEST(Runner, TheSameSeedGivesTheSameCave)
{
    // A growing wall in an earth room: where it spreads depends on the random draws.
    MapsDirectory maps;
    maps.Write("walls.bin", LevelFileBytes({"##########", "#@.......#", "#........#", "#...W....#",
                                            "#........#", "##########"}));
    RunSettings settings;
    settings.levelFile = "./Maps/walls.bin";
    settings.maxFrames = 3000;
    settings.seed = 7;
    const std::string first = RunLevel(settings).cave;
    EXPECT_EQ(RunLevel(settings).cave, first);
    settings.seed = 8;
    EXPECT_NE(RunLevel(settings).cave, first);
}

}  // namespace
