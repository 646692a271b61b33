#pragma once
// Lines as the user types them into the term window: the field texts, and the count of lines in
// use; the other fields are emptied.

#include "core/state.h"

#include <QStringList>

#include <algorithm>
#include <initializer_list>

namespace testsupport {

inline void typeLines(core::State& state, const QStringList& lines) {
    const int n = int(std::min<qsizetype>(lines.size(), core::lineCount));
    for (int i = 0; i < core::lineCount; ++i)
        state.termEditor.texts[std::size_t(i)] = i < n ? lines[i] : QString();
    state.linesInUse = n;
    state.lastLine = n - 1;
}

// Any range of UTF-8 texts.
template <typename Range> void typeLines(core::State& state, const Range& lines) {
    QStringList texts;
    for (const char* line : lines)
        texts << QString::fromUtf8(line);
    typeLines(state, texts);
}

inline void typeLines(core::State& state, std::initializer_list<const char*> lines) {
    typeLines<std::initializer_list<const char*>>(state, lines);
}

} // namespace testsupport
