#include "graph/graphwindow.h"

#include "core/state.h"
#include "core/twips.h"
#include "session/plotarea.h"
#include "terms/drawingstatus.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

#include <algorithm>
#include <functional>

namespace graph {

namespace {

// Gaps of the layout, in twips.
constexpr int rightGap = 50;      // plot area to the window's right edge, beside the scroll bar
constexpr int bottomGap = 450;    // plot area to the window's bottom edge, beside the scroll bar
constexpr int scrollGap = 30;     // plot area to each scroll bar, scroll bar to the readout
constexpr int oneToOneDrop = 120; // the 1:1 label below the top of the readout

// Shows the last picture of the renderer; white until the first one is drawn.
class PlotArea : public QWidget {
public:
    PlotArea(GraphRenderer& renderer, QWidget* parent) : QWidget(parent), renderer_(renderer) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // Renders the picture anew without asking for another paint.
    std::function<void()> render;

protected:
    void paintEvent(QPaintEvent* event) override {
        // Moved to a screen of another pixel ratio: the picture is made for the new one, so that
        // it stays sharp.
        if (render && !renderer_.image().isNull() &&
            renderer_.image().devicePixelRatio() != devicePixelRatioF())
            render();
        QPainter painter(this);
        const QImage& image = renderer_.image();
        painter.fillRect(event->rect(), Qt::white);
        // The image carries its device pixel ratio, so it covers the area at its logical size.
        if (!image.isNull()) painter.drawImage(QPoint(0, 0), image);
    }

private:
    GraphRenderer& renderer_;
};

// A small magnifying glass for the zoom picture.
QPixmap zoomIcon(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const double r = side * 0.3;
    const QPointF centre(side * 0.42, side * 0.42);
    painter.setPen(QPen(Qt::black, std::max(1.0, side / 10.0)));
    painter.drawEllipse(centre, r, r);
    painter.setPen(QPen(Qt::black, std::max(1.5, side / 7.0), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(r * 0.72, r * 0.72), QPointF(side * 0.9, side * 0.9));
    return pixmap;
}

} // namespace

GraphWindow::GraphWindow(core::State& state, QWidget* parent)
    : QWidget(parent), state_(state), plotArea_(new PlotArea(renderer_, this)),
      vScroll_(new QScrollBar(Qt::Vertical, this)), hScroll_(new QScrollBar(Qt::Horizontal, this)),
      zoomPicture_(new QLabel(this)), readout_(new QLabel(this)), oneToOne_(new QLabel(this)) {
    setObjectName(QStringLiteral("graphform"));
    setWindowTitle(QStringLiteral("Funktionenplotter"));
    plotArea_->setObjectName(QStringLiteral("Picture1"));
    vScroll_->setObjectName(QStringLiteral("VScroll1"));
    hScroll_->setObjectName(QStringLiteral("HScroll1"));
    zoomPicture_->setObjectName(QStringLiteral("Image1"));
    readout_->setObjectName(QStringLiteral("Label1"));
    oneToOne_->setObjectName(QStringLiteral("Label2"));

    zoomPicture_->setAlignment(Qt::AlignCenter);
    oneToOne_->setText(QStringLiteral("1:1"));
    oneToOne_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    readout_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    static_cast<PlotArea*>(plotArea_)->render = [this] {
        if (state_.busyFlag == 0) render();
    };
    resize(640, 520);
}

void GraphWindow::redraw() {
    if (state_.busyFlag != 0) return;
    render();
    plotArea_->update();
}

void GraphWindow::render() {
    renderer_.render(state_, plotArea_->size(), plotArea_->devicePixelRatioF());
    reportLater();
}

void GraphWindow::reportLater() {
    if (reportPending_) return;
    reportPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            reportPending_ = false;
            terms::showDrawingReport(state_);
        },
        Qt::QueuedConnection);
}

void GraphWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutControls();
    state_.scale.backgroundValid = false;
    session::setPlotArea(state_, core::pixelsToTwips(plotArea_->width(), state_.tppX),
                         core::pixelsToTwips(plotArea_->height(), state_.tppY));
    redraw();
}

void GraphWindow::layoutControls() {
    const int tppX = core::twipsPerPixel(logicalDpiX());
    const int tppY = core::twipsPerPixel(logicalDpiY());
    state_.tppX = tppX;
    state_.tppY = tppY;
    const auto px = [tppX](double twips) { return core::twipsToPixels(twips, tppX); };
    const auto py = [tppY](double twips) { return core::twipsToPixels(twips, tppY); };

    // Everything in twips first, as the layout is described; pixels at the end.
    const double innerW = core::pixelsToTwips(width(), tppX);
    const double innerH = core::pixelsToTwips(height(), tppY);
    const double vScrollW = core::pixelsToTwips(vScroll_->sizeHint().width(), tppX);
    const double hScrollH = core::pixelsToTwips(hScroll_->sizeHint().height(), tppY);
    const double plotW = std::max(double(tppX), innerW - rightGap - vScrollW);
    const double plotH = std::max(double(tppY), innerH - bottomGap - hScrollH);

    const int plotWpx = std::max(1, px(plotW));
    const int plotHpx = std::max(1, py(plotH));
    const int vScrollX = plotWpx + px(scrollGap);
    const int hScrollY = plotHpx + py(scrollGap);
    const int vScrollWpx = px(vScrollW);
    const int hScrollHpx = py(hScrollH);
    plotArea_->setGeometry(0, 0, plotWpx, plotHpx);
    vScroll_->setGeometry(vScrollX, 0, vScrollWpx, plotHpx);
    hScroll_->setGeometry(0, hScrollY, plotWpx, hScrollHpx);
    zoomPicture_->setGeometry(vScrollX, hScrollY, vScrollWpx, hScrollHpx);
    const int side = std::max(1, std::min(vScrollWpx, hScrollHpx) - 2);
    if (zoomPicture_->pixmap().width() != side) zoomPicture_->setPixmap(zoomIcon(side));

    const int readoutY = hScrollY + hScrollHpx + py(scrollGap);
    const int readoutH = std::max(1, height() - readoutY);
    readout_->setGeometry(0, readoutY, plotWpx, readoutH);
    // The column of the vertical scroll bar is narrower than "1:1"; the label then reaches
    // leftwards into the readout's row rather than being cut off at the window's edge.
    const int oneToOneY = readoutY + py(oneToOneDrop);
    const int oneToOneW = oneToOne_->sizeHint().width();
    const int oneToOneX = std::max(0, std::min(vScrollX, width() - oneToOneW));
    oneToOne_->setGeometry(oneToOneX, oneToOneY, std::max(oneToOneW, width() - oneToOneX),
                           std::max(1, height() - oneToOneY));
}

} // namespace graph
