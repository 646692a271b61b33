#include "mainwin/animation.h"

#include "core/numbers.h"
#include "core/scopes.h"
#include "core/state.h"
#include "graph/renderer.h"
#include "mainwin/gifwriter.h"
#include "params/paramlogic.h"
#include "params/timers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace mainwin {

namespace {

QString cannotWrite(const QString& path) {
    return QStringLiteral("Die Datei \"") + path +
           QStringLiteral("\" kann nicht geschrieben werden.");
}

QRgb toRgb(core::Colour c) {
    return qRgb(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff));
}

// The colours the program draws with, which must come through the palette unchanged: the
// background, black for axes and letters, the grid's grey and the colours of the lines.
std::vector<QRgb> drawingColours(const core::State& state) {
    std::vector<QRgb> colours{qRgb(255, 255, 255), qRgb(0, 0, 0)};
    for (const core::Colour c : state.lineColours)
        colours.push_back(toRgb(c));
    colours.push_back(toRgb(core::gridColour(state.graphOptions.gridBrightness)));
    return colours;
}

// Where the frames go: one GIF file, or numbered PNG files that are made in a folder of their
// own beside their place and moved there only when all are written.
class FrameSink {
public:
    FrameSink(const AnimationRequest& request, AnimationFormat format, int frameCount,
              const core::State& state)
        : request_(request), format_(format), frameCount_(frameCount) {
        if (format_ == AnimationFormat::Gif) {
            const int delay = int(std::lround(100.0 / std::clamp(request.fps, 1, maxAnimationFps)));
            ready_ =
                gif_.open(request.path, request.size, delay, gifPalette(drawingColours(state)));
        } else {
            const QString folder = QFileInfo(request.path).absolutePath();
            folder_.emplace(QDir(folder).filePath(QStringLiteral(".kurvatur-bilder-XXXXXX")));
            ready_ = folder_->isValid();
        }
    }
    bool ready() const { return ready_; }

    bool add(const QImage& image, int frame) {
        if (format_ == AnimationFormat::Gif) return gif_.addFrame(image);
        const QString target = numberedFramePath(request_.path, frame, frameCount_);
        return image.save(folder_->filePath(QFileInfo(target).fileName()), "PNG");
    }

    // Puts the files in their places; the names of those put there.
    std::optional<QStringList> finish() {
        if (format_ == AnimationFormat::Gif) {
            if (!gif_.finish()) return std::nullopt;
            return QStringList{request_.path};
        }
        QStringList files;
        for (int frame = 0; frame < frameCount_; ++frame) {
            const QString target = numberedFramePath(request_.path, frame, frameCount_);
            const QString made = folder_->filePath(QFileInfo(target).fileName());
            if (QFile::exists(target)) QFile::remove(target);
            if (!QFile::rename(made, target)) return std::nullopt;
            files << target;
        }
        return files;
    }

    void cancel() {
        if (format_ == AnimationFormat::Gif) gif_.cancel();
        folder_.reset(); // removes the frames made so far
    }

private:
    const AnimationRequest& request_;
    AnimationFormat format_;
    int frameCount_;
    bool ready_ = false;
    GifWriter gif_;
    std::optional<QTemporaryDir> folder_;
};

AnimationOutcome failed(const QString& problem) {
    AnimationOutcome outcome;
    outcome.problem = problem;
    return outcome;
}

} // namespace

int slotOfName(const core::State& state, const QString& name) {
    for (int k = 0; k < core::paramCount; ++k) {
        const auto& p = state.params[k];
        if (p.handle == -1) continue;
        if (p.label.section(QLatin1Char(' '), 0, 0).compare(name, Qt::CaseInsensitive) == 0)
            return k;
    }
    return -1;
}

QString paramName(const core::State& state, int k) {
    if (k < 0 || k >= core::paramCount) return {};
    return state.params[k].label.section(QLatin1Char(' '), 0, 0);
}

