#include "schema/search_index.h"

#include <gtest/gtest.h>

#include <random>

using namespace quarnel::schema;

namespace {

Column column(const QString& name, const QString& comment) {
    Column c;
    c.description.name = name;
    c.comment = comment;
    return c;
}

Table table(const QString& name, const QString& comment, std::vector<Column> columns) {
    Table t;
    t.name = name;
    t.comment = comment;
    t.columns = std::move(columns);
    return t;
}

Schema sample() {
    Schema s;
    s.tables.push_back(
        table("CUSTOMER", "顧客マスタ",
              {column("CUST_ID", "顧客ID"), column("NAME", "氏名"), column("ADDRESS", "住所")}));
    s.tables.push_back(table("ORDERS", "受注",
                             {column("ORDER_NO", "受注番号"), column("CUST_ID", "顧客ID"),
                              column("KIND", "コキャク区分"), column("CODE", "NAME")}));
    s.tables.push_back(table("ID", "", {column("NAME", "")}));
    return s;
}

// A hit as "TABLE" or "TABLE.COLUMN".
QStringList hitNames(const Schema& s, const SearchResult& result) {
    QStringList names;
    for (const SearchHit& hit : result.hits) {
        const Table& t = s.tables[size_t(hit.table)];
        names << (hit.isTable() ? t.name : t.name + "." + t.columns[size_t(hit.column)].name());
    }
    return names;
}

struct QueryCase {
    const char* query;
    QStringList hits;
};

class SearchQueryTest : public ::testing::TestWithParam<QueryCase> {};

TEST_P(SearchQueryTest, FindsExactlyTheseHitsInSchemaOrder) {
    const Schema s = sample();
    const SearchIndex index(s);
    const SearchResult result = index.search(QString::fromUtf8(GetParam().query));
    EXPECT_EQ(hitNames(s, result), GetParam().hits);
    EXPECT_EQ(result.total, GetParam().hits.size());
}

INSTANTIATE_TEST_SUITE_P(
    Queries, SearchQueryTest,
    ::testing::Values(
        QueryCase{"cust", {"CUSTOMER", "CUSTOMER.CUST_ID", "ORDERS.CUST_ID"}},
        QueryCase{"ＣＵＳＴ", {"CUSTOMER", "CUSTOMER.CUST_ID", "ORDERS.CUST_ID"}},
        QueryCase{"ｺｷｬｸ", {"ORDERS.KIND"}}, QueryCase{"こきゃく", {"ORDERS.KIND"}},
        // A table's words count for its columns, but a column must hold one word itself.
        QueryCase{"顧客", {"CUSTOMER", "CUSTOMER.CUST_ID", "ORDERS.CUST_ID"}},
        QueryCase{"顧客　住所", {"CUSTOMER.ADDRESS"}}, QueryCase{"name 氏名", {"CUSTOMER.NAME"}},
        QueryCase{"受注 cust_id", {"ORDERS.CUST_ID"}},
        // No word spans a name and its comment, or two records.
        QueryCase{"ename", {}}, QueryCase{"dname", {}}, QueryCase{"idname", {}},
        QueryCase{"name", {"CUSTOMER.NAME", "ORDERS.CODE", "ID.NAME"}},
        QueryCase{"cust nowhere", {}}, QueryCase{"  ", {}}, QueryCase{"", {}}));

TEST(SearchFold, FoldsWidthCaseAndKana) {
    const std::pair<const char*, const char*> cases[] = {
        {"ＡＢｃ_1", "abc_1"},  {"ｺｷｬｸ", "コキャク"}, {"ｶﾞｰﾄﾞ", "ガード"}, {"こきゃく", "コキャク"},
        {"顧客ＩＤ", "顧客id"}, {"①", "1"},           {"Ä", "Ä"}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(foldForSearch(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

TEST(SearchLimit, KeepsTheFirstHitsAndCountsAll) {
    Schema s;
    for (int t = 0; t < 30; ++t) {
        std::vector<Column> columns;
        for (int c = 0; c < 100; ++c)
            columns.push_back(column(QString("X%1").arg(c), ""));
        s.tables.push_back(table(QString("T%1").arg(t), "", std::move(columns)));
    }
    const SearchIndex index(s);
    const SearchResult result = index.search("x");
    EXPECT_EQ(result.total, 3000);
    ASSERT_EQ(result.hits.size(), 1000u);
    EXPECT_EQ(result.hits.front(), (SearchHit{0, 0}));
    EXPECT_EQ(result.hits.back(), (SearchHit{9, 99}));
    EXPECT_EQ(index.search("x", 3).hits.size(), 3u);
}

// The index answers as a plain look through every text would, on a random schema whose few
// letters make matches dense and records of every length, empty ones included.
TEST(SearchIndexAgreesWithAPlainScan, OnARandomSchema) {
    std::mt19937 random(7);
    auto text = [&](int most) {
        QString s;
        const int n = int(random() % unsigned(most + 1));
        for (int i = 0; i < n; ++i)
            s += QChar(u"abcアイ"[random() % 5]);
        return s;
    };
    Schema s;
    for (int t = 0; t < 3000; ++t) {
        std::vector<Column> columns;
        const int n = int(random() % 6);
        for (int c = 0; c < n; ++c)
            columns.push_back(column(text(4), text(3)));
        s.tables.push_back(table(text(5), text(3), std::move(columns)));
    }
    const SearchIndex index(s);
    for (const char* query : {"a", "ab", "アイ", "cab", "b ア", "ca イa", "aaa"}) {
        const QStringList words = searchWords(QString::fromUtf8(query));
        SearchResult expected;
        auto holds = [&](const QString& name, const QString& comment, const QString& word) {
            return name.contains(word) || comment.contains(word);
        };
        for (int t = 0; t < int(s.tables.size()); ++t) {
            const Table& tb = s.tables[size_t(t)];
            const bool tableAll = std::all_of(words.begin(), words.end(), [&](const QString& w) {
                return holds(tb.name, tb.comment, w);
            });
            if (tableAll)
                expected.hits.push_back({t, -1});
            for (int c = 0; c < int(tb.columns.size()); ++c) {
                const Column& col = tb.columns[size_t(c)];
                bool own = false, all = true;
                for (const QString& w : words) {
                    const bool mine = holds(col.name(), col.comment, w);
                    own = own || mine;
                    all = all && (mine || holds(tb.name, tb.comment, w));
                }
                if (own && all)
                    expected.hits.push_back({t, c});
            }
        }
        const SearchResult result = index.search(QString::fromUtf8(query), 1 << 30);
        EXPECT_EQ(result.total, qint64(expected.hits.size())) << query;
        EXPECT_TRUE(result.hits == expected.hits) << query;
    }
}

}  // namespace
