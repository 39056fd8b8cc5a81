// The slider's bitmap push button: state images and two extra state images, a 3D frame,
// a check mode, and a press-and-hold report after one second.
#pragma once
#include "afxwin.h"
#include "transbmp.h"

#define WM_BUTTON_HOLD (WM_USER + 100)
#define WM_BUTTON_HOLD_END (WM_USER + 101)

class CBaseBmpButton : public CButton {
    DECLARE_DYNAMIC(CBaseBmpButton)
public:
    enum { kHoldTimer = 1, kHoldElapse = 1000 };
    static const COLORREF kHighlightColor = 2532038; // RGB(0xC6, 0xA2, 0x26)

    CBaseBmpButton();

    // Normal, pressed, focus and disabled images from bitmap resources; only the normal one
    // is required.
    BOOL LoadBitmaps(LPCTSTR lpszNormal, LPCTSTR lpszPressed = NULL, LPCTSTR lpszFocus = NULL,
                     LPCTSTR lpszDisabled = NULL);
    // Extra state image 1 or 2.
    BOOL LoadExtraBitmap(int nState, LPCTSTR lpszResource);
    void SetExtraState(int nState);
    int GetExtraState() const { return m_nExtraState; }
    void Set3DFrame(BOOL b) { m_b3DFrame = b; }
    void SetHighlight(BOOL b) { m_bHighlight = b; }
    void SetCheckMode(BOOL b) { m_bCheckMode = b; }
    BOOL GetCheckMode() const { return m_bCheckMode; }
    void SetCheckState(BOOL b) { m_bCheckState = b; }
    BOOL GetCheckState() const { return m_bCheckState; }
    BOOL IsHeld() const { return m_bHeld; }

    // Called when the button has been held down for a second; answering TRUE keeps the
    // parent from being told.
    virtual BOOL OnHold();

    // The image the button shows in a state (NULL when there is none).
    CTransparentBitmap* ImageFor(UINT nItemState);
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    virtual BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

protected:
    BOOL IsPressed(UINT nItemState) const;

    CTransparentBitmap m_images[4];
    CTransparentBitmap m_extra[2];
    int m_nExtraState;
    BOOL m_b3DFrame, m_bHighlight, m_bCheckMode, m_bCheckState;
    BOOL m_bHeld, m_bHoldReported;
    UINT m_nMouseFlags;
};
