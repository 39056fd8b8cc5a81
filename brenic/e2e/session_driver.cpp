// A user's hands and eyes on the running program, for scripted sessions: finds its windows,
// posts input to them, reads what they show and grabs their pictures. It never calls into the
// program's code; it only sends and posts window messages, as another program on the same
// desktop could. Run it in the program's prefix:
//
//   wine session_driver.exe.so COMMAND ARGS... [:: COMMAND ARGS...]...
//
// Commands run in order; the first one that fails ends the run with status 1 and a reason
// on stderr (status 2: a command or window path not understood). Texts are printed as the
// program holds them (Windows-1252 bytes), one value a line.
//
// A window PATH is a list of steps joined by '/'. The first step finds a top-level window
// (visible ones only unless the step says `hidden`), each next one a descendant (at any depth)
// of the window found so far. A step is a ','-joined list of conditions, all of which must hold:
//   #1a2b        the window with that handle (hex)
//   @1001        control id (decimal, or hex with 0x)
//   class=NAME   class name (case-insensitive);  class^=PREFIX  the class name's start
//   text=TEXT    caption (exact);  text~=PART  caption holding PART
//   n=K          the K-th match (from 0, in Z-order)
//   visible / hidden   only visible windows / also hidden ones
// e.g. "class=#32770,text~=Options/@1" is the OK button of the dialog captioned "...Options...".
//
// Commands:
//   list [PATH]                  windows (top-level, or PATH's descendants): handle, class,
//                                id, visibility, caption, screen rectangle
//   wait PATH [SECONDS]          waits (30 s by default) for PATH to exist; prints its handle
//   gone PATH [SECONDS]          waits for PATH to be gone
//   exists PATH                  status 0 if PATH exists now, else 1
//   text PATH                    the window's text (WM_GETTEXT)
//   waittext PATH PART [SECONDS] waits until the window's text holds PART; prints the text
//   settext PATH TEXT            sets the window's text (WM_SETTEXT), then tells its parent
//                                the edit changed (EN_CHANGE), as typing would
//   type PATH TEXT               posts the characters of TEXT (WM_CHAR) to the window
//   items PATH                   a list's items, one a line: list box, combo box, list view
//                                (columns joined by tabs), tab control, tree view (depth by
//                                leading spaces)
//   selected PATH                index of the selected item of a list box, combo box, list view
//                                or tab control (-1 for none)
//   select PATH INDEX            selects an item of a list box or combo box (and tells the
//                                parent, as a click would), of a list view or of a tab control
//   itemrect PATH INDEX          an item's rectangle in the list's client coordinates (list
//                                box, list view, tab control): left top right bottom
//   clickitem PATH INDEX [right|double]  a mouse click at the centre of a list's item (of its
//                                picture in an icon view), scrolled into view first
//   state PATH                   "visible|hidden enabled|disabled checked|unchecked"
//   rect PATH                    the window's client rectangle in screen coordinates
//   command PATH ID              posts WM_COMMAND ID (a menu command or accelerator) to PATH
//   press PATH                   presses a button (BM_CLICK, posted)
//   click PATH [X Y] [right|double]  a mouse click at the client point (default: the
//                                centre), posted to the deepest visible window under it
//   drag PATH X1 Y1 X2 Y2 [STEPS]    left button down at the first point, moves, up at the last
//   realclick PATH [X Y] [right|double]  the same through the system's input (the cursor moves
//                                there and the button is pressed), as a hand on the mouse:
//                                the window under the cursor gets it, with capture and
//                                button state as the system keeps them
//   realdrag PATH X1 Y1 X2 Y2 [STEPS]    a drag through the system's input
//   realkey PATH KEY [ctrl] [shift] [alt]  PATH's top-level window brought to the front, then
//                                the key pressed and released through the system's input
//   key PATH KEY [ctrl] [shift] [alt]  posts key down and up (KEY: a name such as F3, RETURN,
//                                ESCAPE, LEFT, HOME, PRIOR, SPACE, TAB, DELETE, a letter or
//                                digit, or a number)
//   close PATH                   posts WM_CLOSE
//   onscreen PATH [FILE.bmp]     checks that the window shows on the screen as it is painted:
//                                the screen's pixels in its whole rectangle (read from the
//                                display's root) match the window's own picture (its frame
//                                included) but for 2 %, and they hold the window's background
//                                colour (a dialog's face, a menu's or a tooltip's background)
//                                in at least a tenth of the rectangle and more than one
//                                colour: a black, blank or unpainted window fails; with FILE,
//                                the screen's rectangle goes there
//   hover PATH [X Y]             the cursor moved onto the client point (default: the centre)
//                                and left resting there, as a hand on the mouse
//   grab PATH FILE.bmp [window]  the window's picture as the screen shows it (or, with
//                                `window`, as drawn into its own surface) to a 24-bit BMP
//                                (FILE: a Unix path)
//   bars PATH [ROW]              the frame number the synthetic camera drew as 16 bars across
//                                the middle of a picture filling PATH's client area (ROW: the
//                                row to read, from the client's top; default the middle);
//                                prints -1 when a bar is neither dark nor bright
//   frame PATH [LEFT RIGHT]      the synthetic camera's frame number in a picture that fills
//                                PATH's client area and shows the picture's columns LEFT to
//                                RIGHT (of 720; default all, e.g. 180 540 for the middle half
//                                a channel shows in the split view): the bits of the bars
//                                shown whole, the lower ones from the moving stripes (6
//                                pixels a frame); the bits of bars not shown count as 0; -1
//                                when it cannot be read
//   stripes PATH [LEFT RIGHT]    the stripes' shift (6 x frame mod 64) measured in the picture
//   field PATH                   which field of a frame a picture filling PATH's client area
//                                shows, from how its top rows pair: a field is shown with each
//                                of its lines doubled, the first field's onto the rows 0-1,
//                                2-3, ..., the second's onto 1-2, 3-4, ...; prints 0 or 1, or
//                                -1 when the rows do not pair (a whole frame, live video)
//   pixel PATH X Y               the colour at a client point, as RRGGBB
//   numbers FILE                 the synthetic camera's frame numbers in the pictures of a
//                                clip file (FILE: a Unix path), in file order, one a line
//                                (-1 for a picture not decoded); a camera late on a loaded
//                                machine skips numbers, so they need not follow one another
//   sleep MS
#include <windows.h>
#include <commctrl.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#include "av_readback.h"
#include "started_mark.h"
#include "synthetic_dv.h"

