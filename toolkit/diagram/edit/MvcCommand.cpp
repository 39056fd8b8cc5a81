#include "MvcCommand.h"

void MvcCommandBase::GetDescription(char* buffer, int size)
{
    if (buffer == NULL || size <= 0)
        return;
    CString text;
    GetDescription(text);
    lstrcpynA(buffer, text, size);
}

MvcCommandBase* MvcCommandStack::Push(MvcCommandBase* command)
{
    if (m_nCapacity <= 0)
        SetCapacity(1);
    m_nTop = (m_nTop + 1) % m_nCapacity;
    MvcCommandBase* old = m_slots[m_nTop];
    m_slots[m_nTop] = command;
    m_nCount = m_nCount + 1 < m_nCapacity ? m_nCount + 1 : m_nCapacity;
    return old;
}

MvcCommandBase* MvcCommandStack::Pop()
{
    if (m_nCount <= 0 || m_nTop < 0 || m_nTop >= m_nCapacity)
        return NULL;
    MvcCommandBase* command = m_slots[m_nTop];
    m_slots[m_nTop] = NULL;
    m_nTop = (m_nTop - 1) % m_nCapacity;
    if (m_nTop < 0)
        m_nTop = m_nCapacity - 1;
    m_nCount = m_nCount - 1 > 0 ? m_nCount - 1 : 0;
    return command;
}

MvcCommandBase* MvcCommandStack::Peek() const
{
    return m_nTop >= 0 && m_nTop < m_nCapacity ? m_slots[m_nTop] : NULL;
}

// A capacity below 1 would make every push divide by zero: the ring keeps at least one slot.
void MvcCommandStack::SetCapacity(int n)
{
    if (n < 1)
        n = 1;
    m_nCapacity = n;
    m_slots.resize((size_t)n, NULL);
    if (m_nTop >= n)
        m_nTop = n - 1;
    if (m_nCount > n)
        m_nCount = n;
}

MvcCommandHistory::MvcCommandHistory()
{
    SetCapacity(256);
}

MvcCommandHistory::~MvcCommandHistory()
{
    Clear();
}

void MvcCommandHistory::SetCapacity(int n)
{
    m_undo.SetCapacity(n);
    m_redo.SetCapacity(n);
}

BOOL MvcCommandHistory::Log(MvcCommandBase* command)
{
    delete m_undo.Push(command);
    while (MvcCommandBase* undone = m_redo.Pop())
        delete undone;
    return TRUE;
}

BOOL MvcCommandHistory::Do(MvcCommandBase* command)
{
    command->Execute();
    return Log(command);
}

MvcCommandBase* MvcCommandHistory::Undo()
{
    for (;;) {
        MvcCommandBase* command = m_undo.Pop();
        if (command == NULL)
            return NULL;
        BOOL canUndo = command->CanUndo();
        if (canUndo)
            command->Unexecute();
        m_redo.Push(command);
        if (canUndo)
            return command;
    }
}

MvcCommandBase* MvcCommandHistory::Redo()
{
    for (;;) {
        MvcCommandBase* command = m_redo.Pop();
        if (command == NULL)
            return NULL;
        BOOL canUndo = command->CanUndo();
        if (canUndo)
            command->Execute();
        m_undo.Push(command);
        if (canUndo)
            return command;
    }
}

void MvcCommandHistory::Clear()
{
    while (MvcCommandBase* command = m_undo.Pop())
        delete command;
    while (MvcCommandBase* command = m_redo.Pop())
        delete command;
}
