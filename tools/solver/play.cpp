#include "play.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "game/cave_legend.h"
#include "game/state.h"
#include "input/input_source.h"
#include "input/keyboard.h"
#include "level_source.h"

namespace {

struct KeyCode {
    uint8_t bit;
    int scanCode;
};
// In scan-code order, so replay lines list their keys the same way every time.
constexpr KeyCode kKeyCodes[] = {
    {kCtrl, ScanLeftCtrl}, {kSpace, ScanSpace}, {kUp, ScanUp}, {kLeft, ScanLeft}, {kRight, ScanRight}, {kDown, ScanDown},
};

bool ReadWholeFile(const std::string& path, std::string& contents)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// "level07.txt" and "level07-anything" are level 7.
int NumberInName(const std::string& path)
{
    const std::string name = path.substr(path.find_last_of('/') + 1);
    int number = 0;
    return std::sscanf(name.c_str(), "level%d", &number) == 1 ? number : 0;
}

bool HasRandomParts(const LevelImage& image)
{
    for (int row = 0; row < 15; ++row)
        for (int column = 0; column < 20; ++column) {
            const int code = image.bytes[row * 40 + column];
            if (code == 30 || (code >= 36 && code <= 39)) return true;
        }
    return false;
}

bool IsDoorCode(double code) { return code >= CellDoor3 && code <= CellDoor1; }

}  // namespace

std::string LevelSourcePath(const std::string& levelsDir, int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "/level%02d.txt", number);
    return levelsDir + name;
}

std::string WriteTemporaryLevel(const std::array<uint8_t, 1200>& bytes)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/tumbrel-solve-XXXXXX";
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) return "";
    const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    close(fd);
    if (!written) {
        std::remove(name.data());
        return "";
    }
    return name.data();
}

int TimeMargin(int level) { return level <= 10 ? 150 : level <= 30 ? 80 : 30; }

bool LoadLevelData(const std::string& what, const std::string& levelsDir, LevelData& level, std::string& error)
{
    const bool isNumber = !what.empty() && what.find_first_not_of("0123456789") == std::string::npos;
    level = LevelData{};
    level.number = isNumber ? std::atoi(what.c_str()) : NumberInName(what);
    // The number picks the gems demanded and the high-score table the exit writes to.
    if (level.number < 1 || level.number > 50) {
        error = isNumber ? "there is no level " + what + " (levels are 1 to 50)"
                         : "name the level source levelNN.txt (NN 1 to 50) so that its number is known: " + what;
        return false;
    }
    level.sourcePath = isNumber ? LevelSourcePath(levelsDir, level.number) : what;
    std::string source;
    if (!ReadWholeFile(level.sourcePath, source)) {
        error = "cannot read the level source " + level.sourcePath;
        return false;
    }
    LevelImage image;
    if (!CompileLevelSource(source, image, error) || !(error = CheckLevel(image)).empty()) {
        error = level.sourcePath + ": " + error;
        return false;
    }
    level.bytes = image.bytes;
    level.name = image.name;
    level.crc = Crc32(image.bytes.data(), image.bytes.size());
    level.random = HasRandomParts(image);
    return true;
}

// ---- Play ------------------------------------------------------------------------------------

class Play::Keys : public InputSource {
public:
    void Poll(uint8_t keyState[kKeyStateSize]) override
    {
        std::memset(keyState, 0, kKeyStateSize);
        for (const KeyCode& key : kKeyCodes)
            if (held & key.bit) keyState[key.scanCode] = kKeyDownBit;
    }
    int CharacterOfScanCode(int) override { return 0; }
    void ShowPointer(bool) override {}
    uint8_t held = kNoKeys;
};

Play::Play(const LevelData& level, uint32_t seed) : level_(level), seed_(seed), input_(std::make_unique<Keys>())
{
    levelFile_ = WriteTemporaryLevel(level.bytes);
    if (levelFile_.empty()) {
        std::fprintf(stderr, "tumbrel-solve: cannot write a temporary level file (TMPDIR)\n");
        std::exit(1);
    }
    settings_.level = level.number;
    settings_.levelFile = levelFile_;
    settings_.seed = seed;
    settings_.input = input_.get();
    headless_ = std::make_unique<HeadlessLevel>(settings_);
    std::remove(levelFile_.c_str());
}

Play::~Play() = default;

void Play::Frame(uint8_t keys)
{
    input_->held = keys;
    keys_.push_back(keys);
    keysRead_.push_back(PlayerReady());
    const double score = Score;
    headless_->PlayFrame();
    // Only a gem or a saphir is worth 5; the exit's time bonus comes on a frame of its own.
    if (Score - score == 5 && !ExitReachedThisLevel()) ++gemsTaken_;
}

