// Video codecs of the tests, installed as functions (ICInstall with ICINSTALL_FUNCTION): one
// that draws (VIDCF_DRAW) and one that does not; both record the ICM_DRAW_* messages they get.
#pragma once
#include <windows.h>
#include <vfw.h>
#include <string>
#include <vector>

inline const DWORD kDrawing = mmioFOURCC('t', 's', 'd', 'w');
inline const DWORD kNotDrawing = mmioFOURCC('t', 's', 'n', 'd');
// What the test codecs received, one entry per message: "begin", "draw 5 preroll", ...
inline std::vector<std::string> g_calls;

inline LRESULT CALLBACK TestCodec(DWORD_PTR, HDRVR, UINT msg, LPARAM lParam1, LPARAM lParam2, bool draws)
{
    switch (msg) {
    case DRV_LOAD:
    case DRV_ENABLE:
    case DRV_OPEN:
    case DRV_CLOSE:
    case DRV_DISABLE:
    case DRV_FREE:
        return 1;
    case ICM_GETINFO: {
        auto* info = reinterpret_cast<ICINFO*>(lParam1);
        if (!info || DWORD(lParam2) < sizeof(ICINFO))
            return 0;
        info->dwSize = sizeof(ICINFO);
        info->fccType = ICTYPE_VIDEO;
        info->dwFlags = draws ? VIDCF_DRAW : 0;
        return sizeof(ICINFO);
    }
    case ICM_GETBUFFERSWANTED:
        *reinterpret_cast<DWORD*>(lParam1) = 3;
        return ICERR_OK;
    case ICM_DRAW_QUERY:
        return ICERR_OK;
    case ICM_DRAW_BEGIN: {
        auto* begin = reinterpret_cast<ICDRAWBEGIN*>(lParam1);
        g_calls.push_back("begin " + std::to_string(begin->dxDst) + "x" +
                          std::to_string(begin->dyDst) + " " + std::to_string(begin->lpbi->biWidth));
        return ICERR_OK;
    }
    case ICM_DRAW: {
        auto* draw = reinterpret_cast<ICDRAW*>(lParam1);
        // The low byte of the frame's first pixel: its number in the tests' clips.
        const DWORD frame = draw->lpData ? *static_cast<const DWORD*>(draw->lpData) & 0xFF : ~0u;
        g_calls.push_back("draw " + std::to_string(frame) +
                          ((draw->dwFlags & ICDRAW_PREROLL) ? " preroll" : "") + " t" +
                          std::to_string(draw->lTime));
        return ICERR_OK;
    }
    case ICM_DRAW_WINDOW: {
        const RECT* r = reinterpret_cast<const RECT*>(lParam1);
        g_calls.push_back("window " + std::to_string(r->right - r->left) + "x" +
                          std::to_string(r->bottom - r->top));
        return ICERR_OK;
    }
    case ICM_DRAW_START: g_calls.push_back("start"); return ICERR_OK;
    case ICM_DRAW_FLUSH: g_calls.push_back("flush"); return ICERR_OK;
    case ICM_DRAW_STOP: g_calls.push_back("stop"); return ICERR_OK;
    case ICM_DRAW_END: g_calls.push_back("end"); return ICERR_OK;
    default:
        return msg < DRV_USER ? 0 : ICERR_UNSUPPORTED;
    }
}

inline LRESULT CALLBACK DrawingCodec(DWORD_PTR id, HDRVR drv, UINT msg, LPARAM a, LPARAM b)
{
    return TestCodec(id, drv, msg, a, b, true);
}

inline LRESULT CALLBACK PlainCodec(DWORD_PTR id, HDRVR drv, UINT msg, LPARAM a, LPARAM b)
{
    return TestCodec(id, drv, msg, a, b, false);
}

// Installs both codecs for the test program.
inline bool InstallTestCodecs()
{
    return ICInstall(ICTYPE_VIDEO, kDrawing, (LPARAM)DrawingCodec, NULL, ICINSTALL_FUNCTION) &&
           ICInstall(ICTYPE_VIDEO, kNotDrawing, (LPARAM)PlainCodec, NULL, ICINSTALL_FUNCTION);
}
