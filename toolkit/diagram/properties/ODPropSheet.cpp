#include "ODPropSheet.h"
#include "ODCommands.h"
#include "ODEditProperties.h"
#include "ODFillProperties.h"
#include "ODFontProperties.h"
#include "ODLineProperties.h"
#include "ODMeasure.h"
#include "ODModel.h"
#include "ODOrientationProperties.h"
#include "ODTextComponent.h"
#include "ODViewport.h"
#include "diagram_res.h"

// ---------------------------------------------------------------------------------------------
// Pages: the members of a page's record, which each page shows in the controls of its template.

CODCompPropPage::CODCompPropPage(UINT templateId, int count)
    : CPropertyPage(templateId), m_nFields(count), m_bEnabled(TRUE),
      m_bShowing(FALSE)
{
    m_values.SetSize(count);
    m_same.SetSize(count);
    m_changed.SetSize(count);
    for (int i = 0; i < count; ++i)
        m_same[i] = TRUE, m_changed[i] = FALSE;
}

CODGeneralCompPP::CODGeneralCompPP() : CODCompPropPage(22021, 5)
{
    m_values[3].number = (LONG)RGB(255, 255, 255);
}
CODEditCompPP::CODEditCompPP() : CODCompPropPage(22018, 9) {}
CODTextCompPP::CODTextCompPP() : CODCompPropPage(22044, 5)
{
    m_values[4].number = 4;  // a single line centred vertically
}
CODLabelCompPP::CODLabelCompPP() : CODCompPropPage(22022, 3), m_nX(0), m_nY(0)
{
    m_values[0].number = 8;  // centred
}
CODLineCompPP::CODLineCompPP()
    : CODCompPropPage(22023, 4), m_nStyleIndex(LB_ERR), m_nWidthIndex(LB_ERR)
{
    // Shown without a record: a thin solid black line.
    m_values[1].number = 0;
    m_values[2].number = 1;
}
CODFillCompPP::CODFillCompPP() : CODCompPropPage(22019, 5), m_nHatchIndex(LB_ERR)
{
    // Shown without a record: black on white, no hatch.
    m_values[1].number = (LONG)RGB(255, 255, 255);
    m_values[2].number = 255;
}
CODFontCompPP::CODFontCompPP(int fontTypeFilter)
    : CODCompPropPage(22020, 6), m_nFilter(fontTypeFilter), m_nStyle(64),
      m_nRequestedStyle(64), m_nAvailable(0), m_nNameIndex(0), m_nSizeIndex(0),
      m_nStyleIndex(-1)
{
    m_strSize.LoadString(IDS_OD_FONT_DEFAULT_SIZE);
    m_values[1].number = atoi(m_strSize);
    m_values[2].number = 64;
}
CODPosSizeCompPP::CODPosSizeCompPP() : CODCompPropPage(22043, 4) {}

BOOL CODPosSizeCompPP::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    static const UINT values[4] = {idLeft, idTop, idWidth, idHeight};
    static const UINT units[4] = {idLeftUnit, idTopUnit, idWidthUnit, idHeightUnit};
    for (int n = 0; n < 4; ++n) {
        SetDlgItemText(values[n], m_values[n].text);
        CString unit;
        if (CODMeasure::IsValidUnit((WORD)m_values[n].number))
            unit.LoadString(CODMeasure::GetUnitStringId((WORD)m_values[n].number));
        SetDlgItemText(units[n], unit);
    }
    return TRUE;
}

void CODCompPropPage::SetPageData(ODPageRecord* record)
{
    m_bEnabled = record->word0;
    for (int i = 0; i < m_nFields && i < record->values.GetSize(); ++i) {
        m_values[i] = record->values[i];
        m_same[i] = i < record->flags.GetSize() ? record->flags[i] : TRUE;
        m_changed[i] = FALSE;
    }
}

void CODCompPropPage::GetPageData(ODPageRecord* record)
{
    record->SetSize(m_nFields);
    BOOL any = FALSE;
    for (int i = 0; i < m_nFields; ++i) {
        record->values[i] = m_values[i];
        record->flags[i] = m_changed[i];
        any = any || m_changed[i];
    }
    record->word0 = any;
    if (any && GetSafeHwnd())
        SetModified(TRUE);
}

