// Connection points: a one-vertex component, invisible as a plain port, drawn as a crossed
// circle as a circle port.
#pragma once
#include "ODPointComponent.h"

class CODPortComponent : public CODPointComponent
{
    DECLARE_SERIAL(CODPortComponent)

public:
    CODPortComponent();
    explicit CODPortComponent(CODComponent* owner);
    CODPortComponent(const CODPortComponent& other);

    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODPortComponent(*this); }
    void GetHandles(CArray<CPoint, CPoint>& handles, BOOL) override { handles.RemoveAll(); }
    void OnDraw(CDC*) override {}
    CRect GetOwnExtent() override { return CRect(0, 0, 0, 0); }

    BOOL Create(CPoint pt);
    // The component whose transform places the port (the symbol that holds it); none for a
    // free-standing port.
    CODComponent* GetOwner() const { return m_pOwner; }
    void SetOwner(CODComponent* owner) { m_pOwner = owner; }
    // The connection point in model coordinates, and the vertex moved so that it lands there.
    CPoint GetLocation();
    void SetLocation(CPoint pt);
    BOOL HitTestPort(const CPoint* pt, int tolerance);
    // Asks the owning symbol; a port without one joins nothing.
    BOOL CanConnectTo(CODPortComponent* other);
    void SetCenterPort(DWORD centre) { m_dwCenterPort = centre; }
    DWORD IsCenterPort() const { return m_dwCenterPort; }

protected:
    void GetPortTransform(CODTransform& t);

    CODComponent* m_pOwner;
    DWORD m_dwCenterPort;
};

class CODCirclePort : public CODPortComponent
{
    DECLARE_SERIAL(CODCirclePort)

public:
    CODCirclePort() : m_nRadius(3) {}
    explicit CODCirclePort(CODComponent* owner) : CODPortComponent(owner), m_nRadius(3) {}
    CODCirclePort(const CODCirclePort& other) : CODPortComponent(other), m_nRadius(other.m_nRadius) {}

    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODCirclePort(*this); }
    void ApplyProperties(CODPropertyList* properties) override;
    void OnDraw(CDC* dc) override;
    void BuildRegion(CODRgn* region) override;

    BOOL Create(CPoint pt, int radius);
    int GetRadius() const { return m_nRadius; }
    void SetRadius(int radius);

private:
    int m_nRadius;
};
