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
    virtual void SetEditText(LPCTSTR) {}
    virtual void CommitEdit() {}
    virtual void EndEdit() {}

    BOOL Create(int x, int y, CDC* dc);
    BOOL Create(const CRect& r, CDC* dc);
    CString& GetText() { return m_strText; }
    CRect GetTextBounds();
    void SetTextBounds(CRect r);
    int GetRotation();
    UINT GetDrawFlags();
    // Breaks the text into lines for the box's width with the font selected in dc.
    int LayoutLines(CDC* dc, ODLineTable& lines);
    void DrawTextLines(CDC* dc);
    BOOL IsEditing() const { return FALSE; }

protected:
    // The text laid out and drawn: the editor's while editing.
    virtual CString GetLayoutText() { return m_strText; }
    // The own transform chain followed by a rotation by minus the box's angle about (cx, cy).
    CODTransform UprightTransform(int rotation, float cx, float cy);
    void FitToText(int anchor, CDC* dc, BOOL growOnly);

    CString m_strText;
    int m_nSavedAngle;
};
