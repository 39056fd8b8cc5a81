// DirectDraw over system memory: the surface operations the program's filters use
// (surfaces laid over client memory, stretching and mirroring Blt, BltFast, GetDC), with
// no display behind them. Everything else answers DDERR_UNSUPPORTED.
#include <windows.h>
#include <ddraw.h>
#include <vector>
#include "stretch.h"
#include "com_object.h"
#include "ddraw2.h"

namespace {

#define UNSUPPORTED { return DDERR_UNSUPPORTED; }

class SysMemSurface : public ComObject<IDirectDrawSurface4, &IID_IDirectDrawSurface4> {
public:
    SysMemSurface(const DDSURFACEDESC2& desc, BYTE* bits, BYTE* owned)
        : m_desc(desc), m_bits(bits), m_owned(owned)
    {
    }
    virtual ~SysMemSurface()
    {
        if (m_dc)
            DropDC(false);
        delete[] m_owned;
    }

    int Width() const { return (int)m_desc.dwWidth; }
    int Height() const { return (int)m_desc.dwHeight; }
    int Pitch() const { return (int)m_desc.lPitch; }
    int BytesPerPixel() const { return (int)m_desc.ddpfPixelFormat.dwRGBBitCount / 8; }
    BYTE* Row(int y) const { return m_bits + (ptrdiff_t)y * Pitch(); }

    // A rectangle of this surface, or the whole surface for null; false when it does not
    // lie inside the surface or is empty.
    bool Resolve(const RECT* r, RECT* out) const
    {
        if (!r) {
            SetRect(out, 0, 0, Width(), Height());
            return Width() > 0 && Height() > 0;
        }
        *out = *r;
        return r->left >= 0 && r->top >= 0 && r->right <= Width() && r->bottom <= Height() &&
               r->left < r->right && r->top < r->bottom;
    }


    STDMETHOD(Blt)(RECT* dstRect, IDirectDrawSurface4* srcSurface, RECT* srcRect, DWORD flags,
                   DDBLTFX* fx) override
    {
        if (!srcSurface)
            return DDERR_INVALIDPARAMS;
        if ((flags & DDBLT_DDFX) && (!fx || fx->dwSize != sizeof(DDBLTFX)))
            return DDERR_INVALIDPARAMS;
        // Only surfaces of this layer can be read.
        auto* src = static_cast<SysMemSurface*>(srcSurface);
        if (src->BytesPerPixel() != BytesPerPixel() || BytesPerPixel() < 1)
            return DDERR_INVALIDPIXELFORMAT;
        RECT d, s;
        if (!Resolve(dstRect, &d) || !src->Resolve(srcRect, &s))
            return DDERR_INVALIDRECT;
        if (src == this && !(d.right <= s.left || s.right <= d.left || d.bottom <= s.top ||
                             s.bottom <= d.top))
            return DDERR_INVALIDRECT;   // overlapping stretch in one surface
        const bool mirror = (flags & DDBLT_DDFX) && (fx->dwDDFX & DDBLTFX_MIRRORLEFTRIGHT);
        const int bpp = BytesPerPixel();
        const int dw = d.right - d.left;
        if ((int)m_colMap.size() < dw)
            m_colMap.resize(dw);
        StretchPixels(src->Row(s.top) + s.left * bpp, src->Pitch(), s.right - s.left,
                      s.bottom - s.top, Row(d.top) + d.left * bpp, Pitch(), dw, d.bottom - d.top,
                      bpp, mirror, m_colMap.data());
        return DD_OK;
    }

    STDMETHOD(BltFast)(DWORD x, DWORD y, IDirectDrawSurface4* srcSurface, RECT* srcRect,
                       DWORD) override
    {
        if (!srcSurface)
            return DDERR_INVALIDPARAMS;
        auto* src = static_cast<SysMemSurface*>(srcSurface);
        if (src->BytesPerPixel() != BytesPerPixel())
            return DDERR_INVALIDPIXELFORMAT;
        RECT s;
        if (!src->Resolve(srcRect, &s))
            return DDERR_INVALIDRECT;
        const int w = s.right - s.left, h = s.bottom - s.top;
        if (x > (DWORD)Width() || y > (DWORD)Height() || (int)x + w > Width() ||
            (int)y + h > Height())
            return DDERR_INVALIDRECT;
        const int bpp = BytesPerPixel();
        if (src == this && y > (DWORD)s.top) {
            for (int r = h - 1; r >= 0; --r)
                memmove(Row(y + r) + x * bpp, src->Row(s.top + r) + s.left * bpp, size_t(w) * bpp);
        } else {
            for (int r = 0; r < h; ++r)
                memmove(Row(y + r) + x * bpp, src->Row(s.top + r) + s.left * bpp, size_t(w) * bpp);
        }
        return DD_OK;
    }

