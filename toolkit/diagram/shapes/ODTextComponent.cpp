#include "ODTextComponent.h"
#include <algorithm>
#include <math.h>
#include "ODClosedShapes.h"
#include "ODFillProperties.h"
#include "ODFontProperties.h"
#include "ODGeometry.h"
#include "ODLineProperties.h"
#include "ODViewport.h"
#include "diagram_res.h"

IMPLEMENT_SERIAL(CODTextComponent, CODPointComponent, VERSIONABLE_SCHEMA | 1)

namespace {

// A memory DC of the screen for measuring when the caller has none.
class MeasureDC
{
public:
    explicit MeasureDC(CDC* dc) : m_dc(dc)
    {
        if (m_dc == NULL) {
            m_own.CreateCompatibleDC(NULL);
            m_dc = &m_own;
        }
    }
    CDC* Get() { return m_dc; }

private:
    CDC* m_dc;
    CDC m_own;
};

// Selects the component's own font into dc for the life of the object.
class OwnFontScope
{
public:
    OwnFontScope(CODComponent* c, CDC* dc) : m_dc(dc), m_font(NULL), m_old(NULL)
    {
        if (CODFontProperties* f = DYNAMIC_DOWNCAST(CODFontProperties, c->FindProperty(30))) {
            m_font = f->CreateFont(NULL);
            if (m_font)
                m_old = dc->SelectObject(m_font);
        }
    }
    ~OwnFontScope()
    {
        if (m_font) {
            m_dc->SelectObject(m_old);
            delete m_font;
        }
    }

private:
    CDC* m_dc;
    CFont* m_font;
    CFont* m_old;
};

int CharLength(const CString& s, int p)
{
    return IsDBCSLeadByte((BYTE)s[p]) && p + 1 < s.GetLength() ? 2 : 1;
}

}  // namespace

CODTextComponent::CODTextComponent()
    : m_strText("Text"), m_pEditor(NULL), m_pEditFont(NULL), m_pEditBrush(NULL), m_nSavedAngle(0)
{
    CPoint v[4];
    SetVertices(v, 4);
    AddProperty(CODLineProperties(10));
    AddProperty(CODFillProperties(20));
    AddProperty(CODFontProperties(30));
    AddProperty(CODBoolProperty(230, FALSE));
    AddProperty(CODBoolProperty(240, FALSE));
    AddProperty(CODIntProperty(210, 1));
    AddProperty(CODIntProperty(220, 4));
}

CODTextComponent::CODTextComponent(const CODTextComponent& other)
    : CODPointComponent(other), m_strText(other.m_strText), m_pEditor(NULL), m_pEditFont(NULL),
      m_pEditBrush(NULL), m_nSavedAngle(0)
{
}

CODTextComponent::~CODTextComponent()
{
    EndEdit();
}

void CODTextComponent::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CommitEdit();
        ar << (DWORD)1 << m_strText;
    } else {
        DWORD version;
        ar >> version >> m_strText;
        SetEditText(m_strText);
    }
    CODPointComponent::Serialize(ar);
}

BOOL CODTextComponent::Create(int x, int y, CDC* dc)
{
    CPoint v[4] = {CPoint(x, y), CPoint(x, y), CPoint(x, y), CPoint(x, y)};
    SetVertices(v, 4);
    UpdateLogicalUnits(dc);
    SizeToText(8, dc);
    return CODPointComponent::Create(IDS_OD_TEXT);
}

BOOL CODTextComponent::Create(const CRect& r, CDC* dc)
{
    CPoint v[4] = {CPoint(r.left, r.top), CPoint(r.right, r.top), CPoint(r.right, r.bottom),
                   CPoint(r.left, r.bottom)};
    SetVertices(v, 4);
    UpdateLogicalUnits(dc);
    return CODPointComponent::Create(IDS_OD_TEXT);
}

void CODTextComponent::GetHandles(CArray<CPoint, CPoint>& handles, BOOL vertices)
{
    if (!IsEditing())
        CODPointComponent::GetHandles(handles, vertices);
}

int CODTextComponent::OffsetVertex(int i, int dx, int dy)
{
    if (i < 0 || i >= m_nCount)
        return 3;
    return ODOffsetBoxCorner(this, i, LocalOffset(i, dx, dy));
}

