#include "engine/attributes.h"

#include "core/numbers.h"
#include "core/state.h"
#include "engine/enginedefs.h"

#include <QStringList>

#include <array>
#include <cmath>
#include <functional>
#include <optional>

namespace engine {

namespace {

// What the option dialogs and menus accept; an item outside is refused.
constexpr int smallestFont = 6, largestFont = 72; // font sizes (points / pixels)
constexpr int darkest = 0, brightest = 255;       // the grid's grey
constexpr int fewestLines = 1, mostLines = 200;   // minimal and maximal grid line counts
constexpr int mostDecimals = 15;                  // decimal places of the axis numbers
constexpr int smallestPoint = 1, largestPoint = 50;
constexpr int itemCount = 34;

QString flag(bool on) {
    return on ? QStringLiteral("-1") : QStringLiteral("0");
}

// A single-precision item in its shortest form, which reads back as the same float.
QString single(float v) {
    return core::exactNumber(v);
}

// Each reader takes its item from the element and says whether it did.
using Reader = std::function<bool(core::State&, const QString&)>;

Reader text(QString core::GraphOptions::*name) {
    return [name](core::State& s, const QString& e) {
        if (e.isEmpty()) return false;
        s.graphOptions.*name = e;
        return true;
    };
}

Reader wholeInto(std::function<int&(core::State&)> target, int lo, int hi) {
    return [target, lo, hi](core::State& s, const QString& e) {
        const auto v = core::filewhole(e, lo, hi);
        if (v) target(s) = *v;
        return v.has_value();
    };
}

Reader flagInto(std::function<bool&(core::State&)> target) {
    return [target](core::State& s, const QString& e) {
        const auto v = core::filenumber(e);
        if (v) target(s) = *v != 0;
        return v.has_value();
    };
}

Reader startInto(double core::Scale::*start) {
    return [start](core::State& s, const QString& e) {
        const auto v = core::filenumber(e);
        if (v) s.scale.*start = *v;
        return v.has_value();
    };
}

Reader stepInto(double core::Scale::*step) {
    return [step](core::State& s, const QString& e) {
        const auto v = core::filenumber(e);
        if (!v || *v <= 0) return false;
        s.scale.*step = *v;
        return true;
    };
}

Reader floatInto(float core::WindowAttributes::*target, double lo) {
    return [target, lo](core::State& s, const QString& e) {
        const auto v = core::filenumber(e);
        if (!v || *v < lo || std::abs(*v) > 1e9) return false;
        s.windowAttributes.*target = float(*v);
        return true;
    };
}

bool readBrightness(core::State& s, const QString& e) {
    const auto v = core::filewhole(e, darkest, brightest);
    if (!v) return false;
    s.graphOptions.gridBrightness = *v;
    // The grid's grey is the coordinate system's colour, not one of the stored colour table.
    s.lineColours[13] = core::gridColour(*v);
    return true;
}

bool readAngleUnit(core::State& s, const QString& e) {
    const auto v = core::filewhole(e, 1, 3);
    return v && setanglemode(s, *v);
}

bool readKeepSampleCount(core::State& s, const QString& e) {
    const auto v = core::filewhole(e, 0, 1);
    if (v) s.keepSampleCount = *v == 1;
    return v.has_value();
}

bool readPointSize(core::State& s, const QString& e) {
    const auto v = core::filenumber(e);
    if (!v) return false;
    const auto size = core::wholeIn(std::abs(*v), smallestPoint, largestPoint);
    if (size) s.pointSize = *size;
    return size.has_value();
}

// When an item is read: always, never, only from the settings file, or (window items) when the
// list comes from the settings file or the user has set the window's mark.
enum class When { always, never, fromSettings, termFontMark, descriptionMark, graphMark };

struct Item {
    When when;
    std::function<QString(const core::State&)> write;
    Reader read;
    int windowBit = 0; // the bit of hook windowAttributesRead that the item belongs to
};

const std::array<Item, itemCount>& items() {
    using S = const core::State&;
    using core::GraphOptions, core::Scale, core::WindowAttributes, core::germanNumber;
    static const std::array<Item, itemCount> table = {{
        {When::always, [](S s) { return s.graphOptions.xAxisName; },
         text(&GraphOptions::xAxisName)},
        {When::always, [](S s) { return s.graphOptions.yAxisName; },
         text(&GraphOptions::yAxisName)},
        {When::always, [](S s) { return QString::number(s.graphOptions.axisNameFontSize); },
         wholeInto([](core::State& s) -> int& { return s.graphOptions.axisNameFontSize; },
                   smallestFont, largestFont)},
        {When::always, [](S s) { return QString::number(s.graphOptions.numberFontSize); },
         wholeInto([](core::State& s) -> int& { return s.graphOptions.numberFontSize; },
                   smallestFont, largestFont)},
        {When::always, [](S s) { return flag(s.graphOptions.axisNamesShown); },
         flagInto([](core::State& s) -> bool& { return s.graphOptions.axisNamesShown; })},
        {When::always, [](S s) { return QString::number(s.graphOptions.gridBrightness); },
         readBrightness},
        {When::always, [](S s) { return germanNumber(s.scale.xGridStart); },
         startInto(&Scale::xGridStart)},
        {When::always, [](S s) { return germanNumber(s.scale.yGridStart); },
         startInto(&Scale::yGridStart)},
        {When::always, [](S s) { return germanNumber(s.scale.xGridStep); },
         stepInto(&Scale::xGridStep)},
        {When::always, [](S s) { return germanNumber(s.scale.yGridStep); },
         stepInto(&Scale::yGridStep)},
        {When::always, [](S s) { return QString::number(s.scale.xLinesMin); },
         wholeInto([](core::State& s) -> int& { return s.scale.xLinesMin; }, fewestLines,
                   mostLines)},
        {When::always, [](S s) { return QString::number(s.scale.yLinesMin); },
         wholeInto([](core::State& s) -> int& { return s.scale.yLinesMin; }, fewestLines,
                   mostLines)},
        {When::always, [](S s) { return QString::number(s.scale.xLinesMax); },
         wholeInto([](core::State& s) -> int& { return s.scale.xLinesMax; }, fewestLines,
                   mostLines)},
        {When::always, [](S s) { return QString::number(s.scale.yLinesMax); },
         wholeInto([](core::State& s) -> int& { return s.scale.yLinesMax; }, fewestLines,
                   mostLines)},
        {When::always, [](S s) { return QString::number(s.scale.xDigitsMin); },
         wholeInto([](core::State& s) -> int& { return s.scale.xDigitsMin; }, 0, mostDecimals)},
        {When::always, [](S s) { return QString::number(s.scale.yDigitsMin); },
         wholeInto([](core::State& s) -> int& { return s.scale.yDigitsMin; }, 0, mostDecimals)},
        {When::always, [](S s) { return flag(s.graphOptions.gridShown); },
         flagInto([](core::State& s) -> bool& { return s.graphOptions.gridShown; })},
        {When::always, [](S s) { return flag(s.graphOptions.labelsShown); },
         flagInto([](core::State& s) -> bool& { return s.graphOptions.labelsShown; })},
        {When::always, [](S s) { return flag(s.graphOptions.axesShown); },
         flagInto([](core::State& s) -> bool& { return s.graphOptions.axesShown; })},
        // Which additional objects are shown is the user's choice of the moment: written only.
        {When::never, [](S s) { return flag(s.extraLinesShown); }, nullptr},
        {When::never, [](S s) { return flag(s.pointsShown); }, nullptr},
        {When::always, [](S s) { return single(s.trigMode); }, readAngleUnit},
        {When::termFontMark, [](S s) { return single(float(s.termEditor.fontSize)); },
         wholeInto([](core::State& s) -> int& { return s.termEditor.fontSize; }, smallestFont,
                   largestFont),
         core::termFontRead},
        {When::descriptionMark, [](S s) { return single(s.windowAttributes.descriptionFontSize); },
         [](core::State& s, const QString& e) {
             const auto v = core::filewhole(e, smallestFont, largestFont);
             if (v) s.windowAttributes.descriptionFontSize = float(*v);
             return v.has_value();
         },
         core::descriptionFontRead},
        {When::always, [](S s) { return QString::number(s.keepSampleCount ? 1 : 0); },
         readKeepSampleCount},
        {When::fromSettings, [](S s) { return flag(s.windowAttributes.descriptionSizeIndividual); },
         flagInto(
             [](core::State& s) -> bool& { return s.windowAttributes.descriptionSizeIndividual; })},
        {When::fromSettings, [](S s) { return flag(s.windowAttributes.termFontIndividual); },
         flagInto([](core::State& s) -> bool& { return s.windowAttributes.termFontIndividual; })},
        {When::always, [](S s) { return QString::number(s.pointSize); }, readPointSize},
        {When::fromSettings, [](S s) { return flag(s.windowAttributes.graphIndividual); },
         flagInto([](core::State& s) -> bool& { return s.windowAttributes.graphIndividual; })},
        // Sizes must be positive, places not left of the main window's area.
        {When::graphMark, [](S s) { return single(s.windowAttributes.graphInnerHeight); },
         floatInto(&WindowAttributes::graphInnerHeight, 1), core::graphGeometryRead},
        {When::graphMark, [](S s) { return single(s.windowAttributes.graphInnerWidth); },
         floatInto(&WindowAttributes::graphInnerWidth, 1), core::graphGeometryRead},
        {When::graphMark, [](S s) { return single(s.windowAttributes.graphLeft); },
         floatInto(&WindowAttributes::graphLeft, 0), core::graphGeometryRead},
        {When::graphMark, [](S s) { return single(s.windowAttributes.termLeft); },
         floatInto(&WindowAttributes::termLeft, 0), core::graphGeometryRead},
        // Kept last, so that a list written before it existed leaves the setting as it is.
        {When::always, [](S s) { return flag(s.graphOptions.refineSampling); },
         flagInto([](core::State& s) -> bool& { return s.graphOptions.refineSampling; })},
    }};
    return table;
}

// Whether an item of this kind is read now; the marks are those after the list's own marks.
bool isRead(When when, const core::State& s, int mode) {
    const bool settings = mode == fromSettings;
    const core::WindowAttributes& w = s.windowAttributes;
    switch (when) {
    case When::always:
        return true;
    case When::never:
        return false;
    case When::fromSettings:
        return settings;
    case When::termFontMark:
        return settings || w.termFontIndividual;
    case When::descriptionMark:
        return settings || w.descriptionSizeIndividual;
    case When::graphMark:
        return settings || w.graphIndividual;
    }
    return false;
}

bool isWindowItem(When when) {
    return when == When::termFontMark || when == When::descriptionMark || when == When::graphMark;
}

// A grid whose minimal line count exceeds its maximal one cannot be drawn: such a pair from the
// list is refused as a whole.
void keepLineCountsInOrder(core::State& s, const core::Scale& before) {
    if (s.scale.xLinesMin > s.scale.xLinesMax) {
        s.scale.xLinesMin = before.xLinesMin;
        s.scale.xLinesMax = before.xLinesMax;
    }
    if (s.scale.yLinesMin > s.scale.yLinesMax) {
        s.scale.yLinesMin = before.yLinesMin;
        s.scale.yLinesMax = before.yLinesMax;
    }
}

} // namespace

QString attrlist(core::State& state) {
    state.hooks.call(state.hooks.noteWindowAttributes);
    QString list;
    for (const Item& item : items())
        list += item.write(state) + QLatin1Char(':');
    return list;
}

void readattrs(core::State& state, const QString& text, int mode) {
    const QStringList elements = text.split(QLatin1Char(':'));
    const core::Scale before = state.scale;
    int windowBits = 0;
    // The window items depend on marks that come later in the list: they are read last.
    for (const bool windowPass : {false, true}) {
        for (int k = 0; k < itemCount && k < elements.size(); ++k) {
            const Item& item = items()[k];
            if (isWindowItem(item.when) != windowPass || !isRead(item.when, state, mode)) continue;
            if (item.read(state, elements[k])) windowBits |= item.windowBit;
        }
    }
    keepLineCountsInOrder(state, before);
    state.scale.backgroundValid = false;
    state.hooks.call(state.hooks.windowAttributesRead, windowBits);
}

} // namespace engine
