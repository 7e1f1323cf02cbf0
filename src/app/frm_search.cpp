#include "app/frm_search.h"

#include "app/screen_units.h"

#include <QCoreApplication>
#include <QLabel>

namespace quarnel {

void processPendingMessages() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

frmSearch::frmSearch(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint), m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("frmSearch"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(toPixelsX(this, 2880), toPixelsY(this, 480));
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(QPixmap(QStringLiteral(":/images/busy.png")));
    Picture1->setAlignment(Qt::AlignCenter);
    Picture1->setGeometry(rect());
}

frmSearch::~frmSearch() {
    m_handle = 0;
}

void frmSearch::Form_Load() {
    centreOver(this, m_mainWindow);
    processPendingMessages();
    m_handle = winId();
    SetTopMost(true);
    show();
    processPendingMessages();
}

void frmSearch::Unload() {
    m_handle = 0;
    close();
}

void frmSearch::SetTopMost(bool onTop) {
    if (m_handle == 0)
        return;
    // Only the stacking changes: the window keeps its place and size.
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible)
        show();
}

}  // namespace quarnel
