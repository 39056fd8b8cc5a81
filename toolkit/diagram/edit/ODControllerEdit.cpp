// The controller's editing side: the command builders, the arrange and edit commands, zoom
// commands, the clipboard in the toolkit's private format, OLE drags and export.
#include "ODController.h"
#include "ODLinkComponent.h"
#include "ODDialogs.h"
#include "ODMeasureSheet.h"
#include <afxdlgs.h>
#include <afxpriv.h>
#include <math.h>
#include "ODDropTarget.h"
#include "ODEditProperties.h"
#include "ODGeometry.h"
#include "ODPropSheet.h"
#include "ODTextComponent.h"
#include "SECDib.h"
#include "diagram_res.h"

// ---------------------------------------------------------------------------------------------
// Command builders: make, fill, Do, and let the selection follow.

namespace {

MvcCommandBase* Run(CODController* controller, CODModel* model, MvcCommandBase* command,
                    BOOL notify)
{
    model->Do(command);
    if (notify)
        controller->OnCommandExecuted(command);
    return command;
}

}  // namespace

MvcCommandBase* CODController::InsertComponents(CODComponentSet* set)
{
    CODInsertCommand* command = new CODInsertCommand(GetODModel());
    command->AddComponents(set);
    return Run(this, GetODModel(), command, TRUE);
}

MvcCommandBase* CODController::InsertComponent(CODComponent* component)
{
    CODInsertCommand* command = new CODInsertCommand(GetODModel());
    command->AddComponent(component);
    return Run(this, GetODModel(), command, TRUE);
}

MvcCommandBase* CODController::DeleteComponents(CODComponentSet* set)
{
    CODDeleteCommand* command = new CODDeleteCommand(GetODModel());
    command->AddComponents(set);
    return Run(this, GetODModel(), command, TRUE);
}

MvcCommandBase* CODController::GroupComponents(CODComponentSet* set)
{
    CODGroupCommand* command = new CODGroupCommand(GetODModel());
    command->SetGroup(NewComponent());
    command->AddComponents(set);
    return Run(this, GetODModel(), command, TRUE);
}

MvcCommandBase* CODController::UngroupComponents(CODComponentSet* set)
{
    CODUngroupCommand* command = new CODUngroupCommand(GetODModel());
    command->AddComponents(set);
    return Run(this, GetODModel(), command, TRUE);
}

// The link builders only run the command (the tool that called them resets itself).
MvcCommandBase* CODController::LinkComponents(CODComponent* link, CODPortComponent* source,
                                              CODPortComponent* target)
{
    CODLinkCommand* command = new CODLinkCommand(GetODModel());
    command->AddComponent(link);
    command->SetSourcePort(source);
    command->SetTargetPort(target);
    if (CODLinkComponent* l = DYNAMIC_DOWNCAST(CODLinkComponent, link)) {
        CArray<CPoint, CPoint> path;
        if (l->GetLine()) {
            for (int i = 0; i < l->GetVertexCount(); ++i)
                path.Add(l->GetVertex(i));
            command->SetPath(path);
        }
    }
    return Run(this, GetODModel(), command, FALSE);
}

MvcCommandBase* CODController::LinkComponent(CODComponent* link, CArray<CPoint, CPoint>* path,
                                             CODPortComponent* source, CODPortComponent* target)
{
    CODLinkCommand* command = new CODLinkCommand(GetODModel());
    command->AddComponent(link);
    if (path)
        command->SetPath(*path);
    command->SetSourcePort(source);
    command->SetTargetPort(target);
    return Run(this, GetODModel(), command, FALSE);
}

MvcCommandBase* CODController::LinkPorts(CArray<CPoint, CPoint>* path, CODPortComponent* source,
                                         CODPortComponent* target, CODEndpoint* start,
                                         CODEndpoint* end)
{
    CODLinkCommand* command = new CODLinkCommand(GetODModel());
    if (path)
        command->SetPath(*path);
    command->SetSourcePort(source);
    command->SetTargetPort(target);
    CODComponent* link = command->CreateLink();
    if (CODLinkComponent* l = DYNAMIC_DOWNCAST(CODLinkComponent, link))
        if (l->GetLine()) {
            if (start)
                l->GetLine()->SetStartEndpoint(start);
            if (end)
                l->GetLine()->SetEndEndpoint(end);
        }
    command->AddComponent(link);
    return Run(this, GetODModel(), command, FALSE);
}

MvcCommandBase* CODController::OrderComponents(CODComponentSet* set, int order)
{
    CODOrderCommand* command = new CODOrderCommand(GetODModel(), order);
    command->AddComponents(set);
    return Run(this, GetODModel(), command, TRUE);
}

