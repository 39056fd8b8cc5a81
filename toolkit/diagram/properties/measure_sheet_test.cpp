// The Measurements and Size sheet: a unit change that keeps the canvas lengths, the unit labels
// of the coordinate mapping, the extents enabled only for the scalable modes, a sheet of one
// page, a scale length of 0 refused, and the controller's command writing the values back.
#include "od_edit_fixture.h"
#include "ODMeasureSheet.h"

namespace {

const char kCaption[] = "Measurements and Size";


struct ShownSheet {
    CODMeasurePropSheet sheet;
    ShownSheet(CWnd* parent, int flags) : sheet(kCaption, parent, 0, flags) {}
    void Show(CWnd* parent, CPropertyPage* page)
    {
        ASSERT_TRUE(sheet.Create(parent, WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, 0));
        sheet.SetActivePage(page);
    }
    ~ShownSheet()
    {
        if (sheet.GetSafeHwnd())
            sheet.DestroyWindow();
    }
};

CString Text(CWnd* page, int id)
{
    CString text;
    page->GetDlgItemText(id, text);
    return text;
}

void Select(CWnd* page, int combo, int index)
{
    page->SendDlgItemMessage(combo, CB_SETCURSEL, index, 0);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE),
                      (LPARAM)page->GetDlgItem(combo)->GetSafeHwnd());
}

}  // namespace

TEST(MeasureSheet, AUnitChangeKeepsTheCanvasLengths)
{
    EditFixture f;
    ShownSheet s(&f.host, CODMeasurePropSheet::pageCanvas);
    CODCanvasSizePage* page = s.sheet.GetCanvasPage();
    page->m_fWidth = 10.0f;
    page->m_fHeight = 7.5f;
    s.Show(&f.host, page);
    EXPECT_EQ(page->SendDlgItemMessage(CODCanvasSizePage::idUnits, CB_GETCOUNT, 0, 0), 8);
    EXPECT_STREQ(Text(page, CODCanvasSizePage::idWidth), "10");
    page->SetDlgItemText(CODCanvasSizePage::idWidth, "3");  // typed, not yet taken
    Select(page, CODCanvasSizePage::idUnits, 4);             // millimetres
    EXPECT_EQ(page->m_nUnits, 4);
    EXPECT_NEAR(page->m_fWidth, 254.0f, 1e-3);
    EXPECT_NEAR(page->m_fHeight, 190.5f, 1e-3);
    EXPECT_STREQ(Text(page, CODCanvasSizePage::idWidth), "254");
    EXPECT_STREQ(Text(page, CODCanvasSizePage::idHeight), "190.5");
}

TEST(MeasureSheet, UnitLabelsAndTheExtentsOfScalableModes)
{
    EditFixture f;
    ShownSheet s(&f.host, 0);
    CODCoordinateMappingPage* page = s.sheet.GetMappingPage();
    s.Show(&f.host, page);
    const int dpi = ODScreenPixelsPerInch().cx;
    CString expected;
    expected.Format("%f Inches", (double)(1.0f / dpi));
    EXPECT_STREQ(Text(page, CODCoordinateMappingPage::idXLabel), expected);
    if (dpi == 96)
        EXPECT_STREQ(expected, "0.010417 Inches");
    CString mode;
    page->GetDlgItem(CODCoordinateMappingPage::idMode)->GetWindowText(mode);
    EXPECT_STREQ(mode, "MM_ANISOTROPIC");
    struct Case {
        int item, mode;
        BOOL extents;
    } cases[] = {{0, MM_TEXT, FALSE}, {2, MM_ISOTROPIC, TRUE}, {7, MM_TWIPS, FALSE}};
    for (const Case& c : cases) {
        Select(page, CODCoordinateMappingPage::idMode, c.item);
        EXPECT_EQ(page->m_nMappingMode, c.mode);
        for (int id = CODCoordinateMappingPage::idPhysicalX; id <= CODCoordinateMappingPage::idLogicalY; ++id)
            EXPECT_EQ(!!page->GetDlgItem(id)->IsWindowEnabled(), !!c.extents) << c.mode;
    }
    // Twips: one logical unit is 1/1440 inch.
    expected.Format("%f Inches", (double)(1.0f / 1440.0f));
    EXPECT_STREQ(Text(page, CODCoordinateMappingPage::idYLabel), expected);
}

TEST(MeasureSheet, ASheetOfTheScaleAloneAndAScaleLengthOfZero)
{
    CODMeasurePropSheet scaleOnly(kCaption, NULL, 0, CODMeasurePropSheet::pageScale);
    EXPECT_EQ(scaleOnly.GetCanvasPage(), nullptr);
    EXPECT_EQ(scaleOnly.GetMeasureUnits(), 0);
    EXPECT_EQ(scaleOnly.GetMappingMode(), MM_TEXT);
    EXPECT_EQ(scaleOnly.GetCanvasSize(), CSize(0, 0));

    // A drawing length of 0 gives no ratio: conversions go on at 1 to 1.
    CODMeasurePropSheet sheet(kCaption);
    sheet.SetMeasureUnits(0);
    sheet.SetCanvasSize(CSize(960, 480));
    const float width = sheet.GetCanvasPage()->m_fWidth;
    EXPECT_GT(width, 0.0f);
    sheet.SetScale(CODMeasure(0, 0.0f), CODMeasure(0, 2.0f));
    sheet.SetCanvasSize(CSize(960, 480));
    EXPECT_EQ(sheet.GetCanvasPage()->m_fWidth, width);
    EXPECT_EQ(sheet.GetCanvasSize(), CSize(960, 480));

    // The page refuses it.
    EditFixture f;
    ShownSheet s(&f.host, 0);
    CODDrawingScalePage* page = s.sheet.GetScalePage();
    s.Show(&f.host, page);
    page->SetDlgItemText(CODDrawingScalePage::idDrawing, "0");
    MessageBoxWatch answer(kCaption);
    EXPECT_FALSE(page->UpdateData(TRUE));
    EXPECT_EQ(MessageBoxWatch::Count(), 1);
    EXPECT_EQ(page->m_fDrawing, 1.0f);
}
