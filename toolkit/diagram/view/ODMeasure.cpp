#include "ODMeasure.h"
#include <math.h>
#include "ODComponent.h"

namespace {

struct FactorTable {
    float f[CODMeasure::unitCount][CODMeasure::unitCount];
    FactorTable()
    {
        // Sizes of the units in millimetres.
        static const double size[CODMeasure::unitCount] = {
            25.4, 304.8, 914.4, 1609344.0, 1.0, 10.0, 1000.0, 1000000.0, 25.4 / 72.0};
        for (int t = 0; t < CODMeasure::unitCount; ++t)
            for (int s = 0; s < CODMeasure::unitCount; ++s)
                f[t][s] = t == s ? 1.0f : (float)(size[s] / size[t]);
        // Three factors are kept as the shorter decimals the stored drawings were made with.
        f[1][0] = 0.0833333f;
        f[2][0] = 0.0277777f;
        f[3][2] = 0.000568181f;
    }
};

const FactorTable& Factors()
{
    static const FactorTable table;
    return table;
}

}  // namespace

CSize ODScreenPixelsPerInch()
{
    static const CSize ppi = [] {
        HDC dc = ::CreateCompatibleDC(NULL);
        CSize r(::GetDeviceCaps(dc, LOGPIXELSX), ::GetDeviceCaps(dc, LOGPIXELSY));
        ::DeleteDC(dc);
        return r;
    }();
    return ppi;
}

// ---------------------------------------------------------------------------------------------
// CODMeasure

CODMeasure::CODMeasure(WORD unit, float value)
    : m_fValue(value), m_nUnits(IsValidUnit(unit) ? unit : 0)
{
}

CODMeasure::CODMeasure(WORD unit, const CODMeasure& other)
    : m_fValue(0.0f), m_nUnits(IsValidUnit(unit) ? unit : 0)
{
    ConvertFrom(other);
}

float CODMeasure::GetFactor(WORD target, WORD source)
{
    if (!IsValidUnit(target) || !IsValidUnit(source))
        return 0.0f;
    return Factors().f[target][source];
}

CODMeasure& CODMeasure::SetValueInUnit(WORD unit, float value)
{
    if (IsValidUnit(unit))
        m_fValue = value * GetFactor(m_nUnits, unit);
    return *this;
}

CODMeasure& CODMeasure::ConvertFrom(const CODMeasure& other)
{
    return SetValueInUnit(other.m_nUnits, other.m_fValue);
}

CODMeasure& CODMeasure::Assign(const CODMeasure& other)
{
    m_fValue = other.m_fValue;
    m_nUnits = other.m_nUnits;
    return *this;
}

BOOL CODMeasure::SetUnits(WORD unit)
{
    if (!IsValidUnit(unit))
        return FALSE;
    m_nUnits = unit;
    return TRUE;
}

float CODMeasure::Converted(const CODMeasure& other) const
{
    return other.m_fValue * GetFactor(m_nUnits, other.m_nUnits);
}

void CODMeasure::ConvertLogical(int mapMode, CSize logical, CSize device, CODMeasure& x, CODMeasure& y)
{
    auto set = [&](WORD unit, float vx, float vy) {
        x = CODMeasure(unit, vx);
        y = CODMeasure(unit, vy);
    };
    switch (mapMode) {
    case MM_TEXT: {
        CSize ppi = ODScreenPixelsPerInch();
        set(0, 1.0f / ppi.cx, 1.0f / ppi.cy);
        break;
    }
    case MM_LOMETRIC: set(4, 0.1f, 0.1f); break;
    case MM_HIMETRIC: set(4, 0.01f, 0.01f); break;
    case MM_LOENGLISH: set(0, 0.01f, 0.01f); break;
    case MM_HIENGLISH: set(0, 0.001f, 0.001f); break;
    case MM_TWIPS: set(0, 1.0f / 1440.0f, 1.0f / 1440.0f); break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC: {
        CSize ppi = ODScreenPixelsPerInch();
        float ux = logical.cx != 0 ? (float)device.cx / (float)logical.cx : (float)device.cx;
        float uy = logical.cy != 0 ? (float)device.cy / (float)logical.cy : (float)device.cy;
        set(0, ux / ppi.cx, uy / ppi.cy);
        break;
    }
    default: break;
    }
}

