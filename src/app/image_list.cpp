#include "app/image_list.h"

#include <QPixmap>

namespace quarnel {

QImage checkerboard(QRgb color, int size) {
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            image.setPixel(x, y, (x + y) % 2 == 0 ? color : qRgb(255, 255, 255));
        }
    }
    return image;
}

QHash<QString, QIcon> makeTreeImageList() {
    const struct {
        const char* key;
        QRgb color;
    } pictures[] = {
        {"a", qRgb(0, 0, 254)},   {"b", qRgb(0, 158, 97)}, {"c", qRgb(253, 0, 0)},
        {"d", qRgb(60, 16, 121)}, {"e", qRgb(0, 105, 63)}, {"f", qRgb(149, 0, 23)},
    };
    QHash<QString, QIcon> list;
    for (const auto& picture : pictures) {
        list.insert(QString::fromLatin1(picture.key),
                    QIcon(QPixmap::fromImage(checkerboard(picture.color))));
    }
    return list;
}

}  // namespace quarnel
