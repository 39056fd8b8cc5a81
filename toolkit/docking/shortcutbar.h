// The shortcut bar: a child window that stacks bars, each a push button with a label and
// an optional icon over one client window of its own. One bar at most is open; its client
// fills the room the buttons leave and the other clients are hidden. Bars stack top to
// bottom (SCBS_VERTICAL) or side by side with labels turned by 90 degrees.
#pragma once
#include "afxwin.h"
#include "afxtempl.h"

// Style bits of the shortcut bar, passed with the window styles to Create; the low six bits
// are the bar's own and never reach the window.
#define SCBS_VERTICAL 0x01        // top to bottom, ordinary labels
#define SCBS_TURNEDLABELS 0x02    // labels placed for text turned by 90 degrees
#define SCBS_PRESSACTIVATE 0x04   // a bar opens on press and release over its button
#define SCBS_BARMENUS 0x08        // a right click shows the bar's context menu
#define SCBS_ANIMATE 0x10         // switching between open bars slides
#define SCBS_FRAMEACTIVE 0x20     // the open bar's button carries a coloured inner frame
#define SCBS_LAYOUTMASK 0x03
#define SCBS_BEHAVIOURMASK 0x3C
#define SCBS_OWNBITS 0x3F

// Clients created from a runtime class without an id get bar count + this.
#define SCB_FIRSTCLIENTID 60160

// Iteration over a sequence of elements; a walk runs First, then Next until IsDone.
template <class T>
class SECIterator {
public:
    virtual ~SECIterator() {}
    virtual void First() = 0;
    virtual void Last() = 0;
    virtual void Next() = 0;
    virtual void Prev() = 0;
    virtual T Current() const = 0;
    virtual BOOL IsDone() const = 0;
};

// An iterator over a CArray-shaped container (GetSize, GetAt).
template <class T, class ARRAY>
class SECCArrayIterator : public SECIterator<T> {
public:
    explicit SECCArrayIterator(const ARRAY& array) : m_nIndex(-1), m_array(array) {}
    void First() override { m_nIndex = 0; }
    void Last() override { m_nIndex = (int)m_array.GetSize() - 1; }
    void Next() override { m_nIndex++; }
    void Prev() override { m_nIndex--; }
    T Current() const override { return m_array.GetAt(m_nIndex); }
    BOOL IsDone() const override { return m_nIndex < 0 || m_nIndex >= (int)m_array.GetSize(); }
    int Index() const { return m_nIndex; }

private:
    int m_nIndex;
    const ARRAY& m_array;
};

// An icon with the size it is drawn at. The handle is not destroyed with the object.
class SECIcon : public CObject {
    DECLARE_DYNAMIC(SECIcon)
public:
    SECIcon();
    virtual ~SECIcon();

    virtual BOOL Load(UINT nID, int cx, int cy);
    virtual BOOL Load(LPCTSTR lpszName, int cx, int cy);
    virtual BOOL Draw(CDC* pDC, int x, int y, int cx, int cy, HBRUSH hbrFlicker = NULL);
    virtual BOOL Draw(CDC* pDC, int x, int y);

    // Takes a handle made elsewhere; its size is twice its hot spot.
    void SetHandle(HICON hIcon);
    HICON GetHandle() const { return m_hIcon; }
    int GetWidth() const { return m_cx; }
    int GetHeight() const { return m_cy; }

    HICON m_hIcon;
    int m_cx;
    int m_cy;
};

class SECShortcutBar;

// One bar: its button, its label and the handle of its client window.
class SECBar : public CObject {
    DECLARE_DYNCREATE(SECBar)
public:
    enum { stPressed = 0x01, stFramed = 0x04 };

    SECBar();
    SECBar(const SECBar& other);
    SECBar& operator=(const SECBar& other);
    virtual ~SECBar();

    virtual void SetWnd(CWnd* pWnd);
    virtual void SetOwnedWnd(CWnd* pWnd);
    virtual void Draw(CDC* pDC, BOOL bTurnedLabels);
    virtual void CreateGdiObjects();
    virtual void DeleteGdiObjects();
    virtual void CalcButtonSize(CDC* pDC, BOOL bVertical);
    virtual void OnRemove();
    virtual void DeleteOwnedWnd();
    virtual void DrawButton(CDC* pDC, BOOL bPressed);
    virtual void DrawIcon(CDC* pDC, BOOL bPressed, BOOL bTurnedLabels);
    virtual void DrawLabel(CDC* pDC, BOOL bPressed, BOOL bTurnedLabels);

