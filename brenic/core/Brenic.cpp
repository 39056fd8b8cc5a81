// Entry of the main program: the single-document frame window titled with the product's
// frame title ("<document> - <product>", as the framework composes it).
#include <windows.h>
#include <string>
#include "resource.h"

static std::string LoadResString(HINSTANCE inst, UINT id)
{
    char buf[512] = {};
    int n = LoadStringA(inst, id, buf, sizeof buf);
    return std::string(buf, n > 0 ? n : 0);
}

// The document template string: frame title, document name, new-document name, ...
static std::string TemplatePart(const std::string& s, int index)
{
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = s.find('\n', start);
        if (start == std::string::npos)
            return std::string();
        ++start;
    }
    return s.substr(start, s.find('\n', start) - start);
}

static LRESULT CALLBACK FrameProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int)
{
    const std::string docTemplate = LoadResString(inst, IDR_BRENICTYPE);
    const std::string title = TemplatePart(docTemplate, 2) + " - " + TemplatePart(docTemplate, 0);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "QuorvelMainFrame";
    RegisterClassA(&wc);

    HWND frame = CreateWindowA(wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW,
                               CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, nullptr, inst,
                               nullptr);
    if (!frame)
        return 1;
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
