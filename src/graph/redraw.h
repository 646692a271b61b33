#pragma once
// The common refresh of the graph: the background, then every drawn line.

#include <cstdint>

namespace core {
struct State;
}

namespace graph {

class DrawSurface;
struct Plotter;

// The engine work (MathEngine::work, roughly nanoseconds) that one line may take in one redraw:
// about 12 ms on an ordinary machine, so that even 13 lines that all use it up leave the redraw
// well under a third of a second. Ordinary heavy drawings stay far below it: a line of
// a*sin(b*x+c) with 20000 samples takes a thirtieth of it, an integral function of such a line a
// tenth. Every redraw gives every line the whole budget anew, also after it was cut: the picture
// then depends only on the terms and the values, not on earlier redraws, and a parameter that
// makes a term cheap again shows its whole line at once. A slider or timer that moves on meets
// each cut line again, but each redraw keeps within the time above.
inline constexpr std::int64_t lineWorkBudget = 12'000'000;

// Renews the pens and fonts of the coordinate system from the current settings, measures the
// digits and draws the background.
void drawBackground(core::State& state, Plotter& plotter, DrawSurface& surface);

// Everything that is drawn over the background: the graph of every drawn line with a
// translated term, in its line slot's pen and colour. Each line may take lineWorkBudget of
// engine work; a line that needs more stops where its budget ends (what it drew stays). The
// state's drawing report is renewed: it lists those lines and the notices of the drawing, for
// the windows to show once the picture is painted. The additional lines and points follow the
// graphs (drawExtraObjects).
void drawLines(core::State& state, Plotter& plotter, DrawSurface& surface);

} // namespace graph
