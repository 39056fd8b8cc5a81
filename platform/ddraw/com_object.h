// The reference counting and interface query shared by the layer's COM objects: one
// interface (and IUnknown), deleted at the last Release.
#pragma once
#include <windows.h>

template <class I, const IID* Iid> class ComObject : public I {
public:
    virtual ~ComObject() {}
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, *Iid)) {
            *ppv = static_cast<I*>(this);
            this->AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return InterlockedIncrement(&m_ref); }
    STDMETHOD_(ULONG, Release)() override
    {
        LONG r = InterlockedDecrement(&m_ref);
        if (r == 0)
            delete this;
        return r;
    }

private:
    LONG m_ref = 1;
};

// A getter's copy into the caller's place: DDERR_INVALIDPARAMS for none.
template <class T> HRESULT CopyOut(T* out, const T& value)
{
    if (!out)
        return E_INVALIDARG;  // DDERR_INVALIDPARAMS
    *out = value;
    return S_OK;
}
