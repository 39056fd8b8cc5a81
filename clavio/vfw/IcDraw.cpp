#include "IcDraw.h"

namespace {
const int kReferenceWidth = 608, kReferenceHeight = 456;
const DWORD kDefaultBuffers = 8;
// More buffers than this are not given to a codec that asks for them.
const DWORD kMostBuffers = 64;
}

CIcDraw::CIcDraw()
    : m_fccType(ICTYPE_VIDEO), m_fccHandler(0), m_hic(NULL), m_pStream(NULL), m_dwRate(0),
      m_dwScale(0), m_bCanDraw(FALSE), m_bDrawing(FALSE), m_hWnd(NULL), m_hDC(NULL), m_lFirst(0),
      m_lLast(0), m_lFrame(0), m_nDirection(1), m_nNext(0), m_lTime(0)
{
}

CIcDraw::~CIcDraw() { Close(); }

BOOL CIcDraw::Open(DWORD fccHandler, PAVISTREAM stream, HWND window)
{
    Close();
    if (!stream || !window)
        return FALSE;
    m_fccHandler = fccHandler;
    HIC query = ICOpen(m_fccType, fccHandler, ICMODE_QUERY);
    if (!query)
        return FALSE;
    ICINFO info = {};
    info.dwSize = sizeof info;
    const BOOL draws = ICGetInfo(query, &info, sizeof info) && (info.dwFlags & VIDCF_DRAW);
    ICClose(query);
    if (!draws)
        return FALSE;

    LONG size = 0;
    if (AVIStreamReadFormat(stream, 0, NULL, &size) != AVIERR_OK ||
        size < LONG(sizeof(BITMAPINFOHEADER)))
        return FALSE;
    m_format.assign(size, 0);
    if (AVIStreamReadFormat(stream, 0, m_format.data(), &size) != AVIERR_OK)
        return FALSE;
    AVISTREAMINFOA si = {};
    if (AVIStreamInfoA(stream, &si, sizeof si) != AVIERR_OK)
        return FALSE;
    m_dwRate = si.dwRate;
    m_dwScale = si.dwScale;

    m_hic = ICOpen(m_fccType, fccHandler, ICMODE_DRAW);
    if (!m_hic)
        return FALSE;
    m_hWnd = window;
    m_hDC = ::GetDC(window);
    auto* format = reinterpret_cast<BITMAPINFOHEADER*>(m_format.data());
    if (ICDrawBegin(m_hic, ICDRAW_HDC, NULL, window, m_hDC, 0, 0, kReferenceWidth,
                    kReferenceHeight, format, 0, 0, kReferenceWidth, kReferenceHeight, m_dwRate,
                    m_dwScale) != ICERR_OK) {
        Close();
        return FALSE;
    }
    m_bDrawing = TRUE;

    DWORD wanted = 0;
    if (ICGetBuffersWanted(m_hic, &wanted) != ICERR_OK || wanted == 0)
        wanted = kDefaultBuffers;
    if (wanted > kMostBuffers)
        wanted = kMostBuffers;
    DWORD image = format->biSizeImage;
    if (!image)
        image = DWORD(((format->biWidth * format->biBitCount + 31) / 32) * 4 *
                      abs(format->biHeight));
    m_buffers.assign(wanted, std::vector<BYTE>(image));
    m_pStream = stream;
    AVIStreamAddRef(stream);
    m_bCanDraw = TRUE;
    return TRUE;
}

LONG CIcDraw::Clamp(LONG frame) const
{
    return frame < m_lFirst ? m_lFirst : frame > m_lLast ? m_lLast : frame;
}

BOOL CIcDraw::ReadAndDraw(LONG frame, DWORD flags)
{
    std::vector<BYTE>& buffer = m_buffers[m_nNext];
    LONG bytes = 0;
    if (AVIStreamRead(m_pStream, frame, 1, buffer.data(), LONG(buffer.size()), &bytes, NULL) !=
        AVIERR_OK)
        return FALSE;
    ICDraw(m_hic, flags, m_format.data(), buffer.data(), DWORD(bytes), m_lTime++);
    m_nNext = (m_nNext + 1) % m_buffers.size();
    return TRUE;
}

BOOL CIcDraw::Start(LONG frame, int direction, LONG first, LONG last)
{
    if (!m_bDrawing || first > last)
        return FALSE;
    m_lFirst = first;
    m_lLast = last;
    m_nDirection = direction < 0 ? -1 : 1;
    m_lFrame = Clamp(frame);
    m_lTime = 0;
    m_nNext = 0;
    for (size_t i = 0; i < m_buffers.size(); ++i) {
        ReadAndDraw(m_lFrame, ICDRAW_PREROLL);
        m_lFrame = Clamp(m_lFrame + m_nDirection);
    }
    RECT screen = {0, 0, kReferenceWidth, kReferenceHeight};
    ::ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&screen));
    screen.right = screen.left + kReferenceWidth;
    screen.bottom = screen.top + kReferenceHeight;
    ICDrawWindow(m_hic, &screen);
    ICDrawStart(m_hic);
    return TRUE;
}

BOOL CIcDraw::DrawNext()
{
    if (!m_bDrawing)
        return FALSE;
    const BOOL drawn = ReadAndDraw(Clamp(m_lFrame), 0);
    m_lFrame = Clamp(m_lFrame + m_nDirection);
    return drawn;
}

void CIcDraw::Stop()
{
    if (m_hic && m_bDrawing) {
        ICDrawFlush(m_hic);
        ICDrawStop(m_hic);
        ICDrawEnd(m_hic);
        m_bDrawing = FALSE;
    }
    if (m_hDC)
        ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = NULL;
}

void CIcDraw::Close()
{
    Stop();
    if (m_hic)
        ICClose(m_hic);
    m_hic = NULL;
    if (m_pStream)
        AVIStreamRelease(m_pStream);
    m_pStream = NULL;
    m_buffers.clear();
    m_format.clear();
    m_bCanDraw = FALSE;
}
