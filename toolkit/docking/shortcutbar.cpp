#include "shortcutbar.h"
#include "shortcutlist.h"

// ---------------------------------------------------------------------------------------------
// SECIcon

IMPLEMENT_DYNAMIC(SECIcon, CObject)

SECIcon::SECIcon() : m_hIcon(NULL), m_cx(-1), m_cy(-1) {}

SECIcon::~SECIcon() {}

BOOL SECIcon::Load(UINT nID, int cx, int cy)
{
    return Load(MAKEINTRESOURCEA(nID), cx, cy);
}

BOOL SECIcon::Load(LPCTSTR lpszName, int cx, int cy)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    if (hInst == NULL)
        return FALSE;
    HICON hIcon = (HICON)::LoadImageA(hInst, lpszName, IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR);
    if (hIcon == NULL)
        return FALSE;
    m_hIcon = hIcon;
    m_cx = cx;
    m_cy = cy;
    return TRUE;
}

BOOL SECIcon::Draw(CDC* pDC, int x, int y, int cx, int cy, HBRUSH hbrFlicker)
{
    if (m_hIcon == NULL)
        return FALSE;
    return ::DrawIconEx(pDC->GetSafeHdc(), x, y, m_hIcon, cx, cy, 0, hbrFlicker, DI_NORMAL);
}

BOOL SECIcon::Draw(CDC* pDC, int x, int y)
{
    return Draw(pDC, x, y, m_cx, m_cy);
}

void SECIcon::SetHandle(HICON hIcon)
{
    m_hIcon = hIcon;
    m_cx = m_cy = -1;
    ICONINFO info;
    if (hIcon != NULL && ::GetIconInfo(hIcon, &info)) {
        m_cx = (int)info.xHotspot * 2;
        m_cy = (int)info.yHotspot * 2;
        if (info.hbmMask)
            ::DeleteObject(info.hbmMask);
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
    }
}

// ---------------------------------------------------------------------------------------------
// SECBar

IMPLEMENT_DYNCREATE(SECBar, CObject)

SECBar::SECBar()
    : m_bAutoDelete(TRUE), m_rectButton(0, 0, 0, 0), m_rectClient(0, 0, 0, 0), m_nThickness(0),
      m_nExtent(0), m_nThicknessCopy(0), m_hFont(NULL), m_nExtra(0), m_hWndClient(NULL),
      m_hMenu(NULL), m_clrText(::GetSysColor(COLOR_MENUTEXT)),
      m_clrGreyText(::GetSysColor(COLOR_GRAYTEXT)), m_clrFrame(RGB(255, 0, 0)),
      m_clrButton(::GetSysColor(COLOR_BTNFACE)), m_nState(0), m_bEnabled(TRUE), m_nFlag(1),
      m_pOwnedWnd(NULL)
{
}

// A copy shares the client window but never owns its object, and has no brushes of its own
// until CreateGdiObjects.
SECBar::SECBar(const SECBar& other) : SECBar()
{
    CopyFrom(other);
}

