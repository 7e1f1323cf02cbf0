// The document command after its dialog, over the demo database: the target's extension rule and
// overwrite question, the chosen tables, and a cancel or a failure that leave nothing behind.
#include "export/definition_output.h"

#include "db/logon.h"
#include "export/save_texts.h"
#include "testing/test_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quarnel;

namespace {

// Dialogs whose `cancelRun`-th long work (counting from 1) is cancelled before it starts.
class CancellingDialogs : public testing::TestDialogs {
  public:
    bool runLongWork(QWidget* parent, const QString& label, const LongWork& work) override {
        if (++runs != cancelRun)
            return Dialogs::runLongWork(parent, label, work);
        WorkProgress progress;
        progress.cancel = true;
        work(progress);
        return false;
    }
    int runs = 0;
    int cancelRun = 0;
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class DefinitionOutputTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    CancellingDialogs m_dialogs;
    SaveEnvironment m_environment;
    AppState m_state;
    SaveNames m_names;

    SaveContext context() { return {m_dialogs, nullptr, m_environment}; }
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QStringList entries() const {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    void run(docs::DocumentFormat format, bool allTables = true) {
        DefinitionChoice choice;
        choice.format = format;
        choice.allTables = allTables;
        OutputDefinitionDocument(context(), m_state, m_names, choice, QStringLiteral("CUSTOMER"));
    }

  private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_dialogs = CancellingDialogs{};
        m_environment = SaveEnvironment::system();
        m_environment.programDir = m_dir->path();
        m_state = AppState{};
        m_state.dialogs = &m_dialogs;
        const db::LogonResult logon =
            db::logOn(db::CreateSession,
                      {QStringLiteral("demo"), {}, QStringLiteral("sqlite:" QUARNEL_DEMO_DB)},
                      m_state.objOraSession, m_state.objOraDatabase);
        QVERIFY(logon.connected);
        m_state.strUserId = logon.userId;
        m_state.strHostString = logon.hostString;
        m_names = SaveNames{};
    }

    void extensionRule_data() {
        QTest::addColumn<bool>("excel");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("proposed");  // on the re-opened dialog; empty when written
        QTest::newRow("workbook without extension") << true << "doc"
                                                    << "doc.xlsx";
        QTest::newRow("workbook in upper case") << true << "doc.XLSX"
                                                << "";
        QTest::newRow("workbook named .md") << true << "doc.md"
                                            << "doc.md.xlsx";
        QTest::newRow("Markdown folder takes any name") << false << "doc"
                                                        << "";
    }
    void extensionRule() {
        QFETCH(bool, excel);
        QFETCH(QString, typed);
        QFETCH(QString, proposed);
        m_dialogs.files.choose(path(typed));
        const auto target = askDefinitionTarget(
            context(), m_names,
            excel ? docs::DocumentFormat::Excel : docs::DocumentFormat::Markdown);
        QCOMPARE(m_dialogs.files.requests.size(), proposed.isEmpty() ? 1u : 2u);
        if (proposed.isEmpty())
            QCOMPARE(target, std::optional<QString>(path(typed)));
        else
            QCOMPARE(m_dialogs.files.requests.back().proposedName, proposed);
    }

    void overwriteNeedsYes() {
        QFile::copy(QStringLiteral(QUARNEL_DEMO_SQL), path("doc.xlsx"));
        const QByteArray old = readAll(path("doc.xlsx"));
        m_dialogs.files.choose(path("doc.xlsx"));
        m_dialogs.answers = {false};
        run(docs::DocumentFormat::Excel);
        QCOMPARE(m_dialogs.questions.size(), 1u);
        QCOMPARE(m_dialogs.questions.front(), ui::kOverwriteQuestion);
        QCOMPARE(readAll(path("doc.xlsx")), old);

        m_dialogs.files.choose(path("doc.xlsx"));
        m_dialogs.answers = {true};
        run(docs::DocumentFormat::Excel);
        QVERIFY(readAll(path("doc.xlsx")).startsWith("PK"));
        QCOMPARE(entries(), QStringList{"doc.xlsx"});
    }

    void selectedTableOnly() {
        m_dialogs.files.choose(path("doc"));
        run(docs::DocumentFormat::Markdown, false);
        QCOMPARE(QDir(path("doc")).entryList(QDir::Files),
                 (QStringList{"CUSTOMER.md", "README.md"}));
        QVERIFY(readAll(path("doc/README.md")).contains("[`CUSTOMER`](CUSTOMER.md)"));
    }

    void cancelledWritingLeavesTheOldFile() {
        QFile::copy(QStringLiteral(QUARNEL_DEMO_SQL), path("doc.xlsx"));
        const QByteArray old = readAll(path("doc.xlsx"));
        m_dialogs.files.choose(path("doc.xlsx"));
        m_dialogs.answers = {true};
        m_dialogs.cancelRun = 2;  // the model loads, the writing is cancelled
        run(docs::DocumentFormat::Excel);
        QCOMPARE(m_dialogs.runs, 2);
        QCOMPARE(readAll(path("doc.xlsx")), old);
        QCOMPARE(entries(), QStringList{"doc.xlsx"});
        QVERIFY(m_dialogs.messages.empty());
    }

    void failureIsReportedWithTheReason() {
        m_dialogs.files.choose(path("missing/doc.xlsx"));
        run(docs::DocumentFormat::Excel);
        QCOMPARE(m_dialogs.messages.size(), 1u);
        QVERIFY(m_dialogs.messages.front().text.startsWith(ui::kSaveFailed));
        QVERIFY(
            m_dialogs.messages.front().text.contains(QDir::toNativeSeparators(path("missing"))));
        QCOMPARE(m_dialogs.messages.front().icon, MessageIcon::Exclamation);
    }
};

QTEST_MAIN(DefinitionOutputTest)
#include "tst_definition_output.moc"
