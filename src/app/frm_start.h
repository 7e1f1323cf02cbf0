// The start-up window: a picture for 1.5 seconds, then the main window.
#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;

namespace quarnel {

class frmStart : public QWidget {
    Q_OBJECT
  public:
    // `openMain` creates and shows the main window; it runs once, on the timer's first tick.
    explicit frmStart(std::function<void()> openMain);

    QLabel* Picture1 = nullptr;
    QTimer Timer1;

    void Form_Load();
    void Timer1_Timer();

  private:
    std::function<void()> m_openMain;
};

}  // namespace quarnel
