// The replay text format, line by line:
//   tumbrel-replay 1 / seed N / start menu | start level N / level-crc32 HEX /
//   frame F keys [scan codes...] / end N; blank lines and "#" comments are skipped.
#include "game/replay.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include <zlib.h>

#include "core/errors.h"
#include "game/gems_table.h"
#include "input/keyboard.h"

namespace {

// No replay may run longer than this: more than the clocks of all 50 levels together, about
// four and a half hours at 60 frames per second.
constexpr long kLongestReplayFrames = 1000000;
// Quoted replay text is cut here, so a damaged file cannot flood the terminal.
constexpr size_t kLongestQuote = 32;

std::string AtLine(int line, const std::string& what) { return "line " + std::to_string(line) + ": " + what; }

std::string Quoted(const std::string& bytes) { return "\"" + PrintableExcerpt(bytes, kLongestQuote) + "\""; }

// The whole word must be the number: a NUL byte inside it ends c_str() but not the word.
// Long long throughout: where a long is 32 bits (the browser build) it cannot hold every seed.
bool ReadNumber(std::istringstream& words, long long& value, long long low, long long high) {
    std::string word;
    if (!(words >> word) || word.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(word.c_str(), &end, 10);
    if (end != word.c_str() + word.size() || errno != 0 || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

bool NothingMore(std::istringstream& words) {
    std::string extra;
    return !(words >> extra);
}

// One keys line: "frame F keys [codes]".
bool ParseFrameLine(std::istringstream& words, Replay& replay, std::string& what) {
    long long frame = 0;
    std::string keysWord;
    if (!ReadNumber(words, frame, 0, kLongestReplayFrames) || !(words >> keysWord) || keysWord != "keys") {
        what = "expected \"frame F keys [scan codes]\"";
        return false;
    }
    if (!replay.keys.empty() && frame <= replay.keys.back().frame) {
        what = "frame " + std::to_string(frame) + " does not come after frame " +
               std::to_string(replay.keys.back().frame);
        return false;
    }
    ReplayKeys keys;
    keys.frame = static_cast<long>(frame);
    long long code = 0;
    while (!words.eof()) {
        words >> std::ws;
        if (words.eof()) break;
        if (!ReadNumber(words, code, 1, 255) || !IsKeyScanCode(static_cast<int>(code))) {
            what = "scan codes are the whole numbers of keys (1 to 255, e.g. 205 for Right)";
            return false;
        }
        keys.scanCodes.push_back(static_cast<int>(code));
    }
    replay.keys.push_back(keys);
    return true;
}

bool ParseStartLine(std::istringstream& words, Replay& replay, std::string& what) {
    std::string where;
    words >> where;
    long long level = 0;
    if (where == "menu") {
        replay.startsInLevel = false;
    } else if (where == "level" && ReadNumber(words, level, 1, kLevelCount)) {
        replay.startsInLevel = true;
        replay.level = static_cast<int>(level);
    } else {
        what = "expected \"start menu\" or \"start level N\" (N from 1 to " + std::to_string(kLevelCount) + ")";
        return false;
    }
    return true;
}

bool ParseCrcLine(std::istringstream& words, Replay& replay, std::string& what) {
    std::string hex;
    words >> hex;
    char* end = nullptr;
    unsigned long value = hex.empty() || hex.size() > 8 ? 0 : std::strtoul(hex.c_str(), &end, 16);
    if (hex.empty() || hex.size() > 8 || *end != '\0') {
        what = "expected \"level-crc32\" and up to 8 hexadecimal digits";
        return false;
    }
    replay.hasLevelCrc = true;
    replay.levelCrc = static_cast<uint32_t>(value);
    return true;
}

// Each of these lines may come once; "end" comes last.
struct SeenLines {
    bool seed = false, start = false, crc = false, end = false;
};

bool OnlyOnce(bool& seen, const std::string& word, std::string& what) {
    if (seen) return what = "a second \"" + word + "\" line", false;
    seen = true;
    return true;
}

bool ParseEndLine(std::istringstream& words, Replay& replay, std::string& what) {
    long long number = 0;
    if (!ReadNumber(words, number, 0, kLongestReplayFrames))
        return what = "expected \"end N\" (N from 0 to " + std::to_string(kLongestReplayFrames) + ")", false;
    // A recording's last line may hold the keys polled for the frame after its end.
    if (!replay.keys.empty() && replay.keys.back().frame > number)
        return what = "the replay ends at frame " + std::to_string(number) + ", before its keys of frame " +
                      std::to_string(replay.keys.back().frame), false;
    replay.endFrame = static_cast<long>(number);
    return true;
}

bool ParseLine(const std::string& word, std::istringstream& words, Replay& replay, SeenLines& seen,
               std::string& what) {
    long long number = 0;
    if (seen.end) {
        what = word == "end" ? "a second \"end\" line" : Quoted(word) + " after the \"end\" line";
        return false;
    }
    if (word == "seed") {
        if (!OnlyOnce(seen.seed, word, what)) return false;
        if (!ReadNumber(words, number, 0, 0xFFFFFFFFLL)) return what = "expected \"seed N\" (0 to 4294967295)", false;
        replay.seed = static_cast<uint32_t>(number);
    } else if (word == "start") {
        if (!OnlyOnce(seen.start, word, what) || !ParseStartLine(words, replay, what)) return false;
    } else if (word == "level-crc32") {
        if (!OnlyOnce(seen.crc, word, what) || !ParseCrcLine(words, replay, what)) return false;
    } else if (word == "frame") {
        return ParseFrameLine(words, replay, what);
    } else if (word == "end") {
        if (!OnlyOnce(seen.end, word, what) || !ParseEndLine(words, replay, what)) return false;
    } else {
        what = "unknown line " + Quoted(word);
        return false;
    }
    if (!NothingMore(words)) return what = "unexpected text after \"" + word + "\"", false;
    return true;
}

}  // namespace

bool ParseReplay(const std::string& text, Replay& replay, std::string& error) {
    replay = Replay{};
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    bool sawHeader = false;
    SeenLines seen;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word[0] == '#') continue;
        if (!sawHeader) {
            long long version = 0;
            if (word != "tumbrel-replay" || !ReadNumber(words, version, 1, 1) || !NothingMore(words)) {
                error = AtLine(lineNumber, "a replay starts with \"tumbrel-replay 1\"");
                return false;
            }
            sawHeader = true;
            continue;
        }
        std::string what;
        if (!ParseLine(word, words, replay, seen, what)) {
            error = AtLine(lineNumber, what);
            return false;
        }
    }
    if (!sawHeader) {
        error = AtLine(std::max(lineNumber, 1), "a replay starts with \"tumbrel-replay 1\"");
        return false;
    }
    // Without an end the run would go on for ever.
    if (!seen.end) {
        error = AtLine(lineNumber, "the replay has no \"end N\" line (N: the number of frames it plays)");
        return false;
    }
    return true;
}

std::string FormatReplay(const Replay& replay) {
    std::ostringstream out;
    out << "tumbrel-replay 1\n";
    out << "seed " << replay.seed << "\n";
    if (replay.startsInLevel) {
        out << "start level " << replay.level << "\n";
    } else {
        out << "start menu\n";
    }
    if (replay.hasLevelCrc) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08x", replay.levelCrc);
        out << "level-crc32 " << hex << "\n";
    }
    for (const ReplayKeys& keys : replay.keys) {
        out << "frame " << keys.frame << " keys";
        for (int code : keys.scanCodes) out << ' ' << code;
        out << "\n";
    }
    if (replay.endFrame >= 0) out << "end " << replay.endFrame << "\n";
    return out.str();
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes lengths in 32 bits.
    for (size_t done = 0; done < size;) {
        const uInt piece = static_cast<uInt>(std::min<size_t>(size - done, 1u << 30));
        crc = crc32(crc, data + done, piece);
        done += piece;
    }
    return static_cast<uint32_t>(crc);
}

