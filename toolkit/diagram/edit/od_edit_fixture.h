// A drawing on a buffered viewport in a hidden host window that offers every message to the
// viewport first, driven by synthetic mouse and key messages, for the editor's tests.
#pragma once
#include "gtest_wine.h"
#include <afxpriv.h>
#include "MvcBufferedWrapper.h"
#include "ODClosedShapes.h"
#include "ODController.h"
#include "ODEditProperties.h"
#include "ODPointComponent.h"
#include "ODSymbolComponent.h"
#include "ODViewport.h"

typedef MvcBufferedWrapper_T<CODViewport> BufferedViewport;

class EditHost : public CWnd
{
public:
    MvcViewport* view = nullptr;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (view && view->OnWndMsg(message, wParam, lParam, result))
            return TRUE;
        return CWnd::OnWndMsg(message, wParam, lParam, result);
    }
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override
    {
        if (view && view->OnCmdMsg(id, code, extra, info))
            return TRUE;
        return CWnd::OnCmdMsg(id, code, extra, info);
    }
};

struct EditFixture {
    EditHost host;
    CODModel model;
    BufferedViewport view;
    CODController* controller = nullptr;

    EditFixture()
    {
        host.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "", WS_POPUP, CRect(0, 0, 640, 480),
                      NULL, 0);
        host.view = &view;
        model.SetSize(CSize(1000, 700));
        view.SetModel(&model);
        view.Create(&host, NULL);
        view.SetSize(600, 450);
        view.InitialUpdate();
        view.SetSnapToGrid(FALSE);  // on by default; the tests that snap say so
        controller = static_cast<CODController*>(view.GetController());
        SetKeys(0);
    }
    ~EditFixture()
    {
        SetKeys(0);
        host.view = nullptr;
        host.DestroyWindow();
    }

    HWND Wnd() { return host.GetSafeHwnd(); }
    void Send(UINT message, UINT flags, int x, int y)
    {
        ::SendMessage(Wnd(), message, flags, MAKELPARAM((WORD)(short)x, (WORD)(short)y));
    }
    void Down(int x, int y, UINT flags = 0) { Send(WM_LBUTTONDOWN, flags | MK_LBUTTON, x, y); }
    void Move(int x, int y, UINT flags = 0) { Send(WM_MOUSEMOVE, flags, x, y); }
    void Up(int x, int y, UINT flags = 0) { Send(WM_LBUTTONUP, flags, x, y); }
    void DblClk(int x, int y, UINT flags = 0) { Send(WM_LBUTTONDBLCLK, flags, x, y); }
    void RDown(int x, int y, UINT flags = 0) { Send(WM_RBUTTONDOWN, flags, x, y); }
    void RUp(int x, int y, UINT flags = 0) { Send(WM_RBUTTONUP, flags, x, y); }
    // Press, move in steps and release.
    void Drag(CPoint from, CPoint to, UINT flags = 0)
    {
        Down(from.x, from.y, flags);
        Move((from.x + to.x) / 2, (from.y + to.y) / 2, flags);
        Move(to.x, to.y, flags);
        Up(to.x, to.y, flags);
    }
    void Command(UINT id) { ::SendMessage(Wnd(), WM_COMMAND, id, 0); }
    BOOL Enabled(UINT id, int* check = nullptr)
    {
        struct Ui : CTestCmdUI {
            int checked = 0;
            void SetCheck(int n) override { checked = n; }
        } ui;
        ui.m_nID = id;
        ui.DoUpdate(controller, FALSE);
        if (check)
            *check = ui.checked;
        return ui.m_bEnabled;
    }
    // Modifier keys as GetKeyState sees them.
    static void SetKeys(UINT flags)
    {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = (flags & MK_SHIFT) ? 0x80 : 0;
        keys[VK_CONTROL] = (flags & MK_CONTROL) ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    CODRectComponent* AddRect(int l, int t, int r, int b)
    {
        CODRectComponent* rect = new CODRectComponent;
        rect->Create(l, t, r, b);
        controller->InsertComponent(rect);
        return rect;
    }
    // A symbol of one rectangle with one circle port, straight into the model.
    CODSymbolComponent* AddSymbol(const CRect& body, CPoint port)
    {
        CODSymbolComponent* s = new CODSymbolComponent;
        s->Create();
        CODRectComponent* r = new CODRectComponent;
        r->Create(body.left, body.top, body.right, body.bottom);
        s->AppendChild(r);
        CODCirclePort* p = new CODCirclePort;
        p->Create(port, 3);
        s->AddPort(p);
        s->UpdateRegion(FALSE);
        model.AppendChild(s);
        return s;
    }
    CODLineComponent* AddLine(CPoint a, CPoint b)
    {
        CPoint points[2] = {a, b};
        CODLineComponent* line = new CODLineComponent;
        line->Create(points, 2);
        controller->InsertComponent(line);
        return line;
    }
    int Count() { return model.GetChildCount(); }
    CODComponentSet* Selection() { return controller->GetSelection(); }
    int State() { return controller->GetState(); }
    MvcCommandBase* LastCommand() { return model.PeekUndo(); }
    void SetEdit(CODComponent* c, void (CODEditProperties::*set)(BOOL), BOOL value)
    {
        CODEditProperties edit;
        c->GetProperty(40, edit);
        (edit.*set)(value);
        c->SetOrAddProperty(edit);
    }
};

// Dismisses every message box the thread shows while it lives, counting them; a dialog of the
// caption given is not one.
struct MessageBoxWatch {
    static int& Count()
    {
        static int count = 0;
        return count;
    }
    static const char*& Spared()
    {
        static const char* caption = nullptr;
        return caption;
    }
    UINT_PTR timer;
    explicit MessageBoxWatch(const char* spared = nullptr)
    {
        Count() = 0;
        Spared() = spared;
        timer = ::SetTimer(NULL, 0, 30, Tick);
    }
    ~MessageBoxWatch()
    {
        ::KillTimer(NULL, timer);
        Spared() = nullptr;
    }
    static BOOL CALLBACK Close(HWND wnd, LPARAM)
    {
        char name[32] = "", caption[128] = "";
        ::GetClassNameA(wnd, name, sizeof name);
        ::GetWindowTextA(wnd, caption, sizeof caption);
        if (strcmp(name, "#32770") == 0 && ::IsWindowVisible(wnd) &&
            !(Spared() && strcmp(caption, Spared()) == 0)) {
            ++Count();
            ::PostMessage(wnd, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ::EnumThreadWindows(::GetCurrentThreadId(), Close, 0);
    }
};
