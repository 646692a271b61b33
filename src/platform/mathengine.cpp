#include "platform/mathengine.h"

#include "platform/enginecompiler.h"
#include "platform/enginecore.h"
#include "platform/enginesweep.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_set>
#include <vector>

namespace platform {

namespace {

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The comma-separated numbers of the reset text; anything unreadable counts as absent (0).
std::vector<long> capacities(std::string_view text) {
    std::vector<long> values;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view part = trimmed(text.substr(0, comma));
        long v = 0;
        std::from_chars(part.data(), part.data() + part.size(), v);
        values.push_back(v);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return values;
}

// Reads a name at `pos` (after blanks); empty when there is none.
std::string_view readName(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    const std::size_t start = pos;
    const auto letter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    };
    if (pos < text.size() && letter(text[pos])) ++pos;
    while (pos > start && pos < text.size() &&
           (letter(text[pos]) || (text[pos] >= '0' && text[pos] <= '9')))
        ++pos;
    return text.substr(start, pos - start);
}

bool skipTo(std::string_view text, std::size_t& pos, char wanted) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    if (pos >= text.size() || text[pos] != wanted) return false;
    ++pos;
    return true;
}

} // namespace

MathEngine::MathEngine()
    : world_(std::make_shared<detail::World>()), machine_(std::make_unique<detail::Machine>()) {}

void MathEngine::refreshSlots() {
    slots_ = world_->slots.data();
    slotCount_ = world_->variableCount();
}

MathEngine::~MathEngine() = default;

void MathEngine::reset(std::string_view text) {
    world_ = std::make_shared<detail::World>();
    refreshSlots();
    const std::vector<long> caps = capacities(text);
    if (caps.size() > 1 && caps[1] > 0 && caps[1] < world_->maxVariables)
        world_->maxVariables = int(caps[1]);
    if (caps.size() > 2 && caps[2] > 0 && caps[2] < world_->maxFunctions)
        world_->maxFunctions = int(caps[2]);
    clearError();
}

int MathEngine::defineVariable(std::string_view text) {
    text = trimmed(text);
    const std::size_t eq = text.find('=');
    const std::string_view name = trimmed(text.substr(0, eq));
    const std::string key = detail::lowerCase(name);
    if (!detail::isName(name) || detail::isOperatorWord(key)) {
        fail(ErrorCode::syntax);
        return -1;
    }
    double value = 0;
    const bool assign = eq != std::string_view::npos;
    if (assign) {
        detail::CompileResult r = detail::compile(*world_, *machine_, text.substr(eq + 1));
        if (!r.program) {
            fail(r.error, r.data);
            return -1;
        }
        machine_->ensureStack(r.program->maxStack);
        const int mode = machine_->trigMode;
        machine_->setTrigMode(1);
        value = detail::run(*r.program, *machine_);
        machine_->setTrigMode(mode);
        if (machine_->error != 0) {
            fail(machine_->error, machine_->message);
            return -1;
        }
        if (std::isnan(value)) {
            fail(ErrorCode::other, detail::textNotANumber);
            return -1;
        }
    }
    int handle = world_->findVariable(key);
    if (handle < 0) handle = world_->addVariable(std::string(name), key);
    refreshSlots();
    if (handle < 0) {
        fail(ErrorCode::capacity);
        return -1;
    }
    if (assign) *world_->slot(handle) = value;
    clearError();
    return handle;
}

double MathEngine::variable(int handle) const {
    detail::World& w = *world_;
    return handle >= 0 && handle < w.variableCount() ? *w.slot(handle) : 0.0;
}

bool MathEngine::defineFunction(std::string_view text) {
    text = trimmed(text);
    std::size_t pos = 0;
    const std::string_view name = readName(text, pos);
    const std::string key = detail::lowerCase(name);
    if (name.empty() || detail::isOperatorWord(key) || !skipTo(text, pos, '(')) {
        fail(ErrorCode::syntax);
        return false;
    }
    std::vector<std::string> params;
    std::unordered_set<std::string> seen;
    if (!skipTo(text, pos, ')')) {
        for (;;) {
            const std::string param = detail::lowerCase(readName(text, pos));
            if (param.empty() || detail::isOperatorWord(param)) {
                fail(ErrorCode::syntax);
                return false;
            }
            if (!seen.insert(param).second) {
                fail(ErrorCode::syntax);
                return false;
            }
            params.push_back(param);
            if (skipTo(text, pos, ')')) break;
            if (!skipTo(text, pos, ',') && !skipTo(text, pos, ';')) {
                fail(ErrorCode::syntax);
                return false;
            }
        }
    }
    if (!skipTo(text, pos, '=')) {
        fail(ErrorCode::syntax);
        return false;
    }
    const int arity = int(params.size());
    const std::string_view body = trimmed(text.substr(pos));

    detail::Function* existing = world_->findFunction(key, arity);
    std::unique_ptr<detail::Function> created;
    if (!existing) {
        created = std::make_unique<detail::Function>();
        created->name = std::string(name);
        created->arity = arity;
    }
    detail::Function* target = existing ? existing : created.get();
    std::unique_ptr<detail::Program> program;
    if (!body.empty()) {
        detail::CompileResult r = detail::compile(*world_, *machine_, body, params, target, key);
        if (!r.program) {
            fail(r.error, r.data);
            return false;
        }
        program = std::move(r.program);
        machine_->ensureStack(program->maxStack);
    }
    if (created && !world_->addFunction(std::move(created), key)) {
        fail(ErrorCode::capacity);
        return false;
    }
    target->body = std::move(program);
    ++world_->definitions;
    clearError();
    return true;
}

