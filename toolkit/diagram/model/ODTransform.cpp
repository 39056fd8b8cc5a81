#include "ODTransform.h"
#include <math.h>
#include "ODGeometry.h"

IMPLEMENT_SERIAL(CODTransform, CObject, 0)

namespace {
const float kIdentity[3][2] = {{1.0f, 0.0f}, {0.0f, 1.0f}, {0.0f, 0.0f}};
}

CODTransform::CODTransform()
{
    SetIdentity();
}

CODTransform::CODTransform(const CODTransform& other) : CObject()
{
    memcpy(m_m, other.m_m, sizeof(m_m));
}

CODTransform& CODTransform::operator=(const CODTransform& other)
{
    memcpy(m_m, other.m_m, sizeof(m_m));
    return *this;
}

void CODTransform::Serialize(CArchive& ar)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j) {
            if (ar.IsStoring())
                ar << m_m[i][j];
            else
                ar >> m_m[i][j];
        }
}

void CODTransform::SetIdentity()
{
    memcpy(m_m, kIdentity, sizeof(m_m));
}

BOOL CODTransform::IsIdentity() const
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            if (m_m[i][j] != kIdentity[i][j])
                return FALSE;
    return TRUE;
}

BOOL CODTransform::operator==(const CODTransform& other) const
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            if (m_m[i][j] != other.m_m[i][j])
                return FALSE;
    return TRUE;
}

CODTransform CODTransform::operator+(const CODTransform& other) const
{
    CODTransform r(*this);
    return r += other;
}

CODTransform CODTransform::operator-(const CODTransform& other) const
{
    CODTransform r(*this);
    return r -= other;
}

CODTransform& CODTransform::operator+=(const CODTransform& other)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            m_m[i][j] += other.m_m[i][j];
    return *this;
}

CODTransform& CODTransform::operator-=(const CODTransform& other)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            m_m[i][j] -= other.m_m[i][j];
    return *this;
}

CODTransform CODTransform::operator*(const CODTransform& b) const
{
    const float(*a)[2] = m_m;
    CODTransform r;
    for (int i = 0; i < 2; ++i) {
        r.m_m[i][0] = b.m_m[i][0] * a[0][0] + b.m_m[i][1] * a[1][0];
        r.m_m[i][1] = b.m_m[i][0] * a[0][1] + b.m_m[i][1] * a[1][1];
    }
    r.m_m[2][0] = b.m_m[2][0] * a[0][0] + b.m_m[2][1] * a[1][0] + a[2][0];
    r.m_m[2][1] = b.m_m[2][0] * a[0][1] + b.m_m[2][1] * a[1][1] + a[2][1];
    return r;
}

CODTransform& CODTransform::operator*=(const CODTransform& other)
{
    *this = *this * other;
    return *this;
}

void CODTransform::GetXForm(XFORM* xform) const
{
    xform->eM11 = m_m[0][0];
    xform->eM12 = m_m[0][1];
    xform->eM21 = m_m[1][0];
    xform->eM22 = m_m[1][1];
    xform->eDx = m_m[2][0];
    xform->eDy = m_m[2][1];
}

float CODTransform::GetDeterminant() const
{
    return m_m[0][0] * m_m[1][1] - m_m[0][1] * m_m[1][0];
}

void CODTransform::Translate(int dx, int dy)
{
    m_m[2][0] += dx;
    m_m[2][1] += dy;
}

void CODTransform::TranslateF(float dx, float dy)
{
    m_m[2][0] += dx;
    m_m[2][1] += dy;
}

void CODTransform::SetTranslation(int x, int y)
{
    m_m[2][0] = (float)x;
    m_m[2][1] = (float)y;
}

void CODTransform::GetTranslation(int* x, int* y) const
{
    *x = RoundToInt(m_m[2][0]);
    *y = RoundToInt(m_m[2][1]);
}

BOOL CODTransform::HasTranslation() const
{
    return m_m[2][0] != 0.0f || m_m[2][1] != 0.0f;
}

void CODTransform::Scale(float sx, float sy)
{
    if (sx == 1.0f && sy == 1.0f)
        return;
    for (int i = 0; i < 3; ++i) {
        m_m[i][0] *= sx;
        m_m[i][1] *= sy;
    }
}

void CODTransform::ScaleAbout(float sx, float sy, float cx, float cy)
{
    TranslateF(-cx, -cy);
    Scale(sx, sy);
    TranslateF(cx, cy);
}

void CODTransform::Rotate(int angle)
{
    float t = (float)angle / 10.0f * OD_RADIANS_PER_DEGREE;
    float s = sinf(t), c = cosf(t);
    for (int i = 0; i < 3; ++i) {
        float x = m_m[i][0], y = m_m[i][1];
        m_m[i][0] = c * x - s * y;
        m_m[i][1] = s * x + c * y;
    }
}

