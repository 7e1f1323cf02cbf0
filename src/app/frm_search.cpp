#include "app/frm_search.h"

#include "app/screen_units.h"
#include "shell/ui_texts.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace quarnel {

QPixmap busyPicture(const QSize& size) {
    const QColor paper(255, 255, 240);
    const QColor ink(29, 63, 115);
    const QColor blues[] = {QColor(127, 179, 255), QColor(79, 131, 207), ink};
    QPixmap picture(size);
    picture.fill(paper);
    QPainter painter(&picture);
    // A 2-pixel rule round the edge, inside the picture.
    painter.setPen(QPen(ink, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRectF(picture.rect()).adjusted(1, 1, -1, -1));
    // Three squares, light to dark, then the busy text, all centred on the height.
    const int square = std::max(4, size.height() * 13 / 32);
    const int gap = std::max(2, square / 3);
    int x = std::max(6, size.height() / 4);
    const int top = (size.height() - square) / 2;
    for (const QColor& blue : blues) {
        painter.fillRect(QRect(x, top, square, square), blue);
        x += square + gap;
    }
    QFont font = painter.font();
    font.setPixelSize(std::max(8, size.height() / 2));
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QRect(x + gap, 0, size.width() - x - gap - 4, size.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, ui::kSearching);
    return picture;
}

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
    Picture1->setGeometry(rect());
    Picture1->setPixmap(busyPicture(size()));
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
