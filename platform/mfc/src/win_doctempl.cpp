// Document templates and the application's template list: creating documents with their
// frames and views, opening files, the New and Open commands.
#include "afxwin.h"
#include "afxpriv.h"
#include <commdlg.h>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CDocManager, CObject)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                           CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_nIDServerResource(0), m_nIDEmbeddingResource(0),
      m_nIDContainerResource(0), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass), m_pOleFrameClass(NULL), m_pOleViewClass(NULL),
      m_bAutoDelete(TRUE), m_pAttachedFactory(NULL), m_hMenuInPlace(NULL),
      m_hAccelInPlace(NULL), m_hMenuEmbedding(NULL), m_hAccelEmbedding(NULL),
      m_hMenuInPlaceServer(NULL), m_hAccelInPlaceServer(NULL)
{
  CDocTemplate::LoadTemplate();
}

CDocTemplate::~CDocTemplate()
{
  if (m_hMenuInPlace != NULL)
    ::DestroyMenu(m_hMenuInPlace);
  if (m_hMenuEmbedding != NULL)
    ::DestroyMenu(m_hMenuEmbedding);
  if (m_hMenuInPlaceServer != NULL)
    ::DestroyMenu(m_hMenuInPlaceServer);
}

void CDocTemplate::LoadTemplate()
{
  if (m_strDocStrings.IsEmpty())
    m_strDocStrings.LoadString(m_nIDResource);
}

void CDocTemplate::SetServerInfo(UINT nIDOleEmbedding, UINT nIDOleInPlaceServer,
                                 CRuntimeClass* pOleFrameClass, CRuntimeClass* pOleViewClass)
{
  m_nIDEmbeddingResource = nIDOleEmbedding;
  m_nIDServerResource = nIDOleInPlaceServer;
  m_pOleFrameClass = pOleFrameClass;
  m_pOleViewClass = pOleViewClass;
}

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex i) const
{
  return AfxExtractSubString(rString, m_strDocStrings, (int)i);
}

BOOL CDocTemplate::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
  return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
  if (pDoc->m_pDocTemplate == this)
    pDoc->m_pDocTemplate = NULL;
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch)
{
  rpDocMatch = NULL;
  POSITION pos = GetFirstDocPosition();
  while (pos != NULL) {
    CDocument* pDoc = GetNextDoc(pos);
    if (!pDoc->GetPathName().IsEmpty() && AfxComparePath(pDoc->GetPathName(), lpszPathName)) {
      rpDocMatch = pDoc;
      return yesAlreadyOpen;
    }
  }
  CString strFilterExt;
  if (GetDocString(strFilterExt, filterExt) && !strFilterExt.IsEmpty()) {
    // The extension may be a list ("*.a;*.b" or ".a;.b").
    LPCTSTR lpszDot = strrchr(lpszPathName, '.');
    int iStart = 0;
    while (lpszDot != NULL && iStart <= strFilterExt.GetLength()) {
      int iEnd = strFilterExt.Find(';', iStart);
      if (iEnd < 0)
        iEnd = strFilterExt.GetLength();
      CString ext = strFilterExt.Mid(iStart, iEnd - iStart);
      if (!ext.IsEmpty() && ext[0] == '*')
        ext = ext.Mid(1);
      if (!ext.IsEmpty() && lstrcmpiA(lpszDot, ext) == 0)
        return yesAttemptNative;
      iStart = iEnd + 1;
    }
  }
  return yesAttemptForeign;
}

