#pragma once
// The term window ("termform"): one row per line in use with its colour box (fcol), its text
// field (fnam) and its add/delete button (cmplus), the status line (Label9) and the button that
// switches between the terms view and the intervals view (btback). The window reads its fields
// into the shared state before each command, lets the logic of termrows and termcheck do the
// work, and shows the state again.

#include "core/state.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace terms {

class ColourBox;
class TermLine;
class PlusButton;

class TermWindow : public QWidget {
public:
    explicit TermWindow(core::State& state, QWidget* parent = nullptr);

    // Asked for the new colour of a line; no value when the user cancels. By default the
    // system's colour dialog; tests answer it themselves.
    std::function<std::optional<QColor>(const QColor& initial)> chooseColour;
    // The pop-up menu of the lines should open at globalPos for
    // state.termEditor.currentLine (already set to the line it acts on).
    std::function<void(QPoint globalPos)> popupRequested;
    // The window fitted its height to the lines in use (a as given to fitheight).
    std::function<void(int a)> heightFitted;
    // The text on the clipboard, read when the user pastes into a line. By default Qt's
    // clipboard; tests answer it themselves.
    std::function<QString()> clipboardText;

    // Commands of the window, each applied to the state and shown.
    void init(int a);
    void clrall();
    void clr(int a);
    void add_before(int a, int j);
    void swvis();
    void showcd();
    void setstate(int s);
    void apply(); // findandgetpre(0)
    // Opens the pop-up menu for line i.
    void openPopup(int i, QPoint globalPos);
    // Font size and row geometry (size 0: keep the present size); clear empties every row.
    void resizeRows(int size, bool clear);
    // Window height for the lines in use.
    void fitheight(int a);

    // Takes the texts of the rows in use into the state.
    void readFields();
    // Shows the state: rows in use, texts, colours, backgrounds, status line and captions.
    void showState();
    void focusLine(int i);

    QLineEdit* lineField(int i) const;
    QWidget* colourBox(int i) const;
    QPushButton* plusButton(int i) const;
    QLabel* statusLine() const { return status_; }
    QPushButton* backButton() const { return back_; }
    int fittedHeight() const { return fittedHeight_; }

    // Called by the row controls.
    void lineKeyReleased(int i, int key, Qt::KeyboardModifiers modifiers);
    void lineClicked(int i);
    // The clipboard pasted into line i: one line goes in at the cursor as into any text field,
    // several fill line i and the lines below it and are applied.
    void pasteInto(int i);
    void plusReleased(int i, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void colourBoxPressed(int i, Qt::MouseButton button, QPoint globalPos);
    void colourBoxDoubleClicked(int i, Qt::KeyboardModifiers modifiers);

    // The start width and the fitted height.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int px(double twips) const;  // horizontal twips to pixels
    int pxY(double twips) const; // vertical twips to pixels
    void layoutRows();

    core::State& state_;
    std::array<ColourBox*, core::lineCount> fcol_{};
    std::array<TermLine*, core::lineCount> fnam_{};
    std::array<PlusButton*, core::lineCount> cmplus_{};
    QLabel* status_ = nullptr;
    QPushButton* back_ = nullptr;
    int fittedHeight_ = 0;
};

// Shift state of a key or mouse event as the term window reads it: Shift alone 1, Ctrl alone 2,
// Alt adds 4.
int shiftState(Qt::KeyboardModifiers modifiers);

} // namespace terms