SECBar& SECBar::operator=(const SECBar& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

void SECBar::CopyFrom(const SECBar& other)
{
    m_strLabel = other.m_strLabel;
    m_rectButton = other.m_rectButton;
    m_rectClient = other.m_rectClient;
    m_hFont = other.m_hFont;
    m_hWndClient = other.m_hWndClient;
    m_nExtra = other.m_nExtra;
    m_hMenu = other.m_hMenu;
    m_bAutoDelete = other.m_bAutoDelete;
    m_nFlag = other.m_nFlag;
    m_clrText = other.m_clrText;
    m_clrButton = other.m_clrButton;
    m_icon.m_hIcon = other.m_icon.m_hIcon;
    m_nState = other.m_nState;
    m_bEnabled = other.m_bEnabled;
}

SECBar::~SECBar()
{
    DeleteGdiObjects();
}

void SECBar::SetWnd(CWnd* pWnd)
{
    m_hWndClient = pWnd->GetSafeHwnd();
}

void SECBar::SetOwnedWnd(CWnd* pWnd)
{
    m_pOwnedWnd = pWnd;
}

CWnd* SECBar::GetWnd() const
{
    return CWnd::FromHandle(m_hWndClient);
}

void SECBar::SetMenu(CMenu* pMenu, int nSubMenu)
{
    if (pMenu == NULL) {
        m_hMenu = NULL;
        return;
    }
    m_hMenu = nSubMenu == -1 ? pMenu->GetSafeHmenu() : ::GetSubMenu(pMenu->GetSafeHmenu(), nSubMenu);
}

void SECBar::SetFrameColor(COLORREF clr)
{
    m_clrFrame = clr;
    CreateGdiObjects();
}

void SECBar::SetBkColor(COLORREF clr)
{
    m_clrButton = clr;
    CreateGdiObjects();
}

void SECBar::CreateGdiObjects()
{
    DeleteGdiObjects();
    m_brFrame.CreateSolidBrush(m_clrFrame);
    if (m_clrButton != ::GetSysColor(COLOR_BTNFACE))
        m_brButton.CreateSolidBrush(m_clrButton);
}

void SECBar::DeleteGdiObjects()
{
    m_brButton.DeleteObject();
    m_brFrame.DeleteObject();
}

void SECBar::CalcButtonSize(CDC* pDC, BOOL bVertical)
{
    m_rectButton.SetRectEmpty();
    HGDIOBJ hOld = m_hFont ? ::SelectObject(pDC->GetSafeHdc(), m_hFont) : NULL;
    CSize size = pDC->GetTextExtent(m_strLabel);
    if (hOld)
        ::SelectObject(pDC->GetSafeHdc(), hOld);
    if (bVertical) {
        m_rectButton.right = size.cx + 5;
        m_rectButton.bottom = size.cy + 5;
    } else {
        m_rectButton.right = size.cy + 5;
        m_rectButton.bottom = size.cx + 5;
    }
    m_nThickness = m_nThicknessCopy = size.cy + 5;
}

void SECBar::OnRemove() {}

void SECBar::DeleteOwnedWnd()
{
    CWnd* pWnd = m_pOwnedWnd;
    m_pOwnedWnd = NULL;
    delete pWnd;
}

void SECBar::Draw(CDC* pDC, BOOL bTurnedLabels)
{
    BOOL bPressed = (m_nState & stPressed) != 0;
    DrawButton(pDC, bPressed);
    DrawIcon(pDC, bPressed, bTurnedLabels);
    DrawLabel(pDC, bPressed, bTurnedLabels);
}

void SECBar::DrawButton(CDC* pDC, BOOL bPressed)
{
    CRect rc = m_rectButton;
    pDC->DrawFrameControl(&rc, DFC_BUTTON, DFCS_BUTTONPUSH | (bPressed ? DFCS_PUSHED : 0));
    if (m_brButton.GetSafeHandle() != NULL)
        pDC->FillRect(&m_rectButton, &m_brButton);
    if (m_nState & stFramed) {
        CRect frame = m_rectButton;
        frame.DeflateRect(2, 1);
        if (bPressed)
            frame.OffsetRect(1, 1);
        pDC->FrameRect(&frame, &m_brFrame);
    }
}

void SECBar::DrawIcon(CDC* pDC, BOOL bPressed, BOOL /*bTurnedLabels*/)
{
    if (m_icon.GetHandle() == NULL)
        return;
    int x = m_rectButton.left + 4;
    int y = m_rectButton.top + (m_rectButton.Height() - m_icon.GetHeight()) / 2;
    if (bPressed) {
        x++;
        y++;
    }
    if (y < m_rectButton.top) {
        // Taller than the button: fitted between 2-pixel margins, keeping its proportions.
        y = m_rectButton.top + 2;
        int bottom = m_rectButton.bottom - 2;
        int cy = bottom - y;
        int cx = m_icon.GetHeight() > 0 ? cy * m_icon.GetWidth() / m_icon.GetHeight() : cy;
        m_icon.Draw(pDC, x, y, cx, cy);
    } else {
        m_icon.Draw(pDC, x, y);
    }
}

void SECBar::DrawLabel(CDC* pDC, BOOL /*bPressed*/, BOOL bTurnedLabels)
{
    HDC hdc = pDC->GetSafeHdc();
    CRect b = m_rectButton;
    if (!bTurnedLabels)
        b.right -= 4;
    HGDIOBJ hOldFont = m_hFont ? ::SelectObject(hdc, m_hFont) : NULL;
    CSize ext = pDC->GetTextExtent(m_strLabel);
    int w = bTurnedLabels ? ext.cy : ext.cx;
    int h = bTurnedLabels ? ext.cx : ext.cy;
    int dx = (b.Width() - w) / 2;
    int dy = (b.Height() - h) / 2;
    CRect box = bTurnedLabels ? CRect(b.left + dx, dy, b.left + dx + w, dy + h)
                              : CRect(dx, b.top + dy, dx + w, b.top + dy + h);
    COLORREF clrOld = ::SetTextColor(hdc, m_clrText);
    int nOldMode = ::SetBkMode(hdc, TRANSPARENT);
    // Turned text runs upward from its reference point, so it starts at the box's bottom.
    ::ExtTextOutA(hdc, box.left, bTurnedLabels ? box.bottom : box.top, ETO_CLIPPED, &box,
                  m_strLabel, m_strLabel.GetLength(), NULL);
    ::SetBkMode(hdc, nOldMode);
    ::SetTextColor(hdc, clrOld);
    if (hOldFont)
        ::SelectObject(hdc, hOldFont);
}

void SECBar::SetIcon(HICON hIcon)
{
    m_icon.SetHandle(hIcon);
}

BOOL SECBar::FitIconSize(int& cx, int& cy) const
{
    if (cx >= 32 && m_rectButton.Height() < cx) {
        cx = cy = 16;
        return TRUE;
    }
    return FALSE;
}

BOOL SECBar::SetIcon(UINT nID, int cx, int cy)
{
    return SetIcon(MAKEINTRESOURCEA(nID), cx, cy);
}

BOOL SECBar::SetIcon(LPCTSTR lpszName, int cx, int cy)
{
    FitIconSize(cx, cy);
    return m_icon.Load(lpszName, cx, cy);
}

// ---------------------------------------------------------------------------------------------
// SECShortcutBar

IMPLEMENT_DYNCREATE(SECShortcutBar, CWnd)

BEGIN_MESSAGE_MAP(SECShortcutBar, CWnd)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_CONTEXTMENU()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// The window class of every shortcut bar, registered on first use.
CString& ShortcutBarClassName()
{
    static CString name;
    if (name.IsEmpty())
        name = AfxRegisterWndClass(0, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW),
                                   (HBRUSH)(UINT_PTR)(COLOR_WINDOW + 1), NULL);
    return name;
}

}  // namespace