void CODCompPropPage::SetMember(int index, const ODRecordValue& value)
{
    if (index < 0 || index >= m_nFields)
        return;
    m_values[index] = value;
    m_changed[index] = TRUE;
    m_same[index] = TRUE;
    if (GetSafeHwnd())
        ShowMember(index);
}

void CODCompPropPage::SetMember(int index, LONG number)
{
    ODRecordValue v;
    v.number = number;
    SetMember(index, v);
}

void CODCompPropPage::SetMember(int index, LPCTSTR text)
{
    ODRecordValue v;
    v.text = text;
    SetMember(index, v);
}

void CODCompPropPage::MarkChanged(int index)
{
    m_changed[index] = TRUE;
    m_same[index] = TRUE;
    if (GetSafeHwnd())
        SetModified(TRUE);
}

void CODCompPropPage::ShowCheck(UINT id, int index)
{
    CButton* box = (CButton*)GetDlgItem(id);
    if (box == NULL)
        return;
    if (!m_same[index]) {
        box->SetButtonStyle(BS_AUTO3STATE);
        box->SetCheck(BST_INDETERMINATE);
    } else
        box->SetCheck(m_values[index].number ? BST_CHECKED : BST_UNCHECKED);
}

BOOL CODCompPropPage::TakeCheckClick(UINT id)
{
    CButton* box = (CButton*)GetDlgItem(id);
    if (box == NULL)
        return FALSE;
    if (box->GetCheck() == BST_INDETERMINATE)
        box->SetCheck(BST_UNCHECKED);
    box->SetButtonStyle(BS_AUTOCHECKBOX);
    return box->GetCheck() == BST_CHECKED;
}

// ---------------------------------------------------------------------------------------------
// The component sheet

const int CODCompPropSheet::s_pageBits[pageCount] = {0x001, 0x008, 0x002, 0x010,
                                                     0x020, 0x040, 0x080, 0x100};

CODCompPropSheet::CODCompPropSheet(CODComponentSet* components, CODViewport* viewport,
                                   LPCTSTR caption, int pageMask, CWnd* parent, UINT firstPage)
    : CPropertySheet(caption, parent, firstPage)
{
    Construct(components, viewport, pageMask);
}

CODCompPropSheet::CODCompPropSheet(CODComponentSet* components, CODViewport* viewport,
                                   UINT caption, int pageMask, CWnd* parent, UINT firstPage)
    : CPropertySheet(caption, parent, firstPage)
{
    Construct(components, viewport, pageMask);
}

void CODCompPropSheet::Construct(CODComponentSet* components, CODViewport* viewport, int mask)
{
    for (int i = 0; i < pageCount; ++i) {
        m_pages[i] = NULL;
        m_records[i] = NULL;
    }
    m_bApplied = FALSE;
    m_pViewport = viewport;
    m_pModel = viewport ? viewport->GetODModel() : NULL;
    m_nPageMask = mask;
    m_bTransparent = m_bSavedTransparent = FALSE;
    m_crTransparent = m_crSavedTransparent = RGB(255, 255, 255);
    SetComponents(components);
}

CODCompPropSheet::~CODCompPropSheet()
{
    POSITION pos = m_saved.GetStartPosition();
    while (pos) {
        CODProperty* clone;
        CODProperty* original;
        m_saved.GetNextAssoc(pos, clone, original);
        clone->Release();
    }
    for (int i = 0; i < pageCount; ++i) {
        delete m_pages[i];
        delete m_records[i];
    }
    m_history.Clear();
}

void CODCompPropSheet::SetComponents(CODComponentSet* components)
{
    for (int i = 0; components && i < components->GetSize(); ++i)
        if (m_components.IndexOf((*components)[i]) < 0)
            m_components.Add((*components)[i]);
}

BOOL CODCompPropSheet::ModelAllowsChanges()
{
    return m_pModel == NULL || m_pModel->CanEditProperties();
}

