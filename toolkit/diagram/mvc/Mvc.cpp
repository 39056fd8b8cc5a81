#include "Mvc.h"
#include <stdlib.h>

// ---------------------------------------------------------------------------------------------
// MvcModel

int MvcModel::AddObserver(IMvcObserver* observer)
{
    return (int)m_observers.Add(observer);
}

void MvcModel::RemoveObserver(IMvcObserver* observer)
{
    m_observers.Remove(observer);
}

void MvcModel::UpdateAllObservers(IMvcObserver* sender, void* message)
{
    Iterator_T<IMvcObserver*> it(&m_observers);
    for (IMvcObserver* observer = it.GetFirst(); observer != NULL; observer = it.GetNext())
        if (observer != sender)
            observer->OnUpdate(this, message);
}

// ---------------------------------------------------------------------------------------------
// MvcVisualComponent

CPoint MvcVisualComponent::SetOrigin(int x, int y)
{
    CPoint old = m_rcBounds.TopLeft();
    m_rcBounds.left = x;
    m_rcBounds.top = y;
    return old;
}

CPoint MvcVisualComponent::MoveOrigin(int dx, int dy)
{
    return SetOrigin(m_rcBounds.left + dx, m_rcBounds.top + dy);
}

CPoint MvcVisualComponent::OffsetBounds(int dx, int dy)
{
    m_rcBounds.OffsetRect(dx, dy);
    return m_rcBounds.TopLeft();
}

CSize MvcVisualComponent::GetSize()
{
    return CSize(m_rcBounds.right - m_rcBounds.left, m_rcBounds.bottom - m_rcBounds.top);
}

CSize MvcVisualComponent::SetSize(int cx, int cy)
{
    CSize old = GetSize();
    m_rcBounds.right = m_rcBounds.left + cx;
    m_rcBounds.bottom = m_rcBounds.top + cy;
    return old;
}

CSize MvcVisualComponent::ScaleSize(int xNum, int xDenom, int yNum, int yDenom, int keepCentre)
{
    CSize old = GetSize();
    int w = xDenom != 0 ? old.cx * xNum / xDenom : old.cx;
    int h = yDenom != 0 ? old.cy * yNum / yDenom : old.cy;
    if (keepCentre == 1)
        MoveOrigin((m_rcBounds.left + w - m_rcBounds.right) / -2,
                   (m_rcBounds.top + h - m_rcBounds.bottom) / -2);
    SetSize(w, h);
    return old;
}

// ---------------------------------------------------------------------------------------------
// MvcVisualPart

BOOL MvcVisualPart::Create(MvcVisualPart* container)
{
    SetContainer(container);
    return OnCreate();
}

void MvcVisualPart::Invalidate(BOOL erase, BOOL update)
{
    InvalidateComponent(this, erase, update);
}

void MvcVisualPart::InvalidateComponent(MvcVisualComponent* component, BOOL erase, BOOL update)
{
    CRect r = component->GetBounds();
    InvalidateRect(&r, erase, update);
}

void MvcVisualPart::InvalidateRect(const RECT* rect, BOOL erase, BOOL update)
{
    if (m_pContainer)
        m_pContainer->InvalidateRect(rect, erase, update);
}

// ---------------------------------------------------------------------------------------------
// MvcLogicalPart

namespace {

int ScreenPixels(int index)
{
    HDC screen = ::GetDC(NULL);
    int value = ::GetDeviceCaps(screen, index);
    ::ReleaseDC(NULL, screen);
    return value > 0 ? value : 96;
}

// The screen's densities, read once for the process.
void ScreenDensity(int* x, int* y)
{
    static int sx = 0, sy = 0;
    if (sx == 0) {
        sx = ScreenPixels(LOGPIXELSX);
        sy = ScreenPixels(LOGPIXELSY);
    }
    *x = sx;
    *y = sy;
}

}  // namespace

