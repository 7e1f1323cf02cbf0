// The logon dialog: keys, the empty-user check, the connect string, and the three failures.
#include "app/fdlg_ora_logon.h"
#include "shell/app_state.h"
#include "shell/dialogs.h"
#include "testing/oci_stand_in.h"
#include "testing/scripted_engine.h"
#include "testing/test_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace quarnel;

class LogonTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        m_backend = db::ScriptedBackend::create();
        m_dialogs = testing::TestDialogs{};
        m_state = AppState{};
        m_state.dialogs = &m_dialogs;
        m_state.sessionFactory = m_backend->factory();
        m_dialog = new fdlgOraLogon(m_state, nullptr);
        m_dialog->Form_Load();
        m_dialog->show();
    }
    void cleanup() { delete m_dialog; }

    void loadSetsCaptionAndClearsConnection() {
        m_state.blnConnected = true;
        m_dialog->Form_Load();
        QVERIFY(!m_state.blnConnected);
        QCOMPARE(m_dialog->windowTitle(), executableName());
        QCOMPARE(m_dialog->lblUsrID->text(), QStringLiteral("ユーザＩＤ："));
        QCOMPARE(m_dialog->lblPasswd0->text(), QStringLiteral("パスワード："));
        QCOMPARE(m_dialog->lblPasswd1->text(), QStringLiteral("ホスト文字列："));
        QCOMPARE(m_dialog->cmdOK->text(), QStringLiteral("ＯＫ"));
        QCOMPARE(m_dialog->cmdCancel->text(), QStringLiteral("キャンセル"));
        QCOMPARE(m_dialog->txtPasswd->echoMode(), QLineEdit::Password);
        QVERIFY(m_dialog->txtUsrID->text().isEmpty());
        QVERIFY(!m_dialog->cmdOK->isDefault());
    }

    void connectString_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("status");
        QTest::newRow("plain") << "scott"
                               << "tiger"
                               << "orcl"
                               << "DbOpenDatabase orcl|scott/tiger|3"
                               << "scott / orcl";
        QTest::newRow("trimmed") << "  scott "
                                 << " tiger  "
                                 << " orcl "
                                 << "DbOpenDatabase orcl|scott/tiger|3"
                                 << "scott / orcl";
        QTest::newRow("spaces-only user passes") << "   "
                                                 << "pw"
                                                 << "h"
                                                 << "DbOpenDatabase h|/pw|3"
                                                 << " / h";
        QTest::newRow("empty password and host") << "u"
                                                 << ""
                                                 << ""
                                                 << "DbOpenDatabase |u/|3"
                                                 << "u / ";
        QTest::newRow("non-ASCII") << "ユーザ"
                                   << "パス"
                                   << "ＤＢ"
                                   << "DbOpenDatabase ＤＢ|ユーザ/パス|3"
                                   << "ユーザ / ＤＢ";
    }
    void connectString() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, host);
        QFETCH(QString, call);
        QFETCH(QString, status);
        m_dialog->txtUsrID->setText(user);
        m_dialog->txtPasswd->setText(password);
        m_dialog->txtHost->setText(host);
        m_dialog->cmdOK_Click();
        QVERIFY(m_state.blnConnected);
        QVERIFY(m_state.objOraDatabase != nullptr);
        QVERIFY(m_backend->log().contains(call));
        QCOMPARE(m_state.strUserId + " / " + m_state.strHostString, status);
        QVERIFY(m_dialogs.messages.empty());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(m_dialog->lblMessage->text().isEmpty());
        QVERIFY(m_dialog->txtPasswd->text().isEmpty());  // not kept once connected
    }

    void emptyUserIsRefusedWithoutAttempt() {
        m_dialog->txtPasswd->setText("pw");
        m_dialog->cmdOK_Click();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, QStringLiteral("ユーザ名を指定してください。"));
        QCOMPARE(m_dialogs.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(m_dialogs.messages[0].title, executableName());
        QCOMPARE(m_backend->sessionsCreated(), 0);
        QVERIFY(!m_state.blnConnected);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_dialog->focusWidget(), m_dialog->txtUsrID);
    }

    void failuresAreReportedAndTheDialogStays_data() {
        QTest::addColumn<int>("serverErr");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("shown");
        QTest::newRow("server refusal") << 1017 << ""
                                        << "ORA-01017: invalid username/password; logon denied";
        QTest::newRow("other failure") << 0 << "TNS: could not resolve"
                                       << "TNS: could not resolve";
    }
    void failuresAreReportedAndTheDialogStays() {
        QFETCH(int, serverErr);
        QFETCH(QString, failure);
        QFETCH(QString, shown);
        if (serverErr != 0)
            m_backend->refuseLogon(serverErr, shown);
        if (!failure.isEmpty())
            m_backend->failLogon(failure);
        m_dialog->txtUsrID->setText("scott");
        m_dialog->txtPasswd->setText("secret");
        QString labelDuringMessage;
        m_dialogs.onMessage = [&](const testing::RecordedMessage&) {
            labelDuringMessage = m_dialog->lblMessage->text();
        };
        m_dialog->cmdOK_Click();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, shown);
        QCOMPARE(m_dialogs.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(m_dialogs.messages[0].title, executableName());
        QVERIFY(!m_dialogs.messages[0].text.contains("secret"));
        QCOMPARE(labelDuringMessage, QStringLiteral("Oracleに接続中･･････"));
        QVERIFY(m_dialog->lblMessage->text().isEmpty());
        QVERIFY(!m_state.blnConnected);
        QVERIFY(m_state.objOraDatabase == nullptr);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_dialog->focusWidget(), m_dialog->txtUsrID);
        QCOMPARE(m_dialog->txtPasswd->text(), QStringLiteral("secret"));  // kept for a retry

        // A second attempt creates a fresh session.
        m_backend->acceptLogon();
        m_dialog->cmdOK_Click();
        QCOMPARE(m_backend->sessionsCreated(), 2);
        QVERIFY(m_state.blnConnected);
    }

    // Through the real session and the Oracle engine on the stand-in client library.
    void oracleRefusalReachesTheDialog_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ORA-01017") << "scott"
                                   << "wrong" << QStringLiteral(QUARNEL_DEMO_DB)
                                   << "ORA-01017: invalid username/password; logon denied";
        QTest::newRow("ORA-12541") << "scott"
                                   << "tiger"
                                   << "dbhost:1521/XEPDB1"
                                   << "ORA-12541: TNS:no listener";
    }
    void oracleRefusalReachesTheDialog() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, host);
        QFETCH(QString, shown);
        testing::useOciStandIn();
        m_state.sessionFactory = &db::CreateSession;
        m_dialog->txtUsrID->setText(user);
        m_dialog->txtPasswd->setText(password);
        m_dialog->txtHost->setText(host);
        m_dialog->cmdOK_Click();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, shown);
        QVERIFY(!m_state.blnConnected);

        // The same dialog then logs on.
        m_dialog->txtPasswd->setText("tiger");
        m_dialog->txtHost->setText(QStringLiteral(QUARNEL_DEMO_DB));
        m_dialog->cmdOK_Click();
        QVERIFY(m_state.blnConnected);
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
    }

    void sessionIsMadeFromTheComponentsClassName() {
        QStringList classNames;
        const db::SessionFactory scripted = m_backend->factory();
        m_state.sessionFactory = [&](const QString& className) {
            classNames << className;
            return scripted(className);
        };
        m_backend->acceptLogon();
        m_dialog->txtUsrID->setText("scott");
        m_dialog->cmdOK_Click();
        QVERIFY(m_state.blnConnected);
        QCOMPARE(classNames, QStringList({"OracleInProcServer.XOraSession"}));
    }

    void sessionClassThatCannotBeCreated() {
        m_state.sessionFactory = [](const QString&) -> std::shared_ptr<db::Session> {
            throw db::DbError("ActiveX component can't create object", 429);
        };
        m_dialog->txtUsrID->setText("scott");
        m_dialog->cmdOK_Click();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text,
                 QStringLiteral("ActiveX component can't create object"));
        QVERIFY(!m_state.blnConnected);
    }

    void keys_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("attempts");
        QTest::newRow("enter in user") << "txtUsrID" << int(Qt::Key_Return) << "txtPasswd" << 0;
        QTest::newRow("down in user") << "txtUsrID" << int(Qt::Key_Down) << "txtPasswd" << 0;
        QTest::newRow("enter in password") << "txtPasswd" << int(Qt::Key_Enter) << "txtHost" << 0;
        QTest::newRow("down in password") << "txtPasswd" << int(Qt::Key_Down) << "txtHost" << 0;
        QTest::newRow("down in host") << "txtHost" << int(Qt::Key_Down) << "cmdOK" << 0;
        QTest::newRow("up in host does nothing") << "txtHost" << int(Qt::Key_Up) << "txtHost" << 0;
        QTest::newRow("enter in host") << "txtHost" << int(Qt::Key_Return) << "" << 1;
    }
    void keys() {
        QFETCH(QString, box);
        QFETCH(int, key);
        QFETCH(QString, focus);
        QFETCH(int, attempts);
        m_backend->refuseLogon(1017, "ORA-01017");  // keeps the dialog open after an attempt
        m_dialog->txtUsrID->setText("scott");
        auto* edit = m_dialog->findChild<QLineEdit*>(box);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key(key));
        QCOMPARE(m_backend->sessionsCreated(), attempts);
        if (!focus.isEmpty())
            QCOMPARE(m_dialog->focusWidget()->objectName(), focus);
    }

    void enterPressesTheFocusedButton() {
        m_dialog->txtUsrID->setText("scott");
        m_backend->refuseLogon(1017, "ORA-01017");
        m_dialog->cmdOK->setFocus();
        QTest::keyClick(m_dialog->cmdOK, Qt::Key_Return);
        QCOMPARE(m_backend->sessionsCreated(), 1);
        m_dialog->cmdCancel->setFocus();
        QTest::keyClick(m_dialog->cmdCancel, Qt::Key_Return);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_backend->sessionsCreated(), 1);
    }

    void escapeClosesWithoutAttempt() {
        m_dialog->txtUsrID->setText("scott");
        QTest::keyClick(m_dialog->txtUsrID, Qt::Key_Escape);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QCOMPARE(m_backend->sessionsCreated(), 0);
        QVERIFY(!m_state.blnConnected);
    }

    void oddInputNeverCrashes_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("very long") << QString(100000, QChar('x'));
        QTest::newRow("slashes") << "a/b/c";
        QTest::newRow("control characters") << QString::fromUtf16(u"\u0001\u0000\t\r\n");
        QTest::newRow("surrogates") << QString::fromUtf16(u"\U0001F600\U00020B9F");
    }
    void oddInputNeverCrashes() {
        QFETCH(QString, text);
        m_dialog->txtUsrID->setText(text);
        m_dialog->txtPasswd->setText(text);
        m_dialog->txtHost->setText(text);
        m_dialog->cmdOK_Click();
        QVERIFY(m_state.blnConnected);
    }

  private:
    std::shared_ptr<db::ScriptedBackend> m_backend;
    testing::TestDialogs m_dialogs;
    AppState m_state;
    fdlgOraLogon* m_dialog = nullptr;
};

QTEST_MAIN(LogonTest)
#include "tst_logon.moc"
