// WebGL drawing for the 2D runtime. The frame is drawn 1:1 into the bottom-left 320 x 240 pixels
// of an offscreen texture, so a frame half drawn when the game yields to the browser never shows;
// presenting draws that texture scaled over the canvas.
#include "platform/web/web_renderer.h"

#include <GLES2/gl2.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/web/web_window.h"
#include "platform/window_geometry.h"

namespace {

// The 320 x 240 frame fits a 512 x 256 texture; the rest of it is never sampled.
constexpr int kPictureTextureWidth = 512;
constexpr int kPictureTextureHeight = 256;
// 16-bit indices reach 65536 corners.
constexpr int kMostQuadsPerDraw = 16384;

// The desktop renderer's fixed pipeline: the texel modulated by the colour, texels with alpha at
// or below 0.05 dropped while the alpha test is on, the y axis pointing down the screen.
const char* const kVertexShader = R"(
attribute vec2 position;
attribute vec2 texCoord;
uniform vec2 viewSize;
varying vec2 uv;
void main() {
    uv = texCoord;
    gl_Position = vec4(position.x * 2.0 / viewSize.x - 1.0, 1.0 - position.y * 2.0 / viewSize.y, 0.0, 1.0);
}
)";

const char* const kFragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D picture;
uniform vec4 colour;
uniform bool alphaTest;
varying vec2 uv;
void main() {
    vec4 texel = texture2D(picture, uv) * colour;
    if (alphaTest && texel.a <= 0.05) discard;
    gl_FragColor = texel;
}
)";

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

GLint GlFilter(TextureFilter filter) { return filter == TextureFilter::Nearest ? GL_NEAREST : GL_LINEAR; }

void SetFilter(TextureFilter filter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GlFilter(filter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GlFilter(filter));
}

// WebGL repeats only power-of-two textures; the seam promises those, anything else is clamped.
void UploadTexture(GLuint texture, const uint8_t* rgba, int width, int height, TextureFilter filter) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLint wrap = IsPowerOfTwo(width) && IsPowerOfTwo(height) ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    SetFilter(filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

GLuint CompileShader(GLenum kind, const char* source) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled) return shader;
    char log[512] = "";
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "tumbrel: the WebGL shader does not compile: %s\n", log);
    glDeleteShader(shader);
    return 0;
}

GLuint LinkProgram() {
    GLuint vertex = CompileShader(GL_VERTEX_SHADER, kVertexShader);
    GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader);
    if (!vertex || !fragment) return 0;
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindAttribLocation(program, 0, "position");
    glBindAttribLocation(program, 1, "texCoord");
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked) return program;
    glDeleteProgram(program);
    return 0;
}

void FlipRowsInto(const std::vector<uint8_t>& bottomUp, int width, int height, uint8_t* topDown) {
    size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int row = 0; row < height; ++row)
        std::memcpy(topDown + row * rowBytes, bottomUp.data() + (height - 1 - row) * rowBytes, rowBytes);
}

// Two triangles per quad, corners 0-1-2 and 0-2-3, as the desktop pipeline splits them.
std::vector<GLushort> QuadIndices() {
    std::vector<GLushort> indices;
    indices.reserve(kMostQuadsPerDraw * 6);
    for (int quad = 0; quad < kMostQuadsPerDraw; ++quad) {
        GLushort first = static_cast<GLushort>(quad * 4);
        for (int corner : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<GLushort>(first + corner));
    }
    return indices;
}

}  // namespace

bool WebRenderer::Start() {
    program_ = LinkProgram();
    if (!program_) return false;
    viewSizeAt_ = glGetUniformLocation(program_, "viewSize");
    colourAt_ = glGetUniformLocation(program_, "colour");
    alphaTestAt_ = glGetUniformLocation(program_, "alphaTest");
    GLint maxSize = 64;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    maxTextureSize_ = std::max(64, static_cast<int>(maxSize));

    glGenBuffers(1, &vertexBuffer_);
    glGenBuffers(1, &indexBuffer_);
    std::vector<GLushort> indices = QuadIndices();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, indices.size() * sizeof(GLushort), indices.data(), GL_STATIC_DRAW);

    const uint8_t white[4] = {255, 255, 255, 255};
    glGenTextures(1, &whiteTexture_);
    UploadTexture(whiteTexture_, white, 1, 1, TextureFilter::Nearest);
    std::vector<uint8_t> black(kPictureTextureWidth * kPictureTextureHeight * 4, 0);
    glGenTextures(1, &pictureTexture_);
    UploadTexture(pictureTexture_, black.data(), kPictureTextureWidth, kPictureTextureHeight, TextureFilter::Nearest);
    glGenFramebuffers(1, &pictureFramebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, pictureFramebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, pictureTexture_, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::fprintf(stderr, "tumbrel: WebGL cannot draw into a texture here\n");
        return false;
    }
    started_ = true;
    BeginFrame();
    return true;
}

