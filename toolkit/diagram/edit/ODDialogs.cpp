#include "ODDialogs.h"
#include <afxdlgs.h>

CODZoomDlg::CODZoomDlg(CWnd* parent)
    : CDialog(22038, parent), m_nZoom(100), m_nMinZoom(2), m_nMaxZoom(400)
{
}

CODZoomDlg::CODZoomDlg(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent), m_nZoom(100), m_nMinZoom(2), m_nMaxZoom(400)
{
}

void CODZoomDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 1109, m_nZoom);
    DDV_MinMaxInt(pDX, m_nZoom, m_nMinZoom, m_nMaxZoom);
}

// ---------------------------------------------------------------------------------------------

CODGridDlg::CODGridDlg(CWnd* parent)
    : CDialog(22026, parent), m_bGridVisible(FALSE), m_bSnapToGrid(FALSE), m_bAngleSnap(FALSE),
      m_fHorizontal(0), m_fVertical(0), m_nUnits(0), m_minSpacing(0, 0.01f),
      m_maxSpacing(0, 12.0f)
{
}

void CODGridDlg::SetUnits(WORD unit)
{
    if (!CODMeasure::IsValidUnit(unit))
        return;
    m_nUnits = unit;
    m_minSpacing = CODMeasure(unit, m_minSpacing);
    m_maxSpacing = CODMeasure(unit, m_maxSpacing);
}

BOOL CODGridDlg::OnInitDialog()
{
    m_well.BindDialogItem(idColor, this);
    CDialog::OnInitDialog();
    CString name;
    name.LoadString(CODMeasure::GetUnitStringId(m_nUnits));
    SetDlgItemText(idUnit1, name);
    SetDlgItemText(idUnit2, name);
    return TRUE;
}

void CODGridDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, idVisible, m_bGridVisible);
    DDX_Check(pDX, idSnap, m_bSnapToGrid);
    DDX_Check(pDX, idAngleSnap, m_bAngleSnap);
    DDX_Text(pDX, idVertical, m_fVertical);
    DDV_MinMaxFloat(pDX, m_fVertical, m_minSpacing.GetValue(), m_maxSpacing.GetValue());
    DDX_Text(pDX, idHorizontal, m_fHorizontal);
    DDV_MinMaxFloat(pDX, m_fHorizontal, m_minSpacing.GetValue(), m_maxSpacing.GetValue());
}
