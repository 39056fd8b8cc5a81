// The toolkit's owner-drawn push buttons: one drawing pipeline (frame, content, embossed
// disabled look, focus) and three kinds of content: a colour with a drop-down colour well,
// a bitmap with or without text in five layouts, and a bitmap with an arrow that pops up a
// menu.
#ifndef QUORVEL_SECBUTTONS_H
#define QUORVEL_SECBUTTONS_H

#include "SECColorWell.h"

class SECOwnerDrawButton : public CButton {
    DECLARE_DYNAMIC(SECOwnerDrawButton)
public:
    SECOwnerDrawButton();

    virtual BOOL BindDialogItem(UINT nID, CWnd* pParentWnd);
    // The style always gets BS_OWNERDRAW.
    virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID) override;
    virtual void DoClick() {}
    virtual void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    virtual void BeginDraw(CDC*) {}
    // Draws the frame into rect and answers the content rectangle.
    virtual CRect DrawFrame(CDC* pDC, const CRect& rect, UINT nState);
    virtual void EndDraw(CDC*) {}
    virtual void DrawDisabled(CDC* pDC, const CRect& rect);
    virtual void DrawFocusRect(CDC* pDC, const CRect& rect) = 0;
    virtual void DrawFocus(CDC* pDC, const CRect& rect, UINT nState);
    virtual void DrawContent(CDC* pDC, const CRect& rect, UINT nState) = 0;
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

    // Button shadow, highlight, face and window frame, shared by all buttons.
    static COLORREF s_clrShadow, s_clrHighlight, s_clrFace, s_clrFrame;
    static void LoadSysColors();

    BOOL m_bNewLook;

protected:
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnSysColorChange();
    DECLARE_MESSAGE_MAP()

protected:
    // The button is pushed and holds the mouse, with the point inside it.
    BOOL IsClickRelease(CPoint point) const;
};

class SECWellButton : public SECOwnerDrawButton {
    DECLARE_DYNAMIC(SECWellButton)
public:
    SECWellButton();
    virtual ~SECWellButton();

    void SetColor(COLORREF colour);
    COLORREF GetColor() const { return m_colour; }
    void SetPaletteRealize(BOOL bRealize) { m_bPaletteDrawing = bRealize; }
    void SetOtherButton(BOOL bOther) { m_bOtherButton = bOther; }
    SECPopupColorWell* GetPopup() const { return m_pPopup; }

    virtual BOOL CreatePalette();
    virtual void OpenDropDown();
    virtual DWORD GetColorDialogFlags() const { return CC_RGBINIT | CC_FULLOPEN; }
    virtual void DoClick() override;
    virtual void BeginDraw(CDC* pDC) override;
    virtual void EndDraw(CDC* pDC) override;
    virtual void DrawFocusRect(CDC* pDC, const CRect& rect) override;
    virtual void DrawContent(CDC* pDC, const CRect& rect, UINT nState) override;

protected:
    afx_msg LRESULT OnColorChosen(WPARAM, LPARAM lParam);
    afx_msg LRESULT OnOtherColor(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    CPalette m_palette;         // entry 0 holds the colour
    SECPopupColorWell* m_pPopup;
    BOOL m_bPaletteDrawing;
    BOOL m_bOtherButton;
    COLORREF m_colour;
    CPalette* m_pOldPalette;
};

class SECBitmapButton : public SECOwnerDrawButton {
    DECLARE_DYNAMIC(SECBitmapButton)
public:
    enum { imageLeft = 0, imageRight = 1, imageTop = 2, imageBottom = 3, imageOnly = 4 };

    SECBitmapButton();

    using SECOwnerDrawButton::BindDialogItem;
    using SECOwnerDrawButton::Create;
    // FALSE when the bitmap cannot be loaded.
    virtual BOOL BindDialogItem(UINT nID, int nLayout, LPCTSTR lpszBitmap, CWnd* pParentWnd);
    virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, int nLayout, LPCTSTR lpszBitmap,
                        const RECT& rect, CWnd* pParentWnd, UINT nID);
    // On failure the previous bitmap stays.
    BOOL ChangeBitmap(LPCTSTR lpszBitmap);
    void SetContentMargins(int x, int y);
    CSize GetContentMargins() const { return CSize(m_nMarginX, m_nMarginY); }
    void FitToContent();
    virtual void LayoutImageAndText();

    // The image and text rectangles of a layout in a client rectangle.
    static void ComputeLayout(const CRect& client, CSize image, int nMarginX, int nMarginY,
                              int nLayout, CRect& rcImage, CRect& rcText);
    // The window size that fits the image and the text.
    static CSize FitSize(CSize image, CSize text, int nLayout, int nMarginX, int nMarginY);

    virtual void DrawFocusRect(CDC* pDC, const CRect& rect) override;
    virtual void DrawContent(CDC* pDC, const CRect& rect, UINT nState) override;

    CSize GetImageSize() const;
    const CRect& GetImageRect() const { return m_rcImage; }
    const CRect& GetTextRect() const { return m_rcText; }
    int GetLayout() const { return m_nLayout; }
    void SetLayout(int nLayout) { m_nLayout = nLayout; LayoutImageAndText(); }

protected:
    BOOL LoadBitmapResource(LPCTSTR lpszBitmap);
    CFont* TextFont();
    CSize TextExtent(CDC* pDC);

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSysColorChange();
    DECLARE_MESSAGE_MAP()

    CBitmap m_bitmap;
    LPCTSTR m_lpszResource;   // a resource id, or a name kept in m_strResource
    CString m_strResource;
    int m_nMarginX, m_nMarginY;
    int m_nLayout;
    CRect m_rcImage, m_rcText;
};

class SECMenuButton : public SECBitmapButton {
    DECLARE_DYNAMIC(SECMenuButton)
public:
    SECMenuButton();

    using SECBitmapButton::BindDialogItem;
    using SECBitmapButton::Create;
    // The dialog item's text (up to 100 characters) is the caption.
    virtual BOOL BindDialogItem(UINT nID, UINT nIDMenu, CWnd* pParentWnd);
    virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, UINT nIDMenu, const RECT& rect,
                        CWnd* pParentWnd, UINT nID);
    // Layout 1 (arrow right of the caption), or 4 (arrow only) without a caption.
    virtual int PrepareMenu(LPCTSTR lpszCaption);
    BOOL SetPopupMenu(UINT nIDMenu);
    void SetMenuToRight(BOOL bRight);
    BOOL IsMenuToRight() const { return m_bRight; }
    CMenu& GetMenu() { return m_menu; }

    virtual void DoClick() override;
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

    // Where the menu opens for a button's window rectangle.
    static CPoint MenuPosition(const CRect& rcButton, BOOL bRight);

protected:
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    CMenu m_menu;
    BOOL m_bRight;
    BOOL m_bDrawing;
};

// Saving reads the colour of a colour-well button or colour well; loading sets it.
void AFXAPI DDX_ColorWell(CDataExchange* pDX, int nIDC, COLORREF& colour);

#endif  // QUORVEL_SECBUTTONS_H
