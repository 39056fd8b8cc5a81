// Media types of the layer's video and audio pins, and what they say.
#pragma once
#include "streams.h"

// A video type with a VIDEOINFOHEADER: uncompressed RGB/YUV when compression is BI_RGB or
// a FourCC of a YUV layout, compressed (DV) otherwise. Positive heights are bottom-up.
CMediaType MakeVideoType(const GUID& subtype, LONG width, LONG height, WORD bitCount, DWORD compression,
                         REFERENCE_TIME avgTimePerFrame, DWORD sampleSize = 0);
CMediaType MakePcmType(int sampleRate, int channels, int bitsPerSample);

// The VIDEOINFOHEADER of a type (also the leading part of a VIDEOINFOHEADER2), or null.
const VIDEOINFOHEADER* VideoInfo(const AM_MEDIA_TYPE* mt);
const BITMAPINFOHEADER* BitmapHeader(const AM_MEDIA_TYPE* mt);
REFERENCE_TIME AvgTimePerFrame(const AM_MEDIA_TYPE* mt);

// Uncompressed layouts the layer converts between.
enum class PixelLayout { None, RGB32, RGB24, RGB565, RGB555, YUY2, UYVY };
PixelLayout LayoutOf(const AM_MEDIA_TYPE* mt);
// Bytes per row (DWORD-aligned for RGB) and per picture.
LONG RowBytes(PixelLayout layout, LONG width);
LONG ImageBytes(PixelLayout layout, LONG width, LONG height);
CMediaType MakeUncompressedType(PixelLayout layout, LONG width, LONG height, REFERENCE_TIME avgTimePerFrame);
bool IsDvSubtype(const GUID& subtype);
// The subtype of a FourCC (its code in the first field of the base media GUID).
GUID FourCCSubtype(DWORD fourcc);
// MPEG-4 Part 2 video, as the layer's compressor writes it ('XVID') or other writers name it.
bool IsMpeg4Subtype(const GUID& subtype);
const DWORD kMpeg4FourCC = MAKEFOURCC('X', 'V', 'I', 'D');

// Asks the allocator for at least the given number of buffers of at least the given size
// (and alignment) on top of what the downstream pin asked for; E_FAIL when it grants
// smaller buffers.
HRESULT RequestBuffers(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES* request, LONG buffers, LONG size,
                       LONG align = 1);

// The format block of interleaved DV (FORMAT_DvInfo): the audio and video auxiliary
// source and control packs of the stream.
#ifndef DVINFO_DEFINED
#define DVINFO_DEFINED
struct DVINFO {
    DWORD dwDVAAuxSrc;
    DWORD dwDVAAuxCtl;
    DWORD dwDVAAuxSrc1;
    DWORD dwDVAAuxCtl1;
    DWORD dwDVVAuxSrc;
    DWORD dwDVVAuxCtl;
    DWORD dwDVReserved[2];
};
#endif
// From the packs: 576 lines at 25 frames/s (the 50-field flag) or 480 at 29.97, and the
// audio sample rate (48000, 44100 or 32000).
bool DvInfoIsPal(const DVINFO& info);
int DvInfoSampleRate(const DVINFO& info);
