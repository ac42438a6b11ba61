// The sprite slot table: loading pictures into slots and drawing animation-strip frames.
#include "gfx/sprites.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/media_archive.h"
#include "gfx/sprite_slots.h"

namespace {

// Draws nothing; textures go to the renderer that draws the frames someone looks at.
class DrawlessRenderer : public RenderBackend {
public:
    TextureId CreateTexture(const uint8_t* rgba, int width, int height, TextureFilter filter) override {
        return textures->CreateTexture(rgba, width, height, filter);
    }
    void ReplaceTexture(TextureId texture, const uint8_t* rgba, int width, int height,
                        TextureFilter filter) override {
        textures->ReplaceTexture(texture, rgba, width, height, filter);
    }
    void FreeTexture(TextureId texture) override { textures->FreeTexture(texture); }
    int MaxTextureSize() override { return textures->MaxTextureSize(); }
    void DrawQuads(const QuadBatch&) override {}
    void Clear(unsigned) override {}
    void BeginFrame() override {}
    void Present() override {}
    bool ReadFrame(uint8_t*) override { return false; }

    RenderBackend* textures = nullptr;
};

struct SpriteTable {
    NullRenderer nullRenderer;
    RenderBackend* renderer = &nullRenderer;
    DrawlessRenderer drawless;
    bool frameDrawn = true;
    std::vector<SpriteSlot> slots = std::vector<SpriteSlot>(kSpriteSlotCount);
    bool smoothing = true;
    uint32_t spriteColourKey = kDefaultSpriteColourKey;
    uint32_t fontColourKey = kDefaultFontColourKey;
};

SpriteTable& Sprites() {
    static SpriteTable table;
    return table;
}

// Corners in the order that faces the viewer under the y-down projection.
void DrawFrameQuad(const SpriteSlot& slot, int id, int frame, float left, float top, float uLeft,
                   float vBottom) {
    float uRight = uLeft + static_cast<float>(slot.frameWidth) / slot.texWidth;
    float vTop = vBottom + static_cast<float>(slot.frameHeight) / slot.texHeight;
    float right = left + slot.frameWidth, bottom = top + slot.frameHeight;
    QuadCorner corners[4] = {
        {right, top, uRight, vTop},
        {left, top, uLeft, vTop},
        {left, bottom, uLeft, vBottom},
        {right, bottom, uRight, vBottom},
    };
    QuadBatch batch;
    batch.texture = slot.texture;
    batch.filter = SmoothingEnabled() ? TextureFilter::Linear : TextureFilter::Nearest;
    batch.corners = corners;
    batch.quadCount = 1;
    batch.tag = DrawTag{DrawKind::AnimFrame, id, frame, left, top, nullptr};
    CurrentRenderer().DrawQuads(batch);
}

}  // namespace

int TruncateToInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<int>(value);
}

SpriteSlot* MutableSpriteSlot(int id) {
    if (id < 0 || id >= kSpriteSlotCount) return nullptr;
    return &Sprites().slots[id];
}

const SpriteSlot* FindSpriteSlot(int id) { return MutableSpriteSlot(id); }

bool IsFontSpriteId(int id) { return id >= kFirstFontSpriteId; }

void EmptySpriteSlot(SpriteSlot& slot) {
    if (slot.texture != 0) Sprites().renderer->FreeTexture(slot.texture);
    if (slot.mipTexture != 0) Sprites().renderer->FreeTexture(slot.mipTexture);
    slot.texture = slot.mipTexture = 0;
    slot.texWidth = slot.texHeight = kEmptyTexSize;
    slot.width = slot.height = 0;
}

void InstallPicture(int id, const Picture& picture) {
    SpriteSlot* slot = MutableSpriteSlot(id);
    if (!slot) return;
    RenderBackend& renderer = *Sprites().renderer;
    TextureImage image = BuildTextureImage(picture, renderer.MaxTextureSize());
    bool font = IsFontSpriteId(id);
    if (!font) FillTransparentEdges(image);
    TextureFilter filter = font ? TextureFilter::Nearest : TextureFilter::Linear;
    slot->texture = renderer.CreateTexture(image.rgba.data(), image.texWidth, image.texHeight, filter);
    slot->texWidth = static_cast<uint16_t>(image.texWidth);
    slot->texHeight = static_cast<uint16_t>(image.texHeight);
    int maxSize = renderer.MaxTextureSize();
    slot->width = static_cast<int16_t>(picture.width < maxSize ? picture.width : maxSize);
    slot->height = static_cast<int16_t>(picture.height < maxSize ? picture.height : maxSize);
}

