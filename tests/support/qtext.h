#pragma once
// Test texts are written as UTF-8 literals.

#include <QString>

inline QString q(const char* s) {
    return QString::fromUtf8(s);
}