namespace {

struct Failure {
    int status;
    std::string why;
};

[[noreturn]] void Fail(const std::string& why, int status = 1) { throw Failure{status, why}; }

std::string Lower(std::string s)
{
    for (char& c : s)
        c = (char)tolower((unsigned char)c);
    return s;
}

std::vector<std::string> Split(const std::string& s, char sep)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

LONG Number(const std::string& s)
{
    char* end = nullptr;
    long v = strtol(s.c_str(), &end, 0);
    if (s.empty() || *end)
        Fail("not a number: " + s, 2);
    return (LONG)v;
}

// A message sent across processes may wait on a busy program: never forever.
LRESULT Send(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(w, msg, wp, lp, SMTO_NORMAL, 10000, &result))
        Fail("the window did not answer a message");
    return (LRESULT)result;
}

std::string ClassOf(HWND w)
{
    char cls[256] = "";
    GetClassNameA(w, cls, sizeof cls);
    return cls;
}

std::string TextOf(HWND w)
{
    LRESULT len = Send(w, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> text(len + 2);
    Send(w, WM_GETTEXT, text.size(), (LPARAM)text.data());
    return text.data();
}

struct Step {
    HWND handle = NULL;
    bool hasId = false;
    int id = 0;
    std::string cls, clsPrefix, text, textPart;
    bool hasClass = false, hasText = false;
    int index = 0;
    int visibility = -1;  // -1: default for the level, 0: any, 1: visible only
};

Step ParseStep(const std::string& s)
{
    Step step;
    for (const std::string& c : Split(s, ',')) {
        if (c.empty())
            continue;
        if (c[0] == '#')
            step.handle = (HWND)(ULONG_PTR)strtoull(c.c_str() + 1, nullptr, 16);
        else if (c[0] == '@')
            step.hasId = true, step.id = (int)Number(c.substr(1));
        else if (!c.compare(0, 7, "class^="))
            step.clsPrefix = Lower(c.substr(7));
        else if (!c.compare(0, 6, "class="))
            step.hasClass = true, step.cls = c.substr(6);
        else if (!c.compare(0, 6, "text~="))
            step.textPart = c.substr(6);
        else if (!c.compare(0, 5, "text="))
            step.hasText = true, step.text = c.substr(5);
        else if (!c.compare(0, 2, "n="))
            step.index = (int)Number(c.substr(2));
        else if (c == "visible")
            step.visibility = 1;
        else if (c == "hidden")
            step.visibility = 0;
        else
            Fail("a window path's condition not understood: " + c, 2);
    }
    return step;
}

bool Matches(HWND w, const Step& step, bool topLevel)
{
    if (step.handle && w != step.handle)
        return false;
    int visibility = step.visibility < 0 ? (topLevel ? 1 : 0) : step.visibility;
    if (visibility == 1 && !IsWindowVisible(w))
        return false;
    if (step.hasId && GetDlgCtrlID(w) != step.id)
        return false;
    if (step.hasClass || !step.clsPrefix.empty()) {
        std::string cls = ClassOf(w);
        if (step.hasClass && lstrcmpiA(cls.c_str(), step.cls.c_str()))
            return false;
        if (!step.clsPrefix.empty() && Lower(cls).compare(0, step.clsPrefix.size(), step.clsPrefix))
            return false;
    }
    if (step.hasText || !step.textPart.empty()) {
        // Captions of other processes' windows come from what the system keeps for them.
        char text[1024] = "";
        GetWindowTextA(w, text, sizeof text);
        if (step.hasText && step.text != text)
            return false;
        if (!step.textPart.empty() && !strstr(text, step.textPart.c_str()))
            return false;
    }
    return true;
}

struct Search {
    const Step* step;
    bool topLevel;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND w, LPARAM param)
{
    Search* search = (Search*)param;
    if (Matches(w, *search->step, search->topLevel))
        search->found.push_back(w);
    return TRUE;
}

// The window a path names now, or NULL.
HWND Find(const std::string& path)
{
    HWND current = NULL;
    bool first = true;
    for (const std::string& s : Split(path, '/')) {
        Step step = ParseStep(s);
        Search search{&step, first, {}};
        if (first)
            EnumWindows(Collect, (LPARAM)&search);
        else
            EnumChildWindows(current, Collect, (LPARAM)&search);
        if ((int)search.found.size() <= step.index)
            return NULL;
        current = search.found[step.index];
        first = false;
    }
    return current;
}

HWND Need(const std::string& path)
{
    HWND w = Find(path);
    if (!w)
        Fail("no window " + path);
    return w;
}

HWND WaitFor(const std::string& path, double seconds)
{
    DWORD end = GetTickCount() + (DWORD)(seconds * 1000);
    for (;;) {
        if (HWND w = Find(path))
            return w;
        if ((LONG)(GetTickCount() - end) >= 0)
            Fail("no window " + path + " after " + std::to_string(seconds) + " s");
        Sleep(100);
    }
}

void Print(const std::string& s) { printf("%s\n", s.c_str()); }

std::string Hex(HWND w)
{
    char buf[32];
    snprintf(buf, sizeof buf, "#%llx", (unsigned long long)(ULONG_PTR)w);
    return buf;
}

void Describe(HWND w, int depth)
{
    RECT r;
    GetWindowRect(w, &r);
    char line[1400];
    char text[1024] = "";
    GetWindowTextA(w, text, sizeof text);
    snprintf(line, sizeof line, "%*s%s class=%s id=%d %s \"%s\" (%ld,%ld)-(%ld,%ld)", depth * 2,
             "", Hex(w).c_str(), ClassOf(w).c_str(), GetDlgCtrlID(w),
             IsWindowVisible(w) ? "visible" : "hidden", text, (long)r.left, (long)r.top,
             (long)r.right, (long)r.bottom);
    Print(line);
}

void Tree(HWND parent, int depth)
{
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        Describe(c, depth);
        Tree(c, depth + 1);
    }
}

