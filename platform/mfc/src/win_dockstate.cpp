// Dock state: what each bar of a frame records about itself (place, visibility, last dock
// and float places, a dock bar's rows), and that record's forms in the application profile
// and in an archive.
#include "afxext.h"

// ---------------------------------------------------------------------------------------------
// A bar's record

CControlBarInfo::CControlBarInfo()
    : m_nBarID(0), m_bVisible(TRUE), m_bFloating(FALSE), m_bHorz(TRUE), m_bDockBar(FALSE),
      m_pointPos(-1, -1), m_nMRUWidth(32767), m_bDocking(FALSE), m_uMRUDockID(0),
      m_rectMRUDockPos(0, 0, 0, 0), m_dwMRUFloatStyle(0), m_ptMRUFloatPos(0, 0), m_pBar(NULL)
{
}

void CControlBar::GetBarInfo(CControlBarInfo* pInfo)
{
  pInfo->m_pBar = this;
  pInfo->m_nBarID = (UINT)GetDlgCtrlID();
  pInfo->m_bVisible = IsVisible();
  pInfo->m_nMRUWidth = m_nMRUWidth;
  pInfo->m_bDockBar = IsDockBar();
  pInfo->m_arrBarID.RemoveAll();
  if (IsDockBar()) {
    ((CDockBar*)this)->GetDockBarInfo(pInfo);
  } else {
    pInfo->m_bFloating = FALSE;
    pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_VERT) == 0;
    CRect rect;
    GetWindowRect(&rect);
    if (m_pDockBar != NULL)
      m_pDockBar->ScreenToClient(&rect);
    pInfo->m_pointPos = rect.TopLeft();
  }
  pInfo->m_bDocking = m_pDockContext != NULL;
  if (m_pDockContext != NULL) {
    pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
    pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
    pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
    pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
  }
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd)
{
  if (IsDockBar()) {
    ((CDockBar*)this)->SetDockBarInfo(pInfo, pFrameWnd);
    return;
  }
  m_nMRUWidth = pInfo->m_nMRUWidth;
  if (pInfo->m_bDocking && m_pDockContext != NULL) {
    m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
    m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
    m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
    m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
  }
  // Its place in its dock bar (the layout keeps it there when there is room).
  UINT nFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                (pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  if (m_pDockBar == NULL || pInfo->m_pointPos.x == -1)
    nFlags |= SWP_NOMOVE;
  SetWindowPos(NULL, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, nFlags);
  DelayShow(pInfo->m_bVisible);
}

void CDockBar::GetDockBarInfo(CControlBarInfo* pInfo)
{
  pInfo->m_bFloating = m_bFloating;
  pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  if (m_bFloating) {
    CRect rect;
    GetWindowRect(&rect);  // the floating frame's client area on the screen
    pInfo->m_pointPos = rect.TopLeft();
  } else {
    pInfo->m_pointPos = CPoint(-1, -1);  // the frame's layout places a side dock bar
  }
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++) {
    void* p = m_arrBars[i];
    UINT_PTR nID = 0;
    if (p == NULL)
      nID = 0;
    else if ((UINT_PTR)p < 0x10000)
      nID = (UINT_PTR)p | 0x10000;
    else
      nID = (UINT)((CControlBar*)p)->GetDlgCtrlID();
    pInfo->m_arrBarID.Add((void*)nID);
  }
}

