#pragma once
// Reading what a routine drew onto the recording surface.

#include "graph/recordingsurface.h"

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

} // namespace testsupport
