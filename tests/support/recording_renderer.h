// Test double of the renderer seam: remembers every texture and every batch and paints them in
// software on request, so tests check what was drawn without GL. Depends on gfx/render_backend.h.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "gfx/render_backend.h"

class RecordingRenderer : public RenderBackend {
public:
    struct Texture {
        int width = 0, height = 0;
        TextureFilter filter = TextureFilter::Linear;
        std::vector<uint8_t> rgba;  // bottom-up, as uploaded
    };
    struct Draw {
        DrawTag tag;                 // tag.text points into `text`
        std::string text;
        TextureId texture = 0;
        TextureFilter filter = TextureFilter::Linear;
        bool alphaTest = true;
        std::vector<QuadCorner> corners;
    };

    TextureId CreateTexture(const uint8_t* rgba, int width, int height, TextureFilter filter) override;
    void ReplaceTexture(TextureId texture, const uint8_t* rgba, int width, int height,
                        TextureFilter filter) override;
    void FreeTexture(TextureId texture) override;
    int MaxTextureSize() override { return maxTextureSize; }
    void DrawQuads(const QuadBatch& batch) override;
    void Clear(unsigned clearBits) override;
    void BeginFrame() override { ++beginFrameCount; }
    void Present() override;
    bool ReadFrame(uint8_t* rgbaTopDown) override;

    const Texture* FindTexture(TextureId texture) const;
    // Draws of the current frame that show sprite `spriteId` (text and frames alike).
    std::vector<const Draw*> DrawsOfSprite(int spriteId) const;

    int maxTextureSize = 4096;
    std::unordered_map<TextureId, Texture> textures;
    std::vector<Draw> draws;          // since the last Present (or the last Clear of colour)
    std::vector<Draw> presentedDraws; // the frame most recently presented
    int presentCount = 0;
    int colourClearCount = 0;
    int beginFrameCount = 0;
    int freedTextureCount = 0;

private:
    TextureId lastTexture_ = 0;
};
