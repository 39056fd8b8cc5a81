#include "streams.h"
#include <cstdio>
#include <cstdlib>

CPersistStream::CPersistStream(IUnknown*, HRESULT*) : mPS_dwFileVersion(0), mPS_fDirty(FALSE) {}

STDMETHODIMP CPersistStream::Load(LPSTREAM pStm)
{
    if (!pStm)
        return E_POINTER;
    HRESULT hr = S_OK;
    mPS_dwFileVersion = ReadInt(pStm, hr);
    if (FAILED(hr))
        return hr;
    return ReadFromStream(pStm);
}

STDMETHODIMP CPersistStream::Save(LPSTREAM pStm, BOOL fClearDirty)
{
    if (!pStm)
        return E_POINTER;
    HRESULT hr = WriteInt(pStm, GetSoftwareVersion());
    if (FAILED(hr))
        return hr;
    hr = WriteToStream(pStm);
    if (FAILED(hr))
        return hr;
    if (fClearDirty)
        mPS_fDirty = FALSE;
    return S_OK;
}

STDMETHODIMP CPersistStream::GetSizeMax(ULARGE_INTEGER* pcbSize)
{
    if (!pcbSize)
        return E_POINTER;
    pcbSize->QuadPart = 12 * sizeof(WCHAR) + SizeMax();
    return S_OK;
}

STDAPI WriteInt(IStream* pIStream, int n)
{
    char text[16];
    snprintf(text, sizeof text, "%11d ", n);
    WCHAR wide[12];
    for (int i = 0; i < 12; ++i)
        wide[i] = (WCHAR)(unsigned char)text[i];
    return pIStream->Write(wide, sizeof wide, nullptr);
}

int ReadInt(IStream* pIStream, HRESULT& hr)
{
    WCHAR wide[12];
    ULONG got = 0;
    hr = pIStream->Read(wide, sizeof wide, &got);
    if (FAILED(hr))
        return 0;
    if (got != sizeof wide) {
        hr = E_FAIL;
        return 0;
    }
    char text[13];
    for (int i = 0; i < 12; ++i)
        text[i] = wide[i] < 128 ? (char)wide[i] : '?';
    text[12] = 0;
    char* end = nullptr;
    long v = strtol(text, &end, 10);
    if (end == text) {
        hr = E_FAIL;
        return 0;
    }
    hr = S_OK;
    return (int)v;
}
