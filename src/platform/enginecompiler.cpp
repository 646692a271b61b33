#include "platform/enginecompiler.h"

#include <charconv>
#include <cmath>
#include <new>
#include <system_error>

namespace platform::detail {

namespace {

struct CompileError {
    int code;
    std::string data;
};

enum class Tok {
    End,
    Number,
    Name,
    LParen,
    RParen,
    Comma,
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Bang,
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
    Not,
    Mod,
    Div,
};

struct Token {
    Tok kind = Tok::End;
    double value = 0;
    std::string_view text; // as written
    std::string raw;       // lower-case
    std::string key;       // lower-case, aliases resolved
};

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// What an operand's code is: a leaf is exactly one load instruction at `start`.
enum class Kind { Const, Var, Arg, Other };

struct Operand {
    std::size_t start = 0;
    Kind kind = Kind::Other;
    double c = 0;
    const double* p = nullptr;
    int arg = 0;
    bool leaf() const { return kind != Kind::Other; }
};

struct Builtin {
    const char* name;
    int arity; // -1: one or more
    Op op;
};

// Angle-dependent and lazy functions are not folded; see foldable().
constexpr Builtin builtins[] = {
    {"sin", 1, Op::Sin},     {"cos", 1, Op::Cos},     {"tan", 1, Op::Tan},
    {"sec", 1, Op::Sec},     {"csc", 1, Op::Csc},     {"cot", 1, Op::Cot},
    {"asin", 1, Op::Asin},   {"acos", 1, Op::Acos},   {"atan", 1, Op::Atan},
    {"acot", 1, Op::Acot},   {"sinh", 1, Op::Sinh},   {"cosh", 1, Op::Cosh},
    {"tanh", 1, Op::Tanh},   {"coth", 1, Op::Coth},   {"sech", 1, Op::Sech},
    {"csch", 1, Op::Csch},   {"asinh", 1, Op::Asinh}, {"acosh", 1, Op::Acosh},
    {"atanh", 1, Op::Atanh}, {"acoth", 1, Op::Acoth}, {"asech", 1, Op::Asech},
    {"acsch", 1, Op::Acsch}, {"sqrt", 1, Op::Sqrt},   {"abs", 1, Op::Abs},
    {"sgn", 1, Op::Sgn},     {"int", 1, Op::Int},     {"fix", 1, Op::Fix},
    {"frac", 1, Op::Frac},   {"round", 1, Op::Round}, {"ceil", 1, Op::Ceil},
    {"floor", 1, Op::Floor}, {"ln", 1, Op::Ln},       {"log", 1, Op::Ln},
    {"log2", 1, Op::Log2},   {"log10", 1, Op::Log10}, {"exp", 1, Op::Exp},
    {"exp2", 1, Op::Exp2},   {"atan2", 2, Op::Atan2}, {"min", -1, Op::MinN},
    {"max", -1, Op::MaxN},   {"iif", 3, Op::Jz},
};

const Builtin* findBuiltin(const std::string& key) {
    for (const Builtin& b : builtins)
        if (key == b.name) return &b;
    return nullptr;
}

bool foldable(Op op) {
    switch (op) {
    case Op::Sin:
    case Op::Cos:
    case Op::Tan:
    case Op::Sec:
    case Op::Csc:
    case Op::Cot:
    case Op::Asin:
    case Op::Acos:
    case Op::Atan:
    case Op::Acot:
    case Op::Atan2:
    case Op::Call:
    case Op::Jmp:
    case Op::Ret:
        return false;
    default:
        return op < Op::Jz || op > Op::JzGeC;
    }
}

bool isPush(Op op) {
    return op >= Op::LoadC && op <= Op::LoadAAddC;
}
bool isConditionalJump(Op op) {
    return op >= Op::Jz && op <= Op::JzGeC;
}
bool isStackBinary(Op op) {
    return (op >= Op::Add && op <= Op::Atan2) || (op >= Op::AddMulV && op <= Op::SubMulC);
}

int stackEffect(const Instr& in) {
    if (isPush(in.op)) return 1;
    if (isStackBinary(in.op)) return -1;
    switch (in.op) {
    case Op::MinN:
    case Op::MaxN:
        return -(in.n - 1);
    case Op::Jmp: // the branch after it starts one value lower
        return -1;
    case Op::Call:
        return 1 - in.n;
    default:
        return isConditionalJump(in.op) ? -1 : 0;
    }
}

// The work an instruction counts (MathEngine::work), roughly in nanoseconds of an ordinary
// machine, so that the work of a term tracks its time whatever functions it uses: a sine takes
// ten times an addition, a power or a hyperbolic function more still.
int workWeight(Op op) {
    switch (op) {
    case Op::Sin:
    case Op::Cos:
    case Op::Sec:
    case Op::Csc:
    case Op::Exp:
    case Op::Exp2:
    case Op::Ln:
    case Op::Log2:
    case Op::Log10:
        return 10;
    case Op::Tan:
    case Op::Cot:
        return 15;
    case Op::Asin:
    case Op::Acos:
    case Op::Atan:
    case Op::Acot:
    case Op::Atan2:
        return 20;
    case Op::Pow:
    case Op::PowC:
        return 25;
    case Op::Mod:
        return 8;
    case Op::IntDiv:
    case Op::Call: // the body counts on its own when it runs
        return 4;
    case Op::Fact:
    case Op::Sqrt:
    case Op::Int:
    case Op::Fix:
    case Op::Frac:
    case Op::Round:
    case Op::Ceil:
    case Op::Floor:
    case Op::PowI:
        return 2;
    default:
        return op >= Op::Sinh && op <= Op::Acsch ? 25 : 1;
    }
}

// The operation with its operands exchanged, or Ret when there is none.
Op swapped(Op op) {
    switch (op) {
    case Op::Add:
    case Op::Mul:
    case Op::Eq:
    case Op::Ne:
    case Op::And:
    case Op::Or:
    case Op::Xor:
    case Op::Eqv:
    case Op::Min2:
    case Op::Max2:
        return op;
    case Op::Lt:
        return Op::Gt;
    case Op::Gt:
        return Op::Lt;
    case Op::Le:
        return Op::Ge;
    case Op::Ge:
        return Op::Le;
    default:
        return Op::Ret;
    }
}

bool binaryOperator(Tok t, int& level, Op& op) {
    switch (t) {
    case Tok::Imp:
        level = 1, op = Op::Imp;
        return true;
    case Tok::Eqv:
        level = 2, op = Op::Eqv;
        return true;
    case Tok::Xor:
        level = 3, op = Op::Xor;
        return true;
    case Tok::Or:
        level = 4, op = Op::Or;
        return true;
    case Tok::And:
        level = 5, op = Op::And;
        return true;
    case Tok::Eq:
        level = 7, op = Op::Eq;
        return true;
    case Tok::Ne:
        level = 7, op = Op::Ne;
        return true;
    case Tok::Lt:
        level = 7, op = Op::Lt;
        return true;
    case Tok::Gt:
        level = 7, op = Op::Gt;
        return true;
    case Tok::Le:
        level = 7, op = Op::Le;
        return true;
    case Tok::Ge:
        level = 7, op = Op::Ge;
        return true;
    case Tok::Plus:
        level = 8, op = Op::Add;
        return true;
    case Tok::Minus:
        level = 8, op = Op::Sub;
        return true;
    case Tok::Mod:
        level = 9, op = Op::Mod;
        return true;
    case Tok::Backslash:
    case Tok::Div:
        level = 10, op = Op::IntDiv;
        return true;
    case Tok::Star:
        level = 11, op = Op::Mul;
        return true;
    case Tok::Slash:
        level = 11, op = Op::Div;
        return true;
    default:
        return false;
    }
}

constexpr int productLevel = 11;
constexpr int comparisonLevel = 7;

Instr make(Op op, std::int32_t n = 0) {
    Instr in;
    in.op = op;
    in.n = n;
    return in;
}
Instr makeC(Op op, double c) {
    Instr in = make(op);
    in.a.c = c;
    return in;
}
Instr makeP(Op op, const double* p) {
    Instr in = make(op);
    in.a.p = p;
    return in;
}

class Parser {
public:
    Parser(World& world, Machine& machine, std::string_view text,
           const std::vector<std::string>& params, Function* self, const std::string& selfKey)
        : world_(world), machine_(machine), text_(text), params_(params), self_(self),
          selfKey_(selfKey) {}

