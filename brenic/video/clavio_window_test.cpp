// The video manager window with two real video controls: layout, the frames it paints,
// views, transport and lock-step of two DV clips, clip drops and clip deletion.
#include "gtest_wine.h"
#include "video_test_support.h"

CVideoTestApp theApp;

namespace {

class ClavioWindow : public VideoManagerFixture
{
protected:
    void SetUp() override
    {
        VideoManagerFixture::SetUp();
        ASSERT_TRUE(m_slider.Create(NULL, NULL, WS_VISIBLE, CRect(0, 520, 700, 560), &m_host,
                                    1208));
        m_clavio->SetSlider(&m_slider);
    }
    void TearDown() override
    {
        m_clavio->SetSlider(nullptr);
        m_slider.DestroyWindow();
        VideoManagerFixture::TearDown();
    }
    // Two clips: A (channel 0) and B (channel 1) in comparison view.
    void LoadPair(int framesA, int framesB)
    {
        m_fileA.reset(new DvClip(*m_folder, "a.avi", framesA));
        m_fileB.reset(new DvClip(*m_folder, "b.avi", framesB));
        A = NewClip(*m_fileA, framesA);
        B = NewClip(*m_fileB, framesB);
        m_clavio->SetComparisonView(FALSE);
        ASSERT_TRUE(m_clavio->LoadClip(A));
        ASSERT_TRUE(m_clavio->LoadClipInOtherChannel(B));
        ASSERT_EQ(A, m_clavio->GetChannelClip(0));
        ASSERT_EQ(B, m_clavio->GetChannelClip(1));
    }
    static void SetImpact(CClip* clip, int impact)
    {
        clip->m_nSoundMarkField = impact;
        clip->PlaceTabsAroundImpact();
    }
    LONG Pos(int n) { return m_clavio->GetChannel(n)->GetFieldPosition(); }