int CODTextComponent::GetRotation()
{
    if (m_nCount < 2)
        return 0;
    CODTransform t;
    GetFullTransform(t);
    float x0 = (float)m_pVertices[0].x, y0 = (float)m_pVertices[0].y;
    float x1 = (float)m_pVertices[1].x, y1 = (float)m_pVertices[1].y;
    t.TransformF(x0, y0);
    t.TransformF(x1, y1);
    float dx = x1 - x0, dy = y1 - y0;
    float angle;
    if (dx != 0)
        angle = atanf(dy / dx) * 180.0f / 3.14159f;
    else
        angle = dy < 0 ? -90.0f : dy > 0 ? 90.0f : 0.0f;
    if (dx < 0)
        angle += 180.0f;
    return RoundToInt(angle * 10.0f);
}

CODTransform CODTextComponent::UprightTransform(int rotation, float cx, float cy)
{
    CODTransform t;
    GetFullTransform(t);
    if (rotation != 0)
        t.RotateAbout(-rotation, cx, cy, 1, 1);
    return t;
}

CRect CODTextComponent::GetTextBounds()
{
    if (m_nCount < 4)
        return CRect(0, 0, 0, 0);
    float cx, cy;
    GetRegionHandleF(8, &cx, &cy);
    CODTransform t = UprightTransform(GetRotation(), cx, cy);
    CPoint v[4];
    t.TransformPoints(m_pVertices, v, 4);
    return CRect(v[0], v[2]);
}

void CODTextComponent::SetTextBounds(CRect r)
{
    if (m_nCount < 4)
        return;
    CODTransform t = UprightTransform(GetRotation(), r.left + r.Width() / 2.0f,
                                      r.top + r.Height() / 2.0f);
    CPoint v[4] = {CPoint(r.left, r.top), CPoint(r.right, r.top), CPoint(r.right, r.bottom),
                   CPoint(r.left, r.bottom)};
    t.InverseTransformPoints(v, 4);
    LONG left = std::min(v[0].x, v[3].x), top = std::min(v[0].y, v[1].y);
    LONG right = std::max(v[1].x, v[2].x), bottom = std::max(v[2].y, v[3].y);
    m_pVertices[0] = CPoint(left, top);
    m_pVertices[1] = CPoint(right, top);
    m_pVertices[2] = CPoint(right, bottom);
    m_pVertices[3] = CPoint(left, bottom);
}

UINT CODTextComponent::GetDrawFlags()
{
    UINT flags = 0;
    int value;
    if (GetValue(210, value))
        flags |= (UINT)value;
    if (GetValue(220, value))
        flags |= (UINT)value;
    if (GetValue(230, value) && value == 1)
        flags |= DT_WORDBREAK;
    if (!GetValue(240, value) || value == 0)
        flags |= DT_SINGLELINE;
    return flags;
}

CSize CODTextComponent::GetBorderSize(CDC*)
{
    CODLineProperties* line = DYNAMIC_DOWNCAST(CODLineProperties, FindProperty(10));
    int w = line ? line->GetLogicalWidth() : 0;
    return CSize(w, w);
}

CRect CODTextComponent::GetTextMargins(CDC* dc)
{
    MeasureDC measure(dc);
    OwnFontScope font(this, measure.Get());
    TEXTMETRIC tm;
    measure.Get()->GetTextMetrics(&tm);
    int top = tm.tmExternalLeading / 2;
    return CRect(2 * tm.tmAveCharWidth, top, 2 * tm.tmAveCharWidth, tm.tmExternalLeading - top);
}

CSize CODTextComponent::GetTextSize(CDC* dc)
{
    MeasureDC measure(dc);
    CDC* d = measure.Get();
    OwnFontScope font(this, d);
    TEXTMETRIC tm;
    d->GetTextMetrics(&tm);
    ODLineTable lines;
    LayoutLines(d, lines);
    CString text = GetLayoutText();
    CSize size(0, 0);
    for (const ODTextLine& line : lines) {
        CSize e = line.length > 0 ? d->GetTextExtent((LPCTSTR)text + line.start, line.length)
                                  : CSize(1, tm.tmHeight);
        size.cx = std::max(size.cx, e.cx);
        size.cy += e.cy;
    }
    return size;
}

