#pragma once
// Characters of names and numbers as the engine reads them, for the routines that look for
// names inside terms.

#include <QChar>

namespace engine {

inline bool isLetter(QChar c) {
    const char16_t u = c.toLower().unicode();
    return u >= u'a' && u <= u'z';
}

inline bool isDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

inline bool isNameCharacter(QChar c) {
    return isLetter(c) || isDigit(c) || c == QLatin1Char('_');
}

} // namespace engine
