#include "ODCustomController.h"
#include "ODCustomDefPropSheet.h"
#include <math.h>
#include "AppConfig.h"
#include "Clavio.h"
#include "Globals.h"
#include "ODCustomViewport.h"
#include "ODEditProperties.h"
#include "ODLineProperties.h"
#include "ODPointComponent.h"
#include "ODTextComponent.h"
#include "OverlayWnd.h"
#include "VideoWindow.h"

namespace {

const char kTempLabel[] = "temp_comp";
const char kChildLabel[] = "child";
const char kVLine[] = "VLine";
const char kDegree = char(186);  // the masculine ordinal sign of the ANSI code page

// Program tools, and what an armed tool still has to do.
enum { toolNone = -1, toolLine, toolPolyline, toolVLine, toolArrow, toolProtractor, toolFreehand };
enum {
    modeNone = 0, modeArrowArmed = 1, modeArrowDrag = 2, modeArrowDone = 3,
    modeProtractorArmed = 4, modeProtractorDone = 5, modeVLine = 6, modeFreehand = 8,
    modeFreehandStroke = 9,
};

BOOL IsLabel(CODComponent* c, const char* name)
{
    return c && c->IsKindOf(RUNTIME_CLASS(CODTextComponent)) && c->GetName() == name;
}

}  // namespace

BEGIN_MESSAGE_MAP(CODCustomController, CODController)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_COMMAND(ID_DRAW_LINE, OnLine)
    ON_COMMAND(ID_DRAW_POLYLINE, OnPolyline)
    ON_COMMAND(ID_DRAW_VLINE, OnVerticalLine)
    ON_COMMAND(ID_DRAW_ARROW, OnArrowLine)
    ON_UPDATE_COMMAND_UI(ID_DRAW_ARROW, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_DRAW_PROTRACTOR, OnProtractor)
    ON_UPDATE_COMMAND_UI(ID_DRAW_PROTRACTOR, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_DRAW_FREEHAND, OnFreehand)
    ON_COMMAND(ID_DRAW_RESET_TOOLS, OnResetTools)
    ON_COMMAND(ID_DRAW_POS_CHANGED, OnVideoPosChanged)
    ON_COMMAND(ID_DRAW_ZOOM_IN, OnZoomInCmd)
    ON_COMMAND(ID_DRAW_ZOOM_OUT, OnZoomOutCmd)
    ON_COMMAND(ID_DRAW_DELETE_ALL, OnDeleteAll)
    ON_COMMAND(ID_OD_PROPERTIES, OnComponentProperties)
END_MESSAGE_MAP()

CODCustomController::CODCustomController(CODCustomViewport* viewport)
    : CODController(viewport), m_bPosChangedOutside(false), m_bOutsideWindow(false),
      m_nToolMode(modeNone), m_pAngleLabel(NULL), m_ptVLineAnchor(0, 0),
      m_bContextMenuAllowed(true), m_nTool(toolNone), m_nProtractorClicks(0), m_pMenu(NULL)
{
}

CODCustomController::~CODCustomController()
{
    DropAngleLabel(FALSE);
    delete m_pMenu;
}

CODCustomViewport* CODCustomController::CustomViewport() const
{
    return static_cast<CODCustomViewport*>(GetViewport());
}

void CODCustomController::SetModel(MvcModel* model)
{
    // A label of the previous drawing is not this one's to delete.
    if (model != m_pModel)
        DropAngleLabel(FALSE);
    CODController::SetModel(model);
}

void CODCustomController::DropAngleLabel(BOOL deleteFromModel)
{
    CODTextComponent* label = m_pAngleLabel;
    if (!label)
        return;
    m_pAngleLabel = NULL;
    // Only a label the drawing still holds is deleted (an undo may have taken it out).
    if (deleteFromModel && GetODModel() && GetODModel()->GetChildIndex(label) >= 0) {
        CODComponentSet set;
        set.Add(label);
        CODController::DeleteComponents(&set);
    }
    label->Release();
}

