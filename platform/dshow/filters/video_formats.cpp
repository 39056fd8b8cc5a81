#include "video_formats.h"
#include <cstring>

CMediaType MakeVideoType(const GUID& subtype, LONG width, LONG height, WORD bitCount, DWORD compression,
                         REFERENCE_TIME avgTimePerFrame, DWORD sampleSize)
{
    CMediaType mt;
    mt.SetType(&MEDIATYPE_Video);
    mt.SetSubtype(&subtype);
    mt.SetFormatType(&FORMAT_VideoInfo);
    VIDEOINFOHEADER* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    memset(vih, 0, sizeof *vih);
    vih->AvgTimePerFrame = avgTimePerFrame;
    BITMAPINFOHEADER& bih = vih->bmiHeader;
    bih.biSize = sizeof(BITMAPINFOHEADER);
    bih.biWidth = width;
    bih.biHeight = height;
    bih.biPlanes = 1;
    bih.biBitCount = bitCount;
    bih.biCompression = compression;
    LONG absHeight = height < 0 ? -height : height;
    bih.biSizeImage = sampleSize ? sampleSize : DWORD(((width * bitCount + 31) / 32) * 4 * absHeight);
    if (avgTimePerFrame > 0)
        vih->dwBitRate = DWORD(double(bih.biSizeImage) * 8 * 1e7 / double(avgTimePerFrame));
    mt.SetSampleSize(bih.biSizeImage);
    mt.SetTemporalCompression(FALSE);
    return mt;
}

CMediaType MakePcmType(int sampleRate, int channels, int bitsPerSample)
{
    CMediaType mt;
    mt.SetType(&MEDIATYPE_Audio);
    mt.SetSubtype(&MEDIASUBTYPE_PCM);
    mt.SetFormatType(&FORMAT_WaveFormatEx);
    WAVEFORMATEX* wf = reinterpret_cast<WAVEFORMATEX*>(mt.AllocFormatBuffer(sizeof(WAVEFORMATEX)));
    memset(wf, 0, sizeof *wf);
    wf->wFormatTag = WAVE_FORMAT_PCM;
    wf->nChannels = WORD(channels);
    wf->nSamplesPerSec = sampleRate;
    wf->wBitsPerSample = WORD(bitsPerSample);
    wf->nBlockAlign = WORD(channels * bitsPerSample / 8);
    wf->nAvgBytesPerSec = sampleRate * wf->nBlockAlign;
    mt.SetSampleSize(wf->nBlockAlign);
    return mt;
}

const VIDEOINFOHEADER* VideoInfo(const AM_MEDIA_TYPE* mt)
{
    if (!mt || !mt->pbFormat)
        return nullptr;
    if (IsEqualGUID(mt->formattype, FORMAT_VideoInfo) && mt->cbFormat >= sizeof(VIDEOINFOHEADER))
        return reinterpret_cast<const VIDEOINFOHEADER*>(mt->pbFormat);
    return nullptr;
}

const BITMAPINFOHEADER* BitmapHeader(const AM_MEDIA_TYPE* mt)
{
    if (!mt || !mt->pbFormat)
        return nullptr;
    if (IsEqualGUID(mt->formattype, FORMAT_VideoInfo) && mt->cbFormat >= sizeof(VIDEOINFOHEADER))
        return &reinterpret_cast<const VIDEOINFOHEADER*>(mt->pbFormat)->bmiHeader;
    if (IsEqualGUID(mt->formattype, FORMAT_VideoInfo2) && mt->cbFormat >= sizeof(VIDEOINFOHEADER2))
        return &reinterpret_cast<const VIDEOINFOHEADER2*>(mt->pbFormat)->bmiHeader;
    return nullptr;
}

REFERENCE_TIME AvgTimePerFrame(const AM_MEDIA_TYPE* mt)
{
    if (!mt || !mt->pbFormat)
        return 0;
    if (IsEqualGUID(mt->formattype, FORMAT_VideoInfo) && mt->cbFormat >= sizeof(VIDEOINFOHEADER))
        return reinterpret_cast<const VIDEOINFOHEADER*>(mt->pbFormat)->AvgTimePerFrame;
    if (IsEqualGUID(mt->formattype, FORMAT_VideoInfo2) && mt->cbFormat >= sizeof(VIDEOINFOHEADER2))
        return reinterpret_cast<const VIDEOINFOHEADER2*>(mt->pbFormat)->AvgTimePerFrame;
    return 0;
}

