#pragma once
// The program's version, as both programs report it on "--version".

#include <QString>

namespace core {

// Three parts, e.g. "2.0.0".
QString programVersion();

// "Kurvatur 2 Version 2.0.0".
QString versionLine();

} // namespace core
