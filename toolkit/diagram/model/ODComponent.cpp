#include "ODComponent.h"
#include <algorithm>
#include <unordered_set>
#include <vector>
#include "ODEditProperties.h"
#include "ODFillProperties.h"
#include "ODFontProperties.h"
#include "ODGeometry.h"
#include "ODLineProperties.h"
#include "ODSpatialIndex.h"
#include "diagram_res.h"

IMPLEMENT_SERIAL(CODComponent, CCmdTarget, VERSIONABLE_SCHEMA | 1)

namespace {

// Objects a component owns outright (its transform, its user object). A damaged stored form can
// name one object twice; the second holder then takes a copy or refuses it, never a second owner.
// Kept to the end of the process, for components that static objects destroy at exit.
std::unordered_set<const CObject*>& g_owned = *new std::unordered_set<const CObject*>;

// The components whose records are being read on this thread, outermost first: none of them may
// become a child of itself or of its own descendants.
thread_local std::vector<CODComponent*> t_loading;

struct LoadingScope {
    explicit LoadingScope(CODComponent* c) { t_loading.push_back(c); }
    ~LoadingScope() { t_loading.pop_back(); }
};

void ThrowBadIndex(CArchive& ar)
{
    AfxThrowArchiveException(CArchiveException::badIndex, ar.m_strFileName);
}

void ThrowEndOfFile(CArchive& ar)
{
    AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
}

}  // namespace

CODComponent::CODComponent()
    : m_dwId(0), m_nSiblingIndex(0), m_pPen(NULL), m_pFont(NULL), m_pBrush(NULL),
      m_rcExtent(0, 0, 0, 0), m_rcPrevious(0, 0, 0, 0), m_bFeedback(FALSE), m_bVisible(TRUE),
      m_pTransform(NULL), m_pParent(NULL), m_properties(10), m_pUserObject(NULL), m_nRefs(0)
{
    SetOrAddProperty(CODEditProperties(40));
}

CODComponent::CODComponent(const CODComponent& other)
    : CCmdTarget(), MvcVisualComponent(), IODPropertyContainer(), m_dwId(other.m_dwId),
      m_nSiblingIndex(0), m_strType(other.m_strType), m_strName(other.m_strName), m_pPen(NULL),
      m_pFont(NULL), m_pBrush(NULL), m_rcExtent(0, 0, 0, 0), m_rcPrevious(0, 0, 0, 0),
      m_bFeedback(other.m_bFeedback), m_bVisible(other.m_bVisible), m_pTransform(NULL),
      m_pParent(other.m_pParent), m_properties(10), m_pUserObject(NULL), m_nRefs(0)
{
    if (other.m_pTransform)
        SetTransform(new CODTransform(*other.m_pTransform));
    for (POSITION pos = other.m_properties.GetHeadPosition(); pos != NULL;)
        SetOrAddProperty(*other.m_properties.GetNext(pos));
    for (int i = 0; i < other.m_children.GetSize(); ++i)
        AppendChild(other.m_children[i]->Clone());
}

CODComponent::~CODComponent()
{
    RemoveAllChildren();
    SetTransform(NULL);
    if (m_pUserObject) {
        g_owned.erase(m_pUserObject);
        delete m_pUserObject;
    }
    delete m_pPen;
    delete m_pFont;
    delete m_pBrush;
    m_properties.RemoveAll();
}

CODComponent* CODComponent::Clone() const
{
    return new CODComponent(*this);
}

BOOL CODComponent::IsKindOfName(LPCSTR className) const
{
    CRuntimeClass* cls = CRuntimeClass::FromName(className);
    return cls != NULL && GetRuntimeClass()->IsDerivedFrom(cls);
}

// ---------------------------------------------------------------------------------------------
// Stored form

