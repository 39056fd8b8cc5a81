// Drawing over a played clip through the real video control: the Graphics page's buttons
// choose the tool and colour, mouse messages on the channel's overlay window draw, and the
// control keys the drawing into the picture it shows (read back through Draw), in single
// view, in the comparison view's crop and zoomed.
#include "gtest_wine.h"
#include "video_test_support.h"
#include "../frame/GraphicsCmdDlg.h"
#include "ODCustomController.h"
#include "ODCustomDefPropSheet.h"
#include "ODCustomViewport.h"
#include "BitmapDIB.h"
#include "ODPointComponent.h"
#include "ODTextComponent.h"

CVideoTestApp theApp;

namespace {

class ClavioDrawing : public VideoManagerFixture
{
protected:
    void SetUp() override
    {
        VideoManagerFixture::SetUp();
        m_host.ShowWindow(SW_SHOW);
        m_clavio->SendMessage(WM_PAINT);  // the first paint, as at start-up, comes first
        Pump(100);
        ASSERT_TRUE(m_page.Create(CWnd::GetDesktopWindow()));
        m_file.reset(new DvClip(*m_folder, "swing.avi", 12));
        m_clip = NewClip(*m_file, 12);
        ASSERT_TRUE(m_clavio->LoadClip(m_clip));
        m_clavio->SeekField(6);
        Pump(300);
    }
    void TearDown() override
    {
        m_page.DestroyWindow();
        VideoManagerFixture::TearDown();
    }
    void Click(UINT id)
    {
        CBaseBmpButton* b = m_page.GetButton(id);
        ASSERT_NE(nullptr, b);
        if (b->m_bCheckMode)
            b->SetCheck(!b->GetCheck());
        m_page.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(b->m_hWnd));
    }
    void Send(COverlayWnd* o, UINT msg, CPoint p, WPARAM keys = 0)
    {
        o->SendMessage(msg, keys, MAKELPARAM(p.x, p.y));
    }
    void Drag(COverlayWnd* o, CPoint from, CPoint to)
    {
        Send(o, WM_MOUSEMOVE, from);
        Send(o, WM_LBUTTONDOWN, from, MK_LBUTTON);
        Send(o, WM_MOUSEMOVE, CPoint((from.x + to.x) / 2, (from.y + to.y) / 2), MK_LBUTTON);
        Send(o, WM_MOUSEMOVE, to, MK_LBUTTON);
        Send(o, WM_LBUTTONUP, to);
    }
    // The channel's picture as the control shows it (608 x 456, top row first).
    std::vector<DWORD> Picture(int channel)
    {
        CDC dc;
        dc.CreateCompatibleDC(NULL);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = 608;
        bi.bmiHeader.biHeight = -456;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits;
        HBITMAP dib = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
        HGDIOBJ old = SelectObject(dc.m_hDC, dib);
        RECT r = {0, 0, 607, 455};
        m_clavio->GetChannel(channel)->Draw((LONG*)&dc, (LONG*)&r);
        GdiFlush();
        std::vector<DWORD> pixels((const DWORD*)bits, (const DWORD*)bits + 608 * 456);
        SelectObject(dc.m_hDC, old);
        DeleteObject(dib);
        return pixels;
    }
    // The box of the pixels of a pure colour (RGB order of a DIB: 0x00RRGGBB).
    static CRect Box(const std::vector<DWORD>& p, DWORD rgb)
    {
        CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = 0; y < 456; ++y)
            for (int x = 0; x < 608; ++x)
                if ((p[y * 608 + x] & 0xFFFFFF) == rgb) {
                    box.left = std::min<int>(box.left, x);
                    box.top = std::min<int>(box.top, y);
                    box.right = std::max<int>(box.right, x + 1);
                    box.bottom = std::max<int>(box.bottom, y + 1);
                }
        return box.left == INT_MAX ? CRect() : box;
    }
    bool Shows(int channel, DWORD rgb, CRect* box)
    {
        return PumpUntil([&] { *box = Box(Picture(channel), rgb); return !box->IsRectEmpty(); },
                         2000);
    }

    CGraphicsCmdDlg m_page;
    std::unique_ptr<DvClip> m_file;
    CClip* m_clip = nullptr;
};

