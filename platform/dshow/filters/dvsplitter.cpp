// DV splitter: interleaved DV in, the DV video ("DVVidOut0") and its sound as PCM
// ("AudOut00") out. The sound is taken out of each frame by FFmpeg's DV reader.
#include "classes.h"
#include "fanout_pin.h"
#include "video_formats.h"
extern "C" {
#include <libavformat/avformat.h>
}
#include <cstring>
#include <new>

namespace {

class CDVSplitter;

class CSplitterOutputPin : public CBaseOutputPin {
public:
    CSplitterOutputPin(CDVSplitter* f, CCritSec* lock, HRESULT* phr, LPCWSTR name, bool video);
    ~CSplitterOutputPin() override
    {
        if (m_seeking)
            m_seeking->Release();
    }
    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT GetMediaType(int i, CMediaType* pmt) override;
    HRESULT DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req) override;
    bool m_video;

private:
    CDVSplitter* m_splitter;
    IUnknown* m_seeking = nullptr;
};

class CSplitterInputPin : public CFanOutInputPin {
public:
    CSplitterInputPin(CDVSplitter* f, CCritSec* lock, HRESULT* phr);
    HRESULT CheckMediaType(const CMediaType* pmt) override;
    STDMETHODIMP Receive(IMediaSample* pSample) override;

protected:
    int FanOutCount() override { return 2; }
    CBaseOutputPin* FanOut(int index) override;

private:
    CDVSplitter* m_splitter;
};

class CDVSplitter : public CBaseFilter {
public:
    CDVSplitter(LPUNKNOWN pUnk, HRESULT* phr)
        : CBaseFilter(NAME("DV splitter"), pUnk, &m_lock, CLSID_DVSplitter), m_input(this, &m_lock, phr),
          m_videoOut(this, &m_lock, phr, L"DVVidOut0", true), m_audioOut(this, &m_lock, phr, L"AudOut00", false)
    {
    }
    int GetPinCount() override { return 3; }
    CBasePin* GetPin(int n) override
    {
        switch (n) {
        case 0: return &m_input;
        case 1: return &m_videoOut;
        case 2: return &m_audioOut;
        default: return nullptr;
        }
    }

    // The stream's properties, from the input connection's DV packs.
    bool Pal()
    {
        const CMediaType& mt = m_input.CurrentMediaType();
        if (IsEqualGUID(*mt.FormatType(), FORMAT_DvInfo) && mt.FormatLength() >= sizeof(DVINFO))
            return DvInfoIsPal(*reinterpret_cast<const DVINFO*>(mt.Format()));
        return false;
    }
    int SampleRate()
    {
        const CMediaType& mt = m_input.CurrentMediaType();
        if (IsEqualGUID(*mt.FormatType(), FORMAT_DvInfo) && mt.FormatLength() >= sizeof(DVINFO))
            return DvInfoSampleRate(*reinterpret_cast<const DVINFO*>(mt.Format()));
        return 48000;
    }
    CMediaType VideoType()
    {
        bool pal = Pal();
        return MakeVideoType(MEDIASUBTYPE_dvsd, 720, pal ? 576 : 480, 24, MAKEFOURCC('d', 'v', 's', 'd'),
                             pal ? 400000 : 333667, pal ? 144000 : 120000);
    }
    CMediaType AudioType() { return MakePcmType(SampleRate(), 2, 16); }

    HRESULT Receive(IMediaSample* s);
    CCritSec m_lock;
    CSplitterInputPin m_input;
    CSplitterOutputPin m_videoOut;
    CSplitterOutputPin m_audioOut;

private:
    HRESULT DeliverCopy(CSplitterOutputPin& pin, const BYTE* data, LONG size, REFERENCE_TIME* start,
                        REFERENCE_TIME* stop, IMediaSample* from);
};

