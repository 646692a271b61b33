#pragma once
// What the graph keeps between drawing calls beside the shared state: its pens and fonts, the
// measured digit sizes, the sample ranges of the lines and the values of the line being drawn.

#include "graph/drawingobjects.h"

#include <array>

namespace graph {

struct Plotter {
    DrawingObjects objects;

    // Size of the text "0" in twips: index 0 in the axis-name font, 1 in the number font.
    std::array<int, 2> digitHeight{};
    std::array<int, 2> digitWidth{};

    // Sample range of each function line (checkdef); samples are taken every sampleStride[i]
    // indices, which is 1 unless the sample count is beyond what a picture can show.
    std::array<int, core::lineCount> firstSample{};
    std::array<int, core::lineCount> lastSample{};
    std::array<int, core::lineCount> sampleStride{};
    double sampleToPixel = 0; // pixels per sample index of the line being drawn

    // Handed over before a line is drawn.
    int currentLineType = 0; // 0 or less: connected line; 1 ... 10: discs of that radius
    // Line coordinates per pixel (DrawSurface::setLineScale): the lines are drawn at the
    // device's resolution, discs stay in pixels.
    int lineScale = 1;
    core::Colour currentColour = 0;
};

} // namespace graph
