#include "DDOverlay.h"
#include "resource.h"

namespace {

template <class T> void ReleaseAndClear(T*& p)
{
    if (p) {
        p->Release();
        p = NULL;
    }
}

DDPIXELFORMAT Rgb16(DWORD r, DWORD g, DWORD b)
{
    DDPIXELFORMAT pf = {};
    pf.dwSize = sizeof pf;
    pf.dwFlags = DDPF_RGB;
    pf.dwRGBBitCount = 16;
    pf.dwRBitMask = r, pf.dwGBitMask = g, pf.dwBBitMask = b;
    return pf;
}

DDPIXELFORMAT FourCC(DWORD code)
{
    DDPIXELFORMAT pf = {};
    pf.dwSize = sizeof pf;
    pf.dwFlags = DDPF_FOURCC;
    pf.dwFourCC = code;
    pf.dwYUVBitCount = 16;
    return pf;
}

BYTE Clamp(double v)
{
    const int i = int(v);  // toward zero
    return BYTE(i < 0 ? 0 : i > 255 ? 255 : i);
}

const DWORD kYUY2 = MAKEFOURCC('Y', 'U', 'Y', '2');
const DWORD kUYVY = MAKEFOURCC('U', 'Y', 'V', 'Y');

}  // namespace

CDDOverlay::CDDOverlay()
    : m_pDD(NULL), m_pPrimary(NULL), m_pOverlay(NULL), m_pClipper(NULL), m_nPosX(0), m_nPosY(0)
{
    SetRect(&m_rcOverlay, 0, 0, 319, 239);
}

CDDOverlay::~CDDOverlay()
{
    HideOverlay();
    ReleaseAndClear(m_pOverlay);
    ReleaseAndClear(m_pPrimary);
    ReleaseAndClear(m_pClipper);
    ReleaseAndClear(m_pDD);
}

BOOL CDDOverlay::Init()
{
    IDirectDraw* dd = NULL;
    if (FAILED(DirectDrawCreate(NULL, &dd, NULL)) || !dd) {
        ReleaseAll();
        return FALSE;
    }
    HRESULT hr = dd->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&m_pDD));
    dd->Release();
    if (FAILED(hr) || FAILED(m_pDD->SetCooperativeLevel(NULL, DDSCL_NORMAL)) ||
        FAILED(CreatePrimarySurface()) || FAILED(DirectDrawCreateClipper(0, &m_pClipper, NULL))) {
        ReleaseAll();
        return FALSE;
    }
    return TRUE;
}

HRESULT CDDOverlay::CreatePrimarySurface()
{
    if (!m_pDD)
        return E_FAIL;
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    return m_pDD->CreateSurface(&desc, &m_pPrimary, NULL);
}

BOOL CDDOverlay::CreateOverlaySurface()
{
    if (!m_pDD || !m_pPrimary)
        return FALSE;
    const DDPIXELFORMAT formats[4] = {Rgb16(0x7C00, 0x03E0, 0x001F), Rgb16(0xF800, 0x07E0, 0x001F),
                                      FourCC(kUYVY), FourCC(kYUY2)};
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = 640;
    desc.dwHeight = 480;
    desc.ddsCaps.dwCaps = DDSCAPS_OVERLAY | DDSCAPS_VIDEOMEMORY;
    desc.dwBackBufferCount = 0;
    for (int round = 0; round < 2; ++round)
        for (const DDPIXELFORMAT& pf : formats) {
            desc.ddpfPixelFormat = pf;
            if (SUCCEEDED(m_pDD->CreateSurface(&desc, &m_pOverlay, NULL)) && m_pOverlay)
                return LoadImageOntoSurface(m_pOverlay, IDB_DDOVERLAY_PICTURE);
            m_pOverlay = NULL;
        }
    return FALSE;
}