SECShortcutBar::SECShortcutBar()
    : m_nPressed(-1), m_nOpen(-1), m_nBarHeight(25), m_nButtonTotal(0), m_nOpenExtent(25),
      m_nFontHeight(15), m_nAnimDelay(7), m_nAnimSteps(8), m_bOpenFlag(FALSE),
      m_bTracking(FALSE), m_dwLayout(0), m_dwBehaviour(0), m_pBarClass(RUNTIME_CLASS(SECBar)),
      m_pListBarClass(RUNTIME_CLASS(SECListBar)), m_pListCtrlClass(RUNTIME_CLASS(SECShortcutListCtrl)),
      m_nLastWidth(0), m_nLastHeight(0), m_strFontFace("Arial"),
      m_clrText(::GetSysColor(COLOR_MENUTEXT)), m_clrButton(::GetSysColor(COLOR_BTNFACE))
{
}

SECShortcutBar::~SECShortcutBar()
{
    if (m_hWnd != NULL)
        DestroyWindow();
    FreeBars();
    DeleteGdiObjects();
}

BOOL SECShortcutBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwLayout = dwStyle & SCBS_LAYOUTMASK;
    m_dwBehaviour = dwStyle & SCBS_BEHAVIOURMASK;
    if (m_hWnd != NULL)
        return TRUE;
    if (!CreateEx(0, ShortcutBarClassName(), NULL, dwStyle & ~(DWORD)SCBS_OWNBITS, 0, 0, 0, 0,
                  pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID))
        return FALSE;
    CreateGdiObjects();
    return TRUE;
}

BOOL SECShortcutBar::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT&, CWnd* pParentWnd,
                            UINT nID, CCreateContext*)
{
    if ((dwStyle & SCBS_LAYOUTMASK) == 0)
        dwStyle |= SCBS_VERTICAL;
    return Create(pParentWnd, dwStyle, nID);
}

// --- Adding, inserting and removing bars ---

SECBar* SECShortcutBar::MakeBar(CRuntimeClass* pClass)
{
    SECBar* pBar = NULL;
    TRY {
        CObject* pObject = pClass ? pClass->CreateObject() : NULL;
        pBar = DYNAMIC_DOWNCAST(SECBar, pObject);
        if (pBar == NULL)
            delete pObject;
    }
    CATCH(CMemoryException, e) {
        pBar = NULL;
    }
    END_CATCH
    return pBar;
}

SECBar* SECShortcutBar::NewBar() { return MakeBar(m_pBarClass); }

SECBar* SECShortcutBar::NewListBar() { return MakeBar(m_pListBarClass); }

CWnd* SECShortcutBar::CreateClient(CRuntimeClass* pClass, CCreateContext* pContext, int nID)
{
    CWnd* pWnd = NULL;
    TRY {
        CObject* pObject = pClass ? pClass->CreateObject() : NULL;
        pWnd = DYNAMIC_DOWNCAST(CWnd, pObject);
        if (pWnd == NULL)
            delete pObject;
    }
    CATCH_ALL(e) {
        pWnd = NULL;
    }
    END_CATCH_ALL
    if (pWnd == NULL)
        return NULL;
    if (nID == -1)
        nID = GetBarCount() + SCB_FIRSTCLIENTID;
    if (!pWnd->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, (UINT)nID,
                      pContext) ||
        !OnClientCreated(pWnd)) {
        delete pWnd;  // destroys its window too, when one was made
        return NULL;
    }
    return pWnd;
}

SECBar* SECShortcutBar::AddBar(CRuntimeClass* pViewClass, LPCTSTR lpszLabel,
                               CCreateContext* pContext, BOOL bRecalc, int nID)
{
    CWnd* pWnd = CreateClient(pViewClass, pContext, nID);
    if (pWnd == NULL)
        return NULL;
    SECBar* pBar = AddBar(pWnd, lpszLabel, bRecalc);
    if (pBar == NULL) {
        delete pWnd;
        return NULL;
    }
    pBar->SetOwnedWnd(pWnd);
    return pBar;
}

SECBar* SECShortcutBar::AddBar(CWnd* pWnd, LPCTSTR lpszLabel, BOOL bRecalc)
{
    return DoAddBar(pWnd, lpszLabel, bRecalc);
}

SECBar* SECShortcutBar::InsertBar(int nIndex, CRuntimeClass* pViewClass, LPCTSTR lpszLabel,
                                  CCreateContext* pContext, BOOL bRecalc, int nID)
{
    if (nIndex < 0 || nIndex > GetBarCount())
        return NULL;
    CWnd* pWnd = CreateClient(pViewClass, pContext, nID);
    if (pWnd == NULL)
        return NULL;
    SECBar* pBar = InsertBar(nIndex, pWnd, lpszLabel, bRecalc);
    if (pBar == NULL)
        delete pWnd;
    return pBar;
}

SECBar* SECShortcutBar::InsertBar(int nIndex, CWnd* pWnd, LPCTSTR lpszLabel, BOOL bRecalc)
{
    return DoInsertBar(nIndex, pWnd, lpszLabel, bRecalc);
}

