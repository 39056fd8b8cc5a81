// Arithmetic of the options windows and the disk-capacity dialog, kept apart from the
// windows so that it can be checked on its own.
#pragma once
#include <afxwin.h>

namespace options {

// The slow-motion speed as a whole percent, rounded (a stored 0.29f is 29, not 28) and
// kept within the slider's 1 to 100.
int SpeedPercent(float speed);
// The speed slider runs from full speed (position 0) to 1 % (position 99).
inline int SpeedSliderPosition(float speed) { return 100 - SpeedPercent(speed); }

// Frames kept around the impact: each count 10 to 110 and both together at most 120. The
// count just moved is clamped first; the other gives way.
enum { MinTrigFrames = 10, MaxTrigFrames = 110, MaxTrigFramesTotal = 120 };
void BalanceTrigFrames(int& moved, int& other);
// The frame rate for the time labels: NTSC's when the channel reports none.
double LabelFrameRate(double rate);

// Sound trigger: the threshold level (0 to 127) of a stored threshold of 0 to 100.
int ThresholdLevel(int threshold);
// The loudest of the signed 16-bit samples in a buffer (a trailing odd byte ignored),
// as a level 0 to 127; -32768 counts as full scale.
int PeakLevel(const void* data, DWORD bytes);
// The level meter's share of its width for a peak (logarithmic; 1 and below show nothing).
double MeterFraction(int peak);

// A green, yellow and red gauge over a sunken frame: the bar fills `fraction` of the
// frame's inside, green to 75 %, yellow to 95 %, red beyond; the rest is button face.
void DrawGauge(CDC* dc, CRect frame, double fraction);

// Whole numbers from 1000 on with their thousands apart from the rest by one comma
// ("1,234", "2000,000"); smaller ones, negative ones too, as they are.
CString GroupDigits(LONGLONG value);

// What the disk-capacity dialog shows for a drive.
struct DiskInput
{
    double freeBytes;
    double totalBytes;
    double clipBytes;    // saved clip files
    LONG bytesPerField;  // -1 without a capture format
    double frameRate;    // of the active channel
    int framesPerSwing;  // pre + post + 1
};
struct DiskFigures
{
    double usedFraction; // 0 when the total is unknown
    int percentFull;
    CString nonClipBytes, clipBytes, freeBytes, totalBytes;
    CString clipMinutes, freeMinutes, capacityMinutes;
    CString clipSwings, freeSwings, capacitySwings;
};
DiskFigures ComputeDiskFigures(const DiskInput& in);

} // namespace options
