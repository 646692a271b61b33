#include "engine/translate.h"

#include "core/state.h"
#include "engine/calls.h"
#include "engine/namechars.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace engine {

namespace {

const QChar blank = QLatin1Char(' ');
const QChar apostrophe = QLatin1Char('\'');

// Nested derivatives copy their argument two or three times per level; a term that grows beyond
// this is not something anybody can draw, and expanding it further would only eat memory.
constexpr qsizetype maxExpandedLength = 100000;

struct LogicalWord {
    QStringView user;
    QStringView engine;
};

// The operator words "mod" and "div" need the same protection: "x mod 2" must not become the
// name xmod2. These words, the prefix words, the list functions and "fill" are found regardless
// of case, as the engine finds names: teachers write "UND", "x MOD 3", "Wenn(...)".
constexpr std::array<LogicalWord, 9> logicalWords{{
    {u"and", u"and"},
    {u"und", u"and"},
    {u"or", u"or"},
    {u"oder", u"or"},
    {u"xor", u"xor"},
    {u"eqv", u"eqv"},
    {u"imp", u"imp"},
    {u"mod", u"mod"},
    {u"div", u"div"},
}};

// "nicht x > 0" must not become the name nichtx. A prefix word counts when a blank follows it
// and no name character precedes it (it may start the term or follow a bracket or "und").
constexpr std::array<QStringView, 2> prefixWords{u"nicht", u"not"};

// Characters a user may sprinkle into a term that mean nothing to the engine. "$" goes too: it
// marks decimal commas further on. Blanks go later, once calls written without brackets are
// read.
constexpr std::array<char16_t, 8> droppedCharacters{u'#', u'~',      u'"', u'\u00a7',
                                                    u'$', u'\u00b4', u'`', u'\u00b0'};

constexpr std::array<QStringView, 6> listFunctions{u"iif(", u"wenn(", u"min(",
                                                   u"max(", u"log(",  u"exp("};

// The word with the character on each side.
QString enclosed(QChar c, QStringView word) {
    QString s;
    s += c;
    s += word;
    s += c;
    return s;
}

// Marks every prefix word that counts as :word: so that it survives the deletion of blanks.
QString protectPrefixWords(QString text) {
    for (const QStringView word : prefixWords) {
        const QString head = word.toString() + QLatin1Char(' ');
        qsizetype hit = text.indexOf(head, 0, Qt::CaseInsensitive);
        while (hit >= 0) {
            if (hit == 0 || !isNameCharacter(text[hit - 1])) {
                text.replace(hit, head.size(), enclosed(QLatin1Char(':'), word));
                hit += word.size() + 2;
            } else {
                hit += head.size();
            }
            hit = text.indexOf(head, hit, Qt::CaseInsensitive);
        }
    }
    return text;
}

// Blanks only, as opposed to QString::trimmed, which also takes tabs and line breaks.
QString trimBlanks(const QString& text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == blank)
        ++from;
    while (to > from && text[to - 1] == blank)
        --to;
    return text.mid(from, to - from);
}

// The stored term has one blank on each side of every variable marker; they are not the
// user's, who may have written "2x" or "2 x". Gone, they leave the user's blanks, which decide
// how far the operand of a function reaches.
QString collapseMarkers(QString text) {
    static const QRegularExpression markerWithBlanks(
        QStringLiteral(" ?") + QRegularExpression::escape(core::variableMarker.trimmed()) +
        QStringLiteral(" ?"));
    return text.replace(markerWithBlanks, core::variableMarker.trimmed());
}

// The term without its blanks and meaningless characters; logical and prefix words keep one
// blank on each side, calls written with blanks get their brackets ("sin x" would else become
// the name sinx). Empty when nothing is left.
QString withoutBlanks(const QString& term, const QStringList& functionNames) {
    QString text = collapseMarkers(term);
    // A logical word counts only between single blanks; it must survive the deletion of blanks.
    for (const auto& w : logicalWords)
        text.replace(enclosed(blank, w.user), enclosed(QLatin1Char(':'), w.user),
                     Qt::CaseInsensitive);
    text = protectPrefixWords(text);
    for (char16_t c : droppedCharacters)
        text.remove(QChar(c));
    text = bracketcalls(text, functionNames);
    text.remove(blank);
    if (text.isEmpty()) return {};
    for (const auto& w : logicalWords)
        text.replace(enclosed(QLatin1Char(':'), w.user), enclosed(blank, w.engine));
    for (const QStringView word : prefixWords)
        text.replace(enclosed(QLatin1Char(':'), word), word.toString() + blank);
    return text;
}