void CODTransform::RotateAbout(int angle, float cx, float cy, int aspectX, int aspectY)
{
    // An aspect of 0 or less means no correction.
    if (aspectX <= 0)
        aspectX = 1;
    if (aspectY <= 0)
        aspectY = 1;
    float f = 1.0f, g = 1.0f;
    if (aspectY < aspectX)
        g = (float)aspectX / (float)aspectY;
    else if (aspectX != aspectY)
        f = (float)aspectY / (float)aspectX;
    TranslateF(-cx, -cy);
    if (aspectX != aspectY)
        Scale(f, g);
    Rotate(angle);
    if (aspectX != aspectY)
        Scale(1.0f / f, 1.0f / g);
    TranslateF(cx, cy);
}

void CODTransform::GetScale(float* sx, float* sy) const
{
    float x = sqrtf(m_m[0][0] * m_m[0][0] + m_m[1][0] * m_m[1][0]);
    float y = sqrtf(m_m[0][1] * m_m[0][1] + m_m[1][1] * m_m[1][1]);
    *sx = m_m[0][0] < 0 ? -x : x;
    *sy = m_m[1][1] < 0 ? -y : y;
}

int CODTransform::GetRotation() const
{
    float sx, sy;
    GetScale(&sx, &sy);
    if (sx == 0.0f || sy == 0.0f)
        return 0;
    CODTransform copy(*this);
    copy.Scale(1.0f / sx, 1.0f / sy);
    float c = copy.m_m[0][0], s = copy.m_m[0][1];
    c = c > 1.0f ? 1.0f : c < -1.0f ? -1.0f : c;
    s = s > 1.0f ? 1.0f : s < -1.0f ? -1.0f : s;
    float t = acosf(c);
    if (!(asinf(s) >= 0.0f))
        t = -t;
    return RoundToInt(t * 10.0f * OD_DEGREES_PER_RADIAN);
}

BOOL CODTransform::IsScaled() const
{
    float sx, sy;
    GetScale(&sx, &sy);
    return !(sx == 1.0f && sy == 1.0f);
}

BOOL CODTransform::IsScaleNonUniform() const
{
    float sx, sy;
    GetScale(&sx, &sy);
    return sx != sy;
}

CPoint CODTransform::Transform(int x, int y) const
{
    float fx = (float)x, fy = (float)y;
    TransformF(fx, fy);
    return CPoint(RoundToInt(fx), RoundToInt(fy));
}

void CODTransform::TransformF(float& x, float& y) const
{
    float nx = x * m_m[0][0] + y * m_m[1][0] + m_m[2][0];
    float ny = x * m_m[0][1] + y * m_m[1][1] + m_m[2][1];
    x = nx;
    y = ny;
}

void CODTransform::TransformPoints(CPoint* points, int count) const
{
    if (points)
        for (int i = 0; i < count; ++i)
            points[i] = Transform(points[i].x, points[i].y);
}

void CODTransform::TransformPoints(const CPoint* source, CPoint* target, int count) const
{
    if (source && target)
        for (int i = 0; i < count; ++i)
            target[i] = Transform(source[i].x, source[i].y);
}

CPoint CODTransform::InverseTransform(int x, int y) const
{
    float d = GetDeterminant();
    if (d == 0.0f || !isfinite(d))
        return CPoint(x, y);
    float u = ((float)x - m_m[2][0]) / d;
    float v = ((float)y - m_m[2][1]) / d;
    return CPoint(RoundToInt(u * m_m[1][1] - v * m_m[1][0]),
                  RoundToInt(v * m_m[0][0] - u * m_m[0][1]));
}

void CODTransform::InverseTransformPoints(CPoint* points, int count) const
{
    if (points)
        for (int i = 0; i < count; ++i)
            points[i] = InverseTransform(points[i].x, points[i].y);
}

void CODTransform::InverseTransformPoints(const CPoint* source, CPoint* target, int count) const
{
    if (source && target)
        for (int i = 0; i < count; ++i)
            target[i] = InverseTransform(source[i].x, source[i].y);
}

// ---------------------------------------------------------------------------------------------

CODTransform& CODTransformStack::GetTop()
{
    return m_stack.empty() ? m_base : m_stack.back();
}

void CODTransformStack::Push(const CODTransform* t)
{
    CODTransform top = GetTop();
    if (t)
        top = top * *t;
    m_stack.push_back(top);
}

CODTransform CODTransformStack::Pop()
{
    if (m_stack.empty())
        return m_base;
    CODTransform top = m_stack.back();
    m_stack.pop_back();
    return top;
}

CODTransformStack* GetTransformStack()
{
    static thread_local CODTransformStack stack;
    return &stack;
}
