#include "core/version.h"

namespace core {

QString programVersion() {
    return QStringLiteral(KURVATUR_VERSION);
}

QString versionLine() {
    return QStringLiteral("Kurvatur 2 Version ") + programVersion();
}

} // namespace core
