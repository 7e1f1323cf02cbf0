// The schema comparison's report window: modeless, its text selectable and copyable, with buttons
// to copy it whole, save it as a text file and close the window.
#pragma once

#include <QWidget>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace quarnel {

class Clipboard;

class frmCompare : public QWidget {
    Q_OBJECT
  public:
    // `save` is called with the report's text when the save button is clicked.
    frmCompare(QWidget* mainWindow, const QString& title, const QString& report,
               Clipboard& clipboard, std::function<void(const QString&)> save);

    QPlainTextEdit* txtReport = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClose = nullptr;

    // The report with CR LF line ends, as it is copied and saved.
    const QString& report() const { return m_report; }

  private:
    QString m_report;
};

}  // namespace quarnel
