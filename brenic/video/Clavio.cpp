#include "Clavio.h"

CClavio::CClavio()
{
}

CClavio::~CClavio()
{
}

void CClavio::Stop()
{
    // Nothing plays before the video channels exist.
}
