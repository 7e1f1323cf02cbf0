#include "app/screen_units.h"

#include "app/window_frame.h"
#include "support/twips.h"
#include "support/window_placement.h"

#include <QGuiApplication>
#include <QPointer>
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

void place(QWidget* widget, const layout::Rect& rect) {
    setGeometryTwips(widget, rect.left, rect.top, rect.width, rect.height);
}

void resizeClientTwips(QWidget* window, double width, double height) {
    window->resize(toPixelsX(window, width), toPixelsY(window, height));
}

QRect windowRect(const QWidget* window) {
    // A frame that does not enclose the client is not settled yet and is not taken.
    if (window->isVisible() &&
        placement::frameMarginsAround(window->frameGeometry(), window->geometry()))
        return window->frameGeometry();
    // Not framed yet: the frame the window manager will add, round the client, from the
    // position that a move gives the frame's top-left.
    return QRect(window->pos(), placement::outerSize(window->size(), frameMargins(window)));
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = screenOf(window);
    if (screen == nullptr)
        return;
    const QMargins frame = frameMargins(window);
    const QPoint at = placement::centredOnArea(screen->geometry(), window->size(), frame);
    window->move(at);
    placeAgainWhenFramed(window, frame, at, [window] { centreOnScreen(window); });
}

void centreOver(QWidget* window, const QWidget* owner) {
    if (owner == nullptr) {
        centreOnScreen(window);
        return;
    }
    const QMargins frame = frameMargins(window);
    const QPoint at = placement::centredOver(windowRect(owner), window->size(), frame);
    window->move(at);
    const QPointer<const QWidget> keptOwner(owner);
    placeAgainWhenFramed(window, frame, at, [window, keptOwner] {
        if (keptOwner)
            centreOver(window, keptOwner);
    });
}

void placeBeside(QWidget* window, const QWidget* owner) {
    const QScreen* screen = owner ? screenOf(owner) : nullptr;
    if (screen == nullptr) {
        centreOver(window, owner);
        return;
    }
    const QMargins frame = frameMargins(window);
    const QPoint at =
        placement::besideOwner(windowRect(owner), window->size(), frame, screen->geometry());
    window->move(at);
    const QPointer<const QWidget> keptOwner(owner);
    placeAgainWhenFramed(window, frame, at, [window, keptOwner] {
        if (keptOwner)
            placeBeside(window, keptOwner);
    });
}

bool hasRealScreen() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace quarnel
