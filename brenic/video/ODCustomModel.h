// The drawing of one clip (or of the live picture): a diagram model that tells its clip of
// every change made through its undo interface, undo and redo included.
#pragma once
#include "ODModel.h"

class CClip;

class CODCustomModel : public CODModel
{
    DECLARE_SERIAL(CODCustomModel)

public:
    CODCustomModel();
    virtual ~CODCustomModel();

    void SetOwnerClip(CClip* clip) { m_pOwnerClip = clip; }
    CClip* GetOwnerClip() const { return m_pOwnerClip; }

    // Executes and records the command; a change marks the owner clip's drawing.
    BOOL Do(MvcCommandBase* command) override;
    MvcCommandBase* Undo() override;
    MvcCommandBase* Redo() override;

private:
    void MarkClip();
    MvcCommandBase* Changed(MvcCommandBase* command);
    CClip* m_pOwnerClip;
};
