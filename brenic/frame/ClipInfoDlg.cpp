#include "ClipInfoDlg.h"
#include "../video/Clavio.h"
#include "../video/Clip.h"
#include "../video/VideoWindow.h"
#include "Globals.h"
#include "MoreDlg.h"
#include "frame_dialogs_res.h"
#include "resource.h"

namespace
{
const double kDefaultFrameRate = 29.97;
} // namespace

CString FormatClipLength(int frames, double rate)
{
    if (!(rate > 0))
        rate = kDefaultFrameRate;
    const float seconds = (float)(frames / rate);
    const int whole = (int)seconds;
    CString text;
    text.Format("%02d:%02d.%02d", (int)(seconds / 60), whole % 60,
                (int)((seconds - whole) * 100));
    return text;
}

CString ClipFolderOf(const CString& path)
{
    const int slash = path.ReverseFind('\\');
    return slash < 0 ? path : path.Left(slash + 1);
}

BEGIN_MESSAGE_MAP(CClipInfoDlg, CDialog)
    ON_BN_CLICKED(IDC_INFO_MORE, OnMore)
    ON_BN_CLICKED(IDC_INFO_PARTNER, OnShowPartner)
    ON_BN_CLICKED(IDC_INFO_TABS, OnShowTabs)
END_MESSAGE_MAP()

CClipInfoDlg::CClipInfoDlg(CWnd* parent) : CDialog(IDD_CLIP_INFO, parent), m_pClip(NULL) {}

void CClipInfoDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    if (!m_pClip)
        return;
    DDX_Control(pDX, IDC_INFO_IMPORTED, m_imported);
    DDX_Control(pDX, IDC_INFO_AUTOREC, m_autoRecorded);
    DDX_Control(pDX, IDC_INFO_IMPACT, m_impactTab);
    DDX_Control(pDX, IDC_INFO_PATH, m_clipPath);
    DDX_Control(pDX, IDC_INFO_SOUNDMARK, m_soundMark);
    DDX_Control(pDX, IDC_INFO_LENGTH, m_length);
    DDX_Control(pDX, IDC_INFO_COMMENT, m_comment);
    DDX_Control(pDX, IDC_INFO_TYPE, m_clipType);
    DDX_Control(pDX, IDC_INFO_SUBJECT, m_subject);
    DDX_Control(pDX, IDC_INFO_FILENAME, m_fileName);
    DDX_Control(pDX, IDC_INFO_LESSON, m_lesson);
    DDX_Control(pDX, IDC_INFO_CLUB, m_club);
    DDX_Control(pDX, IDC_INFO_VIEW, m_view);
    // The dialog only shows: what the user could change never reaches the clip.
    if (pDX->m_bSaveAndValidate)
        return;
    CClip* clip = m_pClip;
    CString subject;
    if (clip->m_nPersonID != -1)
        subject = clip->m_subject.m_LastName + ", " + clip->m_subject.m_FirstName;
    m_subject.SetWindowText(subject);
    m_clipType.SetWindowText(clip->m_strClipType);
    SetDlgItemInt(IDC_INFO_LESSON, clip->m_nLessonNbr);
    m_club.SetWindowText(clip->m_strClub);
    m_view.SetWindowText(clip->m_strView);
    m_comment.SetWindowText(clip->m_strComment);
    if (CWnd* partner = GetDlgItem(IDC_INFO_PARTNER))
        partner->EnableWindow(clip->IsComparison());
    CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    const double rate = video && video->GetSafeHwnd() ? video->GetFrameRate() : 0;
    m_length.SetWindowText(FormatClipLength(clip->GetTrimOut() - clip->GetTrimIn() + 1, rate));
    m_clipPath.SetWindowText(ClipFolderOf(clip->m_strVideoPath));
    m_fileName.SetWindowText(CClip::GetFileName(clip->m_strVideoPath));
    m_autoRecorded.SetCheck(clip->m_bAutoCap ? BST_CHECKED : BST_UNCHECKED);
    m_imported.SetCheck(clip->m_bImported ? BST_CHECKED : BST_UNCHECKED);
    CString text("None");
    const int impact = clip->GetTabCount() ? clip->GetTabPosition(clip->m_nImpactTab) : -1;
    if (impact >= 0)
        text.Format("%d", impact);
    m_impactTab.SetWindowText(text);
    text.Empty();
    if (clip->m_bAutoCap)
        text.Format("%d", clip->m_nSoundMarkField);
    m_soundMark.SetWindowText(text);
}

BOOL CClipInfoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_time.SetFormat(0);
    m_date.SetCustomFormat("MM/dd/yyyy");
    const COleDateTime first(1990, 1, 1, 0, 0, 0), last(2999, 12, 31, 23, 59, 59);
    m_time.SetMinMax(first, last, 1);
    m_date.SetMinMax(first, last, 2);
    m_time.AttachDateTime(IDC_INFO_TIME, this, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                          WS_EX_CLIENTEDGE);
    m_date.AttachDateTime(IDC_INFO_DATE, this, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                          WS_EX_CLIENTEDGE);
    if (m_pClip) {
        const COleDateTime& when = m_pClip->m_captureTime;
        if (when.GetStatus() != COleDateTime::valid) {
            m_time.SetNull(' ');
            m_date.SetNull(' ');
        } else {
            m_time.SetTime(when);
            m_date.SetDate(when);
        }
        CEditEx* edits[] = {&m_impactTab, &m_clipPath, &m_soundMark, &m_length,
                            &m_comment,   &m_clipType, &m_subject,   &m_fileName,
                            &m_lesson,    &m_club,     &m_view};
        for (CEditEx* edit : edits)
            edit->SetReadOnly(TRUE);
        m_autoRecorded.EnableWindow(FALSE);
        m_imported.EnableWindow(FALSE);
    }
    m_date.EnableWindow(FALSE);
    m_time.EnableWindow(FALSE);
    if (CWnd* frame = AfxGetMainWnd())
        frame->SendMessage(WM_COMMAND, ID_STOP_BUTTON);
    return TRUE;
}

void CClipInfoDlg::OnMore()
{
    CMoreDlg more(this);
    m_comment.GetWindowText(more.m_strText);
    more.DoModal();
}

void CClipInfoDlg::OnShowPartner()
{
    CClip* partner = m_pClip ? m_pClip->GetComparisonClip() : NULL;
    if (partner)
        partner->ShowInfo();
}

void CClipInfoDlg::OnShowTabs()
{
    if (!m_pClip)
        return;
    m_pClip->BuildTabString();
    CString tabs = m_pClip->m_strTabString;
    if (!tabs.IsEmpty())
        tabs = tabs.Left(tabs.GetLength() - 1);
    CString text;
    text.Format("Current tab settings are (fields): %s", (LPCTSTR)tabs);
    AfxMessageBox(text, MB_ICONINFORMATION);
}