BOOL CDDOverlay::LoadImageOntoSurface(IDirectDrawSurface* surface, UINT bitmapId)
{
    if (!surface)
        return FALSE;
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    if (FAILED(surface->GetSurfaceDesc(&desc)))
        return FALSE;
    HBITMAP bitmap = (HBITMAP)::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(bitmapId),
                                          IMAGE_BITMAP, int(desc.dwWidth), int(desc.dwHeight),
                                          LR_CREATEDIBSECTION);
    if (!bitmap)
        return FALSE;
    BOOL ok = FALSE;
    if (desc.ddpfPixelFormat.dwFlags & DDPF_FOURCC) {
        ok = CopyBitmapToYUVSurface(surface, bitmap);
    } else {
        HDC memDC = ::CreateCompatibleDC(NULL);
        HDC surfaceDC = NULL;
        if (memDC && SUCCEEDED(surface->GetDC(&surfaceDC))) {
            HGDIOBJ old = ::SelectObject(memDC, bitmap);
            ok = ::BitBlt(surfaceDC, 0, 0, int(desc.dwWidth), int(desc.dwHeight), memDC, 0, 0,
                          SRCCOPY);
            ::SelectObject(memDC, old);
            surface->ReleaseDC(surfaceDC);
        }
        if (memDC)
            ::DeleteDC(memDC);
    }
    ::DeleteObject(bitmap);
    return ok;
}

BOOL CDDOverlay::PackYuvPair(COLORREF first, COLORREF second, DWORD fourCC, BYTE out[4])
{
    const double r0 = GetRValue(first), g0 = GetGValue(first), b0 = GetBValue(first);
    const double r1 = GetRValue(second), g1 = GetGValue(second), b1 = GetBValue(second);
    // The first pixel's luma weights add up to 1.02: a bright pixel is limited to 255
    // rather than wrapping round to black.
    const BYTE y0 = Clamp(0.29 * r0 + 0.59 * g0 + 0.14 * b0);
    const BYTE u = Clamp(128 - 0.14 * r0 - 0.29 * g0 + 0.43 * b0);
    const BYTE y1 = Clamp(0.29 * r1 + 0.57 * g1 + 0.14 * b1);
    const BYTE v = Clamp(128 + 0.36 * r1 - 0.29 * g1 - 0.07 * b1);
    if (fourCC == kYUY2) {
        out[0] = y0, out[1] = u, out[2] = y1, out[3] = v;
        return TRUE;
    }
    if (fourCC == kUYVY) {
        out[0] = u, out[1] = y0, out[2] = v, out[3] = y1;
        return TRUE;
    }
    return FALSE;
}