void WebRenderer::Stop() {
    started_ = false;
    program_ = vertexBuffer_ = indexBuffer_ = whiteTexture_ = pictureTexture_ = pictureFramebuffer_ = 0;
}

TextureId WebRenderer::CreateTexture(const uint8_t* rgba, int width, int height, TextureFilter filter) {
    if (!started_) return 0;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    UploadTexture(texture, rgba, width, height, filter);
    return texture;
}

void WebRenderer::ReplaceTexture(TextureId texture, const uint8_t* rgba, int width, int height,
                                 TextureFilter filter) {
    if (started_ && texture != 0) UploadTexture(texture, rgba, width, height, filter);
}

void WebRenderer::FreeTexture(TextureId texture) {
    GLuint name = texture;
    if (started_ && name != 0) glDeleteTextures(1, &name);
}

void WebRenderer::UseProgram(float viewWidth, float viewHeight) {
    glUseProgram(program_);
    glUniform2f(viewSizeAt_, viewWidth, viewHeight);
    glActiveTexture(GL_TEXTURE0);
}

// The whole 320 x 240 picture: opaque white, no blending, back faces culled.
void WebRenderer::BeginFrame() {
    if (!started_) return;
    glBindFramebuffer(GL_FRAMEBUFFER, pictureFramebuffer_);
    glViewport(0, 0, kPictureWidth, kPictureHeight);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glClearColor(0, 0, 0, 1);
    UseProgram(kPictureWidth, kPictureHeight);
}

void WebRenderer::DrawQuads(const QuadBatch& batch) {
    if (!started_ || batch.quadCount <= 0 || !batch.corners) return;
    glBindTexture(GL_TEXTURE_2D, batch.texture != 0 ? batch.texture : whiteTexture_);
    SetFilter(batch.filter);
    uint32_t c = batch.colourRGBA;
    glUniform4f(colourAt_, (c >> 24) / 255.0f, ((c >> 16) & 255) / 255.0f,
                ((c >> 8) & 255) / 255.0f, (c & 255) / 255.0f);
    glUniform1i(alphaTestAt_, batch.alphaTest ? 1 : 0);
    for (int first = 0; first < batch.quadCount; first += kMostQuadsPerDraw)
        DrawTriangles(batch.corners + first * 4, std::min(kMostQuadsPerDraw, batch.quadCount - first));
}

void WebRenderer::DrawTriangles(const QuadCorner* corners, int quadCount) {
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, quadCount * 4 * sizeof(QuadCorner), corners, GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(QuadCorner), reinterpret_cast<void*>(offsetof(QuadCorner, x)));
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(QuadCorner), reinterpret_cast<void*>(offsetof(QuadCorner, u)));
    glDrawElements(GL_TRIANGLES, quadCount * 6, GL_UNSIGNED_SHORT, nullptr);
}

void WebRenderer::Clear(unsigned clearBits) {
    if (started_ && (clearBits & ClearColour)) glClear(GL_COLOR_BUFFER_BIT);
}

void WebRenderer::Present() {
    if (!started_) return;
    ComposeScaledPicture();
    BeginFrame();
}

// Nearest sampling at a whole scale maps every canvas pixel to exactly one frame pixel.
void WebRenderer::ComposeScaledPicture() {
    int canvasWidth = 0, canvasHeight = 0;
    window_.FitCanvas(canvasWidth, canvasHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, canvasWidth, canvasHeight);
    glDisable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    PictureRect rect = CentredPicture(canvasWidth, canvasHeight);
    float uRight = float(kPictureWidth) / kPictureTextureWidth;
    float vTop = float(kPictureHeight) / kPictureTextureHeight;
    const QuadCorner corners[4] = {
        {float(rect.x + rect.width), float(rect.y), uRight, vTop},
        {float(rect.x), float(rect.y), 0, vTop},
        {float(rect.x), float(rect.y + rect.height), 0, 0},
        {float(rect.x + rect.width), float(rect.y + rect.height), uRight, 0},
    };
    UseProgram(float(canvasWidth), float(canvasHeight));
    QuadBatch batch;
    batch.texture = pictureTexture_;
    batch.filter = TextureFilter::Nearest;
    batch.alphaTest = false;
    batch.corners = corners;
    batch.quadCount = 1;
    DrawQuads(batch);
}

bool WebRenderer::ReadFrame(uint8_t* rgbaTopDown) {
    if (!started_) return false;
    std::vector<uint8_t> bottomUp(static_cast<size_t>(kPictureWidth) * kPictureHeight * 4);
    while (glGetError() != GL_NO_ERROR) {
    }
    glBindFramebuffer(GL_FRAMEBUFFER, pictureFramebuffer_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kPictureWidth, kPictureHeight, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    if (glGetError() != GL_NO_ERROR) return false;
    FlipRowsInto(bottomUp, kPictureWidth, kPictureHeight, rgbaTopDown);
    return true;
}
