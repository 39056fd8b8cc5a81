// Smart Tee: one stream in ("Input"), the same stream out on "Capture" with its times and
// on "Preview" without them, so that the preview is shown as it comes and never holds up
// the capture.
#include "classes.h"
#include "fanout_pin.h"
#include <cstring>
#include <new>

namespace {

class CSmartTee;

class CTeeInputPin : public CFanOutInputPin {
public:
    CTeeInputPin(CSmartTee* tee, CCritSec* lock, HRESULT* phr);
    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT CompleteConnect(IPin* pReceivePin) override;
    STDMETHODIMP Receive(IMediaSample* pSample) override;
    STDMETHODIMP EndOfStream() override;

protected:
    int FanOutCount() override { return 2; }
    CBaseOutputPin* FanOut(int index) override;

private:
    CSmartTee* m_tee;
};

class CTeeOutputPin : public CBaseOutputPin, public IKsPropertySet {
public:
    CTeeOutputPin(CSmartTee* tee, CCritSec* lock, HRESULT* phr, LPCWSTR name, bool preview);
    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IKsPropertySet))
            return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
        return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
    }
    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT GetMediaType(int i, CMediaType* pmt) override;
    HRESULT DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req) override;
    HRESULT Copy(IMediaSample* in);

    // The pin category, as capture filters tell theirs.
    STDMETHODIMP Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override { return E_PROP_ID_UNSUPPORTED; }
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD length, DWORD* returned) override
    {
        if (!IsEqualGUID(set, AMPROPSETID_Pin))
            return E_PROP_SET_UNSUPPORTED;
        if (id != AMPROPERTY_PIN_CATEGORY)
            return E_PROP_ID_UNSUPPORTED;
        if (returned)
            *returned = sizeof(GUID);
        if (data) {
            if (length < sizeof(GUID))
                return E_UNEXPECTED;
            memcpy(data, m_preview ? &PIN_CATEGORY_PREVIEW : &PIN_CATEGORY_CAPTURE, sizeof(GUID));
        }
        return S_OK;
    }
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override
    {
        if (!IsEqualGUID(set, AMPROPSETID_Pin))
            return E_PROP_SET_UNSUPPORTED;
        if (id != AMPROPERTY_PIN_CATEGORY)
            return E_PROP_ID_UNSUPPORTED;
        if (support)
            *support = KSPROPERTY_SUPPORT_GET;
        return S_OK;
    }

private:
    CSmartTee* m_tee;
    bool m_preview;
};

class CSmartTee : public CBaseFilter {
    friend class CTeeInputPin;
    friend class CTeeOutputPin;

public:
    CSmartTee(LPUNKNOWN pUnk, HRESULT* phr)
        : CBaseFilter(NAME("Smart Tee"), pUnk, &m_lock, CLSID_SmartTee), m_input(this, &m_lock, phr),
          m_capture(this, &m_lock, phr, L"Capture", false), m_preview(this, &m_lock, phr, L"Preview", true)
    {
    }
    static CUnknown* CALLBACK CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
    {
        CUnknown* p = new (std::nothrow) CSmartTee(pUnk, phr);
        if (!p && phr)
            *phr = E_OUTOFMEMORY;
        return p;
    }
    int GetPinCount() override { return 3; }
    CBasePin* GetPin(int n) override
    {
        switch (n) {
        case 0: return &m_input;
        case 1: return &m_capture;
        case 2: return &m_preview;
        default: return nullptr;
        }
    }

private:
    CCritSec m_lock;
    CCritSec m_receiveLock;
    CTeeInputPin m_input;
    CTeeOutputPin m_capture;
    CTeeOutputPin m_preview;
};

CTeeInputPin::CTeeInputPin(CSmartTee* tee, CCritSec* lock, HRESULT* phr)
    : CFanOutInputPin(NAME("Smart Tee input"), tee, lock, phr, L"Input"), m_tee(tee)
{
}

HRESULT CTeeInputPin::CheckMediaType(const CMediaType* pmt)
{
    // Anything the connected outputs can still take.
    for (CTeeOutputPin* out : {&m_tee->m_capture, &m_tee->m_preview})
        if (out->IsConnected() && out->GetConnected()->QueryAccept(pmt) != S_OK)
            return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT CTeeInputPin::CompleteConnect(IPin* pReceivePin)
{
    HRESULT hr = CBaseInputPin::CompleteConnect(pReceivePin);
    if (SUCCEEDED(hr)) {
        // Outputs joined under an earlier type take the new one.
        for (CTeeOutputPin* out : {&m_tee->m_capture, &m_tee->m_preview})
            if (out->IsConnected() && out->CurrentMediaType() != m_mt)
                m_tee->ReconnectPin(out, &m_mt);
    }
    return hr;
}

STDMETHODIMP CTeeInputPin::Receive(IMediaSample* pSample)
{
    CAutoLock l(&m_tee->m_receiveLock);
    HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK)
        return hr;
    HRESULT capture = m_tee->m_capture.IsConnected() ? m_tee->m_capture.Copy(pSample) : S_OK;
    if (m_tee->m_preview.IsConnected())
        m_tee->m_preview.Copy(pSample);  // a failing preview does not stop the capture
    return capture;
}