    // The client window object of the handle (a temporary one for a window made elsewhere).
    CWnd* GetWnd() const;
    HWND GetWndHandle() const { return m_hWndClient; }
    CWnd* GetOwnedWnd() const { return m_pOwnedWnd; }
    BOOL HitTest(CPoint point) const { return m_rectButton.PtInRect(point); }

    void SetAutoDelete(BOOL b) { m_bAutoDelete = b; }
    BOOL GetAutoDelete() const { return m_bAutoDelete; }
    void SetButtonRect(const CRect& rc) { m_rectButton = rc; }
    const CRect& GetButtonRect() const { return m_rectButton; }
    void SetClientRect(const CRect& rc) { m_rectClient = rc; }
    const CRect& GetClientRect() const { return m_rectClient; }
    void SetThickness(int n) { m_nThickness = n; }
    int GetThickness() const { return m_nThickness; }
    void SetExtent(int n) { m_nExtent = n; }
    int GetExtent() const { return m_nExtent; }
    int GetButtonThickness() const { return m_nThicknessCopy; }
    void SetFont(CFont* pFont) { m_hFont = (HFONT)pFont->GetSafeHandle(); }
    void SetFont(HFONT hFont) { m_hFont = hFont; }
    CFont* GetFont() const { return m_hFont ? CFont::FromHandle(m_hFont) : NULL; }
    void SetLabel(LPCTSTR lpszLabel) { m_strLabel = lpszLabel; }
    const CString& GetLabel() const { return m_strLabel; }
    void SetExtra(int n) { m_nExtra = n; }
    int GetExtra() const { return m_nExtra; }
    void SetMenu(HMENU hMenu) { m_hMenu = hMenu; }
    // A sub-menu of a menu object (-1: the menu itself).
    void SetMenu(CMenu* pMenu, int nSubMenu = -1);
    HMENU GetMenu() const { return m_hMenu; }
    void SetTextColor(COLORREF clr) { m_clrText = clr; }
    COLORREF GetTextColor() const { return m_clrText; }
    void SetGreyTextColor(COLORREF clr) { m_clrGreyText = clr; }
    COLORREF GetGreyTextColor() const { return m_clrGreyText; }
    void SetFrameColor(COLORREF clr);
    COLORREF GetFrameColor() const { return m_clrFrame; }
    void SetBkColor(COLORREF clr);
    COLORREF GetBkColor() const { return m_clrButton; }
    BOOL HasButtonBrush() const { return m_brButton.GetSafeHandle() != NULL; }
    void SetIcon(HICON hIcon);
    BOOL SetIcon(UINT nID, int cx = 32, int cy = 32);
    BOOL SetIcon(LPCTSTR lpszName, int cx = 32, int cy = 32);
    const SECIcon& GetIcon() const { return m_icon; }
    void SetState(UINT n) { m_nState = n; }
    UINT GetState() const { return m_nState; }
    void SetEnabled(BOOL b) { m_bEnabled = b; }
    BOOL IsEnabled() const { return m_bEnabled; }
    void SetFlag(int n) { m_nFlag = n; }
    int GetFlag() const { return m_nFlag; }

protected:
    void CopyFrom(const SECBar& other);
    // The icon size to load for a requested width: 16 x 16 in a button lower than that width.
    BOOL FitIconSize(int& cx, int& cy) const;

    BOOL m_bAutoDelete;
    CRect m_rectButton;
    CRect m_rectClient;
    int m_nThickness;
    int m_nExtent;
    int m_nThicknessCopy;
    HFONT m_hFont;  // not owned
    CString m_strLabel;
    int m_nExtra;
    HWND m_hWndClient;
    HMENU m_hMenu;
    COLORREF m_clrText;
    COLORREF m_clrGreyText;
    COLORREF m_clrFrame;
    COLORREF m_clrButton;
    CBrush m_brButton;
    CBrush m_brFrame;
    SECIcon m_icon;
    UINT m_nState;
    BOOL m_bEnabled;
    int m_nFlag;
    CWnd* m_pOwnedWnd;  // owned
};

typedef CTypedPtrArray<CPtrArray, SECBar*> SECBarArray;
typedef SECCArrayIterator<SECBar*, SECBarArray> SECBarIterator;