void SECShortcutBar::PlaceBar(SECBar* pBar, int nIndex, CWnd* pWnd, LPCTSTR lpszLabel)
{
    m_bars.InsertAt(nIndex, pBar);
    // The open and pressed bars keep their identity when a bar goes in before them.
    if (m_nOpen >= nIndex && m_nOpen != -1)
        m_nOpen++;
    if (m_nPressed >= nIndex && m_nPressed != -1)
        m_nPressed++;
    pBar->SetLabel(lpszLabel);
    pBar->SetEnabled(TRUE);
    pBar->SetWnd(pWnd);
    MeasureBars((HFONT)LayoutFont()->GetSafeHandle(), nIndex);
}

SECBar* SECShortcutBar::AddNewBar(SECBar* pBar, int nIndex, CWnd* pWnd, LPCTSTR lpszLabel,
                                  BOOL bRecalc, BOOL bAppend)
{
    if (pBar == NULL)
        return NULL;
    if (bAppend && !CanAddBar(pBar)) {
        delete pBar;
        return NULL;
    }
    PlaceBar(pBar, nIndex, pWnd, lpszLabel);
    if (bAppend) {
        pBar->SetTextColor(m_clrText);
        pBar->SetBkColor(m_clrButton);
    }
    if (bRecalc)
        Relayout();
    return pBar;
}

SECBar* SECShortcutBar::DoAddBar(CWnd* pWnd, LPCTSTR lpszLabel, BOOL bRecalc)
{
    if (pWnd == NULL)
        return NULL;
    SECBar* pBar = NewBar();
    if (pBar != NULL)
        pBar->CreateGdiObjects();
    return AddNewBar(pBar, GetBarCount(), pWnd, lpszLabel, bRecalc, TRUE);
}

SECBar* SECShortcutBar::DoInsertBar(int nIndex, CWnd* pWnd, LPCTSTR lpszLabel, BOOL bRecalc)
{
    if (pWnd == NULL || nIndex < 0 || nIndex > GetBarCount())
        return NULL;
    SECBar* pBar = NewBar();
    if (pBar != NULL)
        pBar->CreateGdiObjects();
    return AddNewBar(pBar, nIndex, pWnd, lpszLabel, bRecalc, FALSE);
}

SECBar* SECShortcutBar::AddListBar(LPCTSTR lpszLabel, BOOL bRecalc)
{
    return InsertListBar(-1, lpszLabel, bRecalc);
}

// nIndex -1: added at the end (asking CanAddBar, with the bar colours).
SECBar* SECShortcutBar::InsertListBar(int nIndex, LPCTSTR lpszLabel, BOOL bRecalc)
{
    BOOL bAppend = nIndex == -1;
    if (bAppend)
        nIndex = GetBarCount();
    if (nIndex < 0 || nIndex > GetBarCount())
        return NULL;
    SECBar* pBar = NewListBar();
    if (pBar == NULL)
        return NULL;
    pBar->CreateGdiObjects();
    CWnd* pList = CreateClient(m_pListCtrlClass, NULL, GetBarCount() + SCB_FIRSTCLIENTID);
    if (pList == NULL) {
        delete pBar;
        return NULL;
    }
    // The bar owns the list object in both cases, so that no removal leaves it behind.
    pBar = AddNewBar(pBar, nIndex, pList, lpszLabel, bRecalc, bAppend);
    if (pBar == NULL)
        delete pList;
    else
        pBar->SetOwnedWnd(pList);
    return pBar;
}

BOOL SECShortcutBar::RemoveBar(int nIndex)
{
    if (!IsValidBarIndex(nIndex) || !CanRemoveBar(nIndex))
        return FALSE;
    SECBar* pBar = m_bars[nIndex];
    pBar->OnRemove();
    pBar->DeleteOwnedWnd();
    m_nButtonTotal -= pBar->GetThickness();
    if (pBar->GetAutoDelete())
        delete pBar;
    m_bars.RemoveAt(nIndex);

    if (m_nPressed == nIndex) {
        m_nPressed = -1;
        m_bTracking = FALSE;
    } else if (m_nPressed > nIndex) {
        m_nPressed--;
    }
    int nCount = GetBarCount();
    if (m_bOpenFlag) {
        if (nCount == 0) {
            m_bOpenFlag = FALSE;
            m_nOpen = -1;
        } else if (m_nOpen == nIndex) {
            // The bar that moved into its place opens, or the new last one.
            m_bOpenFlag = FALSE;
            m_nOpen = -1;
            ActivateBar(nIndex < nCount ? nIndex : nCount - 1);
        } else if (m_nOpen > nIndex) {
            m_nOpen--;
        }
    }
    Relayout();
    return TRUE;
}

BOOL SECShortcutBar::SetBarLabel(int nIndex, LPCTSTR lpszLabel)
{
    SECBar* pBar = GetBar(nIndex);
    if (pBar == NULL)
        return FALSE;
    pBar->SetLabel(lpszLabel);
    InvalidateBar(pBar);
    return TRUE;
}

// --- Opening bars ---

