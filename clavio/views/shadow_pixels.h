// Pixel work of the shadow view on 32-bit 0x00RRGGBB pictures, apart from any window:
// the motion mask of the current field against the background and the frames around it,
// its smoothing, and the blend of the current field over the stamped picture.
#pragma once
#include <cstdint>

namespace shadow {

// Every channel within t of the other's.
bool Near(uint32_t a, uint32_t b, int t);
// Sum over the channels of max(0, |difference| - t), divided by 3.
int Distance(uint32_t a, uint32_t b, int t);
// Per channel (a + b) / 2, top byte 0.
uint32_t Average(uint32_t a, uint32_t b);
// Per channel (a x alpha + b x (255 - alpha)) / 255 with alpha capped at 255, top byte 0.
uint32_t Weigh(uint32_t a, uint32_t b, int alpha);

// Pictures of width x height pixels, top line first, lines of width pixels.
struct Pictures {
    const uint32_t* current;
    const uint32_t* background;
    const uint32_t* previous;
    const uint32_t* next;
    const uint32_t* accumulated;
    uint32_t* output;
    uint32_t* mask;       // width x height / 2 values
    uint32_t* scratch;    // the same size, for the smoothing
};

// The current field (parity) line-doubled over the accumulated picture where it moves.
void Compose(const Pictures& p, int width, int height, int parity, int threshold);

// The background estimate: first/4 + middle/4 + last/2 per channel, rounding down at
// each step.
void Background(const uint32_t* first, const uint32_t* middle, const uint32_t* last,
                uint32_t* out, int count);

} // namespace shadow
