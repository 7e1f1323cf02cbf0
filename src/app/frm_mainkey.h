// The main window: the table list, the detail grid, the index tree, the status bar and the menu.
//
// The window creates its controls, lays them out and connects its menu entries and buttons to the
// command units (src/browse, src/export); to those units it is a MainView over its controls.
#pragma once

#include "browse/main_view.h"
#include "shell/app_state.h"
#include "support/main_layout.h"

#include <QHash>
#include <QIcon>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;

namespace quarnel {

class BrowseCommands;
class FlexGrid;
class frmCreate;

class GridEditor;
class GridEditorWidgets;
class frmSearch;
class frmTableSearch;
class CommentTips;
class FlexGridView;
class IndexTree;
class TableListModel;

class frm_mainkey : public QMainWindow, public MainView {
    Q_OBJECT
  public:
    explicit frm_mainkey(AppState& state);
    ~frm_mainkey() override;

    // Controls.
    std::array<QLabel*, 3> lblTitle{};
    QTreeView* lstTableList = nullptr;
    FlexGrid* MSFlexGrid1 = nullptr;          // the grid's cells and properties
    FlexGridView* MSFlexGrid1View = nullptr;  // the control that draws them
    QLineEdit* text1 = nullptr;
    QTreeWidget* tvTreeView = nullptr;
    QHash<QString, QIcon> imlIcons;
    QWidget* picSplitter = nullptr;
    QWidget* picSplitter2 = nullptr;
    QWidget* imgSplitter = nullptr;
    QWidget* imgSplitter2 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdView = nullptr;
    QPushButton* Command1 = nullptr;
    QStatusBar* sbStatusBar = nullptr;

    // Menu entries, by their names in the menu tree.
    QMenu* mnuFile = nullptr;
    QMenu* mnuSave = nullptr;
    QAction* mnuSaveAllTable = nullptr;
    QAction* mnuSaveInfoTable = nullptr;
    QAction* mnuSaveTableIndex = nullptr;
    QAction* mnuDefinition = nullptr;
    QAction* mnuSnapshotSave = nullptr;
    QAction* munE = nullptr;
    QMenu* mnuL = nullptr;
    QAction* mnuDBLogIn = nullptr;
    QAction* mnuCut = nullptr;
    QMenu* mnuE = nullptr;
    QMenu* mnuCopyAllTable = nullptr;
    QAction* mnuCopyTableName = nullptr;
    QAction* mnuCopyAllTableTxt = nullptr;
    QAction* mnuTableS = nullptr;
    QMenu* mnuCopyTableInfo = nullptr;
    QMenu* mnuSelectCp = nullptr;
    QAction* mnuSelectCpCsv = nullptr;
    QAction* mnuSelectCpTxt = nullptr;
    QMenu* mnuCopyTableInfoAll = nullptr;
    QAction* mnuCopyTableInfoCsv = nullptr;
    QAction* mnuCopyTableInfoTxt = nullptr;
    QAction* mnuCopyPkTxt = nullptr;
    QAction* mnuStampOn = nullptr;
    QAction* mnuStampOff = nullptr;
    QMenu* mnuCopyTableIndex = nullptr;
    QAction* mnuCopyTableIndexSelect = nullptr;
    QMenu* mnuCopyTableIndexAll = nullptr;
    QAction* mnuCopyTableIndexCsv = nullptr;
    QAction* mnuCopyTableIndexTxt = nullptr;
    QMenu* mnuS = nullptr;
    QAction* mnuTableNameS = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuViewCr = nullptr;
    QAction* mnuSchemaCompare = nullptr;
    QMenu* mnuO = nullptr;
    QMenu* mnuSearch = nullptr;
    QAction* mnuTableSearch = nullptr;
    QAction* mnuIndexSearch = nullptr;
    QAction* mnuAllSearch = nullptr;
    QMenu* mnuH = nullptr;
    QAction* mnuHelp = nullptr;
    QAction* mnuVer = nullptr;

    // Status bar panels 1 to 4.
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text) override;

    // The window's load: centring, animation, grid, tree and list set-up, show, then the
    // connect command.
    void Form_Load();
    // The same set-up without showing the window or running the connect command.
    void setUpControls();

    // Commands.
    void mnuFile_Click();
    void mnuDBLogIn_Click();
    void mnuCut_Click();
    void mnuTableS_Click();
    void mnuVer_Click();
    void Command1_Click();
    void munE_Click();
    void mnuStampOn_Click();
    void mnuStampOff_Click();

    // Reads the table list into the list, panel 4 and strTableListTxt.
    void LoadTableList();

