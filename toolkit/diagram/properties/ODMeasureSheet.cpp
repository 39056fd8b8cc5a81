#include "ODMeasureSheet.h"
#include <cmath>
#include "ODComponent.h"

namespace {

void ExchangeUnit(CDataExchange* pDX, int id, WORD& unit)
{
    int index = unit;
    DDX_CBIndex(pDX, id, index);
    if (pDX->m_bSaveAndValidate && CODMeasure::IsValidUnit((WORD)index))
        unit = (WORD)index;
}

// A length of the scale must be a number above 0: a drawing length of 0 would make every
// conversion infinite.
void ExchangeLength(CDataExchange* pDX, int id, float& value)
{
    float typed = value;
    DDX_Text(pDX, id, typed);
    if (pDX->m_bSaveAndValidate && !(typed > 0.0f && std::isfinite(typed))) {
        pDX->PrepareEditCtrl(id);
        AfxMessageBox("Please enter a number greater than 0.", MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    value = typed;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Size and Units

CODCanvasSizePage::CODCanvasSizePage(IODCoordinateMapping* mapping)
    : CODMeasurePropPage(22040, mapping), m_fHeight(0), m_fWidth(0), m_nUnits(0)
{
}

void CODCanvasSizePage::DoDataExchange(CDataExchange* pDX)
{
    CODMeasurePropPage::DoDataExchange(pDX);
    ExchangeUnit(pDX, idUnits, m_nUnits);
    DDX_Text(pDX, idHeight, m_fHeight);
    DDX_Text(pDX, idWidth, m_fWidth);
}

BOOL CODCanvasSizePage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == idUnits && HIWORD(wParam) == CBN_SELCHANGE) {
        OnUnitChange();
        return TRUE;
    }
    return CODMeasurePropPage::OnCommand(wParam, lParam);
}

void CODCanvasSizePage::OnUnitChange()
{
    // The values last exchanged, not text typed since: that is what the old unit measured.
    const CODMeasure width(m_nUnits, m_fWidth), height(m_nUnits, m_fHeight);
    int index = ((CComboBox*)GetDlgItem(idUnits))->GetCurSel();
    if (index >= 0 && CODMeasure::IsValidUnit((WORD)index))
        m_nUnits = (WORD)index;
    m_fWidth = CODMeasure(m_nUnits, width).GetValue();
    m_fHeight = CODMeasure(m_nUnits, height).GetValue();
    UpdateData(FALSE);
}

// ---------------------------------------------------------------------------------------------
// Drawing Scale

CODDrawingScalePage::CODDrawingScalePage(IODCoordinateMapping* mapping)
    : CODMeasurePropPage(22042, mapping), m_fDrawing(1.0f), m_fReal(1.0f), m_nDrawingUnits(0),
      m_nRealUnits(0)
{
}

void CODDrawingScalePage::DoDataExchange(CDataExchange* pDX)
{
    CODMeasurePropPage::DoDataExchange(pDX);
    ExchangeLength(pDX, idDrawing, m_fDrawing);
    ExchangeUnit(pDX, idDrawingUnits, m_nDrawingUnits);
    ExchangeLength(pDX, idReal, m_fReal);
    ExchangeUnit(pDX, idRealUnits, m_nRealUnits);
}

// ---------------------------------------------------------------------------------------------
// Coordinate Mapping

namespace {
const int kModes[8] = {MM_TEXT,     MM_ANISOTROPIC, MM_ISOTROPIC, MM_HIMETRIC,
                       MM_LOMETRIC, MM_HIENGLISH,   MM_LOENGLISH, MM_TWIPS};
}

CODCoordinateMappingPage::CODCoordinateMappingPage(IODCoordinateMapping* mapping)
    : CODMeasurePropPage(22041, mapping), m_nPhysicalX(1000), m_nPhysicalY(1000),
      m_nLogicalX(1000), m_nLogicalY(1000), m_bPositiveYUp(FALSE), m_nMappingMode(MM_ANISOTROPIC)
{
}

int CODCoordinateMappingPage::FindMappingModeItem(int mode)
{
    CComboBox* combo = (CComboBox*)GetDlgItem(idMode);
    for (int i = 0; combo && i < combo->GetCount(); ++i)
        if ((int)combo->GetItemData(i) == mode)
            return i;
    return -1;
}

void CODCoordinateMappingPage::UpdateUnitLabels()
{
    if (m_pMapping == NULL)
        return;
    const WORD unit = m_pMapping->GetUnits();
    CString name;
    name.LoadString(CODMeasure::GetUnitStringId(unit));
    CODMeasure x(unit), y(unit);
    m_pMapping->LogicalToMeasure(1.0f, x, FALSE);
    m_pMapping->LogicalToMeasure(1.0f, y, TRUE);
    m_strXLabel.Format("%f %s", (double)x.GetValue(), (LPCTSTR)name);
    m_strYLabel.Format("%f %s", (double)y.GetValue(), (LPCTSTR)name);
}

// The combo's items come from the dialog's initialisation data with the base's initialisation;
// their modes and the values are set and shown after it.
BOOL CODCoordinateMappingPage::OnInitDialog()
{
    CODMeasurePropPage::OnInitDialog();
    CComboBox* combo = (CComboBox*)GetDlgItem(idMode);
    for (int i = 0; combo && i < combo->GetCount() && i < 8; ++i)
        combo->SetItemData(i, kModes[i]);
    UpdateUnitLabels();
    UpdateData(FALSE);
    return TRUE;
}

void CODCoordinateMappingPage::DoDataExchange(CDataExchange* pDX)
{
    CODMeasurePropPage::DoDataExchange(pDX);
    CComboBox* combo = (CComboBox*)CWnd::FromHandle(pDX->PrepareCtrl(idMode));
    if (pDX->m_bSaveAndValidate) {
        const int index = combo->GetCurSel();
        if (index >= 0)
            m_nMappingMode = (int)combo->GetItemData(index);
    } else
        combo->SetCurSel(FindMappingModeItem(m_nMappingMode));
    DDX_Text(pDX, idPhysicalX, m_nPhysicalX);
    DDX_Text(pDX, idPhysicalY, m_nPhysicalY);
    DDX_Text(pDX, idLogicalX, m_nLogicalX);
    DDX_Text(pDX, idLogicalY, m_nLogicalY);
    DDX_Check(pDX, idPositiveYUp, m_bPositiveYUp);
    DDX_Text(pDX, idXLabel, m_strXLabel);
    DDX_Text(pDX, idYLabel, m_strYLabel);
}

BOOL CODCoordinateMappingPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam), code = HIWORD(wParam);
    if ((id == idMode && code == CBN_SELCHANGE) ||
        (id >= idPhysicalX && id <= idLogicalY && code == EN_KILLFOCUS)) {
        OnMappingChange();
        return TRUE;
    }
    return CODMeasurePropPage::OnCommand(wParam, lParam);
}

