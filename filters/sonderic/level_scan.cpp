#include "level_scan.h"
#include <cmath>
#include <cstdlib>

int ThresholdLevel(int percent)
{
    const double exponent = percent * 0.01 * std::log10(127.0);
    const double level = std::trunc(std::pow(10.0, exponent));
    if (level > 127)
        return 127;
    if (level < 0)
        return 0;
    return int(level);
}

long FindLoudFrame(const uint8_t* data, size_t length, const PcmLayout& layout, int level)
{
    if (!data || layout.channels < 1 ||
        (layout.bytesPerSample != 1 && layout.bytesPerSample != 2))
        return -1;
    const size_t frame = size_t(layout.channels) * layout.bytesPerSample;
    long i = 0;
    for (size_t at = 0; at + frame <= length; at += frame, ++i) {
        int magnitude;
        if (layout.bytesPerSample == 1) {
            magnitude = std::abs(int(data[at]) - 128);
        } else {
            const int16_t v = int16_t(uint16_t(data[at]) | uint16_t(data[at + 1]) << 8);
            magnitude = std::abs(int(v)) >> 8;
        }
        if (magnitude > level)
            return i;
    }
    return -1;
}

int64_t LoudFrameMilliseconds(int64_t mediaStart, long index, int sampleRate)
{
    if (sampleRate <= 0)
        return 0;
    return (mediaStart + index) * 1000 / sampleRate;
}
