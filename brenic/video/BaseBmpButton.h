// The skinned button of the panels: images for its states, a latching check mode, a pressed
// highlight colour, and a press-and-hold notification to its parent.
#pragma once
#include <afxwin.h>
#include <afxext.h>
#include "TransparentBitmap.h"

// Sent to the parent (wParam: the button object) after a second held down, and on release.
#define WM_BMPBUTTON_HELD (WM_USER + 100)
#define WM_BMPBUTTON_RELEASED (WM_USER + 101)

class CBaseBmpButton : public CBitmapButton
{
    DECLARE_DYNAMIC(CBaseBmpButton)
public:
    CBaseBmpButton();
    virtual ~CBaseBmpButton();

    // The normal image is required; FALSE when it or another given image fails.
    BOOL LoadBitmaps(LPCTSTR normal, LPCTSTR pressed = NULL, LPCTSTR focus = NULL,
                     LPCTSTR disabled = NULL);
    BOOL LoadBitmaps(UINT normal, UINT pressed = 0, UINT focus = 0, UINT disabled = 0);
    BOOL LoadBitmapFiles(LPCTSTR normal, LPCTSTR pressed = NULL, LPCTSTR focus = NULL,
                         LPCTSTR disabled = NULL);
    // The two images that replace the pressed one; always TRUE.
    BOOL LoadStateBitmaps(LPCTSTR image1, LPCTSTR image2 = NULL);
    BOOL LoadStateBitmaps(UINT image1, UINT image2 = 0);
    BOOL LoadStateBitmapFiles(LPCTSTR image1, LPCTSTR image2 = NULL);
    void SizeToContent();

    void SetHighlight(BOOL b) { m_bHighlight = b; }
    void SetHighlightColor(COLORREF c) { m_crHighlight = c; }
    void SetCheckMode(BOOL b) { m_bCheckMode = b; }
    void SetDraw3DFrame(BOOL b) { m_bDraw3DFrame = b; }
    void SetDrawFocus(BOOL b) { m_bDrawFocus = b; }
    void SetTransparent(BOOL b) { m_bTransparent = b; }
    void SetCheckLocked(BOOL b) { m_bCheckLocked = b != FALSE; }
    void SetPressed(BOOL b) { m_bAlwaysPressed = b != FALSE; }
    void SetCheck(BOOL b);
    BOOL GetCheck() const { return m_bChecked; }
    // 0 none, 1 or 2 a state image in place of the pressed one; others are ignored.
    void SetStateImage(int n);

    virtual BOOL PreTranslateMessage(MSG* pMsg) override;
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

    void Emboss(CDC* pDC, const CRect& rect);

public:
    CTransparentBitmap m_bmpNormal, m_bmpPressed, m_bmpFocus, m_bmpDisabled;
    CTransparentBitmap m_bmpState[2];
    BOOL m_bHighlight;
    COLORREF m_crHighlight;
    BOOL m_bCheckMode;
    BOOL m_bDraw3DFrame;
    BOOL m_bDrawFocus;
    BOOL m_bTransparent;
    BOOL m_bFocusDrawn;
    int m_nStateImage;
    BOOL m_bChecked;
    int m_nFocusInset;
    BOOL m_bHeld;
    bool m_bCheckLocked;
    bool m_bAlwaysPressed;

private:
    template <class Loader> BOOL LoadFour(Loader load, LPCTSTR normal, LPCTSTR pressed,
                                          LPCTSTR focus, LPCTSTR disabled);
    template <class Loader> BOOL LoadStates(Loader load, LPCTSTR image1, LPCTSTR image2);
    COLORREF m_crShadow, m_crHilite, m_crFace, m_crShadow2, m_crFrame;
};
