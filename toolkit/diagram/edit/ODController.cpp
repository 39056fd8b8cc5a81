// The controller core: construction, the message map, the state table that routes mouse events,
// keys, cursors, the context menu, the selection and the select tool's gestures and drags.
#include "ODController.h"
#include <afxpriv.h>
#include <math.h>
#include <algorithm>
#include "ODDropTarget.h"
#include "ODEditProperties.h"
#include "ODGeometry.h"
#include "ODPointComponent.h"
#include "ODClosedShapes.h"
#include "ODTextComponent.h"
#include "ODLinkComponent.h"
#include "diagram_res.h"

IMPLEMENT_DYNAMIC(CODController, MvcController)

BEGIN_MESSAGE_MAP(CODController, MvcController)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_CONTEXTMENU()
    ON_WM_CTLCOLOR()
    ON_EN_CHANGE(CODInPlaceEdit::controlId, OnInPlaceEditChange)
    ON_NOTIFY(CODInPlaceEdit::endEditCode, CODInPlaceEdit::controlId, OnInPlaceEditEnd)
    ON_COMMAND(ID_OD_SELECT, OnSelectTool)
    ON_UPDATE_COMMAND_UI(ID_OD_SELECT, OnUpdateSelectTool)
    ON_COMMAND(ID_OD_FREE_ROTATE, OnFreeRotateTool)
    ON_UPDATE_COMMAND_UI(ID_OD_FREE_ROTATE, OnUpdateFreeRotateTool)
    ON_COMMAND(ID_OD_EDIT_VERTICES, OnEditVerticesTool)
    ON_UPDATE_COMMAND_UI(ID_OD_EDIT_VERTICES, OnUpdateEditVerticesTool)
    ON_COMMAND(ID_OD_ZOOM, OnZoomTool)
    ON_UPDATE_COMMAND_UI(ID_OD_ZOOM, OnUpdateZoomTool)
    ON_COMMAND(ID_OD_PAN, OnPanTool)
    ON_UPDATE_COMMAND_UI(ID_OD_PAN, OnUpdatePanTool)
    ON_COMMAND(ID_OD_ZOOM_NORMAL, OnZoom100)
    ON_UPDATE_COMMAND_UI(ID_OD_ZOOM_NORMAL, OnUpdateZoomNormal)
    ON_COMMAND(ID_OD_ZOOM_CUSTOM, OnZoomCustom)
    ON_UPDATE_COMMAND_UI(ID_OD_ZOOM_CUSTOM, OnUpdateZoomCustom)
    ON_COMMAND(ID_OD_ZOOM_FIT, OnZoomToFit)
    ON_UPDATE_COMMAND_UI(ID_OD_ZOOM_FIT, OnUpdateZoomToFit)
    ON_COMMAND(ID_OD_ZOOM_SELECTION, OnZoomToSelection)
    ON_UPDATE_COMMAND_UI(ID_OD_ZOOM_SELECTION, OnUpdateNeedSelection)
    ON_COMMAND(ID_OD_ZOOM_50, OnZoom50)
    ON_UPDATE_COMMAND_UI(ID_OD_ZOOM_50, OnUpdateZoom50)
    ON_COMMAND(ID_OD_ZOOM_75, OnZoom75)
    ON_UPDATE_COMMAND_UI(ID_OD_ZOOM_75, OnUpdateZoom75)
    ON_COMMAND(ID_OD_ZOOM_100, OnZoom100)
    ON_UPDATE_COMMAND_UI(ID_OD_ZOOM_100, OnUpdateZoom100)
    ON_COMMAND(ID_OD_ZOOM_200, OnZoom200)
    ON_UPDATE_COMMAND_UI(ID_OD_ZOOM_200, OnUpdateZoom200)
    ON_COMMAND(ID_OD_RECTANGLE, OnRectangleTool)
    ON_UPDATE_COMMAND_UI(ID_OD_RECTANGLE, OnUpdateRectangleTool)
    ON_COMMAND(ID_OD_LINE, OnLineTool)
    ON_UPDATE_COMMAND_UI(ID_OD_LINE, OnUpdateLineTool)
    ON_COMMAND(ID_OD_POLYLINE, OnPolylineTool)
    ON_UPDATE_COMMAND_UI(ID_OD_POLYLINE, OnUpdatePolylineTool)
    ON_COMMAND(ID_OD_POLYGON, OnPolygonTool)
    ON_UPDATE_COMMAND_UI(ID_OD_POLYGON, OnUpdatePolygonTool)
    ON_COMMAND(ID_OD_POLYCURVE, OnPolycurveTool)
    ON_UPDATE_COMMAND_UI(ID_OD_POLYCURVE, OnUpdatePolycurveTool)
    ON_COMMAND(ID_OD_CLOSED_CURVE, OnClosedCurveTool)
    ON_UPDATE_COMMAND_UI(ID_OD_CLOSED_CURVE, OnUpdateClosedCurveTool)
    ON_COMMAND(ID_OD_ELLIPSE, OnEllipseTool)
    ON_UPDATE_COMMAND_UI(ID_OD_ELLIPSE, OnUpdateEllipseTool)
    ON_COMMAND(ID_OD_TEXT, OnTextTool)
    ON_UPDATE_COMMAND_UI(ID_OD_TEXT, OnUpdateTextTool)
    ON_COMMAND(ID_OD_IMAGE, OnInsertImage)
    ON_UPDATE_COMMAND_UI(ID_OD_IMAGE, OnUpdateInsertImage)
    ON_COMMAND(ID_OD_PORT, OnPortTool)
    ON_UPDATE_COMMAND_UI(ID_OD_PORT, OnUpdatePortTool)
    ON_COMMAND(ID_OD_LINK, OnLinkTool)
    ON_UPDATE_COMMAND_UI(ID_OD_LINK, OnUpdateLinkTool)
    ON_COMMAND(ID_OD_PROPERTIES, OnProperties)
    ON_UPDATE_COMMAND_UI(ID_OD_PROPERTIES, OnUpdateProperties)
    ON_COMMAND(ID_OD_DEFAULT_PROPERTIES, OnDefaultProperties)
    ON_COMMAND(ID_OD_COMPONENTS, OnComponents)
    ON_COMMAND(ID_OD_MEASUREMENTS, OnMeasurementsAndSize)
    ON_COMMAND(ID_EDIT_COPY, OnCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateCutCopy)
    ON_COMMAND(ID_EDIT_CUT, OnCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateCutCopy)
    ON_COMMAND(ID_EDIT_PASTE, OnPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdatePaste)
    ON_COMMAND(ID_EDIT_CLEAR, OnDelete)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateNeedSelection)
    ON_COMMAND(ID_EDIT_UNDO, OnUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateUndo)
    ON_COMMAND(ID_EDIT_REDO, OnRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateRedo)
    ON_COMMAND(ID_OD_PAGE_BOUNDS, OnPageBounds)
    ON_UPDATE_COMMAND_UI(ID_OD_PAGE_BOUNDS, OnUpdatePageBounds)
    ON_COMMAND(ID_OD_GRID, OnGrid)
    ON_UPDATE_COMMAND_UI(ID_OD_GRID, OnUpdateGrid)
    ON_COMMAND(ID_OD_SNAP_TO_GRID, OnSnapToGrid)
    ON_UPDATE_COMMAND_UI(ID_OD_SNAP_TO_GRID, OnUpdateSnapToGrid)
    ON_COMMAND(ID_OD_ANGLE_SNAP, OnAngleSnap)
    ON_UPDATE_COMMAND_UI(ID_OD_ANGLE_SNAP, OnUpdateAngleSnap)
    ON_COMMAND(ID_OD_GRID_PROPERTIES, OnGridProperties)
    ON_COMMAND(ID_FILE_PAGE_SETUP, OnPageSetup)
    ON_COMMAND(ID_OD_GROUP, OnGroup)
    ON_UPDATE_COMMAND_UI(ID_OD_GROUP, OnUpdateGroup)
    ON_COMMAND(ID_OD_UNGROUP, OnUngroup)
    ON_UPDATE_COMMAND_UI(ID_OD_UNGROUP, OnUpdateUngroup)
    ON_COMMAND(ID_OD_BRING_TO_FRONT, OnBringToFront)
    ON_UPDATE_COMMAND_UI(ID_OD_BRING_TO_FRONT, OnUpdateNeedSelection)
    ON_COMMAND(ID_OD_SEND_TO_BACK, OnSendToBack)
    ON_UPDATE_COMMAND_UI(ID_OD_SEND_TO_BACK, OnUpdateNeedSelection)
    ON_COMMAND(ID_OD_BRING_FORWARD, OnBringForward)
    ON_UPDATE_COMMAND_UI(ID_OD_BRING_FORWARD, OnUpdateNeedSelection)
    ON_COMMAND(ID_OD_SEND_BACKWARD, OnSendBackward)
    ON_UPDATE_COMMAND_UI(ID_OD_SEND_BACKWARD, OnUpdateNeedSelection)
    ON_COMMAND(ID_OD_ROTATE_LEFT, OnRotateLeft)
    ON_UPDATE_COMMAND_UI(ID_OD_ROTATE_LEFT, OnUpdateRotateFlip)
    ON_COMMAND(ID_OD_ROTATE_RIGHT, OnRotateRight)
    ON_UPDATE_COMMAND_UI(ID_OD_ROTATE_RIGHT, OnUpdateRotateFlip)
    ON_COMMAND(ID_OD_FLIP_HORIZONTAL, OnFlipHorizontal)
    ON_UPDATE_COMMAND_UI(ID_OD_FLIP_HORIZONTAL, OnUpdateRotateFlip)
    ON_COMMAND(ID_OD_FLIP_VERTICAL, OnFlipVertical)
    ON_UPDATE_COMMAND_UI(ID_OD_FLIP_VERTICAL, OnUpdateRotateFlip)
    ON_COMMAND(ID_OD_NUDGE_UP, OnNudgeUp)
    ON_UPDATE_COMMAND_UI(ID_OD_NUDGE_UP, OnUpdateNudge)
    ON_COMMAND(ID_OD_NUDGE_DOWN, OnNudgeDown)
    ON_UPDATE_COMMAND_UI(ID_OD_NUDGE_DOWN, OnUpdateNudge)
    ON_COMMAND(ID_OD_NUDGE_LEFT, OnNudgeLeft)
    ON_UPDATE_COMMAND_UI(ID_OD_NUDGE_LEFT, OnUpdateNudge)
    ON_COMMAND(ID_OD_NUDGE_RIGHT, OnNudgeRight)
    ON_UPDATE_COMMAND_UI(ID_OD_NUDGE_RIGHT, OnUpdateNudge)
    ON_COMMAND(ID_OD_ALIGN_TOP, OnAlignTop)
    ON_UPDATE_COMMAND_UI(ID_OD_ALIGN_TOP, OnUpdateAlign)
    ON_COMMAND(ID_OD_ALIGN_MIDDLE, OnAlignMiddle)
    ON_UPDATE_COMMAND_UI(ID_OD_ALIGN_MIDDLE, OnUpdateAlign)
    ON_COMMAND(ID_OD_ALIGN_BOTTOM, OnAlignBottom)
    ON_UPDATE_COMMAND_UI(ID_OD_ALIGN_BOTTOM, OnUpdateAlign)
    ON_COMMAND(ID_OD_ALIGN_LEFT, OnAlignLeft)
    ON_UPDATE_COMMAND_UI(ID_OD_ALIGN_LEFT, OnUpdateAlign)
    ON_COMMAND(ID_OD_ALIGN_CENTER, OnAlignCenter)
    ON_UPDATE_COMMAND_UI(ID_OD_ALIGN_CENTER, OnUpdateAlign)
    ON_COMMAND(ID_OD_ALIGN_RIGHT, OnAlignRight)
    ON_UPDATE_COMMAND_UI(ID_OD_ALIGN_RIGHT, OnUpdateAlign)
    ON_COMMAND(ID_OD_EXPORT, OnExport)
    ON_COMMAND(ID_OD_NOTHING, OnNothing)
