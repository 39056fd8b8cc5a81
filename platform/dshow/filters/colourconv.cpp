// Colour space converter: any uncompressed layout in, RGB out (32-bit first) at the
// input's size, rows bottom-up.
#include "classes.h"
#include "pixel_convert.h"
#include <new>

namespace {

const PixelLayout kOutputs[] = {PixelLayout::RGB32, PixelLayout::RGB24, PixelLayout::RGB565, PixelLayout::RGB555};

// The input takes a new size even while the output is connected: the output follows it
// by reconnecting (see CompleteConnect below).
class CConverterInputPin : public CTransformInputPin {
public:
    CConverterInputPin(CTransformFilter* f, HRESULT* phr) : CTransformInputPin(NAME("Converter input"), f, phr, L"Input") {}
    HRESULT CheckMediaType(const CMediaType* pmt) override { return m_pTransformFilter->CheckInputType(pmt); }
};

class CColourConverter : public CTransformFilter, public IFieldRowsRead {
public:
    CColourConverter(LPUNKNOWN pUnk, HRESULT*) : CTransformFilter(NAME("Colour space converter"), pUnk, CLSID_Colour)
    {
    }

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv && IsEqualIID(riid, IID_IFieldRowsRead))
            return GetInterface(static_cast<IFieldRowsRead*>(this), ppv);
        return CTransformFilter::NonDelegatingQueryInterface(riid, ppv);
    }

    // A picture passed on as it came is read by the filter after this one. Asked while
    // streaming, when the connections cannot change: no lock is taken.
    int STDMETHODCALLTYPE FieldRowsRead(LONG width, LONG height) override
    {
        return PassesThrough() ? FieldRowsReadBy(m_pOutput->GetConnected(), width, height) : -1;
    }

    CBasePin* GetPin(int n) override
    {
        if (!m_pInput) {
            HRESULT hr = S_OK;
            m_pInput = new (std::nothrow) CConverterInputPin(this, &hr);
            m_pOutput = new (std::nothrow) CTransformOutputPin(NAME("Converter output"), this, &hr, L"XForm Out");
        }
        return n == 0 ? static_cast<CBasePin*>(m_pInput) : n == 1 ? m_pOutput : nullptr;
    }

    HRESULT CheckInputType(const CMediaType* mt) override
    {
        return LayoutOf(mt) != PixelLayout::None ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }

    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override
    {
        PixelLayout o = LayoutOf(out);
        if (LayoutOf(in) == PixelLayout::None ||
            (o != PixelLayout::RGB32 && o != PixelLayout::RGB24 && o != PixelLayout::RGB565 && o != PixelLayout::RGB555))
            return VFW_E_TYPE_NOT_ACCEPTED;
        const BITMAPINFOHEADER* a = BitmapHeader(in);
        const BITMAPINFOHEADER* b = BitmapHeader(out);
        return a->biWidth == b->biWidth && abs(a->biHeight) == abs(b->biHeight) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }

    HRESULT GetMediaType(int i, CMediaType* pmt) override
    {
        if (i < 0)
            return E_INVALIDARG;
        if (!m_pInput->IsConnected())
            return E_UNEXPECTED;
        if (i >= int(sizeof kOutputs / sizeof kOutputs[0]))
            return VFW_S_NO_MORE_ITEMS;
        *pmt = OutputFor(kOutputs[i]);
        return S_OK;
    }

    CMediaType OutputFor(PixelLayout layout)
    {
        const CMediaType& in = m_pInput->CurrentMediaType();
        const BITMAPINFOHEADER* b = BitmapHeader(&in);
        return MakeUncompressedType(layout, b->biWidth, abs(b->biHeight), AvgTimePerFrame(&in));
    }

    // A new input size is carried on to the output connection.
    HRESULT CompleteConnect(PIN_DIRECTION dir, IPin*) override
    {
        if (dir != PINDIR_INPUT || !m_pOutput || !m_pOutput->IsConnected())
            return S_OK;
        const CMediaType& out = m_pOutput->CurrentMediaType();
        if (CheckTransform(&m_pInput->CurrentMediaType(), &out) == S_OK)
            return S_OK;
        CMediaType next = OutputFor(LayoutOf(&out));
        return ReconnectPin(m_pOutput, &next);
    }

    HRESULT DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req) override
    {
        const CMediaType& mt = m_pOutput->CurrentMediaType();
        const BITMAPINFOHEADER* b = BitmapHeader(&mt);
        if (!b)
            return E_UNEXPECTED;
        return RequestBuffers(a, req, 1, ImageBytes(LayoutOf(&mt), b->biWidth, b->biHeight));
    }

    // A picture already in the output's layout, size and row order is passed on as it
    // came: converting it would be a whole-frame copy.
    HRESULT Receive(IMediaSample* in) override
    {
        const CMediaType& imt = m_pInput->CurrentMediaType();
        const BITMAPINFOHEADER* a = BitmapHeader(&imt);
        if (m_pInput->SampleProps()->dwStreamId == AM_STREAM_MEDIA && PassesThrough() &&
            in->GetActualDataLength() >= ImageBytes(LayoutOf(&imt), a->biWidth, a->biHeight))
            return m_pOutput->Deliver(in);
        return CTransformFilter::Receive(in);
    }

    // Input and output in the same layout, size and row order.
    bool PassesThrough()
    {
        if (!m_pInput || !m_pOutput || !m_pInput->IsConnected() || !m_pOutput->IsConnected())
            return false;
        const CMediaType& imt = m_pInput->CurrentMediaType();
        const CMediaType& omt = m_pOutput->CurrentMediaType();
        const BITMAPINFOHEADER* a = BitmapHeader(&imt);
        const BITMAPINFOHEADER* b = BitmapHeader(&omt);
        return a && b && LayoutOf(&imt) == LayoutOf(&omt) && a->biWidth == b->biWidth && a->biHeight == b->biHeight;
    }

    HRESULT Transform(IMediaSample* in, IMediaSample* out) override
    {
        BYTE* src = nullptr;
        BYTE* dst = nullptr;
        in->GetPointer(&src);
        out->GetPointer(&dst);
        const CMediaType& imt = m_pInput->CurrentMediaType();
        const CMediaType& omt = m_pOutput->CurrentMediaType();
        const BITMAPINFOHEADER* a = BitmapHeader(&imt);
        const BITMAPINFOHEADER* b = BitmapHeader(&omt);
        PixelLayout il = LayoutOf(&imt), ol = LayoutOf(&omt);
        if (in->GetActualDataLength() < ImageBytes(il, a->biWidth, a->biHeight))
            return S_FALSE;
        if (!m_convert.Convert(il, a->biWidth, a->biHeight, src, ol, b->biWidth, b->biHeight, dst))
            return E_FAIL;
        out->SetActualDataLength(ImageBytes(ol, b->biWidth, b->biHeight));
        return S_OK;
    }

private:
    PixelConverter m_convert;
};

const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Video, &GUID_NULL}};
const AMOVIESETUP_PIN kPins[] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kTypes},
    {L"XForm Out", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kTypes},
};
const AMOVIESETUP_FILTER kSetup = {&CLSID_Colour, L"Color Space Converter", MERIT_UNLIKELY, 2, kPins};

} // namespace

DSHOW_SERVED_CLASS(L"Color Space Converter", &CLSID_Colour, CreateServed<CColourConverter>, &kSetup);
