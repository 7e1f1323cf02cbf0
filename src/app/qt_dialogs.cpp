#include "app/qt_dialogs.h"

#include "shell/ui_texts.h"
#include "support/line_end.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

#include <climits>
#include <thread>
#include <vector>

namespace quarnel {
namespace {

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Texts may break their lines with CR alone; the label breaks only at LF.
QString displayText(QString text) {
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// Keeps the keys typed into the progress dialog while long work runs, and hands them to the
// widget that had the focus once the work is over, so that text typed meanwhile (into a search
// box, say) arrives where it was meant. Escape is left to the dialog: it cancels.
class TypedAhead : public QObject {
  public:
    // `parent`'s window remembers its focused widget even while another dialog, closing, still
    // holds the application's focus.
    TypedAhead(QWidget* dialog, QWidget* parent)
        : m_dialog(dialog),
          m_target(parent ? parent->window()->focusWidget() : QApplication::focusWidget()) {
        qApp->installEventFilter(this);
    }
    ~TypedAhead() override { qApp->removeEventFilter(this); }

    void replay() {
        qApp->removeEventFilter(this);
        for (const Key& key : m_keys) {
            if (!m_target)
                return;
            QCoreApplication::postEvent(
                m_target, new QKeyEvent(QEvent::KeyPress, key.key, key.modifiers, key.text));
            QCoreApplication::postEvent(
                m_target, new QKeyEvent(QEvent::KeyRelease, key.key, key.modifiers, key.text));
        }
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!key || !widget || (widget != m_dialog && !m_dialog->isAncestorOf(widget)))
            return false;
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->key() == Qt::Key_Escape)
            return false;
        if (event->type() == QEvent::KeyPress)
            m_keys.push_back({keyEvent->key(), keyEvent->modifiers(), keyEvent->text()});
        return true;
    }

  private:
    struct Key {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };
    QWidget* m_dialog;
    QPointer<QWidget> m_target;
    std::vector<Key> m_keys;
};

}  // namespace

void QtDialogs::message(QWidget* parent, const QString& text, MessageIcon icon,
                        const QString& title) {
    QMessageBox box(toQt(icon), title, displayText(text), QMessageBox::Ok, parent);
    // Above the busy window, which stays on top while a lookup reports its failure.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

bool QtDialogs::askYesNo(QWidget* parent, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::runModal(QDialog& dialog) {
    dialog.exec();
}

bool QtDialogs::runLongWork(QWidget* parent, const QString& label, const LongWork& work) {
    WorkProgress progress;
    std::atomic<bool> finished{false};
    QProgressDialog dialog(label, ui::kCancel, 0, 0, parent);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    // Shown at once: while the work runs on its thread the window must take no input that
    // could reach the database.
    dialog.setMinimumDuration(0);
    QObject::connect(&dialog, &QProgressDialog::canceled, [&] { progress.cancel = true; });

    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (finished.load()) {
            loop.quit();
            return;
        }
        const qint64 total = progress.total.load();
        // The bar counts in ints; large totals are scaled down.
        const int shift = total > INT_MAX ? 16 : 0;
        dialog.setMaximum(int(total >> shift));
        dialog.setValue(int(progress.done.load() >> shift));
    });
    poll.start(50);
    TypedAhead typed(&dialog, parent);
    dialog.show();
    std::thread worker([&] {
        work(progress);
        finished = true;
    });
    loop.exec();
    worker.join();
    // Closing a progress dialog emits canceled(): the answer is taken before, and the close no
    // longer counts as the user's.
    const bool cancelled = progress.cancelled();
    QObject::disconnect(&dialog, &QProgressDialog::canceled, nullptr, nullptr);
    dialog.close();
    typed.replay();
    return !cancelled;
}

FileDialogAnswer QtDialogs::showFileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(qobject_cast<QWidget*>(request.owner), request.title, request.initialDir);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // The descriptions already name their patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    if ((request.flags & kFlagOverwritePrompt) == 0)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (request.mode == FileDialogMode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                                               : QFileDialog::ExistingFile);
    }
    QStringList nameFilters;
    for (const FileDialogFilter& filter : request.filters) {
        QString patterns = filter.patterns;
        patterns.replace(u';', u' ');
        nameFilters << filter.description + QStringLiteral(" (") + patterns + u')';
    }
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        if (request.filterIndex >= 1 && request.filterIndex <= nameFilters.size())
            dialog.selectNameFilter(nameFilters[request.filterIndex - 1]);
    }
    if (!request.defaultExt.isEmpty())
        dialog.setDefaultSuffix(request.defaultExt);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);

    FileDialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted) {
        answer.result = FileDialogAnswer::Result::Cancelled;
        return answer;
    }
    answer.result = FileDialogAnswer::Result::Chosen;
    for (const QString& path : dialog.selectedFiles())
        answer.paths << QDir::toNativeSeparators(path);
    return answer;
}

}  // namespace quarnel
