// Page settings: paper sizes from a DEVMODE, unit conversion, copies of the blocks and the
// stored form without a printer.
#include "gtest_wine.h"
#include "ODPageSettings.h"

namespace {

HGLOBAL DevMode(DWORD fields, short paper, short orientation, short length = 0, short width = 0)
{
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
    DEVMODEA* dm = (DEVMODEA*)::GlobalLock(h);
    dm->dmSize = sizeof(DEVMODEA);
    dm->dmFields = fields;
    dm->dmPaperSize = paper;
    dm->dmOrientation = orientation;
    dm->dmPaperLength = length;
    dm->dmPaperWidth = width;
    ::GlobalUnlock(h);
    return h;
}

TEST(PageSettings, PaperSizesFromTheDeviceMode)
{
    struct Case {
        DWORD fields;
        short paper, orientation, length, width;
        BOOL ok;
        int units;
        CSize size;
    } cases[] = {
        {DM_PAPERSIZE, 1, DMORIENT_PORTRAIT, 0, 0, TRUE, 4, CSize(8500, 11000)},
        {DM_PAPERSIZE, 1, DMORIENT_LANDSCAPE, 0, 0, TRUE, 4, CSize(11000, 8500)},
        {DM_PAPERSIZE, 35, DMORIENT_PORTRAIT, 0, 0, TRUE, 8, CSize(17600, 12500)},
        {DM_PAPERSIZE, 4, DMORIENT_PORTRAIT, 0, 0, TRUE, 4, CSize(17000, 11000)},
        {DM_PAPERSIZE, 9, 3, 0, 0, FALSE, 8, CSize(-1, -1)},
        {DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH, 1, DMORIENT_LANDSCAPE, 2970, 2100, TRUE, 8,
         CSize(21000, 29700)},
        {0, 1, DMORIENT_PORTRAIT, 0, 0, FALSE, -1, CSize(-1, -1)},
    };
    for (const Case& c : cases) {
        HGLOBAL h = DevMode(c.fields, c.paper, c.orientation, c.length, c.width);
        int units = -1;
        CSize size(-1, -1);
        EXPECT_EQ(GetPaperSize(h, &units, &size), c.ok) << c.paper;
        EXPECT_EQ(units, c.units) << c.paper;
        EXPECT_EQ(size, c.size) << c.paper;
        ::GlobalFree(h);
    }
    int units = 0;
    CSize size;
    EXPECT_FALSE(GetPaperSize(NULL, &units, &size));
}

TEST(PageSettings, UnitsAndCopies)
{
    CODPageSettings page;
    PAGESETUPDLGA psd;
    memset(&psd, 0, sizeof(psd));
    psd.Flags = PSD_INTHOUSANDTHSOFINCHES | PSD_MARGINS;
    psd.ptPaperSize.x = 8500;
    psd.ptPaperSize.y = 11000;
    psd.rtMargin = CRect(1000, 1000, 1000, 1000);
    psd.hDevMode = DevMode(DM_PAPERSIZE, 1, DMORIENT_PORTRAIT);
    page.SetPageSetup(&psd);
    EXPECT_NE(page.PeekDevMode(), psd.hDevMode);  // a copy is held
    ::GlobalFree(psd.hDevMode);

    EXPECT_EQ(page.SetUnits(8), 4);
    EXPECT_EQ(page.GetUnits(), 8);
    EXPECT_EQ(page.GetFlags() & PSD_INTHOUSANDTHSOFINCHES, 0u);
    int w, h;
    page.GetPaperSize(&w, &h);
    EXPECT_EQ(w, 21589);  // one short of the exact products
    EXPECT_EQ(h, 27939);
    CRect margins;
    page.GetMargins(&margins);
    EXPECT_EQ(margins.left, 2539);
    EXPECT_EQ(page.SetUnits(8), 8);
    EXPECT_EQ(page.GetPaperSize(), CSize(21589, 27939));

    EXPECT_EQ(PageUnitsForMeasureUnit(4), 8);
    EXPECT_EQ(PageUnitsForMeasureUnit(7), 8);
    EXPECT_EQ(PageUnitsForMeasureUnit(8), 4);
    EXPECT_EQ(PageUnitsForMeasureUnit(0), 4);
    EXPECT_EQ(ConvertPageUnits(123, 4, 4), 123);

    HGLOBAL copy = page.GetDevMode();
    ASSERT_NE(copy, (HGLOBAL)NULL);
    EXPECT_EQ(::GlobalSize(copy), ::GlobalSize(page.PeekDevMode()));
    ::GlobalFree(copy);
    EXPECT_EQ(CopyGlobalHandle(NULL), (HGLOBAL)NULL);
}

TEST(PageSettings, StoredWithoutAPrinter)
{
    CODPageSettings page;
    PAGESETUPDLGA psd;
    memset(&psd, 0, sizeof(psd));
    page.SetPageSetup(&psd);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        page.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(file.GetLength(), 4u + 4 + 4 + 4 + 8 + 16 + 16);
    file.SeekToBegin();
    CODPageSettings back;
    {
        CArchive ar(&file, CArchive::load);
        back.Serialize(ar);
    }
    ASSERT_NE(back.PeekDevNames(), (HGLOBAL)NULL);  // an empty block of each
    EXPECT_EQ(::GlobalSize(back.PeekDevNames()), 0u);
    EXPECT_FALSE(back.HasPrinter());
}

}  // namespace
