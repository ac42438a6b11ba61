// The recording renderer: keeps textures and draws, and paints them in software on request so
// that frames can be checked pixel by pixel without GL.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "tests/support/recording_renderer.h"

namespace {

struct QuadBounds {
    QuadCorner topLeft, bottomRight;
};

// Quads are axis-aligned rectangles; texture coordinates run linearly between opposite corners.
QuadBounds BoundsOf(const QuadCorner* corners) {
    QuadBounds bounds{corners[0], corners[0]};
    for (int i = 1; i < 4; ++i) {
        const QuadCorner& c = corners[i];
        if (c.x <= bounds.topLeft.x && c.y <= bounds.topLeft.y) bounds.topLeft = c;
        if (c.x >= bounds.bottomRight.x && c.y >= bounds.bottomRight.y) bounds.bottomRight = c;
    }
    return bounds;
}

int WrapTexel(float coordinate, int size) {
    int texel = static_cast<int>(std::floor(coordinate * size));
    return ((texel % size) + size) % size;
}

void PaintQuad(const RecordingRenderer::Texture& texture, const QuadCorner* corners, bool alphaTest,
               uint8_t* frame) {
    QuadBounds b = BoundsOf(corners);
    float width = b.bottomRight.x - b.topLeft.x, height = b.bottomRight.y - b.topLeft.y;
    if (width <= 0 || height <= 0) return;
    int firstX = std::max(0, static_cast<int>(std::ceil(b.topLeft.x - 0.5f)));
    int lastX = std::min(kLogicalWidth, static_cast<int>(std::ceil(b.bottomRight.x - 0.5f)));
    int firstY = std::max(0, static_cast<int>(std::ceil(b.topLeft.y - 0.5f)));
    int lastY = std::min(kLogicalHeight, static_cast<int>(std::ceil(b.bottomRight.y - 0.5f)));
    for (int y = firstY; y < lastY; ++y) {
        float v = b.topLeft.v + (y + 0.5f - b.topLeft.y) / height * (b.bottomRight.v - b.topLeft.v);
        int row = WrapTexel(v, texture.height);
        for (int x = firstX; x < lastX; ++x) {
            float u = b.topLeft.u + (x + 0.5f - b.topLeft.x) / width * (b.bottomRight.u - b.topLeft.u);
            const uint8_t* texel =
                &texture.rgba[(static_cast<size_t>(row) * texture.width + WrapTexel(u, texture.width)) * 4];
            if (alphaTest && texel[3] <= 0.05f * 255) continue;
            uint8_t* pixel = &frame[(static_cast<size_t>(y) * kLogicalWidth + x) * 4];
            std::memcpy(pixel, texel, 3);
            pixel[3] = 255;
        }
    }
}

}  // namespace

TextureId RecordingRenderer::CreateTexture(const uint8_t* rgba, int width, int height, TextureFilter filter) {
    TextureId id = ++lastTexture_;
    ReplaceTexture(id, rgba, width, height, filter);
    return id;
}

void RecordingRenderer::ReplaceTexture(TextureId texture, const uint8_t* rgba, int width, int height,
                                       TextureFilter filter) {
    Texture& stored = textures[texture];
    stored.width = width;
    stored.height = height;
    stored.filter = filter;
    stored.rgba.assign(rgba, rgba + static_cast<size_t>(width) * height * 4);
}

void RecordingRenderer::FreeTexture(TextureId texture) {
    if (textures.erase(texture)) ++freedTextureCount;
}

void RecordingRenderer::DrawQuads(const QuadBatch& batch) {
    Draw draw;
    draw.tag = batch.tag;
    if (batch.tag.text) draw.text = batch.tag.text;
    draw.texture = batch.texture;
    draw.filter = batch.filter;
    draw.alphaTest = batch.alphaTest;
    draw.corners.assign(batch.corners, batch.corners + batch.quadCount * 4);
    draws.push_back(std::move(draw));
    draws.back().tag.text = batch.tag.text ? draws.back().text.c_str() : nullptr;
}

void RecordingRenderer::Clear(unsigned clearBits) {
    if (!(clearBits & ClearColour)) return;
    ++colourClearCount;
    draws.clear();
}

void RecordingRenderer::Present() {
    ++presentCount;
    presentedDraws = std::move(draws);
    draws.clear();
    for (Draw& draw : presentedDraws) draw.tag.text = draw.tag.text ? draw.text.c_str() : nullptr;
}

bool RecordingRenderer::ReadFrame(uint8_t* rgbaTopDown) {
    std::memset(rgbaTopDown, 0, static_cast<size_t>(kLogicalWidth) * kLogicalHeight * 4);
    for (int i = 0; i < kLogicalWidth * kLogicalHeight; ++i) rgbaTopDown[i * 4 + 3] = 255;
    for (const Draw& draw : draws) {
        const Texture* texture = FindTexture(draw.texture);
        if (!texture) continue;
        for (size_t quad = 0; quad * 4 < draw.corners.size(); ++quad) {
            PaintQuad(*texture, &draw.corners[quad * 4], draw.alphaTest, rgbaTopDown);
        }
    }
    return true;
}

const RecordingRenderer::Texture* RecordingRenderer::FindTexture(TextureId texture) const {
    auto it = textures.find(texture);
    return it == textures.end() ? nullptr : &it->second;
}

std::vector<const RecordingRenderer::Draw*> RecordingRenderer::DrawsOfSprite(int spriteId) const {
    std::vector<const Draw*> found;
    for (const Draw& draw : draws) {
        if (draw.tag.spriteId == spriteId) found.push_back(&draw);
    }
    return found;
}
