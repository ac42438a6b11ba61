// The OpenGL 1.x renderer behind the gfx seam: RGBA8 textures, immediate-mode quads (vertex
// arrays for batches such as a string), the 2D state, and the presentation of the 320 x 240
// frame scaled by whole factors onto the window. Depends on the SDL window for size and swap.
#pragma once
#include <cstdint>
#include <vector>

#include "gfx/render_backend.h"

class SdlWindow;

class GlRenderer : public RenderBackend {
public:
    explicit GlRenderer(SdlWindow& window) : window_(window) {}

    // Reads what the context offers; call once the context is current.
    void Start();
    // Forgets GL objects without touching GL (the context is gone or about to go).
    void Stop();

    TextureId CreateTexture(const uint8_t* rgba, int width, int height, TextureFilter filter) override;
    void ReplaceTexture(TextureId texture, const uint8_t* rgba, int width, int height,
                        TextureFilter filter) override;
    void FreeTexture(TextureId texture) override;
    int MaxTextureSize() override { return maxTextureSize_; }
    void DrawQuads(const QuadBatch& batch) override;
    void Clear(unsigned clearBits) override;
    void BeginFrame() override { Setup2D(0, 0, 0, 0); }
    void Present() override;
    bool ReadFrame(uint8_t* rgbaTopDown) override;

    // Viewport and 2D state; a width or height below 1 means the whole picture.
    void Setup2D(int x, int y, int width, int height);
    // Draws the finished 1:1 frame scaled and centred over the whole window, without swapping.
    void ComposeScaledPicture();
    // The whole window's back buffer, top row first.
    bool ReadWindowPixels(std::vector<uint8_t>& rgbaTopDown, int& width, int& height);

private:
    void DrawOneQuad(const QuadCorner* corners);
    void DrawQuadArray(const QuadCorner* corners, int quadCount);
    void CreatePresentTexture();
    void DrawOnFirstTextureUnitOnly();

    SdlWindow& window_;
    bool started_ = false;
    int maxTextureSize_ = 64;
    void* activeTexture_ = nullptr;  // glActiveTextureARB when multitexturing exists
    unsigned presentTexture_ = 0;
};

// The renderer of the open platform (tests compose and read the scaled picture through it).
GlRenderer& PlatformRenderer();
