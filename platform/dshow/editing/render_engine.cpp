// The smart render engine: turns a timeline into the front end of a filter graph. Each
// group gets an output pin that delivers its source's stretch [media start, media stop)
// with times from 0: the source's own samples are copied as they are (no decoding, no
// re-encoding), video a whole frame at a time and PCM sound cut to the sample.
//
// The front end is the layer's file source (one per source file) and, per group, a range
// cutter on the file source's pin of the group's kind. A timeline with one source file
// per group is what a cut needs; the sources' first stretch on each track is played.
#include "classes.h"
#include "editing.h"
#include "editing_stubs.h"
#include "filesource.h"
#include "video_formats.h"
#include <map>
#include <string>
#include <vector>

namespace {

const CLSID CLSID_RangeCutter = {0x3b1e5f60, 0x71c2, 0x4a8e, {0x9d, 0x0b, 0x52, 0xe4, 0x16, 0xa7, 0x3c, 0x91}};

// Passes on what falls in [0, length) of the stream's time and drops the rest: pictures
// are counted (the length in whole frames, rounded), sound is cut inside a buffer to the
// sample.
class CRangeCutter : public CTransInPlaceFilter {
public:
    CRangeCutter(REFERENCE_TIME length, HRESULT* phr)
        : CTransInPlaceFilter(NAME("Range cutter"), nullptr, CLSID_RangeCutter, phr, true), m_length(length)
    {
    }

