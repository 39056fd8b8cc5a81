// Framework-private messages, the layout protocol between a frame and its bars, the
// per-thread state of the windows layer and the recent-file list.
#ifndef QUORVEL_AFXPRIV_H
#define QUORVEL_AFXPRIV_H

#include "afxwin.h"

// Messages the framework sends to its own windows
#define WM_QUERYAFXWNDPROC 0x0360  // answers 1 when the window runs through AfxWndProc
#define WM_SIZEPARENT 0x0361       // lParam = AFX_SIZEPARENTPARAMS*
#define WM_SETMESSAGESTRING 0x0362 // wParam = string id (or 0), lParam = text (or 0)
#define WM_IDLEUPDATECMDUI 0x0363  // wParam = disable items without a handler
#define WM_INITIALUPDATE 0x0364    // sent to views and frames once created
#define WM_COMMANDHELP 0x0365
#define WM_HELPHITTEST 0x0366
#define WM_EXITHELPMODE 0x0367
#define WM_RECALCPARENT 0x0368     // a bar asks its frame for a new layout
#define WM_SIZECHILD 0x0369
#define WM_KICKIDLE 0x036A         // a modal loop lets its owner do idle work
#define WM_QUERYCENTERWND 0x036B
#define WM_DISABLEMODAL 0x036C
#define WM_FLOATSTATUS 0x036D
#define WM_ACTIVATETOPLEVEL 0x036E
#define WM_QUERY3DCONTROLS 0x036F
#define WM_SOCKET_NOTIFY 0x0373
#define WM_SOCKET_DEAD 0x0374
#define WM_POPMESSAGESTRING 0x0375
#define WM_OCC_LOADFROMSTREAM 0x0376
#define WM_OCC_LOADFROMSTORAGE 0x0377
#define WM_OCC_INITNEW 0x0378
#define WM_QUEUE_SENTINEL 0x0379
#define WM_OCC_LOADFROMSTREAM_EX 0x037A
#define WM_OCC_LOADFROMSTORAGE_EX 0x037B
#define WM_FORWARDMSG 0x037F

// A framework message whose handler takes nothing and returns nothing.
#define ON_MESSAGE_VOID(message, memberFxn) \
  {(UINT)(message), 0, 0, 0, AfxSig_vv, AFX_WND_CAST(void, (), &ThisClass::memberFxn)},

// WM_FLOATSTATUS flags
#define FS_SHOW 0x01
#define FS_HIDE 0x02
#define FS_ACTIVATE 0x04
#define FS_DEACTIVATE 0x08
#define FS_ENABLE 0x10
#define FS_DISABLE 0x20
#define FS_SYNCACTIVE 0x40

// The size-parent protocol: RepositionBars sends WM_SIZEPARENT to each child bar in turn;
// a bar takes its place from rect (moving itself through hDWP when that is set) and shrinks
// rect by what it took; sizeTotal sums what a layout query asked for.
struct AFX_SIZEPARENTPARAMS {
  HDWP hDWP;
  RECT rect;
  SIZE sizeTotal;
  BOOL bStretch;
};

// Moves a child inside a deferred layout (or at once when hDWP is NULL).
void AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

// Window creation hook: the next window this thread creates is attached to pWnd and
// subclassed before it receives its first message. Dialogs use it for their own windows.
void AFXAPI AfxHookWindowCreate(CWnd* pWnd);
BOOL AFXAPI AfxUnhookWindowCreate();

// Per-thread state of the windows layer.
struct AFX_THREAD_STATE {
  CWnd* m_pWndInit;          // the window object waiting for its window (creation hook)
  HHOOK m_hHookOldCbtFilter;
  MSG m_lastSentMsg;         // the message being handled (for CWnd::Default)
  HWND m_hTrackingWindow;
  CView* m_pRoutingView;     // the view that routes the current command
  CFrameWnd* m_pRoutingFrame;
  HWND m_hLockoutNotifyWindow;
  BOOL m_bInMsgFilter;
  int m_nTempMapLock;        // temporary objects are kept while this is positive
  CWinThread* m_pCurrentWinThread;
  MSG m_msgCur;
  CPoint m_ptCursorLast;
  UINT m_nMsgLast;
  HWND m_hWndToolTip;        // the thread's tool-tip control
  CWnd* m_pLastHit;          // the window whose tools are shown
  INT_PTR m_nLastHit;
  TOOLINFOA m_lastInfo;
  INT_PTR m_nLastStatus;
  CFrameWnd* m_pFirstFrame;  // every live frame of the thread, linked by m_pNextFrameWnd
  void* m_pTempWndMap;       // the thread's temporary window objects
  BOOL m_bNeedTerm;          // AfxOleInit initialised OLE on this thread
};
AFX_THREAD_STATE* AFXAPI AfxGetThreadState();
void AFXAPI AfxTermThreadState();

// Temporary objects (CWnd::FromHandle and the GDI wrappers) live until the thread's next
// idle time, unless locked.
void AFXAPI AfxLockTempMaps();
BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps = TRUE);

// Cancels a tracking or mode state of the windows in the way of a modal dialog.
void AFXAPI AfxCancelModes(HWND hWndRcvr);
HWND AFXAPI AfxGetParentOwner(HWND hWnd);
BOOL AFXAPI AfxIsFrameWnd(HWND hWnd);

// The recent-file list of the application's File menu, kept in the profile section
// "Recent File List" as "File1".."FileN".
class CRecentFileList {
 public:
  CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                  int nMaxDispLen = 0);
  virtual ~CRecentFileList();

  int GetSize() const { return m_nSize; }
  CString& operator[](int nIndex) { return m_arrNames[nIndex]; }
  virtual void Remove(int nIndex);
  virtual void Add(LPCTSTR lpszPathName);
  BOOL GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                      BOOL bAtLeastName = TRUE) const;
  virtual void UpdateMenu(CCmdUI* pCmdUI);
  virtual void ReadList();
  virtual void WriteList();

  int m_nSize;
  CString* m_arrNames;
  CString m_strSectionName;
  CString m_strEntryFormat;
  UINT m_nStart;
  int m_nMaxDisplayLength;
  CString m_strOriginal;  // the menu text shown while the list is empty
};

#endif
