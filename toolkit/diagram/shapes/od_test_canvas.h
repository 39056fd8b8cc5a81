// Drawing surfaces for the tests of shapes and viewports: a 32-bit top-down DIB section on a
// memory DC, and a metafile saved to a temporary file.
#pragma once
#include <afxwin.h>

struct Canvas {
    CDC dc;
    HBITMAP bitmap = NULL;
    HGDIOBJ old = NULL;
    DWORD* bits = NULL;
    int w, h;
    Canvas(int width, int height, DWORD fill = 0xFFFFFF) : w(width), h(height)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc.CreateCompatibleDC(NULL);
        bitmap = CreateDIBSection(dc.GetSafeHdc(), &bi, DIB_RGB_COLORS, (void**)&bits, NULL, 0);
        old = ::SelectObject(dc.GetSafeHdc(), bitmap);
        for (int i = 0; i < w * h; ++i)
            bits[i] = fill;
    }
    ~Canvas()
    {
        ::SelectObject(dc.GetSafeHdc(), old);
        DeleteObject(bitmap);
    }
    // The pixel as a COLORREF.
    COLORREF At(int x, int y)
    {
        GdiFlush();
        DWORD p = bits[y * w + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

// Saves a metafile to a new temporary file (the caller deletes both) and returns its path.
inline CString SaveTestMetafile(HENHMETAFILE emf)
{
    char dir[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "emf", 0, path);
    DeleteEnhMetaFile(CopyEnhMetaFileA(emf, path));
    return path;
}
