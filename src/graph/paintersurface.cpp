#include "graph/paintersurface.h"

#include "core/colours.h"
#include "graph/dirtyblocks.h"
#include "graph/rasterqueue.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace graph {

namespace {

// A generous bound for a single path; a line of one sample per pixel column stays far below it.
constexpr std::size_t reservedPathPoints = 4096;

// The image behind the painter when thin lines may be written straight into its pixels: an
// opaque 32-bit image painted without transformation, clipping or transparency.
QImage* directTarget(QPainter& painter) {
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image) return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    if (format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_RGB32)
        return nullptr;
    if (!painter.transform().isIdentity() || painter.hasClipping() || painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return nullptr;
    return image;
}

// The pixels of an image, fetched once per line rather than once per pixel.
struct Raster {
    Raster(QImage& image, DirtyBlocks* dirty)
        : bits(image.bits()), bytesPerLine(image.bytesPerLine()), width(image.width()),
          height(image.height()), dirty(dirty) {}
    uchar* bits;
    qsizetype bytesPerLine;
    int width, height;
    DirtyBlocks* dirty;

    // Pixel at (x, y) moved towards colour by coverage / 256; nothing outside the image.
    void blend(std::int64_t x, std::int64_t y, std::uint32_t colour, std::uint32_t coverage) {
        if (x < 0 || x >= width || y < 0 || y >= height) return;
        if (dirty) dirty->mark(int(x), int(y));
        mix(reinterpret_cast<std::uint32_t*>(bits + y * bytesPerLine) + x, colour, coverage);
    }

