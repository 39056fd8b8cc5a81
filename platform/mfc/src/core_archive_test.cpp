// Archive stored forms: pinned bytes of object records, strings, counts and typed values;
// round trips; and reading of truncated or corrupted archives.
#include "afxcoll.h"
#include "gtest_wine.h"

#include <functional>
#include <set>
#include <vector>

typedef std::vector<BYTE> Bytes;

namespace {

// A shared, reference-counted property (the drawing toolkit's pattern): a root class with an
// id and a derived class with an int value, both versionable with schema 1.
class CODProperty : public CObject {
  DECLARE_SERIAL(CODProperty)
 public:
  explicit CODProperty(int nId = -1) : m_nId(nId) {}
  void AddRef() { m_nRef++; }
  void Release() {
    if (--m_nRef == 0) delete this;
  }
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << (UINT)1 << (LONG)m_nId;
    } else {
      UINT nSchema;
      LONG nId;
      ar >> nSchema >> nId;
      m_nId = nId;
    }
  }
  int m_nId;
  int m_nRef = 0;
};
IMPLEMENT_SERIAL(CODProperty, CObject, VERSIONABLE_SCHEMA | 1)

class CODIntProperty : public CODProperty {
  DECLARE_SERIAL(CODIntProperty)
 public:
  explicit CODIntProperty(int nId = -1, int nValue = 0) : CODProperty(nId), m_nValue(nValue) {}
  void Serialize(CArchive& ar) override {
    CODProperty::Serialize(ar);
    if (ar.IsStoring()) {
      ar << (LONG)m_nValue;
    } else {
      LONG n;
      ar >> n;
      m_nValue = n;
    }
  }
  int m_nValue;
};
IMPLEMENT_SERIAL(CODIntProperty, CODProperty, VERSIONABLE_SCHEMA | 1)

// A component: a name, a shared property and owned children.
class CComp : public CObject {
  DECLARE_SERIAL(CComp)
 public:
  CComp() {}
  ~CComp() override {
    if (m_pProp) m_pProp->Release();
    for (INT_PTR i = 0; i < m_children.GetSize(); i++) delete m_children[i];
  }
  void SetProp(CODProperty* p) {
    p->AddRef();
    if (m_pProp) m_pProp->Release();
    m_pProp = p;
  }
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << m_strName << m_pProp;
      ar.WriteCount((DWORD)m_children.GetSize());
      for (INT_PTR i = 0; i < m_children.GetSize(); i++) ar << m_children[i];
    } else {
      m_bLoading = true;
      ar >> m_strName;
      CODProperty* pProp = (CODProperty*)ar.ReadObject(RUNTIME_CLASS(CODProperty));
      if (pProp) SetProp(pProp);
      DWORD nCount = ar.ReadCount();
      AfxCheckStoredCount(ar, nCount, 2);
      for (DWORD i = 0; i < nCount; i++) {
        CComp* pChild = (CComp*)ar.ReadObject(RUNTIME_CLASS(CComp));
        // A child is owned once: a reference to one read before (or to a component still
        // being read) is damage, not a tree.
        if (pChild != nullptr && (pChild->m_bLoading || pChild->m_bOwned))
          AfxThrowArchiveException(CArchiveException::badIndex);
        if (pChild != nullptr) pChild->m_bOwned = true;
        m_children.Add(pChild);
      }
      m_bLoading = false;
    }
  }
  bool m_bLoading = false;
  bool m_bOwned = false;
  CString m_strName;
  CODProperty* m_pProp = nullptr;
  CTypedPtrArray<CObArray, CComp*> m_children;
};
IMPLEMENT_SERIAL(CComp, CObject, 1)

// Objects with an empty stored body, for counting tags.
class CEmpty : public CObject {
  DECLARE_SERIAL(CEmpty)
};
IMPLEMENT_SERIAL(CEmpty, CObject, 0)
class CMark : public CObject {
  DECLARE_SERIAL(CMark)
};
IMPLEMENT_SERIAL(CMark, CObject, 0)

// Reports the stored schema it was read with.
class CVersioned : public CObject {
  DECLARE_SERIAL(CVersioned)
 public:
  void Serialize(CArchive& ar) override {
    if (ar.IsLoading()) {
      m_nSchema = ar.GetObjectSchema();
      m_nSecond = ar.GetObjectSchema();
    }
  }
  UINT m_nSchema = 0, m_nSecond = 0;
};
IMPLEMENT_SERIAL(CVersioned, CObject, VERSIONABLE_SCHEMA | 2)

