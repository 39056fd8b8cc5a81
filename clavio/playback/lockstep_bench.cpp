// Benchmark: two clips stepped in lock-step at speed 1.0, as the comparison view plays
// them. Reports the CPU share of one core that the play costs (this process and the Wine
// server together: waits, events and timers go through the server) and the medians of
// the stages of a field step.
//
//   wine build/tests/clavio_lockstep_bench.exe.so [seconds] [repetitions]
#define NOMINMAX
#include <algorithm>
#include <vector>
#include <string>
#include "PlaybackGraph.h"
#include "dv_fixture.h"
#include "proc_cpu.h"
#include <cstdio>
#include <cstdlib>

namespace {

class BenchApp : public CWinApp
{
public:
    int DoMessageBox(LPCTSTR prompt, UINT, UINT) override
    {
        fprintf(stderr, "message: %s\n", prompt);
        return IDOK;
    }
} theApp;

std::string WinePath(const std::string& unixPath)
{
    std::string p = "Z:" + unixPath;
    for (char& c : p)
        if (c == '/')
            c = '\\';
    return p;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

// CPU seconds of this process.
double ProcessCpu()
{
    FILETIME a, b, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &a, &b, &kernel, &user);
    auto s = [](FILETIME t) { return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7; };
    return s(kernel) + s(user);
}

CPlaybackGraph* Open(const std::string& path, int index)
{
    CPlaybackGraph* g = new CPlaybackGraph(index);
    g->CreateGraph(NULL);
    g->OpenFile();
    if (FAILED(g->LoadFile(WinePath(path).c_str()))) {
        delete g;
        return NULL;
    }
    return g;
}

} // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? atof(argv[1]) : 5.0;
    const int repetitions = argc > 2 ? atoi(argv[2]) : 3;
    CoInitializeEx(NULL, COINIT_MULTITHREADED);
    const int frames = 150;
    const std::string a = "/tmp/lockstep_a" + std::to_string(getpid()) + ".avi";
    const std::string b = "/tmp/lockstep_b" + std::to_string(getpid()) + ".avi";
    DvClipFormat format;
    format.frames = frames;
    format.withAudio = false;
    format.fieldNumbers = true;
    std::string error;
    if (!WriteDvClip(a, format, &error) || !WriteDvClip(b, format, &error)) {
        fprintf(stderr, "clips: %s\n", error.c_str());
        return 1;
    }
    CPlaybackGraph* g0 = Open(a, 0);
    CPlaybackGraph* g1 = Open(b, 1);
    if (!g0 || !g1) {
        fprintf(stderr, "clips do not open\n");
        return 1;
    }
    g0->SetTrimOut(frames - 1);
    g1->SetTrimOut(frames - 1);

    // Stages of one field step, alone.
    std::vector<double> newFrame, sameFrame, position;
    g0->SetField(0);
    g0->SeekFrame(0, false, false);
    for (int i = 0; i < 60; ++i) {
        double t = Now();
        g0->MoveFields(1);   // to the second field: the same frame again
        sameFrame.push_back(Now() - t);
        t = Now();
        g0->MoveFields(1);   // to the next frame's first field: a decode
        newFrame.push_back(Now() - t);
        t = Now();
        g0->GetFieldPosition();
        position.push_back(Now() - t);
    }
    // The same frame again through the graph's own calls: positioning, then the wait until
    // the picture has reached the renderer.
    std::vector<double> seekCall, arrival;
    {
        IMediaSeeking* seeking = NULL;
        IMediaControl* control = NULL;
        g0->GetGraph()->QueryInterface(IID_IMediaSeeking, (void**)&seeking);
        g0->GetGraph()->QueryInterface(IID_IMediaControl, (void**)&control);
        for (int i = 0; i < 30 && seeking && control; ++i) {
            LONGLONG frame = 10;
            double t = Now();
            seeking->SetPositions(&frame, AM_SEEKING_AbsolutePositioning, NULL, AM_SEEKING_NoPositioning);
            seekCall.push_back(Now() - t);
            t = Now();
            OAFilterState fs;
            control->GetState(5000, &fs);
            arrival.push_back(Now() - t);
        }
        if (seeking)
            seeking->Release();
        if (control)
            control->Release();
    }
    printf("graph medians: positioning call %.3f ms, picture at the renderer after it %.3f ms\n",
           Median(seekCall) * 1e3, Median(arrival) * 1e3);
    printf("stage medians: field step to a new frame %.3f ms, to the same frame's other field "
           "%.3f ms, position read %.3f ms\n",
           Median(newFrame) * 1e3, Median(sameFrame) * 1e3, Median(position) * 1e3);

    const int server = WineServerPid();
    if (server < 0)
        printf("(the Wine server of this prefix was not found: its share is not counted)\n");
    std::vector<double> shares, processShares, stepMs;
    for (int r = 0; r < repetitions; ++r) {
        g0->SetField(0);
        g0->SeekFrame(0, false, false);
        g1->SetField(0);
        g1->SeekFrame(0, false, false);
        g0->SetLockOffset(0);
        g1->SetLockOffset(10);
        g0->SetSpeed(1.0f);
        g1->SetSpeed(1.0f);
        g0->SetPlayLocked(1);
        const double cpu0 = ProcessCpu(), server0 = LinuxProcessCpu(server), wall0 = Now();
        const int field0 = g0->GetFieldPosition();
        g0->PlayForward();
        g1->PlayForward();
        Sleep(DWORD(seconds * 1000));
        const int field1 = g0->GetFieldPosition();
        const double cpu1 = ProcessCpu(), server1 = LinuxProcessCpu(server), wall1 = Now();
        g0->Stop(true);
        g1->Stop(true);
        g0->SetPlayLocked(0);
        const double wall = wall1 - wall0;
        const double process = (cpu1 - cpu0) / wall, total = (cpu1 - cpu0 + server1 - server0) / wall;
        const int steps = field1 - field0;
        processShares.push_back(process);
        shares.push_back(total);
        stepMs.push_back(steps > 0 ? (cpu1 - cpu0 + server1 - server0) * 1e3 / (2.0 * steps) : 0);
        printf("run %d: %d fields per channel in %.2f s (%.1f fields/s), CPU share %.1f%% "
               "(process %.1f%%, server %.1f%%)\n",
               r + 1, steps, wall, steps / wall, total * 100, process * 100, (total - process) * 100);
    }
    printf("median CPU share of one core, two locked channels at speed 1.0: %.1f%% "
           "(process %.1f%%), %.3f ms per field step and channel\n",
           Median(shares) * 100, Median(processShares) * 100, Median(stepMs));
    delete g1;
    delete g0;
    remove(a.c_str());
    remove(b.c_str());
    CoUninitialize();
    return 0;
}