    std::unique_ptr<Program> compile() {
        prescan();
        next();
        expression(1);
        if (tok_.kind != Tok::End)
            throw CompileError{tok_.kind == Tok::RParen ? ErrorCode::brackets : ErrorCode::syntax,
                               {}};
        code_.push_back(make(Op::Ret));
        auto program = std::make_unique<Program>();
        int depth = 1, most = 1;
        for (const Instr& in : code_) {
            depth += stackEffect(in);
            if (depth > most) most = depth;
        }
        program->maxStack = most + 2;
        for (const Instr& in : code_)
            program->work += workWeight(in.op);
        if (code_.size() == 2) monomial(*program, code_[0]);
        program->code = std::move(code_);
        return program;
    }

private:
    static void monomial(Program& program, const Instr& in) {
        const double* p = &program.one;
        const double* q = &program.one;
        double c = 1;
        switch (in.op) {
        case Op::LoadC:
            c = in.a.c;
            break;
        case Op::LoadV:
            p = in.a.p;
            break;
        case Op::LoadVSqr:
            p = q = in.a.p;
            break;
        case Op::LoadVMulV:
            p = in.a.p;
            q = in.b.p;
            break;
        case Op::LoadVMulC:
            p = in.a.p;
            c = in.b.c;
            break;
        default:
            return;
        }
        program.monomial = true;
        program.factorP = p;
        program.factorQ = q;
        program.factorC = c;
    }

