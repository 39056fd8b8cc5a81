// Graph nodes of a drawing: a symbol is a composite component with ports where other
// components' ports are joined to it by connections. A move, rotation, scaling or removal is
// passed along the connections: the far owner follows (its Bool 70 set) or lets the
// connection go once the two ports part.
#pragma once
#include <afxcoll.h>
#include "ODComponent.h"
#include "ODGraph.h"
#include "ODPortComponent.h"

class CODLabelComponent;

class CODSymbolComponent;

// Two ports joined. Each end holds one reference on its port. An end's state says what its
// owner is to be told: 0 nothing, 1 the far end moved, 2 the far end's component was removed.
class CODConnection : public CObject
{
    DECLARE_SERIAL(CODConnection)

public:
    CODConnection(CODPortComponent* source = NULL, CODPortComponent* target = NULL)
        : m_pSource(source), m_pTarget(target), m_nSourceState(0), m_nTargetState(0)
    {
    }
    ~CODConnection() override;
    void Serialize(CArchive& ar) override;

    virtual BOOL GetFarFollow(CODPortComponent* port);
    virtual BOOL GetTargetFollow();
    virtual BOOL GetSourceFollow();
    virtual BOOL SetEndState(CODPortComponent* port, int state);
    virtual BOOL SetSourceState(int state)
    {
        m_nSourceState = state;
        return TRUE;
    }
    virtual BOOL SetTargetState(int state)
    {
        m_nTargetState = state;
        return TRUE;
    }
    virtual BOOL NotifyEnd(CODPortComponent* port);
    virtual BOOL NotifySource();
    virtual BOOL NotifyTarget();
    virtual void ClearStates() { m_nSourceState = m_nTargetState = 0; }

    CODPortComponent* GetSource() const { return m_pSource; }
    CODPortComponent* GetTarget() const { return m_pTarget; }
    void SetSource(CODPortComponent* port);
    void SetTarget(CODPortComponent* port);
    BOOL IsCoincident();
    int GetSourceState() const { return m_nSourceState; }
    int GetTargetState() const { return m_nTargetState; }

private:
    BOOL Notify(CODPortComponent* port, int state);
    CODPortComponent* m_pSource;
    CODPortComponent* m_pTarget;
    int m_nSourceState;
    int m_nTargetState;
};

typedef CCArray_T<CODConnection*, CODConnection*> CODConnectionArray;

// Held over a reading of stored components: a connection a symbol read but did not take (it
// joins nothing there) may still be taken by a symbol read later, so it is deleted only when
// the outermost reading ends and no symbol has taken it.
class CODConnectionSweep
{
public:
    CODConnectionSweep();
    ~CODConnectionSweep();
    // A connection read and not taken; Taken when a symbol takes it after all.
    static void NotTaken(CODConnection* connection);
    static void Taken(CODConnection* connection);

private:
    CODConnectionSweep(const CODConnectionSweep&) = delete;
    CODConnectionSweep& operator=(const CODConnectionSweep&) = delete;
};

// The connections one move has already passed, with the port on the side that is moving
// (NULL when both ends move).
class CODConnectionMap : public CMapPtrToPtr
{
public:
    CODConnectionMap() : CMapPtrToPtr(10) {}
    ~CODConnectionMap() override;
    void Set(CODConnection* connection, CODPortComponent* port);
    BOOL Contains(CODConnection* connection, CODPortComponent* port);
    void AddSymbol(CODSymbolComponent* symbol);
    int AddSymbols(CODComponentSet* set);
    void CollectLinks(CODComponentSet* set);
    void ClearInternalStates();
};