BOOL CALLBACK DescribeTop(HWND w, LPARAM)
{
    Describe(w, 0);
    return TRUE;
}

// Memory inside the program's process, for the common controls' messages that carry
// pointers (the system copies only the classic controls' texts across processes).
class Remote {
public:
    Remote(HWND w, size_t size) : m_size(size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!m_process)
            Fail("cannot reach the program's memory");
        m_base = (char*)VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        if (!m_base)
            Fail("cannot reach the program's memory");
    }
    ~Remote()
    {
        VirtualFreeEx(m_process, m_base, 0, MEM_RELEASE);
        CloseHandle(m_process);
    }
    char* At(size_t offset) const { return m_base + offset; }
    void Write(size_t offset, const void* data, size_t size)
    {
        if (!WriteProcessMemory(m_process, m_base + offset, data, size, nullptr))
            Fail("cannot write the program's memory");
    }
    void Read(size_t offset, void* data, size_t size)
    {
        if (!ReadProcessMemory(m_process, m_base + offset, data, size, nullptr))
            Fail("cannot read the program's memory");
    }

private:
    HANDLE m_process;
    char* m_base;
    size_t m_size;
};

const size_t kTextOffset = 1024, kTextSize = 4096;

std::string ListViewText(HWND w, Remote& mem, int item, int column)
{
    LVITEMA lv = {};
    lv.iSubItem = column;
    lv.cchTextMax = kTextSize;
    lv.pszText = mem.At(kTextOffset);
    mem.Write(0, &lv, sizeof lv);
    mem.Write(kTextOffset, "", 1);
    Send(w, LVM_GETITEMTEXTA, item, (LPARAM)mem.At(0));
    char text[kTextSize] = "";
    mem.Read(kTextOffset, text, sizeof text);
    text[kTextSize - 1] = 0;
    return text;
}

void TreeItems(HWND w, Remote& mem, HTREEITEM item, int depth, std::vector<std::string>& out)
{
    for (; item; item = (HTREEITEM)Send(w, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)item)) {
        TVITEMA tv = {};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = mem.At(kTextOffset);
        tv.cchTextMax = kTextSize;
        mem.Write(0, &tv, sizeof tv);
        mem.Write(kTextOffset, "", 1);
        Send(w, TVM_GETITEMA, 0, (LPARAM)mem.At(0));
        char text[kTextSize] = "";
        mem.Read(kTextOffset, text, sizeof text);
        text[kTextSize - 1] = 0;
        out.push_back(std::string(depth, ' ') + text);
        TreeItems(w, mem, (HTREEITEM)Send(w, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)item), depth + 1, out);
    }
}

enum class Kind { ListBox, ComboBox, ListView, Tab, TreeView, Other };

Kind KindOf(HWND w)
{
    std::string cls = Lower(ClassOf(w));
    if (cls == "listbox" || cls == "combolbox")
        return Kind::ListBox;
    if (cls == "combobox")
        return Kind::ComboBox;
    if (cls == "syslistview32")
        return Kind::ListView;
    if (cls == "systabcontrol32")
        return Kind::Tab;
    if (cls == "systreeview32")
        return Kind::TreeView;
    return Kind::Other;
}

std::vector<std::string> Items(HWND w)
{
    std::vector<std::string> out;
    switch (KindOf(w)) {
    case Kind::ListBox:
    case Kind::ComboBox: {
        // Asked for in wide characters: the system hands an item's text across processes
        // as the list keeps it, and the ANSI form of the request came back cut short.
        bool list = KindOf(w) == Kind::ListBox;
        int count = (int)Send(w, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            DWORD_PTR len = 0;
            if (!SendMessageTimeoutW(w, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, i, 0, SMTO_NORMAL,
                                     10000, &len))
                Fail("the window did not answer a message");
            std::vector<WCHAR> wide((int)len > 0 ? len + 1 : 1);
            DWORD_PTR ignored = 0;
            if (!SendMessageTimeoutW(w, list ? LB_GETTEXT : CB_GETLBTEXT, i, (LPARAM)wide.data(),
                                     SMTO_NORMAL, 10000, &ignored))
                Fail("the window did not answer a message");
            std::vector<char> text(wide.size() * 2 + 1);
            WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, text.data(), (int)text.size(), NULL, NULL);
            out.push_back(text.data());
        }
        break;
    }
    case Kind::ListView: {
        Remote mem(w, kTextOffset + kTextSize);
        HWND header = (HWND)Send(w, LVM_GETHEADER, 0, 0);
        int columns = header ? (int)Send(header, HDM_GETITEMCOUNT, 0, 0) : 1;
        if (columns < 1)
            columns = 1;
        int count = (int)Send(w, LVM_GETITEMCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            std::string line;
            for (int c = 0; c < columns; ++c)
                line += (c ? "\t" : "") + ListViewText(w, mem, i, c);
            out.push_back(line);
        }
        break;
    }
    case Kind::Tab: {
        Remote mem(w, kTextOffset + kTextSize);
        int count = (int)Send(w, TCM_GETITEMCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            TCITEMA tc = {};
            tc.mask = TCIF_TEXT;
            tc.pszText = mem.At(kTextOffset);
            tc.cchTextMax = kTextSize;
            mem.Write(0, &tc, sizeof tc);
            mem.Write(kTextOffset, "", 1);
            Send(w, TCM_GETITEMA, i, (LPARAM)mem.At(0));
            char text[kTextSize] = "";
            mem.Read(kTextOffset, text, sizeof text);
            text[kTextSize - 1] = 0;
            out.push_back(text);
        }
        break;
    }
    case Kind::TreeView: {
        Remote mem(w, kTextOffset + kTextSize);
        TreeItems(w, mem, (HTREEITEM)Send(w, TVM_GETNEXTITEM, TVGN_ROOT, 0), 0, out);
        break;
    }
    case Kind::Other:
        Fail("not a list: " + ClassOf(w));
    }
    return out;
}

int Selected(HWND w)
{
    switch (KindOf(w)) {
    case Kind::ListBox: return (int)Send(w, LB_GETCURSEL, 0, 0);
    case Kind::ComboBox: return (int)Send(w, CB_GETCURSEL, 0, 0);
    case Kind::ListView: return (int)Send(w, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    case Kind::Tab: return (int)Send(w, TCM_GETCURSEL, 0, 0);
    default: Fail("no selection in " + ClassOf(w));
    }
}

void NotifyParent(HWND w, int code)
{
    HWND parent = GetParent(w);
    if (parent)
        PostMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), code), (LPARAM)w);
}

