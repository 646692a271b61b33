#include "params/paramwindow.h"

#include "core/state.h"
#include "core/twips.h"
#include "params/paramlogic.h"
#include "params/timerdialog.h"
#include "params/timers.h"
#include <QMouseEvent>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <optional>

namespace params {

namespace {

// Layout in twips.
constexpr int windowHeight = 1250;
constexpr int minimumWidthTwips = 4000;
constexpr int margin = 60;         // left and right of the slider and the fields
constexpr int valueNarrower = 450; // the value field leaves room for the timer symbol
constexpr int rowHeight = 300;     // the fields and the timer symbol
constexpr int sliderHeight = 270;
constexpr int valueTop = 45;
constexpr int sliderTop = 420;
constexpr int boundsTop = 810;
constexpr int boundWidth = 1200;

const QString fieldTip =
    QStringLiteral("Anklicken, Wert eintippen und mit Eingabetaste bestätigen");
const QString timerTip =
    QStringLiteral("Rechte Maustaste: Einstellungen  -  linke Maustaste: Timer an / aus");
const QString sliderTip =
    QStringLiteral("Ziehen oder mit den Pfeiltasten, Bild auf und Bild ab den Wert verändern");
const QColor highlightedValue(255, 192, 128);

// What a screen reader says for each control: its role and the parameter it belongs to.
void nameControls(const QString& label, QScrollBar* slider, QLineEdit* value, QLineEdit* lower,
                  QLineEdit* upper, QLabel* timerSymbol) {
    const QString of = label.isEmpty() ? QString() : QStringLiteral(" von ") + label;
    slider->setAccessibleName(QStringLiteral("Schieberegler") + of);
    value->setAccessibleName(QStringLiteral("Wert") + of);
    lower->setAccessibleName(QStringLiteral("Untere Grenze") + of);
    upper->setAccessibleName(QStringLiteral("Obere Grenze") + of);
    timerSymbol->setAccessibleName(QStringLiteral("Timer") + of);
}

// A small clock: the timer symbol.
QPixmap clockIcon(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(side / 2.0, side / 2.0);
    const double r = side / 2.0 - 2;
    painter.setPen(QPen(Qt::black, 1.2));
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, r, r);
    painter.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, centre + QPointF(0, -r * 0.75));
    painter.drawLine(centre, centre + QPointF(r * 0.5, 0));
    return pixmap;
}

std::optional<QAbstractSlider::SliderAction> sliderAction(int key) {
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Up:
        return QAbstractSlider::SliderSingleStepAdd;
    case Qt::Key_Left:
    case Qt::Key_Down:
        return QAbstractSlider::SliderSingleStepSub;
    case Qt::Key_PageUp:
        return QAbstractSlider::SliderPageStepAdd;
    case Qt::Key_PageDown:
        return QAbstractSlider::SliderPageStepSub;
    case Qt::Key_Home:
        return QAbstractSlider::SliderToMinimum;
    case Qt::Key_End:
        return QAbstractSlider::SliderToMaximum;
    default:
        return std::nullopt;
    }
}

void setTextKeepingCursor(QLineEdit* field, const QString& text) {
    if (field->text() != text) field->setText(text);
    field->setModified(false);
}

} // namespace

ParamWindow::ParamWindow(core::State& state, int slot, QWidget* parent)
    : QWidget(parent), state_(state), slot_(std::clamp(slot, 0, core::paramCount - 1)),
      slider_(new QScrollBar(Qt::Horizontal, this)), value_(new QLineEdit(this)),
      lower_(new QLineEdit(this)), upper_(new QLineEdit(this)), timerSymbol_(new QLabel(this)) {
    setObjectName(QStringLiteral("para") + QString::number(slot_));
    slider_->setObjectName(QStringLiteral("HScroll1"));
    value_->setObjectName(QStringLiteral("Text3"));
    lower_->setObjectName(QStringLiteral("Text1"));
    upper_->setObjectName(QStringLiteral("Text2"));
    timerSymbol_->setObjectName(QStringLiteral("Image1"));

    slider_->setRange(0, sliderMax);
    slider_->setSingleStep(1);
    slider_->setPageStep(10);
    // The slider takes the focus by Tab and by a click, so that the arrow keys, PageUp and
    // PageDown move it; a scroll bar takes none of its own.
    slider_->setFocusPolicy(Qt::StrongFocus);
    slider_->setToolTip(sliderTip);
    slider_->installEventFilter(this);
    for (QLineEdit* field : {value_, lower_, upper_}) {
        field->setToolTip(fieldTip);
        field->installEventFilter(this);
    }
    upper_->setAlignment(Qt::AlignRight);
    timerSymbol_->setToolTip(timerTip);
    timerSymbol_->setAlignment(Qt::AlignCenter);
    timerSymbol_->installEventFilter(this);

    // Both the drag and the arrows and page steps land here; the logic's own slider moves are
    // made with the signals blocked, since the logic has already applied them.
    connect(slider_, &QScrollBar::valueChanged, this,
            [this](int position) { sliderMoved(position); });

    const int t = tpp();
    setFixedHeight(core::twipsToPixels(windowHeight, t));
    setMinimumWidth(core::twipsToPixels(minimumWidthTwips, t));
    resize(sizeHint());
    showSlot();
}

int ParamWindow::tpp() const {
    return core::twipsPerPixel(logicalDpiX());
}