void CODCustomController::RunCommand(UINT id)
{
    OnCmdMsg(id, CN_COMMAND, NULL, NULL);
}

// ---------------------------------------------------------------------------------------
// Angle arithmetic

int CODCustomController::AngleAt(CPoint a, CPoint b, CPoint c)
{
    const float d1 = float(hypot(double(b.x - a.x), double(b.y - a.y)));
    const float d2 = float(hypot(double(c.x - b.x), double(c.y - b.y)));
    const float d3 = float(hypot(double(a.x - c.x), double(a.y - c.y)));
    if (d1 == 0 || d2 == 0 || d3 == 0)
        return 0;
    // Rounding can carry the cosine of collinear arms just past 1 or -1.
    float cosine = (d2 * d2 + d1 * d1 - d3 * d3) / (2 * d1 * d2);
    cosine = cosine > 1.0f ? 1.0f : cosine < -1.0f ? -1.0f : cosine;
    const float angle = float(acos(double(cosine)) * 180.0 / 3.14);
    return abs(int(angle + 0.5f));
}

CPoint CODCustomController::LabelCentre(CPoint a, CPoint b, CPoint c)
{
    if (AngleAt(a, b, c) <= 15)
        return CPoint(b.x + 15, b.y + 15);
    const double ux = a.x - b.x, uy = a.y - b.y, vx = c.x - b.x, vy = c.y - b.y;
    const double lu = hypot(ux, uy), lv = hypot(vx, vy);
    double wx = ux / lu + vx / lv, wy = uy / lu + vy / lv;
    double lw = hypot(wx, wy);
    if (lw < 1e-6) {
        // A straight angle: either side of the line is inside; take the left of BA.
        wx = -uy / lu, wy = ux / lu, lw = 1;
    }
    return CPoint(b.x + int(50 * wx / lw), b.y + int(50 * wy / lw));
}

BOOL CODCustomController::IsProtractor(CODComponent* c)
{
    return c && c->IsKindOf(RUNTIME_CLASS(CODLineComponent)) && c->GetChildCount() > 0 &&
           c->GetChild(0) && c->GetChild(0)->IsKindOf(RUNTIME_CLASS(CODTextComponent));
}

void CODCustomController::AnglePoints(CODLineComponent* figure, int index, CPoint offset,
                                      CPoint pts[3])
{
    if (figure && figure->GetVertexCount() >= 3) {
        for (int i = 0; i < 3; ++i)
            pts[i] = figure->GetVertex(i);
    } else {
        CArray<CPoint, CPoint>* points = GetPointList();
        pts[0] = points->GetSize() > 0 ? (*points)[0] : CPoint(0, 0);
        pts[1] = points->GetSize() > 1 ? (*points)[1] : pts[0];
        pts[2] = CPoint(0, 0);
    }
    if (index >= 0 && index < 3)
        pts[index] += offset;
}

CString CODCustomController::AngleText(CPoint pts[3])
{
    CString text;
    text.Format("%d%c", AngleAt(pts[0], pts[1], pts[2]), kDegree);
    return text;
}

CRect CODCustomController::LabelRect(CPoint pts[3])
{
    const CPoint centre = LabelCentre(pts[0], pts[1], pts[2]);
    return CRect(centre.x - 23, centre.y - 10, centre.x + 23, centre.y + 10);
}

CODTextComponent* CODCustomController::NewLabel(CPoint pts[3], LPCTSTR name)
{
    CODTextComponent* label = new CODTextComponent;
    label->Create(LabelRect(pts), NULL);
    ApplyDefaultProperties(label);
    CODLineProperties noLine(10);
    noLine.SetTransparent(TRUE);
    label->SetProperty(noLine, 0xFFFFFFFF);
    CODEditProperties readOnly(40);
    readOnly.SetReadOnly(TRUE);
    label->SetProperty(readOnly, 1u << CODEditProperties::readOnly);
    label->SetText(AngleText(pts));
    label->SetName(name);
    return label;
}