    // A device context over a copy of the surface; ReleaseDC writes the copy back.
    STDMETHOD(GetDC)(HDC* out) override
    {
        if (!out)
            return DDERR_INVALIDPARAMS;
        *out = nullptr;
        if (m_dc)
            return DDERR_DCALREADYCREATED;
        if (BytesPerPixel() != 4 && BytesPerPixel() != 3 && BytesPerPixel() != 2)
            return DDERR_CANTCREATEDC;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = Width();
        bi.bmiHeader.biHeight = -Height();   // surface row 0 is the top row
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = WORD(BytesPerPixel() * 8);
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bmp)
            return DDERR_CANTCREATEDC;
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc) {
            DeleteObject(bmp);
            return DDERR_CANTCREATEDC;
        }
        m_dibPitch = ((Width() * BytesPerPixel()) + 3) & ~3;
        m_dibBits = static_cast<BYTE*>(bits);
        for (int y = 0; y < Height(); ++y)
            memcpy(m_dibBits + (ptrdiff_t)y * m_dibPitch, Row(y), size_t(Width()) * BytesPerPixel());
        m_oldBitmap = SelectObject(dc, bmp);
        m_dc = dc;
        m_bitmap = bmp;
        *out = dc;
        return DD_OK;
    }
    STDMETHOD(ReleaseDC)(HDC dc) override
    {
        if (!m_dc || dc != m_dc)
            return DDERR_NODC;
        DropDC(true);
        return DD_OK;
    }

    STDMETHOD(GetSurfaceDesc)(DDSURFACEDESC2* desc) override
    {
        if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2))
            return DDERR_INVALIDPARAMS;
        *desc = m_desc;
        return DD_OK;
    }
    STDMETHOD(Lock)(RECT* rect, DDSURFACEDESC2* desc, DWORD, HANDLE) override
    {
        if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2))
            return DDERR_INVALIDPARAMS;
        RECT r;
        if (!Resolve(rect, &r))
            return DDERR_INVALIDRECT;
        *desc = m_desc;
        desc->lpSurface = Row(r.top) + r.left * BytesPerPixel();
        return DD_OK;
    }
    STDMETHOD(Unlock)(LPRECT) override { return DD_OK; }
    STDMETHOD(IsLost)() override { return DD_OK; }
    STDMETHOD(Restore)() override { return DD_OK; }
    STDMETHOD(GetPixelFormat)(DDPIXELFORMAT* pf) override { return CopyOut(pf, m_desc.ddpfPixelFormat); }
    STDMETHOD(GetCaps)(DDSCAPS2* caps) override { return CopyOut(caps, m_desc.ddsCaps); }

    STDMETHOD(AddAttachedSurface)(IDirectDrawSurface4*) override UNSUPPORTED
    STDMETHOD(AddOverlayDirtyRect)(LPRECT) override UNSUPPORTED
    STDMETHOD(BltBatch)(DDBLTBATCH*, DWORD, DWORD) override UNSUPPORTED
    STDMETHOD(DeleteAttachedSurface)(DWORD, IDirectDrawSurface4*) override UNSUPPORTED
    STDMETHOD(EnumAttachedSurfaces)(void*, LPDDENUMSURFACESCALLBACK2) override UNSUPPORTED
    STDMETHOD(EnumOverlayZOrders)(DWORD, void*, LPDDENUMSURFACESCALLBACK2) override UNSUPPORTED
    STDMETHOD(Flip)(IDirectDrawSurface4*, DWORD) override UNSUPPORTED
    STDMETHOD(GetAttachedSurface)(DDSCAPS2*, IDirectDrawSurface4**) override UNSUPPORTED
    STDMETHOD(GetBltStatus)(DWORD) override { return DD_OK; }
    STDMETHOD(GetClipper)(IDirectDrawClipper**) override UNSUPPORTED
    STDMETHOD(GetColorKey)(DWORD, DDCOLORKEY*) override UNSUPPORTED
    STDMETHOD(GetFlipStatus)(DWORD) override UNSUPPORTED
    STDMETHOD(GetOverlayPosition)(LPLONG, LPLONG) override UNSUPPORTED
    STDMETHOD(GetPalette)(IDirectDrawPalette**) override UNSUPPORTED
    STDMETHOD(Initialize)(IDirectDraw*, DDSURFACEDESC2*) override { return DDERR_ALREADYINITIALIZED; }
    STDMETHOD(SetClipper)(IDirectDrawClipper*) override UNSUPPORTED
    STDMETHOD(SetColorKey)(DWORD, DDCOLORKEY*) override UNSUPPORTED
    STDMETHOD(SetOverlayPosition)(LONG, LONG) override UNSUPPORTED
    STDMETHOD(SetPalette)(IDirectDrawPalette*) override UNSUPPORTED
    STDMETHOD(UpdateOverlay)(RECT*, IDirectDrawSurface4*, RECT*, DWORD, DDOVERLAYFX*) override UNSUPPORTED
    STDMETHOD(UpdateOverlayDisplay)(DWORD) override UNSUPPORTED
    STDMETHOD(UpdateOverlayZOrder)(DWORD, IDirectDrawSurface4*) override UNSUPPORTED
    STDMETHOD(GetDDInterface)(void**) override UNSUPPORTED
    STDMETHOD(PageLock)(DWORD) override { return DD_OK; }
    STDMETHOD(PageUnlock)(DWORD) override { return DD_OK; }
    STDMETHOD(SetSurfaceDesc)(DDSURFACEDESC2*, DWORD) override UNSUPPORTED
    STDMETHOD(SetPrivateData)(REFGUID, void*, DWORD, DWORD) override UNSUPPORTED
    STDMETHOD(GetPrivateData)(REFGUID, void*, DWORD*) override UNSUPPORTED
    STDMETHOD(FreePrivateData)(REFGUID) override UNSUPPORTED
    STDMETHOD(GetUniquenessValue)(LPDWORD) override UNSUPPORTED
    STDMETHOD(ChangeUniquenessValue)() override UNSUPPORTED

