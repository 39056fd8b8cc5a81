// The shadow view's pixel work: the motion mask against the background and the frames
// around the current one, the background estimate and the blend of the current field.
#define NOMINMAX
#include <limits>
#include <vector>
#include "shadow_pixels.h"
#include "gtest_wine.h"

namespace {

using namespace shadow;

TEST(ShadowPixels, Tests)
{
    EXPECT_TRUE(Near(0x102030, 0x162636, 6));
    EXPECT_FALSE(Near(0x102030, 0x172636, 6));
    EXPECT_EQ(Distance(0x000000, 0x646464, 54), (46 * 3) / 3);
    EXPECT_EQ(Distance(0x000000, 0x640000, 54), 46 / 3);
    EXPECT_EQ(Average(0xFF0103, 0x000100), 0x7F0101u);
    EXPECT_EQ(Weigh(0xFFFFFF, 0x000000, 255), 0xFFFFFFu);
    EXPECT_EQ(Weigh(0xFFFFFF, 0x000000, 0), 0u);
    EXPECT_EQ(Weigh(0xC8C8C8, 0x000000, 128), 0x646464u);   // 200 x 128 / 255
    EXPECT_EQ(Weigh(0x0A0A0A, 0x000000, 999), 0x0A0A0Au);   // capped
}

TEST(ShadowPixels, BackgroundIsAQuarterAQuarterAndAHalf)
{
    uint32_t first = 0x400000, middle = 0x008000, last = 0x0000FF, out = 0;
    Background(&first, &middle, &last, &out, 1);
    // ((64 + 0) / 2 + 0) / 2 ... per channel: R (64/2 + 0)/2 = 16, G (0 + 128)/2/2 = 32,
    // B (0 + 255) / 2 = 127.
    EXPECT_EQ(out, 0x10207Fu);
}

// One picture per role, every pixel the same unless set.
struct Scene {
    Scene(int w, int h, uint32_t c, uint32_t bg, uint32_t prev, uint32_t next, uint32_t acc)
        : current(w * h, c), background(w * h, bg), previous(w * h, prev), next(w * h, next),
          accumulated(w * h, acc), output(w * h, 0xDEAD), mask(w * h / 2, 7), scratch(w * h / 2)
    {
    }
    Pictures Get()
    {
        return {current.data(), background.data(), previous.data(), next.data(),
                accumulated.data(), output.data(), mask.data(), scratch.data()};
    }
    std::vector<uint32_t> current, background, previous, next, accumulated, output, mask, scratch;
};

TEST(ShadowPixels, StillPixelsShowTheStampedPicture)
{
    const uint32_t moving = 0xF0F0F0, still = 0x101010, stamped = 0x00FF00;
    struct Case {
        const char* what;
        uint32_t bg, prev, next;
        bool shows;
    } cases[] = {
        {"like the background", moving, still, still, false},
        {"like the previous frame", still, moving, still, false},
        {"like the next frame", still, still, moving, false},
        {"unlike all three", still, still, still, true},
    };
    for (const Case& c : cases) {
        Scene s(8, 8, moving, c.bg, c.prev, c.next, stamped);
        Compose(s.Get(), 8, 8, 0, 54);
        for (uint32_t m : s.mask)
            EXPECT_EQ(m, c.shows ? 255u : 0u) << c.what;
        for (uint32_t o : s.output)
            EXPECT_EQ(o, c.shows ? moving : stamped) << c.what;
    }
}

TEST(ShadowPixels, CurrentFieldIsLineDoubled)
{
    const int w = 6, h = 6;
    Scene s(w, h, 0, 0x000000, 0x000000, 0x000000, 0x0000FF);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.current[y * w + x] = y % 2 ? 0xFFFFFF : 0x808080;   // odd lines white
    for (int parity : {0, 1}) {
        Compose(s.Get(), w, h, parity, 0);
        for (int y = 0; y < h; ++y)
            EXPECT_EQ(s.output[y * w], parity ? 0xFFFFFFu : 0x808080u) << parity << " " << y;
    }
}

} // namespace
