#pragma once
// The settings of the coordinate system as the dialog "Einstellungen zum Koordinatensystem"
// edits them: the field texts from the state, their checks in the order the user meets their
// messages, and what an accepted set of fields changes.

#include <QString>

#include <array>
#include <optional>
#include <variant>

namespace core {
struct State;
}
namespace platform {
class MathEngine;
}

namespace graph {

// The texts of the fields Text1 ... Text16 (index 0 ... 15).
using GraphOptionTexts = std::array<QString, 16>;

struct GraphOptionValues {
    double xGridStart = 0, xGridStep = 0.5, yGridStart = 0, yGridStep = 0.5;
    int xLinesMin = 10, xLinesMax = 40, yLinesMin = 10, yLinesMax = 40;
    int xDigitsMin = 2, yDigitsMin = 2;
    int numberFontSize = 12, axisNameFontSize = 16, gridBrightness = 210;
    QString xAxisName, yAxisName;
    bool refineSampling = true; // the check box "Polstellen und Sprünge genau zeichnen"
    // The limit of the integration directions, when its field held a value strictly between
    // 0 and 1; otherwise the limit stays.
    std::optional<QString> infinityLimit;
};

// The first check that failed: its message and title.
struct GraphOptionRefusal {
    QString title;
    QString text;
};

// The fields as the state fills them (numbers with a decimal comma).
GraphOptionTexts graphOptionTexts(const core::State& state);

// Reads and checks the fields (the check box is the caller's to fill in). A field that cannot be
// read as a number fails the check of that field with its message (it does not count as 0).
std::variant<GraphOptionValues, GraphOptionRefusal> readGraphOptions(platform::MathEngine& engine,
                                                                     const GraphOptionTexts& texts);

// Stores accepted values: grid settings, font sizes, the grid colour, the axis names and the
// limit; the scale is computed anew. The caller redraws and saves the settings file.
void applyGraphOptions(core::State& state, const GraphOptionValues& values);

// The values that "&Voreinstellungen" sets (the limit stays).
GraphOptionValues defaultGraphOptions();

} // namespace graph