BOOL CDDOverlay::CopyBitmapToYUVSurface(IDirectDrawSurface* surface, HBITMAP bitmap)
{
    if (!surface || !bitmap)
        return FALSE;
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    // A surface that cannot be locked is left as it is, and that is a failure.
    if (FAILED(surface->Lock(NULL, &desc, DDLOCK_WAIT, NULL)) || !desc.lpSurface)
        return FALSE;
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    BYTE* row = static_cast<BYTE*>(desc.lpSurface);
    const int width = int(desc.dwWidth), height = int(desc.dwHeight);
    for (int y = 0; y < height; ++y, row += desc.lPitch) {
        BYTE* p = row;
        for (int x = 0; x + 1 < width; x += 2, p += 4)
            PackYuvPair(::GetPixel(dc, x, y), ::GetPixel(dc, x + 1, y),
                        desc.ddpfPixelFormat.dwFourCC, p);
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    surface->Unlock(NULL);
    return TRUE;
}

void CDDOverlay::OverlayPlacement(const DDCAPS& caps, int x, int y, const RECT& overlay,
                                  RECT* source, RECT* destination, DWORD* flags,
                                  DDOVERLAYFX* fx)
{
    const unsigned stretch = caps.dwMinOverlayStretch > 1000 ? caps.dwMinOverlayStretch : 1000;
    *flags = DDOVER_SHOW | DDOVER_DDFX;
    ZeroMemory(fx, sizeof *fx);
    fx->dwSize = sizeof *fx;
    if (caps.dwCKeyCaps & DDCKEYCAPS_SRCOVERLAY) {
        *flags |= DDOVER_KEYSRCOVERRIDE;
        fx->dckSrcColorkey.dwColorSpaceLowValue = 0;
        fx->dckSrcColorkey.dwColorSpaceHighValue = 0;
    }
    SetRect(source, 0, 0, 320, 240);
    if ((caps.dwCaps & DDCAPS_ALIGNSIZESRC) && caps.dwAlignSizeSrc)
        source->right = 320 - LONG(320 % caps.dwAlignSizeSrc);
    destination->left = x;
    destination->top = y;
    destination->right = LONG((unsigned(x + overlay.right) * stretch + 999) / 1000);
    destination->bottom = LONG((unsigned(y + overlay.bottom) * stretch) / 1000);
    if ((caps.dwCaps & DDCAPS_ALIGNSIZEDEST) && caps.dwAlignSizeDest) {
        const unsigned a = caps.dwAlignSizeDest;
        destination->right = LONG((unsigned(destination->right) + a - 1) / a * a);
    }
}

BOOL CDDOverlay::UpdateOverlay()
{
    if (!m_pDD || !m_pPrimary || !m_pOverlay)
        return FALSE;
    DDCAPS caps = {};
    caps.dwSize = sizeof caps;
    if (FAILED(m_pDD->GetCaps(&caps, NULL)))
        return FALSE;
    RECT source, destination;
    DWORD flags;
    DDOVERLAYFX fx;
    OverlayPlacement(caps, m_nPosX, m_nPosY, m_rcOverlay, &source, &destination, &flags, &fx);
    return SUCCEEDED(m_pOverlay->UpdateOverlay(&source, m_pPrimary, &destination, flags, &fx));
}

BOOL CDDOverlay::HideOverlay()
{
    if (!m_pOverlay)
        return FALSE;
    m_pOverlay->UpdateOverlay(NULL, m_pPrimary, NULL, DDOVER_HIDE, NULL);
    ReleaseAndClear(m_pOverlay);
    return TRUE;
}

BOOL CDDOverlay::RestoreSurfaces()
{
    if (!m_pPrimary && FAILED(CreatePrimarySurface()))
        return FALSE;
    if (!m_pOverlay && !CreateOverlaySurface())
        return FALSE;
    const HRESULT hr = m_pPrimary->Restore();
    if (hr == DDERR_WRONGMODE) {
        HideOverlay();
        ReleaseAndClear(m_pPrimary);
        return FALSE;
    }
    if (FAILED(hr) || FAILED(m_pOverlay->Restore()))
        return FALSE;
    LoadImageOntoSurface(m_pOverlay, IDB_DDOVERLAY_PICTURE);
    return UpdateOverlay();
}

void CDDOverlay::ReleaseAll()
{
    ReleaseAndClear(m_pPrimary);
    ReleaseAndClear(m_pDD);
}

BOOL CDDOverlay::HasOverlaySupport()
{
    if (!m_pDD)
        return FALSE;
    DDCAPS caps = {};
    caps.dwSize = sizeof caps;
    if (FAILED(m_pDD->GetCaps(&caps, NULL)))
        return FALSE;
    return (caps.dwCaps & DDCAPS_OVERLAY) != 0;
}

BOOL CDDOverlay::SetWindow(CWnd* wnd)
{
    return SetWindow(wnd ? wnd->GetSafeHwnd() : NULL);
}

BOOL CDDOverlay::SetWindow(HWND hwnd)
{
    if (!m_pClipper || FAILED(m_pClipper->SetHWnd(0, hwnd)))
        return FALSE;
    if (!m_pOverlay || FAILED(m_pOverlay->SetClipper(m_pClipper)))
        return FALSE;
    if (!m_pPrimary || FAILED(m_pPrimary->SetClipper(m_pClipper)))
        return FALSE;
    return TRUE;
}

BOOL CDDOverlay::SetOverlayRect(int left, int top, int right, int bottom)
{
    SetRect(&m_rcOverlay, left, top, right, bottom);
    UpdateOverlay();
    return TRUE;
}

BOOL CDDOverlay::SetPosition(int x, int y)
{
    m_nPosX = x;
    m_nPosY = y;
    if (m_pOverlay)
        m_pOverlay->SetOverlayPosition(x, y);
    return TRUE;
}
