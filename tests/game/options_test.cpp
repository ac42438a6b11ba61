// The command line: every value in both spellings, and refusals that name the option.
#include <gtest/gtest.h>

#include "game/options.h"

namespace {

TEST(Options, AVerificationRunTakesEveryValueInBothSpellingsAndKeepsThePlayersFiles)
{
    Options shipped, options;
    std::string error;
    ASSERT_TRUE(ParseOptions({}, shipped, error));
    EXPECT_TRUE(MayWriteSaveFiles(shipped)) << "the game as shipped saves";
    ASSERT_TRUE(ParseOptions({"--headless", "--level", "3", "--seed=7", "--frames", "49", "--screenshot",
                              "10:a.png", "--screenshot=20:dir/b:c.png", "--dump", "out.json", "--replay",
                              "r.txt", "--scale", "2", "--volume=0", "--mute"},
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
        {{"--screenshot", "12"}, "--screenshot needs"},
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

}  // namespace