void CDockBar::SetDockBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd)
{
  CPtrArray arrNew;
  arrNew.Add(NULL);
  for (INT_PTR i = 0; i < pInfo->m_arrBarID.GetSize(); i++) {
    UINT_PTR nID = (UINT_PTR)pInfo->m_arrBarID[i];
    if (nID == 0) {
      if (arrNew[arrNew.GetSize() - 1] != NULL)
        arrNew.Add(NULL);
      continue;
    }
    if (nID & 0x10000) {
      arrNew.Add((void*)(nID & 0xFFFF));
      continue;
    }
    // Bars that no longer exist, dock bars and repeats are skipped.
    CControlBar* pBar = pFrameWnd != NULL ? pFrameWnd->GetControlBar((UINT)nID) : NULL;
    if (pBar == NULL || pBar->IsDockBar())
      continue;
    BOOL bSeen = FALSE;
    for (INT_PTR j = 0; j < arrNew.GetSize() && !bSeen; j++)
      bSeen = arrNew[j] == pBar;
    if (!bSeen)
      arrNew.Add(pBar);
  }
  if (arrNew[arrNew.GetSize() - 1] != NULL)
    arrNew.Add(NULL);
  // Bars here that the record does not name keep a row of their own at the end.
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++) {
    CControlBar* pBar = GetDockedControlBar((int)i);
    if (pBar == NULL)
      continue;
    BOOL bListed = FALSE;
    for (INT_PTR j = 0; j < arrNew.GetSize() && !bListed; j++)
      bListed = arrNew[j] == pBar;
    if (!bListed) {
      arrNew.Add(pBar);
      arrNew.Add(NULL);
    }
  }
  m_arrBars.Copy(arrNew);
  RemoveEmptyRows();
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++) {
    CControlBar* pBar = GetDockedControlBar((int)i);
    if (pBar == NULL || pBar->m_pDockBar == this)
      continue;
    CDockBar* pOld = pBar->m_pDockBar;
    AttachBar(pBar);
    pBar->m_pDockBar = this;
    if (pOld != NULL)
      pOld->RemoveControlBar(pBar);
  }
  if (!m_bFloating && m_pDockSite != NULL)
    m_pDockSite->DelayRecalcLayout();
}

// ---------------------------------------------------------------------------------------------
// The profile form: one section per record kept, "<name>-Bar<n>"; values only where they
// differ from what reading assumes.

namespace {
CString BarSection(LPCTSTR lpszProfileName, int nIndex)
{
  CString strSection;
  strSection.Format("%s-Bar%d", lpszProfileName, nIndex);
  return strSection;
}

// Whether an integer value is stored: a missing one reads back as either default.
BOOL HasProfileInt(CWinApp* pApp, LPCTSTR lpszSection, LPCTSTR lpszEntry)
{
  return pApp->GetProfileInt(lpszSection, lpszEntry, 0) != 0 ||
         pApp->GetProfileInt(lpszSection, lpszEntry, 1) != 1;
}
}  // namespace

BOOL CControlBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex)
{
  // An empty side dock bar in its usual state says nothing worth keeping.
  if (m_bDockBar && m_bVisible && !m_bFloating && m_pointPos.x == -1 && m_pointPos.y == -1 &&
      m_arrBarID.GetSize() <= 1)
    return FALSE;
  CWinApp* pApp = AfxGetApp();
  if (pApp == NULL)
    return FALSE;
  CString strSection = BarSection(lpszProfileName, nIndex);
  // What an earlier save left there would be read back as this record's.
  pApp->WriteProfileString(strSection, NULL, NULL);

  pApp->WriteProfileInt(strSection, "BarID", (int)m_nBarID);
  if (!m_bVisible)
    pApp->WriteProfileInt(strSection, "Visible", 0);
  if (m_bFloating) {
    pApp->WriteProfileInt(strSection, "Horz", m_bHorz ? 1 : 0);
    pApp->WriteProfileInt(strSection, "Floating", 1);
  }
  if (m_pointPos.x != -1)
    pApp->WriteProfileInt(strSection, "XPos", m_pointPos.x);
  if (m_pointPos.y != -1)
    pApp->WriteProfileInt(strSection, "YPos", m_pointPos.y);
  if (m_nMRUWidth != 32767)
    pApp->WriteProfileInt(strSection, "MRUWidth", (int)m_nMRUWidth);
  if (m_bDocking) {
    pApp->WriteProfileInt(strSection, "Docking", 1);
    pApp->WriteProfileInt(strSection, "MRUDockID", (int)m_uMRUDockID);
    pApp->WriteProfileInt(strSection, "MRUDockLeftPos", m_rectMRUDockPos.left);
    pApp->WriteProfileInt(strSection, "MRUDockTopPos", m_rectMRUDockPos.top);
    pApp->WriteProfileInt(strSection, "MRUDockRightPos", m_rectMRUDockPos.right);
    pApp->WriteProfileInt(strSection, "MRUDockBottomPos", m_rectMRUDockPos.bottom);
    pApp->WriteProfileInt(strSection, "MRUFloatStyle", (int)m_dwMRUFloatStyle);
    pApp->WriteProfileInt(strSection, "MRUFloatXPos", m_ptMRUFloatPos.x);
    pApp->WriteProfileInt(strSection, "MRUFloatYPos", m_ptMRUFloatPos.y);
  }
  if (m_arrBarID.GetSize() > 1) {
    pApp->WriteProfileInt(strSection, "Bars", (int)m_arrBarID.GetSize());
    for (INT_PTR i = 0; i < m_arrBarID.GetSize(); i++) {
      CString strKey;
      strKey.Format("Bar#%d", (int)i);
      pApp->WriteProfileInt(strSection, strKey, (int)(UINT_PTR)m_arrBarID[i]);
    }
  }
  return TRUE;
}