class SECShortcutBar : public CWnd {
    DECLARE_DYNCREATE(SECShortcutBar)
public:
    SECShortcutBar();
    virtual ~SECShortcutBar();

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    virtual SECBar* AddBar(CRuntimeClass* pViewClass, LPCTSTR lpszLabel,
                           CCreateContext* pContext = NULL, BOOL bRecalc = FALSE, int nID = -1);
    virtual SECBar* AddBar(CWnd* pWnd, LPCTSTR lpszLabel, BOOL bRecalc = FALSE);
    virtual SECBar* InsertBar(int nIndex, CRuntimeClass* pViewClass, LPCTSTR lpszLabel,
                              CCreateContext* pContext = NULL, BOOL bRecalc = FALSE, int nID = -1);
    virtual SECBar* InsertBar(int nIndex, CWnd* pWnd, LPCTSTR lpszLabel, BOOL bRecalc = FALSE);
    virtual BOOL RemoveBar(int nIndex);
    virtual BOOL SetBarLabel(int nIndex, LPCTSTR lpszLabel);
    virtual void ActivateBar(int nIndex);
    virtual BOOL RecalcLayout();
    virtual void DisableBar(int nIndex);
    virtual void EnableBar(int nIndex);
    virtual void OnBarStyleChanged(DWORD dwRemoved, DWORD dwAdded);
    virtual BOOL IsBarEnabled(int nIndex) const;
    virtual BOOL CanRemoveBar(int nIndex);
    virtual BOOL CanDisableBar(int nIndex);
    virtual BOOL CanEnableBar(int nIndex);
    virtual BOOL OnClientCreated(CWnd* pWnd);
    virtual BOOL CanAddBar(SECBar* pBar);
    virtual void CreateGdiObjects();
    virtual void DeleteGdiObjects();
    virtual void CalcBarExtents(int nTotal, int nIgnored);
    virtual void CalcBarRects(BOOL bVertical, const CRect& rectClient);
    virtual void PositionClientWindows();
    virtual void RedrawBar(SECBar* pBar);
    virtual void InvalidateBar(SECBar* pBar);
    virtual void InvalidateBarAt(int nIndex);
    virtual SECBar* NewBar();
    virtual SECBar* NewListBar();
    // A bar whose client is a new shortcut list (ids from SCB_FIRSTCLIENTID by bar count).
    virtual SECBar* AddListBar(LPCTSTR lpszLabel, BOOL bRecalc = FALSE);
    virtual SECBar* InsertListBar(int nIndex, LPCTSTR lpszLabel, BOOL bRecalc = FALSE);
    virtual SECBar* DoAddBar(CWnd* pWnd, LPCTSTR lpszLabel, BOOL bRecalc);
    virtual SECBar* DoInsertBar(int nIndex, CWnd* pWnd, LPCTSTR lpszLabel, BOOL bRecalc);
    virtual void PaintBars(CDC* pDC);
    virtual void ActivateBarNow(int nIndex);
    virtual void ActivateBarAnimated(int nOld, int nNew);
    virtual BOOL FindPrevEnabledBar(int* pIndex) const;
    virtual BOOL FindNextEnabledBar(int* pIndex) const;

    // The window form of Create: class, title, rectangle and context are not used; with no
    // layout bit the bars stack vertically.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = NULL) override;
    virtual BOOL PreTranslateMessage(MSG* pMsg) override;

