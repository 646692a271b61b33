#include "terms/drawingstatus.h"

#include "terms/termcheck.h"

#include <QStringList>

#include <utility>

namespace terms {

namespace {

// "f(x)": the name of line i with its own variable.
QString lineCall(const core::State& state, int i) {
    const core::FuncLine& line = state.lines[i];
    return line.name + QLatin1Char('(') + line.variable + QLatin1Char(')');
}

} // namespace

QString cutLinesText(const core::State& state) {
    QStringList names;
    for (const int i : state.drawingReport.cutLines) {
        if (i < 0 || i >= core::lineCount) continue;
        names << lineCall(state, i);
        // A curve is drawn from its line and the partner line that holds y.
        const int partner = state.lines[i].kind;
        if (partner >= 0 && partner < core::lineCount) names << lineCall(state, partner);
    }
    if (names.isEmpty()) return {};
    return names.join(QStringLiteral(", ")) + QStringLiteral(": Zeichnung abgebrochen, ") +
           (names.size() == 1 ? QStringLiteral("der Term ist") : QStringLiteral("die Terme sind")) +
           QStringLiteral(" zu aufwendig.");
}

void showDrawingReport(core::State& state) {
    core::TermEditor& editor = state.termEditor;
    const QString text = cutLinesText(state);
    const bool showing =
        !editor.drawingStatus.isEmpty() && editor.statusText == editor.drawingStatus;
    if (text.isEmpty()) {
        if (showing) showerror(state, editor.statusBeforeDrawing, editor.colourBeforeDrawing);
        editor.drawingStatus.clear();
    } else if (!showing || editor.statusText != text) {
        if (!showing) {
            editor.statusBeforeDrawing = editor.statusText;
            editor.colourBeforeDrawing = editor.statusColour;
        }
        editor.drawingStatus = text;
        showerror(state, text, statusRed);
    }

    // Taken out first: a message box lets other events run, which may redraw.
    const QStringList notices = std::exchange(state.drawingReport.notices, {});
    for (const QString& notice : notices)
        state.messages->inform(QStringLiteral("Kurvatur 2"), notice,
                               platform::MessageIcon::Information);
}

} // namespace terms
