#pragma once
// The zoom factors as the dialog "Zoom-Einstellungen" edits them.

#include <QString>
#include <QStringList>

#include <array>

namespace core {
struct State;
}

namespace graph {

// The fields Text1 (x) and Text2 (y) as the state fills them (decimal comma).
std::array<QString, 2> zoomFactorTexts(const core::State& state);

// Reads the two fields, x first: a factor of at least 1 becomes the zoom factor of its axis;
// a smaller one, or a text that is no number, keeps the old factor and gives its message
// ("ungültiger Zoomfaktor in x-Richtung!"). The messages in that order, none when both were
// taken. The settings file is the caller's.
QStringList applyZoomFactors(core::State& state, const QString& xText, const QString& yText);

} // namespace graph
