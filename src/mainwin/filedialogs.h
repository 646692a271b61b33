#pragma once
// The program's open and save dialogs: modal Qt file dialogs over the active window.

#include "platform/filedialogs.h"

namespace mainwin {

class FileDialogBoxes : public platform::FileDialogService {
public:
    std::optional<QString> openFile(const QString& title, const QString& filter) override;
    std::optional<QString> saveFile(const QString& title, const QString& proposed,
                                    const QString& filter) override;
};

} // namespace mainwin
