// The timed half of the real program's benchmarks (program_bench.sh starts the program and
// sets the scene with the session driver). Like the driver it never calls into the program:
// it finds the main window (the one carrying the program's instance mark), posts the commands
// its hot keys give, watches the clip panel and reads the program's CPU time from /proc (each
// Wine process is a Linux process; the script passes the program's pid). Run it in the
// program's prefix:
//
//   wine program_bench.exe.so usable SECONDS
//       waits for the main window to be shown and to answer a message; prints
//       "usable <Unix time>" then, for the script that started the program to subtract
//   wine program_bench.exe.so close SECONDS
//       posts WM_CLOSE to the main window and waits for it to be gone
//   wine program_bench.exe.so cpu PID SECONDS RUNS [arm|play]
//       the CPU share of one core of process PID (and, apart, of the prefix's Wine server)
//       over RUNS windows of SECONDS each; medians at the end. `arm` first starts an
//       automatic recording (the replay ring: the program must not be recording) and lets
//       the ring fill; `play` posts Play before each window, which starts 0.3 s after it
//       (the clips shown must play longer than that and the window)
//   wine program_bench.exe.so trigger PRE_FRAMES POST_FRAMES RUNS
//       per run (the automatic recording armed by `cpu ... arm`): waits until the ring has
//       had time to fill, posts the trigger and times until the clip panel holds one more
//       clip (the clip is put in the panel and shown in channel 0 by the same message; a
//       trigger that brings none, the ring not yet armed again, is given again);
//       prints each time and the medians of the time beyond the POST_FRAMES frames the
//       camera still had to send, and beyond the hand-out of the ring too: the replay
//       buffer passes its PRE + 1 + POST frames on one for each frame the camera sends
//       after the last of them, and reports the end at the next one (29.97 frames/s)
#include <windows.h>
#include <commctrl.h>
#include <time.h>
#include <algorithm>
#include <strings.h>
#include <string>
#include <vector>
#include "proc_cpu.h"
#include "started_mark.h"

namespace {

// The commands of the program's hot keys (its main window's WM_COMMAND ids).
const UINT kStartAutoRecord = 32802, kTriggerAutoRecord = 32803, kRealPlay = 32822;
const double kFrameRate = 30000.0 / 1001.0;

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

BOOL CALLBACK Collect(HWND w, LPARAM list)
{
    ((std::vector<HWND>*)list)->push_back(w);
    return TRUE;
}

HWND MainWindow()
{
    std::vector<HWND> tops;
    EnumWindows(Collect, (LPARAM)&tops);
    for (HWND w : tops)
        if (GetPropA(w, "brenic"))
            return w;
    return NULL;
}

// Every window of the program's process, top-level or child (bars may float).
std::vector<HWND> ProgramWindows(HWND main)
{
    DWORD program = 0;
    GetWindowThreadProcessId(main, &program);
    std::vector<HWND> tops, all;
    EnumWindows(Collect, (LPARAM)&tops);
    for (HWND top : tops) {
        DWORD pid = 0;
        GetWindowThreadProcessId(top, &pid);
        if (pid != program)
            continue;
        all.push_back(top);
        EnumChildWindows(top, Collect, (LPARAM)&all);
    }
    return all;
}

LRESULT Ask(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(w, msg, wp, lp, SMTO_NORMAL, 5000, &result) ? (LRESULT)result : -1;
}

// Clips in the clip panel's lists (the Students and the Pros panes).
int ClipCount(HWND main)
{
    int count = 0;
    for (HWND panel : ProgramWindows(main)) {
        char text[32] = "";
        GetWindowTextA(panel, text, sizeof text);
        if (strcmp(text, "Clip Panel") != 0)
            continue;
        std::vector<HWND> children;
        EnumChildWindows(panel, Collect, (LPARAM)&children);
        for (HWND list : children) {
            char cls[32] = "";
            GetClassNameA(list, cls, sizeof cls);
            if (strcasecmp(cls, WC_LISTVIEWA) == 0)
                count += std::max<LRESULT>(0, Ask(list, LVM_GETITEMCOUNT));
        }
    }
    return count;
}

HWND WaitForMain(double seconds)
{
    const double end = Now() + seconds;
    for (;;) {
        HWND w = MainWindow();
        if (w && IsWindowVisible(w))
            return w;
        if (Now() > end)
            return NULL;
        Sleep(5);
    }
}

int Usable(double seconds)
{
    const double end = Now() + seconds;
    HWND w = WaitForMain(seconds);
    while (w) {
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 100, &answer)) {
            timespec t;
            clock_gettime(CLOCK_REALTIME, &t);
            printf("usable %.3f\n", t.tv_sec + t.tv_nsec * 1e-9);
            return 0;
        }
        if (Now() > end)
            break;
    }
    fprintf(stderr, "no usable main window within %.0f s\n", seconds);
    return 1;
}

