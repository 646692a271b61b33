#include "terms/termwindow.h"

#include "core/colours.h"
#include "core/controltips.h"
#include "core/twips.h"
#include "terms/termcheck.h"
#include "terms/termrows.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

namespace terms {

namespace {

constexpr int lastRow = core::lineCount - 1;

// Widths and places in twips that the row formulas leave open.
constexpr int colourBoxLeft = 45;
constexpr int colourBoxWidth = 270;
constexpr int fieldLeft = 360;
constexpr int fieldWidthLess = 955; // a text field is the inner width less this
constexpr int plusGap = 40;
constexpr int plusWidth = 300;
constexpr int statusLeft = 60;
constexpr int statusTop = 45;
constexpr int statusHeight = 285;
constexpr int statusWidthLess = 350; // besides the width of btback
constexpr int backGap = 50;
constexpr int backWidth = 900;
constexpr int backTop = 30;
constexpr int backHeight = 315;
constexpr int startWidth = 6000;
constexpr int smallestWidth = 3315;

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QColor fromColour(core::Colour c) {
    return core::toQColor(c);
}

core::Colour toColour(const QColor& c) {
    return core::rgb(c.red(), c.green(), c.blue());
}

} // namespace

int shiftState(Qt::KeyboardModifiers modifiers) {
    int s = 0;
    if (modifiers & Qt::ShiftModifier) s |= 1;
    if (modifiers & Qt::ControlModifier) s |= 2;
    if (modifiers & Qt::AltModifier) s |= 4;
    return s;
}

// The coloured box in front of a line.
class ColourBox : public QFrame {
public:
    ColourBox(TermWindow* window, int index) : QFrame(window), window_(window), index_(index) {
        setFrameShape(QFrame::Box);
        setAutoFillBackground(true);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        e->accept();
        window_->colourBoxPressed(index_, e->button(), e->globalPosition().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        e->accept();
        window_->colourBoxDoubleClicked(index_, e->modifiers());
    }

private:
    TermWindow* window_;
    int index_;
};

// The text field of a line. The keys that the window handles do their work on release; their
// presses are kept from the field, so that Shift+Delete does not cut text away first. A paste is
// the window's too: text of several lines belongs into several lines.
class TermLine : public QLineEdit {
public:
    TermLine(TermWindow* window, int index) : QLineEdit(window), window_(window), index_(index) {}

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (isPaste(e)) {
            e->accept();
            window_->pasteInto(index_);
            return;
        }
        if (handledByWindow(e)) {
            e->accept();
            return;
        }
        QLineEdit::keyPressEvent(e);
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        QLineEdit::keyReleaseEvent(e);
        if (!e->isAutoRepeat()) window_->lineKeyReleased(index_, e->key(), e->modifiers());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QLineEdit::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton) window_->lineClicked(index_);
    }

private:
    // Checked before the Insert keys that the window holds back. Shift+Insert is named as well,
    // since the key bindings of some platforms leave it out.
    static bool isPaste(const QKeyEvent* e) {
        return e->matches(QKeySequence::Paste) ||
               (e->key() == Qt::Key_Insert && shiftState(e->modifiers()) == 1);
    }
    static bool handledByWindow(const QKeyEvent* e) {
        switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Insert:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        case Qt::Key_Delete:
            return shiftState(e->modifiers()) == 1;
        default:
            return false;
        }
    }

    TermWindow* window_;
    int index_;
};

// The add/delete button behind a line; it answers every mouse button.
class PlusButton : public QPushButton {
public:
    PlusButton(TermWindow* window, int index)
        : QPushButton(QStringLiteral("+"), window), window_(window), index_(index) {
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            QPushButton::mousePressEvent(e);
        else
            e->accept(); // so that the release of this button comes here as well
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) QPushButton::mouseReleaseEvent(e);
        if (rect().contains(e->position().toPoint()))
            window_->plusReleased(index_, e->button(), e->modifiers());
    }

private:
    TermWindow* window_;
    int index_;
};