CDocument* CDocTemplate::CreateNewDocument()
{
  if (m_pDocClass == NULL)
    return NULL;
  CDocument* pDocument = (CDocument*)m_pDocClass->CreateObject();
  if (pDocument == NULL)
    return NULL;
  AddDocument(pDocument);
  return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  if (m_pFrameClass == NULL)
    return NULL;
  CFrameWnd* pFrame = (CFrameWnd*)m_pFrameClass->CreateObject();
  if (pFrame == NULL)
    return NULL;
  if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, &context))
    return NULL;  // the frame deleted itself
  return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
  pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified()
{
  POSITION pos = GetFirstDocPosition();
  while (pos != NULL) {
    CDocument* pDoc = GetNextDoc(pos);
    if (!pDoc->SaveModified())
      return FALSE;
  }
  return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
  POSITION pos = GetFirstDocPosition();
  while (pos != NULL) {
    CDocument* pDoc = GetNextDoc(pos);  // the position moves on before the document goes
    pDoc->OnCloseDocument();
  }
}

void CDocTemplate::OnIdle()
{
  POSITION pos = GetFirstDocPosition();
  while (pos != NULL)
    GetNextDoc(pos)->OnIdle();
}

// ---------------------------------------------------------------------------------------------
// CSingleDocTemplate: one document, whose frame is the main window; New reuses them.

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                                       CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_pOnlyDoc(NULL)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
  if (m_pOnlyDoc != NULL)
    m_pOnlyDoc->m_pDocTemplate = NULL;  // a document that outlives us forgets us
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc)
{
  CDocTemplate::AddDocument(pDoc);
  m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
  CDocTemplate::RemoveDocument(pDoc);
  if (m_pOnlyDoc == pDoc)
    m_pOnlyDoc = NULL;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const
{
  return m_pOnlyDoc == NULL ? NULL : BEFORE_START_POSITION;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const
{
  CDocument* pDoc = NULL;
  if (rPos == BEFORE_START_POSITION)
    pDoc = m_pOnlyDoc;
  rPos = NULL;
  return pDoc;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
  CString strDocName;
  if (!GetDocString(strDocName, docName) || strDocName.IsEmpty())
    strDocName = AfxLoadFrameworkString(AFX_IDS_UNTITLED);
  pDocument->SetTitle(strDocName);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
  CDocument* pDocument = NULL;
  CFrameWnd* pFrame = NULL;
  BOOL bCreated = FALSE;
  if (m_pOnlyDoc != NULL) {
    // Reuse the document (and its frame) after asking about unsaved changes.
    pDocument = m_pOnlyDoc;
    if (!pDocument->SaveModified())
      return NULL;
    POSITION pos = pDocument->GetFirstViewPosition();
    if (pos != NULL)
      pFrame = pDocument->GetNextView(pos)->GetParentFrame();
    if (pFrame == NULL)
      pFrame = (CFrameWnd*)AfxGetMainWnd();
  } else {
    pDocument = CreateNewDocument();
    bCreated = TRUE;
  }
  if (pDocument == NULL) {
    AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
    return NULL;
  }
  if (pFrame == NULL) {
    BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;  // a failed frame must not take the document with it
    pFrame = CreateNewFrame(pDocument, NULL);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (pFrame == NULL) {
      AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
      delete pDocument;
      return NULL;
    }
  }
  if (lpszPathName == NULL) {
    SetDefaultTitle(pDocument);
    if (!bMakeVisible)
      pDocument->m_bEmbedded = TRUE;
    if (!pDocument->OnNewDocument()) {
      if (bCreated)
        pFrame->DestroyWindow();  // takes the document with it
      return NULL;
    }
  } else {
    BOOL bWasModified = pDocument->IsModified();
    pDocument->SetModifiedFlag(FALSE);
    if (!pDocument->OnOpenDocument(lpszPathName)) {
      if (bCreated) {
        pFrame->DestroyWindow();
      } else if (!pDocument->IsModified()) {
        pDocument->SetModifiedFlag(bWasModified);  // the old contents are untouched
      } else {
        // The failed load spoiled the old contents: start a fresh document.
        SetDefaultTitle(pDocument);
        pDocument->OnNewDocument();
      }
      return NULL;
    }
    pDocument->SetPathName(lpszPathName);
  }
  CWinThread* pThread = AfxGetThread();
  if (bCreated && pThread != NULL && pThread->m_pMainWnd == NULL)
    pThread->m_pMainWnd = pFrame;
  InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
  return pDocument;
}

// ---------------------------------------------------------------------------------------------
// CMultiDocTemplate: a document and a frame per New or Open, with the shared menu and
// accelerators of the template's resource.

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                                     CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_hMenuShared(NULL),
      m_hAccelTable(NULL), m_nUntitledCount(0)
{
  CMultiDocTemplate::LoadTemplate();
}

CMultiDocTemplate::~CMultiDocTemplate()
{
  POSITION pos = m_docList.GetHeadPosition();
  while (pos != NULL)
    ((CDocument*)m_docList.GetNext(pos))->m_pDocTemplate = NULL;
  if (m_hMenuShared != NULL)
    ::DestroyMenu(m_hMenuShared);
  if (m_hAccelTable != NULL)
    ::DestroyAcceleratorTable(m_hAccelTable);
}

void CMultiDocTemplate::LoadTemplate()
{
  CDocTemplate::LoadTemplate();
  if (m_nIDResource != 0 && m_hMenuShared == NULL) {
    HINSTANCE hInst = AfxGetResourceHandle();
    m_hMenuShared = ::LoadMenuA(hInst, MAKEINTRESOURCEA(m_nIDResource));
    m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(m_nIDResource));
  }
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc)
{
  CDocTemplate::AddDocument(pDoc);
  m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc)
{
  CDocTemplate::RemoveDocument(pDoc);
  POSITION pos = m_docList.Find(pDoc);
  if (pos != NULL)
    m_docList.RemoveAt(pos);
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const { return m_docList.GetHeadPosition(); }

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const
{
  return (CDocument*)m_docList.GetNext(rPos);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
  CString strDocName;
  if (!GetDocString(strDocName, docName) || strDocName.IsEmpty())
    strDocName = AfxLoadFrameworkString(AFX_IDS_UNTITLED);
  CString num;
  num.Format("%u", m_nUntitledCount + 1);
  pDocument->SetTitle(strDocName + num);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
  CDocument* pDocument = CreateNewDocument();
  if (pDocument == NULL) {
    AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
    return NULL;
  }
  BOOL bAutoDelete = pDocument->m_bAutoDelete;
  pDocument->m_bAutoDelete = FALSE;
  CFrameWnd* pFrame = CreateNewFrame(pDocument, NULL);
  pDocument->m_bAutoDelete = bAutoDelete;
  if (pFrame == NULL) {
    AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
    delete pDocument;
    return NULL;
  }
  if (lpszPathName == NULL) {
    SetDefaultTitle(pDocument);
    if (!bMakeVisible)
      pDocument->m_bEmbedded = TRUE;
    if (!pDocument->OnNewDocument()) {
      pFrame->DestroyWindow();
      return NULL;
    }
    m_nUntitledCount++;
  } else {
    if (!pDocument->OnOpenDocument(lpszPathName)) {
      pFrame->DestroyWindow();
      return NULL;
    }
    pDocument->SetPathName(lpszPathName);
  }
  InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
  return pDocument;
}

// ---------------------------------------------------------------------------------------------
// CDocManager

CDocManager::CDocManager() {}

CDocManager::~CDocManager()
{
  POSITION pos = m_templateList.GetHeadPosition();
  while (pos != NULL) {
    CDocTemplate* pTemplate = (CDocTemplate*)m_templateList.GetNext(pos);
    if (pTemplate->m_bAutoDelete)
      delete pTemplate;
  }
  m_templateList.RemoveAll();
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate)
{
  if (pTemplate == NULL || m_templateList.Find(pTemplate) != NULL)
    return;
  pTemplate->LoadTemplate();
  m_templateList.AddTail(pTemplate);
}

POSITION CDocManager::GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const
{
  return (CDocTemplate*)m_templateList.GetNext(pos);
}

CDocument* CDocManager::OpenDocumentFile(LPCTSTR lpszFileName)
{
  if (lpszFileName == NULL || *lpszFileName == 0)
    return NULL;
  // A name in quotes (as the shell passes it) is taken without them.
  CString name(lpszFileName);
  name.TrimLeft();
  name.TrimRight();
  if (name.GetLength() >= 2 && name[0] == '"' && name[name.GetLength() - 1] == '"')
    name = name.Mid(1, name.GetLength() - 2);
  char szPath[MAX_PATH];
  AfxFullPath(szPath, name);

  CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
  CDocTemplate* pBestTemplate = NULL;
  CDocument* pOpenDocument = NULL;
  POSITION pos = m_templateList.GetHeadPosition();
  while (pos != NULL) {
    CDocTemplate* pTemplate = (CDocTemplate*)m_templateList.GetNext(pos);
    CDocument* pMatch = NULL;
    CDocTemplate::Confidence match = pTemplate->MatchDocType(szPath, pMatch);
    if (match > bestMatch) {
      bestMatch = match;
      pBestTemplate = pTemplate;
    }
    if (match == CDocTemplate::yesAlreadyOpen) {
      pOpenDocument = pMatch;
      break;
    }
  }
  if (pOpenDocument != NULL) {
    // Already open: bring its frame forward.
    POSITION posView = pOpenDocument->GetFirstViewPosition();
    if (posView != NULL) {
      CFrameWnd* pFrame = pOpenDocument->GetNextView(posView)->GetParentFrame();
      if (pFrame != NULL)
        pFrame->ActivateFrame();
      CWnd* pMain = AfxGetMainWnd();
      if (pMain != NULL && pMain != pFrame && pMain->IsFrameWnd())
        ((CFrameWnd*)pMain)->ActivateFrame();
    }
    return pOpenDocument;
  }
  if (pBestTemplate == NULL) {
    AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC);
    return NULL;
  }
  return pBestTemplate->OpenDocumentFile(szPath);
}

BOOL CDocManager::SaveAllModified()
{
  POSITION pos = m_templateList.GetHeadPosition();
  while (pos != NULL)
    if (!((CDocTemplate*)m_templateList.GetNext(pos))->SaveAllModified())
      return FALSE;
  return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession)
{
  POSITION pos = m_templateList.GetHeadPosition();
  while (pos != NULL)
    ((CDocTemplate*)m_templateList.GetNext(pos))->CloseAllDocuments(bEndSession);
}

int CDocManager::GetOpenDocumentCount()
{
  int nOpen = 0;
  POSITION pos = m_templateList.GetHeadPosition();
  while (pos != NULL) {
    CDocTemplate* pTemplate = (CDocTemplate*)m_templateList.GetNext(pos);
    POSITION pos2 = pTemplate->GetFirstDocPosition();
    while (pos2 != NULL) {
      pTemplate->GetNextDoc(pos2);
      nOpen++;
    }
  }
  return nOpen;
}

// Appends "<name>\0<pattern>\0" for one template to a file dialog filter.
static void AppendFilter(CString& filter, CDocTemplate* pTemplate, CString* pDefaultExt)
{
  CString strFilterExt, strFilterName;
  if (pTemplate->GetDocString(strFilterExt, CDocTemplate::filterExt) && !strFilterExt.IsEmpty() &&
      pTemplate->GetDocString(strFilterName, CDocTemplate::filterName) &&
      !strFilterName.IsEmpty()) {
    if (pDefaultExt != NULL && pDefaultExt->IsEmpty())
      *pDefaultExt = strFilterExt.Mid(strFilterExt[0] == '.' ? 1 : 0);
    filter += strFilterName;
    filter += '\n';
    if (strFilterExt[0] == '.')
      filter += "*";
    filter += strFilterExt;
    filter += '\n';
  }
}

BOOL CDocManager::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                                   BOOL bOpenFileDialog, CDocTemplate* pTemplate)
{
  CString title = AfxLoadFrameworkString(nIDSTitle);
  if (title.IsEmpty())
    title = bOpenFileDialog ? "Open" : "Save As";
  CString filter, defaultExt;
  if (pTemplate != NULL) {
    AppendFilter(filter, pTemplate, &defaultExt);
  } else {
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos != NULL)
      AppendFilter(filter, (CDocTemplate*)m_templateList.GetNext(pos),
                   defaultExt.IsEmpty() ? &defaultExt : NULL);
  }
  CString allFilter = AfxLoadFrameworkString(AFX_IDS_ALLFILTER);
  filter += allFilter + "\n*.*\n";
  // The dialog wants NUL separators; the text above used newlines as stand-ins.
  int nLen = filter.GetLength();
  char* pszFilter = new char[nLen + 2];
  memcpy(pszFilter, (LPCTSTR)filter, nLen);
  for (int i = 0; i < nLen; i++)
    if (pszFilter[i] == '\n')
      pszFilter[i] = 0;
  pszFilter[nLen] = pszFilter[nLen + 1] = 0;

  char szFile[MAX_PATH];
  lstrcpynA(szFile, fileName, MAX_PATH);
  OPENFILENAMEA ofn;
  memset(&ofn, 0, sizeof(ofn));
  ofn.lStructSize = sizeof(ofn);
  CWnd* pOwner = CWnd::GetSafeOwner(NULL, NULL);
  ofn.hwndOwner = pOwner->GetSafeHwnd();
  ofn.lpstrFilter = pszFilter;
  ofn.lpstrFile = szFile;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = title;
  ofn.lpstrDefExt = defaultExt.IsEmpty() ? NULL : (LPCTSTR)defaultExt;
  ofn.Flags = lFlags | OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  BOOL bResult = bOpenFileDialog ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
  delete[] pszFilter;
  if (bResult)
    fileName = szFile;
  return bResult;
}

