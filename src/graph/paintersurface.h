#pragma once
// The drawing interface on a QPainter: the screen, images and SVG files. Lines are antialiased;
// a painter on a device with a pixel ratio above 1 keeps the coordinates in logical pixels, so
// the picture stays sharp there.

#include "graph/drawsurface.h"

#include <QColor>
#include <QFont>
#include <QPen>

#include <cstdint>
#include <vector>

class QImage;
class QPainter;

namespace graph {

// The pixels of an image that drawing may have changed, in pieces of 16 pixels of a row, so that
// the next frame restores only those from the background instead of copying all of it.
class Damage {
public:
    // Nothing changed yet on an image of that size.
    void reset(int width, int height);
    // Anything may have changed (a drawing the surface does not follow pixel by pixel).
    void markAll() { all_ = true; }
    // The pixels x0 ... x1, y0 ... y1 may have changed (clipped to the image).
    void mark(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    bool all() const { return all_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Copies the changed pixels from `from` to `to`, both 32-bit images of the tracked size.
    void restore(const QImage& from, QImage& to) const;

private:
    static constexpr int pieceShift = 4; // 16 pixels
    int width_ = 0, height_ = 0, words_ = 0;
    bool all_ = true;
    std::vector<std::uint64_t> pieces_; // words_ per row, a bit per piece
};

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
    // From now on marks in damage what the drawing may change; null stops it.
    void trackDamage(Damage* damage) { damage_ = damage; }

private:
    void damageAll() {
        if (damage_) damage_->markAll();
    }
    void useLinePen();
    void drawJoined(std::span<const QPoint> points);
    QPointF centred(QPoint p) const { return QPointF(p.x() + offset_, p.y() + offset_); }
    QPointF lineCentred(QPoint p) const {
        return QPointF(p.x() / double(lineScale_) + offset_, p.y() / double(lineScale_) + offset_);
    }

    QPainter& painter_;
    // Thin lines on a plain image are drawn straight into its pixels, which is several times
    // faster than the painter's general path and looks the same; null when that is not possible.
    QImage* directImage_ = nullptr;
    Damage* damage_ = nullptr;
    // A whole pixel ratio of the device (2 on most fine screens), else 1; lines in 1/lineScale_
    // pixels.
    int deviceScale_ = 1;
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
