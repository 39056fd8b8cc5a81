// Capture graph builder: builds the preview and capture branches of a capture graph from a
// source filter, puts a Smart Tee on the capture pin of a source without a preview pin,
// sets up the AVI multiplexer and file writer, and finds interfaces and pins by category.
#include "classes.h"
#include <cstring>
#include <new>
#include <vector>

namespace {

bool SameGuid(const GUID& a, const GUID& b) { return memcmp(&a, &b, sizeof a) == 0; }

std::vector<IPin*> PinsOf(IBaseFilter* f, PIN_DIRECTION dir)
{
    std::vector<IPin*> pins;
    IEnumPins* e = nullptr;
    if (!f || FAILED(f->EnumPins(&e)))
        return pins;
    IPin* p = nullptr;
    while (e->Next(1, &p, nullptr) == S_OK) {
        PIN_DIRECTION d;
        if (SUCCEEDED(p->QueryDirection(&d)) && d == dir)
            pins.push_back(p);
        else
            p->Release();
    }
    e->Release();
    return pins;
}

void ReleaseAll(std::vector<IPin*>& pins)
{
    for (IPin* p : pins)
        p->Release();
    pins.clear();
}

GUID CategoryOf(IPin* pin)
{
    GUID g = GUID_NULL;
    IKsPropertySet* ks = nullptr;
    if (SUCCEEDED(pin->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&ks)))) {
        DWORD got = 0;
        if (FAILED(ks->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &g, sizeof g, &got)))
            g = GUID_NULL;
        ks->Release();
    }
    return g;
}

IPin* PeerOf(IPin* pin)
{
    IPin* peer = nullptr;
    if (FAILED(pin->ConnectedTo(&peer)))
        peer = nullptr;
    return peer;
}

// The filter that owns a pin (referenced).
IBaseFilter* FilterOf(IPin* pin)
{
    PIN_INFO info = {};
    if (!pin || FAILED(pin->QueryPinInfo(&info)))
        return nullptr;
    return info.pFilter;
}

bool HasMajorType(IPin* pin, const GUID* type)
{
    if (!type || IsEqualGUID(*type, GUID_NULL))
        return true;
    AM_MEDIA_TYPE mt = {};
    if (SUCCEEDED(pin->ConnectionMediaType(&mt))) {
        bool ok = IsEqualGUID(mt.majortype, *type);
        FreeMediaType(mt);
        return ok;
    }
    IEnumMediaTypes* e = nullptr;
    bool found = false;
    if (SUCCEEDED(pin->EnumMediaTypes(&e))) {
        AM_MEDIA_TYPE* p = nullptr;
        while (!found && e->Next(1, &p, nullptr) == S_OK) {
            found = IsEqualGUID(p->majortype, *type);
            DeleteMediaType(p);
        }
        e->Release();
    }
    return found;
}

bool IsSmartTee(IBaseFilter* f)
{
    CLSID id = GUID_NULL;
    return f && SUCCEEDED(f->GetClassID(&id)) && IsEqualGUID(id, CLSID_SmartTee);
}

IPin* PinByName(IBaseFilter* f, LPCWSTR name)
{
    IPin* p = nullptr;
    return f && SUCCEEDED(f->FindPin(name, &p)) ? p : nullptr;
}

bool Connected(IPin* pin)
{
    IPin* peer = PeerOf(pin);
    if (peer)
        peer->Release();
    return peer != nullptr;
}

