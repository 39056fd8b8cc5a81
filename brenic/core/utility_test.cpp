#include "gtest_wine.h"
#include "Utility.h"

namespace {

const char* const kTestKey = "Software\\Quorvel\\CoreUtilityTest";

struct KeyFixture : testing::Test
{
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
};

// A key that could only be opened for reading, as on a machine without write access.
struct ReadOnlyKey : CRegKey
{
    ReadOnlyKey() : CRegKey(HKEY_CURRENT_USER, kTestKey) { m_bReadOnly = TRUE; }
};

std::string Joined(const CStringArray& pieces)
{
    std::string all;
    for (int i = 0; i < pieces.GetSize(); ++i)
        all += std::string("<") + (LPCTSTR)pieces[i] + ">";
    return all;
}

} // namespace

TEST_F(KeyFixture, ReadStringCreatesMissingValueWithItsDefault)
{
    CRegKey key(HKEY_CURRENT_USER, kTestKey);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_FALSE(key.IsReadOnly());
    CString value = "50";
    EXPECT_EQ(ERROR_SUCCESS, key.ReadString("SoundThreshold", value));
    EXPECT_STREQ("50", value);
    value = "other";
    EXPECT_EQ(ERROR_SUCCESS, key.ReadString("SoundThreshold", value));
    EXPECT_STREQ("50", value);
}

TEST_F(KeyFixture, ReadOnlyKeyNeitherCreatesNorWrites)
{
    ReadOnlyKey key;
    CString value = "50";
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.ReadString("SoundThreshold", value));
    EXPECT_STREQ("50", value);
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.WriteString("SoundThreshold", "7"));
    HKEY raw;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &raw));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(raw, "SoundThreshold", NULL, NULL, NULL, NULL));
    RegCloseKey(raw);
}

// Values written by other programs need not end with a NUL or be text at all: only the
// bytes the registry returns are taken, and only from text values.
TEST_F(KeyFixture, ReadStringTakesOnlyTheReturnedTextBytes)
{
    CRegKey key(HKEY_CURRENT_USER, kTestKey);
    HKEY raw;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_ALL_ACCESS, &raw));
    RegSetValueExA(raw, "Unterminated", 0, REG_SZ, (const BYTE*)"abcXYZ", 3);
    DWORD number = 12345;
    RegSetValueExA(raw, "Number", 0, REG_DWORD, (const BYTE*)&number, sizeof number);
    std::string longText(5000, 'x');
    RegSetValueExA(raw, "TooLong", 0, REG_SZ, (const BYTE*)longText.c_str(),
                   (DWORD)longText.size() + 1);
    RegCloseKey(raw);

    CString value = "previous";
    EXPECT_EQ(ERROR_SUCCESS, key.ReadString("Unterminated", value));
    EXPECT_STREQ("abc", value);
    value = "previous";
    EXPECT_NE(ERROR_SUCCESS, key.ReadString("Number", value));
    EXPECT_STREQ("previous", value);
    EXPECT_NE(ERROR_SUCCESS, key.ReadString("TooLong", value));
    EXPECT_STREQ("previous", value);
}

TEST(ExtString, SplitAndFields)
{
    struct { const char* text; int count; const char* pieces; } cases[] = {
        {"1,2,", 2, "<1><2>"},
        {"", 0, ""},
        {"12", 1, "<12>"},
        {",5", 2, "<><5>"},
        {"4,,6", 3, "<4><><6>"},
    };
    for (const auto& c : cases) {
        CStringArray pieces;
        EXPECT_EQ(c.count, CExtString(c.text).Split(",", &pieces)) << c.text;
        EXPECT_EQ(c.pieces, Joined(pieces)) << c.text;
        EXPECT_EQ(c.count, CExtString(c.text).Split(",", NULL)) << c.text;
    }
    CExtString tabs("10,20,30,");
    EXPECT_STREQ("10", tabs.GetField(0, ","));
    EXPECT_STREQ("20", tabs.GetField(1, ","));
    EXPECT_STREQ("30", tabs.GetField(2, ","));
    EXPECT_STREQ("20,30,", tabs.GetField(1, ",", TRUE));
    EXPECT_STREQ("tail", CExtString("a,tail").GetField(1, ","));
}

