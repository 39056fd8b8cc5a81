#include "ODDropTarget.h"
#include "ODController.h"
#include "ODGeometry.h"
#include "ODViewport.h"

CODDropTarget::CODDropTarget()
    : m_pViewport(NULL), m_ptOrigin(0, 0), m_ptLast(0, 0), m_rcDragged(0, 0, 0, 0),
      m_dwLastKeyState(0), m_bFeedback(TRUE), m_nLastDx(0), m_nLastDy(0)
{
}

CODDropTarget::~CODDropTarget()
{
    ReleaseDragData();
}

BOOL CODDropTarget::RegisterViewport(CODViewport* viewport)
{
    m_pViewport = viewport;
    CODController* controller = GetController();
    if (controller == NULL || controller->GetWnd() == NULL)
        return FALSE;
    return Register(controller->GetWnd());
}

CODModel* CODDropTarget::GetModel()
{
    return m_pViewport ? m_pViewport->GetODModel() : NULL;
}

CODController* CODDropTarget::GetController()
{
    return m_pViewport ? DYNAMIC_DOWNCAST(CODController, m_pViewport->GetController()) : NULL;
}

UINT CODDropTarget::GetClipboardFormat()
{
    return GetController() ? GetController()->GetClipboardFormat() : 0;
}

BOOL CODDropTarget::IsDragSource()
{
    return GetModel() ? GetModel()->IsDragSource() : FALSE;
}

void CODDropTarget::ReleaseDragData()
{
    m_tracker.Clear();
    for (int i = 0; i < m_dragged.GetSize(); ++i)
        m_dragged[i]->Release();
    for (int i = 0; i < m_linked.GetSize(); ++i)
        m_linked[i]->Release();
    m_dragged.RemoveAll();
    m_linked.RemoveAll();
}

void CODDropTarget::FindOriginals(CODComponentSet* out)
{
    out->RemoveAll();
    CODModel* model = GetModel();
    for (int i = 0; model && i < m_dragged.GetSize(); ++i)
        if (CODComponent* own = model->FindById(m_dragged[i]->GetId()))
            out->Add(own);
}

// Counts in data any program may offer under the format must fit in the bytes there.
void CODDropTarget::SerializeComponents(CArchive& ar, CODComponentSet* set)
{
    if (ar.IsStoring()) {
        ar << (LONG)set->GetSize();
        for (int i = 0; i < set->GetSize(); ++i)
            ar << static_cast<CObject*>((*set)[i]);
        return;
    }
    LONG count;
    ar >> count;
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
        set->Add(c);
        c->UpdateRegion(FALSE);
    }
}

DROPEFFECT CODDropTarget::OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point)
{
    CODModel* model = GetModel();
    if (model == NULL)
        return DROPEFFECT_NONE;
    model->SetDroppedOnSelf(FALSE);
    const CLIPFORMAT format = (CLIPFORMAT)GetClipboardFormat();
    if (format == 0 || !data->IsDataAvailable(format))
        return DROPEFFECT_NONE;
    ReleaseDragData();
    CFile* file = data->GetFileData(format);
    if (file == NULL)
        return DROPEFFECT_NONE;
    BOOL read = TRUE;
    try {
        CArchive ar(file, CArchive::load, 4096);
        LONG x, y;
        ar >> x >> y;
        m_ptOrigin = CPoint(x, y);
        SerializeComponents(ar, &m_linked);
        SerializeComponents(ar, &m_dragged);
        ar.Close();
    } catch (CException* e) {
        e->Delete();
        read = FALSE;
    }
    delete file;
    if (!read) {
        ReleaseDragData();
        return DROPEFFECT_NONE;
    }
    m_tracker.SetComponents(&m_dragged);
    m_tracker.SetExtraComponents(&m_linked);
    m_rcDragged.SetRectEmpty();
    for (int i = 0; i < m_dragged.GetSize(); ++i)
        m_rcDragged = UnionRects(m_rcDragged,
                                 CRect(m_dragged[i]->GetOrigin(), m_dragged[i]->GetSize()));
    m_rcDragged.NormalizeRect();
    int dx = 0, dy = 0;
    if (m_dragged.GetSize() > 0 && model->FitOffsetToExtent(&m_dragged, &dx, &dy, &m_rcDragged)) {
        m_nLastDx = m_nLastDy = 0;
        m_bFeedback = FALSE;
        return OnDragOver(wnd, data, keyState, point);
    }
    model->SetDroppedOnSelf(FALSE);
    ReleaseDragData();
    return DROPEFFECT_NONE;
}

