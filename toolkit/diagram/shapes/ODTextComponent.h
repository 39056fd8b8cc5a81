// Text boxes: a box of four vertices carrying a text broken into lines, aligned and drawn
// rotated with the box.
#pragma once
#include <vector>
#include "ODPointComponent.h"

// One laid-out line: its start offset in the text and its length, in bytes.
struct ODTextLine
{
    int start;
    int length;
};
typedef std::vector<ODTextLine> ODLineTable;

class CODTextComponent;
class CODViewport;

// The edit control over a text box while its text is edited in place. Return ends a
// single-line edit (WM_NOTIFY code 100 to the parent); the arrow keys stay with the control.
class CODInPlaceEdit : public CEdit
{
public:
    enum { controlId = 1125, endEditCode = 100 };
    explicit CODInPlaceEdit(CODTextComponent* text) : m_pText(text) {}
    ~CODInPlaceEdit() override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    CODTextComponent* m_pText;
};

class CODTextComponent : public CODPointComponent
{
    DECLARE_SERIAL(CODTextComponent)

public:
    CODTextComponent();
    CODTextComponent(const CODTextComponent& other);
    ~CODTextComponent() override;

    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODTextComponent(*this); }
    void GetHandles(CArray<CPoint, CPoint>& handles, BOOL vertices) override;
    void OnDraw(CDC* dc) override;
    int OffsetVertex(int i, int dx, int dy) override;

    virtual void SetText(LPCTSTR text) { m_strText = text; }
    virtual CSize GetTextSize(CDC* dc);
    virtual CRect GetTextMargins(CDC* dc);
    virtual CSize GetBorderSize(CDC* dc);
    virtual void SizeToText(int anchor, CDC* dc);
    virtual void GrowToText(int anchor, CDC* dc);
    virtual BOOL BeginEdit(CODViewport* viewport);
    virtual void SetEditText(LPCTSTR text);
    virtual void CommitEdit();
    virtual void EndEdit();
    virtual HBRUSH GetEditBrush(CDC* dc);

    BOOL Create(int x, int y, CDC* dc);
    BOOL Create(const CRect& r, CDC* dc);
    CString& GetText() { return m_strText; }
    CRect GetTextBounds();
    void SetTextBounds(CRect r);
    int GetRotation();
    UINT GetDrawFlags();
    // Breaks the text into lines for the box's width with the font selected in dc.
    int LayoutLines(CDC* dc, ODLineTable& lines);
    // The lines of the last layout drawn: start offset and length in bytes of line i, both
    // 16-bit as the line table holds them (0 for a line the table does not have).
    int GetLineStart(int i) const;
    int GetLineLength(int i) const;
    void SetLineStart(int i, int start);
    void SetLineLength(int i, int length);
    CString GetLine(int i);
    void DrawTextLines(CDC* dc);
    BOOL IsEditing() const { return m_pEditor != NULL; }
    CODInPlaceEdit* GetEditor() const { return m_pEditor; }
    CString GetEditText();
    // Places the editor over the box (while editing).
    void PositionEditor(CDC* dc);

protected:
    // The text laid out and drawn: the editor's while editing.
    virtual CString GetLayoutText() { return IsEditing() ? GetEditText() : m_strText; }
    // The own transform chain followed by a rotation by minus the box's angle about (cx, cy).
    CODTransform UprightTransform(int rotation, float cx, float cy);
    void FitToText(int anchor, CDC* dc, BOOL growOnly);

    CString m_strText;
    ODLineTable m_lines;
    CODInPlaceEdit* m_pEditor;
    CFont* m_pEditFont;
    CBrush* m_pEditBrush;
    int m_nSavedAngle;
};
