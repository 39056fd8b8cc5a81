// The editing timeline: groups (one output stream each, with its media type and the
// format its sources are copied in), tracks inside a group's composition, and sources
// on a track naming a file and the stretch of it they play. Only what a cut needs is
// kept: a node knows its kind, its place on the timeline and its children.
#include "classes.h"
#include "editing.h"
#include "editing_stubs.h"
#include <string>
#include <vector>

namespace {

class CTimelineNode : public CUnknown,
                      public AMTimelineObjBase,
                      public AMTimelineGroupBase,
                      public AMTimelineCompBase,
                      public AMTimelineTrackBase,
                      public AMTimelineSrcBase {
public:
    explicit CTimelineNode(TIMELINE_MAJOR_TYPE type) : CUnknown(NAME("Timeline node"), nullptr), m_type(type) {}
    ~CTimelineNode() override
    {
        for (IAMTimelineObj* c : m_children)
            c->Release();
        FreeMediaType(m_type0);
        FreeMediaType(m_smart.MediaType);
    }

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IAMTimelineObj))
            return GetInterface(static_cast<IAMTimelineObj*>(this), ppv);
        const bool group = m_type == TIMELINE_MAJOR_TYPE_GROUP;
        if (group && IsEqualIID(riid, IID_IAMTimelineGroup))
            return GetInterface(static_cast<IAMTimelineGroup*>(this), ppv);
        if ((group || m_type == TIMELINE_MAJOR_TYPE_COMPOSITE) && IsEqualIID(riid, IID_IAMTimelineComp))
            return GetInterface(static_cast<IAMTimelineComp*>(this), ppv);
        if (m_type == TIMELINE_MAJOR_TYPE_TRACK && IsEqualIID(riid, IID_IAMTimelineTrack))
            return GetInterface(static_cast<IAMTimelineTrack*>(this), ppv);
        if (m_type == TIMELINE_MAJOR_TYPE_SOURCE && IsEqualIID(riid, IID_IAMTimelineSrc))
            return GetInterface(static_cast<IAMTimelineSrc*>(this), ppv);
        if (IsEqualIID(riid, IID_IUnknown))
            return GetInterface(static_cast<IUnknown*>(static_cast<IAMTimelineObj*>(this)), ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }

    // IAMTimelineObj
    HRESULT STDMETHODCALLTYPE GetStartStop(REFERENCE_TIME* start, REFERENCE_TIME* stop) override
    {
        if (!start || !stop)
            return E_POINTER;
        *start = m_start;
        *stop = m_stop;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetStartStop(REFERENCE_TIME start, REFERENCE_TIME stop) override
    {
        if (stop < start)
            return E_INVALIDARG;
        m_start = start;
        m_stop = stop;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTimelineType(TIMELINE_MAJOR_TYPE* type) override
    {
        if (!type)
            return E_POINTER;
        *type = m_type;
        return S_OK;
    }

    // IAMTimelineGroup
    HRESULT STDMETHODCALLTYPE SetTimeline(IAMTimeline* timeline) override
    {
        m_timeline = timeline;  // the timeline holds the group, not the other way round
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTimeline(IAMTimeline** timeline) override
    {
        if (!timeline)
            return E_POINTER;
        *timeline = m_timeline;
        if (m_timeline)
            m_timeline->AddRef();
        return m_timeline ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE GetMediaType(AM_MEDIA_TYPE* mt) override
    {
        if (!mt)
            return E_POINTER;
        return CopyMediaType(mt, &m_type0);
    }
    HRESULT STDMETHODCALLTYPE SetMediaType(AM_MEDIA_TYPE* mt) override
    {
        if (!mt)
            return E_POINTER;
        if (!IsEqualGUID(mt->majortype, MEDIATYPE_Video) && !IsEqualGUID(mt->majortype, MEDIATYPE_Audio))
            return E_INVALIDARG;
        FreeMediaType(m_type0);
        return CopyMediaType(&m_type0, mt);
    }
    // The format is a SCompFmt0: format id 0 and the media type sources are copied in.
    HRESULT STDMETHODCALLTYPE SetSmartRecompressFormat(LONG* format) override
    {
        if (!format)
            return E_POINTER;
        const SCompFmt0* f = reinterpret_cast<const SCompFmt0*>(format);
        if (f->nFormatId != 0)
            return E_INVALIDARG;
        FreeMediaType(m_smart.MediaType);
        HRESULT hr = CopyMediaType(&m_smart.MediaType, &f->MediaType);
        m_smartSet = SUCCEEDED(hr);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetSmartRecompressFormat(LONG** format) override
    {
        if (!format)
            return E_POINTER;
        *format = nullptr;
        if (!m_smartSet)
            return S_FALSE;
        SCompFmt0* f = static_cast<SCompFmt0*>(CoTaskMemAlloc(sizeof(SCompFmt0)));
        if (!f)
            return E_OUTOFMEMORY;
        f->nFormatId = 0;
        HRESULT hr = CopyMediaType(&f->MediaType, &m_smart.MediaType);
        if (FAILED(hr)) {
            CoTaskMemFree(f);
            return hr;
        }
        *format = reinterpret_cast<LONG*>(f);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsSmartRecompressFormatSet(BOOL* set) override
    {
        if (!set)
            return E_POINTER;
        *set = m_smartSet;
        return S_OK;
    }

    // IAMTimelineComp: tracks in priority order.
    HRESULT STDMETHODCALLTYPE VTrackInsBefore(IAMTimelineObj* track, LONG priority) override
    {
        if (!track)
            return E_POINTER;
        TIMELINE_MAJOR_TYPE type;
        if (FAILED(track->GetTimelineType(&type)) ||
            (type != TIMELINE_MAJOR_TYPE_TRACK && type != TIMELINE_MAJOR_TYPE_COMPOSITE))
            return E_INVALIDARG;
        return Insert(track, priority);
    }
    HRESULT STDMETHODCALLTYPE VTrackGetCount(LONG* count) override
    {
        if (!count)
            return E_POINTER;
        *count = LONG(m_children.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVTrack(IAMTimelineObj** track, LONG which) override
    {
        return Child(track, which);
    }

    // IAMTimelineTrack: sources in the order they were added.
    HRESULT STDMETHODCALLTYPE SrcAdd(IAMTimelineObj* source) override
    {
        if (!source)
            return E_POINTER;
        TIMELINE_MAJOR_TYPE type;
        if (FAILED(source->GetTimelineType(&type)) || type != TIMELINE_MAJOR_TYPE_SOURCE)
            return E_INVALIDARG;
        return Insert(source, -1);
    }
    HRESULT STDMETHODCALLTYPE GetSourcesCount(LONG* count) override { return VTrackGetCount(count); }
    HRESULT STDMETHODCALLTYPE GetNextSrcEx(IAMTimelineObj* last, IAMTimelineObj** next) override
    {
        if (!next)
            return E_POINTER;
        LONG i = 0;
        if (last) {
            while (i < LONG(m_children.size()) && m_children[i] != last)
                ++i;
            ++i;
        }
        return i < LONG(m_children.size()) ? Child(next, i) : (*next = nullptr, S_FALSE);
    }

    // IAMTimelineSrc
    HRESULT STDMETHODCALLTYPE GetMediaTimes(REFERENCE_TIME* start, REFERENCE_TIME* stop) override
    {
        if (!start || !stop)
            return E_POINTER;
        *start = m_mediaStart;
        *stop = m_mediaStop;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMediaTimes(REFERENCE_TIME start, REFERENCE_TIME stop) override
    {
        if (stop < start)
            return E_INVALIDARG;
        m_mediaStart = start;
        m_mediaStop = stop;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMediaName(BSTR* name) override
    {
        if (!name)
            return E_POINTER;
        *name = SysAllocString(m_name.c_str());
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE SetMediaName(BSTR name) override
    {
        m_name = name ? name : L"";
        return S_OK;
    }

private:
    HRESULT Insert(IAMTimelineObj* child, LONG before)
    {
        for (IAMTimelineObj* c : m_children)
            if (c == child)
                return E_INVALIDARG;
        child->AddRef();
        if (before < 0 || before >= LONG(m_children.size()))
            m_children.push_back(child);
        else
            m_children.insert(m_children.begin() + before, child);
        return S_OK;
    }
    HRESULT Child(IAMTimelineObj** out, LONG which)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (which < 0 || which >= LONG(m_children.size()))
            return E_INVALIDARG;
        *out = m_children[which];
        (*out)->AddRef();
        return S_OK;
    }

    const TIMELINE_MAJOR_TYPE m_type;
    REFERENCE_TIME m_start = 0, m_stop = 0;
    REFERENCE_TIME m_mediaStart = 0, m_mediaStop = 0;
    std::wstring m_name;
    AM_MEDIA_TYPE m_type0 = {};
    SCompFmt0 m_smart = {};
    BOOL m_smartSet = FALSE;
    IAMTimeline* m_timeline = nullptr;
    std::vector<IAMTimelineObj*> m_children;  // tracks of a group, sources of a track
};

class CTimeline : public CUnknown, public AMTimelineBase {
public:
    CTimeline(LPUNKNOWN pUnk, HRESULT* phr) : CUnknown(NAME("Timeline"), pUnk, phr) {}
    ~CTimeline() override { ClearAllGroups(); }

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IAMTimeline))
            return GetInterface(static_cast<IAMTimeline*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

    HRESULT STDMETHODCALLTYPE CreateEmptyNode(IAMTimelineObj** obj, TIMELINE_MAJOR_TYPE type) override
    {
        if (!obj)
            return E_POINTER;
        *obj = nullptr;
        if (type != TIMELINE_MAJOR_TYPE_GROUP && type != TIMELINE_MAJOR_TYPE_COMPOSITE &&
            type != TIMELINE_MAJOR_TYPE_TRACK && type != TIMELINE_MAJOR_TYPE_SOURCE)
            return E_NOTIMPL;  // transitions and effects are not kept
        CTimelineNode* node = new (std::nothrow) CTimelineNode(type);
        if (!node)
            return E_OUTOFMEMORY;
        return node->NonDelegatingQueryInterface(IID_IAMTimelineObj, reinterpret_cast<void**>(obj));
    }
    HRESULT STDMETHODCALLTYPE AddGroup(IAMTimelineObj* group) override
    {
        if (!group)
            return E_POINTER;
        IAMTimelineGroup* g = nullptr;
        if (FAILED(group->QueryInterface(IID_IAMTimelineGroup, reinterpret_cast<void**>(&g))))
            return E_INVALIDARG;
        for (IAMTimelineObj* o : m_groups)
            if (o == group) {
                g->Release();
                return E_INVALIDARG;
            }
        g->SetTimeline(this);
        g->Release();
        group->AddRef();
        m_groups.push_back(group);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetGroup(IAMTimelineObj** group, LONG index) override
    {
        if (!group)
            return E_POINTER;
        *group = nullptr;
        if (index < 0 || index >= LONG(m_groups.size()))
            return E_INVALIDARG;
        *group = m_groups[index];
        (*group)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetGroupCount(LONG* count) override
    {
        if (!count)
            return E_POINTER;
        *count = LONG(m_groups.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ClearAllGroups() override
    {
        for (IAMTimelineObj* o : m_groups) {
            IAMTimelineGroup* g = nullptr;
            if (SUCCEEDED(o->QueryInterface(IID_IAMTimelineGroup, reinterpret_cast<void**>(&g)))) {
                g->SetTimeline(nullptr);
                g->Release();
            }
            o->Release();
        }
        m_groups.clear();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetDefaultFPS(double fps) override
    {
        if (fps <= 0)
            return E_INVALIDARG;
        m_fps = fps;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDefaultFPS(double* fps) override
    {
        if (!fps)
            return E_POINTER;
        *fps = m_fps;
        return S_OK;
    }

private:
    std::vector<IAMTimelineObj*> m_groups;
    double m_fps = 15.0;
};

DSHOW_SERVED_CLASS(L"Timeline", &CLSID_AMTimeline, CreateServed<CTimeline>);

} // namespace
