// Toolbar customisation dialogs, sheet and pages.
#include "SECToolBarsDlg.h"
#include "SECBmpMgr.h"
#include "SECFrameWnd.h"
#include "SECMenuBar.h"
#include "SECToolBarManager.h"
#include "SECToolBars_res.h"
#include <afxpriv.h>

const UINT WM_TOOLBARSTYLECHANGING = ::RegisterWindowMessageA("WM_TOOLBARSTYLECHANGING");

namespace {
const int kMaxName = 128;

// Tells the frame's floating windows to look as active as the customising window.
void FloatStatusTo(CFrameWnd* pFrame, BOOL bActive)
{
  if (pFrame != NULL && pFrame->m_hWnd != NULL)
    pFrame->NotifyFloatingWindows(bActive ? FS_ACTIVATE : FS_DEACTIVATE);
}

CFrameWnd* FrameOf(SECToolBarManager* pMgr) { return pMgr != NULL ? pMgr->GetFrameWnd() : NULL; }
}  // namespace

// ---------------------------------------------------------------------------------------------
// The shared part

void SECToolBarsBase::SetManager(SECToolBarManager* pMgr)
{
  m_pManager = pMgr;
  if (pMgr == NULL)
    return;
  m_bToolTips = m_bInitToolTips = pMgr->ToolTipsEnabled();
  m_bCoolLook = m_bInitCoolLook = pMgr->CoolLookEnabled();
  m_bLargeBtns = m_bInitLargeBtns = pMgr->LargeBtnsEnabled();
}

void SECToolBarsBase::ApplyCurrent()
{
  if (m_pManager == NULL)
    return;
  m_pManager->EnableToolTips(m_bToolTips);
  m_pManager->EnableCoolLook(m_bCoolLook, 0x300);
  m_pManager->EnableLargeBtns(m_bLargeBtns);
}

void SECToolBarsBase::RestoreInitial()
{
  if (m_pManager == NULL)
    return;
  m_pManager->EnableToolTips(m_bInitToolTips);
  m_pManager->EnableCoolLook(m_bInitCoolLook, 0x300);
  m_pManager->EnableLargeBtns(m_bInitLargeBtns);
}

void SECToolBarsBase::ReadChecks()
{
  m_bToolTips = m_pWnd->IsDlgButtonChecked(IDC_SEC_TOOLTIPS) != 0;
  m_bCoolLook = m_pWnd->IsDlgButtonChecked(IDC_SEC_COOLLOOK) != 0;
  m_bLargeBtns = m_pWnd->IsDlgButtonChecked(IDC_SEC_LARGEBTNS) != 0;
}

SECCustomToolBar* SECToolBarsBase::SelectedBar()
{
  int n = m_list.GetCurSel();
  if (n < 0 || m_pManager == NULL)
    return NULL;
  return m_pManager->ToolBarFromID((UINT)m_list.GetItemData(n));
}

void SECToolBarsBase::FillList()
{
  m_list.ResetContent();
  if (m_pManager == NULL)
    return;
  std::vector<SECCustomToolBar*> bars;
  m_pManager->GetToolBars(bars);
  for (SECCustomToolBar* p : bars) {
    if (p->m_hWnd == NULL)
      continue;
    CString str;
    p->GetWindowText(str);
    int n = m_list.AddString(str);
    m_list.SetItemData(n, (DWORD_PTR)p->GetDlgCtrlID());
    m_list.SetCheck(n, p->IsVisible() ? 1 : 0);
  }
  m_list.SetCurSel(0);
  UpdateNameField();
}

void SECToolBarsBase::UpdateNameField()
{
  CEdit* pEdit = (CEdit*)m_pWnd->GetDlgItem(IDC_SEC_NAME);
  CWnd* pLabel = m_pWnd->GetDlgItem(IDC_SEC_NAME_LABEL);
  CWnd* pReset = m_pWnd->GetDlgItem(IDC_SEC_RESET);
  if (pEdit == NULL)
    return;
  pEdit->SetWindowText("");
  SECCustomToolBar* pBar = SelectedBar();
  BOOL bUser = FALSE;
  if (pBar != NULL) {
    CString str;
    pBar->GetWindowText(str);
    pEdit->SetWindowText(str);
    UINT nID = (UINT)pBar->GetDlgCtrlID();
    bUser = nID >= SEC_IDW_FIRST_USERBAR && nID != SEC_IDW_MENUBAR;
  }
  CString strBtn;
  strBtn.LoadString(bUser ? IDS_SEC_DELETE : IDS_SEC_RESET);
  if (pReset != NULL)
    pReset->SetWindowText(strBtn);
  pEdit->EnableWindow(bUser);
  if (pLabel != NULL)
    pLabel->EnableWindow(bUser);
  pEdit->SetModify(FALSE);
}

