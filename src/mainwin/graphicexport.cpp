#include "mainwin/graphicexport.h"

#include "collection/workingcopy.h"
#include "core/state.h"
#include "graph/renderer.h"
#include "platform/clipboard.h"

#include <QFile>
#include <QImage>

namespace mainwin {

namespace {

const QString exportTitle = QStringLiteral("Graphik kopieren");

bool refuse(core::State& state, const QString& text) {
    state.messages->inform(exportTitle, text, platform::MessageIcon::Critical);
    return false;
}

} // namespace

QString vectorExportPath(const core::State& state) {
    return collection::workingCopyPath(state) + QStringLiteral(".svg");
}

bool copyBitmap(core::State& state, const QImage& picture, platform::ClipboardService& clipboard) {
    if (picture.isNull())
        return refuse(state, QStringLiteral("Es gibt noch kein Bild der Graphik, das kopiert "
                                            "werden könnte."));
    clipboard.putImage(picture);
    return true;
}

bool copyVector(core::State& state, QSize plotSize, const QImage& bitmap,
                platform::ClipboardService& clipboard) {
    const QString path = vectorExportPath(state);
    const QString failure =
        QStringLiteral("Die Graphik konnte nicht als SVG-Datei gespeichert werden:\n%1\n"
                       "Die Zwischenablage bleibt unverändert.")
            .arg(path);
    if (QFile::exists(path) && !QFile::remove(path)) return refuse(state, failure);
    if (!graph::writeSvg(state, path, plotSize)) return refuse(state, failure);
    // The clipboard gets what the file holds, so both always show the same picture.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return refuse(state, failure);
    const QByteArray svg = file.readAll();
    if (svg.isEmpty()) return refuse(state, failure);
    clipboard.putVectorImage(svg, bitmap);
    return true;
}

} // namespace mainwin
