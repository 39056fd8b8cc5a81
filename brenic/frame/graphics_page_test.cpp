// The Graphics page on its own (no video manager): its buttons attached with their images
// and tooltips, tool and colour buttons reaching the settings, the tools released.
#include "gtest_wine.h"
#include <afxwin.h>
#include "AppConfig.h"
#include "GraphicsCmdDlg.h"
#include "Globals.h"

namespace {

class GraphicsPage : public ::testing::Test
{
protected:
    CAppConfig config;
    CGraphicsCmdDlg page;
    void SetUp() override
    {
        g_pAppConfig = &config;
        config.SetDrawingTool(-1);
        ASSERT_TRUE(page.Create(CWnd::GetDesktopWindow()));
    }
    void TearDown() override
    {
        page.DestroyWindow();
        g_pAppConfig = NULL;
    }
    void Click(UINT id)
    {
        CBaseBmpButton* b = page.GetButton(id);
        ASSERT_NE(nullptr, b);
        if (b->m_bCheckMode)
            b->SetCheck(!b->GetCheck());  // as a release over the button does
        page.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(b->m_hWnd));
    }
};

TEST_F(GraphicsPage, ButtonsAreAttachedWithTheirImages)
{
    const UINT ids[] = {1091, 1092, 1094, 1095, 1096, 1150, 1137, 1231, 1149, 1097, 1098,
                        1100, 1102, 1103, 1136, 1077, 1078, 1079, 1034, 1148, 1015, 1016,
                        1279, 1280, 1281, 1282, 1283};
    for (UINT id : ids) {
        CBaseBmpButton* b = page.GetButton(id);
        ASSERT_NE(nullptr, b) << id;
        EXPECT_NE(nullptr, b->m_hWnd) << id;
        EXPECT_NE(nullptr, b->m_bmpNormal.m_hObject) << id;
    }
    EXPECT_NE(nullptr, page.GetButton(1092)->m_bmpPressed.m_hObject);
    EXPECT_TRUE(page.GetButton(1095)->m_bCheckMode);
    EXPECT_FALSE(page.GetButton(1091)->m_bCheckMode);
    char text[64] = "";
    LoadStringA(AfxGetResourceHandle(), 1231, text, sizeof text);
    EXPECT_STREQ("Draw Protractor", text);
}

TEST_F(GraphicsPage, ToolAndColourButtons)
{
    Click(1231);
    EXPECT_EQ(4, config.GetDrawingTool());
    Click(1095);  // another tool: the protractor button is released
    EXPECT_EQ(0, config.GetDrawingTool());
    EXPECT_FALSE(page.GetButton(1231)->GetCheck());
    Click(1095);  // released: tools reset
    EXPECT_EQ(-1, config.GetDrawingTool());
    EXPECT_TRUE(page.AreToolsReset());

    Click(1282);
    EXPECT_EQ(COLORREF(0xFF0000), config.GetLineColor());
    EXPECT_TRUE(page.GetButton(1282)->GetCheck());
    Click(1280);
    EXPECT_EQ(COLORREF(0x0000FF), config.GetLineColor());
    EXPECT_FALSE(page.GetButton(1282)->GetCheck());
}

}  // namespace
