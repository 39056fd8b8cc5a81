// Components and the model: the tree, ids, shared properties and typed access, geometry edits
// with their bounds, grouping, stacking order, constraints and the update hints.
#include "gtest_wine.h"
#include <math.h>
#include "ODEditProperties.h"
#include "ODFillProperties.h"
#include "ODModel.h"
#include "od_test_shape.h"

int CTestShape::s_live = 0;

namespace {

// Collects the hints of the update commands a model broadcasts.
struct HintLog : IMvcObserver {
    std::vector<int> hints;
    std::vector<int> counts;
    void OnUpdate(IMvcSubject*, void* message) override
    {
        MvcCommandBase* command = static_cast<MvcCommandBase*>(message);
        if (command && command->GetType() == CODUpdateCommand::typeId) {
            CODUpdateCommand* update = static_cast<CODUpdateCommand*>(command);
            hints.push_back(update->GetHint());
            counts.push_back(update->GetComponents()->GetSize());
        }
    }
};

CTestShape* Shape(CODModel& model, CRect r)
{
    CTestShape* s = new CTestShape(r);
    model.AppendChild(s);
    return s;
}

TEST(Component, NewComponentAndItsChildren)
{
    CODComponent* parent = new CODComponent;
    parent->AddRef();
    EXPECT_EQ(parent->GetTransform(), nullptr);
    EXPECT_EQ(parent->GetChildCount(), 0);
    EXPECT_EQ(parent->GetProperties()->GetCount(), 1);
    EXPECT_TRUE(parent->IsVisible());
    CODProperty* edit = parent->FindProperty(45, FALSE);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetId(), 40);

    int live = CTestShape::s_live;
    CTestShape* a = new CTestShape;
    CTestShape* b = new CTestShape;
    EXPECT_TRUE(parent->AppendChild(a));
    EXPECT_TRUE(parent->InsertChild(b, 1));  // at the count: appended
    EXPECT_FALSE(parent->InsertChild(new CTestShape, 3));
    --CTestShape::s_live;  // the refused one is never deleted by the tree
    EXPECT_FALSE(parent->RemoveChildAt(-1));
    EXPECT_TRUE(parent->RemoveChildAt(2));
    EXPECT_EQ(parent->GetChildCount(), 2);

    // A member of a composite cannot be selected on its own.
    CODEditProperties childEdit;
    ASSERT_TRUE(a->GetProperty(40, childEdit));
    EXPECT_FALSE(childEdit.GetCanSelect());

    EXPECT_TRUE(parent->RemoveChildAt(0));  // nobody else holds a: it goes
    EXPECT_EQ(CTestShape::s_live, live + 1);
    parent->Release();
    EXPECT_EQ(CTestShape::s_live, live);
}

TEST(Component, PropertiesAndTypedAccess)
{
    CODModel model;
    CTestShape* s = new CTestShape(CRect(0, 0, 10, 10), TRUE);
    CTestShape* t = new CTestShape(CRect(20, 0, 30, 10), TRUE);
    model.AppendChild(s);
    model.AppendChild(t);
    // Equal line groups of two components are one shared object.
    EXPECT_EQ(s->FindProperty(10), t->FindProperty(10));

    EXPECT_FALSE(s->AddProperty(CODBoolProperty(45, TRUE)));
    EXPECT_FALSE(s->SetProperty(CODIntProperty(210, 2), 0xffff));
    EXPECT_TRUE(s->SetOrAddProperty(CODIntProperty(210, 2)));
    int align = 0;
    EXPECT_TRUE(s->GetValue(210, align));
    EXPECT_EQ(align, 2);

    DWORD color = 1;
    EXPECT_TRUE(s->GetValue(11, color));
    EXPECT_EQ(color, 0u);
    EXPECT_TRUE(s->SetValue(11, (DWORD)RGB(255, 0, 0)));
    EXPECT_TRUE(s->GetValue(11, color));
    EXPECT_EQ(color, RGB(255, 0, 0));
    EXPECT_NE(s->FindProperty(10), t->FindProperty(10));  // the other keeps its own
    EXPECT_TRUE(t->GetValue(11, color));
    EXPECT_EQ(color, 0u);

    // Reads never look at the parent; a wrong kind throws and leaves the value.
    EXPECT_FALSE(s->GetValue(21, color));
    int width = 0;
    try {
        s->SetValue(11, 5);
        ADD_FAILURE() << "no exception";
    } catch (CODPropertyConversionException* e) {
        e->Delete();
    }
    EXPECT_TRUE(s->GetValue(11, color));
    EXPECT_EQ(color, RGB(255, 0, 0));
    EXPECT_TRUE(s->GetValue(13, width));

    // A loaded property of another class under a group's id is not copied into.
    CODComponent* odd = new CODComponent;
    odd->AddRef();
    odd->RemoveProperty(40);
    odd->SetOrAddProperty(CODBoolProperty(40, TRUE));
    CODEditProperties edit;
    EXPECT_FALSE(odd->GetProperty(40, edit));
    EXPECT_FALSE(odd->SetProperty(edit, 0xffff));
    odd->Release();
}

