// The "Options" sheet and its General, Recording and Video pages. The sheet also carries
// the Sound Trigger, Keyboard and Color Scheme pages without adding them.
#pragma once
#include <afxwin.h>
#include <afxcmn.h>
#include <afxdlgs.h>
#include "ToolsSoundPropPage.h"
#include "ToolsKeyColorPages.h"

class CVideoWindow;

class CToolsGenPropPage : public CPropertyPage
{
    DECLARE_DYNCREATE(CToolsGenPropPage)
public:
    CToolsGenPropPage();

    CSliderCtrl m_lessonTimer;
    CSliderCtrl m_lessonExtend;
    int m_bAutoRewind;
    int m_bFrameCount;
    int m_bImpactTabRelative;
    int m_bNagEnable;
    int m_bFileAssoc;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    afx_msg void OnCheckChanged();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()
};

class CToolsRecPropPage : public CPropertyPage
{
    DECLARE_DYNCREATE(CToolsRecPropPage)
public:
    CToolsRecPropPage();

    int m_nPostFrames;
    int m_nPreFrames;
    CSliderCtrl m_beforeImpact;
    CSliderCtrl m_afterImpact;
    CSliderCtrl m_replays;
    CSliderCtrl m_cueHold;
    int m_bShowFrames;

    void UpdateTimeLabels();

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnShowFrames();
    DECLARE_MESSAGE_MAP()
};

class CToolsVideoPropPage : public CPropertyPage
{
    DECLARE_DYNCREATE(CToolsVideoPropPage)
public:
    CToolsVideoPropPage();

    CComboBox m_drivers;
    CSliderCtrl m_speed;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVideoSource();
    afx_msg void OnVideoFormat();
    afx_msg void OnVideoDisplay();
    afx_msg void OnDriverChanged();
    DECLARE_MESSAGE_MAP()

private:
    void ShowCaptureDialog(BOOL (CVideoWindow::*show)());
};

class CToolsSheet : public CPropertySheet
{
    DECLARE_DYNAMIC(CToolsSheet)
public:
    CToolsSheet(UINT nIDCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    CToolsSheet(LPCTSTR pszCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    virtual ~CToolsSheet();

    // The shown pages: General, Recording and Video.
    void AddPages();

    CToolsRecPropPage m_recPage;
    CToolsSoundPropPage m_soundPage;
    CToolsVideoPropPage m_videoPage;
    CToolsGenPropPage m_genPage;
    CToolsKeyBdPropPage m_keyPage;
    CToolsColorPropPage m_colorPage;

protected:
    DECLARE_MESSAGE_MAP()
};