int CODTextComponent::LayoutLines(CDC* dc, ODLineTable& lines)
{
    lines.clear();
    CString text = GetLayoutText();
    const int n = text.GetLength();
    UINT flags = GetDrawFlags();
    if (flags & DT_SINGLELINE) {
        lines.push_back({0, n});
        return 1;
    }
    CRect r = GetTextBounds();
    CSize border = GetBorderSize(dc);
    r.DeflateRect(border.cx, border.cy);
    CRect m = GetTextMargins(dc);
    const int available = r.Width() - m.left - m.right + 1;
    const BOOL wrap = (flags & DT_WORDBREAK) != 0;
    auto isBreak = [&](int p) { return text[p] == '\r' || text[p] == '\n'; };

    int s = 0;
    while (s < n) {
        int length = 0, p = s, words = 0, width = 0;
        int keptLength = 0, keptP = s;
        for (;;) {
            keptLength = length;
            keptP = p;
            while (p < n && text[p] == ' ')
                ++p, ++length;
            while (p < n && text[p] != ' ' && !isBreak(p)) {
                int c = CharLength(text, p);
                p += c;
                length += c;
            }
            width = length > 0 ? dc->GetTextExtent((LPCTSTR)text + s, length).cx : 0;
            while (p < n && text[p] == ' ')
                ++p, ++length;
            ++words;
            if ((width <= available || !wrap) && p < n && !isBreak(p))
                continue;
            break;
        }
        if (p < n && isBreak(p)) {
            lines.push_back({s, length});
            int next = p + 1;
            if (text[p] == '\r' && next < n && text[next] == '\n')
                ++next;
            s = next;
            if (s == n)
                lines.push_back({n, 0});
        } else if (width <= available || !wrap) {
            lines.push_back({s, length});
            break;
        } else if (words > 1) {
            // The last word goes to the next line; the spaces before it stay on this one.
            lines.push_back({s, keptLength});
            s = keptP;
        } else {
            // A single word wider than the line keeps a line of its own.
            lines.push_back({s, length});
            s = p;
        }
    }
    return (int)lines.size();
}

void CODTextComponent::FitToText(int anchor, CDC* dc, BOOL growOnly)
{
    if (m_nCount != 4)
        return;
    MeasureDC measure(dc);
    CDC* d = measure.Get();
    CRect r = GetTextBounds();
    CSize need = GetTextSize(d);
    CRect m = GetTextMargins(d);
    CSize border = GetBorderSize(d);
    need.cx += m.left + m.right + 2 * border.cx;
    need.cy += m.top + m.bottom + 2 * border.cy;
    int multi;
    if (GetValue(240, multi) && multi == 1)
        need.cx = r.Width();
    BOOL growX = !growOnly || need.cx > r.Width();
    BOOL growY = !growOnly || need.cy > r.Height();
    if (anchor == 0) {
        if (growX)
            r.right = r.left + need.cx;
        if (growY)
            r.bottom = r.top + need.cy;
    } else if (anchor == 8) {
        int cx = r.left + r.Width() / 2, cy = r.top + r.Height() / 2;
        if (growX) {
            r.left = cx - need.cx / 2;
            r.right = r.left + need.cx;
        }
        if (growY) {
            r.top = cy - need.cy / 2;
            r.bottom = r.top + need.cy;
        }
    }
    SetTextBounds(r);
    UpdateRegion(TRUE);
}

void CODTextComponent::SizeToText(int anchor, CDC* dc)
{
    FitToText(anchor, dc, FALSE);
}

void CODTextComponent::GrowToText(int anchor, CDC* dc)
{
    FitToText(anchor, dc, TRUE);
}

void CODTextComponent::OnDraw(CDC* dc)
{
    if (m_nCount < 4)
        return;
    dc->Polygon(DrawingVertices(), 4);
    if (m_bFeedback)
        return;
    if (IsEditing())
        PositionEditor(dc);
    else
        DrawTextLines(dc);
}