void CODCustomController::UpdateAngleLabel(CODLineComponent* figure, CODTextComponent* label,
                                           int index, CPoint offset)
{
    if (!label)
        return;
    CPoint pts[3];
    AnglePoints(figure, index, offset, pts);
    label->SetText(AngleText(pts));
    label->SetTextBounds(LabelRect(pts));
    label->UpdateRegion(TRUE);
    if (figure)
        figure->UpdateRegion(TRUE);
    GetViewport()->InvalidateAll();
}

// ---------------------------------------------------------------------------------------
// Mouse

void CODCustomController::OnLButtonDown(UINT flags, CPoint point)
{
    COverlayWnd* overlay = dynamic_cast<COverlayWnd*>(GetViewport()->GetWnd());
    if (g_pClavio && overlay) {
        CVideoWindow* current = g_pClavio->GetActiveVideoWindow();
        if (current && current->GetSafeHwnd() && current->GetOverlayEnable())
            g_pClavio->Stop();
        const int mine = overlay == g_pClavio->GetOverlay(0) ? 0 : 1;
        if (mine != g_pClavio->GetCurrentChannel()) {
            g_pClavio->FinishDrawing();
            g_pClavio->SelectChannel(mine);
        }
    }
    CODController::OnLButtonDown(flags, point);
    if (m_nTool == toolProtractor) {
        if (m_nProtractorClicks == 1) {
            CPoint pts[3];
            AnglePoints(NULL, 2, point - CPoint(0, 0), pts);
            DPtoLP(&pts[2]);
            CODTextComponent* label = NewLabel(pts, kTempLabel);
            label->AddRef();
            m_pAngleLabel = label;
            CODController::InsertComponent(label);
            m_nProtractorClicks = 2;
        } else if (m_nProtractorClicks >= 2) {
            DropAngleLabel(TRUE);
            m_nToolMode = modeProtractorDone;
            CODController::OnLButtonDblClk(flags, point);
            OnProtractor();
            return;
        } else {
            ++m_nProtractorClicks;
        }
    }
    if (m_nToolMode == modeArrowArmed && GetState() != 14 && GetState() != 15)
        m_nToolMode = modeNone;
    if (m_nToolMode == modeVLine)
        m_ptVLineAnchor = point;
}

void CODCustomController::OnMouseMove(UINT flags, CPoint point)
{
    const int state = GetState();
    if ((state == 17 || state == 18) && m_hWnd) {
        CRect client;
        ::GetClientRect(m_hWnd, &client);
        const BOOL inside = client.PtInRect(point);
        if (!inside && ::GetCapture()) {
            m_bOutsideWindow = true;
            ::ReleaseCapture();
        } else if (inside && m_bOutsideWindow) {
            ::SetCapture(m_hWnd);
            if (m_bPosChangedOutside && g_pClavio) {
                g_pClavio->StepField(0);
                m_bPosChangedOutside = false;
            }
            m_bOutsideWindow = false;
        }
    }
    if (state == 18 && m_nTool == toolFreehand) {
        OnPolylineAddPoint(flags, point.x, point.y);
        m_nToolMode = modeFreehandStroke;
    }
    if (m_nToolMode == modeArrowArmed)
        m_nToolMode = modeArrowDrag;
    if (m_nToolMode == modeVLine)
        point.x = m_ptVLineAnchor.x;
    CODController::OnMouseMove(flags, point);
}

