#include "app/frm_create.h"

#include "app/copy_key.h"
#include "app/screen_units.h"
#include "app/separator_line.h"
#include "app/zoom_animation.h"
#include "catalog/ddl_script.h"
#include "export/clipboard.h"
#include "export/save_file.h"
#include "export/save_texts.h"
#include "shell/dialogs.h"
#include "shell/ui_texts.h"
#include "support/line_end.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quarnel {
frmCreate::frmCreate(AppState& state, QWidget* mainWindow, QAction* mnuViewCr, SaveNames& saveNames,
                     Clipboard& clipboard, const SaveEnvironment& environment)
    : QMainWindow(mainWindow, Qt::Window),
      m_state(state),
      m_mainWindow(mainWindow),
      m_mnuViewCr(mnuViewCr),
      m_saveNames(saveNames),
      m_clipboard(clipboard),
      m_environment(environment) {
    setObjectName(QStringLiteral("frmCreate"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ui::kCreateViewCaption);
    if (mainWindow != nullptr)
        setWindowIcon(mainWindow->windowIcon());

    auto* client = new SeparatedClientArea(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    rtxtCrMoniter = new QPlainTextEdit(client);
    rtxtCrMoniter->setObjectName(QStringLiteral("rtxtCrMoniter"));
    rtxtCrMoniter->setLineWrapMode(QPlainTextEdit::NoWrap);
    rtxtCrMoniter->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The designed font, or a Japanese one where it is not installed.
    QFont font;
    font.setFamilies({ui::kCreateViewFont, QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic")});
    font.setPointSize(9);
    rtxtCrMoniter->setFont(font);

    Command1 = new QPushButton(ui::k_frmCreate_Command1, client);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &frmCreate::Command1_Click);

    createMenus();
    // The copy key in the box copies the whole script with CR LF, as the menu's copy does.
    copyKeyRuns(rtxtCrMoniter, mnuCopy);
    resizeClientTwips(this, 5955, 4200 + toTwipsY(this, menuBar()->sizeHint().height()));
    applyLayout();
}

void frmCreate::createMenus() {
    mnuFile = menuBar()->addMenu(ui::k_mnuFile);
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuSave = mnuFile->addAction(ui::k_frmCreate_mnuSave);
    mnuSave->setObjectName(QStringLiteral("mnuSave"));
    mnuFile->addSeparator();
    mnuEnd = mnuFile->addAction(ui::k_munE);
    mnuEnd->setObjectName(QStringLiteral("mnuEnd"));
    mnuE = menuBar()->addMenu(ui::k_mnuE);
    mnuE->setObjectName(QStringLiteral("mnuE"));
    mnuCopy = mnuE->addAction(ui::k_frmCreate_mnuCopy);
    mnuCopy->setObjectName(QStringLiteral("mnuCopy"));
    connect(mnuSave, &QAction::triggered, this, &frmCreate::SaveDdlFile);
    connect(mnuEnd, &QAction::triggered, this, &frmCreate::mnuEnd_Click);
    connect(mnuCopy, &QAction::triggered, this, &frmCreate::mnuCopy_Click);
}

QString frmCreate::script(const AppState& state) {
    return catalog::ddlScript(state.strCreateTableSql, state.strCreateIndexSql);
}

void frmCreate::Form_Load() {
    // Without a table script the box stays empty, even when an index script exists.
    if (!m_state.strCreateTableSql.isEmpty())
        setScript(script(m_state));
    m_state.blnCreateViewOpen = true;
    const QPoint pointer = QCursor::pos();
    centreOver(this, m_mainWindow);
    zoomOpen(this, pointer);
}

void frmCreate::setScript(const QString& text) {
    rtxtCrMoniter->setPlainText(text);
}

QString frmCreate::boxText() const {
    QString text = rtxtCrMoniter->toPlainText();
    text.replace(u'\n', kCrLf);
    return text;
}

void frmCreate::applyLayout() {
    place(rtxtCrMoniter, m_layout.rtxtCrMoniter);
    place(Command1, m_layout.Command1);
}

void frmCreate::Form_Resize() {
    if (isMinimized())
        return;
    const QRect outer = windowRect(this);
    // The window system is told the smallest size as well, so that a drag stops there.
    const QSize frame = outer.size() - size();
    m_frame = frame;
    setMinimumSize(toPixelsX(this, layout::kCreateViewMinimumWidth) - frame.width(),
                   toPixelsY(this, layout::kCreateViewMinimumHeight) - frame.height());
    const layout::OuterSize now{toTwipsX(this, outer.width()), toTwipsY(this, outer.height())};
    const layout::OuterSize wanted = layout::clampCreateViewSize(now);
    if (wanted != now) {
        resize(width() + toPixelsX(this, wanted.width) - outer.width(),
               height() + toPixelsY(this, wanted.height) - outer.height());
    }
    layout::resizeCreateView(m_layout, wanted);
    applyLayout();
}

void frmCreate::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmCreate::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        Form_Resize();
}

void frmCreate::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (windowRect(this).size() - size() != m_frame)
        Form_Resize();
}

void frmCreate::Command1_Click() {
    close();
}

void frmCreate::mnuEnd_Click() {
    close();
}

void frmCreate::mnuCopy_Click() {
    m_clipboard.clear();
    const QString text = boxText();
    if (!text.isEmpty())
        m_clipboard.setText(text);
}

void frmCreate::SaveDdlFile() {
    const SaveContext context{*m_state.dialogs, this, m_environment};
    quarnel::SaveDdlFile(context, m_saveNames, boxText());
}

std::optional<QString> frmCreate::WriteDdlFile(const QString& path, int format) {
    const SaveContext context{*m_state.dialogs, this, m_environment};
    return quarnel::WriteDdlFile(context, path, format, boxText());
}

void frmCreate::closeEvent(QCloseEvent* event) {
    zoomClose(this);
    m_state.blnCreateViewOpen = false;
    if (m_mnuViewCr)
        m_mnuViewCr->setEnabled(true);
    event->accept();
}

}  // namespace quarnel