    struct Enter {
        explicit Enter(Parser& p) : parser(p) {
            if (++parser.depth_ > maxParseDepth)
                throw CompileError{ErrorCode::other, textTooDeepTerm};
        }
        ~Enter() { --parser.depth_; }
        Enter(const Enter&) = delete;
        Enter& operator=(const Enter&) = delete;
        Parser& parser;
    };

    // A quote anywhere, then brackets that do not pair, are reported before anything else.
    void prescan() const {
        if (text_.find('"') != std::string_view::npos)
            throw CompileError{ErrorCode::doubleQuote, {}};
        long open = 0;
        for (char c : text_) {
            if (c == '(') ++open;
            if (c == ')' && --open < 0) throw CompileError{ErrorCode::brackets, {}};
        }
        if (open != 0) throw CompileError{ErrorCode::brackets, {}};
    }

    // ---- tokens

    void next() {
        prev_ = tok_.kind;
        const std::size_t n = text_.size();
        while (pos_ < n && isBlank(text_[pos_]))
            ++pos_;
        tok_.raw.clear();
        tok_.key.clear();
        if (pos_ >= n) {
            tok_.kind = Tok::End;
            tok_.text = {};
            return;
        }
        const std::size_t start = pos_;
        const char c = text_[pos_];
        if (isDigit(c) || (c == '.' && pos_ + 1 < n && isDigit(text_[pos_ + 1]))) {
            number();
            return;
        }
        if (isLetter(c)) {
            name();
            return;
        }
        ++pos_;
        switch (c) {
        case '(':
            tok_.kind = Tok::LParen;
            break;
        case ')':
            tok_.kind = Tok::RParen;
            break;
        case ',':
        case ';':
            tok_.kind = Tok::Comma;
            break;
        case '+':
            tok_.kind = Tok::Plus;
            break;
        case '-':
            tok_.kind = Tok::Minus;
            break;
        case '*':
            tok_.kind = Tok::Star;
            break;
        case '/':
            tok_.kind = Tok::Slash;
            break;
        case '\\':
            tok_.kind = Tok::Backslash;
            break;
        case '^':
            tok_.kind = Tok::Caret;
            break;
        case '!':
            tok_.kind = Tok::Bang;
            break;
        case '=':
            tok_.kind = Tok::Eq;
            break;
        case '<':
            tok_.kind = Tok::Lt;
            if (pos_ < n && text_[pos_] == '>') {
                tok_.kind = Tok::Ne;
                ++pos_;
            } else if (pos_ < n && text_[pos_] == '=') {
                tok_.kind = Tok::Le;
                ++pos_;
            }
            break;
        case '>':
            tok_.kind = Tok::Gt;
            if (pos_ < n && text_[pos_] == '=') {
                tok_.kind = Tok::Ge;
                ++pos_;
            }
            break;
        default:
            throw CompileError{ErrorCode::syntax, {}};
        }
        tok_.text = text_.substr(start, pos_ - start);
    }

