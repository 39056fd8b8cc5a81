// Object model: run-time classes, the class registry and the exception family.
#include "afxtempl.h"
#include "gtest_wine.h"

namespace {

class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
};
class CCircle : public CShape {
  DECLARE_DYNCREATE(CCircle)
 public:
  int m_nRadius = 7;
};
IMPLEMENT_DYNAMIC(CShape, CObject)
IMPLEMENT_DYNCREATE(CCircle, CShape)

void AFXAPI CollectName(const CRuntimeClass* pClass, void* pContext) {
  static_cast<CStringArray*>(pContext)->Add(pClass->m_lpszClassName);
}

TEST(RuntimeClass, KindsNamesAndCreation) {
  CCircle circle;
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CException)));
  EXPECT_STREQ("CCircle", circle.GetRuntimeClass()->m_lpszClassName);
  EXPECT_FALSE(circle.IsSerializable());

  EXPECT_EQ(RUNTIME_CLASS(CCircle), CRuntimeClass::FromName("CCircle"));
  EXPECT_EQ(nullptr, CRuntimeClass::FromName("CNoSuchClass"));
  CObject* pOb = CRuntimeClass::CreateObject("CCircle");
  ASSERT_NE(nullptr, pOb);
  EXPECT_EQ(7, DYNAMIC_DOWNCAST(CCircle, pOb)->m_nRadius);
  delete pOb;
  EXPECT_EQ(nullptr, RUNTIME_CLASS(CShape)->CreateObject());  // not dynamically creatable

  CStringArray names;
  AfxDoForAllClasses(CollectName, &names);
  int found = 0;
  for (INT_PTR i = 0; i < names.GetSize(); i++)
    if (names[i] == "CShape" || names[i] == "CCircle" || names[i] == "CObject") found++;
  EXPECT_EQ(3, found);
}

TEST(Exceptions, CatchMacrosDeleteUnlessRethrown) {
  int caught = 0;
  TRY { AfxThrowNotSupportedException(); }
  CATCH(CMemoryException, e) { (void)e; ADD_FAILURE(); }
  AND_CATCH(CException, e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CNotSupportedException)));
    caught++;
  }
  END_CATCH
  EXPECT_EQ(1, caught);

  try {
    TRY { AfxThrowUserException(); }
    CATCH_ALL(e) { THROW_LAST(); }
    END_CATCH_ALL
  } catch (CException* e) {
    // Still alive: the handler rethrew it instead of deleting it.
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CUserException)));
    e->Delete();
    caught++;
  }
  EXPECT_EQ(2, caught);

  // A handler that deletes the exception itself leaves nothing for the end of the block.
  TRY { AfxThrowResourceException(); }
  CATCH(CResourceException, e) {
    e->Delete();
    caught++;
  }
  END_CATCH
  EXPECT_EQ(3, caught);

  // The memory exception is preallocated, so Delete must leave it alone.
  for (int i = 0; i < 2; i++) {
    try {
      AfxThrowMemoryException();
    } catch (CMemoryException* e) {
      char sz[64];
      EXPECT_TRUE(e->GetErrorMessage(sz, sizeof(sz)));
      e->Delete();
    }
  }
}

}  // namespace
