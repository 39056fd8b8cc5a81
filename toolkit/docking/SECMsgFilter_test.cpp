// The message filter tree: offering order, handled and stop bits, disabled subtrees, lookups
// by depth, lazy creation from descriptors, never-disabled filters and deep copies.
#include "gtest_wine.h"
#include "SECMsgFilter.h"
#include <memory>

namespace {

// Counts what it is offered and answers a set value, then offers the message on.
class CCountingFilter : public SECMsgFilter {
  DECLARE_DYNCREATE(CCountingFilter)

 public:
  explicit CCountingFilter(CWnd* pFrame = NULL, int nID = -1) : SECMsgFilter(pFrame, nID) {}
  CCountingFilter(const CCountingFilter& src) : SECMsgFilter(src), m_dwAnswer(src.m_dwAnswer) {}
  SECMsgFilter* Clone() const override { return new CCountingFilter(*this); }
  DWORD OnFilterMessage(UINT m, WPARAM w, LPARAM l, LRESULT* p) override
  {
    m_nSeen++;
    if (p != NULL)
      *p += 1;
    return m_dwAnswer | FilterChildren(m, w, l, p);
  }
  int m_nSeen = 0;
  DWORD m_dwAnswer = 0;
};
IMPLEMENT_DYNCREATE(CCountingFilter, SECMsgFilter)

// Not a filter: a descriptor naming it creates nothing.
class CNotAFilter : public CObject {
  DECLARE_DYNCREATE(CNotAFilter)
};
IMPLEMENT_DYNCREATE(CNotAFilter, CObject)

CCountingFilter* Add(SECMsgFilter& parent, int nID, DWORD dwAnswer = 0)
{
  auto* p = (CCountingFilter*)parent.FindFilter(nID, RUNTIME_CLASS(CCountingFilter), 0);
  p->m_dwAnswer = dwAnswer;
  return p;
}

}  // namespace

TEST(MsgFilter, OfferingOrderHandledAndStopBits)
{
  struct Case {
    DWORD first, second, third;
    DWORD result;
    int seen[3];
    const char* why;
  };
  const Case cases[] = {
      {0, 0, 0, 0, {1, 1, 1}, "nobody handles: all see it"},
      {1, 1, 0, 1, {1, 1, 1}, "handled twice without stop: both, ORed"},
      {7, 0, 0, 7, {1, 1, 1}, "handled without stop goes on"},
      {15, 1, 1, 15, {1, 0, 0}, "stop ends the offering"},
      {0, 9, 1, 9, {1, 1, 0}, "stop from the second"},
  };
  for (const Case& c : cases) {
    SECMsgFilter root(NULL, -1);
    CCountingFilter* f[3] = {Add(root, 1, c.first), Add(root, 2, c.second), Add(root, 3, c.third)};
    LRESULT lResult = 0;
    EXPECT_EQ(root.FilterMessage(WM_NCLBUTTONDOWN, 0, 0, &lResult), c.result) << c.why;
    for (int i = 0; i < 3; i++)
      EXPECT_EQ(f[i]->m_nSeen, c.seen[i]) << c.why << " filter " << i;
    EXPECT_EQ(lResult, c.seen[0] + c.seen[1] + c.seen[2]) << c.why;
  }

  // A stop deep in the tree also stops the siblings of its ancestors.
  SECMsgFilter root(NULL, -1);
  CCountingFilter* a = Add(root, 1);
  CCountingFilter* b = Add(root, 2);
  CCountingFilter* a1 = Add(*a, 11, 9);
  EXPECT_EQ(root.FilterMessage(WM_MOUSEMOVE, 0, 0, NULL), 9u);
  EXPECT_EQ(a1->m_nSeen, 1);
  EXPECT_EQ(b->m_nSeen, 0);
}

TEST(MsgFilter, DisabledSubtreesAndLookupsByDepth)
{
  SECMsgFilter root(NULL, -1);
  CCountingFilter* parent = Add(root, 256);
  CCountingFilter* child = Add(*parent, 258);
  parent->m_bEnabled = FALSE;
  EXPECT_EQ(root.FilterMessage(WM_NCPAINT, 0, 0, NULL), 0u);
  EXPECT_EQ(child->m_nSeen, 0);  // enabled, but under a disabled parent
  parent->m_bEnabled = TRUE;
  root.m_bEnabled = FALSE;
  EXPECT_EQ(root.FilterMessage(WM_NCPAINT, 0, 0, NULL), 0u);
  EXPECT_EQ(root.FilterChildren(WM_NCPAINT, 0, 0, NULL), 0u);
  EXPECT_EQ(parent->m_nSeen, 0);
  root.m_bEnabled = TRUE;

  EXPECT_EQ(root.FindFilter(258, NULL, 0), nullptr);  // a grandchild, direct children only
  EXPECT_EQ(root.FindFilter(258, NULL, -1), child);
  EXPECT_EQ(root.FindFilter(258, NULL, 1), child);
  EXPECT_EQ(root.FindFilter(999, NULL, -1), nullptr);
  EXPECT_EQ(root.GetChildCount(), 1);
  // A class that is no filter adds nothing.
  EXPECT_EQ(root.FindFilter(999, RUNTIME_CLASS(CNotAFilter), -1), nullptr);
  EXPECT_EQ(root.GetChildCount(), 1);
}

