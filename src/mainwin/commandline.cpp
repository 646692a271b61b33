#include "mainwin/commandline.h"

#include "core/version.h"
#include "mainwin/render.h"

#include <QTextStream>

#include <algorithm>

namespace mainwin {

namespace {

// Qt's own options as QGuiApplication, QApplication and the X11 platform take them away from the
// arguments; Qt reads them with one dash or two.
const QStringList qtOptionsWithValue = {QStringLiteral("platform"),
                                        QStringLiteral("platformpluginpath"),
                                        QStringLiteral("platformtheme"),
                                        QStringLiteral("plugin"),
                                        QStringLiteral("qwindowgeometry"),
                                        QStringLiteral("qwindowicon"),
                                        QStringLiteral("qwindowtitle"),
                                        QStringLiteral("session"),
                                        QStringLiteral("style"),
                                        QStringLiteral("stylesheet"),
                                        QStringLiteral("display"),
                                        QStringLiteral("geometry"),
                                        QStringLiteral("title"),
                                        QStringLiteral("icon"),
                                        QStringLiteral("name"),
                                        QStringLiteral("visual")};
const QStringList qtFlags = {QStringLiteral("reverse"),     QStringLiteral("widgetcount"),
                             QStringLiteral("testability"), QStringLiteral("nograb"),
                             QStringLiteral("dograb"),      QStringLiteral("sync")};
// Only these two also take their value behind "=".
const QStringList qtOptionsWithJoinedValue = {QStringLiteral("style"),
                                              QStringLiteral("stylesheet")};

// The collection options that take a value, behind "=" or as the next argument; "--list" takes
// none.
const QStringList collectionOptions = {QStringLiteral("--collection"), QStringLiteral("--save-as")};
const QString listOption = QStringLiteral("--list");

bool isHelp(const QString& a) {
    return a == QStringLiteral("--help") || a == QStringLiteral("-h");
}

bool isRenderRequest(const QString& a) {
    return a == QStringLiteral("--render") || a.startsWith(QStringLiteral("--render="));
}

// How many arguments a Qt option takes up, itself included; 0 when it is none of Qt's.
int qtOptionLength(const QString& a) {
    if (!a.startsWith(QLatin1Char('-'))) return 0;
    const QString name = a.mid(a.startsWith(QStringLiteral("--")) ? 2 : 1);
    if (qtFlags.contains(name)) return 1;
    if (qtOptionsWithValue.contains(name)) return 2;
    if (qtOptionsWithJoinedValue.contains(name.section(QLatin1Char('='), 0, 0))) return 1;
    return 0;
}

Start wrong(const QString& problem) {
    return {StartKind::Wrong, problem, {}};
}

// Puts one collection option with its value into the request; the reason why it does not fit there,
// or an empty text.
QString takeCollectionOption(CollectionRequest& request, const QString& option,
                             const QString& value) {
    using Action = CollectionRequest::Action;
    const QString twice = option + QStringLiteral(" mehrfach angegeben");
    if (option == QStringLiteral("--collection")) {
        if (!request.file.isEmpty()) return twice;
        request.file = value;
        return {};
    }
    const Action action = option == listOption ? Action::List : Action::SaveAs;
    if (request.action == action) return twice;
    if (request.action != Action::None)
        return QStringLiteral("--list und --save-as gehen nicht zusammen");
    request.action = action;
    request.target = value;
    return {};
}

} // namespace

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        if (argv[i]) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

Start startOf(const QStringList& arguments) {
    const bool render = std::any_of(arguments.begin(), arguments.end(), isRenderRequest);
    CollectionRequest request;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (isHelp(a)) return {StartKind::Help, {}, {}};
        if (a == QStringLiteral("--version")) return {StartKind::Version, {}, {}};
        if (const int length = qtOptionLength(a)) {
            if (i + length > arguments.size()) return wrong(a + QStringLiteral(" ohne Wert"));
            i += length - 1;
            continue;
        }
        const QString option = a.section(QLatin1Char('='), 0, 0);
        if (render && renderOptions().contains(option)) {
            // The value is the option's, whatever it looks like ("--term --help" is a term).
            if (option == a) ++i;
            continue;
        }
        // A render run judges its remaining arguments itself, with its own usage.
        if (render) continue;
        if (renderOptions().contains(option) && !collectionOptions.contains(option))
            return wrong(option + QStringLiteral(" gilt nur zusammen mit --render"));
        if (collectionOptions.contains(option) || a == listOption) {
            QString value;
            if (a != listOption) {
                if (option == a && i + 1 >= arguments.size())
                    return wrong(a + QStringLiteral(" ohne Wert"));
                value = option == a ? arguments[++i] : a.mid(option.size() + 1);
                if (value.isEmpty()) return wrong(option + QStringLiteral(" ohne Wert"));
            }
            if (const QString problem = takeCollectionOption(request, option, value);
                !problem.isEmpty())
                return wrong(problem);
            continue;
        }
        return wrong(a.startsWith(QLatin1Char('-')) ? QStringLiteral("unbekannte Option ") + a
                                                    : QStringLiteral("unerwartetes Argument ") + a);
    }
    if (render) return {StartKind::Render, {}, {}};
    if (request == CollectionRequest{}) return {StartKind::Window, {}, {}};
    if (const QString problem = collectionProblem(request); !problem.isEmpty())
        return wrong(problem);
    return {StartKind::Collection, {}, request};
}

QString usage() {
    return QStringLiteral(
               "Kurvatur 2: Funktionsgraphen und Kurven mit dynamischen Parametern\n"
               "\n"
               "Aufruf: kurvatur [QT-OPTION]...\n"
               "  Öffnet das Programmfenster. Optionen von Qt wie -platform NAME, -style NAME\n"
               "  oder -reverse gibt das Programm an Qt weiter.\n"
               "\n") +
           renderUsage() +
           QStringLiteral(
               "  Zeichnet ohne Fenster und ohne Bildschirm; die Standardausgabe nennt die\n"
               "  Statuszeile, die Termzeilen und die Parameter.\n"
               "\n") +
           collectionUsage() +
           QStringLiteral(
               "  Liest eine Sammlungsdatei ohne Fenster und ohne Bildschirm; die Einstellungen\n"
               "  und die Arbeitskopie der Sammlung bleiben unberührt.\n"
               "\n"
               "  -h, --help        zeigt diese Hilfe\n"
               "  --version         zeigt die Version\n");
}

int answerWithoutWindow(const Start& start, QTextStream& out, QTextStream& err) {
    if (start.kind == StartKind::Collection) {
        const int code = runCollection(start.collection, out, err);
        out.flush();
        err.flush();
        return code;
    }
    if (start.kind == StartKind::Help || start.kind == StartKind::Version) {
        out << (start.kind == StartKind::Help ? usage() : core::versionLine() + QLatin1Char('\n'));
        out.flush();
        return 0;
    }
    err << QStringLiteral("kurvatur: ") << start.problem << QLatin1Char('\n') << usage();
    err.flush();
    return 2;
}

} // namespace mainwin
