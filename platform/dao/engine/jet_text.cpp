#include "jet_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace jet {

unsigned char FoldByte(unsigned char c)
{
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;  // à..þ -> À..Þ, not ÷
    switch (c) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return c;
    }
}

int CompareNoCase(const char* a, size_t na, const char* b, size_t nb)
{
    size_t n = na < nb ? na : nb;
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = FoldByte((unsigned char)a[i]), cb = FoldByte((unsigned char)b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

namespace {

// One pattern element: a literal, '?', '#', a bracket set, or '*'.
struct Element {
    enum Kind { Literal, Any, Digit, Set, Star } kind;
    unsigned char ch = 0;
    bool negate = false;
    std::vector<std::pair<unsigned char, unsigned char>> ranges;

    bool Matches(unsigned char c) const
    {
        switch (kind) {
        case Literal: return FoldByte(c) == FoldByte(ch);
        case Any: return true;
        case Digit: return c >= '0' && c <= '9';
        case Set: {
            bool in = false;
            unsigned char f = FoldByte(c);
            for (auto& r : ranges) {
                if ((c >= r.first && c <= r.second) || (f >= FoldByte(r.first) && f <= FoldByte(r.second))) {
                    in = true;
                    break;
                }
            }
            return in != negate;
        }
        default: return false;
        }
    }
};

std::vector<Element> Compile(const char* p, size_t n)
{
    std::vector<Element> out;
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = (unsigned char)p[i];
        Element e{Element::Literal};
        if (c == '*') {
            if (!out.empty() && out.back().kind == Element::Star) continue;
            e.kind = Element::Star;
        } else if (c == '?') {
            e.kind = Element::Any;
        } else if (c == '#') {
            e.kind = Element::Digit;
        } else if (c == '[') {
            size_t close = i + 1;
            // A ']' right after '[' or '[!' cannot close the set: Jet takes "[]" as nothing,
            // we take the first ']' after at least one character.
            size_t start = i + 1;
            bool negate = start < n && p[start] == '!';
            if (negate) ++start;
            close = start;
            while (close < n && (p[close] != ']' || close == start)) ++close;
            if (close >= n) {
                e.ch = c;  // unclosed: an ordinary '['
            } else {
                e.kind = Element::Set;
                e.negate = negate;
                for (size_t k = start; k < close; ++k) {
                    unsigned char lo = (unsigned char)p[k], hi = lo;
                    if (k + 2 < close && p[k + 1] == '-') {
                        hi = (unsigned char)p[k + 2];
                        k += 2;
                    }
                    if (lo > hi) std::swap(lo, hi);
                    e.ranges.emplace_back(lo, hi);
                }
                i = close;
            }
        } else {
            e.ch = c;
        }
        out.push_back(std::move(e));
    }
    return out;
}

}  // namespace

bool LikeMatch(const char* value, size_t nvalue, const char* pattern, size_t npattern)
{
    std::vector<Element> pat = Compile(pattern, npattern);
    // Iterative matching with back-tracking to the last star: linear in practice, never
    // exponential.
    size_t v = 0, p = 0;
    size_t starP = SIZE_MAX, starV = 0;
    while (v < nvalue) {
        if (p < pat.size() && pat[p].kind == Element::Star) {
            starP = p++;
            starV = v;
        } else if (p < pat.size() && pat[p].Matches((unsigned char)value[v])) {
            ++p;
            ++v;
        } else if (starP != SIZE_MAX) {
            p = starP + 1;
            v = ++starV;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat[p].kind == Element::Star) ++p;
    return p == pat.size();
}

std::string LikeEscape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '*' || c == '?' || c == '#' || c == '[') {
            out += '[';
            out += c;
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

long DaysFromCivil(long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = (unsigned)(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + (long)doe - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = (unsigned)(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long yy = (long)yoe + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = (int)(doy - (153 * mp + 2) / 5 + 1);
    m = (int)(mp < 10 ? mp + 3 : mp - 9);
    y = (int)(yy + (m <= 2));
}

const long kOleEpoch = DaysFromCivil(1899, 12, 30);

bool ValidDate(int y, int m, int d)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    int dim = days[m - 1];
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) dim = 29;
    return d <= dim;
}

}  // namespace

double OleDateFromParts(int year, int month, int day, int hour, int minute, int second)
{
    long days = DaysFromCivil(year, (unsigned)month, (unsigned)day) - kOleEpoch;
    double frac = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    return days >= 0 ? days + frac : days - frac;
}

bool OleDateToParts(double date, int& year, int& month, int& day, int& hour, int& minute,
                    int& second)
{
    if (!std::isfinite(date) || date < -657434.0 || date > 2958466.0) return false;
    double whole = std::trunc(date);
    double frac = std::fabs(date - whole);
    long secs = std::lround(frac * 86400.0);
    long days = (long)whole;
    if (secs >= 86400) {  // rounding reached the next midnight
        secs -= 86400;
        days += date >= 0 ? 1 : -1;
    }
    CivilFromDays(days + kOleEpoch, year, month, day);
    hour = (int)(secs / 3600);
    minute = (int)(secs / 60 % 60);
    second = (int)(secs % 60);
    return true;
}

namespace {

// Reads digits into n; FALSE when there are none.
bool Number(const std::string& s, size_t& i, int& n, int maxDigits = 4)
{
    size_t start = i;
    n = 0;
    while (i < s.size() && isdigit((unsigned char)s[i]) && i - start < (size_t)maxDigits)
        n = n * 10 + (s[i++] - '0');
    return i > start;
}

void Blanks(const std::string& s, size_t& i)
{
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
}

bool ParseTime(const std::string& s, size_t& i, int& h, int& mi, int& se)
{
    se = 0;
    if (!Number(s, i, h, 2) || i >= s.size() || s[i] != ':') return false;
    ++i;
    if (!Number(s, i, mi, 2)) return false;
    if (i < s.size() && s[i] == ':') {
        ++i;
        if (!Number(s, i, se, 2)) return false;
    }
    Blanks(s, i);
    if (i + 1 < s.size() + 0 && i + 2 <= s.size()) {
        std::string ap = s.substr(i, 2);
        for (auto& c : ap) c = (char)toupper((unsigned char)c);
        if (ap == "AM" || ap == "PM") {
            if (h < 1 || h > 12) return false;
            if (ap == "AM" && h == 12) h = 0;
            if (ap == "PM" && h != 12) h += 12;
            i += 2;
        }
    }
    return h < 24 && mi < 60 && se < 60;
}

}  // namespace

bool ParseDateText(const std::string& text, double& date)
{
    const std::string& s = text;
    size_t i = 0;
    Blanks(s, i);
    int a, b, c, h = 0, mi = 0, se = 0;
    size_t save = i;
    bool haveDate = false;
    int y = 1899, m = 12, d = 30;
    if (Number(s, i, a) && i < s.size() && (s[i] == '/' || s[i] == '-')) {
        size_t firstLen = i - save;
        char sep = s[i++];
        if (!Number(s, i, b, 2) || i >= s.size() || s[i] != sep) return false;
        ++i;
        size_t ys = i;
        if (!Number(s, i, c)) return false;
        if (sep == '-' && firstLen == 4) {  // yyyy-mm-dd
            y = a;
            m = b;
            d = c;
        } else {
            m = a;
            d = b;
            y = c;
            if (i - ys <= 2) y += y < 30 ? 2000 : 1900;
        }
        if (!ValidDate(y, m, d)) return false;
        haveDate = true;
        Blanks(s, i);
        if (i < s.size() && (s[i] == 'T' || s[i] == 't')) ++i;
    } else {
        i = save;
    }
    if (i < s.size()) {
        if (!ParseTime(s, i, h, mi, se)) return false;
    } else if (!haveDate) {
        return false;
    }
    Blanks(s, i);
    if (i != s.size()) return false;
    date = OleDateFromParts(y, m, d, h, mi, se);
    return true;
}

bool NormalizeGuid(const std::string& text, std::string& out)
{
    std::string s = text;
    size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
    if (b == std::string::npos) return false;
    s = s.substr(b, e - b + 1);
    if (s.size() == 38 && s.front() == '{' && s.back() == '}') s = s.substr(1, 36);
    if (s.size() != 36) return false;
    for (size_t k = 0; k < 36; ++k) {
        bool dash = k == 8 || k == 13 || k == 18 || k == 23;
        if (dash ? s[k] != '-' : !isxdigit((unsigned char)s[k])) return false;
        s[k] = (char)toupper((unsigned char)s[k]);
    }
    out = "{" + s + "}";
    return true;
}

bool ParseNumberText(const std::string& text, double& value)
{
    size_t i = 0, n = text.size();
    while (i < n && isspace((unsigned char)text[i])) ++i;
    size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < n && isdigit((unsigned char)text[i])) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isdigit((unsigned char)text[i])) ++i, ++digits;
    }
    if (!digits) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        size_t exponent = 0;
        while (i < n && isdigit((unsigned char)text[i])) ++i, ++exponent;
        if (!exponent) return false;
    }
    size_t end = i;
    while (i < n && isspace((unsigned char)text[i])) ++i;
    if (i != n) return false;
    value = strtod(text.substr(start, end - start).c_str(), nullptr);
    return std::isfinite(value);
}

}  // namespace jet