BOOL CControlBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState)
{
  CWinApp* pApp = AfxGetApp();
  if (pApp == NULL)
    return FALSE;
  CString strSection = BarSection(lpszProfileName, nIndex);
  // "BarID" is always written: without it the section is not there.
  if (!HasProfileInt(pApp, strSection, "BarID"))
    return FALSE;
  m_nBarID = pApp->GetProfileInt(strSection, "BarID", 0);
  m_bVisible = pApp->GetProfileInt(strSection, "Visible", TRUE) != 0;
  m_bHorz = pApp->GetProfileInt(strSection, "Horz", TRUE) != 0;
  m_bFloating = pApp->GetProfileInt(strSection, "Floating", FALSE) != 0;
  m_pointPos.x = (int)pApp->GetProfileInt(strSection, "XPos", -1);
  m_pointPos.y = (int)pApp->GetProfileInt(strSection, "YPos", -1);
  if (pDockState != NULL)
    pDockState->ScalePoint(m_pointPos);
  m_nMRUWidth = pApp->GetProfileInt(strSection, "MRUWidth", 32767);
  m_bDocking = pApp->GetProfileInt(strSection, "Docking", FALSE) != 0;
  if (m_bDocking) {
    m_uMRUDockID = pApp->GetProfileInt(strSection, "MRUDockID", 0);
    m_rectMRUDockPos.left = (int)pApp->GetProfileInt(strSection, "MRUDockLeftPos", 0);
    m_rectMRUDockPos.top = (int)pApp->GetProfileInt(strSection, "MRUDockTopPos", 0);
    m_rectMRUDockPos.right = (int)pApp->GetProfileInt(strSection, "MRUDockRightPos", 0);
    m_rectMRUDockPos.bottom = (int)pApp->GetProfileInt(strSection, "MRUDockBottomPos", 0);
    if (pDockState != NULL)
      pDockState->ScaleRectPos(m_rectMRUDockPos);
    m_dwMRUFloatStyle = pApp->GetProfileInt(strSection, "MRUFloatStyle", 0);
    m_ptMRUFloatPos.x = (int)pApp->GetProfileInt(strSection, "MRUFloatXPos", 0);
    m_ptMRUFloatPos.y = (int)pApp->GetProfileInt(strSection, "MRUFloatYPos", 0);
    if (pDockState != NULL)
      pDockState->ScalePoint(m_ptMRUFloatPos);
  }
  // The list is read while its entries are there, whatever count was stored.
  int nBars = (int)pApp->GetProfileInt(strSection, "Bars", 0);
  m_arrBarID.RemoveAll();
  for (int i = 0; i < nBars; i++) {
    CString strKey;
    strKey.Format("Bar#%d", i);
    if (!HasProfileInt(pApp, strSection, strKey))
      break;
    m_arrBarID.Add((void*)(UINT_PTR)pApp->GetProfileInt(strSection, strKey, 0));
  }
  m_bDockBar = m_arrBarID.GetSize() > 0 || m_nBarID == AFX_IDW_DOCKBAR_FLOAT ||
               (m_nBarID >= AFX_IDW_DOCKBAR_TOP && m_nBarID <= AFX_IDW_DOCKBAR_BOTTOM);
  return TRUE;
}

