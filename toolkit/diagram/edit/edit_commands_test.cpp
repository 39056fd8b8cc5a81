// The controller's arrange, edit, clipboard, zoom and export commands on a buffered viewport
// in a hidden host window.
#include "od_edit_fixture.h"
#include <functional>
#include "ODLinkComponent.h"
#include "ODTextComponent.h"

namespace {

CRect BoundsOf(CODComponent* c) { return c->GetBounds(); }

void Select(EditFixture& f, std::initializer_list<CODComponent*> list)
{
    f.controller->ClearSelection();
    for (CODComponent* c : list)
        f.controller->GetSelection()->Add(c);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Update handlers

TEST(Arrange, UpdateHandlersEnableByTheSelectionAndPermissions)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(50, 50, 100, 100);
    CODRectComponent* b = f.AddRect(150, 50, 200, 100);
    struct Case {
        const char* what;
        std::function<void()> set;
        UINT id;
        BOOL enabled;
    } cases[] = {
        {"none selected", [&] { Select(f, {}); }, ID_OD_NUDGE_LEFT, FALSE},
        {"one selected", [&] { Select(f, {a}); }, ID_OD_NUDGE_LEFT, TRUE},
        {"one", [&] { Select(f, {a}); }, ID_OD_ALIGN_LEFT, FALSE},
        {"two", [&] { Select(f, {a, b}); }, ID_OD_ALIGN_LEFT, TRUE},
        {"two", [&] { Select(f, {a, b}); }, ID_OD_GROUP, TRUE},
        {"one", [&] { Select(f, {a}); }, ID_OD_GROUP, FALSE},
        {"no group", [&] { Select(f, {a, b}); }, ID_OD_UNGROUP, FALSE},
        {"one", [&] { Select(f, {a}); }, ID_EDIT_COPY, TRUE},
        {"none", [&] { Select(f, {}); }, ID_EDIT_CUT, FALSE},
        {"one", [&] { Select(f, {a}); }, ID_EDIT_CLEAR, TRUE},
        {"one", [&] { Select(f, {a}); }, ID_OD_ROTATE_LEFT, TRUE},
        {"not movable", [&] {
             Select(f, {a});
             f.SetEdit(a, &CODEditProperties::SetCanMove, FALSE);
         }, ID_OD_NUDGE_UP, FALSE},
        {"option word", [&] { f.model.SetOption(1); }, ID_OD_NUDGE_UP, TRUE},
        {"option word, one", [&] { Select(f, {a}); }, ID_OD_ALIGN_TOP, FALSE},
        {"read-only model", [&] {
             f.model.SetOption(0);
             f.model.SetReadOnly(TRUE);
             Select(f, {a, b});
         }, ID_OD_BRING_TO_FRONT, FALSE},
        {"read-only model", [&] {}, ID_OD_SNAP_TO_GRID, FALSE},
        {"read-only model", [&] {}, ID_OD_GRID, TRUE},
    };
    for (Case& c : cases) {
        c.set();
        EXPECT_EQ(f.Enabled(c.id), c.enabled) << c.what << " " << c.id;
    }
}

TEST(Arrange, UndoRedoEnabledByTheHistory)
{
    EditFixture f;
    EXPECT_FALSE(f.Enabled(ID_EDIT_UNDO));
    f.AddRect(10, 10, 20, 20);
    EXPECT_TRUE(f.Enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(f.Enabled(ID_EDIT_REDO));
    f.Command(ID_EDIT_UNDO);
    EXPECT_TRUE(f.Enabled(ID_EDIT_REDO));
}

// ---------------------------------------------------------------------------------------------
// Commands

TEST(Arrange, NudgeByOneOrFiveWithShiftAndOnlyTheMovable)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(50, 50, 100, 100);
    CODRectComponent* b = f.AddRect(150, 50, 200, 100);
    f.SetEdit(b, &CODEditProperties::SetCanMove, FALSE);
    Select(f, {a, b});
    f.Command(ID_OD_NUDGE_RIGHT);
    EXPECT_EQ(BoundsOf(a).left, 51);
    f.SetKeys(MK_SHIFT);
    f.Command(ID_OD_NUDGE_DOWN);
    f.SetKeys(0);
    EXPECT_EQ(BoundsOf(a).TopLeft(), CPoint(51, 55));
    EXPECT_EQ(BoundsOf(b).TopLeft(), CPoint(150, 50));
    f.Command(ID_EDIT_UNDO);
    f.Command(ID_EDIT_UNDO);
    EXPECT_EQ(BoundsOf(a).TopLeft(), CPoint(50, 50));
}

TEST(Arrange, AlignToTheLastSelected)
{
    struct Case {
        UINT id;
        CPoint first;
    } cases[] = {
        {ID_OD_ALIGN_LEFT, {300, 20}}, {ID_OD_ALIGN_RIGHT, {320, 20}},
        {ID_OD_ALIGN_TOP, {10, 200}},  {ID_OD_ALIGN_BOTTOM, {10, 230}},
        {ID_OD_ALIGN_CENTER, {310, 20}}, {ID_OD_ALIGN_MIDDLE, {10, 215}},
    };
    for (const Case& c : cases) {
        EditFixture f;
        CODRectComponent* a = f.AddRect(10, 20, 50, 60);       // 40 x 40
        CODRectComponent* ref = f.AddRect(300, 200, 360, 270);  // 60 x 70
        Select(f, {a, ref});
        f.Command(c.id);
        EXPECT_EQ(BoundsOf(a).TopLeft(), c.first) << c.id;
        EXPECT_EQ(BoundsOf(ref), CRect(300, 200, 360, 270));
        EXPECT_EQ(f.LastCommand()->GetType(), 20);
        f.Command(ID_EDIT_UNDO);
        EXPECT_EQ(BoundsOf(a), CRect(10, 20, 50, 60));
        f.Command(ID_EDIT_REDO);
        EXPECT_EQ(BoundsOf(a).TopLeft(), c.first);
    }
}

TEST(Arrange, OrderCommandsAndTheirUndo)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(10, 10, 20, 20);
    CODRectComponent* b = f.AddRect(30, 10, 40, 20);
    CODRectComponent* c = f.AddRect(50, 10, 60, 20);
    Select(f, {a, b});
    f.Command(ID_OD_BRING_TO_FRONT);
    EXPECT_EQ(f.model.GetChild(0), c);
    EXPECT_EQ(f.model.GetChild(1), a);
    EXPECT_EQ(f.model.GetChild(2), b);
    f.Command(ID_EDIT_UNDO);
    EXPECT_EQ(f.model.GetChild(0), a);
    EXPECT_EQ(f.model.GetChild(2), c);
    Select(f, {c});
    f.Command(ID_OD_SEND_BACKWARD);
    EXPECT_EQ(f.model.GetChild(1), c);
    f.Command(ID_OD_SEND_TO_BACK);
    EXPECT_EQ(f.model.GetChild(0), c);
}

