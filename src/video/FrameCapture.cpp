#include "video/FrameCapture.h"

#include <glad/gl.h>

namespace {
constexpr int kBytesPerPixel = 4;
}

FrameCapture::FrameCapture(int width, int height) : width_(width), height_(height) {
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(1, &colour_);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth_);
    valid_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    const auto bytes = static_cast<GLsizeiptr>(width) * height * kBytesPerPixel;
    glGenBuffers(kBuffers, pixelBuffers_.data());
    for (unsigned int buffer : pixelBuffers_) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
        glBufferData(GL_PIXEL_PACK_BUFFER, bytes, nullptr, GL_STREAM_READ);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    valid_ = valid_ && glGetError() == GL_NO_ERROR;
}

FrameCapture::~FrameCapture() {
    glDeleteBuffers(kBuffers, pixelBuffers_.data());
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteRenderbuffers(1, &depth_);
}

void FrameCapture::bind() const {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glViewport(0, 0, width_, height_);
}

bool FrameCapture::capture(std::uint64_t frames, const Deliver& deliver) {
    const int reading = next_;
    next_ = (next_ + 1) % kBuffers;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, pixelBuffers_[reading]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    pendingFrames_[reading] = frames;
    return deliverPending(next_, deliver);
}

bool FrameCapture::flush(const Deliver& deliver) {
    // The buffer read last is the one before `next_`.
    return deliverPending((next_ + kBuffers - 1) % kBuffers, deliver);
}

bool FrameCapture::deliverPending(int buffer, const Deliver& deliver) {
    const std::uint64_t frames = pendingFrames_[buffer];
    if (frames == 0) {
        return true;
    }
    pendingFrames_[buffer] = 0;
    const auto bytes = static_cast<GLsizeiptr>(width_) * height_ * kBytesPerPixel;
    glBindBuffer(GL_PIXEL_PACK_BUFFER, pixelBuffers_[buffer]);
    const auto* pixels = static_cast<const std::uint8_t*>(
        glMapBufferRange(GL_PIXEL_PACK_BUFFER, 0, bytes, GL_MAP_READ_BIT));
    const bool delivered = pixels != nullptr && deliver(pixels, frames);
    if (pixels != nullptr) {
        glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    return delivered;
}
