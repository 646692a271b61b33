#pragma once
// Copying the picture of the graph to the clipboard: as the bitmap the plot area shows, or drawn a
// second time as an SVG file whose lines and text stay vector objects.

#include <QSize>
#include <QString>

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

} // namespace mainwin
