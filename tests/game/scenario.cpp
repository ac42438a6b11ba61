// Cave scenarios: the shared test media, building caves from text and running frames.
#include "tests/game/scenario.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <sstream>

#include "audio/sound.h"
#include "core/clock.h"
#include "core/errors.h"
#include "core/random.h"
#include "game/cave_legend.h"
#include "game/menu.h"
#include "gfx/frame.h"
#include "gfx/sprites.h"
#include "input/keyboard.h"
#include "tests/game/game_files.h"
#include "image.h"
#include "wav_writer.h"

namespace {

void ThrowRuntimeExit(int status) { throw RuntimeExit{status}; }

const char* const kStripFiles[] = {
    "Sprites", "AstroR", "AstroL", "AstroU", "AstroD", "ErdStrip", "Circle", "Dynamite", "PushR",
    "PushL", "Exit", "Lava", "StoneR", "StoneL", "Blink", "Quish", "Explos", "BugR", "BugL", "BugU",
    "BugD", "BugStripR", "BugStripL", "WaxStrip", "YamYam", "Saphir", "Elec",
};
const char* const kSoundFiles[] = {
    "Move", "Suck", "Dyna", "Bumm", "Knip", "Push", "Exit", "Door", "Fels", "Fire", "Gems", "Quik",
    "Open", "Bell", "Grow", "Disk", "Stop", "Klic",
};

// The devices and media every scenario shares, set up once per test program.
struct ScenarioWorld {
    RecordingRenderer renderer;
    RecordingSoundDevice sound;
    std::unique_ptr<ScriptedInput> input;

    ScenarioWorld()
    {
        SetRenderBackend(&renderer);
        CreateSoundSlots();
        SetSoundDevice(&sound);
        LoadTestMedia();
        SetEscapeQuits(0);
    }
    // The runtime's tables outlive this object: let them forget the doubles first.
    ~ScenarioWorld()
    {
        ResetSpriteTable();
        SetRenderBackend(nullptr);
        DestroySoundSlots();
    }

    static void LoadTestMedia()
    {
        MapsDirectory media;  // the working directory while the media load
        mkdir("Media", 0755);
        std::string error;
        for (const std::string name : kStripFiles) WriteStrip("Media/" + name + ".png", 64);
        for (const std::string name : kSoundFiles)
            if (!WriteWav("Media/" + name + ".wav", std::vector<int16_t>(16, 0), 22050, error))
                ADD_FAILURE() << error;
        LoadGameMedia();
    }
};

ScenarioWorld& World()
{
    static ScenarioWorld world;
    return world;
}

char SymbolOfCode(double code)
{
    return code == static_cast<int>(code) ? cave_legend::SymbolOf(static_cast<int>(code)) : '?';
}

std::vector<std::string> PaddedRows(const std::vector<std::string>& rows)
{
    std::vector<std::string> padded(15, std::string(20, '#'));
    for (size_t y = 0; y < rows.size() && y < 15; y++)
        padded[y].replace(0, std::min<size_t>(rows[y].size(), 20), rows[y], 0, 20);
    return padded;
}

std::vector<DrawAt> StripDraws(const std::vector<RecordingRenderer::Draw>& recorded, int strip)
{
    std::vector<DrawAt> draws;
    for (const auto& d : recorded) {
        if (d.tag.kind != DrawKind::AnimFrame || (strip >= 0 && d.tag.spriteId != strip)) continue;
        draws.push_back({d.tag.spriteId, d.tag.frame, static_cast<int>(d.tag.x), static_cast<int>(d.tag.y)});
    }
    return draws;
}

}  // namespace

void PrintTo(const SoundAt& sound, std::ostream* out)
{
    *out << "{frame " << sound.frame << ", sound " << sound.soundId << "}";
}

void PrintTo(const DrawAt& draw, std::ostream* out)
{
    *out << "{strip " << draw.strip << " frame " << draw.frame << " at " << draw.x << "," << draw.y << "}";
}

void WriteStrip(const std::string& path, int frames)
{
    std::string error;
    if (!WriteBmp(path, Image(frames * 16, 16, Rgba{0xC0, 0xC0, 0xC0, 0xFF}), error))
        ADD_FAILURE() << error;
}

void UseFastClock() { SetClockSource(HeadlessClock()); }

