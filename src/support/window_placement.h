// Placement of top-level windows with the frame that the window manager adds round them.
//
// A window's client rectangle is what the program sizes; its outer rectangle (the frame's) is the
// client grown by the frame margins: caption above, borders left, right and below. The rules
// centre and limit windows by their outer size, so every calculation here takes the margins, and
// every position it returns is the outer rectangle's top-left, the point that the window system
// places for a move.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace quarnel::placement {

// The outer size of a window with client size `client` inside frame `frame`.
QSize outerSize(const QSize& client, const QMargins& frame);

// Centred on `area` (a screen): Left = (area width - outer width) * 0.5, likewise Top, from the
// area's own top-left.
QPoint centredOnArea(const QRect& area, const QSize& client, const QMargins& frame);

// Centred over another window's outer rectangle `owner`: Top = owner.Top + owner.Height / 2 -
// own.Height / 2, likewise Left, the halves rounded down.
QPoint centredOver(const QRect& owner, const QSize& client, const QMargins& frame);

// Beside another window's outer rectangle `owner` on `screen`, so that as little of the owner is
// covered as the screen allows: on the side with more room, against the owner's edge or, when
// the room is too narrow, against the screen's; the tops level, moved up as far as needed to
// keep the bottom on the screen, never above its top.
QPoint besideOwner(const QRect& owner, const QSize& client, const QMargins& frame,
                   const QRect& screen);

// The margins of a window's frame `frame` round its client `client` (both on the screen); nothing
// when the frame does not enclose the client or is the client itself. A window system reports
// such a frame for a moment while it frames a new window (X11: a 1×1 frame at the origin), and
// taking it for the frame would give margins that shrink the window's outer size.
std::optional<QMargins> frameMarginsAround(const QRect& frame, const QRect& client);

// The smallest client size that keeps the outer size at least `outer`; never negative.
QSize minimumClientSize(const QSize& outer, const QMargins& frame);

}  // namespace quarnel::placement
