#pragma once
// The terms of the additional lines and points as the engine reads them.

#include <QString>

namespace core {
struct State;
}

namespace objects {

// A term of a line or a point coordinate in engine syntax: the whole word x (in either case) is
// the running variable, the rest is translated as a term line is, and ":" divides. Empty when
// the term is empty or cannot be translated.
QString engineTerm(const QString& term, const core::State& state);

} // namespace objects