TEST(Component, GeometryEditsKeepBoundsCurrent)
{
    CODModel model;
    CTestShape* s = Shape(model, CRect(0, 0, 10, 20));
    EXPECT_EQ(s->GetBounds(), CRect(0, 0, 10, 20));
    s->Translate(0, 0);
    ASSERT_NE(s->GetTransform(), nullptr);
    EXPECT_TRUE(s->GetTransform()->IsIdentity());

    s->Translate(5, 7);
    EXPECT_EQ(s->GetBounds(), CRect(5, 7, 15, 27));
    s->Resize(CSize(0, 50));
    EXPECT_EQ(s->GetBounds(), CRect(5, 7, 15, 27));
    s->SizeToRect(CRect(0, 0, 0, 0));
    EXPECT_EQ(s->GetBounds(), CRect(5, 7, 15, 27));
    s->Resize(CSize(20, 40));
    EXPECT_EQ(s->GetBounds(), CRect(0, -3, 20, 37));
    s->SizeToRect(CRect(100, 100, 110, 120));
    EXPECT_EQ(s->GetBounds(), CRect(100, 100, 110, 120));
    s->MoveTo(CPoint(50, 60));
    EXPECT_EQ(s->GetBounds(), CRect(50, 60, 60, 80));
    s->CenterOn(0, 0);
    EXPECT_EQ(s->GetBounds(), CRect(-5, -10, 5, 10));

    // A zero-sized axis stays as it is; the other still scales.
    CTestShape* flat = Shape(model, CRect(0, 0, 10, 0));
    flat->Resize(CSize(30, 30));
    EXPECT_EQ(flat->GetBounds(), CRect(-10, 0, 20, 0));

    // The index follows every edit; the flat one has no inside to hit.
    CODComponentSet found;
    model.GetComponentsAtPoint(&found, 0, 0, 0);
    ASSERT_EQ(found.GetSize(), 1);
    EXPECT_EQ(found[0], s);
    found.RemoveAll();
    model.GetComponentsAtPoint(&found, 55, 70, 0);
    EXPECT_EQ(found.GetSize(), 0);
}

TEST(Component, HitTestingDrawingAndContainment)
{
    CODModel model;
    CODComponent* group = new CODComponent;
    group->AppendChild(new CTestLine(CPoint(0, 0), CPoint(100, 0)));
    group->UpdateRegion(FALSE);
    model.AppendChild(group);
    CPoint close(50, 2);
    CODComponentSet hits;
    EXPECT_EQ(group->HitTest(&close, &hits, 3), 1);  // the group, not its line
    EXPECT_EQ(hits[0], group);

    CTestShape* hidden = Shape(model, CRect(200, 200, 300, 300));
    hidden->SetVisible(FALSE);
    CTestShape* inner = new CTestShape(CRect(0, 0, 5, 5));
    hidden->AppendChild(inner);
    HDC mem = ::CreateCompatibleDC(NULL);
    CDC dc;
    dc.Attach(mem);
    hidden->Draw(&dc);
    EXPECT_EQ(hidden->m_draws, 0);
    hidden->SetVisible(TRUE);
    hidden->DrawFeedback(&dc);
    EXPECT_EQ(hidden->m_draws, 1);
    EXPECT_EQ(inner->m_draws, 1);
    dc.Detach();
    ::DeleteDC(mem);
    CPoint in(250, 250);
    hits.RemoveAll();
    hidden->SetVisible(FALSE);
    EXPECT_GE(model.HitTest(&in, &hits, 0), 1);

    CTestShape* box = Shape(model, CRect(400, 400, 500, 500));
    CTestShape* small1 = Shape(model, CRect(410, 410, 420, 420));
    CODComponentSet contained;
    EXPECT_EQ(box->GetContainedComponents(&contained), 0);
    CODEditProperties edit;
    edit.SetCanContain(TRUE);
    box->SetProperty(edit, 0x80);
    EXPECT_EQ(box->GetContainedComponents(&contained), 1);
    EXPECT_EQ(contained[0], small1);
}

