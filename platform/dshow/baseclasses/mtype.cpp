#include "streams.h"
#include <cstring>

CMediaType::CMediaType() { InitMediaType(); }

CMediaType::CMediaType(const GUID* type)
{
    InitMediaType();
    majortype = *type;
}

CMediaType::CMediaType(const AM_MEDIA_TYPE& mt, HRESULT* phr)
{
    InitMediaType();
    HRESULT hr = CopyMediaType(this, &mt);
    if (FAILED(hr) && phr)
        *phr = hr;
}

CMediaType::CMediaType(const CMediaType& mt, HRESULT* phr) : CMediaType(static_cast<const AM_MEDIA_TYPE&>(mt), phr)
{
}

CMediaType::~CMediaType() { FreeMediaType(*this); }

void CMediaType::InitMediaType()
{
    memset(static_cast<AM_MEDIA_TYPE*>(this), 0, sizeof(AM_MEDIA_TYPE));
    lSampleSize = 1;
    bFixedSizeSamples = TRUE;
}

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& mt)
{
    Set(mt);
    return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& mt)
{
    Set(mt);
    return *this;
}

BOOL CMediaType::operator==(const CMediaType& mt) const
{
    return IsEqualGUID(majortype, mt.majortype) && IsEqualGUID(subtype, mt.subtype) &&
           IsEqualGUID(formattype, mt.formattype) && cbFormat == mt.cbFormat &&
           (cbFormat == 0 || memcmp(pbFormat, mt.pbFormat, cbFormat) == 0);
}

HRESULT CMediaType::Set(const CMediaType& mt) { return Set(static_cast<const AM_MEDIA_TYPE&>(mt)); }

HRESULT CMediaType::Set(const AM_MEDIA_TYPE& mt)
{
    if (&mt == this)
        return S_OK;
    FreeMediaType(*this);
    HRESULT hr = CopyMediaType(this, &mt);
    return FAILED(hr) ? E_OUTOFMEMORY : S_OK;
}

void CMediaType::SetSampleSize(ULONG sz)
{
    if (sz == 0) {
        SetVariableSize();
    } else {
        bFixedSizeSamples = TRUE;
        lSampleSize = sz;
    }
}

BOOL CMediaType::SetFormat(const BYTE* pFormat, ULONG length)
{
    if (!AllocFormatBuffer(length) && length)
        return FALSE;
    if (length)
        memcpy(pbFormat, pFormat, length);
    return TRUE;
}

void CMediaType::ResetFormatBuffer()
{
    if (pbFormat)
        CoTaskMemFree(pbFormat);
    pbFormat = nullptr;
    cbFormat = 0;
}

BYTE* CMediaType::AllocFormatBuffer(ULONG length)
{
    if (cbFormat == length && pbFormat)
        return pbFormat;
    BYTE* p = length ? static_cast<BYTE*>(CoTaskMemAlloc(length)) : nullptr;
    if (length && !p)
        return nullptr;
    ResetFormatBuffer();
    pbFormat = p;
    cbFormat = length;
    return p;
}

BYTE* CMediaType::ReallocFormatBuffer(ULONG length)
{
    if (cbFormat == length)
        return pbFormat;
    BYTE* p = static_cast<BYTE*>(CoTaskMemAlloc(length));
    if (!p)
        return nullptr;
    memset(p, 0, length);
    if (pbFormat)
        memcpy(p, pbFormat, cbFormat < length ? cbFormat : length);
    ResetFormatBuffer();
    pbFormat = p;
    cbFormat = length;
    return p;
}

BOOL CMediaType::MatchesPartial(const CMediaType* p) const
{
    if (!IsEqualGUID(p->majortype, GUID_NULL) && !IsEqualGUID(majortype, p->majortype))
        return FALSE;
    if (!IsEqualGUID(p->subtype, GUID_NULL) && !IsEqualGUID(subtype, p->subtype))
        return FALSE;
    if (!IsEqualGUID(p->formattype, GUID_NULL)) {
        if (!IsEqualGUID(formattype, p->formattype) || cbFormat != p->cbFormat)
            return FALSE;
        if (cbFormat && memcmp(pbFormat, p->pbFormat, cbFormat) != 0)
            return FALSE;
    }
    return TRUE;
}

BOOL CMediaType::IsPartiallySpecified() const
{
    return IsEqualGUID(majortype, GUID_NULL) || IsEqualGUID(formattype, GUID_NULL);
}

void WINAPI FreeMediaType(AM_MEDIA_TYPE& mt)
{
    if (mt.cbFormat && mt.pbFormat)
        CoTaskMemFree(mt.pbFormat);
    mt.cbFormat = 0;
    mt.pbFormat = nullptr;
    if (mt.pUnk) {
        mt.pUnk->Release();
        mt.pUnk = nullptr;
    }
}

void WINAPI DeleteMediaType(AM_MEDIA_TYPE* pmt)
{
    if (!pmt)
        return;
    FreeMediaType(*pmt);
    CoTaskMemFree(pmt);
}

AM_MEDIA_TYPE* WINAPI CreateMediaType(const AM_MEDIA_TYPE* pSrc)
{
    AM_MEDIA_TYPE* p = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!p)
        return nullptr;
    if (FAILED(CopyMediaType(p, pSrc))) {
        CoTaskMemFree(p);
        return nullptr;
    }
    return p;
}

HRESULT WINAPI CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src)
{
    *dst = *src;
    if (src->cbFormat && src->pbFormat) {
        dst->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(src->cbFormat));
        if (!dst->pbFormat) {
            dst->cbFormat = 0;
            dst->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        memcpy(dst->pbFormat, src->pbFormat, src->cbFormat);
    } else {
        dst->pbFormat = nullptr;
        dst->cbFormat = 0;
    }
    if (dst->pUnk)
        dst->pUnk->AddRef();
    return S_OK;
}

WORD GetBitCount(const GUID* s)
{
    if (IsEqualGUID(*s, MEDIASUBTYPE_RGB32) || IsEqualGUID(*s, MEDIASUBTYPE_ARGB32))
        return 32;
    if (IsEqualGUID(*s, MEDIASUBTYPE_RGB24))
        return 24;
    if (IsEqualGUID(*s, MEDIASUBTYPE_RGB565) || IsEqualGUID(*s, MEDIASUBTYPE_RGB555) ||
        IsEqualGUID(*s, MEDIASUBTYPE_YUY2) || IsEqualGUID(*s, MEDIASUBTYPE_UYVY))
        return 16;
    if (IsEqualGUID(*s, MEDIASUBTYPE_RGB8))
        return 8;
    return 0;
}

GUID GetBitmapSubtype(const BITMAPINFOHEADER* h)
{
    if (h->biCompression == BI_RGB || h->biCompression == BI_BITFIELDS) {
        switch (h->biBitCount) {
        case 32: return MEDIASUBTYPE_RGB32;
        case 24: return MEDIASUBTYPE_RGB24;
        case 16: return MEDIASUBTYPE_RGB565;
        case 8: return MEDIASUBTYPE_RGB8;
        default: return GUID_NULL;
        }
    }
    // FourCC subtypes share the base GUID with the code in Data1.
    GUID g = MEDIASUBTYPE_YUY2;
    g.Data1 = h->biCompression;
    return g;
}
