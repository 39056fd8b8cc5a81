// Graph edges: a link is a symbol whose path (its only child, a line) runs between two end
// ports, each joined to a port of another symbol. Its ends stay on the ports they are joined
// to; at a symbol's centre port the end stops just outside the symbol's outline.
#pragma once
#include "ODSymbolComponent.h"

class CODLineComponent;

class CODLinkComponent : public CODSymbolComponent
{
    DECLARE_SERIAL(CODLinkComponent)

public:
    CODLinkComponent();
    CODLinkComponent(const CODLinkComponent& other);

    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODLinkComponent(*this); }
    void ApplyProperties(CODPropertyList* properties) override;
    void GetHandles(CArray<CPoint, CPoint>& handles, BOOL vertices) override;
    void GetVertices(CArray<CPoint, CPoint>& points, int flag) override;
    BOOL CanAddVertex() override;
    BOOL CanRemoveVertex() override;
    CODRgn CreateOutlineRegion() override { return m_region; }
    void OnTransformChanged() override;
    BOOL MovePort(CODPortComponent* port, int dx, int dy) override;
    BOOL FollowConnection(CODConnection* connection) override;
    BOOL CanConnect(CODPortComponent* own, CODPortComponent* other) override;
    void OnConnect(CODConnection* connection) override;
    BOOL OnFarEndMoved(CODConnection* connection) override;
    void OnDisconnect(CODConnection* connection) override;
    BOOL OnFarEndRemoved(CODConnection* connection) override;

    BOOL Create(const CArray<CPoint, CPoint>& points, CODPortComponent* source, CODPortComponent* target);
    BOOL Create(const CPoint* points, int count, CODPortComponent* source, CODPortComponent* target);
    BOOL Create(CODPortComponent* source, CODPortComponent* target);

    CODPortComponent* GetSourcePort() const { return GetPort(0); }
    CODPortComponent* GetTargetPort() const { return GetPort(1); }
    CODComponent* GetSourceComponent();
    CODComponent* GetTargetComponent();
    CODLineComponent* GetLine() const { return m_pLine; }
    CPoint GetVertex(int index);
    CPoint GetPointOnPath(int percent, int* first, int* second);
    CPoint GetLabelPosition(CODLabelComponent* label) override;
    HRESULT QueryInterface(REFIID iid, void** out) override;
    CPoint ClipToOutline(CODComponent* component, CPoint end, CPoint neighbour);

    virtual CODConnection* ConnectSource(CODPortComponent* port);
    virtual CODConnection* ConnectTarget(CODPortComponent* port);
    virtual void DisconnectSource();
    virtual void DisconnectTarget();
    virtual int GetVertexArray(CArray<CPoint, CPoint>* points);
    virtual int CopyVertices(CPoint* points);
    virtual void SetVertexArray(const CArray<CPoint, CPoint>* points);
    virtual void SetVertices(const CPoint* points, int count);
    virtual int GetVertexCount();
    virtual int MoveVertex(int index, int dx, int dy);
    virtual int OffsetVertex(int index, int dx, int dy);
    virtual void OffsetVertices(int dx, int dy);
    virtual void UpdateEndPorts();
    virtual void RouteEnds();

private:
    BOOL Finish(BOOL created, CODPortComponent* source, CODPortComponent* target, BOOL unselectableEnds);
    CODConnection* EndConnection(CODPortComponent* end);
    CODLineComponent* m_pLine;

    // The edge interface, a part of the link sharing its reference count.
    class XGraphEdge : public IODGraphEdge
    {
    public:
        explicit XGraphEdge(CODLinkComponent* link) : m_pLink(link) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
        {
            return m_pLink->QueryInterface(iid, out);
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return m_pLink->AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return m_pLink->Release(); }
        DWORD GetId() override { return m_pLink->GetId(); }
        int GetNodes(IODGraphNode** source, IODGraphNode** target) override;
        IODGraphNode* GetSourceNode() override;
        IODGraphNode* GetTargetNode() override;
        int Reserved() override { return 0; }

    private:
        CODLinkComponent* m_pLink;
    };
    XGraphEdge m_xGraphEdge{this};
};
