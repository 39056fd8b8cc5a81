#include "PanelLogic.h"
#include "MenuBar.h"
#include <windows.h>

namespace panel {

int CountingRate(double frameRate)
{
    int rate = frameRate > 0 ? (int)frameRate : 0;
    return rate == 0 ? 29 : rate;
}

CString FormatPosition(int position, double frameRate, BOOL framesMode)
{
    CString text;
    if (framesMode) {
        text.Format("%02d:%02d:%d", position / 60, (position / 2) % 30, position % 2);
    } else {
        float s = (float)(position / 2.0 / CountingRate(frameRate));
        int whole = (int)s;
        text.Format("%02d:%02d:%02d", (int)(s / 60), whole % 60, (int)((s - whole) * 100));
    }
    return text;
}

RecordLook RecordLookForCode(long code)
{
    switch (code) {
    case 200:
    case 201:
        return {TRUE, FALSE, 0, 0};
    case 202:
        return {TRUE, TRUE, 2, -1};
    case 203:
        return {TRUE, TRUE, 1, 0};
    case 204:
        return {TRUE, TRUE, 2, 1};
    default:
        return {FALSE, FALSE, 0, -1};
    }
}

const DrawingTool kTools[kToolCount] = {
    {0, 32831, 1095}, {1, 32830, 1096}, {2, 32845, 1150}, {3, 32799, 1137},
    {4, 32825, 1099}, {5, 32846, 1149}, {6, 44524, 1097}, {7, 44516, 1098},
};

const DrawingTool* FindTool(int index)
{
    for (const DrawingTool& t : kTools)
        if (t.index == index)
            return &t;
    return NULL;
}

const DrawingTool* FindToolButton(UINT button)
{
    for (const DrawingTool& t : kTools)
        if (t.button == button)
            return &t;
    return NULL;
}

const LineColour kLineColours[kLineColourCount] = {
    {1279, RGB(0, 0, 0)},   {1280, RGB(255, 0, 0)},   {1281, RGB(0, 255, 0)},
    {1282, RGB(0, 0, 255)}, {1283, RGB(255, 255, 0)},
};

UINT LineColourButton(COLORREF colour)
{
    for (const LineColour& c : kLineColours)
        if (c.colour == colour)
            return c.button;
    return 0;
}

int NextCamera(int current, int count)
{
    if (count <= 0)
        return current;
    int next = (current + 1) % count;
    return next < 0 ? 0 : next;
}

int CameraStateImage(int device)
{
    return device >= 0 && device <= 2 ? device : 0;
}

namespace {
MemoryFigures SystemMemory()
{
    MEMORYSTATUS status = {};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    return {status.dwAvailPhys, status.dwTotalPhys};
}
MemorySource g_memorySource = SystemMemory;
} // namespace

MemorySource SetMemorySource(MemorySource source)
{
    MemorySource previous = g_memorySource;
    g_memorySource = source ? source : SystemMemory;
    return previous;
}

MemoryFigures ReadMemory()
{
    return g_memorySource();
}

VistrelRefusal CanEnableVistrel(BOOL liveMode, BOOL hasClip, int frames, double frameRate)
{
    if (liveMode)
        return kVistrelLive;
    if (!hasClip)
        return kVistrelNoClip;
    if (frames > 90)
        return kVistrelTooLong;
    if (frames <= 60)
        return kVistrelAllowed;
    MemoryFigures memory = ReadMemory();
    long long available = (long long)(memory.availablePhysical >> 20);
    long long total = (long long)(memory.totalPhysical >> 20);
    long long bytesPerFrame = frameRate == 25.0 ? 1658880 : 1382400;
    long long needed = frames * bytesPerFrame / 1048576;
    if (available < needed && total - 128 < needed)
        return kVistrelNoMemory;
    return kVistrelAllowed;
}

LPCTSTR VistrelRefusalText(VistrelRefusal refusal)
{
    switch (refusal) {
    case kVistrelLive:
        return "Select window with video clip loaded to enable Vistrel";
    case kVistrelNoClip:
        return "Need to have clip loaded to enable Vistrel";
    case kVistrelTooLong:
        return "Clip is too long.  Trim clip to enable Vistrel";
    case kVistrelNoMemory:
        return "Not enough memory to complete request.  Please try trimming file";
    default:
        return "";
    }
}

CString TimeRemainingText(int seconds)
{
    return "Time remaining: " + FormatLessonTime(seconds);
}

UINT ReplayModeButton(int mode)
{
    switch (mode) {
    case 0:
        return 1025;
    case 1:
        return 1026;
    case 2:
        return 1027;
    default:
        return 0;
    }
}

} // namespace panel
