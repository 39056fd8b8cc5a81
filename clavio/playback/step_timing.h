// Arithmetic of stepped play, apart from the graph.
#pragma once
#include <cmath>

// The exact step period in milliseconds: the field period divided by the speed's size,
// never below 1 ms (a multimedia timer refuses 0). A speed of 0 or one that is not a
// number has no period (0): callers refuse such speeds before they get here.
inline double StepPeriodMs(float fieldPeriod, float speed)
{
    float size = std::fabs(speed);
    if (!(size > 0.0f) || std::isnan(fieldPeriod))
        return 0;
    double ms = double(fieldPeriod) * 1000.0 / double(size);
    return ms < 1.0 ? 1.0 : ms > 60000.0 ? 60000.0 : ms;
}

// Milliseconds between two field steps: the period truncated.
inline unsigned StepDelayMs(float fieldPeriod, float speed)
{
    // A period held as a float lies just below its value (0.02 is 0.0199999996): the
    // small allowance keeps whole milliseconds whole.
    return unsigned(std::floor(StepPeriodMs(fieldPeriod, speed) + 1e-4));
}

// Paces steps from a steady clock: each tick is due one period after the one before it,
// not one period after the step it released was done, so the time a step takes (and the
// whole milliseconds a timer counts in) does not slow the play down. A tick that comes
// more than a period late starts the count afresh rather than hurrying to catch up.
class StepPacer {
public:
    void Restart(double nowMs) { m_due = nowMs; }
    // Milliseconds to wait from now for the next tick, at least 1.
    unsigned NextDelay(double nowMs, double periodMs)
    {
        m_due += periodMs;
        if (m_due < nowMs - periodMs)
            m_due = nowMs;
        const double wait = std::floor(m_due - nowMs + 0.5);
        return wait < 1.0 ? 1u : unsigned(wait);
    }

private:
    double m_due = 0;
};

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
