// "Clip Information": the stored facts of one clip, shown read-only.
#pragma once
#include <afxwin.h>
#include "EditEx.h"
#include "SECDateTimeCtrl.h"

class CClip;

// The trimmed length of `frames` frames at `rate` frames per second as "mm:ss.hh"; a rate
// of 0 (no active video window) counts as 29.97.
CString FormatClipLength(int frames, double rate);
// The folder part of a path, up to and including its last backslash; the whole path
// without one.
CString ClipFolderOf(const CString& path);

class CClipInfoDlg : public CDialog
{
public:
    explicit CClipInfoDlg(CWnd* parent = NULL);
    void SetClip(CClip* clip) { m_pClip = clip; }

    CButton m_imported;
    CButton m_autoRecorded;
    CEditEx m_impactTab;
    CEditEx m_clipPath;
    CEditEx m_soundMark;
    CEditEx m_length;
    CEditEx m_comment;
    CEditEx m_clipType;
    CEditEx m_subject;
    CEditEx m_fileName;
    CEditEx m_lesson;
    CEditEx m_club;
    CEditEx m_view;
    SECDateTimeCtrl m_date;
    SECDateTimeCtrl m_time;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    afx_msg void OnMore();
    afx_msg void OnShowPartner();
    afx_msg void OnShowTabs();
    DECLARE_MESSAGE_MAP()

    CClip* m_pClip;
};