TEST(Model, NewModelAndIds)
{
    CODModel model;
    EXPECT_EQ(model.GetSize(), CSize(1000, 1000));
    EXPECT_EQ(model.GetOrigin(), CPoint(0, 0));
    EXPECT_EQ(model.GetBackgroundColor(), RGB(255, 255, 255));
    EXPECT_FALSE(model.IsModified());
    EXPECT_EQ(model.GetChildCount(), 0);
    EXPECT_EQ(model.PeekUndo(), nullptr);
    CODEditProperties edit;
    ASSERT_TRUE(model.GetProperty(40, edit));
    EXPECT_TRUE(edit.GetCanContain());
    ASSERT_TRUE(model.GetProperty(50, edit));
    EXPECT_TRUE(edit.GetCanSelect());

    // Appended to the model, a shape may be selected.
    CTestShape* a = Shape(model, CRect(0, 0, 10, 10));
    ASSERT_TRUE(a->GetProperty(40, edit));
    EXPECT_TRUE(edit.GetCanSelect());
    EXPECT_NE(a->GetId(), 0u);
    EXPECT_EQ(model.FindById(a->GetId()), a);

    // A component whose id is taken gets a new one; an unknown id is kept.
    CTestShape* b = new CTestShape;
    b->SetId(a->GetId());
    model.AppendChild(b);
    EXPECT_NE(b->GetId(), a->GetId());
    CTestShape* c = new CTestShape;
    c->SetId(123456);
    model.AppendChild(c);
    EXPECT_EQ(c->GetId(), 123456u);
    EXPECT_FALSE(model.RegisterId(0, c));
    EXPECT_FALSE(model.RegisterId(a->GetId(), c));
    for (int i = 0; i < 2000; ++i) {
        DWORD id = model.GenerateId();
        ASSERT_NE(id, 0u);
        ASSERT_EQ(model.FindById(id), nullptr);
    }
    EXPECT_TRUE(model.RemoveComponent(c));
    EXPECT_EQ(model.FindById(123456), nullptr);
    EXPECT_FALSE(model.RemoveComponent(c == nullptr ? a : b->GetChild(0)));
    EXPECT_FALSE(model.RemoveChildAt(99));
    EXPECT_EQ(model.GetChildCount(), 2);
}

TEST(Model, HintsOfEachOperation)
{
    CODModel model;
    HintLog log;
    model.AddObserver(&log);
    CTestShape* a = Shape(model, CRect(0, 0, 10, 10));
    model.SetSize(CSize(800, 600));
    model.SetOrigin(CPoint(10, 10));
    model.SetBackgroundColor(RGB(1, 2, 3));
    model.UpdateComponent(a, 2);
    PAGESETUPDLGA psd;
    memset(&psd, 0, sizeof(psd));
    model.GetPageSettings()->GetPageSetup(&psd);
    model.ApplyPageSetup(&psd);
    ::GlobalFree(psd.hDevNames);
    ::GlobalFree(psd.hDevMode);
    CODComponentSet set;
    set.Add(a);
    model.OrderComponents(&set, 2);  // already last: unchanged, still announced
    model.Initialize();
    std::vector<int> expected = {3, 3, 0, 2, 4, 1, 0, 5};
    EXPECT_EQ(log.hints, expected);
    EXPECT_EQ(log.counts[3], 1);
    EXPECT_EQ(log.counts[5], 1);
    EXPECT_EQ(model.GetChildCount(), 0);
    EXPECT_EQ(model.GetRegisteredCount(), 0);
    EXPECT_FALSE(model.IsModified());
    EXPECT_EQ(model.GetOrigin(), CPoint(10, 10));
    model.RemoveObserver(&log);
}

