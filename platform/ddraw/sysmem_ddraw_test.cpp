#include "gtest_wine.h"
#include <ddraw.h>
#include <vector>

namespace {

struct Buffer {
    int w, h;
    std::vector<DWORD> px;
    Buffer(int w_, int h_) : w(w_), h(h_), px(size_t(w_) * h_, 0) {}
    DWORD& at(int x, int y) { return px[size_t(y) * w + x]; }
    void Code()
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                at(x, y) = DWORD(y << 16 | x);
    }
};

class SysMemDDraw : public testing::Test {
protected:
    void SetUp() override
    {
        IDirectDraw* dd1 = nullptr;
        ASSERT_EQ(DirectDrawCreate(nullptr, &dd1, nullptr), DD_OK);
        ASSERT_EQ(dd1->QueryInterface(IID_IDirectDraw4, (void**)&dd), S_OK);
        dd1->Release();
        ASSERT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    }
    void TearDown() override
    {
        if (dd)
            dd->Release();
    }
    IDirectDrawSurface4* Over(Buffer& b)
    {
        DDSURFACEDESC2 d = {};
        d.dwSize = sizeof d;
        d.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_LPSURFACE |
                    DDSD_PIXELFORMAT;
        d.ddsCaps.dwCaps = DDSCAPS_SYSTEMMEMORY | DDSCAPS_OFFSCREENPLAIN;
        d.dwWidth = b.w;
        d.dwHeight = b.h;
        d.lPitch = b.w * 4;
        d.lpSurface = b.px.data();
        d.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
        d.ddpfPixelFormat.dwFlags = DDPF_RGB;
        d.ddpfPixelFormat.dwRGBBitCount = 32;
        d.ddpfPixelFormat.dwRBitMask = 0xFF0000;
        d.ddpfPixelFormat.dwGBitMask = 0xFF00;
        d.ddpfPixelFormat.dwBBitMask = 0xFF;
        IDirectDrawSurface4* s = nullptr;
        EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DD_OK);
        return s;
    }
    IDirectDraw4* dd = nullptr;
};

TEST_F(SysMemDDraw, BltStretchesAndMirrorsIntoTheRectangle)
{
    Buffer src(4, 2), dst(10, 6);
    src.Code();
    IDirectDrawSurface4* s = Over(src);
    IDirectDrawSurface4* d = Over(dst);
    RECT from = {0, 0, 4, 2}, to = {1, 1, 9, 5};   // twice as wide and high
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    ASSERT_EQ(d->Blt(&to, s, &from, DDBLT_WAIT | DDBLT_DDFX, &fx), DD_OK);
    EXPECT_EQ(dst.at(0, 0), 0u);
    EXPECT_EQ(dst.at(1, 1), 0x00000u);
    EXPECT_EQ(dst.at(2, 2), 0x00000u);
    EXPECT_EQ(dst.at(3, 3), 0x10001u);
    EXPECT_EQ(dst.at(8, 4), 0x10003u);
    EXPECT_EQ(dst.at(9, 4), 0u);
    EXPECT_EQ(dst.at(8, 5), 0u);

    fx.dwDDFX = DDBLTFX_MIRRORLEFTRIGHT;
    RECT same = {0, 0, 4, 2};
    ASSERT_EQ(d->Blt(&same, s, &from, DDBLT_WAIT | DDBLT_DDFX, &fx), DD_OK);
    EXPECT_EQ(dst.at(0, 0), 0x00003u);
    EXPECT_EQ(dst.at(3, 1), 0x10000u);

    // Rectangles reaching outside either surface are refused and write nothing.
    RECT outside = {8, 0, 12, 2};
    std::vector<DWORD> before = dst.px;
    EXPECT_EQ(d->Blt(&outside, s, &from, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    RECT bigSource = {0, 0, 5, 2};
    EXPECT_EQ(d->Blt(&same, s, &bigSource, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(dst.px, before);
    s->Release();
    d->Release();
}

TEST_F(SysMemDDraw, BltFastCopiesAndChecksBounds)
{
    Buffer a(6, 4);
    a.Code();
    IDirectDrawSurface4* s = Over(a);
    RECT r = {0, 0, 3, 2};
    ASSERT_EQ(s->BltFast(2, 2, s, &r, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(a.at(2, 2), 0x00000u);
    EXPECT_EQ(a.at(4, 3), 0x10002u);
    EXPECT_EQ(s->BltFast(4, 3, s, &r, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    s->Release();
}

TEST_F(SysMemDDraw, GetDcDrawsIntoTheSurfaceRowsTopDown)
{
    Buffer b(8, 4);
    b.Code();
    IDirectDrawSurface4* s = Over(b);
    HDC dc = nullptr;
    ASSERT_EQ(s->GetDC(&dc), DD_OK);
    EXPECT_EQ(GetPixel(dc, 1, 3), COLORREF(0x010003));   // pixel 0x030001 as RGB(3, 0, 1)
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT top = {0, 0, 8, 1};
    FillRect(dc, &top, red);
    DeleteObject(red);
    ASSERT_EQ(s->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(b.at(5, 0) & 0xFFFFFF, 0xFF0000u);   // surface row 0 is the DC's top row
    EXPECT_EQ(b.at(5, 1), 0x10005u);
    s->Release();
}

} // namespace
