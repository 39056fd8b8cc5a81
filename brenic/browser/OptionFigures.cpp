#include "OptionFigures.h"
#include <math.h>

namespace options {

int SpeedPercent(float speed)
{
    const double percent = floor((double)speed * 100.0 + 0.5);
    if (!(percent >= 1.0)) // also NaN
        return 1;
    return percent > 100.0 ? 100 : (int)percent;
}

static int Clamp(int value, int low, int high)
{
    return value < low ? low : value > high ? high : value;
}

void BalanceTrigFrames(int& moved, int& other)
{
    moved = Clamp(moved, MinTrigFrames, MaxTrigFrames);
    other = Clamp(other, MinTrigFrames, MaxTrigFrames);
    if (moved + other > MaxTrigFramesTotal)
        other = MaxTrigFramesTotal - moved;
}

double LabelFrameRate(double rate)
{
    return rate > 0.0 ? rate : 29.97;
}

int ThresholdLevel(int threshold)
{
    const double level = pow(127.0, threshold / 100.0);
    if (!(level >= 0.0))
        return 0;
    return level >= 127.0 ? 127 : (int)level;
}

int PeakLevel(const void* data, DWORD bytes)
{
    const BYTE* p = (const BYTE*)data;
    int loudest = 0;
    for (DWORD i = 0; i + 1 < bytes; i += 2) {
        const int sample = (short)(p[i] | (p[i + 1] << 8));
        const int magnitude = sample < 0 ? -sample : sample;
        if (magnitude > loudest)
            loudest = magnitude;
    }
    const int level = loudest >> 8;
    return level > 127 ? 127 : level;
}

double MeterFraction(int peak)
{
    if (peak <= 1)
        return 0.0;
    return log((double)(peak > 127 ? 127 : peak)) / log(127.0);
}

void DrawGauge(CDC* dc, CRect frame, double fraction)
{
    dc->DrawEdge(&frame, EDGE_SUNKEN, BF_RECT);
    frame.DeflateRect(2, 2);
    if (fraction < 0.0 || fraction != fraction)
        fraction = 0.0;
    if (fraction > 1.0)
        fraction = 1.0;
    const int width = frame.Width();
    const int barEnd = frame.left + (int)(width * fraction);
    dc->FillSolidRect(CRect(barEnd, frame.top, frame.right, frame.bottom),
                      GetSysColor(COLOR_BTNFACE));
    const int yellowStart = frame.left + (int)(width * 0.75);
    const int redStart = frame.left + (int)(width * 0.95);
    const int greenEnd = fraction > 0.75 ? yellowStart : barEnd;
    dc->FillSolidRect(CRect(frame.left, frame.top, greenEnd, frame.bottom), RGB(0, 255, 0));
    if (fraction > 0.75) {
        const int yellowEnd = fraction > 0.95 ? redStart : barEnd;
        dc->FillSolidRect(CRect(yellowStart, frame.top, yellowEnd, frame.bottom),
                          RGB(255, 255, 0));
        if (fraction > 0.95)
            dc->FillSolidRect(CRect(redStart, frame.top, barEnd, frame.bottom), RGB(255, 0, 0));
    }
}

CString GroupDigits(LONGLONG value)
{
    // Thousands and the rest: one separator, as the figures of a drive need.
    CString text;
    if (value >= 1000)
        text.Format("%lld,%03lld", value / 1000, value % 1000);
    else
        text.Format("%lld", value);
    return text;
}

static CString Megabytes(double bytes)
{
    return GroupDigits((LONGLONG)(bytes / 1000000.0)) + " MB";
}

// A count of `bytes` in units of `perUnit`; "-" when the unit is unknown. With `lessThanOne`
// a non-empty remainder below one unit reads "<1".
static CString Count(double bytes, double perUnit, bool lessThanOne)
{
    if (!(perUnit > 0.0))
        return "-";
    const LONGLONG count = (LONGLONG)(bytes / perUnit);
    if (lessThanOne && count == 0 && bytes != 0.0)
        return "<1";
    return GroupDigits(count);
}

DiskFigures ComputeDiskFigures(const DiskInput& in)
{
    DiskFigures out;
    const double used = in.totalBytes - in.freeBytes;
    out.usedFraction = in.totalBytes > 0.0 ? used / in.totalBytes : 0.0;
    out.percentFull = (int)(out.usedFraction * 100.0);
    const double nonClip = used - in.clipBytes;
    out.nonClipBytes = Megabytes(nonClip);
    out.freeBytes = Megabytes(in.freeBytes);
    out.totalBytes = Megabytes(in.totalBytes);
    const double capacity = in.totalBytes - nonClip;
    const double clipUsed = capacity - in.freeBytes;
    out.clipBytes = Megabytes(clipUsed);

    // Without a capture format or frame rate the rates are unknown.
    double perMinute = 0.0, perSwing = 0.0;
    if (in.bytesPerField > 0 && in.frameRate > 0.0) {
        perMinute = (double)(LONGLONG)(in.frameRate * in.bytesPerField * 60.0);
        perSwing = (double)((LONGLONG)in.framesPerSwing * in.bytesPerField);
    }
    out.freeMinutes = Count(in.freeBytes, perMinute, true);
    out.clipMinutes = Count(clipUsed, perMinute, true);
    out.capacityMinutes = Count(capacity, perMinute, false);
    out.freeSwings = Count(in.freeBytes, perSwing, false);
    out.clipSwings = Count(clipUsed, perSwing, false);
    out.capacitySwings = Count(capacity, perSwing, false);
    return out;
}

} // namespace options