END_MESSAGE_MAP()

CODController::CODController(CODViewport* viewport)
    : m_nState(0), m_bEditVertices(FALSE), m_pODViewport(viewport), m_bApplyDefaults(TRUE),
      m_pContextMenu(NULL), m_ptPressDP(0, 0), m_ptPressLP(0, 0), m_ptLastMouse(0, 0),
      m_pHit(NULL), m_bPressedOnSelected(FALSE), m_bKeepAspect(FALSE), m_hCursor(NULL),
      m_nDragDx(0), m_nDragDy(0), m_cfPrivate(0), m_pDropTarget(NULL), m_nRotateStart(0),
      m_nRotateAngle(0), m_ptRotateCentre(0, 0), m_nHandle(-1), m_nScaleBaseX(0),
      m_nScaleBaseY(0), m_fScaleX(1.0f), m_fScaleY(1.0f), m_nHoverHandle(-1),
      m_nScaleReference(8), m_pDragPort(NULL), m_pDetached(NULL), m_pEditing(NULL),
      m_pPending(NULL), m_ptTracking(0, 0), m_pLinkSource(NULL), m_pLinkTarget(NULL)
{
    m_pViewport = viewport;
}

CODController::~CODController()
{
    if (m_pEditing)
        m_pEditing->Release();
    ReleaseTrackingCopies();
    delete m_pDropTarget;
    delete m_pPending;
    delete m_pContextMenu;
}

BOOL CODController::Initialize(CWnd* window, MvcViewport* viewport)
{
    if (!MvcController::Initialize(window, viewport))
        return FALSE;
    CString name;
    name.LoadString(IDS_OD_CLIPBOARD_FORMAT);
    if (name.IsEmpty())
        name = "Sorvique";
    m_cfPrivate = (WORD)::RegisterClipboardFormat(name);
    if (IsOleInitialized())
        CreateDropTarget();
    return TRUE;
}

void CODController::SetModel(MvcModel* model)
{
    MvcController::SetModel(model);
    m_selection.RemoveAll();
}

BOOL CODController::IsOleInitialized()
{
    return AfxGetThreadState()->m_bNeedTerm;
}

// ---------------------------------------------------------------------------------------------
// Conversions and cursors

void CODController::DPtoLP(POINT* points, int count)
{
    MvcClientDC dc(m_pODViewport, 1);
    dc.DPtoLP(points, count);
}

void CODController::LPtoDP(POINT* points, int count)
{
    MvcClientDC dc(m_pODViewport, 1);
    dc.LPtoDP(points, count);
}

void CODController::DPtoLP(CArray<CPoint, CPoint>& points)
{
    if (points.GetSize() > 0)
        DPtoLP(points.GetData(), (int)points.GetSize());
}

void CODController::LPtoDP(CArray<CPoint, CPoint>& points)
{
    if (points.GetSize() > 0)
        LPtoDP(points.GetData(), (int)points.GetSize());
}

CPoint CODController::ToLogical(int x, int y, BOOL snap)
{
    CPoint p(x, y);
    DPtoLP(&p);
    if (snap && m_pODViewport->IsSnapToGrid())
        p = m_pODViewport->SnapToGrid(p.x, p.y);
    return p;
}

CPoint CODController::ClampToPage(CPoint logical)
{
    if (GetODModel())
        GetODModel()->ClampPoints(NULL, &logical, 1);
    return logical;
}

CPoint CODController::ClampDevice(CPoint device)
{
    CPoint p = device;
    DPtoLP(&p);
    p = ClampToPage(p);
    LPtoDP(&p);
    return p;
}

void CODController::SetCursorFromResource(UINT id)
{
    HCURSOR cursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(id));
    if (cursor == NULL)
        cursor = ::LoadCursor(::GetModuleHandle(NULL), MAKEINTRESOURCE(id));
    m_hCursor = cursor;
    if (m_hCursor)
        ::SetCursor(m_hCursor);
}

void CODController::SetStandardCursor(LPCTSTR id)
{
    m_hCursor = ::LoadCursor(NULL, id);
    if (m_hCursor)
        ::SetCursor(m_hCursor);
}

