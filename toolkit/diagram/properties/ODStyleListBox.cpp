#include <new>
#include "ODStyleListBox.h"
#include "ODGeometry.h"
#include "diagram_res.h"

BOOL CreateBitmapMask(CBitmap& bitmap, CBitmap& mask)
{
    BITMAP info;
    if (!bitmap.GetSafeHandle() || !bitmap.GetBitmap(&info))
        return FALSE;
    CDC source, target;
    source.CreateCompatibleDC(NULL);
    target.CreateCompatibleDC(NULL);
    mask.DeleteObject();
    mask.CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, NULL);
    CBitmap* oldSource = source.SelectObject(&bitmap);
    CBitmap* oldTarget = target.SelectObject(&mask);
    source.SetBkColor(source.GetPixel(0, 0));
    target.BitBlt(0, 0, info.bmWidth, info.bmHeight, &source, 0, 0, SRCCOPY);
    source.SetBkColor(RGB(255, 255, 255));
    source.SetTextColor(RGB(0, 0, 0));
    source.BitBlt(0, 0, info.bmWidth, info.bmHeight, &target, 0, 0, 0x00220326);  // AND NOT mask
    source.SelectObject(oldSource);
    target.SelectObject(oldTarget);
    return TRUE;
}

void DrawTransparentBitmap(CDC* dc, int x, int y, CBitmap& bitmap, CBitmap& mask)
{
    BITMAP info;
    if (!bitmap.GetSafeHandle() || !mask.GetSafeHandle() || !bitmap.GetBitmap(&info))
        return;
    CDC source;
    source.CreateCompatibleDC(dc);
    const COLORREF bk = dc->SetBkColor(RGB(255, 255, 255));
    const COLORREF text = dc->SetTextColor(RGB(0, 0, 0));
    CBitmap* old = source.SelectObject(&mask);
    dc->BitBlt(x, y, info.bmWidth, info.bmHeight, &source, 0, 0, SRCAND);
    source.SelectObject(&bitmap);
    dc->BitBlt(x, y, info.bmWidth, info.bmHeight, &source, 0, 0, SRCPAINT);
    source.SelectObject(old);
    dc->SetBkColor(bk);
    dc->SetTextColor(text);
}

CODSampleListBox::CODSampleListBox(int noSelectionValue)
    : m_nNoSelection(noSelectionValue), m_nTextHeight(0), m_nSampleValue(0), m_nSampleItem(0)
{
}

void CODSampleListBox::Fill()
{
    if (GetSafeHwnd() == NULL)
        return;
    CClientDC dc(this);
    CFont* font = GetFont();
    CFont* old = font ? dc.SelectObject(font) : NULL;
    TEXTMETRIC tm;
    if (dc.GetTextMetrics(&tm))
        m_nTextHeight = tm.tmHeight;
    if (old)
        dc.SelectObject(old);
    AddItems();
}

void CODSampleListBox::AddItem(UINT stringId, int value)
{
    CString text;
    text.LoadString(stringId);
    const int index = AddString(text);
    if (index >= 0)
        SetItemData(index, (DWORD_PTR)value);
}

int CODSampleListBox::GetSelectedValue() const
{
    const int index = GetSafeHwnd() ? GetCurSel() : LB_ERR;
    return index < 0 ? m_nNoSelection : (int)GetItemData(index);
}

void CODSampleListBox::SelectValue(int value)
{
    for (int i = 0; i < GetCount(); ++i)
        if ((int)GetItemData(i) == value) {
            SetCurSel(i);
            return;
        }
    SetCurSel(-1);
}

void CODSampleListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

CString CODSampleListBox::ItemText(UINT item) const
{
    CString text;
    GetText(item, text);
    return text;
}

void CODSampleListBox::DrawItem(LPDRAWITEMSTRUCT dis)
{
    CDC* dc = CDC::FromHandle(dis->hDC);
    const int saved = dc->SaveDC();
    CRect item(dis->rcItem);
    dc->FillSolidRect(item, ::GetSysColor(COLOR_WINDOW));
    if (CFont* font = GetFont())
        dc->SelectObject(font);
    dc->SetBkMode(TRANSPARENT);

    CRect client;
    GetClientRect(&client);
    CRect band(client.left, item.top, client.right, item.bottom);
    const BOOL selected = (dis->itemState & ODS_SELECTED) != 0;
    const BOOL focus = (dis->itemState & ODS_FOCUS) != 0;
    if (selected) {
        CRect highlight = band;
        if (focus)
            highlight.DeflateRect(1, 1);
        dc->FillSolidRect(highlight, ::GetSysColor(COLOR_HIGHLIGHT));
    }
    if (focus)
        dc->DrawFocusRect(band);

    if ((int)dis->itemID >= 0 && (int)dis->itemID < GetCount()) {
        const COLORREF text = (dis->itemState & ODS_DISABLED) ? ::GetSysColor(COLOR_GRAYTEXT)
                              : selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT)
                                         : ::GetSysColor(COLOR_WINDOWTEXT);
        dc->SetTextColor(text);
        const CString label = ItemText(dis->itemID);
        CRect textRect(TextLeft(item.Height()), band.top, band.right, band.bottom);
        dc->DrawText(label, textRect, DT_SINGLELINE | DT_VCENTER);
        m_nSampleValue = (int)GetItemData(dis->itemID);
        m_nSampleItem = dis->itemID;
        DrawSample(dc, item);
    }
    dc->RestoreDC(saved);
}

