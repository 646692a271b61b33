#pragma once
// The colour dialog goes through this interface, so that tests choose a colour without a window
// and can check what was asked.

#include <QColor>
#include <QString>

#include <optional>

namespace platform {

class ColourDialogService {
public:
    virtual ~ColourDialogService() = default;
    // The chosen colour, offered with initial; no value when the user cancelled.
    virtual std::optional<QColor> chooseColour(const QColor& initial, const QString& title) = 0;
};

// Where no window can show a dialog, every colour dialog counts as cancelled.
class NoColourDialogs : public ColourDialogService {
public:
    std::optional<QColor> chooseColour(const QColor&, const QString&) override {
        return std::nullopt;
    }
};

} // namespace platform
