// The command classes one by one: exact descriptions, and for every class with a copy, the
// copy executed and undone leaves the drawing exactly as the original's execution and undo
// do (geometry, order, children, names, texts and properties).
#include "od_edit_fixture.h"
#include <functional>
#include <memory>
#include "ODCommands.h"
#include "ODFontProperties.h"
#include "ODImageComponent.h"
#include "ODLineProperties.h"
#include "ODTextComponent.h"

namespace {

// Everything a command may change, as text.
CString Describe(CODComponent* c)
{
    CString out;
    const CRect b = c->GetBounds();
    out.Format("%s '%s' [%d %d %d %d]", (LPCTSTR)c->GetType(), (LPCTSTR)c->GetName(), b.left,
               b.top, b.right, b.bottom);
    if (CODPointComponent* p = DYNAMIC_DOWNCAST(CODPointComponent, c))
        for (int i = 0; i < p->GetVertexCount(); ++i) {
            CString v;
            v.Format(" (%d,%d)", p->GetVertex(i).x, p->GetVertex(i).y);
            out += v;
        }
    if (CODTextComponent* t = DYNAMIC_DOWNCAST(CODTextComponent, c))
        out += " text '" + t->GetText() + "'";
    CODLineProperties line;
    if (c->FindProperty(10) && c->GetProperty(10, line)) {
        CString l;
        l.Format(" line %06lX", (unsigned long)line.GetColor());
        out += l;
    }
    CODFontProperties font;
    if (c->FindProperty(30) && c->GetProperty(30, font)) {
        CString f;
        f.Format(" font %d", font.GetPointSize());
        out += f;
    }
    if (c->GetChildCount()) {
        out += " {";
        for (int i = 0; i < c->GetChildCount(); ++i)
            out += Describe(c->GetChild(i)) + ";";
        out += "}";
    }
    return out;
}

CString Snapshot(EditFixture& f)
{
    CString out;
    for (int i = 0; i < f.model.GetChildCount(); ++i)
        out += Describe(f.model.GetChild(i)) + "\n";
    return out;
}

// A drawing of two rectangles, a three-point line and a text.
struct Drawing {
    EditFixture f;
    CODRectComponent* a;
    CODRectComponent* b;
    CODLineComponent* line;
    CODTextComponent* text;
    Drawing()
    {
        a = f.AddRect(10, 10, 60, 40);
        b = f.AddRect(100, 20, 150, 90);
        a->SetName("a");
        b->SetName("b");
        CPoint points[3] = {CPoint(20, 200), CPoint(80, 150), CPoint(140, 200)};
        line = new CODLineComponent;
        line->Create(points, 3);
        f.controller->InsertComponent(line);
        MvcClientDC dc(&f.view, 1);
        text = new CODTextComponent;
        f.view.ApplyDefaultProperties(text);
        text->Create(200, 100, &dc);
        text->SetText("Address");
        f.controller->InsertComponent(text);
    }
    CODComponentSet Set(std::initializer_list<CODComponent*> items)
    {
        CODComponentSet set;
        for (CODComponent* c : items)
            set.Add(c);
        return set;
    }
};

struct Case {
    const char* description;
    std::function<CODCommand*(Drawing&)> make;
};

const Case kCases[] = {
    {"Move Command: x = 5  y = -3",
     [](Drawing& d) {
         CODMoveCommand* c = new CODMoveCommand(&d.f.model, 5, -3);
         c->AddComponent(d.b);
         c->AddComponent(d.a);
         return c;
     }},
    {"Rotate Command: angle = 45.0  aspect ratio = 2:1",
     [](Drawing& d) {
         CODRotateCommand* c = new CODRotateCommand(&d.f.model, 450);
         c->SetAspectRatio(2, 1);
         c->AddComponent(d.a);
         return c;
     }},
    {"Scale Command: x = 150.0%  y = 25.0%  ref point = 0",
     [](Drawing& d) {
         CODScaleCommand* c = new CODScaleCommand(&d.f.model, 1.5f, 0.25f, 0);
         c->AddComponent(d.b);
         return c;
     }},
    {"Delete Vertex Command: index = 1",
     [](Drawing& d) { return new CODDeleteVertexCommand(&d.f.model, d.line, 1); }},
    {"Move Vertex Command: index = 2  x = 4  y = -6",
     [](Drawing& d) { return new CODMoveVertexCommand(&d.f.model, d.line, 2, 4, -6); }},
    {"Delete Command: 2 components",
     [](Drawing& d) {
         CODDeleteCommand* c = new CODDeleteCommand(&d.f.model);
         CODComponentSet set = d.Set({d.line, d.a});
         c->RecordIndexes(&set);
         c->AddComponents(&set);
         return c;
     }},
    {"Order Command: Front",
     [](Drawing& d) {
         CODOrderCommand* c = new CODOrderCommand(&d.f.model, 0);
         c->AddComponent(d.a);
         return c;
     }},
    {"Property command -> property type = 10",
     [](Drawing& d) {
         CODLineProperties* red = new CODLineProperties(10);
         red->SetColor(RGB(255, 0, 0));
         CODPropertyCommand* c = new CODPropertyCommand(&d.f.model, red);
         c->SetMask(0x01);
         c->AddComponent(d.a);
         c->AddComponent(d.line);
         return c;
     }},
    {"Font command -> property type = 30",
     [](Drawing& d) {
         CODFontProperties* font = new CODFontProperties(30);
         d.text->GetProperty(30, *font);
         font->SetPointSize(24);
         CODFontCommand* c = new CODFontCommand(&d.f.model, font);
         c->AddComponent(d.text);
         return c;
     }},
    {"Text Command: text = Impact",
     [](Drawing& d) {
         CODTextCommand* c = new CODTextCommand(&d.f.model);
         c->SetText("Impact");
         c->AddComponent(d.text);
         return c;
     }},
    {"Name Command: name = club",
     [](Drawing& d) {
         CODNameCommand* c = new CODNameCommand(&d.f.model);
         c->SetName("club");
         c->AddComponent(d.a);
         c->AddComponent(d.b);
         return c;
     }},
};

// The class's copy through its own Clone.
CODCommand* CloneOf(CODCommand* c)
{
    if (auto* x = dynamic_cast<CODMoveCommand*>(c)) return x->Clone();
    if (auto* x = dynamic_cast<CODRotateCommand*>(c)) return x->Clone();
    if (auto* x = dynamic_cast<CODScaleCommand*>(c)) return x->Clone();
    if (auto* x = dynamic_cast<CODDeleteVertexCommand*>(c)) return x->Clone();
    if (auto* x = dynamic_cast<CODMoveVertexCommand*>(c)) return x->Clone();
    if (auto* x = dynamic_cast<CODDeleteCommand*>(c)) return x->Clone();
    if (auto* x = dynamic_cast<CODOrderCommand*>(c)) return x->Clone();
    if (auto* x = dynamic_cast<CODPropertyCommand*>(c)) return x->Clone();  // font too
    if (auto* x = dynamic_cast<CODTextCommand*>(c)) return x->Clone();
    if (auto* x = dynamic_cast<CODNameCommand*>(c)) return x->Clone();
    return nullptr;
}

}  // namespace