// ---------------------------------------------------------------------------------------------

CODHatchListBox::CODHatchListBox()
    : CODSampleListBox(255), m_bTransparent(FALSE), m_crForeground(0xC00000),
      m_crBackground(0xFFFFFF)
{
}

void CODHatchListBox::AddItems()
{
    AddItem(IDS_OD_HATCH_NONE, 255);
    AddItem(IDS_OD_HATCH_DOWNWARD, HS_BDIAGONAL);
    AddItem(IDS_OD_HATCH_CROSS, HS_CROSS);
    AddItem(IDS_OD_HATCH_DIAGCROSS, HS_DIAGCROSS);
    AddItem(IDS_OD_HATCH_UPWARD, HS_FDIAGONAL);
    AddItem(IDS_OD_HATCH_HORIZONTAL, HS_HORIZONTAL);
    AddItem(IDS_OD_HATCH_VERTICAL, HS_VERTICAL);
}

void CODHatchListBox::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    mis->itemHeight = m_nTextHeight > 25 ? m_nTextHeight : 25;
}

void CODHatchListBox::SetForegroundColor(COLORREF colour)
{
    m_crForeground = colour;
    if (GetSafeHwnd())
        Invalidate();
}

void CODHatchListBox::SetBackgroundColor(COLORREF colour)
{
    m_crBackground = colour;
    if (GetSafeHwnd())
        Invalidate();
}

void CODHatchListBox::SetBackgroundTransparent(BOOL transparent)
{
    m_bTransparent = transparent;
    if (GetSafeHwnd())
        Invalidate();
}

void CODHatchListBox::DrawSample(CDC* dc, const CRect& item)
{
    const int h = item.Height();
    CBrush brush;
    if (m_nSampleValue == 255)
        brush.CreateSolidBrush(m_crForeground);
    else
        brush.CreateHatchBrush(m_nSampleValue, m_crForeground);
    CBrush* old = dc->SelectObject(&brush);
    dc->SetBkColor(m_crBackground);
    dc->SetBkMode(m_bTransparent ? TRANSPARENT : OPAQUE);
    dc->SetBrushOrg(item.CenterPoint());
    dc->Rectangle(item.left + 2, item.top + 2, h - 2, item.bottom - 2);
    dc->SelectObject(old);
}

// ---------------------------------------------------------------------------------------------

void CODLineSampleListBox::SetColor(COLORREF colour)
{
    m_crColor = colour;
    if (GetSafeHwnd())
        Invalidate();
}

void CODLineWidthListBox::AddItems()
{
    AddItem(IDS_OD_WIDTH_PIXEL, 0);
    CString format;
    format.LoadString(IDS_OD_WIDTH_POINTS);
    for (int points = 1; points <= 8; ++points) {
        CString text;
        text.Format(format, points);
        const int index = AddString(text);
        if (index >= 0)
            SetItemData(index, (DWORD_PTR)points);
    }
}

void CODLineWidthListBox::DrawSample(CDC* dc, const CRect& item)
{
    const int h = item.Height();
    const int width = m_nSampleValue == 0 ? 1 : PointsToLogical(m_nSampleValue, NULL, TRUE);
    CPen pen(PS_SOLID, width, m_crColor);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(item.left + 8, item.top + h / 2);
    dc->LineTo(item.left + 3 * h - 8, item.top + h / 2);
    dc->SelectObject(old);
}

void CODLineStyleListBox::AddItems()
{
    AddItem(IDS_OD_STYLE_SOLID, PS_SOLID);
    AddItem(IDS_OD_STYLE_DASHED, PS_DASH);
    AddItem(IDS_OD_STYLE_DOTTED, PS_DOT);
    AddItem(IDS_OD_STYLE_DASHDOT, PS_DASHDOT);
    AddItem(IDS_OD_STYLE_DASHDOTDOT, PS_DASHDOTDOT);
}

void CODLineStyleListBox::DrawSample(CDC* dc, const CRect& item)
{
    const int h = item.Height();
    CPen pen(m_nSampleValue, 1, m_crColor);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(item.left + 2, item.top + h / 2);
    dc->LineTo(item.left + 3 * h - 3, item.top + h / 2);
    dc->SelectObject(old);
}

