// The Oracle engine and the catalogue against a real server: run only by scripts/test-oracle.sh
// with QUARNEL_ORACLE_TEST_HOST, _USER and _PASSWORD set. It creates the tables of setup.sql,
// compares each table's texts with expected/<TABLE>.txt, reads back values that need care
// (exact numbers, LONG values over several fetches, a table of only BLOBs), and drops what it
// created (teardown.sql) even when a check fails.
//
// With QUARNEL_ORACLE_LIVE_RECORD=<folder> the texts are written there instead of compared, for
// a review of what the server gave.
#include "catalog/index_info.h"
#include "catalog/table_info.h"
#include "catalog/table_list.h"
#include "db/engines.h"
#include "db/oci_library.h"
#include "schema/load_schema.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdio>

namespace quarnel {
namespace {

bool succeeded(db::oci::sword rc) {
    return rc == db::oci::kSuccess || rc == db::oci::kSuccessWithInfo;
}

QString setting(const char* name) {
    return qEnvironmentVariable(name);
}

QString readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The statements of a script: each ends with a line holding only "/"; comment lines are left out.
QStringList statementsOf(const QString& script) {
    QStringList statements;
    QString current;
    for (const QString& line : script.split(u'\n')) {
        if (line.trimmed() == QLatin1String("/")) {
            if (!current.trimmed().isEmpty())
                statements << current.trimmed();
            current.clear();
        } else if (!line.trimmed().startsWith(QLatin1String("--"))) {
            current += line + u'\n';
        }
    }
    return statements;
}

// A session of its own for the statements the engine never runs (DDL, inserts), through the
// same client library.
class ScriptSession {
  public:
    ScriptSession() : f(db::loadOciLibrary()) {
        if (f.envNlsCreate(&m_env, db::oci::kObject, nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                           db::oci::kAl32Utf8, db::oci::kAl32Utf8) > db::oci::kSuccessWithInfo)
            throw std::runtime_error("OCIEnvNlsCreate failed");
        void* error = nullptr;
        f.handleAlloc(m_env, &error, db::oci::kHtypeError, 0, nullptr);
        m_error = static_cast<db::oci::Error*>(error);
        const QByteArray user = setting("QUARNEL_ORACLE_TEST_USER").toUtf8();
        const QByteArray password = setting("QUARNEL_ORACLE_TEST_PASSWORD").toUtf8();
        const QByteArray host = setting("QUARNEL_ORACLE_TEST_HOST").toUtf8();
        const auto text = [](const QByteArray& bytes) {
            return reinterpret_cast<const db::oci::OraText*>(bytes.constData());
        };
        if (f.logon2(m_env, m_error, &m_service, text(user), user.size(), text(password),
                     password.size(), text(host), host.size(),
                     db::oci::kDefault) > db::oci::kSuccessWithInfo)
            throw std::runtime_error("logon failed: " + lastError().toStdString());
    }
    ~ScriptSession() {
        if (m_service)
            f.logoff(m_service, m_error);
        f.handleFree(m_error, db::oci::kHtypeError);
        f.handleFree(m_env, db::oci::kHtypeEnv);
    }

    // Runs one statement; the server's message when it fails.
    QString run(const QString& sql) {
        void* handle = nullptr;
        f.handleAlloc(m_env, &handle, db::oci::kHtypeStmt, 0, nullptr);
        auto* statement = static_cast<db::oci::Stmt*>(handle);
        const QByteArray bytes = sql.toUtf8();
        QString failure;
        if (f.stmtPrepare(statement, m_error,
                          reinterpret_cast<const db::oci::OraText*>(bytes.constData()),
                          db::oci::ub4(bytes.size()), db::oci::kNtvSyntax,
                          db::oci::kDefault) != db::oci::kSuccess ||
            !succeeded(f.stmtExecute(m_service, statement, m_error, 1, 0, nullptr, nullptr,
                                     db::oci::kDefault))) {
            failure = lastError();
        }
        f.handleFree(statement, db::oci::kHtypeStmt);
        return failure;
    }