    // Table selection: a double click on the list and "実　行" run the select-table command,
    // which shows the chosen table's columns in the grid and its indexes in the tree.
    void lstTableList_DblClick();
    void cmdView_Click();
    // Selects the list item with this text; false when there is none.
    bool selectTableInList(const QString& name) override;
    // The tree node with this key (see catalog::tableNodeKey and indexNodeKey), or null.
    QTreeWidgetItem* treeNode(const QString& key) const;

    // The DDL window's text, set while it is open. Until that window exists nothing receives it.
    std::function<void(const QString&)> setCreateViewText;

    // The save commands and the DDL window (frm_mainkey_save.cpp).
    void connectSaveCommands();
    void SaveListFile(int kind);
    void mnuViewCr_Click();
    void mnuDefinition_Click();
    // The DDL window while it exists, else null.
    frmCreate* createView() const;
    // Closes the DDL window when it is open; the main window's close runs this first.
    void closeCreateView();

    // The search window (frm_mainkey_search.cpp): "ﾃｰﾌﾞﾙ･項目検索(&S)..." (Ctrl+F) opens it, or
    // brings it to the front; a jump from it shows the table and makes the column's row current.
    void mnuTableNameS_Click();
    void showSearchHit(const QString& table, const QString& column);
    // The search window while it exists, else null.
    frmTableSearch* searchView() const { return m_searchView; }

    // MainView: the controls as the command units see them.
    QWidget* dialogParent() override { return this; }
    void setConnectedMenus(bool connected) override;
    void runLogonDialog() override;
    void showBusyWindow() override;
    void hideBusyWindow() override;
    void processPendingMessages() override;
    void setTableNames(catalog::TableNames names) override;
    catalog::TableNames takeTableNames() override;
    QString selectedTableName() const override;
    FlexGrid& grid() override { return *MSFlexGrid1; }
    void closeGridEditor() override;
    void clearTree() override;
    void addTreeNodes(const std::vector<catalog::IndexTreeNode>& nodes) override;
    QString selectedTreeNodeText() const override;
    void setPaneTitles(const QString& gridTitle, const QString& treeTitle) override;
    void refreshCreateView(const QString& text) override;

    // Layout: resize handling and the two splitters (positions in twips, relative to the grab
    // area that was pressed).
    void Form_Resize();
    void imgSplitter_MouseDown();
    void imgSplitter_MouseMove(double X);
    void imgSplitter_MouseUp();
    void imgSplitter2_MouseDown();
    void imgSplitter2_MouseMove(double Y);
    void imgSplitter2_MouseUp();
    bool blnDragging() const { return m_blnDragging; }

    // The detail grid's editor, context menu and marks.
    GridEditor& gridEditor() { return *m_gridEditor; }

    // True while a command runs; no other command starts then.
    bool commandRunning() const { return m_commandRunning; }
    // True when the window was asked to close while a command ran: it closes once that ends.
    bool closePending() const { return m_closePending; }

    // The main layout as last applied, in twips.
    const layout::MainLayout& layout() const { return m_layout; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void createMenus();
    void createStatusBar();
    // The search window's entry and the comment tooltips of the list and the grid.
    void connectSearchCommands();
    bool showGridToolTip(QEvent* event);
    // Forwards the grid's and the editor's events to the grid editor.
    void connectGridEditor();
    // Runs `command` unless another command is running; a close asked for meanwhile follows it.
    void runCommand(const std::function<void()>& command);
    void applyLayout();
    // The busy window, made on first use and kept for the next lookup while hidden.
    frmSearch& busyWindow();
    QWidget* createGrabArea(QWidget* parent, bool vertical);
    QWidget* createDragBar(QWidget* parent);
    struct WindowSize {
        double width;         // outer width, twips
        double height;        // outer height, twips
        double clientHeight;  // from under the menu bar to the bottom edge, twips
    };
    WindowSize windowSizeTwips() const;
    // Tells the window system the smallest client size, for the minimum outer size.
    void tellMinimumSize();

    AppState& m_state;
    TableListModel* m_tableList = nullptr;
    std::unique_ptr<IndexTree> m_indexTree;
    std::unique_ptr<BrowseCommands> m_browse;
    std::unique_ptr<GridEditorWidgets> m_gridEditorWidgets;
    std::unique_ptr<GridEditor> m_gridEditor;
    frmSearch* m_busyWindow = nullptr;
    frmTableSearch* m_searchView = nullptr;
    std::unique_ptr<CommentTips> m_commentTips;
    std::array<QLabel*, 4> m_panels{};
    layout::MainLayout m_layout;
    bool m_blnDragging = false;
    bool m_commandRunning = false;
    bool m_closePending = false;
};

}  // namespace quarnel
