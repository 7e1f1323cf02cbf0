#include "app/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace quarnel {

void QtClipboard::clear() {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->clear();
}

bool QtClipboard::setText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    return true;
}

}  // namespace quarnel
