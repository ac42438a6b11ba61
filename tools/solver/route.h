// The route language: a level's solution as a designer writes it, expanded into keys by playing
// it. Words separated by blanks or new lines; "#" starts a comment to the end of the line.
//   R L U D      one action right, left, up, down (walk, dig, collect, push, pass a door, enter
//                the exit); a count repeats it: R3
//   ^R ^L ^U ^D  Ctrl + direction: dig or take the neighbour without moving; ^U2
//   !            light a stick of dynamite (on the next first frame of a step)
//   w  w5        wait one step, or five (16 frames each);  f3  wait three frames
//   go X,Y       walk the shortest safe way to cell (X, Y)
//   gem  gems N  walk to the nearest gem and take it, N times;  gems  every gem within reach,
//                until the exit opens
//   exit         walk the shortest safe way into the open exit
//   until X,Y C  wait until cell (X, Y) holds C (a legend character, or "empty");
//   until X,Y not C;  until still  (nothing falls, rolls or explodes)
//   search       search the rest of the way to the exit
// Every action starts when the player is ready. Depends on play.h, walker.h, search.h.
#pragma once
#include <string>
#include <vector>

#include "play.h"

struct RouteStep {
    enum Kind { Action, WaitFrames, Go, Gems, Exit, UntilCell, UntilStill, Search } kind = Action;
    uint8_t keys = kNoKeys;
    int count = 1;     // repeats of an action, frames to wait, gems to take (0: until the exit opens)
    int cell = -1;     // Go, UntilCell
    int code = 0;      // UntilCell: the cell code waited for
    bool negate = false;
    int line = 0;
    std::string text;  // the words as written, for messages
};

// On failure returns false and sets `error` to "line N: what is wrong".
bool ParseRoute(const std::string& text, std::vector<RouteStep>& steps, std::string& error);

struct RouteFailure {
    int line = 0;
    std::string text;  // the failing step as written
    std::string why;
    std::string picture;  // the cave when the player last stood ready
};
// Plays the steps; true when the player has reached the exit.
bool RunRoute(Play& play, const std::vector<RouteStep>& steps, RouteFailure& failure);
