// The customisable toolbar: buttons, layout, painting, pressing, command UI and stored form.
#include "SECCustomToolBar.h"
#include "SECBmpMgr.h"
#include "SECDockBar.h"
#include "SECFrameWnd.h"
#include "SECPersistentTree.h"
#include "SECSysData.h"
#include "SECToolBarLayout.h"
#include "SECToolBarManager.h"
#include <afxpriv.h>
#include <algorithm>

IMPLEMENT_DYNCREATE(SECCustomToolBar, SECControlBar)
IMPLEMENT_DYNCREATE(SECCustomToolBarInfoEx, SECControlBarInfoEx)

BOOL SECCustomToolBar::s_bAltDrag = FALSE;
BOOL SECCustomToolBar::s_bCmdInProgress = FALSE;

namespace {
const UINT WM_NODELAYHIDE = ::RegisterWindowMessageA("WM_NODELAYHIDE");
// Posted to an emptied user toolbar: it goes once the handler that emptied it has returned.
const UINT WM_SEC_DESTROYEMPTIED = ::RegisterWindowMessageA("SECCustomToolBar::DestroyEmptied");
const UINT_PTR kHotTimer = 0xE002;
const int kCacheFloat = 0, kCacheHorz = 1, kCacheVert = 2;

int CacheIndex(DWORD dwMode)
{
  return (dwMode & LM_HORZDOCK) ? kCacheHorz : (dwMode & LM_VERTDOCK) ? kCacheVert : kCacheFloat;
}
}  // namespace

BEGIN_MESSAGE_MAP(SECCustomToolBar, SECControlBar)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_CANCELMODE()
  ON_WM_TIMER()
  ON_WM_MOUSEACTIVATE()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_SHOWWINDOW()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_REGISTERED_MESSAGE(WM_NODELAYHIDE, OnNoDelayHide)
  ON_REGISTERED_MESSAGE(WM_SEC_DESTROYEMPTIED, OnDestroyEmptied)
  ON_MESSAGE(TB_ADDBUTTONSA, OnAddButtons)
  ON_MESSAGE(TB_DELETEBUTTON, OnDeleteButton)
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------------------------
// Stored form of the buttons

SECBtnInfoArray::~SECBtnInfoArray() { DeleteAll(); }

void SECBtnInfoArray::DeleteAll()
{
  for (INT_PTR i = 0; i < GetSize(); i++)
    delete GetInfo(i);
  RemoveAll();
}

void SECBtnInfoToBlob(const SECBtnInfoArray& arr, CByteArray& blob)
{
  blob.RemoveAll();
  for (INT_PTR i = 0; i < arr.GetSize(); i++) {
    const SECBtnInfo* p = arr.GetInfo(i);
    for (int b = 0; b < 4; b++)
      blob.Add((BYTE)(p->m_nID >> (8 * b)));
    blob.Add(p->m_nLen);
    for (int b = 0; b < p->m_nLen; b++)
      blob.Add(p->m_pData[b]);
  }
}

BOOL SECBtnInfoFromBlob(const BYTE* pData, UINT nLen, SECBtnInfoArray& arr)
{
  arr.DeleteAll();
  UINT nPos = 0;
  while (nPos < nLen) {
    if (nLen - nPos < 5)
      return FALSE;
    SECBtnInfo* p = new SECBtnInfo;
    p->m_nID = pData[nPos] | (pData[nPos + 1] << 8) | (pData[nPos + 2] << 16) |
               ((UINT)pData[nPos + 3] << 24);
    p->m_nLen = pData[nPos + 4];
    nPos += 5;
    if (p->m_nLen > nLen - nPos) {
      delete p;
      return FALSE;
    }
    if (p->m_nLen > 0) {
      p->m_pData = new BYTE[p->m_nLen];
      memcpy(p->m_pData, pData + nPos, p->m_nLen);
      nPos += p->m_nLen;
    }
    arr.Add(p);
  }
  return TRUE;
}

void SECCustomToolBarInfoEx::SerializeEx(CArchive& ar, SECDockState* pDockState)
{
  (void)pDockState;
  if (ar.IsStoring()) {
    ar << m_strTitle;
    ar << (DWORD)m_btnInfo.GetSize();
    for (INT_PTR i = 0; i < m_btnInfo.GetSize(); i++) {
      SECBtnInfo* p = m_btnInfo.GetInfo(i);
      ar << (DWORD)p->m_nID << p->m_nLen;
      if (p->m_nLen > 0)
        ar.Write(p->m_pData, p->m_nLen);
    }
    return;
  }
  m_btnInfo.DeleteAll();
  ar >> m_strTitle;
  DWORD nCount;
  ar >> nCount;
  AfxCheckStoredCount(ar, nCount, 5);
  for (DWORD i = 0; i < nCount; i++) {
    SECBtnInfo* p = new SECBtnInfo;
    DWORD nID;
    try {
      ar >> nID >> p->m_nLen;
      p->m_nID = nID;
      if (p->m_nLen > 0) {
        p->m_pData = new BYTE[p->m_nLen];
        if (ar.Read(p->m_pData, p->m_nLen) != p->m_nLen)
          AfxThrowArchiveException(CArchiveException::endOfFile);
      }
    } catch (...) {
      delete p;
      throw;
    }
    m_btnInfo.Add(p);
  }
}

BOOL SECCustomToolBarInfoEx::SaveState(LPCTSTR lpszSection)
{
  CWinApp* pApp = AfxGetApp();
  if (pApp == NULL)
    return FALSE;
  if (!m_strTitle.IsEmpty())
    pApp->WriteProfileString(lpszSection, "Title", m_strTitle);
  CByteArray blob;
  SECBtnInfoToBlob(m_btnInfo, blob);
  pApp->WriteProfileBinary(lpszSection, "Buttons", blob.GetData(), (UINT)blob.GetSize());
  return TRUE;
}

BOOL SECCustomToolBarInfoEx::LoadState(LPCTSTR lpszSection, SECDockState* pDockState)
{
  (void)pDockState;
  CWinApp* pApp = AfxGetApp();
  if (pApp == NULL)
    return FALSE;
  m_strTitle = pApp->GetProfileString(lpszSection, "Title", "");
  LPBYTE pData = NULL;
  UINT nBytes = 0;
  m_btnInfo.DeleteAll();
  if (!pApp->GetProfileBinary(lpszSection, "Buttons", &pData, &nBytes))
    return TRUE;
  BOOL ok = SECBtnInfoFromBlob(pData, nBytes, m_btnInfo);
  delete[] pData;
  return ok;
}

BOOL SECCustomToolBarInfoEx::SaveStateTree(SECPTNFactory& factory, SECPersistentTreeNode* pNode)
{
  if (pNode == NULL)
    return FALSE;
  SECPersistentTreeNode* pChild = factory.CreateNode("ToolBarInfoEx", pNode);
  if (pChild == NULL)
    return FALSE;
  pChild->SetStringValue("Title", m_strTitle, TRUE);
  CByteArray blob;
  SECBtnInfoToBlob(m_btnInfo, blob);
  pChild->SetBinaryValue("Buttons", blob.GetData(), (UINT)blob.GetSize(), TRUE);
  return TRUE;
}

