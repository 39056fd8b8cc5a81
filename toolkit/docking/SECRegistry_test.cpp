// The registry wrapper on a test key under HKEY_CURRENT_USER (removed afterwards): keys,
// values of every type and size, enumeration, recursive deletes and the argument checks.
#include "gtest_wine.h"
#include "SECRegistry.h"
#include <string>

namespace {

const char kTestKey[] = "Software\\QuorvelTests\\SECRegistry";

class SECRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        ASSERT_TRUE(reg.Connect(HKEY_CURRENT_USER));
        ASSERT_TRUE(reg.Create(kTestKey));
    }
    void TearDown() override
    {
        reg.Close();
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuorvelTests");
    }
    static bool Exists(const std::string& path)
    {
        HKEY h;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        RegCloseKey(h);
        return true;
    }
    SECRegistry reg;
};

}  // namespace

TEST(SECRegistryNames, NormalisingJoiningAndRoots)
{
    struct Case { const char* name; BOOL drop; const char* expected; } cases[] = {
        {"", TRUE, ""}, {"", FALSE, "\\"}, {"A\\B\\", TRUE, "A\\B"}, {"\\A\\B\\", TRUE, "A\\B"},
        {"\\A", FALSE, "\\A"}, {"A", FALSE, "A"}};
    for (const Case& c : cases)
        EXPECT_STREQ(SECRegistry::NormalizeKeyName(c.name, c.drop), c.expected) << c.name;
    EXPECT_STREQ(SECRegistry::JoinKeyNames("A\\", "\\B\\"), "A\\B");
    EXPECT_STREQ(SECRegistry::JoinKeyNames("", "B"), "\\B");
    EXPECT_STREQ(SECRegistry::RootKeyName(HKEY_USERS), "HKEY_USERS");
    EXPECT_STREQ(SECRegistry::RootKeyName(HKEY_PERFORMANCE_DATA), "");
}

