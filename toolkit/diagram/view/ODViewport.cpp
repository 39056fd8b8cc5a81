#include "ODViewport.h"
#include "ODSymbolComponent.h"
#include <math.h>
#include "ODCommand.h"
#include "ODController.h"
#include "ODTracker.h"
#include "ODEditProperties.h"
#include "ODFillProperties.h"
#include "ODFontProperties.h"
#include "ODGeometry.h"
#include "ODLineProperties.h"
#include "ODPointComponent.h"
#include "ODOrientationProperties.h"

CODViewport::CODViewport()
    : m_bAngleSnap(TRUE), m_bSnapToGrid(TRUE), m_bGridVisible(TRUE), m_hGrid(0, 0.125f),
      m_vGrid(0, 0.125f), m_crGrid(RGB(0, 0, 0)), m_bPageBounds(TRUE), m_nTolerance(0),
      m_szHandle(3, 3), m_nMinZoom(5), m_nMaxZoom(1500), m_nZoomStep(25), m_ptPaste(0, 0),
      m_szPage(0, 0), m_pMapping(NULL)
{
    m_pMapping = new CODCoordinateMapping(this);
    m_defaults.AddTail(CODPropertyPtr(new CODEditProperties(40)));
    m_defaults.AddTail(CODPropertyPtr(new CODOrientationProperties(60)));
    m_defaults.AddTail(CODPropertyPtr(new CODLineProperties(10)));
    m_defaults.AddTail(CODPropertyPtr(new CODFillProperties(20)));
    m_defaults.AddTail(CODPropertyPtr(new CODFontProperties(30)));
    SetHorizontalGridSpacing(0.125f);
    SetVerticalGridSpacing(0.125f);
}

CODViewport::~CODViewport()
{
    m_defaults.RemoveAll();
    delete m_pMapping;
}

// ---------------------------------------------------------------------------------------------
// Setup, mapping and the virtual extent

void CODViewport::InitialUpdate()
{
    SetMapMode(MM_ANISOTROPIC);
    MvcVisualComponent::SetOrigin(0, 0);
    SetDeviceExtents(1000, 1000);
    SetLogicalExtents(1000, 1000);
    CPoint p[2] = {CPoint(4, 4), CPoint(0, 0)};
    DPtoLP(p, 2);
    m_nTolerance = abs(p[0].y - p[1].y);
}

void CODViewport::SetVirtualSize(int cx, int cy)
{
    if (GetODModel())
        GetODModel()->SetSize(cx, cy);
}

void CODViewport::SetVirtualOrigin(int x, int y)
{
    if (GetODModel())
        GetODModel()->SetOrigin(CPoint(x, y));
}

CSize CODViewport::GetVirtualSize()
{
    return GetODModel() ? GetODModel()->GetBounds().Size() : CSize(0, 0);
}

CPoint CODViewport::GetVirtualOrigin()
{
    return GetODModel() ? GetODModel()->GetBounds().TopLeft() : CPoint(0, 0);
}

void CODViewport::PrepareMapping(CDC* dc, BOOL scale)
{
    dc->SetMapMode(m_nMapMode);
    dc->SetWindowOrg(m_ptLogicalOrigin.x, m_ptLogicalOrigin.y);
    dc->SetViewportOrg(m_rcBounds.left, m_rcBounds.top);
    CSize window, view;
    if (m_nMapMode == MM_ANISOTROPIC || m_nMapMode == MM_ISOTROPIC) {
        window = m_szLogicalExtent;
        view = m_szDeviceExtent;
    } else {
        dc->SetMapMode(MM_ANISOTROPIC);
        window = dc->GetWindowExt();
        view = dc->GetViewportExt();
    }
    if (window.cy < 0 && view.cy > 0)
        window.cy = -window.cy;
    else if (view.cy < 0 && window.cy > 0)
        view.cy = -view.cy;
    if (scale) {
        window.cx = (int)(window.cx * m_fScaleX);
        window.cy = (int)(window.cy * m_fScaleY);
        if (window.cx < 2)
            window.cx = 1;
        if (window.cy < 2)
            window.cy = 1;
    }
    CorrectResolution(dc, &view);
    dc->SetWindowExt(window.cx, window.cy);
    dc->SetViewportExt(view.cx, view.cy);
}

// ---------------------------------------------------------------------------------------------
// Zoom