MvcLogicalPart::MvcLogicalPart(MvcVisualPart* container)
    : MvcVisualPart(container), m_nMapMode(MM_ANISOTROPIC), m_ptLogicalOrigin(0, 0),
      m_szLogicalExtent(1, 1), m_szDeviceExtent(1, 1), m_fScaleX(1.0f), m_fScaleY(1.0f)
{
}

BOOL MvcLogicalPart::CorrectResolution(CDC* dc, CSize* deviceExtent)
{
    if (m_nMapMode != MM_TEXT && m_nMapMode != MM_ISOTROPIC && m_nMapMode != MM_ANISOTROPIC)
        return FALSE;
    int screenX, screenY;
    ScreenDensity(&screenX, &screenY);
    int targetX = dc->GetDeviceCaps(LOGPIXELSX);
    int targetY = dc->GetDeviceCaps(LOGPIXELSY);
    if (targetX <= 0 || targetY <= 0 || (targetX == screenX && targetY == screenY))
        return FALSE;
    deviceExtent->cx = deviceExtent->cx * targetX / screenX;
    deviceExtent->cy = deviceExtent->cy * targetY / screenY;
    return TRUE;
}

void MvcLogicalPart::PrepareDC(CDC* dc)
{
    dc->SetMapMode(m_nMapMode);
    dc->SetWindowOrg(m_ptLogicalOrigin.x, m_ptLogicalOrigin.y);
    dc->SetViewportOrg(m_rcBounds.left, m_rcBounds.top);
    CSize logical, device;
    if (m_nMapMode == MM_ANISOTROPIC || m_nMapMode == MM_ISOTROPIC) {
        logical = m_szLogicalExtent;
        device = m_szDeviceExtent;
    } else {
        dc->SetMapMode(MM_ANISOTROPIC);
        logical = dc->GetWindowExt();
        device = dc->GetViewportExt();
    }
    ScaleExtents(&logical, &device);
    CorrectResolution(dc, &device);
    dc->SetWindowExt(logical.cx, logical.cy);
    dc->SetViewportExt(device.cx, device.cy);
}

void MvcLogicalPart::InvalidateComponent(MvcVisualComponent* component, BOOL erase, BOOL update)
{
    if (component == this) {
        CRect r = GetLogicalRect();
        InvalidateRect(&r, erase, update);
    } else {
        MvcVisualPart::InvalidateComponent(component, erase, update);
    }
}

void MvcLogicalPart::InvalidateRect(const RECT* rect, BOOL erase, BOOL update)
{
    if (!m_pContainer)
        return;
    CRect r(*rect);
    LogicalToDevice(&r);
    m_pContainer->InvalidateRect(&r, erase, update);
}

void MvcLogicalPart::ScaleExtents(SIZE* logicalExtent, SIZE*)
{
    int cx = (int)(logicalExtent->cx * m_fScaleX);
    int cy = (int)(logicalExtent->cy * m_fScaleY);
    logicalExtent->cx = cx <= 1 ? 1 : cx;
    logicalExtent->cy = cy <= 1 ? 1 : cy;
}

int MvcLogicalPart::SetMapMode(int mode)
{
    int old = m_nMapMode;
    m_nMapMode = mode;
    Invalidate(TRUE, FALSE);
    return old;
}

void MvcLogicalPart::SetExtents(int axis, int logical, int device)
{
    if (axis == 0) {
        m_szLogicalExtent.cx = logical;
        m_szDeviceExtent.cx = device;
    } else {
        m_szLogicalExtent.cy = logical;
        m_szDeviceExtent.cy = device;
    }
}

void MvcLogicalPart::GetExtents(int axis, int* logical, int* device)
{
    *logical = axis == 0 ? m_szLogicalExtent.cx : m_szLogicalExtent.cy;
    *device = axis == 0 ? m_szDeviceExtent.cx : m_szDeviceExtent.cy;
}

CSize MvcLogicalPart::SetDeviceExtents(int cx, int cy)
{
    CSize old = m_szDeviceExtent;
    if (!IsFixedMapMode())
        m_szDeviceExtent = CSize(cx, cy);
    return old;
}