const DWORD kRed = 0xFF0000;  // the red colour button's line in the picture

std::string Text(const CRect& r)
{
    char s[80];
    snprintf(s, sizeof s, "(%d, %d, %d, %d)", r.left, r.top, r.right, r.bottom);
    return s;
}

}  // namespace

// The rows of a column that show the colour: first and last, -1 when none.
std::pair<int, int> Rows(const std::vector<DWORD>& p, int x, DWORD rgb)
{
    int first = -1, last = -1;
    for (int y = 0; y < 456; ++y)
        if ((p[y * 608 + x] & 0xFFFFFF) == rgb) {
            if (first < 0)
                first = y;
            last = y;
        }
    return {first, last};
}

// The first column of a row that shows the colour, -1 when none.
int FirstColumn(const std::vector<DWORD>& p, int y, DWORD rgb)
{
    for (int x = 0; x < 608; ++x)
        if ((p[y * 608 + x] & 0xFFFFFF) == rgb)
            return x;
    return -1;
}

TEST_F(ClavioDrawing, ArrowFollowsTheVideoThroughViewsZoomUndoAndReload)
{
    const std::vector<DWORD> plain = Picture(0);
    EXPECT_TRUE(Box(plain, kRed).IsRectEmpty());
    // The frame's white band, a landmark of the video itself.
    const int band = FirstColumn(plain, 100, 0xFFFFFF);
    ASSERT_GT(band, 20);

    Click(1280);  // red
    Click(1137);  // arrow line
    COverlayWnd* o = m_clavio->GetOverlay(0);
    EXPECT_TRUE(o->GetExStyle() & WS_EX_TRANSPARENT);  // nothing of its own over the video
    // The overlays draw without a grid: no grid shown, no point snapped to one.
    for (int channel = 0; channel < 2; ++channel) {
        EXPECT_FALSE(m_clavio->GetOverlay(channel)->GetViewport()->IsGridVisible()) << channel;
        EXPECT_FALSE(m_clavio->GetOverlay(channel)->GetViewport()->IsSnapToGrid()) << channel;
    }
    Drag(o, CPoint(101, 203), CPoint(299, 203));
    CODCustomModel* model = m_clip->GetDrawingModel();
    ASSERT_EQ(model, o->GetModel());
    ASSERT_EQ(1, model->GetChildCount());
    EXPECT_TRUE(m_clip->IsDrawingModified());
    auto* arrow = dynamic_cast<CODPointComponent*>(model->GetChild(0));
    ASSERT_NE(nullptr, arrow);
    ASSERT_EQ(2, arrow->GetVertexCount());
    // Points entered with the mouse stay where they were entered.
    const CPoint a = arrow->GetVertex(0), b = arrow->GetVertex(1);
    EXPECT_EQ(CPoint(101, 203), a);
    EXPECT_EQ(CPoint(299, 203), b);

    // Single view: the line in the picture where it was drawn, its head at the first vertex.
    CRect box;
    ASSERT_TRUE(Shows(0, kRed, &box));
    std::vector<DWORD> p = Picture(0);
    auto middle = Rows(p, (a.x + b.x) / 2, kRed), head = Rows(p, a.x + 9, kRed);
    EXPECT_LE(std::abs(middle.first - a.y), 1) << middle.first;
    EXPECT_LE(middle.second - middle.first, 3);
    EXPECT_GT(head.second - head.first, 5);
    // (The ends lie under the selection's handles.)
    EXPECT_LE(std::abs(box.left - a.x), 4) << Text(box);
    EXPECT_LE(std::abs(box.right - b.x), 4) << Text(box);
    EXPECT_EQ(band, FirstColumn(p, 100, 0xFFFFFF));  // the video itself unchanged
    // No grid or page bounds over the video: the white band stays white away from the arrow.
    int dots = 0;
    for (int y = 10; y < 180; ++y)
        for (int x = band + 2; x < band + 140; ++x)
            dots += (p[y * 608 + x] & 0xFFFFFF) != 0xFFFFFF;
    EXPECT_EQ(0, dots);

    // Comparison view: video and drawing both scrolled by a quarter of the picture.
    m_clavio->SetComparisonView(FALSE);
    ASSERT_EQ(CPoint(152, 0), o->GetScrollOrigin());
    ASSERT_TRUE(PumpUntil([&] { return FirstColumn(Picture(0), 100, 0xFFFFFF) != band; }, 2000));
    ASSERT_TRUE(Shows(0, kRed, &box));
    p = Picture(0);
    EXPECT_EQ(0, box.left) << Text(box);  // the arrow crosses the left edge: drawn clipped
    EXPECT_LE(std::abs(box.right - (b.x - 152)), 4) << Text(box);
    EXPECT_LE(std::abs(Rows(p, 50, kRed).first - a.y), 1);
    EXPECT_EQ(-1, Rows(p, 250, kRed).first);

    // Back in single view, zoomed in one step: the drawing grows with the video.
    m_clavio->SetSingleView();
    ASSERT_TRUE(PumpUntil([&] { return FirstColumn(Picture(0), 100, 0xFFFFFF) == band; }, 2000));
    Click(1078);  // zoom in
    CODCustomViewport* viewport = m_clavio->GetCurrentViewport();
    const int zoom = viewport->GetZoomPercent();
    ASSERT_GT(zoom, 100);
    const CPoint origin = viewport->GetLogicalOrigin();
    auto scaled = [&](int x) { return (x - origin.x) * zoom / 100; };
    // (The control places its crop on a coarser step than the drawing's origin: a few pixels.)
    ASSERT_TRUE(PumpUntil(
        [&] { return std::abs(FirstColumn(Picture(0), 100, 0xFFFFFF) - scaled(band)) <= 5; },
        2000))
        << FirstColumn(Picture(0), 100, 0xFFFFFF) << " " << scaled(band) << " " << origin.x << " " << zoom;
    ASSERT_TRUE(Shows(0, kRed, &box));
    EXPECT_LE(std::abs(box.left - scaled(a.x)), 5) << Text(box) << " " << scaled(a.x);
    EXPECT_LE(std::abs(box.right - scaled(b.x)), 5) << Text(box) << " " << scaled(b.x);
    Click(1079);  // zoom out again
    EXPECT_EQ(100, viewport->GetZoomPercent());

    // Undo takes the arrow out of the picture and still counts as a change of the drawing.
    m_clip->SetDrawingModified(FALSE);
    m_clavio->SendDrawCommand(ID_EDIT_UNDO, FALSE);
    EXPECT_EQ(0, model->GetChildCount());
    EXPECT_TRUE(m_clip->IsDrawingModified());
    EXPECT_TRUE(PumpUntil([&] { return Box(Picture(0), kRed).IsRectEmpty(); }, 2000));
    m_clavio->SendDrawCommand(ID_EDIT_REDO, FALSE);
    ASSERT_EQ(1, model->GetChildCount());
    ASSERT_TRUE(Shows(0, kRed, &box));

    // The stored drawing, read into another clip of the same video, shows the same arrow.
    ASSERT_TRUE(m_clip->StoreOverlayBlob());
    CClip* copy = NewClip(*m_file, 12);
    copy->m_overlay.Copy(m_clip->m_overlay);
    ASSERT_TRUE(copy->LoadOverlayBlob());
    ASSERT_EQ(1, copy->GetDrawingModel()->GetChildCount());
    m_clavio->LoadClip(NULL);
    EXPECT_TRUE(PumpUntil([&] { return Box(Picture(0), kRed).IsRectEmpty(); }, 2000));
    ASSERT_TRUE(m_clavio->LoadClip(copy));
    m_clavio->ShowGraphics(TRUE, -1, FALSE);
    m_clavio->SeekField(6);
    CRect again;
    ASSERT_TRUE(Shows(0, kRed, &again));
    // The same arrow (without the selection's handles over its ends).
    EXPECT_EQ(Rows(Picture(0), (a.x + b.x) / 2, kRed), middle);
    EXPECT_LE(std::abs(again.left - a.x), 4) << Text(again);
    EXPECT_LE(std::abs(again.right - b.x), 4) << Text(again);
}

