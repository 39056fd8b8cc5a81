// The toolkit's dock state in the profile and in an archive, its cleaning, and applying it
// to a frame, with bars made again from their stored class names.
#include "SECDockState.h"
#include "SECControlBar.h"
#include "SECControlBarManager.h"
#include "SECDialogBar.h"
#include "SECDockBar.h"
#include "SECFrameWnd.h"
#include "SECMDIFrameWnd.h"
#include "SECPersistentTree.h"
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

IMPLEMENT_DYNCREATE(SECControlBarInfoEx, CObject)
IMPLEMENT_DYNCREATE(SECDockState, CDockState)

CString SECShareToText(float fShare)
{
  CString str;
  str.Format("%d", (int)(fShare * 1000000.0f));
  return str;
}

float SECShareFromText(LPCTSTR lpsz)
{
  if (lpsz == NULL)
    return 0.0f;
  float f = (float)atoi(lpsz) * 0.000001f;
  return f < 0.0f ? 0.0f : f;
}

namespace {
SECControlBar* AsSEC(CControlBar* pBar)
{
  return pBar != NULL ? DYNAMIC_DOWNCAST(SECControlBar, (CObject*)pBar) : NULL;
}
int NotNegative(int n) { return n < 0 ? 0 : n; }
}  // namespace

// ---------------------------------------------------------------------------------------------
// One record

SECControlBarInfo::SECControlBarInfo(SECControlBarManager* pManager)
    : m_szMRUHorzDock(0, 0), m_szMRUVertDock(0, 0), m_szMRUFloat(0, 0), m_dwMRUDockingState(0),
      m_dwDockStyle(0), m_fPctWidth(1.0f), m_dwStyle(0), m_dwExStyle(0), m_bPrevFloating(FALSE),
      m_bMDIChild(FALSE), m_nResourceID(0), m_pBarInfoEx(NULL), m_dwTypeID(0),
      m_pManager(pManager)
{
  memset(&m_wpMDIChild, 0, sizeof(m_wpMDIChild));
  m_wpMDIChild.length = sizeof(m_wpMDIChild);
}

SECControlBarInfo::~SECControlBarInfo() { delete m_pBarInfoEx; }

BOOL SECControlBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex)
{
  if (!CControlBarInfo::SaveState(lpszProfileName, nIndex))
    return FALSE;
  CWinApp* pApp = AfxGetApp();
  CString strSection;
  strSection.Format("%s-Bar%d", lpszProfileName, nIndex);
  pApp->WriteProfileInt(strSection, "Style", (int)m_dwStyle);
  pApp->WriteProfileInt(strSection, "ExStyle", (int)m_dwExStyle);
  pApp->WriteProfileInt(strSection, "PrevFloating", m_bPrevFloating ? 1 : 0);
  pApp->WriteProfileInt(strSection, "MDIChild", m_bMDIChild ? 1 : 0);
  if (m_bMDIChild)
    pApp->WriteProfileBinary(strSection, "MDIChildWindowPlacement", (LPBYTE)&m_wpMDIChild,
                             sizeof(m_wpMDIChild));
  pApp->WriteProfileString(strSection, "PctWidth", SECShareToText(m_fPctWidth));
  pApp->WriteProfileInt(strSection, "MRUFloatCX", m_szMRUFloat.cx);
  pApp->WriteProfileInt(strSection, "MRUFloatCY", m_szMRUFloat.cy);
  pApp->WriteProfileInt(strSection, "MRUHorzDockCX", m_szMRUHorzDock.cx);
  pApp->WriteProfileInt(strSection, "MRUHorzDockCY", m_szMRUHorzDock.cy);
  pApp->WriteProfileInt(strSection, "MRUVertDockCX", m_szMRUVertDock.cx);
  pApp->WriteProfileInt(strSection, "MRUVertDockCY", m_szMRUVertDock.cy);
  pApp->WriteProfileInt(strSection, "MRUDockingState", (int)m_dwMRUDockingState);
  pApp->WriteProfileInt(strSection, "DockingStyle", (int)m_dwDockStyle);
  pApp->WriteProfileInt(strSection, "TypeID", (int)m_dwTypeID);
  pApp->WriteProfileString(strSection, "ClassName", m_strClassName);
  pApp->WriteProfileString(strSection, "WindowName", m_strWindowName);
  pApp->WriteProfileInt(strSection, "ResourceID", (int)m_nResourceID);
  if (m_pBarInfoEx != NULL)
    m_pBarInfoEx->SaveState(strSection);
  return TRUE;
}