TEST(Model, MovingRotatingScaling)
{
    CODModel model;
    CTestShape* a = Shape(model, CRect(100, 100, 200, 140));
    model.SetModified(FALSE);
    CODComponentSet set;
    set.Add(a);
    model.MoveComponents(&set, 0, 0);
    model.RotateComponents(&set, 0);
    model.ScaleComponents(&set, 1.0f, 1.0f, 4);
    EXPECT_FALSE(model.IsModified());
    EXPECT_EQ(a->GetTransform(), nullptr);

    model.MoveComponents(&set, 10, -20);
    EXPECT_TRUE(model.IsModified());
    EXPECT_EQ(a->GetBounds(), CRect(110, 80, 210, 120));
    EXPECT_EQ(a->GetPreviousBounds(), CRect(100, 100, 200, 140));
    model.RotateComponents(&set, 900);
    EXPECT_EQ(a->GetBounds(), CRect(140, 50, 180, 150));

    // Without the stretch permission the scale keeps its proportions.
    struct Case {
        int handle;
        float sx, sy;
    } cases[] = {{4, 2.0f, -2.0f}, {1, 0.5f, -0.5f}, {3, 2.0f, -2.0f}};
    for (const Case& c : cases) {
        CODModel m;
        CTestShape* s = Shape(m, CRect(100, 100, 200, 200));
        CODEditProperties edit;
        edit.SetCanStretch(FALSE);
        s->SetProperty(edit, 0x20);
        CODComponentSet one;
        one.Add(s);
        m.ScaleComponents(&one, 2.0f, -0.5f, c.handle);
        float sx, sy;
        s->GetTransform()->GetScale(&sx, &sy);
        EXPECT_FLOAT_EQ(fabsf(sx), fabsf(c.sx)) << c.handle;
        EXPECT_FLOAT_EQ(fabsf(sy), fabsf(c.sy)) << c.handle;
        EXPECT_EQ(s->GetBounds().Width(), (int)(100 * fabsf(c.sx))) << c.handle;
    }
}

TEST(Model, GroupingAndUngrouping)
{
    CODModel model;
    CTestShape* a = Shape(model, CRect(10, 10, 20, 20));
    CTestShape* b = Shape(model, CRect(30, 30, 40, 40));
    CTestShape* c = Shape(model, CRect(50, 5, 60, 15));
    CTestShape* d = Shape(model, CRect(70, 70, 80, 80));
    CODComponentSet set;
    set.Add(a);
    set.Add(b);
    set.Add(c);
    CODComponent* group = new CODComponent;
    model.GroupComponents(&set, group, 0);
    EXPECT_EQ(model.GetChildCount(), 2);
    EXPECT_EQ(model.GetChild(0), group);
    EXPECT_EQ(group->GetType(), "Group");
    EXPECT_EQ(group->GetBounds(), CRect(10, 5, 60, 40));
    int x, y;
    a->GetTransform()->GetTranslation(&x, &y);
    EXPECT_EQ(CPoint(x, y), CPoint(-10, -5));
    EXPECT_EQ(a->GetBounds(), CRect(10, 10, 20, 20));  // in the drawing, where it was
    CODComponentSet hits;
    EXPECT_EQ(model.GetComponentsAtPoint(&hits, 35, 35, 0), 1);
    EXPECT_EQ(hits[0], group);

    // Moving the group moves its children's regions with it.
    CODComponentSet one;
    one.Add(group);
    model.MoveComponents(&one, 100, 0);
    EXPECT_EQ(b->GetBounds(), CRect(130, 30, 140, 40));

    CODComponent* other = new CODComponent;
    other->AddRef();
    other->SetType("Not a group");
    other->AppendChild(new CTestShape);
    model.UngroupComponents(other, NULL);
    model.UngroupComponents(d, NULL);
    EXPECT_EQ(model.GetChildCount(), 2);
    other->Release();

    model.UngroupComponents(group, NULL);
    ASSERT_EQ(model.GetChildCount(), 4);
    EXPECT_EQ(model.GetChild(0), a);
    EXPECT_EQ(model.GetChild(2), c);
    EXPECT_EQ(model.GetChild(3), d);
    EXPECT_EQ(b->GetBounds(), CRect(130, 30, 140, 40));
    EXPECT_EQ(model.FindById(b->GetId()), b);
}