TEST(SECRegistryConnect, RootsAndMachines)
{
    SECRegistry reg;
    EXPECT_FALSE(reg.Connect(HKEY_CURRENT_USER, "OTHERPC"));
    EXPECT_EQ(reg.GetErrorCode(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(reg.Connect(HKEY_CLASSES_ROOT, "OTHERPC"));
    EXPECT_EQ(reg.GetErrorCode(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(reg.Connect(HKEY_LOCAL_MACHINE, "OTHERPC"));  // no remote registry here
    EXPECT_NE(reg.GetErrorCode(), 0);

    ASSERT_TRUE(reg.Connect(HKEY_LOCAL_MACHINE, ""));
    char name[260];
    DWORD size = sizeof name;
    GetComputerNameA(name, &size);
    EXPECT_STREQ(reg.m_strComputerName, name);
    EXPECT_STREQ(reg.m_strRegistryName, "HKEY_LOCAL_MACHINE");
    EXPECT_FALSE(reg.m_bRemote);
    EXPECT_TRUE(reg.Open("Software"));
    EXPECT_TRUE(reg.Close());
    EXPECT_EQ(reg.m_hKey, nullptr);

    // a fresh wrapper opens below HKEY_CLASSES_ROOT; Create does not default the root
    SECRegistry fresh;
    EXPECT_TRUE(fresh.Open("CLSID"));
    EXPECT_STREQ(fresh.m_strRegistryName, "HKEY_CLASSES_ROOT");
    EXPECT_GT(fresh.m_dwNumberOfSubkeys, 0u);
    SECRegistry unconnected;
    EXPECT_FALSE(unconnected.Create("Software\\QuorvelTests\\never"));
}

TEST_F(SECRegistryTest, ValuesOfEveryTypeRoundTrip)
{
    std::string longText(3000, 'x');
    longText[2999] = 'y';
    EXPECT_TRUE(reg.WriteStringValue("text", longText.c_str()));
    EXPECT_TRUE(reg.WriteDWordValue("number", 0xDEADBEEF));
    CByteArray bytes;
    for (int i = 0; i < 5000; i++)
        bytes.Add(BYTE(i * 7));
    EXPECT_TRUE(reg.WriteBinaryValue("blob", bytes));
    CStringArray list;
    list.Add("a");
    list.Add("bc");
    EXPECT_TRUE(reg.WriteMultiStringValue("list", list));

    // after Create (no key query) the sizes come from the values themselves
    CString text;
    EXPECT_TRUE(reg.ReadStringValue("text", text));
    EXPECT_EQ(std::string((LPCSTR)text), longText);
    DWORD number = 0;
    EXPECT_TRUE(reg.ReadDWordValue("number", number));
    EXPECT_EQ(number, 0xDEADBEEFu);
    CByteArray back;
    back.Add(1);
    EXPECT_TRUE(reg.ReadBinaryValue("blob", back));
    ASSERT_EQ(back.GetSize(), 5000);
    EXPECT_EQ(0, memcmp(back.GetData(), bytes.GetData(), 5000));
    CStringArray listBack;
    EXPECT_TRUE(reg.ReadMultiStringValue("list", listBack));
    ASSERT_EQ(listBack.GetSize(), 2);
    EXPECT_STREQ(listBack[1], "bc");
    DWORD type = 0, length = 0;
    EXPECT_TRUE(reg.QueryValueRaw("list", &type, NULL, &length));
    EXPECT_EQ(type, (DWORD)REG_MULTI_SZ);
    EXPECT_EQ(length, 6u);  // "a\0bc\0\0"

    // the overloads forward
    EXPECT_TRUE(reg.SetValue("n2", (DWORD)7));
    EXPECT_TRUE(reg.QueryValue("n2", number));
    EXPECT_EQ(number, 7u);
    EXPECT_TRUE(reg.SetValue("s2", "two"));
    EXPECT_TRUE(reg.QueryValue("s2", text));
    EXPECT_STREQ(text, "two");
}

TEST_F(SECRegistryTest, StoredValuesThatDoNotFitAreReadSafely)
{
    HKEY h = reg.m_hKey;
    // text without its terminating null, and a multi-string without its final null
    RegSetValueExA(h, "unterminated", 0, REG_SZ, (const BYTE*)"abcdef", 3);
    RegSetValueExA(h, "openlist", 0, REG_MULTI_SZ, (const BYTE*)"one\0two", 7);
    RegSetValueExA(h, "emptylist", 0, REG_MULTI_SZ, (const BYTE*)"", 0);
    DWORD word = 5;
    RegSetValueExA(h, "word", 0, REG_DWORD, (const BYTE*)&word, 4);
    CString text = "old";
    EXPECT_TRUE(reg.ReadStringValue("unterminated", text));
    EXPECT_STREQ(text, "abc");
    CStringArray list;
    EXPECT_TRUE(reg.ReadMultiStringValue("openlist", list));
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_STREQ(list[1], "two");
    EXPECT_TRUE(reg.ReadMultiStringValue("emptylist", list));
    EXPECT_EQ(list.GetSize(), 0);
    // types are checked: a number is not text, text is not a list
    EXPECT_FALSE(reg.ReadStringValue("word", text));
    EXPECT_EQ(reg.GetErrorCode(), ERROR_INVALID_DATATYPE);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(reg.ReadMultiStringValue("unterminated", list));
    // a missing value leaves the string empty
    text = "old";
    EXPECT_FALSE(reg.ReadStringValue("missing", text));
    EXPECT_EQ(reg.GetErrorCode(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(text.IsEmpty());
}

TEST_F(SECRegistryTest, EnumerationAndQueryInfo)
{
    SECRegistry sub;
    ASSERT_TRUE(sub.Connect(HKEY_CURRENT_USER));
    ASSERT_TRUE(sub.Create(std::string(kTestKey).append("\\First").c_str(), "Klass"));
    ASSERT_TRUE(sub.Create(std::string(kTestKey).append("\\Second").c_str()));
    reg.WriteStringValue("v1", "1");
    reg.WriteDWordValue("v2", 2);
    ASSERT_TRUE(reg.Open(kTestKey, KEY_ALL_ACCESS));
    EXPECT_EQ(reg.m_dwNumberOfSubkeys, 2u);
    EXPECT_EQ(reg.m_dwNumberOfValues, 2u);
    EXPECT_STREQ(reg.m_strKeyName, kTestKey);
    CString name, cls;
    EXPECT_TRUE(reg.EnumKey(0, name, cls));
    EXPECT_STREQ(name, "First");
    EXPECT_STREQ(cls, "Klass");
    name = "unchanged";
    EXPECT_FALSE(reg.EnumKey(2, name));
    EXPECT_STREQ(name, "unchanged");
    EXPECT_EQ(reg.GetErrorCode(), ERROR_NO_MORE_ITEMS);
    char raw[8];
    DWORD rawLength = sizeof raw;
    EXPECT_EQ(reg.EnumKeyRaw(1, raw, &rawLength), ERROR_SUCCESS);
    EXPECT_STREQ(raw, "Second");
    DWORD type = 0;
    EXPECT_TRUE(reg.EnumValue(1, name, &type));
    EXPECT_STREQ(name, "v2");
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    BYTE data[2];
    DWORD dataLength = sizeof data;
    EXPECT_TRUE(reg.EnumValue(0, name, &type, data, &dataLength));  // more data counts
    EXPECT_FALSE(reg.EnumValue(2, name, &type));
    EXPECT_TRUE(reg.DeleteValue("v1"));
    EXPECT_FALSE(reg.DeleteValue("v1"));
    EXPECT_TRUE(reg.Flush());
}

TEST_F(SECRegistryTest, DeletingKeys)
{
    std::string base = kTestKey;
    SECRegistry maker;
    ASSERT_TRUE(maker.Connect(HKEY_CURRENT_USER));
    ASSERT_TRUE(maker.Create((base + "\\Tree\\A\\A1").c_str()));
    ASSERT_TRUE(maker.Create((base + "\\Tree\\A\\A2\\Deep").c_str()));
    ASSERT_TRUE(maker.Create((base + "\\Tree\\B").c_str()));
    ASSERT_TRUE(maker.Create((base + "\\Other\\C").c_str()));
    maker.Close();

    // without recursion a key with subkeys stays, with the platform's error
    ASSERT_TRUE(reg.Open(kTestKey, KEY_ALL_ACCESS));
    EXPECT_FALSE(reg.DeleteKey("Tree"));
    EXPECT_NE(reg.GetErrorCode(), 0);
    EXPECT_TRUE(Exists(base + "\\Tree\\A\\A1"));
    // relative to the current key, the whole subtree
    EXPECT_TRUE(reg.DeleteKey("Tree", TRUE));
    EXPECT_FALSE(Exists(base + "\\Tree"));
    EXPECT_TRUE(Exists(base + "\\Other\\C"));
    // relative to the root, by a full path; the current key, now gone, becomes the parent
    ASSERT_TRUE(reg.Open((base + "\\Other\\C").c_str(), KEY_ALL_ACCESS));
    EXPECT_TRUE(reg.DeleteKey(("\\" + base + "\\Other").c_str(), TRUE));
    EXPECT_FALSE(Exists(base + "\\Other"));
    EXPECT_STREQ(reg.m_strKeyName, base.c_str());
    // a missing key keeps the open error
    EXPECT_FALSE(reg.DeleteKey("Nothing"));
    EXPECT_EQ(reg.GetErrorCode(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(reg.DeleteKey("", TRUE));
    EXPECT_EQ(reg.GetErrorCode(), ERROR_INVALID_PARAMETER);
}

TEST_F(SECRegistryTest, NullArgumentsAreInvalidParameters)
{
    CString s;
    CByteArray b;
    CStringArray l;
    DWORD d = 0;
    struct Case {
        const char* what;
        BOOL result;
    } cases[] = {
        {"Open", reg.Open(NULL)},
        {"Create", reg.Create(NULL)},
        {"DeleteKey", reg.DeleteKey(NULL)},
        {"DeleteValue", reg.DeleteValue(NULL)},
        {"QueryValueRaw", reg.QueryValueRaw(NULL, NULL, NULL, &d)},
        {"ReadStringValue", reg.ReadStringValue(NULL, s)},
        {"SetValueRaw name", reg.SetValueRaw(NULL, REG_SZ, (const BYTE*)"", 1)},
        {"SetValueRaw data", reg.SetValueRaw("x", REG_SZ, NULL, 1)},
        {"WriteStringValue", reg.WriteStringValue("x", NULL)},
        {"QueryValue string", reg.QueryValue(NULL, s)},
        {"QueryValue array", reg.QueryValue(NULL, l)},
        {"QueryValue dword", reg.QueryValue(NULL, d)},
        {"QueryValue bytes", reg.QueryValue(NULL, b)},
        {"SetValue string", reg.SetValue(NULL, "x")},
        {"SetValue array", reg.SetValue(NULL, l)},
        {"SetValue dword", reg.SetValue(NULL, d)},
        {"SetValue bytes", reg.SetValue(NULL, b)},
        {"SaveKey", reg.SaveKey(NULL)},
        {"RestoreKey", reg.RestoreKey(NULL)},
        {"LoadKey subkey", reg.LoadKey(NULL, "f")},
        {"LoadKey file", reg.LoadKey("k", NULL)},
        {"ReplaceKey", reg.ReplaceKey("k", NULL, "o")},
        {"UnLoadKey", reg.UnLoadKey(NULL)},
        {"GetKeySecurity", reg.GetKeySecurity(OWNER_SECURITY_INFORMATION, NULL, &d)},
        {"SetKeySecurity", reg.SetKeySecurity(OWNER_SECURITY_INFORMATION, NULL)},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(c.result) << c.what;
    // each call left 87 behind: check the last one and one from the middle again
    EXPECT_EQ(reg.GetErrorCode(), ERROR_INVALID_PARAMETER);
    reg.SaveKey(NULL);
    EXPECT_EQ(reg.GetErrorCode(), ERROR_INVALID_PARAMETER);
}

// Saving, loading and replacing hives need privileges Wine does not grant or are no-ops
// there (the README says which); change notification and key security work.
TEST_F(SECRegistryTest, ChangeNotificationAndKeySecurity)
{
    HANDLE event = CreateEventA(NULL, TRUE, FALSE, NULL);
    EXPECT_TRUE(reg.NotifyChange(event, REG_NOTIFY_CHANGE_LAST_SET, TRUE, TRUE));
    reg.WriteStringValue("v", "2");
    EXPECT_EQ(WaitForSingleObject(event, 5000), WAIT_OBJECT_0);
    CloseHandle(event);
    BYTE sd[4096];
    DWORD sdLength = sizeof sd;
    EXPECT_TRUE(reg.GetKeySecurity(OWNER_SECURITY_INFORMATION, sd, &sdLength));
    EXPECT_TRUE(reg.SetKeySecurity(OWNER_SECURITY_INFORMATION, sd));
}