BOOL SECControlBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState)
{
  if (!CControlBarInfo::LoadState(lpszProfileName, nIndex, pDockState))
    return FALSE;
  CWinApp* pApp = AfxGetApp();
  CString strSection;
  strSection.Format("%s-Bar%d", lpszProfileName, nIndex);
  m_dwStyle = pApp->GetProfileInt(strSection, "Style", 0);
  m_dwExStyle = pApp->GetProfileInt(strSection, "ExStyle", 0);
  m_bPrevFloating = pApp->GetProfileInt(strSection, "PrevFloating", 0) != 0;
  m_bMDIChild = pApp->GetProfileInt(strSection, "MDIChild", 0) != 0;
  if (m_bMDIChild) {
    // Exactly one placement or none.
    LPBYTE pData = NULL;
    UINT nBytes = 0;
    if (pApp->GetProfileBinary(strSection, "MDIChildWindowPlacement", &pData, &nBytes) &&
        nBytes == sizeof(m_wpMDIChild))
      memcpy(&m_wpMDIChild, pData, sizeof(m_wpMDIChild));
    delete[] pData;
  }
  m_fPctWidth = SECShareFromText(pApp->GetProfileString(strSection, "PctWidth", ""));
  m_szMRUFloat.cx = NotNegative((int)pApp->GetProfileInt(strSection, "MRUFloatCX", 0));
  m_szMRUFloat.cy = NotNegative((int)pApp->GetProfileInt(strSection, "MRUFloatCY", 0));
  m_szMRUHorzDock.cx = NotNegative((int)pApp->GetProfileInt(strSection, "MRUHorzDockCX", 0));
  m_szMRUHorzDock.cy = NotNegative((int)pApp->GetProfileInt(strSection, "MRUHorzDockCY", 0));
  m_szMRUVertDock.cx = NotNegative((int)pApp->GetProfileInt(strSection, "MRUVertDockCX", 0));
  m_szMRUVertDock.cy = NotNegative((int)pApp->GetProfileInt(strSection, "MRUVertDockCY", 0));
  m_dwMRUDockingState =
      pApp->GetProfileInt(strSection, "MRUDockingState", (int)m_dwMRUDockingState);
  m_dwDockStyle = pApp->GetProfileInt(strSection, "DockingStyle", (int)m_dwDockStyle);
  m_dwTypeID = pApp->GetProfileInt(strSection, "TypeID", 0);
  m_strClassName = pApp->GetProfileString(strSection, "ClassName", "");
  m_strWindowName = pApp->GetProfileString(strSection, "WindowName", "");
  m_nResourceID = pApp->GetProfileInt(strSection, "ResourceID", (int)m_nResourceID);
  delete m_pBarInfoEx;
  m_pBarInfoEx = m_pManager != NULL ? m_pManager->CreateBarInfo(m_dwTypeID) : NULL;
  if (m_pBarInfoEx != NULL)
    m_pBarInfoEx->LoadState(strSection, (SECDockState*)pDockState);
  return TRUE;
}

void SECControlBarInfo::Serialize(CArchive& ar, SECDockState* pDockState)
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
    ar << m_dwStyle << m_dwExStyle << (DWORD)m_bPrevFloating << (DWORD)m_bMDIChild;
    ar << SECShareToText(m_fPctWidth);
    ar << (LONG)m_szMRUFloat.cx << (LONG)m_szMRUFloat.cy;
    ar << (LONG)m_szMRUHorzDock.cx << (LONG)m_szMRUHorzDock.cy;
    ar << (LONG)m_szMRUVertDock.cx << (LONG)m_szMRUVertDock.cy;
    ar << m_dwMRUDockingState << m_dwDockStyle << m_dwTypeID;
    if (m_pBarInfoEx != NULL)
      m_pBarInfoEx->SerializeEx(ar, pDockState);
    ar << (WORD)m_arrBarID.GetSize();
    for (INT_PTR i = 0; i < m_arrBarID.GetSize(); i++)
      ar << (DWORD)(UINT_PTR)m_arrBarID[i];
    return;
  }
  DWORD dw;
  LONG x, y, r, b;
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
      ar >> x >> y >> r >> b;
      m_rectMRUDockPos = CRect(x, y, r, b);
      ar >> dw;
      m_dwMRUFloatStyle = dw;
      ar >> x >> y;
      m_ptMRUFloatPos = CPoint(x, y);
      if (pDockState != NULL) {
        pDockState->ScaleRectPos(m_rectMRUDockPos);
        pDockState->ScalePoint(m_ptMRUFloatPos);
      }
    }
  }
  ar >> m_dwStyle >> m_dwExStyle;
  ar >> dw;
  m_bPrevFloating = dw != 0;
  ar >> dw;
  m_bMDIChild = dw != 0;
  CString strShare;
  ar >> strShare;
  m_fPctWidth = SECShareFromText(strShare);
  LONG cx, cy;
  ar >> cx >> cy;
  m_szMRUFloat = CSize(NotNegative(cx), NotNegative(cy));
  ar >> cx >> cy;
  m_szMRUHorzDock = CSize(NotNegative(cx), NotNegative(cy));
  ar >> cx >> cy;
  m_szMRUVertDock = CSize(NotNegative(cx), NotNegative(cy));
  ar >> m_dwMRUDockingState >> m_dwDockStyle >> m_dwTypeID;
  delete m_pBarInfoEx;
  m_pBarInfoEx = m_pManager != NULL ? m_pManager->CreateBarInfo(m_dwTypeID) : NULL;
  if (m_pBarInfoEx != NULL)
    m_pBarInfoEx->SerializeEx(ar, pDockState);
  WORD nCount;
  ar >> nCount;
  AfxCheckStoredCount(ar, nCount, sizeof(DWORD));
  m_arrBarID.RemoveAll();
  for (WORD i = 0; i < nCount; i++) {
    ar >> dw;
    m_arrBarID.Add((void*)(UINT_PTR)dw);
  }
}

