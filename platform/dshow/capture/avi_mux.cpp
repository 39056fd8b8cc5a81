// AVI multiplexer: streams in on "Input 01", "Input 02", ... (a new input appears when the
// last one is joined), one AVI byte stream out ("AVI Out") to a writer that takes it through
// IStream. FFmpeg's AVI writer does the file: OpenDML index, and the AVI 1.0 index unless
// IConfigAviMux turns it off. The recording's origin is the start time of the first sample
// to arrive, so a stream that begins late in stream time (the replay buffer's ring) still
// starts the file at zero.
#include "classes.h"
#include "avi_mux.h"
#include "video_formats.h"
extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
}
#include <memory>
#include <new>
#include <vector>

namespace {

const int kMaxInputs = 16;

class CAviMux;

class CMuxInputPin : public CBaseInputPin {
public:
    CMuxInputPin(CAviMux* mux, CCritSec* lock, HRESULT* phr, LPCWSTR name, int index);
    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT CompleteConnect(IPin* pReceivePin) override;
    STDMETHODIMP Receive(IMediaSample* pSample) override;
    STDMETHODIMP EndOfStream() override;

private:
    CAviMux* m_mux;
    int m_index;
};

class CMuxOutputPin : public CBaseOutputPin {
public:
    CMuxOutputPin(CBaseFilter* mux, CCritSec* lock, HRESULT* phr)
        : CBaseOutputPin(NAME("AVI mux output"), mux, lock, phr, L"AVI Out")
    {
    }
    HRESULT CheckMediaType(const CMediaType* pmt) override
    {
        return IsEqualGUID(pmt->majortype, MEDIATYPE_Stream) &&
                       (IsEqualGUID(pmt->subtype, MEDIASUBTYPE_Avi) || IsEqualGUID(pmt->subtype, GUID_NULL))
                   ? S_OK
                   : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT GetMediaType(int i, CMediaType* pmt) override
    {
        if (i < 0)
            return E_INVALIDARG;
        if (i > 0)
            return VFW_S_NO_MORE_ITEMS;
        pmt->InitMediaType();
        pmt->SetType(&MEDIATYPE_Stream);
        pmt->SetSubtype(&MEDIASUBTYPE_Avi);
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req) override
    {
        ALLOCATOR_PROPERTIES want = *req, got = {};
        want.cBuffers = want.cBuffers < 1 ? 1 : want.cBuffers;
        want.cbBuffer = want.cbBuffer < 65536 ? 65536 : want.cbBuffer;
        want.cbAlign = want.cbAlign < 1 ? 1 : want.cbAlign;
        return a->SetProperties(&want, &got);
    }
    // The writer's stream, referenced, or null.
    IStream* Stream()
    {
        IStream* s = nullptr;
        if (m_Connected)
            m_Connected->QueryInterface(IID_IStream, reinterpret_cast<void**>(&s));
        return s;
    }
};

struct MuxStream {
    AVStream* st = nullptr;
    bool video = false;
    int64_t unitTime = 1;           // 100-ns units per frame or per sample frame
    AVRational unit = {1, 1};       // the same as a time base
    int blockAlign = 1;
    bool keyFramesMarked = false;  // only the samples marked as sync points are key frames
    avi_mux::StreamClock clock;
};

class CAviMux : public CBaseFilter, public IConfigAviMux, public IConfigInterleaving, public IMediaSeeking {
    friend class CMuxInputPin;

public:
    CAviMux(LPUNKNOWN pUnk, HRESULT* phr)
        : CBaseFilter(NAME("AVI mux"), pUnk, &m_lock, CLSID_AviDest), m_output(this, &m_lock, phr)
    {
        AddInput(phr);
    }
    ~CAviMux() override
    {
        Finish();
        for (CMuxInputPin* p : m_inputs)
            delete p;
    }
    static CUnknown* CALLBACK CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
    {
        CUnknown* p = new (std::nothrow) CAviMux(pUnk, phr);
        if (!p && phr)
            *phr = E_OUTOFMEMORY;
        return p;
    }
    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IConfigAviMux))
            return GetInterface(static_cast<IConfigAviMux*>(this), ppv);
        if (IsEqualIID(riid, IID_IConfigInterleaving))
            return GetInterface(static_cast<IConfigInterleaving*>(this), ppv);
        if (IsEqualIID(riid, IID_IMediaSeeking))
            return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
        return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
    }

    int GetPinCount() override { return int(m_inputs.size()) + 1; }
    CBasePin* GetPin(int n) override
    {
        if (n >= 0 && n < int(m_inputs.size()))
            return m_inputs[n];
        return n == int(m_inputs.size()) ? &m_output : nullptr;
    }

    STDMETHODIMP Pause() override
    {
        CAutoLock l(&m_lock);
        if (m_State == State_Stopped) {
            HRESULT hr = Start();
            if (FAILED(hr))
                return hr;
        }
        return CBaseFilter::Pause();
    }
    STDMETHODIMP Stop() override
    {
        CAutoLock l(&m_lock);
        HRESULT hr = CBaseFilter::Stop();
        HRESULT done = Finish();
        return FAILED(hr) ? hr : done;
    }

    // IConfigAviMux
    STDMETHODIMP SetMasterStream(LONG stream) override
    {
        m_master = stream;
        return S_OK;
    }
    STDMETHODIMP GetMasterStream(LONG* stream) override
    {
        if (!stream)
            return E_POINTER;
        *stream = m_master;
        return S_OK;
    }
    STDMETHODIMP SetOutputCompatibilityIndex(BOOL old) override
    {
        CAutoLock l(&m_lock);
        if (!IsStopped())
            return VFW_E_NOT_STOPPED;
        m_compatIndex = old != FALSE;
        return S_OK;
    }
    STDMETHODIMP GetOutputCompatibilityIndex(BOOL* old) override
    {
        if (!old)
            return E_POINTER;
        *old = m_compatIndex;
        return S_OK;
    }

    // IConfigInterleaving: kept for callers; FFmpeg's writer interleaves by time.
    STDMETHODIMP put_Mode(InterleavingMode mode) override
    {
        if (mode < INTERLEAVE_NONE || mode > INTERLEAVE_NONE_BUFFERED)
            return E_INVALIDARG;
        m_mode = mode;
        return S_OK;
    }
    STDMETHODIMP get_Mode(InterleavingMode* mode) override
    {
        if (!mode)
            return E_POINTER;
        *mode = m_mode;
        return S_OK;
    }
    STDMETHODIMP put_Interleaving(const REFERENCE_TIME* leave, const REFERENCE_TIME* preroll) override
    {
        if (leave)
            m_interleave = *leave;
        if (preroll)
            m_preroll = *preroll;
        return S_OK;
    }
    STDMETHODIMP get_Interleaving(REFERENCE_TIME* leave, REFERENCE_TIME* preroll) override
    {
        if (!leave || !preroll)
            return E_POINTER;
        *leave = m_interleave;
        *preroll = m_preroll;
        return S_OK;
    }

    // IMediaSeeking: the position is the length written so far; nothing can be sought.
    STDMETHODIMP GetCapabilities(DWORD* caps) override
    {
        if (!caps)
            return E_POINTER;
        *caps = AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetDuration;
        return S_OK;
    }
    STDMETHODIMP CheckCapabilities(DWORD* caps) override
    {
        if (!caps)
            return E_POINTER;
        DWORD have = AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetDuration;
        DWORD asked = *caps;
        *caps &= have;
        return *caps == asked ? S_OK : (*caps ? S_FALSE : E_FAIL);
    }
    STDMETHODIMP IsFormatSupported(const GUID* f) override
    {
        if (!f)
            return E_POINTER;
        return IsEqualGUID(*f, TIME_FORMAT_MEDIA_TIME) ? S_OK : S_FALSE;
    }
    STDMETHODIMP QueryPreferredFormat(GUID* f) override
    {
        if (!f)
            return E_POINTER;
        *f = TIME_FORMAT_MEDIA_TIME;
        return S_OK;
    }
    STDMETHODIMP GetTimeFormat(GUID* f) override { return QueryPreferredFormat(f); }
    STDMETHODIMP IsUsingTimeFormat(const GUID* f) override { return IsFormatSupported(f); }
    STDMETHODIMP SetTimeFormat(const GUID* f) override
    {
        if (!f)
            return E_POINTER;
        return IsEqualGUID(*f, TIME_FORMAT_MEDIA_TIME) ? S_OK : E_INVALIDARG;
    }
    STDMETHODIMP GetDuration(LONGLONG* d) override { return GetCurrentPosition(d); }
    STDMETHODIMP GetStopPosition(LONGLONG* s) override { return GetCurrentPosition(s); }
    STDMETHODIMP GetCurrentPosition(LONGLONG* c) override
    {
        if (!c)
            return E_POINTER;
        CAutoLock l(&m_writeLock);
        *c = m_written;
        return S_OK;
    }
    STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                   const GUID* sourceFormat) override
    {
        if (!target)
            return E_POINTER;
        if ((targetFormat && !IsEqualGUID(*targetFormat, TIME_FORMAT_MEDIA_TIME)) ||
            (sourceFormat && !IsEqualGUID(*sourceFormat, TIME_FORMAT_MEDIA_TIME)))
            return E_INVALIDARG;
        *target = source;
        return S_OK;
    }
    // Positions are the sources': they are handed up every joined stream (a file being
    // re-encoded is written from where its source is positioned).
    STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) override
    {
        CAutoLock l(&m_lock);
        HRESULT result = E_NOTIMPL;
        for (CMuxInputPin* in : m_inputs) {
            IPin* peer = in->GetConnected();
            IMediaSeeking* ms = nullptr;
            if (!peer || FAILED(peer->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&ms))) || !ms)
                continue;
            LONGLONG c = current ? *current : 0, s = stop ? *stop : 0;
            HRESULT hr = ms->SetPositions(current ? &c : nullptr, currentFlags, stop ? &s : nullptr, stopFlags);
            ms->Release();
            if (SUCCEEDED(hr) && FAILED(result))
                result = hr;
        }
        return result;
    }
    STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override
    {
        HRESULT hr = S_OK;
        if (current)
            hr = GetCurrentPosition(current);
        if (stop && SUCCEEDED(hr))
            hr = GetCurrentPosition(stop);
        return hr;
    }
    STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override
    {
        if (earliest)
            *earliest = 0;
        return latest ? GetCurrentPosition(latest) : S_OK;
    }
    STDMETHODIMP SetRate(double rate) override { return rate == 1.0 ? S_OK : E_NOTIMPL; }
    STDMETHODIMP GetRate(double* rate) override
    {
        if (!rate)
            return E_POINTER;
        *rate = 1.0;
        return S_OK;
    }
    STDMETHODIMP GetPreroll(LONGLONG* preroll) override
    {
        if (!preroll)
            return E_POINTER;
        *preroll = 0;
        return S_OK;
    }

    void AddInput(HRESULT* phr)
    {
        if (int(m_inputs.size()) >= kMaxInputs)
            return;
        WCHAR name[16];
        int n = int(m_inputs.size()) + 1;
        name[0] = 'I', name[1] = 'n', name[2] = 'p', name[3] = 'u', name[4] = 't', name[5] = ' ';
        name[6] = WCHAR('0' + n / 10), name[7] = WCHAR('0' + n % 10), name[8] = 0;
        m_inputs.push_back(new CMuxInputPin(this, &m_lock, phr, name, n - 1));
        IncrementPinVersion();
    }

