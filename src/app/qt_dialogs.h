// The program's dialogs: Qt's message boxes and Qt's own file dialog.
#pragma once

#include "shell/dialogs.h"

namespace quarnel {

class QtDialogs : public Dialogs {
  public:
    void message(QWidget* parent, const QString& text, MessageIcon icon,
                 const QString& title) override;
    bool askYesNo(QWidget* parent, const QString& text, const QString& title) override;
    void runModal(QDialog& dialog) override;
    // The work runs on a thread of its own while a QProgressDialog shows how far it is.
    bool runLongWork(QWidget* parent, const QString& label, const LongWork& work) override;
    // Qt's own file dialog, not the desktop's, so that it speaks the program's language.
    FileDialogAnswer showFileDialog(const FileDialogRequest& request) override;
};

}  // namespace quarnel