TEST_F(ClavioDrawing, ProtractorAngleOverThePicture)
{
    Click(1282);  // blue
    Click(1231);  // protractor
    COverlayWnd* o = m_clavio->GetOverlay(0);
    auto click = [&](CPoint at) {
        Send(o, WM_MOUSEMOVE, at);
        Send(o, WM_LBUTTONDOWN, at, MK_LBUTTON);
        Send(o, WM_LBUTTONUP, at);
    };
    click(CPoint(120, 120));
    Send(o, WM_MOUSEMOVE, CPoint(200, 120));
    click(CPoint(300, 120));
    Send(o, WM_MOUSEMOVE, CPoint(300, 200));
    click(CPoint(300, 300));
    CODCustomModel* model = m_clip->GetDrawingModel();
    ASSERT_EQ(1, model->GetChildCount());
    CODComponent* figure = model->GetChild(0);
    ASSERT_TRUE(CODCustomController::IsProtractor(figure));
    CODTextComponent* label = static_cast<CODTextComponent*>(figure->GetChild(0));
    EXPECT_STREQ("90\xBA", label->GetText());
    // Both arms in the picture, in the chosen colour.
    const DWORD blue = 0x0000FF;
    CRect box;
    ASSERT_TRUE(Shows(0, blue, &box));
    std::vector<DWORD> p = Picture(0);
    EXPECT_NE(-1, Rows(p, 250, blue).first);  // the first arm
    EXPECT_NE(-1, FirstColumn(p, 250, blue)); // the second arm
    EXPECT_LE(std::abs(box.bottom - 300), 4) << Text(box);
    // The angle's label inside the angle, in the default font's white.
    const CRect text = label->GetTextBounds();
    EXPECT_TRUE(CRect(200, 120, 300, 200).PtInRect(text.CenterPoint())) << Text(text);
    int white = 0;
    for (int y = std::max<int>(text.top, 0); y < std::min<int>(text.bottom, 456); ++y)
        for (int x = std::max<int>(text.left, 0); x < std::min<int>(text.right, 608); ++x)
            white += (p[y * 608 + x] & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_GT(white, 20) << Text(text);
}

TEST_F(ClavioDrawing, SnapshotCarriesTheDrawing)
{
    Click(1280);  // red
    Click(1137);  // arrow
    COverlayWnd* o = m_clavio->GetOverlay(0);
    Drag(o, CPoint(100, 200), CPoint(300, 200));
    CRect box;
    ASSERT_TRUE(Shows(0, kRed, &box));
    m_answers.Queue(IDCANCEL);  // the file question: the clipboard picture only
    ASSERT_TRUE(m_clavio->SaveSnapshot());
    ASSERT_TRUE(OpenClipboard(NULL));
    HANDLE data = GetClipboardData(CF_DIB);
    ASSERT_NE(nullptr, data);
    const BYTE* bytes = (const BYTE*)GlobalLock(data);
    const BITMAPINFOHEADER* header = (const BITMAPINFOHEADER*)bytes;
    ASSERT_EQ(608, header->biWidth);
    ASSERT_EQ(456, header->biHeight);  // bottom-up
    const DWORD* pixels = (const DWORD*)(bytes + header->biSize);
    std::vector<DWORD> topDown(608 * 456);
    for (int y = 0; y < 456; ++y)
        memcpy(&topDown[y * 608], pixels + (455 - y) * 608, 608 * 4);
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(box, Box(topDown, kRed));
}

// Commands that reach the overlay windows, recorded on their way (same thread).
struct CommandLog
{
    static CommandLog* s_log;
    HHOOK hook;
    HWND overlays[2];
    std::vector<std::pair<int, UINT>> seen;  // overlay index, command id
    CommandLog(HWND a, HWND b) : overlays{a, b}
    {
        s_log = this;
        hook = SetWindowsHookExA(WH_CALLWNDPROC, Hook, NULL, GetCurrentThreadId());
    }
    ~CommandLog()
    {
        UnhookWindowsHookEx(hook);
        s_log = nullptr;
    }
    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l)
    {
        const CWPSTRUCT* m = (const CWPSTRUCT*)l;
        if (code == HC_ACTION && s_log && m->message == WM_COMMAND)
            for (int i = 0; i < 2; ++i)
                if (m->hwnd == s_log->overlays[i])
                    s_log->seen.push_back({i, LOWORD(m->wParam)});
        return CallNextHookEx(NULL, code, w, l);
    }
    bool Has(UINT command, int overlay = 0) const
    {
        for (const auto& c : seen)
            if (c.first == overlay && c.second == command)
                return true;
        return false;
    }
};
CommandLog* CommandLog::s_log = nullptr;