void CODController::BeginCapture()
{
    MvcController::SetCaptureController(this);
}

void CODController::EndCapture()
{
    if (MvcController::GetCaptureController() == this)
        MvcController::SetCaptureController(NULL);
    else if (::GetCapture() == m_hWnd && m_hWnd)
        ::ReleaseCapture();
}

// ---------------------------------------------------------------------------------------------
// Permissions

BOOL CODController::IsModelReadOnly()
{
    return GetODModel() ? GetODModel()->IsReadOnly() : FALSE;
}

BOOL CODController::IsAllowed(CODComponent* component, Permission what)
{
    CODModel* model = GetODModel();
    if (component == NULL || model == NULL)
        return FALSE;
    if (model->GetOption() != 0 && (what != permSelect || component->GetParent() == model))
        return TRUE;
    CODEditProperties own, whole;
    component->GetProperty(40, own);
    model->GetProperty(40, whole);
    switch (what) {
    case permSelect: return own.GetCanSelect() && whole.GetCanSelect();
    case permMove: return own.CanMove() && whole.CanMove();
    case permRotate: return own.CanRotate() && whole.CanRotate();
    case permScale: return own.CanScale() && whole.CanScale();
    case permEditVertices: return own.CanEditVertices() && whole.CanEditVertices();
    case permEditProperties: return own.CanEditProperties() && whole.CanEditProperties();
    }
    return FALSE;
}

namespace {

typedef BOOL (CODEditProperties::*EditRule)() const;

void FilterByOwnEdit(CODModel* model, CODComponentSet* selection, CODComponentSet* out,
                     EditRule rule)
{
    for (int i = 0; selection && i < selection->GetSize(); ++i) {
        CODComponent* c = (*selection)[i];
        CODEditProperties edit;
        c->GetProperty(40, edit);
        if ((model && model->GetOption() != 0) || (edit.*rule)())
            out->Add(c);
    }
}

}  // namespace

void CODController::GetMovableComponents(CODComponentSet* selection, CODComponentSet* out)
{
    FilterByOwnEdit(GetODModel(), selection, out, &CODEditProperties::CanMove);
}

void CODController::GetRotatableComponents(CODComponentSet* selection, CODComponentSet* out)
{
    FilterByOwnEdit(GetODModel(), selection, out, &CODEditProperties::CanRotate);
}

void CODController::GetScalableComponents(CODComponentSet* selection, CODComponentSet* out)
{
    FilterByOwnEdit(GetODModel(), selection, out, &CODEditProperties::CanScale);
}

// ---------------------------------------------------------------------------------------------
// The state table

void CODController::OnLButtonDown(UINT flags, CPoint point)
{
    m_bPressedOnSelected = FALSE;
    m_ptPressDP = point;
    m_ptPressLP = point;
    DPtoLP(&m_ptPressLP);
    Dispatch(evLDown, flags, point);
}

void CODController::OnMouseMove(UINT flags, CPoint point)
{
    m_ptLastMouse = point;
    Dispatch(evMove, flags, point);
}

void CODController::OnLButtonUp(UINT flags, CPoint point)
{
    Dispatch(evLUp, flags, point);
}

void CODController::OnLButtonDblClk(UINT flags, CPoint point)
{
    Dispatch(evDblClk, flags, point);
}

void CODController::OnRButtonDown(UINT flags, CPoint point)
{
    Dispatch(evRDown, flags, point);
}

void CODController::OnRButtonUp(UINT flags, CPoint point)
{
    Dispatch(evRUp, flags, point);
}

