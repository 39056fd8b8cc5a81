// Documents: views, titles, the modified flag, opening and saving through archives, closing.
#include "afxwin.h"
#include "afxpriv.h"
#include <commdlg.h>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
  ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
  ON_COMMAND(ID_FILE_SAVE, OnFileSave)
  ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument()
    : m_pDocTemplate(NULL), m_bModified(FALSE), m_bAutoDelete(TRUE), m_bEmbedded(FALSE)
{
}

CDocument::~CDocument()
{
  // Views still attached lose their document rather than point at a dead one.
  POSITION pos = m_viewList.GetHeadPosition();
  while (pos != NULL)
    ((CView*)m_viewList.GetNext(pos))->m_pDocument = NULL;
  m_viewList.RemoveAll();
  if (m_pDocTemplate != NULL)
    m_pDocTemplate->RemoveDocument(this);
}

void CDocument::OnFinalRelease() { OnCloseDocument(); }

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
  if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    return TRUE;
  return m_pDocTemplate != NULL && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::Serialize(CArchive&) {}

void CDocument::SetTitle(LPCTSTR lpszTitle)
{
  m_strTitle = lpszTitle;
  UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU)
{
  char szFullPath[MAX_PATH];
  AfxFullPath(szFullPath, lpszPathName);
  m_strPathName = szFullPath;
  char szTitle[MAX_PATH];
  if (AfxGetFileTitle(szFullPath, szTitle, MAX_PATH) == 0)
    SetTitle(szTitle);
  if (bAddToMRU && AfxGetApp() != NULL)
    AfxGetApp()->AddToRecentFileList(m_strPathName);
}

POSITION CDocument::GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }

CView* CDocument::GetNextView(POSITION& rPosition) const
{
  return (CView*)m_viewList.GetNext(rPosition);
}

