// Cave scenarios: the shared test media, building caves from text and running frames.
#include "tests/game/scenario.h"

#include <sys/stat.h>
#include <unistd.h>

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
#include "tests/support/temp_files.h"

namespace {

// Frames never wait for their slot: each clock reading lies a second after the last.
double fastClockMs = 0;
double FastClockNow() { return fastClockMs += 1000; }
void FastClockSleep(double ms) { fastClockMs += ms; }
const ClockSource kFastClock = {FastClockNow, FastClockSleep};

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

void PutLE(std::vector<unsigned char>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; i++) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A strip of 64 grey 16 x 16 frames as a 24-bit BMP: the loader tries BMP before PNG, so the
// ".png" names of the game load it.
std::vector<unsigned char> StripBmp()
{
    const uint32_t width = 64 * 16, height = 16, rowBytes = width * 3;
    std::vector<unsigned char> bmp = {'B', 'M'};
    PutLE(bmp, 54 + rowBytes * height, 4);
    PutLE(bmp, 0, 4);
    PutLE(bmp, 54, 4);
    PutLE(bmp, 40, 4);
    PutLE(bmp, width, 4);
    PutLE(bmp, height, 4);
    PutLE(bmp, 1, 2);
    PutLE(bmp, 24, 2);
    for (int i = 0; i < 6; i++) PutLE(bmp, 0, 4);
    bmp.resize(bmp.size() + rowBytes * height, 0xC0);
    return bmp;
}

std::vector<unsigned char> ShortWav()
{
    std::vector<unsigned char> wav = {'R', 'I', 'F', 'F'};
    PutLE(wav, 36 + 16, 4);
    for (char c : std::string("WAVEfmt ")) wav.push_back(static_cast<unsigned char>(c));
    PutLE(wav, 16, 4);
    PutLE(wav, 1, 2);      // PCM
    PutLE(wav, 1, 2);      // mono
    PutLE(wav, 22050, 4);
    PutLE(wav, 22050, 4);
    PutLE(wav, 1, 2);
    PutLE(wav, 8, 2);
    for (char c : std::string("data")) wav.push_back(static_cast<unsigned char>(c));
    PutLE(wav, 16, 4);
    wav.resize(wav.size() + 16, 128);
    return wav;
}

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
        ScopedTempDir media;
        const std::string mediaDir = media.File("Media");
        mkdir(mediaDir.c_str(), 0755);
        for (const char* name : kStripFiles) WriteFileBytes(mediaDir + "/" + name + ".png", StripBmp());
        for (const char* name : kSoundFiles) WriteFileBytes(mediaDir + "/" + name + ".wav", ShortWav());
        char previous[4096];
        if (!getcwd(previous, sizeof previous)) previous[0] = 0;
        if (chdir(media.path().c_str()) != 0) return;
        LoadGameMedia();
        if (chdir(previous) != 0) return;
    }
};

ScenarioWorld& World()
{
    static ScenarioWorld world;
    return world;
}

double CodeOfSymbol(char symbol, const Scenario::Legend& extra)
{
    auto found = extra.find(symbol);
    if (found != extra.end()) return found->second;
    return cave_legend::CodeOf(symbol);
}

char SymbolOfCode(double code, const Scenario::Legend& extra)
{
    for (const auto& entry : extra) {
        if (entry.second == code) return entry.first;
    }
    if (code != static_cast<int>(code)) return '?';
    return cave_legend::SymbolOf(static_cast<int>(code));
}