void CODComponent::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)1 << (DWORD)m_dwId << m_strType << m_strName << (RECT)m_rcBounds;
        ar.WriteObject(m_pTransform);
        ar << (LONG)m_bVisible << (LONG)m_properties.GetCount();
        for (POSITION pos = m_properties.GetHeadPosition(); pos != NULL;)
            ar.WriteObject(m_properties.GetNext(pos).Get());
        ar << (LONG)m_children.GetSize();
        for (int i = 0; i < m_children.GetSize(); ++i)
            ar.WriteObject(m_children[i]);
        ar.WriteObject(m_pUserObject);
        return;
    }

    LoadingScope scope(this);
    DWORD version, id;
    CString type, name;
    RECT bounds;
    ar >> version >> id >> type >> name >> bounds;
    m_dwId = id;
    m_strType = type;
    m_strName = name;
    m_rcBounds = bounds;

    CODTransform* transform = (CODTransform*)ar.ReadObject(RUNTIME_CLASS(CODTransform));
    if (transform != NULL && g_owned.count(transform))
        transform = new CODTransform(*transform);  // named twice: this holder takes a copy
    SetTransform(transform);

    LONG visible, count;
    ar >> visible >> count;
    m_bVisible = visible;
    if (count < 0)
        ThrowEndOfFile(ar);
    AfxCheckStoredCount(ar, (DWORD)count, 2);
    m_properties.RemoveAll();
    for (LONG i = 0; i < count; ++i) {
        // Every entry of the stored lists is an object: a NULL entry is damage.
        CODProperty* p = (CODProperty*)ar.ReadObject(RUNTIME_CLASS(CODProperty));
        if (p == NULL)
            ThrowBadIndex(ar);
        m_properties.AddTail(CODPropertyPtr(p));
    }

    ar >> count;
    if (count < 0)
        ThrowEndOfFile(ar);
    AfxCheckStoredCount(ar, (DWORD)count, 2);
    ReadChildren(ar, (int)count);

    CObject* user = ar.ReadObject(NULL);
    if (user != NULL) {
        // The drawing's own objects are held by their owners; a user object is anything else,
        // held once.
        if (user->IsKindOf(RUNTIME_CLASS(CODComponent)) || user->IsKindOf(RUNTIME_CLASS(CODProperty)) ||
            user->IsKindOf(RUNTIME_CLASS(CODTransform)) || g_owned.count(user))
            AfxThrowArchiveException(CArchiveException::badClass, ar.m_strFileName);
        if (m_pUserObject) {
            g_owned.erase(m_pUserObject);
            delete m_pUserObject;
        }
        m_pUserObject = user;
        g_owned.insert(user);
    }
}

void CODComponent::KeepState(KeptState& kept)
{
    kept.id = m_dwId;
    kept.type = m_strType;
    kept.name = m_strName;
    kept.bounds = m_rcBounds;
    kept.visible = m_bVisible;
    kept.properties.RemoveAll();
    kept.properties.AddTail(&m_properties);
    // The transform and the user object are taken out, so that the reading cannot delete them.
    kept.transform = m_pTransform;
    m_pTransform = NULL;
    kept.user = m_pUserObject;
    m_pUserObject = NULL;
}

void CODComponent::RestoreState(KeptState& kept)
{
    m_dwId = kept.id;
    m_strType = kept.type;
    m_strName = kept.name;
    m_rcBounds = kept.bounds;
    m_bVisible = kept.visible;
    m_properties.RemoveAll();
    m_properties.AddTail(&kept.properties);
    kept.properties.RemoveAll();
    SetTransform(NULL);
    m_pTransform = kept.transform;  // still counted as owned
    kept.transform = NULL;
    if (m_pUserObject) {
        g_owned.erase(m_pUserObject);
        delete m_pUserObject;
    }
    m_pUserObject = kept.user;
    kept.user = NULL;
}

void CODComponent::DropState(KeptState& kept)
{
    kept.properties.RemoveAll();
    if (kept.transform) {
        g_owned.erase(kept.transform);
        delete kept.transform;
        kept.transform = NULL;
    }
    // A record without a user object leaves the one there was.
    if (m_pUserObject == NULL) {
        m_pUserObject = kept.user;
    } else if (kept.user) {
        g_owned.erase(kept.user);
        delete kept.user;
    }
    kept.user = NULL;
}

void CODComponent::ReadChildren(CArchive& ar, int count)
{
    // Nesting far beyond any drawing's groups comes only from a damaged stream; it would
    // exhaust the stack of the readers and of every later walk of the tree.
    if (count > 0 && t_loading.size() > 256)
        AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
    for (int i = 0; i < count; ++i) {
        CODComponent* child = (CODComponent*)ar.ReadObject(RUNTIME_CLASS(CODComponent));
        if (child == NULL)
            ThrowBadIndex(ar);
        // A child read before (a back-reference) may not have a parent already, nor be this
        // component or one of the components whose records enclose this one. A symbol's label
        // is read with its symbol first (holding the symbol's one reference) and then as a
        // child of the symbol's parent.
        LONG held = child->IsKindOfName("CODLabelComponent") ? 1 : 0;
        if (child->m_pParent != NULL || (child->m_nRefs != 0 && child->m_nRefs != held) ||
            std::find(t_loading.begin(), t_loading.end(), child) != t_loading.end())
            ThrowBadIndex(ar);
        // A drawing is never a part of another drawing.
        if (child->IsKindOfName("CODModel")) {
            delete child;
            ThrowBadIndex(ar);
        }
        m_children.Add(child);
        child->AddRef();
        child->m_nSiblingIndex = m_children.GetSize();
        child->SetParent(this);
        child->RegisterIds(GetIdGenerator());
    }
}

