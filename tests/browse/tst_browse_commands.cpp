// The browsing commands as a unit, without the main window: a view that records what it is
// given, over the scripted component.
#include "browse/browse_commands.h"
#include "shell/app_state.h"
#include "testing/fake_main_view.h"
#include "testing/scripted_engine.h"
#include "testing/test_dialogs.h"

#include <QTest>

using namespace quarnel;

namespace {

using Command = void (BrowseCommands::*)();

}  // namespace

Q_DECLARE_METATYPE(Command)

class BrowseCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        m_backend = db::ScriptedBackend::create();
        m_dialogs = testing::TestDialogs{};
        m_state = AppState{};
        m_state.dialogs = &m_dialogs;
        m_state.sessionFactory = m_backend->factory();
        m_view = std::make_unique<testing::FakeMainView>();
        m_commands = std::make_unique<BrowseCommands>(m_state, *m_view);
        m_backend->on("SELECT table_name tbl", db::ScriptedResult::column("TBL", {"A", "B"}));
        m_backend->on("count(table_name)", db::ScriptedResult::column("TBL", {0}));
    }

    void withoutADatabaseTheConnectCommandRunsInstead_data() {
        QTest::addColumn<Command>("command");
        QTest::newRow("table list") << Command(&BrowseCommands::LoadTableList);
        QTest::newRow("select table") << Command(&BrowseCommands::selectTable);
        QTest::newRow("table lookup") << Command(&BrowseCommands::LoadTableInfo);
        QTest::newRow("index lookup") << Command(&BrowseCommands::LoadIndexInfo);
    }
    void withoutADatabaseTheConnectCommandRunsInstead() {
        QFETCH(Command, command);
        m_view->selectedTable = QStringLiteral("A");
        m_state.strTableInfoCsv = QStringLiteral("kept");

        // Cancelled logon: nothing else happens.
        (m_commands.get()->*command)();
        QCOMPARE(m_view->log, QStringList({"logon"}));
        QVERIFY(m_backend->queries().empty());
        QCOMPARE(m_state.strTableInfoCsv, QStringLiteral("kept"));

        // Successful logon: the connect command reads the table list, and the command that ran
        // it stops there.
        m_view->log.clear();
        m_view->onLogon = [this] { logOn(); };
        (m_commands.get()->*command)();
        QCOMPARE(m_view->log.count("logon"), 1);
        QVERIFY(m_view->connected);
        QCOMPARE(m_view->tableNames.size(), 2);
        QCOMPARE(m_backend->queries().size(), size_t(1));
        QVERIFY(m_view->titles.isEmpty());
    }

    // The busy window is painted before the panes are cleared, the panes are painted empty
    // before the lookups block, and the busy window goes when both lookups have run.
    void selectTableStepsInOrder() {
        logOn();
        m_view->selectedTable = QStringLiteral("GONE");
        m_state.blnCreateViewOpen = true;
        m_commands->selectTable();
        QCOMPARE(m_view->log, QStringList({"busy shown", "pending messages", "editor closed",
                                           "tree cleared", "pending messages", "pending messages",
                                           "tree nodes added", "busy hidden"}));
        QCOMPARE(m_view->titles, QStringList({"　ﾃｰﾌﾞﾙ情報 : GONE", "　ｲﾝﾃﾞｯｸｽ情報 : GONE"}));
        QCOMPARE(m_view->flexGrid.Rows(), 2);
        QCOMPARE(m_view->createViewTexts, QStringList({"\r\n\r\n"}));
        QVERIFY(!m_view->busy);
        QCOMPARE(m_view->panels[1], QString());
    }

    // Reading the list again empties the five per-table texts; the two DDL scripts stay.
    void tableListEmptiesThePerTableTexts() {
        logOn();
        for (QString* text : {&m_state.strTableInfoTxt, &m_state.strTableInfoCsv, &m_state.strPkTxt,
                              &m_state.strIndexInfoTxt, &m_state.strIndexInfoCsv,
                              &m_state.strCreateTableSql, &m_state.strCreateIndexSql}) {
            *text = QStringLiteral("x");
        }
        m_commands->LoadTableList();
        for (const QString* text :
             {&m_state.strTableInfoTxt, &m_state.strTableInfoCsv, &m_state.strPkTxt,
              &m_state.strIndexInfoTxt, &m_state.strIndexInfoCsv}) {
            QVERIFY(text->isEmpty());
        }
        QCOMPARE(m_state.strCreateTableSql, QStringLiteral("x"));
        QCOMPARE(m_state.strCreateIndexSql, QStringLiteral("x"));
        QCOMPARE(m_state.strTableListTxt, QStringLiteral("ﾃｰﾌﾞﾙ総数 : 2件\r\nA\r\nB\r\n"));
        QCOMPARE(m_view->panels[3], QStringLiteral("ﾃｰﾌﾞﾙ総数 : 2件"));
    }

  private:
    // What a successful logon leaves in the program-wide state.
    void logOn() {
        m_state.objOraSession = m_state.sessionFactory(QLatin1String(db::kSessionClassName));
        m_state.objOraDatabase = m_state.objOraSession->DbOpenDatabase("h", "u/", 3);
        m_state.blnConnected = true;
    }

    std::shared_ptr<db::ScriptedBackend> m_backend;
    testing::TestDialogs m_dialogs;
    AppState m_state;
    std::unique_ptr<testing::FakeMainView> m_view;
    std::unique_ptr<BrowseCommands> m_commands;
};

QTEST_MAIN(BrowseCommandsTest)
#include "tst_browse_commands.moc"
