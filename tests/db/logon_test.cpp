// The logon rule shared by the logon dialog and quarnel-dump.
#include "db/logon.h"

#include "testing/scripted_engine.h"

#include <gtest/gtest.h>

namespace quarnel::db {
namespace {

// A database left by an earlier logon, reporting a server error of its own.
class EarlierDatabase : public Database {
  public:
    EarlierDatabase(int err, QString text) : m_err(err), m_text(std::move(text)) {}

    void LastServerErrReset() override {
        if (m_resetThrows)
            throw DbError(QStringLiteral("reset failed"));
        m_err = 0;
    }
    int LastServerErr() const override { return m_err; }
    QString LastServerErrText() const override { return m_text; }
    std::unique_ptr<Dynaset> DbCreateDynaset(const QString&, int) override {
        throw DbError(QStringLiteral("not scripted"));
    }
    void Close() override {}

    bool m_resetThrows = false;

  private:
    int m_err;
    QString m_text;
};

struct ConnectCase {
    const char* name;
    QString user;
    QString password;
    QString host;
    // The call the session sees, and the trimmed user ID and host string.
    QString call;
    QString userId;
    QString hostString;
};

void PrintTo(const ConnectCase& c, std::ostream* os) {
    *os << c.name;
}

class LogonConnectTest : public ::testing::TestWithParam<ConnectCase> {};

TEST_P(LogonConnectTest, TrimsSpacesAndJoinsUserAndPassword) {
    const ConnectCase& c = GetParam();
    auto backend = ScriptedBackend::create();
    std::shared_ptr<Session> session;
    std::shared_ptr<Database> database;

    const LogonResult result =
        logOn(backend->factory(), {c.user, c.password, c.host}, session, database);

    ASSERT_TRUE(result.connected) << result.failure.toStdString();
    EXPECT_TRUE(result.failure.isEmpty());
    EXPECT_EQ(backend->log(), QStringList({QStringLiteral("CreateSession"), c.call}));
    EXPECT_EQ(result.userId, c.userId);
    EXPECT_EQ(result.hostString, c.hostString);
    EXPECT_TRUE(session != nullptr);
    EXPECT_TRUE(database != nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogonConnectTest,
    ::testing::Values(
        ConnectCase{"Plain", "scott", "tiger", "orcl", "DbOpenDatabase orcl|scott/tiger|3", "scott",
                    "orcl"},
        ConnectCase{"SpacesAtEitherEnd", "  scott ", " tiger  ", " orcl ",
                    "DbOpenDatabase orcl|scott/tiger|3", "scott", "orcl"},
        ConnectCase{"SpacesOnlyUser", "   ", "pw", "h", "DbOpenDatabase h|/pw|3", "", "h"},
        ConnectCase{"EmptyPasswordAndHost", "u", "", "", "DbOpenDatabase |u/|3", "u", ""},
        // Only U+0020 is trimmed; a tab and an ideographic space are part of the text.
        ConnectCase{"TabAndIdeographicSpaceStay", "\tu", "p\u3000", " h\t",
                    "DbOpenDatabase h\t|\tu/p\u3000|3", "\tu", "h\t"},
        ConnectCase{"SpacesInsideStay", "a b", " p q ", "x y", "DbOpenDatabase x y|a b/p q|3",
                    "a b", "x y"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HasUserIdTest, RefusesOnlyTheEmptyText) {
    EXPECT_FALSE(hasUserId(u""));
    EXPECT_TRUE(hasUserId(u" "));
    EXPECT_TRUE(hasUserId(u"scott"));
}

TEST(LogonFailureTest, RefusalShowsTheSessionsServerTextAndKeepsTheEarlierDatabase) {
    auto backend = ScriptedBackend::create();
    backend->refuseLogon(1017, QStringLiteral("ORA-01017: invalid username/password"));
    std::shared_ptr<Session> session;
    std::shared_ptr<Database> database =
        std::make_shared<EarlierDatabase>(12154, QStringLiteral("ORA-12154: earlier"));
    const std::shared_ptr<Database> earlier = database;

    const LogonResult result = logOn(backend->factory(), {u"u", u"p", u"h"}, session, database);

    EXPECT_FALSE(result.connected);
    EXPECT_EQ(result.failure, QStringLiteral("ORA-01017: invalid username/password"));
    EXPECT_TRUE(session != nullptr);
    EXPECT_EQ(database, earlier);
    EXPECT_EQ(result.userId, QStringLiteral("u"));
}

TEST(LogonFailureTest, WithoutASessionErrorTheEarlierDatabasesServerTextIsShown) {
    auto backend = ScriptedBackend::create();
    backend->failLogon(QStringLiteral("OIP-04796: network failure"));
    std::shared_ptr<Session> session;
    std::shared_ptr<Database> database =
        std::make_shared<EarlierDatabase>(12154, QStringLiteral("ORA-12154: earlier"));

    const LogonResult result = logOn(backend->factory(), {u"u", u"p", u"h"}, session, database);

    EXPECT_FALSE(result.connected);
    EXPECT_EQ(result.failure, QStringLiteral("ORA-12154: earlier"));
}

TEST(LogonFailureTest, WithoutServerErrorsTheFailuresOwnTextIsShown) {
    auto backend = ScriptedBackend::create();
    backend->failLogon(QStringLiteral("OIP-04796: network failure"));
    std::shared_ptr<Session> session;
    std::shared_ptr<Database> database =
        std::make_shared<EarlierDatabase>(0, QStringLiteral("not this"));

    const LogonResult result = logOn(backend->factory(), {u"u", u"p", u"h"}, session, database);

    EXPECT_FALSE(result.connected);
    EXPECT_EQ(result.failure, QStringLiteral("OIP-04796: network failure"));
}

TEST(LogonFailureTest, SessionThatCannotBeCreatedLeavesTheEarlierObjects) {
    auto backend = ScriptedBackend::create();
    std::shared_ptr<Session> session = backend->factory()(QLatin1String(kSessionClassName));
    std::shared_ptr<Database> database;
    const std::shared_ptr<Session> earlier = session;
    const SessionFactory failing = [](const QString&) -> std::shared_ptr<Session> {
        throw DbError(QStringLiteral("cannot create the session"), 429);
    };

    const LogonResult result = logOn(failing, {u"u", u"p", u"h"}, session, database);

    EXPECT_FALSE(result.connected);
    EXPECT_EQ(result.failure, QStringLiteral("cannot create the session"));
    EXPECT_EQ(session, earlier);
    EXPECT_EQ(database, nullptr);
}

TEST(ResetServerErrorsTest, ResetsTheDatabaseThenTheSessionAndIgnoresFailures) {
    auto backend = ScriptedBackend::create();
    std::shared_ptr<Session> session = backend->factory()(QLatin1String(kSessionClassName));
    std::shared_ptr<Database> database = session->DbOpenDatabase(QStringLiteral("h"), QStringLiteral("u/"), 3);
    backend->clearRecord();

    resetServerErrors(session.get(), database.get());
    resetServerErrors(nullptr, nullptr);
    EarlierDatabase throwing(5, QStringLiteral("x"));
    throwing.m_resetThrows = true;
    resetServerErrors(session.get(), &throwing);

    EXPECT_EQ(backend->log(),
              QStringList({QStringLiteral("Database.Reset"), QStringLiteral("Session.Reset"),
                           QStringLiteral("Session.Reset")}));
}

}  // namespace
}  // namespace quarnel::db
