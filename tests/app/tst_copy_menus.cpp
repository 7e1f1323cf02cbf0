// The copy entries of the main window, from the menu bar and from the context menus of the list,
// the grid and the tree, over the demo database and the system clipboard.
#include "app/flex_grid_view.h"
#include "app/frm_create.h"
#include "app/frm_mainkey.h"
#include "catalog/index_info.h"
#include "catalog/item_texts.h"
#include "catalog/table_list.h"
#include "support/flex_grid.h"
#include "testing/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

using namespace quarnel;
namespace fixtures = quarnel::catalog::fixtures;

namespace {

const QStringList kCopyEntries = {
    "mnuCopyTableName",     "mnuCopyAllTableTxt",  "mnuSelectCpCsv", "mnuSelectCpTxt",
    "mnuCopyTableInfoCsv",  "mnuCopyTableInfoTxt", "mnuCopyPkTxt",   "mnuCopyTableIndexSelect",
    "mnuCopyTableIndexCsv", "mnuCopyTableIndexTxt"};

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

void putOnClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

// The menus from `top` down to `action`, the top one excluded; empty when `action` is not in it.
QList<QAction*> pathTo(QMenu* top, QAction* action) {
    for (QAction* entry : top->actions()) {
        if (entry == action)
            return {entry};
        if (entry->menu() != nullptr) {
            QList<QAction*> below = pathTo(entry->menu(), action);
            if (!below.isEmpty()) {
                below.prepend(entry);
                return below;
            }
        }
    }
    return {};
}

}  // namespace

class CopyMenusTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { m.open(); }
    void cleanup() { m.close(); }

    // Every entry copies its text for ITEM of the demo database, with the grid's name and size
    // cells of the first two rows selected and the column entry "1 PRODUCT" selected in the tree.
    void everyEntryFromTheDemoSchema_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("expected");
        QTest::newRow("table name") << "mnuCopyTableName"
                                    << "ITEM";
        QTest::newRow("selection CSV") << "mnuSelectCpCsv"
                                       << "ORD_NO,6\r\nLINE_NO,3";
        QTest::newRow("selection TXT") << "mnuSelectCpTxt"
                                       << "ORD_NO\t6\rLINE_NO\t3";
        QTest::newRow("table info CSV") << "mnuCopyTableInfoCsv" << fixtures::kItemTableInfoCsv;
        QTest::newRow("table info TXT") << "mnuCopyTableInfoTxt" << fixtures::kItemTableInfoTxt;
        QTest::newRow("primary key") << "mnuCopyPkTxt"
                                     << "ORD_NO\r\nLINE_NO\r\n";
        QTest::newRow("tree entry") << "mnuCopyTableIndexSelect"
                                    << "PRODUCT";
        QTest::newRow("index CSV") << "mnuCopyTableIndexCsv" << fixtures::kItemIndexInfoCsv;
        QTest::newRow("index TXT") << "mnuCopyTableIndexTxt" << fixtures::kItemIndexInfoTxt;
    }
    void everyEntryFromTheDemoSchema() {
        QFETCH(QString, entry);
        QFETCH(QString, expected);
        showItem();
        putOnClipboard(QStringLiteral("previous"));
        action(entry)->trigger();
        QCOMPARE(clipboardText(), expected);
    }

    void tableListFromTheDemoSchema() {
        showItem();
        const QString& list = m.state.strTableListTxt;
        QVERIFY(
            list.startsWith(catalog::tableCountText(m.window->lstTableList->model()->rowCount()) +
                            QStringLiteral("\r\n")));
        QVERIFY(list.contains(QStringLiteral("\r\nITEM\r\n")));
        putOnClipboard(QStringLiteral("previous"));
        action("mnuCopyAllTableTxt")->trigger();
        QCOMPARE(clipboardText(), list);
    }

    void treeEntriesOfEachKind_data() {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("expected");
        QTest::newRow("table") << "ITEM"
                               << "ITEM";
        QTest::newRow("index") << "ITEM_PK"
                               << "ITEM_PK";
        QTest::newRow("column") << "2 LINE_NO"
                                << "LINE_NO";
    }
    void treeEntriesOfEachKind() {
        QFETCH(QString, node);
        QFETCH(QString, expected);
        showItem();
        selectTreeNode(node);
        action("mnuCopyTableIndexSelect")->trigger();
        QCOMPARE(clipboardText(), expected);
    }

    // Before any logon and after a disconnect nothing has content: every entry is enabled and
    // leaves the clipboard empty rather than holding what was there.
    void withoutContentEveryEntryEmptiesTheClipboard_data() {
        QTest::addColumn<bool>("disconnect");
        QTest::newRow("before logon") << false;
        QTest::newRow("after a disconnect") << true;
    }
    void withoutContentEveryEntryEmptiesTheClipboard() {
        QFETCH(bool, disconnect);
        if (disconnect) {
            showItem();
            m.window->mnuCut->trigger();
            QVERIFY(!m.state.blnConnected);
        }
        for (const QString& entry : kCopyEntries) {
            QVERIFY2(action(entry)->isEnabled(), qPrintable(entry));
            putOnClipboard(QStringLiteral("previous"));
            action(entry)->trigger();
            QVERIFY2(clipboardText().isEmpty(), qPrintable(entry));
        }
    }

    // A copy chosen while a lookup lets events through waits for nothing and does nothing.
    void noCopyWhileALookupRuns() {
        showItem();
        putOnClipboard(QStringLiteral("previous"));
        QTimer::singleShot(0, m.window, [this] { action("mnuCopyTableInfoCsv")->trigger(); });
        m.window->cmdView->click();
        QCOMPARE(clipboardText(), QStringLiteral("previous"));
        action("mnuCopyTableInfoCsv")->trigger();
        QCOMPARE(clipboardText(), fixtures::kItemTableInfoCsv);
    }

    // Ctrl+C in each control copies what the control shows selected, as one of the menu's
    // entries does; in the DDL window the whole script with CR LF.
    void copyKeyRunsTheControlsCopyEntry_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("expected");
        QTest::newRow("list") << "lstTableList"
                              << "ITEM";
        QTest::newRow("grid") << "MSFlexGrid1"
                              << "ORD_NO\t6\rLINE_NO\t3";
        QTest::newRow("tree") << "tvTreeView"
                              << "PRODUCT";
        QTest::newRow("DDL window") << "rtxtCrMoniter" << QString();
    }
    void copyKeyRunsTheControlsCopyEntry() {
        QFETCH(QString, control);
        QFETCH(QString, expected);
        showItem();
        QWidget* target = m.window->findChild<QWidget*>(control);
        if (control == "rtxtCrMoniter") {
            m.window->mnuViewCr->trigger();
            target = m.window->createView()->rtxtCrMoniter;
            expected = m.window->createView()->boxText();
            QVERIFY(expected.contains(QStringLiteral(");\r\n")));
        }
        QVERIFY(target != nullptr);
        putOnClipboard(QStringLiteral("previous"));
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardText(), expected);
    }

    // A range selected with Shift+click in one table is gone when the next table is shown:
    // the new table starts at its first data cell.
    void showingATableResetsTheGridSelection() {
        showItem();
        FlexGridView* view = m.window->MSFlexGrid1View;
        FlexGrid& grid = *m.window->MSFlexGrid1;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->cellRectPixels(1, 1).center());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          view->cellRectPixels(3, 6).center());
        QCOMPARE(grid.RowSel(), 3);
        QVERIFY(m.window->selectTableInList("ORDERS"));
        QTest::mouseClick(m.window->cmdView, Qt::LeftButton);
        QCOMPARE(QRect(QPoint(grid.Col(), grid.Row()), QPoint(grid.ColSel(), grid.RowSel())),
                 QRect(QPoint(1, 1), QPoint(1, 1)));
    }

    // The context menus hold the menu bar's own entries: choosing one there copies the same text.
    void contextMenuCopiesWhatTheMenuBarCopies_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("entry");
        QTest::newRow("list, table name") << "lstTableList"
                                          << "mnuCopyTableName";
        QTest::newRow("list, table list") << "lstTableList"
                                          << "mnuCopyAllTableTxt";
        QTest::newRow("grid, selection CSV") << "MSFlexGrid1"
                                             << "mnuSelectCpCsv";
        QTest::newRow("grid, selection TXT") << "MSFlexGrid1"
                                             << "mnuSelectCpTxt";
        QTest::newRow("grid, table info CSV") << "MSFlexGrid1"
                                              << "mnuCopyTableInfoCsv";
        QTest::newRow("grid, primary key") << "MSFlexGrid1"
                                           << "mnuCopyPkTxt";
        QTest::newRow("tree, entry") << "tvTreeView"
                                     << "mnuCopyTableIndexSelect";
        QTest::newRow("tree, index TXT") << "tvTreeView"
                                         << "mnuCopyTableIndexTxt";
    }
    void contextMenuCopiesWhatTheMenuBarCopies() {
        QFETCH(QString, control);
        QFETCH(QString, entry);
        showItem();
        putOnClipboard(QStringLiteral("previous"));
        action(entry)->trigger();
        const QString fromMenuBar = clipboardText();
        QVERIFY(!fromMenuBar.isEmpty());
        QVERIFY(fromMenuBar != QStringLiteral("previous"));

        putOnClipboard(QStringLiteral("previous"));
        QWidget* viewport = control == "lstTableList" ? m.window->lstTableList->viewport()
                            : control == "tvTreeView" ? m.window->tvTreeView->viewport()
                                                      : m.window->MSFlexGrid1View->viewport();
        bool chosen = false;
        QTimer::singleShot(0, m.window, [&] { chosen = chooseInPopup(action(entry)); });
        QTest::mousePress(viewport, Qt::RightButton, {}, QPoint(20, 30));
        QVERIFY(chosen);
        QCOMPARE(clipboardText(), fromMenuBar);
        // The right button changed neither selection.
        QCOMPARE(m.window->MSFlexGrid1->Clip(), QStringLiteral("ORD_NO\t6\rLINE_NO\t3"));
        QCOMPARE(m.window->tvTreeView->selectedItems().value(0)->text(0),
                 QStringLiteral("1 PRODUCT"));
    }

  private:
    QAction* action(const QString& name) {
        auto* found = m.window->findChild<QAction*>(name);
        if (found == nullptr)
            qFatal("no menu entry %s", qPrintable(name));
        return found;
    }

    // Logs on to the demo database and shows ITEM; selects grid cells and a tree entry.
    void showItem() {
        m.state.sessionFactory = db::CreateSession;
        m.answerLogons("demo", "", QStringLiteral("sqlite:") + QUARNEL_DEMO_DB);
        m.window->mnuDBLogIn->trigger();
        m.dialogs.onModal = nullptr;
        QVERIFY(m.state.blnConnected);
        QVERIFY(m.window->selectTableInList("ITEM"));
        m.window->cmdView->click();
        QVERIFY(m.dialogs.messages.empty());
        FlexGrid& grid = *m.window->MSFlexGrid1;
        grid.setRow(1);
        grid.setCol(2);
        grid.setRowSel(2);
        grid.setColSel(3);
        selectTreeNode(QStringLiteral("1 PRODUCT"));
    }

    void selectTreeNode(const QString& text) {
        const QList<QTreeWidgetItem*> found =
            m.window->tvTreeView->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY(!found.isEmpty());
        m.window->tvTreeView->setCurrentItem(found[0]);
    }

    // Waits for the context menu, then walks to `target` through its submenus with the keys and
    // chooses it with Enter. False when no menu opened or `target` is not in it.
    bool chooseInPopup(QAction* target) {
        QDeadlineTimer deadline(5000);
        while (QApplication::activePopupWidget() == nullptr && !deadline.hasExpired())
            QTest::qWait(10);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return false;
        const QList<QAction*> path = pathTo(menu, target);
        if (path.isEmpty()) {
            menu->close();
            return false;
        }
        for (QAction* step : path) {
            menu->setActiveAction(step);
            if (step->menu() == nullptr) {
                QTest::keyClick(menu, Qt::Key_Return);
                return true;
            }
            QTest::keyClick(menu, Qt::Key_Right);
            menu = step->menu();
            if (!menu->isVisible()) {
                QApplication::activePopupWidget()->close();
                return false;
            }
        }
        return false;
    }

    testing::WindowFixture m;
};

QTEST_MAIN(CopyMenusTest)
#include "tst_copy_menus.moc"
