#include "filesource.h"
#include "classes.h"
#include "video_formats.h"
extern "C" {
#include <libavformat/avformat.h>
}
#include <cstring>
#include <new>
#include <vector>

extern "C" char* CDECL wine_get_unix_file_name(LPCWSTR dos);

const CLSID CLSID_MediaFileSource = {0x8e2f6a31, 0x5c47, 0x4d0b, {0x9b, 0x1e, 0x3a, 0x6c, 0x1d, 0x74, 0xe5, 0x02}};

namespace {

class CMediaFileSource;

class CSourcePin : public CBaseOutputPin, public IMediaSeeking {
public:
    CSourcePin(CMediaFileSource* filter, CCritSec* lock, HRESULT* phr, LPCWSTR name, int stream,
               const CMediaType& mt, LONG bufferSize, LONG buffers);

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CheckMediaType(const CMediaType* pmt) override { return *pmt == m_type ? S_OK : S_FALSE; }
    HRESULT GetMediaType(int i, CMediaType* pmt) override
    {
        if (i < 0)
            return E_INVALIDARG;
        if (i > 0)
            return VFW_S_NO_MORE_ITEMS;
        *pmt = m_type;
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req) override
    {
        return RequestBuffers(a, req, m_buffers, m_bufferSize);
    }

    // IMediaSeeking: every pin seeks the whole file.
    STDMETHODIMP GetCapabilities(DWORD* p) override;
    STDMETHODIMP CheckCapabilities(DWORD* p) override;
    STDMETHODIMP IsFormatSupported(const GUID* f) override;
    STDMETHODIMP QueryPreferredFormat(GUID* f) override;
    STDMETHODIMP GetTimeFormat(GUID* f) override;
    STDMETHODIMP IsUsingTimeFormat(const GUID* f) override;
    STDMETHODIMP SetTimeFormat(const GUID* f) override;
    STDMETHODIMP GetDuration(LONGLONG* d) override;
    STDMETHODIMP GetStopPosition(LONGLONG* s) override;
    STDMETHODIMP GetCurrentPosition(LONGLONG* c) override;
    STDMETHODIMP ConvertTimeFormat(LONGLONG* t, const GUID* tf, LONGLONG s, const GUID* sf) override;
    STDMETHODIMP SetPositions(LONGLONG* c, DWORD cf, LONGLONG* s, DWORD sf) override;
    STDMETHODIMP GetPositions(LONGLONG* c, LONGLONG* s) override;
    STDMETHODIMP GetAvailable(LONGLONG* e, LONGLONG* l) override;
    STDMETHODIMP SetRate(double r) override;
    STDMETHODIMP GetRate(double* r) override;
    STDMETHODIMP GetPreroll(LONGLONG* p) override;

