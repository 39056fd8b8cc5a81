// The palette's Vistrel page: the shadow-view panel (shadow view, club tracking, drawing
// tools, line colours) shown over the page, and the blend page kept hidden.
#pragma once
#include "BaseBmpButton.h"
#include "BaseDialog.h"
#include "ObserverSvr.h"
#include "OverlayEffDlg.h"
#include "PaletteTools.h"

class CGraphicsCmdDlg;

class CShadowEffDlg : public CBaseDialog, public CObserverClient
{
public:
    explicit CShadowEffDlg(CWnd* pParent = NULL);
    virtual ~CShadowEffDlg();

    void SetGraphicsDlg(CGraphicsCmdDlg* page) { m_tools.m_pGraphicsDlg = page; }
    BOOL CanEnableVistrel();
    void ReleaseDrawingTools() { m_tools.Release(); }
    void RestoreDrawingTool(CBaseBmpButton* keep) { m_tools.Restore(keep); }
    void UpdateLineColorButtons(CBaseBmpButton* keep) { m_tools.UpdateColours(keep); }

    void OnClipLoaded() override;
    void OnVideoStateChanged() override;

    // The bitmap buttons by control id (NULL for another id).
    CBaseBmpButton* Button(UINT id) { return m_tools.Button(id); }

    CBaseBmpButton m_btnPan, m_btnBlack, m_btnBlue, m_btnGreen, m_btnRed, m_btnYellow;
    CBaseBmpButton m_btnVLine, m_btnFreehand, m_btnMultiline;
    CButton m_btnAdvanced;
    CBaseBmpButton m_btnSnapshot, m_btnRotateLeft, m_btnProtractor, m_btnArrow, m_btnLoad;
    CButton m_btnClear;
    CBaseBmpButton m_btnSelect, m_btnRect, m_btnLine, m_btnCircle, m_btnClubTracker;
    CBaseBmpButton m_btnVistrel;
    int m_nMix;
    int m_nSkip;
    CPaletteTools m_tools; // with the tools-released flag

    afx_msg void OnVistrel();
    afx_msg void OnClubTracker();
    afx_msg void OnClearTracker();
    afx_msg void OnAdvancedSettings();
    afx_msg void OnLoadSwing();
    afx_msg void OnSnapshot();
    afx_msg void OnTool(UINT id);
    afx_msg void OnArrowTool() { OnTool(1137); }
    afx_msg void OnSelect();
    afx_msg void OnPan();
    afx_msg void OnRotateLeft();
    afx_msg void OnClearGraphics();
    afx_msg void OnUndo();
    afx_msg void OnLineColor(UINT id);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void RefreshModeButtons(BOOL liveOfActive);
};

class CEffectsCmdDlg : public CBaseDialog, public CObserverClient
{
public:
    explicit CEffectsCmdDlg(CWnd* pParent = NULL);
    virtual ~CEffectsCmdDlg();

    CShadowEffDlg m_shadow;
    COverlayEffDlg m_blend;

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    DECLARE_MESSAGE_MAP()
};
