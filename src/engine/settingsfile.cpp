#include "engine/settingsfile.h"

#include "core/colours.h"
#include "core/numbers.h"
#include "core/profile.h"
#include "core/state.h"
#include "engine/attributes.h"

#include <QDir>
#include <QStringList>

#include <functional>

namespace engine {

namespace {

const QString section = QStringLiteral("Kurvatur");
const QString attribsKey = QStringLiteral("Attribs");
const QString colourKey = QStringLiteral("Coltab");
const QString widthKey = QStringLiteral("LDicke");
const QString typeKey = QStringLiteral("LArt");
// The calculator's decimal places: the user chose them there and expects them back.
const QString calcPlacesKey = QStringLiteral("Rechnerstellen");
// The zoom factors in x and y, each followed by ":"; a key of this program's own beside the four.
const QString zoomKey = QStringLiteral("Zoom");

// What the program offers: the pop-up's widths "1" ... "8" are 0 ... 7, its line types "Linie"
// and "Punkt 1" ... "Punkt 10" are 0 ... 10.
constexpr int largestColour = 0xffffff;
constexpr int largestWidth = 7;
constexpr int largestType = 10;

// Thirteen numbers, each followed by ":".
QString perSlot(const std::function<long long(int slot)>& value) {
    QString text;
    for (int i = 0; i < core::lineCount; ++i)
        text += QString::number(value(i)) + QLatin1Char(':');
    return text;
}

// Hands each readable element of the first 13 to apply(slot, number).
void readPerSlot(const core::Profile& profile, const QString& key, int largest,
                 const std::function<void(int slot, int value)>& apply) {
    const auto text = profile.value(section, key);
    if (!text) return;
    const QStringList elements = text->split(QLatin1Char(':'));
    for (int i = 0; i < core::lineCount && i < elements.size(); ++i) {
        if (const auto v = core::filewhole(elements[i], 0, largest)) apply(i, *v);
    }
}

// The width belongs to the slot; the lines drawn with that slot's pen carry it too, so that
// setting up the term window does not take it back.
void setSlotWidth(core::State& state, int slot, int width) {
    state.lineSlots[slot].width = width;
    for (core::FuncLine& line : state.lines)
        if (line.slot == slot) line.lineWidth = width;
}

} // namespace

QString settingsPath(const core::State& state) {
    return QDir(state.configFolder).filePath(QStringLiteral("Kurvatur.ini"));
}

bool savesettings(core::State& state) {
    const QString path = settingsPath(state);
    core::Profile profile = core::Profile::load(path);
    profile.setValue(section, attribsKey, attrlist(state));
    profile.setValue(section, colourKey, perSlot([&](int i) { return state.lineColours[i]; }));
    profile.setValue(section, widthKey, perSlot([&](int i) { return state.lineSlots[i].width; }));
    profile.setValue(section, typeKey, perSlot([&](int i) { return state.lines[i].lineType; }));
    profile.setValue(section, calcPlacesKey, QString::number(state.calcDecimals));
    profile.setValue(section, zoomKey,
                     core::exactNumber(state.zoomX) + QLatin1Char(':') +
                         core::exactNumber(state.zoomY) + QLatin1Char(':'));
    if (QDir().mkpath(state.configFolder) && profile.save(path)) return true;
    state.messages->inform(QStringLiteral("Kurvatur 2"),
                           QStringLiteral("Die Einstellungen konnten nicht gespeichert werden: ") +
                               QDir::toNativeSeparators(path),
                           platform::MessageIcon::Warning);
    return false;
}

void loadsettings(core::State& state) {
    const core::Profile profile = core::Profile::load(settingsPath(state));
    readPerSlot(profile, colourKey, largestColour,
                [&](int i, int v) { core::setcolour(state, i, core::Colour(v)); });
    readPerSlot(profile, widthKey, largestWidth, [&](int i, int v) { setSlotWidth(state, i, v); });
    readPerSlot(profile, typeKey, largestType, [&](int i, int v) { state.lines[i].lineType = v; });
    if (const auto places = profile.value(section, calcPlacesKey))
        state.calcDecimals =
            core::filewhole(*places, 0, mostCalcPlaces).value_or(state.calcDecimals);
    if (const auto zoom = profile.value(section, zoomKey)) {
        // A factor below 1 would turn zooming out into zooming in: such a factor stays.
        const QStringList elements = zoom->split(QLatin1Char(':'));
        double* factors[] = {&state.zoomX, &state.zoomY};
        for (int i = 0; i < 2 && i < elements.size(); ++i)
            if (const auto v = core::filenumber(elements[i]); v && *v >= 1) *factors[i] = *v;
    }
    if (const auto attribs = profile.value(section, attribsKey))
        readattrs(state, *attribs, fromSettings);
    // The line pens follow the colours and widths when the lines are next drawn; the grid's
    // colour is part of the background.
    state.scale.backgroundValid = false;
}

} // namespace engine
