#pragma once
// The picture of the graph as an image or an SVG document. The screen's renderer keeps the
// background in a cache, so that a redraw after a parameter change only copies it and samples
// the lines; the exports draw everything anew.

#include "graph/dirtyblocks.h"
#include "graph/plotter.h"
#include "graph/rasterqueue.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QPainter;
class QRectF;

namespace core {
struct State;
}

namespace graph {

class GraphRenderer {
public:
    // The picture of a plot area of logicalSize pixels at the given device pixel ratio (the
    // image has that ratio set, so it is painted at its logical size). The caller keeps
    // scale.plotW and scale.plotH at logicalSize times the twips per pixel and runs setscale
    // when they change. The background is drawn anew only when setscale ran since the last
    // render (scale.backgroundValid is false) or the size changed; otherwise the cached one is
    // copied. While busyFlag is set nothing is drawn and the last picture is returned.
    const QImage& render(core::State& state, QSize logicalSize, qreal devicePixelRatio = 1.0);

    // The last picture.
    const QImage& image() const { return frame_; }

private:
    Plotter plotter_;
    QImage background_; // the cached background
    QImage frame_;      // background and lines
    DirtyBlocks dirty_; // what the lines covered in frame_
    // Sets line pixels beside the sampling; last, so that it ends before what its jobs touch.
    RasterQueue queue_;
};

// Gives the plot area a size in pixels and the mapping with it, for the time of one drawing or
// of a series of drawings (the frames of an animation); the old size and mapping come back at
// the end.
class PlotSizeScope {
public:
    PlotSizeScope(core::State& state, QSize size);
    ~PlotSizeScope();
    PlotSizeScope(const PlotSizeScope&) = delete;
    PlotSizeScope& operator=(const PlotSizeScope&) = delete;

private:
    core::State& state_;
    bool changed_ = false;
    double oldW_ = 0, oldH_ = 0;
};

// The whole picture, drawn anew, for a plot area of size pixels. For the time of the drawing the
// plot area takes that size (and setscale runs); both are put back afterwards. Draws also while
// busyFlag is set. A null image when the size is empty or the image cannot be made.
QImage renderImage(core::State& state, QSize size, qreal devicePixelRatio = 1.0);

// The same picture as an SVG document (lines and text stay vector objects); empty on failure.
QByteArray renderSvg(core::State& state, QSize size);

// The same picture as a PDF document of one page of that size (at 96 pixels per inch): lines
// and text stay lines and text. Empty on failure.
QByteArray renderPdf(core::State& state, QSize size);

// The whole picture for a plot area of size pixels, drawn anew on an active painter and fitted
// into target (in the painter's coordinates) keeping its aspect, centred, on white; a picture
// with equal units across and up keeps them equal. Nothing is drawn for an empty size or target.
void drawFitted(core::State& state, QPainter& painter, const QRectF& target, QSize size);

// Write renderImage as PNG, renderSvg or renderPdf to path; the old file stays when the write
// fails.
bool writePng(core::State& state, const QString& path, QSize size);
bool writeSvg(core::State& state, const QString& path, QSize size);
bool writePdf(core::State& state, const QString& path, QSize size);

} // namespace graph
