// The base of the program's panel dialogs: a tiled grey texture behind the controls, or one
// solid colour chosen in the options; OK and Cancel as bitmap buttons; each control's tooltip
// is the string resource with the control's id.
#pragma once
#include "SECBitmapDialog.h"
#include "SECButtons.h"

class CBaseDialog : public SECBitmapDialog
{
    DECLARE_DYNAMIC(CBaseDialog)
public:
    CBaseDialog(UINT nIDTemplate, CWnd* pParent = NULL);
    virtual ~CBaseDialog();

    // Every base dialog paints this colour (solid) from now on.
    static void SetBackgroundColor(COLORREF color);
    // Back to the texture.
    static void SetSolidBackground() { s_bSolidBackground = FALSE; }
    static BOOL IsSolidBackground() { return s_bSolidBackground; }
    static COLORREF GetBackgroundColor() { return s_crBackground; }

    // Modeless, from the template given to the constructor.
    using SECBitmapDialog::Create;
    virtual BOOL Create(CWnd* pParent);

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnToolTipNotify(UINT id, NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    UINT m_nTemplateId;
    SECBitmapButton m_btnOK;
    SECBitmapButton m_btnCancel;

    static BOOL s_bSolidBackground;
    static COLORREF s_crBackground;
    // The solid brush of s_crBackground: a plain handle, deleted at exit without the class
    // library's handle maps (which may be gone by then).
    static HBRUSH s_brBackground;
};
