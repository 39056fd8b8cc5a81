// The command history: bounded undo and redo rings, ownership of recorded commands, commands
// that cannot be undone, and the component references a command holds.
#include "gtest_wine.h"
#include "MvcCommand.h"
#include "ODCommand.h"
#include "ODModel.h"

namespace {

struct Counted : MvcCommandBase {
    static int live;
    static std::vector<int> trace;
    int n;
    BOOL undoable;
    explicit Counted(int n, BOOL undoable = TRUE) : n(n), undoable(undoable) { ++live; }
    ~Counted() override { --live; }
    int GetType() override { return 100; }
    void GetDescription(CString& d) override { d.Format("C%d", n); }
    BOOL CanUndo() override { return undoable; }
    BOOL Execute() override
    {
        trace.push_back(n);
        return FALSE;  // the history records it all the same
    }
    BOOL Unexecute() override
    {
        trace.push_back(-n);
        return TRUE;
    }
};
int Counted::live = 0;
std::vector<int> Counted::trace;

int N(MvcCommandBase* c)
{
    return c ? static_cast<Counted*>(c)->n : 0;
}

TEST(History, UndoRedoAndTheRedoRingEmptiedByANewCommand)
{
    Counted::live = 0;
    {
        MvcCommandHistory h;
        EXPECT_EQ(h.GetUndoCommand(), nullptr);
        EXPECT_EQ(h.Undo(), nullptr);
        EXPECT_EQ(h.Redo(), nullptr);
        h.Do(new Counted(1));
        h.Do(new Counted(2));
        EXPECT_EQ(N(h.Undo()), 2);
        EXPECT_EQ(N(h.GetUndoCommand()), 1);
        EXPECT_EQ(N(h.GetRedoCommand()), 2);
        EXPECT_EQ(N(h.Redo()), 2);
        EXPECT_EQ(N(h.Undo()), 2);
        h.Do(new Counted(3));  // the undone 2 is deleted
        EXPECT_EQ(Counted::live, 2);
        EXPECT_EQ(h.GetRedoCommand(), nullptr);
    }
    EXPECT_EQ(Counted::live, 0);
}

TEST(History, TheRingKeeps256)
{
    Counted::live = 0;
    MvcCommandHistory h;
    for (int i = 1; i <= 257; ++i)
        h.Log(new Counted(i));
    EXPECT_EQ(Counted::live, 256);  // the first fell out
    for (int i = 257; i >= 2; --i)
        ASSERT_EQ(N(h.Undo()), i);
    EXPECT_EQ(h.Undo(), nullptr);
    for (int i = 2; i <= 257; ++i)
        ASSERT_EQ(N(h.Redo()), i);
    EXPECT_EQ(Counted::live, 256);
    h.Undo();
    h.Undo();
    h.Clear();
    EXPECT_EQ(Counted::live, 0);
}

TEST(History, CommandsThatCannotBeUndoneAreSkipped)
{
    Counted::trace.clear();
    MvcCommandHistory h;
    h.Log(new Counted(1));
    h.Log(new Counted(2, FALSE));
    EXPECT_EQ(N(h.Undo()), 1);
    EXPECT_EQ((std::vector<int>{-1}), Counted::trace);
    EXPECT_EQ(N(h.Redo()), 1);  // 1 is on top of the redo ring, 2 under it
    EXPECT_EQ(N(h.Redo()), 0);  // 2 is carried over without running
    EXPECT_EQ((std::vector<int>{-1, 1}), Counted::trace);
}

TEST(History, ACapacityOfZeroKeepsOneSlot)
{
    Counted::live = 0;
    MvcCommandStack stack;
    stack.SetCapacity(0);
    Counted a(1), b(2);
    EXPECT_EQ(stack.Push(&a), nullptr);
    EXPECT_EQ(stack.Push(&b), &a);
    EXPECT_EQ(stack.Pop(), &b);
    EXPECT_EQ(stack.Pop(), nullptr);
    MvcCommandStack fresh;
    EXPECT_EQ(fresh.Peek(), nullptr);
    EXPECT_EQ(fresh.Pop(), nullptr);
}

TEST(Commands, ComponentReferencesAndTheUpdateCommand)
{
    CODModel model;
    CODComponent* c = new CODComponent;
    model.AppendChild(c);
    {
        CODUpdateCommand update(&model, 6);
        update.AddComponent(c);
        update.AddComponent(c);
        update.AddComponent(NULL);
        EXPECT_EQ(update.GetComponents()->GetSize(), 1);
        EXPECT_EQ(c->GetRefCount(), 2);
        update.RemoveComponent(reinterpret_cast<CODComponent*>(&model));  // not a member
        EXPECT_EQ(update.GetType(), 13);
        CString text;
        update.GetDescription(text);
        EXPECT_EQ(text, "Update Command");
        char buffer[64];
        update.GetDescription(buffer, sizeof(buffer));
        EXPECT_STREQ(buffer, "Update Command");
        CODUpdateCommand* copy = update.Clone();
        EXPECT_EQ(copy->GetHint(), 0);  // the hint is not copied
        EXPECT_EQ(c->GetRefCount(), 3);
        delete copy;
        // The command keeps a removed component alive.
        model.RemoveComponent(c);
        EXPECT_EQ(c->GetRefCount(), 1);
    }
}

}  // namespace