// ---------------------------------------------------------------------------------------------
// Ids and tree

IODIdGenerator* CODComponent::GetIdGenerator()
{
    return m_pParent ? m_pParent->GetIdGenerator() : NULL;
}

DWORD CODComponent::RegisterIds(IODIdGenerator* generator)
{
    if (generator == NULL)
        return 0;
    for (int i = 0; i < m_children.GetSize(); ++i)
        m_children[i]->RegisterIds(generator);
    if (m_dwId != 0) {
        CODComponent* holder = generator->FindById(m_dwId);
        if (holder == this)
            return m_dwId;
        if (holder == NULL && generator->RegisterId(m_dwId, this))
            return m_dwId;
    }
    generator->RegisterId(generator->GenerateId(), this);
    return m_dwId;
}

void CODComponent::UnregisterIds(IODIdGenerator* generator)
{
    if (generator == NULL)
        return;
    for (int i = 0; i < m_children.GetSize(); ++i)
        m_children[i]->UnregisterIds(generator);
    generator->UnregisterComponent(this);
}

CODSpatialIndex* CODComponent::GetParentSpatialIndex()
{
    return m_pParent ? m_pParent->GetSpatialIndex() : NULL;
}

int CODComponent::GetChildIndex(CODComponent* child)
{
    return m_children.IndexOf(child);
}

CODComponent* CODComponent::GetChild(int index) const
{
    return index >= 0 && index < m_children.GetSize() ? m_children.GetAt(index) : NULL;
}

BOOL CODComponent::AppendChild(CODComponent* child)
{
    if (child == NULL)
        return FALSE;
    m_children.Add(child);
    child->AddRef();
    child->m_nSiblingIndex = m_children.GetSize();
    child->OnAttach(this);
    child->SetParent(this);
    child->RegisterIds(GetIdGenerator());
    InitChildEditProperties(child);
    return TRUE;
}

BOOL CODComponent::InsertChild(CODComponent* child, int index)
{
    if (child == NULL || index < 0 || index > m_children.GetSize())
        return FALSE;
    m_children.InsertAt(index, child, 1);
    child->AddRef();
    child->OnAttach(this);
    child->SetParent(this);
    child->RegisterIds(GetIdGenerator());
    InitChildEditProperties(child);
    for (int i = index; i < m_children.GetSize(); ++i)
        m_children[i]->m_nSiblingIndex = i;
    return TRUE;
}

BOOL CODComponent::RemoveChildAt(int index)
{
    if (index < 0)
        return FALSE;
    if (index >= m_children.GetSize())
        return TRUE;
    CODComponent* child = m_children[index];
    child->UnregisterIds(GetIdGenerator());
    child->SetParent(NULL);
    m_children.RemoveAt(index, 1);
    child->OnDetach(this);
    child->Release();
    for (int i = index; i < m_children.GetSize(); ++i)
        m_children[i]->m_nSiblingIndex = i;
    return TRUE;
}

void CODComponent::InitChildEditProperties(CODComponent* child)
{
    CODEditProperties edit;
    child->GetProperty(40, edit);  // a child without a group gets the defaults
    edit.SetCanSelect(FALSE);
    child->SetOrAddProperty(edit);
}

BOOL CODComponent::RemoveChild(CODComponent* child)
{
    int index = GetChildIndex(child);
    return index >= 0 ? RemoveChildAt(index) : FALSE;
}

void CODComponent::RemoveChildren(CODComponentSet* set)
{
    if (set == NULL)
        return;
    if (set == &m_children) {
        RemoveAllChildren();
        return;
    }
    for (int i = 0; i < set->GetSize(); ++i)
        RemoveChild((*set)[i]);
}

void CODComponent::RemoveAllChildren()
{
    while (m_children.GetSize() > 0)
        RemoveChildAt(m_children.GetSize() - 1);
}