    CTabrelEx m_slider;
    std::unique_ptr<DvClip> m_fileA, m_fileB;
    CClip* A = nullptr;
    CClip* B = nullptr;
};

std::string Text(const CRect& r)
{
    char s[80];
    snprintf(s, sizeof s, "(%d, %d, %d, %d)", r.left, r.top, r.right, r.bottom);
    return s;
}

COLORREF PixelAt(CDC& dc, int x, int y)
{
    return dc.GetPixel(x, y);
}

BOOL CALLBACK FindRenderer(HWND hwnd, LPARAM found)
{
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (strcmp(name, "VideoRendererWindow") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

} // namespace

TEST_F(ClavioWindow, LayoutFollowsTheClientSize)
{
    const struct {
        int cx, cy;
        RECT video;
    } table[] = {
        {700, 500, {46, 22, 653, 477}},
        {612, 460, {2, 2, 609, 457}},   // exactly the picture and its margins
        {600, 450, {-4, -3, 597, 447}}, // narrower: the right edge is the width minus 3
    };
    for (const auto& t : table) {
        m_clavio->SetSingleView();
        m_clavio->MoveWindow(0, 0, t.cx, t.cy);
        EXPECT_EQ(Text(CRect(t.video)), Text(m_clavio->GetVideoRect())) << t.cx;
        EXPECT_EQ(m_clavio->GetVideoRect(), m_clavio->GetCurrentRect()) << t.cx;
        CRect placed;
        m_clavio->GetChannel0()->GetWindowRect(&placed);
        m_clavio->ScreenToClient(&placed);
        EXPECT_EQ(t.video.left, placed.left) << t.cx;
        EXPECT_EQ(t.video.right - t.video.left, placed.Width()) << t.cx;
        // Split view: two halves with a gap, channel 0 on the left.
        m_clavio->SetComparisonView(FALSE);
        CRect v = m_clavio->GetVideoRect();
        int W = v.Width();
        EXPECT_EQ(CRect(v.left, v.top, v.left + (W + 1) / 2 - 2, v.bottom),
                  m_clavio->GetLeftRect());
        EXPECT_EQ(CRect((W + 1) / 2 + v.left, v.top, v.right, v.bottom),
                  m_clavio->GetRightRect());
        EXPECT_EQ(m_clavio->GetLeftRect(), m_clavio->GetCurrentRect());
        EXPECT_EQ(m_clavio->GetRightRect(), m_clavio->GetOtherRect());
    }
}

TEST_F(ClavioWindow, FramesPaintedAroundTheChannels)
{
    const COLORREF cyan = RGB(0, 255, 255), grey = RGB(0x80, 0x80, 0x80);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 800;
    bi.bmiHeader.biHeight = -600;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits;
    HBITMAP dib = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(dc.m_hDC, dib);
    auto clear = [&] { memset(bits, 0, 800 * 600 * 4); };

    clear();
    m_clavio->PaintFrames(&dc);
    CRect r = m_clavio->GetCurrentRect();
    EXPECT_EQ(cyan, PixelAt(dc, r.left - 1, r.top + 50));
    EXPECT_EQ(cyan, PixelAt(dc, r.left - 2, r.top + 50));
    EXPECT_EQ(0u, PixelAt(dc, r.left - 3, r.top + 50));

    LoadPair(20, 20);
    clear();
    m_clavio->PaintFrames(&dc);
    CRect cur = m_clavio->GetCurrentRect(), other = m_clavio->GetOtherRect();
    EXPECT_EQ(cyan, PixelAt(dc, cur.left - 2, cur.top + 50));
    EXPECT_EQ(grey, PixelAt(dc, other.right + 1, other.top + 50));
    EXPECT_EQ(grey, PixelAt(dc, other.right, other.top + 50));

    m_clavio->SetLockMode(2);
    ASSERT_TRUE(m_clavio->IsLocked());
    clear();
    m_clavio->PaintFrames(&dc);
    CRect v = m_clavio->GetVideoRect();
    for (int d = 1; d <= 3; ++d)
        EXPECT_EQ(cyan, PixelAt(dc, v.left - d, v.top + 50)) << d;
    EXPECT_EQ(0u, PixelAt(dc, v.left - 4, v.top + 50));
    // The gap between the halves is filled grey.
    EXPECT_EQ(grey, PixelAt(dc, m_clavio->GetLeftRect().right, v.top + 50));

    SelectObject(dc.m_hDC, old);
    DeleteObject(dib);
}

// Each channel's picture comes from its renderer's window, which must be a child of the
// channel's control, placed over it, and made on the control's desktop (these tests run on a
// desktop of their own): one made on another desktop kept a window of its own on a display,
// where the picture was drawn, and the channel stayed black.
TEST_F(ClavioWindow, RenderersAreChildrenOfTheirChannels)
{
    LoadPair(12, 12);
    for (int n = 0; n < 2; ++n) {
        CWnd* channel = m_clavio->GetChannel(n);
        HWND renderer = NULL;
        EnumChildWindows(channel->GetSafeHwnd(), FindRenderer, (LPARAM)&renderer);
        ASSERT_NE(renderer, (HWND)NULL) << "channel " << n;
        EXPECT_TRUE(GetWindowLongA(renderer, GWL_STYLE) & WS_CHILD) << n;
        EXPECT_EQ(GetThreadDesktop(GetCurrentThreadId()),
                  GetThreadDesktop(GetWindowThreadProcessId(renderer, NULL)))
            << n;
        CRect placed, control;
        ::GetWindowRect(renderer, &placed);
        channel->GetWindowRect(&control);
        EXPECT_EQ(control.TopLeft(), placed.TopLeft()) << n;
    }
}

TEST_F(ClavioWindow, ViewsShowAndHideTheChannels)
{
    EXPECT_TRUE(m_clavio->IsSingleView());
    EXPECT_TRUE(m_clavio->GetChannel0()->IsWindowVisible() || !m_host.IsWindowVisible());
    EXPECT_FALSE(m_clavio->GetChannel1()->GetStyle() & WS_VISIBLE);
    m_clavio->SetComparisonView(TRUE);
    EXPECT_TRUE(m_clavio->IsSplitView());
    EXPECT_EQ(1, m_clavio->GetCurrentChannel());
    EXPECT_TRUE(m_clavio->GetChannel1()->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(CPoint(152, 0), m_clavio->GetOverlay(0)->GetScrollOrigin());
    m_clavio->SetViewMode(2);
    EXPECT_TRUE(m_clavio->IsSuccessiveFramesView());
    m_clavio->SetViewMode(-1); // leaves the successive frames for the single view
    EXPECT_TRUE(m_clavio->IsSingleView());
    EXPECT_EQ(1, m_clavio->GetViewMode());
    m_clavio->OnSplitWindowKey();
    EXPECT_TRUE(m_clavio->IsSplitView());
    m_clavio->OnSplitWindowKey();
    EXPECT_TRUE(m_clavio->IsSingleView());
}

TEST_F(ClavioWindow, LockToImpactAlignsAndStepsBothChannels)
{
    LoadPair(90, 90);
    SetImpact(A, 150);
    SetImpact(B, 100);
    m_clavio->SelectChannel(1);
    m_clavio->OnLockImpactKey();
    ASSERT_TRUE(m_clavio->IsLocked());
    EXPECT_EQ(1, m_clavio->GetLockMode());
    EXPECT_EQ(0, A->m_nLockOffset);
    EXPECT_EQ(-50, B->m_nLockOffset);
    EXPECT_EQ(0, m_clavio->GetCurrentChannel()); // A leads: channel 0 became current
    EXPECT_TRUE(m_clavio->TakeChannelSwitchedFlag());
    EXPECT_FALSE(m_clavio->TakeChannelSwitchedFlag());
    EXPECT_EQ(150, m_slider.GetThumbPosition());
    EXPECT_EQ(150, Pos(0));
    EXPECT_EQ(100, Pos(1));
    EXPECT_EQ(150, m_clavio->GetLockedPosition());
    // Both ways, both channels, keeping their distance.
    for (int step : {1, 1, -1, -1, -1}) {
        int before = m_slider.GetThumbPosition();
        m_clavio->StepField(step);
        EXPECT_EQ(before + step, m_slider.GetThumbPosition());
        EXPECT_EQ(before + step, Pos(0));
        EXPECT_EQ(before + step - 50, Pos(1));
    }
    // Backwards B leads (its impact lies farther from its end); A keeps the distance the
    // channels show, signed.
    m_clavio->AlignLockedClips(TRUE);
    EXPECT_EQ(0, B->m_nLockOffset);
    EXPECT_EQ(Pos(0) - Pos(1), A->m_nLockOffset);
    EXPECT_EQ(50, A->m_nLockOffset);
    EXPECT_EQ(1, m_clavio->GetCurrentChannel());
    m_clavio->AlignLockedClips(FALSE);
    EXPECT_EQ(0, m_clavio->GetCurrentChannel());
    EXPECT_EQ(-50, B->m_nLockOffset);
    // Stop while locked leaves the play lock set; the next unlocked play clears it.
    m_clavio->SlowPlay();
    m_clavio->Stop();
    EXPECT_TRUE(m_clavio->GetChannel0()->GetPlayLocked());
    EXPECT_TRUE(m_clavio->GetChannel1()->GetPlayLocked());
    // Unlocking gives each clip its own range again and re-seeks the other channel.
    m_clavio->OnLockImpactKey();
    EXPECT_FALSE(m_clavio->IsLocked());
    EXPECT_EQ(0, A->m_nLockPosition);
    m_clavio->Stop();
    EXPECT_FALSE(m_clavio->GetChannel0()->GetPlayLocked());
}

TEST_F(ClavioWindow, LockAtTrimInsOrPresentPositions)
{
    LoadPair(40, 40);
    // Fewer than eight tabs: both clips align at their trim-in fields.
    A->m_nTabCount = 3;
    B->SpreadTabsEvenly();
    m_clavio->SelectChannel(1);
    m_clavio->SetLockMode(1);
    EXPECT_EQ(0, A->m_nLockOffset);
    EXPECT_EQ(0, B->m_nLockOffset);
    EXPECT_EQ(1, m_clavio->GetCurrentChannel()); // equal references: no switch
    m_clavio->SetLockMode(0);
    // Lock the screens at 40 and 40.
    m_clavio->GetChannel0()->SeekField(40);
    m_clavio->GetChannel1()->SeekField(40);
    m_clavio->SetLockMode(2);
    EXPECT_EQ(40, A->m_nLockPosition);
    EXPECT_EQ(40, B->m_nLockPosition);
    EXPECT_EQ(0, A->m_nLockOffset);
    EXPECT_EQ(0, B->m_nLockOffset);
    EXPECT_EQ(1, m_clavio->GetCurrentChannel());
    m_clavio->SetLockMode(0);
    EXPECT_EQ(40, A->m_nLastDisplayPos);
}

TEST_F(ClavioWindow, LockWithAnEmptyChannelWaits)
{
    DvClip file(*m_folder, "one.avi", 20);
    CClip* clip = NewClip(file, 20);
    ASSERT_TRUE(m_clavio->LoadClip(clip));
    m_clavio->SetComparisonView(FALSE);
    m_clavio->SetLockMode(1); // channel 1 is empty
    EXPECT_EQ(1, m_clavio->GetLockMode());
    EXPECT_FALSE(m_clavio->IsLocked());
    m_clavio->StepField(1);
    m_clavio->SlowPlay();
    m_clavio->Stop();
    m_clavio->SetLockMode(2); // outside split view too
    m_clavio->SetSingleView();
    m_clavio->SetLockMode(1);
    EXPECT_FALSE(m_clavio->IsLocked());
    m_clavio->SetLockMode(0);
}

TEST_F(ClavioWindow, DeletedClipLeavesEveryChannelShowingIt)
{
    DvClip file(*m_folder, "shared.avi", 12);
    CClip* clip = new CClip;
    clip->m_strVideoPath = file.path;
    clip->m_bNew = FALSE;
    clip->SetTrimOut(11);
    m_clavio->SetComparisonView(FALSE);
    ASSERT_TRUE(m_clavio->LoadClip(clip));
    ASSERT_TRUE(m_clavio->LoadClipInOtherChannel(clip));
    ASSERT_TRUE(m_clavio->IsClipShown(clip));
    delete clip;
    EXPECT_EQ(nullptr, m_clavio->GetChannelClip(0));
    EXPECT_EQ(nullptr, m_clavio->GetChannelClip(1));
    EXPECT_EQ(nullptr, m_clavio->GetCurrentClip());
    EXPECT_FALSE(m_clavio->GetChannel1()->IsValid());
}

TEST_F(ClavioWindow, DropsOfClips)
{
    LoadPair(12, 12);
    DvClip third(*m_folder, "c.avi", 12);
    CClip* C = NewClip(third, 12);
    CLIPFORMAT format = (CLIPFORMAT)g_pAppConfig->GetClipClipboardFormat();
    auto drop = [&](HGLOBAL block, CLIPFORMAT cf, CPoint at) {
        COleDataSource source;
        source.CacheGlobalData(cf, block);
        COleDataObject data;
        data.Attach(source.GetDataObject(), FALSE);
        DROPEFFECT over = m_clavio->OnDragOver(m_clavio, &data, 0, at);
        BOOL dropped = m_clavio->OnDrop(m_clavio, &data, DROPEFFECT_COPY, at);
        return std::make_pair(over, dropped);
    };
    // Onto the other half: that half becomes current and shows the clip.
    CRect right = m_clavio->GetRightRect();
    auto r = drop(CClavio::MakeClipDragBlock(C), format, right.CenterPoint());
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_COPY, r.first);
    EXPECT_TRUE(r.second);
    EXPECT_EQ(1, m_clavio->GetCurrentChannel());
    EXPECT_EQ(C, m_clavio->GetChannelClip(1));
    // Another format is refused.
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 8);
    r = drop(text, CF_TEXT, right.CenterPoint());
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_NONE, r.first);
    EXPECT_FALSE(r.second);
    // A block naming no clip of this process (another instance's address, a forged one)
    // loads nothing; a block too short for a pointer neither.
    int notAClip[64] = {};
    r = drop(CClavio::MakeClipDragBlock((CClip*)notAClip), format, right.CenterPoint());
    EXPECT_FALSE(r.second);
    HGLOBAL shortBlock = GlobalAlloc(GMEM_MOVEABLE, 4);
    r = drop(shortBlock, format, right.CenterPoint());
    EXPECT_FALSE(r.second);
    EXPECT_EQ(C, m_clavio->GetChannelClip(1));
    // Single view: always the current channel.
    m_clavio->SetSingleView();
    r = drop(CClavio::MakeClipDragBlock(A), format, CPoint(1, 1));
    EXPECT_TRUE(r.second);
    EXPECT_EQ(A, m_clavio->GetCurrentClip());
}

