// The Text, Edit, General, Labels and Position and Size pages: what they show for a record
// (dependent enabling, mixed names and types, an image's bitmap controls), the members they
// report changed, and what the sheet applies from them.
#include "od_page_fixture.h"
#include "ODMeasure.h"
#include "ODTextComponent.h"

namespace {

CODTextComponent* AddText(EditFixture& f, LPCTSTR content)
{
    MvcClientDC dc(&f.view, 1);
    CODTextComponent* text = new CODTextComponent;
    f.view.ApplyDefaultProperties(text);
    text->Create(100, 100, &dc);
    text->SetText(content);
    f.controller->InsertComponent(text);
    return text;
}

int IntOf(CODComponent* c, int id)
{
    int value = -1;
    if (CODProperty* p = c->FindProperty(id))
        p->GetValue(value);
    return value;
}

void Click(CWnd* page, UINT id) { page->GetDlgItem(id)->SendMessage(BM_CLICK); }
BOOL Enabled(CWnd* page, UINT id) { return page->GetDlgItem(id)->IsWindowEnabled(); }

}  // namespace

TEST(TextPage, MultipleLinesBringsWordBreakAndTheAlignmentsTheirOwnFlags)
{
    EditFixture f;
    CODTextComponent* text = AddText(f, "Top of the swing");
    CODComponentSet set;
    set.Add(text);
    PageSheet<CODTextCompPP> s(f, set, CODCompPropSheet::pageText);
    CODTextCompPP* page = s.page;
    ASSERT_TRUE(page->GetSafeHwnd());
    CString shown;
    page->GetDlgItemText(CODTextCompPP::idText, shown);
    EXPECT_STREQ(shown, "Top of the swing");
    EXPECT_FALSE(Enabled(page, CODTextCompPP::idWordBreak));  // a single line
    EXPECT_TRUE(Enabled(page, CODTextCompPP::idBottom));
    EXPECT_FALSE(s.AnyChange());

    Click(page, CODTextCompPP::idBottom);  // only the vertical alignment
    ODPageRecord r;
    s.Report(r);
    EXPECT_TRUE(r.word0);
    EXPECT_EQ(r.Number(4), 8);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(r.flags[i]) << i;
    EXPECT_TRUE(r.flags[4]);

    Click(page, CODTextCompPP::idMultipleLines);
    EXPECT_EQ(page->IsDlgButtonChecked(CODTextCompPP::idWordBreak), BST_CHECKED);
    EXPECT_TRUE(Enabled(page, CODTextCompPP::idWordBreak));
    EXPECT_FALSE(Enabled(page, CODTextCompPP::idTop));
    s.Report(r);
    EXPECT_TRUE(r.flags[1] && r.flags[2]);
    EXPECT_EQ(r.Number(1), 1);
    EXPECT_EQ(r.Number(2), 1);
    Click(page, CODTextCompPP::idMultipleLines);  // and off again, both
    s.Report(r);
    EXPECT_EQ(r.Number(1), 0);
    EXPECT_EQ(r.Number(2), 0);
    Click(page, CODTextCompPP::idMultipleLines);
    Click(page, CODTextCompPP::idRight);
    page->SendDlgItemMessage(CODTextCompPP::idText, EM_SETSEL, 0, -1);  // typed over
    page->SendDlgItemMessage(CODTextCompPP::idText, EM_REPLACESEL, TRUE, (LPARAM) "Impact");
    s.sheet.OnOK();
    EXPECT_STREQ(text->GetText(), "Impact");
    EXPECT_EQ(IntOf(text, 240), 1);
    EXPECT_EQ(IntOf(text, 230), 1);
    EXPECT_EQ(IntOf(text, 210), 2);
    f.Command(ID_EDIT_UNDO);
    EXPECT_STREQ(text->GetText(), "Top of the swing");
    EXPECT_EQ(IntOf(text, 240), 0);
}

