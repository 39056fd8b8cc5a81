// Image components: entries shared by source, the icon reader and its refusals, drawing with
// a transparent colour, corner drags and the stored record.
#include "gtest_wine.h"
#include <string>
#include <vector>
#include "ODEditProperties.h"
#include "ODImageComponent.h"
#include "ODModel.h"
#include "od_stream_util.h"
#include "od_test_canvas.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

CString TempPath(const char* prefix)
{
    char dir[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, prefix, 0, path);
    return path;
}

void WriteFile(const CString& path, const std::vector<BYTE>& bytes)
{
    CFile f(path, CFile::modeCreate | CFile::modeWrite);
    f.Write(bytes.data(), (UINT)bytes.size());
}

// A 24-bit bitmap file of 4 x 2 pixels, bottom row first: the top row is magenta, almost
// magenta (254, 0, 255), blue, blue; the bottom row all red.
std::vector<BYTE> BitmapFile()
{
    Bytes b;
    b.W(0x4D42).D(14 + 40 + 2 * 12).W(0).W(0).D(14 + 40);
    b.D(40).D(4).D(2).W(1).W(24).D(0).D(0).D(0).D(0).D(0).D(0);
    for (int x = 0; x < 4; ++x)
        b.B(0).B(0).B(255);  // red, as blue green red
    b.B(255).B(0).B(255).B(255).B(0).B(254).B(255).B(0).B(0).B(255).B(0).B(0);
    return b.v;
}

// A 16 x 16 icon of 24 bits: red on the right half, transparent (mask 1, colour black) on the
// left half.
std::vector<BYTE> IconImage()
{
    Bytes b;
    b.D(40).D(16).D(32).W(1).W(24).D(0).D(0).D(0).D(0).D(0).D(0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            x < 8 ? b.B(0).B(0).B(0) : b.B(0).B(0).B(255);
    for (int y = 0; y < 16; ++y)
        b.B(0xFF).B(0).B(0).B(0);
    return b.v;
}

std::vector<BYTE> IconFile(const std::vector<BYTE>& image)
{
    Bytes b;
    b.W(0).W(1).W(1);
    b.B(16).B(16).B(0).B(0).W(1).W(24).D((DWORD)image.size()).D(6 + 16);
    b.Raw(image.data(), image.size());
    return b.v;
}

}  // namespace

TEST(Images, SharedByPathButNotByCaseNorFromBitmaps)
{
    CString path = TempPath("bmp");
    WriteFile(path, BitmapFile());
    CODImageComponent a, b, c;
    ASSERT_TRUE(a.CreateFromFile(path, FALSE, 0));
    ASSERT_TRUE(b.CreateFromFile(path, FALSE, 0));
    EXPECT_EQ(a.GetImageEntry(), b.GetImageEntry());
    EXPECT_FALSE(a.IsLoadedAsIcon());
    EXPECT_EQ(a.GetType(), "Image");
    CODEditProperties edit;
    ASSERT_TRUE(a.GetProperty(40, edit));
    EXPECT_FALSE(edit.GetCanRotate());
    CPoint v[4];
    ASSERT_EQ(a.GetVertexCount(), 4);
    a.CopyVertices(v);
    EXPECT_EQ(v[0], CPoint(0, 0));
    EXPECT_EQ(v[2], CPoint(4, 2));
    // Wine finds the file whatever the case, but the entry's source differs.
    CString upper = path;
    upper.MakeUpper();
    ASSERT_TRUE(c.CreateFromFile(upper, FALSE, 0));
    EXPECT_NE(c.GetImageEntry(), a.GetImageEntry());
    // A copy (as the undo history keeps) shares the entry too.
    std::unique_ptr<CODComponent> copy(a.Clone());
    EXPECT_EQ(((CODImageComponent*)copy.get())->GetImageEntry(), a.GetImageEntry());

    CBitmap bitmap;
    bitmap.CreateBitmap(3, 3, 1, 32, NULL);
    CODImageComponent d, e;
    ASSERT_TRUE(d.CreateFromBitmap(&bitmap, FALSE, 0));
    ASSERT_TRUE(e.CreateFromBitmap(&bitmap, FALSE, 0));
    EXPECT_NE(d.GetImageEntry(), e.GetImageEntry());

    // A failed load keeps the previous image and vertices.
    CODImageEntry* before = a.GetImageEntry();
    EXPECT_FALSE(a.LoadFromFile(path + ".missing", FALSE, 0));
    EXPECT_EQ(a.GetImageEntry(), before);
    EXPECT_EQ(a.GetVertexCount(), 4);
    DeleteFileA(path);
}

TEST(Images, StoreLetsGoOfEntriesNoComponentHolds)
{
    CString path = TempPath("bmp");
    WriteFile(path, BitmapFile());
    CODImageStore& store = CODImageStore::Instance();
    store.Purge();
    int before = store.GetCount();
    {
        CODImageComponent a;
        ASSERT_TRUE(a.CreateFromFile(path, FALSE, 0));
        EXPECT_EQ(store.GetCount(), before + 1);
        EXPECT_EQ(a.GetImageEntry()->GetRefCount(), 2);  // the component and the store
    }
    store.Purge();
    EXPECT_EQ(store.GetCount(), before);
    DeleteFileA(path);
}

