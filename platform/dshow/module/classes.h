// Classes served by the layer's module. Each class file adds itself with one
// DSHOW_SERVED_CLASS line; the module's class table is assembled from them at load.
#pragma once
#include "streams.h"
#include <new>

struct ServedClass {
    ServedClass(const WCHAR* name, const CLSID* clsid, LPFNNewCOMObject create,
                const AMOVIESETUP_FILTER* setup = nullptr);
};

#define DSHOW_SERVED_CLASS_CAT2(a, b) a##b
#define DSHOW_SERVED_CLASS_CAT(a, b) DSHOW_SERVED_CLASS_CAT2(a, b)
#define DSHOW_SERVED_CLASS(...) \
    static ServedClass DSHOW_SERVED_CLASS_CAT(servedClass_, __LINE__)(__VA_ARGS__)

// The creation function of a served class T constructed as T(LPUNKNOWN, HRESULT*).
template <class T>
CUnknown* CALLBACK CreateServed(LPUNKNOWN pUnk, HRESULT* phr)
{
    CUnknown* p = new (std::nothrow) T(pUnk, phr);
    if (!p && phr)
        *phr = E_OUTOFMEMORY;
    return p;
}

// Creates a served object of the given class in-process, without the registry (for the
// layer's own use, e.g. the graph making its default clock).
HRESULT CreateServedObject(REFCLSID clsid, REFIID riid, void** ppv);
