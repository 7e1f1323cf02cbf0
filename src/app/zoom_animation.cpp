#include "app/zoom_animation.h"

#include "app/screen_units.h"

#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QPainter>
#include <QThread>
#include <QWidget>

namespace quarnel {
namespace {

constexpr int kDurationMs = 200;
constexpr int kCaptionHeight = 22;
constexpr int kBorder = 2;

// A frameless window shaped to the outline: only the caption band and the frame are part of the
// window, so nothing is painted over its inside.
class ZoomFrame : public QWidget {
  public:
    ZoomFrame()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowTransparentForInput) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void place(const QRect& rect) {
        setGeometry(rect);
        setMask(zoomOutline(rect.size(), kBorder, kCaptionHeight));
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Highlight));
    }
};

QRect between(const QRect& from, const QRect& to, double t) {
    auto mix = [t](int a, int b) { return int(a + (b - a) * t); };
    return QRect(QPoint(mix(from.left(), to.left()), mix(from.top(), to.top())),
                 QPoint(mix(from.right(), to.right()), mix(from.bottom(), to.bottom())))
        .normalized();
}

}  // namespace

void playZoom(const QRect& from, const QRect& to) {
    if (!hasRealScreen())
        return;
    ZoomFrame frame;
    QElapsedTimer clock;
    clock.start();
    frame.place(from.normalized());
    frame.show();
    for (qint64 elapsed = 0; elapsed < kDurationMs; elapsed = clock.elapsed()) {
        const QRect step = between(from, to, double(elapsed) / kDurationMs);
        frame.place(step.isEmpty() ? QRect(step.topLeft(), QSize(1, 1)) : step);
        frame.repaint();
        // Paint only: no input is delivered while the animation runs.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(15);
    }
}

void zoomOpen(const QWidget* window, const QPoint& pointer) {
    playZoom(QRect(pointer, pointer), windowRect(window));
}

void zoomOpenFromOffset(const QWidget* window) {
    const QRect w = windowRect(window);
    // Left and right are both shifted from the window's own right and left edges.
    const QRect from(QPoint(w.right() - 600, w.bottom() - 350),
                     QPoint(w.left() - 600, w.top() - 350));
    playZoom(from, w);
}

void zoomClose(const QWidget* window) {
    const QPoint pointer = QCursor::pos();
    playZoom(windowRect(window), QRect(pointer, pointer));
}

QRegion zoomOutline(const QSize& size, int border, int caption) {
    const QRect all(QPoint(0, 0), size);
    if (all.isEmpty())
        return QRegion();
    const QRect inside = all.adjusted(border, border, -border, -border);
    QRegion outline = QRegion(all).subtracted(QRegion(inside));
    outline += QRect(0, 0, size.width(), std::min(caption, size.height()));
    return outline;
}

}  // namespace quarnel
