// The copy commands over the program-wide texts, a grid model and a fake clipboard, without a
// window.
#include "catalog/item_texts.h"
#include "catalog/table_list.h"
#include "export/copy_commands.h"
#include "shell/app_state.h"
#include "support/flex_grid.h"
#include "testing/fake_clipboard.h"
#include "testing/fake_main_view.h"

#include <QTest>

#include <functional>
#include <vector>

using namespace quarnel;
namespace fixtures = quarnel::catalog::fixtures;

namespace {

using Command = void (CopyCommands::*)();

struct Fixture {
    AppState state;
    testing::FakeClipboard clipboard;
    testing::FakeMainView view;
    CopyCommands commands{state, clipboard, view};

    // Runs `command` with something else already on the clipboard.
    std::optional<QString> copy(Command command) {
        clipboard.text = QStringLiteral("previous");
        (commands.*command)();
        return clipboard.text;
    }
};

// Fills `grid` with `rows` (cells of a row separated by "|") without fixed rows or columns and
// selects from (row, col) to (rowSel, colSel).
void fill(FlexGrid& grid, const QStringList& rows, int row, int col, int rowSel, int colSel) {
    grid.setFixedRows(0);
    grid.setFixedCols(0);
    grid.setRows(int(rows.size()));
    grid.setCols(int(rows.value(0).split(u'|').size()));
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList cells = rows[r].split(u'|');
        for (int c = 0; c < cells.size(); ++c)
            grid.setTextMatrix(r, c, cells[c]);
    }
    grid.setRow(row);
    grid.setCol(col);
    grid.setRowSel(rowSel);
    grid.setColSel(colSel);
}

// The ITEM table's grid as the table lookup fills it: a header row and one row per column.
void fillItemGrid(FlexGrid& grid) {
    grid.setCols(7);
    grid.setRows(1);
    const QStringList lines = fixtures::kItemTableInfoTxt.split(QStringLiteral("\r\n"));
    // Line 0 is the table name, line 1 the header; the grid rows are the column lines.
    for (qsizetype i = 2; i < lines.size() && !lines[i].isEmpty(); ++i)
        grid.AddItem(lines[i]);
}

// Reads CSV as written by a standard reader: quoted fields may hold commas, quotes ("" for
// one) and line ends; records end at CR LF.
QList<QStringList> parseCsv(const QString& csv) {
    QList<QStringList> records{{}};
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv[i];
        if (quoted) {
            if (c == u'"' && i + 1 < csv.size() && csv[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            records.last() << field;
            field.clear();
        } else if (c == u'\r' && i + 1 < csv.size() && csv[i + 1] == u'\n') {
            records.last() << field;
            field.clear();
            records.append(QStringList());
            ++i;
        } else {
            field += c;
        }
    }
    records.last() << field;
    return records;
}

// The cells of the grid's selected range, row by row.
QList<QStringList> selectedCells(const FlexGrid& grid) {
    QList<QStringList> rows;
    for (int r = std::min(grid.Row(), grid.RowSel()); r <= std::max(grid.Row(), grid.RowSel());
         ++r) {
        QStringList row;
        for (int c = std::min(grid.Col(), grid.ColSel()); c <= std::max(grid.Col(), grid.ColSel());
             ++c)
            row << grid.TextMatrix(r, c);
        rows << row;
    }
    return rows;
}

// The selection-to-CSV scanner of the classic grid command, which re-splits the selection text:
// a tab ends a field, a CR or LF ends a row (written CR LF) and steps over the following
// character unless it is a tab. Only faithful for cells without separators of their own.
QString scannerCsv(const QString& s) {
    QString out;
    qsizetype start = 0;
    qsizetype i = 0;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\t') {
            out += s.mid(start, i - start) + u',';
            start = i + 1;
        } else if (c == u'\r' || c == u'\n') {
            out += s.mid(start, i - start) + QStringLiteral("\r\n");
            start = i + 1;
            if (i + 1 >= s.size() || s[i + 1] != u'\t')
                ++i;
        }
    }
    if (start < i)
        out += s.mid(start);
    return out;
}

struct CommandCase {
    const char* name;
    std::function<void(Fixture&)> setUp;
    Command command;
};

