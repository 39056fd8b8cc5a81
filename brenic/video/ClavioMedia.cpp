// Views, effects and media operations of the video manager: successive frames, shadow and
// blend views, drawing the view, snapshots, e-mail, trimming, transcoding and the checks of
// disk space, frame rates and display depth.
#include "Clavio.h"
#include <stdlib.h>
#include <afxdlgs.h>
#include "AppConfig.h"
#include "BitmapDIB.h"
#include "Clip.h"
#include "Globals.h"
#include "ProgressDlg.h"
#include "TabrelEx.h"
#include "Utility.h"
#include "VideoWindow.h"
#include "mail_launch.h"
#include "../frame/Lesson.h"

// Successive frames, shadow and blend

void CClavio::SetSuccessiveFramesView()
{
    if (!m_pActiveVideo)
        return;
    HaltChannels();
    if (m_nViewMode != 0)
        SetViewMode(0);
    m_pActiveVideo->SetOverlayChanged(TRUE);
    RedrawVideo();
    if (m_pCurrentClip && m_pCurrentClip->GetTabCount()) {
        LONG tabs[8];
        for (int i = 0; i < 8; ++i)
            tabs[i] = m_pCurrentClip->m_nTabs[i];
        m_pActiveVideo->SetSuccFramesSource(m_pCurrentClip->GetTabCount(), tabs);
        m_pActiveVideo->SetSuccFramesEnable(TRUE);
    }
    SetViewMode(2);
    RefreshDrawing(FALSE);
    if (m_pChannel[0]->GetLiveVideoMode())
        SetChannelLiveMode(m_pChannel[0], FALSE, FALSE);
    InvalidateViewVideoRect();
    NotifyUpdate();
}

void CClavio::LeaveSuccessiveFramesView()
{
    if (m_nLayout == 2)
        SetViewMode(-1);
}

void CClavio::EnableShadowView()
{
    if (!m_pActiveVideo)
        return;
    if (m_nViewMode != 1)
        SetViewMode(1);
    m_pActiveVideo->SetOverlayChanged(TRUE);
    RedrawVideo();
    if (m_pCurrentClip && m_pCurrentClip->GetTabCount())
        m_pActiveVideo->SetShadowViewEnable(TRUE);
    RefreshDrawing(FALSE);
    if (m_pChannel[0]->GetLiveVideoMode())
        SetChannelLiveMode(m_pChannel[0], FALSE, FALSE);
    InvalidateViewVideoRect();
    NotifyUpdate();
}

BOOL CClavio::IsShadowViewEnabled()
{
    return m_pActiveVideo ? m_pActiveVideo->GetShadowViewEnable() : FALSE;
}

BOOL CClavio::UpdateShadowTabs()
{
    if (!m_pCurrentClip || !m_pCurrentClip->GetTabCount() || !IsShadowViewEnabled())
        return FALSE;
    LONG tabs[8];
    for (int i = 0; i < 8; ++i)
        tabs[i] = m_pCurrentClip->m_nTabs[i];
    return m_pActiveVideo->SetShadowViewTabs(m_pCurrentClip->GetTabCount(), tabs);
}

void CClavio::EnableBlendView(BOOL on)
{
    if (m_pChannel[0])
        m_pChannel[0]->SetBlendViewEnable(on ? TRUE : FALSE);
}

BOOL CClavio::IsBlendViewEnabled()
{
    return m_pChannel[0] ? m_pChannel[0]->GetBlendViewEnable() : FALSE;
}

void CClavio::BlendFrame()
{
    if (!m_pChannel[0])
        return;
    if (m_pChannel[0]->GetLiveVideoMode())
        SetChannelLiveMode(m_pChannel[0], FALSE, FALSE);
    if (m_pClip[0] && m_pClip[1]) {
        m_pChannel[0]->BlendFrame();
        m_pChannel[1]->Seek(m_pChannel[1]->GetFieldPosition() / 2);
    }
    RefreshDrawing(FALSE);
    InvalidateViewVideoRect();
    NotifyUpdate();
}

BOOL CClavio::IsContinuousBlend()
{
    return m_pActiveVideo ? m_pActiveVideo->GetMergeContinousActive() != FALSE : FALSE;
}

void CClavio::SetContinuousBlend(BOOL on)
{
    if (m_pActiveVideo)
        m_pActiveVideo->SetMergeContinousActive(on);
}

void CClavio::SetSkipFields(short fields)
{
    if (m_pActiveVideo)
        m_pActiveVideo->SetSkipFields(fields);
}

void CClavio::StopEffects()
{
    Stop();
    for (int n = 0; n < 2; ++n) {
        if (!m_pChannel[n])
            continue;
        if (m_pChannel[n]->GetMergeContinousActive())
            m_pChannel[n]->SetMergeContinousActive(FALSE);
        if (m_pChannel[n]->GetShadowViewEnable())
            m_pChannel[n]->SetShadowViewEnable(FALSE);
    }
}

