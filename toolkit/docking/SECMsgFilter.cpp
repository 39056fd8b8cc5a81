// The message filter tree.
#include "SECMsgFilter.h"

IMPLEMENT_DYNCREATE(SECMsgFilter, CObject)

SECMsgFilter::DescriptorTable::~DescriptorTable()
{
  for (Descriptor* p : m_descriptors)
    delete p;
}

int SECMsgFilter::DescriptorTable::Add(int nID, int nParentID, CRuntimeClass* pClass,
                                       DWORD dwFlags)
{
  m_descriptors.push_back(new Descriptor{nID, nParentID, pClass, dwFlags});
  return (int)m_descriptors.size() - 1;
}

SECMsgFilter::SECMsgFilter(CWnd* pFrame, int nID)
    : m_nID(nID), m_bEnabled(TRUE), m_bOwnChildren(TRUE), m_pFrame(pFrame)
{
}

SECMsgFilter::SECMsgFilter(const SECMsgFilter& src)
    : CObject(), m_nID(src.m_nID), m_bEnabled(src.m_bEnabled), m_bOwnChildren(TRUE),
      m_pFrame(NULL)
{
  for (SECMsgFilter* p : src.m_children)
    if (p != NULL)
      m_children.push_back(p->Clone());
  SetFrame(src.m_pFrame, TRUE);
}

SECMsgFilter::~SECMsgFilter()
{
  if (m_bOwnChildren)
    for (SECMsgFilter* p : m_children)
      delete p;
}

SECMsgFilter* SECMsgFilter::Clone() const { return new SECMsgFilter(*this); }

CWnd* SECMsgFilter::GetFrame() const { return m_pFrame; }

void SECMsgFilter::SetFrame(CWnd* pFrame, BOOL bRecursive)
{
  m_pFrame = pFrame;
  if (bRecursive)
    for (SECMsgFilter* p : m_children)
      if (p != NULL)
        p->SetFrame(pFrame, TRUE);
}

DWORD SECMsgFilter::FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
  return m_bEnabled ? OnFilterMessage(message, wParam, lParam, pResult) : 0;
}

DWORD SECMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
  return FilterChildren(message, wParam, lParam, pResult);
}

DWORD SECMsgFilter::FilterChildren(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
  if (!m_bEnabled)
    return 0;
  DWORD dwResult = 0;
  // By index: a filter may add children while a message is offered. The stop bit is tested
  // first: a filter whose command destroyed the frame (and this tree with it) returns it, and
  // nothing of this filter may be read after that.
  for (size_t i = 0; !(dwResult & fltStop) && i < m_children.size(); i++) {
    SECMsgFilter* p = m_children[i];
    if (p != NULL && p->m_bEnabled)
      dwResult |= p->FilterMessage(message, wParam, lParam, pResult);
  }
  return dwResult;
}

DWORD SECMsgFilter::FilterCurrentMessage(const MSG* pMsg, LRESULT* pResult)
{
  if (pMsg == NULL)
    pMsg = CWnd::GetCurrentMessage();
  return pMsg != NULL ? FilterMessage(pMsg->message, pMsg->wParam, pMsg->lParam, pResult) : 0;
}

SECMsgFilter* SECMsgFilter::FindFilter(int nID, CRuntimeClass* pClass, int nDepth)
{
  for (SECMsgFilter* p : m_children)
    if (p != NULL && p->m_nID == nID)
      return p;
  if (nDepth != 0) {
    for (SECMsgFilter* p : m_children) {
      SECMsgFilter* pFound = p != NULL ? p->FindFilter(nID, NULL, nDepth - 1) : NULL;
      if (pFound != NULL)
        return pFound;
    }
  }
  if (pClass == NULL)
    return NULL;
  CObject* pObject = pClass->CreateObject();
  SECMsgFilter* pNew = pObject != NULL ? DYNAMIC_DOWNCAST(SECMsgFilter, pObject) : NULL;
  if (pNew == NULL) {
    delete pObject;  // not a filter: the tree stays as it was
    return NULL;
  }
  pNew->SetFrame(m_pFrame, TRUE);
  pNew->m_nID = nID;
  m_children.push_back(pNew);
  return pNew;
}

void SECMsgFilter::ApplyDescriptor(const Descriptor& descriptor, BOOL bEnable)
{
  SECMsgFilter* pParent =
      descriptor.nParentID == -1 ? this : FindFilter(descriptor.nParentID, NULL, -1);
  if (pParent == NULL)
    return;
  SECMsgFilter* pTarget =
      pParent->FindFilter(descriptor.nID, bEnable ? descriptor.pClass : NULL, -1);
  if (pTarget == NULL)
    return;
  if (!bEnable && (descriptor.dwFlags & fltNeverDisable))
    return;
  pTarget->m_bEnabled = bEnable;
}

void SECMsgFilter::ApplyDescriptors(const DescriptorTable& table, const BOOL* pEnable)
{
  for (int i = 0; i < table.GetSize(); i++)
    if (table.GetAt(i) != NULL)
      ApplyDescriptor(*table.GetAt(i), pEnable[i]);
}

void SECMsgFilter::ApplyDescriptorsAll(const DescriptorTable& table, BOOL bEnable)
{
  for (int i = 0; i < table.GetSize(); i++)
    if (table.GetAt(i) != NULL)
      ApplyDescriptor(*table.GetAt(i), bEnable);
}
