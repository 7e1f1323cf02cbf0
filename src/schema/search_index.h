// Search over the schema model: table names, table comments, column names and column comments,
// answered while the user types, over a schema of 100,000 tables.
//
// Matching. Texts and queries are folded the same way before they are compared:
// - NFKC, so full-width and half-width forms meet (ＣＵＳＴ is CUST, ｺｷｬｸ is コキャク, ｶﾞ is ガ,
//   a full-width space is a space);
// - ASCII letters to lower case (other scripts keep their case);
// - hiragana to katakana (こきゃく finds コキャク): comments mix both, and a query typed before
//   the input method converts it is hiragana.
// A query is split at spaces into words; a hit must contain every word (as a substring of the
// folded texts). The hits are tables and columns:
// - a table matches with its name and its comment;
// - a column matches with its name and comment together with its table's name and comment, but
//   at least one word must be in the column's own name or comment. So 顧客 住所 finds the 住所
//   columns of the 顧客 tables, while 顧客 alone lists the tables and only the columns that
//   themselves say 顧客, not every column of those tables.
// No word matches across two texts (a name and its comment, or two columns).
//
// Hits come in the schema's order: a table, then its columns in column order. The result holds
// the first ones (1,000 by default) and the number of all.
//
// The index keeps the folded texts as UTF-8 in one block (one byte per ASCII character), and per
// table and per column a 32-bit offset and a 64-bit signature of the bytes its texts hold (a bit
// of its own for each letter, digit and '_', the other bytes hashed onto the remaining bits). A
// word is looked for only in the texts whose signature holds every byte of the word, and a word
// of one letter or digit is answered by the signatures alone. A search makes a bit set per word.
// The index does not refer to the schema, which the caller keeps to show the hits.
#pragma once

#include "schema/schema.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quarnel::schema {

// The folded form of a text, as the index compares it.
QString foldForSearch(const QString& text);
// The words of a query: folded, split at white space, empty ones dropped.
QStringList searchWords(const QString& query);

struct SearchHit {
    // Place of the table in Schema::tables.
    int table = 0;
    // Place of the column in Table::columns; -1 for the table itself.
    int column = -1;

    bool isTable() const { return column < 0; }
    friend bool operator==(const SearchHit&, const SearchHit&) = default;
};

struct SearchResult {
    // The first hits, in schema order.
    std::vector<SearchHit> hits;
    // Every hit, counted.
    qint64 total = 0;
};

class SearchIndex {
  public:
    static constexpr int kDefaultLimit = 1000;

    SearchIndex() = default;
    // Builds the index of `schema`. `progress` (tables done, of all) is called now and then;
    // when `cancel` is set the build stops and the index stays empty.
    explicit SearchIndex(const Schema& schema,
                         const std::function<void(qint64, qint64)>& progress = {},
                         const std::atomic<bool>* cancel = nullptr);

    // The hits of `query`; none for a query without words. The index remembers the records of
    // the previous query's words, so a word typed on from one of them looks only at those
    // records: call it from one thread at a time.
    SearchResult search(const QString& query, int limit = kDefaultLimit) const;

    int tableCount() const { return int(m_tableFirst.size()) - 1; }
    bool isEmpty() const { return m_offsets.size() <= 1; }
    // The memory the index holds, in bytes.
    qint64 bytes() const;

  private:
    // Records: one per table followed by one per column of that table, each the folded name,
    // a separator and the folded comment, records separated by a zero byte.
    void addRecord(const QString& name, const QString& comment);
    // The records that contain `word` (folded UTF-8), as a bit set over the records.
    std::vector<std::uint64_t> recordsWith(const std::string& word) const;

    std::string m_text;
    // Start of every record in m_text, and the end of the text last.
    std::vector<std::uint32_t> m_offsets;
    // The record of every table, and the record count last.
    std::vector<std::uint32_t> m_tableFirst;
    // The signature of every record.
    std::vector<std::uint64_t> m_signatures;
    // The previous query's words and their records.
    mutable std::vector<std::pair<std::string, std::vector<std::uint64_t>>> m_recent;
};

}  // namespace quarnel::schema
