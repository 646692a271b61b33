#include "graph/graphwindow.h"

#include "core/controltips.h"
#include "core/state.h"
#include "core/twips.h"
#include "session/plotarea.h"
#include "terms/drawingstatus.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QWheelEvent>

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

// The scroll bars rest at 0; each unit they report moves the view by one percent.
constexpr int scrollReach = 50;
constexpr int scrollPage = 10;

int buttonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return leftButton;
    case Qt::RightButton:
        return rightButton;
    case Qt::MiddleButton:
        return middleButton;
    default:
        return 0;
    }
}

int shiftOf(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? shiftKey : 0) |
           (modifiers & Qt::ControlModifier ? ctrlKey : 0) |
           (modifiers & Qt::AltModifier ? altKey : 0);
}

void setupScrollBar(QScrollBar* bar) {
    bar->setRange(-scrollReach, scrollReach);
    bar->setSingleStep(1);
    bar->setPageStep(scrollPage);
    bar->setValue(0);
}

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
    core::describe(zoomPicture_, QStringLiteral("Zoom"),
                   QStringLiteral("Links oder rechts klicken für Zoom"));
    core::describe(oneToOne_, QStringLiteral("Skalierungsverhältnis 1:1"),
                   QStringLiteral("Links oder rechts anklicken für Skalierungsverhältnis 1:1"));
    core::describe(hScroll_, QStringLiteral("Bild waagrecht verschieben"),
                   QStringLiteral("Den dargestellten Bereich nach links oder rechts verschieben"));
    core::describe(vScroll_, QStringLiteral("Bild senkrecht verschieben"),
                   QStringLiteral("Den dargestellten Bereich nach oben oder unten verschieben"));
    readout_->setAccessibleName(QStringLiteral("Koordinaten des Mauszeigers"));
    plotArea_->setAccessibleName(QStringLiteral("Zeichenfläche"));
    // Many desktops keep Alt + click for moving windows; the wheel with Shift reaches the same
    // zoom of y alone about the pointer.
    plotArea_->setToolTip(QStringLiteral(
        "Strg + Klick: Zoom in x-Richtung, Alt + Klick: Zoom in y-Richtung (links hinein, rechts "
        "heraus; falls der Desktop Alt + Klick abfängt: Umschalt + Mausrad)\n"
        "Umschalt + Klick: links Ursprung, rechts Mittelpunkt an die Mausposition\n"
        "Mausrad: Zoom um den Mauszeiger (Strg: nur x, Umschalt: nur y), mittlere Maustaste "
        "ziehen: verschieben"));
    plotArea_->setMouseTracking(true);
    plotArea_->setFocusPolicy(Qt::StrongFocus);
    plotArea_->installEventFilter(this);
    zoomPicture_->installEventFilter(this);
    oneToOne_->installEventFilter(this);
    setupScrollBar(hScroll_);
    setupScrollBar(vScroll_);
    connect(hScroll_, &QScrollBar::valueChanged, this, [this](int v) { scrolled(hScroll_, v); });
    connect(vScroll_, &QScrollBar::valueChanged, this, [this](int v) { scrolled(vScroll_, v); });
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
    showOneToOne();
    reportLater();
}

void GraphWindow::showOneToOne() {
    // Bold while one unit is as long on x as on y.
    QFont font = oneToOne_->font();
    font.setBold(isOneToOne(state_));
    oneToOne_->setFont(font);
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
                         core::pixelsToTwips(plotArea_->height(), state_.tppY),
                         plotArea_->devicePixelRatioF());
    redraw();
}

void GraphWindow::scrolled(QScrollBar* bar, int value) {
    if (value == 0) return;
    // The bar back to rest first: the redraw may take a while and the bar must not repeat.
    {
        const QSignalBlocker blocker(bar);
        bar->setValue(0);
    }
    // The vertical bar grows downwards; moving it up shows higher y.
    if (bar == hScroll_)
        scrlr(state_, value);
    else
        scrud(state_, -value);
}

QPointF GraphWindow::twips(QPointF pixels) const {
    return {pixels.x() * state_.tppX, pixels.y() * state_.tppY};
}

bool GraphWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == plotArea_) return plotEvent(event);
    if (watched == oneToOne_ && event->type() == QEvent::MouseButtonRelease) {
        einszueins(state_, buttonOf(static_cast<QMouseEvent*>(event)->button()));
        return true;
    }
    if (watched == zoomPicture_ && event->type() == QEvent::MouseButtonRelease) {
        zoomPictureClicked(static_cast<QMouseEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void GraphWindow::zoomPictureClicked(QMouseEvent* event) {
    const int shift = shiftOf(event->modifiers());
    if (shift & shiftKey) {
        state_.hooks.call(state_.hooks.rangeWindowUpdate);
        if (showRangeWindow) showRangeWindow();
    } else if (shift & ctrlKey) {
        if (showZoomOptions) showZoomOptions();
    } else {
        zoom(state_, nav_, buttonOf(event->button()), ctrlKey | altKey, state_.scale.plotW / 2,
             state_.scale.plotH / 2);
    }
}

bool GraphWindow::plotEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPointF at = twips(e->position());
        if (e->button() == Qt::MiddleButton) {
            dragging_ = true;
            dragged_ = false;
            dragFrom_ = at;
        } else if (shiftOf(e->modifiers()) == 0) {
            parkop(state_, nav_, buttonOf(e->button()), at.x(), at.y());
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPointF at = twips(e->position());
        if (dragging_ && at != dragFrom_) {
            dragged_ = true;
            pan(state_, at.x() - dragFrom_.x(), at.y() - dragFrom_.y());
            dragFrom_ = at;
        }
        readout_->setText(readoutText(state_, at.x(), at.y()));
        if (shiftOf(e->modifiers()) == 0)
            for (Qt::MouseButton b : {Qt::RightButton, Qt::LeftButton})
                if (e->buttons() & b) parkop(state_, nav_, buttonOf(b), at.x(), at.y());
        return false;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPointF at = twips(e->position());
        if (e->button() == Qt::MiddleButton) {
            dragging_ = false;
            if (dragged_) return true; // a drag, not a click
        }
        zoom(state_, nav_, buttonOf(e->button()), shiftOf(e->modifiers()), at.x(), at.y());
        return true;
    }
    case QEvent::Wheel: {
        auto* e = static_cast<QWheelEvent*>(event);
        // Some platforms turn the wheel with Shift into a sideways one.
        const QPoint delta = e->angleDelta();
        const int steps = (delta.y() != 0 ? delta.y() : delta.x()) / 120;
        if (steps == 0) return true;
        const QPointF at = twips(e->position());
        wheelZoom(state_, nav_, steps, shiftOf(e->modifiers()), at.x(), at.y());
        return true;
    }
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(event);
        // The digits of the keypad move a point's name; those of the main keyboard do nothing.
        if ((e->modifiers() & Qt::KeypadModifier) && pointNameKey(state_, e->key())) return true;
        return navigationKey(state_, nav_, e->key(), shiftOf(e->modifiers()));
    }
    default:
        return false;
    }
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
