// The viewport of a drawing: zoom within limits, grid and page bounds, the drawing order of
// background, grid, page bounds and components, invalidation from the model's hints, snapping,
// hit tests and the default properties of new components.
#pragma once
#include "Mvc.h"
#include "ODMeasure.h"
#include "ODModel.h"
#include "SECDib.h"

class CODComponentSetTracker;
class CODPortComponent;

class CODViewport : public MvcViewport
{
public:
    CODViewport();
    ~CODViewport() override;

    void Draw(CDC* dc) override;
    void InitialUpdate() override;
    void PrepareDC(CDC* dc) override { PrepareMapping(dc, TRUE); }
    CSize SetZoom(int xPercent, int yPercent) override;
    // The virtual extent is the model's own bounds.
    void SetVirtualSize(int cx, int cy) override;
    void SetVirtualOrigin(int x, int y) override;
    CSize GetVirtualSize() override;
    CPoint GetVirtualOrigin() override;
    void OnUpdate(IMvcSubject* subject, void* message) override;
    BOOL CreateController() override;

    virtual CSize GetAspectRatio();
    virtual void GetHandlePolygon(int x, int y, POINT* corners);
    virtual CRect GetHandleRect(int x, int y);
    virtual void DrawSelectionHandles(CDC* dc, CODComponentSet* selection, CODComponent* primary,
                                      CRect rect);
    // Feedback of the controller's drags on a client DC clipped to the viewport.
    virtual BOOL TrackMove(CODComponentSetTracker* tracker, int dx, int dy);
    virtual void TrackRotate(CODComponentSetTracker* tracker, int angle);
    virtual void TrackScale(CODComponentSetTracker* tracker, float sx, float sy, int reference);
    virtual int TrackVertex(CODComponent* component, int vertex, int dx, int dy);
    virtual void DrawTracker(CODComponentSetTracker* tracker);
    virtual void EraseTracker(CODComponentSetTracker* tracker);
    // A selected component and the index of its handle (or outline segment) at a logical point.
    virtual CODComponent* HandleHitTest(CPoint logical, int& handle);
    virtual CODComponent* SegmentHitTest(int x, int y, int& segment);
    virtual CODPortComponent* FindPortAt(CPoint logical);

    virtual CODMeasure GetMinGridSpacing();
    virtual CODMeasure GetMaxGridSpacing();
    virtual void RefreshComponents(CODComponentSet* set) { RedrawComponents(set); }
    virtual void PrepareMapping(CDC* dc, BOOL scale);
    virtual void DrawArea(CDC* dc, CRect rect);
    virtual void DrawComponents(CDC* dc, CODComponentSet* set);
    virtual void DrawGrid(CDC* dc, CRect rect);
    virtual void DrawModelBackground(CDC* dc, CRect rect);
    virtual void DrawPageBounds(CDC* dc, CRect rect);
    virtual void DrawBackground(CDC* dc, CRect rect);
    virtual COLORREF GetOffPageColor() { return RGB(128, 128, 128); }
    virtual void ClipToModel(CRect& rect);
    virtual CODComponent* ComponentHitTest(int x, int y);
    virtual BOOL ShowWholeModel();
    virtual void DrawWholeModel(CDC* dc);
    virtual CRect GetMetafileFrame();
    virtual BOOL ExportMetafile(CFile* file, LPCTSTR description);
    virtual BOOL ExportBitmap(SECDib* dib, CDC* reference);
    void DrawVisibleBackground(CDC* dc) { DrawBackground(dc, GetLogicalRect()); }

    CODModel* GetODModel() { return static_cast<CODModel*>(m_pModel); }

    // Limits in percent: the minimum is at least 1 and the maximum not below it.
    void SetZoomLimits(int minimum, int maximum);
    void GetZoomLimits(int* minimum, int* maximum) const
    {
        *minimum = m_nMinZoom;
        *maximum = m_nMaxZoom;
    }
    void SetZoomStep(int step) { m_nZoomStep = step; }
    void ZoomIn(int x, int y);
    void ZoomOut(int x, int y);
    void ZoomToRect(CRect rect);
    void ZoomToComponents(CODComponentSet* set);
    void EnsureVisible(CODComponentSet* set);

    void SetAngleSnap(BOOL on) { m_bAngleSnap = on; }
    BOOL IsAngleSnap() const { return m_bAngleSnap; }
    void SetSnapToGrid(BOOL on) { m_bSnapToGrid = on; }
    BOOL IsSnapToGrid() const { return m_bSnapToGrid; }
    void SetGridVisible(BOOL on) { m_bGridVisible = on; }
    BOOL IsGridVisible() const { return m_bGridVisible; }
    void SetHorizontalGridSpacing(float spacing);
    void SetVerticalGridSpacing(float spacing);
    float GetHorizontalGridSpacing();
    float GetVerticalGridSpacing();
    CODMeasure* GetHorizontalGridMeasure() { return &m_hGrid; }
    CODMeasure* GetVerticalGridMeasure() { return &m_vGrid; }
    void SetGridColor(COLORREF colour) { m_crGrid = colour; }
    COLORREF GetGridColor() const { return m_crGrid; }
    void SetPageBoundsVisible(BOOL on) { m_bPageBounds = on; }
    BOOL IsPageBoundsVisible() const { return m_bPageBounds; }
    void SetPastePosition(int x, int y) { m_ptPaste = CPoint(x, y); }
    CPoint GetPastePosition() const { return m_ptPaste; }
    CODCoordinateMapping* GetCoordinateMapping() { return m_pMapping; }
    int GetHitTolerance() const { return m_nTolerance; }
    CSize GetHandleSize() const { return m_szHandle; }
    // The grid point nearest to (x, y); the point itself when the spacing gives no grid.
    CPoint SnapToGrid(int x, int y);

    CODPropertyList* GetDefaultProperties() { return &m_defaults; }
    void SetDefaultProperties(CODPropertyList* list);
    void ApplyDefaultProperties(CODComponent* c) { c->ApplyProperties(&m_defaults); }
    void ApplyDefaultPropertiesToSet(CODComponentSet* set);

    void InvalidateAll() { Invalidate(TRUE, FALSE); }
    void InvalidateComponents(CODComponentSet* set);
    void RedrawComponents(CODComponentSet* set) { InvalidateComponents(set); }
    CRect GetComponentsUpdateRect(CODComponentSet* set);

    // Pages: their printable size in logical units and their layout from logical (0, 0).
    virtual int UpdatePageSize();
    // The printer's unprintable margins in the page settings' units; 0 without a printer.
    CRect GetPrinterMinMargins();
    void SetPageSize(CSize size) { m_szPage = size; }
    CSize GetPageSize() const { return m_szPage; }
    int GetPageCount();
    CRect GetPageRect(int page);

protected:
    // The margin invalidated around a component: its own line width, at least the handle
    // size plus 2 pixels in logical units (at least `minimum`).
    int ComponentMargin(CODComponent* c, int minimum);
    // The grid spacings in logical units; FALSE when either is not a positive finite number.
    BOOL GridSpacing(float* hs, float* vs);

    BOOL m_bAngleSnap;
    BOOL m_bSnapToGrid;
    BOOL m_bGridVisible;
    CODMeasure m_hGrid;
    CODMeasure m_vGrid;
    COLORREF m_crGrid;
    BOOL m_bPageBounds;
    int m_nTolerance;
    CSize m_szHandle;
    int m_nMinZoom;
    int m_nMaxZoom;
    int m_nZoomStep;
    CODPropertyList m_defaults;
    CPoint m_ptPaste;
    CSize m_szPage;
    CODCoordinateMapping* m_pMapping;
};
