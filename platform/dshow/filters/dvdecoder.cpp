// Video decoders: DV frames, or MPEG-4 Part 2 pictures (the layer's transcoded clips), in;
// uncompressed pictures out at full or half size, the output size chosen by the connection
// (a reconnection changes it). Pictures marked as preroll are decoded for the ones after
// them (MPEG-4 pictures depend on those before, back to a key frame) and not passed on.
#include "classes.h"
#include "pixel_convert.h"
#include "../testing/decode_count.h"
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/buffer.h>
}
#include <cstring>
#include <new>

const CLSID CLSID_Mpeg4VideoDecoder = {0x6c2e94a1, 0x3f57, 0x4b88, {0xa1, 0x6d, 0x0e, 0x5b, 0x92, 0x47, 0xc3, 0x18}};

namespace {

const PixelLayout kOutputs[] = {PixelLayout::RGB32, PixelLayout::RGB24, PixelLayout::YUY2, PixelLayout::RGB565};

class CVideoDecoder : public CTransformFilter, public IDecodeCount {
public:
    CVideoDecoder(LPCTSTR name, LPUNKNOWN pUnk, HRESULT* phr, REFCLSID clsid, AVCodecID id)
        : CTransformFilter(name, pUnk, clsid)
    {
        // Every picture of an intra-only codec (DV) stands alone, so the kept picture stays
        // valid across a seek; others need their references decoded again after one.
        const AVCodecDescriptor* descriptor = avcodec_descriptor_get(id);
        m_intraOnly = descriptor && (descriptor->props & AV_CODEC_PROP_INTRA_ONLY);
        const AVCodec* codec = avcodec_find_decoder(id);
        m_codec = codec ? avcodec_alloc_context3(codec) : nullptr;
        if (m_codec) {
            m_codec->thread_count = 1;
            if (avcodec_open2(m_codec, codec, nullptr) < 0)
                avcodec_free_context(&m_codec);
        }
        m_frame = av_frame_alloc();
        m_kept = av_frame_alloc();
        m_packet = av_packet_alloc();
        if ((!m_codec || !m_frame || !m_kept || !m_packet) && phr)
            *phr = E_OUTOFMEMORY;
    }
    ~CVideoDecoder() override
    {
        avcodec_free_context(&m_codec);
        av_frame_free(&m_frame);
        av_frame_free(&m_kept);
        av_packet_free(&m_packet);
        av_buffer_unref(&m_keptInput);
    }

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv && IsEqualIID(riid, IID_IDecodeCount))
            return GetInterface(static_cast<IDecodeCount*>(this), ppv);
        return CTransformFilter::NonDelegatingQueryInterface(riid, ppv);
    }
    STDMETHODIMP GetDecodeCount(LONG* count) override
    {
        if (!count)
            return E_POINTER;
        *count = m_decodes;
        return S_OK;
    }

    CBasePin* GetPin(int n) override
    {
        if (!m_pInput) {
            HRESULT hr = S_OK;
            m_pInput = new (std::nothrow) CTransformInputPin(NAME("Decoder input"), this, &hr, L"XForm In");
            m_pOutput = new (std::nothrow) CTransformOutputPin(NAME("Decoder output"), this, &hr, L"XForm Out");
        }
        return n == 0 ? static_cast<CBasePin*>(m_pInput) : n == 1 ? m_pOutput : nullptr;
    }

    // After a seek the pictures before start again from a key frame. A stepped graph
    // positioned on the same frame again (one field after the other) flushes too: an
    // intra-only codec's kept picture still answers it.
    HRESULT EndFlush() override
    {
        if (m_codec)
            avcodec_flush_buffers(m_codec);
        if (!m_intraOnly)
            Forget();
        return CTransformFilter::EndFlush();
    }

    // Full size (the input's) or half size in both directions.
    bool SizeAllowed(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out) const
    {
        LONG w = in->biWidth, h = abs(in->biHeight), ow = out->biWidth, oh = abs(out->biHeight);
        return (ow == w && oh == h) || (ow == w / 2 && oh == h / 2);
    }

    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override
    {
        if (CheckInputType(in) != S_OK)
            return VFW_E_TYPE_NOT_ACCEPTED;
        PixelLayout layout = LayoutOf(out);
        bool known = false;
        for (PixelLayout l : kOutputs)
            known |= l == layout;
        if (!known || !IsEqualGUID(*out->FormatType(), FORMAT_VideoInfo))
            return VFW_E_TYPE_NOT_ACCEPTED;
        return SizeAllowed(BitmapHeader(in), BitmapHeader(out)) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }

    HRESULT GetMediaType(int i, CMediaType* pmt) override
    {
        if (i < 0)
            return E_INVALIDARG;
        if (!m_pInput->IsConnected())
            return E_UNEXPECTED;
        if (i >= int(sizeof kOutputs / sizeof kOutputs[0]))
            return VFW_S_NO_MORE_ITEMS;
        const BITMAPINFOHEADER* b = BitmapHeader(&m_pInput->CurrentMediaType());
        *pmt = MakeUncompressedType(kOutputs[i], b->biWidth, abs(b->biHeight),
                                    AvgTimePerFrame(&m_pInput->CurrentMediaType()));
        return S_OK;
    }

    HRESULT DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req) override
    {
        const BITMAPINFOHEADER* b = BitmapHeader(&m_pOutput->CurrentMediaType());
        if (!b)
            return E_UNEXPECTED;
        return RequestBuffers(a, req, 2, ImageBytes(LayoutOf(&m_pOutput->CurrentMediaType()), b->biWidth, b->biHeight),
                              16);
    }

    HRESULT Transform(IMediaSample* in, IMediaSample* out) override
    {
        BYTE* src = nullptr;
        BYTE* dst = nullptr;
        in->GetPointer(&src);
        out->GetPointer(&dst);
        const long length = in->GetActualDataLength();
        const CMediaType& mt = m_pOutput->CurrentMediaType();
        const BITMAPINFOHEADER* b = BitmapHeader(&mt);
        PixelLayout layout = LayoutOf(&mt);
        const long image = ImageBytes(layout, b->biWidth, b->biHeight);
        if (!src || !dst || length <= 0 || out->GetSize() < image)
            return E_FAIL;
        // A frame delivered again (a stepped graph positioned on the same frame, one field
        // after the other) is answered from the picture kept from the last decode: the
        // codec's own planes, converted again (which costs about what a copy of the
        // converted picture would, and spares keeping that copy of every frame).
        if (m_kept->data[0] && m_keptLength == length && !memcmp(m_keptInput->data, src, length)) {
            if (!Convert(m_kept, layout, b, out, dst))
                return E_FAIL;
            out->SetActualDataLength(image);
            return S_OK;
        }
        Forget();
        // The frame is kept in a buffer the codec can take a reference to: it decodes from
        // it without a copy of its own, and the next frame delivered is compared with it.
        if (!KeepInput(src, length))
            return E_OUTOFMEMORY;
        const bool preroll = in->IsPreroll() == S_OK;
        m_packet->buf = av_buffer_ref(m_keptInput);
        if (!m_packet->buf) {
            Forget();
            return E_OUTOFMEMORY;
        }
        m_packet->data = m_keptInput->data;
        m_packet->size = length;
        int rc = avcodec_send_packet(m_codec, m_packet);
        av_packet_unref(m_packet);
        if (rc < 0 || avcodec_receive_frame(m_codec, m_frame) < 0) {
            Forget();
            return S_FALSE; // a damaged frame is dropped, not the stream
        }
        InterlockedIncrement(&m_decodes);
        if (preroll) {
            av_frame_unref(m_frame);
            Forget();
            return S_FALSE;
        }
        if (!Convert(m_frame, layout, b, out, dst)) {
            av_frame_unref(m_frame);
            Forget();
            return E_FAIL;
        }
        out->SetActualDataLength(image);
        av_frame_move_ref(m_kept, m_frame);
        return S_OK;
    }

