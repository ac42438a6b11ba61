// The renderer seam: textures from RGBA8 pixels, batches of textured quads on the 320 x 240
// logical screen, clearing, the 2D frame state, presenting and reading the frame back.
// The platform implements it with OpenGL; NullRenderer draws nothing (the tests have their own).
// Depends on nothing. Knows no sprite slot: callers tag each batch with what it shows.
#pragma once
#include <cstdint>

constexpr int kLogicalWidth = 320;
constexpr int kLogicalHeight = 240;

using TextureId = uint32_t;  // 0 = no texture

enum class TextureFilter { Nearest, Linear };

// One corner of a quad: screen position in logical pixels (y grows downward) and texture coordinate
// (v = 0 is the texture's first row, which holds the picture's bottom row).
struct QuadCorner {
    float x, y, u, v;
};

enum class DrawKind { AnimFrame, Text, Background };

// What a batch shows, for recorders and debugging; a GL backend ignores it.
struct DrawTag {
    DrawKind kind = DrawKind::AnimFrame;
    int spriteId = -1;
    int frame = -1;          // strip frame, -1 for text and background tiles
    float x = 0, y = 0;      // top-left corner on screen after rounding up to whole pixels
    const char* text = nullptr;  // the bytes printed, for text batches
};

struct QuadBatch {
    TextureId texture = 0;
    TextureFilter filter = TextureFilter::Linear;
    bool alphaTest = true;           // texels with alpha <= 0.05 are not drawn
    uint32_t colourRGBA = 0xFFFFFFFF;  // 0xRRGGBBAA, multiplies the texels
    const QuadCorner* corners = nullptr;  // 4 per quad, in drawing order
    int quadCount = 0;
    DrawTag tag;
};

enum ClearBits : unsigned { ClearColour = 1, ClearDepth = 2 };

class RenderBackend {
public:
    virtual ~RenderBackend() = default;
    // rgba: width x height x 4 bytes, rows bottom-up; width and height are powers of two.
    virtual TextureId CreateTexture(const uint8_t* rgba, int width, int height, TextureFilter filter) = 0;
    virtual void ReplaceTexture(TextureId texture, const uint8_t* rgba, int width, int height,
                                TextureFilter filter) = 0;
    virtual void FreeTexture(TextureId texture) = 0;
    virtual int MaxTextureSize() = 0;
    virtual void DrawQuads(const QuadBatch& batch) = 0;
    virtual void Clear(unsigned clearBits) = 0;
    // The 2D state for the whole 320 x 240 screen: opaque white, blending off, alpha test on.
    virtual void BeginFrame() = 0;
    // Shows the finished frame (scaled to the window by the platform) and swaps buffers.
    virtual void Present() = 0;
    // The current back buffer as 320 x 240 x 4 bytes, top row first; false when it cannot be read.
    virtual bool ReadFrame(uint8_t* rgbaTopDown) = 0;
};

// Draws nothing; hands out texture names so slots look loaded.
class NullRenderer : public RenderBackend {
public:
    TextureId CreateTexture(const uint8_t*, int, int, TextureFilter) override { return ++lastTexture_; }
    void ReplaceTexture(TextureId, const uint8_t*, int, int, TextureFilter) override {}
    void FreeTexture(TextureId) override {}
    int MaxTextureSize() override { return 4096; }
    void DrawQuads(const QuadBatch&) override {}
    void Clear(unsigned) override {}
    void BeginFrame() override {}
    void Present() override {}
    bool ReadFrame(uint8_t*) override { return false; }

private:
    TextureId lastTexture_ = 0;
};