    int Stream() const { return m_stream; }
    CMediaType m_type;

private:
    CMediaFileSource* m_source;
    int m_stream;
    LONG m_bufferSize;
    LONG m_buffers;
};

class CMediaFileSource : public CBaseFilter, public IFileSourceFilter {
    friend class CSourcePin;

public:
    CMediaFileSource(LPUNKNOWN pUnk, HRESULT* phr)
        : CBaseFilter(NAME("Media file source"), pUnk, &m_lock, CLSID_MediaFileSource), m_fileName(nullptr)
    {
    }
    ~CMediaFileSource() override
    {
        StopPushing(false);
        EndPushThread();
        for (CSourcePin* p : m_pins)
            delete p;
        if (m_fmt)
            avformat_close_input(&m_fmt);
        av_packet_free(&m_keptPacket);
        if (m_fileName)
            CoTaskMemFree(m_fileName);
    }

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IFileSourceFilter))
            return GetInterface(static_cast<IFileSourceFilter*>(this), ppv);
        return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
    }

    int GetPinCount() override { return int(m_pins.size()); }
    CBasePin* GetPin(int n) override { return n >= 0 && n < int(m_pins.size()) ? m_pins[n] : nullptr; }

    STDMETHODIMP Load(LPCOLESTR pszFileName, const AM_MEDIA_TYPE*) override;
    STDMETHODIMP GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) override;

    STDMETHODIMP Stop() override
    {
        CAutoLock l(&m_lock);
        StopPushing(false);
        HRESULT hr = CBaseFilter::Stop();
        CAutoLock p(&m_posLock);
        m_start = m_current;
        return hr;
    }
    STDMETHODIMP Pause() override
    {
        CAutoLock l(&m_lock);
        const bool starting = m_State == State_Stopped;
        HRESULT hr = CBaseFilter::Pause();
        if (SUCCEEDED(hr) && starting)
            StartPushing();
        return hr;
    }

    // Seeking state, in frames of the video stream (or 100-ns units without video).
    HRESULT Seek(LONGLONG* pCurrent, DWORD currentFlags, LONGLONG* pStop, DWORD stopFlags);
    LONGLONG FramesToUnits(LONGLONG frames) const
    {
        return llMulDiv(frames, UNITS * m_fps.den, m_fps.num, m_fps.num / 2);
    }
    LONGLONG UnitsToFrames(LONGLONG units) const
    {
        return llMulDiv(units, m_fps.num, UNITS * m_fps.den, (UNITS * m_fps.den) / 2);
    }
    HRESULT Convert(LONGLONG* out, const GUID& to, LONGLONG value, const GUID& from) const;

    CCritSec m_posLock;
    GUID m_timeFormat = TIME_FORMAT_MEDIA_TIME;
    LONGLONG m_frames = 0;     // duration in frames (or 100-ns units)
    LONGLONG m_start = 0;      // first frame of the next push
    LONGLONG m_stop = 0;       // last frame to deliver (inclusive)
    LONGLONG m_current = 0;    // frame most recently handed downstream
    double m_rate = 1.0;
    AVRational m_fps = {1, 1};
    bool m_frameUnits = false; // false: positions are 100-ns units

private:
    static DWORD WINAPI PushThread(LPVOID self) { return static_cast<CMediaFileSource*>(self)->PushLoop(); }
    DWORD PushLoop();
    DWORD Push();
    void StartPushing();
    void StopPushing(bool flush);
    void EndPushThread();
    HRESULT DeliverPacket(CSourcePin* pin, const AVPacket* pkt, REFERENCE_TIME start, REFERENCE_TIME stop,
                          LONGLONG frame, bool discontinuity, bool preroll = false);

    CCritSec m_lock;
    AVFormatContext* m_fmt = nullptr;
    std::vector<CSourcePin*> m_pins;
    LPOLESTR m_fileName;
    // One push thread serves every push of the filter's life: a paused graph is positioned
    // once per field step, and a thread made per positioning cost far more than the push.
    // Its hand-offs use events of this process: they cost no round trip to the Wine server.
    HANDLE m_thread = nullptr;
    CLocalEvent m_go;          // auto-reset: start a push
    CLocalEvent m_idle;        // auto-reset: a push started has ended (taken by the stop that waits for it)
    bool m_pushing = false;    // a push was started and not yet stopped (under m_lock)
    volatile LONG m_quit = 0;  // the running push ends
    volatile LONG m_exit = 0;  // the thread ends
    int m_video = -1;
    // The packet of frame m_keptFrame when it was the only one read after a seek to that
    // frame (-1: none): the reader still stands where that seek and read would leave it.
    // Used by the push thread only.
    AVPacket* m_keptPacket = nullptr;
    LONGLONG m_keptFrame = -1;
    bool m_keyFramesOnly = true;  // every picture decodes alone (DV); else the ones from the
                                  // key frame before a start go first, marked as preroll
};

DSHOW_SERVED_CLASS(L"Media File Source", &CLSID_MediaFileSource, CreateServed<CMediaFileSource>);

// ---------------------------------------------------------------------------------------

CSourcePin::CSourcePin(CMediaFileSource* filter, CCritSec* lock, HRESULT* phr, LPCWSTR name, int stream,
                       const CMediaType& mt, LONG bufferSize, LONG buffers)
    : CBaseOutputPin(NAME("Media file source pin"), filter, lock, phr, name), m_type(mt), m_source(filter),
      m_stream(stream), m_bufferSize(bufferSize), m_buffers(buffers)
{
}

STDMETHODIMP CSourcePin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IMediaSeeking))
        return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
    return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
}

const DWORD kCaps = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
                    AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;

