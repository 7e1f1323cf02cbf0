#include "app/screen_units.h"

#include "support/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quarnel {
namespace {

const QScreen* screenOf(const QWidget* widget) {
    if (widget != nullptr && widget->screen() != nullptr)
        return widget->screen();
    return QGuiApplication::primaryScreen();
}

}  // namespace

double logicalDpiX(const QWidget* widget) {
    const QScreen* screen = screenOf(widget);
    return screen != nullptr ? screen->logicalDotsPerInchX() : kDefaultDpi;
}

double logicalDpiY(const QWidget* widget) {
    const QScreen* screen = screenOf(widget);
    return screen != nullptr ? screen->logicalDotsPerInchY() : kDefaultDpi;
}

int toPixelsX(const QWidget* widget, double twips) {
    return twipsToPixels(twips, logicalDpiX(widget));
}
int toPixelsY(const QWidget* widget, double twips) {
    return twipsToPixels(twips, logicalDpiY(widget));
}
double toTwipsX(const QWidget* widget, int pixels) {
    return pixelsToTwips(pixels, logicalDpiX(widget));
}
double toTwipsY(const QWidget* widget, int pixels) {
    return pixelsToTwips(pixels, logicalDpiY(widget));
}

void setGeometryTwips(QWidget* widget, double left, double top, double width, double height) {
    widget->setGeometry(toPixelsX(widget, left), toPixelsY(widget, top), toPixelsX(widget, width),
                        toPixelsY(widget, height));
}

void resizeClientTwips(QWidget* window, double width, double height) {
    window->resize(toPixelsX(window, width), toPixelsY(window, height));
}

QRect windowRect(const QWidget* window) {
    QRect frame = window->frameGeometry();
    if (!window->isVisible()) {
        // Before the first show the frame is not known yet: use the client rectangle.
        frame = QRect(window->pos(), window->size());
    }
    return frame;
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = screenOf(window);
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    const QRect own = windowRect(window);
    window->move(area.left() + int((area.width() - own.width()) * 0.5),
                 area.top() + int((area.height() - own.height()) * 0.5));
}

void centreOver(QWidget* window, const QWidget* owner) {
    if (owner == nullptr) {
        centreOnScreen(window);
        return;
    }
    const QRect main = windowRect(owner);
    const QRect own = windowRect(window);
    window->move(main.left() + main.width() / 2 - own.width() / 2,
                 main.top() + main.height() / 2 - own.height() / 2);
}

bool hasRealScreen() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace quarnel
