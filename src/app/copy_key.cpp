#include "app/copy_key.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QWidget>

namespace quarnel {
namespace {

class CopyKeyFilter : public QObject {
  public:
    CopyKeyFilter(QWidget* control, QAction* command) : QObject(control), m_command(command) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool key =
            event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
        if (!key || !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
            return QObject::eventFilter(watched, event);
        // The override is accepted so that no shortcut of the window takes the key first.
        event->accept();
        if (event->type() == QEvent::KeyPress && m_command && m_command->isEnabled())
            m_command->trigger();
        return event->type() == QEvent::KeyPress;
    }

  private:
    QPointer<QAction> m_command;
};

}  // namespace

void copyKeyRuns(QWidget* control, QAction* command) {
    control->installEventFilter(new CopyKeyFilter(control, command));
}

}  // namespace quarnel
