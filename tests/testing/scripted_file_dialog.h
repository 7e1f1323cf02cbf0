// A file dialog that records what it was asked to show and answers from a queue: a chosen path,
// a cancellation or a failure. Without an answer left it is cancelled.
#pragma once

#include "support/cd_file.h"

#include <deque>
#include <vector>

namespace quarnel::testing {

class ScriptedFileDialog : public FileDialogService {
  public:
    FileDialogAnswer showFileDialog(const FileDialogRequest& request) override {
        requests.push_back(request);
        if (answers.empty())
            return {};
        FileDialogAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void reportFileDialogFailure(QObject*, const QString& description) override {
        failures.push_back(description);
    }

    void choose(const QString& path) {
        answers.push_back({FileDialogAnswer::Result::Chosen, {path}, 0});
    }
    void cancel() { answers.push_back({}); }

    std::vector<FileDialogRequest> requests;
    std::deque<FileDialogAnswer> answers;
    std::vector<QString> failures;
};

}  // namespace quarnel::testing