TEST_F(ClavioWindow, LockedEndOfRangeRewindsBothFromTheLeader)
{
    LoadPair(10, 20);
    m_clavio->SetLockMode(1); // fewer than eight tabs: aligned at the trim-ins
    ASSERT_TRUE(m_clavio->IsLocked());
    g_pAppConfig->SetAutoRewind(1);
    g_pAppConfig->SetAutoReplay(FALSE);
    g_pAppConfig->SetPlaySpeed(4.0f);
    CTransController* c = m_clavio->GetTransController();
    c->EnterPlaybackMode(FALSE, FALSE);
    EXPECT_EQ(1, m_clavio->GetLeadingChannel()); // B ends last on the common time line
    struct LeaderEnd : CObserverClient {
        CClavio* c = nullptr;
        bool seen = false;
        void OnVideoStateChanged() override
        {
            seen = seen || (c->GetVideoState() == 100 && c->GetLastStateChannel() == 1);
        }
    } leaderEnd;
    leaderEnd.c = m_clavio;
    m_clavio->SubscribeVideoStateChanged(&leaderEnd);
    m_clavio->SeekField(4);
    m_clavio->SlowPlay();
    // A reaches its end first and is ignored; B's end rewinds both to the start.
    ASSERT_TRUE(PumpUntil(
        [&] {
            return leaderEnd.seen && !m_clavio->GetChannel0()->IsPlaying() &&
                   !m_clavio->GetChannel1()->IsPlaying();
        },
        20000));
    Pump(300);
    EXPECT_EQ(0, Pos(0));
    EXPECT_EQ(0, Pos(1));
    EXPECT_EQ(CTransController::PLAYBACK, c->GetState());
}