MvcCommandBase* CODController::MoveComponents(CODComponentSet* set, int dx, int dy)
{
    CODMoveCommand* command = new CODMoveCommand(GetODModel(), dx, dy);
    command->AddComponents(set);
    return Run(this, GetODModel(), command, TRUE);
}

MvcCommandBase* CODController::RotateComponents(CODComponentSet* set, int angle)
{
    CODRotateCommand* command = new CODRotateCommand(GetODModel(), angle);
    command->AddComponents(set);
    CSize aspect = m_pODViewport->GetAspectRatio();
    command->SetAspectRatio(aspect.cx, aspect.cy);
    return Run(this, GetODModel(), command, TRUE);
}

MvcCommandBase* CODController::ScaleComponents(CODComponentSet* set, float sx, float sy,
                                               int handle)
{
    CODScaleCommand* command = new CODScaleCommand(GetODModel(), sx, sy, handle);
    command->AddComponents(set);
    return Run(this, GetODModel(), command, TRUE);
}

MvcCommandBase* CODController::InsertVertex(CODComponent* component, int index, int x, int y)
{
    return Run(this, GetODModel(),
               new CODInsertVertexCommand(GetODModel(), component, index, x, y), TRUE);
}

MvcCommandBase* CODController::DeleteVertex(CODComponent* component, int index)
{
    return Run(this, GetODModel(), new CODDeleteVertexCommand(GetODModel(), component, index),
               TRUE);
}

MvcCommandBase* CODController::MoveVertex(CODComponent* component, int index, int dx, int dy)
{
    return Run(this, GetODModel(),
               new CODMoveVertexCommand(GetODModel(), component, index, dx, dy), TRUE);
}

MvcCommandBase* CODController::MovePort(CODPortComponent* port, int dx, int dy,
                                        CODPortComponent* target)
{
    CODMovePortCommand* command = new CODMovePortCommand(GetODModel(), dx, dy, target);
    command->AddComponent(port);
    return Run(this, GetODModel(), command, TRUE);
}

MvcCommandBase* CODController::ChangeText(CODComponentSet* set, LPCTSTR text)
{
    CODTextCommand* command = new CODTextCommand(GetODModel());
    command->AddComponents(set);
    command->SetText(text);
    {
        MvcClientDC dc(m_pODViewport, 1);
        command->SetMapping(&dc);
    }
    return Run(this, GetODModel(), command, TRUE);
}

MvcCommandBase* CODController::ChangeText(CODComponent* component, LPCTSTR text)
{
    CODComponentSet one;
    one.Add(component);
    return ChangeText(&one, text);
}

MvcCommandBase* CODController::AlignComponents(CODComponentSet* set, int alignment)
{
    CODAlignCommand* command = new CODAlignCommand(GetODModel(), alignment);
    command->AddComponents(set);
    return Run(this, GetODModel(), command, TRUE);
}

CODComponent* CODController::NewComponent()
{
    return new CODComponent;
}

// ---------------------------------------------------------------------------------------------
// Undo, redo, delete

void CODController::OnUndo()
{
    if (m_pEditing)
        EndTextEdit(0, 0, 0);
    OnCommandUnexecuted(GetODModel()->Undo());
}

void CODController::OnRedo()
{
    OnCommandExecuted(GetODModel()->Redo());
}

void CODController::OnDelete()
{
    if (m_pEditing && m_pEditing->IsEditing()) {
        m_pEditing->GetEditor()->SendMessage(WM_KEYDOWN, VK_DELETE, 0);
        return;
    }
    DeleteComponents(&m_selection);
}

void CODController::OnUpdateUndo(CCmdUI* ui) { ui->Enable(GetODModel()->PeekUndo() != NULL); }
void CODController::OnUpdateRedo(CCmdUI* ui) { ui->Enable(GetODModel()->PeekRedo() != NULL); }

// ---------------------------------------------------------------------------------------------
// Arrange

void CODController::RunOnMovable(int dx, int dy)
{
    m_dragSet.RemoveAll();
    GetMovableComponents(&m_selection, &m_dragSet);
    MoveComponents(&m_dragSet, dx, dy);
    m_dragSet.RemoveAll();
}

void CODController::RunRotation(int angle)
{
    m_dragSet.RemoveAll();
    GetRotatableComponents(&m_selection, &m_dragSet);
    RotateComponents(&m_dragSet, angle);
    m_dragSet.RemoveAll();
}

void CODController::RunFlip(float sx, float sy)
{
    m_dragSet.RemoveAll();
    GetRotatableComponents(&m_selection, &m_dragSet);
    ScaleComponents(&m_dragSet, sx, sy, 8);
    m_dragSet.RemoveAll();
}

