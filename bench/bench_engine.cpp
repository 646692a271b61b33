// Speed of the math engine against hand-written C++ and against muparser, on the same terms over
// the same sweep of 1000 values of the running variable: one parse, then per value one variable
// assignment and one evaluation into an array of samples ("Engine"), or the whole sweep in one
// call ("EngineBulk"), as a graph does. "time_per_eval" is the
// time of one evaluation.

#include "platform/mathengine.h"

#include <benchmark/benchmark.h>

#ifdef KURVATUR_HAVE_MUPARSER
#include <muParser.h>
#endif

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int sampleCount = 1000;
constexpr double paramA = 1.5, paramB = -2, paramC = 0.5;

std::vector<double> sweep() {
    std::vector<double> xs(sampleCount);
    for (int i = 0; i < sampleCount; ++i)
        xs[std::size_t(i)] = -5 + 10.0 * i / (sampleCount - 1);
    return xs;
}

void reportPerEvaluation(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * sampleCount);
    // Seconds per evaluation, shown with an SI prefix ("6.5n" is 6.5 ns).
    state.counters["time_per_eval"] =
        benchmark::Counter(double(sampleCount), benchmark::Counter::kIsIterationInvariantRate |
                                                    benchmark::Counter::kInvert);
}

struct Term {
    const char* engine;
    const char* muparser; // null: muparser cannot express it
};

// The index of a term is the same in all three benchmark families.
const Term terms[] = {
    {"_x^2", "_x^2"},
    {"a*_x^2+b*_x+c", "a*_x^2+b*_x+c"},
    {"sin(_x)^2+cos(_x)^2", "sin(_x)^2+cos(_x)^2"},
    {"sqrt(abs(_x))*exp(-_x^2/10)", "sqrt(abs(_x))*exp(-(_x^2)/10)"},
    {"iif(_x>0, ln(_x+1), -_x)", "_x>0 ? ln(_x+1) : -_x"},
    {"g(_x)", nullptr},
    {"a*_x^2+b*sin(_x)", "a*_x^2+b*sin(_x)"},
};
constexpr int termCount = int(sizeof(terms) / sizeof(terms[0]));

// The engine as both engine benchmarks use it: the parameters, the running variable and the
// user functions of the terms defined, the term parsed, the sweep's values and room for the
// results.
struct BenchEngine {
    platform::MathEngine engine;
    int x = -1;
    platform::Expression expr;
    const std::vector<double> xs = sweep();
    std::vector<double> ys = std::vector<double>(xs.size());

    explicit BenchEngine(int index) {
        engine.setVariable(engine.defineVariable("a"), paramA);
        engine.setVariable(engine.defineVariable("b"), paramB);
        engine.setVariable(engine.defineVariable("c"), paramC);
        x = engine.defineVariable("_x");
        engine.defineFunction("f(_x)=_x^2+1");
        engine.defineFunction("g(_x)=f(_x)*f(_x-1)");
        expr = engine.parse(terms[index].engine);
    }

    // False, and the benchmark skipped, when the term did not parse.
    bool ready(benchmark::State& state) const {
        if (!expr.valid()) state.SkipWithError("parse failed");
        return expr.valid();
    }
};

void engineBenchmark(benchmark::State& state, int index) {
    BenchEngine b(index);
    if (!b.ready(state)) return;
    for (auto _ : state) {
        for (std::size_t i = 0; i < b.xs.size(); ++i) {
            b.engine.setVariable(b.x, b.xs[i]);
            b.ys[i] = b.engine.evaluate(b.expr);
        }
        benchmark::DoNotOptimize(b.ys.data());
        benchmark::ClobberMemory();
    }
    reportPerEvaluation(state);
}

// The same sweep in one engine call: a block of samples per pass over each instruction.
void engineBulkBenchmark(benchmark::State& state, int index) {
    BenchEngine b(index);
    if (!b.ready(state)) return;
    std::vector<std::uint8_t> errors(b.xs.size());
    for (auto _ : state) {
        b.engine.evaluateSweep(b.expr, b.x, b.xs, b.ys, errors);
        benchmark::DoNotOptimize(b.ys.data());
        benchmark::DoNotOptimize(errors.data());
        benchmark::ClobberMemory();
    }
    reportPerEvaluation(state);
}

template <typename F> void nativeLoop(benchmark::State& state, F f) {
    const std::vector<double> xs = sweep();
    std::vector<double> ys(xs.size());
    double a = paramA, b = paramB, c = paramC;
    for (auto _ : state) {
        // the parameters may change between sweeps, as they do in the program
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        benchmark::DoNotOptimize(c);
        for (std::size_t i = 0; i < xs.size(); ++i)
            ys[i] = f(xs[i], a, b, c);
        benchmark::DoNotOptimize(ys.data());
        benchmark::ClobberMemory();
    }
    reportPerEvaluation(state);
}

void nativeBenchmark(benchmark::State& state, int index) {
    switch (index) {
    case 0:
        return nativeLoop(state, [](double x, double, double, double) { return x * x; });
    case 1:
        return nativeLoop(
            state, [](double x, double a, double b, double c) { return a * x * x + b * x + c; });
    case 2:
        return nativeLoop(state, [](double x, double, double, double) {
            const double s = std::sin(x), k = std::cos(x);
            return s * s + k * k;
        });
    case 3:
        return nativeLoop(state, [](double x, double, double, double) {
            return std::sqrt(std::fabs(x)) * std::exp(-(x * x) / 10);
        });
    case 4:
        return nativeLoop(
            state, [](double x, double, double, double) { return x > 0 ? std::log(x + 1) : -x; });
    case 5:
        return nativeLoop(state, [](double x, double, double, double) {
            const auto f = [](double t) { return t * t + 1; };
            return f(x) * f(x - 1);
        });
    case 6:
        return nativeLoop(state, [](double x, double a, double b, double) {
            return a * x * x + b * std::sin(x);
        });
    default:
        state.SkipWithError("no such term");
    }
}

#ifdef KURVATUR_HAVE_MUPARSER
void muparserBenchmark(benchmark::State& state, int index) {
    double x = 0, a = paramA, b = paramB, c = paramC;
    mu::Parser parser;
    try {
        parser.DefineVar("_x", &x);
        parser.DefineVar("a", &a);
        parser.DefineVar("b", &b);
        parser.DefineVar("c", &c);
        parser.SetExpr(terms[index].muparser);
        parser.Eval();
    } catch (const mu::Parser::exception_type& e) {
        state.SkipWithError(e.GetMsg().c_str());
        return;
    }
    const std::vector<double> xs = sweep();
    std::vector<double> ys(xs.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < xs.size(); ++i) {
            x = xs[i];
            ys[i] = parser.Eval();
        }
        benchmark::DoNotOptimize(ys.data());
        benchmark::ClobberMemory();
    }
    reportPerEvaluation(state);
}
#endif

} // namespace

int main(int argc, char** argv) {
    for (int i = 0; i < termCount; ++i) {
        const std::string n = std::to_string(i);
        benchmark::RegisterBenchmark(("BM_Engine/" + n).c_str(), engineBenchmark, i);
        benchmark::RegisterBenchmark(("BM_EngineBulk/" + n).c_str(), engineBulkBenchmark, i);
        benchmark::RegisterBenchmark(("BM_Native/" + n).c_str(), nativeBenchmark, i);
#ifdef KURVATUR_HAVE_MUPARSER
        if (terms[i].muparser != nullptr)
            benchmark::RegisterBenchmark(("BM_Muparser/" + n).c_str(), muparserBenchmark, i);
#endif
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