void CODController::Dispatch(Event e, UINT f, CPoint p)
{
    const int x = p.x, y = p.y;
    // Pressed states that wait for a move away from the press point.
    const BOOL away = p != m_ptPressDP;
    switch (m_nState) {
    case 0:
    case 3:
        if (e == evLDown)
            OnSelectButtonDown(f, x, y, 1);
        else if (e == evMove)
            OnSelectMouseMove(f, x, y);
        else if (e == evDblClk && m_nState == 0)
            OnSelectDblClk(f, x, y, 1);
        else if (e == evRDown)
            OnSelectButtonDown(f, x, y, 2);
        else if (e == evRUp && m_hWnd) {
            CPoint screen = p;
            ::ClientToScreen(m_hWnd, &screen);
            ::SendMessage(m_hWnd, WM_CONTEXTMENU, (WPARAM)m_hWnd,
                          MAKELPARAM((WORD)(short)screen.x, (WORD)(short)screen.y));
        }
        break;
    case 1:
        if (e == evMove) {
            OnRubberBandStart(f, x, y);
            OnRubberBandDrag(f, x, y);
        } else if (e == evLUp)
            OnButtonUpNoDrag(f, x, y);
        break;
    case 2:
        if (e == evMove)
            OnRubberBandDrag(f, x, y);
        else if (e == evLUp)
            OnRubberBandEnd(f, x, y);
        break;
    case 4:
        if (e == evMove && away)
            OnRotateDragStart(f, x, y);
        else if (e == evLUp)
            OnButtonUpNoDrag(f, x, y);
        break;
    case 5:
        if (e == evMove)
            OnRotateDrag(f, x, y);
        else if (e == evLUp)
            OnRotateDragEnd(f, x, y);
        break;
    case 6:
        if (e == evMove && away)
            OnMoveDragStart(f, x, y);
        else if (e == evLUp)
            OnButtonUpNoDrag(f, x, y);
        break;
    case 7:
        if (e == evMove)
            OnMoveDrag(f, x, y);
        else if (e == evLUp)
            OnMoveDragEnd(f, x, y);
        break;
    case 8:
        if (e == evMove && away)
            OnScaleDragStart(f, x, y);
        else if (e == evLUp)
            OnButtonUpNoDrag(f, x, y);
        break;
    case 9:
        if (e == evMove)
            OnScaleDrag(f, x, y);
        else if (e == evLUp)
            OnScaleDragEnd(f, x, y);
        break;
    case 10:
        if (e == evLDown)
            OnRectButtonDown(f, x, y);
        break;
    case 11:
        if (e == evMove) {
            OnRectDragStart(f, x, y);
            OnRectDrag(f, x, y);
        } else if (e == evLUp)
            OnRectCancel(f, x, y);
        break;
    case 12:
        if (e == evMove)
            OnRectDrag(f, x, y);
        else if (e == evLUp)
            OnRectCreate(f, x, y);
        break;
    case 13:
        if (e == evLDown)
            OnLineButtonDown(f, x, y);
        break;
    case 14:
        if (e == evMove) {
            OnLineDragStart(f, x, y);
            OnLineDrag(f, x, y);
        } else if (e == evLUp)
            OnLineCancel(f, x, y);
        break;
    case 15:
        if (e == evMove)
            OnLineDrag(f, x, y);
        else if (e == evLUp)
            OnLineCreate(f, x, y);
        break;
    case 16:
        if (e == evLDown)
            OnPolylineButtonDown(f, x, y);
        break;
    case 17:
        if (e == evMove) {
            OnPolylineDragStart(f, x, y);
            OnPolylineMouseMove(f, x, y);
        }
        break;
    case 18:
        if (e == evLDown)
            OnPolylineAddPoint(f, x, y);
        else if (e == evMove)
            OnPolylineMouseMove(f, x, y);
        else if (e == evDblClk)
            OnPolylineFinish(f, x, y);
        else if (e == evRUp)
            OnPolylineEnd(f, x, y);
        break;
    case 19:
        if (e == evLDown)
            OnPolygonButtonDown(f, x, y);
        break;
    case 20:
        if (e == evMove) {
            OnPolygonDragStart(f, x, y);
            OnPolygonMouseMove(f, x, y);
        }
        break;
    case 21:
        if (e == evLDown)
            OnPolygonAddPoint(f, x, y);
        else if (e == evMove)
            OnPolygonMouseMove(f, x, y);
        else if (e == evDblClk)
            OnPolygonFinish(f, x, y);
        else if (e == evRUp)
            OnPolygonEnd(f, x, y);
        break;
    case 22:
        if (e == evLDown)
            OnPolycurveButtonDown(f, x, y);
        break;
    case 23:
        if (e == evMove) {
            OnPolycurveDragStart(f, x, y);
            OnPolycurveMouseMove(f, x, y);
        }
        break;
    case 24:
        if (e == evLDown)
            OnPolycurveAddPoint(f, x, y);
        else if (e == evMove)
            OnPolycurveMouseMove(f, x, y);
        else if (e == evDblClk)
            OnPolycurveFinish(f, x, y);
        else if (e == evRUp)
            OnPolycurveEnd(f, x, y);
        break;
    case 25:
        if (e == evLDown)
            OnClosedCurveButtonDown(f, x, y);
        break;
    case 26:
        if (e == evMove) {
            OnClosedCurveDragStart(f, x, y);
            OnClosedCurveMouseMove(f, x, y);
        }
        break;
    case 27:
        if (e == evLDown)
            OnClosedCurveAddPoint(f, x, y);
        else if (e == evMove)
            OnClosedCurveMouseMove(f, x, y);
        else if (e == evDblClk)
            OnClosedCurveFinish(f, x, y);
        else if (e == evRUp)
            OnClosedCurveEnd(f, x, y);
        break;
    case 28:
        if (e == evLDown)
            OnEllipseButtonDown(f, x, y);
        break;
    case 29:
        if (e == evMove) {
            OnEllipseDragStart(f, x, y);
            OnEllipseDrag(f, x, y);
        } else if (e == evLUp)
            OnEllipseCancel(f, x, y);
        break;
    case 30:
        if (e == evMove)
            OnEllipseDrag(f, x, y);
        else if (e == evLUp)
            OnEllipseCreate(f, x, y);
        break;
    case 31:
        if (e == evLUp)
            OnTextButtonUp(f, x, y);
        else if (e == evRUp)
            OnTextRButtonUp(f, x, y);
        break;
    case 32:
        if (e == evLUp)
            OnPlaceButtonUp(f, x, y);
        else if (e == evRUp)
            OnPlaceRButtonUp(f, x, y);
        break;
    case 33:
        if (e == evLUp)
            OnPortButtonUp(f, x, y);
        else if (e == evRUp)
            OnPortRButtonUp(f, x, y);
        break;
    case 34:
        if (e == evLUp)
            OnPortPlaceUp(f, x, y);
        else if (e == evRUp)
            OnPortPlaceRButtonUp(f, x, y);
        break;
    case 35:
        if (e == evMove && away)
            OnVertexDragStart(f, x, y);
        else if (e == evLUp)
            OnButtonUpNoDrag(f, x, y);
        break;
    case 36:
        if (e == evMove)
            OnVertexDragMove(f, x, y);
        else if (e == evLUp)
            OnVertexDragEnd(f, x, y);
        break;
    case 37:
        if (e == evLDown)
            OnLinkButtonDown(f, x, y);
        else if (e == evMove)
            OnLinkMouseMove(f, x, y);
        else if (e == evRUp) {
            m_points.RemoveAll();
            OnLinkCancel(f, x, y);
        }
        break;
    case 39:
        if (e == evLDown)
            OnLinkAddPoint(f, x, y);
        else if (e == evMove)
            OnLinkMouseMove(f, x, y);
        else if (e == evDblClk)
            OnLinkFinish(f, x, y);
        else if (e == evRUp)
            OnLinkCancel(f, x, y);
        break;
    case 40:
        if (e == evLDown)
            OnZoomButtonDown(f, x, y);
        else if (e == evRUp)
            OnZoomRButtonUp(f, x, y);
        break;
    case 41:
        if (e == evMove) {
            OnZoomDragStart(f, x, y);
            OnZoomDrag(f, x, y);
        } else if (e == evLUp)
            OnZoomButtonUp(f, x, y);
        break;
    case 42:
        if (e == evMove)
            OnZoomDrag(f, x, y);
        else if (e == evLUp)
            OnZoomDragEnd(f, x, y);
        break;
    case 43:
        if (e == evLDown)
            OnPanButtonDown(f, x, y);
        break;
    case 44:
    case 45:
        if (e == evMove)
            OnPanDrag(f, x, y);
        else if (e == evLUp)
            OnPanButtonUp(f, x, y);
        break;
    case 46:
        if (e == evMove && away)
            OnLinkEndDragStart(f, x, y);
        else if (e == evLUp)
            OnLinkEndCancel(f, x, y);
        break;
    case 47:
        if (e == evMove)
            OnLinkEndDrag(f, x, y);
        else if (e == evLUp)
            OnLinkEndDragEnd(f, x, y);
        break;
    default:  // 38 and anything out of range: inert
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Keys, cursor, context menu

namespace {

UINT KeyFlags()
{
    UINT flags = 0;
    if (::GetKeyState(VK_SHIFT) < 0)
        flags |= MK_SHIFT;
    if (::GetKeyState(VK_CONTROL) < 0)
        flags |= MK_CONTROL;
    return flags;
}

}  // namespace

void CODController::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_SHIFT || key == VK_CONTROL) {
        if (repeat == 1)
            OnMouseMove(KeyFlags(), m_ptLastMouse);
        return;
    }
    if (key == VK_PRIOR || key == VK_NEXT) {
        if (key == VK_PRIOR)
            m_pODViewport->PageBack(1);
        else
            m_pODViewport->PageForward(1);
        m_pODViewport->Invalidate(TRUE, TRUE);
        return;
    }
    SetHandled(FALSE);
    (void)flags;
}

void CODController::OnKeyUp(UINT key, UINT repeat, UINT)
{
    if (key == VK_SHIFT || key == VK_CONTROL) {
        if (repeat == 1)
            OnMouseMove(KeyFlags(), m_ptLastMouse);
        return;
    }
    SetHandled(FALSE);
}

BOOL CODController::OnSetCursor(CWnd*, UINT hitTest, UINT)
{
    SetHandled(FALSE);
    if (hitTest != HTCLIENT)
        return FALSE;
    BOOL inside = TRUE;
    if (m_pODViewport->GetWnd() && m_pODViewport->GetWnd()->GetSafeHwnd()) {
        CPoint p;
        ::GetCursorPos(&p);
        ::ScreenToClient(m_pODViewport->GetWnd()->GetSafeHwnd(), &p);
        inside = m_pODViewport->GetBounds().PtInRect(p);
    }
    if (m_hCursor && inside) {
        ::SetCursor(m_hCursor);
        SetHandled(TRUE);
        return TRUE;
    }
    return FALSE;
}

CMenu* CODController::BuildContextMenu()
{
    delete m_pContextMenu;
    m_pContextMenu = new CMenu;
    if (!m_pContextMenu->LoadMenu(IDR_OD_CONTEXT_MENU)) {
        delete m_pContextMenu;
        m_pContextMenu = NULL;
        return NULL;
    }
    return m_pContextMenu->GetSubMenu(m_selection.GetSize() > 0 ? 1 : 0);
}

void CODController::OnContextMenu(CWnd* wnd, CPoint point)
{
    HWND from = wnd ? wnd->GetSafeHwnd() : m_hWnd;
    HWND owner = from;
    while (owner && (::GetWindowLong(owner, GWL_STYLE) & WS_CHILD) && ::GetParent(owner))
        owner = ::GetParent(owner);
    if (point.x == -1 && point.y == -1) {
        point = CPoint(1, 1);
        ::ClientToScreen(from, &point);
    }
    CMenu* menu = BuildContextMenu();
    if (menu == NULL)
        return;
    HCURSOR previous = ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
    menu->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, CWnd::FromHandle(owner));
    delete m_pContextMenu;
    m_pContextMenu = NULL;
    ::SetCursor(previous);
}

// ---------------------------------------------------------------------------------------------
// Selection

CODComponent* CODController::GetLastSelected()
{
    return m_selection.GetSize() ? m_selection[m_selection.GetSize() - 1] : NULL;
}

