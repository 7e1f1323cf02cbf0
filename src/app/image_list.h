// The pictures of the index tree's nodes: six 12 x 12 two-colour checkerboards keyed "a" to "f".
#pragma once

#include <QHash>
#include <QIcon>
#include <QImage>

namespace quarnel {

// A size x size checkerboard of `color` and white; each row starts with the other colour than
// the row above, the first row with `color`.
QImage checkerboard(QRgb color, int size = 12);

// The tree's image list: "a" table, "b" index, "c" column, and "d", "e", "f" for the same nodes
// when selected.
QHash<QString, QIcon> makeTreeImageList();

}  // namespace quarnel