void CDocManager::OnFileNew()
{
  if (m_templateList.IsEmpty()) {
    AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
    return;
  }
  CDocTemplate* pTemplate = (CDocTemplate*)m_templateList.GetHead();
  pTemplate->OpenDocumentFile(NULL);
}

void CDocManager::OnFileOpen()
{
  CString newName;
  if (!DoPromptFileName(newName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE,
                        NULL))
    return;
  if (AfxGetApp() != NULL)
    AfxGetApp()->OpenDocumentFile(newName);
}

BOOL CDocManager::OnDDECommand(LPTSTR) { return FALSE; }

// ---------------------------------------------------------------------------------------------
// The application's side

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
  if (m_pDocManager == NULL)
    m_pDocManager = new CDocManager;
  m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
  return m_pDocManager != NULL ? m_pDocManager->GetFirstDocTemplatePosition() : NULL;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
  return m_pDocManager != NULL ? m_pDocManager->GetNextDocTemplate(pos) : NULL;
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName)
{
  return m_pDocManager != NULL ? m_pDocManager->OpenDocumentFile(lpszFileName) : NULL;
}

BOOL CWinApp::SaveAllModified()
{
  return m_pDocManager == NULL || m_pDocManager->SaveAllModified();
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
  if (m_pDocManager != NULL)
    m_pDocManager->CloseAllDocuments(bEndSession);
}

int CWinApp::GetOpenDocumentCount()
{
  return m_pDocManager != NULL ? m_pDocManager->GetOpenDocumentCount() : 0;
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                               BOOL bOpenFileDialog, CDocTemplate* pTemplate)
{
  if (m_pDocManager == NULL)
    m_pDocManager = new CDocManager;
  return m_pDocManager->DoPromptFileName(fileName, nIDSTitle, lFlags, bOpenFileDialog, pTemplate);
}

void CWinApp::OnFileNew()
{
  if (m_pDocManager != NULL)
    m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen()
{
  if (m_pDocManager != NULL)
    m_pDocManager->OnFileOpen();
}
