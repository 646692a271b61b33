#include "platform/mathengine.h"

namespace platform {
namespace detail {
struct World {};
struct Program {};
} // namespace detail

MathEngine::MathEngine() = default;
MathEngine::~MathEngine() = default;
void MathEngine::reset(std::string_view) {}
int MathEngine::defineVariable(std::string_view) { return -1; }
void MathEngine::setVariable(int, double) {}
double MathEngine::variable(int) const { return 0; }
bool MathEngine::defineFunction(std::string_view) { return false; }
void MathEngine::alias(std::string_view, std::string_view) {}
Expression MathEngine::parse(std::string_view) { return {}; }
double MathEngine::evaluate(const Expression&) { return 0; }
double MathEngine::eval(std::string_view) { return 0; }
void MathEngine::clearError() { errorCode_ = 0; }
void MathEngine::setTrigMode(int m) { trigMode_ = m; }
int MathEngine::trigMode() const { return trigMode_; }
void MathEngine::fail(int code, std::string data) { errorCode_ = code; errorData_ = std::move(data); }
} // namespace platform