    HRESULT CheckInputType(const CMediaType* mt) override
    {
        if (IsEqualGUID(mt->majortype, MEDIATYPE_Video))
            return S_OK;
        if (IsEqualGUID(mt->majortype, MEDIATYPE_Audio) && IsEqualGUID(mt->formattype, FORMAT_WaveFormatEx) &&
            mt->cbFormat >= sizeof(WAVEFORMATEX) && mt->pbFormat) {
            const WAVEFORMATEX* wf = reinterpret_cast<const WAVEFORMATEX*>(mt->pbFormat);
            return wf->wFormatTag == WAVE_FORMAT_PCM && wf->nBlockAlign > 0 && wf->nSamplesPerSec > 0
                       ? S_OK
                       : VFW_E_TYPE_NOT_ACCEPTED;
        }
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT StartStreaming() override
    {
        m_next = 0;
        const CMediaType& mt = m_pInput->CurrentMediaType();
        const REFERENCE_TIME perFrame = AvgTimePerFrame(&mt);
        m_frames = perFrame > 0 ? (m_length + perFrame / 2) / perFrame : 0;
        m_audio = IsEqualGUID(mt.majortype, MEDIATYPE_Audio);
        if (m_audio) {
            const WAVEFORMATEX* wf = reinterpret_cast<const WAVEFORMATEX*>(mt.pbFormat);
            m_rate = wf->nSamplesPerSec;
            m_blockAlign = wf->nBlockAlign;
        }
        return S_OK;
    }
    HRESULT Transform(IMediaSample* s) override
    {
        REFERENCE_TIME start = 0, stop = 0;
        const bool timed = SUCCEEDED(s->GetTime(&start, &stop));
        if (!m_audio) {
            if (timed && start < 0)
                return S_FALSE;
            return m_next++ < m_frames ? S_OK : S_FALSE;
        }
        // Sound in sample frames: the buffer's first frame and how many it holds.
        const LONGLONG count = s->GetActualDataLength() / m_blockAlign;
        const LONGLONG first = timed ? llMulDiv(start, m_rate, UNITS, UNITS / 2) : m_next;
        m_next = first + count;
        const LONGLONG end = llMulDiv(m_length, m_rate, UNITS, UNITS / 2);
        const LONGLONG from = first < 0 ? 0 : first;
        const LONGLONG to = first + count > end ? end : first + count;
        if (to <= from)
            return S_FALSE;
        BYTE* data = nullptr;
        s->GetPointer(&data);
        if (from > first)
            memmove(data, data + (from - first) * m_blockAlign, size_t((to - from) * m_blockAlign));
        s->SetActualDataLength(LONG((to - from) * m_blockAlign));
        REFERENCE_TIME a = llMulDiv(from, UNITS, m_rate, 0), b = llMulDiv(to, UNITS, m_rate, 0);
        s->SetTime(&a, &b);
        return S_OK;
    }

private:
    const REFERENCE_TIME m_length;
    bool m_audio = false;
    LONGLONG m_rate = 1;
    LONG m_blockAlign = 1;
    LONGLONG m_next = 0;    // pictures passed, or the sound's next sample frame
    LONGLONG m_frames = 0;  // pictures to pass
};

IPin* PinOf(IBaseFilter* f, PIN_DIRECTION dir)
{
    IEnumPins* e = nullptr;
    if (FAILED(f->EnumPins(&e)))
        return nullptr;
    IPin* p = nullptr;
    while (e->Next(1, &p, nullptr) == S_OK) {
        PIN_DIRECTION d;
        if (SUCCEEDED(p->QueryDirection(&d)) && d == dir)
            break;
        p->Release();
        p = nullptr;
    }
    e->Release();
    return p;
}

bool PinIsConnected(IPin* p)
{
    IPin* peer = nullptr;
    if (FAILED(p->ConnectedTo(&peer)) || !peer)
        return false;
    peer->Release();
    return true;
}

// The first free output pin of the filter whose type has the given major type.
IPin* FreePinOfKind(IBaseFilter* f, const GUID& major)
{
    IEnumPins* e = nullptr;
    if (FAILED(f->EnumPins(&e)))
        return nullptr;
    IPin* found = nullptr;
    IPin* p = nullptr;
    while (!found && e->Next(1, &p, nullptr) == S_OK) {
        PIN_DIRECTION d;
        IEnumMediaTypes* types = nullptr;
        AM_MEDIA_TYPE* mt = nullptr;
        if (SUCCEEDED(p->QueryDirection(&d)) && d == PINDIR_OUTPUT && !PinIsConnected(p) &&
            SUCCEEDED(p->EnumMediaTypes(&types)) && types->Next(1, &mt, nullptr) == S_OK) {
            if (IsEqualGUID(mt->majortype, major)) {
                found = p;
                p->AddRef();
            }
            DeleteMediaType(mt);
        }
        if (types)
            types->Release();
        p->Release();
    }
    e->Release();
    return found;
}

class CSmartRenderEngine : public CUnknown, public RenderEngineBase {
public:
    CSmartRenderEngine(LPUNKNOWN pUnk, HRESULT* phr) : CUnknown(NAME("Smart render engine"), pUnk, phr) {}
    ~CSmartRenderEngine() override
    {
        ScrapIt();
        if (m_timeline)
            m_timeline->Release();
        if (m_graph)
            m_graph->Release();
    }

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IRenderEngine))
            return GetInterface(static_cast<IRenderEngine*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

    HRESULT STDMETHODCALLTYPE SetTimelineObject(IAMTimeline* timeline) override
    {
        if (m_timeline == timeline)
            return S_OK;
        ScrapIt();
        if (m_timeline)
            m_timeline->Release();
        m_timeline = timeline;
        if (m_timeline)
            m_timeline->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTimelineObject(IAMTimeline** timeline) override
    {
        if (!timeline)
            return E_POINTER;
        *timeline = m_timeline;
        if (m_timeline)
            m_timeline->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetFilterGraph(IGraphBuilder* graph) override
    {
        // The graph is given once, before a front end is built into it.
        if (m_graph)
            return E_UNEXPECTED;
        if (!graph)
            return E_POINTER;
        m_graph = graph;
        m_graph->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFilterGraph(IGraphBuilder** graph) override
    {
        if (!graph)
            return E_POINTER;
        *graph = m_graph;
        if (m_graph)
            m_graph->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetGroupOutputPin(LONG group, IPin** pin) override
    {
        if (!pin)
            return E_POINTER;
        *pin = nullptr;
        if (group < 0 || group >= LONG(m_groupPins.size()) || !m_groupPins[group])
            return E_INVALIDARG;
        *pin = m_groupPins[group];
        (*pin)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ConnectFrontEnd() override;
    HRESULT STDMETHODCALLTYPE ScrapIt() override
    {
        for (IPin* p : m_groupPins)
            if (p)
                p->Release();
        m_groupPins.clear();
        for (IBaseFilter* f : m_added) {
            if (m_graph)
                m_graph->RemoveFilter(f);
            f->Release();
        }
        m_added.clear();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVendorString(BSTR* vendor) override
    {
        if (!vendor)
            return E_POINTER;
        *vendor = SysAllocString(L"Quorvel");
        return S_OK;
    }

private:
    HRESULT AddToGraph(IBaseFilter* f, LPCWSTR name)
    {
        HRESULT hr = m_graph->AddFilter(f, name);
        if (FAILED(hr))
            return hr;
        f->AddRef();
        m_added.push_back(f);
        return S_OK;
    }
    HRESULT ConnectGroup(IAMTimelineObj* groupObj, std::map<std::wstring, IBaseFilter*>& files, IPin** out);

    IGraphBuilder* m_graph = nullptr;
    IAMTimeline* m_timeline = nullptr;
    std::vector<IBaseFilter*> m_added;
    std::vector<IPin*> m_groupPins;
};

HRESULT STDMETHODCALLTYPE CSmartRenderEngine::ConnectFrontEnd()
{
    if (!m_graph || !m_timeline)
        return E_UNEXPECTED;
    ScrapIt();
    LONG groups = 0;
    HRESULT hr = m_timeline->GetGroupCount(&groups);
    std::map<std::wstring, IBaseFilter*> files;  // no references of their own
    for (LONG i = 0; SUCCEEDED(hr) && i < groups; ++i) {
        IAMTimelineObj* group = nullptr;
        hr = m_timeline->GetGroup(&group, i);
        IPin* pin = nullptr;
        if (SUCCEEDED(hr)) {
            hr = ConnectGroup(group, files, &pin);
            group->Release();
        }
        m_groupPins.push_back(pin);
    }
    if (FAILED(hr))
        ScrapIt();
    return hr;
}

// The group's source (its first track's first source) through a range cutter.
HRESULT CSmartRenderEngine::ConnectGroup(IAMTimelineObj* groupObj, std::map<std::wstring, IBaseFilter*>& files,
                                         IPin** out)
{
    IAMTimelineGroup* group = nullptr;
    IAMTimelineComp* comp = nullptr;
    IAMTimelineObj* trackObj = nullptr;
    IAMTimelineTrack* track = nullptr;
    IAMTimelineObj* srcObj = nullptr;
    IAMTimelineSrc* src = nullptr;
    AM_MEDIA_TYPE mt = {};
    HRESULT hr = groupObj->QueryInterface(IID_IAMTimelineGroup, reinterpret_cast<void**>(&group));
    if (SUCCEEDED(hr))
        hr = group->GetMediaType(&mt);
    if (SUCCEEDED(hr))
        hr = groupObj->QueryInterface(IID_IAMTimelineComp, reinterpret_cast<void**>(&comp));
    if (SUCCEEDED(hr))
        hr = comp->GetVTrack(&trackObj, 0);
    if (SUCCEEDED(hr))
        hr = trackObj->QueryInterface(IID_IAMTimelineTrack, reinterpret_cast<void**>(&track));
    if (SUCCEEDED(hr))
        hr = track->GetNextSrcEx(nullptr, &srcObj);
    if (hr == S_FALSE)
        hr = E_INVALIDARG;  // a track without a source
    if (SUCCEEDED(hr))
        hr = srcObj->QueryInterface(IID_IAMTimelineSrc, reinterpret_cast<void**>(&src));
    BSTR name = nullptr;
    REFERENCE_TIME mediaStart = 0, mediaStop = 0;
    if (SUCCEEDED(hr))
        hr = src->GetMediaName(&name);
    if (SUCCEEDED(hr))
        hr = src->GetMediaTimes(&mediaStart, &mediaStop);
    if (SUCCEEDED(hr) && (!name || !*name || mediaStop <= mediaStart))
        hr = E_INVALIDARG;

    IBaseFilter* file = nullptr;
    if (SUCCEEDED(hr)) {
        auto known = files.find(name);
        if (known != files.end()) {
            file = known->second;
            file->AddRef();
        } else {
            IFileSourceFilter* load = nullptr;
            hr = CreateServedObject(CLSID_MediaFileSource, IID_IBaseFilter, reinterpret_cast<void**>(&file));
            if (SUCCEEDED(hr))
                hr = file->QueryInterface(IID_IFileSourceFilter, reinterpret_cast<void**>(&load));
            if (SUCCEEDED(hr)) {
                hr = load->Load(name, nullptr);
                load->Release();
            }
            if (SUCCEEDED(hr))
                hr = AddToGraph(file, name);
            if (SUCCEEDED(hr))
                files[name] = file;
        }
    }
    IPin* filePin = nullptr;
    if (SUCCEEDED(hr)) {
        filePin = FreePinOfKind(file, mt.majortype);
        if (!filePin)
            hr = VFW_E_NOT_FOUND;
    }
    if (SUCCEEDED(hr)) {
        // Every pin of the file source positions the whole file.
        IMediaSeeking* seek = nullptr;
        hr = filePin->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seek));
        if (SUCCEEDED(hr)) {
            hr = seek->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
            if (SUCCEEDED(hr))
                hr = seek->SetPositions(&mediaStart, AM_SEEKING_AbsolutePositioning, &mediaStop,
                                        AM_SEEKING_AbsolutePositioning);
            seek->Release();
        }
    }
    CRangeCutter* cutter = nullptr;
    if (SUCCEEDED(hr)) {
        cutter = new (std::nothrow) CRangeCutter(mediaStop - mediaStart, &hr);
        if (!cutter)
            hr = E_OUTOFMEMORY;
        else
            cutter->AddRef();
    }
    if (SUCCEEDED(hr))
        hr = AddToGraph(cutter, mt.majortype == MEDIATYPE_Video ? L"Video range" : L"Audio range");
    IPin* cutIn = nullptr;
    if (SUCCEEDED(hr)) {
        cutIn = PinOf(cutter, PINDIR_INPUT);
        hr = cutIn ? m_graph->ConnectDirect(filePin, cutIn, nullptr) : E_UNEXPECTED;
    }
    if (SUCCEEDED(hr)) {
        *out = PinOf(cutter, PINDIR_OUTPUT);
        if (!*out)
            hr = E_UNEXPECTED;
    }
    if (cutIn)
        cutIn->Release();
    if (cutter)
        cutter->Release();
    if (filePin)
        filePin->Release();
    if (file)
        file->Release();
    SysFreeString(name);
    FreeMediaType(mt);
    for (IUnknown* u : std::initializer_list<IUnknown*>{src, srcObj, track, trackObj, comp, group})
        if (u)
            u->Release();
    return hr;
}

DSHOW_SERVED_CLASS(L"Smart render engine", &CLSID_SmartRenderEngine, CreateServed<CSmartRenderEngine>);

} // namespace