void CODController::RunAlign(int kind)
{
    m_dragSet.RemoveAll();
    GetMovableComponents(&m_selection, &m_dragSet);
    AlignComponents(&m_dragSet, kind);
    m_dragSet.RemoveAll();
}

namespace {

int NudgeStep() { return ::GetKeyState(VK_SHIFT) < 0 ? 5 : 1; }

}  // namespace

void CODController::OnRotateLeft() { RunRotation(-900); }
void CODController::OnRotateRight() { RunRotation(900); }
void CODController::OnFlipHorizontal() { RunFlip(-1.0f, 1.0f); }
void CODController::OnFlipVertical() { RunFlip(1.0f, -1.0f); }
void CODController::OnNudgeUp() { RunOnMovable(0, -NudgeStep()); }
void CODController::OnNudgeDown() { RunOnMovable(0, NudgeStep()); }
void CODController::OnNudgeLeft() { RunOnMovable(-NudgeStep(), 0); }
void CODController::OnNudgeRight() { RunOnMovable(NudgeStep(), 0); }
void CODController::OnAlignTop() { RunAlign(0); }
void CODController::OnAlignMiddle() { RunAlign(1); }
void CODController::OnAlignBottom() { RunAlign(2); }
void CODController::OnAlignLeft() { RunAlign(3); }
void CODController::OnAlignCenter() { RunAlign(4); }
void CODController::OnAlignRight() { RunAlign(5); }
void CODController::OnBringToFront() { OrderComponents(&m_selection, 0); }
void CODController::OnSendToBack() { OrderComponents(&m_selection, 1); }
void CODController::OnBringForward() { OrderComponents(&m_selection, 2); }
void CODController::OnSendBackward() { OrderComponents(&m_selection, 3); }
void CODController::OnGroup() { GroupComponents(&m_selection); }
void CODController::OnUngroup() { UngroupComponents(&m_selection); }

void CODController::OnGrid()
{
    m_pODViewport->SetGridVisible(!m_pODViewport->IsGridVisible());
    m_pODViewport->Invalidate(TRUE, FALSE);
}

void CODController::OnSnapToGrid() { m_pODViewport->SetSnapToGrid(!m_pODViewport->IsSnapToGrid()); }
void CODController::OnAngleSnap() { m_pODViewport->SetAngleSnap(!m_pODViewport->IsAngleSnap()); }

void CODController::OnPageBounds()
{
    m_pODViewport->SetPageBoundsVisible(!m_pODViewport->IsPageBoundsVisible());
    m_pODViewport->Invalidate(TRUE, FALSE);
}

void CODController::OnPageSetup()
{
    CPageSetupDialog dialog(PSD_MARGINS, NULL);
    CODModel* model = GetODModel();
    model->GetPageSettings()->SetUnits(
        PageUnitsForMeasureUnit(m_pODViewport->GetCoordinateMapping()->GetUnits()));
    model->InitPageSetup(&dialog.m_psd);
    if (dialog.DoModal() != IDOK)
        return;
    model->ApplyPageSetup(&dialog.m_psd);
    model->GetPageSettings()->SelectPrinterInApp(AfxGetApp());
}

// ---------------------------------------------------------------------------------------------
// Update rules

BOOL CODController::SelectionAllows(Permission what)
{
    if (GetODModel()->GetOption() != 0)
        return m_selection.GetSize() > 0;
    CODEditProperties whole;
    GetODModel()->GetProperty(40, whole);
    BOOL modelAllows = what == permMove        ? whole.CanMove()
                       : what == permRotate    ? whole.CanRotate()
                       : what == permScale     ? whole.CanScale()
                                               : whole.CanEditProperties();
    if (!modelAllows)
        return FALSE;
    for (int i = 0; i < m_selection.GetSize(); ++i) {
        CODEditProperties own;
        m_selection[i]->GetProperty(40, own);
        BOOL allows = what == permMove        ? own.CanMove()
                      : what == permRotate    ? own.CanRotate()
                      : what == permScale     ? own.CanScale()
                                              : own.CanEditProperties();
        if (allows)
            return TRUE;
    }
    return FALSE;
}

void CODController::UpdateBySelectionPermission(CCmdUI* ui, Permission what)
{
    ui->Enable(SelectionAllows(what));
}

void CODController::OnUpdateCutCopy(CCmdUI* ui) { ui->Enable(m_selection.GetSize() > 0); }

void CODController::OnUpdateNeedSelection(CCmdUI* ui)
{
    ui->Enable(m_selection.GetSize() > 0 && (GetODModel()->GetOption() != 0 || !IsModelReadOnly()));
}

