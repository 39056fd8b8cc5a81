// Document template helpers.
#include "SECDocTemplateUtils.h"
#include "SECDockableFrame.h"
#include "SECMultiDocTemplate.h"

CString SECDocTemplateUtils::GetTypeString(CDocTemplate* pTemplate)
{
  CString str;
  if (pTemplate != NULL)
    pTemplate->GetDocString(str, CDocTemplate::regFileTypeName);
  return str;
}

BOOL SECDocTemplateUtils::GetTemplates(CPtrList& list)
{
  CWinApp* pApp = AfxGetApp();
  if (pApp == NULL)
    return FALSE;
  POSITION pos = pApp->GetFirstDocTemplatePosition();
  while (pos != NULL)
    list.AddTail(pApp->GetNextDocTemplate(pos));
  return TRUE;
}

int SECDocTemplateUtils::GetTemplateIndex(CDocTemplate* pTemplate, LPCTSTR lpszTypeString)
{
  CPtrList list;
  if (pTemplate == NULL || !GetTemplates(list))
    return -1;
  CString strType = lpszTypeString != NULL ? lpszTypeString : "";
  int nIndex = 0;
  for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
    CDocTemplate* p = (CDocTemplate*)list.GetNext(pos);
    if (GetTypeString(p) != strType)
      continue;
    if (p == pTemplate)
      return nIndex;
    nIndex++;
  }
  return -1;
}

CDocTemplate* SECDocTemplateUtils::FindTemplate(LPCTSTR lpszTypeString, int nIndex)
{
  CPtrList list;
  if (!GetTemplates(list))
    return NULL;
  CString strType = lpszTypeString != NULL ? lpszTypeString : "";
  CDocTemplate* pLast = NULL;
  int nMatch = 0;
  for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
    CDocTemplate* p = (CDocTemplate*)list.GetNext(pos);
    if (GetTypeString(p) != strType)
      continue;
    if (nMatch++ == nIndex)
      return p;
    pLast = p;
  }
  return pLast;
}

UINT SECDocTemplateUtils::GetFrameResourceId(CFrameWnd* pFrame)
{
  return pFrame != NULL ? pFrame->m_nIDHelp : 0;
}

namespace {
// Keeps the entries the test accepts.
template <class Keep>
void KeepIf(CPtrList& list, Keep keep)
{
  for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
    POSITION here = pos;
    CDocTemplate* p = (CDocTemplate*)list.GetNext(pos);
    if (!keep(p))
      list.RemoveAt(here);
  }
}
}  // namespace

BOOL SECDocTemplateUtils::FilterByViewAndFrame(CPtrList& list, CView* pView, CFrameWnd* pFrame)
{
  if (pView == NULL || pFrame == NULL)
    return FALSE;
  CRuntimeClass* pViewClass = pView->GetRuntimeClass();
  CRuntimeClass* pFrameClass = pFrame->GetRuntimeClass();
  BOOL bDockable = IsDockableFrameClass(pFrameClass);
  KeepIf(list, [&](CDocTemplate* p) {
    return p->m_pViewClass == pViewClass && GetTemplateFrameClass(p, bDockable) == pFrameClass;
  });
  return TRUE;
}

BOOL SECDocTemplateUtils::FilterByFrameResource(CPtrList& list, CFrameWnd* pFrame)
{
  if (pFrame == NULL)
    return FALSE;
  UINT nID = GetFrameResourceId(pFrame);
  KeepIf(list, [&](CDocTemplate* p) { return p->m_nIDResource == nID; });
  return TRUE;
}

BOOL SECDocTemplateUtils::FilterByDocument(CPtrList& list, CDocument* pDoc)
{
  if (pDoc == NULL)
    return FALSE;
  CRuntimeClass* pDocClass = pDoc->GetRuntimeClass();
  KeepIf(list, [&](CDocTemplate* p) { return p->m_pDocClass == pDocClass; });
  return TRUE;
}

BOOL SECDocTemplateUtils::GetSingleTemplate(const CPtrList& list, CDocTemplate*& pTemplate)
{
  pTemplate = NULL;
  if (list.GetCount() > 1)
    return FALSE;
  if (list.GetCount() == 1)
    pTemplate = (CDocTemplate*)list.GetHead();
  return TRUE;
}

BOOL SECDocTemplateUtils::IsDockableFrameClass(CRuntimeClass* pClass)
{
  return pClass != NULL && pClass->IsDerivedFrom(RUNTIME_CLASS(SECDockableFrame));
}

CRuntimeClass* SECDocTemplateUtils::GetTemplateFrameClass(CDocTemplate* pTemplate, BOOL bDockable)
{
  if (pTemplate == NULL)
    return NULL;
  // A docked view's frame class is kept only by the toolkit's MDI template.
  if (bDockable) {
    SECMultiDocTemplate* pMulti = DYNAMIC_DOWNCAST(SECMultiDocTemplate, pTemplate);
    return pMulti != NULL ? pMulti->m_pDockingFrameClass : NULL;
  }
  return pTemplate->m_pFrameClass;
}

CDocTemplate* SECDocTemplateUtils::FindTemplateForView(CDocument* pDoc, CView* pView,
                                                       CFrameWnd* pFrame)
{
  if (pDoc == NULL || pView == NULL || pFrame == NULL)
    return NULL;
  CPtrList list;
  CDocTemplate* pTemplate = NULL;
  if (!GetTemplates(list) || GetSingleTemplate(list, pTemplate))
    return pTemplate;
  FilterByViewAndFrame(list, pView, pFrame);
  if (GetSingleTemplate(list, pTemplate))
    return pTemplate;
  FilterByFrameResource(list, pFrame);
  if (GetSingleTemplate(list, pTemplate))
    return pTemplate;
  FilterByDocument(list, pDoc);
  if (GetSingleTemplate(list, pTemplate))
    return pTemplate;
  CDocTemplate* pOwn = pDoc->GetDocTemplate();
  if (pOwn != NULL && list.Find(pOwn) != NULL)
    return pOwn;
  return (CDocTemplate*)list.GetHead();
}