TEST(Arrange, GroupAndUngroupSelectAndUndo)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(10, 10, 20, 20);
    CODRectComponent* b = f.AddRect(30, 10, 40, 20);
    Select(f, {a, b});
    f.Command(ID_OD_GROUP);
    ASSERT_EQ(f.Count(), 1);
    CODComponent* group = f.model.GetChild(0);
    EXPECT_EQ(group->GetChildCount(), 2);
    ASSERT_EQ(f.Selection()->GetSize(), 1);
    EXPECT_EQ((*f.Selection())[0], group);
    EXPECT_EQ(BoundsOf(group), CRect(10, 10, 40, 20));
    EXPECT_TRUE(f.Enabled(ID_OD_UNGROUP));
    f.Command(ID_OD_UNGROUP);
    EXPECT_EQ(f.Count(), 2);
    EXPECT_EQ(f.Selection()->GetSize(), 2);
    EXPECT_EQ(BoundsOf(a), CRect(10, 10, 20, 20));
    f.Command(ID_EDIT_UNDO);  // regroup
    EXPECT_EQ(f.Count(), 1);
    f.Command(ID_EDIT_UNDO);  // ungroup the first grouping
    EXPECT_EQ(f.Count(), 2);
    EXPECT_EQ(BoundsOf(b), CRect(30, 10, 40, 20));
}