TEST(Images, TransparentColourLeftOutExactly)
{
    CString path = TempPath("bmp");
    WriteFile(path, BitmapFile());
    CODImageComponent image;
    ASSERT_TRUE(image.CreateFromFile(path, TRUE, kMagenta));
    Canvas canvas(8, 4, 0x00FF00);  // green
    image.OnDraw(&canvas.dc);
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 255, 0));    // exactly magenta: the background shows
    EXPECT_EQ(canvas.At(1, 0), RGB(254, 0, 255));  // one component off: drawn
    EXPECT_EQ(canvas.At(2, 0), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(0, 1), RGB(255, 0, 0));
    // Not transparent: every pixel drawn, stretched into the box.
    image.SetTransparent(FALSE);
    image.OffsetVertex(2, 4, 2);  // 8 x 4
    image.UpdateRegion(FALSE);
    Canvas plain(8, 4, 0x00FF00);
    image.OnDraw(&plain.dc);
    EXPECT_EQ(plain.At(0, 0), kMagenta);
    EXPECT_EQ(plain.At(1, 1), kMagenta);
    EXPECT_EQ(plain.At(7, 3), RGB(255, 0, 0));
    DeleteFileA(path);
}

TEST(Images, IconFallbackDrawnOnTheTransparentColour)
{
    CString path = TempPath("ico");
    WriteFile(path, IconFile(IconImage()));
    CODImageComponent icon;
    ASSERT_TRUE(icon.CreateFromFile(path, TRUE, kMagenta));
    EXPECT_TRUE(icon.IsLoadedAsIcon());
    CODDib* dib = icon.GetImageEntry()->GetImage();
    EXPECT_EQ(dib->GetWidth(), 16);
    EXPECT_EQ(dib->GetHeight(), 16);
    Canvas canvas(16, 16, 0x00FF00);
    icon.OnDraw(&canvas.dc);
    EXPECT_EQ(canvas.At(2, 5), RGB(0, 255, 0));   // the icon's transparent half
    EXPECT_EQ(canvas.At(12, 5), RGB(255, 0, 0));

    // A new colour: the entry's pixels are drawn on it and the masks follow.
    icon.SetTransparency(RGB(0, 0, 255));
    EXPECT_EQ(icon.GetTransparentColor(), RGB(0, 0, 255));
    Canvas again(16, 16, 0x00FF00);
    icon.SetTransparent(FALSE);
    icon.OnDraw(&again.dc);
    EXPECT_EQ(again.At(2, 5), RGB(0, 0, 255));
    icon.SetTransparent(TRUE);
    Canvas third(16, 16, 0x00FF00);
    icon.OnDraw(&third.dc);
    EXPECT_EQ(third.At(2, 5), RGB(0, 255, 0));
    EXPECT_EQ(third.At(12, 5), RGB(255, 0, 0));
    DeleteFileA(path);
}

TEST(Images, HostileIconFilesRefused)
{
    std::vector<BYTE> image = IconImage();
    std::vector<BYTE> good = IconFile(image);
    auto put16 = [](std::vector<BYTE> f, size_t at, WORD w) {
        memcpy(&f[at], &w, 2);
        return f;
    };
    auto put32 = [](std::vector<BYTE> f, size_t at, DWORD d) {
        memcpy(&f[at], &d, 4);
        return f;
    };
    const size_t entry = 6, header = 22;
    struct Case {
        const char* what;
        std::vector<BYTE> file;
    } cases[] = {
        {"reserved word not 0", put16(good, 0, 1)},
        {"type not 1", put16(good, 2, 2)},
        {"no images", put16(good, 4, 0)},
        {"more images than the file holds", put16(good, 4, 5000)},
        {"image past the end", put32(good, entry + 12, (DWORD)good.size())},
        {"size past the end", put32(good, entry + 8, (DWORD)image.size() + 1)},
        {"size below a header", put32(good, entry + 8, 8)},
        {"header size past the block", put32(good, header, 100000)},
        {"height beyond the rows", put32(good, header + 8, 64)},
        {"negative width", put32(good, header + 4, 0xFFFFFFF0)},
        {"unknown bit count", put16(good, header + 14, 7)},
        {"colour table past the block", put32(good, header + 32, 256)},
        {"truncated", std::vector<BYTE>(good.begin(), good.begin() + 40)},
    };
    CString path = TempPath("ico");
    WriteFile(path, good);
    ODIconSet* set = LoadIconFile(path);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->count, 1);
    EXPECT_EQ(set->images[0].width, 16);
    EXPECT_EQ(set->images[0].height, 16);
    EXPECT_EQ(set->images[0].maskBits - set->images[0].bytes, 40 + 16 * 48);
    FreeIconSet(set);
    for (const Case& c : cases) {
        WriteFile(path, c.file);
        ODIconSet* bad = LoadIconFile(path);
        EXPECT_EQ(bad, nullptr) << c.what;
        FreeIconSet(bad);
        CODImageComponent component;
        EXPECT_FALSE(component.CreateFromFile(path, FALSE, 0)) << c.what;
        EXPECT_EQ(component.GetImageEntry(), nullptr) << c.what;
    }
    DeleteFileA(path);
}

