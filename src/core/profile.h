#pragma once
// The settings file in the common initialisation-file form: sections in square brackets and
// lines key=value. Our own small reader and writer rather than QSettings, which would split
// values at commas and quote them: a value is taken and written verbatim. Section and key names
// are matched without regard to case. Everything the program does not know (other sections,
// other keys, comments) is kept line by line when the file is written back.

#include <QString>
#include <QStringList>

#include <optional>

namespace core {

class Profile {
public:
    // The lines of a file's content; CR LF or LF line ends. Text that is not valid UTF-8 is read
    // as Latin-1, so no byte sequence can fail to read.
    static Profile parse(const QByteArray& content);
    // The file at path; an empty profile when it is missing or cannot be read.
    static Profile load(const QString& path);

    // The value of the first line key=value in a section of that name; no value when there is
    // none. Blanks around key and value are not part of them.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // Replaces that line's value, or adds the line at the end of the section (and the section at
    // the end of the file when there is none).
    void setValue(const QString& section, const QString& key, const QString& value);

    // The whole content, in UTF-8, with the line ends the file was read with (LF for a new one).
    QByteArray content() const;
    // Writes the content to path: the old file is kept as path followed by ".bak", the new one
    // replaces it only once it is written completely. False when any of it failed; the old file
    // is then left as it was.
    bool save(const QString& path) const;

private:
    // Index of the line key=value in the section, or -1; sectionEnd gets the index behind the
    // first section of that name (-1 when there is none).
    int find(const QString& section, const QString& key, int* sectionEnd) const;

    QStringList lines_;
    QString lineEnd_ = QStringLiteral("\n");
};

} // namespace core
