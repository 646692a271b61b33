#include "mainwin/graphicexport.h"

#include "collection/workingcopy.h"
#include "core/state.h"
#include "graph/renderer.h"
#include "platform/clipboard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

std::optional<PictureFormat> pictureFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("png")) return PictureFormat::Png;
    if (suffix == QStringLiteral("svg")) return PictureFormat::Svg;
    if (suffix == QStringLiteral("pdf")) return PictureFormat::Pdf;
    return std::nullopt;
}

bool writePictureFile(core::State& state, const QString& path, PictureFormat format, QSize size) {
    switch (format) {
    case PictureFormat::Png:
        return graph::writePng(state, path, size);
    case PictureFormat::Svg:
        return graph::writeSvg(state, path, size);
    case PictureFormat::Pdf:
        return graph::writePdf(state, path, size);
    }
    return false;
}

bool savePictureAs(core::State& state, QSize plotSize, const PictureSizeChooser& chooseSize) {
    const QString title = QStringLiteral("Graphik speichern");
    const auto refuseSaving = [&state, &title](const QString& text) {
        state.messages->inform(title, text, platform::MessageIcon::Critical);
        return false;
    };
    std::optional<QString> path;
    for (;;) {
        path = state.fileDialogs->saveFile(pictureSaveTitle, QStringLiteral("Graphik.png"),
                                           pictureFileFilter);
        if (!path) return false;
        if (QFileInfo(*path).suffix().isEmpty()) *path += QStringLiteral(".png");
        // The dialog leaves the question to the program; a "No" offers the dialog again.
        if (!QFileInfo::exists(*path) ||
            state.messages->ask(title, QStringLiteral("Diese Datei gibt es bereits. Soll sie "
                                                      "überschrieben werden?\n%1")
                                           .arg(QDir::toNativeSeparators(*path))))
            break;
    }
    const QString shown = QDir::toNativeSeparators(*path);
    const std::optional<PictureFormat> format = pictureFormatOf(*path);
    if (!format)
        return refuseSaving(QStringLiteral("Die Graphik kann nur als PNG-, SVG- oder PDF-Datei "
                                           "gespeichert werden; der Name muss auf .png, .svg "
                                           "oder .pdf enden:\n%1")
                                .arg(shown));
    const std::optional<QSize> size = chooseSize(plotSize);
    if (!size) return false;
    if (size->width() < 1 || size->height() < 1 || size->width() > maxPictureSide ||
        size->height() > maxPictureSide)
        return refuseSaving(QStringLiteral("Ungültige Bildgröße %1 x %2: Breite und Höhe müssen "
                                           "zwischen 1 und %3 Pixeln liegen.")
                                .arg(size->width())
                                .arg(size->height())
                                .arg(maxPictureSide));
    if (!writePictureFile(state, *path, *format, *size))
        return refuseSaving(
            QStringLiteral("Die Graphik konnte nicht gespeichert werden:\n%1").arg(shown));
    return true;
}

} // namespace mainwin