    void number() {
        const std::size_t n = text_.size();
        const std::size_t start = pos_;
        while (pos_ < n && isDigit(text_[pos_]))
            ++pos_;
        if (pos_ < n && text_[pos_] == '.') {
            ++pos_;
            while (pos_ < n && isDigit(text_[pos_]))
                ++pos_;
        }
        // "2e3" has an exponent; "2e" and "2ex" are 2 times the name that follows.
        bool negativeExponent = false;
        if (pos_ < n && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            std::size_t q = pos_ + 1;
            if (q < n && (text_[q] == '+' || text_[q] == '-')) ++q;
            if (q < n && isDigit(text_[q])) {
                negativeExponent = text_[pos_ + 1] == '-';
                pos_ = q;
                while (pos_ < n && isDigit(text_[pos_]))
                    ++pos_;
            }
        }
        if (pos_ < n && text_[pos_] == '.') throw CompileError{ErrorCode::syntax, {}};
        double value = 0;
        const char* first = text_.data() + start;
        const char* last = text_.data() + pos_;
        auto [ptr, ec] = std::from_chars(first, last, value);
        if (ec == std::errc::result_out_of_range)
            value = negativeExponent ? 0.0 : HUGE_VAL;
        else if (ec != std::errc() || ptr != last)
            throw CompileError{ErrorCode::syntax, {}};
        tok_.kind = Tok::Number;
        tok_.value = value;
        tok_.text = text_.substr(start, pos_ - start);
    }

    void name() {
        const std::size_t n = text_.size();
        const std::size_t start = pos_;
        while (pos_ < n && (isLetter(text_[pos_]) || isDigit(text_[pos_])))
            ++pos_;
        tok_.text = text_.substr(start, pos_ - start);
        tok_.raw = lowerCase(tok_.text);
        tok_.key = world_.resolveAlias(tok_.raw);
        static constexpr struct {
            const char* word;
            Tok kind;
        } words[] = {{"and", Tok::And}, {"or", Tok::Or},   {"xor", Tok::Xor}, {"eqv", Tok::Eqv},
                     {"imp", Tok::Imp}, {"not", Tok::Not}, {"mod", Tok::Mod}, {"div", Tok::Div}};
        tok_.kind = Tok::Name;
        for (const auto& w : words)
            if (tok_.key == w.word) tok_.kind = w.kind;
    }

    void expect(Tok kind) {
        if (tok_.kind != kind)
            throw CompileError{tok_.kind == Tok::End ? ErrorCode::brackets : ErrorCode::syntax, {}};
        next();
    }

    // A number or ")" followed by a name, a number or "(" multiplies: 2x, 2(x+1), (x+1)(x-1).
    bool implicitProduct() const {
        return (prev_ == Tok::Number || prev_ == Tok::RParen) &&
               (tok_.kind == Tok::Number || tok_.kind == Tok::Name || tok_.kind == Tok::LParen);
    }

    // ---- grammar

    // Binary operators of `minLevel` and looser-binding ones are left to the caller.
    Operand expression(int minLevel) {
        Enter enter(*this);
        Operand lhs = unary();
        for (;;) {
            int level = 0;
            Op op = Op::Ret;
            if (binaryOperator(tok_.kind, level, op)) {
                if (level < minLevel) break;
                next();
            } else if (implicitProduct() && productLevel >= minLevel) {
                level = productLevel;
                op = Op::Mul;
            } else {
                break;
            }
            Operand rhs = expression(level + 1);
            lhs = combine(op, lhs, rhs);
        }
        return lhs;
    }

    Operand unary() {
        Enter enter(*this);
        if (tok_.kind == Tok::Minus || tok_.kind == Tok::Plus) {
            const bool negative = tok_.kind == Tok::Minus;
            next();
            Operand o = unary();
            return negative ? negate(o) : o;
        }
        if (tok_.kind == Tok::Not) {
            next();
            Operand o = expression(comparisonLevel);
            return apply(Op::Not, o.start);
        }
        Operand base = postfix();
        if (tok_.kind == Tok::Caret) {
            next();
            Operand exponent = unary(); // right-associative, may carry a sign: 2^-1
            return combine(Op::Pow, base, exponent);
        }
        return base;
    }

