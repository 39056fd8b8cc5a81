// Test helper: the DAO error number a call raises (0 when it raises none).
#pragma once

#include "gtest_wine.h"

#include <afxdao.h>

template <class F>
long DaoErrorOf(F f)
{
    try {
        f();
    } catch (CDaoException* e) {
        long code = e->m_pErrorInfo ? e->m_pErrorInfo->m_lErrorCode : -1;
        EXPECT_FALSE(e->m_pErrorInfo->m_strDescription.IsEmpty());
        e->Delete();
        return code;
    }
    return 0;
}
