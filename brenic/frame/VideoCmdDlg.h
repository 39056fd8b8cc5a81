// The command palette's Video page: record mode and after-record mode, saving and loading a
// swing, live input, mirror, the views and locks, pan, snapshot, camera switching, the
// drawing tools, undo, clear and the default line colour.
#pragma once
#include "BaseBmpButton.h"
#include "BaseDialog.h"
#include "ObserverSvr.h"
#include "PaletteTools.h"

class CVideoCmdDlg : public CBaseDialog, public CObserverClient
{
public:
    explicit CVideoCmdDlg(CWnd* pParent = NULL);
    virtual ~CVideoCmdDlg();

    void SetGraphicsDlg(CGraphicsCmdDlg* page) { m_tools.m_pGraphicsDlg = page; }
    void ReleaseDrawingTools() { m_tools.Release(); }
    void RestoreDrawingTool(CBaseBmpButton* keep) { m_tools.Restore(keep); }
    void UpdateLineColorButtons(CBaseBmpButton* keep) { m_tools.UpdateColours(keep); }
    void UpdateViewButtons();
    void EnableLockButtons(BOOL enable);
    void SetRecordModeCaption(BOOL automatic);

    void OnClipLoaded() override;
    void OnPositionChanged() override;
    void OnVideoStateChanged() override;
    void OnUpdate() override;

    // The 27 bitmap buttons, in their order; by control id.
    enum { ButtonCount = 27 };
    static const UINT s_buttonIds[ButtonCount];
    CBaseBmpButton m_buttons[ButtonCount];
    CBaseBmpButton& Button(UINT id);
    CPaletteTools m_tools; // with the tools-released flag

    afx_msg void OnRecordMode();
    afx_msg void OnReplayMode(UINT id);
    afx_msg void OnSaveSwing();
    afx_msg void OnLoadSwing();
    afx_msg void OnLive();
    afx_msg void OnMirror();
    afx_msg void OnSingleView();
    afx_msg void OnComparisonView();
    afx_msg void OnSuccessiveFrames();
    afx_msg void OnLockImpact();
    afx_msg void OnLockScreens();
    afx_msg void OnPan();
    afx_msg void OnSelect();
    afx_msg void OnRotateLeft();
    afx_msg void OnClear();
    afx_msg void OnUndo();
    afx_msg void OnSnapshot();
    afx_msg void OnSwitchCameras();
    afx_msg void OnTool(UINT id);
    afx_msg void OnArrowTool() { OnTool(1137); }
    afx_msg void OnLineColor(UINT id);
    afx_msg void OnRecordMarks();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void StopShadowView();
    void ShowCameraState();
    CBaseBmpButton m_unused; // returned for an id of no button
};