TEST_F(ClavioDrawing, PageButtonsReachTheCurrentOverlay)
{
    const struct {
        UINT button, command;
    } table[] = {
        {1091, 44525}, {1094, 44526}, {1095, 32831}, {1096, 32830}, {1150, 32845},
        {1137, 32799}, {1231, 32825}, {1149, 32846}, {1097, 44524}, {1098, 44516},
        {1102, 44532}, {1103, 44548}, {1136, 44547}, {32794, 57643},
        {32795, 57644}, {1077, 44545}, {1078, 32796}, {1079, 32797}, {1034, 44554},
        {1148, 44553}, {1093, 32798}, {1101, 44529}, {1104, 44550},
    };
    // (1100, the picture insertion, opens a file dialog: left out.)
    CommandLog log(m_clavio->GetOverlay(0)->m_hWnd, m_clavio->GetOverlay(1)->m_hWnd);
    for (const auto& t : table) {
        log.seen.clear();
        if (m_page.GetButton(t.button))
            Click(t.button);
        else  // buttons without images
            m_page.SendMessage(WM_COMMAND, MAKEWPARAM(t.button, BN_CLICKED), 0);
        EXPECT_TRUE(log.Has(t.command)) << t.button;
        EXPECT_FALSE(log.Has(t.command, 1)) << t.button;
        if (t.button == 1091 || t.button == 1094 || t.button == 1077 ||
            t.button == 1078 || t.button == 1079 || t.button == 1034 || t.button == 1148 ||
            t.button == 1104)
            EXPECT_TRUE(log.Has(ID_DRAW_RESET_TOOLS)) << t.button;  // tools reset first
    }
    // In the comparison view with channel 1 current, commands go to its overlay; a colour
    // reaches both viewports and the settings.
    DvClip other(*m_folder, "other.avi", 12);
    m_clavio->SetComparisonView(FALSE);
    ASSERT_TRUE(m_clavio->LoadClipInOtherChannel(NewClip(other, 12)));
    m_clavio->SelectChannel(1);
    log.seen.clear();
    Click(1095);
    EXPECT_TRUE(log.Has(32831, 1));
    EXPECT_FALSE(log.Has(32831, 0));
    Click(1281);  // green
    EXPECT_EQ(COLORREF(0x00FF00), m_clavio->GetOverlay(0)->GetViewport()->GetLineColor());
    EXPECT_EQ(COLORREF(0x00FF00), m_clavio->GetOverlay(1)->GetViewport()->GetLineColor());
    EXPECT_EQ(COLORREF(0x00FF00), g_pAppConfig->GetLineColor());
    // The save button saves the current clip: in the comparison view it first asks whether
    // both clips go as a comparison.
    m_clavio->SelectChannel(0);
    theApp.m_boxes.clear();
    Click(1015);
    EXPECT_TRUE(theApp.Saw("save both clips as a comparison"));
}

