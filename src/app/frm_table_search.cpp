#include "app/frm_table_search.h"

#include "app/screen_units.h"
#include "app/search_result_model.h"
#include "browse/schema_search.h"
#include "shell/ui_texts.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace quarnel {

frmTableSearch::frmTableSearch(AppState& state, QWidget* mainWindow)
    : QMainWindow(mainWindow, Qt::Window),
      m_state(state),
      m_mainWindow(mainWindow),
      m_search(std::make_unique<SchemaSearch>(state)) {
    setObjectName(QStringLiteral("frmTableSearch"));
    setWindowTitle(ui::kSearchCaption);

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(4, 4, 4, 0);
    txtSearch = new QLineEdit(client);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->installEventFilter(this);
    layout->addWidget(txtSearch);

    m_model = new SearchResultModel(*m_search, this);
    lstResult = new QTreeView(client);
    lstResult->setObjectName(QStringLiteral("lstResult"));
    lstResult->setModel(m_model);
    lstResult->setRootIsDecorated(false);
    lstResult->setUniformRowHeights(true);
    lstResult->setItemsExpandable(false);
    lstResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstResult->setSelectionMode(QAbstractItemView::SingleSelection);
    lstResult->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstResult->installEventFilter(this);
    // Fixed widths: a list of 1,000 hits is never measured.
    const int widths[] = {1100, 2500, 2000};
    for (int c = 0; c < 3; ++c)
        lstResult->header()->resizeSection(c, toPixelsX(this, widths[c]));
    layout->addWidget(lstResult);
    setCentralWidget(client);

    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    statusBar()->addWidget(lblCount, 1);

    connect(txtSearch, &QLineEdit::textChanged, this, [this] { txtSearch_Change(); });
    connect(lstResult, &QTreeView::doubleClicked, this,
            [this](const QModelIndex& index) { jumpTo(index.row()); });

    resizeClientTwips(this, 9000, 6000);
}

frmTableSearch::~frmTableSearch() = default;

void frmTableSearch::Form_Load() {
    if (!m_placed) {
        m_placed = true;
        // Beside the main window, where the table a jump selects stays in sight.
        placeBeside(this, m_mainWindow);
    }
    m_readRefused = false;
    show();
    raise();
    activateWindow();
    txtSearch->setFocus();
    txtSearch->selectAll();
    runSearch(true);
}

void frmTableSearch::txtSearch_Change() {
    runSearch(!m_readRefused);
}

void frmTableSearch::runSearch(bool mayRead) {
    // Reading the model runs an event loop: text typed meanwhile is searched once it has ended,
    // never by a second read beside the first.
    if (m_searching) {
        m_searchAgain = true;
        return;
    }
    m_searching = true;
    do {
        m_searchAgain = false;
        const bool hadModel = bool(m_state.schemaModel);
        const bool found = m_search->run(txtSearch->text(), this, mayRead && !m_readRefused);
        if (!found && mayRead && !hadModel)
            m_readRefused = true;
    } while (m_searchAgain);
    m_searching = false;
    m_model->refresh();
    lblCount->setText(m_search->countText());
    if (m_model->rowCount() > 0)
        lstResult->setCurrentIndex(m_model->index(0, 0));
}

bool frmTableSearch::jumpTo(int row) {
    if (m_searching || row < 0 || row >= m_search->rowCount() || !jump)
        return false;
    // The table and column names are copied: the jump may drop the model the hit points into.
    const QString table = m_search->tableName(row);
    const QString column = m_search->columnName(row);
    jump(table, column);
    return true;
}

bool frmTableSearch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && !m_searching) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (key == Qt::Key_Escape && (watched == txtSearch || watched == lstResult)) {
            close();
            return true;
        }
        if (watched == txtSearch && enter) {
            // Enter also reads the model when typing did not (a read cancelled before).
            if (m_search->rowCount() == 0 && m_readRefused) {
                m_readRefused = false;
                runSearch(true);
            }
            jumpTo(0);
            return true;
        }
        if (watched == txtSearch && key == Qt::Key_Down) {
            if (m_model->rowCount() > 0) {
                lstResult->setFocus();
                if (!lstResult->currentIndex().isValid())
                    lstResult->setCurrentIndex(m_model->index(0, 0));
            }
            return true;
        }
        if (watched == lstResult && enter) {
            jumpTo(lstResult->currentIndex().row());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmTableSearch::changeEvent(QEvent* event) {
    // Coming back to the window after a disconnect or a table-list read: the old hits go.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_search->rowCount() > 0 &&
        !m_search->current()) {
        m_search->clear();
        m_model->refresh();
        lblCount->setText(m_search->countText());
    }
    QMainWindow::changeEvent(event);
}

}  // namespace quarnel
