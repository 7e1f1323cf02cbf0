#include "schema/search_index.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace quarnel::schema {
namespace {

constexpr char kRecordEnd = '\0';
constexpr char kFieldSeparator = '\1';
// A bit per word in a record's mask.
constexpr int kMaxWords = 32;

// Characters that NFKC leaves as they are and that make up most names and Japanese comments:
// ASCII, hiragana and katakana letters, the long vowel mark, the ideographs of the main block and
// the common punctuation. A text made of these alone skips the costly normalisation.
bool keptByNfkc(char16_t c) {
    return c < 0x80 || (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FC) ||
           (c >= 0x4E00 && c <= 0x9FFF) || c == 0x3001 || c == 0x3002 || c == 0x3005;
}

void appendUtf8(std::string& out, const QString& text) {
    const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* end = p + text.size();
    for (; p < end; ++p) {
        char32_t c = *p;
        if (c >= 0xD800 && c < 0xDC00 && p + 1 < end && p[1] >= 0xDC00 && p[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
}

bool hasBit(const std::vector<std::uint64_t>& bits, std::uint32_t record) {
    return (bits[record >> 6] >> (record & 63)) & 1;
}

}  // namespace

QString foldForSearch(const QString& text) {
    const bool plain =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return keptByNfkc(c.unicode()); });
    QString folded = plain ? text : text.normalized(QString::NormalizationForm_KC);
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u + 0x20));
        else if ((u >= 0x3041 && u <= 0x3096) || u == 0x309D || u == 0x309E)
            c = QChar(char16_t(u + 0x60));
    }
    return folded;
}

QStringList searchWords(const QString& query) {
    QStringList words;
    QString word;
    for (QChar c : foldForSearch(query)) {
        if (c.isSpace()) {
            if (!word.isEmpty() && !words.contains(word))
                words << word;
            word.clear();
        } else if (c.unicode() >= 0x20) {
            word += c;
        }
    }
    if (!word.isEmpty() && !words.contains(word))
        words << word;
    // A hit carries one bit per word.
    if (words.size() > kMaxWords)
        words.resize(kMaxWords);
    return words;
}

SearchIndex::SearchIndex(const Schema& schema, const std::function<void(qint64, qint64)>& progress,
                         const std::atomic<bool>* cancel) {
    const qint64 tables = qint64(schema.tables.size());
    m_offsets.reserve(schema.tables.size() * 8);
    m_tableFirst.reserve(schema.tables.size() + 1);
    for (qint64 t = 0; t < tables; ++t) {
        if ((t & 1023) == 0) {
            if (cancel && cancel->load()) {
                *this = SearchIndex();
                return;
            }
            if (progress)
                progress(t, tables);
        }
        const Table& table = schema.tables[size_t(t)];
        m_tableFirst.push_back(std::uint32_t(m_offsets.size()));
        addRecord(table.name, table.comment);
        for (const Column& column : table.columns)
            addRecord(column.name(), column.comment);
    }
    m_tableFirst.push_back(std::uint32_t(m_offsets.size()));
    m_offsets.push_back(std::uint32_t(m_text.size()));
    m_text.shrink_to_fit();
    m_offsets.shrink_to_fit();
    for (unsigned char c : m_text)
        ++m_byteCounts[c];
    if (progress)
        progress(tables, tables);
}

void SearchIndex::addRecord(const QString& name, const QString& comment) {
    m_offsets.push_back(std::uint32_t(m_text.size()));
    // Offsets are 32-bit: past 4 GiB of text the records stay empty (never found).
    if (m_text.size() > std::numeric_limits<std::uint32_t>::max() / 2)
        return;
    appendUtf8(m_text, foldForSearch(name));
    if (!comment.isEmpty()) {
        m_text += kFieldSeparator;
        appendUtf8(m_text, foldForSearch(comment));
    }
    m_text += kRecordEnd;
}

qint64 SearchIndex::bytes() const {
    return qint64(sizeof *this) + qint64(m_text.capacity()) +
           qint64(m_offsets.capacity() + m_tableFirst.capacity()) * qint64(sizeof(std::uint32_t));
}