TEST_F(ClavioDrawing, PropertySheetsShowTheLineAndFontPages)
{
    CODCustomViewport* viewport = m_clavio->GetCurrentViewport();
    CODCustomDefPropSheet sheet(viewport->GetDefaultProperties(), viewport,
                                "Default Drawing Properties", 0, 0);
    sheet.SetPageFlags(160);
    sheet.PrepareDefaultPages();
    EXPECT_EQ(2, sheet.GetPageCount());

    // The page's button opens it; the controller's command opens the component sheet.
    m_answers.Queue(IDCANCEL);
    m_page.SendMessage(WM_COMMAND, MAKEWPARAM(1139, BN_CLICKED), 0);
    // (The sheet's title comes from its "Properties for" form; the answer counts it.)
    EXPECT_EQ(1u, m_answers.Count());
    Click(1137);
    COverlayWnd* o = m_clavio->GetOverlay(0);
    Drag(o, CPoint(100, 200), CPoint(300, 200));
    Click(1091);  // select
    Send(o, WM_LBUTTONDOWN, CPoint(200, 200), MK_LBUTTON);
    Send(o, WM_LBUTTONUP, CPoint(200, 200));
    auto* controller = static_cast<CODCustomController*>(o->GetViewport()->GetController());
    ASSERT_EQ(1, controller->GetSelection()->GetSize());
    m_answers.Queue(IDCANCEL);
    o->SendMessage(WM_COMMAND, 44546, 0);
    EXPECT_EQ(2u, m_answers.Count());
}

