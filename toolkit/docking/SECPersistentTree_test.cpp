// The persistent tree: result codes, value encodings, and trees written to and read back
// from a temporary profile file and a test registry key (both removed afterwards).
#include "gtest_wine.h"
#include "SECPersistentTree.h"
#include "SECRegistry.h"
#include <memory>
#include <string>

namespace {

std::string TempFile(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

std::string ProfileText(const std::string& path)
{
    std::string text;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return text;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, NULL) && got > 0)
        text.append(buf, got);
    CloseHandle(h);
    return text;
}

CString Value(SECPersistentTreeNode* node, const char* key)
{
    CString v;
    node->GetStringValue(key, v, "<missing>");
    return v;
}

// A root "WorkState_v1_1" with values, a child "Frames" with a grandchild, and an empty child.
struct SampleTree {
    SECPTNFactory factory;
    SECPersistentTreeNode* root;
    SECPersistentTreeNode* frames;
    SECPersistentTreeNode* deep;
    SECPersistentTreeNode* empty;
    std::string longValue;
    SampleTree() : longValue(300, 'v')
    {
        longValue[299] = 'Z';
        root = factory.CreateNode("WorkState_v1_1");
        frames = factory.CreateNode("Frames", root);
        deep = factory.CreateNode("Deep", frames);
        empty = factory.CreateNode("Empty", root);
        root->SetIntValue("Count", -42);
        root->SetBoolValue("Visible", TRUE);
        root->SetStringValue("Title", longValue.c_str());
        frames->SetStringValue("Name", "main");
        BYTE block[126];
        for (int i = 0; i < 126; i++)
            block[i] = BYTE(i * 3);
        frames->SetBinaryValue("Placement", block, sizeof block);
        deep->SetStringValue("Key", "value");
    }
};

// The sample's values (but the frame's name, which the tests change between writes).
void ExpectSameAsSample(SECPersistentTreeNode* root, const SampleTree& sample, bool emptyKept)
{
    EXPECT_STREQ(Value(root, "Count"), "-42");
    BOOL visible = FALSE;
    root->GetBoolValue("Visible", visible);
    EXPECT_TRUE(visible);
    EXPECT_EQ(std::string((LPCSTR)Value(root, "Title")), sample.longValue);
    SECPersistentTreeNode* frames = root->FindChild("Frames");
    ASSERT_NE(frames, nullptr);
    BYTE* data = NULL;
    UINT length = 0;
    ASSERT_EQ(frames->GetBinaryValue("Placement", &data, length), 0u);
    std::unique_ptr<BYTE[]> owned(data);
    ASSERT_EQ(length, 126u);
    EXPECT_EQ(data[125], BYTE(125 * 3));
    SECPersistentTreeNode* deep = frames->FindChild("Deep");
    ASSERT_NE(deep, nullptr);
    EXPECT_STREQ(Value(deep, "Key"), "value");
    // a profile file lists the empty child, so it exists, with nothing in it; a registry
    // key is only made for a value
    SECPersistentTreeNode* empty = root->FindChild("Empty");
    ASSERT_EQ(empty != nullptr, emptyKept);
    if (empty != nullptr)
        EXPECT_EQ(empty->GetPairCount(), 0);
}

}  // namespace

TEST(SECPersistentTreeNode, ResultCodes)
{
    SECPersistentTreeNode loose;
    EXPECT_EQ(loose.SetStringValue("", "x"), 2u | 8u);
    EXPECT_EQ(loose.AddChild(&loose), 2u);
    EXPECT_EQ(loose.InitNode(""), 4u);
    EXPECT_FALSE(loose.IsInitialized());
    EXPECT_EQ(loose.InitNode("Root"), 0u);
    EXPECT_EQ(loose.InitNode(""), 5u);
    EXPECT_EQ(loose.InitNode("Again"), 1u);
    EXPECT_STREQ(loose.GetNodeName(), "Root");
    EXPECT_EQ(loose.AddChild(NULL), 4u);

    EXPECT_EQ(loose.SetStringValue("k", "one"), 0u);
    EXPECT_EQ(loose.SetStringValue("k", "two", FALSE), 16u);
    EXPECT_STREQ(Value(&loose, "k"), "one");
    EXPECT_EQ(loose.SetStringValue("other", "x"), 0u);
    EXPECT_EQ(loose.SetStringValue("k", "three", TRUE), 0u);
    EXPECT_EQ(loose.GetPairCount(), 2);
    POSITION pos = loose.GetFirstKeyValuePairPosition();
    CString key, value;
    loose.GetNextKeyValuePair(pos, key, value);
    EXPECT_STREQ(key, "k");  // keeps its place
    EXPECT_STREQ(value, "three");
    CString out;
    EXPECT_EQ(loose.GetStringValue("none", out, "dflt"), 64u);
    EXPECT_STREQ(out, "dflt");
    EXPECT_EQ(loose.SetBinaryValue("b", NULL, 3), 128u);
    UINT length = 0;
    EXPECT_EQ(loose.GetBinaryValue("b", NULL, length), 128u);

    // siblings' names are unique: the factory drops a node its parent refuses
    SECPTNFactory factory;
    SECPersistentTreeNode* a = factory.CreateNode("A", &loose);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(factory.CreateNode("A", &loose), nullptr);
    EXPECT_EQ(factory.GetCount(), 1);
    SECPersistentTreeNode twin;
    EXPECT_EQ(twin.InitNode("A", &loose), 32u);
    EXPECT_FALSE(twin.IsInitialized());
    SECPersistentTreeNode unready;
    EXPECT_EQ(twin.InitNode("B", &unready), 0xFFFFu);  // the parent refuses for another reason
    EXPECT_NE(factory.CreateNode("a", &loose), nullptr);  // names compare exactly
    CStringList path;
    factory.CreateNode("Leaf", a)->GetPathNames(path);
    ASSERT_EQ(path.GetCount(), 3);
    EXPECT_STREQ(path.GetHead(), "Leaf");
    EXPECT_STREQ(path.GetTail(), "Root");
    EXPECT_FALSE(factory.DestroyNode(&twin));
    EXPECT_TRUE(factory.DestroyNode(a->FindChild("Leaf")));
    EXPECT_EQ(a->GetChildCount(), 0);
}

