// The real clock (the steady clock, in ms since the machine's arbitrary start), the clock of
// headless runs and the hand-advanced clock for tests.
#include "core/clock.h"

#include <chrono>
#include <thread>

namespace {

double RealNowMs() {
    using Ms = std::chrono::duration<double, std::milli>;
    return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void RealSleepMs(double ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}

const ClockSource kRealClock = {RealNowMs, RealSleepMs};
const ClockSource* gClock = &kRealClock;

double gManualNowMs = 0;

double ManualNowMs() { return gManualNowMs; }
void ManualSleepMs(double ms) {
    if (ms > 0) gManualNowMs += ms;
}

const ClockSource kManualClock = {ManualNowMs, ManualSleepMs};

double gHeadlessNowMs = 0;

double HeadlessNowMs() { return gHeadlessNowMs += 1000; }
void HeadlessSleepMs(double ms) {
    if (ms > 0) gHeadlessNowMs += ms;
}

const ClockSource kHeadlessClock = {HeadlessNowMs, HeadlessSleepMs};

}  // namespace

double ClockNowMs() { return gClock->nowMs(); }
void ClockSleepMs(double ms) { gClock->sleepMs(ms); }
void SetClockSource(const ClockSource* source) { gClock = source != nullptr ? source : &kRealClock; }
const ClockSource* HeadlessClock() { return &kHeadlessClock; }

namespace manual_clock {
void Install(double startMs) {
    gManualNowMs = startMs;
    SetClockSource(&kManualClock);
}
void Advance(double ms) { gManualNowMs += ms; }
void Uninstall() { SetClockSource(nullptr); }
}  // namespace manual_clock
