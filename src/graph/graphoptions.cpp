#include "graph/graphoptions.h"

#include "core/numbers.h"
#include "core/state.h"
#include "graph/scale.h"

#include <cmath>
#include <functional>
#include <vector>

namespace graph {

namespace {

QString number(double v) {
    return core::germanNumber(v);
}

// A whole-number field: the value rounded to the nearest integer (halves to even).
std::optional<int> whole(std::optional<double> v) {
    if (!v || std::abs(*v) > 32767) return std::nullopt;
    return static_cast<int>(std::nearbyint(*v));
}

struct Check {
    bool failed;
    const char* title;
    const char* text;
};

} // namespace

GraphOptionTexts graphOptionTexts(const core::State& state) {
    const core::Scale& s = state.scale;
    const core::GraphOptions& o = state.graphOptions;
    return {number(s.xGridStart),
            number(s.xGridStep),
            number(s.yGridStart),
            number(s.yGridStep),
            number(s.xLinesMin),
            number(s.xLinesMax),
            number(s.yLinesMin),
            number(s.yLinesMax),
            number(s.xDigitsMin),
            number(s.yDigitsMin),
            number(o.numberFontSize),
            number(o.axisNameFontSize),
            number(o.gridBrightness),
            o.xAxisName,
            o.yAxisName,
            state.infinityLimit};
}

std::variant<GraphOptionValues, GraphOptionRefusal> readGraphOptions(platform::MathEngine& engine,
                                                                     const GraphOptionTexts& t) {
    const auto real = [&](int i) { return core::evalnum(engine, t[i]); };
    const auto integer = [&](int i) { return whole(real(i)); };
    const auto xStart = real(0), xStep = real(1), yStart = real(2), yStep = real(3);
    const auto xMin = integer(4), xMax = integer(5), yMin = integer(6), yMax = integer(7);
    const auto xDigits = integer(8), yDigits = integer(9);
    const auto numberSize = integer(10), nameSize = integer(11), brightness = integer(12);
    const auto outside = [](std::optional<int> v, int lo, int hi) {
        return !v || *v < lo || *v > hi;
    };

    const std::vector<Check> checks = {
        {!xStart, "Fehler", "Ungültiger x-Startwert!"},
        {!xStep || *xStep == 0, "Fehler", "Ungültige x-Schrittweite!"},
        {!yStart, "Fehler", "Ungültiger y-Startwert!"},
        {!yStep || *yStep == 0, "Fehler", "Ungültige y-Schrittweite!"},
        {!xMin || !xMax || *xMin >= *xMax, "x-Hilfslinien",
         "Unsinnige Reihenfolge bei der Anzahl!"},
        {!yMin || !yMax || *yMin >= *yMax, "y-Hilfslinien",
         "Unsinnige Reihenfolge bei der Anzahl!"},
        {xMin.value_or(0) < 0, "x-Hilfslinien", "Minimalzahl muss positiv sein!"},
        {yMin.value_or(0) < 0, "y-Hilfslinien", "Minimalzahl muss positiv sein!"},
        {outside(xDigits, 1, 10), "Stellengenauigkeit für x",
         "Stellenzahl muss zwischen 1 und 10 liegen!"},
        {outside(yDigits, 1, 10), "Stellengenauigkeit für y",
         "Stellenzahl muss zwischen 1 und 10 liegen!"},
        {outside(numberSize, 5, 30), "Schriftgröße der Zahlen",
         "Schriftgröße muss zwischen 4 und 31 liegen!"},
        {outside(nameSize, 5, 30), "Schriftgröße der Achsennamen",
         "Schriftgröße muss zwischen 4 und 31 liegen!"},
        {outside(brightness, 0, 255), "Hilfslinien-Helligkeit",
         "Helligkeit muss zwischen 0 und 255 liegen!"},
    };
    for (const Check& check : checks)
        if (check.failed)
            return GraphOptionRefusal{QString::fromUtf8(check.title),
                                      QString::fromUtf8(check.text)};
    GraphOptionValues v;
    v.xGridStart = *xStart;
    v.xGridStep = *xStep;
    v.yGridStart = *yStart;
    v.yGridStep = *yStep;
    v.xLinesMin = *xMin;
    v.xLinesMax = *xMax;
    v.yLinesMin = *yMin;
    v.yLinesMax = *yMax;
    v.xDigitsMin = *xDigits;
    v.yDigitsMin = *yDigits;
    v.numberFontSize = *numberSize;
    v.axisNameFontSize = *nameSize;
    v.gridBrightness = *brightness;
    v.xAxisName = t[13];
    v.yAxisName = t[14];
    const auto limit = real(15);
    if (limit && *limit > 0 && *limit < 1) v.infinityLimit = t[15];
    return v;
}

void applyGraphOptions(core::State& state, const GraphOptionValues& v) {
    core::Scale& s = state.scale;
    s.xGridStart = v.xGridStart;
    s.xGridStep = v.xGridStep;
    s.yGridStart = v.yGridStart;
    s.yGridStep = v.yGridStep;
    s.xLinesMin = v.xLinesMin;
    s.xLinesMax = v.xLinesMax;
    s.yLinesMin = v.yLinesMin;
    s.yLinesMax = v.yLinesMax;
    s.xDigitsMin = v.xDigitsMin;
    s.yDigitsMin = v.yDigitsMin;
    core::GraphOptions& o = state.graphOptions;
    o.numberFontSize = v.numberFontSize;
    o.axisNameFontSize = v.axisNameFontSize;
    o.gridBrightness = v.gridBrightness;
    o.xAxisName = v.xAxisName;
    o.yAxisName = v.yAxisName;
    o.refineSampling = v.refineSampling;
    state.lineColours[13] = core::gridColour(v.gridBrightness);
    if (v.infinityLimit) state.infinityLimit = *v.infinityLimit;
    setscale(state);
}

GraphOptionValues defaultGraphOptions() {
    GraphOptionValues v;
    v.xAxisName = QStringLiteral("x");
    v.yAxisName = QStringLiteral("y");
    return v;
}

} // namespace graph