CSplitterInputPin::CSplitterInputPin(CDVSplitter* f, CCritSec* lock, HRESULT* phr)
    : CFanOutInputPin(NAME("DV splitter input"), f, lock, phr, L"Input"), m_splitter(f)
{
}

CSplitterOutputPin::CSplitterOutputPin(CDVSplitter* f, CCritSec* lock, HRESULT* phr, LPCWSTR name, bool video)
    : CBaseOutputPin(NAME("DV splitter output"), f, lock, phr, name), m_video(video), m_splitter(f)
{
}

STDMETHODIMP CSplitterOutputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IMediaSeeking)) {
        if (!m_seeking) {
            HRESULT hr = S_OK;
            CPosPassThru* p = new (std::nothrow)
                CPosPassThru(NAME("DV splitter seeking"), static_cast<IPin*>(this), &hr, &m_splitter->m_input);
            if (!p)
                return E_OUTOFMEMORY;
            m_seeking = reinterpret_cast<IUnknown*>(static_cast<PNDUNKNOWN>(p));
            m_seeking->AddRef();
        }
        return m_seeking->QueryInterface(riid, ppv);
    }
    return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CSplitterOutputPin::CheckMediaType(const CMediaType* pmt)
{
    if (!m_splitter->m_input.IsConnected())
        return VFW_E_NOT_CONNECTED;
    return *pmt == (m_video ? m_splitter->VideoType() : m_splitter->AudioType()) ? S_OK : S_FALSE;
}

HRESULT CSplitterOutputPin::GetMediaType(int i, CMediaType* pmt)
{
    if (i < 0)
        return E_INVALIDARG;
    if (!m_splitter->m_input.IsConnected())
        return E_UNEXPECTED;
    if (i > 0)
        return VFW_S_NO_MORE_ITEMS;
    *pmt = m_video ? m_splitter->VideoType() : m_splitter->AudioType();
    return S_OK;
}

HRESULT CSplitterOutputPin::DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req)
{
    // One frame of picture or of sound per buffer.
    return RequestBuffers(a, req, 4, m_video ? 144000 : 48000 * 4 / 25 + 4096);
}

HRESULT CSplitterInputPin::CheckMediaType(const CMediaType* pmt)
{
    if (!IsEqualGUID(*pmt->Type(), MEDIATYPE_Interleaved) || !IsDvSubtype(*pmt->Subtype()))
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

STDMETHODIMP CSplitterInputPin::Receive(IMediaSample* pSample)
{
    HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK)
        return hr;
    return m_splitter->Receive(pSample);
}

CBaseOutputPin* CSplitterInputPin::FanOut(int index)
{
    return index == 0 ? &m_splitter->m_videoOut : &m_splitter->m_audioOut;
}