TEST_F(ClavioWindow, BlendStepsForwardAndMirroredPlayIsStepped)
{
    LoadPair(20, 20);
    m_clavio->GetChannel0()->SeekField(6);
    m_clavio->GetChannel1()->SeekField(10);
    m_clavio->EnableBlendView(TRUE);
    ASSERT_TRUE(m_clavio->IsBlendViewEnabled());
    m_clavio->StepField(-1); // blended: both channels one field forward, whatever n is
    EXPECT_EQ(7, Pos(0));
    EXPECT_EQ(11, Pos(1));
    m_clavio->EnableBlendView(FALSE);
    // A mirrored picture plays stepped, at speed 1.
    m_clavio->SetSingleView();
    m_clavio->GetActiveVideoWindow()->SetPlaySpeed(0.25f);
    m_clavio->SetMirror(TRUE);
    EXPECT_TRUE(m_clavio->GetCurrentClip()->GetMirror());
    m_clavio->RealPlay();
    EXPECT_TRUE(m_clavio->GetActiveVideoWindow()->IsPlaying());
    EXPECT_FLOAT_EQ(1.0f, m_clavio->GetActiveVideoWindow()->GetPlaySpeed());
    m_clavio->Stop();
}

// Pictures of the views for people: run under a display with QUORVEL_SCREENSHOT_DIR (a Unix
// folder); each view is taken with xwd. Skipped otherwise.
TEST_F(ClavioWindow, ScreenshotsOfTheViews)
{
    const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
    if (!dir)
        GTEST_SKIP() << "no screenshot folder";
    m_host.SetWindowPos(NULL, 740, 500, 720, 580, SWP_NOZORDER);
    m_host.ShowWindow(SW_SHOW);
    LoadPair(40, 40);
    A->m_nSoundMarkField = 30;
    A->PlaceTabsAroundImpact();
    B->m_nSoundMarkField = 50;
    B->PlaceTabsAroundImpact();
    auto shoot = [&](const char* name) {
        m_host.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(1000);
        std::string command = std::string("xwd -root -silent -out '") + dir + "/" + name + ".xwd'";
        EXPECT_EQ(0, system(command.c_str()));
    };
    m_clavio->SetSingleView();
    m_clavio->SeekField(20);
    shoot("single");
    m_clavio->SetComparisonView(FALSE);
    shoot("split");
    m_clavio->SetLockMode(1);
    shoot("locked");
    m_clavio->SetLockMode(0);
}
