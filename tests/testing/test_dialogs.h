// Dialogs for window tests: messages are recorded, questions and file dialogs answered from
// queues, and modal windows run by a script instead of an event loop.
#pragma once

#include "shell/dialogs.h"
#include "testing/scripted_file_dialog.h"

#include <QDialog>

#include <deque>
#include <functional>
#include <vector>

namespace quarnel::testing {

struct RecordedMessage {
    QString text;
    MessageIcon icon;
    QString title;
};

class TestDialogs : public Dialogs {
  public:
    void message(QWidget*, const QString& text, MessageIcon icon, const QString& title) override {
        messages.push_back({text, icon, title});
        if (onMessage)
            onMessage(messages.back());
    }
    bool askYesNo(QWidget*, const QString& text, const QString& title) override {
        questions.push_back(text);
        questionTitles.push_back(title);
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void runModal(QDialog& dialog) override {
        ++modalRuns;
        // Without a script the dialog is closed as if cancelled.
        if (onModal)
            onModal(dialog);
    }
    FileDialogAnswer showFileDialog(const FileDialogRequest& request) override {
        return files.showFileDialog(request);
    }

    std::vector<RecordedMessage> messages;
    std::function<void(const RecordedMessage&)> onMessage;
    std::vector<QString> questions;
    std::vector<QString> questionTitles;
    std::deque<bool> answers;
    std::function<void(QDialog&)> onModal;
    int modalRuns = 0;
    // The file dialogs: their requests and the queue of answers.
    ScriptedFileDialog files;
};

}  // namespace quarnel::testing
