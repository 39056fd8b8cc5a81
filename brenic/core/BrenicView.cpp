#include "BrenicView.h"
#include <afxext.h>
#include "BitmapDIB.h"
#include "BrenicDoc.h"
#include "Clavio.h"
#include "CustomConfig.h"
#include "Globals.h"
#include "PrintPlacement.h"
#include "ClipBar.h"
#include "ConsumerBkgDlg.h"
#include "OverlayWnd.h"

IMPLEMENT_DYNCREATE(CBrenicView, CView)

BEGIN_MESSAGE_MAP(CBrenicView, CView)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_KILLFOCUS()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

CBrenicView::CBrenicView() : m_pClavio(NULL), m_pPanel(NULL)
{
}

CBrenicView::~CBrenicView()
{
    delete m_pPanel;
}

CBrenicDoc* CBrenicView::GetDocument() const
{
    return (CBrenicDoc*)m_pDocument;
}

int CBrenicView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    m_pClavio = g_pClavio;
    CRect client;
    GetClientRect(&client);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);

    CCustomConfig layout;
    const CSize size = layout.GetClientSize();
    CreatePanel();
    if (m_pPanel && m_pPanel->GetSafeHwnd()) {
        m_pPanel->SetWindowPos(NULL, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        m_pPanel->ShowWindow(SW_SHOW);
    }

    const int width = size.cx + 2 * GetSystemMetrics(SM_CXBORDER);
    const int height = size.cy + GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION);
    CWnd* frame = AfxGetMainWnd();
    if (CFrameWnd* parent = GetParentFrame())
        frame = parent;
    if (frame) {
        frame->SetWindowPos(NULL, (screenWidth - width) / 2, (screenHeight - height) / 2, width,
                            height, SWP_NOZORDER | SWP_NOACTIVATE);
        frame->SetDlgCtrlID(282);
    }

    // The video manager's window lives inside the panel, over the skin's video rectangle.
    if (m_pClavio && m_pPanel && m_pPanel->GetSafeHwnd() && !m_pClavio->GetSafeHwnd()) {
        m_pClavio->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, client, m_pPanel, 0);
        const CRect video = layout.GetVideoRect();
        m_pClavio->SetWindowPos(NULL, video.left, video.top, video.Width(), video.Height(),
                                SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_pClavio)
        m_pClavio->SetView(this);
    return 0;
}

void CBrenicView::DrawSkin(CDC* pDC)
{
    if (!g_pCustomConfig)
        return;
    HBITMAP skin = (HBITMAP)::LoadImageA(NULL, g_pCustomConfig->GetBackgroundBitmapPath(),
                                         IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!skin)
        return;
    CDC memory;
    memory.CreateCompatibleDC(pDC);
    HGDIOBJ old = ::SelectObject(memory.GetSafeHdc(), skin);
    const CSize size = g_pCustomConfig->GetClientSize();
    pDC->BitBlt(0, 0, size.cx, size.cy, &memory, 0, 0, SRCCOPY);
    ::SelectObject(memory.GetSafeHdc(), old);
    ::DeleteObject(skin);
}

BOOL CBrenicView::CreatePanel()
{
    CConsumerBkgDlg* panel = new CConsumerBkgDlg(NULL);
    m_pPanel = panel;
    return panel->Create(282, this);
}

void CBrenicView::StopPlayback()
{
    if (m_pPanel && m_pPanel->GetSafeHwnd())
        ((CConsumerBkgDlg*)m_pPanel)->StopPlayback();
}

// The clip panel asks about unsaved clips at the end of the run.
BOOL CBrenicView::ClearClips()
{
    CClipBar* clips = CClipBar::GetClipBar();
    return clips ? clips->ClearClips() : TRUE;
}

BOOL CBrenicView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // What nobody else handles goes to the current channel's drawing layer.
    if (!m_pClavio || !m_pClavio->GetSafeHwnd())
        return FALSE;
    COverlayWnd* overlay = m_pClavio->GetOverlay(m_pClavio->GetCurrentChannel());
    return overlay && overlay->GetSafeHwnd() &&
           overlay->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CBrenicView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CBrenicView::OnKillFocus(CWnd* pNewWnd)
{
    CView::OnKillFocus(pNewWnd);
    if (m_pClavio && m_pClavio->GetSafeHwnd())
        m_pClavio->RestoreOverlays();
}

void CBrenicView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
}

void CBrenicView::OnDestroy()
{
    CView::OnDestroy();
}

void CBrenicView::OnFilePrint()
{
    if (m_pClavio && m_pClavio->GetSafeHwnd())
        m_pClavio->RefreshOverlayBitmaps();
    CView::OnFilePrint();
}

BOOL CBrenicView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

void CBrenicView::OnPrint(CDC* pDC, CPrintInfo*)
{
    OnDraw(pDC);
}

// Draws only when printing: the current video picture, enlarged by the ratio of printer to
// screen resolution and centred on the page.
void CBrenicView::OnDraw(CDC* pDC)
{
    if (!pDC->IsPrinting()) {
        // The panel covers the view and paints the skin; without one the view shows it.
        if (!m_pPanel)
            DrawSkin(pDC);
        return;
    }
    CClientDC screen(NULL);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmapDIB picture;
    if (!picture.Create(608, 456, 32))
        return;
    CBitmap* old = memory.SelectObject(&picture);
    if (m_pClavio && m_pClavio->GetSafeHwnd())
        m_pClavio->Draw(&memory);
    memory.SelectObject(old);

    const PrintPlacement p = ComputePrintPlacement(
        screen.GetDeviceCaps(LOGPIXELSX), screen.GetDeviceCaps(LOGPIXELSY),
        pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY),
        pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
    try {
        picture.Draw(pDC, p.x, p.y, p.width, p.height, p.sx, p.sy, p.swidth, p.sheight);
    } catch (...) {
        CString text;
        text.Format("%d,%d %d,%d", p.x, p.y, p.width, p.height);
        AfxMessageBox("Error in DrawDibDraw:Params= " + text);
        throw;
    }
}