BOOL CODCompPropSheet::IsMarkedReadOnly(CODComponent* c) const
{
    int mark;
    return m_readOnly.Lookup(c, mark);
}

CODCompPropPage* CODCompPropSheet::NewPage(int page)
{
    switch (page) {
    case pageGeneral: return new CODGeneralCompPP;
    case pageEdit: return new CODEditCompPP;
    case pageText: return new CODTextCompPP;
    case pageLabels: return new CODLabelCompPP;
    case pageLine: return new CODLineCompPP;
    case pageFill: return new CODFillCompPP;
    case pageFont: return new CODFontCompPP;
    default: return new CODPosSizeCompPP;
    }
}

ODPageRecord* CODCompPropSheet::Record(int page, int count, BOOL& first)
{
    first = m_records[page] == NULL;
    if (first) {
        m_records[page] = new ODPageRecord;
        m_records[page]->SetSize(count);
        m_pages[page] = NewPage(page);
    }
    return m_records[page];
}

void CODCompPropSheet::Merge(ODPageRecord* r, BOOL first, int index, const ODRecordValue& value)
{
    if (first) {
        r->values[index] = value;
        r->flags[index] = TRUE;
    } else if (!(r->values[index] == value))
        r->flags[index] = FALSE;
}

void CODCompPropSheet::Merge(ODPageRecord* r, BOOL first, int index, LONG number)
{
    ODRecordValue v;
    v.number = number;
    Merge(r, first, index, v);
}

namespace {

ODRecordValue TextValue(const CString& text)
{
    ODRecordValue v;
    v.text = text;
    return v;
}

int StyleCode(const CODFontProperties& font)
{
    if (font.GetWeight() == 700)
        return font.GetItalic() ? 33 : 32;
    return font.GetItalic() ? 1 : 64;
}

}  // namespace

// One property group merged into the record of its page.
void CODCompPropSheet::MergeGroup(CODProperty* p, int mask)
{
    BOOL first;
    if (CODFontProperties* font = DYNAMIC_DOWNCAST(CODFontProperties, p)) {
        if (!(mask & 0x080))
            return;
        ODPageRecord* r = Record(pageFont, 6, first);
        Merge(r, first, 0, TextValue(font->GetFaceName()));
        Merge(r, first, 1, font->GetPointSize());
        Merge(r, first, 2, StyleCode(*font));
        if (StyleCode(*font) == 64 && font->GetWeight() != 400)
            r->flags[2] = FALSE;
        Merge(r, first, 3, font->GetStrikeOut());
        Merge(r, first, 4, font->GetUnderline());
        Merge(r, first, 5, (LONG)font->GetColor());
    } else if (CODLineProperties* line = DYNAMIC_DOWNCAST(CODLineProperties, p)) {
        if (!(mask & 0x020))
            return;
        ODPageRecord* r = Record(pageLine, 4, first);
        Merge(r, first, 0, (LONG)line->GetColor());
        Merge(r, first, 1, line->GetStyle());
        Merge(r, first, 2, line->GetWidth());
        Merge(r, first, 3, line->GetTransparent());
    } else if (CODFillProperties* fill = DYNAMIC_DOWNCAST(CODFillProperties, p)) {
        if (!(mask & 0x040))
            return;
        ODPageRecord* r = Record(pageFill, 5, first);
        Merge(r, first, 0, (LONG)fill->GetColor());
        Merge(r, first, 1, (LONG)fill->GetBkColor());
        Merge(r, first, 2, fill->GetFillStyle() == 0 ? 255 : fill->GetHatchStyle());
        Merge(r, first, 3, fill->GetTransparent() || fill->GetFillStyle() == 1);
        Merge(r, first, 4, fill->GetBkMode() == 1);
    } else if (CODOrientationProperties* o = DYNAMIC_DOWNCAST(CODOrientationProperties, p)) {
        if (!(mask & 0x010))
            return;
        ODPageRecord* r = Record(pageLabels, 3, first);
        Merge(r, first, 0, o->GetPosition());
        Merge(r, first, 1, o->GetOffsetX());
        Merge(r, first, 2, o->GetOffsetY());
    }
}