QSize ParamWindow::sizeHint() const {
    const int t = tpp();
    return QSize(std::max(core::twipsToPixels(state_.paramWindowWidth, t),
                          core::twipsToPixels(minimumWidthTwips, t)),
                 core::twipsToPixels(windowHeight, t));
}

void ParamWindow::showSlot() {
    const core::ParamSlot& p = state_.params[slot_];
    setWindowTitle(p.caption);
    nameControls(p.label, slider_, value_, lower_, upper_, timerSymbol_);
    setTextKeepingCursor(value_, p.valueText);
    setTextKeepingCursor(lower_, p.lowerText);
    setTextKeepingCursor(upper_, p.upperText);
    {
        const QSignalBlocker blocker(slider_);
        slider_->setValue(p.sliderPos);
    }
    lower_->setReadOnly(p.boundsLocked);
    upper_->setReadOnly(p.boundsLocked);

    QPalette palette = value_->palette();
    palette.setColor(QPalette::Base,
                     p.valueHighlighted ? highlightedValue : this->palette().color(QPalette::Base));
    value_->setPalette(palette);

    // While the slot's timer runs, the timer moves the value and the fields wait.
    const bool running = state_.timerList.contains(QChar(char16_t(slot_)));
    timerSymbol_->setFrameShape(running ? QFrame::Box : QFrame::NoFrame);
    value_->setEnabled(!running);
    lower_->setEnabled(!running);
    upper_->setEnabled(!running);
}

void ParamWindow::sliderMoved(int position) {
    moveSlider(state_, slot_, position);
    showSlot();
}

void ParamWindow::takeValue() {
    value_->setModified(false);
    enterValue(state_, slot_, value_->text());
    showSlot();
}

void ParamWindow::takeBounds() {
    core::ParamSlot& p = state_.params[slot_];
    // Cleared first: a refusal's message box takes the focus away, which must not apply again.
    lower_->setModified(false);
    upper_->setModified(false);
    p.lowerText = lower_->text();
    p.upperText = upper_->text();
    chpari(state_, slot_);
    showSlot();
}

bool ParamWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == timerSymbol_ && event->type() == QEvent::MouseButtonPress) {
        timerSymbolPressed(static_cast<QMouseEvent*>(event)->button());
        return true;
    }
    if (watched == slider_ && event->type() == QEvent::KeyPress) {
        // A scroll bar turns PageUp into a step towards its start; the parameter's slider goes
        // up with PageUp and the arrow keys Up and Right, the way of a drag (triggerAction).
        const std::optional<QAbstractSlider::SliderAction> action =
            sliderAction(static_cast<QKeyEvent*>(event)->key());
        if (!action) return QWidget::eventFilter(watched, event);
        slider_->triggerAction(*action);
        return true;
    }
    if (watched != value_ && watched != lower_ && watched != upper_)
        return QWidget::eventFilter(watched, event);
    const bool isValue = watched == value_;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) break;
        if (static_cast<QLineEdit*>(watched)->isReadOnly()) return true;
        if (isValue)
            takeValue();
        else
            takeBounds();
        return true; // Enter is consumed
    }
    case QEvent::FocusOut: {
        // Leaving a field applies it only when something was typed, so that tabbing through the
        // window neither rounds the value to its shown digits nor redraws.
        const auto* field = static_cast<QLineEdit*>(watched);
        if (!field->isModified()) break;
        if (isValue)
            takeValue();
        else
            takeBounds();
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (!isValue && stackOthers) stackOthers(slot_);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void ParamWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutControls();
    // The width the user gives one window is the width of every parameter window.
    if (isVisible()) state_.paramWindowWidth = core::pixelsToTwips(width(), tpp());
}

void ParamWindow::timerSymbolPressed(Qt::MouseButton button) {
    const bool left = button == Qt::LeftButton;
    if (params::timerSymbolPressed(state_, slot_, left) == TimerSymbolAction::OpenDialog)
        TimerDialog::run(state_, slot_, this);
}

void ParamWindow::closeEvent(QCloseEvent* event) {
    // A parameter nobody sees any more must not go on moving the picture.
    stopTimer(state_, slot_);
    state_.params[slot_].visible = false;
    if (closed) closed(slot_);
    event->accept();
}

void ParamWindow::layoutControls() {
    const int t = tpp();
    const auto px = [t](double twips) { return core::twipsToPixels(twips, t); };
    const double w = core::pixelsToTwips(width(), t);
    const double sliderW = std::max(0.0, w - 2 * margin);

    slider_->setGeometry(px(margin), px(sliderTop), px(sliderW), px(sliderHeight));
    value_->setGeometry(px(margin), px(valueTop), std::max(1, px(sliderW - valueNarrower)),
                        px(rowHeight));
    const int symbolSide = px(rowHeight);
    timerSymbol_->setGeometry(px(w - margin) - symbolSide, px(valueTop), symbolSide, symbolSide);
    if (timerSymbol_->pixmap().width() != symbolSide - 2)
        timerSymbol_->setPixmap(clockIcon(std::max(1, symbolSide - 2)));

    const double boundW = std::min<double>(boundWidth, sliderW / 2 - margin);
    lower_->setGeometry(px(margin), px(boundsTop), std::max(1, px(boundW)), px(rowHeight));
    upper_->setGeometry(px(w - margin - boundW), px(boundsTop), std::max(1, px(boundW)),
                        px(rowHeight));
}

} // namespace params
