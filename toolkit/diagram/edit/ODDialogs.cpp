#include "ODDialogs.h"
#include <afxdlgs.h>

CODZoomDlg::CODZoomDlg(CWnd* parent)
    : CDialog(22038, parent), m_nZoom(100), m_nMinZoom(2), m_nMaxZoom(400)
{
}

CODZoomDlg::CODZoomDlg(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent), m_nZoom(100), m_nMinZoom(2), m_nMaxZoom(400)
{
}

void CODZoomDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 1109, m_nZoom);
    DDV_MinMaxInt(pDX, m_nZoom, m_nMinZoom, m_nMaxZoom);
}

// ---------------------------------------------------------------------------------------------

CODGridDlg::CODGridDlg(CWnd* parent)
    : CDialog(22026, parent), m_bGridVisible(FALSE), m_bSnapToGrid(FALSE), m_bAngleSnap(FALSE),
      m_fHorizontal(0), m_fVertical(0), m_nUnits(0), m_minSpacing(0, 0.01f),
      m_maxSpacing(0, 12.0f)
{
}

void CODGridDlg::SetUnits(WORD unit)
{
    if (!CODMeasure::IsValidUnit(unit))
        return;
    m_nUnits = unit;
    m_minSpacing = CODMeasure(unit, m_minSpacing);
    m_maxSpacing = CODMeasure(unit, m_maxSpacing);
}

BOOL CODGridDlg::OnInitDialog()
{
    m_well.BindDialogItem(idColor, this);
    CDialog::OnInitDialog();
    CString name;
    name.LoadString(CODMeasure::GetUnitStringId(m_nUnits));
    SetDlgItemText(idUnit1, name);
    SetDlgItemText(idUnit2, name);
    return TRUE;
}

void CODGridDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, idVisible, m_bGridVisible);
    DDX_Check(pDX, idSnap, m_bSnapToGrid);
    DDX_Check(pDX, idAngleSnap, m_bAngleSnap);
    DDX_Text(pDX, idVertical, m_fVertical);
    DDV_MinMaxFloat(pDX, m_fVertical, m_minSpacing.GetValue(), m_maxSpacing.GetValue());
    DDX_Text(pDX, idHorizontal, m_fHorizontal);
    DDV_MinMaxFloat(pDX, m_fHorizontal, m_minSpacing.GetValue(), m_maxSpacing.GetValue());
}

// ---------------------------------------------------------------------------------------------
// The Components dialog

#include "ODClosedShapes.h"
#include "ODCommands.h"
#include "ODMetafileComponent.h"
#include "ODModel.h"
#include "ODPropSheet.h"
#include "ODTextComponent.h"
#include "ODViewport.h"

namespace {

// The icon of each kind, the first kind a component is of winning: a closed curve before a
// curve, a label (a text) the text's. Links, symbols, images and ports have no class here yet.
struct KindIcon {
    CRuntimeClass* kind;
    UINT bitmap;
};

const KindIcon kKinds[] = {
    {RUNTIME_CLASS(CODRectComponent), 22010},    {RUNTIME_CLASS(CODEllipseComponent), 22004},
    {RUNTIME_CLASS(CODTextComponent), 22012},    {RUNTIME_CLASS(CODPolygonComponent), 22008},
    {RUNTIME_CLASS(CODLineComponent), 22006},    {RUNTIME_CLASS(CODClosedCurveComponent), 22002},
    {RUNTIME_CLASS(CODCurveComponent), 22003},
};

}  // namespace

CODComponentListBox::CODComponentListBox() : CODSampleListBox(0)
{
    for (int i = 0; i < iconCount; ++i)
        if (m_icons[i].LoadBitmap(22002 + i))
            CreateBitmapMask(m_icons[i], m_masks[i]);
}

int CODComponentListBox::AddComponentItem(CODComponent* component)
{
    const int index = AddString("");
    if (index >= 0)
        SetItemDataPtr(index, component);
    return index;
}

int CODComponentListBox::GetSelectedComponents(CODComponentSet* components, BOOL remove)
{
    const int count = GetSelCount();
    if (count <= 0)
        return 0;
    CArray<int, int> selected;
    selected.SetSize(count);
    GetSelItems(count, selected.GetData());
    int added = 0;
    for (int i = 0; i < count; ++i) {
        void* data = GetItemDataPtr(selected[i]);
        if (data != NULL && data != (void*)-1) {
            components->Add((CODComponent*)data);
            ++added;
        }
    }
    if (remove)
        for (int i = count - 1; i >= 0; --i)
            DeleteString(selected[i]);
    return added;
}

void CODComponentListBox::GetTypeBitmaps(CODComponent* component, CBitmap*& icon, CBitmap*& mask)
{
    for (const KindIcon& k : kKinds)
        if (component->IsKindOf(k.kind)) {
            icon = &m_icons[k.bitmap - 22002];
            mask = &m_masks[k.bitmap - 22002];
            return;
        }
}

CString CODComponentListBox::ItemText(UINT item) const
{
    CODComponent* c = (CODComponent*)GetItemDataPtr(item);
    if (c == NULL || c == (void*)-1)
        return CString();
    return c->GetName() + " (" + c->GetType() + ")";
}