TermWindow::TermWindow(core::State& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("termform"));
    for (int i = 0; i < core::lineCount; ++i) {
        fcol_[i] = new ColourBox(this, i);
        fcol_[i]->setObjectName(QStringLiteral("fcol%1").arg(i));
        core::describe(fcol_[i], QStringLiteral("Farbe der Zeile %1").arg(i + 1),
                       QStringLiteral("Rechte Maustaste: Ändern der Eigenschaften"));
        fnam_[i] = new TermLine(this, i);
        fnam_[i]->setObjectName(QStringLiteral("fnam%1").arg(i));
        core::describe(fnam_[i], QStringLiteral("Zeile %1").arg(i + 1),
                       QStringLiteral("Term oder Intervall eingeben, mit der Eingabetaste "
                                      "zeichnen; Bild ab: Menü der Zeile"));
        // The state always holds what the fields show, so that an apply started elsewhere (the
        // range window, a parameter) reads the lines as typed and showing the state loses
        // nothing.
        connect(fnam_[i], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (i < state_.linesInUse) state_.termEditor.texts[i] = text;
        });
        cmplus_[i] = new PlusButton(this, i);
        cmplus_[i]->setObjectName(QStringLiteral("cmplus%1").arg(i));
        core::describe(cmplus_[i], QStringLiteral("Zeile hinzufügen oder löschen"),
                       QStringLiteral("Zeile hinzufügen / löschen (mit Umschalttaste)"));
    }
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Label9"));
    status_->setAutoFillBackground(true);
    status_->setAccessibleName(QStringLiteral("Statuszeile"));
    // Messages of several lines run longer than the narrow window; the whole text stays readable.
    core::tipWhenCut(status_);
    back_ = new QPushButton(this);
    back_->setObjectName(QStringLiteral("btback"));
    core::describe(back_, QStringLiteral("Terme oder Intervalle zeigen"),
                   QStringLiteral("Zwischen den Funktionstermen und den Darstellungsintervallen "
                                  "umschalten"));
    back_->setFocusPolicy(Qt::NoFocus);
    connect(back_, &QPushButton::clicked, this,
            [this] { setstate(1 - state_.termEditor.termState); });

    clipboardText = [] { return QGuiApplication::clipboard()->text(); };
    chooseColour = [this](const QColor& initial) {
        return state_.colourDialogs->chooseColour(initial, QStringLiteral("Farbe ändern"));
    };

    setMinimumWidth(px(smallestWidth));
    QWidget::resize(px(startWidth), pxY(fittedHeightTwips(state_.termEditor.fontSize, 1)));
    resizeRows(state_.termEditor.fontSize, false);
    showState();
}

int TermWindow::px(double twips) const {
    return core::twipsToPixels(twips, state_.tppX);
}

int TermWindow::pxY(double twips) const {
    return core::twipsToPixels(twips, state_.tppY);
}

QLineEdit* TermWindow::lineField(int i) const {
    return i >= 0 && i < core::lineCount ? fnam_[i] : nullptr;
}

QWidget* TermWindow::colourBox(int i) const {
    return i >= 0 && i < core::lineCount ? fcol_[i] : nullptr;
}

QPushButton* TermWindow::plusButton(int i) const {
    return i >= 0 && i < core::lineCount ? cmplus_[i] : nullptr;
}

void TermWindow::readFields() {
    for (int i = 0; i < state_.linesInUse && i < core::lineCount; ++i)
        state_.termEditor.texts[i] = fnam_[i]->text();
}

