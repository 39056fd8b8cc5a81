// The DirectDraw overlay surface on a display without overlays: set-up, the two rounds of
// overlay formats, the placement arithmetic, and the packed-YUV conversion.
#include "gtest_wine.h"
#include <afxwin.h>
#include "DDOverlay.h"

namespace {

// Counts the surfaces asked of a DirectDraw object and passes everything on.
class CountingDD : public IDirectDraw2 {
public:
    explicit CountingDD(IDirectDraw2* inner) : m_inner(inner) {}
    int overlayRequests = 0;
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override { return m_inner->QueryInterface(riid, ppv); }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(Compact)() override { return m_inner->Compact(); }
    STDMETHOD(CreateClipper)(DWORD f, IDirectDrawClipper** c, IUnknown* o) override { return m_inner->CreateClipper(f, c, o); }
    STDMETHOD(CreatePalette)(DWORD f, PALETTEENTRY* e, IDirectDrawPalette** p, IUnknown* o) override { return m_inner->CreatePalette(f, e, p, o); }
    STDMETHOD(CreateSurface)(DDSURFACEDESC* d, IDirectDrawSurface** s, IUnknown* o) override
    {
        if (d && (d->ddsCaps.dwCaps & DDSCAPS_OVERLAY))
            ++overlayRequests;
        return m_inner->CreateSurface(d, s, o);
    }
    STDMETHOD(DuplicateSurface)(IDirectDrawSurface* a, IDirectDrawSurface** b) override { return m_inner->DuplicateSurface(a, b); }
    STDMETHOD(EnumDisplayModes)(DWORD f, DDSURFACEDESC* d, void* c, LPDDENUMMODESCALLBACK cb) override { return m_inner->EnumDisplayModes(f, d, c, cb); }
    STDMETHOD(EnumSurfaces)(DWORD f, DDSURFACEDESC* d, void* c, LPDDENUMSURFACESCALLBACK cb) override { return m_inner->EnumSurfaces(f, d, c, cb); }
    STDMETHOD(FlipToGDISurface)() override { return m_inner->FlipToGDISurface(); }
    STDMETHOD(GetCaps)(DDCAPS* a, DDCAPS* b) override { return m_inner->GetCaps(a, b); }
    STDMETHOD(GetDisplayMode)(DDSURFACEDESC* d) override { return m_inner->GetDisplayMode(d); }
    STDMETHOD(GetFourCCCodes)(LPDWORD n, LPDWORD c) override { return m_inner->GetFourCCCodes(n, c); }
    STDMETHOD(GetGDISurface)(IDirectDrawSurface** s) override { return m_inner->GetGDISurface(s); }
    STDMETHOD(GetMonitorFrequency)(LPDWORD f) override { return m_inner->GetMonitorFrequency(f); }
    STDMETHOD(GetScanLine)(LPDWORD l) override { return m_inner->GetScanLine(l); }
    STDMETHOD(GetVerticalBlankStatus)(BOOL* b) override { return m_inner->GetVerticalBlankStatus(b); }
    STDMETHOD(Initialize)(GUID* g) override { return m_inner->Initialize(g); }
    STDMETHOD(RestoreDisplayMode)() override { return m_inner->RestoreDisplayMode(); }
    STDMETHOD(SetCooperativeLevel)(HWND h, DWORD f) override { return m_inner->SetCooperativeLevel(h, f); }
    STDMETHOD(SetDisplayMode)(DWORD a, DWORD b, DWORD c, DWORD d, DWORD e) override { return m_inner->SetDisplayMode(a, b, c, d, e); }
    STDMETHOD(WaitForVerticalBlank)(DWORD f, HANDLE h) override { return m_inner->WaitForVerticalBlank(f, h); }
    STDMETHOD(GetAvailableVidMem)(DDSCAPS* c, DWORD* t, DWORD* f) override { return m_inner->GetAvailableVidMem(c, t, f); }

private:
    IDirectDraw2* m_inner;
};

TEST(DDOverlay, NoOverlayHardware)
{
    CDDOverlay overlay;
    ASSERT_TRUE(overlay.Init());
    EXPECT_NE(nullptr, overlay.m_pDD);
    ASSERT_NE(nullptr, overlay.m_pPrimary);
    EXPECT_NE(nullptr, overlay.m_pClipper);
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(DD_OK, overlay.m_pPrimary->GetSurfaceDesc(&desc));
    EXPECT_EQ(DWORD(GetSystemMetrics(SM_CXSCREEN)), desc.dwWidth);
    EXPECT_FALSE(overlay.HasOverlaySupport());

    IDirectDraw2* real = overlay.m_pDD;
    CountingDD counting(real);
    overlay.m_pDD = &counting;
    EXPECT_FALSE(overlay.CreateOverlaySurface());
    EXPECT_EQ(8, counting.overlayRequests);  // four formats, two rounds
    EXPECT_EQ(nullptr, overlay.m_pOverlay);
    overlay.m_pDD = real;

    EXPECT_FALSE(overlay.UpdateOverlay());
    EXPECT_FALSE(overlay.RestoreSurfaces());
    EXPECT_FALSE(overlay.SetWindow(CWnd::GetDesktopWindow()));  // no overlay to clip
    EXPECT_TRUE(overlay.SetPosition(5, 6));
    EXPECT_TRUE(overlay.SetOverlayRect(0, 0, 99, 99));
    HWND got = NULL;
    overlay.m_pClipper->GetHWnd(&got);
    EXPECT_EQ(GetDesktopWindow(), got);
}

TEST(DDOverlay, Placement)
{
    DDCAPS caps = {};
    caps.dwSize = sizeof caps;
    caps.dwMinOverlayStretch = 1500;
    RECT overlay = {0, 0, 319, 239}, src, dst;
    DWORD flags;
    DDOVERLAYFX fx;
    CDDOverlay::OverlayPlacement(caps, 10, 20, overlay, &src, &dst, &flags, &fx);
    EXPECT_EQ(CRect(10, 20, 494, 388), CRect(dst));
    EXPECT_EQ(CRect(0, 0, 320, 240), CRect(src));
    EXPECT_EQ(DWORD(DDOVER_SHOW | DDOVER_DDFX), flags);
    // Below 1000 counts as 1000; alignment of both sizes; the source colour key.
    caps.dwMinOverlayStretch = 500;
    caps.dwCaps = DDCAPS_ALIGNSIZESRC | DDCAPS_ALIGNSIZEDEST;
    caps.dwAlignSizeSrc = 7;
    caps.dwAlignSizeDest = 8;
    caps.dwCKeyCaps = DDCKEYCAPS_SRCOVERLAY;
    CDDOverlay::OverlayPlacement(caps, 10, 20, overlay, &src, &dst, &flags, &fx);
    EXPECT_EQ(320 - 320 % 7, src.right);
    EXPECT_EQ(336, dst.right);  // 329 rounded up to 8
    EXPECT_EQ(259, dst.bottom);
    EXPECT_TRUE(flags & DDOVER_KEYSRCOVERRIDE);
    EXPECT_EQ(0u, fx.dckSrcColorkey.dwColorSpaceHighValue);
}

TEST(DDOverlay, PackedYuv)
{
    const DWORD yuy2 = MAKEFOURCC('Y', 'U', 'Y', '2'), uyvy = MAKEFOURCC('U', 'Y', 'V', 'Y');
    BYTE out[4];
    ASSERT_TRUE(CDDOverlay::PackYuvPair(RGB(0, 0, 0), RGB(0, 0, 0), yuy2, out));
    EXPECT_EQ((std::vector<BYTE>{0, 128, 0, 128}), std::vector<BYTE>(out, out + 4));
    ASSERT_TRUE(CDDOverlay::PackYuvPair(RGB(0, 0, 0), RGB(0, 0, 0), uyvy, out));
    EXPECT_EQ((std::vector<BYTE>{128, 0, 128, 0}), std::vector<BYTE>(out, out + 4));
    // White: the first luma (weights 1.02) is held at 255 instead of wrapping to 4.
    ASSERT_TRUE(CDDOverlay::PackYuvPair(RGB(255, 255, 255), RGB(255, 255, 255), yuy2, out));
    EXPECT_EQ(255, out[0]);
    EXPECT_EQ(255, out[2]);
    EXPECT_NEAR(128, out[1], 1);
    EXPECT_NEAR(128, out[3], 1);
    ASSERT_TRUE(CDDOverlay::PackYuvPair(RGB(255, 255, 255), RGB(255, 255, 255), uyvy, out));
    EXPECT_EQ(255, out[1]);
    EXPECT_EQ(255, out[3]);
    BYTE untouched[4] = {1, 2, 3, 4};
    EXPECT_FALSE(CDDOverlay::PackYuvPair(0, 0, MAKEFOURCC('I', '4', '2', '0'), untouched));
    EXPECT_EQ(1, untouched[0]);
}

TEST(DDOverlay, ImagesOntoSurfaces)
{
    CDDOverlay overlay;
    ASSERT_TRUE(overlay.Init());
    // A YUY2 surface (not an overlay) gets the black swatch converted: its middle is black.
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = 24;
    desc.dwHeight = 24;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_FOURCC;
    desc.ddpfPixelFormat.dwFourCC = MAKEFOURCC('Y', 'U', 'Y', '2');
    IDirectDrawSurface* yuv = nullptr;
    ASSERT_EQ(DD_OK, overlay.m_pDD->CreateSurface(&desc, &yuv, NULL));
    EXPECT_TRUE(overlay.LoadImageOntoSurface(yuv, 341));
    DDSURFACEDESC locked = {};
    locked.dwSize = sizeof locked;
    ASSERT_EQ(DD_OK, yuv->Lock(NULL, &locked, DDLOCK_WAIT, NULL));
    const BYTE* mid = static_cast<BYTE*>(locked.lpSurface) + 12 * locked.lPitch + 12 * 2;
    EXPECT_EQ(0, mid[0]);
    EXPECT_EQ(128, mid[1]);
    const BYTE* corner = static_cast<BYTE*>(locked.lpSurface);
    EXPECT_NEAR(0.29 * 192 + 0.59 * 192 + 0.14 * 192, corner[0], 1);  // the grey key
    yuv->Unlock(NULL);
    EXPECT_FALSE(overlay.CopyBitmapToYUVSurface(yuv, NULL));
    EXPECT_FALSE(overlay.LoadImageOntoSurface(yuv, 9999));
    yuv->Release();
    // An RGB 5:6:5 surface by a block copy.
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    desc.ddpfPixelFormat.dwRGBBitCount = 16;
    desc.ddpfPixelFormat.dwRBitMask = 0xF800;
    desc.ddpfPixelFormat.dwGBitMask = 0x07E0;
    desc.ddpfPixelFormat.dwBBitMask = 0x001F;
    IDirectDrawSurface* rgb = nullptr;
    ASSERT_EQ(DD_OK, overlay.m_pDD->CreateSurface(&desc, &rgb, NULL));
    EXPECT_TRUE(overlay.LoadImageOntoSurface(rgb, 343));  // red
    ASSERT_EQ(DD_OK, rgb->Lock(NULL, &locked, DDLOCK_WAIT, NULL));
    const WORD* px = reinterpret_cast<const WORD*>(static_cast<BYTE*>(locked.lpSurface) +
                                                    12 * locked.lPitch);
    EXPECT_NE(0, px[12]);
    rgb->Unlock(NULL);
    rgb->Release();
}

}  // namespace
