// RandomInt and its ISAAC generator (256-word state, one full pass per draw).
// Depends on nothing. Owns the generator state, seeded once by the program frame.
#pragma once
#include <cstdint>

void SeedRandom(uint32_t seed);   // the clock's ms at start-up; tools and tests pick their own
uint32_t RandomDraw();            // one raw 32-bit draw
double RandomInt(double n);       // 0..trunc(n) inclusive; 0 without a draw when n <= 0

// The generator's whole state, so that a tool can rewind a run and try another way (the level
// solver). A draw refreshes every result word, so the results need no keeping.
struct RandomState {
    uint32_t memory[256];
    uint32_t a, b, c;
    bool seeded;
};
RandomState SaveRandomState();
void RestoreRandomState(const RandomState& state);
