// The list box editor and its companions: the in-place edit, the subclassed list box, the
// drag tracker and the caption-button press.
#include "SECListBoxEditor.h"
#include "SECResource.h"
#include "browse_res.h"
#include "dirselect.h"
#include <afxdlgs.h>

IMPLEMENT_DYNAMIC(SECListBoxEditor, CWnd)

namespace {

const UINT kEditID = 100;
const UINT kBrowseID = 101;
const UINT kEditDone = 1000;           // notification of the edit to the list box
const UINT kEditResult = WM_USER + 0x100;  // 0x500: the edit's cancelled flag
const UINT kButtonBitmaps[4] = {IDB_SEC_LBEDIT_NEW, IDB_SEC_LBEDIT_DELETE, IDB_SEC_LBEDIT_UP,
                                IDB_SEC_LBEDIT_DOWN};
const UINT kButtonTips[4] = {IDS_SEC_LBEDIT_NEW, IDS_SEC_LBEDIT_DELETE, IDS_SEC_LBEDIT_UP,
                             IDS_SEC_LBEDIT_DOWN};
const DWORD kButtonOptions[4] = {LBE_NEWBUTTON, LBE_DELBUTTON, LBE_UPBUTTON, LBE_DOWNBUTTON};

CString ItemText(CListBox* pList, int nIndex)
{
  CString str;
  if (nIndex >= 0 && nIndex < pList->GetCount())
    pList->GetText(nIndex, str);
  return str;
}

CString TrimmedRight(LPCTSTR lpsz)
{
  CString str = lpsz != NULL ? lpsz : "";
  str.TrimRight();
  return str;
}

BOOL IsEditControl(CWnd* pWnd)
{
  char cls[16] = "";
  ::GetClassNameA(pWnd->m_hWnd, cls, sizeof cls);
  return lstrcmpiA(cls, "Edit") == 0;
}

// Ends a local loop on a quit message, and passes the quit on.
BOOL QuitSeen(const MSG& msg)
{
  if (msg.message != WM_QUIT)
    return FALSE;
  ::PostQuitMessage((int)msg.wParam);
  return TRUE;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// SECListBoxEdit

BEGIN_MESSAGE_MAP(SECListBoxEdit, CEdit)
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

SECListBoxEdit::SECListBoxEdit(SECListBoxEditor* pEditor, int nIndex, BOOL bNew, int nFormerSel)
    : m_pEditor(pEditor), m_nIndex(nIndex), m_bNew(bNew), m_nFormerSel(nFormerSel),
      m_bDone(FALSE), m_pBrowse(NULL)
{
}

BOOL SECListBoxEdit::Create(CListBox* pList, LPCTSTR lpszInitial, CWnd* pBrowse)
{
  m_pBrowse = pBrowse;
  CRect rect;
  pList->GetItemRect(m_nIndex, &rect);
  rect.InflateRect(0, 2);
  if (!CEdit::Create(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, rect, pList, kEditID))
    return FALSE;
  SetFont(pList->GetFont(), FALSE);
  pList->SetCurSel(m_nIndex);
  if (lpszInitial != NULL) {
    SetWindowText(lpszInitial);
    int n = GetWindowTextLength();
    SetSel(n, n);
  } else {
    SetWindowText(ItemText(pList, m_nIndex));
    SetSel(0, -1);
  }
  ShowWindow(SW_SHOW);
  SetFocus();
  return TRUE;
}

UINT SECListBoxEdit::OnGetDlgCode() { return DLGC_WANTALLKEYS; }

void SECListBoxEdit::Commit()
{
  if (m_bDone)
    return;
  CListBox* pList = m_pEditor->GetListBox();
  CString strText;
  GetWindowText(strText);
  if (m_nIndex >= 0 && m_nIndex < pList->GetCount()) {
    DWORD_PTR data = pList->GetItemData(m_nIndex);
    int nSel = pList->GetCurSel();
    pList->DeleteString(m_nIndex);
    pList->InsertString(m_nIndex, strText);
    pList->SetItemData(m_nIndex, data);
    pList->SetCurSel(nSel);
  }
  Finish(FALSE);
}

void SECListBoxEdit::Cancel()
{
  if (m_bDone)
    return;
  if (m_bNew) {
    CListBox* pList = m_pEditor->GetListBox();
    pList->DeleteString(m_nIndex);
    pList->SetCurSel(m_nFormerSel);
  }
  Finish(TRUE);
}

void SECListBoxEdit::Finish(BOOL bCancelled)
{
  m_bDone = TRUE;
  CListBox* pList = m_pEditor->GetListBox();
  pList->SendMessage(kEditResult, bCancelled, 0);
  // Posted: the edit is destroyed when its own message has been handled.
  pList->PostMessage(WM_COMMAND, MAKEWPARAM(kEditID, kEditDone), (LPARAM)m_hWnd);
}

void SECListBoxEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
  CListBox* pList = m_pEditor->GetListBox();
  BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
  switch (nChar) {
    case VK_RETURN:
      Commit();
      return;
    case VK_ESCAPE:
      Cancel();
      return;
    case VK_TAB:
      Commit();
      m_pEditor->MoveFocus(bShift);
      return;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_UP:
    case VK_DOWN:
      Commit();
      pList->SetFocus();
      pList->PostMessage(WM_KEYDOWN, nChar, 0);
      return;
    case VK_F2:
      if (m_pBrowse != NULL) {
        m_pBrowse->SetFocus();
        m_pEditor->GetDialog()->PostMessage(WM_COMMAND, kBrowseID, 0);
        return;
      }
      break;
    case VK_SPACE:
      if (m_pEditor->GetSpaceMovesFocus()) {
        int nStart, nEnd;
        GetSel(nStart, nEnd);
        CString strText;
        GetWindowText(strText);
        strText.TrimRight();
        if (nStart == nEnd && nStart - strText.GetLength() + 1 >= m_pEditor->GetSpaceThreshold()) {
          Commit();
          m_pEditor->MoveFocus(FALSE);
          return;
        }
      }
      break;
  }
  CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void SECListBoxEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
  if (nChar == VK_RETURN || nChar == VK_ESCAPE || nChar == VK_TAB || m_bDone)
    return;
  CEdit::OnChar(nChar, nRepCnt, nFlags);
}

void SECListBoxEdit::OnKillFocus(CWnd* pNewWnd)
{
  CEdit::OnKillFocus(pNewWnd);
  if (pNewWnd != NULL && m_pBrowse != NULL && pNewWnd->m_hWnd == m_pBrowse->m_hWnd)
    return;
  Commit();
}

// ---------------------------------------------------------------------------------------------
// SECListBoxEditorHelper

BEGIN_MESSAGE_MAP(SECListBoxEditorHelper, CListBox)
  ON_WM_CHAR()
  ON_WM_KEYDOWN()
  ON_WM_SYSKEYDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONDOWN()
  ON_MESSAGE(kEditResult, OnEditResult)
END_MESSAGE_MAP()

void SECListBoxEditorHelper::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
  if ((m_pEditor->GetOptions() & LBE_AUTOEDIT) && ::GetKeyState(VK_CONTROL) >= 0) {
    m_pEditor->EditItem(nChar);
    return;
  }
  CListBox::OnChar(nChar, nRepCnt, nFlags);
}

