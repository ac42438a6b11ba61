// The background picture: up to 8 x 8 tiles of T x T texels, T = min(largest texture, 512).
#include "gfx/background.h"

#include <algorithm>

#include "gfx/sprites.h"

namespace {

constexpr int kMaxTilesPerSide = 8;
constexpr int kLargestTile = 512;

struct BackgroundSlot {
    int tileSize = 0;
    int rows = 0;
    int columns = 0;
    TextureId tiles[kMaxTilesPerSide][kMaxTilesPerSide] = {};
};

BackgroundSlot& Background() {
    static BackgroundSlot slot;
    return slot;
}

int TileSize() {
    int largest = CurrentRenderer().MaxTextureSize();
    return std::min(largest, kLargestTile);
}

// The tile's part of the picture; edge tiles are padded with clear texels.
Picture CutTile(const Picture& picture, int left, int top, int size) {
    Picture tile;
    tile.width = tile.height = size;
    tile.rgba.assign(static_cast<size_t>(size) * size * 4, 0);
    int width = std::min(size, picture.width - left), height = std::min(size, picture.height - top);
    for (int row = 0; row < height; ++row) {
        const uint8_t* from = &picture.rgba[(static_cast<size_t>(top + row) * picture.width + left) * 4];
        std::copy(from, from + width * 4, &tile.rgba[static_cast<size_t>(row) * size * 4]);
    }
    return tile;
}

TextureId BuildTile(const Picture& tile) {
    TextureImage image = BuildTextureImage(tile, tile.width);
    FillTransparentEdges(image);
    return CurrentRenderer().CreateTexture(image.rgba.data(), image.texWidth, image.texHeight,
                                           TextureFilter::Linear);
}

void DrawTile(TextureId texture, int column, int row, int size) {
    float left = static_cast<float>(column * size), top = static_cast<float>(row * size);
    float right = left + size, bottom = top + size;
    QuadCorner corners[4] = {
        {right, top, 1, 1}, {left, top, 0, 1}, {left, bottom, 0, 0}, {right, bottom, 1, 0}};
    QuadBatch batch;
    batch.texture = texture;
    batch.filter = TextureFilter::Linear;
    batch.alphaTest = false;
    batch.corners = corners;
    batch.quadCount = 1;
    batch.tag = DrawTag{DrawKind::Background, -1, -1, left, top, nullptr};
    CurrentRenderer().DrawQuads(batch);
}

}  // namespace

bool SetBackgroundPicture(const Picture& picture) {
    DeleteBackground();
    if (picture.width <= 0 || picture.height <= 0) return false;
    BackgroundSlot& slot = Background();
    slot.tileSize = TileSize();
    // A picture beyond 8 tiles a side keeps its top-left part.
    slot.columns = std::min(kMaxTilesPerSide, (picture.width + slot.tileSize - 1) / slot.tileSize);
    slot.rows = std::min(kMaxTilesPerSide, (picture.height + slot.tileSize - 1) / slot.tileSize);
    for (int row = 0; row < slot.rows; ++row) {
        for (int column = 0; column < slot.columns; ++column) {
            Picture tile = CutTile(picture, column * slot.tileSize, row * slot.tileSize, slot.tileSize);
            slot.tiles[row][column] = BuildTile(tile);
        }
    }
    return true;
}

void DeleteBackground() {
    BackgroundSlot& slot = Background();
    for (int row = 0; row < slot.rows; ++row) {
        for (int column = 0; column < slot.columns; ++column) {
            if (slot.tiles[row][column] != 0) CurrentRenderer().FreeTexture(slot.tiles[row][column]);
        }
    }
    slot = BackgroundSlot{};
}

bool HasBackground() { return Background().rows > 0; }

void DrawBackground() {
    const BackgroundSlot& slot = Background();
    for (int row = 0; row < slot.rows; ++row) {
        for (int column = 0; column < slot.columns; ++column) {
            DrawTile(slot.tiles[row][column], column, row, slot.tileSize);
        }
    }
}
