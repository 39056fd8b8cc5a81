#include "ODPropSheet.h"
#include "SECColorWell.h"
#include "diagram_res.h"

BEGIN_MESSAGE_MAP(CODFontCompPP, CODCompPropPage)
    ON_MESSAGE(SECCW_COLOR_CHOSEN, OnColorChosen)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

const int kStandardSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48};

// The style code a record's flags stand for.
int StyleOf(int flags)
{
    if ((flags & 0x20) && (flags & 1))
        return 33;
    if (flags & 0x20)
        return 32;
    if (flags & 1)
        return 1;
    return 64;
}

void SelectByData(CListBox& list, int value, int* index)
{
    *index = -1;
    for (int i = 0; i < list.GetCount(); ++i)
        if ((int)list.GetItemData(i) == value) {
            *index = i;
            break;
        }
    list.SetCurSel(*index);
}

}  // namespace

int CALLBACK CODFontCompPP::AddFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD type,
                                      LPARAM page)
{
    CODFontCompPP* self = (CODFontCompPP*)page;
    if (self->Passes(type))
        self->m_names.AddFamily(font, (int)type);
    return 1;
}

int CALLBACK CODFontCompPP::AddFace(const LOGFONTA* font, const TEXTMETRICA* metric, DWORD type,
                                    LPARAM page)
{
    CODFontCompPP* self = (CODFontCompPP*)page;
    if (!self->Passes(type))
        return 1;
    if (type & TRUETYPE_FONTTYPE) {
        const DWORD flags = ((const NEWTEXTMETRICA*)metric)->ntmFlags;
        if (!(flags & (NTM_ITALIC | NTM_BOLD)))
            self->m_nAvailable |= 0x40;
        if (flags & NTM_ITALIC)
            self->m_nAvailable |= 1;
        if (flags & NTM_BOLD)
            self->m_nAvailable |= 0x20;
        return 1;
    }
    if (type & RASTER_FONTTYPE) {
        CClientDC dc(self);
        const int h = metric->tmHeight - metric->tmInternalLeading;
        self->m_sizes.AddSize(::MulDiv(h, 72, dc.GetDeviceCaps(LOGPIXELSY)), h);
    }
    const BOOL bold = font->lfWeight >= 700, italic = font->lfItalic != 0;
    self->m_nAvailable |= bold && italic ? 0x21 : bold ? 0x20 : italic ? 1 : 0x40;
    return 1;
}

BOOL CODFontCompPP::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_names.SubclassDlgItem(idName, this);
    m_sizes.SubclassDlgItem(idSize, this);
    m_styles.SubclassDlgItem(idStyle, this);
    m_well.BindDialogItem(idColor, this);
    m_names.ResetContent();
    {
        CClientDC dc(this);
        ::EnumFontFamiliesA(dc.GetSafeHdc(), NULL, (FONTENUMPROCA)AddFamily, (LPARAM)this);
    }
    m_bShowing = TRUE;
    if (m_names.GetCount() == 0) {
        // Nothing to choose from: only the colour can still be changed.
        static const UINT ids[] = {idName, idSize, idStyle, idStrikeOut, idUnderline};
        for (UINT id : ids)
            GetDlgItem(id)->EnableWindow(FALSE);
    } else {
        m_names.SetCurSel(0);
        BuildSizesAndStyles();
    }
    ShowRecord();
    m_bShowing = FALSE;
    return TRUE;
}

void CODFontCompPP::ShowRecord()
{
    m_strSize.Format("%i", (int)m_values[1].number);
    m_sizes.SetWindowText(m_strSize);
    m_well.SetColor((COLORREF)m_values[5].number);

    const CString face = m_values[0].text;
    const int found = face.IsEmpty() ? LB_ERR : m_names.FindStringExact(-1, face);
    if (found >= 0) {
        m_names.SetCurSel(found);
        BuildSizesAndStyles();
        m_nNameIndex = found;
        m_names.SetWindowText(face);
    }
    if (!m_same[0]) {
        m_names.SetCurSel(-1);
        m_nNameIndex = -1;
    }

    m_nStyle = m_nRequestedStyle = StyleOf((int)m_values[2].number);
    SelectByData(m_styles, m_nStyle, &m_nStyleIndex);
    if (!m_same[2]) {
        m_styles.SetCurSel(-1);
        m_nStyleIndex = -1;
    }
    m_nSizeIndex = m_sizes.FindStringExact(-1, m_strSize);
    m_sizes.SetCurSel(m_nSizeIndex);
    if (!m_same[1]) {
        m_sizes.SetCurSel(-1);
        m_nSizeIndex = -1;
    }

    ShowCheck(idStrikeOut, 3);
    ShowCheck(idUnderline, 4);
    RebuildSample();
    TakeValues();
    EnableWindow(m_bEnabled);
}