void SECListBoxEditorHelper::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
  DWORD dwOptions = m_pEditor->GetOptions();
  if (nChar == VK_INSERT && (dwOptions & LBE_SHORTCUTS)) {
    m_pEditor->NewItem();
    return;
  }
  if (nChar == VK_DELETE && (dwOptions & LBE_SHORTCUTS)) {
    m_pEditor->DeleteSelectedItems();
    return;
  }
  if (nChar == VK_F2 && (dwOptions & LBE_BROWSE)) {
    m_pEditor->EditItem(0);
    return;
  }
  CListBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

void SECListBoxEditorHelper::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
  if (m_pEditor->GetOptions() & LBE_SHORTCUTS) {
    if (nChar == VK_UP) {
      m_pEditor->MoveItemUp();
      return;
    }
    if (nChar == VK_DOWN) {
      m_pEditor->MoveItemDown();
      return;
    }
  }
  CListBox::OnSysKeyDown(nChar, nRepCnt, nFlags);
}

void SECListBoxEditorHelper::OnLButtonDblClk(UINT, CPoint)
{
  m_pEditor->EditItem(0);
}

void SECListBoxEditorHelper::OnLButtonDown(UINT nFlags, CPoint point)
{
  int nFormerSel = GetCurSel();
  SECListBoxEdit* pEdit = m_pEditor->GetEdit();
  if (pEdit != NULL) {
    if (pEdit->GetWindowTextLength() > 0)
      pEdit->Commit();
    else
      pEdit->Cancel();
    m_pEditor->EndEdit();
  }
  CListBox::OnLButtonDown(nFlags, point);
  m_pEditor->OnListButtonDown(point, nFormerSel);
}

LRESULT SECListBoxEditorHelper::OnEditResult(WPARAM wParam, LPARAM)
{
  m_pEditor->SetCancelled((BOOL)wParam);
  return 0;
}

BOOL SECListBoxEditorHelper::OnCommand(WPARAM wParam, LPARAM lParam)
{
  if (LOWORD(wParam) == kEditID && HIWORD(wParam) == kEditDone) {
    // Only the edit still running ends (a finished one was ended already).
    if (m_pEditor->GetEdit() != NULL && (HWND)lParam == m_pEditor->GetEdit()->m_hWnd)
      m_pEditor->EndEdit();
    return TRUE;
  }
  if (LOWORD(wParam) == kBrowseID && HIWORD(wParam) == BN_CLICKED) {
    m_pEditor->OnBrowse();
    return TRUE;
  }
  return CListBox::OnCommand(wParam, lParam);
}

BOOL SECListBoxEditorHelper::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
  return CListBox::OnNotify(wParam, lParam, pResult);
}

// ---------------------------------------------------------------------------------------------
// SECListBoxDragWnd

UINT SECListBoxDragWnd::s_nScrollInitial = 300;
UINT SECListBoxDragWnd::s_nScrollStep = 50;
UINT SECListBoxDragWnd::s_nScrollMinimum = 50;

int SECListBoxDragWnd::PlaceAt(CListBox* pList, CPoint point, int nMovable)
{
  // The place before item i is i; after the last movable item it is nMovable.
  int nTop = pList->GetTopIndex();
  for (int i = nTop; i < nMovable; i++) {
    CRect rect;
    pList->GetItemRect(i, &rect);
    if (point.y < rect.top)
      return i;
    if (point.y < rect.bottom)
      return point.y < rect.CenterPoint().y ? i : i + 1;
  }
  return nMovable;
}

