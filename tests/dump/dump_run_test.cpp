// quarnel-dump's program run in-process against SQLite files made here; its output is compared
// byte for byte with the texts the catalogue builds for the same tables.
#include "catalog/index_info.h"
#include "catalog/table_info.h"
#include "catalog/table_list.h"
#include "db/data_access.h"
#include "dump/dump_run_fixture.h"
#include "support/text_encoding.h"
#include "testing/sqlite_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace quarnel::dump {
namespace {

using catalog::IndexInfoResult;
using catalog::TableInfoResult;

const QString kCrLf = QStringLiteral("\r\n");

// Tables with keys and indexes, one with neither, and one with a Japanese name.
const QString kSchema = QStringLiteral(
    "CREATE TABLE ORDERS (ORD_NO NUMBER(6) NOT NULL, CUST_NO NUMBER(6) NOT NULL,"
    " ORD_DATE DATE, REMARKS VARCHAR2(200), CONSTRAINT ORDERS_PK PRIMARY KEY (ORD_NO));"
    "CREATE INDEX ORDERS_IX1 ON ORDERS (CUST_NO, ORD_DATE);"
    "CREATE TABLE ITEM (ORD_NO NUMBER(6) NOT NULL, LINE_NO NUMBER(3) NOT NULL,"
    " PRODUCT VARCHAR2(20), QTY NUMBER(9,2), CONSTRAINT ITEM_PK PRIMARY KEY (ORD_NO, LINE_NO));"
    "CREATE INDEX ITEM_IX1 ON ITEM (PRODUCT);"
    "CREATE TABLE NOTE_LOG (LOGGED DATE, NOTE VARCHAR2(400));"
    "CREATE TABLE 顧客 (顧客番号 NUMBER(6) PRIMARY KEY, 名前 VARCHAR2(40));");

// A table whose name CP932 cannot hold.
const QString kEmojiSchema = QStringLiteral("CREATE TABLE \"T😀\" (A NUMBER(3));");

using testing::DumpOutput;

class DumpRunTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_fixture = std::make_unique<quarnel::testing::SqliteFixture>();
        s_path = s_fixture->createDatabase(kSchema, QStringLiteral("schema.db"));
        s_emojiPath = s_fixture->createDatabase(kEmojiSchema, QStringLiteral("emoji.db"));
        s_database = db::CreateSession(QLatin1String(db::kSessionClassName))
                         ->DbOpenDatabase(quarnel::testing::SqliteFixture::hostFor(s_path),
                                          QStringLiteral("u/"), 3);
    }
    static void TearDownTestSuite() {
        s_database.reset();
        s_fixture.reset();
    }

    static QString host() { return quarnel::testing::SqliteFixture::hostFor(s_path); }
    static db::Database& database() { return *s_database; }

    static DumpOutput dump(const QStringList& arguments, const QByteArray& input = {}) {
        return testing::runDumpMain(arguments, db::CreateSession, input);
    }

    static inline std::unique_ptr<quarnel::testing::SqliteFixture> s_fixture;
    static inline QString s_path;
    static inline QString s_emojiPath;
    static inline std::shared_ptr<db::Database> s_database;
};

// How one WHAT option picks its text from the two lookups of a table.
using Pick = std::function<QString(const TableInfoResult&, const IndexInfoResult&)>;

struct WhatCase {
    const char* name;
    // The option; empty for none, which means --ddl.
    const char* option;
    Pick pick;
};

