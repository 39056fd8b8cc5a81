// The command palette: a docking bar with a tab window of four pages (Lesson, Video,
// Graphics, Vistrel), and the Lesson and student pages.
#pragma once
#include "BaseDialog.h"
#include "EffectsCmdDlg.h"
#include "GraphicsCmdDlg.h"
#include "SECControlBar.h"
#include "SECTabWnd.h"
#include "VideoCmdDlg.h"

class CLessonDlg : public CBaseDialog
{
public:
    explicit CLessonDlg(CWnd* pParent = NULL);
    // The lesson's length and remaining time, and with the flag the student's texts.
    void UpdateTexts(BOOL student);

protected:
    BOOL OnInitDialog() override;

private:
    void Repaint(UINT id, int margin);
};

// Built with the palette, never given a window.
class CStudentVideoCmdDlg : public CBaseDialog
{
public:
    explicit CStudentVideoCmdDlg(CWnd* pParent = NULL);

protected:
    BOOL OnInitDialog() override;
};

class CCmdBar : public SECControlBar
{
public:
    CCmdBar();
    virtual ~CCmdBar();

    SEC3DTabWnd m_tabWnd;
    CLessonDlg m_lessonDlg;
    CVideoCmdDlg m_videoDlg;
    CGraphicsCmdDlg m_graphicsDlg;
    CStudentVideoCmdDlg m_studentDlg;
    CEffectsCmdDlg m_effectsDlg;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};

// The program's command palette, NULL while there is none.
extern CCmdBar* g_pCmdBar;