// The archive form: the record's values in a fixed order; a state of version 2 adds the
// most-recent width and the docking values.
void CControlBarInfo::Serialize(CArchive& ar, CDockState* pDockState)
{
  DWORD dwVersion = pDockState != NULL ? pDockState->GetVersion() : 2;
  if (ar.IsStoring()) {
    ar << (DWORD)m_nBarID << (DWORD)m_bVisible << (DWORD)m_bFloating << (DWORD)m_bHorz;
    ar << (LONG)m_pointPos.x << (LONG)m_pointPos.y;
    if (dwVersion > 1) {
      ar << (DWORD)m_nMRUWidth << (DWORD)m_bDocking;
      if (m_bDocking) {
        ar << (DWORD)m_uMRUDockID;
        ar << (LONG)m_rectMRUDockPos.left << (LONG)m_rectMRUDockPos.top
           << (LONG)m_rectMRUDockPos.right << (LONG)m_rectMRUDockPos.bottom;
        ar << (DWORD)m_dwMRUFloatStyle;
        ar << (LONG)m_ptMRUFloatPos.x << (LONG)m_ptMRUFloatPos.y;
      }
    }
    ar << (WORD)m_arrBarID.GetSize();
    for (INT_PTR i = 0; i < m_arrBarID.GetSize(); i++)
      ar << (DWORD)(UINT_PTR)m_arrBarID[i];
    return;
  }
  DWORD dw;
  LONG x, y;
  ar >> dw;
  m_nBarID = dw;
  ar >> dw;
  m_bVisible = dw != 0;
  ar >> dw;
  m_bFloating = dw != 0;
  ar >> dw;
  m_bHorz = dw != 0;
  ar >> x >> y;
  m_pointPos = CPoint(x, y);
  if (pDockState != NULL)
    pDockState->ScalePoint(m_pointPos);
  if (dwVersion > 1) {
    ar >> dw;
    m_nMRUWidth = dw;
    ar >> dw;
    m_bDocking = dw != 0;
    if (m_bDocking) {
      ar >> dw;
      m_uMRUDockID = dw;
      LONG l, t, r, b;
      ar >> l >> t >> r >> b;
      m_rectMRUDockPos.SetRect(l, t, r, b);
      if (pDockState != NULL)
        pDockState->ScaleRectPos(m_rectMRUDockPos);
      ar >> dw;
      m_dwMRUFloatStyle = dw;
      ar >> x >> y;
      m_ptMRUFloatPos = CPoint(x, y);
      if (pDockState != NULL)
        pDockState->ScalePoint(m_ptMRUFloatPos);
    }
  }
  WORD nCount;
  ar >> nCount;
  AfxCheckStoredCount(ar, nCount, sizeof(DWORD));
  m_arrBarID.RemoveAll();
  for (WORD i = 0; i < nCount; i++) {
    ar >> dw;
    m_arrBarID.Add((void*)(UINT_PTR)dw);
  }
  m_bDockBar = nCount > 0 || m_nBarID == AFX_IDW_DOCKBAR_FLOAT ||
               (m_nBarID >= AFX_IDW_DOCKBAR_TOP && m_nBarID <= AFX_IDW_DOCKBAR_BOTTOM);
}

// ---------------------------------------------------------------------------------------------
// The state

IMPLEMENT_SERIAL(CDockState, CObject, 0)

CDockState::CDockState() : m_dwVersion(2), m_bScaling(FALSE)
{
  CSize size = GetScreenSize();
  m_rectDevice.SetRect(0, 0, size.cx, size.cy);
  m_rectClip = m_rectDevice;
  m_sizeLogical = size;
}

CDockState::~CDockState() { Clear(); }

void CDockState::Clear()
{
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++)
    delete (CControlBarInfo*)m_arrBarInfo[i];
  m_arrBarInfo.RemoveAll();
}

