#include "schema/search_index.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <string_view>

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

// The signature bit of a byte: letters, digits and '_' each have their own (so a signature
// answers for them exactly); every other byte shares one of the remaining 27 by a hash.
constexpr int kExactBits = 37;
int signatureBit(std::uint8_t byte) {
    if (byte >= 'a' && byte <= 'z')
        return byte - 'a';
    if (byte >= '0' && byte <= '9')
        return 26 + (byte - '0');
    if (byte == '_')
        return 36;
    return kExactBits + int((std::uint32_t(byte) * 2654435761u >> 16) % (64 - kExactBits));
}

std::uint64_t signatureOf(const char* begin, const char* end) {
    std::uint64_t signature = 0;
    for (const char* p = begin; p < end; ++p)
        signature |= std::uint64_t(1) << signatureBit(std::uint8_t(*p));
    return signature;
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
    m_signatures.reserve(schema.tables.size() * 8);
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
    m_signatures.shrink_to_fit();
    if (progress)
        progress(tables, tables);
}

void SearchIndex::addRecord(const QString& name, const QString& comment) {
    const size_t start = m_text.size();
    m_offsets.push_back(std::uint32_t(start));
    // Offsets are 32-bit: past 2 GiB of text the records stay empty (never found).
    if (start > std::numeric_limits<std::uint32_t>::max() / 2) {
        m_signatures.push_back(0);
        return;
    }
    appendUtf8(m_text, foldForSearch(name));
    if (!comment.isEmpty()) {
        m_text += kFieldSeparator;
        appendUtf8(m_text, foldForSearch(comment));
    }
    m_signatures.push_back(signatureOf(m_text.data() + start, m_text.data() + m_text.size()));
    m_text += kRecordEnd;
}

qint64 SearchIndex::bytes() const {
    return qint64(sizeof *this) + qint64(m_text.capacity()) +
           qint64(m_offsets.capacity() + m_tableFirst.capacity()) * qint64(sizeof(std::uint32_t)) +
           qint64(m_signatures.capacity()) * qint64(sizeof(std::uint64_t));
}

std::vector<std::uint64_t> SearchIndex::recordsWith(const std::string& word) const {
    const std::uint32_t records = std::uint32_t(m_offsets.size() - 1);
    // A word holding a recent one can only be in that one's records.
    const std::vector<std::uint64_t>* within = nullptr;
    size_t withinLength = 0;
    for (const auto& [recent, bits] : m_recent) {
        if (recent == word)
            return bits;
        if (recent.size() > withinLength && word.find(recent) != std::string::npos) {
            within = &bits;
            withinLength = recent.size();
        }
    }
    std::vector<std::uint64_t> bits((records + 63) / 64, 0);
    const std::uint64_t wanted = signatureOf(word.data(), word.data() + word.size());
    // A word of one letter or digit is in every record whose signature has its bit.
    const bool exact = word.size() == 1 && signatureBit(std::uint8_t(word[0])) < kExactBits;
    const std::uint64_t* signatures = m_signatures.data();
    const std::uint32_t* offsets = m_offsets.data();
    auto test = [&](std::uint32_t record) {
        if ((signatures[record] & wanted) != wanted)
            return;
        if (!exact) {
            const std::string_view text(m_text.data() + offsets[record],
                                        offsets[record + 1] - offsets[record]);
            if (text.find(word) == std::string_view::npos)
                return;
        }
        bits[record >> 6] |= std::uint64_t(1) << (record & 63);
    };
    if (within != nullptr) {
        for (size_t b = 0; b < within->size(); ++b) {
            for (std::uint64_t any = (*within)[b]; any != 0; any &= any - 1)
                test(std::uint32_t(b * 64 + size_t(std::countr_zero(any))));
        }
    } else {
        for (std::uint32_t record = 0; record < records; ++record)
            test(record);
    }
    return bits;
}

SearchResult SearchIndex::search(const QString& query, int limit) const {
    SearchResult result;
    const QStringList words = searchWords(query);
    std::vector<std::pair<std::string, std::vector<std::uint64_t>>> recent;
    if (isEmpty()) {
        m_recent.clear();
        return result;
    }
    for (const QString& word : words) {
        std::string utf8;
        appendUtf8(utf8, word);
        std::vector<std::uint64_t> bits = recordsWith(utf8);
        recent.emplace_back(std::move(utf8), std::move(bits));
    }
    m_recent = std::move(recent);
    // Every hit holds every word: a word found nowhere leaves nothing.
    for (const auto& [word, bits] : m_recent) {
        if (std::all_of(bits.begin(), bits.end(), [](std::uint64_t w) { return w == 0; }))
            return result;
    }
    if (m_recent.empty())
        return result;
    std::vector<const std::vector<std::uint64_t>*> sets;
    for (const auto& entry : m_recent)
        sets.push_back(&entry.second);
    const size_t k = sets.size();
    if (k == 1) {
        // One word: every record holding it is a hit.
        std::uint32_t table = 0;
        for (size_t b = 0; b < sets[0]->size(); ++b) {
            const std::uint64_t block = (*sets[0])[b];
            result.total += std::popcount(block);
            for (std::uint64_t any = block;
                 any != 0 && result.hits.size() < size_t(std::max(limit, 0)); any &= any - 1) {
                const std::uint32_t record = std::uint32_t(b * 64 + size_t(std::countr_zero(any)));
                while (m_tableFirst[table + 1] <= record)
                    ++table;
                const std::uint32_t first = m_tableFirst[table];
                result.hits.push_back(
                    SearchHit{int(table), record == first ? -1 : int(record - first - 1)});
            }
        }
        return result;
    }
    const std::uint32_t all = k == kMaxWords ? ~std::uint32_t(0) : (std::uint32_t(1) << k) - 1;
    auto wordsIn = [&](std::uint32_t record) {
        std::uint32_t mask = 0;
        for (size_t j = 0; j < k; ++j)
            mask |= std::uint32_t(hasBit(*sets[j], record)) << j;
        return mask;
    };

    // Only a record that holds a word itself can be a hit.
    const size_t blocks = sets[0]->size();
    std::uint32_t table = 0;
    for (size_t b = 0; b < blocks; ++b) {
        std::uint64_t any = 0;
        for (size_t j = 0; j < k; ++j)
            any |= (*sets[j])[b];
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
