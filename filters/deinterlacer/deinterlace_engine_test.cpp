#include "gtest_wine.h"
#include "deinterlace_engine.h"
#include "deinterlace_kernels.h"
#include "stretch.h"
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// Pixel (x, y) of a coded frame holds y << 16 | x: every output pixel tells where it came
// from. Buffers end on an inaccessible page, so a read or write past them faults at once.
struct GuardedFrame {
    int w, h;
    uint8_t* base = nullptr;
    size_t span = 0;
    uint32_t* px = nullptr;

    GuardedFrame(int w_, int h_) : w(w_), h(h_)
    {
        const size_t page = 4096, bytes = size_t(w) * h * 4;
        const size_t pages = (bytes + page - 1) / page;
        span = (pages + 1) * page;
        base = (uint8_t*)VirtualAlloc(nullptr, span, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        DWORD old;
        VirtualProtect(base + pages * page, page, PAGE_NOACCESS, &old);
        px = (uint32_t*)(base + pages * page - bytes);
        Code();
    }
    ~GuardedFrame() { VirtualFree(base, 0, MEM_RELEASE); }
    void Code()
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                at(x, y) = uint32_t(y) << 16 | uint32_t(x);
    }
    uint32_t& at(int x, int y) { return px[size_t(y) * w + x]; }
    int SrcX(int x, int y) { return at(x, y) & 0xFFFF; }
    int SrcY(int x, int y) { return at(x, y) >> 16; }
    uint8_t* bits() { return (uint8_t*)px; }
};

DeinterlaceSettings Active(int field = 0)
{
    DeinterlaceSettings s;
    s.bypass = FALSE;
    s.field = field;
    return s;
}

// Checks every pixel of the reference rectangle (buffer rows top..top+rows, columns
// 0..cols) against the source position the geometry says it shows, within `slack` pixels
// (the interpolation is free, the geometry is not), and that each source row belongs to
// the kept field.
void ExpectMapped(GuardedFrame& f, int top, int rows, int cols,
                  std::function<double(int)> srcX, std::function<double(int)> srcY, int field,
                  double slack = 1.5)
{
    int bad = 0;
    for (int y = top; y < top + rows && bad < 5; ++y)
        for (int x = 0; x < cols && bad < 5; ++x) {
            const int sx = f.SrcX(x, y), sy = f.SrcY(x, y);
            const bool ok = std::fabs(sx - srcX(x)) <= slack &&
                            std::fabs(sy - srcY(y)) <= slack + 1 &&
                            (field < 0 || sy % 2 == field || sy == 0);
            if (!ok) {
                ++bad;
                ADD_FAILURE() << "(" << x << ", " << y << ") shows (" << sx << ", " << sy
                              << "), expected about (" << srcX(x) << ", " << srcY(y) << ")";
            }
        }
}

TEST(DeinterlaceGeometry, Table)
{
    struct Case {
        const char* name;
        int w, h;
        float crop[4], mask[4];
        BOOL scale;
        int mW, mH, cx, cy, cw, ch, extra;
        bool s, fix, crop_;
    } cases[] = {
        {"NTSC full", 720, 480, {0, 0, 1, 1}, {0, 0, 1, 1}, TRUE, 608, 456, 0, 0, 608, 456, 24, true, false, false},
        {"PAL full", 720, 576, {0, 0, 1, 1}, {0, 0, 1, 1}, TRUE, 608, 456, 0, 0, 608, 456, 120, true, true, false},
        {"comparison", 720, 480, {0.25f, 0, 0.5f, 1}, {0.25f, 0, 0.5f, 1}, TRUE, 304, 456, 152, 0, 304, 456, 24, true, false, true},
        {"narrow frame", 320, 240, {0, 0, 1, 1}, {0, 0, 1, 1}, TRUE, 320, 240, 0, 0, 320, 240, 0, false, false, false},
        {"wide but low", 720, 288, {0, 0, 1, 1}, {0, 0, 1, 1}, TRUE, 720, 288, 0, 0, 720, 288, 0, false, true, false},
        {"out of range", 720, 480, {-1, 2, NAN, 5}, {0, 0, NAN, -3}, TRUE, 608, 0, 0, 456, 608, 456, 24, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeinterlaceSettings s = Active();
        for (int i = 0; i < 4; ++i) {
            s.crop[i] = c.crop[i];
            s.mask[i] = c.mask[i];
        }
        s.scaleToFrame = c.scale;
        DeinterlaceGeometry g = ComputeDeinterlaceGeometry(s, c.w, c.h);
        EXPECT_EQ(g.maskWidth, c.mW);
        EXPECT_EQ(g.maskHeight, c.mH);
        EXPECT_EQ(g.cropX, c.cx);
        EXPECT_EQ(g.cropY, c.cy);
        EXPECT_EQ(g.cropWidth, c.cw);
        EXPECT_EQ(g.cropHeight, c.ch);
        EXPECT_EQ(g.extra, c.extra);
        EXPECT_EQ(g.scale, c.s);
        EXPECT_EQ(g.fixUp, c.fix);
        EXPECT_EQ(g.cropActive, c.crop_);
    }
}

TEST(DeinterlaceEngine, BypassLeavesTheFrameAndServesASnapshotWithoutDc)
{
    CDeinterlaceEngine e;
    ASSERT_TRUE(e.Ready());
    GuardedFrame f(720, 480);
    DeinterlaceSettings s;   // fresh: bypass
    std::vector<uint32_t> before(f.px, f.px + 720 * 480);
    EXPECT_FALSE(e.Process(f.bits(), 720, 480, 4, s, nullptr, false, nullptr));
    EXPECT_TRUE(e.Process(f.bits(), 720, 480, 4, s, nullptr, true, nullptr));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), f.px));
}

