// Test double of the input seam: key states by frame, typed with the US layout. Frame 0 is the
// state before the first presented frame; keys set with SetKeyDown hold until released.
// Depends on input/input_source.h.
#pragma once
#include <map>
#include <set>

#include "input/input_source.h"

class ScriptedInput : public InputSource {
public:
    void Poll(uint8_t keyState[kKeyStateSize]) override {
        ++pollCount;
        for (int scanCode = 0; scanCode < kKeyStateSize; ++scanCode) keyState[scanCode] = IsDown(scanCode) ? kKeyDownBit : 0;
    }
    int CharacterOfScanCode(int scanCode) override { return UsLayoutCharacter(scanCode); }
    void ShowPointer(bool) override {}
    void NextFrame() override { ++frame; }

    void SetKeyDown(int scanCode, bool down) { down ? void(held_.insert(scanCode)) : void(held_.erase(scanCode)); }
    // The key is down during frames first..last (inclusive).
    void HoldKey(int scanCode, long first, long last) { scheduled_.emplace(scanCode, std::make_pair(first, last)); }
    bool IsDown(int scanCode) const {
        if (held_.count(scanCode)) return true;
        auto range = scheduled_.equal_range(scanCode);
        for (auto it = range.first; it != range.second; ++it)
            if (frame >= it->second.first && frame <= it->second.second) return true;
        return false;
    }

    long frame = 0;
    int pollCount = 0;

private:
    std::set<int> held_;
    std::multimap<int, std::pair<long, long>> scheduled_;  // scan code -> frame range
};