TEST(MsgFilter, DescriptorsCreateLazilyAndKeepNeverDisabledFilters)
{
  SECMsgFilter::DescriptorTable table;
  table.Add(257, -1, RUNTIME_CLASS(CCountingFilter));
  table.Add(256, -1, RUNTIME_CLASS(CCountingFilter), SECMsgFilter::fltNeverDisable);
  table.Add(258, 256, RUNTIME_CLASS(CCountingFilter));
  table.Add(262, -1, RUNTIME_CLASS(CCountingFilter));
  table.Add(300, 299, RUNTIME_CLASS(CCountingFilter));  // its parent never exists

  CWnd frame;
  SECMsgFilter root(&frame, -1);
  root.ApplyDescriptorsAll(table, FALSE);
  EXPECT_EQ(root.GetChildCount(), 0);  // disabling creates nothing

  SECMsgFilter::DescriptorTable extra;
  EXPECT_EQ(extra.Add(1, -1, NULL), 0);
  EXPECT_EQ(extra.Add(2, 1, NULL), 1);
  std::unique_ptr<SECMsgFilter::Descriptor> copy(extra.GetAt(1)->Clone());
  EXPECT_EQ(copy->nParentID, 1);

  const BOOL enable[] = {TRUE, TRUE, TRUE, FALSE, TRUE};
  root.ApplyDescriptors(table, enable);
  EXPECT_EQ(root.GetChildCount(), 2);
  ASSERT_NE(root.FindFilter(258, NULL, -1), nullptr);
  EXPECT_EQ(root.FindFilter(256, NULL, 0)->FindFilter(258, NULL, 0), root.FindFilter(258, NULL, -1));
  EXPECT_EQ(root.FindFilter(258, NULL, -1)->GetFrame(), &frame);
  EXPECT_EQ(root.FindFilter(262, NULL, -1), nullptr);
  EXPECT_EQ(root.FindFilter(300, NULL, -1), nullptr);

  root.ApplyDescriptorsAll(table, FALSE);
  EXPECT_TRUE(root.FindFilter(256, NULL, -1)->m_bEnabled);  // never disabled
  EXPECT_FALSE(root.FindFilter(257, NULL, -1)->m_bEnabled);
  EXPECT_FALSE(root.FindFilter(258, NULL, -1)->m_bEnabled);
  root.ApplyDescriptorsAll(table, TRUE);
  EXPECT_TRUE(root.FindFilter(258, NULL, -1)->m_bEnabled);
  EXPECT_EQ(root.GetChildCount(), 3);  // 257, 256, 262; nothing removed or doubled
}

TEST(MsgFilter, ClonesAreDeepAndIndependent)
{
  CWnd frame;
  auto root = std::make_unique<SECMsgFilter>(&frame, -1);
  CCountingFilter* a = Add(*root, 256, 1);
  Add(*a, 258, 8);
  Add(*root, 257)->m_bEnabled = FALSE;
  std::unique_ptr<SECMsgFilter> copy(root->Clone());
  ASSERT_EQ(copy->GetChildCount(), 2);
  SECMsgFilter* ca = copy->FindFilter(256, NULL, 0);
  ASSERT_NE(ca, nullptr);
  EXPECT_NE(ca, a);
  EXPECT_TRUE(ca->IsKindOf(RUNTIME_CLASS(CCountingFilter)));
  EXPECT_EQ(((CCountingFilter*)ca)->m_dwAnswer, 1u);
  EXPECT_EQ(ca->GetChildCount(), 1);
  EXPECT_EQ(ca->GetChild(0)->m_nID, 258);
  EXPECT_FALSE(copy->FindFilter(257, NULL, 0)->m_bEnabled);
  EXPECT_EQ(ca->GetChild(0)->GetFrame(), &frame);
  root.reset();  // the copy lives on
  EXPECT_EQ(copy->FilterMessage(WM_NCLBUTTONDOWN, 0, 0, NULL), 9u);
}

TEST(MsgFilter, CurrentMessageOfTheThread)
{
  SECMsgFilter root(NULL, -1);
  CCountingFilter* f = Add(root, 1, 1);
  MSG msg = {NULL, WM_NCRBUTTONUP, HTCAPTION, 0, 0, {0, 0}};
  LRESULT lResult = 0;
  EXPECT_EQ(root.FilterCurrentMessage(&msg, &lResult), 1u);
  EXPECT_EQ(f->m_nSeen, 1);
  EXPECT_EQ(lResult, 1);
}
