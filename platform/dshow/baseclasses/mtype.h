// Media types: AM_MEDIA_TYPE with value semantics (the format block is owned and copied).
#pragma once
#include <windows.h>
#include <strmif.h>
#include <cguid.h>

class CMediaType : public AM_MEDIA_TYPE {
public:
    CMediaType();
    explicit CMediaType(const GUID* majortype);
    CMediaType(const AM_MEDIA_TYPE& mt, HRESULT* phr = nullptr);
    CMediaType(const CMediaType& mt, HRESULT* phr = nullptr);
    ~CMediaType();

    CMediaType& operator=(const AM_MEDIA_TYPE& mt);
    CMediaType& operator=(const CMediaType& mt);
    BOOL operator==(const CMediaType& mt) const;
    BOOL operator!=(const CMediaType& mt) const { return !(*this == mt); }

    HRESULT Set(const CMediaType& mt);
    HRESULT Set(const AM_MEDIA_TYPE& mt);
    BOOL IsValid() const { return !IsEqualGUID(majortype, GUID_NULL); }

    const GUID* Type() const { return &majortype; }
    void SetType(const GUID* p) { majortype = *p; }
    const GUID* Subtype() const { return &subtype; }
    void SetSubtype(const GUID* p) { subtype = *p; }
    BOOL IsFixedSize() const { return bFixedSizeSamples; }
    BOOL IsTemporalCompressed() const { return bTemporalCompression; }
    ULONG GetSampleSize() const { return bFixedSizeSamples ? lSampleSize : 0; }
    void SetSampleSize(ULONG sz);
    void SetVariableSize() { bFixedSizeSamples = FALSE; }
    void SetTemporalCompression(BOOL b) { bTemporalCompression = b; }

    const GUID* FormatType() const { return &formattype; }
    void SetFormatType(const GUID* p) { formattype = *p; }
    BYTE* Format() const { return pbFormat; }
    ULONG FormatLength() const { return cbFormat; }
    BOOL SetFormat(const BYTE* pFormat, ULONG length);
    void ResetFormatBuffer();
    BYTE* AllocFormatBuffer(ULONG length);
    BYTE* ReallocFormatBuffer(ULONG length);
    void InitMediaType();

    // Partial types match: GUID_NULL in this type's major, sub or format type is a wildcard.
    BOOL MatchesPartial(const CMediaType* ppartial) const;
    BOOL IsPartiallySpecified() const;
};

void WINAPI FreeMediaType(AM_MEDIA_TYPE& mt);
void WINAPI DeleteMediaType(AM_MEDIA_TYPE* pmt);
AM_MEDIA_TYPE* WINAPI CreateMediaType(const AM_MEDIA_TYPE* pSrc);
HRESULT WINAPI CopyMediaType(AM_MEDIA_TYPE* pmtTarget, const AM_MEDIA_TYPE* pmtSource);

// Bits per pixel of a video subtype (0 when unknown), and the subtype for a bitmap header.
WORD GetBitCount(const GUID* pSubtype);
GUID GetBitmapSubtype(const BITMAPINFOHEADER* pbmiHeader);