private:
    // A filter downstream that reads only one field's rows (a stepped picture shows one
    // field) gets only those converted: the step to the frame's other field converts the
    // other rows from the kept planes, so each frame is converted once in all.
    bool Convert(const AVFrame* frame, PixelLayout layout, const BITMAPINFOHEADER* b, IMediaSample* out, BYTE* dst)
    {
        const int field = layout == PixelLayout::RGB32 && m_pOutput
                              ? FieldRowsReadBy(m_pOutput->GetConnected(), b->biWidth, b->biHeight)
                              : -1;
        if (field >= 0 && m_convert.ConvertFieldRows(frame->format, frame->width, frame->height, frame->data,
                                                     frame->linesize, layout, b->biWidth, b->biHeight, dst, field)) {
            SetSampleFieldRows(out, field);
            return true;
        }
        SetSampleFieldRows(out, -1);
        return m_convert.Convert(frame->format, frame->width, frame->height, frame->data, frame->linesize, layout,
                                 b->biWidth, b->biHeight, dst);
    }
    void Forget()
    {
        m_keptLength = -1;
        av_frame_unref(m_kept);
    }
    // Copies the frame into the kept input buffer, zeroed past its end as the codec's
    // readers want. A buffer the codec still holds a reference to is not written over.
    bool KeepInput(const BYTE* src, long length)
    {
        const size_t want = size_t(length) + AV_INPUT_BUFFER_PADDING_SIZE;
        if (!m_keptInput || m_keptInput->size < want || !av_buffer_is_writable(m_keptInput)) {
            av_buffer_unref(&m_keptInput);
            m_keptInput = av_buffer_alloc(want);
            if (!m_keptInput)
                return false;
        }
        memcpy(m_keptInput->data, src, length);
        memset(m_keptInput->data + length, 0, AV_INPUT_BUFFER_PADDING_SIZE);
        m_keptLength = length;
        return true;
    }

    AVCodecContext* m_codec = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    PixelConverter m_convert;
    // The last frame decoded (its length, -1 when none) and its picture as the codec made it.
    AVBufferRef* m_keptInput = nullptr;
    long m_keptLength = -1;
    AVFrame* m_kept = nullptr;
    bool m_intraOnly = false;
    LONG m_decodes = 0;
};