void SECToolBarsBase::OnBarNotify(UINT nBarID, UINT nCode)
{
  if (m_list.m_hWnd == NULL)
    return;
  int nItem = -1;
  for (int i = 0; i < m_list.GetCount(); i++)
    if ((UINT)m_list.GetItemData(i) == nBarID)
      nItem = i;
  switch (nCode) {
  case SEC_BARNOTIFY_SHOWN:
  case SEC_BARNOTIFY_HIDDEN:
    if (nItem >= 0)
      m_list.SetCheck(nItem, nCode == SEC_BARNOTIFY_SHOWN ? 1 : 0);
    break;
  case SEC_BARNOTIFY_CREATED: {
    SECCustomToolBar* pBar = m_pManager != NULL ? m_pManager->ToolBarFromID(nBarID) : NULL;
    if (pBar == NULL || nItem >= 0)
      break;
    int nAt = m_list.GetCount();
    for (int i = 0; i < m_list.GetCount(); i++)
      if ((UINT)m_list.GetItemData(i) > nBarID) {
        nAt = i;
        break;
      }
    CString str;
    pBar->GetWindowText(str);
    int n = m_list.InsertString(nAt, str);
    m_list.SetItemData(n, nBarID);
    m_list.SetCheck(n, 1);
    break;
  }
  case SEC_BARNOTIFY_DESTROYED:
    if (nItem >= 0) {
      BOOL bSel = m_list.GetCurSel() == nItem;
      m_list.DeleteString(nItem);
      if (bSel) {
        int n = nItem < m_list.GetCount() ? nItem : m_list.GetCount() - 1;
        m_list.SetCurSel(n);
        UpdateNameField();
      }
    }
    break;
  default:
    break;
  }
}

void SECToolBarsBase::OnNameKillFocus()
{
  CEdit* pEdit = (CEdit*)m_pWnd->GetDlgItem(IDC_SEC_NAME);
  if (pEdit == NULL || !pEdit->IsWindowEnabled() || !pEdit->GetModify())
    return;
  SECCustomToolBar* pBar = SelectedBar();
  if (pBar == NULL)
    return;
  CString str;
  pEdit->GetWindowText(str);
  if (str.GetLength() > kMaxName) {
    str = str.Left(kMaxName);
    pEdit->SetWindowText(str);
  }
  pBar->SetWindowText(str);
  if (pBar->IsFloating() && pBar->GetParentFrame() != NULL)
    pBar->GetParentFrame()->SetWindowText(str);
  int n = m_list.GetCurSel();
  int nCheck = m_list.GetCheck(n);
  DWORD_PTR data = m_list.GetItemData(n);
  m_list.DeleteString(n);
  m_list.InsertString(n, str);
  m_list.SetItemData(n, data);
  m_list.SetCheck(n, nCheck);
  m_list.SetCurSel(n);
  pEdit->SetModify(FALSE);
}

BOOL SECToolBarsBase::OnNew()
{
  if (m_pManager == NULL)
    return FALSE;
  m_pManager->ExitCustomizeMode();
  SECNewToolBar dlg(m_pWnd);
  INT_PTR nResult = dlg.DoModal();
  m_pManager->EnterCustomizeMode();
  if (nResult != IDOK)
    return FALSE;
  SECCustomToolBar* pBar = m_pManager->CreateNewToolBar(dlg.m_strName);
  if (pBar == NULL)
    return TRUE;
  CFrameWnd* pFrame = m_pManager->GetFrameWnd();
  CPoint pt;
  CControlBar* pTop = pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP);
  if (pTop != NULL) {
    CRect rc;
    pTop->GetWindowRect(&rc);
    pt = CPoint(rc.left + 5, rc.bottom + 5);
  } else {
    CRect rc;
    pFrame->GetClientRect(&rc);
    pFrame->ClientToScreen(&rc);
    pt = CPoint(rc.right + 5, rc.bottom + 5);
  }
  SECFrameWnd* pSEC = DYNAMIC_DOWNCAST(SECFrameWnd, pFrame);
  if (pSEC != NULL)
    pSEC->FloatControlBar(pBar, pt, CBRS_ALIGN_TOP);
  else
    pFrame->FloatControlBar(pBar, pt, CBRS_ALIGN_TOP);
  return TRUE;
}

void SECToolBarsBase::OnResetOrDelete()
{
  SECCustomToolBar* pBar = SelectedBar();
  if (pBar == NULL)
    return;
  UINT nID = (UINT)pBar->GetDlgCtrlID();
  if (nID == SEC_IDW_MENUBAR) {
    SECMenuBar* pMenuBar = DYNAMIC_DOWNCAST(SECMenuBar, pBar);
    if (pMenuBar != NULL)
      pMenuBar->ResetMenuButtons(FALSE);
  } else if (nID >= SEC_IDW_FIRST_USERBAR) {
    pBar->DestroyWindow();
  } else {
    int n = 0;
    const UINT* pIDs = NULL;
    if (!m_pManager->GetDefaultButtons(nID, n, pIDs))
      return;
    pBar->SetButtons(pIDs, n);
    m_pManager->GetFrameWnd()->RecalcLayout();
    pBar->Invalidate();
  }
}