    static void mix(std::uint32_t* pixel, std::uint32_t colour, std::uint32_t coverage) {
        if (coverage >= 256) {
            *pixel = colour;
            return;
        }
        const std::uint32_t dst = *pixel, keep = 256 - coverage;
        const std::uint32_t rb =
            (((colour & 0xff00ffu) * coverage + (dst & 0xff00ffu) * keep) >> 8) & 0xff00ffu;
        const std::uint32_t ag =
            (((colour >> 8) & 0xff00ffu) * coverage + ((dst >> 8) & 0xff00ffu) * keep) &
            0xff00ff00u;
        *pixel = rb | ag;
    }
};

// An antialiased line `thickness` pixels wide between pixel centres, without its end pixel, so
// that the joints of a polyline are not covered twice. Each step along the longer direction
// covers thickness + 1 neighbouring pixels across it, the outer two in proportion to the exact
// position of the line.
void blendSegment(Raster& raster, QPoint a, QPoint b, std::uint32_t colour, int thickness) {
    const std::int64_t dx = std::int64_t(b.x()) - a.x();
    const std::int64_t dy = std::int64_t(b.y()) - a.y();
    const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    if (adx == 0 && ady == 0) return;
    const bool steep = ady > adx;
    const std::int64_t length = steep ? ady : adx;                // steps, end pixel excluded
    const std::int64_t along0 = steep ? a.y() : a.x();            // start along the line
    const std::int64_t step = (steep ? dy : dx) < 0 ? -1 : 1;     // direction along it
    const std::int64_t across0 = (steep ? a.x() : a.y()) * 65536; // 16.16 fixed point
    const std::int64_t gradient = (steep ? dx : dy) * 65536 / length;
    const std::int64_t limit = steep ? raster.height : raster.width;
    const std::int64_t acrossLimit = steep ? raster.width : raster.height;
    // Pixels between neighbours along and across the line.
    const std::int64_t rowPixels = raster.bytesPerLine / 4;
    const std::int64_t alongPitch = steep ? rowPixels : 1, acrossPitch = steep ? 1 : rowPixels;
    auto* const pixels = reinterpret_cast<std::uint32_t*>(raster.bits);

    // Only the steps that land inside the image along the line.
    std::int64_t first = 0, last = length - 1;
    if (step > 0) {
        first = std::max<std::int64_t>(first, -along0);
        last = std::min<std::int64_t>(last, limit - 1 - along0);
    } else {
        first = std::max<std::int64_t>(first, along0 - (limit - 1));
        last = std::min<std::int64_t>(last, along0);
    }
    for (std::int64_t j = first; j <= last; ++j) {
        const std::int64_t along = along0 + step * j;
        const std::int64_t across = across0 + gradient * j;
        const std::int64_t lower = across >> 16; // floor
        const auto fraction = std::uint32_t((across >> 8) & 0xff);
        if (lower >= 0 && lower + thickness < acrossLimit) {
            // The whole step inside the image: no test per pixel.
            std::uint32_t* p = pixels + along * alongPitch + lower * acrossPitch;
            Raster::mix(p, colour, 256 - fraction);
            for (int t = 1; t < thickness; ++t)
                p[t * acrossPitch] = colour;
            if (fraction != 0) Raster::mix(p + thickness * acrossPitch, colour, fraction);
            // A step is narrower than a block, so its two ends mark every block it touches.
            if (raster.dirty) {
                const int at = int(along), from = int(lower), to = int(lower + thickness);
                raster.dirty->mark(steep ? from : at, steep ? at : from);
                raster.dirty->mark(steep ? to : at, steep ? at : to);
            }
            continue;
        }
        for (int t = 0; t <= thickness; ++t) {
            const std::uint32_t coverage = t == 0           ? 256 - fraction
                                           : t == thickness ? fraction
                                                            : 256;
            if (coverage == 0) continue;
            if (steep)
                raster.blend(lower + t, along, colour, coverage);
            else
                raster.blend(along, lower + t, colour, coverage);
        }
    }
}

void blendPolyline(Raster raster, std::span<const QPoint> points, std::uint32_t colour,
                   int thickness) {
    for (std::size_t k = 1; k < points.size(); ++k)
        blendSegment(raster, points[k - 1], points[k], colour, thickness);
    for (int dy = 0; dy < thickness; ++dy)
        for (int dx = 0; dx < thickness; ++dx)
            raster.blend(points.back().x() + dx, points.back().y() + dy, colour, 256);
}

QRectF bounds(const std::vector<QPointF>& points) {
    const auto [left, right] = std::minmax_element(
        points.begin(), points.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    const auto [top, bottom] = std::minmax_element(
        points.begin(), points.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
    return QRectF(QPointF(left->x(), top->y()), QPointF(right->x(), bottom->y()));
}

// The pixel ratio of the painter's device when it is a whole number, else 1.
int wholeRatio(QPainter& painter) {
    QPaintDevice* device = painter.device();
    if (!device) return 1;
    const double ratio = device->devicePixelRatioF();
    const int whole = int(std::lround(ratio));
    return whole >= 1 && whole <= 4 && ratio == whole ? whole : 1;
}

Qt::PenStyle penStyle(int style) {
    switch (style) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case 5:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

} // namespace

PainterSurface::PainterSurface(QPainter& painter)
    : painter_(painter), directImage_(directTarget(painter)), deviceScale_(wholeRatio(painter)),
      pixelRatio_(painter.device() ? painter.device()->devicePixelRatioF() : 1.0) {
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setBackgroundMode(Qt::TransparentMode);
    path_.reserve(reservedPathPoints);
    setPen(Pen{});
}

PainterSurface::~PainterSurface() {
    flush();
    settle();
}

void PainterSurface::settle() {
    if (queue_) queue_->drain();
}

void PainterSurface::setPen(const Pen& pen) {
    flush();
    pen_ = pen;
    const int width = pen.width > 0 ? pen.width : 1;
    qpen_ = QPen(core::toQColor(pen.colour), width, penStyle(pen.style),
                 pen.style == 0 || pen.style == 6 ? Qt::RoundCap : Qt::FlatCap, Qt::RoundJoin);
    offset_ = width % 2 == 1 ? 0.5 : 0.0;
    painterHasLinePen_ = false;
}

void PainterSurface::setLineScale(int scale) {
    flush();
    lineScale_ = std::clamp(scale, 1, deviceScale_);
}

void PainterSurface::setFont(const Font& font) {
    if (fontSet_ && font == font_) return;
    font_ = font;
    qfont_ = QFont(font.family);
    qfont_.setPixelSize(std::max(font.pixelHeight, 1));
    qfont_.setWeight(QFont::Weight(std::clamp(font.weight, 1, 1000)));
    fontSet_ = true;
}

void PainterSurface::setTextColour(core::Colour colour) {
    textColour_ = core::toQColor(colour);
}

void PainterSurface::useLinePen() {
    if (painterHasLinePen_) return;
    painter_.setPen(qpen_);
    painter_.setBrush(Qt::NoBrush);
    painterHasLinePen_ = true;
}

void PainterSurface::moveTo(QPoint p) {
    flush();
    current_ = p;
}

void PainterSurface::lineTo(QPoint p) {
    if (path_.empty()) path_.push_back(current_);
    path_.push_back(p);
    current_ = p;
}

void PainterSurface::flush() {
    if (path_.size() >= 2) drawJoined(path_);
    path_.clear();
}

void PainterSurface::drawJoined(std::span<const QPoint> points) {
    if (points.size() < 2) return;
    if (qpen_.style() == Qt::NoPen) return;
    // Straight into the pixels when the points are the image's own (at a pixel ratio above 1
    // only in line coordinates at its resolution): one pixel wide per pixel of the ratio.
    if (directImage_ && pen_.width <= 1 && qpen_.style() == Qt::SolidLine &&
        lineScale_ == deviceScale_ && directImage_->devicePixelRatio() == deviceScale_) {
        const std::uint32_t colour = qpen_.color().rgba();
        const Raster raster(*directImage_, dirty_); // fetched here, not on the queue's thread
        if (!queue_) {
            blendPolyline(raster, points, colour, lineScale_);
            return;
        }
        queue_->post([raster, thickness = lineScale_, colour,
                      line = std::vector<QPoint>(points.begin(), points.end())] {
            blendPolyline(raster, line, colour, thickness);
        });
        return;
    }
    settle();
    scratch_.clear();
    for (const QPoint& p : points)
        scratch_.push_back(lineCentred(p));
    useLinePen();
    painter_.drawPolyline(scratch_.data(), int(scratch_.size()));
    if (dirty_) markPainted(bounds(scratch_), qpen_.widthF() / 2);
}

void PainterSurface::polyline(std::span<const QPoint> points) {
    flush();
    drawJoined(points);
}

void PainterSurface::disc(QPoint centre, int radius, core::Colour colour) {
    flush();
    settle();
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(core::toQColor(colour));
    // The disc covers the pixels centre - radius ... centre + radius - 1 in both directions,
    // so its middle lies on the corner of the centre pixel.
    painter_.drawEllipse(QPointF(centre), radius, radius);
    markPainted(QRectF(centre.x() - radius, centre.y() - radius, 2.0 * radius, 2.0 * radius), 0);
    painter_.setBrush(Qt::NoBrush);
    painterHasLinePen_ = false;
}

void PainterSurface::ring(QPoint centre, int radius, core::Colour colour) {
    flush();
    settle();
    painter_.setPen(QPen(core::toQColor(colour), 1));
    painter_.setBrush(Qt::NoBrush);
    // Framed inside the disc of the same radius.
    painter_.drawEllipse(QPointF(centre), radius - 0.5, radius - 0.5);
    markPainted(QRectF(centre.x() - radius, centre.y() - radius, 2.0 * radius, 2.0 * radius), 1);
    painterHasLinePen_ = false;
}

void PainterSurface::polygon(std::span<const QPoint> points, core::Colour fill) {
    flush();
    settle();
    if (points.empty()) return;
    QPolygonF poly;
    poly.reserve(qsizetype(points.size()));
    for (const QPoint& p : points)
        poly.append(centred(p));
    painter_.setPen(qpen_);
    painter_.setBrush(core::toQColor(fill));
    painter_.drawPolygon(poly, Qt::OddEvenFill);
    markPainted(poly.boundingRect(), qpen_.widthF() / 2);
    painter_.setBrush(Qt::NoBrush);
    painterHasLinePen_ = true;
}

void PainterSurface::text(QPoint topLeft, const QString& s) {
    flush();
    settle();
    if (!fontSet_) setFont(Font{});
    painter_.setFont(qfont_);
    painter_.setPen(textColour_);
    painterHasLinePen_ = false;
    const QFontMetricsF metrics(qfont_, painter_.device());
    const QPointF baseline(topLeft.x(), topLeft.y() + metrics.ascent());
    painter_.drawText(baseline, s);
    // Glyphs may reach beyond their advance (slanted or smoothed ones): a margin of a line.
    markPainted(metrics.boundingRect(s).translated(baseline), metrics.height());
}

void PainterSurface::markPainted(const QRectF& rect, double margin) {
    if (!dirty_) return;
    const double m = margin + 1;
    const QRectF device(QPointF(rect.left() - m, rect.top() - m) * pixelRatio_,
                        QPointF(rect.right() + m, rect.bottom() + m) * pixelRatio_);
    dirty_->markRect(device.toAlignedRect().adjusted(-2, -2, 2, 2));
}

QSize PainterSurface::measureText(const QString& s) {
    if (!fontSet_) setFont(Font{});
    const QFontMetrics metrics(qfont_, painter_.device());
    return QSize(metrics.horizontalAdvance(s), metrics.height());
}

} // namespace graph
