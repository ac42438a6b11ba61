// Keys by their DirectInput scan codes, from the browser's key positions (KeyboardEvent.code,
// which names a physical key whatever the layout), and the US layout's character of each key.
// Pure tables; depends on nothing.
#pragma once

// 0 for keys the game's keyboard cannot name.
int ScanCodeFromKeyPosition(const char* code);
// The character a key types without modifiers on a US keyboard, 0 for none.
int UsCharacterOfScanCode(int scanCode);