void SECToolBarsBase::OnCheckChange()
{
  int n = m_list.GetCurSel();
  if (n < 0 || m_pManager == NULL)
    return;
  for (int i = 0; i < m_list.GetCount(); i++) {
    SECCustomToolBar* pBar = m_pManager->ToolBarFromID((UINT)m_list.GetItemData(i));
    if (pBar == NULL)
      continue;
    BOOL bCheck = m_list.GetCheck(i) != 0;
    if ((UINT)pBar->GetDlgCtrlID() == SEC_IDW_MENUBAR) {
      if (!bCheck)
        m_list.SetCheck(i, 1);  // the menu bar stays
      continue;
    }
    if (!bCheck == !pBar->IsVisible())
      continue;
    SECFrameWnd* pSEC = DYNAMIC_DOWNCAST(SECFrameWnd, m_pManager->GetFrameWnd());
    if (pSEC != NULL)
      pSEC->ShowControlBar(pBar, bCheck, FALSE);
    else
      m_pManager->GetFrameWnd()->ShowControlBar(pBar, bCheck, FALSE);
  }
  m_pManager->GetFrameWnd()->RecalcLayout();
}

// ---------------------------------------------------------------------------------------------
// New Toolbar dialog

BEGIN_MESSAGE_MAP(SECNewToolBar, CDialog)
  ON_EN_CHANGE(IDC_SEC_NEWNAME, OnNameChange)
END_MESSAGE_MAP()

SECNewToolBar::SECNewToolBar(CWnd* pParent) : CDialog(IDD_SEC_NEWTOOLBAR, pParent) {}

BOOL SECNewToolBar::OnInitDialog()
{
  CDialog::OnInitDialog();
  OnNameChange();
  return TRUE;
}

void SECNewToolBar::DoDataExchange(CDataExchange* pDX)
{
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_SEC_NEWNAME, m_strName);
}

void SECNewToolBar::OnNameChange()
{
  CString str;
  GetDlgItemText(IDC_SEC_NEWNAME, str);
  if (str.GetLength() > kMaxName) {
    str = str.Left(kMaxName);
    SetDlgItemText(IDC_SEC_NEWNAME, str);
  }
  CWnd* pOK = GetDlgItem(IDOK);
  if (pOK != NULL)
    pOK->EnableWindow(!str.IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// Toolbars dialog

BEGIN_MESSAGE_MAP(SECToolBarsDlg, CDialog)
  ON_BN_CLICKED(IDC_SEC_TOOLTIPS, OnCheckBox)
  ON_BN_CLICKED(IDC_SEC_COOLLOOK, OnCheckBox)
  ON_BN_CLICKED(IDC_SEC_LARGEBTNS, OnCheckBox)
  ON_BN_CLICKED(IDC_SEC_NEW, OnNewBtn)
  ON_BN_CLICKED(IDC_SEC_CUSTOMIZE_BTN, OnCustomize)
  ON_BN_CLICKED(IDC_SEC_RESET, OnReset)
  ON_CONTROL(CLBN_CHKCHANGE, IDC_SEC_TOOLBAR_LIST, OnListCheck)
  ON_LBN_SELCHANGE(IDC_SEC_TOOLBAR_LIST, OnListSel)
  ON_EN_KILLFOCUS(IDC_SEC_NAME, OnNameKill)
  ON_REGISTERED_MESSAGE(WM_BARNOTIFY, OnBarNotifyMsg)
  ON_WM_ACTIVATE()
  ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

SECToolBarsDlg::SECToolBarsDlg(CWnd* pParent) : CDialog(IDD_SEC_TOOLBARS, pParent) { m_pWnd = this; }

SECToolBarsDlg::~SECToolBarsDlg()
{
  if (m_pManager != NULL) {
    m_pManager->RemoveNotifyWnd(this);
    if (m_pManager->GetCustomizeDlg() == this)
      m_pManager->SetCustomizeDlg(NULL);
  }
}

BOOL SECToolBarsDlg::OnInitDialog()
{
  m_list.SubclassDlgItem(IDC_SEC_TOOLBAR_LIST, this);
  m_list.SendMessage(LB_SETITEMHEIGHT, 0, 0);
  CDialog::OnInitDialog();
  CenterWindow();
  FillList();
  if (m_pManager != NULL) {
    m_pManager->EnterCustomizeMode();
    m_pManager->EnableConfigMode(TRUE);
    m_pManager->SetCustomizeDlg(this);
    m_pManager->AddNotifyWnd(this);
  }
  return TRUE;
}

void SECToolBarsDlg::DoDataExchange(CDataExchange* pDX)
{
  CDialog::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_SEC_TOOLTIPS, m_bToolTips);
  DDX_Check(pDX, IDC_SEC_COOLLOOK, m_bCoolLook);
  DDX_Check(pDX, IDC_SEC_LARGEBTNS, m_bLargeBtns);
}

void SECToolBarsDlg::OnCheckBox()
{
  ReadChecks();
  ApplyCurrent();
}

void SECToolBarsDlg::Finish(int nResult)
{
  if (m_pManager != NULL) {
    m_pManager->EnableConfigMode(FALSE);
    m_pManager->ExitCustomizeMode();
    m_pManager->RemoveNotifyWnd(this);
    m_pManager->SetCustomizeDlg(NULL);
    if (nResult != IDCANCEL)
      ApplyCurrent();
  }
  EndDialog(nResult);
}

void SECToolBarsDlg::OnOK()
{
  ReadChecks();
  Finish(IDOK);
}

void SECToolBarsDlg::OnCancel() { Finish(IDCANCEL); }

void SECToolBarsDlg::OnNewBtn()
{
  if (OnNew())
    Finish(SEC_IDC_CUSTOMIZE);
}

void SECToolBarsDlg::OnCustomize() { Finish(SEC_IDC_CUSTOMIZE); }
void SECToolBarsDlg::OnReset() { OnResetOrDelete(); }
void SECToolBarsDlg::OnListCheck() { OnCheckChange(); }
void SECToolBarsDlg::OnListSel() { UpdateNameField(); }
void SECToolBarsDlg::OnNameKill() { OnNameKillFocus(); }

LRESULT SECToolBarsDlg::OnBarNotifyMsg(WPARAM wParam, LPARAM lParam)
{
  OnBarNotify((UINT)wParam, (UINT)lParam);
  return 0;
}

void SECToolBarsDlg::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
  CDialog::OnActivate(nState, pWndOther, bMinimized);
  FloatStatusTo(FrameOf(m_pManager), nState != WA_INACTIVE);
}

