// The masked edit driven by real key, character and clipboard messages on edit controls of
// a dialog: the display, typing in both modes, caret moves over literals, deleting,
// clipboard, undo, data exchange.
#include "gtest_wine.h"
#include "SECMaskEdit.h"
#include <string>

namespace {

const char kPhone[] = "(###) ###-####";

class MaskEditTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(400));
        ASSERT_TRUE(edit.AttachEdit(401, &dlg));
    }
    void TearDown() override { dlg.DestroyWindow(); }
    void Type(const char* text)
    {
        for (const char* p = text; *p; p++)
            edit.SendMessage(WM_CHAR, (BYTE)*p, 1);
    }
    void Key(UINT vk)
    {
        edit.SendMessage(WM_KEYDOWN, vk, 1);
        if (vk == VK_BACK)
            edit.SendMessage(WM_CHAR, 8, 1);  // as TranslateMessage would add
    }
    std::string Shown() const
    {
        char text[128] = {};
        ::GetWindowTextA(edit.m_hWnd, text, sizeof text);
        return text;
    }
    int Caret() const { return HIWORD(edit.GetSel()); }
    void SetClipboard(const char* text)
    {
        ASSERT_TRUE(OpenClipboard(dlg.m_hWnd));
        EmptyClipboard();
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
        strcpy((char*)GlobalLock(h), text);
        GlobalUnlock(h);
        SetClipboardData(CF_TEXT, h);
        CloseClipboard();
    }
    std::string Clipboard()
    {
        std::string text;
        if (OpenClipboard(dlg.m_hWnd)) {
            HANDLE h = GetClipboardData(CF_TEXT);
            if (h != NULL) {
                text = (const char*)GlobalLock(h);
                GlobalUnlock(h);
            }
            CloseClipboard();
        }
        return text;
    }
    CDialog dlg{400};
    SECMaskEdit edit;
};

}  // namespace

TEST_F(MaskEditTest, PhoneMaskTyping)
{
    ASSERT_TRUE(edit.SetMask(kPhone));
    EXPECT_EQ(Shown(), "(   )    -    ");
    EXPECT_EQ(Caret(), 1);
    EXPECT_FALSE(edit.GetModify());
    Type("x");  // a letter in a digit position: nothing
    EXPECT_EQ(Shown(), "(   )    -    ");
    EXPECT_EQ(Caret(), 1);
    Type("123");
    EXPECT_EQ(Shown(), "(123)    -    ");
    EXPECT_EQ(Caret(), 6);  // over ") " to the next placeholder
    EXPECT_TRUE(edit.GetModify());
    CString data;
    edit.GetData(data, FALSE);
    EXPECT_STREQ(data, "123       ");
    edit.GetData(data, TRUE);
    EXPECT_STREQ(data, "123");
    Type("4567890");
    EXPECT_EQ(Shown(), "(123) 456-7890");
    Type("1");  // past the end: nothing to type into
    EXPECT_EQ(Shown(), "(123) 456-7890");

    // overwrite in the middle, then insert mode in a full mask does nothing
    edit.SetSel(2, 2);
    Type("9");
    EXPECT_EQ(Shown(), "(193) 456-7890");
    Key(VK_INSERT);
    EXPECT_TRUE(edit.IsInsertMode());
    edit.SetSel(2, 2);
    Type("8");
    EXPECT_EQ(Shown(), "(193) 456-7890");
    // Backspace removes the placeholder before the caret; the rest moves left over literals
    edit.SetSel(2, 2);
    Key(VK_BACK);
    EXPECT_EQ(Shown(), "(934) 567-890 ");
    EXPECT_EQ(Caret(), 1);
    Key(VK_BACK);  // at the first placeholder: nothing
    EXPECT_EQ(Shown(), "(934) 567-890 ");
    // now there is room: insert shifts to the right
    Type("1");
    EXPECT_EQ(Shown(), "(193) 456-7890");
    // Delete at the caret, the caret stays
    edit.SetSel(6, 6);
    Key(VK_DELETE);
    EXPECT_EQ(Shown(), "(193) 567-890 ");
    EXPECT_EQ(Caret(), 6);
    // a selection is deleted as one
    edit.SetSel(1, 8);
    Key(VK_DELETE);
    EXPECT_EQ(Shown(), "(789) 0  -    ");
    EXPECT_EQ(Caret(), 1);
    // undo returns to the text before the last change, and back
    EXPECT_TRUE(edit.CanUndo());
    edit.Undo();
    EXPECT_EQ(Shown(), "(193) 567-890 ");
    edit.Undo();
    EXPECT_EQ(Shown(), "(789) 0  -    ");
}

