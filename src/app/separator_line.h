// The etched line across the top of a window's client area, directly under its menu bar.
#pragma once

#include <QWidget>

namespace quarnel {

// Paints, on `client`, a dark line at 0 twips over a light one at 10 twips, across the screen's
// width. Called from the client area's paint event.
void DrawSeparatorLine(QWidget* client);

// A window's client area with the separator line along its top edge.
class SeparatedClientArea : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override { DrawSeparatorLine(this); }
};

}  // namespace quarnel
