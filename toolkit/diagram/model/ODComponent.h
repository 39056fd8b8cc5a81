// The element of a drawing: shapes, texts, groups and the model itself are components. A
// component has an id, a type and a name, children in drawing order, an optional own
// transform, a hit region with the rectangles derived from it, and shared properties.
#pragma once
#include <afxwin.h>
#include "Mvc.h"
#include "ODProperty.h"
#include "ODRgn.h"
#include "ODTransform.h"

class CODComponent;
class CODSpatialIndex;

// Keeps the component ids of one model unique.
class IODIdGenerator
{
public:
    virtual DWORD GenerateId() = 0;
    virtual BOOL RegisterId(DWORD id, CODComponent* component) = 0;
    virtual BOOL UnregisterComponent(CODComponent* component) = 0;
    virtual BOOL UnregisterId(DWORD id) = 0;
    virtual CODComponent* FindById(DWORD id) = 0;

protected:
    ~IODIdGenerator() {}
};

typedef CODComponentSet CODComponentArray;

class CODComponent : public CCmdTarget, public MvcVisualComponent, public IODPropertyContainer
{
    DECLARE_SERIAL(CODComponent)

public:
    CODComponent();
    CODComponent(const CODComponent& other);
    virtual ~CODComponent();

    void Serialize(CArchive& ar) override;

    virtual CODComponent* Clone() const;
    virtual IODIdGenerator* GetIdGenerator();
    virtual DWORD RegisterIds(IODIdGenerator* generator);
    virtual void UnregisterIds(IODIdGenerator* generator);
    virtual CODSpatialIndex* GetSpatialIndex() { return NULL; }
    virtual CODSpatialIndex* GetParentSpatialIndex();
    virtual CODComponentSet* GetChildren() { return &m_children; }
    virtual int GetChildCount() const { return m_children.GetSize(); }
    virtual void SetParent(CODComponent* parent) { m_pParent = parent; }
    virtual CODComponent* GetParent() const { return m_pParent; }
    virtual int GetChildIndex(CODComponent* child);
    virtual CODComponent* GetChild(int index) const;
    virtual BOOL AppendChild(CODComponent* child);
    virtual BOOL InsertChild(CODComponent* child, int index);
    virtual BOOL RemoveChildAt(int index);
    virtual void InitChildEditProperties(CODComponent* child);
    virtual BOOL CanJoinGroup(CODComponentSet*) { return TRUE; }
    virtual BOOL GetProperty(int id, CODProperty& out);
    virtual BOOL SetOrAddProperty(const CODProperty& p);
    virtual BOOL SetProperty(const CODProperty& p, DWORD mask);
    virtual BOOL AddProperty(const CODProperty& p);
    virtual BOOL ReplaceProperty(const CODProperty& p);
    virtual BOOL RemoveProperty(int id);
    virtual void ApplyProperties(CODPropertyList* properties);
    virtual CODTransform* GetTransform() const { return m_pTransform; }
    virtual void SetTransform(CODTransform* transform);
    virtual void Translate(int dx, int dy);
    virtual void Rotate(int angle, float cx, float cy, int aspectX = 1, int aspectY = 1);
    virtual void Resize(const CSize& size);
    virtual void Scale(float sx, float sy, float x, float y);
    virtual void SizeToRect(const CRect& rect);
    virtual void MoveTo(CPoint p);
    virtual void CenterOn(int x, int y);
    virtual void PushTransform();
    virtual void PopTransform();
    virtual int CollectMoveDependents(CODComponentSet* set);
    virtual int CollectRotateDependents(CODComponentSet*) { return 0; }
    virtual int CollectScaleDependents(CODComponentSet*) { return 0; }
    virtual void UpdateLogicalUnits(CDC* dc);
    virtual void GetRegionHandleF(int handle, float* x, float* y);
    virtual CPoint GetRegionHandle(int handle);
    virtual void GetExtentHandleF(int handle, float* x, float* y);
    virtual CPoint GetExtentHandle(int handle);
    virtual void GetHandles(CArray<CPoint, CPoint>& handles, BOOL vertices);
    virtual CPoint GetHandle(int index, BOOL vertices);
    virtual void GetVertices(CArray<CPoint, CPoint>& points, int flag);
    virtual BOOL CanAddVertex() { return FALSE; }
    virtual BOOL CanRemoveVertex() { return FALSE; }
    virtual void DrawFeedback(CDC* dc);
    virtual void OnDraw(CDC* dc);
    virtual void RestoreDC(CDC* dc);
    virtual int HitTest(const CPoint* p, CODComponentSet* hits, int tolerance);
    virtual int GetContainedComponents(CODComponentSet* set);
    virtual CODRgn* GetRegion() { return &m_region; }
    virtual CODRgn CreateOutlineRegion() { return CODRgn(); }
    virtual CODRgn UpdateRegion(BOOL notifyParent);
    virtual void BuildRegion(CODRgn* region) { region->Empty(); }
    virtual void OnChildChanged(CODComponent* child);
    virtual CODRgn* RecalcRegion();
    virtual CODRgn* GetHitRegion() { return &m_region; }
    virtual CRect GetExtent() { return m_rcExtent; }
    virtual CRect GetOwnExtent() { return CRect(0, 0, 0, 0); }
    virtual void OnAttach(CODComponent*) {}
    virtual void OnDetach(CODComponent*) {}
    virtual void OnTransformChanged();
    virtual void OnMoveSet(CODComponentSet*) {}
    virtual BOOL OnDoubleClick() { return FALSE; }
    virtual void OnGrouped(CODComponent*) {}
    virtual void OnUngrouped(CODComponent*) {}

