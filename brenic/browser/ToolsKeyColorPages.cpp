#include "ToolsKeyColorPages.h"
#include "AppConfig.h"
#include "BaseDialog.h"
#include "Globals.h"
#include "SECColorWell.h"
#include "options_res.h"

// ---------------------------------------------------------------------------------------
// Keyboard page

IMPLEMENT_DYNCREATE(CToolsKeyBdPropPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CToolsKeyBdPropPage, CPropertyPage)
    ON_CBN_SELCHANGE(1132, OnSelChange)
    ON_CBN_SELCHANGE(1019, OnSelChange)
    ON_CBN_SELCHANGE(1131, OnSelChange)
END_MESSAGE_MAP()

CToolsKeyBdPropPage::CToolsKeyBdPropPage() : CPropertyPage(IDD_TOOLS_KEYBOARD) {}

void CToolsKeyBdPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1132, m_startManual);
    DDX_Control(pDX, 1019, m_triggerAuto);
    DDX_Control(pDX, 1131, m_startAuto);
}

BOOL CToolsKeyBdPropPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    for (CComboBox* combo : {&m_startManual, &m_triggerAuto, &m_startAuto}) {
        combo->AddString("None");
        for (int key = 1; key <= 6; ++key) {
            CString name;
            name.Format("F%d", key);
            combo->AddString(name);
        }
    }
    // A stored key above F6 leaves its combo without a selection.
    m_startManual.SetCurSel(g_pAppConfig->GetHotKey(STARTMANRECKEY));
    m_triggerAuto.SetCurSel(g_pAppConfig->GetHotKey(TRIGGERAUTORECKEY));
    m_startAuto.SetCurSel(g_pAppConfig->GetHotKey(STARTAUTORECKEY));
    return TRUE;
}

void CToolsKeyBdPropPage::OnSelChange()
{
    SetModified(TRUE);
}

int CToolsKeyBdPropPage::ChosenKey(int selection, int storedKey)
{
    return selection == CB_ERR ? storedKey : selection;
}

BOOL CToolsKeyBdPropPage::KeysClash(int startManual, int triggerAuto, int startAuto)
{
    // "None" takes a value of its own per operation, so several may have no key.
    const int a = startManual ? startManual : -1;
    const int b = triggerAuto ? triggerAuto : -2;
    const int c = startAuto ? startAuto : -3;
    return a == b || a == c || b == c;
}

BOOL CToolsKeyBdPropPage::OnApply()
{
    if (!GetSafeHwnd())
        return CPropertyPage::OnApply();
    const int a = ChosenKey(m_startManual.GetCurSel(), g_pAppConfig->GetHotKey(STARTMANRECKEY));
    const int b =
        ChosenKey(m_triggerAuto.GetCurSel(), g_pAppConfig->GetHotKey(TRIGGERAUTORECKEY));
    const int c = ChosenKey(m_startAuto.GetCurSel(), g_pAppConfig->GetHotKey(STARTAUTORECKEY));
    if (KeysClash(a, b, c)) {
        AfxMessageBox("Please select a unique function key for each operation", MB_ICONSTOP);
        return FALSE;
    }
    g_pAppConfig->SetHotKey(STARTMANRECKEY, a);
    g_pAppConfig->SetHotKey(TRIGGERAUTORECKEY, b);
    g_pAppConfig->SetHotKey(STARTAUTORECKEY, c);
    SetModified(FALSE);
    return CPropertyPage::OnApply();
}

void CToolsKeyBdPropPage::OnOK()
{
    CPropertyPage::OnOK();
}

// ---------------------------------------------------------------------------------------
// Color Scheme page

IMPLEMENT_DYNCREATE(CToolsColorPropPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CToolsColorPropPage, CPropertyPage)
    ON_BN_CLICKED(1184, OnDefaultColors)
    ON_MESSAGE(SECCW_COLOR_CHOSEN, OnColorChosen)
END_MESSAGE_MAP()

CToolsColorPropPage::CToolsColorPropPage()
    : CPropertyPage(IDD_TOOLS_COLOR), m_crBackground(0), m_bDefaultColors(1)
{
}

void CToolsColorPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, 1184, m_bDefaultColors);
}

BOOL CToolsColorPropPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_crBackground = g_pAppConfig->GetBkgColor();
    m_well.BindDialogItem(1185, this);
    m_well.SetColor(m_crBackground);
    m_well.SetOtherButton(TRUE);
    m_well.SetPaletteRealize(FALSE);
    m_bDefaultColors = g_pAppConfig->GetUseDefaultColors() ? 1 : 0;
    UpdateData(FALSE);
    EnableCustomColors();
    return TRUE;
}

void CToolsColorPropPage::EnableCustomColors()
{
    const BOOL custom = !m_bDefaultColors;
    m_well.EnableWindow(custom);
    for (int id : {1186, 1187})
        if (CWnd* item = GetDlgItem(id))
            item->EnableWindow(custom);
}

void CToolsColorPropPage::OnDefaultColors()
{
    UpdateData(TRUE);
    SetModified(TRUE);
    EnableCustomColors();
}

LRESULT CToolsColorPropPage::OnColorChosen(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 1185) {
        m_crBackground = (COLORREF)lParam;
        SetModified(TRUE);
    }
    return 0;
}

void CToolsColorPropPage::OnOK()
{
    UpdateData(TRUE);
    if (m_bDefaultColors)
        CBaseDialog::SetSolidBackground();
    else
        CBaseDialog::SetBackgroundColor(m_crBackground);
    if (CWnd* main = AfxGetMainWnd())
        main->RedrawWindow(NULL, NULL,
                           RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    g_pAppConfig->SetUseDefaultColors(m_bDefaultColors);
    g_pAppConfig->SetBkgColor(m_crBackground);
    CPropertyPage::OnOK();
}