STDMETHODIMP CTeeInputPin::EndOfStream()
{
    // After the sample that may still be on its way out.
    CAutoLock l(&m_tee->m_receiveLock);
    return CFanOutInputPin::EndOfStream();
}

CBaseOutputPin* CTeeInputPin::FanOut(int index)
{
    return index == 0 ? static_cast<CBaseOutputPin*>(&m_tee->m_capture) : &m_tee->m_preview;
}

CTeeOutputPin::CTeeOutputPin(CSmartTee* tee, CCritSec* lock, HRESULT* phr, LPCWSTR name, bool preview)
    : CBaseOutputPin(NAME("Smart Tee output"), tee, lock, phr, name), m_tee(tee), m_preview(preview)
{
}

HRESULT CTeeOutputPin::CheckMediaType(const CMediaType* pmt)
{
    if (!m_tee->m_input.IsConnected())
        return VFW_E_NOT_CONNECTED;
    return *pmt == m_tee->m_input.CurrentMediaType() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CTeeOutputPin::GetMediaType(int i, CMediaType* pmt)
{
    if (i < 0)
        return E_INVALIDARG;
    if (!m_tee->m_input.IsConnected())
        return VFW_E_NOT_CONNECTED;
    if (i > 0)
        return VFW_S_NO_MORE_ITEMS;
    *pmt = m_tee->m_input.CurrentMediaType();
    return S_OK;
}

HRESULT CTeeOutputPin::DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req)
{
    ALLOCATOR_PROPERTIES want = *req, got = {};
    ALLOCATOR_PROPERTIES in = {};
    IMemAllocator* upstream = nullptr;
    LONG size = 0;
    if (SUCCEEDED(m_tee->m_input.GetAllocator(&upstream)) && upstream) {
        if (SUCCEEDED(upstream->GetProperties(&in)))
            size = in.cbBuffer;
        upstream->Release();
    }
    const CMediaType& mt = m_tee->m_input.CurrentMediaType();
    if (LONG(mt.GetSampleSize()) > size)
        size = LONG(mt.GetSampleSize());
    if (size <= 0)
        size = 144000;
    if (want.cbBuffer < size)
        want.cbBuffer = size;
    if (want.cBuffers < 4)
        want.cBuffers = 4;
    if (want.cbAlign < 1)
        want.cbAlign = 1;
    HRESULT hr = a->SetProperties(&want, &got);
    return FAILED(hr) ? hr : (got.cbBuffer < size ? E_FAIL : S_OK);
}

HRESULT CTeeOutputPin::Copy(IMediaSample* in)
{
    IMediaSample* out = nullptr;
    HRESULT hr = GetDeliveryBuffer(&out, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    BYTE *src = nullptr, *dst = nullptr;
    in->GetPointer(&src);
    out->GetPointer(&dst);
    LONG n = in->GetActualDataLength();
    if (n > out->GetSize())
        n = out->GetSize();
    memcpy(dst, src, n);
    out->SetActualDataLength(n);
    out->SetSyncPoint(in->IsSyncPoint() == S_OK);
    out->SetDiscontinuity(in->IsDiscontinuity() == S_OK);
    if (!m_preview) {
        REFERENCE_TIME s = 0, e = 0;
        HRESULT t = in->GetTime(&s, &e);
        if (t == S_OK)
            out->SetTime(&s, &e);
        else if (t == VFW_S_NO_STOP_TIME)
            out->SetTime(&s, nullptr);
        LONGLONG ms = 0, me = 0;
        if (in->GetMediaTime(&ms, &me) == S_OK)
            out->SetMediaTime(&ms, &me);
    }
    hr = Deliver(out);
    out->Release();
    return hr;
}

const AMOVIESETUP_MEDIATYPE kAnyType[] = {{&GUID_NULL, &GUID_NULL}};
const AMOVIESETUP_PIN kPins[] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kAnyType},
    {L"Capture", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kAnyType},
    {L"Preview", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kAnyType}};
const AMOVIESETUP_FILTER kSetup = {&CLSID_SmartTee, L"Smart Tee", MERIT_DO_NOT_USE, 3, kPins};

} // namespace

DSHOW_SERVED_CLASS(L"Smart Tee", &CLSID_SmartTee, CSmartTee::CreateInstance, &kSetup);