BOOL SECCustomToolBarInfoEx::LoadStateTree(SECPersistentTreeNode* pNode)
{
  SECPersistentTreeNode* pChild = pNode != NULL ? pNode->FindChild("ToolBarInfoEx") : NULL;
  if (pChild == NULL)
    return FALSE;
  pChild->GetStringValue("Title", m_strTitle, "");
  BYTE* pData = NULL;
  UINT nBytes = 0;
  m_btnInfo.DeleteAll();
  pChild->GetBinaryValue("Buttons", &pData, nBytes);
  BOOL ok = pData == NULL || SECBtnInfoFromBlob(pData, nBytes, m_btnInfo);
  delete[] pData;
  return ok;
}

// ---------------------------------------------------------------------------------------------
// Command UI of a button

void SECCustomToolCmdUI::Enable(BOOL bOn)
{
  m_bEnableChanged = TRUE;
  SECCustomToolBar* pBar = (SECCustomToolBar*)m_pOther;
  UINT nOld = pBar->GetButtonStyle((int)m_nIndex);
  UINT nNew = bOn ? nOld & ~SEC_TBBS_DISABLED : nOld | SEC_TBBS_DISABLED;
  if (!bOn)
    nNew &= ~SEC_TBBS_PRESSED;
  pBar->SetButtonStyle((int)m_nIndex, nNew);
}

void SECCustomToolCmdUI::SetCheck(int nCheck)
{
  SECCustomToolBar* pBar = (SECCustomToolBar*)m_pOther;
  UINT nOld = pBar->GetButtonStyle((int)m_nIndex);
  UINT nNew = (nOld & ~(SEC_TBBS_CHECKED | SEC_TBBS_INDETERMINATE)) | SEC_TBBS_CHECKBOX;
  if (nCheck == 1)
    nNew |= SEC_TBBS_CHECKED;
  else if (nCheck == 2)
    nNew |= SEC_TBBS_INDETERMINATE;
  pBar->SetButtonStyle((int)m_nIndex, nNew);
}

// ---------------------------------------------------------------------------------------------
// Construction

SECCustomToolBar::SECCustomToolBar()
    : m_nSepWidth(8), m_nSelected(-1), m_nHot(-1), m_nOpenMenu(-1), m_bConfig(FALSE),
      m_pOwnCache(NULL), m_dwOrientation(0), m_dwFlags(0),
      m_hFont((HFONT)::GetStockObject(DEFAULT_GUI_FONT)), m_pBtnMap(NULL), m_pMenuBtnMap(NULL),
      m_nMaxBtnWidth(0), m_pBmpMgr(new SECBmpMgr), m_bHotTimer(FALSE)
{
  m_bDirty[0] = m_bDirty[1] = m_bDirty[2] = TRUE;
  m_cyTopBorder = m_cyBottomBorder = 3;
  m_nMRUWidth = 32767;
  SECGripperInfo& g = m_GripperInfo;
  g.m_nLeftMargin = g.m_nTopMargin = 2;
  g.m_nBarWidth = g.m_nBarHeight = 3;
  g.m_nGap = g.m_nGapV = 1;
  g.m_nBarWidth2 = g.m_nBarHeight2 = 3;
  g.m_nRightMargin = g.m_nBottomMargin = 2;
  g.m_nInset = 0;
}

SECCustomToolBar::~SECCustomToolBar()
{
  if (m_hWnd != NULL && ::IsWindow(m_hWnd))
    DestroyWindow();
  DeleteAllButtons();
  delete m_pOwnCache;
  delete[] m_pMenuBtnMap;
  if (m_pBmpMgr != NULL)
    m_pBmpMgr->Release();
}

BOOL SECCustomToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszTitle)
{
  return CreateEx(0, pParentWnd, dwStyle, nID, lpszTitle);
}

BOOL SECCustomToolBar::CreateEx(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, DWORD dwExStyle,
                                const RECT&, CWnd* pParentWnd, UINT nID, CCreateContext*)
{
  return CreateEx(dwExStyle, pParentWnd, dwStyle, nID, lpszWindowName);
}

