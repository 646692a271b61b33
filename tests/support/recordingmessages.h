#pragma once
// A message service for tests: keeps every message and answers with preset replies.

#include "platform/messages.h"

#include <optional>
#include <vector>

namespace platform {

class RecordingMessages : public MessageService {
public:
    struct Entry {
        QString title;
        QString text;
        MessageIcon icon;
    };
    std::vector<Entry> shown;
    bool answer = false;
    std::optional<QString> inputAnswer;

    void inform(const QString& title, const QString& text, MessageIcon icon) override {
        shown.push_back({title, text, icon});
    }
    bool ask(const QString& title, const QString& text) override {
        shown.push_back({title, text, MessageIcon::Question});
        return answer;
    }
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString&) override {
        shown.push_back({title, prompt, MessageIcon::Question});
        return inputAnswer;
    }
};

} // namespace platform
