#include "graph/sweep.h"

namespace graph {

void Sweep::run() {
    const std::size_t n = xs_.size();
    ys_.resize(n);
    codes_.resize(n);
    engine_.evaluateSweep(expr_, running_, xs_, ys_, codes_);
    // Once the work passes the limit, every sample after fails with code 1; the run of such
    // samples at the end of the chunk holds the one that passed it. Others of the run that
    // failed for their own reason are left out either way, so it matters not which one ends the
    // line.
    spentFrom_ = int(n);
    if (!engine_.workLimitReached()) return;
    while (spentFrom_ > 0 && codes_[std::size_t(spentFrom_) - 1] == platform::ErrorCode::other)
        --spentFrom_;
}

} // namespace graph
