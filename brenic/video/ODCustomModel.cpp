#include "ODCustomModel.h"

IMPLEMENT_SERIAL(CODCustomModel, CODModel, 1)

CODCustomModel::CODCustomModel() : m_pOwnerClip(NULL)
{
}

CODCustomModel::~CODCustomModel()
{
}
