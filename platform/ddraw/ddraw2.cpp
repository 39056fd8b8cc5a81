#include "ddraw2.h"
#include <new>
#include "com_object.h"

namespace {

#define UNSUPPORTED { return DDERR_UNSUPPORTED; }

class Clipper : public ComObject<IDirectDrawClipper, &IID_IDirectDrawClipper> {
public:
    virtual ~Clipper() {}
    STDMETHOD(GetClipList)(LPRECT, LPRGNDATA, LPDWORD) override UNSUPPORTED
    STDMETHOD(GetHWnd)(HWND* out) override { return CopyOut(out, m_hwnd); }
    STDMETHOD(Initialize)(IDirectDraw*, DWORD) override { return DDERR_ALREADYINITIALIZED; }
    STDMETHOD(IsClipListChanged)(BOOL* changed) override
    {
        if (!changed)
            return DDERR_INVALIDPARAMS;
        *changed = FALSE;
        return DD_OK;
    }
    STDMETHOD(SetClipList)(LPRGNDATA, DWORD) override UNSUPPORTED
    STDMETHOD(SetHWnd)(DWORD, HWND hwnd) override
    {
        if (hwnd && !IsWindow(hwnd))
            return DDERR_INVALIDPARAMS;
        m_hwnd = hwnd;
        return DD_OK;
    }

private:
    HWND m_hwnd = nullptr;
};

bool IsPackedYuv(const DDPIXELFORMAT& pf)
{
    return (pf.dwFlags & DDPF_FOURCC) &&
           (pf.dwFourCC == MAKEFOURCC('Y', 'U', 'Y', '2') ||
            pf.dwFourCC == MAKEFOURCC('U', 'Y', 'V', 'Y'));
}

// An IDirectDrawSurface over a system-memory surface of the newer shape. Packed YUV lies in
// a 16-bit surface of the same size (two bytes a pixel as well); it has no device context.
class Surface1 : public ComObject<IDirectDrawSurface, &IID_IDirectDrawSurface> {
public:
    Surface1(IDirectDrawSurface4* inner, const DDSURFACEDESC& desc) : m_inner(inner), m_desc(desc)
    {
    }
    virtual ~Surface1()
    {
        if (m_clipper)
            m_clipper->Release();
        m_inner->Release();
    }
    STDMETHOD(GetSurfaceDesc)(DDSURFACEDESC* desc) override
    {
        if (!desc || desc->dwSize != sizeof(DDSURFACEDESC))
            return DDERR_INVALIDPARAMS;
        *desc = m_desc;
        return DD_OK;
    }
    STDMETHOD(Lock)(RECT* rect, DDSURFACEDESC* desc, DWORD flags, HANDLE event) override
    {
        if (!desc || desc->dwSize != sizeof(DDSURFACEDESC))
            return DDERR_INVALIDPARAMS;
        DDSURFACEDESC2 d2 = {};
        d2.dwSize = sizeof d2;
        HRESULT hr = m_inner->Lock(rect, &d2, flags, event);
        if (FAILED(hr))
            return hr;
        *desc = m_desc;
        desc->lpSurface = d2.lpSurface;
        desc->lPitch = d2.lPitch;
        return DD_OK;
    }
    STDMETHOD(Unlock)(void*) override { return m_inner->Unlock(nullptr); }
    STDMETHOD(GetDC)(HDC* dc) override
    {
        if (IsPackedYuv(m_desc.ddpfPixelFormat)) {
            if (dc)
                *dc = nullptr;
            return DDERR_CANTCREATEDC;
        }
        return m_inner->GetDC(dc);
    }
    STDMETHOD(ReleaseDC)(HDC dc) override { return m_inner->ReleaseDC(dc); }
    STDMETHOD(GetPixelFormat)(DDPIXELFORMAT* pf) override { return CopyOut(pf, m_desc.ddpfPixelFormat); }
    STDMETHOD(GetCaps)(DDSCAPS* caps) override { return CopyOut(caps, m_desc.ddsCaps); }
    STDMETHOD(IsLost)() override { return DD_OK; }
    STDMETHOD(Restore)() override { return DD_OK; }
    STDMETHOD(SetClipper)(IDirectDrawClipper* clipper) override
    {
        if (clipper)
            clipper->AddRef();
        if (m_clipper)
            m_clipper->Release();
        m_clipper = clipper;
        return DD_OK;
    }
    STDMETHOD(GetClipper)(IDirectDrawClipper** out) override
    {
        if (!out)
            return DDERR_INVALIDPARAMS;
        *out = m_clipper;
        if (!m_clipper)
            return DDERR_NOCLIPPERATTACHED;
        m_clipper->AddRef();
        return DD_OK;
    }
    // Not an overlay: nothing to place.
    STDMETHOD(UpdateOverlay)(RECT*, IDirectDrawSurface*, RECT*, DWORD, DDOVERLAYFX*) override
    {
        return DDERR_NOTAOVERLAYSURFACE;
    }
    STDMETHOD(SetOverlayPosition)(LONG, LONG) override { return DDERR_NOTAOVERLAYSURFACE; }
    STDMETHOD(GetOverlayPosition)(LPLONG, LPLONG) override { return DDERR_NOTAOVERLAYSURFACE; }
    STDMETHOD(UpdateOverlayDisplay)(DWORD) override { return DDERR_NOTAOVERLAYSURFACE; }
    STDMETHOD(UpdateOverlayZOrder)(DWORD, IDirectDrawSurface*) override
    {
        return DDERR_NOTAOVERLAYSURFACE;
    }
    STDMETHOD(AddAttachedSurface)(IDirectDrawSurface*) override UNSUPPORTED
    STDMETHOD(AddOverlayDirtyRect)(LPRECT) override UNSUPPORTED
    STDMETHOD(Blt)(RECT*, IDirectDrawSurface*, RECT*, DWORD, DDBLTFX*) override UNSUPPORTED
    STDMETHOD(BltBatch)(DDBLTBATCH*, DWORD, DWORD) override UNSUPPORTED
    STDMETHOD(BltFast)(DWORD, DWORD, IDirectDrawSurface*, RECT*, DWORD) override UNSUPPORTED
    STDMETHOD(DeleteAttachedSurface)(DWORD, IDirectDrawSurface*) override UNSUPPORTED
    STDMETHOD(EnumAttachedSurfaces)(void*, LPDDENUMSURFACESCALLBACK) override UNSUPPORTED
    STDMETHOD(EnumOverlayZOrders)(DWORD, void*, LPDDENUMSURFACESCALLBACK) override UNSUPPORTED
    STDMETHOD(Flip)(IDirectDrawSurface*, DWORD) override UNSUPPORTED
    STDMETHOD(GetAttachedSurface)(DDSCAPS*, IDirectDrawSurface**) override UNSUPPORTED
    STDMETHOD(GetBltStatus)(DWORD) override { return DD_OK; }
    STDMETHOD(GetColorKey)(DWORD, DDCOLORKEY*) override UNSUPPORTED
    STDMETHOD(GetFlipStatus)(DWORD) override UNSUPPORTED
    STDMETHOD(GetPalette)(IDirectDrawPalette**) override UNSUPPORTED
    STDMETHOD(Initialize)(IDirectDraw*, DDSURFACEDESC*) override { return DDERR_ALREADYINITIALIZED; }
    STDMETHOD(SetColorKey)(DWORD, DDCOLORKEY*) override UNSUPPORTED
    STDMETHOD(SetPalette)(IDirectDrawPalette*) override UNSUPPORTED

private:
    IDirectDrawSurface4* m_inner;
    DDSURFACEDESC m_desc;
    IDirectDrawClipper* m_clipper = nullptr;
};

class DirectDraw2Face : public ComObject<IDirectDraw2, &IID_IDirectDraw2> {
public:
    explicit DirectDraw2Face(IDirectDraw4* owner) : m_owner(owner) { m_owner->AddRef(); }
    virtual ~DirectDraw2Face() { m_owner->Release(); }
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv && IsEqualIID(riid, IID_IDirectDraw2)) {
            *ppv = static_cast<IDirectDraw2*>(this);
            AddRef();
            return S_OK;
        }
        return m_owner->QueryInterface(riid, ppv);
    }
    STDMETHOD(CreateClipper)(DWORD flags, IDirectDrawClipper** out, IUnknown* outer) override
    {
        return DirectDrawCreateClipper(flags, out, outer);
    }
    STDMETHOD(CreateSurface)(DDSURFACEDESC* desc, IDirectDrawSurface** out, IUnknown* outer) override
    {
        if (!out)
            return DDERR_INVALIDPARAMS;
        *out = nullptr;
        if (!desc || desc->dwSize != sizeof(DDSURFACEDESC) || outer || !(desc->dwFlags & DDSD_CAPS))
            return DDERR_INVALIDPARAMS;
        if (desc->ddsCaps.dwCaps & DDSCAPS_OVERLAY)
            return DDERR_NOOVERLAYHW;
        DDSURFACEDESC d = *desc;
        DDSURFACEDESC2 d2 = {};
        d2.dwSize = sizeof d2;
        d2.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        d2.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
        if (d.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) {
            if (d.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT))
                return DDERR_INVALIDPARAMS;
            d.dwWidth = DWORD(GetSystemMetrics(SM_CXSCREEN));
            d.dwHeight = DWORD(GetSystemMetrics(SM_CYSCREEN));
            d.ddpfPixelFormat = DDPIXELFORMAT();
            d.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
            d.ddpfPixelFormat.dwFlags = DDPF_RGB;
            d.ddpfPixelFormat.dwRGBBitCount = 32;
            d.ddpfPixelFormat.dwRBitMask = 0xFF0000;
            d.ddpfPixelFormat.dwGBitMask = 0xFF00;
            d.ddpfPixelFormat.dwBBitMask = 0xFF;
            d.dwFlags |= DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
            d2.ddpfPixelFormat = d.ddpfPixelFormat;
        } else {
            const DWORD need = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
            if ((d.dwFlags & need) != need)
                return DDERR_INVALIDPARAMS;
            d2.ddpfPixelFormat = d.ddpfPixelFormat;
            if (d.ddpfPixelFormat.dwFlags & DDPF_FOURCC) {
                if (!IsPackedYuv(d.ddpfPixelFormat))
                    return DDERR_INVALIDPIXELFORMAT;
                d2.ddpfPixelFormat = DDPIXELFORMAT();
                d2.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
                d2.ddpfPixelFormat.dwFlags = DDPF_RGB;
                d2.ddpfPixelFormat.dwRGBBitCount = 16;
                d.ddpfPixelFormat.dwYUVBitCount = 16;
            }
        }
        d2.dwWidth = d.dwWidth;
        d2.dwHeight = d.dwHeight;
        d2.ddsCaps.dwCaps = d.ddsCaps.dwCaps & ~DDSCAPS_VIDEOMEMORY;
        IDirectDrawSurface4* inner = nullptr;
        HRESULT hr = m_owner->CreateSurface(&d2, &inner, nullptr);
        if (FAILED(hr))
            return hr;
        DDSURFACEDESC2 made = {};
        made.dwSize = sizeof made;
        inner->GetSurfaceDesc(&made);
        d.dwFlags |= DDSD_PITCH;
        d.lPitch = made.lPitch;
        d.lpSurface = nullptr;
        d.ddsCaps.dwCaps = (d.ddsCaps.dwCaps & ~DDSCAPS_VIDEOMEMORY) | DDSCAPS_SYSTEMMEMORY;
        auto* s = new (std::nothrow) Surface1(inner, d);
        if (!s) {
            inner->Release();
            return DDERR_OUTOFMEMORY;
        }
        *out = s;
        return DD_OK;
    }
    STDMETHOD(GetCaps)(DDCAPS* driver, DDCAPS* hel) override { return SysMemGetCaps(driver, hel); }
    STDMETHOD(SetCooperativeLevel)(HWND hwnd, DWORD flags) override
    {
        return m_owner->SetCooperativeLevel(hwnd, flags);
    }
    STDMETHOD(GetFourCCCodes)(LPDWORD count, LPDWORD codes) override
    {
        if (!count)
            return DDERR_INVALIDPARAMS;
        if (codes && *count >= 2) {
            codes[0] = MAKEFOURCC('Y', 'U', 'Y', '2');
            codes[1] = MAKEFOURCC('U', 'Y', 'V', 'Y');
        }
        *count = 2;
        return DD_OK;
    }
    STDMETHOD(Compact)() override UNSUPPORTED
    STDMETHOD(CreatePalette)(DWORD, PALETTEENTRY*, IDirectDrawPalette**, IUnknown*) override UNSUPPORTED
    STDMETHOD(DuplicateSurface)(IDirectDrawSurface*, IDirectDrawSurface**) override UNSUPPORTED
    STDMETHOD(EnumDisplayModes)(DWORD, DDSURFACEDESC*, void*, LPDDENUMMODESCALLBACK) override UNSUPPORTED
    STDMETHOD(EnumSurfaces)(DWORD, DDSURFACEDESC*, void*, LPDDENUMSURFACESCALLBACK) override UNSUPPORTED
    STDMETHOD(FlipToGDISurface)() override UNSUPPORTED
    STDMETHOD(GetDisplayMode)(DDSURFACEDESC*) override UNSUPPORTED
    STDMETHOD(GetGDISurface)(IDirectDrawSurface**) override UNSUPPORTED
    STDMETHOD(GetMonitorFrequency)(LPDWORD) override UNSUPPORTED
    STDMETHOD(GetScanLine)(LPDWORD) override UNSUPPORTED
    STDMETHOD(GetVerticalBlankStatus)(BOOL*) override UNSUPPORTED
    STDMETHOD(Initialize)(GUID*) override { return DDERR_ALREADYINITIALIZED; }
    STDMETHOD(RestoreDisplayMode)() override UNSUPPORTED
    STDMETHOD(SetDisplayMode)(DWORD, DWORD, DWORD, DWORD, DWORD) override UNSUPPORTED
    STDMETHOD(WaitForVerticalBlank)(DWORD, HANDLE) override UNSUPPORTED
    STDMETHOD(GetAvailableVidMem)(DDSCAPS*, DWORD*, DWORD*) override UNSUPPORTED

