// The save commands driven with a scripted file dialog and question box: the extension rule, the
// overwrite question, the remembered names, the root folder, failed writes and the encodings.
#include "export/save_file.h"

#include "catalog/item_texts.h"
#include "export/save_texts.h"
#include "shell/dialogs.h"
#include "testing/test_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quarnel;
using testing::TestDialogs;

namespace {

const QString kTables = QStringLiteral("ITEM\r\nORDERS\r\n");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class SaveFileTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_dir;
    TestDialogs m_dialogs;
    SaveEnvironment m_environment;
    AppState m_state;
    SaveNames m_names;

    SaveContext context() { return {m_dialogs, nullptr, m_environment}; }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // Kind 0 stands for the DDL window's save, with the ITEM script.
    void save(int kind) {
        if (kind == 0)
            SaveDdlFile(context(), m_names, catalog::fixtures::kItemCreateTableSql);
        else
            SaveListFile(context(), m_state, m_names, kind);
    }

  private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_dialogs = TestDialogs{};
        m_environment = SaveEnvironment::system();
        m_environment.programDir = m_dir.path();
        m_environment.encoding = QStringLiteral("UTF-8");
        m_state = AppState{};
        m_state.strTableListTxt = kTables;
        m_state.strTableInfoCsv = catalog::fixtures::kItemTableInfoCsv;
        m_state.strTableInfoTxt = catalog::fixtures::kItemTableInfoTxt;
        m_state.strIndexInfoCsv = catalog::fixtures::kItemIndexInfoCsv;
        m_state.strIndexInfoTxt = catalog::fixtures::kItemIndexInfoTxt;
        m_names = SaveNames{};
    }
    void cleanup() {
        m_dir.remove();
        m_dir = QTemporaryDir();
    }

    void extensionRule_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("proposed");  // on the re-opened dialog; empty when written
        QTest::addColumn<QString>("written");
        const QString info = catalog::fixtures::kItemTableInfoTxt;
        const QString csv = catalog::fixtures::kItemTableInfoCsv;
        const QString ddl = catalog::fixtures::kItemCreateTableSql;
        QTest::newRow("list") << 2 << "list"
                              << "list.txt" << info;
        QTest::newRow("LIST.Csv") << 2 << "LIST.Csv"
                                  << "" << csv;
        QTest::newRow("list.TXT") << 2 << "list.TXT"
                                  << "" << info;
        QTest::newRow("list.tsv") << 2 << "list.tsv"
                                  << "list.tsv.txt" << info;
        QTest::newRow("table list csv") << 1 << "t.csv"
                                        << "" << kTables;
        QTest::newRow("table list txt") << 1 << "t.txt"
                                        << "" << kTables;
        QTest::newRow("index csv") << 3 << "i.csv"
                                   << "" << catalog::fixtures::kItemIndexInfoCsv;
        QTest::newRow("index txt") << 3 << "i.txt"
                                   << "" << catalog::fixtures::kItemIndexInfoTxt;
        QTest::newRow("unknown kind") << 4 << "x.txt"
                                      << ""
                                      << "";
        QTest::newRow("ddl.sql") << 0 << "ddl.sql"
                                 << "ddl.sql.txt" << ddl;
        QTest::newRow("DDL.TXT") << 0 << "DDL.TXT"
                                 << "" << ddl;
        QTest::newRow("ddl.csv") << 0 << "ddl.csv"
                                 << "ddl.csv.txt" << ddl;
    }
    void extensionRule() {
        QFETCH(int, kind);
        QFETCH(QString, typed);
        QFETCH(QString, proposed);
        QFETCH(QString, written);
        m_dialogs.files.choose(path(typed));
        if (!proposed.isEmpty())
            m_dialogs.files.choose(path(proposed));
        save(kind);

        const auto& requests = m_dialogs.files.requests;
        QCOMPARE(requests.size(), size_t(proposed.isEmpty() ? 1 : 2));
        if (!proposed.isEmpty()) {
            QCOMPARE(requests[1].proposedName, proposed);
            QCOMPARE(requests[1].initialDir, m_dir.path());
            QVERIFY(!QFile::exists(path(typed)));
        }
        const QString savedName = proposed.isEmpty() ? typed : proposed;
        QCOMPARE(QString::fromUtf8(readAll(path(savedName))), written);
        QCOMPARE(m_names, (SaveNames{savedName, savedName, m_dir.path(), m_dir.path()}));
        QVERIFY(m_dialogs.questions.empty());
    }

    void dialogSettings_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::newRow("table list") << 1 << ui::kSaveTitleTableList << ui::kListFileFilter;
        QTest::newRow("table info") << 2 << ui::kSaveTitleTableInfo << ui::kListFileFilter;
        QTest::newRow("index info") << 3 << ui::kSaveTitleIndexInfo << ui::kListFileFilter;
        QTest::newRow("unknown kind") << 7 << QString() << ui::kListFileFilter;
        QTest::newRow("ddl") << 0 << ui::kSaveTitleDdl << ui::kDdlFileFilter;
    }
    void dialogSettings() {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        save(kind);
        const FileDialogRequest& request = m_dialogs.files.requests.at(0);
        QCOMPARE(request.title, title);
        QCOMPARE(request.filters, parseFilter(filter));
        QCOMPARE(request.filterIndex, 1);
        QCOMPARE(request.flags, 1024);
        QCOMPARE(request.mode, FileDialogMode::Save);
    }

    void overwrite_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }
    void overwrite() {
        QFETCH(bool, yes);
        const QByteArray old = "an old content much longer than the new table list\r\n";
        writeFile(path("t.txt"), old);
        m_names = {"a.csv", "a.csv", "/elsewhere", "/elsewhere"};
        m_dialogs.files.choose(path("t.txt"));
        m_dialogs.answers.push_back(yes);
        save(1);

        QCOMPARE(m_dialogs.questions, std::vector<QString>{ui::kOverwriteQuestion});
        QCOMPARE(m_dialogs.questionTitles, std::vector<QString>{ui::kOverwriteTitle});
        if (yes) {
            QCOMPARE(readAll(path("t.txt")), m_state.strTableListTxt.toUtf8());
            QCOMPARE(m_dialogs.files.requests.size(), size_t(1));
            QCOMPARE(m_names, (SaveNames{"t.txt", "t.txt", m_dir.path(), m_dir.path()}));
        } else {
            // The dialog opens again with the same name and folder; cancelling it then returns
            // to the last save's names.
            QCOMPARE(readAll(path("t.txt")), old);
            QCOMPARE(m_dialogs.files.requests.size(), size_t(2));
            QCOMPARE(m_dialogs.files.requests[1].proposedName, QString("t.txt"));
            QCOMPARE(m_dialogs.files.requests[1].initialDir, m_dir.path());
            QCOMPARE(m_names, (SaveNames{"a.csv", "a.csv", "/elsewhere", "/elsewhere"}));
        }
    }

    void cancelRollsBack() {
        QVERIFY(QDir(m_dir.path()).mkdir("sub"));
        m_dialogs.files.choose(path("a.csv"));
        save(2);
        // A re-opened dialog proposes b.txt in sub; cancelling it forgets that proposal.
        m_dialogs.files.choose(path("sub/b"));
        m_dialogs.files.cancel();
        save(2);
        const SaveNames afterFirst{"a.csv", "a.csv", m_dir.path(), m_dir.path()};
        QCOMPARE(m_names, afterFirst);
        m_dialogs.files.cancel();
        save(1);
        const auto& requests = m_dialogs.files.requests;
        QCOMPARE(requests.back().proposedName, QString("a.csv"));
        QCOMPARE(requests.back().initialDir, m_dir.path());
    }

    void cancelOfTheVeryFirstDialog() {
        save(1);
        QCOMPARE(m_names, SaveNames{});
        save(1);
        QCOMPARE(m_dialogs.files.requests.size(), size_t(2));
        QCOMPARE(m_dialogs.files.requests[0].initialDir, m_dir.path());
        QCOMPARE(m_dialogs.files.requests[1].initialDir, m_dir.path());
        QVERIFY(m_dialogs.files.requests[1].proposedName.isEmpty());
    }

    void dialogFailureCountsAsCancel() {
        m_names = {"a.csv", "a.csv", "/last", "/last"};
        m_dialogs.files.answers.push_back({FileDialogAnswer::Result::Chosen, {}, 0});
        save(1);
        QCOMPARE(m_dialogs.files.requests.size(), size_t(1));
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].title, QString("ShowFileDialog"));
        QCOMPARE(m_names, (SaveNames{"a.csv", "a.csv", "/last", "/last"}));
    }

    void firstFolderMustBeWritable() {
        // Root may write anywhere; a program folder that is a regular file cannot be written.
        const QString notAFolder = path("quarnel");
        writeFile(notAFolder, "binary");
        m_environment.programDir = notAFolder;
        m_environment.homeDir = path("home");
        save(1);
        QCOMPARE(m_dialogs.files.requests.at(0).initialDir, path("home"));
        QCOMPARE(m_names.strNextDir, QString());
    }

    void rootFolder() {
        // Nothing is ever written into the root folder: the existence check answers for it.
        QStringList checked;
        m_environment.fileExists = [&checked](const QString& path) {
            checked << path;
            return true;
        };
        m_dialogs.files.choose(QStringLiteral("/list"));
        m_dialogs.files.choose(QStringLiteral("/list.txt"));
        m_dialogs.answers.push_back(false);
        save(1);
        const auto& requests = m_dialogs.files.requests;
        QCOMPARE(requests.size(), size_t(3));
        QCOMPARE(requests[1].proposedName, QString("list.txt"));
        QCOMPARE(requests[1].initialDir, QString("/"));
        QCOMPARE(checked, QStringList{"/list.txt"});
        QCOMPARE(m_dialogs.questions.size(), size_t(1));
        QCOMPARE(requests[2].proposedName, QString("list.txt"));
        QCOMPARE(requests[2].initialDir, QString("/"));
        QCOMPARE(m_names, SaveNames{});
    }

    void failedWrite_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("textWritable");
        QTest::newRow("folder is a regular file") << "regular/a.txt" << true;
        QTest::newRow("target is a folder") << "folder.txt" << true;
        QTest::newRow("text cannot be encoded") << "old.txt" << false;
    }
    void failedWrite() {
        QFETCH(QString, target);
        QFETCH(bool, textWritable);
        writeFile(path("regular"), "regular");
        writeFile(path("old.txt"), "old");
        QVERIFY(QDir(m_dir.path()).mkdir("folder.txt"));
        if (!textWritable)
            m_state.strTableListTxt = QStringLiteral("ITEM") + QChar(0xDC00);
        const SaveNames before{"a.csv", "a.csv", "/last", "/last"};
        m_names = before;
        m_dialogs.files.choose(path(target));
        m_dialogs.answers.push_back(true);
        save(1);

        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        const testing::RecordedMessage& message = m_dialogs.messages[0];
        QCOMPARE(message.icon, MessageIcon::Exclamation);
        QCOMPARE(message.title, executableName());
        QVERIFY(message.text.startsWith(ui::kSaveFailed));
        QVERIFY2(message.text.contains(path(target)), qPrintable(message.text));
        // Something after the path: the system's reason.
        QVERIFY(!message.text.endsWith(path(target)));
        QCOMPARE(m_names, before);
        QCOMPARE(readAll(path("regular")), QByteArray("regular"));
        QCOMPARE(readAll(path("old.txt")), QByteArray("old"));
        QVERIFY(QFileInfo(path("folder.txt")).isDir());
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 3);
    }

    void encodings_data() {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        // The column list of the demo's ITEM table: ASCII but for the key mark ※ (0x81A6).
        const QString item = catalog::fixtures::kItemTableInfoTxt;
        QByteArray itemCp932 = item.toLatin1();
        itemCp932.replace(QByteArray("?"), QByteArray("\x81\xA6"));
        QTest::newRow("CP932 item columns") << "CP932" << item << itemCp932;
        QTest::newRow("CP932 demo names")
            << "CP932" << QStringLiteral("東京倉庫\tﾃｰﾌﾞﾙ\r\n")
            << QByteArray::fromHex("938c8b9e91718cc909c3b0ccded90d0a");
        QTest::newRow("CP932 falls back to UTF-8 with BOM")
            << "CP932" << QStringLiteral("東\t한\r\n")
            << QByteArray::fromHex("efbbbfe69db109ed959c0d0a");
        QTest::newRow("UTF-8 has no BOM")
            << "UTF-8" << QStringLiteral("東\t한\r\n") << QByteArray::fromHex("e69db109ed959c0d0a");
    }
    void encodings() {
        QFETCH(QString, encoding);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        m_environment.encoding = encoding;
        m_state.strTableListTxt = text;
        m_dialogs.files.choose(path("out.txt"));
        save(1);
        QCOMPARE(readAll(path("out.txt")).toHex(' '), bytes.toHex(' '));
    }
};

QTEST_MAIN(SaveFileTest)
#include "tst_save_file.moc"
