#include "terms/drawingstatus.h"

#include <QStringList>

#include <utility>

namespace terms {

void showDrawingReport(core::State& state) {
    // Taken out first: a message box lets other events run, which may redraw.
    const QStringList notices = std::exchange(state.drawingReport.notices, {});
    for (const QString& notice : notices)
        state.messages->inform(QStringLiteral("Kurvatur 2"), notice,
                               platform::MessageIcon::Information);
}

} // namespace terms
