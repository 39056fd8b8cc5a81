// A text that belongs to a symbol or a link. While it follows its owner it is placed where the
// owner says, from the label's orientation group (60) or a link's placement group (260);
// dragged on its own it stops following.
#pragma once
#include "ODTextComponent.h"

class CODLabelComponent : public CODTextComponent
{
    DECLARE_SERIAL(CODLabelComponent)

public:
    CODLabelComponent();
    explicit CODLabelComponent(int position);
    CODLabelComponent(const CODLabelComponent& other);
    ~CODLabelComponent() override;

    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODLabelComponent(*this); }
    BOOL CanJoinGroup(CODComponentSet*) override { return FALSE; }
    BOOL SetOrAddProperty(const CODProperty& p) override;
    BOOL SetProperty(const CODProperty& p, DWORD mask) override;
    CODRgn UpdateRegion(BOOL notifyParent) override;
    CODRgn* RecalcRegion() override;
    void OnAttach(CODComponent* parent) override;
    void OnDetach(CODComponent* parent) override;
    void OnTransformChanged() override;
    void OnMoveSet(CODComponentSet* set) override;

    using CODTextComponent::Create;
    BOOL Create(CDC* dc);
    void SetOrientation(int position);
    BOOL GetFollowOwner() const { return m_bFollowOwner; }
    void SetFollowOwner(BOOL follow) { m_bFollowOwner = follow; }
    CODComponent* GetOwner() const { return m_pOwner; }
    void SetOwner(CODComponent* owner) { m_pOwner = owner; }

protected:
    void PositionOnOwner();
    void OwnerRefresh();

    BOOL m_bFollowOwner;
    CODComponent* m_pOwner;
};
