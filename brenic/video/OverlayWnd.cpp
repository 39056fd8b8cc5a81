#include "OverlayWnd.h"
#include "AppConfig.h"
#include "Globals.h"
#include "ODController.h"
#include "ODDropTarget.h"
#include "ODFillProperties.h"
#include "ODModel.h"
#include "VideoWindow.h"

BEGIN_MESSAGE_MAP(COverlayWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

COverlayWnd::COverlayWnd()
    : m_pModel(NULL), m_bNotShown(TRUE), m_pVideo(NULL), m_bDropToManager(TRUE),
      m_cyClip(456), m_cxClip(608), m_pClipDropTarget(NULL)
{
    m_crop[0] = m_crop[1] = 0.0f;
    m_crop[2] = m_crop[3] = 1.0f;
}

COverlayWnd::~COverlayWnd()
{
    if (m_pModel)
        m_pModel->RemoveObserver(&m_viewport);
    m_viewport.SetModel(NULL);
    m_pModel = NULL;
}

void COverlayWnd::AttachModel(CODModel* model)
{
    if (m_pModel)
        m_pModel->RemoveObserver(&m_viewport);
    m_pModel = model;
    m_viewport.SetModel(model);
}

BOOL COverlayWnd::SetModel(CODModel* model)
{
    AttachModel(model);
    return TRUE;
}

void COverlayWnd::SetCropRect(float x, float y, float, float)
{
    m_viewport.SetLogicalOrigin(int(x * float(m_cxClip)), int(y * float(m_cyClip)));
}

void COverlayWnd::StoreCropRect(float x, float y, float w, float h)
{
    m_crop[0] = x;
    m_crop[1] = y;
    m_crop[2] = w;
    m_crop[3] = h;
}

void COverlayWnd::OnDrawOverlay(CDC* dc)
{
    m_viewport.ScrollWithVideo(dc);
}

int COverlayWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    m_viewport.Create(this, NULL);
    m_viewport.SetAngleSnap(FALSE);
    // New components: lines 2 points wide, no fill, word-broken multi-line text, left aligned.
    CODPropertyList* defaults = m_viewport.GetDefaultProperties();
    if (CODLineProperties* line = m_viewport.FindLineProperties())
        line->SetWidth(2);
    for (POSITION pos = defaults->GetHeadPosition(); pos;)
        if (CODFillProperties* fill = dynamic_cast<CODFillProperties*>(defaults->GetNext(pos).Get()))
            fill->SetTransparent(TRUE);
    defaults->AddTail(CODPropertyPtr(new CODBoolProperty(240, TRUE)));
    defaults->AddTail(CODPropertyPtr(new CODBoolProperty(230, TRUE)));
    defaults->AddTail(CODPropertyPtr(new CODIntProperty(210, 0)));
    if (g_pAppConfig)
        g_pAppConfig->ApplyDrawingDefaults(&m_viewport);
    // This window's own target decides between the video manager and the drawing.
    if (COleDropTarget* drawing = DrawingDropTarget())
        drawing->Revoke();
    m_dropTarget.Register(this);
    m_dropTarget.SetTargetWnd(this);
    return 0;
}

void COverlayWnd::OnDestroy()
{
    m_dropTarget.Revoke();
    CWnd::OnDestroy();
}

void COverlayWnd::OnShowWindow(BOOL show, UINT status)
{
    CWnd::OnShowWindow(show, status);
    if (m_bNotShown && show) {
        AttachModel(m_pModel);
        CRect client;
        GetClientRect(&client);
        m_viewport.SetSize(client.Width() + 1, client.Height() + 1);
        m_viewport.InitialUpdate();
        m_bNotShown = FALSE;
    }
}

void COverlayWnd::OnSize(UINT type, int cx, int cy)
{
    if (!m_bNotShown)
        m_viewport.SetSize(cx + 1, cy + 1);
    CWnd::OnSize(type, cx, cy);
}

BOOL COverlayWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void COverlayWnd::OnPaint()
{
    CPaintDC dc(this);
    if (!m_pVideo || !m_pVideo->GetSafeHwnd()) {
        m_viewport.Draw(&dc);
        return;
    }
    if (m_pVideo->GetLiveVideoMode()) {
        // Live: the control's overlay shows through the key colour of the drawing.
        m_pVideo->UpdateWindow();
        m_viewport.Draw(&dc);
        if (m_pVideo->GetDriverType() == 1)
            m_pVideo->SetOverlayChanged(TRUE);
        return;
    }
    // Playback: nothing painted here; the control keys the drawing into its picture and
    // asks for it through DrawOverlay.
    CRect box;
    dc.GetClipBox(&box);
    m_viewport.RenderBuffer();
    m_pVideo->SetOverlayChanged(TRUE);
    m_pVideo->InvalidateRect(&box, FALSE);
    m_pVideo->UpdateWindow();
}

BOOL COverlayWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    // Commands take the command route (OnCmdMsg), which holds them back until first shown.
    if (message != WM_COMMAND && m_viewport.OnWndMsg(message, wParam, lParam, result))
        return TRUE;
    return CWnd::OnWndMsg(message, wParam, lParam, result);
}

BOOL COverlayWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info)
{
    if (CWnd::OnCmdMsg(id, code, extra, info))
        return TRUE;
    return !m_bNotShown && m_viewport.OnCmdMsg(id, code, extra, info);
}

BOOL COverlayWnd::OffersClip(COleDataObject* data) const
{
    return data && g_pAppConfig &&
           data->IsDataAvailable((CLIPFORMAT)g_pAppConfig->GetClipClipboardFormat());
}

COleDropTarget* COverlayWnd::DrawingDropTarget()
{
    CODController* controller = dynamic_cast<CODController*>(m_viewport.GetController());
    return controller ? controller->GetDropTarget() : NULL;
}

// Clips go to the video manager, anything else (drawing components) to the controller.
DROPEFFECT COverlayWnd::OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState,
                                    CPoint point)
{
    m_bDropToManager = OffersClip(data);
    if (m_bDropToManager)
        return m_pClipDropTarget ? m_pClipDropTarget->OnDragEnter(window, data, keyState, point)
                                 : DROPEFFECT_NONE;
    COleDropTarget* drawing = DrawingDropTarget();
    return drawing ? drawing->OnDragEnter(window, data, keyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT COverlayWnd::OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState,
                                   CPoint point)
{
    if (OffersClip(data))
        return m_pClipDropTarget ? m_pClipDropTarget->OnDragOver(window, data, keyState, point)
                                 : DROPEFFECT_NONE;
    COleDropTarget* drawing = DrawingDropTarget();
    return drawing ? drawing->OnDragOver(window, data, keyState, point) : DROPEFFECT_NONE;
}

BOOL COverlayWnd::OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point)
{
    if (OffersClip(data))
        return m_pClipDropTarget ? m_pClipDropTarget->OnDrop(window, data, effect, point) : FALSE;
    COleDropTarget* drawing = DrawingDropTarget();
    return drawing ? drawing->OnDrop(window, data, effect, point) : FALSE;
}

void COverlayWnd::OnDragLeave(CWnd* window)
{
    if (m_bDropToManager) {
        if (m_pClipDropTarget)
            m_pClipDropTarget->OnDragLeave(window);
    } else if (COleDropTarget* drawing = DrawingDropTarget()) {
        drawing->OnDragLeave(window);
    }
}