void TermWindow::showState() {
    const core::TermEditor& editor = state_.termEditor;
    const QPalette normal = QApplication::palette(fnam_[0]);
    for (int i = 0; i < core::lineCount; ++i) {
        const bool inUse = i < state_.linesInUse;
        fcol_[i]->setVisible(inUse);
        fnam_[i]->setVisible(inUse);
        cmplus_[i]->setVisible(inUse);

        const core::FuncLine& line = state_.lines[i];
        if (fnam_[i]->text() != editor.texts[i]) {
            // A cursor at the end stays at the end when the applied line is written in its
            // normal form (with blanks), so that typing on extends the term.
            const int cursor = fnam_[i]->cursorPosition();
            const bool atEnd = cursor == fnam_[i]->text().size();
            fnam_[i]->setText(editor.texts[i]);
            const int size = int(editor.texts[i].size());
            fnam_[i]->setCursorPosition(atEnd ? size : std::min(cursor, size));
        }
        QPalette field = fnam_[i]->palette();
        field.setColor(QPalette::Base, line.drawn ? normal.color(QPalette::Base)
                                                  : fromColour(hiddenLineBackground));
        fnam_[i]->setPalette(field);

        const int slot = std::clamp(line.slot, 0, core::lineCount - 1);
        QPalette box = fcol_[i]->palette();
        box.setColor(QPalette::Window, fromColour(state_.lineColours[slot]));
        fcol_[i]->setPalette(box);
    }

    status_->setText(editor.statusText);
    QPalette statusPalette = status_->palette();
    const QColor statusBackground = editor.statusColour == statusNormal
                                        ? normal.color(QPalette::Button)
                                        : fromColour(editor.statusColour);
    statusPalette.setColor(QPalette::Window, statusBackground);
    // A message on dark red stays readable in white.
    statusPalette.setColor(QPalette::WindowText, statusBackground.lightness() < 100
                                                     ? QColor(Qt::white)
                                                     : normal.color(QPalette::WindowText));
    status_->setPalette(statusPalette);
    back_->setText(editor.backButtonCaption);
    setWindowTitle(editor.windowCaption);
    // Lines loaded at once (the kept work at the start, a collection entry, an undo) change the
    // rows in use without a line being added or deleted here: the height follows them all the
    // same, or rows would be cut off below.
    if (fittedHeight_ > 0 &&
        pxY(fittedHeightTwips(editor.fontSize, state_.linesInUse)) != fittedHeight_)
        fitheight(0);
}

void TermWindow::focusLine(int i) {
    if (i < 0 || i >= state_.linesInUse || i >= core::lineCount) return;
    fnam_[i]->setFocus(Qt::OtherFocusReason);
}

void TermWindow::init(int a) {
    terms::init(state_, a);
    fitheight(0);
    showState();
}

void TermWindow::clrall() {
    terms::clrall(state_);
    showState();
}

void TermWindow::clr(int a) {
    readFields();
    if (!terms::clr(state_, a)) return;
    fitheight(0);
    showState();
    focusLine(std::min(a, state_.lastLine));
}

void TermWindow::add_before(int a, int j) {
    readFields();
    if (!terms::add_before(state_, a, j)) return;
    fitheight(0);
    showState();
    focusLine(a + (j == 0 ? 0 : 1));
}

void TermWindow::swvis() {
    readFields();
    terms::swvis(state_);
    showState();
}

void TermWindow::showcd() {
    const core::FuncLine& line =
        state_.lines[std::clamp(state_.termEditor.currentLine, 0, core::lineCount - 1)];
    const int slot = std::clamp(line.slot, 0, core::lineCount - 1);
    if (!chooseColour) return;
    const std::optional<QColor> chosen = chooseColour(fromColour(state_.lineColours[slot]));
    if (!chosen || !chosen->isValid()) return;
    readFields();
    setlinecolour(state_, toColour(*chosen));
    showState();
}

void TermWindow::setstate(int s) {
    terms::setstate(state_, s);
    showState();
}

void TermWindow::apply() {
    readFields();
    findandgetpre(state_, 0);
    showState();
}

void TermWindow::openPopup(int i, QPoint globalPos) {
    if (i < 0 || i >= state_.linesInUse) return;
    readFields();
    state_.termEditor.currentLine = popupLine(state_, i);
    if (popupRequested) popupRequested(globalPos);
}

void TermWindow::resizeRows(int size, bool clear) {
    if (size <= 0) size = state_.termEditor.fontSize;
    state_.termEditor.fontSize = size;
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(size);
    for (auto* field : fnam_)
        field->setFont(font);
    if (clear) {
        clearfields(state_);
        showState();
    }
    layoutRows();
}

void TermWindow::layoutRows() {
    const int size = state_.termEditor.fontSize;
    const int h = rowHeightTwips(size);
    const int innerWidth = core::pixelsToTwips(width(), state_.tppX);
    const int fieldWidth = std::max(innerWidth - fieldWidthLess, 300);
    for (int i = 0; i < core::lineCount; ++i) {
        const int top = rowTopTwips(i, size);
        fnam_[i]->setGeometry(px(fieldLeft), pxY(top), px(fieldWidth), pxY(h));
        fcol_[i]->setGeometry(px(colourBoxLeft), pxY(top + 4), px(colourBoxWidth), pxY(h - 8));
        cmplus_[i]->setGeometry(px(fieldLeft + fieldWidth + plusGap), pxY(top + 18), px(plusWidth),
                                pxY(h - 12));
    }
    const int statusWidth = std::max(innerWidth - statusWidthLess - backWidth, 300);
    status_->setGeometry(px(statusLeft), pxY(statusTop), px(statusWidth), pxY(statusHeight));
    back_->setGeometry(px(statusLeft + statusWidth + backGap), pxY(backTop), px(backWidth),
                       pxY(backHeight));
}

