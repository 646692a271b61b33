#include "graph/recordingsurface.h"

#include "core/rounding.h"

namespace graph {

QSize RecordingSurface::fixedPitchMeasure(const Font& font, const QString& s) {
    const int charWidth = core::round32(font.pixelHeight * 0.55);
    return QSize(charWidth * int(s.size()), core::round32(font.pixelHeight * 1.15));
}

RecordingSurface::Op RecordingSurface::make(Kind kind) const {
    Op op{};
    op.kind = kind;
    op.pen = pen_;
    op.font = font_;
    op.textColour = textColour_;
    return op;
}

void RecordingSurface::moveTo(QPoint p) {
    Op op = make(Kind::MoveTo);
    op.points = {p};
    ops_.push_back(std::move(op));
    current_ = p;
}

void RecordingSurface::lineTo(QPoint p) {
    Op op = make(Kind::LineTo);
    op.points = {current_, p};
    ops_.push_back(std::move(op));
    current_ = p;
}

void RecordingSurface::polyline(std::span<const QPoint> points) {
    Op op = make(Kind::Polyline);
    op.points.assign(points.begin(), points.end());
    ops_.push_back(std::move(op));
}

void RecordingSurface::disc(QPoint centre, int radius, core::Colour colour) {
    Op op = make(Kind::Disc);
    op.points = {centre};
    op.radius = radius;
    op.fill = colour;
    ops_.push_back(std::move(op));
}

void RecordingSurface::ring(QPoint centre, int radius, core::Colour colour) {
    Op op = make(Kind::Ring);
    op.points = {centre};
    op.radius = radius;
    op.fill = colour;
    ops_.push_back(std::move(op));
}

void RecordingSurface::polygon(std::span<const QPoint> points, core::Colour fill) {
    Op op = make(Kind::Polygon);
    op.points.assign(points.begin(), points.end());
    op.fill = fill;
    ops_.push_back(std::move(op));
}

void RecordingSurface::text(QPoint topLeft, const QString& s) {
    Op op = make(Kind::Text);
    op.points = {topLeft};
    op.text = s;
    ops_.push_back(std::move(op));
}

QSize RecordingSurface::measureText(const QString& s) {
    return measure ? measure(font_, s) : fixedPitchMeasure(font_, s);
}

std::vector<RecordingSurface::Op> RecordingSurface::ops(Kind kind) const {
    std::vector<Op> out;
    for (const Op& op : ops_)
        if (op.kind == kind) out.push_back(op);
    return out;
}

} // namespace graph
