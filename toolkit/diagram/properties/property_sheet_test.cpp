// The component and default property sheets: values merged into page records (members that
// differ are indeterminate), only changed members applied, read-only components left out,
// Apply then Cancel undone, OK one command, and the default sheet's Apply and Cancel. The
// pages' changes are made as the user would, without showing the sheet.
#include "od_edit_fixture.h"
#include "ODFontProperties.h"
#include "ODLineProperties.h"
#include "ODPropSheet.h"
#include "ODTextComponent.h"

namespace {

CODLineProperties LineOf(CODComponent* c)
{
    CODLineProperties line;
    c->GetProperty(10, line);
    return line;
}

void SetLine(CODComponent* c, COLORREF colour, int style)
{
    CODLineProperties line;
    c->GetProperty(10, line);
    line.SetColor(colour);
    line.SetStyle(style);
    c->SetOrAddProperty(line);
}

}  // namespace

TEST(PropertySheet, MergedRecordsShowDifferingMembersIndeterminate)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(10, 10, 50, 50);
    CODRectComponent* b = f.AddRect(60, 10, 90, 50);
    SetLine(a, RGB(255, 0, 0), 0);
    SetLine(b, RGB(0, 0, 255), 0);
    CODLineComponent* line = f.AddLine(CPoint(10, 100), CPoint(90, 100));
    CODComponentSet set;
    set.Add(a);
    set.Add(b);
    set.Add(line);
    CODCompPropSheet sheet(&set, &f.view, "Component Properties");
    sheet.PreparePages();
    ODPageRecord* r = sheet.GetRecord(CODCompPropSheet::pageLine);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ((COLORREF)r->Number(0), RGB(255, 0, 0));
    EXPECT_FALSE(r->flags[0]);  // colour differs
    EXPECT_TRUE(r->flags[1]);   // style the same
    EXPECT_TRUE(r->word0);
    ODPageRecord* g = sheet.GetRecord(CODCompPropSheet::pageGeneral);
    ASSERT_NE(g, nullptr);
    EXPECT_STREQ(g->Text(1), "<Multiple Types Selected>");
    EXPECT_FALSE(g->flags[1]);
    EXPECT_EQ(sheet.GetRecord(CODCompPropSheet::pagePosSize), nullptr);  // one component only
    EXPECT_EQ(sheet.GetRecord(CODCompPropSheet::pageText), nullptr);     // no text selected
}

TEST(PropertySheet, OnlyChangedMembersAreAppliedAndOkIsOneCommand)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(10, 10, 50, 50);
    CODRectComponent* b = f.AddRect(60, 10, 90, 50);
    SetLine(a, RGB(255, 0, 0), 0);
    SetLine(b, RGB(0, 0, 255), 0);
    CODComponentSet set;
    set.Add(a);
    set.Add(b);
    const int before = f.model.GetHistory()->GetUndoCount();
    CODCompPropSheet sheet(&set, &f.view, "Component Properties");
    sheet.PreparePages();
    sheet.GetPropPage(CODCompPropSheet::pageLine)->SetMember(1, (LONG)PS_DASH);
    sheet.OnApply();
    EXPECT_EQ(LineOf(a).GetStyle(), PS_DASH);
    EXPECT_EQ(LineOf(a).GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(LineOf(b).GetColor(), RGB(0, 0, 255));
    EXPECT_EQ(f.model.GetHistory()->GetUndoCount(), before);  // the sheet's own history
    sheet.OnOK();
    EXPECT_EQ(LineOf(b).GetStyle(), PS_DASH);
    EXPECT_EQ(f.model.GetHistory()->GetUndoCount(), before + 1);
    f.Command(ID_EDIT_UNDO);
    EXPECT_EQ(LineOf(a).GetStyle(), 0);
    EXPECT_EQ(LineOf(b).GetStyle(), 0);
}

TEST(PropertySheet, ApplyThenCancelLeavesModelAndHistoryUntouched)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(10, 10, 50, 50);
    a->SetName("before");
    CODComponentSet set;
    set.Add(a);
    const int before = f.model.GetHistory()->GetUndoCount();
    CODCompPropSheet sheet(&set, &f.view, "Component Properties");
    sheet.PreparePages();
    sheet.GetPropPage(CODCompPropSheet::pageGeneral)->SetMember(0, "after");
    sheet.GetPropPage(CODCompPropSheet::pageLine)->SetMember(0, (LONG)RGB(0, 255, 0));
    sheet.OnApply();
    EXPECT_STREQ(a->GetName(), "after");
    sheet.OnCancel();
    EXPECT_STREQ(a->GetName(), "before");
    EXPECT_NE(LineOf(a).GetColor(), RGB(0, 255, 0));
    EXPECT_EQ(f.model.GetHistory()->GetUndoCount(), before);
    EXPECT_EQ(sheet.GetHistory()->GetUndoCount(), 0);
}

