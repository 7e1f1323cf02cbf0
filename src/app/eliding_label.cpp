#include "app/eliding_label.h"

#include <QPainter>
#include <QStyle>

namespace quarnel {

QRect ElidingLabel::textRect() const {
    QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    // As a framed label indents its text: half an "x" from the frame, here on both sides.
    const int inset = indent() >= 0
                          ? indent()
                          : (frameWidth() > 0 ? fontMetrics().horizontalAdvance(u'x') / 2 : 0);
    return area.adjusted(inset, 0, -inset, 0);
}

QString ElidingLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, std::max(0, textRect().width()));
}

void ElidingLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, textRect(),
                          int(QStyle::visualAlignment(layoutDirection(), alignment())), palette(),
                          isEnabled(), shownText(), foregroundRole());
}

}  // namespace quarnel
