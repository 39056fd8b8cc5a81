// The program's side of the DIB bitmap: its files (BMP, DIB and Targa in, Targa, JPEG and raw
// out). The video control's copy of the class goes without them.
#include "BitmapDIB.h"
#include "DibFile.h"
#include "DibParse.h"
#include "SECJpeg.h"
#include <memory>
#include <vector>

BOOL CBitmapDIB::LoadFile(const CString& path, CDC* pDC, int nAlphaMode, int alpha)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
        AfxMessageBox(CString("Could not Open File:") + path);
        return FALSE;
    }
    CString upper(path);
    upper.MakeUpper();
    const CString ext = upper.Right(3);
    BOOL ok;
    bool targa = false;
    if (ext == "TGA") {
        ok = ReadTarga(file);
        targa = true;
    } else if (ext == "DIB" || ext == "BMP") {
        ok = ReadBmp(file, pDC);
    } else {
        CString text;
        text.Format("Unrecognized Graphic File Extension: %s", (LPCTSTR)upper);
        AfxMessageBox(text);
        ok = FALSE;
    }
    file.Close();
    if (!ok)
        return FALSE;
    const int w = m_nWidth - 1, h = m_nHeight - 1;
    if (nAlphaMode == 0) {
        SetAlpha(DWORD(alpha & 0xFF) << 24, 0, 0, w, h);
    } else if (nAlphaMode == 1) {
        GdiFlush();
        const DWORD key = targa ? m_pBits[0] : m_pBits[0] & 0x00FFFFFF;
        SetAlpha(0, 0, 0, w, h);
        SetAlphaByKey(DWORD(alpha & 0xFF) << 24, 0, 0, w, h, key & 0x00FFFFFF, 0x00FFFFFF, 0,
                      0x00FFFFFF);
    }
    return TRUE;
}

BOOL CBitmapDIB::ReadBmp(CFile& file, CDC* pDC)
{
    HDIB hDib = DibReadFile(file);
    if (!hDib) {
        AfxMessageBox(CString("Invalid BMP Format, file ") + file.GetFilePath());
        return FALSE;
    }
    LPSTR lpbi = static_cast<LPSTR>(GlobalLock(hDib));
    const int width = int(DibWidth(lpbi));
    const int height = abs(int(DibHeight(lpbi)));
    GlobalUnlock(hDib);
    // Top-down files make the same bottom-up section: GDI turns them upright when painting.
    CDC scratch;
    CDC* dc = pDC;
    if (!dc) {
        scratch.CreateCompatibleDC(NULL);
        dc = &scratch;
    }
    if (!Create(width, height, 32) || !dc->GetSafeHdc()) {
        GlobalFree(hDib);
        return FALSE;
    }
    CBitmap* oldBitmap = dc->SelectObject(this);
    CPalette palette;
    CPalette* oldPalette = NULL;
    if (DibCreatePalette(hDib, &palette)) {
        oldPalette = dc->SelectPalette(&palette, FALSE);
        dc->RealizePalette();
    }
    RECT rect = {0, 0, width, height};
    const int painted = DibPaint(dc->GetSafeHdc(), &rect, hDib, &rect, NULL);
    GdiFlush();
    GlobalFree(hDib);
    if (oldPalette)
        dc->SelectPalette(oldPalette, FALSE);
    dc->SelectObject(oldBitmap);
    return painted > 0;
}

BOOL CBitmapDIB::ReadTarga(CFile& file)
{
    const DWORD length = file.GetLength();
    std::vector<uint8_t> bytes(length);
    const UINT got = length ? file.Read(bytes.data(), length) : 0;
    dibparse::TargaInfo info;
    const dibparse::TargaResult result = dibparse::ReadTargaHeader(bytes.data(), got, &info);
    if (result == dibparse::kTargaUnhandled) {
        AfxMessageBox("Unhandled Targa Format");
        return FALSE;
    }
    if (result != dibparse::kTargaOk)
        return FALSE;
    // The file is read into the bitmap that exists (keeping its size); without one, a bitmap
    // of the file's size is made for it.
    if (!Ready() && !Create(info.width, info.height, 32))
        return FALSE;
    dibparse::CopyTargaPixels(bytes.data(), got, info, reinterpret_cast<uint32_t*>(m_pBits),
                              m_nWidth, m_nHeight);
    return TRUE;
}

BOOL CBitmapDIB::SaveTarga(const CString& path)
{
    if (!Ready())
        return FALSE;
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite)) {
        AfxMessageBox("");
        return FALSE;
    }
    BYTE header[18] = {};
    header[2] = 2;
    header[12] = BYTE(m_nWidth), header[13] = BYTE(m_nWidth >> 8);
    header[14] = BYTE(m_nHeight), header[15] = BYTE(m_nHeight >> 8);
    header[16] = 32;
    try {
        file.Write(header, sizeof header);
        for (int y = m_nHeight - 1; y >= 0; --y)
            file.Write(Line(y), UINT(m_nWidth) * 4);
        file.Close();
    } catch (CException* e) {
        e->Delete();
        file.Abort();
        return FALSE;
    }
    return TRUE;
}

BOOL CBitmapDIB::SaveAsJpeg(const CString& path, int quality)
{
    if (!m_hObject)
        return FALSE;
    CDC dc;
    if (!dc.CreateCompatibleDC(NULL))
        return FALSE;
    SECJpeg jpeg;
    if (!jpeg.CreateFromBitmap(&dc, this))
        return FALSE;
    jpeg.m_nQuality = quality;
    return jpeg.SaveImage(path);
}

BOOL CBitmapDIB::WriteRaw(CFile* file, int a, int b)
{
    if (!file || !Ready())
        return FALSE;
    const DWORD header[6] = {DWORD(a), DWORD(b), DWORD(m_nWidth), DWORD(m_nHeight), 0x0AA55701,
                             0};
    file->Write(header, sizeof header);
    file->Write(m_pBits, UINT(m_nWidth) * UINT(m_nHeight) * 4);
    return TRUE;
}
