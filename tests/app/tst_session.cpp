// Connect and disconnect commands and the table list, through the scripted component and through
// the embedded engine on the demo database.
#include "app/fdlg_ora_logon.h"
#include "app/frm_mainkey.h"
#include "app/frm_search.h"
#include "shell/app_state.h"
#include "support/flex_grid.h"
#include "testing/scripted_engine.h"
#include "testing/window_fixture.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

using namespace quarnel;

namespace {

const QString kTableListSql = QStringLiteral("SELECT table_name tbl FROM user_tables t");

QStringList listItems(frm_mainkey& window) {
    QStringList items;
    QAbstractItemModel* model = window.lstTableList->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        items << model->data(model->index(row, 0)).toString();
    }
    return items;
}

}  // namespace

class SessionTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        m.open();
        logOnWith("scott", "tiger", "orcl");
    }
    void cleanup() { m.close(); }

    void connectedState() {
        m.backend->on(kTableListSql, db::ScriptedResult::column("TBL", {"A", "B"}));
        m.window->mnuDBLogIn->trigger();
        QCOMPARE(m.dialogs.modalRuns, 1);
        QVERIFY(m.state.blnConnected);
        QVERIFY(!m.window->mnuDBLogIn->isEnabled());
        QVERIFY(m.window->mnuCut->isEnabled());
        QCOMPARE(m.window->panelText(1), QStringLiteral("- DB接続中 -"));
        QCOMPARE(m.window->panelText(2), QString());
        QCOMPARE(m.window->panelText(3), QStringLiteral("scott / orcl"));
        QCOMPARE(m.window->panelText(4), QStringLiteral("ﾃｰﾌﾞﾙ総数 : 2件"));
        QCOMPARE(listItems(*m.window), QStringList({"A", "B"}));
        QCOMPARE(m.state.strTableListTxt, QStringLiteral("ﾃｰﾌﾞﾙ総数 : 2件\r\nA\r\nB\r\n"));
        QCOMPARE(m.backend->queries().back().options, 12);
        QVERIFY(!testing::busyShown(m.window));  // busy window gone
    }

    void cancelledLogonChangesNothing() {
        m.dialogs.onModal = nullptr;
        m.window->mnuDBLogIn->trigger();
        QVERIFY(!m.state.blnConnected);
        QVERIFY(m.window->mnuDBLogIn->isEnabled());
        QCOMPARE(m.window->panelText(1), QStringLiteral("- DB未接続 -"));
        QVERIFY(m.backend->queries().empty());
    }

    void everyConnectCommandBuildsAFreshDialog() {
        QStringList seenUsers;
        m.dialogs.onModal = [&](QDialog& dialog) {
            auto& logon = dynamic_cast<fdlgOraLogon&>(dialog);
            seenUsers << logon.txtUsrID->text();
            logon.txtUsrID->setText("typed");
        };
        m.window->mnuDBLogIn->trigger();
        m.window->mnuDBLogIn->trigger();
        QCOMPARE(seenUsers, QStringList({"", ""}));
    }

    void disconnectReturnsToTheStartState() {
        m.backend->on(kTableListSql, db::ScriptedResult::column("TBL", {"A"}));
        m.window->mnuDBLogIn->trigger();
        m.state.strTableInfoCsv = "x";
        m.state.strTableInfoTxt = "x";
        m.state.strPkTxt = "x";
        m.state.strCreateTableSql = "x";
        m.state.strIndexInfoCsv = "x";
        m.state.strIndexInfoTxt = "x";
        m.state.strCreateIndexSql = "x";
        m.window->tvTreeView->addTopLevelItem(new QTreeWidgetItem(QStringList("A")));
        m.window->lblTitle[1]->setText("t1");
        m.window->lblTitle[2]->setText("t2");

        m.window->mnuCut->trigger();
        QVERIFY(m.backend->log().contains("Close"));
        QVERIFY(!m.state.blnConnected);
        QVERIFY(m.state.objOraDatabase == nullptr);
        QVERIFY(m.window->mnuDBLogIn->isEnabled());
        QVERIFY(!m.window->mnuCut->isEnabled());
        QCOMPARE(m.window->panelText(1), QStringLiteral("- DB未接続 -"));
        QCOMPARE(m.window->panelText(3), QString());
        QCOMPARE(m.window->panelText(4), QStringLiteral("ﾃｰﾌﾞﾙ総数 : 0件"));
        QVERIFY(listItems(*m.window).isEmpty());
        for (const QString* text :
             {&m.state.strTableListTxt, &m.state.strTableInfoTxt, &m.state.strTableInfoCsv,
              &m.state.strPkTxt, &m.state.strCreateTableSql, &m.state.strIndexInfoTxt,
              &m.state.strIndexInfoCsv, &m.state.strCreateIndexSql}) {
            QVERIFY(text->isEmpty());
        }
        // The grid's header is cleared too, and two rows remain.
        QCOMPARE(m.window->MSFlexGrid1->Rows(), 2);
        QCOMPARE(m.window->MSFlexGrid1->TextMatrix(0, 1), QString());
        QCOMPARE(m.window->tvTreeView->topLevelItemCount(), 0);
        QCOMPARE(m.window->lblTitle[1]->text(), QStringLiteral("　ﾃｰﾌﾞﾙ情報"));
        QCOMPARE(m.window->lblTitle[2]->text(), QStringLiteral("　ｲﾝﾃﾞｯｸｽ情報"));

        // The File menu's save entries are all disabled again.
        m.window->mnuFile_Click();
        QVERIFY(!m.window->mnuSaveAllTable->isEnabled());
        QVERIFY(!m.window->mnuSaveInfoTable->isEnabled());
        QVERIFY(!m.window->mnuSaveTableIndex->isEnabled());
        QVERIFY(!m.window->mnuDefinition->isEnabled());
    }

    void failedDisconnectKeepsTheConnectedState() {
        m.backend->on(kTableListSql, db::ScriptedResult::column("TBL", {"A"}));
        m.window->mnuDBLogIn->trigger();
        m.backend->failClose(true);
        m.window->mnuCut->trigger();
        QCOMPARE(m.dialogs.messages.size(), size_t(1));
        QCOMPARE(m.dialogs.messages[0].text, QStringLiteral("切断に失敗しました。"));
        QCOMPARE(m.dialogs.messages[0].icon, MessageIcon::Information);
        QVERIFY(m.state.blnConnected);
        QVERIFY(m.state.objOraDatabase != nullptr);
        QVERIFY(m.window->mnuCut->isEnabled());
        QCOMPARE(listItems(*m.window), QStringList({"A"}));
    }

    void tableListCounts_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("many") << 2500;
    }
    void tableListCounts() {
        QFETCH(int, count);
        QVariantList names;
        QString expected = QStringLiteral("ﾃｰﾌﾞﾙ総数 : %1件\r\n").arg(count);
        for (int i = 0; i < count; ++i) {
            names << QStringLiteral("T%1").arg(i);
            expected += QStringLiteral("T%1\r\n").arg(i);
        }
        m.backend->on(kTableListSql, db::ScriptedResult::column("TBL", names));
        m.window->mnuDBLogIn->trigger();
        QCOMPARE(m.state.strTableListTxt, expected);
        QCOMPARE(m.window->panelText(4), QStringLiteral("ﾃｰﾌﾞﾙ総数 : %1件").arg(count));
        QCOMPARE(listItems(*m.window).size(), count);

        // The File menu's list entry follows the list text; the per-table entries stay off.
        m.window->mnuFile_Click();
        QVERIFY(m.window->mnuSaveAllTable->isEnabled());
        QVERIFY(!m.window->mnuSaveInfoTable->isEnabled());
        QVERIFY(m.window->mnuDefinition->isEnabled());
    }

    void failureInTheMiddleOfTheFetch() {
        m.backend->once(kTableListSql, db::ScriptedResult::column("TBL", {"A"}));
        m.window->mnuDBLogIn->trigger();
        db::ScriptedResult broken = db::ScriptedResult::column("TBL", {"C", "D", "E", "F"});
        broken.failMovingTo = 2;
        broken.failText = "ORA-01555: snapshot too old";
        m.backend->once(kTableListSql, broken);
        m.state.strTableInfoCsv = "x";
        m.state.strIndexInfoCsv = "x";
        m.state.strCreateTableSql = "kept";

        m.window->mnuTableS->trigger();
        QCOMPARE(m.dialogs.messages.size(), size_t(1));
        QCOMPARE(m.dialogs.messages[0].text, QStringLiteral("ORA-01555: snapshot too old"));
        QCOMPARE(m.dialogs.messages[0].icon, MessageIcon::Critical);
        QCOMPARE(m.dialogs.messages[0].title, QStringLiteral("SQLｴﾗｰ"));
        QCOMPARE(listItems(*m.window), QStringList({"C", "D"}));
        QCOMPARE(m.window->panelText(4), QStringLiteral("ﾃｰﾌﾞﾙ総数 : 1件"));
        QCOMPARE(m.state.strTableListTxt, QStringLiteral("ﾃｰﾌﾞﾙ総数 : 1件\r\nA\r\n"));
        QCOMPARE(m.window->panelText(2), QString());
        QVERIFY(m.state.strTableInfoCsv.isEmpty());
        QVERIFY(m.state.strIndexInfoCsv.isEmpty());
        QCOMPARE(m.state.strCreateTableSql, QStringLiteral("kept"));
        QVERIFY(!testing::busyShown(m.window));
        QVERIFY(m.state.blnConnected);
        QCOMPARE(m.backend->openDynasets(), 0);
    }

    void busyTextWhileReading() {
        QString panelDuringRead;
        QWidget* busyDuringRead = nullptr;
        m.backend->on(kTableListSql, db::ScriptedResult::column("TBL", {"A"}));
        m.window->mnuDBLogIn->trigger();
        // The read lets pending events through at fixed points; the last one before its query
        // comes after the busy text is set: look at the window then.
        std::function<void()> observe = [&] {
            if (m.window->panelText(2).isEmpty()) {
                QTimer::singleShot(0, m.window, observe);
                return;
            }
            panelDuringRead = m.window->panelText(2);
            busyDuringRead =
                testing::busyShown(m.window) ? m.window->findChild<frmSearch*>() : nullptr;
        };
        QTimer::singleShot(0, m.window, observe);
        m.window->mnuTableS->trigger();
        QCOMPARE(panelDuringRead, QStringLiteral("検索中･･･"));
        QVERIFY(busyDuringRead != nullptr);
    }

    void tableListWhileDisconnectedOpensTheLogon() {
        m.dialogs.onModal = nullptr;
        m.window->mnuTableS->trigger();
        QCOMPARE(m.dialogs.modalRuns, 1);
        QVERIFY(m.backend->queries().empty());
    }

    void demoDatabaseThroughTheEmbeddedEngine() {
        m.state.sessionFactory = db::CreateSession;
        logOnWith("demo", "", QStringLiteral("sqlite:") + QUARNEL_DEMO_DB);
        m.window->mnuDBLogIn->trigger();
        QVERIFY2(m.dialogs.messages.empty(),
                 m.dialogs.messages.empty() ? "" : m.dialogs.messages[0].text.toUtf8());
        QVERIFY(m.state.blnConnected);
        QVERIFY(listItems(*m.window).contains("ITEM"));
        QVERIFY(m.state.strTableListTxt.contains("\r\nITEM\r\n"));
    }

    void missingDatabaseFileIsARefusedLogon() {
        m.state.sessionFactory = db::CreateSession;
        logOnWith("demo", "", "sqlite:/nonexistent/quarnel.db");
        m.window->mnuDBLogIn->trigger();
        QCOMPARE(m.dialogs.messages.size(), size_t(1));
        QVERIFY(m.dialogs.messages[0].text.contains("/nonexistent/quarnel.db"));
        QVERIFY(!m.state.blnConnected);
        QVERIFY(m.window->mnuDBLogIn->isEnabled());
    }

  private:
    void logOnWith(const QString& user, const QString& password, const QString& host) {
        m.answerLogons(user, password, host);
    }

    testing::WindowFixture m;
};

QTEST_MAIN(SessionTest)
#include "tst_session.moc"
