// The DDL window: the chosen table's script in a text box, with copy and save.
//
// It is opened by the main window's "ｸﾘｴｲﾄ文画面", which stays disabled while the window is
// open; every way of closing it enables that entry again and clears blnCreateViewOpen.
#pragma once

#include "shell/app_state.h"
#include "support/create_view_layout.h"

#include <QMainWindow>
#include <QPointer>

#include <optional>

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace quarnel {

class Clipboard;
struct SaveEnvironment;
struct SaveNames;

class frmCreate : public QMainWindow {
    Q_OBJECT
  public:
    // `saveNames` outlives the window: the save dialog's names are kept for the whole run.
    frmCreate(AppState& state, QWidget* mainWindow, QAction* mnuViewCr, SaveNames& saveNames,
              Clipboard& clipboard, const SaveEnvironment& environment);

    QPlainTextEdit* rtxtCrMoniter = nullptr;
    QPushButton* Command1 = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuEnd = nullptr;
    QMenu* mnuE = nullptr;
    QAction* mnuCopy = nullptr;

    // The script shown for the program-wide texts: the table script, an empty line and the
    // index script.
    static QString script(const AppState& state);

    // The load: the script when a table script exists, blnCreateViewOpen, the placement over the
    // main window and the opening animation.
    void Form_Load();
    void Form_Resize();
    void Command1_Click();
    void mnuEnd_Click();
    void mnuCopy_Click();
    void SaveDdlFile();
    std::optional<QString> WriteDdlFile(const QString& path, int format);

    // Replaces the box's text.
    void setScript(const QString& text);
    // The box's current text with CR LF line ends.
    QString boxText() const;

    const layout::CreateViewLayout& layout() const { return m_layout; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void createMenus();
    void applyLayout();

    AppState& m_state;
    QWidget* m_mainWindow;
    QPointer<QAction> m_mnuViewCr;
    SaveNames& m_saveNames;
    Clipboard& m_clipboard;
    const SaveEnvironment& m_environment;
    layout::CreateViewLayout m_layout = layout::CreateViewLayout::design();
    // The frame's extra size when the layout last ran: the window system adds the frame only
    // after the first show, and the outer minimum depends on it.
    QSize m_frame;
};

}  // namespace quarnel
