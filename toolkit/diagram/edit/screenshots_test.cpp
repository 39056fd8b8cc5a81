// Pictures of the drawing editor for people: run under a display with QUORVEL_SCREENSHOT_DIR (a
// Unix folder); each picture is taken of the whole screen with xwd. Skipped otherwise.
#include "../properties/od_page_fixture.h"
#include <string>
#include <unistd.h>
#include <vector>
#include "ODDialogs.h"
#include "ODFillProperties.h"
#include "ODImageComponent.h"
#include "ODLinkComponent.h"
#include "ODLineProperties.h"
#include "ODMeasureSheet.h"
#include "ODTextComponent.h"

namespace {

void Pump(DWORD ms)
{
    const DWORD end = ::GetTickCount() + ms;
    MSG msg;
    while ((int)(end - ::GetTickCount()) > 0) {
        while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
        ::Sleep(10);
    }
}

void Shoot(const char* name)
{
    Pump(600);
    const std::string command = std::string("xwd -root -silent -out '") +
                                getenv("QUORVEL_SCREENSHOT_DIR") + "/" + name + ".xwd'";
    EXPECT_EQ(0, system(command.c_str()));
}

// The test host paints nothing of its own: the viewport draws into it as the program's overlay
// window does when it paints.
void Paint(EditFixture& f)
{
    Pump(300);
    f.view.RenderBuffer();
    CClientDC dc(&f.host);
    f.view.Draw(&dc);
}

// A popup menu is modal, and Wine shows its picture on the screen only while the menu's own
// loop runs: the picture is taken by a process in the background while the menu is open, and a
// timer closes the menu after it.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(NULL, id);
    ::EndMenu();
}

void ShootContextMenu(EditFixture& f, const char* name, CPoint at)
{
    const std::string path = std::string(getenv("QUORVEL_SCREENSHOT_DIR")) + "/" + name + ".xwd";
    const std::string command = "(sleep 1; xwd -root -silent -out '" + path + "') &";
    unlink(path.c_str());
    ASSERT_EQ(0, system(command.c_str()));
    ::SetTimer(NULL, 0, 2500, CloseMenu);
    CMenu* menu = f.controller->BuildContextMenu();
    ASSERT_NE(menu, nullptr);
    CPoint screen = at;
    f.host.ClientToScreen(&screen);
    menu->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, &f.host);
    Pump(200);
    EXPECT_EQ(0, access(path.c_str(), F_OK)) << path;
}

void Style(CODComponent* c, COLORREF line, int width, COLORREF fill = (COLORREF)-1)
{
    CODLineProperties l(10);
    c->GetProperty(10, l);
    l.SetColor(line);
    l.SetWidth(width);
    c->SetOrAddProperty(l);
    if (fill != (COLORREF)-1) {
        CODFillProperties f(20);
        c->GetProperty(20, f);
        f.SetColor(fill);
        f.SetFillStyle(0);
        f.SetTransparent(FALSE);
        c->SetOrAddProperty(f);
    }
}

