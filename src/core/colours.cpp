#include "core/colours.h"

namespace core {

QColor toQColor(Colour colour) {
    return QColor(int(colour & 0xff), int((colour >> 8) & 0xff), int((colour >> 16) & 0xff));
}

Colour fromQColor(const QColor& colour) {
    return rgb(colour.red(), colour.green(), colour.blue());
}

void setcolour(State& state, int index, Colour colour) {
    if (index < 0 || index >= int(state.lineColours.size())) return;
    state.lineColours[index] = colour;
    if (index < int(state.storedColours.size())) state.storedColours[index] = colour;
}

} // namespace core
