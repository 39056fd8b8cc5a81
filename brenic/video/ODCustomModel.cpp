#include "ODCustomModel.h"
#include "Clip.h"

IMPLEMENT_SERIAL(CODCustomModel, CODModel, 1)

CODCustomModel::CODCustomModel() : m_pOwnerClip(NULL)
{
}

CODCustomModel::~CODCustomModel()
{
}

void CODCustomModel::MarkClip()
{
    if (m_pOwnerClip && IsModified())
        m_pOwnerClip->SetDrawingModified(TRUE);
}

BOOL CODCustomModel::Do(MvcCommandBase* command)
{
    const BOOL result = CODModel::Do(command);
    MarkClip();
    return result;
}

// Undoing or redoing changes the drawing as much as doing: the clip must save it again.
MvcCommandBase* CODCustomModel::Changed(MvcCommandBase* command)
{
    if (command) {
        SetModified(TRUE);
        MarkClip();
    }
    return command;
}

MvcCommandBase* CODCustomModel::Undo()
{
    return Changed(CODModel::Undo());
}

MvcCommandBase* CODCustomModel::Redo()
{
    return Changed(CODModel::Redo());
}