    // MvcVisualComponent part.
    void Draw(CDC* dc) override;
    void PrepareDC(CDC* dc) override;

    // IODPropertyContainer part: absolute ids, own properties only.
    HRESULT QueryInterface(REFIID iid, void** out) override;
    ULONG AddRef() override;
    ULONG Release() override;
    BOOL GetValue(int id, float& value) override;
    BOOL GetValue(int id, DWORD& value) override;
    BOOL GetValue(int id, ODValue32& value) override;
    BOOL GetValue(int id, int& value) override;
    BOOL GetValue(int id, CString& value) override;
    BOOL SetValue(int id, float value) override;
    BOOL SetValue(int id, DWORD value) override;
    BOOL SetValue(int id, ODValue32 value) override;
    BOOL SetValue(int id, int value) override;
    BOOL SetValue(int id, LPCTSTR value) override;

    DWORD GetId() const { return m_dwId; }
    void SetId(DWORD id) { m_dwId = id; }
    CString GetType() const { return m_strType; }
    void SetType(const CString& type) { m_strType = type; }
    CString GetName() const { return m_strName; }
    void SetName(const CString& name) { m_strName = name; }
    int GetSiblingIndex() const { return m_nSiblingIndex; }
    BOOL IsVisible() const { return m_bVisible; }
    void SetVisible(BOOL visible) { m_bVisible = visible; }
    LONG GetRefCount() const { return m_nRefs; }
    CObject* GetUserObject() const { return m_pUserObject; }
    CODPropertyList* GetProperties() { return &m_properties; }
    CODProperty* FindProperty(int id, BOOL inherit = FALSE);
    BOOL GetPropertyEx(CODProperty& out, int id, BOOL inherit);
    void GetAncestorTransform(CODTransform& t);
    void GetFullTransform(CODTransform& t);
    void PushAncestorTransforms();
    void PopAncestorTransforms();
    void SetFeedbackFlag(BOOL feedback);
    BOOL RemoveChild(CODComponent* child);
    void RemoveChildren(CODComponentSet* set);
    void RemoveAllChildren();
    BOOL AppendChildren(CODComponentSet* set);
    CODComponent* FindParentOf(CODComponent* child);
    // Sorts a set by sibling index (drawing order).
    static void SortChildren(CODComponentSet* set);
    void ShareProperties();
    static BOOL CanEditAnyProperties(CODComponentSet* set);
    BOOL PointInBounds(const POINT* pt) const;
    BOOL RectTouchesBounds(const RECT* rect) const;
    int GetChildrenAtPoint(const POINT* pt, CODComponentSet* set);
    int GetChildrenInRect(CRect rect, CODComponentSet* set);
    int GetChildrenTouchingRect(CRect rect, CODComponentSet* set);
    CRect GetPreviousBounds() const { return m_rcPrevious; }
    void SetPreviousBounds(int left, int top, int right, int bottom)
    {
        m_rcPrevious.SetRect(left, top, right, bottom);
    }
    BOOL Create(UINT typeId);
    BOOL Create(CODComponentSet* children);
    BOOL LoadType(UINT id);
    // A component of the stored form's class is a group made by the editor.
    BOOL IsKindOfName(LPCSTR className) const;

protected:
    // What a stored record replaces in a component that already lives (all but its children),
    // kept while a stream is read into it: a refused stream puts it back, an accepted one
    // drops it.
    struct KeptState {
        DWORD id;
        CString type;
        CString name;
        CRect bounds;
        CODTransform* transform;
        BOOL visible;
        CODPropertyList properties;
        CObject* user;
        KeptState() : id(0), bounds(0, 0, 0, 0), transform(NULL), visible(TRUE), properties(10), user(NULL) {}
    };
    void KeepState(KeptState& kept);
    void RestoreState(KeptState& kept);
    void DropState(KeptState& kept);
    // Reads the children of a stored record and appends them (one reference each).
    void ReadChildren(CArchive& ar, int count);
    void ClearFeedback();

    DWORD m_dwId;
    int m_nSiblingIndex;
    CString m_strType;
    CString m_strName;
    CPen* m_pPen;
    CFont* m_pFont;
    CBrush* m_pBrush;
    CODRgn m_region;
    CRect m_rcExtent;
    CRect m_rcPrevious;
    BOOL m_bFeedback;
    BOOL m_bVisible;
    CODTransform* m_pTransform;
    CODComponent* m_pParent;
    CODComponentSet m_children;
    CODPropertyList m_properties;
    CObject* m_pUserObject;
    LONG m_nRefs;

private:
    CODComponent& operator=(const CODComponent&) = delete;
};

// {F2610FA0-...}: the container interface of components and property groups.
extern "C" const GUID IID_IODPropertyContainer;