BOOL SECCustomToolBar::CreateEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID,
                                LPCTSTR lpszTitle)
{
  m_dwStyle = dwStyle & CBRS_ALL;
  m_dwExStyle = dwExStyle | CBRS_EX_UNIDIRECTIONAL;
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                          (HBRUSH)(COLOR_BTNFACE + 1), NULL);
  if (!CWnd::Create(lpszClass, lpszTitle, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
    return FALSE;
  m_dwExStyle = dwExStyle | CBRS_EX_UNIDIRECTIONAL;
  m_bDirty[0] = m_bDirty[1] = m_bDirty[2] = TRUE;
  m_szHorzDock = m_szVertDock = m_szFloat = CSize(s_nDefaultLength, s_nDefaultThickness);
  NotifyBarChange(SEC_BARNOTIFY_CREATED);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Manager, images, maps

void SECCustomToolBar::SetManager(SECToolBarManager* pMgr) { m_pManager = pMgr; }

SECToolBarManager* SECCustomToolBar::GetManager() const
{
  return m_pManager != NULL && m_pManager->IsKindOf(RUNTIME_CLASS(SECToolBarManager))
             ? (SECToolBarManager*)m_pManager
             : NULL;
}

void SECCustomToolBar::SetBmpMgr(SECBmpMgr* pMgr)
{
  if (pMgr == m_pBmpMgr || pMgr == NULL)
    return;
  pMgr->Retain();
  if (m_pBmpMgr != NULL)
    m_pBmpMgr->Release();
  m_pBmpMgr = pMgr;
}

CSize SECCustomToolBar::GetImageSize() const
{
  return m_pBmpMgr != NULL ? m_pBmpMgr->GetImageSize() : CSize(16, 15);
}

int SECCustomToolBar::GetImageIndex(UINT nID) const
{
  return m_pBmpMgr != NULL ? m_pBmpMgr->GetImageIndex(nID) : -1;
}

const SECBtnMapEntry* SECCustomToolBar::GetButtonMap() const
{
  SECToolBarManager* pMgr = GetManager();
  return pMgr != NULL ? pMgr->GetButtonMap() : m_pBtnMap;
}

const SECBtnMapEntry* SECCustomToolBar::GetMenuButtonMap() const
{
  SECToolBarManager* pMgr = GetManager();
  return pMgr != NULL ? pMgr->GetMenuButtonMap() : m_pMenuBtnMap;
}

void SECCustomToolBar::ApplyBtnSizes()
{
  m_nMaxBtnWidth = 0;
  for (int i = 0; i < GetBtnCount(); i++)
    GetButton(i)->AdjustSize();
  m_bDirty[0] = m_bDirty[1] = m_bDirty[2] = TRUE;
}

BOOL SECCustomToolBar::LoadToolBar(LPCTSTR lpszResource)
{
  if (GetManager() != NULL || m_pBmpMgr == NULL)
    return FALSE;
  CSize size;
  CDWordArray ids;
  if (!m_pBmpMgr->AddToolBarResource(lpszResource, NULL, TRUE) ||
      !SECReadToolBarResource(lpszResource, size, ids))
    return FALSE;
  std::vector<UINT> v(ids.GetData(), ids.GetData() + ids.GetSize());
  SetButtons(v.data(), (int)v.size());
  return TRUE;
}

void SECCustomToolBar::NotifyBarChange(UINT nCode)
{
  SECToolBarManager* pMgr = GetManager();
  if (pMgr != NULL && m_hWnd != NULL)
    pMgr->NotifyBarChange((UINT)GetDlgCtrlID(), nCode);
}

// ---------------------------------------------------------------------------------------------
// Buttons

SECStdBtn* SECCustomToolBar::GetButton(int nIndex) const
{
  return nIndex >= 0 && nIndex < GetBtnCount() ? (SECStdBtn*)m_btns[nIndex] : NULL;
}

int SECCustomToolBar::CommandToIndex(UINT nID) const
{
  for (int i = 0; i < GetBtnCount(); i++)
    if (GetButton(i)->m_nID == nID)
      return i;
  return -1;
}

int SECCustomToolBar::IndexOfButton(const SECStdBtn* pBtn) const
{
  for (int i = 0; i < GetBtnCount(); i++)
    if (GetButton(i) == pBtn)
      return i;
  return -1;
}

UINT SECCustomToolBar::GetItemID(int nIndex) const
{
  SECStdBtn* p = GetButton(nIndex);
  return p != NULL ? p->m_nID : 0;
}

void SECCustomToolBar::GetButtonRect(int nIndex, LPRECT lpRect) const
{
  SECStdBtn* p = GetButton(nIndex);
  *lpRect = p != NULL ? p->GetRect() : CRect(0, 0, 0, 0);
}

UINT SECCustomToolBar::GetButtonStyle(int nIndex) const
{
  SECStdBtn* p = GetButton(nIndex);
  return p != NULL ? p->m_nStyle : 0;
}

void SECCustomToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
  SECStdBtn* p = GetButton(nIndex);
  if (p == NULL || p->m_nStyle == nStyle)
    return;
  p->SetStyle(nStyle);
  InvalidateButton(nIndex);
}

void SECCustomToolBar::InvalidateButton(int nIndex)
{
  SECStdBtn* p = GetButton(nIndex);
  if (p != NULL && m_hWnd != NULL)
    p->Invalidate();
}

void SECCustomToolBar::HideButton(int nIndex, BOOL bHide)
{
  SECStdBtn* p = GetButton(nIndex);
  if (p == NULL)
    return;
  if (bHide)
    p->m_nStyle |= SEC_TBBS_HIDDEN;
  else
    p->m_nStyle &= ~SEC_TBBS_HIDDEN;
  p->Refresh();
  m_bDirty[0] = m_bDirty[1] = m_bDirty[2] = TRUE;
}

SECStdBtn* SECCustomToolBar::CreateButton(UINT nID, SECCustomToolBar* pBar)
{
  if (pBar == NULL)
    pBar = this;
  const SECBtnMapEntry* pEntry = NULL;
  const SECBtnMapEntry* maps[2] = {GetButtonMap(), GetMenuButtonMap()};
  for (const SECBtnMapEntry* pMap : maps) {
    for (const SECBtnMapEntry* e = pMap; e != NULL && e->m_pBtnClass != NULL; e++)
      if (e->m_nID == nID)
        pEntry = e;  // the last matching entry decides
    if (pEntry != NULL)
      break;
  }
  SECStdBtn* pBtn = pEntry != NULL ? pEntry->m_pBtnClass->CreateButton()
                                   : SECStdBtn::classSECStdBtn.CreateButton();
  if (pBtn == NULL)
    return NULL;
  pBtn->m_nStyle = pEntry != NULL ? pEntry->m_nStyle : 0;
  pBtn->m_nID = nID;
  pBtn->m_nImage = pBtn->m_nType == SEC_BTNTYPE_MENU ? 0 : std::max(pBar->GetImageIndex(nID), 0);
  pBtn->Init(pBar, pEntry != NULL ? pEntry->m_nParams : NULL);
  pBtn->SetOrientation(pBar->m_dwOrientation);
  return pBtn;
}

SECStdBtn* SECCustomToolBar::CreateSeparator(SECCustomToolBar* pBar)
{
  if (pBar == NULL)
    pBar = this;
  SECStdBtn* pBtn = SECStdBtn::classSECStdBtn.CreateButton();
  if (pBtn == NULL)
    return NULL;
  pBtn->m_pToolBar = pBar;
  pBtn->m_nStyle = SEC_TBBS_SEPARATOR;
  pBtn->m_cx = pBar->m_nSepWidth;
  pBtn->m_cy = pBar->GetImageSize().cy + 7;
  pBtn->m_nID = 0;
  pBtn->m_nImage = 0;
  return pBtn;
}

void SECCustomToolBar::DeleteAllButtons()
{
  for (int i = 0; i < GetBtnCount(); i++)
    delete GetButton(i);
  m_btns.RemoveAll();
  m_nSelected = m_nHot = m_nOpenMenu = -1;
}

void SECCustomToolBar::SetButtons(const UINT* pIDs, int nCount)
{
  ClearSelection(FALSE);
  DeleteAllButtons();
  for (int i = 0; i < nCount; i++) {
    SECStdBtn* p = pIDs[i] == 0 ? CreateSeparator() : CreateButton(pIDs[i]);
    if (p != NULL)  // a button that could not be made is left out
      m_btns.Add(p);
  }
  m_bDirty[0] = m_bDirty[1] = m_bDirty[2] = TRUE;
}

void SECCustomToolBar::InsertButton(int nIndex, UINT nID, BOOL bSeparator, BOOL bNoRedraw)
{
  if (nIndex < 0)
    nIndex = 0;
  if (nIndex > GetBtnCount())
    nIndex = GetBtnCount();
  SECStdBtn* p = bSeparator ? CreateSeparator() : CreateButton(nID);
  if (p == NULL)
    return;
  m_btns.InsertAt(nIndex, p);
  if ((int)m_nMRUWidth < 32767)
    m_nMRUWidth += p->m_cx;
  if (m_nSelected >= nIndex) {
    m_nSelected++;
    if (m_hWnd != NULL)
      Invalidate();
  }
  if (m_nHot >= nIndex)
    m_nHot++;
  if (m_nOpenMenu >= nIndex)
    m_nOpenMenu++;
  m_bDirty[0] = m_bDirty[1] = m_bDirty[2] = TRUE;
  if (!bSeparator && m_hWnd != NULL)
    UpdateButton(nIndex);
  if (!bNoRedraw && m_hWnd != NULL) {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL)
      pFrame->RecalcLayout();
    Invalidate();
  }
}

