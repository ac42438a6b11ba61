// A virtual game controller: what its buttons and left stick hold as keys, and plugging it in and
// out while the input runs. No window (and no GL) is needed.
#include <SDL.h>
#include <gtest/gtest.h>

#include "input/keyboard.h"
#include "platform/sdl_input.h"

namespace {

struct VirtualPad {
    VirtualPad() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.name = "test pad";
        joystick_ = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
    }
    ~VirtualPad() {
        const SDL_JoystickID instance = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        for (int index = 0; index < SDL_NumJoysticks(); ++index)
            if (SDL_JoystickGetDeviceInstanceID(index) == instance) SDL_JoystickDetachVirtual(index);
    }
    void Set(int button, int axis, int value) {
        if (button >= 0) SDL_JoystickSetVirtualButton(joystick_, button, static_cast<Uint8>(value));
        if (axis >= 0) SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
    }
    SDL_Joystick* joystick_ = nullptr;
};

std::vector<int> HeldKeys() {
    PollInput();
    std::vector<int> held;
    for (int code = 0; code < kKeyStateSize; ++code)
        if (KeyWasDown(code)) held.push_back(code);
    return held;
}

class GamepadTest : public ::testing::Test {
protected:
    void SetUp() override {
        input_.Start();
        SetInputSource(&input_);
    }
    void TearDown() override {
        SetInputSource(nullptr);
        input_.Stop();
    }
    SdlInput input_;
};

TEST_F(GamepadTest, ButtonsAndTheLeftStickHoldKeysAndControllersComeAndGoWhileTheInputRuns) {
    const struct {
        int button, axis, value;
        std::vector<int> keys;
    } cases[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, -1, 1, {ScanUp}}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, -1, 1, {ScanRight}},
        {SDL_CONTROLLER_BUTTON_A, -1, 1, {ScanReturn}},  {SDL_CONTROLLER_BUTTON_B, -1, 1, {ScanSpace}},
        {SDL_CONTROLLER_BUTTON_X, -1, 1, {ScanLeftCtrl}}, {SDL_CONTROLLER_BUTTON_START, -1, 1, {ScanEscape}},
        {SDL_CONTROLLER_BUTTON_Y, -1, 1, {}},
        {-1, SDL_CONTROLLER_AXIS_LEFTX, -32768, {ScanLeft}}, {-1, SDL_CONTROLLER_AXIS_LEFTY, 20000, {ScanDown}},
        {-1, SDL_CONTROLLER_AXIS_LEFTX, 12000, {}} /* resting play */, {-1, SDL_CONTROLLER_AXIS_RIGHTX, 32767, {}},
    };
    auto pad = std::make_unique<VirtualPad>();
    ASSERT_NE(pad->joystick_, nullptr) << SDL_GetError();
    for (const auto& c : cases) {
        pad->Set(c.button, c.axis, c.value);
        EXPECT_EQ(HeldKeys(), c.keys) << "button " << c.button << ", axis " << c.axis << " at " << c.value;
        pad->Set(c.button, c.axis, 0);
    }
    pad->Set(SDL_CONTROLLER_BUTTON_A, -1, 1);
    EXPECT_EQ(HeldKeys(), std::vector<int>{ScanReturn});
    pad.reset();
    EXPECT_EQ(HeldKeys(), std::vector<int>{}) << "unplugged";

    pad = std::make_unique<VirtualPad>();
    pad->Set(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, -1, 1);
    EXPECT_EQ(HeldKeys(), std::vector<int>{ScanRight}) << "plugged in again";
}

}  // namespace