// Decimal commas, brackets, the stripe pattern and the ";" between arguments.
QString engineSeparators(QString text) {
    text.replace(QLatin1Char(','), QLatin1Char('$'));
    text.replace(QLatin1Char('['), QLatin1Char('('));
    text.replace(QLatin1Char('{'), QLatin1Char('('));
    text.replace(QLatin1Char(']'), QLatin1Char(')'));
    text.replace(QLatin1Char('}'), QLatin1Char(')'));

    text.replace(QStringLiteral("fill"),
                 QStringLiteral("((Sgn(Sin(pi/dichte*") + core::runningVariable +
                     QStringLiteral("/sw))+1)/2)"),
                 Qt::CaseInsensitive);

    // ";" separates arguments only inside these functions; there a "$" is a decimal comma too.
    // The changed group has the same length as the found one, so positions stay valid.
    for (const auto& f : listFunctions) {
        qsizetype hit = text.indexOf(f, 0, Qt::CaseInsensitive);
        while (hit >= 0) {
            const QString group = callgroup(text, int(hit) + 1);
            if (!group.isEmpty()) {
                QString changed = group;
                changed.replace(QLatin1Char('$'), QLatin1Char('.'));
                changed.replace(QLatin1Char(';'), QLatin1Char(','));
                text.replace(group, changed);
            }
            hit = text.indexOf(f, hit + 1, Qt::CaseInsensitive);
        }
    }
    text.replace(QLatin1Char('$'), QLatin1Char('.'));
    return text;
}

// True when the text ends with a name: "a", "a2", "_x"; not a number such as "2" or "1.5".
bool endsWithName(const QString& text) {
    qsizetype i = text.size();
    while (i > 0 && isDigit(text[i - 1]))
        --i;
    return i > 0 && (isLetter(text[i - 1]) || text[i - 1] == QLatin1Char('_'));
}

// Each marker becomes the running variable. Where the user's blank stood between the variable
// and a name or number ("a x", "x 2", "x x"), a "*" keeps them apart: glued, they would make a
// new name such as a_x, a parameter nobody meant. "2x" stays 2_x, a product for the engine.
QString placeRunningVariable(const QString& text) {
    const QString marker = core::variableMarker.trimmed();
    const QChar star = QLatin1Char('*');
    QString out;
    qsizetype from = 0;
    for (qsizetype hit = text.indexOf(marker); hit >= 0; hit = text.indexOf(marker, from)) {
        out += QStringView(text).mid(from, hit - from);
        if (endsWithName(out)) out += star;
        out += core::runningVariable;
        from = hit + marker.size();
        if (from < text.size() && (isNameCharacter(text[from]) || text[from] == QLatin1Char('(')))
            out += star;
    }
    out += QStringView(text).mid(from);
    return out;
}

// Replaces every call name + apostrophes + (argument) by the difference quotient that
// makeQuotient builds from the argument group. A hit inside a longer name (gf' while expanding f)
// is left alone. The search goes on right after the start of the replaced call, so derivatives
// inside the argument are expanded as well.
template <class MakeQuotient>
bool expandCalls(QString& text, const QString& name, int apostrophes, MakeQuotient makeQuotient) {
    const QString head = name + QString(apostrophes, apostrophe) + QLatin1Char('(');
    const int nameLength = int(name.size());
    qsizetype hit = text.indexOf(head);
    while (hit >= 0) {
        const int pos = int(hit) + 1;
        if ((wordflags(pos, text, nameLength) & 1) == 0) {
            const QString group = callgroup(text, pos);
            if (!group.isEmpty()) {
                const QString quotient = makeQuotient(group);
                text.replace(hit, nameLength + apostrophes + group.size(), quotient);
                if (text.size() > maxExpandedLength) return false;
            }
        }
        hit = text.indexOf(head, hit + 1);
    }
    return true;
}

