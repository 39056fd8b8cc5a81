// Streams an AVI video stream through an installable codec's draw handler into a window:
// the codec is given frames ahead of time in a ring of buffers and shows them itself.
#pragma once
#include <afxwin.h>
#include <vfw.h>
#include <vector>

class CIcDraw
{
public:
    CIcDraw();
    ~CIcDraw();

    // Opens the video codec of the handler for drawing the stream into the window; TRUE
    // only when the codec can draw (VIDCF_DRAW) and accepted the stream's format.
    BOOL Open(DWORD fccHandler, PAVISTREAM stream, HWND window);
    BOOL CanDraw() const { return m_bCanDraw; }
    // Hands the codec as many frames as it wants buffers from frame on, one frame at a time
    // in the direction (+1 or -1) and staying in first..last, then starts it.
    BOOL Start(LONG frame, int direction, LONG first, LONG last);
    // Reads the next frame into the next buffer and has the codec draw it.
    BOOL DrawNext();
    // The frame DrawNext reads next.
    LONG GetFrame() const { return m_lFrame; }
    // Flushes, stops and ends drawing and gives the window's DC back.
    void Stop();
    void Close();

private:
    BOOL ReadAndDraw(LONG frame, DWORD flags);
    LONG Clamp(LONG frame) const;

    DWORD m_fccType;
    DWORD m_fccHandler;
    HIC m_hic;
    PAVISTREAM m_pStream;
    std::vector<BYTE> m_format;
    DWORD m_dwRate, m_dwScale;
    std::vector<std::vector<BYTE>> m_buffers;
    BOOL m_bCanDraw;
    BOOL m_bDrawing;
    HWND m_hWnd;
    HDC m_hDC;
    LONG m_lFirst, m_lLast, m_lFrame;
    int m_nDirection;
    size_t m_nNext;
    LONG m_lTime;
};