// Drawing the view and snapshots

BOOL CClavio::Draw(CDC* dc)
{
    if (!m_pActiveVideo || !dc)
        return TRUE;
    RECT rect = {0, 0, m_nClipWidth - 1, m_nClipHeight - 1};
    if (!IsSplitView()) {
        m_pActiveVideo->Draw((LONG*)dc, (LONG*)&rect);
        return TRUE;
    }
    m_pChannel[0]->Draw((LONG*)dc, (LONG*)&rect);
    CDC mem;
    mem.CreateCompatibleDC(NULL);
    CBitmapDIB bitmap;
    if (bitmap.Create(m_nClipWidth, m_nClipHeight, 32)) {
        CBitmap* old = mem.SelectObject(&bitmap);
        m_pChannel[1]->Draw((LONG*)&mem, (LONG*)&rect);
        // The right half of the comparison is the left half of channel 1's picture.
        dc->BitBlt(m_nClipWidth / 2, 0, m_nClipWidth / 2, m_nClipHeight, &mem, 0, 0, SRCCOPY);
        mem.SelectObject(old);
    }
    return TRUE;
}

int CClavio::GetHighestSnapshotNumber(LPCTSTR prefix)
{
    int highest = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA(CString(prefix) + "*", &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        // The last run of digits in the name; a name without one counts as 0.
        const char* name = found.cFileName;
        int end = (int)strlen(name);
        while (end > 0 && !isdigit((unsigned char)name[end - 1]))
            --end;
        int start = end;
        while (start > 0 && isdigit((unsigned char)name[start - 1]))
            --start;
        // A number too long for an int is not one of ours: it is passed over.
        if (end - start > 9)
            continue;
        int number = end > start ? atoi(CString(name + start, end - start)) : 0;
        if (number > highest)
            highest = number;
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return highest;
}

namespace {

// A name as a folder name: characters that names cannot hold become "_".
CString SafeFolderName(LPCTSTR name)
{
    CString safe(name);
    for (int i = 0; i < safe.GetLength(); ++i) {
        unsigned char c = (unsigned char)safe[i];
        if (c < 32 || strchr("\\/:*?\"<>|", c))
            safe.SetAt(i, '_');
    }
    safe.TrimLeft();
    safe.TrimRight();
    if (safe.IsEmpty() || safe == "." || safe == "..")
        safe = "_";
    return safe;
}

CString SubFolder(LPCTSTR base, LPCTSTR name)
{
    CString root = g_pAppConfig ? g_pAppConfig->GetInstallDir() : CString();
    root += base;
    ::CreateDirectoryA(root, NULL);
    CString folder = root + "\\" + SafeFolderName(name);
    ::CreateDirectoryA(folder, NULL);
    return folder;
}

} // namespace

CString CClavio::GetPhotosFolder(LPCTSTR name)
{
    return SubFolder("Photos", name);
}

CString CClavio::GetEmailFolder(LPCTSTR name)
{
    return SubFolder("VideoEmail", name);
}

BOOL CClavio::SaveSnapshot()
{
    CString student = g_pLesson ? g_pLesson->GetStudentName() : CString();
    if (student.IsEmpty())
        student = "No Lesson";
    CDC mem;
    mem.CreateCompatibleDC(NULL);
    RefreshOverlayBitmaps();
    CBitmapDIB bitmap;
    if (!bitmap.Create(m_nClipWidth, m_nClipHeight, 32))
        return FALSE;
    CBitmap* old = mem.SelectObject(&bitmap);
    Draw(&mem);
    mem.SelectObject(old);
    ::GdiFlush();

    CString prefix = GetPhotosFolder(student) + "\\snapshot";
    CString proposed;
    proposed.Format("%s_%d.jpg", (LPCTSTR)prefix, GetHighestSnapshotNumber(prefix) + 1);
    CFileDialog dialog(FALSE, "jpg", proposed, OFN_HIDEREADONLY,
                       "Image files (*.jpg)|*.jpg|All Files (*.*)|*.*||", this);
    dialog.m_ofn.lpstrTitle = "Save screen snapshot to file";
    if (dialog.DoModal() == IDOK)
        bitmap.SaveAsJpeg(dialog.GetPathName(), 100);

    if (!OpenClipboard()) {
        ::Sleep(50);
        if (!OpenClipboard())
            return FALSE;
    }
    ::EmptyClipboard();
    SIZE_T bytes = (SIZE_T)bitmap.m_nWidth * bitmap.m_nHeight * 4;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(BITMAPINFOHEADER) + bytes);
    if (block) {
        BYTE* p = (BYTE*)::GlobalLock(block);
        BITMAPINFOHEADER header = bitmap.m_bih;
        header.biSize = sizeof header;
        header.biHeight = header.biHeight < 0 ? -header.biHeight : header.biHeight;
        header.biSizeImage = (DWORD)bytes;
        memcpy(p, &header, sizeof header);
        memcpy(p + sizeof header, bitmap.m_pBits, bytes);
        ::GlobalUnlock(block);
        if (!::SetClipboardData(CF_DIB, block))
            ::GlobalFree(block);
    }
    ::CloseClipboard();
    return TRUE;
}