CSize MvcLogicalPart::SetLogicalExtents(int cx, int cy)
{
    CSize old = m_szLogicalExtent;
    if (!IsFixedMapMode())
        m_szLogicalExtent = CSize(cx, cy);
    return old;
}

BOOL MvcLogicalPart::IsFixedMapMode()
{
    return m_nMapMode != MM_ANISOTROPIC && m_nMapMode != MM_ISOTROPIC;
}

CPoint MvcLogicalPart::SetLogicalOrigin(int x, int y)
{
    CPoint old = m_ptLogicalOrigin;
    m_ptLogicalOrigin = CPoint(x, y);
    return old;
}

CPoint MvcLogicalPart::OffsetLogicalOrigin(int dx, int dy)
{
    CPoint origin = GetLogicalOrigin();
    if (dx != 0 || dy != 0)
        SetLogicalOrigin(origin.x + dx, origin.y + dy);
    return GetLogicalOrigin();
}

void MvcLogicalPart::CenterOn(int x, int y)
{
    CSize s = GetLogicalSize();
    CPoint origin = GetLogicalOrigin();
    ScrollBy((x - s.cx / 2) - origin.x, (y - s.cy / 2) - origin.y);
}

void MvcLogicalPart::GetRatio(float* rx, float* ry)
{
    CSize logical = m_szLogicalExtent, device = m_szDeviceExtent;
    ScaleExtents(&logical, &device);
    *rx = device.cx != 0 ? (float)logical.cx / (float)device.cx : 1.0f;
    *ry = device.cy != 0 ? (float)logical.cy / (float)device.cy : 1.0f;
}

CSize MvcLogicalPart::GetLogicalSize()
{
    CSize s = GetSize();
    DeviceToLogical(&s);
    return s;
}

CSize MvcLogicalPart::SetLogicalSize(int cx, int cy)
{
    CSize old = GetLogicalSize();
    CSize s(cx, cy);
    LogicalToDevice(&s);
    SetSize(s.cx, s.cy);
    return old;
}

CRect MvcLogicalPart::ScrollBy(int dx, int dy)
{
    CRect r = GetLogicalRect();
    CSize vs = GetVirtualSize();
    CPoint vo = GetVirtualOrigin();
    if (r.right + dx > vo.x + vs.cx)
        dx = vo.x + vs.cx - r.right;
    if (r.left + dx < vo.x)
        dx = vo.x - r.left;
    if (r.bottom + dy > vo.y + vs.cy)
        dy = vo.y + vs.cy - r.bottom;
    if (r.top + dy < vo.y)
        dy = vo.y - r.top;
    OffsetLogicalOrigin(dx, dy);
    return GetLogicalRect();
}

void MvcLogicalPart::LineBack(int axis)
{
    CSize s = GetLogicalSize();
    if (axis == 0)
        ScrollBy(-(s.cx / 45), 0);
    else
        ScrollBy(0, -(s.cy / 25));
}

void MvcLogicalPart::LineForward(int axis)
{
    CSize s = GetLogicalSize();
    if (axis == 0)
        ScrollBy(s.cx / 45, 0);
    else
        ScrollBy(0, s.cy / 25);
}

void MvcLogicalPart::PageBack(int axis)
{
    CSize s = GetLogicalSize();
    if (axis == 0)
        ScrollBy(-s.cx, 0);
    else
        ScrollBy(0, -s.cy);
}

void MvcLogicalPart::PageForward(int axis)
{
    CSize s = GetLogicalSize();
    if (axis == 0)
        ScrollBy(s.cx, 0);
    else
        ScrollBy(0, s.cy);
}

CSize MvcLogicalPart::GetZoom()
{
    return CSize((int)(100.0 / m_fScaleX), (int)(100.0 / m_fScaleY));
}

