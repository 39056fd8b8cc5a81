#include "gtest_wine.h"
#include "frame_blender.h"
#include <vector>

namespace {

// A buffer of w x h pixels where pixel (x, y) holds its own coordinates, so a test can
// read back where each destination pixel came from.
struct Picture {
    int w, h;
    std::vector<uint32_t> px;
    Picture(int w_, int h_, uint32_t fill = 0) : w(w_), h(h_), px(size_t(w_) * h_, fill) {}
    static Picture Coded(int w, int h, uint32_t top = 0xFF)
    {
        Picture p(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                p.at(x, y) = (top << 24) | (uint32_t(y) << 8) | uint32_t(x);
        return p;
    }
    uint32_t& at(int x, int y) { return px[size_t(y) * w + x]; }
};

uint32_t Code(int x, int y, uint32_t top = 0xFF) { return (top << 24) | (uint32_t(y) << 8) | uint32_t(x); }

CFrameBlender Over(Picture& src, Picture& dst)
{
    CFrameBlender b;
    b.m_pSource = src.px.data();
    b.m_nSourceStride = src.w;
    b.m_pDest = dst.px.data();
    b.m_nDestStride = dst.w;
    b.m_nFrameX = 0;
    b.m_nFrameY = 0;
    b.m_nFrameWidth = dst.w;
    b.m_nFrameHeight = dst.h;
    return b;
}

TEST(FrameBlender, ClipRectTable)
{
    struct Case {
        int sx, sy, w, h, dx, dy;
        bool empty;
        int esx, esy, ew, eh, edx, edy;
    } cases[] = {
        // Starting left of the frame: the lost columns move the source right.
        {0, 0, 10, 4, -3, 0, false, 3, 0, 7, 4, 0, 0},
        // Reaching past the right edge stops on the last column (frame 16 wide).
        {0, 0, 10, 4, 10, 0, false, 0, 0, 6, 4, 10, 0},
        // Entirely outside.
        {0, 0, 10, 4, 16, 0, true},
        {0, 0, 10, 4, -10, 0, true},
        {0, 0, 4, 10, 0, -2, false, 0, 2, 4, 8, 0, 0},
        {0, 0, 4, 10, 0, 6, false, 0, 0, 4, 2, 0, 6},
        {0, 0, 4, 3, 0, 8, true},
    };
    CFrameBlender b;
    b.m_nFrameWidth = 16;
    b.m_nFrameHeight = 8;
    for (const Case& c : cases) {
        int sx = c.sx, sy = c.sy, w = c.w, h = c.h, dx = c.dx, dy = c.dy;
        ASSERT_EQ(b.ClipRect(&sx, &sy, &w, &h, &dx, &dy), c.empty) << c.dx << "," << c.dy;
        if (!c.empty) {
            EXPECT_EQ(sx, c.esx);
            EXPECT_EQ(sy, c.esy);
            EXPECT_EQ(w, c.ew);
            EXPECT_EQ(h, c.eh);
            EXPECT_EQ(dx, c.edx);
            EXPECT_EQ(dy, c.edy);
        }
    }
}

TEST(FrameBlender, CopyClipsToFrameAndWritesNothingOutside)
{
    Picture src = Picture::Coded(20, 10), dst(16, 8, 0x12345678);
    CFrameBlender b = Over(src, dst);
    b.Copy(0, 0, 10, 4, -3, 2);
    EXPECT_EQ(dst.at(0, 2), Code(3, 0));
    EXPECT_EQ(dst.at(6, 5), Code(9, 3));
    EXPECT_EQ(dst.at(7, 2), 0x12345678u);
    EXPECT_EQ(dst.at(0, 1), 0x12345678u);
    std::vector<uint32_t> before = dst.px;
    b.Copy(0, 0, 10, 4, 16, 0);
    EXPECT_EQ(dst.px, before);
}

TEST(FrameBlender, SourcesAreClippedToTheirExtent)
{
    Picture src = Picture::Coded(4, 3), dst(16, 8, 0);
    // The source buffer is exactly 4 x 3; a copy asking for more must not read past it.
    src.px.shrink_to_fit();
    CFrameBlender b = Over(src, dst);
    b.m_nSourceWidth = 4;
    b.m_nSourceHeight = 3;
    b.Copy(-1, 1, 10, 10, 5, 0);
    EXPECT_EQ(dst.at(5, 0), 0u);    // column -1 of the source does not exist
    EXPECT_EQ(dst.at(6, 0), Code(0, 1));
    EXPECT_EQ(dst.at(9, 1), Code(3, 2));
    EXPECT_EQ(dst.at(10, 1), 0u);
    EXPECT_EQ(dst.at(6, 2), 0u);

    // Flipped: the last source line that exists lands on the bottom of what is left.
    Picture dst2(16, 8, 0);
    b.m_pDest = dst2.px.data();
    b.KeyedCopyFlipped(0, 0, 4, 5, 0, 0, 0xDEAD, 0xFFFFFF);
    EXPECT_EQ(dst2.at(0, 2), Code(0, 2) & 0xFFFFFFFF);
    EXPECT_EQ(dst2.at(0, 4), Code(0, 0));
    EXPECT_EQ(dst2.at(0, 1), 0u);
    EXPECT_EQ(dst2.at(0, 5), 0u);
}

TEST(FrameBlender, CopyFieldStartsOnTheWantedParity)
{
    Picture src = Picture::Coded(8, 8), dst(8, 12, 0);
    CFrameBlender b = Over(src, dst);
    b.CopyField(0, 0, 8, 6, 0, 3, false);   // even lines, destination starts on line 3
    EXPECT_EQ(dst.at(0, 3), 0u);
    EXPECT_EQ(dst.at(0, 4), Code(0, 1));
    EXPECT_EQ(dst.at(0, 6), Code(0, 3));
    EXPECT_EQ(dst.at(0, 8), Code(0, 5));
    EXPECT_EQ(dst.at(0, 5), 0u);

    b.FillField(0x7F, 1, 0, 2, 3, true);
    EXPECT_EQ(dst.at(1, 1), 0x7F7F7F7Fu);
    EXPECT_EQ(dst.at(2, 1), 0x7F7F7F7Fu);
    EXPECT_EQ(dst.at(3, 1), 0u);
    EXPECT_EQ(dst.at(1, 0), 0u);
    EXPECT_EQ(dst.at(1, 2), 0u);
}

TEST(FrameBlender, BlendByTheSourceTopByte)
{
    Picture src(3, 1), dst(3, 1, 0x10203040);
    src.at(0, 0) = 0x00FFFFFF;   // transparent: destination stays
    src.at(1, 0) = 0xFF010203;   // opaque: copied
    src.at(2, 0) = 0x80FF0000;   // a = 128
    CFrameBlender b = Over(src, dst);
    b.Blend(0, 0, 3, 1, 0, 0);
    EXPECT_EQ(dst.at(0, 0), 0x10203040u);
    EXPECT_EQ(dst.at(1, 0), 0xFF010203u);
    EXPECT_EQ(dst.at(2, 0), (0x90u << 24) | (((0x20 * 128 + 0xFF * 128) / 256) << 16) |
                                (((0x30 * 128) / 256) << 8) | ((0x40 * 128) / 256));

    Picture two(3, 2, 0x80000000);
    CFrameBlender f = Over(src, two);
    f.m_nSourceStride = 0;   // the same source line for every destination line
    f.BlendField(0, 0, 3, 2, 0, 0, true);
    EXPECT_EQ(two.at(1, 0), 0x80000000u);
    EXPECT_EQ(two.at(1, 1), 0xFF010203u);
}

TEST(FrameBlender, KeyedCopyFlippedSkipsKeyAndTurnsLines)
{
    Picture src(2, 2), dst(2, 2, 0xAAAAAAAA);
    src.at(0, 0) = 0x00000001;
    src.at(1, 0) = 0xFF00FF00;   // key under the mask
    src.at(0, 1) = 0x00000002;
    src.at(1, 1) = 0x00000003;
    CFrameBlender b = Over(src, dst);
    b.KeyedCopyFlipped(0, 0, 2, 2, 0, 0, 0x0000FF00, 0x00FFFFFF);
    EXPECT_EQ(dst.at(0, 1), 0x00000001u);   // source line 0 to the lower destination line
    EXPECT_EQ(dst.at(1, 1), 0xAAAAAAAAu);
    EXPECT_EQ(dst.at(0, 0), 0x00000002u);
    EXPECT_EQ(dst.at(1, 0), 0x00000003u);
}

TEST(FrameBlender, Blend2Table)
{
    struct Case {
        bool constant;
        int alpha;
        bool alphaMode;
        uint32_t a, b, expected;
    } cases[] = {
        {true, 128, false, 0x11000080, 0x22008000,
         0x22000000u | (((0x80 * 128) / 256) << 8) | ((0x80 * 128) / 256)},
        {true, 128, true, 0x11000080, 0x22008000,
         0x33000000u | (((0x80 * 128) / 256) << 8) | ((0x80 * 128) / 256)},
        {true, 255, false, 0x11ABCDEF, 0x22000000, 0x22ABCDEF},
        {true, 255, true, 0x11ABCDEF, 0x22000000, 0x11ABCDEF},
        {true, 0, false, 0x11ABCDEF, 0x22123456, 0x22123456},
        {false, 0, false, 0x00ABCDEF, 0x22123456, 0x22123456},   // source A top byte 0
        {false, 0, true, 0xF0000000, 0xF0000000, 0xFF000000},    // capped sum
    };
    for (const Case& c : cases) {
        Picture a(1, 1, c.a), bb(1, 1, c.b), d(1, 1, 0);
        CFrameBlender bl = Over(a, d);
        bl.m_pSourceB = bb.px.data();
        bl.m_nSourceBStride = 1;
        bl.SetUseConstantAlpha(c.constant);
        bl.SetConstantAlpha(c.alpha);
        bl.SetAlphaMode(c.alphaMode);
        bl.Blend2(0, 0, 1, 1, 0, 0);
        EXPECT_EQ(d.at(0, 0), c.expected) << std::hex << c.a << " " << c.b;
    }
}

} // namespace
