// Windows layer of the class library: command targets and message maps, window objects,
// threads and the application object, documents, views, frames and document templates.
// This is the umbrella header: it brings the core, GDI and dialog parts with it.
#ifndef QUORVEL_AFXWIN_H
#define QUORVEL_AFXWIN_H

#include "afx.h"
#include "afxres.h"
#include "afxcoll.h"
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <limits.h>

// Macros of <windowsx.h> that would rename members of the framework's classes.
#ifdef SubclassWindow
#undef SubclassWindow
#endif
#ifdef CopyRgn
#undef CopyRgn
#endif

#ifndef afx_msg
#define afx_msg
#endif
#define AFX_MSG_CALL

class CCmdTarget;
class CCmdUI;
class CWnd;
class CFrameWnd;
class CMDIFrameWnd;
class CMDIChildWnd;
class CView;
class CDocument;
class CDocTemplate;
class CWinThread;
class CWinApp;
class CDocManager;
class CRecentFileList;
class CPrintInfo;
class CPrintDialog;
class CCreateContext;
class CScrollBar;
class CToolTipCtrl;
class CDataExchange;
class CControlBar;
class CDockBar;
class CDockState;
class CMiniDockFrameWnd;
class COleControlSite;
class COleControlContainer;
// Hooks of the control container (the OLE layer implements them): moving a hosted control
// goes through its site, and keys for a control are offered to it before dispatch.
BOOL AFXAPI AfxOleSiteMoveWindow(CWnd* pWnd, int x, int y, int cx, int cy, BOOL bRepaint);
BOOL AFXAPI AfxOleSiteSetWindowPos(CWnd* pWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                                   UINT nFlags);
BOOL AFXAPI AfxOleTranslateControlMessage(HWND hWnd, MSG* pMsg);
// A window object attached to a hosted control's window is bound to the control's site.
void AFXAPI AfxOleAttachControlSite(CWnd* pWnd);
class CImageList;
class CListBox;
struct AFX_OLECMDMAP;
struct AFX_INTERFACEMAP;
struct AFX_DISPMAP;
struct AFX_EVENTSINKMAP;
struct AFX_CONNECTIONMAP;
struct AFX_EVENT;
struct AFX_CMDHANDLERINFO;

#include "afxgdi_.h"

// ---------------------------------------------------------------------------------------------
// Message maps

typedef void (AFX_MSG_CALL CCmdTarget::*AFX_PMSG)(void);
typedef void (AFX_MSG_CALL CWnd::*AFX_PMSGW)(void);
typedef void (AFX_MSG_CALL CWinThread::*AFX_PMSGT)(void);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;    // window message
  UINT nCode;       // control code or WM_NOTIFY code
  UINT nID;         // control id (or 0 for window messages)
  UINT nLastID;     // last id of a range
  UINT_PTR nSig;    // signature (AfxSig_*), or the address of a registered message's id
  AFX_PMSG pfn;     // handler
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// Handler signatures; the letters give the return type and the arguments.
enum AfxSig {
  AfxSig_end = 0,
  AfxSig_bD,        // BOOL (CDC*)
  AfxSig_bb,        // BOOL (BOOL)
  AfxSig_bWww,      // BOOL (CWnd*, UINT, UINT)
  AfxSig_hDWw,      // HBRUSH (CDC*, CWnd*, UINT)
  AfxSig_hDw,       // HBRUSH (CDC*, UINT)
  AfxSig_iwWw,      // int (UINT, CWnd*, UINT)
  AfxSig_iww,       // int (UINT, UINT)
  AfxSig_iWww,      // int (CWnd*, UINT, UINT)
  AfxSig_is,        // int (LPTSTR)
  AfxSig_lwl,       // LRESULT (WPARAM, LPARAM)
  AfxSig_lwwM,      // LRESULT (UINT, UINT, CMenu*)
  AfxSig_vv,        // void ()
  AfxSig_vw,        // void (UINT)
  AfxSig_vww,       // void (UINT, UINT)
  AfxSig_vvii,      // void (int, int)  (wParam ignored)
  AfxSig_vwww,      // void (UINT, UINT, UINT)
  AfxSig_vwii,      // void (UINT, int, int)
  AfxSig_vwl,       // void (UINT, LPARAM)
  AfxSig_vbWW,      // void (BOOL, CWnd*, CWnd*)
  AfxSig_vD,        // void (CDC*)
  AfxSig_vM,        // void (CMenu*)
  AfxSig_vMwb,      // void (CMenu*, UINT, BOOL)
  AfxSig_vW,        // void (CWnd*)  (window in wParam)
  AfxSig_vW2,       // void (CWnd*)  (window in lParam)
  AfxSig_vWww,      // void (CWnd*, UINT, UINT)
  AfxSig_vWp,       // void (CWnd*, CPoint)
  AfxSig_vWh,       // void (CWnd*, HANDLE)
  AfxSig_vwW,       // void (UINT, CWnd*)
  AfxSig_vwWb,      // void (UINT, CWnd*, BOOL)
  AfxSig_vwwW,      // void (UINT, UINT, CWnd*)
  AfxSig_vwwx,      // void (UINT, UINT)  (scroll: code, position)
  AfxSig_vs,        // void (LPTSTR)
  AfxSig_vOWNER,    // void (int, LPTSTR)  (owner-draw structures)
  AfxSig_iis,       // int (int, LPTSTR)
  AfxSig_wp,        // UINT (CPoint)
  AfxSig_wv,        // UINT ()
  AfxSig_vPOS,      // void (WINDOWPOS*)
  AfxSig_vCALC,     // void (BOOL, NCCALCSIZE_PARAMS*)
  AfxSig_vNMHDRpl,  // void (NMHDR*, LRESULT*)
  AfxSig_bNMHDRpl,  // BOOL (NMHDR*, LRESULT*)
  AfxSig_vwNMHDRpl, // void (UINT, NMHDR*, LRESULT*)
  AfxSig_bwNMHDRpl, // BOOL (UINT, NMHDR*, LRESULT*)
  AfxSig_bHELPINFO, // BOOL (HELPINFO*)
  AfxSig_vwSIZING,  // void (UINT, LPRECT)
  AfxSig_cmdui,     // void (CCmdUI*)
  AfxSig_cmduiw,    // void (CCmdUI*, UINT)
  AfxSig_vpv,       // void (void*)
  AfxSig_bpv,       // BOOL (void*)
  AfxSig_vwwh,      // void (UINT, UINT, HANDLE)
  AfxSig_vwp,       // void (UINT, CPoint)
  AfxSig_bw,        // BOOL (UINT)
  AfxSig_bh,        // BOOL (HANDLE)
  AfxSig_iw,        // int (UINT)
  AfxSig_ww,        // UINT (UINT)
  AfxSig_bv,        // BOOL ()
  AfxSig_hv,        // HANDLE ()
  AfxSig_vb,        // void (BOOL)
  AfxSig_vbh,       // void (BOOL, HANDLE)
  AfxSig_vbw,       // void (BOOL, UINT)
  AfxSig_vhh,       // void (HANDLE, HANDLE)
  AfxSig_vh,        // void (HANDLE)
  AfxSig_viSS,      // void (int, STYLESTRUCT*)
  AfxSig_bwl,       // BOOL (UINT, LPARAM)
  AfxSig_vwMOVING,  // void (UINT, LPRECT)
  AfxSig_vMINMAX,   // void (MINMAXINFO*)
  AfxSig_bWCDS,     // BOOL (CWnd*, COPYDATASTRUCT*)
  AfxSig_bwsp,      // BOOL (UINT, short, CPoint)  (mouse wheel)
  AfxSig_lwMM,      // LRESULT (UINT, UINT, CMenu*)  (menu char)
  AfxSig_vwwM,      // void (UINT, UINT, HMENU)  (menu select)
  AfxSig_iWwp,      // int (CWnd*, UINT, UINT)  (mouse activate)
  AfxSig_bwwp,      // BOOL (UINT, DWORD_PTR)  (device change)
  AfxSig_vwh,       // void (UINT, HANDLE)  (activate app: BOOL, DWORD)
  AfxSig_uhlp,      // LRESULT (CPoint)  (nc hit test)
  AfxSig_vwpb,      // void (UINT, CPoint, BOOL)

  // Command and notification signatures
  AfxSigCmd_v,        // void ()
  AfxSigCmd_b,        // BOOL ()
  AfxSigCmd_RANGE,    // void (UINT)
  AfxSigCmd_EX,       // BOOL (UINT)
  AfxSigNotify_v,     // void (NMHDR*, LRESULT*)
  AfxSigNotify_b,     // BOOL (NMHDR*, LRESULT*)
  AfxSigNotify_RANGE, // void (UINT, NMHDR*, LRESULT*)
  AfxSigNotify_EX,    // BOOL (UINT, NMHDR*, LRESULT*)
  AfxSigCmdUI,        // void (CCmdUI*)
  AfxSigCmdUI_RANGE,  // void (CCmdUI*, UINT)
  AfxSig_vws,         // void (UINT, LPCTSTR)  (settings change)
  AfxSig_vcs,         // void (LPCTSTR)
};

#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
#define CN_EVENT ((UINT)(-5))
#define CN_OLECOMMAND ((UINT)(-6))
#define CN_OLE_UNREGISTER ((UINT)(-7))

// Pseudo message carrying all WM_CTLCOLORxxx messages in a map, and the base that turns a
// parent's notification into the reflected one a child window handles itself.
#define WM_CTLCOLOR 0x0019
#define WM_REFLECT_BASE 0xBC00
#ifndef OCM__BASE
#define OCM__BASE (WM_USER + 0x1c00)  // notifications as OLE controls receive them
#endif

struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

struct AFX_CTLCOLOR {
  HWND hWnd;
  HDC hDC;
  UINT nCtlType;
};

struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  void (AFX_MSG_CALL CCmdTarget::*pmf)(void);
};

#define DECLARE_MESSAGE_MAP()                                 \
 protected:                                                  \
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();       \
  virtual const AFX_MSGMAP* GetMessageMap() const override;  \
                                                             \
 private:

// The entries live inside the class's own map function, so handlers are named without the
// class (ON_COMMAND(ID_X, OnX)) and the base class's map is chained through TheBaseClass.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                       \
    typedef theClass ThisClass __attribute__((unused));                          \
    typedef baseClass TheBaseClass;                                              \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                          \
  {0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0}                                            \
  };                                                                               \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,          \
                                        &_messageEntries[0]};                      \
  return &messageMap;                                                              \
  }

// Casting helpers: the static_cast checks the handler's signature against the one the
// dispatcher will call it with.
#define AFX_MSG_CAST(sig_type, fn) ((AFX_PMSG)(static_cast<sig_type>(fn)))
#define AFX_WND_CAST(ret, args, fn) \
  AFX_MSG_CAST(ret(AFX_MSG_CALL CWnd::*) args, fn)
#define AFX_CMD_CAST(ret, args, fn) \
  AFX_MSG_CAST(ret(AFX_MSG_CALL CCmdTarget::*) args, fn)

// Handlers written either with the 32-bit era's types or with pointer-wide ones: a timer id
// as UINT or UINT_PTR (passed alike), a hit-test result as UINT or LRESULT (read apart).
template <class T>
AFX_PMSG AfxTimerPmsg(void (T::*pfn)(UINT)) {
  return (AFX_PMSG) static_cast<void (CWnd::*)(UINT)>(pfn);
}
template <class T>
AFX_PMSG AfxTimerPmsg(void (T::*pfn)(UINT_PTR)) {
  return (AFX_PMSG) static_cast<void (CWnd::*)(UINT_PTR)>(pfn);
}
template <class T>
AFX_PMSG AfxNcHitTestPmsg(UINT (T::*pfn)(CPoint)) {
  return (AFX_PMSG) static_cast<UINT (CWnd::*)(CPoint)>(pfn);
}
template <class T>
AFX_PMSG AfxNcHitTestPmsg(LRESULT (T::*pfn)(CPoint)) {
  return (AFX_PMSG) static_cast<LRESULT (CWnd::*)(CPoint)>(pfn);
}
template <class T>
constexpr UINT_PTR AfxNcHitTestSig(UINT (T::*)(CPoint)) { return AfxSig_wp; }
template <class T>
constexpr UINT_PTR AfxNcHitTestSig(LRESULT (T::*)(CPoint)) { return AfxSig_uhlp; }