// E-mail

BOOL CClavio::EmailClip(LPCTSTR path)
{
    CString file(path ? path : "");
    CString name = file.Mid(file.ReverseFind('\\') + 1);
    CString body;
    if (!file.IsEmpty())
        body.Format("Attached is clip '%s'", (LPCTSTR)name);
    // The composer is given the file's Unix path.
    CString unixPath;
    if (!file.IsEmpty()) {
        typedef char*(CDECL * ToUnix)(LPCWSTR);
        ToUnix toUnix = (ToUnix)::GetProcAddress(::GetModuleHandleA("kernel32.dll"),
                                                 "wine_get_unix_file_name");
        WCHAR wide[MAX_PATH];
        ::MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH);
        char* converted = toUnix ? toUnix(wide) : NULL;
        if (converted) {
            unixPath = converted;
            ::HeapFree(::GetProcessHeap(), 0, converted);
        }
    }
    MailLaunchResult launched = LaunchMailComposer(file.IsEmpty() ? "" : (LPCTSTR)name, body,
                                                   unixPath, 10000);
    if (launched == MAIL_SENT_TO_COMPOSER)
        return TRUE;
    HINSTANCE result = ::ShellExecuteA(m_hWnd, "open", "mailto: ", "param", file, SW_SHOW);
    if ((INT_PTR)result < 32) {
        if (!file.IsEmpty()) {
            CString message;
            message.Format("When the email application is launched, please go to %s, and "
                           "attach the video manually",
                           (LPCTSTR)file);
            AfxMessageBox(message);
        }
        return FALSE;
    }
    return TRUE;
}

// Transcoding and trimming

BOOL CClavio::TranscodeClip(LPCTSTR source, LPCTSTR target)
{
    if (!m_pActiveVideo || !m_pActiveVideo->Transcode(source, target)) {
        AfxMessageBox("Transcode did not complete successfully.");
        ::DeleteFileA(target);
        return FALSE;
    }
    return TRUE;
}

BOOL CClavio::CanTrim()
{
    HMODULE d3d = ::LoadLibraryA("D3D8.DLL");
    if (!d3d) {
        AfxMessageBox("Need DirectX 8.0 or higher to do trimming");
        return FALSE;
    }
    ::FreeLibrary(d3d);
    return TRUE;
}

void CClavio::ShiftTabsAfterTrim(CClip* clip, int start)
{
    if (!clip)
        return;
    if (clip->m_bAutoCap) {
        // The whole tab set keeps its place around the impact in the shorter file.
        int shift = (clip->GetTrimIn() - start) * 2;
        int last = clip->GetTrimOut() * 2 + 1;
        for (int i = 0; i < clip->GetTabCount(); ++i) {
            int pos = clip->m_nTabs[i] + shift;
            clip->m_nTabs[i] = pos < 0 ? 0 : (pos > last ? last : pos);
        }
        clip->SetModified(TRUE);
    } else {
        clip->SpreadTabsEvenly();
    }
}

BOOL CClavio::ReplaceVideoFile(LPCTSTR trimmed, LPCTSTR original)
{
    // A rename in the same folder: the original is replaced whole or stays as it was.
    return ::MoveFileExA(trimmed, original, MOVEFILE_REPLACE_EXISTING);
}

