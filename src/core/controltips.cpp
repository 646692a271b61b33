#include "core/controltips.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

namespace core {

namespace {

class CutTextTip : public QObject {
public:
    explicit CutTextTip(QLabel* label) : QObject(label), label_(label), ownTip_(label->toolTip()) {
        label->installEventFilter(this);
        refresh();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::FontChange:
        case QEvent::Paint: // the text was set anew, or the label was uncovered
        case QEvent::ToolTip:
            refresh();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void refresh() {
        const QString tip = textFits(label_) ? ownTip_ : label_->text();
        if (label_->toolTip() != tip) label_->setToolTip(tip);
    }

    QLabel* label_;
    QString ownTip_;
};

} // namespace

void describe(QWidget* control, const QString& name, const QString& tip) {
    control->setAccessibleName(name);
    control->setToolTip(tip.isEmpty() ? name : tip);
}

bool textFits(const QLabel* label) {
    const QString text = label->text();
    if (text.isEmpty()) return true;
    const int margin = label->margin() + std::max(label->indent(), 0);
    const QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    const int flags = int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
    const QRect needed = QFontMetrics(label->font()).boundingRect(room, flags, text);
    return needed.width() <= room.width() && needed.height() <= room.height();
}

void tipWhenCut(QLabel* label) {
    label->setMinimumWidth(1);
    new CutTextTip(label);
}

} // namespace core
