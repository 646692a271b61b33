#include "mainwin/printing.h"

#include "core/state.h"
#include "graph/renderer.h"
#include "platform/messages.h"

#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace mainwin {

bool PrintDialogBox::choosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("Graphik drucken"));
    // One picture on one page: page ranges and copies in collation mean nothing here.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted;
}

bool printPicture(core::State& state, QPrinter& printer, QSize plotSize) {
    if (plotSize.isEmpty()) return false;
    printer.setDocName(QStringLiteral("Kurvatur"));
    printer.setCreator(QStringLiteral("Kurvatur 2"));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    // The painter's origin is the printable area's corner.
    graph::drawFitted(state, painter, QRectF(QPointF(0, 0), page.size()), plotSize);
    return painter.end() && printer.printerState() != QPrinter::Error;
}

bool printCommand(core::State& state, PrintService& dialog, QSize plotSize) {
    QPrinter printer(QPrinter::HighResolution);
    // A wide picture fills a page turned sideways best; the user may still turn it back.
    printer.setPageOrientation(plotSize.width() > plotSize.height() ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait);
    if (!dialog.choosePrinter(printer)) return false;
    if (printPicture(state, printer, plotSize)) return true;
    const QString target =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    state.messages->inform(QStringLiteral("Drucken"),
                           QStringLiteral("Die Graphik konnte nicht gedruckt werden (%1).")
                               .arg(target.isEmpty() ? QStringLiteral("kein Drucker") : target),
                           platform::MessageIcon::Critical);
    return false;
}

} // namespace mainwin