CSize MvcLogicalPart::SetZoom(int xPercent, int yPercent)
{
    return SetScale(100.0f / (float)xPercent, 100.0f / (float)yPercent);
}

CSize MvcLogicalPart::IncreaseZoom(int dx, int dy)
{
    CSize zoom = GetZoom();
    return SetZoom(zoom.cx + dx, zoom.cy + dy);
}

CSize MvcLogicalPart::DecreaseZoom(int dx, int dy)
{
    CSize zoom = GetZoom();
    return SetZoom(zoom.cx - dx, zoom.cy - dy);
}

CSize MvcLogicalPart::SetScale(float x, float y)
{
    m_fScaleX = x;
    m_fScaleY = y;
    return GetLogicalSize();
}

CSize MvcLogicalPart::MultiplyScale(float fx, float fy)
{
    return SetScale(fx * m_fScaleX, fy * m_fScaleY);
}

void MvcLogicalPart::LogicalToDevice(POINT* points, int count)
{
    float rx, ry;
    GetRatio(&rx, &ry);
    for (int i = 0; i < count; ++i) {
        points[i].x = (int)((points[i].x - m_ptLogicalOrigin.x) / rx);
        points[i].y = (int)((points[i].y - m_ptLogicalOrigin.y) / ry);
    }
}

void MvcLogicalPart::LogicalToDevice(RECT* rect)
{
    LogicalToDevice((POINT*)rect, 2);
}

void MvcLogicalPart::LogicalToDevice(SIZE* size)
{
    float rx, ry;
    GetRatio(&rx, &ry);
    size->cx = (int)(size->cx / rx);
    size->cy = (int)(size->cy / ry);
}

void MvcLogicalPart::DeviceToLogical(POINT* points, int count)
{
    float rx, ry;
    GetRatio(&rx, &ry);
    for (int i = 0; i < count; ++i) {
        points[i].x = (int)(points[i].x * rx) + m_ptLogicalOrigin.x;
        points[i].y = (int)(points[i].y * ry) + m_ptLogicalOrigin.y;
    }
}

void MvcLogicalPart::DeviceToLogical(RECT* rect)
{
    DeviceToLogical((POINT*)rect, 2);
}

void MvcLogicalPart::DeviceToLogical(SIZE* size)
{
    float rx, ry;
    GetRatio(&rx, &ry);
    size->cx = (int)(size->cx * rx);
    size->cy = (int)(size->cy * ry);
}

BOOL MvcLogicalPart::ConvertSize(int fromMode, int* cx, int* cy)
{
    if (fromMode == m_nMapMode || fromMode == MM_ANISOTROPIC || fromMode == MM_ISOTROPIC)
        return FALSE;
    int px, py;
    ScreenDensity(&px, &py);
    auto toTwips = [&](int v, int pixels) -> int {
        switch (fromMode) {
        case MM_TEXT: return v * 1440 / pixels;
        case MM_LOMETRIC: return v * 1440 / 254;
        case MM_HIMETRIC: return v * 1440 / 2540;
        case MM_LOENGLISH: return v * 1440 / 100;
        case MM_HIENGLISH: return v * 1440 / 1000;
        default: return v;
        }
    };
    auto fromTwips = [&](int v, int pixels, int logical, int device) -> int {
        switch (m_nMapMode) {
        case MM_TEXT: return v * pixels / 1440;
        case MM_LOMETRIC: return v * 254 / 1440;
        case MM_HIMETRIC: return v * 2540 / 1440;
        case MM_LOENGLISH: return v * 100 / 1440;
        case MM_HIENGLISH: return v * 1000 / 1440;
        case MM_ISOTROPIC:
        case MM_ANISOTROPIC: {
            int p = v * pixels / 1440;
            return device != 0 ? p * logical / device : p * logical;
        }
        default: return v;
        }
    };
    *cx = fromTwips(toTwips(*cx, px), px, m_szLogicalExtent.cx, m_szDeviceExtent.cx);
    *cy = fromTwips(toTwips(*cy, py), py, m_szLogicalExtent.cy, m_szDeviceExtent.cy);
    return TRUE;
}

