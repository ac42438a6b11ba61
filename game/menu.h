// The game's home: the start-up routine, the main menu with name entry and the high-score
// screen, and the table of the game's routines by name.
// Depends on game/state.h and the runtime's drawing, keyboard and sound commands.
#pragma once

void TumbrelMain();        // the game's main routine: start-up, the menu, the end of the program
void LoadGameMedia();      // the 27 strips, 18 sounds and the font, in slot order
void ReadGameData();       // the four data files and the tables made from them
void Formation();          // MenuLine from MenuLineSource
void MainMenu();
void TypeName();
void ElectronAnimation();
void ShowHighScore();
void DrawMenuTexts();

// The routine table for CallByName, in the game's own order.
void RegisterGameRoutines();
int GameRoutineCount();

// What the program's command line asks of the main routine: a level to start at once instead
// of the menu (0: the menu). The program ends when that level is left.
extern int StartLevelAtOnce;