TEST(SECPersistentTreeNode, TextForms)
{
    SECPersistentTreeNode node;
    node.InitNode("N");
    const BYTE balk[] = {0x01, 0xAB};
    EXPECT_STREQ(SECPersistentTreeNode::EncodeBinary(balk, 2), "BALK");
    UINT length = 0;
    std::unique_ptr<BYTE[]> decoded(SECPersistentTreeNode::DecodeBinary("BALKP", length));
    ASSERT_EQ(length, 2u);  // the odd letter is ignored
    EXPECT_EQ(decoded[1], 0xAB);

    // 125 bytes: one value of 250 letters; 126 bytes: a count of 2 and pieces of 250 and 2
    BYTE block[126] = {};
    EXPECT_EQ(node.SetBinaryValue("short", block, 125), 0u);
    EXPECT_EQ(Value(&node, "short").GetLength(), 250);
    EXPECT_EQ(node.SetBinaryValue("long", block, 126), 0u);
    EXPECT_STREQ(Value(&node, "long_BinCount"), "2");
    EXPECT_EQ(Value(&node, "long_BinVal0").GetLength(), 250);
    EXPECT_EQ(Value(&node, "long_BinVal1").GetLength(), 2);
    EXPECT_STREQ(Value(&node, "long"), "<missing>");
    BYTE* data = NULL;
    EXPECT_EQ(node.GetBinaryValue("long", &data, length), 0u);
    delete[] data;
    EXPECT_EQ(length, 126u);
    // a 501-character text is three pieces
    EXPECT_EQ(node.WriteLongString("t", CString('x', 501)), 0u);
    EXPECT_STREQ(Value(&node, "t_BinCount"), "3");
    // zero bytes: an empty value that reads back as a failure
    EXPECT_EQ(node.SetBinaryValue("zero", block, 0), 0u);
    EXPECT_STREQ(Value(&node, "zero"), "");
    EXPECT_EQ(node.GetBinaryValue("zero", &data, length), 0xFFFFu);
    EXPECT_EQ(node.GetBinaryValue("absent", &data, length), 64u);
    // a stored count far beyond the pieces there ends at the first missing one
    node.SetStringValue("huge_BinCount", "2000000000");
    node.SetStringValue("huge_BinVal0", "BALK");
    node.SetStringValue("huge_BinVal2", "CCCC");
    EXPECT_EQ(node.GetBinaryValue("huge", &data, length), 0u);
    delete[] data;
    EXPECT_EQ(length, 2u);

    struct Case { const char* text; int number; BOOL truth; } cases[] = {
        {"True", 0, TRUE}, {"TRUE", 0, TRUE}, {"tRuE", 0, TRUE}, {"1", 1, FALSE},
        {" -12abc", -12, FALSE}, {"+7", 7, FALSE}, {"abc", 0, FALSE}, {"", 0, FALSE},
        {"4294967295", -1, FALSE}};
    for (const Case& c : cases) {
        node.SetStringValue("v", c.text);
        int number = 99;
        BOOL truth = 2;
        EXPECT_EQ(node.GetIntValue("v", number), 0u);
        node.GetBoolValue("v", truth);
        EXPECT_EQ(number, c.number) << c.text;
        EXPECT_EQ(truth, c.truth) << c.text;
    }
    UINT u = 0;
    node.SetIntValue("u", -1);
    node.GetUIntValue("u", u);
    EXPECT_EQ(u, 0xFFFFFFFFu);
    int missing = 0;
    EXPECT_EQ(node.GetIntValue("none", missing, 5), 64u);
    EXPECT_EQ(missing, 5);
}

