// Window geometry in twips, applied through the screen's logical dpi.
#pragma once

#include "support/main_layout.h"

#include <QRect>

class QWidget;

namespace quarnel {

// The logical dpi of the screen `widget` is on (the primary screen when it has none yet).
double logicalDpiX(const QWidget* widget);
double logicalDpiY(const QWidget* widget);

int toPixelsX(const QWidget* widget, double twips);
int toPixelsY(const QWidget* widget, double twips);
double toTwipsX(const QWidget* widget, int pixels);
double toTwipsY(const QWidget* widget, int pixels);

// Places a child control at a rectangle given in twips.
void setGeometryTwips(QWidget* widget, double left, double top, double width, double height);
void place(QWidget* widget, const layout::Rect& rect);
// Gives a top-level window a client size in twips.
void resizeClientTwips(QWidget* window, double width, double height);

// Centres `window` on its screen by its outer size, frame included. Placed on an estimate of the
// frame before the window manager has framed it, it is centred again once the real frame is
// known (window_frame.h).
void centreOnScreen(QWidget* window);
// Centres `window` over `owner`: Top = owner.Top + owner.Height / 2 - own.Height / 2, likewise
// Left, with both outer rectangles; the same way.
void centreOver(QWidget* window, const QWidget* owner);
// Places `window` beside `owner` on the owner's screen (placement::besideOwner), for a window
// whose work shows in the owner; the same way.
void placeBeside(QWidget* window, const QWidget* owner);

// The outer rectangle of a top-level window in screen pixels, frame included: before the window
// is framed, its client grown by the frame it will get (window_frame.h).
QRect windowRect(const QWidget* window);

// True when windows are really shown on a screen (not under the offscreen or minimal platform).
bool hasRealScreen();

}  // namespace quarnel
