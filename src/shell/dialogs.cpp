#include "shell/dialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

namespace quarnel {

FileDialogAnswer Dialogs::showFileDialog(const FileDialogRequest&) {
    return {};
}

void Dialogs::reportFileDialogFailure(QObject* owner, const QString& description) {
    message(qobject_cast<QWidget*>(owner), description, MessageIcon::Exclamation,
            QStringLiteral("ShowFileDialog"));
}

bool Dialogs::runLongWork(QWidget*, const QString&, const LongWork& work) {
    WorkProgress progress;
    work(progress);
    return !progress.cancelled();
}

QString executableName() {
    const QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty())
        return QStringLiteral("quarnel");
    return QFileInfo(path).completeBaseName();
}

}  // namespace quarnel