void CODCustomController::OnLButtonUp(UINT flags, CPoint point)
{
    const int state = GetState();
    if (m_nToolMode == modeArrowDrag && state == 15)
        m_nToolMode = modeArrowDone;
    if (m_nToolMode == modeVLine)
        point.x = m_ptVLineAnchor.x;
    CODController::OnLButtonUp(flags, point);
    if (state == 11 || state == 12) {
        m_nToolMode = modeNone;
        RunCommand(ID_OD_RECTANGLE);
    } else if (state == 14 || state == 15) {
        m_nToolMode = modeNone;
        RunCommand(m_nTool == toolArrow ? ID_DRAW_ARROW : m_nTool == toolVLine ? ID_DRAW_VLINE
                                                                              : ID_DRAW_LINE);
    } else if (state == 18 && m_nToolMode == modeFreehandStroke) {
        CODController::OnLButtonDblClk(flags, point);
        RunCommand(ID_DRAW_FREEHAND);
    } else if (state == 29 || state == 30) {
        m_nToolMode = modeNone;
        RunCommand(ID_OD_ELLIPSE);
    }
}

void CODCustomController::OnLButtonDblClk(UINT flags, CPoint point)
{
    const int state = GetState();
    if (state == 18 && m_nTool != toolFreehand) {
        CODController::OnLButtonDblClk(flags, point);
        m_nToolMode = modeNone;
        if (m_nTool == toolPolyline)
            RunCommand(ID_DRAW_POLYLINE);
        return;
    }
    CPoint logical = point;
    DPtoLP(&logical);
    CODComponent* hit = GetViewport()->ComponentHitTest(logical.x, logical.y);
    if (hit && hit->IsKindOf(RUNTIME_CLASS(CODTextComponent))) {
        CODController::OnLButtonDblClk(flags, point);
        return;
    }
    OnDeleteAll();
    if (g_pClavio)
        g_pClavio->NotifyUpdate();
}

void CODCustomController::OnRButtonDown(UINT flags, CPoint point)
{
    if (GetState() == 0) {
        CODController::OnRButtonDown(flags, point);
        return;
    }
    if (m_nTool == toolProtractor && m_nProtractorClicks == 2)
        DropAngleLabel(TRUE);
    if (g_pAppConfig)
        g_pAppConfig->SetDrawingTool(-1);
    if (g_pClavio)
        g_pClavio->NotifyUpdate();
    m_bContextMenuAllowed = false;
}

CMenu* CODCustomController::BuildContextMenu()
{
    if (!m_bContextMenuAllowed) {
        m_bContextMenuAllowed = true;
        return NULL;
    }
    delete m_pMenu;
    m_pMenu = new CMenu;
    if (!m_pMenu->LoadMenu(IDR_DRAW_CONTEXT_MENU)) {
        delete m_pMenu;
        m_pMenu = NULL;
        return NULL;
    }
    return m_pMenu->GetSubMenu(1);
}

// ---------------------------------------------------------------------------------------
// Tools

void CODCustomController::OnLine()
{
    m_nTool = toolLine;
    m_nToolMode = modeNone;
    OnLineTool();
}

void CODCustomController::OnPolyline()
{
    m_nTool = toolPolyline;
    m_nToolMode = modeNone;
    OnPolylineTool();
}

void CODCustomController::OnVerticalLine()
{
    m_nToolMode = modeVLine;
    m_nTool = toolVLine;
    OnLineTool();
}

void CODCustomController::OnArrowLine()
{
    m_nTool = toolArrow;
    m_nToolMode = modeArrowArmed;
    OnLineTool();
}

void CODCustomController::OnProtractor()
{
    m_nTool = toolProtractor;
    OnPolylineTool();
    m_nToolMode = modeProtractorArmed;
    m_nProtractorClicks = 0;
}

void CODCustomController::OnFreehand()
{
    m_nToolMode = modeFreehand;
    m_nTool = toolFreehand;
    OnPolylineTool();
}

void CODCustomController::OnUpdateAlwaysEnabled(CCmdUI* ui)
{
    ui->Enable(TRUE);
}

void CODCustomController::OnResetTools()
{
    m_nToolMode = modeNone;
    m_nTool = toolNone;
    m_bPosChangedOutside = false;
    if (GetState() != 0) {
        OnSelectTool();
        if (g_pClavio)
            g_pClavio->RedrawVideo();
    }
}