TEST(Arrange, RotateAndFlipAboutOwnCentres)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(100, 100, 140, 120);
    CODRectComponent* b = f.AddRect(200, 100, 260, 110);
    Select(f, {a, b});
    CPoint ca = BoundsOf(a).CenterPoint(), cb = BoundsOf(b).CenterPoint();
    f.Command(ID_OD_ROTATE_LEFT);
    EXPECT_EQ(BoundsOf(a).Width(), 20);
    EXPECT_EQ(BoundsOf(a).Height(), 40);
    EXPECT_EQ(BoundsOf(a).CenterPoint(), ca);
    EXPECT_EQ(BoundsOf(b).CenterPoint(), cb);
    f.Command(ID_OD_ROTATE_RIGHT);
    EXPECT_EQ(BoundsOf(a), CRect(100, 100, 140, 120));
    f.Command(ID_OD_FLIP_HORIZONTAL);
    EXPECT_EQ(BoundsOf(a), CRect(100, 100, 140, 120));
    EXPECT_EQ(BoundsOf(b), CRect(200, 100, 260, 110));
    EXPECT_EQ(f.LastCommand()->GetType(), 3);
    f.Command(ID_OD_FLIP_HORIZONTAL);
    f.Command(ID_OD_FLIP_VERTICAL);
    EXPECT_EQ(BoundsOf(b).CenterPoint(), cb);
}

TEST(Arrange, UndoEndsATextEditFirstAndDeleteWhileEditingStaysInTheEditor)
{
    EditFixture f;
    f.Command(ID_OD_TEXT);
    f.Down(200, 200);
    f.Up(200, 200);
    ASSERT_EQ(f.Count(), 1);
    CODTextComponent* text = DYNAMIC_DOWNCAST(CODTextComponent, f.model.GetChild(0));
    ASSERT_NE(text, nullptr);
    CPoint centre = BoundsOf(text).CenterPoint();
    f.DblClk(centre.x, centre.y);
    ASSERT_EQ(f.controller->GetEditingText(), text);
    ASSERT_TRUE(text->IsEditing());
    text->GetEditor()->SetWindowText("golf");
    f.Command(ID_EDIT_CLEAR);  // a key for the editor (the caret is at the start)
    EXPECT_EQ(f.Count(), 1);
    int before = f.model.GetHistory()->GetUndoCount();
    f.Command(ID_EDIT_UNDO);  // ends the edit (a Text command) and undoes it
    EXPECT_EQ(f.controller->GetEditingText(), nullptr);
    EXPECT_EQ(f.model.GetHistory()->GetUndoCount(), before);
    EXPECT_EQ(f.model.GetHistory()->GetRedoCount(), 1);
    f.Command(ID_EDIT_REDO);
    EXPECT_STREQ(text->GetText(), "olf");
}

TEST(Arrange, DeleteTheSelectionAndUndoPutsItBackInPlace)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(10, 10, 20, 20);
    CODRectComponent* b = f.AddRect(30, 10, 40, 20);
    CODRectComponent* c = f.AddRect(50, 10, 60, 20);
    CODRectComponent* d = f.AddRect(70, 10, 80, 20);  // above c: the undo keeps it there
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        if (pass == 0)
            Select(f, {a, c});
        else
            Select(f, {c, a});
        f.Command(ID_EDIT_CLEAR);
        EXPECT_EQ(f.Count(), 2);
        EXPECT_EQ(f.Selection()->GetSize(), 0);
        f.Command(ID_EDIT_UNDO);
        ASSERT_EQ(f.Count(), 4);
        EXPECT_EQ(f.model.GetChild(0), a);
        EXPECT_EQ(f.model.GetChild(1), b);
        EXPECT_EQ(f.model.GetChild(2), c);
        EXPECT_EQ(f.model.GetChild(3), d);
        EXPECT_EQ(f.Selection()->GetSize(), 2);
    }
}

// ---------------------------------------------------------------------------------------------
// Clipboard

namespace {

// A grid step of 10 logical units.
void TenUnitGrid(EditFixture& f)
{
    float unit = f.view.GetHorizontalGridSpacing() / 12.0f * 10.0f;
    f.view.SetHorizontalGridSpacing(unit);
    f.view.SetVerticalGridSpacing(unit);
}

void PutOnClipboard(EditFixture& f, const void* bytes, size_t size)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(::GlobalLock(block), bytes, size);
    ::GlobalUnlock(block);
    ASSERT_TRUE(::OpenClipboard(f.Wnd()));
    ::EmptyClipboard();
    ::SetClipboardData(f.controller->GetClipboardFormat(), block);
    ::CloseClipboard();
}

}  // namespace

