// The Video for Windows player over an uncompressed clip written with AVIFile at test time,
// whose line y of frame n carries field 2n + (y & 1) in its low byte and, in its red byte,
// 0x40 left of column 360 and 0xC0 right of it: fields drawn into a memory DC with line
// doubling, crop, mirror, key and grid; play to the end of the range; locked players; an
// oversized format refused.
#include "AviStream.h"
#include "engine_test_support.h"
#include "avi_clip_writer.h"
#include "test_codecs.h"
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

CRecordingApp theApp;

const int kWidth = 720, kHeight = 480, kFrames = 6;

std::string WriteClip(const char* name, int bitsPerPixel = 32)
{
    return WriteFieldCodedClip(name, kWidth, kHeight, kFrames, bitsPerPixel);
}

// A 608 x 456 picture the player draws into.
class Target
{
public:
    Target()
    {
        ok = bitmap.Create(608, 456, 32);
        dc = CreateCompatibleDC(NULL);
        old = SelectObject(dc, bitmap.GetSafeHandle());
    }
    ~Target()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    // The pixel after drawing (0x00RRGGBB): field in the low byte, half in the red byte.
    DWORD At(int x, int y)
    {
        GdiFlush();
        return bitmap.m_pBits[size_t(y) * 608 + x] & 0xFFFFFF;
    }
    bool ok;
    CBitmapDIB bitmap;
    HDC dc;
    HGDIOBJ old;
};

DWORD Pixel(int field, bool right) { return DWORD((right ? 0xC0 : 0x40) << 16 | field); }

class AviStreamTest : public testing::Test
{
protected:
    void SetUp() override
    {
        theApp.ClearBoxes();
        path = WriteClip("player.avi");
        ASSERT_FALSE(path.empty());
    }
    std::string path;
};

TEST_F(AviStreamTest, DrawsFieldsDoubledCroppedMirroredAndKeyed)
{
    CAviVideoStream player;
    ASSERT_TRUE(player.Open(path.c_str())) << theApp.AllBoxes();
    EXPECT_EQ(player.GetClipWidth(), kWidth);
    EXPECT_EQ(player.GetStreamLast(), kFrames - 1);
    Target t;
    ASSERT_TRUE(t.ok);
    CBitmapDIB overlay;
    ASSERT_TRUE(overlay.Create(608, 456, 32));
    for (int i = 0; i < 608 * 456; ++i)
        overlay.m_pBits[i] = player.GetKeyColor();
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x)
            overlay.m_pBits[y * 608 + x] = 0x00FF00;

    // A field step: each line of the field twice, straight from the 720-wide frame.
    player.SeekField(7);
    ASSERT_TRUE(player.Draw(t.dc, 0, 0));
    EXPECT_EQ(t.At(0, 0), Pixel(7, false));
    EXPECT_EQ(t.At(0, 1), Pixel(7, false));
    EXPECT_EQ(t.At(500, 301), Pixel(7, true));
    // A frame step: the whole frame, both fields.
    player.SeekFrame(2);
    ASSERT_TRUE(player.Draw(t.dc, 0, 0));
    EXPECT_EQ(t.At(0, 0), Pixel(4, false));
    EXPECT_EQ(player.GetFieldPosition(), 4);
    // Mirrored: the field (clipped to 608 columns) from the right edge; the second field's
    // lines are doubled downwards, from line 1.
    player.SeekField(9);
    player.SetMirror(TRUE);
    ASSERT_TRUE(player.Draw(t.dc, 0, 0));
    EXPECT_EQ(t.At(0, 1), Pixel(9, true));
    EXPECT_EQ(t.At(607, 455), Pixel(9, false));
    // The right half of the picture across the view, the drawing keyed over it.
    player.SetMirror(FALSE);
    player.SetCrop(0.5f, 0.0f, 0.5f, 1.0f);
    player.SetOverlay(&overlay, TRUE);
    ASSERT_TRUE(player.Draw(t.dc, 0, 0));
    EXPECT_EQ(t.At(0, 200), Pixel(9, false));     // column 304
    EXPECT_EQ(t.At(607, 200), Pixel(9, true));    // column 607
    EXPECT_EQ(t.At(15, 15), 0x00FF00u);
    EXPECT_EQ(t.At(25, 15), Pixel(9, false));
    // Successive frames: a 4 x 2 grid of the chosen frames' fields at half size.
    player.SetOverlay(NULL, FALSE);
    player.SetCrop(0, 0, 1, 1);
    player.SeekField(0);
    const long frames[] = {0, 1, 2, 3, 4, 5};
    player.SetSuccFramesSource(frames, 6);
    player.SetSuccFramesEnable(TRUE);
    ASSERT_TRUE(player.Draw(t.dc, 0, 0));
    EXPECT_EQ(t.At(10, 10) & 0xFF, 0u);
    EXPECT_EQ(t.At(152 + 10, 10) & 0xFF, 2u);
    EXPECT_EQ(t.At(152 + 10, 228 + 10) & 0xFF, 10u);
    EXPECT_EQ(player.GetFieldPosition(), 0);   // back to the position
    EXPECT_TRUE(theApp.Boxes().empty()) << theApp.AllBoxes();
}

