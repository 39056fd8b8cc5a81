// The stored form of a drawing: exact bytes of hand-written records, store-load-store
// round trips, older versions, and damaged streams refused with the archive exception while
// the model keeps what it held.
#include "gtest_wine.h"
#include "ODEditProperties.h"
#include "ODFillProperties.h"
#include "ODFontProperties.h"
#include "ODLineProperties.h"
#include "ODOrientationProperties.h"
#include "ODGeometry.h"
#include "SECDib.h"
#include "od_stream_util.h"

namespace {

Bytes EditBody(DWORD id, std::vector<DWORD> members)
{
    Bytes b;
    b.D(1).D(id).D(1);
    for (DWORD m : members)
        b.D(m);
    return b;
}

// The model's own part after its component record: version, page settings as
// PlainPageSettings leaves them, white, no background component.
Bytes ModelTail()
{
    Bytes b;
    b.D(2).D(1).D(0).D(0).D(0).D(0).D(0).Rect(0, 0, 0, 0).Rect(0, 0, 0, 0).D(0xFFFFFF).W(0);
    return b;
}

// The component record of a model with its two edit groups and the given children.
Bytes ModelHead(int childCount)
{
    Bytes b;
    b.D(1).D(0).Str("").Str("").Rect(0, 0, 1000, 1000).W(0).D(1).D(2);
    b.NewClass("CODEditProperties", 1).Add(EditBody(50, {0, 1, 1, 1, 1, 1, 1, 0, 1}));
    b.W(0x8001).Add(EditBody(40, {0, 1, 1, 1, 1, 1, 1, 1, 1}));
    b.D(childCount);
    return b;
}

// A plain component record with no properties, no transform and no children.
Bytes ChildRecord(DWORD id, const std::string& name = "")
{
    Bytes b;
    b.D(1).D(id).Str("").Str(name).Rect(0, 0, 0, 0).W(0).D(1).D(0).D(0).W(0);
    return b;
}

void ExpectArchiveException(const std::vector<BYTE>& bytes, CODModel& model)
{
    bool thrown = false;
    try {
        Load(bytes, [&](CArchive& ar) { model.Serialize(ar); });
    } catch (CArchiveException* e) {
        thrown = true;
        e->Delete();
    } catch (CMemoryException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(StoredForm, EmptyDrawing)
{
    CODModel model;
    PlainPageSettings(model);
    Bytes expected;
    expected.Add(ModelHead(0)).W(0).Add(ModelTail());
    std::vector<BYTE> bytes = StoreModel(model);
    EXPECT_EQ(bytes, expected.v);

    CODModel loaded;
    Load(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(StoreModel(loaded), bytes);
    EXPECT_FALSE(loaded.IsModified());

    // Without a printer a new drawing stores two empty blocks.
    CODModel fresh;
    if (fresh.GetPageSettings()->PeekDevNames() == NULL) {
        EXPECT_FALSE(fresh.GetPageSettings()->HasPrinter());
        EXPECT_EQ(fresh.GetPageSettings()->GetPaperSize(), CSize(0, 0));
    }
}

TEST(StoredForm, PropertyRecords)
{
    CODIntProperty p(210, 2);
    Bytes expected;
    expected.NewClass("CODIntProperty", 1).D(1).D(210).D(2);
    EXPECT_EQ(Store([&](CArchive& ar) { ar << &p; }), expected.v);

    CODOrientationProperties orientation;
    Bytes body;
    body.NewClass("CODOrientationProperties", 1).D(1).D(60).D(1).D(8).D(10).D(10);
    EXPECT_EQ(Store([&](CArchive& ar) { ar << &orientation; }), body.v);

    CODFillProperties fill;
    std::vector<BYTE> bytes = Store([&](CArchive& ar) { ar << &fill; });
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[bytes.size() - 2], 0);
    EXPECT_EQ(bytes[bytes.size() - 1], 0);

    // Each class reads back what it wrote.
    CODLineProperties line;
    line.SetColor(RGB(1, 2, 3));
    line.SetWidth(4, NULL);
    CODFontProperties font;
    font.SetFaceName("Arial");
    font.SetStrikeOut(TRUE);
    CODEditProperties edit;
    edit.SetCanRotate(FALSE);
    CODProperty* originals[] = {&p, &orientation, &fill, &line, &font, &edit};
    for (CODProperty* original : originals) {
        std::vector<BYTE> stored = Store([&](CArchive& ar) { ar << original; });
        CODProperty* back = NULL;
        Load(stored, [&](CArchive& ar) { back = (CODProperty*)ar.ReadObject(RUNTIME_CLASS(CODProperty)); });
        ASSERT_NE(back, nullptr);
        EXPECT_TRUE(back->IsEqual(original)) << original->GetRuntimeClass()->m_lpszClassName;
        delete back;
    }
}

TEST(StoredForm, PatternImageSharedByTwoFillGroups)
{
    // A 2 x 2 image of 24 bits in the bitmap-file layout: the size counts rows of 8 bytes,
    // while the pixels follow as rows of the width rounded up to 4 pixels (24 bytes).
    Bytes dib;
    dib.W(0x4D42).D(70).W(0).W(0).D(54);
    dib.D(40).D(2).D(2).W(1).W(24).D(0).D(0).D(0).D(0).D(0).D(0);
    for (int i = 0; i < 24; ++i)
        dib.B(i < 16 ? (BYTE)(i * 13 + 1) : 0);
    Bytes fillBody;
    fillBody.D(1).D(20).D(1).D(0x00FF00).D(0).D(3).D(3).D(1).D(0xFFFFFF);
    Bytes stream;
    stream.NewClass("CODFillProperties", 1).Add(fillBody).NewClass("SECDib", 1).Add(dib);
    // The second group refers to the image read with the first (class 1, fill 2, class 3, image 4).
    stream.W(0x8001).Add(fillBody).W(4);

    CODFillProperties* first = NULL;
    CODFillProperties* second = NULL;
    Load(stream.v, [&](CArchive& ar) {
        first = (CODFillProperties*)ar.ReadObject(RUNTIME_CLASS(CODFillProperties));
        second = (CODFillProperties*)ar.ReadObject(RUNTIME_CLASS(CODFillProperties));
    });
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first->GetPatternImage(), nullptr);
    EXPECT_EQ(first->GetPatternImage(), second->GetPatternImage());
    EXPECT_EQ(((SECPixelImage*)first->GetPatternImage())->GetWidth(), 2);
    std::vector<BYTE> again = Store([&](CArchive& ar) { ar << first << second; });
    EXPECT_EQ(FirstDifference(again, stream.v), -1) << again.size() << " " << stream.v.size();

    // The image lives while any group holds it: the cache's copy keeps it after both go.
    CODPropertyPtr shared = CODPropertyCache::GetCache()->Intern(*first);
    delete first;
    delete second;
    CODFillProperties* kept = static_cast<CODFillProperties*>(shared.Get());
    ASSERT_NE(kept->GetPatternImage(), nullptr);
    EXPECT_EQ(((SECPixelImage*)kept->GetPatternImage())->GetHeight(), 2);
    HDC mem = ::CreateCompatibleDC(NULL);
    CDC dc;
    dc.Attach(mem);
    CBrush* brush = kept->CreateBrush(&dc);
    LOGBRUSH lb;
    brush->GetLogBrush(&lb);
    EXPECT_EQ(lb.lbStyle, (UINT)BS_PATTERN);
    delete brush;
    dc.Detach();
    ::DeleteDC(mem);
}

TEST(StoredForm, StringsAndSharedObjects)
{
    CODModel model;
    PlainPageSettings(model);
    CODComponent* a = new CODComponent;
    a->SetName(CString('x', 254));
    CODComponent* b = new CODComponent;
    b->SetName(CString('y', 255));
    a->SetOrAddProperty(CODLineProperties(10));
    b->SetOrAddProperty(CODLineProperties(10));
    model.AppendChild(a);
    model.AppendChild(b);
    ASSERT_EQ(a->FindProperty(10), b->FindProperty(10));
    std::vector<BYTE> bytes = StoreModel(model);

    std::string x254(254, 'x'), y255(255, 'y');
    auto find = [&](const std::vector<BYTE>& pattern) {
        return std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end()) != bytes.end();
    };
    Bytes s254, s255;
    s254.Str(x254);
    s255.Str(y255);
    EXPECT_TRUE(find(s254.v));
    EXPECT_EQ(s255.v[0], 0xFF);
    EXPECT_EQ(s255.v[1], 0xFF);
    EXPECT_EQ(s255.v[2], 0x00);
    EXPECT_TRUE(find(s255.v));

    // The line group is written once; b's list refers back to it with two bytes.
    int lineRecords = 0;
    const std::string name = "CODLineProperties";
    for (size_t i = 0; i + name.size() <= bytes.size(); ++i)
        if (memcmp(&bytes[i], name.data(), name.size()) == 0)
            ++lineRecords;
    EXPECT_EQ(lineRecords, 1);

    CODModel loaded;
    Load(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    ASSERT_EQ(loaded.GetChildCount(), 2);
    EXPECT_EQ(loaded.GetChild(0)->FindProperty(10), loaded.GetChild(1)->FindProperty(10));
    EXPECT_EQ(loaded.GetChild(1)->GetName().GetLength(), 255);
    EXPECT_EQ(StoreModel(loaded), bytes);
}

TEST(StoredForm, OlderVersions)
{
    // Model version 1 with the old page settings: a DEVNAMES header with its three strings,
    // a 148-byte DEVMODE and 8 unused bytes.
    Bytes old;
    old.Add(ModelHead(0)).W(0).D(1);
    old.W(16).W(24).W(32).W(0);
    old.D(4).Chars("drv1").D(3).Chars("dev").D(5).Chars("port:");
    std::vector<BYTE> mode(148, 0);
    mode[36] = 148;  // dmSize
    old.Raw(mode.data(), mode.size()).D(0xDEADBEEF).D(0xDEADBEEF);
    old.D(PSD_INTHOUSANDTHSOFINCHES).D(8500).D(11000).Rect(1, 2, 3, 4).Rect(5, 6, 7, 8);
    old.D(0x123456).W(0);

    CODModel model;
    Load(old.v, [&](CArchive& ar) { model.Serialize(ar); });
    CODPageSettings* page = model.GetPageSettings();
    EXPECT_EQ(page->GetUnits(), 4);
    EXPECT_EQ(page->GetPaperSize(), CSize(8500, 11000));
    EXPECT_EQ(model.GetBackgroundColor(), 0x123456u);
    ASSERT_NE(page->PeekDevNames(), nullptr);
    EXPECT_EQ(::GlobalSize(page->PeekDevNames()), 1032u);
    const char* names = (const char*)::GlobalLock(page->PeekDevNames());
    EXPECT_STREQ(names + 16, "drv1");
    EXPECT_STREQ(names + 24, "dev");
    EXPECT_STREQ(names + 32, "port:");
    ::GlobalUnlock(page->PeekDevNames());
    EXPECT_FALSE(page->HasPrinter());  // no such printer here

    // Written back, it is version 2 with the blocks in the current form.
    std::vector<BYTE> again = StoreModel(model);
    Bytes head = ModelHead(0);
    head.W(0).D(2).D(1).D(1032);
    ASSERT_GT(again.size(), head.v.size());
    EXPECT_TRUE(std::equal(head.v.begin(), head.v.end(), again.begin()));

    // Line and font records of version 1 have no logical sizes: they follow from the points.
    Bytes line1;
    line1.NewClass("CODLineProperties", 1).D(1).D(10).D(1).D(0xFF).D(0).D(3).D(2);
    Bytes font1;
    font1.NewClass("CODFontProperties", 1).D(1).D(30).D(1).Str("Arial").D(12).D(0).D(700).D(1).D(0).D(0);
    CODLineProperties* line = NULL;
    CODFontProperties* font = NULL;
    Load(line1.v, [&](CArchive& ar) { line = (CODLineProperties*)ar.ReadObject(RUNTIME_CLASS(CODProperty)); });
    Load(font1.v, [&](CArchive& ar) { font = (CODFontProperties*)ar.ReadObject(RUNTIME_CLASS(CODProperty)); });
    ASSERT_NE(line, nullptr);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(line->GetStyle(), 2);
    EXPECT_EQ(line->GetLogicalWidth(), PointsToLogical(3, NULL, 1));
    EXPECT_EQ(font->GetWeight(), 700);
    EXPECT_TRUE(font->GetItalic());
    EXPECT_EQ(font->GetLogicalHeight(), PointsToLogical(12, NULL, 1));
    delete line;
    delete font;
}

TEST(StoredForm, DuplicateIdsAndLoadingIntoADrawing)
{
    Bytes stream;
    stream.Add(ModelHead(2)).NewClass("CODComponent", 1).Add(ChildRecord(77, "first"));
    stream.W(0x8004).Add(ChildRecord(77, "second")).W(0).Add(ModelTail());
    CODModel model;
    CODComponent* existing = new CODComponent;
    model.AppendChild(existing);
    Load(stream.v, [&](CArchive& ar) { model.Serialize(ar); });
    ASSERT_EQ(model.GetChildCount(), 3);
    EXPECT_EQ(model.GetChild(0), existing);
    EXPECT_EQ(model.GetChild(1)->GetId(), 77u);
    EXPECT_NE(model.GetChild(2)->GetId(), 77u);
    EXPECT_EQ(model.FindById(model.GetChild(2)->GetId()), model.GetChild(2));
    EXPECT_EQ(model.GetRegisteredCount(), 3);
    CODComponentSet all;
    model.GetComponentsOverlapping(&all, CRect(-10, -10, 10, 10));
    EXPECT_EQ(all.GetSize(), 3);
}

TEST(StoredForm, DamagedStreamsAreRefusedAndLeaveTheModelAsItWas)
{
    std::vector<std::vector<BYTE>> cases;
    {  // a child count far beyond the bytes there
        Bytes b;
        b.Add(ModelHead(0x7FFFFFFF));
        cases.push_back(b.v);
    }
    {  // a second parent for a child read before
        Bytes b;
        b.Add(ModelHead(2)).NewClass("CODComponent", 1).Add(ChildRecord(1));
        b.W(0x8004).D(1).D(2).Str("").Str("").Rect(0, 0, 0, 0).W(0).D(1).D(0).D(1).W(5).W(0);
        b.W(0).Add(ModelTail());
        cases.push_back(b.v);
    }
    {  // a component that is its own child
        Bytes b;
        b.Add(ModelHead(1)).NewClass("CODComponent", 1);
        b.D(1).D(3).Str("").Str("").Rect(0, 0, 0, 0).W(0).D(1).D(0).D(1).W(5).W(0);
        b.W(0).Add(ModelTail());
        cases.push_back(b.v);
    }
    {  // an old page-settings string that does not fit the block with its terminator
        Bytes b;
        b.Add(ModelHead(0)).W(0).D(1).W(1020).W(24).W(32).W(0).D(12).Chars("123456789012");
        cases.push_back(b.v);
    }
    {  // a DEVNAMES length beyond the stream
        Bytes b;
        b.Add(ModelHead(0)).W(0).D(2).D(1).D(100000);
        cases.push_back(b.v);
    }
    {  // a property where a component belongs
        Bytes b;
        b.Add(ModelHead(1)).W(0x8001).Add(EditBody(40, {0, 1, 1, 1, 1, 1, 1, 1, 1}));
        cases.push_back(b.v);
    }
    {  // a NULL child
        Bytes b;
        b.Add(ModelHead(1)).W(0).Add(ModelTail());
        cases.push_back(b.v);
    }
    {  // a NULL property
        Bytes b;
        b.D(1).D(0).Str("").Str("").Rect(0, 0, 1000, 1000).W(0).D(1).D(1).W(0).D(0).W(0).Add(ModelTail());
        cases.push_back(b.v);
    }
    {  // a background component that is a child already
        Bytes b;
        b.Add(ModelHead(1)).NewClass("CODComponent", 1).Add(ChildRecord(9));
        std::vector<BYTE> tail = ModelTail().v;
        tail.resize(tail.size() - 2);
        b.Raw(tail.data(), tail.size()).W(5);
        cases.push_back(b.v);
    }
    {  // a background component that is a drawing
        Bytes b;
        b.Add(ModelHead(0)).W(0);
        std::vector<BYTE> tail = ModelTail().v;
        tail.resize(tail.size() - 2);
        b.Raw(tail.data(), tail.size()).NewClass("CODModel", 1).Add(ModelHead(0)).W(0).Add(ModelTail());
        cases.push_back(b.v);
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        CODModel model;
        LivedInModel(model);
        const std::vector<BYTE> before = StoreModel(model);
        ExpectArchiveException(cases[i], model);
        EXPECT_EQ(model.GetChildCount(), 2) << i;
        EXPECT_EQ(model.GetRegisteredCount(), 2) << i;
        CODComponentSet all;
        model.GetComponentsOverlapping(&all, CRect(0, 0, 1200, 800));
        EXPECT_EQ(all.GetSize(), 2) << i;
        EXPECT_EQ(FirstDifference(StoreModel(model), before), -1) << i;
    }
}

TEST(StoredForm, PrinterBlocksThatAreNotWellFormedMeanNoPrinter)
{
    Bytes b;
    b.Add(ModelHead(0)).W(0).D(2).D(1);
    b.D(10).W(500).W(600).W(700).W(1).B(1).B(2);  // offsets outside the block
    b.D(4).D(0xFFFFFFFF);                          // a DEVMODE that is no DEVMODE
    b.D(0).D(0).D(0).Rect(0, 0, 0, 0).Rect(0, 0, 0, 0).D(0).W(0);
    CODModel model;
    Load(b.v, [&](CArchive& ar) { model.Serialize(ar); });
    EXPECT_FALSE(model.GetPageSettings()->HasPrinter());
    EXPECT_EQ(model.GetPageSettings()->CreatePrinterDC(), (HDC)NULL);
    EXPECT_EQ(::GlobalSize(model.GetPageSettings()->PeekDevNames()), 10u);
    EXPECT_EQ(StoreModel(model), b.v);  // kept as read
}

}  // namespace