void MathEngine::alias(std::string_view newWord, std::string_view existingWord) {
    newWord = trimmed(newWord);
    existingWord = trimmed(existingWord);
    if (!detail::isName(newWord) || !detail::isName(existingWord)) {
        fail(ErrorCode::syntax);
        return;
    }
    const std::string from = detail::lowerCase(newWord);
    const std::string to = detail::lowerCase(existingWord);
    if (from != to) world_->aliases[from] = to;
}

bool MathEngine::isBuiltinFunction(std::string_view name) {
    return detail::isBuiltinFunction(detail::lowerCase(name));
}

Expression MathEngine::parse(std::string_view text) {
    detail::CompileResult r = detail::compile(*world_, *machine_, text);
    if (!r.program) {
        fail(r.error, r.data);
        return {};
    }
    r.program->world = world_;
    machine_->ensureStack(r.program->maxStack);
    Expression e;
    if (r.program->monomial) {
        e.factorP_ = r.program->factorP;
        e.factorQ_ = r.program->factorQ;
        e.factorC_ = r.program->factorC;
    }
    e.program_ = std::move(r.program);
    clearError();
    return e;
}

double MathEngine::eval(std::string_view text) {
    if (trimmed(text).empty()) {
        clearError();
        return 0.0;
    }
    detail::CompileResult r = detail::compile(*world_, *machine_, text);
    if (!r.program) {
        fail(r.error, r.data);
        return 0.0;
    }
    machine_->ensureStack(r.program->maxStack);
    detail::Machine& m = *machine_;
    const double value = detail::run(*r.program, m);
    if (m.error != 0) {
        fail(m.error, m.message);
        return 0.0;
    }
    if (std::isnan(value)) {
        fail(ErrorCode::other, detail::textNotANumber);
        return 0.0;
    }
    clearError();
    return value;
}

void MathEngine::evaluateSweep(const Expression& expr, int handle, std::span<const double> xs,
                               std::span<double> ys, std::span<std::uint8_t> errors) {
    const std::size_t n = std::min({xs.size(), ys.size(), errors.size()});
    if (n == 0) return;
    const double* xslot = handle >= 0 && handle < slotCount_ ? slots_[handle] : nullptr;
    const detail::Program* program = expr.program_.get();
    // One sample as the scalar machine takes it.
    const auto single = [&](std::size_t k) {
        setVariable(handle, xs[k]);
        clearError();
        ys[k] = evaluate(expr);
        errors[k] = std::uint8_t(errorCode_);
    };
    if (program != nullptr && !sweep_) sweep_ = std::make_unique<detail::SweepMachine>();
    // Calls written into the sweep's plan, made again once any function has been defined since.
    const detail::Program* plan = nullptr;
    if (program != nullptr && program->world != nullptr && expr.factorP_ == nullptr) {
        if (program->sweepPlanDefinitions != program->world->definitions) {
            program->sweepPlan = detail::inlinedPlan(*program, machine_->capacity);
            program->sweepPlanDefinitions = program->world->definitions;
        }
        plan = program->sweepPlan.get();
    }
    for (std::size_t start = 0; start < n; start += detail::sweepLanes) {
        const int count = int(std::min<std::size_t>(detail::sweepLanes, n - start));
        double* y = ys.data() + start;
        std::uint8_t* e = errors.data() + start;
        const double* x = xs.data() + start;
        if (program == nullptr) {
            for (int l = 0; l < count; ++l)
                single(start + std::size_t(l));
        } else if (expr.factorP_ != nullptr) {
            // A product evaluate() computes inline: only a sample that is not a number goes
            // through the machine, as it does there.
            std::fill(e, e + count, std::uint8_t(0));
            if (detail::sweepProduct(expr.factorP_, expr.factorQ_, expr.factorC_, xslot, x, count,
                                     y))
                for (int l = 0; l < count; ++l)
                    if (std::isnan(y[l])) single(start + std::size_t(l));
        } else if (!detail::runSweepBlock(*program, plan, *machine_, *sweep_, xslot, x, count, y,
                                          e)) {
            for (int l = 0; l < count; ++l)
                single(start + std::size_t(l));
        }
    }
    setVariable(handle, xs[n - 1]);
    clearError();
}

void MathEngine::clearError() {
    errorCode_ = 0;
    errorData_.clear();
}

void MathEngine::setTrigMode(int mode) {
    if (mode < 1 || mode > 3) return;
    trigMode_ = mode;
    machine_->setTrigMode(mode);
}

int MathEngine::trigMode() const {
    return trigMode_;
}

void MathEngine::setExactSweep(bool exact) {
    machine_->exactSweep = exact;
}

bool MathEngine::exactSweep() const {
    return machine_->exactSweep;
}

std::int64_t MathEngine::work() const {
    return machine_->workLimit - machine_->workLeft;
}

void MathEngine::setWorkLimit(std::int64_t limit) {
    detail::Machine& m = *machine_;
    const std::int64_t done = m.workLimit - m.workLeft;
    m.workLimit = std::max(limit, std::int64_t(0));
    m.workLeft = m.workLimit - done;
}

std::int64_t MathEngine::workLimit() const {
    return machine_->workLimit;
}

void MathEngine::fail(int code, std::string_view data) {
    errorCode_ = code;
    errorData_.assign(data);
}

} // namespace platform