TEST_F(MaskEditTest, CaretKeys)
{
    edit.SetMask(kPhone);
    Type("1234");
    EXPECT_EQ(Caret(), 7);
    Key(VK_HOME);
    EXPECT_EQ(Caret(), 1);
    Key(VK_END);
    EXPECT_EQ(Caret(), 7);  // just after the entered text
    Key(VK_LEFT);
    EXPECT_EQ(Caret(), 6);
    Key(VK_LEFT);
    EXPECT_EQ(Caret(), 3);  // over the literals
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), 6);
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), 7);
    Key(VK_RIGHT);  // at the end of the text: stays
    EXPECT_EQ(Caret(), 7);
    Key(VK_UP);
    Key(VK_DOWN);
    EXPECT_EQ(Caret(), 7);
    // a click or the focus past the text lands just after it
    edit.SetSel(12, 12);
    dlg.GetDlgItem(402)->SetFocus();
    edit.SetFocus();
    EXPECT_EQ(Caret(), 7);
    // Shift+Home selects from the start to the caret
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    Key(VK_HOME);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(edit.GetSel(), (DWORD)MAKELONG(0, 7));
}

TEST_F(MaskEditTest, ClipboardAndPaste)
{
    edit.SetMask("#####");
    SetClipboard("12a34");
    edit.SendMessage(WM_PASTE);
    EXPECT_EQ(Shown(), "1234 ");
    CString data;
    edit.GetData(data, FALSE);
    EXPECT_STREQ(data, "1234 ");

    edit.SetMask(kPhone);
    Type("5551234567");
    edit.SetSel(0, 6);
    edit.SendMessage(WM_COPY);
    EXPECT_EQ(Clipboard(), "555");  // literals left out
    edit.SetSel(6, 9);
    edit.SendMessage(WM_CUT);
    EXPECT_EQ(Clipboard(), "123");
    EXPECT_EQ(Shown(), "(555) 456-7   ");
    EXPECT_EQ(Caret(), 6);
    // pasting inserts at the selection's start
    SetClipboard("89");
    edit.SetSel(1, 1);
    edit.SendMessage(WM_PASTE);
    EXPECT_EQ(Shown(), "(895) 554-567 ");
    edit.SetSel(1, 1);
    edit.SendMessage(WM_CLEAR);
    EXPECT_EQ(Shown(), "(955) 545-67  ");
}

TEST_F(MaskEditTest, MaskForms)
{
    // an escaped mask character is a literal
    edit.SetMask("\\#");
    EXPECT_EQ(Shown(), "#");
    EXPECT_EQ(edit.NextPlaceholder(-1), -1);
    Type("1");
    EXPECT_EQ(Shown(), "#");
    edit.SetMask("a\\\\b");
    EXPECT_EQ(Shown(), "a\\b");

    struct Case { const char* mask; const char* typed; const char* shown; UINT control; } cases[] = {
        {"&&&", "a1!", "a1!", 401},   {"???", "a1b", "ab ", 401}, {"AAA", "a1!", "a1 ", 401},
        {"LLL", "aBc", "abc", 401},   {"UUU", "aBc", "ABC", 401}, {"LLL", "aBc", "ABC", 402},
        {"###", "123", "   ", 403},
    };
    for (const Case& c : cases) {
        SECMaskEdit other;
        SECMaskEdit* target = &edit;
        if (c.control != 401) {
            ASSERT_TRUE(other.AttachEdit(c.control, &dlg));
            target = &other;
        }
        target->SetMask(c.mask);
        for (const char* p = c.typed; *p; p++)
            target->SendMessage(WM_CHAR, (BYTE)*p, 1);
        char text[16] = {};
        ::GetWindowTextA(target->m_hWnd, text, sizeof text);
        EXPECT_STREQ(text, c.shown) << c.mask << " " << c.typed;
        if (target == &other)
            other.UnsubclassWindow();
    }

    // prompt characters
    edit.SetMask("##-##");
    Type("1");
    edit.SetPromptChar('_');
    EXPECT_EQ(Shown(), "1_-__");
    edit.SetPromptChar(0);
    EXPECT_EQ(edit.GetPromptChar(), '_');
    CString data;
    edit.GetData(data, FALSE);
    EXPECT_STREQ(data, "1   ");
    // SetData: invalid characters skipped, a prompt keeps its place without skipping
    CString text = "x2_4";
    EXPECT_TRUE(edit.SetData(&text, 0, FALSE, TRUE));
    EXPECT_EQ(Shown(), "24-__");
    EXPECT_TRUE(edit.SetData(&text, 0, FALSE, FALSE));
    EXPECT_EQ(Shown(), "2_-4_");
    EXPECT_FALSE(edit.SetData(&text, 9, FALSE, TRUE));
    SECMaskEdit empty;
    EXPECT_FALSE(empty.SetData(&text, 0, FALSE, TRUE));

    // data exchange
    CString value = "98", shown;
    CDataExchange load(&dlg, FALSE);
    DDX_MaskEdit(&load, edit, value, shown);
    EXPECT_EQ(Shown(), "98-__");
    CDataExchange save(&dlg, TRUE);
    DDX_MaskEdit(&save, edit, value, shown);
    EXPECT_STREQ(shown, "98-__");
    EXPECT_STREQ(value, "98  ");
}