// Commands and notifications
#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id), AfxSigCmd_v, AFX_CMD_CAST(void, (void), &ThisClass::memberFxn)},
#define ON_COMMAND_EX(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id), AfxSigCmd_EX, AFX_CMD_CAST(BOOL, (UINT), &ThisClass::memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(idLast), AfxSigCmd_RANGE, AFX_CMD_CAST(void, (UINT), &ThisClass::memberFxn)},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(idLast), AfxSigCmd_EX, AFX_CMD_CAST(BOOL, (UINT), &ThisClass::memberFxn)},
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, (WORD)(id), (WORD)(id), AfxSigCmdUI, AFX_CMD_CAST(void, (CCmdUI*), &ThisClass::memberFxn)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, (WORD)(id), (WORD)(idLast), AfxSigCmdUI, AFX_CMD_CAST(void, (CCmdUI*), &ThisClass::memberFxn)},
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
  {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigCmd_v, AFX_CMD_CAST(void, (void), &ThisClass::memberFxn)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
  {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigCmd_RANGE, AFX_CMD_CAST(void, (UINT), &ThisClass::memberFxn)},
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
  {WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigNotify_v, AFX_CMD_CAST(void, (NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
  {WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigNotify_RANGE, AFX_CMD_CAST(void, (UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
  {WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigNotify_EX, AFX_CMD_CAST(BOOL, (UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
  {WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigNotify_EX, AFX_CMD_CAST(BOOL, (UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)},

// Command ids have the high bit of the low word set; control ids do not.
#ifndef IS_COMMAND_ID
#define IS_COMMAND_ID(nID) ((nID)&0x8000)
#endif

// Reflected notifications, handled by the control that sent them
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
  {WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSigCmd_v, AFX_CMD_CAST(void, (void), &ThisClass::memberFxn)},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
  {WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSigCmd_b, AFX_CMD_CAST(BOOL, (void), &ThisClass::memberFxn)},
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
  {WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSigNotify_v, AFX_CMD_CAST(void, (NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn) \
  {WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSigNotify_b, AFX_CMD_CAST(BOOL, (NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn) \
  {WM_COMMAND + WM_REFLECT_BASE, (WORD)(int)CN_UPDATE_COMMAND_UI, 0, 0, AfxSigCmdUI, AFX_CMD_CAST(void, (CCmdUI*), &ThisClass::memberFxn)},
#define ON_WM_CTLCOLOR_REFLECT() \
  {WM_CTLCOLOR + WM_REFLECT_BASE, 0, 0, 0, AfxSig_hDw, AFX_WND_CAST(HBRUSH, (CDC*, UINT), &ThisClass::CtlColor)},
#define ON_WM_DRAWITEM_REFLECT() \
  {WM_DRAWITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vs, AFX_WND_CAST(void, (LPDRAWITEMSTRUCT), &ThisClass::DrawItem)},
#define ON_WM_MEASUREITEM_REFLECT() \
  {WM_MEASUREITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vs, AFX_WND_CAST(void, (LPMEASUREITEMSTRUCT), &ThisClass::MeasureItem)},
#define ON_WM_DELETEITEM_REFLECT() \
  {WM_DELETEITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vs, AFX_WND_CAST(void, (LPDELETEITEMSTRUCT), &ThisClass::DeleteItem)},
#define ON_WM_COMPAREITEM_REFLECT() \
  {WM_COMPAREITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_is, AFX_WND_CAST(int, (LPCOMPAREITEMSTRUCT), &ThisClass::CompareItem)},
#define ON_WM_HSCROLL_REFLECT() \
  {WM_HSCROLL + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vwwx, AFX_WND_CAST(void, (UINT, UINT), &ThisClass::HScroll)},
#define ON_WM_VSCROLL_REFLECT() \
  {WM_VSCROLL + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vwwx, AFX_WND_CAST(void, (UINT, UINT), &ThisClass::VScroll)},
#define ON_WM_PARENTNOTIFY_REFLECT() \
  {WM_PARENTNOTIFY + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vwl, AFX_WND_CAST(void, (UINT, LPARAM), &ThisClass::ParentNotify)},

// User-defined and registered messages
#define ON_MESSAGE(message, memberFxn) \
  {(UINT)(message), 0, 0, 0, AfxSig_lwl, AFX_WND_CAST(LRESULT, (WPARAM, LPARAM), &ThisClass::memberFxn)},
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
  {0xC000, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable), AFX_WND_CAST(LRESULT, (WPARAM, LPARAM), &ThisClass::memberFxn)},
#define ON_THREAD_MESSAGE(message, memberFxn) \
  {(UINT)(message), 0, 0, 0, AfxSig_vwl, AFX_MSG_CAST(void(AFX_MSG_CALL CWinThread::*)(WPARAM, LPARAM), &ThisClass::memberFxn)},
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn) \
  {0xC000, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable), AFX_MSG_CAST(void(AFX_MSG_CALL CWinThread::*)(WPARAM, LPARAM), &ThisClass::memberFxn)},

// Button, edit, list box and combo box notifications
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_ERRSPACE(id, memberFxn) ON_CONTROL(EN_ERRSPACE, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_LBN_ERRSPACE(id, memberFxn) ON_CONTROL(LBN_ERRSPACE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_ERRSPACE(id, memberFxn) ON_CONTROL(CBN_ERRSPACE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// Window messages
#define AFX_ON_WM(msg, sig, ret, args, fn) {msg, 0, 0, 0, sig, AFX_WND_CAST(ret, args, &ThisClass::fn)},
#define ON_WM_CREATE() AFX_ON_WM(WM_CREATE, AfxSig_is, int, (LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() AFX_ON_WM(WM_DESTROY, AfxSig_vv, void, (), OnDestroy)
#define ON_WM_MOVE() AFX_ON_WM(WM_MOVE, AfxSig_vvii, void, (int, int), OnMove)
#define ON_WM_SIZE() AFX_ON_WM(WM_SIZE, AfxSig_vwii, void, (UINT, int, int), OnSize)
#define ON_WM_SIZING() AFX_ON_WM(WM_SIZING, AfxSig_vwSIZING, void, (UINT, LPRECT), OnSizing)
#define ON_WM_MOVING() AFX_ON_WM(WM_MOVING, AfxSig_vwMOVING, void, (UINT, LPRECT), OnMoving)
#define ON_WM_ACTIVATE() AFX_ON_WM(WM_ACTIVATE, AfxSig_vwWb, void, (UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_ACTIVATEAPP() AFX_ON_WM(WM_ACTIVATEAPP, AfxSig_vbw, void, (BOOL, DWORD), OnActivateApp)
#define ON_WM_SETFOCUS() AFX_ON_WM(WM_SETFOCUS, AfxSig_vW, void, (CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_ON_WM(WM_KILLFOCUS, AfxSig_vW, void, (CWnd*), OnKillFocus)
#define ON_WM_ENABLE() AFX_ON_WM(WM_ENABLE, AfxSig_vb, void, (BOOL), OnEnable)
#define ON_WM_PAINT() AFX_ON_WM(WM_PAINT, AfxSig_vv, void, (), OnPaint)
#define ON_WM_CLOSE() AFX_ON_WM(WM_CLOSE, AfxSig_vv, void, (), OnClose)
#define ON_WM_QUERYENDSESSION() AFX_ON_WM(WM_QUERYENDSESSION, AfxSig_bv, BOOL, (), OnQueryEndSession)
#define ON_WM_ENDSESSION() AFX_ON_WM(WM_ENDSESSION, AfxSig_vb, void, (BOOL), OnEndSession)
#define ON_WM_ERASEBKGND() AFX_ON_WM(WM_ERASEBKGND, AfxSig_bD, BOOL, (CDC*), OnEraseBkgnd)
#define ON_WM_SYSCOLORCHANGE() AFX_ON_WM(WM_SYSCOLORCHANGE, AfxSig_vv, void, (), OnSysColorChange)
#define ON_WM_SHOWWINDOW() AFX_ON_WM(WM_SHOWWINDOW, AfxSig_vbw, void, (BOOL, UINT), OnShowWindow)
#define ON_WM_CTLCOLOR() AFX_ON_WM(WM_CTLCOLOR, AfxSig_hDWw, HBRUSH, (CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_SETTINGCHANGE() AFX_ON_WM(WM_SETTINGCHANGE, AfxSig_vws, void, (UINT, LPCTSTR), OnSettingChange)
#define ON_WM_WININICHANGE() AFX_ON_WM(WM_WININICHANGE, AfxSig_vcs, void, (LPCTSTR), OnWinIniChange)
#define ON_WM_DEVMODECHANGE() AFX_ON_WM(WM_DEVMODECHANGE, AfxSig_vs, void, (LPTSTR), OnDevModeChange)
#define ON_WM_FONTCHANGE() AFX_ON_WM(WM_FONTCHANGE, AfxSig_vv, void, (), OnFontChange)
#define ON_WM_TIMECHANGE() AFX_ON_WM(WM_TIMECHANGE, AfxSig_vv, void, (), OnTimeChange)
#define ON_WM_CANCELMODE() AFX_ON_WM(WM_CANCELMODE, AfxSig_vv, void, (), OnCancelMode)
#define ON_WM_SETCURSOR() AFX_ON_WM(WM_SETCURSOR, AfxSig_bWww, BOOL, (CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_MOUSEACTIVATE() AFX_ON_WM(WM_MOUSEACTIVATE, AfxSig_iWww, int, (CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_CHILDACTIVATE() AFX_ON_WM(WM_CHILDACTIVATE, AfxSig_vv, void, (), OnChildActivate)
#define ON_WM_GETMINMAXINFO() AFX_ON_WM(WM_GETMINMAXINFO, AfxSig_vMINMAX, void, (MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_ICONERASEBKGND() AFX_ON_WM(WM_ICONERASEBKGND, AfxSig_vD, void, (CDC*), OnIconEraseBkgnd)
#define ON_WM_SPOOLERSTATUS() AFX_ON_WM(WM_SPOOLERSTATUS, AfxSig_vww, void, (UINT, UINT), OnSpoolerStatus)
#define ON_WM_DRAWITEM() AFX_ON_WM(WM_DRAWITEM, AfxSig_vOWNER, void, (int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_ON_WM(WM_MEASUREITEM, AfxSig_vOWNER, void, (int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_DELETEITEM() AFX_ON_WM(WM_DELETEITEM, AfxSig_vOWNER, void, (int, LPDELETEITEMSTRUCT), OnDeleteItem)
#define ON_WM_COMPAREITEM() AFX_ON_WM(WM_COMPAREITEM, AfxSig_iis, int, (int, LPCOMPAREITEMSTRUCT), OnCompareItem)
#define ON_WM_CHARTOITEM() AFX_ON_WM(WM_CHARTOITEM, AfxSig_iwWw, int, (UINT, CListBox*, UINT), OnCharToItem)
#define ON_WM_VKEYTOITEM() AFX_ON_WM(WM_VKEYTOITEM, AfxSig_iwWw, int, (UINT, CListBox*, UINT), OnVKeyToItem)
#define ON_WM_QUERYDRAGICON() AFX_ON_WM(WM_QUERYDRAGICON, AfxSig_hv, HCURSOR, (), OnQueryDragIcon)
#define ON_WM_COMPACTING() AFX_ON_WM(WM_COMPACTING, AfxSig_vw, void, (UINT), OnCompacting)
#define ON_WM_NCCREATE() AFX_ON_WM(WM_NCCREATE, AfxSig_is, BOOL, (LPCREATESTRUCT), OnNcCreate)
#define ON_WM_NCDESTROY() AFX_ON_WM(WM_NCDESTROY, AfxSig_vv, void, (), OnNcDestroy)
#define ON_WM_NCCALCSIZE() AFX_ON_WM(WM_NCCALCSIZE, AfxSig_vCALC, void, (BOOL, NCCALCSIZE_PARAMS*), OnNcCalcSize)
#define ON_WM_NCHITTEST() \
  {WM_NCHITTEST, 0, 0, 0, AfxNcHitTestSig(&ThisClass::OnNcHitTest), AfxNcHitTestPmsg(&ThisClass::OnNcHitTest)},
#define ON_WM_NCPAINT() AFX_ON_WM(WM_NCPAINT, AfxSig_vv, void, (), OnNcPaint)
#define ON_WM_NCACTIVATE() AFX_ON_WM(WM_NCACTIVATE, AfxSig_bb, BOOL, (BOOL), OnNcActivate)
#define ON_WM_GETDLGCODE() AFX_ON_WM(WM_GETDLGCODE, AfxSig_wv, UINT, (), OnGetDlgCode)
#define ON_WM_NCMOUSEMOVE() AFX_ON_WM(WM_NCMOUSEMOVE, AfxSig_vwp, void, (UINT, CPoint), OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_ON_WM(WM_NCLBUTTONDOWN, AfxSig_vwp, void, (UINT, CPoint), OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_ON_WM(WM_NCLBUTTONUP, AfxSig_vwp, void, (UINT, CPoint), OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_ON_WM(WM_NCLBUTTONDBLCLK, AfxSig_vwp, void, (UINT, CPoint), OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_ON_WM(WM_NCRBUTTONDOWN, AfxSig_vwp, void, (UINT, CPoint), OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_ON_WM(WM_NCRBUTTONUP, AfxSig_vwp, void, (UINT, CPoint), OnNcRButtonUp)
#define ON_WM_NCRBUTTONDBLCLK() AFX_ON_WM(WM_NCRBUTTONDBLCLK, AfxSig_vwp, void, (UINT, CPoint), OnNcRButtonDblClk)
#define ON_WM_NCMBUTTONDOWN() AFX_ON_WM(WM_NCMBUTTONDOWN, AfxSig_vwp, void, (UINT, CPoint), OnNcMButtonDown)
#define ON_WM_NCMBUTTONUP() AFX_ON_WM(WM_NCMBUTTONUP, AfxSig_vwp, void, (UINT, CPoint), OnNcMButtonUp)
#define ON_WM_NCMBUTTONDBLCLK() AFX_ON_WM(WM_NCMBUTTONDBLCLK, AfxSig_vwp, void, (UINT, CPoint), OnNcMButtonDblClk)
#define ON_WM_KEYDOWN() AFX_ON_WM(WM_KEYDOWN, AfxSig_vwww, void, (UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_ON_WM(WM_KEYUP, AfxSig_vwww, void, (UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_ON_WM(WM_CHAR, AfxSig_vwww, void, (UINT, UINT, UINT), OnChar)
#define ON_WM_DEADCHAR() AFX_ON_WM(WM_DEADCHAR, AfxSig_vwww, void, (UINT, UINT, UINT), OnDeadChar)
#define ON_WM_SYSKEYDOWN() AFX_ON_WM(WM_SYSKEYDOWN, AfxSig_vwww, void, (UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_ON_WM(WM_SYSKEYUP, AfxSig_vwww, void, (UINT, UINT, UINT), OnSysKeyUp)
#define ON_WM_SYSCHAR() AFX_ON_WM(WM_SYSCHAR, AfxSig_vwww, void, (UINT, UINT, UINT), OnSysChar)
#define ON_WM_SYSDEADCHAR() AFX_ON_WM(WM_SYSDEADCHAR, AfxSig_vwww, void, (UINT, UINT, UINT), OnSysDeadChar)
#define ON_WM_SYSCOMMAND() AFX_ON_WM(WM_SYSCOMMAND, AfxSig_vwl, void, (UINT, LPARAM), OnSysCommand)
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, AfxSig_vw, AfxTimerPmsg(&ThisClass::OnTimer)},
#define ON_WM_HSCROLL() AFX_ON_WM(WM_HSCROLL, AfxSig_vwwW, void, (UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() AFX_ON_WM(WM_VSCROLL, AfxSig_vwwW, void, (UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_INITMENU() AFX_ON_WM(WM_INITMENU, AfxSig_vM, void, (CMenu*), OnInitMenu)
#define ON_WM_INITMENUPOPUP() AFX_ON_WM(WM_INITMENUPOPUP, AfxSig_vMwb, void, (CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_MENUSELECT() AFX_ON_WM(WM_MENUSELECT, AfxSig_vwwM, void, (UINT, UINT, HMENU), OnMenuSelect)
#define ON_WM_MENUCHAR() AFX_ON_WM(WM_MENUCHAR, AfxSig_lwMM, LRESULT, (UINT, UINT, CMenu*), OnMenuChar)
#define ON_WM_ENTERIDLE() AFX_ON_WM(WM_ENTERIDLE, AfxSig_vwW, void, (UINT, CWnd*), OnEnterIdle)
#define ON_WM_MOUSEMOVE() AFX_ON_WM(WM_MOUSEMOVE, AfxSig_vwp, void, (UINT, CPoint), OnMouseMove)
#define ON_WM_MOUSEWHEEL() AFX_ON_WM(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL, (UINT, short, CPoint), OnMouseWheel)
#define ON_WM_LBUTTONDOWN() AFX_ON_WM(WM_LBUTTONDOWN, AfxSig_vwp, void, (UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_ON_WM(WM_LBUTTONUP, AfxSig_vwp, void, (UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_ON_WM(WM_LBUTTONDBLCLK, AfxSig_vwp, void, (UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_ON_WM(WM_RBUTTONDOWN, AfxSig_vwp, void, (UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_ON_WM(WM_RBUTTONUP, AfxSig_vwp, void, (UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_ON_WM(WM_RBUTTONDBLCLK, AfxSig_vwp, void, (UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_ON_WM(WM_MBUTTONDOWN, AfxSig_vwp, void, (UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_ON_WM(WM_MBUTTONUP, AfxSig_vwp, void, (UINT, CPoint), OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_ON_WM(WM_MBUTTONDBLCLK, AfxSig_vwp, void, (UINT, CPoint), OnMButtonDblClk)
#define ON_WM_PARENTNOTIFY() AFX_ON_WM(WM_PARENTNOTIFY, AfxSig_vwl, void, (UINT, LPARAM), OnParentNotify)
#define ON_WM_MDIACTIVATE() AFX_ON_WM(WM_MDIACTIVATE, AfxSig_vbWW, void, (BOOL, CWnd*, CWnd*), OnMDIActivate)
#define ON_WM_RENDERFORMAT() AFX_ON_WM(WM_RENDERFORMAT, AfxSig_vw, void, (UINT), OnRenderFormat)
#define ON_WM_RENDERALLFORMATS() AFX_ON_WM(WM_RENDERALLFORMATS, AfxSig_vv, void, (), OnRenderAllFormats)
#define ON_WM_DESTROYCLIPBOARD() AFX_ON_WM(WM_DESTROYCLIPBOARD, AfxSig_vv, void, (), OnDestroyClipboard)
#define ON_WM_DRAWCLIPBOARD() AFX_ON_WM(WM_DRAWCLIPBOARD, AfxSig_vv, void, (), OnDrawClipboard)
#define ON_WM_CHANGECBCHAIN() AFX_ON_WM(WM_CHANGECBCHAIN, AfxSig_vhh, void, (HWND, HWND), OnChangeCbChain)
#define ON_WM_QUERYNEWPALETTE() AFX_ON_WM(WM_QUERYNEWPALETTE, AfxSig_bv, BOOL, (), OnQueryNewPalette)
#define ON_WM_PALETTECHANGED() AFX_ON_WM(WM_PALETTECHANGED, AfxSig_vW, void, (CWnd*), OnPaletteChanged)
#define ON_WM_PALETTEISCHANGING() AFX_ON_WM(WM_PALETTEISCHANGING, AfxSig_vW, void, (CWnd*), OnPaletteIsChanging)
#define ON_WM_DROPFILES() AFX_ON_WM(WM_DROPFILES, AfxSig_vh, void, (HDROP), OnDropFiles)
#define ON_WM_WINDOWPOSCHANGING() AFX_ON_WM(WM_WINDOWPOSCHANGING, AfxSig_vPOS, void, (WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_ON_WM(WM_WINDOWPOSCHANGED, AfxSig_vPOS, void, (WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_CAPTURECHANGED() AFX_ON_WM(WM_CAPTURECHANGED, AfxSig_vW2, void, (CWnd*), OnCaptureChanged)
#define ON_WM_CONTEXTMENU() AFX_ON_WM(WM_CONTEXTMENU, AfxSig_vWp, void, (CWnd*, CPoint), OnContextMenu)
#define ON_WM_STYLECHANGED() AFX_ON_WM(WM_STYLECHANGED, AfxSig_viSS, void, (int, LPSTYLESTRUCT), OnStyleChanged)
#define ON_WM_STYLECHANGING() AFX_ON_WM(WM_STYLECHANGING, AfxSig_viSS, void, (int, LPSTYLESTRUCT), OnStyleChanging)
#define ON_WM_HELPINFO() AFX_ON_WM(WM_HELP, AfxSig_bHELPINFO, BOOL, (HELPINFO*), OnHelpInfo)
#define ON_WM_COPYDATA() AFX_ON_WM(WM_COPYDATA, AfxSig_bWCDS, BOOL, (CWnd*, COPYDATASTRUCT*), OnCopyData)
#define ON_WM_DEVICECHANGE() AFX_ON_WM(WM_DEVICECHANGE, AfxSig_bwwp, BOOL, (UINT, DWORD_PTR), OnDeviceChange)
#define ON_WM_ENTERSIZEMOVE() AFX_ON_WM(WM_ENTERSIZEMOVE, AfxSig_vv, void, (), OnEnterSizeMove)
#define ON_WM_EXITSIZEMOVE() AFX_ON_WM(WM_EXITSIZEMOVE, AfxSig_vv, void, (), OnExitSizeMove)
#define ON_WM_ENTERMENULOOP() AFX_ON_WM(WM_ENTERMENULOOP, AfxSig_vb, void, (BOOL), OnEnterMenuLoop)
#define ON_WM_EXITMENULOOP() AFX_ON_WM(WM_EXITMENULOOP, AfxSig_vb, void, (BOOL), OnExitMenuLoop)


// ---------------------------------------------------------------------------------------------
// CCmdTarget: the root of everything that receives commands. It also carries the hooks of the
// automation and interface layer (its maps and reference count), which that layer implements.

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget();
  virtual ~CCmdTarget();

  // Command routing: looks this object's message maps up for the command; see OnCmdMsg of
  // the window classes for the order in which targets are asked.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  // --- automation and interface seams (implemented by the OLE layer) ---
  LPDISPATCH GetIDispatch(BOOL bAddRef);
  static CCmdTarget* PASCAL FromIDispatch(LPDISPATCH lpDispatch);
  void EnableAutomation();
  void EnableConnections();
  BOOL IsResultExpected();
  DWORD InternalQueryInterface(const void* iid, LPVOID* ppvObj);
  DWORD InternalAddRef();
  DWORD InternalRelease();
  DWORD ExternalQueryInterface(const void* iid, LPVOID* ppvObj);
  DWORD ExternalAddRef();
  DWORD ExternalRelease();
  LPUNKNOWN GetControllingUnknown();
  LPUNKNOWN GetInterface(const void* iid);
  LPUNKNOWN QueryAggregates(const void* iid);
  virtual void OnFinalRelease();
  virtual BOOL IsInvokeAllowed(DISPID dispid);
  virtual BOOL GetDispatchIID(IID* pIID);
  virtual UINT GetTypeInfoCount();
  virtual HRESULT GetTypeInfoOfGuid(LCID lcid, const GUID& guid, LPTYPEINFO* ppTypeInfo);
  virtual BOOL OnEvent(UINT idCtrl, AFX_EVENT* pEvent, AFX_CMDHANDLERINFO* pHandlerInfo);
  virtual LPUNKNOWN GetInterfaceHook(const void* iid);
  virtual BOOL OnCreateAggregates();

  LONG m_dwRef;             // reference count of the object's interfaces (32 bits, as COM counts)
  LPUNKNOWN m_pOuterUnknown; // controlling unknown when aggregated
  DWORD_PTR m_xInnerUnknown; // placeholder for the inner unknown's vtable
  BOOL m_bResultExpected;
  struct XDispatch {
    DWORD_PTR m_vtbl;
  } m_xDispatch;            // the IDispatch of an automation-enabled object (vtable set by EnableAutomation)

 protected:
  virtual const AFX_MSGMAP* GetMessageMap() const;
  virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;
  virtual const AFX_DISPMAP* GetDispatchMap() const;
  virtual const AFX_CONNECTIONMAP* GetConnectionMap() const;
  virtual const AFX_EVENTSINKMAP* GetEventSinkMap() const;

  static const AFX_MSGMAP* PASCAL GetThisMessageMap();
  // Roots of the OLE layer's maps: each map of a derived class chains to its base class's
  // GetThisXxxMap; the OLE layer's DECLARE_/BEGIN_ macros build on these.
  static const AFX_INTERFACEMAP* PASCAL GetThisInterfaceMap();
  static const AFX_DISPMAP* PASCAL GetThisDispatchMap();
  static const AFX_CONNECTIONMAP* PASCAL GetThisConnectionMap();
  static const AFX_EVENTSINKMAP* PASCAL GetThisEventSinkMap();

 public:
  // Looks a window message up in the maps of this object and its bases (NULL: no entry).
  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMsg, UINT nCode, UINT nID) const;
  friend class CWnd;
  friend class CCmdUI;
};

// Command user-interface state: one menu item, a control, or (through derived classes) a
// tool-bar button or status pane, asked to show whether its command can run.
class CCmdUI {
 public:
  UINT m_nID;
  UINT m_nIndex;        // menu item or other index
  CMenu* m_pMenu;       // NULL unless a menu
  CMenu* m_pSubMenu;    // sub-menu of a popup item
  CWnd* m_pOther;       // NULL unless a window
  BOOL m_bEnableChanged;
  BOOL m_bContinueRouting;
  UINT m_nIndexMax;     // last + 1 for iterating m_nIndex
  CMenu* m_pParentMenu; // the menu that holds a popup

  CCmdUI();
  virtual ~CCmdUI() {}

  virtual void Enable(BOOL bOn = TRUE);
  virtual void SetCheck(int nCheck = 1);  // 0, 1 or 2 (indeterminate)
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCTSTR lpszText);

  // Lets the update handler pass the request on to the next command target.
  void ContinueRouting();

  // Asks pTarget's handler; without one, disables the item when bDisableIfNoHndler and no
  // command handler exists either. TRUE when an update handler took it.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// A CCmdUI that only records whether the item would be enabled.
class CTestCmdUI : public CCmdUI {
 public:
  CTestCmdUI();
  virtual void Enable(BOOL bOn) override;
  virtual void SetCheck(int nCheck) override;
  virtual void SetRadio(BOOL bOn) override;
  virtual void SetText(LPCTSTR lpszText) override;
  BOOL m_bEnabled;
};

// ---------------------------------------------------------------------------------------------
// Creation context: what a frame needs to build its view and attach it to a document.
class CCreateContext {
 public:
  CRuntimeClass* m_pNewViewClass;
  CDocument* m_pCurrentDoc;
  CDocTemplate* m_pNewDocTemplate;
  CView* m_pLastView;
  CFrameWnd* m_pCurrentFrame;
  CCreateContext() { memset(this, 0, sizeof(*this)); }
};

// Flags in CWnd::m_nFlags
#define WF_TOOLTIPS 0x0001
#define WF_TEMPHIDE 0x0002
#define WF_STAYDISABLED 0x0004
#define WF_MODALLOOP 0x0008
#define WF_CONTINUEMODAL 0x0010
#define WF_STAYACTIVE 0x0020
#define WF_NOPOPMSG 0x0040
#define WF_MODALDISABLE 0x0080
#define WF_OLECTLCONTAINER 0x0100
#define WF_KEEPMINIACTIVE 0x0200
#define WF_TRACKINGTOOLTIPS 0x0400
#define WF_NOWIN3DBORDER 0x0800

// CWnd::RunModalLoop flags
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004

// RepositionBars modes
#define reposDefault 0
#define reposQuery 1
#define reposExtra 2

// CWnd::CalcWindowRect modes
#define adjustBorder 0
#define adjustOutside 1

// ---------------------------------------------------------------------------------------------
// CWnd: a window object. Windows created through it, or attached to it, are subclassed so
// that every message passes through WindowProc and the message maps.
class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)

 public:
  HWND m_hWnd;
  HWND m_hWndOwner;  // owner kept by the framework for frames and bars
  UINT m_nFlags;
  WNDPROC m_pfnSuper;  // the window procedure messages go to by default
  int m_nModalResult;  // result of RunModalLoop, set by EndModalLoop

  // Control container seams (the OLE layer implements them)
  COleControlSite* m_pCtrlSite;   // this window is an OLE control hosted by that site
  COleControlContainer* m_pCtrlCont;  // this window hosts OLE controls

  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  CWnd();
  explicit CWnd(HWND hWnd);  // a plain stand-in for a handle; not entered in the maps
  virtual ~CWnd();

  operator HWND() const { return AfxIsNullThis(this) ? NULL : m_hWnd; }
  HWND GetSafeHwnd() const { return AfxIsNullThis(this) ? NULL : m_hWnd; }
  BOOL operator==(const CWnd& wnd) const { return wnd.m_hWnd == m_hWnd; }
  BOOL operator!=(const CWnd& wnd) const { return wnd.m_hWnd != m_hWnd; }

  // Handle maps: a permanent object for every window made or attached through the framework;
  // FromHandle makes a temporary one for others, deleted at the thread's next idle time.
  static CWnd* PASCAL FromHandle(HWND hWnd);
  static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
  static void PASCAL DeleteTempMap();
  BOOL Attach(HWND hWndNew);
  HWND Detach();
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();

  // Creation
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                      const RECT& rect, CWnd* pParentWnd, UINT nID,
                      CCreateContext* pContext = NULL);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                LPVOID lpParam = NULL);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);
  virtual BOOL DestroyWindow();
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual void PreSubclassWindow();
  virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);
  virtual void PostNcDestroy();

  // Control container (implemented by the OLE layer)
  BOOL CreateControl(LPCTSTR pszClass, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                     CWnd* pParentWnd, UINT nID, CFile* pPersist = NULL, BOOL bStorage = FALSE,
                     BSTR bstrLicKey = NULL);
  BOOL CreateControl(REFCLSID clsid, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                     CWnd* pParentWnd, UINT nID, CFile* pPersist = NULL, BOOL bStorage = FALSE,
                     BSTR bstrLicKey = NULL);
  BOOL CreateControl(REFCLSID clsid, LPCTSTR pszWindowName, DWORD dwStyle, const POINT* ppt,
                     const SIZE* psize, CWnd* pParentWnd, UINT nID, CFile* pPersist = NULL,
                     BOOL bStorage = FALSE, BSTR bstrLicKey = NULL);
  LPUNKNOWN GetControlUnknown();
  void AFX_CDECL InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                              const BYTE* pbParamInfo, ...);
  void AFX_CDECL SetProperty(DISPID dwDispID, VARTYPE vtProp, ...);
  void GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;
  BOOL ExecuteDlgInit(LPCTSTR lpszResourceName);
  BOOL ExecuteDlgInit(LPVOID lpResource);
  // A modeless dialog window from a template, attached to this object (dialog bars).
  BOOL CreateDlg(LPCTSTR lpszTemplateName, CWnd* pParentWnd);
  BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);
  // The OLE control sites of the template being created; windows that keep them say TRUE.
  virtual BOOL SetOccDialogInfo(struct _AFX_OCC_DIALOG_INFO* pOccDialogInfo);

  // Message processing
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                        AFX_CMDHANDLERINFO* pHandlerInfo) override;
  virtual BOOL IsFrameWnd() const;
  virtual BOOL ContinueModal();
  virtual void EndModalLoop(int nResult);
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;
  virtual CScrollBar* GetScrollBarCtrl(int nBar) const;
  virtual void DoDataExchange(CDataExchange* pDX);
  virtual BOOL CheckAutoCenter();
  virtual void OnFinalRelease() override;
  LRESULT Default();
  int RunModalLoop(DWORD dwFlags = 0);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = NULL);
  BOOL SendChildNotifyLastMsg(LRESULT* pResult = NULL);
  static const MSG* PASCAL GetCurrentMessage();
  // Offers a message to PreTranslateMessage of its window and each parent up to hWndStop.
  static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);  // defined with the data exchange classes
  void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
  BOOL EnableToolTips(BOOL bEnable = TRUE);
  void FilterToolTipMessage(MSG* pMsg);
  static void PASCAL CancelToolTips(BOOL bKeys = FALSE);

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendNotifyMessageA(m_hWnd, message, wParam, lParam);
  }
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                BOOL bDeep = TRUE, BOOL bOnlyPerm = FALSE);

  // Styles and identity
  DWORD GetStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE); }
  DWORD GetExStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE); }
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  static BOOL PASCAL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  static BOOL PASCAL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  int SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }
  CWnd* GetOwner() const;
  void SetOwner(CWnd* pOwnerWnd);
  void SetWindowText(LPCTSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
  int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
  }
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
  CFont* GetFont() const;
  CMenu* GetMenu() const;
  BOOL SetMenu(CMenu* pMenu);
  void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
  CMenu* GetSystemMenu(BOOL bRevert) const;
  HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
    return (HICON)::SendMessageA(m_hWnd, WM_SETICON, bBigIcon, (LPARAM)hIcon);
  }
  HICON GetIcon(BOOL bBigIcon) const {
    return (HICON)::SendMessageA(m_hWnd, WM_GETICON, bBigIcon, 0);
  }
  void DragAcceptFiles(BOOL bAccept = TRUE) { ::DragAcceptFiles(m_hWnd, bAccept); }

  // Size and position
  void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
  void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
  void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
  void ClientToScreen(LPRECT lpRect) const;
  void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
  void ScreenToClient(LPRECT lpRect) const;
  void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
    ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount);
  }
  void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
    ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), (LPPOINT)lpRect, 2);
  }
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
    if (m_pCtrlSite != NULL)
      AfxOleSiteMoveWindow(this, x, y, nWidth, nHeight, bRepaint);
    else
      ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
  }
  void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
               lpRect->bottom - lpRect->top, bRepaint);
  }
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    if (m_pCtrlSite != NULL)
      return AfxOleSiteSetWindowPos(this, pWndInsertAfter->GetSafeHwnd(), x, y, cx, cy, nFlags);
    return ::SetWindowPos(m_hWnd, pWndInsertAfter->GetSafeHwnd(), x, y, cx, cy, nFlags);
  }
  BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const {
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, lpwndpl);
  }
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) {
    ((WINDOWPLACEMENT*)lpwndpl)->length = sizeof(WINDOWPLACEMENT);
    return ::SetWindowPlacement(m_hWnd, lpwndpl);
  }
  int SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
  void CenterWindow(CWnd* pAlternateOwner = NULL);
  void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  void ShowOwnedPopups(BOOL bShow = TRUE) { ::ShowOwnedPopups(m_hWnd, bShow); }
  BOOL FlashWindow(BOOL bInvert) { return ::FlashWindow(m_hWnd, bInvert); }
  UINT ArrangeIconicWindows() { return ::ArrangeIconicWindows(m_hWnd); }

  // Painting
  void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, NULL, bErase); }
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
  void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE);
  void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
  void ValidateRgn(CRgn* pRgn);
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  BOOL RedrawWindow(LPCRECT lpRectUpdate = NULL, CRgn* prgnUpdate = NULL,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
  int GetUpdateRgn(CRgn* pRgn, BOOL bErase = FALSE);
  void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessageA(m_hWnd, WM_SETREDRAW, bRedraw, 0); }
  BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
  void UnlockWindowUpdate() { ::LockWindowUpdate(NULL); }
  // The members below that deal in CDC, CMenu and CFont objects are defined with the
  // windows layer (win_wnd_gdi.cpp).
  CDC* GetDC();
  CDC* GetWindowDC();
  CDC* GetDCEx(CRgn* prgnClip, DWORD flags);
  int ReleaseDC(CDC* pDC);
  CDC* BeginPaint(LPPAINTSTRUCT lpPaint);
  void EndPaint(LPPAINTSTRUCT lpPaint);
  void Print(CDC* pDC, DWORD dwFlags) const;
  void PrintClient(CDC* pDC, DWORD dwFlags) const;

  // Timers
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = NULL) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
  }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

  // Focus, activation and capture
  static CWnd* PASCAL GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
  CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
  static CWnd* PASCAL GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  static CWnd* PASCAL GetCapture() { return FromHandle(::GetCapture()); }
  CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
  static CWnd* PASCAL GetFocus() { return FromHandle(::GetFocus()); }
  CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
  static CWnd* PASCAL GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
  static CWnd* PASCAL WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
  static CWnd* PASCAL FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName) {
    return FromHandle(::FindWindowA(lpszClassName, lpszWindowName));
  }
  static CWnd* PASCAL GetSafeOwner(CWnd* pParent = NULL, HWND* pWndTop = NULL);

  // Window tree
  CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
  CWnd* SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd())); }
  CWnd* GetTopLevelParent() const;
  CWnd* GetTopLevelOwner() const;
  CWnd* GetParentOwner() const;
  CFrameWnd* GetParentFrame() const;
  CFrameWnd* GetTopLevelFrame() const;
  // Activates the top-level window above this one unless it or one of its popups is active.
  void ActivateTopParent();
  CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
  CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
  void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
  CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const {
    return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
  }
  CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const {
    return FromHandle(::GetNextDlgGroupItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
  }
  CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
  CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
  CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
  BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
  CWnd* ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }
  CWnd* ChildWindowFromPoint(POINT point, UINT nFlags) const {
    return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
  }

  // Dialog items
  void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
  int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const {
    return ::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount);
  }
  int GetDlgItemText(int nID, CString& rString) const;
  UINT GetDlgItemInt(int nID, BOOL* lpTrans = NULL, BOOL bSigned = TRUE) const {
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
  }
  void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
  void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
  UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
  void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck) {
    ::CheckRadioButton(m_hWnd, nIDFirst, nIDLast, nIDCheck);
  }
  int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
  }

  // Scrolling
  int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
  void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
    ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
  }
  void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) {
    ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
  }
  void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }
  void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);
  BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = ESB_ENABLE_BOTH) {
    return ::EnableScrollBar(m_hWnd, nSBFlags, nArrowFlags);
  }
  BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
  BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
  int GetScrollLimit(int nBar);
  void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = NULL, LPCRECT lpClipRect = NULL) {
    ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
  }
  int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                     LPRECT lpRectUpdate, UINT flags);

  // Layout of control bars and the client pane inside this window (see WM_SIZEPARENT).
  void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                      LPRECT lpRectParam = NULL, LPCRECT lpRectClient = NULL,
                      BOOL bStretch = TRUE);

  int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = NULL, UINT nType = MB_OK);
  BOOL OpenClipboard() { return ::OpenClipboard(m_hWnd); }

  // Handlers of the window messages; the base versions do the default processing.
 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnMove(int x, int y);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSizing(UINT nSide, LPRECT lpRect);
  afx_msg void OnMoving(UINT nSide, LPRECT lpRect);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnPaint();
  afx_msg void OnClose();
  afx_msg BOOL OnQueryEndSession();
  afx_msg void OnEndSession(BOOL bEnding);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSysColorChange();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  afx_msg void OnWinIniChange(LPCTSTR lpszSection);
  afx_msg void OnDevModeChange(LPTSTR lpDeviceName);
  afx_msg void OnFontChange();
  afx_msg void OnTimeChange();
  afx_msg void OnCancelMode();
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnChildActivate();
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnIconEraseBkgnd(CDC* pDC);
  afx_msg void OnSpoolerStatus(UINT nStatus, UINT nJobs);
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
  afx_msg int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  afx_msg int OnCharToItem(UINT nChar, CListBox* pListBox, UINT nIndex);
  afx_msg int OnVKeyToItem(UINT nKey, CListBox* pListBox, UINT nIndex);
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg void OnCompacting(UINT nCpuTime);
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnNcDestroy();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcPaint();
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnNcMButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcMButtonUp(UINT nHitTest, CPoint point);
  afx_msg void OnNcMButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnInitMenu(CMenu* pMenu);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
  afx_msg void OnRenderFormat(UINT nFormat);
  afx_msg void OnRenderAllFormats();
  afx_msg void OnDestroyClipboard();
  afx_msg void OnDrawClipboard();
  afx_msg void OnChangeCbChain(HWND hWndRemove, HWND hWndAfter);
  afx_msg BOOL OnQueryNewPalette();
  afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
  afx_msg void OnPaletteIsChanging(CWnd* pRealizeWnd);
  afx_msg void OnDropFiles(HDROP hDropInfo);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
  afx_msg void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
  afx_msg void OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
  afx_msg BOOL OnHelpInfo(HELPINFO* lpHelpInfo);
  afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
  afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
  afx_msg void OnEnterSizeMove();
  afx_msg void OnExitSizeMove();
  afx_msg void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
  afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu);

  // Reflected handlers, implemented by controls that draw or colour themselves.
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  afx_msg void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);
  afx_msg int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  afx_msg void HScroll(UINT nSBCode, UINT nPos);
  afx_msg void VScroll(UINT nSBCode, UINT nPos);
  afx_msg void ParentNotify(UINT message, LPARAM lParam);

  // Framework-internal messages handled by every window
  afx_msg LRESULT OnDisplayChange(WPARAM, LPARAM);

 public:
  BOOL HandleSetCursor(LPARAM lParam);
  // Performs the default processing for a message handled through a map.
  LRESULT DispatchMapEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT message, WPARAM wParam,
                           LPARAM lParam);

  DECLARE_MESSAGE_MAP()
  friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
  friend class CWinThread;
};

