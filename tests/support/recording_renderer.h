// Test double of the renderer seam: remembers every texture and every batch, so tests check what
// was drawn without GL. Depends on gfx/render_backend.h.
#pragma once
#include <map>
#include <string>
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
        DrawTag tag;        // tag.text is not kept: see `text`
        std::string text;
        TextureFilter filter = TextureFilter::Linear;
        bool alphaTest = true;
        std::vector<QuadCorner> corners;
    };

    TextureId CreateTexture(const uint8_t* rgba, int width, int height, TextureFilter filter) override {
        ReplaceTexture(++lastTexture_, rgba, width, height, filter);
        return lastTexture_;
    }
    void ReplaceTexture(TextureId texture, const uint8_t* rgba, int width, int height, TextureFilter filter) override {
        textures[texture] = {width, height, filter, std::vector<uint8_t>(rgba, rgba + size_t(width) * height * 4)};
    }
    void FreeTexture(TextureId texture) override { textures.erase(texture); }
    int MaxTextureSize() override { return maxTextureSize; }
    void DrawQuads(const QuadBatch& b) override {
        draws.push_back({b.tag, b.tag.text ? b.tag.text : "", b.filter, b.alphaTest,
                         std::vector<QuadCorner>(b.corners, b.corners + b.quadCount * 4)});
        draws.back().tag.text = nullptr;
    }
    void Clear(unsigned clearBits) override {
        if (!(clearBits & ClearColour)) return;
        ++colourClearCount;
        draws.clear();
    }
    void BeginFrame() override {}
    void Present() override {
        ++presentCount;
        presentedDraws = std::move(draws);
        draws.clear();
    }
    bool ReadFrame(uint8_t*) override { return false; }

    // Draws of the current frame that show sprite `spriteId` (text and frames alike).
    std::vector<const Draw*> DrawsOfSprite(int spriteId) const {
        std::vector<const Draw*> found;
        for (const Draw& draw : draws)
            if (draw.tag.spriteId == spriteId) found.push_back(&draw);
        return found;
    }

    int maxTextureSize = 4096;
    std::map<TextureId, Texture> textures;
    std::vector<Draw> draws;           // since the last Present (or the last Clear of colour)
    std::vector<Draw> presentedDraws;  // the frame most recently presented
    int presentCount = 0;
    int colourClearCount = 0;

private:
    TextureId lastTexture_ = 0;
};