    Operand postfix() {
        Operand o = primary();
        while (tok_.kind == Tok::Bang) {
            next();
            o = apply(Op::Fact, o.start);
        }
        return o;
    }

    Operand primary() {
        switch (tok_.kind) {
        case Tok::Number: {
            const double v = tok_.value;
            next();
            return constant(v);
        }
        case Tok::LParen: {
            next();
            Operand o = expression(1);
            expect(Tok::RParen);
            return o;
        }
        case Tok::Name: {
            Token name = tok_;
            next();
            if (tok_.kind == Tok::LParen) return call(name);
            return variable(name);
        }
        default:
            throw CompileError{ErrorCode::syntax, {}};
        }
    }

    Operand variable(const Token& name) {
        for (std::size_t i = 0; i < params_.size(); ++i) {
            if (params_[i] == name.raw || params_[i] == name.key) {
                Operand o;
                o.start = code_.size();
                o.kind = Kind::Arg;
                o.arg = int(i);
                code_.push_back(make(Op::LoadA, int(i)));
                return o;
            }
        }
        const int handle = world_.findVariable(name.key);
        if (handle < 0) throw CompileError{ErrorCode::undefinedVariable, std::string(name.text)};
        Operand o;
        o.start = code_.size();
        o.kind = Kind::Var;
        o.p = world_.slot(handle);
        code_.push_back(makeP(Op::LoadV, o.p));
        return o;
    }

    Function* findFunction(const std::string& key, int arity) const {
        if (Function* f = world_.findFunction(key, arity)) return f;
        if (self_ && key == selfKey_ && arity == self_->arity) return self_;
        return nullptr;
    }

    Operand call(const Token& name) {
        const std::string& key = name.key;
        const Builtin* builtin = findBuiltin(key);
        if (!builtin && !world_.hasFunction(key) && !(self_ && key == selfKey_))
            throw CompileError{ErrorCode::undefinedFunction, std::string(name.text)};
        next(); // "("
        const bool lazy = builtin && builtin->op == Op::Jz && !findFunction(key, 3);
        const std::size_t start = code_.size();
        std::vector<Operand> args;
        std::size_t jz = 0, jmp = 0;
        if (tok_.kind != Tok::RParen) {
            for (;;) {
                if (lazy && args.size() == 3)
                    throw CompileError{ErrorCode::argumentCount, std::string(name.text)};
                if (lazy && args.size() == 1 && args[0].kind != Kind::Const) {
                    Instr* last = mergeable(args[0].start);
                    if (last && last->op >= Op::EqC && last->op <= Op::GeC) {
                        // compare and branch in one: iif(x>0, ...)
                        last->op = Op(int(Op::JzEqC) + int(last->op) - int(Op::EqC));
                        jz = code_.size() - 1;
                    } else {
                        jz = code_.size();
                        code_.push_back(make(Op::Jz));
                    }
                }
                if (lazy && args.size() == 2 && args[0].kind != Kind::Const) {
                    jmp = code_.size();
                    code_.push_back(make(Op::Jmp));
                    code_[jz].n = std::int32_t(code_.size() - jz);
                }
                args.push_back(expression(1));
                if (tok_.kind != Tok::Comma) break;
                next();
            }
        }
        expect(Tok::RParen);
        const int argc = int(args.size());
        if (lazy) {
            if (argc != 3) throw CompileError{ErrorCode::argumentCount, std::string(name.text)};
            return conditional(args, jmp);
        }
        if (Function* f = findFunction(key, argc)) {
            Instr in = make(Op::Call, argc);
            in.a.fn = f;
            code_.push_back(in);
            return other(start);
        }
        if (!builtin || (builtin->arity >= 0 && builtin->arity != argc) || argc == 0)
            throw CompileError{ErrorCode::argumentCount, std::string(name.text)};
        switch (builtin->op) {
        case Op::MinN:
        case Op::MaxN:
            if (argc == 1) return args[0];
            if (argc == 2)
                return combine(builtin->op == Op::MinN ? Op::Min2 : Op::Max2, args[0], args[1]);
            code_.push_back(make(builtin->op, argc));
            return fold(start);
        case Op::Atan2:
            code_.push_back(make(Op::Atan2));
            return other(start);
        default:
            return apply(builtin->op, start);
        }
    }

