// Undoable commands and the bounded history that records them.
#pragma once
#include <afx.h>
#include <vector>
#include "Mvc.h"

class MvcCommandBase
{
public:
    virtual int GetType() = 0;
    virtual void GetDescription(CString& description) = 0;
    virtual ~MvcCommandBase() {}
    virtual BOOL CanUndo() { return TRUE; }
    virtual BOOL Execute() { return TRUE; }
    virtual BOOL Unexecute() { return TRUE; }

    // The other names of the same operations.
    int GetTypeId() { return GetType(); }
    void GetDescription(char* buffer, int size = 256);
};

// A ring of command pointers; it never deletes a command.
class MvcCommandStack
{
public:
    MvcCommandStack() : m_nTop(-1), m_nCapacity(-1), m_nCount(0) {}
    // Returns the entry the push overwrote (NULL unless the ring was full).
    MvcCommandBase* Push(MvcCommandBase* command);
    MvcCommandBase* Pop();
    MvcCommandBase* Peek() const;
    void SetCapacity(int n);
    int GetCount() const { return m_nCount; }
    int GetCapacity() const { return m_nCapacity; }

private:
    std::vector<MvcCommandBase*> m_slots;
    int m_nTop;
    int m_nCapacity;
    int m_nCount;
};

class MvcCommandHistory : public MvcModel
{
public:
    MvcCommandHistory();
    virtual ~MvcCommandHistory();
    BOOL IsModified() override { return TRUE; }
    void Reset() override { Clear(); }

    virtual BOOL Log(MvcCommandBase* command);
    virtual BOOL Do(MvcCommandBase* command);
    virtual MvcCommandBase* Undo();
    virtual MvcCommandBase* Redo();

    MvcCommandBase* GetUndoCommand() const { return m_undo.Peek(); }
    MvcCommandBase* GetRedoCommand() const { return m_redo.Peek(); }
    void Clear();
    void SetCapacity(int n);
    int GetUndoCount() const { return m_undo.GetCount(); }
    int GetRedoCount() const { return m_redo.GetCount(); }

private:
    MvcCommandStack m_undo;
    MvcCommandStack m_redo;
};