TEST_F(ClavioDrawing, TextTypedOverThePicture)
{
    Click(1094);  // text
    COverlayWnd* o = m_clavio->GetOverlay(0);
    // A click places a text box; a double click on it opens its editor for the word.
    Send(o, WM_MOUSEMOVE, CPoint(360, 80));
    Send(o, WM_LBUTTONDOWN, CPoint(360, 80), MK_LBUTTON);
    Send(o, WM_LBUTTONUP, CPoint(360, 80));
    auto* controller = static_cast<CODCustomController*>(o->GetViewport()->GetController());
    CODCustomModel* model = m_clip->GetDrawingModel();
    ASSERT_EQ(1, model->GetChildCount());
    const CPoint centre = model->GetChild(0)->GetBounds().CenterPoint();
    Send(o, WM_LBUTTONDOWN, centre, MK_LBUTTON);
    Send(o, WM_LBUTTONUP, centre);
    Send(o, WM_LBUTTONDBLCLK, centre, MK_LBUTTON);
    Send(o, WM_LBUTTONUP, centre);
    CODTextComponent* editing = controller->GetEditingText();
    ASSERT_NE(nullptr, editing);
    ASSERT_NE(nullptr, editing->GetEditor());
    for (char c : std::string("TOP"))
        editing->GetEditor()->SendMessage(WM_CHAR, c, 0);
    Send(o, WM_MOUSEMOVE, CPoint(500, 400));
    Send(o, WM_LBUTTONDOWN, CPoint(500, 400), MK_LBUTTON);
    Send(o, WM_LBUTTONUP, CPoint(500, 400));
    EXPECT_EQ(nullptr, controller->GetEditingText());
    ASSERT_EQ(1, model->GetChildCount());
    auto* text = dynamic_cast<CODTextComponent*>(model->GetChild(0));
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ("TOP", text->GetText());
    // The word in the default font's white over the black of the picture (right of the
    // video's white band).
    const CRect bounds = text->GetTextBounds();
    auto whiteInBox = [&] {
        std::vector<DWORD> p = Picture(0);
        int white = 0;
        for (int y = std::max<int>(bounds.top, 0); y < std::min<int>(bounds.bottom, 456); ++y)
            for (int x = std::max<int>(bounds.left, 228); x < std::min<int>(bounds.right, 608);
                 ++x)
                white += (p[y * 608 + x] & 0xFFFFFF) == 0xFFFFFF;
        return white;
    };
    EXPECT_TRUE(PumpUntil([&] { return whiteInBox() > 20; }, 2000)) << Text(bounds);
}