BOOL SECCustomToolBar::RemoveButton(int nIndex, BOOL bNoRedraw)
{
  if (nIndex < 0 || nIndex >= GetBtnCount())
    return FALSE;
  std::vector<int> removed{nIndex};
  delete GetButton(nIndex);
  m_btns.RemoveAt(nIndex);
  auto isSep = [this](int i) { return (GetButton(i)->m_nStyle & SEC_TBBS_SEPARATOR) != 0; };
  int n = GetBtnCount();
  int nExtra = -1;  // index (after the first removal) of a separator that goes with it
  if (nIndex == 0 && n > 0 && isSep(0))
    nExtra = 0;
  else if (n > 0 && isSep(n - 1))
    nExtra = n - 1;
  else if (nIndex < n && nIndex > 0 && isSep(nIndex) && isSep(nIndex - 1))
    nExtra = nIndex;
  if (nExtra >= 0) {
    delete GetButton(nExtra);
    m_btns.RemoveAt(nExtra);
    removed.push_back(nExtra >= nIndex ? nExtra + 1 : nExtra);  // in the original indices
  }
  auto adjust = [&](int& idx, BOOL& bGone) {
    bGone = FALSE;
    if (idx < 0)
      return;
    int nBefore = 0;
    for (int r : removed) {
      if (r == idx) {
        idx = -1;
        bGone = TRUE;
        return;
      }
      if (r < idx)
        nBefore++;
    }
    idx -= nBefore;
  };
  BOOL bSelGone, bHotGone, bMenuGone;
  adjust(m_nSelected, bSelGone);
  adjust(m_nHot, bHotGone);
  adjust(m_nOpenMenu, bMenuGone);
  if (bSelGone) {
    SECToolBarManager* pMgr = GetManager();
    if (pMgr != NULL && pMgr->m_pSelectedBar == this) {
      pMgr->m_pSelectedBar = NULL;
      NotifyBarChange(SEC_BARNOTIFY_SELECTION);
    }
  }
  if (bHotGone && m_hWnd != NULL) {
    KillTimer(kHotTimer);
    m_bHotTimer = FALSE;
  }
  m_bDirty[0] = m_bDirty[1] = m_bDirty[2] = TRUE;
  if (bNoRedraw)
    return GetBtnCount() > 0;
  if (GetBtnCount() == 0 && m_hWnd != NULL && (UINT)GetDlgCtrlID() > 59423) {
    // The caller may be this toolbar's own mouse or TB_DELETEBUTTON handler: the window goes
    // once that has returned.
    PostMessage(WM_SEC_DESTROYEMPTIED);
    return FALSE;
  }
  if (m_hWnd != NULL) {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL)
      pFrame->RecalcLayout();
    Invalidate();
  }
  return GetBtnCount() > 0;
}

LRESULT SECCustomToolBar::OnDestroyEmptied(WPARAM, LPARAM)
{
  if (GetBtnCount() == 0)
    DestroyWindow();
  return 0;
}

void SECCustomToolBar::InformBtn(UINT nID, UINT nKind, void* pData, BOOL bAllBars)
{
  SECToolBarManager* pMgr = GetManager();
  if (bAllBars && pMgr != NULL) {
    pMgr->InformBtns(nID, nKind, pData);
    return;
  }
  for (int i = 0; i < GetBtnCount(); i++)
    if (GetButton(i)->m_nID == nID)
      GetButton(i)->InformBtn(nKind, pData);
}

LRESULT SECCustomToolBar::OnAddButtons(WPARAM wParam, LPARAM lParam)
{
  const TBBUTTON* p = (const TBBUTTON*)lParam;
  int n = (int)wParam;
  for (int i = 0; p != NULL && i < n; i++) {
    int nAt = GetBtnCount();
    InsertButton(nAt, (UINT)p[i].idCommand, p[i].idCommand == 0, i + 1 < n);
    SECStdBtn* pBtn = GetButton(nAt);
    if (pBtn != NULL && nAt < GetBtnCount())
      pBtn->m_nStyle |= ((UINT)p[i].fsState << 16) | p[i].fsStyle;
  }
  return TRUE;
}