// ---------------------------------------------------------------------------------------------
// The bar's side of the record

void SECControlBar::GetBarInfoEx(SECControlBarInfo* pInfo)
{
  GetBarInfo(pInfo);  // id, visibility, most-recent width, position, docking values
  pInfo->m_szMRUHorzDock = m_szHorzDock;
  pInfo->m_szMRUVertDock = m_szVertDock;
  pInfo->m_szMRUFloat = m_szFloat;
  pInfo->m_dwMRUDockingState = m_dwMRUDockingState;
  pInfo->m_dwDockStyle = m_dwDockStyle;
  pInfo->m_fPctWidth = m_fPctWidth;
  pInfo->m_dwStyle = m_dwStyle;
  pInfo->m_dwExStyle = m_dwExStyle;
  if (m_pManager != NULL)
    pInfo->m_dwTypeID = m_pManager->GetBarTypeID(this);
  pInfo->m_strClassName = GetRuntimeClass()->m_lpszClassName;
  GetWindowText(pInfo->m_strWindowName);
  OnGetBarInfoEx(pInfo);
}

namespace {
// The toolkit's values of a record, before MFC's layout values are applied.
void ApplyToolkitValues(SECControlBar* pBar, SECControlBarInfo* pInfo)
{
  pBar->m_nMRUWidth = pInfo->m_nMRUWidth;
  pBar->m_szHorzDock = pInfo->m_szMRUHorzDock;
  pBar->m_szVertDock = pInfo->m_szMRUVertDock;
  pBar->m_szFloat = pInfo->m_szMRUFloat;
  pBar->m_dwMRUDockingState = pInfo->m_dwMRUDockingState;
  pBar->m_dwDockStyle = pInfo->m_dwDockStyle;
  pBar->m_fPctWidth = pInfo->m_fPctWidth;
  pBar->SetBarStyle(pInfo->m_dwStyle);
}
}  // namespace

void SECControlBar::SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd)
{
  ApplyToolkitValues(this, pInfo);
  if (pInfo->m_pBarInfoEx != NULL)
    OnSetBarInfoEx(pInfo, pFrameWnd);
  SetBarInfo(pInfo, pFrameWnd);
}

// ---------------------------------------------------------------------------------------------
// The whole state

SECDockState::SECDockState(SECControlBarManager* pManager)
    : m_pManager(pManager), m_pDynamicBars(NULL)
{
}

SECDockState::~SECDockState() {}

SECControlBarInfo* SECDockState::NewBarInfo(SECControlBarManager* pManager)
{
  return new SECControlBarInfo(pManager);
}

void SECDockState::SaveState(LPCTSTR lpszProfileName) { CDockState::SaveState(lpszProfileName); }

void SECDockState::LoadState(LPCTSTR lpszProfileName)
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
  // The records that are there, whatever count was stored.
  for (int i = 0; i < nBars; i++) {
    SECControlBarInfo* pInfo = NewBarInfo(m_pManager);
    if (!pInfo->LoadState(lpszProfileName, i, this)) {
      delete pInfo;
      break;
    }
    m_arrBarInfo.Add(pInfo);
  }
}

void SECDockState::Serialize(CArchive& ar)
{
  if (ar.IsStoring()) {
    ar << m_dwVersion;
    if (m_dwVersion > 1) {
      CSize size = GetScreenSize();
      ar << (LONG)size.cx << (LONG)size.cy;
    }
    ar << (WORD)m_arrBarInfo.GetSize();
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++)
      ((SECControlBarInfo*)m_arrBarInfo[i])->Serialize(ar, this);
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
  // Each record holds at least its flags, position, toolkit values and list length.
  AfxCheckStoredCount(ar, nCount, 4 * 4 + 2 * 4 + 4 * 4 + 1 + 6 * 4 + 3 * 4 + 2);
  for (WORD i = 0; i < nCount; i++) {
    SECControlBarInfo* pInfo = NewBarInfo(m_pManager);
    m_arrBarInfo.Add(pInfo);  // owned before it can throw
    pInfo->Serialize(ar, this);
  }
  m_dwVersion = 2;
}

