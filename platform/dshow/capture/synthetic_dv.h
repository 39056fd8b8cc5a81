// The synthetic DV camera's pictures: a pattern that moves from frame to frame, with the
// frame's number drawn across the middle as 16 black or white bars (bit 0 leftmost), and
// a steady tone in the sound of each frame. Kept free of windows.h so that tests reading
// the recorded pictures back with FFmpeg can use the same layout.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace synthetic_dv {

const int kWidth = 720;
const int kCounterBits = 16;
const int kBarWidth = kWidth / kCounterBits;  // 45 pixels
const int kBandHalfHeight = 48;               // the bars cover the middle 96 rows
const int kSampleRate = 48000;                // DV sound: 16-bit stereo
const int kToneHz = 1000;

inline int Height(bool pal) { return pal ? 576 : 480; }
inline int FrameBytes(bool pal) { return pal ? 144000 : 120000; }

// The number drawn in a picture, from the luma (Y) of its middle row; -1 when a bar is
// neither clearly dark nor clearly bright.
inline int CounterFromLumaRow(const uint8_t* row)
{
    int n = 0;
    for (int b = 0; b < kCounterBits; ++b) {
        int level = row[b * kBarWidth + kBarWidth / 2];
        if (level > 170)
            n |= 1 << b;
        else if (level > 80)
            return -1;
    }
    return n;
}

// Sound samples (per channel) in the n-th DV frame of a stream: 1920 at 25 frames/s; at
// 29.97 frames/s the pattern 1602, 1601, 1602, 1601, 1602 carries 8008 samples in every
// 5 frames.
inline int SamplesInFrame(bool pal, int64_t n)
{
    // No static table: a static in an inline function becomes a unique symbol, and a
    // module holding one can no longer be unloaded and loaded again.
    return pal ? 1920 : (n % 5 == 1 || n % 5 == 3 ? 1601 : 1602);
}

// Makes whole DV frames (pictures and sound interleaved, as a camcorder sends them).
class Generator {
public:
    explicit Generator(bool pal);
    ~Generator();
    bool Ok() const;
    // Frame n into `out` (FrameBytes long); false on an encoder failure.
    bool Frame(int64_t n, std::vector<uint8_t>& out);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace synthetic_dv
