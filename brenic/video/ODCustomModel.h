// The drawing of one clip (or of the live picture): a diagram model that knows its clip.
#pragma once
#include "ODModel.h"

class CClip;

class CODCustomModel : public CODModel
{
public:
    CODCustomModel() : m_pOwnerClip(NULL) {}
    virtual ~CODCustomModel() {}

    void SetOwnerClip(CClip* clip) { m_pOwnerClip = clip; }
    CClip* GetOwnerClip() const { return m_pOwnerClip; }

protected:
    CClip* m_pOwnerClip;
};
