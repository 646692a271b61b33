#pragma once
// A file-dialog service for tests: answers the open and save dialogs from a list of file names;
// an empty name, or none left, cancels. Keeps the titles of the dialogs shown.

#include "platform/filedialogs.h"

#include <QStringList>

#include <deque>
#include <optional>

namespace testsupport {

class ChosenFiles : public platform::FileDialogService {
public:
    std::deque<QString> answers;
    QStringList titles;
    std::optional<QString> openFile(const QString& title, const QString&) override {
        return next(title);
    }
    std::optional<QString> saveFile(const QString& title, const QString&, const QString&) override {
        return next(title);
    }

private:
    std::optional<QString> next(const QString& title) {
        titles << title;
        if (answers.empty()) return std::nullopt;
        const QString answer = answers.front();
        answers.pop_front();
        if (answer.isEmpty()) return std::nullopt;
        return answer;
    }
};

} // namespace testsupport
