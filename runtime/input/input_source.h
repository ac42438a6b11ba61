// The input seam: a source fills the 256-entry key-state table (by DirectInput scan code, bit 7 =
// down) on every poll and translates a scan code to a character under the current layout.
// The platform implements it with SDL; ScriptedInput plays key states frame by frame for tests
// and replays. Depends on nothing.
#pragma once
#include <cstdint>
#include <map>
#include <set>

constexpr int kKeyStateSize = 256;
constexpr uint8_t kKeyDownBit = 0x80;

class InputSource {
public:
    virtual ~InputSource() = default;
    virtual void Poll(uint8_t keyState[kKeyStateSize]) = 0;
    // The character the key gives without modifiers under the current layout (Latin-1), 0 for none.
    virtual int CharacterOfScanCode(int scanCode) = 0;
    virtual void ShowPointer(bool visible) = 0;
    // Called once per presented frame, before that frame's poll.
    virtual void NextFrame() {}
};

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
