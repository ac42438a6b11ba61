// A clean gfx runtime for each test: a recording renderer, empty slots, the default fonts and
// keys, a scripted window and input, a ticking clock and a private media directory.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "tests/support/recording_renderer.h"
#include "tests/support/scripted_input.h"
#include "tests/support/scripted_window.h"
#include "tests/support/temp_files.h"

// A clock that moves a microsecond on every reading, so spinning waits end; sleeps are counted.
namespace ticking_clock {
void Install(double startMs);
void Advance(double ms);
int SleepCount();
}

// x, y, u, v of every corner of a draw, in order.
inline std::vector<float> CornerValues(const RecordingRenderer::Draw& draw) {
    std::vector<float> values;
    for (const QuadCorner& c : draw.corners) values.insert(values.end(), {c.x, c.y, c.u, c.v});
    return values;
}

class GfxTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string MediaFile(const std::string& name) const { return media_.File(name); }

    RecordingRenderer renderer;
    ScriptedWindow window;
    ScriptedInput input;

private:
    ScopedTempDir media_;
};