private:
    static int WritePacket(void* opaque, uint8_t* buf, int size)
    {
        IStream* s = static_cast<IStream*>(opaque);
        ULONG done = 0;
        return SUCCEEDED(s->Write(buf, ULONG(size), &done)) && done == ULONG(size) ? size : AVERROR(EIO);
    }
    static int64_t SeekTo(void* opaque, int64_t offset, int whence)
    {
        IStream* s = static_cast<IStream*>(opaque);
        ULARGE_INTEGER pos;
        LARGE_INTEGER move;
        if (whence & AVSEEK_SIZE) {
            STATSTG st;
            return SUCCEEDED(s->Stat(&st, STATFLAG_NONAME)) ? int64_t(st.cbSize.QuadPart) : -1;
        }
        move.QuadPart = offset;
        DWORD origin = (whence & ~AVSEEK_FORCE) == SEEK_CUR ? STREAM_SEEK_CUR
                       : (whence & ~AVSEEK_FORCE) == SEEK_END ? STREAM_SEEK_END
                                                              : STREAM_SEEK_SET;
        return SUCCEEDED(s->Seek(move, origin, &pos)) ? int64_t(pos.QuadPart) : -1;
    }

    HRESULT AddStream(const CMediaType& mt, MuxStream* out)
    {
        AVStream* st = avformat_new_stream(m_fmt, nullptr);
        if (!st)
            return E_OUTOFMEMORY;
        AVCodecParameters* par = st->codecpar;
        if (IsEqualGUID(mt.majortype, MEDIATYPE_Audio)) {
            const WAVEFORMATEX* wf = reinterpret_cast<const WAVEFORMATEX*>(mt.Format());
            par->codec_type = AVMEDIA_TYPE_AUDIO;
            par->codec_id = wf->wBitsPerSample == 8 ? AV_CODEC_ID_PCM_U8 : AV_CODEC_ID_PCM_S16LE;
            par->sample_rate = int(wf->nSamplesPerSec);
            av_channel_layout_default(&par->ch_layout, wf->nChannels);
            par->bits_per_coded_sample = wf->wBitsPerSample;
            par->block_align = wf->nBlockAlign;
            par->bit_rate = int64_t(wf->nAvgBytesPerSec) * 8;
            out->unit = AVRational{1, int(wf->nSamplesPerSec)};
            out->unitTime = 0;  // computed per buffer from the sample rate
            out->blockAlign = wf->nBlockAlign;
        } else {
            const BITMAPINFOHEADER* bih = BitmapHeader(&mt);
            REFERENCE_TIME period = AvgTimePerFrame(&mt);
            if (period <= 0)
                period = 333667;
            par->codec_type = AVMEDIA_TYPE_VIDEO;
            par->width = bih->biWidth;
            par->height = bih->biHeight < 0 ? -bih->biHeight : bih->biHeight;
            if (IsDvSubtype(mt.subtype)) {
                par->codec_id = AV_CODEC_ID_DVVIDEO;
                par->codec_tag = bih->biCompression;
            } else if (IsMpeg4Subtype(mt.subtype)) {
                par->codec_id = AV_CODEC_ID_MPEG4;
                par->codec_tag = bih->biCompression;
                out->keyFramesMarked = true;
            } else {
                par->codec_id = AV_CODEC_ID_RAWVIDEO;
                par->bits_per_coded_sample = bih->biBitCount;
                par->codec_tag = bih->biCompression;
                par->format = bih->biCompression == MAKEFOURCC('Y', 'U', 'Y', '2') ? AV_PIX_FMT_YUYV422
                              : bih->biBitCount == 32                              ? AV_PIX_FMT_BGRA
                                                                                   : AV_PIX_FMT_BGR24;
            }
            // The usual rates exactly, others as the type gives them.
            if (period >= 333666 && period <= 333667)
                out->unit = AVRational{1001, 30000};
            else
                av_reduce(&out->unit.num, &out->unit.den, period, 10000000, INT32_MAX);
            out->unitTime = period;
            out->video = true;
        }
        st->time_base = out->unit;
        st->avg_frame_rate = out->video ? AVRational{out->unit.den, out->unit.num} : AVRational{0, 1};
        out->st = st;
        return S_OK;
    }

    // Opens FFmpeg's writer over the writer's stream, one stream for each joined input.
    HRESULT Start()
    {
        CAutoLock w(&m_writeLock);
        ReleaseWriter();
        m_written = 0;
        m_ended.assign(m_inputs.size(), false);
        m_originSet = false;
        m_failed = false;
        m_stream = m_output.Stream();
        if (!m_stream)
            return m_output.IsConnected() ? E_NOINTERFACE : S_OK;  // nothing to write to
        if (avformat_alloc_output_context2(&m_fmt, nullptr, "avi", nullptr) < 0 || !m_fmt)
            return E_OUTOFMEMORY;
        m_streams.assign(m_inputs.size(), MuxStream());
        for (size_t i = 0; i < m_inputs.size(); ++i)
            if (m_inputs[i]->IsConnected()) {
                HRESULT hr = AddStream(m_inputs[i]->CurrentMediaType(), &m_streams[i]);
                if (FAILED(hr))
                    return hr;
            }
        if (m_fmt->nb_streams == 0) {
            ReleaseWriter();
            return S_OK;
        }
        const int size = 1 << 16;
        uint8_t* buf = static_cast<uint8_t*>(av_malloc(size));
        m_fmt->pb = avio_alloc_context(buf, size, 1, m_stream, nullptr, &CAviMux::WritePacket, &CAviMux::SeekTo);
        if (!m_fmt->pb) {
            av_free(buf);
            return E_OUTOFMEMORY;
        }
        m_headerWritten = false;
        return S_OK;
    }

    // The header goes out with the first sample (or at the end of an empty recording),
    // when every filter of the graph, the writer too, has been paused.
    bool WriteHeader()
    {
        if (!m_headerWritten && avformat_write_header(m_fmt, nullptr) < 0) {
            m_failed = true;
            NotifyEvent(EC_ERRORABORT, E_FAIL, 0);
            return false;
        }
        m_headerWritten = true;
        return true;
    }

    HRESULT Write(int index, IMediaSample* sample)
    {
        CAutoLock w(&m_writeLock);
        if (!m_fmt || m_failed || index >= int(m_streams.size()) || !m_streams[index].st)
            return S_OK;
        if (!WriteHeader())
            return E_FAIL;
        MuxStream& ms = m_streams[index];
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        LONG size = sample->GetActualDataLength();
        REFERENCE_TIME start = 0, stop = 0;
        const bool timed = SUCCEEDED(sample->GetTime(&start, &stop));
        if (timed && !m_originSet) {
            m_origin = start;
            m_originSet = true;
        }
        const int64_t rel = timed && m_originSet ? start - m_origin : -1;
        int64_t skip = 0, n;
        if (ms.video) {
            const bool first = !ms.clock.started;
            n = timed ? ms.clock.Place(rel, ms.unitTime, 1, true, 0, &skip) : ms.clock.next++;
            if (n < 0)
                return S_OK;
            // FFmpeg's writer fills the frames missing between two pictures with empty
            // entries, but not those before the first: a camera that began later than the
            // sound would have its pictures moved forward against it. One empty entry at
            // the start lets the writer fill the rest.
            if (first && n > 0 && !WritePlaceholder(ms))
                return E_FAIL;
        } else {
            const int rate = ms.st->codecpar->sample_rate;
            const int64_t frames = size / ms.blockAlign;
            // A gap of more than a tenth of a second in the sound is kept as a gap.
            n = timed ? ms.clock.Place(av_rescale(rel, rate, 10000000), 1, frames, false, rate / 10, &skip)
                      : (ms.clock.next += frames) - frames;
            data += skip * ms.blockAlign;
            size -= LONG(skip * ms.blockAlign);
            if (size <= 0)
                return S_OK;
        }
        AVPacket* pkt = av_packet_alloc();
        if (!pkt || av_new_packet(pkt, size) < 0) {
            av_packet_free(&pkt);
            return E_OUTOFMEMORY;
        }
        memcpy(pkt->data, data, size);
        pkt->stream_index = ms.st->index;
        pkt->pts = pkt->dts = av_rescale_q(n, ms.unit, ms.st->time_base);
        const int64_t units = ms.video ? 1 : size / ms.blockAlign;
        pkt->duration = av_rescale_q(units, ms.unit, ms.st->time_base);
        // Pictures that depend on others are key frames only where the compressor says so.
        if (!ms.keyFramesMarked || sample->IsSyncPoint() == S_OK)
            pkt->flags |= AV_PKT_FLAG_KEY;
        const int64_t end = av_rescale_q(n + units, ms.unit, AVRational{1, 10000000});
        if (!Send(pkt))
            return E_FAIL;
        if (end > m_written)
            m_written = end;
        return S_OK;
    }

    // An empty entry at the start of a video stream (a frame without a picture).
    bool WritePlaceholder(MuxStream& ms)
    {
        AVPacket* pkt = av_packet_alloc();
        if (!pkt)
            return false;
        pkt->stream_index = ms.st->index;
        pkt->pts = pkt->dts = 0;
        pkt->duration = av_rescale_q(1, ms.unit, ms.st->time_base);
        pkt->flags |= AV_PKT_FLAG_KEY;
        return Send(pkt);
    }

    // Hands a packet (freed here) to FFmpeg's writer.
    bool Send(AVPacket* pkt)
    {
        const int rc = av_interleaved_write_frame(m_fmt, pkt);
        av_packet_free(&pkt);
        if (rc < 0) {
            // The disk is full or gone: stop writing, and say so once.
            m_failed = true;
            NotifyEvent(EC_ERRORABORT, E_FAIL, 0);
            return false;
        }
        return true;
    }

    // Completes the file: trailer, the compatibility index taken out when asked, and the
    // writer told the stream is complete.
    HRESULT Finish()
    {
        CAutoLock w(&m_writeLock);
        if (!m_fmt)
            return S_OK;
        HRESULT hr = !m_failed && WriteHeader() && av_write_trailer(m_fmt) >= 0 ? S_OK : E_FAIL;
        avio_flush(m_fmt->pb);
        IStream* s = m_stream;
        if (SUCCEEDED(hr) && !m_compatIndex) {
            avi_mux::FileAccess file;
            file.read = [s](uint64_t pos, void* buf, uint32_t len) {
                LARGE_INTEGER at;
                at.QuadPart = LONGLONG(pos);
                ULONG got = 0;
                return SUCCEEDED(s->Seek(at, STREAM_SEEK_SET, nullptr)) && s->Read(buf, len, &got) == S_OK && got == len;
            };
            file.write = [s](uint64_t pos, const void* buf, uint32_t len) {
                LARGE_INTEGER at;
                at.QuadPart = LONGLONG(pos);
                ULONG put = 0;
                return SUCCEEDED(s->Seek(at, STREAM_SEEK_SET, nullptr)) && SUCCEEDED(s->Write(buf, len, &put)) &&
                       put == len;
            };
            avi_mux::HideCompatibilityIndex(file);
        }
        s->Commit(STGC_DEFAULT);
        ReleaseWriter();
        return hr;
    }

    void ReleaseWriter()
    {
        if (m_fmt) {
            if (m_fmt->pb) {
                av_freep(&m_fmt->pb->buffer);
                avio_context_free(&m_fmt->pb);
            }
            avformat_free_context(m_fmt);
            m_fmt = nullptr;
        }
        if (m_stream) {
            m_stream->Release();
            m_stream = nullptr;
        }
        m_streams.clear();
    }

    // Marks the input's stream ended; true once, when every joined input has ended.
    bool InputEnded(int index)
    {
        CAutoLock w(&m_writeLock);
        if (index < 0 || index >= int(m_ended.size()) || m_ended[index])
            return false;
        m_ended[index] = true;
        for (size_t i = 0; i < m_inputs.size() && i < m_ended.size(); ++i)
            if (m_inputs[i]->IsConnected() && !m_ended[i])
                return false;
        return true;
    }

    CCritSec m_lock;
    CCritSec m_writeLock;
    std::vector<CMuxInputPin*> m_inputs;
    std::vector<bool> m_ended;  // per input: its stream has ended (since the last start)
    CMuxOutputPin m_output;
    AVFormatContext* m_fmt = nullptr;
    IStream* m_stream = nullptr;
    std::vector<MuxStream> m_streams;
    bool m_headerWritten = false;
    bool m_originSet = false;
    REFERENCE_TIME m_origin = 0;
    REFERENCE_TIME m_written = 0;
    bool m_failed = false;
    bool m_compatIndex = true;
    LONG m_master = -1;
    InterleavingMode m_mode = INTERLEAVE_CAPTURE;
    REFERENCE_TIME m_interleave = UNITS;
    REFERENCE_TIME m_preroll = 0;
};