void SECShortcutBar::ActivateBar(int nIndex)
{
    if (nIndex == -1) {
        if (HasActiveBar()) {
            SECBar* pOpen = m_bars[m_nOpen];
            if (::IsWindow(pOpen->GetWndHandle()))
                ::ShowWindow(pOpen->GetWndHandle(), SW_HIDE);
            pOpen->SetExtent(0);
            pOpen->SetState(pOpen->GetState() & ~SECBar::stFramed);
        }
        m_nOpen = -1;
        m_bOpenFlag = FALSE;
    } else if (IsValidBarIndex(nIndex)) {
        int nOld = m_nOpen;
        if ((m_dwBehaviour & SCBS_ANIMATE) && HasActiveBar() && nOld != nIndex)
            ActivateBarAnimated(nOld, nIndex);
        else
            ActivateBarNow(nIndex);
        if (m_dwBehaviour & SCBS_FRAMEACTIVE) {
            if (IsValidBarIndex(nOld))
                m_bars[nOld]->SetState(m_bars[nOld]->GetState() & ~SECBar::stFramed);
            m_bars[nIndex]->SetState(m_bars[nIndex]->GetState() | SECBar::stFramed);
        }
        m_nOpen = nIndex;
        m_bOpenFlag = TRUE;
    }
    Relayout();
}

void SECShortcutBar::ShowOpenedClient(SECBar* pOpened)
{
    HWND hWnd = pOpened->GetWndHandle();
    if (!::IsWindow(hWnd))
        return;
    ::SetActiveWindow(hWnd);
    ::ShowWindow(hWnd, SW_SHOW);
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
        CFrameWnd* pFrame = pWnd->GetParentFrame();
        if (pFrame != NULL)
            pFrame->SetActiveView((CView*)pWnd, TRUE);
    }
    ::SetFocus(hWnd);
}

void SECShortcutBar::ActivateBarNow(int nIndex)
{
    SECBarIterator it(m_bars);
    for (it.First(); !it.IsDone(); it.Next()) {
        SECBar* pBar = it.Current();
        if (it.Index() == nIndex) {
            pBar->SetExtent(m_nOpenExtent);
            ShowOpenedClient(pBar);
        } else {
            pBar->SetExtent(0);
            if (::IsWindow(pBar->GetWndHandle()))
                ::ShowWindow(pBar->GetWndHandle(), SW_HIDE);
        }
    }
}

void SECShortcutBar::ActivateBarAnimated(int nOld, int nNew)
{
    if (nOld == nNew || !IsValidBarIndex(nOld) || !IsValidBarIndex(nNew)) {
        ActivateBarNow(nNew);
        return;
    }
    SECBar* pOld = m_bars[nOld];
    SECBar* pNew = m_bars[nNew];
    int nSteps = m_nAnimSteps < 1 ? 1 : m_nAnimSteps;
    int nStep = pOld->GetExtent() / nSteps;
    if (nStep == 0)
        nStep = 1;
    if (::IsWindow(pNew->GetWndHandle()))
        ::ShowWindow(pNew->GetWndHandle(), SW_SHOW);

    CRect rectClient;
    GetClientRect(&rectClient);
    DWORD dwLast = ::GetTickCount();
    for (;;) {
        // Waits without dispatching messages: the slide runs to its end undisturbed.
        for (;;) {
            DWORD dwElapsed = ::GetTickCount() - dwLast;
            if ((int)dwElapsed >= m_nAnimDelay)
                break;
            ::Sleep(m_nAnimDelay - dwElapsed);
        }
        dwLast = ::GetTickCount();
        if (pOld->GetExtent() - nStep < 1)
            break;
        pOld->SetExtent(pOld->GetExtent() - nStep);
        pNew->SetExtent(pNew->GetExtent() + nStep);
        CalcBarRects(IsVertical(), rectClient);
        PositionClientWindows();
        InvalidateRect(NULL, FALSE);
        UpdateWindow();
    }
    pOld->SetExtent(0);
    pNew->SetExtent(m_nOpenExtent);
    CalcBarRects(IsVertical(), rectClient);
    PositionClientWindows();
    if (::IsWindow(pOld->GetWndHandle()))
        ::ShowWindow(pOld->GetWndHandle(), SW_HIDE);
    ShowOpenedClient(pNew);
}

void SECShortcutBar::DisableBar(int nIndex)
{
    if (!IsValidBarIndex(nIndex) || !CanDisableBar(nIndex))
        return;
    m_bars[nIndex]->SetEnabled(FALSE);
    int i = nIndex + 1;
    FindNextEnabledBar(&i);
    if (i == GetBarCount()) {
        i = GetBarCount() - 1;
        FindPrevEnabledBar(&i);
    }
    ActivateBar(i);
}

void SECShortcutBar::EnableBar(int nIndex)
{
    if (IsValidBarIndex(nIndex) && CanEnableBar(nIndex))
        m_bars[nIndex]->SetEnabled(TRUE);
}

BOOL SECShortcutBar::FindPrevEnabledBar(int* pIndex) const
{
    for (; IsValidBarIndex(*pIndex); (*pIndex)--)
        if (m_bars[*pIndex]->IsEnabled())
            return TRUE;
    return FALSE;
}

BOOL SECShortcutBar::FindNextEnabledBar(int* pIndex) const
{
    for (; IsValidBarIndex(*pIndex); (*pIndex)++)
        if (m_bars[*pIndex]->IsEnabled())
            return TRUE;
    return FALSE;
}

