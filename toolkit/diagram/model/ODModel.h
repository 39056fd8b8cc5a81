// A drawing: the root component of its component tree, its canvas, and the subject its
// viewports observe. It keeps component ids unique, indexes its top-level components, records
// the commands run on it and holds the printer page settings.
#pragma once
#include "MvcCommand.h"
#include "ODCommand.h"
#include "ODComponent.h"
#include "ODPageSettings.h"
#include "ODSpatialIndex.h"

class CPrintInfo;
class SECDib;

// {0BC88DA0-295D-11D2-B329-006008AFE059}, and the node and edge interfaces of components.
extern "C" const GUID IID_IODGraph;
extern "C" const GUID IID_IODGraphNode;
extern "C" const GUID IID_IODGraphEdge;

class IODGraph
{
public:
    virtual HRESULT QueryInterface(REFIID iid, void** out) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual DWORD GetId() = 0;
    virtual IUnknown* GetNode(DWORD id) = 0;
    virtual IUnknown* GetEdge(DWORD id) = 0;

protected:
    ~IODGraph() {}
};

// A model that is itself a visual component, with attached visual parts and an undo interface
// over a command history.
template <class BASE>
class MvcPresentationModel_T : public MvcModel, public BASE, public IMvcVirtualPart,
                               public IMvcUndoRedo
{
public:
    explicit MvcPresentationModel_T(MvcCommandHistory* history = NULL) : m_pHistory(history) {}

    BOOL IsModified() override { return m_pHistory ? m_pHistory->IsModified() : FALSE; }
    void Reset() override {}
    virtual MvcCommandHistory* GetUndoManager() { return m_pHistory; }
    virtual void SetUndoManager(MvcCommandHistory* history) { m_pHistory = history; }
    virtual void UpdateAllViewports(const RECT* rect, BOOL erase, BOOL update)
    {
        for (int i = 0; i < m_parts.GetSize(); ++i)
            m_parts[i]->InvalidateRect(rect, erase, update);
    }

    void AddVisualPart(MvcVisualPart* part) override { m_parts.Add(part); }
    void RemoveVisualPart(MvcVisualPart* part) override { m_parts.Remove(part); }

    BOOL Do(MvcCommandBase* command) override
    {
        return m_pHistory ? m_pHistory->Do(command) : FALSE;
    }
    MvcCommandBase* Undo() override { return m_pHistory ? m_pHistory->Undo() : NULL; }
    MvcCommandBase* Redo() override { return m_pHistory ? m_pHistory->Redo() : NULL; }
    MvcCommandBase* PeekUndo() override { return m_pHistory ? m_pHistory->GetUndoCommand() : NULL; }
    MvcCommandBase* PeekRedo() override { return m_pHistory ? m_pHistory->GetRedoCommand() : NULL; }

    int GetVisualPartCount() const { return m_parts.GetSize(); }

protected:
    MvcCommandHistory* m_pHistory;
    CCArray_T<MvcVisualPart*, MvcVisualPart*> m_parts;
};

class CODModel : public MvcPresentationModel_T<CODComponent>, public IODIdGenerator, public IODGraph
{
    DECLARE_SERIAL(CODModel)

public:
    CODModel();
    virtual ~CODModel();

    // MvcModel
    BOOL IsModified() override { return m_bModified; }
    void Reset() override {}
    virtual void Initialize();
    void Reinitialize() { Initialize(); }
    virtual int GetOption() { return m_nOption; }
    virtual void SetOption(int option) { m_nOption = option; }
    virtual BOOL IsReadOnly();
    virtual void SetReadOnly(BOOL readOnly);
    virtual BOOL CanSelect();
    virtual void SetCanSelect(BOOL canSelect);
    virtual BOOL CanEditProperties();
    virtual void SetCanEditProperties(BOOL canEdit);
    virtual void SetModified(BOOL modified) { m_bModified = modified; }
    virtual BOOL FitsAt(const POINT* topLeft, CODComponent* component);
    virtual BOOL CanMoveBy(CODComponentSet* set, int dx, int dy);
    virtual BOOL ConstrainPosition(CODComponentSet* set, int* x, int* y, const RECT* bounds);
    virtual BOOL ConstrainOffset(CODComponentSet* set, int* dx, int* dy, const RECT* bounds);
    BOOL FitOffsetToExtent(CODComponentSet* set, int* dx, int* dy, const RECT* bounds)
    {
        return ConstrainOffset(set, dx, dy, bounds);
    }
    virtual BOOL ClampPoints(CODComponentSet* set, POINT* points, int count);

    // CODComponent
    void Serialize(CArchive& ar) override;
    IODIdGenerator* GetIdGenerator() override { return this; }
    CODSpatialIndex* GetSpatialIndex() override { return &m_index; }
    BOOL AppendChild(CODComponent* child) override;
    BOOL InsertChild(CODComponent* child, int index) override;
    BOOL RemoveChildAt(int index) override;
    void InitChildEditProperties(CODComponent* child) override;
    int HitTest(const CPoint* p, CODComponentSet* hits, int tolerance) override;
    void BuildRegion(CODRgn* region) override;
    void OnChildChanged(CODComponent*) override {}
    void PushTransform() override {}
    void PopTransform() override {}
    HRESULT QueryInterface(REFIID iid, void** out) override;
    ULONG AddRef() override { return CODComponent::AddRef(); }
    ULONG Release() override { return CODComponent::Release(); }

