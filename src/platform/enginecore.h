#pragma once
// Inner parts of the math engine shared by the compiler and the interpreter: the bytecode, the
// definitions (variables, functions, aliases) and the machine that runs the bytecode.
//
// The bytecode drives an accumulator machine: the top of the value stack lives in a register
// ("acc"), the rest in a preallocated array. An instruction that pushes a value first spills acc;
// one that consumes two values combines the popped one with acc. Most instructions carry their
// operand (a constant, a variable's address or an argument index), so that the common shapes of
// a term need one dispatch each instead of two or three.

#include "platform/errorcodes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::detail {

// Calls nested deeper than this are taken for a function that calls itself.
inline constexpr int maxCallDepth = 200;
// More calls than this in one evaluation (a tree of calls growing exponentially) stop it.
inline constexpr long maxCallsPerEvaluation = 100000;
// Recursion depth of the parser; keeps any text, however deeply nested, from exhausting the stack.
inline constexpr int maxParseDepth = 600;

inline constexpr const char* textNotANumber = "Ergebnis ist keine Zahl";
inline constexpr const char* textTooManyCalls = "Zu viele Funktionsaufrufe";
inline constexpr const char* textTooDeepTerm = "Zu tief verschachtelter Term";

enum class Op : std::uint8_t {
    // Pushes: spill acc, then acc = the value.
    LoadC,     // c
    LoadV,     // *p
    LoadA,     // argument n
    LoadVSqr,  // *p squared
    LoadASqr,  // argument n squared
    LoadVMulV, // *p * *q
    LoadVMulC, // *p * c
    LoadAMulC, // argument n * c
    LoadAMulV, // argument n * *p
    LoadVAddC, // *p + c
    LoadAAddC, // argument n + c

    // acc = popped OP acc
    Add,
    Sub,
    Mul,
    Div,
    Pow,
    Mod,
    IntDiv,
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge,
    And,
    Or,
    Xor,
    Eqv,
    Imp,
    Min2,
    Max2,
    Atan2,

    // acc = acc OP operand (c, *p or argument n); R... reverses the operands
    AddC,
    SubC,
    MulC,
    DivC,
    RSubC,
    RDivC,
    PowC,
    EqC,
    NeC,
    LtC,
    GtC,
    LeC,
    GeC,
    AddV,
    SubV,
    MulV,
    DivV,
    RSubV,
    RDivV,
    AddA,
    SubA,
    MulA,
    DivA,
    RSubA,
    RDivA,

    // Fused shapes
    MulAddC,  // acc = acc * c + d
    AddVMulV, // acc += *p * *q
    AddVMulC, // acc += *p * c
    SubVMulV, // acc -= *p * *q
    SubVMulC, // acc -= *p * c
    AddMulV,  // acc = popped + acc * *p
    SubMulV,  // acc = popped - acc * *p
    AddMulC,  // acc = popped + acc * c
    SubMulC,  // acc = popped - acc * c
    Sqr,      // acc *= acc
    Cube,     // acc = acc * acc * acc
    PowI,     // acc = acc ^ n, n a small whole number

    // Functions of acc
    Neg,
    Not,
    Fact,
    Sin,
    Cos,
    Tan,
    Sec,
    Csc,
    Cot,
    Asin,
    Acos,
    Atan,
    Acot,
    Sinh,
    Cosh,
    Tanh,
    Coth,
    Sech,
    Csch,
    Asinh,
    Acosh,
    Atanh,
    Acoth,
    Asech,
    Acsch,
    Sqrt,
    Abs,
    Sgn,
    Int,
    Fix,
    Frac,
    Round,
    Ceil,
    Floor,
    Ln,
    Log2,
    Log10,
    Exp,
    Exp2,

    MinN, // n values, the last in acc
    MaxN,

    // Control
    Jz, // pops the condition; when it is 0 jumps by n
    // pops acc; unless acc OP c holds, jumps by n
    JzEqC,
    JzNeC,
    JzLtC,
    JzGtC,
    JzLeC,
    JzGeC,
    Jmp,  // jumps by n
    Call, // calls fn with n arguments (the last in acc)
    Ret,

    // Only in the sweep's plans, where the bodies of functions are written into the caller
    Work, // counts the work c of a call written in, for every live lane
    Drop, // moves the top n values down, over what lies below it
};

struct Function;

