// The video decoders answer this interface so that tests can tell how many pictures the
// codec really decoded (a frame delivered again is answered from the kept picture).
#pragma once
#include <windows.h>
#include <objbase.h>

// {0B7C15E2-6A41-4D2B-9E57-3F0D8A61C4B9}
static const IID IID_IDecodeCount = {0x0b7c15e2, 0x6a41, 0x4d2b,
                                     {0x9e, 0x57, 0x3f, 0x0d, 0x8a, 0x61, 0xc4, 0xb9}};

struct IDecodeCount : public IUnknown {
    // Pictures the codec decoded since the filter was made.
    virtual HRESULT STDMETHODCALLTYPE GetDecodeCount(LONG* count) = 0;
};