void Select(HWND w, int index)
{
    switch (KindOf(w)) {
    case Kind::ListBox:
        Send(w, LB_SETCURSEL, index, 0);
        NotifyParent(w, LBN_SELCHANGE);
        break;
    case Kind::ComboBox:
        Send(w, CB_SETCURSEL, index, 0);
        NotifyParent(w, CBN_SELCHANGE);
        break;
    case Kind::ListView: {
        // The list view tells its parent itself (LVN_ITEMCHANGED), as a click would.
        Remote mem(w, sizeof(LVITEMA));
        LVITEMA lv = {};
        lv.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        lv.state = 0;
        mem.Write(0, &lv, sizeof lv);
        Send(w, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)mem.At(0));
        lv.state = LVIS_SELECTED | LVIS_FOCUSED;
        mem.Write(0, &lv, sizeof lv);
        Send(w, LVM_SETITEMSTATE, index, (LPARAM)mem.At(0));
        Send(w, LVM_ENSUREVISIBLE, index, FALSE);
        break;
    }
    case Kind::Tab: {
        // A tab chosen with the mouse: the parent hears of the change before and after.
        Send(w, TCM_SETCURFOCUS, index, 0);
        if ((int)Send(w, TCM_GETCURSEL, 0, 0) != index)
            Send(w, TCM_SETCURSEL, index, 0);
        break;
    }
    default:
        Fail("cannot select in " + ClassOf(w));
    }
}

RECT ItemRect(HWND w, int index, int part = LVIR_BOUNDS)
{
    RECT r = {};
    switch (KindOf(w)) {
    case Kind::ListBox:
        if (Send(w, LB_GETITEMRECT, index, (LPARAM)&r) == LB_ERR)
            Fail("no item " + std::to_string(index));
        break;
    case Kind::ListView:
    case Kind::Tab: {
        Remote mem(w, sizeof r);
        r.left = part;
        mem.Write(0, &r, sizeof r);
        bool list = KindOf(w) == Kind::ListView;
        if (!Send(w, list ? LVM_GETITEMRECT : TCM_GETITEMRECT, index, (LPARAM)mem.At(0)))
            Fail("no item " + std::to_string(index));
        mem.Read(0, &r, sizeof r);
        break;
    }
    default:
        Fail("no items with places in " + ClassOf(w));
    }
    return r;
}

struct KeyName {
    const char* name;
    UINT vk;
};
const KeyName kKeys[] = {
    {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE},
    {"TAB", VK_TAB}, {"SPACE", VK_SPACE}, {"BACK", VK_BACK}, {"DELETE", VK_DELETE},
    {"INSERT", VK_INSERT}, {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT}, {"UP", VK_UP},
    {"DOWN", VK_DOWN}, {"HOME", VK_HOME}, {"END", VK_END}, {"PRIOR", VK_PRIOR},
    {"PGUP", VK_PRIOR}, {"NEXT", VK_NEXT}, {"PGDN", VK_NEXT}, {"ADD", VK_ADD},
    {"SUBTRACT", VK_SUBTRACT},
};

UINT KeyCode(const std::string& name)
{
    std::string upper = name;
    for (char& c : upper)
        c = (char)toupper((unsigned char)c);
    if (upper.size() == 1 && isalnum((unsigned char)upper[0]))
        return (UINT)upper[0];
    if (upper.size() >= 2 && upper[0] == 'F' && isdigit((unsigned char)upper[1])) {
        int n = atoi(upper.c_str() + 1);
        if (n >= 1 && n <= 24)
            return VK_F1 + n - 1;
    }
    for (const KeyName& k : kKeys)
        if (upper == k.name)
            return k.vk;
    return (UINT)Number(name);
}

// Key down and up, as the keyboard would post them; modifier keys go first and are let go
// last, so that a program reading the key messages in order sees them held.
void PostKey(HWND w, UINT vk, bool ctrl, bool shift, bool alt)
{
    std::vector<UINT> mods;
    if (ctrl)
        mods.push_back(VK_CONTROL);
    if (shift)
        mods.push_back(VK_SHIFT);
    if (alt)
        mods.push_back(VK_MENU);
    auto post = [&](UINT key, bool down) {
        UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
        LPARAM lp = 1 | (scan << 16) | (alt ? (1u << 29) : 0) | (down ? 0 : (3u << 30));
        UINT msg = alt || key == VK_F10 ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP)
                                        : (down ? WM_KEYDOWN : WM_KEYUP);
        PostMessageA(w, msg, key, lp);
    };
    for (UINT m : mods)
        post(m, true);
    post(vk, true);
    post(vk, false);
    for (auto it = mods.rbegin(); it != mods.rend(); ++it)
        post(*it, false);
}

// The deepest visible window under a screen point, starting from `w`.
HWND Deepest(HWND w, POINT screen)
{
    for (;;) {
        POINT client = screen;
        ScreenToClient(w, &client);
        HWND child = ChildWindowFromPointEx(w, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!child || child == w)
            return w;
        w = child;
    }
}

POINT ClientPoint(HWND w, const std::vector<std::string>& args, size_t at)
{
    RECT r;
    GetClientRect(w, &r);
    POINT p = {r.right / 2, r.bottom / 2};
    if (args.size() >= at + 2 && isdigit((unsigned char)args[at][0]) ) {
        p.x = Number(args[at]);
        p.y = Number(args[at + 1]);
    }
    return p;
}

void PostMouse(HWND top, POINT client, UINT msg, WPARAM keys)
{
    POINT screen = client;
    ClientToScreen(top, &screen);
    HWND target = Deepest(top, screen);
    POINT local = screen;
    ScreenToClient(target, &local);
    PostMessageA(target, msg, keys, MAKELPARAM(local.x, local.y));
}

