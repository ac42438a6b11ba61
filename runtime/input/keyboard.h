// Keyboard commands of the game: key state by scan code, typed characters, the mouse pointer.
// Owns the key-state table, the last typed character and the installed input source.
// Depends on input_source.h and core (strings).
#pragma once
#include "core/rt_string.h"
#include "input/input_source.h"

// Scan codes the runtime itself tests.
enum ScanCode {
    ScanEscape = 1, ScanBackspace = 14, ScanTab = 15, ScanReturn = 28, ScanLeftCtrl = 29,
    ScanLeftShift = 42, ScanRightShift = 54, ScanLeftAlt = 56, ScanSpace = 57, ScanCapsLock = 58,
    ScanF4 = 62, ScanNumLock = 69, ScanAltEscape = 129, ScanKeypadEnter = 156, ScanUp = 200,
    ScanLeft = 203, ScanRight = 205, ScanDown = 208, ScanApplications = 221,
};

// Whether a key of the PC keyboard reports this scan code (1 Escape ... 221 Applications).
bool IsKeyScanCode(int scanCode);

// nullptr installs the source that reports no key; the caller keeps ownership.
void SetInputSource(InputSource* source);
InputSource& CurrentInputSource();

void PollInput();
double KeyState(double scanCode);
// The state of the last poll, without polling again.
bool KeyWasDown(int scanCode);
// The character code of a newly typed key, or 0; the memory behind the repeat suppression.
int ReadTypedCode();
RtStr ReadTypedChar();
void ShowMousePointer(double flag);
// Frame presentation marks each new frame so scripted sources move on.
void MarkInputFrame();
// Forgets the last typed character (a new run, or a test).
void ResetTypedCharMemory();
