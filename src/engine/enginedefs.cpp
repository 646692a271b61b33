#include "engine/enginedefs.h"

#include "core/state.h"
#include "platform/mathengine.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace engine {

namespace {

struct Alias {
    const char* newWord;
    const char* engineWord;
};

constexpr std::array<const char*, 4> predefinedFunctions{
    "log(m, n)=ln(m)/ln(n)",
    "exp(m, n)=exp2(m*log2(n))",
    "wurzel(m)=sqrt(m)",
    "integral(m)=0",
};

constexpr std::array<Alias, 9> aliases{{
    {"nicht", "not"},
    {"wenn", "iif"},
    {"arcsin", "asin"},
    {"arccos", "acos"},
    {"arctan", "atan"},
    {"sinhyp", "sinh"},
    {"coshyp", "cosh"},
    {"tanhyp", "tanh"},
    {"betrag", "abs"},
}};

// Index = code. Codes 1, 3, 11, 12 and 13 get the error data appended.
constexpr std::array<const char16_t*, 33> messages{
    u"",
    u"",
    u"Fehlerhafte Klammersetzung",
    u"Undefined variable: ",
    u"Ungültige Binärzahl",
    u"Ungültige Oktalzahl",
    u"Ungültige Hexadezimalzahl",
    u"Faktorieller Überlauf",
    u"Falschplatzierte Anführungsstriche",
    u"Ungültiger Term",
    u"Speicher für Definitionen ist voll",
    u"Nicht definierte Funktion: ",
    u"Ungültige Anzahl von Argumenten in ",
    u"Ungültiger Argumenttyp in ",
    u"Division durch 0",
    u"Ganzzahldivision durch 0 (mit \\ oder DIV) ",
    u"Ungültiger Wert im Exponenten",
    u"Ungültiger Wert unter der Wurzel",
    u"Ungültiger Wert für LOG2",
    u"Ungültiger Wert für LOG10",
    u"Ungültiger Wert für LOG oder LN",
    u"Ungültiger Wert für ARCSIN",
    u"Ungültiger Wert für ARCCOS",
    u"Ungültiger Wert für SEC",
    u"Ungültiger Wert für CSC",
    u"Ungültiger Wert für COT",
    u"Ungültiger Wert für COTH",
    u"Ungültiger Wert für CSCH",
    u"Ungültiger Wert für ACOSH",
    u"Ungültiger Wert für ATANH",
    u"Ungültiger Wert für ACOTH",
    u"Ungültiger Wert für ASECH",
    u"Ungültiger Wert für ACSCH",
};

bool withData(int code) {
    return code == 1 || code == 3 || (code >= 11 && code <= 13);
}

} // namespace

void initengine(platform::MathEngine& engine) {
    engine.defineVariable("pi=2*asin(1)");
    engine.defineVariable("e=exp(1)");
    for (const char* definition : predefinedFunctions)
        engine.defineFunction(definition);
    for (const Alias& a : aliases)
        engine.alias(a.newWord, a.engineWord);
}

bool ispredefinedfunction(const QString& name) {
    const std::string word = name.toLower().toStdString();
    if (platform::MathEngine::isBuiltinFunction(word)) return true;
    for (const char* definition : predefinedFunctions)
        if (std::string_view(definition).substr(0, word.size() + 1) == word + '(') return true;
    for (const Alias& a : aliases)
        if (word == a.newWord) return platform::MathEngine::isBuiltinFunction(a.engineWord);
    return false;
}

QString errtext(platform::MathEngine& engine, int code) {
    if (code == -1) code = engine.error();
    if (code < 1 || code >= int(messages.size())) return {};
    QString text = QString::fromUtf16(messages[std::size_t(code)]);
    if (withData(code)) text += QString::fromStdString(engine.errorData());
    return text;
}

bool setanglemode(core::State& state, int mode) {
    if (mode < 1 || mode > 3) return false;
    state.engine.setTrigMode(mode);
    state.trigMode = float(mode);
    return true;
}

EngineError takeerror(platform::MathEngine& engine, std::initializer_list<int> tolerated) {
    EngineError result;
    result.code = engine.error();
    if (result.code != 0) {
        result.data = QString::fromStdString(engine.errorData());
        if (std::find(tolerated.begin(), tolerated.end(), result.code) == tolerated.end())
            result.text = errtext(engine, -1);
    }
    engine.eval("");
    return result;
}

EngineError checkedcall(platform::MathEngine& engine, const std::function<void()>& call,
                        std::initializer_list<int> tolerated) {
    call();
    return takeerror(engine, tolerated);
}

} // namespace engine
