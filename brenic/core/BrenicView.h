// The view: host of the skinned main panel and, inside it, the video manager window. It
// sizes and centres the main frame from the skin, prints the current video picture and
// offers the commands nobody else handles to the current channel's drawing layer.
#pragma once
#include <afxwin.h>

class CClavio;
class CBrenicDoc;

class CBrenicView : public CView
{
    DECLARE_DYNCREATE(CBrenicView)
public:
    CBrenicView();
    virtual ~CBrenicView();

    CBrenicDoc* GetDocument() const;

    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                          AFX_CMDHANDLERINFO* pHandlerInfo) override;
    virtual void OnDraw(CDC* pDC) override;
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;

    // The skinned panel's work for the frame and the document; nothing to do while the
    // view holds no panel.
    void StopPlayback();
    BOOL ClearClips();
    // The skinned panel window (NULL when none was made).
    CWnd* GetPanelWnd() const { return m_pPanel; }

    CClavio* m_pClavio;

protected:
    // The skinned panel over the whole client area, child of the view.
    BOOL CreatePanel();
    void DrawSkin(CDC* pDC);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnFilePrint();
    DECLARE_MESSAGE_MAP()

    CWnd* m_pPanel;
};
