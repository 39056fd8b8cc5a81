#include "filtergraph.h"
#include "classes.h"
#include "registered_filters.h"
#include "../filters/filesource.h"
#include <algorithm>
#include <map>
#include <new>

DSHOW_SERVED_CLASS(L"Filter Graph", &CLSID_FilterGraph, CreateServed<CFilterGraph>);
DSHOW_SERVED_CLASS(L"Filter Graph No Thread", &CLSID_FilterGraphNoThread, CreateServed<CFilterGraph>);

namespace {

const int kMaxDepth = 5;

// The IBaseFilter of the filter owning a pin (referenced), or null.
IBaseFilter* OwnerOf(IPin* pin)
{
    PIN_INFO info;
    if (FAILED(pin->QueryPinInfo(&info)))
        return nullptr;
    return info.pFilter;
}

PIN_DIRECTION DirectionOf(IPin* pin)
{
    PIN_DIRECTION d = PINDIR_INPUT;
    pin->QueryDirection(&d);
    return d;
}

std::vector<IPin*> PinsOf(IBaseFilter* f, PIN_DIRECTION dir, bool freeOnly)
{
    std::vector<IPin*> pins;
    IEnumPins* e = nullptr;
    if (FAILED(f->EnumPins(&e)))
        return pins;
    IPin* p;
    while (e->Next(1, &p, nullptr) == S_OK) {
        IPin* peer = nullptr;
        bool connected = SUCCEEDED(p->ConnectedTo(&peer)) && peer;
        if (peer)
            peer->Release();
        if (DirectionOf(p) == dir && !(freeOnly && connected))
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

std::vector<std::pair<GUID, GUID>> TypesOf(IPin* pin)
{
    std::vector<std::pair<GUID, GUID>> types;
    IEnumMediaTypes* e = nullptr;
    if (FAILED(pin->EnumMediaTypes(&e)) || !e)
        return types;
    AM_MEDIA_TYPE* mt;
    while (e->Next(1, &mt, nullptr) == S_OK) {
        types.emplace_back(mt->majortype, mt->subtype);
        DeleteMediaType(mt);
    }
    e->Release();
    return types;
}

bool IsRenderer(IBaseFilter* f)
{
    IAMFilterMiscFlags* flags = nullptr;
    if (FAILED(f->QueryInterface(IID_IAMFilterMiscFlags, (void**)&flags)))
        return false;
    bool r = (flags->GetMiscFlags() & AM_FILTER_MISC_FLAGS_IS_RENDERER) != 0;
    flags->Release();
    return r;
}

class CEnumFilters : public IEnumFilters {
public:
    explicit CEnumFilters(std::vector<IBaseFilter*> filters, size_t pos = 0)
        : m_cRef(1), m_filters(std::move(filters)), m_pos(pos)
    {
        for (IBaseFilter* f : m_filters)
            f->AddRef();
    }
    virtual ~CEnumFilters()
    {
        for (IBaseFilter* f : m_filters)
            f->Release();
    }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumFilters)) {
            *ppv = static_cast<IEnumFilters*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_cRef); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = InterlockedDecrement(&m_cRef);
        if (!n)
            delete this;
        return n;
    }
    STDMETHODIMP Next(ULONG c, IBaseFilter** out, ULONG* fetched) override
    {
        if (!out || (c > 1 && !fetched))
            return E_POINTER;
        ULONG n = 0;
        while (n < c && m_pos < m_filters.size()) {
            out[n] = m_filters[m_pos++];
            out[n++]->AddRef();
        }
        if (fetched)
            *fetched = n;
        return n == c ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG c) override
    {
        m_pos = std::min(m_filters.size(), m_pos + c);
        return m_pos < m_filters.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        m_pos = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumFilters** pp) override
    {
        if (!pp)
            return E_POINTER;
        *pp = new (std::nothrow) CEnumFilters(m_filters, m_pos);
        return *pp ? S_OK : E_OUTOFMEMORY;
    }

private:
    LONG m_cRef;
    std::vector<IBaseFilter*> m_filters;
    size_t m_pos;
};

} // namespace

CFilterGraph::CFilterGraph(LPUNKNOWN pUnk, HRESULT* phr)
    : CUnknown(NAME("Filter graph"), pUnk), m_version(0), m_state(State_Stopped), m_clock(nullptr),
      m_clockChosen(false), m_tStart(0), m_pausedAt(0), m_timeFormat(TIME_FORMAT_MEDIA_TIME), m_rate(1.0),
      m_hEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)), m_notifyWindow(nullptr), m_notifyMessage(0),
      m_notifyInstance(0), m_notifyFlags(0), m_defaultComplete(true), m_renderersRunning(0), m_completes(0),
      m_completeEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)), m_completeSet(false)
{
    if ((!m_hEvent || !m_completeEvent) && phr)
        *phr = E_OUTOFMEMORY;
}

CFilterGraph::~CFilterGraph()
{
    StopLocked();
    // Filters are disconnected and leave the graph before they are released, so none of
    // them calls back into a graph that is going away.
    for (auto& e : m_filters) {
        std::vector<IPin*> pins = PinsOf(e.filter, PINDIR_INPUT, false);
        std::vector<IPin*> outs = PinsOf(e.filter, PINDIR_OUTPUT, false);
        pins.insert(pins.end(), outs.begin(), outs.end());
        for (IPin* p : pins)
            p->Disconnect();
        ReleaseAll(pins);
    }
    for (auto& e : m_filters) {
        e.filter->JoinFilterGraph(nullptr, nullptr);
        e.filter->Release();
    }
    m_filters.clear();
    if (m_clock)
        m_clock->Release();
    CloseHandle(m_hEvent);
    CloseHandle(m_completeEvent);
}