std::vector<std::string> PaddedRows(const std::vector<std::string>& rows)
{
    std::vector<std::string> padded(15, std::string(20, '#'));
    for (size_t y = 0; y < rows.size() && y < 15; y++) {
        for (size_t x = 0; x < rows[y].size() && x < 20; x++) padded[y][x] = rows[y][x];
    }
    return padded;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
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

std::string PaddedCave(const std::vector<std::string>& rows, const Scenario::Legend& extra)
{
    std::string text;
    for (const std::string& row : PaddedRows(rows)) {
        for (char symbol : row) {
            const double code = CodeOfSymbol(symbol, extra);
            text += code < 0 ? '?' : SymbolOfCode(code, extra);
        }
        text += '\n';
    }
    return text;
}

Scenario::Scenario(const std::vector<std::string>& rows, const Legend& extra) : extra_(extra)
{
    ScenarioWorld& world = World();
    world.input = std::make_unique<ScriptedInput>();
    SetInputSource(world.input.get());
    SetClockSource(&kFastClock);
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
    for (int y = 0; y < 15; y++) {
        for (int x = 0; x < 20; x++) {
            const double code = CodeOfSymbol(padded[y][x], extra_);
            if (code < 0) ADD_FAILURE() << "no legend entry for '" << padded[y][x] << "'";
            ::Cave.at(y * 20 + x) = code < 0 ? 0 : code;
        }
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
    for (int y = 0; y < 15; y++) {
        for (int x = 0; x < 20; x++) text += SymbolOfCode(::Cave.at(y * 20 + x), extra_);
        text += '\n';
    }
    return text;
}

::testing::AssertionResult Scenario::CaveIs(const std::vector<std::string>& rows) const
{
    const std::string expected = PaddedCave(rows, extra_);
    const std::string actual = Cave();
    if (expected == actual) return ::testing::AssertionSuccess();
    const std::vector<std::string> want = Lines(expected), got = Lines(actual);
    std::ostringstream out;
    out << "after frame " << frame_ << " the cave differs:\n  expected               actual\n";
    for (size_t y = 0; y < want.size(); y++) {
        out << "  " << want[y] << "   " << got[y] << (want[y] == got[y] ? "" : "   <-- row ") ;
        if (want[y] != got[y]) out << y;
        out << "\n";
    }
    return ::testing::AssertionFailure() << out.str();
}

double Scenario::CellAtXY(int cellX, int cellY) const { return ::Cave.at(cellY * 20 + cellX); }

void Scenario::SetCell(int cellX, int cellY, double code) { ::Cave.at(cellY * 20 + cellX) = code; }

std::vector<SoundAt> Scenario::Sounds() const
{
    std::vector<SoundAt> sounds;
    for (const auto& play : World().sound.plays) sounds.push_back({play.frame, play.soundId});
    return sounds;
}

std::vector<long> Scenario::SoundFrames(int soundId) const
{
    std::vector<long> frames;
    for (const SoundAt& sound : Sounds()) {
        if (sound.soundId == soundId) frames.push_back(sound.frame);
    }
    return frames;
}

int Scenario::SoundCount(int soundId) const { return static_cast<int>(SoundFrames(soundId).size()); }

std::vector<DrawAt> Scenario::Draws() const
{
    std::vector<DrawAt> draws;
    for (const auto& draw : World().renderer.presentedDraws) {
        if (draw.tag.kind != DrawKind::AnimFrame) continue;
        draws.push_back({draw.tag.spriteId, draw.tag.frame, static_cast<int>(draw.tag.x),
                         static_cast<int>(draw.tag.y)});
    }
    return draws;
}

std::vector<DrawAt> Scenario::DrawsOfStrip(int strip) const
{
    std::vector<DrawAt> draws;
    for (const DrawAt& draw : Draws()) {
        if (draw.strip == strip) draws.push_back(draw);
    }
    return draws;
}

std::vector<std::string> Scenario::Texts() const
{
    std::vector<std::string> texts;
    for (const auto& draw : World().renderer.presentedDraws) {
        if (draw.tag.kind == DrawKind::Text) texts.push_back(draw.text);
    }
    return texts;
}

RecordingRenderer& Scenario::renderer() { return World().renderer; }

RecordingSoundDevice& Scenario::sound() { return World().sound; }
