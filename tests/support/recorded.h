#pragma once
// Reading what a routine drew onto the recording surface.

#include "graph/recordingsurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace testsupport {

using Kind = graph::RecordingSurface::Kind;
using Op = graph::RecordingSurface::Op;

// The operations of one kind, in the order they were drawn.
inline std::vector<Op> ofKind(const std::vector<Op>& ops, Kind kind) {
    std::vector<Op> out;
    for (const Op& op : ops)
        if (op.kind == kind) out.push_back(op);
    return out;
}

// The pixel each operation drew to: a line's end point, a disc's sample (one pixel left of and
// above its centre).
inline std::vector<QPoint> drawnPixels(const std::vector<Op>& ops) {
    std::vector<QPoint> out;
    for (const Op& op : ops)
        out.push_back(op.kind == Kind::Disc ? op.points[0] - QPoint(1, 1) : op.points.back());
    return out;
}

// The leftmost and the rightmost column of the pixels.
inline std::pair<int, int> columnSpan(const std::vector<QPoint>& pixels) {
    std::pair<int, int> span{1 << 30, -(1 << 30)};
    for (const QPoint& p : pixels)
        span = {std::min(span.first, p.x()), std::max(span.second, p.x())};
    return span;
}

// The line segments that run from below lo to above hi or back: across the columns lo ... hi
// from one side to the other, or with rows, from above those rows to below them.
inline int segmentsAcross(const std::vector<Op>& ops, double lo, double hi, bool rows = false) {
    int n = 0;
    for (const Op& op : ofKind(ops, Kind::LineTo)) {
        const int a = rows ? op.points[0].y() : op.points[0].x();
        const int b = rows ? op.points[1].y() : op.points[1].x();
        n += std::min(a, b) < lo && std::max(a, b) > hi;
    }
    return n;
}

// Every point lies in the band around a plot of w x h pixels that the clipping holds lines in:
// up to twice the plot height above its bottom edge and below its top edge; across, the plot
// itself for lines sampled by column, twice the plot width from its left edge either way for
// curves. Twelve pixels more for the discs.
inline void expectInsideClipping(const std::vector<Op>& ops, int w, int h, bool curve = false) {
    const int left = curve ? -2 * w : 0, right = curve ? 2 * w : w;
    for (const Op& op : ops)
        for (const QPoint& p : op.points)
            EXPECT_TRUE(left - 12 <= p.x() && p.x() <= right + 12 && -h - 12 <= p.y() &&
                        p.y() <= 3 * h + 12)
                << p.x() << "," << p.y();
}

} // namespace testsupport
