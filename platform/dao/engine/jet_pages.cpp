#include "jet_pages.h"

#include <algorithm>
#include <cstring>

namespace jet {

const char* const kSchemaCopyTable = "MSysSchema";

namespace {

enum { kInteriorIndex = 2, kInteriorTable = 5, kLeafIndex = 10, kLeafTable = 13 };
const int kMaxDepth = 24;

uint32_t Be16(const uint8_t* p) { return (uint32_t)p[0] << 8 | p[1]; }
uint32_t Be32(const uint8_t* p) { return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3]; }

// A variable-length integer at p, within [p, end); 0 when it runs past the end.
int ReadVarint(const uint8_t* p, const uint8_t* end, uint64_t& v)
{
    v = 0;
    for (int i = 0; i < 9; ++i) {
        if (p + i >= end) return 0;
        if (i == 8) {
            v = (v << 8) | p[i];
            return 9;
        }
        v = (v << 7) | (p[i] & 0x7f);
        if (!(p[i] & 0x80)) return i + 1;
    }
    return 0;
}

bool PowerOfTwoPageSize(uint32_t n) { return n >= 512 && n <= 65536 && (n & (n - 1)) == 0; }

}  // namespace

bool DecodeRecord(const std::string& payload, std::vector<Value>& values)
{
    values.clear();
    const uint8_t* base = (const uint8_t*)payload.data();
    const uint8_t* end = base + payload.size();
    uint64_t headerSize;
    int n = ReadVarint(base, end, headerSize);
    if (!n || headerSize < (uint64_t)n || headerSize > payload.size()) return false;
    const uint8_t* type = base + n;
    const uint8_t* typeEnd = base + headerSize;
    const uint8_t* data = typeEnd;
    while (type < typeEnd) {
        uint64_t t;
        int k = ReadVarint(type, typeEnd, t);
        if (!k) return false;
        type += k;
        uint64_t size;
        if (t <= 4) size = t;
        else if (t == 5) size = 6;
        else if (t == 6 || t == 7) size = 8;
        else if (t == 8 || t == 9) size = 0;
        else if (t >= 12) size = (t - 12) / 2;
        else return false;  // 10 and 11 are reserved
        if (size > (uint64_t)(end - data)) return false;
        Value v;
        if (t == 0) {
        } else if (t <= 6) {
            int64_t x = (int8_t)data[0];  // sign of the first byte
            for (uint64_t i = 1; i < size; ++i) x = (int64_t)((uint64_t)x << 8 | data[i]);
            v = Value::MakeInt(x);
        } else if (t == 7) {
            uint64_t bits = 0;
            for (int i = 0; i < 8; ++i) bits = bits << 8 | data[i];
            double d;
            memcpy(&d, &bits, sizeof d);
            v = Value::MakeReal(d);
        } else if (t == 8 || t == 9) {
            v = Value::MakeInt(t == 9 ? 1 : 0);
        } else if (t % 2 == 0) {
            v = Value::MakeBlob(std::string((const char*)data, size));
        } else {
            v = Value::MakeText(std::string((const char*)data, size));
        }
        data += size;
        values.push_back(v);
    }
    return data == end;
}

PageFile::PageFile(std::string bytes) : m_bytes(std::move(bytes))
{
    const uint8_t* b = (const uint8_t*)m_bytes.data();
    if (m_bytes.size() >= 100 && memcmp(b, "SQLite format 3", 16) == 0) {
        uint32_t size = Be16(b + 16);
        if (size == 1) size = 65536;
        if (PowerOfTwoPageSize(size) && b[20] < 64) {
            m_pageSize = size;
            m_usable = size - b[20];
            m_headerValid = true;
        }
    }
    if (!m_headerValid) {
        // The header is gone: the page size is the one under which most pages read as tree
        // pages.
        long best = 0;
        for (uint32_t size = 512; size <= 65536; size *= 2) {
            if (m_bytes.size() < (size_t)size * 2 || m_bytes.size() % size) continue;
            m_pageSize = m_usable = size;
            m_pageCount = (uint32_t)(m_bytes.size() / size);
            long score = 0;
            for (uint32_t p = 2; p <= m_pageCount; ++p) score += ValidTreePage(p) ? 1 : 0;
            if (score * 2 > (long)(m_pageCount - 1) && score > best) best = score;
        }
        m_pageSize = m_usable = 0;
        m_pageCount = 0;
        for (uint32_t size = 512; best && size <= 65536; size *= 2) {
            if (m_bytes.size() < (size_t)size * 2 || m_bytes.size() % size) continue;
            m_pageSize = m_usable = size;
            m_pageCount = (uint32_t)(m_bytes.size() / size);
            long score = 0;
            for (uint32_t p = 2; p <= m_pageCount; ++p) score += ValidTreePage(p) ? 1 : 0;
            if (score == best) break;
            m_pageSize = m_usable = m_pageCount = 0;
        }
        return;
    }
    m_pageCount = (uint32_t)(m_bytes.size() / m_pageSize);
    ReadFreelist();
}