TEST(DeinterlaceEngine, FieldIsDoubledAndScaledIntoTheReference)
{
    for (int field : {0, 1}) {
        SCOPED_TRACE(field);
        CDeinterlaceEngine e;
        GuardedFrame f(720, 480);
        e.Process(f.bits(), 720, 480, 4, Active(field), nullptr, false, nullptr);
        ExpectMapped(f, 24, 456, 608, [](int x) { return (x + 0.5) * 720 / 608 - 0.5; },
                     [](int y) { return (y - 24 + 0.5) * 480 / 456 - 0.5; }, field);
    }
}

// The field named as the only one read really is: with the other field's rows spoiled
// (but the first row, which the second field shows) the picture made is the same. Settings that read more name none.
TEST(DeinterlaceEngine, FieldRowsReadAreTheOnlyRowsRead)
{
    struct Case {
        const char* what;
        int height;
        DeinterlaceSettings s;
        bool compositing;
        int field;
    };
    DeinterlaceSettings masked = Active(1), cropped = Active(0), mirrored = Active(0), unscaled = Active(0);
    masked.mask[2] = 0.5f;
    cropped.crop[0] = 0.25f, cropped.crop[2] = 0.5f;
    mirrored.mirror = TRUE;
    unscaled.scaleToFrame = FALSE;
    const Case cases[] = {
        {"first field", 480, Active(0), false, 0},  {"second field", 480, Active(1), false, 1},
        {"masked", 480, masked, false, 1},          {"bypass", 480, DeinterlaceSettings(), false, -1},
        {"composite", 480, Active(0), true, -1},    {"cropped", 480, cropped, false, -1},
        {"mirrored", 480, mirrored, false, -1},     {"not scaled", 480, unscaled, false, -1},
        {"PAL second field", 576, Active(1), false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int field = CDeinterlaceEngine::FieldRowsRead(720, c.height, 4, c.s, c.compositing);
        EXPECT_EQ(field, c.field);
        if (field < 0)
            continue;
        CDeinterlaceEngine e;
        GuardedFrame whole(720, c.height), spoiled(720, c.height);
        // The second field shows the first row as it is (no row of its own above it).
        for (int y = field == 1 ? 2 : 1; y < c.height; y += 2)
            for (int x = 0; x < 720; ++x)
                spoiled.at(x, y) = 0xDEADBEEF;
        e.Process(whole.bits(), 720, c.height, 4, c.s, nullptr, false, nullptr);
        e.Process(spoiled.bits(), 720, c.height, 4, c.s, nullptr, false, nullptr);
        EXPECT_EQ(memcmp(whole.bits(), spoiled.bits(), size_t(720) * c.height * 4), 0);
    }
}

TEST(DeinterlaceEngine, MirrorTurnsColumns)
{
    CDeinterlaceEngine e;
    GuardedFrame f(720, 480);
    DeinterlaceSettings s = Active(0);
    s.mirror = TRUE;
    e.Process(f.bits(), 720, 480, 4, s, nullptr, false, nullptr);
    ExpectMapped(f, 24, 456, 608, [](int x) { return 719 - ((x + 0.5) * 720 / 608 - 0.5); },
                 [](int y) { return (y - 24 + 0.5) * 480 / 456 - 0.5; }, 0);
}

TEST(DeinterlaceEngine, ComparisonCropAndMaskTakeTheMiddleColumns)
{
    CDeinterlaceEngine e;
    GuardedFrame f(720, 480);
    DeinterlaceSettings s = Active(1);
    const float half[4] = {0.25f, 0, 0.5f, 1};
    for (int i = 0; i < 4; ++i)
        s.crop[i] = s.mask[i] = half[i];
    e.Process(f.bits(), 720, 480, 4, s, nullptr, false, nullptr);
    // Columns 180 to 539, all 480 rows, into 304 x 456 at the top left.
    ExpectMapped(f, 24, 456, 304, [](int x) { return 180 + (x + 0.5) * 360 / 304 - 0.5; },
                 [](int y) { return (y - 24 + 0.5) * 480 / 456 - 0.5; }, 1, 2.5);
}

TEST(DeinterlaceEngine, ZoomCropShowsTheMiddleQuarter)
{
    CDeinterlaceEngine e;
    GuardedFrame f(720, 480);
    DeinterlaceSettings s = Active(0);
    const float zoom[4] = {0.25f, 0.25f, 0.5f, 0.5f};
    for (int i = 0; i < 4; ++i)
        s.crop[i] = zoom[i];
    e.Process(f.bits(), 720, 480, 4, s, nullptr, false, nullptr);
    ExpectMapped(f, 24, 456, 608, [](int x) { return 180 + (x + 0.5) * 360 / 608 - 0.5; },
                 [](int y) { return 120 + (y - 24 + 0.5) * 240 / 456 - 0.5; }, 0, 2);
}

TEST(DeinterlaceEngine, NarrowFrameIsItsOwnReference)
{
    CDeinterlaceEngine e;
    GuardedFrame f(320, 240);
    e.Process(f.bits(), 320, 240, 4, Active(1), nullptr, false, nullptr);
    for (int y = 1; y < 240; ++y) {
        EXPECT_EQ(f.SrcY(5, y), y % 2 ? y : y - 1) << y;
        EXPECT_EQ(f.SrcX(317, y), 317);
    }
    EXPECT_EQ(f.SrcY(0, 0), 0);
}

TEST(DeinterlaceEngine, PalSecondFieldDoublesTheTopLine)
{
    CDeinterlaceEngine e;
    GuardedFrame f(720, 576);
    DeinterlaceSettings s = Active(1);
    s.scaleToFrame = FALSE;
    e.Process(f.bits(), 720, 576, 4, s, nullptr, false, nullptr);
    EXPECT_EQ(f.SrcY(0, 575), 575);
    EXPECT_EQ(f.SrcY(0, 574), 575);
    EXPECT_EQ(f.SrcY(0, 572), 571);
    EXPECT_EQ(f.SrcY(0, 573), 573);
}

TEST(DeinterlaceEngine, OverlayIsKeyedOverTheReferenceTopDown)
{
    CDeinterlaceEngine e;
    GuardedFrame f(720, 480);
    const uint32_t key = 0x00FF00FF;
    std::vector<uint32_t> overlay(608 * 456, 0xAA000000 | key);   // key under the mask
    overlay[5 * 608 + 10] = 0x00123456;
    DeinterlaceSettings s = Active(0);
    s.scaleToFrame = FALSE;   // keep the video where it is: only the overlay moves pixels
    s.overlayEnabled = TRUE;
    s.overlayBits = overlay.data();
    s.overlayWidth = 608;
    s.overlayHeight = 456;
    s.keyColour = key;
    e.Process(f.bits(), 720, 480, 4, s, nullptr, false, nullptr);
    EXPECT_EQ(f.at(10, 24 + 455 - 5), 0x00123456u);   // overlay row 5 from the top
    EXPECT_EQ(f.SrcY(11, 474), 474);
    EXPECT_EQ(f.SrcY(10, 473), 472);

    // Enabled without bits: nothing is drawn.
    GuardedFrame g(720, 480);
    s.overlayBits = nullptr;
    e.Process(g.bits(), 720, 480, 4, s, nullptr, false, nullptr);
    EXPECT_EQ(g.SrcY(10, 474), 474);
}

struct DibDC {
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* px = nullptr;
    int w, h;
    DibDC(int w_, int h_) : w(w_), h(h_)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void**)&px, nullptr, 0);
        old = SelectObject(dc, bmp);
    }
    ~DibDC()
    {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    uint32_t at(int x, int y) { GdiFlush(); return px[size_t(y) * w + x] & 0xFFFFFF; }
};