BOOL CODComponent::AppendChildren(CODComponentSet* set)
{
    BOOL ok = TRUE;
    if (set)
        for (int i = 0; i < set->GetSize(); ++i)
            if (!AppendChild((*set)[i]))
                ok = FALSE;
    return ok;
}

CODComponent* CODComponent::FindParentOf(CODComponent* child)
{
    if (GetChildIndex(child) >= 0)
        return this;
    for (int i = 0; i < m_children.GetSize(); ++i) {
        CODComponent* found = m_children[i]->FindParentOf(child);
        if (found)
            return found;
    }
    return NULL;
}

void CODComponent::SortChildren(CODComponentSet* set)
{
    if (set == NULL || set->GetSize() < 2)
        return;
    CODComponent** data = set->GetData();
    std::stable_sort(data, data + set->GetSize(), [](CODComponent* a, CODComponent* b) {
        return a->m_nSiblingIndex < b->m_nSiblingIndex;
    });
}

// ---------------------------------------------------------------------------------------------
// Properties

CODProperty* CODComponent::FindProperty(int id, BOOL inherit)
{
    for (POSITION pos = m_properties.GetHeadPosition(); pos != NULL;) {
        CODProperty* p = m_properties.GetNext(pos);
        if (p->Accepts(id))
            return p;
    }
    if (inherit && m_pParent)
        return m_pParent->FindProperty(id, TRUE);
    return NULL;
}

BOOL CODComponent::GetProperty(int id, CODProperty& out)
{
    return GetPropertyEx(out, id, FALSE);
}

BOOL CODComponent::GetPropertyEx(CODProperty& out, int id, BOOL inherit)
{
    CODProperty* p = FindProperty(id, inherit);
    if (p == NULL || p->GetRuntimeClass() != out.GetRuntimeClass())
        return FALSE;
    out.CopyFrom(p, 0xffff);
    out.SetId(p->GetId());
    return TRUE;
}

BOOL CODComponent::SetOrAddProperty(const CODProperty& p)
{
    if (SetProperty(p, 0xffff))
        return TRUE;
    m_properties.AddHead(CODPropertyCache::GetCache()->Intern(p));
    return TRUE;
}

BOOL CODComponent::SetProperty(const CODProperty& p, DWORD mask)
{
    for (POSITION pos = m_properties.GetHeadPosition(); pos != NULL;) {
        POSITION here = pos;
        CODProperty* own = m_properties.GetNext(pos);
        if (own->GetId() != p.GetId())
            continue;
        // A property of another class under the same id takes nothing from p.
        if (own->GetRuntimeClass() != p.GetRuntimeClass())
            return FALSE;
        CODProperty* clone = own->Clone();
        clone->CopyFrom(&p, mask);
        m_properties.SetAt(here, CODPropertyCache::GetCache()->Intern(*clone));
        delete clone;
        return TRUE;
    }
    return FALSE;
}

BOOL CODComponent::AddProperty(const CODProperty& p)
{
    if (FindProperty(p.GetId(), FALSE))
        return FALSE;
    m_properties.AddHead(CODPropertyCache::GetCache()->Intern(p));
    return TRUE;
}

BOOL CODComponent::ReplaceProperty(const CODProperty& p)
{
    return SetProperty(p, 0xffff);
}

BOOL CODComponent::RemoveProperty(int id)
{
    for (POSITION pos = m_properties.GetHeadPosition(); pos != NULL;) {
        POSITION here = pos;
        if (m_properties.GetNext(pos)->GetId() == id) {
            m_properties.RemoveAt(here);
            return TRUE;
        }
    }
    return FALSE;
}

void CODComponent::ApplyProperties(CODPropertyList* properties)
{
    if (properties)
        for (POSITION pos = properties->GetHeadPosition(); pos != NULL;)
            SetProperty(*properties->GetNext(pos), 0xffff);
}

void CODComponent::ShareProperties()
{
    for (POSITION pos = m_properties.GetHeadPosition(); pos != NULL;) {
        POSITION here = pos;
        CODPropertyPtr shared = CODPropertyCache::GetCache()->Intern(*m_properties.GetNext(pos));
        m_properties.SetAt(here, shared);
    }
    for (int i = 0; i < m_children.GetSize(); ++i)
        m_children[i]->ShareProperties();
}