namespace {

void MergeEdit(ODPageRecord* r, BOOL first, const CODEditProperties& e, BOOL effective)
{
    LONG values[9] = {effective ? e.CanEditProperties() : e.GetCanEditProperties(),
                      e.IsReadOnly(),
                      effective ? e.CanMove() : e.GetCanMove(),
                      effective ? e.CanRotate() : e.GetCanRotate(),
                      effective ? e.CanScale() : e.GetCanScale(),
                      e.GetCanSelect(), e.GetCanStretch(),
                      effective ? e.CanEditVertices() : e.GetCanEditVertices(),
                      e.GetCanContain()};
    for (int i = 0; i < 9; ++i) {
        ODRecordValue v;
        v.number = values[i];
        if (first) {
            r->values[i] = v;
            r->flags[i] = TRUE;
        } else if (!(r->values[i] == v))
            r->flags[i] = FALSE;
    }
}

BOOL ForbidsPropertyChanges(CODComponent* c)
{
    CODEditProperties edit;
    return c->FindProperty(40) != NULL && c->GetProperty(40, edit) && !edit.GetCanEditProperties();
}

}  // namespace

void CODCompPropSheet::CollectTargets(CODComponentSet* top, CODComponentSet* all)
{
    CArray<CODComponent*, CODComponent*> stack;
    for (int i = top->GetSize() - 1; i >= 0; --i)
        stack.Add((*top)[i]);
    while (stack.GetSize()) {
        CODComponent* c = stack[stack.GetSize() - 1];
        stack.RemoveAt(stack.GetSize() - 1);
        if (IsMarkedReadOnly(c))
            continue;
        if (m_pModel && m_pModel->GetOption() == 0 && ForbidsPropertyChanges(c)) {
            m_readOnly.SetAt(c, 1);
            continue;
        }
        all->Add(c);
        for (int n = c->GetChildCount() - 1; n >= 0; --n)
            stack.Add(c->GetChild(n));
    }
}

void CODCompPropSheet::LoadFromComponents(int mask)
{
    CString multiple;
    multiple.LoadString(IDS_OD_MULTIPLE_TYPES);
    if (multiple.IsEmpty())
        multiple = "<Multiple Types Selected>";
    const BOOL option = m_pModel && m_pModel->GetOption() != 0;
    CODComponentSet top;
    for (int i = 0; i < m_components.GetSize(); ++i) {
        CODComponent* c = m_components[i];
        if (!option && ForbidsPropertyChanges(c)) {
            m_readOnly.SetAt(c, 1);
            continue;
        }
        top.Add(c);
        BOOL first;
        if (mask & 0x001) {
            ODPageRecord* r = Record(pageGeneral, 5, first);
            Merge(r, first, 0, TextValue(c->GetName()));
            if (first) {
                r->values[1] = TextValue(c->GetType());
                r->flags[1] = TRUE;
                Merge(r, TRUE, 2, (LONG)FALSE);
                Merge(r, TRUE, 3, (LONG)RGB(255, 255, 255));
                Merge(r, TRUE, 4, (LONG)FALSE);
            } else if (r->flags[1] && r->values[1].text != c->GetType()) {
                r->values[1] = TextValue(multiple);
                r->flags[1] = FALSE;
            }
        }
        CODEditProperties edit;
        if ((mask & 0x008) && c->FindProperty(40) && c->GetProperty(40, edit)) {
            // The record first: it says whether this is the first component merged.
            ODPageRecord* r = Record(pageEdit, 9, first);
            MergeEdit(r, first, edit, FALSE);
        }
        if (mask & 0x002)
            if (CODTextComponent* text = DYNAMIC_DOWNCAST(CODTextComponent, c)) {
                ODPageRecord* r = Record(pageText, 5, first);
                Merge(r, first, 0, TextValue(text->GetText()));
                static const int ids[4] = {240, 230, 210, 220};
                for (int n = 0; n < 4; ++n)
                    if (CODProperty* p = c->FindProperty(ids[n])) {
                        int value = 0;
                        p->GetValue(value);
                        Merge(r, first, n + 1, value);
                    }
            }
    }
    CODComponentSet all;
    CollectTargets(&top, &all);
    for (int i = 0; i < all.GetSize(); ++i) {
        CODComponent* c = all[i];
        static const int groups[4] = {30, 10, 20, 60};
        for (int id : groups)
            if (CODProperty* p = c->FindProperty(id))
                MergeGroup(p, mask);
    }
    if ((mask & 0x100) && m_components.GetSize() == 1 && m_pViewport) {
        BOOL first;
        ODPageRecord* r = Record(pagePosSize, 4, first);
        // The top-left handle and the size, in the unit of the viewport's mapping: each member
        // the value as text (six significant digits) and the unit code.
        CODCoordinateMapping* mapping = m_pViewport->GetCoordinateMapping();
        const WORD unit = mapping->GetUnits();
        CODMeasure m[4] = {CODMeasure(unit), CODMeasure(unit), CODMeasure(unit), CODMeasure(unit)};
        mapping->GetHandlePosition(m_components[0], m[0], m[1], 0);
        mapping->GetComponentSize(m_components[0], m[2], m[3]);
        for (int n = 0; n < 4; ++n) {
            r->values[n].text.Format("%.6g", (double)m[n].GetValue());
            r->values[n].number = m[n].GetUnits();
            r->flags[n] = TRUE;
        }
    }
    for (int i = 0; i < pageCount; ++i)
        if (m_records[i])
            m_records[i]->word0 = ModelAllowsChanges();
}

