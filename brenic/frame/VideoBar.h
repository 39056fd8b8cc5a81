// The video bar: a docking bar holding the playback panel (play and slow play both ways,
// field steps, stop, automatic capture, continuous playback, trim, the tabbed position
// slider with the clip's tab marks and the position counter).
#pragma once
#include "BaseBmpButton.h"
#include "BaseDialog.h"
#include "ObserverSvr.h"
#include "SECControlBar.h"
#include "StaticEx.h"
#include "TabrelEx.h"

class CVideoBarDlg : public CBaseDialog, public CObserverClient
{
public:
    explicit CVideoBarDlg(CWnd* pParent = NULL);
    virtual ~CVideoBarDlg();

    void ShowPosition(int position);
    void ShowSliderPosition();
    void DeleteAllTabs();
    void AddClipTabs();
    void RebuildTabs();
    void UpdateTabPositions();
    void ClickRecord(int mode);
    void ClickSlider();
    void EnableTabAdjust(BOOL enable);
    void JumpTab();
    void StartSlowPlay();
    void StartPlay();

    void OnClipLoaded() override;
    void OnPositionChanged() override;
    void OnVideoStateChanged() override;

    CFont m_font;
    int m_nJumpToggle;
    CBaseBmpButton m_btnPlayBackwards, m_btnPlay;
    CStaticEx m_counter;
    CBaseBmpButton m_btnTrim, m_btnContinuous, m_btnRecord, m_btnSlowPlayBackwards;
    CBaseBmpButton m_btnStepBack, m_btnStop, m_btnStepForward, m_btnTrash, m_btnSlowPlay;
    CTabrelEx m_slider;

    afx_msg void OnPlay();
    afx_msg void OnPlayBackwards();
    afx_msg void OnSlowPlay();
    afx_msg void OnSlowPlayBackwards();
    afx_msg void OnStepForward();
    afx_msg void OnStepBack();
    afx_msg void OnStop();
    afx_msg void OnRecord();
    afx_msg void OnContinuous();
    afx_msg void OnTrim();
    void OnThumbMoved(long position);
    void OnTabMoved(long tab, long position);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg LRESULT OnButtonHeld(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnButtonReleased(WPARAM wParam, LPARAM lParam);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    enum Transport { PlayForward, PlayBack, SlowForward, SlowBack, StepForward, StepBack };
    void Transport(int what);
    void GoTo(int position);
    CBrush m_counterBrush;
};

class CVideoBar : public SECControlBar
{
public:
    CVideoBar();
    virtual ~CVideoBar();

    CVideoBarDlg m_dlg;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};

// The program's video bar, NULL while there is none.
extern CVideoBar* g_pVideoBar;
