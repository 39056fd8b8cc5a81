// The tabbed slider control: a horizontal position slider with a thumb and up to eight tab
// marks, shown as numbered buttons (tab mode 1) or as icons that Shift-drag moves (mode 2).
#pragma once
#include "afxctl.h"
#include "slider_model.h"

class CTabButton;

class CTabrelCtrl : public COleControl {
    DECLARE_DYNCREATE(CTabrelCtrl)
public:
    enum { kHoldTimer = 1, kHoldElapse = 10000 };

    CTabrelCtrl();
    virtual ~CTabrelCtrl();

    // Calls from the tab buttons; indices as noted.
    void SelectTab(int nIndex);    // from 0
    void HoldTab(int nTab);        // from 1: held, no timer yet
    void ArmHold(int nTab);        // from 1: held, ends after the hold timer
    void EndHold();
    void MoveTabToThumb(int nTab); // from 1

    // Dispatch members
    LONG GetLineSize();
    void SetLineSize(LONG n);
    LONG GetPageSize();
    void SetPageSize(LONG n);
    short GetTabMode();
    void SetTabMode(short n);
    BOOL GetTabAdjustEnable();
    void SetTabAdjustEnable(BOOL b);
    LONG GetTabCount();
    LONG AddTab(LONG nPosition);
    LONG GetRange();
    LONG GetThumbPosition();
    BOOL SetRange(LONG nRangeMin, LONG nRangeMax);
    BOOL SetTabPosition(LONG nIndex, LONG nNewPosition);
    LONG GetTabPosition(LONG nIndex);
    BOOL SetPos(LONG nPosition);
    BOOL DeleteTab(LONG nIndex);
    void SetTransparent(BOOL bFlag);
    void SetAltThumb(LONG nSel);
    void AboutBox();

    // Events
    void FireThumbClicked(LONG nPos) { FireEvent(1, EVENT_PARAM(VTS_I4), nPos); }
    void FireTabClicked(LONG nTab, LONG nPos) { FireEvent(2, EVENT_PARAM(VTS_I4 VTS_I4), nTab, nPos); }
    void FireThumbMoved(LONG nPos) { FireEvent(3, EVENT_PARAM(VTS_I4), nPos); }
    void FireTabMoved(LONG nTab, LONG nPos) { FireEvent(4, EVENT_PARAM(VTS_I4 VTS_I4), nTab, nPos); }

    virtual void OnDraw(CDC* pDC, const CRect& rcBounds, const CRect& rcInvalid) override;
    virtual void DoPropExchange(CPropExchange* pPX) override;
    virtual DWORD GetControlFlags() override;
    virtual BOOL IsSubclassedControl() override { return TRUE; }
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    virtual BOOL PreTranslateMessage(MSG* pMsg) override;

    CTabrelModel m_model;
    CTabButton* m_pButtons[CTabrelModel::kMaxTabs];
    BOOL m_bThumbDrag;
    BOOL m_bHeld;
    int m_nHeldTab; // from 1
    BOOL m_bHasFocus;
    HICON m_hThumbIcon;
    HICON m_hTabIcon;

protected:
    // Brings the geometry up to the window's present size.
    void UpdateGeometry();
    // Repaints the control and, when it is transparent, the container under it.
    void Repaint();
    void MoveThumbTo(int nPos);
    void PlaceButtons();

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnOcmCommand(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    DECLARE_OLECREATE_EX(CTabrelCtrl)
    DECLARE_OLETYPELIB(CTabrelCtrl)
    DECLARE_PROPPAGEIDS(CTabrelCtrl)
    DECLARE_DISPATCH_MAP()
    DECLARE_EVENT_MAP()
};

// The type library the control and its module describe themselves with.
extern const GUID LIBID_TabrelLib;