void MvcLogicalPart::ApplyPrinterExtents(CDC* dc)
{
    CSize device = dc->GetViewportExt();
    if (CorrectResolution(dc, &device))
        dc->SetViewportExt(device.cx, device.cy);
}

CRect MvcLogicalPart::GetVisibleVirtualRect()
{
    CRect r = GetLogicalRect();
    CSize vs = GetVirtualSize();
    CPoint vo = GetVirtualOrigin();
    if (vs.cx == 0 || vs.cy == 0)
        return r;
    if (r.left < vo.x)
        r.left = vo.x;
    if (r.top < vo.y)
        r.top = vo.y;
    if (r.right > vo.x + vs.cx)
        r.right = vo.x + vs.cx;
    if (r.bottom > vo.y + vs.cy)
        r.bottom = vo.y + vs.cy;
    return r;
}

// ---------------------------------------------------------------------------------------------
// MvcViewport

MvcViewport::MvcViewport(MvcVisualPart* container)
    : MvcLogicalPart(container), m_pController(NULL), m_pModel(NULL), m_pWnd(NULL),
      m_bOwnsController(FALSE)
{
}

MvcViewport::~MvcViewport()
{
    if (m_pModel)
        m_pModel->RemoveObserver(this);
    if (m_pController && m_bOwnsController)
        delete m_pController;
}

BOOL MvcViewport::Create(CWnd* window, MvcVisualPart* container)
{
    m_pWnd = window;
    return MvcVisualPart::Create(container);
}

BOOL MvcViewport::OnCreate()
{
    BOOL result = CreateController();
    if (m_pController)
        result = result && m_pController->Create(m_pWnd, this);
    return result;
}

CSize MvcViewport::GetLogicalSize()
{
    CSize s = GetSize();
    DPtoLP(&s);
    return s;
}

void MvcViewport::InvalidateRect(const RECT* rect, BOOL erase, BOOL update)
{
    HWND hwnd = m_pWnd ? m_pWnd->GetSafeHwnd() : NULL;
    if (!hwnd)
        return;
    CRect r(*rect);
    r.right += 1;
    r.bottom += 1;
    LPtoDP((POINT*)&r, 2);
    ::InvalidateRect(hwnd, &r, erase);
    if (update)
        ::UpdateWindow(hwnd);
}

void MvcViewport::SetModel(MvcModel* model)
{
    m_pModel = model;
    if (model)
        model->AddObserver(this);
    if (m_pController)
        m_pController->SetModel(model);
}

BOOL MvcViewport::IsPointInView(const POINT* pt)
{
    CRect r = GetLogicalRect();
    {
        MvcClientDC dc(this, 1);
        dc.LPtoDP(&r);
    }
    return ::PtInRect(&r, *pt);
}

BOOL MvcViewport::GetUpdateRect(RECT* rect, BOOL erase)
{
    HWND hwnd = m_pWnd ? m_pWnd->GetSafeHwnd() : NULL;
    return hwnd ? ::GetUpdateRect(hwnd, rect, erase) : FALSE;
}

void MvcViewport::LPtoDP(SIZE* size)
{
    MvcClientDC dc(this, 1);
    CSize w = dc.GetWindowExt(), v = dc.GetViewportExt();
    if (w.cx != 0)
        size->cx = ::MulDiv(size->cx, abs(v.cx), abs(w.cx));
    if (w.cy != 0)
        size->cy = ::MulDiv(size->cy, abs(v.cy), abs(w.cy));
}

void MvcViewport::LPtoDP(RECT* rect)
{
    MvcClientDC dc(this, 1);
    dc.LPtoDP(rect);
}

void MvcViewport::LPtoDP(POINT* points, int count)
{
    MvcClientDC dc(this, 1);
    dc.LPtoDP(points, count);
}

