// The Edit menu's copy commands. Each one first empties the clipboard, then puts on it the plain
// text it copies, when there is any: a program-wide text as the catalogue built it, the selected
// table's name, the grid's selected cells, or the selected index-tree entry. None of them queries
// the database or reports anything to the user; a clipboard that cannot be written changes
// nothing else.
#pragma once

#include <QString>

namespace quarnel {

struct AppState;
class Clipboard;
class FlexGrid;
class MainView;

// True when the grid selection text `clip` (cells joined by tab, rows by carriage return) has
// content: at least one of its first three characters is neither a tab, a line feed nor a
// carriage return. Only those three are looked at, so an empty text has none.
bool selectionHasContent(const QString& clip);

// The grid's selected range (the cells `Clip` gives) as CSV: the cells of a row joined by ",",
// rows joined by CR LF, no line end after the last row. A cell holding a comma, a double quote,
// a CR or an LF is enclosed in double quotes with its inner quotes doubled; every other cell
// stands as it is. Any size is converted whole.
QString selectionCsv(const FlexGrid& grid);

// What copying the index-tree entry `text` yields: for a text whose first character is one of
// the digits 1 to 9 (a column entry, "position name"), what follows its first space (empty when
// it has none); any other text (an index or the table name) whole.
QString treeEntryText(const QString& text);

class CopyCommands {
  public:
    // The commands read `state` and the selections of `view` (the table list's item, the grid's
    // cells, the index tree's node) and write `clipboard`; all three must outlive them.
    CopyCommands(const AppState& state, Clipboard& clipboard, MainView& view);

    // The selected table's name alone; nothing while disconnected.
    void mnuCopyTableName_Click();
    // strTableListTxt.
    void mnuCopyAllTableTxt_Click();
    // The grid's selected cells as CSV and as tab-separated text, when the selection has content.
    void mnuSelectCpCsv_Click();
    void mnuSelectCpTxt_Click();
    // strTableInfoCsv, strTableInfoTxt.
    void mnuCopyTableInfoCsv_Click();
    void mnuCopyTableInfoTxt_Click();
    // strPkTxt.
    void mnuCopyPkTxt_Click();
    // The selected index-tree entry (see treeEntryText); nothing for a tree without nodes.
    void mnuCopyTableIndexSelect_Click();
    // strIndexInfoCsv, strIndexInfoTxt.
    void mnuCopyTableIndexCsv_Click();
    void mnuCopyTableIndexTxt_Click();

  private:
    // Empties the clipboard, then puts `text` on it unless it is empty.
    void copy(const QString& text);

    const AppState& m_state;
    Clipboard& m_clipboard;
    MainView& m_view;
};

}  // namespace quarnel
