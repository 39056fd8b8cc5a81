// Threads: the message loop with idle processing, pre-translation, worker and user-interface
// threads.
#include "afxwin.h"
#include "afxpriv.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

CWinThread::CWinThread() : CWinThread(NULL, NULL) {}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pMainWnd(NULL), m_pActiveWnd(NULL), m_bAutoDelete(TRUE), m_hThread(NULL),
      m_nThreadID(0), m_nMsgLast(0), m_nDisablePumpCount(0), m_pfnThreadProc(pfnThreadProc),
      m_pThreadParams(pParam)
{
  memset(&m_msgCur, 0, sizeof(m_msgCur));
  m_ptCursorLast.x = m_ptCursorLast.y = -1;
}

CWinThread::~CWinThread()
{
  if (m_hThread != NULL && m_hThread != ::GetCurrentThread())
    ::CloseHandle(m_hThread);
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  if (ts->m_pCurrentWinThread == this)
    ts->m_pCurrentWinThread = NULL;
}

void CWinThread::Delete()
{
  if (m_bAutoDelete)
    delete this;
}

CWinThread* AFXAPI AfxGetThread()
{
  CWinThread* p = AfxGetThreadState()->m_pCurrentWinThread;
  return p;
}

namespace {
struct ThreadStartup {
  CWinThread* pThread;
};

DWORD WINAPI ThreadEntry(LPVOID pv)
{
  CWinThread* pThread = (CWinThread*)pv;
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  ts->m_pCurrentWinThread = pThread;
  DWORD nResult;
  if (pThread->m_pfnThreadProc != NULL) {
    nResult = (*pThread->m_pfnThreadProc)(pThread->m_pThreadParams);
  } else if (!pThread->InitInstance()) {
    if (pThread->m_pMainWnd != NULL && pThread->m_pMainWnd->m_hWnd != NULL)
      pThread->m_pMainWnd->DestroyWindow();
    nResult = (DWORD)pThread->ExitInstance();
  } else {
    nResult = (DWORD)pThread->Run();
  }
  AfxEndThread(nResult, TRUE);
  return nResult;  // not reached: AfxEndThread ends the thread
}
}  // namespace

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize,
                              LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
  // Start suspended so the handle and id are in place before the thread runs.
  DWORD id = 0;
  m_hThread = ::CreateThread(lpSecurityAttrs, nStackSize, ThreadEntry, this, CREATE_SUSPENDED, &id);
  if (m_hThread == NULL)
    return FALSE;
  m_nThreadID = id;
  if (!(dwCreateFlags & CREATE_SUSPENDED))
    ::ResumeThread(m_hThread);
  return TRUE;
}

// Ends the calling thread: its temporary objects, its thread object (when bDelete and it
// deletes itself) and its state go first.
void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete)
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  CWinThread* pThread = ts->m_pCurrentWinThread;
  AfxLockTempMaps();
  AfxUnlockTempMaps(TRUE);
  if (pThread != NULL && pThread != AfxGetApp()) {
    ts->m_pCurrentWinThread = NULL;
    if (bDelete)
      pThread->Delete();
  }
  AfxTermThreadState();
  ::ExitThread(nExitCode);
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                                  UINT nStackSize, DWORD dwCreateFlags,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
  CWinThread* pThread = new CWinThread(pfnThreadProc, pParam);
  if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    pThread->Delete();
    return NULL;
  }
  pThread->SetThreadPriority(nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED))
    pThread->ResumeThread();
  return pThread;
}

CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
  CWinThread* pThread = (CWinThread*)pThreadClass->CreateObject();
  if (pThread == NULL)
    AfxThrowMemoryException();
  if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    pThread->Delete();
    return NULL;
  }
  pThread->SetThreadPriority(nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED))
    pThread->ResumeThread();
  return pThread;
}

BOOL CWinThread::InitInstance() { return FALSE; }

CWnd* CWinThread::GetMainWnd()
{
  if (m_pActiveWnd != NULL)
    return m_pActiveWnd;
  return m_pMainWnd;
}

int CWinThread::ExitInstance()
{
  int nResult = (int)m_msgCur.wParam;
  return nResult;
}

int CWinThread::Run()
{
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  for (;;) {
    while (bIdle && !::PeekMessageA(&m_msgCur, NULL, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(lIdleCount++))
        bIdle = FALSE;
    }
    do {
      if (!PumpMessage())
        return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessageA(&m_msgCur, NULL, 0, 0, PM_NOREMOVE));
  }
}

