#include "BaseDialog.h"
#include "AppConfig.h"
#include "Globals.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CBaseDialog, SECBitmapDialog)

BOOL CBaseDialog::s_bSolidBackground = FALSE;
COLORREF CBaseDialog::s_crBackground = 0x99B1BF;
HBRUSH CBaseDialog::s_brBackground = NULL;

namespace {
struct BrushAtExit
{
    HBRUSH* brush;
    ~BrushAtExit()
    {
        if (*brush)
            ::DeleteObject(*brush);
    }
};
}  // namespace

BEGIN_MESSAGE_MAP(CBaseDialog, SECBitmapDialog)
    ON_WM_ERASEBKGND()
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipNotify)
END_MESSAGE_MAP()

CBaseDialog::CBaseDialog(UINT nIDTemplate, CWnd* pParent)
    : SECBitmapDialog(nIDTemplate, pParent), m_nTemplateId(nIDTemplate)
{
    s_bSolidBackground = FALSE;
    s_crBackground = 0x99B1BF;
}

CBaseDialog::~CBaseDialog()
{
}

void CBaseDialog::SetBackgroundColor(COLORREF color)
{
    s_bSolidBackground = TRUE;
    s_crBackground = color;
    static BrushAtExit atExit = {&s_brBackground};
    if (s_brBackground)
        ::DeleteObject(s_brBackground);
    s_brBackground = ::CreateSolidBrush(color);
}

BOOL CBaseDialog::Create(CWnd* pParent)
{
    return CDialog::Create(m_nTemplateId, pParent);
}

void CBaseDialog::DoDataExchange(CDataExchange* pDX)
{
    SECBitmapDialog::DoDataExchange(pDX);
}

BOOL CBaseDialog::OnInitDialog()
{
    const BOOL useDefault = g_pAppConfig ? g_pAppConfig->GetUseDefaultColors() : TRUE;
    s_bSolidBackground = !useDefault;
    if (!useDefault)
        SetBackgroundColor(g_pAppConfig->GetBkgColor());
    SECBitmapDialog::OnInitDialog();
    SetBitmap("graytex4", tile);
    static const struct { UINT id; UINT image; } buttons[] = {{IDOK, IDB_BASE_OK},
                                                             {IDCANCEL, IDB_BASE_CANCEL}};
    SECBitmapButton* const attach[] = {&m_btnOK, &m_btnCancel};
    for (int i = 0; i < 2; ++i)
        if (CWnd* item = GetDlgItem(buttons[i].id)) {
            item->ModifyStyle(0, BS_OWNERDRAW);
            attach[i]->BindDialogItem(buttons[i].id, SECBitmapButton::imageLeft,
                                      MAKEINTRESOURCE(buttons[i].image), this);
        }
    EnableToolTips(TRUE);
    return TRUE;
}

BOOL CBaseDialog::OnEraseBkgnd(CDC* pDC)
{
    if (!s_bSolidBackground)
        return SECBitmapDialog::OnEraseBkgnd(pDC);
    if (!s_brBackground)
        SetBackgroundColor(s_crBackground);
    CRect box;
    pDC->GetClipBox(&box);
    ::FillRect(pDC->m_hDC, &box, s_brBackground);
    return TRUE;
}

BOOL CBaseDialog::OnToolTipNotify(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    TOOLTIPTEXTA* ttt = reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR);
    if (!(ttt->uFlags & TTF_IDISHWND))
        return FALSE;
    const UINT id = UINT(::GetDlgCtrlID(reinterpret_cast<HWND>(pNMHDR->idFrom)));
    if (!id)
        return FALSE;
    ttt->lpszText = MAKEINTRESOURCEA(id);
    ttt->hinst = AfxGetResourceHandle();
    if (pResult)
        *pResult = 0;
    return TRUE;
}
