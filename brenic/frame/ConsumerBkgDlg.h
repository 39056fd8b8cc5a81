// The skinned main panel: the skin picture over the whole client area with its 33 bitmap
// buttons, the position slider and text and the clip panel. Every recording, replay, view,
// lock, mirror and drawing action of the coach starts here; the panel follows the video
// manager's notifications to keep its buttons, slider and text in step.
#pragma once
#include "BaseBmpButton.h"
#include "BaseDialog.h"
#include "ObserverSvr.h"
#include "StaticEx.h"
#include "TabrelEx.h"

class CClipBar;
class CClavio;

class CConsumerBkgDlg : public CBaseDialog, public CObserverClient
{
public:
    // The buttons in the order the skin sets them up.
    enum Button {
        Logo, Record, ManualAuto, CaptureTrigger, Trim, Replay, Pan, Email, SingleView,
        SplitView, Mirror, LockView, SnapShot, Live, DrawClear, DrawSelect, DrawLine,
        DrawMultiline, DrawText, DrawEllipse, DrawRect, DrawArrow, Button01, Button02,
        Button03, Button04, Button05, Button06, Play, SlowPlayRev, SlowPlay, StepRev, StepFwd,
        ButtonCount
    };
    // Skin names and control ids, in that order.
    static const char* const s_buttonNames[ButtonCount];
    static const UINT s_buttonIds[ButtonCount];

    explicit CConsumerBkgDlg(CWnd* pParent = NULL);
    virtual ~CConsumerBkgDlg();

    // Modeless, as a child of the view (the video manager is the program's, g_pClavio).
    using CBaseDialog::Create;

    void StopPlayback();
    void ClickRecord(int mode);
    void ClickCaptureTrigger();
    void ClickSlider();
    void ShowSliderPosition();
    void ShowPosition(int position);

    // Drawing tools.
    void SetGraphicsMode(BOOL show);
    void ReleaseDrawingTools();
    void RestoreDrawingTool(CBaseBmpButton* keep);
    void UpdateViewButtons();
    void EnableLockScreens(BOOL enable);

    // The File, Tools and Help popups of the menu buttons (Button01, 02 and 06): built into
    // the menu, FALSE for any other button; and where they open, in screen coordinates.
    BOOL BuildPopupMenu(int button, CMenu& menu);
    CPoint PopupPosition(int button);

    CBaseBmpButton& GetButton(int button) { return m_buttons[button]; }
    CStaticEx& GetPositionText() { return m_positionText; }
    CTabrelEx& GetSlider() { return m_slider; }
    CFont& GetPositionFont() { return m_font; }
    BYTE AreToolsReleased() const { return m_bToolsReleased; }

    // Notifications of the video manager's hub.
    void OnClipLoaded() override;
    void OnPositionChanged() override;
    void OnVideoStateChanged() override;
    void OnUpdate() override;

    // Button handlers the main frame also invokes (Play, Slow Play).
    afx_msg void OnPlay();
    afx_msg void OnSlowPlay();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg LRESULT OnButtonHeld(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnButtonReleased(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    afx_msg void OnRecord();
    afx_msg void OnManualAuto();
    afx_msg void OnCaptureTrigger();
    afx_msg void OnTrim();
    afx_msg void OnReplay();
    afx_msg void OnPan();
    afx_msg void OnEmail();
    afx_msg void OnSingleView();
    afx_msg void OnSplitView();
    afx_msg void OnMirror();
    afx_msg void OnLockView();
    afx_msg void OnSnapShot();
    afx_msg void OnLive();
    afx_msg void OnDrawClear();
    afx_msg void OnDrawSelect();
    afx_msg void OnDrawText();
    afx_msg void OnDrawTool(UINT id);
    afx_msg void OnDrawArrow();
    afx_msg void OnFileButton();
    afx_msg void OnToolsButton();
    afx_msg void OnHelpButton();
    void ShowPopup(int button);
    afx_msg void OnSaveButton();
    afx_msg void OnDatabaseButton();
    afx_msg void OnOptionsButton();
    afx_msg void OnSlowPlayRev();
    afx_msg void OnStepRev();
    afx_msg void OnStepFwd();
    afx_msg void OnSaveClip();
    afx_msg void OnDrawProperties();
    void OnThumbMoved(long position);
    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    enum PlayKind { PlayReal, PlaySlow, PlaySlowBackwards };
    void StartPlayback(PlayKind kind);
    void Step(int fields);
    BOOL IsCurrentPlaying() const;
    BOOL HasCurrentClip() const;
    void SetPlayLook(BOOL playing);
    void SendDrawCommand(UINT command);
    int ButtonIndex(CWnd* button) const;

public:
    CStaticEx m_positionText;
    CTabrelEx m_slider;
    CBaseBmpButton m_buttons[ButtonCount];
    BYTE m_bToolsReleased;

private:
    CFont m_font;
    CBrush m_positionBrush;
    CClipBar* m_pClipBar;
};
