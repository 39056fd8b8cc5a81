#include "SECWndPlugIn.h"

IMPLEMENT_DYNAMIC(SECWndPlugIn, CWnd)

SECWndPlugIn::SECWndPlugIn() : m_bPlugged(FALSE), m_bHandled(FALSE), m_bHandledAnswer(FALSE)
{
}

SECWndPlugIn::~SECWndPlugIn()
{
    // The handle is the host's: drop it so that the window part leaves the host alone.
    m_hWnd = NULL;
    m_bPlugged = FALSE;
}

BOOL SECWndPlugIn::PlugInTo(CWnd* host)
{
    if (host == NULL)
        return FALSE;
    m_hWnd = host->GetSafeHwnd();
    m_bPlugged = TRUE;
    return TRUE;
}

void SECWndPlugIn::UnPlug()
{
    m_bPlugged = FALSE;
    m_hWnd = NULL;
}

void SECWndPlugIn::SetHandled(BOOL handled)
{
    m_bHandled = TRUE;
    m_bHandledAnswer = handled;
}

BOOL SECWndPlugIn::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (!m_bPlugged)
        return FALSE;
    m_bHandled = FALSE;
    BOOL answer = CWnd::OnWndMsg(message, wParam, lParam, pResult);
    if (m_bHandled) {
        m_bHandled = FALSE;
        return m_bHandledAnswer;
    }
    return answer;
}

BOOL SECWndPlugIn::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (!m_bPlugged)
        return FALSE;
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT SECWndPlugIn::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_bPlugged)
        return 0;
    return CWnd::DefWindowProc(message, wParam, lParam);
}