// The toolbar manager of a toolkit frame, single- or multiple-document; NULL for others.
static SECControlBarManager* FrameBarManager(CFrameWnd* pFrame)
{
  if (SECFrameWnd* pSECFrame = DYNAMIC_DOWNCAST(SECFrameWnd, pFrame))
    return pSECFrame->GetControlBarManager();
  if (SECMDIFrameWnd* pMDIFrame = DYNAMIC_DOWNCAST(SECMDIFrameWnd, pFrame))
    return pMDIFrame->GetControlBarManager();
  return NULL;
}

BOOL SECDockState::GetDockState(CFrameWnd* pFrame)
{
  if (pFrame == NULL)
    return FALSE;
  Clear();
  if (m_pManager == NULL)
    m_pManager = FrameBarManager(pFrame);
  POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
  while (pos != NULL) {
    CControlBar* pBar = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
    if (pBar->m_hWnd == NULL)
      continue;
    SECControlBar* pSEC = AsSEC(pBar);
    if (pSEC != NULL) {
      SECControlBarInfo* pInfo = NewBarInfo(m_pManager);
      pSEC->GetBarInfoEx(pInfo);
      m_arrBarInfo.Add(pInfo);
    } else if (pBar->IsDockBar()) {
      // The frame's toolkit dock bars, and the dock bars of its floating frames.
      SECControlBarInfo* pInfo = NewBarInfo(m_pManager);
      pBar->GetBarInfo(pInfo);
      SECDockBar* pDock = DYNAMIC_DOWNCAST(SECDockBar, pBar);
      pInfo->m_bMDIChild = pDock != NULL && pDock->m_nKind != 0;
      if (pInfo->m_bMDIChild) {
        // A bar floating in the main window: its MDI child's placement says where.
        pInfo->m_pointPos = CPoint(0, 0);
        CWnd* pChild = pBar->GetParent();
        if (pChild != NULL)
          pChild->GetWindowPlacement(&pInfo->m_wpMDIChild);
      }
      pInfo->m_dwStyle = pBar->m_dwStyle;
      m_arrBarInfo.Add(pInfo);
    }
  }
  return TRUE;
}

void SECDockState::CleanupState()
{
  INT_PTR nCount = m_arrBarInfo.GetSize();
  for (INT_PTR r = 0; r < nCount; r++) {
    CControlBarInfo* pR = (CControlBarInfo*)m_arrBarInfo[r];
    for (INT_PTR d = 0; d < nCount; d++) {
      CControlBarInfo* pD = (CControlBarInfo*)m_arrBarInfo[d];
      if (d == r || pD->m_nBarID == pR->m_uMRUDockID)
        continue;
      for (INT_PTR i = 0; i + 1 < pD->m_arrBarID.GetSize(); i++)
        if ((UINT_PTR)pD->m_arrBarID[i] == pR->m_nBarID + 0x10000)
          pD->m_arrBarID[i] = NULL;
    }
  }
  for (INT_PTR r = 0; r < nCount; r++) {
    CPtrArray& arr = ((CControlBarInfo*)m_arrBarInfo[r])->m_arrBarID;
    for (INT_PTR i = 0; i < arr.GetSize(); i++) {
      if (arr[i] == NULL)
        continue;
      for (INT_PTR j = i + 1; j < arr.GetSize(); j++)
        if (arr[j] == arr[i])
          arr[j] = NULL;
    }
    while (arr.GetSize() > 0 && arr[arr.GetSize() - 1] == NULL)
      arr.RemoveAt(arr.GetSize() - 1);
    if (arr.GetSize() > 0)
      arr.Add(NULL);
  }
}