void CODCoordinateMappingPage::OnMappingChange()
{
    UpdateData(TRUE);
    UpdateUnitLabels();
    UpdateData(FALSE);
    const BOOL extents = m_nMappingMode == MM_ANISOTROPIC || m_nMappingMode == MM_ISOTROPIC;
    for (UINT id = idPhysicalX; id <= idLogicalY; ++id)
        GetDlgItem(id)->EnableWindow(extents);
}

// ---------------------------------------------------------------------------------------------
// The sheet

CODMeasurePropSheet::CODMeasurePropSheet(UINT caption, CWnd* parent, UINT firstPage, int flags)
    : CPropertySheet(caption, parent, firstPage), m_mapping(this)
{
    Construct(flags);
}

CODMeasurePropSheet::CODMeasurePropSheet(LPCTSTR caption, CWnd* parent, UINT firstPage, int flags)
    : CPropertySheet(caption, parent, firstPage), m_mapping(this)
{
    Construct(flags);
}

void CODMeasurePropSheet::Construct(int flags)
{
    m_nFlags = flags;
    const BOOL all = flags == 0;
    m_pCanvas = all || (flags & pageCanvas) ? new CODCanvasSizePage(&m_mapping) : NULL;
    m_pScale = all || (flags & pageScale) ? new CODDrawingScalePage(&m_mapping) : NULL;
    m_pMappingPage = all || (flags & pageMapping) ? new CODCoordinateMappingPage(&m_mapping) : NULL;
    ResetPages();
}