DROPEFFECT CODDropTarget::OnDragOver(CWnd*, COleDataObject* data, DWORD keyState, CPoint point)
{
    const CLIPFORMAT format = (CLIPFORMAT)GetClipboardFormat();
    CODController* controller = GetController();
    CODModel* model = GetModel();
    if (controller == NULL || format == 0 || !data->IsDataAvailable(format) ||
        m_dragged.GetSize() == 0)
        return DROPEFFECT_NONE;
    CPoint lp = point;
    controller->DPtoLP(&lp);
    int dx = lp.x - m_ptOrigin.x, dy = lp.y - m_ptOrigin.y;
    if (!model->FitOffsetToExtent(&m_dragged, &dx, &dy, &m_rcDragged)) {
        ReleaseDragData();
        model->SetDroppedOnSelf(FALSE);
        return DROPEFFECT_NONE;
    }
    const DROPEFFECT effect = (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    if (m_bFeedback && point == m_ptLast && keyState == m_dwLastKeyState)
        return effect;
    m_ptLast = point;
    m_dwLastKeyState = keyState;
    if (keyState & MK_SHIFT) {
        if (abs(dy) < abs(dx))
            dy = 0;
        else
            dx = 0;
    }
    if (m_pViewport->IsSnapToGrid()) {
        CPoint ref = m_tracker.GetReferencePoint() + CSize(dx, dy);
        CPoint snapped = m_pViewport->SnapToGrid(ref.x, ref.y);
        dx += snapped.x - ref.x;
        dy += snapped.y - ref.y;
    }
    if (m_bFeedback && dx == m_nLastDx && dy == m_nLastDy)
        return effect;
    if (m_bFeedback)
        m_pViewport->EraseTracker(&m_tracker);
    if (m_pViewport->TrackMove(&m_tracker, dx, dy)) {
        m_nLastDx = dx;
        m_nLastDy = dy;
    } else
        m_pViewport->EraseTracker(&m_tracker);
    m_bFeedback = TRUE;
    return effect;
}

DROPEFFECT CODDropTarget::OnDragScroll(CWnd*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

void CODDropTarget::OnDragLeave(CWnd*)
{
    if (m_bFeedback && m_pViewport && m_tracker.GetDrawCount())
        m_pViewport->EraseTracker(&m_tracker);
    ReleaseDragData();
}

BOOL CODDropTarget::OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint)
{
    try {
        CODController* controller = GetController();
        CODModel* model = GetModel();
        const CLIPFORMAT format = (CLIPFORMAT)GetClipboardFormat();
        if (controller == NULL || format == 0 || !data->IsDataAvailable(format))
            return FALSE;
        model->SetDroppedOnSelf(TRUE);
        if (m_tracker.GetDrawCount())
            m_pViewport->EraseTracker(&m_tracker);
        if ((effect & DROPEFFECT_COPY) && !(effect & DROPEFFECT_MOVE)) {
            controller->InsertComponents(&m_dragged);
        } else if (effect & DROPEFFECT_MOVE) {
            if (IsDragSource()) {
                CODComponentSet originals;
                FindOriginals(&originals);
                controller->MoveComponents(&originals, m_nLastDx, m_nLastDy);
            } else {
                for (int i = 0; i < m_dragged.GetSize(); ++i)
                    m_dragged[i]->UpdateRegion(FALSE);
                controller->InsertComponents(&m_dragged);
            }
        } else
            return FALSE;
        ReleaseDragData();
        return TRUE;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return FALSE;
}

SCODE CODDropSource::GiveFeedback(DROPEFFECT effect)
{
    HMODULE module = AfxGetResourceHandle();
    if (effect == DROPEFFECT_MOVE || effect == DROPEFFECT_COPY) {
        UINT id = effect == DROPEFFECT_MOVE ? IDC_OD_MOVING : IDC_OD_DRAG_COPY;
        HCURSOR cursor = ::LoadCursor(module, MAKEINTRESOURCE(id));
        if (cursor == NULL)
            cursor = ::LoadCursor(::GetModuleHandle(NULL), MAKEINTRESOURCE(id));
        ::SetCursor(cursor);
        return S_OK;
    }
    return DRAGDROP_S_USEDEFAULTCURSORS;
}
