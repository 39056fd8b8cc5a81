#include "ODGeometry.h"
#include <algorithm>
#include <math.h>
#include <stdlib.h>

const float OD_DEGREES_PER_RADIAN = 180.0f / 3.14159f;
const float OD_RADIANS_PER_DEGREE = 3.14159f / 180.0f;

int RoundToInt(double value)
{
    // Values beyond the int range (from damaged stored transforms) stop at its ends.
    if (value != value)
        return 0;
    if (value >= 2147483647.0)
        return 2147483647;
    if (value <= -2147483648.0)
        return -2147483647 - 1;
    double magnitude = value < 0 ? -value : value;
    double whole = floor(magnitude);
    if (magnitude - whole >= 0.5)
        whole += 1.0;
    return (int)(value < 0 ? -whole : whole);
}

int RoundToInt(float value)
{
    return RoundToInt((double)value);
}

int LineAngle(int x1, int y1, int x2, int y2)
{
    float dx = (float)(x2 - x1), dy = (float)(y2 - y1);
    float angle;
    if (dx != 0.0f)
        angle = (float)(atan((double)dy / (double)dx) * OD_DEGREES_PER_RADIAN);
    else
        angle = dy < 0.0f ? -90.0f : 90.0f;
    if (dx < 0.0f)
        angle += 180.0f;
    return RoundToInt(angle * 10.0f);
}

// Squares in 64 bits: coordinates of any size do not overflow.
int PointDistance(int x1, int y1, int x2, int y2)
{
    long long dx = (long long)x2 - x1, dy = (long long)y2 - y1;
    return RoundToInt((float)sqrt((double)(dx * dx + dy * dy)));
}

CPoint ProjectPointOnLine(int x1, int y1, int x2, int y2, int x3, int y3)
{
    long long dx = (long long)x2 - x1, dy = (long long)y2 - y1;
    long long lengthSquared = dx * dx + dy * dy;
    if (lengthSquared == 0)  // no line: the foot is the point that stands for it
        return CPoint(x1, y1);
    double t = (double)(((long long)x3 - x1) * dx + ((long long)y3 - y1) * dy) / (double)lengthSquared;
    return CPoint(RoundToInt(x1 + dx * t), RoundToInt(y1 + dy * t));
}

CPoint PerpendicularFoot(int x1, int y1, int x2, int y2, int px, int py)
{
    return ProjectPointOnLine(x1, y1, x2, y2, px, py);
}

int PointSide(int ax, int ay, int bx, int by, int cx, int cy)
{
    long long left = ((long long)bx - ax) * ((long long)cy - ay);
    long long right = ((long long)by - ay) * ((long long)cx - ax);
    return left > right ? 1 : -1;
}

BOOL SegmentsIntersect(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return PointSide(x1, y1, x2, y2, x3, y3) * PointSide(x1, y1, x2, y2, x4, y4) <= 0 &&
           PointSide(x3, y3, x4, y4, x1, y1) * PointSide(x3, y3, x4, y4, x2, y2) <= 0;
}

BOOL SegmentIntersection(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4,
                         CPoint* out)
{
    if (!SegmentsIntersect(x1, y1, x2, y2, x3, y3, x4, y4))
        return FALSE;
    double num = ((double)y1 - y4) * ((double)x4 - x3) - ((double)x1 - x4) * ((double)y4 - y3);
    double den = ((double)x2 - x1) * ((double)y4 - y3) - ((double)y2 - y1) * ((double)x4 - x3);
    if (den == 0)
        return FALSE;
    double t = num / den;
    if (out) {
        out->x = x1 + (int)(((double)x2 - x1) * t + 0.5);
        out->y = y1 + (int)(((double)y2 - y1) * t + 0.5);
    }
    return TRUE;
}

BOOL SegmentsIntersect(POINT p1, POINT p2, POINT q1, POINT q2)
{
    return SegmentsIntersect(p1.x, p1.y, p2.x, p2.y, q1.x, q1.y, q2.x, q2.y);
}

BOOL SegmentIntersection(POINT p1, POINT p2, POINT q1, POINT q2, CPoint* out)
{
    return SegmentIntersection(p1.x, p1.y, p2.x, p2.y, q1.x, q1.y, q2.x, q2.y, out);
}