TEST(ExtString, DelimitedAndConsume)
{
    CExtString block(" Name=\"Club\" DisplayName=\"Golf Club\" DisplayType=\"List\">");
    EXPECT_STREQ("Club", block.GetDelimited("Name=\"", "\""));
    EXPECT_STREQ("Golf Club", block.GetDelimited("DisplayName=\"", "\""));
    EXPECT_STREQ("rest", CExtString("<a>rest").GetDelimited("<a>", "</a>"));
    EXPECT_STREQ("<b>", CExtString("<a>x</a>").GetDelimited("<b>", "</b>"));

    CExtString text("one</F>two</F>");
    EXPECT_STREQ("two</F>", text.ConsumeTo("</F>"));
    EXPECT_STREQ("two</F>", text);
    text.ConsumeTo("<missing>");
    EXPECT_TRUE(text.IsEmpty());
}

TEST(ExtString, QuotesAndPaths)
{
    CExtString name("O'Brien");
    name.EscapeQuotes();
    EXPECT_STREQ("O''Brien", name);

    CExtString path("C:\\Clips\\swing.lesson.kpx");
    EXPECT_STREQ(".kpx", path.GetPathExtension());
    EXPECT_STREQ("C:\\Clips\\", path.GetPathFolder());
    EXPECT_STREQ("swing.lesson.kpx", path.GetPathFileName());
    EXPECT_STREQ("C:", path.GetPathDrive());
    EXPECT_STREQ("swing.lesson", path.GetPathTitle());
    EXPECT_STREQ("", CExtString("C:\\Clips\\README").GetPathExtension());
    EXPECT_STREQ("", CExtString("C:\\Clips.d\\README").GetPathExtension());
}

TEST(ExtString, TextTools)
{
    CExtString s("key  value rest");
    EXPECT_STREQ("value", s.GetWordAfter("key"));
    EXPECT_STREQ("", s.GetWordAfter("nothing"));
    EXPECT_TRUE(s.SetWordAfter("key", "new"));
    EXPECT_STREQ("key new rest", s);
    CExtString end("key");
    EXPECT_TRUE(end.SetWordAfter("key", "v"));
    EXPECT_STREQ("key v", end);
    EXPECT_FALSE(end.SetWordAfter("zzz", "v"));

    CExtString token("abc;def");
    EXPECT_STREQ("abc", token.TakeToken(";,"));
    EXPECT_STREQ(";def", token);

    CExtString controls("a\tb\x7f");
    controls.EscapeControlChars();
    EXPECT_STREQ("a\\9b\\127", controls);

    CExtString typed("abx\bc\b\b");
    typed.ApplyBackspaces();
    EXPECT_STREQ("a", typed);

    EXPECT_EQ(0, CExtString("").GetAtSafe(0));
    EXPECT_EQ('b', CExtString("ab").GetAtSafe(1));
    EXPECT_EQ(0, CExtString("ab").GetAtSafe(2));
    EXPECT_EQ(4, CExtString("abcabc").FindFrom("bc", 2));
    EXPECT_EQ(-1, CExtString("abc").FindFrom("bc", 9));
    EXPECT_STREQ("two", CExtString("one, two;three").GetFieldAny(1, ",;"));
    EXPECT_STREQ("", CExtString("one").GetFieldAny(3, ",;"));

    CExtString trim("  xx");
    trim.TrimLeftSet(" ");
    EXPECT_STREQ("xx", trim);
    CExtString removed("a-b-c");
    EXPECT_STREQ("abc", removed.RemoveChars("-"));
}

TEST(ErrorText, SystemMessages)
{
    EXPECT_FALSE(FormatSystemMessage(ERROR_FILE_NOT_FOUND).IsEmpty());
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_STREQ(FormatSystemMessage(ERROR_ACCESS_DENIED), GetLastErrorText());
}