// Hooks of the control container for windows that host or are OLE controls.
BOOL AFXAPI AfxOleSiteDestroyWindow(CWnd* pWnd);
void AFXAPI AfxOleWndNcDestroy(CWnd* pWnd);

// The window procedure of every framework window, and the call path it uses.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
WNDPROC AFXAPI AfxGetAfxWndProc();

// Window classes: AfxRegisterWndClass makes (once) a class with the given look and returns
// its name; the framework's own classes are registered on first use.
LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = 0,
                                   HBRUSH hbrBackground = 0, HICON hIcon = 0);
BOOL AFXAPI AfxRegisterClass(WNDCLASSA* lpWndClass);
#define AFX_WND "AfxWnd42s"
#define AFX_WNDCONTROLBAR "AfxControlBar42s"
#define AFX_WNDMDIFRAME "AfxMDIFrame42s"
#define AFX_WNDFRAMEORVIEW "AfxFrameOrView42s"
#define AFX_WNDOLECONTROL "AfxOleControl42s"
#define AFX_WNDCOMMCTLS "AfxCommCtls42s"
#define AFX_WND_REG 0x0001
#define AFX_WNDCONTROLBAR_REG 0x0002
#define AFX_WNDMDIFRAME_REG 0x0004
#define AFX_WNDFRAMEORVIEW_REG 0x0008
#define AFX_WNDCOMMCTLS_REG 0x0010
#define AFX_WNDOLECONTROL_REG 0x0020
BOOL AFXAPI AfxDeferRegisterClass(LONG fClass);