CControlBar* SECDockState::CreateBarFromInfo(LPCTSTR lpszClassName, CFrameWnd* pFrame,
                                             SECControlBarInfo* pInfo)
{
  CRuntimeClass* pClass = CRuntimeClass::FromName(lpszClassName);
  // Only toolkit bars: a stored name of any other creatable class makes nothing.
  if (pClass == NULL || pClass->m_pfnCreateObject == NULL ||
      !pClass->IsDerivedFrom(RUNTIME_CLASS(SECControlBar)))
    return NULL;
  SECControlBar* pBar = (SECControlBar*)pClass->CreateObject();
  if (pBar == NULL)
    return NULL;
  SECDialogBar* pDialogBar = DYNAMIC_DOWNCAST(SECDialogBar, pBar);
  BOOL bCreated =
      pDialogBar != NULL
          ? pDialogBar->Create(pFrame, pInfo->m_nResourceID, pInfo->m_dwStyle | WS_CHILD,
                               pInfo->m_dwExStyle, pInfo->m_nBarID)
          : pBar->Create(pFrame, pInfo->m_strWindowName, pInfo->m_dwStyle | WS_CHILD,
                         pInfo->m_dwExStyle, pInfo->m_nBarID);
  if (!bCreated) {
    delete pBar;
    return NULL;
  }
  CPtrList* pList = m_pDynamicBars;
  SECFrameWnd* pSECFrame = DYNAMIC_DOWNCAST(SECFrameWnd, pFrame);
  if (pList == NULL && pSECFrame != NULL)
    pList = &pSECFrame->m_listDynamicBars;
  if (pList != NULL)
    pList->AddTail(pBar);
  else
    pBar->m_bAutoDelete = TRUE;  // no list to own it: it goes with its window
  pBar->SetWindowText(pInfo->m_strWindowName);
  pBar->EnableDocking(CBRS_ALIGN_ANY);
  return pBar;
}

