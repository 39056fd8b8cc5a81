// Stream persistence: a version record (the software version as text) and then whatever
// the derived class writes.
#pragma once
#include <windows.h>
#include <objidl.h>

class CPersistStream : public IPersistStream {
public:
    CPersistStream(IUnknown* punk, HRESULT* phr);
    virtual ~CPersistStream() {}

    STDMETHODIMP IsDirty() override { return mPS_fDirty ? S_OK : S_FALSE; }
    STDMETHODIMP Load(LPSTREAM pStm) override;
    STDMETHODIMP Save(LPSTREAM pStm, BOOL fClearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* pcbSize) override;

    virtual HRESULT WriteToStream(IStream*) { return S_OK; }
    virtual HRESULT ReadFromStream(IStream*) { return S_OK; }
    virtual int SizeMax() { return 0; }
    virtual DWORD GetSoftwareVersion() { return 0; }
    HRESULT SetDirty(BOOL fDirty)
    {
        mPS_fDirty = fDirty;
        return S_OK;
    }

protected:
    DWORD mPS_dwFileVersion;
    BOOL mPS_fDirty;
};

// An integer as 12 wide characters (11 digits and a space), and back.
STDAPI WriteInt(IStream* pIStream, int n);
int ReadInt(IStream* pIStream, HRESULT& hr);