LRESULT SECCustomToolBar::OnDeleteButton(WPARAM wParam, LPARAM)
{
  RemoveButton((int)wParam, FALSE);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Layout

CSize SECCustomToolBar::WrapButtons(int nLength, BOOL bHeight)
{
  SECBtnVector v;
  for (int i = 0; i < GetBtnCount(); i++)
    if (!(GetButton(i)->m_nStyle & SEC_TBBS_HIDDEN))
      v.push_back(GetButton(i));
  CSize img = GetImageSize();
  return SECWrapButtons(v, nLength, bHeight, CSize(img.cx + 7, img.cy + 7), m_nSepWidth,
                        [this](std::vector<SECTBRow>& rows) {
                          BalanceRows((int)rows.size(), &rows);
                        });
}

void SECCustomToolBar::BalanceRows(int nRows, void* pRows)
{
  (void)nRows;
  SECBtnVector v;
  for (int i = 0; i < GetBtnCount(); i++)
    if (!(GetButton(i)->m_nStyle & SEC_TBBS_HIDDEN))
      v.push_back(GetButton(i));
  SECBalanceRows(v, *(std::vector<SECTBRow>*)pRows);
}

CSize SECCustomToolBar::CalcLayout(int nLength, DWORD dwMode)
{
  CSize img = GetImageSize();
  CSize sizeBtn(img.cx + 7, img.cy + 7);
  BOOL bHorz = (dwMode & LM_HORZ) != 0;
  CRect rcIn(0, 0, 0, 0);
  CalcInsideRectEx(rcIn, bHorz);
  CSize borders(rcIn.left - rcIn.right, rcIn.top - rcIn.bottom);
  CWnd* pParent = m_hWnd != NULL ? GetParent() : NULL;
  CWnd* pReBar = pParent != NULL && pParent->IsKindOf(RUNTIME_CLASS(SECReBar)) ? pParent : NULL;
  BOOL bFull = (m_dwExStyle & CBRS_EX_OWNROW) != 0;
  int nFull = 0;
  if (bFull && (dwMode & LM_HORZDOCK) && pParent != NULL) {
    CRect rc;
    pParent->GetClientRect(&rc);
    nFull = rc.Width() - (pReBar != NULL ? 12 : 0);
    nLength = nFull;
  } else if (bFull && (dwMode & LM_VERTDOCK) && nLength == 0) {
    CFrameWnd* pFrame = GetDockingFrame();
    CControlBar* pSide = NULL;
    if (pFrame != NULL) {
      POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
      while (pos != NULL && pSide == NULL) {
        CControlBar* p = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
        UINT nID = p->m_hWnd != NULL ? (UINT)p->GetDlgCtrlID() : 0;
        if (nID == AFX_IDW_DOCKBAR_LEFT || nID == AFX_IDW_DOCKBAR_RIGHT)
          pSide = p;
      }
    }
    if (pSide != NULL) {
      CRect rc;
      pSide->GetWindowRect(&rc);
      nFull = nLength = rc.Height();
    }
  }
  int nCache = CacheIndex(dwMode);
  SECBtnVector visible;
  for (int i = 0; i < GetBtnCount(); i++)
    if (!(GetButton(i)->m_nStyle & SEC_TBBS_HIDDEN))
      visible.push_back(GetButton(i));
  if (GetBtnCount() == 0) {
    CSize size = sizeBtn + borders;
    if (bFull && nFull > 0)
      (dwMode & LM_VERTDOCK ? size.cy : size.cx) = nFull;
    m_szCache[nCache] = size;
    m_bDirty[nCache] = FALSE;
  } else if ((dwMode & LM_COMMIT) || pReBar != NULL ||
             (bFull && (dwMode & LM_HORZDOCK) && nFull > 0 && m_szCache[nCache].cx != nFull)) {
    // (a full-length bar also follows its side when the frame's width changed)
    int nReq = (dwMode & LM_STRETCH) ? (int)((float)nLength * m_fPctWidth) : nLength;
    if (m_dwStyle & CBRS_SIZE_FIXED)
      nReq = 32767;
    DWORD dwAlign = m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    if (dwAlign != m_dwOrientation) {
      m_dwOrientation = dwAlign;
      for (int i = 0; i < GetBtnCount(); i++)
        GetButton(i)->SetOrientation(dwAlign);
    }
    BOOL bVert = !bHorz;
    int nWrap;
    BOOL bHeight;
    if (m_dwStyle & CBRS_SIZE_FIXED) {
      nWrap = 32767;
      bHeight = FALSE;
    } else if (!(m_dwStyle & CBRS_SIZE_DYNAMIC)) {
      // one row, or one button a row when vertical
      nWrap = bVert ? 0 : 32767;
      bHeight = FALSE;
    } else if (dwMode & LM_MRUWIDTH) {
      nWrap = (int)m_nMRUWidth;
      bHeight = bVert;
    } else if (nReq != -1) {
      nWrap = nReq - ((dwMode & LM_LENGTHY) ? borders.cy : borders.cx);
      bHeight = (dwMode & LM_LENGTHY) != 0;
    } else if (m_dwStyle & CBRS_FLOATING) {
      nWrap = (int)m_nMRUWidth;
      bHeight = bVert;
    } else {
      nWrap = bVert ? 0 : 32767;
      bHeight = FALSE;
    }
    CSize size = SECWrapButtons(visible, nWrap, bHeight, sizeBtn, m_nSepWidth,
                                [this](std::vector<SECTBRow>& rows) {
                                  BalanceRows((int)rows.size(), &rows);
                                });
    SECPlaceButtons(visible, CPoint(rcIn.left, rcIn.top), m_nSepWidth);
    size += borders;
    if (bFull && (dwMode & LM_HORZDOCK) && nFull > 0) {
      size.cx = nFull;
    } else if (bFull && (dwMode & LM_VERTDOCK) && (m_dwExStyle & CBRS_EX_UNIDIRECTIONAL)) {
      if (!bHeight)
        size.cx = size.cy * 2;
      if (nFull > 0)
        size.cy = nFull;
    }
    m_szCache[nCache] = size;
    if (nCache == kCacheFloat && !bHeight && nWrap != 32767 && nWrap > 0)
      m_nMRUWidth = (UINT)nWrap;
    m_bDirty[nCache] = FALSE;
  }
  CSize result = m_szCache[nCache];
  if (nCache == kCacheFloat)
    result -= CSize(2, 2);
  UpdateRebarBand(pReBar, result);
  return result;
}

CSize SECCustomToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
  (void)bStretch;
  return CalcLayout(-1, bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
}

CSize SECCustomToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
  if (!(dwMode & LM_COMMIT)) {
    if ((dwMode & LM_HORZDOCK) && m_bDirty[kCacheHorz])
      CalcLayout(32767, dwMode | LM_COMMIT);
    else if ((dwMode & LM_VERTDOCK) && m_bDirty[kCacheVert])
      CalcLayout(0, dwMode | LM_COMMIT);
    else if ((dwMode & LM_MRUWIDTH) && m_bDirty[kCacheFloat])
      CalcLayout(32767, dwMode | LM_COMMIT);
    return CalcLayout(nLength, dwMode);
  }
  if (((dwMode & LM_HORZDOCK) && (dwMode & LM_LENGTHY)) ||
      ((dwMode & LM_VERTDOCK) && !(dwMode & LM_LENGTHY)))
    return SECControlBar::CalcDynamicLayout(nLength, dwMode);
  return CalcLayout(nLength, dwMode);
}

void SECCustomToolBar::UpdateRebarBand(CWnd* pReBar, CSize size)
{
  if (pReBar == NULL || !(m_dwExStyle & CBRS_EX_OWNROW))
    return;
  int n = (int)pReBar->SendMessage(RB_GETBANDCOUNT);
  for (int i = 0; i < n; i++) {
    REBARBANDINFOA rbbi;
    memset(&rbbi, 0, sizeof(rbbi));
    rbbi.cbSize = sizeof(rbbi);
    rbbi.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE;
    if (!pReBar->SendMessage(RB_GETBANDINFOA, i, (LPARAM)&rbbi) || rbbi.hwndChild != m_hWnd ||
        rbbi.cyMinChild == 0)
      continue;
    BOOL bChange = FALSE;
    if ((int)rbbi.cyMinChild != size.cy) {
      rbbi.cyMinChild = size.cy;
      bChange = TRUE;
    }
    if (size.cx > 0 && (int)rbbi.cxMinChild != size.cx) {
      rbbi.cxMinChild = size.cx;
      bChange = TRUE;
    }
    if (bChange) {
      rbbi.fMask = RBBIM_CHILDSIZE;
      pReBar->SendMessage(RB_SETBANDINFOA, i, (LPARAM)&rbbi);
    }
    break;
  }
}

int SECCustomToolBar::HitTest(int x, int y, CRect* pRect) const
{
  SECBtnVector v;
  std::vector<int> idx;
  for (int i = 0; i < GetBtnCount(); i++)
    if (!(GetButton(i)->m_nStyle & SEC_TBBS_HIDDEN)) {
      v.push_back(GetButton(i));
      idx.push_back(i);
    }
  int n = SECHitTestButtons(v, x, y, GetImageSize().cy + 7, pRect);
  return n >= 0 ? idx[n] : -1;
}