bool FileCrc32(const std::string& path, uint32_t& crc) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    crc = Crc32(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return true;
}

void ReplayInput::Poll(uint8_t keyState[kKeyStateSize]) {
    std::memset(keyState, 0, kKeyStateSize);
    // Frames only move forward, so the line in force is found from the last one.
    while (linesStarted_ < replay_.keys.size() && replay_.keys[linesStarted_].frame <= frame_) ++linesStarted_;
    if (linesStarted_ == 0) return;
    for (int code : replay_.keys[linesStarted_ - 1].scanCodes) keyState[code & 0xFF] = kKeyDownBit;
}

int ReplayInput::CharacterOfScanCode(int scanCode) { return UsLayoutCharacter(scanCode); }

void RecordingInput::Poll(uint8_t keyState[kKeyStateSize]) {
    if (!frameRead_) {
        live_.Poll(frameKeys_);
        frameRead_ = true;
        std::vector<int> held;
        for (int code = 1; code < kKeyStateSize; ++code)
            if (frameKeys_[code] & kKeyDownBit) held.push_back(code);
        bool changed = changes_.empty() ? !held.empty() : held != changes_.back().scanCodes;
        if (changed) changes_.push_back(ReplayKeys{frame_, held});
    }
    std::memcpy(keyState, frameKeys_, kKeyStateSize);
}

// Recorded runs replay with the US layout, so they record with it as well.
int RecordingInput::CharacterOfScanCode(int scanCode) { return UsLayoutCharacter(scanCode); }

void RecordingInput::NextFrame() {
    live_.NextFrame();
    ++frame_;
    frameRead_ = false;
}

void RecordingInput::FillReplay(Replay& replay) const {
    replay.keys = changes_;
    replay.endFrame = frame_;
}