TEST_F(ClavioDrawing, DragsOverTheOverlayGoToTheManagerOrTheDrawing)
{
    COverlayWnd* o = m_clavio->GetOverlay(0);
    // A drawn arrow, dragged in the drawing's own format (the press point, then the
    // selection, as the controller writes a drag).
    Click(1137);
    Drag(o, CPoint(100, 200), CPoint(300, 200));
    Click(1091);
    auto* controller = static_cast<CODCustomController*>(o->GetViewport()->GetController());
    CODCustomModel* model = m_clip->GetDrawingModel();
    ASSERT_EQ(1, model->GetChildCount());
    CODComponentSet all;
    all.Add(model->GetChild(0));
    CSharedFile payload(GMEM_MOVEABLE | GMEM_SHARE, 4096);
    {
        CArchive ar(&payload, CArchive::store, 4096);
        ar << (LONG)200 << (LONG)200;
        const int state = controller->GetState();
        controller->SetState(7);
        controller->SerializeSelection(ar, &all);
        controller->SetState(state);
    }
    COleDataSource drawing;
    drawing.CacheGlobalData((CLIPFORMAT)controller->GetClipboardFormat(), payload.Detach());
    COleDataObject components;
    components.Attach(drawing.GetDataObject(), FALSE);
    const CPoint at(150, 150);
    EXPECT_NE((DROPEFFECT)DROPEFFECT_NONE, o->OnDragEnter(o, &components, MK_CONTROL, at));
    EXPECT_NE((DROPEFFECT)DROPEFFECT_NONE, o->OnDragOver(o, &components, MK_CONTROL, at));
    EXPECT_TRUE(o->OnDrop(o, &components, DROPEFFECT_COPY, at));
    EXPECT_EQ(2, model->GetChildCount());  // the controller inserted the copy
    EXPECT_EQ(m_clip, m_clavio->GetCurrentClip());

    // A clip dragged over the overlay is the video manager's: it loads into the channel.
    DvClip file(*m_folder, "next.avi", 12);
    CClip* next = NewClip(file, 12);
    COleDataSource source;
    source.CacheGlobalData((CLIPFORMAT)g_pAppConfig->GetClipClipboardFormat(),
                           CClavio::MakeClipDragBlock(next));
    COleDataObject clip;
    clip.Attach(source.GetDataObject(), FALSE);
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_COPY, o->OnDragEnter(o, &clip, 0, at));
    EXPECT_TRUE(o->OnDrop(o, &clip, DROPEFFECT_COPY, at));
    EXPECT_EQ(next, m_clavio->GetCurrentClip());
    EXPECT_EQ(2, model->GetChildCount());  // the drawing untouched
}

