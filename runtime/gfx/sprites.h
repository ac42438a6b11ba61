// Sprite slots: the 65536-slot table, loading pictures (BMP, PNG) into power-of-two textures,
// animation strips and drawing one strip frame. Fonts live in the same table (ids 65504..65535).
// Depends on core (media archive, strings) and the renderer seam; installs the renderer.
#pragma once
#include <cstdint>
#include "core/rt_string.h"
#include "gfx/render_backend.h"

constexpr int kSpriteSlotCount = 65536;
constexpr int kFirstFontSpriteId = 65504;
constexpr uint16_t kEmptyTexSize = 65535;
constexpr uint32_t kDefaultSpriteColourKey = 0x8000FF;  // red 255, green 0, blue 128
constexpr uint32_t kDefaultFontColourKey = 0;
constexpr uint32_t kNoColourKey = 0xFFFFFFFF;

struct SpriteSlot {
    TextureId texture = 0;
    TextureId mipTexture = 0;  // never built: only 3D drawing samples it
    uint16_t texWidth = kEmptyTexSize;
    uint16_t texHeight = kEmptyTexSize;
    int16_t width = 0;
    int16_t height = 0;
    uint16_t frameWidth = 0;
    uint16_t frameHeight = 0;
};

// nullptr installs the null renderer; the caller keeps ownership.
void SetRenderBackend(RenderBackend* renderer);
// The installed renderer, or while frames are not drawn one that draws nothing.
RenderBackend& CurrentRenderer();
// Frames nobody looks at need not be drawn: their drawing commands still run in full, but the
// quads, clears and presents go nowhere. Textures are still made and freed by the installed
// renderer, so the next frame that is drawn looks exactly as it would have.
void SetFrameDrawn(bool drawn);
bool FrameDrawn();

double LoadSprite(const char* fileName, double id);
double LoadSprite(const RtString& fileName, double id);
double LoadAnimStrip(const char* fileName, double id, double frameWidth, double frameHeight);
double LoadAnimStrip(const RtString& fileName, double id, double frameWidth, double frameHeight);
void DrawAnimFrame(double id, double frame, double x, double y);
struct SpriteSize {
    double width, height;
};
SpriteSize GetSpriteSize(double id);
void SetSmoothing(double flag);
void SetColourKey(double colour);
void FreeSprite(double id);

// For fonts, the frame code and tests.
const SpriteSlot* FindSpriteSlot(int id);  // nullptr outside 0..65535
bool SmoothingEnabled();
uint32_t SpriteColourKey();
uint32_t FontColourKey();
// Frees every slot and restores the colour keys (end of program, tests).
void ResetSpriteTable();
// The 2D state for the next frame: smoothing back on.
void Setup2D();
