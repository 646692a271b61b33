#pragma once
// Message boxes and input boxes go through this interface, so that tests answer them without a
// window and can check what was asked.

#include <QString>
#include <QTextStream>

#include <cstdio>

#include <optional>

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

// Writes every message as "title: text" to a text stream (standard error unless told otherwise);
// questions are answered with No, input boxes are cancelled. Where no window can show a message
// (the command-line rendering, a state made without windows), nothing is lost silently.
class StreamMessages : public MessageService {
public:
    explicit StreamMessages(QTextStream& stream = standardError()) : stream_(stream) {}
    void inform(const QString& title, const QString& text, MessageIcon) override {
        write(title, text);
    }
    bool ask(const QString& title, const QString& text) override {
        write(title, text);
        return false;
    }
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString&) override {
        write(title, prompt);
        return std::nullopt;
    }

    static QTextStream& standardError() {
        static QTextStream stream(stderr);
        return stream;
    }

private:
    void write(const QString& title, const QString& text) {
        stream_ << title << QStringLiteral(": ") << text << Qt::endl;
    }
    QTextStream& stream_;
};

} // namespace platform
