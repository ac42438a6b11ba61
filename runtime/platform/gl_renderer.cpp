// OpenGL 1.x drawing for the 2D runtime. The frame is drawn 1:1 into the bottom-left 320 x 240
// pixels of the back buffer, then copied into a texture and drawn scaled over the whole window.
#include "platform/gl_renderer.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstring>

#include "platform/sdl_window.h"
#include "platform/window_geometry.h"

namespace {

// The 320 x 240 frame fits a 512 x 256 texture; the rest of it is never sampled.
constexpr int kPresentTextureWidth = 512;
constexpr int kPresentTextureHeight = 256;

GLint GlFilter(TextureFilter filter) { return filter == TextureFilter::Nearest ? GL_NEAREST : GL_LINEAR; }

void SetFilter(TextureFilter filter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GlFilter(filter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GlFilter(filter));
}

void UploadTexture(TextureId texture, const uint8_t* rgba, int width, int height, TextureFilter filter) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    SetFilter(filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

void SetColour(uint32_t rgba) {
    glColor4ub(static_cast<GLubyte>(rgba >> 24), static_cast<GLubyte>(rgba >> 16),
               static_cast<GLubyte>(rgba >> 8), static_cast<GLubyte>(rgba));
}

void FlipRowsInto(const std::vector<uint8_t>& bottomUp, int width, int height, uint8_t* topDown) {
    size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int row = 0; row < height; ++row)
        std::memcpy(topDown + row * rowBytes, bottomUp.data() + (height - 1 - row) * rowBytes, rowBytes);
}

bool ReadBackBuffer(int width, int height, uint8_t* rgbaTopDown) {
    std::vector<uint8_t> bottomUp(static_cast<size_t>(width) * height * 4);
    while (glGetError() != GL_NO_ERROR) {
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    if (glGetError() != GL_NO_ERROR) return false;
    FlipRowsInto(bottomUp, width, height, rgbaTopDown);
    return true;
}

// One unit per window pixel, y downward, over the whole window; plain texturing, nothing tested.
void EnterWindowPixels(int windowWidth, int windowHeight) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, windowWidth, windowHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(0, 0, windowWidth, windowHeight);
    for (GLenum capability : {GL_ALPHA_TEST, GL_BLEND, GL_CULL_FACE, GL_DEPTH_TEST, GL_SCISSOR_TEST})
        glDisable(capability);
}

void LeaveWindowPixels() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void SwitchOffUnusedState() {
    glDisable(GL_DEPTH_TEST);
    for (GLenum capability : {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH, GL_STENCIL_TEST,
                              GL_POLYGON_OFFSET_POINT, GL_AUTO_NORMAL, GL_NORMALIZE, GL_LIGHTING,
                              GL_COLOR_MATERIAL, GL_DITHER, GL_BLEND})
        glDisable(capability);
    glShadeModel(GL_FLAT);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
}

}  // namespace

void GlRenderer::Start() {
    GLint maxSize = 64;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    maxTextureSize_ = std::max(64, static_cast<int>(maxSize));
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    activeTexture_ = nullptr;
    if (extensions && std::strstr(extensions, "GL_ARB_multitexture"))
        activeTexture_ = SDL_GL_GetProcAddress("glActiveTextureARB");
    presentTexture_ = 0;
    started_ = true;
}

void GlRenderer::Stop() {
    started_ = false;
    presentTexture_ = 0;
    activeTexture_ = nullptr;
}

TextureId GlRenderer::CreateTexture(const uint8_t* rgba, int width, int height, TextureFilter filter) {
    if (!started_) return 0;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    UploadTexture(texture, rgba, width, height, filter);
    return texture;
}

void GlRenderer::ReplaceTexture(TextureId texture, const uint8_t* rgba, int width, int height,
                                TextureFilter filter) {
    if (started_ && texture != 0) UploadTexture(texture, rgba, width, height, filter);
}

void GlRenderer::FreeTexture(TextureId texture) {
    GLuint name = texture;
    if (started_ && name != 0) glDeleteTextures(1, &name);
}

void GlRenderer::Setup2D(int x, int y, int width, int height) {
    if (!started_) return;
    if (width < 1 || height < 1) {
        x = y = 0;
        width = kPictureWidth;
        height = kPictureHeight;
    }
    glViewport(x, kPictureHeight - height - y, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.05f);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    SwitchOffUnusedState();
    DrawOnFirstTextureUnitOnly();
}

