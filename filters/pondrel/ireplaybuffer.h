// Custom interface of the replay buffer filter, and the graph event the filters raise.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <strmif.h>

// {4AE01C20-9E92-4C0B-AE7D-D0A37CF111FC}
DEFINE_GUID(CLSID_ReplayBuffer, 0x4ae01c20, 0x9e92, 0x4c0b, 0xae, 0x7d, 0xd0, 0xa3, 0x7c, 0xf1,
            0x11, 0xfc);
// {7C7E254C-CDBA-4BA7-8DD5-5A6CCF6FA54A}
DEFINE_GUID(CLSID_ReplayBufferProperties, 0x7c7e254c, 0xcdba, 0x4ba7, 0x8d, 0xd5, 0x5a, 0x6c,
            0xcf, 0x6f, 0xa5, 0x4a);
// {A87C4652-F169-4355-AD3A-7E5DE5F59B9C}
DEFINE_GUID(IID_IReplayBuffer, 0xa87c4652, 0xf169, 0x4355, 0xad, 0x3a, 0x7e, 0x5d, 0xe5, 0xf5,
            0x9b, 0x9c);

// Graph event of the filters: (1, 1) when the replay ring has been delivered, (2, time in
// ms) when the sound level was crossed.
#ifndef EC_FILTER_NOTIFY
#define EC_FILTER_NOTIFY 24
#endif

struct IReplayBuffer : public IUnknown {
    // Effect number and its start and length in seconds; stored only.
    virtual HRESULT STDMETHODCALLTYPE GetEffect(int* effect, double* start, double* length) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetEffect(int effect, double start, double length) = 0;
    // Number of ring entries and bytes per entry.
    virtual HRESULT STDMETHODCALLTYPE GetBufferInfo(int* count, int* bytes) = 0;
    // Trigger at stream time t (100 ns units; all bits set means no time). *parity gets the
    // trigger field, 0 or 1, or -1 when no trigger field was placed.
    virtual HRESULT STDMETHODCALLTYPE TriggerAt(REFERENCE_TIME t, int* parity) = 0;
    // Trigger on the newest stored frame.
    virtual HRESULT STDMETHODCALLTYPE TriggerNow() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPreTriggerFrames(int* frames) = 0;
    // Applied at the next run.
    virtual HRESULT STDMETHODCALLTYPE SetPreTriggerFrames(int frames) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPostTriggerFrames(int* frames) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPostTriggerFrames(int frames) = 0;
    // 1 once the ring holds more than the pre-trigger frames.
    virtual HRESULT STDMETHODCALLTYPE CanTrigger(BYTE* can) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFrameRate(double fps) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFrameRate(double* fps) = 0;
    // Shift of the trigger point in fields.
    virtual HRESULT STDMETHODCALLTYPE SetTriggerOffset(int fields) = 0;
};
