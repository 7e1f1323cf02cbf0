#include "app/frm_mainkey.h"

#include "app/eliding_label.h"
#include "app/flex_grid_view.h"
#include "app/frm_mainkey_copy.h"
#include "app/frm_mainkey_snapshot.h"
#include "app/frm_search.h"
#include "app/frm_table_search.h"
#include "app/frm_version.h"
#include "app/grid_editor_widgets.h"
#include "app/image_list.h"
#include "app/index_tree.h"
#include "app/screen_units.h"
#include "app/separator_line.h"
#include "app/table_list_model.h"
#include "app/window_frame.h"
#include "app/zoom_animation.h"
#include "browse/browse_commands.h"
#include "browse/comment_tips.h"
#include "browse/grid_editor.h"
#include "shell/dialogs.h"
#include "shell/ui_texts.h"
#include "support/flex_grid.h"

#include <QCloseEvent>
#include <QCursor>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>
#include <QTreeWidget>

namespace quarnel {
frm_mainkey::frm_mainkey(AppState& state) : QMainWindow(nullptr), m_state(state) {
    setObjectName(QStringLiteral("frm_mainkey"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ui::kMainCaption);
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    m_layout = layout::MainLayout::design();
    createControls();
    createMenus();
    connectCopyCommands(*this, m_state);
    connectSaveCommands();
    connectSnapshotCommands(*this, m_state);
    createStatusBar();
    m_browse = std::make_unique<BrowseCommands>(m_state, *this);
    connectSearchCommands();
    connectGridEditor();
    resizeClientTwips(this, 8985, 6540 + toTwipsY(this, menuBar()->sizeHint().height()));
    applyLayout();
    // The minimum is first set before the window manager has framed the window.
    watchFrame(this, [this](const QMargins&) { tellMinimumSize(); });
}

frm_mainkey::~frm_mainkey() {
    // The controls outlive the units they report to: closing the window moves the focus and
    // would otherwise reach units already gone.
    MSFlexGrid1View->disconnect(this);
    MSFlexGrid1->disconnect(this);
    text1->removeEventFilter(this);
    lstTableList->viewport()->removeEventFilter(this);
    tvTreeView->viewport()->removeEventFilter(this);
}

void frm_mainkey::createControls() {
    auto* client = new SeparatedClientArea(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    const QString titles[] = {ui::kTitleTableList, ui::kTitleTableInfo, ui::kTitleIndexInfo};
    for (int i = 0; i < 3; ++i) {
        lblTitle[i] = new QLabel(titles[i], client);
        lblTitle[i]->setObjectName(QStringLiteral("lblTitle%1").arg(i));
        lblTitle[i]->setAutoFillBackground(true);
        QPalette palette = lblTitle[i]->palette();
        palette.setColor(QPalette::Window, QColor(255, 255, 192));
        lblTitle[i]->setPalette(palette);
    }

    m_tableList = new TableListModel(this);
    lstTableList = new QTreeView(client);
    lstTableList->setObjectName(QStringLiteral("lstTableList"));
    lstTableList->setModel(m_tableList);
    lstTableList->setRootIsDecorated(false);
    lstTableList->setUniformRowHeights(true);
    lstTableList->setItemsExpandable(false);
    lstTableList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstTableList->setSelectionMode(QAbstractItemView::SingleSelection);
    lstTableList->header()->setStretchLastSection(false);
    lstTableList->header()->setSectionResizeMode(QHeaderView::Interactive);
    lstTableList->viewport()->installEventFilter(this);

    MSFlexGrid1 = new FlexGrid(this);
    MSFlexGrid1View = new FlexGridView(MSFlexGrid1, client);
    MSFlexGrid1View->setObjectName(QStringLiteral("MSFlexGrid1"));

    text1 = new QLineEdit(client);
    text1->setObjectName(QStringLiteral("text1"));
    text1->hide();

    imlIcons = makeTreeImageList();
    tvTreeView = new QTreeWidget(client);
    tvTreeView->setObjectName(QStringLiteral("tvTreeView"));
    tvTreeView->setHeaderHidden(true);
    // Every node is one line with a 12-pixel picture, so the tree never measures its nodes.
    tvTreeView->setUniformRowHeights(true);
    tvTreeView->viewport()->installEventFilter(this);
    m_indexTree = std::make_unique<IndexTree>(tvTreeView, imlIcons);

    imgSplitter = createGrabArea(client, true);
    imgSplitter->setObjectName(QStringLiteral("imgSplitter"));
    imgSplitter2 = createGrabArea(client, false);
    imgSplitter2->setObjectName(QStringLiteral("imgSplitter2"));
    picSplitter = createDragBar(client);
    picSplitter2 = createDragBar(client);
    picSplitter->setObjectName(QStringLiteral("picSplitter"));
    picSplitter2->setObjectName(QStringLiteral("picSplitter2"));

    Label1 = new QLabel(client);
    Label1->setObjectName(QStringLiteral("Label1"));

    cmdView = new QPushButton(ui::kCmdView, client);
    cmdView->setObjectName(QStringLiteral("cmdView"));
    cmdView->setToolTip(ui::kCmdViewTip);
    Command1 = new QPushButton(ui::kCommand1, client);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(ui::kCommand1Tip);
    setTabOrder(cmdView, Command1);
    connect(Command1, &QPushButton::clicked, this,
            [this] { runCommand([this] { Command1_Click(); }); });
    connect(cmdView, &QPushButton::clicked, this,
            [this] { runCommand([this] { cmdView_Click(); }); });
}

void frm_mainkey::connectGridEditor() {
    m_gridEditorWidgets =
        std::make_unique<GridEditorWidgets>(text1, MSFlexGrid1View, mnuCopyTableInfo);
    m_gridEditor = std::make_unique<GridEditor>(*MSFlexGrid1, *m_gridEditorWidgets);
    GridEditor* editor = m_gridEditor.get();
    connect(MSFlexGrid1View, &FlexGridView::dblClick, this,
            [editor] { editor->MSFlexGrid1_DblClick(); });
    connect(MSFlexGrid1View, &FlexGridView::mousePressed, this,
            [editor](Qt::MouseButton button) { editor->MSFlexGrid1_MouseDown(button); });
    connect(MSFlexGrid1View, &FlexGridView::gotFocus, this,
            [editor] { editor->MSFlexGrid1_GotFocus(); });
    connect(MSFlexGrid1View, &FlexGridView::lostFocus, this,
            [editor] { editor->MSFlexGrid1_LostFocus(); });
    connect(MSFlexGrid1View, &FlexGridView::scrolled, this,
            [editor] { editor->MSFlexGrid1_Scroll(); });
    connect(MSFlexGrid1, &FlexGrid::RowColChange, this,
            [editor] { editor->MSFlexGrid1_RowColChange(); });
    connect(MSFlexGrid1, &FlexGrid::EnterCell, this, [editor] { editor->MSFlexGrid1_EnterCell(); });
    text1->installEventFilter(this);
}

void frm_mainkey::createStatusBar() {
    sbStatusBar = statusBar();
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setSizeGripEnabled(true);
    const int stretch[] = {0, 0, 1, 0};
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new ElidingLabel(sbStatusBar);
        m_panels[i]->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        // Panel 2 keeps room for the busy text; panels 1 and 4 take their texts' width, and
        // panel 3 (user and host) gives way first when the window is narrow, ending in "…"
        // where its text no longer fits.
        if (i == 1)
            m_panels[i]->setMinimumWidth(toPixelsX(this, 1000));
        if (i == 2)
            m_panels[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        sbStatusBar->addWidget(m_panels[i], stretch[i]);
    }
    setPanelText(1, ui::kDisconnected);
    setPanelText(4, ui::kNoTables);
}

QString frm_mainkey::panelText(int panel) const {
    return panel >= 1 && panel <= 4 ? m_panels[size_t(panel - 1)]->text() : QString();
}

void frm_mainkey::setPanelText(int panel, const QString& text) {
    if (panel >= 1 && panel <= 4)
        m_panels[size_t(panel - 1)]->setText(text);
}

void frm_mainkey::setUpControls() {
    m_gridEditor->blnLoading = true;
    FlexGrid& grid = *MSFlexGrid1;
    grid.setRows(2);
    grid.setRow(0);
    grid.setWidth(5800);
    const int widths[] = {400, 300, 2000, 500, 600, 800};
    for (int c = 0; c < 6; ++c)
        grid.setColWidth(c, widths[c]);
    grid.setRowHeight(0, 250);
    grid.setCols(7);
    setTableInfoHeadings(grid);
    grid.setRow(1);
    grid.setCol(1);

    text1->setText(QString());
    text1->hide();
    grid.setBackColorSel(rgb(200, 200, 255));
    grid.setForeColorSel(rgb(192, 0, 0));
    QPalette palette = text1->palette();
    palette.setColor(QPalette::Base, QColor(200, 200, 255));
    palette.setColor(QPalette::Text, QColor(255, 0, 0));
    text1->setPalette(palette);
    m_gridEditor->blnLoading = false;

    tvTreeView->setIndentation(toPixelsX(this, 400));
    m_layout.lstTableListHeaderWidth = m_layout.lstTableList.width - 500;
    lstTableList->header()->resizeSection(0, toPixelsX(this, m_layout.lstTableListHeaderWidth));
    m_state.sngSplitter2Top = m_layout.picSplitter2.top;
}

void frm_mainkey::Form_Load() {
    const QPoint pointer = QCursor::pos();
    centreOnScreen(this);
    zoomOpen(this, pointer);
    setUpControls();
    show();
    processPendingMessages();
    runCommand([this] { mnuDBLogIn_Click(); });
}

void frm_mainkey::applyLayout() {
    for (int i = 0; i < 3; ++i)
        place(lblTitle[i], m_layout.lblTitle[i]);
    place(lstTableList, m_layout.lstTableList);
    place(MSFlexGrid1View, m_layout.MSFlexGrid1);
    MSFlexGrid1->setLeft(m_layout.MSFlexGrid1.left);
    MSFlexGrid1->setTop(m_layout.MSFlexGrid1.top);
    MSFlexGrid1->setWidth(m_layout.MSFlexGrid1.width);
    MSFlexGrid1->setHeight(m_layout.MSFlexGrid1.height);
    place(tvTreeView, m_layout.tvTreeView);
    place(imgSplitter, m_layout.imgSplitter);
    place(imgSplitter2, m_layout.imgSplitter2);
    place(picSplitter, m_layout.picSplitter);
    place(picSplitter2, m_layout.picSplitter2);
    picSplitter->setVisible(m_layout.picSplitterVisible);
    picSplitter2->setVisible(m_layout.picSplitter2Visible);
    imgSplitter->raise();
    imgSplitter2->raise();
    picSplitter->raise();
    picSplitter2->raise();
    place(cmdView, m_layout.cmdView);
    place(Command1, m_layout.Command1);
    place(Label1, m_layout.Label1);
    lstTableList->header()->resizeSection(0, toPixelsX(this, m_layout.lstTableListHeaderWidth));
}

void frm_mainkey::runCommand(const std::function<void()>& command) {
    if (m_commandRunning)
        return;
    m_commandRunning = true;
    try {
        command();
    } catch (...) {
        m_commandRunning = false;
        throw;
    }
    m_commandRunning = false;
    if (m_closePending) {
        m_closePending = false;
        close();
    }
}

void frm_mainkey::mnuFile_Click() {
    mnuSaveAllTable->setEnabled(!m_state.strTableListTxt.isEmpty());
    mnuSaveInfoTable->setEnabled(!m_state.strTableInfoCsv.isEmpty());
    mnuSaveTableIndex->setEnabled(!m_state.strIndexInfoCsv.isEmpty());
    mnuDefinition->setEnabled(m_state.blnConnected);
    mnuSnapshotSave->setEnabled(m_state.blnConnected);
}

void frm_mainkey::mnuVer_Click() {
    frmVersion about(this);
    about.Form_Load();
    m_state.dialogs->runModal(about);
}

void frm_mainkey::Command1_Click() {
    close();
}

void frm_mainkey::munE_Click() {
    close();
}

void frm_mainkey::mnuStampOn_Click() {
    m_gridEditor->mnuStampOn_Click();
}

void frm_mainkey::mnuStampOff_Click() {
    m_gridEditor->mnuStampOff_Click();
}

void frm_mainkey::closeEvent(QCloseEvent* event) {
    // A close is never refused. While a command runs it holds the window and the database, so
    // the window closes as soon as that command has finished.
    if (m_commandRunning) {
        m_closePending = true;
        event->ignore();
        return;
    }
    closeCreateView();
    if (m_searchView != nullptr)
        m_searchView->close();
    zoomClose(this);
    event->accept();
}

bool frm_mainkey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && watched == MSFlexGrid1View->viewport())
        return showGridToolTip(event);
    if (watched == text1) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            const int keyAscii =
                enter ? 13 : (key->text().isEmpty() ? 0 : key->text()[0].unicode());
            return m_gridEditor->Text1_KeyPress(keyAscii);
        }
        // Leaving the window (another program, a menu) is no loss of focus inside it.
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                m_gridEditor->text1_LostFocus();
        }
        return QMainWindow::eventFilter(watched, event);
    }
    // A double click anywhere in the list, on an item or not, shows the selected table.
    if (event->type() == QEvent::MouseButtonDblClick && watched == lstTableList->viewport() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        runCommand([this] { lstTableList_DblClick(); });
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && !m_commandRunning) {
            if (watched == lstTableList->viewport()) {
                mnuCopyAllTable->exec(mouse->globalPosition().toPoint());
                return true;
            }
            if (watched == tvTreeView->viewport()) {
                mnuCopyTableIndex->exec(mouse->globalPosition().toPoint());
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace quarnel