// ---------------------------------------------------------------------------------------------
// Threads and the application

typedef UINT (AFX_CDECL* AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)

 public:
  CWinThread();
  CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
  virtual ~CWinThread();

  BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                    LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);

  CWnd* m_pMainWnd;     // the thread's main window
  CWnd* m_pActiveWnd;   // active main window (in-place activation)
  BOOL m_bAutoDelete;   // delete this object when the thread ends
  HANDLE m_hThread;
  DWORD m_nThreadID;

  operator HANDLE() const { return AfxIsNullThis(this) ? NULL : m_hThread; }
  int GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
  BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
  DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
  DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
  BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
  }

  virtual BOOL InitInstance();
  virtual int Run();
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL PumpMessage();
  virtual BOOL OnIdle(LONG lCount);
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual int ExitInstance();
  virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
  virtual BOOL ProcessMessageFilter(int code, LPMSG lpMsg);
  virtual CWnd* GetMainWnd();
  virtual void Delete();

  // The message being handled and the state that detects repeated mouse moves
  MSG m_msgCur;
  POINT m_ptCursorLast;
  UINT m_nMsgLast;
  int m_nDisablePumpCount;

  AFX_THREADPROC m_pfnThreadProc;
  LPVOID m_pThreadParams;

 protected:
  DECLARE_MESSAGE_MAP()
};

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                  int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                  DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass,
                                  int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                  DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