std::vector<double> animationValues(const AnimatedParam& param) {
    const double span = std::abs(param.to - param.from);
    const double step = std::abs(param.step);
    if (!std::isfinite(param.from) || !std::isfinite(param.to) || !std::isfinite(step) ||
        step == 0 || span / step >= maxAnimationFrames)
        return {};
    const double signedStep = param.to < param.from ? -step : step;
    const auto beyond = [&param, signedStep](double v) {
        return signedStep > 0 ? v > param.to : v < param.to;
    };
    std::vector<double> values;
    for (double v = param.from; !beyond(v) && values.size() < std::size_t(maxAnimationFrames);
         v = core::decimalSum(v, signedStep))
        values.push_back(v);
    return values;
}

std::optional<AnimateText> splitAnimateText(const QString& text) {
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals <= 0) return std::nullopt;
    const QStringList numbers = text.mid(equals + 1).split(QLatin1Char(':'));
    const QString name = text.left(equals).trimmed();
    if (numbers.size() != 3 || name.isEmpty()) return std::nullopt;
    return AnimateText{name, numbers[0], numbers[1], numbers[2]};
}

std::optional<AnimatedParam> readAnimatedParam(core::State& state, const AnimateText& text,
                                               QString& problem) {
    AnimatedParam param;
    param.slot = slotOfName(state, text.name);
    if (param.slot < 0) {
        problem = QStringLiteral("Unbekannter Parameter: ") + text.name;
        return std::nullopt;
    }
    const QString& name = text.name;
    const std::pair<const QString*, const char*> fields[] = {
        {&text.from, "Ungültiger Anfangswert für "},
        {&text.to, "Ungültiger Endwert für "},
        {&text.step, "Ungültige Schrittweite für "}};
    double* targets[] = {&param.from, &param.to, &param.step};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::optional<double> v = core::evalnum(state.engine, *fields[i].first);
        if (!v) {
            problem = QString::fromUtf8(fields[i].second) + name + QStringLiteral(": ") +
                      fields[i].first->trimmed();
            return std::nullopt;
        }
        *targets[i] = *v;
    }
    if (param.step == 0) {
        problem =
            QStringLiteral("Die Schrittweite für ") + name + QStringLiteral(" darf nicht 0 sein.");
        return std::nullopt;
    }
    if (animationValues(param).empty()) {
        problem = QStringLiteral("Zu viele Bilder für ") + name + QStringLiteral(" (höchstens ") +
                  QString::number(maxAnimationFrames) + QStringLiteral(").");
        return std::nullopt;
    }
    return param;
}

std::vector<AnimationRow> animationRows(const core::State& state) {
    std::vector<AnimationRow> rows;
    bool anyRunning = false;
    for (int k = 0; k < core::paramCount; ++k) {
        const core::ParamSlot& p = state.params[k];
        if (p.handle == -1 || !p.visible) continue;
        const double step =
            p.step != 0 && std::isfinite(p.step) ? std::abs(p.step) : (p.maximum - p.minimum) / 20;
        const bool running = params::timerRunning(state, k);
        anyRunning = anyRunning || running;
        rows.push_back({k, paramName(state, k), running, core::germanNumber(p.minimum),
                        core::germanNumber(p.maximum), core::germanNumber(step)});
    }
    if (!anyRunning && !rows.empty()) rows.front().chosen = true;
    return rows;
}

std::optional<std::vector<AnimatedParam>>
readAnimationRows(core::State& state, const std::vector<AnimationRow>& rows, QString& problem) {
    std::vector<AnimatedParam> chosen;
    for (const AnimationRow& row : rows) {
        if (!row.chosen) continue;
        const std::optional<AnimatedParam> param =
            readAnimatedParam(state, {row.name, row.from, row.to, row.step}, problem);
        if (!param) return std::nullopt;
        chosen.push_back(*param);
    }
    if (chosen.empty()) {
        problem = QStringLiteral("Bitte mindestens einen Parameter für die Animation wählen.");
        return std::nullopt;
    }
    return chosen;
}

