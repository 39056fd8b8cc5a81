// Collections: arrays, lists, hash maps (with the classic iteration order) and the typed
// pointer wrappers.
#include "afxtempl.h"
#include "gtest_wine.h"

#include <vector>

namespace {

template <class MAP, class KEY, class VALUE>
std::vector<KEY> KeysInOrder(const MAP& map) {
  std::vector<KEY> keys;
  POSITION pos = map.GetStartPosition();
  while (pos != NULL) {
    KEY k;
    VALUE v;
    map.GetNextAssoc(pos, k, v);
    keys.push_back(k);
  }
  return keys;
}

TEST(Map, IterationOrderFollowsBucketsNewestFirst) {
  // Integer keys lose their low four bits: 1 and 2 share bucket 0, 16 is in bucket 1.
  CMap<int, int, int, int> ints;
  ints[16] = 0;
  ints[1] = 0;
  ints[2] = 0;
  EXPECT_EQ((std::vector<int>{2, 1, 16}), (KeysInOrder<decltype(ints), int, int>(ints)));
  EXPECT_EQ(17u, ints.GetHashTableSize());

  // Strings hash to nHash * 33 + ch: "a" 97, "b" 98, "c" 99 -> buckets 12, 13, 14 of 17.
  CMapStringToString strings;
  strings["c"] = "3";
  strings["a"] = "1";
  strings["b"] = "2";
  std::vector<CString> keys = KeysInOrder<CMapStringToString, CString, CString>(strings);
  ASSERT_EQ(3u, keys.size());
  EXPECT_STREQ("a", keys[0]);
  EXPECT_STREQ("b", keys[1]);
  EXPECT_STREQ("c", keys[2]);

  // The table size set before the first entry is used: one bucket, newest first.
  CMapStringToString one;
  one.InitHashTable(1);
  one["a"] = "";
  one["c"] = "";
  one["b"] = "";
  keys = KeysInOrder<CMapStringToString, CString, CString>(one);
  EXPECT_STREQ("b", keys[0]);
  EXPECT_STREQ("c", keys[1]);
  EXPECT_STREQ("a", keys[2]);
  EXPECT_THROW(one.InitHashTable(31), CInvalidArgException*);  // not once it holds entries
}

TEST(Map, LookupSetRemove) {
  CMapStringToString map;
  CString v;
  EXPECT_FALSE(map.Lookup("x", v));
  EXPECT_EQ(NULL, map.GetStartPosition());
  map.SetAt("x", "1");
  map["x"] = "2";  // replaces
  EXPECT_EQ(1, map.GetCount());
  EXPECT_TRUE(map.Lookup("x", v));
  EXPECT_STREQ("2", v);
  EXPECT_TRUE(map["new"].IsEmpty());  // operator[] adds an empty entry
  EXPECT_EQ(2, map.GetCount());
  EXPECT_TRUE(map.RemoveKey("x"));
  EXPECT_FALSE(map.RemoveKey("x"));
  EXPECT_FALSE(map.Lookup("x", v));
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());

  CMapPtrToPtr ptrs;
  int a, b;
  ptrs[&a] = &b;
  void* p = nullptr;
  EXPECT_TRUE(ptrs.Lookup(&a, p));
  EXPECT_EQ(&b, p);
  CMapWordToPtr words;
  words[7] = &a;
  EXPECT_TRUE(words.Lookup(7, p));
  EXPECT_FALSE(words.Lookup(8, p));
}

TEST(Array, GrowInsertRemove) {
  CArray<CString, LPCSTR> a;
  a.SetSize(2);
  EXPECT_TRUE(a[0].IsEmpty());
  a[0] = "zero";
  a.SetAtGrow(4, a[0]);  // an argument from the array itself, across a reallocation
  EXPECT_EQ(5, a.GetSize());
  EXPECT_STREQ("zero", a[4]);
  a.InsertAt(1, "ins", 2);
  EXPECT_EQ(7, a.GetSize());
  EXPECT_STREQ("ins", a[1]);
  EXPECT_STREQ("ins", a[2]);
  EXPECT_STREQ("zero", a[6]);
  a.RemoveAt(0, 3);
  EXPECT_EQ(4, a.GetSize());
  EXPECT_STREQ("zero", a[3]);
  EXPECT_THROW(a.RemoveAt(3, 2), CInvalidArgException*);
  EXPECT_THROW(a.GetAt(4), CInvalidArgException*);
  EXPECT_THROW(a.SetAt(-1, "x"), CInvalidArgException*);

  CArray<CString, LPCSTR> b;
  b.Add("b0");
  EXPECT_EQ(1, b.Append(a));
  EXPECT_EQ(5, b.GetSize());
  b.InsertAt(1, &b);  // itself
  EXPECT_EQ(10, b.GetSize());
  EXPECT_STREQ("b0", b[1]);
  a.Copy(b);
  EXPECT_EQ(10, a.GetSize());
  a.SetSize(1);
  a.FreeExtra();
  EXPECT_STREQ("b0", a[0]);
  a.RemoveAll();
  EXPECT_EQ(0, a.GetSize());

  CUIntArray ints;
  ints.SetSize(3, 0);
  EXPECT_EQ(0u, ints[2]);  // new elements start at zero
  for (UINT i = 0; i < 5000; i++) ints.Add(i);
  EXPECT_EQ(5003, ints.GetSize());
  EXPECT_EQ(4999u, ints[5002]);
}

