#include "mainwin/programsetup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace mainwin {

QIcon programIcon() {
    return QIcon(QStringLiteral(":/kurvatur/kurvatur.svg"));
}

QTranslator* installQtGerman(QCoreApplication& app) {
    // The program speaks German whatever the system's language, and so must Qt's dialogs.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace mainwin
