#pragma once
// The program's message boxes and input boxes: modal Qt dialogs over the active window.

#include "platform/messages.h"

namespace mainwin {

class MessageBoxService : public platform::MessageService {
public:
    void inform(const QString& title, const QString& text, platform::MessageIcon icon) override;
    bool ask(const QString& title, const QString& text) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& preset) override;
};

} // namespace mainwin
