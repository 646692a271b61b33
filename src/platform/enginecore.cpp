#include "platform/enginecore.h"

#include <algorithm>

namespace platform::detail {

World::World() = default;
World::~World() = default;

int World::findVariable(const std::string& key) const {
    auto it = variables.find(key);
    return it == variables.end() ? -1 : it->second;
}

int World::addVariable(const std::string& name, const std::string& key) {
    const int handle = variableCount();
    if (handle >= maxVariables) return -1;
    if (handle % chunkSize == 0) chunks.push_back(std::make_unique<double[]>(chunkSize));
    variableNames.push_back(name);
    variables.emplace(key, handle);
    slots.push_back(&chunks.back()[handle % chunkSize]);
    *slot(handle) = 0;
    return handle;
}

Function* World::findFunction(const std::string& key, int arity) const {
    auto it = functionsByName.find(key);
    if (it == functionsByName.end()) return nullptr;
    for (Function* f : it->second)
        if (f->arity == arity) return f;
    return nullptr;
}

bool World::hasFunction(const std::string& key) const {
    return functionsByName.find(key) != functionsByName.end();
}

Function* World::addFunction(std::unique_ptr<Function> f, const std::string& key) {
    if (int(functions.size()) >= maxFunctions) return nullptr;
    Function* added = f.get();
    functions.push_back(std::move(f));
    functionsByName[key].push_back(added);
    return added;
}

const std::string& World::resolveAlias(const std::string& key) const {
    const std::string* word = &key;
    for (int step = 0; step < 16; ++step) {
        auto it = aliases.find(*word);
        if (it == aliases.end()) break;
        word = &it->second;
    }
    return *word;
}

Machine::Machine() : stack(8192), base(stack.data()), capacity(stack.size()) {}

void Machine::ensureStack(int values) {
    const std::size_t wanted = std::size_t(values) + 1024;
    if (stack.size() < wanted) {
        stack.resize(std::max(wanted, 2 * stack.size()));
        base = stack.data();
        capacity = stack.size();
    }
}

void Machine::setTrigMode(int mode) {
    trigMode = mode;
    fullTurn = mode == 2 ? 360.0 : mode == 3 ? 400.0 : 0.0;
}

bool isOperatorWord(const std::string& key) {
    static constexpr const char* words[] = {"and", "or", "xor", "eqv", "imp", "not", "mod", "div"};
    return std::any_of(std::begin(words), std::end(words), [&](const char* w) { return key == w; });
}

} // namespace platform::detail
