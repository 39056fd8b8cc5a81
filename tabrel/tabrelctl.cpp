#include "tabrelctl.h"
#include "clock.h"
#include "resource.h"
#include "tabbutton.h"
#include "tabrelppg.h"
#include "tabrel.h"
#include <algorithm>
#include <commctrl.h>

IMPLEMENT_DYNCREATE(CTabrelCtrl, COleControl)
IMPLEMENT_OLECREATE_EX(CTabrelCtrl, "TABREL.TabrelCtrl.1", 0x511980a6, 0xa1a4, 0x11d2, 0x8c, 0x08,
                       0xe4, 0x92, 0x6d, 0xb1, 0xe8, 0x60)
IMPLEMENT_OLETYPELIB(CTabrelCtrl, LIBID_TabrelLib, 1, 0)

const GUID LIBID_TabrelLib = {0x511980a3, 0xa1a4, 0x11d2,
                              {0x8c, 0x08, 0xe4, 0x92, 0x6d, 0xb1, 0xe8, 0x60}};

BEGIN_PROPPAGEIDS(CTabrelCtrl, 1)
    PROPPAGEID(CTabrelPropPage::guid)
END_PROPPAGEIDS(CTabrelCtrl)

BEGIN_MESSAGE_MAP(CTabrelCtrl, COleControl)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_TIMER()
    ON_WM_ERASEBKGND()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_DESTROY()
    ON_MESSAGE(OCM_COMMAND, OnOcmCommand)
END_MESSAGE_MAP()

BEGIN_DISPATCH_MAP(CTabrelCtrl, COleControl)
    DISP_PROPERTY_EX(CTabrelCtrl, "LineSize", GetLineSize, SetLineSize, VT_I4)
    DISP_PROPERTY_EX(CTabrelCtrl, "PageSize", GetPageSize, SetPageSize, VT_I4)
    DISP_PROPERTY_EX(CTabrelCtrl, "TabMode", GetTabMode, SetTabMode, VT_I2)
    DISP_PROPERTY_EX(CTabrelCtrl, "TabAdjustEnable", GetTabAdjustEnable, SetTabAdjustEnable, VT_BOOL)
    DISP_FUNCTION(CTabrelCtrl, "GetTabCount", GetTabCount, VT_I4, VTS_NONE)
    DISP_FUNCTION(CTabrelCtrl, "AddTab", AddTab, VT_I4, VTS_I4)
    DISP_FUNCTION(CTabrelCtrl, "GetRange", GetRange, VT_I4, VTS_NONE)
    DISP_FUNCTION(CTabrelCtrl, "GetThumbPosition", GetThumbPosition, VT_I4, VTS_NONE)
    DISP_FUNCTION(CTabrelCtrl, "SetRange", SetRange, VT_BOOL, VTS_I4 VTS_I4)
    DISP_FUNCTION(CTabrelCtrl, "SetTabPosition", SetTabPosition, VT_BOOL, VTS_I4 VTS_I4)
    DISP_FUNCTION(CTabrelCtrl, "GetTabPosition", GetTabPosition, VT_I4, VTS_I4)
    DISP_FUNCTION(CTabrelCtrl, "SetPos", SetPos, VT_BOOL, VTS_I4)
    DISP_FUNCTION(CTabrelCtrl, "DeleteTab", DeleteTab, VT_BOOL, VTS_I4)
    DISP_FUNCTION(CTabrelCtrl, "SetTransparent", SetTransparent, VT_EMPTY, VTS_BOOL)
    DISP_FUNCTION(CTabrelCtrl, "SetAltThumb", SetAltThumb, VT_EMPTY, VTS_I4)
    DISP_STOCKFUNC_REFRESH()
    DISP_FUNCTION_ID(CTabrelCtrl, "AboutBox", DISPID_ABOUTBOX, AboutBox, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

BEGIN_EVENT_MAP(CTabrelCtrl, COleControl)
    EVENT_CUSTOM("ThumbClicked", FireThumbClicked, VTS_I4)
    EVENT_CUSTOM("TabClicked", FireTabClicked, VTS_I4 VTS_I4)
    EVENT_CUSTOM("ThumbMoved", FireThumbMoved, VTS_I4)
    EVENT_CUSTOM("TabMoved", FireTabMoved, VTS_I4 VTS_I4)
    EVENT_STOCK_KEYDOWN()
    EVENT_STOCK_CLICK()
    EVENT_STOCK_MOUSEDOWN()
    EVENT_STOCK_KEYPRESS()
END_EVENT_MAP()

BOOL CTabrelCtrl::CTabrelCtrlFactory::UpdateRegistry(BOOL bRegister)
{
    if (!bRegister)
        return AfxOleUnregisterClass(m_clsid, m_lpszProgID);
    return AfxOleRegisterControlClass(AfxOleModuleHandle(), m_clsid, m_lpszProgID, IDS_TABREL,
                                      IDB_TABREL, afxRegInsertable | afxRegApartmentThreading,
                                      OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST |
                                          OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
                                          OLEMISC_RECOMPOSEONRESIZE,
                                      LIBID_TabrelLib, 1, 0);
}

CTabrelCtrl::CTabrelCtrl()
    : m_model(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CXSMICON),
              ::GetSystemMetrics(SM_CYSMICON)),
      m_bThumbDrag(FALSE), m_bHeld(FALSE), m_nHeldTab(0), m_bHasFocus(FALSE)
{
    InitializeIIDs(&DIID__DTabrel, &DIID__DTabrelEvents);
    for (int i = 0; i < CTabrelModel::kMaxTabs; ++i)
        m_pButtons[i] = NULL;
    HINSTANCE res = AfxGetResourceHandle();
    m_hThumbIcon = (HICON)::LoadImageA(res, MAKEINTRESOURCEA(IDI_THUMB), IMAGE_ICON, 32, 32, 0);
    m_hTabIcon = (HICON)::LoadImageA(res, MAKEINTRESOURCEA(IDI_TAB), IMAGE_ICON, 16, 16, 0);
}