void CODCompPropSheet::LoadFromProperties(CODPropertyList* list, int mask)
{
    m_strSavedName = m_strName;
    m_strSavedType = m_strType;
    m_bSavedTransparent = m_bTransparent;
    m_crSavedTransparent = m_crTransparent;
    BOOL first;
    if (mask & 0x001) {
        ODPageRecord* r = Record(pageGeneral, 5, first);
        Merge(r, TRUE, 0, TextValue(m_strName));
        Merge(r, TRUE, 1, TextValue(m_strType));
        const BOOL image = (mask & 0x004) != 0;
        Merge(r, TRUE, 2, image ? m_bTransparent : FALSE);
        Merge(r, TRUE, 3, image ? (LONG)m_crTransparent : (LONG)RGB(255, 255, 255));
        Merge(r, TRUE, 4, image);
    }
    for (POSITION pos = list ? list->GetHeadPosition() : NULL; pos;) {
        CODProperty* p = list->GetNext(pos);
        const int bit = DYNAMIC_DOWNCAST(CODFontProperties, p)          ? 0x080
                        : DYNAMIC_DOWNCAST(CODLineProperties, p)        ? 0x020
                        : DYNAMIC_DOWNCAST(CODFillProperties, p)        ? 0x040
                        : DYNAMIC_DOWNCAST(CODEditProperties, p)        ? 0x008
                        : DYNAMIC_DOWNCAST(CODOrientationProperties, p) ? 0x010
                                                                        : 0;
        if (!(mask & bit))
            continue;
        CODProperty* clone = p->Clone();
        clone->AddRef();
        m_saved.SetAt(clone, p);
        if (CODEditProperties* edit = DYNAMIC_DOWNCAST(CODEditProperties, p)) {
            ODPageRecord* r = Record(pageEdit, 9, first);
            MergeEdit(r, first, *edit, TRUE);
        }
        else
            MergeGroup(p, mask);
    }
    for (int i = 0; i < pageCount; ++i)
        if (m_records[i])
            m_records[i]->word0 = ModelAllowsChanges();
}

void CODCompPropSheet::AddPages(BOOL defaults)
{
    for (int i = 0; i < pageCount; ++i) {
        if (m_pages[i] == NULL || m_records[i] == NULL)
            continue;
        if (defaults && (i == pageText || i == pagePosSize))
            continue;
        m_pages[i]->SetPageData(m_records[i]);
        if (GetPageIndex(m_pages[i]) < 0)
            AddPage(m_pages[i]);
    }
}

void CODCompPropSheet::PreparePages()
{
    m_psh.dwFlags &= ~PSH_HASHELP;
    if (!ModelAllowsChanges())
        m_psh.dwFlags |= PSH_NOAPPLYNOW;
    if (GetPageCount() == 0) {
        LoadFromComponents(m_nPageMask);
        AddPages(FALSE);
    }
}

