#pragma once
// The values of a term over a run of samples of the running variable, taken a chunk at a time
// in one sweep of the engine each (MathEngine::evaluateSweep): what every sampled line draws.

#include "platform/mathengine.h"

#include <cstdint>
#include <vector>

namespace graph {

class Sweep {
public:
    // Samples per chunk: few enough that a line whose budget runs out early wastes little work.
    static constexpr int chunk = 512;

    Sweep(platform::MathEngine& engine, const platform::Expression& expr, int running)
        : engine_(engine), expr_(expr), running_(running) {}

    // Evaluates the term at count values of the running variable, at(j) for j = 0 ... count-1.
    template <typename At> void take(int count, At&& at) {
        xs_.resize(std::size_t(count));
        for (int j = 0; j < count; ++j)
            xs_[std::size_t(j)] = at(j);
        run();
    }
    // The same at values given.
    void take(const std::vector<double>& xs) {
        xs_ = xs;
        run();
    }

    int count() const { return int(xs_.size()); }
    double x(int j) const { return xs_[std::size_t(j)]; }
    bool defined(int j) const { return codes_[std::size_t(j)] == 0; }
    double value(int j) const { return ys_[std::size_t(j)]; }
    // True for an undefined sample from which on the line's work budget is spent: it and every
    // later sample fail because of it.
    bool budgetSpent(int j) const { return j >= spentFrom_; }

private:
    void run();

    platform::MathEngine& engine_;
    const platform::Expression& expr_;
    int running_;
    std::vector<double> xs_, ys_;
    std::vector<std::uint8_t> codes_;
    int spentFrom_ = 0;
};

} // namespace graph
