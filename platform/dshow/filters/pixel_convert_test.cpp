#include "gtest_wine.h"
#include "pixel_convert.h"
extern "C" {
#include <libswscale/swscale.h>
#include <libavutil/pixfmt.h>
}
#include <algorithm>
#include <cstdlib>
#include <vector>

// NTSC DV pictures (4:1:1) reach 32-bit RGB by a quicker way than the scaler's general
// one: the picture must stay the one the scaler makes directly, within a few levels of
// rounding, except on the pixels right beside a hard colour edge (the chroma between two
// samples is placed a little differently).
TEST(PixelConverter, FourOneOnePicturesMatchTheScaler)
{
    const int W = 720, H = 480, CW = W / 4;
    struct Case {
        const char* what;
        bool edges;       // chroma jumps between two colours every 8 samples (32 pixels)
    } cases[] = {{"smooth ramps", false}, {"hard chroma edges", true}};
    for (const Case& c : cases) {
        std::vector<uint8_t> y(size_t(W) * H), u(size_t(CW) * H), v(size_t(CW) * H);
        for (int r = 0; r < H; ++r) {
            for (int x = 0; x < W; ++x)
                y[size_t(r) * W + x] = uint8_t(60 + x / 8 + r / 8);
            for (int x = 0; x < CW; ++x) {
                const bool high = (x / 8) % 2 != 0;
                u[size_t(r) * CW + x] = uint8_t(c.edges ? (high ? 170 : 90) : 100 + x / 4);
                v[size_t(r) * CW + x] = uint8_t(c.edges ? (high ? 80 : 160) : 150 - x / 5 - r / 20);
            }
        }
        const uint8_t* planes[4] = {y.data(), u.data(), v.data(), nullptr};
        const int strides[4] = {W, CW, CW, 0};
        std::vector<uint8_t> made(size_t(W) * H * 4), direct(made.size());
        PixelConverter converter;
        ASSERT_TRUE(converter.Convert(AV_PIX_FMT_YUV411P, W, H, planes, strides, PixelLayout::RGB32, W, -H,
                                      made.data()));
        SwsContext* sws = sws_getContext(W, H, AV_PIX_FMT_YUV411P, W, H, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr,
                                         nullptr, nullptr);
        uint8_t* out[4] = {direct.data(), nullptr, nullptr, nullptr};
        const int outStrides[4] = {W * 4, 0, 0, 0};
        sws_scale(sws, planes, strides, 0, H, out, outStrides);
        sws_freeContext(sws);
        int worst = 0;
        for (size_t i = 0; i < made.size(); ++i) {
            const int x = int(i / 4 % W);
            if (i % 4 != 3 && !(c.edges && (x % 32 < 4 || x % 32 >= 28)))
                worst = std::max(worst, std::abs(int(made[i]) - int(direct[i])));
        }
        EXPECT_LE(worst, 4) << c.what;
    }
}

// Planes of a W x H picture whose chroma planes are CW x CH, with values that change from
// pixel to pixel and from row to row.
static void FillPlanes(int W, int H, int CW, int CH, std::vector<uint8_t>* y, std::vector<uint8_t>* u,
                       std::vector<uint8_t>* v)
{
    y->resize(size_t(W) * H);
    u->resize(size_t(CW) * CH);
    v->resize(u->size());
    for (size_t i = 0; i < y->size(); ++i)
        (*y)[i] = uint8_t(16 + (i * 7 + i / W * 13) % 220);
    for (size_t i = 0; i < u->size(); ++i) {
        (*u)[i] = uint8_t(40 + (i * 5 + i / CW * 11) % 180);
        (*v)[i] = uint8_t(200 - (i * 3 + i / CW * 17) % 170);
    }
}