// Without a viewport and its model there is nothing to show the values of.
INT_PTR CODCompPropSheet::DoModal()
{
    if (m_pViewport == NULL || m_pModel == NULL)
        return IDCANCEL;
    PreparePages();
    if (GetPageCount() == 0)
        return IDCANCEL;
    return CPropertySheet::DoModal();
}

BOOL CODCompPropSheet::Create(CWnd* parent, DWORD style, DWORD exStyle)
{
    if (m_pViewport == NULL || m_pModel == NULL)
        return FALSE;
    PreparePages();
    return CPropertySheet::Create(parent, style, exStyle);
}

BOOL CODCompPropSheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDOK: OnOK(); break;
    case IDCANCEL: OnCancel(); break;
    case ID_APPLY_NOW: OnApply(); break;
    default: break;
    }
    return CPropertySheet::OnCommand(wParam, lParam);
}

CODProperty* CODCompPropSheet::ChangedGroup(int page, DWORD* mask, CDC* dc)
{
    ODPageRecord* r = m_records[page];
    *mask = 0;
    auto changed = [&](int i) { return i < r->flags.GetSize() && r->flags[i]; };
    switch (page) {
    case pageEdit: {
        CODEditProperties* e = new CODEditProperties(40);
        typedef void (CODEditProperties::*Setter)(BOOL);
        static const Setter setters[9] = {
            &CODEditProperties::SetCanEditProperties, &CODEditProperties::SetReadOnly,
            &CODEditProperties::SetCanMove, &CODEditProperties::SetCanRotate,
            &CODEditProperties::SetCanScale, &CODEditProperties::SetCanSelect,
            &CODEditProperties::SetCanStretch, &CODEditProperties::SetCanEditVertices,
            &CODEditProperties::SetCanContain};
        static const DWORD bits[9] = {0x40, 0x01, 0x04, 0x08, 0x10, 0x02, 0x20, 0x100, 0x80};
        for (int i = 0; i < 9; ++i)
            if (changed(i)) {
                (e->*setters[i])(r->Number(i));
                *mask |= bits[i];
            }
        return e;
    }
    case pageFont: {
        CODFontProperties* f = new CODFontProperties(30);
        if (changed(0)) f->SetFaceName(r->Text(0)), *mask |= 0x01;
        if (changed(1)) f->SetPointSize(r->Number(1), dc), *mask |= 0x02;
        if (changed(2)) {
            f->SetWeight((r->Number(2) & 0x20) ? 700 : 400);
            f->SetItalic((r->Number(2) & 0x01) != 0);
            *mask |= 0x08 | 0x10;
        }
        if (changed(3)) f->SetStrikeOut(r->Number(3)), *mask |= 0x40;
        if (changed(4)) f->SetUnderline(r->Number(4)), *mask |= 0x20;
        if (changed(5)) f->SetColor((COLORREF)r->Number(5)), *mask |= 0x04;
        return f;
    }
    case pageFill: {
        CODFillProperties* f = new CODFillProperties(20);
        if (changed(0)) f->SetColor((COLORREF)r->Number(0)), *mask |= 0x01;
        if (changed(1)) f->SetBkColor((COLORREF)r->Number(1)), *mask |= 0x20;
        if (changed(2)) {
            if (r->Number(2) == 255)
                f->SetFillStyle(0);
            else {
                f->SetHatchStyle(r->Number(2));
                f->SetFillStyle(2);
                *mask |= 0x08;
            }
            *mask |= 0x04;
        }
        if (changed(3)) f->SetTransparent(r->Number(3)), *mask |= 0x02;
        if (changed(4)) f->SetBkMode(r->Number(4) ? 1 : 2), *mask |= 0x10;
        return f;
    }
    case pageLine: {
        CODLineProperties* l = new CODLineProperties(10);
        if (changed(0)) l->SetColor((COLORREF)r->Number(0)), *mask |= 0x01;
        if (changed(1)) l->SetStyle(r->Number(1)), *mask |= 0x08;
        if (changed(2)) l->SetWidth(r->Number(2), dc), *mask |= 0x04;
        if (changed(3)) l->SetTransparent(r->Number(3)), *mask |= 0x02;
        return l;
    }
    case pageLabels: {
        CODOrientationProperties* o = new CODOrientationProperties(60);
        if (changed(0)) o->SetPosition(r->Number(0)), *mask |= 0x01;
        if (changed(1) || changed(2)) {
            o->SetOffsetX(r->Number(1));
            o->SetOffsetY(r->Number(2));
            *mask |= 0x02;
        }
        return o;
    }
    default:
        return NULL;
    }
}

