// The solver's own search: a beam search over the player's actions (a step each way, Ctrl and a
// direction, a stick of dynamite, a step of waiting) from where a play stands to the exit.
// Every layer keeps the most promising states (fewest gems still needed, then the shortest way
// to the next gem or the open exit), and a state seen before is not followed twice.
// Depends on play.h and walker.h.
#pragma once
#include "play.h"

struct SearchSettings {
    int width = 150;          // states kept per layer
    long maxStates = 400000;  // states tried before giving up
    bool progress = false;    // a line per layer on standard error
};

struct SearchResult {
    bool found = false;
    bool exhaustive = false;  // nothing was cut from any layer: no way exists at all
    long states = 0;
    double seconds = 0;
};

// On success the play stands at the exit with the keys of the whole way; otherwise it is back
// where it started.
SearchResult SearchToExit(Play& play, const SearchSettings& settings);