// A filter that reads one field only gets only that field's rows converted (the odd
// rows' field also shows the first row): those rows must be the whole conversion's, pixel
// for pixel, and the other rows left untouched.
// Pictures whose chroma rows serve two picture rows (4:2:0), and heights whose fields
// would have an odd number of rows, are refused.
TEST(PixelConverter, FieldRowsAreTheWholePicturesRows)
{
    struct Case {
        int format, chromaWidthDivisor, height;
        bool converts;
    } cases[] = {{AV_PIX_FMT_YUV411P, 4, 480, true},
                 {AV_PIX_FMT_YUV422P, 2, 480, true},
                 {AV_PIX_FMT_YUV411P, 4, 12, true},
                 {AV_PIX_FMT_YUV411P, 4, 6, false},
                 {AV_PIX_FMT_YUV420P, 2, 480, false}};
    const int W = 720;
    for (const Case& c : cases) {
        const int H = c.height, CW = W / c.chromaWidthDivisor, CH = c.format == AV_PIX_FMT_YUV420P ? H / 2 : H;
        std::vector<uint8_t> y, u, v;
        FillPlanes(W, H, CW, CH, &y, &u, &v);
        const uint8_t* planes[4] = {y.data(), u.data(), v.data(), nullptr};
        const int strides[4] = {W, CW, CW, 0};
        for (int height : {H, -H}) {
            std::vector<uint8_t> whole(size_t(W) * H * 4);
            PixelConverter converter;
            ASSERT_TRUE(converter.Convert(c.format, W, H, planes, strides, PixelLayout::RGB32, W, height,
                                          whole.data()));
            for (int parity : {0, 1}) {
                std::vector<uint8_t> rows(whole.size(), 0xA5);
                ASSERT_EQ(converter.ConvertFieldRows(c.format, W, H, planes, strides, PixelLayout::RGB32, W, height,
                                                     rows.data(), parity),
                          c.converts)
                    << c.format;
                int wrong = 0;
                for (int r = 0; r < H; ++r) {
                    const uint8_t* got = rows.data() + size_t(r) * W * 4;
                    const uint8_t* want = whole.data() + size_t(r) * W * 4;
                    for (int x = 0; x < W * 4; ++x) {
                        const bool written = c.converts && (r % 2 == parity || r == 0);
                        wrong += (written ? got[x] != want[x] : got[x] != 0xA5) ? 1 : 0;
                    }
                }
                EXPECT_EQ(wrong, 0) << "format " << c.format << " height " << height << " parity " << parity;
            }
        }
    }
}

// 4:1:1 chroma is widened to 4:2:2 a band of rows at a time, each band converted right
// after: the picture must be exactly the one made from the whole planes widened first (each
// sample kept, the mean of two between them, the last sample repeated), at heights that are
// and are not a multiple of the band, and with chroma that changes from row to row.
TEST(PixelConverter, FourOneOneInBandsIsTheWholeWidenedPicture)
{
    struct Case {
        int width, height;
    } cases[] = {{720, 480}, {720, 36}, {64, 6}, {30, 2}};
    for (const Case& c : cases) {
        const int W = c.width, H = c.height, CW = (W + 3) / 4, WW = (W + 1) / 2;
        std::vector<uint8_t> y, u, v;
        FillPlanes(W, H, CW, H, &y, &u, &v);
        std::vector<uint8_t> wu(size_t(WW) * H), wv(wu.size());
        for (int r = 0; r < H; ++r)
            for (int x = 0; x < WW; ++x) {
                const int s = std::min(x / 2, CW - 1), next = std::min(s + 1, CW - 1);
                const size_t at = size_t(r) * CW;
                const bool between = x % 2 != 0 && s + 1 < CW;
                wu[size_t(r) * WW + x] = between ? uint8_t((u[at + s] + u[at + next] + 1) >> 1) : u[at + s];
                wv[size_t(r) * WW + x] = between ? uint8_t((v[at + s] + v[at + next] + 1) >> 1) : v[at + s];
            }
        const uint8_t* planes[4] = {y.data(), u.data(), v.data(), nullptr};
        const int strides[4] = {W, CW, CW, 0};
        const uint8_t* widened[4] = {y.data(), wu.data(), wv.data(), nullptr};
        const int widenedStrides[4] = {W, WW, WW, 0};
        for (int height : {H, -H}) {
            std::vector<uint8_t> made(size_t(W) * H * 4), want(made.size());
            PixelConverter converter;
            ASSERT_TRUE(converter.Convert(AV_PIX_FMT_YUV411P, W, H, planes, strides, PixelLayout::RGB32, W, height,
                                          made.data()));
            ASSERT_TRUE(converter.Convert(AV_PIX_FMT_YUV422P, W, H, widened, widenedStrides, PixelLayout::RGB32, W,
                                          height, want.data()));
            EXPECT_TRUE(made == want) << W << " x " << height;
        }
    }
}