const uint8_t* PageFile::Page(uint32_t n) const
{
    if (n < 1 || n > m_pageCount) return nullptr;
    return (const uint8_t*)m_bytes.data() + (size_t)(n - 1) * m_pageSize;
}

// Free pages keep what they held before they were freed: they are never read as rows.
void PageFile::ReadFreelist()
{
    const uint8_t* h = (const uint8_t*)m_bytes.data();
    uint32_t trunk = Be32(h + 32);
    std::set<uint32_t> trunks;
    while (trunk && !trunks.count(trunk)) {
        const uint8_t* p = Page(trunk);
        if (!p) break;
        trunks.insert(trunk);
        m_free.insert(trunk);
        uint32_t count = Be32(p + 4);
        if (count > (m_usable - 8) / 4) break;
        for (uint32_t i = 0; i < count; ++i) m_free.insert(Be32(p + 8 + 4 * i));
        trunk = Be32(p);
    }
}

bool PageFile::ValidTreePage(uint32_t n) const
{
    const uint8_t* p = Page(n);
    if (!p) return false;
    uint32_t h = HeaderOffset(n);
    uint8_t flag = p[h];
    if (flag != kInteriorIndex && flag != kInteriorTable && flag != kLeafIndex && flag != kLeafTable)
        return false;
    bool interior = flag == kInteriorIndex || flag == kInteriorTable;
    uint32_t cells = Be16(p + h + 3);
    uint32_t content = Be16(p + h + 5);
    if (content == 0) content = 65536;
    uint32_t arrayEnd = h + (interior ? 12 : 8) + 2 * cells;
    if (arrayEnd > m_usable || (cells && content < arrayEnd) || content > m_usable) return false;
    for (uint32_t i = 0; i < cells; ++i) {
        uint32_t off = Be16(p + h + (interior ? 12 : 8) + 2 * i);
        if (off < arrayEnd || off >= m_usable) return false;
    }
    if (interior) {
        uint32_t right = Be32(p + h + 8);
        if (right < 1 || right > m_pageCount) return false;
    }
    return true;
}

// The payload of the cell at off (a table leaf's cell, or an interior table cell's key when
// leafTable is false), with its overflow pages.
bool PageFile::CellPayload(uint32_t page, uint32_t off, bool leafTable, int64_t& rowid, std::string& payload,
                           std::vector<uint32_t>& overflow) const
{
    const uint8_t* p = Page(page);
    const uint8_t* end = p + m_usable;
    const uint8_t* c = p + off;
    uint64_t v;
    if (!leafTable) {
        if (c + 4 > end) return false;
        int k = ReadVarint(c + 4, end, v);
        if (!k) return false;
        rowid = (int64_t)v;
        return true;
    }
    uint64_t size;
    int k = ReadVarint(c, end, size);
    if (!k) return false;
    c += k;
    k = ReadVarint(c, end, v);
    if (!k) return false;
    c += k;
    rowid = (int64_t)v;
    if (size > (uint64_t)m_pageCount * m_usable) return false;
    uint64_t maxLocal = m_usable - 35, local = size;
    if (size > maxLocal) {
        uint64_t minLocal = (uint64_t)(m_usable - 12) * 32 / 255 - 23;
        local = minLocal + (size - minLocal) % (m_usable - 4);
        if (local > maxLocal) local = minLocal;
    }
    if (local > (uint64_t)(end - c)) return false;
    payload.assign((const char*)c, local);
    if (local == size) return true;
    if (c + local + 4 > end) return false;
    uint32_t next = Be32(c + local);
    std::set<uint32_t> chain;
    while (payload.size() < size) {
        const uint8_t* o = Page(next);
        if (!o || chain.count(next) || m_free.count(next)) return false;
        chain.insert(next);
        overflow.push_back(next);
        uint64_t take = std::min<uint64_t>(size - payload.size(), m_usable - 4);
        payload.append((const char*)o + 4, take);
        next = Be32(o);
    }
    return true;
}