TEST(EditPage, ScalingAndReadOnlyRuleTheOtherBoxes)
{
    EditFixture f;
    CODRectComponent* noScale = f.AddRect(10, 10, 50, 50);
    f.SetEdit(noScale, &CODEditProperties::SetCanScale, FALSE);
    f.SetEdit(noScale, &CODEditProperties::SetCanStretch, TRUE);
    CODComponentSet set;
    set.Add(noScale);
    PageSheet<CODEditCompPP> s(f, set, CODCompPropSheet::pageEdit);
    CODEditCompPP* page = s.page;
    ASSERT_TRUE(page->GetSafeHwnd());
    // Without scaling, stretching is off and its box disabled; scaling counts as changed.
    EXPECT_FALSE(Enabled(page, CODEditCompPP::idStretch));
    EXPECT_NE(page->IsDlgButtonChecked(CODEditCompPP::idStretch), BST_CHECKED);
    ODPageRecord r;
    s.Report(r);
    EXPECT_TRUE(r.word0);
    EXPECT_TRUE(r.flags[4]);
    EXPECT_EQ(r.Number(4), 0);
    EXPECT_EQ(r.Number(6), 0);

    Click(page, CODEditCompPP::idReadOnly);
    ASSERT_EQ(page->IsDlgButtonChecked(CODEditCompPP::idReadOnly), BST_CHECKED);
    for (int i = 0; i < 9; ++i) {
        const UINT id = CODEditCompPP::s_ids[i];
        const bool stays = id == CODEditCompPP::idReadOnly || id == CODEditCompPP::idSelect;
        EXPECT_EQ(!!Enabled(page, id), stays) << id;
    }
    Click(page, CODEditCompPP::idReadOnly);
    Click(page, CODEditCompPP::idScale);  // scaling again: stretching may be chosen
    EXPECT_TRUE(Enabled(page, CODEditCompPP::idStretch));
    Click(page, CODEditCompPP::idStretch);
    s.Report(r);
    EXPECT_EQ(r.Number(4), 1);
    EXPECT_EQ(r.Number(6), page->IsDlgButtonChecked(CODEditCompPP::idStretch) == BST_CHECKED);
    EXPECT_TRUE(r.flags[6]);
}

TEST(GeneralPage, NamesTypesAndAnImagesBitmapControls)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(10, 10, 50, 50);
    a->SetName("club");
    CODComponentSet one;
    one.Add(a);
    {
        PageSheet<CODGeneralCompPP> s(f, one, CODCompPropSheet::pageGeneral);
        CODGeneralCompPP* page = s.page;
        ASSERT_TRUE(page->GetSafeHwnd());
        EXPECT_TRUE(Enabled(page, CODGeneralCompPP::idName));
        EXPECT_FALSE(page->GetDlgItem(CODGeneralCompPP::idBitmapGroup)->IsWindowVisible());
        page->SetDlgItemText(CODGeneralCompPP::idName, "shaft");
        ODPageRecord r;
        s.Report(r);
        EXPECT_TRUE(r.flags[0]);
        EXPECT_FALSE(r.flags[2] || r.flags[3]);
        s.sheet.OnOK();
        EXPECT_STREQ(a->GetName(), "shaft");
    }
    // Two components of different names and types: neither field can be edited.
    CODLineComponent* line = f.AddLine(CPoint(10, 100), CPoint(90, 100));
    line->SetName("plane");
    CODComponentSet two;
    two.Add(a);
    two.Add(line);
    {
        PageSheet<CODGeneralCompPP> s(f, two, CODCompPropSheet::pageGeneral);
        EXPECT_FALSE(Enabled(s.page, CODGeneralCompPP::idName));
        EXPECT_FALSE(Enabled(s.page, CODGeneralCompPP::idType));
        CString type;
        s.page->GetDlgItemText(CODGeneralCompPP::idType, type);
        EXPECT_STREQ(type, "<Multiple Types Selected>");
    }
    // An image's record: the bitmap controls appear 5 pixels below the type field.
    CODGeneralCompPP page;
    ODPageRecord record;
    record.SetSize(5);
    record.word0 = TRUE;
    record.values[0].text = "logo";
    record.values[1].text = "Image";
    record.values[3].number = (LONG)RGB(255, 255, 255);
    record.values[4].number = 1;
    for (int i = 0; i < 5; ++i)
        record.flags[i] = TRUE;
    page.SetPageData(&record);
    CPropertySheet sheet("General");
    sheet.AddPage(&page);
    ASSERT_TRUE(sheet.Create(&f.host, WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, 0));
    CRect type, group;
    page.GetDlgItem(CODGeneralCompPP::idType)->GetWindowRect(&type);
    page.GetDlgItem(CODGeneralCompPP::idBitmapGroup)->GetWindowRect(&group);
    EXPECT_EQ(group.top, type.bottom + 5);
    for (UINT id : {CODGeneralCompPP::idBitmapGroup, CODGeneralCompPP::idTransparent,
                    CODGeneralCompPP::idColor, CODGeneralCompPP::idColorLabel})
        EXPECT_TRUE(page.GetDlgItem(id)->GetStyle() & WS_VISIBLE) << id;
    Click(&page, CODGeneralCompPP::idTransparent);
    ODPageRecord out;
    page.GetPageData(&out);
    EXPECT_TRUE(out.flags[2]);
    EXPECT_EQ(out.Number(2), 1);
    sheet.DestroyWindow();
}

