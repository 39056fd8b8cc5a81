// Geometry shared by the shapes, the index, the trackers and the properties: angles and
// distances of integer points, segment crossings, rectangle tests, the nine handle points of a
// rectangle and conversions between typographic points and logical units.
#pragma once
#include <afxwin.h>

// Nearest integer, halves away from zero (2.5 gives 3, -2.5 gives -3).
int RoundToInt(float value);
int RoundToInt(double value);

extern const float OD_DEGREES_PER_RADIAN;  // 180 / 3.14159
extern const float OD_RADIANS_PER_DEGREE;  // 3.14159 / 180

int LineAngle(int x1, int y1, int x2, int y2);
int PointDistance(int x1, int y1, int x2, int y2);
CPoint ProjectPointOnLine(int x1, int y1, int x2, int y2, int x3, int y3);
CPoint PerpendicularFoot(int x1, int y1, int x2, int y2, int px, int py);
int PointSide(int ax, int ay, int bx, int by, int cx, int cy);
BOOL SegmentsIntersect(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
BOOL SegmentIntersection(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4,
                         CPoint* out);
BOOL SegmentsIntersect(POINT p1, POINT p2, POINT q1, POINT q2);
BOOL SegmentIntersection(POINT p1, POINT p2, POINT q1, POINT q2, CPoint* out);
BOOL PointInRect(int x, int y, RECT rect);
BOOL PointInRect(POINT pt, RECT rect);
BOOL RectInRect(RECT a, RECT b);
BOOL RectsOverlap(RECT a, RECT b);
CRect BoundingRectOfPoints(const POINT* points, int count);
void GetHandlePointF(const RECT& rect, int handle, float* x, float* y);
CPoint GetHandlePoint(const RECT& rect, int handle);
int MirrorHandle(float sx, float sy, int handle);
int PointsToLogical(int points, CDC* dc, int vertical);
int LogicalToPoints(int logical, CDC* dc, int vertical);
void FormatLastError(LPCTSTR step = NULL);
// The union of two rectangles, each normalised first; an all-zero rectangle counts as none.
CRect UnionRects(const CRect& a, const CRect& b);