TEST(Model, StackingOrder)
{
    CODModel model;
    CTestShape* s[4];
    for (int i = 0; i < 4; ++i)
        s[i] = Shape(model, CRect(i * 10, 0, i * 10 + 5, 5));
    struct Case {
        int which, how;
        int order[4];
    } cases[] = {{0, 0, {1, 2, 3, 0}}, {0, 1, {0, 1, 2, 3}}, {1, 2, {0, 2, 1, 3}},
                 {1, 3, {0, 1, 2, 3}}, {0, 3, {0, 1, 2, 3}}, {3, 2, {0, 1, 2, 3}}};
    for (const Case& c : cases) {
        CODComponentSet set;
        set.Add(s[c.which]);
        model.OrderComponents(&set, c.how);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(model.GetChild(i), s[c.order[i]]) << c.which << " " << c.how << " " << i;
    }
    CODComponentSet out;
    model.GetComponentsInRect(&out, CRect(-1, -1, 100, 100));
    ASSERT_EQ(out.GetSize(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(out[i], model.GetChild(i));  // drawing order
}

TEST(Model, ConstraintsAndAlignment)
{
    CODModel model;
    CTestShape* a = Shape(model, CRect(850, 100, 950, 200));
    CODComponentSet set;
    set.Add(a);
    int dx = 100, dy = 0;
    EXPECT_TRUE(model.ConstrainOffset(&set, &dx, &dy, NULL));
    EXPECT_EQ(dx, 50);
    int x = -30, y = 950;
    EXPECT_TRUE(model.ConstrainPosition(&set, &x, &y, NULL));
    EXPECT_EQ(CPoint(x, y), CPoint(0, 900));
    CRect wide(0, 0, 1200, 10);
    EXPECT_FALSE(model.ConstrainOffset(&set, &dx, &dy, &wide));
    EXPECT_FALSE(model.CanMoveBy(&set, 60, 0));
    EXPECT_TRUE(model.CanMoveBy(&set, 50, 0));
    POINT pts[2] = {{-5, 500}, {2000, 1001}};
    model.ClampPoints(&set, pts, 2);
    EXPECT_EQ(CPoint(pts[0]), CPoint(0, 500));
    EXPECT_EQ(CPoint(pts[1]), CPoint(1000, 1000));

    CTestShape* b = Shape(model, CRect(10, 10, 30, 50));
    set.RemoveAll();
    set.Add(b);
    set.Add(a);  // the anchor is the last
    model.AlignComponents(&set, 0);
    EXPECT_EQ(b->GetBounds(), CRect(10, 100, 30, 140));
    model.AlignComponents(&set, 5);
    EXPECT_EQ(b->GetBounds(), CRect(930, 100, 950, 140));
}

TEST(Model, SettersAndPermissions)
{
    CODModel model;
    CTestShape* a = new CTestShape(CRect(0, 0, 10, 10), TRUE);
    model.AppendChild(a);
    a->SetOrAddProperty(CODFillProperties(20));
    CODComponentSet set;
    set.Add(a);
    model.SetLineColor(&set, RGB(0, 0, 255));
    model.SetFillStyle(&set, 2);
    model.SetFillStyle(&set, 9);
    DWORD color = 0;
    int style = 0;
    EXPECT_TRUE(a->GetValue(11, color));
    EXPECT_EQ(color, RGB(0, 0, 255));
    EXPECT_TRUE(a->GetValue(23, style));
    EXPECT_EQ(style, 0);  // an out-of-range style is the group's default
    model.SetFillStyle(&set, 2);
    EXPECT_TRUE(a->GetValue(23, style));
    EXPECT_EQ(style, 2);

    EXPECT_FALSE(model.IsReadOnly());
    model.SetReadOnly(TRUE);
    EXPECT_TRUE(model.IsReadOnly());
    EXPECT_TRUE(model.CanSelect());
    model.SetCanSelect(FALSE);
    EXPECT_FALSE(model.CanSelect());
    model.SetCanEditProperties(FALSE);
    EXPECT_FALSE(model.CanEditProperties());
    model.RemoveProperty(40);
    EXPECT_TRUE(model.CanSelect());
    EXPECT_FALSE(model.IsReadOnly());

    model.AddRef();  // held by the test, as a model made with new is by its owner
    void* graph = NULL;
    ASSERT_EQ(model.QueryInterface(IID_IODGraph, &graph), S_OK);
    EXPECT_EQ(static_cast<IODGraph*>(graph)->GetNode(a->GetId()), nullptr);
    EXPECT_EQ(static_cast<IODGraph*>(graph)->GetEdge(424242), nullptr);
    static_cast<IODGraph*>(graph)->Release();
}

}  // namespace
