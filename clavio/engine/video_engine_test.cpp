// The rectangle clamp of the engine interface.
#include "VideoEngine.h"
#include "gtest_wine.h"
#include <cmath>

namespace {

TEST(ClampRect, KeepsRectanglesInsideThePicture)
{
    const float nan = std::nanf("");
    struct Case {
        float in[4];
        float out[4];
    } cases[] = {
        {{0.8f, 0.9f, 0.5f, 0.5f}, {0.8f, 0.9f, 0.2f, 0.1f}},
        {{1.5f, 0.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 0.0f, 1.0f}},
        {{0.25f, 0.0f, 0.5f, 1.0f}, {0.25f, 0.0f, 0.5f, 1.0f}},
        {{-0.5f, -1.0f, 0.5f, -0.2f}, {0.0f, 0.0f, 0.5f, 0.0f}},
        {{nan, 0.5f, nan, nan}, {0.0f, 0.5f, 1.0f, 0.5f}},
        {{0.0f, 0.0f, 2.0f, 7.0f}, {0.0f, 0.0f, 1.0f, 1.0f}},
    };
    for (const Case& c : cases) {
        float r[4] = {c.in[0], c.in[1], c.in[2], c.in[3]};
        CVideoEngine::ClampRect(&r[0], &r[1], &r[2], &r[3]);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(r[i], c.out[i], 1e-6) << i << " of (" << c.in[0] << ", " << c.in[1]
                                              << ", " << c.in[2] << ", " << c.in[3] << ")";
    }
}

} // namespace
