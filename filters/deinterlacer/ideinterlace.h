// Custom interface of the Deinterlacer filter.
#pragma once
#include <windows.h>
#include <objbase.h>

// {33071BA1-BA79-11D4-8736-00E098732545}
DEFINE_GUID(CLSID_Deinterlacer, 0x33071ba1, 0xba79, 0x11d4, 0x87, 0x36, 0x00, 0xe0, 0x98, 0x73,
            0x25, 0x45);
// {33071BA2-BA79-11D4-8736-00E098732545}: the page the filter names; no module serves it.
DEFINE_GUID(CLSID_DeinterlacerProperties, 0x33071ba2, 0xba79, 0x11d4, 0x87, 0x36, 0x00, 0xe0,
            0x98, 0x73, 0x25, 0x45);
// {33071BA3-BA79-11D4-8736-00E098732545}
DEFINE_GUID(IID_IDeinterlace, 0x33071ba3, 0xba79, 0x11d4, 0x87, 0x36, 0x00, 0xe0, 0x98, 0x73,
            0x25, 0x45);

class CDC;   // the application framework's device context; the filter only reads its HDC

struct IDeinterlace : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetBypass(BOOL* bypass) = 0;
    // Bypass: frames pass unchanged (snapshots are still served).
    virtual HRESULT STDMETHODCALLTYPE SetBypass(BOOL bypass) = 0;
    // Keeps field 0 (even buffer rows) or 1 (odd rows); any other value is 0. Ends bypass.
    virtual HRESULT STDMETHODCALLTYPE SetField(LONG reserved, LONG field) = 0;
    // Keys the overlay bitmap over every frame. Ends bypass.
    virtual HRESULT STDMETHODCALLTYPE EnableOverlay(BOOL enable) = 0;
    // 32-bit top-down pixels (not copied: they must live while the overlay is in use),
    // pixels per row, rows, and the key colour of the transparent background.
    virtual HRESULT STDMETHODCALLTYPE SetOverlayBitmap(void* bits, LONG width, LONG height,
                                                       DWORD key) = 0;
    // Crop and mask as fractions 0..1 of the 608 x 456 reference picture.
    virtual HRESULT STDMETHODCALLTYPE SetCrop(float x, float y, float w, float h) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCropOrigin(float* x, float* y) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCropSize(float* w, float* h) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMask(float x, float y, float w, float h) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMirror(BOOL mirror) = 0;
    // The next frame is copied into dc (none: only the event); *event (owned by the
    // filter, manual reset) is set when that is done.
    virtual HRESULT STDMETHODCALLTYPE RequestSnapshot(CDC* dc, HANDLE* event) = 0;
    // A picture that replaces the video (composite views); null ends it.
    virtual HRESULT STDMETHODCALLTYPE SetOutputDC(CDC* dc) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetScaleOutput(BOOL scale) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetScaleToFrame(BOOL scale) = 0;
};
