// Sound-level scan of the level trigger: the threshold scale and the search for the first
// loud sample frame in a buffer of PCM audio.
#pragma once
#include <cstddef>
#include <cstdint>

// Threshold level on the 8-bit magnitude scale for a percentage: 127 raised to
// percent / 100, truncated, limited to 0..127.
int ThresholdLevel(int percent);

struct PcmLayout {
    int channels = 0;
    int bytesPerSample = 0;   // 1 (8-bit, offset binary) or 2 (16-bit signed); others are not scanned
    int sampleRate = 0;
};

// Index of the first whole sample frame whose first channel's magnitude exceeds level
// (8-bit: |byte - 128|; 16-bit: |word| >> 8), or -1. Only bytes within length are read.
long FindLoudFrame(const uint8_t* data, size_t length, const PcmLayout& layout, int level);

// Stream time in milliseconds of frame index i of a sample whose media start is
// mediaStart (in sample frames).
int64_t LoudFrameMilliseconds(int64_t mediaStart, long index, int sampleRate);