TEST(Images, CornersStayARectangle)
{
    CBitmap bitmap;
    bitmap.CreateBitmap(100, 50, 1, 32, NULL);
    CODImageComponent image;
    ASSERT_TRUE(image.CreateFromBitmap(&bitmap, FALSE, 0));
    CPoint v[4];
    struct Case {
        int index, dx, dy, code;
        CRect after;  // vertex 0 to vertex 2
    } cases[] = {
        {0, 100, 0, 1, CRect(0, 0, 100, 50)},   // width 0: unchanged
        {1, 0, 50, 2, CRect(0, 0, 100, 50)},    // height 0
        {2, -100, -50, 3, CRect(0, 0, 100, 50)},
        {4, 1, 1, 3, CRect(0, 0, 100, 50)},     // no such vertex
        {3, 10, 5, 0, CRect(10, 0, 100, 55)},
        {1, -20, 5, 0, CRect(10, 5, 80, 55)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(image.OffsetVertex(c.index, c.dx, c.dy), c.code) << c.index;
        image.CopyVertices(v);
        EXPECT_EQ(CRect(v[0], v[2]), c.after) << c.index;
        EXPECT_EQ(v[1], CPoint(v[2].x, v[0].y));
        EXPECT_EQ(v[3], CPoint(v[0].x, v[2].y));
    }
    // Sized to the image again: centred in the old box.
    image.SizeToImage();
    image.CopyVertices(v);
    EXPECT_EQ(CRect(v[0], v[2]), CRect(-5, 5, 95, 55));
}

TEST(Images, RecordByteExactAndSharedAfterLoading)
{
    CString path = TempPath("bmp");
    WriteFile(path, BitmapFile());
    CODImageComponent* image = new CODImageComponent;
    image->AddRef();
    ASSERT_TRUE(image->CreateFromFile(path, TRUE, RGB(1, 2, 3)));
    std::vector<BYTE> stored = Store([&](CArchive& ar) { ar.WriteObject(image); });
    std::vector<BYTE> dib =
        Store([&](CArchive& ar) { image->GetImageEntry()->GetImage()->Serialize(ar); });
    Bytes want;
    want.NewClass("CODImageComponent", 2);
    want.D(2).D(0).Str((LPCTSTR)path).Raw(dib.data(), dib.size()).D(1).D(0).D(RGB(1, 2, 3));
    ASSERT_GT(stored.size(), want.v.size());
    EXPECT_EQ(FirstDifference(std::vector<BYTE>(stored.begin(), stored.begin() + want.v.size()),
                              want.v),
              -1);
    // The DIB is a bitmap file of 14 + 40 header bytes and two rows of 12 bytes.
    ASSERT_EQ(dib.size(), 14u + 40 + 24);
    EXPECT_EQ(dib[0], 'B');
    EXPECT_EQ(dib[1], 'M');

    CODImageComponent* back = nullptr;
    Load(stored, [&](CArchive& ar) {
        back = (CODImageComponent*)ar.ReadObject(RUNTIME_CLASS(CODImageComponent));
    });
    ASSERT_NE(back, nullptr);
    back->AddRef();
    EXPECT_EQ(back->GetImageEntry(), image->GetImageEntry());  // the same path: shared
    EXPECT_TRUE(back->GetTransparent());
    EXPECT_EQ(back->GetTransparentColor(), RGB(1, 2, 3));
    EXPECT_EQ(back->GetType(), "Image");
    EXPECT_EQ(FirstDifference(Store([&](CArchive& ar) { ar.WriteObject(back); }), stored), -1);

    // A version 1 record has no loaded-as-icon flag: the same record with the version 1 and
    // that flag taken out reads the same image.
    std::vector<BYTE> v1 = stored;
    size_t at = Bytes().NewClass("CODImageComponent", 2).v.size();
    v1[at] = 1;
    v1.erase(v1.begin() + (want.v.size() - 8), v1.begin() + (want.v.size() - 4));
    CODImageComponent* old = nullptr;
    Load(v1, [&](CArchive& ar) {
        old = (CODImageComponent*)ar.ReadObject(RUNTIME_CLASS(CODImageComponent));
    });
    ASSERT_NE(old, nullptr);
    old->AddRef();
    EXPECT_TRUE(old->GetTransparent());
    EXPECT_EQ(old->GetTransparentColor(), RGB(1, 2, 3));
    EXPECT_EQ(old->GetImageEntry(), image->GetImageEntry());
    old->Release();
    back->Release();
    image->Release();
    DeleteFileA(path);
}
