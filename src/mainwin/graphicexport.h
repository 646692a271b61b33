#pragma once
// Copying the picture of the graph to the clipboard: as the bitmap the plot area shows, or drawn a
// second time as an SVG file whose lines and text stay vector objects; and saving it as a PNG,
// SVG or PDF file.

#include <QSize>
#include <QString>

#include <functional>
#include <optional>

class QImage;

namespace core {
struct State;
}
namespace platform {
class ClipboardService;
}

namespace mainwin {

// The vector copy's file: the working copy's name followed by ".svg". It stays on disk.
QString vectorExportPath(const core::State& state);

// Puts the plot area's picture on the clipboard. An empty picture is not copied and the user is
// told. True when copied.
bool copyBitmap(core::State& state, const QImage& picture, platform::ClipboardService& clipboard);

// Draws the whole picture anew for a plot area of plotSize pixels into the SVG file and puts
// that file's content on the clipboard, with bitmap beside it. A stale file from an earlier
// export is removed first, so that a failure never leaves an old picture looking like the
// current one; a failure is told to the user and leaves the clipboard as it was. True when
// copied.
bool copyVector(core::State& state, QSize plotSize, const QImage& bitmap,
                platform::ClipboardService& clipboard);

enum class PictureFormat { Png, Svg, Pdf };

// The offer of the save dialog; the file's suffix decides the format.
inline const QString pictureFileFilter = QStringLiteral(
    "PNG-Bild (*.png);;SVG-Graphik (*.svg);;PDF-Dokument (*.pdf);;Alle Dateien (*.*)");
inline const QString pictureSaveTitle = QStringLiteral("Graphik speichern unter");
// Large enough for any print, small enough for one image in memory.
inline constexpr int maxPictureSide = 10000;

// The format of a picture file by its suffix, in any case; nothing for another suffix.
std::optional<PictureFormat> pictureFormatOf(const QString& path);

// Writes the whole picture, drawn anew for a plot area of size pixels, to path in format; the
// old file stays when the write fails. True when written.
bool writePictureFile(core::State& state, const QString& path, PictureFormat format, QSize size);

// Asks for the size of the picture, given the plot area's size as the proposal; nothing when the
// user cancelled.
using PictureSizeChooser = std::function<std::optional<QSize>(QSize proposed)>;

// "Graphik speichern unter ...": asks for the file through the state's file dialogs (a name
// without suffix becomes a PNG file; an existing file is replaced only when the user agrees, else
// the dialog comes again), then for the size, and writes the picture. A name of
// another format, a size beyond 1 to maxPictureSide and a failed write are told to the user.
// True when written.
bool savePictureAs(core::State& state, QSize plotSize, const PictureSizeChooser& chooseSize);

} // namespace mainwin
