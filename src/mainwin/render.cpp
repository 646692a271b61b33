#include "mainwin/render.h"

#include "collection/currentdata.h"
#include "core/numbers.h"
#include "core/state.h"
#include "core/twips.h"
#include "graph/scale.h"
#include "mainwin/animation.h"
#include "mainwin/collectionrun.h"
#include "mainwin/graphicexport.h"
#include "objects/extralines.h"
#include "objects/points.h"
#include "params/paramlogic.h"
#include "platform/messages.h"
#include "session/applydata.h"
#include "session/plotarea.h"
#include "session/ranges.h"
#include "session/startup.h"
#include "terms/drawingstatus.h"
#include "terms/termcheck.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace mainwin {

namespace {

constexpr int defaultWidth = 800;
constexpr int defaultHeight = 600;

const QString oneToOneOption = QStringLiteral("--one-to-one");

const QString usageText = QStringLiteral(
    "Aufruf: kurvatur --render DATEI [--size BxH] [--term ZEILE]... [--set NAME=WERT]...\n"
    "                 [--line GERADE]... [--point PUNKT]...\n"
    "                 [--range x=A:B] [--range y=A:B] [--range t=A:B] [--one-to-one]\n"
    "                 [--collection DATEI [--entry NAME|NUMMER]]\n"
    "                 [--animate NAME=VON:BIS:SCHRITT]... [--fps N]\n"
    "  --render DATEI    schreibt das Bild der Zeichenfläche als PNG, SVG oder PDF (Endung\n"
    "                    .png, .svg oder .pdf; SVG und PDF mit Linien und Text als Vektoren),\n"
    "                    mit --animate als animiertes GIF (.gif) oder nummerierte PNG-Dateien\n"
    "                    (.png: DATEI_001.png, DATEI_002.png, ...)\n"
    "  --size BxH        Größe der Zeichenfläche in Pixeln (Vorgabe 800x600)\n"
    "  --term ZEILE      eine Zeile des Termfensters, z. B. \"f(x) = a*x^2\" (höchstens 13)\n"
    "  --set NAME=WERT   Wert eines Parameters, z. B. a=0,5, uf=1 oder anzf=100\n"
    "  --line GERADE     eine zusätzliche Gerade, z. B. \"x=2\", \"y=m*x+1\" oder mit Farbe\n"
    "                    und Linienart \"c=255:x=2:0\" (wiederholbar)\n"
    "  --point PUNKT     ein zusätzlicher Punkt, z. B. \"P(2;3)\" oder mit Farbe und\n"
    "                    Namensversatz \"P(2;3):255:0:30\" (wiederholbar)\n"
    "  --range x=A:B     dargestellter Bereich für x, y oder den Kurvenparameter t; A und B\n"
    "                    wie im Fenster \"Dargestellter Bereich\", auch Terme und 2,5\n"
    "  --one-to-one      nach den Bereichen Verhältnis 1:1: der y-Bereich wird so angepasst,\n"
    "                    dass eine Einheit auf beiden Achsen gleich lang ist\n"
    "  --collection DATEI  zeichnet zuerst die aktuellen Daten der Sammlungsdatei, wie das\n"
    "                    Sammlungsfenster sie zeichnet; --term ersetzt dann deren Zeilen von der\n"
    "                    ersten an, --set und --range gelten danach\n"
    "  --entry NAME|NUMMER  statt der aktuellen Daten den Eintrag mit dieser Kurzbeschreibung\n"
    "                    (zuerst genau, dann ohne Rücksicht auf Groß- und Kleinschreibung)\n"
    "                    oder an dieser Stelle (ab 1, wie --list sie zählt)\n"
    "  --animate NAME=VON:BIS:SCHRITT  ein Bild je Wert des Parameters von VON bis BIS,\n"
    "                    z. B. a=0:2:0,5 (5 Bilder); mehrere --animate laufen Bild für Bild\n"
    "                    gemeinsam, ein Parameter mit weniger Werten behält seinen letzten\n"
    "  --fps N           Bilder pro Sekunde im GIF, 1 bis 50 (Vorgabe 10)\n");

struct RangeRequest {
    int row = 0; // 0 x, 1 y, 2 t
    QString lower;
    QString upper;
};

struct Request {
    QString file;
    PictureFormat format = PictureFormat::Png; // unless gif
    bool gif = false;
    int width = defaultWidth;
    int height = defaultHeight;
    QStringList terms;
    QStringList lines;  // additional lines in their text form
    QStringList points; // additional points, typed or in their list form
    std::vector<std::pair<QString, QString>> values; // name, value text
    std::vector<RangeRequest> ranges;
    bool oneToOne = false;        // the y range is fitted so that a unit is as long on both axes
    QString collection;           // the collection file whose data is drawn first; empty: none
    std::optional<QString> entry; // its entry; nothing: the file's current data
    std::vector<AnimateText> animations; // the parameters that move, frame by frame
    int fps = defaultAnimationFps;
};

// The request, or the reason why the arguments are wrong.
std::optional<Request> parse(const QStringList& arguments, QString& problem) {
    Request request;
    bool haveFile = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        // The one option without a value.
        if (arguments[i] == oneToOneOption) {
            request.oneToOne = true;
            continue;
        }
        QString option = arguments[i];
        QString value;
        bool haveValue = false;
        // "--size=400x300" as well as "--size 400x300".
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        if (option.startsWith(QStringLiteral("--")) && equals > 2) {
            value = option.mid(equals + 1);
            option = option.left(equals);
            haveValue = true;
        }
        if (!renderOptions().contains(option)) {
            problem = QStringLiteral("Unbekanntes Argument: ") + arguments[i];
            return std::nullopt;
        }
        if (!haveValue) {
            if (i + 1 >= arguments.size()) {
                problem = option + QStringLiteral(" ohne Wert");
                return std::nullopt;
            }
            value = arguments[++i];
        }

        if (option == QStringLiteral("--render")) {
            const std::optional<PictureFormat> format = pictureFormatOf(value);
            const bool gif = QFileInfo(value).suffix().toLower() == QStringLiteral("gif");
            if (!format && !gif) {
                problem =
                    QStringLiteral("Die Datei muss auf .png, .svg, .pdf oder .gif enden: ") + value;
                return std::nullopt;
            }
            request.file = value;
            request.format = format.value_or(PictureFormat::Png);
            request.gif = gif;
            haveFile = true;
        } else if (option == QStringLiteral("--size")) {
            static const QRegularExpression sizePattern(
                QStringLiteral("^(\\d{1,6})[xX](\\d{1,6})$"));
            const auto match = sizePattern.match(value);
            const int w = match.hasMatch() ? match.captured(1).toInt() : 0;
            const int h = match.hasMatch() ? match.captured(2).toInt() : 0;
            if (w < 1 || h < 1 || w > maxPictureSide || h > maxPictureSide) {
                problem = QStringLiteral("Ungültige Größe: ") + value;
                return std::nullopt;
            }
            request.width = w;
            request.height = h;
        } else if (option == QStringLiteral("--term")) {
            if (request.terms.size() >= core::lineCount) {
                problem = QStringLiteral("Höchstens 13 Termzeilen");
                return std::nullopt;
            }
            request.terms.append(value);
        } else if (option == QStringLiteral("--line") || option == QStringLiteral("--point")) {
            if (value.trimmed().isEmpty()) {
                problem = option + QStringLiteral(" ohne Wert");
                return std::nullopt;
            }
            (option == QStringLiteral("--line") ? request.lines : request.points).append(value);
        } else if (option == QStringLiteral("--set")) {
            const qsizetype at = value.indexOf(QLatin1Char('='));
            const QString name = value.left(at).trimmed();
            if (at < 0 || name.isEmpty()) {
                problem = QStringLiteral("Erwartet NAME=WERT: ") + value;
                return std::nullopt;
            }
            request.values.emplace_back(name, value.mid(at + 1));
        } else if (option == QStringLiteral("--animate")) {
            const std::optional<AnimateText> text = splitAnimateText(value);
            if (!text) {
                problem = QStringLiteral("Erwartet NAME=VON:BIS:SCHRITT: ") + value;
                return std::nullopt;
            }
            request.animations.push_back(*text);
        } else if (option == QStringLiteral("--fps")) {
            bool ok = false;
            request.fps = value.trimmed().toInt(&ok);
            if (!ok || request.fps < 1 || request.fps > maxAnimationFps) {
                problem = QStringLiteral("Ungültige Bildrate (1 bis 50): ") + value;
                return std::nullopt;
            }
        } else if (option == QStringLiteral("--collection") ||
                   option == QStringLiteral("--entry")) {
            const bool file = option == QStringLiteral("--collection");
            if (file ? !request.collection.isEmpty() : request.entry.has_value()) {
                problem = option + QStringLiteral(" mehrfach angegeben");
                return std::nullopt;
            }
            if (value.isEmpty()) {
                problem = option + QStringLiteral(" ohne Wert");
                return std::nullopt;
            }
            if (file)
                request.collection = value;
            else
                request.entry = value;
        } else { // --range
            static const QRegularExpression rangePattern(
                QStringLiteral("^([xytXYT])=([^:]*):(.*)$"));
            const auto match = rangePattern.match(value);
            if (!match.hasMatch()) {
                problem = QStringLiteral("Erwartet x=A:B, y=A:B oder t=A:B: ") + value;
                return std::nullopt;
            }
            const QChar axis = match.captured(1).at(0).toLower();
            const int row = axis == QLatin1Char('x') ? 0 : axis == QLatin1Char('y') ? 1 : 2;
            request.ranges.push_back({row, match.captured(2), match.captured(3)});
        }
    }
    if (!haveFile) {
        problem = QStringLiteral("--render DATEI fehlt");
        return std::nullopt;
    }
    if (request.animations.empty() ? request.gif
                                   : !request.gif && request.format != PictureFormat::Png) {
        problem = request.gif ? QStringLiteral("Eine GIF-Datei entsteht nur mit --animate")
                              : QStringLiteral("--animate schreibt .gif oder .png, nicht .") +
                                    QFileInfo(request.file).suffix().toLower();
        return std::nullopt;
    }
    if (request.entry && request.collection.isEmpty()) {
        problem = QStringLiteral("--entry gilt nur zusammen mit --collection");
        return std::nullopt;
    }
    return request;
}

