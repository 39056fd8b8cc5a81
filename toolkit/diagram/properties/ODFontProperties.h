// The font group (id 30): face, size, colour, weight and style of a component's text.
#pragma once
#include <afxwin.h>
#include "ODPropertyGroup.h"

class CODFontProperties : public CODPropertyGroup
{
    DECLARE_SERIAL(CODFontProperties)

public:
    explicit CODFontProperties(int id = 30);
    CODFontProperties(const CODFontProperties& other);
    CODFontProperties& operator=(const CODFontProperties& other);

    void Serialize(CArchive& ar) override;
    CODProperty* Clone() const override { return new CODFontProperties(*this); }
    void CopyFrom(const CODProperty* other, DWORD mask) override;
    BOOL IsEqual(const CODProperty* other) const override;

    CString GetFaceName() const { return m_strFaceName; }
    void SetFaceName(LPCTSTR face);
    int GetPointSize() const { return m_nPointSize; }
    // Sizes below 2 are ignored; the logical height follows for dc (NULL: the screen).
    void SetPointSize(int points, CDC* dc = NULL);
    int GetLogicalHeight() const { return m_nHeight; }
    void SetLogicalHeight(int height, CDC* dc = NULL);
    COLORREF GetColor() const { return m_crColor; }
    void SetColor(COLORREF color) { m_crColor = color; }
    int GetWeight() const { return m_nWeight; }
    void SetWeight(int weight);
    BOOL GetItalic() const { return m_bItalic; }
    void SetItalic(BOOL italic) { m_bItalic = italic; }
    BOOL GetUnderline() const { return m_bUnderline; }
    void SetUnderline(BOOL underline) { m_bUnderline = underline; }
    BOOL GetStrikeOut() const { return m_bStrikeOut; }
    void SetStrikeOut(BOOL strikeOut) { m_bStrikeOut = strikeOut; }
    // A new font; the caller deletes it.
    CFont* CreateFont(CDC* dc = NULL) const;

protected:
    int GetMemberCount() const override { return 8; }
    Kind GetMemberKind(int index) const override
    {
        return index == 1 ? kindString : index == 3 ? kindColor : kindInt;
    }
    DWORD* ColorMember(int) override { return &m_crColor; }
    int* IntMember(int index) override;
    CString* StringMember(int) override { return &m_strFaceName; }

    CString m_strFaceName;
    int m_nPointSize;
    int m_nHeight;
    COLORREF m_crColor;
    int m_nWeight;
    BOOL m_bItalic;
    BOOL m_bUnderline;
    BOOL m_bStrikeOut;
};