TEST(Commands, DescriptionsCopiesAndUndoRestoreExactly)
{
    for (const Case& c : kCases) {
        Drawing d;
        const CString before = Snapshot(d.f);
        CODCommand* original = c.make(d);
        CString text;
        original->GetDescription(text);
        EXPECT_STREQ(text, c.description);
        CODCommand* copy = CloneOf(original);
        ASSERT_NE(copy, nullptr) << c.description;
        EXPECT_EQ(copy->GetType(), original->GetType());
        EXPECT_EQ(copy->GetComponents()->GetSize(), original->GetComponents()->GetSize());
        for (int i = 0; i < copy->GetComponents()->GetSize(); ++i)
            EXPECT_EQ((*copy->GetComponents())[i], (*original->GetComponents())[i]);

        ASSERT_TRUE(original->Execute()) << c.description;
        const CString after = Snapshot(d.f);
        EXPECT_STRNE(after, before) << c.description;
        original->Unexecute();
        EXPECT_STREQ(Snapshot(d.f), before) << c.description;
        ASSERT_TRUE(copy->Execute()) << c.description;  // a redo from the copy
        EXPECT_STREQ(Snapshot(d.f), after) << c.description;
        copy->Unexecute();
        EXPECT_STREQ(Snapshot(d.f), before) << c.description;
        delete original;  // the copy owns its own property and old values
        original = nullptr;
        ASSERT_TRUE(copy->Execute());
        EXPECT_STREQ(Snapshot(d.f), after) << c.description;
        copy->Unexecute();
        delete copy;
    }
}

