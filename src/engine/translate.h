#pragma once
// Turns a term in the user's school notation (blanks, decimal comma, ";" between arguments,
// [ ] and { }, "und"/"oder", "fill", f'(x) and f''(x)) into a text the math engine understands,
// and the whole-word routines that find and replace names inside terms.

#include <QString>
#include <QStringList>

namespace core {
struct State;
}

namespace engine {

// The engine expression for a stored term, or the empty text when the term is empty or unusable
// (a derivative of a function that no line defines). Unless noderiv is set, f'(...) and f''(...)
// of every name in functionNames are expanded into difference quotients with the step sw. The
// names in functionNames, like the engine's own functions, may also be called without brackets
// ("sin x", see bracketcalls).
QString translate(const QString& term, bool noderiv, const QStringList& functionNames);
// The same with the names of the function lines in use.
QString translate(const QString& term, bool noderiv, const core::State& state);
// The names of the function lines in use (lines 0 ... linesInUse - 1), an empty text for a line
// without name.
QStringList linenames(const core::State& state);

// Two bits about the occurrence of a word of length len at position pos (1-based) in text:
// 1 when a name character precedes it (a letter, or digits that follow a letter as in a1),
// 2 when a letter, a digit, an apostrophe or "(" follows it.
int wordflags(int pos, const QString& text, int len);

// Replaces each occurrence of word whose wordflags share no bit with mask. The text comes back
// trimmed of blanks at both ends.
QString replword(const QString& text, const QString& word, const QString& replacement, int mask,
                 Qt::CaseSensitivity cs = Qt::CaseSensitive);

// True when text holds word as a whole word (wordflags 0 under mask 3).
bool hasword(const QString& text, const QString& word);

// The bracket group that begins at the first "(" at or after pos (1-based), up to and including
// its matching ")"; the empty text when the brackets do not close.
QString callgroup(const QString& text, int pos);

} // namespace engine