STDMETHODIMP CFilterGraph::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IFilterGraph) || IsEqualIID(riid, IID_IGraphBuilder) ||
        IsEqualIID(riid, IID_IFilterGraph2))
        return GetInterface(static_cast<IFilterGraph2*>(this), ppv);
    if (IsEqualIID(riid, IID_IMediaControl))
        return GetInterface(static_cast<IMediaControl*>(this), ppv);
    if (IsEqualIID(riid, IID_IMediaEvent) || IsEqualIID(riid, IID_IMediaEventEx))
        return GetInterface(static_cast<IMediaEventEx*>(this), ppv);
    if (IsEqualIID(riid, IID_IMediaEventSink))
        return GetInterface(static_cast<IMediaEventSink*>(this), ppv);
    if (IsEqualIID(riid, IID_IMediaSeeking))
        return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
    if (IsEqualIID(riid, IID_IMediaPosition))
        return GetInterface(static_cast<IMediaPosition*>(this), ppv);
    if (IsEqualIID(riid, IID_IMediaFilter) || IsEqualIID(riid, IID_IPersist))
        return GetInterface(static_cast<IMediaFilter*>(this), ppv);
    // The video window and picture interfaces are the renderer's own: the graph hands out
    // the first filter's that has them.
    if (IsEqualIID(riid, IID_IVideoWindow) || IsEqualIID(riid, IID_IBasicVideo) ||
        IsEqualIID(riid, IID_IBasicVideo2) || IsEqualIID(riid, IID_IBasicAudio)) {
        CAutoLock l(&m_lock);
        for (auto& e : m_filters)
            if (SUCCEEDED(e.filter->QueryInterface(riid, ppv)))
                return S_OK;
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CFilterGraph::GetTypeInfoCount(UINT* pctinfo)
{
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// Filters

bool CFilterGraph::Contains(IBaseFilter* f)
{
    for (auto& e : m_filters)
        if (e.filter == f)
            return true;
    return false;
}

std::u16string CFilterGraph::UniqueName(LPCWSTR wanted, bool* renamed)
{
    *renamed = false;
    std::u16string base = wanted && *wanted ? std::u16string(reinterpret_cast<const char16_t*>(wanted)) : u"Filter";
    if (base.size() > MAX_FILTER_NAME - 6)
        base.resize(MAX_FILTER_NAME - 6);
    auto taken = [&](const std::u16string& n) {
        for (auto& e : m_filters)
            if (e.name == n)
                return true;
        return false;
    };
    if (!taken(base))
        return base;
    *renamed = wanted && *wanted;
    for (int i = 1; i < 10000; ++i) {
        WCHAR suffix[8];
        wsprintfW(suffix, L" %04d", i);
        std::u16string n = base + reinterpret_cast<const char16_t*>(suffix);
        if (!taken(n))
            return n;
    }
    return base;
}

STDMETHODIMP CFilterGraph::AddFilter(IBaseFilter* pFilter, LPCWSTR pName)
{
    if (!pFilter)
        return E_POINTER;
    IBaseFilter* f = nullptr;
    if (FAILED(pFilter->QueryInterface(IID_IBaseFilter, (void**)&f)))
        return E_NOINTERFACE;
    CAutoLock l(&m_lock);
    if (Contains(f)) {
        f->Release();
        return VFW_E_DUPLICATE_NAME;
    }
    std::u16string wanted;
    if (pName) {
        wanted = reinterpret_cast<const char16_t*>(pName);
    } else {
        FILTER_INFO info;
        if (SUCCEEDED(f->QueryFilterInfo(&info))) {
            wanted = reinterpret_cast<const char16_t*>(info.achName);
            if (info.pGraph)
                info.pGraph->Release();
        }
    }
    bool renamed;
    std::u16string name = UniqueName(reinterpret_cast<LPCWSTR>(wanted.c_str()), &renamed);
    HRESULT hr = f->JoinFilterGraph(static_cast<IFilterGraph2*>(this), reinterpret_cast<LPCWSTR>(name.c_str()));
    if (FAILED(hr)) {
        f->Release();
        return hr;
    }
    f->SetSyncSource(m_clock);
    m_filters.push_back({f, name});
    ++m_version;
    return renamed ? VFW_S_DUPLICATE_NAME : S_OK;
}

STDMETHODIMP CFilterGraph::RemoveFilter(IBaseFilter* pFilter)
{
    if (!pFilter)
        return E_POINTER;
    CAutoLock l(&m_lock);
    for (size_t i = 0; i < m_filters.size(); ++i) {
        if (m_filters[i].filter != pFilter)
            continue;
        IBaseFilter* f = m_filters[i].filter;
        if (m_state != State_Stopped)
            f->Stop();
        std::vector<IPin*> pins = PinsOf(f, PINDIR_INPUT, false);
        std::vector<IPin*> outs = PinsOf(f, PINDIR_OUTPUT, false);
        pins.insert(pins.end(), outs.begin(), outs.end());
        for (IPin* p : pins) {
            IPin* peer = nullptr;
            if (SUCCEEDED(p->ConnectedTo(&peer)) && peer) {
                peer->Disconnect();
                p->Disconnect();
                peer->Release();
            }
        }
        ReleaseAll(pins);
        f->JoinFilterGraph(nullptr, nullptr);
        f->SetSyncSource(nullptr);
        m_filters.erase(m_filters.begin() + i);
        ++m_version;
        f->Release();
        return S_OK;
    }
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP CFilterGraph::EnumFilters(IEnumFilters** ppEnum)
{
    if (!ppEnum)
        return E_POINTER;
    CAutoLock l(&m_lock);
    std::vector<IBaseFilter*> list;
    // Latest first, as callers that look for "the" filter of a kind expect.
    for (auto it = m_filters.rbegin(); it != m_filters.rend(); ++it)
        list.push_back(it->filter);
    *ppEnum = new (std::nothrow) CEnumFilters(list);
    return *ppEnum ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CFilterGraph::FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter)
{
    if (!ppFilter || !pName)
        return E_POINTER;
    *ppFilter = nullptr;
    CAutoLock l(&m_lock);
    for (auto& e : m_filters) {
        if (e.name == reinterpret_cast<const char16_t*>(pName)) {
            *ppFilter = e.filter;
            e.filter->AddRef();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

// ---------------------------------------------------------------------------------------
// Connections

STDMETHODIMP CFilterGraph::ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt)
{
    if (!ppinOut || !ppinIn)
        return E_POINTER;
    CAutoLock l(&m_lock);
    IBaseFilter* a = OwnerOf(ppinOut);
    IBaseFilter* b = OwnerOf(ppinIn);
    bool inGraph = a && b && Contains(a) && Contains(b);
    if (a)
        a->Release();
    if (b)
        b->Release();
    if (!inGraph)
        return VFW_E_NOT_IN_GRAPH;
    if (DirectionOf(ppinOut) != PINDIR_OUTPUT || DirectionOf(ppinIn) != PINDIR_INPUT)
        return VFW_E_INVALID_DIRECTION;
    return ppinOut->Connect(ppinIn, pmt);
}

STDMETHODIMP CFilterGraph::Disconnect(IPin* ppin)
{
    if (!ppin)
        return E_POINTER;
    return ppin->Disconnect();
}

STDMETHODIMP CFilterGraph::Reconnect(IPin* ppin) { return ReconnectEx(ppin, nullptr); }

// Done at once: the graph is stopped whenever the filters ask for it here.
STDMETHODIMP CFilterGraph::ReconnectEx(IPin* ppin, const AM_MEDIA_TYPE* pmt)
{
    if (!ppin)
        return E_POINTER;
    CAutoLock l(&m_lock);
    if (m_state != State_Stopped)
        return VFW_E_NOT_STOPPED;
    IPin* peer = nullptr;
    if (FAILED(ppin->ConnectedTo(&peer)) || !peer)
        return VFW_E_NOT_CONNECTED;
    IPin* out = DirectionOf(ppin) == PINDIR_OUTPUT ? ppin : peer;
    IPin* in = out == ppin ? peer : ppin;
    CMediaType keep;
    if (!pmt) {
        AM_MEDIA_TYPE current;
        if (SUCCEEDED(out->ConnectionMediaType(&current))) {
            keep = current;
            FreeMediaType(current);
        }
    }
    out->Disconnect();
    in->Disconnect();
    HRESULT hr = out->Connect(in, pmt);
    if (FAILED(hr) && !pmt && keep.IsValid())
        hr = out->Connect(in, &keep);
    peer->Release();
    return hr;
}

HRESULT CFilterGraph::AddRegisteredFilter(const CLSID& clsid, const std::u16string& name, IBaseFilter** ppFilter)
{
    *ppFilter = nullptr;
    IBaseFilter* f = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&f);
    if (FAILED(hr))
        return hr;
    hr = AddFilter(f, reinterpret_cast<LPCWSTR>(name.c_str()));
    if (FAILED(hr)) {
        f->Release();
        return hr;
    }
    *ppFilter = f;
    return S_OK;
}

// Joins out to one free input pin of f; then, for a connection, one of f's outputs to in
// (through further filters when needed), or, for a render, f's outputs onwards.
HRESULT CFilterGraph::TryIntermediate(IPin* out, IBaseFilter* f, IPin* in, int depth)
{
    std::vector<IPin*> inputs = PinsOf(f, PINDIR_INPUT, true);
    HRESULT result = VFW_E_CANNOT_CONNECT;
    for (IPin* fin : inputs) {
        if (FAILED(out->Connect(fin, nullptr)))
            continue;
        std::vector<IPin*> outputs = PinsOf(f, PINDIR_OUTPUT, true);
        bool done = false;
        if (in) {
            for (IPin* fout : outputs)
                if (SUCCEEDED(ConnectVia(fout, in, depth + 1))) {
                    done = true;
                    break;
                }
        } else if (outputs.empty()) {
            done = true; // a renderer
        } else {
            for (IPin* fout : outputs)
                if (SUCCEEDED(RenderVia(fout, depth + 1)))
                    done = true;
        }
        ReleaseAll(outputs);
        if (done) {
            result = S_OK;
            break;
        }
        out->Disconnect();
        fin->Disconnect();
    }
    ReleaseAll(inputs);
    return result;
}

// From out to in (or, without in, to a renderer) through one more filter: those already in
// the graph first, so that a decoder put there by the caller is used, then registered
// filters by merit, each taken out again when it leads nowhere.
HRESULT CFilterGraph::ViaAnotherFilter(IPin* out, IPin* in, int depth)
{
    const HRESULT none = in ? VFW_E_CANNOT_CONNECT : VFW_E_CANNOT_RENDER;
    if (depth >= kMaxDepth)
        return none;
    IBaseFilter* self = OwnerOf(out);
    IBaseFilter* target = in ? OwnerOf(in) : nullptr;
    std::vector<IBaseFilter*> candidates;
    for (auto& e : m_filters)
        if (e.filter != self && e.filter != target)
            candidates.push_back(e.filter);
    HRESULT hr = none;
    for (IBaseFilter* f : candidates)
        if (SUCCEEDED(TryIntermediate(out, f, in, depth))) {
            hr = S_OK;
            break;
        }
    if (FAILED(hr)) {
        auto types = TypesOf(out);
        for (const auto& reg : RegisteredFiltersByMerit()) {
            if (!AcceptsAnyOf(reg, types))
                continue;
            IBaseFilter* f = nullptr;
            if (FAILED(AddRegisteredFilter(reg.clsid, reg.name, &f)))
                continue;
            if (SUCCEEDED(TryIntermediate(out, f, in, depth))) {
                f->Release();
                hr = S_OK;
                break;
            }
            RemoveFilter(f);
            f->Release();
        }
    }
    if (self)
        self->Release();
    if (target)
        target->Release();
    return hr;
}

HRESULT CFilterGraph::ConnectVia(IPin* out, IPin* in, int depth)
{
    if (SUCCEEDED(out->Connect(in, nullptr)))
        return S_OK;
    return ViaAnotherFilter(out, in, depth);
}

HRESULT CFilterGraph::RenderVia(IPin* out, int depth) { return ViaAnotherFilter(out, nullptr, depth); }

STDMETHODIMP CFilterGraph::Connect(IPin* ppinOut, IPin* ppinIn)
{
    if (!ppinOut || !ppinIn)
        return E_POINTER;
    CAutoLock l(&m_lock);
    if (DirectionOf(ppinOut) != PINDIR_OUTPUT || DirectionOf(ppinIn) != PINDIR_INPUT)
        return VFW_E_INVALID_DIRECTION;
    IPin* peer = nullptr;
    if ((SUCCEEDED(ppinOut->ConnectedTo(&peer)) && peer) || (SUCCEEDED(ppinIn->ConnectedTo(&peer)) && peer)) {
        peer->Release();
        return VFW_E_ALREADY_CONNECTED;
    }
    return ConnectVia(ppinOut, ppinIn, 0);
}

STDMETHODIMP CFilterGraph::Render(IPin* ppinOut)
{
    if (!ppinOut)
        return E_POINTER;
    CAutoLock l(&m_lock);
    if (DirectionOf(ppinOut) != PINDIR_OUTPUT)
        return VFW_E_INVALID_DIRECTION;
    IPin* peer = nullptr;
    if (SUCCEEDED(ppinOut->ConnectedTo(&peer)) && peer) {
        peer->Release();
        return VFW_E_ALREADY_CONNECTED;
    }
    return RenderVia(ppinOut, 0);
}

STDMETHODIMP CFilterGraph::RenderEx(IPin* pPinOut, DWORD, DWORD*) { return Render(pPinOut); }

STDMETHODIMP CFilterGraph::AddSourceFilter(LPCWSTR file, LPCWSTR filterName, IBaseFilter** ppFilter)
{
    if (!file || !ppFilter)
        return E_POINTER;
    *ppFilter = nullptr;
    if (GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES)
        return HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_FILE_NOT_FOUND);
    IBaseFilter* f = nullptr;
    HRESULT hr = CreateServedObject(CLSID_MediaFileSource, IID_IBaseFilter, (void**)&f);
    if (FAILED(hr))
        return VFW_E_CANNOT_LOAD_SOURCE_FILTER;
    IFileSourceFilter* fs = nullptr;
    hr = f->QueryInterface(IID_IFileSourceFilter, (void**)&fs);
    if (SUCCEEDED(hr)) {
        hr = fs->Load(file, nullptr);
        fs->Release();
    }
    if (SUCCEEDED(hr))
        hr = AddFilter(f, filterName ? filterName : file);
    if (FAILED(hr)) {
        f->Release();
        return hr;
    }
    *ppFilter = f;
    return S_OK;
}

STDMETHODIMP CFilterGraph::AddSourceFilterForMoniker(IMoniker* pMoniker, IBindCtx* pCtx, LPCWSTR name,
                                                    IBaseFilter** ppFilter)
{
    if (!pMoniker || !ppFilter)
        return E_POINTER;
    *ppFilter = nullptr;
    IBaseFilter* f = nullptr;
    HRESULT hr = pMoniker->BindToObject(pCtx, nullptr, IID_IBaseFilter, (void**)&f);
    if (FAILED(hr))
        return hr;
    hr = AddFilter(f, name);
    if (FAILED(hr)) {
        f->Release();
        return hr;
    }
    *ppFilter = f;
    return S_OK;
}

STDMETHODIMP CFilterGraph::RenderFile(LPCWSTR file, LPCWSTR)
{
    IBaseFilter* source = nullptr;
    HRESULT hr = AddSourceFilter(file, nullptr, &source);
    if (FAILED(hr))
        return hr;
    CAutoLock l(&m_lock);
    std::vector<IPin*> outs = PinsOf(source, PINDIR_OUTPUT, true);
    int rendered = 0, failed = 0;
    bool videoFailed = false, audioFailed = false;
    for (IPin* p : outs) {
        if (SUCCEEDED(RenderVia(p, 0))) {
            ++rendered;
            continue;
        }
        ++failed;
        for (const auto& t : TypesOf(p)) {
            videoFailed |= IsEqualGUID(t.first, MEDIATYPE_Video) != 0;
            audioFailed |= IsEqualGUID(t.first, MEDIATYPE_Audio) != 0;
        }
    }
    ReleaseAll(outs);
    if (rendered == 0) {
        RemoveFilter(source);
        source->Release();
        return VFW_E_CANNOT_RENDER;
    }
    source->Release();
    if (!failed)
        return S_OK;
    if (videoFailed && !audioFailed)
        return VFW_S_VIDEO_NOT_RENDERED;
    if (audioFailed && !videoFailed)
        return VFW_S_AUDIO_NOT_RENDERED;
    return VFW_S_PARTIAL_RENDER;
}

STDMETHODIMP CFilterGraph::RenderFile(BSTR strFilename) { return RenderFile(strFilename, nullptr); }

STDMETHODIMP CFilterGraph::AddSourceFilter(BSTR strFilename, IDispatch** ppUnk)
{
    if (!ppUnk)
        return E_POINTER;
    *ppUnk = nullptr;
    IBaseFilter* f = nullptr;
    HRESULT hr = AddSourceFilter(strFilename, nullptr, &f);
    if (SUCCEEDED(hr))
        f->Release();
    return FAILED(hr) ? hr : E_NOTIMPL;
}

// ---------------------------------------------------------------------------------------
// States

std::vector<IBaseFilter*> CFilterGraph::DownstreamFirst()
{
    std::map<IBaseFilter*, int> level;
    for (auto& e : m_filters)
        level[e.filter] = 0;
    // A filter sits one level above the highest filter it feeds.
    for (size_t pass = 0; pass < m_filters.size(); ++pass) {
        bool changed = false;
        for (auto& e : m_filters) {
            std::vector<IPin*> outs = PinsOf(e.filter, PINDIR_OUTPUT, false);
            for (IPin* p : outs) {
                IPin* peer = nullptr;
                if (SUCCEEDED(p->ConnectedTo(&peer)) && peer) {
                    IBaseFilter* down = OwnerOf(peer);
                    if (down && level.count(down) && level[down] + 1 > level[e.filter]) {
                        level[e.filter] = level[down] + 1;
                        changed = true;
                    }
                    if (down)
                        down->Release();
                    peer->Release();
                }
            }
            ReleaseAll(outs);
        }
        if (!changed)
            break;
    }
    std::vector<IBaseFilter*> order;
    for (auto& e : m_filters)
        order.push_back(e.filter);
    std::stable_sort(order.begin(), order.end(), [&](IBaseFilter* a, IBaseFilter* b) { return level[a] < level[b]; });
    return order;
}

HRESULT CFilterGraph::ChangeState(FILTER_STATE target, REFERENCE_TIME tStart)
{
    HRESULT result = S_OK;
    for (IBaseFilter* f : DownstreamFirst()) {
        HRESULT hr = target == State_Stopped ? f->Stop() : target == State_Paused ? f->Pause() : f->Run(tStart);
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}

int CFilterGraph::CountRenderers()
{
    int n = 0;
    for (auto& e : m_filters) {
        if (!IsRenderer(e.filter))
            continue;
        std::vector<IPin*> ins = PinsOf(e.filter, PINDIR_INPUT, false);
        bool connected = false;
        for (IPin* p : ins) {
            IPin* peer = nullptr;
            if (SUCCEEDED(p->ConnectedTo(&peer)) && peer) {
                connected = true;
                peer->Release();
            }
        }
        ReleaseAll(ins);
        n += connected;
    }
    return n;
}

HRESULT CFilterGraph::StopLocked()
{
    HRESULT hr = ChangeState(State_Stopped, 0);
    m_state = State_Stopped;
    m_pausedAt = 0;
    {
        CAutoLock e(&m_eventLock);
        m_completes = 0;
        ResetCompleteLocked();
    }
    return hr;
}

HRESULT CFilterGraph::PauseLocked()
{
    // A graph whose clock was never chosen gets the default one as it starts.
    if (m_state == State_Stopped && !m_clock && !m_clockChosen) {
        SetDefaultSyncSource();
        m_clockChosen = false;
    }
    if (m_state == State_Running && m_clock) {
        REFERENCE_TIME now;
        m_clock->GetTime(&now);
        m_pausedAt = now - m_tStart;
    }
    HRESULT hr = ChangeState(State_Paused, 0);
    if (FAILED(hr)) {
        StopLocked();
        return hr;
    }
    m_state = State_Paused;
    return hr;
}

HRESULT CFilterGraph::RunLocked()
{
    if (m_state == State_Running)
        return S_OK;
    if (m_state == State_Stopped) {
        HRESULT hr = PauseLocked();
        if (FAILED(hr))
            return hr;
    }
    {
        CAutoLock e(&m_eventLock);
        m_renderersRunning = CountRenderers();
    }
    REFERENCE_TIME now = 0;
    if (m_clock)
        m_clock->GetTime(&now);
    // A little ahead, so the first samples are not late already.
    m_tStart = m_clock ? now - m_pausedAt + 10 * 10000 : 0;
    HRESULT hr = ChangeState(State_Running, m_tStart);
    if (FAILED(hr)) {
        StopLocked();
        return hr;
    }
    m_state = State_Running;
    return S_OK;
}

STDMETHODIMP CFilterGraph::Run()
{
    CAutoLock l(&m_lock);
    return RunLocked();
}

STDMETHODIMP CFilterGraph::Run(REFERENCE_TIME) { return Run(); }

STDMETHODIMP CFilterGraph::Pause()
{
    CAutoLock l(&m_lock);
    if (m_state == State_Paused)
        return S_OK;
    HRESULT hr = PauseLocked();
    return FAILED(hr) ? hr : S_FALSE == hr ? S_FALSE : S_OK;
}

STDMETHODIMP CFilterGraph::Stop()
{
    CAutoLock l(&m_lock);
    return StopLocked();
}

STDMETHODIMP CFilterGraph::StopWhenReady()
{
    CAutoLock l(&m_lock);
    HRESULT hr = PauseLocked();
    if (FAILED(hr))
        return hr;
    OAFilterState fs;
    GetState(5000, &fs);
    return StopLocked();
}

STDMETHODIMP CFilterGraph::GetState(LONG msTimeout, OAFilterState* pfs)
{
    if (!pfs)
        return E_POINTER;
    FILTER_STATE s;
    HRESULT hr = GetState(DWORD(msTimeout), &s);
    *pfs = s;
    return hr;
}

// The graph's state once every filter has got there; VFW_S_STATE_INTERMEDIATE when one
// (a renderer waiting for its first sample) has not within the time given.
STDMETHODIMP CFilterGraph::GetState(DWORD timeout, FILTER_STATE* State)
{
    if (!State)
        return E_POINTER;
    std::vector<IBaseFilter*> filters;
    {
        CAutoLock l(&m_lock);
        *State = m_state;
        for (auto& e : m_filters) {
            e.filter->AddRef();
            filters.push_back(e.filter);
        }
    }
    // A paused live source (a camera) sends nothing until it runs: renderers are not
    // waited for, and the graph says it cannot cue.
    bool live = false;
    for (IBaseFilter* f : filters) {
        FILTER_STATE fs;
        live = live || (*State == State_Paused && f->GetState(0, &fs) == VFW_S_CANT_CUE);
    }
    const DWORD start = GetTickCount();
    HRESULT result = live ? VFW_S_CANT_CUE : S_OK;
    for (IBaseFilter* f : live ? std::vector<IBaseFilter*>() : filters) {
        DWORD spent = GetTickCount() - start;
        DWORD left = timeout == INFINITE ? INFINITE : (spent >= timeout ? 0 : timeout - spent);
        FILTER_STATE fs;
        HRESULT hr = f->GetState(left, &fs);
        if (hr == VFW_S_STATE_INTERMEDIATE || (FAILED(hr) && SUCCEEDED(result)))
            result = hr;
    }
    for (IBaseFilter* f : filters)
        f->Release();
    return result;
}

STDMETHODIMP CFilterGraph::GetClassID(CLSID* pClassID)
{
    if (!pClassID)
        return E_POINTER;
    *pClassID = CLSID_FilterGraph;
    return S_OK;
}

STDMETHODIMP CFilterGraph::SetSyncSource(IReferenceClock* pClock)
{
    CAutoLock l(&m_lock);
    if (m_state != State_Stopped)
        return VFW_E_NOT_STOPPED;
    if (pClock)
        pClock->AddRef();
    if (m_clock)
        m_clock->Release();
    m_clock = pClock;
    m_clockChosen = true;
    for (auto& e : m_filters)
        e.filter->SetSyncSource(m_clock);
    return S_OK;
}

STDMETHODIMP CFilterGraph::GetSyncSource(IReferenceClock** pClock)
{
    if (!pClock)
        return E_POINTER;
    CAutoLock l(&m_lock);
    *pClock = m_clock;
    if (m_clock)
        m_clock->AddRef();
    return S_OK;
}

STDMETHODIMP CFilterGraph::SetDefaultSyncSource()
{
    IReferenceClock* clock = nullptr;
    HRESULT hr = CreateServedObject(CLSID_SystemClock, IID_IReferenceClock, (void**)&clock);
    if (FAILED(hr))
        return hr;
    hr = SetSyncSource(clock);
    clock->Release();
    return hr;
}

// ---------------------------------------------------------------------------------------
// Events

void CFilterGraph::QueueEvent(LONG code, LONG_PTR p1, LONG_PTR p2)
{
    HWND window;
    UINT message;
    LONG_PTR instance;
    {
        CAutoLock e(&m_eventLock);
        m_events.push_back({code, p1, p2});
        SetEvent(m_hEvent);
        window = m_notifyFlags ? nullptr : m_notifyWindow;
        message = m_notifyMessage;
        instance = m_notifyInstance;
    }
    if (window)
        PostMessageW(window, message, 0, instance);
}

void CFilterGraph::SetComplete()
{
    CAutoLock e(&m_eventLock);
    m_completeSet = true;
    SetEvent(m_completeEvent);
}

void CFilterGraph::ResetCompleteLocked()
{
    if (m_completeSet) {
        m_completeSet = false;
        ResetEvent(m_completeEvent);
    }
}

STDMETHODIMP CFilterGraph::Notify(LONG code, LONG_PTR p1, LONG_PTR p2)
{
    if (code == EC_COMPLETE && m_defaultComplete) {
        bool all;
        {
            CAutoLock e(&m_eventLock);
            ++m_completes;
            all = m_completes >= (m_renderersRunning > 0 ? m_renderersRunning : 1);
        }
        if (all) {
            QueueEvent(EC_COMPLETE, S_OK, 0);
            SetComplete();
        }
        return S_OK;
    }
    if (code == EC_ERRORABORT || code == EC_USERABORT)
        SetComplete();
    QueueEvent(code, p1, p2);
    return S_OK;
}

STDMETHODIMP CFilterGraph::GetEventHandle(OAEVENT* hEvent)
{
    if (!hEvent)
        return E_POINTER;
    *hEvent = (OAEVENT)m_hEvent;
    return S_OK;
}

STDMETHODIMP CFilterGraph::GetEvent(LONG* code, LONG_PTR* p1, LONG_PTR* p2, LONG msTimeout)
{
    if (!code || !p1 || !p2)
        return E_POINTER;
    *code = 0;
    *p1 = *p2 = 0;
    WaitForSingleObject(m_hEvent, msTimeout < 0 ? INFINITE : DWORD(msTimeout));
    CAutoLock e(&m_eventLock);
    if (m_events.empty()) {
        // Set by the application to wake its reader, or drained meanwhile.
        ResetEvent(m_hEvent);
        return E_ABORT;
    }
    Event ev = m_events.front();
    m_events.pop_front();
    if (m_events.empty())
        ResetEvent(m_hEvent);
    *code = ev.code;
    *p1 = ev.p1;
    *p2 = ev.p2;
    return S_OK;
}

STDMETHODIMP CFilterGraph::WaitForCompletion(LONG msTimeout, LONG* pEvCode)
{
    if (!pEvCode)
        return E_POINTER;
    *pEvCode = 0;
    if (WaitForSingleObject(m_completeEvent, msTimeout < 0 ? INFINITE : DWORD(msTimeout)) != WAIT_OBJECT_0)
        return E_ABORT;
    *pEvCode = EC_COMPLETE;
    return S_OK;
}

STDMETHODIMP CFilterGraph::CancelDefaultHandling(LONG code)
{
    if (code != EC_COMPLETE)
        return S_FALSE;
    m_defaultComplete = false;
    return S_OK;
}

STDMETHODIMP CFilterGraph::RestoreDefaultHandling(LONG code)
{
    if (code != EC_COMPLETE)
        return S_FALSE;
    m_defaultComplete = true;
    return S_OK;
}

// No event of this layer carries allocated parameters: in particular the filters' own
// code 24 carries plain integers, which must never be freed as strings.
STDMETHODIMP CFilterGraph::FreeEventParams(LONG, LONG_PTR, LONG_PTR) { return S_OK; }

STDMETHODIMP CFilterGraph::SetNotifyWindow(OAHWND hwnd, LONG lMsg, LONG_PTR lInstanceData)
{
    CAutoLock e(&m_eventLock);
    m_notifyWindow = (HWND)hwnd;
    m_notifyMessage = lMsg;
    m_notifyInstance = lInstanceData;
    return S_OK;
}

STDMETHODIMP CFilterGraph::SetNotifyFlags(LONG flags)
{
    if (flags != 0 && flags != AM_MEDIAEVENT_NONOTIFY)
        return E_INVALIDARG;
    CAutoLock e(&m_eventLock);
    m_notifyFlags = flags;
    return S_OK;
}

STDMETHODIMP CFilterGraph::GetNotifyFlags(LONG* flags)
{
    if (!flags)
        return E_POINTER;
    *flags = m_notifyFlags;
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// Seeking: passed to the first renderer that can seek, which passes it upstream.

IMediaSeeking* CFilterGraph::SeekingTarget()
{
    CAutoLock l(&m_lock);
    IMediaSeeking* fallback = nullptr;
    for (IBaseFilter* f : DownstreamFirst()) {
        IMediaSeeking* ms = nullptr;
        if (FAILED(f->QueryInterface(IID_IMediaSeeking, (void**)&ms)))
            continue;
        DWORD caps = 0;
        if (SUCCEEDED(ms->GetCapabilities(&caps))) {
            if (fallback)
                fallback->Release();
            return ms;
        }
        if (!fallback)
            fallback = ms;
        else
            ms->Release();
    }
    return fallback;
}

#define WITH_TARGET(call)                                                                  \
    IMediaSeeking* ms = SeekingTarget();                                                   \
    if (!ms)                                                                               \
        return E_NOTIMPL;                                                                  \
    HRESULT hr = ms->call;                                                                 \
    ms->Release();                                                                         \
    return hr;

STDMETHODIMP CFilterGraph::GetCapabilities(DWORD* p) { WITH_TARGET(GetCapabilities(p)) }
STDMETHODIMP CFilterGraph::CheckCapabilities(DWORD* p) { WITH_TARGET(CheckCapabilities(p)) }
STDMETHODIMP CFilterGraph::IsFormatSupported(const GUID* p) { WITH_TARGET(IsFormatSupported(p)) }
STDMETHODIMP CFilterGraph::QueryPreferredFormat(GUID* p) { WITH_TARGET(QueryPreferredFormat(p)) }
STDMETHODIMP CFilterGraph::GetDuration(LONGLONG* p) { WITH_TARGET(GetDuration(p)) }
STDMETHODIMP CFilterGraph::GetStopPosition(LONGLONG* p) { WITH_TARGET(GetStopPosition(p)) }
STDMETHODIMP CFilterGraph::GetCurrentPosition(LONGLONG* p) { WITH_TARGET(GetCurrentPosition(p)) }
STDMETHODIMP CFilterGraph::GetPositions(LONGLONG* c, LONGLONG* s) { WITH_TARGET(GetPositions(c, s)) }
STDMETHODIMP CFilterGraph::GetAvailable(LONGLONG* e, LONGLONG* l) { WITH_TARGET(GetAvailable(e, l)) }
STDMETHODIMP CFilterGraph::GetPreroll(LONGLONG* p) { WITH_TARGET(GetPreroll(p)) }
STDMETHODIMP CFilterGraph::ConvertTimeFormat(LONGLONG* t, const GUID* tf, LONGLONG s, const GUID* sf)
{
    WITH_TARGET(ConvertTimeFormat(t, tf, s, sf))
}

STDMETHODIMP CFilterGraph::GetTimeFormat(GUID* pFormat)
{
    if (!pFormat)
        return E_POINTER;
    *pFormat = m_timeFormat;
    return S_OK;
}

STDMETHODIMP CFilterGraph::IsUsingTimeFormat(const GUID* pFormat)
{
    if (!pFormat)
        return E_POINTER;
    return IsEqualGUID(*pFormat, m_timeFormat) ? S_OK : S_FALSE;
}

STDMETHODIMP CFilterGraph::SetTimeFormat(const GUID* pFormat)
{
    if (!pFormat)
        return E_POINTER;
    IMediaSeeking* ms = SeekingTarget();
    if (!ms)
        return IsEqualGUID(*pFormat, TIME_FORMAT_MEDIA_TIME) ? S_OK : E_NOTIMPL;
    HRESULT hr = ms->SetTimeFormat(pFormat);
    ms->Release();
    if (SUCCEEDED(hr))
        m_timeFormat = *pFormat;
    return hr;
}

STDMETHODIMP CFilterGraph::SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags)
{
    CAutoLock l(&m_lock);
    IMediaSeeking* ms = SeekingTarget();
    if (!ms)
        return E_NOTIMPL;
    const bool moves = (dwCurrentFlags & AM_SEEKING_PositioningBitsMask) != AM_SEEKING_NoPositioning;
    const FILTER_STATE was = m_state;
    // A run is paused around the seek and then restarts at the new position.
    if (moves && was == State_Running)
        ChangeState(State_Paused, 0);
    HRESULT hr = ms->SetPositions(pCurrent, dwCurrentFlags, pStop, dwStopFlags);
    ms->Release();
    if (moves) {
        m_pausedAt = 0;
        {
            CAutoLock e(&m_eventLock);
            m_completes = 0;
            ResetCompleteLocked();
        }
        if (was == State_Running) {
            REFERENCE_TIME now = 0;
            if (m_clock)
                m_clock->GetTime(&now);
            m_tStart = m_clock ? now + 10 * 10000 : 0;
            ChangeState(State_Running, m_tStart);
        }
    }
    return hr;
}

STDMETHODIMP CFilterGraph::SetRate(double dRate)
{
    if (dRate <= 0)
        return E_INVALIDARG;
    IMediaSeeking* ms = SeekingTarget();
    HRESULT hr = ms ? ms->SetRate(dRate) : S_OK;
    if (ms)
        ms->Release();
    if (SUCCEEDED(hr))
        m_rate = dRate;
    return hr;
}

STDMETHODIMP CFilterGraph::GetRate(double* pdRate)
{
    if (!pdRate)
        return E_POINTER;
    *pdRate = m_rate;
    return S_OK;
}

// IMediaPosition works in seconds whatever time format the graph uses.
static HRESULT ToSeconds(IMediaSeeking* ms, LONGLONG value, REFTIME* out)
{
    LONGLONG t = value;
    if (ms->IsUsingTimeFormat(&TIME_FORMAT_MEDIA_TIME) != S_OK) {
        HRESULT hr = ms->ConvertTimeFormat(&t, &TIME_FORMAT_MEDIA_TIME, value, nullptr);
        if (FAILED(hr))
            return hr;
    }
    *out = double(t) / 1e7;
    return S_OK;
}

static HRESULT FromSeconds(IMediaSeeking* ms, REFTIME seconds, LONGLONG* out)
{
    LONGLONG t = LONGLONG(seconds * 1e7 + (seconds >= 0 ? 0.5 : -0.5));
    *out = t;
    if (ms->IsUsingTimeFormat(&TIME_FORMAT_MEDIA_TIME) == S_OK)
        return S_OK;
    return ms->ConvertTimeFormat(out, nullptr, t, &TIME_FORMAT_MEDIA_TIME);
}

HRESULT CFilterGraph::ReadSeconds(HRESULT (STDMETHODCALLTYPE IMediaSeeking::*read)(LONGLONG*), REFTIME* out)
{
    if (!out)
        return E_POINTER;
    IMediaSeeking* ms = SeekingTarget();
    if (!ms)
        return E_NOTIMPL;
    LONGLONG v;
    HRESULT hr = (ms->*read)(&v);
    if (SUCCEEDED(hr))
        hr = ToSeconds(ms, v, out);
    ms->Release();
    return hr;
}

HRESULT CFilterGraph::SeekSeconds(REFTIME seconds, bool stop)
{
    IMediaSeeking* ms = SeekingTarget();
    if (!ms)
        return E_NOTIMPL;
    LONGLONG v;
    HRESULT hr = FromSeconds(ms, seconds, &v);
    ms->Release();
    if (FAILED(hr))
        return hr;
    return stop ? SetPositions(nullptr, AM_SEEKING_NoPositioning, &v, AM_SEEKING_AbsolutePositioning)
                : SetPositions(&v, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
}

STDMETHODIMP CFilterGraph::get_Duration(REFTIME* plength) { return ReadSeconds(&IMediaSeeking::GetDuration, plength); }
STDMETHODIMP CFilterGraph::get_CurrentPosition(REFTIME* p) { return ReadSeconds(&IMediaSeeking::GetCurrentPosition, p); }
STDMETHODIMP CFilterGraph::get_StopTime(REFTIME* p) { return ReadSeconds(&IMediaSeeking::GetStopPosition, p); }
STDMETHODIMP CFilterGraph::put_CurrentPosition(REFTIME llTime) { return SeekSeconds(llTime, false); }
STDMETHODIMP CFilterGraph::put_StopTime(REFTIME llTime) { return SeekSeconds(llTime, true); }

STDMETHODIMP CFilterGraph::get_PrerollTime(REFTIME* pllTime)
{
    if (!pllTime)
        return E_POINTER;
    *pllTime = 0;
    return S_OK;
}

STDMETHODIMP CFilterGraph::CanSeekForward(LONG* p)
{
    if (!p)
        return E_POINTER;
    DWORD caps = AM_SEEKING_CanSeekForwards;
    *p = CheckCapabilities(&caps) == S_OK ? OATRUE : OAFALSE;
    return S_OK;
}

STDMETHODIMP CFilterGraph::CanSeekBackward(LONG* p)
{
    if (!p)
        return E_POINTER;
    DWORD caps = AM_SEEKING_CanSeekBackwards;
    *p = CheckCapabilities(&caps) == S_OK ? OATRUE : OAFALSE;
    return S_OK;
}
