// The main window: the table list, the detail grid, the index tree, the status bar and the menu.
//
// Its handlers are thin: the catalogue reads, the texts and the layout rules live in the core
// library; this class applies their results to the controls.
#pragma once

#include "app/app_state.h"
#include "support/main_layout.h"

#include <QHash>
#include <QIcon>
#include <QMainWindow>

#include <array>
#include <functional>

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

class FlexGrid;
class FlexGridView;
class TableListModel;

class frm_mainkey : public QMainWindow {
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
    void setPanelText(int panel, const QString& text);

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

    // Reads the table list into the list, panel 4 and strTableListTxt.
    void LoadTableList();

    // True while a command runs; no other command starts then.
    bool commandRunning() const { return m_commandRunning; }

    // The main layout as last applied, in twips.
    const layout::MainLayout& layout() const { return m_layout; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void createMenus();
    void createStatusBar();
    // Runs `command` unless another command is running.
    void runCommand(const std::function<void()>& command);
    // Shows a catalogue failure: the failure's own text, stop icon, title "SQLｴﾗｰ".
    void showSqlError(const QString& text);
    void applyLayout();

    AppState& m_state;
    TableListModel* m_tableList = nullptr;
    std::array<QLabel*, 4> m_panels{};
    layout::MainLayout m_layout;
    bool m_blnLoading = false;
    bool m_commandRunning = false;
};

}  // namespace quarnel
