#include "core/state.h"

namespace core {

namespace {

const std::array<Colour, 14> defaultColours = {
    rgb(0, 0, 255),   rgb(0, 160, 0),   rgb(255, 0, 0),    rgb(255, 128, 0),   rgb(128, 0, 128),
    rgb(255, 0, 255), rgb(128, 64, 0),  rgb(0, 128, 255),  rgb(255, 128, 128), rgb(128, 128, 128),
    rgb(200, 200, 0), rgb(0, 200, 200), rgb(64, 128, 128), rgb(80, 0, 80)};

const QString allFreeNames = QStringLiteral("fghijklmnopqrstuvwxyz");

} // namespace

void DrawingReport::clear() {
    cutLines.clear();
    notices.clear();
}

void DrawingReport::addNotice(const QString& text) {
    if (!notices.contains(text)) notices.append(text);
}

State::State()
    : messages(std::make_shared<platform::StreamMessages>()),
      fileDialogs(std::make_shared<platform::NoFileDialogs>()),
      colourDialogs(std::make_shared<platform::NoColourDialogs>()) {
    keyTable = QStringList{QString(),
                           QStringLiteral("}"),
                           QStringLiteral("["),
                           QStringLiteral("short:"),
                           QStringLiteral("long:"),
                           QStringLiteral("Coltab="),
                           QStringLiteral("LDicke="),
                           QStringLiteral("LArt="),
                           QStringLiteral("x["),
                           QStringLiteral("y["),
                           QStringLiteral("t["),
                           QStringLiteral("x$["),
                           QStringLiteral("y$["),
                           QStringLiteral("t$["),
                           QStringLiteral("Attribs="),
                           QStringLiteral("(]"),
                           QStringLiteral("(]"),
                           QStringLiteral("(]"),
                           QStringLiteral("(]"),
                           QStringLiteral("(]"),
                           QStringLiteral("asy="),
                           QStringLiteral("Punkte="),
                           QStringLiteral("$")};
    plotTypeNames =
        QStringList{QStringLiteral("Funktionenplotter"), QStringLiteral("Kurvenplotter")};
    resetColours();
    lineColours[14] = 0; // new additional lines start black; not kept in the settings
    initrecords();
}

void State::resetColours() {
    storedColours = defaultColours;
    for (int i = 0; i < lineCount; ++i)
        lineColours[i] = defaultColours[i];
    lineColours[13] = gridColour(GraphOptions{}.gridBrightness);
}

void State::initrecords() {
    for (int i = 0; i < lineCount; ++i) {
        lines[i] = FuncLine{};
        lines[i].slot = i;
        lineSlots[i].translated.clear();
    }
}

void State::resetnames() {
    freeNames = allFreeNames;
}

void State::usename(const QString& name) {
    if (name.size() != 1) return;
    freeNames.remove(name.at(0));
    freeNames.remove(QLatin1Char(' '));
}

int State::findparam(const QString& name) const {
    for (int k = firstSampleCountSlot; k <= lastParamSlot; ++k) {
        if (params[k].handle != -1 && params[k].label == name) return k;
    }
    return -1;
}

} // namespace core