BOOL SECDockState::SetDockState(CFrameWnd* pFrame)
{
  if (pFrame == NULL)
    return FALSE;
  if (m_pManager == NULL)
    m_pManager = FrameBarManager(pFrame);
  // Find or make each record's bar; a record without one is dropped.
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize();) {
    SECControlBarInfo* pInfo = (SECControlBarInfo*)m_arrBarInfo[i];
    if (pInfo->m_bFloating && pInfo->m_bDockBar) {
      i++;  // a floating frame is made for it
      continue;
    }
    CControlBar* pBar = pFrame->GetControlBar(pInfo->m_nBarID);
    if (pBar == NULL && m_pManager != NULL)
      pBar = m_pManager->CreateBar(pInfo);
    if (pBar == NULL && !pInfo->m_bDockBar)
      pBar = CreateBarFromInfo(pInfo->m_strClassName, pFrame, pInfo);
    if (pBar == NULL) {
      m_arrBarInfo.RemoveAt(i);
      delete pInfo;
      continue;
    }
    SECControlBar* pSEC = AsSEC(pBar);
    if (pSEC != NULL)
      ApplyToolkitValues(pSEC, pInfo);
    i++;
  }
  // Bars that floated in the main window get new MDI children there; their records are
  // kept out of the platform's pass, which would make mini frames for them.
  CPtrArray arrAll;
  arrAll.Copy(m_arrBarInfo);
  CPtrArray arrMDIChildren;
  SECMDIFrameWnd* pMDIFrame = DYNAMIC_DOWNCAST(SECMDIFrameWnd, pFrame);
  for (INT_PTR i = 0; pMDIFrame != NULL && i < m_arrBarInfo.GetSize();) {
    SECControlBarInfo* pInfo = (SECControlBarInfo*)m_arrBarInfo[i];
    if (!(pInfo->m_bFloating && pInfo->m_bDockBar && pInfo->m_bMDIChild)) {
      i++;
      continue;
    }
    m_arrBarInfo.RemoveAt(i);
    pInfo->m_pBar = NULL;
    CFrameWnd* pChild = pMDIFrame->CreateMDIFloatFrame();
    CDockBar* pDock =
        pChild != NULL ? DYNAMIC_DOWNCAST(CDockBar, pChild->GetDlgItem(AFX_IDW_DOCKBAR_FLOAT)) : NULL;
    if (pDock == NULL)
      continue;
    pDock->m_dwStyle = (pDock->m_dwStyle & ~CBRS_ALIGN_ANY) |
                       (pInfo->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
    pDock->m_pDockBar = NULL;
    pInfo->m_pBar = pDock;
    pDock->SetBarInfo(pInfo, pFrame);
    arrMDIChildren.Add(pInfo);
  }
  // Dock bars take their bars, bars their places and visibility, floating frames theirs.
  pFrame->CFrameWnd::SetDockState(*this);
  m_arrBarInfo.Copy(arrAll);
  for (INT_PTR i = 0; i < arrMDIChildren.GetSize(); i++) {
    SECControlBarInfo* pInfo = (SECControlBarInfo*)arrMDIChildren[i];
    CDockBar* pDock = (CDockBar*)pInfo->m_pBar;
    CFrameWnd* pChild = DYNAMIC_DOWNCAST(CFrameWnd, pDock->GetParent());
    if (pChild == NULL)
      continue;
    if (pDock->GetDockedCount() == 0) {
      pChild->DestroyWindow();  // none of its bars exists any more
      pInfo->m_pBar = NULL;
      continue;
    }
    if (pInfo->m_wpMDIChild.length == sizeof(WINDOWPLACEMENT)) {
      WINDOWPLACEMENT wp = pInfo->m_wpMDIChild;
      wp.showCmd = pDock->GetDockedVisibleCount() > 0 ? SW_SHOWNA : SW_HIDE;
      pChild->SetWindowPlacement(&wp);
    }
    pChild->RecalcLayout(TRUE);
    if (pDock->GetDockedVisibleCount() > 0) {
      pChild->ShowWindow(SW_SHOWNA);
      pChild->UpdateWindow();
    }
  }
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++) {
    SECControlBarInfo* pInfo = (SECControlBarInfo*)m_arrBarInfo[i];
    SECControlBar* pSEC = AsSEC(pInfo->m_pBar);
    if (pSEC != NULL)
      pSEC->SetExtendedStyle(pInfo->m_dwExStyle, FALSE);
  }
  pFrame->RecalcLayout(TRUE);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The persistent-tree form (the workspace manager's)

namespace {
// Integers the node reads as signed text but the record keeps unsigned.
DWORD TreeDword(SECPersistentTreeNode* pNode, LPCTSTR lpszKey, DWORD dwDefault)
{
  ULONG value = 0;
  pNode->GetULongValue(lpszKey, value, (ULONG)dwDefault);
  return (DWORD)value;
}
int TreeInt(SECPersistentTreeNode* pNode, LPCTSTR lpszKey, int nDefault)
{
  int value = 0;
  pNode->GetIntValue(lpszKey, value, nDefault);
  return value;
}
BOOL TreeBool(SECPersistentTreeNode* pNode, LPCTSTR lpszKey, BOOL bDefault)
{
  BOOL value = FALSE;
  pNode->GetBoolValue(lpszKey, value, bDefault);
  return value;
}
}  // namespace

BOOL SECControlBarInfo::SaveStateTree(SECPTNFactory& factory, SECPersistentTreeNode* pParent,
                                      int nIndex)
{
  if (pParent == NULL)
    return FALSE;
  if (m_bDockBar && m_bVisible && !m_bFloating && m_pointPos.x == -1 && m_pointPos.y == -1 &&
      m_arrBarID.GetSize() <= 1)
    return FALSE;
  CString strName;
  strName.Format("Bar-%d", nIndex);
  SECPersistentTreeNode* pNode = factory.CreateNode(strName, pParent);
  if (pNode == NULL)
    return FALSE;
  pNode->SetIntValue("BarID", (int)m_nBarID);
  if (!m_bVisible)
    pNode->SetBoolValue("Visible", FALSE);
  if (m_bFloating) {
    pNode->SetBoolValue("Horz", m_bHorz);
    pNode->SetBoolValue("Floating", TRUE);
  }
  if (m_pointPos.x != -1)
    pNode->SetIntValue("XPos", m_pointPos.x);
  if (m_pointPos.y != -1)
    pNode->SetIntValue("YPos", m_pointPos.y);
  if (m_nMRUWidth != 32767)
    pNode->SetIntValue("MRUWidth", (int)m_nMRUWidth);
  if (m_bDocking) {
    pNode->SetBoolValue("Docking", TRUE);
    pNode->SetIntValue("MRUDockID", (int)m_uMRUDockID);
    pNode->SetIntValue("MRUDockLeftPos", m_rectMRUDockPos.left);
    pNode->SetIntValue("MRUDockTopPos", m_rectMRUDockPos.top);
    pNode->SetIntValue("MRUDockRightPos", m_rectMRUDockPos.right);
    pNode->SetIntValue("MRUDockBottomPos", m_rectMRUDockPos.bottom);
    pNode->SetIntValue("MRUFloatStyle", (int)m_dwMRUFloatStyle);
    pNode->SetIntValue("MRUFloatXPos", m_ptMRUFloatPos.x);
    pNode->SetIntValue("MRUFloatYPos", m_ptMRUFloatPos.y);
  }
  if (m_arrBarID.GetSize() > 1) {
    pNode->SetIntValue("Bars", (int)m_arrBarID.GetSize());
    for (INT_PTR i = 0; i < m_arrBarID.GetSize(); i++) {
      CString strKey;
      strKey.Format("Bar#%d", (int)i);
      pNode->SetIntValue(strKey, (int)(UINT_PTR)m_arrBarID[i]);
    }
  }
  pNode->SetIntValue("Style", (int)m_dwStyle);
  pNode->SetIntValue("ExStyle", (int)m_dwExStyle);
  pNode->SetBoolValue("PrevFloating", m_bPrevFloating);
  pNode->SetBoolValue("MDIChild", m_bMDIChild);
  if (m_bMDIChild)
    pNode->SetBinaryValue("MDIChildWindowPlacement", (const BYTE*)&m_wpMDIChild,
                          sizeof(m_wpMDIChild));
  pNode->SetStringValue("PctWidth", SECShareToText(m_fPctWidth));
  pNode->SetIntValue("MRUFloatCX", m_szMRUFloat.cx);
  pNode->SetIntValue("MRUFloatCY", m_szMRUFloat.cy);
  pNode->SetIntValue("MRUHorzDockCX", m_szMRUHorzDock.cx);
  pNode->SetIntValue("MRUHorzDockCY", m_szMRUHorzDock.cy);
  pNode->SetIntValue("MRUVertDockCX", m_szMRUVertDock.cx);
  pNode->SetIntValue("MRUVertDockCY", m_szMRUVertDock.cy);
  pNode->SetIntValue("MRUDockingState", (int)m_dwMRUDockingState);
  pNode->SetIntValue("DockingStyle", (int)m_dwDockStyle);
  pNode->SetIntValue("TypeID", (int)m_dwTypeID);
  pNode->SetStringValue("ClassName", m_strClassName);
  pNode->SetStringValue("WindowName", m_strWindowName);
  pNode->SetIntValue("ResourceID", (int)m_nResourceID);
  if (m_pBarInfoEx != NULL)
    m_pBarInfoEx->SaveStateTree(factory, pNode);
  return TRUE;
}

BOOL SECControlBarInfo::LoadStateTree(SECPersistentTreeNode* pNode, SECDockState* pDockState)
{
  if (pNode == NULL)
    return FALSE;
  m_nBarID = TreeDword(pNode, "BarID", 0);
  m_bVisible = TreeBool(pNode, "Visible", TRUE);
  m_bHorz = TreeBool(pNode, "Horz", TRUE);
  m_bFloating = TreeBool(pNode, "Floating", FALSE);
  m_pointPos.x = TreeInt(pNode, "XPos", -1);
  m_pointPos.y = TreeInt(pNode, "YPos", -1);
  if (pDockState != NULL)
    pDockState->ScalePoint(m_pointPos);
  m_nMRUWidth = TreeDword(pNode, "MRUWidth", 32767);
  m_bDocking = TreeBool(pNode, "Docking", FALSE);
  if (m_bDocking) {
    m_uMRUDockID = TreeDword(pNode, "MRUDockID", 0);
    m_rectMRUDockPos.left = TreeInt(pNode, "MRUDockLeftPos", 0);
    m_rectMRUDockPos.top = TreeInt(pNode, "MRUDockTopPos", 0);
    m_rectMRUDockPos.right = TreeInt(pNode, "MRUDockRightPos", 0);
    m_rectMRUDockPos.bottom = TreeInt(pNode, "MRUDockBottomPos", 0);
    if (pDockState != NULL)
      pDockState->ScaleRectPos(m_rectMRUDockPos);
    m_dwMRUFloatStyle = TreeDword(pNode, "MRUFloatStyle", 0);
    m_ptMRUFloatPos.x = TreeInt(pNode, "MRUFloatXPos", 0);
    m_ptMRUFloatPos.y = TreeInt(pNode, "MRUFloatYPos", 0);
    if (pDockState != NULL)
      pDockState->ScalePoint(m_ptMRUFloatPos);
  }
  int nBars = TreeInt(pNode, "Bars", 0);
  m_arrBarID.RemoveAll();
  for (int i = 0; i < nBars; i++) {
    CString strKey;
    strKey.Format("Bar#%d", i);
    if (pNode->FindPair(strKey) == NULL)
      break;
    m_arrBarID.Add((void*)(UINT_PTR)(UINT)TreeInt(pNode, strKey, 0));
  }
  m_bDockBar = m_arrBarID.GetSize() > 0 || m_nBarID == AFX_IDW_DOCKBAR_FLOAT ||
               (m_nBarID >= AFX_IDW_DOCKBAR_TOP && m_nBarID <= AFX_IDW_DOCKBAR_BOTTOM);

  m_dwStyle = TreeDword(pNode, "Style", 0);
  m_dwExStyle = TreeDword(pNode, "ExStyle", 0);
  m_bPrevFloating = TreeBool(pNode, "PrevFloating", FALSE);
  m_bMDIChild = TreeBool(pNode, "MDIChild", FALSE);
  if (m_bMDIChild) {
    // Exactly one placement or none.
    BYTE* pData = NULL;
    UINT nBytes = 0;
    pNode->GetBinaryValue("MDIChildWindowPlacement", &pData, nBytes);
    if (pData != NULL && nBytes == sizeof(m_wpMDIChild))
      memcpy(&m_wpMDIChild, pData, sizeof(m_wpMDIChild));
    delete[] pData;
  }
  CString strShare;
  pNode->GetStringValue("PctWidth", strShare, "");
  m_fPctWidth = SECShareFromText(strShare);
  m_szMRUFloat.cx = NotNegative(TreeInt(pNode, "MRUFloatCX", 0));
  m_szMRUFloat.cy = NotNegative(TreeInt(pNode, "MRUFloatCY", 0));
  m_szMRUHorzDock.cx = NotNegative(TreeInt(pNode, "MRUHorzDockCX", 0));
  m_szMRUHorzDock.cy = NotNegative(TreeInt(pNode, "MRUHorzDockCY", 0));
  m_szMRUVertDock.cx = NotNegative(TreeInt(pNode, "MRUVertDockCX", 0));
  m_szMRUVertDock.cy = NotNegative(TreeInt(pNode, "MRUVertDockCY", 0));
  m_dwMRUDockingState = TreeDword(pNode, "MRUDockingState", m_dwMRUDockingState);
  m_dwDockStyle = TreeDword(pNode, "DockingStyle", m_dwDockStyle);
  m_dwTypeID = TreeDword(pNode, "TypeID", 0);
  pNode->GetStringValue("ClassName", m_strClassName, "");
  pNode->GetStringValue("WindowName", m_strWindowName, "");
  m_nResourceID = (UINT)TreeInt(pNode, "ResourceID", (int)m_nResourceID);
  delete m_pBarInfoEx;
  m_pBarInfoEx = m_pManager != NULL ? m_pManager->CreateBarInfo(m_dwTypeID) : NULL;
  if (m_pBarInfoEx != NULL)
    m_pBarInfoEx->LoadStateTree(pNode);
  return TRUE;
}

BOOL SECDockState::SaveStateTree(SECPTNFactory& factory, SECPersistentTreeNode* pParent)
{
  if (pParent == NULL)
    return FALSE;
  SECPersistentTreeNode* pNode = factory.CreateNode("DockState", pParent);
  if (pNode == NULL)
    return FALSE;
  int nWritten = 0;
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++) {
    SECControlBarInfo* pInfo = (SECControlBarInfo*)m_arrBarInfo[i];
    if (pInfo->SaveStateTree(factory, pNode, nWritten))
      nWritten++;
  }
  CSize size = GetScreenSize();
  pNode->SetIntValue("Bars", nWritten);
  pNode->SetIntValue("ScreenCX", size.cx);
  pNode->SetIntValue("ScreenCY", size.cy);
  return TRUE;
}

