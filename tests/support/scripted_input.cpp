#include "tests/support/scripted_input.h"

void ScriptedInput::Poll(uint8_t keyState[kKeyStateSize]) {
    ++pollCount;
    for (int scanCode = 0; scanCode < kKeyStateSize; ++scanCode) {
        keyState[scanCode] = IsDown(scanCode) ? kKeyDownBit : 0;
    }
}

int ScriptedInput::CharacterOfScanCode(int scanCode) { return UsLayoutCharacter(scanCode); }

void ScriptedInput::SetKeyDown(int scanCode, bool down) {
    if (down) {
        held_.insert(scanCode);
    } else {
        held_.erase(scanCode);
    }
}

void ScriptedInput::HoldKey(int scanCode, long firstFrame, long lastFrame) {
    scheduled_.emplace(scanCode, std::make_pair(firstFrame, lastFrame));
}

bool ScriptedInput::IsDown(int scanCode) const {
    if (held_.count(scanCode)) return true;
    auto range = scheduled_.equal_range(scanCode);
    for (auto it = range.first; it != range.second; ++it) {
        if (frame >= it->second.first && frame <= it->second.second) return true;
    }
    return false;
}