// Every shape the editor draws, a rotated text among them.
void Draw(EditFixture& f)
{
    CODRectComponent* rect = f.AddRect(30, 30, 150, 110);
    Style(rect, RGB(200, 0, 0), 2, RGB(255, 230, 200));
    CODEllipseComponent* ellipse = new CODEllipseComponent;
    ellipse->Create(CRect(180, 30, 300, 110));
    f.controller->InsertComponent(ellipse);
    Style(ellipse, RGB(0, 0, 200), 3, RGB(210, 230, 255));
    CODLineComponent* line = f.AddLine(CPoint(30, 150), CPoint(150, 230));
    Style(line, RGB(0, 140, 0), 4);
    CPoint poly[4] = {CPoint(180, 230), CPoint(240, 140), CPoint(300, 230), CPoint(240, 200)};
    CODPolygonComponent* polygon = new CODPolygonComponent;
    polygon->Create(poly, 4);
    f.controller->InsertComponent(polygon);
    Style(polygon, RGB(120, 0, 160), 1, RGB(240, 220, 255));
    CPoint bez[4] = {CPoint(330, 60), CPoint(380, 0), CPoint(420, 140), CPoint(470, 60)};
    CODCurveComponent* curve = new CODCurveComponent;
    curve->Create(bez, 4);
    f.controller->InsertComponent(curve);
    Style(curve, RGB(0, 0, 0), 2);
    CPoint closed[7] = {CPoint(330, 170), CPoint(360, 120), CPoint(430, 120), CPoint(460, 170),
                        CPoint(430, 220), CPoint(360, 220), CPoint(330, 170)};
    CODClosedCurveComponent* blob = new CODClosedCurveComponent;
    blob->Create(closed, 7);
    f.controller->InsertComponent(blob);
    Style(blob, RGB(160, 80, 0), 2, RGB(255, 250, 200));
    MvcClientDC dc(&f.view, 1);
    CODTextComponent* text = new CODTextComponent;
    f.view.ApplyDefaultProperties(text);
    text->Create(60, 290, &dc);
    text->SetText("Top of the swing");
    text->SizeToText(8, &dc);
    f.controller->InsertComponent(text);
    CODTextComponent* turned = new CODTextComponent;
    f.view.ApplyDefaultProperties(turned);
    turned->Create(400, 300, &dc);
    turned->SetText("Impact");
    turned->SizeToText(8, &dc);
    const CRect b = turned->GetBounds();
    turned->Rotate(900, b.CenterPoint().x, b.CenterPoint().y);
    f.model.AppendChild(turned);  // not through the editor: not selected, not being edited
    turned->UpdateRegion(TRUE);

    // A bitmap image, its magenta centre left out over the grid.
    std::vector<DWORD> pixels(64 * 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            pixels[y * 64 + x] = (x > 20 && x < 44 && y > 14 && y < 34)
                                     ? 0xFF00FF
                                     : (DWORD)((x * 4) << 16 | (y * 5) << 8 | 0x40);
    CBitmap bitmap;
    bitmap.CreateBitmap(64, 48, 1, 32, pixels.data());
    CODImageComponent* image = new CODImageComponent;
    image->CreateFromBitmap(&bitmap, TRUE, RGB(255, 0, 255));
    image->CenterOn(240, 300);
    f.model.AppendChild(image);

    // Two symbols joined by a link from the first one's port to the second one's centre.
    CODSymbolComponent* symbols[2];
    for (int i = 0; i < 2; ++i) {
        symbols[i] = new CODSymbolComponent;
        symbols[i]->Create();
        CODEllipseComponent* body = new CODEllipseComponent;
        body->Create(CRect(300 + 110 * i, 330, 350 + 110 * i, 370));
        Style(body, RGB(0, 90, 90), 1, RGB(200, 245, 240));
        symbols[i]->AppendChild(body);
        symbols[i]->UpdateRegion(FALSE);
        f.model.AppendChild(symbols[i]);
    }
    CODCirclePort* port = new CODCirclePort;
    port->Create(CPoint(350, 350), 4);
    symbols[0]->AddPort(port);
    symbols[0]->UpdateRegion(TRUE);
    CODLinkComponent* link = new CODLinkComponent;
    link->Create(port, symbols[1]->GetCenterPort());
    Style(link->GetLine(), RGB(0, 0, 0), 1);
    f.model.AppendChild(link);
}

}  // namespace