class CCaptureGraphBuilder : public CUnknown, public ICaptureGraphBuilder, public ICaptureGraphBuilder2 {
public:
    CCaptureGraphBuilder(LPUNKNOWN pUnk, HRESULT* phr) : CUnknown(NAME("Capture graph builder"), pUnk, phr) {}
    ~CCaptureGraphBuilder() override
    {
        if (m_graph)
            m_graph->Release();
    }
    static CUnknown* CALLBACK CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
    {
        CUnknown* p = new (std::nothrow) CCaptureGraphBuilder(pUnk, phr);
        if (!p && phr)
            *phr = E_OUTOFMEMORY;
        return p;
    }
    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_ICaptureGraphBuilder))
            return GetInterface(static_cast<ICaptureGraphBuilder*>(this), ppv);
        if (IsEqualIID(riid, IID_ICaptureGraphBuilder2))
            return GetInterface(static_cast<ICaptureGraphBuilder2*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

    STDMETHODIMP SetFiltergraph(IGraphBuilder* graph) override
    {
        if (!graph)
            return E_POINTER;
        if (m_graph)
            return E_UNEXPECTED;
        m_graph = graph;
        m_graph->AddRef();
        return S_OK;
    }
    STDMETHODIMP GetFiltergraph(IGraphBuilder** graph) override
    {
        if (!graph)
            return E_POINTER;
        *graph = nullptr;
        HRESULT hr = EnsureGraph();
        if (FAILED(hr))
            return hr;
        *graph = m_graph;
        m_graph->AddRef();
        return S_OK;
    }

    STDMETHODIMP SetOutputFileName(const GUID* type, LPCOLESTR file, IBaseFilter** ppf, IFileSinkFilter** ppSink) override
    {
        if (!type || !file || !ppf)
            return E_POINTER;
        *ppf = nullptr;
        if (ppSink)
            *ppSink = nullptr;
        if (!IsEqualGUID(*type, MEDIASUBTYPE_Avi))
            return E_NOTIMPL;
        HRESULT hr = EnsureGraph();
        if (FAILED(hr))
            return hr;
        IBaseFilter *mux = nullptr, *writer = nullptr;
        IFileSinkFilter* sink = nullptr;
        hr = CreateServedObject(CLSID_AviDest, IID_IBaseFilter, reinterpret_cast<void**>(&mux));
        if (SUCCEEDED(hr))
            hr = CreateServedObject(CLSID_FileWriter, IID_IBaseFilter, reinterpret_cast<void**>(&writer));
        if (SUCCEEDED(hr))
            hr = writer->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&sink));
        if (SUCCEEDED(hr))
            hr = sink->SetFileName(file, nullptr);
        bool muxAdded = false, writerAdded = false;
        if (SUCCEEDED(hr))
            muxAdded = SUCCEEDED(hr = m_graph->AddFilter(mux, L"AVI Mux"));
        if (SUCCEEDED(hr))
            writerAdded = SUCCEEDED(hr = m_graph->AddFilter(writer, L"File Writer"));
        if (SUCCEEDED(hr)) {
            std::vector<IPin*> out = PinsOf(mux, PINDIR_OUTPUT), in = PinsOf(writer, PINDIR_INPUT);
            hr = out.empty() || in.empty() ? E_FAIL : m_graph->ConnectDirect(out[0], in[0], nullptr);
            ReleaseAll(out);
            ReleaseAll(in);
        }
        if (FAILED(hr)) {
            if (writerAdded)
                m_graph->RemoveFilter(writer);
            if (muxAdded)
                m_graph->RemoveFilter(mux);
            if (sink)
                sink->Release();
            if (writer)
                writer->Release();
            if (mux)
                mux->Release();
            return hr;
        }
        writer->Release();
        *ppf = mux;
        if (ppSink)
            *ppSink = sink;
        else
            sink->Release();
        return S_OK;
    }

    STDMETHODIMP FindInterface(const GUID* category, IBaseFilter* pf, REFIID riid, void** ppint) override
    {
        return FindInterface(category, nullptr, pf, riid, ppint);
    }
    STDMETHODIMP FindInterface(const GUID* category, const GUID* type, IBaseFilter* pf, REFIID riid,
                               void** ppint) override
    {
        if (!pf || !ppint)
            return E_POINTER;
        *ppint = nullptr;
        const bool upOnly = category && IsEqualGUID(*category, LOOK_UPSTREAM_ONLY);
        const bool downOnly = category && IsEqualGUID(*category, LOOK_DOWNSTREAM_ONLY);
        const bool pinCategory = category && !upOnly && !downOnly;
        if (pinCategory) {
            // The pins of that category first: their formats and counters live there.
            std::vector<IPin*> pins = PinsOf(pf, PINDIR_OUTPUT);
            HRESULT hr = E_NOINTERFACE;
            for (IPin* p : pins)
                if (FAILED(hr) && SameGuid(CategoryOf(p), *category) && HasMajorType(p, type))
                    hr = p->QueryInterface(riid, ppint);
            ReleaseAll(pins);
            if (SUCCEEDED(hr))
                return hr;
        }
        if (!upOnly && !downOnly && SUCCEEDED(pf->QueryInterface(riid, ppint)))
            return S_OK;
        if (!category) {
            for (PIN_DIRECTION dir : {PINDIR_INPUT, PINDIR_OUTPUT}) {
                std::vector<IPin*> pins = PinsOf(pf, dir);
                HRESULT hr = E_NOINTERFACE;
                for (IPin* p : pins)
                    if (FAILED(hr))
                        hr = p->QueryInterface(riid, ppint);
                ReleaseAll(pins);
                if (SUCCEEDED(hr))
                    return hr;
            }
        }
        if (!downOnly && SUCCEEDED(Search(pf, PINDIR_INPUT, riid, ppint, 0)))
            return S_OK;
        if (!upOnly && SUCCEEDED(Search(pf, PINDIR_OUTPUT, riid, ppint, 0)))
            return S_OK;
        return E_NOINTERFACE;
    }

    STDMETHODIMP RenderStream(const GUID* category, IUnknown* source, IBaseFilter* compressor,
                              IBaseFilter* renderer) override
    {
        return RenderStream(category, nullptr, source, compressor, renderer);
    }
    STDMETHODIMP RenderStream(const GUID* category, const GUID* type, IUnknown* source, IBaseFilter* compressor,
                              IBaseFilter* renderer) override
    {
        if (!source)
            return E_POINTER;
        HRESULT hr = EnsureGraph();
        if (FAILED(hr))
            return hr;
        IBaseFilter* tee = nullptr;  // a Smart Tee put in by this call
        IPin* pin = nullptr;
        // A compressor whose input is already fed (the source's stream reaches it through
        // other filters) is continued from its output.
        bool fed = false;
        if (compressor && !category && !type) {
            std::vector<IPin*> in = FreePins(compressor, PINDIR_INPUT);
            fed = in.empty();
            ReleaseAll(in);
        }
        if (fed) {
            std::vector<IPin*> out = FreePins(compressor, PINDIR_OUTPUT);
            if (out.empty())
                return VFW_E_ALREADY_CONNECTED;
            pin = out[0];
            pin->AddRef();
            ReleaseAll(out);
            compressor = nullptr;
        } else {
            hr = StartPin(category, type, source, &pin, &tee);
            if (FAILED(hr))
                return hr;
        }
        if (compressor) {
            std::vector<IPin*> in = FreePins(compressor, PINDIR_INPUT);
            hr = in.empty() ? VFW_E_NO_ACCEPTABLE_TYPES : m_graph->Connect(pin, in[0]);
            ReleaseAll(in);
            pin->Release();
            pin = nullptr;
            if (SUCCEEDED(hr)) {
                std::vector<IPin*> out = FreePins(compressor, PINDIR_OUTPUT);
                if (out.empty())
                    hr = E_FAIL;
                else {
                    pin = out[0];
                    pin->AddRef();
                }
                ReleaseAll(out);
            }
        }
        if (SUCCEEDED(hr)) {
            if (renderer) {
                std::vector<IPin*> in = FreePins(renderer, PINDIR_INPUT);
                hr = in.empty() ? VFW_E_NO_ACCEPTABLE_TYPES : m_graph->Connect(pin, in[0]);
                ReleaseAll(in);
            } else {
                hr = m_graph->Render(pin);
            }
        }
        if (pin)
            pin->Release();
        if (FAILED(hr)) {
            if (tee)
                RemoveTee(tee);
        } else if (tee) {
            hr = VFW_S_NOPREVIEWPIN;  // the preview comes from the tee
        }
        if (tee)
            tee->Release();
        return hr;
    }

    STDMETHODIMP ControlStream(const GUID* category, IBaseFilter* filter, REFERENCE_TIME* start,
                               REFERENCE_TIME* stop, WORD startCookie, WORD stopCookie) override
    {
        return ControlStream(category, nullptr, filter, start, stop, startCookie, stopCookie);
    }
    STDMETHODIMP ControlStream(const GUID* category, const GUID* type, IBaseFilter* filter, REFERENCE_TIME* start,
                               REFERENCE_TIME* stop, WORD startCookie, WORD stopCookie) override
    {
        if (!m_graph)
            return E_UNEXPECTED;
        std::vector<IBaseFilter*> filters;
        if (filter) {
            filter->AddRef();
            filters.push_back(filter);
        } else {
            IEnumFilters* e = nullptr;
            if (SUCCEEDED(m_graph->EnumFilters(&e))) {
                IBaseFilter* f = nullptr;
                while (e->Next(1, &f, nullptr) == S_OK)
                    filters.push_back(f);
                e->Release();
            }
        }
        int controlled = 0;
        for (IBaseFilter* f : filters) {
            std::vector<IPin*> pins = PinsOf(f, PINDIR_OUTPUT);
            for (IPin* p : pins) {
                if (category && !SameGuid(CategoryOf(p), *category))
                    continue;
                if (!HasMajorType(p, type))
                    continue;
                IAMStreamControl* sc = nullptr;
                if (SUCCEEDED(p->QueryInterface(IID_IAMStreamControl, reinterpret_cast<void**>(&sc)))) {
                    sc->StartAt(start, startCookie);
                    sc->StopAt(stop, FALSE, stopCookie);
                    sc->Release();
                    ++controlled;
                }
            }
            ReleaseAll(pins);
            f->Release();
        }
        return controlled ? S_OK : E_FAIL;
    }

    STDMETHODIMP AllocCapFile(LPCOLESTR, DWORDLONG) override { return E_NOTIMPL; }
    STDMETHODIMP CopyCaptureFile(LPOLESTR, LPOLESTR, int, IAMCopyCaptureFileProgress*) override { return E_NOTIMPL; }

    STDMETHODIMP FindPin(IUnknown* source, PIN_DIRECTION dir, const GUID* category, const GUID* type,
                         BOOL unconnected, int num, IPin** ppPin) override
    {
        if (!source || !ppPin)
            return E_POINTER;
        *ppPin = nullptr;
        IPin* given = nullptr;
        if (SUCCEEDED(source->QueryInterface(IID_IPin, reinterpret_cast<void**>(&given)))) {
            PIN_DIRECTION d;
            if (num == 0 && SUCCEEDED(given->QueryDirection(&d)) && d == dir && Matches(given, category, type, unconnected)) {
                *ppPin = given;
                return S_OK;
            }
            given->Release();
            return E_FAIL;
        }
        IBaseFilter* f = nullptr;
        if (FAILED(source->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&f))))
            return E_NOINTERFACE;
        std::vector<IPin*> pins = PinsOf(f, dir);
        f->Release();
        for (IPin* p : pins)
            if (Matches(p, category, type, unconnected) && num-- == 0) {
                *ppPin = p;
                p->AddRef();
                break;
            }
        ReleaseAll(pins);
        return *ppPin ? S_OK : E_FAIL;
    }