MvcCommandBase* CODCompPropSheet::BuildCommand()
{
    if (m_pModel == NULL)
        return NULL;
    MvcClientDC dc(m_pViewport, 1);
    CODComponentSet targets, all;
    for (int i = 0; i < m_components.GetSize(); ++i)
        if (!IsMarkedReadOnly(m_components[i]))
            targets.Add(m_components[i]);
    CollectTargets(&targets, &all);
    CODMacroCommand* macro = new CODMacroCommand(m_pModel);
    BOOL any = FALSE;
    for (int page = 0; page < pageCount; ++page)
        if (m_pages[page] && m_records[page])
            m_pages[page]->GetPageData(m_records[page]);

    if (ODPageRecord* r = m_records[pageGeneral])
        if (r->word0 && r->flags[0]) {
            CODNameCommand* name = new CODNameCommand(m_pModel);
            name->SetName(r->Text(0));
            name->AddComponents(&targets);
            macro->AddCommand(name);
            any = TRUE;
        }
    if (ODPageRecord* r = m_records[pageText]) {
        if (r->flags[0]) {
            CODTextCommand* text = new CODTextCommand(m_pModel);
            text->SetText(r->Text(0));
            text->SetMapping(&dc);
            text->AddComponents(&all);
            macro->AddCommand(text);
            any = TRUE;
        }
        static const int ids[4] = {240, 230, 210, 220};
        for (int n = 0; n < 4; ++n)
            if (r->flags[n + 1]) {
                CODProperty* p = n < 2 ? static_cast<CODProperty*>(
                                             new CODBoolProperty(ids[n], r->Number(n + 1)))
                                       : new CODIntProperty(ids[n], r->Number(n + 1));
                CODPropertyCommand* command = new CODPropertyCommand(m_pModel, p);
                command->AddComponents(&all);
                macro->AddCommand(command);
                any = any || all.GetSize() > 0;
            }
    }
    static const int groupPages[5] = {pageEdit, pageFont, pageFill, pageLine, pageLabels};
    static const int groupIds[5] = {40, 30, 20, 10, 60};
    for (int g = 0; g < 5; ++g) {
        ODPageRecord* r = m_records[groupPages[g]];
        if (r == NULL || !r->word0)
            continue;
        DWORD mask = 0;
        CODProperty* group = ChangedGroup(groupPages[g], &mask, &dc);
        CODComponentSet* over = groupPages[g] == pageEdit ? &targets : &all;
        CODPropertyCommand* command =
            groupPages[g] == pageFont ? new CODFontCommand(m_pModel, group) : new CODPropertyCommand(m_pModel, group);
        command->SetMask(mask);
        for (int i = 0; i < over->GetSize(); ++i)
            if ((*over)[i]->FindProperty(groupIds[g]))
                command->AddComponent((*over)[i]);
        if (command->GetComponents()->GetSize() == 0 || mask == 0) {
            delete command;
            continue;
        }
        macro->AddCommand(command);
        any = TRUE;
    }
    for (int page = 0; page < pageCount; ++page)
        if (m_records[page])
            m_records[page]->word0 = ModelAllowsChanges();
    if (!any) {
        delete macro;
        return NULL;
    }
    return macro;
}

void CODCompPropSheet::OnApply()
{
    MvcCommandBase* change = BuildCommand();
    if (change == NULL)
        return;
    Do(change);
    CODComponentSet set;
    set.Append(m_components);
    m_pModel->UpdateComponents(&set, 2);
}

