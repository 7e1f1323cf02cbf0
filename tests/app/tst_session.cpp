// Connect and disconnect commands and the table list, through the scripted component and through
// the embedded engine on the demo database.
#include "app/app_state.h"
#include "app/fdlg_ora_logon.h"
#include "app/frm_mainkey.h"
#include "app/frm_search.h"
#include "db/scripted_engine.h"
#include "support/flex_grid.h"
#include "testing/test_dialogs.h"

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
        m_backend = db::ScriptedBackend::create();
        m_dialogs = testing::TestDialogs{};
        m_state = AppState{};
        m_state.dialogs = &m_dialogs;
        m_state.sessionFactory = m_backend->factory();
        m_window = new frm_mainkey(m_state);
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
        m_window->setUpControls();
        m_window->show();
        logOnWith("scott", "tiger", "orcl");
    }
    void cleanup() { delete m_window; }

    void connectedState() {
        m_backend->on(kTableListSql, db::ScriptedResult::column("TBL", {"A", "B"}));
        m_window->mnuDBLogIn->trigger();
        QCOMPARE(m_dialogs.modalRuns, 1);
        QVERIFY(m_state.blnConnected);
        QVERIFY(!m_window->mnuDBLogIn->isEnabled());
        QVERIFY(m_window->mnuCut->isEnabled());
        QCOMPARE(m_window->panelText(1), QStringLiteral("- DB接続中 -"));
        QCOMPARE(m_window->panelText(2), QString());
        QCOMPARE(m_window->panelText(3), QStringLiteral("scott / orcl"));
        QCOMPARE(m_window->panelText(4), QStringLiteral("ﾃｰﾌﾞﾙ総数 : 2件"));
        QCOMPARE(listItems(*m_window), QStringList({"A", "B"}));
        QCOMPARE(m_state.strTableListTxt, QStringLiteral("ﾃｰﾌﾞﾙ総数 : 2件\r\nA\r\nB\r\n"));
        QCOMPARE(m_backend->queries().back().options, 12);
        QVERIFY(m_window->findChild<frmSearch*>() == nullptr);  // busy window gone
    }

    void cancelledLogonChangesNothing() {
        m_dialogs.onModal = nullptr;
        m_window->mnuDBLogIn->trigger();
        QVERIFY(!m_state.blnConnected);
        QVERIFY(m_window->mnuDBLogIn->isEnabled());
        QCOMPARE(m_window->panelText(1), QStringLiteral("- DB未接続 -"));
        QVERIFY(m_backend->queries().empty());
    }

    void everyConnectCommandBuildsAFreshDialog() {
        QStringList seenUsers;
        m_dialogs.onModal = [&](QDialog& dialog) {
            auto& logon = dynamic_cast<fdlgOraLogon&>(dialog);
            seenUsers << logon.txtUsrID->text();
            logon.txtUsrID->setText("typed");
        };
        m_window->mnuDBLogIn->trigger();
        m_window->mnuDBLogIn->trigger();
        QCOMPARE(seenUsers, QStringList({"", ""}));
    }

    void disconnectReturnsToTheStartState() {
        m_backend->on(kTableListSql, db::ScriptedResult::column("TBL", {"A"}));
        m_window->mnuDBLogIn->trigger();
        m_state.strTableInfoCsv = "x";
        m_state.strTableInfoTxt = "x";
        m_state.strPkTxt = "x";
        m_state.strCreateTableSql = "x";
        m_state.strIndexInfoCsv = "x";
        m_state.strIndexInfoTxt = "x";
        m_state.strCreateIndexSql = "x";
        m_window->tvTreeView->addTopLevelItem(new QTreeWidgetItem(QStringList("A")));
        m_window->lblTitle[1]->setText("t1");
        m_window->lblTitle[2]->setText("t2");

        m_window->mnuCut->trigger();
        QVERIFY(m_backend->log().contains("Close"));
        QVERIFY(!m_state.blnConnected);
        QVERIFY(m_state.objOraDatabase == nullptr);
        QVERIFY(m_window->mnuDBLogIn->isEnabled());
        QVERIFY(!m_window->mnuCut->isEnabled());
        QCOMPARE(m_window->panelText(1), QStringLiteral("- DB未接続 -"));
        QCOMPARE(m_window->panelText(3), QString());
        QCOMPARE(m_window->panelText(4), QStringLiteral("ﾃｰﾌﾞﾙ総数 : 0件"));
        QVERIFY(listItems(*m_window).isEmpty());
        for (const QString* text :
             {&m_state.strTableListTxt, &m_state.strTableInfoTxt, &m_state.strTableInfoCsv,
              &m_state.strPkTxt, &m_state.strCreateTableSql, &m_state.strIndexInfoTxt,
              &m_state.strIndexInfoCsv, &m_state.strCreateIndexSql}) {
            QVERIFY(text->isEmpty());
        }
        // The grid's header is cleared too, and two rows remain.
        QCOMPARE(m_window->MSFlexGrid1->Rows(), 2);
        QCOMPARE(m_window->MSFlexGrid1->TextMatrix(0, 1), QString());
        QCOMPARE(m_window->tvTreeView->topLevelItemCount(), 0);
        QCOMPARE(m_window->lblTitle[1]->text(), QStringLiteral("　ﾃｰﾌﾞﾙ情報"));
        QCOMPARE(m_window->lblTitle[2]->text(), QStringLiteral("　ｲﾝﾃﾞｯｸｽ情報"));

        // The File menu's save entries are all disabled again.
        m_window->mnuFile_Click();
        QVERIFY(!m_window->mnuSaveAllTable->isEnabled());
        QVERIFY(!m_window->mnuSaveInfoTable->isEnabled());
        QVERIFY(!m_window->mnuSaveTableIndex->isEnabled());
    }

    void failedDisconnectKeepsTheConnectedState() {
        m_backend->on(kTableListSql, db::ScriptedResult::column("TBL", {"A"}));
        m_window->mnuDBLogIn->trigger();
        m_backend->failClose(true);
        m_window->mnuCut->trigger();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, QStringLiteral("切断に失敗しました。"));
        QCOMPARE(m_dialogs.messages[0].icon, MessageIcon::Information);
        QVERIFY(m_state.blnConnected);
        QVERIFY(m_state.objOraDatabase != nullptr);
        QVERIFY(m_window->mnuCut->isEnabled());
        QCOMPARE(listItems(*m_window), QStringList({"A"}));
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
        m_backend->on(kTableListSql, db::ScriptedResult::column("TBL", names));
        m_window->mnuDBLogIn->trigger();
        QCOMPARE(m_state.strTableListTxt, expected);
        QCOMPARE(m_window->panelText(4), QStringLiteral("ﾃｰﾌﾞﾙ総数 : %1件").arg(count));
        QCOMPARE(listItems(*m_window).size(), count);

        // The File menu's list entry follows the list text; the per-table entries stay off.
        m_window->mnuFile_Click();
        QVERIFY(m_window->mnuSaveAllTable->isEnabled());
        QVERIFY(!m_window->mnuSaveInfoTable->isEnabled());
    }

    void failureInTheMiddleOfTheFetch() {
        m_backend->once(kTableListSql, db::ScriptedResult::column("TBL", {"A"}));
        m_window->mnuDBLogIn->trigger();
        db::ScriptedResult broken = db::ScriptedResult::column("TBL", {"C", "D", "E", "F"});
        broken.failMovingTo = 2;
        broken.failText = "ORA-01555: snapshot too old";
        m_backend->once(kTableListSql, broken);
        m_state.strTableInfoCsv = "x";
        m_state.strIndexInfoCsv = "x";
        m_state.strCreateTableSql = "kept";

        m_window->mnuTableS->trigger();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, QStringLiteral("ORA-01555: snapshot too old"));
        QCOMPARE(m_dialogs.messages[0].icon, MessageIcon::Critical);
        QCOMPARE(m_dialogs.messages[0].title, QStringLiteral("SQLｴﾗｰ"));
        QCOMPARE(listItems(*m_window), QStringList({"C", "D"}));
        QCOMPARE(m_window->panelText(4), QStringLiteral("ﾃｰﾌﾞﾙ総数 : 1件"));
        QCOMPARE(m_state.strTableListTxt, QStringLiteral("ﾃｰﾌﾞﾙ総数 : 1件\r\nA\r\n"));
        QCOMPARE(m_window->panelText(2), QString());
        QVERIFY(m_state.strTableInfoCsv.isEmpty());
        QVERIFY(m_state.strIndexInfoCsv.isEmpty());
        QCOMPARE(m_state.strCreateTableSql, QStringLiteral("kept"));
        QVERIFY(m_window->findChild<frmSearch*>() == nullptr);
        QVERIFY(m_state.blnConnected);
        QCOMPARE(m_backend->openDynasets(), 0);
    }

    void busyTextWhileReading() {
        QString panelDuringRead;
        QWidget* busyDuringRead = nullptr;
        m_backend->on(kTableListSql, db::ScriptedResult::column("TBL", {"A"}));
        m_window->mnuDBLogIn->trigger();
        // The read lets pending events through at fixed points; the last one before its query
        // comes after the busy text is set: look at the window then.
        std::function<void()> observe = [&] {
            if (m_window->panelText(2).isEmpty()) {
                QTimer::singleShot(0, m_window, observe);
                return;
            }
            panelDuringRead = m_window->panelText(2);
            busyDuringRead = m_window->findChild<frmSearch*>();
        };
        QTimer::singleShot(0, m_window, observe);
        m_window->mnuTableS->trigger();
        QCOMPARE(panelDuringRead, QStringLiteral("検索中･･･"));
        QVERIFY(busyDuringRead != nullptr);
    }

    void tableListWhileDisconnectedOpensTheLogon() {
        m_dialogs.onModal = nullptr;
        m_window->mnuTableS->trigger();
        QCOMPARE(m_dialogs.modalRuns, 1);
        QVERIFY(m_backend->queries().empty());
    }

    void demoDatabaseThroughTheEmbeddedEngine() {
        m_state.sessionFactory = db::CreateSession;
        logOnWith("demo", "", QStringLiteral("sqlite:") + QUARNEL_DEMO_DB);
        m_window->mnuDBLogIn->trigger();
        QVERIFY2(m_dialogs.messages.empty(),
                 m_dialogs.messages.empty() ? "" : m_dialogs.messages[0].text.toUtf8());
        QVERIFY(m_state.blnConnected);
        QVERIFY(listItems(*m_window).contains("ITEM"));
        QVERIFY(m_state.strTableListTxt.contains("\r\nITEM\r\n"));
    }

    void missingDatabaseFileIsARefusedLogon() {
        m_state.sessionFactory = db::CreateSession;
        logOnWith("demo", "", "sqlite:/nonexistent/quarnel.db");
        m_window->mnuDBLogIn->trigger();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QVERIFY(m_dialogs.messages[0].text.contains("/nonexistent/quarnel.db"));
        QVERIFY(!m_state.blnConnected);
        QVERIFY(m_window->mnuDBLogIn->isEnabled());
    }

  private:
    // Every logon dialog is filled with these texts and OK is pressed once.
    void logOnWith(const QString& user, const QString& password, const QString& host) {
        m_dialogs.onModal = [=](QDialog& dialog) {
            auto& logon = dynamic_cast<fdlgOraLogon&>(dialog);
            logon.txtUsrID->setText(user);
            logon.txtPasswd->setText(password);
            logon.txtHost->setText(host);
            logon.cmdOK_Click();
        };
    }

    std::shared_ptr<db::ScriptedBackend> m_backend;
    testing::TestDialogs m_dialogs;
    AppState m_state;
    frm_mainkey* m_window = nullptr;
};

QTEST_MAIN(SessionTest)
#include "tst_session.moc"
