#include "app/fdlg_ora_logon.h"

#include "app/screen_units.h"
#include "app/zoom_animation.h"
#include "db/logon.h"
#include "shell/dialogs.h"
#include "shell/ui_texts.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QTimer>

namespace quarnel {
namespace {

// Shows each character of a password box as "*".
class AsteriskStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        if (hint == SH_LineEdit_PasswordMaskDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

fdlgOraLogon::fdlgOraLogon(AppState& state, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      m_state(state),
      m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("fdlgOraLogon"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    QFont font(ui::kLogonFont);
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    setFixedSize(toPixelsX(this, 5370), toPixelsY(this, 1410));

    auto label = [this](const QString& name, const QString& text, double l, double t, double w,
                        double h) {
        auto* control = new QLabel(text, this);
        control->setObjectName(name);
        setGeometryTwips(control, l, t, w, h);
        return control;
    };
    auto textBox = [this](const QString& name, double l, double t, double w, double h) {
        auto* control = new QLineEdit(this);
        control->setObjectName(name);
        setGeometryTwips(control, l, t, w, h);
        control->installEventFilter(this);
        return control;
    };
    auto button = [this](const QString& name, const QString& text, double l, double t, double w,
                         double h) {
        auto* control = new QPushButton(text, this);
        control->setObjectName(name);
        control->setAutoDefault(false);
        control->setDefault(false);
        setGeometryTwips(control, l, t, w, h);
        control->installEventFilter(this);
        return control;
    };

    lblUsrID = label(QStringLiteral("lblUsrID"), ui::kLogonUserLabel, 135, 100, 1080, 180);
    txtUsrID = textBox(QStringLiteral("txtUsrID"), 1395, 45, 2445, 270);
    txtUsrID->setAttribute(Qt::WA_InputMethodEnabled, false);
    lblPasswd0 = label(QStringLiteral("lblPasswd0"), ui::kLogonPasswordLabel, 135, 420, 1080, 180);
    txtPasswd = textBox(QStringLiteral("txtPasswd"), 1395, 360, 2445, 270);
    auto* asterisks = new AsteriskStyle;
    asterisks->setParent(txtPasswd);
    txtPasswd->setStyle(asterisks);
    txtPasswd->setEchoMode(QLineEdit::Password);
    lblPasswd1 = label(QStringLiteral("lblPasswd1"), ui::kLogonHostLabel, 135, 720, 1260, 180);
    txtHost = textBox(QStringLiteral("txtHost"), 1395, 670, 2445, 270);
    txtHost->setAttribute(Qt::WA_InputMethodEnabled, false);
    cmdOK = button(QStringLiteral("cmdOK"), ui::kLogonOk, 4050, 45, 1185, 420);
    cmdCancel = button(QStringLiteral("cmdCancel"), ui::kLogonCancel, 4050, 585, 1185, 420);
    lblMessage = label(QStringLiteral("lblMessage"), QString(), 0, 1080, 5345, 225);

    setTabOrder(txtUsrID, txtPasswd);
    setTabOrder(txtPasswd, txtHost);
    setTabOrder(txtHost, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    for (QLabel* control : {lblUsrID, lblPasswd0, lblPasswd1, lblMessage}) {
        control->setFocusPolicy(Qt::NoFocus);
    }

    connect(cmdOK, &QPushButton::clicked, this, &fdlgOraLogon::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &fdlgOraLogon::cmdCancel_Click);
    txtUsrID->setFocus();
}

void fdlgOraLogon::Form_Load() {
    centreOver(this, m_mainWindow);
    zoomOpenFromOffset(this);
    m_state.blnConnected = false;
    setWindowTitle(executableName());
}

void fdlgOraLogon::cmdCancel_Click() {
    reject();
}

void fdlgOraLogon::cmdOK_Click() {
    // Clear what an earlier attempt left; either object may not exist yet.
    db::resetServerErrors(m_state.objOraSession.get(), m_state.objOraDatabase.get());

    m_state.blnConnected = false;
    const QString user = txtUsrID->text();
    if (!db::hasUserId(user)) {
        m_state.dialogs->message(this, ui::kNoUserName, MessageIcon::Exclamation, executableName());
        txtUsrID->setFocus();
        return;
    }
    const QString host = txtHost->text();

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    lblMessage->setText(ui::kConnecting);
    repaint();

    // The typed password is only viewed; the attempt copies it into its connect string alone.
    const QString typed = txtPasswd->text();
    const db::LogonResult result = db::logOn(m_state.sessionFactory, {user, typed, host},
                                             m_state.objOraSession, m_state.objOraDatabase);
    m_state.strUserId = result.userId;
    m_state.strHostString = result.hostString;
    m_state.blnConnected = result.connected;
    QGuiApplication::restoreOverrideCursor();
    if (!result.connected)
        m_state.dialogs->message(this, result.failure, MessageIcon::Exclamation, executableName());

    lblMessage->clear();
    if (m_state.blnConnected) {
        txtPasswd->clear();
        accept();
    } else {
        txtUsrID->setFocus();
    }
}

bool fdlgOraLogon::eventFilter(QObject* watched, QEvent* event) {
    if (auto* button = qobject_cast<QPushButton*>(watched)) {
        // Neither button is the default one, but Enter presses the button that has the focus.
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                button->click();
                return true;
            }
        }
        return false;
    }
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box == nullptr)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        // The whole text is selected whenever a box gains the focus, also by a click.
        QTimer::singleShot(0, box, [box] { box->selectAll(); });
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool down = key == Qt::Key_Down;
    if (!enter && !down)
        return false;
    if (box == txtUsrID) {
        txtPasswd->setFocus();
    } else if (box == txtPasswd) {
        txtHost->setFocus();
    } else if (enter) {
        cmdOK_Click();
    } else {
        cmdOK->setFocus();
    }
    return true;
}

void fdlgOraLogon::done(int result) {
    // The typed password is not kept once the dialog closes.
    txtPasswd->clear();
    zoomClose(this);
    QDialog::done(result);
}

}  // namespace quarnel