BOOL CODComponent::CanEditAnyProperties(CODComponentSet* set)
{
    if (set == NULL)
        return FALSE;
    for (int i = 0; i < set->GetSize(); ++i) {
        CODComponent* c = (*set)[i];
        CODEditProperties edit;
        if (!c->GetProperty(40, edit) || edit.CanEditProperties())
            return TRUE;
        if (CanEditAnyProperties(&c->m_children))
            return TRUE;
    }
    return FALSE;
}

void CODComponent::UpdateLogicalUnits(CDC* dc)
{
    std::vector<CODPropertyPtr> own;
    for (POSITION pos = m_properties.GetHeadPosition(); pos != NULL;)
        own.push_back(m_properties.GetNext(pos));
    for (CODProperty* p : own) {
        if (CODFontProperties* font = DYNAMIC_DOWNCAST(CODFontProperties, p)) {
            if (font->GetPointSize() > 0) {
                CODFontProperties copy(*font);
                copy.SetPointSize(font->GetPointSize(), dc);
                SetOrAddProperty(copy);
            }
        } else if (CODLineProperties* line = DYNAMIC_DOWNCAST(CODLineProperties, p)) {
            if (line->GetWidth() > 0) {
                CODLineProperties copy(*line);
                copy.SetWidth(line->GetWidth(), dc);
                SetOrAddProperty(copy);
            }
        }
    }
    for (int i = 0; i < m_children.GetSize(); ++i)
        m_children[i]->UpdateLogicalUnits(dc);
}

// Typed access: a group receives member ids relative to its own id.
#define OD_TYPED_GET(Type)                                                 \
    BOOL CODComponent::GetValue(int id, Type& value)                      \
    {                                                                      \
        CODProperty* p = FindProperty(id, FALSE);                          \
        if (p == NULL)                                                     \
            return FALSE;                                                  \
        if (IODPropertyContainer* group = p->GetContainer())              \
            return group->GetValue(id - p->GetId(), value);                \
        p->GetValue(value);                                                \
        return TRUE;                                                       \
    }
#define OD_TYPED_SET(Type)                                                 \
    BOOL CODComponent::SetValue(int id, Type value)                       \
    {                                                                      \
        CODProperty* p = FindProperty(id, FALSE);                          \
        if (p == NULL)                                                     \
            return FALSE;                                                  \
        CODProperty* clone = p->Clone();                                   \
        BOOL result = FALSE;                                               \
        try {                                                              \
            if (IODPropertyContainer* group = clone->GetContainer()) {    \
                if (group->SetValue(id - clone->GetId(), value))           \
                    result = SetProperty(*clone, 0xffff);                  \
            } else {                                                       \
                clone->SetValue(value);                                    \
                result = SetProperty(*clone, 0xffff);                      \
            }                                                              \
        } catch (...) {                                                    \
            delete clone;                                                  \
            throw;                                                         \
        }                                                                  \
        delete clone;                                                      \
        return result;                                                     \
    }

OD_TYPED_GET(float)
OD_TYPED_GET(DWORD)
OD_TYPED_GET(ODValue32)
OD_TYPED_GET(int)
OD_TYPED_GET(CString)
OD_TYPED_SET(float)
OD_TYPED_SET(DWORD)
OD_TYPED_SET(ODValue32)
OD_TYPED_SET(int)
OD_TYPED_SET(LPCTSTR)

