#include "app/separator_line.h"

#include "app/screen_units.h"

#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace quarnel {

void DrawSeparatorLine(QWidget* client) {
    QPainter painter(client);
    const int width = client->screen() != nullptr ? client->screen()->geometry().width() : 4096;
    const int lightY = toPixelsY(client, 10);
    painter.setPen(client->palette().color(QPalette::Dark));
    painter.drawLine(0, 0, width, 0);
    painter.setPen(client->palette().color(QPalette::Light));
    painter.drawLine(0, lightY, width, lightY);
}

}  // namespace quarnel