void SECCustomToolBar::StretchToParent()
{
  if (m_pDockContext != NULL || m_hWnd == NULL || GetParent() == NULL)
    return;
  CRect rc;
  GetParent()->GetClientRect(&rc);
  CRect rcMe;
  GetWindowRect(&rcMe);
  BOOL bVert = (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) != 0;
  SetWindowPos(NULL, 0, 0, bVert ? rcMe.Width() : rc.Width(), bVert ? rc.Height() : rcMe.Height(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SECCustomToolBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
  StretchToParent();
  return CControlBar::OnSizeParent(wParam, lParam);
}

int SECCustomToolBar::AddGripperSize(CSize& size, BOOL bHorz)
{
  int n = SECControlBar::AddGripperSize(size, bHorz);
  if (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) {
    (bHorz ? size.cx : size.cy) += 2;
    n += 2;
  }
  return n;
}

// ---------------------------------------------------------------------------------------------
// Painting

SECBtnDrawCache* SECCustomToolBar::GetCache()
{
  if (m_pOwnCache != NULL)
    return m_pOwnCache;
  SECToolBarManager* pMgr = GetManager();
  if (pMgr != NULL)
    return pMgr->GetDrawCache();
  m_pOwnCache = new SECBtnDrawCache;
  return m_pOwnCache;
}

void SECCustomToolBar::DoPaint(CDC* pDC)
{
  SECControlBar::DoPaint(pDC);
  if (GetBtnCount() == 0)
    return;
  SECBtnDrawCache* pCache = GetCache();
  int nWidest = m_nMaxBtnWidth;
  for (int i = 0; i < GetBtnCount(); i++)
    nWidest = std::max(nWidest, GetButton(i)->m_cx);
  int nHigh = GetImageSize().cy + 7;
  for (int i = 0; i < GetBtnCount(); i++)
    nHigh = std::max(nHigh, GetButton(i)->m_cy);
  if (!pCache->PrepareDraw(pDC, nWidest, nHigh))
    return;
  for (int i = 0; i < GetBtnCount(); i++) {
    SECStdBtn* p = GetButton(i);
    if (!(p->m_nStyle & SEC_TBBS_HIDDEN))
      p->Draw(pDC, *pCache);
  }
  pCache->EndDraw();
}

void SECCustomToolBar::DrawBorders(CDC* pDC, CRect& rect)
{
  if ((m_dwStyle & CBRS_BORDER_ANY) && IsCoolLook()) {
    COLORREF clrTL = (m_dwStyle & CBRS_BORDER_3D) ? secData.m_clrBtnHilite : secData.m_clrBtnShadow;
    if (m_dwStyle & CBRS_BORDER_LEFT)
      pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), clrTL);
    if (m_dwStyle & CBRS_BORDER_TOP)
      pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, clrTL);
    if (m_dwStyle & CBRS_BORDER_RIGHT)
      pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), secData.m_clrBtnShadow);
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
      pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, secData.m_clrBtnShadow);
    if (m_pDockContext == NULL) {
      pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, secData.m_clrBtnShadow);
      pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, secData.m_clrBtnHilite);
    }
  }
  SECControlBar::DrawBorders(pDC, rect);
}

// ---------------------------------------------------------------------------------------------
// Hot tracking, pressing and commands

void SECCustomToolBar::UpdateHotTracking()
{
  if (m_hWnd == NULL || !IsCoolLook())
    return;
  if (::GetActiveWindow() == NULL || s_bAltDrag || s_bCmdInProgress ||
      (m_nSelected >= 0 && !m_bConfig && GetButton(m_nSelected) != NULL &&
       (GetButton(m_nSelected)->m_nStyle & SEC_TBBS_PRESSED)))
    return;
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  int nHit = -1;
  CRect rcClient;
  GetClientRect(&rcClient);
  if (::WindowFromPoint([&] { CPoint p = pt; ClientToScreen(&p); return p; }()) == m_hWnd)
    nHit = HitTest(pt.x, pt.y);
  if (m_nOpenMenu >= 0) {
    if (nHit < 0 || nHit == m_nOpenMenu)
      return;
    nHit = m_nOpenMenu;
  }
  SECStdBtn* pHit = GetButton(nHit);
  if (pHit != NULL && (pHit->m_nStyle & (SEC_TBBS_DISABLED | SEC_TBBS_SEPARATOR)))
    pHit = NULL, nHit = -1;
  if (nHit == m_nHot)
    return;
  SECStdBtn* pOld = GetButton(m_nHot);
  if (pOld != NULL) {
    pOld->m_nStyle &= ~SEC_TBBS_HOT;
    pOld->Invalidate();
  }
  if (pHit != NULL) {
    if (m_nHot < 0 && !m_bHotTimer) {
      SetTimer(kHotTimer, 100, NULL);
      m_bHotTimer = TRUE;
    }
    pHit->m_nStyle |= SEC_TBBS_HOT;
    pHit->Invalidate();
    m_nHot = nHit;
  } else {
    KillTimer(kHotTimer);
    m_bHotTimer = FALSE;
    m_nHot = -1;
  }
}

void SECCustomToolBar::OnTimer(UINT_PTR nIDEvent)
{
  if (nIDEvent == kHotTimer) {
    UpdateHotTracking();
    return;
  }
  SECControlBar::OnTimer(nIDEvent);
}

void SECCustomToolBar::OnLButtonDown(UINT nFlags, CPoint point)
{
  int nHit = s_bCmdInProgress ? -1 : HitTest(point.x, point.y);
  SECStdBtn* pBtn = GetButton(nHit);
  if (pBtn == NULL) {
    SECControlBar::OnLButtonDown(nFlags, point);
    return;
  }
  BOOL bAlt = (::GetKeyState(VK_MENU) & 0x8000) != 0;
  SECToolBarManager* pMgr = GetManager();
  if ((m_bConfig || bAlt) && pMgr != NULL) {
    if (!pBtn->CanDrag())
      return;
    if (m_bConfig) {
      DragButton(nHit, point.x, point.y);
    } else {
      s_bAltDrag = TRUE;
      BOOL ok = DragButton(nHit, point.x, point.y);
      s_bAltDrag = FALSE;
      if (ok && pMgr->m_pSelectedBar != NULL)
        pMgr->m_pSelectedBar->ClearSelection(TRUE);
    }
    return;
  }
  if (pBtn->m_nStyle & SEC_TBBS_DISABLED) {
    SECControlBar::OnLButtonDown(nFlags, point);
    return;
  }
  UpdateButton(nHit);
  if (!pBtn->PressDown(point.x, point.y))
    return;
  m_nSelected = nHit;
  pBtn->Invalidate();
  UpdateWindow();
  SetCapture();
  CWnd* pOwner = GetOwner();
  if (pOwner != NULL)
    pOwner->SendMessage(WM_SETMESSAGESTRING, pBtn->m_nID);
}

void SECCustomToolBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
  int nHit = HitTest(point.x, point.y);
  SECStdBtn* pBtn = GetButton(nHit);
  BOOL bAlt = (::GetKeyState(VK_MENU) & 0x8000) != 0;
  if (pBtn != NULL && !m_bConfig && !bAlt && !(pBtn->m_nStyle & SEC_TBBS_DISABLED)) {
    OnLButtonDown(nFlags, point);
    return;
  }
  SECControlBar::OnLButtonDblClk(nFlags, point);
}

void SECCustomToolBar::OnMouseMove(UINT nFlags, CPoint point)
{
  SECStdBtn* pBtn = m_bConfig ? NULL : GetButton(m_nSelected);
  if (pBtn != NULL) {
    UINT nOld = pBtn->m_nStyle;
    if (::GetCapture() == m_hWnd) {
      pBtn->PressMove(point.x, point.y);
    } else {
      pBtn->PressCancel();
      m_nSelected = -1;
      CWnd* pOwner = GetOwner();
      if (pOwner != NULL)
        pOwner->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    }
    if (pBtn->m_nStyle != nOld)
      pBtn->Invalidate();
    return;
  }
  UpdateHotTracking();
  CWnd::OnMouseMove(nFlags, point);
}

void SECCustomToolBar::OnLButtonUp(UINT nFlags, CPoint point)
{
  SECStdBtn* pBtn = m_bConfig ? NULL : GetButton(m_nSelected);
  if (pBtn == NULL) {
    SECControlBar::OnLButtonUp(nFlags, point);
    return;
  }
  UINT nCmd = 0;
  if (::GetCapture() == m_hWnd) {
    ReleaseCapture();
    UpdateButton(m_nSelected);
    nCmd = pBtn->PressUp(point.x, point.y);
  }
  CWnd* pOwner = GetOwner();
  if (pOwner != NULL)
    pOwner->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  pBtn->Invalidate();
  CRect rcBtn = pBtn->GetRect();
  m_nSelected = -1;
  if (nCmd == 0)
    return;
  SECToolBarManager* pMgr = GetManager();
  SECToolBarManager::CmdBtnRect* pRect = pMgr != NULL ? pMgr->RetainCmdBtnRect() : NULL;
  if (pRect != NULL) {
    ClientToScreen(&rcBtn);
    pRect->rect = rcBtn;
    pRect->bValid = TRUE;
  }
  BOOL bOld = s_bCmdInProgress;
  s_bCmdInProgress = TRUE;
  HWND hOwner = pOwner != NULL ? pOwner->GetSafeHwnd() : ::GetParent(m_hWnd);
  ::SendMessageA(hOwner, WM_COMMAND, nCmd, 0);
  s_bCmdInProgress = bOld;
  if (pRect != NULL) {
    pRect->bValid = FALSE;
    SECToolBarManager::ReleaseCmdBtnRect(pRect);
  }
}

void SECCustomToolBar::OnCancelMode()
{
  if (!m_bConfig && !s_bAltDrag) {
    if (::GetCapture() == m_hWnd)
      ReleaseCapture();
    SECStdBtn* pBtn = GetButton(m_nSelected);
    if (pBtn != NULL) {
      pBtn->PressCancel();
      m_nSelected = -1;
    }
  }
  CWnd::OnCancelMode();
}

int SECCustomToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
  if (m_bConfig && !IsFloating())
    return MA_NOACTIVATE;
  return SECControlBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

void SECCustomToolBar::UpdateButton(int nIndex)
{
  SECStdBtn* pBtn = GetButton(nIndex);
  if (pBtn == NULL || (pBtn->m_nStyle & SEC_TBBS_SEPARATOR) || m_hWnd == NULL)
    return;
  CWnd* pOwner = GetOwner();
  CFrameWnd* pTarget = pOwner != NULL && pOwner->IsFrameWnd() ? (CFrameWnd*)pOwner : GetParentFrame();
  if (pTarget == NULL)
    return;
  SECCustomToolCmdUI state;
  state.m_pOther = this;
  state.m_nIndex = (UINT)nIndex;
  state.m_nIndexMax = (UINT)GetBtnCount();
  state.m_nID = pBtn->m_nID;
  state.DoUpdate(pTarget, pTarget->m_bAutoMenuEnable && !(pBtn->m_nStyle & SEC_TBBS_NOAUTODISABLE));
}

void SECCustomToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
  SECCustomToolCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = (UINT)GetBtnCount();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    SECStdBtn* pBtn = GetButton((int)state.m_nIndex);
    if (pBtn->m_nStyle & SEC_TBBS_SEPARATOR)
      continue;
    state.m_nID = pBtn->m_nID;
    state.DoUpdate(pTarget, bDisableIfNoHndler && !(pBtn->m_nStyle & SEC_TBBS_NOAUTODISABLE));
  }
}

// ---------------------------------------------------------------------------------------------
// Menu buttons

void SECCustomToolBar::TrackMenu(SECStdBtn* pBtn, INT_PTR nParam1, INT_PTR nParam2)
{
  m_nOpenMenu = IndexOfButton(pBtn);
  UpdateHotTracking();
  if (pBtn != NULL)
    pBtn->SendNotify(SEC_TBN_OPENMENU, nParam1, nParam2);
}

void SECCustomToolBar::OpenMenuButton(int nIndex)
{
  SECStdBtn* pBtn = GetButton(nIndex);
  if (pBtn == NULL || !pBtn->IsMenuButton())
    return;
  SECStdBtn* pOpen = GetButton(m_nOpenMenu);
  if (pOpen != NULL && pOpen != pBtn) {
    pOpen->m_nStyle &= ~SEC_TBBS_PRESSED;
    pOpen->Invalidate();
  }
  pBtn->PressDown(pBtn->m_x, pBtn->m_y);
}

int SECCustomToolBar::FirstMenuButton()
{
  for (int i = 0; i < GetBtnCount(); i++)
    if (GetButton(i)->IsMenuButton() && !(GetButton(i)->m_nStyle & SEC_TBBS_HIDDEN))
      return i;
  return -1;
}

int SECCustomToolBar::LastMenuButton()
{
  for (int i = GetBtnCount() - 1; i >= 0; i--)
    if (GetButton(i)->IsMenuButton() && !(GetButton(i)->m_nStyle & SEC_TBBS_HIDDEN))
      return i;
  return -1;
}

int SECCustomToolBar::NextMenuButton(BOOL bForward)
{
  if (m_nOpenMenu < 0)
    return -1;
  for (int i = m_nOpenMenu + (bForward ? 1 : -1); i >= 0 && i < GetBtnCount(); i += bForward ? 1 : -1)
    if (GetButton(i)->IsMenuButton() && !(GetButton(i)->m_nStyle & SEC_TBBS_HIDDEN))
      return i;
  return -1;
}

