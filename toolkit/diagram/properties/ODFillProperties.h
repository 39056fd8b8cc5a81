// The fill group (id 20): how the inside of a closed shape is painted.
#pragma once
#include <afxwin.h>
#include "ODPropertyGroup.h"

class SECDib;

class CODFillProperties : public CODPropertyGroup
{
    DECLARE_SERIAL(CODFillProperties)

public:
    explicit CODFillProperties(int id = 20);
    CODFillProperties(const CODFillProperties& other);
    virtual ~CODFillProperties();

    void Serialize(CArchive& ar) override;
    CODProperty* Clone() const override { return new CODFillProperties(*this); }
    void CopyFrom(const CODProperty* other, DWORD mask) override;
    BOOL IsEqual(const CODProperty* other) const override;

    COLORREF GetColor() const { return m_crColor; }
    void SetColor(COLORREF color) { m_crColor = color; }
    BOOL GetTransparent() const { return m_bTransparent; }
    void SetTransparent(BOOL transparent) { m_bTransparent = transparent; }
    int GetFillStyle() const { return m_nFillStyle; }
    void SetFillStyle(int style);
    int GetHatchStyle() const { return m_nHatchStyle; }
    void SetHatchStyle(int hatch);
    int GetBkMode() const { return m_nBkMode; }
    void SetBkMode(int mode);
    COLORREF GetBkColor() const { return m_crBkColor; }
    void SetBkColor(COLORREF color) { m_crBkColor = color; }
    SECDib* GetPatternImage() const { return m_pImage; }
    // Shares the image (a count is taken); NULL is ignored.
    void SetPatternImage(SECDib* image);
    // Copies the id and every member through the validating setters.
    void Assign(const CODFillProperties& other);
    // A new brush for dc; the caller deletes it.
    CBrush* CreateBrush(CDC* dc);

protected:
    int GetMemberCount() const override { return 6; }
    Kind GetMemberKind(int index) const override
    {
        return index == 1 || index == 6 ? kindColor : kindInt;
    }
    DWORD* ColorMember(int index) override { return index == 1 ? &m_crColor : &m_crBkColor; }
    int* IntMember(int index) override;
    void ReplaceImage(SECDib* image);

    COLORREF m_crColor;
    BOOL m_bTransparent;
    int m_nFillStyle;
    int m_nHatchStyle;
    int m_nBkMode;
    COLORREF m_crBkColor;
    SECDib* m_pImage;
    CBitmap* m_pBitmap;
};