void Play::Save(Mark& mark) const
{
    SaveLevelState(mark.state);
    mark.frames = FrameCount();
    mark.gemsTaken = gemsTaken_;
}

void Play::Restore(const Mark& mark)
{
    RestoreLevelState(mark.state);
    keys_.resize(mark.frames);
    keysRead_.resize(mark.frames);
    gemsTaken_ = mark.gemsTaken;
    // A ready point in the future just undone (a look ahead) shows nothing that happened.
    if (lastReady_.frames > mark.frames) lastReady_ = mark;
}

std::string Play::PictureWhenLastReady()
{
    if (lastReady_.state.cells.empty()) return CavePicture();
    Mark now;
    Save(now);
    RestoreLevelState(lastReady_.state);
    const std::string picture = CavePicture();
    Restore(now);
    return picture;
}

Replay Play::ToReplay() const
{
    Replay replay;
    replay.seed = seed_;
    replay.startsInLevel = true;
    replay.level = level_.number;
    replay.hasLevelCrc = true;
    replay.levelCrc = level_.crc;
    // Keys of level frame n are those of replay frame n - 1.
    uint8_t last = kNoKeys;
    for (size_t frame = 0; frame < keys_.size(); ++frame) {
        if (keys_[frame] == last || !keysRead_[frame]) continue;
        last = keys_[frame];
        ReplayKeys line;
        line.frame = static_cast<long>(frame);
        for (const KeyCode& key : kKeyCodes)
            if (last & key.bit) line.scanCodes.push_back(key.scanCode);
        replay.keys.push_back(line);
    }
    replay.endFrame = FrameCount();
    return replay;
}

// ---- The player's state and actions ----------------------------------------------------------

int PlayerCell() { return static_cast<int>(std::trunc(CellAt(PlayerX, PlayerY))); }

bool LevelEnded() { return LevelOver == 1; }

bool PlayerReady()
{
    return !LevelEnded() && PlayerBusy == 0 && PlayerPose != 15 && !IsDoorCode(Cave.at(PlayerCell()));
}

RunOutcome Outcome() { return LevelOutcome(false); }

void Idle(Play& play, long frames)
{
    for (long f = 0; f < frames && !LevelEnded(); ++f) play.Frame(kNoKeys);
}

bool WaitUntilReady(Play& play)
{
    while (!LevelEnded() && !PlayerReady()) play.Frame(kNoKeys);
    return !LevelEnded();
}

ActResult Act(Play& play, uint8_t keys)
{
    if (!WaitUntilReady(play)) return ActResult::Ended;
    play.NoteReady();
    // A stick is lit only by an idle player on the first frame of a step: the frame after a walk
    // makes the player idle, so that first frame may be a step away.
    const int patience = keys & kSpace ? 2 * kFramesPerStep : kFramesPerStep;
    for (int f = 0; f < patience; ++f) {
        const double sticksLit = DynaLit;
        play.Frame(keys);
        if (LevelEnded()) return ActResult::Ended;
        const bool lit = sticksLit == 0 && DynaLit == 1;
        if (PlayerBusy > 0 || lit) {
            if (!WaitUntilReady(play)) return ActResult::Ended;
            return ActResult::Started;
        }
    }
    return ActResult::Blocked;
}

std::string CavePicture()
{
    std::string picture = "   ";
    for (int x = 0; x < 20; ++x) picture += x >= 10 ? '1' : ' ';
    picture += "\n   ";
    for (int x = 0; x < 20; ++x) picture += static_cast<char>('0' + x % 10);
    picture += "\n";
    const bool alive = PlayerPose != 15 || ExitReachedThisLevel();
    const int player = PlayerCell();
    for (int y = 0; y < 15; ++y) {
        char label[8];
        std::snprintf(label, sizeof label, "%2d ", y);
        picture += label;
        for (int x = 0; x < 20; ++x) {
            const double code = Cave.at(y * 20 + x);
            char symbol = code == std::trunc(code) ? cave_legend::SymbolOf(static_cast<int>(code)) : '?';
            if (alive && y * 20 + x == player && !ExitReachedThisLevel()) symbol = '@';
            picture += symbol;
        }
        picture += "\n";
    }
    return picture;
}

std::string PlayStatus(const Play& play)
{
    char text[160];
    std::snprintf(text, sizeof text, "frame %ld, time left %.0f, score %.0f, gems needed %.0f", play.FrameCount(),
                  TimeLeft, Score, GemsNeeded);
    return text;
}
