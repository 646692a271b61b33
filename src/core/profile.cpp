#include "core/profile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace core {

namespace {

// "[name]" with blanks around it: the section's name; no value for any other line.
std::optional<QString> sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return std::nullopt;
    return t.mid(1, t.size() - 2).trimmed();
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString decoded(const QByteArray& content) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(content);
    return utf8.hasError() ? QString::fromLatin1(content) : text;
}

} // namespace

Profile Profile::parse(const QByteArray& content) {
    Profile profile;
    QString text = decoded(content);
    if (text.contains(QLatin1String("\r\n"))) profile.lineEnd_ = QStringLiteral("\r\n");
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    if (!text.isEmpty()) profile.lines_ = text.split(QLatin1Char('\n'));
    return profile;
}

Profile Profile::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Profile{};
    return parse(file.readAll());
}

int Profile::find(const QString& section, const QString& key, int* sectionEnd) const {
    *sectionEnd = -1;
    bool inside = false;
    for (int i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i])) {
            if (inside && *sectionEnd < 0) *sectionEnd = i;
            inside = sameName(*name, section);
            continue;
        }
        if (!inside) continue;
        const int eq = lines_[i].indexOf(QLatin1Char('='));
        if (eq > 0 && sameName(lines_[i].left(eq).trimmed(), key)) return i;
    }
    if (inside && *sectionEnd < 0) *sectionEnd = int(lines_.size());
    return -1;
}

std::optional<QString> Profile::value(const QString& section, const QString& key) const {
    int sectionEnd = -1;
    const int i = find(section, key, &sectionEnd);
    if (i < 0) return std::nullopt;
    return lines_[i].mid(lines_[i].indexOf(QLatin1Char('=')) + 1).trimmed();
}

void Profile::setValue(const QString& section, const QString& key, const QString& value) {
    const QString line = key + QLatin1Char('=') + value;
    int sectionEnd = -1;
    const int i = find(section, key, &sectionEnd);
    if (i >= 0) {
        lines_[i] = line;
        return;
    }
    if (sectionEnd < 0) {
        lines_.append(QLatin1Char('[') + section + QLatin1Char(']'));
        sectionEnd = int(lines_.size());
    }
    // Blank lines that close the section stay behind the new line.
    while (sectionEnd > 0 && lines_[sectionEnd - 1].trimmed().isEmpty() &&
           !sectionName(lines_[sectionEnd - 1]))
        --sectionEnd;
    lines_.insert(sectionEnd, line);
}

QByteArray Profile::content() const {
    QString text;
    for (const QString& line : lines_)
        text += line + lineEnd_;
    return text.toUtf8();
}

bool Profile::save(const QString& path) const {
    const QByteArray bytes = content();
    const QString backup = path + QStringLiteral(".bak");
    if (QFile::exists(path)) {
        QFile::remove(backup);
        if (!QFile::copy(path, backup)) return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

} // namespace core