void Click(HWND w, POINT p, bool right, bool twice)
{
    PostMouse(w, p, WM_MOUSEMOVE, 0);
    PostMouse(w, p, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON);
    PostMouse(w, p, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0);
    if (twice) {
        PostMouse(w, p, right ? WM_RBUTTONDBLCLK : WM_LBUTTONDBLCLK, right ? MK_RBUTTON : MK_LBUTTON);
        PostMouse(w, p, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0);
    }
}

// Input as the devices would give it: the cursor moved to a client point of `w` and button
// events at the cursor.
void MoveCursor(HWND w, POINT client)
{
    POINT screen = client;
    ClientToScreen(w, &screen);
    SetCursorPos(screen.x, screen.y);
    Sleep(30);
}

void Buttons(DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    Sleep(30);
}

void RealClick(HWND w, POINT p, bool right, bool twice)
{
    MoveCursor(w, p);
    const DWORD down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    const DWORD up = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
        Buttons(down);
        Buttons(up);
    }
}

void RealKey(HWND w, UINT vk, bool ctrl, bool shift, bool alt)
{
    HWND top = GetAncestor(w, GA_ROOT);
    SetForegroundWindow(top);
    Sleep(100);
    std::vector<UINT> keys;
    if (ctrl)
        keys.push_back(VK_CONTROL);
    if (shift)
        keys.push_back(VK_SHIFT);
    if (alt)
        keys.push_back(VK_MENU);
    keys.push_back(vk);
    std::vector<INPUT> in;
    for (UINT k : keys) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = (WORD)k;
        in.push_back(i);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = (WORD)*it;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        in.push_back(i);
    }
    SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
    Sleep(30);
}

struct Picture {
    int width = 0, height = 0;
    std::vector<BYTE> bgr;  // top-down rows, 3 bytes a pixel, rows padded to 4 bytes
    int Stride() const { return (width * 3 + 3) & ~3; }
    const BYTE* At(int x, int y) const { return &bgr[(size_t)y * Stride() + x * 3]; }
};

// Copies the picture's rectangle of the source, from (x, y), into the picture's pixels (24-bit
// rows, top down); FALSE when the copy fails.
static BOOL BlitInto(Picture& pic, HDC source, int x, int y)
{
    HDC mem = CreateCompatibleDC(source);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = pic.width;
    bi.bmiHeader.biHeight = -pic.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BOOL ok = BitBlt(mem, 0, 0, pic.width, pic.height, source, x, y, SRCCOPY);
    GdiFlush();
    if (ok)
        pic.bgr.assign((BYTE*)bits, (BYTE*)bits + (size_t)pic.Stride() * pic.height);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    return ok;
}

// The client area's pixels, from the screen (what the user sees) or from the window's own
// surface.
Picture GrabClient(HWND w, bool ownSurface)
{
    RECT r;
    GetClientRect(w, &r);
    Picture pic;
    pic.width = r.right;
    pic.height = r.bottom;
    if (pic.width <= 0 || pic.height <= 0)
        Fail("the window has no client area to grab");
    POINT origin = {0, 0};
    ClientToScreen(w, &origin);
    HDC source = ownSurface ? GetDC(w) : GetDC(NULL);
    BOOL ok = BlitInto(pic, source, ownSurface ? 0 : origin.x, ownSurface ? 0 : origin.y);
    ReleaseDC(ownSurface ? w : NULL, source);
    if (!ok)
        Fail("the picture could not be read");
    return pic;
}

void SaveBmp(const Picture& pic, const std::string& file);

// The pixels of the window's whole rectangle (frame included): from the screen, what the
// display shows there, or from the window's own drawable.
Picture GrabWindow(HWND w, bool ownSurface)
{
    RECT r;
    if (!GetWindowRect(w, &r))
        Fail("the window is gone");
    Picture pic;
    pic.width = r.right - r.left;
    pic.height = r.bottom - r.top;
    if (pic.width <= 0 || pic.height <= 0)
        Fail("the window has no area to grab");
    HDC source = ownSurface ? GetWindowDC(w) : GetDC(NULL);
    BOOL ok = BlitInto(pic, source, ownSurface ? 0 : r.left, ownSurface ? 0 : r.top);
    ReleaseDC(ownSurface ? w : NULL, source);
    if (!ok)
        Fail("the picture could not be read");
    return pic;
}

// The colour a painted window of this class shows most: a dialog's face, a menu's or a
// tooltip's background; other windows have none that can be told.
bool BackgroundOf(HWND w, COLORREF* colour)
{
    const std::string cls = Lower(ClassOf(w));
    int index = -1;
    if (cls == "#32770")
        index = COLOR_BTNFACE;
    else if (cls == "#32768")
        index = COLOR_MENU;
    else if (cls == "tooltips_class32")
        index = COLOR_INFOBK;
    if (index < 0)
        return false;
    *colour = GetSysColor(index);
    return true;
}

// A window as the user sees it: the screen's pixels in its rectangle against its own, and
// against what a painted window of its class shows.
void CheckOnScreen(HWND w, const std::string& file)
{
    const Picture screen = GrabWindow(w, false);
    const Picture own = GrabWindow(w, true);
    if (!file.empty())
        SaveBmp(screen, file);
    const size_t total = (size_t)screen.width * screen.height;
    size_t differ = 0, background = 0;
    COLORREF face = 0;
    const bool hasFace = BackgroundOf(w, &face);
    const BYTE* first = screen.At(0, 0);
    bool oneColour = true;
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x) {
            const BYTE* s = screen.At(x, y);
            const BYTE* o = own.At(x, y);
            if (abs(s[0] - o[0]) > 24 || abs(s[1] - o[1]) > 24 || abs(s[2] - o[2]) > 24)
                ++differ;
            if (memcmp(s, first, 3))
                oneColour = false;
            if (hasFace && s[2] == GetRValue(face) && s[1] == GetGValue(face) &&
                s[0] == GetBValue(face))
                ++background;
        }
    char why[160];
    if (oneColour) {
        snprintf(why, sizeof why, "the window shows on the screen as one colour (%02X%02X%02X)",
                 first[2], first[1], first[0]);
        Fail(why);
    }
    if (differ * 50 > total) {
        snprintf(why, sizeof why, "the screen differs from the window's own picture in %zu of %zu pixels",
                 differ, total);
        Fail(why);
    }
    if (hasFace && background * 10 < total) {
        snprintf(why, sizeof why, "the window's background colour covers only %zu of %zu pixels on the screen",
                 background, total);
        Fail(why);
    }
}