std::optional<AnimationFormat> animationFormat(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("gif")) return AnimationFormat::Gif;
    if (suffix == QStringLiteral("png")) return AnimationFormat::NumberedPng;
    return std::nullopt;
}

QString numberedFramePath(const QString& path, int frame, int frameCount) {
    const int digits = std::max(3, int(QString::number(std::max(frameCount, 1)).size()));
    const QString number = QString::number(frame + 1).rightJustified(digits, QLatin1Char('0'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    if (dot <= slash) return path + QLatin1Char('_') + number;
    return path.left(dot) + QLatin1Char('_') + number + path.mid(dot);
}

AnimationOutcome writeAnimation(core::State& state, const AnimationRequest& request,
                                const AnimationProgress& progress) {
    const std::optional<AnimationFormat> format = animationFormat(request.path);
    if (!format)
        return failed(QStringLiteral("Die Datei muss auf .gif oder .png enden: ") + request.path);
    if (request.size.isEmpty()) return failed(QStringLiteral("Die Bildgröße ist leer."));
    if (request.params.empty())
        return failed(QStringLiteral("Kein Parameter für die Animation gewählt."));

    std::vector<std::vector<double>> values;
    int frameCount = 0;
    for (const AnimatedParam& param : request.params) {
        if (param.slot < 0 || param.slot >= core::paramCount ||
            state.params[param.slot].handle == -1)
            return failed(QStringLiteral("Ein gewählter Parameter ist nicht mehr in Gebrauch."));
        values.push_back(animationValues(param));
        if (values.back().empty())
            return failed(QStringLiteral("Ungültige Schrittweite für ") +
                          paramName(state, param.slot));
        frameCount = std::max(frameCount, int(values.back().size()));
    }

    FrameSink sink(request, *format, frameCount, state);
    if (!sink.ready()) return failed(cannotWrite(request.path));

    std::vector<double> before;
    for (const AnimatedParam& param : request.params)
        before.push_back(state.params[param.slot].value);
    const auto setAll = [&state, &request](auto valueOf) {
        // The single moves must not redraw the screen; the frame is drawn once for all of them.
        const core::BusyScope busy(state);
        for (std::size_t i = 0; i < request.params.size(); ++i)
            params::setpar(state, request.params[i].slot, valueOf(i));
    };

    AnimationOutcome outcome;
    bool cancelled = progress && !progress(0, frameCount);
    bool written = true;
    {
        const graph::PlotSizeScope plotSize(state, request.size);
        graph::GraphRenderer renderer;
        for (int frame = 0; frame < frameCount && !cancelled; ++frame) {
            setAll([&values, frame](std::size_t i) {
                return values[i][std::min(std::size_t(frame), values[i].size() - 1)];
            });
            // Drawn whatever batch update the caller may be in.
            const core::ScopedValue<int> drawing(state.busyFlag, 0);
            const QImage& image = renderer.render(state, request.size);
            if (image.isNull() || !sink.add(image, frame)) {
                written = false;
                break;
            }
            ++outcome.frames;
            if (progress && !progress(frame + 1, frameCount)) cancelled = true;
        }
        setAll([&before](std::size_t i) { return before[i]; });
    }

    if (cancelled || !written) {
        sink.cancel();
        outcome.files.clear();
        outcome.result = cancelled ? AnimationResult::Cancelled : AnimationResult::Failed;
        if (!written) outcome.problem = cannotWrite(request.path);
        return outcome;
    }
    const std::optional<QStringList> files = sink.finish();
    if (!files) {
        outcome.problem = cannotWrite(request.path);
        return outcome;
    }
    outcome.files = *files;
    outcome.result = AnimationResult::Written;
    return outcome;
}

} // namespace mainwin