void CODViewport::SetZoomLimits(int minimum, int maximum)
{
    // A minimum of 0 would let the zoom divide by zero.
    m_nMinZoom = std::max(1, minimum);
    m_nMaxZoom = std::max(m_nMinZoom, maximum);
}

CSize CODViewport::SetZoom(int x, int y)
{
    if (x < m_nMinZoom || x > m_nMaxZoom || y < m_nMinZoom || y > m_nMaxZoom)
        return GetZoom();
    return MvcViewport::SetZoom(x, y);
}

void CODViewport::ZoomIn(int x, int y)
{
    CPoint p(x, y);
    DPtoLP(&p, 1);
    CSize zoom = GetZoom();
    if (zoom.cx + m_nZoomStep > m_nMaxZoom || zoom.cy + m_nZoomStep > m_nMaxZoom)
        return;
    IncreaseZoom(m_nZoomStep, m_nZoomStep);
    CenterOn(p.x, p.y);
}

void CODViewport::ZoomOut(int x, int y)
{
    CPoint p(x, y);
    DPtoLP(&p, 1);
    CSize zoom = GetZoom();
    if (zoom.cx - m_nZoomStep < m_nMinZoom || zoom.cy - m_nZoomStep < m_nMinZoom)
        return;
    DecreaseZoom(m_nZoomStep, m_nZoomStep);
    CenterOn(p.x, p.y);
}

void CODViewport::ZoomToRect(CRect rect)
{
    int w = std::max(1, rect.Width()), h = std::max(1, rect.Height());
    CSize device = GetSize();
    int zoom = std::min(device.cx * 100 / w, device.cy * 100 / h);
    zoom = std::min(std::max(zoom, m_nMinZoom), m_nMaxZoom);
    SetZoom(zoom, zoom);
    CSize view = GetLogicalSize();
    CPoint o = GetLogicalOrigin();
    int dx = rect.left - o.x - (view.cx - rect.Width()) / 2;
    int dy = rect.top - o.y - (view.cy - rect.Height()) / 2;
    CPoint mo = GetVirtualOrigin();
    CSize ms = GetVirtualSize();
    if (o.x + dx + view.cx > mo.x + ms.cx)
        dx = mo.x + ms.cx - view.cx - o.x;
    if (o.x + dx < mo.x)
        dx = mo.x - o.x;
    if (o.y + dy + view.cy > mo.y + ms.cy)
        dy = mo.y + ms.cy - view.cy - o.y;
    if (o.y + dy < mo.y)
        dy = mo.y - o.y;
    ScrollBy(dx, dy);
    Invalidate(TRUE, FALSE);
}

namespace {

BOOL UnionOfRegions(CODComponentSet* set, CRect* out)
{
    if (set == NULL || set->GetSize() == 0)
        return FALSE;
    CODRgn all;
    for (int i = 0; i < set->GetSize(); ++i)
        all.Append(*(*set)[i]->GetRegion());
    *out = all.GetBounds();
    return TRUE;
}

}  // namespace

void CODViewport::ZoomToComponents(CODComponentSet* set)
{
    CRect r;
    if (UnionOfRegions(set, &r) && r.Width() != 0 && r.Height() != 0)
        ZoomToRect(r);
}

