// A grid of colour cells (by default the 20 colours of the default palette, 4 columns by 5
// rows) with one selected cell, keyboard and mouse selection and an optional "&Other..."
// button that adds a custom colour; and its drop-down form, opened under a colour-well
// button, which reports the chosen colour to that button.
#ifndef QUORVEL_SECCOLORWELL_H
#define QUORVEL_SECCOLORWELL_H

#include <afxwin.h>
#include <afxdlgs.h>
#include <vector>

#define SECCW_COLOR_CHOSEN (WM_USER + 101)   // wParam control id (0 from a popup), lParam colour
#define SECCW_OTHER_COLOR (WM_USER + 102)    // the popup asks its button for the colour dialog
#define SECCW_OTHER_BUTTON_ID 59953

class SECColorWell : public CWnd {
    DECLARE_DYNAMIC(SECColorWell)
public:
    SECColorWell();
    virtual ~SECColorWell();

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                        BOOL bOtherButton = FALSE);
    virtual void DrawCell(CDC* pDC, const CRect& rect, int nIndex);
    virtual void DrawSelectedCell(CDC* pDC, const CRect& rect, int nIndex);
    virtual void NotifyParent();
    // How a cell was chosen: the popup closes only on a click.
    enum SelectHow { byClick, byKeyboard, byHover };
    virtual void SelectCell(int nCol, int nRow, SelectHow how);
    virtual BOOL CreatePalette();
    virtual void SetDefaultGrid();
    virtual void AddCustomColors() {}
    virtual DWORD GetColorDialogFlags() const { return CC_RGBINIT | CC_FULLOPEN; }
    virtual UINT GetClassStyle() const { return 0; }
    virtual void Reset();
    virtual BOOL HasFocusFrame() const { return TRUE; }

    // The first cell of that colour (column by column, then row by row) is selected; a
    // colour not in the grid goes into the custom cell when the other button is on, and
    // leaves the selection as it is otherwise.
    void SelectColor(COLORREF colour);
    COLORREF GetColor() const;
    void SetPaletteRealize(BOOL bRealize) { m_bPaletteDrawing = bRealize; }
    int GetSelectedColumn() const { return m_nSelCol; }
    int GetSelectedRow() const { return m_nSelRow; }
    BOOL IsCustomShown() const { return m_bCustomShown; }
    CButton* GetOtherButton() const { return m_pOtherButton; }

    // Geometry: the cell's rectangle in client coordinates, the window size for the grid,
    // and the cell at a client point (FALSE when none).
    CRect CellRect(int nCol, int nRow) const;
    CSize WindowSize() const;
    BOOL HitTest(CPoint point, int& nCol, int& nRow) const;
    // The cell a navigation key leads to from the selected one (FALSE for other keys).
    BOOL MoveFrom(UINT nKey, int& nCol, int& nRow) const;

    // The 20 reserved colours of the system palette, in their standard order.
    static const COLORREF s_defaultColors[20];

protected:
    int IndexOf(int nCol, int nRow) const;
    BOOL IsCustomCell(int nCol, int nRow) const;
    void ComputeMetrics(CWnd* pParentWnd, DWORD dwStyle);
    void FillColors();
    void Paint(CDC* pDC);
    void OpenColorDialog();
    void InvalidateCell(int nCol, int nRow);
    // The "&Other..." button under the grid, in the font of the given window.
    void CreateOtherButton(CWnd* pFontSource);

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnSysColorChange();
    afx_msg void OnOther();
    DECLARE_MESSAGE_MAP()

public:
    CPalette m_palette;
    CBrush m_brBackground;
    std::vector<COLORREF> m_colors;  // columns x rows cells, then the custom colour
    int m_nCols, m_nRows;
    int m_nCellWidth, m_nCellHeight;
    int m_nBorderX, m_nBorderY;
    int m_nSelCol, m_nSelRow;
    int m_nCustomCol, m_nCustomRow;
    int m_nCustomIndex;
    BOOL m_bOtherButton;
    CButton* m_pOtherButton;
    BOOL m_bCustomShown;
    BOOL m_bPaletteDrawing;
    BOOL m_bHoverTracking;
    BOOL m_bHasFocus;
    int m_nRowPitch;
};

class SECPopupColorWell : public SECColorWell {
    DECLARE_DYNAMIC(SECPopupColorWell)
public:
    SECPopupColorWell();

    // Opens under the button rectangle (screen coordinates), above it near the screen's
    // bottom and right-aligned with it near its right edge; takes the focus and the mouse.
    virtual BOOL CreatePopup(DWORD dwStyle, const RECT& rcButton, CWnd* pNotifyWnd,
                             BOOL bOtherButton, COLORREF colour, BOOL bPaletteDrawing);
    virtual void NotifyParent() override;
    virtual void SelectCell(int nCol, int nRow, SelectHow how) override;
    virtual UINT GetClassStyle() const override { return CS_SAVEBITS; }
    virtual void Reset() override;
    virtual BOOL HasFocusFrame() const override { return FALSE; }

    // The top-left corner of a popup of the size for the button rectangle on the screen.
    static CPoint PlacePopup(const CRect& rcButton, CSize size, const CRect& rcScreen);

    BOOL IsActive() const { return m_bActive; }
    void Close();

    CWnd* m_pNotifyWnd;
    CRect m_rcButton;
    BOOL m_bActive;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};


#endif  // QUORVEL_SECCOLORWELL_H
