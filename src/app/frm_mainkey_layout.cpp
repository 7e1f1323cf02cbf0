// The main window's resize handling and its two splitters: the window side of the layout rules
// in support/main_layout.h.
#include "app/frm_mainkey.h"

#include "app/screen_units.h"
#include "app/window_frame.h"
#include "browse/grid_editor.h"
#include "support/window_placement.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>

namespace quarnel {
namespace {

// A 32 x 32 resize cursor with its hot spot at (15, 15): a double bar across the direction of
// the drag, with an arrow at each end of it.
QCursor splitterCursor(Qt::Orientation drag) {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Drawn for a left-right drag; rotated for an up-down one.
    if (drag == Qt::Vertical) {
        painter.translate(31, 0);
        painter.rotate(90);
    }
    QPainterPath arrows;
    arrows.moveTo(2, 15);
    arrows.lineTo(8, 9);
    arrows.lineTo(8, 21);
    arrows.closeSubpath();
    arrows.moveTo(29, 15);
    arrows.lineTo(23, 9);
    arrows.lineTo(23, 21);
    arrows.closeSubpath();
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::black);
    painter.drawPath(arrows);
    painter.fillRect(QRect(8, 14, 16, 3), Qt::black);
    painter.fillRect(QRect(12, 4, 3, 24), Qt::black);
    painter.fillRect(QRect(17, 4, 3, 24), Qt::black);
    painter.setPen(Qt::white);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(11, 3, 4, 25));
    painter.drawRect(QRect(16, 3, 4, 25));
    painter.end();
    return QCursor(picture, 15, 15);
}

}  // namespace

// An invisible grab area: it only takes the pointer, and tells the window where it is.
class SplitterGrabArea : public QWidget {
  public:
    SplitterGrabArea(QWidget* parent, Qt::Orientation drag) : QWidget(parent), m_drag(drag) {
        setCursor(splitterCursor(drag));
        setAttribute(Qt::WA_NoSystemBackground);
    }

    std::function<void()> pressed;
    std::function<void(int offset)> moved;  // pointer offset inside the area, in pixels
    std::function<void()> released;

  protected:
    void mousePressEvent(QMouseEvent*) override {
        if (pressed)
            pressed();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        if (moved)
            moved(m_drag == Qt::Horizontal ? at.x() : at.y());
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        if (released)
            released();
    }
    void paintEvent(QPaintEvent*) override {}

  private:
    Qt::Orientation m_drag;
};

// A drag bar: grey, with a black and white dot pattern.
class SplitterDragBar : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(128, 128, 128));
        painter.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
    }
};

QWidget* frm_mainkey::createGrabArea(QWidget* parent, bool vertical) {
    auto* area = new SplitterGrabArea(parent, vertical ? Qt::Horizontal : Qt::Vertical);
    if (vertical) {
        area->pressed = [this] { imgSplitter_MouseDown(); };
        area->moved = [this](int x) { imgSplitter_MouseMove(toTwipsX(this, x)); };
        area->released = [this] { imgSplitter_MouseUp(); };
    } else {
        area->pressed = [this] { imgSplitter2_MouseDown(); };
        area->moved = [this](int y) { imgSplitter2_MouseMove(toTwipsY(this, y)); };
        area->released = [this] { imgSplitter2_MouseUp(); };
    }
    return area;
}

QWidget* frm_mainkey::createDragBar(QWidget* parent) {
    return new SplitterDragBar(parent);
}

frm_mainkey::WindowSize frm_mainkey::windowSizeTwips() const {
    const QRect outer = windowRect(this);
    // The client height counts from under the menu bar to the bottom edge, status bar included.
    const int client = centralWidget()->height() + (sbStatusBar ? sbStatusBar->height() : 0);
    return {toTwipsX(this, outer.width()), toTwipsY(this, outer.height()), toTwipsY(this, client)};
}

void frm_mainkey::closeGridEditor() {
    m_gridEditor->closeEditor();
}

void frm_mainkey::tellMinimumSize() {
    // The window system is told the smallest outer size too, so that it stops a drag there
    // rather than let the window bounce back afterwards. It takes a client size: the frame,
    // once known, is taken off.
    const QSize outer(toPixelsX(this, layout::kMinimumWindowWidth),
                      toPixelsY(this, layout::kMinimumWindowHeight));
    setMinimumSize(placement::minimumClientSize(outer, frameMargins(this)));
}

void frm_mainkey::Form_Resize() {
    if (isMinimized())
        return;
    closeGridEditor();
    tellMinimumSize();
    WindowSize size = windowSizeTwips();
    const QRect outer = windowRect(this);
    const layout::OuterSize wanted = layout::clampToMinimumSize({size.width, size.height});
    if (wanted.width != size.width || wanted.height != size.height) {
        resize(width() + toPixelsX(this, wanted.width) - outer.width(),
               height() + toPixelsY(this, wanted.height) - outer.height());
        size = windowSizeTwips();
    }
    layout::Form_Resize(m_layout, false, size.width, size.height, size.clientHeight);
    applyLayout();
}

void frm_mainkey::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frm_mainkey::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        Form_Resize();
}

void frm_mainkey::imgSplitter_MouseDown() {
    closeGridEditor();
    layout::imgSplitter_MouseDown(m_layout, m_blnDragging);
    applyLayout();
}

void frm_mainkey::imgSplitter_MouseMove(double X) {
    layout::imgSplitter_MouseMove(m_layout, m_blnDragging, X, windowSizeTwips().width);
    applyLayout();
}

void frm_mainkey::imgSplitter_MouseUp() {
    const WindowSize size = windowSizeTwips();
    layout::imgSplitter_MouseUp(m_layout, m_blnDragging, size.width, size.height,
                                size.clientHeight);
    applyLayout();
}

void frm_mainkey::imgSplitter2_MouseDown() {
    closeGridEditor();
    layout::imgSplitter2_MouseDown(m_layout, m_blnDragging);
    applyLayout();
}

void frm_mainkey::imgSplitter2_MouseMove(double Y) {
    layout::imgSplitter2_MouseMove(m_layout, m_blnDragging, Y, windowSizeTwips().height);
    applyLayout();
}

void frm_mainkey::imgSplitter2_MouseUp() {
    layout::imgSplitter2_MouseUp(m_layout, m_blnDragging, windowSizeTwips().height,
                                 m_state.sngSplitter2Top);
    applyLayout();
}

}  // namespace quarnel