TEST(Screenshots, DrawingPagesSheetsAndDialogs)
{
    const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
    if (!dir)
        GTEST_SKIP() << "no screenshot folder";
    EditFixture f;
    f.host.SetWindowPos(NULL, 20, 20, 640, 480, SWP_NOZORDER);
    f.host.ModifyStyle(0, WS_CAPTION);
    f.host.SetWindowText("Drawing");
    f.host.ShowWindow(SW_SHOW);
    f.view.SetGridVisible(TRUE);
    f.view.SetPageBoundsVisible(TRUE);
    f.view.SetPageSize(CSize(500, 380));
    Draw(f);
    Paint(f);
    Shoot("drawing_100");
    f.view.SetZoom(200, 200);
    Paint(f);
    Shoot("drawing_200");
    f.view.SetZoom(100, 100);
    Paint(f);

    // The two context menus: over the canvas with nothing selected, over a selected component.
    // Under a display without a window manager Wine leaves a popup that lies wholly inside
    // another of its windows unpainted, so the menus open near the host's right edge.
    f.controller->ClearSelection();
    Paint(f);
    ShootContextMenu(f, "menu_canvas", CPoint(560, 60));
    f.host.SetWindowPos(NULL, 0, 0, 520, 480, SWP_NOMOVE | SWP_NOZORDER);
    f.controller->GetSelection()->Add(f.model.GetChild(5));
    Paint(f);
    ShootContextMenu(f, "menu_component", CPoint(440, 170));
    f.controller->ClearSelection();
    f.host.SetWindowPos(NULL, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    Paint(f);

    // The component sheet over a mixed selection (a rectangle, a line and a text), page by page.
    CODComponentSet mixed;
    mixed.Add(f.model.GetChild(0));
    mixed.Add(f.model.GetChild(2));
    mixed.Add(f.model.GetChild(6));
    {
        CODCompPropSheet sheet(&mixed, &f.view, "Component Properties");
        ASSERT_TRUE(sheet.Create(&f.host, WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME |
                                                DS_SETFONT, 0));
        sheet.SetWindowPos(NULL, 700, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        for (int i = 0; i < sheet.GetPageCount(); ++i) {
            sheet.SetActivePage(i);
            CString title;
            sheet.GetPage(i)->GetWindowText(title);
            title.Replace(' ', '_');
            Shoot("page_" + title);
        }
        sheet.DestroyWindow();
    }
    // One component: the Position and Size page.
    {
        CODComponentSet one;
        one.Add(f.model.GetChild(1));
        CODCompPropSheet sheet(&one, &f.view, "Component Properties",
                               CODCompPropSheet::s_pageBits[CODCompPropSheet::pagePosSize]);
        ASSERT_TRUE(sheet.Create(&f.host, WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME |
                                                DS_SETFONT, 0));
        sheet.SetWindowPos(NULL, 700, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Shoot("page_Position_and_Size");
        sheet.DestroyWindow();
    }
    // The measurement pages.
    {
        CODMeasurePropSheet sheet("Measurements and Size");
        sheet.SetCanvasSize(f.model.GetSize());
        ASSERT_TRUE(sheet.Create(&f.host, WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME |
                                                DS_SETFONT, 0));
        sheet.SetWindowPos(NULL, 700, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        const char* names[3] = {"measure_size", "measure_scale", "measure_mapping"};
        for (int i = 0; i < 3; ++i) {
            sheet.SetActivePage(i);
            Shoot(names[i]);
        }
        sheet.DestroyWindow();
    }
    // The three dialogs, modeless here so that they can be taken.
    {
        CODZoomDlg zoom;
        zoom.Create(22038, &f.host);
        zoom.SetWindowPos(NULL, 700, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        zoom.ShowWindow(SW_SHOW);
        Shoot("dialog_zoom");
        zoom.DestroyWindow();
        CODGridDlg grid;
        grid.SetUnits(4);
        grid.SetHorizontalSpacing(5.0f);
        grid.SetVerticalSpacing(5.0f);
        grid.SetGridVisible(TRUE);
        grid.SetGridColor(RGB(0, 128, 255));
        grid.Create(22026, &f.host);
        grid.SetWindowPos(NULL, 700, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        grid.ShowWindow(SW_SHOW);
        Shoot("dialog_grid");
        grid.DestroyWindow();
        CODComponentsDlg components;
        components.SetModel(&f.model);
        components.SetViewport(&f.view);
        components.SetComponents(f.model.GetChildren());
        components.Create(22017, &f.host);
        components.SetWindowPos(NULL, 700, 40, 320, 260, SWP_NOZORDER);
        components.ShowWindow(SW_SHOW);
        Shoot("dialog_components");
        components.DestroyWindow();
    }
}