void CODCustomController::OnVideoPosChanged()
{
    const int state = GetState();
    if (state != 17 && state != 18)
        return;
    CArray<CPoint, CPoint>* points = GetPointList();
    if (points->GetSize()) {
        CPoint last = (*points)[points->GetSize() - 1];
        LPtoDP(&last);
        DrawTrackingPolyline(last.x, last.y);
    }
    m_bPosChangedOutside = true;
}

void CODCustomController::OnZoomInCmd()
{
    CustomViewport()->ZoomIn();
    GetViewport()->InvalidateAll();
}

void CODCustomController::OnZoomOutCmd()
{
    CODCustomViewport* view = CustomViewport();
    view->ZoomOut();
    if (view->GetZoomPercent() == 100) {
        view->ScrollBy(-608, -456);
        view->ScrollBy(152, 0);
    }
    GetViewport()->InvalidateAll();
}

void CODCustomController::OnDeleteAll()
{
    if (GetEditingText())
        EndTextEdit(0, 0, 0);
    SelectAll();
    if (GetSelection()->GetSize())
        DeleteComponents(GetSelection());
}

void CODCustomController::OnComponentProperties()
{
    // Only the line and font pages apply to a telestrator's figures.
    CODCompPropSheet sheet(GetSelection(), GetViewport(), "Component Properties",
                           CODCustomDefPropSheet::kLineAndFontPages);
    sheet.DoModal();
    GetViewport()->InvalidateAll();
}

void CODCustomController::FinishTool()
{
    if (GetEditingText() && (!g_pAppConfig || g_pAppConfig->GetDrawingTool() != toolProtractor))
        EndTextEdit(0, 0, 0);
}

// ---------------------------------------------------------------------------------------
// Polyline feedback and vertex drags

void CODCustomController::OnPolylineAddPoint(UINT flags, int x, int y)
{
    CODController::OnPolylineAddPoint(flags, x, y);
}

void CODCustomController::OnPolylineMouseMove(UINT flags, int x, int y)
{
    CODController::OnPolylineMouseMove(flags, x, y);
    // The protractor's third arm follows the cursor with its angle.
    if (m_nTool == toolProtractor && m_pAngleLabel) {
        CPoint offset(x, y);
        DPtoLP(&offset);
        UpdateAngleLabel(NULL, m_pAngleLabel, 2, offset);
    }
}

void CODCustomController::OnVertexDragMove(UINT flags, int x, int y)
{
    CODController::OnVertexDragMove(flags, x, y);
}

MvcCommandBase* CODCustomController::MoveVertex(CODComponent* component, int index, int dx,
                                                int dy)
{
    if (component && component->GetName() == kVLine && m_nToolMode != modeVLine && dx &&
        (index == 0 || index == 1))
        CODController::MoveVertex(component, 1 - index, dx, 0);
    return CODController::MoveVertex(component, index, dx, dy);
}

// ---------------------------------------------------------------------------------------
// Component sets and labels

void CODCustomController::WithProtractorLabels(CODComponentSet* set, CODComponentSet* out,
                                               BOOL addLabels)
{
    for (int i = 0; set && i < set->GetSize(); ++i) {
        CODComponent* c = (*set)[i];
        if (IsLabel(c, kChildLabel) || IsLabel(c, kTempLabel))
            continue;
        out->Add(c);
    }
    if (!addLabels)
        return;
    const int n = out->GetSize();
    for (int i = 0; i < n; ++i)
        if (IsProtractor((*out)[i]))
            out->Add((*out)[i]->GetChild(0));
}

