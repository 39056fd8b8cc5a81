// The controller's creation side: the shape tools with their XOR feedback, the text, image,
// port and link tools, in-place text editing, and the zoom and pan tools.
#include "ODController.h"
#include <afxdlgs.h>
#include "ODClosedShapes.h"
#include "ODEditProperties.h"
#include "ODGeometry.h"
#include "ODImageComponent.h"
#include "ODLabelComponent.h"
#include "ODLinkComponent.h"
#include "ODMetafileComponent.h"
#include "ODPointComponent.h"
#include "ODPortComponent.h"
#include "ODSymbolComponent.h"
#include "ODTextComponent.h"
#include "diagram_res.h"

// ---------------------------------------------------------------------------------------------
// Feedback drawing

namespace {

// A client DC of the viewport window in device units, clipped to the viewport, with a black
// one-pixel pen in NOTXOR so that drawing a figure twice removes it.
class FeedbackDC : public CDC
{
public:
    FeedbackDC(HWND wnd, const CRect& bounds, int penStyle) : m_hWndDC(wnd)
    {
        Attach(::GetDC(wnd));
        m_nSaved = SaveDC();
        CRgn clip;
        clip.CreateRectRgnIndirect(&bounds);
        SelectClipRgn(&clip);
        m_pen.CreatePen(penStyle, 0, RGB(0, 0, 0));
        SelectObject(&m_pen);
        SelectStockObject(NULL_BRUSH);
        SetROP2(R2_NOTXORPEN);
        SetBkMode(TRANSPARENT);
    }
    ~FeedbackDC() override
    {
        RestoreDC(m_nSaved);
        ::ReleaseDC(m_hWndDC, Detach());
    }

private:
    HWND m_hWndDC;
    int m_nSaved;
    CPen m_pen;
};

}  // namespace

void CODController::DrawTrackingRect(int x, int y)
{
    m_ptTracking = CPoint(x, y);
    CPoint p = ClampDevice(CPoint(x, y));
    FeedbackDC dc(m_hWnd, m_pODViewport->GetBounds(), m_nState == 12 ? PS_SOLID : PS_DOT);
    CRect r(m_ptPressDP, p);
    r.NormalizeRect();
    dc.Rectangle(r.left, r.top, r.right + 1, r.bottom + 1);
}

void CODController::DrawTrackingEllipse(int x, int y)
{
    m_ptTracking = CPoint(x, y);
    CPoint p = ClampDevice(CPoint(x, y));
    FeedbackDC dc(m_hWnd, m_pODViewport->GetBounds(), PS_SOLID);
    CRect r(m_ptPressDP, p);
    r.NormalizeRect();
    dc.Ellipse(r.left, r.top, r.right + 1, r.bottom + 1);
}

void CODController::DrawTrackingLine(int x, int y)
{
    m_ptTracking = CPoint(x, y);
    CPoint p = ClampDevice(CPoint(x, y));
    FeedbackDC dc(m_hWnd, m_pODViewport->GetBounds(), PS_SOLID);
    POINT line[2] = {m_ptPressDP, p};
    dc.Polyline(line, 2);
}

CPoint CODController::PolyPointLP(int i)
{
    CPoint p = m_points[i];
    LPtoDP(&p);
    return p;
}

void CODController::DrawTrackingPolyline(int x, int y)
{
    m_ptTracking = CPoint(x, y);
    CPoint p = ClampDevice(CPoint(x, y));
    if (m_points.GetSize() == 0)
        return;
    m_points[m_points.GetSize() - 1] = ClampToPage(m_points[m_points.GetSize() - 1]);
    FeedbackDC dc(m_hWnd, m_pODViewport->GetBounds(), PS_SOLID);
    dc.MoveTo(PolyPointLP(0));
    for (int i = 1; i < m_points.GetSize(); ++i)
        dc.LineTo(PolyPointLP(i));
    dc.LineTo(p);
}

void CODController::DrawTrackingPolygon(int x, int y)
{
    DrawTrackingPolyline(x, y);
    if (m_points.GetSize() > 1) {
        FeedbackDC dc(m_hWnd, m_pODViewport->GetBounds(), PS_SOLID);
        dc.MoveTo(ClampDevice(CPoint(x, y)));
        dc.LineTo(PolyPointLP(0));
    }
}

void CODController::DrawTrackingCurve(int x, int y)
{
    DrawTrackingPolyline(x, y);
    const int n = (int)m_points.GetSize();
    const int k = (n - 1) / 3;
    if (k <= 0)
        return;
    CArray<CPoint, CPoint> curve;
    for (int i = 0; i < 3 * k + 1; ++i)
        curve.Add(PolyPointLP(i));
    FeedbackDC dc(m_hWnd, m_pODViewport->GetBounds(), PS_DOT);
    dc.PolyBezier(curve.GetData(), (int)curve.GetSize());
}