const std::vector<WhatCase>& whatCases() {
    static const std::vector<WhatCase> cases{
        {"Default", "",
         [](const auto& t, const auto& i) {
             return t.strCreateTableSql + kCrLf + kCrLf + i.strCreateIndexSql;
         }},
        {"Ddl", "--ddl",
         [](const auto& t, const auto& i) {
             return t.strCreateTableSql + kCrLf + kCrLf + i.strCreateIndexSql;
         }},
        {"InfoCsv", "--info-csv", [](const auto& t, const auto&) { return t.strTableInfoCsv; }},
        {"InfoTxt", "--info-txt", [](const auto& t, const auto&) { return t.strTableInfoTxt; }},
        {"Pk", "--pk", [](const auto& t, const auto&) { return t.strPkTxt; }},
        {"TableDdl", "--table-ddl", [](const auto& t, const auto&) { return t.strCreateTableSql; }},
        {"IndexCsv", "--index-csv", [](const auto&, const auto& i) { return i.strIndexInfoCsv; }},
        {"IndexTxt", "--index-txt", [](const auto&, const auto& i) { return i.strIndexInfoTxt; }},
        {"IndexDdl", "--index-ddl", [](const auto&, const auto& i) { return i.strCreateIndexSql; }},
    };
    return cases;
}

struct Selection {
    const char* name;
    // Empty for every table of the list.
    QStringList tables;
};

const std::vector<Selection>& selections() {
    static const std::vector<Selection> cases{
        {"OneTable", {QStringLiteral("ORDERS")}},
        // Not in list order, with the table that has neither key nor index, and one named twice.
        {"SeveralTables",
         {QStringLiteral("NOTE_LOG"), QStringLiteral("ITEM"), QStringLiteral("顧客"),
          QStringLiteral("ITEM")}},
        {"AllTables", {}},
    };
    return cases;
}

class DumpTextTest : public DumpRunTest,
                     public ::testing::WithParamInterface<std::tuple<size_t, size_t>> {};

TEST_P(DumpTextTest, WritesTheCatalogueTextsInTheLayoutOfOneOrSeveralTables) {
    const WhatCase& what = whatCases()[std::get<0>(GetParam())];
    const Selection& selection = selections()[std::get<1>(GetParam())];

    QStringList tables = selection.tables;
    if (tables.isEmpty()) {
        const catalog::TableListResult list = catalog::readTableList(database());
        ASSERT_FALSE(list.error.has_value());
        ASSERT_EQ(list.names.size(), 4);
        tables = list.names.toStringList();
    }
    // Each table's text as the window holds it; several tables each end in CR LF and are kept
    // apart by an empty line, their key columns listed as TABLE TAB COLUMN.
    QStringList texts;
    QString keyLines;
    for (const QString& table : tables) {
        const TableInfoResult tableInfo = catalog::loadTableInfo(database(), table);
        const IndexInfoResult indexInfo = catalog::loadIndexInfo(database(), table);
        ASSERT_TRUE(tableInfo.exists && indexInfo.exists);
        ASSERT_FALSE(tableInfo.error || indexInfo.error);
        texts += what.pick(tableInfo, indexInfo);
        for (const QString& column : tableInfo.primaryKey)
            keyLines += table + u'\t' + column + kCrLf;
    }
    QString expected;
    if (selection.tables.size() == 1) {
        expected = texts.front();
    } else if (QLatin1String(what.option) == QLatin1String("--pk")) {
        expected = keyLines;
    } else {
        for (QString& text : texts) {
            if (!text.endsWith(kCrLf))
                text += kCrLf;
        }
        expected = texts.join(kCrLf);
    }
    ASSERT_FALSE(expected.isEmpty());

    QStringList arguments{QStringLiteral("--host"), host(), QStringLiteral("--user"),
                          QStringLiteral("demo")};
    if (*what.option != '\0')
        arguments += QString::fromLatin1(what.option);
    const DumpOutput output = dump(arguments + selection.tables);

    EXPECT_EQ(output.exitCode, 0) << output.err.toStdString();
    EXPECT_EQ(output.out.toStdString(), expected.toUtf8().toStdString());
    EXPECT_TRUE(output.err.isEmpty()) << output.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryTextAndSelection, DumpTextTest,
                         ::testing::Combine(::testing::Range(size_t(0), whatCases().size()),
                                            ::testing::Range(size_t(0), selections().size())),
                         [](const auto& info) {
                             return std::string(whatCases()[std::get<0>(info.param)].name) +
                                    selections()[std::get<1>(info.param)].name;
                         });

