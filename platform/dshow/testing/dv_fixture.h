// Test clips: short DV AVI files written with FFmpeg, whose frames carry their own number
// as eight black or white bars (bit 0 leftmost), so a decoded picture tells which frame it is.
// With field numbers, frame n's first field (DV's lower field: the odd lines counted from
// the top) carries 2n and its second field 2n + 1, so a picture made of one field tells
// which field it is.
#pragma once
#include <cstdint>
#include <string>

struct DvClipFormat {
    int frames = 10;
    bool pal = false;       // 720 x 576 at 25 frames/s, else 720 x 480 at 29.97
    bool withAudio = true;  // a second stream of 48 kHz 16-bit stereo PCM
    bool rawDv = false;     // a raw DV file (frames one after another, sound inside them)
    bool fieldNumbers = false;
};

// Writes the clip (AVI, or raw DV) to a Unix path; false with a reason on failure.
bool WriteDvClip(const std::string& unixPath, const DvClipFormat& format, std::string* error);

// The frame number read from a 32-bit RGB picture (rows bottom-up when bottomUp), or -1
// when the bars are not clearly black or white.
int FrameNumberFromRgb32(const uint8_t* pixels, int width, int height, bool bottomUp);
// The same, read on one picture line (0 = top line).
int NumberOnLine(const uint8_t* pixels, int width, int height, int line, bool bottomUp);