PixelLayout LayoutOf(const AM_MEDIA_TYPE* mt)
{
    if (!mt || !IsEqualGUID(mt->majortype, MEDIATYPE_Video) || !BitmapHeader(mt))
        return PixelLayout::None;
    const BITMAPINFOHEADER* b = BitmapHeader(mt);
    const GUID& s = mt->subtype;
    if (IsEqualGUID(s, MEDIASUBTYPE_RGB32) && b->biBitCount == 32)
        return PixelLayout::RGB32;
    if (IsEqualGUID(s, MEDIASUBTYPE_RGB24) && b->biBitCount == 24)
        return PixelLayout::RGB24;
    if (IsEqualGUID(s, MEDIASUBTYPE_RGB565) && b->biBitCount == 16)
        return PixelLayout::RGB565;
    if (IsEqualGUID(s, MEDIASUBTYPE_RGB555) && b->biBitCount == 16)
        return PixelLayout::RGB555;
    if (IsEqualGUID(s, MEDIASUBTYPE_YUY2) && b->biBitCount == 16)
        return PixelLayout::YUY2;
    if (IsEqualGUID(s, MEDIASUBTYPE_UYVY) && b->biBitCount == 16)
        return PixelLayout::UYVY;
    return PixelLayout::None;
}

LONG RowBytes(PixelLayout layout, LONG width)
{
    switch (layout) {
    case PixelLayout::RGB32: return width * 4;
    case PixelLayout::RGB24: return ((width * 3) + 3) & ~3;
    case PixelLayout::RGB565:
    case PixelLayout::RGB555: return ((width * 2) + 3) & ~3;
    case PixelLayout::YUY2:
    case PixelLayout::UYVY: return width * 2;
    default: return 0;
    }
}

LONG ImageBytes(PixelLayout layout, LONG width, LONG height)
{
    return RowBytes(layout, width) * (height < 0 ? -height : height);
}

CMediaType MakeUncompressedType(PixelLayout layout, LONG width, LONG height, REFERENCE_TIME avgTimePerFrame)
{
    switch (layout) {
    case PixelLayout::RGB32: return MakeVideoType(MEDIASUBTYPE_RGB32, width, height, 32, BI_RGB, avgTimePerFrame);
    case PixelLayout::RGB24: return MakeVideoType(MEDIASUBTYPE_RGB24, width, height, 24, BI_RGB, avgTimePerFrame);
    case PixelLayout::RGB565: {
        CMediaType mt = MakeVideoType(MEDIASUBTYPE_RGB565, width, height, 16, BI_BITFIELDS, avgTimePerFrame);
        // The three colour masks follow the header.
        VIDEOINFOHEADER vih = *reinterpret_cast<VIDEOINFOHEADER*>(mt.Format());
        BYTE* p = mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER) + 12);
        memcpy(p, &vih, sizeof vih);
        const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
        memcpy(p + sizeof vih, masks, sizeof masks);
        return mt;
    }
    case PixelLayout::RGB555: return MakeVideoType(MEDIASUBTYPE_RGB555, width, height, 16, BI_RGB, avgTimePerFrame);
    case PixelLayout::YUY2:
        return MakeVideoType(MEDIASUBTYPE_YUY2, width, height < 0 ? -height : height, 16,
                             MAKEFOURCC('Y', 'U', 'Y', '2'), avgTimePerFrame);
    case PixelLayout::UYVY:
        return MakeVideoType(MEDIASUBTYPE_UYVY, width, height < 0 ? -height : height, 16,
                             MAKEFOURCC('U', 'Y', 'V', 'Y'), avgTimePerFrame);
    default: return CMediaType();
    }
}

GUID FourCCSubtype(DWORD fourcc)
{
    GUID g = {fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    return g;
}

bool IsMpeg4Subtype(const GUID& s)
{
    static const DWORD codes[] = {MAKEFOURCC('X', 'V', 'I', 'D'), MAKEFOURCC('x', 'v', 'i', 'd'),
                                  MAKEFOURCC('F', 'M', 'P', '4'), MAKEFOURCC('D', 'I', 'V', 'X'),
                                  MAKEFOURCC('D', 'X', '5', '0'), MAKEFOURCC('M', 'P', '4', 'V')};
    for (DWORD c : codes) {
        const GUID g = FourCCSubtype(c);
        if (IsEqualGUID(s, g))
            return true;
    }
    return false;
}

bool IsDvSubtype(const GUID& s)
{
    return IsEqualGUID(s, MEDIASUBTYPE_dvsd) || IsEqualGUID(s, MEDIASUBTYPE_dvsl) || IsEqualGUID(s, MEDIASUBTYPE_dvhd) ||
           IsEqualGUID(s, MEDIASUBTYPE_dv25) || IsEqualGUID(s, MEDIASUBTYPE_dv50);
}

bool DvInfoIsPal(const DVINFO& info) { return (info.dwDVVAuxSrc >> 21) & 1; }

int DvInfoSampleRate(const DVINFO& info)
{
    switch ((info.dwDVAAuxSrc >> 27) & 7) {
    case 1: return 44100;
    case 2: return 32000;
    default: return 48000;
    }
}

HRESULT RequestBuffers(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES* request, LONG buffers, LONG size,
                       LONG align)
{
    ALLOCATOR_PROPERTIES want = *request, got;
    if (want.cBuffers < buffers)
        want.cBuffers = buffers;
    if (want.cbBuffer < size)
        want.cbBuffer = size;
    if (want.cbAlign < align)
        want.cbAlign = align;
    HRESULT hr = allocator->SetProperties(&want, &got);
    if (FAILED(hr))
        return hr;
    return got.cbBuffer < size ? E_FAIL : S_OK;
}