CTabrelCtrl::~CTabrelCtrl()
{
    for (int i = 0; i < CTabrelModel::kMaxTabs; ++i)
        delete m_pButtons[i];
    if (m_hThumbIcon)
        ::DestroyIcon(m_hThumbIcon);
    if (m_hTabIcon)
        ::DestroyIcon(m_hTabIcon);
}

void CTabrelCtrl::DoPropExchange(CPropExchange* pPX)
{
    ExchangeVersion(pPX, MAKELONG(0, 1));
    COleControl::DoPropExchange(pPX);
}

DWORD CTabrelCtrl::GetControlFlags() { return COleControl::GetControlFlags() | noFlickerActivate; }

BOOL CTabrelCtrl::PreCreateWindow(CREATESTRUCT& cs)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    cs.lpszClass = TRACKBAR_CLASSA;
    return COleControl::PreCreateWindow(cs);
}

BOOL CTabrelCtrl::PreTranslateMessage(MSG* pMsg)
{
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) &&
        pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return COleControl::PreTranslateMessage(pMsg);
}

LRESULT CTabrelCtrl::OnOcmCommand(WPARAM, LPARAM) { return 0; }
BOOL CTabrelCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

//////////////////////////////////////////////////////////////////////////////////////////
// Drawing

void CTabrelCtrl::UpdateGeometry()
{
    CRect rc(0, 0, 0, 0);
    if (m_hWnd)
        GetClientRect(&rc);
    m_model.SetClient(rc);
}

