#pragma once

#include <array>
#include <cstdint>
#include <functional>

// An offscreen picture of the video's size that the game draws into instead of a window, read
// back without waiting for it: each picture is copied into a pixel buffer while the next one is
// drawn, and handed on one picture later. Rows come bottom first, as OpenGL reads them.
class FrameCapture {
  public:
    // Takes a picture's RGBA pixels and how many frames in a row show it; false stops the export.
    using Deliver = std::function<bool(const std::uint8_t* rgba, std::uint64_t frames)>;

    FrameCapture(int width, int height);
    ~FrameCapture();
    FrameCapture(const FrameCapture&) = delete;
    FrameCapture& operator=(const FrameCapture&) = delete;

    // False when the driver could not make the picture (its size past the driver's limits).
    bool valid() const { return valid_; }
    // Makes the picture the target of every draw until further notice, at its own size.
    void bind() const;
    // Starts reading the picture just drawn, shown for `frames` frames, and delivers the one
    // before it. False when delivering failed.
    bool capture(std::uint64_t frames, const Deliver& deliver);
    // Delivers the last picture captured.
    bool flush(const Deliver& deliver);

    int width() const { return width_; }
    int height() const { return height_; }

  private:
    static constexpr int kBuffers = 2;

    bool deliverPending(int buffer, const Deliver& deliver);

    int width_;
    int height_;
    bool valid_ = false;
    unsigned int framebuffer_ = 0;
    unsigned int colour_ = 0;
    unsigned int depth_ = 0;
    std::array<unsigned int, kBuffers> pixelBuffers_{};
    std::array<std::uint64_t, kBuffers> pendingFrames_{};
    int next_ = 0;
};
