// The line group (id 10): the pen of a component's outline.
#pragma once
#include <afxwin.h>
#include "ODPropertyGroup.h"

class CODLineProperties : public CODPropertyGroup
{
    DECLARE_SERIAL(CODLineProperties)

public:
    explicit CODLineProperties(int id = 10);
    CODLineProperties(const CODLineProperties& other);
    CODLineProperties& operator=(const CODLineProperties& other);

    void Serialize(CArchive& ar) override;
    CODProperty* Clone() const override { return new CODLineProperties(*this); }
    void CopyFrom(const CODProperty* other, DWORD mask) override;
    BOOL IsEqual(const CODProperty* other) const override;

    COLORREF GetColor() const { return m_crColor; }
    void SetColor(COLORREF color) { m_crColor = color; }
    BOOL GetTransparent() const { return m_bTransparent; }
    void SetTransparent(BOOL transparent) { m_bTransparent = transparent; }
    int GetWidth() const { return m_nWidth; }
    void SetWidth(int points, CDC* dc = NULL);
    int GetLogicalWidth() const { return m_nLogicalWidth; }
    void SetLogicalWidth(int logical, CDC* dc = NULL);
    int GetStyle() const { return m_nStyle; }
    void SetStyle(int style);
    // A new pen for dc; the caller deletes it.
    CPen* CreatePen(CDC* dc = NULL) const;

protected:
    int GetMemberCount() const override { return 4; }
    Kind GetMemberKind(int index) const override { return index == 1 ? kindColor : kindInt; }
    DWORD* ColorMember(int) override { return &m_crColor; }
    int* IntMember(int index) override;

    COLORREF m_crColor;
    BOOL m_bTransparent;
    int m_nWidth;
    int m_nLogicalWidth;
    int m_nStyle;
};