    int GetBarCount() const { return (int)m_bars.GetSize(); }
    SECBar* GetBar(int nIndex) const { return IsValidBarIndex(nIndex) ? m_bars[nIndex] : NULL; }
    SECBar* GetBarChecked(int nIndex) const;  // throws a resource exception for a bad index
    BOOL IsValidBarIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetBarCount(); }
    SECBar* GetActiveBar() const { return GetBarChecked(m_nOpen); }
    BOOL HasActiveBar() const { return IsValidBarIndex(m_nOpen); }
    int GetActiveIndex() const { return m_nOpen; }
    CWnd* GetBarWnd(int nIndex) const;
    int HitTestBar(CPoint point) const;

    void SetBarMenu(HMENU hMenu, int nIndex = -1);
    void SetBarMenu(CMenu* pMenu, int nIndex, int nSubMenu = -1);
    void SetBarFont(CFont* pFont, int nIndex = -1);
    void SetBarFont(HFONT hFont, int nIndex = -1);
    void SetBarTextColor(COLORREF clr, int nIndex = -1);
    COLORREF GetBarTextColor(int nIndex = -1) const;
    void SetBarBkColor(COLORREF clr, int nIndex = -1);
    COLORREF GetBarBkColor(int nIndex = -1) const;
    void SetActiveFrameColor(COLORREF clr, int nIndex = -1);
    COLORREF GetActiveFrameColor(int nIndex = -1) const;
    void SetBkColor(COLORREF clr);
    void SetBkBrush(CBrush* pBrush = NULL);
    void SetFontHeight(int nHeight);
    int GetFontHeight() const { return m_nFontHeight; }
    void SetFontFace(LPCTSTR lpszFace);
    const CString& GetFontFace() const { return m_strFontFace; }
    void SetLayoutStyle(DWORD dwLayout);
    DWORD GetLayoutStyle() const { return m_dwLayout; }
    void ModifyBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
    DWORD GetBarStyle() const { return m_dwBehaviour; }
    void SetAnimationDelay(int nMs) { m_nAnimDelay = nMs; }
    int GetAnimationDelay() const { return m_nAnimDelay; }
    void SetAnimationSteps(int nSteps) { m_nAnimSteps = nSteps; }
    int GetAnimationSteps() const { return m_nAnimSteps; }
    void SetBarHeight(int nHeight);
    int GetBarHeight() const { return m_nBarHeight; }
    int GetButtonTotal() const { return m_nButtonTotal; }
    int GetOpenExtent() const { return m_nOpenExtent; }
    void SetBarClass(CRuntimeClass* pClass) { m_pBarClass = pClass; }
    CRuntimeClass* GetBarClass() const { return m_pBarClass; }
    void SetListBarClass(CRuntimeClass* pClass) { m_pListBarClass = pClass; }
    CRuntimeClass* GetListBarClass() const { return m_pListBarClass; }
    void SetListCtrlClass(CRuntimeClass* pClass) { m_pListCtrlClass = pClass; }
    CRuntimeClass* GetListCtrlClass() const { return m_pListCtrlClass; }
    CFont* GetLabelFont() { return &m_fontLabel; }
    CFont* GetTurnedLabelFont() { return &m_fontTurned; }
    CBrush* GetBkBrush() { return &m_brBackground; }
    BOOL IsTracking() const { return m_bTracking; }

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    BOOL IsVertical() const { return (m_dwLayout & SCBS_VERTICAL) != 0; }
    // The label font the current layout measures and draws with.
    CFont* LayoutFont() { return IsVertical() ? &m_fontLabel : &m_fontTurned; }
    // Creates a client window from a runtime class; NULL when that fails or is refused.
    CWnd* CreateClient(CRuntimeClass* pClass, CCreateContext* pContext, int nID);
    // Gives a new bar its label, client, font and (for added bars) colours, at nIndex.
    void PlaceBar(SECBar* pBar, int nIndex, CWnd* pWnd, LPCTSTR lpszLabel);
    // Adds (bAppend: at the end, asking CanAddBar, with the bar colours) or inserts a new bar
    // object with its client; deletes the bar object and returns NULL when refused.
    SECBar* AddNewBar(SECBar* pBar, int nIndex, CWnd* pWnd, LPCTSTR lpszLabel, BOOL bRecalc,
                      BOOL bAppend);
    // An object of a runtime class that must be a bar; NULL when it cannot be made.
    static SECBar* MakeBar(CRuntimeClass* pClass);
    // Measures one bar's button again with the font (every bar for -1).
    void MeasureBars(HFONT hFont, int nIndex);
    void Relayout();
    // Makes the label fonts again after a change of face or height and measures every bar.
    void RebuildFonts();
    // Sets a colour kept by the shortcut bar and by one bar or (-1) every bar.
    void SetBarColour(COLORREF& rStore, void (SECBar::*pfnSet)(COLORREF), COLORREF clr,
                      int nIndex);
    // Shows the opened client, hides the others, makes it the active view and focuses it.
    void ShowOpenedClient(SECBar* pOpened);
    void ReleasePress();
    void FreeBars();

    int m_nPressed;
    int m_nOpen;
    int m_nBarHeight;
    int m_nButtonTotal;
    int m_nOpenExtent;
    int m_nFontHeight;
    int m_nAnimDelay;
    int m_nAnimSteps;
    BOOL m_bOpenFlag;
    BOOL m_bTracking;
    DWORD m_dwLayout;
    DWORD m_dwBehaviour;
    CRuntimeClass* m_pBarClass;
    CRuntimeClass* m_pListBarClass;
    CRuntimeClass* m_pListCtrlClass;
    int m_nLastWidth;
    int m_nLastHeight;
    CString m_strFontFace;
    CBrush m_brBackground;
    SECBarArray m_bars;
    CFont m_fontLabel;
    CFont m_fontTurned;
    COLORREF m_clrText;
    COLORREF m_clrButton;
};