// One row as the range window applies it; a refused row keeps its range and says why.
void applyRange(core::State& state, const RangeRequest& range, QTextStream& err) {
    state.rangeFields[range.row] = {session::cleanRangeField(range.lower),
                                    session::cleanRangeField(range.upper)};
    if (const auto message = session::applyRangeFields(state, range.row))
        err << *message << Qt::endl;
}

// The term lines typed into the term window from its first line on; the lines below them stay.
void typeLines(core::State& state, const QStringList& lines) {
    for (qsizetype i = 0; i < lines.size(); ++i)
        state.termEditor.texts[std::size_t(i)] = lines[i];
    state.linesInUse = std::max(state.linesInUse, int(lines.size()));
    state.lastLine = std::max(state.linesInUse - 1, 0);
}

// The fields of the collection's entry to draw (its current data without --entry), or nothing
// with the reason on err.
std::optional<collection::Fields> fieldsToDraw(const Request& request, QTextStream& err) {
    const std::optional<collection::Collection> table = readCollectionFile(request.collection, err);
    if (!table) return std::nullopt;
    if (!request.entry) return table->currentData;
    std::optional<collection::Fields> fields = entryFields(*table, *request.entry);
    if (!fields)
        err << QStringLiteral("Fehler: Eintrag \"") << *request.entry
            << QStringLiteral("\" nicht gefunden.") << Qt::endl;
    return fields;
}

