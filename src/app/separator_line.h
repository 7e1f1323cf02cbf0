// The etched line across the top of a window's client area, directly under its menu bar.
#pragma once

class QWidget;

namespace quarnel {

// Paints, on `client`, a dark line at 0 twips over a light one at 10 twips, across the screen's
// width. Called from the client area's paint event.
void DrawSeparatorLine(QWidget* client);

}  // namespace quarnel
