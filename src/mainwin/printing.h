#pragma once
// Printing the picture of the graph: the print dialog goes through a replaceable service, so that
// tests print into a PDF file without a window.

#include <QSize>

class QPrinter;

namespace core {
struct State;
}

namespace mainwin {

class PrintService {
public:
    virtual ~PrintService() = default;
    // Lets the user choose and set up the printer; false when he cancelled.
    virtual bool choosePrinter(QPrinter& printer) = 0;
};

// The system's print dialog over the active window.
class PrintDialogBox : public PrintService {
public:
    bool choosePrinter(QPrinter& printer) override;
};

// Prints the whole picture, drawn anew for a plot area of plotSize pixels, on one page of the
// chosen printer: fitted to the page's printable area keeping its aspect, as lines and text.
// False when the printer could not be used.
bool printPicture(core::State& state, QPrinter& printer, QSize plotSize);

// "Drucken ...": the print dialog, offering the page turned sideways for a wide picture, then the
// picture; a failure is told to the user. True when printed.
bool printCommand(core::State& state, PrintService& dialog, QSize plotSize);

} // namespace mainwin
