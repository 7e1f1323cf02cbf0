// A label that shortens its text with an ellipsis ("…") where the text does not fit its width,
// instead of cutting it off. text() stays the whole text.
#pragma once

#include <QLabel>

namespace quarnel {

class ElidingLabel : public QLabel {
  public:
    using QLabel::QLabel;

    // The text as drawn at the label's present width.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRect textRect() const;
};

}  // namespace quarnel
