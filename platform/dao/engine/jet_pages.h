// Reading rows straight from the pages of a database file, without the SQL engine: what the
// repair of a damaged file uses, where the engine gives up at the first damaged page. Every
// length and page number read from the file is checked against the bytes really there, so
// any file (a damaged one, or no database at all) is safe to read.
#pragma once

#include "jet_db.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace jet {

// The schema copy that every database keeps in a table of its own (outside the first page),
// so that its tables can still be found when the first page is damaged.
extern const char* const kSchemaCopyTable;

struct SchemaEntry {
    std::string type, name, table, sql;
    int64_t rootPage = 0;
};

struct RecoveredRow {
    int64_t rowid = 0;
    std::vector<Value> values;
};

class PageFile {
public:
    explicit PageFile(std::string bytes);

    // The file starts with a sound header (page size read from it, not guessed).
    bool HeaderValid() const { return m_headerValid; }
    uint32_t PageSize() const { return m_pageSize; }
    uint32_t PageCount() const { return m_pageCount; }

    // The schema as the first page's tree holds it; empty when that page is damaged.
    std::vector<SchemaEntry> MasterSchema();
    // The newest schema copy found on any page; empty when none.
    std::vector<SchemaEntry> SchemaCopy();

    // The rows of the table whose tree starts at rootPage. Pages of the tree that cannot be
    // read are counted; their rows are estimated from the keys around them.
    struct TableRows {
        std::vector<RecoveredRow> rows;
        // Key ranges (lo, hi] of the pages that could not be read; a bound the tree does not
        // give is unknown.
        struct Range {
            bool loKnown, hiKnown;
            int64_t lo, hi;
        };
        std::vector<Range> lost;
        long badRows = 0;  // rows on readable pages that could not be decoded
        bool damaged = false;
    };
    TableRows ReadTable(uint32_t rootPage);

    // Trees of table pages that no walk so far has reached (and that are not free pages):
    // the parts of a table cut off by a damaged interior page.
    std::vector<TableRows> OrphanTrees();

private:
    const uint8_t* Page(uint32_t n) const;
    int HeaderOffset(uint32_t n) const { return n == 1 ? 100 : 0; }
    bool ValidTreePage(uint32_t n) const;
    bool CellPayload(uint32_t page, uint32_t off, bool leafTable, int64_t& rowid, std::string& payload,
                     std::vector<uint32_t>& overflow) const;
    void Walk(uint32_t page, bool loKnown, int64_t lo, bool hiKnown, int64_t hi, int depth, TableRows& out,
              std::set<uint32_t>& seen);
    void ReadFreelist();

    std::string m_bytes;
    bool m_headerValid = false;
    uint32_t m_pageSize = 0, m_usable = 0, m_pageCount = 0;
    std::set<uint32_t> m_free, m_visited;
};

// Decodes a record (the stored form of a row's values); FALSE for a malformed one.
bool DecodeRecord(const std::string& payload, std::vector<Value>& values);

}  // namespace jet