void SaveBmp(const Picture& pic, const std::string& file)
{
    FILE* f = fopen(file.c_str(), "wb");
    if (!f)
        Fail("cannot write " + file);
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = pic.width;
    ih.biHeight = -pic.height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = (DWORD)pic.bgr.size();
    fh.bfType = 0x4d42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    bool ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&ih, sizeof ih, 1, f) == 1 &&
              fwrite(pic.bgr.data(), pic.bgr.size(), 1, f) == 1;
    ok = fclose(f) == 0 && ok;
    if (!ok)
        Fail("cannot write " + file);
}

int Luma(const BYTE* bgr) { return (29 * bgr[0] + 150 * bgr[1] + 77 * bgr[2]) >> 8; }

// The synthetic camera's 16 bars across the width (bit 0 leftmost), read in the middle of
// each bar; -1 when one is neither clearly dark nor clearly bright.
int Bars(const Picture& pic, int row)
{
    if (row < 0 || row >= pic.height)
        Fail("the row is outside the picture");
    int n = 0;
    for (int b = 0; b < 16; ++b) {
        int x = (2 * b + 1) * pic.width / 32;
        int level = Luma(pic.At(x, row));
        if (level > 170)
            n |= 1 << b;
        else if (level > 80)
            return -1;
    }
    return n;
}

// The synthetic camera's stripes: a ramp of luma along x + y that wraps every 64 picture
// pixels and moves 6 pixels a frame, so that a wrap lies where x + y + 6n = 0 (mod 64). The
// shift 6n mod 64 is estimated from every wrap outside the bars' band of a client area whose
// left edge shows the picture's column `left` and that shows about `right` - `left` columns
// (the picture may be a little wider than the area: its scale is measured from the wraps'
// spacing); -1 without wraps.
double StripeShift(const Picture& pic, double left, double right)
{
    std::vector<std::vector<int>> wraps(pic.height);
    for (int r = 0; r < pic.height; ++r) {
        if (abs(2 * r - pic.height) < pic.height * 3 / 10)
            continue;
        int previous = Luma(pic.At(0, r));
        for (int x = 1; x < pic.width; ++x) {
            int level = Luma(pic.At(x, r));
            if (previous - level > 50)
                wraps[r].push_back(x);
            previous = level;
        }
    }
    // Client pixels per picture pixel: the mean spacing of neighbouring wraps over 64.
    double scale = pic.width / (right - left), spacing = 0;
    int spacings = 0;
    for (const std::vector<int>& row : wraps)
        for (size_t i = 1; i < row.size(); ++i) {
            double d = row[i] - row[i - 1];
            if (fabs(d - 64 * scale) < 8 * scale)
                spacing += d, ++spacings;
        }
    if (spacings > 20)
        scale = spacing / spacings / 64;
    std::vector<int> hist(64 * 4);  // quarter-pixel bins
    std::vector<double> values;
    for (int r = 0; r < pic.height; ++r) {
        const double y = (r + 0.5) * 480.0 / pic.height - 0.5;
        for (int x : wraps[r]) {
            // The drop lies on the boundary between pixels x - 1 and x.
            double v = fmod(-(left + x / scale + y), 64.0);
            if (v < 0)
                v += 64;
            values.push_back(v);
            hist[(int)(v * 4) % 256]++;
        }
    }
    if (values.empty())
        return -1;
    // The mean of the wraps near the most common value (a window of 2 pixels each side).
    int best = 0, bestCount = -1;
    for (int b = 0; b < 256; ++b) {
        int count = 0;
        for (int k = -8; k <= 8; ++k)
            count += hist[(b + k + 256) % 256];
        if (count > bestCount)
            best = b, bestCount = count;
    }
    const double centre = best / 4.0;
    double sum = 0;
    int n = 0;
    for (double v : values) {
        double d = fmod(v - centre + 96.0, 64.0) - 32.0;
        if (fabs(d) <= 2.0)
            sum += d, ++n;
    }
    return fmod(centre + sum / n + 64.0, 64.0);
}

// The frame number in a client area that shows the picture's columns `left` to `right`: its
// bits from the bars the area shows whole, the bits below the lowest of them (at most 5)
// from the stripes' shift; bits of bars outside the area count as 0. -1 when it cannot be
// read.
int FrameNumber(const Picture& pic, double left, double right)
{
    const int row = pic.height / 2;
    const double bar = 720.0 / 16;
    int known = 0, lowest = -1;
    for (int b = 0; b < 16; ++b) {
        if (b * bar < left - 0.5 || (b + 1) * bar > right + 0.5)
            continue;
        int x = (int)(((b + 0.5) * bar - left) * pic.width / (right - left));
        int level = Luma(pic.At(x, row));
        if (level > 170)
            known |= 1 << b;
        else if (level > 80)
            return -1;
        if (lowest < 0)
            lowest = b;
    }
    if (lowest < 0 || lowest > 5)
        return -1;
    if (lowest == 0)
        return known;
    const double shift = StripeShift(pic, left, right);
    if (shift < 0)
        return -1;
    int bestLow = 0;
    double bestDistance = 64;
    for (int low = 0; low < 1 << lowest; ++low) {
        double expected = (6 * (known + low)) % 64;
        double d = fabs(fmod(shift - expected + 96.0, 64.0) - 32.0);
        if (d < bestDistance)
            bestLow = low, bestDistance = d;
    }
    // Neighbouring candidates lie 2 pixels apart.
    return bestDistance < 1.0 ? known + bestLow : -1;
}

// The mean difference of luma between two rows of the picture.
double RowDifference(const Picture& pic, int a, int b)
{
    long sum = 0;
    for (int x = 0; x < pic.width; ++x)
        sum += abs(Luma(pic.At(x, a)) - Luma(pic.At(x, b)));
    return (double)sum / pic.width;
}

