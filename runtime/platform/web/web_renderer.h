// The WebGL (OpenGL ES 2) renderer behind the gfx seam in the browser: RGBA8 textures, quad
// batches through one small shader that does what the desktop renderer's fixed pipeline does
// (texture times colour, the alpha test, back faces culled), the frame drawn 1:1 into an
// offscreen picture and presented scaled by whole factors onto the canvas.
// Depends on the web window for the canvas size; knows nothing of sprites or the game.
#pragma once
#include <cstdint>

#include "gfx/render_backend.h"

class WebWindow;

class WebRenderer : public RenderBackend {
public:
    explicit WebRenderer(WebWindow& window) : window_(window) {}

    // Compiles the shader and makes the offscreen picture; the context must be current.
    bool Start();
    // Forgets GL objects without touching GL (the context is gone).
    void Stop();

    TextureId CreateTexture(const uint8_t* rgba, int width, int height, TextureFilter filter) override;
    void ReplaceTexture(TextureId texture, const uint8_t* rgba, int width, int height,
                        TextureFilter filter) override;
    void FreeTexture(TextureId texture) override;
    int MaxTextureSize() override { return maxTextureSize_; }
    void DrawQuads(const QuadBatch& batch) override;
    void Clear(unsigned clearBits) override;
    void BeginFrame() override;
    void Present() override;
    bool ReadFrame(uint8_t* rgbaTopDown) override;

private:
    void DrawTriangles(const QuadCorner* corners, int quadCount);
    void ComposeScaledPicture();
    void UseProgram(float viewWidth, float viewHeight);

    WebWindow& window_;
    bool started_ = false;
    int maxTextureSize_ = 64;
    unsigned program_ = 0;
    unsigned vertexBuffer_ = 0;
    unsigned indexBuffer_ = 0;
    unsigned whiteTexture_ = 0;    // stands in for texture 0, which samples as plain colour
    unsigned pictureTexture_ = 0;  // the 1:1 frame
    unsigned pictureFramebuffer_ = 0;
    int viewSizeAt_ = -1;  // uniform locations
    int colourAt_ = -1;
    int alphaTestAt_ = -1;
};
