// RandomInt over ISAAC (Bob Jenkins' published 32-bit generator): 256 state words, one full
// pass per draw, and only word 0 of each refreshed result array is handed out.
#include "core/random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWords = 256;
constexpr uint32_t kGoldenRatio = 0x9E3779B9u;

struct IsaacState {
    uint32_t memory[kWords];
    uint32_t results[kWords];
    uint32_t a, b, c;
};

IsaacState gIsaac;
bool gSeeded = false;

void Mix(uint32_t h[8]) {
    h[0] ^= h[1] << 11; h[3] += h[0]; h[1] += h[2];
    h[1] ^= h[2] >> 2;  h[4] += h[1]; h[2] += h[3];
    h[2] ^= h[3] << 8;  h[5] += h[2]; h[3] += h[4];
    h[3] ^= h[4] >> 16; h[6] += h[3]; h[4] += h[5];
    h[4] ^= h[5] << 10; h[7] += h[4]; h[5] += h[6];
    h[5] ^= h[6] >> 4;  h[0] += h[5]; h[6] += h[7];
    h[6] ^= h[7] << 8;  h[1] += h[6]; h[7] += h[0];
    h[7] ^= h[0] >> 9;  h[2] += h[7]; h[0] += h[1];
}

void Pass(IsaacState& s) {
    uint32_t a = s.a;
    uint32_t b = s.b + (++s.c);
    for (int i = 0; i < kWords; ++i) {
        uint32_t x = s.memory[i];
        switch (i & 3) {
            case 0: a ^= a << 13; break;
            case 1: a ^= a >> 6; break;
            case 2: a ^= a << 2; break;
            case 3: a ^= a >> 16; break;
        }
        a += s.memory[(i + kWords / 2) & (kWords - 1)];
        uint32_t y = s.memory[(x >> 2) & (kWords - 1)] + a + b;
        s.memory[i] = y;
        b = s.memory[(y >> 10) & (kWords - 1)] + x;
        s.results[i] = b;
    }
    s.a = a;
    s.b = b;
}

}  // namespace

void SeedRandom(uint32_t seed) {
    IsaacState& s = gIsaac;
    s.a = s.b = s.c = 0;
    uint32_t h[8];
    for (uint32_t& word : h) word = kGoldenRatio;
    for (int round = 0; round < 4; ++round) Mix(h);
    // First pass: the seed enters the first mixing word at every step.
    for (int i = 0; i < kWords; i += 8) {
        h[0] += seed;
        Mix(h);
        for (int j = 0; j < 8; ++j) s.memory[i + j] = h[j];
    }
    // Second pass: every state word feeds back, so each one depends on all of the first pass.
    for (int i = 0; i < kWords; i += 8) {
        for (int j = 0; j < 8; ++j) h[j] += s.memory[i + j];
        Mix(h);
        for (int j = 0; j < 8; ++j) s.memory[i + j] = h[j];
    }
    gSeeded = true;
    RandomDraw();
}

uint32_t RandomDraw() {
    if (!gSeeded) SeedRandom(0);
    Pass(gIsaac);
    return gIsaac.results[0];
}

RandomState SaveRandomState() {
    RandomState state;
    std::copy(gIsaac.memory, gIsaac.memory + kWords, state.memory);
    state.a = gIsaac.a;
    state.b = gIsaac.b;
    state.c = gIsaac.c;
    state.seeded = gSeeded;
    return state;
}

void RestoreRandomState(const RandomState& state) {
    std::copy(state.memory, state.memory + kWords, gIsaac.memory);
    gIsaac.a = state.a;
    gIsaac.b = state.b;
    gIsaac.c = state.c;
    gSeeded = state.seeded;
}

double RandomInt(double n) {
    if (!(n > 0)) return 0;
    uint32_t draw = RandomDraw();
    // Beyond 32 bits the truncation wraps, as the original's did; 2^32 - 1 + 1 wraps to 0.
    double whole = std::trunc(n);
    uint32_t k = whole < 4294967296.0 ? static_cast<uint32_t>(whole) + 1u : 0u;
    return k == 0 ? draw : draw % k;
}