void CODComponentListBox::DrawSample(CDC* dc, const CRect& item)
{
    CODComponent* c = (CODComponent*)GetItemDataPtr(m_nSampleItem);
    CBitmap* icon = NULL;
    CBitmap* mask = NULL;
    if (c != NULL && c != (void*)-1)
        GetTypeBitmaps(c, icon, mask);
    if (icon && mask)
        DrawTransparentBitmap(dc, item.left, item.top + (item.Height() - 12) / 2, *icon, *mask);
}

CODComponentsDlg::CODComponentsDlg(CWnd* parent)
    : CDialog(22017, parent), m_pModel(NULL), m_pViewport(NULL), m_bInitialised(FALSE)
{
}

BEGIN_MESSAGE_MAP(CODComponentsDlg, CDialog)
    ON_WM_SIZE()
    ON_WM_SIZING()
    ON_BN_CLICKED(CODComponentsDlg::idGoTo, OnGoTo)
    ON_BN_CLICKED(CODComponentsDlg::idProperties, OnProperties)
    ON_BN_CLICKED(CODComponentsDlg::idDelete, OnDelete)
END_MESSAGE_MAP()

void CODComponentsDlg::SetModel(CODModel* model)
{
    if (model == NULL)
        return;
    m_pModel = model;
    if (GetSafeHwnd())
        EnableButtons();
}

void CODComponentsDlg::SetViewport(CODViewport* viewport)
{
    if (viewport == NULL)
        return;
    m_pViewport = viewport;
    if (GetSafeHwnd())
        EnableButtons();
}

void CODComponentsDlg::SetComponents(CODComponentSet* components)
{
    if (components == NULL)
        return;
    m_components.RemoveAll();
    m_components.Append(*components);
}

void CODComponentsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, idList, m_list);
}

BOOL CODComponentsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_bInitialised = TRUE;
    CRect client;
    GetClientRect(&client);
    Layout(client.Width(), client.Height());
    for (int i = 0; i < m_components.GetSize(); ++i)
        m_list.AddComponentItem(m_components[i]);
    if (m_list.GetCount() > 0)
        m_list.SetSel(0, TRUE);
    EnableButtons();
    Invalidate();
    return TRUE;
}

// Go To needs a viewport, Properties and Delete a model, and all three something listed.
void CODComponentsDlg::EnableButtons()
{
    const BOOL any = m_list.GetSafeHwnd() && m_list.GetCount() > 0;
    if (CWnd* w = GetDlgItem(idGoTo))
        w->EnableWindow(any && m_pViewport != NULL);
    if (CWnd* w = GetDlgItem(idProperties))
        w->EnableWindow(any && m_pModel != NULL);
    if (CWnd* w = GetDlgItem(idDelete))
        w->EnableWindow(any && m_pModel != NULL);
}

void CODComponentsDlg::Layout(int cx, int cy)
{
    const int bx = LOWORD(::GetDialogBaseUnits()), by = HIWORD(::GetDialogBaseUnits());
    const int width = bx * 10, g = (by * 3) / 2, x = cx - bx / 3 - bx * 10;
    const struct {
        UINT id;
        int y;
    } buttons[] = {{IDOK, by / 4},
                   {idGoTo, g + by / 2},
                   {idProperties, (by * 3) / 4 + 2 * g},
                   {idDelete, by + 3 * g}};
    for (const auto& b : buttons)
        if (CWnd* w = GetDlgItem(b.id))
            w->SetWindowPos(NULL, x, b.y, width, g, SWP_NOZORDER | SWP_NOACTIVATE);
    if (CWnd* list = GetDlgItem(idList))
        list->SetWindowPos(NULL, bx / 3, by / 4, cx - bx * 11, cy - by / 2,
                           SWP_NOZORDER | SWP_NOACTIVATE);
}

void CODComponentsDlg::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (m_bInitialised)
        Layout(cx, cy);
}

void CODComponentsDlg::OnSizing(UINT edge, LPRECT rect)
{
    CDialog::OnSizing(edge, rect);
    const int bx = LOWORD(::GetDialogBaseUnits()), by = HIWORD(::GetDialogBaseUnits());
    if (rect->right - rect->left < bx * 30) {
        if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
            rect->left = rect->right - bx * 30;
        else
            rect->right = rect->left + bx * 30;
    }
    if (rect->bottom - rect->top < by * 10) {
        if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
            rect->top = rect->bottom - by * 10;
        else
            rect->bottom = rect->top + by * 10;
    }
}

// With nothing selected the buttons do nothing (an empty Delete would enter the history).
void CODComponentsDlg::OnGoTo()
{
    CODComponentSet selected;
    if (m_list.GetSelectedComponents(&selected, FALSE) > 0 && m_pViewport)
        m_pViewport->EnsureVisible(&selected);
}

void CODComponentsDlg::OnProperties()
{
    CODComponentSet selected;
    if (m_list.GetSelectedComponents(&selected, FALSE) == 0 || m_pModel == NULL)
        return;
    CString caption;
    caption.LoadString(22133);
    CODCompPropSheet sheet(&selected, m_pViewport, caption);
    sheet.DoModal();
    m_list.Invalidate();
}

void CODComponentsDlg::OnDelete()
{
    CODComponentSet selected;
    if (m_list.GetSelectedComponents(&selected, TRUE) == 0)
        return;
    EnableButtons();
    if (m_pModel) {
        CODDeleteCommand* command = new CODDeleteCommand(m_pModel);
        command->AddComponents(&selected);
        m_pModel->Do(command);
    }
}