TEST(PositionSizePage, MeasuresInTheMappingsUnitWithItsName)
{
    EditFixture f;
    const int dpi = ODScreenPixelsPerInch().cx;
    CODRectComponent* r = f.AddRect(dpi * 3 / 2, dpi, dpi * 4, dpi * 2);
    f.view.GetCoordinateMapping()->SetUnits(0);  // inches
    CODComponentSet set;
    set.Add(r);
    PageSheet<CODPosSizeCompPP> s(f, set, CODCompPropSheet::pagePosSize);
    ASSERT_TRUE(s.page->GetSafeHwnd());
    struct Case {
        UINT value, unit;
        const char* text;
    } cases[] = {{CODPosSizeCompPP::idLeft, CODPosSizeCompPP::idLeftUnit, "1.5"},
                 {CODPosSizeCompPP::idTop, CODPosSizeCompPP::idTopUnit, "1"},
                 {CODPosSizeCompPP::idWidth, CODPosSizeCompPP::idWidthUnit, "2.5"},
                 {CODPosSizeCompPP::idHeight, CODPosSizeCompPP::idHeightUnit, "1"}};
    for (const Case& c : cases) {
        CString value, unit;
        s.page->GetDlgItemText(c.value, value);
        s.page->GetDlgItemText(c.unit, unit);
        EXPECT_STREQ(value, c.text) << c.value;
        EXPECT_STREQ(unit, "Inches");
    }
    EXPECT_FALSE(s.AnyChange());
}

TEST(LabelsPage, PositionAndOffsetsOnlyTheChangedOnesAndTheRangeRefused)
{
    EditFixture f;
    CODLabelCompPP page;
    ODPageRecord record;
    record.SetSize(3);
    record.word0 = TRUE;
    record.values[0].number = 5;  // bottom-centre
    record.values[1].number = 10;
    record.values[2].number = -20;
    for (int i = 0; i < 3; ++i)
        record.flags[i] = TRUE;
    page.SetPageData(&record);
    CPropertySheet sheet("Label Sheet");
    sheet.AddPage(&page);
    ASSERT_TRUE(sheet.Create(&f.host, WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, 0));
    EXPECT_EQ(page.IsDlgButtonChecked(CODLabelCompPP::idBottomCenter), BST_CHECKED);
    EXPECT_EQ((int)page.GetDlgItemInt(CODLabelCompPP::idY, NULL, TRUE), -20);

    page.SetDlgItemText(CODLabelCompPP::idY, "30");  // only the y offset
    ODPageRecord out;
    page.GetPageData(&out);
    EXPECT_TRUE(out.word0);
    EXPECT_FALSE(out.flags[0]) << out.Number(0);
    EXPECT_FALSE(out.flags[1]) << out.Number(1);
    EXPECT_TRUE(out.flags[2]);
    EXPECT_EQ(out.Number(2), 30);

    Click(&page, CODLabelCompPP::idTopRight);
    page.SetDlgItemText(CODLabelCompPP::idX, "150");  // outside -100..100
    {
        MessageBoxWatch answer("Label Sheet");
        page.GetPageData(&out);
        EXPECT_EQ(MessageBoxWatch::Count(), 1);
    }
    EXPECT_TRUE(out.flags[0]);
    EXPECT_EQ(out.Number(0), 2);
    EXPECT_FALSE(out.flags[1] || out.flags[2]);  // neither offset taken
    sheet.DestroyWindow();
}