BOOL SECShortcutBar::IsBarEnabled(int nIndex) const
{
    return GetBarChecked(nIndex)->IsEnabled();
}

void SECShortcutBar::OnBarStyleChanged(DWORD dwRemoved, DWORD dwAdded)
{
    if (!HasActiveBar())
        return;
    SECBar* pOpen = m_bars[m_nOpen];
    if (dwAdded & SCBS_FRAMEACTIVE) {
        pOpen->SetState(pOpen->GetState() | SECBar::stFramed);
        InvalidateBar(pOpen);
    } else if (dwRemoved & SCBS_FRAMEACTIVE) {
        pOpen->SetState(pOpen->GetState() & ~SECBar::stFramed);
        InvalidateBar(pOpen);
    }
}

BOOL SECShortcutBar::CanRemoveBar(int) { return TRUE; }
BOOL SECShortcutBar::CanDisableBar(int) { return TRUE; }
BOOL SECShortcutBar::CanEnableBar(int) { return TRUE; }
BOOL SECShortcutBar::OnClientCreated(CWnd*) { return TRUE; }
BOOL SECShortcutBar::CanAddBar(SECBar*) { return TRUE; }

// --- Fonts, brushes and colours ---

void SECShortcutBar::CreateGdiObjects()
{
    DeleteGdiObjects();
    LOGFONTA lf;
    memset(&lf, 0, sizeof lf);
    lf.lfHeight = m_nFontHeight;
    lf.lfWeight = FW_NORMAL;
    lf.lfPitchAndFamily = FF_SWISS | DEFAULT_PITCH;
    // At most 31 characters and the terminating zero.
    lstrcpynA(lf.lfFaceName, m_strFontFace, LF_FACESIZE);
    m_fontLabel.CreateFontIndirect(&lf);
    lf.lfEscapement = 900;
    m_fontTurned.CreateFontIndirect(&lf);
    m_brBackground.CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
}

void SECShortcutBar::DeleteGdiObjects()
{
    m_fontLabel.DeleteObject();
    m_fontTurned.DeleteObject();
    m_brBackground.DeleteObject();
}

SECBar* SECShortcutBar::GetBarChecked(int nIndex) const
{
    if (!IsValidBarIndex(nIndex))
        AfxThrowResourceException();
    return m_bars[nIndex];
}

CWnd* SECShortcutBar::GetBarWnd(int nIndex) const
{
    SECBar* pBar = GetBar(nIndex);
    return pBar ? pBar->GetWnd() : NULL;
}

int SECShortcutBar::HitTestBar(CPoint point) const
{
    for (int i = 0; i < GetBarCount(); i++)
        if (m_bars[i]->HitTest(point))
            return i;
    return -1;
}

void SECShortcutBar::SetBarMenu(HMENU hMenu, int nIndex)
{
    if (nIndex == -1) {
        for (int i = 0; i < GetBarCount(); i++)
            m_bars[i]->SetMenu(hMenu);
    } else {
        GetBarChecked(nIndex)->SetMenu(hMenu);
    }
}

void SECShortcutBar::SetBarMenu(CMenu* pMenu, int nIndex, int nSubMenu)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (hMenu != NULL && nSubMenu != -1)
        hMenu = ::GetSubMenu(hMenu, nSubMenu);
    SetBarMenu(hMenu, nIndex);
}

void SECShortcutBar::MeasureBars(HFONT hFont, int nIndex)
{
    CClientDC dc(this);
    if (nIndex == -1) {
        m_nButtonTotal = 0;
        SECBarIterator it(m_bars);
        for (it.First(); !it.IsDone(); it.Next()) {
            it.Current()->SetFont(hFont);
            it.Current()->CalcButtonSize(&dc, IsVertical());
            m_nButtonTotal += it.Current()->GetThickness();
        }
        return;
    }
    SECBar* pBar = GetBarChecked(nIndex);
    m_nButtonTotal -= pBar->GetThickness();
    pBar->SetFont(hFont);
    pBar->CalcButtonSize(&dc, IsVertical());
    m_nButtonTotal += pBar->GetThickness();
}

void SECShortcutBar::SetBarFont(CFont* pFont, int nIndex)
{
    SetBarFont((HFONT)pFont->GetSafeHandle(), nIndex);
}

void SECShortcutBar::SetBarFont(HFONT hFont, int nIndex)
{
    MeasureBars(hFont, nIndex);
}

void SECShortcutBar::SetBarColour(COLORREF& rStore, void (SECBar::*pfnSet)(COLORREF),
                                  COLORREF clr, int nIndex)
{
    SECBar* pOne = nIndex == -1 ? NULL : GetBarChecked(nIndex);
    rStore = clr;
    if (pOne != NULL) {
        (pOne->*pfnSet)(clr);
        InvalidateBar(pOne);
        return;
    }
    for (int i = 0; i < GetBarCount(); i++)
        (m_bars[i]->*pfnSet)(clr);
    if (m_hWnd != NULL)
        Invalidate();
}

void SECShortcutBar::SetBarTextColor(COLORREF clr, int nIndex)
{
    SetBarColour(m_clrText, &SECBar::SetTextColor, clr, nIndex);
}

COLORREF SECShortcutBar::GetBarTextColor(int nIndex) const
{
    return nIndex == -1 ? m_clrText : GetBarChecked(nIndex)->GetTextColor();
}

