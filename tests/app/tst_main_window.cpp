// The main window at start: menu tree, File menu rule, grid header, status bar, about window,
// busy window and start-up window.
#include "app/frm_mainkey.h"
#include "app/frm_search.h"
#include "app/frm_start.h"
#include "app/frm_version.h"
#include "app/image_list.h"
#include "shell/app_state.h"
#include "support/flex_grid.h"
#include "testing/test_dialogs.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using namespace quarnel;

namespace {

// One row per menu entry in menu order: nesting depth, name, caption, visible, enabled, checked.
struct MenuRow {
    int depth;
    QString name;
    QString caption;
    bool visible;
    bool enabled;
    bool checked;
};

void collect(const QList<QAction*>& actions, int depth, std::vector<MenuRow>& rows) {
    for (QAction* action : actions) {
        const QString caption = action->isSeparator() ? QStringLiteral("-") : action->text();
        rows.push_back({depth, action->objectName(), caption, action->isVisible(),
                        action->isEnabled(), action->isChecked()});
        if (action->menu() != nullptr)
            collect(action->menu()->actions(), depth + 1, rows);
    }
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        m_dialogs = testing::TestDialogs{};
        m_state = AppState{};
        m_state.dialogs = &m_dialogs;
        m_window = new frm_mainkey(m_state);
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
        m_window->setUpControls();
    }
    void cleanup() { delete m_window; }

    void menuTree() {
        std::vector<MenuRow> rows;
        collect(m_window->menuBar()->actions(), 0, rows);
        // Depth, name, caption, visible, enabled, checked; every entry in order.
        const std::vector<MenuRow> expected = {
            {0, "mnuFile", "ﾌｧｲﾙ(&F)", true, true, false},
            {1, "mnuSave", "ﾌｧｲﾙに保存(&S)", true, true, false},
            {2, "mnuSaveAllTable", "ﾃｰﾌﾞﾙ一覧(&A)", true, true, false},
            {2, "mnuSaveInfoTable", "ﾃｰﾌﾞﾙ情報(&T)", true, true, false},
            {2, "mnuSaveTableIndex", "ﾃｰﾌﾞﾙ･ｲﾝﾃﾞｯｸｽ(&I)", true, true, false},
            {1, "mnuDefinition", "ﾃｰﾌﾞﾙ定義書の出力(&D)...", true, false, false},
            {1, "mnuSnapshotSave", "ｽﾅｯﾌﾟｼｮｯﾄの保存(&N)...", true, false, false},
            {1, "a", "-", true, true, false},
            {1, "munE", "終了(&X)", true, true, false},
            {0, "mnuL", "接続(&L)", true, true, false},
            {1, "mnuDBLogIn", "DB接続(&L)", true, true, false},
            {1, "mnuCut", "DB切断(&C)", true, false, false},
            {0, "mnuE", "編集(&E)", true, true, false},
            {1, "mnuCopyAllTable", "ﾃｰﾌﾞﾙ一覧(&A)", true, true, false},
            {2, "mnuCopyTableName", "選択ﾃｰﾌﾞﾙ名ｺﾋﾟｰ(&N)", true, true, false},
            {2, "mnuCopyAllTableTxt", "ﾃｰﾌﾞﾙ一覧ｺﾋﾟｰ(&T)", true, true, false},
            {2, "q", "-", true, true, false},
            {2, "mnuTableS", "ﾃｰﾌﾞﾙ一覧再表示(&R)", true, true, false},
            {1, "mnuCopyTableInfo", "ﾃｰﾌﾞﾙ情報(&T)", true, true, false},
            {2, "mnuSelectCp", "選択範囲ｺﾋﾟｰ(&S)", true, true, false},
            {3, "mnuSelectCpCsv", "CSV形式(&C)", true, true, false},
            {3, "mnuSelectCpTxt", "TXT形式(&T)", true, true, false},
            {2, "mnuCopyTableInfoAll", "一覧ｺﾋﾟｰ(&T)", true, true, false},
            {3, "mnuCopyTableInfoCsv", "CSV形式(&C)", true, true, false},
            {3, "mnuCopyTableInfoTxt", "TXT形式(&T)", true, true, false},
            {2, "z", "-", true, true, false},
            {2, "mnuCopyPkTxt", "PKのみｺﾋﾟｰ(TXT形式)(&P)", true, true, false},
            {2, "r", "-", true, true, false},
            {2, "mnuStampOn", "ﾌｫｰｶｽ部分に印を付ける(&S)", true, true, false},
            {2, "mnuStampOff", "ﾌｫｰｶｽ部分の印を取る(&D)", true, true, false},
            {1, "mnuCopyTableIndex", "ﾃｰﾌﾞﾙ･ｲﾝﾃﾞｯｸｽ(&I)", true, true, false},
            {2, "mnuCopyTableIndexSelect", "選択項目ｺﾋﾟｰ", true, true, false},
            {2, "mnuCopyTableIndexAll", "ｲﾝﾃﾞｯｸｽ情報一覧ｺﾋﾟｰ(&T)", true, true, false},
            {3, "mnuCopyTableIndexCsv", "CSV形式(&C)", true, true, false},
            {3, "mnuCopyTableIndexTxt", "TXT形式(&T)", true, true, false},
            {0, "mnuS", "検索(&S)", true, true, false},
            {1, "mnuTableNameS", "ﾃｰﾌﾞﾙ･項目検索(&S)...", true, true, false},
            {0, "mnuView", "表示(&V)", true, true, false},
            {1, "mnuViewCr", "ｸﾘｴｲﾄ文画面", true, true, false},
            {1, "mnuSchemaCompare", "ｽｷｰﾏ比較(&M)...", true, false, false},
            {0, "mnuO", "ｵﾌﾟｼｮﾝ(&O)", false, false, false},
            {1, "mnuSearch", "検索設定(&S)", true, true, false},
            {2, "mnuTableSearch", "ﾃｰﾌﾞﾙ情報のみ検索(&T)", true, true, false},
            {2, "mnuIndexSearch", "ｲﾝﾃﾞｯｸｽ情報のみ検索(&I)", true, true, false},
            {2, "mnuAllSearch", "両検索(&W)", true, true, true},
            {0, "mnuH", "ﾍﾙﾌﾟ(&H)", true, true, false},
            {1, "mnuHelp", "ﾍﾙﾌﾟ(&H)", true, false, false},
            {1, "mnuVer", "ﾊﾞｰｼﾞｮﾝ情報(&V)", true, true, false},
        };
        QCOMPARE(rows.size(), expected.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            const MenuRow& got = rows[i];
            const MenuRow& want = expected[i];
            const QByteArray where = want.name.toUtf8();
            QVERIFY2(got.depth == want.depth, where);
            QVERIFY2(got.name == want.name, where + " got " + got.name.toUtf8());
            QVERIFY2(got.caption == want.caption, where + " got " + got.caption.toUtf8());
            QVERIFY2(got.visible == want.visible, where);
            QVERIFY2(got.enabled == want.enabled, where);
            QVERIFY2(got.checked == want.checked, where);
        }
        // No entry has a shortcut key but the search window's.
        for (QAction* action : m_window->findChildren<QAction*>()) {
            const QKeySequence expected = action == m_window->mnuTableNameS
                                              ? QKeySequence(Qt::CTRL | Qt::Key_F)
                                              : QKeySequence();
            QVERIFY2(action->shortcut() == expected, action->objectName().toUtf8());
        }
    }

