// Packed DIBs (the in-memory form of a BMP file: header, colour table and pixels in one
// movable global block) and their files.
#pragma once
#include <afxwin.h>

typedef HGLOBAL HDIB;

// The DIB of a BMP file, or NULL when the file is no BMP, is short, or holds a header,
// colour table or pixel block that does not fit in the bytes there.
HDIB DibReadFile(CFile& file);
// Only for a DIB with an info header; throws the file's exception on write failure.
BOOL DibWriteFile(HDIB hDib, CFile& file);
int DibPaint(HDC hdc, LPRECT lpDCRect, HDIB hDib, LPRECT lpDIBRect, CPalette* pPal);
BOOL DibCreatePalette(HDIB hDib, CPalette* pPal);
LPSTR DibBitsPointer(LPSTR lpbi);
DWORD DibWidth(LPSTR lpbi);
DWORD DibHeight(LPSTR lpbi);
WORD DibColorTableSize(LPSTR lpbi);
WORD DibColorCount(LPSTR lpbi);
HGLOBAL DuplicateGlobalBlock(HGLOBAL hMem);
