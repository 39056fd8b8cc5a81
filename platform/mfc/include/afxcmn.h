// Common-control wrappers and image lists.
#pragma once

#include "afxwin.h"
#include <commctrl.h>

/////////////////////////////////////////////////////////////////////////////
// Image lists

class CImageList : public CObject
{
    DECLARE_DYNCREATE(CImageList)
public:
    HIMAGELIST m_hImageList;

    CImageList() : m_hImageList(NULL) {}
    virtual ~CImageList();

    operator HIMAGELIST() const { return AfxIsNullThis(this) ? NULL : m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return AfxIsNullThis(this) ? NULL : m_hImageList; }
    static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);
    static CImageList* PASCAL FromHandlePermanent(HIMAGELIST hImageList);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx,
                int dy);
    BOOL Create(CImageList* pImageList);
    BOOL DeleteImageList();

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
    COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
    {
        return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
    }
    BOOL SetImageCount(UINT uNewCount) { return ImageList_SetImageCount(m_hImageList, uNewCount); }

    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }
    BOOL Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    int Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
    HICON ExtractIcon(int nImage) { return ImageList_ExtractIcon(NULL, m_hImageList, nImage); }
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    BOOL DrawIndirect(IMAGELISTDRAWPARAMS* pimldp);
    BOOL SetOverlayImage(int nImage, int nOverlay)
    {
        return ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay);
    }
    BOOL Copy(int iDst, int iSrc, UINT uFlags = ILCF_MOVE)
    {
        return ImageList_Copy(m_hImageList, iDst, m_hImageList, iSrc, uFlags);
    }

    // Stored through an archive in the common controls' own image-list stream format.
    BOOL Read(CArchive* pArchive);
    BOOL Write(CArchive* pArchive);

    BOOL BeginDrag(int nImage, CPoint ptHotSpot)
    {
        return ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
    }
    static void PASCAL EndDrag() { ImageList_EndDrag(); }
    static BOOL PASCAL DragMove(CPoint pt) { return ImageList_DragMove(pt.x, pt.y); }
    BOOL SetDragCursorImage(int nDrag, CPoint ptHotSpot)
    {
        return ImageList_SetDragCursorImage(m_hImageList, nDrag, ptHotSpot.x, ptHotSpot.y);
    }
    static BOOL PASCAL DragShowNolock(BOOL bShow) { return ImageList_DragShowNolock(bShow); }
    static CImageList* PASCAL GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot);
    static BOOL PASCAL DragEnter(CWnd* pWndLock, CPoint point);
    static BOOL PASCAL DragLeave(CWnd* pWndLock);

private:
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
};

/////////////////////////////////////////////////////////////////////////////
// Controls

class CSliderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    CSliderCtrl() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetLineSize() const { return (int)::SendMessageA(m_hWnd, TBM_GETLINESIZE, 0, 0); }
    int SetLineSize(int nSize) { return (int)SendMessage(TBM_SETLINESIZE, 0, nSize); }
    int GetPageSize() const { return (int)::SendMessageA(m_hWnd, TBM_GETPAGESIZE, 0, 0); }
    int SetPageSize(int nSize) { return (int)SendMessage(TBM_SETPAGESIZE, 0, nSize); }
    int GetRangeMax() const { return (int)::SendMessageA(m_hWnd, TBM_GETRANGEMAX, 0, 0); }
    int GetRangeMin() const { return (int)::SendMessageA(m_hWnd, TBM_GETRANGEMIN, 0, 0); }
    void GetRange(int& nMin, int& nMax) const
    {
        nMin = GetRangeMin();
        nMax = GetRangeMax();
    }
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMIN, bRedraw, nMin); }
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMAX, bRedraw, nMax); }
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE)
    {
        SendMessage(TBM_SETRANGEMIN, FALSE, nMin);
        SendMessage(TBM_SETRANGEMAX, bRedraw, nMax);
    }
    void GetSelection(int& nMin, int& nMax) const
    {
        nMin = (int)::SendMessageA(m_hWnd, TBM_GETSELSTART, 0, 0);
        nMax = (int)::SendMessageA(m_hWnd, TBM_GETSELEND, 0, 0);
    }
    void SetSelection(int nMin, int nMax)
    {
        SendMessage(TBM_SETSELSTART, FALSE, nMin);
        SendMessage(TBM_SETSELEND, TRUE, nMax);
    }
    void GetChannelRect(LPRECT lprc) const { ::SendMessageA(m_hWnd, TBM_GETCHANNELRECT, 0, (LPARAM)lprc); }
    void GetThumbRect(LPRECT lprc) const { ::SendMessageA(m_hWnd, TBM_GETTHUMBRECT, 0, (LPARAM)lprc); }
    int GetPos() const { return (int)::SendMessageA(m_hWnd, TBM_GETPOS, 0, 0); }
    void SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, nPos); }
    UINT GetNumTics() const { return (UINT)::SendMessageA(m_hWnd, TBM_GETNUMTICS, 0, 0); }
    DWORD* GetTicArray() const { return (DWORD*)::SendMessageA(m_hWnd, TBM_GETPTICS, 0, 0); }
    int GetTic(int nTic) const { return (int)::SendMessageA(m_hWnd, TBM_GETTIC, nTic, 0); }
    int GetTicPos(int nTic) const { return (int)::SendMessageA(m_hWnd, TBM_GETTICPOS, nTic, 0); }
    BOOL SetTic(int nTic) { return (BOOL)SendMessage(TBM_SETTIC, 0, nTic); }
    void SetTicFreq(int nFreq) { SendMessage(TBM_SETTICFREQ, nFreq); }
    void ClearSel(BOOL bRedraw = FALSE) { SendMessage(TBM_CLEARSEL, bRedraw); }
    void VerifyPos() { SendMessage(TBM_SETPOS, FALSE, GetPos()); }
    void ClearTics(BOOL bRedraw = FALSE) { SendMessage(TBM_CLEARTICS, bRedraw); }
    CWnd* SetBuddy(CWnd* pWndBuddy, BOOL fLocation = TRUE)
    {
        return CWnd::FromHandle((HWND)SendMessage(TBM_SETBUDDY, fLocation, (LPARAM)pWndBuddy->GetSafeHwnd()));
    }
    CWnd* GetBuddy(BOOL fLocation = TRUE) const
    {
        return CWnd::FromHandle((HWND)::SendMessageA(m_hWnd, TBM_GETBUDDY, fLocation, 0));
    }
};

class CProgressCtrl : public CWnd
{
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    CProgressCtrl() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, nLower, nUpper); }
    void GetRange(int& nLower, int& nUpper) const
    {
        PBRANGE range;
        ::SendMessageA(m_hWnd, PBM_GETRANGE, 0, (LPARAM)&range);
        nLower = range.iLow;
        nUpper = range.iHigh;
    }
    int GetPos() const { return (int)::SendMessageA(m_hWnd, PBM_GETPOS, 0, 0); }
    int SetPos(int nPos) { return (int)SendMessage(PBM_SETPOS, nPos); }
    int OffsetPos(int nPos) { return (int)SendMessage(PBM_DELTAPOS, nPos); }
    int SetStep(int nStep) { return (int)SendMessage(PBM_SETSTEP, nStep); }
    int StepIt() { return (int)SendMessage(PBM_STEPIT); }
    COLORREF SetBarColor(COLORREF clr) { return (COLORREF)SendMessage(PBM_SETBARCOLOR, 0, clr); }
    COLORREF SetBkColor(COLORREF clr) { return (COLORREF)SendMessage(PBM_SETBKCOLOR, 0, clr); }
};

class CSpinButtonCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    CSpinButtonCtrl() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    BOOL SetAccel(int nAccel, UDACCEL* pAccel) { return (BOOL)SendMessage(UDM_SETACCEL, nAccel, (LPARAM)pAccel); }
    UINT GetAccel(int nAccel, UDACCEL* pAccel) const
    {
        return (UINT)::SendMessageA(m_hWnd, UDM_GETACCEL, nAccel, (LPARAM)pAccel);
    }
    int SetBase(int nBase) { return (int)SendMessage(UDM_SETBASE, nBase); }
    UINT GetBase() const { return (UINT)::SendMessageA(m_hWnd, UDM_GETBASE, 0, 0); }
    CWnd* SetBuddy(CWnd* pWndBuddy)
    {
        return CWnd::FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)pWndBuddy->GetSafeHwnd()));
    }
    CWnd* GetBuddy() const { return CWnd::FromHandle((HWND)::SendMessageA(m_hWnd, UDM_GETBUDDY, 0, 0)); }
    // The position; its high word is non-zero when the buddy's text is not a number.
    int SetPos(int nPos) { return (int)(short)LOWORD(SendMessage(UDM_SETPOS, 0, MAKELPARAM(nPos, 0))); }
    int GetPos() const { return (int)::SendMessageA(m_hWnd, UDM_GETPOS, 0, 0); }
    int SetPos32(int nPos) { return (int)SendMessage(UDM_SETPOS32, 0, nPos); }
    int GetPos32(LPBOOL lpbError = NULL) const
    {
        return (int)::SendMessageA(m_hWnd, UDM_GETPOS32, 0, (LPARAM)lpbError);
    }
    void SetRange(short nLower, short nUpper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
    void SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, nLower, nUpper); }
    DWORD GetRange() const { return (DWORD)::SendMessageA(m_hWnd, UDM_GETRANGE, 0, 0); }
    void GetRange(int& lower, int& upper) const
    {
        DWORD r = GetRange();
        lower = (short)HIWORD(r);
        upper = (short)LOWORD(r);
    }
    void GetRange32(int& lower, int& upper) const
    {
        ::SendMessageA(m_hWnd, UDM_GETRANGE32, (WPARAM)&lower, (LPARAM)&upper);
    }
};

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() {}
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    // Tools: a rectangle of pParentWnd's client area (nIDTool) or a child window (nIDTool 0
    // with lpRectTool NULL: the whole window). LPSTR_TEXTCALLBACK asks TTN_NEEDTEXT.
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = NULL, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = NULL,
                 UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    BOOL GetToolInfo(TOOLINFOA& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(LPTOOLINFOA lpToolInfo) { SendMessage(TTM_SETTOOLINFOA, 0, (LPARAM)lpToolInfo); }
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    int GetToolCount() const { return (int)::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0); }
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
    void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)lpMsg); }
    void SetDelayTime(UINT nDelay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, nDelay); }
    void SetDelayTime(DWORD dwDuration, int iTime) { SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0)); }
    int GetDelayTime(DWORD dwDuration) const { return (int)::SendMessageA(m_hWnd, TTM_GETDELAYTIME, dwDuration, 0); }
    int SetMaxTipWidth(int iWidth) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth); }
    int GetMaxTipWidth() const { return (int)::SendMessageA(m_hWnd, TTM_GETMAXTIPWIDTH, 0, 0); }
    void SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, clr); }
    void SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, clr); }
    void Pop() { SendMessage(TTM_POP); }
    void Update() { SendMessage(TTM_UPDATE); }

protected:
    void FillInToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};

class CTabCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTabCtrl)
public:
    CTabCtrl() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    CImageList* GetImageList() const;
    CImageList* SetImageList(CImageList* pImageList);
    int GetItemCount() const { return (int)::SendMessageA(m_hWnd, TCM_GETITEMCOUNT, 0, 0); }
    BOOL GetItem(int nItem, TCITEMA* pTabCtrlItem) const
    {
        return (BOOL)::SendMessageA(m_hWnd, TCM_GETITEMA, nItem, (LPARAM)pTabCtrlItem);
    }
    BOOL SetItem(int nItem, TCITEMA* pTabCtrlItem)
    {
        return (BOOL)SendMessage(TCM_SETITEMA, nItem, (LPARAM)pTabCtrlItem);
    }
    BOOL GetItemRect(int nItem, LPRECT lpRect) const
    {
        return (BOOL)::SendMessageA(m_hWnd, TCM_GETITEMRECT, nItem, (LPARAM)lpRect);
    }
    int GetCurSel() const { return (int)::SendMessageA(m_hWnd, TCM_GETCURSEL, 0, 0); }
    int SetCurSel(int nItem) { return (int)SendMessage(TCM_SETCURSEL, nItem); }
    int GetCurFocus() const { return (int)::SendMessageA(m_hWnd, TCM_GETCURFOCUS, 0, 0); }
    void SetCurFocus(int nItem) { SendMessage(TCM_SETCURFOCUS, nItem); }
    CSize SetItemSize(CSize size)
    {
        DWORD r = (DWORD)SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy));
        return CSize(LOWORD(r), HIWORD(r));
    }
    void SetPadding(CSize size) { SendMessage(TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy)); }
    int GetRowCount() const { return (int)::SendMessageA(m_hWnd, TCM_GETROWCOUNT, 0, 0); }
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CToolTipCtrl* pWndTip) { SendMessage(TCM_SETTOOLTIPS, (WPARAM)pWndTip->GetSafeHwnd()); }

    BOOL InsertItem(int nItem, TCITEMA* pTabCtrlItem)
    {
        return (int)SendMessage(TCM_INSERTITEMA, nItem, (LPARAM)pTabCtrlItem) != -1;
    }
    BOOL InsertItem(int nItem, LPCTSTR lpszItem);
    BOOL InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    BOOL DeleteItem(int nItem) { return (BOOL)SendMessage(TCM_DELETEITEM, nItem); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TCM_DELETEALLITEMS); }
    void AdjustRect(BOOL bLarger, LPRECT lpRect) { SendMessage(TCM_ADJUSTRECT, bLarger, (LPARAM)lpRect); }
    void RemoveImage(int nImage) { SendMessage(TCM_REMOVEIMAGE, nImage); }
    int HitTest(TCHITTESTINFO* pHitTestInfo) const
    {
        return (int)::SendMessageA(m_hWnd, TCM_HITTEST, 0, (LPARAM)pHitTestInfo);
    }
    void DeselectAll(BOOL fExcludeFocus) { SendMessage(TCM_DESELECTALL, fExcludeFocus); }
    BOOL HighlightItem(int idItem, BOOL fHighlight = TRUE)
    {
        return (BOOL)SendMessage(TCM_HIGHLIGHTITEM, idItem, MAKELPARAM(fHighlight, 0));
    }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* pResult) override;
};

class CHeaderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    CHeaderCtrl() {}
    int GetItemCount() const { return (int)::SendMessageA(m_hWnd, HDM_GETITEMCOUNT, 0, 0); }
    BOOL GetItem(int nPos, HDITEMA* pHeaderItem) const
    {
        return (BOOL)::SendMessageA(m_hWnd, HDM_GETITEMA, nPos, (LPARAM)pHeaderItem);
    }
    BOOL SetItem(int nPos, HDITEMA* pHeaderItem)
    {
        return (BOOL)SendMessage(HDM_SETITEMA, nPos, (LPARAM)pHeaderItem);
    }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const
    {
        return (BOOL)::SendMessageA(m_hWnd, HDM_GETITEMRECT, nIndex, (LPARAM)lpRect);
    }
    BOOL Layout(HDLAYOUT* pHeaderLayout) { return (BOOL)SendMessage(HDM_LAYOUT, 0, (LPARAM)pHeaderLayout); }
};

