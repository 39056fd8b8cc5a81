// The drawing model of a clip or of the live picture: a diagram model that knows its clip.
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

private:
    CClip* m_pOwnerClip;
};
