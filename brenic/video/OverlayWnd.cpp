#include "OverlayWnd.h"
#include "AppConfig.h"
#include "Globals.h"
#include "ODModel.h"
#include "VideoWindow.h"

BEGIN_MESSAGE_MAP(COverlayWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

COverlayWnd::COverlayWnd()
    : m_pModel(NULL), m_bNotShown(TRUE), m_pVideo(NULL), m_bDropToManager(TRUE),
      m_cyClip(456), m_cxClip(608), m_origin(0, 0), m_pClipDropTarget(NULL)
{
    m_crop[0] = m_crop[1] = 0.0f;
    m_crop[2] = m_crop[3] = 1.0f;
}

COverlayWnd::~COverlayWnd()
{
    m_pModel = NULL;
}

BOOL COverlayWnd::SetModel(CODModel* model)
{
    m_pModel = model;
    return TRUE;
}

void COverlayWnd::SetCropRect(float x, float y, float, float)
{
    m_origin = CPoint((int)(x * m_cxClip), (int)(y * m_cyClip));
}

void COverlayWnd::StoreCropRect(float x, float y, float w, float h)
{
    m_crop[0] = x;
    m_crop[1] = y;
    m_crop[2] = w;
    m_crop[3] = h;
}

void COverlayWnd::OnDrawOverlay(CDC*)
{
    // The drawing toolkit's components are drawn here once the telestrator lands; an empty
    // drawing leaves the key colour, so the whole picture shows.
}

int COverlayWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    if (g_pAppConfig)
        g_pAppConfig->ApplyDrawingDefaults(&m_viewport);
    m_dropTarget.Register(this);
    m_dropTarget.SetTargetWnd(this);
    return 0;
}

BOOL COverlayWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void COverlayWnd::OnPaint()
{
    CPaintDC dc(this);
    // Playback: the control keys the drawing into its own picture.
    if (m_pVideo && m_pVideo->GetSafeHwnd() && !m_pVideo->GetLiveVideoMode()) {
        m_pVideo->SetOverlayChanged(TRUE);
        m_pVideo->UpdateWindow();
    }
}

BOOL COverlayWnd::OffersClip(COleDataObject* data) const
{
    return data && g_pAppConfig &&
           data->IsDataAvailable((CLIPFORMAT)g_pAppConfig->GetClipClipboardFormat());
}

DROPEFFECT COverlayWnd::OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState,
                                    CPoint point)
{
    m_bDropToManager = OffersClip(data);
    if (m_bDropToManager && m_pClipDropTarget)
        return m_pClipDropTarget->OnDragEnter(window, data, keyState, point);
    return DROPEFFECT_NONE;
}

DROPEFFECT COverlayWnd::OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState,
                                   CPoint point)
{
    if (OffersClip(data) && m_pClipDropTarget)
        return m_pClipDropTarget->OnDragOver(window, data, keyState, point);
    return DROPEFFECT_NONE;
}

BOOL COverlayWnd::OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point)
{
    if (OffersClip(data) && m_pClipDropTarget)
        return m_pClipDropTarget->OnDrop(window, data, effect, point);
    return FALSE;
}

void COverlayWnd::OnDragLeave(CWnd* window)
{
    if (m_bDropToManager && m_pClipDropTarget)
        m_pClipDropTarget->OnDragLeave(window);
}