HRESULT CDVSplitter::DeliverCopy(CSplitterOutputPin& pin, const BYTE* data, LONG size, REFERENCE_TIME* start,
                                 REFERENCE_TIME* stop, IMediaSample* from)
{
    IMediaSample* out = nullptr;
    HRESULT hr = pin.GetDeliveryBuffer(&out, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    BYTE* p = nullptr;
    out->GetPointer(&p);
    if (size > out->GetSize())
        size = out->GetSize();
    memcpy(p, data, size);
    out->SetActualDataLength(size);
    out->SetTime(start, stop);
    out->SetSyncPoint(TRUE);
    out->SetDiscontinuity(from->IsDiscontinuity() == S_OK);
    LONGLONG ms, me;
    if (pin.m_video && from->GetMediaTime(&ms, &me) == S_OK)
        out->SetMediaTime(&ms, &me);
    hr = pin.Deliver(out);
    out->Release();
    return hr;
}

struct MemoryReader {
    const BYTE* data;
    int size;
    int pos;
    static int Read(void* opaque, uint8_t* buf, int n)
    {
        MemoryReader* r = static_cast<MemoryReader*>(opaque);
        int left = r->size - r->pos;
        if (left <= 0)
            return AVERROR_EOF;
        if (n > left)
            n = left;
        memcpy(buf, r->data + r->pos, n);
        r->pos += n;
        return n;
    }
};

// The frame's sound as interleaved 16-bit PCM, appended to out; false when it has none.
bool ExtractAudio(const BYTE* frame, int size, std::vector<BYTE>* out)
{
    const AVInputFormat* dv = av_find_input_format("dv");
    if (!dv)
        return false;
    MemoryReader reader = {frame, size, 0};
    uint8_t* buffer = static_cast<uint8_t*>(av_malloc(32768));
    AVIOContext* io = avio_alloc_context(buffer, 32768, 0, &reader, MemoryReader::Read, nullptr, nullptr);
    AVFormatContext* fmt = avformat_alloc_context();
    if (!io || !fmt) {
        if (io)
            avio_context_free(&io);
        else
            av_free(buffer);
        avformat_free_context(fmt);
        return false;
    }
    fmt->pb = io;
    bool found = false;
    if (avformat_open_input(&fmt, nullptr, dv, nullptr) == 0) {
        AVPacket* pkt = av_packet_alloc();
        while (av_read_frame(fmt, pkt) >= 0) {
            if (fmt->streams[pkt->stream_index]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
                out->insert(out->end(), pkt->data, pkt->data + pkt->size);
                found = true;
            }
            av_packet_unref(pkt);
        }
        av_packet_free(&pkt);
        avformat_close_input(&fmt);
    }
    // (a failed open has freed the format context itself)
    av_freep(&io->buffer);
    avio_context_free(&io);
    return found;
}

HRESULT CDVSplitter::Receive(IMediaSample* s)
{
    BYTE* data = nullptr;
    s->GetPointer(&data);
    LONG size = s->GetActualDataLength();
    REFERENCE_TIME start = 0, stop = 0;
    HRESULT timed = s->GetTime(&start, &stop);
    REFERENCE_TIME* ps = SUCCEEDED(timed) ? &start : nullptr;
    REFERENCE_TIME* pe = timed == S_OK ? &stop : nullptr;
    HRESULT hr = S_OK;
    if (m_videoOut.IsConnected())
        hr = DeliverCopy(m_videoOut, data, size, ps, pe, s);
    if (m_audioOut.IsConnected()) {
        std::vector<BYTE> pcm;
        if (ExtractAudio(data, size, &pcm) && !pcm.empty()) {
            REFERENCE_TIME aStop = start + REFERENCE_TIME(pcm.size() / 4) * UNITS / SampleRate();
            HRESULT ha = DeliverCopy(m_audioOut, pcm.data(), LONG(pcm.size()), ps, ps ? &aStop : nullptr, s);
            if (SUCCEEDED(hr) && FAILED(ha) && !m_videoOut.IsConnected())
                hr = ha;
        }
    }
    // A downstream refusal on one output does not stop the other.
    return FAILED(hr) && hr != VFW_E_NOT_CONNECTED ? hr : S_OK;
}

const AMOVIESETUP_MEDIATYPE kInTypes[] = {{&MEDIATYPE_Interleaved, &MEDIASUBTYPE_dvsd}};
const AMOVIESETUP_MEDIATYPE kVideoTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_dvsd}};
const AMOVIESETUP_MEDIATYPE kAudioTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
const AMOVIESETUP_PIN kPins[] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kInTypes},
    {L"DVVidOut0", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kVideoTypes},
    {L"AudOut00", FALSE, TRUE, TRUE, FALSE, &CLSID_NULL, nullptr, 1, kAudioTypes},
};
const AMOVIESETUP_FILTER kSetup = {&CLSID_DVSplitter, L"DV Splitter", MERIT_NORMAL, 3, kPins};

} // namespace

DSHOW_SERVED_CLASS(L"DV Splitter", &CLSID_DVSplitter, CreateServed<CDVSplitter>, &kSetup);