TEST(DeinterlaceEngine, SnapshotIsTheReferencePictureTopDown)
{
    CDeinterlaceEngine e;
    GuardedFrame f(720, 480);
    DeinterlaceSettings s = Active(0);
    s.scaleToFrame = FALSE;
    DibDC snap(608, 456);
    EXPECT_TRUE(e.Process(f.bits(), 720, 480, 4, s, nullptr, true, snap.dc));
    EXPECT_EQ(snap.at(0, 0), f.at(0, 479) & 0xFFFFFF);
    EXPECT_EQ(snap.at(7, 455), f.at(7, 24) & 0xFFFFFF);
    EXPECT_EQ(snap.at(607, 200), f.at(607, 279) & 0xFFFFFF);

    // In bypass too, from the unchanged frame.
    GuardedFrame b(720, 480);
    DibDC snap2(608, 456);
    DeinterlaceSettings bypass;
    EXPECT_TRUE(e.Process(b.bits(), 720, 480, 4, bypass, nullptr, true, snap2.dc));
    EXPECT_EQ(snap2.at(3, 0), (479u << 16 | 3) & 0xFFFFFF);
    EXPECT_EQ(snap2.at(3, 455), (24u << 16 | 3) & 0xFFFFFF);
}

TEST(DeinterlaceEngine, OutputDcReplacesTheVideo)
{
    CDeinterlaceEngine e;
    GuardedFrame f(720, 480);
    DibDC out(608, 456);
    for (int y = 0; y < 456; ++y)
        for (int x = 0; x < 608; ++x)
            out.px[y * 608 + x] = 0x00800000 | uint32_t(y) << 10 | uint32_t(x);
    e.Process(f.bits(), 720, 480, 4, Active(0), out.dc, false, nullptr);
    EXPECT_EQ(f.at(0, 479) & 0xFFFFFF, out.at(0, 0));
    EXPECT_EQ(f.at(100, 479 - 300) & 0xFFFFFF, out.at(100, 300));
    EXPECT_EQ(f.at(607, 24) & 0xFFFFFF, out.at(607, 455));
    EXPECT_EQ(f.SrcY(650, 100), 100);   // outside the picture the frame stays
}