// The fields drawn as the collection window draws an entry, then the term lines given, applied
// as Enter applies them, in place of the entry's from the first line on. A field that cannot be
// applied is named on err; what the entry held before it is drawn, as in the window.
void drawEntry(core::State& state, const collection::Fields& fields, const QStringList& lines,
               QTextStream& err) {
    const collection::ApplyStatus status = collection::colget(state, fields);
    if (!status.ok()) err << status.text << Qt::endl;
    if (lines.isEmpty()) return;
    typeLines(state, lines);
    terms::findandgetpre(state, 0);
}

// The lines and points behind those that a collection's entry brought, as the windows keep them.
void addObjects(core::State& state, const QStringList& lines, const QStringList& points) {
    const QString lineBreak = QStringLiteral("\r\n");
    QStringList allLines{state.extraLinesText};
    allLines << lines;
    state.extraLinesText =
        objects::readlist(objects::text2list(allLines.join(lineBreak), state.lineColours[14]));
    QStringList allPoints{state.pointsText};
    allPoints << points;
    state.pointsText = objects::getliste(objects::makeliste(allPoints.join(lineBreak)));
}

void printState(const core::State& state, QTextStream& out) {
    const QChar tab = QLatin1Char('\t');
    out << state.termEditor.statusText << Qt::endl;
    for (int i = 0; i < state.linesInUse; ++i)
        out << QStringLiteral("line") << tab << i << tab << state.termEditor.texts[i] << Qt::endl;
    for (int k = 0; k < core::paramCount; ++k) {
        const auto& p = state.params[k];
        if (p.handle == -1) continue;
        out << QStringLiteral("param") << tab << p.label << tab << k << tab
            << core::generalNumber(p.value) << tab << core::generalNumber(p.minimum) << tab
            << core::generalNumber(p.maximum) << Qt::endl;
    }
}

