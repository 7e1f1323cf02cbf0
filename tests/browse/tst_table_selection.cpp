// The select-table command: grid, tree, titles and texts, through the demo database and through
// the scripted component.
#include "app/fdlg_ora_logon.h"
#include "app/frm_mainkey.h"
#include "app/frm_search.h"
#include "catalog/index_info.h"
#include "catalog/item_texts.h"
#include "catalog/scripted_catalog.h"
#include "shell/app_state.h"
#include "support/flex_grid.h"
#include "testing/scripted_engine.h"
#include "testing/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

using namespace quarnel;
namespace fixtures = quarnel::catalog::fixtures;

namespace {

QStringList gridRow(const FlexGrid& grid, int row) {
    QStringList cells;
    for (int c = 0; c < grid.Cols(); ++c)
        cells << grid.TextMatrix(row, c);
    return cells;
}

// The tree as indented lines: two spaces per level, then the node's text.
QStringList treeLines(QTreeWidget& tree) {
    QStringList lines;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth) {
        lines << QString(depth * 2, ' ') + item->text(0);
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), depth + 1);
    };
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        walk(tree.topLevelItem(i), 0);
    return lines;
}

bool allExpanded(QTreeWidget& tree) {
    bool expanded = true;
    std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
        if (item->childCount() > 0 && !item->isExpanded())
            expanded = false;
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i));
    };
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        walk(tree.topLevelItem(i));
    return expanded;
}

using fixtures::describedColumn;

}  // namespace

class TableSelectionTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { m.open(); }
    void cleanup() { m.close(); }

    void itemFromTheDemoDatabase() {
        m.state.sessionFactory = db::CreateSession;
        logOn(QStringLiteral("sqlite:") + QUARNEL_DEMO_DB);
        QVERIFY(m.window->selectTableInList("ITEM"));
        m.window->cmdView->click();
        QVERIFY2(m.dialogs.messages.empty(),
                 m.dialogs.messages.empty() ? "" : m.dialogs.messages[0].text.toUtf8());

        QCOMPARE(m.window->lblTitle[1]->text(), QStringLiteral("　ﾃｰﾌﾞﾙ情報 : ITEM"));
        QCOMPARE(m.window->lblTitle[2]->text(), QStringLiteral("　ｲﾝﾃﾞｯｸｽ情報 : ITEM"));
        const FlexGrid& grid = *m.window->MSFlexGrid1;
        QCOMPARE(grid.Rows(), 7);
        QCOMPARE(gridRow(grid, 0),
                 QStringList({"", "PK", "NAME", "SIZE", "TYPE1", "TYPE2", "NULL"}));
        QCOMPARE(gridRow(grid, 1),
                 QStringList({"1", "※", "ORD_NO", "6", "NUMBER", "Double", "Not Null"}));
        QCOMPARE(gridRow(grid, 6), QStringList({"6", "", "QTY", "-", "NUMBER", "Double", "Null"}));

        QCOMPARE(treeLines(*m.window->tvTreeView),
                 QStringList({"ITEM", "  ITEM_IX1", "    1 PRODUCT", "    2 SHIP_DATE", "  ITEM_PK",
                              "    1 ORD_NO", "    2 LINE_NO"}));
        QVERIFY(allExpanded(*m.window->tvTreeView));

        QCOMPARE(m.state.strTableInfoCsv, fixtures::kItemTableInfoCsv);
        QCOMPARE(m.state.strTableInfoTxt, fixtures::kItemTableInfoTxt);
        QCOMPARE(m.state.strPkTxt, QStringLiteral("ORD_NO\r\nLINE_NO\r\n"));
        QCOMPARE(m.state.strCreateTableSql, fixtures::kItemCreateTableSql);
        QCOMPARE(m.state.strIndexInfoCsv, fixtures::kItemIndexInfoCsv);
        QCOMPARE(m.state.strIndexInfoTxt, fixtures::kItemIndexInfoTxt);
        QCOMPARE(m.state.strCreateIndexSql, fixtures::kItemCreateIndexSql);
        QCOMPARE(m.window->panelText(2), QString());
        QVERIFY(!testing::busyShown(m.window));

        // All three save entries of the File menu are enabled now.
        m.window->mnuFile_Click();
        QVERIFY(m.window->mnuSaveAllTable->isEnabled());
        QVERIFY(m.window->mnuSaveInfoTable->isEnabled());
        QVERIFY(m.window->mnuSaveTableIndex->isEnabled());
    }

    void disconnectAfterATableWasShownEmptiesBothPanes() {
        m.state.sessionFactory = db::CreateSession;
        logOn(QStringLiteral("sqlite:") + QUARNEL_DEMO_DB);
        QVERIFY(m.window->selectTableInList("ITEM"));
        m.window->cmdView->click();
        QCOMPARE(m.window->MSFlexGrid1->Rows(), 7);
        const QStringList keys = {catalog::tableNodeKey("ITEM"), catalog::indexNodeKey("ITEM_PK"),
                                  catalog::indexNodeKey("ITEM_IX1")};
        for (const QString& key : keys)
            QVERIFY2(m.window->treeNode(key) != nullptr, qPrintable(key));

        m.window->mnuCut->trigger();
        const FlexGrid& grid = *m.window->MSFlexGrid1;
        QCOMPARE(grid.Rows(), 2);
        for (int row = 0; row < 2; ++row)
            QCOMPARE(gridRow(grid, row), QStringList(grid.Cols(), QString()));
        QCOMPARE(m.window->tvTreeView->topLevelItemCount(), 0);
        for (const QString& key : keys)
            QVERIFY2(m.window->treeNode(key) == nullptr, qPrintable(key));
        QCOMPARE(m.window->lblTitle[1]->text(), QStringLiteral("　ﾃｰﾌﾞﾙ情報"));
        QCOMPARE(m.window->lblTitle[2]->text(), QStringLiteral("　ｲﾝﾃﾞｯｸｽ情報"));
    }

    // The window closes once the lookup has finished, whichever way the close was asked for.
    void closeDuringALookupFollowsIt_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("close box") << true;
        QTest::newRow("close from the program") << false;
    }
    void closeDuringALookupFollowsIt() {
        QFETCH(bool, closeBox);
        m.state.sessionFactory = db::CreateSession;
        logOn(QStringLiteral("sqlite:") + QUARNEL_DEMO_DB);
        QVERIFY(m.window->selectTableInList("ITEM"));
        bool asked = false;
        bool openAfterTheAsk = false;
        QTimer::singleShot(0, m.window, [&] {
            asked = true;
            if (closeBox) {
                QCloseEvent close;
                QCoreApplication::sendEvent(m.window->windowHandle(), &close);
            } else {
                m.window->close();
            }
            openAfterTheAsk = m.window->isVisible();
        });
        m.window->cmdView->click();
        QVERIFY(asked);
        QVERIFY(openAfterTheAsk);
        // The lookup ran to its end, then the window closed.
        QCOMPARE(m.state.strCreateIndexSql, fixtures::kItemCreateIndexSql);
        QVERIFY(!testing::busyShown(m.window));
        QVERIFY(!m.window->isVisible());
        QVERIFY(!m.window->closePending());
    }

    void missingTableIsSilent() {
        scriptList({"GONE"});
        m.backend->on("count(table_name)", db::ScriptedResult::column("TBL", {0}));
        logOn("h");
        m.state.strCreateTableSql = "old";
        m.state.strCreateIndexSql = "old";
        QVERIFY(m.window->selectTableInList("GONE"));
        m.window->cmdView->click();
        QVERIFY(m.dialogs.messages.empty());
        QCOMPARE(m.window->MSFlexGrid1->Rows(), 2);
        QCOMPARE(m.window->MSFlexGrid1->TextMatrix(0, 2), QStringLiteral("NAME"));
        QCOMPARE(m.window->tvTreeView->topLevelItemCount(), 0);
        QVERIFY(m.state.strCreateTableSql.isEmpty());
        QVERIFY(m.state.strCreateIndexSql.isEmpty());
        QVERIFY(m.state.strTableInfoCsv.isEmpty());
    }

    void failingDescribeKeepsRowsAndStillReadsIndexes() {
        scriptList({"T"});
        m.backend->on("count(table_name)", db::ScriptedResult::column("TBL", {1}));
        m.backend->on("P_KEY", db::ScriptedResult::column("P_KEY", {"A"}));
        m.backend->on("RowNum < 1", db::ScriptedResult::failure("ORA-00904: invalid identifier"));
        db::ScriptedResult indexes;
        for (const char* name : {"INDEX_NAME", "TABLE_NAME", "COLUMN_POSITION", "COLUMN_NAME"}) {
            indexes.fields.push_back(db::ScriptedField{QLatin1String(name)});
        }
        indexes.rows = {{"T_PK", "T", 1, "A"}};
        m.backend->on("descend = 'DESC'", db::ScriptedResult{});
        m.backend->on("user_ind_expressions", db::ScriptedResult{});
        m.backend->on("user_ind_columns", indexes);
        logOn("h");
        QVERIFY(m.window->selectTableInList("T"));
        m.window->cmdView->click();
        QCOMPARE(m.dialogs.messages.size(), size_t(1));
        QCOMPARE(m.dialogs.messages[0].text, QStringLiteral("ORA-00904: invalid identifier"));
        QCOMPARE(m.dialogs.messages[0].title, QStringLiteral("SQLｴﾗｰ"));
        QCOMPARE(m.dialogs.messages[0].icon, MessageIcon::Critical);
        QVERIFY(m.state.strTableInfoCsv.isEmpty());
        QVERIFY(m.state.strPkTxt.isEmpty());
        QVERIFY(m.state.strCreateTableSql.isEmpty());
        QCOMPARE(m.window->MSFlexGrid1->Rows(), 2);  // header and the empty row stay
        QCOMPARE(treeLines(*m.window->tvTreeView), QStringList({"T", "  T_PK", "    1 A"}));
        QVERIFY(!m.state.strCreateIndexSql.isEmpty());
        QVERIFY(!testing::busyShown(m.window));
        QCOMPARE(m.window->panelText(2), QString());
        QCOMPARE(m.backend->openDynasets(), 0);
    }

    void failureMidwayKeepsTheRowsAlreadyAdded() {
        scriptList({"T"});
        m.backend->on("count(table_name)", db::ScriptedResult::column("TBL", {1}));
        db::ScriptedResult key = db::ScriptedResult::column("P_KEY", {"A", "B", "C"});
        key.failMovingTo = 1;
        m.backend->on("P_KEY", key);
        db::ScriptedResult indexes;
        for (const char* name : {"INDEX_NAME", "TABLE_NAME", "COLUMN_POSITION", "COLUMN_NAME"}) {
            indexes.fields.push_back(db::ScriptedField{QLatin1String(name)});
        }
        indexes.rows = {{"T_PK", "T", 1, "A"}, {"T_PK", "T", 2, "B"}};
        indexes.failMovingTo = 1;
        m.backend->on("descend = 'DESC'", db::ScriptedResult{});
        m.backend->on("user_ind_expressions", db::ScriptedResult{});
        m.backend->on("user_ind_columns", indexes);
        logOn("h");
        QVERIFY(m.window->selectTableInList("T"));
        m.window->cmdView->click();
        QCOMPARE(m.dialogs.messages.size(), size_t(2));
        QCOMPARE(m.window->MSFlexGrid1->Rows(), 2);
        QVERIFY(m.state.strIndexInfoCsv.isEmpty());
        QVERIFY(m.state.strCreateIndexSql.isEmpty());
        // The nodes added before the failure stay.
        QCOMPARE(treeLines(*m.window->tvTreeView), QStringList({"T", "  T_PK", "    1 A"}));
    }

    void failureInTheColumnPassKeepsTheRowsBeforeIt() {
        scriptList({"T"});
        m.backend->on("count(table_name)", db::ScriptedResult::column("TBL", {1}));
        m.backend->on("P_KEY", db::ScriptedResult::column("P_KEY", {"A"}));
        db::ScriptedResult describe;
        describe.fields = {describedColumn("A", 1, 0, 10, 10, false),
                           describedColumn("B", 96, 0, 2, 10, true),
                           describedColumn("C", 2, 5, 22, 7, true)};
        describe.fields[2].failOnRead = true;
        m.backend->on("RowNum < 1", describe);
        m.backend->on("descend = 'DESC'", db::ScriptedResult{});
        m.backend->on("user_ind_expressions", db::ScriptedResult{});
        m.backend->on("user_ind_columns", db::ScriptedResult{});
        logOn("h");
        QVERIFY(m.window->selectTableInList("T"));
        m.window->cmdView->click();
        QCOMPARE(m.dialogs.messages.size(), size_t(1));
        QCOMPARE(m.dialogs.messages[0].text, QStringLiteral("ORA-00932: inconsistent datatypes"));
        const FlexGrid& grid = *m.window->MSFlexGrid1;
        QCOMPARE(grid.Rows(), 4);  // header, the two rows read, and the empty last row
        QCOMPARE(gridRow(grid, 1),
                 QStringList({"1", "※", "A", "10", "VARCHAR2", "String", "Not Null"}));
        QCOMPARE(gridRow(grid, 2), QStringList({"2", "", "B", "2", "CHAR", "String", "Null"}));
        QCOMPARE(gridRow(grid, 3), QStringList({"", "", "", "", "", "", ""}));
        QVERIFY(m.state.strTableInfoCsv.isEmpty());
        QVERIFY(m.state.strTableInfoTxt.isEmpty());
        QVERIFY(m.state.strPkTxt.isEmpty());
        QVERIFY(m.state.strCreateTableSql.isEmpty());
        // The index lookup still ran.
        QCOMPARE(treeLines(*m.window->tvTreeView), QStringList({"T"}));
        QCOMPARE(m.state.strCreateIndexSql, QStringLiteral("\r\n"));
    }

    void describedColumnsFillTheGridInOrder() {
        scriptList({"T"});
        m.backend->on("count(table_name)", db::ScriptedResult::column("TBL", {1}));
        m.backend->on("P_KEY", db::ScriptedResult::column("P_KEY", {}));
        db::ScriptedResult describe;
        describe.fields = {describedColumn("A", 2, 7, 22, 7, false),
                           describedColumn("B", 24, 0, 0, 11, true)};
        m.backend->on("RowNum < 1", describe);
        m.backend->on("descend = 'DESC'", db::ScriptedResult{});
        m.backend->on("user_ind_expressions", db::ScriptedResult{});
        m.backend->on("user_ind_columns", db::ScriptedResult{});
        logOn("h");
        QVERIFY(m.window->selectTableInList("T"));
        m.window->lstTableList_DblClick();
        const FlexGrid& grid = *m.window->MSFlexGrid1;
        QCOMPARE(grid.Rows(), 3);
        QCOMPARE(gridRow(grid, 1),
                 QStringList({"1", "", "A", "7", "NUMBER", "Double", "Not Null"}));
        QCOMPARE(gridRow(grid, 2), QStringList({"2", "", "B", "-", "LONG ROW", "String", "Null"}));
        QCOMPARE(treeLines(*m.window->tvTreeView), QStringList({"T"}));
        QCOMPARE(m.state.strCreateIndexSql, QStringLiteral("\r\n"));
    }

    void ddlWindowIsRefreshedWhileOpen() {
        scriptList({"GONE"});
        m.backend->on("count(table_name)", db::ScriptedResult::column("TBL", {0}));
        logOn("h");
        QStringList received;
        m.window->setCreateViewText = [&](const QString& text) { received << text; };
        QVERIFY(m.window->selectTableInList("GONE"));
        m.window->cmdView->click();
        QVERIFY(received.isEmpty());  // closed: not touched
        m.state.blnCreateViewOpen = true;
        m.window->cmdView->click();
        QCOMPARE(received, QStringList({"\r\n\r\n"}));
    }

    void doubleClickBelowTheItemsShowsTheSelectedTable() {
        scriptList({"GONE"});
        m.backend->on("count(table_name)", db::ScriptedResult::column("TBL", {0}));
        logOn("h");
        QVERIFY(m.window->selectTableInList("GONE"));
        QWidget* list = m.window->lstTableList->viewport();
        QTest::mouseDClick(list, Qt::LeftButton, {}, QPoint(5, list->height() - 5));
        QCOMPARE(m.window->lblTitle[1]->text(), QStringLiteral("　ﾃｰﾌﾞﾙ情報 : GONE"));
    }

    void notConnectedRunsTheConnectCommand() {
        m.window->cmdView->click();
        QCOMPARE(m.dialogs.modalRuns, 1);
        QVERIFY(m.backend->queries().empty());
    }

    void noSelectedItemDoesNothing() {
        scriptList({});
        logOn("h");
        m.backend->clearRecord();
        m.window->cmdView->click();
        QVERIFY(m.backend->queries().empty());
        QCOMPARE(m.window->lblTitle[1]->text(), QStringLiteral("　ﾃｰﾌﾞﾙ情報"));
    }

    void aSecondCommandNeverNestsInARunningOne() {
        scriptList({"GONE"});
        m.backend->on("count(table_name)", db::ScriptedResult::column("TBL", {0}));
        logOn("h");
        QVERIFY(m.window->selectTableInList("GONE"));
        m.backend->clearRecord();
        // Commands arriving while the lookup lets events through.
        QTimer::singleShot(0, m.window, [this] {
            m.window->cmdView->click();
            m.window->mnuCut->trigger();
            m.window->mnuTableS->trigger();
        });
        m.window->cmdView->click();
        QCOMPARE(m.backend->queries().size(), size_t(2));  // one existence check per lookup
        QVERIFY(m.state.blnConnected);
        QVERIFY(!m.backend->log().contains("Close"));
    }

    void rightClicksOpenOnlyTheContextMenus() {
        scriptList({"A", "B"});
        logOn("h");
        m.backend->clearRecord();
        QStringList opened;
        auto closePopup = [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                opened << popup->objectName();
                popup->close();
            }
        };
        QTimer::singleShot(50, closePopup);
        QTest::mousePress(m.window->lstTableList->viewport(), Qt::RightButton);
        QTimer::singleShot(50, closePopup);
        QTest::mousePress(m.window->tvTreeView->viewport(), Qt::RightButton);
        QCOMPARE(opened, QStringList({"mnuCopyAllTable", "mnuCopyTableIndex"}));
        QVERIFY(m.backend->queries().empty());
    }

  private:
    void scriptList(const QStringList& names) {
        QVariantList values;
        for (const QString& name : names)
            values << name;
        m.backend->on("SELECT table_name tbl", db::ScriptedResult::column("TBL", values));
    }
    void logOn(const QString& host) {
        m.answerLogons("u", "", host);
        m.window->mnuDBLogIn->trigger();
        m.dialogs.onModal = nullptr;
        QVERIFY(m.state.blnConnected);
    }

    testing::WindowFixture m;
};

QTEST_MAIN(TableSelectionTest)
#include "tst_table_selection.moc"