TEST(Clipboard, PastePositionsAfterCopyClickAndCut)
{
    EditFixture f;
    TenUnitGrid(f);
    CODRectComponent* a = f.AddRect(100, 100, 140, 130);
    f.Command(ID_EDIT_COPY);
    f.Command(ID_EDIT_PASTE);
    ASSERT_EQ(f.Count(), 2);
    CODComponent* first = f.model.GetChild(1);
    EXPECT_EQ(BoundsOf(first).TopLeft(), CPoint(110, 110));
    EXPECT_EQ((*f.Selection())[0], first);
    EXPECT_EQ(f.LastCommand()->GetType(), 14);
    f.Command(ID_EDIT_PASTE);
    EXPECT_EQ(BoundsOf(f.model.GetChild(2)).TopLeft(), CPoint(120, 120));

    f.Down(300, 250);  // a click on empty space sets the paste position
    f.Up(300, 250);
    f.Command(ID_EDIT_PASTE);
    EXPECT_EQ(BoundsOf(f.model.GetChild(3)).TopLeft(), CPoint(300, 250));

    Select(f, {a});
    f.Command(ID_EDIT_CUT);
    EXPECT_EQ(f.Count(), 3);
    f.Command(ID_EDIT_PASTE);
    EXPECT_EQ(BoundsOf(f.model.GetChild(3)).TopLeft(), CPoint(0, 0));
}

TEST(Clipboard, SmallOffsetsBecomeFiveAndIdsAreKeptOrRenewed)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(2, 3, 42, 33);
    DWORD id = a->GetId();
    f.Command(ID_EDIT_CUT);
    f.Command(ID_EDIT_PASTE);  // at (0, 0): within 4 of the cut place, so 5 further
    ASSERT_EQ(f.Count(), 1);
    CODComponent* back = f.model.GetChild(0);
    EXPECT_EQ(BoundsOf(back).TopLeft(), CPoint(7, 8));
    EXPECT_EQ(back->GetId(), id);  // nobody else has it
    f.Command(ID_EDIT_COPY);
    f.Command(ID_EDIT_PASTE);
    ASSERT_EQ(f.Count(), 2);
    EXPECT_NE(f.model.GetChild(1)->GetId(), id);
}

TEST(Clipboard, APasteBeyondThePageEdgeIsShiftedBack)
{
    EditFixture f;
    f.AddRect(100, 100, 200, 150);
    f.Command(ID_EDIT_COPY);
    f.view.SetPastePosition(950, 680);
    f.Command(ID_EDIT_PASTE);
    ASSERT_EQ(f.Count(), 2);
    EXPECT_EQ(BoundsOf(f.model.GetChild(1)).BottomRight(), CPoint(1000, 700));
}

TEST(Clipboard, HostileCountsAndForeignObjectsAreRefused)
{
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"huge extra count", {0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0}},
        {"negative count", {0, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}},
        {"truncated", {0, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0xFF}},
        {"empty", {}},
    };
    for (const Case& c : cases) {
        EditFixture f;
        f.AddRect(10, 10, 20, 20);
        BYTE none = 0;
        PutOnClipboard(f, c.bytes.empty() ? &none : c.bytes.data(),
                       c.bytes.empty() ? 0 : c.bytes.size());
        MessageBoxWatch watch;
        f.Command(ID_EDIT_PASTE);
        EXPECT_EQ(f.Count(), 1) << c.what;
        EXPECT_EQ(f.model.GetHistory()->GetUndoCount(), 1) << c.what;
        EXPECT_EQ(MessageBoxWatch::Count(), c.bytes.empty() ? 0 : 1) << c.what;
    }
}