void TermWindow::fitheight(int a) {
    const int h = pxY(fittedHeightTwips(state_.termEditor.fontSize, state_.linesInUse));
    fittedHeight_ = h;
    // The user may only make the window wider: its height stays the fitted one.
    setMinimumHeight(h);
    setMaximumHeight(h);
    QWidget::resize(width(), h);
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        // The frame's title bar and borders come on top of the inner height.
        const int frameHeight = frame->sizeHint().height() - sizeHint().height();
        frame->setMinimumHeight(h + frameHeight);
        frame->setMaximumHeight(h + frameHeight);
        frame->resize(frame->width(), h + frameHeight);
    }
    if (heightFitted) heightFitted(a);
}

QSize TermWindow::sizeHint() const {
    const int fitted =
        fittedHeight_ > 0
            ? fittedHeight_
            : pxY(fittedHeightTwips(state_.termEditor.fontSize, std::max(state_.linesInUse, 1)));
    return QSize(px(startWidth), fitted);
}

void TermWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutRows();
}

void TermWindow::lineKeyReleased(int i, int key, Qt::KeyboardModifiers modifiers) {
    if (i < 0 || i >= state_.linesInUse) return;
    state_.termEditor.currentLine = i;
    const int shift = shiftState(modifiers);
    const QPoint below = fnam_[i]->mapToGlobal(QPoint(0, fnam_[i]->height()));
    if (isEnter(key)) {
        if (shift == 1 && i < lastRow)
            add_before(i, 1);
        else
            apply();
    } else if (key == Qt::Key_Insert) {
        if (i < lastRow && shift == 0) add_before(i, 1);
        if (i < lastRow && shift == 2) add_before(i, 0);
    } else if (key == Qt::Key_Delete) {
        if (shift == 1) clr(i);
    } else if (key == Qt::Key_PageDown) {
        if (shift == 1)
            swvis();
        else
            openPopup(i, below);
    } else if (key == Qt::Key_PageUp) {
        if (shift == 1)
            setstate(1 - state_.termEditor.termState);
        else
            openPopup(i, below);
    }
}

void TermWindow::lineClicked(int i) {
    if (i < 0 || i >= state_.linesInUse) return;
    apply();
    focusLine(i);
}

void TermWindow::pasteInto(int i) {
    if (i < 0 || i >= state_.linesInUse || !clipboardText) return;
    const QStringList lines = pastedLines(clipboardText());
    if (lines.size() <= 1) {
        fnam_[i]->insert(lines.value(0));
        return;
    }
    readFields();
    const int last = pasteLines(state_, i, lines);
    fitheight(0);
    showState();
    focusLine(last);
}

void TermWindow::plusReleased(int i, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    if (i < 0 || i >= state_.linesInUse) return;
    if (button == Qt::LeftButton) {
        if (shiftState(modifiers) != 0)
            clr(i);
        else if (i < lastRow)
            add_before(i, 1);
        return;
    }
    state_.termEditor.currentLine = i;
    swvis();
}

void TermWindow::colourBoxPressed(int i, Qt::MouseButton button, QPoint globalPos) {
    if (button == Qt::RightButton) openPopup(i, globalPos);
}

void TermWindow::colourBoxDoubleClicked(int i, Qt::KeyboardModifiers modifiers) {
    // Parameter timers and slider moves waiting in the queue come first.
    QCoreApplication::processEvents();
    if (i < 0 || i >= state_.linesInUse) return;
    state_.termEditor.currentLine = i;
    switch (shiftState(modifiers)) {
    case 0:
        add_before(i, 1);
        break;
    case 1:
        swvis();
        break;
    case 2:
        add_before(i, 0);
        break;
    default:
        break;
    }
}

} // namespace terms