// The frames of --animate written; the state's values are those of the picture without them.
int animate(core::State& state, const Request& request, QTextStream& out, QTextStream& err) {
    AnimationRequest animation{request.file, QSize(request.width, request.height), request.fps, {}};
    for (const AnimateText& text : request.animations) {
        QString problem;
        const std::optional<AnimatedParam> param = readAnimatedParam(state, text, problem);
        if (!param) {
            err << problem << Qt::endl << usageText;
            err.flush();
            return 2;
        }
        animation.params.push_back(*param);
    }
    const AnimationOutcome outcome = writeAnimation(state, animation);
    terms::showDrawingReport(state);
    printState(state, out);
    out << QStringLiteral("frames\t") << outcome.frames << Qt::endl;
    out.flush();
    if (outcome.result != AnimationResult::Written) {
        err << outcome.problem << Qt::endl;
        err.flush();
        return 1;
    }
    err.flush();
    return 0;
}

} // namespace

QString renderUsage() {
    return usageText;
}

const QStringList& renderOptions() {
    static const QStringList options = {
        QStringLiteral("--render"), QStringLiteral("--size"),    QStringLiteral("--term"),
        QStringLiteral("--set"),    QStringLiteral("--range"),   QStringLiteral("--collection"),
        QStringLiteral("--entry"),  QStringLiteral("--animate"), QStringLiteral("--fps"),
        QStringLiteral("--line"),   QStringLiteral("--point")};
    return options;
}

// Standard error carries the program's own messages for scripts that call it; Qt's remarks about
// the headless platform (no runtime folder, no size hints) are of no use there.
static void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

int renderMain(int argc, char** argv) {
    // Rendering never opens a window; a desktop platform inherited from the environment would
    // abort where no display is reachable.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    qInstallMessageHandler(quietQtMessages);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kurvatur"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = render(QGuiApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}

int render(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QString problem;
    const std::optional<Request> request = parse(arguments, problem);
    if (!request) {
        err << problem << Qt::endl << usageText;
        err.flush();
        return 2;
    }
    std::optional<collection::Fields> fields;
    if (!request->collection.isEmpty()) {
        fields = fieldsToDraw(*request, err);
        if (!fields) {
            err.flush();
            return 1;
        }
    }

    core::State state;
    state.messages = std::make_shared<platform::StreamMessages>(err);
    const QSize size(request->width, request->height);
    session::StartupSteps steps;
    // In place of the windows: the plot area of the picture and the term lines to apply, which
    // with a collection wait for its entry.
    steps.prepareWindows = [&state, &request, &fields, size] {
        session::setPlotArea(state, core::pixelsToTwips(size.width(), state.tppX),
                             core::pixelsToTwips(size.height(), state.tppY));
        if (!fields) typeLines(state, request->terms);
    };
    // In place of the work kept from the last run: the entry of the collection.
    if (fields)
        steps.drawKeptWork = [&state, &request, &fields, &err] {
            drawEntry(state, *fields, request->terms, err);
            return true;
        };
    steps.readSettings = false;
    // No screen: the plot area is measured as on a screen of 96 DPI.
    session::startup(state, core::defaultTwipsPerPixel, core::defaultTwipsPerPixel, steps);

    if (!request->lines.isEmpty() || !request->points.isEmpty()) {
        addObjects(state, request->lines, request->points);
        session::applydata(state);
    }

    for (const auto& [name, value] : request->values) {
        const int k = slotOfName(state, name);
        if (k < 0) {
            err << QStringLiteral("Unbekannter Parameter: ") << name << Qt::endl << usageText;
            err.flush();
            return 2;
        }
        params::enterValue(state, k, value);
    }

    for (const auto& range : request->ranges)
        applyRange(state, range, err);
    if (request->oneToOne) session::oneToOne(state, 1);

    if (!request->animations.empty()) return animate(state, *request, out, err);

    const bool written = writePictureFile(state, request->file, request->format, size);
    terms::showDrawingReport(state);
    printState(state, out);
    out.flush();
    if (!written) {
        err << QStringLiteral("Die Datei \"") << request->file
            << QStringLiteral("\" kann nicht geschrieben werden.") << Qt::endl;
        err.flush();
        return 1;
    }
    err.flush();
    return 0;
}

} // namespace mainwin
