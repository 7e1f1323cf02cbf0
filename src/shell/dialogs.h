// Everything that blocks for the user's answer goes through Dialogs: message boxes, the
// overwrite question, file dialogs (FileDialogService) and modal windows. The program uses
// QtDialogs (app/qt_dialogs.h); tests put their own answers in its place.
#pragma once

#include "shell/long_work.h"
#include "support/cd_file.h"

#include <QString>

class QDialog;
class QWidget;

namespace quarnel {

enum class MessageIcon { Critical, Exclamation, Information, Question };

class Dialogs : public FileDialogService {
  public:
    virtual ~Dialogs() = default;

    // A message box with one OK button.
    virtual void message(QWidget* parent, const QString& text, MessageIcon icon,
                         const QString& title) = 0;
    // A Yes/No question; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text, const QString& title) = 0;
    // Runs `dialog` modally and returns when it has closed.
    virtual void runModal(QDialog& dialog) = 0;
    // Runs `work` with a modal progress dialog captioned `label` that has a cancel button, and
    // returns when the work has ended; false when the user cancelled it. The window's input is
    // processed meanwhile, so the cancel click arrives at once. Without a dialog of its own an
    // implementation runs the work on the calling thread.
    virtual bool runLongWork(QWidget* parent, const QString& label, const LongWork& work);

    // File dialogs: without a dialog of its own an implementation answers every one as
    // cancelled, and reports a failure as a message titled "ShowFileDialog".
    FileDialogAnswer showFileDialog(const FileDialogRequest& request) override;
    void reportFileDialogFailure(QObject* owner, const QString& description) override;
};

// The program's executable file name without extension: the title of the logon dialog and of
// its messages.
QString executableName();

}  // namespace quarnel
