// A bitmap resource drawn with one colour left out: the colour of its top-left pixel.
#pragma once
#include "afxwin.h"

class CTransparentBitmap {
public:
    CTransparentBitmap();
    ~CTransparentBitmap();

    // From a resource name or number of this module; FALSE when there is no such bitmap.
    BOOL Load(LPCTSTR lpszResource);
    BOOL IsLoaded() const { return m_hBitmap != NULL; }
    void Free();

    int Width();
    int Height();
    COLORREF TransparentColor();
    // Draws the image at x, y of the target, the transparent colour left as it was.
    void Draw(CDC* pDC, int x, int y);

    HBITMAP m_hBitmap;
    HBITMAP m_hMask;
    HPALETTE m_hPalette;
    BOOL m_bHasPalette;

private:
    void ReadSize();
    void MakeMask();
    int m_nWidth, m_nHeight;
};