// 0 when the top rows pair as 0-1, 2-3, ..., 1 when as 1-2, 3-4, ..., -1 when neither does.
// Only the top rows are read: the picture's scaling to the window keeps their pairs there.
int FieldShown(const Picture& pic)
{
    const int pairs = 4;
    if (pic.height < 2 * pairs + 2)
        Fail("the picture is too small");
    double first = 0, second = 0;
    for (int k = 0; k < pairs; ++k) {
        first += RowDifference(pic, 2 * k, 2 * k + 1);
        second += RowDifference(pic, 2 * k + 1, 2 * k + 2);
    }
    if (first * 4 < second)
        return 0;
    if (second * 4 < first)
        return 1;
    return -1;
}

bool Flag(const std::vector<std::string>& args, size_t from, const char* name)
{
    for (size_t i = from; i < args.size(); ++i)
        if (Lower(args[i]) == name)
            return true;
    return false;
}

void Need(const std::vector<std::string>& args, size_t count, const char* usage)
{
    if (args.size() < count + 1)
        Fail(std::string("usage: ") + usage, 2);
}

double Seconds(const std::vector<std::string>& args, size_t at, double otherwise)
{
    return args.size() > at ? atof(args[at].c_str()) : otherwise;
}

void Run(const std::vector<std::string>& a)
{
    const std::string& cmd = a[0];
    if (cmd == "list") {
        if (a.size() > 1) {
            HWND w = Need(a[1]);
            Describe(w, 0);
            Tree(w, 1);
        } else {
            EnumWindows(DescribeTop, 0);
        }
    } else if (cmd == "wait") {
        Need(a, 1, "wait PATH [SECONDS]");
        Print(Hex(WaitFor(a[1], Seconds(a, 2, 30))));
    } else if (cmd == "gone") {
        Need(a, 1, "gone PATH [SECONDS]");
        DWORD end = GetTickCount() + (DWORD)(Seconds(a, 2, 30) * 1000);
        while (Find(a[1])) {
            if ((LONG)(GetTickCount() - end) >= 0)
                Fail("the window " + a[1] + " is still there");
            Sleep(100);
        }
    } else if (cmd == "exists") {
        Need(a, 1, "exists PATH");
        if (!Find(a[1]))
            Fail("no window " + a[1]);
    } else if (cmd == "text") {
        Need(a, 1, "text PATH");
        Print(TextOf(Need(a[1])));
    } else if (cmd == "waittext") {
        Need(a, 2, "waittext PATH PART [SECONDS]");
        DWORD end = GetTickCount() + (DWORD)(Seconds(a, 3, 30) * 1000);
        for (;;) {
            HWND w = Find(a[1]);
            std::string text = w ? TextOf(w) : "";
            if (w && text.find(a[2]) != std::string::npos) {
                Print(text);
                break;
            }
            if ((LONG)(GetTickCount() - end) >= 0)
                Fail("the text of " + a[1] + " is \"" + text + "\", without \"" + a[2] + "\"");
            Sleep(100);
        }
    } else if (cmd == "settext") {
        Need(a, 2, "settext PATH TEXT");
        HWND w = Need(a[1]);
        Send(w, WM_SETTEXT, 0, (LPARAM)a[2].c_str());
        NotifyParent(w, EN_CHANGE);
    } else if (cmd == "type") {
        Need(a, 2, "type PATH TEXT");
        HWND w = Need(a[1]);
        for (unsigned char c : a[2])
            PostMessageA(w, WM_CHAR, c, 1);
    } else if (cmd == "items") {
        Need(a, 1, "items PATH");
        for (const std::string& item : Items(Need(a[1])))
            Print(item);
    } else if (cmd == "selected") {
        Need(a, 1, "selected PATH");
        Print(std::to_string(Selected(Need(a[1]))));
    } else if (cmd == "select") {
        Need(a, 2, "select PATH INDEX");
        Select(Need(a[1]), (int)Number(a[2]));
    } else if (cmd == "itemrect") {
        Need(a, 2, "itemrect PATH INDEX");
        RECT r = ItemRect(Need(a[1]), (int)Number(a[2]));
        char buf[96];
        snprintf(buf, sizeof buf, "%ld %ld %ld %ld", (long)r.left, (long)r.top, (long)r.right,
                 (long)r.bottom);
        Print(buf);
    } else if (cmd == "clickitem") {
        Need(a, 2, "clickitem PATH INDEX [right|double]");
        HWND w = Need(a[1]);
        const int index = (int)Number(a[2]);
        // A click lands on the item as the user sees it: scrolled into view first. In the
        // icon view the click goes to the picture, not the middle of the item's box: the
        // list view brings a pressed item into view itself, and where the item is taller
        // than the list it moves by a few pixels on the press, which takes the box's middle
        // (the gap between picture and label) off the item before a double click's second
        // press.
        int part = LVIR_BOUNDS;
        if (KindOf(w) == Kind::ListView) {
            Send(w, LVM_ENSUREVISIBLE, index, FALSE);
            if ((GetWindowLongA(w, GWL_STYLE) & LVS_TYPEMASK) == LVS_ICON)
                part = LVIR_ICON;
        }
        RECT r = ItemRect(w, index, part);
        Click(w, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}, Flag(a, 3, "right"),
              Flag(a, 3, "double"));
    } else if (cmd == "state") {
        Need(a, 1, "state PATH");
        HWND w = Need(a[1]);
        LRESULT check = Lower(ClassOf(w)) == "button" ? Send(w, BM_GETCHECK, 0, 0) : 0;
        Print(std::string(IsWindowVisible(w) ? "visible" : "hidden") +
              (IsWindowEnabled(w) ? " enabled" : " disabled") +
              (check == BST_CHECKED ? " checked" : " unchecked"));
    } else if (cmd == "rect") {
        Need(a, 1, "rect PATH");
        HWND w = Need(a[1]);
        RECT r;
        GetClientRect(w, &r);
        MapWindowPoints(w, NULL, (POINT*)&r, 2);
        char buf[96];
        snprintf(buf, sizeof buf, "%ld %ld %ld %ld", (long)r.left, (long)r.top, (long)r.right,
                 (long)r.bottom);
        Print(buf);
    } else if (cmd == "command") {
        Need(a, 2, "command PATH ID");
        PostMessageA(Need(a[1]), WM_COMMAND, MAKEWPARAM(Number(a[2]), 0), 0);
    } else if (cmd == "press") {
        Need(a, 1, "press PATH");
        PostMessageA(Need(a[1]), BM_CLICK, 0, 0);
    } else if (cmd == "click") {
        Need(a, 1, "click PATH [X Y] [right|double]");
        HWND w = Need(a[1]);
        Click(w, ClientPoint(w, a, 2), Flag(a, 2, "right"), Flag(a, 2, "double"));
    } else if (cmd == "drag") {
        Need(a, 5, "drag PATH X1 Y1 X2 Y2 [STEPS]");
        HWND w = Need(a[1]);
        POINT from = {Number(a[2]), Number(a[3])}, to = {Number(a[4]), Number(a[5])};
        int steps = a.size() > 6 ? (int)Number(a[6]) : 8;
        if (steps < 1)
            steps = 1;
        PostMouse(w, from, WM_MOUSEMOVE, 0);
        PostMouse(w, from, WM_LBUTTONDOWN, MK_LBUTTON);
        for (int i = 1; i <= steps; ++i) {
            POINT p = {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
            PostMouse(w, p, WM_MOUSEMOVE, MK_LBUTTON);
        }
        PostMouse(w, to, WM_LBUTTONUP, 0);
    } else if (cmd == "realclick") {
        Need(a, 1, "realclick PATH [X Y] [right|double]");
        HWND w = Need(a[1]);
        RealClick(w, ClientPoint(w, a, 2), Flag(a, 2, "right"), Flag(a, 2, "double"));
    } else if (cmd == "realdrag") {
        Need(a, 5, "realdrag PATH X1 Y1 X2 Y2 [STEPS]");
        HWND w = Need(a[1]);
        POINT from = {Number(a[2]), Number(a[3])}, to = {Number(a[4]), Number(a[5])};
        int steps = a.size() > 6 ? (int)Number(a[6]) : 8;
        if (steps < 1)
            steps = 1;
        MoveCursor(w, from);
        Buttons(MOUSEEVENTF_LEFTDOWN);
        for (int i = 1; i <= steps; ++i)
            MoveCursor(w, {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        Buttons(MOUSEEVENTF_LEFTUP);
    } else if (cmd == "realkey") {
        Need(a, 2, "realkey PATH KEY [ctrl] [shift] [alt]");
        RealKey(Need(a[1]), KeyCode(a[2]), Flag(a, 3, "ctrl"), Flag(a, 3, "shift"),
                Flag(a, 3, "alt"));
    } else if (cmd == "key") {
        Need(a, 2, "key PATH KEY [ctrl] [shift] [alt]");
        PostKey(Need(a[1]), KeyCode(a[2]), Flag(a, 3, "ctrl"), Flag(a, 3, "shift"), Flag(a, 3, "alt"));
    } else if (cmd == "close") {
        Need(a, 1, "close PATH");
        PostMessageA(Need(a[1]), WM_CLOSE, 0, 0);
    } else if (cmd == "onscreen") {
        Need(a, 1, "onscreen PATH [FILE.bmp]");
        CheckOnScreen(Need(a[1]), a.size() > 2 ? a[2] : std::string());
    } else if (cmd == "hover") {
        Need(a, 1, "hover PATH [X Y]");
        HWND w = Need(a[1]);
        POINT p = ClientPoint(w, a, 2);
        // Moved there in two steps: a pointer that rests where it was put has moved onto it.
        MoveCursor(w, {p.x - 2, p.y - 2});
        MoveCursor(w, p);
    } else if (cmd == "grab") {
        Need(a, 2, "grab PATH FILE.bmp [window]");
        SaveBmp(GrabClient(Need(a[1]), Flag(a, 3, "window")), a[2]);
    } else if (cmd == "bars") {
        Need(a, 1, "bars PATH [ROW]");
        HWND w = Need(a[1]);
        Picture pic = GrabClient(w, false);
        int row = a.size() > 2 ? (int)Number(a[2]) : pic.height / 2;
        Print(std::to_string(Bars(pic, row)));
    } else if (cmd == "frame" || cmd == "stripes") {
        Need(a, 1, "frame|stripes PATH [LEFT RIGHT]");
        Picture pic = GrabClient(Need(a[1]), false);
        double left = a.size() > 3 ? Number(a[2]) : 0, right = a.size() > 3 ? Number(a[3]) : 720;
        if (right <= left)
            Fail("the columns are empty", 2);
        char buf[32];
        if (cmd == "frame")
            snprintf(buf, sizeof buf, "%d", FrameNumber(pic, left, right));
        else
            snprintf(buf, sizeof buf, "%.2f", StripeShift(pic, left, right));
        Print(buf);
    } else if (cmd == "field") {
        Need(a, 1, "field PATH");
        Print(std::to_string(FieldShown(GrabClient(Need(a[1]), false))));
    } else if (cmd == "numbers") {
        Need(a, 1, "numbers FILE");
        ReadBack clip = ReadClipBack(a[1], synthetic_dv::CounterFromLumaRow);
        if (!clip.opened)
            Fail("cannot read " + a[1]);
        for (int n : clip.numbers)
            Print(std::to_string(n));
    } else if (cmd == "pixel") {
        Need(a, 3, "pixel PATH X Y");
        Picture pic = GrabClient(Need(a[1]), false);
        int x = (int)Number(a[2]), y = (int)Number(a[3]);
        if (x < 0 || y < 0 || x >= pic.width || y >= pic.height)
            Fail("the point is outside the window");
        const BYTE* p = pic.At(x, y);
        char buf[16];
        snprintf(buf, sizeof buf, "%02X%02X%02X", p[2], p[1], p[0]);
        Print(buf);
    } else if (cmd == "sleep") {
        Need(a, 1, "sleep MS");
        Sleep((DWORD)Number(a[1]));
    } else {
        Fail("unknown command: " + cmd, 2);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    MarkStarted();
    std::vector<std::vector<std::string>> commands(1);
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "::"))
            commands.emplace_back();
        else
            commands.back().push_back(argv[i]);
    }
    try {
        for (const auto& c : commands) {
            if (c.empty())
                Fail("usage: session_driver COMMAND ARGS... [:: COMMAND ARGS...]", 2);
            Run(c);
            fflush(stdout);
        }
    } catch (const Failure& f) {
        fflush(stdout);
        fprintf(stderr, "session_driver: %s\n", f.why.c_str());
        return f.status;
    }
    return 0;
}