void PageFile::Walk(uint32_t page, bool loKnown, int64_t lo, bool hiKnown, int64_t hi, int depth, TableRows& out,
                    std::set<uint32_t>& seen)
{
    auto lost = [&] {
        out.damaged = true;
        out.lost.push_back(TableRows::Range{loKnown, hiKnown, lo, hi});
    };
    if (depth > kMaxDepth || seen.count(page) || m_free.count(page) || !ValidTreePage(page)) {
        lost();
        return;
    }
    const uint8_t* p = Page(page);
    uint32_t h = HeaderOffset(page);
    uint8_t flag = p[h];
    if (flag != kLeafTable && flag != kInteriorTable) {
        lost();
        return;
    }
    seen.insert(page);
    m_visited.insert(page);
    uint32_t cells = Be16(p + h + 3);
    if (flag == kLeafTable) {
        for (uint32_t i = 0; i < cells; ++i) {
            uint32_t off = Be16(p + h + 8 + 2 * i);
            RecoveredRow row;
            std::string payload;
            std::vector<uint32_t> overflow;
            if (!CellPayload(page, off, true, row.rowid, payload, overflow) || !DecodeRecord(payload, row.values)) {
                ++out.badRows;
                out.damaged = true;
                continue;
            }
            m_visited.insert(overflow.begin(), overflow.end());
            out.rows.push_back(std::move(row));
        }
        return;
    }
    bool prevKnown = loKnown;
    int64_t prev = lo;
    for (uint32_t i = 0; i < cells; ++i) {
        uint32_t off = Be16(p + h + 12 + 2 * i);
        int64_t key;
        std::string unused;
        std::vector<uint32_t> none;
        if (!CellPayload(page, off, false, key, unused, none)) {
            out.damaged = true;
            prevKnown = false;
            continue;
        }
        Walk(Be32(p + off), prevKnown, prev, true, key, depth + 1, out, seen);
        prev = key;
        prevKnown = true;
    }
    Walk(Be32(p + h + 8), prevKnown, prev, hiKnown, hi, depth + 1, out, seen);
}

PageFile::TableRows PageFile::ReadTable(uint32_t rootPage)
{
    TableRows out;
    std::set<uint32_t> seen;
    Walk(rootPage, false, 0, false, 0, 0, out, seen);
    return out;
}

namespace {

std::vector<SchemaEntry> EntriesOf(const std::vector<RecoveredRow>& rows, size_t first)
{
    std::vector<SchemaEntry> out;
    for (const RecoveredRow& r : rows) {
        const std::vector<Value>& v = r.values;
        if (v.size() < first + 5 || v[first].kind != Value::Text || v[first + 1].kind != Value::Text) continue;
        SchemaEntry e;
        e.type = v[first].s;
        e.name = v[first + 1].s;
        e.table = v[first + 2].kind == Value::Text ? v[first + 2].s : std::string();
        e.rootPage = v[first + 3].kind == Value::Int ? v[first + 3].i : 0;
        e.sql = v[first + 4].kind == Value::Text ? v[first + 4].s : std::string();
        if (e.type == "table" || e.type == "index") out.push_back(e);
    }
    return out;
}

}  // namespace

std::vector<SchemaEntry> PageFile::MasterSchema()
{
    if (!m_pageCount) return {};
    TableRows rows = ReadTable(1);
    if (rows.damaged) return {};
    return EntriesOf(rows.rows, 0);
}

std::vector<SchemaEntry> PageFile::SchemaCopy()
{
    // Rows of the copy: (marker, generation, type, name, table, root page, sql).
    std::vector<RecoveredRow> best;
    int64_t bestGeneration = 0;
    const std::set<uint32_t> visited = m_visited;  // this search claims no page
    for (uint32_t n = 2; n <= m_pageCount; ++n) {
        if (m_free.count(n) || !ValidTreePage(n) || Page(n)[0] != kLeafTable) continue;
        TableRows one;
        std::set<uint32_t> seen;
        Walk(n, false, 0, false, 0, kMaxDepth, one, seen);
        for (RecoveredRow& r : one.rows) {
            const std::vector<Value>& v = r.values;
            if (v.size() != 7 || v[0].kind != Value::Text || v[0].s != kSchemaCopyTable || v[1].kind != Value::Int)
                continue;
            if (v[1].i > bestGeneration) {
                bestGeneration = v[1].i;
                best.clear();
            }
            if (v[1].i == bestGeneration) best.push_back(r);
        }
    }
    m_visited = visited;
    return EntriesOf(best, 2);
}

std::vector<PageFile::TableRows> PageFile::OrphanTrees()
{
    std::set<uint32_t> candidates, children;
    for (uint32_t n = 2; n <= m_pageCount; ++n) {
        if (m_visited.count(n) || m_free.count(n) || !ValidTreePage(n)) continue;
        const uint8_t* p = Page(n);
        if (p[0] != kLeafTable && p[0] != kInteriorTable) continue;
        candidates.insert(n);
        if (p[0] == kInteriorTable) {
            uint32_t cells = Be16(p + 3);
            for (uint32_t i = 0; i < cells; ++i) {
                uint32_t off = Be16(p + 12 + 2 * i);
                if (off + 4 <= m_usable) children.insert(Be32(p + off));
            }
            children.insert(Be32(p + 8));
        }
    }
    std::vector<TableRows> out;
    for (uint32_t n : candidates) {
        if (children.count(n) || m_visited.count(n)) continue;
        out.push_back(ReadTable(n));
    }
    return out;
}

}  // namespace jet
