// Font property of a drawing: face, size, colour, weight and style of text.
#pragma once
#include <afx.h>

class CODFontProperties
{
public:
    CODFontProperties();
    virtual ~CODFontProperties();

    CString GetFaceName() const { return m_strFaceName; }
    void SetFaceName(LPCTSTR face);
    int GetPointSize() const { return m_nPointSize; }
    void SetPointSize(int points);
    COLORREF GetColor() const { return m_crColor; }
    void SetColor(COLORREF color) { m_crColor = color; }
    int GetWeight() const { return m_nWeight; }
    void SetWeight(int weight);
    BOOL GetItalic() const { return m_bItalic; }
    void SetItalic(BOOL italic) { m_bItalic = italic; }
    BOOL GetUnderline() const { return m_bUnderline; }
    void SetUnderline(BOOL underline) { m_bUnderline = underline; }
    int GetLogicalHeight() const { return m_nHeight; }

private:
    CString m_strFaceName;
    int m_nPointSize;
    int m_nHeight;
    COLORREF m_crColor;
    int m_nWeight;
    BOOL m_bItalic;
    BOOL m_bUnderline;
};
