#pragma once
// The program's own vocabulary for the math engine (constants, predefined functions, German
// aliases), the angle unit, and the German wording of the engine's error codes.

#include <QString>

#include <functional>
#include <initializer_list>

namespace core {
struct State;
}
namespace platform {
class MathEngine;
}

namespace engine {

// pi, e, log(m, n), exp(m, n), wurzel(m), integral(m) and the nine aliases (nicht, wenn, arcsin,
// ...). Needed again after every engine reset.
void initengine(platform::MathEngine& engine);

// True when the engine calls name as a function once initengine has run: one of its own, a
// predefined one (wurzel, integral, ...) or an alias of one (betrag, wenn, arcsin, ...). Without
// regard to case, as the engine matches names.
bool ispredefinedfunction(const QString& name);

// The German message for an engine error code; -1 asks the engine for its current code. Codes
// outside 1 ... 32 have no message (empty text).
QString errtext(platform::MathEngine& engine, int code);

// Angle unit 1 radians, 2 degrees, 3 grads: tells the engine and keeps it in state.trigMode.
// Other values are refused (false) and leave both as they were. Menu marks and the redraw are
// the caller's business.
bool setanglemode(core::State& state, int mode);

// The outcome of one engine call as every term check reads it.
struct EngineError {
    int code = 0; // the engine's code, 0 when the call went through
    QString data; // the name the error concerns (undefined variable or function)
    QString text; // errtext of the code; empty when there is none or the code is tolerated
    bool failed() const { return code != 0; }
};

// Reads the error of the engine call just made (its text unless the code is tolerated), then
// evaluates the empty text so that no error is left pending for the next check.
EngineError takeerror(platform::MathEngine& engine, std::initializer_list<int> tolerated = {});

// Makes the call and reads its error as takeerror does.
EngineError checkedcall(platform::MathEngine& engine, const std::function<void()>& call,
                        std::initializer_list<int> tolerated = {});

} // namespace engine
