// The search window "Quarnel(Search)": a text box and the hits of its text over every table and
// column, updated as the user types, with the count in the status line.
//
// Keys: Enter in the box jumps to the first hit; Down moves into the list; Enter or a double
// click on a hit jumps to it; Escape closes the window. A jump goes through `jump` (the main
// window shows the table and, for a column, makes its grid row current); the window stays open.
// Closing only hides it: the main window shows it again with the last query.
#pragma once

#include "shell/app_state.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QTreeView;

namespace quarnel {

class SchemaSearch;
class SearchResultModel;

class frmTableSearch : public QMainWindow {
    Q_OBJECT
  public:
    frmTableSearch(AppState& state, QWidget* mainWindow);
    ~frmTableSearch() override;

    QLineEdit* txtSearch = nullptr;
    QTreeView* lstResult = nullptr;
    QLabel* lblCount = nullptr;

    // Shows the table `table` and, unless empty, its column `column` in the main window.
    std::function<void(const QString& table, const QString& column)> jump;

    // Opens the window (first time: centred over the main window) or brings it to the front,
    // with the last query selected in the box and its hits searched again.
    void Form_Load();
    // Searches for the box's text now. The model is read when none is loaded unless a read was
    // cancelled since the window opened (then Enter reads it).
    void txtSearch_Change();
    // Jumps to the hit in row `row` of the list; false when there is none.
    bool jumpTo(int row);

    const SchemaSearch& search() const { return *m_search; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void runSearch(bool mayRead);

    AppState& m_state;
    QWidget* m_mainWindow;
    std::unique_ptr<SchemaSearch> m_search;
    SearchResultModel* m_model = nullptr;
    bool m_placed = false;
    // The user cancelled (or a failure ended) a model read: typing reads no more until Enter.
    bool m_readRefused = false;
    // A search runs (it may be reading the model); text changed meanwhile asks for another.
    bool m_searching = false;
    bool m_searchAgain = false;
};

}  // namespace quarnel