void CODController::OnSelectionChanged(CODComponentSet* set)
{
    CODComponentSet changed;
    if (set)
        changed.Append(*set);
    if (m_bEditVertices) {
        m_bEditVertices = FALSE;
        for (int i = 0; i < m_selection.GetSize(); ++i)
            if (changed.IndexOf(m_selection[i]) < 0)
                changed.Add(m_selection[i]);
    }
    m_pODViewport->GetComponentsUpdateRect(&changed);
}

void CODController::SelectAll()
{
    CODModel* model = GetODModel();
    CODComponentSet added;
    for (int i = 0; model && i < model->GetChildCount(); ++i) {
        CODComponent* c = model->GetChild(i);
        if (IsAllowed(c, permSelect) && m_selection.IndexOf(c) < 0) {
            m_selection.Add(c);
            added.Add(c);
        }
    }
    if (added.GetSize())
        OnSelectionChanged(&added);
    m_nState = 0;
}

void CODController::OnCommandExecuted(MvcCommandBase* command)
{
    if (command == NULL)
        return;
    CODCommand* cmd = dynamic_cast<CODCommand*>(command);
    if (cmd == NULL)
        return;
    CODComponentSet changed;
    changed.Append(m_selection);
    switch (command->GetType()) {
    case CODInsertCommand::typeId:
        m_selection.RemoveAll();
        m_selection.Append(*cmd->GetComponents());
        changed.Append(m_selection);
        break;
    case CODDeleteCommand::typeId:
        for (int i = 0; i < cmd->GetComponents()->GetSize(); ++i)
            m_selection.Remove((*cmd->GetComponents())[i]);
        break;
    case CODGroupCommand::typeId: {
        m_selection.RemoveAll();
        CODComponent* group = static_cast<CODGroupCommand*>(cmd)->GetGroup();
        if (group && GetODModel()->GetChildIndex(group) >= 0)
            m_selection.Add(group);
        changed.Append(m_selection);
        break;
    }
    case CODUngroupCommand::typeId: {
        m_selection.RemoveAll();
        CODUngroupCommand* ungroup = static_cast<CODUngroupCommand*>(cmd);
        for (int i = 0; i < cmd->GetComponents()->GetSize(); ++i) {
            CODComponentSet* children;
            if (ungroup->LookupChildren((*cmd->GetComponents())[i], children))
                m_selection.Append(*children);
        }
        changed.Append(m_selection);
        break;
    }
    default:
        return;
    }
    if (changed.GetSize())
        OnSelectionChanged(&changed);
}

void CODController::OnCommandUnexecuted(MvcCommandBase* command)
{
    if (command == NULL)
        return;
    CODCommand* cmd = dynamic_cast<CODCommand*>(command);
    if (cmd == NULL)
        return;
    CODComponentSet changed;
    switch (command->GetType()) {
    case CODInsertCommand::typeId:
        for (int i = 0; i < cmd->GetComponents()->GetSize(); ++i)
            m_selection.Remove((*cmd->GetComponents())[i]);
        changed.Append(*cmd->GetComponents());
        break;
    case CODDeleteCommand::typeId:
        m_selection.RemoveAll();
        m_selection.Append(*cmd->GetComponents());
        changed.Append(m_selection);
        break;
    case CODGroupCommand::typeId:
    case CODUngroupCommand::typeId:
        changed.Append(m_selection);
        m_selection.RemoveAll();
        m_selection.Append(*cmd->GetComponents());
        changed.Append(m_selection);
        break;
    default:
        return;
    }
    if (changed.GetSize())
        OnSelectionChanged(&changed);
}

// ---------------------------------------------------------------------------------------------
// The select tool

void CODController::OnSelectButtonDown(UINT flags, int x, int y, int button)
{
    CPoint lp(x, y);
    DPtoLP(&lp);
    m_pODViewport->SetPastePosition(lp.x, lp.y);
    if (HitTestHandles(flags, lp, button) || HitTestSegments(flags, lp, button) ||
        HitTestComponents(flags, lp, button))
        return;
    if (m_selection.GetSize() && !(flags & (MK_SHIFT | MK_CONTROL))) {
        CODComponentSet former;
        former.Append(m_selection);
        m_selection.RemoveAll();
        OnSelectionChanged(&former);
    }
    if (button == 1)
        m_nState = 1;
    EndTextEdit(flags, x, y);
}

BOOL CODController::HitTestHandles(UINT flags, CPoint lp, int button)
{
    if (button != 1 || (m_nState != 0 && m_nState != 3))
        return FALSE;
    int handle = -1;
    CODComponent* c = m_pODViewport->HandleHitTest(lp, handle);
    if (c == NULL)
        return FALSE;
    m_pHit = c;
    m_nHandle = handle;
    if (CanEditVertices(c) && IsAllowed(c, permEditVertices)) {
        if ((flags & MK_CONTROL) && c->CanRemoveVertex()) {
            DeleteVertex(c, handle);
            return TRUE;
        }
        m_nState = 35;
        if (CODLinkComponent* link = DYNAMIC_DOWNCAST(CODLinkComponent, c)) {
            if (handle == 0 || handle == link->GetVertexCount() - 1)
                m_nState = 46;
        }
        return TRUE;
    }
    if (!IsAllowed(c, permScale))
        return FALSE;
    m_nState = 8;
    return TRUE;
}

BOOL CODController::HitTestSegments(UINT flags, CPoint lp, int button)
{
    if (button != 1 || !(flags & MK_CONTROL))
        return FALSE;
    int segment = -1;
    CODComponent* c = m_pODViewport->SegmentHitTest(lp.x, lp.y, segment);
    CODPointComponent* p = DYNAMIC_DOWNCAST(CODPointComponent, c);
    if (p == NULL || !c->CanAddVertex() || !CanEditVertices(c) || !IsAllowed(c, permEditVertices))
        return FALSE;
    CArray<CPoint, CPoint> v;
    p->GetVertexArray(&v);
    if (segment < 0 || segment >= v.GetSize())
        return FALSE;
    CPoint a = v[segment], b = v[segment + 1 < v.GetSize() ? segment + 1 : 0];
    // A segment of no length has no perpendicular: its own point is the new vertex.
    CPoint foot = a == b ? a : PerpendicularFoot(a.x, a.y, b.x, b.y, lp.x, lp.y);
    InsertVertex(c, segment + 1, foot.x, foot.y);
    return TRUE;
}