    // Runs every statement of the script file `name`; the failures, one a line.
    QString runScript(const QString& name, bool failuresMatter) {
        QString failures;
        for (const QString& statement :
             statementsOf(readFile(QStringLiteral(QUARNEL_ORACLE_LIVE_DIR "/") + name))) {
            const QString failure = run(statement);
            if (!failure.isEmpty() && failuresMatter)
                failures += statement.section(u'\n', 0, 0) + QStringLiteral(": ") + failure + u'\n';
        }
        return failures;
    }

  private:
    QString lastError() {
        unsigned char buffer[3072] = {};
        db::oci::sb4 code = 0;
        f.errorGet(m_error, 1, nullptr, &code, buffer, sizeof buffer, db::oci::kHtypeError);
        return QString::fromUtf8(reinterpret_cast<const char*>(buffer)).trimmed();
    }

    const db::oci::Functions& f;
    db::oci::Env* m_env = nullptr;
    db::oci::Error* m_error = nullptr;
    db::oci::SvcCtx* m_service = nullptr;
};

class OracleLiveTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_script = std::make_unique<ScriptSession>();
        s_script->runScript(QStringLiteral("teardown.sql"), false);
        s_setupFailures = s_script->runScript(QStringLiteral("setup.sql"), true);
        s_database = db::CreateSession(QLatin1String(db::kSessionClassName))
                         ->DbOpenDatabase(setting("QUARNEL_ORACLE_TEST_HOST"),
                                          setting("QUARNEL_ORACLE_TEST_USER") + u'/' +
                                              setting("QUARNEL_ORACLE_TEST_PASSWORD"),
                                          3);
    }
    static void TearDownTestSuite() {
        if (s_database)
            s_database->Close();
        s_database.reset();
        if (s_script)
            s_script->runScript(QStringLiteral("teardown.sql"), false);
        s_script.reset();
    }

    static inline std::unique_ptr<ScriptSession> s_script;
    static inline QString s_setupFailures;
    static inline std::shared_ptr<db::Database> s_database;
};

TEST_F(OracleLiveTest, SetupRan) {
    EXPECT_TRUE(s_setupFailures.isEmpty()) << s_setupFailures.toStdString();
}

// Every text of a table, in sections as the expected files hold them, with LF line ends.
QString tableTexts(db::Database& database, const QString& table) {
    const catalog::TableInfoResult info = catalog::loadTableInfo(database, table);
    const catalog::IndexInfoResult indexes = catalog::loadIndexInfo(database, table);
    QString texts;
    const auto section = [&](const char* name, const QString& text) {
        texts += u'[' + QLatin1String(name) + QStringLiteral("]\n");
        if (!text.isEmpty())
            texts += QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n';
    };
    if (info.error)
        section("error", *info.error);
    if (indexes.error)
        section("index error", *indexes.error);
    section("strPkTxt", info.strPkTxt.trimmed());
    section("strCreateTableSql", info.strCreateTableSql);
    section("strTableInfoTxt", info.strTableInfoTxt.trimmed());
    section("strIndexInfoTxt", indexes.strIndexInfoTxt.trimmed());
    section("strCreateIndexSql", indexes.strCreateIndexSql.trimmed());
    return texts;
}

// The sections of `texts`, by name.
QMap<QString, QString> sections(const QString& texts) {
    QMap<QString, QString> found;
    QString name;
    for (const QString& line : texts.split(u'\n')) {
        if (line.startsWith(u'[') && line.endsWith(u']'))
            name = line.mid(1, line.size() - 2), found[name];
        else if (!name.isEmpty())
            found[name] += line + u'\n';
    }
    for (QString& text : found)
        text = text.trimmed();
    return found;
}

