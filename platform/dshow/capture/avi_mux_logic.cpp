#include "avi_mux.h"
#include <cstring>

namespace avi_mux {

int64_t StreamClock::Place(int64_t start, int64_t unitTime, int64_t units, bool video, int64_t jump, int64_t* skip)
{
    *skip = 0;
    if (unitTime <= 0)
        unitTime = 1;
    // Nearest unit, rounding halves up; negative starts are before the origin.
    int64_t n = start >= 0 ? (start + unitTime / 2) / unitTime : -((-start + unitTime / 2) / unitTime);
    if (video) {
        if (started && n < next)
            n = next;
        if (n < 0) {
            *skip = 1;  // a frame before the origin is left out
            return -1;
        }
        next = n + 1;
        started = true;
        return n;
    }
    if (started && n <= next + jump)
        n = next;  // sound is continuous: small jitter in its times is not a gap
    if (n < 0) {
        *skip = -n < units ? -n : units;
        n = 0;
    }
    if (started && n < next)
        n = next;
    next = n + units - *skip;
    started = true;
    return n;
}

namespace {

uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

} // namespace

bool HideCompatibilityIndex(const FileAccess& file)
{
    uint8_t head[12];
    if (!file.read(0, head, 12) || memcmp(head, "RIFF", 4) || memcmp(head + 8, "AVI ", 4))
        return false;
    const uint64_t riffEnd = 8 + uint64_t(Le32(head + 4));
    // Below the first gigabyte FFmpeg's writer makes no OpenDML index: the AVI 1.0 index
    // is then the file's only one, and it stays.
    uint8_t next[12];
    if (!file.read(riffEnd + (riffEnd & 1), next, 12) || memcmp(next, "RIFF", 4) || memcmp(next + 8, "AVIX", 4))
        return false;
    const uint32_t kHasIndex = 0x10;
    bool found = false;
    for (uint64_t pos = 12; pos + 8 <= riffEnd;) {
        uint8_t chunk[12];
        if (!file.read(pos, chunk, 8))
            return false;
        const uint32_t size = Le32(chunk + 4);
        if (!memcmp(chunk, "LIST", 4) && size >= 4 + 8 + 16 && file.read(pos + 8, chunk, 12) &&
            !memcmp(chunk, "hdrl", 4) && !memcmp(chunk + 4, "avih", 4)) {
            // dwFlags is the fourth field of the main header.
            uint8_t flags[4];
            const uint64_t at = pos + 8 + 12 + 12;
            if (file.read(at, flags, 4)) {
                uint32_t v = Le32(flags) & ~kHasIndex;
                uint8_t out[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
                file.write(at, out, 4);
            }
        } else if (!memcmp(chunk, "idx1", 4)) {
            found = file.write(pos, "JUNK", 4);
        }
        pos += 8 + uint64_t(size) + (size & 1);
    }
    return found;
}

} // namespace avi_mux
