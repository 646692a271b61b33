#pragma once
// A drawing surface that only records what is drawn, with the pen, font and text colour in effect
// at each operation, so that a test can check exactly what a drawing routine did.

#include "graph/drawsurface.h"

#include <functional>
#include <vector>

namespace graph {

class RecordingSurface : public DrawSurface {
public:
    enum class Kind { MoveTo, LineTo, Polyline, Disc, Ring, Polygon, Text };

    struct Op {
        Kind kind;
        // MoveTo: the target; LineTo: the start and the end; Polyline, Polygon: all points;
        // Disc, Text: the centre or the top left.
        std::vector<QPoint> points;
        int radius = 0;        // Disc, Ring
        core::Colour fill = 0; // Disc, Ring, Polygon
        QString text;          // Text
        Pen pen;
        Font font;
        core::Colour textColour = 0;
    };

    // Text sizes without a font library: each character is 0.55 and the cell 1.15 character
    // heights, rounded; tests may replace it.
    using Measure = std::function<QSize(const Font&, const QString&)>;
    static QSize fixedPitchMeasure(const Font& font, const QString& s);

    void setPen(const Pen& pen) override { pen_ = pen; }
    void setFont(const Font& font) override { font_ = font; }
    void setTextColour(core::Colour colour) override { textColour_ = colour; }
    void moveTo(QPoint p) override;
    void lineTo(QPoint p) override;
    void polyline(std::span<const QPoint> points) override;
    void disc(QPoint centre, int radius, core::Colour colour) override;
    void ring(QPoint centre, int radius, core::Colour colour) override;
    void polygon(std::span<const QPoint> points, core::Colour fill) override;
    void text(QPoint topLeft, const QString& s) override;
    QSize measureText(const QString& s) override;

    const std::vector<Op>& ops() const { return ops_; }
    // The recorded operations of one kind, in order.
    std::vector<Op> ops(Kind kind) const;
    void clear() { ops_.clear(); }

    Measure measure = fixedPitchMeasure;

private:
    Op make(Kind kind) const;

    std::vector<Op> ops_;
    Pen pen_;
    Font font_;
    core::Colour textColour_ = 0;
    QPoint current_;
};

} // namespace graph
