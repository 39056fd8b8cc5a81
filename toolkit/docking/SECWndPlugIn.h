// A window object plugged into a host window: it borrows the host's handle and sees the host's
// messages before the host's own processing. The host passes each message to OnWndMsg and
// skips its own processing when the answer is non-zero.
#pragma once
#include <afxwin.h>

class SECWndPlugIn : public CWnd
{
    DECLARE_DYNAMIC(SECWndPlugIn)

public:
    SECWndPlugIn();
    virtual ~SECWndPlugIn();

    // Borrows the host's handle; FALSE and no change for NULL.
    virtual BOOL PlugInTo(CWnd* host);
    virtual void UnPlug();
    BOOL IsPlugged() const { return m_bPlugged; }

    // Decides the current message: TRUE skips the host's own processing, FALSE lets it run too.
    void SetHandled(BOOL handled);

    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                          AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    // A handler that calls its base reaches this; nothing happens unless plugged in.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    BOOL m_bPlugged;
    BOOL m_bHandled;
    BOOL m_bHandledAnswer;
};