private:
    void DropDC(bool writeBack)
    {
        GdiFlush();
        if (writeBack)
            for (int y = 0; y < Height(); ++y)
                memcpy(Row(y), m_dibBits + (ptrdiff_t)y * m_dibPitch,
                       size_t(Width()) * BytesPerPixel());
        SelectObject(m_dc, m_oldBitmap);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
        m_dc = nullptr;
        m_bitmap = nullptr;
        m_dibBits = nullptr;
    }

    DDSURFACEDESC2 m_desc;
    BYTE* m_bits;
    BYTE* m_owned;
    std::vector<int> m_colMap;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    BYTE* m_dibBits = nullptr;
    int m_dibPitch = 0;
};

class SysMemDirectDraw : public ComObject<IDirectDraw4, &IID_IDirectDraw4> {
public:
    virtual ~SysMemDirectDraw() {}
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        // One object answers both shapes: the old interface is only used to get the new.
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectDraw4) ||
            IsEqualIID(riid, IID_IDirectDraw)) {
            *ppv = static_cast<IDirectDraw4*>(this);
            AddRef();
            return S_OK;
        }
        if (IsEqualIID(riid, IID_IDirectDraw2)) {
            *ppv = NewDirectDraw2Face(this);
            return *ppv ? S_OK : E_OUTOFMEMORY;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }

    STDMETHOD(CreateSurface)(DDSURFACEDESC2* desc, IDirectDrawSurface4** out, IUnknown* outer) override
    {
        if (!out)
            return DDERR_INVALIDPARAMS;
        *out = nullptr;
        if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2) || outer)
            return DDERR_INVALIDPARAMS;
        const DWORD need = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        if ((desc->dwFlags & need) != need || desc->dwWidth == 0 || desc->dwHeight == 0 ||
            desc->dwWidth > 16384 || desc->dwHeight > 16384)
            return DDERR_INVALIDPARAMS;
        const DWORD bits = desc->ddpfPixelFormat.dwRGBBitCount;
        if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
            return DDERR_INVALIDPIXELFORMAT;
        DDSURFACEDESC2 d = *desc;
        const LONG rowBytes = LONG(d.dwWidth * (bits / 8));
        BYTE* owned = nullptr;
        if (d.dwFlags & DDSD_LPSURFACE) {
            if (!d.lpSurface || !(d.dwFlags & DDSD_PITCH) || d.lPitch < rowBytes)
                return DDERR_INVALIDPARAMS;
        } else {
            d.lPitch = (rowBytes + 3) & ~3;
            owned = new (std::nothrow) BYTE[size_t(d.lPitch) * d.dwHeight]();
            if (!owned)
                return DDERR_OUTOFMEMORY;
            d.lpSurface = owned;
            d.dwFlags |= DDSD_LPSURFACE | DDSD_PITCH;
        }
        d.ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY;
        auto* s = new (std::nothrow) SysMemSurface(d, static_cast<BYTE*>(d.lpSurface), owned);
        if (!s) {
            delete[] owned;
            return DDERR_OUTOFMEMORY;
        }
        *out = s;
        return DD_OK;
    }
    STDMETHOD(SetCooperativeLevel)(HWND, DWORD flags) override
    {
        return (flags & DDSCL_NORMAL) ? DD_OK : DDERR_UNSUPPORTED;
    }

    STDMETHOD(Compact)() override UNSUPPORTED
    STDMETHOD(CreateClipper)(DWORD flags, IDirectDrawClipper** out, IUnknown* outer) override
    {
        return DirectDrawCreateClipper(flags, out, outer);
    }
    STDMETHOD(CreatePalette)(DWORD, PALETTEENTRY*, IDirectDrawPalette**, IUnknown*) override UNSUPPORTED
    STDMETHOD(DuplicateSurface)(IDirectDrawSurface4*, IDirectDrawSurface4**) override UNSUPPORTED
    STDMETHOD(EnumDisplayModes)(DWORD, DDSURFACEDESC2*, void*, LPDDENUMMODESCALLBACK2) override UNSUPPORTED
    STDMETHOD(EnumSurfaces)(DWORD, DDSURFACEDESC2*, void*, LPDDENUMSURFACESCALLBACK2) override UNSUPPORTED
    STDMETHOD(FlipToGDISurface)() override UNSUPPORTED
    STDMETHOD(GetCaps)(DDCAPS* driver, DDCAPS* hel) override { return SysMemGetCaps(driver, hel); }
    STDMETHOD(GetDisplayMode)(DDSURFACEDESC2*) override UNSUPPORTED
    STDMETHOD(GetFourCCCodes)(LPDWORD, LPDWORD) override UNSUPPORTED
    STDMETHOD(GetGDISurface)(IDirectDrawSurface4**) override UNSUPPORTED
    STDMETHOD(GetMonitorFrequency)(LPDWORD) override UNSUPPORTED
    STDMETHOD(GetScanLine)(LPDWORD) override UNSUPPORTED
    STDMETHOD(GetVerticalBlankStatus)(BOOL*) override UNSUPPORTED
    STDMETHOD(Initialize)(GUID*) override { return DDERR_ALREADYINITIALIZED; }
    STDMETHOD(RestoreDisplayMode)() override UNSUPPORTED
    STDMETHOD(SetDisplayMode)(DWORD, DWORD, DWORD, DWORD, DWORD) override UNSUPPORTED
    STDMETHOD(WaitForVerticalBlank)(DWORD, HANDLE) override UNSUPPORTED
    STDMETHOD(GetAvailableVidMem)(DDSCAPS2*, DWORD*, DWORD*) override UNSUPPORTED
    STDMETHOD(GetSurfaceFromDC)(HDC, IDirectDrawSurface4**) override UNSUPPORTED
    STDMETHOD(RestoreAllSurfaces)() override { return DD_OK; }
    STDMETHOD(TestCooperativeLevel)() override { return DD_OK; }
    STDMETHOD(GetDeviceIdentifier)(DDDEVICEIDENTIFIER*, DWORD) override UNSUPPORTED

};

} // namespace

// Only the default driver exists: system memory.
extern "C" HRESULT WINAPI DirectDrawCreate(GUID* driver, IDirectDraw** out, IUnknown* outer)
{
    if (!out)
        return DDERR_INVALIDPARAMS;
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (driver && driver != (GUID*)DDCREATE_EMULATIONONLY)
        return DDERR_INVALIDDIRECTDRAWGUID;
    auto* dd = new (std::nothrow) SysMemDirectDraw;
    if (!dd)
        return DDERR_OUTOFMEMORY;
    // The caller only ever asks this object for IDirectDraw4; its first slots match.
    *out = reinterpret_cast<IDirectDraw*>(static_cast<IDirectDraw4*>(dd));
    return DD_OK;
}
