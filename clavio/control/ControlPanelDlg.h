// The developer's test panel of the video control: a position slider, transport buttons, a
// clip loader, live, record and trigger. It drives the control only through the control's
// own dispatch members, as a container would.
#pragma once
#include <afxwin.h>
#include <afxcmn.h>

class CVideoWindowCtrl;

class CControlPanelDlg : public CDialog {
public:
    CControlPanelDlg();

    void UpdateFramesFields();
    void UpdateDisplay(bool moveSlider);

    BOOL m_bFramesMode;
    CVideoWindowCtrl* m_pCtrl;
    CSliderCtrl m_Slider;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    // The slider's range for the control's present frame count and the mode.
    void SetSliderRange();

    afx_msg void OnLoad();
    afx_msg void OnStepForward();
    afx_msg void OnStepBack();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnPlay();
    afx_msg void OnStop();
    afx_msg void OnPause();
    afx_msg void OnLive();
    afx_msg void OnRecord();
    afx_msg void OnTrigger();
    DECLARE_MESSAGE_MAP()
};