CODMeasurePropSheet::~CODMeasurePropSheet()
{
    delete m_pCanvas;
    delete m_pScale;
    delete m_pMappingPage;
}

void CODMeasurePropSheet::AddPages()
{
    CPropertyPage* pages[3] = {m_pCanvas, m_pScale, m_pMappingPage};
    for (CPropertyPage* page : pages)
        if (page && GetPageIndex(page) < 0)
            AddPage(page);
}

INT_PTR CODMeasurePropSheet::DoModal()
{
    AddPages();
    return CPropertySheet::DoModal();
}

BOOL CODMeasurePropSheet::Create(CWnd* parent, DWORD style, DWORD exStyle)
{
    AddPages();
    return CPropertySheet::Create(parent, style, exStyle);
}

void CODMeasurePropSheet::ResetPages()
{
    if (m_pCanvas) {
        m_pCanvas->m_nUnits = 0;
        m_pCanvas->m_fWidth = m_pCanvas->m_fHeight = 0;
    }
    if (m_pMappingPage) {
        m_pMappingPage->m_nPhysicalX = m_pMappingPage->m_nPhysicalY = 1000;
        m_pMappingPage->m_nLogicalX = m_pMappingPage->m_nLogicalY = 1000;
        m_pMappingPage->m_bPositiveYUp = FALSE;
        m_pMappingPage->m_nMappingMode = MM_ANISOTROPIC;
    }
}

void CODMeasurePropSheet::SetMeasureUnits(WORD unit)
{
    if (m_pCanvas && CODMeasure::IsValidUnit(unit))
        m_pCanvas->m_nUnits = unit;
}

WORD CODMeasurePropSheet::GetMeasureUnits() { return m_pCanvas ? m_pCanvas->m_nUnits : 0; }

void CODMeasurePropSheet::SetScale(const CODMeasure& drawing, const CODMeasure& real)
{
    if (m_pScale == NULL)
        return;
    m_pScale->m_fDrawing = drawing.GetValue();
    m_pScale->m_nDrawingUnits = drawing.GetUnits();
    m_pScale->m_fReal = real.GetValue();
    m_pScale->m_nRealUnits = real.GetUnits();
}

void CODMeasurePropSheet::GetScale(CODMeasure& drawing, CODMeasure& real)
{
    if (m_pScale == NULL)
        return;
    drawing = CODMeasure(m_pScale->m_nDrawingUnits, m_pScale->m_fDrawing);
    real = CODMeasure(m_pScale->m_nRealUnits, m_pScale->m_fReal);
}

void CODMeasurePropSheet::SetMappingMode(int mode)
{
    if (m_pMappingPage)
        m_pMappingPage->m_nMappingMode = mode;
}

int CODMeasurePropSheet::GetMappingMode() { return m_pMappingPage ? m_pMappingPage->m_nMappingMode : MM_TEXT; }

void CODMeasurePropSheet::SetPhysicalExtents(CSize size)
{
    if (m_pMappingPage) {
        m_pMappingPage->m_nPhysicalX = size.cx;
        m_pMappingPage->m_nPhysicalY = size.cy;
    }
}

CSize CODMeasurePropSheet::GetPhysicalExtents()
{
    return m_pMappingPage ? CSize(m_pMappingPage->m_nPhysicalX, m_pMappingPage->m_nPhysicalY)
                          : CSize(0, 0);
}

