// The JPEG image's side of the codec: the file as the codec's stream (file exceptions become
// failed reads and writes, so none crosses the library), the in-memory image as its target,
// and the image's rows expanded to blue, green, red for writing.
#include "SECJpeg.h"
#include "SECJpegCodec.h"
#include <cstring>
#include <vector>

IMPLEMENT_SERIAL(SECJpeg, CObject, 1)

namespace {

const ULONGLONG kMaxPixelBytes = 512ull << 20;
const int kMaxSide = 1 << 16;

class FileStream : public SECJpegStream {
public:
    explicit FileStream(CFile* pFile) : m_pFile(pFile) {}
    long ReadBytes(unsigned char* buf, unsigned long count) override
    {
        try {
            return (long)m_pFile->Read(buf, (UINT)count);
        } catch (CException* e) {
            e->Delete();
            return -1;
        }
    }
    bool WriteBytes(const unsigned char* buf, unsigned long count) override
    {
        try {
            m_pFile->Write(buf, (UINT)count);
            return true;
        } catch (CException* e) {
            e->Delete();
            return false;
        }
    }
    bool Flush() override
    {
        try {
            m_pFile->Flush();
            return true;
        } catch (CException* e) {
            e->Delete();
            return false;
        }
    }

private:
    CFile* m_pFile;
};

// Blocks for the decoded image, handed to the image once decoding has succeeded.
class ImageTarget : public SECJpegTarget {
public:
    ~ImageTarget() override
    {
        if (hPixels != NULL) {
            ::GlobalUnlock(hPixels);
            ::GlobalFree(hPixels);
        }
        if (hInfo != NULL) {
            ::GlobalUnlock(hInfo);
            ::GlobalFree(hInfo);
        }
    }
    unsigned char* Prepare(int width, int height, int bits) override
    {
        if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
            return NULL;
        ULONGLONG bytes = (ULONGLONG)SECPixelImage::RowBytes(bits, width, TRUE) * height;
        WORD colours = bits == 8 ? 256 : 0;
        if (bytes > kMaxPixelBytes)
            return NULL;
        hPixels = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (SIZE_T)bytes);
        hInfo = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                              sizeof(BITMAPINFOHEADER) + 4 * colours);
        if (hPixels == NULL || hInfo == NULL)
            return NULL;
        info = (BITMAPINFO*)::GlobalLock(hInfo);
        info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info->bmiHeader.biWidth = width;
        info->bmiHeader.biHeight = height;
        info->bmiHeader.biPlanes = 1;
        info->bmiHeader.biBitCount = (WORD)bits;
        info->bmiHeader.biCompression = BI_RGB;
        return (unsigned char*)::GlobalLock(hPixels);
    }
    void SetColour(int index, unsigned char blue, unsigned char green, unsigned char red) override
    {
        info->bmiColors[index] = {blue, green, red, 0};
    }
    void HandTo(SECPixelImage& image)
    {
        ::GlobalUnlock(hPixels);
        ::GlobalUnlock(hInfo);
        image.Attach(hInfo, hPixels);
        hInfo = hPixels = NULL;
    }

    HGLOBAL hPixels = NULL;
    HGLOBAL hInfo = NULL;
    BITMAPINFO* info = NULL;
};

// The image's rows, top first, as blue, green, red bytes.
class ImageRows : public SECJpegRows {
public:
    explicit ImageRows(const SECPixelImage& image)
        : m_image(image), m_row((size_t)image.m_nWidth * 3) {}
    const unsigned char* Row(int fromTop) override
    {
        const SECPixelImage& img = m_image;
        const BYTE* src = img.m_lpSrcBits + (size_t)(img.m_nHeight - 1 - fromTop) *
                                                (img.m_bRowsAligned ? img.AlignedRowBytes()
                                                                    : img.PackedRowBytes());
        if (img.m_nBitCount == 24)
            return src;
        BYTE* out = m_row.data();
        for (int x = 0; x < img.m_nWidth; x++, out += 3) {
            switch (img.m_nBitCount) {
            case 1: case 4: case 8: {
                int index = img.m_nBitCount == 8   ? src[x]
                            : img.m_nBitCount == 4 ? ((x & 1) ? src[x >> 1] & 15 : src[x >> 1] >> 4)
                                                   : (src[x >> 3] >> (7 - (x & 7))) & 1;
                const RGBQUAD& q = img.m_lpRGB[index < img.m_nColors ? index : 0];
                out[0] = q.rgbBlue;
                out[1] = q.rgbGreen;
                out[2] = q.rgbRed;
                break;
            }
            case 16: {  // 5 bits each of red, green, blue
                unsigned v = src[2 * x] | src[2 * x + 1] << 8;
                out[0] = BYTE((v & 31) * 255 / 31);
                out[1] = BYTE(((v >> 5) & 31) * 255 / 31);
                out[2] = BYTE(((v >> 10) & 31) * 255 / 31);
                break;
            }
            default:  // 32 bits: blue, green, red and an unused byte
                memcpy(out, src + 4 * x, 3);
                break;
            }
        }
        return m_row.data();
    }

private:
    const SECPixelImage& m_image;
    std::vector<BYTE> m_row;
};

}  // namespace

SECJpeg::SECJpeg()
    : m_bQuantize(m_nDispColors != 0), m_nReserved(0), m_nQuality(75), m_nSmoothing(0),
      m_bOptimize(FALSE), m_bArithmetic(FALSE)
{
}

SECJpeg::~SECJpeg() {}

BOOL SECJpeg::DoRead(CFile* pFile)
{
    FileStream stream(pFile);
    ImageTarget target;
    // An 8-bit image only with quantisation: unquantised samples are three bytes a pixel.
    bool quantise = m_nDispColors != 0 && m_bQuantize;
    if (!SECJpegDecode(stream, quantise, target))
        return FALSE;
    target.HandTo(*this);
    return TRUE;
}

BOOL SECJpeg::DoWrite(CFile* pFile)
{
    if (m_lpSrcBits == NULL || m_lpBMI == NULL || m_nWidth <= 0 || m_nHeight <= 0)
        return FALSE;
    FileStream stream(pFile);
    ImageRows rows(*this);
    SECJpegSettings settings = {m_nQuality, m_nSmoothing, m_bOptimize != FALSE,
                                m_bArithmetic != FALSE};
    return SECJpegEncode(stream, m_nWidth, m_nHeight, settings, rows) ? TRUE : FALSE;
}