class CFixed : public CObject {
  DECLARE_SERIAL(CFixed)
};
IMPLEMENT_SERIAL(CFixed, CObject, 1)

Bytes Store(const std::function<void(CArchive&)>& write) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  write(ar);
  ar.Close();
  Bytes bytes(file.GetLength());
  file.SeekToBegin();
  if (!bytes.empty()) file.Read(bytes.data(), (UINT)bytes.size());
  return bytes;
}

void Load(const Bytes& bytes, const std::function<void(CArchive&)>& read) {
  CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
  CArchive ar(&file, CArchive::load);
  read(ar);
}

// The archive exception's cause from loading bytes, or -1 when nothing was thrown.
int LoadCause(const Bytes& bytes, const std::function<void(CArchive&)>& read) {
  try {
    Load(bytes, read);
  } catch (CArchiveException* e) {
    int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
Bytes Text(const char* s) { return Bytes(s, s + strlen(s)); }

TEST(Archive, IntPropertyRecordIsPinned) {
  CODIntProperty prop(210, 2);
  Bytes bytes = Store([&](CArchive& ar) { ar << &prop; });
  Bytes expected = Concat({{0xFF, 0xFF, 0x01, 0x00, 0x0E, 0x00},
                           Text("CODIntProperty"),
                           {0x01, 0, 0, 0, 0xD2, 0, 0, 0, 0x02, 0, 0, 0}});
  EXPECT_EQ(expected, bytes);

  CObject* pOb = nullptr;
  Load(bytes, [&](CArchive& ar) { ar >> pOb; });
  CODIntProperty* pRead = DYNAMIC_DOWNCAST(CODIntProperty, pOb);
  ASSERT_NE(nullptr, pRead);
  EXPECT_EQ(210, pRead->m_nId);
  EXPECT_EQ(2, pRead->m_nValue);
  delete pOb;
}

TEST(Archive, GraphUsesBackReferencesAndReusedClassTags) {
  // root(prop A) -> [child1(prop A), child2(prop B), NULL prop child3]
  CComp root;
  root.m_strName = "r";
  CODIntProperty* pA = new CODIntProperty(210, 1);
  CODIntProperty* pB = new CODIntProperty(220, 4);
  root.SetProp(pA);
  CComp* c1 = new CComp;
  c1->m_strName = "a";
  c1->SetProp(pA);
  CComp* c2 = new CComp;
  c2->m_strName = "b";
  c2->SetProp(pB);
  root.m_children.Add(c1);
  root.m_children.Add(c2);

  Bytes bytes = Store([&](CArchive& ar) { ar << &root; });
  // Numbers: 1 CComp class, 2 root, 3 CODIntProperty class, 4 prop A, 5 child 1, 6 prop B, 7 child 2.
  Bytes expected = Concat({
      {0xFF, 0xFF, 0x01, 0x00, 0x05, 0x00}, Text("CComp"),  // class 1, root is 2
      {0x01, 'r'},
      {0xFF, 0xFF, 0x01, 0x00, 0x0E, 0x00}, Text("CODIntProperty"),  // class 3, prop A is 4
      {0x01, 0, 0, 0, 0xD2, 0, 0, 0, 0x01, 0, 0, 0},
      {0x02, 0x00},                            // two children
      {0x01, 0x80, 0x01, 'a', 0x04, 0x00},     // child 1 (5): class 1, prop A by reference
      {0x00, 0x00},                            // no children
      {0x01, 0x80, 0x01, 'b'},                 // child 2 (7 after prop B)
      {0x03, 0x80},                            // prop B (6): class 3
      {0x01, 0, 0, 0, 0xDC, 0, 0, 0, 0x04, 0, 0, 0},
      {0x00, 0x00},
  });
  EXPECT_EQ(expected, bytes);

  CComp* pRead = nullptr;
  Load(bytes, [&](CArchive& ar) { ar >> pRead; });
  ASSERT_NE(nullptr, pRead);
  ASSERT_EQ(2, pRead->m_children.GetSize());
  EXPECT_EQ(pRead->m_pProp, pRead->m_children[0]->m_pProp);  // shared again
  EXPECT_EQ(2, pRead->m_pProp->m_nRef);
  EXPECT_EQ(4, ((CODIntProperty*)pRead->m_children[1]->m_pProp)->m_nValue);
  EXPECT_EQ("b", pRead->m_children[1]->m_strName);
  delete pRead;
}

TEST(Archive, NullAndMappedObjects) {
  CEmpty known;
  Bytes bytes = Store([&](CArchive& ar) {
    ar << (CObject*)nullptr;
    ar.MapObject(&known);  // takes number 1 without being written
    ar << &known;
  });
  EXPECT_EQ((Bytes{0x00, 0x00, 0x01, 0x00}), bytes);

  CObject *pNull = &known, *pKnown = nullptr;
  Load(bytes, [&](CArchive& ar) {
    ar >> pNull;
    ar.MapObject(&known);
    ar >> pKnown;
  });
  EXPECT_EQ(nullptr, pNull);
  EXPECT_EQ(&known, pKnown);
}

TEST(Archive, LongTagsPastTheShortRange) {
  // Class CEmpty is 1 and its objects 2 .. 0x7FFE; class CMark then takes 0x7FFF, the first
  // number that needs the long form, and its first object 0x8000.
  const int nEmpty = 0x7FFD;
  std::vector<CEmpty> empties(nEmpty);
  CMark mark1, mark2;
  Bytes bytes = Store([&](CArchive& ar) {
    for (CEmpty& e : empties) ar << &e;
    ar << &mark1 << &mark2;
    ar << &empties[nEmpty - 1] << &mark1 << &empties[0];
  });
  size_t pos = 6 + strlen("CEmpty") + 2 * (nEmpty - 1);
  ASSERT_EQ(0x01, bytes[pos - 2]);  // the last CEmpty: class tag 0x8001
  ASSERT_EQ(0x80, bytes[pos - 1]);
  Bytes tail(bytes.begin() + pos, bytes.end());
  Bytes expected = Concat({
      {0xFF, 0xFF, 0x00, 0x00, 0x05, 0x00}, Text("CMark"),  // class 0x7FFF, mark1 0x8000
      {0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80},                  // mark2: long class tag
      {0xFE, 0x7F},                                          // object 0x7FFE: still short
      {0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00},                  // mark1: long object tag
      {0x02, 0x00},
  });
  EXPECT_EQ(expected, tail);

  std::vector<CObject*> read;
  Load(bytes, [&](CArchive& ar) {
    for (int i = 0; i < nEmpty + 5; i++) {
      CObject* p;
      ar >> p;
      read.push_back(p);
    }
  });
  ASSERT_EQ((size_t)nEmpty + 5, read.size());
  EXPECT_TRUE(read[nEmpty]->IsKindOf(RUNTIME_CLASS(CMark)));
  EXPECT_TRUE(read[nEmpty + 1]->IsKindOf(RUNTIME_CLASS(CMark)));
  EXPECT_NE(read[nEmpty], read[nEmpty + 1]);
  EXPECT_EQ(read[nEmpty - 1], read[nEmpty + 2]);
  EXPECT_EQ(read[nEmpty], read[nEmpty + 3]);
  EXPECT_EQ(read[0], read[nEmpty + 4]);
  for (int i = 0; i < nEmpty + 2; i++) delete read[i];
}

TEST(Archive, StringLengthPrefixes) {
  struct Case {
    int nLength;
    Bytes prefix;
  } cases[] = {
      {0, {0x00}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {0xFFFD, {0xFF, 0xFD, 0xFF}},
      {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
  };
  for (const Case& c : cases) {
    CString s;
    LPSTR p = s.GetBufferSetLength(c.nLength);
    for (int i = 0; i < c.nLength; i++) p[i] = (char)('a' + i % 26);
    if (c.nLength > 0) s.SetAt(c.nLength - 1, '\xE9');  // a Windows-1252 byte
    Bytes bytes = Store([&](CArchive& ar) { ar << s; });
    ASSERT_EQ(c.prefix.size() + c.nLength, bytes.size()) << c.nLength;
    EXPECT_EQ(c.prefix, Bytes(bytes.begin(), bytes.begin() + c.prefix.size())) << c.nLength;
    CString back("old");
    Load(bytes, [&](CArchive& ar) { ar >> back; });
    EXPECT_TRUE(back == s) << c.nLength;
  }

  // A string stored as WCHARs (0xFF 0xFFFE marker, then its own prefix) reads as ANSI.
  Bytes wide = {0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 0xE9, 0};
  CString s;
  Load(wide, [&](CArchive& ar) { ar >> s; });
  EXPECT_STREQ("ab\xE9", s);
}

TEST(Archive, TypedValuesAndCounts) {
  Bytes bytes = Store([](CArchive& ar) {
    ar << (BYTE)0x01 << (WORD)0x0203 << (LONG)-2 << (DWORD)0x04050607 << 1.5f << 2.25;
    ar << (short)-3 << 'x';
    ar.WriteCount(0xFFFE);
    ar.WriteCount(0xFFFF);
  });
  Bytes expected = {0x01, 0x03, 0x02, 0xFE, 0xFF, 0xFF, 0xFF, 0x07, 0x06, 0x05, 0x04,
                    0x00, 0x00, 0xC0, 0x3F, 0, 0, 0, 0, 0, 0, 0x02, 0x40,
                    0xFD, 0xFF, 'x', 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
  EXPECT_EQ(expected, bytes);
  Load(bytes, [](CArchive& ar) {
    BYTE by;
    WORD w;
    LONG l;
    DWORD dw;
    float f;
    double d;
    short sh;
    char ch;
    ar >> by >> w >> l >> dw >> f >> d >> sh >> ch;
    EXPECT_EQ(1, by);
    EXPECT_EQ(0x0203, w);
    EXPECT_EQ(-2, l);
    EXPECT_EQ(0x04050607u, dw);
    EXPECT_EQ(1.5f, f);
    EXPECT_EQ(2.25, d);
    EXPECT_EQ(-3, sh);
    EXPECT_EQ('x', ch);
    EXPECT_EQ(0xFFFEu, ar.ReadCount());
    EXPECT_EQ(0xFFFFu, ar.ReadCount());
  });
}

TEST(Archive, SchemasAreCheckedUnlessVersionable) {
  auto record = [](const char* name, WORD schema) {
    return Concat({{0xFF, 0xFF, (BYTE)schema, (BYTE)(schema >> 8), (BYTE)strlen(name), 0x00},
                   Text(name)});
  };
  // A versionable class reads any schema and reports it once.
  CObject* pOb = nullptr;
  Load(record("CVersioned", 1), [&](CArchive& ar) { ar >> pOb; });
  CVersioned* pV = DYNAMIC_DOWNCAST(CVersioned, pOb);
  ASSERT_NE(nullptr, pV);
  EXPECT_EQ(1u, pV->m_nSchema);
  EXPECT_EQ((UINT)-1, pV->m_nSecond);
  delete pOb;
  // Its own class record carries the schema without the flag.
  CVersioned v;
  EXPECT_EQ(record("CVersioned", 2), Store([&](CArchive& ar) { ar << &v; }));

  auto readAny = [](CArchive& ar) {
    CObject* p = ar.ReadObject(nullptr);
    delete p;
  };
  EXPECT_EQ(-1, LoadCause(record("CFixed", 1), readAny));
  EXPECT_EQ(CArchiveException::badSchema, LoadCause(record("CFixed", 2), readAny));
  EXPECT_EQ(CArchiveException::badClass, LoadCause(record("CNoSuchClass", 0), readAny));
  EXPECT_EQ(CArchiveException::badClass, LoadCause(record("CFixed", 1), [](CArchive& ar) {
              ar.ReadObject(RUNTIME_CLASS(CODProperty));
            }));
  // References to numbers not yet given, and a class number that names an object.
  EXPECT_EQ(CArchiveException::badIndex, LoadCause({0x05, 0x00}, readAny));
  EXPECT_EQ(CArchiveException::badIndex, LoadCause({0x01, 0x80}, readAny));
  EXPECT_EQ(CArchiveException::badIndex,
            LoadCause(Concat({record("CFixed", 1), {0x02, 0x80}}), [](CArchive& ar) {
              CObject* p = ar.ReadObject(nullptr);
              try {
                ar.ReadObject(nullptr);
              } catch (...) {
                delete p;
                throw;
              }
            }));
  // Writing an object whose class is not serializable is refused.
  CComp::classCComp.m_wSchema = 0xFFFF;
  CComp notStorable;
  EXPECT_THROW(Store([&](CArchive& ar) { ar << &notStorable; }), CNotSupportedException*);
  CComp::classCComp.m_wSchema = 1;
}

TEST(Archive, MalformedRecords) {
  auto readAny = [](CArchive& ar) {
    CObject* p = ar.ReadObject(nullptr);
    delete p;
  };
  struct {
    Bytes bytes;
    int cause;
  } cases[] = {
      {{0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF}, CArchiveException::badIndex},  // long class tag
      {{0xFF, 0x7F, 0x00, 0x00, 0x00, 0x70}, CArchiveException::badIndex},  // long object tag
      {{0xFF, 0x7F, 0x00, 0x00}, CArchiveException::endOfFile},             // escape cut short
      {{0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 'C'}, CArchiveException::badClass},  // huge name
      {Concat({{0xFF, 0xFF, 0x00, 0x00, 0x2C, 0x01}, Bytes(300, 'C')}), CArchiveException::badClass},
      {Concat({{0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00}, Text("CE"), {0}, Text("mpty")}),
       CArchiveException::badClass},                                   // NUL inside the name
      {{0xFF, 0xFF, 0x00, 0x00, 0x06, 0x00, 'C', 'E'}, CArchiveException::endOfFile},
      {{0xFF}, CArchiveException::endOfFile},
  };
  for (const auto& c : cases) EXPECT_EQ(c.cause, LoadCause(c.bytes, readAny));
  // Strings: a wide marker inside a wide marker, and lengths past the end.
  auto readString = [](CArchive& ar) {
    CString s;
    ar >> s;
  };
  EXPECT_EQ(CArchiveException::generic,
            LoadCause({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x00}, readString));
  EXPECT_EQ(CArchiveException::endOfFile, LoadCause({0x05, 'a', 'b'}, readString));
  EXPECT_EQ(CArchiveException::endOfFile,
            LoadCause({0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b'}, readString));
}

TEST(Archive, CollectionsRoundTripWithClassicLayout) {
  CStringArray strings;
  strings.Add("a");
  strings.Add("bc");
  EXPECT_EQ((Bytes{0x02, 0x00, 0x01, 'a', 0x02, 'b', 'c'}),
            Store([&](CArchive& ar) { strings.Serialize(ar); }));

  CDWordArray dwords;
  dwords.Add(1);
  dwords.Add(0x01020304);
  EXPECT_EQ((Bytes{0x02, 0x00, 1, 0, 0, 0, 4, 3, 2, 1}),
            Store([&](CArchive& ar) { dwords.Serialize(ar); }));

  CMapStringToString map;
  map["k1"] = "v1";
  map["k2"] = "";
  CObList list;
  CODProperty* pShared = new CODProperty(7);
  list.AddTail(pShared);
  list.AddTail(pShared);
  list.AddTail((CObject*)nullptr);
  CWordArray words;
  words.Add(0xBEEF);
  CByteArray bytesArray;
  bytesArray.Add(9);
  Bytes bytes = Store([&](CArchive& ar) {
    strings.Serialize(ar);
    dwords.Serialize(ar);
    map.Serialize(ar);
    list.Serialize(ar);
    words.Serialize(ar);
    bytesArray.Serialize(ar);
  });

  CStringArray strings2;
  CDWordArray dwords2;
  CMapStringToString map2;
  CObList list2;
  CWordArray words2;
  CByteArray bytes2;
  Load(bytes, [&](CArchive& ar) {
    strings2.Serialize(ar);
    dwords2.Serialize(ar);
    map2.Serialize(ar);
    list2.Serialize(ar);
    words2.Serialize(ar);
    bytes2.Serialize(ar);
  });
  ASSERT_EQ(2, strings2.GetSize());
  EXPECT_EQ("bc", strings2[1]);
  EXPECT_EQ(0x01020304u, dwords2[1]);
  CString v;
  EXPECT_TRUE(map2.Lookup("k1", v));
  EXPECT_EQ("v1", v);
  EXPECT_TRUE(map2.Lookup("k2", v));
  EXPECT_EQ("", v);
  ASSERT_EQ(3, list2.GetCount());
  EXPECT_EQ(list2.GetHead(), list2.GetAt(list2.FindIndex(1)));
  EXPECT_EQ(nullptr, list2.GetTail());
  EXPECT_EQ(0xBEEF, words2[0]);
  EXPECT_EQ(9, bytes2[0]);
  delete list2.GetHead();
  delete pShared;

  // A count far beyond the bytes present fails before anything is allocated.
  EXPECT_EQ(CArchiveException::endOfFile,
            LoadCause({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x01, 0x02},
                      [](CArchive& ar) { CDWordArray a; a.Serialize(ar); }));
  EXPECT_EQ(CArchiveException::endOfFile,
            LoadCause({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'},
                      [](CArchive& ar) { CString s; ar >> s; }));
  // Plain pointers have no stored form.
  CPtrArray ptrs;
  EXPECT_THROW(Store([&](CArchive& ar) { ptrs.Serialize(ar); }), CNotSupportedException*);
}

TEST(Archive, ModeMisuseAndLargeBlocks) {
  CMemFile file;
  CArchive ar(&file, CArchive::store, 128);
  BYTE by;
  try {
    ar >> by;
    ADD_FAILURE();
  } catch (CArchiveException* e) {
    EXPECT_EQ(CArchiveException::writeOnly, e->m_cause);
    e->Delete();
  }
  // Blocks larger than the buffer go straight through, in order.
  Bytes big(1000);
  for (size_t i = 0; i < big.size(); i++) big[i] = (BYTE)(i * 7);
  ar << (BYTE)0xAA;
  ar.Write(big.data(), (UINT)big.size());
  ar << (BYTE)0xBB;
  ar.Close();
  EXPECT_EQ(1002u, file.GetLength());
  file.SeekToBegin();
  CArchive in(&file, CArchive::load, 128);
  Bytes back(1000);
  BYTE first, last;
  in >> first;
  EXPECT_EQ(1000u, in.Read(back.data(), 1000));
  in >> last;
  EXPECT_EQ(0xAA, first);
  EXPECT_EQ(big, back);
  EXPECT_EQ(0xBB, last);
  EXPECT_EQ(0u, in.Read(back.data(), 10));  // a short read at the end is not an error
  try {
    in << (BYTE)1;
    ADD_FAILURE();
  } catch (CArchiveException* e) {
    EXPECT_EQ(CArchiveException::readOnly, e->m_cause);
    e->Delete();
  }
}

// The fixture of the damage sweep: a component tree with shared properties, strings and
// counts, read back through the library's own checks.
Bytes SweepFixture() {
  CComp root;
  root.m_strName = "root";
  CODIntProperty* pShared = new CODIntProperty(210, 3);
  root.SetProp(pShared);
  for (int i = 0; i < 3; i++) {
    CComp* pChild = new CComp;
    pChild->m_strName = CString('n', 20 + i);
    pChild->SetProp(i == 1 ? (CODProperty*)new CODProperty(40 + i) : pShared);
    root.m_children.Add(pChild);
  }
  CStringArray strings;
  strings.Add("alpha");
  strings.Add(CString('z', 300));
  CMapWordToOb words;
  words[3] = pShared;
  return Store([&](CArchive& ar) {
    ar << &root;
    strings.Serialize(ar);
    words.Serialize(ar);
  });
}

// Reads the fixture; the objects read are released whatever happens.
void ReadSweepFixture(const Bytes& bytes) {
  CComp* pRoot = nullptr;
  CStringArray strings;
  CMapWordToOb words;
  try {
    Load(bytes, [&](CArchive& ar) {
      pRoot = (CComp*)ar.ReadObject(RUNTIME_CLASS(CComp));
      strings.Serialize(ar);
      words.Serialize(ar);
    });
  } catch (...) {
    delete pRoot;
    throw;
  }
  delete pRoot;
}

TEST(Archive, DamagedArchivesThrowAndNeverCrash) {
  Bytes good = SweepFixture();
  ASSERT_NO_THROW(ReadSweepFixture(good));

  // Cut at every offset: each cut must be reported.
  for (size_t cut = 0; cut < good.size(); cut++) {
    Bytes part(good.begin(), good.begin() + cut);
    bool bThrown = false;
    try {
      ReadSweepFixture(part);
    } catch (CArchiveException* e) {
      bThrown = true;
      e->Delete();
    } catch (CFileException* e) {
      bThrown = true;
      e->Delete();
    }
    EXPECT_TRUE(bThrown) << "cut at " << cut;
  }

  // Overwrite every byte with values that upset lengths, counts and tags: reading either
  // succeeds or throws one of the library's exceptions.
  const BYTE values[] = {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF};
  int nThrown = 0, nRead = 0;
  for (size_t i = 0; i < good.size(); i++) {
    for (BYTE v : values) {
      if (good[i] == v) continue;
      Bytes bad = good;
      bad[i] = v;
      try {
        ReadSweepFixture(bad);
        nRead++;
      } catch (CException* e) {
        nThrown++;
        e->Delete();
      }
    }
  }
  EXPECT_GT(nThrown, 0);
  EXPECT_GT(nRead, 0);
}

}  // namespace
