// The drag payload the controller writes and the drop target that reads it, driven directly
// (whole OLE drags run in the layer's own drag test): a move within one drawing is one Move
// command, a move to another drawing an Insert there, a copy an Insert, and data that do not
// hold a drawing are refused.
#include "od_edit_fixture.h"
#include "ODDropTarget.h"

namespace {

// The payload of a drag of the selection that started at the logical point `from`.
HGLOBAL Payload(EditFixture& f, CPoint from)
{
    CSharedFile file(GMEM_MOVEABLE | GMEM_SHARE, 4096);
    CArchive ar(&file, CArchive::store, 4096);
    ar << (LONG)from.x << (LONG)from.y;
    int state = f.controller->GetState();
    f.controller->SetState(7);
    f.controller->SerializeSelection(ar, f.Selection());
    f.controller->SetState(state);
    ar.Close();
    return file.Detach();
}

HGLOBAL Bytes(const std::vector<BYTE>& bytes)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(::GlobalLock(block), bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    return block;
}

struct Drop {
    COleDataSource source;
    COleDataObject data;
    Drop(UINT format, HGLOBAL block)
    {
        source.CacheGlobalData((CLIPFORMAT)format, block);
        data.Attach(source.GetDataObject(), FALSE);
    }
};

}  // namespace

TEST(DragDrop, MoveWithinTheDrawingIsOneMoveCommand)
{
    EditFixture f;
    CODRectComponent* r = f.AddRect(100, 100, 150, 150);
    CODDropTarget target;
    target.RegisterViewport(&f.view);
    Drop drop(f.controller->GetClipboardFormat(), Payload(f, CPoint(120, 120)));
    f.model.SetDragSource(TRUE);
    EXPECT_EQ(target.OnDragEnter(&f.host, &drop.data, 0, CPoint(120, 120)), DROPEFFECT_MOVE);
    EXPECT_EQ(target.OnDragOver(&f.host, &drop.data, MK_SHIFT, CPoint(160, 130)), DROPEFFECT_MOVE);
    EXPECT_EQ(target.GetLastOffset(), CSize(40, 0));
    EXPECT_TRUE(target.OnDrop(&f.host, &drop.data, DROPEFFECT_MOVE, CPoint(160, 130)));
    f.model.SetDragSource(FALSE);
    EXPECT_TRUE(f.model.IsDroppedOnSelf());
    EXPECT_EQ(f.Count(), 1);
    EXPECT_EQ(r->GetBounds(), CRect(140, 100, 190, 150));
    EXPECT_EQ(f.LastCommand()->GetType(), 1);
}

TEST(DragDrop, MoveAgainstTheEdgeIsClampedAndCtrlCopies)
{
    EditFixture f;
    CODRectComponent* r = f.AddRect(100, 100, 150, 150);
    (void)r;
    CODDropTarget target;
    target.RegisterViewport(&f.view);
    Drop drop(f.controller->GetClipboardFormat(), Payload(f, CPoint(120, 120)));
    target.OnDragEnter(&f.host, &drop.data, 0, CPoint(120, 120));
    target.OnDragOver(&f.host, &drop.data, 0, CPoint(2000, 120));
    EXPECT_EQ(target.GetLastOffset(), CSize(850, 0));  // the right edge at 1000
    EXPECT_EQ(target.OnDragOver(&f.host, &drop.data, MK_CONTROL, CPoint(130, 120)),
              DROPEFFECT_COPY);
    EXPECT_TRUE(target.OnDrop(&f.host, &drop.data, DROPEFFECT_COPY, CPoint(130, 120)));
    EXPECT_EQ(f.Count(), 2);
    EXPECT_EQ(f.LastCommand()->GetType(), 14);
}

TEST(DragDrop, MoveToAnotherDrawingInsertsThereAndTheSourceDeletes)
{
    EditFixture source, other;
    source.AddRect(100, 100, 150, 150);
    CODDropTarget target;
    target.RegisterViewport(&other.view);
    Drop drop(other.controller->GetClipboardFormat(), Payload(source, CPoint(120, 120)));
    source.model.SetDragSource(TRUE);
    other.model.SetDroppedOnSelf(FALSE);
    target.OnDragEnter(&other.host, &drop.data, 0, CPoint(120, 120));
    EXPECT_TRUE(target.OnDrop(&other.host, &drop.data, DROPEFFECT_MOVE, CPoint(120, 120)));
    source.model.SetDragSource(FALSE);
    EXPECT_EQ(other.Count(), 1);
    EXPECT_EQ(other.LastCommand()->GetType(), 14);
    // What the source does after a move whose drop did not land in its own drawing.
    EXPECT_FALSE(source.model.IsDroppedOnSelf());
}

TEST(DragDrop, OversizeSetsOtherFormatsAndHostileCountsAreRefused)
{
    EditFixture f;
    CODDropTarget target;
    target.RegisterViewport(&f.view);
    {
        CODRectComponent* big = f.AddRect(0, 0, 1000, 700);
        big->Scale(1.5f, 1.0f, 0.0f, 0.0f);  // wider than the drawing
        Drop drop(f.controller->GetClipboardFormat(), Payload(f, CPoint(10, 10)));
        EXPECT_EQ(target.OnDragEnter(&f.host, &drop.data, 0, CPoint(10, 10)), DROPEFFECT_NONE);
    }
    {
        Drop drop(CF_TEXT, Bytes({'g', 'o', 'l', 'f', 0}));
        EXPECT_EQ(target.OnDragEnter(&f.host, &drop.data, 0, CPoint(10, 10)), DROPEFFECT_NONE);
        EXPECT_FALSE(target.OnDrop(&f.host, &drop.data, DROPEFFECT_MOVE, CPoint(10, 10)));
    }
    {
        Drop drop(f.controller->GetClipboardFormat(),
                  Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F}));
        EXPECT_EQ(target.OnDragEnter(&f.host, &drop.data, 0, CPoint(10, 10)), DROPEFFECT_NONE);
        EXPECT_EQ(target.GetDraggedComponents()->GetSize(), 0);
    }
}