// ---------------------------------------------------------------------------------------------
// Common parts of the tools

BOOL CODController::CanDraw()
{
    return GetODModel() && (GetODModel()->GetOption() != 0 || !IsModelReadOnly());
}

void CODController::CheckStates(CCmdUI* ui, int first, int last, BOOL extra)
{
    ui->SetCheck((m_nState >= first && m_nState <= last) || extra);
}

void CODController::ArmTool(int state, UINT cursor)
{
    m_nState = state;
    SetCursorFromResource(cursor);
}

void CODController::ApplyDefaultProperties(CODComponent* component)
{
    if (m_bApplyDefaults && component)
        m_pODViewport->ApplyDefaultProperties(component);
}

void CODController::FinishCreation(CODComponent* component, BOOL applyDefaults)
{
    if (applyDefaults)
        ApplyDefaultProperties(component);
    InsertComponent(component);
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
}

BOOL CODController::SnapPointToGrid(CODComponent* component, int handle)
{
    float fx, fy;
    component->GetExtentHandleF(handle, &fx, &fy);
    CPoint p(RoundToInt(fx), RoundToInt(fy));
    CPoint snapped = m_pODViewport->SnapToGrid(p.x, p.y);
    component->Translate(snapped.x - p.x, snapped.y - p.y);
    return TRUE;
}