// Every textured draw enables its own texture; until then nothing is textured.
void GlRenderer::DrawOnFirstTextureUnitOnly() {
    if (activeTexture_) {
        auto activeTexture = reinterpret_cast<void(APIENTRY*)(GLenum)>(activeTexture_);
        activeTexture(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        activeTexture(GL_TEXTURE0_ARB);
    } else {
        glEnable(GL_COLOR_MATERIAL);
    }
    glDisable(GL_TEXTURE_2D);
}

void GlRenderer::DrawQuads(const QuadBatch& batch) {
    if (!started_ || batch.quadCount <= 0 || !batch.corners) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, batch.texture);
    SetFilter(batch.filter);
    SetColour(batch.colourRGBA);
    if (!batch.alphaTest) glDisable(GL_ALPHA_TEST);
    if (batch.quadCount == 1)
        DrawOneQuad(batch.corners);
    else
        DrawQuadArray(batch.corners, batch.quadCount);
    if (!batch.alphaTest) glEnable(GL_ALPHA_TEST);
}

void GlRenderer::DrawOneQuad(const QuadCorner* corners) {
    glBegin(GL_QUADS);
    for (int corner = 0; corner < 4; ++corner) {
        glTexCoord2f(corners[corner].u, corners[corner].v);
        glVertex2f(corners[corner].x, corners[corner].y);
    }
    glEnd();
}

// One call for the whole batch, straight from the caller's reused corner buffer.
void GlRenderer::DrawQuadArray(const QuadCorner* corners, int quadCount) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(QuadCorner), &corners[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(QuadCorner), &corners[0].u);
    glDrawArrays(GL_QUADS, 0, quadCount * 4);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void GlRenderer::Clear(unsigned clearBits) {
    if (!started_) return;
    GLbitfield mask = 0;
    if (clearBits & ClearColour) mask |= GL_COLOR_BUFFER_BIT;
    if (clearBits & ClearDepth) mask |= GL_DEPTH_BUFFER_BIT;
    if (mask) glClear(mask);
}

// Without the flush Mesa's software rasteriser queues every frame's drawing until exit when
// nothing reads the picture back: the offscreen driver's swap does not flush.
void GlRenderer::Present() {
    if (!started_) return;
    ComposeScaledPicture();
    glFlush();
    window_.SwapBuffers();
}

bool GlRenderer::ReadFrame(uint8_t* rgbaTopDown) {
    return started_ && ReadBackBuffer(kPictureWidth, kPictureHeight, rgbaTopDown);
}

bool GlRenderer::ReadWindowPixels(std::vector<uint8_t>& rgbaTopDown, int& width, int& height) {
    window_.DrawableSize(width, height);
    if (!started_ || width <= 0 || height <= 0) return false;
    rgbaTopDown.resize(static_cast<size_t>(width) * height * 4);
    return ReadBackBuffer(width, height, rgbaTopDown.data());
}

void GlRenderer::CreatePresentTexture() {
    std::vector<uint8_t> black(kPresentTextureWidth * kPresentTextureHeight * 4, 0);
    presentTexture_ = CreateTexture(black.data(), kPresentTextureWidth, kPresentTextureHeight,
                                    TextureFilter::Nearest);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
}

// Nearest sampling at a whole scale maps every window pixel to exactly one frame pixel.
void GlRenderer::ComposeScaledPicture() {
    int windowWidth = 0, windowHeight = 0;
    window_.DrawableSize(windowWidth, windowHeight);
    if (!started_ || (windowWidth == kPictureWidth && windowHeight == kPictureHeight)) return;
    if (!presentTexture_) CreatePresentTexture();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glBindTexture(GL_TEXTURE_2D, presentTexture_);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, kPictureWidth, kPictureHeight);
    EnterWindowPixels(windowWidth, windowHeight);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    PictureRect rect = CentredPicture(windowWidth, windowHeight);
    float uRight = float(kPictureWidth) / kPresentTextureWidth;
    float vTop = float(kPictureHeight) / kPresentTextureHeight;
    QuadCorner corners[4] = {
        {float(rect.x + rect.width), float(rect.y), uRight, vTop},
        {float(rect.x), float(rect.y), 0, vTop},
        {float(rect.x), float(rect.y + rect.height), 0, 0},
        {float(rect.x + rect.width), float(rect.y + rect.height), uRight, 0},
    };
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    DrawOneQuad(corners);
    LeaveWindowPixels();
    glPopAttrib();
}