TEST_F(AviStreamTest, PlaysToTheEndOfItsRangeAndSaysSoOnce)
{
    NotifyWindow owner;
    CAviVideoStream player;
    ASSERT_TRUE(player.Open(path.c_str()));
    player.SetOwner(owner.Wnd());
    EXPECT_FALSE(player.SetRate(0.0f));
    EXPECT_FALSE(player.SetRate(NAN));
    player.SetRange(1, 3);
    player.SeekField(4);
    player.Play();
    ASSERT_TRUE(owner.WaitFor(100, 3000));
    EXPECT_EQ(player.GetFieldPosition(), 7);    // the range's last field
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_TRUE(owner.Codes(200).empty());
    // Backwards at twice the speed to the first field.
    ASSERT_TRUE(player.SetRate(2.0f));
    player.PlayBackwards();
    ASSERT_TRUE(owner.WaitFor(100, 3000));
    EXPECT_EQ(player.GetFieldPosition(), 2);
    EXPECT_LT(player.GetRate(), 0.0f);
}

TEST_F(AviStreamTest, RealPlayGoesThroughACodecThatDraws)
{
    ASSERT_TRUE(InstallTestCodecs());
    const std::string coded = WriteFieldCodedClip("player_drawn.avi", kWidth, kHeight, kFrames, 32, kDrawing);
    ASSERT_FALSE(coded.empty());
    NotifyWindow owner;
    CAviVideoStream player;
    ASSERT_TRUE(player.Open(coded.c_str()));
    player.SetOwner(owner.Wnd());
    player.SetRange(1, 4);
    player.SeekFrame(2);
    g_calls.clear();
    player.RealPlay();
    ASSERT_TRUE(owner.WaitFor(100, 3000));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.GetFieldPosition(), 8);   // the range's last frame
    // Three buffers ahead from frame 2 (a frame's first pixel is on its bottom line, which
    // carries field 2n + 1), then a frame a tick until the last one is handed over, and the
    // codec stopped.
    const std::vector<std::string> expected = {
        "begin 608x456 720", "draw 5 preroll t0", "draw 7 preroll t1", "draw 9 preroll t2",
        "window 608x456", "start", "draw 9 t3", "flush", "stop", "end"};
    EXPECT_EQ(g_calls, expected);
    ICRemove(ICTYPE_VIDEO, kDrawing, 0);
    ICRemove(ICTYPE_VIDEO, kNotDrawing, 0);
}

TEST_F(AviStreamTest, LockedPlayersFollowAtTheirOffsets)
{
    NotifyWindow ownerA, ownerB;
    std::unique_ptr<CAviVideoStream> a(new CAviVideoStream), b(new CAviVideoStream);
    ASSERT_TRUE(a->Open(path.c_str()));
    ASSERT_TRUE(b->Open(path.c_str()));
    a->SetOwner(ownerA.Wnd());
    b->SetOwner(ownerB.Wnd());
    b->SetLockOffset(3);
    a->SeekField(0);
    b->SeekField(3);
    CAviStream::SetLocked(TRUE);
    a->Play();
    b->Play();
    ASSERT_TRUE(ownerA.WaitFor(100, 3000));
    ASSERT_TRUE(ownerB.WaitFor(100, 3000));
    EXPECT_EQ(a->GetFieldPosition(), 2 * kFrames - 1);
    EXPECT_EQ(b->GetFieldPosition(), 2 * kFrames - 1);   // held at its own last field
    CAviStream::SetLocked(FALSE);

    // At most four players are registered; a destroyed one leaves room.
    std::vector<std::unique_ptr<CAviStream>> more;
    more.emplace_back(new CAviStream);
    more.emplace_back(new CAviStream);
    EXPECT_TRUE(more[1]->IsRegistered());
    more.emplace_back(new CAviStream);
    EXPECT_FALSE(more[2]->IsRegistered());
    b.reset();
    more.emplace_back(new CAviStream);
    EXPECT_TRUE(more[3]->IsRegistered());
}

TEST_F(AviStreamTest, AFormatLargerThanThePlayerKeepsIsRefused)
{
    std::string big = WriteClip("player8.avi", 8);
    ASSERT_FALSE(big.empty());
    CAviVideoStream player;
    EXPECT_FALSE(player.Open(big.c_str()));
    EXPECT_FALSE(player.IsOpen());
    EXPECT_TRUE(player.Open(path.c_str()));
    EXPECT_FALSE(player.Open("C:\\no\\such.avi"));
    EXPECT_EQ(theApp.AllBoxes(), "[Unable to open C:\\no\\such.avi]");
}

} // namespace
