// CPU time of one field step of two locked channels through the video manager (this
// process; the median of several runs). ctest runs it briefly; for figures:
//   cd build && QUORVEL_BENCH_STEPS=400 QUORVEL_BENCH_RUNS=9 \
//     WINEPREFIX=$PWD/wine/test-prefix WINEDEBUG=-all wine tests/brenic_video_clavio_step_bench_test.exe.so
#include "gtest_wine.h"
#include "video_test_support.h"
#include <algorithm>

CVideoTestApp theApp;

namespace {
int g_steps = 60, g_runs = 3;


class LockedStep : public VideoManagerFixture
{
};
} // namespace

TEST_F(LockedStep, CpuPerField)
{
    if (const char* v = getenv("QUORVEL_BENCH_STEPS"))
        g_steps = std::max(2, atoi(v));
    if (const char* v = getenv("QUORVEL_BENCH_RUNS"))
        g_runs = std::max(1, atoi(v));
    DvClip a(*m_folder, "a.avi", 90), b(*m_folder, "b.avi", 90);
    CClip* A = NewClip(a, 90);
    CClip* B = NewClip(b, 90);
    A->m_nSoundMarkField = 100;
    A->PlaceTabsAroundImpact();
    B->m_nSoundMarkField = 80;
    B->PlaceTabsAroundImpact();
    m_clavio->SetComparisonView(FALSE);
    ASSERT_TRUE(m_clavio->LoadClip(A));
    ASSERT_TRUE(m_clavio->LoadClipInOtherChannel(B));
    m_clavio->SetLockMode(1);
    ASSERT_TRUE(m_clavio->IsLocked());
    std::vector<double> perStep;
    for (int run = 0; run < g_runs; ++run) {
        m_clavio->SeekField(70);
        Pump(50);
        double start = CpuSeconds();
        for (int i = 0; i < g_steps; ++i)
            m_clavio->StepField(i < g_steps / 2 ? 1 : -1);
        perStep.push_back((CpuSeconds() - start) / g_steps);
    }
    std::sort(perStep.begin(), perStep.end());
    printf("locked StepField through CClavio: median CPU %.3f ms per step (%d steps, %d runs)\n",
           perStep[perStep.size() / 2] * 1000.0, g_steps, g_runs);
}