private:
    IDirectDraw4* m_owner;
};

}  // namespace

IDirectDraw2* NewDirectDraw2Face(IDirectDraw4* owner)
{
    return new (std::nothrow) DirectDraw2Face(owner);
}

namespace {

void FillSysMemCaps(DDCAPS* caps)
{
    const DWORD size = caps->dwSize == sizeof(DDCAPS_DX7) || caps->dwSize == sizeof(DDCAPS_DX6) ||
                               caps->dwSize == sizeof(DDCAPS_DX5) ||
                               caps->dwSize == sizeof(DDCAPS_DX3)
                           ? caps->dwSize
                           : DWORD(sizeof(DDCAPS));
    ZeroMemory(caps, size);
    caps->dwSize = size;
    // Blits in system memory and a stretching blit; no overlays, no colour keys in hardware.
    caps->dwCaps = DDCAPS_BLT | DDCAPS_BLTSTRETCH;
    caps->dwFXCaps = DDFXCAPS_BLTMIRRORLEFTRIGHT | DDFXCAPS_BLTMIRRORUPDOWN;
    caps->ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_PRIMARYSURFACE | DDSCAPS_SYSTEMMEMORY;
}

}  // namespace

HRESULT SysMemGetCaps(DDCAPS* driver, DDCAPS* hel)
{
    if (!driver && !hel)
        return DDERR_INVALIDPARAMS;
    if (driver)
        FillSysMemCaps(driver);
    if (hel)
        FillSysMemCaps(hel);
    return DD_OK;
}

extern "C" HRESULT WINAPI DirectDrawCreateClipper(DWORD, IDirectDrawClipper** out, IUnknown* outer)
{
    if (!out)
        return DDERR_INVALIDPARAMS;
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    auto* c = new (std::nothrow) Clipper;
    if (!c)
        return DDERR_OUTOFMEMORY;
    *out = c;
    return DD_OK;
}