class CListCtrl : public CWnd
{
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    COLORREF GetBkColor() const { return (COLORREF)::SendMessageA(m_hWnd, LVM_GETBKCOLOR, 0, 0); }
    BOOL SetBkColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETBKCOLOR, 0, cr); }
    CImageList* GetImageList(int nImageList) const;
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    int GetItemCount() const { return (int)::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0); }
    BOOL GetItem(LVITEMA* pItem) const { return (BOOL)::SendMessageA(m_hWnd, LVM_GETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(const LVITEMA* pItem) { return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState,
                 UINT nStateMask, LPARAM lParam);
    UINT GetCallbackMask() const { return (UINT)::SendMessageA(m_hWnd, LVM_GETCALLBACKMASK, 0, 0); }
    BOOL SetCallbackMask(UINT nMask) { return (BOOL)SendMessage(LVM_SETCALLBACKMASK, nMask); }
    int GetNextItem(int nItem, int nFlags) const
    {
        return (int)::SendMessageA(m_hWnd, LVM_GETNEXTITEM, nItem, MAKELPARAM(nFlags, 0));
    }
    POSITION GetFirstSelectedItemPosition() const
    {
        return (POSITION)(INT_PTR)(1 + GetNextItem(-1, LVNI_SELECTED));
    }
    int GetNextSelectedItem(POSITION& pos) const
    {
        int nOldPos = (int)(INT_PTR)pos - 1;
        pos = (POSITION)(INT_PTR)(1 + GetNextItem(nOldPos, LVNI_SELECTED));
        return nOldPos;
    }
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
    {
        lpRect->left = nCode;
        return (BOOL)::SendMessageA(m_hWnd, LVM_GETITEMRECT, nItem, (LPARAM)lpRect);
    }
    BOOL SetItemPosition(int nItem, POINT pt) { return (BOOL)SendMessage(LVM_SETITEMPOSITION32, nItem, (LPARAM)&pt); }
    BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const
    {
        return (BOOL)::SendMessageA(m_hWnd, LVM_GETITEMPOSITION, nItem, (LPARAM)lpPoint);
    }
    int GetStringWidth(LPCTSTR lpsz) const { return (int)::SendMessageA(m_hWnd, LVM_GETSTRINGWIDTHA, 0, (LPARAM)lpsz); }
    CEdit* GetEditControl() const { return (CEdit*)CWnd::FromHandle((HWND)::SendMessageA(m_hWnd, LVM_GETEDITCONTROL, 0, 0)); }
    BOOL GetColumn(int nCol, LVCOLUMNA* pColumn) const
    {
        return (BOOL)::SendMessageA(m_hWnd, LVM_GETCOLUMNA, nCol, (LPARAM)pColumn);
    }
    BOOL SetColumn(int nCol, const LVCOLUMNA* pColumn) { return (BOOL)SendMessage(LVM_SETCOLUMNA, nCol, (LPARAM)pColumn); }
    int GetColumnWidth(int nCol) const { return (int)::SendMessageA(m_hWnd, LVM_GETCOLUMNWIDTH, nCol, 0); }
    BOOL SetColumnWidth(int nCol, int cx) { return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, nCol, MAKELPARAM(cx, 0)); }
    BOOL GetViewRect(LPRECT lpRect) const { return (BOOL)::SendMessageA(m_hWnd, LVM_GETVIEWRECT, 0, (LPARAM)lpRect); }
    COLORREF GetTextColor() const { return (COLORREF)::SendMessageA(m_hWnd, LVM_GETTEXTCOLOR, 0, 0); }
    BOOL SetTextColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETTEXTCOLOR, 0, cr); }
    COLORREF GetTextBkColor() const { return (COLORREF)::SendMessageA(m_hWnd, LVM_GETTEXTBKCOLOR, 0, 0); }
    BOOL SetTextBkColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETTEXTBKCOLOR, 0, cr); }
    int GetTopIndex() const { return (int)::SendMessageA(m_hWnd, LVM_GETTOPINDEX, 0, 0); }
    int GetCountPerPage() const { return (int)::SendMessageA(m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0); }
    BOOL GetOrigin(LPPOINT lpPoint) const { return (BOOL)::SendMessageA(m_hWnd, LVM_GETORIGIN, 0, (LPARAM)lpPoint); }
    BOOL SetItemState(int nItem, LVITEMA* pItem) { return (BOOL)SendMessage(LVM_SETITEMSTATE, nItem, (LPARAM)pItem); }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const
    {
        return (UINT)::SendMessageA(m_hWnd, LVM_GETITEMSTATE, nItem, nMask);
    }
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    void SetItemCount(int nItems) { SendMessage(LVM_SETITEMCOUNT, nItems); }
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    UINT GetSelectedCount() const { return (UINT)::SendMessageA(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0); }
    DWORD GetExtendedStyle() const { return (DWORD)::SendMessageA(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0); }
    DWORD SetExtendedStyle(DWORD dwNewStyle)
    {
        return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle);
    }
    int GetSelectionMark() const { return (int)::SendMessageA(m_hWnd, LVM_GETSELECTIONMARK, 0, 0); }
    int SetSelectionMark(int iIndex) { return (int)SendMessage(LVM_SETSELECTIONMARK, 0, iIndex); }
    int GetHotItem() const { return (int)::SendMessageA(m_hWnd, LVM_GETHOTITEM, 0, 0); }
    CSize ApproximateViewRect(CSize sz = CSize(-1, -1), int iCount = -1) const
    {
        DWORD r = (DWORD)::SendMessageA(m_hWnd, LVM_APPROXIMATEVIEWRECT, iCount, MAKELPARAM(sz.cx, sz.cy));
        return CSize(LOWORD(r), HIWORD(r));
    }
    BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
    CHeaderCtrl* GetHeaderCtrl() const { return (CHeaderCtrl*)CWnd::FromHandle((HWND)::SendMessageA(m_hWnd, LVM_GETHEADER, 0, 0)); }

    int InsertItem(const LVITEMA* pItem) { return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)pItem); }
    int InsertItem(int nItem, LPCTSTR lpszItem);
    int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask,
                   int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem) { return (BOOL)SendMessage(LVM_DELETEITEM, nItem); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
    int FindItem(LVFINDINFOA* pFindInfo, int nStart = -1) const
    {
        return (int)::SendMessageA(m_hWnd, LVM_FINDITEMA, nStart, (LPARAM)pFindInfo);
    }
    int HitTest(LVHITTESTINFO* pHitTestInfo) const
    {
        return (int)::SendMessageA(m_hWnd, LVM_HITTEST, 0, (LPARAM)pHitTestInfo);
    }
    int HitTest(CPoint pt, UINT* pFlags = NULL) const;
    int SubItemHitTest(LPLVHITTESTINFO pInfo) { return (int)SendMessage(LVM_SUBITEMHITTEST, 0, (LPARAM)pInfo); }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK)
    {
        return (BOOL)SendMessage(LVM_ENSUREVISIBLE, nItem, MAKELPARAM(bPartialOK, 0));
    }
    BOOL Scroll(CSize size) { return (BOOL)SendMessage(LVM_SCROLL, size.cx, size.cy); }
    BOOL RedrawItems(int nFirst, int nLast) { return (BOOL)SendMessage(LVM_REDRAWITEMS, nFirst, nLast); }
    BOOL Arrange(UINT nCode) { return (BOOL)SendMessage(LVM_ARRANGE, nCode); }
    CEdit* EditLabel(int nItem) { return (CEdit*)CWnd::FromHandle((HWND)SendMessage(LVM_EDITLABELA, nItem)); }
    int InsertColumn(int nCol, const LVCOLUMNA* pColumn)
    {
        return (int)SendMessage(LVM_INSERTCOLUMNA, nCol, (LPARAM)pColumn);
    }
    int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT,
                     int nWidth = -1, int nSubItem = -1);
    BOOL DeleteColumn(int nCol) { return (BOOL)SendMessage(LVM_DELETECOLUMN, nCol); }
    CImageList* CreateDragImage(int nItem, LPPOINT lpPoint);
    BOOL Update(int nItem) { return (BOOL)SendMessage(LVM_UPDATE, nItem); }
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
    {
        return (BOOL)SendMessage(LVM_SORTITEMS, dwData, (LPARAM)pfnCompare);
    }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* pResult) override;
};