MvcCommandBase* CODCustomController::InsertComponent(CODComponent* component)
{
    CODLineComponent* line = DYNAMIC_DOWNCAST(CODLineComponent, component);
    if (CODTextComponent* text = DYNAMIC_DOWNCAST(CODTextComponent, component)) {
        if (!IsLabel(text, kTempLabel)) {
            CRect r = text->GetTextBounds();
            if (r.Width() < 175)
                r.right = r.left + 175;
            if (r.Height() < 75)
                r.bottom = r.top + 75;
            text->SetTextBounds(r);
            text->UpdateRegion(FALSE);
        }
    } else if (line && m_nToolMode == modeFreehandStroke) {
        CODEditProperties edit(40);
        edit.SetCanEditVertices(FALSE);
        edit.SetCanSelect(TRUE);
        edit.SetCanMove(TRUE);
        edit.SetCanScale(FALSE);
        line->SetProperty(edit, (1u << CODEditProperties::canEditVertices) |
                                    (1u << CODEditProperties::canSelect) |
                                    (1u << CODEditProperties::canMove) |
                                    (1u << CODEditProperties::canScale));
        m_nToolMode = modeNone;
    } else if (line && m_nToolMode == modeArrowDone) {
        // The head where the drag began.
        line->SetStartEndpoint(CODArrowEndpoint().Clone());
        m_nToolMode = modeNone;
    } else if (line && m_nToolMode == modeVLine) {
        line->SetName(kVLine);
        const CPoint v0 = line->GetVertex(0), v1 = line->GetVertex(1);
        line->MoveVertex(1, v0.x - v1.x, 0);
        line->UpdateRegion(FALSE);
        MvcCommandBase* command = CODController::InsertComponent(line);
        m_nToolMode = modeNone;
        return command;
    } else if (line && m_nToolMode == modeProtractorDone) {
        m_nToolMode = modeNone;
        CPoint pts[3];
        AnglePoints(line, -1, CPoint(0, 0), pts);
        line->AppendChild(NewLabel(pts, kChildLabel));
        return CODController::InsertComponent(line);
    }
    if (m_nToolMode == modeArrowArmed)
        m_nToolMode = modeNone;
    return CODController::InsertComponent(component);
}

MvcCommandBase* CODCustomController::DeleteComponents(CODComponentSet* set)
{
    CODComponentSet filtered;
    WithProtractorLabels(set, &filtered, TRUE);
    // Only the temporary label itself may go without a figure.
    if (set && set->GetSize() == 1 && IsLabel((*set)[0], kTempLabel))
        filtered.Add((*set)[0]);
    return CODController::DeleteComponents(&filtered);
}

void CODCustomController::CopyToClipboard(CODComponentSet* set)
{
    CODComponentSet filtered;
    WithProtractorLabels(set, &filtered, TRUE);
    CODController::CopyToClipboard(&filtered);
}

MvcCommandBase* CODCustomController::MoveComponents(CODComponentSet* set, int dx, int dy)
{
    CODComponentSet filtered;
    WithProtractorLabels(set, &filtered, FALSE);
    return CODController::MoveComponents(&filtered, dx, dy);
}

MvcCommandBase* CODCustomController::RotateComponents(CODComponentSet* set, int angle)
{
    CODComponentSet filtered;
    WithProtractorLabels(set, &filtered, FALSE);
    return CODController::RotateComponents(&filtered, angle);
}

void CODCustomController::OnCommandExecuted(MvcCommandBase* command)
{
    CODController::OnCommandExecuted(command);
    CODCommand* cmd = dynamic_cast<CODCommand*>(command);
    for (int i = 0; cmd && i < cmd->GetComponents()->GetSize(); ++i) {
        CODComponent* c = (*cmd->GetComponents())[i];
        if (IsProtractor(c))
            UpdateAngleLabel(static_cast<CODLineComponent*>(c),
                             static_cast<CODTextComponent*>(c->GetChild(0)), -1, CPoint(0, 0));
    }
}

void CODCustomController::OnCommandUnexecuted(MvcCommandBase* command)
{
    CODController::OnCommandUnexecuted(command);
    // An undo that took the temporary label out of the drawing: let it go.
    if (m_pAngleLabel && GetODModel() && GetODModel()->GetChildIndex(m_pAngleLabel) < 0)
        DropAngleLabel(FALSE);
    OnCommandExecuted(NULL);
}