BOOL PointInRect(int x, int y, RECT rect)
{
    CRect r(rect);
    r.NormalizeRect();
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

BOOL PointInRect(POINT pt, RECT rect)
{
    return PointInRect(pt.x, pt.y, rect);
}

BOOL RectInRect(RECT a, RECT b)
{
    return PointInRect(a.left, a.top, b) && PointInRect(a.right, a.bottom, b);
}

BOOL RectsOverlap(RECT a, RECT b)
{
    if (RectInRect(a, b) || RectInRect(b, a))
        return TRUE;
    const POINT aTL = {a.left, a.top}, aTR = {a.right, a.top}, aBL = {a.left, a.bottom},
                aBR = {a.right, a.bottom};
    const POINT bTL = {b.left, b.top}, bTR = {b.right, b.top}, bBL = {b.left, b.bottom},
                bBR = {b.right, b.bottom};
    return SegmentsIntersect(aTL, aTR, bTL, bBL) || SegmentsIntersect(aTL, aTR, bTR, bBR) ||
           SegmentsIntersect(aBL, aBR, bTL, bBL) || SegmentsIntersect(aBL, aBR, bTR, bBR) ||
           SegmentsIntersect(aTL, aBL, bTL, bTR) || SegmentsIntersect(aTL, aBL, bBL, bBR) ||
           SegmentsIntersect(aTR, aBR, bTL, bTR) || SegmentsIntersect(aTR, aBR, bBL, bBR);
}

CRect BoundingRectOfPoints(const POINT* points, int count)
{
    if (points == NULL || count <= 0)
        return CRect(0, 0, 0, 0);
    CRect r(points[0].x, points[0].y, points[0].x, points[0].y);
    for (int i = 1; i < count; ++i) {
        r.left = std::min(r.left, points[i].x);
        r.top = std::min(r.top, points[i].y);
        r.right = std::max(r.right, points[i].x);
        r.bottom = std::max(r.bottom, points[i].y);
    }
    return r;
}

void GetHandlePointF(const RECT& rc, int handle, float* x, float* y)
{
    float cx = (float)(rc.left + rc.right) / 2.0f, cy = (float)(rc.top + rc.bottom) / 2.0f;
    float l = (float)rc.left, t = (float)rc.top, r = (float)rc.right, b = (float)rc.bottom;
    switch (handle) {
    case 0: *x = l; *y = t; break;
    case 1: *x = cx; *y = t; break;
    case 2: *x = r; *y = t; break;
    case 3: *x = r; *y = cy; break;
    case 4: *x = r; *y = b; break;
    case 5: *x = cx; *y = b; break;
    case 6: *x = l; *y = b; break;
    case 7: *x = l; *y = cy; break;
    default: *x = cx; *y = cy; break;
    }
}

CPoint GetHandlePoint(const RECT& rc, int handle)
{
    int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
    switch (handle) {
    case 0: return CPoint(rc.left, rc.top);
    case 1: return CPoint(cx, rc.top);
    case 2: return CPoint(rc.right, rc.top);
    case 3: return CPoint(rc.right, cy);
    case 4: return CPoint(rc.right, rc.bottom);
    case 5: return CPoint(cx, rc.bottom);
    case 6: return CPoint(rc.left, rc.bottom);
    case 7: return CPoint(rc.left, cy);
    default: return CPoint(cx, cy);
    }
}

int MirrorHandle(float sx, float sy, int handle)
{
    static const int both[9] = {4, 5, 6, 7, 0, 1, 2, 3, 8};
    static const int onlyX[9] = {2, 1, 0, 7, 6, 5, 4, 3, 8};
    static const int onlyY[9] = {6, 5, 4, 3, 2, 1, 0, 7, 8};
    if (handle < 0 || handle > 8)
        return handle;
    if (sx < 0 && sy < 0)
        return both[handle];
    if (sx < 0)
        return onlyX[handle];
    if (sy < 0)
        return onlyY[handle];
    return handle;
}

namespace {

// A memory context compatible with the screen when the caller gives none.
class ScreenContext
{
public:
    explicit ScreenContext(CDC* dc) : m_hdc(NULL), m_pDC(dc)
    {
        if (m_pDC == NULL) {
            m_hdc = ::CreateCompatibleDC(NULL);
            m_dc.Attach(m_hdc);
            m_pDC = &m_dc;
        }
    }
    ~ScreenContext()
    {
        if (m_hdc) {
            m_dc.Detach();
            ::DeleteDC(m_hdc);
        }
    }
    CDC* operator->() { return m_pDC; }
    HDC Handle() { return m_pDC->GetSafeHdc(); }

private:
    HDC m_hdc;
    CDC m_dc;
    CDC* m_pDC;
};

}  // namespace

namespace {

// The screen's pixels per inch, read once: a memory context of the screen maps one to one, so
// the conversions without a context need no context at all.
int ScreenPixelsPerInch(int vertical)
{
    static int x = 0, y = 0;
    if (x == 0) {
        HDC screen = ::CreateCompatibleDC(NULL);
        x = ::GetDeviceCaps(screen, LOGPIXELSX);
        y = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::DeleteDC(screen);
        if (x <= 0 || y <= 0)
            x = y = 96;
    }
    return vertical ? y : x;
}

}  // namespace

int PointsToLogical(int points, CDC* dc, int vertical)
{
    if (dc == NULL)
        return abs(points * ScreenPixelsPerInch(vertical) / 72);
    ScreenContext ctx(dc);
    HDC hdc = ctx.Handle();
    if (hdc == NULL)
        return ::MulDiv(points, 96, 72);
    POINT pts[2] = {{0, 0},
                    {points * ::GetDeviceCaps(hdc, LOGPIXELSX) / 72,
                     points * ::GetDeviceCaps(hdc, LOGPIXELSY) / 72}};
    ::DPtoLP(hdc, pts, 2);
    return vertical ? abs(pts[1].y - pts[0].y) : abs(pts[1].x - pts[0].x);
}

int LogicalToPoints(int logical, CDC* dc, int vertical)
{
    if (dc == NULL)
        return abs(logical) * 72 / ScreenPixelsPerInch(vertical);
    ScreenContext ctx(dc);
    HDC hdc = ctx.Handle();
    if (hdc == NULL)
        return ::MulDiv(logical, 72, 96);
    POINT pts[2] = {{0, 0}, {logical, logical}};
    ::LPtoDP(hdc, pts, 2);
    if (vertical) {
        int px = ::GetDeviceCaps(hdc, LOGPIXELSY);
        return px > 0 ? abs(pts[1].y - pts[0].y) * 72 / px : 0;
    }
    int px = ::GetDeviceCaps(hdc, LOGPIXELSX);
    return px > 0 ? abs(pts[1].x - pts[0].x) * 72 / px : 0;
}

void FormatLastError(LPCTSTR)
{
    LPSTR buffer = NULL;
    ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                         FORMAT_MESSAGE_IGNORE_INSERTS,
                     NULL, ::GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                     (LPSTR)&buffer, 0, NULL);
    if (buffer)
        ::LocalFree(buffer);
}
