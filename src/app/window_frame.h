// The frame that the window manager puts round a top-level window.
//
// Its size is only known for certain once the window manager has framed the window, after the
// window was first shown; yet a window is placed before that. So the margins are taken from the
// best source there is at the moment: the frame itself once it is there; before that the window
// manager's own answer where it gives one (X11 managers that answer the frame-extents request,
// and Windows, which frames a window by its style as soon as it exists); else the margins last seen
// round a framed window of this program; else none. A window placed on an estimate is placed again
// once its real frame is known (placeAgainWhenFramed).
#pragma once

#include <QMargins>
#include <QPoint>

#include <functional>

class QWidget;

namespace quarnel {

QMargins frameMargins(const QWidget* window);

// Once the window manager has framed `window`, calls `place` again if the frame differs from
// `assumed`, the margins the window was placed with, and the window still stands at `placedAt`
// (its outer top-left), so that a window the user has moved meanwhile stays where it is. Gives
// up after a few seconds if no frame comes. A second call for the same window replaces the first.
void placeAgainWhenFramed(QWidget* window, const QMargins& assumed, const QPoint& placedAt,
                          std::function<void()> place);

// Calls `changed` whenever the frame of `window` differs from the one reported before, first
// when the window manager has framed it; for as long as the window lives.
void watchFrame(QWidget* window, std::function<void(const QMargins&)> changed);

}  // namespace quarnel