TEST(Commands, DescriptionsOfTheOtherClasses)
{
    Drawing d;
    CODInsertVertexCommand insertVertex(&d.f.model, d.line, 2, 10, 20);
    CODGroupCommand group(&d.f.model);
    group.AddComponent(d.a);
    group.AddComponent(d.b);
    CODUngroupCommand ungroup(&d.f.model);
    ungroup.AddComponent(d.a);
    CODOrderCommand order(&d.f.model, 7);
    CODMacroCommand macro(&d.f.model);
    macro.AddCommand(new CODMoveCommand(&d.f.model, 1, 0));
    macro.AddCommand(new CODMoveCommand(&d.f.model, 0, 2));
    struct {
        MvcCommandBase* command;
        const char* text;
    } cases[] = {
        {&insertVertex, "Insert Vertex Command: index = 2 point = (10,20)"},
        {&group, "Group Command: 2 components"},
        {&ungroup, "Ungroup Command: 1 groups"},
        {&order, "Order Command: Undefined"},
        {&macro, "Macro Command: 2 commands on 0 components\n  Move Command: x = 1  y = 0\n"
                 "  Move Command: x = 0  y = 2\n"},
    };
    for (const auto& c : cases) {
        CString text;
        c.command->GetDescription(text);
        EXPECT_STREQ(text, c.text);
    }
    // The copy of an insert-vertex command names no component: executing it changes nothing.
    std::unique_ptr<CODInsertVertexCommand> copy(insertVertex.Clone());
    EXPECT_EQ(copy->GetComponents()->GetSize(), 0);
    const CString before = Snapshot(d.f);
    copy->Execute();
    EXPECT_STREQ(Snapshot(d.f), before);
    // The group's copy has the members but not the group.
    std::unique_ptr<CODGroupCommand> groupCopy(group.Clone());
    EXPECT_EQ(groupCopy->GetComponents()->GetSize(), 2);
    EXPECT_EQ(groupCopy->GetGroup(), nullptr);
}

// A rotation undone after a component was moved by another command still turns it about the
// centre it was turned about: the move stays.
// A macro owns its sub-commands and gathers their components, each once.
TEST(Commands, MacroGathersItsCommandsComponents)
{
    Drawing d;
    CODMacroCommand macro(&d.f.model);
    CODMoveCommand* first = new CODMoveCommand(&d.f.model, 1, 0);
    first->AddComponent(d.a);
    CODMoveCommand* second = new CODMoveCommand(&d.f.model, 0, 2);
    second->AddComponent(d.a);
    second->AddComponent(d.b);
    CODMacroCommand::CommandList more;
    more.Add(second);
    macro.AddCommand(first);
    macro.AddCommands(&more);
    ASSERT_EQ(macro.GetCommands()->GetSize(), 2);
    EXPECT_EQ(macro.GetCommandAt(0), first);
    EXPECT_EQ(macro.GetCommandAt(1), second);
    ASSERT_EQ(macro.GetComponents()->GetSize(), 2);
    EXPECT_EQ((*macro.GetComponents())[0], d.a);
    EXPECT_EQ((*macro.GetComponents())[1], d.b);
    macro.RemoveAllCommands();
    EXPECT_EQ(macro.GetCommandCount(), 0);
}

