// The module's second control: no behaviour of its own beyond drawing an ellipse and its
// About box. Nothing in the system creates it.
#pragma once
#include "afxctl.h"

class CClavioCtrl : public COleControl {
    DECLARE_DYNCREATE(CClavioCtrl)
public:
    CClavioCtrl();

    virtual void OnDraw(CDC* pDC, const CRect& rcBounds, const CRect& rcInvalid) override;
    virtual void DoPropExchange(CPropExchange* pPX) override;
    void AboutBox();

protected:
    DECLARE_OLECREATE_EX(CClavioCtrl)
    DECLARE_OLETYPELIB(CClavioCtrl)
    DECLARE_PROPPAGEIDS(CClavioCtrl)
    DECLARE_DISPATCH_MAP()
    DECLARE_EVENT_MAP()
};

// A plain transparent child window for video: it paints nothing of its own.
class CVideoChildWnd : public CWnd {
public:
    CVideoChildWnd() : m_nValue(0) {}
    void SetValue(int value) { m_nValue = value; }

protected:
    int m_nValue;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