BOOL SECCustomToolBar::MenuMouseMsg(MSG* pMsg)
{
  CPoint pt((short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam));
  if (pMsg->hwnd != m_hWnd)
    ::MapWindowPoints(pMsg->hwnd, m_hWnd, &pt, 1);
  int nHit = HitTest(pt.x, pt.y);
  SECStdBtn* pBtn = GetButton(nHit);
  SECStdBtn* pOpen = GetButton(m_nOpenMenu);
  if (pMsg->message == WM_MOUSEMOVE) {
    if (pBtn == NULL || nHit == m_nOpenMenu)
      return TRUE;
    if (pBtn->IsMenuButton())
      OpenMenuButton(nHit);
    else if (pOpen != NULL)
      pOpen->SendNotify(SEC_TBN_CLOSEMENU, 0, 0);
    return TRUE;
  }
  if (pMsg->message == WM_LBUTTONDOWN && pBtn != NULL && nHit == m_nOpenMenu) {
    pOpen->SendNotify(SEC_TBN_CLOSEMENU, 0, 0);
    return TRUE;
  }
  return FALSE;
}

void SECCustomToolBar::MenuClosed()
{
  SECStdBtn* pOpen = GetButton(m_nOpenMenu);
  if (pOpen != NULL) {
    pOpen->m_nStyle &= ~SEC_TBBS_PRESSED;
    pOpen->Invalidate();
  }
  m_nOpenMenu = -1;
  UpdateHotTracking();
}

// ---------------------------------------------------------------------------------------------
// Showing, hiding, style changes, destruction

void SECCustomToolBar::DelayShow(BOOL bShow)
{
  SECToolBarManager* pMgr = GetManager();
  if (!bShow && IsFloating() && pMgr != NULL && pMgr->IsCustomizeMode() && m_hWnd != NULL) {
    m_nStateFlags |= delayHide;
    PostMessage(WM_NODELAYHIDE);
    return;
  }
  SECControlBar::DelayShow(bShow);
}

LRESULT SECCustomToolBar::OnNoDelayHide(WPARAM, LPARAM)
{
  if (m_bConfig && IsFloating()) {
    CFrameWnd* pFrame = GetDockingFrame();
    m_nStateFlags &= ~delayHide;
    if (pFrame != NULL)
      pFrame->ShowControlBar(this, FALSE, FALSE);
  }
  m_nStateFlags &= ~delayHide;
  return 0;
}

void SECCustomToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
  SECControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
  for (int i = 0; i < GetBtnCount(); i++)
    GetButton(i)->BarStyleChanged(dwNewStyle);
  m_bDirty[0] = m_bDirty[1] = m_bDirty[2] = TRUE;
}

void SECCustomToolBar::OnShowWindow(BOOL bShow, UINT nStatus)
{
  SECControlBar::OnShowWindow(bShow, nStatus);
  NotifyBarChange(bShow ? SEC_BARNOTIFY_SHOWN : SEC_BARNOTIFY_HIDDEN);
}

void SECCustomToolBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
  if (lpWndPos->flags & SWP_SHOWWINDOW)
    NotifyBarChange(SEC_BARNOTIFY_SHOWN);
  else if (lpWndPos->flags & SWP_HIDEWINDOW)
    NotifyBarChange(SEC_BARNOTIFY_HIDDEN);
  DWORD dwSaved = m_dwStyle;
  m_dwStyle &= ~CBRS_BORDER_ANY;
  CControlBar::OnWindowPosChanging(lpWndPos);
  m_dwStyle = dwSaved;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(lpWndPos->flags & SWP_NOSIZE)) {
    CRect rc;
    GetWindowRect(&rc);
    if (rc.Width() != lpWndPos->cx || rc.Height() != lpWndPos->cy)
      Invalidate();
  }
}

void SECCustomToolBar::OnSysColorChange()
{
  SECControlBar::OnSysColorChange();
  if (m_pOwnCache != NULL)
    m_pOwnCache->RecreateDitherBrush();
  SECToolBarManager* pMgr = GetManager();
  if (pMgr != NULL)
    pMgr->GetDrawCache()->RecreateDitherBrush();
  if (m_pBmpMgr != NULL)
    m_pBmpMgr->ReloadBitmaps();
}

void SECCustomToolBar::OnDestroy()
{
  ClearSelection(FALSE);
  if (m_bHotTimer) {
    KillTimer(kHotTimer);
    m_bHotTimer = FALSE;
  }
  NotifyBarChange(SEC_BARNOTIFY_DESTROYED);
  SECControlBar::OnDestroy();
}

INT_PTR SECCustomToolBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
  INT_PTR n = SECControlBar::OnToolHitTest(point, pTI);
  if (n == 1024 || n == 2048)
    return n;
  SECStdBtn* pBtn = GetButton(HitTest(point.x, point.y));
  return pBtn != NULL ? pBtn->ToolHitTest(point, pTI) : -1;
}

// ---------------------------------------------------------------------------------------------
// Dock state

void SECCustomToolBar::OnGetBarInfoEx(SECControlBarInfo* pInfo)
{
  SECCustomToolBarInfoEx* pEx = DYNAMIC_DOWNCAST(SECCustomToolBarInfoEx, pInfo->m_pBarInfoEx);
  if (pEx == NULL) {
    delete pInfo->m_pBarInfoEx;
    pInfo->m_pBarInfoEx = pEx = new SECCustomToolBarInfoEx;
  }
  GetWindowText(pEx->m_strTitle);
  pEx->m_btnInfo.DeleteAll();
  for (int i = 0; i < GetBtnCount(); i++) {
    SECStdBtn* pBtn = GetButton(i);
    SECBtnInfo* p = new SECBtnInfo;
    p->m_nID = (pBtn->m_nStyle & SEC_TBBS_SEPARATOR) ? 0 : pBtn->m_nID;
    BYTE nLen = 0;
    LPBYTE pData = NULL;
    pBtn->GetBtnInfo(nLen, pData);
    if (nLen > 0 && pData != NULL) {
      p->m_nLen = nLen;
      p->m_pData = new BYTE[nLen];
      memcpy(p->m_pData, pData, nLen);
    }
    pEx->m_btnInfo.Add(p);
  }
}

void SECCustomToolBar::OnSetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd)
{
  (void)pFrameWnd;
  SECCustomToolBarInfoEx* pEx = DYNAMIC_DOWNCAST(SECCustomToolBarInfoEx, pInfo->m_pBarInfoEx);
  if (pEx == NULL)
    return;
  ClearSelection(FALSE);
  DeleteAllButtons();
  if (!pEx->m_strTitle.IsEmpty() && m_hWnd != NULL)
    SetWindowText(pEx->m_strTitle);
  for (INT_PTR i = 0; i < pEx->m_btnInfo.GetSize(); i++) {
    SECBtnInfo* p = pEx->m_btnInfo.GetInfo(i);
    SECStdBtn* pBtn = p->m_nID == 0 ? CreateSeparator() : CreateButton(p->m_nID);
    if (pBtn == NULL)
      continue;
    pBtn->SetBtnInfo(p->m_nLen, p->m_pData);
    m_btns.Add(pBtn);
  }
  m_bDirty[0] = m_bDirty[1] = m_bDirty[2] = TRUE;
}