void CODFontCompPP::BuildSizesAndStyles()
{
    m_sizes.ResetContent();
    m_styles.ResetContent();
    m_nAvailable = 0;
    const int chosen = m_names.GetCurSel();
    if (chosen >= 0) {
        CString face;
        m_names.GetText(chosen, face);
        CClientDC dc(this);
        ::EnumFontFamiliesA(dc.GetSafeHdc(), face, (FONTENUMPROCA)AddFace, (LPARAM)this);
    }
    if (chosen < 0 || m_names.GetFontType(chosen) != RASTER_FONTTYPE)
        for (int points : kStandardSizes)
            m_sizes.AddSize(points, 0);

    const BOOL regular = (m_nAvailable & 0x40) != 0;
    const BOOL bold = (m_nAvailable & 0x20) || regular;
    const BOOL italic = (m_nAvailable & 1) || regular;
    struct Offer {
        BOOL offered;
        UINT text;
        int value;
    } offers[] = {{regular, IDS_OD_FONT_REGULAR, 64},
                  {bold, IDS_OD_FONT_BOLD, 32},
                  {italic, IDS_OD_FONT_ITALIC, 1},
                  {bold || italic, IDS_OD_FONT_BOLD_ITALIC, 33}};
    for (const Offer& o : offers)
        if (o.offered) {
            CString text;
            text.LoadString(o.text);
            m_styles.SetItemData(m_styles.AddString(text), (DWORD_PTR)o.value);
        }

    m_sizes.SetCurSel(m_sizes.FindStringExact(-1, m_strSize));
    int index;
    SelectByData(m_styles, m_nRequestedStyle, &index);
    if (index >= 0)
        m_nStyle = m_nRequestedStyle;
    else {
        m_styles.SetCurSel(0);
        m_nStyle = 64;
    }
    RebuildSample();
}

void CODFontCompPP::RebuildSample()
{
    LOGFONTA font = {};
    if (const LOGFONTA* family = m_names.GetLogFont(m_names.GetCurSel()))
        font = *family;
    else
        lstrcpynA(font.lfFaceName, m_values[0].text, LF_FACESIZE);
    font.lfHeight = m_sizes.GetSelectedHeight();
    font.lfWidth = 0;
    font.lfWeight = (m_nStyle & 0x20) ? 700 : 400;
    font.lfItalic = (m_nStyle & 1) != 0;
    font.lfUnderline = m_values[4].number != 0;
    font.lfStrikeOut = m_values[3].number != 0;
    m_sample.DeleteObject();
    m_sample.CreateFontIndirect(&font);
    if (CWnd* frame = GetDlgItem(idSample)) {
        CRect r;
        frame->GetWindowRect(&r);
        ScreenToClient(&r);
        InvalidateRect(&r);
        UpdateWindow();
    }
}

void CODFontCompPP::OnPaint()
{
    CPaintDC dc(this);
    CWnd* frame = GetDlgItem(idSample);
    if (m_sample.GetSafeHandle() == NULL || frame == NULL)
        return;
    CRect r;
    frame->GetWindowRect(&r);
    ScreenToClient(&r);
    CString text;
    text.LoadString(IDS_OD_FONT_SAMPLE);
    CFont* old = dc.SelectObject(&m_sample);
    dc.SetTextColor((COLORREF)m_values[5].number);
    dc.SetBkMode(TRANSPARENT);
    const CSize size = dc.GetTextExtent(text);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    const int x = size.cx > 0 && size.cx < r.Width() ? r.left + (r.Width() - size.cx) / 2 : r.left;
    int baseline = r.bottom - (r.Height() - (tm.tmAscent - tm.tmInternalLeading)) / 2;
    if (baseline > r.bottom)
        baseline = r.bottom;
    dc.SetTextAlign(TA_BASELINE | TA_LEFT);
    dc.ExtTextOut(x, baseline, ETO_CLIPPED, r, text, NULL);
    dc.SelectObject(old);
}

BOOL CODFontCompPP::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam), code = HIWORD(wParam);
    if (m_bShowing)
        return CPropertyPage::OnCommand(wParam, lParam);
    if (code == LBN_SELCHANGE && id == idName) {
        const int index = m_names.GetCurSel();
        if (index != m_nNameIndex)
            MarkChanged(0);
        m_nNameIndex = index;
        if (index >= 0) {
            CString face;
            m_names.GetText(index, face);
            m_names.SetWindowText(face);
        }
        BuildSizesAndStyles();
    } else if (code == LBN_SELCHANGE && id == idSize) {
        const int index = m_sizes.GetCurSel();
        if (index >= 0) {
            m_sizes.GetText(index, m_strSize);
            m_sizes.SetWindowText(m_strSize);
            RebuildSample();
        }
        if (index != m_nSizeIndex)
            MarkChanged(1);
        m_nSizeIndex = index;
    } else if (code == LBN_SELCHANGE && id == idStyle) {
        const int index = m_styles.GetCurSel();
        if (index >= 0)
            m_nStyle = m_nRequestedStyle = (int)m_styles.GetItemData(index);
        if (index != m_nStyleIndex)
            MarkChanged(2);
        m_nStyleIndex = index;
        RebuildSample();
    } else if (code == BN_CLICKED && (id == idStrikeOut || id == idUnderline)) {
        OnCheckClick(id, id == idStrikeOut ? 3 : 4);
    } else
        return CPropertyPage::OnCommand(wParam, lParam);
    TakeValues();
    return TRUE;
}

void CODFontCompPP::OnCheckClick(UINT id, int member)
{
    m_values[member].number = TakeCheckClick(id);
    MarkChanged(member);
    RebuildSample();
}

LRESULT CODFontCompPP::OnColorChosen(WPARAM id, LPARAM colour)
{
    if (id != idColor)
        return 0;
    m_values[5].number = (LONG)(COLORREF)colour;
    RebuildSample();
    MarkChanged(5);
    return 0;
}


void CODFontCompPP::TakeValues()
{
    m_values[0].text = m_names.GetFaceName();
    m_values[1].number = atoi(m_sizes.GetSizeText().Left(20));
    m_values[2].number = m_nStyle;
}