bool LoadPictureIntoSlot(int id, const std::string& fileName, uint32_t colourKey) {
    SpriteSlot* slot = MutableSpriteSlot(id);
    if (!slot) return false;
    EmptySpriteSlot(*slot);
    std::string path;
    if (!ResolveMediaFile(MediaSlotMedia, fileName, path)) return false;
    Picture picture;
    if (!DecodePictureFile(path, colourKey, picture)) return false;
    if (picture.width == 0 || picture.height == 0) return false;
    InstallPicture(id, picture);
    return true;
}

void SetRenderBackend(RenderBackend* renderer) {
    Sprites().renderer = renderer ? renderer : &Sprites().nullRenderer;
}

RenderBackend& CurrentRenderer() {
    SpriteTable& table = Sprites();
    if (table.frameDrawn) return *table.renderer;
    table.drawless.textures = table.renderer;
    return table.drawless;
}

void SetFrameDrawn(bool drawn) { Sprites().frameDrawn = drawn; }
bool FrameDrawn() { return Sprites().frameDrawn; }

double LoadSprite(const char* fileName, double id) {
    return LoadPictureIntoSlot(TruncateToInt32(id), fileName, Sprites().spriteColourKey) ? 1.0 : 0.0;
}

double LoadSprite(const RtString& fileName, double id) { return LoadSprite(StrChars(fileName), id); }

double LoadAnimStrip(const char* fileName, double id, double frameWidth, double frameHeight) {
    double loaded = LoadSprite(fileName, id);
    SpriteSlot* slot = MutableSpriteSlot(TruncateToInt32(id));
    if (slot && slot->width > 0) {
        slot->frameWidth = static_cast<uint16_t>(TruncateToInt32(frameWidth));
        slot->frameHeight = static_cast<uint16_t>(TruncateToInt32(frameHeight));
    }
    return loaded;
}

double LoadAnimStrip(const RtString& fileName, double id, double frameWidth, double frameHeight) {
    return LoadAnimStrip(StrChars(fileName), id, frameWidth, frameHeight);
}

void DrawAnimFrame(double id, double frame, double x, double y) {
    int slotId = TruncateToInt32(id);
    const SpriteSlot* slot = FindSpriteSlot(slotId);
    if (!slot || slot->frameWidth == 0 || slot->frameHeight == 0) return;
    // A picture narrower than one frame, or emptied by a failed reload, has no whole column.
    int columns = slot->width / slot->frameWidth;
    if (columns == 0 || slot->texture == 0) return;
    int frameNumber = TruncateToInt32(frame);
    int row = frameNumber / columns, column = frameNumber % columns;
    float uLeft = static_cast<float>(column) * slot->frameWidth / slot->texWidth;
    float frameBottom = static_cast<float>(slot->height) - slot->frameHeight * (static_cast<float>(row) + 1);
    float vBottom = frameBottom / slot->texHeight;
    float left = std::ceil(static_cast<float>(x)), top = std::ceil(static_cast<float>(y));
    DrawFrameQuad(*slot, slotId, frameNumber, left, top, uLeft, vBottom);
}

SpriteSize GetSpriteSize(double id) {
    const SpriteSlot* slot = FindSpriteSlot(TruncateToInt32(id));
    if (!slot) return {0, 0};
    return {static_cast<double>(slot->width), static_cast<double>(slot->height)};
}

void SetSmoothing(double flag) { Sprites().smoothing = flag != 0; }

void SetColourKey(double colour) {
    uint32_t key = static_cast<uint32_t>(TruncateToInt32(colour));
    Sprites().spriteColourKey = key;
    Sprites().fontColourKey = key;
}

void FreeSprite(double id) {
    SpriteSlot* slot = MutableSpriteSlot(TruncateToInt32(id));
    if (slot) EmptySpriteSlot(*slot);
}

bool SmoothingEnabled() { return Sprites().smoothing; }
uint32_t SpriteColourKey() { return Sprites().spriteColourKey; }
uint32_t FontColourKey() { return Sprites().fontColourKey; }

void ResetSpriteTable() {
    for (SpriteSlot& slot : Sprites().slots) {
        EmptySpriteSlot(slot);
        slot.frameWidth = slot.frameHeight = 0;
    }
    Sprites().spriteColourKey = kDefaultSpriteColourKey;
    Sprites().fontColourKey = kDefaultFontColourKey;
    Sprites().smoothing = true;
}

void Setup2D() {
    CurrentRenderer().BeginFrame();
    Sprites().smoothing = true;
}