    // iif: only the branch taken is evaluated. A constant condition keeps only that branch.
    Operand conditional(const std::vector<Operand>& args, std::size_t jmp) {
        const Operand& cond = args[0];
        Operand a = args[1], b = args[2];
        if (cond.kind == Kind::Const) {
            if (cond.c != 0) {
                erase(b.start, code_.size());
                erase(cond.start, cond.start + 1);
                a.start = cond.start;
                return a;
            }
            erase(cond.start, b.start);
            b.start = cond.start;
            return b;
        }
        code_[jmp].n = std::int32_t(code_.size() - jmp);
        barrier_ = code_.size(); // the jump lands here: nothing may merge across it
        return other(cond.start);
    }

    // ---- code

    Operand other(std::size_t start) const {
        Operand o;
        o.start = start;
        return o;
    }

    Operand constant(double v) {
        Operand o;
        o.start = code_.size();
        o.kind = Kind::Const;
        o.c = v;
        code_.push_back(makeC(Op::LoadC, v));
        return o;
    }

    void erase(std::size_t from, std::size_t to) {
        code_.erase(code_.begin() + std::ptrdiff_t(from), code_.begin() + std::ptrdiff_t(to));
        if (barrier_ >= to)
            barrier_ -= to - from;
        else if (barrier_ > from)
            barrier_ = from;
    }

    // The last instruction, when it belongs to the operand starting at `start` and may be merged.
    Instr* mergeable(std::size_t start) {
        if (code_.empty()) return nullptr;
        const std::size_t last = code_.size() - 1;
        if (last < start || last < barrier_) return nullptr;
        return &code_[last];
    }

    // The operand's code is complete (its last instruction just emitted); when it only combines
    // constants, it is computed now, by the machine itself, so that the value is exactly what an
    // evaluation would give. Operations that fail (1/0) stay, to fail when evaluated.
    Operand fold(std::size_t start) {
        const std::size_t end = code_.size();
        if (start >= end || start < barrier_ || !foldable(code_[end - 1].op)) return other(start);
        for (std::size_t i = start; i + 1 < end; ++i)
            if (code_[i].op != Op::LoadC) return other(start);
        Program scratch;
        scratch.code.assign(code_.begin() + std::ptrdiff_t(start), code_.end());
        scratch.code.push_back(make(Op::Ret));
        scratch.maxStack = int(scratch.code.size()) + 2;
        machine_.ensureStack(scratch.maxStack);
        const double value = run(scratch, machine_);
        if (machine_.error != 0 || std::isnan(value)) {
            machine_.error = 0;
            return other(start);
        }
        erase(start, end);
        return constant(value);
    }

    Operand apply(Op op, std::size_t start) {
        code_.push_back(make(op));
        return fold(start);
    }

    Operand negate(const Operand& o) {
        if (o.kind == Kind::Const) {
            erase(o.start, o.start + 1);
            return constant(-o.c);
        }
        if (o.kind == Kind::Var) { // -x is x*(-1) exactly
            Instr in = makeP(Op::LoadVMulC, o.p);
            in.b.c = -1;
            code_[o.start] = in;
            return other(o.start);
        }
        if (o.kind == Kind::Arg) {
            Instr in = makeC(Op::LoadAMulC, -1);
            in.n = o.arg;
            code_[o.start] = in;
            return other(o.start);
        }
        if (Instr* in = mergeable(o.start)) {
            switch (in->op) {
            case Op::MulC:
            case Op::DivC:
            case Op::LoadAMulC:
                in->a.c = -in->a.c; // -(x*c) is x*(-c) exactly
                return other(o.start);
            case Op::LoadVMulC:
                in->b.c = -in->b.c;
                return other(o.start);
            default:
                break;
            }
        }
        code_.push_back(make(Op::Neg));
        return other(o.start);
    }

