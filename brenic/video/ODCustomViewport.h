// The drawing viewport over a video channel: default line and font of new drawings.
#pragma once
#include <afx.h>
#include "ODFontProperties.h"

class CODCustomViewport
{
public:
    CODCustomViewport();
    virtual ~CODCustomViewport();

    COLORREF GetLineColor() const { return m_crLineColor; }
    void SetLineColor(COLORREF color) { m_crLineColor = color; }
    int GetLineWidth() const { return m_nLineWidth; }
    void SetLineWidth(int points) { m_nLineWidth = points; }
    int GetLineStyle() const { return m_nLineStyle; }
    void SetLineStyle(int style);
    CODFontProperties* FindFontProperties() { return &m_font; }

private:
    COLORREF m_crLineColor;
    int m_nLineWidth;
    int m_nLineStyle;
    CODFontProperties m_font;
};