void CODMeasurePropSheet::SetLogicalExtents(CSize size)
{
    if (m_pMappingPage) {
        m_pMappingPage->m_nLogicalX = size.cx;
        m_pMappingPage->m_nLogicalY = size.cy;
    }
}

CSize CODMeasurePropSheet::GetLogicalExtents()
{
    return m_pMappingPage ? CSize(m_pMappingPage->m_nLogicalX, m_pMappingPage->m_nLogicalY)
                          : CSize(0, 0);
}

void CODMeasurePropSheet::SetCanvasSize(CSize size)
{
    if (m_pCanvas == NULL)
        return;
    CODMeasure width(m_pCanvas->m_nUnits), height(m_pCanvas->m_nUnits);
    m_mapping.LogicalToMeasure((float)size.cx, width, FALSE);
    m_mapping.LogicalToMeasure((float)size.cy, height, TRUE);
    m_pCanvas->m_fWidth = width.GetValue();
    m_pCanvas->m_fHeight = height.GetValue();
}

CSize CODMeasurePropSheet::GetCanvasSize()
{
    if (m_pCanvas == NULL)
        return CSize(0, 0);
    float cx, cy;
    m_mapping.MeasureToLogical(CODMeasure(m_pCanvas->m_nUnits, m_pCanvas->m_fWidth), cx, FALSE);
    m_mapping.MeasureToLogical(CODMeasure(m_pCanvas->m_nUnits, m_pCanvas->m_fHeight), cy, TRUE);
    return CSize((int)cx, (int)cy);
}

// The logical part takes the pages' mapping, the mapping their unit and scale; a scale that
// gives no finite positive ratio counts as 1.
void CODMeasurePropSheet::Mapping::Sync()
{
    m_part.SetMapMode(m_pSheet->GetMappingMode());
    const CSize logical = m_pSheet->GetLogicalExtents(), physical = m_pSheet->GetPhysicalExtents();
    m_part.SetExtents(0, logical.cx, physical.cx);
    m_part.SetExtents(1, logical.cy, physical.cy);
    m_mapping.SetUnits(m_pSheet->GetMeasureUnits());
    CODMeasure drawing(0, 1.0f), real(0, 1.0f);
    m_pSheet->GetScale(drawing, real);
    if (!m_mapping.SetScale(drawing, real))
        m_mapping.SetScale(CODMeasure(0, 1.0f), CODMeasure(0, 1.0f));
}

BOOL CODMeasurePropSheet::Mapping::SetUnits(WORD unit)
{
    m_pSheet->SetMeasureUnits(unit);
    return CODMeasure::IsValidUnit(unit);
}

WORD CODMeasurePropSheet::Mapping::GetUnits() { return m_pSheet->GetMeasureUnits(); }

BOOL CODMeasurePropSheet::Mapping::SetScale(const CODMeasure& drawn, const CODMeasure& real)
{
    m_pSheet->SetScale(drawn, real);
    return TRUE;
}

void CODMeasurePropSheet::Mapping::MeasureToLogical(const CODMeasure& m, float& out, BOOL vertical)
{
    Sync();
    m_mapping.MeasureToLogical(m, out, vertical);
}

void CODMeasurePropSheet::Mapping::LogicalToMeasure(float logical, CODMeasure& out, BOOL vertical)
{
    Sync();
    m_mapping.LogicalToMeasure(logical, out, vertical);
}

void CODMeasurePropSheet::Mapping::GetComponentSize(CODComponent* c, CODMeasure& width,
                                                    CODMeasure& height)
{
    const CRect bounds = c->GetBounds();
    LogicalToMeasure((float)bounds.Width(), width, FALSE);
    LogicalToMeasure((float)bounds.Height(), height, TRUE);
}

void CODMeasurePropSheet::Mapping::GetHandlePosition(CODComponent* c, CODMeasure& width,
                                                     CODMeasure& height, int)
{
    GetComponentSize(c, width, height);
}
