// The detail grid's editor, context menu and marks, driven by mouse and key events on a table of
// 30 columns (so the grid scrolls down), through the scripted component.
#include "app/flex_grid_view.h"
#include "app/frm_mainkey.h"
#include "browse/grid_editor.h"
#include "catalog/scripted_catalog.h"
#include "support/flex_grid.h"
#include "support/grid_utils.h"
#include "testing/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace quarnel;

namespace {

constexpr int kColumns = 30;
const quint32 kMark = rgb(200, 255, 200);

QString columnName(int number) {
    return QStringLiteral("C%1").arg(number, 2, 10, QLatin1Char('0'));
}

}  // namespace

class GridEditorTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        m.open();
        showTable();
        // The busy window has come and gone: the main window takes the focus back.
        QApplication::setActiveWindow(m.window);
        QVERIFY(QTest::qWaitForWindowActive(m.window));
    }
    void cleanup() { m.close(); }

    void doubleClickOpensTheEditorOverTheCell() {
        openEditor(2, 2);
        QVERIFY(editor()->isVisible());
        QCOMPARE(editor()->text(), columnName(2));
        QVERIFY(editor()->hasFocus());
        QVERIFY(editorCoversCell(2, 2));
    }

    // Whatever closed the editor, the next double click opens it over its cell again; nothing
    // reopens it before that.
    void reopenedAfterItWasClosed_data() {
        QTest::addColumn<QString>("closer");
        QTest::newRow("scroll") << "scroll";
        QTest::newRow("resize") << "resize";
        QTest::newRow("splitter drag") << "splitter";
    }
    void reopenedAfterItWasClosed() {
        QFETCH(QString, closer);
        openEditor(2, 2);
        if (closer == "scroll") {
            grid().setTopRow(2);  // the cell moves up one row
        } else if (closer == "resize") {
            m.window->resize(m.window->width() + 60, m.window->height() + 30);
        } else {
            QTest::mousePress(m.window->imgSplitter2, Qt::LeftButton);
            QTest::mouseRelease(m.window->imgSplitter2, Qt::LeftButton);
        }
        QVERIFY(!editor()->isVisible());
        QTest::qWait(20);
        QVERIFY(!editor()->isVisible());
        // The same cell again: only the double click itself can put the editor over it.
        openEditor(2, 2);
        QCOMPARE(editor()->text(), columnName(2));
        QVERIFY(editorCoversCell(2, 2));
    }

    // Enter in the bottom-right cell: back to the first data cell, scrolled to the top left.
    void enterInTheLastCell() {
        const int lastRow = grid().Rows() - 1;
        const int lastCol = grid().Cols() - 1;
        view()->ensureCellVisible(lastRow, lastCol);
        openEditor(lastRow, lastCol);
        typeAndEnter("last");
        QCOMPARE(grid().TextMatrix(lastRow, lastCol), QStringLiteral("last"));
        QCOMPARE(grid().Row(), 1);
        QCOMPARE(grid().Col(), 1);
        QCOMPARE(grid().TopRow(), 1);
        QCOMPARE(grid().LeftCol(), 1);
        QVERIFY(!editor()->isVisible());
        QVERIFY(view()->hasFocus());
    }

    // Enter in the last column of another row: the first data column of the next row, scrolled
    // fully left, and one row down exactly when the new row reaches GetRowLimit.
    void enterInTheLastColumn_data() {
        QTest::addColumn<bool>("atTheLimit");
        QTest::newRow("new row at the limit scrolls down") << true;
        QTest::newRow("new row before the limit stays") << false;
    }
    void enterInTheLastColumn() {
        QFETCH(bool, atTheLimit);
        // A wide NAME column: the last column is reached by scrolling right.
        grid().setColWidth(2, 4000);
        const int limit = splet::GetRowLimit(grid());
        QVERIFY(limit > 3 && limit < grid().Rows() - 1);
        const int row = atTheLimit ? limit - 1 : 1;
        const int lastCol = grid().Cols() - 1;
        view()->ensureCellVisible(row, lastCol);
        openEditor(row, lastCol);
        const int topRow = grid().TopRow();
        const QString nextText = grid().TextMatrix(row + 1, 1);
        QVERIFY(grid().LeftCol() > 1);
        typeAndEnter("typed");
        QCOMPARE(grid().TextMatrix(row, lastCol), QStringLiteral("typed"));
        QCOMPARE(grid().Row(), row + 1);
        QCOMPARE(grid().Col(), 1);
        QCOMPARE(grid().LeftCol(), 1);
        QCOMPARE(grid().TopRow(), atTheLimit ? topRow + 1 : topRow);
        QCOMPARE(grid().TextMatrix(row + 1, 1), nextText);
        QVERIFY(!editor()->isVisible());
    }

    // Enter in any other cell: one column right, one column scrolled when the old column is at
    // least GetColLimit; the editor stays open and empty over the new cell.
    void enterInAnyOtherCell_data() {
        QTest::addColumn<bool>("atTheLimit");
        QTest::newRow("column at the limit scrolls right") << true;
        QTest::newRow("column before the limit stays") << false;
    }
    void enterInAnyOtherCell() {
        QFETCH(bool, atTheLimit);
        // A wide NAME column makes the columns overflow the grid.
        grid().setColWidth(2, 4000);
        const int limit = splet::GetColLimit(grid());
        QVERIFY(limit > 2 && limit < grid().Cols() - 1);
        const int col = atTheLimit ? limit : 2;
        view()->ensureCellVisible(3, col);
        openEditor(3, col);
        const int leftCol = grid().LeftCol();
        const QString nextText = grid().TextMatrix(3, col + 1);
        typeAndEnter("typed");
        QCOMPARE(grid().TextMatrix(3, col), QStringLiteral("typed"));
        QCOMPARE(grid().TextMatrix(3, col + 1), nextText);
        QCOMPARE(grid().Row(), 3);
        QCOMPARE(grid().Col(), col + 1);
        QCOMPARE(grid().LeftCol(), atTheLimit ? leftCol + 1 : leftCol);
        QVERIFY(editor()->isVisible());
        QVERIFY(editor()->hasFocus());
        QVERIFY(editor()->text().isEmpty());
        QVERIFY(editorCoversCell(3, col + 1));
    }

    void enterOnAnEmptyEditorClearsTheCell() {
        openEditor(4, 2);
        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_Delete);
        QTest::keyClick(editor(), Qt::Key_Return);
        QCOMPARE(grid().TextMatrix(4, 2), QString());
    }

    // Any way of leaving the editor but Enter throws the typed text away.
    void leavingTheEditorKeepsTheCell_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("left click on another cell") << "left";
        QTest::newRow("middle click") << "middle";
        QTest::newRow("focus to another control") << "focus";
    }
    void leavingTheEditorKeepsTheCell() {
        QFETCH(QString, how);
        openEditor(2, 2);
        QTest::keyClicks(editor(), "typed");
        if (how == "left") {
            QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cellCentre(3, 4));
            QCOMPARE(grid().Row(), 3);
        } else if (how == "middle") {
            QTest::mouseClick(view()->viewport(), Qt::MiddleButton, {}, cellCentre(3, 4));
            QVERIFY(view()->hasFocus());
        } else {
            m.window->lstTableList->setFocus();
        }
        QCOMPARE(grid().TextMatrix(2, 2), columnName(2));
        QVERIFY(!editor()->isVisible());
    }

    void rightClickOnlyOpensTheMenu() {
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cellCentre(2, 2));
        QStringList opened;
        QTimer::singleShot(50, this, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                opened << popup->objectName();
                popup->close();
            }
        });
        QTest::mousePress(view()->viewport(), Qt::RightButton, {}, cellCentre(4, 5));
        QCOMPARE(opened, QStringList({"mnuCopyTableInfo"}));
        QCOMPARE(grid().Row(), 2);
        QCOMPARE(grid().Col(), 2);
        QVERIFY(!editor()->isVisible());
    }

    // Marks colour exactly the data cells of the current row, and unmarking gives them back the
    // grid's colours; the current cell and the scroll position stay.
    void markAndUnmarkTheCurrentRow() {
        grid().setColWidth(2, 4000);
        view()->ensureCellVisible(3, 5);
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cellCentre(3, 5));
        const int leftCol = grid().LeftCol();
        QVERIFY(leftCol > 1);
        m.window->mnuStampOn->trigger();
        for (int row = 0; row < grid().Rows(); ++row) {
            for (int col = 0; col < grid().Cols(); ++col) {
                const bool marked = row == 3 && col >= 1;
                QCOMPARE(grid().cellBackColorAt(row, col).value_or(0), marked ? kMark : 0);
            }
        }
        QCOMPARE(grid().Col(), 5);
        QCOMPARE(grid().LeftCol(), leftCol);

        m.window->mnuStampOff->trigger();
        for (int col = 1; col < grid().Cols(); ++col) {
            QCOMPARE(grid().cellBackColorAt(3, col).value_or(grid().BackColor()),
                     grid().BackColor());
            QCOMPARE(grid().cellForeColorAt(3, col).value_or(grid().ForeColor()),
                     grid().ForeColor());
        }
        QCOMPARE(grid().Col(), 5);
        QCOMPARE(grid().LeftCol(), leftCol);
    }

    void cellChangesWhileLoadingLeaveTheEditorAlone() {
        editor()->setText("kept");
        m.window->gridEditor().blnLoading = true;
        grid().setCurrentCell(3, 3);
        QCOMPARE(editor()->text(), QStringLiteral("kept"));
        m.window->gridEditor().blnLoading = false;
        grid().setCurrentCell(4, 2);
        QCOMPARE(editor()->text(), columnName(4));
    }

    // Edits and marks change only the grid: the texts read from the database stay, and showing
    // a table again discards them.
    void editsAndMarksStayInTheGrid() {
        const QString csv = m.state.strTableInfoCsv;
        const QString txt = m.state.strTableInfoTxt;
        const QString ddl = m.state.strCreateTableSql;
        openEditor(2, 2);
        typeAndEnter("EDITED");
        m.window->mnuStampOn->trigger();
        QCOMPARE(grid().TextMatrix(2, 2), QStringLiteral("EDITED"));
        QCOMPARE(m.state.strTableInfoCsv, csv);
        QCOMPARE(m.state.strTableInfoTxt, txt);
        QCOMPARE(m.state.strCreateTableSql, ddl);

        m.window->cmdView->click();
        QCOMPARE(grid().TextMatrix(2, 2), columnName(2));
        for (int col = 0; col < grid().Cols(); ++col)
            QVERIFY(!grid().cellBackColorAt(2, col).has_value());
        QVERIFY(!editor()->isVisible());
    }

  private:
    FlexGrid& grid() { return *m.window->MSFlexGrid1; }
    FlexGridView* view() { return m.window->MSFlexGrid1View; }
    QLineEdit* editor() { return m.window->text1; }

    QPoint cellCentre(int row, int col) { return view()->cellRectPixels(row, col).center(); }

    void openEditor(int row, int col) {
        // What the window system sends for a double click: press, release, double click,
        // release.
        const QPoint at = cellCentre(row, col);
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(grid().Row(), row);
        QCOMPARE(grid().Col(), col);
        QVERIFY(editor()->isVisible());
    }

    void typeAndEnter(const QString& text) {
        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor(), text);
        QTest::keyClick(editor(), Qt::Key_Return);
    }

    // The editor lies over the cell: inside it, and at most a pixel or two smaller.
    bool editorCoversCell(int row, int col) {
        const QRect cell = view()->cellRectPixels(row, col);
        const QRect box(view()->viewport()->mapFrom(editor()->parentWidget(), editor()->pos()),
                        editor()->size());
        return cell.adjusted(-1, -1, 1, 1).contains(box) && box.width() >= cell.width() - 2 &&
               box.height() >= cell.height() - 2;
    }

    // A table T of 30 VARCHAR2(10) columns C01 ... C30, no key, no index.
    void showTable() {
        m.backend->on("SELECT table_name tbl", db::ScriptedResult::column("TBL", {"T"}));
        m.backend->on("count(table_name)", db::ScriptedResult::column("TBL", {1}));
        m.backend->on("P_KEY", db::ScriptedResult::column("P_KEY", {}));
        db::ScriptedResult describe;
        for (int c = 1; c <= kColumns; ++c)
            describe.fields.push_back(
                catalog::fixtures::describedColumn(columnName(c), 1, 0, 10, 10, true));
        m.backend->on("RowNum < 1", describe);
        m.backend->on("descend = 'DESC'", db::ScriptedResult{});
        m.backend->on("user_ind_expressions", db::ScriptedResult{});
        m.backend->on("user_ind_columns", db::ScriptedResult{});
        m.answerLogons("u", "", "h");
        m.window->mnuDBLogIn->trigger();
        m.dialogs.onModal = nullptr;
        QVERIFY(m.window->selectTableInList("T"));
        m.window->cmdView->click();
        QCOMPARE(grid().Rows(), kColumns + 1);
    }

    testing::WindowFixture m;
};

QTEST_MAIN(GridEditorTest)
#include "tst_grid_editor.moc"
