#pragma once
// The parameter selection list ("Parameter"): one row per parameter that has a window, selected
// while that window is shown. Selecting or deselecting rows shows or hides the windows; the
// button selects all rows or none.

#include <QWidget>

#include <functional>

class QListWidget;
class QPushButton;
class QItemSelection;

namespace core {
struct State;
}

namespace params {

class ParamWindows;

class ParamList : public QWidget {
public:
    ParamList(core::State& state, ParamWindows& windows, QWidget* parent = nullptr);

    // Fills the list anew from the parameters in use and fits the window's size to it.
    void refpar();
    // The window of slot k was closed: its row loses its selection.
    void schalt(int k);

    QSize sizeHint() const override { return wanted_; }

    QListWidget* list() const { return list_; }
    QPushButton* button() const { return button_; }

    // A row was toggled: its parameter is the one the mouse drives now.
    std::function<void(int slot)> activated;
    // The windows were shown or hidden; they are to be arranged when the user wants that.
    std::function<void()> windowsChanged;
    // The list has a new size; it is to be placed beside the graph window.
    std::function<void()> resized;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int px(double twips) const;
    int pxY(double twips) const;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void allOrNone();
    void showButtonCaption();
    void showSlot(int row, bool shown);

    core::State& state_;
    ParamWindows& windows_;
    QListWidget* list_;
    QPushButton* button_;
    QSize wanted_{100, 100}; // the size refpar fitted to the rows
    bool updating_ = false;  // while refpar fills the list, selections are not the user's
};

} // namespace params