TEST(Clipboard, ACopiedLinkStaysJoinedToTheSymbolsCopiedWithIt)
{
    EditFixture f;
    CODSymbolComponent* a = f.AddSymbol(CRect(40, 40, 100, 100), CPoint(100, 70));
    CODSymbolComponent* b = f.AddSymbol(CRect(300, 140, 360, 200), CPoint(300, 170));
    CODLinkComponent* link = new CODLinkComponent;
    ASSERT_TRUE(link->Create(a->GetPort(0), b->GetPort(0)));
    f.model.AppendChild(link);

    Select(f, {a, b, link});
    f.Command(ID_EDIT_COPY);
    f.Command(ID_EDIT_PASTE);
    ASSERT_EQ(f.Count(), 6);
    CODSymbolComponent* a2 = DYNAMIC_DOWNCAST(CODSymbolComponent, f.model.GetChild(3));
    CODSymbolComponent* b2 = DYNAMIC_DOWNCAST(CODSymbolComponent, f.model.GetChild(4));
    CODLinkComponent* link2 = DYNAMIC_DOWNCAST(CODLinkComponent, f.model.GetChild(5));
    ASSERT_TRUE(a2 && b2 && link2);
    EXPECT_EQ(link2->GetSourceComponent(), a2);
    EXPECT_EQ(link2->GetTargetComponent(), b2);
    EXPECT_EQ(a2->GetConnectionCount(), 1);
    EXPECT_EQ(b2->GetConnectionCount(), 1);
    EXPECT_EQ(link2->GetVertex(0), a2->GetPort(0)->GetLocation());
    // The originals keep their joins and nothing else.
    EXPECT_EQ(link->GetSourceComponent(), a);
    EXPECT_EQ(a->GetConnectionCount(), 1);
    EXPECT_EQ(b->GetConnectionCount(), 1);
    // The pasted copy moves as one: a pasted symbol carries its link's end.
    CODComponentSet moved;
    moved.Add(b2);
    CPoint end = link2->GetVertex(link2->GetVertexCount() - 1);
    f.model.MoveComponents(&moved, 0, 20);
    EXPECT_EQ(link2->GetVertex(link2->GetVertexCount() - 1), end + CSize(0, 20));

    // A link copied without its symbols comes back joined to nothing; its originals keep it.
    Select(f, {link});
    f.Command(ID_EDIT_COPY);
    f.Command(ID_EDIT_PASTE);
    ASSERT_EQ(f.Count(), 7);
    CODLinkComponent* alone = DYNAMIC_DOWNCAST(CODLinkComponent, f.model.GetChild(6));
    ASSERT_NE(alone, nullptr);
    EXPECT_EQ(alone->GetConnectionCount(), 0);
    EXPECT_EQ(link->GetConnectionCount(), 2);
    EXPECT_EQ(a->GetConnectionCount(), 1);
    // A symbol copied alone leaves its link behind.
    Select(f, {a});
    f.Command(ID_EDIT_COPY);
    f.Command(ID_EDIT_PASTE);
    ASSERT_EQ(f.Count(), 8);
    CODSymbolComponent* single = DYNAMIC_DOWNCAST(CODSymbolComponent, f.model.GetChild(7));
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(single->GetConnectionCount(), 0);
    EXPECT_EQ(a->GetConnectionCount(), 1);
}

TEST(Clipboard, AFailedWriteGivesTheSymbolsTheirJoinsBack)
{
    EditFixture f;
    CODSymbolComponent* a = f.AddSymbol(CRect(40, 40, 100, 100), CPoint(100, 70));
    CODSymbolComponent* b = f.AddSymbol(CRect(300, 140, 360, 200), CPoint(300, 170));
    CODLinkComponent* link = new CODLinkComponent;
    ASSERT_TRUE(link->Create(a->GetPort(0), b->GetPort(0)));
    f.model.AppendChild(link);
    CODComponentSet set;
    set.Add(link);
    set.Add(a);  // b stays outside: the link's join to it is left out of the write
    BYTE room[16];
    CMemFile full(room, sizeof room);  // cannot grow: the first flush fails
    BOOL thrown = FALSE;
    CArchive ar(&full, CArchive::store, 128);
    try {
        f.controller->SerializeSelection(ar, &set);
        ar.Flush();
    } catch (CException* e) {
        e->Delete();
        thrown = TRUE;
    }
    ar.Abort();
    EXPECT_TRUE(thrown);
    EXPECT_EQ(link->GetConnectionCount(), 2);
    EXPECT_EQ(link->GetTargetComponent(), b);
    EXPECT_EQ(b->GetConnectionCount(), 1);
}

TEST(Clipboard, CopyLeavesOtherFormatsOnTheClipboard)
{
    EditFixture f;
    ASSERT_TRUE(::OpenClipboard(f.Wnd()));
    ::EmptyClipboard();
    HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, 5);
    memcpy(::GlobalLock(text), "golf", 5);
    ::GlobalUnlock(text);
    ::SetClipboardData(CF_TEXT, text);
    ::CloseClipboard();
    f.AddRect(10, 10, 20, 20);
    f.Command(ID_EDIT_COPY);
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(::IsClipboardFormatAvailable(f.controller->GetClipboardFormat()));
    EXPECT_TRUE(f.Enabled(ID_EDIT_PASTE));
}

// ---------------------------------------------------------------------------------------------
// Zoom and pan