CWinThread* AFXAPI AfxGetThread();
BOOL AFXAPI AfxPumpMessage();

// Command-line parsing
class CCommandLineInfo : public CObject {
 public:
  CCommandLineInfo();
  virtual ~CCommandLineInfo();
  // Called for each argument: a flag ("/x" or "-x", without the prefix) or a parameter.
  virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

  BOOL m_bShowSplash;
  BOOL m_bRunEmbedded;
  BOOL m_bRunAutomated;
  enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 }
      m_nShellCommand;
  CString m_strFileName;
  CString m_strPrinterName;
  CString m_strDriverName;
  CString m_strPortName;

 protected:
  void ParseParamFlag(const char* pszParam);
  void ParseParamNotFlag(const char* pszParam);
  void ParseLast(BOOL bLast);
  friend class CWinApp;
};

// Splits a command line into arguments the way the C runtime does (quotes, backslashes).
void AFXAPI AfxSplitCommandLine(LPCTSTR lpszCmdLine, CStringArray& args);

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)

 public:
  explicit CWinApp(LPCTSTR lpszAppName = NULL);
  virtual ~CWinApp();

  LPCTSTR m_pszAppName;       // the title of message boxes (from AFX_IDS_APP_TITLE when NULL)
  HINSTANCE m_hInstance;
  HINSTANCE m_hPrevInstance;
  LPTSTR m_lpCmdLine;
  int m_nCmdShow;
  LPCTSTR m_pszExeName;       // executable name without folder and extension
  LPCTSTR m_pszHelpFilePath;
  LPCTSTR m_pszProfileName;   // registry: the application's key name; else an .INI file
  LPCTSTR m_pszRegistryKey;   // company key under HKEY_CURRENT_USER\Software; NULL: .INI file
  BOOL m_bHelpMode;
  CDocManager* m_pDocManager;
  CRecentFileList* m_pRecentFileList;
  HGLOBAL m_hDevMode;         // printer defaults
  HGLOBAL m_hDevNames;
  DWORD m_dwPromptContext;
  int m_nWaitCursorCount;
  HCURSOR m_hcurWaitCursorRestore;
  UINT m_nNumPreviewPages;

  // Resources
  HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
  HCURSOR LoadCursor(UINT nIDResource) const;
  HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
  HCURSOR LoadOEMCursor(UINT nIDCursor) const;
  HICON LoadIcon(LPCTSTR lpszResourceName) const;
  HICON LoadIcon(UINT nIDResource) const;
  HICON LoadStandardIcon(LPCTSTR lpszIconName) const;
  HICON LoadOEMIcon(UINT nIDIcon) const;

  // Profile: values under HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section>
  // once SetRegistryKey has run, else in the .INI file m_pszProfileName.
  UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
  BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
  CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = NULL);
  BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
  BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
  BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);
  HKEY GetAppRegistryKey();
  HKEY GetSectionKey(LPCTSTR lpszSection);
  void SetRegistryKey(LPCTSTR lpszRegistryKey);
  void SetRegistryKey(UINT nIDRegistryKey);
  void LoadStdProfileSettings(UINT nMaxMRU = 4);
  void SaveStdProfileSettings();

  // Documents
  void AddDocTemplate(CDocTemplate* pTemplate);
  POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
  virtual void AddToRecentFileList(LPCTSTR lpszPathName);
  BOOL SaveAllModified();
  void CloseAllDocuments(BOOL bEndSession);
  virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                                BOOL bOpenFileDialog, CDocTemplate* pTemplate);
  int GetOpenDocumentCount();

  // Printer defaults
  BOOL GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg);
  void SelectPrinter(HANDLE hDevNames, HANDLE hDevMode, BOOL bFreeOld = TRUE);
  BOOL CreatePrinterDC(CDC& dc);
  void UpdatePrinterSelection(BOOL bForceDefaults);

  // Command line
  void ParseCommandLine(CCommandLineInfo& rCmdInfo);
  BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

  BOOL Enable3dControls() { return TRUE; }
  BOOL Enable3dControlsStatic() { return TRUE; }
  void SetDialogBkColor(COLORREF clrCtlBk = RGB(192, 192, 192), COLORREF clrCtlText = RGB(0, 0, 0)) {}
  void HideApplication();

  virtual BOOL InitApplication();
  virtual BOOL InitInstance() override;
  virtual int ExitInstance() override;
  virtual int Run() override;
  virtual BOOL OnIdle(LONG lCount) override;
  virtual BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual BOOL SaveAllModifiedDocs() { return SaveAllModified(); }
  virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
  virtual void DoWaitCursor(int nCode);
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
  virtual BOOL OnDDECommand(LPTSTR lpszCommand);
  virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg) override;

  afx_msg void OnAppExit();
  afx_msg void OnFileNew();
  afx_msg void OnFileOpen();
  afx_msg void OnFilePrintSetup();
  afx_msg void OnHelp();
  afx_msg void OnHelpIndex();
  afx_msg void OnHelpFinder();
  afx_msg void OnHelpUsing();
  afx_msg BOOL OnOpenRecentFile(UINT nID);
  afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

  // The name of the program's own .INI file when no registry key is set.
  CString m_strIniPath;
  CString m_strAppNameOwned, m_strExeNameOwned, m_strProfileOwned, m_strRegKeyOwned,
      m_strHelpOwned;

 protected:
  DECLARE_MESSAGE_MAP()
};