TEST(List, EditingAndSearch) {
  CStringList list;
  EXPECT_THROW(list.RemoveHead(), CInvalidArgException*);
  POSITION b = list.AddTail("b");
  list.AddHead("a");
  list.InsertAfter(b, "d");
  list.InsertBefore(list.Find("d"), "c");
  EXPECT_EQ(4, list.GetCount());
  std::vector<CString> items;
  for (POSITION pos = list.GetHeadPosition(); pos != NULL;) items.push_back(list.GetNext(pos));
  ASSERT_EQ(4u, items.size());
  EXPECT_STREQ("a", items[0]);
  EXPECT_STREQ("c", items[2]);
  EXPECT_STREQ("d", items[3]);

  EXPECT_EQ(list.FindIndex(1), list.Find("b"));
  EXPECT_EQ(NULL, list.FindIndex(4));
  EXPECT_EQ(NULL, list.Find("b", list.Find("b")));  // searches after the given position
  list.RemoveAt(list.Find("b"));
  EXPECT_STREQ("a", list.RemoveHead());
  EXPECT_STREQ("d", list.RemoveTail());
  EXPECT_STREQ("c", list.GetHead());
  EXPECT_STREQ("c", list.GetTail());
  list.RemoveAt(list.GetHeadPosition());
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(NULL, list.GetHeadPosition());
  EXPECT_EQ(NULL, list.GetTailPosition());

  // Nodes come from blocks of the block size; a freed node is used again.
  CList<int, int> pooled(3);
  POSITION p1 = pooled.AddTail(1);
  pooled.AddTail(2);
  pooled.RemoveAt(p1);
  EXPECT_EQ(p1, pooled.AddHead(3));
  for (int i = 0; i < 10; i++) pooled.AddTail(i);
  EXPECT_EQ(12, pooled.GetCount());
  EXPECT_EQ(3, pooled.GetHead());
  EXPECT_EQ(9, pooled.GetTail());
}

// An element type that owns something: its collections compile, and refuse to be stored.
struct Owned {
  std::vector<int> data;
  bool operator==(const Owned& o) const { return data == o.data; }
};

TEST(Map, ValuesThatOwnResources) {
  CMap<int, int, Owned, const Owned&> map;
  map[1].data.push_back(7);
  Owned v;
  EXPECT_TRUE(map.Lookup(1, v));
  EXPECT_EQ(7, v.data[0]);
  CList<Owned, const Owned&> list;
  list.AddTail(v);
  EXPECT_EQ(list.GetHeadPosition(), list.Find(v));
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  EXPECT_THROW(map.Serialize(ar), CNotSupportedException*);
  ar.Abort();
}

struct CItem : public CObject {
  explicit CItem(int n) : m_n(n) {}
  int m_n;
};

TEST(TypedPointers, WrapTheBaseCollections) {
  CItem one(1), two(2);
  CTypedPtrArray<CObArray, CItem*> arr;
  arr.Add(&one);
  arr.InsertAt(0, &two);
  EXPECT_EQ(2, arr[0]->m_n);
  EXPECT_EQ(1, arr.GetAt(1)->m_n);
  arr.ElementAt(1) = &two;
  EXPECT_EQ(&two, arr[1]);

  CTypedPtrList<CObList, CItem*> list;
  list.AddTail(&one);
  list.AddHead(&two);
  EXPECT_EQ(2, list.GetHead()->m_n);
  POSITION pos = list.GetTailPosition();
  EXPECT_EQ(1, list.GetPrev(pos)->m_n);
  EXPECT_EQ(&two, list.RemoveHead());

  CTypedPtrMap<CMapStringToPtr, CString, CItem*> map;
  map.SetAt("one", &one);
  map["two"] = &two;
  CItem* p = nullptr;
  EXPECT_TRUE(map.Lookup("two", p));
  EXPECT_EQ(2, p->m_n);
  POSITION mpos = map.GetStartPosition();
  CString key;
  map.GetNextAssoc(mpos, key, p);
  EXPECT_TRUE(key == "one" || key == "two");

  CTypedPtrList<CPtrList, CItem*> ptrs;
  ptrs.AddTail(&one);
  EXPECT_EQ(1, ptrs.GetHead()->m_n);
}

}  // namespace
