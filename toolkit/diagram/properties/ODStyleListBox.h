// List boxes of the property pages. The Line and Fill pages' lists are owner-drawn: each item
// holds a value (a hatch code, a width in points or a pen style) and is drawn as its text beside
// a sample of that value in the colours the page hands the list. The Font page lists the font
// families (TrueType ones marked) and the point sizes of the chosen one.
#pragma once
#include <afxwin.h>

// A monochrome mask of a bitmap: set where the bitmap has the colour of its top-left pixel
// (its key colour), which the bitmap itself gets black, so that DrawTransparentBitmap (AND the
// mask, OR the bitmap) leaves the background there.
BOOL CreateBitmapMask(CBitmap& bitmap, CBitmap& mask);
void DrawTransparentBitmap(CDC* dc, int x, int y, CBitmap& bitmap, CBitmap& mask);

class CODSampleListBox : public CListBox
{
public:
    CODSampleListBox(int noSelectionValue);

    // Adds the items after measuring the list's font; the list is not emptied first.
    void Fill();
    // The selected item's value, or the list's value for no selection.
    int GetSelectedValue() const;
    // Selects the first item with the value; no selection when none has it.
    void SelectValue(int value);
    int GetTextHeight() const { return m_nTextHeight; }

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;

protected:
    virtual void AddItems() = 0;
    // Left edge of the item's text for an item h pixels high.
    virtual int TextLeft(int h) const = 0;
    virtual void DrawSample(CDC* dc, const CRect& item) = 0;
    virtual CString ItemText(UINT item) const;
    void AddItem(UINT stringId, int value);

    int m_nNoSelection;
    int m_nTextHeight;
    int m_nSampleValue;  // the value of the item being drawn
    UINT m_nSampleItem;  // and its index
};

class CODHatchListBox : public CODSampleListBox
{
public:
    CODHatchListBox();
    void SetForegroundColor(COLORREF colour);
    void SetBackgroundColor(COLORREF colour);
    void SetBackgroundTransparent(BOOL transparent);
    COLORREF GetForegroundColor() const { return m_crForeground; }
    COLORREF GetBackgroundColor() const { return m_crBackground; }
    BOOL GetBackgroundTransparent() const { return m_bTransparent; }
    // Items as high as the list's text, but at least 25 pixels.
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;

protected:
    void AddItems() override;
    int TextLeft(int h) const override { return h + (h - m_nTextHeight) / 4; }
    void DrawSample(CDC* dc, const CRect& item) override;

    BOOL m_bTransparent;
    COLORREF m_crForeground;
    COLORREF m_crBackground;
};

// Width and style lists: one colour for their sample lines.
class CODLineSampleListBox : public CODSampleListBox
{
public:
    explicit CODLineSampleListBox(int noSelectionValue) : CODSampleListBox(noSelectionValue), m_crColor(0) {}
    void SetColor(COLORREF colour);
    COLORREF GetColor() const { return m_crColor; }

protected:
    int TextLeft(int h) const override { return 3 * h + m_nTextHeight / 4; }
    COLORREF m_crColor;
};

class CODLineWidthListBox : public CODLineSampleListBox
{
public:
    CODLineWidthListBox() : CODLineSampleListBox(1) {}

protected:
    void AddItems() override;
    void DrawSample(CDC* dc, const CRect& item) override;
};

class CODLineStyleListBox : public CODLineSampleListBox
{
public:
    CODLineStyleListBox() : CODLineSampleListBox(0) {}

protected:
    void AddItems() override;
    void DrawSample(CDC* dc, const CRect& item) override;
};

// Font families, sorted, each item owning a block with its font type and LOGFONT.
class CODFontNameListBox : public CListBox
{
public:
    CODFontNameListBox();
    ~CODFontNameListBox() override;
    // Adds a family once (names compared whole, case aside): the new index, or -1.
    int AddFamily(const LOGFONTA* font, int fontType);
    int GetFontType(int index) const;
    const LOGFONTA* GetLogFont(int index) const;
    // The chosen face: the list's window text.
    CString GetFaceName() const;

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;
    void DeleteItem(LPDELETEITEMSTRUCT dis) override;

protected:
    CBitmap m_mark;  // the TrueType mark, 20 x 12
    CBitmap m_mask;  // its key colour (the top-left pixel) set, the rest clear
};

// Point sizes, ordered, each item holding its font height in logical units (negative: a
// character height from points; positive: a raster font's cell height).
class CODFontSizeListBox : public CListBox
{
public:
    // Adds the size in order (height 0: computed from the points); -1 when a size of that
    // height is listed already.
    int AddSize(int points, int height);
    int GetHeight(int index) const { return (int)GetItemData(index); }
    // The height of the chosen size: the selected item's, else the item the typed text begins,
    // else the typed points' own height, else the first item's.
    int GetSelectedHeight() const;
    CString GetSizeText() const;
};