void SECListBoxDragWnd::DrawLine(CListBox* pList, int nPlace)
{
  if (nPlace < 0)
    return;
  CRect rect, client;
  pList->GetClientRect(&client);
  int y;
  if (nPlace < pList->GetCount()) {
    pList->GetItemRect(nPlace, &rect);
    y = rect.top;
  } else {
    pList->GetItemRect(nPlace - 1, &rect);
    y = rect.bottom;
  }
  CClientDC dc(pList);
  CPen pen(PS_SOLID, 1, RGB(128, 128, 128));
  CPen* pOld = dc.SelectObject(&pen);
  int nOldRop = dc.SetROP2(R2_NOT);
  dc.MoveTo(client.left + 2, y);
  dc.LineTo(client.right, y);
  dc.SetROP2(nOldRop);
  dc.SelectObject(pOld);
}

int SECListBoxDragWnd::Track(CListBox* pList, int nSource, BOOL bTrailingBlank, CPoint ptStart)
{
  int nMovable = pList->GetCount() - (bTrailingBlank ? 1 : 0);
  if (nSource < 0 || nSource >= nMovable)
    return -1;
  LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW),
                                          (HBRUSH)::GetStockObject(WHITE_BRUSH));
  WNDCLASSA wc;
  if (!::GetClassInfoA(AfxGetInstanceHandle(), "SECListBoxDragWnd", &wc)) {
    ::GetClassInfoA(AfxGetInstanceHandle(), lpszClass, &wc);
    wc.lpszClassName = "SECListBoxDragWnd";
    AfxRegisterClass(&wc);
  }
  if (!CreateEx(0, "SECListBoxDragWnd", NULL, WS_POPUP, 0, 0, 0, 0, NULL, NULL))
    return -1;
  SetCapture();
  DWORD dwStart = ::GetTickCount();
  int cxDrag = ::GetSystemMetrics(SM_CXDOUBLECLK), cyDrag = ::GetSystemMetrics(SM_CYDOUBLECLK);
  BOOL bStarted = FALSE, bCancelled = FALSE, bDropped = FALSE;
  int nPlace = -1;
  UINT nDelay = s_nScrollInitial;
  DWORD dwLastScroll = 0;
  CPoint ptLast = ptStart;
  CRect client;
  pList->GetClientRect(&client);
  while (!bCancelled && !bDropped) {
    // The capture taken away (by another window, or by a handler below): the drag ends.
    if (::GetCapture() != m_hWnd) {
      bCancelled = TRUE;
      break;
    }
    MSG msg;
    if (!::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
      // Outside the list above or below: scroll, faster and faster.
      if (bStarted && (ptLast.y < client.top || ptLast.y >= client.bottom)) {
        DWORD now = ::GetTickCount();
        if (now - dwLastScroll >= nDelay) {
          DrawLine(pList, nPlace);
          pList->SendMessage(WM_VSCROLL, ptLast.y < client.top ? SB_LINEUP : SB_LINEDOWN, 0);
          pList->UpdateWindow();
          nPlace = PlaceAt(pList, CPoint(ptLast.x, ptLast.y < client.top ? client.top : client.bottom - 1), nMovable);
          DrawLine(pList, nPlace);
          dwLastScroll = now;
          nDelay = nDelay > s_nScrollMinimum + s_nScrollStep ? nDelay - s_nScrollStep : s_nScrollMinimum;
        }
      }
      ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
      continue;
    }
    if (QuitSeen(msg)) {
      bCancelled = TRUE;
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE: {
        CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
        ::MapWindowPoints(msg.hwnd, pList->m_hWnd, &pt, 1);
        ptLast = pt;
        if (!bStarted) {
          int dx = pt.x - ptStart.x, dy = pt.y - ptStart.y;
          if (dx * dx + dy * dy <= cxDrag * cxDrag + cyDrag * cyDrag)
            break;
          bStarted = TRUE;
        }
        if (pt.y >= client.top && pt.y < client.bottom) {
          nDelay = s_nScrollInitial;
          int nNew = PlaceAt(pList, pt, nMovable);
          if (nNew != nPlace) {
            DrawLine(pList, nPlace);
            nPlace = nNew;
            DrawLine(pList, nPlace);
          }
        }
        break;
      }
      case WM_LBUTTONUP:
        bDropped = TRUE;
        break;
      case WM_KEYDOWN:
      case WM_KEYUP:
        if (msg.wParam == VK_ESCAPE)
          bCancelled = TRUE;
        break;
      case WM_CANCELMODE:
        bCancelled = TRUE;
        break;
      default:
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        break;
    }
  }
  DrawLine(pList, nPlace);
  if (::GetCapture() == m_hWnd)
    ::ReleaseCapture();
  BOOL bHeld = ::GetTickCount() - dwStart > 250;
  DestroyWindow();
  if (!bStarted || bCancelled || !bHeld || nPlace < 0 || nPlace == nSource ||
      nPlace == nSource + 1)
    return -1;
  return nPlace > nSource ? nPlace - 1 : nPlace;
}

// ---------------------------------------------------------------------------------------------
// SECFakeButton

