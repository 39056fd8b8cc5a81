// Arithmetic of stepped play, apart from the graph.
#pragma once
#include <cmath>

// Milliseconds between two field steps: the field period divided by the speed's size,
// truncated, and never below 1 ms (a multimedia timer refuses 0). A speed of 0 or one
// that is not a number has no delay: callers refuse such speeds before they get here.
inline unsigned StepDelayMs(float fieldPeriod, float speed)
{
    float size = std::fabs(speed);
    if (!(size > 0.0f) || std::isnan(fieldPeriod))
        return 0;
    // A period held as a float lies just below its value (0.02 is 0.0199999996): the
    // small allowance keeps whole milliseconds whole.
    double ms = std::floor(double(fieldPeriod) * 1000.0 / double(size) + 1e-4);
    return ms < 1.0 ? 1u : ms > 60000.0 ? 60000u : unsigned(ms);
}

// The field period of a frame rate given as 100 ns units per frame; 0 keeps 29.97 frames/s.
inline float FieldPeriodOf(long long avgTimePerFrame, double* frameRate)
{
    if (avgTimePerFrame > 0)
        *frameRate = 1.0 / (double(avgTimePerFrame) * 1e-7);
    else
        *frameRate = 29.97;
    return float(1.0 / (2.0 * *frameRate));
}

// The blend's mix level for a position 0 (this clip only) to 100 (the other only).
inline int BlendLevel(int position)
{
    return int((0.5 - position * 0.005) * 2 * 255 + 0.5);
}

// The renderer window of real-time play: the crop's origin moved out of view, the picture
// scaled so that the mask's share of the window shows the crop.
struct WindowPlacement {
    long left, top, width, height;
};
inline WindowPlacement RealTimeWindow(long windowWidth, long windowHeight, const float crop[4],
                                      const float mask[4])
{
    WindowPlacement p;
    if (crop[2] == 0.0f || crop[3] == 0.0f) {
        p.width = 608;
        p.height = 456;
    } else {
        p.width = long(mask[2] / crop[2] * 608);
        p.height = long(mask[3] / crop[3] * 456);
    }
    p.left = -long(p.width * crop[0]);
    p.top = -long(p.height * crop[1]);
    return p;
}