// The layout of several tables, byte for byte.
struct LayoutCase {
    const char* name;
    QStringList arguments;
    QByteArray out;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class DumpLayoutTest : public DumpRunTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(DumpLayoutTest, WritesTheBytes) {
    const DumpOutput output = dump(QStringList{QStringLiteral("--host"), host(),
                                               QStringLiteral("--user"), QStringLiteral("u")} +
                                   GetParam().arguments);

    EXPECT_EQ(output.exitCode, 0) << output.err.toStdString();
    EXPECT_EQ(output.out.toStdString(), GetParam().out.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DumpLayoutTest,
    ::testing::Values(
        // The index text of a table ends without CR LF; the first is a table without indexes.
        LayoutCase{"IndexTxtOfTwoTables",
                   {"--index-txt", "NOTE_LOG", "ITEM"},
                   "TEBLE_NAME/INDEX_NAME/CPOSI_NAME/COLUMN_NAME\r\nNOTE_LOG\r\n"
                   "\r\n"
                   "TEBLE_NAME/INDEX_NAME/CPOSI_NAME/COLUMN_NAME\r\nITEM\r\n"
                   "\tITEM_IX1\r\n\t\t1 PRODUCT\r\n\tITEM_PK\r\n\t\t1 ORD_NO\r\n\t\t2 LINE_NO\r\n"},
        // An empty text is an empty line of its own.
        LayoutCase{"IndexDdlWithAnEmptyText",
                   {"--index-ddl", "NOTE_LOG", "ITEM"},
                   "\r\n"
                   "\r\n"
                   "CREATE INDEX ITEM_IX1 ON \r\n    ITEM (\r\n        PRODUCT);\r\n"
                   "CREATE INDEX ITEM_PK ON \r\n    ITEM (\r\n        ORD_NO, \r\n        "
                   "LINE_NO);\r\n"},
        // A text that ends in CR LF gets no second one.
        LayoutCase{"InfoCsvOfTwoTables",
                   {"--info-csv", "NOTE_LOG", "ITEM"},
                   "NOTE_LOG\r\n,,PK,NAME,SIZE,TYPE1,TYPE2,NULL\r\n,1,,LOGGED,7,DATE,Date,Null\r\n"
                   ",2,,NOTE,400,VARCHAR2,String,Null\r\n"
                   "\r\n"
                   "ITEM\r\n,,PK,NAME,SIZE,TYPE1,TYPE2,NULL\r\n"
                   ",1,\xe2\x80\xbb,ORD_NO,6,NUMBER,Double,Not Null\r\n"
                   ",2,\xe2\x80\xbb,LINE_NO,3,NUMBER,Double,Not Null\r\n"
                   ",3,,PRODUCT,20,VARCHAR2,String,Null\r\n,4,,QTY,9,NUMBER,Double,Null\r\n"},
        // Key columns with their table; a table without a key writes nothing.
        LayoutCase{"PkOfThreeTables",
                   {"--pk", "ORDERS", "NOTE_LOG", "ITEM"},
                   "ORDERS\tORD_NO\r\nITEM\tORD_NO\r\nITEM\tLINE_NO\r\n"},
        LayoutCase{"PkOfOneTableIsTheWindowsText", {"--pk", "ITEM"}, "ORD_NO\r\nLINE_NO\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DumpRunTest, ListWritesTheTableListText) {
    const catalog::TableListResult list = catalog::readTableList(database());
    ASSERT_FALSE(list.error.has_value());

    const DumpOutput output = dump({QStringLiteral("--list"), QStringLiteral("--host"), host(),
                                    QStringLiteral("--user"), QStringLiteral("demo")});

    EXPECT_EQ(output.exitCode, 0) << output.err.toStdString();
    EXPECT_EQ(output.out.toStdString(), list.strTableListTxt.toUtf8().toStdString());
}

// Every table of a one-table schema is still a selection of several: the table's name leads.
TEST_F(DumpRunTest, AllTablesOfAOneTableSchemaUseTheLayoutOfSeveral) {
    const QString path = s_fixture->createDatabase(
        QStringLiteral("CREATE TABLE T (ID INTEGER PRIMARY KEY);"), QStringLiteral("one.db"));
    const DumpOutput output =
        dump({QStringLiteral("--host"), quarnel::testing::SqliteFixture::hostFor(path),
              QStringLiteral("--user"), QStringLiteral("u"), QStringLiteral("--pk")});

    EXPECT_EQ(output.exitCode, 0) << output.err.toStdString();
    EXPECT_EQ(output.out.toStdString(), "T\tID\r\n");
}

TEST_F(DumpRunTest, Cp932WritesShiftJisBytes) {
    const DumpOutput output =
        dump({QStringLiteral("--host"), host(), QStringLiteral("--user"), QStringLiteral("demo"),
              QStringLiteral("--encoding"), QStringLiteral("CP932"), QStringLiteral("--list")});

    ASSERT_EQ(output.exitCode, 0) << output.err.toStdString();
    // "ﾃｰﾌﾞﾙ総数 : 4件" CR LF in half-width katakana and kanji, then the names.
    EXPECT_TRUE(output.out.startsWith(QByteArray::fromHex("c3b0ccded9918d9094203a20348c8f0d0a")))
        << output.out.toHex(' ').toStdString();
    // "顧客" CR LF.
    EXPECT_TRUE(output.out.contains(QByteArray::fromHex("0d0a8cda8b710d0a")))
        << output.out.toHex(' ').toStdString();
    EXPECT_EQ(output.out, encodeText(catalog::readTableList(database()).strTableListTxt,
                                     QStringLiteral("CP932"))
                              .value_or(QByteArray()));
}

TEST_F(DumpRunTest, CharacterOutsideCp932IsWrittenInUtf8) {
    const DumpOutput output =
        dump({QStringLiteral("--host"), quarnel::testing::SqliteFixture::hostFor(s_emojiPath),
              QStringLiteral("--user"), QStringLiteral("u"), QStringLiteral("--table-ddl")});

    EXPECT_EQ(output.exitCode, 0) << output.err.toStdString();
    EXPECT_TRUE(output.out.startsWith(QStringLiteral("CREATE TABLE \"T😀\"(").toUtf8()));
}

// Host and user with spaces around them, the password on standard input, "=" forms.
struct LogonCase {
    const char* name;
    QStringList arguments;
    QByteArray input;
};

class DumpLogonTest : public DumpRunTest, public ::testing::WithParamInterface<LogonCase> {};

TEST_P(DumpLogonTest, LogsOnAsTheLogonDialogDoes) {
    QStringList arguments = GetParam().arguments;
    arguments.replaceInStrings(QStringLiteral("{path}"), s_path);
    const DumpOutput output = dump(arguments, GetParam().input);

    EXPECT_EQ(output.exitCode, 0) << output.err.toStdString();
    EXPECT_EQ(output.out.toStdString(),
              catalog::loadTableInfo(database(), QStringLiteral("ITEM")).strPkTxt.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DumpLogonTest,
    ::testing::Values(
        LogonCase{"SpacesAroundHostAndUser",
                  {"--host", "  sqlite:{path} ", "--user", " demo ", "--pk", "ITEM"},
                  {}},
        LogonCase{"PasswordLineWithCrLf",
                  {"--password-stdin", "--host", "sqlite:{path}", "--user", "demo", "--pk", "ITEM"},
                  "secret\r\nnot read\n"},
        LogonCase{"PasswordWithoutLineEnd",
                  {"--host=sqlite:{path}", "--user=demo", "--password-stdin", "--pk", "ITEM"},
                  "secret"}),
    [](const auto& info) { return std::string(info.param.name); });

// A failure: its exit status and its one line.
struct FailureCase {
    const char* name;
    // "{host}" and "{emoji}" stand for the host strings of the two files, "{missing}" for one of
    // a file that does not exist.
    QStringList arguments;
    int exitCode;
    // The start of standard error; "{refusal}" stands for the engine's text for the missing file.
    QString err;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class DumpFailureTest : public DumpRunTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DumpFailureTest, WritesNothingAndSaysWhy) {
    const FailureCase& c = GetParam();
    const QString missingHost =
        quarnel::testing::SqliteFixture::hostFor(s_fixture->filePath(QStringLiteral("missing.db")));
    QString refusal;
    try {
        db::CreateSession(QLatin1String(db::kSessionClassName))
            ->DbOpenDatabase(missingHost, QStringLiteral("u/"), 3);
    } catch (const db::DbError& error) {
        refusal = error.description();
    }
    ASSERT_FALSE(refusal.isEmpty());
    QStringList arguments = c.arguments;
    arguments.replaceInStrings(QStringLiteral("{host}"), host());
    arguments.replaceInStrings(QStringLiteral("{emoji}"),
                               quarnel::testing::SqliteFixture::hostFor(s_emojiPath));
    arguments.replaceInStrings(QStringLiteral("{missing}"), missingHost);
    QString err = c.err;
    err.replace(QStringLiteral("{refusal}"), refusal);

    const DumpOutput output = dump(arguments);

    EXPECT_EQ(output.exitCode, c.exitCode);
    EXPECT_TRUE(output.out.isEmpty()) << output.out.toStdString();
    const QString errText = QString::fromUtf8(output.err);
    EXPECT_TRUE(errText.startsWith(err)) << errText.toStdString();
    const qsizetype lines = errText.count(u'\n');
    EXPECT_EQ(lines, 1) << errText.toStdString();
}

const QString kPrefix = QStringLiteral("quarnel-dump: ");

INSTANTIATE_TEST_SUITE_P(
    Cases, DumpFailureTest,
    ::testing::Values(
        FailureCase{"UnknownOption",
                    {"--host", "{host}", "--user", "u", "--nope"},
                    2,
                    kPrefix + "unknown option --nope (see --help)\n"},
        FailureCase{
            "NoHost", {"--user", "u", "ORDERS"}, 2, kPrefix + "--host is required (see --help)\n"},
        FailureCase{"ListWithTable",
                    {"--host", "{host}", "--user", "u", "--list", "ORDERS"},
                    2,
                    kPrefix + "--list takes no table names (see --help)\n"},
        FailureCase{"UnknownEncoding",
                    {"--host", "{host}", "--user", "u", "--encoding", "NO-SUCH"},
                    2,
                    kPrefix + "unknown --encoding name (see --help)\n"},
        // A value typed in the wrong place may be a password: it is never repeated.
        FailureCase{"PasswordOnTheCommandLine",
                    {"--host", "{host}", "--user", "u", "--password=S3cret"},
                    2,
                    kPrefix + "unknown option --password (see --help)\n"},
        // The existing table named first is not written either.
        FailureCase{"UnknownTable",
                    {"--host", "{host}", "--user", "u", "--pk", "ORDERS", "NOPE"},
                    1,
                    kPrefix + "no such table: NOPE\n"},
        // Each missing name once, however often it was given.
        FailureCase{"NamesAreCaseSensitive",
                    {"--host", "{host}", "--user", "u", "orders", "ITEM", "Item", "orders"},
                    1,
                    kPrefix + "no such tables: orders, Item\n"},
        FailureCase{"MissingDatabaseFile",
                    {"--host", "{missing}", "--user", "u", "--list"},
                    1,
                    kPrefix + "logon refused: {refusal}\n"},
        FailureCase{"CharacterOutsideCp932",
                    {"--host", "{emoji}", "--user", "u", "--encoding", "CP932"},
                    1,
                    kPrefix + "cannot write the output: U+1F600 \"😀\" at line 1, column 16 "
                              "cannot be written in CP932\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quarnel::dump