void CODTextComponent::DrawTextLines(CDC* dc)
{
    UINT flags = GetDrawFlags();
    int a = GetRotation();
    dc->SaveDC();

    // The font turns with the box.
    CFont rotated;
    CFont* previous = NULL;
    LOGFONT lf;
    CFont* current = dc->GetCurrentFont();
    if (current && current->GetLogFont(&lf) &&
        (lf.lfEscapement != 3600 - a || lf.lfOrientation != 3600 - a)) {
        lf.lfEscapement = lf.lfOrientation = 3600 - a;
        if (rotated.CreateFontIndirect(&lf))
            previous = dc->SelectObject(&rotated);
    }

    float cx, cy;
    GetRegionHandleF(8, &cx, &cy);
    CODTransform u;
    u.RotateAbout(-a, cx, cy, 1, 1);
    CPoint v[4];
    u.TransformPoints(DrawingVertices(), v, 4);
    CRect r(v[0], v[0]);
    for (const CPoint& p : v) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    CSize border = GetBorderSize(dc);
    r.DeflateRect(border.cx, border.cy);
    CRect m = GetTextMargins(dc);
    r.left += m.left;
    r.top += m.top;
    r.right -= m.right;
    r.bottom -= m.bottom;

    ODLineTable lines;
    LayoutLines(dc, lines);
    m_lines = lines;
    CString text = GetLayoutText();
    std::vector<CSize> extents;
    int total = 0;
    for (const ODTextLine& line : lines) {
        extents.push_back(dc->GetTextExtent((LPCTSTR)text + line.start, line.length));
        total += extents.back().cy;
    }
    int y = r.top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = r.top + (r.Height() - total) / 2;
        else if (flags & DT_BOTTOM)
            y = r.top + r.Height() - total;
    }

    int oldMode = dc->SetBkMode(TRANSPARENT);
    CPoint device[4] = {DrawingVertices()[0], DrawingVertices()[1], DrawingVertices()[2],
                        DrawingVertices()[3]};
    dc->LPtoDP(device, 4);
    CRgn clip;
    if (clip.CreatePolygonRgn(device, 4, WINDING))
        dc->SelectClipRgn(&clip, RGN_AND);
    for (size_t i = 0; i < lines.size(); ++i) {
        int w = extents[i].cx;
        int x = (flags & DT_CENTER) ? r.left + (r.Width() - w) / 2
                : (flags & DT_RIGHT) ? r.right - w
                                     : r.left;
        CPoint at = u.InverseTransform(x, y);
        dc->TextOut(at.x, at.y, (LPCTSTR)text + lines[i].start, lines[i].length);
        y += extents[i].cy;
    }
    dc->SelectClipRgn(NULL);
    dc->SetBkMode(oldMode);
    if (previous)
        dc->SelectObject(previous);
    dc->RestoreDC(-1);
}

// ---------------------------------------------------------------------------------------------
// Editing in place

CODInPlaceEdit::~CODInPlaceEdit()
{
    DestroyWindow();
}

BOOL CODInPlaceEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->hwnd == m_hWnd) {
        signed char key = (signed char)(msg->wParam & 0xFF);
        if (key == VK_RETURN) {
            int multi = 0;
            if (!(m_pText && m_pText->GetValue(240, multi) && multi == 1)) {
                NMHDR nm;
                nm.hwndFrom = m_hWnd;
                nm.idFrom = controlId;
                nm.code = endEditCode;
                if (CWnd* parent = GetParent())
                    parent->SendMessage(WM_NOTIFY, (WPARAM)m_hWnd, (LPARAM)&nm);
                return TRUE;
            }
        } else if (key >= VK_LEFT && key <= VK_DOWN) {
            DefWindowProc(WM_KEYDOWN, msg->wParam, msg->lParam);
            return TRUE;
        }
    }
    return CEdit::PreTranslateMessage(msg);
}

BOOL CODTextComponent::BeginEdit(CODViewport* viewport)
{
    if (m_pEditor != NULL || viewport == NULL || viewport->GetWnd() == NULL)
        return FALSE;
    int multi = 0, wrap = 0, align = 1;
    GetValue(240, multi);
    GetValue(230, wrap);
    if (!GetValue(210, align))
        align = 1;
    DWORD style = align == 0 ? ES_LEFT : align == 2 ? ES_RIGHT : ES_CENTER;
    style |= WS_CHILD | WS_CLIPSIBLINGS | ES_MULTILINE | ES_AUTOVSCROLL;
    if (!(multi == 1 && wrap == 1))
        style |= ES_AUTOHSCROLL;
    m_pEditor = new CODInPlaceEdit(this);
    if (!m_pEditor->Create(style, CRect(0, 0, 0, 0), viewport->GetWnd(), CODInPlaceEdit::controlId)) {
        delete m_pEditor;
        m_pEditor = NULL;
        return FALSE;
    }
    m_pEditor->FmtLines(TRUE);
    m_pEditor->SetWindowText(m_strText);
    if (CODFontProperties* f = DYNAMIC_DOWNCAST(CODFontProperties, FindProperty(30))) {
        CODFontProperties* clone = (CODFontProperties*)f->Clone();
        clone->SetPointSize(clone->GetPointSize() * viewport->GetZoom().cy / 100);
        m_pEditFont = clone->CreateFont(NULL);
        delete clone;
        if (m_pEditFont)
            m_pEditor->SetFont(m_pEditFont, TRUE);
    }
    m_pEditor->SendMessage(EM_SETSEL, 0, 65535);
    m_pEditor->SendMessage(EM_SCROLLCARET, 0, 0);
    m_nSavedAngle = GetRotation();
    if (m_nSavedAngle != 0) {
        float cx, cy;
        GetRegionHandleF(8, &cx, &cy);
        Rotate(-m_nSavedAngle, cx, cy, 1, 1);
    }
    m_pEditor->SetFocus();
    return TRUE;
}

