#include "support/window_placement.h"

#include <algorithm>

namespace quarnel::placement {

QSize outerSize(const QSize& client, const QMargins& frame) {
    return client.grownBy(frame);
}

QPoint centredOnArea(const QRect& area, const QSize& client, const QMargins& frame) {
    const QSize outer = outerSize(client, frame);
    return {area.left() + int((area.width() - outer.width()) * 0.5),
            area.top() + int((area.height() - outer.height()) * 0.5)};
}

QPoint centredOver(const QRect& owner, const QSize& client, const QMargins& frame) {
    const QSize outer = outerSize(client, frame);
    return {owner.left() + owner.width() / 2 - outer.width() / 2,
            owner.top() + owner.height() / 2 - outer.height() / 2};
}

QPoint besideOwner(const QRect& owner, const QSize& client, const QMargins& frame,
                   const QRect& screen) {
    const QSize outer = outerSize(client, frame);
    const int roomRight = screen.right() - owner.right();
    const int roomLeft = owner.left() - screen.left();
    const int left = roomRight >= roomLeft
                         ? std::min(owner.right() + 1, screen.right() + 1 - outer.width())
                         : std::max(owner.left() - outer.width(), screen.left());
    const int lowestTop = std::max(screen.top(), screen.bottom() + 1 - outer.height());
    return {std::max(left, screen.left()), std::clamp(owner.top(), screen.top(), lowestTop)};
}

std::optional<QMargins> frameMarginsAround(const QRect& frame, const QRect& client) {
    if (frame == client || !frame.contains(client))
        return std::nullopt;
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

QSize minimumClientSize(const QSize& outer, const QMargins& frame) {
    const QSize client = outer.shrunkBy(frame);
    return {std::max(0, client.width()), std::max(0, client.height())};
}

}  // namespace quarnel::placement