    // IODIdGenerator
    DWORD GenerateId() override;
    BOOL RegisterId(DWORD id, CODComponent* component) override;
    BOOL UnregisterComponent(CODComponent* component) override;
    BOOL UnregisterId(DWORD id) override;
    CODComponent* FindById(DWORD id) override;

    // IODGraph
    DWORD GetId() override { return CODComponent::GetId(); }
    IUnknown* GetNode(DWORD id) override;
    IUnknown* GetEdge(DWORD id) override;

    CSize GetSize() override { return CODComponent::GetSize(); }
    CPoint GetOrigin() const { return m_rcBounds.TopLeft(); }
    COLORREF GetBackgroundColor() const { return m_crBackground; }
    CODComponent* GetBackgroundComponent() const { return m_pBackground; }
    CODPageSettings* GetPageSettings() { return &m_pageSettings; }
    MvcCommandHistory* GetHistory() { return &m_history; }
    int GetRegisteredCount() const { return (int)m_idMap.GetCount(); }
    CSize SetSize(const CSize& size);
    CPoint SetOrigin(const CPoint& origin);
    using CODComponent::SetOrigin;
    using CODComponent::SetSize;
    void SetBackgroundColor(COLORREF color);
    void SetBackgroundComponent(CODComponent* component, BOOL shared);
    BOOL RemoveComponent(CODComponent* component);
    void UpdateComponent(CODComponent* component, int hint);
    void UpdateComponents(CODComponentSet* set, int hint);
    // Vertex edits of the shapes of a set; components without vertices are passed over.
    void InsertVertex(CODComponentSet* set, int index, int x, int y);
    void DeleteVertex(CODComponentSet* set, int index);
    void MoveVertex(CODComponentSet* set, int index, int dx, int dy);
    void SetTextOfTextComponents(CODComponentSet* set, LPCTSTR text);
    int GetComponentsAtPoint(CODComponentSet* out, int x, int y, int tolerance);
    int GetComponentsInRect(CODComponentSet* out, const RECT& rect);
    int GetComponentsOverlapping(CODComponentSet* out, const RECT& rect);
    void MoveComponents(CODComponentSet* set, int dx, int dy);
    void RotateComponents(CODComponentSet* set, int angle, int aspectX = 1, int aspectY = 1);
    void ScaleComponents(CODComponentSet* set, float sx, float sy, int handle);
    void AlignComponents(CODComponentSet* set, int how);
    void OrderComponents(CODComponentSet* set, int how);
    void GroupComponents(CODComponentSet* set, CODComponent* group, int index);
    void UngroupComponents(CODComponent* group,
                           CMap<CODComponent*, CODComponent*, int, int>* positions);
    void SetComponentsProperty(CODComponentSet* set, CODProperty* property, DWORD mask);
    void SetLineColor(CODComponentSet* set, COLORREF color);
    void SetLineWidth(CODComponentSet* set, int width);
    void SetLineStyle(CODComponentSet* set, int style);
    void SetFillColor(CODComponentSet* set, COLORREF color);
    void SetFillStyle(CODComponentSet* set, int style);
    void SetHatchStyle(CODComponentSet* set, int hatch);
    void SetFillPattern(CODComponentSet* set, SECDib* image);
    void SetFontFace(CODComponentSet* set, LPCTSTR face);
    void SetFontSize(CODComponentSet* set, int points);
    void SetFontColor(CODComponentSet* set, COLORREF color);
    void SetFontWeight(CODComponentSet* set, int weight);
    void SetFontItalic(CODComponentSet* set, BOOL italic);
    void SetFontUnderline(CODComponentSet* set, BOOL underline);
    void SetFontStrikeOut(CODComponentSet* set, BOOL strikeOut);
    void InitPageSetup(PAGESETUPDLGA* psd);
    void ApplyPageSetup(const PAGESETUPDLGA* psd);
    void PreparePrinting(CPrintInfo* info);
    void SetPageUnits(short measureUnit);
    void SetDragSource(BOOL dragSource) { m_bDragSource = dragSource; }
    BOOL IsDragSource() const { return m_bDragSource; }
    void SetDroppedOnSelf(BOOL dropped) { m_bDroppedOnSelf = dropped; }
    BOOL IsDroppedOnSelf() const { return m_bDroppedOnSelf; }
    void SetLabelsSelectable(BOOL selectable);
    void SetComponentName(CODComponent* component, const CString& name);

protected:
    void DisposeBackground();
    void RebuildIndex();
    // The working set of a move, rotation or scaling: the set and what must follow it.
    void CollectWorkingSet(CODComponentSet* set, int kind, CODComponentSet* working);
    void BeginChange(CODComponentSet* working, std::vector<CRect>* saved);
    void EndChange(CODComponentSet* working, const std::vector<CRect>& saved);
    void ApplyMember(CODComponentSet* set, CODProperty& group, DWORD mask);

    BOOL m_bModified;
    int m_nOption;
    COLORREF m_crBackground;
    CODComponent* m_pBackground;
    BOOL m_bBackgroundShared;
    CMap<DWORD, DWORD, CODComponent*, CODComponent*> m_idMap;
    CODPageSettings m_pageSettings;
    MvcCommandHistory m_history;
    BOOL m_bDragSource;
    BOOL m_bDroppedOnSelf;
    CODSpatialIndex m_index;
};

// Makes sure every class of the stored form is linked into a program that only loads.
void ODRegisterStoredClasses();
