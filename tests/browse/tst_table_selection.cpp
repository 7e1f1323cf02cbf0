// The select-table command: grid, tree, titles and texts, through the demo database and through
// the scripted component.
#include "app/app_state.h"
#include "app/fdlg_ora_logon.h"
#include "app/frm_mainkey.h"
#include "app/frm_search.h"
#include "catalog/index_info.h"
#include "catalog/item_texts.h"
#include "db/scripted_engine.h"
#include "support/flex_grid.h"
#include "testing/test_dialogs.h"

#include <QAction>
#include <QApplication>
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

db::ScriptedField column(const QString& name, int code, int precision, int size, int type,
                         bool nullOk) {
    db::ScriptedField field;
    field.name = name;
    field.oraIDataType = code;
    field.precision = precision;
    field.size = size;
    field.type = type;
    field.nullOk = nullOk;
    return field;
}

}  // namespace

class TableSelectionTest : public QObject {
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
    }
    void cleanup() { delete m_window; }

    void itemFromTheDemoDatabase() {
        m_state.sessionFactory = db::CreateSession;
        logOn(QStringLiteral("sqlite:") + QUARNEL_DEMO_DB);
        QVERIFY(m_window->selectTableInList("ITEM"));
        m_window->cmdView->click();
        QVERIFY2(m_dialogs.messages.empty(),
                 m_dialogs.messages.empty() ? "" : m_dialogs.messages[0].text.toUtf8());

        QCOMPARE(m_window->lblTitle[1]->text(), QStringLiteral("　ﾃｰﾌﾞﾙ情報 : ITEM"));
        QCOMPARE(m_window->lblTitle[2]->text(), QStringLiteral("　ｲﾝﾃﾞｯｸｽ情報 : ITEM"));
        const FlexGrid& grid = *m_window->MSFlexGrid1;
        QCOMPARE(grid.Rows(), 7);
        QCOMPARE(gridRow(grid, 0),
                 QStringList({"", "PK", "NAME", "SIZE", "TYPE1", "TYPE2", "NULL"}));
        QCOMPARE(gridRow(grid, 1),
                 QStringList({"1", "※", "ORD_NO", "6", "NUMBER", "Double", "Not Null"}));
        QCOMPARE(gridRow(grid, 6), QStringList({"6", "", "QTY", "-", "NUMBER", "Double", "Null"}));

        QCOMPARE(treeLines(*m_window->tvTreeView),
                 QStringList({"ITEM", "  ITEM_IX1", "    1 PRODUCT", "    2 SHIP_DATE", "  ITEM_PK",
                              "    1 ORD_NO", "    2 LINE_NO"}));
        QVERIFY(allExpanded(*m_window->tvTreeView));

        QCOMPARE(m_state.strTableInfoCsv, fixtures::kItemTableInfoCsv);
        QCOMPARE(m_state.strTableInfoTxt, fixtures::kItemTableInfoTxt);
        QCOMPARE(m_state.strPkTxt, QStringLiteral("ORD_NO\r\nLINE_NO\r\n"));
        QCOMPARE(m_state.strCreateTableSql, fixtures::kItemCreateTableSql);
        QCOMPARE(m_state.strIndexInfoCsv, fixtures::kItemIndexInfoCsv);
        QCOMPARE(m_state.strIndexInfoTxt, fixtures::kItemIndexInfoTxt);
        QCOMPARE(m_state.strCreateIndexSql, fixtures::kItemCreateIndexSql);
        QCOMPARE(m_window->panelText(2), QString());
        QVERIFY(m_window->findChild<frmSearch*>() == nullptr);

        // All three save entries of the File menu are enabled now.
        m_window->mnuFile_Click();
        QVERIFY(m_window->mnuSaveAllTable->isEnabled());
        QVERIFY(m_window->mnuSaveInfoTable->isEnabled());
        QVERIFY(m_window->mnuSaveTableIndex->isEnabled());
    }

    void missingTableIsSilent() {
        scriptList({"GONE"});
        m_backend->on("count(table_name)", db::ScriptedResult::column("TBL", {0}));
        logOn("h");
        m_state.strCreateTableSql = "old";
        m_state.strCreateIndexSql = "old";
        QVERIFY(m_window->selectTableInList("GONE"));
        m_window->cmdView->click();
        QVERIFY(m_dialogs.messages.empty());
        QCOMPARE(m_window->MSFlexGrid1->Rows(), 2);
        QCOMPARE(m_window->MSFlexGrid1->TextMatrix(0, 2), QStringLiteral("NAME"));
        QCOMPARE(m_window->tvTreeView->topLevelItemCount(), 0);
        QVERIFY(m_state.strCreateTableSql.isEmpty());
        QVERIFY(m_state.strCreateIndexSql.isEmpty());
        QVERIFY(m_state.strTableInfoCsv.isEmpty());
    }

    void failingDescribeKeepsRowsAndStillReadsIndexes() {
        scriptList({"T"});
        m_backend->on("count(table_name)", db::ScriptedResult::column("TBL", {1}));
        m_backend->on("P_KEY", db::ScriptedResult::column("P_KEY", {"A"}));
        m_backend->on("RowNum < 1", db::ScriptedResult::failure("ORA-00904: invalid identifier"));
        db::ScriptedResult indexes;
        for (const char* name : {"INDEX_NAME", "TABLE_NAME", "COLUMN_POSITION", "COLUMN_NAME"}) {
            indexes.fields.push_back(db::ScriptedField{QLatin1String(name)});
        }
        indexes.rows = {{"T_PK", "T", 1, "A"}};
        m_backend->on("user_ind_columns", indexes);
        logOn("h");
        QVERIFY(m_window->selectTableInList("T"));
        m_window->cmdView->click();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, QStringLiteral("ORA-00904: invalid identifier"));
        QCOMPARE(m_dialogs.messages[0].title, QStringLiteral("SQLｴﾗｰ"));
        QCOMPARE(m_dialogs.messages[0].icon, MessageIcon::Critical);
        QVERIFY(m_state.strTableInfoCsv.isEmpty());
        QVERIFY(m_state.strPkTxt.isEmpty());
        QVERIFY(m_state.strCreateTableSql.isEmpty());
        QCOMPARE(m_window->MSFlexGrid1->Rows(), 2);  // header and the empty row stay
        QCOMPARE(treeLines(*m_window->tvTreeView), QStringList({"T", "  T_PK", "    1 A"}));
        QVERIFY(!m_state.strCreateIndexSql.isEmpty());
        QVERIFY(m_window->findChild<frmSearch*>() == nullptr);
        QCOMPARE(m_window->panelText(2), QString());
        QCOMPARE(m_backend->openDynasets(), 0);
    }

    void failureMidwayKeepsTheRowsAlreadyAdded() {
        scriptList({"T"});
        m_backend->on("count(table_name)", db::ScriptedResult::column("TBL", {1}));
        db::ScriptedResult key = db::ScriptedResult::column("P_KEY", {"A", "B", "C"});
        key.failMovingTo = 1;
        m_backend->on("P_KEY", key);
        db::ScriptedResult indexes;
        for (const char* name : {"INDEX_NAME", "TABLE_NAME", "COLUMN_POSITION", "COLUMN_NAME"}) {
            indexes.fields.push_back(db::ScriptedField{QLatin1String(name)});
        }
        indexes.rows = {{"T_PK", "T", 1, "A"}, {"T_PK", "T", 2, "B"}};
        indexes.failMovingTo = 1;
        m_backend->on("user_ind_columns", indexes);
        logOn("h");
        QVERIFY(m_window->selectTableInList("T"));
        m_window->cmdView->click();
        QCOMPARE(m_dialogs.messages.size(), size_t(2));
        QCOMPARE(m_window->MSFlexGrid1->Rows(), 2);
        QVERIFY(m_state.strIndexInfoCsv.isEmpty());
        QVERIFY(m_state.strCreateIndexSql.isEmpty());
        // The nodes added before the failure stay.
        QCOMPARE(treeLines(*m_window->tvTreeView), QStringList({"T", "  T_PK", "    1 A"}));
    }

    void failureInTheColumnPassKeepsTheRowsBeforeIt() {
        scriptList({"T"});
        m_backend->on("count(table_name)", db::ScriptedResult::column("TBL", {1}));
        m_backend->on("P_KEY", db::ScriptedResult::column("P_KEY", {"A"}));
        db::ScriptedResult describe;
        describe.fields = {column("A", 1, 0, 10, 10, false), column("B", 96, 0, 2, 10, true),
                           column("C", 2, 5, 22, 7, true)};
        describe.fields[2].failOnRead = true;
        m_backend->on("RowNum < 1", describe);
        m_backend->on("user_ind_columns", db::ScriptedResult{});
        logOn("h");
        QVERIFY(m_window->selectTableInList("T"));
        m_window->cmdView->click();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, QStringLiteral("ORA-00932: inconsistent datatypes"));
        const FlexGrid& grid = *m_window->MSFlexGrid1;
        QCOMPARE(grid.Rows(), 4);  // header, the two rows read, and the empty last row
        QCOMPARE(gridRow(grid, 1),
                 QStringList({"1", "※", "A", "10", "VARCHAR2", "String", "Not Null"}));
        QCOMPARE(gridRow(grid, 2), QStringList({"2", "", "B", "2", "CHAR", "String", "Null"}));
        QCOMPARE(gridRow(grid, 3), QStringList({"", "", "", "", "", "", ""}));
        QVERIFY(m_state.strTableInfoCsv.isEmpty());
        QVERIFY(m_state.strTableInfoTxt.isEmpty());
        QVERIFY(m_state.strPkTxt.isEmpty());
        QVERIFY(m_state.strCreateTableSql.isEmpty());
        // The index lookup still ran.
        QCOMPARE(treeLines(*m_window->tvTreeView), QStringList({"T"}));
        QCOMPARE(m_state.strCreateIndexSql, QStringLiteral("\r\n"));
    }

    void describedColumnsFillTheGridInOrder() {
        scriptList({"T"});
        m_backend->on("count(table_name)", db::ScriptedResult::column("TBL", {1}));
        m_backend->on("P_KEY", db::ScriptedResult::column("P_KEY", {}));
        db::ScriptedResult describe;
        describe.fields = {column("A", 2, 7, 22, 7, false), column("B", 24, 0, 0, 11, true)};
        m_backend->on("RowNum < 1", describe);
        m_backend->on("user_ind_columns", db::ScriptedResult{});
        logOn("h");
        QVERIFY(m_window->selectTableInList("T"));
        m_window->lstTableList_DblClick();
        const FlexGrid& grid = *m_window->MSFlexGrid1;
        QCOMPARE(grid.Rows(), 3);
        QCOMPARE(gridRow(grid, 1),
                 QStringList({"1", "", "A", "7", "NUMBER", "Double", "Not Null"}));
        QCOMPARE(gridRow(grid, 2), QStringList({"2", "", "B", "-", "LONG ROW", "String", "Null"}));
        QCOMPARE(treeLines(*m_window->tvTreeView), QStringList({"T"}));
        QCOMPARE(m_state.strCreateIndexSql, QStringLiteral("\r\n"));
    }

    void ddlWindowIsRefreshedWhileOpen() {
        scriptList({"GONE"});
        m_backend->on("count(table_name)", db::ScriptedResult::column("TBL", {0}));
        logOn("h");
        QStringList received;
        m_window->setCreateViewText = [&](const QString& text) { received << text; };
        QVERIFY(m_window->selectTableInList("GONE"));
        m_window->cmdView->click();
        QVERIFY(received.isEmpty());  // closed: not touched
        m_state.blnCreateViewOpen = true;
        m_window->cmdView->click();
        QCOMPARE(received, QStringList({"\r\n\r\n"}));
    }

    void doubleClickBelowTheItemsShowsTheSelectedTable() {
        scriptList({"GONE"});
        m_backend->on("count(table_name)", db::ScriptedResult::column("TBL", {0}));
        logOn("h");
        QVERIFY(m_window->selectTableInList("GONE"));
        QWidget* list = m_window->lstTableList->viewport();
        QTest::mouseDClick(list, Qt::LeftButton, {}, QPoint(5, list->height() - 5));
        QCOMPARE(m_window->lblTitle[1]->text(), QStringLiteral("　ﾃｰﾌﾞﾙ情報 : GONE"));
    }

    void notConnectedRunsTheConnectCommand() {
        m_window->cmdView->click();
        QCOMPARE(m_dialogs.modalRuns, 1);
        QVERIFY(m_backend->queries().empty());
    }

    void noSelectedItemDoesNothing() {
        scriptList({});
        logOn("h");
        m_backend->clearRecord();
        m_window->cmdView->click();
        QVERIFY(m_backend->queries().empty());
        QCOMPARE(m_window->lblTitle[1]->text(), QStringLiteral("　ﾃｰﾌﾞﾙ情報"));
    }

    void aSecondCommandNeverNestsInARunningOne() {
        scriptList({"GONE"});
        m_backend->on("count(table_name)", db::ScriptedResult::column("TBL", {0}));
        logOn("h");
        QVERIFY(m_window->selectTableInList("GONE"));
        m_backend->clearRecord();
        // Commands arriving while the lookup lets events through.
        QTimer::singleShot(0, m_window, [this] {
            m_window->cmdView->click();
            m_window->mnuCut->trigger();
            m_window->mnuTableS->trigger();
        });
        m_window->cmdView->click();
        QCOMPARE(m_backend->queries().size(), size_t(2));  // one existence check per lookup
        QVERIFY(m_state.blnConnected);
        QVERIFY(!m_backend->log().contains("Close"));
    }

    void rightClicksOpenOnlyTheContextMenus() {
        scriptList({"A", "B"});
        logOn("h");
        m_backend->clearRecord();
        QStringList opened;
        auto closePopup = [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                opened << popup->objectName();
                popup->close();
            }
        };
        QTimer::singleShot(50, closePopup);
        QTest::mousePress(m_window->lstTableList->viewport(), Qt::RightButton);
        QTimer::singleShot(50, closePopup);
        QTest::mousePress(m_window->tvTreeView->viewport(), Qt::RightButton);
        QCOMPARE(opened, QStringList({"mnuCopyAllTable", "mnuCopyTableIndex"}));
        QVERIFY(m_backend->queries().empty());
    }

  private:
    void scriptList(const QStringList& names) {
        QVariantList values;
        for (const QString& name : names)
            values << name;
        m_backend->on("SELECT table_name tbl", db::ScriptedResult::column("TBL", values));
    }
    void logOn(const QString& host) {
        m_dialogs.onModal = [=](QDialog& dialog) {
            auto& logon = dynamic_cast<fdlgOraLogon&>(dialog);
            logon.txtUsrID->setText("u");
            logon.txtHost->setText(host);
            logon.cmdOK_Click();
        };
        m_window->mnuDBLogIn->trigger();
        m_dialogs.onModal = nullptr;
        QVERIFY(m_state.blnConnected);
    }

    std::shared_ptr<db::ScriptedBackend> m_backend;
    testing::TestDialogs m_dialogs;
    AppState m_state;
    frm_mainkey* m_window = nullptr;
};

QTEST_MAIN(TableSelectionTest)
#include "tst_table_selection.moc"