// Global accessors
CWinApp* AFXAPI AfxGetApp();
CWnd* AFXAPI AfxGetMainWnd();
HINSTANCE AFXAPI AfxGetInstanceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
LPCTSTR AFXAPI AfxGetAppName();
BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine,
                       int nCmdShow);
void AFXAPI AfxWinTerm();
int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine,
                      int nCmdShow);
int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
// A framework string: the resource when the module has one, else the built-in text.
CString AFXAPI AfxLoadFrameworkString(UINT nID);
BOOL AFXAPI AfxIsDescendant(HWND hWndParent, HWND hWndChild);

// ---------------------------------------------------------------------------------------------
// Documents and views

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)

 public:
  CDocument();
  virtual ~CDocument();

  const CString& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(LPCTSTR lpszTitle);
  const CString& GetPathName() const { return m_strPathName; }
  virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  virtual POSITION GetFirstViewPosition() const;
  virtual CView* GetNextView(POSITION& rPosition) const;
  void AddView(CView* pView);
  void RemoveView(CView* pView);
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = NULL);

  virtual void OnChangedViewList();
  virtual void DeleteContents();
  virtual BOOL OnNewDocument();
  virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
  virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
  virtual void OnCloseDocument();
  virtual void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving,
                                       UINT nIDPDefault);
  virtual CFile* GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
  virtual void ReleaseFile(CFile* pFile, BOOL bAbort);
  virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
  virtual BOOL SaveModified();
  virtual void PreCloseFrame(CFrameWnd* pFrame);
  virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
  virtual BOOL DoFileSave();
  virtual void UpdateFrameCounts();
  virtual HMENU GetDefaultMenu();
  virtual HACCEL GetDefaultAccelerator();
  virtual void OnIdle();
  virtual void OnFinalRelease() override;
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                        AFX_CMDHANDLERINFO* pHandlerInfo) override;

  // Storage of the document in an archive
  virtual void Serialize(CArchive& ar) override;

  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate;
  CPtrList m_viewList;
  BOOL m_bModified;
  BOOL m_bAutoDelete;
  BOOL m_bEmbedded;

  afx_msg void OnFileClose();
  afx_msg void OnFileSave();
  afx_msg void OnFileSaveAs();
  afx_msg void OnFileSendMail();
  afx_msg void OnUpdateFileSendMail(CCmdUI* pCmdUI);

 protected:
  DECLARE_MESSAGE_MAP()
  friend class CDocTemplate;
};

// Printing state handed to the view's printing hooks.
class CPrintInfo {
 public:
  CPrintInfo();
  ~CPrintInfo();

  CPrintDialog* m_pPD;     // not made here: the print dialog's data is m_pd below
  PRINTDLGA m_pd;          // the print dialog's data; hDC is the printer DC once prepared
  BOOL m_bDocObject;
  BOOL m_bPreview;
  BOOL m_bDirect;
  BOOL m_bContinuePrinting;
  UINT m_nCurPage;
  UINT m_nNumPreviewPages;
  CString m_strPageDesc;
  LPVOID m_lpUserData;
  CRect m_rectDraw;
  UINT m_nJobNumber;
  DWORD m_dwFlags;
  UINT m_nOffsetPage;
  UINT m_nMinPage;
  UINT m_nMaxPage;
  UINT m_nFromPage;
  UINT m_nToPage;

  void SetMinPage(UINT nMinPage) { m_nMinPage = nMinPage; }
  void SetMaxPage(UINT nMaxPage) { m_nMaxPage = nMaxPage; }
  UINT GetMinPage() const { return m_nMinPage; }
  UINT GetMaxPage() const { return m_nMaxPage; }
  UINT GetFromPage() const { return m_nFromPage; }
  UINT GetToPage() const { return m_nToPage; }
  UINT GetOffsetPage() const { return m_nOffsetPage; }
};

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)

 public:
  CView();
  virtual ~CView();

  CDocument* GetDocument() const { return m_pDocument; }
  CFrameWnd* GetParentFrame() const { return CWnd::GetParentFrame(); }

  virtual BOOL IsSelected(const CObject* pDocItem) const;
  virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL);
  virtual void OnInitialUpdate();
  virtual void OnDraw(CDC* pDC) = 0;
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
  virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
  virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
  virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CView* pView);
  virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);
  virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
  virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;
  virtual CScrollBar* GetScrollBarCtrl(int nBar) const override;
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  virtual void PostNcDestroy() override;
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                        AFX_CMDHANDLERINFO* pHandlerInfo) override;

  BOOL DoPreparePrinting(CPrintInfo* pInfo);

  CDocument* m_pDocument;

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnFilePrint();
  afx_msg void OnFilePrintPreview();
  afx_msg LRESULT OnInitialUpdateMsg(WPARAM, LPARAM);

 protected:
  DECLARE_MESSAGE_MAP()
  friend class CDocument;
  friend class CFrameWnd;
};

class CScrollView : public CView {
  DECLARE_DYNAMIC(CScrollView)

 public:
  CScrollView();
  virtual ~CScrollView();

  static const SIZE sizeDefault;
  void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                      const SIZE& sizeLine = sizeDefault);
  CPoint GetScrollPosition() const;
  CSize GetTotalSize() const { return m_totalLog; }
  void ScrollToPosition(POINT pt);
  void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;
  virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL) override;
  virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE) override;
  virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE) override;

  int m_nMapMode;
  CSize m_totalLog, m_totalDev, m_pageDev, m_lineDev;

 protected:
  void UpdateBars();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------------------------
