// Frame presentation and timing: PresentFrame with its quit keys, focus pause and frame-slot wait,
// the frame-rate limit, the clock commands, the background picture (LoadPicture, ClearScreen).
// Depends on sprites.h (renderer, 2D state), window_backend.h, input (keys), core (clock, errors).
#pragma once
#include <cstdint>
#include <functional>
#include <vector>
#include "core/rt_string.h"
#include "gfx/render_backend.h"
#include "gfx/window_backend.h"

void PresentFrame();
void SetFrameLimit(double framesPerSecond);
void ClearScreen();
double LoadPicture(const char* fileName);
double LoadPicture(const RtString& fileName);
void SleepMs(double milliseconds);
double ReadTimer();
double FrameDuration();
void SetEscapeQuits(double flag);

// nullptr installs a window without events; the caller keeps ownership.
void SetWindowBackend(WindowBackend* window);
// The game's title, shown again when the window regains the focus.
void SetFrameTitle(const char* title);
void SetKeepForeground(bool keep);
void SetPauseAllowed(bool allowed);

// The frame-presented hook: PresentFrame calls it once per frame, after the quit keys and before
// the picture is shown, so the picture can still be grabbed. It answers whether the next frame's
// picture is wanted; the frames that are not go undrawn (see SetFrameDrawn). Empty: no hook,
// every frame drawn. The hook may end the program.
using FramePresentedHook = std::function<bool()>;
void SetFramePresentedHook(FramePresentedHook hook);

// How PresentFrame waits for the frame slot. Hybrid sleeps until shortly before the due time and
// spins the rest; Busy spins all the way (the finest timing, a busy core).
enum class FrameWait { Hybrid, Busy };
void SetFrameWait(FrameWait wait);

// Graphics context creation: the interval of the window's frame rate (in single precision, as
// the window computes it) and a due time of now, so the first frame does not wait.
void StartFrameClock(int framesPerSecond);
// Start time, frame time and previous frame time := now (runtime initialisation).
void ResetFrameClock();
double FrameIntervalMs();
double NextFrameDueMs();
bool FramePaused();
// The due-time step: the next due time after a frame released at `nowMs`.
double AdvanceDueTime(double dueMs, double intervalMs, double nowMs);

// The current back buffer as 320 x 240 RGBA, top row first (the platform writes the PNG).
bool GrabFrame(std::vector<uint8_t>& rgbaTopDown);
