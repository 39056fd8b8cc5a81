// The drawing viewport over a video channel: renders its model into an off-screen bitmap on
// the control's key colour (so only the drawn components cover the picture), moves the
// control's crop with its own scroll and zoom, and keeps the default line and font of new
// drawings.
#pragma once
#include "MvcBufferedWrapper.h"
#include "ODFontProperties.h"
#include "ODLineProperties.h"
#include "ODViewport.h"

class CVideoWindow;

class CODCustomViewport : public MvcBufferedWrapper_T<CODViewport>
{
public:
    CODCustomViewport();
    ~CODCustomViewport() override;

    // NULL only clears the model pointer (nothing is registered).
    void SetModel(MvcModel* model) override;
    BOOL CreateController() override;
    // Page colour, page bounds and grid never appear over the video.
    void DrawBackground(CDC* dc, CRect rect) override;
    void DrawGrid(CDC*, CRect) override {}
    void DrawPageBounds(CDC*, CRect) override {}
    // The buffer's fill: the key colour read from the channel's control on every call.
    void EraseBuffer(CDC* dc, CRect rect) override;

    // Crops the video to the visible area and draws the drawing into the control's context.
    void ScrollWithVideo(CDC* dc);
    void ZoomIn();
    void ZoomOut();
    // The magnification in percent, rounded (both directions are always equal here).
    int GetZoomPercent();

    void SetLineColor(COLORREF color);
    COLORREF GetLineColor();
    void SetLineWidth(int points);
    int GetLineWidth();
    void SetLineStyle(int style);
    int GetLineStyle();
    CODLineProperties* FindLineProperties();
    CODFontProperties* FindFontProperties();

    COLORREF GetKeyColor() const { return m_crKey; }

protected:
    // The control of the overlay window this viewport is bound to; NULL when none.
    CVideoWindow* GetVideo();
    // The control's key colour; FALSE (nothing read) without a control.
    virtual BOOL ReadKeyColor(COLORREF* key);
    template <class T> T* FindDefault();

    COLORREF m_crKey;
};