TEST(Zoom, ToolClickRectangleAndPan)
{
    EditFixture f;
    f.Command(ID_OD_ZOOM);
    EXPECT_EQ(f.State(), 40);
    // One step of 25 in, one out; the zoom reads back truncated (1/0.8 is just below 1.25).
    f.Down(100, 100);
    f.Up(100, 100);
    EXPECT_EQ(f.view.GetZoom(), CSize(124, 124));
    f.RUp(100, 100);
    EXPECT_EQ(f.view.GetZoom(), CSize(99, 99));
    f.Command(ID_OD_ZOOM_100);
    // A rectangle 4 units wide changes nothing; 50 by 50 zooms.
    f.Drag(CPoint(100, 100), CPoint(104, 200));
    EXPECT_EQ(f.view.GetZoom(), CSize(100, 100));
    EXPECT_EQ(f.State(), 40);
    f.Drag(CPoint(100, 100), CPoint(150, 150));
    EXPECT_GT(f.view.GetZoom().cx, 100);
    int check = 0;
    f.Enabled(ID_OD_ZOOM, &check);
    EXPECT_EQ(check, 1);

    f.Command(ID_OD_ZOOM_100);
    f.Command(ID_OD_PAN);
    f.view.SetLogicalOrigin(100, 100);
    f.Down(200, 200);
    f.Move(210, 200);
    f.Up(210, 200);
    EXPECT_EQ(f.view.GetLogicalOrigin(), CPoint(90, 100));
    EXPECT_EQ(f.State(), 43);
}

TEST(Zoom, FixedItemsAndZoomNormal)
{
    EditFixture f;
    int check = 0;
    EXPECT_FALSE(f.Enabled(ID_OD_ZOOM_NORMAL));
    f.Enabled(ID_OD_ZOOM_100, &check);
    EXPECT_EQ(check, 1);
    f.Command(ID_OD_ZOOM_200);
    EXPECT_EQ(f.view.GetZoom(), CSize(200, 200));
    EXPECT_TRUE(f.Enabled(ID_OD_ZOOM_NORMAL));
    f.Command(ID_OD_ZOOM_NORMAL);
    EXPECT_EQ(f.view.GetZoom(), CSize(100, 100));
    f.view.SetZoomLimits(60, 1500);
    f.Command(ID_OD_ZOOM_50);  // below the minimum: ignored
    EXPECT_EQ(f.view.GetZoom(), CSize(100, 100));
}

// ---------------------------------------------------------------------------------------------
// Export

namespace {

// The first bytes of a file; none when it cannot be read.
std::string Head(const CString& path)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    char bytes[4] = {};
    DWORD got = 0;
    ::ReadFile(file, bytes, 4, &got, NULL);
    ::CloseHandle(file);
    return std::string(bytes, got);
}

struct ExportingController : CODController {
    using CODController::CODController;
    CString path;
    int filter = 1;
    BOOL PromptExportFile(CString& out, int* index, UINT, UINT) override
    {
        out = path;
        *index = filter;
        return TRUE;
    }
};

}  // namespace

TEST(Export, TheFilterDecidesTheFormatAndAFailureIsReported)
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    CString bmp = CString(temp) + "od_export_test.emf";  // a bitmap under an .emf name
    CString emf = CString(temp) + "od_export_test2.emf";
    EditFixture f;
    f.AddRect(10, 10, 60, 60);
    ExportingController exporter(&f.view);
    exporter.SetModel(&f.model);
    exporter.Initialize(&f.host, &f.view);
    exporter.path = bmp;
    exporter.filter = 1;
    exporter.OnCmdMsg(ID_OD_EXPORT, CN_COMMAND, NULL, NULL);
    EXPECT_EQ(Head(bmp).substr(0, 2), "BM");
    exporter.path = emf;
    exporter.filter = 2;
    exporter.OnCmdMsg(ID_OD_EXPORT, CN_COMMAND, NULL, NULL);
    EXPECT_EQ(Head(emf), std::string("\x01\0\0\0", 4));  // EMR_HEADER
    ::DeleteFileA(bmp);
    ::DeleteFileA(emf);

    exporter.path = CString(temp) + "no_such_folder\\drawing.bmp";
    MessageBoxWatch watch;
    exporter.OnCmdMsg(ID_OD_EXPORT, CN_COMMAND, NULL, NULL);
    EXPECT_EQ(MessageBoxWatch::Count(), 1);
    exporter.UnPlug();
}
