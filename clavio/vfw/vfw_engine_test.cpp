// The Video for Windows engine over a field-coded clip (see avi_clip_writer.h): the player
// slots, trim rules, drawing and play to the end; the slots it leaves out; the camera side
// without a capture driver.
#include "VfwVideoEngine.h"
#include "engine_test_support.h"
#include "avi_clip_writer.h"

namespace {

CRecordingApp theApp;

TEST(VfwVideoEngine, PlaysTrimsAndDrawsThroughItsPlayer)
{
    const std::string path = WriteFieldCodedClip("vfwengine.avi", 720, 480, 6);
    ASSERT_FALSE(path.empty());
    NotifyWindow owner;
    CVfwVideoEngine engine;
    engine.SetOwner(owner.Wnd());
    EXPECT_EQ(engine.GetDriverType(), 0);
    EXPECT_FALSE(engine.Play());   // nothing loaded
    ASSERT_TRUE(engine.LoadFile(path.c_str()));
    EXPECT_TRUE(engine.IsValid());
    EXPECT_EQ(engine.GetFrameCount(), 6);
    EXPECT_EQ(engine.GetClipWidth(), 720);
    EXPECT_EQ(engine.GetClipHeight(), 480);

    struct Trim {
        bool in;
        long frame;
        BOOL accepted;
    } trims[] = {{false, 6, FALSE}, {false, 4, TRUE}, {true, 4, FALSE}, {true, -1, FALSE},
                 {true, 1, TRUE}, {false, 1, FALSE}};
    for (const Trim& t : trims)
        EXPECT_EQ(t.in ? engine.SetTrimIn(t.frame) : engine.SetTrimOut(t.frame), t.accepted)
            << (t.in ? "in " : "out ") << t.frame;

    EXPECT_EQ(engine.Seek(0), 1);   // raised to trim in
    EXPECT_EQ(engine.GetFieldPosition(), 2);
    EXPECT_TRUE(engine.StepField(3));
    EXPECT_EQ(engine.GetFieldPosition(), 5);
    CDC dc;
    dc.Attach(CreateCompatibleDC(NULL));
    CBitmapDIB picture;
    ASSERT_TRUE(picture.Create(608, 456, 32));
    HGDIOBJ old = SelectObject(dc.m_hDC, picture.GetSafeHandle());
    RECT at = {0, 0, 608, 456};
    EXPECT_TRUE(engine.DrawFrame(&dc, &at));
    GdiFlush();
    EXPECT_EQ(picture.m_pBits[0] & 0xFFFFFF, 0x400005u);
    SelectObject(dc.m_hDC, old);
    DeleteDC(dc.Detach());

    EXPECT_TRUE(engine.Play());
    ASSERT_TRUE(owner.WaitFor(100, 3000));
    EXPECT_EQ(engine.GetFieldPosition(), 9);   // trim out's last field
    EXPECT_FALSE(engine.IsPlaying());
}

TEST(VfwVideoEngine, LeftOutSlotsFailAndNoCameraIsFound)
{
    NotifyWindow owner;
    CVfwVideoEngine engine;
    engine.SetOwner(owner.Wnd());
    EXPECT_FALSE(engine.Init());
    EXPECT_FALSE(engine.BlendFrame());
    EXPECT_FALSE(engine.SetShadowViewEnable(TRUE));
    EXPECT_EQ(engine.SeekField(4, FALSE, FALSE), 0);
    EXPECT_EQ(engine.EnableSonderic(true), 0);
    EXPECT_EQ(engine.SetMarkFieldAdjust(3), 1);
    EXPECT_FALSE(engine.CreateCaptureGraph());
    EXPECT_FALSE(engine.IsGraphBuilt());
    EXPECT_EQ(engine.GetDriverName(), CString("No capture driver is active"));
    EXPECT_EQ(engine.GetVideoFormat(), 0);
    EXPECT_TRUE(engine.SetPreTrigFrames(10));
    EXPECT_EQ(engine.GetSoundMarkFrame(), 20);
    EXPECT_EQ(engine.GetKeyColor(), COLORREF(0xA8A8A8));
}

} // namespace