void CODController::OnUpdateGroup(CCmdUI* ui)
{
    ui->Enable(m_selection.GetSize() >= 2 && (GetODModel()->GetOption() != 0 || !IsModelReadOnly()));
}

void CODController::OnUpdateUngroup(CCmdUI* ui)
{
    CString groupType;
    groupType.LoadString(IDS_OD_GROUP);
    BOOL any = FALSE;
    for (int i = 0; i < m_selection.GetSize() && !any; ++i)
        any = m_selection[i]->GetType() == groupType && m_selection[i]->GetChildCount() > 0;
    ui->Enable(!IsModelReadOnly() && any);
}

void CODController::OnUpdateNudge(CCmdUI* ui) { UpdateBySelectionPermission(ui, permMove); }

void CODController::OnUpdateAlign(CCmdUI* ui)
{
    ui->Enable(m_selection.GetSize() >= 2 &&
               (GetODModel()->GetOption() != 0 || SelectionAllows(permMove)));
}

void CODController::OnUpdateRotateFlip(CCmdUI* ui) { UpdateBySelectionPermission(ui, permRotate); }

void CODController::OnUpdateProperties(CCmdUI* ui)
{
    UpdateBySelectionPermission(ui, permEditProperties);
}

void CODController::OnUpdateNeedTwo(CCmdUI* ui) { ui->Enable(m_selection.GetSize() >= 2); }
void CODController::OnUpdateScale(CCmdUI* ui) { UpdateBySelectionPermission(ui, permScale); }

void CODController::OnUpdateGrid(CCmdUI* ui)
{
    ui->Enable(TRUE);
    ui->SetCheck(m_pODViewport->IsGridVisible());
}

void CODController::OnUpdateSnapToGrid(CCmdUI* ui)
{
    ui->Enable(GetODModel()->GetOption() != 0 || !IsModelReadOnly());
    ui->SetCheck(m_pODViewport->IsSnapToGrid());
}

void CODController::OnUpdateAngleSnap(CCmdUI* ui)
{
    ui->Enable(GetODModel()->GetOption() != 0 || !IsModelReadOnly());
    ui->SetCheck(m_pODViewport->IsAngleSnap());
}

void CODController::OnUpdatePageBounds(CCmdUI* ui)
{
    ui->Enable(TRUE);
    ui->SetCheck(m_pODViewport->IsPageBoundsVisible());
}

// ---------------------------------------------------------------------------------------------
// Zoom commands

void CODController::SetZoomPercent(int percent)
{
    m_pODViewport->SetZoom(percent, percent);
    m_pODViewport->Invalidate(TRUE, FALSE);
}

void CODController::OnZoom50() { SetZoomPercent(50); }
void CODController::OnZoom75() { SetZoomPercent(75); }
void CODController::OnZoom100() { SetZoomPercent(100); }
void CODController::OnZoom200() { SetZoomPercent(200); }

void CODController::OnZoomToFit()
{
    m_pODViewport->ZoomToComponents(GetODModel()->GetChildren());
}

void CODController::OnZoomToSelection()
{
    m_pODViewport->ZoomToComponents(&m_selection);
}

namespace {

BOOL ZoomIs(CODViewport* viewport, int percent)
{
    return viewport->GetZoom() == CSize(percent, percent);
}

}  // namespace

void CODController::OnUpdateZoom50(CCmdUI* ui) { ui->SetCheck(ZoomIs(m_pODViewport, 50)); }
void CODController::OnUpdateZoom75(CCmdUI* ui) { ui->SetCheck(ZoomIs(m_pODViewport, 75)); }
void CODController::OnUpdateZoom100(CCmdUI* ui) { ui->SetCheck(ZoomIs(m_pODViewport, 100)); }
void CODController::OnUpdateZoom200(CCmdUI* ui) { ui->SetCheck(ZoomIs(m_pODViewport, 200)); }
void CODController::OnUpdateZoomNormal(CCmdUI* ui) { ui->Enable(!ZoomIs(m_pODViewport, 100)); }
void CODController::OnUpdateZoomCustom(CCmdUI* ui) { ui->Enable(TRUE); }

void CODController::OnUpdateZoomToFit(CCmdUI* ui)
{
    ui->Enable(GetODModel()->GetChildCount() > 0);
}

// ---------------------------------------------------------------------------------------------
// Clipboard

CSize CODController::GridStep(BOOL round)
{
    CODCoordinateMapping* mapping = m_pODViewport->GetCoordinateMapping();
    float h = 0.0f, v = 0.0f;
    mapping->MeasureToLogical(*m_pODViewport->GetHorizontalGridMeasure(), h, FALSE);
    mapping->MeasureToLogical(*m_pODViewport->GetVerticalGridMeasure(), v, TRUE);
    if (round)
        return CSize((int)(h + 0.5f), (int)(v + 0.5f));
    return CSize((int)h, (int)v);
}

