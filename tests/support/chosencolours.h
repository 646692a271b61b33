#pragma once
// A colour-dialog service for tests: answers from a list of colours; none left cancels. Keeps the
// colours the dialogs were opened with.

#include "platform/colourdialogs.h"

#include <deque>
#include <vector>

namespace testsupport {

class ChosenColours : public platform::ColourDialogService {
public:
    std::deque<QColor> answers;
    std::vector<QColor> offered;
    std::optional<QColor> chooseColour(const QColor& initial, const QString&) override {
        offered.push_back(initial);
        if (answers.empty()) return std::nullopt;
        const QColor c = answers.front();
        answers.pop_front();
        return c;
    }
};

} // namespace testsupport