BOOL CClavio::TrimClip(int start, int end)
{
    CClip* clip = m_pCurrentClip;
    if (!clip || !m_pActiveVideo)
        return FALSE;
    CString source = clip->m_strVideoPath;
    CString folder = source.Left(source.ReverseFind('\\'));
    char temp[MAX_PATH];
    if (!::GetTempFileNameA(folder, "TMP", 0, temp))
        return FALSE;
    CString target = temp;
    ::DeleteFileA(target);
    target = target.Left(target.GetLength() - 4) + ".avi";
    // The engine reports its own failures (and a cancel needs no message).
    if (!m_pActiveVideo->TrimFile(source, target, start, end)) {
        ::DeleteFileA(target);
        return FALSE;
    }
    CProgressDlg progress(FALSE);
    progress.SetMessage("Reloading trimmed clip...");
    progress.SetRange(6);
    progress.Show(this);
    LoadVideoFile("");
    progress.StepIt();
    if (!ReplaceVideoFile(target, source)) {
        AfxMessageBox("Could not rename file - trim was unsuccessful");
        ::DeleteFileA(target);
        LoadClip(clip);
        return FALSE;
    }
    progress.StepIt();
    progress.StepIt();
    LoadClip(clip);
    progress.StepIt();
    clip->SetTrimIn(m_pActiveVideo->GetTrimIn());
    clip->SetTrimOut(m_pActiveVideo->GetFrameCount() - 1);
    clip->m_nFrames = m_pActiveVideo->GetFrameCount();
    ShiftTabsAfterTrim(clip, start);
    ShowClipTabs(clip);
    // A stored clip's row follows its shorter file at once: loaded again before a save, it
    // would put the old trim and tabs into the new file.
    if (!clip->m_bNew)
        clip->UpdateDatabaseRecord(FALSE);
    progress.StepIt();
    progress.Complete();
    if (clip->m_nLastDisplayPos >= clip->GetTrimOut() * 2 - 2)
        SeekField(clip->GetTrimOut() * 2);
    else
        SeekField(0);
    return TRUE;
}

// Checks

BOOL CClavio::FrameRatesDiffer(double r0, double r1)
{
    return r0 > r1 + 0.05 * r1 || r0 < r1 - 0.05 * r1;
}

BOOL CClavio::HaveDifferentFrameRates()
{
    if (!m_pChannel[0] || !m_pChannel[1])
        return FALSE;
    return FrameRatesDiffer(m_pChannel[0]->GetFrameRate(), m_pChannel[1]->GetFrameRate());
}

int CClavio::NextDiskWarnLevel(int level, int p, int* warnAt)
{
    *warnAt = 0;
    if (p > 95 && level < 95)
        return *warnAt = 95;
    if (p > 85 && level < 85)
        return *warnAt = 85;
    if (p > 75 && level < 75)
        return *warnAt = 75;
    if (level != 0) {
        if (p < level - 10)
            level -= 10;
        if (level <= 65)
            level = 0;
    }
    return level;
}

void CClavio::CheckDiskSpace()
{
    if (m_nDiskWarnLevel == -1 || !g_pAppConfig)
        return;
    CString folder = g_pAppConfig->GetLocalCaptureDirectory();
    ULARGE_INTEGER available, total, free;
    if (!::GetDiskFreeSpaceExA(folder, &available, &total, &free)) {
        ShowLastError();
        m_nDiskWarnLevel = -1;
        return;
    }
    LONGLONG half = (LONGLONG)(total.QuadPart >> 1);
    LONGLONG avail = (LONGLONG)(available.QuadPart >> 1);
    if (half <= 0)
        return; // a disk reporting no size says nothing about its filling
    int p = (int)((double)(half - avail) / (double)half * 100.0);
    int warnAt = 0;
    m_nDiskWarnLevel = NextDiskWarnLevel(m_nDiskWarnLevel, p, &warnAt);
    if (!warnAt)
        return;
    CString drive = folder.Left(2);
    CString message;
    if (warnAt == 95)
        message.Format("You have filled more than %d%% of the capture hard drive (%s). Please "
                       "delete any unnecessary clips. This is your last warning before the "
                       "disk is full.",
                       95, (LPCTSTR)drive);
    else if (warnAt == 85)
        message.Format("You have filled more than %d%% of the capture hard drive (%s). Please "
                       "delete any unnecessary clips now.",
                       85, (LPCTSTR)drive);
    else
        message.Format("You have filled more than %d%% of the capture hard drive (%s). Please "
                       "delete any unnecessary clips.",
                       75, (LPCTSTR)drive);
    AfxMessageBox(message);
}

float CClavio::GetCompressionRatio()
{
    LONG_PTR address = m_pChannel[0] ? m_pChannel[0]->GetVideoFormat() : 0;
    if (!address)
        return -1.0f;
    const BITMAPINFOHEADER* header = (const BITMAPINFOHEADER*)address;
    if (!header->biSizeImage)
        return -1.0f;
    return (float)(2.0 * ((double)header->biWidth * header->biHeight * 2 / header->biSizeImage));
}

LONG CClavio::GetBytesPerField()
{
    LONG_PTR address = m_pChannel[0] ? m_pChannel[0]->GetVideoFormat() : 0;
    if (!address)
        return -1;
    return (LONG)(((const BITMAPINFOHEADER*)address)->biSizeImage / 2);
}

void CClavio::CheckDisplayDepth()
{
    CDC* dc = GetDC();
    if (!dc)
        return;
    int bits = dc->GetDeviceCaps(BITSPIXEL);
    ReleaseDC(dc);
    if (bits < 24)
        AfxMessageBox("The current display mode is neither 24 nor 32 bit color. This "
                      "application may not run properly in the current display mode. Please "
                      "exit this application and correct the problem in Window's Control "
                      "Panel");
}