LRESULT SECToolBarsDlg::OnFloatStatus(WPARAM wParam, LPARAM)
{
  if (wParam & (FS_ACTIVATE | FS_DEACTIVATE))
    SendMessage(WM_NCACTIVATE, (wParam & FS_ACTIVATE) != 0);
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Toolbars page

IMPLEMENT_DYNAMIC(SECToolBarsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(SECToolBarsPage, CPropertyPage)
  ON_BN_CLICKED(IDC_SEC_TOOLTIPS, OnToolTipsCheck)
  ON_BN_CLICKED(IDC_SEC_COOLLOOK, OnCoolLookCheck)
  ON_BN_CLICKED(IDC_SEC_LARGEBTNS, OnLargeCheck)
  ON_BN_CLICKED(IDC_SEC_NEW, OnNewBtn)
  ON_BN_CLICKED(IDC_SEC_RESET, OnResetBtn)
  ON_CONTROL(CLBN_CHKCHANGE, IDC_SEC_TOOLBAR_LIST, OnListCheck)
  ON_LBN_SELCHANGE(IDC_SEC_TOOLBAR_LIST, OnListSel)
  ON_EN_KILLFOCUS(IDC_SEC_NAME, OnNameKill)
  ON_REGISTERED_MESSAGE(WM_BARNOTIFY, OnBarNotifyMsg)
END_MESSAGE_MAP()

SECToolBarsPage::SECToolBarsPage() : CPropertyPage(IDD_SEC_TOOLBARS_PAGE) { m_pWnd = this; }

SECToolBarsPage::SECToolBarsPage(UINT nIDTemplate, UINT nIDCaption)
    : CPropertyPage(nIDTemplate, nIDCaption)
{
  m_pWnd = this;
}

SECToolBarsPage::~SECToolBarsPage()
{
  if (m_pManager != NULL) {
    m_pManager->RemoveNotifyWnd(this);
    m_pManager->SetCustomizeDlg(NULL);
  }
}

BOOL SECToolBarsPage::OnInitDialog()
{
  m_list.SubclassDlgItem(IDC_SEC_TOOLBAR_LIST, this);
  m_list.SendMessage(LB_SETITEMHEIGHT, 0, 0);
  CPropertyPage::OnInitDialog();
  FillList();
  if (m_pManager != NULL)
    m_pManager->AddNotifyWnd(this);
  return TRUE;
}

void SECToolBarsPage::DoDataExchange(CDataExchange* pDX)
{
  CPropertyPage::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_SEC_TOOLTIPS, m_bToolTips);
  DDX_Check(pDX, IDC_SEC_COOLLOOK, m_bCoolLook);
  DDX_Check(pDX, IDC_SEC_LARGEBTNS, m_bLargeBtns);
}

BOOL SECToolBarsPage::OnSetActive()
{
  if (m_pManager != NULL) {
    m_pManager->EnableConfigMode(TRUE);
    m_pManager->EnterCustomizeMode();
    m_pManager->SetCustomizeDlg(GetParent());
  }
  return CPropertyPage::OnSetActive();
}

BOOL SECToolBarsPage::OnKillActive()
{
  if (m_pManager != NULL) {
    m_pManager->EnableConfigMode(FALSE);
    m_pManager->ExitCustomizeMode();
    if (GetParent() != NULL)
      GetParent()->EnableWindow(TRUE);
  }
  return CPropertyPage::OnKillActive();
}

void SECToolBarsPage::OnOK()
{
  ApplyCurrent();
  CPropertyPage::OnOK();
}

void SECToolBarsPage::OnCancel()
{
  RestoreInitial();
  CPropertyPage::OnCancel();
}

void SECToolBarsPage::OnReset()
{
  if (m_pManager != NULL) {
    m_pManager->EnableConfigMode(FALSE);
    m_pManager->ExitCustomizeMode();
    m_pManager->SetCustomizeDlg(NULL);
  }
  RestoreInitial();
  CPropertyPage::OnReset();
}

void SECToolBarsPage::TellSiblings(WPARAM nWhat)
{
  CPropertySheet* pSheet = GetParentSheet();
  if (pSheet == NULL)
    return;
  for (int i = 0; i < pSheet->GetPageCount(); i++) {
    CPropertyPage* p = pSheet->GetPage(i);
    if (p != this && p->m_hWnd != NULL)
      p->SendMessage(WM_TOOLBARSTYLECHANGING, nWhat);
  }
}

void SECToolBarsPage::OnToolTipsCheck()
{
  ReadChecks();
  if (m_pManager != NULL)
    m_pManager->EnableToolTips(m_bToolTips);
}

void SECToolBarsPage::OnCoolLookCheck()
{
  ReadChecks();
  if (m_pManager != NULL)
    m_pManager->EnableCoolLook(m_bCoolLook, 0x300);
  TellSiblings(2);
}

void SECToolBarsPage::OnLargeCheck()
{
  ReadChecks();
  if (m_pManager != NULL)
    m_pManager->EnableLargeBtns(m_bLargeBtns);
  TellSiblings(1);
}

void SECToolBarsPage::OnNewBtn() { OnNew(); }
void SECToolBarsPage::OnResetBtn() { OnResetOrDelete(); }
void SECToolBarsPage::OnListCheck() { OnCheckChange(); }
void SECToolBarsPage::OnListSel() { UpdateNameField(); }
void SECToolBarsPage::OnNameKill() { OnNameKillFocus(); }

LRESULT SECToolBarsPage::OnBarNotifyMsg(WPARAM wParam, LPARAM lParam)
{
  OnBarNotify((UINT)wParam, (UINT)lParam);
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Commands page and its groups

IMPLEMENT_DYNCREATE(SECCustomizeToolBar, SECCustomToolBar)
IMPLEMENT_DYNAMIC(SECMenuListBox, CListBox)
IMPLEMENT_DYNCREATE(SECToolBarCmdPage, CPropertyPage)

BOOL SECTBBtnGroup::Create(SECToolBarCmdPage* pPage, SECToolBarManager* pMgr, UINT nID)
{
  SECCustomizeToolBar* pBar = new SECCustomizeToolBar;
  m_pWnd = pBar;
  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BORDER_3D | CBRS_SIZE_DYNAMIC | CBRS_FLOATING;
  if (pMgr != NULL && pMgr->FlyByEnabled())
    dwStyle |= CBRS_FLYBY;
  DWORD dwEx = pMgr != NULL && pMgr->CoolLookEnabled() ? 0x300 : 0;
  if (pMgr != NULL) {
    pBar->SetManager(pMgr);
    pBar->SetBmpMgr(pMgr->GetBmpMgr());
  }
  if (!pBar->CreateEx(dwEx, pPage, dwStyle, nID, NULL))
    return FALSE;
  if (pMgr != NULL) {
    pBar->ApplyBtnSizes();
    pBar->SetOwner(pMgr->GetFrameWnd());
  }
  pBar->SetConfigMode(TRUE);
  pBar->SetButtons(m_pIDs, m_nCount);
  return TRUE;
}

void SECTBBtnGroup::Layout(const CRect& rect)
{
  SECCustomizeToolBar* pBar = Palette();
  if (pBar == NULL || pBar->m_hWnd == NULL)
    return;
  pBar->m_nMRUWidth = (UINT)rect.Width();
  CSize size = pBar->CalcDynamicLayout(rect.Width(), LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  pBar->SetWindowPos(NULL, rect.left, rect.top, rect.Width(), std::min(size.cy + 2, rect.Height()),
                     SWP_NOZORDER | SWP_NOACTIVATE);
  pBar->Invalidate();
}

void SECTBBtnGroup::Activate(BOOL bActive)
{
  if (Palette() != NULL)
    Palette()->SetConfigMode(bActive);
}

BOOL SECMenuBtnGroup::Create(SECToolBarCmdPage* pPage, SECToolBarManager* pMgr, UINT nID)
{
  SECMenuListBox* pList = new SECMenuListBox;
  m_pWnd = pList;
  CRect rc;
  pPage->GetDlgItem(IDC_SEC_BUTTONS_FRAME)->GetWindowRect(&rc);
  pPage->ScreenToClient(&rc);
  if (!pList->CreateEx(WS_EX_CLIENTEDGE, "LISTBOX", NULL, WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
                       rc, pPage, nID))
    return FALSE;
  pList->m_pManager = pMgr;
  pList->SetFont(pPage->GetFont());
  const SECBtnMapEntry* maps[2] = {pMgr != NULL ? pMgr->GetButtonMap() : NULL,
                                   pMgr != NULL ? pMgr->GetMenuButtonMap() : NULL};
  for (int i = 0; i < m_nCount; i++) {
    for (const SECBtnMapEntry* pMap : maps) {
      const SECBtnMapEntry* pHit = NULL;
      for (const SECBtnMapEntry* e = pMap; e != NULL && e->m_pBtnClass != NULL; e++)
        if (e->m_nID == m_pIDs[i])
          pHit = e;
      if (pHit == NULL)
        continue;
      if (pHit->m_pBtnClass == &SECTBMenuBtn::classSECTBMenuBtn && pHit->m_nParams[2] != 0) {
        CString str = (LPCTSTR)pHit->m_nParams[2];
        int n = str.Find('&');
        if (n >= 0)
          str.Delete(n);
        int nItem = pList->AddString(str);
        pList->SetItemData(nItem, m_pIDs[i]);
      }
      break;
    }
  }
  return TRUE;
}

BEGIN_MESSAGE_MAP(SECMenuListBox, CListBox)
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void SECMenuListBox::OnLButtonDown(UINT nFlags, CPoint point)
{
  (void)nFlags;
  SetFocus();
  DWORD dw = (DWORD)SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
  if (HIWORD(dw) != 0)
    return;  // outside the items
  int nItem = LOWORD(dw);
  SetCurSel(nItem);
  if (m_pManager == NULL)
    return;
  UINT nID = (UINT)GetItemData(nItem);
  SECToolBarCmdPage* pPage = DYNAMIC_DOWNCAST(SECToolBarCmdPage, GetParent());
  if (pPage != NULL)
    pPage->ShowDescription(nID);
  SECStdBtn btn;
  btn.m_nID = nID;
  btn.m_x = point.x;
  btn.m_y = point.y;
  btn.m_cx = 23;
  btn.m_cy = 22;
  PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(point.x - 1, point.y - 1));
  SECDragButton(m_pManager, &btn, -1, point.x, point.y, NULL, this, TRUE);
}

SECToolBarCmdPage::CGroupArray::~CGroupArray()
{
  for (INT_PTR i = 0; i < GetSize(); i++)
    delete GetAt(i);
}

BEGIN_MESSAGE_MAP(SECToolBarCmdPage, CPropertyPage)
  ON_LBN_SELCHANGE(IDC_SEC_TOOLBAR_LIST, OnCategoryChange)
  ON_WM_DESTROY()
  ON_REGISTERED_MESSAGE(WM_BARNOTIFY, OnBarNotifyMsg)
  ON_REGISTERED_MESSAGE(WM_TOOLBARSTYLECHANGING, OnStyleChanging)
END_MESSAGE_MAP()

SECToolBarCmdPage::SECToolBarCmdPage()
    : CPropertyPage(IDD_SEC_CUSTOMIZE_CMDS), m_pManager(NULL), m_nActive(-1), m_pMenuIDs(NULL)
{
}

SECToolBarCmdPage::SECToolBarCmdPage(UINT nIDTemplate, UINT nIDCaption)
    : CPropertyPage(nIDTemplate, nIDCaption), m_pManager(NULL), m_nActive(-1), m_pMenuIDs(NULL)
{
}

SECToolBarCmdPage::~SECToolBarCmdPage()
{
  if (m_pManager != NULL) {
    m_pManager->RemoveNotifyWnd(this);
    m_pManager->SetCustomizeDlg(NULL);
  }
  delete[] m_pMenuIDs;
}

void SECToolBarCmdPage::SetManager(SECToolBarManager* pMgr)
{
  m_pManager = pMgr;
  if (pMgr != NULL)
    pMgr->AddNotifyWnd(this);
}

void SECToolBarCmdPage::DefineBtnGroup(LPCTSTR lpszName, int nCount, const UINT* pIDs)
{
  SECTBBtnGroup* p = new SECTBBtnGroup;
  p->m_strName = lpszName;
  p->m_nCount = nCount;
  p->m_pIDs = pIDs;
  m_groups.Add(p);
}

void SECToolBarCmdPage::DefineMenuGroup(LPCTSTR lpszName)
{
  if (m_pManager == NULL)
    return;
  SECFrameWnd* pFrame = DYNAMIC_DOWNCAST(SECFrameWnd, AfxGetMainWnd());
  if (pFrame == NULL)
    pFrame = DYNAMIC_DOWNCAST(SECFrameWnd, m_pManager->GetFrameWnd());
  SECMenuBar* pBar = pFrame != NULL ? pFrame->m_pMenuBar : NULL;
  if (pBar == NULL)
    return;  // no menu bar: no group
  const SECBtnMapEntry* maps[2] = {m_pManager->GetButtonMap(), m_pManager->GetMenuButtonMap()};
  if (maps[0] == NULL && maps[1] == NULL)
    return;
  DWORD dwBit = 0;
  if (!pBar->m_menuMasks.Lookup(pBar->GetMenuID(), dwBit))
    dwBit = (DWORD)-1;
  std::vector<UINT> ids;
  for (int i = 0; i < pBar->GetBtnCount(); i++) {
    SECStdBtn* pBtn = pBar->GetButton(i);
    if (pBtn->m_nType != SEC_BTNTYPE_MENU || !(((SECTBMenuBtn*)pBtn)->m_dwMask & dwBit))
      continue;
    for (const SECBtnMapEntry* pMap : maps) {
      const SECBtnMapEntry* pHit = NULL;
      for (const SECBtnMapEntry* e = pMap; e != NULL && e->m_pBtnClass != NULL; e++)
        if (e->m_nID == pBtn->m_nID)
          pHit = e;
      if (pHit == NULL)
        continue;
      if (pHit->m_pBtnClass == &SECTBMenuBtn::classSECTBMenuBtn)
        ids.push_back(pBtn->m_nID);
      break;
    }
  }
  if (ids.empty())
    return;
  UINT* pIDs = new UINT[ids.size()];
  std::copy(ids.begin(), ids.end(), pIDs);
  delete[] m_pMenuIDs;
  m_pMenuIDs = pIDs;
  SECMenuBtnGroup* p = new SECMenuBtnGroup;
  p->m_strName = lpszName;
  p->m_nCount = (int)ids.size();
  p->m_pIDs = m_pMenuIDs;
  m_groups.Add(p);
}

BOOL SECToolBarCmdPage::OnInitDialog()
{
  CPropertyPage::OnInitDialog();
  CWnd* pFrameCtl = GetDlgItem(IDC_SEC_BUTTONS_FRAME);
  CRect rc(0, 0, 0, 0);
  if (pFrameCtl != NULL) {
    WINDOWPLACEMENT wp;
    wp.length = sizeof(wp);
    pFrameCtl->GetWindowPlacement(&wp);
    rc = wp.rcNormalPosition;
  }
  CRect inset(0, 0, 6, 8);
  MapDialogRect(&inset);
  rc.DeflateRect(inset.right, inset.bottom);
  CListBox* pList = (CListBox*)GetDlgItem(IDC_SEC_TOOLBAR_LIST);
  UINT nID = 59567;
  for (int i = 0; i < GetGroupCount(); i++) {
    SECBtnGroup* g = GetGroup(i);
    if (!g->Create(this, m_pManager, nID--))
      return FALSE;
    g->m_pWnd->MoveWindow(&rc);
    // Above the "Buttons" frame it sits in: a bar clips its siblings, and the frame, made
    // first, would otherwise hide it whole.
    g->m_pWnd->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    g->Layout(rc);
    g->m_pWnd->ShowWindow(i == 0 ? SW_SHOW : SW_HIDE);
    if (pList != NULL)
      pList->AddString(g->m_strName);
  }
  if (pList != NULL)
    pList->SetCurSel(0);
  m_nActive = GetGroupCount() > 0 ? 0 : -1;
  return TRUE;
}

void SECToolBarCmdPage::SelectGroup(int nIndex)
{
  if (m_nActive >= 0 && m_nActive < GetGroupCount())
    GetGroup(m_nActive)->Activate(FALSE);
  for (int i = 0; i < GetGroupCount(); i++)
    if (i != nIndex && GetGroup(i)->m_pWnd != NULL)
      GetGroup(i)->m_pWnd->ShowWindow(SW_HIDE);
  m_nActive = nIndex;
  if (nIndex >= 0 && nIndex < GetGroupCount()) {
    GetGroup(nIndex)->m_pWnd->ShowWindow(SW_SHOW);
    GetGroup(nIndex)->Activate(TRUE);
  }
}

void SECToolBarCmdPage::OnCategoryChange()
{
  CListBox* pList = (CListBox*)GetDlgItem(IDC_SEC_TOOLBAR_LIST);
  SelectGroup(pList != NULL ? pList->GetCurSel() : -1);
}

BOOL SECToolBarCmdPage::OnSetActive()
{
  if (m_pManager != NULL) {
    m_pManager->EnableConfigMode(TRUE);
    m_pManager->EnterCustomizeMode();
    m_pManager->SetCustomizeDlg(GetParent());
  }
  if (m_nActive >= 0 && m_nActive < GetGroupCount())
    GetGroup(m_nActive)->Activate(TRUE);
  return CPropertyPage::OnSetActive();
}

BOOL SECToolBarCmdPage::OnKillActive()
{
  if (m_pManager != NULL) {
    m_pManager->EnableConfigMode(FALSE);
    m_pManager->ExitCustomizeMode();
    if (GetParent() != NULL)
      GetParent()->EnableWindow(TRUE);
  }
  if (m_nActive >= 0 && m_nActive < GetGroupCount())
    GetGroup(m_nActive)->Activate(FALSE);
  return CPropertyPage::OnKillActive();
}

void SECToolBarCmdPage::OnReset()
{
  if (m_pManager != NULL) {
    m_pManager->EnableConfigMode(FALSE);
    m_pManager->ExitCustomizeMode();
    m_pManager->SetCustomizeDlg(NULL);
  }
  CPropertyPage::OnReset();
}

void SECToolBarCmdPage::OnDestroy()
{
  if (m_pManager != NULL) {
    m_pManager->RemoveNotifyWnd(this);
    m_pManager->SetCustomizeDlg(NULL);
  }
  CPropertyPage::OnDestroy();
}

void SECToolBarCmdPage::ShowDescription(UINT nCmdID)
{
  CString str;
  if (nCmdID != 0 && str.LoadString(nCmdID)) {
    int n = str.Find('\n');
    if (n >= 0)
      str = str.Left(n);
  }
  SetDlgItemText(IDC_SEC_DESCRIPTION, str);
}

LRESULT SECToolBarCmdPage::OnBarNotifyMsg(WPARAM wParam, LPARAM lParam)
{
  if (lParam != SEC_BARNOTIFY_SELECTION || m_pManager == NULL)
    return 0;
  (void)wParam;
  SECCustomToolBar* pBar = m_pManager->m_pSelectedBar;
  SECStdBtn* pBtn = pBar != NULL ? pBar->GetButton(pBar->GetSelectedBtn()) : NULL;
  ShowDescription(pBtn != NULL ? pBtn->m_nID : 0);
  return 0;
}

LRESULT SECToolBarCmdPage::OnStyleChanging(WPARAM wParam, LPARAM)
{
  for (int i = 0; i < GetGroupCount(); i++) {
    SECTBBtnGroup* g = dynamic_cast<SECTBBtnGroup*>(GetGroup(i));
    if (g == NULL || g->Palette() == NULL || g->Palette()->m_hWnd == NULL)
      continue;
    if (wParam == 1)
      g->Palette()->ApplyBtnSizes();
    else if (wParam == 2 && m_pManager != NULL)
      g->Palette()->m_dwExStyle = m_pManager->CoolLookEnabled() ? g->Palette()->m_dwExStyle | 0x300
                                                                 : g->Palette()->m_dwExStyle & ~0x300;
    CRect rc;
    g->Palette()->GetWindowRect(&rc);
    ScreenToClient(&rc);
    g->Layout(rc);
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Sheet

IMPLEMENT_DYNAMIC(SECToolBarSheet, CPropertySheet)

BEGIN_MESSAGE_MAP(SECToolBarSheet, CPropertySheet)
  ON_WM_ACTIVATE()
  ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

SECToolBarSheet::SECToolBarSheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage)
{
}

void SECToolBarSheet::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
  CPropertySheet::OnActivate(nState, pWndOther, bMinimized);
  CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pParentWnd);
  FloatStatusTo(pFrame, nState != WA_INACTIVE);
}

LRESULT SECToolBarSheet::OnFloatStatus(WPARAM wParam, LPARAM)
{
  if (wParam & (FS_ACTIVATE | FS_DEACTIVATE))
    SendMessage(WM_NCACTIVATE, (wParam & FS_ACTIVATE) != 0);
  return 0;
}
