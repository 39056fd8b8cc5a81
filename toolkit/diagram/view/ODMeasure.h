// Lengths in real units and the drawing scale of a viewport: conversions between the nine
// units and between measures and the viewport's logical units.
#pragma once
#include <afxwin.h>
#include "Mvc.h"

class CODComponent;

// Unit codes: 0 inch, 1 foot, 2 yard, 3 mile, 4 millimetre, 5 centimetre, 6 metre,
// 7 kilometre, 8 point.
class CODMeasure
{
public:
    enum { unitCount = 9 };

    CODMeasure(WORD unit = 0, float value = 0.0f);
    CODMeasure(WORD unit, const CODMeasure& other);
    CODMeasure(const CODMeasure& other) : m_fValue(other.m_fValue), m_nUnits(other.m_nUnits) {}
    virtual ~CODMeasure() {}

    // Both keep the own unit; an unknown unit code leaves the measure as it was.
    virtual CODMeasure& SetValueInUnit(WORD unit, float value);
    virtual CODMeasure& ConvertFrom(const CODMeasure& other);

    CODMeasure& Assign(const CODMeasure& other);
    CODMeasure& operator=(const CODMeasure& other) { return Assign(other); }
    float GetValue() const { return m_fValue; }
    void SetValue(float value) { m_fValue = value; }
    WORD GetUnits() const { return m_nUnits; }
    // Does not convert the value; an unknown code is refused.
    BOOL SetUnits(WORD unit);
    // The other measure's value in this measure's unit.
    float Converted(const CODMeasure& other) const;
    bool operator==(const CODMeasure& other) const { return m_fValue == Converted(other); }
    bool operator!=(const CODMeasure& other) const { return m_fValue != Converted(other); }
    bool operator<(const CODMeasure& other) const { return m_fValue < Converted(other); }
    bool operator>(const CODMeasure& other) const { return m_fValue > Converted(other); }
    bool operator<=(const CODMeasure& other) const { return m_fValue <= Converted(other); }
    bool operator>=(const CODMeasure& other) const { return m_fValue >= Converted(other); }

    static BOOL IsValidUnit(WORD unit) { return unit < unitCount; }
    // target per source: v source units are v * factor target units.
    static float GetFactor(WORD target, WORD source);
    static UINT GetUnitStringId(WORD unit) { return 22118 + unit; }
    static void ConvertLogical(int mapMode, CSize logicalExtent, CSize deviceExtent, CODMeasure& x,
                               CODMeasure& y);

private:
    float m_fValue;
    WORD m_nUnits;
};

class IODCoordinateMapping
{
public:
    virtual BOOL SetUnits(WORD unit) = 0;
    virtual WORD GetUnits() = 0;
    virtual BOOL SetScale(const CODMeasure& drawn, const CODMeasure& real) = 0;
    virtual void MeasureToLogical(const CODMeasure& m, float& out, BOOL vertical) = 0;
    virtual void LogicalToMeasure(float logical, CODMeasure& out, BOOL vertical) = 0;
    virtual void GetComponentSize(CODComponent* c, CODMeasure& width, CODMeasure& height) = 0;
    virtual void GetHandlePosition(CODComponent* c, CODMeasure& x, CODMeasure& y, int handle) = 0;

protected:
    ~IODCoordinateMapping() {}
};

class CODCoordinateMapping : public IODCoordinateMapping
{
public:
    // viewport: the logical part whose map mode and extents give the size of a logical unit.
    explicit CODCoordinateMapping(MvcLogicalPart* viewport);

    BOOL SetUnits(WORD unit) override;
    WORD GetUnits() override { return m_nUnits; }
    // Refused (FALSE, the old scale kept) when a unit is unknown or the ratio would not be a
    // finite positive number (a drawn or real length of 0).
    BOOL SetScale(const CODMeasure& drawn, const CODMeasure& real) override;
    void MeasureToLogical(const CODMeasure& m, float& out, BOOL vertical) override;
    void LogicalToMeasure(float logical, CODMeasure& out, BOOL vertical) override;
    void GetComponentSize(CODComponent* c, CODMeasure& width, CODMeasure& height) override;
    void GetHandlePosition(CODComponent* c, CODMeasure& x, CODMeasure& y, int handle) override;
    virtual ~CODCoordinateMapping() {}
    virtual void GetLogicalUnitSize(CODMeasure& x, CODMeasure& y);
    virtual void SetLogicalUnitSize(const CODMeasure& x, const CODMeasure& y);
    virtual void GetScale(CODMeasure& drawn, CODMeasure& real);

    float GetScaleRatio() const { return m_fRatio; }

private:
    // The real lengths one logical unit stands for.
    void ScaledUnitSize(CODMeasure& x, CODMeasure& y);

    MvcLogicalPart* m_pViewport;
    WORD m_nUnits;
    CODMeasure m_drawn;
    CODMeasure m_real;
    float m_fRatio;
};

// The screen's pixels per inch, read once.
CSize ODScreenPixelsPerInch();
