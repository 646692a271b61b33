#pragma once
// The state that the whole program shares: the 13 function lines, the 61 parameter slots,
// ranges, colours, the math engine and a handful of flags. One State object is made at start-up
// and handed to whoever needs it; windows observe it and never own its data.

#include "platform/mathengine.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace core {

inline constexpr int lineCount = 13;  // term lines and line slots 0 ... 12
inline constexpr int paramCount = 61; // parameter slots 0 ... 60
inline constexpr int firstLowerBoundSlot = 0;
inline constexpr int firstSampleCountSlot = 13;
inline constexpr int firstFreeParamSlot = 28;
inline constexpr int lastParamSlot = 60;

// Kind of a function line.
inline constexpr int kindFunction = -2;  // a graph y = f(x)
inline constexpr int kindCurvePart = -1; // drawn only as the y part of a curve
// 0 or more: a curve drawn from this line together with the line of that index.

// 32-bit colour value: red in the lowest byte, green in the next, blue in the third.
using Colour = std::uint32_t;
constexpr Colour rgb(int r, int g, int b) {
    return Colour(r & 0xff) | (Colour(g & 0xff) << 8) | (Colour(b & 0xff) << 16);
}

// The variable marker inside stored terms: a blank, "!", the running variable, "!", a blank.
inline const QString runningVariable = QStringLiteral("_x");
inline const QString variableMarker = QStringLiteral(" !_x! ");

struct FuncLine {
    QString name;      // empty: the line defines nothing
    QString term;      // stored term, own variable replaced by the variable marker
    QString shownTerm; // the term as the user typed it
    QString variable;  // x for a function, t for a curve
    QString lowerText; // lower bound of the definition interval as typed; empty when none
    QString upperText; // upper bound, likewise
    bool drawn = true;
    int sampleCount = 499;
    int lineWidth = 0;
    double lowerBound = 0; // last lower bound of the integral function
    int slot = 0;          // colour, pen and parameter slot of the line
    QString intervalText = QStringLiteral("-oo; +oo");
    int lineType = 0;
    int kind = kindFunction;
    double intervalFrom = 0;
    double intervalTo = 0;
};

// Per line slot, beside the record.
struct LineSlot {
    QString translated;   // the translated term; empty when the line is empty or wrong
    QString integralSpec; // the bracketed integrand; empty when no integral function
    double stepWidth = 0;
    int width = 0;          // saved as "LDicke"
    int widthOverride = -1; // 0 or more replaces the width for the pen
    int penWidthCache = -1;
    std::int64_t penColourCache = -1; // -1 at start so that every pen is made once
};

struct ParamSlot {
    QString label;
    int handle = -1; // engine variable handle; -1 = slot free
    double minimum = -10;
    double maximum = 10;
    double step = 1;
};

struct Ranges {
    double xMin = -10, xMax = 10;
    double yMin = -10, yMax = 10;
    double tMin = 0, tMax = 10;
};

// Handles of the engine variables with program meaning (set by resetengine).
struct EngineHandles {
    int x = -1, qq = -1, sw = -1, xmu = -1, xmi = -1, ymu = -1, ymi = -1;
};

struct State {
    State();

    platform::MathEngine engine;
    EngineHandles handles;

    std::array<FuncLine, lineCount> lines{};
    std::array<LineSlot, lineCount> lineSlots{};
    std::array<ParamSlot, paramCount> params{};
    Ranges ranges;

    std::array<Colour, 15> lineColours{};   // 0-12 lines, 13 coordinate system, 14 new extra lines
    std::array<Colour, 14> storedColours{}; // the colour table kept in the settings ("Coltab")

    QStringList keyTable;
    QStringList plotTypeNames;
    QString tempEntryName = QStringLiteral("__tmp__");
    float trigMode = 1;

    int linesInUse = 0;     // number of term lines in use (at most 13)
    int lastLine = 0;       // index of the last term line
    int graphExprCount = 0; // number of expressions held by the graph
    int busyFlag = 1;       // 1 during start-up and batch updates; redrawall does nothing then
    int calcDecimals = 3;
    QString xLabelFormat = QStringLiteral("0.");
    QString yLabelFormat = QStringLiteral("0.");
    int tppX = 15, tppY = 15; // screen units (twips) per pixel
    bool extraLinesShown = true;
    int axisPenWidth = 2;
    int paramWindowWidth = 4740;
    QString forwardStepText = QStringLiteral("qq+sw*");
    QString backwardStepText = QStringLiteral("qq-sw*");
    QString freeNames = QStringLiteral("fghijklmnopqrstuvwxyz");
    bool autoIntegralRecognition = false;
    QString usedParamNames;

    void initrecords();
    void resetnames();
    void usename(const QString& name);
    // Slot (13 ... 60) of the first parameter in use whose label equals name, or -1.
    int findparam(const QString& name) const;
};

// Replaces every "," by "." and evaluates the text with the engine; no error is read.
double evalnum(platform::MathEngine& engine, const QString& text);

} // namespace core
