// Pins driven by hand around a filter under test, and a graph stand-in that records the
// events the filter raises. The filter is created by CLSID through its registered module.
#pragma once
#include "gtest_wine.h"
#include "streams.h"
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace harness {

// A graph that only takes events (IMediaEventSink); everything else is not implemented.
class EventGraph : public IFilterGraph, public IMediaEventSink {
public:
    struct Event {
        LONG code;
        LONG_PTR p1, p2;
    };
    std::vector<Event> events;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IFilterGraph))
            *ppv = static_cast<IFilterGraph*>(this);
        else if (IsEqualIID(riid, IID_IMediaEventSink))
            *ppv = static_cast<IMediaEventSink*>(this);
        else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP AddFilter(IBaseFilter*, LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveFilter(IBaseFilter*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFilters(IEnumFilters**) override { return E_NOTIMPL; }
    STDMETHODIMP FindFilterByName(LPCWSTR, IBaseFilter**) override { return E_NOTIMPL; }
    STDMETHODIMP ConnectDirect(IPin*, IPin*, const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP Reconnect(IPin*) override { return E_NOTIMPL; }
    STDMETHODIMP Disconnect(IPin*) override { return E_NOTIMPL; }
    STDMETHODIMP SetDefaultSyncSource() override { return E_NOTIMPL; }
    STDMETHODIMP Notify(LONG code, LONG_PTR p1, LONG_PTR p2) override
    {
        events.push_back({code, p1, p2});
        return S_OK;
    }
};

// A source whose output pin offers one media type and pushes samples on request.
class Source : public CBaseFilter {
public:
    class Pin : public CBaseOutputPin {
    public:
        Pin(Source* f, HRESULT* phr)
            : CBaseOutputPin(NAME("out"), f, &f->m_lock, phr, L"Out"), m_source(f)
        {
        }
        HRESULT CheckMediaType(const CMediaType* pmt) override
        {
            return *pmt == m_source->m_type ? S_OK : S_FALSE;
        }
        HRESULT GetMediaType(int i, CMediaType* pmt) override
        {
            if (i < 0)
                return E_INVALIDARG;
            if (i > 0)
                return VFW_S_NO_MORE_ITEMS;
            *pmt = m_source->m_type;
            return S_OK;
        }
        HRESULT DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req) override
        {
            ALLOCATOR_PROPERTIES want = *req, got;
            want.cBuffers = want.cBuffers > 2 ? want.cBuffers : 2;
            want.cbBuffer = m_source->m_bytes;
            return a->SetProperties(&want, &got);
        }
        Source* m_source;
    };

    Source(const CMediaType& type, long bytes)
        : CBaseFilter(NAME("source"), nullptr, &m_lock, GUID_NULL), m_type(type), m_bytes(bytes),
          m_pin(this, &m_hr)
    {
    }
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }

    // Fills a sample (fill gets its buffer and the byte count) and delivers it; fieldRows
    // 0 or 1 marks it as holding only that field's rows.
    HRESULT Push(const std::function<void(BYTE*, long)>& fill, const REFERENCE_TIME* start,
                 const REFERENCE_TIME* stop, const LONGLONG* mediaStart = nullptr,
                 long length = -1, int fieldRows = -1)
    {
        IMediaSample* s = nullptr;
        HRESULT hr = m_pin.GetDeliveryBuffer(&s, nullptr, nullptr, 0);
        if (FAILED(hr))
            return hr;
        BYTE* p;
        s->GetPointer(&p);
        const long n = length < 0 ? m_bytes : length;
        fill(p, n);
        s->SetActualDataLength(n);
        if (start) {
            REFERENCE_TIME a = *start, b = stop ? *stop : *start + 1;
            s->SetTime(&a, stop ? &b : nullptr);
        }
        if (mediaStart) {
            LONGLONG a = *mediaStart, b = *mediaStart + 1;
            s->SetMediaTime(&a, &b);
        }
        s->SetSyncPoint(TRUE);
        if (fieldRows >= 0)
            SetSampleFieldRows(s, fieldRows);
        hr = m_pin.Deliver(s);
        s->Release();
        return hr;
    }

    CCritSec m_lock;
    HRESULT m_hr = S_OK;
    CMediaType m_type;
    long m_bytes;
    Pin m_pin;
};

// A sink that keeps a copy of the first bytes of everything it receives.
class Sink : public CBaseFilter {
public:
    class Pin : public CBaseInputPin {
    public:
        Pin(Sink* f, HRESULT* phr) : CBaseInputPin(NAME("in"), f, &f->m_lock, phr, L"In"), m_sink(f) {}
        HRESULT CheckMediaType(const CMediaType*) override { return S_OK; }
        STDMETHODIMP Receive(IMediaSample* s) override
        {
            HRESULT hr = CBaseInputPin::Receive(s);
            if (hr != S_OK)
                return hr;
            BYTE* p;
            s->GetPointer(&p);
            const long n = s->GetActualDataLength();
            m_sink->received.emplace_back(p, p + n);
            REFERENCE_TIME start = -1, stop = -1;
            s->GetTime(&start, &stop);
            m_sink->starts.push_back(start);
            return S_OK;
        }
        Sink* m_sink;
    };
    Sink() : CBaseFilter(NAME("sink"), nullptr, &m_lock, GUID_NULL), m_pin(this, &m_hr) {}
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    CCritSec m_lock;
    HRESULT m_hr = S_OK;
    Pin m_pin;
    std::vector<std::vector<BYTE>> received;
    std::vector<int64_t> starts;   // start time of each, -1 when it had none
};

inline IPin* FindPin(IBaseFilter* f, const wchar_t* name)
{
    IPin* pin = nullptr;
    f->FindPin(reinterpret_cast<LPCWSTR>(name), &pin);
    return pin;
}