// The number of a "Bar-<n>" record's name (plain decimal digits, as written), or -1.
static int BarRecordIndex(const CString& strName)
{
  LPCTSTR psz = strName;
  if (strncmp(psz, "Bar-", 4) != 0)
    return -1;
  psz += 4;
  if (*psz == '\0' || (*psz == '0' && psz[1] != '\0'))
    return -1;
  long long n = 0;
  for (; *psz != '\0'; psz++) {
    if (*psz < '0' || *psz > '9')
      return -1;
    n = n * 10 + (*psz - '0');
    if (n > INT_MAX)
      return -1;
  }
  return (int)n;
}

BOOL SECDockState::LoadStateTree(SECPersistentTreeNode* pParent)
{
  SECPersistentTreeNode* pNode = pParent != NULL ? pParent->FindChild("DockState") : NULL;
  if (pNode == NULL)
    return FALSE;
  Clear();
  int nBars = TreeInt(pNode, "Bars", 0);
  CSize size(TreeInt(pNode, "ScreenCX", 0), TreeInt(pNode, "ScreenCY", 0));
  SetScreenSize(size);
  // The stored count may say anything: walk the "Bar-<n>" children the file really holds
  // (those below the count, in the order of their numbers), never the count itself.
  CStringList names;
  pNode->GetChildNames(names);
  std::vector<int> indices;
  for (POSITION pos = names.GetHeadPosition(); pos != NULL;) {
    int nIndex = BarRecordIndex(names.GetNext(pos));
    if (nIndex >= 0 && nIndex < nBars)
      indices.push_back(nIndex);
  }
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  for (int i : indices) {
    CString strName;
    strName.Format("Bar-%d", i);
    SECPersistentTreeNode* pChild = pNode->FindChild(strName);
    if (pChild == NULL)
      continue;
    SECControlBarInfo* pInfo = NewBarInfo(m_pManager);
    if (!pInfo->LoadStateTree(pChild, this)) {
      delete pInfo;
      continue;
    }
    m_arrBarInfo.Add(pInfo);
  }
  return TRUE;
}
