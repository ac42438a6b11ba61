// The clock seam: milliseconds since an arbitrary start, and sleeping.
// The real clock is std::chrono's steady clock; tests install a clock they advance by hand.
// Depends on nothing.
#pragma once

struct ClockSource {
    double (*nowMs)();
    void (*sleepMs)(double ms);
};

double ClockNowMs();
void ClockSleepMs(double ms);
void SetClockSource(const ClockSource* source);  // nullptr restores the real clock

// The clock of headless runs: every reading lies a second after the one before and sleeping
// moves it on, so no frame ever waits for its slot and a run goes as fast as the machine.
const ClockSource* HeadlessClock();

// A clock for tests: time moves only when advanced (sleeping advances it too).
namespace manual_clock {
void Install(double startMs = 0);
void Advance(double ms);
void Uninstall();
}
