// The video compressor the program transcodes clips with: uncompressed pictures in,
// MPEG-4 Part 2 out (FourCC 'XVID', which MPEG-4 players read). Its output pin takes the
// format through IAMStreamConfig and the key-frame spacing and quality through
// IAMVideoCompression: the key-frame rate is the distance between key frames, the quality
// (0 to 1) a fixed quantiser. There are no bidirectional frames, so every picture comes out
// as it goes in and a reader can seek to any frame from the key frame before it.
#include "classes.h"
#include "video_formats.h"
#include "pixel_convert.h"
extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}
#include <cmath>
#include <new>

const CLSID CLSID_VideoCompressor = {0x1f73e9b1, 0x8c3a, 0x11d0, {0xa3, 0xbe, 0x00, 0xa0, 0xc9, 0x24, 0x44, 0x36}};

namespace {

const DWORD kFourCC = kMpeg4FourCC;

class CVideoEncoder;

class CEncoderOutputPin : public CTransformOutputPin, public IAMStreamConfig, public IAMVideoCompression {
public:
    CEncoderOutputPin(CVideoEncoder* f, HRESULT* phr);
    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IAMStreamConfig))
            return GetInterface(static_cast<IAMStreamConfig*>(this), ppv);
        if (IsEqualIID(riid, IID_IAMVideoCompression))
            return GetInterface(static_cast<IAMVideoCompression*>(this), ppv);
        return CTransformOutputPin::NonDelegatingQueryInterface(riid, ppv);
    }

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** ppmt) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override
    {
        if (!count || !size)
            return E_POINTER;
        *count = 1;
        *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
        return S_OK;
    }
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** ppmt, BYTE* caps) override;

    // IAMVideoCompression
    STDMETHODIMP put_KeyFrameRate(LONG rate) override;
    STDMETHODIMP get_KeyFrameRate(LONG* rate) override;
    STDMETHODIMP put_PFramesPerKeyFrame(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_PFramesPerKeyFrame(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Quality(double quality) override;
    STDMETHODIMP get_Quality(double* quality) override;
    STDMETHODIMP put_WindowSize(DWORDLONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_WindowSize(DWORDLONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetInfo(LPWSTR version, int* versionLength, LPWSTR description, int* descriptionLength,
                         LONG* keyFrameRate, LONG* pFramesPerKey, double* quality, LONG* capabilities) override;
    STDMETHODIMP OverrideKeyFrame(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP OverrideFrameSize(LONG, LONG) override { return E_NOTIMPL; }

private:
    CVideoEncoder* m_encoder;
};

class CVideoEncoder : public CTransformFilter {
    friend class CEncoderOutputPin;

public:
    CVideoEncoder(LPUNKNOWN pUnk, HRESULT*) : CTransformFilter(NAME("Video compressor"), pUnk, CLSID_VideoCompressor) {}
    ~CVideoEncoder() override { Close(); }

    CBasePin* GetPin(int n) override
    {
        if (!m_pInput) {
            HRESULT hr = S_OK;
            m_pInput = new (std::nothrow) CTransformInputPin(NAME("Compressor input"), this, &hr, L"Input");
            m_pOutput = new (std::nothrow) CEncoderOutputPin(this, &hr);
        }
        return n == 0 ? static_cast<CBasePin*>(m_pInput) : n == 1 ? m_pOutput : nullptr;
    }

    static bool Encodable(PixelLayout layout)
    {
        return layout == PixelLayout::RGB32 || layout == PixelLayout::RGB24 || layout == PixelLayout::YUY2 ||
               layout == PixelLayout::UYVY;
    }
    HRESULT CheckInputType(const CMediaType* mt) override
    {
        const BITMAPINFOHEADER* b = BitmapHeader(mt);
        if (!IsEqualGUID(*mt->Type(), MEDIATYPE_Video) || !IsEqualGUID(*mt->FormatType(), FORMAT_VideoInfo) ||
            !b || !Encodable(LayoutOf(mt)))
            return VFW_E_TYPE_NOT_ACCEPTED;
        // MPEG-4 pictures are made of 16 x 16 blocks of even size.
        return b->biWidth >= 16 && abs(b->biHeight) >= 16 && b->biWidth % 2 == 0 && abs(b->biHeight) % 2 == 0
                   ? S_OK
                   : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override
    {
        if (CheckInputType(in) != S_OK || !IsEqualGUID(*out->Type(), MEDIATYPE_Video))
            return VFW_E_TYPE_NOT_ACCEPTED;
        const BITMAPINFOHEADER* a = BitmapHeader(in);
        const BITMAPINFOHEADER* b = BitmapHeader(out);
        return b && b->biCompression == kFourCC && b->biWidth == a->biWidth && abs(b->biHeight) == abs(a->biHeight)
                   ? S_OK
                   : VFW_E_TYPE_NOT_ACCEPTED;
    }
    // The compressed type of the input's size and rate (720 x 480 at 29.97 before one).
    CMediaType OutputType() const
    {
        LONG w = 720, h = 480;
        REFERENCE_TIME perFrame = 333667;
        if (m_pInput && m_pInput->IsConnected()) {
            const BITMAPINFOHEADER* b = BitmapHeader(&m_pInput->CurrentMediaType());
            w = b->biWidth;
            h = abs(b->biHeight);
            perFrame = AvgTimePerFrame(&m_pInput->CurrentMediaType());
        }
        CMediaType mt = MakeVideoType(FourCCSubtype(kFourCC), w, h, 24, kFourCC, perFrame, 0);
        mt.SetTemporalCompression(TRUE);
        mt.SetVariableSize();
        if (VIDEOINFOHEADER* v = reinterpret_cast<VIDEOINFOHEADER*>(mt.Format()))
            v->dwBitRate = m_bitRate;
        return mt;
    }
    HRESULT GetMediaType(int i, CMediaType* pmt) override
    {
        if (i < 0)
            return E_INVALIDARG;
        if (!m_pInput->IsConnected())
            return E_UNEXPECTED;
        if (i > 0)
            return VFW_S_NO_MORE_ITEMS;
        *pmt = OutputType();
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req) override
    {
        const BITMAPINFOHEADER* b = BitmapHeader(&m_pInput->CurrentMediaType());
        if (!b)
            return E_UNEXPECTED;
        return RequestBuffers(a, req, 2, b->biWidth * abs(b->biHeight) * 2 + 4096);
    }

    HRESULT StartStreaming() override
    {
        Close();
        const CMediaType& in = m_pInput->CurrentMediaType();
        const BITMAPINFOHEADER* b = BitmapHeader(&in);
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
        m_ctx = codec ? avcodec_alloc_context3(codec) : nullptr;
        m_frame = av_frame_alloc();
        m_packet = av_packet_alloc();
        if (!m_ctx || !m_frame || !m_packet)
            return E_OUTOFMEMORY;
        m_width = b->biWidth;
        m_height = b->biHeight;
        m_layout = LayoutOf(&in);
        REFERENCE_TIME perFrame = AvgTimePerFrame(&in);
        if (perFrame <= 0)
            perFrame = 333667;
        int num = 0, den = 0;
        av_reduce(&num, &den, perFrame, UNITS, 1 << 16);
        m_ctx->time_base = AVRational{num, den};
        m_ctx->width = m_width;
        m_ctx->height = abs(m_height);
        m_ctx->pix_fmt = AV_PIX_FMT_YUV420P;
        m_ctx->codec_tag = kFourCC;
        m_ctx->gop_size = m_keyFrameRate > 0 ? m_keyFrameRate : 1;
        m_ctx->max_b_frames = 0;
        m_ctx->thread_count = 1;
        m_ctx->flags |= AV_CODEC_FLAG_QSCALE;
        m_ctx->global_quality = FF_QP2LAMBDA * Quantiser();
        if (avcodec_open2(m_ctx, codec, nullptr) < 0)
            return E_FAIL;
        m_frame->format = AV_PIX_FMT_YUV420P;
        m_frame->width = m_ctx->width;
        m_frame->height = m_ctx->height;
        if (av_frame_get_buffer(m_frame, 0) < 0)
            return E_OUTOFMEMORY;
        m_sws = sws_getContext(m_width, abs(m_height), AVPixelFormat(PixelConverter::FormatOf(m_layout)), m_width,
                               abs(m_height), AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
        m_count = 0;
        return m_sws ? S_OK : E_FAIL;
    }
    HRESULT StopStreaming() override
    {
        Close();
        return S_OK;
    }

    HRESULT Transform(IMediaSample* in, IMediaSample* out) override
    {
        if (!m_ctx)
            return E_UNEXPECTED;
        BYTE* src = nullptr;
        BYTE* dst = nullptr;
        in->GetPointer(&src);
        out->GetPointer(&dst);
        const LONG rowBytes = RowBytes(m_layout, m_width);
        if (!src || !dst || in->GetActualDataLength() < rowBytes * abs(m_height))
            return E_FAIL;
        // Bitmaps of positive height are stored bottom row first; YUV layouts top first.
        const bool bottomUp = m_height > 0 && m_layout != PixelLayout::YUY2 && m_layout != PixelLayout::UYVY;
        const uint8_t* planes[4] = {bottomUp ? src + size_t(rowBytes) * (abs(m_height) - 1) : src, nullptr, nullptr,
                                    nullptr};
        const int strides[4] = {bottomUp ? -rowBytes : rowBytes, 0, 0, 0};
        if (av_frame_make_writable(m_frame) < 0)
            return E_OUTOFMEMORY;
        sws_scale(m_sws, planes, strides, 0, abs(m_height), m_frame->data, m_frame->linesize);
        m_frame->pts = m_count++;
        if (avcodec_send_frame(m_ctx, m_frame) < 0)
            return E_FAIL;
        const int rc = avcodec_receive_packet(m_ctx, m_packet);
        if (rc == AVERROR(EAGAIN))
            return S_FALSE;
        if (rc < 0)
            return E_FAIL;
        HRESULT hr = S_OK;
        if (m_packet->size > out->GetSize()) {
            hr = E_FAIL;
        } else {
            memcpy(dst, m_packet->data, m_packet->size);
            out->SetActualDataLength(m_packet->size);
            out->SetSyncPoint((m_packet->flags & AV_PKT_FLAG_KEY) != 0);
        }
        av_packet_unref(m_packet);
        return hr;
    }

    // Quality 1 is the finest quantiser (1), 0 the coarsest (31).
    int Quantiser() const
    {
        const double q = 1.0 + 30.0 * (1.0 - m_quality) * (1.0 - m_quality);
        return int(std::lround(q < 1 ? 1 : q > 31 ? 31 : q));
    }

private:
    void Close()
    {
        avcodec_free_context(&m_ctx);
        av_frame_free(&m_frame);
        av_packet_free(&m_packet);
        if (m_sws)
            sws_freeContext(m_sws);
        m_sws = nullptr;
    }

    AVCodecContext* m_ctx = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    SwsContext* m_sws = nullptr;
    PixelLayout m_layout = PixelLayout::None;
    LONG m_width = 0, m_height = 0;
    int64_t m_count = 0;
    // Settings (the bit rate is kept in the format only: the quantiser decides the size).
    LONG m_keyFrameRate = 10;
    double m_quality = 0.75;
    DWORD m_bitRate = 0;
};

CEncoderOutputPin::CEncoderOutputPin(CVideoEncoder* f, HRESULT* phr)
    : CTransformOutputPin(NAME("Compressor output"), f, phr, L"Output"), m_encoder(f)
{
}

STDMETHODIMP CEncoderOutputPin::SetFormat(AM_MEDIA_TYPE* pmt)
{
    if (!pmt)
        return E_POINTER;
    CAutoLock l(m_pLock);
    if (!IsEqualGUID(pmt->majortype, MEDIATYPE_Video) || !IsEqualGUID(pmt->formattype, FORMAT_VideoInfo) ||
        pmt->cbFormat < sizeof(VIDEOINFOHEADER) || !pmt->pbFormat)
        return VFW_E_INVALIDMEDIATYPE;
    m_encoder->m_bitRate = reinterpret_cast<const VIDEOINFOHEADER*>(pmt->pbFormat)->dwBitRate;
    return S_OK;
}

STDMETHODIMP CEncoderOutputPin::GetFormat(AM_MEDIA_TYPE** ppmt)
{
    if (!ppmt)
        return E_POINTER;
    CAutoLock l(m_pLock);
    CMediaType offered = m_encoder->OutputType();
    *ppmt = CreateMediaType(IsConnected() ? &m_mt : &offered);
    if (*ppmt && IsConnected() && (*ppmt)->pbFormat)
        reinterpret_cast<VIDEOINFOHEADER*>((*ppmt)->pbFormat)->dwBitRate = m_encoder->m_bitRate;
    return *ppmt ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CEncoderOutputPin::GetStreamCaps(int index, AM_MEDIA_TYPE** ppmt, BYTE* caps)
{
    if (!ppmt || !caps)
        return E_POINTER;
    if (index != 0)
        return S_FALSE;
    CAutoLock l(m_pLock);
    CMediaType mt = m_encoder->OutputType();
    *ppmt = CreateMediaType(&mt);
    if (!*ppmt)
        return E_OUTOFMEMORY;
    VIDEO_STREAM_CONFIG_CAPS* c = reinterpret_cast<VIDEO_STREAM_CONFIG_CAPS*>(caps);
    memset(c, 0, sizeof *c);
    const BITMAPINFOHEADER* b = BitmapHeader(&mt);
    c->guid = FORMAT_VideoInfo;
    c->InputSize.cx = c->MinOutputSize.cx = c->MaxOutputSize.cx = b->biWidth;
    c->InputSize.cy = c->MinOutputSize.cy = c->MaxOutputSize.cy = abs(b->biHeight);
    c->MinFrameInterval = c->MaxFrameInterval = AvgTimePerFrame(&mt);
    return S_OK;
}

STDMETHODIMP CEncoderOutputPin::put_KeyFrameRate(LONG rate)
{
    CAutoLock l(m_pLock);
    if (m_encoder->m_State != State_Stopped)
        return VFW_E_NOT_STOPPED;
    // A negative rate asks for the default spacing.
    m_encoder->m_keyFrameRate = rate < 0 ? 10 : rate;
    return S_OK;
}

STDMETHODIMP CEncoderOutputPin::get_KeyFrameRate(LONG* rate)
{
    if (!rate)
        return E_POINTER;
    *rate = m_encoder->m_keyFrameRate;
    return S_OK;
}

STDMETHODIMP CEncoderOutputPin::put_Quality(double quality)
{
    CAutoLock l(m_pLock);
    if (m_encoder->m_State != State_Stopped)
        return VFW_E_NOT_STOPPED;
    if (quality < 0)
        quality = 0.75;  // the default quality
    if (quality > 1)
        return E_INVALIDARG;
    m_encoder->m_quality = quality;
    return S_OK;
}

STDMETHODIMP CEncoderOutputPin::get_Quality(double* quality)
{
    if (!quality)
        return E_POINTER;
    *quality = m_encoder->m_quality;
    return S_OK;
}

STDMETHODIMP CEncoderOutputPin::GetInfo(LPWSTR version, int* versionLength, LPWSTR description,
                                        int* descriptionLength, LONG* keyFrameRate, LONG* pFramesPerKey,
                                        double* quality, LONG* capabilities)
{
    auto text = [](LPWSTR out, int* length, LPCWSTR value) {
        if (!length)
            return;
        if (out && *length > 0)
            lstrcpynW(out, value, *length);
        *length = lstrlenW(value) + 1;
    };
    text(version, versionLength, L"1.0");
    text(description, descriptionLength, L"MPEG-4 video");
    if (keyFrameRate)
        *keyFrameRate = 10;
    if (pFramesPerKey)
        *pFramesPerKey = 0;
    if (quality)
        *quality = 0.75;
    if (capabilities)
        *capabilities = 0x01 | 0x08;  // can set the quality and the key-frame rate
    return S_OK;
}

const AMOVIESETUP_MEDIATYPE kInTypes[] = {{&MEDIATYPE_Video, &GUID_NULL}};
const AMOVIESETUP_MEDIATYPE kOutTypes[] = {{&MEDIATYPE_Video, &GUID_NULL}};
const AMOVIESETUP_PIN kPins[] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kInTypes},
    {L"Output", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kOutTypes},
};
// Only made by class: the graph never puts a compressor in by itself.
const AMOVIESETUP_FILTER kSetup = {&CLSID_VideoCompressor, L"Video Compressor", MERIT_DO_NOT_USE, 2, kPins};

} // namespace

DSHOW_SERVED_CLASS(L"Video Compressor", &CLSID_VideoCompressor, CreateServed<CVideoEncoder>, &kSetup);
