#pragma once
// The size of the plot area, as the graph window's layout gives it.

namespace core {
struct State;
}

namespace session {

// The plot area now measures plotW by plotH twips. Unless the sample counts are kept constant,
// every line takes one sample per device pixel column (devicePixelRatio per pixel, at least one)
// and its sample-count parameter shows that number plus one; then the mapping is recomputed
// (setscale). Nothing is drawn here.
void setPlotArea(core::State& state, double plotW, double plotH, double devicePixelRatio = 1);

} // namespace session
