#include "deinterlace_engine.h"
#include "deinterlace_kernels.h"
#include "frame_blender.h"
#include <cmath>
#include <cstdio>

namespace {

const int kRefWidth = 608, kRefHeight = 456;

// A fraction the engine may hand over: NaN takes the neutral value, the rest is kept
// within 0..1.
float Fraction(float v, float neutral)
{
    if (std::isnan(v))
        return neutral;
    return v < 0 ? 0.0f : v > 1 ? 1.0f : v;
}

int Pixels(double reference, float fraction)
{
    const float product = float(reference) * fraction;
    return int(double(product) + 0.001);
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

} // namespace

DeinterlaceGeometry ComputeDeinterlaceGeometry(const DeinterlaceSettings& s, int W, int H)
{
    DeinterlaceGeometry g;
    g.scale = s.scaleToFrame != FALSE;
    // A frame smaller than the reference in either direction is its own reference: the
    // picture never reaches past it.
    if (W < kRefWidth || H < kRefHeight) {
        g.refWidth = W;
        g.refHeight = H;
        g.scale = false;
    }
    g.maskWidth = Pixels(g.refWidth, Fraction(s.mask[2], 1));
    g.maskHeight = Pixels(g.refHeight, Fraction(s.mask[3], 1));
    g.cropX = Pixels(g.refWidth, Fraction(s.crop[0], 0));
    g.cropY = Pixels(g.refHeight, Fraction(s.crop[1], 0));
    g.cropWidth = Pixels(g.refWidth, Fraction(s.crop[2], 1));
    g.cropHeight = Pixels(g.refHeight, Fraction(s.crop[3], 1));
    g.extra = H > kRefHeight ? H - kRefHeight : 0;
    g.fixUp = H == 72 || H == 144 || H == 288 || H == 576;
    g.cropActive = !(g.cropX == 0 && g.cropY == 0 && g.cropWidth == int(g.refWidth) &&
                     g.cropHeight == int(g.refHeight));
    return g;
}

CDeinterlaceEngine::CDeinterlaceEngine()
{
    IDirectDraw* dd1 = nullptr;
    HRESULT hr = DirectDrawCreate(nullptr, &dd1, nullptr);
    if (FAILED(hr)) {
        Report("DirectDrawCreate", hr);
        return;
    }
    hr = dd1->QueryInterface(IID_IDirectDraw4, (void**)&m_dd);
    dd1->Release();
    if (FAILED(hr)) {
        Report("IDirectDraw4", hr);
        m_dd = nullptr;
        return;
    }
    m_dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    EnsureWork(720, 480, 4);
}

CDeinterlaceEngine::~CDeinterlaceEngine()
{
    if (m_work)
        m_work->Release();
    if (m_dd)
        m_dd->Release();
}

void CDeinterlaceEngine::Report(const char* what, HRESULT hr)
{
    char text[96];
    snprintf(text, sizeof text, "DeInterlacer: %s failed (0x%08x)\n", what, (unsigned)hr);
    OutputDebugStringA(text);
}

IDirectDrawSurface4* CDeinterlaceEngine::SurfaceOver(uint8_t* bits, int W, int H, int bpp)
{
    if (!m_dd)
        return nullptr;
    DDSURFACEDESC2 d = {};
    d.dwSize = sizeof d;
    d.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_LPSURFACE |
                DDSD_PIXELFORMAT;
    d.ddsCaps.dwCaps = DDSCAPS_SYSTEMMEMORY | DDSCAPS_OFFSCREENPLAIN;
    d.dwWidth = W;
    d.dwHeight = H;
    d.lPitch = W * bpp;
    d.lpSurface = bits;
    d.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    d.ddpfPixelFormat.dwFlags = DDPF_RGB;
    d.ddpfPixelFormat.dwRGBBitCount = bpp * 8;
    d.ddpfPixelFormat.dwRBitMask = 0xFF0000;
    d.ddpfPixelFormat.dwGBitMask = 0xFF00;
    d.ddpfPixelFormat.dwBBitMask = 0xFF;
    IDirectDrawSurface4* s = nullptr;
    HRESULT hr = m_dd->CreateSurface(&d, &s, nullptr);
    if (FAILED(hr)) {
        Report("CreateSurface", hr);
        return nullptr;
    }
    return s;
}

bool CDeinterlaceEngine::EnsureWork(int W, int H, int bpp)
{
    if (m_work && W == m_workWidth && H == m_workHeight && bpp == m_workBpp)
        return true;
    if (m_work) {
        m_work->Release();
        m_work = nullptr;
    }
    m_workWidth = m_workHeight = m_workBpp = 0;
    try {
        m_workBits.assign(size_t(W) * H * bpp, 0);
        m_workBits.shrink_to_fit();
    } catch (...) {
        Report("work buffer", E_OUTOFMEMORY);
        return false;
    }
    m_work = SurfaceOver(m_workBits.data(), W, H, bpp);
    if (!m_work)
        return false;
    m_workWidth = W;
    m_workHeight = H;
    m_workBpp = bpp;
    return true;
}

// Buffer rows 0 .. y + h - 1 of the frame, turned top-down, into the target DC.
void CDeinterlaceEngine::ServeSnapshot(IDirectDrawSurface4* frame, HDC target, int w, int h,
                                       int y, int H)
{
    if (!frame || !target)
        return;
    const int rows = Clamp(y + h, 0, H);
    if (w <= 0 || rows <= 0)
        return;
    HDC dc = nullptr;
    HRESULT hr = frame->GetDC(&dc);
    if (FAILED(hr)) {
        Report("GetDC", hr);
        return;
    }
    StretchBlt(target, 0, rows - 1, w, -rows, dc, 0, 0, w, rows, SRCCOPY);
    frame->ReleaseDC(dc);
}

void CDeinterlaceEngine::Composite(IDirectDrawSurface4* frame, HDC source,
                                   const DeinterlaceSettings& s, DeinterlaceGeometry& g,
                                   int W, int H)
{
    int shift = g.extra, w = g.maskWidth, h = g.maskHeight;
    if (g.scale && s.scaleOutput) {
        g.cropX = g.cropX * W / kRefWidth;
        g.cropWidth = g.cropWidth * W / kRefWidth;
        g.cropY = g.cropY * H / kRefHeight;
        g.cropHeight = g.cropHeight * H / kRefHeight;
        w = g.maskWidth * W / kRefWidth;
        h = g.maskHeight * H / kRefHeight;
        shift = g.cropHeight < g.refHeight ? int((g.cropHeight - g.refHeight) * 0.5) : 0;
    } else if (g.cropHeight != int(g.refHeight)) {
        shift = int(g.cropHeight - g.refHeight);
    }
    if (!frame || w <= 0 || h <= 0)
        return;
    HDC dc = nullptr;
    HRESULT hr = frame->GetDC(&dc);
    if (FAILED(hr)) {
        Report("GetDC", hr);
        return;
    }
    // GDI clips to the frame's bitmap: nothing lands outside it.
    StretchBlt(dc, 0, h - 1 + shift, w, -h, source, g.cropX, g.cropY, w, h, SRCCOPY);
    frame->ReleaseDC(dc);
}

int CDeinterlaceEngine::FieldRowsRead(int W, int H, int bpp, const DeinterlaceSettings& s, bool compositing)
{
    if (W <= 0 || H <= 0 || bpp != 4 || s.bypass || compositing || s.mirror)
        return -1;
    const DeinterlaceGeometry g = ComputeDeinterlaceGeometry(s, W, H);
    if (g.cropActive || !g.scale || g.fixUp)
        return -1;
    return s.field == 1 ? 1 : 0;
}

bool CDeinterlaceEngine::Process(uint8_t* bits, int W, int H, int bpp,
                                 const DeinterlaceSettings& s, HDC outputDC,
                                 bool snapshotPending, HDC snapshotDC)
{
    if (!bits || W <= 0 || H <= 0 || bpp != 4)
        return snapshotPending;   // nothing that can be worked on; a waiter is released
    DeinterlaceGeometry g = ComputeDeinterlaceGeometry(s, W, H);
    IDirectDrawSurface4* frame = nullptr;

    if (s.bypass) {
        if (snapshotPending && snapshotDC) {
            frame = SurfaceOver(bits, W, H, bpp);
            if (g.scale && s.scaleOutput)
                ServeSnapshot(frame, snapshotDC, g.maskWidth * W / kRefWidth,
                              g.maskHeight * H / kRefHeight, 0, H);
            else
                ServeSnapshot(frame, snapshotDC, g.maskWidth, g.maskHeight, g.extra, H);
            if (frame)
                frame->Release();
        }
        return snapshotPending;
    }

    const int F = s.field == 1 ? 1 : 0;
    const FrameView view{bits, W, H, bpp};
    EnsureWork(W, H, bpp);
    if (m_scratch.size() < size_t(2 * W))
        m_scratch.resize(2 * W);
    int cw = g.cropWidth, ch = g.cropHeight;

    if (outputDC) {
        frame = SurfaceOver(bits, W, H, bpp);
        Composite(frame, outputDC, s, g, W, H);
        cw = g.cropWidth;
        ch = g.cropHeight;
    } else if (!g.cropActive && g.scale && !s.mirror && m_work && cw <= W &&
               ScaleFieldInPlace(view, F, g.fixUp, g.extra, cw, ch, m_scratch.data())) {
        // The full view made in the frame's own buffer: no doubling pass and no copy
        // through the work surface.
    } else if (!g.cropActive) {
        DoubleField(view, F);
        if (g.fixUp && F == 1)
            CopyRow(view, H - 1, H - 2);
        if (g.scale && !s.mirror) {
            frame = SurfaceOver(bits, W, H, bpp);
            if (frame && m_work) {
                RECT whole = {0, 0, W, H};
                RECT into = {0, g.extra, cw, g.extra + ch};
                DDBLTFX fx = {};
                fx.dwSize = sizeof fx;
                HRESULT hr = m_work->Blt(&into, frame, &whole, DDBLT_WAIT | DDBLT_DDFX, &fx);
                if (SUCCEEDED(hr))
                    hr = frame->Blt(nullptr, m_work, nullptr, DDBLT_WAIT | DDBLT_DDFX, &fx);
                if (FAILED(hr))
                    Report("Blt", hr);
            }
        } else if (g.scale) {
            cw = cw * W / kRefWidth;
            ch = ch * H / kRefHeight;
        }
    } else {
        int x0 = g.cropX, base = g.extra, v = g.maskHeight - ch - g.cropY;
        if (s.mirror)
            x0 = int(g.refWidth) - cw - g.cropX;
        if (g.scale) {
            cw = cw * W / kRefWidth;
            ch = ch * H / kRefHeight;
            x0 = x0 * W / kRefWidth;
            v = v * H / kRefHeight;
            base = 0;
        }
        if ((F == 1 && v % 2 == 0) || (F == 0 && v % 2 != 0))
            ++v;
        CopyCropField(view, F, x0, v, base, cw, ch);
        if (g.fixUp && F == 1)
            CopyRow(view, H - 1, H - 2, cw);
    }

    const int mW = g.maskWidth, mH = g.maskHeight;
    if (s.mirror || cw != mW || ch != mH) {
        if (!frame)
            frame = SurfaceOver(bits, W, H, bpp);
        const bool fromBottom =
            (s.mirror || mW == 304 || cw != W || s.scaleOutput) && mH == 456 && g.scale;
        const int y1 = fromBottom ? 0 : g.extra;
        // Rectangles limited to the frame and the work surface; an empty one skips.
        RECT from = {0, y1, Clamp(cw, 0, W), Clamp(y1 + ch, 0, H)};
        const int top = Clamp(g.extra, 0, H);
        RECT work = {0, top, Clamp(mW, 0, W), Clamp(g.extra + mH, 0, H)};
        const int at = int(g.refHeight - mH + g.extra);
        if (frame && m_work && from.right > 0 && from.bottom > from.top &&
            work.right > 0 && work.bottom > work.top) {
            DDBLTFX fx = {};
            fx.dwSize = sizeof fx;
            fx.dwDDFX = s.mirror ? DDBLTFX_MIRRORLEFTRIGHT : 0;
            HRESULT hr = m_work->Blt(&work, frame, &from, DDBLT_WAIT | DDBLT_DDFX, &fx);
            if (SUCCEEDED(hr) && at >= 0 && at + (work.bottom - work.top) <= H)
                hr = frame->BltFast(0, at, m_work, &work, DDBLTFAST_WAIT);
            if (FAILED(hr))
                Report("Blt", hr);
        }
    } else if (snapshotPending && snapshotDC && !frame) {
        frame = SurfaceOver(bits, W, H, bpp);
    }

    if (s.overlayEnabled && s.overlayBits && s.overlayWidth > 0) {
        CFrameBlender blender;
        blender.m_pSource = const_cast<uint32_t*>(s.overlayBits);
        blender.m_nSourceStride = s.overlayWidth;
        blender.m_nSourceWidth = s.overlayWidth;
        // A top-down bitmap may give its height negative.
        blender.m_nSourceHeight = s.overlayHeight < 0 ? -s.overlayHeight : s.overlayHeight;
        blender.m_pDest = reinterpret_cast<uint32_t*>(bits);
        blender.m_nDestStride = W;
        blender.m_nFrameX = 0;
        blender.m_nFrameY = 0;
        blender.m_nFrameWidth = mW < W ? mW : W;
        blender.m_nFrameHeight = g.extra + mH < H ? g.extra + mH : H;
        blender.KeyedCopyFlipped(0, 0, mW, mH, 0, g.extra, s.keyColour, 0xFFFFFF);
    }

    if (snapshotPending && snapshotDC) {
        if (!frame)
            frame = SurfaceOver(bits, W, H, bpp);
        ServeSnapshot(frame, snapshotDC, mW, mH, g.extra, H);
    }
    if (frame)
        frame->Release();
    return snapshotPending;
}
