#pragma once
// Message boxes and input boxes go through this interface, so that tests answer them without a
// window and can check what was asked.

#include <QString>

#include <optional>
#include <vector>

namespace platform {

enum class MessageIcon { Critical, Warning, Information, Question };

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual void inform(const QString& title, const QString& text, MessageIcon icon) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(const QString& title, const QString& text) = 0;
    // An input box; no value when cancelled.
    virtual std::optional<QString> input(const QString& title, const QString& prompt,
                                         const QString& preset) = 0;
};

// Keeps every message and answers with preset replies; used by tests and by the command-line
// rendering.
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
