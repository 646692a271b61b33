#include "calc/terminalcalc.h"

#include "calc/pocketcalc.h"

#include "core/numbers.h"
#include "engine/enginedefs.h"
#include "engine/translate.h"

#include <QRegularExpression>

#include <array>

namespace calc {

namespace {

// The engine's variables with program meaning, in the order the data-set assembly makes them.
constexpr std::array<const char*, 7> fixedVariables{"_x", "qq", "sw", "xmu", "xmi", "ymu", "ymi"};

const QRegularExpression& variableDefinition() {
    static const QRegularExpression re(QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*=(.*)$)"),
                                       QRegularExpression::DotMatchesEverythingOption);
    return re;
}

const QRegularExpression& functionDefinition() {
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*\(\s*)"
                       R"(([A-Za-z_][A-Za-z0-9_]*(?:\s*[;,]\s*[A-Za-z_][A-Za-z0-9_]*)*))"
                       R"(\s*\)\s*=(.*)$)"),
        QRegularExpression::DotMatchesEverythingOption);
    return re;
}

} // namespace

TerminalCalc::TerminalCalc(bool raw, int angleMode, std::optional<int> places)
    : raw_(raw), places_(places) {
    engine_.reset("35000,1000,1000,4000,300");
    for (const char* name : fixedVariables) {
        const int handle = engine_.defineVariable(name);
        if (QLatin1StringView(name) == QLatin1StringView("sw"))
            engine_.setVariable(handle, derivativeStep);
    }
    engine::initengine(engine_);
    engine_.setTrigMode(angleMode);
    engine_.eval("");
}

QString TerminalCalc::processLine(const QString& input) {
    QString line = input;
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (line.isEmpty()) return {};

    if (const auto m = functionDefinition().match(line); m.hasMatch())
        return defineFunction(m.captured(1), m.captured(2), m.captured(3));
    if (const auto m = variableDefinition().match(line); m.hasMatch())
        return defineVariable(m.captured(1), m.captured(2));
    return evaluateTerm(line);
}

QString TerminalCalc::engineText(const QString& body) const {
    return raw_ ? body.trimmed() : engine::translate(body, false, functionNames_);
}

QString TerminalCalc::evaluateTerm(const QString& line) {
    const QString text = engineText(line);
    if (places_) return evaluate(engine_, text, *places_);
    if (text.isEmpty()) return invalidTermLine();
    const double value = engine_.eval(text.toStdString());
    if (engine_.error() != 0) return errorLine();
    return core::generalNumber(value);
}

QString TerminalCalc::defineVariable(const QString& name, const QString& body) {
    const QString text = engineText(body);
    if (text.isEmpty()) return invalidTermLine();
    const double value = engine_.eval(text.toStdString());
    if (engine_.error() != 0) return errorLine();
    const int handle = engine_.defineVariable(name.toStdString());
    if (handle < 0) return errorLine();
    engine_.setVariable(handle, value);
    return places_ ? roundedText(value, *places_) : core::generalNumber(value);
}

QString TerminalCalc::defineFunction(const QString& name, const QString& params,
                                     const QString& body) {
    QString definition;
    if (raw_) {
        definition = name + QLatin1Char('(') + params + QStringLiteral(")=") + body.trimmed();
    } else {
        const QString text = engineText(body);
        if (text.isEmpty()) return invalidTermLine();
        QStringList names = params.split(QRegularExpression(QStringLiteral("[;,]")));
        for (QString& p : names)
            p = p.trimmed();
        definition = name + QLatin1Char('(') + names.join(QStringLiteral(", ")) +
                     QStringLiteral(")=") + text;
    }
    if (!engine_.defineFunction(definition.toStdString())) return errorLine();
    if (!functionNames_.contains(name)) functionNames_.append(name);
    return QStringLiteral("ok");
}

QString TerminalCalc::errorLine() {
    engine::EngineError e = engine::takeerror(engine_);
    // A refusal without a code is still a broken definition.
    if (!e.failed()) {
        e.code = platform::ErrorCode::syntax;
        e.text = engine::errtext(engine_, e.code);
    }
    if (places_) return errorText(e);
    return QStringLiteral("Error ") + QString::number(e.code) + QStringLiteral(": ") + e.text;
}

QString TerminalCalc::invalidTermLine() {
    engine::EngineError e;
    e.code = platform::ErrorCode::syntax;
    e.text = engine::errtext(engine_, e.code);
    if (places_) return errorText(e);
    return QStringLiteral("Error 9: ") + e.text;
}

} // namespace calc