// Pictures for people: run under a display with QUORVEL_SCREENSHOT_DIR (a Unix folder); the
// screen is taken with xwd. An arrow, a protractor and a text over a played clip in single view,
// zoomed, and in the comparison view, with the Graphics page beside. Skipped otherwise.
TEST_F(ClavioDrawing, ScreenshotsOfDrawingsOverTheVideo)
{
    const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
    if (!dir)
        GTEST_SKIP() << "no screenshot folder";
    m_host.SetWindowPos(NULL, 0, 0, 720, 560, SWP_NOZORDER);
    m_page.SetWindowPos(NULL, 730, 0, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    m_page.ShowWindow(SW_SHOW);
    auto shoot = [&](const char* name) {
        m_host.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        m_page.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(1000);
        std::string command = std::string("xwd -root -silent -out '") + dir + "/" + name + ".xwd'";
        EXPECT_EQ(0, system(command.c_str()));
    };
    COverlayWnd* o = m_clavio->GetOverlay(0);
    Click(1280);  // red
    Click(1137);  // arrow
    Drag(o, CPoint(420, 380), CPoint(250, 250));
    Click(1281);  // green
    Click(1231);  // protractor
    for (CPoint at : {CPoint(120, 120), CPoint(300, 120), CPoint(300, 300)}) {
        Send(o, WM_MOUSEMOVE, at);
        Send(o, WM_LBUTTONDOWN, at, MK_LBUTTON);
        Send(o, WM_LBUTTONUP, at);
    }
    // A word typed into a text box beside them.
    Click(1094);  // text
    Send(o, WM_MOUSEMOVE, CPoint(500, 80));
    Send(o, WM_LBUTTONDOWN, CPoint(500, 80), MK_LBUTTON);
    Send(o, WM_LBUTTONUP, CPoint(500, 80));
    auto* controller = static_cast<CODCustomController*>(o->GetViewport()->GetController());
    CODCustomModel* model = m_clip->GetDrawingModel();
    const CPoint centre = model->GetChild(model->GetChildCount() - 1)->GetBounds().CenterPoint();
    Send(o, WM_LBUTTONDOWN, centre, MK_LBUTTON);
    Send(o, WM_LBUTTONUP, centre);
    Send(o, WM_LBUTTONDBLCLK, centre, MK_LBUTTON);
    Send(o, WM_LBUTTONUP, centre);
    if (CODTextComponent* editing = controller->GetEditingText())
        for (char c : std::string("TOP"))
            editing->GetEditor()->SendMessage(WM_CHAR, c, 0);
    Click(1091);  // select: the tools put away
    shoot("drawing-single");
    Click(1078);  // zoom in
    Click(1078);
    shoot("drawing-zoomed");
    Click(1079);
    Click(1079);
    m_clavio->SetComparisonView(FALSE);
    shoot("drawing-split");
}

TEST_F(ClavioDrawing, ADrawingStaysOverItsChannelWhenTheSplitKeyOpensTheComparison)
{
    Click(1280);  // red
    Click(1137);  // arrow line
    COverlayWnd* o = m_clavio->GetOverlay(0);
    // Inside the middle half of the picture, which the comparison view keeps.
    Drag(o, CPoint(200, 200), CPoint(400, 200));
    ASSERT_EQ(1, m_clip->GetDrawingModel()->GetChildCount());
    auto* arrow = dynamic_cast<CODPointComponent*>(m_clip->GetDrawingModel()->GetChild(0));
    ASSERT_NE(nullptr, arrow);
    const int left = arrow->GetVertex(0).x, right = arrow->GetVertex(1).x;
    CRect box;
    ASSERT_TRUE(Shows(0, kRed, &box));
    // The split key opens the comparison view with the other channel (no clip yet) current.
    m_clavio->OnSplitWindowKey();
    ASSERT_TRUE(m_clavio->IsSplitView());
    EXPECT_EQ(m_clip->GetDrawingModel(), o->GetModel());
    ASSERT_TRUE(Shows(0, kRed, &box)) << "the drawing left channel 0";
    EXPECT_LE(std::abs(box.left - (left - 152)), 4) << Text(box);
    EXPECT_LE(std::abs(box.right - (right - 152)), 4) << Text(box);
}