void MvcViewport::DPtoLP(SIZE* size)
{
    MvcClientDC dc(this, 1);
    CSize w = dc.GetWindowExt(), v = dc.GetViewportExt();
    if (v.cx != 0)
        size->cx = ::MulDiv(size->cx, abs(w.cx), abs(v.cx));
    if (v.cy != 0)
        size->cy = ::MulDiv(size->cy, abs(w.cy), abs(v.cy));
}

void MvcViewport::DPtoLP(RECT* rect)
{
    MvcClientDC dc(this, 1);
    dc.DPtoLP(rect);
}

void MvcViewport::DPtoLP(POINT* points, int count)
{
    MvcClientDC dc(this, 1);
    dc.DPtoLP(points, count);
}

void MvcViewport::OnUpdate(IMvcSubject*, void*)
{
}

BOOL MvcViewport::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    MvcController* capture = MvcController::GetCaptureController();
    if (capture && capture->MvcController::OnWndMsg(message, wParam, lParam, result))
        return TRUE;
    if (!m_pController)
        return FALSE;
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSEWHEEL) {
        // The halves are unsigned: a captured drag left of or above the window falls outside.
        POINT pt = {(int)(WORD)LOWORD(lParam), (int)(WORD)HIWORD(lParam)};
        if (!::PtInRect(&m_rcBounds, pt))
            return FALSE;
    }
    return m_pController->MvcController::OnWndMsg(message, wParam, lParam, result);
}

BOOL MvcViewport::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (!m_pController)
        return FALSE;
    return m_pController->OnCmdMsg(id, code, extra, handlerInfo);
}

// ---------------------------------------------------------------------------------------------
// MvcClientDC

MvcClientDC::MvcClientDC(MvcViewport* viewport, int prepare)
    : m_hWndDC(viewport && viewport->GetWnd() ? viewport->GetWnd()->GetSafeHwnd() : NULL)
{
    if (!Attach(::GetDC(m_hWndDC)))
        AfxThrowResourceException();
    if (prepare == 1 && viewport)
        viewport->PrepareDC(this);
}

MvcClientDC::~MvcClientDC()
{
    HDC hdc = Detach();
    if (hdc)
        ::ReleaseDC(m_hWndDC, hdc);
}

// ---------------------------------------------------------------------------------------------
// MvcController

IMPLEMENT_DYNAMIC(MvcController, SECWndPlugIn)

MvcController* MvcController::s_pCaptureController = NULL;

MvcController::MvcController() : m_pWnd(NULL), m_pModel(NULL), m_pViewport(NULL)
{
}

MvcController::~MvcController()
{
    if (s_pCaptureController == this)
        s_pCaptureController = NULL;
}

BOOL MvcController::IsControllerMessage(UINT message)
{
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSEWHEEL)
        return TRUE;
    // The colour requests of child controls (an in-place editor) reach the WM_CTLCOLOR entry.
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return TRUE;
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_COMMAND:
    case WM_SETCURSOR:
    case WM_TIMER:
    case WM_CONTEXTMENU:
    case WM_CTLCOLOR:
    case WM_NOTIFY:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL MvcController::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!IsControllerMessage(message))
        return FALSE;
    return SECWndPlugIn::OnWndMsg(message, wParam, lParam, result);
}

BOOL MvcController::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    return SECWndPlugIn::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL MvcController::Create(CWnd* window, MvcViewport* viewport)
{
    return Initialize(window, viewport);
}

BOOL MvcController::Initialize(CWnd* window, MvcViewport* viewport)
{
    m_pWnd = window;
    SetViewport(viewport);
    m_hWnd = NULL;
    PlugInTo(window);
    return TRUE;
}

void MvcController::SetCaptureController(MvcController* controller)
{
    if (controller == s_pCaptureController)
        return;
    if (s_pCaptureController)
        ::ReleaseCapture();
    if (controller)
        ::SetCapture(controller->m_hWnd);
    s_pCaptureController = controller;
}
