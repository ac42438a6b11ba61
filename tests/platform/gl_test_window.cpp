// Opens the platform once per test suite; every test starts from a cleared 2D frame.
#include "gl_test_window.h"

#include <ostream>

#include "gfx/sprites.h"
#include "platform/platform.h"

bool GlWindowTest::open_ = false;

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "(" << int(colour.r) << ", " << int(colour.g) << ", " << int(colour.b) << ")";
}

void GlWindowTest::OpenAtScale(int scale) {
    PlatformOptions options;
    options.headless = true;
    options.windowScale = scale;
    open_ = OpenPlatform(options, "TumbrelDemo");
}

void GlWindowTest::TearDownTestSuite() {
    ClosePlatform();
    open_ = false;
}

void GlWindowTest::SetUp() {
    if (!open_) GTEST_SKIP() << "no OpenGL context could be created (SDL_VIDEODRIVER=offscreen needs Mesa EGL)";
    CurrentRenderer().BeginFrame();
    CurrentRenderer().Clear(ClearColour | ClearDepth);
}

std::vector<uint8_t> GlWindowTest::ReadFrame() {
    std::vector<uint8_t> frame(320 * 240 * 4);
    EXPECT_TRUE(CurrentRenderer().ReadFrame(frame.data()));
    return frame;
}

Rgb GlWindowTest::PixelAt(const std::vector<uint8_t>& rgba, int rowWidth, int x, int y) {
    const uint8_t* pixel = &rgba[(static_cast<size_t>(y) * rowWidth + x) * 4];
    return Rgb{pixel[0], pixel[1], pixel[2]};
}