Scenario::Scenario(const std::vector<std::string>& rows)
{
    ScenarioWorld& world = World();
    world.input = std::make_unique<ScriptedInput>();
    SetInputSource(world.input.get());
    UseFastClock();
    world.renderer.draws.clear();
    world.renderer.presentedDraws.clear();
    world.sound.FinishAll();
    world.sound.plays.clear();
    SaveResultsAtExit = false;
    SeedRandom(1);

    CreateGameTables();
    MakeGems();
    DataInit();
    CurrentLevel = 1;
    GemsNeeded = 99;  // the exit stays shut unless a test opens it
    const std::vector<std::string> padded = PaddedRows(rows);
    for (int i = 0; i < 300; i++) {
        const int code = cave_legend::CodeOf(padded[i / 20][i % 20]);
        if (code < 0) ADD_FAILURE() << "no legend entry for '" << padded[i / 20][i % 20] << "'";
        ::Cave.at(i) = code < 0 ? 0 : code;
    }
    LookForMan();
}

Scenario::~Scenario()
{
    SetInputSource(nullptr);
    World().input.reset();
    SetClockSource(nullptr);
    SaveResultsAtExit = true;
}

Scenario& Scenario::Hold(int scanCode, long firstFrame, long lastFrame)
{
    // Frame n reads the keys polled when frame n - 1 was presented.
    World().input->HoldKey(scanCode, firstFrame - 1, lastFrame - 1);
    return *this;
}

Scenario& Scenario::PlacePlayer(int cellX, int cellY)
{
    PlayerX = cellX * 16;
    PlayerY = cellY * 16;
    return *this;
}

// A runtime error inside the frames (error 9 from a cell outside the cave, say) fails the test
// with the RuntimeExit exception instead of ending the test program.
bool Scenario::Run(long frames)
{
    ScenarioWorld& world = World();
    const ExitHandler previous = SetExitHandler(ThrowRuntimeExit);
    bool escaped = false;
    try {
        if (frame_ == 0) PollInput();
        for (long n = 0; n < frames && !escaped; n++) {
            world.sound.frame = frame_ + 1;
            escaped = !PlayOneFrame();
            if (!escaped) frame_++;
            world.sound.FinishAll();
        }
    } catch (...) {
        SetExitHandler(previous);
        throw;
    }
    SetExitHandler(previous);
    return !escaped;
}

std::string Scenario::Cave() const
{
    std::string text;
    for (int i = 0; i < 300; i++) text += std::string(1, SymbolOfCode(::Cave.at(i))) + (i % 20 == 19 ? "\n" : "");
    return text;
}

::testing::AssertionResult Scenario::CaveIs(const std::vector<std::string>& rows) const
{
    const std::vector<std::string> want = PaddedRows(rows);
    std::vector<std::string> got;
    std::istringstream in(Cave());
    for (std::string line; std::getline(in, line);) got.push_back(line);
    if (want == got) return ::testing::AssertionSuccess();
    std::ostringstream out;
    out << "after frame " << frame_ << " the cave differs:\n  expected               actual\n";
    for (size_t y = 0; y < want.size(); y++)
        out << "  " << want[y] << "   " << got[y] << (want[y] == got[y] ? "" : "   <-- row " + std::to_string(y)) << "\n";
    return ::testing::AssertionFailure() << out.str();
}

std::vector<SoundAt> Scenario::Sounds() const
{
    std::vector<SoundAt> sounds;
    for (const auto& play : World().sound.plays) sounds.push_back({play.frame, play.soundId});
    return sounds;
}

std::vector<long> Scenario::SoundFrames(int soundId) const
{
    std::vector<long> frames;
    for (const SoundAt& sound : Sounds())
        if (sound.soundId == soundId) frames.push_back(sound.frame);
    return frames;
}

std::vector<DrawAt> Scenario::Draws(int strip) const { return StripDraws(World().renderer.presentedDraws, strip); }

std::vector<DrawAt> Scenario::PendingDraws(int strip) const { return StripDraws(World().renderer.draws, strip); }

std::vector<std::string> Scenario::Texts() const
{
    std::vector<std::string> texts;
    for (const auto& draw : World().renderer.presentedDraws)
        if (draw.tag.kind == DrawKind::Text) texts.push_back(draw.text);
    return texts;
}

void CheckCaveCases(const std::vector<CaveCase>& cases)
{
    for (const CaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        Scenario s(c.cave);
        if (std::none_of(c.cave.begin(), c.cave.end(),
                         [](const std::string& row) { return row.find('@') != row.npos; }))
            s.ParkPlayer();
        if (c.setup) c.setup();
        for (const HeldKey& key : c.keys) s.Hold(key.scanCode, key.firstFrame, key.lastFrame);
        s.Run(c.frames);
        EXPECT_TRUE(s.CaveIs(c.after));
        EXPECT_EQ(s.Sounds(), c.sounds);
    }
}

RecordingRenderer& Scenario::renderer() { return World().renderer; }
