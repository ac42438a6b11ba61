// The text legend of cave cells: one character per cell code. Level sources, the level tool,
// test scenarios and cave dumps all read and write caves with it.
// Depends on nothing (header only, usable from tools).
#pragma once

namespace cave_legend {

struct Entry {
    char symbol;
    int code;
};

// Keys and doors pair by letter: key i opens door I, j opens J, k opens K.
inline constexpr Entry kEntries[] = {
    {' ', 0},  {'.', 1},  {'o', 2},  {'*', 3},  {'$', 4},  {'d', 5},  {'E', 6},  {'#', 7},
    {'i', 8},  {'w', 9},  {'j', 10}, {'k', 11}, {'K', 12}, {'J', 13}, {'I', 14}, {'%', 15},
    {'=', 16}, {'|', 17}, {'H', 18}, {'~', 19}, {'@', 20}, {'>', 21}, {'<', 22}, {'^', 23},
    {'v', 24}, {'(', 25}, {')', 26}, {'[', 27}, {']', 28}, {'W', 30}, {'t', 31}, {'&', 32},
    {'_', 33}, {'R', 36}, {'L', 37}, {'U', 38}, {'D', 39}, {'x', 40}, {'X', 41}, {'s', 42},
    {'g', 43}, {'O', 97}, {'G', 98}, {'S', 99},
};

// -1 when the character is not in the legend.
inline constexpr int CodeOf(char symbol) {
    for (const Entry& e : kEntries)
        if (e.symbol == symbol) return e.code;
    return -1;
}

// '?' for a code without a character (no rule creates one, but a damaged level may hold it).
inline constexpr char SymbolOf(int code) {
    for (const Entry& e : kEntries)
        if (e.code == code) return e.symbol;
    return '?';
}

}  // namespace cave_legend