void SECShortcutBar::SetBarBkColor(COLORREF clr, int nIndex)
{
    SetBarColour(m_clrButton, &SECBar::SetBkColor, clr, nIndex);
}

COLORREF SECShortcutBar::GetBarBkColor(int nIndex) const
{
    return nIndex == -1 ? m_clrButton : GetBarChecked(nIndex)->GetBkColor();
}

void SECShortcutBar::SetActiveFrameColor(COLORREF clr, int nIndex)
{
    if (nIndex != -1) {
        GetBarChecked(nIndex)->SetFrameColor(clr);
        return;
    }
    for (int i = 0; i < GetBarCount(); i++)
        m_bars[i]->SetFrameColor(clr);
    if (m_hWnd != NULL)
        Invalidate();
}

COLORREF SECShortcutBar::GetActiveFrameColor(int nIndex) const
{
    return GetBarChecked(nIndex == -1 ? 0 : nIndex)->GetFrameColor();
}

void SECShortcutBar::SetBkColor(COLORREF clr)
{
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(clr);
}

void SECShortcutBar::SetBkBrush(CBrush* pBrush)
{
    LOGBRUSH lb;
    if (pBrush == NULL || pBrush->GetSafeHandle() == NULL || !pBrush->GetLogBrush(&lb)) {
        lb.lbStyle = BS_SOLID;
        lb.lbColor = ::GetSysColor(COLOR_WINDOW);
        lb.lbHatch = 0;
    }
    m_brBackground.DeleteObject();
    m_brBackground.CreateBrushIndirect(&lb);
}

void SECShortcutBar::RebuildFonts()
{
    if (m_hWnd == NULL)
        return;
    CreateGdiObjects();
    MeasureBars((HFONT)LayoutFont()->GetSafeHandle(), -1);
    Relayout();
}

void SECShortcutBar::SetFontHeight(int nHeight)
{
    m_nFontHeight = nHeight;
    RebuildFonts();
}

void SECShortcutBar::SetFontFace(LPCTSTR lpszFace)
{
    m_strFontFace = lpszFace;
    RebuildFonts();
}

void SECShortcutBar::SetLayoutStyle(DWORD dwLayout)
{
    m_dwLayout = dwLayout & SCBS_LAYOUTMASK;
    if (m_hWnd == NULL)
        return;
    MeasureBars((HFONT)LayoutFont()->GetSafeHandle(), -1);
    Relayout();
}

void SECShortcutBar::ModifyBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
    m_dwBehaviour = (m_dwBehaviour & ~(dwRemove & SCBS_OWNBITS)) | (dwAdd & SCBS_OWNBITS);
    if (m_hWnd != NULL)
        ModifyStyle(dwRemove & ~(DWORD)SCBS_OWNBITS, dwAdd & ~(DWORD)SCBS_OWNBITS, 0);
    OnBarStyleChanged(dwRemove & SCBS_OWNBITS, dwAdd & SCBS_OWNBITS);
    if (bRedraw)
        Relayout();
}

void SECShortcutBar::SetBarHeight(int nHeight)
{
    m_nBarHeight = nHeight;
    Relayout();
}

// --- Layout ---

void SECShortcutBar::Relayout()
{
    if (m_hWnd != NULL && RecalcLayout())
        Invalidate(TRUE);
}

BOOL SECShortcutBar::RecalcLayout()
{
    CRect rect;
    GetClientRect(&rect);
    if (rect.IsRectEmpty())
        return FALSE;
    BOOL bVertical = IsVertical();
    CalcBarExtents(bVertical ? rect.Height() : rect.Width(),
                   bVertical ? m_nLastHeight : m_nLastWidth);
    CalcBarRects(bVertical, rect);
    PositionClientWindows();
    return TRUE;
}

void SECShortcutBar::CalcBarExtents(int nTotal, int /*nIgnored*/)
{
    int nSum = 0;
    SECBarIterator it(m_bars);
    for (it.First(); !it.IsDone(); it.Next())
        nSum += it.Current()->GetThickness();
    // The open bar keeps a non-zero extent even when the buttons take all the room.
    int nFree = nTotal - nSum;
    if (nFree == 0)
        nFree = 1;
    for (it.First(); !it.IsDone(); it.Next())
        if (it.Current()->GetExtent() != 0)
            it.Current()->SetExtent(nFree);
}

void SECShortcutBar::CalcBarRects(BOOL bVertical, const CRect& rectClient)
{
    int w = rectClient.Width();
    int h = rectClient.Height();
    int pos = bVertical ? h : w;
    SECBarIterator it(m_bars);
    for (it.Last(); !it.IsDone(); it.Prev()) {
        SECBar* pBar = it.Current();
        int extent = pBar->GetExtent();
        int thick = pBar->GetThickness();
        if (bVertical) {
            pBar->SetClientRect(CRect(0, pos - extent, w, pos));
            pos -= extent + thick;
            pBar->SetButtonRect(CRect(0, pos, w, pos + thick));
        } else {
            pBar->SetClientRect(CRect(pos - extent, 0, pos, h));
            pos -= extent + thick;
            pBar->SetButtonRect(CRect(pos, 0, pos + thick, h));
        }
    }
}

