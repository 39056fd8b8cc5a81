#include "deinterlace_filter.h"
#include "filter_common.h"
#include "deinterlace_kernels.h"
#include <new>

CUnknown* WINAPI CDeinterlaceFilter::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
{
    return FactoryObject(new (std::nothrow) CDeinterlaceFilter(pUnk, phr), phr);
}

CDeinterlaceFilter::CDeinterlaceFilter(LPUNKNOWN pUnk, HRESULT* phr)
    : CTransInPlaceFilter(TEXT("DeInterlacer"), pUnk, CLSID_Deinterlacer, phr)
{
    m_snapshotEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!m_snapshotEvent && phr)
        *phr = E_OUTOFMEMORY;
    if (!m_engine.Ready())
        OutputDebugStringA("DeInterlacer: no drawing surfaces; frames pass unscaled\n");
}

CDeinterlaceFilter::~CDeinterlaceFilter()
{
    if (m_snapshotEvent)
        CloseHandle(m_snapshotEvent);
}

STDMETHODIMP CDeinterlaceFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IDeinterlace))
        return GetInterface(static_cast<IDeinterlace*>(this), ppv);
    if (IsEqualIID(riid, IID_ISpecifyPropertyPages))
        return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
    if (IsEqualIID(riid, IID_IFieldRowsRead))
        return GetInterface(static_cast<IFieldRowsRead*>(this), ppv);
    return CTransInPlaceFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CDeinterlaceFilter::CheckInputType(const CMediaType* mt)
{
    if (!mt || *mt->FormatType() != FORMAT_VideoInfo || !mt->Format() ||
        mt->FormatLength() < sizeof(VIDEOINFOHEADER))
        return E_INVALIDARG;
    const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt->Format());
    if (*mt->Type() != MEDIATYPE_Video || *mt->Subtype() != MEDIASUBTYPE_RGB32 ||
        vih->bmiHeader.biBitCount != 32 || vih->bmiHeader.biHeight < 0 ||
        vih->bmiHeader.biWidth <= 0)
        return E_FAIL;
    return S_OK;
}

HRESULT CDeinterlaceFilter::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps)
{
    return OneBufferOfInputSize(m_pInput, pAlloc, pProps);
}

HRESULT CDeinterlaceFilter::Transform(IMediaSample* pSample)
{
    CAutoLock lock(&m_Lock);
    int W = 0, H = 0, bpp = 0;
    const CMediaType& mt = m_pInput->CurrentMediaType();
    if (*mt.FormatType() == FORMAT_VideoInfo && mt.Format() &&
        mt.FormatLength() >= sizeof(VIDEOINFOHEADER)) {
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.Format());
        W = vih->bmiHeader.biWidth;
        H = vih->bmiHeader.biHeight;
        bpp = vih->bmiHeader.biBitCount / 8;
    }
    BYTE* bits = nullptr;
    if (!pSample || FAILED(pSample->GetPointer(&bits)))
        bits = nullptr;
    // A buffer shorter than the format says is not worked on (a waiting snapshot is
    // still released).
    if (bits && (W <= 0 || H <= 0 || bpp <= 0 ||
                 LONGLONG(W) * H * bpp > LONGLONG(pSample->GetSize())))
        bits = nullptr;
    // A frame that holds only one field's rows (its decoder was told what this filter reads)
    // but meets settings changed since then gets that field's rows doubled over the stale
    // ones first.
    const int held = bits ? SampleFieldRows(pSample) : -1;
    if (held >= 0 && bpp == 4 && CDeinterlaceEngine::FieldRowsRead(W, H, bpp, m_settings, m_outputDC != nullptr) != held)
        DoubleField(FrameView{bits, W, H, bpp}, held);
    const bool served = m_engine.Process(bits, W, H, bpp, m_settings, m_outputDC,
                                         m_snapshotPending, m_snapshotDC);
    if (served && m_snapshotPending) {
        m_snapshotPending = false;
        SetEvent(m_snapshotEvent);
    }
    return S_OK;
}

int STDMETHODCALLTYPE CDeinterlaceFilter::FieldRowsRead(LONG width, LONG height)
{
    CAutoLock lock(&m_Lock);
    return CDeinterlaceEngine::FieldRowsRead(width, height, 4, m_settings, m_outputDC != nullptr);
}

STDMETHODIMP CDeinterlaceFilter::GetBypass(BOOL* bypass)
{
    if (!bypass)
        return E_POINTER;
    CAutoLock lock(&m_Lock);
    *bypass = m_settings.bypass;
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::SetBypass(BOOL bypass)
{
    CAutoLock lock(&m_Lock);
    m_settings.bypass = bypass;
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::SetField(LONG reserved, LONG field)
{
    CAutoLock lock(&m_Lock);
    m_reserved = reserved;
    m_settings.field = (field == 0 || field == 1) ? field : 0;
    m_settings.bypass = FALSE;
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::EnableOverlay(BOOL enable)
{
    CAutoLock lock(&m_Lock);
    m_settings.overlayEnabled = enable;
    m_settings.bypass = FALSE;
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::SetOverlayBitmap(void* bits, LONG width, LONG height, DWORD key)
{
    CAutoLock lock(&m_Lock);
    m_settings.overlayBits = static_cast<const uint32_t*>(bits);
    m_settings.overlayWidth = width;
    m_settings.overlayHeight = height;
    m_settings.keyColour = key;
    return S_OK;
}

namespace {

void SetFractions(float (&to)[4], float x, float y, float w, float h)
{
    to[0] = x;
    to[1] = y;
    to[2] = w;
    to[3] = h;
}

} // namespace

STDMETHODIMP CDeinterlaceFilter::SetCrop(float x, float y, float w, float h)
{
    CAutoLock lock(&m_Lock);
    SetFractions(m_settings.crop, x, y, w, h);
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::GetCropOrigin(float* x, float* y)
{
    if (!x || !y)
        return E_POINTER;
    CAutoLock lock(&m_Lock);
    *x = m_settings.crop[0];
    *y = m_settings.crop[1];
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::GetCropSize(float* w, float* h)
{
    if (!w || !h)
        return E_POINTER;
    CAutoLock lock(&m_Lock);
    *w = m_settings.crop[2];
    *h = m_settings.crop[3];
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::SetMask(float x, float y, float w, float h)
{
    CAutoLock lock(&m_Lock);
    SetFractions(m_settings.mask, x, y, w, h);
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::SetMirror(BOOL mirror)
{
    CAutoLock lock(&m_Lock);
    m_settings.mirror = mirror;
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::RequestSnapshot(CDC* dc, HANDLE* event)
{
    CAutoLock lock(&m_Lock);
    ResetEvent(m_snapshotEvent);
    m_snapshotDC = DeviceContextHandle(dc);
    m_snapshotPending = true;
    if (event)
        *event = m_snapshotEvent;
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::SetOutputDC(CDC* dc)
{
    CAutoLock lock(&m_Lock);
    m_outputDC = DeviceContextHandle(dc);
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::SetScaleOutput(BOOL scale)
{
    CAutoLock lock(&m_Lock);
    m_settings.scaleOutput = scale;
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::SetScaleToFrame(BOOL scale)
{
    CAutoLock lock(&m_Lock);
    m_settings.scaleToFrame = scale;
    return S_OK;
}

STDMETHODIMP CDeinterlaceFilter::GetPages(CAUUID* pPages)
{
    return OnePropertyPage(pPages, CLSID_DeinterlacerProperties);
}
