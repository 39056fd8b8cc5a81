// The main frame's menu bar with a row of status fields at its right end: the view and
// club of the clip in the current channel (or of the next recordings) and the remaining
// lesson time. The frame hides it, but it keeps its fields current.
#pragma once
#include <afxwin.h>
#include "SECMenuBar.h"
#include "BaseBmpButton.h"
#include "ObserverSvr.h"

// Where the status fields go in a bar of cx x cy pixels (positions only; sizes are fixed).
struct MenuBarLayout
{
    int y;            // every field and label
    int logoX;        // the bitmap button, at y 0
    int viewX, clubX, viewLabelX, clubLabelX, nextLabelX, lessonLabelX, lessonX;
    BOOL fieldsShown; // the bar is wide enough for them
};
MenuBarLayout ComputeMenuBarLayout(int cx, int cy, int logoWidth, int clubLabelLength,
                                   BOOL nextRecording);
// "mm:ss" of a lesson's remaining seconds; time already run out reads 00:00.
CString FormatLessonTime(int seconds);

class CMenuBar : public SECMenuBar, public CObserverClient
{
    DECLARE_DYNAMIC(CMenuBar)
public:
    CMenuBar();
    virtual ~CMenuBar();

    void UpdateLessonTime();
    void ShowNextRecording(CString club, CString view);
    virtual void OnClipLoaded() override;
    virtual void OnUpdate() override;

    CBaseBmpButton m_logo;
    BOOL m_bFieldsShown;
    BOOL m_bNextRecording;
    CEdit m_view;
    CEdit m_club;
    CEdit m_lessonTime;
    CFont m_font;
    CStatic m_viewLabel;
    CStatic m_clubLabel;
    CStatic m_nextLabel;
    CStatic m_lessonLabel;

protected:
    void Relayout();
    void ShowClipFields();

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// The program's menu bar (NULL before the main frame exists).
extern CMenuBar* g_pMenuBar;
