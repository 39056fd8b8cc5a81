#include "gtest_wine.h"
#include <string>
#include "XMLParser.h"

namespace {

void Parse(CXMLParser& parser, const std::string& text)
{
    parser.ParseText(text.c_str(), (int)text.size());
}

std::string Entries(const CXMLParser& parser, const char* name, int capacity = 32)
{
    CString* out[40] = {};
    int count = parser.GetEntries(name, out, capacity);
    std::string all;
    for (int i = 0; i < count; ++i) {
        all += std::string("<") + (LPCTSTR)*out[i] + ">";
        delete out[i];
    }
    return all;
}

const char kSample[] =
    "<?xml version=\"1.0\"?>\n<!-- lists -->\n<FieldDefs>\n"
    "<Field Name=\"Club\" DisplayName=\"Golf Club\" DisplayType=\"List\">"
    "<Entry>Driver</Entry><Entry>Putter</Entry></Field>\n"
    "stray text <Entry>Outside</Entry>\n"
    "<Field Name=\"View\" DisplayName=\"Camera View\" DisplayType=\"List\"></Field>\n"
    "</FieldDefs>\n";

} // namespace

TEST(XMLParser, FieldsEntriesAndDisplayNames)
{
    CXMLParser parser;
    Parse(parser, kSample);
    EXPECT_EQ(2, parser.GetFieldCount());
    EXPECT_EQ("<Driver><Putter>", Entries(parser, "Club"));
    EXPECT_EQ("", Entries(parser, "club"));
    EXPECT_STREQ("Golf Club", parser.GetDisplayName("Club"));
    EXPECT_EQ("", Entries(parser, "View"));
    EXPECT_STREQ("Camera View", parser.GetDisplayName("View"));
    EXPECT_STREQ("Role", parser.GetDisplayName("Role"));
}

TEST(XMLParser, UnclosedBlockTakesTheRest)
{
    CXMLParser parser;
    Parse(parser, "<Field Name=\"A\" DisplayName=\"B\" DisplayType=\"C\"><Entry>x</Entry>"
                  "<Entry>y</Entry>");
    EXPECT_EQ(1, parser.GetFieldCount());
    EXPECT_EQ("<x><y>", Entries(parser, "A"));
}

// The tables hold 100 fields of 32 entries; a larger file is read up to those limits and
// never written past them, and a caller's smaller array is respected.
TEST(XMLParser, TablesAndCallerArrayAreBounded)
{
    std::string text;
    for (int f = 0; f < 105; ++f) {
        text += "<Field Name=\"F" + std::to_string(f) + "\" DisplayName=\"D\" DisplayType=\"T\">";
        for (int e = 0; e < 40; ++e)
            text += "<Entry>" + std::to_string(e) + "</Entry>";
        text += "</Field>";
    }
    CXMLParser parser;
    Parse(parser, text);
    EXPECT_EQ(100, parser.GetFieldCount());
    CString* out[40] = {};
    EXPECT_EQ(32, parser.GetEntries("F99", out));
    EXPECT_STREQ("31", *out[31]);
    EXPECT_EQ(nullptr, out[32]);
    for (int i = 0; i < 32; ++i)
        delete out[i];
    EXPECT_EQ("<0><1><2>", Entries(parser, "F0", 3));
    EXPECT_EQ("", Entries(parser, "F100"));
}

TEST(XMLParser, ShippedFileHasEveryListTheProgramAsksFor)
{
    CXMLParser parser(CString(WinePath(TestBinDir() + "/razeFieldDefs.xml").c_str()));
    ASSERT_EQ(0, parser.Open());
    const char* names[] = {"ClipType", "ClipFilter", "RoleFilter", "Club", "View", "Role"};
    for (const char* name : names)
        EXPECT_NE("", Entries(parser, name)) << name;
    EXPECT_EQ("<Swing><Drill><Comparison>", Entries(parser, "ClipType"));
    EXPECT_EQ(0, Entries(parser, "Club").find("<Driver>"));
    EXPECT_EQ(0, Entries(parser, "View").find("<Face on>"));
    EXPECT_NE(std::string::npos, Entries(parser, "Role").find("<Instructor>"));
    EXPECT_NE(std::string::npos, Entries(parser, "ClipFilter").find("<Show Students>"));
}