class OracleLiveTableTest : public OracleLiveTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(OracleLiveTableTest, TextsAreTheExpectedOnes) {
    ASSERT_TRUE(s_database);
    const QString table = QLatin1String(GetParam());
    const QString actual = tableTexts(*s_database, table);
    const QString record = setting("QUARNEL_ORACLE_LIVE_RECORD");
    if (!record.isEmpty()) {
        QDir().mkpath(record);
        QFile out(QDir(record).filePath(table + QStringLiteral(".txt")));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(actual.toUtf8()), actual.toUtf8().size());
        return;
    }
    QString expectedText =
        readFile(QStringLiteral(QUARNEL_ORACLE_LIVE_DIR "/expected/") + table + ".txt");
    expectedText.replace(QStringLiteral("${USER}"), setting("QUARNEL_ORACLE_TEST_USER").toUpper());
    const QMap<QString, QString> expected = sections(expectedText);
    const QMap<QString, QString> got = sections(actual);
    EXPECT_FALSE(got.contains(QStringLiteral("error")))
        << got.value(QStringLiteral("error")).toStdString();
    // Only the sections the expected file holds are compared.
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(got.value(it.key()).toStdString(), it.value().toStdString())
            << it.key().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Tables, OracleLiveTableTest,
                         ::testing::Values("QLT_TYPES", "QLT_PARENT", "QLT_CHILD", "QLT_LONG",
                                           "QLT_BLOBS"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(OracleLiveTest, TableListAndSchemaModelHoldEveryTable) {
    ASSERT_TRUE(s_database);
    const catalog::TableListResult list = catalog::readTableList(*s_database);
    EXPECT_FALSE(list.error.has_value());
    for (const char* table : {"QLT_TYPES", "QLT_PARENT", "QLT_CHILD", "QLT_LONG", "QLT_BLOBS"}) {
        EXPECT_GE(list.names.indexOf(QString::fromLatin1(table)), 0) << table;
        EXPECT_TRUE(schema::loadTable(*s_database, QLatin1String(table)).has_value()) << table;
    }
}

TEST_F(OracleLiveTest, NumbersArriveExactly) {
    ASSERT_TRUE(s_database);
    auto dynaset = s_database->DbCreateDynaset(
        QStringLiteral("SELECT C_NUM, C_NUM18, C_VC_CHAR, C_NVC FROM QLT_TYPES"), 12);
    ASSERT_FALSE(dynaset->Eof());
    EXPECT_EQ(dynaset->Fields(0).Value(), QVariant(QStringLiteral("1234567890.123456789")));
    EXPECT_EQ(dynaset->Fields(1).Value(), QVariant(qlonglong(123456789012345678)));
    EXPECT_EQ(dynaset->Fields(2).Value().toString(), QStringLiteral("ｽﾊﾟﾅ六角ボルト"));
    EXPECT_EQ(dynaset->Fields(3).Value().toString(), QStringLiteral("受注明細"));
}

TEST_F(OracleLiveTest, LongValuesArriveWholeAcrossFetches) {
    ASSERT_TRUE(s_database);
    auto dynaset = s_database->DbCreateDynaset(
        QStringLiteral("SELECT ID, NOTE FROM QLT_LONG ORDER BY ID"), 12);
    int n = 0;
    for (; !dynaset->Eof(); dynaset->DbMoveNext()) {
        ++n;
        const QString expected = QString((n * 7) % 3900 + 1, u'x') + QString::number(n);
        if (dynaset->Fields(1).Value().toString() != expected) {
            ADD_FAILURE() << "row " << n;
            break;
        }
    }
    EXPECT_EQ(n, 2300);
}

TEST_F(OracleLiveTest, TableOfOnlyBlobsIsDescribed) {
    ASSERT_TRUE(s_database);
    auto dynaset = s_database->DbCreateDynaset(QStringLiteral("SELECT * FROM QLT_BLOBS"), 12);
    EXPECT_EQ(dynaset->FieldCount(), 2);
}

}  // namespace
}  // namespace quarnel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QUARNEL_ORACLE_TEST_HOST") ||
        qEnvironmentVariableIsEmpty("QUARNEL_ORACLE_TEST_USER") ||
        qEnvironmentVariableIsEmpty("QUARNEL_ORACLE_TEST_PASSWORD")) {
        std::puts(
            "quarnel_oracle_live_tests: skipped (QUARNEL_ORACLE_TEST_HOST, _USER and "
            "_PASSWORD are not all set)");
        return 0;
    }
    if (qEnvironmentVariableIsSet("QUARNEL_ORACLE_LIVE_DROP_ONLY")) {
        quarnel::ScriptSession().runScript(QStringLiteral("teardown.sql"), false);
        return 0;
    }
    return RUN_ALL_TESTS();
}
