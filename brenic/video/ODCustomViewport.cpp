#include "ODCustomViewport.h"
#include "ODCustomController.h"
#include "OverlayWnd.h"
#include "VideoWindow.h"
#include <cmath>

namespace {
const int kMinZoom = 100, kMaxZoom = 1000, kZoomStep = 25;
}

CODCustomViewport::CODCustomViewport() : m_crKey(0xA8A8A8)
{
    SetZoomLimits(kMinZoom, kMaxZoom);
}

CODCustomViewport::~CODCustomViewport()
{
}

void CODCustomViewport::SetModel(MvcModel* model)
{
    if (!model) {
        m_pModel = NULL;
        return;
    }
    MvcBufferedWrapper_T<CODViewport>::SetModel(model);
}

BOOL CODCustomViewport::CreateController()
{
    m_pController = new CODCustomController(this);
    m_bOwnsController = TRUE;
    if (m_pModel)
        m_pController->SetModel(m_pModel);
    return TRUE;
}

void CODCustomViewport::DrawBackground(CDC*, CRect)
{
}

CVideoWindow* CODCustomViewport::GetVideo()
{
    COverlayWnd* overlay = dynamic_cast<COverlayWnd*>(GetWnd());
    return overlay ? overlay->GetVideoWindow() : NULL;
}

BOOL CODCustomViewport::ReadKeyColor(COLORREF* key)
{
    CVideoWindow* video = GetVideo();
    if (!video || !video->GetSafeHwnd())
        return FALSE;
    *key = COLORREF(video->GetKeyColor());
    return TRUE;
}

void CODCustomViewport::EraseBuffer(CDC* dc, CRect rect)
{
    ReadKeyColor(&m_crKey);
    dc->FillSolidRect(&rect, m_crKey);
}

void CODCustomViewport::ScrollWithVideo(CDC* dc)
{
    COverlayWnd* overlay = dynamic_cast<COverlayWnd*>(GetWnd());
    CVideoWindow* video = GetVideo();
    if (!overlay || !video || !dc)
        return;
    const CPoint origin = GetLogicalOrigin();
    const CSize clip = overlay->GetClipSize();
    // Before the clip size is known there is no crop to follow.
    if (clip.cx > 0 && clip.cy > 0)
        video->SetCropPos(float(origin.x) / float(clip.cx), float(origin.y) / float(clip.cy));
    const float s = 100.0f / float(GetZoomPercent());
    float cw, ch;
    overlay->GetCropSize(&cw, &ch);
    video->SetCropSize(cw * s, ch * s);
    Draw(dc);
}

int CODCustomViewport::GetZoomPercent()
{
    return int(std::lround(100.0 / double(m_fScaleY)));
}

void CODCustomViewport::ZoomIn()
{
    const CRect visible = GetLogicalRect();
    const CPoint centre = visible.CenterPoint();
    const int zoom = GetZoomPercent();
    SetZoom(zoom + kZoomStep > kMaxZoom ? kMaxZoom : zoom + kZoomStep,
            zoom + kZoomStep > kMaxZoom ? kMaxZoom : zoom + kZoomStep);
    CenterOn(centre.x, centre.y);
}

void CODCustomViewport::ZoomOut()
{
    const CRect visible = GetLogicalRect();
    const CPoint centre = visible.CenterPoint();
    const int zoom = GetZoomPercent();
    SetZoom(zoom - kZoomStep < kMinZoom ? kMinZoom : zoom - kZoomStep,
            zoom - kZoomStep < kMinZoom ? kMinZoom : zoom - kZoomStep);
    CenterOn(centre.x, centre.y);
}

template <class T> T* CODCustomViewport::FindDefault()
{
    CODPropertyList* list = GetDefaultProperties();
    for (POSITION pos = list->GetHeadPosition(); pos;)
        if (T* found = dynamic_cast<T*>(list->GetNext(pos).Get()))
            return found;
    return NULL;
}

CODLineProperties* CODCustomViewport::FindLineProperties()
{
    return FindDefault<CODLineProperties>();
}

CODFontProperties* CODCustomViewport::FindFontProperties()
{
    return FindDefault<CODFontProperties>();
}

void CODCustomViewport::SetLineColor(COLORREF color)
{
    if (CODLineProperties* line = FindLineProperties())
        line->SetColor(color);
}

COLORREF CODCustomViewport::GetLineColor()
{
    CODLineProperties* line = FindLineProperties();
    return line ? line->GetColor() : 0;
}

void CODCustomViewport::SetLineWidth(int points)
{
    if (CODLineProperties* line = FindLineProperties())
        line->SetWidth(points);
}

int CODCustomViewport::GetLineWidth()
{
    CODLineProperties* line = FindLineProperties();
    return line ? line->GetWidth() : 0;
}

void CODCustomViewport::SetLineStyle(int style)
{
    if (CODLineProperties* line = FindLineProperties())
        line->SetStyle(style);
}

int CODCustomViewport::GetLineStyle()
{
    CODLineProperties* line = FindLineProperties();
    return line ? line->GetStyle() : 0;
}
