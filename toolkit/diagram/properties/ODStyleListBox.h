// Owner-drawn list boxes of the Line and Fill pages: each item holds a value (a hatch code, a
// width in points or a pen style) and is drawn as its text beside a sample of that value in
// the colours the page hands the list.
#pragma once
#include <afxwin.h>

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
    void AddItem(UINT stringId, int value);

    int m_nNoSelection;
    int m_nTextHeight;
    int m_nSampleValue;  // the value of the item being drawn
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