    Operand combine(Op op, Operand lhs, Operand rhs) {
        const std::size_t start = lhs.start;
        if (lhs.kind == Kind::Const && rhs.kind == Kind::Const) {
            code_.push_back(make(op));
            return fold(start);
        }
        // A leaf on the left of a compound term (or a constant left of a variable): compute the
        // right side first and give the leaf to the instruction, exchanging the operands.
        if (lhs.leaf() && (!rhs.leaf() || (lhs.kind == Kind::Const && rhs.kind != Kind::Const))) {
            if (op == Op::Sub || op == Op::Div) {
                const Instr leaf = code_[lhs.start];
                erase(lhs.start, lhs.start + 1);
                Instr in = leaf;
                const bool sub = op == Op::Sub;
                in.op = lhs.kind == Kind::Const ? (sub ? Op::RSubC : Op::RDivC)
                        : lhs.kind == Kind::Var ? (sub ? Op::RSubV : Op::RDivV)
                                                : (sub ? Op::RSubA : Op::RDivA);
                code_.push_back(in);
                return other(start);
            }
            const Op exchanged = swapped(op);
            if (exchanged != Op::Ret) {
                const Instr leaf = code_[lhs.start];
                erase(lhs.start, lhs.start + 1);
                rhs.start = start;
                std::swap(lhs, rhs);
                rhs.start = code_.size();
                code_.push_back(leaf);
                op = exchanged;
            }
        }
        if (rhs.leaf() && rightLeaf(op, lhs, rhs)) return other(lhs.start);
        // acc + p*q without pushing the product
        if ((op == Op::Add || op == Op::Sub) && rhs.start + 1 == code_.size() &&
            rhs.start >= barrier_) {
            Instr& in = code_[rhs.start];
            if (in.op == Op::LoadVMulV || in.op == Op::LoadVMulC) {
                const bool product = in.op == Op::LoadVMulV;
                in.op = op == Op::Add ? (product ? Op::AddVMulV : Op::AddVMulC)
                                      : (product ? Op::SubVMulV : Op::SubVMulC);
                return other(lhs.start);
            }
        }
        // popped + acc*b without a dispatch of its own: a*x^2 + b*sin(x)
        if (op == Op::Add || op == Op::Sub) {
            if (Instr* in = mergeable(rhs.start);
                in && (in->op == Op::MulV || in->op == Op::MulC)) {
                const bool byVariable = in->op == Op::MulV;
                in->op = op == Op::Add ? (byVariable ? Op::AddMulV : Op::AddMulC)
                                       : (byVariable ? Op::SubMulV : Op::SubMulC);
                return other(lhs.start);
            }
        }
        code_.push_back(make(op));
        return other(lhs.start);
    }

