// A bitmap drawn opaque or with the colour of its top-left pixel left transparent: the images
// of the skinned buttons.
#pragma once
#include "BitmapDIB.h"

class CTransparentBitmap : public CBitmapDIB
{
public:
    CTransparentBitmap();
    virtual ~CTransparentBitmap();

    // A bitmap resource of the program's module as a DIB section, with a palette from its
    // colour table (a halftone one above 256 colours); FALSE leaves the object empty.
    BOOL LoadResource(LPCTSTR lpszName);
    BOOL LoadResource(UINT nID) { return LoadResource(MAKEINTRESOURCE(nID)); }
    // A BMP, DIB or Targa file (the loader shows its own messages); no palette.
    BOOL LoadFile(LPCTSTR lpszPath);

    // Back to empty: bitmap, mask and palette deleted.
    void DeleteImage();

    int GetWidth();
    int GetHeight();
    void Draw(CDC* pDC, int x, int y);
    void DrawTransparent(CDC* pDC, int x, int y);
    BOOL CreatePaletteFromBitmap();

private:
    void ReadSize();
    void MakeMask(CDC* pTarget);

    int m_nBmpWidth;
    int m_nBmpHeight;
    HBITMAP m_hMask;
    CPalette m_palette;
    BOOL m_bPaletteValid;
};
