// A hidden platform window with real OpenGL for pixel tests (offscreen driver, no display).
// Tests skip with a clear message only when no GL context can be made at all.
#pragma once
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};
std::ostream& operator<<(std::ostream& out, const Rgb& colour);

class GlWindowTest : public testing::Test {
protected:
    static constexpr int kWindowScale = 3;
    static void SetUpTestSuite() { OpenAtScale(kWindowScale); }
    static void TearDownTestSuite();
    // A suite of its own may open the window at another scale.
    static void OpenAtScale(int scale);
    void SetUp() override;

    // The 320 x 240 frame as it stands in the back buffer, top row first.
    static std::vector<uint8_t> ReadFrame();
    static Rgb PixelAt(const std::vector<uint8_t>& rgba, int rowWidth, int x, int y);

    static bool open_;
};
