// The busy window: a borderless picture shown above every other window while a lookup runs.
#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;

namespace quarnel {

class frmSearch : public QWidget {
    Q_OBJECT
  public:
    explicit frmSearch(QWidget* mainWindow);
    ~frmSearch() override;

    QLabel* Picture1 = nullptr;

    // The window's recorded handle while it is loaded, 0 otherwise.
    WId recordedHandle() const { return m_handle; }

    // Loads and shows the window over the main window, painted before the lookup blocks.
    void Form_Load();
    // Clears the recorded handle and closes the window.
    void Unload();

    // Keeps the window above all others (true) or lets it go back among them (false). Does
    // nothing while no handle is recorded.
    void SetTopMost(bool onTop);

  private:
    QWidget* m_mainWindow;
    WId m_handle = 0;
};

// The busy window's picture, drawn for the window's own client size so that none of it is cut:
// a light panel with a rule round its edge, three squares and the busy text.
QPixmap busyPicture(const QSize& size);

// Lets the window system paint and deliver everything pending except user input, so that no
// second command can start while a lookup holds the user-interface thread.
void processPendingMessages();

}  // namespace quarnel