    void fileMenuEnablesSaveEntriesByTexts_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("infoCsv");
        QTest::addColumn<QString>("indexCsv");
        QTest::newRow("nothing read") << ""
                                      << ""
                                      << "";
        QTest::newRow("table list only") << "L"
                                         << ""
                                         << "";
        QTest::newRow("table shown") << "L"
                                     << "I"
                                     << "X";
        QTest::newRow("table without indexes read") << "L"
                                                    << "I"
                                                    << "";
    }
    void fileMenuEnablesSaveEntriesByTexts() {
        QFETCH(QString, list);
        QFETCH(QString, infoCsv);
        QFETCH(QString, indexCsv);
        m_state.strTableListTxt = list;
        m_state.strTableInfoCsv = infoCsv;
        m_state.strIndexInfoCsv = indexCsv;
        // The tab-separated texts do not count: only the CSV texts decide.
        m_state.strTableInfoTxt = QStringLiteral("T");
        m_state.strIndexInfoTxt = QStringLiteral("T");
        m_window->mnuFile_Click();
        QCOMPARE(m_window->mnuSaveAllTable->isEnabled(), !list.isEmpty());
        QCOMPARE(m_window->mnuSaveInfoTable->isEnabled(), !infoCsv.isEmpty());
        QCOMPARE(m_window->mnuSaveTableIndex->isEnabled(), !indexCsv.isEmpty());
    }

    void gridHeaderAndOneEmptyRow() {
        const FlexGrid& grid = *m_window->MSFlexGrid1;
        QCOMPARE(grid.Rows(), 2);
        QCOMPARE(grid.Cols(), 7);
        const QStringList header = {"", "PK", "NAME", "SIZE", "TYPE1", "TYPE2", "NULL"};
        for (int c = 0; c < 7; ++c) {
            QCOMPARE(grid.TextMatrix(0, c), header[c]);
            QCOMPARE(grid.TextMatrix(1, c), QString());
        }
        const int widths[] = {400, 300, 2000, 500, 600, 800};
        for (int c = 0; c < 6; ++c)
            QCOMPARE(grid.ColWidth(c), widths[c]);
        QCOMPARE(grid.RowHeight(0), 250);
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(grid.BackColorSel(), rgb(200, 200, 255));
        QVERIFY(!m_window->text1->isVisible());
        QVERIFY(m_window->text1->text().isEmpty());
        QCOMPARE(m_state.sngSplitter2Top, 3240.0);
    }

    void designedTexts() {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Quarnel"));
        QCOMPARE(m_window->panelText(1), QStringLiteral("- DB未接続 -"));
        QCOMPARE(m_window->panelText(2), QString());
        QCOMPARE(m_window->panelText(3), QString());
        QCOMPARE(m_window->panelText(4), QStringLiteral("ﾃｰﾌﾞﾙ総数 : 0件"));
        QCOMPARE(m_window->lblTitle[0]->text(), QStringLiteral("　ﾃｰﾌﾞﾙ一覧"));
        QCOMPARE(m_window->lblTitle[1]->text(), QStringLiteral("　ﾃｰﾌﾞﾙ情報"));
        QCOMPARE(m_window->lblTitle[2]->text(), QStringLiteral("　ｲﾝﾃﾞｯｸｽ情報"));
        QCOMPARE(m_window->cmdView->text(), QStringLiteral("実　行"));
        QCOMPARE(m_window->cmdView->toolTip(), QStringLiteral("解析を実行"));
        QCOMPARE(m_window->Command1->text(), QStringLiteral("終 了"));
        QCOMPARE(m_window->Command1->toolTip(), QStringLiteral("終了"));
    }

    void loadRunsTheConnectCommand() {
        // Cancelled logon: the window stays open, disconnected, with its designed texts.
        m_window->Form_Load();
        QCOMPARE(m_dialogs.modalRuns, 1);
        QVERIFY(m_window->isVisible());
        QVERIFY(!m_state.blnConnected);
        QVERIFY(m_window->mnuDBLogIn->isEnabled());
        QCOMPARE(m_window->panelText(1), QStringLiteral("- DB未接続 -"));
    }

    void exitClosesTheWindow() {
        m_window->show();
        m_window->Command1->click();
        QVERIFY(!m_window->isVisible());
        m_window->show();
        m_window->munE->trigger();
        QVERIFY(!m_window->isVisible());
    }

    void aboutWindowShowsThreeLinesEveryTime() {
        QStringList seen;
        m_dialogs.onModal = [&](QDialog& dialog) {
            auto& about = dynamic_cast<frmVersion&>(dialog);
            QCOMPARE(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
            seen << about.Text1->toPlainText();
            about.Command1->click();
            QCOMPARE(about.result(), int(QDialog::Accepted));
        };
        m_window->mnuVer->trigger();
        m_window->mnuVer->trigger();
        QCOMPARE(m_dialogs.modalRuns, 2);
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen[0], seen[1]);
        QCOMPARE(frmVersion::aboutText(),
                 QStringLiteral("Quarnel Project Quarnel\r\nVersion : 0.60J R4\r\n"
                                "(C) 2026 Quarnel Project\r\n"));
    }

    void aboutWindowClosesOnEnterAndEsc_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("enter") << int(Qt::Key_Return);
        QTest::newRow("esc") << int(Qt::Key_Escape);
    }
    void aboutWindowClosesOnEnterAndEsc() {
        QFETCH(int, key);
        frmVersion about(m_window);
        about.show();
        QTest::keyClick(&about, Qt::Key(key));
        QVERIFY(!about.isVisible());
    }

    void busyWindowIsTopmostWhileLoaded() {
        frmSearch busy(m_window);
        busy.SetTopMost(true);  // no recorded handle yet: nothing happens
        QVERIFY(!(busy.windowFlags() & Qt::WindowStaysOnTopHint));
        busy.Form_Load();
        QVERIFY(busy.isVisible());
        QVERIFY(busy.recordedHandle() != 0);
        QVERIFY(busy.windowFlags() & Qt::WindowStaysOnTopHint);
        busy.Unload();
        QVERIFY(!busy.isVisible());
        QCOMPARE(busy.recordedHandle(), WId(0));
    }

    void startWindowOpensTheMainWindowOnce() {
        int opened = 0;
        auto* start = new frmStart([&] { ++opened; });
        QPointer<frmStart> alive(start);
        start->Form_Load();
        QCOMPARE(start->Timer1.interval(), 1500);
        QVERIFY(start->Timer1.isActive());
        start->Timer1_Timer();
        QCOMPARE(opened, 1);
        QVERIFY(!start->Timer1.isActive());
        QTRY_VERIFY(alive.isNull());  // unloaded
    }

    void treePicturesAreCheckerboards() {
        const QImage board = checkerboard(qRgb(0, 0, 254));
        QCOMPARE(board.size(), QSize(12, 12));
        QCOMPARE(board.pixel(0, 0), qRgb(0, 0, 254));
        QCOMPARE(board.pixel(1, 0), qRgb(255, 255, 255));
        QCOMPARE(board.pixel(0, 1), qRgb(255, 255, 255));
        QCOMPARE(board.pixel(11, 11), qRgb(0, 0, 254));
        QCOMPARE(m_window->imlIcons.keys().size(), 6);
        for (const char* key : {"a", "b", "c", "d", "e", "f"}) {
            QVERIFY(m_window->imlIcons.contains(QString::fromLatin1(key)));
        }
    }

  private:
    testing::TestDialogs m_dialogs;
    AppState m_state;
    frm_mainkey* m_window = nullptr;
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
