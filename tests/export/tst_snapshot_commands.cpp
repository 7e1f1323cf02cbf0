// The window's snapshot commands with scripted dialogs: saving a snapshot (and cancelling it),
// comparing the connected schema with a snapshot, and refusing a file that is not one.
#include "db/engines.h"
#include "export/snapshot_commands.h"
#include "schema/snapshot_header.h"
#include "shell/ui_texts.h"
#include "testing/sqlite_fixture.h"
#include "testing/test_dialogs.h"

#include <QFile>
#include <QTest>

using namespace quarnel;
using testing::SqliteFixture;
using testing::TestDialogs;

namespace {

// Dialogs whose progress dialog is cancelled before the work's first step.
class CancellingDialogs : public TestDialogs {
  public:
    bool runLongWork(QWidget*, const QString&, const LongWork& work) override {
        WorkProgress progress;
        progress.cancel = cancel;
        work(progress);
        return !progress.cancelled();
    }
    bool cancel = false;
};

}  // namespace

class SnapshotCommandsTest : public QObject {
    Q_OBJECT

  private:
    SqliteFixture m_files;
    CancellingDialogs m_dialogs;
    SaveEnvironment m_environment = SaveEnvironment::system();
    AppState m_state;
    SaveNames m_names;

    SaveContext context() { return {m_dialogs, nullptr, m_environment}; }
    void connectTo(const QString& script) {
        const QString path = m_files.createDatabase(script, QStringLiteral("live.db"));
        m_state.objOraDatabase = db::OpenSqliteDatabase(path);
        m_state.blnConnected = true;
        m_state.strUserId = QStringLiteral("scott");
        m_state.strHostString = SqliteFixture::hostFor(path);
        m_state.schemaModel.reset();
    }
    static QString base() {
        return QStringLiteral(
            "CREATE TABLE EMP (EMPNO NUMBER(4) PRIMARY KEY, ENAME VARCHAR2(10));"
            "CREATE TABLE 部門 (部門番号 NUMBER(2));");
    }

  private slots:
    void init() {
        m_dialogs = CancellingDialogs{};
        m_state = AppState{};
        m_state.dialogs = &m_dialogs;
        m_names = SaveNames{};
        connectTo(base());
    }

    void savesASnapshotThatOpensAsItsSource() {
        m_dialogs.files.choose(m_files.filePath(QStringLiteral("before")));
        SaveSnapshotFile(context(), m_state, m_names);
        const QString saved = m_files.filePath(QStringLiteral("before.qsnap"));
        QVERIFY(QFile::exists(saved));
        QCOMPARE(m_names.strLastFileName, QStringLiteral("before.qsnap"));
        const auto header = schema::readSnapshotHeader(*db::OpenSqliteDatabase(saved),
                                                       SqliteFixture::hostFor(saved));
        QVERIFY(header.has_value());
        QCOMPARE(header->host, m_state.strHostString);
        QVERIFY(m_dialogs.messages.empty());
    }

    void aCancelledSaveKeepsTheOldFile() {
        const QString target = m_files.createFile("old", QStringLiteral("old.qsnap"));
        m_dialogs.files.choose(target);
        m_dialogs.answers.push_back(true);  // overwrite
        m_dialogs.cancel = true;
        SaveSnapshotFile(context(), m_state, m_names);
        QCOMPARE(m_dialogs.questions.size(), size_t(1));
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old"));
    }

    void comparesTheConnectedSchemaWithASnapshot() {
        const QString saved = m_files.filePath(QStringLiteral("s.qsnap"));
        m_dialogs.files.choose(saved);
        SaveSnapshotFile(context(), m_state, m_names);

        m_dialogs.files.choose(saved);
        std::optional<ComparisonReport> same = CompareWithSnapshot(context(), m_state, m_names);
        QVERIFY(same.has_value());
        QCOMPARE(same->differences, 0);

        connectTo(base() + QStringLiteral("ALTER TABLE EMP ADD COLUMN SAL NUMBER(7,2);"));
        m_dialogs.files.choose(saved);
        std::optional<ComparisonReport> changed = CompareWithSnapshot(context(), m_state, m_names);
        QVERIFY(changed.has_value());
        QCOMPARE(changed->differences, 1);
        QVERIFY2(changed->text.contains(QStringLiteral("Table EMP\r\n  column added: SAL")),
                 qPrintable(changed->text));
        // The connected database is the one it was.
        QVERIFY(m_state.objOraDatabase->DbCreateDynaset(QStringLiteral("SELECT SAL FROM EMP"), 0));
    }

    void aFileThatIsNoSnapshotIsRefused() {
        m_dialogs.files.choose(m_files.createDatabase(base(), QStringLiteral("plain.db")));
        QVERIFY(!CompareWithSnapshot(context(), m_state, m_names));
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QVERIFY(m_dialogs.messages[0].text.startsWith(ui::kCompareOpenFailed));
    }
};

QTEST_MAIN(SnapshotCommandsTest)
#include "tst_snapshot_commands.moc"