BOOL CODController::HitTestComponents(UINT flags, CPoint lp, int button)
{
    CODComponent* c = m_pODViewport->ComponentHitTest(lp.x, lp.y);
    if (c == NULL)
        return FALSE;
    m_pHit = c;
    CODComponentSet changed;
    BOOL result = FALSE;
    const BOOL selectable = IsAllowed(c, permSelect);
    const int at = m_selection.IndexOf(c);
    if (m_selection.GetSize() == 0) {
        if (selectable) {
            m_selection.Add(c);
            changed.Add(c);
        }
    } else if (selectable) {
        if (at < 0 && (flags & (MK_SHIFT | MK_CONTROL))) {
            changed.Add(GetLastSelected());
            changed.Add(c);
            m_selection.Add(c);
        } else if (at < 0) {
            changed.Append(m_selection);
            changed.Add(c);
            m_selection.RemoveAll();
            m_selection.Add(c);
        } else if (flags & MK_CONTROL) {
            if (at != m_selection.GetSize() - 1) {
                changed.Add(GetLastSelected());
                changed.Add(c);
                m_selection.RemoveAt(at, 1);
                m_selection.Add(c);
            }
        } else if (button == 2) {
            result = TRUE;
        } else if (flags & MK_SHIFT) {
            const BOOL wasLast = at == m_selection.GetSize() - 1;
            m_selection.RemoveAt(at, 1);
            changed.Add(c);
            if (wasLast && m_selection.GetSize() > 0)
                changed.Add(GetLastSelected());
            m_nState = 0;
        } else {
            m_bPressedOnSelected = TRUE;
        }
    }
    if (changed.GetSize()) {
        OnSelectionChanged(&changed);
        result = TRUE;
        if (m_pEditing && m_pEditing->GetEditor() && m_pEditing->GetEditor()->GetSafeHwnd())
            m_pEditing->GetEditor()->RedrawWindow(NULL, NULL,
                                                  RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    if (button == 1) {
        if (m_nState == 0 && IsAllowed(c, permMove)) {
            if (IsOleInitialized())
                StartDragDrop();
            else
                m_nState = 6;
            result = TRUE;
        } else if (m_nState == 3 && IsAllowed(c, permRotate)) {
            m_nState = 4;
            result = TRUE;
        }
    }
    return result;
}

void CODController::OnSelectMouseMove(UINT flags, int x, int y)
{
    CPoint lp(x, y);
    DPtoLP(&lp);
    if (UpdateHandleCursor(flags, lp) || UpdateCtrlCursor(flags, lp) ||
        UpdateMoveCursor(flags, lp))
        return;
    SetStandardCursor(IDC_ARROW);
}

BOOL CODController::UpdateHandleCursor(UINT flags, CPoint lp)
{
    if (m_nState != 0 && m_nState != 3)
        return FALSE;
    int handle = -1;
    CODComponent* c = m_pODViewport->HandleHitTest(lp, handle);
    m_nHoverHandle = handle;
    if (c == NULL)
        return FALSE;
    if (CanEditVertices(c) && IsAllowed(c, permEditVertices)) {
        SetCursorFromResource((flags & MK_CONTROL) && c->CanRemoveVertex() ? IDC_OD_DELETE_VERTEX
                                                                          : IDC_OD_VERTEX);
        return TRUE;
    }
    if (!IsAllowed(c, permScale) || handle < 0 || handle > 7)
        return FALSE;
    static const LPCTSTR sizing[4] = {IDC_SIZENWSE, IDC_SIZENS, IDC_SIZENESW, IDC_SIZEWE};
    SetStandardCursor(sizing[handle % 4]);
    return TRUE;
}

BOOL CODController::UpdateCtrlCursor(UINT flags, CPoint lp)
{
    if (!(flags & MK_CONTROL))
        return FALSE;
    int segment = -1;
    CODComponent* c = m_pODViewport->SegmentHitTest(lp.x, lp.y, segment);
    if (c == NULL || !CanEditVertices(c) || !IsAllowed(c, permEditVertices))
        return FALSE;
    SetCursorFromResource(IDC_OD_INSERT_VERTEX);
    return TRUE;
}

BOOL CODController::UpdateMoveCursor(UINT, CPoint lp)
{
    CODComponent* c = m_pODViewport->ComponentHitTest(lp.x, lp.y);
    if (c == NULL)
        return FALSE;
    if (m_nState == 0 && IsAllowed(c, permMove)) {
        SetCursorFromResource(IDC_OD_SELECT_MOVE);
        return TRUE;
    }
    if (m_nState == 3 && IsAllowed(c, permRotate)) {
        SetCursorFromResource(IDC_OD_FREE_ROTATE);
        return TRUE;
    }
    return FALSE;
}

void CODController::OnSelectDblClk(UINT flags, int x, int y, int)
{
    CPoint lp(x, y);
    DPtoLP(&lp);
    CODComponent* c = m_pODViewport->ComponentHitTest(lp.x, lp.y);
    if (c == NULL || c->OnDoubleClick() == TRUE)
        return;
    BeginTextEdit(flags, x, y);
}

void CODController::OnButtonUpNoDrag(UINT, int, int)
{
    EndCapture();
    if (m_bPressedOnSelected && m_pHit) {
        CODComponentSet former;
        former.Append(m_selection);
        m_selection.RemoveAll();
        m_selection.Add(m_pHit);
        m_pODViewport->RedrawComponents(&former);
        m_bPressedOnSelected = FALSE;
    }
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
}

// ---------------------------------------------------------------------------------------------
// Rubber band

void CODController::OnRubberBandStart(UINT, int, int)
{
    BeginCapture();
    DrawTrackingRect(m_ptPressDP.x, m_ptPressDP.y);
    m_nState = 2;
}

void CODController::OnRubberBandDrag(UINT flags, int x, int y)
{
    DrawTrackingRect(m_ptTracking.x, m_ptTracking.y);
    CPoint p(x, y);
    if (flags & MK_SHIFT)
        ConstrainSquare(p);
    DrawTrackingRect(p.x, p.y);
}

void CODController::OnRubberBandEnd(UINT flags, int x, int y)
{
    EndCapture();
    CPoint p(x, y);
    if (flags & MK_SHIFT)
        ConstrainSquare(p);
    CPoint a = m_ptPressDP, b = p;
    DPtoLP(&a);
    DPtoLP(&b);
    DrawTrackingRect(m_ptTracking.x, m_ptTracking.y);
    CRect r(a, b);
    r.NormalizeRect();
    CODComponentSet found, changed;
    if (GetODModel())
        GetODModel()->GetComponentsInRect(&found, r);
    if (GetLastSelected())
        changed.Add(GetLastSelected());
    for (int i = 0; i < found.GetSize(); ++i) {
        CODComponent* c = found[i];
        if (IsAllowed(c, permSelect) && m_selection.IndexOf(c) < 0) {
            m_selection.Add(c);
            changed.Add(c);
        }
    }
    if (changed.GetSize())
        OnSelectionChanged(&changed);
    m_nState = 0;
}

// ---------------------------------------------------------------------------------------------
// Constraints

void CODController::ConstrainSquare(CPoint& point)
{
    int dx = point.x - m_ptPressDP.x, dy = point.y - m_ptPressDP.y;
    if (abs(dy) < abs(dx))
        dy = dy > 0 ? abs(dx) : -abs(dx);
    else
        dx = dx > 0 ? abs(dy) : -abs(dy);
    point = m_ptPressDP + CSize(dx, dy);
}

void CODController::ConstrainAxis(const CPoint& reference, CPoint& point)
{
    int dx = point.x - reference.x, dy = point.y - reference.y;
    if (abs(dy) < abs(dx))
        point = CPoint(reference.x + dx, reference.y);
    else
        point = CPoint(reference.x, reference.y + dy);
}

namespace {

// Shift keeps the larger offset; on a tie the horizontal one goes.
void KeepLargerAxis(UINT flags, int& dx, int& dy)
{
    if (!(flags & MK_SHIFT))
        return;
    if (abs(dx) > abs(dy))
        dy = 0;
    else
        dx = 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Tracking copies

// The copies go through the copy stream, so that the clones of joined symbols and links are
// joined among themselves; each clone is then placed where its original is drawn.
void CODController::CreateTrackingCopies(CODComponentSet* set)
{
    ReleaseTrackingCopies();
    CODComponentSet main, extra;
    GatherCopy(set, main, extra);
    CMemFile file;
    try {
        {
            CArchive ar(&file, CArchive::store);
            SerializeSelection(ar, set);
            ar.Close();
        }
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        ReadSelection(ar, &m_trackingCopies, &m_trackingExtras);
        ar.Close();
    } catch (CException* e) {
        // A component that cannot be copied leaves the drag without feedback, not broken.
        e->Delete();
        ReleaseTrackingCopies();
    }
    auto place = [](CODComponentSet& originals, CODComponentSet& copies) {
        for (int i = 0; i < copies.GetSize() && i < originals.GetSize(); ++i) {
            CODTransform full;
            originals[i]->GetFullTransform(full);
            copies[i]->SetTransform(new CODTransform(full));
            copies[i]->UpdateRegion(FALSE);
        }
    };
    place(main, m_trackingCopies);
    place(extra, m_trackingExtras);
    m_tracker.SetComponents(&m_trackingCopies);
    m_tracker.SetExtraComponents(&m_trackingExtras);
}

void CODController::ReleaseTrackingCopies()
{
    m_tracker.Clear();
    for (int i = 0; i < m_trackingCopies.GetSize(); ++i)
        m_trackingCopies[i]->Release();
    for (int i = 0; i < m_trackingExtras.GetSize(); ++i)
        m_trackingExtras[i]->Release();
    m_trackingCopies.RemoveAll();
    m_trackingExtras.RemoveAll();
}

// ---------------------------------------------------------------------------------------------
// Move drag

void CODController::OnMoveDragStart(UINT flags, int x, int y)
{
    BeginCapture();
    m_dragSet.RemoveAll();
    GetMovableComponents(&m_selection, &m_dragSet);
    CreateTrackingCopies(&m_dragSet);
    m_nDragDx = m_nDragDy = 0;
    m_pODViewport->TrackMove(&m_tracker, 0, 0);
    SetCursorFromResource(IDC_OD_MOVING);
    m_nState = 7;
    OnMoveDrag(flags, x, y);
}

void CODController::OnMoveDrag(UINT flags, int x, int y)
{
    CPoint lp(x, y);
    DPtoLP(&lp);
    int dx = lp.x - m_ptPressLP.x, dy = lp.y - m_ptPressLP.y;
    KeepLargerAxis(flags, dx, dy);
    if (m_pODViewport->IsSnapToGrid()) {
        CPoint ref = m_tracker.GetReferencePoint() + CSize(dx, dy);
        CPoint snapped = m_pODViewport->SnapToGrid(ref.x, ref.y);
        dx += snapped.x - ref.x;
        dy += snapped.y - ref.y;
    }
    if (dx != m_nDragDx || dy != m_nDragDy) {
        m_pODViewport->EraseTracker(&m_tracker);
        m_pODViewport->TrackMove(&m_tracker, dx, dy);
    }
    m_nDragDx = dx;
    m_nDragDy = dy;
}

void CODController::OnMoveDragEnd(UINT, int, int)
{
    m_pODViewport->EraseTracker(&m_tracker);
    ReleaseTrackingCopies();
    EndCapture();
    if (GetODModel() && GetODModel()->CanMoveBy(&m_dragSet, m_nDragDx, m_nDragDy))
        MoveComponents(&m_dragSet, m_nDragDx, m_nDragDy);
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
    m_dragSet.RemoveAll();
}

// ---------------------------------------------------------------------------------------------
// Rotate drag

void CODController::OnRotateDragStart(UINT flags, int x, int y)
{
    BeginCapture();
    m_dragSet.RemoveAll();
    GetRotatableComponents(&m_selection, &m_dragSet);
    CreateTrackingCopies(&m_dragSet);
    m_ptRotateCentre = m_pHit ? m_pHit->GetHitRegion()->GetBounds().CenterPoint() : m_ptPressLP;
    m_nRotateStart = LineAngle(m_ptRotateCentre.x, m_ptRotateCentre.y, m_ptPressLP.x,
                               m_ptPressLP.y);
    m_nRotateAngle = 0;
    m_pODViewport->TrackRotate(&m_tracker, 0);
    SetCursorFromResource(IDC_OD_ROTATING);
    m_nState = 5;
    OnRotateDrag(flags, x, y);
}

void CODController::OnRotateDrag(UINT flags, int x, int y)
{
    CPoint lp(x, y);
    DPtoLP(&lp);
    int a = LineAngle(m_ptRotateCentre.x, m_ptRotateCentre.y, lp.x, lp.y) - m_nRotateStart;
    if ((flags & MK_SHIFT) || m_pODViewport->IsAngleSnap())
        a = a / 150 * 150;
    if (a != m_nRotateAngle) {
        m_pODViewport->EraseTracker(&m_tracker);
        m_pODViewport->TrackRotate(&m_tracker, a);
    }
    m_nRotateAngle = a;
}

void CODController::OnRotateDragEnd(UINT, int, int)
{
    m_pODViewport->EraseTracker(&m_tracker);
    ReleaseTrackingCopies();
    EndCapture();
    RotateComponents(&m_dragSet, m_nRotateAngle);
    m_nState = 3;
    SetStandardCursor(IDC_ARROW);
    m_dragSet.RemoveAll();
}

// ---------------------------------------------------------------------------------------------
// Scale drag

void CODController::OnScaleDragStart(UINT flags, int x, int y)
{
    BeginCapture();
    CODEditProperties edit;
    m_bKeepAspect = m_pHit && m_pHit->GetProperty(40, edit) && !edit.GetCanStretch();
    if (m_pHit)
        m_ptPressLP = ClampToPage(GetHandlePoint(m_pHit->GetBounds(), m_nHandle));
    CPoint d = m_ptPressDP;
    DPtoLP(&d);
    d = ClampToPage(d);
    LPtoDP(&d);
    m_ptPressDP = d;
    m_dragSet.RemoveAll();
    GetScalableComponents(&m_selection, &m_dragSet);
    CreateTrackingCopies(&m_dragSet);
    CRect base = m_pHit ? m_pHit->GetHitRegion()->GetBounds() : CRect(0, 0, 0, 0);
    m_nScaleBaseX = base.Width();
    m_nScaleBaseY = base.Height();
    m_fScaleX = m_fScaleY = 1.0f;
    m_nScaleReference = 8;
    m_pODViewport->TrackScale(&m_tracker, 1.0f, 1.0f, 8);
    m_nState = 9;
    OnScaleDrag(flags, x, y);
}

namespace {

float WithSign(float magnitude, float sign) { return sign < 0 ? -magnitude : magnitude; }

}  // namespace

void CODController::OnScaleDrag(UINT flags, int x, int y)
{
    CPoint lp = ClampToPage(ToLogical(x, y, TRUE));
    float w = (float)m_nScaleBaseX, h = (float)m_nScaleBaseY;
    if (flags & MK_CONTROL) {
        w /= 2.0f;
        h /= 2.0f;
    }
    const float px = (float)m_ptPressLP.x, py = (float)m_ptPressLP.y;
    const float fx = (float)lp.x, fy = (float)lp.y;
    // A flat component (a horizontal or vertical line) has no extent to scale that axis by.
    auto ratio = [](float delta, float base) { return base != 0.0f ? delta / base + 1.0f : 1.0f; };
    float sx = 1.0f, sy = 1.0f;
    int reference = 8;
    BOOL corner = FALSE;
    switch (m_nHandle) {
    case 0: sx = ratio(px - fx, w); sy = ratio(py - fy, h); reference = 4; corner = TRUE; break;
    case 1: sy = ratio(py - fy, h); reference = 5; break;
    case 2: sx = ratio(fx - px, w); sy = ratio(py - fy, h); reference = 6; corner = TRUE; break;
    case 3: sx = ratio(fx - px, w); reference = 7; break;
    case 4: sx = ratio(fx - px, w); sy = ratio(fy - py, h); reference = 0; corner = TRUE; break;
    case 5: sy = ratio(fy - py, h); reference = 1; break;
    case 6: sx = ratio(px - fx, w); sy = ratio(fy - py, h); reference = 2; corner = TRUE; break;
    case 7: sx = ratio(px - fx, w); reference = 3; break;
    default: break;
    }
    if (fabsf(sx) < 0.001f)
        sx = m_fScaleX;
    if (fabsf(sy) < 0.001f)
        sy = m_fScaleY;
    if (flags & MK_CONTROL)
        reference = 8;
    if ((flags & MK_SHIFT) && corner) {
        float m = std::max(fabsf(sx), fabsf(sy));
        sx = WithSign(m, sx);
        sy = WithSign(m, sy);
    }
    if (m_bKeepAspect) {
        if (reference == 1 || reference == 5)
            sx = WithSign(fabsf(sy), sx);
        else if (reference == 3 || reference == 7)
            sy = WithSign(fabsf(sx), sy);
        else if (fabsf(sx) < fabsf(sy))
            sx = WithSign(fabsf(sy), sx);
        else
            sy = WithSign(fabsf(sx), sy);
    }
    if (sx == m_fScaleX && sy == m_fScaleY && reference == m_nScaleReference)
        return;
    if ((flags & MK_CONTROL) || m_bKeepAspect) {
        CRect all(0, 0, 0, 0);
        for (int i = 0; i < m_selection.GetSize(); ++i)
            all = UnionRects(all, m_selection[i]->GetBounds());
        float cx, cy;
        GetHandlePointF(all, 8, &cx, &cy);
        CRect scaled(RoundToInt(cx + (all.left - cx) * sx), RoundToInt(cy + (all.top - cy) * sy),
                     RoundToInt(cx + (all.right - cx) * sx),
                     RoundToInt(cy + (all.bottom - cy) * sy));
        scaled.NormalizeRect();
        CODModel* model = GetODModel();
        CRect canvas(model->GetOrigin(), model->GetSize());
        if (!RectInRect(scaled, canvas)) {
            OnScaleDragEnd(flags, x, y);
            return;
        }
    }
    m_pODViewport->EraseTracker(&m_tracker);
    m_pODViewport->TrackScale(&m_tracker, sx, sy, reference);
    m_fScaleX = sx;
    m_fScaleY = sy;
    m_nScaleReference = reference;
}

void CODController::OnScaleDragEnd(UINT, int, int)
{
    m_pODViewport->EraseTracker(&m_tracker);
    ReleaseTrackingCopies();
    EndCapture();
    ScaleComponents(&m_dragSet, m_fScaleX, m_fScaleY, m_nScaleReference);
    m_nState = 0;
    SetStandardCursor(IDC_ARROW);
    m_dragSet.RemoveAll();
}

// ---------------------------------------------------------------------------------------------
// Vertices

BOOL CODController::IsEditableVertexComponent(CODComponent* c)
{
    if (c == NULL)
        return FALSE;
    if (c->IsKindOf(RUNTIME_CLASS(CODLineComponent)) || c->IsKindOf(RUNTIME_CLASS(CODLinkComponent)))
        return TRUE;
    return c->IsKindOf(RUNTIME_CLASS(CODCurveComponent)) &&
           !c->IsKindOf(RUNTIME_CLASS(CODClosedCurveComponent));
}

BOOL CODController::IsVertexComponent(CODComponent* c)
{
    return c != NULL && (IsEditableVertexComponent(c) || c->IsKindOf(RUNTIME_CLASS(CODPointComponent)));
}

BOOL CODController::CanEditVertices(CODComponent* c)
{
    return IsEditableVertexComponent(c) || (m_bEditVertices && IsVertexComponent(c));
}

void CODController::OnVertexDragStart(UINT flags, int x, int y)
{
    BeginCapture();
    m_nDragDx = m_nDragDy = 0;
    m_pODViewport->TrackVertex(m_pHit, m_nHandle, 0, 0);
    if (m_pHit)
        m_ptPressLP = m_pHit->GetHandle(m_nHandle, TRUE);
    m_nState = 36;
    OnVertexDragMove(flags, x, y);
}

void CODController::OnVertexDragMove(UINT flags, int x, int y)
{
    CPoint lp = ToLogical(x, y, TRUE);
    int dx = lp.x - m_ptPressLP.x, dy = lp.y - m_ptPressLP.y;
    KeepLargerAxis(flags, dx, dy);
    m_pODViewport->TrackVertex(m_pHit, m_nHandle, m_nDragDx, m_nDragDy);
    switch (m_pODViewport->TrackVertex(m_pHit, m_nHandle, dx, dy)) {
    case 0:
        m_nDragDx = dx;
        m_nDragDy = dy;
        break;
    case 1:
        m_nDragDy = dy;
        m_pODViewport->TrackVertex(m_pHit, m_nHandle, m_nDragDx, m_nDragDy);
        break;
    case 2:
        m_nDragDx = dx;
        m_pODViewport->TrackVertex(m_pHit, m_nHandle, m_nDragDx, m_nDragDy);
        break;
    default:
        m_pODViewport->TrackVertex(m_pHit, m_nHandle, m_nDragDx, m_nDragDy);
        break;
    }
}

void CODController::OnVertexDragEnd(UINT, int, int)
{
    m_pODViewport->TrackVertex(m_pHit, m_nHandle, m_nDragDx, m_nDragDy);
    EndCapture();
    if (m_pHit)
        MoveVertex(m_pHit, m_nHandle, m_nDragDx, m_nDragDy);
    m_nState = 0;
}

// A link's end is dragged as its end port: the end's join is taken off the link for the drag,
// so that the link may accept another port under the mouse, and is put back before the Move
// Port command decides what the end is joined to.
namespace {

CODLinkComponent* AsLink(CODComponent* c)
{
    return DYNAMIC_DOWNCAST(CODLinkComponent, c);
}

}  // namespace

void CODController::OnLinkEndDragStart(UINT flags, int x, int y)
{
    CODLinkComponent* link = AsLink(m_pHit);
    if (link)
        m_pDragPort = m_nHandle != 0 ? link->GetTargetPort() : link->GetSourcePort();
    if (CPoint(x, y) == m_ptPressDP)
        return;
    BeginCapture();
    m_nDragDx = m_nDragDy = 0;
    m_pODViewport->TrackVertex(m_pHit, m_nHandle, 0, 0);
    if (m_pHit)
        m_ptPressLP = m_pHit->GetHandle(m_nHandle, TRUE);
    m_nState = 47;
    m_pDetached = NULL;
    if (link && m_pDragPort) {
        CODConnectionArray joined;
        link->FindConnections(m_pDragPort, &joined);
        if (joined.GetSize() > 0) {
            m_pDetached = joined[0];
            link->RemoveConnectionEntry(m_pDetached);
        }
    }
    OnLinkEndDrag(flags, x, y);
}

CODPortComponent* CODController::FindLinkEndTarget(CPoint logical)
{
    CODPortComponent* port = m_pODViewport->FindPortAt(logical);
    if (port == NULL || m_pDragPort == NULL || port->GetOwner() == m_pDragPort->GetOwner())
        return NULL;
    if (!port->CanConnectTo(m_pDragPort) || !m_pDragPort->CanConnectTo(port))
        return NULL;
    return port;
}

void CODController::OnLinkEndDrag(UINT flags, int x, int y)
{
    CPoint lp = ToLogical(x, y, FALSE);
    if (CODPortComponent* target = FindLinkEndTarget(lp)) {
        lp = target->GetLocation();
        SetCursorFromResource(IDC_OD_PORT_TARGET);
    } else {
        SetCursorFromResource(IDC_OD_VERTEX);
        if (m_pODViewport->IsSnapToGrid())
            lp = m_pODViewport->SnapToGrid(lp.x, lp.y);
    }
    int dx = lp.x - m_ptPressLP.x, dy = lp.y - m_ptPressLP.y;
    KeepLargerAxis(flags, dx, dy);
    m_pODViewport->TrackVertex(m_pHit, m_nHandle, m_nDragDx, m_nDragDy);
    m_pODViewport->TrackVertex(m_pHit, m_nHandle, dx, dy);
    m_nDragDx = dx;
    m_nDragDy = dy;
}

void CODController::ReattachLinkEnd()
{
    if (m_pDetached)
        if (CODLinkComponent* link = AsLink(m_pHit))
            link->AddConnectionEntry(m_pDetached);
    m_pDetached = NULL;
}

void CODController::OnLinkEndDragEnd(UINT, int, int)
{
    m_pODViewport->TrackVertex(m_pHit, m_nHandle, m_nDragDx, m_nDragDy);
    EndCapture();
    // Asked before the join comes back: an end that holds a join accepts no other.
    CODPortComponent* target = FindLinkEndTarget(m_ptPressLP + CSize(m_nDragDx, m_nDragDy));
    ReattachLinkEnd();
    if (m_pDragPort)
        MovePort(m_pDragPort, m_nDragDx, m_nDragDy, target);
    m_nState = 0;
    m_pDragPort = NULL;
}

void CODController::OnLinkEndCancel(UINT flags, int x, int y)
{
    ReattachLinkEnd();
    m_pDragPort = NULL;
    OnButtonUpNoDrag(flags, x, y);
}

void CODController::OnEditVerticesTool()
{
    m_bEditVertices = !m_bEditVertices;
    m_pODViewport->RedrawComponents(&m_selection);
}

void CODController::OnUpdateEditVerticesTool(CCmdUI* ui)
{
    ui->Enable(m_selection.GetSize() == 1 && IsVertexComponent(m_selection[0]));
    ui->SetCheck(m_bEditVertices);
}