void CDocument::AddView(CView* pView)
{
  if (pView->m_pDocument == this)
    return;
  if (pView->m_pDocument != NULL)
    pView->m_pDocument->RemoveView(pView);
  m_viewList.AddTail(pView);
  pView->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
  POSITION pos = m_viewList.Find(pView);
  if (pos == NULL)
    return;
  m_viewList.RemoveAt(pos);
  pView->m_pDocument = NULL;
  OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
  // A document without views closes itself (when it owns itself).
  if (m_viewList.IsEmpty() && m_bAutoDelete) {
    OnCloseDocument();
    return;
  }
  UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts()
{
  POSITION pos = GetFirstViewPosition();
  while (pos != NULL) {
    CView* pView = GetNextView(pos);
    if (pView->m_hWnd == NULL || !::IsWindowVisible(pView->m_hWnd))
      continue;
    CFrameWnd* pFrame = pView->GetParentFrame();
    if (pFrame != NULL)
      pFrame->OnUpdateFrameTitle(TRUE);
  }
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
  POSITION pos = GetFirstViewPosition();
  while (pos != NULL) {
    CView* pView = GetNextView(pos);
    if (pView != pSender)
      pView->OnUpdate(pSender, lHint, pHint);
  }
}

void CDocument::DeleteContents() {}
void CDocument::OnIdle() {}
HMENU CDocument::GetDefaultMenu() { return NULL; }
HACCEL CDocument::GetDefaultAccelerator() { return NULL; }
void CDocument::PreCloseFrame(CFrameWnd*) {}

BOOL CDocument::OnNewDocument()
{
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

CFile* CDocument::GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
  CFile* pFile = new CFile;
  if (!pFile->Open(lpszFileName, nOpenFlags, pError)) {
    delete pFile;
    return NULL;
  }
  return pFile;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort)
{
  if (bAbort)
    pFile->Abort();
  else
    pFile->Close();
  delete pFile;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
  CFileException fe;
  CFile* pFile = GetFile(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe);
  if (pFile == NULL) {
    ReportSaveLoadException(lpszPathName, &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
    return FALSE;
  }
  DeleteContents();
  SetModifiedFlag(TRUE);  // dirty while loading
  CArchive loadArchive(pFile, CArchive::load | CArchive::bNoFlushOnDelete);
  loadArchive.m_pDocument = this;
  try {
    if (pFile->GetLength() != 0)
      Serialize(loadArchive);
    loadArchive.Close();
    ReleaseFile(pFile, FALSE);
  } catch (CException* e) {
    loadArchive.Abort();
    ReleaseFile(pFile, TRUE);
    DeleteContents();
    ReportSaveLoadException(lpszPathName, e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
    e->Delete();
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName)
{
  // The document is written to a new file beside the old one, which it replaces only once
  // everything is written: a failure midway leaves the old file as it was.
  char szFull[MAX_PATH];
  AfxFullPath(szFull, lpszPathName);
  CString folder(szFull);
  int nSlash = folder.ReverseFind('\\');
  folder = nSlash >= 0 ? folder.Left(nSlash + 1) : CString(".");
  char szTemp[MAX_PATH];
  if (!::GetTempFileNameA(folder, "sav", 0, szTemp)) {
    CFileException fe(CFileException::OsErrorToException((LONG)::GetLastError()),
                      (LONG)::GetLastError(), lpszPathName);
    ReportSaveLoadException(lpszPathName, &fe, TRUE, AFX_IDP_INVALID_FILENAME);
    return FALSE;
  }
  CFileException fe;
  CFile* pFile = GetFile(szTemp, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive,
                         &fe);
  if (pFile == NULL) {
    ::DeleteFileA(szTemp);
    ReportSaveLoadException(lpszPathName, &fe, TRUE, AFX_IDP_INVALID_FILENAME);
    return FALSE;
  }
  CArchive saveArchive(pFile, CArchive::store | CArchive::bNoFlushOnDelete);
  saveArchive.m_pDocument = this;
  try {
    Serialize(saveArchive);
    saveArchive.Close();
    ReleaseFile(pFile, FALSE);
  } catch (CException* e) {
    saveArchive.Abort();
    ReleaseFile(pFile, TRUE);
    ::DeleteFileA(szTemp);
    ReportSaveLoadException(lpszPathName, e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
    e->Delete();
    return FALSE;
  }
  if (!::MoveFileExA(szTemp, szFull, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    LONG err = (LONG)::GetLastError();
    ::DeleteFileA(szTemp);
    CFileException fe2(CFileException::OsErrorToException(err), err, lpszPathName);
    ReportSaveLoadException(lpszPathName, &fe2, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving,
                                        UINT nIDPDefault)
{
  if (e != NULL && e->IsKindOf(RUNTIME_CLASS(CUserException)))
    return;  // already reported
  UINT nIDP = nIDPDefault;
  CString fileName = lpszPathName != NULL ? lpszPathName : "";
  if (e != NULL && e->IsKindOf(RUNTIME_CLASS(CArchiveException))) {
    switch (((CArchiveException*)e)->m_cause) {
    case CArchiveException::badSchema:
    case CArchiveException::badClass:
    case CArchiveException::badIndex:
    case CArchiveException::endOfFile:
      nIDP = AFX_IDP_FAILED_INVALID_FORMAT;
      break;
    }
  } else if (e != NULL && e->IsKindOf(RUNTIME_CLASS(CFileException))) {
    CFileException* pFE = (CFileException*)e;
    if (!pFE->GetFileName().IsEmpty())
      fileName = pFE->GetFileName();
    switch (pFE->m_cause) {
    case CFileException::fileNotFound:
    case CFileException::badPath:
      nIDP = AFX_IDP_FAILED_INVALID_PATH;
      break;
    case CFileException::diskFull:
      nIDP = AFX_IDP_FAILED_DISK_FULL;
      break;
    case CFileException::accessDenied:
    case CFileException::sharingViolation:
      nIDP = bSaving ? AFX_IDP_FAILED_ACCESS_WRITE : AFX_IDP_FAILED_ACCESS_READ;
      break;
    case CFileException::generic:
    case CFileException::hardIO:
    case CFileException::endOfFile:
      nIDP = bSaving ? AFX_IDP_FAILED_IO_ERROR_WRITE : AFX_IDP_FAILED_IO_ERROR_READ;
      break;
    }
  } else if (e != NULL && e->IsKindOf(RUNTIME_CLASS(CMemoryException))) {
    nIDP = AFX_IDP_FAILED_MEMORY_ALLOC;
  }
  CString prompt;
  CString format = AfxLoadFrameworkString(nIDP);
  LPCSTR args[1] = {fileName};
  AfxFormatStrings(prompt, format, args, 1);
  AfxMessageBox(prompt, MB_ICONEXCLAMATION, nIDP);
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg)
{
  // Another frame showing this document keeps it open: no question needed.
  POSITION pos = GetFirstViewPosition();
  while (pos != NULL) {
    CView* pView = GetNextView(pos);
    CFrameWnd* pFrame = pView->GetParentFrame();
    if (pFrame != NULL && pFrame != pFrameArg)
      return TRUE;
  }
  return SaveModified();
}

BOOL CDocument::SaveModified()
{
  if (!IsModified())
    return TRUE;
  CString name;
  if (m_strPathName.IsEmpty()) {
    name = m_strTitle;
    if (name.IsEmpty())
      name = AfxLoadFrameworkString(AFX_IDS_UNTITLED);
  } else {
    char szTitle[MAX_PATH];
    AfxGetFileTitle(m_strPathName, szTitle, MAX_PATH);
    name = szTitle;
  }
  CString prompt;
  LPCSTR args[1] = {name};
  AfxFormatStrings(prompt, AfxLoadFrameworkString(AFX_IDP_ASK_TO_SAVE), args, 1);
  switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
  case IDCANCEL:
    return FALSE;
  case IDYES:
    if (!DoFileSave())
      return FALSE;
    break;
  default:
    break;
  }
  return TRUE;
}

BOOL CDocument::DoFileSave()
{
  DWORD dwAttrib = ::GetFileAttributesA(m_strPathName);
  if (m_strPathName.IsEmpty() || dwAttrib == INVALID_FILE_ATTRIBUTES ||
      (dwAttrib & FILE_ATTRIBUTE_READONLY))
    return DoSave(NULL);
  return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
  CString newName = lpszPathName != NULL ? lpszPathName : "";
  if (newName.IsEmpty()) {
    CDocTemplate* pTemplate = GetDocTemplate();
    newName = m_strPathName;
    if (bReplace && newName.IsEmpty()) {
      newName = m_strTitle;
      // Characters a file name cannot hold end the proposed name.
      int iBad = newName.FindOneOf(" #%;/\\");
      if (iBad != -1)
        newName.ReleaseBuffer(iBad);
      CString strExt;
      if (pTemplate != NULL && pTemplate->GetDocString(strExt, CDocTemplate::filterExt) &&
          !strExt.IsEmpty()) {
        int nSemi = strExt.Find(';');
        if (nSemi != -1)
          strExt = strExt.Left(nSemi);
        newName += strExt;
      }
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL ||
        !pApp->DoPromptFileName(newName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, pTemplate))
      return FALSE;
  }
  if (!OnSaveDocument(newName))
    return FALSE;
  if (bReplace)
    SetPathName(newName);
  return TRUE;
}

void CDocument::OnCloseDocument()
{
  // Destroying the frames destroys the views; the document must outlive that.
  BOOL bAutoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  while (!m_viewList.IsEmpty()) {
    CView* pView = (CView*)m_viewList.GetHead();
    CFrameWnd* pFrame = pView->GetParentFrame();
    if (pFrame != NULL) {
      PreCloseFrame(pFrame);
      pFrame->DestroyWindow();
    } else if (pView->m_hWnd != NULL) {
      pView->DestroyWindow();
    }
    // A view that outlived its window (or had none) is let go here.
    if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView)
      RemoveView(pView);
  }
  m_bAutoDelete = bAutoDelete;
  DeleteContents();
  if (m_bAutoDelete)
    delete this;
}

void CDocument::OnFileClose()
{
  if (!SaveModified())
    return;
  OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }
void CDocument::OnFileSaveAs() { DoSave(NULL); }
void CDocument::OnFileSendMail() {}
void CDocument::OnUpdateFileSendMail(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
