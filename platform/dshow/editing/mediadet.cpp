// The media detector: what streams a file has, their media types, the video's frame rate
// and the length, as the layer's file source reads them (its output pins, in their order).
#include "classes.h"
#include "editing.h"
#include "editing_stubs.h"
#include "filesource.h"
#include "video_formats.h"
#include <vector>

namespace {

class CMediaDet : public CUnknown, public MediaDetBase {
public:
    CMediaDet(LPUNKNOWN pUnk, HRESULT* phr) : CUnknown(NAME("Media detector"), pUnk, phr) {}
    ~CMediaDet() override { Close(); }

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IMediaDet))
            return GetInterface(static_cast<IMediaDet*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

    HRESULT STDMETHODCALLTYPE put_Filename(BSTR name) override
    {
        Close();
        if (!name || !*name)
            return E_INVALIDARG;
        HRESULT hr = CreateServedObject(CLSID_MediaFileSource, IID_IBaseFilter, reinterpret_cast<void**>(&m_source));
        if (FAILED(hr))
            return hr;
        IFileSourceFilter* load = nullptr;
        hr = m_source->QueryInterface(IID_IFileSourceFilter, reinterpret_cast<void**>(&load));
        if (SUCCEEDED(hr)) {
            hr = load->Load(name, nullptr);
            load->Release();
        }
        IEnumPins* e = nullptr;
        if (SUCCEEDED(hr))
            hr = m_source->EnumPins(&e);
        if (FAILED(hr)) {
            Close();
            return hr;
        }
        IPin* p = nullptr;
        while (e->Next(1, &p, nullptr) == S_OK)
            m_pins.push_back(p);
        e->Release();
        m_name = SysAllocString(name);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Filename(BSTR* name) override
    {
        if (!name)
            return E_POINTER;
        *name = m_name ? SysAllocString(m_name) : nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_OutputStreams(LONG* count) override
    {
        if (!count)
            return E_POINTER;
        *count = LONG(m_pins.size());
        return m_source ? S_OK : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_CurrentStream(LONG* stream) override
    {
        if (!stream)
            return E_POINTER;
        *stream = m_current;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_CurrentStream(LONG stream) override
    {
        if (stream < 0 || stream >= LONG(m_pins.size()))
            return E_INVALIDARG;
        m_current = stream;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_StreamType(GUID* type) override
    {
        if (!type)
            return E_POINTER;
        CMediaType mt;
        HRESULT hr = CurrentType(&mt);
        if (SUCCEEDED(hr))
            *type = mt.majortype;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_StreamMediaType(AM_MEDIA_TYPE* type) override
    {
        if (!type)
            return E_POINTER;
        CMediaType mt;
        HRESULT hr = CurrentType(&mt);
        return SUCCEEDED(hr) ? CopyMediaType(type, &mt) : hr;
    }
    HRESULT STDMETHODCALLTYPE get_FrameRate(double* rate) override
    {
        if (!rate)
            return E_POINTER;
        *rate = 0;
        CMediaType mt;
        HRESULT hr = CurrentType(&mt);
        if (FAILED(hr))
            return hr;
        if (!IsEqualGUID(mt.majortype, MEDIATYPE_Video))
            return VFW_E_INVALIDMEDIATYPE;
        const REFERENCE_TIME perFrame = AvgTimePerFrame(&mt);
        if (perFrame > 0)
            *rate = double(UNITS) / double(perFrame);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_StreamLength(double* seconds) override
    {
        if (!seconds)
            return E_POINTER;
        *seconds = 0;
        if (m_current >= LONG(m_pins.size()))
            return E_INVALIDARG;
        IMediaSeeking* ms = nullptr;
        HRESULT hr = m_pins[m_current]->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&ms));
        if (FAILED(hr))
            return hr;
        LONGLONG d = 0;
        hr = ms->GetDuration(&d);
        ms->Release();
        *seconds = double(d) / double(UNITS);
        return hr;
    }

private:
    HRESULT CurrentType(CMediaType* mt)
    {
        if (m_current >= LONG(m_pins.size()))
            return E_INVALIDARG;
        IEnumMediaTypes* e = nullptr;
        HRESULT hr = m_pins[m_current]->EnumMediaTypes(&e);
        if (FAILED(hr))
            return hr;
        AM_MEDIA_TYPE* got = nullptr;
        hr = e->Next(1, &got, nullptr) == S_OK ? S_OK : VFW_E_NO_ACCEPTABLE_TYPES;
        e->Release();
        if (got) {
            *mt = *got;
            DeleteMediaType(got);
        }
        return hr;
    }
    void Close()
    {
        for (IPin* p : m_pins)
            p->Release();
        m_pins.clear();
        if (m_source)
            m_source->Release();
        m_source = nullptr;
        SysFreeString(m_name);
        m_name = nullptr;
        m_current = 0;
    }

    IBaseFilter* m_source = nullptr;
    std::vector<IPin*> m_pins;
    BSTR m_name = nullptr;
    LONG m_current = 0;
};

DSHOW_SERVED_CLASS(L"Media detector", &CLSID_MediaDet, CreateServed<CMediaDet>);

} // namespace