void CODViewport::EnsureVisible(CODComponentSet* set)
{
    CRect r;
    if (!UnionOfRegions(set, &r))
        return;
    CSize view = GetLogicalSize();
    CSize model = GetVirtualSize();
    int x = r.left - (view.cx - r.Width()) / 2;
    int y = r.top - (view.cy - r.Height()) / 2;
    x = std::max(0, std::min(x, model.cx - view.cx));
    y = std::max(0, std::min(y, model.cy - view.cy));
    CPoint o = GetLogicalOrigin();
    ScrollBy(x - o.x, y - o.y);
    Invalidate(TRUE, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Grid

void CODViewport::SetHorizontalGridSpacing(float spacing)
{
    m_hGrid.ConvertFrom(CODMeasure(m_pMapping->GetUnits(), spacing));
}

void CODViewport::SetVerticalGridSpacing(float spacing)
{
    m_vGrid.ConvertFrom(CODMeasure(m_pMapping->GetUnits(), spacing));
}

float CODViewport::GetHorizontalGridSpacing()
{
    return CODMeasure(m_pMapping->GetUnits(), m_hGrid).GetValue();
}

float CODViewport::GetVerticalGridSpacing()
{
    return CODMeasure(m_pMapping->GetUnits(), m_vGrid).GetValue();
}

CODMeasure CODViewport::GetMinGridSpacing()
{
    return CODMeasure(0, 0.0625f * m_pMapping->GetScaleRatio());
}

CODMeasure CODViewport::GetMaxGridSpacing()
{
    return CODMeasure(0, 6.0f * m_pMapping->GetScaleRatio());
}

BOOL CODViewport::GridSpacing(float* hs, float* vs)
{
    m_pMapping->MeasureToLogical(m_hGrid, *hs, FALSE);
    m_pMapping->MeasureToLogical(m_vGrid, *vs, TRUE);
    return std::isfinite(*hs) && std::isfinite(*vs) && *hs > 0 && *vs > 0;
}

CPoint CODViewport::SnapToGrid(int x, int y)
{
    float hs, vs;
    if (!GridSpacing(&hs, &vs))
        return CPoint(x, y);
    CPoint o = GetVirtualOrigin();
    int nx = RoundToInt((x - o.x) / hs), ny = RoundToInt((y - o.y) / vs);
    return CPoint(RoundToInt(nx * hs) + o.x, RoundToInt(ny * vs) + o.y);
}

void CODViewport::DrawGrid(CDC* dc, CRect r)
{
    if (!m_bGridVisible || dc->IsPrinting())
        return;
    CODMeasure minimum = GetMinGridSpacing(), maximum = GetMaxGridSpacing();
    if (m_hGrid < minimum || m_vGrid < minimum || m_hGrid > maximum || m_vGrid > maximum) {
        m_bGridVisible = FALSE;
        return;
    }
    float hs, vs;
    if (!GridSpacing(&hs, &vs))
        return;
    CPoint o = GetVirtualOrigin();
    float x = (int)ceilf((r.left - o.x) / hs) * hs + o.x;
    float y0 = (int)ceilf((r.top - o.y) / vs) * vs + o.y;
    std::vector<int> columns, rows;
    while (RoundToInt(x) < r.right) {
        columns.clear();
        while (columns.size() < 100 && RoundToInt(x) < r.right) {
            columns.push_back(RoundToInt(x));
            x += hs;
        }
        float y = y0;
        while (RoundToInt(y) < r.bottom) {
            rows.clear();
            while (rows.size() < 100 && RoundToInt(y) < r.bottom) {
                rows.push_back(RoundToInt(y));
                y += vs;
            }
            for (int cx : columns)
                for (int cy : rows)
                    dc->SetPixel(cx, cy, m_crGrid);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Drawing

void CODViewport::Draw(CDC* dc)
{
    CRect r;
    if (GetUpdateRect(&r, FALSE) && !r.IsRectEmpty())
        DPtoLP(&r);
    else
        r = GetLogicalRect();
    DrawArea(dc, r);
}

void CODViewport::ClipToModel(CRect& r)
{
    CPoint o = GetVirtualOrigin();
    CSize s = GetVirtualSize();
    r.left = std::max(r.left, o.x);
    r.top = std::max(r.top, o.y);
    r.right = std::min(r.right, o.x + s.cx);
    r.bottom = std::min(r.bottom, o.y + s.cy);
}

void CODViewport::DrawArea(CDC* dc, CRect rect)
{
    CRect device = rect;
    dc->LPtoDP(&device);
    device.NormalizeRect();
    CRgn clip;
    if (clip.CreateRectRgnIndirect(&device))
        dc->SelectClipRgn(&clip);
    CRect clipped = rect;
    ClipToModel(clipped);
    // Every component that reaches into the area: one crossing its edge (scrolled or zoomed
    // partly out of view, or met by a smaller repaint) is drawn clipped, not left out.
    CODComponentSet set;
    if (GetODModel())
        GetODModel()->GetComponentsOverlapping(&set, rect);
    DrawBackground(dc, rect);
    DrawGrid(dc, clipped);
    DrawPageBounds(dc, clipped);
    DrawComponents(dc, &set);
    if (CODController* controller = DYNAMIC_DOWNCAST(CODController, m_pController))
        DrawSelectionHandles(dc, controller->GetSelection(), controller->GetLastSelected(), rect);
}

void CODViewport::DrawBackground(CDC* dc, CRect r)
{
    if (!dc->IsPrinting()) {
        CBrush off(GetOffPageColor());
        dc->FillRect(&r, &off);
    }
    ClipToModel(r);
    COLORREF background = GetODModel() ? GetODModel()->GetBackgroundColor() : RGB(255, 255, 255);
    CBrush brush(background);
    if (r.left < r.right && r.top < r.bottom)
        dc->FillRect(&r, &brush);
    DrawModelBackground(dc, r);
}

void CODViewport::DrawModelBackground(CDC* dc, CRect r)
{
    CODComponent* background = GetODModel() ? GetODModel()->GetBackgroundComponent() : NULL;
    if (background && background->RectTouchesBounds(&r))
        background->Draw(dc);
}

void CODViewport::DrawComponents(CDC* dc, CODComponentSet* set)
{
    if (set == NULL)
        set = GetODModel() ? GetODModel()->GetChildren() : NULL;
    for (int i = 0; set && i < set->GetSize(); ++i)
        (*set)[i]->Draw(dc);
}

void CODViewport::DrawPageBounds(CDC* dc, CRect r)
{
    if (!m_bPageBounds || dc->IsPrinting() || m_szPage.cx == 0 || m_szPage.cy == 0)
        return;
    CPen pen(PS_DASH, 0, RGB(0, 0, 0));
    CPen* old = dc->SelectObject(&pen);
    int mode = dc->SetBkMode(TRANSPARENT);
    for (int x = r.left + m_szPage.cx - r.left % m_szPage.cx; x <= r.right; x += m_szPage.cx) {
        dc->MoveTo(x, r.top);
        dc->LineTo(x, r.bottom);
    }
    for (int y = r.top + m_szPage.cy - r.top % m_szPage.cy; y <= r.bottom; y += m_szPage.cy) {
        dc->MoveTo(r.left, y);
        dc->LineTo(r.right, y);
    }
    dc->SetBkMode(mode);
    dc->SelectObject(old);
}

// ---------------------------------------------------------------------------------------------
// Pages

int CODViewport::GetPageCount()
{
    CSize model = GetVirtualSize();
    int columns = m_szPage.cx > 0 ? (model.cx + m_szPage.cx - 1) / m_szPage.cx : 0;
    int rows = m_szPage.cy > 0 ? (model.cy + m_szPage.cy - 1) / m_szPage.cy : 0;
    return columns * rows;
}

CRect CODViewport::GetPageRect(int page)
{
    if (m_szPage.cx <= 0 || m_szPage.cy <= 0)
        return CRect(0, 0, 0, 0);
    CSize model = GetVirtualSize();
    int columns = (model.cx + m_szPage.cx - 1) / m_szPage.cx;
    int row = columns ? (page - 1) / columns : 0;
    int column = columns ? (page - 1) % columns : 0;
    return CRect(column * m_szPage.cx, row * m_szPage.cy, (column + 1) * m_szPage.cx,
                 (row + 1) * m_szPage.cy);
}

// ---------------------------------------------------------------------------------------------
// Default properties

void CODViewport::SetDefaultProperties(CODPropertyList* list)
{
    m_defaults.RemoveAll();
    for (POSITION pos = list ? list->GetHeadPosition() : NULL; pos != NULL;)
        m_defaults.AddTail(CODPropertyPtr(list->GetNext(pos)->Clone()));
}

void CODViewport::ApplyDefaultPropertiesToSet(CODComponentSet* set)
{
    for (int i = 0; set && i < set->GetSize(); ++i)
        ApplyDefaultProperties((*set)[i]);
}

// ---------------------------------------------------------------------------------------------
// Invalidation

int CODViewport::ComponentMargin(CODComponent* c, int minimum)
{
    CSize t(m_szHandle.cx + 2, m_szHandle.cy + 2);
    DPtoLP(&t);
    int margin = std::max((int)t.cx, minimum);
    if (CODLineProperties* line = DYNAMIC_DOWNCAST(CODLineProperties, c->FindProperty(10)))
        margin = std::max(margin, line->GetLogicalWidth());
    return margin;
}

// Many components (a paste, a deletion) are invalidated as one area: a buffered viewport
// renders each invalidation at once, so one rectangle per component would render the
// growing update area again and again.
void CODViewport::InvalidateComponents(CODComponentSet* set)
{
    const int each = 8;
    CRect all(0, 0, 0, 0);
    for (int i = 0; set && i < set->GetSize(); ++i) {
        CODComponent* c = (*set)[i];
        int w = ComponentMargin(c, INT_MIN);
        CRect r = c->GetBounds();
        r.InflateRect(w, w);
        if (set->GetSize() <= each)
            InvalidateRect(&r, TRUE, FALSE);
        else
            all = i == 0 ? r : CRect(std::min(all.left, r.left), std::min(all.top, r.top),
                                     std::max(all.right, r.right), std::max(all.bottom, r.bottom));
    }
    if (set && set->GetSize() > each)
        InvalidateRect(&all, TRUE, FALSE);
}

CRect UnionRects(const CRect& first, const CRect& second)
{
    CRect a = first, b = second;
    if (a.left > a.right || a.top > a.bottom)
        a.NormalizeRect();
    if (b.left > b.right || b.top > b.bottom)
        b.NormalizeRect();
    if (a == CRect(0, 0, 0, 0))
        return b;
    if (b == CRect(0, 0, 0, 0))
        return a;
    return CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom));
}

CRect CODViewport::GetComponentsUpdateRect(CODComponentSet* set)
{
    CRect all(0, 0, 0, 0);
    for (int i = 0; set && i < set->GetSize(); ++i) {
        CODComponent* c = (*set)[i];
        int w = ComponentMargin(c, 1);
        CRect r = c->GetBounds();
        r.InflateRect(w, w);
        all = UnionRects(all, r);
        CRect previous = c->GetPreviousBounds();
        if (!previous.IsRectEmpty()) {
            previous.InflateRect(w, w);
            all = UnionRects(all, previous);
        }
    }
    InvalidateRect(&all, FALSE, TRUE);
    return all;
}

void CODViewport::OnUpdate(IMvcSubject*, void* message)
{
    if (message == NULL) {
        InvalidateAll();
        return;
    }
    MvcCommandBase* command = static_cast<MvcCommandBase*>(message);
    if (command->GetType() != CODUpdateCommand::typeId)
        return;
    CODUpdateCommand* update = static_cast<CODUpdateCommand*>(command);
    CODComponentSet* set = update->GetComponents();
    CODController* controller = DYNAMIC_DOWNCAST(CODController, m_pController);
    switch (update->GetHint()) {
    case 6:
        for (int i = 0; controller && set && i < set->GetSize(); ++i)
            controller->GetSelection()->Remove((*set)[i]);
        RedrawComponents(set);
        break;
    case 1:
        RedrawComponents(set);
        break;
    case 2: {
        CRect all(0, 0, 0, 0);
        for (int i = 0; set && i < set->GetSize(); ++i) {
            CODComponent* c = (*set)[i];
            int w = ComponentMargin(c, 1);
            CRect now = c->GetBounds(), before = c->GetPreviousBounds();
            now.InflateRect(w, w);
            before.InflateRect(w, w);
            all = UnionRects(UnionRects(all, before), now);
        }
        all.NormalizeRect();
        InvalidateRect(&all, TRUE, FALSE);
        break;
    }
    case 3:
        InvalidateAll();
        break;
    case 5:
        if (controller)
            controller->ClearSelection();
        InvalidateAll();
        break;
    default:
        InvalidateAll();
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Hit tests

CODComponent* CODViewport::ComponentHitTest(int x, int y)
{
    CODModel* model = GetODModel();
    if (model == NULL)
        return NULL;
    CODComponentSet hits;
    model->GetComponentsAtPoint(&hits, x, y, m_nTolerance);
    for (int i = hits.GetSize() - 1; i >= 0; --i) {
        CODComponent* c = hits[i];
        if (c->GetParent() == model && model->GetOption() != 0)
            return c;
        CODEditProperties edit;
        if (c->GetProperty(40, edit) && edit.GetCanSelect())
            return c;
    }
    return NULL;
}

// ---------------------------------------------------------------------------------------------
// Page size, whole-model drawing and export

CRect CODViewport::GetPrinterMinMargins()
{
    CRect margins(0, 0, 0, 0);
    CWinApp* app = AfxGetApp();
    CDC printer;
    if (app == NULL || !app->CreatePrinterDC(printer) || GetODModel() == NULL)
        return margins;
    int left = printer.GetDeviceCaps(PHYSICALOFFSETX), top = printer.GetDeviceCaps(PHYSICALOFFSETY);
    int right = printer.GetDeviceCaps(PHYSICALWIDTH) - printer.GetDeviceCaps(HORZRES) - left;
    int bottom = printer.GetDeviceCaps(PHYSICALHEIGHT) - printer.GetDeviceCaps(VERTRES) - top;
    // Device pixels to the page settings' units, as sizes so that they stay positive.
    int units = GetODModel()->GetPageSettings()->GetUnits();
    int mode = units == PSD_INTHOUSANDTHSOFINCHES ? MM_HIENGLISH : MM_HIMETRIC;
    CSize a(left, top), b(right, bottom);
    int saved = printer.SaveDC();
    printer.SetMapMode(mode);
    printer.DPtoLP(&a);
    printer.DPtoLP(&b);
    printer.RestoreDC(saved);
    margins.SetRect(abs(a.cx), abs(a.cy), abs(b.cx), abs(b.cy));
    return margins;
}

int CODViewport::UpdatePageSize()
{
    CODModel* model = GetODModel();
    if (model == NULL)
        return 0;
    CODPageSettings* page = model->GetPageSettings();
    if (!page->HasPrinter())
        page->SetDefaults();
    CSize paper = page->GetPaperSize();
    CRect margins;
    page->GetMargins(&margins);
    CRect unprintable = GetPrinterMinMargins();
    int pw = paper.cx - (margins.left + margins.right) - (unprintable.left + unprintable.right);
    int ph = paper.cy - (margins.top + margins.bottom) - (unprintable.top + unprintable.bottom);
    if (pw > 0 && ph > 0)
        ConvertSize(page->GetUnits() == PSD_INTHOUSANDTHSOFINCHES ? MM_HIENGLISH : MM_HIMETRIC, &pw, &ph);
    m_szPage = CSize(std::max(0, pw), std::max(0, ph));
    return m_szPage.cx;
}

BOOL CODViewport::ShowWholeModel()
{
    if (GetODModel() == NULL)
        return FALSE;
    CRect b = GetODModel()->GetBounds();
    SetLogicalOrigin(b.left, b.top);
    SetLogicalSize(b.Width(), b.Height());
    return TRUE;
}

void CODViewport::DrawWholeModel(CDC* dc)
{
    ShowWholeModel();
    DrawVisibleBackground(dc);
    DrawComponents(dc, NULL);
}

CRect CODViewport::GetMetafileFrame()
{
    CRect r = GetLogicalRect();
    auto mm100 = [&](int v, BOOL vertical) {
        CODMeasure mm(4);
        m_pMapping->LogicalToMeasure((float)v, mm, vertical);
        return (int)(mm.GetValue() * 100.0f);
    };
    return CRect(mm100(r.left, FALSE), mm100(r.top, TRUE), mm100(r.right, FALSE), mm100(r.bottom, TRUE));
}

BOOL CODViewport::ExportMetafile(CFile* file, LPCTSTR description)
{
    if (file == NULL)
        return FALSE;
    CRect frame = GetMetafileFrame();
    HDC emfDC = ::CreateEnhMetaFileA(NULL, NULL, &frame, description);
    if (emfDC == NULL)
        return FALSE;
    CDC dc;
    dc.Attach(emfDC);
    MvcClientDC attrib(this);
    dc.SetAttribDC(attrib.GetSafeHdc());
    // Export shows the whole model; the view returns to what it showed.
    CPoint origin = GetLogicalOrigin();
    CSize size = GetLogicalSize();
    DrawWholeModel(&dc);
    SetLogicalOrigin(origin.x, origin.y);
    SetLogicalSize(size.cx, size.cy);
    dc.SetAttribDC(NULL);
    HENHMETAFILE emf = ::CloseEnhMetaFile(dc.Detach());
    if (emf == NULL)
        return FALSE;
    UINT n = ::GetEnhMetaFileBits(emf, 0, NULL);
    std::vector<BYTE> bytes(n);
    BOOL ok = n > 0 && ::GetEnhMetaFileBits(emf, n, bytes.data()) == n;
    ::DeleteEnhMetaFile(emf);
    if (!ok)
        return FALSE;
    file->Write(bytes.data(), n);
    return TRUE;
}

BOOL CODViewport::ExportBitmap(SECDib* dib, CDC* reference)
{
    if (dib == NULL)
        return FALSE;
    CDC memory;
    if (!memory.CreateCompatibleDC(reference))
        return FALSE;
    CRect extent(GetVirtualOrigin(), GetVirtualSize());
    CSize size = extent.Size();
    LPtoDP(&size);
    size.cx = abs(size.cx);
    size.cy = abs(size.cy);
    // A bitmap of the screen's format when no reference DC is given.
    CBitmap bitmap;
    HDC screenDC = ::GetDC(NULL);
    CDC screen;
    screen.Attach(screenDC);
    CDC* format = reference ? reference : &screen;
    BOOL made = size.cx > 0 && size.cy > 0 && bitmap.CreateCompatibleBitmap(format, size.cx, size.cy);
    screen.Detach();
    ::ReleaseDC(NULL, screenDC);
    if (!made)
        return FALSE;
    CBitmap* old = memory.SelectObject(&bitmap);
    CPoint origin = GetLogicalOrigin();
    SetLogicalOrigin(0, 0);
    PrepareMapping(&memory, FALSE);
    DrawBackground(&memory, extent);
    DrawComponents(&memory, NULL);
    SetLogicalOrigin(origin.x, origin.y);
    memory.SelectObject(old);
    return dib->CreateFromBitmap(&memory, &bitmap);
}

// ---------------------------------------------------------------------------------------------
// Controller, handles and drag feedback

BOOL CODViewport::CreateController()
{
    CODController* controller = new CODController(this);
    m_pController = controller;
    m_bOwnsController = TRUE;
    if (m_pModel)
        controller->SetModel(m_pModel);
    return TRUE;
}

CSize CODViewport::GetAspectRatio()
{
    if (GetMapMode() != MM_ANISOTROPIC)
        return CSize(1, 1);
    CSize l = GetLogicalExtents(), d = GetDeviceExtents();
    return CSize(l.cx * d.cy, l.cy * d.cx);
}

CRect CODViewport::GetHandleRect(int x, int y)
{
    return CRect(x - m_szHandle.cx, y - m_szHandle.cy, x + m_szHandle.cx, y + m_szHandle.cy);
}

void CODViewport::GetHandlePolygon(int x, int y, POINT* corners)
{
    CRect r = GetHandleRect(x, y);
    corners[0] = CPoint(r.left, r.top);
    corners[1] = CPoint(r.right, r.top);
    corners[2] = CPoint(r.right, r.bottom);
    corners[3] = CPoint(r.left, r.bottom);
}

namespace {

// Vertex handles for what the controller edits by its vertices, else the eight scaling ones.
void HandlesOf(MvcController* mvc, CODComponent* c, CArray<CPoint, CPoint>& handles)
{
    CODController* controller = DYNAMIC_DOWNCAST(CODController, mvc);
    c->GetHandles(handles, controller ? controller->CanEditVertices(c) : FALSE);
}

}  // namespace

void CODViewport::DrawSelectionHandles(CDC* dc, CODComponentSet* selection, CODComponent* primary,
                                       CRect rect)
{
    if (dc->IsPrinting() || selection == NULL)
        return;
    CPen* oldPen = (CPen*)dc->SelectStockObject(BLACK_PEN);
    CBrush* oldBrush = (CBrush*)dc->SelectStockObject(WHITE_BRUSH);
    for (int i = 0; i < selection->GetSize(); ++i) {
        CODComponent* c = (*selection)[i];
        if (!c->RectTouchesBounds(&rect))
            continue;
        if (c == primary)
            dc->SelectStockObject(LTGRAY_BRUSH);
        CArray<CPoint, CPoint> handles;
        HandlesOf(m_pController, c, handles);
        for (int n = 0; n < handles.GetSize(); ++n) {
            if (handles[n].x == -1)
                continue;
            CPoint p = handles[n];
            dc->LPtoDP(&p);
            POINT corners[4];
            GetHandlePolygon(p.x, p.y, corners);
            int saved = dc->SaveDC();
            dc->SetMapMode(MM_TEXT);
            dc->SetWindowOrg(0, 0);
            dc->SetViewportOrg(0, 0);
            dc->Polygon(corners, 4);
            dc->RestoreDC(saved);
        }
        if (c == primary)
            dc->SelectStockObject(WHITE_BRUSH);
    }
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}

namespace {

// A prepared client DC clipped to the viewport's bounds.
struct FeedbackDC : MvcClientDC {
    explicit FeedbackDC(CODViewport* viewport) : MvcClientDC(viewport, 1)
    {
        CRect bounds = viewport->GetBounds();
        CRgn clip;
        clip.CreateRectRgnIndirect(&bounds);
        SelectClipRgn(&clip);
    }
};

}  // namespace

BOOL CODViewport::TrackMove(CODComponentSetTracker* tracker, int dx, int dy)
{
    FeedbackDC dc(this);
    tracker->TrackMove(&dc, dx, dy);
    return TRUE;
}

void CODViewport::TrackRotate(CODComponentSetTracker* tracker, int angle)
{
    FeedbackDC dc(this);
    CSize aspect = GetAspectRatio();
    tracker->TrackRotate(&dc, angle, aspect.cx, aspect.cy);
}

void CODViewport::TrackScale(CODComponentSetTracker* tracker, float sx, float sy, int reference)
{
    FeedbackDC dc(this);
    tracker->TrackScale(&dc, sx, sy, reference);
}

void CODViewport::DrawTracker(CODComponentSetTracker* tracker)
{
    FeedbackDC dc(this);
    tracker->Draw(&dc);
}

void CODViewport::EraseTracker(CODComponentSetTracker* tracker)
{
    DrawTracker(tracker);
    tracker->EmptyDrawList();
}

int CODViewport::TrackVertex(CODComponent* component, int vertex, int dx, int dy)
{
    CODPointComponent* p = DYNAMIC_DOWNCAST(CODPointComponent, component);
    if (p == NULL)
        return -1;
    CArray<CPoint, CPoint> saved;
    p->GetVertexArray(&saved);
    int result = p->MoveVertex(vertex, dx, dy);
    if (result == 0) {
        FeedbackDC dc(this);
        p->PushAncestorTransforms();
        p->DrawFeedback(&dc);
        p->PopAncestorTransforms();
    }
    p->SetVertexArray(&saved);
    p->UpdateRegion(FALSE);
    return result;
}

CODComponent* CODViewport::HandleHitTest(CPoint logical, int& handle)
{
    CODController* controller = DYNAMIC_DOWNCAST(CODController, m_pController);
    handle = -1;
    if (controller == NULL)
        return NULL;
    CSize margin = m_szHandle;
    DPtoLP(&margin);
    CODComponentSet* selection = controller->GetSelection();
    CPoint device = logical;
    LPtoDP(&device, 1);
    for (int i = selection->GetSize() - 1; i >= 0; --i) {
        CODComponent* c = (*selection)[i];
        CRect b = c->GetBounds();
        b.InflateRect(abs(margin.cx), abs(margin.cy));
        if (!PointInRect(logical.x, logical.y, b))
            continue;
        CArray<CPoint, CPoint> handles;
        HandlesOf(m_pController, c, handles);
        for (int n = 0; n < handles.GetSize(); ++n) {
            handle = n;
            if (handles[n].x == -1)
                continue;
            CPoint p = handles[n];
            LPtoDP(&p, 1);
            CRect r = GetHandleRect(p.x, p.y);
            r.InflateRect(3, 3);
            if (PointInRect(device.x, device.y, r))
                return c;
        }
    }
    return NULL;
}

CODComponent* CODViewport::SegmentHitTest(int x, int y, int& segment)
{
    segment = -1;
    CODController* controller = DYNAMIC_DOWNCAST(CODController, m_pController);
    if (controller == NULL)
        return NULL;
    CODComponentSet* selection = controller->GetSelection();
    for (int i = selection->GetSize() - 1; i >= 0; --i) {
        CODComponent* c = (*selection)[i];
        CRect b = c->GetBounds();
        b.InflateRect(m_szHandle.cx, m_szHandle.cy);
        if (!PointInRect(x, y, b) || !controller->CanEditVertices(c))
            continue;
        int hit = c->CreateOutlineRegion().HitTestSegment(x, y, m_nTolerance);
        if (hit >= 0) {
            segment = hit;
            return c;
        }
    }
    return NULL;
}

// Symbols and their ports are not part of this toolkit's shapes yet: no port is ever found.
// The first top-level selectable symbol with a port within 10 device pixels of the point.
CODPortComponent* CODViewport::FindPortAt(CPoint logical)
{
    CODModel* model = GetODModel();
    if (model == NULL)
        return NULL;
    CSize tolerance(10, 10);
    DPtoLP(&tolerance);
    for (int i = 0; i < model->GetChildCount(); ++i) {
        CODSymbolComponent* symbol = DYNAMIC_DOWNCAST(CODSymbolComponent, model->GetChild(i));
        if (symbol == NULL)
            continue;
        CODEditProperties edit;
        if (model->GetOption() == 0 && symbol->GetProperty(40, edit) && !edit.GetCanSelect())
            continue;
        if (CODPortComponent* port = symbol->FindPortAt(&logical, abs(tolerance.cx)))
            return port;
    }
    return NULL;
}