void CODTextComponent::SetEditText(LPCTSTR text)
{
    if (m_pEditor && m_pEditor->GetSafeHwnd())
        m_pEditor->SetWindowText(text);
}

CString CODTextComponent::GetEditText()
{
    CString text;
    if (m_pEditor && m_pEditor->GetSafeHwnd())
        m_pEditor->GetWindowText(text);
    return text;
}

void CODTextComponent::CommitEdit()
{
    if (m_pEditor && m_pEditor->GetSafeHwnd()) {
        SetText(GetEditText());
        UpdateRegion(FALSE);
    }
}

void CODTextComponent::EndEdit()
{
    if (m_pEditor == NULL)
        return;
    int angle = m_nSavedAngle;
    m_nSavedAngle = 0;
    delete m_pEditor;
    m_pEditor = NULL;
    delete m_pEditFont;
    m_pEditFont = NULL;
    delete m_pEditBrush;
    m_pEditBrush = NULL;
    if (angle != 0) {
        float cx, cy;
        GetRegionHandleF(8, &cx, &cy);
        Rotate(angle, cx, cy, 1, 1);
    }
}

HBRUSH CODTextComponent::GetEditBrush(CDC* dc)
{
    CODFillProperties* fill = DYNAMIC_DOWNCAST(CODFillProperties, FindProperty(20));
    if (fill == NULL)
        return NULL;
    dc->SetBkColor(fill->GetColor());
    delete m_pEditBrush;
    m_pEditBrush = fill->CreateBrush(dc);
    return m_pEditBrush ? (HBRUSH)m_pEditBrush->GetSafeHandle() : NULL;
}

void CODTextComponent::PositionEditor(CDC* dc)
{
    if (m_pEditor == NULL || m_pEditor->GetSafeHwnd() == NULL)
        return;
    CRect r = GetBounds();
    CSize border = GetBorderSize(dc);
    r.DeflateRect(border.cx, border.cy);
    CRect m = GetTextMargins(dc);
    UINT flags = GetDrawFlags();
    TEXTMETRIC tm;
    dc->GetTextMetrics(&tm);
    int h = tm.tmHeight + tm.tmExternalLeading;
    BOOL wrapped = !(flags & DT_SINGLELINE) && (flags & DT_WORDBREAK);
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER) {
            r.top += (r.Height() - h) / 2;
            r.bottom = r.top + h;
        } else if (flags & DT_BOTTOM) {
            r.top += r.Height() - h;
        } else {
            r.bottom = r.top + h;
        }
    } else if (!wrapped) {
        r.bottom = r.top + GetTextSize(dc).cy;
    }
    if (!wrapped) {
        if (flags & DT_CENTER)
            m.left = m.right = 0;
        else if (flags & DT_RIGHT)
            m.left = 0;
    }
    dc->LPtoDP(&m);
    m_pEditor->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(m.left, m.right));
    dc->LPtoDP(&r);
    m_pEditor->MoveWindow(&r, TRUE);
    m_pEditor->ShowWindow(SW_SHOW);
}

// ---------------------------------------------------------------------------------------------
// Line table

int CODTextComponent::GetLineStart(int i) const
{
    return i >= 0 && i < (int)m_lines.size() ? (m_lines[i].start & 0xFFFF) : 0;
}

int CODTextComponent::GetLineLength(int i) const
{
    return i >= 0 && i < (int)m_lines.size() ? (m_lines[i].length & 0xFFFF) : 0;
}

void CODTextComponent::SetLineStart(int i, int start)
{
    if (i < 0)
        return;
    if (i >= (int)m_lines.size())
        m_lines.resize(i + 1, ODTextLine{0, 0});
    m_lines[i].start = start & 0xFFFF;
}

void CODTextComponent::SetLineLength(int i, int length)
{
    if (i < 0)
        return;
    if (i >= (int)m_lines.size())
        m_lines.resize(i + 1, ODTextLine{0, 0});
    m_lines[i].length = length & 0xFFFF;
}

// The text of line i, cut to the text there is.
CString CODTextComponent::GetLine(int i)
{
    CString text = GetLayoutText();
    int start = GetLineStart(i);
    if (start >= text.GetLength())
        return CString();
    return text.Mid(start, std::min(GetLineLength(i), text.GetLength() - start));
}
