#include "shadow_pixels.h"
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace shadow {

namespace {

inline int Channel(uint32_t p, int shift) { return int((p >> shift) & 0xFF); }

} // namespace

bool Near(uint32_t a, uint32_t b, int t)
{
    return abs(Channel(a, 16) - Channel(b, 16)) <= t && abs(Channel(a, 8) - Channel(b, 8)) <= t &&
           abs(Channel(a, 0) - Channel(b, 0)) <= t;
}

int Distance(uint32_t a, uint32_t b, int t)
{
    int sum = 0;
    for (int shift : {16, 8, 0}) {
        int d = abs(Channel(a, shift) - Channel(b, shift)) - t;
        if (d > 0)
            sum += d;
    }
    return sum / 3;
}

uint32_t Average(uint32_t a, uint32_t b)
{
    uint32_t r = 0;
    for (int shift : {16, 8, 0})
        r |= uint32_t((Channel(a, shift) + Channel(b, shift)) / 2) << shift;
    return r;
}

uint32_t Weigh(uint32_t a, uint32_t b, int alpha)
{
    if (alpha > 255)
        alpha = 255;
    if (alpha < 0)
        alpha = 0;
    uint32_t r = 0;
    for (int shift : {16, 8, 0})
        r |= uint32_t((Channel(a, shift) * alpha + Channel(b, shift) * (255 - alpha)) / 255) << shift;
    return r;
}

void Background(const uint32_t* first, const uint32_t* middle, const uint32_t* last, uint32_t* out,
                int count)
{
    for (int i = 0; i < count; ++i)
        out[i] = Average(Average(Average(first[i], first[i]), middle[i]), last[i]);
}

void Compose(const Pictures& p, int width, int height, int parity, int t)
{
    const int rows = height / 2;
    for (int y = parity; y < height; y += 2) {
        const int r = (y - parity) / 2;
        if (r >= rows)
            break;
        const size_t line = size_t(y) * width;
        uint32_t* m = p.mask + size_t(r) * width;
        for (int x = 0; x < width; ++x) {
            const uint32_t c = p.current[line + x];
            if (Near(c, p.background[line + x], t) || Near(c, p.previous[line + x], t) ||
                Near(c, p.next[line + x], t)) {
                m[x] = 0;
                continue;
            }
            const int d = Distance(c, p.background[line + x], t);
            m[x] = d > t ? 255 : uint32_t(d > 255 ? 255 : d);
        }
    }
    if (width >= 5 && rows >= 5) {
        memcpy(p.scratch, p.mask, size_t(width) * rows * 4);
        for (int r = 2; r <= rows - 3; ++r)
            for (int x = 2; x <= width - 3; ++x) {
                uint32_t sum = 0;
                for (int dr = -2; dr <= 2; ++dr) {
                    const uint32_t* row = p.scratch + size_t(r + dr) * width + x - 2;
                    sum += row[0] + row[1] + row[2] + row[3] + row[4];
                }
                p.mask[size_t(r) * width + x] = sum / 25;
            }
    }
    for (int y = 0; y < height; ++y) {
        const int h = y / 2;
        const int source = parity + 2 * h;
        if (h >= rows || source >= height) {
            memcpy(p.output + size_t(y) * width, p.accumulated + size_t(y) * width, size_t(width) * 4);
            continue;
        }
        const uint32_t* cur = p.current + size_t(source) * width;
        const uint32_t* acc = p.accumulated + size_t(y) * width;
        const uint32_t* m = p.mask + size_t(h) * width;
        uint32_t* out = p.output + size_t(y) * width;
        for (int x = 0; x < width; ++x)
            out[x] = Weigh(cur[x], acc[x], int(m[x]));
    }
}

} // namespace shadow
