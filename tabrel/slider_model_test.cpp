// The slider's arithmetic without a window: positions and pixels, the thumb at both ends,
// tab marks and button slots.
#include "gtest_wine.h"
#include "slider_model.h"

namespace {

// A 32-pixel thumb, 16-pixel small icons, a client 232 pixels wide: a 200-pixel channel.
CTabrelModel Model(int nMin = 0, int nMax = 100)
{
    CTabrelModel m(32, 16, 16);
    EXPECT_TRUE(m.SetRange(nMin, nMax));
    m.SetClient(CRect(0, 0, 232, 60));
    return m;
}

TEST(SliderModel, PositionsAndPixels)
{
    CTabrelModel m = Model();
    EXPECT_EQ(m.m_rcChannel, CRect(16, 18, 216, 22));
    struct Case {
        int pos, point;
    } toPoint[] = {{0, 0}, {1, 2}, {50, 100}, {100, 200}};
    for (const Case& c : toPoint)
        EXPECT_EQ(m.PosToPoint(c.pos), c.point) << c.pos;
    // The far end of the channel reports max - 1; the maximum lies beyond it.
    struct Back {
        int x, pos;
    } toPos[] = {{-100, 0}, {16, 0}, {17, 1}, {116, 50}, {216, 99}, {217, 100}, {900, 100}};
    for (const Back& c : toPos)
        EXPECT_EQ(m.PointToPos(c.x), c.pos) << c.x;

    CTabrelModel one = Model(5, 6);
    for (const Back& c : {Back{16, 5}, Back{17, 6}, Back{216, 6}, Back{-5, 5}})
        EXPECT_EQ(one.PointToPos(c.x), c.pos) << c.x;
    CTabrelModel empty(32, 16, 16); // before the window has a size
    EXPECT_EQ(empty.PointToPos(50), 1);
}

TEST(SliderModel, TheThumbStaysInsideAtBothEnds)
{
    CTabrelModel m = Model();
    struct Case {
        int pos, alt;
        CRect rect;
    } cases[] = {
        {0, 0, CRect(0, 22, 32, 54)},
        {99, 0, CRect(198, 22, 230, 54)},
        {100, 0, CRect(199, 22, 231, 54)}, // exactly at the limit: one pixel back
        {100, 1, CRect(199, 6, 231, 22)},  // the half-height thumb rises into the channel
    };
    for (const Case& c : cases) {
        m.SetPos(c.pos);
        m.m_nAltThumb = c.alt;
        EXPECT_EQ(m.ThumbRect(), c.rect) << c.pos << " " << c.alt;
    }
    m.SetTransparent(TRUE);
    m.SetClient(CRect(0, 0, 232, 60));
    EXPECT_EQ(m.m_rcChannel.top, 8);
}

TEST(SliderModel, MarksAndButtonSlots)
{
    CTabrelModel m = Model();
    m.SetTabMode(2);
    EXPECT_EQ(m.m_nTabWidth, 16);
    EXPECT_EQ(m.TabRect(0), CRect(8, 2, 24, 18)) << "never left of half a mark before the channel";
    EXPECT_EQ(m.TabRect(50), CRect(100, 2, 116, 18));
    m.m_nTabWidth = 40; // wide marks meet the right end as the thumb does
    EXPECT_EQ(m.TabRect(100), CRect(196, -22, 236, 18));

    // Before the control has a size, marks are taken; once sized, marks that overlap stay.
    CTabrelModel unsized(32, 16, 16);
    unsized.SetTabMode(2);
    EXPECT_EQ(unsized.AddMark(60), 1);
    EXPECT_EQ(unsized.AddMark(21), 2);
    EXPECT_EQ(unsized.AddMark(20), 3);
    unsized.SetClient(CRect(0, 0, 133, 60)); // about a pixel a position
    unsized.LayoutMarks();
    EXPECT_EQ(unsized.m_nTabCount, 3);
    EXPECT_EQ(unsized.m_nTabPos[0], 20);
    EXPECT_EQ(unsized.m_nTabPos[1], 21);
    EXPECT_EQ(unsized.m_nTabPos[2], 60);

    CTabrelModel b = Model();
    EXPECT_EQ(b.m_nTabWidth, 30);
    // (216 - 30 - 16) / 7 = 24 pixels apart, in whole pixels.
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(b.SlotLeft(k), 16 + 24 * k) << k;
}

TEST(SliderModel, ModeOneSlotsKeepTheirOrderAndHoles)
{
    CTabrelModel m = Model();
    for (int p : {60, 20, 40})
        m.AddButtonTab(p);
    EXPECT_TRUE(m.DeleteTab(1));
    EXPECT_EQ(m.m_nTabCount, 3);
    // A hole inside the count is a tab like any other for the Up key: its empty position
    // puts the thumb on the maximum.
    m.SetPos(50);
    EXPECT_EQ(m.NextTab(), 0);
    EXPECT_EQ(m.NextTab(), 1);
    EXPECT_EQ(m.m_nTabPos[1], (int)CTabrelModel::kEmptySlot);
    EXPECT_FALSE(m.SetPos(m.m_nTabPos[1]));
    EXPECT_EQ(m.m_nPos, 100);
}

} // namespace