// Every command in a situation where it has nothing to copy.
const std::vector<CommandCase>& emptyCases() {
    static const std::vector<CommandCase> cases = {
        {"table name, connected, no selected item", [](Fixture& f) { f.state.blnConnected = true; },
         &CopyCommands::mnuCopyTableName_Click},
        {"table name, disconnected, item selected",
         [](Fixture& f) { f.view.selectedTable = QStringLiteral("ITEM"); },
         &CopyCommands::mnuCopyTableName_Click},
        {"table list, empty text", [](Fixture&) {}, &CopyCommands::mnuCopyAllTableTxt_Click},
        {"selection CSV, empty cells",
         [](Fixture& f) {
             fill(f.view.flexGrid, {"|", "|"}, 0, 0, 1, 1);
         },
         &CopyCommands::mnuSelectCpCsv_Click},
        {"selection TXT, empty cells",
         [](Fixture& f) {
             fill(f.view.flexGrid, {"|", "|"}, 0, 0, 1, 1);
         },
         &CopyCommands::mnuSelectCpTxt_Click},
        {"selection CSV, tab tab tab x",
         [](Fixture& f) { fill(f.view.flexGrid, {"|||x"}, 0, 0, 0, 3); },
         &CopyCommands::mnuSelectCpCsv_Click},
        {"selection TXT, tab tab tab x",
         [](Fixture& f) { fill(f.view.flexGrid, {"|||x"}, 0, 0, 0, 3); },
         &CopyCommands::mnuSelectCpTxt_Click},
        {"selection TXT, three empty rows then x",
         [](Fixture& f) {
             fill(f.view.flexGrid, {"", "", "", "x"}, 0, 0, 3, 0);
         },
         &CopyCommands::mnuSelectCpTxt_Click},
        {"table info CSV, empty text", [](Fixture&) {}, &CopyCommands::mnuCopyTableInfoCsv_Click},
        {"table info TXT, empty text", [](Fixture&) {}, &CopyCommands::mnuCopyTableInfoTxt_Click},
        {"primary key, empty text", [](Fixture&) {}, &CopyCommands::mnuCopyPkTxt_Click},
        {"tree entry, none selected", [](Fixture&) {},
         &CopyCommands::mnuCopyTableIndexSelect_Click},
        {"tree entry, digit-led without space",
         [](Fixture& f) { f.view.selectedTreeNode = QStringLiteral("12"); },
         &CopyCommands::mnuCopyTableIndexSelect_Click},
        {"index CSV, empty text", [](Fixture&) {}, &CopyCommands::mnuCopyTableIndexCsv_Click},
        {"index TXT, empty text", [](Fixture&) {}, &CopyCommands::mnuCopyTableIndexTxt_Click},
    };
    return cases;
}

// The texts of a connected state after ITEM was shown, each distinct.
void fillItemState(AppState& state) {
    state.blnConnected = true;
    state.strTableListTxt = catalog::tableCountText(2) + QStringLiteral("\r\nITEM\r\nORDERS\r\n");
    state.strTableInfoCsv = fixtures::kItemTableInfoCsv;
    state.strTableInfoTxt = fixtures::kItemTableInfoTxt;
    state.strPkTxt = QStringLiteral("ORD_NO\r\nLINE_NO\r\n");
    state.strCreateTableSql = fixtures::kItemCreateTableSql;
    state.strIndexInfoCsv = fixtures::kItemIndexInfoCsv;
    state.strIndexInfoTxt = fixtures::kItemIndexInfoTxt;
    state.strCreateIndexSql = fixtures::kItemCreateIndexSql;
}

}  // namespace

Q_DECLARE_METATYPE(Command)

namespace QTest {
template <>
inline char* toString(const std::optional<QString>& text) {
    return text ? QTest::toString(*text) : qstrdup("(empty clipboard)");
}
}  // namespace QTest

class CopyCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void programWideTexts_data() {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QString>("expected");
        QTest::newRow("table list") << &CopyCommands::mnuCopyAllTableTxt_Click
                                    << catalog::tableCountText(2) + "\r\nITEM\r\nORDERS\r\n";
        QTest::newRow("table info CSV")
            << &CopyCommands::mnuCopyTableInfoCsv_Click << fixtures::kItemTableInfoCsv;
        QTest::newRow("table info TXT")
            << &CopyCommands::mnuCopyTableInfoTxt_Click << fixtures::kItemTableInfoTxt;
        QTest::newRow("primary key")
            << &CopyCommands::mnuCopyPkTxt_Click << QStringLiteral("ORD_NO\r\nLINE_NO\r\n");
        QTest::newRow("index CSV")
            << &CopyCommands::mnuCopyTableIndexCsv_Click << fixtures::kItemIndexInfoCsv;
        QTest::newRow("index TXT")
            << &CopyCommands::mnuCopyTableIndexTxt_Click << fixtures::kItemIndexInfoTxt;
    }
    void programWideTexts() {
        QFETCH(Command, command);
        QFETCH(QString, expected);
        Fixture f;
        fillItemState(f.state);
        QCOMPARE(f.copy(command), std::optional<QString>(expected));
        QCOMPARE(f.clipboard.clears, 1);
        QCOMPARE(f.clipboard.writes, 1);
    }

    void tableNameWhileConnected() {
        Fixture f;
        f.state.blnConnected = true;
        f.view.selectedTable = QStringLiteral("ORDER_HISTORY");
        QCOMPARE(f.copy(&CopyCommands::mnuCopyTableName_Click),
                 std::optional<QString>("ORDER_HISTORY"));
    }

    void emptyCasesLeaveTheClipboardEmpty_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(emptyCases().size()); ++i)
            QTest::newRow(emptyCases()[size_t(i)].name) << i;
    }
    void emptyCasesLeaveTheClipboardEmpty() {
        QFETCH(int, index);
        const CommandCase& c = emptyCases()[size_t(index)];
        Fixture f;
        c.setUp(f);
        QCOMPARE(f.copy(c.command), std::optional<QString>());
        QCOMPARE(f.clipboard.clears, 1);
        QCOMPARE(f.clipboard.writes, 0);
    }

    void selectionHasContent_data() {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<bool>("content");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("one character") << "x" << true;
        QTest::newRow("tab tab tab x") << "\t\t\tx" << false;
        QTest::newRow("tab tab x") << "\t\tx" << true;
        QTest::newRow("CR LF tab x") << "\r\n\tx" << false;
        QTest::newRow("two separators only") << "\t\r" << false;
        QTest::newRow("space") << " " << true;
        QTest::newRow("content after separators") << "\r\r\r" + QString(40000, u'x') << false;
    }
    void selectionHasContent() {
        QFETCH(QString, clip);
        QFETCH(bool, content);
        QCOMPARE(quarnel::selectionHasContent(clip), content);
    }

    void oneCharacterSelection() {
        for (Command command :
             {&CopyCommands::mnuSelectCpCsv_Click, &CopyCommands::mnuSelectCpTxt_Click}) {
            Fixture f;
            fill(f.view.flexGrid, {"x|y"}, 0, 0, 0, 0);
            QCOMPARE(f.copy(command), std::optional<QString>("x"));
        }
    }

    void selectionTxtIsTheClipUnchanged() {
        Fixture f;
        fill(f.view.flexGrid, {"a|b|c", "|d|", "e|f|g"}, 2, 2, 0, 0);
        QCOMPARE(f.copy(&CopyCommands::mnuSelectCpTxt_Click),
                 std::optional<QString>("a\tb\tc\r\td\t\re\tf\tg"));
    }

    void selectionCsv_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<int>>("range");  // row, col, rowSel, colSel
        QTest::addColumn<QString>("csv");
        QTest::newRow("two by two")
            << QStringList{"a|b", "c|d"} << QList<int>{0, 0, 1, 1} << "a,b\r\nc,d";
        QTest::newRow("empty first cell")
            << QStringList{"a|b", "|d"} << QList<int>{0, 0, 1, 1} << "a,b\r\n,d";
        QTest::newRow("selected upwards and leftwards")
            << QStringList{"a|b", "c|d"} << QList<int>{1, 1, 0, 0} << "a,b\r\nc,d";
        QTest::newRow("inner part")
            << QStringList{"a|b|c", "d|e|f", "g|h|i"} << QList<int>{1, 1, 2, 2} << "e,f\r\nh,i";
        QTest::newRow("one column with an empty cell")
            << QStringList{"a", "", "b"} << QList<int>{0, 0, 2, 0} << "a\r\n\r\nb";
        QTest::newRow("last row empty")
            << QStringList{"a|b", "|"} << QList<int>{0, 0, 1, 1} << "a,b\r\n,";
        QTest::newRow("comma") << QStringList{"1,5|x"} << QList<int>{0, 0, 0, 1} << "\"1,5\",x";
        QTest::newRow("quote") << QStringList{"say \"hi\"|x"} << QList<int>{0, 0, 0, 1}
                               << "\"say \"\"hi\"\"\",x";
        QTest::newRow("quoted Oracle name") << QStringList{"\"Order, Lines\""}
                                            << QList<int>{0, 0, 0, 0} << "\"\"\"Order, Lines\"\"\"";
        QTest::newRow("line ends in a cell")
            << QStringList{"a\r\nb|c\rd|e\nf"} << QList<int>{0, 0, 0, 2}
            << "\"a\r\nb\",\"c\rd\",\"e\nf\"";
        QTest::newRow("tab in a cell")
            << QStringList{"a\tb|c"} << QList<int>{0, 0, 0, 1} << "a\tb,c";
    }
    void selectionCsv() {
        QFETCH(QStringList, rows);
        QFETCH(QList<int>, range);
        QFETCH(QString, csv);
        Fixture f;
        fill(f.view.flexGrid, rows, range[0], range[1], range[2], range[3]);
        QCOMPARE(f.copy(&CopyCommands::mnuSelectCpCsv_Click), std::optional<QString>(csv));
    }

    // For cells without separators of their own the CSV is what the classic scanner makes of the
    // selection text, over the ITEM grid, whose mark column has empty cells.
    void csvMatchesTheScannerForOrdinaryCells_data() {
        QTest::addColumn<QList<int>>("range");  // row, col, rowSel, colSel
        QTest::newRow("whole table") << QList<int>{1, 0, 6, 6};
        QTest::newRow("from the mark column") << QList<int>{1, 1, 6, 3};
        QTest::newRow("unmarked rows from the mark") << QList<int>{3, 1, 6, 6};
        QTest::newRow("one row") << QList<int>{4, 0, 4, 6};
        QTest::newRow("header and first row") << QList<int>{0, 0, 1, 6};
        QTest::newRow("name and size columns") << QList<int>{1, 2, 6, 3};
    }
    void csvMatchesTheScannerForOrdinaryCells() {
        QFETCH(QList<int>, range);
        FlexGrid grid;
        fillItemGrid(grid);
        grid.setRow(range[0]);
        grid.setCol(range[1]);
        grid.setRowSel(range[2]);
        grid.setColSel(range[3]);
        QCOMPARE(quarnel::selectionCsv(grid), scannerCsv(grid.Clip()));
    }

    // Cells typed into the grid come back unchanged from the CSV.
    void editedCellsReadBack() {
        Fixture f;
        fillItemGrid(f.view.flexGrid);
        f.view.flexGrid.setTextMatrix(2, 2, QStringLiteral("He said \"no, thanks\"\r\nand left"));
        f.view.flexGrid.setTextMatrix(3, 3, QStringLiteral("10,2"));
        f.view.flexGrid.setTextMatrix(4, 1, QStringLiteral("\""));
        f.view.flexGrid.setRow(1);
        f.view.flexGrid.setCol(0);
        f.view.flexGrid.setRowSel(6);
        f.view.flexGrid.setColSel(6);
        const std::optional<QString> csv = f.copy(&CopyCommands::mnuSelectCpCsv_Click);
        QVERIFY(csv);
        QCOMPARE(parseCsv(*csv), selectedCells(f.view.flexGrid));
        QVERIFY(csv->contains(QStringLiteral(",\"He said \"\"no, thanks\"\"\r\nand left\",")));
    }

    // 200 rows of 6 long cells: both commands copy the whole selection.
    void largeSelection() {
        Fixture f;
        QStringList rows;
        for (int r = 0; r < 200; ++r) {
            QStringList cells;
            for (int c = 0; c < 6; ++c)
                cells << QStringLiteral("row %1 column %2 ").arg(r).arg(c).leftJustified(40, u'.');
            rows << cells.join(u'|');
        }
        fill(f.view.flexGrid, rows, 0, 0, 199, 5);
        const QString clip = f.view.flexGrid.Clip();
        QVERIFY(clip.size() > 40000);

        QCOMPARE(f.copy(&CopyCommands::mnuSelectCpTxt_Click), std::optional<QString>(clip));
        const std::optional<QString> csv = f.copy(&CopyCommands::mnuSelectCpCsv_Click);
        QVERIFY(csv);
        QCOMPARE(csv->size(), clip.size() + 199);  // each row break is one character longer
        QCOMPARE(*csv, QString(clip).replace(u'\t', u',').replace(u'\r', QStringLiteral("\r\n")));
        QCOMPARE(parseCsv(*csv), selectedCells(f.view.flexGrid));
    }

    void treeEntry_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("copied");
        QTest::newRow("column entry, position 10") << "10 COLNAME"
                                                   << "COLNAME";
        QTest::newRow("column entry, position 1") << "1 PRODUCT"
                                                  << "PRODUCT";
        QTest::newRow("index name") << "ITEM_IX1"
                                    << "ITEM_IX1";
        QTest::newRow("table name") << "ITEM"
                                    << "ITEM";
        QTest::newRow("led by 0") << "0 X"
                                  << "0 X";
        QTest::newRow("first space only") << "2 A B"
                                          << "A B";
        QTest::newRow("nothing after the space") << "3 "
                                                 << "";
        QTest::newRow("digit-led without space") << "9LIVES"
                                                 << "";
    }
    void treeEntry() {
        QFETCH(QString, text);
        QFETCH(QString, copied);
        QCOMPARE(treeEntryText(text), copied);
        Fixture f;
        f.view.selectedTreeNode = text;
        QCOMPARE(f.copy(&CopyCommands::mnuCopyTableIndexSelect_Click),
                 copied.isEmpty() ? std::nullopt : std::optional<QString>(copied));
    }

    // A clipboard that cannot be opened: every command runs to its end and changes nothing.
    void refusedClipboardChangesNothing() {
        Fixture f;
        fillItemState(f.state);
        fillItemGrid(f.view.flexGrid);
        f.view.flexGrid.setRow(1);
        f.view.flexGrid.setCol(0);
        f.view.flexGrid.setRowSel(6);
        f.view.flexGrid.setColSel(6);
        f.view.selectedTable = QStringLiteral("ITEM");
        f.view.selectedTreeNode = QStringLiteral("1 ORD_NO");
        f.clipboard.refuseWrites = true;
        const AppState before = f.state;
        const QString clip = f.view.flexGrid.Clip();
        for (Command command :
             {&CopyCommands::mnuCopyTableName_Click, &CopyCommands::mnuCopyAllTableTxt_Click,
              &CopyCommands::mnuSelectCpCsv_Click, &CopyCommands::mnuSelectCpTxt_Click,
              &CopyCommands::mnuCopyTableInfoCsv_Click, &CopyCommands::mnuCopyTableInfoTxt_Click,
              &CopyCommands::mnuCopyPkTxt_Click, &CopyCommands::mnuCopyTableIndexSelect_Click,
              &CopyCommands::mnuCopyTableIndexCsv_Click,
              &CopyCommands::mnuCopyTableIndexTxt_Click}) {
            QCOMPARE(f.copy(command), std::optional<QString>("previous"));
        }
        QCOMPARE(f.clipboard.writes, 10);
        QCOMPARE(f.state.strTableListTxt, before.strTableListTxt);
        QCOMPARE(f.state.strTableInfoCsv, before.strTableInfoCsv);
        QCOMPARE(f.state.strIndexInfoTxt, before.strIndexInfoTxt);
        QCOMPARE(f.view.flexGrid.Clip(), clip);
        QCOMPARE(f.view.flexGrid.Row(), 1);
        QCOMPARE(f.view.flexGrid.RowSel(), 6);
    }
};

QTEST_GUILESS_MAIN(CopyCommandsTest)
#include "tst_copy_commands.moc"