int Close(double seconds)
{
    HWND w = MainWindow();
    if (!w)
        return 0;
    PostMessageA(w, WM_CLOSE, 0, 0);
    const double end = Now() + seconds;
    while (IsWindow(w)) {
        if (Now() > end) {
            fprintf(stderr, "the main window did not close within %.0f s\n", seconds);
            return 1;
        }
        Sleep(20);
    }
    return 0;
}

void SleepUntil(double when)
{
    const double left = when - Now();
    if (left > 0)
        Sleep(DWORD(left * 1000));
}

int Cpu(int pid, double seconds, int runs, const std::string& mode)
{
    HWND main = MainWindow();
    if (!main || LinuxProcessCpu(pid) <= 0) {
        fprintf(stderr, "no program window, or no process %d\n", pid);
        return 1;
    }
    if (mode == "arm") {
        PostMessageA(main, WM_COMMAND, kStartAutoRecord, 0);
        Sleep(4000);
    }
    const int server = WineServerPid();
    if (server < 0)
        printf("(the Wine server of this prefix was not found: its share is not counted)\n");
    std::vector<double> shares, serverShares;
    for (int r = 0; r < runs; ++r) {
        if (mode == "play") {
            PostMessageA(main, WM_COMMAND, kRealPlay, 0);
            Sleep(300);
        }
        const double cpu0 = LinuxProcessCpu(pid), server0 = LinuxProcessCpu(server), wall0 = Now();
        SleepUntil(wall0 + seconds);
        const double cpu1 = LinuxProcessCpu(pid), server1 = LinuxProcessCpu(server), wall1 = Now();
        const double wall = wall1 - wall0;
        shares.push_back((cpu1 - cpu0) / wall);
        serverShares.push_back((server1 - server0) / wall);
        printf("run %d: program %.1f%%, Wine server %.1f%% of one core over %.2f s\n", r + 1,
               shares.back() * 100, serverShares.back() * 100, wall);
        fflush(stdout);
        if (mode == "play")
            Sleep(1000);  // the play ends at the clips' end and rewinds
    }
    printf("median CPU share of one core (%s): program %.1f%%, Wine server %.1f%%\n",
           mode.empty() ? "as it is" : mode.c_str(), Median(shares) * 100,
           Median(serverShares) * 100);
    return 0;
}

int Trigger(int preFrames, int postFrames, int runs)
{
    HWND main = MainWindow();
    if (!main)
        return 1;
    std::vector<double> beyond, beyondRing;
    const int ringFrames = postFrames + (preFrames + 1 + postFrames) + 1;
    for (int r = 0; r < runs; ++r) {
        // The Record button's state is drawn, not readable: the ring was armed before the
        // first run, and after each clip the recording starts again by itself once the clip
        // has been replayed (twice, about 5 s); then the ring fills again.
        Sleep(r == 0 ? 1000 : 9000);
        // A trigger that comes before the ring is armed again does nothing: it is given
        // again (timed from then) when no clip has come well after a clip's usual time.
        const int before = ClipCount(main);
        double t0 = 0, t1 = 0;
        for (int attempt = 0; attempt < 4 && !t1; ++attempt) {
            t0 = Now();
            PostMessageA(main, WM_COMMAND, kTriggerAutoRecord, 0);
            while (!t1 && Now() - t0 < ringFrames / kFrameRate + 3) {
                if (ClipCount(main) > before)
                    t1 = Now();
                else
                    Sleep(2);
            }
        }
        if (!t1) {
            fprintf(stderr, "run %d: no clip after four triggers\n", r + 1);
            return 1;
        }
        beyond.push_back(t1 - t0 - postFrames / kFrameRate);
        beyondRing.push_back(t1 - t0 - ringFrames / kFrameRate);
        printf("run %d: clip shown %.0f ms after the trigger: %.0f ms beyond the %d frames "
               "after it, %.0f ms beyond the ring's hand-out (%d frames)\n", r + 1,
               (t1 - t0) * 1e3, beyond.back() * 1e3, postFrames, beyondRing.back() * 1e3,
               ringFrames);
        fflush(stdout);
    }
    printf("median time from trigger to clip shown beyond the post-trigger frames: %.0f ms; "
           "beyond the ring's hand-out: %.0f ms\n", Median(beyond) * 1e3, Median(beyondRing) * 1e3);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    MarkStarted();
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "usable" && argc > 2)
        return Usable(atof(argv[2]));
    if (command == "close" && argc > 2)
        return Close(atof(argv[2]));
    if (command == "cpu" && argc > 4)
        return Cpu(atoi(argv[2]), atof(argv[3]), atoi(argv[4]), argc > 5 ? argv[5] : "");
    if (command == "trigger" && argc > 4)
        return Trigger(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]));
    fprintf(stderr, "usage: program_bench usable|close SECONDS, cpu PID SECONDS RUNS [arm|play], "
                    "trigger PRE_FRAMES POST_FRAMES RUNS\n");
    return 2;
}
