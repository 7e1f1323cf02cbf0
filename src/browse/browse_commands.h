// The browsing commands of the main window: connect and disconnect, the table list, and the
// select-table command with its two lookups. They work on the program-wide state and on the
// window through MainView; the window only connects its menu entries and buttons to them.
#pragma once

#include "browse/main_view.h"
#include "shell/app_state.h"

namespace quarnel {

class FlexGrid;

// Writes the headings "PK" ... "NULL" over grid columns 1 to 6 (column 0 has none).
void setTableInfoHeadings(FlexGrid& grid);

class BrowseCommands {
  public:
    BrowseCommands(AppState& state, MainView& view);

    // The connect command: the logon dialog, then on success the connected state and a fresh
    // table list. A cancelled or failed logon changes nothing.
    void mnuDBLogIn_Click();
    // The disconnect command: closes the database and brings the window back to its start
    // state; "切断に失敗しました。" when the database cannot be closed.
    void mnuCut_Click();
    // Reads the table list into the list, status panel 4 and strTableListTxt.
    void LoadTableList();

    // The select-table command (a double click on the list, or "実　行"): the selected table's
    // columns in the grid and its indexes in the tree, with their texts.
    void selectTable();
    // The two lookups of the select-table command, for the selected table.
    void LoadTableInfo();
    void LoadIndexInfo();

    // Selects `table` in the list and shows it as the select-table command does; for a column,
    // its grid row then becomes the current cell (at its NAME). The grid row of that column, or
    // 0 when it shows none (or the list has no such table).
    int showTableColumn(const QString& table, const QString& column);
    // The table the grid and the tree show; empty when none.
    const QString& shownTable() const { return m_shownTable; }

  private:
    // True when a database is open. Otherwise runs the connect command in place of the caller,
    // which then does nothing more.
    bool databaseOpen();
    // A catalogue failure: the failure's own text, stop icon, title "SQLｴﾗｰ".
    void showSqlError(const QString& text);

    AppState& m_state;
    MainView& m_view;
    QString m_shownTable;
};

}  // namespace quarnel