std::vector<std::uint64_t> SearchIndex::recordsWith(const std::string& word) const {
    const std::uint32_t records = std::uint32_t(m_offsets.size() - 1);
    std::vector<std::uint64_t> bits((records + 63) / 64, 0);
    const size_t n = word.size();
    if (n == 0 || records == 0)
        return bits;
    // The word is looked for by its rarest byte, then compared whole.
    size_t anchor = 0;
    for (size_t i = 1; i < n; ++i) {
        if (m_byteCounts[std::uint8_t(word[i])] < m_byteCounts[std::uint8_t(word[anchor])])
            anchor = i;
    }
    const char anchorByte = word[anchor];
    if (m_byteCounts[std::uint8_t(anchorByte)] == 0)
        return bits;
    const char* base = m_text.data();
    const char* end = base + m_text.size();
    const std::uint32_t* offsets = m_offsets.data();
    std::uint32_t record = 0;
    const char* p = base + anchor;
    while (p < end) {
        p = static_cast<const char*>(std::memchr(p, anchorByte, size_t(end - p)));
        if (p == nullptr)
            break;
        const char* start = p - anchor;
        if (size_t(end - start) < n || std::memcmp(start, word.data(), n) != 0) {
            ++p;
            continue;
        }
        const std::uint32_t at = std::uint32_t(start - base);
        if (offsets[record + 1] <= at) {
            // Gallop forward to the record that holds `at`; offsets[records] is past every byte.
            std::uint32_t low = record + 1;
            std::uint32_t step = 1;
            std::uint32_t high = low + 1;
            while (high < records && offsets[high] <= at) {
                low = high;
                step *= 2;
                high = low + step;
            }
            high = std::min(high, records);
            record =
                std::uint32_t(std::upper_bound(offsets + low, offsets + high, at) - offsets) - 1;
        }
        bits[record >> 6] |= std::uint64_t(1) << (record & 63);
        // One match is enough for a record: go on from the next one.
        p = base + offsets[record + 1] + anchor;
    }
    return bits;
}

SearchResult SearchIndex::search(const QString& query, int limit) const {
    SearchResult result;
    const QStringList words = searchWords(query);
    if (words.isEmpty() || isEmpty())
        return result;
    std::vector<std::vector<std::uint64_t>> sets;
    sets.reserve(size_t(words.size()));
    for (const QString& word : words) {
        std::string utf8;
        appendUtf8(utf8, word);
        sets.push_back(recordsWith(utf8));
        // Every hit holds every word: a word found nowhere leaves nothing.
        if (std::all_of(sets.back().begin(), sets.back().end(),
                        [](std::uint64_t w) { return w == 0; }))
            return result;
    }
    const size_t k = sets.size();
    const std::uint32_t all = k == kMaxWords ? ~std::uint32_t(0) : (std::uint32_t(1) << k) - 1;
    auto wordsIn = [&](std::uint32_t record) {
        std::uint32_t mask = 0;
        for (size_t j = 0; j < k; ++j)
            mask |= std::uint32_t(hasBit(sets[j], record)) << j;
        return mask;
    };

    // Only a record that holds a word itself can be a hit.
    const size_t blocks = sets[0].size();
    std::uint32_t table = 0;
    for (size_t b = 0; b < blocks; ++b) {
        std::uint64_t any = 0;
        for (size_t j = 0; j < k; ++j)
            any |= sets[j][b];
        while (any != 0) {
            const std::uint32_t record = std::uint32_t(b * 64 + size_t(std::countr_zero(any)));
            any &= any - 1;
            while (m_tableFirst[table + 1] <= record)
                ++table;
            const std::uint32_t tableRecord = m_tableFirst[table];
            const std::uint32_t own = wordsIn(record);
            const bool hit = record == tableRecord
                                 ? own == all
                                 : own != 0 && (own | wordsIn(tableRecord)) == all;
            if (!hit)
                continue;
            ++result.total;
            if (result.hits.size() < size_t(std::max(limit, 0))) {
                result.hits.push_back(SearchHit{
                    int(table), record == tableRecord ? -1 : int(record - tableRecord - 1)});
            }
        }
    }
    return result;
}

}  // namespace quarnel::schema
