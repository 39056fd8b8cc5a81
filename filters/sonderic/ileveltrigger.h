// Custom interface of the sound-level trigger filter.
#pragma once
#include <windows.h>
#include <objbase.h>

// {F19B88C1-D109-11D4-8735-00E02991EE42}
DEFINE_GUID(CLSID_LevelTrigger, 0xf19b88c1, 0xd109, 0x11d4, 0x87, 0x35, 0x00, 0xe0, 0x29, 0x91,
            0xee, 0x42);
// {F19B88C3-D109-11D4-8735-00E02991EE42}
DEFINE_GUID(CLSID_LevelTriggerProperties, 0xf19b88c3, 0xd109, 0x11d4, 0x87, 0x35, 0x00, 0xe0,
            0x29, 0x91, 0xee, 0x42);
// {DE7AE4A1-D0DE-11D4-8735-00E02991EE42}
DEFINE_GUID(IID_ILevelTrigger, 0xde7ae4a1, 0xd0de, 0x11d4, 0x87, 0x35, 0x00, 0xe0, 0x29, 0x91,
            0xee, 0x42);

#ifndef EC_FILTER_NOTIFY
#define EC_FILTER_NOTIFY 24
#endif

struct ILevelTrigger : public IUnknown {
    // Threshold on the 8-bit magnitude scale, 0..127.
    virtual HRESULT STDMETHODCALLTYPE GetThresholdLevel(int* level) = 0;
    // Level = 127 raised to percent / 100.
    virtual HRESULT STDMETHODCALLTYPE SetThreshold(int percent) = 0;
    // Deliver samples downstream (1) or drop them (0).
    virtual HRESULT STDMETHODCALLTYPE SetPassThrough(BYTE on) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPassThrough(BYTE* on) = 0;
    // Listen again after 100 ms.
    virtual HRESULT STDMETHODCALLTYPE Rearm() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFrameRate(double fps) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFrameRate(double* fps) = 0;
};
