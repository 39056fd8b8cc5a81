// Reading dialog templates for the OLE control items they name.
#include "afxole.h"

namespace {

class Reader {
public:
    Reader(const BYTE* p, size_t n) : m_p(p), m_n(n), m_pos(0), m_ok(true) {}
    bool ok() const { return m_ok; }
    WORD Word()
    {
        if (!m_ok || m_n - m_pos < 2) {
            m_ok = false;
            return 0;
        }
        WORD w = (WORD)(m_p[m_pos] | (m_p[m_pos + 1] << 8));
        m_pos += 2;
        return w;
    }
    DWORD Dword()
    {
        DWORD lo = Word();
        return lo | ((DWORD)Word() << 16);
    }
    void Skip(size_t n)
    {
        if (!m_ok || m_n - m_pos < n)
            m_ok = false;
        else
            m_pos += n;
    }
    void Align4()
    {
        size_t pad = (4 - (m_pos & 3)) & 3;
        if (m_n - m_pos < pad)
            m_pos = m_n; // the last item may end without padding
        else
            m_pos += pad;
    }
    bool AtEnd() const { return m_pos >= m_n; }
    // A string or an ordinal; the string comes back in ANSI.
    CString SzOrOrd(bool* pIsString = nullptr)
    {
        if (pIsString)
            *pIsString = false;
        WORD first = Word();
        if (!m_ok || first == 0)
            return CString();
        if (first == 0xFFFF) {
            Word();
            return CString();
        }
        std::vector<WCHAR> text(1, first);
        for (;;) {
            WORD c = Word();
            if (!m_ok || c == 0)
                break;
            text.push_back(c);
        }
        if (pIsString)
            *pIsString = m_ok;
        char ansi[512] = {};
        WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), ansi, sizeof ansi - 1,
                            nullptr, nullptr);
        return CString(ansi);
    }

private:
    const BYTE* m_p;
    size_t m_n;
    size_t m_pos;
    bool m_ok;
};

} // namespace

BOOL AFXAPI AfxOleDialogControlClasses(const BYTE* pTemplate, size_t nSize,
                                       std::vector<CString>& classes)
{
    if (!pTemplate)
        return FALSE;
    Reader r(pTemplate, nSize);
    bool ex = nSize >= 4 && pTemplate[0] == 1 && pTemplate[1] == 0 && pTemplate[2] == 0xFF &&
              pTemplate[3] == 0xFF;
    DWORD style;
    WORD count;
    if (ex) {
        r.Skip(4); // version, signature
        r.Dword(); // help id
        r.Dword(); // extended style
        style = r.Dword();
        count = r.Word();
    } else {
        style = r.Dword();
        r.Dword();
        count = r.Word();
    }
    r.Skip(8); // x, y, cx, cy
    r.SzOrOrd(); // menu
    r.SzOrOrd(); // class
    r.SzOrOrd(); // title
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        r.Word(); // point size
        if (ex) {
            r.Word(); // weight
            r.Skip(2); // italic, character set
        }
        r.SzOrOrd(); // typeface
    }
    for (WORD i = 0; i < count && r.ok(); ++i) {
        r.Align4();
        if (ex) {
            r.Skip(12); // help id, extended style, style
            r.Skip(8); // x, y, cx, cy
            r.Dword(); // id
        } else {
            r.Skip(8); // style, extended style
            r.Skip(8);
            r.Word(); // id
        }
        bool isString = false;
        CString cls = r.SzOrOrd(&isString);
        r.SzOrOrd(); // title
        WORD extra = r.Word();
        r.Skip(extra);
        if (!r.ok())
            break;
        if (isString && cls.GetLength() == 38 && cls[0] == '{' && cls[37] == '}') {
            bool known = false;
            for (const CString& c : classes)
                known = known || c.CompareNoCase(cls) == 0;
            if (!known)
                classes.push_back(cls);
        }
    }
    return r.ok();
}