// Sizes and settings the engine must survive without touching memory outside the frame
// and the overlay (both end on an inaccessible page).
TEST(DeinterlaceEngine, HostileSizesStayInsideTheirBuffers)
{
    const struct {
        int w, h;
    } sizes[] = {{1, 1}, {2, 3}, {607, 455}, {608, 100}, {720, 455}, {1000, 2}, {3, 900},
                 {720, 480}, {720, 576}, {1920, 1080}};
    const float crops[][4] = {{0, 0, 1, 1},       {0.25f, 0, 0.5f, 1}, {0.9f, 0.9f, 1, 1},
                              {-5, -5, 10, 10},   {NAN, NAN, NAN, NAN}, {0, 0, 0, 0},
                              {0.5f, 0.75f, 0.5f, 0.5f}};
    GuardedFrame overlay(100, 7);   // shorter and narrower than any mask
    CDeinterlaceEngine e;
    DibDC snap(64, 64), out(64, 64);
    for (const auto& sz : sizes)
        for (const auto& c : crops)
            for (int variant = 0; variant < 6; ++variant) {
                GuardedFrame f(sz.w, sz.h);
                DeinterlaceSettings s = Active(variant & 1);
                for (int i = 0; i < 4; ++i) {
                    s.crop[i] = c[i];
                    s.mask[i] = variant >= 4 ? c[3 - i] : (i < 2 ? 0.f : 1.f);
                }
                s.mirror = variant == 2 || variant == 3;
                s.scaleOutput = variant == 5;
                s.overlayEnabled = TRUE;
                s.overlayBits = overlay.px;
                s.overlayWidth = 100;
                s.overlayHeight = 7;
                e.Process(f.bits(), sz.w, sz.h, 4, s, variant == 3 ? out.dc : nullptr, true,
                          snap.dc);
            }
    SUCCEED();
}

} // namespace

