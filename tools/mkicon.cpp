// Draws the application icon as a PNG of any size: the mark of the 32-pixel window icon (three
// white rows on a dark blue rounded square), drawn from its geometry so that every size is sharp.
// Usage: quarnel-mkicon SIZE OUTPUT.png
#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <cstdio>

namespace {

// The mark on a 256-unit square; painted scaled to the requested size.
constexpr double kUnits = 256.0;
constexpr QRectF kSquare(8, 8, 240, 240);
constexpr double kCorner = 36;
constexpr double kRowLeft = 56;
constexpr double kRowWidth = 144;
constexpr double kRowHeight = 24;
constexpr double kRowTops[] = {64, 112, 160};
const QColor kBlue(29, 63, 115);

QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = size / kUnits;
    painter.scale(scale, scale);

    QPainterPath square;
    square.addRoundedRect(kSquare, kCorner, kCorner);
    QLinearGradient shade(kSquare.topLeft(), kSquare.bottomLeft());
    shade.setColorAt(0, kBlue.lighter(125));
    shade.setColorAt(1, kBlue);
    painter.fillPath(square, shade);

    // The rows sit on whole pixels, so their edges stay sharp at small sizes.
    painter.resetTransform();
    const auto pixels = [scale](double units) { return qRound(units * scale); };
    for (double top : kRowTops) {
        const int y = pixels(top);
        const int x = pixels(kRowLeft);
        painter.fillRect(QRect(x, y, pixels(kRowLeft + kRowWidth) - x,
                               std::max(1, pixels(top + kRowHeight) - y)),
                         Qt::white);
    }
    painter.end();
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    const int size = argc == 3 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: quarnel-mkicon SIZE OUTPUT.png (SIZE 16 to 1024)\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    if (!drawIcon(size).save(output, "PNG")) {
        std::fprintf(stderr, "quarnel-mkicon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