CSize CDockState::GetScreenSize()
{
  return CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

void CDockState::SetScreenSize(CSize& size)
{
  m_sizeLogical = size;
  CSize sizeDevice = GetScreenSize();
  m_rectDevice.SetRect(0, 0, sizeDevice.cx, sizeDevice.cy);
  m_rectClip = m_rectDevice;
  // Without a stored size there is nothing to scale from.
  m_bScaling = size.cx > 0 && size.cy > 0 && size != sizeDevice;
}

void CDockState::ScalePoint(CPoint& pt)
{
  if (!m_bScaling)
    return;
  CSize sizeDevice = m_rectDevice.Size();
  if (pt.x != -1)
    pt.x = ::MulDiv(pt.x, sizeDevice.cx, m_sizeLogical.cx);
  if (pt.y != -1)
    pt.y = ::MulDiv(pt.y, sizeDevice.cy, m_sizeLogical.cy);
}

void CDockState::ScaleRectPos(CRect& rect)
{
  CPoint pt = rect.TopLeft();
  ScalePoint(pt);
  rect.OffsetRect(pt - rect.TopLeft());
}

void CDockState::SaveState(LPCTSTR lpszProfileName)
{
  CWinApp* pApp = AfxGetApp();
  if (pApp == NULL)
    return;
  int nIndex = 0;
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++) {
    CControlBarInfo* pInfo = (CControlBarInfo*)m_arrBarInfo[i];
    if (pInfo->SaveState(lpszProfileName, nIndex))
      nIndex++;
  }
  CString strSection;
  strSection.Format("%s-Summary", lpszProfileName);
  CSize size = GetScreenSize();
  pApp->WriteProfileInt(strSection, "Bars", nIndex);
  pApp->WriteProfileInt(strSection, "ScreenCX", size.cx);
  pApp->WriteProfileInt(strSection, "ScreenCY", size.cy);
}

void CDockState::LoadState(LPCTSTR lpszProfileName)
{
  Clear();
  CWinApp* pApp = AfxGetApp();
  if (pApp == NULL)
    return;
  CString strSection;
  strSection.Format("%s-Summary", lpszProfileName);
  int nBars = (int)pApp->GetProfileInt(strSection, "Bars", 0);
  CSize size((int)pApp->GetProfileInt(strSection, "ScreenCX", 0),
             (int)pApp->GetProfileInt(strSection, "ScreenCY", 0));
  SetScreenSize(size);
  // Records are read while their sections are there, whatever count was stored.
  for (int i = 0; i < nBars; i++) {
    CControlBarInfo* pInfo = new CControlBarInfo;
    if (!pInfo->LoadState(lpszProfileName, i, this)) {
      delete pInfo;
      break;
    }
    m_arrBarInfo.Add(pInfo);
  }
}

void CDockState::Serialize(CArchive& ar)
{
  if (ar.IsStoring()) {
    ar << m_dwVersion;
    if (m_dwVersion > 1) {
      CSize size = GetScreenSize();
      ar << (LONG)size.cx << (LONG)size.cy;
    }
    ar << (WORD)m_arrBarInfo.GetSize();
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++)
      ((CControlBarInfo*)m_arrBarInfo[i])->Serialize(ar, this);
    return;
  }
  Clear();
  ar >> m_dwVersion;
  if (m_dwVersion > 1) {
    LONG cx, cy;
    ar >> cx >> cy;
    CSize size(cx, cy);
    SetScreenSize(size);
  }
  WORD nCount;
  ar >> nCount;
  // Every record holds at least its four flags, its position and its list length.
  AfxCheckStoredCount(ar, nCount, 4 * sizeof(DWORD) + 2 * sizeof(LONG) + sizeof(WORD));
  for (WORD i = 0; i < nCount; i++) {
    CControlBarInfo* pInfo = new CControlBarInfo;
    m_arrBarInfo.Add(pInfo);  // owned before it can throw
    pInfo->Serialize(ar, this);
  }
  m_dwVersion = 2;
}
