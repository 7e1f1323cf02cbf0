#include "app/frm_start.h"

#include "app/screen_units.h"

#include <QLabel>

namespace quarnel {

frmStart::frmStart(std::function<void()> openMain)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_openMain(std::move(openMain)) {
    setObjectName(QStringLiteral("FrmStart"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(toPixelsX(this, 6015), toPixelsY(this, 3750));
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(QPixmap(QStringLiteral(":/images/start.png")));
    Picture1->setScaledContents(true);
    Picture1->setGeometry(rect());
    Timer1.setInterval(1500);
    connect(&Timer1, &QTimer::timeout, this, &frmStart::Timer1_Timer);
}

void frmStart::Form_Load() {
    centreOnScreen(this);
    show();
    Timer1.start();
}

void frmStart::Timer1_Timer() {
    // The timer stops before anything else, so a second tick can never come.
    Timer1.stop();
    auto openMain = std::move(m_openMain);
    m_openMain = nullptr;
    // Hidden first, so the logon dialog that the main window opens meets no start picture;
    // closed only after the main window exists, so the program does not end in between.
    hide();
    if (openMain)
        openMain();
    close();
}

}  // namespace quarnel
