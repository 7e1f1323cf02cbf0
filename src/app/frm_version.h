// The about window: logo, product name, version and the maker's line.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quarnel {

class frmVersion : public QDialog {
    Q_OBJECT
  public:
    explicit frmVersion(QWidget* mainWindow);

    // The about text, three lines each ending in CR LF.
    static QString aboutText();

    QLabel* Picture1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;

    // Places the window over the main window and plays the opening animation from the pointer.
    void Form_Load();
    void Command1_Click();

  protected:
    void done(int result) override;

  private:
    QWidget* m_mainWindow;
};

}  // namespace quarnel
