// The orientation group (id 60): where a label sits relative to its control point.
#pragma once
#include "ODPropertyGroup.h"

class CODOrientationProperties : public CODPropertyGroup
{
    DECLARE_SERIAL(CODOrientationProperties)

public:
    explicit CODOrientationProperties(int id = 60);
    CODOrientationProperties(const CODOrientationProperties& other);

    void Serialize(CArchive& ar) override;
    CODProperty* Clone() const override { return new CODOrientationProperties(*this); }
    void CopyFrom(const CODProperty* other, DWORD mask) override;
    BOOL IsEqual(const CODProperty* other) const override;

    int GetPosition() const { return m_nPosition; }
    void SetPosition(int position) { m_nPosition = position; }
    int GetOffsetX() const { return m_nOffsetX; }
    void SetOffsetX(int offset) { m_nOffsetX = offset; }
    int GetOffsetY() const { return m_nOffsetY; }
    void SetOffsetY(int offset) { m_nOffsetY = offset; }

protected:
    int GetMemberCount() const override { return 3; }
    // The position is reached only through its accessors.
    Kind GetMemberKind(int index) const override { return index == 1 ? kindNone : kindInt; }
    int* IntMember(int index) override { return index == 2 ? &m_nOffsetX : &m_nOffsetY; }

    int m_nPosition;
    int m_nOffsetX;
    int m_nOffsetY;
};