STDMETHODIMP CSourcePin::GetCapabilities(DWORD* p)
{
    if (!p)
        return E_POINTER;
    *p = kCaps;
    return S_OK;
}

STDMETHODIMP CSourcePin::CheckCapabilities(DWORD* p)
{
    if (!p)
        return E_POINTER;
    DWORD asked = *p;
    *p &= kCaps;
    return *p == asked ? S_OK : (*p ? S_FALSE : E_FAIL);
}

STDMETHODIMP CSourcePin::IsFormatSupported(const GUID* f)
{
    if (!f)
        return E_POINTER;
    if (IsEqualGUID(*f, TIME_FORMAT_MEDIA_TIME))
        return S_OK;
    return IsEqualGUID(*f, TIME_FORMAT_FRAME) && m_source->m_frameUnits ? S_OK : S_FALSE;
}

STDMETHODIMP CSourcePin::QueryPreferredFormat(GUID* f)
{
    if (!f)
        return E_POINTER;
    *f = TIME_FORMAT_MEDIA_TIME;
    return S_OK;
}

STDMETHODIMP CSourcePin::GetTimeFormat(GUID* f)
{
    if (!f)
        return E_POINTER;
    CAutoLock l(&m_source->m_posLock);
    *f = m_source->m_timeFormat;
    return S_OK;
}

STDMETHODIMP CSourcePin::IsUsingTimeFormat(const GUID* f)
{
    if (!f)
        return E_POINTER;
    CAutoLock l(&m_source->m_posLock);
    return IsEqualGUID(*f, m_source->m_timeFormat) ? S_OK : S_FALSE;
}

STDMETHODIMP CSourcePin::SetTimeFormat(const GUID* f)
{
    if (!f)
        return E_POINTER;
    if (IsFormatSupported(f) != S_OK)
        return E_INVALIDARG;
    CAutoLock l(&m_source->m_posLock);
    m_source->m_timeFormat = *f;
    return S_OK;
}

HRESULT CMediaFileSource::Convert(LONGLONG* out, const GUID& to, LONGLONG value, const GUID& from) const
{
    const bool toFrames = IsEqualGUID(to, TIME_FORMAT_FRAME);
    const bool fromFrames = IsEqualGUID(from, TIME_FORMAT_FRAME);
    if ((!toFrames && !IsEqualGUID(to, TIME_FORMAT_MEDIA_TIME)) ||
        (!fromFrames && !IsEqualGUID(from, TIME_FORMAT_MEDIA_TIME)) || ((toFrames || fromFrames) && !m_frameUnits))
        return E_INVALIDARG;
    if (toFrames == fromFrames)
        *out = value;
    else if (toFrames)
        *out = UnitsToFrames(value);
    else
        *out = FramesToUnits(value);
    return S_OK;
}

// Internal positions are frames when the file has video; the caller's format is converted.
static LONGLONG External(const CMediaFileSource* s, LONGLONG internal, bool stop)
{
    if (!s->m_frameUnits)
        return internal;
    if (IsEqualGUID(s->m_timeFormat, TIME_FORMAT_FRAME))
        return internal;
    // A stop in time is where the last frame to show ends.
    return s->FramesToUnits(stop ? internal + 1 : internal);
}

STDMETHODIMP CSourcePin::GetDuration(LONGLONG* d)
{
    if (!d)
        return E_POINTER;
    CAutoLock l(&m_source->m_posLock);
    *d = m_source->m_frameUnits && !IsEqualGUID(m_source->m_timeFormat, TIME_FORMAT_FRAME)
             ? m_source->FramesToUnits(m_source->m_frames)
             : m_source->m_frames;
    return S_OK;
}

STDMETHODIMP CSourcePin::GetStopPosition(LONGLONG* s)
{
    if (!s)
        return E_POINTER;
    CAutoLock l(&m_source->m_posLock);
    *s = External(m_source, m_source->m_stop, true);
    return S_OK;
}

STDMETHODIMP CSourcePin::GetCurrentPosition(LONGLONG* c)
{
    if (!c)
        return E_POINTER;
    CAutoLock l(&m_source->m_posLock);
    *c = External(m_source, m_source->m_current, false);
    return S_OK;
}

