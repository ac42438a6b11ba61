// Test double of the input seam: key states by frame, typed with the US layout.
// Depends on input/input_source.h.
#pragma once
#include <map>
#include <set>

#include "input/input_source.h"

// Key states by frame. Frame 0 is the state before the first presented frame; keys set with
// SetKeyDown hold in every frame until released. The layout is US QWERTY for letters and digits.
class ScriptedInput : public InputSource {
public:
    void Poll(uint8_t keyState[kKeyStateSize]) override;
    int CharacterOfScanCode(int scanCode) override;
    void ShowPointer(bool visible) override { pointerVisible = visible; }
    void NextFrame() override { ++frame; }

    void SetKeyDown(int scanCode, bool down);
    // The key is down during frames first..last (inclusive).
    void HoldKey(int scanCode, long firstFrame, long lastFrame);
    void PressKeyAt(int scanCode, long atFrame) { HoldKey(scanCode, atFrame, atFrame); }
    bool IsDown(int scanCode) const;

    long frame = 0;
    bool pointerVisible = true;
    int pollCount = 0;

private:
    std::set<int> held_;
    std::multimap<int, std::pair<long, long>> scheduled_;  // scan code -> frame range
};