class CDVVideoDecoder : public CVideoDecoder {
public:
    CDVVideoDecoder(LPUNKNOWN pUnk, HRESULT* phr)
        : CVideoDecoder(NAME("DV video decoder"), pUnk, phr, CLSID_DVVideoCodec, AV_CODEC_ID_DVVIDEO)
    {
    }
    HRESULT CheckInputType(const CMediaType* mt) override
    {
        if (!IsEqualGUID(*mt->Type(), MEDIATYPE_Video) || !IsDvSubtype(*mt->Subtype()))
            return VFW_E_TYPE_NOT_ACCEPTED;
        const BITMAPINFOHEADER* b = BitmapHeader(mt);
        if (!b || b->biWidth != 720 || (abs(b->biHeight) != 480 && abs(b->biHeight) != 576))
            return VFW_E_TYPE_NOT_ACCEPTED;
        return S_OK;
    }
};

class CMpeg4VideoDecoder : public CVideoDecoder {
public:
    CMpeg4VideoDecoder(LPUNKNOWN pUnk, HRESULT* phr)
        : CVideoDecoder(NAME("MPEG-4 video decoder"), pUnk, phr, CLSID_Mpeg4VideoDecoder, AV_CODEC_ID_MPEG4)
    {
    }
    HRESULT CheckInputType(const CMediaType* mt) override
    {
        if (!IsEqualGUID(*mt->Type(), MEDIATYPE_Video) || !IsMpeg4Subtype(*mt->Subtype()))
            return VFW_E_TYPE_NOT_ACCEPTED;
        const BITMAPINFOHEADER* b = BitmapHeader(mt);
        return b && b->biWidth > 0 && b->biHeight != 0 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
};

const AMOVIESETUP_MEDIATYPE kInTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_dvsd},
                                          {&MEDIATYPE_Video, &MEDIASUBTYPE_dvsl},
                                          {&MEDIATYPE_Video, &MEDIASUBTYPE_dvhd}};
const AMOVIESETUP_MEDIATYPE kOutTypes[] = {{&MEDIATYPE_Video, &GUID_NULL}};
const AMOVIESETUP_PIN kPins[] = {
    {L"XForm In", FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 3, kInTypes},
    {L"XForm Out", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kOutTypes},
};
const AMOVIESETUP_FILTER kSetup = {&CLSID_DVVideoCodec, L"DV Video Decoder", MERIT_PREFERRED, 2, kPins};

} // namespace

DSHOW_SERVED_CLASS(L"DV Video Decoder", &CLSID_DVVideoCodec, CreateServed<CDVVideoDecoder>, &kSetup);

namespace {
const GUID kXvid = FourCCSubtype(kMpeg4FourCC);
const AMOVIESETUP_MEDIATYPE kMpeg4InTypes[] = {{&MEDIATYPE_Video, &kXvid}};
const AMOVIESETUP_PIN kMpeg4Pins[] = {
    {L"XForm In", FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kMpeg4InTypes},
    {L"XForm Out", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kOutTypes},
};
const AMOVIESETUP_FILTER kMpeg4Setup = {&CLSID_Mpeg4VideoDecoder, L"MPEG-4 Video Decoder", MERIT_NORMAL, 2,
                                        kMpeg4Pins};
} // namespace

DSHOW_SERVED_CLASS(L"MPEG-4 Video Decoder", &CLSID_Mpeg4VideoDecoder, CreateServed<CMpeg4VideoDecoder>, &kMpeg4Setup);
