#pragma once
// The open and save dialogs go through this interface, so that tests choose a file without a
// window and can check what was asked.

#include <QString>

#include <optional>

namespace platform {

// The filter of the collection files: text files first, then every file.
inline const QString collectionFileFilter =
    QStringLiteral("Textdateien (*.txt);;Alle Dateien (*.*)");

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen file; no value when the user cancelled.
    virtual std::optional<QString> openFile(const QString& title, const QString& filter) = 0;
    virtual std::optional<QString> saveFile(const QString& title, const QString& proposed,
                                            const QString& filter) = 0;
};

// Where no window can show a dialog (the command-line rendering, a state made without windows),
// every dialog counts as cancelled.
class NoFileDialogs : public FileDialogService {
public:
    std::optional<QString> openFile(const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFile(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
};

} // namespace platform
