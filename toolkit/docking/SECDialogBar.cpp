// The toolkit's dialog bar.
#include "SECDialogBar.h"
#include "SECDockState.h"

IMPLEMENT_DYNCREATE(SECDialogBar, SECControlBar)

SECDialogBar::SECDialogBar()
    : m_sizeDefault(0, 0), m_lpszTemplateName(NULL), m_pOccDialogInfo(NULL)
{
}

SECDialogBar::~SECDialogBar()
{
  if (m_hWnd != NULL && ::IsWindow(m_hWnd))
    DestroyWindow();
}

BOOL SECDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, DWORD dwStyle, DWORD dwExStyle,
                          UINT nID)
{
  return Create(pParentWnd, MAKEINTRESOURCE(nIDTemplate), dwStyle, dwExStyle, nID);
}

BOOL SECDialogBar::Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, DWORD dwStyle,
                          DWORD dwExStyle, UINT nID)
{
  m_dwStyle = dwStyle & CBRS_ALL;
  m_dwExStyle = dwExStyle;
  CREATESTRUCT cs;
  memset(&cs, 0, sizeof(cs));
  cs.lpszClass = NULL;
  cs.style = (DWORD)dwStyle | WS_CHILD;
  cs.hMenu = (HMENU)(UINT_PTR)nID;
  cs.hInstance = AfxGetInstanceHandle();
  cs.hwndParent = pParentWnd->GetSafeHwnd();
  if (!PreCreateWindow(cs))
    return FALSE;
  m_dwStyle = dwStyle & CBRS_ALL;  // PreCreateWindow read them from the style word
  m_lpszTemplateName = lpszTemplateName;
  BOOL bOk = CreateDlg(lpszTemplateName, pParentWnd);
  m_lpszTemplateName = IS_INTRESOURCE(lpszTemplateName) ? lpszTemplateName : NULL;
  if (!bOk)
    return FALSE;
  SetDlgCtrlID((int)nID);
  CRect rect;
  GetWindowRect(&rect);
  m_sizeDefault = rect.Size();
  ModifyStyle(WS_CAPTION, WS_CLIPSIBLINGS, 0);
  if (!ExecuteDlgInit(lpszTemplateName))
    return FALSE;
  RecordChildLayout();
  SetWindowPos(NULL, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                   ((dwStyle & WS_VISIBLE) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  m_szFloat = m_szHorzDock = m_szVertDock = m_sizeDefault;
  return TRUE;
}

BOOL SECDialogBar::SetOccDialogInfo(struct _AFX_OCC_DIALOG_INFO* pOccDialogInfo)
{
  m_pOccDialogInfo = pOccDialogInfo;
  return TRUE;
}

void SECDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void SECDialogBar::GetBarInfoEx(SECControlBarInfo* pInfo)
{
  // A template given by name has no number to store: 0.
  pInfo->m_nResourceID = IS_INTRESOURCE(m_lpszTemplateName) ? (UINT)(UINT_PTR)m_lpszTemplateName : 0;
  SECControlBar::GetBarInfoEx(pInfo);
}

int SECDialogBar::CheckDialogTemplate(LPCTSTR lpszTemplateName, BOOL bCheckStyle)
{
  HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
  HRSRC hResource = ::FindResourceA(hInst, lpszTemplateName, RT_DIALOG);
  if (hResource == NULL)
    return 0;
  if (!bCheckStyle)
    return 1;
  HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
  const WORD* pWords = hTemplate != NULL ? (const WORD*)::LockResource(hTemplate) : NULL;
  DWORD cb = ::SizeofResource(hInst, hResource);
  if (pWords == NULL || cb < 4)
    return 1;
  DWORD dwStyle;
  if (pWords[1] == 0xFFFF) {
    // extended: version, signature, help id, extended style, style
    if (cb < 16)
      return 1;
    memcpy(&dwStyle, (const BYTE*)pWords + 12, sizeof dwStyle);
  } else {
    memcpy(&dwStyle, pWords, sizeof dwStyle);
  }
  if (dwStyle & WS_VISIBLE)
    return 0;
  return (dwStyle & WS_CHILD) ? 1 : 0;
}