void CTabrelCtrl::Repaint()
{
    if (!m_hWnd)
        return;
    InvalidateControl();
    if (m_model.m_bTransparent) {
        // The container paints what shows through; it must be fresh under the new picture.
        HWND parent = ::GetParent(m_hWnd);
        if (parent) {
            CRect rc;
            GetWindowRect(&rc);
            ::MapWindowPoints(NULL, parent, (POINT*)&rc, 2);
            ::RedrawWindow(parent, &rc, NULL,
                           RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
    }
}

void CTabrelCtrl::OnDraw(CDC* pDC, const CRect& rcBounds, const CRect&)
{
    UpdateGeometry();
    CTabrelModel& m = m_model;
    if (!m.m_bTransparent) {
        CRect rc = rcBounds;
        pDC->FillSolidRect(&rc, RGB(192, 192, 192));
        pDC->DrawEdge(&rc, EDGE_RAISED, BF_RECT);
    }
    CRect channel = m.m_rcChannel;
    CBrush grey(RGB(128, 128, 128));
    CBrush* oldBrush = pDC->SelectObject(&grey);
    pDC->Rectangle(&channel);
    pDC->SelectObject(oldBrush);
    pDC->DrawEdge(&channel, EDGE_SUNKEN, BF_RECT);

    CRect thumb = m.ThumbRect();
    if (!m.m_bTransparent && m_bHasFocus) {
        CRect focus = rcBounds;
        focus.DeflateRect(5, 5);
        pDC->DrawFocusRect(&focus);
    }
    if (m_hThumbIcon)
        ::DrawIconEx(pDC->GetSafeHdc(), thumb.left, thumb.top, m_hThumbIcon, m.m_nThumbSize,
                     m.m_nThumbSize, 0, NULL, DI_NORMAL);
    if (m.m_nTabMode == 2) {
        m.LayoutMarks();
        for (int i = 0; i < CTabrelModel::kMaxTabs; ++i)
            if (m.m_nTabPos[i] != CTabrelModel::kEmptySlot && m_hTabIcon)
                ::DrawIconEx(pDC->GetSafeHdc(), m.m_rcTab[i].left, m.m_rcTab[i].top, m_hTabIcon,
                             m.m_nTabWidth, m.m_nTabWidth, 0, NULL, DI_NORMAL);
    } else {
        PlaceButtons();
    }
}

void CTabrelCtrl::PlaceButtons()
{
    for (int k = 0; k < CTabrelModel::kMaxTabs; ++k) {
        CTabButton* b = m_pButtons[k];
        if (b && b->m_hWnd)
            b->SetWindowPos(NULL, m_model.SlotLeft(k),
                            m_model.m_rcChannel.top - m_model.m_nButtonHeight,
                            m_model.m_nTabWidth, m_model.m_nButtonHeight,
                            SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

//////////////////////////////////////////////////////////////////////////////////////////
// Dispatch members

LONG CTabrelCtrl::GetLineSize() { return m_model.m_nLineSize; }
void CTabrelCtrl::SetLineSize(LONG n) { m_model.SetLineSize(n); }
LONG CTabrelCtrl::GetPageSize() { return m_model.m_nPageSize; }
void CTabrelCtrl::SetPageSize(LONG n) { m_model.SetPageSize(n); }
short CTabrelCtrl::GetTabMode() { return m_model.m_nTabMode; }
void CTabrelCtrl::SetTabMode(short n) { m_model.SetTabMode(n); }
BOOL CTabrelCtrl::GetTabAdjustEnable() { return m_model.m_bTabAdjust; }

void CTabrelCtrl::SetTabAdjustEnable(BOOL b)
{
    m_model.m_bTabAdjust = b;
    for (int i = 0; i < CTabrelModel::kMaxTabs; ++i)
        if (m_pButtons[i])
            m_pButtons[i]->m_bAdjustEnabled = b;
}

LONG CTabrelCtrl::GetTabCount() { return m_model.m_nTabCount; }

LONG CTabrelCtrl::AddTab(LONG nPosition)
{
    UpdateGeometry();
    if (m_model.m_nTabMode == 2) {
        int count = m_model.AddMark(nPosition);
        if (count)
            Repaint();
        return count;
    }
    int slot = m_model.m_nTabCount;
    int count = m_model.AddButtonTab(nPosition);
    if (!count)
        return 0;
    CTabButton*& b = m_pButtons[slot];
    if (!b && m_hWnd) {
        b = new CTabButton;
        b->SetControl(this);
        CString caption, face;
        caption.Format("%d", slot + 1);
        face.Format("IDB_NUMBER%d", slot + 1);
        b->LoadBitmaps(face, face);
        b->LoadExtraBitmap(1, MAKEINTRESOURCE(IDB_TAB_HELD));
        b->Set3DFrame(TRUE);
        CRect rc(m_model.SlotLeft(slot), m_model.m_rcChannel.top - m_model.m_nButtonHeight, 0, 0);
        rc.right = rc.left + m_model.m_nTabWidth;
        rc.bottom = rc.top + m_model.m_nButtonHeight;
        if (!b->Create("button", caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rc, this, slot)) {
            delete b;
            b = NULL;
        }
    } else if (b && b->m_hWnd) {
        b->ShowWindow(SW_SHOW);
    }
    Repaint();
    return count;
}

LONG CTabrelCtrl::GetRange() { return m_model.m_nMax; }
LONG CTabrelCtrl::GetThumbPosition() { return m_model.m_nPos; }

BOOL CTabrelCtrl::SetRange(LONG nRangeMin, LONG nRangeMax)
{
    if (!m_model.SetRange(nRangeMin, nRangeMax))
        return FALSE;
    Repaint();
    return TRUE;
}

// Indices below 1 are refused as those above the count are: there is no slot for them.
BOOL CTabrelCtrl::SetTabPosition(LONG nIndex, LONG nNewPosition)
{
    UpdateGeometry();
    if (!m_model.SetTabPosition(nIndex - 1, nNewPosition))
        return FALSE;
    Repaint();
    return TRUE;
}

LONG CTabrelCtrl::GetTabPosition(LONG nIndex) { return m_model.GetTabPosition(nIndex - 1); }

BOOL CTabrelCtrl::SetPos(LONG nPosition)
{
    BOOL ok = m_model.SetPos(nPosition);
    Repaint();
    return ok;
}

BOOL CTabrelCtrl::DeleteTab(LONG nIndex)
{
    UpdateGeometry();
    if (!m_model.DeleteTab(nIndex - 1))
        return FALSE;
    CTabButton* b = m_pButtons[nIndex - 1];
    if (b && b->m_hWnd)
        b->ShowWindow(SW_HIDE);
    Repaint();
    return TRUE;
}

void CTabrelCtrl::SetTransparent(BOOL bFlag)
{
    m_model.SetTransparent(bFlag);
    UpdateGeometry();
}

void CTabrelCtrl::SetAltThumb(LONG nSel)
{
    m_model.m_nAltThumb = nSel;
    HICON icon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_ALT_THUMB),
                                     IMAGE_ICON, 32, 32, 0);
    if (icon) {
        if (m_hThumbIcon)
            ::DestroyIcon(m_hThumbIcon);
        m_hThumbIcon = icon;
    }
}

void CTabrelCtrl::AboutBox()
{
    CDialog dlg(IDD_ABOUTBOX_TABREL);
    dlg.DoModal();
}

//////////////////////////////////////////////////////////////////////////////////////////
// Tabs held and moved from the buttons

void CTabrelCtrl::SelectTab(int nIndex)
{
    EndHold();
    if (nIndex < 0 || nIndex >= CTabrelModel::kMaxTabs)
        return;
    SetPos(m_model.m_nTabPos[nIndex]);
    m_model.m_nCurTab = nIndex;
    FireTabClicked(nIndex, m_model.m_nPos);
    FireThumbMoved(m_model.m_nPos);
}

void CTabrelCtrl::HoldTab(int nTab)
{
    m_bHeld = TRUE;
    m_nHeldTab = nTab;
}

void CTabrelCtrl::ArmHold(int nTab)
{
    HoldTab(nTab);
    if (m_hWnd)
        CTabrelClock::Get()->SetTimer(m_hWnd, kHoldTimer, kHoldElapse);
}

void CTabrelCtrl::EndHold()
{
    if (m_bHeld && m_nHeldTab >= 1 && m_nHeldTab <= CTabrelModel::kMaxTabs &&
        m_pButtons[m_nHeldTab - 1])
        m_pButtons[m_nHeldTab - 1]->RestoreFace();
    if (m_hWnd)
        CTabrelClock::Get()->KillTimer(m_hWnd, kHoldTimer);
    m_bHeld = FALSE;
    m_nHeldTab = 0;
}

void CTabrelCtrl::MoveTabToThumb(int nTab)
{
    if (SetTabPosition(nTab, m_model.m_nPos))
        FireTabMoved(nTab - 1, m_model.m_nPos);
}

void CTabrelCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kHoldTimer) {
        Default();
        return;
    }
    if (m_bThumbDrag)
        CTabrelClock::Get()->KillTimer(m_hWnd, kHoldTimer);
    else
        EndHold();
}

//////////////////////////////////////////////////////////////////////////////////////////
// Mouse and keys

void CTabrelCtrl::MoveThumbTo(int nPos)
{
    m_model.m_nPos = nPos;
    Repaint();
    FireThumbMoved(nPos);
}

void CTabrelCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    UpdateGeometry();
    CTabrelModel& m = m_model;
    if (m.ThumbRect().PtInRect(point)) {
        m_bThumbDrag = TRUE;
    } else if (m.m_nTabMode == 2 && nFlags == (MK_LBUTTON | MK_SHIFT)) {
        m.m_nDragTab = m.MarkAt(point);
    } else if (!m.ChannelHitArea().PtInRect(point)) {
        for (int i = 0; i < m.m_nTabCount; ++i) {
            if (m.m_nTabPos[i] != CTabrelModel::kEmptySlot && m.m_rcTab[i].PtInRect(point)) {
                m.SetPos(m.m_nTabPos[i]);
                m.m_nCurTab = i;
                Repaint();
                FireTabClicked(i, m.m_nPos);
                FireThumbMoved(m.m_nPos);
            }
        }
    }
    // The stock event (and the capture for the drag) come from the framework.
    ButtonDown(LEFT_BUTTON, nFlags, point);
}

void CTabrelCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    CTabrelModel& m = m_model;
    if (m_bThumbDrag) {
        UpdateGeometry();
        int pos = m.PointToPos(point.x);
        if (pos != m.m_nPos)
            MoveThumbTo(pos);
    } else if (m.m_nTabMode == 2 && nFlags == (MK_LBUTTON | MK_SHIFT)) {
        UpdateGeometry();
        int t = m.m_nDragTab;
        if (t < 0 && m.m_nRefusedTab >= 0 && m.m_nRefusedTab < m.m_nTabCount &&
            m.m_rcTab[m.m_nRefusedTab].PtInRect(point))
            t = m.m_nDragTab = m.m_nRefusedTab;
        if (t >= 0 && t < m.m_nTabCount) {
            int pos = m.PointToPos(point.x);
            if (m.MarkOverlaps(pos, t)) {
                m.m_nRefusedTab = t;
                m.m_nDragTab = -1;
            } else if (pos >= m.m_nMin && pos <= m.m_nMax && pos != m.m_nTabPos[t]) {
                m.SetTabPosition(t, pos);
                m.m_nRefusedTab = -1;
                FireTabMoved(t, pos);
                MoveThumbTo(pos);
            }
            m.m_nCurTab = -1;
        }
    }
}

void CTabrelCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_model.m_nDragTab = -1;
    if (m_bThumbDrag) {
        m_bThumbDrag = FALSE;
        if (m_bHeld) {
            int held = m_nHeldTab;
            SetTabPosition(held, m_model.m_nPos);
            FireTabMoved(held - 1, m_model.m_nPos);
            EndHold();
        }
    }
    Repaint();
    ButtonUp(LEFT_BUTTON, nFlags, point);
}

