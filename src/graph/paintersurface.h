#pragma once
// The drawing interface on a QPainter: the screen, images and SVG files. Lines are antialiased;
// a painter on a device with a pixel ratio above 1 keeps the coordinates in logical pixels, so
// the picture stays sharp there.

#include "graph/drawsurface.h"

#include <QColor>
#include <QFont>
#include <QPen>

#include <vector>

class QImage;
class QPainter;

namespace graph {

class DirtyBlocks;
class RasterQueue;

class PainterSurface : public DrawSurface {
public:
    // The painter must stay active for the surface's lifetime, and nobody else may draw with
    // it meanwhile.
    explicit PainterSurface(QPainter& painter);
    ~PainterSurface() override;
    PainterSurface(const PainterSurface&) = delete;
    PainterSurface& operator=(const PainterSurface&) = delete;

    void setPen(const Pen& pen) override;
    void setFont(const Font& font) override;
    void setTextColour(core::Colour colour) override;
    void moveTo(QPoint p) override;
    void lineTo(QPoint p) override;
    void polyline(std::span<const QPoint> points) override;
    void disc(QPoint centre, int radius, core::Colour colour) override;
    void ring(QPoint centre, int radius, core::Colour colour) override;
    void polygon(std::span<const QPoint> points, core::Colour fill) override;
    void text(QPoint topLeft, const QString& s) override;
    QSize measureText(const QString& s) override;
    void flush() override;
    int deviceScale() const override { return deviceScale_; }
    void setLineScale(int scale) override;

    // From now on every pixel drawn is marked in blocks (null: nothing is marked). The blocks
    // must be reset to the size of the painter's image.
    void trackDirty(DirtyBlocks* blocks) { dirty_ = blocks; }
    // From now on thin lines straight into the image's pixels are handed to the queue's thread
    // (null: drawn at once). Whatever the painter draws waits for them, and so does the end of
    // the surface.
    void useQueue(RasterQueue* queue) { queue_ = queue; }

private:
    // Marks a rectangle in the painter's coordinates, widened by margin of them and by the
    // pixels that smoothing may touch beyond it.
    void markPainted(const QRectF& rect, double margin);
    void useLinePen();
    // Lets the queue finish before the painter draws.
    void settle();
    void drawJoined(std::span<const QPoint> points);
    QPointF centred(QPoint p) const { return QPointF(p.x() + offset_, p.y() + offset_); }
    QPointF lineCentred(QPoint p) const {
        return QPointF(p.x() / double(lineScale_) + offset_, p.y() / double(lineScale_) + offset_);
    }

    QPainter& painter_;
    // Thin lines on a plain image are drawn straight into its pixels, which is several times
    // faster than the painter's general path and looks the same; null when that is not possible.
    QImage* directImage_ = nullptr;
    // A whole pixel ratio of the device (2 on most fine screens), else 1; lines in 1/lineScale_
    // pixels.
    int deviceScale_ = 1;
    double pixelRatio_ = 1; // device pixels per pixel of the painter, whole or not
    DirtyBlocks* dirty_ = nullptr;
    RasterQueue* queue_ = nullptr;
    int lineScale_ = 1;
    Pen pen_;
    QPen qpen_;
    // Half a pixel for odd widths, so that a line of one pixel covers exactly one pixel row.
    double offset_ = 0.5;
    bool painterHasLinePen_ = false;
    Font font_;
    QFont qfont_;
    bool fontSet_ = false;
    QColor textColour_ = Qt::black;
    QPoint current_;
    std::vector<QPoint> path_;     // the joined segments drawn since the last move
    std::vector<QPointF> scratch_; // the same, centred on the pixels, for the painter
};

} // namespace graph
