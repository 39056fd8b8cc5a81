// A bitmap drawn either opaquely or with one colour left out: the colour of its top-left
// pixel. Every image of the program's bitmap buttons is one.
#pragma once
#include "BitmapDIB.h"

class CTransparentBitmap : public CBitmapDIB
{
public:
    CTransparentBitmap();
    virtual ~CTransparentBitmap();

    // A bitmap resource of the program's resource module, kept as a DIB section with a
    // palette of its colours; FALSE (and the object empty) when there is none.
    BOOL LoadResource(LPCTSTR name);
    BOOL LoadResource(UINT id) { return LoadResource(MAKEINTRESOURCE(id)); }
    // A BMP, DIB or TGA file through the DIB loader, which shows its own messages; no
    // palette. FALSE leaves the object empty.
    BOOL LoadFile(LPCTSTR path);

    BOOL IsLoaded() const { return m_hObject != NULL; }
    // Back to empty: bitmap, mask and palette deleted, size forgotten.
    void DeleteImage();
    int GetWidth();
    int GetHeight();

    using CBitmapDIB::Draw;
    // Top-left corner at (x, y); an empty object draws nothing.
    void Draw(CDC* pDC, int x, int y);
    void DrawTransparent(CDC* pDC, int x, int y);

    // The palette from the loaded bitmap's colour table (a halftone palette for bitmaps of
    // more than 256 colours); FALSE when there is no bitmap.
    BOOL CreatePaletteFromBitmap();
    BOOL HasPalette() const { return m_bPaletteValid; }
    CPalette& GetPalette() { return m_palette; }

private:
    static int ColourCount(DWORD used, WORD bitCount);
    BOOL BuildPalette(int colours);
    void ReadSize();
    void BuildMask(CDC* pTarget);

    int m_nImageWidth;
    int m_nImageHeight;
    HBITMAP m_hMask;
    CPalette m_palette;
    BOOL m_bPaletteValid;
};