void SECFakeButton::Draw(CDC* pDC, const CRect& rect, CBitmap* pBitmap, BOOL bPushed)
{
  CDC mem;
  mem.CreateCompatibleDC(pDC);
  CBitmap* pOld = mem.SelectObject(pBitmap);
  pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
  int offset = bPushed ? 1 : 0;
  pDC->BitBlt(rect.left + offset, rect.top + offset, rect.Width() - offset,
              rect.Height() - offset, &mem, 0, 0, SRCCOPY);
  mem.SelectObject(pOld);
  if (bPushed) {
    CRect r = rect;
    pDC->Draw3dRect(&r, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    r.DeflateRect(1, 1);
    pDC->Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNFACE));
  }
}

BOOL SECFakeButton::Press(CWnd* pParent, const CRect& rect, CBitmap* pBitmap)
{
  if (!CreateEx(0, "STATIC", NULL, WS_CHILD | WS_VISIBLE, rect, pParent, 0xFFFF))
    return FALSE;
  SetCapture();
  CRect local(0, 0, rect.Width(), rect.Height());
  BOOL bOver = TRUE, bDone = FALSE;
  {
    CClientDC dc(this);
    Draw(&dc, local, pBitmap, TRUE);
  }
  while (!bDone) {
    // The capture taken away (by another window, or by a handler below): the press ends,
    // not over the button.
    if (::GetCapture() != m_hWnd) {
      bOver = FALSE;
      break;
    }
    MSG msg;
    if (!::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
      ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
      continue;
    }
    if (QuitSeen(msg)) {
      bOver = FALSE;
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE:
      case WM_LBUTTONUP: {
        CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
        ::MapWindowPoints(msg.hwnd, m_hWnd, &pt, 1);
        BOOL bNow = local.PtInRect(pt);
        if (bNow != bOver) {
          bOver = bNow;
          CClientDC dc(this);
          Draw(&dc, local, pBitmap, bOver);
        }
        if (msg.message == WM_LBUTTONUP)
          bDone = TRUE;
        break;
      }
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) {
          bOver = FALSE;
          bDone = TRUE;
        }
        break;
      default:
        ::DispatchMessageA(&msg);
        break;
    }
  }
  if (::GetCapture() == m_hWnd)
    ::ReleaseCapture();
  DestroyWindow();
  return bOver;
}

// ---------------------------------------------------------------------------------------------
// SECListBoxEditor

