#pragma once
// The program's open, save and colour dialogs: modal Qt dialogs over the active window.

#include "platform/colourdialogs.h"
#include "platform/filedialogs.h"

namespace mainwin {

class FileDialogBoxes : public platform::FileDialogService {
public:
    std::optional<QString> openFile(const QString& title, const QString& filter) override;
    std::optional<QString> saveFile(const QString& title, const QString& proposed,
                                    const QString& filter) override;
};

// The system's colour dialog over the active window.
class ColourDialogBox : public platform::ColourDialogService {
public:
    std::optional<QColor> chooseColour(const QColor& initial, const QString& title) override;
};

} // namespace mainwin