STDMETHODIMP CSourcePin::ConvertTimeFormat(LONGLONG* t, const GUID* tf, LONGLONG s, const GUID* sf)
{
    if (!t)
        return E_POINTER;
    CAutoLock l(&m_source->m_posLock);
    return m_source->Convert(t, tf ? *tf : m_source->m_timeFormat, s, sf ? *sf : m_source->m_timeFormat);
}

STDMETHODIMP CSourcePin::SetPositions(LONGLONG* c, DWORD cf, LONGLONG* s, DWORD sf)
{
    return m_source->Seek(c, cf, s, sf);
}

STDMETHODIMP CSourcePin::GetPositions(LONGLONG* c, LONGLONG* s)
{
    if (c)
        GetCurrentPosition(c);
    if (s)
        GetStopPosition(s);
    return S_OK;
}

STDMETHODIMP CSourcePin::GetAvailable(LONGLONG* e, LONGLONG* l)
{
    if (e)
        *e = 0;
    if (l)
        GetDuration(l);
    return S_OK;
}

STDMETHODIMP CSourcePin::SetRate(double r)
{
    if (r <= 0)
        return E_INVALIDARG;
    CAutoLock l(&m_source->m_posLock);
    m_source->m_rate = r;
    return S_OK;
}

STDMETHODIMP CSourcePin::GetRate(double* r)
{
    if (!r)
        return E_POINTER;
    CAutoLock l(&m_source->m_posLock);
    *r = m_source->m_rate;
    return S_OK;
}

STDMETHODIMP CSourcePin::GetPreroll(LONGLONG* p)
{
    if (!p)
        return E_POINTER;
    *p = 0;
    return S_OK;
}

// ---------------------------------------------------------------------------------------

STDMETHODIMP CMediaFileSource::Load(LPCOLESTR pszFileName, const AM_MEDIA_TYPE*)
{
    if (!pszFileName)
        return E_POINTER;
    CAutoLock l(&m_lock);
    if (m_fmt)
        return E_UNEXPECTED;
    char* unixName = wine_get_unix_file_name(pszFileName);
    if (!unixName)
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    std::string path(unixName);
    HeapFree(GetProcessHeap(), 0, unixName);
    if (avformat_open_input(&m_fmt, path.c_str(), nullptr, nullptr) < 0) {
        m_fmt = nullptr;
        return VFW_E_UNKNOWN_FILE_TYPE;
    }
    if (avformat_find_stream_info(m_fmt, nullptr) < 0) {
        avformat_close_input(&m_fmt);
        return VFW_E_INVALID_FILE_FORMAT;
    }
    HRESULT hr = S_OK;
    int audioPins = 0;
    for (unsigned i = 0; i < m_fmt->nb_streams; ++i) {
        AVStream* st = m_fmt->streams[i];
        AVCodecParameters* par = st->codecpar;
        const bool dv = par->codec_id == AV_CODEC_ID_DVVIDEO;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && m_video < 0 && (dv || par->codec_id == AV_CODEC_ID_MPEG4) &&
            par->width > 0 && par->height > 0) {
            AVRational fps = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
            if (fps.num <= 0 || fps.den <= 0)
                continue;
            m_fps = fps;
            m_video = int(i);
            m_keyFramesOnly = dv;
            REFERENCE_TIME perFrame = llMulDiv(UNITS, fps.den, fps.num, fps.num / 2);
            DWORD frameBytes = dv ? (par->height >= 576 ? 144000 : 120000) : DWORD(par->width * par->height * 2);
            CMediaType mt = dv ? MakeVideoType(MEDIASUBTYPE_dvsd, par->width, par->height, 24,
                                               MAKEFOURCC('d', 'v', 's', 'd'), perFrame, frameBytes)
                               : MakeVideoType(FourCCSubtype(kMpeg4FourCC), par->width, par->height, 24,
                                               kMpeg4FourCC, perFrame, 0);
            m_pins.insert(m_pins.begin(), new CSourcePin(this, &m_lock, &hr, dv ? L"DVVidOut0" : L"VidOut0", int(i),
                                                         mt, LONG(frameBytes), 4));
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->codec_id == AV_CODEC_ID_PCM_S16LE && audioPins < 10) {
            WCHAR name[16];
            wsprintfW(name, L"AudOut%02d", audioPins++);
            CMediaType mt = MakePcmType(par->sample_rate, par->ch_layout.nb_channels, 16);
            m_pins.push_back(new CSourcePin(this, &m_lock, &hr, name, int(i), mt, 64 * 1024, 8));
        }
    }
    if (m_pins.empty()) {
        avformat_close_input(&m_fmt);
        return VFW_E_UNSUPPORTED_STREAM;
    }
    CAutoLock p(&m_posLock);
    if (m_video >= 0) {
        AVStream* st = m_fmt->streams[m_video];
        m_frameUnits = true;
        m_frames = st->nb_frames > 0 ? st->nb_frames
                                     : av_rescale_q(m_fmt->duration, AVRational{1, AV_TIME_BASE}, av_inv_q(m_fps));
    } else {
        m_fps = AVRational{int(UNITS), 1}; // one "frame" per 100-ns unit
        m_frames = av_rescale_q(m_fmt->duration, AVRational{1, AV_TIME_BASE}, AVRational{1, int(UNITS)});
    }
    m_start = m_current = 0;
    m_stop = m_frames > 0 ? m_frames - 1 : 0;
    size_t n = (lstrlenW(pszFileName) + 1) * sizeof(WCHAR);
    m_fileName = static_cast<LPOLESTR>(CoTaskMemAlloc(n));
    if (m_fileName)
        memcpy(m_fileName, pszFileName, n);
    IncrementPinVersion();
    return S_OK;
}