namespace {

struct FullViewCase {
    int w, h, field;
    bool fixUp;
    int top, width, rows;
};

// Makes the full view in place and compares it, pixel for pixel, with the doubling pass
// followed by the scale through a cleared work buffer; a refused geometry must leave the
// frame as it was. Returns whether it was made.
bool ExpectFullViewMatches(const FullViewCase& c)
{
    GuardedFrame made(c.w, c.h), expected(c.w, c.h);
    std::vector<int> columns(2 * c.w);
    const FrameView view{made.bits(), c.w, c.h, 4};
    if (!ScaleFieldInPlace(view, c.field, c.fixUp, c.top, c.width, c.rows, columns.data())) {
        GuardedFrame untouched(c.w, c.h);
        EXPECT_TRUE(std::equal(untouched.px, untouched.px + size_t(c.w) * c.h, made.px));
        return false;
    }
    const FrameView reference{expected.bits(), c.w, c.h, 4};
    DoubleField(reference, c.field);
    if (c.fixUp && c.field == 1)
        CopyRow(reference, c.h - 1, c.h - 2);
    std::vector<uint32_t> work(size_t(c.w) * c.h, 0);
    StretchPixels32(expected.bits(), c.w * 4, c.w, c.h, (uint8_t*)(work.data() + size_t(c.top) * c.w),
                    c.w * 4, c.width, c.rows, false, columns.data());
    int bad = 0;
    for (size_t i = 0; i < work.size() && bad < 5; ++i)
        if (made.px[i] != work[i])
            ADD_FAILURE() << "pixel " << i % c.w << ", " << i / c.w << ": " << made.px[i] << " not "
                          << work[i] << (++bad, "");
    return true;
}

} // namespace

// The full view made in place gives, pixel for pixel, the picture of the doubling pass
// followed by the scale through a cleared work buffer; an enlargement is refused and the
// frame left as it was.
TEST(DeinterlaceKernels, FullViewInPlaceMatchesDoublingThenScaling)
{
    struct Case {
        int w, h, field;
        bool fixUp;
        int top, width, rows;
        bool done;
    } cases[] = {
        {720, 480, 0, false, 24, 608, 456, true},  {720, 480, 1, false, 24, 608, 456, true},
        {720, 576, 0, true, 120, 608, 456, true},  {720, 576, 1, true, 120, 608, 456, true},
        {608, 456, 1, false, 0, 608, 456, true},   {640, 470, 1, false, 14, 608, 456, true},
        {608, 300, 0, false, 0, 608, 456, false},  // rows beyond the frame
        {720, 240, 0, false, 0, 608, 240, true},   {720, 480, 0, false, 0, 608, 480, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " field " << c.field);
        EXPECT_EQ(ExpectFullViewMatches({c.w, c.h, c.field, c.fixUp, c.top, c.width, c.rows}), c.done);
    }
}

// Random sizes, mostly narrowings by less than half (eight columns a step where the map
// allows, the rest one by one), some by more, frames narrower than a step, both fields,
// with and without the last line's fix-up: always the reference picture (or the frame
// untouched where the geometry is refused), and no access outside the frame.
TEST(DeinterlaceKernels, FullViewInPlaceMatchesTheReferenceAtRandomSizes)
{
    uint32_t seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % uint32_t(n));
    };
    int made = 0;
    const int runs = 150;
    for (int i = 0; i < runs; ++i) {
        FullViewCase c;
        c.w = i % 10 == 0 ? 1 + next(20) : 16 + next(800);
        c.h = 2 + next(300);
        c.field = next(2);
        c.fixUp = next(4) == 0;
        c.top = next(c.h / 8 + 1);
        c.width = i % 4 == 0 ? 1 + next(c.w) : c.w - next(c.w / 2 + 1);
        // The picture mostly ends at the frame's last row, as the reference sizes place it.
        c.rows = i % 4 == 3 ? 1 + next(c.h - c.top) : c.h - c.top;
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " field " << c.field << " fix-up "
                                        << c.fixUp << " top " << c.top << " into " << c.width
                                        << "x" << c.rows);
        made += ExpectFullViewMatches(c);
    }
    EXPECT_GT(made, runs / 2);
}