TEST(SECPersistentTreeStorage, ProfileFileRoundTrip)
{
    std::string path = TempFile("sec_ptn_test.ini");
    DeleteFileA(path.c_str());
    {
        SampleTree sample;
        SECPTNStrategyProfile strategy(path.c_str());
        EXPECT_TRUE(sample.root->WriteTree(&strategy));
        // rewriting replaces: each key once in the file
        sample.frames->SetStringValue("Name", "second");
        EXPECT_TRUE(sample.root->WriteTree(&strategy));
    }
    std::string text = ProfileText(path);
    EXPECT_NE(text.find("[WorkState_v1_1.Frames]"), std::string::npos);
    EXPECT_NE(text.find("ptn_Child1=Frames"), std::string::npos);
    EXPECT_EQ(text.find("[WorkState_v1_1.Empty]"), std::string::npos);  // no section
    EXPECT_EQ(text.find("Name="), text.rfind("Name="));

    SampleTree sample;
    SECPersistentTreeNode root;
    root.InitNode("WorkState_v1_1");
    SECPTNStrategyProfile reader(path.c_str());
    ASSERT_TRUE(root.ReadTree(&reader));
    ExpectSameAsSample(&root, sample, true);
    EXPECT_STREQ(Value(root.FindChild("Frames"), "Name"), "second");
    SECPersistentTreeNode* empty = root.FindChild("Empty");
    EXPECT_FALSE(empty->ReadTree(&reader));  // no section

    // a key named like a child entry is always a child
    WritePrivateProfileStringA("WorkState_v1_1", "ptn_ChildExtra", "Extra", path.c_str());
    SECPersistentTreeNode again;
    again.InitNode("WorkState_v1_1");
    ASSERT_TRUE(again.ReadTree(&reader));
    EXPECT_NE(again.FindChild("Extra"), nullptr);
    EXPECT_STREQ(Value(&again, "ptn_ChildExtra"), "<missing>");

    SECPersistentTreeNode nothing;
    nothing.InitNode("NoSuchRoot");
    EXPECT_FALSE(nothing.ReadTree(&reader));
    EXPECT_FALSE(nothing.ReadTree(NULL));
    SECPersistentTreeNode loose;
    EXPECT_FALSE(loose.WriteTree(&reader));
    DeleteFileA(path.c_str());
}

TEST(SECPersistentTreeStorage, ProfileSectionsWithManyKeys)
{
    // a key list longer than the first buffer and than 8192 characters
    std::string path = TempFile("sec_ptn_keys.ini");
    DeleteFileA(path.c_str());
    SECPersistentTreeNode root;
    root.InitNode("Root");
    for (int i = 0; i < 300; i++) {
        char key[48];
        sprintf(key, "SomeRatherLongKeyNameForTheList%03d", i);
        root.SetIntValue(key, i);
    }
    SECPTNStrategyProfile strategy(path.c_str());
    ASSERT_TRUE(root.WriteTree(&strategy));
    SECPersistentTreeNode back;
    back.InitNode("Root");
    ASSERT_TRUE(back.ReadTree(&strategy));
    EXPECT_EQ(back.GetPairCount(), 300);
    EXPECT_STREQ(Value(&back, "SomeRatherLongKeyNameForTheList299"), "299");
    DeleteFileA(path.c_str());
}

TEST(SECPersistentTreeStorage, RegistryRoundTrip)
{
    const char* base = "Software\\QuorvelTests\\PersistentTree";
    RegDeleteTreeA(HKEY_CURRENT_USER, base);
    {
        SampleTree sample;
        SECPTNStrategyRegistry strategy(base);
        EXPECT_STREQ(strategy.m_strStorageName, "Software\\QuorvelTests\\PersistentTree\\");
        EXPECT_TRUE(sample.root->WriteTree(&strategy));
        sample.frames->SetStringValue("Name", "second");
        EXPECT_TRUE(sample.root->WriteTree(&strategy));  // cleared and written again
    }
    SECRegistry reg;
    reg.Connect(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.Open("Software\\QuorvelTests\\PersistentTree\\WorkState_v1_1\\Frames"));
    EXPECT_EQ(reg.m_dwNumberOfValues, 4u);  // Name, Placement_BinCount, _BinVal0, _BinVal1
    reg.Close();

    SampleTree sample;
    SECPersistentTreeNode root;
    root.InitNode("WorkState_v1_1");
    SECPTNStrategyRegistry reader(base);
    ASSERT_TRUE(root.ReadTree(&reader));
    ExpectSameAsSample(&root, sample, false);
    EXPECT_STREQ(Value(root.FindChild("Frames"), "Name"), "second");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuorvelTests\\PersistentTree");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuorvelTests");
    SECPersistentTreeNode gone;
    gone.InitNode("WorkState_v1_1");
    EXPECT_FALSE(gone.ReadTree(&reader));
}
