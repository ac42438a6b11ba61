// Test double of the window seam: each pump hands out the next queued batch of events, if any.
// Depends on gfx/window_backend.h.
#pragma once
#include <deque>
#include <string>

#include "gfx/window_backend.h"

class ScriptedWindow : public WindowBackend {
public:
    WindowEvents PumpEvents() override {
        ++pumpCount;
        if (queued.empty()) return WindowEvents{};
        WindowEvents events = queued.front();
        queued.pop_front();
        return events;
    }
    void SetTitle(const char* newTitle) override { title = newTitle; }
    void BringToFront() override { ++raiseCount; }

    std::deque<WindowEvents> queued;
    std::string title;
    int pumpCount = 0;
    int raiseCount = 0;
};
