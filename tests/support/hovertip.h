#pragma once
// The tool tip that the mouse resting on a widget brings up.

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace testsupport {

inline QString hoverTip(QWidget* widget) {
    const QPoint centre = widget->rect().center();
    QHelpEvent event(QEvent::ToolTip, centre, widget->mapToGlobal(centre));
    QApplication::sendEvent(widget, &event);
    const QString tip = widget->toolTip();
    QToolTip::hideText();
    return tip;
}

} // namespace testsupport