// ---------------------------------------------------------------------------------------------
// CODCoordinateMapping

CODCoordinateMapping::CODCoordinateMapping(MvcLogicalPart* viewport)
    : m_pViewport(viewport), m_nUnits(0), m_drawn(0, 1.0f), m_real(0, 1.0f), m_fRatio(1.0f)
{
    SetScale(CODMeasure(0, 1.0f), CODMeasure(0, 1.0f));
}

BOOL CODCoordinateMapping::SetUnits(WORD unit)
{
    if (!CODMeasure::IsValidUnit(unit))
        return FALSE;
    m_nUnits = unit;
    return TRUE;
}

BOOL CODCoordinateMapping::SetScale(const CODMeasure& drawn, const CODMeasure& real)
{
    float drawnInReal = CODMeasure(real.GetUnits(), drawn).GetValue();
    float ratio = real.GetValue() / drawnInReal;
    if (!(drawnInReal != 0.0f) || !std::isfinite(ratio) || !(ratio > 0.0f))
        return FALSE;
    m_drawn = drawn;
    m_real = real;
    m_fRatio = ratio;
    return TRUE;
}

void CODCoordinateMapping::GetScale(CODMeasure& drawn, CODMeasure& real)
{
    drawn = m_drawn;
    real = m_real;
}

void CODCoordinateMapping::GetLogicalUnitSize(CODMeasure& x, CODMeasure& y)
{
    if (m_pViewport)
        CODMeasure::ConvertLogical(m_pViewport->GetMapMode(), m_pViewport->GetLogicalExtents(),
                                   m_pViewport->GetDeviceExtents(), x, y);
    else
        CODMeasure::ConvertLogical(MM_TEXT, CSize(1, 1), CSize(1, 1), x, y);
}

void CODCoordinateMapping::SetLogicalUnitSize(const CODMeasure& x, const CODMeasure& y)
{
    if (m_pViewport == NULL)
        return;
    CSize ppi = ODScreenPixelsPerInch();
    float xi = CODMeasure(0, x).GetValue(), yi = CODMeasure(0, y).GetValue();
    m_pViewport->SetMapMode(MM_ANISOTROPIC);
    m_pViewport->SetLogicalExtents((int)(10000.0f / ppi.cx), (int)(10000.0f / ppi.cy));
    m_pViewport->SetDeviceExtents((int)(xi * 10000.0f), (int)(yi * 10000.0f));
}

void CODCoordinateMapping::ScaledUnitSize(CODMeasure& x, CODMeasure& y)
{
    GetLogicalUnitSize(x, y);
    x.SetValue(x.GetValue() * m_fRatio);
    y.SetValue(y.GetValue() * m_fRatio);
}

void CODCoordinateMapping::MeasureToLogical(const CODMeasure& m, float& out, BOOL vertical)
{
    CODMeasure ux, uy;
    ScaledUnitSize(ux, uy);
    const CODMeasure& u = vertical ? uy : ux;
    if (u.GetValue() == 0.0f) {
        out = 0.0f;
        return;
    }
    out = CODMeasure(u.GetUnits(), m).GetValue() / u.GetValue();
}

void CODCoordinateMapping::LogicalToMeasure(float logical, CODMeasure& out, BOOL vertical)
{
    CODMeasure ux, uy;
    ScaledUnitSize(ux, uy);
    CODMeasure u = vertical ? uy : ux;
    u.SetValue(u.GetValue() * logical);
    out.ConvertFrom(u);
}

void CODCoordinateMapping::GetComponentSize(CODComponent* c, CODMeasure& width, CODMeasure& height)
{
    CRect b = c->GetBounds();
    LogicalToMeasure((float)b.Width(), width, FALSE);
    LogicalToMeasure((float)b.Height(), height, TRUE);
}

void CODCoordinateMapping::GetHandlePosition(CODComponent* c, CODMeasure& x, CODMeasure& y, int handle)
{
    CPoint p = c->GetRegionHandle(handle);
    LogicalToMeasure((float)p.x, x, FALSE);
    LogicalToMeasure((float)p.y, y, TRUE);
}
