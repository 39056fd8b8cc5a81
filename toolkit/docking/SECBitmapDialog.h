// A dialog whose background is an image, tiled, centred or stretched over the client area,
// with palette handling for palette screens and static controls drawn transparently over
// the image.
#ifndef QUORVEL_SECBITMAPDIALOG_H
#define QUORVEL_SECBITMAPDIALOG_H

#include "SECDib.h"

class SECBitmapDialog : public CDialog {
    DECLARE_DYNAMIC(SECBitmapDialog)
public:
    enum { tile = 0, center = 1, stretch = 2 };

    SECBitmapDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    SECBitmapDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual ~SECBitmapDialog();

    // The background from a bitmap resource of the application's resource module; FALSE,
    // the present image kept, when the resource cannot be loaded.
    BOOL SetBitmap(LPCTSTR lpszResourceName, int nDisplayMode = tile);
    BOOL SetBitmapId(UINT nIDResource, int nDisplayMode = tile);
    // A copy of the image as the background; with none, the background is removed (FALSE).
    BOOL SetBitmapImage(SECDib* pImage, int nDisplayMode = tile);
    void ClearBitmap();
    CPalette* SetPalette(CPalette* pPalette);
    SECDib* GetImage() const { return m_pImage; }
    int GetDisplayMode() const { return m_nDisplayMode; }

    virtual HBRUSH OnTransparentCtlColor(CDC* pDC, CWnd* pWnd);
    virtual void SetHalftone(BOOL bHalftone);
    virtual HBRUSH GetTransparentBrush();

protected:
    BOOL TakeImage(SECDib* pImage, int nDisplayMode);
    BOOL RealizeOwnPalette(BOOL bBackground);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    DECLARE_MESSAGE_MAP()

    CBrush* m_pBrush;       // the stock null brush
    SECDib* m_pImage;       // owned
    int m_nDisplayMode;
    CPalette* m_pPalette;   // the image's, not owned
};

#endif  // QUORVEL_SECBITMAPDIALOG_H
