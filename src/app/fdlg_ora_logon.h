// The logon dialog: user ID, password and host string, and the connect attempt.
#pragma once

#include "shell/app_state.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quarnel {

class fdlgOraLogon : public QDialog {
    Q_OBJECT
  public:
    fdlgOraLogon(AppState& state, QWidget* mainWindow);

    QLabel* lblUsrID = nullptr;
    QLineEdit* txtUsrID = nullptr;
    QLabel* lblPasswd0 = nullptr;
    QLineEdit* txtPasswd = nullptr;
    QLabel* lblPasswd1 = nullptr;
    QLineEdit* txtHost = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLabel* lblMessage = nullptr;

    // Places the dialog, plays its opening animation, clears the connection flag and sets the
    // caption. Runs before the dialog is shown.
    void Form_Load();
    // One connect attempt.
    void cmdOK_Click();
    void cmdCancel_Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

  private:
    AppState& m_state;
    QWidget* m_mainWindow;
};

}  // namespace quarnel