namespace {

// The symbols among the components and their descendants.
void GatherSymbols(CODComponent* c, CCArray_T<CODSymbolComponent*, CODSymbolComponent*>& symbols)
{
    if (CODSymbolComponent* symbol = DYNAMIC_DOWNCAST(CODSymbolComponent, c))
        if (symbols.IndexOf(symbol) < 0)
            symbols.Add(symbol);
    for (int i = 0; i < c->GetChildCount(); ++i)
        GatherSymbols(c->GetChild(i), symbols);
}

// Takes the connections that leave the written components out of their symbols for the write
// and puts them back when it goes out of scope, whatever the write did.
class OutsideConnections
{
public:
    OutsideConnections(CODComponentSet& written)
    {
        CCArray_T<CODSymbolComponent*, CODSymbolComponent*> symbols;
        for (int i = 0; i < written.GetSize(); ++i)
            GatherSymbols(written[i], symbols);
        for (int i = 0; i < symbols.GetSize(); ++i) {
            CODSymbolComponent* symbol = symbols[i];
            CODConnectionArray connections;
            symbol->GetConnections(&connections);
            for (int n = 0; n < connections.GetSize(); ++n) {
                CODPortComponent* farEnd = symbol->GetConnectedPort(connections[n]);
                CODSymbolComponent* owner = CODSymbolComponent::OwnerOf(farEnd);
                if (owner == NULL || symbols.IndexOf(owner) < 0) {
                    symbol->RemoveConnectionEntry(connections[n]);
                    m_symbols.Add(symbol);
                    m_connections.Add(connections[n]);
                }
            }
        }
    }
    ~OutsideConnections()
    {
        for (int i = 0; i < m_symbols.GetSize(); ++i)
            m_symbols[i]->AddConnectionEntry(m_connections[i]);
    }

private:
    CCArray_T<CODSymbolComponent*, CODSymbolComponent*> m_symbols;
    CODConnectionArray m_connections;
};

void WriteList(CArchive& ar, CODComponentSet& list)
{
    ar << (LONG)list.GetSize();
    for (int i = 0; i < list.GetSize(); ++i)
        ar << static_cast<CObject*>(list[i]);
}

}  // namespace

// The components a copy holds (the set and the dependents the state asks for) and, as extras,
// the components joined to their symbols, so that the joins between them survive.
void CODController::GatherCopy(CODComponentSet* set, CODComponentSet& main, CODComponentSet& extra)
{
    if (set)
        main.Append(*set);
    for (int i = 0; set && i < set->GetSize(); ++i) {
        CODComponent* c = (*set)[i];
        if (m_nState == 4 || m_nState == 5)
            c->CollectRotateDependents(&main);
        else if (m_nState == 6 || m_nState == 7)
            c->CollectMoveDependents(&main);
        else if (m_nState == 8 || m_nState == 9)
            c->CollectScaleDependents(&main);
    }
    for (int i = 0; i < main.GetSize(); ++i)
        if (CODSymbolComponent* symbol = DYNAMIC_DOWNCAST(CODSymbolComponent, main[i]))
            symbol->CollectFollowers(&extra);
    for (int i = 0; i < main.GetSize(); ++i)
        extra.Remove(main[i]);
}

// The extras are written first; joins to anything beyond both lists are left out of the stream.
void CODController::SerializeSelection(CArchive& ar, CODComponentSet* set)
{
    CODComponentSet main, extra;
    GatherCopy(set, main, extra);
    CODComponentSet written;
    written.Append(extra);
    written.Append(main);
    OutsideConnections outside(written);
    WriteList(ar, extra);
    WriteList(ar, main);
}

void CODController::ReadSelection(CArchive& ar, CODComponentSet* result, CODComponentSet* extra)
{
    CODComponentSet* targets[2] = {extra, result};
    for (CODComponentSet* target : targets) {
        LONG count;
        ar >> count;
        // Clipboard data may come from any program: the count must fit in what is there.
        if (count < 0)
            AfxThrowArchiveException(CArchiveException::badIndex);
        AfxCheckStoredCount(ar, (DWORD)count, 4);
        for (LONG i = 0; i < count; ++i) {
            CObject* object = ar.ReadObject(NULL);
            CODComponent* c = DYNAMIC_DOWNCAST(CODComponent, object);
            if (c == NULL) {
                delete object;
                AfxThrowArchiveException(CArchiveException::badClass);
            }
            c->AddRef();
            c->UpdateRegion(FALSE);
            target->Add(c);
        }
    }
}