BOOL CWinThread::PumpMessage()
{
  if (!::GetMessageA(&m_msgCur, NULL, 0, 0))
    return FALSE;
  if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
    ::TranslateMessage(&m_msgCur);
    ::DispatchMessageA(&m_msgCur);
  }
  return TRUE;
}

BOOL AFXAPI AfxPumpMessage()
{
  CWinThread* pThread = AfxGetThread();
  if (pThread != NULL)
    return pThread->PumpMessage();
  MSG& msg = AfxGetThreadState()->m_msgCur;
  if (!::GetMessageA(&msg, NULL, 0, 0))
    return FALSE;
  ::TranslateMessage(&msg);
  ::DispatchMessageA(&msg);
  return TRUE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
  // Repeated mouse moves at the same place, paints and the caret's blink timer (0x118) do not
  // restart idle processing: they would keep it running for ever.
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    if (m_ptCursorLast.x == pMsg->pt.x && m_ptCursorLast.y == pMsg->pt.y &&
        pMsg->message == m_nMsgLast)
      return FALSE;
    m_ptCursorLast = pMsg->pt;
    m_nMsgLast = pMsg->message;
    return TRUE;
  }
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
  if (lCount <= 0) {
    // Command-UI updates: the main window with its descendants, then every other visible
    // frame of the thread (floating bars, other top-level frames).
    CWnd* pMainWnd = m_pMainWnd;
    if (pMainWnd != NULL && pMainWnd->m_hWnd != NULL && pMainWnd->IsWindowVisible() &&
        !pMainWnd->IsIconic()) {
      AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0);
      pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0, TRUE, TRUE);
    }
    for (CFrameWnd* pFrame = CFrameWnd::GetFirstFrameWnd(); pFrame != NULL;
         pFrame = pFrame->m_pNextFrameWnd) {
      if (pFrame == pMainWnd || pFrame->m_hWnd == NULL || !pFrame->IsWindowVisible())
        continue;
      if (pMainWnd != NULL && ::IsChild(pMainWnd->m_hWnd, pFrame->m_hWnd))
        continue;  // already reached through the main window
      AfxCallWndProc(pFrame, pFrame->m_hWnd, WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0);
      pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0, TRUE, TRUE);
    }
  } else {
    AFX_THREAD_STATE* ts = AfxGetThreadState();
    if (ts->m_nTempMapLock == 0) {
      AfxLockTempMaps();
      AfxUnlockTempMaps(TRUE);
    }
  }
  return lCount < 0;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
  // A thread message goes to the thread's own map.
  if (pMsg->hwnd == NULL) {
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(pMsg->message, 0, 0);
    if (e != NULL) {
      (this->*reinterpret_cast<void (CWinThread::*)(WPARAM, LPARAM)>(e->pfn))(pMsg->wParam,
                                                                               pMsg->lParam);
      return TRUE;
    }
  }
  CWnd* pMainWnd = AfxGetMainWnd();
  if (CWnd::WalkPreTranslateTree(pMainWnd->GetSafeHwnd(), pMsg))
    return TRUE;
  // A modeless window outside the main window still gets the main window's accelerators.
  if (pMainWnd != NULL && pMainWnd->m_hWnd != NULL && pMsg->hwnd != NULL) {
    CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
    if (pWnd->GetTopLevelParent() != pMainWnd)
      return pMainWnd->PreTranslateMessage(pMsg);
  }
  return FALSE;
}

BOOL CWinThread::ProcessMessageFilter(int, LPMSG) { return FALSE; }

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg)
{
  if (pMsg->message == WM_CREATE)
    return -1;  // the window is not created
  if (pMsg->message == WM_PAINT) {
    ::ValidateRect(pMsg->hwnd, NULL);  // or the paint would come back for ever
    return 0;
  }
  if (e->IsKindOf(RUNTIME_CLASS(CUserException)))
    return 0;  // whoever threw it has told the user
  // The exception's own text when it has one, else the framework's; shown through the
  // application so that its title and its message-box handling apply.
  UINT nIDP = pMsg->message == WM_COMMAND ? AFX_IDP_COMMAND_FAILURE : AFX_IDP_INTERNAL_FAILURE;
  char sz[512];
  if (!e->GetErrorMessage(sz, sizeof(sz), NULL) || sz[0] == 0)
    lstrcpynA(sz, AfxLoadFrameworkString(nIDP), sizeof(sz));
  AfxMessageBox(sz, MB_ICONSTOP, nIDP);
  return 0;
}
