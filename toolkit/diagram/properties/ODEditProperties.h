// The edit group (id 40; the model also keeps one as id 50): what the user may do to a component.
#pragma once
#include "ODPropertyGroup.h"

class CODEditProperties : public CODPropertyGroup
{
    DECLARE_SERIAL(CODEditProperties)

public:
    enum Member {
        readOnly, canSelect, canMove, canRotate, canScale, canStretch, canEditProperties,
        canContain, canEditVertices, memberCount
    };

    explicit CODEditProperties(int id = 40);
    CODEditProperties(const CODEditProperties& other);
    CODEditProperties& operator=(const CODEditProperties& other);

    void Serialize(CArchive& ar) override;
    CODProperty* Clone() const override { return new CODEditProperties(*this); }
    void CopyFrom(const CODProperty* other, DWORD mask) override;
    BOOL IsEqual(const CODProperty* other) const override;

    BOOL IsReadOnly() const { return m_members[readOnly]; }
    void SetReadOnly(BOOL value) { m_members[readOnly] = value; }
    BOOL GetCanSelect() const { return m_members[canSelect]; }
    void SetCanSelect(BOOL value) { m_members[canSelect] = value; }
    BOOL GetCanMove() const { return m_members[canMove]; }
    void SetCanMove(BOOL value) { m_members[canMove] = value; }
    BOOL GetCanRotate() const { return m_members[canRotate]; }
    void SetCanRotate(BOOL value) { m_members[canRotate] = value; }
    BOOL GetCanScale() const { return m_members[canScale]; }
    void SetCanScale(BOOL value) { m_members[canScale] = value; }
    BOOL GetCanStretch() const { return m_members[canStretch]; }
    void SetCanStretch(BOOL value) { m_members[canStretch] = value; }
    BOOL GetCanEditProperties() const { return m_members[canEditProperties]; }
    void SetCanEditProperties(BOOL value) { m_members[canEditProperties] = value; }
    BOOL GetCanContain() const { return m_members[canContain]; }
    void SetCanContain(BOOL value) { m_members[canContain] = value; }
    BOOL GetCanEditVertices() const { return m_members[canEditVertices]; }
    void SetCanEditVertices(BOOL value) { m_members[canEditVertices] = value; }

    // The effective permissions: read-only withdraws them.
    BOOL CanMove() const { return m_members[canMove] && !m_members[readOnly]; }
    BOOL CanRotate() const { return m_members[canRotate] && !m_members[readOnly]; }
    BOOL CanScale() const { return m_members[canScale] && !m_members[readOnly]; }
    BOOL CanEditProperties() const { return m_members[canEditProperties] && !m_members[readOnly]; }
    BOOL CanEditVertices() const
    {
        return m_members[canEditVertices] && !m_members[readOnly] && CanMove();
    }

protected:
    int GetMemberCount() const override { return memberCount; }
    Kind GetMemberKind(int) const override { return kindInt; }
    int* IntMember(int index) override { return &m_members[index - 1]; }

    BOOL m_members[memberCount];
};