BEGIN_MESSAGE_MAP(SECListBoxEditor, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_NCHITTEST()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_SIZE()
  ON_WM_MOVE()
END_MESSAGE_MAP()

SECListBoxEditor::SECListBoxEditor()
    : m_pBrowse(NULL), m_pEdit(NULL), m_pList(NULL), m_pDialog(NULL), m_nListID(0),
      m_dwOptions(0), m_bInitialized(FALSE), m_nButtonAreaHeight(0), m_bCancelled(FALSE),
      m_nLastDeleted(-1), m_nMovedFrom(-1), m_nMovedTo(-1), m_bNewItem(FALSE),
      m_bSpaceMovesFocus(FALSE), m_nSpaceThreshold(1)
{
  for (int i = 0; i < 4; i++)
    m_bButtons[i] = TRUE;
}

SECListBoxEditor::~SECListBoxEditor()
{
  if (m_pEdit != NULL) {
    if (::IsWindow(m_pEdit->m_hWnd))
      m_pEdit->DestroyWindow();
    delete m_pEdit;
  }
  if (m_pBrowse != NULL) {
    if (::IsWindow(m_pBrowse->m_hWnd))
      m_pBrowse->DestroyWindow();
    delete m_pBrowse;
  }
  if (m_pList != NULL) {
    if (m_pList->m_hWnd != NULL)
      m_pList->UnsubclassWindow();
    delete m_pList;
  }
}

void SECListBoxEditor::LoadButtonBitmaps()
{
  for (int i = 0; i < 4; i++) {
    if (m_bitmaps[i].GetSafeHandle() != NULL)
      continue;
    m_bitmaps[i].LoadMappedBitmap(kButtonBitmaps[i]);
    if (m_bitmaps[i].GetSafeHandle() == NULL)
      continue;
    // A highlight line along the left and top edges.
    BITMAP bm;
    m_bitmaps[i].GetBitmap(&bm);
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    CBitmap* pOld = dc.SelectObject(&m_bitmaps[i]);
    dc.FillSolidRect(0, 0, bm.bmWidth, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    dc.FillSolidRect(0, 0, 1, bm.bmHeight, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    dc.SelectObject(pOld);
  }
}

BOOL SECListBoxEditor::Initialize(CWnd* pDialog, UINT nListID, DWORD dwOptions)
{
  CWnd* pListWnd = pDialog != NULL ? pDialog->GetDlgItem(nListID) : NULL;
  if (pListWnd == NULL)
    return FALSE;
  m_pDialog = pDialog;
  m_nListID = nListID;
  m_dwOptions = dwOptions;
  LoadButtonBitmaps();

  UINT nID = 0x7FFF;
  while (nID > 1 && ::GetDlgItem(pDialog->m_hWnd, nID) != NULL)
    nID--;
  CRect rcList;
  pListWnd->GetWindowRect(&rcList);
  pDialog->ScreenToClient(&rcList);
  if (!CreateEx(0, "STATIC", "", WS_CHILD | SS_SUNKEN, rcList, pDialog, nID))
    return FALSE;
  // The static class's own procedure draws nothing of ours: this window paints itself.
  SetFont(pDialog->GetFont(), FALSE);
  int nHeight = GetButtonAreaHeight();
  m_nButtonAreaHeight = nHeight;
  int nBorder = ::GetSystemMetrics(SM_CYBORDER);
  SetWindowPos(pListWnd, rcList.left, rcList.top, rcList.Width(), nHeight, SWP_NOACTIVATE);
  // The list box goes below the caption, its bottom unchanged, and follows it in the z-order.
  int nTop = rcList.top + nHeight + 2 * nBorder;
  ::SetWindowPos(pListWnd->m_hWnd, m_hWnd, rcList.left, nTop, rcList.Width(),
                 rcList.bottom - nTop, SWP_NOACTIVATE);
  SetButtons(dwOptions);
  m_pList = new SECListBoxEditorHelper(this);
  m_pList->SubclassWindow(pListWnd->m_hWnd);
  LayoutButtons();
  if ((dwOptions & LBE_BUTTONS) && (dwOptions & LBE_TOOLTIPS)) {
    if (m_toolTip.Create(this)) {
      UpdateToolTips();
      m_toolTip.Activate(TRUE);
    }
  }
  if (!(dwOptions & LBE_NOTRAILINGBLANK) && !HasTrailingBlank())
    m_pList->AddString("");
  NotifyDialog(LBE_SELCHANGE, TRUE);
  ShowWindow(SW_SHOW);
  m_bInitialized = TRUE;
  return TRUE;
}

void SECListBoxEditor::SetButtons(DWORD dwOptions)
{
  for (int i = 0; i < 4; i++)
    m_bButtons[i] = (dwOptions & kButtonOptions[i]) != 0;
}

int SECListBoxEditor::GetButtonAreaHeight()
{
  int nBorder = ::GetSystemMetrics(SM_CYBORDER);
  int nHeight = 0;
  CFont* pFont = m_pDialog != NULL ? m_pDialog->GetFont() : NULL;
  {
    CClientDC dc(m_hWnd != NULL ? this : m_pDialog);
    CFont* pOld = pFont != NULL ? dc.SelectObject(pFont) : NULL;
    TEXTMETRICA tm;
    dc.GetTextMetrics(&tm);
    nHeight = tm.tmHeight + 4 * nBorder;
    if (pOld != NULL)
      dc.SelectObject(pOld);
  }
  for (int i = 0; i < 4; i++) {
    if (m_bitmaps[i].GetSafeHandle() == NULL)
      continue;
    BITMAP bm;
    m_bitmaps[i].GetBitmap(&bm);
    if (bm.bmHeight + 2 > nHeight)
      nHeight = bm.bmHeight + 2;
  }
  return nHeight;
}

void SECListBoxEditor::LayoutButtons()
{
  CRect client;
  GetClientRect(&client);
  int x = client.right;
  for (int i = 3; i >= 0; i--) {
    m_rcButtons[i].SetRectEmpty();
    if (!m_bButtons[i])
      continue;
    int cx = 16;
    if (m_bitmaps[i].GetSafeHandle() != NULL) {
      BITMAP bm;
      m_bitmaps[i].GetBitmap(&bm);
      cx = bm.bmWidth;
    }
    m_rcButtons[i].SetRect(x - cx, client.top, x, client.bottom);
    x -= cx;
  }
}

void SECListBoxEditor::UpdateToolTips()
{
  if (m_toolTip.m_hWnd == NULL)
    return;
  for (int i = 0; i < 4; i++) {
    m_toolTip.DelTool(this, kButtonTips[i]);
    if (m_bButtons[i])
      m_toolTip.AddTool(this, kButtonTips[i], &m_rcButtons[i], kButtonTips[i]);
  }
}

void SECListBoxEditor::RecalcLayout()
{
  if (!m_bInitialized || m_pList == NULL)
    return;
  CRect rect;
  GetWindowRect(&rect);
  m_pDialog->ScreenToClient(&rect);
  if (rect.Height() > m_nButtonAreaHeight) {
    int nBorder = ::GetSystemMetrics(SM_CYBORDER);
    int nBottom = rect.bottom;
    SetWindowPos(NULL, 0, 0, rect.Width(), m_nButtonAreaHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    int nTop = rect.top + m_nButtonAreaHeight + 2 * nBorder;
    m_pList->SetWindowPos(NULL, rect.left, nTop, rect.Width(), nBottom - nTop,
                          SWP_NOZORDER | SWP_NOACTIVATE);
  }
  LayoutButtons();
  UpdateToolTips();
  Invalidate();
  m_pList->Invalidate();
}

void SECListBoxEditor::OnSize(UINT nType, int cx, int cy)
{
  CWnd::OnSize(nType, cx, cy);
  RecalcLayout();
}

void SECListBoxEditor::OnMove(int x, int y)
{
  CWnd::OnMove(x, y);
  RecalcLayout();
}

BOOL SECListBoxEditor::HasTrailingBlank()
{
  int n = m_pList->GetCount();
  return n > 0 && ItemText(m_pList, n - 1).IsEmpty();
}

void SECListBoxEditor::NotifyDialog(UINT nCode, BOOL bPost)
{
  if (m_pDialog == NULL || m_pList == NULL)
    return;
  WPARAM wParam = MAKEWPARAM(m_nListID, nCode);
  if (bPost)
    m_pDialog->PostMessage(WM_COMMAND, wParam, (LPARAM)m_pList->m_hWnd);
  else
    m_pDialog->SendMessage(WM_COMMAND, wParam, (LPARAM)m_pList->m_hWnd);
}

void SECListBoxEditor::MoveFocus(BOOL bPrevious)
{
  CWnd* pNext = m_pDialog->GetNextDlgTabItem(m_pList, bPrevious);
  if (pNext == NULL)
    return;
  pNext->SetFocus();
  if (IsEditControl(pNext))
    pNext->SendMessage(EM_SETSEL, 0, -1);
}

void SECListBoxEditor::GetLastMoved(int& nOld, int& nNew) const
{
  nOld = m_nMovedFrom;
  nNew = m_nMovedTo;
}

void SECListBoxEditor::SetSpaceMovesFocus(BOOL bMoves) { m_bSpaceMovesFocus = bMoves; }
void SECListBoxEditor::SetSpaceThreshold(int n) { m_nSpaceThreshold = n; }
void SECListBoxEditor::OnBrowse() {}

void SECListBoxEditor::TakeBrowsedPath(LPCTSTR lpszPath)
{
  m_pEdit->SetWindowText(lpszPath);
  m_pEdit->SendMessage(EM_SETSEL, 0, -1);
  m_pEdit->SendMessage(EM_SCROLLCARET);
}

BOOL SECListBoxEditor::BrowseForDirectory()
{
  if (m_pEdit == NULL)
    return FALSE;
  CString strInitial;
  m_pEdit->GetWindowText(strInitial);
  CString strTitle;
  strTitle.LoadString(IDS_SEC_LBEDIT_SELECTDIR);
  SECDirSelectDlg dlg(strTitle, NULL, strInitial);
  BOOL bChosen = dlg.DoModal() == IDOK && m_pEdit != NULL;
  if (bChosen) {
    CString strPath;
    dlg.GetPath(strPath);
    TakeBrowsedPath(strPath);
  }
  if (m_pEdit != NULL)
    m_pEdit->SetFocus();
  return bChosen;
}

BOOL SECListBoxEditor::BrowseForFile()
{
  if (m_pEdit == NULL)
    return FALSE;
  CString strName = m_strDefFileName;
  if (strName.IsEmpty())
    m_pEdit->GetWindowText(strName);
  CFileDialog dlg(TRUE, m_strDefExt.IsEmpty() ? NULL : (LPCTSTR)m_strDefExt, strName,
                  OFN_HIDEREADONLY, m_strBrowseFilter.IsEmpty() ? NULL : (LPCTSTR)m_strBrowseFilter,
                  this);
  if (!m_strBrowseTitle.IsEmpty())
    dlg.m_ofn.lpstrTitle = m_strBrowseTitle;
  BOOL bChosen = dlg.DoModal() == IDOK && m_pEdit != NULL;
  if (bChosen)
    TakeBrowsedPath(dlg.GetPathName());
  if (m_pEdit != NULL)
    m_pEdit->SetFocus();
  return bChosen;
}

void SECFileListBoxEditor::SetBrowseInfo(LPCTSTR lpszTitle, LPCTSTR lpszFilter,
                                         LPCTSTR lpszDefFileName, LPCTSTR lpszDefExt)
{
  m_strBrowseTitle = lpszTitle != NULL ? lpszTitle : "";
  m_strBrowseFilter = lpszFilter != NULL ? lpszFilter : "";
  m_strDefFileName = lpszDefFileName != NULL ? lpszDefFileName : "";
  m_strDefExt = lpszDefExt != NULL ? lpszDefExt : "";
}

// ---------------------------------------------------------------------------------------------
// Operations

BOOL SECListBoxEditor::NewItem()
{
  if (!(m_dwOptions & LBE_NOTRAILINGBLANK)) {
    if (!HasTrailingBlank())
      m_pList->AddString("");
    m_pList->AddString("");
  } else {
    m_pList->AddString("");
  }
  int nIndex = m_pList->GetCount() - ((m_dwOptions & LBE_NOTRAILINGBLANK) ? 1 : 2);
  StartEdit(nIndex, TRUE, NULL);
  m_bNewItem = TRUE;
  return TRUE;
}

void SECListBoxEditor::DeleteSelectedItems()
{
  if (m_pList->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
    for (int i = m_pList->GetCount() - 1; i >= 0; i--)
      if (m_pList->GetSel(i) > 0)
        DeleteItemAt(i);
  } else {
    DeleteItemAt(m_pList->GetCurSel());
  }
}

BOOL SECListBoxEditor::DeleteItemAt(int nIndex)
{
  int n = m_pList->GetCount();
  if (nIndex < 0 || nIndex >= n)
    return FALSE;
  if (nIndex == n - 1 && !(m_dwOptions & LBE_NOTRAILINGBLANK) && HasTrailingBlank())
    return FALSE;
  CString strText = ItemText(m_pList, nIndex);
  if (!OnItemDeleting(nIndex, strText))
    return FALSE;
  m_pList->DeleteString(nIndex);
  if (!(m_pList->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)))
    m_pList->SetCurSel(nIndex < m_pList->GetCount() ? nIndex : m_pList->GetCount() - 1);
  m_nLastDeleted = nIndex;
  NotifyDialog(LBE_DELETED, FALSE);
  return TRUE;
}

BOOL SECListBoxEditor::SwapWithPrevious(int nIndex)
{
  if (nIndex < 1 || nIndex >= m_pList->GetCount())
    return FALSE;
  MoveItem(nIndex, nIndex - 1);
  return TRUE;
}

void SECListBoxEditor::MoveItem(int nFrom, int nTo)
{
  CString strText = ItemText(m_pList, nFrom);
  DWORD_PTR data = m_pList->GetItemData(nFrom);
  int nTop = m_pList->GetTopIndex();
  m_pList->DeleteString(nFrom);
  m_pList->InsertString(nTo, strText);
  m_pList->SetItemData(nTo, data);
  m_pList->SetTopIndex(nTop);
}

BOOL SECListBoxEditor::MoveItemUp()
{
  int nMovable = m_pList->GetCount() - (HasTrailingBlank() && !(m_dwOptions & LBE_NOTRAILINGBLANK) ? 1 : 0);
  int nSel = m_pList->GetCurSel();
  if (m_pList->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
    if (m_pList->GetSelCount() != 1)
      return FALSE;
    m_pList->GetSelItems(1, &nSel);
  }
  if (nSel < 1 || nSel >= nMovable)
    return FALSE;
  CString strText = ItemText(m_pList, nSel);
  SwapWithPrevious(nSel);
  m_pList->SetCurSel(nSel - 1);
  OnItemMoved(nSel, nSel - 1, strText);
  return TRUE;
}

BOOL SECListBoxEditor::MoveItemDown()
{
  int nMovable = m_pList->GetCount() - (HasTrailingBlank() && !(m_dwOptions & LBE_NOTRAILINGBLANK) ? 1 : 0);
  int nSel = m_pList->GetCurSel();
  if (m_pList->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
    if (m_pList->GetSelCount() != 1)
      return FALSE;
    m_pList->GetSelItems(1, &nSel);
  }
  if (nSel < 0 || nSel >= nMovable - 1)
    return FALSE;
  CString strText = ItemText(m_pList, nSel);
  SwapWithPrevious(nSel + 1);
  m_pList->SetCurSel(nSel + 1);
  OnItemMoved(nSel, nSel + 1, strText);
  return TRUE;
}

BOOL SECListBoxEditor::EditItem(UINT nChar)
{
  if ((nChar == VK_SPACE || nChar == VK_BACK) && m_bSpaceMovesFocus) {
    MoveFocus(nChar == VK_BACK);
    return FALSE;
  }
  if (nChar == VK_SPACE || nChar == VK_BACK)
    nChar = 0;
  int nIndex = m_pList->GetCurSel();
  if (nIndex < 0)
    return FALSE;
  m_strBeforeEdit = ItemText(m_pList, nIndex);
  char initial[2] = {(char)nChar, 0};
  return StartEdit(nIndex, FALSE, nChar != 0 ? initial : NULL);
}

BOOL SECListBoxEditor::StartEdit(int nIndex, BOOL bNew, LPCTSTR lpszInitial)
{
  if (m_pEdit != NULL)
    EndEdit();
  OnEditBegin();
  int nFormer = m_pList->GetCurSel();
  if (m_dwOptions & LBE_BROWSE) {
    m_pBrowse = new CButton;
    CRect rect;
    m_pList->GetItemRect(nIndex, &rect);
    rect.InflateRect(0, 2);
    CClientDC dc(m_pList);
    CFont* pOld = dc.SelectObject(m_pList->GetFont());
    int cx = dc.GetTextExtent("...").cx + 2 * dc.GetTextExtent(" ").cx +
             2 * ::GetSystemMetrics(SM_CXBORDER);
    dc.SelectObject(pOld);
    m_pBrowse->Create("...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                      CRect(rect.right - cx, rect.top, rect.right, rect.bottom), m_pList, kBrowseID);
    m_pBrowse->SetFont(m_pList->GetFont(), FALSE);
  }
  m_pEdit = new SECListBoxEdit(this, nIndex, bNew, nFormer);
  m_bCancelled = FALSE;
  if (!m_pEdit->Create(m_pList, lpszInitial, m_pBrowse)) {
    delete m_pEdit;
    m_pEdit = NULL;
    return TRUE;
  }
  if (m_pBrowse != NULL) {
    CRect rect, browse;
    m_pEdit->GetWindowRect(&rect);
    m_pBrowse->GetWindowRect(&browse);
    m_pList->ScreenToClient(&rect);
    m_pEdit->SetWindowPos(NULL, 0, 0, rect.Width() - browse.Width(), rect.Height(),
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return TRUE;
}

void SECListBoxEditor::EndEdit()
{
  if (m_pEdit == NULL)
    return;
  SECListBoxEdit* pEdit = m_pEdit;
  m_pEdit = NULL;
  pEdit->ForgetBrowse();
  if (m_pBrowse != NULL) {
    m_pBrowse->DestroyWindow();
    delete m_pBrowse;
    m_pBrowse = NULL;
  }
  pEdit->Commit();  // a focus change may not have reached it
  pEdit->DestroyWindow();
  delete pEdit;

  int nIndex = m_pList->GetCurSel();
  if (nIndex >= 0 && !m_bCancelled) {
    CString strText = ItemText(m_pList, nIndex);
    BOOL bLast = nIndex == m_pList->GetCount() - 1;
    if (bLast && strText != m_strBeforeEdit && !m_strBeforeEdit.IsEmpty()) {
      OnItemRenamed(nIndex, m_strBeforeEdit, strText);
    } else if (m_bNewItem || (bLast && !(m_dwOptions & LBE_NOTRAILINGBLANK))) {
      OnItemAdded(nIndex, strText);
      // The list keeps its empty new-item line, whatever became of the added one.
      if (!(m_dwOptions & LBE_NOTRAILINGBLANK) && !HasTrailingBlank())
        m_pList->AddString("");
    } else if (strText != m_strBeforeEdit) {
      OnItemRenamed(nIndex, m_strBeforeEdit, strText);
    }
  }
  m_strBeforeEdit.Empty();
  m_bNewItem = FALSE;
  OnEditEnd();
}

void SECListBoxEditor::OnEditBegin() { NotifyDialog(LBE_SELCHANGE, TRUE); }

void SECListBoxEditor::OnEditEnd()
{
  if (m_pList->GetCurSel() < 0 && m_pList->GetCount() > 0)
    m_pList->SetCurSel(m_pList->GetCount() - 1);
  NotifyDialog(LBE_SELCHANGE, TRUE);
}

void SECListBoxEditor::OnItemRenamed(int nIndex, LPCTSTR, LPCTSTR lpszNew)
{
  CString strNew = TrimmedRight(lpszNew);
  if (strNew.IsEmpty()) {
    DeleteItemAt(nIndex);
    return;
  }
  if (nIndex == m_pList->GetCount() - 1 && !(m_dwOptions & LBE_NOTRAILINGBLANK))
    m_pList->AddString("");
}

void SECListBoxEditor::OnItemAdded(int nIndex, LPCTSTR lpszText)
{
  if (TrimmedRight(lpszText).IsEmpty())
    DeleteItemAt(nIndex);
}

void SECListBoxEditor::OnItemMoved(int nOld, int nNew, LPCTSTR)
{
  m_nMovedFrom = nOld;
  m_nMovedTo = nNew;
  NotifyDialog(LBE_MOVED, FALSE);
}

BOOL SECListBoxEditor::OnItemDeleting(int, LPCTSTR) { return TRUE; }

void SECListBoxEditor::OnListButtonDown(CPoint point, int nFormerSel)
{
  if ((m_dwOptions & LBE_DRAGNDROP) && m_pList->GetCurSel() >= 0) {
    int nSource = m_pList->GetCurSel();
    BOOL bBlank = HasTrailingBlank() && !(m_dwOptions & LBE_NOTRAILINGBLANK);
    CString strText = ItemText(m_pList, nSource);
    SECListBoxDragWnd drag;
    int nTarget = drag.Track(m_pList, nSource, bBlank, point);
    if (nTarget >= 0 && nTarget != nSource) {
      MoveItem(nSource, nTarget);
      m_pList->SetCurSel(nTarget);
      OnItemMoved(nSource, nTarget, strText);
    }
  }
  if (m_pList->GetCurSel() != nFormerSel)
    NotifyDialog(LBE_SELCHANGE, TRUE);
}

// ---------------------------------------------------------------------------------------------
// The caption

BOOL SECListBoxEditor::RunButton(int nButton)
{
  switch (nButton) {
    case 0:
      return NewItem();
    case 1:
      DeleteSelectedItems();
      return TRUE;
    case 2:
      return MoveItemUp();
    case 3:
      return MoveItemDown();
  }
  return FALSE;
}

LRESULT SECListBoxEditor::OnNcHitTest(CPoint) { return HTCLIENT; }

BOOL SECListBoxEditor::OnEraseBkgnd(CDC*) { return TRUE; }

void SECListBoxEditor::OnPaint()
{
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  CRect caption = client;
  caption.bottom -= 2;
  dc.FillSolidRect(&caption, ::GetSysColor(COLOR_BTNFACE));
  CString strText;
  GetWindowText(strText);
  CFont* pOld = dc.SelectObject(GetFont() != NULL ? GetFont() : m_pDialog->GetFont());
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  CRect text = caption;
  text.left += 2 * ::GetSystemMetrics(SM_CXBORDER);
  dc.DrawText(strText, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  dc.SelectObject(pOld);
  if (m_dwOptions & LBE_BUTTONS) {
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    for (int i = 0; i < 4; i++) {
      if (!m_bButtons[i] || m_bitmaps[i].GetSafeHandle() == NULL)
        continue;
      CBitmap* pOldBitmap = mem.SelectObject(&m_bitmaps[i]);
      dc.BitBlt(m_rcButtons[i].left, m_rcButtons[i].top, m_rcButtons[i].Width(),
                m_rcButtons[i].Height(), &mem, 0, 0, SRCCOPY);
      mem.SelectObject(pOldBitmap);
    }
  }
}

void SECListBoxEditor::OnLButtonDown(UINT nFlags, CPoint point)
{
  if ((m_dwOptions & LBE_BUTTONS) && m_pEdit == NULL) {
    for (int i = 0; i < 4; i++) {
      if (!m_bButtons[i] || !m_rcButtons[i].PtInRect(point))
        continue;
      SECFakeButton button;
      if (button.Press(this, m_rcButtons[i], &m_bitmaps[i]))
        RunButton(i);
      Invalidate();
      return;
    }
  }
  CWnd::OnLButtonDown(nFlags, point);
}

void SECListBoxEditor::OnMouseMove(UINT nFlags, CPoint point)
{
  if ((m_dwOptions & LBE_TOOLTIPS) && m_toolTip.m_hWnd != NULL) {
    const MSG* pMsg = GetCurrentMessage();
    MSG msg = *pMsg;
    m_toolTip.RelayEvent(&msg);
  }
  CWnd::OnMouseMove(nFlags, point);
}
