// The recent-file list of the File menu.
#include "afxwin.h"
#include "afxpriv.h"
#include <strings.h>

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat,
                                 int nSize, int nMaxDispLen)
    : m_nSize(nSize > 0 ? nSize : 1), m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat), m_nStart(nStart), m_nMaxDisplayLength(nMaxDispLen)
{
  m_arrNames = new CString[m_nSize];
}

CRecentFileList::~CRecentFileList() { delete[] m_arrNames; }

void CRecentFileList::Add(LPCTSTR lpszPathName)
{
  char szTemp[MAX_PATH];
  AfxFullPath(szTemp, lpszPathName);
  // An entry already in the list moves to the top; otherwise the last one drops out.
  int iMRU;
  for (iMRU = 0; iMRU < m_nSize - 1; iMRU++) {
    if (AfxComparePath(m_arrNames[iMRU], szTemp))
      break;
  }
  for (; iMRU > 0; iMRU--)
    m_arrNames[iMRU] = m_arrNames[iMRU - 1];
  m_arrNames[0] = szTemp;
}

void CRecentFileList::Remove(int nIndex)
{
  if (nIndex < 0 || nIndex >= m_nSize)
    return;
  m_arrNames[nIndex].Empty();
  int iMRU;
  for (iMRU = nIndex; iMRU < m_nSize - 1; iMRU++)
    m_arrNames[iMRU] = m_arrNames[iMRU + 1];
  m_arrNames[iMRU].Empty();
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir,
                                     int nCurDir, BOOL bAtLeastName) const
{
  if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[nIndex].IsEmpty())
    return FALSE;
  const CString& path = m_arrNames[nIndex];
  // A file in the current folder is shown by its name alone.
  if (lpszCurDir != NULL && nCurDir > 0 && path.GetLength() > nCurDir &&
      strncasecmp(path, lpszCurDir, nCurDir) == 0 && strchr((LPCTSTR)path + nCurDir, '\\') == NULL) {
    strName = (LPCTSTR)path + nCurDir;
    return TRUE;
  }
  if (m_nMaxDisplayLength > 0 && path.GetLength() > m_nMaxDisplayLength) {
    // Too long: the drive, an ellipsis and as much of the end as fits (at least the name).
    char szName[MAX_PATH];
    AfxGetFileName(path, szName, MAX_PATH);
    CString tail = szName;
    if (!bAtLeastName || tail.GetLength() < m_nMaxDisplayLength - 6) {
      int nKeep = m_nMaxDisplayLength - 6;
      CString end = path.Right(nKeep > tail.GetLength() ? nKeep : tail.GetLength());
      strName = path.Left(3) + "..." + end.Mid(end.Find('\\') >= 0 ? end.Find('\\') : 0);
    } else {
      strName = tail;
    }
    return TRUE;
  }
  strName = path;
  return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
  CMenu* pMenu = pCmdUI->m_pMenu;
  if (pMenu == NULL) {
    pCmdUI->Enable(!m_arrNames[0].IsEmpty());
    return;
  }
  HMENU hMenu = pMenu->m_hMenu;
  if (m_strOriginal.IsEmpty()) {
    char szText[256];
    ::GetMenuStringA(hMenu, pCmdUI->m_nID, szText, sizeof(szText), MF_BYCOMMAND);
    m_strOriginal = szText;
  }
  if (m_arrNames[0].IsEmpty()) {
    // Empty list: the placeholder item, greyed.
    if (!m_strOriginal.IsEmpty())
      pCmdUI->SetText(m_strOriginal);
    pCmdUI->Enable(FALSE);
    return;
  }
  // Replace the list's items by the current names.
  for (int iMRU = 0; iMRU < m_nSize; iMRU++)
    ::DeleteMenu(hMenu, pCmdUI->m_nID + iMRU, MF_BYCOMMAND);
  char szCurDir[MAX_PATH];
  int nCurDir = (int)::GetCurrentDirectoryA(MAX_PATH, szCurDir);
  if (nCurDir > 0 && nCurDir < MAX_PATH - 1 && szCurDir[nCurDir - 1] != '\\') {
    szCurDir[nCurDir++] = '\\';
    szCurDir[nCurDir] = 0;
  }
  for (int iMRU = 0; iMRU < m_nSize; iMRU++) {
    CString strName;
    if (!GetDisplayName(strName, iMRU, szCurDir, nCurDir))
      break;
    // Ampersands in names are doubled so they are not taken as mnemonics.
    CString strEscaped;
    for (int i = 0; i < strName.GetLength(); i++) {
      if (strName[i] == '&')
        strEscaped += '&';
      strEscaped += strName[i];
    }
    CString strText;
    strText.Format("&%d %s", (iMRU + 1 + (int)m_nStart) % 10, (LPCTSTR)strEscaped);
    ::InsertMenuA(hMenu, pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, pCmdUI->m_nID++, strText);
  }
  // Let the caller's loop continue after the inserted items.
  pCmdUI->m_nIndex--;
  pCmdUI->m_nIndexMax = (UINT)::GetMenuItemCount(hMenu);
  pCmdUI->m_bEnableChanged = TRUE;
}

void CRecentFileList::ReadList()
{
  CWinApp* pApp = AfxGetApp();
  if (pApp == NULL)
    return;
  for (int iMRU = 0; iMRU < m_nSize; iMRU++) {
    CString entry;
    entry.Format(m_strEntryFormat, iMRU + 1);
    m_arrNames[iMRU] = pApp->GetProfileString(m_strSectionName, entry, "");
  }
}

void CRecentFileList::WriteList()
{
  CWinApp* pApp = AfxGetApp();
  if (pApp == NULL)
    return;
  // The section is written anew so that removed entries do not linger.
  pApp->WriteProfileString(m_strSectionName, NULL, NULL);
  for (int iMRU = 0; iMRU < m_nSize; iMRU++) {
    if (m_arrNames[iMRU].IsEmpty())
      break;
    CString entry;
    entry.Format(m_strEntryFormat, iMRU + 1);
    pApp->WriteProfileString(m_strSectionName, entry, m_arrNames[iMRU]);
  }
}