// Frame windows

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)

 public:
  static const CRect rectDefault;
  CFrameWnd();
  virtual ~CFrameWnd();

  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
              DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
              CWnd* pParentWnd = NULL, LPCTSTR lpszMenuName = NULL, DWORD dwExStyle = 0,
              CCreateContext* pContext = NULL);
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

  // Active view and document
  virtual CFrameWnd* GetActiveFrame();
  virtual CDocument* GetActiveDocument();
  CView* GetActiveView() const;
  void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);

  BOOL m_bAutoMenuEnable;   // disable menu items that have no handler
  CString m_strTitle;

  virtual void ActivateFrame(int nCmdShow = -1);
  virtual void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
  virtual void RecalcLayout(BOOL bNotify = TRUE);
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
  virtual HACCEL GetDefaultAccelerator();
  virtual BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                        AFX_CMDHANDLERINFO* pHandlerInfo) override;
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  virtual BOOL IsFrameWnd() const override;
  virtual void PostNcDestroy() override;
  virtual void GetMessageString(UINT nID, CString& rMessage) const;
  virtual void OnSetPreviewMode(BOOL bPreview, void* pState);
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  virtual void OnSetMessageStringHook() {}
  virtual void NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder);
  virtual void DelayUpdateFrameMenu(HMENU hMenuAlt);
  virtual BOOL OnBarCheck(UINT nID);
  virtual void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
  virtual BOOL IsTracking() const { return FALSE; }
  virtual void SetMessageText(LPCTSTR lpszText);
  void SetMessageText(UINT nID);
  void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
  void BeginModalState();
  void EndModalState();
  BOOL InModalState() const { return m_cModalStack != 0; }
  void ShowOwnedWindows(BOOL bShow);
  // Tells the floating windows owned by the top-level frame (WM_FLOATSTATUS) of a change of
  // activation or enabling (FS_ flags), and keeps the frame's caption in step.
  void NotifyFloatingWindows(DWORD dwFlags);
  // The activation step every frame takes: the top-level frame stays active (looks so) while
  // the active window is itself or a floating window of it that asks so; floating windows
  // are told.
  void KeepTopLevelActive(UINT nState, CWnd* pWndOther);
  void DelayRecalcLayout(BOOL bNotify = TRUE);
  CWnd* GetMessageBar();
  HMENU GetDefaultMenu() const { return m_hMenuDefault; }

  // Control bars and docking: the list and hooks that the bar classes fill in. The docking
  // operations (EnableDocking to GetDockState) are defined with the control bars.
  CPtrList m_listControlBars;
  CRuntimeClass* m_pFloatingFrameClass;
  void EnableDocking(DWORD dwDockStyle);
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = NULL);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
  void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  CControlBar* GetControlBar(UINT nID);
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
  void AddControlBar(CControlBar* pBar);
  void RemoveControlBar(CControlBar* pBar);
  CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
  DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = NULL);
  void LoadBarState(LPCTSTR lpszProfileName);
  void SaveBarState(LPCTSTR lpszProfileName) const;
  void SetDockState(const CDockState& state);
  void GetDockState(CDockState& state) const;

  // Idle-time work: layout, menu and title updates are coalesced until the next idle.
  enum { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
  UINT m_nIdleFlags;
  UINT m_nIDHelp;           // resource id the frame was loaded with
  HMENU m_hMenuDefault;
  HACCEL m_hAccelTable;
  DWORD m_dwPromptContext;
  BOOL m_bHelpMode;
  CFrameWnd* m_pNextFrameWnd;
  CRect m_rectBorder;
  COleControlContainer* m_pNotifyHook;
  CView* m_pViewActive;
  int m_nShowDelay;
  int m_cModalStack;
  HWND* m_phWndDisable;
  HMENU m_hMenuAlt;
  CString m_strPromptText;
  UINT m_nIDTracking;
  UINT m_nIDLastMessage;
  BOOL m_bInRecalcLayout;
  CRuntimeClass* m_pDockBarClass;
  int m_nWindow;            // window number shown in the title (-1: none)

  // Creation steps shared by the frame kinds.
  int OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  LPCTSTR GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource);
  void BringToTop(int nCmdShow);

  // Frames of the thread: every live frame, newest first.
  static CFrameWnd* PASCAL GetFirstFrameWnd();

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnClose();
  afx_msg void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg void OnIdleUpdateCmdUI();
  afx_msg LRESULT OnIdleUpdateCmdUIMsg(WPARAM, LPARAM);
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg BOOL OnQueryEndSession();
  afx_msg void OnEndSession(BOOL bEnding);
  afx_msg void OnDropFiles(HDROP hDropInfo);
  afx_msg LRESULT OnRecalcParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnQueryCenterWnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
  afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

 protected:
  DECLARE_MESSAGE_MAP()
  friend class CWinApp;
  friend class CView;
};

class CMiniFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMiniFrameWnd)

 public:
  CMiniFrameWnd();
  virtual ~CMiniFrameWnd();
  BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
              CWnd* pParentWnd = NULL, UINT nID = 0);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd = NULL, UINT nID = 0);
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL m_bSysTracking, m_bInSys, m_bActive;
  CString m_strCaption;

  // Grows a client rectangle by the borders and caption of a mini frame of that style.
  static void PASCAL CalcBorders(LPRECT lpClientRect, DWORD dwStyle = WS_THICKFRAME | WS_CAPTION,
                                 DWORD dwExStyle = 0);
  // Sizing borders by style: MFS_MOVEFRAME borders move the frame, MFS_4THICKFRAME sizes
  // from the four edges only, MFS_THICKFRAME from edges and corners.
  afx_msg LRESULT OnNcHitTest(CPoint point);

  // What its frame tells a floating window (FS_ flags); with MFS_SYNCACTIVE it answers
  // FS_SYNCACTIVE and shows the frame's activation in its own caption.
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);

 protected:
  DECLARE_MESSAGE_MAP()
};

// Style of the views a frame makes
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

// Mini frame styles
#define MFS_SYNCACTIVE 0x00000100L
#define MFS_4THICKFRAME 0x00000200L
#define MFS_THICKFRAME 0x00000400L
#define MFS_MOVEFRAME 0x00000800L
#define MFS_BLOCKSYSMENU 0x00001000L

class CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIFrameWnd)

 public:
  CMDIFrameWnd();
  HWND m_hWndMDIClient;

  void MDIActivate(CWnd* pWndActivate);
  CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = NULL) const;
  void MDIIconArrange();
  void MDIMaximize(CWnd* pWnd);
  void MDINext();
  void MDIRestore(CWnd* pWnd);
  CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);
  void MDITile();
  void MDICascade();
  void MDITile(int nType);
  void MDICascade(int nType);

  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
  virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                        AFX_CMDHANDLERINFO* pHandlerInfo) override;
  virtual BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  virtual void OnUpdateFrameMenu(HMENU hMenuAlt) override;
  virtual void DelayUpdateFrameMenu(HMENU hMenuAlt) override;
  virtual CFrameWnd* GetActiveFrame() override;
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  virtual void RecalcLayout(BOOL bNotify = TRUE) override;

  afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
  afx_msg BOOL OnMDIWindowCmd(UINT nID);
  afx_msg void OnWindowNew();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();

 protected:
  DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIChildWnd)

 public:
  CMDIChildWnd();
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                      const RECT& rect = rectDefault, CMDIFrameWnd* pParentWnd = NULL,
                      CCreateContext* pContext = NULL);
  CMDIFrameWnd* GetMDIFrame();
  void MDIDestroy();
  void MDIActivate();
  void MDIMaximize();
  void MDIRestore();

  HMENU m_hMenuShared;

  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  virtual BOOL DestroyWindow() override;
  virtual BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual void ActivateFrame(int nCmdShow = -1) override;
  virtual void OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt);
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual CFrameWnd* GetActiveFrame() override;
  using CFrameWnd::OnUpdateFrameMenu;

  BOOL m_bPseudoInactive;

  afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);

 protected:
  DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------------------------
// Document templates

class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)

 protected:
  CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
               CRuntimeClass* pViewClass);

 public:
  virtual ~CDocTemplate();

  // The template's string resource: up to seven fields separated by '\n'.
  enum DocStringIndex {
    windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId,
    regFileTypeName
  };
  virtual BOOL GetDocString(CString& rString, enum DocStringIndex index) const;

  enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign,
                    yesAttemptNative, yesAlreadyOpen };

  virtual void LoadTemplate();
  virtual POSITION GetFirstDocPosition() const = 0;
  virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
  virtual void AddDocument(CDocument* pDoc);
  virtual void RemoveDocument(CDocument* pDoc);
  virtual Confidence MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch);
  virtual CDocument* CreateNewDocument();
  virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
  virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL bEndSession);
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
  virtual void SetDefaultTitle(CDocument* pDocument) = 0;
  virtual void OnIdle();
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                        AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void SetContainerInfo(UINT nIDOleInPlaceContainer) { m_nIDContainerResource = nIDOleInPlaceContainer; }
  void SetServerInfo(UINT nIDOleEmbedding, UINT nIDOleInPlaceServer = 0,
                     CRuntimeClass* pOleFrameClass = NULL, CRuntimeClass* pOleViewClass = NULL);

  UINT m_nIDResource;
  UINT m_nIDServerResource;
  UINT m_nIDEmbeddingResource;
  UINT m_nIDContainerResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;
  CRuntimeClass* m_pOleFrameClass;
  CRuntimeClass* m_pOleViewClass;
  CString m_strDocStrings;
  BOOL m_bAutoDelete;
  CObject* m_pAttachedFactory;
  HMENU m_hMenuInPlace;
  HACCEL m_hAccelInPlace;
  HMENU m_hMenuEmbedding;
  HACCEL m_hAccelEmbedding;
  HMENU m_hMenuInPlaceServer;
  HACCEL m_hAccelInPlaceServer;
};

class CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)

 public:
  CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                     CRuntimeClass* pViewClass);
  virtual ~CSingleDocTemplate();

  virtual void AddDocument(CDocument* pDoc) override;
  virtual void RemoveDocument(CDocument* pDoc) override;
  virtual POSITION GetFirstDocPosition() const override;
  virtual CDocument* GetNextDoc(POSITION& rPos) const override;
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
  virtual void SetDefaultTitle(CDocument* pDocument) override;

  CDocument* m_pOnlyDoc;
};

class CMultiDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CMultiDocTemplate)

 public:
  CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                    CRuntimeClass* pViewClass);
  virtual ~CMultiDocTemplate();

  virtual void LoadTemplate() override;
  virtual void AddDocument(CDocument* pDoc) override;
  virtual void RemoveDocument(CDocument* pDoc) override;
  virtual POSITION GetFirstDocPosition() const override;
  virtual CDocument* GetNextDoc(POSITION& rPos) const override;
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
  virtual void SetDefaultTitle(CDocument* pDocument) override;

  HMENU m_hMenuShared;
  HACCEL m_hAccelTable;
  CPtrList m_docList;
  UINT m_nUntitledCount;
};

// The application's list of templates and the documents' shared commands.
class CDocManager : public CObject {
  DECLARE_DYNAMIC(CDocManager)

 public:
  CDocManager();
  virtual ~CDocManager();

  virtual void AddDocTemplate(CDocTemplate* pTemplate);
  virtual POSITION GetFirstDocTemplatePosition() const;
  virtual CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL bEndSession);
  virtual int GetOpenDocumentCount();
  virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                                BOOL bOpenFileDialog, CDocTemplate* pTemplate);
  virtual void OnFileNew();
  virtual void OnFileOpen();
  virtual BOOL OnDDECommand(LPTSTR lpszCommand);

  CPtrList m_templateList;
};

// Dialogs, data exchange and the control wrappers.
#include "afxdlg_.h"

#endif