BOOL CODController::KeepInsidePage(CODComponent* component)
{
    CODModel* model = GetODModel();
    if (model == NULL)
        return FALSE;
    float x0, y0, x1, y1;
    component->GetRegionHandleF(0, &x0, &y0);
    component->GetRegionHandleF(4, &x1, &y1);
    CPoint tl(RoundToInt(x0), RoundToInt(y0)), br(RoundToInt(x1), RoundToInt(y1));
    CPoint origin = model->GetOrigin();
    CSize size = model->GetSize();
    CPoint moved = tl;
    if (moved.x < origin.x)
        moved.x = origin.x;
    if (moved.y < origin.y)
        moved.y = origin.y;
    if (br.x > origin.x + size.cx)
        moved.x -= br.x - (origin.x + size.cx);
    if (br.y > origin.y + size.cy)
        moved.y -= br.y - (origin.y + size.cy);
    component->Translate(moved.x - tl.x, moved.y - tl.y);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Tool commands

void CODController::OnSelectTool()
{
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
}

void CODController::OnFreeRotateTool()
{
    m_nState = 3;
    SetStandardCursor(IDC_ARROW);
}

void CODController::OnRectangleTool() { ArmTool(10, IDC_OD_DRAW); }
void CODController::OnLineTool() { ArmTool(13, IDC_OD_DRAW); }
void CODController::OnPolylineTool() { ArmTool(16, IDC_OD_DRAW); }
void CODController::OnPolygonTool() { ArmTool(19, IDC_OD_DRAW); }
void CODController::OnPolycurveTool() { ArmTool(22, IDC_OD_DRAW); }
void CODController::OnClosedCurveTool() { ArmTool(25, IDC_OD_DRAW); }
void CODController::OnEllipseTool() { ArmTool(28, IDC_OD_DRAW); }
void CODController::OnTextTool() { ArmTool(31, IDC_OD_TEXT); }
void CODController::OnPortTool() { ArmTool(33, IDC_OD_PORT); }
void CODController::OnZoomTool() { ArmTool(40, IDC_OD_ZOOM); }
void CODController::OnPanTool() { ArmTool(43, IDC_OD_PAN); }

void CODController::OnUpdateSelectTool(CCmdUI* ui) { CheckStates(ui, 0, 2); }

void CODController::OnUpdateFreeRotateTool(CCmdUI* ui)
{
    OnUpdateRotateFlip(ui);
    CheckStates(ui, 3, 5);
}

#define OD_TOOL_UPDATE(name, first, last)                                                   \
    void CODController::name(CCmdUI* ui)                                                    \
    {                                                                                       \
        ui->Enable(CanDraw());                                                              \
        CheckStates(ui, first, last);                                                       \
    }
OD_TOOL_UPDATE(OnUpdateRectangleTool, 10, 12)
OD_TOOL_UPDATE(OnUpdateLineTool, 13, 15)
OD_TOOL_UPDATE(OnUpdatePolycurveTool, 22, 24)
OD_TOOL_UPDATE(OnUpdateClosedCurveTool, 25, 27)
OD_TOOL_UPDATE(OnUpdateEllipseTool, 28, 30)
OD_TOOL_UPDATE(OnUpdateTextTool, 31, 31)
OD_TOOL_UPDATE(OnUpdateInsertImage, 32, 32)
OD_TOOL_UPDATE(OnUpdatePortTool, 33, 33)
#undef OD_TOOL_UPDATE

void CODController::OnUpdatePolylineTool(CCmdUI* ui)
{
    ui->Enable(CanDraw());
    ui->SetCheck(m_nState == 16 || m_nState == 18);
}

void CODController::OnUpdatePolygonTool(CCmdUI* ui)
{
    ui->Enable(CanDraw());
    ui->SetCheck(m_nState == 19 || m_nState == 21);
}

void CODController::OnUpdateLinkTool(CCmdUI* ui)
{
    ui->Enable(CanDraw());
    ui->SetCheck(m_nState == 37 || m_nState == 39);
}

void CODController::OnUpdateZoomTool(CCmdUI* ui) { CheckStates(ui, 40, 42); }
void CODController::OnUpdatePanTool(CCmdUI* ui) { CheckStates(ui, 43, 45); }

// ---------------------------------------------------------------------------------------------
// Rectangle and ellipse

void CODController::OnRectButtonDown(UINT, int, int) { m_nState = 11; }

void CODController::OnRectDragStart(UINT, int, int)
{
    BeginCapture();
    if (m_pODViewport->IsSnapToGrid())
        m_ptPressLP = m_pODViewport->SnapToGrid(m_ptPressLP.x, m_ptPressLP.y);
    m_ptPressLP = ClampToPage(m_ptPressLP);
    m_ptPressDP = m_ptPressLP;
    LPtoDP(&m_ptPressDP);
    m_nState = m_nState == 29 ? 30 : 12;
    if (m_nState == 30)
        DrawTrackingEllipse(m_ptPressDP.x, m_ptPressDP.y);
    else
        DrawTrackingRect(m_ptPressDP.x, m_ptPressDP.y);
}

void CODController::OnRectDrag(UINT flags, int x, int y)
{
    CPoint p = ToLogical(x, y, TRUE);
    LPtoDP(&p);
    const BOOL ellipse = m_nState == 30;
    if (ellipse)
        DrawTrackingEllipse(m_ptTracking.x, m_ptTracking.y);
    else
        DrawTrackingRect(m_ptTracking.x, m_ptTracking.y);
    if (flags & MK_SHIFT)
        ConstrainSquare(p);
    if (ellipse)
        DrawTrackingEllipse(p.x, p.y);
    else
        DrawTrackingRect(p.x, p.y);
}

void CODController::OnRectCreate(UINT flags, int x, int y)
{
    EndCapture();
    CPoint p(x, y);
    if (flags & MK_SHIFT)
        ConstrainSquare(p);
    p = ClampToPage(ToLogical(p.x, p.y, TRUE));
    CRect r(m_ptPressLP, p);
    r.NormalizeRect();
    CODComponent* created;
    if (m_nState == 30) {
        CODEllipseComponent* e = new CODEllipseComponent;
        e->Create(r);
        created = e;
    } else {
        CODRectComponent* rect = new CODRectComponent;
        rect->Create(r.left, r.top, r.right, r.bottom);
        created = rect;
    }
    FinishCreation(created);
}

void CODController::OnRectCancel(UINT, int, int)
{
    EndCapture();
    m_nState = 10;
    SetStandardCursor(IDC_ARROW);
}

void CODController::OnEllipseButtonDown(UINT, int, int) { m_nState = 29; }
void CODController::OnEllipseDragStart(UINT f, int x, int y) { OnRectDragStart(f, x, y); }
void CODController::OnEllipseDrag(UINT f, int x, int y) { OnRectDrag(f, x, y); }
void CODController::OnEllipseCreate(UINT f, int x, int y) { OnRectCreate(f, x, y); }

void CODController::OnEllipseCancel(UINT, int, int)
{
    EndCapture();
    m_nState = 28;
    SetStandardCursor(IDC_ARROW);
}

// ---------------------------------------------------------------------------------------------
// Line

void CODController::OnLineButtonDown(UINT, int, int) { m_nState = 14; }

void CODController::OnLineDragStart(UINT, int, int)
{
    m_ptPressLP = ClampToPage(m_ptPressLP);
    if (m_pODViewport->IsSnapToGrid())
        m_ptPressLP = m_pODViewport->SnapToGrid(m_ptPressLP.x, m_ptPressLP.y);
    m_ptPressDP = m_ptPressLP;
    LPtoDP(&m_ptPressDP);
    BeginCapture();
    DrawTrackingLine(m_ptPressDP.x, m_ptPressDP.y);
    m_nState = 15;
}

void CODController::OnLineDrag(UINT flags, int x, int y)
{
    CPoint p = ToLogical(x, y, TRUE);
    LPtoDP(&p);
    DrawTrackingLine(m_ptTracking.x, m_ptTracking.y);
    if (flags & MK_SHIFT)
        ConstrainAxis(m_ptPressDP, p);
    DrawTrackingLine(p.x, p.y);
}

void CODController::OnLineCreate(UINT flags, int x, int y)
{
    CPoint p = ClampDevice(CPoint(x, y));
    EndCapture();
    if (flags & MK_SHIFT)
        ConstrainAxis(m_ptPressDP, p);
    p = ToLogical(p.x, p.y, TRUE);
    CPoint points[2] = {m_ptPressLP, p};
    CODLineComponent* line = new CODLineComponent;
    line->Create(points, 2);
    FinishCreation(line);
}

void CODController::OnLineCancel(UINT, int, int)
{
    EndCapture();
    m_nState = 13;
}

// ---------------------------------------------------------------------------------------------
// Polyline, polygon, polycurve and closed curve share one click-by-click gesture.

namespace {

enum PolyKind { polyLine, polyGon, polyCurve, polyClosed };

int ArmedState(PolyKind k) { return k == polyLine ? 16 : k == polyGon ? 19 : k == polyCurve ? 22 : 25; }

}  // namespace

#define OD_POLY_FEEDBACK(kind, x, y)                                                        \
    do {                                                                                    \
        if ((kind) == polyGon)                                                              \
            DrawTrackingPolygon(x, y);                                                      \
        else if ((kind) == polyLine)                                                        \
            DrawTrackingPolyline(x, y);                                                     \
        else                                                                                \
            DrawTrackingCurve(x, y);                                                        \
    } while (0)

void CODController::OnPolylineButtonDown(UINT, int x, int y)
{
    CPoint lp = ToLogical(x, y, TRUE);
    CPoint dp = lp;
    LPtoDP(&dp);
    m_points.RemoveAll();
    m_points.Add(lp);
    const PolyKind kind = m_nState == 19 ? polyGon : m_nState == 22 ? polyCurve
                        : m_nState == 25 ? polyClosed : polyLine;
    OD_POLY_FEEDBACK(kind, dp.x, dp.y);
    m_nState = ArmedState(kind) + 1;
}

void CODController::OnPolylineDragStart(UINT, int, int)
{
    BeginCapture();
    const PolyKind kind = m_nState == 20 ? polyGon : m_nState == 23 ? polyCurve
                        : m_nState == 26 ? polyClosed : polyLine;
    if (m_pODViewport->IsSnapToGrid())
        m_ptPressLP = m_pODViewport->SnapToGrid(m_ptPressLP.x, m_ptPressLP.y);
    if (kind == polyLine || kind == polyGon)
        m_ptPressLP = ClampToPage(m_ptPressLP);
    m_ptPressDP = m_ptPressLP;
    LPtoDP(&m_ptPressDP);
    // The press drew the figure at the press point; this redraws it there, erasing it.
    OD_POLY_FEEDBACK(kind, m_ptTracking.x, m_ptTracking.y);
    OD_POLY_FEEDBACK(kind, m_ptPressDP.x, m_ptPressDP.y);
    m_nState = ArmedState(kind) + 2;
}

void CODController::OnPolylineMouseMove(UINT flags, int x, int y)
{
    const PolyKind kind = m_nState == 21 ? polyGon : m_nState == 24 ? polyCurve
                        : m_nState == 27 ? polyClosed : polyLine;
    CPoint p = ToLogical(x, y, TRUE);
    LPtoDP(&p);
    OD_POLY_FEEDBACK(kind, m_ptTracking.x, m_ptTracking.y);
    if ((flags & MK_SHIFT) && m_points.GetSize())
        ConstrainAxis(PolyPointLP((int)m_points.GetSize() - 1), p);
    OD_POLY_FEEDBACK(kind, p.x, p.y);
}

void CODController::OnPolylineAddPoint(UINT flags, int x, int y)
{
    const PolyKind kind = m_nState == 21 ? polyGon : m_nState == 24 ? polyCurve
                        : m_nState == 27 ? polyClosed : polyLine;
    CPoint lp = ToLogical(x, y, TRUE);
    CPoint dp = lp;
    LPtoDP(&dp);
    OD_POLY_FEEDBACK(kind, m_ptTracking.x, m_ptTracking.y);
    if ((flags & MK_SHIFT) && m_points.GetSize()) {
        ConstrainAxis(PolyPointLP((int)m_points.GetSize() - 1), dp);
        lp = dp;
        DPtoLP(&lp);
    }
    m_points.Add(lp);
    OD_POLY_FEEDBACK(kind, dp.x, dp.y);
}

int CODController::PolyFinishStateCheck(int minimum, UINT flags, int x, int y)
{
    EndCapture();
    if (m_points.GetSize() < minimum) {
        switch (m_nState) {
        case 21: OnPolygonEnd(flags, x, y); break;
        case 24: OnPolycurveEnd(flags, x, y); break;
        case 27: OnClosedCurveEnd(flags, x, y); break;
        default: OnPolylineEnd(flags, x, y); break;
        }
        return FALSE;
    }
    const PolyKind kind = m_nState == 21 ? polyGon : m_nState == 24 ? polyCurve
                        : m_nState == 27 ? polyClosed : polyLine;
    OD_POLY_FEEDBACK(kind, m_ptTracking.x, m_ptTracking.y);
    return TRUE;
}

void CODController::OnPolylineFinish(UINT flags, int x, int y)
{
    if (!PolyFinishStateCheck(2, flags, x, y))
        return;
    CODLineComponent* line = new CODLineComponent;
    line->Create(m_points);
    FinishCreation(line);
}

void CODController::OnPolylineEnd(UINT, int, int)
{
    EndCapture();
    const PolyKind kind = m_nState == 21 ? polyGon : m_nState == 24 ? polyCurve
                        : m_nState == 27 ? polyClosed : polyLine;
    OD_POLY_FEEDBACK(kind, m_ptTracking.x, m_ptTracking.y);
    m_points.RemoveAll();
    m_nState = ArmedState(kind);
}

void CODController::OnPolygonButtonDown(UINT f, int x, int y) { OnPolylineButtonDown(f, x, y); }
void CODController::OnPolygonDragStart(UINT f, int x, int y) { OnPolylineDragStart(f, x, y); }
void CODController::OnPolygonAddPoint(UINT f, int x, int y) { OnPolylineAddPoint(f, x, y); }
void CODController::OnPolygonMouseMove(UINT f, int x, int y) { OnPolylineMouseMove(f, x, y); }
void CODController::OnPolygonEnd(UINT f, int x, int y) { OnPolylineEnd(f, x, y); }

void CODController::OnPolygonFinish(UINT flags, int x, int y)
{
    if (!PolyFinishStateCheck(3, flags, x, y))
        return;
    CODPolygonComponent* polygon = new CODPolygonComponent;
    polygon->Create(m_points);
    FinishCreation(polygon);
}

void CODController::OnPolycurveButtonDown(UINT f, int x, int y) { OnPolylineButtonDown(f, x, y); }
void CODController::OnPolycurveDragStart(UINT f, int x, int y) { OnPolylineDragStart(f, x, y); }
void CODController::OnPolycurveAddPoint(UINT f, int x, int y) { OnPolylineAddPoint(f, x, y); }
void CODController::OnPolycurveMouseMove(UINT f, int x, int y) { OnPolylineMouseMove(f, x, y); }
void CODController::OnPolycurveEnd(UINT f, int x, int y) { OnPolylineEnd(f, x, y); }

void CODController::OnPolycurveFinish(UINT flags, int x, int y)
{
    if (!PolyFinishStateCheck(2, flags, x, y))
        return;
    CODCurveComponent* curve = new CODCurveComponent;
    curve->Create(m_points);
    FinishCreation(curve);
}

void CODController::OnClosedCurveButtonDown(UINT f, int x, int y) { OnPolylineButtonDown(f, x, y); }
void CODController::OnClosedCurveDragStart(UINT f, int x, int y) { OnPolylineDragStart(f, x, y); }
void CODController::OnClosedCurveAddPoint(UINT f, int x, int y) { OnPolylineAddPoint(f, x, y); }
void CODController::OnClosedCurveMouseMove(UINT f, int x, int y) { OnPolylineMouseMove(f, x, y); }
void CODController::OnClosedCurveEnd(UINT f, int x, int y) { OnPolylineEnd(f, x, y); }

void CODController::OnClosedCurveFinish(UINT flags, int x, int y)
{
    if (!PolyFinishStateCheck(2, flags, x, y))
        return;
    CODClosedCurveComponent* curve = new CODClosedCurveComponent;
    curve->Create(m_points);
    FinishCreation(curve);
}

#undef OD_POLY_FEEDBACK

// ---------------------------------------------------------------------------------------------
// Text

void CODController::OnTextButtonUp(UINT, int x, int y)
{
    CPoint lp(x, y);
    DPtoLP(&lp);
    MvcClientDC dc(m_pODViewport, 1);
    CODTextComponent* text = new CODTextComponent;
    ApplyDefaultProperties(text);
    text->Create(lp.x, lp.y, &dc);
    text->CenterOn(lp.x, lp.y);
    KeepInsidePage(text);
    if (m_pODViewport->IsSnapToGrid())
        SnapPointToGrid(text, 0);
    FinishCreation(text, FALSE);
}

void CODController::OnTextRButtonUp(UINT, int, int)
{
    EndCapture();
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
}

int CODController::BeginTextEdit(UINT, int x, int y)
{
    CPoint lp(x, y);
    DPtoLP(&lp);
    CODComponent* hit = m_pODViewport->ComponentHitTest(lp.x, lp.y);
    m_pHit = hit;
    CODModel* model = GetODModel();
    if (hit == NULL || model == NULL)
        return 0;
    if (model->GetOption() == 0) {
        CODEditProperties own;
        if ((hit->GetProperty(40, own) && own.IsReadOnly()) || IsModelReadOnly())
            return 0;
    }
    CODTextComponent* target = NULL;
    if (CODSymbolComponent* symbol = DYNAMIC_DOWNCAST(CODSymbolComponent, hit)) {
        target = symbol->GetLabel(0);
        if (target == NULL) {
            // A symbol without a label gets a centred one, inserted as an undoable step of
            // its own before the typing starts.
            CODLabelComponent* label = new CODLabelComponent(8);
            label->SetOwner(symbol);
            MvcClientDC dc(m_pODViewport, 1);
            label->Create(&dc);
            ApplyDefaultProperties(label);
            InsertComponent(label);
            target = label;
        }
    } else
        target = DYNAMIC_DOWNCAST(CODTextComponent, hit);
    if (target == NULL)
        return 0;
    CODEditProperties edit;
    if (target->GetProperty(40, edit) && edit.IsReadOnly())
        return 0;
    if (target == m_pEditing)
        return 0;
    EndTextEdit(0, x, y);
    m_pEditing = target;
    target->AddRef();
    if (!target->BeginEdit(m_pODViewport))
        return 0;
    m_pODViewport->Invalidate(FALSE, TRUE);
    return 1;
}

void CODController::EndTextEdit(UINT, int, int)
{
    if (m_pEditing == NULL)
        return;
    CODTextComponent* text = m_pEditing;
    CODComponentSet one;
    one.Add(text);
    m_pODViewport->InvalidateComponents(&one);
    CString typed = text->IsEditing() ? text->GetEditText() : text->GetText();
    text->EndEdit();
    m_pEditing = NULL;
    ChangeText(text, typed);
    text->Release();
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
}

void CODController::OnInPlaceEditChange()
{
    if (m_pEditing == NULL)
        return;
    MvcClientDC dc(m_pODViewport, 1);
    m_pEditing->GrowToText(8, &dc);
    CODComponentSet set;
    set.Add(m_pEditing);
    CODLabelComponent* label = DYNAMIC_DOWNCAST(CODLabelComponent, m_pEditing);
    if (label && label->GetOwner())
        set.Add(label->GetOwner());
    m_pODViewport->RedrawComponents(&set);
}

void CODController::OnInPlaceEditEnd(NMHDR*, LRESULT* result)
{
    EndTextEdit(0, 0, 0);
    if (result)
        *result = 0;
}

HBRUSH CODController::OnCtlColor(CDC* dc, CWnd* wnd, UINT type)
{
    if (type == CTLCOLOR_EDIT && m_pEditing && m_pEditing->GetEditor() && wnd &&
        wnd->GetSafeHwnd() == m_pEditing->GetEditor()->GetSafeHwnd())
        return m_pEditing->GetEditBrush(dc);
    SetHandled(FALSE);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Image, port and placement

void CODController::SetPending(CODComponent* component)
{
    if (m_pPending && m_pPending != component)
        delete m_pPending;
    m_pPending = component;
}

void CODController::OnInsertImage()
{
    CString ext, filter;
    ext.LoadString(IDS_OD_IMAGE_EXTENSION);
    filter.LoadString(IDS_OD_IMAGE_FILTER);
    CFileDialog dialog(TRUE, ext, NULL, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, filter, m_pWnd);
    if (dialog.DoModal() != IDOK)
        return;
    CString path = dialog.GetPathName();
    CODComponent* loaded = NULL;
    if (dialog.GetFileExt().CompareNoCase("emf") == 0) {
        CODMetafileComponent* picture = new CODMetafileComponent;
        if (picture->Create(CRect(0, 0, 100, 100)) && picture->LoadFile(path)) {
            picture->SizeToFrame(m_pODViewport->GetCoordinateMapping());
            loaded = picture;
        } else
            delete picture;
    } else {
        // Bitmaps and icons: no transparent colour.
        CODImageComponent* image = new CODImageComponent;
        if (image->CreateFromFile(path, FALSE, 0))
            loaded = image;
        else
            delete image;
    }
    if (loaded == NULL) {
        CString text;
        text.Format("The image \"%s\" could not be loaded.", (LPCTSTR)path);
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    SetPending(loaded);
    ArmTool(32, IDC_OD_PLACE_IMAGE);
}

void CODController::OnPlaceButtonUp(UINT, int x, int y)
{
    if (m_pPending) {
        CPoint lp(x, y);
        DPtoLP(&lp);
        CODComponent* c = m_pPending;
        c->CenterOn(lp.x, lp.y);
        KeepInsidePage(c);
        if (m_pODViewport->IsSnapToGrid())
            SnapPointToGrid(c, 0);
        ApplyDefaultProperties(c);
        m_pPending = NULL;
        InsertComponent(c);
    }
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
}

void CODController::OnPlaceRButtonUp(UINT, int, int)
{
    EndCapture();
    SetPending(NULL);
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
}

// A free-standing circle port of radius 3, snapped by its centre.
void CODController::OnPortButtonUp(UINT, int x, int y)
{
    CPoint lp(x, y);
    DPtoLP(&lp);
    CODCirclePort* port = new CODCirclePort;
    if (port->Create(lp, 3)) {
        KeepInsidePage(port);
        if (m_pODViewport->IsSnapToGrid())
            SnapPointToGrid(port, 8);
        ApplyDefaultProperties(port);
        InsertComponent(port);
    } else {
        delete port;
    }
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
}

void CODController::OnPortRButtonUp(UINT, int, int)
{
    EndCapture();
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
}

void CODController::BeginPortPlacement(CODComponent* component)
{
    SetPending(component);
    ApplyDefaultProperties(component);
    ArmTool(34, IDC_OD_PLACE_PORT);
}

void CODController::OnPortPlaceUp(UINT, int x, int y)
{
    if (m_pPending) {
        CPoint lp(x, y);
        DPtoLP(&lp);
        CODComponent* c = m_pPending;
        c->CenterOn(lp.x, lp.y);
        KeepInsidePage(c);
        if (m_pODViewport->IsSnapToGrid())
            SnapPointToGrid(c, 0);
        CSize step = GridStep(TRUE);
        CPoint origin = c->GetBounds().TopLeft();
        m_pODViewport->SetPastePosition(origin.x + step.cx, origin.y + step.cy);
        m_pPending = NULL;
        InsertComponent(c);
    }
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
}

void CODController::OnPortPlaceRButtonUp(UINT f, int x, int y) { OnPlaceRButtonUp(f, x, y); }

// ---------------------------------------------------------------------------------------------
// Link: without symbols and ports no end can be joined, so a press never finds a port.

void CODController::OnLinkTool()
{
    CODLinkComponent* link = new CODLinkComponent;
    link->Create((CODPortComponent*)NULL, (CODPortComponent*)NULL);
    BeginLink(link);
}

void CODController::BeginLink(CODComponent* link)
{
    SetPending(link);
    ApplyDefaultProperties(link);
    m_nState = 37;
    m_pLinkSource = m_pLinkTarget = NULL;
    CODLinkComponent* l = DYNAMIC_DOWNCAST(CODLinkComponent, link);
    m_pDragPort = l ? l->GetSourcePort() : NULL;
    m_points.RemoveAll();
    SetCursorFromResource(IDC_OD_DRAW);
}

// A port under the logical point that accepts the link end being placed, and that end it.
CODPortComponent* CODController::AcceptablePortAt(CPoint logical)
{
    CODPortComponent* port = m_pODViewport->FindPortAt(logical);
    if (port == NULL || m_pDragPort == NULL)
        return NULL;
    return port->CanConnectTo(m_pDragPort) && m_pDragPort->CanConnectTo(port) ? port : NULL;
}

void CODController::OnLinkButtonDown(UINT, int x, int y)
{
    if (m_pPending == NULL)
        return;
    CPoint lp = ToLogical(x, y, FALSE);
    m_pLinkSource = m_pODViewport->FindPortAt(lp);
    m_pLinkTarget = NULL;
    CODPortComponent* port = AcceptablePortAt(lp);
    if (port == NULL)
        return;
    m_pHit = port->GetOwner();
    m_points.RemoveAll();
    m_points.Add(port->GetLocation());
    CPoint dp = port->GetLocation();
    LPtoDP(&dp);
    DrawTrackingPolyline(dp.x, dp.y);
    if (CODLinkComponent* link = DYNAMIC_DOWNCAST(CODLinkComponent, m_pPending))
        m_pDragPort = link->GetTargetPort();
    m_nState = 39;
    BeginCapture();
}

void CODController::OnLinkAddPoint(UINT flags, int x, int y)
{
    DrawTrackingPolyline(m_ptTracking.x, m_ptTracking.y);
    CODPortComponent* port = AcceptablePortAt(ToLogical(x, y, FALSE));
    if (port) {
        m_pLinkTarget = port;
        CPoint at = port->GetLocation();
        if ((flags & MK_SHIFT) && m_points.GetSize() > 1)
            ConstrainAxis(at, m_points[m_points.GetSize() - 1]);
        m_points.Add(at);
        OnLinkFinish(flags, x, y);
        return;
    }
    CPoint lp = ToLogical(x, y, TRUE);
    if ((flags & MK_SHIFT) && m_points.GetSize())
        ConstrainAxis(m_points[m_points.GetSize() - 1], lp);
    m_points.Add(lp);
    CPoint dp = lp;
    LPtoDP(&dp);
    DrawTrackingPolyline(dp.x, dp.y);
}

void CODController::OnLinkMouseMove(UINT flags, int x, int y)
{
    if (m_pPending == NULL)
        return;
    CODPortComponent* port = AcceptablePortAt(ToLogical(x, y, FALSE));
    CPoint rubber = port ? port->GetLocation() : ToLogical(x, y, TRUE);
    SetCursorFromResource(port ? IDC_OD_PORT_TARGET : IDC_OD_DRAW);
    if (m_points.GetSize() == 0)
        return;
    DrawTrackingPolyline(m_ptTracking.x, m_ptTracking.y);
    if (flags & MK_SHIFT) {
        if (port && m_points.GetSize() > 1)
            ConstrainAxis(rubber, m_points[m_points.GetSize() - 1]);
        else if (!port)
            ConstrainAxis(m_points[m_points.GetSize() - 1], rubber);
    }
    LPtoDP(&rubber);
    DrawTrackingPolyline(rubber.x, rubber.y);
}

void CODController::OnLinkFinish(UINT flags, int x, int y)
{
    EndCapture();
    if (m_points.GetSize() > 1 && m_pPending) {
        CODComponent* link = m_pPending;
        m_pPending = NULL;
        LinkComponent(link, &m_points, m_pLinkSource, m_pLinkTarget);
        m_nState = 0;
        SetStandardCursor(IDC_ARROW);
        return;
    }
    OnLinkCancel(flags, x, y);
}

void CODController::OnLinkCancel(UINT, int, int)
{
    EndCapture();
    if (m_points.GetSize()) {
        DrawTrackingPolyline(m_ptTracking.x, m_ptTracking.y);
        m_points.RemoveAll();
    }
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
    SetPending(NULL);
}

// ---------------------------------------------------------------------------------------------
// Zoom and pan tools

void CODController::OnZoomButtonDown(UINT, int, int) { m_nState = 41; }

void CODController::OnZoomDragStart(UINT, int, int)
{
    BeginCapture();
    DrawTrackingRect(m_ptPressDP.x, m_ptPressDP.y);
    SetCursorFromResource(IDC_OD_ZOOM_RECT);
    m_nState = 42;
}

void CODController::OnZoomDrag(UINT, int x, int y)
{
    DrawTrackingRect(m_ptTracking.x, m_ptTracking.y);
    DrawTrackingRect(x, y);
}

void CODController::OnZoomDragEnd(UINT, int x, int y)
{
    EndCapture();
    CPoint a = m_ptPressDP, b(x, y);
    DPtoLP(&a);
    DPtoLP(&b);
    CRect r(a, b);
    r.NormalizeRect();
    if (r.Width() < 5 || r.Height() < 5)
        DrawTrackingRect(m_ptTracking.x, m_ptTracking.y);
    else {
        m_pODViewport->ZoomToRect(r);
        m_pODViewport->Invalidate(TRUE, FALSE);
    }
    SetCursorFromResource(IDC_OD_ZOOM);
    m_nState = 40;
}

void CODController::OnZoomButtonUp(UINT, int x, int y)
{
    m_pODViewport->ZoomIn(x, y);
    m_pODViewport->Invalidate(TRUE, FALSE);
    m_nState = 40;
}

void CODController::OnZoomRButtonUp(UINT, int x, int y)
{
    m_pODViewport->ZoomOut(x, y);
    m_pODViewport->Invalidate(TRUE, FALSE);
    m_nState = 40;
}

void CODController::OnPanButtonDown(UINT, int x, int y)
{
    m_nState = 44;
    SetCursorFromResource(IDC_OD_PAN_DOWN);
    m_ptTracking = CPoint(x, y);
    BeginCapture();
}

void CODController::OnPanDrag(UINT, int x, int y)
{
    m_nState = 45;
    CSize step(m_ptTracking.x - x, m_ptTracking.y - y);
    MvcClientDC dc(m_pODViewport, 1);
    dc.DPtoLP(&step);
    m_pODViewport->ScrollBy(step.cx, step.cy);
    m_pODViewport->Invalidate(FALSE, TRUE);
    m_ptTracking = CPoint(x, y);
}

void CODController::OnPanButtonUp(UINT, int, int)
{
    EndCapture();
    m_nState = 43;
    SetCursorFromResource(IDC_OD_PAN);
}