// ((f(g+sw)-f(g))/sw): the forward difference quotient.
QString firstDerivative(const QString& f, const QString& g) {
    return QStringLiteral("((") + f + QLatin1Char('(') + g + QStringLiteral("+sw)-") + f +
           QLatin1Char('(') + g + QStringLiteral("))/sw)");
}

// ((f(g+sw)-2f(g)+f(g-sw))/sw^2): the central second difference.
QString secondDerivative(const QString& f, const QString& g) {
    return QStringLiteral("((") + f + QLatin1Char('(') + g + QStringLiteral("+sw)-2") + f +
           QLatin1Char('(') + g + QStringLiteral(")+") + f + QLatin1Char('(') + g +
           QStringLiteral("-sw))/sw^2)");
}

} // namespace

QString translate(const QString& term, bool noderiv, const QStringList& functionNames) {
    QString text = withoutBlanks(term, functionNames);
    if (text.isEmpty()) return {};
    text = placeRunningVariable(engineSeparators(text));

    if (!noderiv) {
        for (const QString& f : functionNames) {
            if (f.isEmpty()) continue;
            if (!expandCalls(text, f, 2,
                             [&f](const QString& g) { return secondDerivative(f, g); }) ||
                !expandCalls(text, f, 1, [&f](const QString& g) { return firstDerivative(f, g); }))
                return {};
        }
    }

    if (text.contains(apostrophe)) return {};
    return text;
}

QString translate(const QString& term, bool noderiv, const core::State& state) {
    return translate(term, noderiv, linenames(state));
}

QStringList linenames(const core::State& state) {
    QStringList names;
    const int n = std::clamp(state.linesInUse, 0, core::lineCount);
    for (int i = 0; i < n; ++i)
        names.append(state.lines[i].name);
    return names;
}

int wordflags(int pos, const QString& text, int len) {
    int flags = 0;
    qsizetype before = qsizetype(pos) - 2; // 0-based index of the character before
    if (before >= 0 && before < text.size()) {
        if (isLetter(text[before])) {
            flags |= 1;
        } else if (isDigit(text[before])) {
            while (before >= 0 && isDigit(text[before]))
                --before;
            if (before >= 0 && isLetter(text[before])) flags |= 1;
        }
    }
    const qsizetype after = qsizetype(pos) - 1 + len;
    if (after >= 0 && after < text.size()) {
        const QChar c = text[after];
        if (isLetter(c) || isDigit(c) || c == apostrophe || c == QLatin1Char('(')) flags |= 2;
    }
    return flags;
}

QString replword(const QString& text, const QString& word, const QString& replacement, int mask,
                 Qt::CaseSensitivity cs) {
    QString padded = blank + trimBlanks(text) + blank;
    if (word.isEmpty()) return trimBlanks(padded);
    qsizetype hit = padded.indexOf(word, 0, cs);
    while (hit >= 0) {
        qsizetype next = hit + word.size();
        if ((wordflags(int(hit) + 1, padded, int(word.size())) & mask) == 0) {
            padded.replace(hit, word.size(), replacement);
            next = hit + replacement.size();
        }
        hit = padded.indexOf(word, next, cs);
    }
    return trimBlanks(padded);
}

bool hasword(const QString& text, const QString& word) {
    if (word.isEmpty()) return false;
    const QString padded = blank + trimBlanks(text) + blank;
    for (qsizetype hit = padded.indexOf(word); hit >= 0;
         hit = padded.indexOf(word, hit + word.size())) {
        if ((wordflags(int(hit) + 1, padded, int(word.size())) & 3) == 0) return true;
    }
    return false;
}

QString callgroup(const QString& text, int pos) {
    const qsizetype open = text.indexOf(QLatin1Char('('), std::max<qsizetype>(pos - 1, 0));
    if (open < 0) return {};
    int depth = 0;
    for (qsizetype i = open; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('('))
            ++depth;
        else if (text[i] == QLatin1Char(')') && --depth == 0)
            return text.mid(open, i - open + 1);
    }
    return {};
}

} // namespace engine