// ---------------------------------------------------------------------------------------------

namespace {

struct FontEntry {
    int32_t type;
    LOGFONTA font;
};

int ScreenDensity(const CWnd* wnd)
{
    HDC dc = ::GetDC(wnd ? wnd->GetSafeHwnd() : NULL);
    const int density = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(wnd ? wnd->GetSafeHwnd() : NULL, dc);
    return density;
}

}  // namespace

CODFontNameListBox::CODFontNameListBox()
{
    if (m_mark.LoadBitmap(IDB_OD_TRUETYPE))
        CreateBitmapMask(m_mark, m_mask);
}

CODFontNameListBox::~CODFontNameListBox() {}

int CODFontNameListBox::AddFamily(const LOGFONTA* font, int fontType)
{
    // A whole-name test: a prefix search would leave out "Arial" after "Arial Black".
    if (FindStringExact(-1, font->lfFaceName) >= 0)
        return -1;
    FontEntry* entry = new (std::nothrow) FontEntry;
    if (entry == NULL)
        return -1;
    entry->type = fontType;
    entry->font = *font;
    const int index = AddString(font->lfFaceName);
    if (index < 0) {
        delete entry;
        return -1;
    }
    SetItemDataPtr(index, entry);
    return index;
}

int CODFontNameListBox::GetFontType(int index) const
{
    const FontEntry* entry = index >= 0 && index < GetCount() ? (const FontEntry*)GetItemDataPtr(index) : NULL;
    return entry && entry != (void*)-1 ? entry->type : 0;
}

const LOGFONTA* CODFontNameListBox::GetLogFont(int index) const
{
    const FontEntry* entry = index >= 0 && index < GetCount() ? (const FontEntry*)GetItemDataPtr(index) : NULL;
    return entry && entry != (void*)-1 ? &entry->font : NULL;
}

CString CODFontNameListBox::GetFaceName() const
{
    CString face;
    GetWindowText(face);
    return face;
}

void CODFontNameListBox::DeleteItem(LPDELETEITEMSTRUCT dis)
{
    delete (FontEntry*)dis->itemData;
}

void CODFontNameListBox::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    CClientDC dc(this);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    mis->itemWidth = 500;
    mis->itemHeight = tm.tmHeight;
}

void CODFontNameListBox::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if ((int)dis->itemID < 0 || (int)dis->itemID >= GetCount())
        return;
    CDC* dc = CDC::FromHandle(dis->hDC);
    const int saved = dc->SaveDC();
    const CRect item(dis->rcItem);
    const BOOL selected = (dis->itemState & ODS_SELECTED) != 0;
    dc->SetBkColor(::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    dc->SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const int unit = LOWORD(::GetDialogBaseUnits()) / 4;
    CString face;
    GetText(dis->itemID, face);
    TEXTMETRIC tm;
    dc->GetTextMetrics(&tm);
    dc->ExtTextOut(item.left + 2 * unit + 20, item.top + (item.Height() - tm.tmHeight) / 2,
                   ETO_OPAQUE | ETO_CLIPPED, item, face, NULL);
    if ((GetFontType(dis->itemID) & TRUETYPE_FONTTYPE) && m_mark.GetSafeHandle()) {
        DrawTransparentBitmap(dc, unit, item.top + (item.Height() - 12) / 2, m_mark, m_mask);
    }
    if (dis->itemState & ODS_FOCUS)
        dc->DrawFocusRect(item);
    dc->RestoreDC(saved);
}

// ---------------------------------------------------------------------------------------------

int CODFontSizeListBox::AddSize(int points, int height)
{
    if (height == 0)
        height = ::MulDiv(-ScreenDensity(this), points, 72);
    int at = GetCount();
    for (int i = 0; i < GetCount(); ++i) {
        const int h = GetHeight(i);
        if (h == height)
            return -1;
        if (height < 0 ? h < height : h > height) {
            at = i;
            break;
        }
    }
    CString text;
    text.Format("%d", points);
    const int index = InsertString(at, text);
    if (index >= 0)
        SetItemData(index, (DWORD_PTR)(INT_PTR)height);
    return index;
}

CString CODFontSizeListBox::GetSizeText() const
{
    CString text;
    GetWindowText(text);
    return text;
}

int CODFontSizeListBox::GetSelectedHeight() const
{
    const int selected = GetCurSel();
    if (selected >= 0)
        return GetHeight(selected);
    const CString text = GetSizeText();
    const int match = text.IsEmpty() ? LB_ERR : FindString(-1, text);
    if (match >= 0)
        return GetHeight(match);
    // A typed size that is not listed is taken in points as typed.
    const int points = atoi(text);
    if (points > 0)
        return ::MulDiv(-ScreenDensity(this), points, 72);
    return GetCount() > 0 ? GetHeight(0) : 0;
}