HRESULT CODComponent::QueryInterface(REFIID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_IODPropertyContainer)) {
        AddRef();
        *out = static_cast<IODPropertyContainer*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG CODComponent::AddRef()
{
    return (ULONG)++m_nRefs;
}

ULONG CODComponent::Release()
{
    LONG refs = --m_nRefs;
    if (refs == 0)
        delete this;
    return (ULONG)refs;
}

// ---------------------------------------------------------------------------------------------
// Geometry

void CODComponent::SetTransform(CODTransform* transform)
{
    if (transform == m_pTransform)
        return;
    if (m_pTransform) {
        g_owned.erase(m_pTransform);
        delete m_pTransform;
    }
    m_pTransform = transform;
    if (m_pTransform)
        g_owned.insert(m_pTransform);
}

void CODComponent::GetAncestorTransform(CODTransform& t)
{
    t.SetIdentity();
    std::vector<CODComponent*> chain;
    for (CODComponent* p = m_pParent; p != NULL; p = p->m_pParent)
        chain.push_back(p);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        if ((*it)->m_pTransform)
            t = t * *(*it)->m_pTransform;
}

void CODComponent::GetFullTransform(CODTransform& t)
{
    GetAncestorTransform(t);
    if (m_pTransform)
        t = t * *m_pTransform;
}

void CODComponent::PushAncestorTransforms()
{
    std::vector<CODComponent*> chain;
    for (CODComponent* p = m_pParent; p != NULL; p = p->m_pParent)
        chain.push_back(p);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        (*it)->PushTransform();
}

void CODComponent::PopAncestorTransforms()
{
    for (CODComponent* p = m_pParent; p != NULL; p = p->m_pParent)
        p->PopTransform();
}

void CODComponent::PushTransform()
{
    GetTransformStack()->Push(m_pTransform);
}

void CODComponent::PopTransform()
{
    GetTransformStack()->Pop();
}

void CODComponent::OnTransformChanged()
{
    UpdateRegion(TRUE);
}

void CODComponent::Translate(int dx, int dy)
{
    CODTransform a;
    GetAncestorTransform(a);
    CPoint p0 = a.InverseTransform(0, 0), p1 = a.InverseTransform(dx, dy);
    CODTransform* t = m_pTransform ? m_pTransform : new CODTransform;
    t->Translate(p1.x - p0.x, p1.y - p0.y);
    SetTransform(t);
    OnTransformChanged();
}

void CODComponent::Rotate(int angle, float cx, float cy, int aspectX, int aspectY)
{
    CODTransform* t = m_pTransform ? m_pTransform : new CODTransform;
    t->RotateAbout(angle, cx, cy, aspectX, aspectY);
    SetTransform(t);
    OnTransformChanged();
}

void CODComponent::Resize(const CSize& size)
{
    if (size.cx == 0 || size.cy == 0)
        return;
    CRect r = GetHitRegion()->GetBounds();
    float cx, cy;
    GetHandlePointF(r, 8, &cx, &cy);
    // A zero-sized axis cannot be scaled to a size: it stays as it is.
    float sx = r.Width() != 0 ? (float)size.cx / (float)r.Width() : 1.0f;
    float sy = r.Height() != 0 ? (float)size.cy / (float)r.Height() : 1.0f;
    CODTransform* t = m_pTransform ? m_pTransform : new CODTransform;
    t->ScaleAbout(sx, sy, cx, cy);
    SetTransform(t);
    OnTransformChanged();
}

void CODComponent::Scale(float sx, float sy, float x, float y)
{
    CODTransform* t = m_pTransform ? m_pTransform : new CODTransform;
    t->ScaleAbout(sx, sy, x, y);
    SetTransform(t);
    OnTransformChanged();
}

void CODComponent::SizeToRect(const CRect& rect)
{
    if (rect.IsRectEmpty())
        return;
    CRect r = GetHitRegion()->GetBounds();
    float sx = r.Width() != 0 ? (float)rect.Width() / (float)r.Width() : 1.0f;
    float sy = r.Height() != 0 ? (float)rect.Height() / (float)r.Height() : 1.0f;
    CODTransform* t = m_pTransform ? m_pTransform : new CODTransform;
    t->ScaleAbout(sx, sy, (float)r.left, (float)r.top);
    t->Translate(rect.left - r.left, rect.top - r.top);
    SetTransform(t);
    OnTransformChanged();
}

void CODComponent::MoveTo(CPoint p)
{
    Translate(p.x - m_rcBounds.left, p.y - m_rcBounds.top);
}

void CODComponent::CenterOn(int x, int y)
{
    CPoint c = m_rcBounds.CenterPoint();
    Translate(x - c.x, y - c.y);
}

int CODComponent::CollectMoveDependents(CODComponentSet* set)
{
    return GetContainedComponents(set);
}

void CODComponent::GetRegionHandleF(int handle, float* x, float* y)
{
    GetHandlePointF(GetHitRegion()->GetBounds(), handle, x, y);
}

CPoint CODComponent::GetRegionHandle(int handle)
{
    return GetHandlePoint(GetHitRegion()->GetBounds(), handle);
}

void CODComponent::GetExtentHandleF(int handle, float* x, float* y)
{
    GetHandlePointF(GetExtent(), handle, x, y);
}

CPoint CODComponent::GetExtentHandle(int handle)
{
    return GetHandlePoint(GetExtent(), handle);
}

void CODComponent::GetHandles(CArray<CPoint, CPoint>& handles, BOOL)
{
    handles.RemoveAll();
    for (int i = 0; i < 8; ++i)
        handles.Add(GetHandlePoint(m_rcBounds, i));
}

CPoint CODComponent::GetHandle(int index, BOOL vertices)
{
    CArray<CPoint, CPoint> handles;
    GetHandles(handles, vertices);
    return index >= 0 && index < handles.GetSize() ? handles[index] : CPoint(0, 0);
}

void CODComponent::GetVertices(CArray<CPoint, CPoint>& points, int flag)
{
    for (int i = 0; i < m_children.GetSize(); ++i) {
        CArray<CPoint, CPoint> child;
        m_children[i]->GetVertices(child, flag);
        for (INT_PTR j = 0; j < child.GetSize(); ++j)
            points.Add(m_pTransform ? m_pTransform->Transform(child[j].x, child[j].y) : child[j]);
    }
}

// ---------------------------------------------------------------------------------------------
// Regions

CODRgn* CODComponent::RecalcRegion()
{
    m_rcPrevious = m_rcBounds;
    PushTransform();
    BuildRegion(&m_region);
    m_rcExtent = GetOwnExtent();
    for (int i = 0; i < m_children.GetSize(); ++i) {
        CODComponent* child = m_children[i];
        m_region.Append(*child->RecalcRegion());
        m_rcExtent = ODUnionRect(m_rcExtent, child->GetExtent());
    }
    PopTransform();
    m_rcBounds = m_region.GetBounds();
    return &m_region;
}

CODRgn CODComponent::UpdateRegion(BOOL notifyParent)
{
    CODSpatialIndex* index = GetParentSpatialIndex();
    if (index)
        index->Remove(this);
    PushAncestorTransforms();
    RecalcRegion();
    PopAncestorTransforms();
    if (notifyParent && m_pParent)
        m_pParent->OnChildChanged(this);
    if (index)
        index->Insert(this);
    return m_region;
}

void CODComponent::OnChildChanged(CODComponent*)
{
    m_rcPrevious = m_rcBounds;
    m_region.Empty();
    m_rcExtent = GetOwnExtent();
    for (int i = 0; i < m_children.GetSize(); ++i) {
        m_region.Append(*m_children[i]->GetRegion());
        m_rcExtent = ODUnionRect(m_rcExtent, m_children[i]->GetExtent());
    }
    CRect r = m_region.GetBounds();
    SetOrigin(r.left, r.top);
    SetSize(r.Width(), r.Height());
    if (m_pParent)
        m_pParent->OnChildChanged(this);
}

// ---------------------------------------------------------------------------------------------
// Hit testing and queries

int CODComponent::HitTest(const CPoint* p, CODComponentSet* hits, int tolerance)
{
    int count = 0;
    if (m_region.HitTest(p->x, p->y, tolerance)) {
        if (hits)
            hits->Add(this);
        count = 1;
    }
    for (int i = 0; i < m_children.GetSize(); ++i)
        count += m_children[i]->HitTest(p, hits, 0);
    return count;
}

int CODComponent::GetContainedComponents(CODComponentSet* set)
{
    CODEditProperties edit;
    if (set == NULL || m_pParent == NULL || !GetProperty(40, edit) || !edit.GetCanContain())
        return 0;
    int added = 0;
    CODComponentSet* siblings = m_pParent->GetChildren();
    for (int i = 0; i < siblings->GetSize(); ++i) {
        CODComponent* c = (*siblings)[i];
        CRect b = c->GetBounds();
        if (::PtInRect(&m_rcBounds, b.TopLeft()) && ::PtInRect(&m_rcBounds, b.BottomRight()) &&
            set->IndexOf(c) < 0) {
            set->Add(c);
            ++added;
        }
    }
    return added;
}

BOOL CODComponent::PointInBounds(const POINT* pt) const
{
    return PointInRect(*pt, m_rcBounds);
}

BOOL CODComponent::RectTouchesBounds(const RECT* rect) const
{
    CRect r(*rect), b(m_rcBounds);
    r.NormalizeRect();
    b.NormalizeRect();
    return r.left <= b.right && b.left <= r.right && r.top <= b.bottom && b.top <= r.bottom;
}

int CODComponent::GetChildrenAtPoint(const POINT* pt, CODComponentSet* set)
{
    int added = 0;
    for (int i = 0; i < m_children.GetSize(); ++i)
        if (m_children[i]->PointInBounds(pt) && set->IndexOf(m_children[i]) < 0) {
            set->Add(m_children[i]);
            ++added;
        }
    return added;
}

int CODComponent::GetChildrenInRect(CRect rect, CODComponentSet* set)
{
    rect.NormalizeRect();
    int added = 0;
    for (int i = 0; i < m_children.GetSize(); ++i) {
        CRect b = m_children[i]->GetBounds();
        if (::PtInRect(&rect, b.TopLeft()) && ::PtInRect(&rect, b.BottomRight()) &&
            set->IndexOf(m_children[i]) < 0) {
            set->Add(m_children[i]);
            ++added;
        }
    }
    return added;
}

int CODComponent::GetChildrenTouchingRect(CRect rect, CODComponentSet* set)
{
    rect.NormalizeRect();
    int added = 0;
    for (int i = 0; i < m_children.GetSize(); ++i)
        if (m_children[i]->IntersectsRect(&rect) && set->IndexOf(m_children[i]) < 0) {
            set->Add(m_children[i]);
            ++added;
        }
    return added;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void CODComponent::Draw(CDC* dc)
{
    if (!m_bVisible)
        return;
    PushTransform();
    PrepareDC(dc);
    OnDraw(dc);
    RestoreDC(dc);
    PopTransform();
}

void CODComponent::PrepareDC(CDC* dc)
{
    dc->SaveDC();
    if (m_bFeedback) {
        m_pPen = new CPen;
        m_pPen->CreatePen(PS_DOT, 0, RGB(0, 0, 0));
        dc->SelectObject(m_pPen);
        dc->SelectStockObject(NULL_BRUSH);
        dc->SetROP2(R2_NOTXORPEN);
        dc->SetBkMode(TRANSPARENT);
        return;
    }
    for (POSITION pos = m_properties.GetHeadPosition(); pos != NULL;) {
        CODProperty* p = m_properties.GetNext(pos);
        if (p->GetId() == 10 && m_pPen == NULL) {
            if (CODLineProperties* line = DYNAMIC_DOWNCAST(CODLineProperties, p)) {
                m_pPen = line->CreatePen(NULL);
                dc->SelectObject(m_pPen);
                dc->SetBkMode(TRANSPARENT);
            }
        } else if (p->GetId() == 20 && m_pBrush == NULL) {
            if (CODFillProperties* fill = DYNAMIC_DOWNCAST(CODFillProperties, p)) {
                m_pBrush = fill->CreateBrush(dc);
                dc->SelectObject(m_pBrush);
                dc->SetBkMode(fill->GetBkMode());
                dc->SetBkColor(fill->GetBkColor());
            }
        } else if (p->GetId() == 30 && m_pFont == NULL) {
            if (CODFontProperties* font = DYNAMIC_DOWNCAST(CODFontProperties, p)) {
                m_pFont = font->CreateFont(NULL);
                dc->SelectObject(m_pFont);
                dc->SetTextColor(font->GetColor());
            }
        }
    }
}

void CODComponent::RestoreDC(CDC* dc)
{
    dc->RestoreDC(-1);
    delete m_pPen;
    delete m_pBrush;
    delete m_pFont;
    m_pPen = NULL;
    m_pBrush = NULL;
    m_pFont = NULL;
}

void CODComponent::OnDraw(CDC* dc)
{
    for (int i = 0; i < m_children.GetSize(); ++i)
        m_children[i]->Draw(dc);
}

void CODComponent::SetFeedbackFlag(BOOL feedback)
{
    m_bFeedback = feedback;
    for (int i = 0; i < m_children.GetSize(); ++i)
        m_children[i]->SetFeedbackFlag(feedback);
}

void CODComponent::DrawFeedback(CDC* dc)
{
    SetFeedbackFlag(TRUE);
    Draw(dc);
    SetFeedbackFlag(FALSE);
}

// ---------------------------------------------------------------------------------------------
// Creation

BOOL CODComponent::LoadType(UINT id)
{
    CString type;
    if (!type.LoadString(id))
        return FALSE;
    m_strType = type;
    m_strName = type;
    return TRUE;
}

BOOL CODComponent::Create(UINT typeId)
{
    UpdateRegion(FALSE);
    return LoadType(typeId);
}

BOOL CODComponent::Create(CODComponentSet* children)
{
    if (children) {
        RemoveAllChildren();
        AppendChildren(children);
    }
    UpdateRegion(FALSE);
    return LoadType(IDS_OD_COMPONENT);
}