CMuxInputPin::CMuxInputPin(CAviMux* mux, CCritSec* lock, HRESULT* phr, LPCWSTR name, int index)
    : CBaseInputPin(NAME("AVI mux input"), mux, lock, phr, name), m_mux(mux), m_index(index)
{
}

HRESULT CMuxInputPin::CheckMediaType(const CMediaType* pmt)
{
    if (IsEqualGUID(pmt->majortype, MEDIATYPE_Audio)) {
        if (!IsEqualGUID(pmt->subtype, MEDIASUBTYPE_PCM) || !IsEqualGUID(pmt->formattype, FORMAT_WaveFormatEx) ||
            pmt->FormatLength() < sizeof(PCMWAVEFORMAT))
            return VFW_E_TYPE_NOT_ACCEPTED;
        const WAVEFORMATEX* wf = reinterpret_cast<const WAVEFORMATEX*>(pmt->Format());
        return wf->wFormatTag == WAVE_FORMAT_PCM && wf->nChannels > 0 && wf->nSamplesPerSec > 0 &&
                       (wf->wBitsPerSample == 8 || wf->wBitsPerSample == 16) &&
                       wf->nBlockAlign == wf->nChannels * wf->wBitsPerSample / 8
                   ? S_OK
                   : VFW_E_TYPE_NOT_ACCEPTED;
    }
    if (!IsEqualGUID(pmt->majortype, MEDIATYPE_Video) || !BitmapHeader(pmt))
        return VFW_E_TYPE_NOT_ACCEPTED;
    const BITMAPINFOHEADER* bih = BitmapHeader(pmt);
    if (bih->biWidth <= 0 || bih->biHeight == 0)
        return VFW_E_TYPE_NOT_ACCEPTED;
    if (IsDvSubtype(pmt->subtype) || IsMpeg4Subtype(pmt->subtype))
        return S_OK;
    PixelLayout layout = LayoutOf(pmt);
    return layout == PixelLayout::RGB24 || layout == PixelLayout::RGB32 || layout == PixelLayout::YUY2
               ? S_OK
               : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CMuxInputPin::CompleteConnect(IPin* pReceivePin)
{
    HRESULT hr = CBaseInputPin::CompleteConnect(pReceivePin);
    // Always one free input after the joined ones.
    if (SUCCEEDED(hr) && m_index == int(m_mux->m_inputs.size()) - 1)
        m_mux->AddInput(&hr);
    return hr;
}

// When every joined stream has ended, the file is complete: the writer is told so (and
// with it the graph).
STDMETHODIMP CMuxInputPin::EndOfStream()
{
    HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    if (m_mux->InputEnded(m_index))
        m_mux->m_output.DeliverEndOfStream();
    return S_OK;
}

STDMETHODIMP CMuxInputPin::Receive(IMediaSample* pSample)
{
    HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK)
        return hr;
    return m_mux->Write(m_index, pSample);
}

const AMOVIESETUP_MEDIATYPE kInTypes[] = {{&GUID_NULL, &GUID_NULL}};
const AMOVIESETUP_MEDIATYPE kOutTypes[] = {{&MEDIATYPE_Stream, &MEDIASUBTYPE_Avi}};
const AMOVIESETUP_PIN kPins[] = {
    {L"Input", FALSE, FALSE, FALSE, TRUE, &CLSID_NULL, nullptr, 1, kInTypes},
    {L"Output", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kOutTypes}};
const AMOVIESETUP_FILTER kSetup = {&CLSID_AviDest, L"AVI Mux", MERIT_DO_NOT_USE, 2, kPins};

} // namespace

DSHOW_SERVED_CLASS(L"AVI Mux", &CLSID_AviDest, CAviMux::CreateInstance, &kSetup);
