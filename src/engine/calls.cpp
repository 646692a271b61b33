#include "engine/calls.h"

#include "core/state.h"
#include "engine/enginedefs.h"
#include "engine/namechars.h"

namespace engine {

namespace {

// Operands nested deeper than this ("sin sin sin ... x", "x^x^x^...") are not read as calls;
// the engine then reports the glued names. Keeps any text from exhausting the stack.
constexpr int maxDepth = 100;

const QChar blank = QLatin1Char(' ');

// The variable marker once its own blanks are gone (translate drops them first).
const QString& marker() {
    static const QString m = core::variableMarker.trimmed();
    return m;
}

bool isOpening(QChar c) {
    return c == QLatin1Char('(') || c == QLatin1Char('[') || c == QLatin1Char('{');
}

bool isClosing(QChar c) {
    return c == QLatin1Char(')') || c == QLatin1Char(']') || c == QLatin1Char('}');
}

bool isSign(QChar c) {
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

bool isDecimalSeparator(QChar c) {
    return c == QLatin1Char('.') || c == QLatin1Char(',');
}

// Reads names, numbers and bracket groups of one text; positions are 0-based, an end is the
// position after the last character.
class Reader {
public:
    // depth: how deep the text lies inside operands read before.
    Reader(const QString& text, const QStringList& lineNames, int depth = 0)
        : t(text), names(lineNames), depth0(depth) {}

    // The text with the operands of blank-separated calls in brackets.
    QString bracketed() {
        QString out;
        qsizetype i = 0;
        while (i < t.size()) {
            if (markerAt(i)) {
                out += marker();
                i += marker().size();
            } else if (nameStartAt(i)) {
                i = readName(i, out);
            } else if (numberStartAt(i)) {
                const qsizetype k = numberEnd(i);
                out += t.mid(i, k - i);
                i = k;
            } else {
                out += t[i++];
            }
        }
        return out;
    }

    QStringList uncalled() const {
        QStringList found;
        qsizetype i = 0;
        while (i < t.size()) {
            if (numberStartAt(i)) {
                i = numberEnd(i);
            } else if (nameStartAt(i)) {
                const qsizetype k = nameEnd(i);
                const QString name = t.mid(i, k - i);
                if ((k == t.size() || t[k] != QLatin1Char('(')) && isfunctionword(name, names))
                    found.append(name);
                i = k;
            } else {
                ++i;
            }
        }
        return found;
    }

private:
    const QString& t;
    const QStringList& names;
    const int depth0;

    bool at(qsizetype i, QChar c) const { return i < t.size() && t[i] == c; }
    bool digitAt(qsizetype i) const { return i < t.size() && isDigit(t[i]); }
    bool markerAt(qsizetype i) const { return QStringView(t).mid(i).startsWith(marker()); }
    bool nameStartAt(qsizetype i) const {
        return i < t.size() && (isLetter(t[i]) || t[i] == QLatin1Char('_'));
    }
    bool numberStartAt(qsizetype i) const {
        return digitAt(i) || (i < t.size() && isDecimalSeparator(t[i]) && digitAt(i + 1));
    }

    qsizetype skipBlanks(qsizetype i) const {
        while (at(i, blank))
            ++i;
        return i;
    }

    qsizetype nameEnd(qsizetype i) const {
        while (i < t.size() && isNameCharacter(t[i]))
            ++i;
        return i;
    }

    // 12, 1,5, .5, 2e3, 1E-10; an "e" without digits behind it is the constant (2e = 2*e).
    qsizetype numberEnd(qsizetype i) const {
        while (digitAt(i))
            ++i;
        if (i < t.size() && isDecimalSeparator(t[i]) && digitAt(i + 1)) {
            ++i;
            while (digitAt(i))
                ++i;
        }
        if (at(i, QLatin1Char('e')) || at(i, QLatin1Char('E'))) {
            qsizetype j = i + 1;
            if (j < t.size() && isSign(t[j])) ++j;
            if (digitAt(j)) {
                i = j;
                while (digitAt(i))
                    ++i;
            }
        }
        return i;
    }

    // The end of the bracket group opening at i; -1 when it does not close.
    qsizetype groupEnd(qsizetype i) const {
        int depth = 0;
        for (; i < t.size(); ++i) {
            if (isOpening(t[i]))
                ++depth;
            else if (isClosing(t[i]) && --depth == 0)
                return i + 1;
        }
        return -1;
    }

    // A "*" goes in where the deletion of blanks would glue the function name to an operand
    // before it: "a sin x" must not become asin(x), nor "2 sin x" stay without an operator.
    static bool needsProduct(const QString& out) {
        qsizetype j = out.size();
        while (j > 0 && out[j - 1] == blank)
            --j;
        if (j == out.size() || j == 0) return false;
        const QChar c = out[j - 1];
        return isNameCharacter(c) || isClosing(c) || c == QLatin1Char('!');
    }

    // Copies the name at i to out, a function name with its operand in brackets when blanks
    // separate them; returns the position after what was read.
    qsizetype readName(qsizetype i, QString& out) {
        const qsizetype k = nameEnd(i);
        const QString name = t.mid(i, k - i);
        if (!isfunctionword(name, names)) {
            out += name;
            return k;
        }
        if (needsProduct(out)) out += QLatin1Char('*');
        out += name;
        const qsizetype j = skipBlanks(k);
        if (j == k || j == t.size() || isOpening(t[j])) return k;
        const qsizetype e = operandEnd(j, depth0 + 1);
        if (e < 0) return k;
        const QString operand = t.mid(j, e - j);
        out += QLatin1Char('(') + Reader(operand, names, depth0 + 1).bracketed() + QLatin1Char(')');
        return e;
    }

    // The operand starting at i: a sign, then factors glued together without blanks.
    qsizetype operandEnd(qsizetype i, int depth) const {
        if (i < t.size() && isSign(t[i])) ++i;
        qsizetype k = factorEnd(i, depth);
        if (k < 0) return -1;
        for (qsizetype e = factorEnd(k, depth); e > 0; e = factorEnd(k, depth))
            k = e;
        return k;
    }

    // One factor starting at i, with its factorials and its power; -1 when none starts there.
    qsizetype factorEnd(qsizetype i, int depth) const {
        if (depth > maxDepth || i >= t.size()) return -1;
        qsizetype k = -1;
        if (markerAt(i))
            k = i + marker().size();
        else if (nameStartAt(i))
            k = nameFactorEnd(i, depth);
        else if (numberStartAt(i))
            k = numberEnd(i);
        else if (isOpening(t[i]))
            k = groupEnd(i);
        if (k < 0) return -1;
        while (at(k, QLatin1Char('!')) && !markerAt(k))
            ++k;
        return powerEnd(k, depth);
    }

    // A name, with its bracketed arguments, or with its operand when it is a function name
    // followed by blanks ("sin cos x": the operand of sin is "cos x").
    qsizetype nameFactorEnd(qsizetype i, int depth) const {
        const qsizetype k = nameEnd(i);
        if (k < t.size() && isOpening(t[k])) return groupEnd(k);
        if (!isfunctionword(t.mid(i, k - i), names)) return k;
        const qsizetype j = skipBlanks(k);
        if (j == k || j == t.size()) return k;
        const qsizetype e = isOpening(t[j]) ? groupEnd(j) : operandEnd(j, depth + 1);
        return e < 0 ? k : e;
    }

    // Blanks may stand around "^"; the exponent may carry a sign and has its own power.
    qsizetype powerEnd(qsizetype k, int depth) const {
        qsizetype j = skipBlanks(k);
        if (!at(j, QLatin1Char('^'))) return k;
        j = skipBlanks(j + 1);
        if (j < t.size() && isSign(t[j])) ++j;
        const qsizetype e = factorEnd(j, depth + 1);
        return e < 0 ? k : e;
    }
};

} // namespace

bool isfunctionword(const QString& name, const QStringList& lineNames) {
    return !name.isEmpty() &&
           (ispredefinedfunction(name) || lineNames.contains(name, Qt::CaseInsensitive));
}

QString bracketcalls(const QString& text, const QStringList& lineNames) {
    return Reader(text, lineNames).bracketed();
}

QStringList uncalledfunctions(const QString& text, const QStringList& lineNames) {
    return Reader(text, lineNames).uncalled();
}

} // namespace engine