void SECShortcutBar::PositionClientWindows()
{
    if (GetBarCount() == 0)
        return;
    const UINT flags = SWP_NOREDRAW | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    HDWP hdwp = ::BeginDeferWindowPos(GetBarCount());
    SECBarIterator it(m_bars);
    for (it.Last(); !it.IsDone(); it.Prev()) {
        SECBar* pBar = it.Current();
        HWND hClient = pBar->GetWndHandle();
        if (!::IsWindow(hClient))
            continue;
        CRect now;
        ::GetWindowRect(hClient, &now);
        ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)&now, 2);
        const CRect& want = pBar->GetClientRect();
        if (now == want)
            continue;
        if (hdwp != NULL)
            hdwp = ::DeferWindowPos(hdwp, hClient, NULL, want.left, want.top, want.Width(),
                                    want.Height(), flags);
        else
            ::SetWindowPos(hClient, NULL, want.left, want.top, want.Width(), want.Height(),
                           flags);
    }
    if (hdwp != NULL)
        ::EndDeferWindowPos(hdwp);
}

void SECShortcutBar::RedrawBar(SECBar* pBar)
{
    InvalidateBar(pBar);
}

void SECShortcutBar::InvalidateBar(SECBar* pBar)
{
    if (m_hWnd != NULL && pBar != NULL)
        InvalidateRect(&pBar->GetButtonRect(), TRUE);
}

void SECShortcutBar::InvalidateBarAt(int nIndex)
{
    InvalidateBar(GetBarChecked(nIndex));
}

// --- Painting ---

void SECShortcutBar::PaintBars(CDC* pDC)
{
    SECBarIterator it(m_bars);
    for (it.First(); !it.IsDone(); it.Next())
        it.Current()->Draw(pDC, (m_dwLayout & SCBS_TURNEDLABELS) != 0);
}

void SECShortcutBar::OnPaint()
{
    CPaintDC dc(this);
    PaintBars(&dc);
}

BOOL SECShortcutBar::OnEraseBkgnd(CDC* pDC)
{
    if (m_nOpen == -1 && !m_bOpenFlag) {
        CRect rc;
        pDC->GetClipBox(&rc);
        pDC->FillRect(&rc, &m_brBackground);
    }
    return TRUE;
}

// --- Mouse, keys and menus ---

void SECShortcutBar::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    int nHit = HitTestBar(point);
    if (nHit == -1 || !m_bars[nHit]->IsEnabled())
        return;
    if (!(m_dwBehaviour & SCBS_PRESSACTIVATE)) {
        if (nHit != m_nOpen)
            ActivateBar(nHit);
        return;
    }
    SetCapture();
    m_bars[nHit]->SetState(m_bars[nHit]->GetState() | SECBar::stPressed);
    InvalidateBarAt(nHit);
    m_nPressed = nHit;
    m_bTracking = TRUE;
}

void SECShortcutBar::ReleasePress()
{
    SECBar* pBar = GetBar(m_nPressed);
    if (pBar != NULL) {
        pBar->SetState(pBar->GetState() & ~SECBar::stPressed);
        InvalidateBar(pBar);
    }
}

void SECShortcutBar::OnLButtonUp(UINT /*nFlags*/, CPoint point)
{
    if (::GetCapture() != m_hWnd)
        return;
    if (m_bTracking) {
        m_bTracking = FALSE;
        SECBar* pBar = GetBar(m_nPressed);
        if (pBar != NULL && pBar->HitTest(point) && m_nPressed != m_nOpen)
            ActivateBar(m_nPressed);
    }
    ReleasePress();
    ::ReleaseCapture();
}

BOOL SECShortcutBar::PreTranslateMessage(MSG* pMsg)
{
    if (m_bTracking && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        ReleasePress();
        m_bTracking = FALSE;
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

void SECShortcutBar::OnContextMenu(CWnd* /*pWnd*/, CPoint point)
{
    if (!(m_dwBehaviour & SCBS_BARMENUS))
        return;
    CPoint client = point;
    ScreenToClient(&client);
    SECBar* pBar = GetBar(HitTestBar(client));
    if (pBar == NULL || pBar->GetMenu() == NULL)
        return;
    // A menu needs an owner window: a bar without a client lends the shortcut bar.
    HWND hOwner = ::IsWindow(pBar->GetWndHandle()) ? pBar->GetWndHandle() : m_hWnd;
    ::TrackPopupMenu(pBar->GetMenu(), TPM_RIGHTBUTTON | TPM_VCENTERALIGN, point.x, point.y, 0,
                     hOwner, NULL);
}

// --- Size and lifetime ---

void SECShortcutBar::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0) {
        Relayout();
        m_nLastWidth = cx;
        m_nLastHeight = cy;
    }
}

void SECShortcutBar::FreeBars()
{
    SECBarIterator it(m_bars);
    for (it.First(); !it.IsDone(); it.Next()) {
        SECBar* pBar = it.Current();
        pBar->OnRemove();
        pBar->DeleteOwnedWnd();
        if (pBar->GetAutoDelete())
            delete pBar;
    }
    m_bars.RemoveAll();
    m_nOpen = m_nPressed = -1;
    m_bOpenFlag = m_bTracking = FALSE;
    m_nButtonTotal = 0;
}

void SECShortcutBar::OnDestroy()
{
    CWnd::OnDestroy();
    FreeBars();
    DeleteGdiObjects();
}