// source -> filter (created by CLSID) -> sink, with the event graph joined to the filter.
struct Chain {
    Source* source;
    Sink* sink = new Sink;
    IBaseFilter* filter = nullptr;
    EventGraph graph;
    HRESULT created;

    Chain(REFCLSID clsid, const CMediaType& type, long bytes) : source(new Source(type, bytes))
    {
        source->AddRef();
        sink->AddRef();
        created = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                   (void**)&filter);
        if (filter)
            filter->JoinFilterGraph(&graph, L"under test");
    }
    ~Chain()
    {
        if (filter) {
            source->Stop();
            filter->Stop();
            sink->Stop();
            Disconnect(source->GetPin(0));
            Disconnect(sink->GetPin(0));
            for (const wchar_t* n : {L"Input", L"Output"})
                if (IPin* p = FindPin(filter, n)) {
                    p->Disconnect();
                    p->Release();
                }
            filter->JoinFilterGraph(nullptr, nullptr);
            filter->Release();
        }
        source->Release();
        sink->Release();
    }
    static void Disconnect(CBasePin* p) { p->Disconnect(); }
    HRESULT Connect()
    {
        IPin* in = FindPin(filter, L"Input");
        IPin* out = FindPin(filter, L"Output");
        HRESULT hr = in && out ? S_OK : E_FAIL;
        if (SUCCEEDED(hr))
            hr = source->GetPin(0)->Connect(in, nullptr);
        if (SUCCEEDED(hr))
            hr = out->Connect(sink->GetPin(0), nullptr);
        if (in)
            in->Release();
        if (out)
            out->Release();
        return hr;
    }
    void Run()
    {
        sink->Run(0);
        filter->Run(0);
        source->Run(0);
    }
    template <class I> I* Query(REFIID iid)
    {
        I* p = nullptr;
        filter->QueryInterface(iid, (void**)&p);
        return p;
    }
};

inline CMediaType VideoType(LONG width, LONG height, const GUID& subtype = MEDIASUBTYPE_RGB32,
                            WORD bits = 32)
{
    CMediaType mt;
    mt.SetType(&MEDIATYPE_Video);
    mt.SetSubtype(&subtype);
    mt.SetFormatType(&FORMAT_VideoInfo);
    auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    memset(vih, 0, sizeof *vih);
    vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih->bmiHeader.biWidth = width;
    vih->bmiHeader.biHeight = height;
    vih->bmiHeader.biPlanes = 1;
    vih->bmiHeader.biBitCount = bits;
    vih->bmiHeader.biSizeImage = width * (height < 0 ? -height : height) * (bits / 8);
    mt.SetSampleSize(vih->bmiHeader.biSizeImage);
    return mt;
}

inline CMediaType AudioType(int channels, int bits, int rate)
{
    CMediaType mt;
    mt.SetType(&MEDIATYPE_Audio);
    mt.SetSubtype(&MEDIASUBTYPE_PCM);
    mt.SetFormatType(&FORMAT_WaveFormatEx);
    auto* wfx = reinterpret_cast<WAVEFORMATEX*>(mt.AllocFormatBuffer(sizeof(WAVEFORMATEX)));
    memset(wfx, 0, sizeof *wfx);
    wfx->wFormatTag = WAVE_FORMAT_PCM;
    wfx->nChannels = WORD(channels);
    wfx->nSamplesPerSec = rate;
    wfx->wBitsPerSample = WORD(bits);
    wfx->nBlockAlign = WORD(channels * bits / 8);
    wfx->nAvgBytesPerSec = rate * wfx->nBlockAlign;
    mt.SetSampleSize(wfx->nBlockAlign);
    return mt;
}

// A page site that counts the status changes a property page reports.
class PageSite : public IPropertyPageSite {
public:
    int dirtyReports = 0;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyPageSite)) {
            *ppv = static_cast<IPropertyPageSite*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP OnStatusChange(DWORD flags) override
    {
        dirtyReports += (flags & PROPPAGESTATUS_DIRTY) ? 1 : 0;
        return S_OK;
    }
    STDMETHODIMP GetLocaleID(LCID* lcid) override
    {
        *lcid = LOCALE_USER_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP GetPageContainer(IUnknown**) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }
};

// A property page of the filter, shown in a parent window of its own.
struct ShownPage {
    IPropertyPage* page = nullptr;
    PageSite site;
    HWND parent = nullptr;
    HRESULT hr;

    ShownPage(REFCLSID clsid, IUnknown* object)
    {
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                              (void**)&page);
        if (FAILED(hr))
            return;
        parent = CreateWindowExA(0, "STATIC", "page", WS_POPUP, 0, 0, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
        page->SetPageSite(&site);
        hr = page->SetObjects(1, &object);
        RECT r = {0, 0, 400, 300};
        if (SUCCEEDED(hr))
            hr = page->Activate(parent, &r, FALSE);
    }
    ~ShownPage()
    {
        if (page) {
            page->Deactivate();
            page->SetObjects(0, nullptr);
            page->SetPageSite(nullptr);
            page->Release();
        }
        if (parent)
            DestroyWindow(parent);
    }
    HWND Dialog() const { return FindWindowExA(parent, nullptr, nullptr, nullptr); }
    std::string Text(int id) const
    {
        char text[64] = {};
        GetDlgItemTextA(Dialog(), id, text, sizeof text);
        return text;
    }
    // What the user does: a control changes and tells its dialog.
    void Command(int id) const
    {
        SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     (LPARAM)GetDlgItem(Dialog(), id));
    }
};

// COM for the test's thread.
struct ComScope {
    ComScope() { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
    ~ComScope() { CoUninitialize(); }
};

} // namespace harness
