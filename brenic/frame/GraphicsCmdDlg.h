// The Graphics page of the command palette: skinned buttons for the telestrator's tools,
// rotation, zoom and pan, line colours, undo and redo, clearing and the graphics switch,
// sent to the current channel's drawing through the video manager.
#pragma once
#include "BaseBmpButton.h"
#include "BaseDialog.h"
#include "ObserverSvr.h"

class CGraphicsCmdDlg : public CBaseDialog, public CObserverClient
{
public:
    enum { IDD = 134 };
    explicit CGraphicsCmdDlg(CWnd* pParent = NULL);
    ~CGraphicsCmdDlg() override;

    // Drawing on the current channel on or off; the Graphics button follows the control.
    void EnableGraphics(BOOL enable);
    afx_msg void OnToggleGraphics();
    afx_msg void OnSelectObject();
    afx_msg void OnPanVideo();
    afx_msg void OnRotateLeft();
    afx_msg void OnClearGraphics();

    void OnClipLoaded() override;
    void OnPositionChanged() override {}
    void OnUpdate() override;

    // The button attached to a control id; NULL for another id.
    CBaseBmpButton* GetButton(UINT id);
    BOOL AreToolsReset() const { return m_bToolsReset; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnShowWindow(BOOL show, UINT status);
    DECLARE_MESSAGE_MAP()

    void ResetTools();
    void GraphicsOn();
    void Refresh();
    void ReselectTool(CBaseBmpButton* pressed);
    void OnToolButton(UINT id);
    void OnColorButton(UINT id);
    void UpdateColorButtons(CBaseBmpButton* pressed);
    void OnDrawingProperties();
    LRESULT Send(UINT command);

    CBaseBmpButton m_buttons[27];
    CBaseBmpButton m_spare;  // image 250, never attached
    BOOL m_bToolsReset;
};
