#include "platform/sdl_gamepad.h"

#include <SDL.h>

#include <algorithm>

#include "input/keyboard.h"

namespace {

struct ButtonKey {
    SDL_GameControllerButton button;
    int scanCode;
};

// A to choose, B for the other action (dynamite, leaving the score table), X or a shoulder held
// with a direction to dig without moving, Start or Back to leave the level.
constexpr ButtonKey kButtonKeys[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, ScanUp},        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, ScanDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, ScanLeft},    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, ScanRight},
    {SDL_CONTROLLER_BUTTON_A, ScanReturn},          {SDL_CONTROLLER_BUTTON_B, ScanSpace},
    {SDL_CONTROLLER_BUTTON_X, ScanLeftCtrl},        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, ScanLeftCtrl},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, ScanLeftCtrl},
    {SDL_CONTROLLER_BUTTON_START, ScanEscape},      {SDL_CONTROLLER_BUTTON_BACK, ScanEscape},
};

// Half way out: a worn stick at rest never walks.
constexpr int kStickThreshold = 16384;

void HoldKey(uint8_t keyState[kKeyStateSize], int scanCode) { keyState[scanCode] = kKeyDownBit; }

void AddStickKeys(SDL_GameController* controller, uint8_t keyState[kKeyStateSize]) {
    const int x = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    const int y = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    if (x <= -kStickThreshold) HoldKey(keyState, ScanLeft);
    if (x >= kStickThreshold) HoldKey(keyState, ScanRight);
    if (y <= -kStickThreshold) HoldKey(keyState, ScanUp);
    if (y >= kStickThreshold) HoldKey(keyState, ScanDown);
}

}  // namespace

void SdlGamepads::Start() {
    if (!started_) started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    knownDevices_ = -1;
}

void SdlGamepads::Stop() {
    for (SDL_GameController* controller : controllers_) SDL_GameControllerClose(controller);
    controllers_.clear();
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started_ = false;
}

// SDL keeps its device list current whenever events are pumped, so plugging in and out needs no
// events of ours: a changed device count, or a controller gone, sends us looking.
void SdlGamepads::FollowPlugging() {
    const size_t before = controllers_.size();
    controllers_.erase(std::remove_if(controllers_.begin(), controllers_.end(),
                                      [](SDL_GameController* controller) {
                                          if (SDL_GameControllerGetAttached(controller)) return false;
                                          SDL_GameControllerClose(controller);
                                          return true;
                                      }),
                       controllers_.end());
    const int devices = SDL_NumJoysticks();
    if (devices == knownDevices_ && controllers_.size() == before) return;
    knownDevices_ = devices;
    for (int index = 0; index < devices; ++index) {
        if (!SDL_IsGameController(index)) continue;
        if (SDL_GameControllerFromInstanceID(SDL_JoystickGetDeviceInstanceID(index)) != nullptr) continue;
        if (SDL_GameController* controller = SDL_GameControllerOpen(index)) controllers_.push_back(controller);
    }
}

void SdlGamepads::AddHeldKeys(uint8_t keyState[kKeyStateSize]) {
    if (!started_) return;
    FollowPlugging();
    for (SDL_GameController* controller : controllers_) {
        for (const ButtonKey& key : kButtonKeys) {
            if (SDL_GameControllerGetButton(controller, key.button)) HoldKey(keyState, key.scanCode);
        }
        AddStickKeys(controller, keyState);
    }
}