void CODController::CopyToClipboard(CODComponentSet* set)
{
    if (set == NULL || set->GetSize() == 0)
        return;
    CSharedFile file(GMEM_MOVEABLE | GMEM_SHARE, 4096);
    {
        CArchive ar(&file, CArchive::store, 4096);
        SerializeSelection(ar, set);
        ar.Close();
    }
    HGLOBAL block = file.Detach();
    if (block == NULL)
        return;
    if (!::OpenClipboard(m_pWnd ? m_pWnd->GetSafeHwnd() : NULL)) {
        ::GlobalFree(block);
        AfxMessageBox("The drawing could not be copied to the clipboard.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (::SetClipboardData(m_cfPrivate, block) == NULL) {
        ::GlobalFree(block);
        ::CloseClipboard();
        AfxMessageBox("The drawing could not be copied to the clipboard.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ::CloseClipboard();
}

namespace {

void ReleaseAll(CODComponentSet& set)
{
    for (int i = 0; i < set.GetSize(); ++i)
        set[i]->Release();
    set.RemoveAll();
}

}  // namespace

void CODController::PasteFromClipboard(CODComponentSet* set)
{
    if (set == NULL)
        return;
    HGLOBAL copy = NULL;
    if (::OpenClipboard(m_pWnd ? m_pWnd->GetSafeHwnd() : NULL)) {
        HANDLE data = ::GetClipboardData(m_cfPrivate);
        if (data) {
            SIZE_T size = ::GlobalSize(data);
            copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
            void* to = copy ? ::GlobalLock(copy) : NULL;
            void* from = ::GlobalLock(data);
            if (to && from)
                memcpy(to, from, size);
            if (from)
                ::GlobalUnlock(data);
            if (to)
                ::GlobalUnlock(copy);
        }
        ::CloseClipboard();
    }
    if (copy == NULL)
        return;
    CSharedFile file;
    file.SetHandle(copy, FALSE);
    CODComponentSet read, extra;
    try {
        CArchive ar(&file, CArchive::load, 4096);
        ReadSelection(ar, &read, &extra);
        ar.Close();
    } catch (CException* e) {
        e->Delete();
        ReleaseAll(read);
        ReleaseAll(extra);
        AfxMessageBox("The clipboard does not hold a drawing that can be pasted.",
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // The extras only carried the joins among the pasted components: the pasted symbols let
    // go of them.
    for (int i = 0; i < extra.GetSize(); ++i)
        for (int n = 0; n < read.GetSize(); ++n)
            if (CODSymbolComponent* symbol = DYNAMIC_DOWNCAST(CODSymbolComponent, read[n]))
                symbol->DisconnectFrom(extra[i]);
    ReleaseAll(extra);
    set->Append(read);
}

void CODController::OnCopy()
{
    CopyToClipboard(&m_selection);
    CRect all(0, 0, 0, 0);
    for (int i = 0; i < m_selection.GetSize(); ++i)
        all = UnionRects(all, CRect(m_selection[i]->GetOrigin(), m_selection[i]->GetSize()));
    CSize step = GridStep(FALSE);
    m_pODViewport->SetPastePosition(all.left + step.cx, all.top + step.cy);
}

void CODController::OnCut()
{
    CopyToClipboard(&m_selection);
    CODComponentSet cut;
    cut.Append(m_selection);
    DeleteComponents(&cut);
    m_pODViewport->SetPastePosition(0, 0);
}

void CODController::OnUpdatePaste(CCmdUI* ui)
{
    ui->Enable((GetODModel()->GetOption() != 0 || !IsModelReadOnly()) &&
               ::IsClipboardFormatAvailable(m_cfPrivate));
}

void CODController::OnPaste()
{
    CODComponentSet pasted;
    PasteFromClipboard(&pasted);
    if (pasted.GetSize() == 0)
        return;
    CODComponentSet all;
    for (int i = 0; i < pasted.GetSize(); ++i) {
        if (all.IndexOf(pasted[i]) >= 0)
            continue;
        all.Add(pasted[i]);
        pasted[i]->AddRef();
        CODComponentSet dependents;
        pasted[i]->CollectMoveDependents(&dependents);
        for (int n = 0; n < dependents.GetSize(); ++n)
            if (all.IndexOf(dependents[n]) < 0) {
                all.Add(dependents[n]);
                dependents[n]->AddRef();
            }
    }
    CRect r(0, 0, 0, 0);
    for (int i = 0; i < all.GetSize(); ++i)
        r = UnionRects(r, CRect(all[i]->GetOrigin(), all[i]->GetSize()));
    CPoint at = m_pODViewport->GetPastePosition();
    int dx = at.x - r.left, dy = at.y - r.top;
    if (dx >= -4 && dx <= 4 && dy >= -4 && dy <= 4)
        dx = dy = 5;
    GetODModel()->ConstrainOffset(&all, &dx, &dy, &r);
    for (int i = 0; i < all.GetSize(); ++i) {
        CODComponent* c = all[i];
        CODTransform move;
        move.Translate(dx, dy);
        if (c->GetTransform())
            c->SetTransform(new CODTransform(move * *c->GetTransform()));
        else
            c->SetTransform(new CODTransform(move));
        c->UpdateRegion(FALSE);
    }
    r.OffsetRect(dx, dy);
    CRect visible = m_pODViewport->GetLogicalRect();
    int sx = r.right > visible.right ? r.right - visible.right : 0;
    int sy = r.bottom > visible.bottom ? r.bottom - visible.bottom : 0;
    if (sx || sy) {
        m_pODViewport->ScrollBy(sx, sy);
        m_pODViewport->Invalidate(TRUE, FALSE);
    }
    InsertComponents(&pasted);
    ReleaseAll(all);
    ReleaseAll(pasted);
    CSize step = GridStep(TRUE);
    m_pODViewport->SetPastePosition(at.x + step.cx, at.y + step.cy);
}

// ---------------------------------------------------------------------------------------------
// OLE drag and drop

void CODController::CreateDropTarget()
{
    delete m_pDropTarget;
    m_pDropTarget = new CODDropTarget;
    m_pDropTarget->RegisterViewport(m_pODViewport);
}

void CODController::StartDragDrop()
{
    m_dragSet.RemoveAll();
    GetMovableComponents(&m_selection, &m_dragSet);
    CSharedFile file(GMEM_MOVEABLE | GMEM_SHARE, 4096);
    {
        CArchive ar(&file, CArchive::store, 4096);
        ar << (LONG)m_ptPressLP.x << (LONG)m_ptPressLP.y;
        const int state = m_nState;
        m_nState = 7;
        try {
            SerializeSelection(ar, &m_dragSet);
        } catch (...) {
            m_nState = state;
            throw;
        }
        m_nState = state;
        ar.Close();
    }
    CODComponentSet dragged;
    dragged.Append(m_dragSet);
    COleDataSource source;
    source.CacheGlobalData((CLIPFORMAT)m_cfPrivate, file.Detach());
    CODDropSource dropSource;
    CODModel* model = GetODModel();
    model->SetDragSource(TRUE);
    DROPEFFECT effect = source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_SCROLL,
                                          NULL, &dropSource);
    model->SetDragSource(FALSE);
    if (effect == DROPEFFECT_NONE)
        OnButtonUpNoDrag(0, 0, 0);
    else if (effect == DROPEFFECT_MOVE && !model->IsDroppedOnSelf())
        DeleteComponents(&dragged);
    model->SetDroppedOnSelf(FALSE);
    m_dragSet.RemoveAll();
}

// ---------------------------------------------------------------------------------------------
// Export

BOOL CODController::PromptExportFile(CString& path, int* filterIndex, UINT titleId, UINT filterId)
{
    CString title, filter;
    title.LoadString(titleId);
    filter.LoadString(filterId);
    CFileDialog dialog(FALSE, NULL, NULL, OFN_OVERWRITEPROMPT, filter, m_pWnd);
    dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    path = dialog.GetPathName();
    *filterIndex = (int)dialog.m_ofn.nFilterIndex;
    if (dialog.GetFileExt().IsEmpty())
        path += *filterIndex == 2 ? ".emf" : ".bmp";
    return TRUE;
}

BOOL CODController::ExportBitmap(LPCTSTR path)
{
    if (m_pODViewport == NULL)
        return FALSE;
    SECDib dib;
    if (!m_pODViewport->ExportBitmap(&dib, NULL))
        return FALSE;
    return dib.SaveImage(path);
}

BOOL CODController::ExportMetafile(LPCTSTR path)
{
    if (m_pODViewport == NULL)
        return FALSE;
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite))
        return FALSE;
    BOOL done = FALSE;
    try {
        done = m_pODViewport->ExportMetafile(&file, NULL);
        file.Close();
    } catch (CException* e) {
        e->Delete();
        file.Abort();
        done = FALSE;
    }
    return done;
}

void CODController::OnExport()
{
    CString path;
    int filter = 1;
    if (!PromptExportFile(path, &filter, IDS_OD_EXPORT_TITLE, IDS_OD_EXPORT_FILTER))
        return;
    BOOL done = filter == 2 ? ExportMetafile(path) : ExportBitmap(path);
    if (!done) {
        // A half-written file is no drawing: take it away and say so.
        ::DeleteFile(path);
        CString text;
        text.Format("The drawing could not be exported to \"%s\".", (LPCTSTR)path);
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    }
}

// ---------------------------------------------------------------------------------------------
// Sheets and dialogs

void CODController::OnProperties()
{
    CODModel* model = GetODModel();
    UINT caption = model->CanEditProperties() ? 22105 : 22104;
    CODCompPropSheet sheet(&m_selection, m_pODViewport, caption);
    sheet.DoModal();
    m_pODViewport->Invalidate(TRUE, FALSE);
}

void CODController::OnDefaultProperties()
{
    CODModel* model = GetODModel();
    UINT caption = model->CanEditProperties() ? 22078 : 22077;
    CODDefPropSheet sheet(m_pODViewport->GetDefaultProperties(), m_pODViewport, caption);
    sheet.DoModal();
}
void CODController::OnComponents()
{
    CODComponentsDlg dialog;
    dialog.SetModel(GetODModel());
    dialog.SetViewport(m_pODViewport);
    if (CODModel* model = GetODModel())
        dialog.SetComponents(model->GetChildren());
    dialog.DoModal();
}
void CODController::OnMeasurementsAndSize()
{
    CODModel* model = GetODModel();
    if (model == NULL)
        return;
    CODCoordinateMapping* mapping = m_pODViewport->GetCoordinateMapping();
    CODMeasurePropSheet sheet(IDS_OD_MEASUREMENTS, m_pWnd, 0, 0);
    sheet.SetMeasureUnits(mapping->GetUnits());
    sheet.SetMappingMode(m_pODViewport->GetMapMode());
    sheet.SetPhysicalExtents(m_pODViewport->GetDeviceExtents());
    sheet.SetLogicalExtents(m_pODViewport->GetLogicalExtents());
    CODMeasure drawn, real;
    mapping->GetScale(drawn, real);
    sheet.SetScale(drawn, real);
    sheet.SetCanvasSize(model->GetSize());
    if (sheet.DoModal() != IDOK)
        return;
    mapping->SetUnits(sheet.GetMeasureUnits());
    m_pODViewport->SetMapMode(sheet.GetMappingMode());
    const CSize physical = sheet.GetPhysicalExtents(), logical = sheet.GetLogicalExtents();
    m_pODViewport->SetExtents(0, logical.cx, physical.cx);
    m_pODViewport->SetExtents(1, logical.cy, physical.cy);
    sheet.GetScale(drawn, real);
    mapping->SetScale(drawn, real);
    model->SetSize(sheet.GetCanvasSize());
    m_pODViewport->InvalidateAll();
}
void CODController::OnGridProperties()
{
    CODCoordinateMapping* mapping = m_pODViewport->GetCoordinateMapping();
    const WORD unit = mapping->GetUnits();
    CODGridDlg dialog(m_pWnd);
    dialog.SetUnits(unit);
    dialog.SetGridVisible(m_pODViewport->IsGridVisible());
    dialog.SetSnapToGrid(m_pODViewport->IsSnapToGrid());
    dialog.SetAngleSnap(m_pODViewport->IsAngleSnap());
    dialog.SetVerticalSpacing(CODMeasure(unit, *m_pODViewport->GetVerticalGridMeasure()).GetValue());
    dialog.SetHorizontalSpacing(CODMeasure(unit, *m_pODViewport->GetHorizontalGridMeasure()).GetValue());
    dialog.SetGridColor(m_pODViewport->GetGridColor());
    dialog.SetMinSpacing(m_pODViewport->GetMinGridSpacing());
    dialog.SetMaxSpacing(m_pODViewport->GetMaxGridSpacing());
    if (dialog.DoModal() != IDOK)
        return;
    m_pODViewport->SetGridVisible(dialog.GetGridVisible());
    m_pODViewport->SetSnapToGrid(dialog.GetSnapToGrid());
    m_pODViewport->SetAngleSnap(dialog.GetAngleSnap());
    m_pODViewport->SetVerticalGridSpacing(dialog.GetVerticalSpacing());
    m_pODViewport->SetHorizontalGridSpacing(dialog.GetHorizontalSpacing());
    m_pODViewport->SetGridColor(dialog.GetGridColor());
    m_pODViewport->InvalidateAll();
}

void CODController::OnZoomCustom()
{
    CODZoomDlg dialog(m_pWnd);
    dialog.m_nZoom = m_pODViewport->GetZoom().cx;
    m_pODViewport->GetZoomLimits(&dialog.m_nMinZoom, &dialog.m_nMaxZoom);
    if (dialog.DoModal() != IDOK)
        return;
    m_pODViewport->SetZoom(dialog.m_nZoom, dialog.m_nZoom);
    m_pODViewport->InvalidateAll();
}
