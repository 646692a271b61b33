#pragma once
// The sweep: a program run over a block of samples of the running variable at once, one pass
// over the block per instruction, with the meaning of one scalar evaluation per sample.

#include "platform/enginecore.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::detail {

// Samples per block: enough to pay for one dispatch per instruction, few enough that the values
// of a term stay in the first-level cache.
inline constexpr int sweepLanes = 128;

// Whether f(l) holds for any l in 0 ... count-1, in independent partial counts that the compiler
// can vectorise (a single running sum or flag would have to be kept in order).
template <typename F> bool anyLane(int count, F&& f) {
    double part[4] = {0, 0, 0, 0};
    int l = 0;
    for (; l + 4 <= count; l += 4)
        for (int k = 0; k < 4; ++k)
            part[k] += f(l + k) ? 1.0 : 0.0;
    for (; l < count; ++l)
        part[0] += f(l) ? 1.0 : 0.0;
    return part[0] + part[1] + part[2] + part[3] != 0;
}

struct SweepLevel;

// What sweeps keep between blocks, so that a block allocates nothing once the engine has run a
// few: the value stack, a block of lanes per value, and the masks of nested branches and calls.
struct SweepMachine {
    SweepMachine();
    ~SweepMachine();
    std::vector<double> blocks;
    std::vector<std::unique_ptr<SweepLevel>> levels;
};

// The program with the bodies of the functions it calls written in, each call's arguments taken
// straight from their variables where they are plain ones, so that a sweep runs no calls; null
// when that is not worth it or not exact. A plan holds no branches and no call that could
// recurse, nest or repeat towards the machine's limits (so no call in it can fail by them), and
// counts each call's work at its place (Op::Work), for the lanes that reach it. It copies the
// bodies: it stays right only as long as no function is defined anew (World::definitions).
// capacity is the scalar machine's stack, which must hold the calls as they would be made.
std::unique_ptr<const Program> inlinedPlan(const Program& program, std::size_t capacity);

// Runs the program (or its plan, when given) for count (1 ... sweepLanes) samples: the variable at
// xslot takes the values xs, every other variable keeps its value. Writes each sample's value (0
// where it fails) and error code (0 where defined, the not-a-number check included) and counts the
// work in the machine exactly as count scalar runs would. Returns false, leaving the machine's work
// as it was, when the block cannot be run this way: the work limit is reached within the block or
// the calls nest deeper than the sweep follows them; the caller then evaluates those samples one by
// one.
bool runSweepBlock(const Program& program, const Program* plan, Machine& machine,
                   SweepMachine& sweep, const double* xslot, const double* xs, int count,
                   double* ys, std::uint8_t* errors);

// The product *p * *q * c for count samples, the variable at xslot taking the values xs, as
// one evaluation per sample computes it. Returns whether any value is not a number.
bool sweepProduct(const double* p, const double* q, double c, const double* xslot, const double* xs,
                  int count, double* ys);

} // namespace platform::detail
