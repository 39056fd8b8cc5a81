// A numbered tab button of the slider (tab mode 1): a click selects its tab, holding the
// left button a second holds the tab for the next thumb drag, holding the right button half
// a second moves the tab to the thumb.
#pragma once
#include "bmpbutton.h"

class CTabrelCtrl;

class CTabButton : public CBaseBmpButton {
    DECLARE_DYNAMIC(CTabButton)
public:
    enum { kMoveTimer = 2, kMoveElapse = 500 };

    CTabButton();
    void SetControl(CTabrelCtrl* pControl) { m_pControl = pControl; }
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = NULL) override;
    virtual BOOL OnHold() override;
    // The face of a tab that is no longer held.
    void RestoreFace();

    int m_nTabIndex; // the slot, from 0
    CTabrelCtrl* m_pControl;
    BOOL m_bHoldPending;
    BOOL m_bAdjustEnabled;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()
};
