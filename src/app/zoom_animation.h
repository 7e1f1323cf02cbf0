// The zoom animation: a caption rectangle that travels between two screen rectangles in about
// 0.2 s when a window opens or closes. It only draws; it changes no window. Where there is no
// real screen it is skipped.
#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>

class QWidget;

namespace quarnel {

void playZoom(const QRect& from, const QRect& to);

// Opening: from the pointer position `pointer` (read before the window moved) to the window.
void zoomOpen(const QWidget* window, const QPoint& pointer);
// Opening of the logon dialog: from its own rectangle shifted left by 600 and up by 350 pixels
// to the window.
void zoomOpenFromOffset(const QWidget* window);
// Closing: from the window to the pointer's position now.
void zoomClose(const QWidget* window);

// The outline drawn at one step of the animation, in the coordinates of a rectangle of `size`:
// a frame `border` pixels wide round its edge and the caption band across its top, `caption`
// pixels high. Its inside is left out, so what lies under the rectangle stays visible whether or
// not the desktop composes translucent windows. Never empty for a non-empty size.
QRegion zoomOutline(const QSize& size, int border, int caption);

}  // namespace quarnel