struct Instr {
    Op op = Op::Ret;
    std::int32_t n = 0;
    union {
        double c;
        const double* p;
        const Function* fn;
    } a{0.0};
    union {
        double c;
        const double* p;
    } b{0.0};
};

struct World;

struct Program {
    std::vector<Instr> code;
    int maxStack = 0; // values on the stack at most, including the spilled initial acc
    // The work a run counts (see MathEngine::work): the weights of all instructions, whichever
    // branches a run takes. An upper bound that costs one addition per run instead of a count
    // per instruction.
    std::int64_t work = 0;
    // A term of one product (x, x^2, a*x, 3*x, a constant) is evaluated without the machine as
    // *factorP * *factorQ * factorC, the missing factors pointing to `one`.
    bool monomial = false;
    const double* factorP = nullptr;
    const double* factorQ = nullptr;
    double factorC = 1;
    double one = 1;
    // Set for top-level expressions only: keeps the variables and functions they refer to alive
    // (a function body does not own its world, so that there are no ownership cycles).
    std::shared_ptr<World> world;
    // The sweep's plan of a top-level program (see inlinedPlan): made on first use and made
    // again once any function has been defined since (World::definitions). Null when the
    // program is swept as it stands.
    mutable std::unique_ptr<const Program> sweepPlan;
    mutable std::uint64_t sweepPlanDefinitions = UINT64_MAX;
};

struct Function {
    std::string name; // as defined
    int arity = 0;
    // Replaced by a later definition with the same name and arity; calls read it when they
    // run, so expressions parsed earlier see the new body. Empty: calling it is code 9.
    std::unique_ptr<const Program> body;
};

struct World {
    World();
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    static constexpr int chunkSize = 256;

    int maxVariables = 1 << 20;
    int maxFunctions = 1 << 20;

    // Variables live in chunks that never move, so that expressions can keep their addresses.
    std::vector<std::unique_ptr<double[]>> chunks;
    std::vector<double*> slots; // by handle
    std::vector<std::string> variableNames;
    std::unordered_map<std::string, int> variables; // lower-case name -> handle

    std::vector<std::unique_ptr<Function>> functions;
    std::unordered_map<std::string, std::vector<Function*>> functionsByName; // lower-case

    std::unordered_map<std::string, std::string> aliases; // lower-case word -> lower-case word
    // Counts the definitions of functions, so that what was built from their bodies is known to
    // be out of date.
    std::uint64_t definitions = 0;

    int variableCount() const { return int(variableNames.size()); }
    double* slot(int handle) const { return slots[std::size_t(handle)]; }
    int findVariable(const std::string& key) const;
    int addVariable(const std::string& name, const std::string& key); // -1 when full
    Function* findFunction(const std::string& key, int arity) const;
    bool hasFunction(const std::string& key) const;
    Function* addFunction(std::unique_ptr<Function> f, const std::string& key);
    // Follows aliases (a bounded number of steps, so a cycle of aliases cannot hang).
    const std::string& resolveAlias(const std::string& key) const;
};

struct Frame {
    const Instr* ret;
    double* fp;
};

// The state of one evaluation: preallocated so that evaluating allocates nothing.
struct Machine {
    Machine();
    std::vector<double> stack;
    double* base = nullptr;   // stack.data()
    std::size_t capacity = 0; // stack.size()
    std::array<Frame, maxCallDepth> frames{};
    int trigMode = 1;
    double fullTurn = 0; // 360 or 400 when trigMode is 2 or 3
    int error = 0;
    const char* message = ""; // error data of the last error
    // The limit of the work of all runs (see MathEngine::setWorkLimit), and what is left of it:
    // one counter for a run to keep in a register, negative once the limit is passed. The work
    // so far is their difference.
    std::int64_t workLimit = INT64_MAX;
    std::int64_t workLeft = INT64_MAX;
    // The sweep computes the library's functions as the scalar machine does, to the bit, instead
    // of several lanes at once to within an ulp or two (MathEngine::setExactSweep).
    bool exactSweep = false;

    void ensureStack(int values);
    void setTrigMode(int mode);
};

// Runs a program; returns its value, or 0 with machine.error set.
double run(const Program& program, Machine& machine);

// Checks whether the name is an operator word (after alias resolution).
bool isOperatorWord(const std::string& key);

} // namespace platform::detail