TEST(PropertySheet, ReadOnlyComponentsAreLeftOutUnlessTheOptionWord)
{
    for (int option : {0, 1}) {
        EditFixture f;
        CODRectComponent* a = f.AddRect(10, 10, 50, 50);
        CODRectComponent* locked = f.AddRect(60, 10, 90, 50);
        f.SetEdit(locked, &CODEditProperties::SetCanEditProperties, FALSE);
        f.model.SetOption(option);
        CODComponentSet set;
        set.Add(a);
        set.Add(locked);
        CODCompPropSheet sheet(&set, &f.view, "Component Properties");
        sheet.PreparePages();
        EXPECT_EQ(sheet.IsMarkedReadOnly(locked), option == 0);
        sheet.GetPropPage(CODCompPropSheet::pageLine)->SetMember(0, (LONG)RGB(1, 2, 3));
        sheet.OnOK();
        EXPECT_EQ(LineOf(a).GetColor(), RGB(1, 2, 3));
        EXPECT_EQ(LineOf(locked).GetColor() == RGB(1, 2, 3), option != 0);
    }
}

TEST(PropertySheet, GroupChildrenAreGatheredAndChanged)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(10, 10, 50, 50);
    CODRectComponent* b = f.AddRect(60, 10, 90, 50);
    f.controller->ClearSelection();
    f.controller->GetSelection()->Add(a);
    f.controller->GetSelection()->Add(b);
    f.Command(ID_OD_GROUP);
    CODComponent* group = f.model.GetChild(0);
    CODComponentSet set;
    set.Add(group);
    CODCompPropSheet sheet(&set, &f.view, "Component Properties");
    sheet.PreparePages();
    ASSERT_NE(sheet.GetRecord(CODCompPropSheet::pageLine), nullptr);
    sheet.GetPropPage(CODCompPropSheet::pageLine)->SetMember(2, 3L);
    sheet.OnOK();
    EXPECT_EQ(LineOf(a).GetWidth(), 3);
    EXPECT_EQ(LineOf(b).GetWidth(), 3);
}

TEST(PropertySheet, FontStyleCodesAndAnUnusualWeightIndeterminate)
{
    struct Case {
        int weight;
        BOOL italic;
        int code;
        BOOL same;
    } cases[] = {{700, TRUE, 33, TRUE}, {700, FALSE, 32, TRUE}, {400, TRUE, 1, TRUE},
                 {400, FALSE, 64, TRUE}, {500, FALSE, 64, FALSE}};
    for (const Case& c : cases) {
        EditFixture f;
        MvcClientDC dc(&f.view, 1);
        CODTextComponent* text = new CODTextComponent;
        f.view.ApplyDefaultProperties(text);
        text->Create(100, 100, &dc);
        CODFontProperties font;
        text->GetProperty(30, font);
        font.SetWeight(c.weight);
        font.SetItalic(c.italic);
        text->SetOrAddProperty(font);
        f.controller->InsertComponent(text);
        CODCompPropSheet sheet(f.Selection(), &f.view, "Component Properties", 0x80);
        sheet.PreparePages();
        ODPageRecord* r = sheet.GetRecord(CODCompPropSheet::pageFont);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->Number(2), c.code) << c.weight;
        EXPECT_EQ(r->flags[2], c.same) << c.weight;
        EXPECT_EQ(sheet.GetRecord(CODCompPropSheet::pageLine), nullptr);  // not in the mask
    }
}

TEST(PropertySheet, WithoutAViewportTheSheetRefuses)
{
    CODComponentSet set;
    CODCompPropSheet sheet(&set, NULL, "Component Properties");
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_FALSE(sheet.Create(NULL, WS_POPUP, 0));
}

TEST(DefaultSheet, ApplyThenCancelRestoresAndOkWritesOnlyTheChanged)
{
    EditFixture f;
    CODPropertyList* defaults = f.view.GetDefaultProperties();
    CODLineProperties* line = NULL;
    for (POSITION pos = defaults->GetHeadPosition(); pos;)
        if (CODLineProperties* l = DYNAMIC_DOWNCAST(CODLineProperties, (CODProperty*)defaults->GetNext(pos)))
            line = l;
    ASSERT_NE(line, nullptr);
    const COLORREF colour = line->GetColor();
    const int style = line->GetStyle();
    {
        CODDefPropSheet sheet(defaults, &f.view, "Default Properties");
        sheet.PrepareDefaultPages();
        EXPECT_EQ(sheet.GetRecord(CODCompPropSheet::pageText), nullptr);
        sheet.GetPropPage(CODCompPropSheet::pageLine)->SetMember(0, (LONG)RGB(9, 9, 9));
        sheet.OnApply();
        EXPECT_EQ(line->GetColor(), RGB(9, 9, 9));
        sheet.OnCancel();
        EXPECT_EQ(line->GetColor(), colour);
    }
    {
        CODDefPropSheet sheet(defaults, &f.view, "Default Properties");
        sheet.PrepareDefaultPages();
        sheet.GetPropPage(CODCompPropSheet::pageLine)->SetMember(1, (LONG)PS_DOT);
        sheet.OnOK();
        EXPECT_EQ(line->GetStyle(), PS_DOT);
        EXPECT_EQ(line->GetColor(), colour);
        EXPECT_NE(style, PS_DOT);
    }
}