STDMETHODIMP CMediaFileSource::GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt)
{
    if (!ppszFileName)
        return E_POINTER;
    *ppszFileName = nullptr;
    if (pmt)
        memset(pmt, 0, sizeof *pmt);
    if (!m_fileName)
        return S_OK;
    size_t n = (lstrlenW(m_fileName) + 1) * sizeof(WCHAR);
    *ppszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(n));
    if (!*ppszFileName)
        return E_OUTOFMEMORY;
    memcpy(*ppszFileName, m_fileName, n);
    return S_OK;
}

void CMediaFileSource::StartPushing()
{
    if (m_pushing || !m_fmt)
        return;
    if (!m_thread) {
        DWORD id;
        m_thread = CreateThread(nullptr, 0, PushThread, this, 0, &id);
        if (!m_thread)
            return;
    }
    m_quit = 0;
    m_pushing = true;
    m_go.Set();
}

DWORD CMediaFileSource::PushLoop()
{
    for (;;) {
        m_go.Wait();
        if (m_exit)
            return 0;
        Push();
        m_idle.Set();
    }
}

// Ends the push thread (no push runs any more).
void CMediaFileSource::EndPushThread()
{
    if (m_thread) {
        InterlockedExchange(&m_exit, 1);
        m_go.Set();
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    m_go.Reset();
    m_idle.Reset();
}

// Ends the push; with flush, downstream first lets go of what it holds (so a paused
// renderer waiting in Receive returns) and then starts clean.
void CMediaFileSource::StopPushing(bool flush)
{
    InterlockedExchange(&m_quit, 1);
    if (flush)
        for (CSourcePin* p : m_pins)
            if (p->IsConnected())
                p->DeliverBeginFlush();
    if (m_pushing) {
        m_idle.Wait();
        m_pushing = false;
    }
    if (flush)
        for (CSourcePin* p : m_pins)
            if (p->IsConnected())
                p->DeliverEndFlush();
}

HRESULT CMediaFileSource::Seek(LONGLONG* pCurrent, DWORD currentFlags, LONGLONG* pStop, DWORD stopFlags)
{
    const DWORD cpos = currentFlags & AM_SEEKING_PositioningBitsMask;
    const DWORD spos = stopFlags & AM_SEEKING_PositioningBitsMask;
    if ((cpos != AM_SEEKING_NoPositioning && !pCurrent) || (spos != AM_SEEKING_NoPositioning && !pStop))
        return E_POINTER;
    CAutoLock l(&m_lock);
    LONGLONG start, stop;
    {
        CAutoLock p(&m_posLock);
        const bool frames = IsEqualGUID(m_timeFormat, TIME_FORMAT_FRAME) || !m_frameUnits;
        auto toInternal = [&](LONGLONG v, bool isStop) {
            if (frames)
                return v;
            // A stop time ends the frame before the one that starts at or after it.
            if (!isStop)
                return UnitsToFrames(v);
            if (v <= 0)
                return LONGLONG(-1);
            LONGLONG k = UnitsToFrames(v);
            while (k >= 0 && FramesToUnits(k) >= v)
                --k;
            while (FramesToUnits(k + 1) < v)
                ++k;
            return k;
        };
        start = m_current;
        if (cpos == AM_SEEKING_AbsolutePositioning)
            start = toInternal(*pCurrent, false);
        else if (cpos == AM_SEEKING_RelativePositioning)
            start = m_current + toInternal(*pCurrent, false);
        stop = m_stop;
        if (spos == AM_SEEKING_AbsolutePositioning)
            stop = toInternal(*pStop, true);
        else if (spos == AM_SEEKING_RelativePositioning)
            stop = m_stop + toInternal(*pStop, true);
        if (start < 0)
            start = 0;
        if (m_frames > 0 && start > m_frames - 1)
            start = m_frames - 1;
        if (m_frames > 0 && stop > m_frames - 1)
            stop = m_frames - 1;
        m_stop = stop;
        if (cpos == AM_SEEKING_NoPositioning)
            return S_OK;
    }
    // Every positioning delivers again, even to the frame already shown.
    const bool active = m_State != State_Stopped;
    if (active)
        StopPushing(true);
    {
        CAutoLock p(&m_posLock);
        m_start = m_current = start;
    }
    if (active)
        StartPushing();
    if (currentFlags & AM_SEEKING_ReturnTime)
        *pCurrent = External(this, start, false);
    if ((stopFlags & AM_SEEKING_ReturnTime) && pStop)
        *pStop = External(this, stop, true);
    return S_OK;
}

HRESULT CMediaFileSource::DeliverPacket(CSourcePin* pin, const AVPacket* pkt, REFERENCE_TIME start,
                                        REFERENCE_TIME stop, LONGLONG frame, bool discontinuity, bool preroll)
{
    int offset = 0;
    while (offset < pkt->size || (pkt->size == 0 && offset == 0)) {
        IMediaSample* s = nullptr;
        HRESULT hr = pin->GetDeliveryBuffer(&s, nullptr, nullptr, 0);
        if (FAILED(hr))
            return hr;
        BYTE* data = nullptr;
        s->GetPointer(&data);
        int n = pkt->size - offset;
        if (n > s->GetSize())
            n = s->GetSize();
        memcpy(data, pkt->data + offset, n);
        s->SetActualDataLength(n);
        if (offset == 0) {
            s->SetTime(&start, &stop);
            if (frame >= 0) {
                LONGLONG mediaStop = frame + 1;
                s->SetMediaTime(&frame, &mediaStop);
            }
            s->SetSyncPoint(m_keyFramesOnly || (pkt->flags & AV_PKT_FLAG_KEY) != 0);
            s->SetDiscontinuity(discontinuity);
            s->SetPreroll(preroll);
        }
        hr = pin->Deliver(s);
        s->Release();
        if (hr != S_OK)
            return hr;
        offset += n;
        if (pkt->size == 0)
            break;
    }
    return S_OK;
}

DWORD CMediaFileSource::Push()
{
    LONGLONG first, last;
    double rate;
    {
        CAutoLock p(&m_posLock);
        first = m_start;
        last = m_stop;
        rate = m_rate;
    }
    const REFERENCE_TIME segmentStart = m_frameUnits ? FramesToUnits(first) : first;
    for (CSourcePin* p : m_pins)
        if (p->IsConnected())
            p->DeliverNewSegment(segmentStart, m_frameUnits ? FramesToUnits(last + 1) : last, rate);
    int seekStream = m_video >= 0 ? m_video : -1;
    int64_t target = seekStream >= 0 ? av_rescale_q(first, av_inv_q(m_fps), m_fmt->streams[seekStream]->time_base)
                                     : av_rescale_q(first, AVRational{1, int(UNITS)}, AVRational{1, AV_TIME_BASE});
    // A paused graph positioned again on the frame it was just given (a stepped play shows
    // each frame's two fields in turn) gets the same packet without a seek and a read of
    // the file: the reader already stands where they would leave it.
    AVPacket* pkt = av_packet_alloc();
    bool again = m_keptFrame >= 0 && m_keptFrame == first && pkt && av_packet_ref(pkt, m_keptPacket) == 0;
    m_keptFrame = -1;
    if (!again)
        av_seek_frame(m_fmt, seekStream, target, AVSEEK_FLAG_BACKWARD);
    bool discontinuity = true;
    bool ended = false;
    for (bool firstRead = true; !m_quit; firstRead = false) {
        if (!again && av_read_frame(m_fmt, pkt) < 0) {
            ended = true;
            break;
        }
        again = false;
        m_keptFrame = -1;
        CSourcePin* pin = nullptr;
        for (CSourcePin* p : m_pins)
            if (p->Stream() == pkt->stream_index)
                pin = p;
        AVStream* st = m_fmt->streams[pkt->stream_index];
        int64_t pts = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
        HRESULT hr = S_OK;
        if (pin && pts != AV_NOPTS_VALUE) {
            if (pkt->stream_index == m_video) {
                LONGLONG frame = av_rescale_q(pts, st->time_base, av_inv_q(m_fps));
                {
                    CAutoLock p(&m_posLock);
                    last = m_stop;
                }
                if (frame > last) {
                    ended = true;
                    av_packet_unref(pkt);
                    break;
                }
                if (frame < first && !m_keyFramesOnly && pin->IsConnected()) {
                    REFERENCE_TIME s = REFERENCE_TIME((FramesToUnits(frame) - segmentStart) / rate);
                    hr = DeliverPacket(pin, pkt, s, s + 1, frame, discontinuity, true);
                    discontinuity = false;
                } else if (frame >= first && pin->IsConnected()) {
                    REFERENCE_TIME s = REFERENCE_TIME((FramesToUnits(frame) - segmentStart) / rate);
                    REFERENCE_TIME e = REFERENCE_TIME((FramesToUnits(frame + 1) - segmentStart) / rate);
                    LONGLONG previous;
                    {
                        CAutoLock p(&m_posLock);
                        previous = m_current;
                        m_current = frame;
                    }
                    hr = DeliverPacket(pin, pkt, s, e, frame, discontinuity);
                    discontinuity = false;
                    if (firstRead && frame == first && (m_keptPacket || (m_keptPacket = av_packet_alloc()))) {
                        av_packet_unref(m_keptPacket);
                        if (av_packet_ref(m_keptPacket, pkt) == 0)
                            m_keptFrame = frame;
                    }
                    // A frame refused downstream (the graph stopping) was not handed on:
                    // the position stays on the one last taken, the one a paused graph shows.
                    if (FAILED(hr)) {
                        CAutoLock p(&m_posLock);
                        m_current = previous;
                    }
                }
            } else if (pin->IsConnected()) {
                REFERENCE_TIME t = av_rescale_q(pts, st->time_base, AVRational{1, int(UNITS)}) - segmentStart;
                REFERENCE_TIME d = av_rescale_q(pkt->duration, st->time_base, AVRational{1, int(UNITS)});
                REFERENCE_TIME limit = m_frameUnits ? FramesToUnits(last + 1) - segmentStart : MAX_TIME;
                if (t + d > 0 && t < limit) {
                    REFERENCE_TIME s = REFERENCE_TIME(t / rate), e = REFERENCE_TIME((t + d) / rate);
                    hr = DeliverPacket(pin, pkt, s, e, -1, false);
                }
            }
        }
        av_packet_unref(pkt);
        // S_FALSE is downstream asking for no more (a flush or a stop under way): a frame
        // sent after it could still be drawn by a renderer that is only starting to stop,
        // and the position would pass the frame the paused graph shows.
        if (hr != S_OK)
            break;
    }
    av_packet_free(&pkt);
    if (ended && !m_quit)
        for (CSourcePin* p : m_pins)
            if (p->IsConnected())
                p->DeliverEndOfStream();
    return 0;
}

} // namespace
