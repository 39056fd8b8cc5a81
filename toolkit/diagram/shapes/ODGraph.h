// The graph view of a drawing: symbols are nodes, links are edges. Every interface pointer
// handed out carries one reference that the receiver releases.
#pragma once
#include <afxwin.h>
#include "MvcCollections.h"

extern "C" const GUID IID_IODGraphNode;
extern "C" const GUID IID_IODGraphEdge;

class IODGraphEdge;

// Receives the nodes or edges an enumeration finds.
class IODGraphSink
{
public:
    virtual void Add(IUnknown* item) = 0;
    virtual BOOL Contains(IUnknown* item) = 0;

protected:
    ~IODGraphSink() {}
};

class IODGraphNode : public IUnknown
{
public:
    virtual DWORD GetId() = 0;
    virtual IODGraphEdge* GetEdge(DWORD id) = 0;
    virtual int GetEdgeCount() = 0;
    virtual int GetOutEdgeCount() = 0;
    virtual int GetInEdgeCount() = 0;
    virtual int GetEdges(IODGraphSink* sink) = 0;
    virtual int GetOutEdges(IODGraphSink* sink) = 0;
    virtual int GetInEdges(IODGraphSink* sink) = 0;
    virtual IODGraphNode* GetAdjacentNode(IODGraphEdge* edge) = 0;
    virtual int GetAdjacentNodes(IODGraphSink* sink) = 0;
    virtual int GetSuccessors(IODGraphSink* sink) = 0;
    virtual int GetPredecessors(IODGraphSink* sink) = 0;
    virtual int CollectReachable(IODGraphSink* sink) = 0;
    virtual int CollectReachableForward(IODGraphSink* sink) = 0;
    virtual int CollectReachableBackward(IODGraphSink* sink) = 0;
};

class IODGraphEdge : public IUnknown
{
public:
    virtual DWORD GetId() = 0;
    virtual int GetNodes(IODGraphNode** source, IODGraphNode** target) = 0;
    virtual IODGraphNode* GetSourceNode() = 0;
    virtual IODGraphNode* GetTargetNode() = 0;
    virtual int Reserved() = 0;
};

// A collection of interface pointers that holds a reference on each.
class CODGraphCollection : public IODGraphSink
{
public:
    ~CODGraphCollection() { RemoveAll(); }
    void Add(IUnknown* item) override
    {
        if (item) {
            item->AddRef();
            m_items.Add(item);
        }
    }
    BOOL Contains(IUnknown* item) override { return m_items.IndexOf(item) >= 0; }
    int GetSize() const { return (int)m_items.GetSize(); }
    IUnknown* operator[](int i) const { return m_items[i]; }
    void RemoveAll()
    {
        for (int i = 0; i < m_items.GetSize(); ++i)
            m_items[i]->Release();
        m_items.RemoveAll();
    }

private:
    CCArray_T<IUnknown*, IUnknown*> m_items;
};