    // The right operand is a leaf (the last instruction): give it to the operation.
    bool rightLeaf(Op op, const Operand& lhs, const Operand& rhs) {
        auto replaceRight = [&](Instr in) { code_[rhs.start] = in; };
        switch (rhs.kind) {
        case Kind::Const: {
            const double c = rhs.c;
            switch (op) {
            case Op::Pow:
                code_.pop_back();
                power(lhs, c);
                return true;
            case Op::Add:
            case Op::Sub: {
                const double d = op == Op::Add ? c : -c; // x-c is x+(-c) exactly
                code_.pop_back();
                if (lhs.kind == Kind::Var) {
                    Instr in = makeP(Op::LoadVAddC, lhs.p);
                    in.b.c = d;
                    code_[lhs.start] = in;
                    return true;
                }
                if (lhs.kind == Kind::Arg) {
                    Instr in = makeC(Op::LoadAAddC, d);
                    in.n = lhs.arg;
                    code_[lhs.start] = in;
                    return true;
                }
                if (Instr* in = mergeable(lhs.start); in && in->op == Op::MulC) {
                    in->op = Op::MulAddC;
                    in->b.c = d;
                    return true;
                }
                code_.push_back(makeC(op == Op::Add ? Op::AddC : Op::SubC, c));
                return true;
            }
            case Op::Mul:
            case Op::Div: {
                if (op == Op::Div && c == 0) return false; // fails when evaluated
                code_.pop_back();
                const bool mul = op == Op::Mul;
                if (Instr* in = mergeable(lhs.start); in && in->op == Op::Neg) {
                    *in = makeC(mul ? Op::MulC : Op::DivC, -c); // (-x)*c is x*(-c) exactly
                    return true;
                }
                if (mul && lhs.kind == Kind::Var) {
                    Instr in = makeP(Op::LoadVMulC, lhs.p);
                    in.b.c = c;
                    code_[lhs.start] = in;
                    return true;
                }
                if (mul && lhs.kind == Kind::Arg) {
                    Instr in = makeC(Op::LoadAMulC, c);
                    in.n = lhs.arg;
                    code_[lhs.start] = in;
                    return true;
                }
                code_.push_back(makeC(mul ? Op::MulC : Op::DivC, c));
                return true;
            }
            case Op::Eq:
            case Op::Ne:
            case Op::Lt:
            case Op::Gt:
            case Op::Le:
            case Op::Ge: {
                static constexpr Op withConstant[] = {Op::EqC, Op::NeC, Op::LtC,
                                                      Op::GtC, Op::LeC, Op::GeC};
                replaceRight(makeC(withConstant[int(op) - int(Op::Eq)], c));
                return true;
            }
            default:
                return false;
            }
        }
        case Kind::Var: {
            if (op == Op::Mul && lhs.kind == Kind::Var) {
                code_.pop_back();
                Instr in = makeP(Op::LoadVMulV, lhs.p);
                in.b.p = rhs.p;
                code_[lhs.start] = in;
                return true;
            }
            if (op == Op::Mul && lhs.kind == Kind::Arg) {
                code_.pop_back();
                Instr in = makeP(Op::LoadAMulV, rhs.p);
                in.n = lhs.arg;
                code_[lhs.start] = in;
                return true;
            }
            Op variant = Op::Ret;
            switch (op) {
            case Op::Add:
                variant = Op::AddV;
                break;
            case Op::Sub:
                variant = Op::SubV;
                break;
            case Op::Mul:
                variant = Op::MulV;
                break;
            case Op::Div:
                variant = Op::DivV;
                break;
            default:
                return false;
            }
            replaceRight(makeP(variant, rhs.p));
            return true;
        }
        case Kind::Arg: {
            if (op == Op::Mul && lhs.kind == Kind::Var) {
                code_.pop_back();
                Instr in = makeP(Op::LoadAMulV, lhs.p);
                in.n = rhs.arg;
                code_[lhs.start] = in;
                return true;
            }
            Op variant = Op::Ret;
            switch (op) {
            case Op::Add:
                variant = Op::AddA;
                break;
            case Op::Sub:
                variant = Op::SubA;
                break;
            case Op::Mul:
                variant = Op::MulA;
                break;
            case Op::Div:
                variant = Op::DivA;
                break;
            default:
                return false;
            }
            replaceRight(make(variant, rhs.arg));
            return true;
        }
        default:
            return false;
        }
    }

    // lhs ^ c, the constant already removed from the code.
    void power(const Operand& lhs, double c) {
        if (c == 2) {
            if (lhs.kind == Kind::Var) {
                code_[lhs.start] = makeP(Op::LoadVSqr, lhs.p);
                return;
            }
            if (lhs.kind == Kind::Arg) {
                code_[lhs.start] = make(Op::LoadASqr, lhs.arg);
                return;
            }
            code_.push_back(make(Op::Sqr));
            return;
        }
        if (c == 3) {
            code_.push_back(make(Op::Cube));
            return;
        }
        if (c == std::floor(c) && std::fabs(c) <= 16) {
            code_.push_back(make(Op::PowI, std::int32_t(c)));
            return;
        }
        code_.push_back(makeC(Op::PowC, c));
    }

    World& world_;
    Machine& machine_;
    std::string_view text_;
    const std::vector<std::string>& params_;
    Function* self_;
    const std::string& selfKey_;

    std::size_t pos_ = 0;
    Token tok_;
    Tok prev_ = Tok::End;
    int depth_ = 0;
    std::vector<Instr> code_;
    std::size_t barrier_ = 0; // no instruction before this index may merge with a later one
};

} // namespace

bool isName(std::string_view text) {
    if (text.empty() || !isLetter(text[0])) return false;
    for (char c : text)
        if (!isLetter(c) && !isDigit(c)) return false;
    return true;
}

bool isBuiltinFunction(const std::string& key) {
    return findBuiltin(key) != nullptr;
}

std::string lowerCase(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

CompileResult compile(World& world, Machine& machine, std::string_view text,
                      const std::vector<std::string>& params, Function* self,
                      const std::string& selfKey) {
    CompileResult result;
    try {
        Parser parser(world, machine, text, params, self, selfKey);
        result.program = parser.compile();
    } catch (const CompileError& e) {
        result.error = e.code;
        result.data = e.data;
    } catch (const std::bad_alloc&) {
        result.error = ErrorCode::capacity;
    }
    return result;
}

} // namespace platform::detail
