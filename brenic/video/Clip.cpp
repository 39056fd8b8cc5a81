#include "Clip.h"
#include <afxwin.h>
#include "AppConfig.h"
#include "Clavio.h"
#include "Globals.h"
#include "DatabaseMgr.h"
#include "Utility.h"
#include "VideoWindow.h"
#include "../frame/ClipBar.h"

CStringArray CClip::s_pendingImports;
BYTE CClip::s_bKeepTempFiles = FALSE;

BOOL CClip::ImportClipFiles(CString path, int)
{
    if (path.IsEmpty())
        return FALSE;
    s_pendingImports.Add(path);
    return TRUE;
}

CClip::CClip()
    : m_bDrawingModified(FALSE), m_bShowGraphics(FALSE), m_nLockOffset(0),
      m_captureTime(COleDateTime::GetCurrentTime()), m_strClub("Driver"), m_strView("Face on"),
      m_nLastDisplayPos(0), m_nLockPosition(0), m_nSoundMarkField(0), m_nCuePosition(0),
      m_strClipType("Swing"), m_nLessonNbr(0), m_bNew(TRUE), m_bAutoCap(FALSE),
      m_pComparisonClip(NULL), m_nTabCount(0), m_bFirstDisplay(TRUE), m_bNeedVideoInfo(FALSE),
      m_nFrames(0), m_nID(0), m_nPersonID(-1), m_nComparisonClipID(-1), m_bImported(FALSE),
      m_bMirror(FALSE), m_bModified(TRUE), m_nTrimIn(0), m_nTrimOut(0),
      m_bModifiedBeforeSave(TRUE), m_nImpactTab(5), m_bSaveAsComparison(FALSE)
{
    for (int i = 0; i < 8; ++i)
        m_nTabs[i] = 0;
    m_strGlobalID = NewGuidString();
    m_model.Reinitialize();
    m_model.SetOwnerClip(this);
    CClavio::RegisterLiveClip(this);
}

CClip::~CClip()
{
    CClavio::UnregisterLiveClip(this);
    if (g_pClavio)
        g_pClavio->OnClipDeleted(this);
    if (m_bNew && !s_bKeepTempFiles && !m_strVideoPath.IsEmpty() &&
        ::GetFileAttributesA(m_strVideoPath) != INVALID_FILE_ATTRIBUTES &&
        !::DeleteFileA(m_strVideoPath))
        ShowLastError();
    delete m_pComparisonClip;
}

int CClip::GetTabPosition(int i) const
{
    return i >= 0 && i < m_nTabCount ? m_nTabs[i] : -1;
}

void CClip::SetTabPosition(int i, int pos)
{
    if (i < 0 || i >= m_nTabCount)
        return;
    if (m_nTabs[i] != pos) {
        m_nTabs[i] = pos;
        SetModified(TRUE);
    }
}

void CClip::MoveTab(int i, int pos)
{
    if (i < 0 || i >= m_nTabCount)
        return;
    if (g_pAppConfig && g_pAppConfig->GetImpactTabRelative() && i == m_nImpactTab) {
        int delta = pos - m_nTabs[m_nImpactTab];
        for (int t = 0; t < m_nTabCount; ++t)
            m_nTabs[t] += delta;
        SetModified(TRUE);
    } else {
        SetTabPosition(i, pos);
    }
}

void CClip::SpreadTabsEvenly()
{
    m_nTabCount = 8;
    float step = (float)(2.0 * m_nTrimOut - 2.0 * m_nTrimIn) / (m_nTabCount - 1);
    for (int i = 0; i < m_nTabCount; ++i)
        m_nTabs[i] = (int)(i * step + 2 * m_nTrimIn);
    SetModified(TRUE);
}

void CClip::PlaceTabsAroundImpact()
{
    m_nTabCount = 8;
    static const int kAround[8] = {-65, -42, -17, -6, -2, 0, 3, 19};
    for (int i = 0; i < 8; ++i)
        m_nTabs[i] = m_nSoundMarkField + kAround[i];
    SetModified(TRUE);
}

void CClip::FitToVideoWindow(CVideoWindow* control)
{
    if (!control)
        return;
    if (m_bFirstDisplay && m_bNeedVideoInfo) {
        m_nTrimOut = control->GetTrimOut();
        m_nFrames = control->GetFrameCount();
        m_bNeedVideoInfo = FALSE;
        SpreadTabsEvenly();
    } else {
        int n = control->GetFrameCount();
        if (n > 0 && (m_nFrames > n || m_nTrimOut > n - 1)) {
            if (m_nFrames > n)
                m_nFrames = n;
            if (m_nTrimOut > n - 1)
                m_nTrimOut = n - 1;
        }
    }
    if (m_bFirstDisplay) {
        m_model.SetSize(CSize(608, 456));
        m_model.SetModified(FALSE);
        control->SetOverlayChanged(TRUE);
        control->InvalidateRect(NULL, FALSE);
        if (g_pClavio)
            g_pClavio->RedrawVideo();
        m_bFirstDisplay = FALSE;
    }
}

void CClip::SetTrimIn(int frame)
{
    if (frame < 0)
        frame = 0;
    if (frame != m_nTrimIn) {
        m_nTrimIn = frame;
        SetModified(TRUE);
    }
}

void CClip::SetTrimOut(int frame)
{
    if (frame < 0)
        frame = 0;
    if (frame != m_nTrimOut) {
        m_nTrimOut = frame;
        SetModified(TRUE);
    }
}

void CClip::SetMirror(BOOL mirror)
{
    m_bMirror = mirror;
    SetModified(TRUE);
}

BOOL CClip::IsModified() const
{
    return m_bModified || (m_pComparisonClip && m_pComparisonClip->IsModified());
}

void CClip::SetModified(BOOL modified)
{
    if (modified != m_bModified && CClipBar::GetClipBar())
        CClipBar::GetClipBar()->Refresh();
    if (!m_bModified)
        m_model.SetModified(FALSE);
    m_bModified = modified;
}

BOOL CClip::IsComparison() const
{
    return m_strClipType == "Comparison" && m_nComparisonClipID != -1;
}