TEST(Commands, RotationUndoneAboutTheRecordedCentres)
{
    Drawing d;
    const CRect before = d.a->GetBounds();
    CODRotateCommand rotate(&d.f.model, 900);
    rotate.AddComponent(d.a);
    ASSERT_TRUE(rotate.Execute());
    CODMoveCommand move(&d.f.model, 40, 30);
    move.AddComponent(d.a);
    ASSERT_TRUE(move.Execute());
    rotate.Unexecute();
    CRect moved = before;
    moved.OffsetRect(move.GetDx(), move.GetDy());
    EXPECT_EQ(d.a->GetBounds().Size(), before.Size());
    // Turned back about the old centre, the moved box swings round it: its centre is the
    // old centre plus the move turned by -90 degrees.
    const CPoint c = before.CenterPoint();
    const CPoint expected(c.x + move.GetDy(), c.y - move.GetDx());
    EXPECT_NEAR(d.a->GetBounds().CenterPoint().x, expected.x, 1);
    EXPECT_NEAR(d.a->GetBounds().CenterPoint().y, expected.y, 1);
    EXPECT_NE(d.a->GetBounds(), moved);  // not about its centre now
}

// A macro undoes its commands last first: two colours given one after the other come back to
// the first colour only in that order.
TEST(Commands, MacroUndoesLastFirst)
{
    Drawing d;
    const CString before = Snapshot(d.f);
    CODMacroCommand macro(&d.f.model);
    for (COLORREF colour : {RGB(255, 0, 0), RGB(0, 0, 255)}) {
        CODLineProperties* line = new CODLineProperties(10);
        line->SetColor(colour);
        CODPropertyCommand* command = new CODPropertyCommand(&d.f.model, line);
        command->SetMask(0x01);
        command->AddComponent(d.a);
        macro.AddCommand(command);
    }
    ASSERT_TRUE(macro.Execute());
    const CString after = Snapshot(d.f);
    EXPECT_NE(after.Find("line FF0000"), -1) << (LPCTSTR)after;  // blue (0xFF0000), the last
    macro.Unexecute();
    EXPECT_STREQ(Snapshot(d.f), before);
    macro.Execute();
    EXPECT_STREQ(Snapshot(d.f), after);
}

// Only what the command sets is applied and given back; other components are left alone; the
// copy applies the same.
TEST(Commands, TransparencyAppliesAndRestoresOnlyWhatItSets)
{
    Drawing d;
    CBitmap bitmap;
    bitmap.CreateBitmap(4, 4, 1, 32, NULL);
    CODImageComponent* image = new CODImageComponent;
    ASSERT_TRUE(image->CreateFromBitmap(&bitmap, FALSE, RGB(255, 0, 255)));
    d.f.controller->InsertComponent(image);

    CODTransparencyCommand colourOnly(&d.f.model);
    colourOnly.AddComponent(image);
    colourOnly.AddComponent(d.a);
    colourOnly.SetTransparentColor(RGB(0x12, 0x34, 0x56));
    CString text;
    colourOnly.GetDescription(text);
    EXPECT_STREQ(text, "Transparency Command: transparent value = FALSE transparent color = 0x563412");
    const CString before = Snapshot(d.f);
    ASSERT_TRUE(colourOnly.Execute());
    EXPECT_EQ(image->GetTransparentColor(), RGB(0x12, 0x34, 0x56));
    EXPECT_FALSE(image->GetTransparent());
    image->SetTransparent(TRUE);  // changed by someone else: undo of the colour leaves it
    ASSERT_TRUE(colourOnly.Unexecute());
    EXPECT_EQ(image->GetTransparentColor(), RGB(255, 0, 255));
    EXPECT_TRUE(image->GetTransparent());
    image->SetTransparent(FALSE);
    EXPECT_STREQ(Snapshot(d.f), before);

    CODTransparencyCommand both(&d.f.model);
    both.AddComponent(image);
    both.SetTransparent(TRUE);
    both.SetTransparentColor(RGB(0, 0, 255));
    both.GetDescription(text);
    EXPECT_STREQ(text, "Transparency Command: transparent value = TRUE transparent color = 0xFF0000");
    std::unique_ptr<CODTransparencyCommand> copy(both.Clone());
    ASSERT_TRUE(copy->Execute());
    EXPECT_TRUE(image->GetTransparent());
    EXPECT_EQ(image->GetTransparentColor(), RGB(0, 0, 255));
    ASSERT_TRUE(copy->Unexecute());
    EXPECT_FALSE(image->GetTransparent());
    EXPECT_EQ(image->GetTransparentColor(), RGB(255, 0, 255));
}