private:
    HRESULT EnsureGraph()
    {
        if (m_graph)
            return S_OK;
        return CreateServedObject(CLSID_FilterGraph, IID_IGraphBuilder, reinterpret_cast<void**>(&m_graph));
    }

    static bool Matches(IPin* p, const GUID* category, const GUID* type, BOOL unconnected)
    {
        if (category && !SameGuid(CategoryOf(p), *category))
            return false;
        if (unconnected && Connected(p))
            return false;
        return HasMajorType(p, type);
    }

    static std::vector<IPin*> FreePins(IBaseFilter* f, PIN_DIRECTION dir)
    {
        std::vector<IPin*> pins = PinsOf(f, dir), free;
        for (IPin* p : pins) {
            if (Connected(p))
                p->Release();
            else
                free.push_back(p);
        }
        return free;
    }

    // The pin a stream starts from (referenced). For the preview of a source without a
    // preview pin, a Smart Tee is put on its capture pin (returned in *tee); the capture
    // of a source whose capture pin feeds a tee continues from the tee's capture output.
    HRESULT StartPin(const GUID* category, const GUID* type, IUnknown* source, IPin** out, IBaseFilter** tee)
    {
        *out = nullptr;
        *tee = nullptr;
        IPin* given = nullptr;
        if (SUCCEEDED(source->QueryInterface(IID_IPin, reinterpret_cast<void**>(&given)))) {
            if (Connected(given)) {
                given->Release();
                return VFW_E_ALREADY_CONNECTED;
            }
            *out = given;
            return S_OK;
        }
        IBaseFilter* f = nullptr;
        if (FAILED(source->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&f))))
            return E_NOINTERFACE;
        HRESULT hr = E_FAIL;
        const bool preview = category && IsEqualGUID(*category, PIN_CATEGORY_PREVIEW);
        const bool capture = category && IsEqualGUID(*category, PIN_CATEGORY_CAPTURE);
        if (SUCCEEDED(FindPin(f, PINDIR_OUTPUT, category, type, TRUE, 0, out))) {
            // A free pin of the category (or, without one, any free output).
            hr = S_OK;
            if (capture || preview) {
                // A capture pin already feeding a tee is served through the tee instead.
                IPin* viaTee = nullptr;
                if (capture && FromTee(f, type, L"Capture", &viaTee) == S_OK) {
                    (*out)->Release();
                    *out = viaTee;
                }
            }
        } else if (capture || preview) {
            IPin* viaTee = nullptr;
            hr = FromTee(f, type, capture ? L"Capture" : L"Preview", &viaTee);
            if (hr == S_OK)
                *out = viaTee;
            else if (preview)
                hr = InsertTee(f, type, out, tee);
            else
                hr = E_FAIL;
        }
        f->Release();
        return hr;
    }

    // The free output of that name on a Smart Tee fed by one of the source's capture pins.
    HRESULT FromTee(IBaseFilter* source, const GUID* type, LPCWSTR name, IPin** out)
    {
        *out = nullptr;
        std::vector<IPin*> pins = PinsOf(source, PINDIR_OUTPUT);
        for (IPin* p : pins) {
            if (*out || !SameGuid(CategoryOf(p), PIN_CATEGORY_CAPTURE) || !HasMajorType(p, type))
                continue;
            IPin* peer = PeerOf(p);
            if (!peer)
                continue;
            IBaseFilter* f = FilterOf(peer);
            peer->Release();
            if (IsSmartTee(f)) {
                IPin* t = PinByName(f, name);
                if (t && !Connected(t))
                    *out = t;
                else if (t)
                    t->Release();
            }
            if (f)
                f->Release();
        }
        ReleaseAll(pins);
        return *out ? S_OK : S_FALSE;
    }

    HRESULT InsertTee(IBaseFilter* source, const GUID* type, IPin** out, IBaseFilter** tee)
    {
        IPin* capturePin = nullptr;
        if (FAILED(FindPin(source, PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE, type, TRUE, 0, &capturePin)))
            return E_FAIL;
        IBaseFilter* t = nullptr;
        HRESULT hr = CreateServedObject(CLSID_SmartTee, IID_IBaseFilter, reinterpret_cast<void**>(&t));
        if (SUCCEEDED(hr))
            hr = m_graph->AddFilter(t, L"Smart Tee");
        if (SUCCEEDED(hr)) {
            IPin* in = PinByName(t, L"Input");
            hr = in ? m_graph->ConnectDirect(capturePin, in, nullptr) : E_FAIL;
            if (in)
                in->Release();
            if (FAILED(hr))
                m_graph->RemoveFilter(t);
        }
        capturePin->Release();
        if (FAILED(hr)) {
            if (t)
                t->Release();
            return hr;
        }
        *out = PinByName(t, L"Preview");
        *tee = t;
        return *out ? S_OK : E_FAIL;
    }

    void RemoveTee(IBaseFilter* tee)
    {
        for (PIN_DIRECTION dir : {PINDIR_INPUT, PINDIR_OUTPUT}) {
            std::vector<IPin*> pins = PinsOf(tee, dir);
            for (IPin* p : pins) {
                IPin* peer = PeerOf(p);
                if (peer) {
                    m_graph->Disconnect(peer);
                    peer->Release();
                }
                m_graph->Disconnect(p);
            }
            ReleaseAll(pins);
        }
        m_graph->RemoveFilter(tee);
    }

    // Breadth-first along the connections in one direction, the filters found asked for the
    // interface (then their pins).
    HRESULT Search(IBaseFilter* from, PIN_DIRECTION dir, REFIID riid, void** ppint, int depth)
    {
        if (depth > 32)
            return E_NOINTERFACE;
        std::vector<IPin*> pins = PinsOf(from, dir);
        std::vector<IBaseFilter*> next;
        HRESULT hr = E_NOINTERFACE;
        for (IPin* p : pins) {
            IPin* peer = PeerOf(p);
            if (!peer)
                continue;
            if (FAILED(hr))
                hr = peer->QueryInterface(riid, ppint);
            if (IBaseFilter* f = FilterOf(peer))
                next.push_back(f);
            peer->Release();
        }
        ReleaseAll(pins);
        for (IBaseFilter* f : next)
            if (FAILED(hr))
                hr = f->QueryInterface(riid, ppint);
        for (IBaseFilter* f : next) {
            if (FAILED(hr))
                hr = Search(f, dir, riid, ppint, depth + 1);
            f->Release();
        }
        return hr;
    }

    IGraphBuilder* m_graph = nullptr;
};

} // namespace

DSHOW_SERVED_CLASS(L"Capture Graph Builder", &CLSID_CaptureGraphBuilder, CCaptureGraphBuilder::CreateInstance);
DSHOW_SERVED_CLASS(L"Capture Graph Builder 2", &CLSID_CaptureGraphBuilder2, CCaptureGraphBuilder::CreateInstance);