void CODCompPropSheet::RevertChanges()
{
    while (m_history.GetUndoCommand())
        if (m_history.Undo() == NULL)
            break;
    m_history.Clear();
}

void CODCompPropSheet::OnCancel()
{
    RevertChanges();
}

void CODCompPropSheet::OnOK()
{
    RevertChanges();
    MvcCommandBase* change = BuildCommand();
    if (change)
        m_pModel->Do(change);
}

void CODCompPropSheet::SaveToProperties(CODPropertyList* list)
{
    MvcClientDC dc(m_pViewport, 1);
    for (int page = 0; page < pageCount; ++page) {
        if (m_pages[page] == NULL || m_records[page] == NULL)
            continue;
        m_pages[page]->GetPageData(m_records[page]);
        ODPageRecord* r = m_records[page];
        if (!r->word0)
            continue;
        if (page == pageGeneral) {
            if (r->flags[0])
                m_strName = r->Text(0);
            if (r->Number(4)) {
                if (r->flags[2])
                    m_bTransparent = r->Number(2);
                if (r->flags[3])
                    m_crTransparent = (COLORREF)r->Number(3);
            }
            continue;
        }
        DWORD mask = 0;
        CODProperty* group = ChangedGroup(page, &mask, &dc);
        if (group == NULL)
            continue;
        for (POSITION pos = list ? list->GetHeadPosition() : NULL; pos;) {
            CODProperty* p = list->GetNext(pos);
            if (p->GetRuntimeClass() == group->GetRuntimeClass())
                p->CopyFrom(group, mask);
        }
        delete group;
        r->word0 = ModelAllowsChanges();
    }
}

// ---------------------------------------------------------------------------------------------
// The default sheet

CODDefPropSheet::CODDefPropSheet(CODPropertyList* defaults, CODViewport* viewport,
                                 LPCTSTR caption, CWnd* parent, UINT firstPage)
    : CODCompPropSheet(NULL, viewport, caption, 0xF8, parent, firstPage), m_pDefaults(defaults)
{
}

CODDefPropSheet::CODDefPropSheet(CODPropertyList* defaults, CODViewport* viewport, UINT caption,
                                 CWnd* parent, UINT firstPage)
    : CODCompPropSheet(NULL, viewport, caption, 0xF8, parent, firstPage), m_pDefaults(defaults)
{
}

void CODDefPropSheet::PrepareDefaultPages()
{
    m_psh.dwFlags &= ~PSH_HASHELP;
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    if (GetPageCount() == 0) {
        LoadFromProperties(m_pDefaults, m_nPageMask);
        AddPages(TRUE);
    }
}

INT_PTR CODDefPropSheet::DoModal()
{
    if (m_pViewport == NULL)
        return IDCANCEL;
    PrepareDefaultPages();
    if (GetPageCount() == 0)
        return IDCANCEL;
    return CPropertySheet::DoModal();
}

BOOL CODDefPropSheet::Create(CWnd* parent, DWORD style, DWORD exStyle)
{
    if (m_pViewport == NULL)
        return FALSE;
    PrepareDefaultPages();
    return CPropertySheet::Create(parent, style, exStyle);
}

void CODDefPropSheet::OnApply()
{
    m_bApplied = TRUE;
    SaveToProperties(m_pDefaults);
}

void CODDefPropSheet::RestoreDefaults()
{
    if (!m_bApplied || m_pDefaults == NULL)
        return;
    m_strName = m_strSavedName;
    m_strType = m_strSavedType;
    m_bTransparent = m_bSavedTransparent;
    m_crTransparent = m_crSavedTransparent;
    POSITION pos = m_saved.GetStartPosition();
    while (pos) {
        CODProperty* clone;
        CODProperty* original;
        m_saved.GetNextAssoc(pos, clone, original);
        original->CopyFrom(clone, 0xFFFF);
    }
}

void CODDefPropSheet::OnCancel()
{
    RestoreDefaults();
}

void CODDefPropSheet::OnOK()
{
    RestoreDefaults();
    SaveToProperties(m_pDefaults);
}
