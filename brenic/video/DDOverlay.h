// A picture in a hardware overlay surface of the display card: the DirectDraw object, the
// primary surface, a 640 x 480 overlay surface filled with a bitmap resource (packed YUV on a
// YUV surface), placed on the screen and clipped to a window. Nothing in the program makes
// one; on a card without overlays (as everywhere here) the overlay surface is never made.
#pragma once
#include <afxwin.h>
#include <ddraw.h>

class CDDOverlay
{
public:
    CDDOverlay();
    virtual ~CDDOverlay();

    BOOL Init();
    HRESULT CreatePrimarySurface();
    BOOL CreateOverlaySurface();
    BOOL LoadImageOntoSurface(IDirectDrawSurface* surface, UINT bitmapId);
    BOOL CopyBitmapToYUVSurface(IDirectDrawSurface* surface, HBITMAP bitmap);
    BOOL UpdateOverlay();
    BOOL HideOverlay();
    BOOL RestoreSurfaces();
    void ReleaseAll();
    BOOL HasOverlaySupport();
    BOOL SetWindow(CWnd* wnd);
    BOOL SetWindow(HWND hwnd);
    BOOL SetOverlayRect(int left, int top, int right, int bottom);
    BOOL SetPosition(int x, int y);

    // Source and destination rectangles and flags of an overlay update for the driver's
    // capabilities, the position and the overlay rectangle.
    static void OverlayPlacement(const DDCAPS& caps, int x, int y, const RECT& overlay,
                                 RECT* source, RECT* destination, DWORD* flags,
                                 DDOVERLAYFX* fx);
    // One pair of pixels as four packed-YUV bytes in the order of the FOURCC ("YUY2":
    // Y0 U Y1 V, "UYVY": U Y0 V Y1); FALSE (nothing written) for another FOURCC.
    static BOOL PackYuvPair(COLORREF first, COLORREF second, DWORD fourCC, BYTE out[4]);

    IDirectDraw2* m_pDD;
    IDirectDrawSurface* m_pPrimary;
    IDirectDrawSurface* m_pOverlay;
    IDirectDrawClipper* m_pClipper;
    int m_nPosX, m_nPosY;
    RECT m_rcOverlay;
};
