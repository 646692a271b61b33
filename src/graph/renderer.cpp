#include "graph/renderer.h"

#include "core/state.h"
#include "graph/paintersurface.h"
#include "graph/redraw.h"
#include "graph/scale.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cmath>
#include <cstring>

namespace graph {

namespace {

constexpr QImage::Format imageFormat = QImage::Format_ARGB32_Premultiplied;

QSize devicePixels(QSize logicalSize, qreal ratio) {
    return QSize(int(std::lround(logicalSize.width() * ratio)),
                 int(std::lround(logicalSize.height() * ratio)));
}

QImage blankImage(QSize pixels, qreal ratio) {
    QImage image(pixels, imageFormat);
    if (image.isNull()) return image;
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    return image;
}

void drawEverything(core::State& state, QPainter& painter) {
    Plotter plotter;
    PainterSurface surface(painter);
    drawBackground(state, plotter, surface);
    drawLines(state, plotter, surface);
}

// The whole file or nothing: the old file stays when the write fails.
bool saveBytes(const QString& path, const QByteArray& data) {
    if (data.isEmpty()) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

PlotSizeScope::PlotSizeScope(core::State& state, QSize size) : state_(state) {
    const double w = double(size.width()) * std::max(state.tppX, 1);
    const double h = double(size.height()) * std::max(state.tppY, 1);
    if (w == state.scale.plotW && h == state.scale.plotH) return;
    oldW_ = state.scale.plotW;
    oldH_ = state.scale.plotH;
    state.scale.plotW = w;
    state.scale.plotH = h;
    setscale(state);
    changed_ = true;
}

PlotSizeScope::~PlotSizeScope() {
    if (!changed_) return;
    state_.scale.plotW = oldW_;
    state_.scale.plotH = oldH_;
    setscale(state_);
}

const QImage& GraphRenderer::render(core::State& state, QSize logicalSize, qreal devicePixelRatio) {
    if (state.busyFlag != 0) return frame_;
    if (!(devicePixelRatio > 0)) devicePixelRatio = 1;
    const QSize pixels = devicePixels(logicalSize, devicePixelRatio);
    if (pixels.isEmpty()) {
        frame_ = QImage();
        return frame_;
    }

    const bool sameSize =
        background_.size() == pixels && background_.devicePixelRatio() == devicePixelRatio;
    const bool backgroundDrawn = !sameSize || !state.scale.backgroundValid;
    if (backgroundDrawn) {
        if (sameSize)
            background_.fill(Qt::white);
        else
            background_ = blankImage(pixels, devicePixelRatio);
        if (background_.isNull()) {
            frame_ = QImage();
            return frame_;
        }
        QPainter painter(&background_);
        PainterSurface surface(painter);
        drawBackground(state, plotter_, surface);
        state.scale.backgroundValid = true;
    }

    if (frame_.size() != pixels || frame_.format() != imageFormat) {
        frame_ = QImage(pixels, imageFormat);
        dirty_.reset(pixels);
        if (frame_.isNull()) return frame_;
    }
    if (backgroundDrawn) dirty_.markAll();
    frame_.setDevicePixelRatio(devicePixelRatio);
    // The pixels are fetched here: the queue's thread never touches the images themselves.
    queue_.post([this, to = frame_.bits(), from = background_.constBits(),
                 bytesPerLine = frame_.bytesPerLine()] { dirty_.restore(to, from, bytesPerLine); });

    QPainter painter(&frame_);
    PainterSurface surface(painter);
    surface.trackDirty(&dirty_);
    surface.useQueue(&queue_);
    drawLines(state, plotter_, surface);
    return frame_;
}

QImage renderImage(core::State& state, QSize size, qreal devicePixelRatio) {
    if (size.isEmpty()) return QImage();
    if (!(devicePixelRatio > 0)) devicePixelRatio = 1;
    QImage image = blankImage(devicePixels(size, devicePixelRatio), devicePixelRatio);
    if (image.isNull()) return image;
    PlotSizeScope scope(state, size);
    QPainter painter(&image);
    drawEverything(state, painter);
    return image;
}

void drawFitted(core::State& state, QPainter& painter, const QRectF& target, QSize size) {
    if (size.isEmpty() || target.isEmpty()) return;
    const double factor = std::min(target.width() / size.width(), target.height() / size.height());
    const QSizeF fitted = QSizeF(size) * factor;
    painter.save();
    painter.translate(target.left() + (target.width() - fitted.width()) / 2,
                      target.top() + (target.height() - fitted.height()) / 2);
    painter.scale(factor, factor);
    // Nothing may stray beyond the plot area onto the rest of the page.
    painter.setClipRect(QRect(QPoint(0, 0), size));
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    PlotSizeScope scope(state, size);
    drawEverything(state, painter);
    painter.restore();
}

QByteArray renderPdf(core::State& state, QSize size) {
    if (size.isEmpty()) return QByteArray();
    QByteArray data;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::WriteOnly)) return QByteArray();
    {
        constexpr int dpi = 96;
        QPdfWriter writer(&buffer);
        writer.setResolution(dpi);
        writer.setTitle(QStringLiteral("Kurvatur"));
        writer.setCreator(QStringLiteral("Kurvatur 2"));
        // Exactly the plot area: a page size near a standard one must not be rounded to it.
        const QPageSize page(QSizeF(size.width() * 72.0 / dpi, size.height() * 72.0 / dpi),
                             QPageSize::Point, QString(), QPageSize::ExactMatch);
        if (!writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF())))
            return QByteArray();
        QPainter painter;
        if (!painter.begin(&writer)) return QByteArray();
        drawFitted(state, painter, QRectF(QPointF(0, 0), QSizeF(size)), size);
        if (!painter.end()) return QByteArray();
    }
    return data;
}

QByteArray renderSvg(core::State& state, QSize size) {
    if (size.isEmpty()) return QByteArray();
    QByteArray data;
    QBuffer buffer(&data);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(96);
    generator.setTitle(QStringLiteral("Kurvatur"));

    PlotSizeScope scope(state, size);
    QPainter painter;
    if (!painter.begin(&generator)) return QByteArray();
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    drawEverything(state, painter);
    painter.end();
    return data;
}

bool writePng(core::State& state, const QString& path, QSize size) {
    const QImage image = renderImage(state, size);
    if (image.isNull()) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool writeSvg(core::State& state, const QString& path, QSize size) {
    return saveBytes(path, renderSvg(state, size));
}

bool writePdf(core::State& state, const QString& path, QSize size) {
    return saveBytes(path, renderPdf(state, size));
}

} // namespace graph
