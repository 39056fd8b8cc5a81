// The outlines shown while the selection is moved, rotated or scaled: each tracker re-places a
// clone of a dragged component from where the drag began and draws it in XOR, so that drawing
// it twice erases it. The real components are never touched.
#pragma once
#include <afxwin.h>
#include "MvcCollections.h"
#include "ODComponent.h"
#include "ODRgn.h"
#include "ODTransform.h"

class CODConnectionMap;

class CODComponentTracker : public CObject
{
public:
    explicit CODComponentTracker(CODComponent* component = NULL);
    virtual ~CODComponentTracker();

    void SetComponent(CODComponent* component);
    CODComponent* GetComponent() const { return m_pComponent; }
    CRect GetStartBounds() const { return m_rcStart; }

    // Totals since the drag began, never increments.
    virtual void Offset(int dx, int dy);
    virtual void Rotate(int angle, int handle, int aspectX, int aspectY);
    virtual void Scale(float sx, float sy, int handle);
    virtual void Draw(CDC* dc);

private:
    void Apply(CODTransform* transform);

    CODComponent* m_pComponent;
    CODTransform m_start;
    CRect m_rcStart;
};

class CODComponentSetTracker : public CObject
{
public:
    CODComponentSetTracker();
    virtual ~CODComponentSetTracker();

    void SetComponents(CODComponentSet* set);
    void SetExtraComponents(CODComponentSet* set);
    CPoint GetReferencePoint();
    void SetReferenceHandle(int handle) { m_nReferenceHandle = handle; }
    CRect GetUnionBounds() const { return m_rcUnion; }
    int GetTrackerCount() const { return m_nCount; }

    void TrackMove(CDC* dc, int dx, int dy);
    void TrackRotate(CDC* dc, int angle, int aspectX, int aspectY);
    void TrackScale(CDC* dc, float sx, float sy, int reference);
    int Draw(CDC* dc);
    // Forgets what was drawn (the viewport erases by drawing once more first).
    void EmptyDrawList() { m_drawList.RemoveAll(); }
    int GetDrawCount() const { return m_drawList.GetSize(); }
    void Clear();

    // The extra trackers drawn (the clones of links that follow the tracked symbols).
    int GetExtraCount() const { return m_nExtraCount; }
    CODComponentTracker* GetExtraTracker(int index) { return &m_pExtras[index]; }
    BOOL IsDrawn(CODComponentTracker* tracker) { return m_drawList.IndexOf(tracker) >= 0; }

private:
    void BeginTrack();
    void MapConnections(CODConnectionMap& map);
    void FollowLinks(CODConnectionMap& map, CODComponentTracker& tracker);
    void DrawLinkedExtras(CODConnectionMap& map);

    int m_nCount;
    CODComponentTracker* m_pTrackers;
    int m_nExtraCount;
    CODComponentTracker* m_pExtras;
    CCArray_T<CODComponentTracker*, CODComponentTracker*> m_drawList;
    CODRgn m_region;
    CRect m_rcUnion;
    int m_nReferenceHandle;
    BOOL m_bSinglePort;
};