void CTabrelCtrl::OnKeyDown(UINT nChar, UINT, UINT)
{
    CTabrelModel& m = m_model;
    switch (nChar) {
    case VK_PRIOR:
        if (m.m_nPos <= m.m_nMax)
            MoveThumbTo(std::min(m.m_nPos + m.m_nPageSize, m.m_nMax));
        break;
    case VK_NEXT:
        if (m.m_nPos > m.m_nMin)
            MoveThumbTo(std::max(m.m_nPos - m.m_nPageSize, m.m_nMin));
        break;
    case VK_END:
        MoveThumbTo(m.m_nMax);
        break;
    case VK_HOME:
        MoveThumbTo(m.m_nMin);
        break;
    case VK_LEFT:
    case VK_RIGHT: {
        if (m_bHeld && m_hWnd)
            CTabrelClock::Get()->SetTimer(m_hWnd, kHoldTimer, kHoldElapse);
        int pos = nChar == VK_LEFT ? m.m_nPos - m.m_nLineSize : m.m_nPos + m.m_nLineSize;
        if (pos >= m.m_nMin && pos <= m.m_nMax)
            MoveThumbTo(pos);
        break;
    }
    case VK_UP:
    case VK_DOWN: {
        int tab = nChar == VK_UP ? m.NextTab() : m.PreviousTab();
        if (tab < 0) {
            Repaint();
        } else if (m.m_nTabMode == 2) {
            MoveThumbTo(m.m_nTabPos[tab]);
        } else {
            SetPos(m.m_nTabPos[tab]);
            FireThumbMoved(m.m_nPos);
        }
        break;
    }
    }
    USHORT c = (USHORT)nChar;
    KeyDown(&c);
}

void CTabrelCtrl::OnSetFocus(CWnd* pOldWnd)
{
    m_bHasFocus = TRUE;
    Repaint();
    COleControl::OnSetFocus(pOldWnd);
}

void CTabrelCtrl::OnKillFocus(CWnd* pNewWnd)
{
    m_bHasFocus = FALSE;
    Repaint();
    COleControl::OnKillFocus(pNewWnd);
}

void CTabrelCtrl::OnDestroy()
{
    EndHold();
    for (int i = 0; i < CTabrelModel::kMaxTabs; ++i) {
        if (m_pButtons[i] && m_pButtons[i]->m_hWnd)
            m_pButtons[i]->DestroyWindow();
        delete m_pButtons[i];
        m_pButtons[i] = NULL;
    }
    COleControl::OnDestroy();
}