class CODSymbolComponent : public CODComponent
{
    DECLARE_SERIAL(CODSymbolComponent)

public:
    CODSymbolComponent();
    CODSymbolComponent(const CODSymbolComponent& other);
    ~CODSymbolComponent() override;

    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODSymbolComponent(*this); }
    void InitChildEditProperties(CODComponent* child) override;
    void OnDraw(CDC* dc) override;
    CODRgn* RecalcRegion() override;
    CODRgn UpdateRegion(BOOL notifyParent) override;
    CODRgn* GetHitRegion() override { return &m_bodyRegion; }
    void OnAttach(CODComponent* parent) override;
    void OnDetach(CODComponent* parent) override;
    void OnTransformChanged() override;
    void OnGrouped(CODComponent* group) override;
    HRESULT QueryInterface(REFIID iid, void** out) override;
    int CollectMoveDependents(CODComponentSet* set) override;
    void Scale(float sx, float sy, float x, float y) override;

    BOOL Create();
    BOOL Create(CODComponentSet* children);
    BOOL LoadFromFile(LPCTSTR path);

    // Ports.
    BOOL AddPort(CODPortComponent* port);
    BOOL RemovePortAt(int index);
    void RemoveAllPorts();
    int GetPorts(CODComponentSet* set);
    int GetPortCount() const { return (int)m_ports.GetSize(); }
    CODPortComponent* GetPort(int index) const;
    CODPortComponent* GetCenterPort() const { return m_pCenterPort; }
    void SetPortsVisible(BOOL visible);
    void DrawPorts(CDC* dc);
    void SetCenterPortEnabled(BOOL enabled);
    CODPortComponent* FindPortAt(const CPoint* pt, int tolerance);

    // Labels: each holds one reference and names this symbol as its owner; while the symbol
    // has a parent each label is also a child of that parent.
    BOOL AddLabel(CODLabelComponent* label);
    CODLabelComponent* AddLabel(LPCTSTR text, CODComponent* owner, CDC* dc);
    BOOL InsertLabel(CODLabelComponent* label, int index);
    BOOL RemoveLabel(CODLabelComponent* label);
    BOOL RemoveLabelAt(int index);
    void RemoveAllLabels();
    int GetLabelCount() const { return (int)m_labels.GetSize(); }
    CODLabelComponent* GetLabel(int index) const;
    virtual CPoint GetLabelPosition(CODLabelComponent* label);
    void UpdateFullRegion(CODLabelComponent* label);

    // Connections.
    int GetConnections(CODConnectionArray* connections);
    int GetConnectionCount() const { return (int)m_connections.GetSize(); }
    CODConnection* FindConnection(CODPortComponent* a, CODPortComponent* b);
    void FindConnections(CODPortComponent* port, CODConnectionArray* connections);
    void GetConnectionsTo(CODComponent* component, CODConnectionArray* connections);
    CODPortComponent* GetOwnPort(CODConnection* connection);
    BOOL IsSourceOf(CODConnection* connection);
    CODPortComponent* GetConnectedPort(CODConnection* connection);
    void MarkFarEnds(CODPortComponent* port, int state);
    void MarkAllFarEnds(int state);
    void RemoveAllConnections();
    int DisconnectAllExcept(CODComponentSet* keep);
    void RegisterAllConnections();
    void UnregisterAllConnections();
    void UpdateConnectedLinks(CODConnectionMap* map);

    virtual BOOL MovePort(CODPortComponent* port, int dx, int dy);
    virtual CODPortComponent* CreateCenterPort();
    virtual BOOL FollowConnection(CODConnection* connection);
    virtual void CollectConnected(CODComponentSet* set);
    virtual void CollectFollowers(CODComponentSet* set);
    virtual BOOL CanConnect(CODPortComponent*, CODPortComponent*) { return TRUE; }
    virtual CODConnection* Connect(CODPortComponent* a, CODPortComponent* b);
    virtual void DisconnectFrom(CODComponent* component);
    virtual void RemoveConnection(CODConnection* connection);
    virtual void Disconnect(CODPortComponent* a, CODPortComponent* b);
    virtual int AddConnectionEntry(CODConnection* connection);
    virtual void RemoveConnectionEntry(CODConnection* connection);
    virtual void RegisterWithFarEnd(CODConnection* connection);
    virtual void UnregisterFromFarEnd(CODConnection* connection);
    virtual void OnConnect(CODConnection*) {}
    virtual BOOL OnFarEndMoved(CODConnection* connection);
    virtual void OnDisconnect(CODConnection*) {}
    virtual BOOL OnFarEndRemoved(CODConnection*) { return FALSE; }
    virtual void UpdateCenterPort();

    // The symbol a port belongs to, if any.
    static CODSymbolComponent* OwnerOf(CODPortComponent* port);

protected:
    // The node interface, a part of the symbol sharing its reference count.
    class XGraphNode : public IODGraphNode
    {
    public:
        explicit XGraphNode(CODSymbolComponent* symbol) : m_pSymbol(symbol) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
        {
            return m_pSymbol->QueryInterface(iid, out);
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return m_pSymbol->AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return m_pSymbol->Release(); }
        DWORD GetId() override { return m_pSymbol->GetId(); }
        IODGraphEdge* GetEdge(DWORD id) override;
        int GetEdgeCount() override { return CountEdges(0); }
        int GetOutEdgeCount() override { return CountEdges(1); }
        int GetInEdgeCount() override { return CountEdges(2); }
        int GetEdges(IODGraphSink* sink) override { return CollectEdges(sink, 0); }
        int GetOutEdges(IODGraphSink* sink) override { return CollectEdges(sink, 1); }
        int GetInEdges(IODGraphSink* sink) override { return CollectEdges(sink, 2); }
        IODGraphNode* GetAdjacentNode(IODGraphEdge* edge) override;
        int GetAdjacentNodes(IODGraphSink* sink) override { return CollectAdjacent(sink, 0); }
        int GetSuccessors(IODGraphSink* sink) override { return CollectAdjacent(sink, 1); }
        int GetPredecessors(IODGraphSink* sink) override { return CollectAdjacent(sink, 2); }
        int CollectReachable(IODGraphSink* sink) override { return Reach(sink, 0); }
        int CollectReachableForward(IODGraphSink* sink) override { return Reach(sink, 1); }
        int CollectReachableBackward(IODGraphSink* sink) override { return Reach(sink, 2); }

    private:
        // direction: 0 every edge, 1 those leaving this node, 2 those entering it.
        int CollectEdges(IODGraphSink* sink, int direction);
        int CountEdges(int direction);
        int CollectAdjacent(IODGraphSink* sink, int direction);
        int Reach(IODGraphSink* sink, int direction);
        CODSymbolComponent* m_pSymbol;
    };
    XGraphNode m_xGraphNode{this};

    void Empty();
    CCArray_T<CODPortComponent*, CODPortComponent*> m_ports;
    CODCirclePort* m_pCenterPort;
    CODConnectionArray m_connections;
    CCArray_T<CODLabelComponent*, CODLabelComponent*> m_labels;
    CODRgn m_bodyRegion;
};
